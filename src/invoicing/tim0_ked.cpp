// The invoice screen's start-up values, the shared legend of the document screens, the printed
// amount text, and the professional-expenses statement: its editor and its printout (form 82).
#include <cstdio>

#include "common/umas.h"
#include "config/params.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "invoicing/tim0.h"
#include "platform/codepage.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace TIM0 {

std::array<int16_t, 23> DSI{};
std::array<std::string, 23> DSP;
std::string CAS;

const UMAS::FUN& GM2() {
    static const UMAS::FUN f = [] {
        UMAS::FUN g;
        const char* t[10] = {"ESC.Menu",      "F1.Καταχ.",   "F5.Διαγραφή", "Shift-F1.Εκτύπωση", "ESC.Εξοδος",
                             " , ,1-4.Μετακίνηση", "Enter.Επιλογή", "F4.Στοιχεία", "Shift-F10.Ακύρωση", ""};
        for (int i = 1; i <= 10; ++i) g[size_t(i)] = PLAT::gr(t[i - 1]);
        // The arrows entry shows the up and down arrows in its first and third characters.
        g[6][0] = char(24);
        g[6][2] = char(25);
        return g;
    }();
    return f;
}

std::string PTL(double LO, int KIND) {
    if (!(LO >= 0.005)) return std::string(10, ' ');
    char b[64];
    std::snprintf(b, sizeof b, "%10.2f", LO);
    std::string S = b;
    size_t pos = S.find('.');
    int count = 0;
    while (pos != std::string::npos && pos > 0) {
        --pos;
        if (++count % 3 == 0 && pos > 0) {
            const char left = S[pos - 1];
            S.insert(pos, 1, left >= '0' && left <= '9' ? ',' : ' ');
        }
    }
    if (KIND == 1) {
        size_t b2 = S.rfind(' ');
        if (b2 != std::string::npos) S[b2] = '-';
    }
    return S;
}

void INIKED() {
    for (size_t i = 1; i <= 22; ++i) {
        DSI[i] = int16_t(PARAMS::PARTIM3[i].KV);
        DSP[i] = UMAS::cut(PARAMS::PARTIM3[i].CI, 30);
    }
    for (int i = 1; i <= 13; ++i) SCR::PRINT(3, i + 4, PARAMS::PARTIM1[size_t(i)]);
    SCR::PRINT(3, 22, UMAS::cut(PARAMS::PARTIM1[18], 40));
    for (size_t i = 13; i <= 16; ++i) AI[i] = UMAS::cut(PARAMS::PARTIM1[i + 1], 23);
    const std::string& h = PARAMS::PARTIM1[18];
    const size_t eq = h.find('=');
    FP = eq == std::string::npos ? h.substr(0, std::min<size_t>(2, h.size())) : h.substr(eq + 1, 2);
}

// ---- The statement editor -----------------------------------------------------------------------------

namespace {

// Where the amount of statement line L is edited and shown.
int amountX(int L) { return L == 14 ? 25 : 47; }
int amountY(int L) { return L == 14 ? 20 : L + 5; }

// An amount as the field offers it: no decimals (drachmas) or two (euros), empty below 0.01.
std::string editText(double x, bool euro) { return UMAS::trim(AMOUNTTEXT(x, euro)); }

}  // namespace

void KED(int& K) {
    SCR::CALLM(15, true);
    SCR::CALLM(2, true);
    EUROYEAR = YEAROF(HM);
    const bool euro = EUROYEARS(EUROYEAR);
    for (int i = 1; i <= 11; ++i) SCR::PRINT(3, i + 5, PARAMS::DEP[size_t(i)]);
    PARAMS::DEP[12] = DP[1];
    PARAMS::DEP[13] = DP[2];
    UMAS::FKEY({4, 5}, GM2());

    SU -= XR[8];
    XR[8] = 0;
    auto showTotal = [&] { SCR::PRINT(69, 12, AMOUNTTEXT(XR[8], euro)); };
    for (int L = 1; L <= 14; ++L) {
        SCR::PRINT(amountX(L), amountY(L), AMOUNTTEXT(DX[size_t(L)], euro));
        XR[8] += DX[size_t(L)];
        if (L == 12 || L == 13) {
            SCR::PRINT(3, L + 5, std::string(41, ' '));
            SCR::PRINT(3, L + 5, PARAMS::DEP[size_t(L)]);
        }
    }
    showTotal();

    const SCR::SOC amountChars = SCR::soc("0123456789.");
    int L = 1;
    bool reason = false;
    int k = 0;
    for (;;) {
        if (!reason) {
            XR[8] -= DX[size_t(L)];
            const std::string s =
                SCR::GINPUT(amountX(L), amountY(L), 10, editText(DX[size_t(L)], euro), "", amountChars, false, true, k);
            DX[size_t(L)] = UMAS::EVAL(s);
            XR[8] += DX[size_t(L)];
            SCR::PRINT(amountX(L), amountY(L), AMOUNTTEXT(DX[size_t(L)], euro));
            showTotal();
            if (k == 0 || k == 2) {
                if (L == 14) break;
                ++L;
                reason = L == 12 || L == 13;
            } else if (k == 1) {
                if (L == 12 || L == 13)
                    reason = true;
                else if (L > 1)
                    --L;
            } else if (k == 3) {
                break;
            } else if (k == 14) {
                EKKE();
            } else if (k == 20) {
                PARAMS::CALC(CAS);
            }
        } else {
            PARAMS::DEP[size_t(L)] = SCR::GINPUT(3, L + 5, 40, PARAMS::DEP[size_t(L)], "", SCR::socAll(), false, true, k);
            DP[size_t(L - 11)] = PARAMS::DEP[size_t(L)];
            if (k == 0 || k == 2) {
                reason = false;
            } else if (k == 1) {
                --L;
                reason = false;
            } else if (k == 3) {
                break;
            } else if (k == 14) {
                EKKE();
            } else if (k == 20) {
                PARAMS::CALC(CAS);
                PARAMS::DEP[size_t(L)] = CAS;
            }
        }
    }
    K = k == 3 ? 0 : k;
    SCR::RECALL();
    SCR::RECALL();
    // The total is computed again from the lines, so that the VAT of a taxed line 8 follows its new
    // amount.
    double su = 0;
    for (int i = 1; i <= 18; ++i) su += XR[size_t(i)] + TIM::TIMOS::EXEIFPA(i);
    SU = su;
    SCR::PRINT(69, 24, AMOUNTTEXT(SU, euro));
}

// ---- The statement printout ---------------------------------------------------------------------------

void EKKE() {
    const int before = SCR::STACKPOINTER();
    SCR::CALLM(63, true);
    const bool shown = SCR::STACKPOINTER() != before;
    const bool yes = PRNS::YES(30, 23);
    if (!yes) {
        if (shown) SCR::RECALL();
        return;
    }
    const int copies = PRNS::COP();
    const std::string rule(64, '-');
    double sum = 0;
    for (int i = 1; i <= 14; ++i) sum += DX[size_t(i)];
    const std::string date = HM.size() >= 6 ? HM.substr(0, 2) + "/" + HM.substr(2, 2) + "/" + HM.substr(4, 2) : HM;
    for (int c = 0; c < copies; ++c) {
        PRNS::PFILE F;
        PRNS::PRNM P = nullptr;
        PRNS::TABM T = nullptr;
        PRNS::SET_PE(UMAS::PE_KED, P, T, F);
        auto nl = [&] { PRNS::LFE(F, 1); };
        P(F, 1);
        P(F, 4);
        nl();
        const std::string head[6] = {UMAS::LOGOTYPO[1], UMAS::LOGOTYPO[2], UMAS::LOGOTYPO[3],
                                     PLAT::gr("       ΑΡ. ΠΤΥΧ ") + UMAS::LOGOTYPO[6], UMAS::LOGOTYPO[4],
                                     UMAS::LOGOTYPO[5]};
        for (const std::string& h : head) {
            T(F, 1);
            P(F, 6);
            F.write(h);
            P(F, 7);
            nl();
        }
        P(F, 5);
        PRNS::LFE(F, 3);
        T(F, 1);
        P(F, 4);
        P(F, 6);
        F.write(PLAT::gr("        ΚΑΤΑΣΤΑΣΗ"));
        P(F, 7);
        nl();
        T(F, 1);
        P(F, 6);
        F.write(PLAT::gr(" ΕΠΑΓΓΕΛΜΑΤΙΚΩΝ ΔΑΠΑΝΩΝ  No ") + NO[8]);
        P(F, 7);
        P(F, 5);
        nl();
        T(F, 1);
        P(F, 3);
        F.write(PLAT::gr("                 Κ.B.Σ. ΑΡΘΡΟ 21/1/77 Αποφ.Υ.ΟΙΚ. Σ.9579/308/12/10/64"));
        P(F, 1);
        nl();
        T(F, 1);
        P(F, 3);
        F.write(PLAT::gr("       Αποφ.Υ.ΟΙΚ.0846/ΠΟΛ.141/Π.Ε./7/24.7.79 Αποφ.Υ.ΟΙΚ.043/2 ΣΧ.Σ.407/9/26.2.82"));
        P(F, 1);
        PRNS::LFE(F, 2);
        F.write(rule);
        nl();
        P(F, 4);
        T(F, 1);
        F.write(PLAT::gr("ΠΑΡΑΛΗΠΤΗΣ      : ") + APODI::EA + " " + APODI::ON);
        P(F, 5);
        nl();
        T(F, 1);
        F.write(PLAT::gr("ΔΙΕΥΘΥΝΣΗ       : ") + UMAS::CUTLEADSPACES(APODI::DI) + "      " + APODI::PO);
        nl();
        T(F, 1);
        F.write(PLAT::gr("Α.Φ.Μ.          : ") + APODI::AF + PLAT::gr("     Δ.Ο.Υ.: ") + APODI::EF);
        nl();
        P(F, 1);
        F.write(rule);
        nl();
        F.write(PLAT::gr("       Α Ι Τ Ι Ο Λ Ο Γ Ι Α                             ΠΟΣΟ"));
        nl();
        F.write(rule);
        nl();
        for (int i = 1; i <= 13; ++i) {
            T(F, 1);
            F.write(UMAS::cut(PARAMS::DEP[size_t(i)] + std::string(47, '.'), 47) + PTL(DX[size_t(i)], 0));
            nl();
        }
        T(F, 1);
        F.write(PLAT::gr("Καταβληθέντα ποσά σε πρόσωπα μη            "));
        nl();
        T(F, 1);
        F.write(PLAT::gr("υποχρεούμενα στην έκδοση τιμολογίου  ..........") + PTL(DX[14], 0));
        nl();
        F.write(rule);
        nl();
        T(F, 1);
        P(F, 4);
        F.write(PLAT::gr("                             ΣΥΝΟΛΟ   ΕΥΡΩ    :") + PTL(sum, 0));
        P(F, 5);
        nl();
        F.write(rule);
        PRNS::LFE(F, 2);
        T(F, 1);
        P(F, 4);
        F.write(UMAS::LOGOTYPO[7] + " :  " + date + PLAT::gr("                  Ο ΚΑΤΑΒΑΛΩΝ"));
        P(F, 5);
        nl();
        F.put(12);
        F.close();
        // Each copy is handed off as soon as it is closed: a spool file holds one copy at a time.
        UMAS::PRINTUSB();
    }
    if (shown) SCR::RECALL();
}

}  // namespace TIM0
