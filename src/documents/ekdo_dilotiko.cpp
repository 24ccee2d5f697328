// The box-40 reference grid of a goods item (side file ".L" + item) and the MRN check.
#include <algorithm>

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/ekdo.h"
#include "documents/ekextra.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace EKDO {

namespace {

bool mrnChar(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }

}  // namespace

char MRNCHECKCHAR(const std::string& S) {
    if (S.size() < 17) return 0;
    long sum = 0;
    for (int i = 0; i < 17; ++i) {
        const char c = S[size_t(i)];
        if (!mrnChar(c)) return 0;
        const int v = c <= '9' ? c - '0' : EKEXTRA::ISO6346VALUE(c);
        sum += long(v) << i;
    }
    const int r = int(sum % 11);
    return r == 10 ? '0' : char('0' + r);
}

bool CHECKMRN(std::string& S) {
    const char d = (S.size() == 17 || S.size() == 18) ? MRNCHECKCHAR(S) : 0;
    const bool valid = d != 0 && (S.size() == 17 || S[17] == d);
    if (valid) {
        if (S.size() == 17) S += d;
        return true;
    }
    SCR::CALLM(39, true);
    SCR::PRINT(4, 23, PLAT::gr(" Υποψία λάθους στο MRN ... Esc "));
    PLAT::Console& c = PLAT::con();
    c.gotoXY(31, 23);
    SCR::CURSOR(true);
    for (;;) {
        const PLAT::KeyEvent k = c.readKey();
        if (!k.extended() && k.ch == 27) break;
    }
    SCR::CURSOR(false);
    SCR::RECALL();
    return false;
}

std::string DILO40TEXT(const std::array<std::string, 8>& row1) {
    return row1[0] + "-" + row1[1] + "-" + row1[4] + "/" + row1[5] + "/" + row1[6] + "/" + row1[7];
}

void DILOTIKO(int AREIDOS, std::string& DILO40) {
    using EKEXTRA::TDILOS;
    static constexpr std::array<int, 8> XX = {12, 14, 18, 23, 28, 50, 55, 65};
    static constexpr std::array<int, 8> LL = {1, 3, 4, 4, 21, 4, 9, 8};
    const SCR::SOC numeric = SCR::soc("0123456789-.");
    const std::array<SCR::SOC, 8> SC = {SCR::soc("XYZ"), SCR::soc("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"),
                                        numeric, numeric, SCR::socAll(), numeric, numeric, numeric};

    DILO40.clear();
    SCR::CALLM(123, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({3, 6, 7, 10}, EKEXTRA::GM1ARROWS());

    const std::string name = EKEXTRA::ITEMFILE(".L", AREIDOS == 2);
    TDILOS grid;
    if (!EKEXTRA::READGRID(name, grid)) {
        const std::string date = BOD::SOB(BOD::DIA, BOD::GV, 8);
        grid.at(1, 3) = "20" + (date.size() >= 6 ? date.substr(4, 2) : std::string());
        grid.at(1, 4) = BOD::SOB(BOD::DIA, BOD::GV, 7);
    }

    int page = 0, row = 1, col = 1;  // page 0..2, row 1..15, column 1..8
    auto drawCell = [&](int r, int c) {
        SCR::PRINT(XX[size_t(c - 1)], r + 7, UMAS::LEJU(grid.at(page * 15 + r, c), LL[size_t(c - 1)]));
    };
    auto draw = [&] {
        SCR::PRINT(68, 23, UMAS::RIJU(std::to_string(page + 1), 2));
        for (int r = 1; r <= 15; ++r) {
            SCR::PRINT(9, r + 7, UMAS::RIJU(std::to_string(page * 15 + r), 2));
            for (int c = 1; c <= 8; ++c) drawCell(r, c);
        }
    };
    draw();

    for (;;) {
        std::string& cell = grid.at(page * 15 + row, col);
        int K = 0;
        cell = UMAS::cut(SCR::GINPUT(XX[size_t(col - 1)], row + 7, LL[size_t(col - 1)], cell, "", SC[size_t(col - 1)],
                                     false, true, K),
                         TDILOS::CAP);
        if (col == 5 && K != 3) {
            const std::string& kind = grid.at(page * 15 + row, 1);
            const std::string& type = grid.at(page * 15 + row, 2);
            if (!kind.empty() && (kind[0] == 'Y' || kind[0] == 'Z') && (type == "IM" || type == "EX")) {
                CHECKMRN(cell);
                cell = UMAS::cut(cell, TDILOS::CAP);
            }
            drawCell(row, col);
        }
        if (K == 3) break;
        switch (K) {
            case 0:  // Enter
                if (col < 8) {
                    ++col;
                } else if (row < 15) {
                    col = 1, ++row;
                } else if (page < 2) {
                    col = 1, row = 1, ++page;
                    draw();
                }
                break;
            case 1:  // Up
                if (col > 1) {
                    --col;
                } else if (row > 1) {
                    --row;
                } else if (page > 0) {
                    row = 15, --page;
                    draw();
                }
                break;
            case 2:  // Down
                if (row < 15) {
                    ++row;
                } else if (page < 2) {
                    row = 1, ++page;
                    draw();
                }
                break;
            case 4:  // PgUp
                if (page > 0) --page, draw();
                break;
            case 5:  // PgDn
                if (page < 2) ++page, draw();
                break;
            case 11: {  // F5
                for (int c = 1; c <= 8; ++c) grid.at(page * 15 + row, c).clear();
                draw();
                break;
            }
            case 23: {  // F8
                if (!UMAS::trim(grid.at(1, 1)).empty() && !UMAS::trim(grid.at(1, 2)).empty()) {
                    const int n = std::min<int>(PRNS::COP(), TDILOS::ROWS);
                    for (int r = 2; r <= n; ++r) grid.C[size_t(r - 1)] = grid.C[0];
                    draw();
                }
                break;
            }
            default: break;
        }
    }

    DILO40 = DILO40TEXT(grid.C[0]);
    EKEXTRA::WRITEGRID(name, grid);
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace EKDO
