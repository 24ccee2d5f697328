// APODI: the current customer of the invoice and receipt screens, the previous version of the
// document being edited, the chains of documents by day and by customer, the posting of documents
// to the customers' totals, and the customer lookup by name.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "common/umas.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace ARP0 {
struct RR0;
}

namespace APODI {

// ---- The current customer ----------------------------------------------------------------------------
extern uint16_t PR;                   // record number in "MF.DAT", 65000 none
extern std::string EA;                // string[30], upper case, blank-padded to 30
extern std::string AF;                // string[10]
extern std::string ON, DI;            // string[40]
extern std::string PO;                // string[20]
extern std::string TH1;               // string[13]
extern std::array<std::string, 3> TH; // [1..2] string[13]
extern std::string EF, EG;            // string[30]
extern std::string BON;               // string[30], the name last confirmed
extern std::string EAR;               // 30 characters

// The characters of a customer-name field: blank, "&", "-", ".", "/", "A".."Z", "a".."z", the
// CP737 bytes 128..175 and 224.
bool SAB(uint8_t c);
// A typed name folded to capitals (Latin and Greek, final sigma to Σ, ω to Ω) and padded to 30.
std::string FOLDNAME(const std::string& S);

// ---- The previous version of the current document --------------------------------------------------
extern bool BOO;        // the document exists in the file
extern uint16_t XN;     // its record number
extern std::string BHM; // its date
extern uint16_t BPR;    // its customer
extern double BXR;      // its total
extern double BPI;      // a receipt's amount, positive, in the units of its year

// ---- Chains -----------------------------------------------------------------------------------------
// RTIM1: one node, 4 bytes: HR WORD document record (65000 empty), NR WORD next node (0 end).
struct RTIM1 {
    static constexpr size_t SIZE = 4;
    uint16_t HR = 65000;
    uint16_t NR = 0;
    static RTIM1 decode(const uint8_t* p) { return {PLAT::getW(p), PLAT::getW(p + 2)}; }
    void encode(uint8_t* p) const {
        PLAT::putW(p, HR);
        PLAT::putW(p + 2, NR);
    }
    bool operator==(const RTIM1&) const = default;
};
extern RTIM1 R1;  // the working node

// Head areas: the day files ("TH", "SH", "AH") hold one head per day of 1990 to 2049, the customer
// files ("TPE", "SPE", "APE") one head per customer record number below 10000.
constexpr int32_t DAYHEADS = 22320;
constexpr int32_t PEHEADS = 10000;
// The number of heads of chain file S ("TH", "TPE", ...).
int32_t HEADS(const std::string& S);

// What an insertion did.
enum class LINKED {
    DONE,     // linked
    NOKEY,    // a day number of 0 or less: not linked, as intended
    OUTSIDE,  // the key lies outside the head area (or the file is shorter): not linked
    FULL,     // the chain would need a node number above 65535: not linked
    DAMAGED   // the chain holds a link outside the node area or a cycle: not linked
};
// Inserts document record N into the chain of key K of file UMAS::PATH + S + ".DAT": the first
// empty node met on the chain takes it, else a node is appended and linked from the last one.
LINKED LINK(const std::string& S, uint16_t N, int32_t K);
// The chain of key K of file S checked before a store writes anything: true when the file is not
// a whole number of nodes, or the chain holds a link outside the node area, a cycle, or a document
// record at or beyond `records`. A key outside the heads (or a file without them) is not damage:
// LINK does not write there.
bool CHAINDAMAGED(const std::string& S, int32_t K, int64_t records);
// Unlinks document XN from the day chain S under the date BHM / from the customer chain S under BPR.
void DEHM(const std::string& S);
void DEPE(const std::string& S);
// The unlink of document N under key K (nothing when K lies outside the head area).
void UNLINK(const std::string& S, uint16_t N, int32_t K);
// The document record numbers on the chain of key K of file S, in chain order (empty nodes left
// out). A link outside the node area or a loop ends the walk; a key outside the heads gives none.
// The caller holds the lock of the document kind.
std::vector<uint16_t> WALK(const std::string& S, int32_t K);
// The walk itself, over the nodes of a chain file read whole (img, `nodes` 4-byte nodes of which
// the first `heads` are heads): calls ROW with the HR of every node from head K on, in chain order,
// until it returns false. A link of 0, a link outside the node area or a link back to a node
// walked already (a loop) ends it; a head beyond the file gives nothing.
void WALKNODES(const uint8_t* img, int64_t nodes, int64_t heads, int64_t K, const std::function<bool(uint16_t)>& ROW);
// The notice of an insertion that did not link the document (nothing for DONE and NOKEY).
void LINKNOTICE(LINKED r, bool dayChain);

// The empty files of a new company folder: NEWFILE writes DIR/NAME only when it is absent;
// WORDS is N words of V, EMPTYHEADS N empty chain heads.
void NEWFILE(const std::string& dir, const char* name, const std::string& bytes);
std::string WORDS(size_t n, uint16_t v);
std::string EMPTYHEADS(int32_t n);

// ---- Posting -----------------------------------------------------------------------------------------
// Adds Round(X) to XR and Round(P) to PI of customer PEL of "MF.DAT" (both left alone once either
// is at 2000000000 or more; a sum that would leave the LONGINT range is not made and the clerk is
// told). The caller holds "FPEL". False when nothing was added.
bool MAIN(int32_t PEL, double X, double P);
// The drachma value of a document total: the total itself in drachma years, total x UMAS::EURO in
// euro years. ok becomes false when the rate is 0 in a euro year.
double DRACHMAS(double total, const std::string& HM, bool& ok);

// ---- Interrupted stores -------------------------------------------------------------------------------
// A store or a deletion writes its intent into the journal of its kind (a small file of the company
// folder, under the lock of the kind) and flushes it before it writes anything else; the journal is
// cleared once the posting is made. A journal found pending under the lock belongs to a store that was
// stopped midway (the lock is held from before the journal is written until after it is cleared): the
// next taker of the lock completes it from the journal. Each write of the completion may be done
// again without harm; the posting is made exactly once: before each of its two calls of MAIN the
// customer's totals are noted in the journal, and a call is done again only while they still stand.
struct POSTCALL {
    uint16_t PEL = 65000;  // the customer; 65000 no call
    double X = 0, P = 0;   // MAIN's amounts
    int32_t XR0 = 0, PI0 = 0;  // the customer's totals just before the call
};
struct JOURNAL {
    static constexpr size_t HEAD = 2 + 2 * 30;
    uint8_t STATE = 0;  // 0 nothing pending, 1 a store, 2 a deletion
    uint8_t STAGE = 0;  // 0 the posting not begun; k: call k (1 or 2) begun, its totals noted
    std::array<POSTCALL, 2> CALLS;
    std::string BODY;   // the kind's own part
};
// The pending journal of file NAME of the company folder (BODY of BODYSIZE bytes); nullopt when the
// file is missing, short or clear.
std::optional<JOURNAL> JREAD(const std::string& NAME, size_t BODYSIZE);
// Writes the whole journal and flushes it to the disk.
void JWRITE(const std::string& NAME, const JOURNAL& j);
// Clears the journal (not flushed: a power loss would lose the postings' writes as well).
void JCLEAR(const std::string& NAME);
// The posting of the journal, from its STAGE on (the caller holds "FPEL"); false when a call was
// refused (a total out of range), as MAIN tells.
bool JPOST(const std::string& NAME, JOURNAL& j);
// A document whose interrupted store or deletion was completed: DOC its kind and number (code page
// 737), empty when none; DELETION a deletion; FILE its record file.
struct COMPLETED {
    std::string DOC;
    bool DELETION = false;
    std::string FILE;
    explicit operator bool() const { return !DOC.empty(); }
};
// The line that tells it at the company choice (code page 737), naming its record file.
std::string COMPLETEDLINE(const COMPLETED& c);
// The same on mask 42 until Esc (nothing when none).
void TELLCOMPLETED(const COMPLETED& c);
// Test hook: with n > 0 the process ends at once (as if killed) right after the n-th write step of
// the stores and deletions; STEP counts one. 0 (the default) never stops.
void STOPAFTERSTEP(int n);
void STEP();
// The document record N linked on the chain of key K of file S exactly once: a second link is not
// made (the completion of an interrupted store links what the store had not).
LINKED ENSURELINK(const std::string& S, uint16_t N, int32_t K);

// ---- Customer lookup -----------------------------------------------------------------------------
// Finds the customer named EA (or the next one in collation order, or the last one before it) in
// the domestic customer index under "FPEL"; PR := 65000 when there is no customer at all. Damaged
// records are passed over, never taken; when any was met the clerk is told on mask 42
// (" ΑΡΧΕΙΟ MF.DAT ΚΑΤΕΣΤΡΑΜΜΕΝΟ."), and PR is 65000 when no sound customer was found.
void CHEP();
// Customer record re (read as r) becomes the current customer: PR, name, address, town, tax number,
// first telephone, second name line, profession and tax office.
void TAKE(uint16_t re, const ARP0::RR0& r);
// The collation rank of C in the lookup's alphabet (0..64), 65 when absent.
int32_t INS(uint8_t C);

// ---- The files a store or a deletion writes ------------------------------------------------------------
// What keeps a store or a deletion from writing: the first of its files (the name in the company
// folder) that is missing or damaged; FILE empty when there is none. The stores and deletions run
// every check before their first write, so that a refused one leaves every file as it was.
struct FILEFAULT {
    std::string FILE;
    bool MISSING = false;
    explicit operator bool() const { return !FILE.empty(); }
};
// The first of the files NAMES of the company folder that is missing; else the customer file
// ("MF.DAT") of the postings to customer PR and, when it is not 65000, to OLD: missing, or without
// the record of either or with either record damaged (ARP0::RR0::damaged): damaged.
FILEFAULT FILESFAULT(std::initializer_list<std::string> names, uint16_t PR, uint16_t OLD);
// The file NAME of the company folder as damaged.
inline FILEFAULT DAMAGED(const std::string& NAME) { return {NAME, false}; }
// The day chain DAYS (key DAY, none when 0) or else the customer chain CUSTS (key CUST) that a
// document about to join them finds damaged (CHAINDAMAGED with the store's RECORDS), as a fault.
FILEFAULT CHAINSFAULT(const std::string& DAYS, int32_t DAY, const std::string& CUSTS, int32_t CUST, int64_t RECORDS);
// The refusal on mask 42 until Esc: " ΑΡΧΕΙΟ <file> ΔΕΝ ΥΠΑΡΧΕΙ." or " ΑΡΧΕΙΟ <file> ΚΑΤΕΣΤΡΑΜΜΕΝΟ."
// on row 22, line23 (UTF-8) on row 23.
void REFUSE(const FILEFAULT& f, const char* line23);

// ---- Messages ------------------------------------------------------------------------------------------
// A refusal or notice on mask 42: two lines (CP737) at column 3 of rows 22 and 23, until Esc.
void MESSAGE42(const std::string& line22, const std::string& line23);
// The same with two texts in UTF-8, each cut or padded to 36 cells so that it covers the mask's own.
void NOTICE42(const char* line22, const char* line23);

// ---- Index and stack words -----------------------------------------------------------------------------
// Word I (little-endian, at byte 2I) of an index or free-record stack file, and its writer.
uint16_t WORDAT(const PLAT::File& f, int64_t i);
void PUTWORDAT(PLAT::File& f, int64_t i, uint16_t v);

// ---- The receipt book --------------------------------------------------------------------------------
// The receipt book screen: collection receipts (BBB true) or payment receipts; returns on Esc.
void APOD(bool BBB);

}  // namespace APODI
