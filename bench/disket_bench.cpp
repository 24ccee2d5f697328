// The segment file of a 99-item declaration over the demo's field table: the row engine loading
// the 98 continuation-sheet items from the store (aim: under 20 ms).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench.h"
#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/store.h"
#include "declarations/store_form.h"
#include "platform/console.h"
#include "platform/fatal.h"
#include "shell/install.h"
#include "submission/disket_run.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<uint8_t> dia(BOD::SCB_BYTES), gv(BOD::GGV_BYTES), bis(BOD::SCB_BYTES), gb(BOD::GGV_BYTES);

void form() {
    BOD::DIA = BOD::SCB{dia.data(), BOD::PAGE_ROWS};
    BOD::GV = BOD::GGV{gv.data(), BOD::BOXES};
    BOD::BIS = BOD::SCB{bis.data(), BOD::SHEET_ROWS};
    BOD::GB = BOD::GGV{gb.data(), BOD::BOXES};
    for (auto* v : {&dia, &bis})
        for (size_t i = 0; i < v->size(); i += 2) (*v)[i] = ' ', (*v)[i + 1] = 7;
    for (BOD::GGV G : {BOD::GV, BOD::GB})
        for (int i = 1; i <= BOD::BOXES; ++i) {
            G.at(i, 1) = uint8_t(1 + ((i - 1) % 4) * 20);
            G.at(i, 2) = uint8_t(1 + (i - 1) / 4 % 65);
            G.at(i, 3) = 12;
            G.at(i, 4) = BOD::TY_TEXT;
        }
}

void run() {
    PLAT::setThrowOnExit(true);
    PLAT::setConsole(std::make_unique<PLAT::HeadlessConsole>());
    char tmpl[] = "/tmp/korvex-bench-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    UMAS::PATH = dir + "/";
    STORE::installFiles(UMAS::PATH);
    form();
    BOD::BOS(BOD::DIA, BOD::GV, 1, "500");
    BOD::BOS(BOD::DIA, BOD::GV, 8, "101226");
    BOD::BOS(BOD::DIA, BOD::GV, 18, "99");
    BOD::BOS(BOD::DIA, BOD::GV, 20, "12345");
    for (int b = 2; b < 100; ++b)
        if (b != 18 && b != 20 && b != 8) BOD::BOS(BOD::DIA, BOD::GV, b, "TEXT " + std::to_string(b));
    for (int n = 2; n <= 99; ++n) {
        for (int b = 1; b <= BOD::SHEET_BOXES; ++b) BOD::BOS(BOD::BIS, BOD::GB, b, "ITEM " + std::to_string(n));
        BOD::BOS(BOD::BIS, BOD::GB, 42, "N935:INV" + std::to_string(n));
        char key[32];
        std::snprintf(key, sizeof key, "500%02d%02d", (n - 2) / 3 + 2, n);
        BOD::BM = STORE::padKey(key, 14);
        BOD::BOB = false;
        BOD::AYB = BOD::MOT{};
        EKDO::KATB();
    }
    std::vector<std::string> lines;
    std::ifstream in(std::string(KORVEX_SOURCE_DIR) + "/data/demo/tables/eformats/PARDISK.txt");
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    const std::string img = INSTALL::fieldTableImage(lines);
    std::vector<double> t;
    size_t bytes = 0;
    for (int k = 0; k < 20; ++k) {
        DISKET::RUN R;
        R.EXT = "IMP";
        R.EDE = DISKET::ED_FILE;
        R.TAB = PARAMS::decodePARTIM7(reinterpret_cast<const uint8_t*>(img.data()));
        const auto t0 = Clock::now();
        DISKET::WALK(R);
        t.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        bytes = R.OUT.size();
        if (R.AREIDOS != 99) std::printf("segment file: only %d items\n", R.AREIDOS);
    }
    std::sort(t.begin(), t.end());
    std::printf("segment file of 99 items (%zu bytes): median %6.3f ms, worst %6.3f ms (aim: under 20)\n", bytes,
                t[t.size() / 2], t.back());
    std::filesystem::remove_all(dir);
}

BENCH::Register reg("disket", run);

}  // namespace
