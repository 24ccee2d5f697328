// The small side-data editors kept in memory for the open declaration: guarantees, extra vehicle
// data, the transit carrier or insurer and the additional codes of an item.
#include "codes/gencod.h"
#include "codes/kvdi.h"
#include "common/umas.h"
#include "declarations/bod.h"
#include "documents/ekextra.h"
#include "platform/codepage.h"
#include "screen/scr.h"

namespace EKEXTRA {

UMAS::FUN GM1ARROWS() {
    UMAS::FUN f = BOD::GM1;
    if (f[7].size() >= 3) {
        f[7][0] = char(24);
        f[7][2] = char(25);
    }
    return f;
}

const UMAS::FUN GMAYT = {"",
                         PLAT::gr("ESC.Διασάφηση"),
                         PLAT::gr("PgUp,PgDn. α/α οχήματος"),
                         PLAT::gr("F9.Εισαγωγή ASCII"),
                         PLAT::gr("F8.Αντιγραφή Στοιχείων"),
                         "", "", "", "", "", ""};

void EGGIMP() {
    SCR::CALLM(134, true);
    for (int i = 1; i <= 5; ++i) {
        SCR::PRINT(16, 14 + i, UMAS::LEJU(UMAS::EGG_IMP_NUM[size_t(i)], 20));
        SCR::PRINT(43, 14 + i, UMAS::LEJU(UMAS::EGG_IMP_POSO[size_t(i)], 10));
    }
    int i = 1;
    bool amount = false;
    for (;;) {
        int K = 0;
        if (!amount) {
            SCR::CALLM(20, true);
            std::string& num = UMAS::EGG_IMP_NUM[size_t(i)];
            num = UMAS::cut(SCR::GINPUT(16, 14 + i, 18, num, "", SCR::socAll(), false, true, K), 20);
            SCR::RECALL();
            if (K == 3) break;
            if (K == 0 || K == 2) {
                amount = true;
            } else if (K == 1) {
                if (i > 1) --i, amount = true;
            } else if (K == 6) {
                std::string last;
                if (READEGGIISI(last)) {
                    num = last;
                    SCR::PRINT(16, 14 + i, UMAS::LEJU(num, 20));
                }
                amount = true;
            }
        } else {
            std::string& sum = UMAS::EGG_IMP_POSO[size_t(i)];
            sum = UMAS::cut(SCR::GINPUT(43, 14 + i, 10, sum, "", SCR::socAll(), false, true, K), 15);
            if (K == 3) break;
            if (K == 0 || K == 2) {
                if (i < 5) ++i, amount = false;
            } else if (K == 1) {
                amount = false;
            }
        }
    }
    SCR::RECALL();
    // The number of the last filled row is offered by Tab in the next declaration.
    std::string FINALEGG;
    for (int j = 5; j >= 1 && FINALEGG.empty(); --j) FINALEGG = UMAS::cut(UMAS::trim(UMAS::EGG_IMP_NUM[size_t(j)]), 18);
    if (!FINALEGG.empty()) WRITEEGGIISI(FINALEGG);
}

void AYTEXTRA() {
    static constexpr std::array<int, 6> W = {6, 6, 1, 20, 4, 2};
    SCR::CALLM(133, true);
    for (int i = 1; i <= 6; ++i) SCR::PRINT(22, 14 + i, UMAS::LEJU(UMAS::EXTRA_OXIMATA[size_t(i)], 20));
    int i = 1;
    for (;;) {
        std::string& f = UMAS::EXTRA_OXIMATA[size_t(i)];
        int K = 0;
        if (i == 5) SCR::CALLM(20, true);
        f = UMAS::cut(SCR::GINPUT(22, 14 + i, W[size_t(i - 1)], f, "", SCR::socAll(), false, true, K), 20);
        if (i == 5) SCR::RECALL();
        if (K == 3) break;
        if (K == 0 || K == 2) {
            if (i < 6) ++i;
        } else if (K == 1) {
            if (i > 1) --i;
        } else if (K == 6 && i == 5 && UMAS::FILEEXIST("ADEIES.TXT")) {
            GENCOD::GENCODE("ADEIES", PLAT::gr("ΕΙΔΗ ΑΔΕΙΩΝ"));
            if (!GENCOD::GENREC_CODE.SCODE.empty()) {
                f = UMAS::cut(GENCOD::GENREC_CODE.SCODE, 20);
                SCR::PRINT(22, 19, UMAS::LEJU(f, 20));
            }
        }
    }
    SCR::RECALL();
}

void T1_ASFAL() {
    static constexpr std::array<int, 4> W = {30, 30, 20, 2};
    SCR::CALLM(133, true);
    UMAS::ATR(22, 19, 10, 14);
    SCR::CALLM(2, true);
    UMAS::FKEY({1, 4}, GMAYT);
    // The mask is the extra vehicle data's: its own title goes before this one is written, so
    // that no piece of it shows at either end.
    SCR::PRINT(4, 14, std::string(50, ' '));
    SCR::PRINT(16, 14, PLAT::gr("T1.  ΑΣΦΑΛΕΙΑ - ΜΕΤΑΦΟΡΕΑΣ"));
    SCR::PRINT(5, 15, std::string(40, ' '));
    SCR::PRINT(5, 20, std::string(40, ' '));
    SCR::PRINT(5, 16, PLAT::gr("    ΕΠΩΝΥΜΙΑ  :        "));
    SCR::PRINT(5, 17, PLAT::gr("    ΔΙΕΥΘΥΝΣΗ :        "));
    SCR::PRINT(5, 18, PLAT::gr("    ΠΟΛΗ      :        "));
    SCR::PRINT(5, 19, PLAT::gr("    ΧΩΡΑ      :        "));
    auto show = [](int i) { SCR::PRINT(22, 15 + i, UMAS::LEJU(UMAS::T1_METAF_ASF[size_t(i)], 30)); };
    for (int i = 1; i <= 4; ++i) show(i);
    int i = 1;
    for (;;) {
        std::string& f = UMAS::T1_METAF_ASF[size_t(i)];
        int K = 0;
        if (i == 4) SCR::CALLM(20, true);
        f = UMAS::cut(SCR::GINPUT(22, 15 + i, W[size_t(i - 1)], f, "", SCR::socAll(), false, true, K), 30);
        if (i == 4) SCR::RECALL();
        if (K == 3) break;
        if (K == 0 || K == 2) {
            if (i < 4) ++i;
        } else if (K == 1) {
            if (i > 1) --i;
        } else if (K == 23) {
            static constexpr std::array<int, 4> FROM = {22, 23, 24, 44};
            for (int j = 1; j <= 4; ++j) {
                UMAS::T1_METAF_ASF[size_t(j)] = UMAS::cut(UMAS::trim(BOD::SOB(BOD::DIA, BOD::GV, FROM[size_t(j - 1)])), 30);
                show(j);
            }
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

void GIVEPROSTHETA() {
    SCR::CALLM(132, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({10}, BOD::GM1);
    auto draw = [](int r) {
        const UMAS::TRECPROS& p = UMAS::RECPROS[size_t(r)];
        SCR::PRINT(15, 5 + r, UMAS::LEJU(p.PROS_EIDOS, 2));
        SCR::PRINT(20, 5 + r, UMAS::LEJU(p.PROS_CODE, 6));
        SCR::PRINT(32, 5 + r, UMAS::LEJU(p.PROS_NAME, 25));
        SCR::PRINT(59, 5 + r, UMAS::RIJU(p.PROS_POS, 11));
    };
    for (int r = 1; r <= 3; ++r) draw(r);
    const SCR::SOC chars = SCR::socRange(32, 254);
    int LI = 0, CO = 0, SE = 0, KK = 0;  // KK: the list's key, also the picker's result
    for (;;) {
        UMAS::EPIL(0, 14, 10, 0, 6, 1, 61, 2, 0, 0, LI, CO, SE, KK, 0);
        if (KK == 3) break;
        if (KK != 0) continue;
        const int r = LI + 1;
        UMAS::TRECPROS& p = UMAS::RECPROS[size_t(r)];
        bool onPos = false;
        for (;;) {
            int K = 0;
            if (!onPos) {
                p.PROS_CODE = UMAS::cut(SCR::GINPUT(20, 5 + r, 6, p.PROS_CODE, "", chars, false, true, K), 6);
                if (K == 0 || K == 2) {
                    onPos = true;
                } else if (K == 1 || K == 3) {
                    break;
                } else if (K == 6) {
                    KVDI::V0F.TR = p.PROS_CODE;
                    uint8_t pk = 0;
                    KVDI::PROSTHETA(KVDI::V0F, true, pk);
                    KK = pk;
                    if (pk == 0) {
                        p.PROS_CODE = UMAS::cut(KVDI::V0F.TR, 6);
                        p.PROS_NAME = UMAS::cut(UMAS::trim(KVDI::V0F.PA), 30);
                        draw(r);
                        onPos = true;
                    }
                }
            } else {
                const std::string S = SCR::GINPUT(59, 5 + r, 11, UMAS::REMLCH(p.PROS_POS, ' '), "", chars, false, true, K);
                p.PROS_POS = UMAS::RIJU(S, 11);
                SCR::PRINT(59, 5 + r, p.PROS_POS);
                if (K == 1) onPos = false;
                else if (K == 0 || K == 2 || K == 3) break;
            }
        }
        if (KK == 3) break;
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace EKEXTRA
