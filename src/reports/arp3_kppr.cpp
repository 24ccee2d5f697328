// One customer's totals per period: its own customer (not the document screens' current one), the
// period walk of the totals per period restricted to the customer, the list and the printout
// handed to the viewer.
#include "common/umas.h"
#include "customers/pelat.h"
#include "platform/codepage.h"
#include "reports/arp1.h"
#include "reports/arp2.h"
#include "reports/arp3.h"

namespace ARP3 {

using ARP2::AMT;
using ARP2::NUM;
using UMAS::padTo;

namespace {

struct CUSTOMER {
    uint16_t PR = ARP0::NONE;
    std::string EA, BON, AF, DI, PO, TH1;
    void take(const ARP0::RR0& r) {
        EA = padTo(r.EA, 30);
        AF = r.AF;
        DI = UMAS::cut(r.DI, 30);
        TH1 = r.TH[0];
        PO = UMAS::cut(r.PO, 20);
    }
    void BX0() {
        DI = padTo(DI, 30);
        AF = padTo(AF, 10);
        TH1 = padTo(TH1, 13);
        SCR::PRINT(22, 3, DI);
        SCR::PRINT(61, 2, AF);
        SCR::PRINT(59, 3, TH1);
    }
};

void print(const ARP1::PERIODLIST& L, const CUSTOMER& c) {
    ARP2::PRINTOUT p;
    const bool amounts = ARP2::SHOWAMOUNTS();
    const int dec = UMAS::TIMEUR == 0 ? 2 : 0;
    const std::string rule = "           +==================+===========+===========+===========+";
    const int pages = ARP2::PAGES(L.CC());
    for (int page = 1; page <= pages; ++page) {
        if (page > 1) p.F.put(12);
        p.tab(25);
        p.text(PLAT::gr("ΚΙΝΗΣΕΙΣ ΠΕΛΑΤΗ ΑΝΑ ΠΕΡΙΟΔΟ"));
        p.tab(72);
        p.line(PLAT::gr("σελ. ") + std::to_string(page));
        p.mode(5);
        p.line("+" + std::string(78, '=') + "+");
        p.text(PLAT::gr("|ΟΝΟΜΑΣΙΑ: "));
        p.mode(4);
        p.text(c.EA);
        p.mode(5);
        p.text(PLAT::gr("    Α.Φ.Μ.: ") + c.AF);
        p.tab(79);
        p.line("|");
        p.text(PLAT::gr("|ΔΙΕΥ/ΣΗ : ") + UMAS::cut(c.DI, 25) + PLAT::gr(" ΠΟΛΗ: ") + UMAS::cut(c.PO, 15) + PLAT::gr(" ΤΗΛ.: ") + c.TH1);
        p.tab(79);
        p.line("|");
        p.line("+==========+==================+===========+===========+===========+============+");
        p.line(PLAT::gr("           |     ΠΕΡΙΟΔΟΣ     |  ΑΜΟΙΒΗ   |   Φ.Π.Α.  |   ΣΥΝΟΛΟ  |"));
        p.line(rule);
        for (int i = 45 * (page - 1) + 1; i <= std::min(45 * page, L.CC()); ++i) {
            const ARP1::BFP& b = L.rows[size_t(i - 1)];
            p.tab(11);
            p.text("| " + ARP1::LABELPRINTED(b.HM, L.MO));
            p.tab(30);
            if (amounts)
                p.text("|" + NUM(b.PI, 10, dec) + " |" + NUM(b.FP, 10, dec) + " |" + NUM(b.PI + b.FP, 10, dec) + " |");
            p.line();
        }
        p.line(rule);
        if (page == pages) {
            p.tab(11);
            if (amounts) {
                p.text(PLAT::gr("|          ΣΥΝΟΛΑ: |"));
                for (double x : {L.SX, L.SP, L.SX + L.SP}) {
                    p.mode(4);
                    p.text(NUM(x, 10, dec));
                    p.mode(5);
                    p.text(" |");
                }
            } else {
                p.text(" |");
            }
            p.line();
            p.line(rule);
            p.mode(11);
        }
    }
    p.finish(true);
}

}  // namespace

void KPPR() {
    ARP2::TODAY();
    SCR::CALLM(2, true);
    CUSTOMER c;
    ARP2::PERIOD P;
    ARP1::PERIODLIST L;
    auto shown = [&] {
        SCR::PRINT(21, 2, c.EA);
        c.BX0();
    };
    auto lookup = [&](const std::string& name) {
        ARP0::RR0 r;
        const uint16_t pr = ARP2::FIND(name, 49, r);
        c.PR = pr;
        if (pr == ARP0::NONE) return false;
        c.take(r);
        shown();
        return true;
    };
    auto pick = [&] {
        uint16_t pr = ARP0::NONE;
        PELAT::ALPHAPEL(c.EA, 0, pr, &ARP0::R0);
        if (pr == ARP0::NONE) return false;
        c.PR = pr;
        c.take(ARP0::R0);
        shown();
        c.BON = c.EA;
        return true;
    };
    auto BOX = [&](int T) {
        for (int i = 1; i <= 12; ++i) {
            const int y = 7 + i;
            SCR::PRINT(10, y, std::string(19, ' '));
            for (int x : {38, 50, 62}) SCR::PRINT(x, y, std::string(9, ' '));
            if (T + i > L.CC()) continue;
            const ARP1::BFP& b = L.rows[size_t(T + i - 1)];
            SCR::PRINT(10, y, ARP1::LABELSHOWN(b.HM, L.MO));
            SCR::PRINT(38, y, AMT(b.PI, 9, 9));
            SCR::PRINT(50, y, AMT(b.FP, 9, 9));
            SCR::PRINT(62, y, AMT(b.PI + b.FP, 9, 9));
        }
    };
    bool done = false;
    while (!done) {
        if (!ARP2::PROMPT(21, c.EA, c.BON, ARP0::SAB(), lookup, pick)) break;
        for (;;) {
            int KK = 0;
            ARP2::PERIODIN(P, 31, 4, 52, 4, true, KK);
            if (KK == 3) done = true;
            if (KK == 1 || KK == 3) break;
            const uint16_t pr = c.PR;
            const std::string ea = c.EA, af = c.AF;
            L = ARP1::PERIODWALK(P.Q1, P.H1, P.H2, KPPR_ROWS, [&](const TIM0::RTIM& r) {
                return r.PR == pr && ARP2::SAMECUSTOMER(r.EA, r.AF, ea, af);
            });
            int II = 0;
            ARP2::LEGEND();
            for (int x : {37, 49, 61}) SCR::PRINT(x, 20, std::string(10, ' '));
            SCR::PRINT(37, 20, AMT(L.SX, 10, 10));
            SCR::PRINT(49, 20, AMT(L.SP, 10, 10));
            SCR::PRINT(61, 20, AMT(L.SX + L.SP, 10, 10));
            BOX(0);
            for (;;) {
                PLAT::KeyEvent k;
                const ARP2::LK what = ARP2::LISTKEY(II, L.CC(), 12, k);
                if (what == ARP2::LK::ESC) break;
                if (what == ARP2::LK::MOVED) BOX(II);
                if (what == ARP2::LK::PRINT && ARP2::ASKPRINT()) print(L, c);
            }
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace ARP3
