// What the terminal receives while the clerk works: the main menu on the terminal backend, through
// a pseudo-terminal, keys typed one at a time and the bytes counted between them.
#include <poll.h>
#include <sys/ioctl.h>
#include <csignal>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "common/umas.h"
#include "helpers/fixture.h"
#include "helpers/pty.h"
#include "platform/fatal.h"
#include "screen/scr.h"
#include "shell/korvex.h"

namespace {

class TerminalOutput : public ::testing::Test {
protected:
    int master = -1, slave = -1;

    void SetUp() override {
        PLAT::setThrowOnExit(true);
        ASSERT_TRUE(TESTS::openPty(master, slave));
        PLAT::setConsole(PLAT::makeTerminalConsole(slave, slave));
        UMAS::CRP = &PLAT::con().cells;
        SCR::STACK.clear();
        TESTS::loadMasks();
        UMAS::LOGOTYPO[1] = "COMPANY 1";
    }
    void TearDown() override {
        TESTS::headless();  // the terminal backend leaves before its descriptors close
        if (slave >= 0) close(slave);
        if (master >= 0) close(master);
    }

    // Everything the terminal receives until it has been quiet for a while (the program waits).
    std::string settle() {
        std::string got;
        char b[8192];
        auto quiet = std::chrono::milliseconds(200);
        auto last = std::chrono::steady_clock::now();
        for (;;) {
            pollfd p{master, POLLIN, 0};
            const int timeout = got.empty() ? 5000 : 20;  // the first byte may take long on a busy machine
            if (::poll(&p, 1, timeout) > 0) {
                ssize_t n = read(master, b, sizeof b);
                if (n <= 0) break;
                got.append(b, size_t(n));
                last = std::chrono::steady_clock::now();
            } else if (got.empty() || std::chrono::steady_clock::now() - last >= quiet) {
                break;
            }
        }
        return got;
    }
    void type(const std::string& keys) { ASSERT_EQ(write(master, keys.data(), keys.size()), ssize_t(keys.size())); }
};

// A bar move sends its two changed rows once, in one go, when the menu waits for the next key
// (not the new bar's row three times, as drawn, undrawn and drawn again by the menu's steps).
TEST_F(TerminalOutput, BarMoveInTheMainMenuSendsOnlyItsTwoRows) {
    std::vector<std::string> moves;
    std::thread clerk([&] {
        settle();  // the menu is shown
        for (const char* key : {"\x1b[B", "\x1b[B", "\x1b[A"}) {
            type(key);
            moves.push_back(settle());
        }
        type("\x1b");  // Esc leaves the menu
    });
    KORVEX::mainMenu();
    clerk.join();

    ASSERT_EQ(moves.size(), 3u);
    const std::regex position("\x1b\\[[0-9]+;[0-9]+H");
    for (size_t i = 0; i < moves.size(); ++i) {
        std::string o = moves[i];
        const auto places = std::distance(std::sregex_iterator(o.begin(), o.end(), position), std::sregex_iterator());
        std::replace(o.begin(), o.end(), '\x1b', '~');
        SCOPED_TRACE("move " + std::to_string(i + 1) + ": " + o);
        EXPECT_LT(o.size(), 150u);
        EXPECT_EQ(places, 2);  // the two rows (the menu's cursor is hidden)
    }
}

}  // namespace

namespace {

void setSize(int fd, int cols, int rows) {
    winsize ws{};
    ws.ws_col = uint16_t(cols);
    ws.ws_row = uint16_t(rows);
    ioctl(fd, TIOCSWINSZ, &ws);
    kill(getpid(), SIGWINCH);
}

}  // namespace

// While the terminal is too small its keys are held back (Enter and Esc included), and they come
// once it is 80x25 again.
TEST_F(TerminalOutput, KeysAreHeldBackWhileTheTerminalIsTooSmall) {
    PLAT::Console& c = PLAT::con();
    setSize(master, 60, 20);
    c.idle(20);
    type("x\r");
    PLAT::Event ev;
    for (int i = 0; i < 10; ++i) {
        c.idle(20);
        EXPECT_FALSE(c.poll(ev)) << "a key reached the hidden screen";
    }
    EXPECT_NE(settle().find("80x25"), std::string::npos);
    setSize(master, 80, 25);
    std::string got;
    for (int i = 0; i < 50 && got.size() < 2; ++i) {
        c.idle(20);
        while (c.poll(ev))
            if (ev.type == PLAT::Event::KEY) got += char(ev.key.ch);
    }
    EXPECT_EQ(got, "x\r");
}
