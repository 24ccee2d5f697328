// The console of the run, the parts every backend shares, and the headless backend.
#include "platform/console.h"

#include <algorithm>
#include <stdexcept>

#include "platform/codepage.h"

namespace PLAT {

namespace {
std::unique_ptr<Console> theConsole;
}

Event keyChar(uint8_t ch) {
    Event e;
    e.type = Event::KEY;
    e.key.ch = ch;
    return e;
}

Event keyExt(uint8_t scan, uint8_t mods) {
    Event e;
    e.type = Event::KEY;
    e.key.scan = scan;
    e.key.mods = mods;
    return e;
}

Event mouse(uint8_t action, uint8_t button, int x0, int y0) {
    Event e;
    e.type = Event::MOUSE;
    e.mouse.action = action;
    e.mouse.button = button;
    e.mouse.x = x0;
    e.mouse.y = y0;
    return e;
}

Event pasteText(const std::string& cp737) {
    Event e;
    e.type = Event::PASTE;
    e.paste = cp737;
    return e;
}

Console& con() {
    if (!theConsole) throw std::logic_error("no console installed");
    return *theConsole;
}

void setConsole(std::unique_ptr<Console> c) {
    if (theConsole) theConsole->shutdown();
    theConsole = std::move(c);
}

bool haveConsole() { return theConsole != nullptr; }

bool Console::takePushedBack(Event& ev) {
    if (pushedBack.empty()) return false;
    ev = std::move(pushedBack.front());
    pushedBack.pop_front();
    return true;
}

void Console::write(const std::string& cp737) {
    auto newline = [this] {
        if (curY < SCREEN_H) {
            ++curY;
            return;
        }
        for (int y = 0; y + 1 < SCREEN_H; ++y)
            for (int x = 0; x < SCREEN_W; ++x) cells[y][x] = cells[y + 1][x];
        for (int x = 0; x < SCREEN_W; ++x) cells[SCREEN_H - 1][x] = Cell{' ', textAttr};
        curY = SCREEN_H;
    };
    // A cursor placed off the screen writes from the nearest cell.
    curX = std::clamp(curX, 1, SCREEN_W);
    curY = std::clamp(curY, 1, SCREEN_H);
    for (unsigned char c : cp737) {
        if (c == '\r') {
            curX = 1;
        } else if (c == '\n') {
            newline();
        } else if (c == 7) {
            bell();
        } else {
            cells[curY - 1][curX - 1] = Cell{c, textAttr};
            if (++curX > SCREEN_W) {
                curX = 1;
                newline();
            }
        }
    }
    refresh();
}

KeyEvent Console::readKey() {
    refresh();
    for (;;) {
        Event ev;
        if (poll(ev)) {
            if (ev.type == Event::KEY) return ev.key;
            continue;
        }
        idle(20);
    }
}

void Console::clear(uint8_t at) {
    for (auto& row : cells)
        for (auto& cell : row) cell = Cell{' ', at};
    curX = curY = 1;
    refresh();
}

// ---- headless ----

bool HeadlessConsole::poll(Event& ev) {
    if (!takePushedBack(ev)) {
        if (script.empty()) return false;
        ev = std::move(script.front());
        script.pop_front();
    }
    emptyIdles = 0;
    return true;
}

void HeadlessConsole::idle(int) {
    if (onIdle) onIdle();
    if (!script.empty() || !pushedBack.empty()) return;
    if (++emptyIdles > maxIdle) throw ScriptEnd{};
}

void HeadlessConsole::keys(const std::string& cp737) {
    for (unsigned char c : cp737) push(keyChar(c));
}

void HeadlessConsole::click(int x1, int y1, uint8_t button) {
    push(mouse(MouseEvent::PRESS, button, x1 - 1, y1 - 1));
    push(mouse(MouseEvent::RELEASE, button, x1 - 1, y1 - 1));
}

std::string HeadlessConsole::text(int row) const { return text(1, row, SCREEN_W); }

std::string HeadlessConsole::text(int x, int y, int len) const {
    std::string s;
    if (y < 1 || y > SCREEN_H) return s;
    for (int i = std::max(x, 1); i < x + len && i <= SCREEN_W; ++i) s += char(cells[y - 1][i - 1].ch);
    return s;
}

std::string HeadlessConsole::dump() const {
    std::string s;
    for (int y = 1; y <= SCREEN_H; ++y) {
        if (y > 1) s += '\n';
        s += cp737ToUtf8(text(y));
    }
    return s;
}

}  // namespace PLAT
