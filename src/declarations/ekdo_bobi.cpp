// The field mode of the continuation-sheet editor: the lower part of the item page (boxes 129 to
// 164) with the item summary (F8), the canned text blocks and the printout of the lower parts.
#include <algorithm>

#include "codes/kvdi.h"
#include "common/umas.h"
#include "declarations/ekdo.h"
#include "declarations/ekdo_cbis.h"
#include "platform/codepage.h"

namespace EKDO {

using namespace BOD;

namespace {

constexpr int FIRST = 129, LAST_FIELD = 164;

const UMAS::FUN& legend() {
    static const UMAS::FUN L = [] {
        UMAS::FUN f;
        const char* t[] = {"", "", "F4.Καταχ.", "", "Shift-F1.Εκτύπωση", "", "F8.Αντιγραφή Στοιχείων", "",
                           "F7.Αλλ.Οψης", "F3.Εντυπα", ""};
        for (size_t i = 0; i < f.size(); ++i) f[i] = PLAT::gr(t[i]);
        return f;
    }();
    return L;
}

// Characters a box of the field mode accepts: type 3 takes digits only.
SCR::SOC typeChars(int type) { return type == TY_ZNUM ? TYPECHARS(TY_NUM) : TYPECHARS(type); }

}  // namespace

void Cbis::BOBI() {
    PLAT::Console& c = PLAT::con();
    std::vector<PLAT::Cell> rows(&c.cells[0][0], &c.cells[0][0] + 23 * PLAT::SCREEN_W);
    const int mainVV = VV, mainLL = LL;
    SCR::CALLM(5, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({2, 4, 6, 8, 9}, legend());
    LL = SHEET_ROWS;
    VV = FIRST;
    PUSC(BIS, LL);
    bool done = false;
    while (!done) {
        const int YR = GB.ROW(VV) + 23 - LL;
        const int type = GB.TYP(VV);
        ST = typeChars(type);
        SCR::PRINT(74, 24, PLAT::gr("αα ") + UMAS::RIJU(std::to_string(VV), 3));
        SCR::PRINT(3, 24, UMAS::LEJU(MES.line(GB.HLP(VV)), HELP_TEXT_MAX));
        BOBI_KEY(VV, 1);
        std::string BO = SOB(BIS, GB, VV);
        if (ISNUMTYPE(type)) PNU(GB, VV, BO, true, ' ');
        BO = SCR::GINPUT(GB.COL(VV), YR, GB.LEN(VV), BO, "", ST, false, true, K);
        if (type == TY_NUM || type == TY_SIGNED) PNU(GB, VV, BO, false, ' ');
        if (type == TY_ZNUM) PNU(GB, VV, BO, false, '0');
        BOS(BIS, GB, VV, BO);
        if (YR >= 1 && YR <= 23)
            for (int i = 0; i < GB.LEN(VV); ++i) {
                const int col = GB.COL(VV) + i;
                c.cells[YR - 1][col - 1] = PLAT::Cell{BIS.CCH(GB.ROW(VV), col), BIS.CAT(GB.ROW(VV), col)};
            }
        c.refresh();
        BOBI_KEY(VV, 2);
        SCR::PRINT(3, 24, UMAS::LEJU(MES.line(0), HELP_TEXT_MAX));
        switch (K) {
        case 0:
        case 2:
            if (VV < LAST_FIELD) {
                int v = VV + 1;
                while (v < LAST_FIELD && GB.TYP(v) == TY_SHOW) ++v;
                if (GB.TYP(v) != TY_SHOW) VV = v;
            }
            break;
        case 1:
            if (VV > FIRST) {
                int v = VV - 1;
                while (v > FIRST && GB.TYP(v) == TY_SHOW) --v;
                if (GB.TYP(v) != TY_SHOW) VV = v;
            }
            break;
        case 3:
        case 13: done = true; break;
        case 6:
            BOBI_KEY(VV, 3);
            redraw();
            break;
        case 9: EKD(EXT, false); break;
        case 10: store(); break;
        case 14: EKBB(); break;
        case 20: calculator(); break;
        case 23:
            XBOB(EXT);
            redraw();
            break;
        case 99:
            if (VV >= FIRST && VV <= 145) PUTCLIP(VV, 147);
            else if (VV >= BLOCK2 && VV < BLOCK2_LAST) PUTCLIP(VV, BLOCK2_LAST + 1);
            break;
        case 100: mouse(); break;
        default: break;
        }
    }
    if (hint) {
        SCR::RECALL();
        hint = false;
    }
    std::copy(rows.begin(), rows.end(), &c.cells[0][0]);
    c.refresh();
    SCR::RECALL();
    SCR::RECALL();
    VV = mainVV;
    LL = mainLL;
}

// Boxes 129 and 156 open the canned text blocks: the chosen block's eight rows go, cell by cell with
// their colours, into the box and the seven boxes after it.
void Cbis::BOBI_KEY(int V, int STA) {
    if (V != FIRST && V != BLOCK2) return;
    if (STA == 1 && !hint) {
        SCR::CALLM(20, true);
        hint = true;
    }
    if (STA == 2 && hint) {
        SCR::RECALL();
        hint = false;
    }
    if (STA != 3) return;
    uint8_t kk = 3;
    KVDI::SFR(KVDI::V0B, true, kk);
    if (kk != 0) return;
    for (int J = 0; J <= 7; ++J) {
        const int b = V + J;
        const int n = std::min<int>(GB.LEN(b), int(KVDI::V0B.ME[size_t(J)].size()));
        for (int i = 0; i < n && GB.COL(b) + i <= PAGE_COLS; ++i) {
            const UMAS::FRMSCR& cell = KVDI::V0B.ME[size_t(J)][size_t(i)];
            BIS.CCH(GB.ROW(b), GB.COL(b) + i) = cell.ch;
            BIS.CAT(GB.ROW(b), GB.COL(b) + i) = cell.at;
        }
    }
}

}  // namespace EKDO
