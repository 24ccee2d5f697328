// The segment file of a 99-item transit declaration over the demo's field table, every item with a
// box-40 grid, box-44 documents, packages and containers (aim: under 20 ms).
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
#include "submission/disket_run.h"

namespace {

using Clock = std::chrono::steady_clock;

void run() {
    PLAT::setThrowOnExit(true);
    PLAT::setConsole(std::make_unique<PLAT::HeadlessConsole>());
    char tmpl[] = "/tmp/korvex-bench-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    UMAS::PATH = dir + "/";
    STORE::installFiles(UMAS::PATH);
    BENCH::syntheticForm(4, 20, 20);
    auto box = [](int n, const std::string& s) { BOD::BOS(BOD::DIA, BOD::GV, n, s); };
    box(1, "600");
    box(2, "T1");
    box(8, "101226");
    box(18, "99");
    box(19, "99");
    box(20, "12345");
    box(93, "740:DOC1");
    BOD::AY = BOD::MOT{};
    BOD::AY.ON = "CT";
    BOD::AY.TY = "1";
    for (int n = 1; n <= 99; ++n) {
        EKEXTRA::TDILOS g;
        for (int r = 1; r <= 3; ++r) g.at(r, 1) = "X", g.at(r, 2) = "740", g.at(r, 5) = "REF" + std::to_string(r);
        EKEXTRA::WRITEGRID(EKEXTRA::ITEMNAME("600", ".L", std::to_string(n)), g);
        EKEXTRA::CONTBUF c;
        for (int k = 0; k < 3; ++k) c.E[size_t(k)] = "MSCU123456" + std::to_string(k);
        char sheet[8];
        std::snprintf(sheet, sizeof sheet, "%02d", n);
        EKEXTRA::WRITECONT(EKEXTRA::CONTAINERNAME("600", sheet), c);
        if (n == 1) continue;
        for (int b = 1; b <= BOD::SHEET_BOXES; ++b) BOD::BOS(BOD::BIS, BOD::GB, b, "");
        BOD::BOS(BOD::BIS, BOD::GB, 3, sheet);
        BOD::BOS(BOD::BIS, BOD::GB, 43, "380:CMR" + std::to_string(n));
        char key[32];
        std::snprintf(key, sizeof key, "600%02d%02d", (n - 2) / 3 + 2, n);
        BOD::BM = STORE::padKey(key, 14);
        BOD::BOB = false;
        BOD::AYB = BOD::MOT{};
        BOD::AYB.ON = "BX";
        BOD::AYB.TY = "1";
        EKDO::KATB();
    }
    std::vector<std::string> lines;
    std::ifstream in(std::string(KORVEX_SOURCE_DIR) + "/data/demo/tables/eformats/PART1.txt");
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    std::string img = INSTALL::fieldTableImage(lines);
    std::vector<double> t;
    size_t bytes = 0;
    for (int k = 0; k < 20; ++k) {
        DISKET::RUN R;
        R.EXT = "MTF";
        R.EDE = DISKET::ED_FILE;
        R.TAB = PARAMS::decodePARTIM7(reinterpret_cast<const uint8_t*>(img.data()));
        // The containers of every item, ahead of the items.
        R.TAB[43].KV = 1025;
        box(48, "1");
        const auto t0 = Clock::now();
        DISKET::WALK(R);
        t.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        bytes = R.OUT.size();
        if (R.AREIDOS != 99 || R.CERR) std::printf("transit file: %d items, %d errors\n", R.AREIDOS, R.CERR);
    }
    std::sort(t.begin(), t.end());
    std::printf("transit file of 99 items (%zu bytes): median %6.3f ms, worst %6.3f ms (aim: under 20)\n", bytes,
                t[t.size() / 2], t.back());
    std::filesystem::remove_all(dir);
}

BENCH::Register reg("disket_transit", run);

}  // namespace
