// Customer reports over large files, written directly through the record codecs:
//   - the ledger card of a customer with 10000 documents (998 invoices, 4000 credit notes and
//     5002 receipts in the card's range): search, sort and running balance (aim: under 50 ms),
//   - the movements of one year with 50000 stored invoices over 40 years (aim: under 200 ms),
//   - the balances and the catalogue (with its export) of 16000 customers (aim: under 200 ms each).
// Run with `make bench`.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench.h"
#include "common/umas.h"
#include "config/params.h"
#include "customers/arp0.h"
#include "invoicing/apod0.h"
#include "invoicing/apodi.h"
#include "invoicing/tim0.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "reports/arp1.h"
#include "reports/arp2.h"
#include "reports/arp3.h"
#include "shell/install.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::time_point a) { return std::chrono::duration<double, std::milli>(Clock::now() - a).count(); }

std::string two(int n) { return ARP2::TWO(n); }

// The date of day index idx from 1 January 2016 (28-day months).
std::string dayOf(int idx) { return ARP2::TWO(idx % 28 + 1) + ARP2::TWO(idx / 28 % 12 + 1) + ARP2::TWO(16 + idx / 336); }

// A chain file of heads empty heads whose chains are given (key -> document record numbers).
std::string chainFile(int32_t heads, const std::vector<std::pair<int32_t, std::vector<uint16_t>>>& chains) {
    std::vector<APODI::RTIM1> nodes(size_t(heads), APODI::RTIM1{65000, 0});
    for (const auto& [key, docs] : chains) {
        int64_t at = key;
        for (size_t i = 0; i < docs.size(); ++i) {
            nodes[size_t(at)].HR = docs[i];
            if (i + 1 < docs.size()) {
                nodes[size_t(at)].NR = uint16_t(nodes.size());
                at = int64_t(nodes.size());
                nodes.push_back(APODI::RTIM1{65000, 0});
            }
        }
    }
    std::string b(nodes.size() * 4, '\0');
    for (size_t i = 0; i < nodes.size(); ++i) nodes[i].encode(reinterpret_cast<uint8_t*>(b.data()) + 4 * i);
    return b;
}

std::string docFile(const std::vector<TIM0::RTIM>& docs) {
    std::string b(docs.size() * TIM0::RTIM::SIZE, '\0');
    for (size_t i = 0; i < docs.size(); ++i) docs[i].encode(reinterpret_cast<uint8_t*>(b.data()) + i * TIM0::RTIM::SIZE);
    return b;
}

TIM0::RTIM invoice(const std::string& hm, int n, const std::string& name) {
    TIM0::RTIM r;
    r.TM = UMAS::LEJU(std::to_string(n), 6);
    r.HM = hm;
    r.KD = std::string(10, ' ');
    r.PR = 0;
    r.EA = name;
    r.AF = "099999999 ";
    r.XR[1] = 10000 + n % 1000;
    r.XR[18] = 2500;
    r.FF[1] = 24;
    return r;
}

void write(const std::string& name, const std::string& bytes) { PLAT::writeWholeAtomic("CO\\" + name, bytes); }

}  // namespace

static int reportsBench() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    char tmpl[] = "/dev/shm/korvex-rep-bench-XXXXXX";
    if (!std::filesystem::is_directory("/dev/shm")) std::snprintf(tmpl, sizeof tmpl, "/tmp/korvex-rep-benXXXXXX");
    if (!mkdtemp(tmpl)) return 1;
    const std::string dir = tmpl;
    if (chdir(dir.c_str()) != 0) return 1;
    auto hc = std::make_unique<PLAT::HeadlessConsole>();
    UMAS::CRP = &hc->cells;
    PLAT::setConsole(std::move(hc));
    INSTALL::makeCompanyFolder(dir + "/CO");
    UMAS::PATH = "CO\\";
    UMAS::EURO = 340.75;
    UMAS::TIMEUR = 0;
    PARAMS::PARTIM1[1] = PLAT::gr("_ΑΜΟΙΒΗ");
    ARP2::TODAY();

    // 16000 customers through the customer store
    auto t0 = Clock::now();
    const std::string letters = PLAT::gr("ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ");
    for (int c = 0; c < 16000; ++c) {
        ARP0::RR0 r;
        r.EA = ARP0::KEY(std::string(1, letters[size_t(c % 24)]) + std::string(1, letters[size_t(c / 24 % 24)]) +
                         " CUSTOMER " + std::to_string(c));
        r.AF = "099999999";
        r.DI = "STREET 1";
        r.EP = "TRADER";
        if (ARP0::STORE(0, r) != ARP0::Stored::WRITTEN) return 1;
    }
    std::printf("16000 customers stored in %.1f s\n", std::chrono::duration<double>(Clock::now() - t0).count());
    ARP0::RR0 first;
    ARP0::readRecord(0, 0, first);

    // customer 0: 998 invoices, 4000 credit notes, 5002 receipts stored in date order over 2016 to
    // 2024 (each chain in the order of storing); 50000 invoices over 40 years on the day chains
    // (the customer's 998 among them)
    std::vector<TIM0::RTIM> tm;
    std::vector<uint16_t> custInvoices;
    std::vector<std::pair<int32_t, std::vector<uint16_t>>> days;
    std::vector<std::vector<uint16_t>> byDay(size_t(APODI::DAYHEADS));
    for (int i = 0; i < 50000; ++i) {
        const std::string hm = i < 998 ? dayOf(i * 3) : two(i % 28 + 1) + two((i / 28) % 12 + 1) + two((95 + (i / 336) % 40) % 100);
        tm.push_back(invoice(hm, i + 1, i < 998 ? first.EA : ARP0::KEY("OTHER")));
        if (i < 998) custInvoices.push_back(uint16_t(i));
        byDay[size_t(UMAS::HMVAL(hm))].push_back(uint16_t(i));
    }
    for (int32_t d = 0; d < APODI::DAYHEADS; ++d)
        if (!byDay[size_t(d)].empty()) days.push_back({d, byDay[size_t(d)]});
    write("TM.DAT", docFile(tm));
    write("TH.DAT", chainFile(APODI::DAYHEADS, days));
    write("TPE.DAT", chainFile(APODI::PEHEADS, {{0, custInvoices}}));
    std::vector<TIM0::RTIM> sm;
    std::vector<uint16_t> credits;
    for (int i = 0; i < 4000; ++i) {
        sm.push_back(invoice(dayOf(i * 3 / 4), i + 1, first.EA));
        credits.push_back(uint16_t(i));
    }
    write("SM.DAT", docFile(sm));
    write("SPE.DAT", chainFile(APODI::PEHEADS, {{0, credits}}));
    std::string am;
    std::vector<uint16_t> receipts;
    for (int i = 0; i < 5002; ++i) {
        APOD0::TRECAP a;
        a.KV = i + 1;
        a.HM = dayOf(i * 3 / 5);
        a.KD = std::string(10, ' ');
        a.PR = 0;
        a.EA = first.EA;
        a.AF = "099999999 ";
        a.PS = 5000;
        a.AI = std::string(30, ' ');
        std::string b(APOD0::TRECAP::SIZE, '\0');
        a.encode(reinterpret_cast<uint8_t*>(b.data()));
        am += b;
        receipts.push_back(uint16_t(i));
    }
    write("AM.DAT", am);
    write("APE.DAT", chainFile(APODI::PEHEADS, {{0, receipts}}));

    // the ledger card over the whole range: all 10000 documents
    double best = 1e9;
    int rows = 0;
    for (int k = 0; k < 5; ++k) {
        auto a = Clock::now();
        const ARP2::KARPCARD C = ARP2::KARPSEARCH(0, first.EA, "099999999 ", "010116", "311225");
        best = std::min(best, ms(a));
        rows = C.LM + C.LL;
    }
    std::printf("ledger card of %d rows:              %7.1f ms (aim: under 50)\n", rows, best);

    best = 1e9;
    for (int k = 0; k < 5; ++k) {
        auto a = Clock::now();
        const ARP1::KIPRLIST L = ARP1::KIPRCOLLECT(4, UMAS::HMVAL("010105"), UMAS::HMVAL("311205"));
        best = std::min(best, ms(a));
        rows = L.CC();
    }
    std::printf("movements of one year (%d of 50000):  %7.1f ms (aim: under 200)\n", rows, best);

    best = 1e9;
    for (int k = 0; k < 5; ++k) {
        auto a = Clock::now();
        rows = ARP3::YPOPCOLLECT().C();
        best = std::min(best, ms(a));
    }
    std::printf("balances of %d customers:          %7.1f ms (aim: under 200)\n", rows, best);

    best = 1e9;
    for (int k = 0; k < 5; ++k) {
        auto a = Clock::now();
        std::string name;
        rows = int(ARP3::PRPECOLLECT(10, name).size());
        best = std::min(best, ms(a));
    }
    std::printf("catalogue and export of %d customers: %7.1f ms (aim: under 200)\n", rows, best);

    if (chdir("/") != 0) return 1;
    std::filesystem::remove_all(dir);
    return 0;
}

BENCH::Register regReports("reports", [] {
    const std::string cwd = std::filesystem::current_path().string();
    if (reportsBench() != 0) std::printf("reports: the benchmark did not complete\n");
    if (chdir(cwd.c_str()) != 0) perror("chdir");
});
