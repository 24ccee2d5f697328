// Recomputing all tax lines and totals of a declaration page after one box changes, as the editor
// does after every input in a tax or value box (SUM, then SM2). Aim: under 0.2 ms.
#include <chrono>
#include <cstdio>
#include <string>

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/taxlines.h"
#include "platform/console.h"
#include "shell/start.h"

void taxLinesBench() {
    using namespace BOD;
    START::RMASK(UMAS::MPR, KORVEX_BINARY_DIR "/KORVEX.MSK");
    if (!SETFORM("IMP")) {
        std::printf("tax lines: the mask file has no declaration form\n");
        return;
    }
    for (int b = 1; b <= BOXES; ++b) BOS(DIA, GV, b, "");
    const char* codes[] = {"USD", "GBP", "CHF", "   ", "JPY"};
    for (int k = 0; k < 5; ++k) {
        BOS(DIA, GV, 145 + 4 * k, codes[k]);
        BOS(DIA, GV, 146 + 4 * k, std::to_string(1000 + 37 * k) + "/1.1" + std::to_string(k));
    }
    BOS(DIA, GV, 86, "1500");
    BOS(DIA, GV, 89, "LTR:200");
    BOS(DIA, GV, 99, "12");
    const int kinds[] = {2, 7, 13, 15, 17, 20, 25, 1};
    const char* rates[] = {"10", "5", "2.5", "0.3", "10", "3", "5", "24"};
    for (int i = 1; i <= 8; ++i) {
        AY.EIF[size_t(i)] = uint8_t(kinds[i - 1]);
        BOS(DIA, GV, 98 + 5 * i, rates[i - 1]);
    }
    const int N = 20000;
    auto t0 = std::chrono::steady_clock::now();
    for (int n = 0; n < N; ++n) {
        BOS(DIA, GV, 146, std::to_string(1000 + n % 97) + "/1.25");
        SUM(DIA, GV, MAIN_FV, MAIN_SJ, AY, "IMP");
        SM2(DIA, GV, MAIN_FO, MAIN_FV, MAIN_SJ, AY, "IMP");
    }
    double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count() / N;
    std::printf("tax lines and totals of a page after one change: %.1f us (aim: under 200)\n", us);
}
