// Invoices: store and load with 50000 invoices already stored (200 customers, two years of days).
//   - store of a new invoice (record, number index, series, day and customer chains, posting),
//   - load of a stored invoice by number (index, record, customer looked up again by name),
//   - store of a changed invoice (chains and posting reversed first).
// The folder lies in /dev/shm when there is one: the two files a store rewrites whole (the series
// file and "DAPANES.TXT") are flushed to the disk each time, and on a disk that flush alone takes
// longer than the rest of the store; its cost on /tmp is measured and shown apart, and so is the
// store of a new invoice in a folder on /tmp (the series file's rewrite and the journal flushed).
// Run with `make bench`.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench.h"
#include "common/umas.h"
#include "config/params.h"
#include "customers/arp0.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "shell/install.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int CUSTOMERS = 200;
constexpr int STORED = 50000;
constexpr int SAMPLES = 2000;

std::vector<std::string> names;
std::mt19937 rnd{12345};

std::string dateOf(int i) {
    // 13440 days of the years 1995 to 2034 (the day chains' WORD links leave 43216 nodes besides
    // the 22320 day heads: a day's documents after its first take one node each).
    int dd = i % 28 + 1, m = (i / 28) % 12 + 1, y = (95 + (i / 336) % 40) % 100;
    char b[8];
    std::snprintf(b, sizeof b, "%02d%02d%02d", dd, m, y);
    return b;
}

void open(TIM::TIMOS& t, int number) {
    TIM0::TM = UMAS::LEJU(std::to_string(number), 6);
    UMAS::LOCK("FTIM");
    t.CHO();
    if (APODI::BOO)
        t.RUF();
    else {
        t.CLLS();
        t.BOX();
    }
    UMAS::UNLOC("FTIM");
}

void fill(TIM::TIMOS& t, int i) {
    TIM0::HM = dateOf(i);
    APODI::EA = names[rnd() % names.size()];
    APODI::CHEP();
    TIM0::XR[1] = double(rnd() % 100000) / 100.0;
    TIM0::XR[18] = double(rnd() % 5000) / 100.0;
    (void)t;
}

struct Stats {
    std::vector<double> us;
    void add(Clock::time_point a, Clock::time_point b) {
        us.push_back(std::chrono::duration<double, std::micro>(b - a).count());
    }
    void print(const char* what) {
        std::sort(us.begin(), us.end());
        double sum = 0;
        for (double v : us) sum += v;
        std::printf("%-44s mean %7.1f us  median %7.1f us  99%% %7.1f us  (aim: under 1000)\n", what,
                    sum / double(us.size()), us[us.size() / 2], us[us.size() * 99 / 100]);
    }
};

// The store of a new invoice in a company folder on the disk of /tmp, where every flush reaches the
// disk: a new invoice's number raises the series' next number (one flushed rewrite of the series
// file) and the store's journal is flushed once.
int diskStores() {
    char tmpl[] = "/tmp/korvex-tim-disk-XXXXXX";
    if (!mkdtemp(tmpl)) return 1;
    const std::string dir = tmpl;
    if (chdir(dir.c_str()) != 0) return 1;
    INSTALL::makeCompanyFolder(dir + "/CO");
    UMAS::PATH = "CO\\";
    std::vector<std::string> few;
    for (int c = 0; c < 20; ++c) {
        ARP0::RR0 r = {};
        r.EA = names[size_t(c)];
        r.AF = "099999999";
        if (ARP0::STORE(0, r) != ARP0::Stored::WRITTEN) return 1;
        few.push_back(r.EA);
    }
    Stats disk;
    for (int i = 1; i <= 100; ++i) {
        TIM::TIMOS t;
        open(t, i);
        TIM0::HM = dateOf(i);
        APODI::EA = few[size_t(i) % few.size()];
        APODI::CHEP();
        TIM0::XR[1] = double(i);
        auto a = Clock::now();
        if (!t.KTT(true, false)) return 1;
        disk.add(a, Clock::now());
    }
    disk.print("store a new invoice on the disk of /tmp");
    if (chdir("/") != 0) return 1;
    std::filesystem::remove_all(dir);
    return 0;
}

}  // namespace

static int timBench() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    // The cost of one whole-file rewrite (temporary file, flush, rename) on the disk of /tmp.
    {
        char dtmpl[] = "/tmp/korvex-tim-bench-XXXXXX";
        if (mkdtemp(dtmpl)) {
            const std::string f = std::string(dtmpl) + "/SEIRES.DAT";
            Stats w;
            for (int i = 0; i < 50; ++i) {
                auto a = Clock::now();
                PLAT::writeWholeAtomic(f, std::string(168, char(i)));
                w.add(a, Clock::now());
            }
            std::sort(w.us.begin(), w.us.end());
            std::printf("one flushed whole-file rewrite on /tmp: median %.1f us\n", w.us[w.us.size() / 2]);
            std::filesystem::remove_all(dtmpl);
        }
    }
    char tmpl[] = "/dev/shm/korvex-tim-bench-XXXXXX";
    if (!std::filesystem::is_directory("/dev/shm")) std::snprintf(tmpl, sizeof tmpl, "/tmp/korvex-tim-benXXXXXX");
    if (!mkdtemp(tmpl)) {
        perror("mkdtemp");
        return 1;
    }
    const std::string dir = tmpl;
    if (chdir(dir.c_str()) != 0) return 1;
    auto hc = std::make_unique<PLAT::HeadlessConsole>();
    UMAS::CRP = &hc->cells;
    // No notice may wait for a key during the run.
    PLAT::HeadlessConsole* shown = hc.get();
    hc->onIdle = [shown] {
        std::fprintf(stderr, "unexpected notice at %s (TH %lld, TPE %lld bytes):\n%s\n", TIM0::TM.c_str(), (long long)PLAT::fileSize("CO/TH.DAT"), (long long)PLAT::fileSize("CO/TPE.DAT"), shown->dump().c_str());
        std::exit(2);
    };
    PLAT::setConsole(std::move(hc));
    INSTALL::makeCompanyFolder(dir + "/CO");
    UMAS::PATH = "CO\\";
    UMAS::EURO = 340.75;
    PARAMS::PARTIM1[1] = PLAT::gr("_ΑΜΟΙΒΗ");
    PARAMS::PARTIM1[18] = PLAT::gr("ΛΟΙΠΑ=24");
    TIM0::FP = "24";

    const std::string letters = PLAT::gr("ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ") + "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (int c = 0; c < CUSTOMERS; ++c) {
        ARP0::RR0 r;
        std::string n;
        for (int k = 0; k < 8; ++k) n += letters[rnd() % letters.size()];
        r.EA = ARP0::KEY(n + " " + std::to_string(c));
        r.AF = "099999999";
        if (ARP0::STORE(0, r) != ARP0::Stored::WRITTEN) return 1;
        names.push_back(r.EA);
    }

    auto t0 = Clock::now();
    for (int i = 1; i <= STORED; ++i) {
        TIM::TIMOS t;
        open(t, i);
        fill(t, i);
        if (!t.KTT(true, false)) {
            std::fprintf(stderr, "store %d refused\n", i);
            return 1;
        }
    }
    std::printf("%d invoices stored in %.1f s\n", STORED,
                std::chrono::duration<double>(Clock::now() - t0).count());

    Stats store, load, restore;
    for (int i = 0; i < SAMPLES; ++i) {
        TIM::TIMOS t;
        const int number = STORED + 1 + i;
        open(t, number);
        fill(t, number);
        auto a = Clock::now();
        t.KTT(true, false);
        store.add(a, Clock::now());
    }
    for (int i = 0; i < SAMPLES; ++i) {
        TIM::TIMOS t;
        const int number = int(rnd() % STORED) + 1;
        auto a = Clock::now();
        open(t, number);
        load.add(a, Clock::now());
        TIM0::XR[1] += 1;
        a = Clock::now();
        t.KTT(true, false);
        restore.add(a, Clock::now());
    }
    store.print("store a new invoice");
    load.print("load an invoice by number");
    restore.print("store a changed invoice");

    TIM::CHECKED c = TIM::CHECKFILES();
    std::printf("checker: %zu problems over %lld documents\n", c.PROBLEMS.size(), (long long)c.DOCUMENTS);
    if (chdir("/") != 0) return 1;
    std::filesystem::remove_all(dir);
    if (!c.PROBLEMS.empty()) return 1;
    return diskStores();
}

BENCH::Register reg("invoices", [] {
    const std::string cwd = std::filesystem::current_path().string();
    if (timBench() != 0) std::printf("invoices: the benchmark did not complete\n");
    if (chdir(cwd.c_str()) != 0) perror("chdir");
});
