// EKD2: the certificates of the documents menu and the small services they share: the party block
// editor, the goods text box (eleven lines kept in the cells of mask 79 for the whole run), the
// Greek word of a digit, the certificate of origin and the A.TR.1; the vehicle certificates and
// the D.A.O. are reached from the menu through this module too.
#pragma once
#include <functional>
#include <string>

#include "common/umas.h"
#include "declarations/bod.h"
#include "documents/laydoc.h"

namespace EKD2 {

// ---- Party block ---------------------------------------------------------------------------------
// Edits the party block PA (mask 61); EDIT false only shows it until a key is pressed.
void PARA(BOD::PRL& PA, bool EDIT);

// ---- Goods text box ------------------------------------------------------------------------------
// The mask whose cells hold the goods text box (and the fee form's entries).
constexpr int TEXTBOX_MASK = 79;
constexpr int TEXTBOX_LINES = 11;
// Screen position and width of line k (1..11): lines 1-10 at column 16 of rows 7-16, 50 wide;
// line 11 at column 29 of row 17, 10 wide.
struct TextLine {
    int col, row, width;
};
TextLine TEXTBOX_LINE(int k);
// The characters of line k as they stand in the mask's cells, at the line's full width.
std::string GOODSLINE(int k);
// Writes the characters of s into line k from its start, over as many cells as s has (at most to
// the line's end); the other cells and every attribute stay.
void PUTGOODSLINE(int k, const std::string& s);
// Copies n cells (characters and attributes) into line k from its start.
void PUTGOODSCELLS(int k, const UMAS::FRMSCR* cells, int n);

// The editor of the box's lines, shared by the certificates and the fee form: mask 79 and mask 2
// are shown, KEY(line, mode) is called on entering a line (1), leaving it (2) and on Tab (3), and
// SHOWN after each showing of mask 79. Enter moves on and ends after line 11, Down and Up move
// within 1..11, Esc ends, Alt-C opens the calculator.
void EDITTEXTBOX(const std::function<void(int, int)>& KEY, const std::function<void()>& SHOWN);

// The goods text box of the certificates: lines 1 and 2 have pickers (the goods catalogue fills
// lines 1-6, a text block lines 2-9). Returns the mask that holds the lines (GOODSLINE reads them).
UMAS::CONV* PEEM();

// The Greek word of a digit ("7": "ΕΠΤΑ"), empty for any other character; code page 737.
std::string DIGI(char C);

// ---- Certificates ---------------------------------------------------------------------------------
// Certificate of origin (print-form id 15) of the page P with box table G.
void PIKA(BOD::SCB P, BOD::GGV G);
// Movement certificate A.TR.1 (print-form id 111).
void ATR1(BOD::SCB P, BOD::GGV G);
// The office code of the A.TR.1 from the text of box 6.
std::string ATR1OFFICE(const std::string& box6);

// ---- Documents of the layout engine -----------------------------------------------------------------
// Vehicle certificate (mask 100, layout "ParPita", form 11): 58 fields of 40, values file field 1 +
// ".pik" in the working folder. Only GOODS (the goods record of the page the menu was opened from)
// is read.
void EKPA(BOD::SCB P, BOD::GGV G, BOD::PRL& PA, BOD::MOT& GOODS);
// Its fill from the declaration and goods record, and its values file ("" when field 1 is no name).
void EKPAFILL(LAYDOC::Values& v, const BOD::MOT& GOODS);
std::string EKPAFILE(const LAYDOC::Values& v);
std::vector<LAYDOC::Field> PIKGRID();
// D.A.O. (mask 110, layout "ParDDD", form 117): 35 fields of 78, values file number + ".dao" in the
// company folder; Shift-F2 hands the 35 lines to the submission run. None of its arguments is read.
void DAO(BOD::SCB PI, BOD::GGV GI, BOD::PRL& PA, BOD::MOT& GOODS);
void DAOFILL(LAYDOC::Values& v);
std::string DAOFILE();
std::vector<LAYDOC::Field> DAOGRID();

// ---- Vehicle clearance certificate (form 12) -----------------------------------------------------
// P, G the main page; PI, GI the item page (the main page or the loaded continuation sheet); PA a
// copy of the party block; GOODS the item page's goods record. Runs the vehicles editor, asks, and
// prints each copy as a job of its own on form 12.
void EKPM(BOD::SCB P, BOD::GGV G, BOD::SCB PI, BOD::GGV GI, const BOD::PRL& PA, const std::string& EXT,
          BOD::MOT& GOODS);

}  // namespace EKD2
