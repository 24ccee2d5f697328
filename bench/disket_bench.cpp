// The segment file of a 99-item declaration over the demo's field table: the row engine loading
// the 98 continuation-sheet items from the store (aim: under 20 ms), and the same with the item
// segments of taxes, base products and vehicles on every item.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
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
#include "platform/files.h"
#include "shell/install.h"
#include "submission/disket_run.h"
#include "submission/disket_writers.h"

namespace {

using Clock = std::chrono::steady_clock;

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

// A company folder with a declaration "500" of 99 items, items 2 to 99 stored on their sheets;
// `sheet` fills what a sheet holds besides its key (the sheet's boxes are cleared before). Returns
// the folder.
std::string declaration(const std::function<void(int)>& sheet) {
    PLAT::setThrowOnExit(true);
    PLAT::setConsole(std::make_unique<PLAT::HeadlessConsole>());
    char tmpl[] = "/tmp/korvex-bench-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    UMAS::PATH = dir + "/";
    STORE::installFiles(UMAS::PATH);
    BENCH::syntheticForm(4, 12, 12);
    BOD::BOS(BOD::DIA, BOD::GV, 1, "500");
    BOD::BOS(BOD::DIA, BOD::GV, 8, "101226");
    BOD::BOS(BOD::DIA, BOD::GV, 18, "99");
    BOD::BOS(BOD::DIA, BOD::GV, 20, "12345");
    // The agency declares (no declarant warning).
    UMAS::AFM_EKTEL = "099999999";
    BOD::BOS(BOD::DIA, BOD::GV, 34, UMAS::AFM_EKTEL);
    for (int n = 2; n <= 99; ++n) {
        for (int b = 1; b <= BOD::SHEET_BOXES; ++b) BOD::BOS(BOD::BIS, BOD::GB, b, "");
        sheet(n);
        char key[32];
        std::snprintf(key, sizeof key, "500%02d%02d", (n - 2) / 3 + 2, n);
        BOD::BM = STORE::padKey(key, 14);
        BOD::BOB = false;
        BOD::AYB = BOD::MOT{};
        EKDO::KATB();
    }
    return dir;
}

PARAMS::PARTIM7TABLE demoTable() {
    std::vector<std::string> lines;
    std::ifstream in(std::string(KORVEX_SOURCE_DIR) + "/data/demo/tables/eformats/PARDISK.txt");
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    const std::string img = INSTALL::fieldTableImage(lines);
    return PARAMS::decodePARTIM7(reinterpret_cast<const uint8_t*>(img.data()));
}

// Walks the table over the declaration 20 times: the median and worst times in ms, the last run.
struct Timing {
    double median = 0, worst = 0;
    std::unique_ptr<DISKET::RUN> last;
};
Timing walk(bool vehicles) {
    const PARAMS::PARTIM7TABLE tab = demoTable();
    std::vector<double> t;
    Timing r;
    for (int k = 0; k < 20; ++k) {
        r.last = std::make_unique<DISKET::RUN>();
        DISKET::RUN& R = *r.last;
        R.EXT = "IMP";
        R.EDE = DISKET::ED_FILE;
        R.EXEIOXIMATA = vehicles;
        R.TAB = tab;
        const auto t0 = Clock::now();
        DISKET::WALK(R);
        t.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::sort(t.begin(), t.end());
    r.median = t[t.size() / 2];
    r.worst = t.back();
    return r;
}

void run() {
    const std::string dir = declaration([](int n) {
        for (int b = 1; b <= BOD::SHEET_BOXES; ++b) BOD::BOS(BOD::BIS, BOD::GB, b, "ITEM " + std::to_string(n));
        BOD::BOS(BOD::BIS, BOD::GB, 42, "N935:INV" + std::to_string(n));
    });
    for (int b = 2; b < 100; ++b)
        if (b != 18 && b != 20 && b != 8 && b != 34) BOD::BOS(BOD::DIA, BOD::GV, b, "TEXT " + std::to_string(b));
    const Timing T = walk(false);
    if (T.last->AREIDOS != 99) std::printf("segment file: only %d items\n", T.last->AREIDOS);
    std::printf("segment file of 99 items (%zu bytes): median %6.3f ms, worst %6.3f ms (aim: under 20)\n",
                T.last->OUT.size(), T.median, T.worst);
    std::filesystem::remove_all(dir);
}

// The item segments: eight tax lines, ten base products and 20 vehicles on every item (aim: under
// 30 ms); then the vehicle check over 99 vehicle files whose only vehicle is the last record of the
// last file (aim: under 10 ms).
void runItems() {
    const std::string dir = declaration([](int) { taxes(BOD::BIS, BOD::GB, 51); });
    taxes(BOD::DIA, BOD::GV, 101);
    BOD::BOS(BOD::DIA, BOD::GV, 33, "02");
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
    const Timing T = walk(true);
    const DISKET::RUN& R = *T.last;
    if (R.AREIDOS != 99 || R.TOTVASIS != 990 || R.TOTALCARS != 1980)
        std::printf("item segments: %d items, %d base products, %d vehicles\n", R.AREIDOS, R.TOTVASIS, R.TOTALCARS);
    std::printf("item segments of 99 items (%zu bytes): median %6.3f ms, worst %6.3f ms (aim: under 30)\n",
                R.OUT.size(), T.median, T.worst);

    EKEXTRA::PINAYT none;
    for (auto& m : none.V) m.ON = "  ";
    for (int n = 1; n <= 99; ++n) {
        EKEXTRA::PINAYT f = none;
        if (n == 99) f.V[199].ON = "1";
        PLAT::writeWholeAtomic(EKEXTRA::ITEMNAME("500", ".O", std::to_string(n)), f.encode());
    }
    std::vector<double> t;
    bool found = true;
    for (int k = 0; k < 20; ++k) {
        DISKET::RUN C;
        const auto t0 = Clock::now();
        found = DISKET::WRITERS::VEHICLECHECK(C) && found;
        t.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::sort(t.begin(), t.end());
    if (!found) std::printf("vehicle check: the vehicle was not found\n");
    std::printf("vehicle check over 99 files: median %6.3f ms, worst %6.3f ms (aim: under 10)\n", t[t.size() / 2],
                t.back());
    UMAS::EXTRA_OXIMATA = {};
    std::filesystem::remove_all(dir);
}

BENCH::Register reg("disket", run);
BENCH::Register regItems("disket_items", runItems);

}  // namespace
