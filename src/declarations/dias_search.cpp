// The declaration search: the declarations of one kind in a date range whose sender, receiver and
// customs office match the clerk's fields, fifteen to a page.
#include <algorithm>

#include "codes/kvdi.h"
#include "customers/arp0.h"
#include "customers/pelat.h"
#include "declarations/dias.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace DIAS {

namespace lists {
using UMAS::padTo;
using UMAS::cut;
void today();
void open(const std::string& KD, const std::string& EXT, int slot);
}  // namespace lists

namespace {

bool blank7(const std::string& s) { return lists::padTo(s, 7) == std::string(7, ' '); }
bool allDigits(const std::string& s) {
    return !s.empty() && s.size() <= 9 && s.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

bool FILTEROK(const REC& r, const std::string& EA, const std::string& EAX, const std::string& KTEL) {
    if (!EA.empty() && !blank7(EA)) {
        const std::string s = UMAS::CUTLEADSPACES(EA.substr(0, std::min<size_t>(7, EA.size())));
        if (r.APOST.find(s) == std::string::npos) return false;
    }
    if (!EAX.empty() && !blank7(EAX)) {
        // the row keeps 20 characters of the receiver: a longer name is compared on those
        const std::string s = UMAS::CUTLEADSPACES(lists::cut(EAX, 20));
        if (r.PARAL.find(s) == std::string::npos) return false;
    }
    const std::string k = UMAS::trim(KTEL);
    if (!k.empty()) {
        const std::string rk = UMAS::trim(r.KTEL);
        // by value: the picker's 123 is box 7's 0123
        if (allDigits(k) && allDigits(rk)) {
            if (std::stol(k) != std::stol(rk)) return false;
        } else if (k != rk) {
            return false;
        }
    }
    return true;
}

void ANAZHTHSH(const std::string& EXT) {
    std::string EA, XORAP, EAX, XORPRO, KTEL;
    lists::today();
    SCR::CALLM(128, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({1, 4, 6, 7}, GM1);
    std::vector<REC> P(ROWS_H);
    int CC = 0;
    const char* title = EXT == "IMP"   ? "   ΕΙΣΑΓΩΓΗ  "
                        : EXT == "DFK" ? "   Δ.Ε.Φ.Κ.  "
                        : EXT == "EXP" ? "   ΕΞΑΓΩΓΗ   "
                        : EXT == "MET" ? " ΑΠΟΤΑΜΙΕΥΣΗ "
                        : EXT == "MTF" ? "ΔΙΑΜΕΤΑΚΟΜΙΣΗ"
                                       : "";
    SCR::PRINT(17, 2, PLAT::gr(title));
    SCR::SOC SAB = SCR::soc(" &-./") | SCR::socRange('A', 'Z') | SCR::socRange('a', 'z') | SCR::socRange(128, 175) |
                   SCR::socGreekAccented();
    SAB.set(224);
    const SCR::SOC latin = SCR::socRange('A', 'Z');
    KVDI::RECPOL RXOR;
    KVDI::RECTEL RTEL;

    auto BOX = [&](int SL) {
        SCR::PRINT(74, 23, UMAS::RIJU(std::to_string(SL + 1), 2));
        for (int i = 15 * SL + 1; i <= 15 * SL + 15; ++i) {
            const int y = i + 7 - 15 * SL;
            if (i <= CC) {
                const REC& r = P[size_t(i - 1)];
                SCR::PRINT(2, y, UMAS::RIJU(std::to_string(i), 3));
                SCR::PRINT(9, y, lists::padTo(r.HM, 6));
                SCR::PRINT(17, y, lists::padTo(r.KD, 10));
                SCR::PRINT(28, y, lists::padTo(r.EM, 34));
                SCR::PRINT(64, y, lists::padTo(lists::cut(r.KL, 8), 8));
                SCR::PRINT(77, y, UMAS::RIJU(r.TEM, 2));
            } else {
                SCR::PRINT(2, y, std::string(3, ' '));
                SCR::PRINT(9, y, std::string(6, ' '));
                SCR::PRINT(17, y, std::string(10, ' '));
                SCR::PRINT(28, y, std::string(34, ' '));
                SCR::PRINT(64, y, std::string(8, ' '));
                SCR::PRINT(77, y, std::string(2, ' '));
            }
        }
    };
    // A country picked for the field at row y.
    auto country = [&](std::string& field, int y) {
        uint8_t kk = 3;
        KVDI::POL(RXOR, true, kk);
        if (kk == 0) {
            field = lists::cut(UMAS::REMLCH(RXOR.KV, ' '), 2);
            SCR::PRINT(60, y, lists::padTo(field, 2));
            SCR::PRINT(63, y, UMAS::LEJU(RXOR.CI, 17));
        }
    };
    auto search = [&] {
        P.assign(ROWS_H, REC{});
        CC = 0;
        BOX(0);
        READH(P, CC, UMAS::HMVAL(H1), UMAS::HMVAL(H2), EXT, false,
              [&](const REC& r) { return FILTEROK(r, EA, EAX, KTEL); }, true);
        BOX(0);
        if (!ALLGOOD) ERRORFILE();
    };

    BOX(0);
    bool done = false;
    while (!done) {
        int KK = 0;
        HMER(H1, H2, 60, 2, 71, 2, KK, false);
        if (KK == 3) break;
        int field = 1;
        while (field >= 1 && field <= 5) {
            int K = 0;
            switch (field) {
            case 1: {
                std::string T = SCR::GINPUT(12, 3, 30, EA, "", SAB, false, true, K);
                if (K != 3) EA = lists::padTo(ARP0::FOLD(T), 30);
                if (K == 6) {
                    uint16_t pr = ARP0::NONE;
                    ARP0::RR0 r;
                    PELAT::ALPHAPEL(EA, 0, pr, &r);
                    if (pr == ARP0::NONE) continue;
                    EA = lists::cut(r.EA, 30);
                    SCR::PRINT(12, 3, lists::padTo(EA, 30));
                    field = 2;
                    continue;
                }
                break;
            }
            case 2:
                XORAP = SCR::GINPUT(60, 3, 2, XORAP, "", latin, false, true, K);
                if (K == 6) {
                    country(XORAP, 3);
                    field = 3;
                    continue;
                }
                break;
            case 3: {
                std::string T = SCR::GINPUT(16, 4, 26, EAX, "", SAB, false, true, K);
                if (K != 3) {
                    T = ARP0::FOLD(T);
                    if (!T.empty() && std::string("&-./").find(T[0]) != std::string::npos) {
                        PLAT::con().bell();
                        EAX = T;
                        continue;
                    }
                    EAX = lists::padTo(T, 26);
                }
                if (K == 6) {
                    uint16_t pr = ARP0::NONE;
                    ARP0::RR0 r;
                    PELAT::ALPHAPEL(EAX, 1, pr, &r);
                    if (pr == ARP0::NONE) continue;
                    EAX = lists::cut(r.EA, 26);
                    SCR::PRINT(16, 4, lists::padTo(EAX, 26));
                    field = 4;
                    continue;
                }
                break;
            }
            case 4:
                XORPRO = SCR::GINPUT(60, 4, 2, XORPRO, "", latin, false, true, K);
                if (K == 6) {
                    country(XORPRO, 4);
                    field = 5;
                    continue;
                }
                break;
            case 5:
                KTEL = SCR::GINPUT(13, 5, 4, KTEL, "", SCR::socDigits(), false, true, K);
                if (K == 6) {
                    uint8_t kk = 3;
                    KVDI::TEL(RTEL, true, kk);
                    if (kk == 0) {
                        KTEL = std::to_string(RTEL.KV);
                        SCR::PRINT(13, 5, lists::padTo(KTEL, 4));
                        SCR::PRINT(18, 5, UMAS::LEJU(RTEL.TE, 16));
                    }
                    field = 6;
                    continue;
                }
                break;
            }
            if (K == 0 || K == 2) ++field;
            else if (K == 1) --field;
            else if (K == 3) {
                done = true;
                break;
            }
        }
        if (done || field == 0) continue;
        search();
        int LI = 0, CO = 0, SE = 0;
        for (;;) {
            int K = 0;
            UMAS::EPIL(0, 14, 1, 0, 8, 1, 80, 14, 0, CC == 0 ? 0 : (CC - 1) / 15, LI, CO, SE, K, 0);
            if (K == 0) {
                // The last page may offer rows past the rows kept: they are blank lines.
                const size_t row = size_t(15 * SE + LI);
                lists::open(row < P.size() ? P[row].KD : REC{}.KD, EXT, 0);
                BOX(SE);
            } else if (K == 3) {
                break;
            } else if (K == 4 || K == 5) {
                BOX(SE);
            }
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace DIAS
