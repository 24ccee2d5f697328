// The duty and tax lines of a declaration page (part of the form module BOD): the eight tax lines
// computed by their tax-kind codes, the duties row, the payable total, the value rows with their
// expressions, the euro total, the value for VAT and the statistical value. Pure form arithmetic
// over the boxes of one page (main page or continuation sheet) and the tax-kind codes EIF of the
// page's goods record; no file, no message.
#pragma once
#include <cstdint>
#include <string>

#include "declarations/bod.h"

namespace BOD {

// Anchors of the two page layouts: tax block FO, value rows FV, value box SJ.
constexpr int MAIN_FO = 97, MAIN_FV = 148, MAIN_SJ = 100, MAIN_OFS = 101;
constexpr int SHEET_FO = 47, SHEET_FV = 95, SHEET_SJ = 50, SHEET_OFS = 51;

// Round(Int(X) + (Frac(X) + 0.0000001)), an exact half to the even neighbour; 0 for an amount
// beyond the 64-bit range.
int64_t MYROUND(double X);

// Recomputes the eight tax lines of the page in line order, writes the duties row and the payable
// total (box FO+44), then runs SUM.
void SM2(SCB PD, GGV PG, int FO, int FV, int SJ, MOT& MC, const std::string& EXT);
// Recomputes the value rows (PRD on the first five), the euro total, the value for VAT and the
// statistical value SJ.
void SUM(SCB PD, GGV PG, int FV, int SJ, MOT& MC, const std::string& EXT);
// Evaluates the expression of the value row whose expression box is VC and writes its amount.
void PRD(SCB PD, GGV PG, int VC);
// Puts the tax KVDI::V0C (an index 1..48 into UMAS::PTAX) on the tax line whose type box is VR;
// OFS is the type box of line 1.
void FOT(SCB PD, GGV PG, int VR, int OFS, MOT& MC);

// True for the tax-kind codes whose rate is a percentage (their rate is shown and printed with "%").
bool PERCENTKIND(uint8_t k);

// Pascal's Str(X:W:D): X right-aligned in W characters with D decimals.
std::string FMT(double X, int W, int D);

}  // namespace BOD
