// The VAT rate table of an invoice (mask 14): its computation with the by-rate summary, its drawing
// and its editor.
#include <array>
#include <cstdlib>

#include "common/umas.h"
#include "config/params.h"
#include "invoicing/tim.h"
#include "invoicing/tim0.h"
#include "screen/scr.h"

namespace TIM0 {

std::array<std::string, 4> FO1;
std::array<double, 4> A1{};

double RATEVALUE(const std::string& t) {
    size_t a = t.find_first_not_of(' ');
    if (a == std::string::npos) return 0;
    size_t e = t.find_last_not_of(' ');
    const std::string s = t.substr(a, e - a + 1);
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (end == s.c_str() || *end != '\0') return 0;
    // Only plain decimal numbers count ("1e2", "inf", "0x10" and signs are not rates).
    if (s.find_first_not_of("0123456789.") != std::string::npos) return 0;
    return v;
}

namespace {

constexpr int ROWS[7] = {1, 2, 3, 4, 6, 7, 8};

void put(int x, int y, const std::string& s, bool draw) {
    if (draw) SCR::PRINT(x, y, s);
}

// What row 1's amount is computed from: the amounts of charge lines 1 to 18, which of them carry
// VAT, and the value of the document's rate.
struct Row1Basis {
    std::array<double, 19> XR{};
    std::array<bool, 19> VAT{};
    double RATE = 0;
    bool operator==(const Row1Basis&) const = default;
};

Row1Basis row1Basis() {
    Row1Basis b;
    for (int k = 1; k <= 18; ++k) {
        b.XR[size_t(k)] = XR[size_t(k)];
        b.VAT[size_t(k)] = LINEVAT(k, AI);
    }
    b.RATE = UMAS::EVAL(FF[1]);
    return b;
}

// Row 1 holds the clerk's own amount, typed while the charge lines and the rate were ownBasis.
bool ownRow1 = false;
Row1Basis ownBasis;

}  // namespace

double TAXEDAMOUNT() {
    double taxed = 0;
    for (int k = 1; k <= 18; ++k)
        if (LINEVAT(k, AI)) taxed += XR[size_t(k)];
    return taxed;
}

void ROW1OWN(bool OWN) {
    ownRow1 = OWN;
    ownBasis = row1Basis();
}

void FILLROW1() {
    if (ownRow1 && ownBasis == row1Basis()) return;
    ownRow1 = false;
    FX[1] = TAXEDAMOUNT();
}

void BXO(bool B) {
    const bool euro = EUROYEARS(EUROYEAR);
    for (int i = 1; i <= 3; ++i) {
        FO1[size_t(i)].clear();
        A1[size_t(i)] = 0;
    }
    double totA = 0, totV = 0;
    for (int r : ROWS) {
        std::string& f = FF[size_t(r)];
        if (f.size() == 1) f = "  " + f;
        else if (f.size() == 2) f = " " + f;
        const double V = RATEVALUE(f);
        for (int i = 1; i <= 3; ++i) {
            const int j = i % 3 + 1, k = j % 3 + 1;
            if (RATEVALUE(FO1[size_t(i)]) == 0 && f != FO1[size_t(j)] && f != FO1[size_t(k)]) {
                FO1[size_t(i)] = f;
                A1[size_t(i)] = 0;
            }
        }
        const int y = r + 6;
        put(16, y, AMOUNTTEXT(FX[size_t(r)], euro), B);
        put(27, y, "   ", B);
        put(27, y, UMAS::cut(f, 3), B);
        put(32, y, V == 0 ? std::string(10, ' ') : AMOUNTTEXT(V * FX[size_t(r)] / 100, euro), B);
        if (V != 0)
            for (int i = 1; i <= 3; ++i)
                if (RATEVALUE(FO1[size_t(i)]) == V) {
                    A1[size_t(i)] += FX[size_t(r)];
                    break;
                }
        totA += FX[size_t(r)];
        totV += V * FX[size_t(r)] / 100;
    }
    put(16, 19, AMOUNTTEXT(totA, euro), B);
    put(32, 19, AMOUNTTEXT(totV, euro), B);
    for (int i = 1; i <= 3; ++i)
        for (int j = i + 1; j <= 3; ++j)
            if (RATEVALUE(FO1[size_t(i)]) > RATEVALUE(FO1[size_t(j)]) && RATEVALUE(FO1[size_t(j)]) != 0) {
                std::swap(FO1[size_t(i)], FO1[size_t(j)]);
                std::swap(A1[size_t(i)], A1[size_t(j)]);
            }
    if (!B) return;
    for (int i = 1; i <= 3; ++i) {
        const int y = i + 15;
        SCR::PRINT(5, y, "   ");
        SCR::PRINT(5, y, UMAS::cut(FO1[size_t(i)], 3));
        SCR::PRINT(16, y, AMOUNTTEXT(A1[size_t(i)], euro));
        const double vat = RATEVALUE(FO1[size_t(i)]) * A1[size_t(i)] / 100;
        SCR::PRINT(32, y, A1[size_t(i)] == 0 ? std::string(10, ' ') : AMOUNTTEXT(euro ? vat : ROUND(vat), euro));
    }
    for (int i = 1; i <= 3; ++i) SCR::PRINT(2, i + 11, UMAS::padTo(FA[size_t(i)], 13));
}

void PXP() {
    SCR::CALLM(14, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({5}, GM2());
    EUROYEAR = YEAROF(HM);
    const bool euro = EUROYEARS(EUROYEAR);

    // Row 1 is the invoice's taxed amount at the invoice's rate, unless the clerk's own amount
    // still stands.
    FF[1] = FP;
    FILLROW1();
    BXO(true);

    const SCR::SOC amountChars = SCR::soc("0123456789.");
    // Rates are whole percent: a point would be cut off when the rate is stored.
    const SCR::SOC rateChars = SCR::socDigits();
    enum { AMOUNT, RATE, CAPTION } f = AMOUNT;
    int r = 1, k = 0;
    auto next = [](int row) { return row == 4 ? 6 : row + 1; };
    auto prev = [](int row) { return row == 6 ? 4 : row - 1; };
    for (;;) {
        if (f == AMOUNT) {
            const std::string init = FX[size_t(r)] < 0.01 ? "" : UMAS::trim(AMOUNTTEXT(FX[size_t(r)], euro));
            const std::string s = SCR::GINPUT(16, r + 6, 10, init, "", amountChars, false, true, k);
            FX[size_t(r)] = UMAS::EVAL(s);
            BXO(true);
            if (k == 0 || k == 2) {
                f = RATE;
            } else if (k == 1) {
                if (r == 1) break;
                if (r >= 6) {
                    f = CAPTION;
                } else {
                    r = prev(r);
                    f = RATE;
                }
            } else if (k == 3) {
                break;
            } else if (k == 20) {
                PARAMS::CALC(CAS);
            }
        } else if (f == RATE) {
            FF[size_t(r)] = SCR::GINPUT(27, r + 6, 3, UMAS::trim(FF[size_t(r)]), "", rateChars, false, true, k);
            BXO(true);
            if (k == 6) {
                const double D = 1 + RATEVALUE(FF[size_t(r)]) * 0.01;
                FX[size_t(r)] = FX[size_t(r)] / D;
                if (!euro) FX[size_t(r)] = ROUND(FX[size_t(r)]);
                BXO(true);
                k = 0;
            }
            if (k == 0 || k == 2) {
                if (r == 8) break;
                r = next(r);
                f = r >= 6 ? CAPTION : AMOUNT;
            } else if (k == 1) {
                f = AMOUNT;
            } else if (k == 3) {
                break;
            } else if (k == 20) {
                PARAMS::CALC(CAS);
            }
        } else {
            FA[size_t(r - 5)] = SCR::GINPUT(2, r + 6, 13, FA[size_t(r - 5)], "", SCR::socAll(), false, true, k);
            if (k == 0 || k == 2) {
                f = AMOUNT;
            } else if (k == 1) {
                r = prev(r);
                f = RATE;
            } else if (k == 3) {
                break;
            } else if (k == 20) {
                PARAMS::CALC(CAS);
            }
        }
    }
    // An amount in row 1 other than the taxed amount is the clerk's, and stands until the charge
    // lines or the rate change.
    ROW1OWN(STORED(FX[1], euro) != STORED(TAXEDAMOUNT(), euro));
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace TIM0
