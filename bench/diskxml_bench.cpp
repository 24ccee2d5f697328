// The XML input file of a 99-item declaration from the demo's entry-summary templates: header, the
// item block once per item with the 98 continuation-sheet items loaded from the store, trailer
// (aim: under 20 ms).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench.h"
#include "form.h"
#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/store.h"
#include "declarations/store_form.h"
#include "platform/console.h"
#include "platform/fatal.h"
#include "submission/diskxml_run.h"

namespace {

using Clock = std::chrono::steady_clock;

// A small template set of the demo's shape, each coded line one value.
std::vector<std::string> split(const char* text) {
    std::vector<std::string> v;
    std::string l;
    for (const char* p = text; *p; ++p)
        if (*p == '|') v.push_back(l), l.clear();
        else l += *p;
    v.push_back(l);
    return v;
}

void run() {
    PLAT::setThrowOnExit(true);
    PLAT::setConsole(std::make_unique<PLAT::HeadlessConsole>());
    char tmpl[] = "/tmp/korvex-bench-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    UMAS::PATH = dir + "/";
    STORE::installFiles(UMAS::PATH);
    BENCH::syntheticForm(2, 38, 18);
    for (auto [b, s] : std::vector<std::pair<int, const char*>>{
             {1, "500"}, {7, "0101"}, {8, "101226"}, {10, "121226"}, {18, "99"}, {20, "12345"}, {26, "GR12345678"},
             {27, "9074729"}, {34, "099999999"}, {35, "AGENCY"}, {40, "TR"}, {59, "1"}, {61, "MERSIN"}, {68, "CT"},
             {69, "10"}, {72, "BOOKS & PAPER"}, {92, "N380:INV-1"}, {93, "N271:CMR 22"}, {207, "PIRAEUS 10/12/26"}})
        BOD::BOS(BOD::DIA, BOD::GV, b, s);
    for (int n = 2; n <= 99; ++n) {
        for (int b = 1; b <= BOD::SHEET_BOXES; ++b) BOD::BOS(BOD::BIS, BOD::GB, b, "");
        BOD::BOS(BOD::BIS, BOD::GB, 19, "CT");
        BOD::BOS(BOD::BIS, BOD::GB, 20, std::to_string(n));
        BOD::BOS(BOD::BIS, BOD::GB, 23, "ITEM <" + std::to_string(n) + ">");
        char key[32];
        std::snprintf(key, sizeof key, "500%02d%02d", (n - 2) / 3 + 2, n);
        BOD::BM = STORE::padKey(key, 14);
        BOD::BOB = false;
        BOD::AYB = BOD::MOT{};
        EKDO::KATB();
    }
    DISKXML::TEMPLATES T;
    T.HEAD = split("CC315A|<CC315A>|<A>4|</A>|<B>9|<C>10|<D>76|<E>85|<F>87|<G>114|<H>307|<I>394|<J>1111|<K>1114|<L>622");
    T.ITEM = split("<GOO>|<N>500|<D>802|<DOC>|<T>21|</T><R>|</DOC>|<K>823|<P>824|<Q>825|<M>826|<L>830|</GOO>");
    T.TAIL = split("<O>731|<E>733|<S>741|<R>902|<N>903|<C>602|</CC315A>");
    std::vector<double> t;
    size_t bytes = 0;
    int faults = 0;
    for (int r = 0; r < 20; ++r) {
        DISKXML::RUN R;
        R.EXT = "IMP";
        const auto t0 = Clock::now();
        DISKXML::FILL(R, T);
        const std::string result = DISKXML::RESULTOF(R.OUT);
        t.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        bytes = result.size();
        faults = R.CERR;
    }
    std::sort(t.begin(), t.end());
    std::printf("INP.TXT of 99 items (%zu bytes, %d faults): median %6.3f ms, worst %6.3f ms (aim: under 20)\n", bytes,
                faults, t[t.size() / 2], t.back());
    std::filesystem::remove_all(dir);
}

BENCH::Register reg("diskxml", run);

}  // namespace
