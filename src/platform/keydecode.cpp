// Terminal input decoding. Keys come out as the DOS keyboard gave them: a character, or 0 and a
// scan code. Sequences the program has no use for are swallowed whole.
#include "platform/keydecode.h"

#include <vector>

#include "platform/codepage.h"

namespace PLAT {

namespace {

constexpr size_t MAX_SEQ = 32;
const std::string PASTE_END = "\x1b[201~";

// DOS scan codes of the letter keys a..z and the digit keys 0..9 with Alt.
constexpr uint8_t LETTER_SCAN[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                     49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};
constexpr uint8_t ALT_DIGIT_SCAN[10] = {129, 120, 121, 122, 123, 124, 125, 126, 127, 128};

// xterm modifier parameter (1 + bits: 1 Shift, 2 Alt, 4 Ctrl, 8 Meta) to Mod bits.
uint8_t modsOf(int param) {
    if (param < 2) return 0;
    int bits = param - 1;
    uint8_t m = 0;
    if (bits & 1) m |= MOD_SHIFT;
    if (bits & (2 | 8)) m |= MOD_ALT;
    if (bits & 4) m |= MOD_CTRL;
    return m;
}

// Function key n (0 = F1) with modifiers; Alt before Ctrl before Shift as the BIOS chose.
Event fkey(int n, uint8_t mods) {
    uint8_t scan = (mods & MOD_ALT)    ? SC::AF1 + n
                   : (mods & MOD_CTRL) ? SC::CF1 + n
                   : (mods & MOD_SHIFT) ? SC::SF1 + n
                                        : SC::F1 + n;
    return keyExt(scan, mods);
}

// The key named by a final letter (CSI 1;m X or SS3 X); 0 when none.
uint8_t letterScan(char f) {
    switch (f) {
    case 'A': return SC::UP;
    case 'B': return SC::DOWN;
    case 'C': return SC::RIGHT;
    case 'D': return SC::LEFT;
    case 'H': return SC::HOME;
    case 'F': return SC::END;
    default: return 0;
    }
}

// Splits "a;b;c" into numbers; false when anything but digits and ';' appears.
bool numbers(const std::string& s, std::vector<int>& v) {
    v.assign(1, -1);
    for (char c : s) {
        if (c == ';') {
            v.push_back(-1);
        } else if (c >= '0' && c <= '9') {
            int& n = v.back();
            n = (n < 0 ? 0 : n) * 10 + (c - '0');
            if (n > 100000) return false;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

bool KeyDecoder::next(Event& ev) {
    if (out.empty()) return false;
    ev = std::move(out.front());
    out.pop_front();
    return true;
}

bool KeyDecoder::waiting() const { return state != State::GROUND && state != State::PASTE; }

void KeyDecoder::feed(const char* data, size_t n) {
    for (size_t i = 0; i < n; ++i) byte(static_cast<unsigned char>(data[i]));
}

void KeyDecoder::timeout() {
    switch (state) {
    case State::ESC: emit(keyChar(27)); break;
    case State::UTF8: dropUtf8(); break;
    case State::PASTE:
    case State::GROUND: return;
    default: break;  // an unfinished sequence is dropped
    }
    state = State::GROUND;
}

bool KeyDecoder::dropUtf8() {
    // 0xE3 alone is Alt-C from a terminal that sets the eighth bit for Alt ('c' | 0x80).
    bool altC = !alt && seq == "\xE3";
    if (altC) emit(keyExt(SC::ALT_C, MOD_ALT));
    state = State::GROUND;
    return altC;
}

void KeyDecoder::finishUtf8() {
    state = State::GROUND;
    std::string c = utf8ToCp737(seq);
    if (c.size() != 1 || c == "?") return;  // not a character of the code page
    uint8_t ch = static_cast<uint8_t>(c[0]);
    if (!alt) {
        emit(keyChar(ch));
    } else {
        static const std::string psi = utf8ToCp737("ψ"), PSI = utf8ToCp737("Ψ");
        if (c == psi || c == PSI) emit(keyExt(SC::ALT_C, MOD_ALT));  // the C key on the Greek layout
    }
}

void KeyDecoder::byte(unsigned char b) {
    switch (state) {
    case State::GROUND:
        if (b == 0x1B) {
            state = State::ESC;
        } else if (b == 0x0D || b == 0x0A) {
            emit(keyChar(13));
        } else if (b == 0x7F || b == 0x08) {
            emit(keyChar(8));
        } else if (b == 0) {
            // nothing: 0 would read as an extended key
        } else if (b < 0x80) {
            emit(keyChar(b));
        } else if (b >= 0xC2 && b <= 0xF4) {
            state = State::UTF8;
            seq.assign(1, char(b));
            utf8Need = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : 1;
            alt = false;
        }
        return;

    case State::ESC:
        state = State::GROUND;
        if (b == '[') {
            state = State::CSI;
            seq.clear();
            overflow = false;
        } else if (b == 'O') {
            state = State::SS3;
            seq.clear();
            overflow = false;
        } else if (b == 0x1B) {
            emit(keyChar(27));  // Esc pressed twice
            state = State::ESC;
        } else if ((b | 0x20) >= 'a' && (b | 0x20) <= 'z') {
            emit(keyExt(LETTER_SCAN[(b | 0x20) - 'a'], MOD_ALT));
        } else if (b >= '0' && b <= '9') {
            emit(keyExt(ALT_DIGIT_SCAN[b - '0'], MOD_ALT));
        } else if (b >= 0xC2 && b <= 0xF4) {
            state = State::UTF8;
            seq.assign(1, char(b));
            utf8Need = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : 1;
            alt = true;
        }
        // any other Alt chord means nothing here
        return;

    case State::CSI:
    case State::SS3:
        if (state == State::CSI && seq.empty() && !overflow && b == '[') {
            state = State::CSI_LINUX;
        } else if (b >= 0x20 && b <= 0x3F) {  // parameter and intermediate bytes
            if (seq.size() < MAX_SEQ) seq += char(b);
            else overflow = true;
        } else if (b >= 0x40 && b <= 0x7E) {
            State s = state;
            state = State::GROUND;
            if (!overflow) s == State::CSI ? csi(char(b)) : ss3(char(b));
        } else {
            // a broken sequence: drop it and read the byte afresh
            state = State::GROUND;
            byte(b);
        }
        return;

    case State::CSI_LINUX:  // ESC [ [ A..E: F1..F5 on the Linux console
        state = State::GROUND;
        if (b >= 'A' && b <= 'E') emit(keyExt(SC::F1 + (b - 'A')));
        else if (b < 0x20 || b > 0x7E) byte(b);
        return;

    case State::UTF8:
        if (b >= 0x80 && b <= 0xBF) {
            seq += char(b);
            if (seq.size() == utf8Need + 1) finishUtf8();
        } else {
            dropUtf8();
            byte(b);
        }
        return;

    case State::PASTE:
        paste += char(b);
        if (paste.size() >= PASTE_END.size() &&
            paste.compare(paste.size() - PASTE_END.size(), PASTE_END.size(), PASTE_END) == 0) {
            paste.resize(paste.size() - PASTE_END.size());
            emit(pasteText(utf8ToCp737(paste)));
            paste.clear();
            state = State::GROUND;
        }
        return;
    }
}

void KeyDecoder::csi(char f) {
    // SGR mouse: ESC [ < b ; x ; y M (press, drag) or m (release)
    if (!seq.empty() && seq[0] == '<') {
        std::vector<int> v;
        if ((f != 'M' && f != 'm') || !numbers(seq.substr(1), v) || v.size() != 3) return;
        int b = v[0], x = v[1], y = v[2];
        if (b < 0 || x < 1 || y < 1 || (b & 64)) return;  // wheel ignored
        static constexpr uint8_t BUTTON[4] = {MouseEvent::LEFT, MouseEvent::MIDDLE, MouseEvent::RIGHT, 0};
        uint8_t button = BUTTON[b & 3];
        if (!button) return;  // movement with no button held
        uint8_t action = (b & 32) ? MouseEvent::DRAG : f == 'M' ? MouseEvent::PRESS : MouseEvent::RELEASE;
        emit(mouse(action, button, x - 1, y - 1));
        return;
    }
    std::vector<int> v;
    if (!numbers(seq, v)) return;
    int code = v[0];
    uint8_t mods = v.size() >= 2 ? modsOf(v[1]) : 0;
    if (f == '~') {
        switch (code) {
        case 1: case 7: emit(keyExt(SC::HOME, mods)); return;
        case 2: emit(keyExt(SC::INS, mods)); return;
        case 3: emit(keyExt(SC::DEL, mods)); return;
        case 4: case 8: emit(keyExt(SC::END, mods)); return;
        case 5: emit(keyExt(SC::PGUP, mods)); return;
        case 6: emit(keyExt(SC::PGDN, mods)); return;
        case 200:
            state = State::PASTE;
            paste.clear();
            return;
        default: break;
        }
        // F1..F5 as 11..15, F6..F10 as 17..21; 23..34 are Shift-F1..F10 on the Linux console
        // (F11 and F12 elsewhere).
        static constexpr int FCODE[] = {11, 12, 13, 14, 15, 17, 18, 19, 20, 21};
        static constexpr int SFCODE[] = {23, 24, 25, 26, 28, 29, 31, 32, 33, 34};
        for (int n = 0; n < 10; ++n) {
            if (code == FCODE[n]) emit(fkey(n, mods));
            if (code == SFCODE[n]) emit(fkey(n, mods | MOD_SHIFT));
        }
        return;
    }
    if (code > 1) return;  // letters carry only "1;mods" or nothing
    if (f >= 'P' && f <= 'S') {
        emit(fkey(f - 'P', mods));
    } else if (uint8_t scan = letterScan(f)) {
        emit(keyExt(scan, mods));
    }
}

void KeyDecoder::ss3(char f) {
    std::vector<int> v;
    if (!numbers(seq, v)) return;
    // older xterms put the modifier right after O (ESC O 2 P); some send "1;2P"
    uint8_t mods = modsOf(v.back());
    if (f == 'M') {
        emit(keyChar(13));  // keypad Enter
    } else if (f >= 'P' && f <= 'S') {
        emit(fkey(f - 'P', mods));
    } else if (uint8_t scan = letterScan(f)) {
        emit(keyExt(scan, mods));
    }
}

}  // namespace PLAT
