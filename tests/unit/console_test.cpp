#include "platform/console.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>

#include "helpers/pty.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/fatal.h"

using namespace PLAT;

namespace {

// ---- Console::write / clear and the headless backend ----

TEST(ConsoleHeadless, WriteWrapsScrollsAndRings) {
    HeadlessConsole c;
    c.clear(0x17);
    EXPECT_EQ(c.whereX(), 1);
    EXPECT_EQ(c.attr(80, 25), 0x17);
    c.textAttr = 0x1E;
    c.gotoXY(78, 3);
    c.write("abcd\x07");  // wraps after column 80
    EXPECT_EQ(c.text(78, 3, 3), "abc");
    EXPECT_EQ(c.text(1, 4, 2), "d ");
    EXPECT_EQ(c.attr(1, 4), 0x1E);
    EXPECT_EQ(c.attr(2, 4), 0x17);
    EXPECT_EQ(c.bells, 1);
    EXPECT_EQ(c.whereX(), 2);
    EXPECT_EQ(c.whereY(), 4);

    c.write("xy\rZ\n");  // CR back to column 1, LF down keeping the column
    EXPECT_EQ(c.text(1, 4, 4), "Zxy ");
    EXPECT_EQ(c.whereX(), 2);
    EXPECT_EQ(c.whereY(), 5);

    c.gotoXY(1, 1);
    c.write("top");
    c.gotoXY(1, 25);
    c.textAttr = 0x40;
    c.write("last\r\n");  // scrolls: row 1 leaves, the new bottom row is blank in textAttr
    EXPECT_EQ(c.text(1, 1, 3), "   ");
    EXPECT_EQ(c.text(1, 24, 4), "last");
    EXPECT_EQ(c.text(25), std::string(80, ' '));
    EXPECT_EQ(c.attr(1, 25), 0x40);
    EXPECT_EQ(c.whereY(), 25);

    long before = c.refreshes;
    c.write("one refresh per write\r\nand more");
    EXPECT_EQ(c.refreshes, before + 1);
}

TEST(ConsoleHeadless, ScriptPushBackAndEnd) {
    HeadlessConsole c;
    c.keys("ab");
    c.key(SC::F2, MOD_SHIFT);
    c.click(10, 3, MouseEvent::RIGHT);
    Event ev;
    ASSERT_TRUE(c.poll(ev));
    EXPECT_EQ(ev, keyChar('a'));
    c.unread(ev);
    c.unread(keyChar('z'));
    ASSERT_TRUE(c.poll(ev));
    EXPECT_EQ(ev, keyChar('z'));  // pushed back events come first, the last one first
    ASSERT_TRUE(c.poll(ev));
    EXPECT_EQ(ev, keyChar('a'));
    ASSERT_TRUE(c.poll(ev));
    EXPECT_EQ(ev, keyChar('b'));
    ASSERT_TRUE(c.poll(ev));
    EXPECT_TRUE(ev.key.extended());
    EXPECT_EQ(ev, keyExt(SC::F2, MOD_SHIFT));
    ASSERT_TRUE(c.poll(ev));
    EXPECT_EQ(ev, mouse(MouseEvent::PRESS, MouseEvent::RIGHT, 9, 2));
    ASSERT_TRUE(c.poll(ev));
    EXPECT_EQ(ev, mouse(MouseEvent::RELEASE, MouseEvent::RIGHT, 9, 2));
    EXPECT_FALSE(c.poll(ev));

    // Empty idles are counted; an idle in which "another workstation" acts is not; a delivered
    // event starts the count again.
    c.maxIdle = 3;
    int calls = 0;
    c.onIdle = [&] {
        if (++calls == 2) c.ch('q');
    };
    c.idle(20);
    c.idle(20);  // onIdle pushed 'q'
    ASSERT_TRUE(c.poll(ev));
    EXPECT_EQ(ev, keyChar('q'));
    c.idle(20);
    c.idle(20);
    c.idle(20);
    EXPECT_THROW(c.idle(20), ScriptEnd);
    EXPECT_EQ(calls, 6);
}

TEST(ConsoleHeadless, ReadingTheScreen) {
    HeadlessConsole c;
    c.clear();
    c.gotoXY(79, 2);
    c.write(gr("Αβ"));
    c.cells[0][0].ch = 24;  // an arrow glyph
    EXPECT_EQ(c.text(79, 2, 5), gr("Αβ"));  // cut at the row's end
    EXPECT_EQ(c.text(2).substr(78), gr("Αβ"));
    std::string d = c.dump();
    EXPECT_EQ(std::count(d.begin(), d.end(), '\n'), 24);
    EXPECT_EQ(d.substr(0, 3), "\u2191");
    EXPECT_NE(d.find("Αβ\n"), std::string::npos);
}

TEST(ConsoleGlobal, InstallAndReplace) {
    setConsole(nullptr);
    EXPECT_FALSE(haveConsole());
    EXPECT_THROW(con(), std::logic_error);
    auto h = std::make_unique<HeadlessConsole>();
    Console* p = h.get();
    setConsole(std::move(h));
    EXPECT_TRUE(haveConsole());
    EXPECT_EQ(&con(), p);
    setConsole(std::make_unique<HeadlessConsole>());
    EXPECT_NE(&con(), p);
}

// ---- the terminal backend on a pseudo-terminal ----

class TerminalPty : public ::testing::Test {
protected:
    int master = -1, slave = -1;
    std::thread reader;
    std::mutex mu;
    std::string output;
    std::atomic<bool> stop{false};
    std::atomic<long> received{0};

    void SetUp() override {
        ASSERT_TRUE(TESTS::openPty(master, slave));
        reader = std::thread([this] {
            char b[8192];
            while (!stop) {
                pollfd p{master, POLLIN, 0};
                if (::poll(&p, 1, 10) <= 0) continue;
                ssize_t n = read(master, b, sizeof b);
                if (n <= 0) break;
                std::lock_guard<std::mutex> l(mu);
                output.append(b, size_t(n));
                received += n;
            }
        });
    }
    void TearDown() override {
        stop = true;
        if (reader.joinable()) reader.join();
        if (slave >= 0) close(slave);
        if (master >= 0) close(master);
    }
    void setSize(int w, int h) {
        winsize ws{};
        ws.ws_col = uint16_t(w);
        ws.ws_row = uint16_t(h);
        ioctl(master, TIOCSWINSZ, &ws);
    }
    // What the terminal received since the last call, once `total` bytes have arrived in all.
    std::string take(uint64_t total) {
        for (int i = 0; i < 500 && uint64_t(received.load()) < total; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::lock_guard<std::mutex> l(mu);
        return std::exchange(output, std::string());
    }
    std::string take(const std::unique_ptr<Console>& c) { return take(c->bytesWritten()); }
    void type(const std::string& bytes) { ASSERT_EQ(write(master, bytes.data(), bytes.size()), ssize_t(bytes.size())); }
    std::vector<Event> events(Console& c, size_t n) {
        std::vector<Event> v;
        Event ev;
        for (int i = 0; i < 100 && v.size() < n; ++i) {
            while (c.poll(ev)) v.push_back(ev);
            if (v.size() < n) c.idle(20);
        }
        return v;
    }
};

bool has(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

TEST_F(TerminalPty, ModesOnAndRestoredOnce) {
    termios before{};
    tcgetattr(slave, &before);
    auto c = makeTerminalConsole(slave, slave);
    std::string o = take(c);
    for (const char* m : {"\x1b[?1049h", "\x1b[2 q", "\x1b[?1002h", "\x1b[?1006h", "\x1b[?2004h"})
        EXPECT_TRUE(has(o, m)) << m;
    termios raw{};
    tcgetattr(slave, &raw);
    EXPECT_EQ(raw.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(raw.c_iflag & (IXON | ICRNL), 0u);

    c->shutdown();
    o = take(c);
    for (const char* m : {"\x1b[?1002l", "\x1b[?1006l", "\x1b[?2004l", "\x1b[?25h", "\x1b[?1049l"})
        EXPECT_TRUE(has(o, m)) << m;
    termios after{};
    tcgetattr(slave, &after);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    uint64_t n = c->bytesWritten();
    c->shutdown();  // a second time: nothing more
    EXPECT_EQ(c->bytesWritten(), n);
    c.reset();
    EXPECT_EQ(take(n), "");
}

TEST_F(TerminalPty, FlushWritesOnlyChangedCells) {
    auto c = makeTerminalConsole(slave, slave);
    c->flush();
    EXPECT_GT(take(c).size(), 2000u);  // the first flush draws everything

    uint64_t n0 = c->bytesWritten();
    c->flush();
    EXPECT_EQ(c->bytesWritten(), n0);  // nothing changed, nothing written

    c->cells[4][9] = Cell{0x80, 0x1E};  // Α, yellow on blue
    c->flush();
    EXPECT_EQ(take(c), "\x1b[5;10H\x1b[93;44m\u0391\x1b[1;1H");
    EXPECT_EQ(c->bytesWritten() - n0, std::string("\x1b[5;10H\x1b[93;44m\u0391\x1b[1;1H").size());

    c->cells[2][0] = Cell{'a', 7};
    c->cells[2][1] = Cell{26, 7};  // the arrow glyph for 26
    c->gotoXY(81, 3);              // past the last column: shown on the last column
    c->showCursor(false);
    c->flush();
    EXPECT_EQ(take(c), "\x1b[3;1H\x1b[37;40ma\u2192\x1b[?25l");  // a hidden cursor is not placed
    c->showCursor(true);
    c->flush();
    EXPECT_EQ(take(c), "\x1b[3;80H\x1b[?25h");
    c->bell();
    c->flush();
    EXPECT_EQ(take(c), "\a");
}

// The steps of a redraw (each refreshing) reach the terminal together when the program waits:
// for a key (idle), or for time to pass (a pause), and a cell drawn and undrawn is not sent.
TEST_F(TerminalPty, OutputWaitsForTheProgramToWait) {
    auto c = makeTerminalConsole(slave, slave);
    c->flush();
    take(c);
    const uint64_t n0 = c->bytesWritten();
    c->cells[0][0] = Cell{'x', 0x70};
    c->refresh();
    c->cells[0][0] = Cell{' ', 15};  // back as it was
    c->cells[1][0] = Cell{'y', 0x70};
    c->refresh();
    c->bell();
    c->write("z");  // at (1,1)
    EXPECT_EQ(c->bytesWritten(), n0);
    c->idle(0);
    EXPECT_EQ(take(c), "\x1b[1;1H\x1b[37;40mz\x1b[2;1H\x1b[30;47my\x1b[1;2H\a");

    // A pause of the program's own (the console of the run) shows the screen too.
    setConsole(std::move(c));
    const uint64_t n1 = con().bytesWritten();
    con().cells[5][5].ch = 'p';
    con().refresh();
    EXPECT_EQ(con().bytesWritten(), n1);
    sleepMs(1);
    EXPECT_EQ(take(con().bytesWritten()), "\x1b[6;6H\x1b[97;40mp\x1b[1;2H");
    setConsole(std::make_unique<HeadlessConsole>());
}

TEST_F(TerminalPty, KeysMouseAndTheEscPause) {
    auto c = makeTerminalConsole(slave, slave);
    type("\x1b[Aα\x1b[<0;3;4M\x1b[2;2~");
    auto v = events(*c, 4);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[0], keyExt(SC::UP));
    EXPECT_EQ(v[1], keyChar(0x98));
    EXPECT_EQ(v[2], mouse(MouseEvent::PRESS, MouseEvent::LEFT, 2, 3));
    EXPECT_EQ(v[3], keyExt(SC::INS, MOD_SHIFT));

    type("\x1b");
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    Event ev;
    EXPECT_FALSE(c->poll(ev));  // not yet: it may start a sequence
    v = events(*c, 1);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0], keyChar(27));

    c->unread(keyChar('u'));
    ASSERT_TRUE(c->poll(ev));
    EXPECT_EQ(ev, keyChar('u'));
}

TEST_F(TerminalPty, RefusedWhenTooSmallOrNotATerminal) {
    setSize(80, 24);
    try {
        makeTerminalConsole(slave, slave);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_TRUE(has(e.what(), "80x25")) << e.what();
        EXPECT_TRUE(has(e.what(), "80x24")) << e.what();
    }
    int p[2];
    ASSERT_EQ(pipe(p), 0);
    EXPECT_THROW(makeTerminalConsole(p[0], p[1]), std::runtime_error);
    close(p[0]);
    close(p[1]);
    EXPECT_EQ(take(0), "");  // nothing was sent to the terminal
}

TEST_F(TerminalPty, ShrinkShowsNoticeUntilResized) {
    auto c = makeTerminalConsole(slave, slave);
    c->flush();
    take(c);
    setSize(79, 30);
    raise(SIGWINCH);
    c->cells[0][0].ch = 'Q';
    c->flush();
    std::string o = take(c);
    EXPECT_TRUE(has(o, "τουλάχιστον 80x25")) << o;
    EXPECT_FALSE(has(o, "Q"));

    setSize(100, 30);
    raise(SIGWINCH);
    c->idle(0);
    o = take(c);
    EXPECT_TRUE(has(o, "\x1b[2J"));
    EXPECT_TRUE(has(o, "Q"));
    EXPECT_GT(o.size(), 2000u);  // everything again
}

// A terminal that goes away without a hang-up signal must not leave the program polling forever:
// the next wait ends the run as SIGHUP would, through the cleanups (terminal modes, locks).
TEST_F(TerminalPty, HangUpWithoutASignalEndsTheRun) {
    auto c = makeTerminalConsole(slave, slave);
    c->flush();
    take(c);
    stop = true;
    reader.join();
    close(master);
    master = -1;
    bool cleaned = false;
    int hook = addCleanup([&] { cleaned = true; });
    setThrowOnExit(true);
    int code = -1;
    try {
        for (int i = 0; i < 5; ++i) c->idle(20);
    } catch (const ProgramExit& e) {
        code = e.code;
    }
    setThrowOnExit(false);
    removeCleanup(hook);
    EXPECT_EQ(code, 128 + SIGHUP);
    EXPECT_TRUE(cleaned);
}

TEST_F(TerminalPty, SuspendAndResumeRedrawAll) {
    auto c = makeTerminalConsole(slave, slave);
    c->flush();
    take(c);
    c->suspend();
    std::string o = take(c);
    EXPECT_TRUE(has(o, "\x1b[?1049l"));
    termios t{};
    tcgetattr(slave, &t);
    EXPECT_NE(t.c_lflag & ICANON, 0u);
    c->resume();
    c->flush();
    o = take(c);
    EXPECT_TRUE(has(o, "\x1b[?1049h"));
    EXPECT_GT(o.size(), 2000u);
    tcgetattr(slave, &t);
    EXPECT_EQ(t.c_lflag & ICANON, 0u);
}

}  // namespace
