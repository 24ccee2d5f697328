// The state of one segment-file run, shared by the run's frame, the row engine, the field-code
// value step and the segment writers.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "config/params.h"
#include "submission/disket.h"

namespace DISKET {

// One package line of an item (CODE string[2], NAME string[20], POSOT string[8]).
struct RECOSYS {
    std::string CODE, NAME, POSOT;
};
// One attached-document line of an item (EGGCODE string[5], EGGNAME string[30]).
struct REC_EGGR {
    std::string EGGCODE, EGGNAME;
};

constexpr int MAXITEMS = 99;
constexpr int MAXMANIFESTLINES = 60;

struct RUN {
    // ---- The call ----
    std::string EXT;              // "IMP", "EXP", "MTF", "MET", "DFK"
    uint8_t EDE = 0;              // the mode
    bool TESTENV = false;
    const PBUF* BUF = nullptr;    // the DAO or manifest buffer, or none

    // ---- Set-up ----
    PARAMS::PARTIM7TABLE TAB{};   // the field table, rows [0..219] = rows 1..220
    std::string TABLENAME;        // "NPARDISK" ...
    std::string FNAME, LNAME, DIRNAME;
    std::string REF;              // the reference: box 20 cut and trimmed, or the DAO / manifest number
    bool IST2L = false;
    bool EXEIOXIMATA = false;
    int DAOTYPE = 0;              // 1 outgoing, 2 incoming (mode 2)
    std::array<std::string, 5> ST_TIR{};  // [1..4] string[17]

    // ---- The walk ----
    int I = 1;                    // current row, 1..220
    int CERR = 0;
    std::string BS;               // the value of the current row
    int AREIDOS = 0;              // current goods item
    int SYNEIDH = 0;              // goods items (box 18) or manifest lines
    int AASTIX = 0;               // current manifest line
    int TOTVASIS = 0, TOTALCARS = 0;
    bool OKBIS = false;           // the sheet of the current item was found
    std::array<std::array<RECOSYS, 4>, MAXITEMS + 1> SYSBUF{};     // [item 2..99][1..3]
    std::array<std::array<REC_EGGR, 5>, MAXITEMS + 1> EGGR_BIS{};  // [item 2..99][1..4]

    // Values rows set for later rows.
    std::string AFM11, AFM21, B37, CODESYSK;
    int EIDOSFORTO = 0;
    char CAPACITY = 0;
    bool BOX5_12 = false, BOX5_13 = false;
    uint8_t IDIOS = 0;
    bool XORISDAO = false;
    int32_t MANIFESTKOLA = 0;     // mode 3: total packages of the manifest lines
    double MANIFESTMASS = 0;      // mode 3: total mass

    // ---- Outputs, kept in memory until the run ends ----
    std::string OUT;              // the segment file, ISO 8859-7
    std::string LOGT;             // the description log (mode 5)
    std::vector<std::string> ERR; // the lines of "ERROR.TXT", code page 737

    // ---- Helpers ----
    const PARAMS::RECPARTIM7& row() const { return TAB[size_t(I - 1)]; }
    uint16_t KV() const { return row().KV; }
    // One line of the error list (code page 737); raises CERR.
    void error(const std::string& line);
    // "Γραμμή " + the current row + the text.
    void errorRow(const std::string& text);
    // Text in code page 737 appended to the segment file through ISO8859.
    void put(const std::string& cp737) { OUT += ISO8859(cp737); }
    void lineEnd() { OUT += "\r\n"; }
    // Box n of the main page as it stands; sheet box n of the loaded sheet; item box n/m.
    std::string box(int n) const;
    std::string sheetBox(int n) const;
    std::string itemBox(int n, int m) const { return AREIDOS <= 1 ? box(n) : sheetBox(m); }
    // The item a segment names: a row before the goods block speaks for the main page, item 1.
    int item() const { return AREIDOS < 1 ? 1 : AREIDOS; }
    bool isSend() const { return EDE == ED_TIRSEND || EDE == ED_SEND || EDE == ED_AUTOSEND; }
};

// The field-code value step: the value of the current row into R.BS (codes below 1000 and 999),
// then the checks and changes that follow the value for some codes.
void VALUE(RUN& R);
void AFTERVALUE(RUN& R);

// The row engine: walks the table of R from row 1 to 220.
void WALK(RUN& R);
// Loads the sheet of item R.AREIDOS and fills its caches; false when it is not stored. The caller
// holds the lock "FBIS" (WALK takes it for the whole walk).
bool GETBIS(RUN& R);
// The decimal check of a value of type "ν" (R.BS); the length rule of row I for S.
void CHECKDIGIT(RUN& R);
bool CHECKMIKOS(const RUN& R, const std::string& S);
// The code text of the error lines: KV − 1000 right-aligned in 4 for 1001..1999, else KV.
std::string CODETEXT(uint16_t KV);
// The item block of the run: first and last row, 0 for none.
struct BLOCK {
    int first = 0, last = 0;
    bool manifest = false;
};
BLOCK ITEMBLOCK(const RUN& R);

// The table name of a run ("PARDISK", ...) before the prefix, and the output folder line of
// "ASCI_OUT.TXT" (1..7, 0 for the working folder).
std::string TABLEOF(const std::string& EXT, uint8_t EDE, bool IST2L);
int FOLDERLINE(const std::string& EXT, uint8_t EDE);
// The output names of a run: FNAME and LNAME for the reference (or number) REF.
void NAMES(uint8_t EDE, const std::string& REF, std::string& FNAME, std::string& LNAME);
// The output folder of line LINE of "ASCI_OUT.TXT" (0: the working folder), tried until the file
// R.FNAME can be made there, then its listing and the question to erase it (the excise run with
// texts of its own). 0: the clerk abandoned the run (the listing is gone, the caller's window is
// still up); 1: stop with the error list; 2: go on.
int OUTFOLDER(RUN& R, int line, bool excise);
// "ANAF.DAT" of the company moved to box 20 when that is greater.
void UPDATEANAF();
// "ERROR.TXT" of the working folder from a run's lines (code page 737), each ending in CR LF.
void WRITEERRORS(const std::vector<std::string>& ERR);
void WRITEERRORS(const RUN& R);
// A line on row 23 of the run's window with a bell, until a key.
void TELL(const std::string& text);
// Whether the declaration is a T2L: box 2 (box 3 when box 2 is empty) trimmed, cut to 5, is "T2L".
bool ISDECLT2L();

}  // namespace DISKET
