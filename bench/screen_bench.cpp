// Terminal output and start-up time, measured on a pseudo-terminal:
//   - bytes written for one bar move in the main menu,
//   - bytes written to show and to remove a full-screen mask,
//   - time from start to the company list on the demo installation.
// Run with `make bench`.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "common/umas.h"
#include "platform/console.h"
#include "screen/scr.h"
#include "shell/start.h"

namespace {

void drain(int fd, std::atomic<bool>& stop) {
    char buf[65536];
    while (!stop) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 20) > 0 && read(fd, buf, sizeof buf) <= 0) break;
    }
}

void screenBytes() {
    int master, slave;
    winsize ws{25, 80, 0, 0};
    if (openpty(&master, &slave, nullptr, nullptr, &ws) != 0) {
        perror("openpty");
        return;
    }
    std::atomic<bool> stop{false};
    std::thread t(drain, master, std::ref(stop));
    PLAT::setConsole(PLAT::makeTerminalConsole(slave, slave));
    PLAT::Console& c = PLAT::con();
    UMAS::CRP = &c.cells;
    START::RMASK(UMAS::MPR, KORVEX_BINARY_DIR "/KORVEX.MSK");
    c.clear(15);
    SCR::CALLM(2, true);
    SCR::CALLM(4, true);
    int LI = 0, CO = 0, SE = 0, KK = 32;
    UMAS::EPIL(4, 15, 25, 0, 5, 2, 30, 8, 0, 0, LI, CO, SE, KK, 0);
    KK = 0;
    const char down[] = "\x1b[B";
    if (write(master, down, 3) != 3) perror("write");
    uint64_t b0 = c.bytesWritten();
    UMAS::EPIL(4, 15, 25, 0, 5, 2, 30, 8, 0, 0, LI, CO, SE, KK, 0);
    uint64_t b1 = c.bytesWritten();
    SCR::CALLM(88, true);
    uint64_t b2 = c.bytesWritten();
    SCR::RECALL();
    uint64_t b3 = c.bytesWritten();
    std::printf("bar move in the main menu:     %6llu bytes (aim: under 200)\n", (unsigned long long)(b1 - b0));
    std::printf("show a full-screen mask:       %6llu bytes (aim: under 12288)\n", (unsigned long long)(b2 - b1));
    std::printf("remove a full-screen mask:     %6llu bytes (aim: under 12288)\n", (unsigned long long)(b3 - b2));
    c.shutdown();
    stop = true;
    t.join();
    close(master);
    close(slave);
}

// Starts the program on the demo installation and waits for the version text of the company list.
double startupMs() {
    int master;
    winsize ws{25, 80, 0, 0};
    auto t0 = std::chrono::steady_clock::now();
    pid_t pid = forkpty(&master, nullptr, nullptr, &ws);
    if (pid == 0) {
        if (chdir(KORVEX_BINARY_DIR "/demo") != 0) _exit(127);
        setenv("TERM", "xterm", 1);
        execl(KORVEX_BIN, "korvex", "9", (char*)nullptr);
        _exit(127);
    }
    std::string out;
    double ms = -1;
    char buf[65536];
    while (true) {
        pollfd p{master, POLLIN, 0};
        if (poll(&p, 1, 2000) <= 0) break;
        ssize_t n = read(master, buf, sizeof buf);
        if (n <= 0) break;
        out.append(buf, size_t(n));
        if (out.find("4.30") != std::string::npos) {
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            break;
        }
    }
    const char end[] = "\x1b[4~";
    if (write(master, end, 4) != 4) perror("write");
    while (true) {
        pollfd p{master, POLLIN, 0};
        if (poll(&p, 1, 1000) <= 0 || read(master, buf, sizeof buf) <= 0) break;
    }
    waitpid(pid, nullptr, 0);
    close(master);
    return ms;
}

}  // namespace

void storeBench();  // bench/store_bench.cpp

int main() {
    storeBench();
    screenBytes();
    std::vector<double> times;
    for (int i = 0; i < 10; ++i) times.push_back(startupMs());
    std::sort(times.begin(), times.end());
    std::printf("start to company list (median of 10): %.1f ms (aim: under 50)\n", times[5]);
    return 0;
}
