// KVDI: the fifteen code tables of a company, each with one screen that is both its editor and its
// picker, the code-tables menu, the validity-date entry and the shared picker results.
//
// Every table is a file of fixed size in the company folder (UMAS::PATH + name + ".DAT"), loaded
// whole by RUF and stored whole by KAT under the lock "FKVD". A screen procedure takes the caller's
// result variable MEE, the mode BL (true: picker, false: maintenance) and the exit code KK (picker
// mode: 0 a row was handed back in MEE, 3 the clerk left with Esc). Callers pass the table's own
// result variable (V00 .. V0F) unless they keep a record of their own.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "codes/gencod.h"
#include "common/umas.h"
#include "platform/codec.h"

namespace KVDI {

// ---- Records (packed, little-endian; strings are a length byte and their full capacity) -------

// One place of loading or unloading ("APO.DAT").
struct RECAPO {
    static constexpr size_t SIZE = 31;
    std::string AP;  // string[30]
    static RECAPO decode(const uint8_t* p) { return {PLAT::getS(p, 30)}; }
    void encode(uint8_t* p) const { PLAT::putS(p, 30, AP); }
    bool operator==(const RECAPO&) const = default;
};

// One tax or charge ("TAX.DAT" = UMAS::PTAX).
struct RECTAX {
    static constexpr size_t SIZE = 28;
    std::string KV;  // string[3]: digits and capital Latin letters; empty or blank: no tax
    std::string FO;  // string[14]
    std::string PS;  // string[7]: the rate as text
    uint8_t EI = 0;  // base kind 1..30, 0 none
    static RECTAX decode(const uint8_t* p) { return {PLAT::getS(p, 3), PLAT::getS(p + 4, 14), PLAT::getS(p + 19, 7), p[27]}; }
    void encode(uint8_t* p) const {
        PLAT::putS(p, 3, KV);
        PLAT::putS(p + 4, 14, FO);
        PLAT::putS(p + 19, 7, PS);
        p[27] = EI;
    }
    bool operator==(const RECTAX&) const = default;
};
constexpr size_t TAX_N = 48;
static_assert(TAX_N * RECTAX::SIZE == UMAS::PTAX_SIZE);
// Entry n (1..48) of UMAS::PTAX.
RECTAX getTax(int n);
void putTax(int n, const RECTAX& r);

// One currency ("NOM.DAT", after the two validity dates).
struct RECNOM {
    static constexpr size_t SIZE = 50;
    std::string KV;  // string[4]
    std::string NO;  // string[20]
    std::string ST;  // string[3]
    uint16_t MO = 0;
    std::string IG;  // string[8]
    std::string IS;  // string[8]
    static RECNOM decode(const uint8_t* p) {
        return {PLAT::getS(p, 4), PLAT::getS(p + 5, 20), PLAT::getS(p + 26, 3), PLAT::getW(p + 30), PLAT::getS(p + 32, 8),
                PLAT::getS(p + 41, 8)};
    }
    void encode(uint8_t* p) const {
        PLAT::putS(p, 4, KV);
        PLAT::putS(p + 5, 20, NO);
        PLAT::putS(p + 26, 3, ST);
        PLAT::putW(p + 30, MO);
        PLAT::putS(p + 32, 8, IG);
        PLAT::putS(p + 41, 8, IS);
    }
    bool operator==(const RECNOM&) const = default;
};

// One dated per-unit rate ("KAY.DAT", after the two validity dates).
struct RECKAY {
    static constexpr size_t SIZE = 41;
    std::string NO;  // string[30]
    std::string IS;  // string[9]
    static RECKAY decode(const uint8_t* p) { return {PLAT::getS(p, 30), PLAT::getS(p + 31, 9)}; }
    void encode(uint8_t* p) const {
        PLAT::putS(p, 30, NO);
        PLAT::putS(p + 31, 9, IS);
    }
    bool operator==(const RECKAY&) const = default;
};

// A country ("XVR.DAT").
struct RECPOL {
    static constexpr size_t SIZE = 26;
    std::string KV;  // string[4]
    std::string CI;  // string[20]
    static RECPOL decode(const uint8_t* p) { return {PLAT::getS(p, 4), PLAT::getS(p + 5, 20)}; }
    void encode(uint8_t* p) const {
        PLAT::putS(p, 4, KV);
        PLAT::putS(p + 5, 20, CI);
    }
    bool operator==(const RECPOL&) const = default;
};

// A customs office ("TEL.DAT").
struct RECTEL {
    static constexpr size_t SIZE = 44;
    uint16_t KV = 0;
    std::string TE;  // string[20]
    std::string CI;  // string[20]
    static RECTEL decode(const uint8_t* p) { return {PLAT::getW(p), PLAT::getS(p + 2, 20), PLAT::getS(p + 23, 20)}; }
    void encode(uint8_t* p) const {
        PLAT::putW(p, KV);
        PLAT::putS(p + 2, 20, TE);
        PLAT::putS(p + 23, 20, CI);
    }
    bool operator==(const RECTEL&) const = default;
};

// A means of transport ("TRM.DAT") or a supplementary unit ("MON.DAT"): a byte code and a text.
struct RECTRM {
    static constexpr size_t SIZE = 32;
    uint8_t KV = 0;
    std::string TR;  // string[30]
    static RECTRM decode(const uint8_t* p) { return {p[0], PLAT::getS(p + 1, 30)}; }
    void encode(uint8_t* p) const {
        p[0] = KV;
        PLAT::putS(p + 1, 30, TR);
    }
    bool operator==(const RECTRM&) const = default;
};
using RECMON = RECTRM;

// A declaration preset ("PER.DAT").
struct RECPER {
    static constexpr size_t SIZE = 34;
    std::string PE;  // string[20]
    std::string DI;  // string[7]
    uint8_t KV = 0;
    int32_t KA = 0;
    static RECPER decode(const uint8_t* p) { return {PLAT::getS(p, 20), PLAT::getS(p + 21, 7), p[29], PLAT::getL(p + 30)}; }
    void encode(uint8_t* p) const {
        PLAT::putS(p, 20, PE);
        PLAT::putS(p + 21, 7, DI);
        p[29] = KV;
        PLAT::putL(p + 30, KA);
    }
    bool operator==(const RECPER&) const = default;
};

// A delivery term ("TRP.DAT") or a kind of package ("SYS.DAT").
struct RECTRP {
    static constexpr size_t SIZE = 35;
    std::string TR;  // string[3]
    std::string PA;  // string[30]
    static RECTRP decode(const uint8_t* p) { return {PLAT::getS(p, 3), PLAT::getS(p + 4, 30)}; }
    void encode(uint8_t* p) const {
        PLAT::putS(p, 3, TR);
        PLAT::putS(p + 4, 30, PA);
    }
    bool operator==(const RECTRP&) const = default;
};
using RECSYS = RECTRP;

// An additional-information code ("PROSTH.DAT").
struct RECPROSTHETA {
    static constexpr size_t SIZE = 38;
    std::string TR;  // string[6]
    std::string PA;  // string[30]
    static RECPROSTHETA decode(const uint8_t* p) { return {PLAT::getS(p, 6), PLAT::getS(p + 7, 30)}; }
    void encode(uint8_t* p) const {
        PLAT::putS(p, 6, TR);
        PLAT::putS(p + 7, 30, PA);
    }
    bool operator==(const RECPROSTHETA&) const = default;
};

// An attached document ("PRE.DAT").
struct RECPRE {
    static constexpr size_t SIZE = 36;
    std::string KV;  // string[4]
    std::string EE;  // string[30]
    static RECPRE decode(const uint8_t* p) { return {PLAT::getS(p, 4), PLAT::getS(p + 5, 30)}; }
    void encode(uint8_t* p) const {
        PLAT::putS(p, 4, KV);
        PLAT::putS(p + 5, 30, EE);
    }
    bool operator==(const RECPRE&) const = default;
};

// The attached-documents picker's result: up to eight documents, slot by slot (1..8).
struct RECPREB {
    static constexpr size_t SIZE = 288;
    std::array<std::string, 9> KV;  // [1..8] string[4]
    std::array<std::string, 9> EE;  // [1..8] string[30]
    void encode(uint8_t* p) const {
        for (int i = 1; i <= 8; ++i) PLAT::putS(p + (i - 1) * 5, 4, KV[size_t(i)]);
        for (int i = 1; i <= 8; ++i) PLAT::putS(p + 40 + (i - 1) * 31, 30, EE[size_t(i)]);
    }
    bool operator==(const RECPREB&) const = default;
};

// A text block as picked: 8 rows of 50 cells (a pick fills cells 1..40 of each row).
struct RECSFR {
    static constexpr size_t SIZE = 800;
    std::array<std::array<UMAS::FRMSCR, 50>, 8> ME{};
    bool operator==(const RECSFR&) const = default;
};

// The goods index record ("EMP.DAT"): the code and the number of its details in "PEMP.DAT".
struct REC {
    static constexpr size_t SIZE = 29;
    std::string KV;  // string[26]
    uint16_t RI = 0;
    static REC decode(const uint8_t* p) { return {PLAT::getS(p, 26), PLAT::getW(p + 27)}; }
    void encode(uint8_t* p) const {
        PLAT::putS(p, 26, KV);
        PLAT::putW(p + 27, RI);
    }
    bool operator==(const REC&) const = default;
};

// The details of one goods code ("PEMP.DAT").
struct REK {
    static constexpr size_t SIZE = 1075;
    std::array<std::string, 7> RI;                  // [1..6] string[40]
    uint8_t EE = 0;
    std::array<std::string, 21> TR;                 // [1..20] string[6]
    std::array<std::array<uint8_t, 9>, 21> KF{};    // [1..20][1..8]
    std::array<std::string, 49> PC;                 // [1..48] string[7]
    std::array<std::string, 7> SX;                  // [1..6] string[23]
    static REK decode(const uint8_t* p);
    void encode(uint8_t* p) const;
    static REK blank();
    bool operator==(const REK&) const = default;
};

// The goods picker's result.
struct RECEMP {
    static constexpr size_t SIZE = 474;
    std::string KV;  // string[26]
    uint8_t EE = 0;
    std::array<std::string, 7> RI;   // [1..6] string[40]
    std::array<uint8_t, 9> TC{};     // [1..8]
    std::array<std::string, 25> PC;  // [1..24] string[7], not filled by the catalogue
    bool operator==(const RECEMP&) const = default;
};

// ---- Table files -------------------------------------------------------------------------------

struct TableFile {
    const char* name;  // the name given to RUF/KAT
    size_t size;       // bytes
};
constexpr TableFile F_NOM{"NOM", 1214}, F_POL{"XVR", 6240}, F_EMP{"EMP", 43500}, F_TEL{"TEL", 15840},
    F_APO{"APO", 1116}, F_TRM{"TRM", 7680}, F_PER{"PER", 1224}, F_TRP{"TRP", 840}, F_PRE{"PRE", 1728},
    F_MON{"MON", 768}, F_SYS{"SYS", 840}, F_SFR{"SFR", 25600}, F_KAY{"KAY", 1982}, F_TAX{"TAX", 1344},
    F_PROSTH{"PROSTH", 912};
constexpr size_t PEMP_N = 1500;  // "PEMP.DAT" holds one REK per index slot

// Reads table SF (UMAS::PATH + SF + ".DAT") into P, size bytes, under "FKVD". P is zero-filled
// first; a file of another size is read up to size bytes (the rest stays zero) and a missing file
// reads as all zero; either is told to the clerk. Clears BO. Returns the number of bytes read.
size_t RUF(const std::string& SF, uint8_t* P, size_t size, bool& BO);
// The tables of the company folder whose file has another size than its table (a missing file is
// not counted): one line each (code page 737) naming the file, its size and the table's.
std::vector<std::string> CHECKSIZES();
// Stores P (size bytes) as table SF under "FKVD" when BO is set (written whole, never half), then
// clears BO. Nothing is written while BO is clear.
void KAT(const std::string& SF, const uint8_t* P, size_t size, bool& BO);

// ---- Shared state ------------------------------------------------------------------------------

// The picker results.
extern RECKAY V00;
extern RECNOM V01;
extern RECPOL V02;
extern RECTEL V04;
extern RECAPO V05;
extern RECTRM V06;
extern RECPER V07;
extern RECTRP V08;
extern RECPREB V09;
extern RECEMP V0A;
extern RECSFR V0B;
extern uint16_t V0C;  // index 1..48 into UMAS::PTAX
extern RECMON V0D;
extern RECSYS V0E;
extern RECPROSTHETA V0F;

// The validity dates being edited (six digits DDMMYY) and today's date for the date entry.
extern std::string H1, H2;
extern uint16_t E, M, H, D;  // today's year (four digits), month, day, weekday (0 = Sunday)
extern std::string B4;       // today's year as four digits
// Reads today's date into E, M, H, D and B4.
void TODAY();

// The key legends of the code-table screens and of the goods catalogue's taxes of a line.
extern UMAS::FUN GM1, GM2;

// ---- Routines ----------------------------------------------------------------------------------

// Entry of the validity dates H1 at (X1, Y1) and H2 at (X2, Y2). KK: 0 or 2 both accepted, 3 Esc,
// 1 Up on the first date. TODAY() must have been called. Years 1990..2049 are accepted.
void HMER(int X1, int Y1, int X2, int Y2, uint8_t& KK);
// Completes one typed date text as the date entry does ("to" dates take the last day); false
// when the result is not a date of 1990..2049. The clamped day is written into the text.
bool completeDate(std::string& S, bool to);
// Clamps day HA of month MA of year EA to the month's length.
void ELM(uint16_t& EA, uint16_t& MA, uint16_t& HA);
// Every blank of S becomes "0".
void ZER(std::string& S);
// A six-digit date DDMMYY as a comparable number YYYYMMDD (two-digit years below 90 are 20YY).
int32_t dateKey(const std::string& DDMMYY);
// The name of base kind EI (ten characters; empty outside 1..30).
std::string EIDFOR(uint8_t EI);

// The goods catalogue's routines: the 26-character code composed from a VAT-code pick; the sort
// key of a code (its first 12 characters without blanks as a number, 10^22 when 0); the paste of
// the clipboard remainder (SCR::RESTCLIP) into lines from..6 of width characters (a piece ends at
// a line break, which is dropped, or at the width, the next character staying for the next line).
std::string EMP_CODE(const GENCOD::REC_FPA& r);
double EMP_KVAL(const std::string& KV);
void EMP_PUTCLIP(std::array<std::string, 7>& lines, int from, size_t width);
// A supplementary-units code as the declaration boxes take it: the code as the list shows it, at
// least two digits ("03"), followed by ":" for the quantity.
std::string MON_CODE(uint8_t KV);

// ---- Screens -----------------------------------------------------------------------------------

void KVD();  // the code-tables menu

void NOM(RECNOM& MEE, bool BL, const std::string& HT, uint8_t& KK);
void POL(RECPOL& MEE, bool BL, uint8_t& KK);
void EMP(RECEMP& MEE, bool BL, uint8_t& KK);
void TEL(RECTEL& MEE, bool BL, uint8_t& KK);
void APO(RECAPO& MEE, bool BL, uint8_t& KK);
void TRM(RECTRM& MEE, bool BL, uint8_t& KK);
void PER(RECPER& MEE, bool BL, uint8_t& KK);
void TRP(RECTRP& MEE, bool BL, uint8_t& KK);
void PRE(RECPREB& MEE, bool BL, uint8_t& KK);
void MON(RECMON& MEE, bool BL, uint8_t& KK);
void SYS(RECSYS& MEE, bool BL, uint8_t& KK);
void SFR(RECSFR& MEE, bool BL, uint8_t& KK);
void KAY(RECKAY& MEE, bool BL, const std::string& HT, uint8_t& KK);
// The tax table: MEE receives the index 1..48 of the chosen tax; TAXCODE is the code to open on;
// KK 1 on entry reloads "TAX.DAT" into UMAS::PTAX first. NOSTORE: F1 does not write "TAX.DAT"
// (the goods catalogue, whose rates UMAS::PTAX holds while it is open).
void TAX(uint16_t& MEE, const std::string& TAXCODE, bool BL, uint8_t& KK, bool NOSTORE = false);
void PROSTHETA(RECPROSTHETA& MEE, bool BL, uint8_t& KK);

}  // namespace KVDI
