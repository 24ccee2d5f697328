// The general-switches editor and the parameters menu with its two submenus.
#include "config/params.h"

#include <array>
#include <cstdint>
#include <string>

#include "common/umas.h"
#include "invoicing/formix.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace PARAMS {

namespace {

constexpr size_t REC = UMAS::RECPAREDE::SIZE;  // 42 bytes: MAL string[40], TIMI
constexpr size_t TIMI_OFS = 41;

void arrows() {
    GM1[7] = PLAT::gr(" , .Μετακίνηση");
    GM1[7][0] = 24;
    GM1[7][2] = 25;
}

}  // namespace

void CALLPAREDE() {
    arrows();
    SCR::CALLM(103, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({1, 2, 7, 8}, GM1);

    // The working copy is the file image; only the value bytes are changed, the rest is kept as read.
    std::array<uint8_t, UMAS::PAREDE_SIZE> copy{};
    PLAT::con().gotoXY(1, 24);  // a "file not found" line goes below the switches
    RUFPAR("PAREDE", copy.data(), copy.size());
    auto value = [&](int i) -> uint8_t& { return copy[size_t(i - 1) * REC + TIMI_OFS]; };
    // Three cells, so that a value of a damaged file (above 9) leaves nothing behind once corrected.
    auto BOX = [&] {
        for (int i = 1; i <= 20; ++i) SCR::PRINT(64, i + 3, padTo(std::to_string(value(i)), 3));
    };

    int LI = 0, CO = 0, SE = 0, KK = 0;
    BOX();
    for (;;) {
        KK = 0;
        UMAS::EPIL(0, 14, 16, 0, 4, 1, 52, 19, 0, 0, LI, CO, SE, KK, 0);
        switch (KK) {
        case 0: {
            SCR::CALLM(2, true);
            UMAS::FKEY({10}, GM1);
            int K = 0;
            std::string s =
                SCR::GINPUT(64, LI + 4, 1, std::to_string(value(LI + 1)), "", SCR::socDigits(), false, true, K);
            // Esc keeps the value as it was (also one that does not fit the one-digit field), and so
            // does a pasted character that is not a digit: a switch only ever holds 0 to 9.
            if (K != 3) {
                if (s.empty())
                    value(LI + 1) = 0;
                else if (s[0] >= '0' && s[0] <= '9')
                    value(LI + 1) = uint8_t(s[0] - '0');
            }
            BOX();
            SCR::RECALL();
            break;
        }
        case 1:
        case 2:
        case 4:
        case 5: BOX(); break;
        case 7: {
            std::string bytes(copy.begin(), copy.end());
            UMAS::decodePAREDE(bytes, UMAS::PAREDE);
            UMAS::derivePAREDE();
            KATPAR("PAREDE", copy.data(), copy.size());
            break;
        }
        case 3:
            SCR::RECALL();
            SCR::RECALL();
            return;
        default: break;
        }
    }
}

void PARMEN() {
    arrows();
    SCR::CALLM(16, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({1, 6, 7}, GM1);
    for (int y = 6; y <= 15; ++y) SCR::PRINT(24, y, std::string(31, ' '));
    SCR::PRINT(28, 5, PLAT::gr("  ΠΑΡΑΜΕΤΡΟΙ ΕΦΑΡΜΟΓΗΣ"));
    SCR::PRINT(25, 8, PLAT::gr("1.  ΠΑΡΑΜΕΤΡΟΙ ΕΞΟΔΟΛΟΓΙΟΥ"));
    SCR::PRINT(25, 10, PLAT::gr("2.  ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ"));
    SCR::PRINT(25, 12, PLAT::gr("3.  ΗΛΕΚΤΡΟΝΙΚΕΣ ΜΟΡΦΕΣ"));
    SCR::PRINT(25, 14, PLAT::gr("4.  ΓΕΝΙΚΕΣ ΠΑΡΑΜΕΤΡΟΙ"));
    SCR::PRINT(22, 16, std::string(30, ' '));

    int LI = 0, CO = 0, SE = 0, KK = 0;
    for (;;) {
        KK = 0;
        UMAS::EPIL(4, 15, 23, 0, 8, 2, 34, 3, 0, 0, LI, CO, SE, KK, 0);
        if (KK == 3) break;
        if (KK != 0) continue;
        switch (LI) {
        case 0: PARMEN_PAREXOD(); break;
        case 1: PARMEN_PARENTYPON(); break;
        case 2: CALLPARTIM7(); break;
        case 3: CALLPAREDE(); break;
        default: break;
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

void PARMEN_PAREXOD() {
    SCR::CALLM(105, true);
    for (int y = 8; y <= 15; ++y) SCR::PRINT(24, y, std::string(31, ' '));
    SCR::PRINT(30, 6, PLAT::gr(" ΕΞΟΔΟΛΟΓΙΟΥ-ΕΑΦΔΣΣ"));
    static const char* const ENTRIES[7] = {
        "1.  ΚΟΝΔΥΛΙΑ ΤΙΜΟΛΟΓΙΟΥ", "2.  ΑΙΤΙΟΛΟΓΙΕΣ Κ.Ε.Δ.", "3.  ΣΤΟΙΧΕΙΑ TIM/ΓΙΟΥ ΑΠΟ ΕΔΕ",
        "4.  ΕΚΤΥΠΩΣΗΣ ΕΞΟΛΟΓΙΟΥ", "5.  ΣΕΙΡΕΣ Τ.Π.Υ.",  "6.  ΣΕΙΡΕΣ ΠΙΣΤΩΤΙΚΩΝ",
        "7.  ΠΑΡΑΜΕΤΡΟΙ ΕΑΦΔΣΣ"};
    for (int i = 0; i < 7; ++i) SCR::PRINT(25, 8 + i, PLAT::gr(ENTRIES[i]));

    int LI = 0, CO = 0, SE = 0, KK = 0;
    for (;;) {
        KK = 0;
        // F1 on entry 2 edits the print settings of the expenses statement.
        UMAS::EPIL(4, 15, 24, 0, 8, 1, 32, 6, 0, 0, LI, CO, SE, KK, LI == 1 ? 82 : 0);
        if (KK == 3) break;
        if (KK != 0) continue;
        switch (LI) {
        case 0: CALLPARTIM1(); break;
        case 1: CALLPARTIM2(); break;
        case 2: CALLPARTIM3(); break;
        case 3: CALLPARTIM4(); break;
        case 4: SEIRES(0); break;
        case 5: SEIRES(1); break;
        case 6: FORMIX::EDITFORMIXPATH(); break;
        default: break;
        }
    }
    SCR::RECALL();
}

void PARMEN_PARENTYPON() {
    SCR::CALLM(89, true);
    int LI = 0, CO = 0, SE = 0, KK = 0;
    for (;;) {
        KK = 0;
        UMAS::EPIL(4, 15, 26, 0, 8, 1, 31, 13, 0, 0, LI, CO, SE, KK, LI == 1 ? 82 : 0);
        if (KK == 3) break;
        if (KK != 0) continue;
        CALLPARENTYPON(LI + 1);
    }
    SCR::RECALL();
}

}  // namespace PARAMS
