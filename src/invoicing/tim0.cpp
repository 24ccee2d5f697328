#include "invoicing/tim0.h"

#include <cmath>
#include <cstdio>

#include "common/umas.h"
#include "config/params.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/files.h"

namespace TIM0 {

// ---- RTIM codec -------------------------------------------------------------------------------------

RTIM RTIM::decode(const uint8_t* p) {
    using namespace PLAT;
    RTIM r;
    r.SEIRA = getS(p + O_SEIRA, 2);
    r.TM = getS(p + O_TM, 6);
    r.HM = getS(p + O_HM, 6);
    r.KD = getS(p + O_KD, 10);
    r.PR = getW(p + O_PR);
    r.EA = getS(p + O_EA, 30);
    r.ON = getS(p + O_ON, 30);
    r.PO = getS(p + O_PO, 20);
    r.DI = getS(p + O_DI, 30);
    r.AF = getS(p + O_AF, 10);
    r.TH1 = getS(p + O_TH1, 13);
    for (int i = 1; i <= 19; ++i) r.XR[size_t(i)] = getL(p + O_XR + 4 * (i - 1));
    for (int i = 1; i <= 12; ++i) r.NO[size_t(i)] = getS(p + O_NO + 10 * (i - 1), 9);
    for (int i = 13; i <= 16; ++i) r.AI[size_t(i)] = getS(p + O_AI + 24 * (i - 13), 23);
    for (int i = 1; i <= 14; ++i) r.DX[size_t(i)] = getL(p + O_DX + 4 * (i - 1));
    for (int i = 1; i <= 2; ++i) r.DP[size_t(i)] = getS(p + O_DP + 42 * (i - 1), 41);
    for (int i = 1; i <= 8; ++i) r.FX[size_t(i)] = getL(p + O_FX + 4 * (i - 1));
    for (int i = 1; i <= 8; ++i) r.FF[size_t(i)] = getW(p + O_FF + 2 * (i - 1));
    for (int i = 1; i <= 3; ++i) r.FA[size_t(i)] = getS(p + O_FA + 14 * (i - 1), 13);
    for (int i = 1; i <= 22; ++i) r.DS[size_t(i)] = getS(p + O_DS + 41 * (i - 1), 40);
    for (int i = 1; i <= 4; ++i) r.PAIPS[size_t(i)] = getL(p + O_PAIPS + 4 * (i - 1));
    r.AKNUM = getL(p + O_AKNUM);
    r.AKPAIP = getL(p + O_AKPAIP);
    r.FILLER = getS(p + O_FILLER, 20);
    return r;
}

void RTIM::encode(uint8_t* p) const {
    using namespace PLAT;
    putS(p + O_SEIRA, 2, SEIRA);
    putS(p + O_TM, 6, TM);
    putS(p + O_HM, 6, HM);
    putS(p + O_KD, 10, KD);
    putW(p + O_PR, PR);
    putS(p + O_EA, 30, EA);
    putS(p + O_ON, 30, ON);
    putS(p + O_PO, 20, PO);
    putS(p + O_DI, 30, DI);
    putS(p + O_AF, 10, AF);
    putS(p + O_TH1, 13, TH1);
    for (int i = 1; i <= 19; ++i) putL(p + O_XR + 4 * (i - 1), XR[size_t(i)]);
    for (int i = 1; i <= 12; ++i) putS(p + O_NO + 10 * (i - 1), 9, NO[size_t(i)]);
    for (int i = 13; i <= 16; ++i) putS(p + O_AI + 24 * (i - 13), 23, AI[size_t(i)]);
    for (int i = 1; i <= 14; ++i) putL(p + O_DX + 4 * (i - 1), DX[size_t(i)]);
    for (int i = 1; i <= 2; ++i) putS(p + O_DP + 42 * (i - 1), 41, DP[size_t(i)]);
    for (int i = 1; i <= 8; ++i) putL(p + O_FX + 4 * (i - 1), FX[size_t(i)]);
    for (int i = 1; i <= 8; ++i) putW(p + O_FF + 2 * (i - 1), FF[size_t(i)]);
    for (int i = 1; i <= 3; ++i) putS(p + O_FA + 14 * (i - 1), 13, FA[size_t(i)]);
    for (int i = 1; i <= 22; ++i) putS(p + O_DS + 41 * (i - 1), 40, DS[size_t(i)]);
    for (int i = 1; i <= 4; ++i) putL(p + O_PAIPS + 4 * (i - 1), PAIPS[size_t(i)]);
    putL(p + O_AKNUM, AKNUM);
    putL(p + O_AKPAIP, AKPAIP);
    putS(p + O_FILLER, 20, FILLER);
}

// ---- The amount rule --------------------------------------------------------------------------------

int YEAROF(const std::string& HM) {
    if (HM.size() < 6) return 0;
    char a = HM[4], b = HM[5];
    if (a < '0' || a > '9' || b < '0' || b > '9') return 0;
    return (a - '0') * 10 + (b - '0');
}

bool EUROYEARS(int Y) { return Y >= 2 && Y <= 89; }
bool EURODOC(const std::string& HM) { return EUROYEARS(YEAROF(HM)); }

double ROUND(double x) { return std::nearbyint(x); }  // the default rounding mode: ties to even

namespace {
bool fitsLongint(double v) { return std::isfinite(v) && v >= -2147483648.0 && v <= 2147483647.0; }
}  // namespace

int32_t STORED(double amount, bool euro, bool& ok) {
    double v = ROUND(euro ? amount * 100.0 : amount);
    if (!fitsLongint(v)) {
        ok = false;
        return 0;
    }
    return int32_t(v);
}

int32_t STORED(double amount, bool euro) {
    bool ok = true;
    return STORED(amount, euro, ok);
}

double LOADED(int32_t stored, bool euro) { return euro ? stored / 100.0 : double(stored); }

int32_t MYROUND(double X, bool& ok) {
    double i = std::trunc(X);
    double f = (X - i) + 0.0000001;
    double v = ROUND(i + f);
    if (!fitsLongint(v)) {
        ok = false;
        return 0;
    }
    return int32_t(v);
}

int32_t MYROUND(double X) {
    bool ok = true;
    return MYROUND(X, ok);
}

bool LINEVAT(int K, const std::array<std::string, 17>& AI) {
    if (K >= 1 && K <= 13) return !PARAMS::PARTIM1[size_t(K)].empty() && PARAMS::PARTIM1[size_t(K)][0] == '_';
    if (K >= 14 && K <= 17) return !AI[size_t(K - 1)].empty() && AI[size_t(K - 1)][0] == '_';
    return K == 18;
}

double VATOF(double R, double x) { return MYROUND(R * x) / 100.0; }

double TOTAL(const RTIM& r) {
    const bool euro = EURODOC(r.HM);
    const double R = r.FF[1];
    double su = 0;
    for (int K = 1; K <= 18; ++K) {
        double x = LOADED(r.XR[size_t(K)], euro);
        su += x;
        if (LINEVAT(K, r.AI)) su += VATOF(R, x);
    }
    return su;
}

std::string AMOUNTTEXT(double x, bool euro) {
    if (!(x >= 0.01)) return std::string(10, ' ');
    char buf[64];
    std::snprintf(buf, sizeof buf, euro ? "%10.2f" : "%10.0f", x);
    return buf;
}

// ---- The document in memory ---------------------------------------------------------------------------

std::string SEIRA, TM, HM, KD;
std::array<double, 20> XR{};
std::array<double, 15> DX{};
std::array<double, 9> FX{};
std::array<std::string, 13> NO;
std::array<std::string, 17> AI;
std::array<std::string, 3> DP;
std::array<std::string, 4> FA;
std::array<std::string, 23> DS;
std::array<std::string, 9> FF;
double SU = 0, RAPTSU = 0;
std::string FP;
int EUROYEAR = 0;
std::string BP;

std::string AMOUNTWORDS(double amount, bool euro) {
    char b[64];
    std::snprintf(b, sizeof b, euro ? "%.2f" : "%.0f", amount);
    std::string words;
    // Only euros have a currency word: a drachma amount is read without one.
    PARAMS::OLOG(b, euro ? 0 : 1, euro ? 0 : 1, words);
    return words;
}

std::string FA1DEFAULT() { return PLAT::gr("Πρακτορειακά"); }

int32_t DAPANES() {
    auto lines = PLAT::readLines(UMAS::PATH + "DAPANES.TXT");
    if (!lines || lines->empty()) return 0;
    return int32_t(UMAS::EVAL((*lines)[0]));
}

}  // namespace TIM0
