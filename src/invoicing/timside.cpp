// The invoice editor's side functions: the 22 detail lines (F4), the customs amount (F7), a fiscal
// mark typed by hand (Shift-F4), the cancellation of a signed document (Shift-F10) and the display
// of a cancelled document.
#include "common/umas.h"
#include "config/params.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace TIM {

namespace {

using UMAS::cut;
using UMAS::padTo;

}  // namespace

void TIMOS::DETAILS() {
    SCR::CALLM(78, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({5}, TIM0::GM2());
    auto draw = [](int P) {
        for (int I = 1; I <= 11; ++I) {
            const size_t d = size_t(I + 11 * P);
            SCR::PRINT(8, I + 5, padTo(cut(TIM0::DSP[d], 18), 18));
            SCR::PRINT(29, I + 5, std::string(40, ' '));
            SCR::PRINT(29, I + 5, TIM0::DS[d]);
        }
    };
    int P = 0, I = 1, k = 0;
    draw(P);
    for (;;) {
        std::string& d = TIM0::DS[size_t(I + 11 * P)];
        d = SCR::GINPUT(29, I + 5, 40, d, "", SCR::socAll(), false, true, k);
        if (k == 0 || k == 2) {
            if (I < 11) {
                ++I;
            } else if (P == 0) {
                P = 1;
                I = 1;
                draw(P);
            } else if (k == 0) {
                break;
            }
        } else if (k == 1) {
            if (I > 1) {
                --I;
            } else if (P == 1) {
                P = 0;
                I = 11;
                draw(P);
            }
        } else if (k == 4) {
            if (P == 1) {
                P = 0;
                I = 11;
                draw(P);
            }
        } else if (k == 5) {
            if (P == 0) {
                P = 1;
                I = 1;
                draw(P);
            }
        } else if (k == 3) {
            break;
        } else if (k == 20) {
            PARAMS::CALC(TIM0::CAS);
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

void TIMOS::CUSTOMS() {
    SCR::CALLM(85, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({5}, TIM0::GM2());
    TIM0::EUROYEAR = TIM0::YEAROF(TIM0::HM);
    const bool euro = TIM0::EUROYEARS(TIM0::EUROYEAR);
    std::string s = UMAS::trim(TIM0::AMOUNTTEXT(TIM0::FX[5], euro));
    int k = 0;
    do {
        s = SCR::GINPUT(62, 22, 9, s, "", SCR::soc("0123456789."), false, true, k);
    } while (k != 0 && k != 3);
    if (k == 0) {
        TIM0::FX[5] = UMAS::EVAL(s);
        if (!euro) TIM0::FX[5] = TIM0::ROUND(TIM0::FX[5]);
    }
    SCR::RECALL();
    SCR::RECALL();
}

void TIMOS::MANUALMARK() {
    auto clearLine = [] {
        UMAS::ATR(2, 23, 28, 0x0E);
        SCR::PRINT(3, 23, std::string(40, ' '));
    };
    UMAS::ATR(2, 23, 28, 0x2F);
    SCR::PRINT(3, 23, PLAT::gr("Α/Α ΣΗΜΑΝΣΗΣ ΕΑΦΔΣΣ:      "));
    int k = 0;
    SCR::GINPUT(24, 23, 5, UMAS::LO2S(PAIPS[1], 5), "", SCR::SOC(), false, true, k);
    if (k != 22) {
        clearLine();
        return;
    }
    const std::string s = SCR::GINPUT(24, 23, 5, "", "", SCR::socDigits(), false, true, k);
    const int32_t v = UMAS::S2LO(s);
    // A mark of 0 (or none) would un-sign the document: it is not taken.
    if (k != 0 || v <= 0) {
        clearLine();
        return;
    }
    PAIPS[1] = v;
    KTT(false, false);
    SCR::PRINT(24, 23, UMAS::LO2S(PAIPS[1], 5));
}

bool TIMOS::CANCEL() {
    if (PAIPS[1] == 0) return false;
    AKNUM = AKAR() + 1;
    if (!PRINTPARAST(1)) return false;
    // A series without signing stores nothing while it prints: the document is stored with its
    // cancellation here, so that it counts as cancelled everywhere.
    if (R0.AKNUM != AKNUM) KTT(false, false);
    if (AKNUM > AKAR()) SETAKAR(AKNUM);
    return true;
}

void TIMOS::SHOWCANCELLED() {
    auto stripes = [](uint8_t at) {
        for (int I = 5; I <= 37; I += 2) {
            const int y = (I - 5) / 2 + 5;
            UMAS::ATR(I + 4, y, 2, at);
            UMAS::ATR(46 - I, y, 2, at);
        }
    };
    stripes(0x44);
    const int before = SCR::STACKPOINTER();
    SCR::CALLM(111, true);  // the notice box of a cancelled document
    const bool shown = SCR::STACKPOINTER() != before;
    SCR::PRINT(36, 12,
               PLAT::gr(TYPOSPARAST == 2 ? "  ΤΟ ΠΙΣΤΩΤΙΚΟ ΕΧΕΙ ΑΚΥΡΩΘΕΙ!  " : "  ΤΟ ΤΙΜΟΛΟΓΙΟ ΕΧΕΙ ΑΚΥΡΩΘΕΙ!  "));
    SCR::PRINT(36, 13, PLAT::gr("     Α/Α ΑΚΥΡΩΤΙΚΟΥ: ") + UMAS::LO2S(AKNUM, 5));
    PLAT::con().refresh();
    PRINTPARAST(1);
    if (shown) SCR::RECALL();
    stripes(0x03);
}

}  // namespace TIM
