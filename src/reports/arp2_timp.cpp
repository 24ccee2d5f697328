// One customer's invoices in a date range: the search over the customer's invoice chain, the list
// and its printout.
#include "common/umas.h"
#include "customers/pelat.h"
#include "invoicing/apodi.h"
#include "platform/codepage.h"
#include "reports/arp2.h"

namespace ARP2 {

using UMAS::padTo;
using UMAS::RIJU;

TIMPLIST TIMPSEARCH(uint16_t PR, const std::string& EA, const std::string& AF, int32_t Z0, int32_t Z1) {
    TIMPLIST L;
    UMAS::LOCK("FTIM");
    {
        const std::string chains = CHAINS("TPE.DAT");
        PLAT::File docs(UMAS::PATH + "TM.DAT", PLAT::File::READ);
        WALK(chains, APODI::PEHEADS, PR, [&](uint16_t HR) {
            TIM0::RTIM r;
            if (!READDOC(docs, HR, r)) return true;
            if (r.AKNUM != 0 || r.AKPAIP != 0 || !SAMECUSTOMER(r.EA, r.AF, EA, AF)) return true;
            const int32_t z = UMAS::HMVAL(r.HM);
            if (z < Z0 || z > Z1) return true;
            const FEEVAT a = AMOUNTS(r);
            KINT k{r.HM, r.TM, r.KD, DISPLAY(a.value, r.HM), DISPLAY(a.fee, r.HM), DISPLAY(a.vat, r.HM)};
            L.SX += k.XR;
            L.SP += k.PI;
            L.SF += k.FP;
            L.rows.push_back(std::move(k));
            return L.LM() < TIMP_ROWS;
        });
    }
    UMAS::UNLOC("FTIM");
    std::vector<int64_t> keys;
    keys.reserve(L.rows.size());
    for (const KINT& k : L.rows) keys.push_back(HVAL(k.HM, DOCNUMBER(k.TM)));
    SORT(L.rows, keys, L.LM());
    return L;
}

void TIMPPRINT(const TIMPLIST& L) {
    PRINTOUT p;
    const int dec = UMAS::TIMEUR == 0 ? 2 : 0;
    const std::string rule80 = "+" + std::string(78, '=') + "+";
    const std::string rule = "+===========+========+=========+===========+===========+===========+===========+";
    for (int page = 1; page <= PAGES(L.LM()); ++page) {
        if (page > 1) p.F.put(12);
        p.tab(31);
        p.text(PLAT::gr("ΤΙΜΟΛΟΓΙΑ ΠΕΛΑΤΗ"));
        p.tab(72);
        p.text(PLAT::gr("σελ. ") + std::to_string(page));
        p.line();
        p.mode(5);
        p.line(rule80);
        p.text(PLAT::gr("|ΟΝΟΜΑΣΙΑ: "));
        p.mode(4);
        p.text(APODI::EA);
        p.mode(5);
        p.text(PLAT::gr("    Α.Φ.Μ.: ") + APODI::AF);
        p.tab(79);
        p.line("|");
        p.text(PLAT::gr("|ΔΙΕΥ/ΣΗ : ") + UMAS::cut(APODI::DI, 25) + PLAT::gr(" ΠΟΛΗ: ") + UMAS::cut(APODI::PO, 15) +
               PLAT::gr(" ΤΗΛ.: ") + APODI::TH[1]);
        p.tab(79);
        p.line("|");
        p.line(rule);
        p.line(PLAT::gr("|  ΗΜ/ΝΙΑ   | ΔΙΑ/ΣΗ |ΤΙΜΟΛΟΓΙΟ|   ΑΞΙΑ    |  ΑΜΟΙΒΗ   |   Φ.Π.Α.  |   ΣΥΝΟΛΟ  |"));
        p.line(rule);
        for (int i = 45 * (page - 1) + 1; i <= std::min(45 * page, L.LM()); ++i) {
            const KINT& r = L.rows[size_t(i - 1)];
            p.text("| " + padTo(r.HM, 6) + " " + WEEKDAY(r.HM) + " | " + padTo(UMAS::cut(r.KD, 7), 7) + "| " + r.TM);
            p.tab(31);
            p.text("|");
            for (double x : {r.XR, r.PI, r.FP, r.PI + r.FP}) p.text(NUM(x, 10, dec) + " |");
            p.line();
        }
        p.line(rule);
    }
    p.text(PLAT::gr("| ΤΙΜΟΛΟΓΙΑ : "));
    p.mode(4);
    p.text(RIJU(std::to_string(L.LM()), 4));
    p.mode(5);
    p.tab(23);
    p.text(PLAT::gr("ΣΥΝΟΛΑ: |"));
    for (double x : {L.SX, L.SP, L.SF, L.SP + L.SF}) {
        p.mode(4);
        p.text(NUM(x, 10, dec));
        p.mode(5);
        p.text(" |");
    }
    p.line();
    p.line("+==============================+===========+===========+===========+===========+");
    p.mode(11);
    p.finish();
}

namespace {

// The characters of the customer name of the one-customer reports.
SCR::SOC nameChars() {
    SCR::SOC s;
    for (int c = 0; c < 256; ++c)
        if (APODI::SAB(uint8_t(c))) s.set(size_t(c));
    return s;
}

}  // namespace

void HEADER::show() const {
    APODI::ON = padTo(APODI::ON, 31);
    APODI::EG = padTo(APODI::EG, 22);
    APODI::DI = padTo(APODI::DI, 30);
    APODI::AF = padTo(APODI::AF, 10);
    APODI::PO = padTo(APODI::PO, 20);
    APODI::TH[1] = padTo(APODI::TH[1], 13);
    APODI::TH[2] = padTo(APODI::TH[2], 13);
    SCR::PRINT(ON_X, 3, APODI::ON);
    SCR::PRINT(EG_X, 3, APODI::EG);
    SCR::PRINT(DI_X, 4, APODI::DI);
    SCR::PRINT(AF_X, 4, APODI::AF);
    SCR::PRINT(PO_X, 5, APODI::PO);
    SCR::PRINT(TH1_X, 5, APODI::TH[1]);
    SCR::PRINT(TH2_X, 5, APODI::TH[2]);
}

bool CURRENTPROMPT(int X, std::string& BON, const std::function<void()>& BX0) {
    static const SCR::SOC chars = nameChars();
    auto shown = [&] {
        SCR::PRINT(X, 2, padTo(APODI::EA, 30));
        BX0();
    };
    auto lookup = [&](const std::string& name) {
        APODI::EA = name;
        CHEP();
        if (APODI::PR == ARP0::NONE) return false;
        shown();
        return true;
    };
    auto pick = [&] {
        uint16_t pr = ARP0::NONE;
        PELAT::ALPHAPEL(APODI::EA, 0, pr, &ARP0::R0);
        if (pr == ARP0::NONE) return false;
        APODI::PR = pr;
        RUF();
        shown();
        BON = APODI::EA;
        return true;
    };
    return PROMPT(X, APODI::EA, BON, chars, lookup, pick);
}

void CLEARCUSTOMER() {
    APODI::EA.clear();
    APODI::ON.clear();
    APODI::DI.clear();
    APODI::PO.clear();
    APODI::AF.clear();
    APODI::TH[1].clear();
    APODI::TH[2].clear();
    APODI::EG.clear();
}

void TIMP() {
    TODAY();
    std::string H1 = TODAYTEXT(), H2 = H1;
    CLEARCUSTOMER();
    std::string BON;  // the list's own confirmed name
    SCR::CALLM(2, true);
    TIMPLIST L;
    int II = 0;
    const HEADER head{13, 56, 17, 56, 12, 44, 58};
    auto BX0 = [&] { head.show(); };
    auto blankRow23 = [] {
        SCR::PRINT(25, 23, std::string(3, ' '));
        SCR::PRINT(38, 23, std::string(9, ' '));
        SCR::PRINT(49, 23, std::string(9, ' '));
        SCR::PRINT(60, 23, std::string(7, ' '));
        SCR::PRINT(68, 23, std::string(9, ' '));
    };
    auto BX1 = [&](int from) {
        for (int i = 1; i <= 12; ++i) {
            const int y = 9 + i;
            SCR::PRINT(5, y, std::string(9, ' '));
            for (int x : {16, 27, 38, 49, 68}) SCR::PRINT(x, y, std::string(10, ' '));
            SCR::PRINT(60, y, std::string(7, ' '));
            if (from + i > L.LM()) continue;
            const KINT& r = L.rows[size_t(from + i - 1)];
            SCR::PRINT(5, y, padTo(r.HM, 6));
            SCR::PRINT(12, y, WEEKDAY(r.HM));
            SCR::PRINT(16, y, padTo(r.TM, 6));
            SCR::PRINT(27, y, padTo(r.KD, 10));
            SCR::PRINT(38, y, AMT(r.XR, 10, 9));
            SCR::PRINT(49, y, AMT(r.PI, 10, 9));
            SCR::PRINT(60, y, AMT(r.FP, 7, 7));
            SCR::PRINT(68, y, AMT(r.PI + r.FP, 10, 9));
        }
    };
    for (;;) {
        if (!CURRENTPROMPT(15, BON, BX0)) break;
        int KK = 0;
        HMER(H1, H2, 27, 6, 49, 6, KK);
        if (KK == 3) break;
        if (KK == 1) continue;
        L = TIMPSEARCH(APODI::PR, APODI::EA, APODI::AF, UMAS::HMVAL(H1), UMAS::HMVAL(H2));
        II = 0;
        if (L.LM() == 0) {
            BX1(0);
            blankRow23();
            UNTILESC(NOTHINGFOUND);
            continue;
        }
        LEGEND();
        blankRow23();
        SCR::PRINT(25, 23, RIJU(std::to_string(L.LM()), 3));
        SCR::PRINT(38, 23, AMT(L.SX, 9, 9));
        SCR::PRINT(49, 23, AMT(L.SP, 10, 9));
        SCR::PRINT(60, 23, AMT(L.SF, 7, 7));
        SCR::PRINT(68, 23, AMT(L.SP + L.SF, 10, 9));
        BX1(II);
        for (;;) {
            PLAT::KeyEvent k;
            const LK what = LISTKEY(II, L.LM(), 12, k);
            if (what == LK::ESC) break;
            if (what == LK::MOVED) BX1(II);
            if (what == LK::PRINT && ASKPRINT()) TIMPPRINT(L);
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace ARP2
