// EKEXTRA: the side-data editors of a declaration (vehicles, packages, containers, tax bases,
// wine lines, additional codes, transport document, TIR data, transit carrier, guarantees, box 44)
// and the side files they keep beside the declaration: their names and their records. Every other
// module names and reads a side file only through the routines below.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "declarations/bod.h"

namespace EKEXTRA {

// ---- Names of the side files -------------------------------------------------------------------
// A side file is UMAS::PATH + the declaration number + an extension, and for the data of one goods
// item + the item's sheet suffix. Names are never cut.

// The declaration number: box 1 of the main page with its leading and trailing blanks removed.
std::string DECLNUM();
// The sheet suffix of a goods item from the item-number box (box 3) of a continuation-sheet record:
// leading blanks, then leading zeros removed ("02" gives "2", "10" gives "10").
std::string SHEETSUFFIX(const std::string& box3);
// The suffix of the current item: "1" for the main page (sheet false), else from box 3 of the
// loaded continuation sheet.
std::string SHEETSUFFIX(bool sheet);
// UMAS::PATH + number + ext (".T44", ".TIT", ".EGR").
std::string SIDENAME(const std::string& number, const std::string& ext);
// UMAS::PATH + number + ext + suffix (".L", ".V", ".K", ".O" of one goods item).
std::string ITEMNAME(const std::string& number, const std::string& ext, const std::string& suffix);
// The sheet text of a container file: "01" for the main page, box 3 of the sheet as it stands.
std::string CONTAINERSHEET(bool sheet);
// The container file: UMAS::PATH + number + "." + sheet text.
std::string CONTAINERNAME(const std::string& number, const std::string& sheet);
// The name older installations gave it (the number cut to 8 characters); "" when the number has at
// most 8 characters, whose name never changed.
std::string OLDCONTAINERNAME(const std::string& number, const std::string& sheet);
// The same names for the current declaration (and, with sheet true, its loaded continuation sheet).
std::string SIDEFILE(const std::string& ext);
std::string ITEMFILE(const std::string& ext, bool sheet);
std::string CONTAINERFILE(bool sheet);

// ---- Records of the side files -----------------------------------------------------------------
// Each decode takes a file image of any length: a short image fills the start of the table and
// leaves the rest empty, a longer one fills the table only; no text exceeds its capacity. Each
// encode gives the exact file image (texts zero-padded). Each write replaces the file whole
// (temporary file, flush, rename); a missing file reads as an empty table.

// The box-40 reference grid ".L" + suffix: 45 rows of 8 cells of string[20].
struct TDILOS {
    static constexpr size_t SIZE = 7560;
    static constexpr int ROWS = 45, COLS = 8, CAP = 20;
    std::array<std::array<std::string, COLS>, ROWS> C;  // C[row 0..44][column 0..7]
    std::string& at(int row, int col) { return C[size_t(row - 1)][size_t(col - 1)]; }  // 1-based
    const std::string& at(int row, int col) const { return C[size_t(row - 1)][size_t(col - 1)]; }
    std::string encode() const;
    static TDILOS decode(const std::string& bytes);
    bool operator==(const TDILOS&) const = default;
};

// The box-44 list ".T44": 17 rows of a code and a reference, string[21] each (older files: 646
// bytes of string[18]). Rows 1..15 are documents, 16 and 17 special mentions.
struct THESI44 {
    static constexpr size_t SIZE = 748, OLD_SIZE = 646;
    static constexpr int ROWS = 17, CAP = 21, OLD_CAP = 18;
    std::array<std::string, ROWS> CODE, REF;  // [row 0..16]
    std::string encode() const;
    // A 646-byte image is read in the older layout, any other from its start.
    static THESI44 decode(const std::string& bytes);
    bool operator==(const THESI44&) const = default;
};

// The TIR data ".TIT": four texts of string[17] (older files: at most 64 bytes of string[15]).
struct ST_TIR {
    static constexpr size_t SIZE = 72, OLD_SIZE = 64;
    static constexpr int CAP = 17, OLD_CAP = 15;
    std::array<std::string, 4> T;  // [0..3]: carnet reference, identification, office, free text
    std::string encode() const;
    // An image of at most 64 bytes is read in the older layout, a longer one from its start.
    static ST_TIR decode(const std::string& bytes);
    bool operator==(const ST_TIR&) const = default;
};

// The container numbers of a page: 90 entries of string[11].
struct CONTBUF {
    static constexpr size_t SIZE = 1080;
    static constexpr int ENTRIES = 90, CAP = 11;
    std::array<std::string, ENTRIES> E;  // [0..89]
    std::string encode() const;
    static CONTBUF decode(const std::string& bytes);
    bool operator==(const CONTBUF&) const = default;
};

// The transport document ".EGR": two text lines, the code (4) and the number (18).
struct EGRDOC {
    static constexpr int CODE_CAP = 4, NAME_CAP = 18;
    std::string EGGRCODE, EGGRNAME;
    std::string encode() const;  // two lines ended by CR LF
    static EGRDOC decode(const std::string& bytes);
    bool operator==(const EGRDOC&) const = default;
};

// The wine lines of a goods item ".K" + suffix: 40 records of 23 bytes, a code (string[10], digits)
// and a quantity (string[11], digits and point, right-justified in 11). A line counts when its
// code is not empty.
struct TKRAS {
    std::string KRASCODE, KRASPOSOT;
    bool operator==(const TKRAS&) const = default;
};
struct KRASBUF {
    static constexpr size_t SIZE = 920, RECORD = 23;
    static constexpr int LINES = 40, CODE_CAP = 10, POSOT_CAP = 11;
    std::array<TKRAS, LINES> L;  // [0..39]: lines 1..40
    std::string encode() const;
    static KRASBUF decode(const std::string& bytes);
    bool operator==(const KRASBUF&) const = default;
};

// Readers: false when the file is missing (the table is then empty).
bool READGRID(const std::string& name, TDILOS& t);
void WRITEGRID(const std::string& name, const TDILOS& t);
// oldLayout (optional) tells whether the file is the 646-byte layout.
bool READT44(const std::string& name, THESI44& t, bool* oldLayout = nullptr);
void WRITET44(const std::string& name, const THESI44& t);
bool READTIT(const std::string& name, ST_TIR& t);
void WRITETIT(const std::string& name, const ST_TIR& t);
bool READCONT(const std::string& name, CONTBUF& t);
void WRITECONT(const std::string& name, const CONTBUF& t);
bool READEGR(const std::string& name, EGRDOC& t);
bool READKRAS(const std::string& name, KRASBUF& t);
void WRITEKRAS(const std::string& name, const KRASBUF& t);
void WRITEEGR(const std::string& name, const EGRDOC& t);

// "Eggiisi.txt" in the working folder: the guarantee number entered last (first line, at most 20
// characters; "" when the file is missing).
constexpr const char* EGGIISI = "Eggiisi.txt";
constexpr int EGGIISI_CAP = 20;
bool READEGGIISI(std::string& number);
void WRITEEGGIISI(const std::string& number);

// The declaration editors' legend (BOD::GM1) with the arrows (characters 24 and 25) in entry 7.
UMAS::FUN GM1ARROWS();
// The vehicle editors' legend, [1..4]: Esc, PgUp/PgDn, F9, F8.
extern const UMAS::FUN GMAYT;

// ---- The editors ------------------------------------------------------------------------------
void AYT(BOD::SCB DI, BOD::GGV G, int VC, int KLASI, const std::string& CODEKLASI, const std::string& EXT,
         BOD::MOT& MAC);
void SYSKEYASIES(BOD::SCB DI, BOD::GGV G, int VC, BOD::MOT& MAC);
void CONTAINER_NUMS(bool B);
void GIVEVASIS(BOD::SCB DI, BOD::GGV G, int VC);
void KRASIA(BOD::SCB DI, BOD::GGV G, int VC);
void GIVEPROSTHETA();
void EGGMETAF();
void STOIXIA_TIR();
void T1_ASFAL();
void EGGIMP();
void DIAM44();
void AYTEXTRA();

// The ISO 6346 check digit of a container number typed as 4 capital letters and 6 digits; "?"
// when the text does not fit that pattern (a shorter text included).
char CONTAINER_DIGIT(const std::string& S);
// The letter values of ISO 6346 (A 10, B..K 12..21, L..U 23..32, V..Z 34..38); -1 for others.
int ISO6346VALUE(char c);
// Boxes 92..95 of the main page from the box-44 list.
void CONDENSE44(const THESI44& t);

}  // namespace EKEXTRA
