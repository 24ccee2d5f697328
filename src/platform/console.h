// The console: a 25 x 80 cell buffer, the cursor, and the input events.
// Two backends: the terminal (termios, xterm sequences) and a headless one for tests.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace PLAT {

constexpr int SCREEN_W = 80;
constexpr int SCREEN_H = 25;

// One screen cell: a character in code page 737 and an attribute (background * 16 + foreground).
struct Cell {
    uint8_t ch = ' ';
    uint8_t at = 15;
    bool operator==(const Cell&) const = default;
};
using CellBuffer = Cell[SCREEN_H][SCREEN_W];

enum Mod : uint8_t { MOD_SHIFT = 1, MOD_CTRL = 2, MOD_ALT = 4 };

// Scan codes of the extended keys, DOS style.
namespace SC {
constexpr uint8_t F1 = 59, F2 = 60, F3 = 61, F4 = 62, F5 = 63, F6 = 64, F7 = 65, F8 = 66, F9 = 67, F10 = 68;
constexpr uint8_t SF1 = 84, SF2 = 85, SF3 = 86, SF4 = 87, SF5 = 88, SF6 = 89, SF7 = 90, SF8 = 91, SF9 = 92,
                  SF10 = 93;
constexpr uint8_t CF1 = 94, CF2 = 95, CF3 = 96, CF4 = 97, CF5 = 98, CF6 = 99, CF7 = 100, CF8 = 101, CF9 = 102,
                  CF10 = 103;
constexpr uint8_t AF1 = 104, AF2 = 105, AF3 = 106, AF4 = 107, AF5 = 108, AF6 = 109, AF7 = 110, AF8 = 111,
                  AF9 = 112, AF10 = 113;
constexpr uint8_t HOME = 71, UP = 72, PGUP = 73, LEFT = 75, RIGHT = 77, END = 79, DOWN = 80, PGDN = 81, INS = 82,
                  DEL = 83;
constexpr uint8_t ALT_C = 46;
}  // namespace SC

struct KeyEvent {
    uint8_t ch = 0;    // a character in CP737; 0 for an extended key
    uint8_t scan = 0;  // the scan code of an extended key (SC::...)
    uint8_t mods = 0;  // Mod bits held with the key (for extended keys)
    bool extended() const { return ch == 0; }
    bool operator==(const KeyEvent&) const = default;
};

struct MouseEvent {
    enum Action : uint8_t { PRESS = 1, RELEASE = 2, DRAG = 3 };
    enum Button : uint8_t { LEFT = 1, RIGHT = 2, MIDDLE = 3 };
    uint8_t action = PRESS;
    uint8_t button = LEFT;
    int x = 0;  // zero-based column
    int y = 0;  // zero-based row
    bool operator==(const MouseEvent&) const = default;
};

struct Event {
    enum Type : uint8_t { NONE, KEY, MOUSE, PASTE } type = NONE;
    KeyEvent key;
    MouseEvent mouse;
    std::string paste;  // bracketed paste, already in CP737
    bool operator==(const Event&) const = default;
};

// Helpers to build events (used by the decoder and by tests).
Event keyChar(uint8_t ch);
Event keyExt(uint8_t scan, uint8_t mods = 0);
Event mouse(uint8_t action, uint8_t button, int x0, int y0);
Event pasteText(const std::string& cp737);

class Console {
public:
    virtual ~Console() = default;

    // The cell buffer the program writes into; shown at each refresh().
    CellBuffer cells{};

    // The buffer is ready to be shown. The terminal shows it when the program next waits (idle(),
    // readKey(), a pause): the steps of one redraw never reach the terminal apart.
    virtual void refresh() = 0;
    // Sends what changed since the last time to the terminal now. idle() and PLAT::sleepMs() do it
    // before they wait; nothing else needs to.
    virtual void flush() {}
    // Cursor position is 1-based (column, row) as the screens use it.
    void gotoXY(int x, int y) { curX = x; curY = y; }
    int whereX() const { return curX; }
    int whereY() const { return curY; }
    void showCursor(bool on) { cursorOn = on; }
    bool cursorVisible() const { return cursorOn; }

    // Non-blocking: takes the next queued input event, if any.
    virtual bool poll(Event& ev) = 0;
    // Puts an event back in front of the queue (a caller that looked ahead).
    void unread(const Event& ev) { pushedBack.push_front(ev); }
    // Shows the screen and waits about ms milliseconds (the pause between empty polls).
    virtual void idle(int ms) = 0;
    // Shows the screen and waits for the next key, 20 ms between empty polls; mouse and paste
    // events on the way are passed over.
    KeyEvent readKey();
    // The console bell (character 7).
    virtual void bell() = 0;

    // Writes text at the cursor like a plain console write: characters take attribute textAttr,
    // CR returns to column 1, LF goes to the next row (scrolling at the bottom); then refreshes.
    void write(const std::string& cp737);
    void writeln(const std::string& cp737) { write(cp737 + "\r\n"); }
    // Every cell blank with attribute at; cursor to (1,1).
    void clear(uint8_t at = 7);
    uint8_t textAttr = 7;

    // Leaves the console as it found the terminal (the terminal backend restores its modes).
    virtual void shutdown() {}
    // A full-screen program in the terminal (the viewer) is about to run / has ended.
    virtual void suspend() {}
    virtual void resume() {}
    // Bytes written to the terminal so far (0 for headless).
    virtual uint64_t bytesWritten() const { return 0; }

protected:
    bool takePushedBack(Event& ev);
    std::deque<Event> pushedBack;
    int curX = 1, curY = 1;
    bool cursorOn = true;
};

// The console of this run. The program installs the terminal backend; tests install a headless one.
Console& con();
void setConsole(std::unique_ptr<Console> c);
bool haveConsole();

// Headless backend: scripted events, an in-memory screen, a count of bells and refreshes.
class HeadlessConsole : public Console {
public:
    void refresh() override { ++refreshes; }
    bool poll(Event& ev) override;
    void idle(int ms) override;
    void bell() override { ++bells; }

    // Script: events are delivered in order.
    void push(const Event& ev) { script.push_back(ev); }
    void keys(const std::string& cp737);  // plain characters, one event each
    void key(uint8_t scan, uint8_t mods = 0) { push(keyExt(scan, mods)); }
    void ch(uint8_t c) { push(keyChar(c)); }
    void click(int x1, int y1, uint8_t button = MouseEvent::LEFT);  // 1-based press and release
    size_t pending() const { return script.size(); }

    // Called when the program waits with nothing scripted (tests act for "another workstation").
    std::function<void()> onIdle;
    // After this many consecutive empty idles the script is over: idle() throws ScriptEnd.
    int maxIdle = 200;

    // Reading the screen (1-based column and row).
    std::string text(int row) const;                 // the 80 characters of a row
    std::string text(int x, int y, int len) const;   // len characters from (x, y)
    uint8_t attr(int x, int y) const { return cells[y - 1][x - 1].at; }
    std::string dump() const;                        // the whole screen, rows joined by '\n', UTF-8

    int bells = 0;
    long refreshes = 0;

private:
    std::deque<Event> script;
    int emptyIdles = 0;
};

struct ScriptEnd {};  // thrown by HeadlessConsole::idle when the script has run out

// Terminal backend (termios raw mode, xterm sequences, SGR mouse, bracketed paste, UTF-8 output).
// Throws std::runtime_error when standard input/output is not a terminal or is smaller than 80x25.
std::unique_ptr<Console> makeTerminalConsole();
// The same on the given descriptors (tests drive it through a pseudo-terminal).
std::unique_ptr<Console> makeTerminalConsole(int inFd, int outFd);

}  // namespace PLAT
