// One printed copy of an invoice, a credit note or a cancellation document on the pre-printed form:
// the 144 field texts, their print order by row and column, and the signature line.
#include <cstdio>
#include <vector>

#include "common/umas.h"
#include "config/params.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/codepage.h"

namespace TIM {

namespace {

using UMAS::cut;
using UMAS::trim;

std::string rtrim(const std::string& s) { return UMAS::CUTLEADSPACES(s); }

std::string noUnderscore(const std::string& s) { return !s.empty() && s[0] == '_' ? s.substr(1) : s; }

std::string dateText(const std::string& HM) {
    if (HM.size() < 6) return HM;
    return HM.substr(0, 2) + "/" + HM.substr(2, 2) + "/" + HM.substr(4, 2);
}

// The VAT of an amount at a rate for the printed analysis: a whole number in drachma years.
double printedVat(double R, double x, bool euro) { return euro ? (R * x + 0.0001) / 100 : TIM0::ROUND(R * x / 100); }

bool isDevice(const std::string& ST) {
    for (const char* d : {"LPT1", "LPT2", "LPT3", "COM1", "COM2"})
        if (ST == d) return true;
    return false;
}

}  // namespace

std::string TIMOS::PRINTPAIPS(const FORMIX::EAFDSSREC& DRV) {
    std::string s;
    if (!DRV.SIG.empty()) s = DRV.SIGPRN;
    if (DRV.AATOTAL < 0) s += PLAT::gr("ΧΩΡΙΣ ΣΗΜΑΝΣΗ ΛΟΓΩ ΒΛΑΒΗΣ ΤΗΣ ΕΑΦΔΣΣ ΜΕ ΑΡ.ΜΗΤΡΩΟΥ: ") + FORMIX::FORMIXSN;
    return s;
}

std::array<std::string, 145> TIMOS::COLLECT(int KIND, const std::string& caption117) const {
    using namespace TIM0;
    std::array<std::string, 145> B;
    const bool euro = EUROYEARS(EUROYEAR);
    auto amount = [&](double x) { return PTL(x, KIND); };
    auto nonZero = [&](double x) { return x == 0 ? std::string() : amount(x); };
    // The rate texts are normalised and the by-rate sums taken before any field is collected, so
    // that every copy, the first included, prints the rates as the document holds them.
    BXO(false);

    B[1] = TM;
    B[2] = dateText(HM);
    B[3] = rtrim(APODI::EA);
    B[4] = rtrim(APODI::DI);
    B[5] = rtrim(APODI::PO);
    B[6] = rtrim(APODI::EG);
    B[7] = APODI::AF;
    B[8] = APODI::EF;
    B[9] = APODI::TH1;
    for (int i = 1; i <= 22; ++i) B[size_t(9 + i)] = DS[size_t(i)];
    for (int k = 1; k <= 13; ++k)
        B[size_t(31 + k)] = XR[size_t(k)] < 0.01 ? "" : noUnderscore(PARAMS::PARTIM1[size_t(k)]);
    for (int k = 14; k <= 17; ++k) B[size_t(31 + k)] = XR[size_t(k)] < 0.01 ? "" : noUnderscore(AI[size_t(k - 1)]);
    for (int i = 1; i <= 11; ++i) B[size_t(48 + i)] = rtrim(NO[size_t(i)]);
    for (int k = 1; k <= 17; ++k) B[size_t(59 + k)] = XR[size_t(k)] < 0.01 ? "" : amount(XR[size_t(k)]);
    B[77] = amount(XR[18]);
    B[78] = FF[1];
    double V = 0, T = 0;
    for (int k = 1; k <= 18; ++k) {
        V += EXEIFPA(k);
        T += XR[size_t(k)];
    }
    T += V;
    B[79] = nonZero(V);
    B[80] = nonZero(T);
    {
        const std::string words = cut(AMOUNTWORDS(T, euro), 90);
        B[81] = cut(words, 30);
        B[82] = words.size() > 30 ? cut(words.substr(30), 30) : "";
        B[83] = words.size() > 60 ? words.substr(60) : "";
    }
    const int rows[7] = {1, 2, 3, 4, 6, 7, 8};
    for (int i = 0; i < 7; ++i) {
        const size_t r = size_t(rows[i]);
        B[size_t(84 + i)] = nonZero(FX[r]);
        B[size_t(94 + i)] = FF[r];
        B[size_t(101 + i)] = nonZero(printedVat(RATEVALUE(FF[r]), FX[r], euro));
    }
    for (int i = 1; i <= 3; ++i) B[size_t(90 + i)] = FA[size_t(i)];
    double W = 0;
    for (int i = 1; i <= 3; ++i) {
        const double vat = printedVat(RATEVALUE(FO1[size_t(i)]), A1[size_t(i)], euro);
        W += vat;
        B[size_t(107 + i)] = nonZero(A1[size_t(i)]);
        B[size_t(110 + i)] = FO1[size_t(i)];
        B[size_t(113 + i)] = A1[size_t(i)] < 0.01 ? "" : amount(vat);
    }
    B[117] = caption117;
    B[118] = amount(A1[1] + A1[2] + A1[3]);
    B[119] = amount(W);
    if (euro) {
        B[120] = amount(T - W);
    } else if (UMAS::EURO != 0) {
        // A drachma total in euros; nothing is divided by a rate of 0.
        char b[64];
        std::snprintf(b, sizeof b, "%11.2f", ROUND(T / UMAS::EURO * 100) / 100);
        B[120] = b;
    }
    double sum = 0;
    for (int i = 1; i <= 14; ++i) {
        B[size_t(120 + i)] = amount(DX[size_t(i)]);
        sum += DX[size_t(i)];
    }
    B[135] = amount(sum);
    B[136] = rtrim(APODI::EA) + " " + rtrim(APODI::ON);
    B[137] = APODI::AF;
    B[138] = dateText(HM);
    for (int i = 1; i <= 2; ++i) B[size_t(138 + i)] = rtrim(cut(DP[size_t(i)], 30));
    B[142] = rtrim(APODI::ON);
    for (auto& b : B) b = cut(b, 40);
    return B;
}

void TIMOS::EKTY(int KIND, const PARAMS::RECSEIRES& SR, const std::string& ST, PRNS::PRNM PRN, PRNS::TABM TAB,
                 const FORMIX::EAFDSSREC& DRV) const {
    std::array<PARAMS::RECPARTIM4, PARAMS::MAXPVTIM + 1> L{};
    {
        std::vector<uint8_t> buf(PARAMS::PARTIM4_SIZE, 0);
        PARAMS::RUFPAR("PARTIM4", buf.data(), buf.size());
        for (size_t i = 1; i <= PARAMS::MAXPVTIM; ++i)
            L[i] = PARAMS::RECPARTIM4::decode(buf.data() + (i - 1) * PARAMS::RECPARTIM4::SIZE);
    }
    TIM0::EUROYEAR = TIM0::YEAROF(TIM0::HM);
    const std::array<std::string, 145> B = COLLECT(KIND, L[117].PER);

    // The print order: by row, then by column.
    std::array<int, PARAMS::MAXPVTIM + 1> PVA{};
    auto key = [&](int f) { return int(L[size_t(f)].ROW) * 256 + L[size_t(f)].COL; };
    for (int I = 1; I <= int(PARAMS::MAXPVTIM); ++I) {
        PVA[size_t(I)] = I;
        for (int J = 1; J < I; ++J)
            if (key(PVA[size_t(I)]) < key(PVA[size_t(J)])) std::swap(PVA[size_t(I)], PVA[size_t(J)]);
    }

    PRNS::PFILE F;
    const std::string out = ST == "USB" ? "tim.txt" : ST;
    if (isDevice(out))
        F.assignPort(out == "COM1" ? "com1" : out == "COM2" ? "com2" : out);
    else
        F.assignFile(out);
    auto mode = [&](uint8_t m) {
        if (m != 0) PRN(F, m);
    };
    PRN(F, 99);
    PRN(F, SR.MIKSEL >= 30 && SR.MIKSEL <= 99 ? SR.MIKSEL : 66);
    PRNS::HTAB_OFSET = SR.ORIZ;
    PRN(F, 25);
    PRNS::LFE(F, SR.KATAK);
    PRN(F, 26);
    PRN(F, 1);
    int prev = L[size_t(PVA[1])].ROW;
    for (int I = 1; I <= int(PARAMS::MAXPVTIM); ++I) {
        const int j = PVA[size_t(I)];
        PARAMS::RECPARTIM4& e = L[size_t(j)];
        if (e.COL == 0 || e.ROW == 0) continue;
        PRNS::LFE(F, e.ROW - prev);
        TAB(F, e.COL);
        mode(e.SA1);
        mode(e.SA2);
        if (!e.PER.empty() && e.PER[0] == '@') {
            e.PER.erase(0, 1);
            F.write(rtrim(e.PER) + " ");
        }
        if (j == 1 && KIND == 1)
            F.write(std::to_string(AKNUM) +
                    PLAT::gr(TYPOSPARAST == 0 ? "  ΑΚΥΡΩΤΙΚΟ του ΤΠΥ με Αριθ: " : "   ΑΚΥΡΩΤΙΚΟ του ΠΙΣΤ.ΤΙΜ. με Αριθ: ") +
                    B[1]);
        else if (j == 1)
            F.write(B[1] + (TYPOSPARAST == 0 ? std::string() : PLAT::gr("  ΠΙΣΤΩΤΙΚΟ ΤΙΜΟΛΟΓΙΟ")));
        else
            F.write(rtrim(B[size_t(j)]));
        mode(e.ST2);
        mode(e.ST1);
        prev = e.ROW;
    }
    PRNS::LFE(F, 1);
    TAB(F, 2);
    PRN(F, 2);
    F.writeln(PRINTPAIPS(DRV));
    PRN(F, 1);
    PRN(F, 11);
    F.close();
    UMAS::PRINTUSB_TIM();
}

}  // namespace TIM
