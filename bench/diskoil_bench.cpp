// The excise segment file of a 99-item declaration over the demo's field table, 40 wine lines and
// three tax lines to an item: the excise row step loading the 98 continuation-sheet items from the
// store (two to a sheet) and each item's ".K" file (aim: under 20 ms).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench.h"
#include "form.h"
#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/store.h"
#include "declarations/store_form.h"
#include "documents/ekextra.h"
#include "platform/console.h"
#include "platform/fatal.h"
#include "shell/install.h"
#include "submission/diskoil.h"

namespace {

using Clock = std::chrono::steady_clock;

void run() {
    PLAT::setThrowOnExit(true);
    PLAT::setConsole(std::make_unique<PLAT::HeadlessConsole>());
    char tmpl[] = "/tmp/korvex-bench-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    UMAS::PATH = dir + "/";
    STORE::installFiles(UMAS::PATH);
    BENCH::syntheticForm(4, 12, 12);
    auto main = [](int b, const std::string& s) { BOD::BOS(BOD::DIA, BOD::GV, b, s); };
    main(1, "500");
    main(2, "IM");
    main(3, "4000");
    main(8, "101226");
    main(18, "99");
    main(20, "12345");
    main(34, "123456789");
    main(21, "123456789");
    main(66, "MARKS");
    main(72, "WINE");
    main(79, "22042110 00");
    main(84, "4000");
    main(89, "07:40");
    main(101, "110");
    main(104, "12.5");
    main(106, "250");
    main(107, "x");
    main(108, "23");
    main(109, "46");
    main(111, "KGM");
    main(114, "40");
    EKEXTRA::KRASTABLE k;
    for (int i = 0; i < EKEXTRA::KRASTABLE::LINES; ++i) k.L[size_t(i)] = {"2204211000", "1.000"};
    for (int n = 1; n <= 99; ++n) EKEXTRA::WRITEKRAS(EKEXTRA::ITEMNAME("500", ".K", std::to_string(n)), k);
    for (int n = 2; n <= 99; ++n) {
        auto sheet = [](int b, const std::string& s) { BOD::BOS(BOD::BIS, BOD::GB, b, s); };
        for (int b = 1; b <= BOD::SHEET_BOXES; ++b) sheet(b, "");
        sheet(3, std::to_string(n));
        sheet(23, "ITEM " + std::to_string(n));
        sheet(29, "22042110 00");
        sheet(34, "4000");
        sheet(39, "07:40");
        sheet(51, "110");
        sheet(54, "3");
        sheet(56, "250");
        sheet(57, "x");
        sheet(58, "23");
        sheet(59, "46");
        sheet(61, "KGM");
        sheet(64, "40");
        char key[32];
        std::snprintf(key, sizeof key, "500%02d%02d", n / 2 + 1, n);
        BOD::BM = STORE::padKey(key, 14);
        BOD::BOB = false;
        BOD::AYB = BOD::MOT{};
        EKDO::KATB();
    }
    std::vector<std::string> lines;
    std::ifstream in(std::string(KORVEX_SOURCE_DIR) + "/data/demo/tables/eformats/PARDEFK.txt");
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    const std::string img = INSTALL::fieldTableImage(lines);
    std::vector<double> t;
    size_t bytes = 0;
    for (int r = 0; r < 20; ++r) {
        DISKOIL::RUN R;
        R.EXT = "DFK";
        R.EDE = 1;
        R.IDIOS = 1;
        R.TAB = PARAMS::decodePARTIM7(reinterpret_cast<const uint8_t*>(img.data()));
        const auto t0 = Clock::now();
        DISKOIL::WALK(R);
        t.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        bytes = R.OUT.size();
        if (R.AREIDOS != 99) std::printf("excise file: only %d items\n", R.AREIDOS);
    }
    std::sort(t.begin(), t.end());
    std::printf("excise file of 99 items, 40 wines each (%zu bytes): median %6.3f ms, worst %6.3f ms (aim: under 20)\n",
                bytes, t[t.size() / 2], t.back());
    std::filesystem::remove_all(dir);
}

BENCH::Register reg("diskoil", run);

}  // namespace
