// UMAS: the shared state of the program and the routines every module uses: text, number and date
// routines, the named locks and in-use slots, the menu driver and the key legend.
// Strings hold code page 737 bytes and are at most 255 characters, as on disk.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/console.h"

namespace UMAS {

// ---- Screen model ------------------------------------------------------------------------------
using FRMSCR = PLAT::Cell;
using CRTBFR = PLAT::CellBuffer;

// A mask, also a saved rectangle: corners X1, Y1, X2, Y2 (1-based, inclusive) as four WORDs, then
// the cells row by row (character, attribute). raw is the exact image of the mask file record, so
// data masks can be read and written in place as byte areas.
struct CONV {
    std::vector<uint8_t> raw;
    int X1() const { return raw[0] | (raw[1] << 8); }
    int Y1() const { return raw[2] | (raw[3] << 8); }
    int X2() const { return raw[4] | (raw[5] << 8); }
    int Y2() const { return raw[6] | (raw[7] << 8); }
    int W() const { return X2() - X1() + 1; }
    int H() const { return Y2() - Y1() + 1; }
    uint8_t* cells() { return raw.data() + 8; }
    const uint8_t* cells() const { return raw.data() + 8; }
    // Cell (x, y) in mask coordinates, 0-based from the mask's own corner.
    uint8_t& ch(int x, int y) { return raw[8 + 2 * (y * W() + x)]; }
    uint8_t& at(int x, int y) { return raw[8 + 2 * (y * W() + x) + 1]; }
    static CONV make(int x1, int y1, int x2, int y2);
};

constexpr int MASKS = 135;
// The masks of "KORVEX.MSK": MPR[n] is mask n (1-based; MPR[0] is unused). Writable for the run.
extern std::vector<CONV> MPR;
CONV* mask(int n);  // nullptr when the mask file has no mask n

// The console's cell buffer (bound at start-up).
extern CRTBFR* CRP;

// ---- Shared state ------------------------------------------------------------------------------
extern std::string USER_ID;                 // string[3]
extern std::string PATH;                    // string[99], company folder, "\"-terminated
extern double RAEE;
extern std::array<std::string, 10> LOGOTYPO;  // [1..9] used, string[40]
extern std::string DEFAULT_POLI;            // string[40]
extern std::string AFM_EKTEL;               // string[12]
extern std::string KALOS1, KALOS2;          // string[32]
extern double EURO;
extern std::string SEURO;
extern bool ARDEX;
// Weekday abbreviations, 0 = Sunday.
extern const std::array<std::string, 7> WE;
// Month names without their final letter, [1..12].
extern const std::array<std::string, 13> MH;

// Print-form ids: each printed form has its own print settings per workstation
// ("ETC\pare" + USER_ID + "." + id, PRNS::SET_PE). 0 names no form (no settings dialog).
constexpr uint8_t PE_NULL = 0;
constexpr uint8_t PE_DIAS = 1;     // declaration and continuation sheets on the pre-printed form
constexpr uint8_t PE_PIAU = 11;    // vehicle certificate
constexpr uint8_t PE_PIMH = 12;
constexpr uint8_t PE_PIDE = 13;    // fee form
constexpr uint8_t PE_ZON = 14;     // zone-crossing document
constexpr uint8_t PE_PIKA = 15;    // certificate of origin
constexpr uint8_t PE_EUR1 = 16;    // EUR.1
constexpr uint8_t PE_CMRA = 17;    // CMR layout A
constexpr uint8_t PE_CMRB = 18;    // CMR layout B
constexpr uint8_t PE_N105 = 19;    // form N105
constexpr uint8_t PE_TIMO = 61;    // invoices
constexpr uint8_t PE_APOE = 62;    // collection receipt
constexpr uint8_t PE_APOP = 63;    // payment receipt
constexpr uint8_t PE_LIST = 72;    // lists and reports
constexpr uint8_t PE_KED = 82;     // statement of professional expenses
constexpr uint8_t PE_DV1 = 110;    // customs value declaration
constexpr uint8_t PE_ATR1 = 111;   // A.TR.1
constexpr uint8_t PE_INV1 = 112;   // export invoice, layout 1
constexpr uint8_t PE_INV2 = 113;   // export invoice, layout 2
constexpr uint8_t PE_BEBYG = 114;  // form BEYG
constexpr uint8_t PE_T5 = 115;     // T5 control copy
constexpr uint8_t PE_DILO = 116;   // cargo manifest
constexpr uint8_t PE_DAO = 117;    // D.A.O.
constexpr uint8_t PE_TIR = 118;    // TIR carnet and registration application

// General switches (the whole "PAREDE" table) and the values derived from them.
struct RECPAREDE {
    static constexpr size_t SIZE = 42;
    std::string MAL;  // string[40]
    uint8_t TIMI = 0;
};
constexpr size_t PAREDE_SIZE = 20 * RECPAREDE::SIZE;  // 840
extern std::array<RECPAREDE, 21> PAREDE;  // [1..20]
extern uint8_t TIMEUR;
extern bool HLEK4;
std::string encodePAREDE(const std::array<RECPAREDE, 21>& t);
void decodePAREDE(const std::string& bytes, std::array<RECPAREDE, 21>& t);
void derivePAREDE();  // TIMEUR := switch 7, HLEK4 := (switch 20 = 2)

// The company's tax table "TAX": 48 records of 28 bytes, kept as its file image; the code-table
// module owns the record layout.
constexpr size_t PTAX_SIZE = 1344;
extern std::array<uint8_t, PTAX_SIZE> PTAX;

// ---- Text, number and date routines -----------------------------------------------------------
std::string SPACS();
bool FILEEXIST(const std::string& S);
double EVAL(const std::string& S);
std::string CUTLEADSPACES(const std::string& S);  // trailing blanks removed
std::string trim(const std::string& S);           // blanks removed at both ends
std::string padTo(const std::string& S, size_t N);  // cut or filled with blanks to exactly N characters
std::string cut(const std::string& S, size_t N);    // at most the first N characters
std::string CUTLEADCHAR(const std::string& S, char C);  // trailing run of C removed
std::string REMLCH(const std::string& S, char C);  // leading run of C removed
std::string CENTE(const std::string& S, int N);
std::string LEJU(const std::string& S, int N);
std::string RIJU(const std::string& S, int N);
std::string LZ(const std::string& S, int N);
int32_t S2LO(const std::string& S);
std::string LO2S(int32_t L, int N);
void ZER(std::string& S);
void HMVAL(const std::string& H1, int32_t& Z);
int32_t HMVAL(const std::string& H1);
// Six digits ddmmyy naming a real day (leap years counted) of 1990 to 2049 (years 90..99 and 00..49).
bool DATEOK(const std::string& S);
std::string GETCURDATE();
std::string GETCURTIME();
std::string DATE2S(int32_t L);
int32_t S2DATE(const std::string& S);

// ---- Named locks and in-use slots -------------------------------------------------------------
// A lock is re-entrant within the process (counted); a release of a lock not held does nothing.
void LOCK(const std::string& FN);
void UNLOC(const std::string& FN);
bool ELDI(const std::string& BTM, const std::string& TM, const std::string& FN, int SS);
void MHNU(const std::string& TM, const std::string& FN, int SS);
// Releases every named lock this process holds (run on every exit path).
void releaseAllLocks();
// Frees every in-use claim this process holds (run on every exit path).
void releaseAllClaims();
// Empties every slot of "NUDI", "NUTI" and "NUAP" whose claim no live workstation holds (a
// workstation that stopped without freeing it, this one's earlier run included).
void freeStaleClaims();
// The lock file of FN in folder dir (used by the start-up for "FMAS" in "ARXEIO0\").
void LOCKIN(const std::string& dir, const std::string& FN);
void UNLOCIN(const std::string& dir, const std::string& FN);

// ---- Screen primitives, menu driver and key legend ---------------------------------------------
void ATR(int COLUMN, int LINE, int LEN, uint8_t AT);
using FUN = std::array<std::string, 11>;  // [1..10], string[25]
void FKEY(const std::vector<int>& SE, const FUN& P);
void EPIL(uint8_t BG, uint8_t FG, int XA, int XO, int YA, int YO, int LE, int ML, int MC, int MS, int& LI,
          int& CO, int& SE, int& KK, int PAR_EKT_ENTYPOY);
// The print-settings dialog of F1 in EPIL for the given print-form id.
void EPIL_GETPARAMS(int formId);

}  // namespace UMAS

// The print hand-off: spooled printouts given to the installation's scripts, and the viewer copy.
namespace UMAS {

// When "kvx.txt" exists: runs the installation's "prntxt.sh", waits for it and deletes "kvx.txt".
// A script that is missing or fails is reported on the screen and "kvx.txt" is kept.
void PRINTUSB();
// The same for the invoices' "tim.txt" and "prn_tim.sh".
void PRINTUSB_TIM();
// When "kvx.txt" exists: writes it to "Output.txt" in ISO 8859-7 (lines cut to 255 characters),
// deletes it and shows "Output.txt" with the viewer.
void PRINT_NOTEPAD();
// One line from code page 737 to ISO 8859-7.
std::string PRINT_NOTEPAD_ISO8859(const std::string& S);

}  // namespace UMAS

// Totals and in-memory side data of the open declaration (set by the declaration editor and the
// side-data editors, read by the documents, print views and submissions; never stored).
namespace UMAS {

extern int32_t TOTALKOLA;   // packages of all pages
extern double TOTALAXIA;    // statistical value of all pages
extern double TOTALXM;      // gross mass
extern double TOTALXK;      // net mass
struct TRECPROS {
    std::string PROS_EIDOS;  // string[2]
    std::string PROS_CODE;   // string[6]
    std::string PROS_NAME;   // string[30]
    std::string PROS_POS;    // string[11]
};
extern std::array<TRECPROS, 4> RECPROS;              // [1..3]
extern std::array<std::string, 7> EXTRA_OXIMATA;     // [1..6] string[20]
extern std::array<std::string, 6> EGG_IMP_NUM;       // [1..5] string[20]
extern std::array<std::string, 6> EGG_IMP_POSO;      // [1..5] string[15]
extern std::array<std::string, 5> T1_METAF_ASF;      // [1..4] string[30]

}  // namespace UMAS
