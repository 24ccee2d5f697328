// ARP0: the customer files of both sets (domestic and foreign, "X" prefix), the customer record,
// the collation of names and the alphabetical name index with its operations, and the walk state
// shared by the customer editor, the picker and the customer reports.
//
// Files of a set (MN 0 domestic, 1 foreign), all in UMAS::PATH:
//   "MF.DAT"  RR0 records of 302 bytes; record n is customer n (65000 means no customer)
//   "HF.DAT"  WORD 0: the number of customer records ever created
//   "PD.DAT"  WORD 0: the number D of deleted customers; WORDs 1..D their record numbers
//   "IF.DAT"  the name index: 60 buckets of 5001 eight-byte records (headers RR2, entries RR3)
//   "PN.DAT"  LONGINT groups of 50, one per bucket: count, then freed index positions
// The program never creates these files: the installation supplies them (INSTALL::seedCustomerFiles).
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/umas.h"
#include "platform/files.h"
#include "screen/scr.h"

namespace ARP0 {

// ---- Sizes --------------------------------------------------------------------------------------
constexpr uint16_t NONE = 65000;           // "no customer" wherever a record number is stored
constexpr uint16_t MAX_RECORDS = 64999;    // the record file holds fewer than 65000 records
constexpr int32_t BUCKETS = 60;            // 50 letters, then the digits 0..9
constexpr int32_t BUCKET_RECS = 5001;      // header + 4999 entries + link of a bucket never split
constexpr int32_t INDEX_RECS = BUCKETS * BUCKET_RECS;  // 300060
constexpr int32_t INDEX_REC = 8;
constexpr int64_t INDEX_SIZE = int64_t(INDEX_RECS) * INDEX_REC;  // 2400480 bytes
constexpr uint16_t FULL_SY = 5000;         // capacity of a bucket never split
constexpr uint16_t HALF = 2500;            // a continuation bucket's capacity and offset from its donor
constexpr int32_t PN_GROUP = 50;           // freed index positions: one group of 50 per bucket
constexpr int32_t PN_RECS = 4000;          // records of "PN.DAT" (16000 bytes)
constexpr int32_t PN_MAX = 49;             // positions a group can record
constexpr int NAME_LEN = 30;

// ---- Records ------------------------------------------------------------------------------------
// The customer record: strings are a length byte and the capacity, code page 737.
struct RR0 {
    static constexpr size_t SIZE = 302;
    std::string EA;                 // string[30] at 0: the name, upper case, padded to 30
    std::string AF;                 // string[10] at 31: tax number
    std::string ON;                 // string[40] at 42: second name line
    std::string DI;                 // string[40] at 83: address
    std::string PO;                 // string[40] at 124: town
    std::string TK;                 // string[6] at 165: postcode
    std::array<std::string, 2> TH;  // string[13] at 172 and 186: telephones
    std::string EP;                 // string[30] at 200: profession
    std::string SX;                 // string[30] at 231: EORI number
    uint8_t DK = 0;                 // at 262: carried unchanged
    int32_t XR = 0;                 // at 263: debit total (posted by invoicing under "FPEL")
    int32_t PI = 0;                 // at 267: credit total
    std::string EF;                 // string[30] at 271: tax office
    bool operator==(const RR0&) const = default;

    // Every text cut to its capacity, whatever the image holds (the customer editor shows a
    // damaged record this way, so that storing it writes it whole again).
    static RR0 decode(const uint8_t* p);
    void encode(uint8_t* p) const;  // unused bytes after each string are zero
    // The image at p is damaged: a text's length byte beyond its capacity, or a control character
    // (below 32) within a text's length. No store writes either, so the record is not a customer's.
    static bool damaged(const uint8_t* p);
    // Decodes the image at p into r unless it is damaged; false (r untouched) when it is.
    static bool decodeSound(const uint8_t* p, RR0& r);
};

// Bucket header: SY capacity, US slots taken, FA first entry of the name chain (0 = empty).
struct RR2 {
    uint16_t SY = 0, US = 0;
    int32_t FA = 0;
    static RR2 decode(const uint8_t* p);
    void encode(uint8_t* p) const;
    bool operator==(const RR2&) const = default;
};
// Index entry: RE customer record number, AL next entry in name order (0 = last). The link record
// of a full bucket is an RR3 whose RE is the header position of its continuation.
struct RR3 {
    int32_t RE = 0, AL = 0;
    static RR3 decode(const uint8_t* p);
    void encode(uint8_t* p) const;
    bool operator==(const RR3&) const = default;
};

// ---- Collation ----------------------------------------------------------------------------------
// " ΑAΒBVΓGΔDΕEΖZΗΘΙIΚKCQΛLΜMΝNΞXΟOΠPΡRΣSΤTΥYΦFΧHΨΩJUW0123456789/-.&" in code page 737.
extern const std::string AB;
// Rank of C in AB from 0; 65 when absent.
int32_t INS(char C);
// The characters a customer name accepts (blank & - . / digits, Latin letters and the unaccented
// Greek letters of both cases: code page 737 128..175 and 224).
const SCR::SOC& SAB();
extern const std::string SPS;  // 30 blanks
// Key legend texts of the customer screens (entries 1..10).
extern UMAS::FUN GM1;
// Legend entry n with the arrows (characters 24 and 25) in its characters 1 and 3.
void arrows(int n);

// Folding of a typed name to the key's upper case (Latin a-z, Greek α-ω, ς to Σ, accented and
// diaeresis letters of both cases to their plain capitals).
std::string FOLD(const std::string& S);
// A name as stored and searched: folded, cut or padded with blanks to 30.
std::string KEY(const std::string& S);
// Compares two names by the ranks of their first n characters (missing characters count as blanks):
// negative when a sorts first, 0 when equal by rank, positive when a sorts after b.
int compareNames(const std::string& a, const std::string& b, int n = NAME_LEN);
// The bucket of a name: rank of its first character minus 1 (0 for a blank), -1 when the
// character has no bucket ("/", "-", ".", "&" and characters outside the alphabet).
int32_t bucketOf(const std::string& name);

// ---- Files of a set -----------------------------------------------------------------------------
// UMAS::PATH + ("X" for MN 1) + base + ".DAT"; base "MF", "HF", "PD", "IF" or "PN".
std::string fileName(int MN, const char* base);
uint16_t createdCount(int MN);  // record 0 of "HF.DAT"
uint16_t deletedCount(int MN);  // record 0 of "PD.DAT"
// The emptiness test: no customer when the created count equals the deleted count.
bool EMPTY(int MN);
// Records in the record file.
int32_t recordCount(int MN);
// Customer n; false (and R left untouched) when n lies beyond the record file.
bool readRecord(int MN, uint16_t n, RR0& R);
// Customer n as the readers that copy a customer take it: false (and R left untouched) when n lies
// beyond the record file or its record is damaged (RR0::damaged; damaged then true).
bool readSound(int MN, uint16_t n, RR0& R, bool& damaged);
// The notice of a reader that met damaged records of set MN: "ΤΟ ΑΡΧΕΙΟ MF.DAT ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ - "
// followed by WHAT (code page 737), the file named as the set's.
std::string damagedMessage(int MN, const std::string& what);
// The notice of a list that left damaged records out: damagedMessage(MN, "ΑΛΛΟΙΩΜΕΝΟΙ ΠΕΛΑΤΕΣ
// ΠΑΡΑΛΕΙΦΘΗΚΑΝ").
std::string skippedMessage(int MN);
// Writes customer n in place (n below the record file's size) or appended (n equal to it).
void writeRecord(int MN, uint16_t n, const RR0& R);
// The deleted customers' numbers in order of deletion.
std::vector<uint16_t> deletedNumbers(int MN);

// ---- Shared working state -----------------------------------------------------------------------
extern std::string EA;  // the current name (folded, 30 characters)
extern RR0 R0;          // the record buffer
extern RR2 HE;          // header buffer
extern RR3 DA, NE;      // entry buffers
extern int32_t RN;      // the current index position
extern uint16_t XN;     // the record number read or stored
extern uint16_t HH;     // the record number of the customer shown
extern int32_t BAL;     // the follower found by the link operation
extern int32_t BRN;     // header position, capacity and count of the bucket that took the last slot
extern uint16_t BSY, BUS;
extern std::string OO;  // a name read back during a walk
extern bool BOO;        // the current name is a stored customer
extern bool BRF;        // its record has been read since the name last changed
extern bool BLO;        // the editor's field mask is on the screen stack
extern PLAT::File F0;   // the index-side file and the record file of a walk (each user opens and closes them)
extern PLAT::File F1;
extern uint16_t E, M, H, D;  // today (year, month, day, weekday), set when the customers menu opens
extern int16_t EUROYEAR;

// Shows what is on the screen and waits ms milliseconds (the timed notices of the customer
// screens). Tests replace it.
extern void (*WAIT)(int ms);

// ---- Index operations ---------------------------------------------------------------------------
// All positions are record numbers of the index file. Every walk is bounded (at most INDEX_RECS
// steps, positions inside the file) and never follows a link outside the file.

// Find EA (a KEY) in set MN: BOO true when a stored customer has exactly this name, with XN its
// record number, DA its entry, RN the entry's position and R0 its record.
bool CHO(int MN);
// With F0 (index) and F1 (records) open: links the entry at position slot into the chain of EA's
// bucket in name order (all 30 positions compared; the new entry goes before the first name not
// below it) and leaves in BAL the position that must follow it. Writes only the previous node, so
// the caller writes the entry {XN, BAL} at slot at once; insertEntry and STORE write the entry first.
void ALF(int32_t slot);
// With F0 open: leaves in DA the last entry of the nearest non-empty chain at or below the bucket
// of EA (bucket 0 when EA starts with a blank); DA {0, 0} when every chain below is empty.
void HOP();

// What a store did.
enum class Stored {
    WRITTEN,     // the record (and for a new name its index entry) is written
    UNCHANGED,   // a stored customer whose details equal the file's: nothing written
    NO_BUCKET,   // the name starts with a character that has no bucket: nothing written
    INDEX_FULL,  // the name's chain cannot take another entry: nothing written
    FILE_FULL,   // the record file holds 64999 customers: nothing written
    DAMAGED,     // the files of the set disagree (CHECKFILES, blocksStore): nothing written, DAMAGEDFILE named
};
// The file named by the last DAMAGED store.
extern std::string DAMAGEDFILE;
// What can be checked cheaply of the files of set MN (files that are missing are passed over): the
// record file a whole number of records and as many as "HF.DAT" counts, the deleted count within
// "PD.DAT", "PN.DAT" and the index at their sizes, the index's bucket heads within range. One line
// each (code page 737) beginning with the file's name. Nothing is repaired.
struct Disagreement {
    std::string file;  // "MF.DAT", "XIF.DAT", ...
    std::string line;
    bool blocksStore = true;  // false: told only (one record more than counted)
};
std::vector<Disagreement> CHECKFILES(int MN);
// The records of the record file of set MN that are damaged (RR0::damaged), read through once in
// large blocks: one line (told only, blocksStore false) with their number and the first of them;
// empty when none is, or when the file is missing. Run at the company choice, not on each store.
std::vector<Disagreement> CHECKRECORDS(int MN);
// The message shown for a refused store (code page 737), empty for WRITTEN and UNCHANGED.
std::string storedMessage(Stored s);

// Stores customer C (C.EA a KEY) of set MN under the lock "FPEL". When the name is stored already
// (searched again under the lock, so that two workstations never store one name twice) the stored
// record is rewritten with C's details and the file's own XR and PI; otherwise a new record is
// appended with XR and PI 0 and its index entry inserted. On WRITTEN: XN, HH the record number,
// R0 the record written, BOO true.
Stored STORE(int MN, const RR0& C);

// Links customer n of the record file rec into the index idx (both open for writing), as a store
// does for a new customer: the slot is taken, the entry written before the link that points at it,
// a full bucket continued. Used to build an index from the records. Writes nothing and returns
// NO_BUCKET or INDEX_FULL when the name cannot be linked; WRITTEN otherwise.
Stored insertEntry(PLAT::File& idx, PLAT::File& rec, uint16_t n);

// Unlinks customer HH named EA (a KEY) from its chain and records the freed position (at most 49
// per bucket). True when the entry was found. Takes no lock (the caller holds "FPEL").
bool DEL(int MN, uint16_t HH_, const std::string& EA_);
// Appends n to the deleted-numbers file (count + 1, the number at position count).
void addDeleted(int MN, uint16_t n);
// The whole delete of customer n named name under "FPEL": unlink, then, only when the entry was
// found, count the deletion. True when deleted.
bool DELETE(int MN, uint16_t n, const std::string& name);

// Read-only walks.
// The editor's browse. Entries whose record lies beyond the record file are passed over.
// The first entry of the first non-empty chain from bucket b on; its position (0 when none).
int32_t firstOfChainsFrom(int MN, int32_t b, RR3& entry);
// The entry that follows customer n's entry at position pos in its chain; its position, 0 when
// the chain ends there, -1 when the entry at pos is not customer n's. A link back to pos or to a
// name that sorts before n's in the first 29 positions (a loop) ends the chain too.
int32_t nextInChain(int MN, int32_t pos, uint16_t n, RR3& entry);
// Every customer of the set in bucket and chain order (record number, record). Reads each file
// once. Entries whose record lies beyond the record file are passed over, and so are those whose
// record is damaged (RR0::damaged): never listed, counted in *damaged when it is given.
struct Listed {
    uint16_t KV;
    RR0 R;
};
std::vector<Listed> listAll(int MN, int* damaged = nullptr);

// ---- Checker ------------------------------------------------------------------------------------
// Walks every chain of set MN and reports what is wrong (empty when sound): positions outside the
// file or on a header or link record, cycles, names out of order, an entry in the wrong bucket,
// a record number beyond the record file, a customer linked twice, a bucket's US beyond its SY.
std::vector<std::string> checkIndex(int MN);

}  // namespace ARP0
