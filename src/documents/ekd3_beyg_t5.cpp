// Form BEYG (".byg", form 114) and the T5 control copy (".T5", form 115): their fills from the
// declaration, screens and prints.
#include <cmath>
#include <cstdio>

#include "documents/ekd3.h"
#include "documents/gm0.h"
#include "platform/codepage.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace EKD3 {

using namespace BOD;

namespace {

std::string box(int n) { return SOB(DIA, GV, n); }

// The side-file document on its mask: read or fill, show, edit with the hook, restore.
void runForm(int mask, size_t size, const std::string& ext, const std::vector<EdField>& table,
             const std::function<void(Record&)>& fill, const std::function<void(Record&, int K)>& key,
             const std::function<void(const Record&)>& after = nullptr) {
    Record r(size);
    const std::string file = SIDEFILE(ext);
    if (!READSIDE(file, r)) fill(r);
    SCR::CALLM(mask, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({1, 2, 3, 4}, GMLOCAL);
    SHOWFIELDS(table, r);
    if (after) after(r);
    EDITFIELDS(
        table, r,
        [&](int K, int) {
            if (K == 6) {
                fill(r);
                SHOWFIELDS(table, r);
            } else if (K == 10) {
                WRITESIDE(file, r);
            } else {
                key(r, K);
            }
        },
        [&] {
            if (after) after(r);
        });
    SCR::RECALL();
    SCR::RECALL();
}

struct Totals {
    float ari = 0, kgm = 0, kgk = 0;
};
Totals totals(const Record& r) {
    Totals t;
    for (int i = 1; i <= 6; ++i) {
        t.ari += float(UMAS::EVAL(r.get(BEYGR::ARI(i))));
        t.kgm += float(UMAS::EVAL(r.get(BEYGR::KGM(i))));
        t.kgk += float(UMAS::EVAL(r.get(BEYGR::KGK(i))));
    }
    return t;
}

void showTotals(const Record& r) {
    for (int i = 1; i <= 6; ++i) {
        SCR::PRINT(42, 9 + i, BEYGNUM(float(UMAS::EVAL(r.get(BEYGR::ARI(i)))), 8));
        SCR::PRINT(51, 9 + i, BEYGNUM(float(UMAS::EVAL(r.get(BEYGR::KGM(i)))), 10));
        SCR::PRINT(62, 9 + i, BEYGNUM(float(UMAS::EVAL(r.get(BEYGR::KGK(i)))), 10));
    }
    const Totals t = totals(r);
    SCR::PRINT(42, 16, BEYGNUM(t.ari, 8));
    SCR::PRINT(51, 16, BEYGNUM(t.kgm, 10));
    SCR::PRINT(62, 16, BEYGNUM(t.kgk, 10));
}

}  // namespace

// ---- Form BEYG ---------------------------------------------------------------------------------------

std::vector<EdField> BEYGTABLE() {
    using R = BEYGR;
    std::vector<EdField> t = {{25, 1, 15, R::DXA},  {25, 2, 15, R::FYT}, {25, 3, 15, R::PEJ},
                              {53, 1, 20, R::TELA}, {74, 1, 4, R::TELAC}, {53, 2, 15, R::ARPAR},
                              {75, 2, 3, R::KVD},   {53, 3, 6, R::HMK},  {53, 4, 27, R::KE}};
    for (int i = 1; i <= 4; ++i) t.push_back({4, 4 + i, 48, R::KLT[i]});
    t.insert(t.end(), {{60, 5, 20, R::TELB}, {66, 6, 10, R::ARKAT}, {74, 8, 6, R::HAKF}});
    for (int r = 1; r <= 6; ++r)
        t.insert(t.end(), {{4, 9 + r, 6, R::HMF(r)},
                           {12, 9 + r, 10, R::MEM(r)},
                           {23, 9 + r, 12, R::AMEM(r)},
                           {36, 9 + r, 5, R::EID(r)},
                           {42, 9 + r, 8, R::ARI(r)},
                           {51, 9 + r, 10, R::KGM(r)},
                           {62, 9 + r, 10, R::KGK(r)},
                           {73, 9 + r, 6, R::RHME(r)}});
    for (int r = 1; r <= 6; ++r)
        t.insert(t.end(), {{4, 17 + r, 37, R::BAS(r)}, {42, 17 + r, 27, R::KEM(r)}, {70, 17 + r, 10, R::MKGK(r)}});
    t.insert(t.end(), {{15, 24, 15, R::POL}, {33, 24, 6, R::HME}});
    return t;
}

void BEYGFILL(Record& r) {
    using R = BEYGR;
    r.set(R::TELA, box(6));
    r.set(R::TELAC, UMAS::cut(box(7), 4));
    r.set(R::HMK, box(8));
    r.set(R::KE, box(79));
    r.set(R::TELB, box(6));
    r.set(R::HAKF, box(8));
    r.set(R::KGM(1), box(82));
    r.set(R::KGK(1), box(86));
    r.set(R::POL, UMAS::LOGOTYPO[7]);
    r.set(R::HME, box(8));
}

std::string BEYGNUM(float v, int width) {
    char buf[64];
    const float frac = v - std::trunc(v);
    std::snprintf(buf, sizeof buf, frac > 0 ? "%*.2f" : "%*.0f", width, double(v));
    return buf;
}

void PRINTBEYG(const Record& r) {
    using R = BEYGR;
    PRNS::Printout o;
    o.open(UMAS::PE_BEBYG);
    o.mode(1);
    auto get = [&](TF f) { return r.get(f); };
    auto spacing = [&] {
        o.mode(22);
        o.lf(1);
        o.mode(26);
    };
    o.at(52, get(R::TELA));
    o.at(73, get(R::TELAC));
    o.lf(1);
    o.at(5, get(R::DXA));
    o.at(22, get(R::FYT));
    o.tab(40);
    o.mode(3);
    o.text(get(R::PEJ));
    o.mode(1);
    spacing();
    o.at(57, get(R::ARPAR));
    o.at(76, get(R::KVD));
    o.lf(1);
    spacing();
    o.at(57, SLASHDATE(get(R::HMK)));
    o.lf(1);
    auto klt = [&](int i, int closing) {
        o.tab(8);
        o.mode(1);
        o.text(get(R::KLT[i]));
        o.mode(closing);
    };
    klt(1, 1);
    o.lf(1);
    klt(2, 22);
    o.lf(1);
    o.mode(26);
    o.mode(1);
    o.at(52, get(R::KE));
    o.lf(1);
    klt(3, 1);
    o.at(52, get(R::TELB));
    o.lf(1);
    klt(4, 1);
    o.lf(1);
    if (!get(R::ARKAT).empty()) o.at(52, PLAT::gr("ΑΡΙΘ.ΚΑΤΑΧ. ") + get(R::ARKAT));
    o.lf(1);
    o.at(52, get(R::POL) + " " + SLASHDATE(get(R::HAKF)));
    o.lf(5);
    auto narrow = [&](int col, const std::string& s) {
        o.tab(col);
        o.mode(2);
        o.text(s);
        o.mode(1);
    };
    auto number = [&](TF f) {
        const float v = float(UMAS::EVAL(get(f)));
        return v > 1 ? BEYGNUM(v, 10) : std::string();
    };
    for (int i = 1; i <= 6; ++i) {
        if (!get(R::HMF(i)).empty()) o.at(5, SLASHDATE(get(R::HMF(i))));
        narrow(15, get(R::MEM(i)));
        narrow(23, get(R::AMEM(i)));
        narrow(33, get(R::EID(i)));
        narrow(37, number(R::ARI(i)));
        narrow(48, number(R::KGM(i)));
        narrow(58, number(R::KGK(i)));
        narrow(70, get(R::RHME(i)).empty() ? std::string() : SLASHDATE(get(R::RHME(i))));
        o.lf(2);
    }
    o.lf(9);
    spacing();
    const Totals t = totals(r);
    o.at(37, BEYGNUM(t.ari, 10));
    o.at(47, BEYGNUM(t.kgm, 10));
    o.at(57, BEYGNUM(t.kgk, 10));
    o.lf(5);
    for (int i = 1; i <= 6; ++i) {
        o.at(5, get(R::BAS(i)));
        o.at(42, get(R::KEM(i)));
        o.at(70, get(R::MKGK(i)));
        o.lf(2);
    }
    o.lf(4);
    o.at(7, get(R::POL));
    if (!get(R::HME).empty()) o.at(25, SLASHDATE(get(R::HME)));
    o.lf(1);
    o.mode(11);
    o.F.close();
    UMAS::PRINTUSB();
}

void BEYG() {
    runForm(99, BEYGR::SIZE, ".byg", BEYGTABLE(), BEYGFILL,
            [](Record& r, int K) {
                if (K == 14) PRINTBEYG(r);
            },
            showTotals);
}

// ---- T5 control copy -----------------------------------------------------------------------------------

std::vector<EdField> T5TABLE() {
    using R = T5R;
    std::vector<EdField> t;
    for (int i = 1; i <= 4; ++i) t.push_back({3, 2 + i, 35, R::APO[i]});
    for (int i = 1; i <= 5; ++i) t.push_back({3, 8 + i, 35, R::PAR[i]});
    t.insert(t.end(), {{43, 3, 30, R::XVAP}, {43, 6, 30, R::XVPR}, {43, 9, 30, R::KATH}});
    const int cols[5] = {50, 55, 61, 67, 72};
    for (int i = 1; i <= 5; ++i) t.push_back({cols[i - 1], 12, 1, R::XRIS[i]});
    t.insert(t.end(), {{43, 13, 30, R::ALLO[1]}, {43, 14, 30, R::ALLO[2]}, {3, 16, 70, R::PIST[1]},
                       {3, 17, 70, R::PIST[2]}, {3, 19, 70, R::ALED[1]}, {3, 20, 70, R::ALED[2]},
                       {3, 21, 70, R::ALED[3]}, {3, 23, 20, R::SHM},     {27, 23, 14, R::PROTH},
                       {44, 23, 30, R::EGGR}});
    return t;
}

void T5FILL(Record& r) {
    using R = T5R;
    for (int i = 1; i <= 3; ++i) r.set(R::APO[i], box(11 + i));
    for (int i = 1; i <= 4; ++i) r.set(R::PAR[i], box(21 + i));
    r.set(R::XVAP, box(39));
    r.set(R::XVPR, box(43));
    r.set(R::XRIS[5], "X");
    r.set(R::PIST[1], box(92));
    r.set(R::ALED[2], box(46));
    r.set(R::SHM, UMAS::KALOS1);
    r.set(R::PROTH, UMAS::KALOS2);
    std::string d = box(8);
    if (d.size() > 2) d.insert(2, "-");
    if (d.size() > 5) d.insert(5, "-");
    r.set(R::EGGR, PLAT::gr("ΕΔΕ: ") + UMAS::trim(box(1)) + " / " + d);
}

void PRINTT5(const Record& r, int MODE) {
    using R = T5R;
    SCR::CALLM(63, true);
    if (MODE == 2) SCR::PRINT(3, 23, PLAT::gr("ΕΚΔΟΣΗ ΝΕΟΥ ΕΝΤΥΠΟΥ "));
    if (!PRNS::YES(30, 23)) {
        SCR::RECALL();
        return;
    }
    PRNS::Printout o;
    o.open(UMAS::PE_T5);
    o.mode(1);
    auto blank = [&](int b) {
        return (b >= 2 && b <= 6) || b == 8 || (b >= 31 && b <= 33) || (b >= 40 && b <= 42) || b == 44 || b == 45 ||
               (b >= 49 && b <= 65) || b == 80 || b == 84 || (b >= 92 && b <= 206) || (MODE == 1 && b >= 46 && b <= 48);
    };
    for (const GM0::EKTYPV& row : GM0::PV) {
        const int B = row.box, C = row.col, P = row.pitch;
        std::string S = box(B);
        if ((B == 9 || B == 10) && !S.empty() && S[0] != ' ') {
            if (S.size() > 2) S.insert(2, "/");
            if (S.size() > 5) S.insert(5, "/");
        }
        if (B == 101) {
            o.mode(25);
            o.lf(1);
            o.mode(26);
        }
        if (B != 9 && B != 30) {
            o.tab(C);
            o.mode(P);
        }
        if (B == 9 || B == 30) {
            o.mode(1);
            o.at(3, r.get(B == 9 ? R::APO[2] : R::PAR[5]));
            o.tab(C);
            o.mode(P);
        } else if (blank(B)) {
            S.clear();
        } else if (B == 12 || B == 13 || B == 14) {
            S = r.get(R::APO[B == 12 ? 1 : B - 10]);
        } else if (B >= 22 && B <= 25) {
            S = r.get(R::PAR[B - 21]);
        } else if (B == 39) {
            S = r.get(R::XVAP);
        } else if (B == 43) {
            S = r.get(R::XVPR);
        } else if (B == 79) {
            S = UMAS::cut(S, 16);
        }
        if (B < 92) {
            o.text(S);
            o.mode(1);
            o.lf(B == 10 ? 1 : row.lf);
        } else {
            o.mode(1);
        }
    }
    const bool m1 = MODE == 1;
    auto line = [&](int col, const std::string& s, int feeds) {
        o.at(col, s);
        o.lf(feeds);
    };
    o.mode(1);
    o.lf(1);
    line(38, r.get(R::KATH), m1 ? 2 : 1);
    const int left = m1 ? 2 : 1;
    line(left, r.get(R::XRIS[1]), 1);
    line(38, r.get(R::XRIS[2]), 1);
    line(left, r.get(R::XRIS[3]), 1);
    line(38, r.get(R::XRIS[4]), 1);
    line(left, r.get(R::XRIS[5]), m1 ? 2 : 1);
    line(2, r.get(R::ALLO[1]), 1);
    if (m1) {
        o.at(2, r.get(R::ALLO[2]));
    }
    o.lf(2);
    line(2, r.get(R::PIST[1]), 1);
    line(2, r.get(R::PIST[2]), m1 ? 3 : 1);
    line(2, r.get(R::ALED[1]), 1);
    line(2, r.get(R::ALED[2]), 1);
    line(2, r.get(R::ALED[3]), 3);
    o.at(2, UMAS::cut(box(203), 40));
    line(48, r.get(R::EGGR), 3);
    o.at(2, PLAT::gr("ΚΑΛΩΣ"));
    line(48, box(207), m1 ? 3 : 2);
    line(2, r.get(R::SHM), 1);
    line(10, r.get(R::PROTH), 1);
    o.mode(11);
    o.mode(66);
    o.F.close();
    UMAS::PRINTUSB();
    SCR::RECALL();
}

void T5() {
    runForm(101, T5R::SIZE, ".T5", T5TABLE(), T5FILL, [](Record& r, int K) {
        if (K == 14) PRINTT5(r, 1);
        if (K == 21) PRINTT5(r, 2);
    });
}

}  // namespace EKD3
