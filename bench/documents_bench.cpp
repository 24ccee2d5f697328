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
#include "declarations/store_form.h"
#include "documents/invoices.h"
#include "documents/laydoc.h"
#include "platform/console.h"
#include "print/prns.h"
#include "shell/install.h"
#include "shell/start.h"

namespace {

using BENCH::Clock;
using BENCH::median;
using BENCH::msSince;

void documentsBench() {
    const BENCH::OneCompany folder;
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

    // A full 120-row layout sorted and printed to the file port.
    std::string lay(PARAMS::PARDOC_SIZE, '\0');
    for (size_t i = 1; i <= PARAMS::PARDOC_N; ++i) {
        PARAMS::RECPARTIM4 r;
        r.PER = "ROW";
        r.COL = uint8_t(1 + (i * 37) % 70);
        r.ROW = uint8_t(1 + (i * 53) % 60);
        r.SA1 = 2;
        r.ST1 = 1;
        r.encode(reinterpret_cast<uint8_t*>(lay.data()) + (i - 1) * PARAMS::RECPARTIM4::SIZE);
    }
    const LAYDOC::Layout L = LAYDOC::DECODELAYOUT(lay);
    std::vector<double> layouts, whole;
    for (int i = 0; i < 21; ++i) {
        auto t0 = Clock::now();
        PRNS::Printout o;
        o.open(UMAS::PE_INV1);
        auto t1 = Clock::now();
        LAYDOC::PRINTROWS(o, L, LAYDOC::SORTVARS(L, 120), [](int r) { return "VALUE " + std::to_string(r); });
        layouts.push_back(msSince(t1));
        o.mode(11);
        o.F.close();
        whole.push_back(msSince(t0));
    }
    std::printf("layout of 120 rows sorted and placed (median of 21): %.3f ms (aim: under 1); with the port opened and closed %.3f ms\n",
                median(layouts), median(whole));

    // Tab fill among 60000 stored declarations, the one sought last in its partition.
    BOD::SETFORM("EXP");
    for (int b = 1; b <= BOD::BOXES; ++b) BOD::BOS(BOD::DIA, BOD::GV, b, "");
    BOD::BOS(BOD::DIA, BOD::GV, 12, "SENDER");
    BOD::BOS(BOD::DIA, BOD::GV, 142, "    EXP");
    BOD::BOS(BOD::DIA, BOD::GV, 8, "150324");
    BOD::HM = "150324";
    BOD::PR = BOD::NO_CUSTOMER;
    std::string last;
    for (int d = 1; d <= 9; ++d)
        for (int i = 6666; i >= 0; --i) {  // descending: each new number goes to the front of its list
            const std::string n = std::to_string(d) + std::to_string(100000 + i).substr(1);
            BOD::TM = UMAS::LEJU(n, 10);
            BOD::BOS(BOD::DIA, BOD::GV, 1, n);
            BOD::BOO = false;
            BOD::CSM = -1;
            EK0::KATD();
            if (d == 5 && i == 6666) last = n;
        }
    BOD::BOS(BOD::DIA, BOD::GV, 1, last);
    std::array<PARAMS::RECPARTIM3, 34> map{};
    map[1].KV = 12;
    map[2].KV = 68;
    std::vector<double> fills;
    for (int i = 0; i < 11; ++i) {
        INVOICES::Record r;
        auto t0 = Clock::now();
        INVOICES::FILL(r, map);
        fills.push_back(msSince(t0));
    }
    std::printf("invoice Tab fill among 60000 stored declarations (median of 11): %.3f ms (aim: under 5)\n", median(fills));

}

BENCH::Register reg("documents", documentsBench);

}  // namespace
