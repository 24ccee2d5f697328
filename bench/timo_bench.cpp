// Also: three invoice copies printed to a port mapped to a file.
// The invoice editor's redraw after one charge line changes: the line's VAT taken out and put back,
// the VAT total and the total recomputed, the line and the totals redrawn, and the bytes the
// terminal receives for it (on a pseudo-terminal). Aim: under 1 ms and under 1 KB.
// Run with `make bench`.
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>
#include <filesystem>
#include <fstream>
#include <memory>

#include "bench.h"
#include "common/umas.h"
#include "config/params.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"
#include "shell/install.h"
#include "shell/start.h"

namespace {

void redrawAfterOneLine() {
    int master, slave;
    winsize ws{25, 80, 0, 0};
    if (openpty(&master, &slave, nullptr, nullptr, &ws) != 0) {
        perror("openpty");
        return;
    }
    std::atomic<bool> stop{false};
    std::thread drain([&] {
        char buf[65536];
        while (!stop) {
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, 50) > 0 && read(master, buf, sizeof buf) <= 0) break;
        }
    });
    PLAT::setConsole(PLAT::makeTerminalConsole(slave, slave));
    PLAT::Console& c = PLAT::con();
    UMAS::CRP = &c.cells;
    START::RMASK(UMAS::MPR, KORVEX_BINARY_DIR "/KORVEX.MSK");

    PARAMS::PARTIM1 = {};
    for (int i = 1; i <= 13; i += 2) PARAMS::PARTIM1[size_t(i)] = PLAT::gr("_ΑΜΟΙΒΗ ΕΚΤΕΛΩΝΙΣΜΟΥ");
    PARAMS::PARTIM1[18] = PLAT::gr("ΛΟΙΠΑ=24");
    SCR::CALLM(8, true);
    TIM0::INIKED();
    TIM::TIMOS t;
    TIM0::TM = "1     ";
    t.CLLS();
    TIM0::HM = "101226";
    for (int U = 1; U <= 18; ++U) TIM0::XR[size_t(U)] = 100 + U;
    APODI::EA = PLAT::gr("ΑΛΕΞΙΟΥ ΚΩΝΣΤΑΝΤΙΝΟΣ");
    TIM::DRAWFORM(t);
    c.flush();

    constexpr int N = 2000;
    std::vector<double> us;
    std::vector<uint64_t> bytes;
    for (int i = 0; i < N; ++i) {
        const int U = i % 18 + 1;
        const uint64_t b0 = c.bytesWritten();
        const auto t0 = std::chrono::steady_clock::now();
        TIM::SETLINE(U, 1000.0 + i * 0.37);
        c.flush();
        us.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
        bytes.push_back(c.bytesWritten() - b0);
    }
    std::sort(us.begin(), us.end());
    std::printf("invoice line changed and redrawn: %.1f us median, %.1f us at the 99th percentile (aim: under 1000)\n",
                us[N / 2], us[N * 99 / 100]);
    std::printf("invoice line changed and redrawn: %llu bytes at most (aim: under 1024)\n",
                (unsigned long long)*std::max_element(bytes.begin(), bytes.end()));
    SCR::RECALL();
    c.flush();
    c.shutdown();
    stop = true;
    drain.join();
    close(master);
    close(slave);
}

// Three copies of an invoice with 18 charge lines and every one of the 144 fields placed, printed
// with the EpsonFX driver to a port mapped to a file (no signing). Aim: under 20 ms.
void threeCopies() {
    const std::string cwd = std::filesystem::current_path().string();
    char tmpl[] = "/tmp/korvex-timo-bench-XXXXXX";
    if (!mkdtemp(tmpl)) {
        perror("mkdtemp");
        return;
    }
    const std::string dir = tmpl;
    if (chdir(dir.c_str()) != 0) return;
    auto hc = std::make_unique<PLAT::HeadlessConsole>();
    UMAS::CRP = &hc->cells;
    PLAT::setConsole(std::move(hc));
    INSTALL::makeCompanyFolder(dir + "/CO");
    UMAS::PATH = "CO\\";
    UMAS::EURO = 340.75;
    {
        std::string layout(PARAMS::PARTIM4_SIZE, '\0');
        for (int n = 1; n <= int(PARAMS::MAXPVTIM); ++n)
            PARAMS::RECPARTIM4{n % 7 == 0 ? "@CAPTION" : "", 0, 0, uint8_t(5 + (n % 4) * 18), uint8_t(1 + n / 4), 0, 0}
                .encode(reinterpret_cast<uint8_t*>(layout.data()) + (n - 1) * PARAMS::RECPARTIM4::SIZE);
        std::ofstream("CO/PARTIM4.dat", std::ios::binary | std::ios::trunc) << layout;
        std::ofstream("PORTS.TXT", std::ios::binary) << "LPT1 copy.prn\r\n";
    }
    PARAMS::PARTIM1 = {};
    for (int i = 1; i <= 13; ++i) PARAMS::PARTIM1[size_t(i)] = PLAT::gr("_ΑΜΟΙΒΗ ΕΚΤΕΛΩΝΙΣΜΟΥ");
    PARAMS::PARTIM1[18] = PLAT::gr("ΛΟΙΠΑ=24");
    TIM0::FP = "24";
    TIM::TIMOS t;
    TIM0::TM = "17    ";
    t.CLLS();
    TIM0::HM = "101226";
    for (int U = 1; U <= 18; ++U) TIM0::XR[size_t(U)] = 1000 + U * 3.5;
    for (int i = 1; i <= 22; ++i) TIM0::DS[size_t(i)] = "DETAIL LINE " + std::to_string(i);
    APODI::EA = PLAT::gr("ΑΛΕΞΙΟΥ ΚΩΝΣΤΑΝΤΙΝΟΣ");
    PARAMS::RECSEIRES sr;
    sr.PORTA = 1;
    sr.EMUL = 1;
    sr.POLAP = 3;
    PRNS::PRNM P;
    PRNS::TABM T;
    PRNS::SET_PETIMOL(sr.EMUL, P, T);
    FORMIX::EAFDSSREC drv;
    drv.SIG = std::string(40, 'A');
    drv.SIGPRN = "SIGNATURE LINE";
    std::vector<double> ms;
    for (int i = 0; i < 200; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        for (int c = 0; c < 3; ++c) t.EKTY(0, sr, "LPT1", P, T, drv);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("three invoice copies printed to a file port: %.2f ms median, %.2f ms at the 99th percentile "
                "(aim: under 20)\n",
                ms[ms.size() / 2], ms[ms.size() * 99 / 100]);
    if (chdir(cwd.c_str()) != 0) perror("chdir");
    std::filesystem::remove_all(dir);
}

BENCH::Register reg("invoice editor redraw", redrawAfterOneLine);
BENCH::Register reg2("invoice copies", threeCopies);

}  // namespace
