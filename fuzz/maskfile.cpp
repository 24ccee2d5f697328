// Fuzz target: the mask file "KORVEX.MSK" as the start-up checks and loads it, and the declaration
// form read through its box tables once the file is accepted.
#include <cstddef>
#include <cstdint>
#include <string>

#include "declarations/bod.h"
#include "shell/start.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string why = START::CHECKMASKS(bytes);
    std::vector<UMAS::CONV> masks = START::parseMasks(bytes);
    if (!why.empty()) return 0;  // refused at start: nothing of it is used
    (void)BOD::CHECKFORM(masks);
    UMAS::MPR = std::move(masks);
    for (const char* kind : {"IMP", "DFK"}) {
        if (!BOD::SETFORM(kind)) __builtin_trap();  // an accepted file always holds the form
        for (int n = 1; n <= BOD::BOXES; ++n) {
            std::string s = BOD::SOB(BOD::DIA, BOD::GV, n);
            BOD::BOS(BOD::DIA, BOD::GV, n, s);
            (void)BOD::MES.line(BOD::GV.HLP(n));
        }
        for (int n = 1; n <= BOD::SHEET_BOXES; ++n) (void)BOD::SOB(BOD::BIS, BOD::GB, n);
        (void)BOD::CSU(BOD::DIA, BOD::GV, BOD::BOXES);
    }
    return 0;
}
