// The made-up declaration form of the submission benchmarks.
#pragma once
#include <cstdint>
#include <vector>

#include "declarations/bod.h"

namespace BENCH {

// A made-up form in buffers of its own: blank pages and every box a text box, the main page's
// MAINPERROW boxes to a row of MAINWIDTH cells each, the sheet's four to a row of SHEETWIDTH.
inline void syntheticForm(int mainPerRow, int mainWidth, int sheetWidth) {
    static std::vector<uint8_t> dia(BOD::SCB_BYTES), gv(BOD::GGV_BYTES), bis(BOD::SCB_BYTES), gb(BOD::GGV_BYTES);
    BOD::DIA = BOD::SCB{dia.data(), BOD::PAGE_ROWS};
    BOD::GV = BOD::GGV{gv.data(), BOD::BOXES};
    BOD::BIS = BOD::SCB{bis.data(), BOD::SHEET_ROWS};
    BOD::GB = BOD::GGV{gb.data(), BOD::BOXES};
    for (auto* v : {&dia, &bis})
        for (size_t i = 0; i < v->size(); i += 2) (*v)[i] = ' ', (*v)[i + 1] = 7;
    auto lay = [](BOD::GGV G, int per, int width) {
        for (int i = 1; i <= BOD::BOXES; ++i) {
            G.at(i, 1) = uint8_t(1 + ((i - 1) % per) * (80 / per));
            G.at(i, 2) = uint8_t(1 + (i - 1) / per % (260 / per));
            G.at(i, 3) = uint8_t(width);
            G.at(i, 4) = BOD::TY_TEXT;
        }
    };
    lay(BOD::GV, mainPerRow, mainWidth);
    lay(BOD::GB, 4, sheetWidth);
}

}  // namespace BENCH
