// The customer files with 10000 customers: lookup by name, store of a new customer, and the
// picker's list (built from the files and shown). Aims: lookup and store under 1 ms, the picker's
// list under 50 ms.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench.h"
#include "common/umas.h"
#include "customers/arp0.h"
#include "customers/pelat.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "screen/scr.h"
#include "shell/install.h"
#include "shell/start.h"

namespace {

using BENCH::Clock;
using BENCH::msSince;

std::string randomName(std::mt19937& rng) {
    static const std::string letters = ARP0::AB.substr(1, 60);  // letters and digits
    std::uniform_int_distribution<size_t> pick(0, letters.size() - 1), len(6, 24);
    std::string s;
    for (size_t i = 0, n = len(rng); i < n; ++i) s += letters[pick(rng)];
    return ARP0::KEY(s);
}

void customersBench() {
    const BENCH::OneCompany folder;

    std::mt19937 rng(2026);
    std::vector<std::string> stored;
    const int N = 10000, TIMED = 1000;
    double storeMs = 0, worstStore = 0;
    for (int i = 0; i < N; ++i) {
        ARP0::RR0 r;
        r.EA = randomName(rng);
        r.DI = "ODOS " + std::to_string(i);
        r.EP = "EMPOROS";
        r.TH[0] = "210-" + std::to_string(1000000 + i);
        auto t0 = Clock::now();
        ARP0::Stored st = ARP0::STORE(0, r);
        const double ms = msSince(t0);
        if (st != ARP0::Stored::WRITTEN) continue;
        stored.push_back(r.EA);
        if (i >= N - TIMED) {
            storeMs += ms;
            worstStore = std::max(worstStore, ms);
        }
    }
    std::shuffle(stored.begin(), stored.end(), rng);
    double findMs = 0, worstFind = 0;
    int found = 0;
    for (int i = 0; i < TIMED; ++i) {
        ARP0::EA = stored[size_t(i)];
        auto t0 = Clock::now();
        found += ARP0::CHO(0) ? 1 : 0;
        const double ms = msSince(t0);
        findMs += ms;
        worstFind = std::max(worstFind, ms);
    }

    // The picker on a headless console: opened at a name, left with Esc.
    auto hc = std::make_unique<PLAT::HeadlessConsole>();
    PLAT::HeadlessConsole& con = *hc;
    PLAT::setConsole(std::move(hc));
    UMAS::CRP = &con.cells;
    START::RMASK(UMAS::MPR, KORVEX_BINARY_DIR "/KORVEX.MSK");
    std::vector<double> picks;
    for (int i = 0; i < 11; ++i) {
        con.ch(27);
        uint16_t PR = 0;
        ARP0::RR0 buf;
        auto t0 = Clock::now();
        PELAT::ALPHAPEL(stored[size_t(i)].substr(0, 3), 0, PR, &buf);
        picks.push_back(msSince(t0));
    }
    std::sort(picks.begin(), picks.end());
    std::vector<double> lists;
    for (int i = 0; i < 11; ++i) {
        auto t0 = Clock::now();
        auto L = PELAT::rows(0);
        lists.push_back(msSince(t0));
    }
    std::sort(lists.begin(), lists.end());

    // The company choice's scan of the record file for damaged records: the 10000 stored, then a
    // foreign record file at the limit of 64999 records (the first domestic record repeated).
    auto scan = [](int MN) {
        std::vector<double> t;
        for (int i = 0; i < 11; ++i) {
            auto t0 = Clock::now();
            const auto told = ARP0::CHECKRECORDS(MN);
            t.push_back(msSince(t0));
            if (!told.empty()) std::printf("  told: %s\n", told[0].line.c_str());
        }
        std::sort(t.begin(), t.end());
        return t[5];
    };
    const double scan10000 = scan(0);
    {
        const std::string first = PLAT::readWhole(ARP0::fileName(0, "MF")).value_or("").substr(0, ARP0::RR0::SIZE);
        std::string full;
        full.reserve(size_t(ARP0::MAX_RECORDS) * ARP0::RR0::SIZE);
        for (int i = 0; i < ARP0::MAX_RECORDS; ++i) full += first;
        PLAT::writeWholeAtomic(ARP0::fileName(1, "MF"), full);
    }
    const double scanFull = scan(1);

    std::printf("customers: %zu stored, %d of %d found; index sound: %s\n", stored.size(), found, TIMED,
                ARP0::checkIndex(0).empty() ? "yes" : "NO");
    std::printf("customer lookup by name (10000 stored): %.3f ms mean, %.3f ms worst (aim: under 1)\n",
                findMs / TIMED, worstFind);
    std::printf("customer store (9000 to 10000 stored):  %.3f ms mean, %.3f ms worst (aim: under 1)\n",
                storeMs / TIMED, worstStore);
    std::printf("customer picker list of 10000 (median of 11): %.1f ms (aim: under 50), of which reading the list %.1f ms\n", picks[5], lists[5]);
    std::printf("damaged-record scan at the company choice (median of 11): %.1f ms for 10000, %.1f ms for 64999 records (aim: under 50)\n",
                scan10000, scanFull);

}

BENCH::Register reg("customers", customersBench);

}  // namespace
