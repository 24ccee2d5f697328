// The submission keys of the declaration editor: the side data each format reads, the totals,
// then the segment-file run, the excise export or the XML run.
#include <cmath>

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/ek0.h"
#include "documents/ekbodi.h"
#include "documents/ekextra.h"
#include "platform/files.h"
#include "submission/disket.h"
#include "submission/diskoil.h"
#include "submission/diskxml.h"

namespace EK0 {

bool KATHEGG(const std::string& S2) {
    const auto lines = PLAT::readLines("Kath_Egg.txt");
    if (!lines) return false;
    for (const auto& l : *lines)
        if (UMAS::trim(l).substr(0, 2) == S2) return true;
    return false;
}

void SUBMIT(int K, const std::string& EXT, const std::function<void()>& TOTALS) {
    using BOD::DIA, BOD::GV;
    auto box = [](int n) { return BOD::SOB(DIA, GV, n); };
    auto value = [&](int n) { return UMAS::EVAL(UMAS::trim(box(n))); };
    const bool dfk = EXT == "DFK", mtf = EXT == "MTF";
    auto totals = [&] {
        if (TOTALS) TOTALS();
    };
    auto packages = [&] { EKEXTRA::SYSKEYASIES(DIA, GV, 72, BOD::AY); };
    // The goods side data.
    auto goods = [&] {
        if (UMAS::trim(box(33)) == "02") EKEXTRA::GIVEVASIS(DIA, GV, 72);
        if (value(48) > 0) EKEXTRA::CONTAINER_NUMS(false);
        if (EXT == "EXP" && value(18) > 1) EKEXTRA::EGGMETAF();
    };
    // The excise split: cars (the vehicle list, then the vehicle format) or spirits (the wine lines,
    // then the excise export).
    auto excise = [&](uint8_t carMode, uint8_t oilMode, bool test) {
        if (EKBODI::TYPOSDEFK() == 1) {
            EKEXTRA::AYT(DIA, GV, 72, 1, box(79), EXT, BOD::AY);
            DISKET::MAKE_DISK(EXT, carMode, nullptr, test);
        } else {
            EKEXTRA::KRASIA(DIA, GV, 72);
            DISKOIL::MAKE_DISK_OIL(EXT, oilMode, test);
        }
    };
    auto clearCarrier = [] {
        for (auto& s : UMAS::T1_METAF_ASF) s.clear();
    };

    switch (K) {
    case 17:  // Shift-F2
        if (dfk) return excise(DISKET::ED_AUTO, 1, false);
        if (mtf) {
            totals();
            packages();
        }
        goods();
        return DISKET::MAKE_DISK(EXT, DISKET::ED_FILE, nullptr, false);
    case 29:  // Alt-F2
        if (dfk) {
            goods();
            return excise(DISKET::ED_AUTOSEND, 5, false);
        }
        if (mtf) {
            clearCarrier();
            totals();
            packages();
        }
        goods();
        if (KATHEGG(UMAS::cut(box(84), 2))) EKEXTRA::EGGIMP();
        return DISKET::MAKE_DISK(EXT, DISKET::ED_SEND, nullptr, false);
    case 30:  // Ctrl-F2
        goods();
        if (dfk) return excise(DISKET::ED_AUTOSEND, 5, true);
        return DISKET::MAKE_DISK(EXT, DISKET::ED_SEND, nullptr, true);
    case 33:  // Alt-F1
        if (!mtf) return;
        EKEXTRA::T1_ASFAL();
        totals();
        packages();
        if (value(48) > 0) EKEXTRA::CONTAINER_NUMS(false);
        return DISKET::MAKE_DISK(EXT, DISKET::ED_SEND, nullptr, false);
    case 18:  // Shift-F3
        if (EXT != "EXP" && !mtf) return excise(DISKET::ED_AUTO, 1, false);
        totals();
        packages();
        EKEXTRA::STOIXIA_TIR();
        return DISKET::MAKE_DISK("MTF", DISKET::ED_TIR, nullptr, false);
    case 31:  // Alt-F3
    case 32:  // Ctrl-F3
        clearCarrier();
        totals();
        packages();
        EKEXTRA::STOIXIA_TIR();
        return DISKET::MAKE_DISK("MTF", DISKET::ED_TIRSEND, nullptr, K == 32);
    case 19:  // Shift-F4
        if (EXT != "EXP") return;
        totals();
        return DISKET::MAKE_DISK("MTF", DISKET::ED_FILE, nullptr, false);
    case 21:  // Shift-F10
    case 22:  // Shift-F9
    case 25:  // Shift-F8
        if (EXT != "IMP" && !mtf) return;
        totals();
        if (mtf) EKEXTRA::STOIXIA_TIR();
        return DISKXML::MAKE_XML(EXT, nullptr, K == 25, K == 21, false, false, false);
    default: return;
    }
}

}  // namespace EK0
