// The declaration print and the documents menu: a full main page printed to a file port, and the
// menu opened (its customer look-up) with 10000 customers. Aims: under 2 ms and under 20 ms.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench.h"
#include "common/umas.h"
#include "customers/arp0.h"
#include "declarations/bod.h"
#include "declarations/ek0.h"
#include "declarations/ekdo.h"
#include "platform/console.h"
#include "print/prns.h"
#include "shell/install.h"
#include "shell/start.h"

namespace {

using Clock = std::chrono::steady_clock;
double msSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void documentsBench() {
    char tmpl[] = "/tmp/korvex-bench-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    const auto oldCwd = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    INSTALL::makeInstallation(dir, "DATABASE", {INSTALL::Company{"BENCH", "", "", "", "", "", "", "", ""}}, "");
    UMAS::PATH = dir + "/DATABASE/ARXEIO0/";
    mkdir("ETC", 0777);
    UMAS::USER_ID = "1";
    std::ofstream("PORTS.TXT") << "LPT1 lpt1.out\r\n";
    PRNS::writeParEkt(UMAS::PE_DIAS, PRNS::PAR_EKT{66, 0, 0, 1, 1});
    std::ofstream("DATABASE/ARXEIO0/HDD.DAT", std::ios::binary) << std::string(2, '\0');

    std::mt19937 rng(2026);
    const std::string letters = ARP0::AB.substr(1, 60);
    std::uniform_int_distribution<size_t> pick(0, letters.size() - 1), len(6, 24);
    for (int i = 0; i < 10000; ++i) {
        ARP0::RR0 r;
        for (size_t k = 0, n = len(rng); k < n; ++k) r.EA += letters[pick(rng)];
        r.EA = ARP0::KEY(r.EA);
        r.DI = "ODOS " + std::to_string(i);
        ARP0::STORE(0, r);
    }

    auto hc = std::make_unique<PLAT::HeadlessConsole>();
    PLAT::HeadlessConsole& con = *hc;
    PLAT::setConsole(std::move(hc));
    UMAS::CRP = &con.cells;
    START::RMASK(UMAS::MPR, KORVEX_BINARY_DIR "/KORVEX.MSK");
    BOD::SETFORM("IMP");
    for (int b = 1; b <= BOD::BOXES; ++b) BOD::BOS(BOD::DIA, BOD::GV, b, "B" + std::to_string(b) + std::string(40, 'X'));
    BOD::BOS(BOD::DIA, BOD::GV, 142, "    IMP");
    BOD::AY.DAJ = "5.00";

    std::vector<double> prints, menus;
    for (int i = 0; i < 21; ++i) {
        con.ch('N');
        auto t0 = Clock::now();
        EK0::EKTY("IMP", false);
        prints.push_back(msSince(t0));
    }
    const auto bytes = std::filesystem::file_size("lpt1.out");
    for (int i = 0; i < 11; ++i) {
        con.ch(27);
        auto t0 = Clock::now();
        EKDO::EKD("IMP", true);
        menus.push_back(msSince(t0));
    }
    std::printf("declaration print, full main page to a file port (%zu bytes, median of 21): %.3f ms (aim: under 2)\n",
                size_t(bytes), median(prints));
    std::printf("documents menu opened with 10000 customers (median of 11): %.3f ms (aim: under 20)\n", median(menus));

    std::filesystem::current_path(oldCwd);
    std::filesystem::remove_all(dir);
}

BENCH::Register reg("documents", documentsBench);

}  // namespace
