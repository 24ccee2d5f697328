// The box-44 list (".T44") and its condensing into boxes 92 to 95, the transport document (".EGR")
// and the TIR data (".TIT").
#include <algorithm>
#include <cmath>

#include "codes/kvdi.h"
#include "common/umas.h"
#include "customers/pelat.h"
#include "declarations/bod.h"
#include "documents/ekextra.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace EKEXTRA {

namespace {

const SCR::SOC& codeChars() {
    static const SCR::SOC s = SCR::soc("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    return s;
}

}  // namespace

void CONDENSE44(const THESI44& t) {
    size_t L = 0;
    for (const std::string& r : t.REF) L = std::max(L, UMAS::trim(r).size());
    const int W = int(L) + 6;
    const int N = 60 / W;
    std::string line;
    int count = 0;
    for (int r = 0; r < THESI44::ROWS && count < 4 * N; ++r) {
        if (UMAS::trim(t.CODE[size_t(r)]).empty()) continue;
        line += UMAS::LEJU(t.CODE[size_t(r)] + ":" + t.REF[size_t(r)], W) + "-";
        ++count;
        if (count % N == 0) {
            BOD::BOS(BOD::DIA, BOD::GV, 91 + count / N, line);
            line.clear();
        }
    }
    if (!line.empty() && count / N < 4) BOD::BOS(BOD::DIA, BOD::GV, 92 + count / N, line);
}

void DIAM44() {
    SCR::CALLM(124, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({3, 7, 10}, GM1ARROWS());

    const std::string name = SIDEFILE(".T44");
    THESI44 t;
    bool old = false;
    READT44(name, t, &old);
    if (old) WRITET44(name, t);

    // Row r (1..17): screen row, code and reference columns and widths.
    auto rowY = [](int r) { return r <= 15 ? r + 3 : r + 6; };
    auto codeW = [](int r) { return r <= 15 ? 4 : 5; };
    auto refX = [](int r) { return r <= 15 ? 23 : 24; };
    auto refW = [](int r) { return r <= 15 ? 21 : 17; };
    auto draw = [&] {
        for (int r = 1; r <= THESI44::ROWS; ++r) {
            SCR::PRINT(18, rowY(r), UMAS::LEJU(t.CODE[size_t(r - 1)], codeW(r)));
            SCR::PRINT(refX(r), rowY(r), UMAS::LEJU(t.REF[size_t(r - 1)], refW(r)));
        }
    };
    draw();

    int r = 1;
    bool onRef = false;
    for (;;) {
        std::string& code = t.CODE[size_t(r - 1)];
        std::string& ref = t.REF[size_t(r - 1)];
        int K = 0;
        if (!onRef)
            code = UMAS::cut(SCR::GINPUT(18, rowY(r), codeW(r), code, "", codeChars(), false, true, K), THESI44::CAP);
        else
            ref = UMAS::cut(SCR::GINPUT(refX(r), rowY(r), refW(r), ref, "", SCR::socAll(), false, true, K),
                            THESI44::CAP);
        if (K == 3) break;
        switch (K) {
            case 0:
                if (!onRef) onRef = true;
                else if (r < THESI44::ROWS) onRef = false, ++r;
                break;
            case 1:
                if (onRef) onRef = false;
                else if (r > 1) --r;
                break;
            case 2:
                if (r < THESI44::ROWS) ++r;
                break;
            case 4:
                if (r >= 16) r = 1;
                break;
            case 5:
                if (r <= 15) r = 16;
                break;
            case 6: {  // the documents picker fills rows from the current one on, up to row 15
                KVDI::PRE(KVDI::V09, true, BOD::K);
                if (BOD::K == 0) {
                    const KVDI::RECPREB& d = KVDI::V09;
                    for (int j = 1; j <= 8; ++j) {
                        const int row = r + j - 1;
                        if (d.EE[size_t(j)].empty() || d.KV[size_t(j)] == "    " || row > 15) continue;
                        t.CODE[size_t(row - 1)] = UMAS::cut(d.KV[size_t(j)], THESI44::CAP);
                        t.REF[size_t(row - 1)] = UMAS::cut(d.EE[size_t(j)], THESI44::CAP);
                    }
                }
                draw();
                break;
            }
            case 11:
                code.clear();
                ref.clear();
                draw();
                break;
            default: break;
        }
    }

    WRITET44(name, t);
    CONDENSE44(t);
    SCR::RECALL();
    SCR::RECALL();
}

void EGGMETAF() {
    SCR::CALLM(125, true);
    SCR::PRINT(32, 5, PLAT::gr("ΕΓΓΡΑΦΟ  ΜΕΤΑΦΟΡΑΣ"));
    SCR::PRINT(24, 7, PLAT::gr("    ΚΩΔΙΚΟΣ   "));
    SCR::PRINT(24, 9, PLAT::gr("    ΑΡΙΘΜΟΣ   "));
    SCR::PRINT(24, 11, std::string(16, ' '));
    SCR::PRINT(24, 13, std::string(16, ' '));
    SCR::CALLM(2, true);
    UMAS::FKEY({10}, BOD::GM1);

    const std::string name = SIDEFILE(".EGR");
    EGRDOC d;
    if (!READEGR(name, d)) {
        THESI44 t;
        READT44(SIDEFILE(".T44"), t);
        for (int r = 0; r < 15; ++r) {
            if (t.CODE[size_t(r)].compare(0, 2, "N7") != 0) continue;
            d.EGGRCODE = UMAS::cut(t.CODE[size_t(r)], EGRDOC::CODE_CAP);
            d.EGGRNAME = UMAS::cut(t.REF[size_t(r)], EGRDOC::NAME_CAP);
            break;
        }
    }
    SCR::PRINT(40, 7, d.EGGRCODE);
    SCR::PRINT(40, 9, d.EGGRNAME);

    for (;;) {
        int K = 0;
        d.EGGRCODE = SCR::GINPUT(40, 7, EGRDOC::CODE_CAP, d.EGGRCODE, "", codeChars(), false, true, K);
        d.EGGRNAME = UMAS::trim(SCR::GINPUT(40, 9, EGRDOC::NAME_CAP, d.EGGRNAME, "", codeChars(), false, true, K));
        const bool valid = d.EGGRCODE.size() == 4 && !d.EGGRNAME.empty();
        if (!valid) PLAT::con().bell();
        if ((K == 0 || K == 3) && valid) break;
    }

    WRITEEGR(name, d);
    SCR::RECALL();
    SCR::RECALL();
}

void STOIXIA_TIR() {
    SCR::CALLM(125, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({7, 10}, GM1ARROWS());

    const std::string name = SIDEFILE(".TIT");
    ST_TIR t;
    READTIT(name, t);
    if (t.T[0].empty()) {
        THESI44 l;
        if (READT44(SIDEFILE(".T44"), l)) {
            for (int r = 0; r < 15; ++r)
                if (l.CODE[size_t(r)] == "N952") t.T[0] = UMAS::cut(l.REF[size_t(r)], ST_TIR::CAP);
        }
        t.T[0] = UMAS::trim(t.T[0]);
    }
    if (t.T[2].empty()) t.T[2] = UMAS::cut(UMAS::trim(BOD::SOB(BOD::DIA, BOD::GV, 64)), 8);
    for (int i = 1; i <= 4; ++i) SCR::PRINT(40, 5 + 2 * i, t.T[size_t(i - 1)]);

    int I = 1;
    for (;;) {
        std::string& text = t.T[size_t(I - 1)];
        int K = 0;
        const bool hint = I == 2 || I == 3;
        if (hint) SCR::CALLM(20, true);
        text = UMAS::cut(SCR::GINPUT(40, 5 + 2 * I, ST_TIR::CAP, text, "", codeChars(), false, true, K), ST_TIR::CAP);
        if (hint) SCR::RECALL();
        if (K == 3) break;
        if (K == 0 || K == 2) {
            I = I == 4 ? 1 : I + 1;
        } else if (K == 1) {
            I = I == 1 ? 4 : I - 1;
        } else if (K == 6 && I == 3) {
            KVDI::V04.TE = UMAS::cut(BOD::SOB(BOD::DIA, BOD::GV, 6), 20);
            KVDI::V04.KV = uint16_t(std::lround(std::clamp(UMAS::EVAL(BOD::SOB(BOD::DIA, BOD::GV, 7)), 0.0, 65535.0)));
            KVDI::TEL(KVDI::V04, true, BOD::K);
            if (BOD::K == 0) {
                std::string code = KVDI::V04.KV == 0 ? std::string() : UMAS::RIJU(std::to_string(KVDI::V04.KV), 4);
                if (!code.empty() && code[0] == ' ') code[0] = '0';
                text = "GR00" + code;
                SCR::PRINT(40, 11, UMAS::LEJU(text, ST_TIR::CAP));
            }
        } else if (K == 6 && I == 2) {
            uint16_t PR = BOD::NO_CUSTOMER;
            PELAT::ALPHAPEL(BOD::EA, 1, PR, &PELAT::MALRECPEL);
            if (PR < BOD::NO_CUSTOMER) {
                text = UMAS::cut(PELAT::MALRECPEL.SX, ST_TIR::CAP);
                SCR::PRINT(40, 9, UMAS::LEJU(text, ST_TIR::CAP));
            }
        }
    }

    WRITETIT(name, t);
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace EKEXTRA
