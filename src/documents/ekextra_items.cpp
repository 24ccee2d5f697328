// The per-item lists of a goods item: tax bases (".V" + suffix), wines (".K" + suffix) and the three
// package rows kept in the item's goods record.
#include <cmath>

#include "codes/kvdi.h"
#include "common/umas.h"
#include "declarations/bod.h"
#include "documents/ekextra.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace EKEXTRA {

std::string VASCODEOF(const std::string& KV) {
    auto part = [&](size_t from, size_t n) { return from < KV.size() ? KV.substr(from, n) : std::string(); };
    return UMAS::cut(part(0, 8) + part(9, 2) + " " + part(12, 4), 15);
}

void GIVEVASIS(BOD::SCB, BOD::GGV, int VC) {
    SCR::CALLM(117, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({10}, BOD::GM1);
    const std::string name = ITEMFILE(".V", VC != 72);
    VASTABLE t;
    READVAS(name, t);
    auto draw = [&](int r) {
        const TVAS& l = t.L[size_t(r - 1)];
        SCR::PRINT(14, 5 + r, UMAS::LEJU(l.VASCODE, 15));
        SCR::PRINT(32, 5 + r, UMAS::LEJU(l.VASPER, 25));
        SCR::PRINT(59, 5 + r, UMAS::RIJU(l.VASPOSOT, 11));
    };
    for (int r = 1; r <= VASTABLE::LINES; ++r) draw(r);

    const SCR::SOC codeChars = SCR::soc(" 0123456789"), text = SCR::socRange(32, 254),
                   amount = SCR::soc(".0123456789");
    int LI = 0, CO = 0, SE = 0, KK = 0;
    bool close = false;
    while (!close) {
        UMAS::EPIL(0, 14, 10, 0, 6, 1, 61, 9, 0, 0, LI, CO, SE, KK, 0);
        if (KK == 3) break;
        if (KK != 0) continue;
        const int r = LI + 1;
        TVAS& l = t.L[size_t(LI)];
        int field = 1;  // 1 code, 2 description, 3 amount; 0 back to the bar
        while (field != 0) {
            int K = 0;
            if (field == 1) {
                l.VASCODE = UMAS::cut(SCR::GINPUT(14, 5 + r, 15, l.VASCODE, "", codeChars, false, true, K), 15);
                if (K == 0 || K == 2) {
                    field = 2;
                } else if (K == 1 || K == 3) {
                    field = 0;
                } else if (K == 6) {
                    KVDI::V0A.KV = l.VASCODE;
                    KVDI::EMP(KVDI::V0A, true, BOD::K);
                    if (BOD::K == 0) {
                        l.VASCODE = VASCODEOF(KVDI::V0A.KV);
                        for (int i = 1; i <= 6; ++i)
                            if (!UMAS::trim(KVDI::V0A.RI[size_t(i)]).empty()) {
                                l.VASPER = UMAS::cut(UMAS::trim(KVDI::V0A.RI[size_t(i)]), 25);
                                break;
                            }
                        draw(r);
                        field = 2;
                    }
                }
            } else if (field == 2) {
                l.VASPER = UMAS::cut(SCR::GINPUT(32, 5 + r, 25, l.VASPER, "", text, false, true, K), 25);
                if (K == 0 || K == 2) field = 3;
                else if (K == 3) field = 0;
                else field = 1;
            } else {
                const std::string S = SCR::GINPUT(59, 5 + r, 11, UMAS::REMLCH(l.VASPOSOT, ' '), "", amount, false, true, K);
                l.VASPOSOT = UMAS::RIJU(S, 11);
                SCR::PRINT(59, 5 + r, l.VASPOSOT);
                field = 0;
                if (K == 3) close = true;
            }
        }
    }
    WRITEVAS(name, t);
    SCR::RECALL();
    SCR::RECALL();
}

void KRASIA(BOD::SCB, BOD::GGV, int VC) {
    SCR::CALLM(116, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({10}, BOD::GM1);
    const std::string name = ITEMFILE(".K", VC != 72);
    KRASTABLE t;
    READKRAS(name, t);
    int LI = 0, CO = 0, SE = 0, KK = 0;
    auto KRABOX = [&] {
        for (int i = 1; i <= 20; ++i) {
            const TKRAS& l = t.L[size_t(20 * SE + i - 1)];
            SCR::PRINT(26, 2 + i, UMAS::RIJU(std::to_string(20 * SE + i), 2));
            SCR::PRINT(29, 2 + i, UMAS::LEJU(l.KRASCODE, 10));
            SCR::PRINT(41, 2 + i, UMAS::RIJU(l.KRASPOSOT, 11));
        }
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.2f", t.total());
        SCR::PRINT(41, 23, UMAS::RIJU(buf, 11));
    };
    KRABOX();
    const SCR::SOC digits = SCR::socDigits(), amount = SCR::soc(".0123456789");
    bool close = false;
    while (!close) {
        UMAS::EPIL(0, 14, 26, 0, 3, 1, 27, 19, 0, 1, LI, CO, SE, KK, 0);
        if (KK == 3) break;
        if (KK != 0) {
            KRABOX();
            continue;
        }
        TKRAS& l = t.L[size_t(20 * SE + LI)];
        const int y = 3 + LI;
        bool onQty = false;
        for (;;) {
            int K = 0;
            if (!onQty) {
                l.KRASCODE = UMAS::cut(SCR::GINPUT(29, y, 10, l.KRASCODE, "", digits, false, true, K), 10);
                if (K == 0 || K == 2) onQty = true;
                else if (K == 1 || K == 3) break;
            } else {
                const std::string S = SCR::GINPUT(41, y, 11, UMAS::REMLCH(l.KRASPOSOT, ' '), "", amount, false, true, K);
                l.KRASPOSOT = UMAS::RIJU(S, 11);
                SCR::PRINT(41, y, l.KRASPOSOT);
                KRABOX();
                if (K == 3) close = true;
                break;
            }
        }
    }
    WRITEKRAS(name, t);
    // The quantities against the item's supplementary units (box 89, on a sheet box 39).
    std::string S = VC == 72 ? BOD::SOB(BOD::DIA, BOD::GV, 89) : BOD::SOB(BOD::BIS, BOD::GB, 39);
    if (const size_t colon = S.find(':'); colon != std::string::npos) S = S.substr(colon + 1);
    const double total = t.total();
    auto r2 = [](double x) { return std::round(x * 100.0) / 100.0; };
    if (total > 0 && r2(UMAS::EVAL(S)) != r2(total)) {
        SCR::CALLM(65, true);
        PLAT::con().bell();
        SCR::PRINT(20, 11, PLAT::gr("   ΠΡΟΣΟΧΗ !! Το Σύνολο Ποσότητας  "));
        SCR::PRINT(20, 12, PLAT::gr("διαφέρει από το ποσό της θέσης (41)"));
        for (;;) {
            const PLAT::KeyEvent k = PLAT::con().readKey();
            if (!k.extended() && k.ch == 27) break;
        }
        SCR::RECALL();
    }
    SCR::RECALL();
    SCR::RECALL();
}

void SYSKEYASIES(BOD::SCB, BOD::GGV, int VC, BOD::MOT& MAC) {
    const bool main = VC == 72;
    const BOD::SCB P = main ? BOD::DIA : BOD::BIS;
    const BOD::GGV G = main ? BOD::GV : BOD::GB;
    MAC.ON = UMAS::cut(UMAS::CUTLEADSPACES(BOD::SOB(P, G, main ? 68 : 19)), 30);
    MAC.TY = UMAS::cut(BOD::SOB(P, G, main ? 69 : 20), 30);
    MAC.ER = UMAS::cut(BOD::SOB(P, G, main ? 70 : 21), 30);
    SCR::CALLM(33, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({10}, BOD::GM1);

    // Row r: kind, description, number fields and their capacities.
    struct Row {
        std::string* f[3];
        int cap[3];
    };
    const Row rows[3] = {{{&MAC.ON, &MAC.ER, &MAC.TY}, {30, 30, 30}},
                         {{&MAC.AP, &MAC.AK, &MAC.KY}, {25, 20, 10}},
                         {{&MAC.ET, &MAC.BA, &MAC.KA}, {10, 10, 20}}};
    for (int r = 0; r < 3; ++r) {
        SCR::PRINT(28, 7 + r, *rows[r].f[0]);
        SCR::PRINT(33, 7 + r, UMAS::cut(*rows[r].f[1], 21));
        SCR::PRINT(56, 7 + r, UMAS::RIJU(*rows[r].f[2], 5));
    }
    const SCR::SOC kindChars = SCR::soc(" ABCDEFGHIJKLMNOPQRSTUVWXYZ"), text = SCR::socRange(32, 254),
                   number = SCR::soc(" 0123456789");
    int f = 1;
    for (;;) {
        const Row& row = rows[(f - 1) / 3];
        const int y = 7 + (f - 1) / 3, c = (f - 1) % 3;
        std::string& v = *row.f[c];
        int K = 0;
        if (c == 0) {
            SCR::CALLM(20, true);
            v = UMAS::cut(SCR::GINPUT(28, y, 3, v, "", kindChars, false, true, K), size_t(row.cap[0]));
            SCR::RECALL();
            if (K == 6) {
                KVDI::SYS(KVDI::V0E, true, BOD::K);
                if (BOD::K == 3) break;
                v = UMAS::cut(KVDI::V0E.TR, size_t(row.cap[0]));
                SCR::PRINT(28, y, v);
                SCR::PRINT(33, y, UMAS::cut(KVDI::V0E.PA, 21));
                *row.f[1] = UMAS::cut(KVDI::V0E.PA, size_t(row.cap[1]));
                f = f + 1;
                continue;
            }
        } else if (c == 1) {
            const std::string S = SCR::GINPUT(33, y, 21, UMAS::REMLCH(v, ' '), "", text, false, true, K);
            v = UMAS::cut(S, size_t(row.cap[1]));
            SCR::PRINT(33, y, UMAS::LEJU(S, 21));
        } else {
            const std::string S = SCR::GINPUT(56, y, 5, UMAS::REMLCH(v, ' '), "", number, false, true, K);
            v = UMAS::cut(S, size_t(row.cap[2]));
            SCR::PRINT(56, y, UMAS::RIJU(S, 5));
        }
        if (K == 3) break;
        if (K == 0 || K == 2) {
            if (f < 9) ++f;
        } else if (K == 1) {
            if (f > 1) --f;
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace EKEXTRA
