// The customs value declaration DV1: two free lines and up to three amounts with their currency
// and rate (proposed from the declaration), then its two sheets, each after its own question.
#include <cmath>

#include "codes/kvdi.h"
#include "declarations/taxlines.h"
#include "documents/ekd3.h"
#include "platform/codepage.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace EKD3 {

using namespace BOD;

DV1Entry DV1PROPOSAL() {
    DV1Entry e;
    e.O1 = UMAS::cut(SOB(DIA, GV, 29), 25);
    int group = 161;
    for (int g : {145, 149, 153, 157, 161})
        if (!IFSP(DIA, GV, g)) {
            group = g;
            break;
        }
    const std::string amount = SOB(DIA, GV, group + 1);
    const size_t star = amount.find('*');
    const double v = star == std::string::npos ? 0 : UMAS::EVAL(amount.substr(0, star));
    e.P[0] = UMAS::cut(std::to_string(int64_t(std::nearbyint(v))), 10);
    e.S[0] = UMAS::cut(SOB(DIA, GV, group), 3);
    e.I[0] = UMAS::cut(SOB(DIA, GV, 56), 7);
    for (int k = 1; k <= 2; ++k) e.S[k] = "   ";
    return e;
}

double DV1EURO(const std::string& amount, const std::string& rate) {
    const double r = UMAS::EVAL(rate);
    if (!(r > 0.00001)) return 0;
    return std::nearbyint(100 * UMAS::EVAL(amount) / r) / 100;
}

namespace {

// The five input fields of mask 84: column, row, width.
struct Field {
    int col, row, width;
};
constexpr Field LE[6] = {{0, 0, 0}, {29, 6, 25}, {29, 7, 25}, {39, 8, 10}, {39, 10, 10}, {39, 12, 10}};

void entry(DV1Entry& e) {
    SCR::CALLM(84, true);
    SCR::PRINT(39, 8, e.P[0]);
    SCR::PRINT(31, 9, e.S[0]);
    SCR::PRINT(45, 9, e.I[0]);
    std::string* value[6] = {nullptr, &e.O1, &e.O2, &e.P[0], &e.P[1], &e.P[2]};
    int i = 1;
    for (;;) {
        const Field& f = LE[i];
        const bool amount = i >= 3;
        if (amount) SCR::CALLM(20, true);
        int K = 0;
        const std::string s = SCR::GINPUT(f.col, f.row, f.width, *value[i], "", SCR::socAll(), false, true, K);
        if (amount) SCR::RECALL();
        if (K != 3) *value[i] = UMAS::cut(s, size_t(f.width));
        if (K == 0 || K == 2) {
            if (i == 5) break;
            ++i;
        } else if (K == 1) {
            if (i > 1) --i;
        } else if (K == 3) {
            break;
        } else if (K == 6 && amount) {
            const int k = i - 3;
            uint8_t kk = 3;
            KVDI::NOM(KVDI::V01, true, SOB(DIA, GV, 8), kk);
            // an empty row of the table is no choice: the amount keeps its currency and rate
            if (kk == 0 && !UMAS::trim(KVDI::V01.ST).empty()) {
                e.S[k] = UMAS::cut(KVDI::V01.ST, 3);
                e.I[k] = UMAS::cut(KVDI::V01.IS, 7);
                SCR::PRINT(31, f.row + 1, "   ");
                SCR::PRINT(45, f.row + 1, "       ");
                SCR::PRINT(31, f.row + 1, e.S[k]);
                SCR::PRINT(45, f.row + 1, e.I[k]);
            }
        }
    }
    SCR::RECALL();
}

// A DDMMYY date as DD/MM/YY.
std::string dayMonthYear(const std::string& d) {
    std::string s = d;
    s.insert(std::min<size_t>(2, s.size()), "/");
    s.insert(std::min<size_t>(5, s.size()), "/");
    return s;
}

void sheet1(const DV1Entry& e) {
    PRNS::Printout o;
    o.open(UMAS::PE_DV1);
    auto line = [&](int col, const std::string& s, int feeds) {
        o.tab(col);
        o.text(s);
        o.lf(feeds);
    };
    o.mode(1);
    line(6, e.O1, 1);
    line(6, e.O2, 3);
    o.tab(6);
    o.text(SOB(DIA, GV, 22));
    o.tab(42);
    o.mode(6);
    const std::string b9 = SOB(DIA, GV, 9);
    o.text(PLAT::gr("Δ/ΣΗ       /") + (b9.size() > 4 ? b9.substr(4, 2) : std::string()));
    o.mode(7);
    o.lf(1);
    line(6, SOB(DIA, GV, 23), 1);
    line(6, SOB(DIA, GV, 24), 1);
    line(6, SOB(DIA, GV, 25), 2);
    line(6, SOB(DIA, GV, 34), 1);
    line(6, SOB(DIA, GV, 35), 1);
    line(6, SOB(DIA, GV, 37), 2);
    o.mode(22);
    o.lf(1);
    o.mode(26);
    line(42, SOB(DIA, GV, 49) + " " + SOB(DIA, GV, 50), 2);
    line(42, SOB(DIA, GV, 62), 7);
    o.mode(4);
    for (int feeds : {12, 2, 7, 3, 8}) {
        o.tab(69);
        o.mode(6);
        o.text("X");
        o.mode(7);
        o.lf(feeds);
    }
    o.mode(5);
    line(58, UMAS::LOGOTYPO[7], 1);
    line(58, dayMonthYear(b9), 1);
    o.mode(26);
    o.mode(11);
    o.F.close();
    UMAS::PRINTUSB();
}

void sheet2(const DV1Entry& e) {
    const double E0 = DV1EURO(e.P[0], e.I[0]), E1 = DV1EURO(e.P[1], e.I[1]), E2 = DV1EURO(e.P[2], e.I[2]);
    const double S0 = E0, S2 = E1 + E2;
    auto rated = [&](int k) { return UMAS::EVAL(e.I[k]) > 0.00001; };
    PRNS::Printout o;
    o.open(UMAS::PE_DV1);
    o.mode(1);
    o.lf(3);
    // text at a column in 12 characters per inch, then back to 10
    auto narrow = [&](int col, const std::string& s) {
        o.tab(col);
        o.mode(2);
        o.text(s);
        o.mode(1);
    };
    // a bold total: letter quality and 12 characters per inch around it
    auto bold = [&](const std::string& s, bool lqLast) {
        o.tab(49);
        o.mode(4);
        o.mode(2);
        o.text(s);
        if (lqLast) {
            o.mode(1);
            o.mode(5);
        } else {
            o.mode(5);
            o.mode(1);
        }
    };
    if (rated(0)) {
        o.lf(1);
        narrow(42, e.P[0]);
        o.lf(1);
        narrow(36, e.S[0] + " / " + e.I[0]);
        o.lf(2);
        o.tab(31);
        o.text("EUR " + FMT(S0, 10, 2));
        bold(FMT(S0, 10, 2), true);
        o.lf(25);
    } else {
        o.lf(29);
    }
    o.mode(25);
    o.lf(1);
    o.mode(26);
    if (rated(1)) {
        o.lf(2);
        o.tab(25);
        o.text(e.P[1] + " " + e.S[1]);
        narrow(49, FMT(E1, 10, 2));
        o.lf(4);
    } else {
        o.lf(6);
    }
    if (rated(2)) {
        o.tab(25);
        o.text(e.P[2] + " " + e.S[2]);
        narrow(49, FMT(E2, 10, 2));
    }
    o.lf(2);
    o.tab(20);
    o.text("EUR " + FMT(E1, 0, 2) + " + EUR " + FMT(E2, 0, 2));
    bold(FMT(S2, 10, 2), true);
    o.lf(11);
    o.tab(22);
    o.text("EUR " + FMT(S0, 0, 2) + " + EUR " + FMT(S2, 0, 2));
    bold(FMT(S0 + S2, 10, 2), false);
    o.lf(2);
    o.mode(26);
    o.mode(11);
    o.F.close();
    UMAS::PRINTUSB();
}

}  // namespace

void DV1() {
    DV1Entry e = DV1PROPOSAL();
    entry(e);
    SCR::CALLM(63, true);
    if (PRNS::YES(30, 23)) sheet1(e);
    SCR::RECALL();
    SCR::CALLM(69, true);
    if (PRNS::YES(38, 23)) sheet2(e);
    SCR::RECALL();
}

}  // namespace EKD3
