// The alternate print view: its boxes on the page image of the main page, the box loop, the text
// block pickers and the keys reaching the documents menu, the sheets and the prints.
#include <array>

#include "codes/kvdi.h"
#include "common/umas.h"
#include "config/params.h"
#include "declarations/bod.h"
#include "declarations/ekdo.h"
#include "documents/ekbodi.h"
#include "documents/ekextra.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"
#include "submission/disket.h"
#include "submission/diskoil.h"

namespace EKBODI {

using namespace BOD;

namespace {

struct View {
    std::string EXT;
    int F = 208, B = 208, L = 113, P = 1;
    std::array<int, 5> M{};
    int K = 0;

    int row(int b) const { return GV.ROW(b); }
    bool stop(int b) const { return GV.TYP(b) != TY_SHOW; }
    void redraw() { PUSC(DIA, L); }

    // Where a paste into box b may go on to (0: b is in no block).
    static int limitOf(int b) {
        if (b >= 222 && b <= 228) return 229;
        if (b >= 230 && b <= 244) return 245;
        if (b >= 246 && b <= 252) return 253;
        if (b >= 254 && b <= 270) return 271;
        if (b >= 272 && b <= 278) return 279;
        if (b >= 281 && b <= 288) return 289;
        return 0;
    }
    static bool picker(int b) {
        return b == 222 || b == 230 || b == 231 || b == 246 || b == 254 || b == 264 || b == 281;
    }

    void KEY(int b, int mode) {
        if (!picker(b)) return;
        if (mode == 1) SCR::CALLM(20, true);
        else if (mode == 2) SCR::RECALL();
        else if (mode == 3) {
            KVDI::RECSFR r{};
            uint8_t kk = 3;
            KVDI::SFR(r, true, kk);
            if (kk != 0) return;
            const int s = (b == 230 || b == 231) ? 2 : 1;
            const int len = GV.LEN(b);
            for (int i = 0; i < 8; ++i) {
                const int t = b + i * s;
                for (int c = 0; c < len && c < 50 && GV.COL(t) + c <= PAGE_COLS; ++c) {
                    DIA.CCH(row(t), GV.COL(t) + c) = r.ME[size_t(i)][size_t(c)].ch;
                    DIA.CAT(row(t), GV.COL(t) + c) = r.ME[size_t(i)][size_t(c)].at;
                }
            }
        }
    }

    void PUTCLIP(int LIMIT) {
        std::string& T = SCR::RESTCLIP;
        for (int b = B + 1; b < LIMIT && !T.empty(); ++b) {
            size_t p = T.find('\r');
            const size_t len = size_t(GV.LEN(b));
            if (p == std::string::npos || p + 1 > len + 1) p = len;
            BOS(DIA, GV, b, T.substr(0, p));
            T.erase(0, p);
            if (!T.empty() && T[0] == '\r') T.erase(0, 1);
            if (!T.empty() && T[0] == '\n') T.erase(0, 1);
        }
        T.clear();
        redraw();
    }

    void follow() {
        if (row(B) <= L - 23) {
            L = row(B) + 22;
            redraw();
        }
        if (row(B) > L) {
            L = row(B);
            redraw();
        }
    }

    // The box remembered for the page shown, if any: the remembered boxes up to the page counter,
    // latest first (boxes never remembered are the first view box and must not win over them).
    void remembered() {
        for (int i = P; i >= 1; --i)
            if (row(M[size_t(i)]) >= L - 22 && row(M[size_t(i)]) <= L) {
                B = M[size_t(i)];
                return;
            }
    }

    void legend() {
        UMAS::FUN f = GM1;
        UMAS::FUN g{};
        g[1] = f[1];
        g[4] = PLAT::gr("Shift-F1.Εκτύπωση");
        g[5] = PLAT::gr("F6.BIS");
        g[8] = PLAT::gr("F7.Αλλ.Οψης");
        g[9] = PLAT::gr("F3.Εντυπα");
        UMAS::FKEY({1, 4, 5, 8, 9}, g);
    }

    void pass() {
        SCR::PRINT(74, 24, PLAT::gr("αα ") + UMAS::RIJU(std::to_string(B), 3));
        SCR::PRINT(3, 24, UMAS::LEJU(MES.line(GV.HLP(B)), HELP_TEXT_MAX));
        KEY(B, 1);
        const int type = GV.TYP(B);
        std::string T = SOB(DIA, GV, B);
        if (type == TY_NUM || type == TY_ZNUM || type == TY_SIGNED) {
            PNU(GV, B, T, true, ' ');
            T = UMAS::trim(T);
        }
        SCR::SOC chars = type == TY_CODE ? SCR::socAll() : TYPECHARS(type);
        if (type == TY_STOP || type == TY_SHOW) chars = SCR::soc("");
        const int y = row(B) + 23 - L;
        T = SCR::GINPUT(GV.COL(B), y, GV.LEN(B), T, "", chars, false, true, K);
        if (type == TY_NUM || type == TY_SIGNED) PNU(GV, B, T, false, ' ');
        if (type == TY_ZNUM) PNU(GV, B, T, false, '0');
        BOS(DIA, GV, B, T);
        PLAT::Console& c = PLAT::con();
        if (y >= 1 && y <= 23)
            for (int i = 0; i < GV.LEN(B) && GV.COL(B) + i <= PAGE_COLS; ++i)
                c.cells[size_t(y - 1)][size_t(GV.COL(B) + i - 1)] =
                    PLAT::Cell{DIA.CCH(row(B), GV.COL(B) + i), DIA.CAT(row(B), GV.COL(B) + i)};
        c.refresh();
        KEY(B, 2);
        SCR::PRINT(3, 24, UMAS::LEJU(MES.line(0), HELP_TEXT_MAX));
    }

    // One key; false when the clerk leaves the view.
    bool act() {
        switch (K) {
        case 0: case 2:
            if (B < 289) {
                int b = B + 1;
                while (b < 289 && !stop(b)) ++b;
                if (stop(b)) B = b;
                follow();
            }
            break;
        case 1:
            if (B > F) {
                int b = B - 1;
                while (b > F && !stop(b)) --b;
                if (stop(b)) B = b;
                follow();
            }
            break;
        case 3: case 13: return false;
        case 7:
            if (L > FRONTLINES) {
                --L;
                while (B > F && (row(B) > L || !stop(B))) --B;
                redraw();
            }
            break;
        case 8:
            if (L < TOTALLINES) {
                ++L;
                while (B < 289 && (row(B) <= L - 23 || !stop(B))) ++B;
                redraw();
            }
            break;
        case 4:
            P = std::max(1, P - 1);
            if (L > FRONTLINES) {
                L = std::max(FRONTLINES, L - 23);
                remembered();
                while (B > F && (row(B) > L || !stop(B))) --B;
                redraw();
            }
            break;
        case 5:
            M[size_t(P)] = B;
            P = std::min(4, P + 1);
            if (L < TOTALLINES) {
                L = std::min(TOTALLINES, L + 23);
                remembered();
                while (B < 289 && (row(B) <= L - 23 || !stop(B))) ++B;
                redraw();
            }
            break;
        case 6:
            KEY(B, 3);
            redraw();
            break;
        case 9:
            EKDO::EKD(EXT, true);
            redraw();
            legend();
            break;
        case 12: {
            std::string n = UMAS::trim(SOB(DIA, GV, 16));
            int v = n.empty() || n.size() > 2 || n.find_first_not_of("0123456789") != std::string::npos ? 0 : std::stoi(n);
            if (v >= 2 && v <= 30) {
                EKDO::CBIS(EXT);
                redraw();
                legend();
            }
            break;
        }
        case 17: case 18:
            // The exports: for "DFK" (and Shift-F3 of the other kinds but "EXP") by the goods asked.
            if (K == 18 && EXT == "EXP") break;
            if (EXT == "DFK" || K == 18) {
                if (TYPOSDEFK() == 1) {
                    EKEXTRA::AYT(DIA, GV, 72, 1, SOB(DIA, GV, 79), EXT, AY);
                    DISKET::MAKE_DISK(EXT, 1, nullptr, false);
                } else {
                    EKEXTRA::KRASIA(DIA, GV, 72);
                    DISKOIL::MAKE_DISK_OIL(EXT, 1, false);
                }
            } else {
                if (UMAS::trim(SOB(DIA, GV, 33)) == "02") EKEXTRA::GIVEVASIS(DIA, GV, 72);
                DISKET::MAKE_DISK(EXT, 0, nullptr, false);
            }
            redraw();
            legend();
            break;
        case 14: EKTY(EXT); break;
        case 33: EKTY_A4(EXT); break;
        case 20: {
            PARAMS::CALC(CAS);
            std::string t = SOB(DIA, GV, B);
            size_t e = t.find_last_not_of(' ');
            t = e == std::string::npos ? " " + CAS : t.substr(0, e + 1) + " " + CAS;
            BOS(DIA, GV, B, t);
            redraw();
            break;
        }
        case 99:
            if (int lim = limitOf(B)) PUTCLIP(lim);
            break;
        default: break;
        }
        return true;
    }
};

// Screen rows 1 to 23 as they stand, as a mask: shown with saving it keeps them on the stack, and
// the editor's page comes back with its RECALL when the view is left.
UMAS::CONV editorRows() {
    UMAS::CONV m = UMAS::CONV::make(1, 1, PLAT::SCREEN_W, 23);
    const PLAT::Console& c = PLAT::con();
    for (int y = 0; y < m.H(); ++y)
        for (int x = 0; x < m.W(); ++x) {
            m.ch(x, y) = c.cells[size_t(y)][size_t(x)].ch;
            m.at(x, y) = c.cells[size_t(y)][size_t(x)].at;
        }
    return m;
}

}  // namespace

void BODI(int, const std::string& EXT) {
    View v;
    v.EXT = EXT;
    const UMAS::CONV rows = editorRows();
    SCR::CALLM(&rows, true);
    SCR::CALLM(5, true);
    SCR::CALLM(2, true);
    std::string b142 = SOB(DIA, GV, 142);
    if (b142.size() >= 7 && b142.substr(4, 3) == "   ") {
        b142.replace(4, 3, UMAS::LEJU(EXT, 3));
        BOS(DIA, GV, 142, b142);
    }
    v.legend();
    DERIVE(EXT);
    v.F = EXT == "DFK" ? 222 : 208;
    v.B = v.F;
    v.M.fill(v.F);
    v.L = FRONTLINES;
    v.redraw();
    do v.pass();
    while (v.act());
    SCR::RECALL();
    SCR::RECALL();
    SCR::RECALL();
    PLAT::con().refresh();
}

}  // namespace EKBODI
