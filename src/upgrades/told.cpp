// What the clerk is told after the sequence of a company choice: the files found damaged or of a
// size no layout has, each named once, in one box until a key is pressed.
#include <algorithm>

#include "common/umas.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"
#include "upgrades/rebuilds.h"

namespace REBUILDS {

namespace {

std::vector<std::string>& told() {
    static std::vector<std::string> t;
    return t;
}

}  // namespace

void TELL(const std::string& line) {
    auto& t = told();
    if (std::find(t.begin(), t.end(), line) == t.end()) t.push_back(line);
}

void reportTold() {
    // Taken out first: whatever ends the showing, nothing is told twice.
    std::vector<std::string> t;
    t.swap(told());
    // Six lines to a box, over rows 16 to 24; the screen under it comes back after each key.
    constexpr size_t LINES = 6, WIDTH = 74;
    for (size_t from = 0; from < t.size(); from += LINES) {
        const size_t n = std::min(LINES, t.size() - from);
        UMAS::CONV box = UMAS::CONV::make(3, 16, 3 + int(WIDTH) + 1, 16 + int(n) + 2);
        for (int y = 0; y < box.H(); ++y)
            for (int x = 0; x < box.W(); ++x) {
                box.ch(x, y) = ' ';
                box.at(x, y) = 0x4F;
            }
        SCR::CALLM(&box, true);
        SCR::PRINT(5, 16, PLAT::gr("ΠΡΟΣΟΧΗ: ΑΡΧΕΙΑ ΜΕ ΠΡΟΒΛΗΜΑ (Πατήστε ένα πλήκτρο)"));
        for (size_t i = 0; i < n; ++i) SCR::PRINT(4, 17 + int(i), UMAS::padTo(t[from + i], WIDTH));
        PLAT::con().readKey();
        SCR::RECALL();
    }
}

}  // namespace REBUILDS
