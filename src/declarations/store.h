// STORE: the on-disk formats of the declaration store ("DISM", "DISD", "DISI", "DISN", "DISH",
// "DIPE" + ".DAT") and of the continuation-sheet store ("BISM", "BISD", "BISI", "BISN" + ".DAT"),
// and the operations on them that work on packed data. The form-facing operations (EK0.CHO,
// EK0.KATD, BOD.DELD, EKDO.KATB, ...) in store_form.h and the list reader DIAS.RUFD are built on
// this library; printing, submission, invoicing and the upgrades read the stores through it, and
// the store checker (tools/dstchk.cpp) verifies a company folder with it.
//
// Every read is checked before it is followed: a damaged file gives a Damaged result or a refused
// store with a message, never a crash or a read past the file. Every update is planned whole in
// memory first and refused before anything is written when it cannot complete; the writes are then
// made in an order that never leaves a link to an unwritten record (the record first, the link
// after it; an index or chain entry is removed before the areas it names are freed).
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace STORE {

// ---- Constants ---------------------------------------------------------------------------------
constexpr int32_t NONE = 40000000;        // "no declaration" in chains and index entries
constexpr int64_t POS_LIMIT = 40000000;   // every area lies below this position
constexpr int DAY_HEADS = 22320;          // "DISH.DAT" heads: the days of 1990 to 2049
constexpr int CUST_HEADS = 10000;         // "DIPE.DAT" heads: customer records 0 to 9999
constexpr uint16_t NO_CUSTOMER = 65000;
constexpr int FREED_PER_PARTITION = 500;  // words per first digit in "DISN.DAT"/"BISN.DAT"
constexpr int FREED_KEPT = 49;
constexpr int MAIN_BOXES = 289;
constexpr int SHEET_BOXES = 165;
constexpr int LIST_BOXES = 286;           // the boxes the list reader decodes

// The two stores share their scheme; these are their differences.
struct Layout {
    const char* M;       // record file "DISM.DAT" / "BISM.DAT"
    const char* D;       // free-area file
    const char* I;       // index
    const char* N;       // freed index slots
    int recSize;         // index record: 17 / 21
    int keyLen;          // 10 / 14
    int stride;          // partition stride: 7201 / 7001
    int block;           // block size of an unlent partition: 7200 / 7000
    int lendKeep;        // SY the lender keeps: 3599 / 3499
    int lendHalf;        // SY of the lent half: 3600 / 3500
    int lendMaxUsed;     // the lender has used at most this many slots: 3598 / 3498
};
extern const Layout DECL, SHEET;

// ---- Records -----------------------------------------------------------------------------------
// "DISH.DAT"/"DIPE.DAT" node RR1, 6 bytes: HR LONGINT position, NR WORD next node.
struct RR1 {
    static constexpr size_t SIZE = 6;
    int32_t HR = NONE;
    uint16_t NR = 0;
    static RR1 decode(const uint8_t* p);
    void encode(uint8_t* p) const;
};
// Index head RR2/RB2: SY, US, FA WORDs, TI string[keyLen] (not used).
struct Head {
    uint16_t SY = 0, US = 0, FA = 0;
    std::string TI;
};
// Index entry RR3/RB3: RE LONGINT, AL WORD, KL string[keyLen]. FA and AL lie at offset 4.
struct Entry {
    int32_t RE = 0;
    uint16_t AL = 0;
    std::string KL;
};
Head decodeHead(const Layout& L, const uint8_t* p);
void encodeHead(const Layout& L, const Head& h, uint8_t* p);
Entry decodeEntry(const Layout& L, const uint8_t* p);
void encodeEntry(const Layout& L, const Entry& e, uint8_t* p);
// "DISD.DAT" record RD0, 6 bytes: RP LONGINT, SZ WORD.
struct RD0 {
    static constexpr size_t SIZE = 6;
    int32_t RP = 0;
    uint16_t SZ = 0;
    static RD0 decode(const uint8_t* p);
    void encode(uint8_t* p) const;
};

// ---- Keys and dates ----------------------------------------------------------------------------
// Value of a key character: 0 for a blank, else its code minus 48 (as a byte).
uint8_t INS(char C);
// The key padded with blanks (or cut) to n characters.
std::string padKey(const std::string& key, int n);
// The partition (1..9) of a key, 0 when its first character is not "1".."9".
int partitionOf(const std::string& key);
// Key order: <0, 0, >0 comparing the key values position by position (blank = 0).
int compareKeys(const std::string& a, const std::string& b, int n);
// The number a box or a key holds, as a stored record is matched with its key: blanks dropped,
// then leading zeros ("  0500" and "500" hold 500).
std::string numberText(const std::string& s);
// Whether a sheet item whose box 10 holds box10 (the number of its declaration) may be stored
// under key: the key begins with that number and has at most `rest` characters after it (sheet
// and item); an empty box 10, or one that is no number, tells nothing.
bool itemOf(const std::string& box10, const std::string& key, int rest);
// The day number under which a date ddmmyy is chained: six digits, day 01..31, month 01..12,
// years 1990 to 2049. The one test for insertion and removal alike; nullopt when it does not count.
std::optional<int32_t> dayKey(const std::string& HM);

// ---- Fields ------------------------------------------------------------------------------------
// Appends one field: trailing blanks dropped, number form when allowed and the text is 1..9 digits
// without a leading zero, text form otherwise (texts are cut to 99 characters).
void putField(std::string& data, const std::string& text, bool numberAllowed);
// Reads the fields of a data string. After a damaged field (a length past the end, a first byte
// above 104) bad() is true and every further field is empty.
class FieldReader {
public:
    FieldReader(const std::string& d, size_t start = 0) : data(d), i(start) {}
    std::string next();
    bool skip();                       // passes over one field; false when it is damaged
    bool raw(uint8_t* out, size_t n);  // n raw bytes
    bool bad() const { return damaged; }
    size_t pos() const { return i; }

private:
    const std::string& data;
    size_t i;
    bool damaged = false;
};

// ---- Area chains -------------------------------------------------------------------------------
// Random access to the bytes of a record file (the store's own reader, a list's open file, a fuzz
// buffer). read returns false when the range is not wholly inside the file.
struct Source {
    int64_t size = 0;
    std::function<bool(int64_t off, void* buf, size_t n)> read;
};
Source fileSource(const std::string& path);  // reads the whole file; empty source when missing

struct Area {
    int32_t pos = 0;
    uint16_t SIZ = 0, REM = 0;
};
struct Chain {
    bool ok = false;
    std::string data;
    std::vector<Area> areas;
    std::string error;  // why the chain is damaged
};
// The data of the record at pos. Every area is checked against the file: its position, its header,
// its bytes within the file; a chain that carries more data than its first area announces, or that
// never ends, is damaged. sheet: the last area's data may run to the end of the file (a sheet's
// REM counts 4 bytes it does not occupy).
Chain readChain(const Source& src, int32_t pos, bool sheet);

// ---- Index and chains, read only ---------------------------------------------------------------
struct Found {
    bool found = false;
    int32_t pos = 0;
    int32_t slot = 0;       // record of the entry found
    std::string lastKey;    // the last key read (BOD.OO / BOD.OOB)
    bool damaged = false;   // the list was broken off at a bad link
};
// Finds key in the index at dir (a folder ending in "/" or "\", or empty for the working folder).
Found find(const std::string& dir, const Layout& L, const std::string& key);

// The continuation-sheet items stored under a declaration number (as the sheet keys begin: box 1
// formatted without blanks): every live entry of its partition whose key is the number followed by
// four digits (sheet and item), in list order. damaged when the list broke off at a bad link.
struct Items {
    std::vector<std::pair<std::string, int32_t>> items;  // key (14 characters), position
    bool damaged = false;
};
Items itemsOf(const std::string& dir, const std::string& number);

// The positions of a chain of "DISH.DAT" or "DIPE.DAT" from head k, in chain order (empty records
// skipped). damaged when a link points outside the file or the chain loops (links into the heads
// are not looked at).
struct ChainWalk {
    std::vector<int32_t> positions;
    bool damaged = false;
};
ChainWalk walkChain(const Source& src, int32_t head);
// The walk itself: calls row with the HR of every node of the chain from head on, in chain order,
// until it returns false. False (damaged) when a link leaves the file, leads into the heads
// (records below `heads` other than the head: another key's chain) or comes back to a node walked
// already; each node is met once.
bool walkNodes(const Source& src, int64_t heads, int32_t head, const std::function<bool(int32_t)>& row);

// ---- Updates -----------------------------------------------------------------------------------
// A stored version to remove (replacement or deletion).
struct Old {
    int32_t pos = 0;
    std::string key;      // BOD.OO / BOD.OOB: a key of the entry's partition
    std::string date;     // BOD.BHM (declarations)
    uint16_t cust = NO_CUSTOMER;  // BOD.BPR (declarations)
    // The stored version could not be read (a damaged declaration), so its date and customer are
    // not known: its entries are looked for by position in every day and customer chain, and its
    // areas are not freed.
    bool unread = false;
};
struct Request {
    std::string key;      // BOD.TM / BOD.BM
    std::string data;     // the packed fields
    std::optional<Old> old;  // replace this stored version
    std::string date;     // BOD.HM (declarations)
    uint16_t cust = NO_CUSTOMER;  // BOD.PR (declarations)
};
struct Result {
    bool stored = false;
    int32_t pos = 0;
    std::string refusal;               // CP737: why nothing was written
    std::vector<std::string> notices;  // CP737: stored, but something the clerk must know
};
// Stores a declaration (EK0.KATD after its change check) or a sheet (EKDO.KATB).
Result storeDecl(const std::string& dir, const Request& r);
Result storeSheet(const std::string& dir, const Request& r);
// BOD.DELD: frees the areas of the declaration at old.pos and removes its index, day and customer
// entries. A damaged area chain forgets every free area (BOD.CLEARDISD) after the removals.
// A damaged index or chain file refuses the deletion (Result.refusal); nothing is then written.
Result deleteDecl(const std::string& dir, const Old& old);
// EKDO.DELB: removes the sheet's index entry.
Result deleteSheet(const std::string& dir, const Old& old);
// BOD.CLEARDISD: "DISD.DAT" as 1000 zero words; words: 2000 for DIAS.ERRORFILE.
void clearFree(const std::string& dir, int words = 1000);

// ---- Checking a company's stores (tools/dstchk, the tests) -------------------------------------
struct CheckOptions {
    // A stored declaration missing from its day or customer chain is an error (else a warning:
    // a store or deletion stopped between its steps leaves that, and nothing worse).
    bool strict = false;
    // Expected contents: lines "D <number>\t<hex of the packed data>" or "D <number>\t-" (not
    // stored), "B <sheet key>\t<hex>" or "B <sheet key>\t-".
    std::string expectFile;
};
struct Report {
    std::vector<std::string> errors, warnings;
    size_t declarations = 0, sheets = 0, freeAreas = 0;
};
// Verifies the index order and links, the blocks and freed slots, the area chains and that no two
// declarations and no free area share a byte, the day and customer chains, and the expectations.
Report check(const std::string& dir, const CheckOptions& o = {});

// ---- Installation ------------------------------------------------------------------------------
// Creates the store files of a company folder that are missing, with their installed contents.
void installFiles(const std::string& dir);

// Test hook: when >= 0, the process kills itself (SIGKILL) after that many writes of an update.
extern int crashAfterWrites;

}  // namespace STORE
