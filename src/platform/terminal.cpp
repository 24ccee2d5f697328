// The terminal backend: raw mode, the alternate screen, SGR mouse, bracketed paste, and the
// 25 x 80 cells drawn as UTF-8 text. The screen is sent when the program waits (for a key or
// for time to pass), and then only the cells that changed since the last time: the steps of one
// redraw never reach the terminal one by one.
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <stdexcept>

#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/fatal.h"
#include "platform/keydecode.h"

namespace PLAT {

namespace {

volatile sig_atomic_t resized = 0;
void onWinch(int) { resized = 1; }

// Alternate screen, no autowrap (the last cell must not scroll), block cursor, mouse with
// drags in SGR form, bracketed paste.
const char ENTER_MODES[] = "\x1b[?1049h\x1b[?7l\x1b[2 q\x1b[?1002h\x1b[?1006h\x1b[?2004h";
const char LEAVE_MODES[] = "\x1b[?2004l\x1b[?1006l\x1b[?1002l\x1b[0m\x1b[0 q\x1b[?7h\x1b[?25h\x1b[?1049l";

// DOS colour number (blue = 1, red = 4) to ANSI (red = 1, blue = 4).
constexpr int ANSI[8] = {0, 4, 2, 6, 1, 5, 3, 7};

std::string sgr(uint8_t at) {
    int fg = at & 15, bg = at >> 4;
    int f = fg < 8 ? 30 + ANSI[fg] : 90 + ANSI[fg - 8];
    int b = bg < 8 ? 40 + ANSI[bg] : 100 + ANSI[bg - 8];
    return "\x1b[" + std::to_string(f) + ";" + std::to_string(b) + "m";
}

std::string goTo(int x1, int y1) { return "\x1b[" + std::to_string(y1) + ";" + std::to_string(x1) + "H"; }

using Clock = std::chrono::steady_clock;

class TerminalConsole : public Console {
public:
    TerminalConsole(int inFd, int outFd);
    ~TerminalConsole() override;
    void refresh() override;
    void flush() override { draw(); }
    bool poll(Event& ev) override;
    void idle(int ms) override;
    void bell() override { bells += '\a'; }
    void shutdown() override;
    void suspend() override { leave(); }
    void resume() override;
    uint64_t bytesWritten() const override { return written; }

private:
    void enter();
    void leave();  // only write() and tcsetattr(): safe inside a signal handler
    void put(const char* s, size_t n);
    void put(const std::string& s) { put(s.data(), s.size()); }
    bool size(int& w, int& h) const;
    void checkResize();
    void draw();

    int in, out;
    termios saved{};
    bool active = false;  // raw mode and the alternate screen are on
    bool closed = false;  // shut down for good
    bool tooSmall = false;
    bool noticeShown = false;  // the too-small notice is on the terminal
    int noticeW = 0, noticeH = 0;
    bool full = true;     // the next draw sends every cell
    CellBuffer shadow{};  // what the terminal shows
    int termAttr = -1;    // the colours last set on the terminal (-1 unknown)
    int shownX = 0, shownY = 0;
    int shownCursor = -1;
    std::string glyph[256];
    KeyDecoder dec;
    Clock::time_point lastByte{};
    Clock::time_point lastShown = Clock::now();  // the last wait or draw
    std::string bells;                           // bells rung since the last draw
    uint64_t written = 0;
    int cleanupId = 0;
    struct sigaction oldWinch {};
};

TerminalConsole::TerminalConsole(int inFd, int outFd) : in(inFd), out(outFd) {
    if (!isatty(in) || !isatty(out)) throw std::runtime_error("standard input and output must be a terminal");
    int w, h;
    if (size(w, h) && (w < SCREEN_W || h < SCREEN_H))
        throw std::runtime_error("the terminal must have at least 80x25 cells (it has " + std::to_string(w) + "x" +
                                 std::to_string(h) + ")");
    if (tcgetattr(in, &saved) != 0) throw std::runtime_error(std::string("terminal settings: ") + std::strerror(errno));
    for (int c = 0; c < 256; ++c) {
        char32_t u = cp737ToUnicode(uint8_t(c), true);
        glyph[c] = (u < 0x20 || u == 0x7F) ? std::string(" ") : utf8(u);
    }
    struct sigaction sa {};
    sa.sa_handler = onWinch;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;  // no SA_RESTART: a resize wakes idle()
    sigaction(SIGWINCH, &sa, &oldWinch);
    cleanupId = addCleanup([this] {
        cleanupId = 0;
        shutdown();
    });
    enter();
}

TerminalConsole::~TerminalConsole() {
    shutdown();
    sigaction(SIGWINCH, &oldWinch, nullptr);
}

void TerminalConsole::put(const char* s, size_t n) {
    while (n > 0) {
        ssize_t k = ::write(out, s, n);
        if (k < 0 && errno == EINTR) continue;
        if (k <= 0) return;  // the terminal is gone; nothing sensible is left to do with output
        written += uint64_t(k);
        s += k;
        n -= size_t(k);
    }
}

bool TerminalConsole::size(int& w, int& h) const {
    winsize ws{};
    if (ioctl(out, TIOCGWINSZ, &ws) != 0 || ws.ws_col == 0) return false;
    w = ws.ws_col;
    h = ws.ws_row;
    return true;
}

void TerminalConsole::enter() {
    if (active || closed) return;
    termios raw = saved;
    raw.c_iflag &= ~tcflag_t(IXON | ICRNL | INLCR | IGNCR | BRKINT | INPCK | ISTRIP);
    raw.c_lflag &= ~tcflag_t(ISIG | IEXTEN | ICANON | ECHO);
    raw.c_cflag |= CS8;
    raw.c_cc[VMIN] = 0;  // reads return at once with what is there
    raw.c_cc[VTIME] = 0;
    tcsetattr(in, TCSAFLUSH, &raw);
    put(ENTER_MODES, sizeof ENTER_MODES - 1);
    active = true;
    full = true;
    noticeShown = false;
    termAttr = -1;
    shownCursor = -1;
    resized = 1;  // look at the size again
}

void TerminalConsole::leave() {
    if (!active) return;
    active = false;
    put(LEAVE_MODES, sizeof LEAVE_MODES - 1);
    tcsetattr(in, TCSADRAIN, &saved);
}

void TerminalConsole::shutdown() {
    if (closed) return;
    closed = true;
    leave();
    if (cleanupId) removeCleanup(cleanupId);
    cleanupId = 0;
}

void TerminalConsole::resume() {
    enter();  // everything is sent again at the next wait
}

// A program busy for longer than this since its last wait (a long job showing its progress)
// has its screen sent at each refresh, at most once per such interval.
constexpr auto LONG_JOB = std::chrono::milliseconds(250);

void TerminalConsole::refresh() {
    if (Clock::now() - lastShown >= LONG_JOB) draw();
}

void TerminalConsole::checkResize() {
    if (!resized || !active) return;
    resized = 0;
    int w, h;
    if (!size(w, h)) return;
    full = true;
    tooSmall = w < SCREEN_W || h < SCREEN_H;
    noticeW = w;
    noticeH = h;
    noticeShown = false;
}

void TerminalConsole::draw() {
    lastShown = Clock::now();
    checkResize();
    if (!active) return;
    if (tooSmall) {
        if (!noticeShown) {
            std::string o = "\x1b[0m\x1b[?25l\x1b[H\x1b[2J";
            o += "Το τερματικό πρέπει να έχει\r\nτουλάχιστον 80x25 θέσεις\r\n(τώρα " + std::to_string(noticeW) +
                 "x" + std::to_string(noticeH) + ")";
            put(o);
            termAttr = -1;
            shownCursor = -1;
            noticeShown = true;
        }
        bells.clear();
        return;
    }
    std::string o;
    if (full) {
        o = "\x1b[0m\x1b[H\x1b[2J";
        termAttr = -1;
    }
    int px = -1, py = -1;  // where the terminal's cursor stands after the last cell written
    for (int y = 0; y < SCREEN_H; ++y)
        for (int x = 0; x < SCREEN_W; ++x) {
            const Cell& c = cells[y][x];
            if (!full && c == shadow[y][x]) continue;
            if (x != px || y != py) o += goTo(x + 1, y + 1);
            if (c.at != termAttr) {
                o += sgr(c.at);
                termAttr = c.at;
            }
            o += glyph[c.ch];
            shadow[y][x] = c;
            px = x + 1 < SCREEN_W ? x + 1 : -1;  // without autowrap the last column keeps the cursor
            py = y;
        }
    full = false;
    int cx = std::clamp(curX, 1, SCREEN_W), cy = std::clamp(curY, 1, SCREEN_H);
    if (!o.empty()) shownX = shownY = 0;  // the text moved the terminal's cursor
    // A hidden cursor stays wherever the text left it; it is placed when it is shown.
    if (cursorOn && (cx != shownX || cy != shownY)) {
        o += goTo(cx, cy);
        shownX = cx;
        shownY = cy;
    }
    if (int(cursorOn) != shownCursor) {
        o += cursorOn ? "\x1b[?25h" : "\x1b[?25l";
        shownCursor = cursorOn;
    }
    o += bells;
    bells.clear();
    if (!o.empty()) put(o);  // one write for the whole screen
}

bool TerminalConsole::poll(Event& ev) {
    if (takePushedBack(ev)) return true;
    checkResize();
    // While the "too small" notice stands the screen cannot be seen: keys are held back (left
    // unread) until the terminal is 80x25 again.
    if (active && tooSmall) return false;
    if (dec.next(ev)) return true;
    if (active) {
        char buf[4096];
        for (;;) {
            ssize_t n = ::read(in, buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            dec.feed(buf, size_t(n));
            lastByte = Clock::now();
            if (size_t(n) < sizeof buf) break;
        }
        if (dec.waiting() && Clock::now() - lastByte >= std::chrono::milliseconds(KeyDecoder::ESC_TIMEOUT_MS))
            dec.timeout();
    }
    return dec.next(ev);
}

void TerminalConsole::idle(int ms) {
    if (!active) {  // suspended or shut down: input is not ours
        ::poll(nullptr, 0, std::max(ms, 0));
        return;
    }
    draw();  // the program waits: the terminal shows what it has drawn
    if (tooSmall) {  // held-back keys must not wake the wait: only the resize signal does
        ::poll(nullptr, 0, std::max(ms, 0));
        return;
    }
    if (dec.waiting()) {  // wake when the Esc pause is over
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            lastByte + std::chrono::milliseconds(KeyDecoder::ESC_TIMEOUT_MS) - Clock::now());
        ms = std::clamp(int(left.count()) + 1, 0, ms);
    }
    pollfd p{in, POLLIN, 0};
    ::poll(&p, 1, std::max(ms, 0));  // ends early on input or a signal (a resize)
    // The terminal hung up (its window closed) without a SIGHUP reaching us: no key can come any
    // more, so end the run as the hang-up signal would, releasing the locks.
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) quit(128 + SIGHUP);
    lastShown = Clock::now();
}

}  // namespace

std::unique_ptr<Console> makeTerminalConsole(int inFd, int outFd) {
    return std::make_unique<TerminalConsole>(inFd, outFd);
}

std::unique_ptr<Console> makeTerminalConsole() { return makeTerminalConsole(STDIN_FILENO, STDOUT_FILENO); }

}  // namespace PLAT
