// The movements and the expenses of a period: the walk over the invoice day chains, the list, its
// printout and the accounting journal export.
#include "common/umas.h"
#include "config/params.h"
#include "invoicing/apodi.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "reports/arp1.h"

namespace ARP1 {

using ARP2::AMT;
using ARP2::NUM;
using UMAS::padTo;
using UMAS::RIJU;

namespace {

// A DDMMYY date with its day lowered to its month's length.
std::string clamped(const std::string& HM) {
    const ARP2::YMD r = ARP2::READDATE(HM);
    if (r.d <= 28 || r.m < 1 || r.m > 12 || r.y == 0) return HM;
    uint16_t y = uint16_t(r.y), m = uint16_t(r.m), d = uint16_t(r.d);
    ARP2::ELM(y, m, d);
    return ARP2::TWO(d) + HM.substr(2);
}

BFK rowOf(const TIM0::RTIM& r, int KB) {
    BFK b;
    b.EA = padTo(UMAS::cut(r.EA, 26), 26);
    b.HM = clamped(padTo(r.HM, 6));
    b.TM = padTo(r.TM, 6);
    const ARP2::FEEVAT a = ARP2::AMOUNTS(r);
    if (KB == 5) {
        // the fee's own VAT is not an expense
        b.PI = ARP2::DISPLAY(a.value - a.vat18, r.HM);
        b.AM = ARP2::DISPLAY(ARP2::DOCUNIT(r.FX[5], r.HM), r.HM);
        b.FP = b.PI - b.AM;
    } else {
        b.PI = ARP2::DISPLAY(a.value, r.HM);
        b.AM = ARP2::DISPLAY(a.fee, r.HM);
        b.FP = ARP2::DISPLAY(a.vat, r.HM);
    }
    return b;
}

}  // namespace

KIPRLIST KIPRCOLLECT(int KB, int32_t Z0, int32_t Z1) {
    KIPRLIST L;
    UMAS::LOCK("FTIM");
    {
        const std::string days = ARP2::CHAINS("TH.DAT");
        PLAT::File docs(UMAS::PATH + "TM.DAT", PLAT::File::READ);
        for (int32_t N = std::max<int32_t>(Z0, 0); N <= Z1 && L.CC() < KIPR_ROWS && N < APODI::DAYHEADS; ++N)
            ARP2::WALK(days, APODI::DAYHEADS, N, [&](uint16_t HR) {
                TIM0::RTIM r;
                if (!ARP2::READDOC(docs, HR, r) || r.AKNUM != 0 || r.AKPAIP != 0) return true;
                BFK b = rowOf(r, KB);
                L.S1 += b.PI;
                L.S2 += b.AM;
                L.S3 += b.FP;
                L.rows.push_back(std::move(b));
                return L.CC() < KIPR_ROWS;
            });
    }
    UMAS::UNLOC("FTIM");
    std::vector<int64_t> keys;
    keys.reserve(L.rows.size());
    for (const BFK& b : L.rows) keys.push_back(ARP2::HVAL(b.HM, ARP2::DOCNUMBER(b.TM)));
    ARP2::SORT(L.rows, keys, L.CC());
    return L;
}

void KIPRPRINT(const KIPRLIST& L, int KB, const std::string& HS1, const std::string& HS2) {
    ARP2::PRINTOUT p;
    const int dec = UMAS::TIMEUR == 0 ? 2 : 0;
    const std::string rule = "+==========================+========+======+===========+===========+===========+";
    for (int page = 1; page <= ARP2::PAGES(L.CC()); ++page) {
        p.tab(31);
        p.line(PLAT::gr(KB == 5 ? "ΔΑΠΑΝΕΣ ΠΕΡΙΟΔΟΥ" : "ΚΙΝΗΣΕΙΣ ΠΕΡΙΟΔΟΥ"));
        p.tab(25);
        p.text(PLAT::gr("ΑΠΟ ") + HS1 + PLAT::gr(" ΕΩΣ ") + HS2);
        p.tab(72);
        p.text(PLAT::gr("σελ. ") + std::to_string(page));
        PRNS::LFE(p.F, 1);
        p.mode(5);
        p.line(rule);
        p.line(PLAT::gr(KB == 5 ? "|     Ε Π Ω Ν Υ Μ Ι Α      | ΗΜ/ΝΙΑ |ΤΙΜΟΛ.| ΕΠΑΓΓ.ΔΑΠ.| ΕΞΟΔΑ ΤΕΛ.|  ΔΙΑΦΟΡΑ  |"
                                : "|     Ε Π Ω Ν Υ Μ Ι Α      | ΗΜ/ΝΙΑ |ΤΙΜΟΛ.|   ΑΞΙΑ    |  ΑΜΟΙΒΗ   |   Φ.Π.Α.  |"));
        p.line(rule);
        for (int i = 45 * (page - 1) + 1; i <= std::min(45 * page, L.CC()); ++i) {
            const BFK& b = L.rows[size_t(i - 1)];
            p.line("| " + padTo(UMAS::cut(b.EA, 25), 25) + "| " + b.HM + " |" + b.TM + "|" + NUM(b.PI, 10, dec) + " |" +
                   NUM(b.AM, 10, dec) + " |" + NUM(b.FP, 10, dec) + " |");
        }
        p.line(rule);
        if (page == ARP2::PAGES(L.CC())) {
            p.text(PLAT::gr("| ΤΙΜΟΛΟΓΙΑ : "));
            p.mode(4);
            p.text(RIJU(std::to_string(L.CC()), 4));
            p.mode(5);
            p.tab(35);
            p.text(PLAT::gr("ΣΥΝΟΛΑ: |"));
            for (double x : {L.S1, L.S2, L.S3}) {
                p.mode(4);
                p.text(NUM(x, 10, dec));
                p.mode(5);
                p.text(" |");
            }
            p.line();
            p.line("+==========================================+===========+===========+===========+");
        }
        p.mode(11);
    }
    p.finish();
}

bool JOURNAL(const KIPRLIST& L, std::string& out, int& BAD) {
    out.clear();
    const std::string accounts[3] = {PLAT::gr("73.00.00.100           ΕΣΟΔΑ ΓΙΑ ΛΟΓΑΡΙΑΣΜΟ ΤΡΙΤΩΝ   "),
                                     PLAT::gr("73.00.00.023           ΕΣΟΔΑ ΜΕ ΦΠΑ                  "),
                                     PLAT::gr("54.00.73.023           ΕΣΟΔΑ ΜΕ ΦΠΑ                  ")};
    for (int i = 0; i < L.CC(); ++i) {
        const BFK& b = L.rows[size_t(i)];
        const std::string prefix = ARP2::SLASHED(b.HM) + "   1" + RIJU(UMAS::CUTLEADSPACES(b.TM), 9) +
                                   PLAT::gr("  6   1   ΤΠΥ ") + UMAS::LEJU(b.EA, 37);
        const double amounts[3] = {b.PI - b.AM - b.FP, b.AM, b.FP};
        for (int k = 0; k < 3; ++k) {
            const std::string a = NUM(amounts[k], 10, 2);
            if (a.size() > 24) {
                BAD = i + 1;
                return false;
            }
            out += prefix + accounts[k] + RIJU(a, 24) + "\r\n";
        }
        const std::string a = NUM(b.PI, 10, 2);
        if (a.size() > 12) {
            BAD = i + 1;
            return false;
        }
        out += prefix + "30.00.00.000           " + UMAS::LEJU(UMAS::CUTLEADSPACES(b.EA), 30) + RIJU(a, 12) + "\r\n";
        out += "\r\n";
    }
    return true;
}

bool KEFALAIO(const KIPRLIST& L) {
    SCR::CALLM(63, true);
    SCR::PRINT(3, 23, PLAT::gr(" ΑΡΧΕΙΟ ΛΟΓΙΣΤΙΚΗΣ"));
    const bool yes = PRNS::YES(30, 23);
    bool written = false;
    if (yes) {
        std::string out;
        int bad = 0;
        if (JOURNAL(L, out, bad)) {
            PLAT::writeWholeAtomic("C:\\LOGIS.TXT", out);
            written = true;
        } else {
            PRNS::REPORT(PLAT::gr("ΠΟΣΟ ΠΟΥ ΔΕΝ ΧΩΡΑΕΙ ΣΤΟ ΑΡΧΕΙΟ, ΓΡΑΜΜΗ ") + std::to_string(bad) +
                         PLAT::gr(": ΔΕΝ ΓΡΑΦΤΗΚΕ"));
        }
    }
    SCR::RECALL();
    return written;
}

void KIPR(uint8_t KB) {
    ARP2::TODAY();
    if (KB == 5) {
        SCR::PRINT(5, 1, PLAT::gr("ΔΑΠΑΝΕΣ "));
        SCR::PRINT(52, 6, PLAT::gr("ΕΠΑΓ.ΔΑΠ."));
        SCR::PRINT(62, 6, PLAT::gr("ΕΞΟΔΑ ΤΕΛ"));
        SCR::PRINT(72, 6, PLAT::gr("ΔΙΑΦΟΡΑ"));
    }
    SCR::CALLM(2, true);
    ARP2::PERIOD P;
    KIPRLIST L;
    int II = 0;
    auto BOX = [&](int T) {
        for (int i = 1; i <= 12; ++i) {
            const int y = 7 + i;
            ARP2::BLANKROW(y);
            if (T + i > L.CC()) continue;
            const BFK& b = L.rows[size_t(T + i - 1)];
            SCR::PRINT(3, y, b.EA);
            SCR::PRINT(31, y, b.HM);
            SCR::PRINT(38, y, ARP2::WEEKDAY(b.HM));
            SCR::PRINT(41, y, b.TM);
            SCR::PRINT(52, y, UMAS::cut(AMT(b.PI, 9, 9), 9));
            SCR::PRINT(62, y, UMAS::cut(AMT(b.AM, 9, 9), 9));
            SCR::PRINT(72, y, UMAS::cut(AMT(b.FP, 7, 7), 9));
        }
    };
    auto totals = [&](bool show) {
        SCR::PRINT(24, 21, std::string(3, ' '));
        SCR::PRINT(52, 21, std::string(9, ' '));
        SCR::PRINT(62, 21, std::string(9, ' '));
        SCR::PRINT(72, 21, std::string(7, ' '));
        if (!show) return;
        SCR::PRINT(24, 21, RIJU(std::to_string(L.CC()), 3));
        SCR::PRINT(52, 21, UMAS::cut(AMT(L.S1, 9, 9), 10));
        SCR::PRINT(62, 21, UMAS::cut(AMT(L.S2, 9, 9), 10));
        SCR::PRINT(72, 21, UMAS::cut(AMT(L.S3, 7, 7), 10));
    };
    for (;;) {
        int KK = 0;
        ARP2::PERIODIN(P, 35, 3, 35, 4, false, KK);
        if (KK == 3) break;
        L = KIPRCOLLECT(KB, UMAS::HMVAL(P.H1), UMAS::HMVAL(P.H2));
        II = 0;
        if (L.CC() == 0) {
            BOX(0);
            totals(false);
            ARP2::UNTILESC(50);
            continue;
        }
        ARP2::LEGEND();
        totals(true);
        BOX(II);
        for (;;) {
            PLAT::KeyEvent k;
            const ARP2::LK what = ARP2::LISTKEY(II, L.CC(), 12, k);
            if (what == ARP2::LK::ESC) break;
            if (what == ARP2::LK::MOVED) BOX(II);
            if (what == ARP2::LK::PRINT && ARP2::ASKPRINT()) KIPRPRINT(L, KB, P.HS1, P.HS2);
            if (what == ARP2::LK::OTHER && k.extended() && k.scan == PLAT::SC::SF2) KEFALAIO(L);
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace ARP1
