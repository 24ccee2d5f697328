// EKDO: the continuation sheets of the current declaration. This file holds the parts the main
// editor and the printers use: the item summary (XBOB) and the per-code tax totals of a printing
// run (LAST, SFO, SPO), the sheet editor, and the documents menu (built with the documents) and
// the box-40 list reached from the editors. The store
// operations of the sheet items (CHOB, RUFB, KATB, DELB) are declared with the store.
#pragma once
#include <array>
#include <string>

namespace EKDO {

// Builds boxes 129..142 of the current item page (BOD::BIS, BOD::GB) from its other boxes.
void XBOB(const std::string& EXT);

// Per-code totals of one printing run: the tax codes in the order met and their summed amounts.
extern std::array<std::string, 8> SFO;  // [1..7] string[3]
extern std::array<double, 8> SPO;       // [1..7]
// Adds one page: the main page (CL true; overwrites the seven slots) or the loaded sheet item.
void LAST(bool CL, double& SU);

// The continuation-sheet editor of the current declaration.
void CBIS(const std::string& EXT);
// The documents menu of the open declaration (B: from the main page).
void EKD(const std::string& EXT, bool B);
// The menu's first step: the party block BOD::PL from the customer named in box 12 or 22.
void EKDPARTY();
// The box-40 reference grid (AREIDOS 1 main page, 2 the loaded sheet item); DILO40 gets the box text.
void DILOTIKO(int AREIDOS, std::string& DILO40);
// The MRN check of a grid cell: a valid 17-character reference gets its check character appended;
// an invalid one is warned about on row 23 (until Esc) and kept as typed. True when valid.
bool CHECKMRN(std::string& S);
// The check character of the first 17 characters of S (digits and capital Latin letters); 0 when
// S is shorter or holds another character.
char MRNCHECKCHAR(const std::string& S);
// The box-40 text from row 1 of a grid: col 1 "-" col 2 "-" col 5 "/" col 6 "/" col 7 "/" col 8.
std::string DILO40TEXT(const std::array<std::string, 8>& row1);

}  // namespace EKDO
