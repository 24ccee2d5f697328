// One charge line of the invoice over a period: the line picker, the walk over the invoice day
// chains, the list and its printout.
#include <array>

#include "common/umas.h"
#include "config/params.h"
#include "invoicing/apodi.h"
#include "invoicing/tim0.h"
#include "platform/codepage.h"
#include "reports/arp2.h"
#include "reports/arp3.h"

namespace ARP3 {

using ARP2::AMT;
using ARP2::NUM;
using UMAS::padTo;
using UMAS::RIJU;

ITEMLIST KONDYLCOLLECT(int J, int32_t Z0, int32_t Z1) {
    ITEMLIST L;
    UMAS::LOCK("FTIM");
    {
        const std::string days = ARP2::CHAINS("TH.DAT");
        PLAT::File docs(UMAS::PATH + "TM.DAT", PLAT::File::READ);
        for (int32_t N = std::max<int32_t>(Z0, 0); N <= Z1 && L.CC() < KONDYL_ROWS && N < APODI::DAYHEADS; ++N)
            ARP2::WALK(days, APODI::DAYHEADS, N, [&](uint16_t HR) {
                TIM0::RTIM r;
                if (!ARP2::READDOC(docs, HR, r) || r.AKNUM != 0 || r.AKPAIP != 0) return true;
                BFI b{UMAS::cut(r.EA, 27), r.HM, r.TM,
                      ARP2::DISPLAY(ARP2::DOCUNIT(r.XR[size_t(std::clamp(J, 1, 19))], r.HM), r.HM)};
                L.S1 += b.PI;
                L.rows.push_back(std::move(b));
                return L.CC() < KONDYL_ROWS;
            });
    }
    UMAS::UNLOC("FTIM");
    return L;
}

void KONDYLPRINT(const ITEMLIST& L, const std::string& HS1, const std::string& HS2) {
    ARP2::PRINTOUT p;
    const bool amounts = ARP2::SHOWAMOUNTS();
    const int dec = UMAS::TIMEUR == 0 ? 2 : 0;
    const std::string rule = "+==========================+========+======+===========+";
    const int pages = ARP2::PAGES(L.CC());
    for (int page = 1; page <= pages; ++page) {
        if (page > 1) p.F.put(12);
        p.tab(31);
        p.line(PLAT::gr("ΚΟΝΔΥΛΙΟ ΠΕΡΙΟΔΟΥ"));
        p.tab(25);
        p.text(PLAT::gr("ΑΠΟ ") + HS1 + PLAT::gr(" ΕΩΣ ") + HS2);
        p.tab(72);
        p.line(PLAT::gr("σελ. ") + std::to_string(page));
        p.mode(5);
        p.line(rule);
        p.line(PLAT::gr("|     Ε Π Ω Ν Υ Μ Ι Α      | ΗΜ/ΝΙΑ |ΤΙΜΟΛ.|   ΑΞΙΑ    |"));
        p.line(rule);
        for (int i = 45 * (page - 1) + 1; i <= std::min(45 * page, L.CC()); ++i) {
            const BFI& b = L.rows[size_t(i - 1)];
            p.line("| " + padTo(UMAS::cut(b.EA, 25), 25) + "| " + padTo(b.HM, 6) + " |" + padTo(b.TM, 6) + "|" +
                   (amounts ? NUM(b.PI, 10, dec) : std::string(10, ' ')) + " |");
        }
        p.line(rule);
        if (page == pages) {
            p.text(PLAT::gr("| ΤΙΜΟΛΟΓΙΑ : "));
            p.mode(4);
            p.text(RIJU(std::to_string(L.CC()), 4));
            p.mode(5);
            p.tab(35);
            p.text(PLAT::gr("ΣΥΝΟΛΑ: |"));
            p.mode(4);
            p.text(amounts ? NUM(L.S1, 10, dec) : std::string(10, ' '));
            p.mode(5);
            p.line(" |");
            p.line("+==========================================+===========+");
            p.mode(11);
        }
    }
    p.finish();
}

namespace {

// The line picker (mask 91): the chosen line 1..18, 0 on Esc.
int pickLine() {
    SCR::CALLM(91, true);
    std::array<uint8_t, PARAMS::PARTIM1_SIZE> buf{};
    PARAMS::RUFPAR("PARTIM1", buf.data(), buf.size());
    PARAMS::TPARTIM1 heads;
    PARAMS::decodePARTIM1(buf.data(), heads);
    heads[18] = PLAT::gr("ΑΜΟΙΒΗ");
    int L = 0, CL = 0, SL = 0;
    auto BOX_KON = [&] {
        SCR::PRINT(59, 16, RIJU(std::to_string(SL + 1), 2));
        for (int i = 1; i <= 9; ++i) {
            SCR::PRINT(17, 6 + i, RIJU(std::to_string(SL * 9 + i), 2));  // the line's number, 1 to 18
            SCR::PRINT(20, 6 + i, padTo(heads[size_t(SL * 9 + i)], 40));
        }
    };
    BOX_KON();
    int J = 0;
    for (;;) {
        int KK = 0;
        UMAS::EPIL(0, 14, 20, 0, 7, 1, 40, 8, 0, 1, L, CL, SL, KK, 0);
        if (KK == 0) {
            J = L + SL * 9 + 1;
            SCR::PRINT(4, 3, padTo(heads[size_t(J)], 20));
            break;
        }
        if (KK == 3) break;
        if (KK == 1 || KK == 2 || KK == 4 || KK == 5) BOX_KON();
    }
    // the chosen heading stays on the report screen once the picker is removed
    const std::string shown = J ? padTo(heads[size_t(J)], 20) : "";
    SCR::RECALL();
    if (J) SCR::PRINT(4, 3, shown);
    return J;
}

}  // namespace

void KONDYL() {
    ARP2::TODAY();
    SCR::PRINT(5, 1, PLAT::gr("ΚΟΝΔΥΛΙΟ"));
    SCR::PRINT(52, 6, PLAT::gr("  ΑΞΙΑ   "));
    SCR::PRINT(62, 6, std::string(9, ' '));
    SCR::PRINT(72, 6, std::string(7, ' '));
    SCR::CALLM(2, true);
    UMAS::FKEY({6, 7, 9}, ARP0::GM1);
    ARP2::PERIOD P;
    ITEMLIST L;
    int II = 0;
    auto BOX = [&](int T) {
        for (int i = 1; i <= 12; ++i) {
            const int y = 7 + i;
            ARP2::BLANKROW(y);
            if (T + i > L.CC()) continue;
            const BFI& b = L.rows[size_t(T + i - 1)];
            SCR::PRINT(3, y, padTo(b.EA, 27));
            SCR::PRINT(31, y, padTo(b.HM, 6));
            SCR::PRINT(38, y, ARP2::WEEKDAY(b.HM));
            SCR::PRINT(41, y, padTo(b.TM, 6));
            SCR::PRINT(52, y, AMT(b.PI, 9, 9));
        }
    };
    for (;;) {
        const int J = pickLine();
        if (J == 0) break;
        bool leave = false;
        for (;;) {
            int KK = 0;
            ARP2::PERIODIN(P, 35, 3, 35, 4, true, KK);
            if (KK == 3) leave = true;
            if (KK == 1 || KK == 3) break;
            L = KONDYLCOLLECT(J, UMAS::HMVAL(P.H1), UMAS::HMVAL(P.H2));
            II = 0;
            SCR::PRINT(24, 21, std::string(3, ' '));
            for (int x : {52, 62}) SCR::PRINT(x, 21, std::string(9, ' '));
            SCR::PRINT(72, 21, std::string(7, ' '));
            if (L.CC() == 0) {
                BOX(0);
                ARP2::UNTILESC(50);
                continue;
            }
            ARP2::LEGEND();
            SCR::PRINT(24, 21, RIJU(std::to_string(L.CC()), 3));
            SCR::PRINT(52, 21, AMT(L.S1, 9, 9));
            SCR::PRINT(62, 21, std::string(9, ' '));
            SCR::PRINT(72, 21, std::string(9, ' '));
            BOX(0);
            for (;;) {
                PLAT::KeyEvent k;
                const ARP2::LK what = ARP2::LISTKEY(II, L.CC(), 12, k);
                if (what == ARP2::LK::ESC) break;
                if (what == ARP2::LK::MOVED) BOX(II);
                if (what == ARP2::LK::PRINT && ARP2::ASKPRINT()) KONDYLPRINT(L, P.HS1, P.HS2);
            }
        }
        if (leave) break;
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace ARP3
