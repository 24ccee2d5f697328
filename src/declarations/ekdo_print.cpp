// Printing the continuation sheets on the pre-printed form: one sheet with its items and their tax
// blocks (and, on the last sheet, the totals per tax code), its T5, T1 and T2L variants for an
// export, and the lower parts of the sheet's items.
#include <array>
#include <cmath>
#include <vector>

#include "codes/kvdi.h"
#include "common/umas.h"
#include "declarations/ekdo.h"
#include "declarations/ekdo_cbis.h"
#include "declarations/store_form.h"
#include "declarations/taxlines.h"
#include "documents/gm0.h"
#include "platform/codepage.h"
#include "print/prns.h"

namespace EKDO {

using namespace BOD;

namespace {

using GM0::EKTYPV;

struct PENT {
    std::string A, B, C, D, E;
};

// A printout with the row engine of the layout tables.
struct Out : PRNS::Printout {
    void row(const EKTYPV& r, const std::string& s, bool ownFeeds = true) {
        tab(r.col);
        mode(r.pitch);
        text(s);
        mode(1);
        if (ownFeeds) lf(r.lf);
    }
};

std::string withSlashes(const std::string& t) {
    if (t.empty() || t[0] == ' ') return t;
    std::string s = t;
    s.insert(std::min<size_t>(2, s.size()), "/");
    s.insert(std::min<size_t>(5, s.size()), "/");
    return s;
}

}  // namespace

// After a printout that read other items: the item on screen is read again (a new item is blank),
// "FBIS" is released and the print question's mask removed.
void Cbis::reloadAfterPrint(const ItemKey& keep) {
    BM = keep.BM;
    BOB = keep.BOB;
    XNB = keep.XNB;
    if (BOB && RUFB(LL, false)) {
        storedData = KATB_DATA();
    } else {
        // a damaged item stays counted as stored, as when it was opened
        XBIS();
        storedData.clear();
    }
    UMAS::UNLOC("FBIS");
    SCR::RECALL();
}

void Cbis::EKBI(int ENTYPO) {
    SCR::CALLM(70, true);
    static const char* const titles[] = {"", "  Τ5  BIS", "  Τ1  BIS", " T2L  BIS"};
    const std::string title = ENTYPO == 0 && EXT == "DFK" ? PLAT::gr("ΔΕΦΚ B I S") : PLAT::gr(titles[ENTYPO & 3]);
    SCR::PRINT(17, 23, title);
    if (!PRNS::YES(35, 23)) {
        SCR::RECALL();
        return;
    }
    const bool dfk = EXT == "DFK";
    const bool T5 = ENTYPO == 1, T1 = ENTYPO == 2, T2L = ENTYPO == 3;
    UMAS::LOCK("FBIS");
    Out o;
    PRNS::SET_PE(UMAS::PE_DIAS, o.P, o.T, o.F);
    if (dfk) {
        o.mode(22);
        o.lf(1);
        o.mode(26);
        o.lf(2);
    }
    const EKTYPV* table = dfk ? GMDEFK::PBBDEFK.data() : GM0::PBB.data();
    const int heading = dfk ? 11 : 13, rows = dfk ? 44 : 47;
    o.mode(74);
    o.mode(1);
    const bool doubleStrike = UMAS::PAREDE[6].TIMI == 2;
    if (doubleStrike) o.mode(8);

    for (int i = 0; i < heading; ++i) {
        const EKTYPV& r = table[i];
        std::string T = SOB(BIS, GB, r.box);
        if (r.box == 11 || r.box == 12) T = withSlashes(T);
        if (T5) {
            if ((r.box >= 3 && r.box <= 8) || r.box == 10) T.clear();
            if (r.box == 11 || r.box == 12) T = "  " + T;
        }
        if (T1 && (r.box == 4 || r.box == 6 || r.box == 7 || r.box == 8 || r.box == 10 || r.box == 11 || r.box == 12))
            T.clear();
        if (T2L) {
            if (r.box == 11 || r.box == 12) T.clear();
            if (r.box == 4) T += " T2L";
        }
        o.row(r, T);
    }
    if (T5) o.lf(6);

    const std::string N = declNumber();
    const std::string R = SOB(BIS, GB, 1);
    const int S = uvalue(R);
    const bool LAS = SOB(DIA, GV, 16) == R;
    const ItemKey keep{BM, BOB, XNB};
    auto load = [&](const std::string& key) {
        BM = UMAS::LEJU(key, 14).substr(0, 14);
        CHOB();
        return BOB && RUFB(LL, false);
    };

    double SU = 0;
    if (LAS) {
        LAST(true, SU);
        for (int I = 2; I <= S && I <= 99; ++I)
            for (int J = firstItem(EXT, I); J <= lastItem(EXT, I) && J <= 99; ++J)
                if (load(N + two(I) + two(J))) LAST(false, SU);
    }

    // The tax buffer of the printout: the first seven tax lines and the payable total of each item.
    std::vector<std::vector<PENT>> F(4, std::vector<PENT>(8));
    std::vector<std::string> H(4);
    int P = 0;
    for (int J = firstItem(EXT, S); J <= lastItem(EXT, S) && J <= 99 && S >= 2; ++J) {
        ++P;
        if (load(N + R + two(J))) {
            for (int L = 1; L <= 7; ++L) {
                PENT& e = F[size_t(P)][size_t(L)];
                const int b = 51 + 5 * (L - 1);
                e = {SOB(BIS, GB, b), SOB(BIS, GB, b + 1), SOB(BIS, GB, b + 2), SOB(BIS, GB, b + 3), SOB(BIS, GB, b + 4)};
                if (PERCENTKIND(AYB.EIF[size_t(L)]) && e.C != std::string(7, ' ')) e.C += "%";
            }
            H[size_t(P)] = SOB(BIS, GB, 91);
            const double BA = UMAS::EVAL(AYB.BA);
            const bool extra = !dfk && BA >= 0.01 && KVDI::V0A.EE == 0;
            for (int i = heading; i < rows; ++i) {
                const EKTYPV& r = table[i];
                std::string T = SOB(BIS, GB, r.box);
                if (T5) {
                    static const int blanked[] = {30, 31, 33, 34, 35, 37, 40, 49, 50};
                    for (int b : blanked)
                        if (r.box == b) T.clear();
                    if (r.box == 29) T = T.substr(0, 21);
                    if (r.box == 42) o.lf(1);
                }
                if (extra && r.box == 50) {
                    o.row(r, "", false);
                    o.tab(r.col);
                    o.mode(12);
                    o.text("+ " + UMAS::RIJU(AYB.BA, 10));
                    o.mode(13);
                    o.mode(29);
                    o.lf(1);
                    o.tab(r.col);
                    o.text(FMT(UMAS::EVAL(SOB(BIS, GB, 50)) + BA, 10, 2));
                    o.lf(1);
                    o.mode(26);
                } else if (extra && r.box == 44) {
                    o.row(r, T, false);
                    o.tab(58);
                    o.text(SOB(BIS, GB, 50));
                    o.mode(22);
                    o.lf(1);
                    o.mode(26);
                } else {
                    o.row(r, T);
                }
            }
        } else {
            if (dfk) {
                o.mode(22);
                o.lf(1);
                o.mode(26);
            }
            o.lf(14);
        }
        if (T5) o.lf(1);
        if (dfk) {
            o.mode(22);
            o.lf(1);
            o.mode(26);
        }
    }

    auto put = [&](int col, const std::string& s, bool modes) {
        o.tab(col);
        if (modes) o.mode(2);
        o.text(s);
        if (modes) o.mode(1);
    };
    auto putLine = [&](const PENT& e, std::initializer_list<int> cols) {
        const std::string* f[] = {&e.A, &e.B, &e.C, &e.D, &e.E};
        int i = 0;
        for (int c : cols) put(c, *f[i++], true);
    };
    auto amount = [](double a) { return std::fabs(a) >= 0.01 ? FMT(a, 10, 2) : std::string(); };
    if (!T5) {
        o.lf(1);
        if (!dfk) {
            o.mode(25);
            o.lf(1);
            o.mode(26);
        } else {
            o.lf(1);
        }
        for (int L = 1; L <= 7; ++L) {
            if (dfk) {
                putLine(F[1][size_t(L)], {3, 7, 15, 27});
                putLine(F[2][size_t(L)], {37, 40, 49, 59});
            } else {
                putLine(F[1][size_t(L)], {2, 5, 17, 25, 35});
                putLine(F[2][size_t(L)], {37, 41, 53, 61, 71});
            }
            o.lf(1);
        }
        if (dfk) {
            o.lf(2);
        } else {
            o.mode(22);
            o.lf(1);
            o.mode(26);
        }
        put(dfk ? 27 : 25, H[1], false);
        put(dfk ? 59 : 61, H[2], false);
        o.mode(22);
        o.lf(1);
        o.mode(26);
        o.lf(2);
        for (int L = 1; L <= 7; ++L) {
            if (dfk) {
                if (LAS) {
                    put(3, SFO[size_t(L)], false);
                    put(27, amount(SPO[size_t(L)]), false);
                }
            } else {
                putLine(F[3][size_t(L)], {2, 5, 17, 25, 35});
                if (LAS) {
                    put(37, SFO[size_t(L)], false);
                    put(41, amount(SPO[size_t(L)]), false);
                }
            }
            o.lf(1);
        }
        if (!dfk) {
            o.mode(22);
            o.lf(1);
            o.mode(26);
        }
        put(dfk ? 27 : 25, H[3], false);
        if (LAS && SU > 0.01) put(dfk ? 27 : 41, FMT(SU, 10, 2), false);
    } else {
        o.lf(1);
        put(51, SOB(DIA, GV, 207), false);
    }
    o.lf(1);
    if (doubleStrike) o.mode(9);
    o.mode(66);
    o.mode(11);
    o.F.close();
    UMAS::PRINTUSB();

    reloadAfterPrint(keep);
}

// The lower parts (boxes 129 to 146 and the second text block) of the items of the sheet on screen.
void Cbis::EKBB() {
    SCR::CALLM(70, true);
    if (!PRNS::YES(35, 23)) {
        SCR::RECALL();
        return;
    }
    UMAS::LOCK("FBIS");
    Out o;
    PRNS::SET_PE(UMAS::PE_DIAS, o.P, o.T, o.F);
    o.mode(74);
    o.mode(1);
    o.mode(26);
    const std::string N = declNumber() + SOB(BIS, GB, 1);
    const int S = uvalue(SOB(BIS, GB, 1));
    const ItemKey keep{BM, BOB, XNB};
    int P = 0;
    for (int J = firstItem(EXT, S); J <= lastItem(EXT, S) && J <= 99 && S >= 2; ++J) {
        ++P;
        BM = UMAS::LEJU(N + two(J), 14).substr(0, 14);
        CHOB();
        if (BOB && RUFB(LL, false)) {
            for (int L = 1; L <= 8; ++L) {
                o.tab(2);
                o.mode(2);
                o.text(SOB(BIS, GB, 128 + L));
                o.mode(1);
                o.tab(36);
                o.mode(2);
                o.text(SOB(BIS, GB, BLOCK2 - 1 + L));
                o.mode(1);
                o.lf(1);
            }
            for (int L = 1; L <= 10; ++L) {
                o.tab(2);
                o.mode(2);
                o.text(SOB(BIS, GB, 136 + L));
                o.mode(1);
                o.lf(1);
            }
        } else {
            o.lf(20);
        }
        o.lf(P == 2 && EXT == "EXP" ? 5 : 3);
    }
    o.mode(66);
    o.mode(26);
    o.mode(11);
    o.F.close();
    UMAS::PRINTUSB();

    reloadAfterPrint(keep);
}

}  // namespace EKDO
