// The turnover list of a range of customer names over a period, in index order or by turnover,
// and the yearly summary of service invoices (general switch 17).
#include "common/umas.h"
#include "invoicing/apodi.h"
#include "platform/codepage.h"
#include "print/prns.h"
#include "reports/arp1.h"

namespace ARP1 {

using ARP2::AMT;
using ARP2::NUM;
using UMAS::padTo;
using UMAS::RIJU;

bool ELE(const std::string& S1, const std::string& S2) { return ARP0::compareNames(S1, S2) > 0; }

TURNOVER PRPLCOLLECT(const std::string& E1, const std::string& E2, int32_t Z0, int32_t Z1, bool summary) {
    TURNOVER T;
    // "FTIM" before "FPEL", the one order of every workstation
    UMAS::LOCK("FTIM");
    UMAS::LOCK("FPEL");
    int damaged = 0;
    {
        const std::vector<ARP0::Listed> all = ARP0::listAll(0, &damaged);
        const std::string chains = ARP2::CHAINS("TPE.DAT");
        PLAT::File docs(UMAS::PATH + "TM.DAT", PLAT::File::READ);
        const std::string e1 = padTo(E1, 30), e2 = padTo(E2, 30);
        const int first = e1[0] == ' ' ? 0 : int(ARP0::INS(e1[0])) - 1;
        bool inRange = false;
        for (const ARP0::Listed& c : all) {
            if (std::max(0, int(ARP0::bucketOf(c.R.EA))) < first) continue;
            const std::string name = padTo(c.R.EA, 30);
            if (!inRange) {
                if (ARP0::compareNames(name, e1) < 0) continue;
                inRange = true;
            }
            if (name != e2 && ELE(name, e2)) break;
            if (T.CC() >= PRPL_ROWS) break;
            BFT b;
            b.EP = name;
            b.MYF = UMAS::CUTLEADSPACES(c.R.SX).empty() ? 'Y' : c.R.SX[0];
            if (summary) {
                b.ON = padTo(UMAS::cut(c.R.ON, 30), 30);
                b.AF = padTo(c.R.AF, 10);
                b.DI = padTo(UMAS::cut(c.R.DI, 30), 30);
                b.PO = padTo(UMAS::cut(c.R.PO, 20), 20);
                b.EG = padTo(UMAS::cut(c.R.EP, 20), 20);
            }
            ARP2::WALK(chains, APODI::PEHEADS, c.KV, [&](uint16_t HR) {
                TIM0::RTIM r;
                if (!ARP2::READDOC(docs, HR, r) || r.AKNUM != 0 || r.AKPAIP != 0) return true;
                const int32_t z = UMAS::HMVAL(r.HM);
                if (z < Z0 || z > Z1) return true;
                if (summary) {
                    const double fee = TIM0::EURODOC(r.HM) ? r.XR[18] / 100.0 * UMAS::EURO : double(r.XR[18]);
                    if (!(fee > MINIM_SYG)) return true;
                }
                double fee = 0, vat = 0;
                FEEVATSHOWN(r, fee, vat);
                ++b.AT;
                ++T.count;
                b.PI += fee;
                b.FP += vat;
                T.SP += fee;
                T.SX += vat;
                return true;
            });
            if (b.AT > 0) T.K1.push_back(std::move(b));
        }
    }
    UMAS::UNLOC("FPEL");
    UMAS::UNLOC("FTIM");
    if (damaged > 0) PRNS::REPORT(ARP0::skippedMessage(0));
    T.K2 = T.K1;
    if (T.CC() > 0) TURNSORT(T.K2, 1, T.CC());
    return T;
}

void TURNSORT(std::vector<BFT>& K, int L, int R) {
    int I = L, J = R;
    const double X = K[size_t((L + R) / 2 - 1)].PI;
    do {
        while (K[size_t(I - 1)].PI > X) ++I;
        while (K[size_t(J - 1)].PI < X) --J;
        if (I <= J) {
            std::swap(K[size_t(I - 1)], K[size_t(J - 1)]);
            ++I;
            --J;
        }
    } while (I <= J);
    if (L < J) TURNSORT(K, L, J);
    if (I < R) TURNSORT(K, I, R);
}

void PRPLPRINT(const std::vector<BFT>& KI, bool indexOrder, bool summary, const ARP2::PERIOD& P) {
    ARP2::PRINTOUT p;
    p.line();
    const int dec = UMAS::TIMEUR == 0 ? 2 : 0;
    const std::string rule = "+=====+===============================+===========+=================+"
                             "========================+==============+=======+==========+";
    int page = 0;
    auto header = [&] {
        ++page;
        p.tab(4);
        p.mode(2);
        if (indexOrder) {
            const int yy = std::atoi(padTo(P.H1, 6).substr(4, 2).c_str());
            p.text(PLAT::gr(" ΣΥΓΚΕΝΤΡΩΤΙΚΗ ΚΑΤΑΣΤΑΣΗ ΤΙΜΟΛΟΓΙΩΝ ΠΑΡΟΧΗΣ ΥΠΗΡΕΣΙΩΝ     ΕΤΟΣ: ") +
                   std::to_string(ARP2::FULLYEAR(yy)));
        } else {
            p.line(PLAT::gr("[ Κατάσταση Πελατών ανά Τζίρο ]"));
            p.tab(21);
            p.text(PLAT::gr("ΑΠΟ ") + P.HS1 + PLAT::gr(" ΕΩΣ ") + P.HS2);
        }
        p.mode(1);
        p.tab(68);
        p.line(PLAT::gr("σελ. ") + std::to_string(page));
        p.mode(5);
        p.mode(3);
        p.line(rule);
        p.line(PLAT::gr("| Α/Α |        Ε Π Ω Ν Υ Μ Ι Α        |   Α.Φ.Μ.  |    ΕΠΑΓΓΕΛΜΑ    |"
                        "       ΔΙΕΥΘΥΝΣΗ        |     ΠΟΛΗ     |ΤΙΜ/ΓΙΑ|  ΑΜΟΙΒΗ  |"));
        p.line(rule);
    };
    header();
    int N = 0, sumAT = 0;
    double sumPI = 0;
    for (const BFT& b : KI) {
        if (b.AT == 0 || std::string("Oo").find(b.MYF) != std::string::npos ||
            PLAT::gr("Οο").find(b.MYF) != std::string::npos)
            continue;
        if (N > 0 && N % 45 == 0) {
            p.line("+=====+==========================================================+===========+=====================+"
                   "===============================+=====================+=======+==========+");
            p.F.put(12);
            header();
        }
        ++N;
        sumAT += b.AT;
        sumPI += b.PI;
        std::string details = summary ? UMAS::LEJU(b.AF, 10) + "| " + UMAS::cut(padTo(b.EG, 16), 16) + "| " +
                                            UMAS::cut(padTo(b.DI, 23), 23) + "| " + UMAS::cut(padTo(b.PO, 13), 13) + "|"
                                      : std::string(10, ' ') + "| " + std::string(16, ' ') + "| " + std::string(23, ' ') +
                                            "| " + std::string(13, ' ') + "|";
        p.line("| " + RIJU(std::to_string(N), 3) + " | " + padTo(b.EP, 30) + "| " + details + RIJU(std::to_string(b.AT), 6) +
               " |" + NUM(b.PI, 9, dec) + " |");
    }
    p.line(rule);
    p.text(PLAT::gr("|   ΠΕΛΑΤΕΣ : "));
    p.mode(4);
    p.text(RIJU(std::to_string(N), 4));
    p.mode(5);
    p.text(std::string(69, ' ') + PLAT::gr("           ΣΥΝΟΛΑ :  |"));
    p.mode(4);
    p.text(RIJU(std::to_string(sumAT), 6));
    p.mode(5);
    p.text(" |");
    p.mode(4);
    p.text(NUM(sumPI, 9, dec));
    p.mode(5);
    p.line(" |");
    p.line(rule);
    p.finish();
}

void PRPL() {
    ARP2::TODAY();
    const bool summary = UMAS::PAREDE[17].TIMI > 0;
    SCR::CALLM(2, true);
    std::string E1, E2;
    ARP2::PERIOD P;
    TURNOVER T;
    const SCR::SOC all = SCR::socAll();
    auto blankList = [] {
        for (int y = 8; y <= 19; ++y) {
            SCR::PRINT(5, y, std::string(30, ' '));
            SCR::PRINT(37, y, std::string(7, ' '));
            for (int x : {46, 57, 68}) SCR::PRINT(x, y, std::string(9, ' '));
        }
        SCR::PRINT(37, 20, std::string(7, ' '));
        for (int x : {46, 57, 68}) SCR::PRINT(x, 20, std::string(9, ' '));
    };
    int state = 0;  // 0 from-name, 1 to-name, 2 dates
    for (;;) {
        int K = 0;
        if (state == 0) {
            std::string t = SCR::GINPUT(27, 2, 30, E1, "", ARP0::SAB(), false, true, K);
            E1 = padTo(ARP0::FOLD(t), 30);
            if (K == 3) break;
            if (ARP0::INS(E1[0]) > 60) {
                PLAT::con().bell();
                continue;
            }
            if (K == 0 || K == 2) state = 1;
            continue;
        }
        if (state == 1) {
            std::string t = SCR::GINPUT(27, 3, 30, E2, "", all, false, true, K);
            E2 = padTo(ARP0::FOLD(t), 30);
            if (K == 1) {
                state = 0;
                continue;
            }
            if (ELE(E1, E2)) {
                PLAT::con().bell();
                continue;
            }
            if (K == 3) break;
            if (K == 0 || K == 2) state = 2;
            continue;
        }
        ARP2::PERIODIN(P, 27, 4, 49, 4, true, K);
        if (K == 3) break;
        if (K == 1) {
            state = 1;
            continue;
        }
        T = PRPLCOLLECT(E1, E2, UMAS::HMVAL(P.H1), UMAS::HMVAL(P.H2), summary);
        state = 0;
        if (T.CC() == 0) {
            blankList();
            ARP2::UNTILESC(48);
            continue;
        }
        SCR::CALLM(83, true);
        ARP2::LEGEND();
        const std::vector<BFT>* KI = &T.K1;
        int II = 0;
        auto BOX = [&](int from) {
            for (int i = 1; i <= 12; ++i) {
                const int y = 7 + i;
                SCR::PRINT(5, y, std::string(30, ' '));
                SCR::PRINT(37, y, std::string(7, ' '));
                for (int x : {46, 57, 68}) SCR::PRINT(x, y, std::string(9, ' '));
                if (from + i > T.CC()) continue;
                const BFT& b = (*KI)[size_t(from + i - 1)];
                SCR::PRINT(5, y, b.EP);
                SCR::PRINT(37, y, RIJU(std::to_string(b.AT), 7));
                SCR::PRINT(46, y, UMAS::cut(AMT(b.PI, 9, 9), 9));
                SCR::PRINT(57, y, UMAS::cut(AMT(b.FP, 9, 9), 9));
                SCR::PRINT(68, y, UMAS::cut(AMT(b.PI + b.FP, 9, 9), 9));
            }
        };
        SCR::PRINT(37, 20, RIJU(std::to_string(T.count), 7));
        SCR::PRINT(46, 20, UMAS::cut(AMT(T.SP, 9, 9), 10));
        SCR::PRINT(57, 20, UMAS::cut(AMT(T.SX, 9, 9), 10));
        SCR::PRINT(68, 20, UMAS::cut(AMT(T.SP + T.SX, 9, 9), 10));
        BOX(0);
        for (;;) {
            PLAT::KeyEvent k;
            const ARP2::LK what = ARP2::LISTKEY(II, T.CC(), 12, k);
            if (what == ARP2::LK::ESC) break;
            if (what == ARP2::LK::MOVED) BOX(II);
            if (what == ARP2::LK::PRINT && ARP2::ASKPRINT()) PRPLPRINT(*KI, KI == &T.K1, summary, P);
            if (what == ARP2::LK::OTHER && k.extended() && (k.scan == PLAT::SC::F1 || k.scan == PLAT::SC::F2)) {
                KI = k.scan == PLAT::SC::F1 ? &T.K1 : &T.K2;
                II = 0;
                BOX(0);
            }
        }
        SCR::RECALL();
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace ARP1
