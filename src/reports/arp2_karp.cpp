// The customer ledger card: the balance before the from-date, the invoices, credit notes and
// receipts of a date range with a running balance; the card on screen and its printout.
#include <cmath>

#include "common/umas.h"
#include "invoicing/apod0.h"
#include "invoicing/apodi.h"
#include "platform/codepage.h"
#include "reports/arp2.h"

namespace ARP2 {

using UMAS::padTo;
using UMAS::RIJU;

std::string DAYBEFORE(const std::string& H1) {
    const std::string h = padTo(H1, 6);
    int d = std::max(0, std::atoi(h.substr(0, 2).c_str()));
    int m = std::max(0, std::atoi(h.substr(2, 2).c_str()));
    int y = std::max(0, std::atoi(h.substr(4, 2).c_str()));
    if (d > 1) {
        --d;
    } else if (m == 3) {
        d = y % 4 == 0 ? 29 : 28;
        m = 2;
    } else if (m == 5 || m == 7 || m == 10 || m == 12) {
        d = 30;
        --m;
    } else if (m == 1) {
        d = 31;
        m = 12;
        y = y == 0 ? 99 : y - 1;
    } else {
        d = 31;
        --m;
    }
    return TWO(d) + TWO(m) + TWO(y);
}

namespace {

// The receipts on the customer's chain ("APE.DAT") in chain order, read under "FAPO" with the
// receipt file opened once; nodes naming a record past "AM.DAT" are passed over.
std::vector<APOD0::TRECAP> receiptsOf(uint16_t PR) {
    std::vector<APOD0::TRECAP> out;
    UMAS::LOCK("FAPO");
    const std::vector<uint16_t> xs = APODI::WALK("APE", PR);
    PLAT::File am;
    if (!xs.empty() && am.open(UMAS::PATH + "AM.DAT", PLAT::File::READ, false)) {
        const int64_t records = am.size() / int64_t(APOD0::TRECAP::SIZE);
        out.reserve(xs.size());
        uint8_t b[APOD0::TRECAP::SIZE];
        for (uint16_t xn : xs) {
            if (xn >= records) continue;
            am.readAt(int64_t(xn) * int64_t(APOD0::TRECAP::SIZE), b, sizeof b);
            out.push_back(APOD0::TRECAP::decode(b));
        }
    }
    am.close();
    UMAS::UNLOC("FAPO");
    return out;
}

// The number a row carries for its place within its day.
int64_t rowNumber(const std::string& AI) {
    auto at = [&](size_t pos) {
        const std::string part = AI.size() > pos ? AI.substr(pos, 5) : "";
        // five characters hold at most 99999, unless a receipt's reason has an exponent there
        const double n = TIM0::ROUND(UMAS::EVAL(part));
        return std::abs(n) <= 99999 ? int64_t(n) : int64_t(99999);
    };
    if (AI.find(PLAT::gr("ΤΙΜΟ")) != std::string::npos) return at(11);
    if (AI.find(PLAT::gr("Κ.Ε.Δ.")) != std::string::npos) return at(16);
    return 99999;
}

// One pass over the invoice or credit-note chain of customer PR.
void documents(KARPCARD& C, const char* chainFile, const char* docFile, bool credit, uint16_t PR,
               const std::string& EA, const std::string& AF, int32_t Z0, int32_t Z1, int limit) {
    // a company without credit notes has no credit-note files
    const std::string chains = CHAINS(chainFile);
    PLAT::File docs;
    if (!docs.open(UMAS::PATH + docFile, PLAT::File::READ, false)) return;
    WALK(chains, APODI::PEHEADS, PR, [&](uint16_t HR) {
        TIM0::RTIM r;
        if (!READDOC(docs, HR, r)) return true;
        if (r.AKNUM != 0 || r.AKPAIP != 0 || !SAMECUSTOMER(r.EA, r.AF, EA, AF)) return true;
        const int32_t z = UMAS::HMVAL(r.HM);
        if (z <= 0 || z > Z1) return true;
        const double total = DISPLAY(AMOUNTS(r).value, r.HM) * (credit ? -1 : 1);
        C.SX += total;
        if (z < Z0) {
            C.rows[0].XR += total;
        } else {
            ++C.LM;
            C.rows.push_back(KINK{r.HM, r.KD, PLAT::gr(credit ? " ΠΙΣΤΩΤΙΚΟ " : " ΤΙΜΟΛΟΓΙΟ ") + r.TM, total, 0, 0});
        }
        return C.LM < limit;
    });
}

}  // namespace

KARPCARD KARPSEARCH(uint16_t PR, const std::string& EA, const std::string& AF, const std::string& H1,
                    const std::string& H2) {
    KARPCARD C;
    C.rows.reserve(64);
    const int32_t Z0 = UMAS::HMVAL(H1), Z1 = UMAS::HMVAL(H2);
    const std::string bd = DAYBEFORE(H1);
    C.rows.push_back(KINK{bd, "", PLAT::gr("ΥΠΟΛΟΙΠΟ ΕΩΣ ") + SLASHED(bd), 0, 0, 0});
    UMAS::LOCK("FTIM");
    documents(C, "TPE.DAT", "TM.DAT", false, PR, EA, AF, Z0, Z1, 999);
    documents(C, "SPE.DAT", "SM.DAT", true, PR, EA, AF, Z0, Z1, 4999);
    UMAS::UNLOC("FTIM");
    for (const APOD0::TRECAP& a : receiptsOf(PR)) {
        if (C.LM + C.LL >= KARP_ROWS) break;
        if (!SAMECUSTOMER(a.EA, a.AF, EA, AF)) continue;
        const int32_t z = UMAS::HMVAL(a.HM);
        if (z <= 0 || z > Z1) continue;
        const double amount = DISPLAY(DOCUNIT(a.PS, a.HM), a.HM);
        C.SP += amount;
        if (z < Z0) {
            C.rows[0].PI += amount;
        } else {
            ++C.LL;
            const std::string AI = PLAT::gr(amount >= 0 ? "ΑΠ. " : "ΑΠ.ΠΛ. ") + std::to_string(a.KV) + " " + a.AI;
            C.rows.push_back(KINK{a.HM, a.KD, UMAS::cut(AI, 22), 0, amount, 0});
        }
    }
    const int N = C.LM + C.LL;
    std::vector<int64_t> keys;
    keys.reserve(size_t(N));
    for (const KINK& k : C.rows) keys.push_back(HVAL(k.HM, rowNumber(k.AI)));
    SORT(C.rows, keys, N);
    double yp = 0;
    for (KINK& k : C.rows) {
        yp += k.XR - k.PI;
        k.YP = yp;
    }
    return C;
}

void KARPPRINT(const KARPCARD& C, const std::string& H1, const std::string& H2) {
    PRINTOUT p;
    p.line();
    const bool euros = UMAS::TIMEUR == 0;
    const int dec = euros ? 2 : 0;
    const int N = C.LM + C.LL;
    const std::string rule = "+==========+========+=======================+===========+===========+==========+";
    for (int page = 1; page <= PAGES(N); ++page) {
        if (page > 1) p.F.put(12);
        p.line(UMAS::CENTE(PLAT::gr("ΚΑΡΤΕΛΛΑ ΠΕΛΑΤΗ"), 80));
        p.line("       " + UMAS::CENTE(PLAT::gr("Για την περίοδο από ") + SLASHED(H1) + PLAT::gr(" έως ") + SLASHED(H2), 66));
        p.mode(5);
        p.line("+" + std::string(78, '=') + "+");
        p.text(PLAT::gr("|ΟΝΟΜΑΣΙΑ: "));
        p.mode(4);
        p.text(APODI::EA);
        p.mode(5);
        p.line(PLAT::gr("    Α.Φ.Μ.: ") + UMAS::LEJU(APODI::AF, 10) + "                |");
        p.line(PLAT::gr("|ΔΙΕΥ/ΣΗ : ") + UMAS::LEJU(APODI::DI, 25) + PLAT::gr(" ΠΟΛΗ: ") + UMAS::LEJU(APODI::PO, 15) +
               PLAT::gr(" ΤΗΛ.: ") + UMAS::LEJU(APODI::TH[1], 13) + " |");
        p.line(rule);
        p.line(PLAT::gr("|  ΗΜ/ΝΙΑ  |  Δ/ΣΗ  |       ΑΙΤΙΟΛΟΓΙΑ      |  ΧΡΕΩΣΗ   |  ΠΙΣΤΩΣΗ  | ΥΠΟΛΟΙΠΟ |"));
        p.line(rule);
        for (int i = 45 * (page - 1) + 1; i <= std::min(45 * page, N); ++i) {
            const KINK& r = C.rows[size_t(i - 1)];
            p.line("|" + padTo(r.HM, 6) + " " + WEEKDAY(r.HM) + " | " + padTo(UMAS::cut(r.KD, 7), 7) + "| " +
                   UMAS::LEJU(r.AI, 22) + "|" + NUM(r.XR, 10, dec) + " |" + NUM(r.PI, 10, dec) + " |" +
                   NUM(r.YP, 9, dec) + " |");
        }
        p.line(rule);
    }
    p.text(PLAT::gr("|  ΤΙΜΟΛΟΓΙΑ: "));
    p.mode(4);
    p.text(RIJU(std::to_string(C.LM - 1), 4));
    p.mode(5);
    p.text(PLAT::gr("   ΑΠΟΔΕΙΞΕΙΣ: "));
    p.mode(4);
    p.text(RIJU(std::to_string(C.LL), 4));
    p.mode(5);
    p.text("     |");
    const int w[3] = {10, 10, euros ? 11 : 9};
    const double t[3] = {C.SX, C.SP, C.SX - C.SP};
    for (int i = 0; i < 3; ++i) {
        p.mode(4);
        p.text(NUM(t[i], w[i], dec));
        p.mode(5);
        p.text(" |");
    }
    p.line();
    p.line("+===========================================+===========+===========+==========+");
    p.mode(11);
    p.finish();
}

void KARP() {
    TODAY();
    std::string H1 = TODAYTEXT(), H2 = H1;
    CLEARCUSTOMER();
    SCR::CALLM(2, true);
    KARPCARD C;
    C.rows.reserve(64);
    int II = 0;
    const HEADER head{11, 58, 15, 58, 10, 42, 57};
    auto BX0 = [&] { head.show(); };
    auto BX1 = [&](int from) {
        const int N = C.LM + C.LL;
        for (int i = 1; i <= 12; ++i) {
            const int y = 9 + i;
            SCR::PRINT(3, y, std::string(9, ' '));
            SCR::PRINT(14, y, std::string(10, ' '));
            SCR::PRINT(25, y, std::string(22, ' '));
            for (int x : {48, 59, 70}) SCR::PRINT(x, y, std::string(10, ' '));
            if (from + i > N) continue;
            const KINK& r = C.rows[size_t(from + i - 1)];
            SCR::PRINT(3, y, padTo(r.HM, 6));
            SCR::PRINT(10, y, WEEKDAY(r.HM));
            SCR::PRINT(14, y, UMAS::cut(r.KD, 10));
            SCR::PRINT(25, y, UMAS::cut(r.AI, 22));
            SCR::PRINT(48, y, AMT(r.XR, 10, 10));
            SCR::PRINT(59, y, AMT(r.PI, 10, 10));
            SCR::PRINT(70, y, AMT(r.YP, 10, 10));
        }
    };
    for (;;) {
        if (!CURRENTPROMPT(13, APODI::BON, BX0)) break;
        int KK = 0;
        HMER(H1, H2, 27, 6, 49, 6, KK);
        if (KK == 3) break;
        if (KK == 1) continue;
        C = KARPSEARCH(APODI::PR, APODI::EA, APODI::AF, H1, H2);
        II = 0;
        LEGEND();
        SCR::PRINT(14, 23, RIJU(std::to_string(C.LM - 1), 4));
        SCR::PRINT(32, 23, RIJU(std::to_string(C.LL), 4));
        for (int x : {48, 59, 70}) SCR::PRINT(x, 23, std::string(10, ' '));
        SCR::PRINT(48, 23, AMT(C.SX, 10, 10));
        SCR::PRINT(59, 23, AMT(C.SP, 10, 10));
        SCR::PRINT(70, 23, AMT(C.SX - C.SP, 10, 10));
        BX1(II);
        for (;;) {
            PLAT::KeyEvent k;
            const LK what = LISTKEY(II, C.LM + C.LL, 12, k);
            if (what == LK::ESC) break;
            if (what == LK::MOVED) BX1(II);
            if (what == LK::PRINT && ASKPRINT()) KARPPRINT(C, H1, H2);
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace ARP2
