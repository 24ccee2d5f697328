// GM0 and GMDEFK: the print layouts of the pre-printed declaration form. Each row names one box of
// a page's box table, the print column where its text starts (in 10-characters-per-inch positions),
// the pitch mode sent before it (0 none, 1 10 cpi, 2 12 cpi, 3 condensed) and the line ends written
// after it (0 keeps the head on the line, so the next row continues it further right). A table is
// always walked from its first row to its last.
#pragma once
#include <array>
#include <cstdint>

namespace GM0 {

struct EKTYPV {
    uint16_t col, box, pitch, lf;
};

// Main page of the kinds "IMP", "EXP", "MTF", "MET" (boxes 2 to 207).
extern const std::array<EKTYPV, 194> PV;
// Alternate view (boxes 208 to 289).
extern const std::array<EKTYPV, 82> PVB;
// Continuation sheet (sheet boxes 1 to 50).
extern const std::array<EKTYPV, 47> PBB;

}  // namespace GM0

namespace GMDEFK {

using GM0::EKTYPV;

// Main page of the excise kind "DFK" (boxes 3 to 207).
extern const std::array<EKTYPV, 141> PVDEFK;
// Alternate view of the excise kind (boxes 222 to 289).
extern const std::array<EKTYPV, 60> PVBDEFK;
// Excise continuation sheet (sheet boxes 1 to 50).
extern const std::array<EKTYPV, 44> PBBDEFK;

}  // namespace GMDEFK
