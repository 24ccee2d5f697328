// BOD: the declaration form. A declaration lives in memory as page images of character cells
// (SCB) and box tables (GGV) saying where each numbered box lies on the image, with the help
// lines (MSG). The structures are the loaded records of the mask file itself: the views below
// point into UMAS::MPR. Every other module reads and writes a box only through SOB, BOS, PNU,
// IFSP, ELE, CSU, ALLA and PUSC.
//
// The unit also holds the state of the one current declaration and its continuation sheet
// (numbers, dates, customer, the goods records MOT and the party block PRL).
#pragma once
#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "common/umas.h"

namespace BOD {

// ---- Geometry -----------------------------------------------------------------------------------
constexpr int PAGE_COLS = 80;
constexpr int PAGE_ROWS = 134;                           // rows of an SCB
constexpr size_t SCB_BYTES = size_t(PAGE_ROWS) * PAGE_COLS * 2;  // 21440
constexpr int BOXES = 289;                               // entries of a GGV
constexpr int SHEET_BOXES = 165;                         // entries the continuation sheet uses
constexpr size_t GGV_BYTES = size_t(BOXES) * 5;          // 1445
constexpr int HELP_LINES = 85;                           // MSG[0..84]
constexpr int HELP_CAP = 74;                             // string[74]
constexpr size_t MSG_BYTES = size_t(HELP_LINES) * (HELP_CAP + 1);  // 6375
constexpr int HELP_TEXT_MAX = 71;                        // what fits on row 24 from column 3
constexpr int VIEW_ROWS = 23;                            // page rows shown at once (PUSC)

constexpr int FRONT_MAIN = 113, TOTAL_MAIN = 134;  // kinds "IMP", "EXP", "MTF", "MET"
constexpr int FRONT_DFK = 84, TOTAL_DFK = 105;     // kind "DFK"
constexpr int SHEET_ROWS = 65;                     // rows of a continuation sheet
constexpr int SHEET_UPPER_ROWS = 42;               // sheet boxes 1..128 lie in rows 1..42

// The mask records holding the form structures.
constexpr int MASK_DIA = 3, MASK_GV = 62, MASK_BIS = 52, MASK_GB = 72, MASK_MES = 73;
constexpr int MASK_DIA_DFK = 107, MASK_GV_DFK = 108, MASK_BIS_DFK = 118, MASK_GB_DFK = 119;

// Input types (byte 4 of a box).
enum : uint8_t {
    TY_TEXT = 0,    // every character 32..255
    TY_NUM = 1,     // digits; number, right-aligned blank-filled
    TY_DATE = 2,    // ".", "/", digits; always stored as text
    TY_ZNUM = 3,    // digits; number, right-aligned zero-filled
    TY_STOP = 4,    // nothing typed, the cursor stops
    TY_SHOW = 5,    // shown only, the cursor passes over; always stored as text
    TY_SIGNED = 6,  // "-", ".", digits; signed or decimal number
    TY_CODE = 7,    // digits and "A".."Z"
};
constexpr int INPUT_TYPES = 8;
// The characters the field editor accepts in a box of the type (empty for 4 and 5).
std::bitset<256> TYPECHARS(int type);
// True for the types whose text PNU re-formats (1, 3, 6).
bool ISNUMTYPE(int type);
// What a date box (type 2) takes from the clerk: a blank box, or ddmmyy naming a real day of 1990
// to 2049.
bool dateAccepted(const std::string& text);

// ---- The form structures (views into mask records) --------------------------------------------
// A page image: `rows` rows of 80 cells (character CCH, attribute CAT), row first, 1-based.
struct SCB {
    uint8_t* p = nullptr;
    int rows = 0;
    bool valid() const { return p != nullptr; }
    uint8_t& CCH(int r, int c) const { return p[(size_t(r - 1) * PAGE_COLS + size_t(c - 1)) * 2]; }
    uint8_t& CAT(int r, int c) const { return p[(size_t(r - 1) * PAGE_COLS + size_t(c - 1)) * 2 + 1]; }
};

// A box table: `count` boxes of 5 bytes (column, row, length, input type, help number), box
// number = index from 1. The tables hold 289 entries; the sheet uses 1..165.
struct GGV {
    uint8_t* p = nullptr;
    int count = 0;
    bool valid() const { return p != nullptr; }
    // G[N][K], K = 1..5.
    uint8_t& at(int n, int k) const { return p[size_t(n - 1) * 5 + size_t(k - 1)]; }
    int COL(int n) const { return at(n, 1); }
    int ROW(int n) const { return at(n, 2); }
    int LEN(int n) const { return at(n, 3); }
    int TYP(int n) const { return at(n, 4); }
    int HLP(int n) const { return at(n, 5); }
};

// The help lines MSG[0..84], string[74] each.
struct MSG {
    const uint8_t* p = nullptr;
    bool valid() const { return p != nullptr; }
    std::string line(int n) const;  // "" for n outside 0..84
};

// Views of mask records (nullptr views when the record is too small for the structure).
SCB PAGEOF(UMAS::CONV* m, int rows);
GGV TABLEOF(UMAS::CONV* m);
MSG HELPOF(const UMAS::CONV* m);

// ---- Accessors -------------------------------------------------------------------------------
// The G[N][3] characters of box N exactly as they stand (trailing blanks included).
std::string SOB(SCB P, GGV G, int N);
// Writes S into box N, cut to the box or padded with blanks; attributes untouched.
void BOS(SCB P, GGV G, int N, const std::string& S);
// Reformats the number written in S for box N: BL true gives the shortest text; BL false the
// text right-aligned to the box length, blank-filled or, with C = '0', zero-filled.
void PNU(GGV G, int N, std::string& S, bool BL, char C);
// True when box N holds only blanks.
bool IFSP(SCB P, GGV G, int N);
// The box's text as an unsigned decimal number (leading blanks skipped; any other character
// gives 0) is a member of SE; above 255 is never a member.
using BTS = std::bitset<256>;
bool ELE(SCB P, GGV G, int N, const BTS& SE);
BTS bts(std::initializer_list<int> members);
// The change checksum of boxes 1..N.
double CSU(SCB P, GGV G, int N);
// True when CSU(P, G, N) differs from CSM.
bool ALLA(SCB P, GGV G, int N, double CSM);
// Page rows LL-22..LL onto screen rows 1..23 (characters and attributes) through UMAS::CRP;
// LL is brought into 23..rows first.
void PUSC(SCB P, int& LL);

// ---- The current form ----------------------------------------------------------------------
extern SCB DIA;   // main page image (mask 3; "DFK" 107)
extern GGV GV;    // main box table (62; 108)
extern SCB BIS;   // continuation sheet image (52; 118)
extern GGV GB;    // continuation sheet box table (72; 119)
extern MSG MES;   // help lines (73)
extern int LL;           // WORD: last page row shown
extern int FRONTLINES;   // 113, "DFK" 84
extern int TOTALLINES;   // 134, "DFK" 105

// Points DIA, GV, BIS, GB, MES at the form masks of the kind ("DFK" or any other) in UMAS::MPR
// and sets FRONTLINES, TOTALLINES. False when the mask file lacks them (CHECKMASKS prevents it).
bool SETFORM(const std::string& kind);
// The sheet image of the kind, for the electronic submission that re-points BIS.
SCB SHEETPAGE(const std::string& kind);

// ---- Checking the mask file ------------------------------------------------------------------
// What a run needs of the mask file: every mask 1..135 well-formed and the form records big
// enough, with every used box inside its page. "" when fine, else the first problem in one line.
std::string CHECKFORMRECORDS(const std::vector<UMAS::CONV>& masks);
// The full design check of the form masks (used by the mask compiler and the tests): sizes,
// box bounds, no overlap, reading order, front/view rows, the fixed box roles and lengths, the
// cells written by code outside every box, help lines. Each problem is one line.
std::vector<std::string> CHECKFORM(const std::vector<UMAS::CONV>& masks);

// ---- Records -------------------------------------------------------------------------------
// MOT (256 bytes): the goods (and vehicle) record of a page.
struct MOT {
    static constexpr size_t SIZE = 256;
    std::string ON, ER, TY;  // string[30]
    std::string AP;          // string[25]
    std::string AK;          // string[20]
    std::string KY, ET, BA;  // string[10]
    std::string KA;          // string[20]
    std::string KT;          // string[10]
    std::array<uint8_t, 9> EIF{};  // [1..8] tax-kind code of tax line i
    std::string DAJ;         // string[10]
    std::string P1, P2, EPET;  // string[4]
    std::string NM;          // string[3]
    std::string ISO;         // string[8]
    std::string MON;         // string[3]
    void encode(uint8_t* p) const;
    static MOT decode(const uint8_t* p);
    bool operator==(const MOT&) const = default;
};
// Capacities of the ten text fields ON..KT, in their order.
constexpr std::array<int, 10> MOT_TEXT_CAPS = {30, 30, 30, 25, 20, 10, 10, 10, 20, 10};
// The ten fields ON..KT as references, in order.
std::array<std::string*, 10> MOTTEXTS(MOT& m);
// The seven fields DAJ..MON and their capacities.
constexpr std::array<int, 7> MOT_TAIL_CAPS = {10, 4, 4, 4, 3, 8, 3};
std::array<std::string*, 7> MOTTAIL(MOT& m);

// PRL (656 bytes): the party block of the current declaration.
struct PRL {
    static constexpr size_t SIZE = 656;
    std::string EP, ON, OP, OD, AR, SY, PO, TA, EG, EF, A0, A1, B0, B1, B2, B3, B4, B5, AB, A2, A3, A4, A5, A6;
    void encode(uint8_t* p) const;
    static PRL decode(const uint8_t* p);
    void clear() { *this = PRL{}; }
    bool operator==(const PRL&) const = default;
};

// ---- State of the current declaration -------------------------------------------------------
extern std::string TM;    // string[10]: main box 1 trimmed, left-aligned, blank-filled to 10
extern std::string BTM;   // string[10]: number claimed in "NUDI"
extern std::string OTM;   // string[10]: previous number while renumbering
extern std::string OO;    // string[10]: number of the stored version (last key read)
extern std::string HM;    // string[6]: date, main box 8
extern std::string BHM;   // string[6]: date of the stored version
extern int PR;            // WORD: customer record number, 65000 = none
extern int BPR;           // WORD: customer of the stored version
constexpr int NO_CUSTOMER = 65000;
extern double CSM;        // checksum of main boxes 1..289 when loaded or stored
extern bool BOO;          // the number is stored; XN is its position
extern bool BUNREAD;      // the stored version could not be read: its date and customer are unknown
extern int32_t XN;        // position of the first area in DISM.DAT
extern std::string EA, AF, ON, DI, PO, TK;  // customer: name[30], tax no.[10], ON[30], address[30], town[20], postcode[6]
extern std::array<std::string, 3> TH;       // [1..2] string[13]
extern std::string EP, EF, SX;              // profession[20], tax office[30], SX[30]
extern MOT AY;            // goods record of the main page
extern PRL PL;            // party block
extern std::string BM;    // string[14]: key of the current sheet item
extern std::string BBM;   // string[14]: sheet key before the edit
extern std::string OOB;   // string[14]: key of the stored sheet (last key read)
extern bool BOB;          // the sheet key is stored; XNB is its position
extern int32_t XNB;       // position of the sheet in BISM.DAT
extern double BSM;        // checksum of sheet boxes 1..165
extern MOT AYB;           // goods record of the current sheet
extern uint8_t CH;        // scratch key character
extern uint8_t K;         // exit code shared by the document editors
extern int JJ;            // scratch error position
extern std::string CAS;   // result of the calculator
extern uint8_t MN;        // mode number of the electronic export
extern bool BLE;          // work flag of the customer box

// Key legend of the declaration editors, [1..10].
extern const UMAS::FUN GM1;
// Category prefixes written by the box rules, [0..3].
extern const std::array<std::string, 4> EEM;

}  // namespace BOD
