// The text-block table "SFR.DAT": 40 blocks of 8 rows of 40 screen cells (character and colour).
// The bar moves over the block numbers and the highlighted block is shown beside them.
#include "codes/kvdi.h"
#include "codes/kvdi_screen.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace KVDI {

void SFR(RECSFR& MEE, bool BL, uint8_t& KK) {
    using namespace detail;
    openScreen(35, BL ? std::vector<int>{3, 6, 7} : std::vector<int>{1, 2, 3, 4, 7, 8});
    Screen s;
    s.BL = BL;
    s.XA = 18;
    s.LE = 2;
    s.rows = 10;
    s.pages = 4;
    std::vector<uint8_t> img(F_SFR.size);
    RUF(F_SFR.name, img.data(), img.size(), s.BO);
    // Cell c (1..40) of row r (1..8) of block b (1..40).
    auto cell = [&](int b, int r, int c) { return img.data() + ((b - 1) * 8 + (r - 1)) * 80 + (c - 1) * 2; };
    PLAT::Console& con = PLAT::con();

    auto BXP = [&] {
        const int b = s.rec();
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 40; ++c) con.cells[r + 7 - 1][c + 20 - 1] = {cell(b, r, c)[0], cell(b, r, c)[1]};
        con.refresh();
    };
    s.BOX = [&] {
        SCR::PRINT(58, 17, UMAS::RIJU(std::to_string(s.SL + 1), 2));
        for (int r = 0; r < 10; ++r) SCR::PRINT(18, 7 + r, UMAS::RIJU(std::to_string(s.SL * 10 + r + 1), 2));
        BXP();
    };
    s.pick = [&](int b) {
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 40; ++c) MEE.ME[size_t(r - 1)][size_t(c - 1)] = {cell(b, r, c)[0], cell(b, r, c)[1]};
        return true;
    };
    s.edit = [&](int b) {
        openRowEdit();
        int r = 1;
        while (r >= 1 && r <= 8) {
            std::string text(40, ' ');
            for (int c = 1; c <= 40; ++c) text[size_t(c - 1)] = char(cell(b, r, c)[0]);
            int K = 0;
            SCR::GINPUT(21, r + 7, 40, text, "", SCR::socAll(), false, true, K);
            // The screen after the edit is what the block keeps.
            for (int c = 1; c <= 40; ++c) {
                const PLAT::Cell& x = con.cells[r + 7 - 1][c + 20 - 1];
                cell(b, r, c)[0] = x.ch;
                cell(b, r, c)[1] = x.at;
            }
            if (K == 0 || K == 2) ++r;
            else if (K == 1) --r;
            else if (K == 3) break;
        }
        closeRowEdit();
        return false;
    };
    s.blank = [&](int b) {
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 40; ++c) {
                cell(b, r, c)[0] = ' ';
                cell(b, r, c)[1] = 15;
            }
        return true;
    };
    s.store = [&] { KAT(F_SFR.name, img.data(), img.size(), s.BO); };
    const uint8_t k = s.run();
    if (BL) KK = k;
    closeScreen();
}

}  // namespace KVDI
