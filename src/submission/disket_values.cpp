// The field-code value step of the row engine: the value of each code below 1000 and the checks
// that follow some values.
#include <cmath>

#include "common/umas.h"
#include "platform/codepage.h"
#include "submission/disket_run.h"

namespace DISKET {

namespace {

// copy(s, p, n): the n characters of s from position p (1-based), fewer when s is shorter.
std::string copy(const std::string& s, size_t p, size_t n) { return p - 1 < s.size() ? s.substr(p - 1, n) : ""; }

// ddmmyy as 20yymmdd.
std::string date6(const std::string& s) { return "20" + copy(s, 5, 2) + copy(s, 3, 2) + copy(s, 1, 2); }

}  // namespace

void VALUE(RUN& R) {
    const uint16_t KV = R.KV();
    switch (KV) {
    case 0: R.BS.clear(); return;
    case 999: R.BS = R.row().TIMES; return;
    case 8: R.BS = date6(R.box(8)); return;
    case 18: {
        std::string s = R.box(18);
        s = UMAS::REMLCH(s, '0');
        R.BS = s;
        const double v = std::nearbyint(UMAS::EVAL(s));
        R.SYNEIDH = v > 0 ? int(std::min(v, double(MAXITEMS + 1))) : 0;
        if (R.SYNEIDH > MAXITEMS) {
            // A declaration holds at most 99 items (the sheet key has two places for the item).
            R.SYNEIDH = MAXITEMS;
            R.errorRow(PLAT::gr(": τα είδη είναι περισσότερα από 99."));
        }
        return;
    }
    case 78:
        // The item row: the engine loads the sheet of items 2 and up.
        ++R.AREIDOS;
        R.AASTIX = 0;
        R.BS = std::to_string(R.AREIDOS);
        return;
    case 343:
        ++R.AASTIX;
        R.BS = std::to_string(R.AASTIX);
        return;
    case 399: {
        const std::string b5 = UMAS::trim(R.box(5));
        R.BOX5_12 = b5 == "12";
        R.BOX5_13 = b5 == "13";
        R.BS = R.BOX5_12 || R.BOX5_13 ? b5 : "10";
        return;
    }
    default:
        R.BS = KV >= 1 && KV <= 289 ? R.box(KV) : std::string();
        return;
    }
}

void AFTERVALUE(RUN&) {}

}  // namespace DISKET
