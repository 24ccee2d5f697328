// APOD0: the receipt book's record TRECAP and its files: the record file "AM.DAT", the number index
// "AI.DAT", the count "HDA.DAT", the last-number files "ARAP1.DAT" (collections) and "ARAP2.DAT"
// (payments), and the chains by day ("AH.DAT") and by customer ("APE.DAT"). The screen state of the
// receipt book with its store and delete procedures, and the reads a report needs.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "invoicing/apodi.h"

namespace APOD0 {

// ---- The stored record ----------------------------------------------------------------------------
// TRECAP, 153 bytes, packed, little-endian; strings stored blank-padded to their capacity (CP737).
struct TRECAP {
    static constexpr size_t SIZE = 153;
    static constexpr size_t O_KV = 0, O_HM = 4, O_KD = 11, O_PR = 22, O_EA = 24, O_DI = 55, O_PO = 86,
                            O_AF = 107, O_PS = 118, O_AI = 122;

    int32_t KV = 0;        // receipt number, 0 to 64999
    std::string HM;        // string[6] DDMMYY
    std::string KD;        // string[10] declaration number as typed
    uint16_t PR = 65000;   // customer record number in "MF.DAT"
    std::string EA;        // string[30] name
    std::string DI;        // string[30] address
    std::string PO;        // string[20] town
    std::string AF;        // string[10] tax number
    int32_t PS = 0;        // amount: + collection, - payment; drachmas or euro cents by the year
    std::string AI;        // string[30] reason

    static TRECAP decode(const uint8_t* p);
    void encode(uint8_t* p) const;
    bool operator==(const TRECAP&) const = default;
    // A collection receipt (PS >= 0) or a payment receipt (PS < 0).
    bool collection() const { return PS >= 0; }
};
static_assert(TRECAP::O_AI + 31 == TRECAP::SIZE, "TRECAP is 153 bytes");

constexpr uint16_t NONE = 65000;        // an empty index slot, a customer or record that is none
constexpr int32_t NUMBERS = 65000;      // receipt numbers 0 to 64999, one "AI.DAT" slot each

// ---- The amount rule --------------------------------------------------------------------------------
// The stored value of a typed amount: Round(value) in a drachma year, Round(value x 100) in a euro
// year (ties to even), + for a collection, - for a payment. ok becomes false when it does not fit.
int32_t STOREDPS(double value, const std::string& HM, bool collection, bool& ok);
// The positive amount of a record in the units of its year: drachmas, or euros (cents / 100).
double AMOUNT(const TRECAP& r);
// The drachmas a record posts to its customer's paid total PI: + for a collection, - for a payment
// (euros at UMAS::EURO). ok becomes false in a euro year with a rate of 0.
double POSTING(const TRECAP& r, bool& ok);

// ---- Reads (each takes "FAPO" itself unless the name says otherwise) -------------------------------
// The number of records in "AM.DAT".
int64_t COUNT();
// Record XN of "AM.DAT"; false when the file has no such record. READ_LOCKED: the caller holds "FAPO".
bool READ(uint16_t XN, TRECAP& r);
bool READ_LOCKED(uint16_t XN, TRECAP& r);
// The "AI.DAT" slot of number KV: the record number of that receipt, NONE when none (a number
// outside 0..64999, a slot past the end of the file or naming a record past "AM.DAT" included).
uint16_t SLOT_LOCKED(int32_t KV);
uint16_t SLOT(int32_t KV);

// A receipt as a report finds it: its record number and its record.
struct FOUND {
    uint16_t XN = NONE;
    TRECAP R;
};
// The receipts on the chain of customer PR ("APE.DAT"), in chain order, under "FAPO". Links that
// leave the node area or loop end the walk; nodes naming a record past "AM.DAT" are skipped.
std::vector<FOUND> OFCUSTOMER(uint16_t PR);
// The receipts on the day chain ("AH.DAT") of day number DAY (UMAS::HMVAL), the same way.
std::vector<FOUND> OFDAY(int32_t DAY);

// ---- Last numbers -------------------------------------------------------------------------------------
// The file of a kind: "ARAP1.DAT" (collection) or "ARAP2.DAT" (payment).
std::string LASTFILE(bool collection);
// The highest number stored of the kind; -1 when its file does not exist.
int32_t LASTNUMBER(bool collection);
// The proposed number: the last number plus 1, 1 when the file does not exist.
int32_t GETARA(bool collection);
// Raises the kind's last number to KV (creates the file when missing; never lowers it).
void RAISELAST(bool collection, int32_t KV);

// ---- Interrupted stores and deletions -------------------------------------------------------------------
// The journal of the receipt stores and deletions: "AJOURNAL.DAT" in the company folder, written under
// "FAPO" (APODI::JOURNAL); its part of the kind:
struct RJ {
    static constexpr size_t SIZE = 19 + TRECAP::SIZE;
    bool BBB = true;        // the kind of the screen: collection (true) or payment
    bool NEW = false;       // a new receipt (appended, the count raised)
    uint16_t HDA0 = 0;      // "HDA.DAT" before the store
    int32_t Z = 0;          // the number
    uint16_t XN = NONE;     // the record
    std::string BHM;        // string[6] the previous version's date (a stored receipt)
    uint16_t BPR = NONE;    // the previous version's customer
    TRECAP R;               // the receipt as stored (for a deletion: as it was)
    std::string encode() const;
    static RJ decode(const std::string& b);
};
constexpr const char* AJOURNAL = "AJOURNAL.DAT";
// A receipt store or deletion stopped midway, completed from the journal (the posting once, the
// last number raised); the receipt named for the clerk, none when nothing was pending. RECOVER takes
// "FAPO" (and "FPEL" inside it) when the journal is pending; RECOVERLOCKED is for a holder of "FAPO"; a journal
// whose files are missing or damaged is left pending, its fault in *stuck.
APODI::COMPLETED RECOVER();
APODI::COMPLETED RECOVERLOCKED(APODI::FILEFAULT* stuck = nullptr);

// ---- The files of a new company folder ------------------------------------------------------------
// Written only where missing, in folder dir (a Linux path): "AM.DAT" empty, "AI.DAT" 65000 slots of
// 65000, "HDA.DAT" a zero count, "AH.DAT" 22320 and "APE.DAT" 10000 empty heads.
void makeReceiptFiles(const std::string& dir);

// ---- The receipt book's screen state and procedures ---------------------------------------------------
// The form of the receipt book: the fields as typed, the number the form holds and the record buffer.
// The customer is the current customer of APODI; the stored version is described by APODI::BOO,
// APODI::XN, APODI::BHM, APODI::BPR and APODI::BPI.
struct APODS {
    explicit APODS(bool bbb) : BBB(bbb) {}

    bool BBB = true;          // true collection, false payment
    std::string KV;           // string[5] the number field
    std::string BKV;          // string[5] the number of the receipt the form holds
    std::string OKV;          // string[5] save slot
    std::string HM;           // string[6]
    std::string KD;           // string[10]
    std::string PS;           // string[9] amount as typed
    std::string AI;           // string[30] reason
    TRECAP AP;                // the record buffer: the stored version (or the cleared form)

    // The proposed number of the kind.
    int32_t GETARA() const { return APOD0::GETARA(BBB); }
    // Reads the slot of KV under "FAPO": APODI::XN, APODI::BOO.
    void CHO();
    // Reads record APODI::XN under "FAPO". ZB true: the record is of the other kind (nothing taken);
    // otherwise the form takes it.
    void RUF(bool& ZB);
    // Clears the form for a new receipt (date today, no customer); the buffer carries the number KV.
    void CLLS();
    void SPAC();
    // The record buffer built from the form.
    TRECAP IMAGE() const;
    void REC0() { AP = IMAGE(); }
    // The form differs from the record buffer.
    bool ALLA() const;
    // Stores the form under the number BKV; false when nothing was stored (unchanged, no customer,
    // blank name, or refused with a notice).
    bool KTT();
    // The deletion of the stored receipt on the form, without a question; false when there is none.
    bool DEL();
    // The question (mask 54) and the deletion.
    bool DIAG();
};

}  // namespace APOD0
