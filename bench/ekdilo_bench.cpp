// The cargo manifest with 60 lines: opening the editor over its stored file (left at once with
// Esc), storing it, and the row engine of its segment file over the demo's field table. Aims:
// each under 10 ms.
#include <stdlib.h>

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
#include "platform/console.h"
#include "platform/fatal.h"
#include "config/params.h"
#include "shell/install.h"
#include "shell/start.h"
#include "submission/disket_run.h"
#include "submission/ekdilo.h"

namespace {

// The median of 21 timed runs of fn, in milliseconds.
template <class F>
double medianOf21(F fn) {
    std::vector<double> t;
    for (int i = 0; i < 21; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        fn();
        t.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::nth_element(t.begin(), t.begin() + 10, t.end());
    return t[10];
}

void run() {
    char folder[] = "/tmp/korvex-bench-XXXXXX";
    const std::string dir = mkdtemp(folder);
    UMAS::PATH = dir + "/";
    // An empty print layout: the editor reads it at opening.
    std::ofstream(UMAS::PATH + "ParDILL.dat", std::ios::binary) << std::string(PARAMS::PARDOC_SIZE, '\0');
    auto hc = std::make_unique<PLAT::HeadlessConsole>();
    PLAT::HeadlessConsole& con = *hc;
    PLAT::setConsole(std::move(hc));
    UMAS::CRP = &con.cells;
    START::RMASK(UMAS::MPR, KORVEX_BINARY_DIR "/KORVEX.MSK");
    BOD::SETFORM("IMP");
    for (int b = 1; b <= BOD::BOXES; ++b) BOD::BOS(BOD::DIA, BOD::GV, b, "");
    BOD::BOS(BOD::DIA, BOD::GV, 1, "500");
    BOD::BOS(BOD::DIA, BOD::GV, 8, "101226");
    BOD::BOS(BOD::DIA, BOD::GV, 18, "60");

    EKDILO::DILOBUF b;
    EKDILO::READFROMEDE(b);
    for (int n = 1; n <= EKDILO::MAXLINES; ++n) {
        const std::string l = std::to_string(n);
        const char* cells[12] = {"1", "BL", "", "", "", "CT", "5", "", "GOODS", "LOT", "100.5", "T2F"};
        for (int j = 1; j <= 12; ++j) b.set(EKDILO::FRONT + 12 * (n - 1) + j, cells[j - 1] + (j == 2 ? " " + l : ""));
    }
    const std::string fn = EKDILO::FILENAME();
    const double store = medianOf21([&] { EKDILO::STORE(fn, b); });
    const double open = medianOf21([&] {
        con.ch(27);
        EKDILO::DILO(BOD::DIA, BOD::GV, BOD::PL);
    });
    std::vector<std::string> lines;
    std::ifstream in(std::string(KORVEX_SOURCE_DIR) + "/data/demo/tables/eformats/PARDILO.txt");
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    const std::string img = INSTALL::fieldTableImage(lines);
    const DISKET::PBUF buf = EKDILO::TOPBUF(b);
    size_t bytes = 0;
    const double walk = medianOf21([&] {
        DISKET::RUN R;
        R.EXT = "IMP";
        R.EDE = DISKET::ED_DILO;
        R.BUF = &buf;
        R.SYNEIDH = EKDILO::LINECOUNT(b);
        R.TAB = PARAMS::decodePARTIM7(reinterpret_cast<const uint8_t*>(img.data()));
        DISKET::WALK(R);
        bytes = R.OUT.size();
    });
    std::printf("manifest of 60 lines stored (%zu bytes, median of 21): %.3f ms (aim: under 10)\n",
                size_t(EKDILO::STOREDBYTES(b)), store);
    std::printf("manifest editor opened over its file and left (median of 21): %.3f ms (aim: under 10)\n", open);
    std::printf("manifest segment file of 60 lines (%zu bytes, median of 21): %.3f ms (aim: under 10)\n", bytes, walk);
    std::filesystem::remove_all(dir);
}

BENCH::Register reg("ekdilo", run);

}  // namespace
