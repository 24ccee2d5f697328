// Form N105 opened and stored at customer 1000 (the customer look-up, the read and the write of the
// last record of a full file), and a T5 copy printed to a file port. Aim: under 2 ms each.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "bench.h"
#include "common/umas.h"
#include "customers/arp0.h"
#include "declarations/bod.h"
#include "documents/ekd3.h"
#include "platform/console.h"
#include "print/prns.h"
#include "shell/install.h"
#include "shell/start.h"

namespace {

using BENCH::Clock;
using BENCH::median;
using BENCH::msSince;

void ekd3Bench() {
    const BENCH::OneCompany folder;
    mkdir("ETC", 0777);
    UMAS::USER_ID = "1";
    std::ofstream("PORTS.TXT") << "LPT1 lpt1.out\r\n";
    PRNS::writeParEkt(UMAS::PE_T5, PRNS::PAR_EKT{66, 0, 0, 1, 1});
    std::string name;
    for (int i = 0; i <= 1000; ++i) {
        ARP0::RR0 r;
        r.EA = ARP0::KEY("CUSTOMER " + std::to_string(100000 + i));
        ARP0::STORE(0, r);
        name = r.EA;
    }
    std::ofstream(UMAS::PATH + "N105.DAT", std::ios::binary) << std::string(1001 * EKD3::N105_SIZE, ' ');

    auto hc = std::make_unique<PLAT::HeadlessConsole>();
    PLAT::HeadlessConsole& con = *hc;
    PLAT::setConsole(std::move(hc));
    UMAS::CRP = &con.cells;
    START::RMASK(UMAS::MPR, KORVEX_BINARY_DIR "/KORVEX.MSK");
    BOD::SETFORM("EXP");
    for (int b = 1; b <= BOD::BOXES; ++b) BOD::BOS(BOD::DIA, BOD::GV, b, "B" + std::to_string(b) + std::string(40, 'X'));
    BOD::BOS(BOD::DIA, BOD::GV, 8, "150324");

    std::vector<double> n105, t5;
    int record = -1;
    for (int i = 0; i < 21; ++i) {
        auto t0 = Clock::now();
        record = EKD3::N105CUSTOMER(name);
        EKD3::N105READ(record);
        EKD3::SETN105FIELD(1, "RUN " + std::to_string(i));
        EKD3::N105WRITE(record);
        n105.push_back(msSince(t0));
    }
    EKD3::Record r(EKD3::T5R::SIZE);
    EKD3::T5FILL(r);
    for (int i = 0; i < 21; ++i) {
        con.ch('N');
        auto t0 = Clock::now();
        EKD3::PRINTT5(r, 2);
        t5.push_back(msSince(t0));
    }
    std::printf("N105 opened and stored at customer %d of 1001 (median of 21): %.3f ms (aim: under 2)\n", record,
                median(n105));
    std::printf("T5 copy printed to a file port, %zu bytes (median of 21): %.3f ms (aim: under 2)\n",
                size_t(std::filesystem::file_size("lpt1.out")), median(t5));
}

BENCH::Register reg("ekd3", ekd3Bench);

}  // namespace
