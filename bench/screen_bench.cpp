// Terminal output and start-up time, measured on a pseudo-terminal:
//   - bytes written for a bar move in the main menu (each move down and back up),
//   - bytes written to show and to remove a full-screen mask,
//   - time from start to the company list on the demo installation.
// Run with `make bench`.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "bench.h"
#include "common/umas.h"
#include "platform/console.h"
#include "screen/scr.h"
#include "shell/korvex.h"
#include "shell/start.h"

namespace {

// Everything the terminal receives until it has been quiet for 200 ms (the program waits).
std::string settle(int fd) {
    std::string got;
    char buf[65536];
    auto last = std::chrono::steady_clock::now();
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, got.empty() ? 5000 : 20) > 0) {
            ssize_t n = read(fd, buf, sizeof buf);
            if (n <= 0) break;
            got.append(buf, size_t(n));
            last = std::chrono::steady_clock::now();
        } else if (got.empty() || std::chrono::steady_clock::now() - last >= std::chrono::milliseconds(200)) {
            break;
        }
    }
    return got;
}

void screenBytes() {
    int master, slave;
    winsize ws{25, 80, 0, 0};
    if (openpty(&master, &slave, nullptr, nullptr, &ws) != 0) {
        perror("openpty");
        return;
    }
    PLAT::setConsole(PLAT::makeTerminalConsole(slave, slave));
    PLAT::Console& c = PLAT::con();
    UMAS::CRP = &c.cells;
    START::RMASK(UMAS::MPR, KORVEX_BINARY_DIR "/KORVEX.MSK");
    UMAS::LOGOTYPO[1] = "DEMO";
    c.clear(15);

    // The main menu as the clerk sees it: a key, then what the terminal receives until the menu
    // waits again.
    std::vector<size_t> moves;
    std::thread clerk([&] {
        auto type = [&](const char* k) {
            if (write(master, k, std::strlen(k)) != ssize_t(std::strlen(k))) perror("write");
        };
        settle(master);
        for (int i = 0; i < 8; ++i) {
            type("\x1b[B");
            moves.push_back(settle(master).size());
        }
        for (int i = 0; i < 8; ++i) {
            type("\x1b[A");
            moves.push_back(settle(master).size());
        }
        type("\x1b");
        settle(master);
    });
    KORVEX::mainMenu();
    clerk.join();
    c.flush();
    std::thread drain([&] { settle(master); });
    uint64_t b1 = c.bytesWritten();
    SCR::CALLM(88, true);
    c.flush();
    uint64_t b2 = c.bytesWritten();
    SCR::RECALL();
    c.flush();
    uint64_t b3 = c.bytesWritten();
    drain.join();
    std::printf("bar move in the main menu:     %6zu bytes at most, %zu on average (aim: under 150)\n",
                *std::max_element(moves.begin(), moves.end()),
                std::accumulate(moves.begin(), moves.end(), size_t(0)) / moves.size());
    std::printf("show a full-screen mask:       %6llu bytes (aim: under 12288)\n", (unsigned long long)(b2 - b1));
    std::printf("remove a full-screen mask:     %6llu bytes (aim: under 12288)\n", (unsigned long long)(b3 - b2));
    c.shutdown();
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

void taxLinesBench();       // bench/taxlines_bench.cpp
void storeBench();          // bench/store_bench.cpp
void placesBarMoveBytes();  // bench/codes_bench.cpp

int main() {
    storeBench();
    screenBytes();
    placesBarMoveBytes();
    taxLinesBench();
    std::vector<double> times;
    for (int i = 0; i < 10; ++i) times.push_back(startupMs());
    std::sort(times.begin(), times.end());
    std::printf("start to company list (median of 10): %.1f ms (aim: under 5)\n", times[5]);
    BENCH::runAll();
    return 0;
}
