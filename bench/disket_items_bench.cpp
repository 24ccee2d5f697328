// The item segments of a 99-item import over the demo's field table: eight tax lines, ten base
// products and 20 vehicles on every item (aim: under 30 ms); the vehicle check over 99 vehicle
// files whose only vehicle is the last record of the last file (aim: under 10 ms).
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
#include "documents/ekextra.h"
#include "platform/console.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "shell/install.h"
#include "submission/disket_run.h"
#include "submission/disket_writers.h"

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

// Eight tax lines from box `first` of a page, half of kind V and half of kind A.
void taxes(BOD::SCB P, BOD::GGV G, int first) {
    static const char* const TYPES[] = {"100", "080", "200", "TNE", "300", "DT5", "400", "KLT"};
    for (int k = 0; k < 8; ++k) {
        BOD::BOS(P, G, first + 5 * k, TYPES[k]);
        BOD::BOS(P, G, first + 5 * k + 1, "1234.567");
        BOD::BOS(P, G, first + 5 * k + 2, "19");
        BOD::BOS(P, G, first + 5 * k + 3, "234.57");
    }
}

double median(std::vector<double> t) {
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
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
    BOD::BOS(BOD::DIA, BOD::GV, 33, "02");
    UMAS::AFM_EKTEL = "099999999";
    BOD::BOS(BOD::DIA, BOD::GV, 34, UMAS::AFM_EKTEL);
    taxes(BOD::DIA, BOD::GV, 101);
    for (int n = 2; n <= 99; ++n) {
        for (int b = 1; b <= BOD::SHEET_BOXES; ++b) BOD::BOS(BOD::BIS, BOD::GB, b, "");
        taxes(BOD::BIS, BOD::GB, 51);
        char key[32];
        std::snprintf(key, sizeof key, "500%02d%02d", (n - 2) / 3 + 2, n);
        BOD::BM = STORE::padKey(key, 14);
        BOD::BOB = false;
        BOD::AYB = BOD::MOT{};
        EKDO::KATB();
    }
    UMAS::EXTRA_OXIMATA = {"", "150799", "010105", "A-12", "PERMIT", "1", "ATHINA"};
    for (int n = 1; n <= 99; ++n) {
        EKEXTRA::VASTABLE v;
        for (auto& l : v.L) l = {"0405101100 0001", "BUTTER", "12.5"};
        EKEXTRA::WRITEVAS(EKEXTRA::ITEMNAME("500", ".V", std::to_string(n)), v);
        EKEXTRA::PINAYT c;
        for (int q = 0; q < 20; ++q) {
            BOD::MOT& m = c.V[size_t(q)];
            m.ON = "10 CAR";
            m.AP = "WVWZZZ1JZXW" + std::to_string(100000 + q);
            m.ER = "VW";
            m.TY = "GOLF";
            m.AK = "AK" + std::to_string(q);
            m.KA = "PETROL";
            m.ET = "2005";
            m.KY = "1600";
            m.KT = "1";
        }
        EKEXTRA::WRITECARS(EKEXTRA::ITEMNAME("500", ".O", std::to_string(n)), c);
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
        R.EXEIOXIMATA = true;
        R.TAB = PARAMS::decodePARTIM7(reinterpret_cast<const uint8_t*>(img.data()));
        const auto t0 = Clock::now();
        DISKET::WALK(R);
        t.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        bytes = R.OUT.size();
        if (R.AREIDOS != 99 || R.TOTVASIS != 990 || R.TOTALCARS != 1980)
            std::printf("item segments: %d items, %d base products, %d vehicles\n", R.AREIDOS, R.TOTVASIS, R.TOTALCARS);
    }
    std::printf("item segments of 99 items (%zu bytes): median %6.3f ms, worst %6.3f ms (aim: under 30)\n", bytes,
                median(t), *std::max_element(t.begin(), t.end()));

    // The vehicle check: 99 files of records without a kind, the last with a vehicle at record 200.
    EKEXTRA::PINAYT none;
    for (auto& m : none.V) m.ON = "  ";
    for (int n = 1; n <= 99; ++n) {
        EKEXTRA::PINAYT f = none;
        if (n == 99) f.V[199].ON = "1";
        PLAT::writeWholeAtomic(EKEXTRA::ITEMNAME("500", ".O", std::to_string(n)), f.encode());
    }
    t.clear();
    bool found = true;
    for (int k = 0; k < 20; ++k) {
        DISKET::RUN R;
        const auto t0 = Clock::now();
        found = found && DISKET::WRITERS::VEHICLECHECK(R);
        t.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    if (!found) std::printf("vehicle check: the vehicle was not found\n");
    std::printf("vehicle check over 99 files: median %6.3f ms, worst %6.3f ms (aim: under 10)\n", median(t),
                *std::max_element(t.begin(), t.end()));
    UMAS::EXTRA_OXIMATA = {};
    std::filesystem::remove_all(dir);
}

BENCH::Register reg("disket_items", run);

}  // namespace
