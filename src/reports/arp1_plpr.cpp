// Totals per period of all customers: the walk of the invoice day chains by invoice, month or
// year, the list and its printout.
#include "common/umas.h"
#include "invoicing/apodi.h"
#include "platform/codepage.h"
#include "reports/arp1.h"

namespace ARP1 {

using ARP2::AMT;
using ARP2::MODE;
using ARP2::NUM;
using UMAS::padTo;

void FEEVATSHOWN(const TIM0::RTIM& r, double& fee, double& vat) {
    const ARP2::FEEVAT a = ARP2::AMOUNTS(r);
    fee = ARP2::DISPLAY(a.fee, r.HM);
    vat = ARP2::DISPLAY(a.vat, r.HM);
}

PERIODLIST PERIODWALK(MODE MO, const std::string& H1, const std::string& H2, int CAP,
                      const std::function<bool(const TIM0::RTIM&)>& COUNTS) {
    PERIODLIST L;
    L.MO = MO;
    const int32_t Z0 = UMAS::HMVAL(H1), Z1 = UMAS::HMVAL(H2);
    int month = std::atoi(padTo(H1, 6).substr(2, 2).c_str());
    int year = std::atoi(padTo(H1, 6).substr(4, 2).c_str());
    UMAS::LOCK("FTIM");
    {
        const std::string days = ARP2::CHAINS("TH.DAT");
        PLAT::File docs(UMAS::PATH + "TM.DAT", PLAT::File::READ);
        bool full = false;
        for (int32_t RN = std::max<int32_t>(Z0, 0); RN <= Z1 && !full; ++RN) {
            if (MO == MODE::MHN && RN % 31 == 0) {
                if (L.CC() >= CAP) break;
                L.rows.push_back(BFP{"01" + ARP2::TWO(month) + ARP2::TWO(year), 0, 0});
                if (++month > 12) {
                    month = 1;
                    year = (year + 1) % 100;
                }
            } else if (MO == MODE::ETH && RN % 372 == 0) {
                if (L.CC() >= CAP) break;
                L.rows.push_back(BFP{"0101" + ARP2::TWO(year), 0, 0});
                year = (year + 1) % 100;
            }
            ARP2::WALK(days, APODI::DAYHEADS, RN, [&](uint16_t HR) {
                TIM0::RTIM r;
                if (!ARP2::READDOC(docs, HR, r) || r.AKNUM != 0 || r.AKPAIP != 0) return true;
                if (COUNTS && !COUNTS(r)) return true;
                if (MO == MODE::HME) L.rows.push_back(BFP{r.HM, 0, 0});
                if (L.rows.empty()) return true;
                double fee = 0, vat = 0;
                FEEVATSHOWN(r, fee, vat);
                L.rows.back().PI += fee;
                L.rows.back().FP += vat;
                L.SX += fee;
                L.SP += vat;
                if (MO == MODE::HME && L.CC() >= CAP) full = true;
                return !full;
            });
        }
    }
    UMAS::UNLOC("FTIM");
    return L;
}

std::string LABELSHOWN(const std::string& HM, MODE MO) {
    const int yy = std::atoi(padTo(HM, 6).substr(4, 2).c_str());
    const std::string year = std::to_string(yy >= 90 ? 1900 + yy : 2000 + yy);
    const int m = std::atoi(padTo(HM, 6).substr(2, 2).c_str());
    switch (MO) {
    case MODE::MHN: return (m >= 1 && m <= 12 ? UMAS::MH[size_t(m)] : "") + PLAT::gr("Σ ") + year;
    case MODE::ETH: return year;
    default: return padTo(HM, 6) + " " + ARP2::WEEKDAY(HM);
    }
}

std::string LABELPRINTED(const std::string& HM, MODE MO) {
    const ARP2::YMD r = ARP2::READDATE(HM);
    switch (MO) {
    case MODE::MHN:
        return (r.m >= 1 && r.m <= 12 ? UMAS::MH[size_t(r.m)] : "") + PLAT::gr("Σ ") + std::to_string(r.y);
    case MODE::ETH: return std::to_string(r.y);
    default: return padTo(HM, 6) + " " + ARP2::WEEKDAY(HM);
    }
}

void PLPRPRINT(const PERIODLIST& L) {
    ARP2::PRINTOUT p;
    const int dec = UMAS::TIMEUR == 0 ? 2 : 0;
    const std::string rule = "+==================+===========+===========+===========+";
    const int pages = ARP2::PAGES(L.CC());
    for (int page = 1; page <= pages; ++page) {
        if (page > 1) p.F.put(12);
        p.tab(22);
        p.text(PLAT::gr("ΣΥΝΟΛΑ ΠΕΛΑΤΩΝ ΑΝΑ ΠΕΡΙΟΔΟ"));
        p.tab(59);
        p.line(PLAT::gr("σελ. ") + std::to_string(page));
        p.mode(5);
        for (const std::string& s : {rule, PLAT::gr("|     ΠΕΡΙΟΔΟΣ     |  ΑΜΟΙΒΗ   |   Φ.Π.Α.  |   ΣΥΝΟΛΟ  |"), rule}) {
            p.tab(11);
            p.line(s);
        }
        for (int i = 45 * (page - 1) + 1; i <= std::min(45 * page, L.CC()); ++i) {
            const BFP& b = L.rows[size_t(i - 1)];
            p.tab(11);
            p.text("| " + LABELPRINTED(b.HM, L.MO));
            p.tab(30);
            p.line("|" + NUM(b.PI, 10, dec) + " |" + NUM(b.FP, 10, dec) + " |" + NUM(b.PI + b.FP, 10, dec) + " |");
        }
        p.tab(11);
        p.line(rule);
        if (page == pages) {
            p.tab(11);
            p.text(PLAT::gr("|          ΣΥΝΟΛΑ: |"));
            for (double x : {L.SX, L.SP, L.SX + L.SP}) {
                p.mode(4);
                p.text(NUM(x, 10, dec));
                p.mode(5);
                p.text(" |");
            }
            p.line();
            p.tab(11);
            p.line(rule);
            p.mode(11);
        }
    }
    p.finish();
}

void PLPR() {
    ARP2::TODAY();
    SCR::CALLM(2, true);
    ARP2::PERIOD P;
    PERIODLIST L;
    int II = 0;
    auto BOX = [&](int T) {
        for (int i = 1; i <= 12; ++i) {
            const int y = 7 + i;
            SCR::PRINT(19, y, std::string(17, ' '));
            for (int x : {38, 49, 60}) SCR::PRINT(x, y, std::string(9, ' '));
            if (T + i > L.CC()) continue;
            const BFP& b = L.rows[size_t(T + i - 1)];
            SCR::PRINT(19, y, LABELSHOWN(b.HM, L.MO));
            SCR::PRINT(38, y, AMT(b.PI, 9, 9));
            SCR::PRINT(49, y, AMT(b.FP, 9, 9));
            SCR::PRINT(60, y, AMT(b.PI + b.FP, 9, 9));
        }
    };
    for (;;) {
        int KK = 0;
        ARP2::PERIODIN(P, 38, 3, 38, 4, false, KK);
        if (KK == 3) break;
        L = PERIODWALK(P.Q1, P.H1, P.H2, PLPR_ROWS);
        II = 0;
        ARP2::LEGEND();
        for (int x : {37, 48, 59}) SCR::PRINT(x, 20, std::string(10, ' '));
        SCR::PRINT(37, 20, AMT(L.SX, 10, 10));
        SCR::PRINT(48, 20, AMT(L.SP, 10, 10));
        SCR::PRINT(59, 20, AMT(L.SX + L.SP, 10, 10));
        BOX(0);
        for (;;) {
            PLAT::KeyEvent k;
            const ARP2::LK what = ARP2::LISTKEY(II, L.CC(), 12, k);
            if (what == ARP2::LK::ESC) break;
            if (what == ARP2::LK::MOVED) BOX(II);
            if (what == ARP2::LK::PRINT && ARP2::ASKPRINT()) PLPRPRINT(L);
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace ARP1
