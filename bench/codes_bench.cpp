// Terminal bytes of one bar move in the places table (the plainest code-table screen), measured
// on a pseudo-terminal: the table opened and left with Esc, once with a Down before the Esc; the
// difference is the bar move.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <vector>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "codes/kvdi.h"
#include "common/umas.h"
#include "platform/console.h"
#include "screen/scr.h"
#include "shell/install.h"
#include "shell/start.h"

namespace {

void drainPty(int fd, std::atomic<bool>& stop) {
    char buf[65536];
    while (!stop) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 20) > 0 && read(fd, buf, sizeof buf) <= 0) break;
    }
}

}  // namespace

void placesBarMoveBytes() {
    const std::string dir = std::filesystem::temp_directory_path().string() + "/korvex-bench-codes";
    std::filesystem::remove_all(dir);
    INSTALL::makeCompanyFolder(dir);
    INSTALL::seedCodeTables(dir, KORVEX_SOURCE_DIR "/data/demo/tables");
    UMAS::PATH = dir + "/";
    int master, slave;
    winsize ws{25, 80, 0, 0};
    if (openpty(&master, &slave, nullptr, nullptr, &ws) != 0) {
        perror("openpty");
        return;
    }
    std::atomic<bool> stop{false};
    std::thread t(drainPty, master, std::ref(stop));
    PLAT::setConsole(PLAT::makeTerminalConsole(slave, slave));
    PLAT::Console& c = PLAT::con();
    UMAS::CRP = &c.cells;
    START::RMASK(UMAS::MPR, KORVEX_BINARY_DIR "/KORVEX.MSK");
    c.clear(15);
    // The keys arrive while the screen waits, one every 100 ms, as typed.
    auto session = [&](std::vector<std::string> keys) {
        std::thread typist([&] {
            for (const std::string& k : keys) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                if (write(master, k.data(), k.size()) != ssize_t(k.size())) perror("write");
            }
        });
        uint64_t b0 = c.bytesWritten();
        KVDI::RECAPO mee;
        uint8_t KK = 0;
        KVDI::APO(mee, true, KK);
        typist.join();
        return c.bytesWritten() - b0;
    };
    const std::string esc = "\x1b";
    session({esc});                      // the first drawing of the whole screen
    const uint64_t plain = session({esc});
    const uint64_t moved = session({"\x1b[B", esc});
    std::printf("bar move in the places table:  %6lld bytes (aim: under 150)\n", (long long)(moved - plain));
    c.shutdown();
    stop = true;
    t.join();
    close(master);
    close(slave);
    std::filesystem::remove_all(dir);
}
