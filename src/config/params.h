// PARAMS: company selection, the parameter files and their editors, amount in words, calculator.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/umas.h"
#include "platform/codec.h"

// The invoice and document parameter records: invoice item headings ("PARTIM1"), expenses-statement
// reasons ("PARTIM2"), the declaration-to-invoice map ("PARTIM3") and the document field maps
// (RECPARTIM3), and the print layouts of the invoice ("PARTIM4") and the documents (RECPARTIM4).
// Every record is packed, little-endian, read and written through the codecs below.
namespace PARAMS {

// One invoice item heading or one reason of the expenses statement: PER string[40].
struct RECPARTIM1 {
    static constexpr size_t SIZE = 41;
    std::string PER;
    static RECPARTIM1 decode(const uint8_t* p) { return {PLAT::getS(p, 40)}; }
    void encode(uint8_t* p) const { PLAT::putS(p, 40, PER); }
};
using RECPARTIM2 = RECPARTIM1;

// A declaration box feeding one invoice or document field: KV WORD (0 = none), CI string[20].
struct RECPARTIM3 {
    static constexpr size_t SIZE = 23;
    uint16_t KV = 0;
    std::string CI;
    static RECPARTIM3 decode(const uint8_t* p) { return {PLAT::getW(p), PLAT::getS(p + 2, 20)}; }
    void encode(uint8_t* p) const {
        PLAT::putW(p, KV);
        PLAT::putS(p + 2, 20, CI);
    }
    bool operator==(const RECPARTIM3&) const = default;
};

// One item of a pre-printed form: caption, modes before (SA1, SA2), column, line, modes after
// (ST2, ST1). COL = 0 or ROW = 0: not printed.
struct RECPARTIM4 {
    static constexpr size_t SIZE = 37;
    std::string PER;  // string[30]
    uint8_t SA1 = 0, SA2 = 0, COL = 0, ROW = 0, ST2 = 0, ST1 = 0;
    static RECPARTIM4 decode(const uint8_t* p) {
        RECPARTIM4 r;
        r.PER = PLAT::getS(p, 30);
        r.SA1 = p[31];
        r.SA2 = p[32];
        r.COL = p[33];
        r.ROW = p[34];
        r.ST2 = p[35];
        r.ST1 = p[36];
        return r;
    }
    void encode(uint8_t* p) const {
        PLAT::putS(p, 30, PER);
        p[31] = SA1;
        p[32] = SA2;
        p[33] = COL;
        p[34] = ROW;
        p[35] = ST2;
        p[36] = ST1;
    }
    bool operator==(const RECPARTIM4&) const = default;
};

// Record counts and file sizes.
constexpr size_t PARTIM1_N = 18, PARTIM1_SIZE = 738;   // "PARTIM1"
constexpr size_t PARTIM2_N = 11, PARTIM2_SIZE = 451;   // "PARTIM2" (fills DEP[1..11])
constexpr size_t DEP_N = 14;                           // DEP in memory; 12..14 not from the file
constexpr size_t PARTIM3_N = 22, PARTIM3_SIZE = 506;   // "PARTIM3"
constexpr size_t MAXPVTIM = 144, PARTIM4_SIZE = 5328;  // "PARTIM4"
constexpr size_t PARD2_N = 33, PARD2_SIZE = 759;       // document field maps
constexpr size_t PARDOC_N = 120, PARDOC_SIZE = 4440;   // document print layouts
static_assert(PARTIM1_N * RECPARTIM1::SIZE == PARTIM1_SIZE);
static_assert(PARTIM2_N * RECPARTIM2::SIZE == PARTIM2_SIZE);
static_assert(PARTIM3_N * RECPARTIM3::SIZE == PARTIM3_SIZE);
static_assert(MAXPVTIM * RECPARTIM4::SIZE == PARTIM4_SIZE);
static_assert(PARD2_N * RECPARTIM3::SIZE == PARD2_SIZE);
static_assert(PARDOC_N * RECPARTIM4::SIZE == PARDOC_SIZE);

// Tables in memory, 1-based as everywhere in the program (entry 0 unused).
using TPARTIM1 = std::array<std::string, PARTIM1_N + 1>;  // string[40]
using TDEP = std::array<std::string, DEP_N + 1>;          // string[40]
using TPARTIM3 = std::array<RECPARTIM3, PARTIM3_N + 1>;

// Codecs of whole tables. decode reads records 1..n from the file image (which must hold at
// least n records); encode writes exactly n records.
template <class R, class T>
void decodeTable(const uint8_t* p, size_t n, T& t) {
    for (size_t i = 1; i <= n; ++i) t[i] = R::decode(p + (i - 1) * R::SIZE);
}
template <class R, class T>
void encodeTable(const T& t, size_t n, uint8_t* p) {
    for (size_t i = 1; i <= n; ++i) t[i].encode(p + (i - 1) * R::SIZE);
}
// Strings tables (PARTIM1, DEP) through RECPARTIM1.
inline void decodePARTIM1(const uint8_t* p, TPARTIM1& t) {
    for (size_t i = 1; i <= PARTIM1_N; ++i) t[i] = RECPARTIM1::decode(p + (i - 1) * RECPARTIM1::SIZE).PER;
}
inline void encodePARTIM1(const TPARTIM1& t, uint8_t* p) {
    for (size_t i = 1; i <= PARTIM1_N; ++i) RECPARTIM1{t[i]}.encode(p + (i - 1) * RECPARTIM1::SIZE);
}
// The file "PARTIM2" holds DEP[1..11]; entries 12..14 are never read or written here.
inline void decodeDEP(const uint8_t* p, TDEP& t) {
    for (size_t i = 1; i <= PARTIM2_N; ++i) t[i] = RECPARTIM2::decode(p + (i - 1) * RECPARTIM2::SIZE).PER;
}
inline void encodeDEP(const TDEP& t, uint8_t* p) {
    for (size_t i = 1; i <= PARTIM2_N; ++i) RECPARTIM2{t[i]}.encode(p + (i - 1) * RECPARTIM2::SIZE);
}
inline void decodePARTIM3(const uint8_t* p, TPARTIM3& t) { decodeTable<RECPARTIM3>(p, PARTIM3_N, t); }
inline void encodePARTIM3(const TPARTIM3& t, uint8_t* p) { encodeTable<RECPARTIM3>(t, PARTIM3_N, p); }

}  // namespace PARAMS

// The electronic-format field tables: one RECPARTIM7 per field of an output record, 220 rows per
// format, kept as "N" or "Q" + the table name + ".dat" in the company folder.
namespace PARAMS {

// One field of an electronic record; 46 bytes on disk, packed:
//   KV WORD @0, PEDIO string[22] @2, STATUS string[1] @25, MIKOS string[5] @27,
//   TYPOS string[1] @33, TIMES string[10] @35.
struct RECPARTIM7 {
    static constexpr size_t SIZE = 46;
    static constexpr size_t O_KV = 0, O_PEDIO = 2, O_STATUS = 25, O_MIKOS = 27, O_TYPOS = 33, O_TIMES = 35;
    static constexpr int C_PEDIO = 22, C_STATUS = 1, C_MIKOS = 5, C_TYPOS = 1, C_TIMES = 10;

    uint16_t KV = 0;     // field code, 0 = empty row
    std::string PEDIO;   // field name
    std::string STATUS;  // "R"/"r" mandatory; "C", "O", blank also accepted
    std::string MIKOS;   // length rule: "n" or "..n"
    std::string TYPOS;   // value type
    std::string TIMES;   // fixed value (KV 999)

    static RECPARTIM7 decode(const uint8_t* p) {
        RECPARTIM7 r;
        r.KV = PLAT::getW(p + O_KV);
        r.PEDIO = PLAT::getS(p + O_PEDIO, C_PEDIO);
        r.STATUS = PLAT::getS(p + O_STATUS, C_STATUS);
        r.MIKOS = PLAT::getS(p + O_MIKOS, C_MIKOS);
        r.TYPOS = PLAT::getS(p + O_TYPOS, C_TYPOS);
        r.TIMES = PLAT::getS(p + O_TIMES, C_TIMES);
        return r;
    }
    void encode(uint8_t* p) const {
        PLAT::putW(p + O_KV, KV);
        PLAT::putS(p + O_PEDIO, C_PEDIO, PEDIO);
        PLAT::putS(p + O_STATUS, C_STATUS, STATUS);
        PLAT::putS(p + O_MIKOS, C_MIKOS, MIKOS);
        PLAT::putS(p + O_TYPOS, C_TYPOS, TYPOS);
        PLAT::putS(p + O_TIMES, C_TIMES, TIMES);
    }
};
static_assert(RECPARTIM7::O_TIMES + 1 + RECPARTIM7::C_TIMES == RECPARTIM7::SIZE, "RECPARTIM7 is 46 bytes");

constexpr int PARTIM7_ROWS = 220;
constexpr size_t PARTIM7_SIZE = PARTIM7_ROWS * RECPARTIM7::SIZE;  // 10120
static_assert(PARTIM7_SIZE == 10120);
using PARTIM7TABLE = std::array<RECPARTIM7, PARTIM7_ROWS>;

// The seven formats in the order of the format menu.
constexpr int PARTIM7_FORMATS = 7;
extern const char* const PARTIM7_NAMES[PARTIM7_FORMATS];  // "PARDISK", "PARAUTO", ... "PART2L"

// The table file name of format pos without extension, "Q" or "N" by UMAS::HLEK4 ("NPARDISK").
std::string PARTIM7_FILE(int pos);
// Whole-table codec (10120 bytes).
PARTIM7TABLE decodePARTIM7(const uint8_t* p);
void encodePARTIM7(const PARTIM7TABLE& t, uint8_t* p);

}  // namespace PARAMS

// Numbering series of invoices and credit notes: twelve RECSEIRES per series file ("SEIRES.DAT",
// "PSEIRES.DAT", "ISEIRES.DAT"), slot 1 being the documents without a series.
namespace PARAMS {

// One series slot; 14 bytes on disk, packed:
//   SEIRA string[2] @0, AA LONGINT @3, PORTA @7, MIKSEL @8, KATAK @9, ORIZ @10, EMUL @11,
//   POLAP @12, FORMIX @13 (BYTEs).
struct RECSEIRES {
    static constexpr size_t SIZE = 14;
    static constexpr size_t O_SEIRA = 0, O_AA = 3, O_PORTA = 7, O_MIKSEL = 8, O_KATAK = 9, O_ORIZ = 10,
                            O_EMUL = 11, O_POLAP = 12, O_FORMIX = 13;
    static constexpr int C_SEIRA = 2;

    std::string SEIRA;   // one or two Greek capitals; empty in slot 1 and unused slots
    int32_t AA = 0;      // next number to issue
    uint8_t PORTA = 0;   // 1 LPT1, 2 LPT2, 3 LPT3, 4 COM1, 5 COM2, 6 USB
    uint8_t MIKSEL = 0;  // page length in lines
    uint8_t KATAK = 0;   // vertical offset
    uint8_t ORIZ = 0;    // horizontal offset
    uint8_t EMUL = 0;    // printer emulation 1..8 (series numbering)
    uint8_t POLAP = 0;   // copies
    uint8_t FORMIX = 0;  // 1: every printed copy is signed

    static RECSEIRES decode(const uint8_t* p) {
        RECSEIRES r;
        r.SEIRA = PLAT::getS(p + O_SEIRA, C_SEIRA);
        r.AA = PLAT::getL(p + O_AA);
        r.PORTA = p[O_PORTA];
        r.MIKSEL = p[O_MIKSEL];
        r.KATAK = p[O_KATAK];
        r.ORIZ = p[O_ORIZ];
        r.EMUL = p[O_EMUL];
        r.POLAP = p[O_POLAP];
        r.FORMIX = p[O_FORMIX];
        return r;
    }
    void encode(uint8_t* p) const {
        PLAT::putS(p + O_SEIRA, C_SEIRA, SEIRA);
        PLAT::putL(p + O_AA, AA);
        p[O_PORTA] = PORTA;
        p[O_MIKSEL] = MIKSEL;
        p[O_KATAK] = KATAK;
        p[O_ORIZ] = ORIZ;
        p[O_EMUL] = EMUL;
        p[O_POLAP] = POLAP;
        p[O_FORMIX] = FORMIX;
    }
};
static_assert(RECSEIRES::O_FORMIX + 1 == RECSEIRES::SIZE, "RECSEIRES is 14 bytes");

constexpr int SEIRES_SLOTS = 12;
constexpr size_t SEIRES_SIZE = SEIRES_SLOTS * RECSEIRES::SIZE;  // 168, PARAMSEIRBUF
static_assert(SEIRES_SIZE == 168);
using SEIRESTABLE = std::array<RECSEIRES, SEIRES_SLOTS>;  // [0] is slot 1

SEIRESTABLE decodeSEIRES(const uint8_t* p);
void encodeSEIRES(const SEIRESTABLE& t, uint8_t* p);

// The series file name without extension: MN 0 "SEIRES", 1 "PSEIRES", 2 "ISEIRES".
std::string SEIRES_FILE(int MN);

// File-name suffix of a series code: the code trimmed of blanks, each Greek capital (CP737 0x80..0x97,
// Α..Ω) less 63 (A..X). Empty when the trimmed code is empty or holds anything but Greek capitals.
std::string SEIRES_SUFFIX(const std::string& code);

// The per-series number indexes (F7 of the series editor): for every slot 2..12 with a code,
// "TI_" (MN 0) or "SI_" (MN 1) + suffix + ".DAT" when missing; for MN 1 also the credit-note files
// "SD.DAT", "SH.DAT", "SPE.DAT", "SM.DAT" and "SI.DAT" when "SI.DAT" is missing. Files in UMAS::PATH.
void SEIRES_CREATEFILES(int MN, const SEIRESTABLE& t);

}  // namespace PARAMS

namespace PARAMS {

extern int MAXEKT;
extern int AREKTEL;
extern UMAS::FUN GM1;  // the key legend of the parameter screens

// Text helpers of the parameter screens.
using UMAS::padTo;
using UMAS::trim;

std::string GETDATABASEPATH();
void INITEKT();
// The company list "KORVEX.INI" as read from its lines: the number of companies given after "="
// on the first line (0 when it is not a number), then nine lines per company.
struct CompanyList {
    int n = 0;
    std::vector<std::string> lines;
    std::string line(size_t i) const { return i < lines.size() ? lines[i] : ""; }
    // Value j (1..9) of company c (0-based): the text after the first "=", first 40 characters.
    std::string value(int c, int j) const;
    bool present(int c) const { return 1 + size_t(c) * 9 < lines.size(); }
    // The companies (0-based) whose lines are there and whose name is not blank, in list order.
    std::vector<int> usable() const;
};
CompanyList parseCompanyList(std::vector<std::string> lines);
// Loads the company's tax table and invoice parameter tables (cleared first).
void loadCompanyTables();

// Reads the parameter file SF of the company folder into the table P of size bytes (a longer
// file fills only the table; a shorter one its start). A missing file, or one of 0 bytes, writes
// the line "file not found <path> call VALTERO" at the cursor and leaves the table unchanged
// (returns false).
bool RUFPAR(const std::string& SF, uint8_t* P, size_t size);
// The path of the parameter file SF in the company folder: UMAS::PATH + SF + ".dat".
std::string PARFILE(const std::string& SF);
// The parameter file SF is there with at least one byte: RUFPAR would find it.
bool PARFOUND(const std::string& SF);
// That line for the parameter file SF: "file not found " + its path + " call VALTERO".
std::string NOTFOUND(const std::string& SF);
// Writes size bytes from P as the whole parameter file SF (atomic).
void KATPAR(const std::string& SF, const uint8_t* P, size_t size);
void ZER(std::string& S);

void CALLPAREDE();
void PARMEN();
void PARMEN_PAREXOD();
void PARMEN_PARENTYPON();

void OLOG(const std::string& PO, int NOMMODE, int LEPMODE, std::string& OL);
void CALC(std::string& R);

// Invoice item headings, expenses-statement reasons and the declaration-to-invoice map, loaded at
// company choice and replaced by F1 in their editors.
extern TPARTIM1 PARTIM1;  // [1..18] string[40], file "PARTIM1"
extern TDEP DEP;          // [1..14] string[40]; the file "PARTIM2" fills [1..11]
extern TPARTIM3 PARTIM3;  // [1..22], file "PARTIM3"
// Reads the three files into the tables at company choice; a missing file leaves its entries empty
// (DEP[12..14] are not touched).
void loadInvoiceTables();
// "PARTIM1" was missing when the headings were last loaded and they have not been stored by their
// editor since: the headings in memory are empty (no taxed line, no VAT rate).
extern bool PARTIM1MISSING;
// The tables that change what an invoice computes or prints, when missing, told where the clerk
// sees them before a document is stored or printed: with HEADINGS the item headings when
// PARTIM1MISSING, with LAYOUT the print layout when "PARTIM4" is missing now. For each, the
// NOTFOUND line on the message bar of row 23, until a key. The tables are left as they are.
void INVOICETABLESNOTICE(bool headings, bool layout);

// The editors of the invoice parameters and of the form parameters.
void CALLPARTIM1();       // invoice item headings
void CALLPARTIM2();       // expenses-statement reasons
void CALLPARTIM3();       // declaration-to-invoice map
void CALLPARTIM4();       // invoice print layout
void CALLPARTIM5(int N);  // document field map N (0..4)
void CALLPARTIM6(int N);  // document print layout N (2..10)
// Entry k (1..14) of the form parameters menu ("ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ"): its field map or layout editor.
void CALLPARENTYPON(int k);
// Where the clerk sets the layout or field map file SF (matched without regard to case): the name
// its editor stores it under and its entry in the form parameters menu; entry 0 (and SF as given)
// when no entry edits it.
struct FormPlace {
    std::string file;
    int entry = 0;
};
FormPlace FORMPLACE(const std::string& SF);
void CALLPARTIM7();       // electronic-format field tables
void SEIRES(int N);       // numbering series: 0 invoices, 1 credit notes

}  // namespace PARAMS

// The first description line of each goods item of the open declaration, in item order (filled
// with the declaration totals before the documents and submissions read them).
namespace PARAMS {

extern std::array<std::string, 21> PERIGRAFES;  // [1..20] string[40]

}  // namespace PARAMS
