// The duty and tax lines: BOD::SM2, BOD::SUM, BOD::PRD, BOD::FOT.
#include "declarations/taxlines.h"

#include <cmath>
#include <cstdio>

#include "codes/kvdi.h"
#include "common/umas.h"
#include "platform/codepage.h"

namespace BOD {

namespace {

const std::string& LABEL_EURO() {
    static const std::string s = PLAT::gr("Σ Υ Ν Ο Λ Ο   EURO");
    return s;
}
const std::string& LABEL_VAT() {
    static const std::string s = PLAT::gr("ΑΞΙΑ ΓΙΑ Φ.Π.Α.");
    return s;
}
const std::string& LABEL_DUTIES() {
    static const std::string s = PLAT::gr("ΔΑΣΜΟΙ κλπ ΕΞΟΔΑ");
    return s;
}

int sw(int n) { return UMAS::PAREDE[size_t(n)].TIMI; }

// A scale switch n of 1..6 divides by 10^n; any other value leaves the quantity unchanged.
double scaled(double q, int n) {
    if (n >= 1 && n <= 6) return q / std::pow(10.0, n);
    return q;
}

double val(SCB P, GGV G, int n) { return UMAS::EVAL(SOB(P, G, n)); }

// The text after the first colon (the whole text when it has none).
std::string afterColon(const std::string& s) {
    size_t p = s.find(':');
    return p == std::string::npos ? s : s.substr(p + 1);
}

std::string cutTrailing(const std::string& s) {
    size_t e = s.find_last_not_of(' ');
    return e == std::string::npos ? "" : s.substr(0, e + 1);
}

bool inSet(int code, std::initializer_list<int> set) {
    for (int c : set)
        if (c == code) return true;
    return false;
}

// Percentage kinds put a "%" after the rate box.
bool percentKind(int ei) { return inSet(ei, {1, 2, 5, 6, 7, 8, 9, 10, 12, 17, 18, 20, 21, 25, 26, 27, 28}); }
bool quantityKind(int ei) { return inSet(ei, {13, 14, 15, 16, 22, 23, 24, 29, 30}); }

// Rounded to cents as Int(A) + Round(Frac(A) * 100) / 100.
double cents(double A) {
    double i = std::trunc(A);
    return i + std::nearbyint((A - i) * 100.0) / 100.0;
}

// The non-blank characters of s[from, to) (0-based), at most cap of them.
std::string nonBlank(const std::string& s, size_t from, size_t to, size_t cap) {
    std::string r;
    for (size_t i = from; i < to && i < s.size(); ++i)
        if (s[i] != ' ' && r.size() < cap) r += s[i];
    return r;
}

}  // namespace

int64_t MYROUND(double X) {
    double i = std::trunc(X);
    double v = std::nearbyint(i + ((X - i) + 0.0000001));
    // An amount beyond the 64-bit range (or no number at all) rounds to 0, as the invoice
    // rounding does with amounts beyond its range.
    if (!std::isfinite(v) || !(std::fabs(v) < 9.2e18)) return 0;
    return int64_t(v);
}

std::string FMT(double X, int W, int D) {
    char buf[400];
    std::snprintf(buf, sizeof buf, "%*.*f", W, D, X);
    return buf;
}

void PRD(SCB PD, GGV PG, int VC) {
    const std::string code = SOB(PD, PG, VC - 1);
    const std::string ex = SOB(PD, PG, VC);
    const int amount = VC + 2;
    auto writeCents = [&](double A) {
        A = cents(A);
        BOS(PD, PG, amount, A == 0 ? std::string(10, ' ') : FMT(A, 10, 2));
    };
    if (code.find_first_not_of(' ') == std::string::npos) {
        writeCents(val(PD, PG, amount));
        return;
    }
    const size_t limit = std::min<size_t>(18, ex.size());
    const size_t slash = ex.find('/');
    if (slash != std::string::npos && slash < limit) {
        double a = UMAS::EVAL(nonBlank(ex, 0, slash, 10));
        double b = UMAS::EVAL(nonBlank(ex, slash + 1, 18, 8));
        writeCents(b > 0.01 ? a / b : 0.0);
        return;
    }
    const size_t star = ex.find('*');
    if (star != std::string::npos && star < limit) {
        if (code == "EUR") return;
        double a = UMAS::EVAL(nonBlank(ex, 0, star, 10));
        double b = UMAS::EVAL(nonBlank(ex, star + 1, 18, 8));
        double A = a * b;
        BOS(PD, PG, amount, A == 0 ? std::string(10, ' ') : FMT(A, 10, 2));
        return;
    }
    BOS(PD, PG, VC - 1, "");
    BOS(PD, PG, VC + 1, "");
    PD.CCH(PG.ROW(VC), 65) = ' ';
}

void SUM(SCB PD, GGV PG, int FV, int SJ, MOT& MC, const std::string& EXT) {
    (void)MC;
    double G = 0, S = 0;
    for (int I = FV; I <= FV + 24; I += 4) {
        if (I < FV + 20) PRD(PD, PG, I - 2);
        double A = val(PD, PG, I);
        G += A;
        if (!IFSP(PD, PG, I - 3)) S += A;
    }
    if (G < 0.01) {
        BOS(PD, PG, FV + 31, "");
        BOS(PD, PG, FV + 32, "");
    } else {
        BOS(PD, PG, FV + 31, FMT(G, 10, 2));
        BOS(PD, PG, FV + 32, LABEL_EURO());
    }
    G += val(PD, PG, FV + 28);
    const std::string proc = SOB(PD, PG, SJ - 16);
    if (G < 0.01 || proc.compare(0, 2, "07") == 0 || EXT == "EXP") {
        BOS(PD, PG, FV + 29, "");
        BOS(PD, PG, FV + 30, "");
    } else {
        BOS(PD, PG, FV + 29, FMT(G, 10, 2));
        BOS(PD, PG, FV + 30, LABEL_VAT());
    }
    BOS(PD, PG, SJ, S < 0.01 ? "" : FMT(S, 10, 2));
}

void SM2(SCB PD, GGV PG, int FO, int FV, int SJ, MOT& MC, const std::string& EXT) {
    double SA = 0, EF = 0, SL = 0, ESL = 0, PLATO = 0, EGF = 0, AG = 0, ETEP = 0, GS = 0, EPIFORON = 0;
    double SA141 = 0, EF141 = 0, SL141 = 0, AS141 = 0, ESL141 = 0, PLATO141 = 0, EGF141 = 0, GF141 = 0,
           GS141 = 0, AG141 = 0, GM141 = 0, ETEP141 = 0, EPIFORON141 = 0;
    (void)GS;
    const int sw10 = sw(10), sw11 = sw(11), sw16 = sw(16);
    const bool dfk = EXT == "DFK";
    auto baseBox = [&](int I) { return FO + 5 * I; };
    auto rateBox = [&](int I) { return FO + 5 * I + 1; };
    auto amountBox = [&](int I) { return FO + 5 * I + 2; };
    auto writeBase = [&](int I, double b) { BOS(PD, PG, baseBox(I), b < 0.01 ? "" : FMT(b, 10, 2)); };
    auto writeQty = [&](int I, double q) { BOS(PD, PG, baseBox(I), q < 0.001 ? "" : FMT(q, 10, sw16 + 2)); };
    // The percentage rule: base written, amount MYROUND(base x rate) / 100; returns the amount as
    // formatted (two decimals).
    auto percent = [&](int I, double base) {
        double rate = val(PD, PG, rateBox(I));
        writeBase(I, base);
        double raw = double(MYROUND(base * rate)) / 100.0;
        double amt = UMAS::EVAL(FMT(raw, 10, 2));
        BOS(PD, PG, amountBox(I), base * rate / 100.0 < 0.01 ? "" : FMT(amt, 10, 2));
        return std::pair<double, double>{amt, raw};
    };
    // The amounts of the other lines whose code is in the set.
    auto others = [&](int I, std::initializer_list<int> set) {
        double s = 0;
        for (int J = 1; J <= 8; ++J)
            if (J != I && inSet(MC.EIF[size_t(J)], set)) s += val(PD, PG, amountBox(J));
        return s;
    };

    for (int I = 1; I <= 8; ++I) {
        const int code = MC.EIF[size_t(I)];
        if (code == 0 || code > 30) continue;
        switch (code) {
        case 1:
        case 5: {
            double base = val(PD, PG, FV + 29);
            double rate = val(PD, PG, rateBox(I));
            writeBase(I, base);
            double amt = double(MYROUND(base * rate)) / 100.0;
            BOS(PD, PG, amountBox(I), amt < 0.01 ? "" : FMT(amt, 10, 2));
            GS = amt;
            if (code == 1) GS141 = amt;
            break;
        }
        case 2:
        case 6: {
            double a = percent(I, val(PD, PG, SJ)).first;
            SA += a;
            if (code == 2) SA141 += a;
            break;
        }
        case 3: GF141 += val(PD, PG, amountBox(I)); break;
        case 4:
        case 11: {
            double a = val(PD, PG, amountBox(I));
            BOS(PD, PG, amountBox(I), std::fabs(a) < 0.01 ? "" : FMT(a, 10, 2));
            EF += a;
            if (code == 4) EF141 += a;
            break;
        }
        case 7:
        case 8: {
            double base = val(PD, PG, SJ) + others(I, {2, 4, 6, 9, 10, 11, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22,
                                                       23, 24, 27, 28});
            double a = percent(I, base).first;
            AG += a;
            if (code == 8) AG141 += a;
            break;
        }
        case 9:
        case 10: {
            double a = percent(I, val(PD, PG, SJ)).first;
            if (code == 10) AS141 += a;
            break;
        }
        case 12: {
            double base = val(PD, PG, SJ) + others(I, {2, 4, 6, 9, 11, 14, 15, 16, 17, 18, 22, 23, 24, 27, 28});
            GM141 += percent(I, base).first;
            break;
        }
        case 13:
        case 14: {
            double q = scaled(val(PD, PG, SJ - 14), sw10);
            double rate = val(PD, PG, rateBox(I));
            writeQty(I, q);
            double a = UMAS::EVAL(FMT(rate * q, 10, 2));
            BOS(PD, PG, amountBox(I), rate * q < 0.01 ? "" : FMT(a, 10, 2));
            ESL += a;
            if (code == 13) ESL141 += a;
            break;
        }
        case 15:
        case 16:
        case 29:
        case 30: {
            int from = code <= 16 ? SJ - 11 : SJ - 10;
            double q = scaled(UMAS::EVAL(afterColon(SOB(PD, PG, from))), sw11);
            double rate = val(PD, PG, rateBox(I));
            writeQty(I, q);
            double a = double(MYROUND(rate * q * 100.0)) / 100.0;
            BOS(PD, PG, amountBox(I), rate * q < 0.01 ? "" : FMT(a, 10, 2));
            SL += a;
            if (code == 15 || code == 29) SL141 += a;
            break;
        }
        case 17:
        case 18: {
            if (I == 1) break;
            double raw = percent(I, val(PD, PG, amountBox(I - 1))).second;
            ETEP += raw;
            if (code == 17) ETEP141 += raw;
            break;
        }
        case 19: {
            double a = std::fabs(val(PD, PG, amountBox(I)));
            BOS(PD, PG, amountBox(I), a < 0.01 ? " " : FMT(-a, 10, 2));
            GF141 -= a;
            break;
        }
        case 20:
        case 21: {
            double a = percent(I, val(PD, PG, SJ) + SL + ESL + PLATO).first;
            EGF += a;
            if (code == 20) EGF141 += a;
            break;
        }
        case 22: {
            int second = SJ == MAIN_SJ ? 69 : 20;
            double base = double(MYROUND(val(PD, PG, SJ - 10) * val(PD, PG, second) * 100.0)) / 100.0;
            double a = percent(I, base).first;
            SA += a;
            SA141 += a;
            break;
        }
        case 23:
        case 24: {
            double R1 = val(PD, PG, rateBox(I));
            std::string qt = afterColon(SOB(PD, PG, SJ - 11));
            std::string dt = SOB(PD, PG, dfk ? SJ - 4 : SJ - 1);
            double Q = UMAS::EVAL(qt), D = UMAS::EVAL(dt);
            double P = Q * D;
            if (sw11 >= 0 && sw11 <= 6) P = P / std::pow(10.0, sw11);
            BOS(PD, PG, baseBox(I), P < 0.001 ? "" : cutTrailing(qt) + "x" + cutTrailing(dt) + "x");
            double raw = double(MYROUND(R1 * P * 1000.0)) / 1000.0;
            double a = UMAS::EVAL(FMT(raw, 10, 2));
            BOS(PD, PG, amountBox(I), R1 * P < 0.01 ? "" : FMT(raw, 10, 2));
            PLATO += a;
            if (code == 23) PLATO141 += a;
            break;
        }
        case 25:
        case 26: {
            double base = 0;
            for (int J = 1; J <= 8; ++J)
                if (!inSet(MC.EIF[size_t(J)], {1, 3, 5, 9, 10, 12, 25, 26, 27, 28}))
                    base += val(PD, PG, amountBox(J));
            double raw = percent(I, base).second;
            EPIFORON += raw;
            if (code == 25) EPIFORON141 += raw;
            break;
        }
        case 27:
        case 28: {
            double a = percent(I, val(PD, PG, dfk ? SJ - 9 : SJ - 1)).first;
            if (code == 27) AS141 += a;
            break;
        }
        default: break;
        }
    }
    (void)EPIFORON;
    const double D = SA + EF + SL + ESL + PLATO + EGF + AG + ETEP;
    if (std::fabs(D) < 0.01) {
        BOS(PD, PG, FV + 26, "");
        BOS(PD, PG, FV + 28, "");
    } else {
        BOS(PD, PG, FV + 26, LABEL_DUTIES());
        BOS(PD, PG, FV + 28, FMT(D, 10, 2));
    }
    const double T = SA141 + EF141 + SL141 + AS141 + ESL141 + PLATO141 + EGF141 + GF141 + GS141 + AG141 +
                     GM141 + ETEP141 + EPIFORON141;
    BOS(PD, PG, FO + 44, T < 0.01 ? "" : FMT(double(MYROUND(100.0 * T)) / 100.0, 10, 2));
    SUM(PD, PG, FV, SJ, MC, EXT);
}

void FOT(SCB PD, GGV PG, int VR, int OFS, MOT& MC) {
    const KVDI::RECTAX X = KVDI::getTax(KVDI::V0C);
    BOS(PD, PG, VR, X.KV);
    const int line = (VR - OFS) / 5 + 1;
    if (line >= 1 && line <= 8) MC.EIF[size_t(line)] = X.EI;
    const double R = UMAS::EVAL(X.PS);
    const int dec = sw(12) + 2;
    const int rate = VR + 2;
    if (percentKind(X.EI)) {
        BOS(PD, PG, rate, R == 0 ? "" : FMT(R, 7, dec));
        BOS(PD, PG, VR + 1, "");
        BOS(PD, PG, VR + 3, "");
        PD.CCH(PG.ROW(rate), PG.COL(rate) + 7) = '%';
    } else if (quantityKind(X.EI)) {
        bool frac = R != std::trunc(R);
        BOS(PD, PG, rate, R == 0 ? "" : FMT(R, 7, frac ? dec : 0));
        BOS(PD, PG, VR + 1, "");
        BOS(PD, PG, VR + 3, "");
    } else {
        BOS(PD, PG, VR + 3, R < 0.01 ? "" : FMT(R, 10, 2));
        BOS(PD, PG, VR + 1, X.FO);
        PD.CCH(PG.ROW(rate), PG.COL(rate) + 7) = ' ';
        BOS(PD, PG, rate, X.FO.size() > 10 ? X.FO.substr(10, 4) : "");
    }
}

bool PERCENTKIND(uint8_t k) { return percentKind(k); }

}  // namespace BOD
