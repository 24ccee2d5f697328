// SCR: showing masks, the screen stack, writing texts and the cursor.
// Every routine writes into the console's cell buffer and refreshes the console once.
#include "screen/scr.h"

#include <algorithm>
#include <array>

#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/winclip.h"

namespace SCR {

std::vector<UMAS::CONV> STACK;
std::string RESTCLIP;

namespace {

// Saves refused because the stack was full. Each such CALLM is still undone by one RECALL, which
// then has nothing to restore, so the stack stays paired with the screens above the limit.
int unsavedPushes = 0;

// A mask can be shown when its corners lie within the 80 x 25 screen and its cells are all there.
bool fits(const UMAS::CONV* M) {
    if (!M || M->raw.size() < 8) return false;
    const int x1 = M->X1(), y1 = M->Y1(), x2 = M->X2(), y2 = M->Y2();
    if (x1 < 1 || y1 < 1 || x2 < x1 || y2 < y1 || x2 > PLAT::SCREEN_W || y2 > PLAT::SCREEN_H) return false;
    return M->raw.size() >= size_t(8 + 2 * (x2 - x1 + 1) * (y2 - y1 + 1));
}

}  // namespace

void CALLM(const UMAS::CONV* NM, bool B) {
    if (!fits(NM)) return;
    PUSCR(NM, B);
}

void CALLM(int n, bool B) { CALLM(UMAS::mask(n), B); }

void PUSCR(const UMAS::CONV* M, bool B) {
    if (!fits(M)) return;
    PLAT::Console& c = PLAT::con();
    const int x1 = M->X1(), y1 = M->Y1(), w = M->W(), h = M->H();
    UMAS::CONV* saved = nullptr;
    if (B) {
        if (int(STACK.size()) < STACK_MAX) {
            STACK.push_back(UMAS::CONV::make(x1, y1, M->X2(), M->Y2()));
            saved = &STACK.back();
        } else {
            ++unsavedPushes;
        }
    }
    const uint8_t* src = M->cells();
    for (int y = 0; y < h; ++y) {
        PLAT::Cell* row = &c.cells[y1 - 1 + y][x1 - 1];
        for (int x = 0; x < w; ++x) {
            if (saved) {
                saved->ch(x, y) = row[x].ch;
                saved->at(x, y) = row[x].at;
            }
            row[x].ch = src[2 * (y * w + x)];
            row[x].at = src[2 * (y * w + x) + 1];
        }
    }
    c.refresh();
}

void RECALL() {
    if (unsavedPushes > 0) {
        --unsavedPushes;
        return;
    }
    if (STACK.empty()) return;
    PUSCR(&STACK.back(), false);
    STACK.pop_back();
}

void SAVE(int X1, int Y1, int X2, int Y2) {
    UMAS::CONV m = UMAS::CONV::make(X1, Y1, X2, Y2);
    if (!fits(&m)) return;
    const PLAT::Console& c = PLAT::con();
    for (int y = 0; y < m.H(); ++y)
        for (int x = 0; x < m.W(); ++x) {
            m.ch(x, y) = c.cells[size_t(Y1 - 1 + y)][size_t(X1 - 1 + x)].ch;
            m.at(x, y) = c.cells[size_t(Y1 - 1 + y)][size_t(X1 - 1 + x)].at;
        }
    PUSCR(&m, true);
}

void PRINT(int X, int Y, const std::string& S) {
    PLAT::Console& c = PLAT::con();
    if (Y >= 1 && Y <= PLAT::SCREEN_H) {
        for (size_t i = 0; i < S.size(); ++i) {
            const long x = long(X) + long(i);
            if (x > PLAT::SCREEN_W) break;
            if (x >= 1) c.cells[Y - 1][x - 1].ch = uint8_t(S[i]);
        }
    }
    c.refresh();
}

void CURSOR(bool B) {
    PLAT::con().showCursor(B);
    PLAT::con().refresh();
}

SOC soc(const std::string& chars) {
    SOC s;
    for (char ch : chars) s.set(uint8_t(ch));
    return s;
}

SOC socRange(uint8_t from, uint8_t to) {
    SOC s;
    for (int ch = from; ch <= to; ++ch) s.set(size_t(ch));
    return s;
}

SOC socDigits() { return socRange('0', '9'); }

SOC socAll() { return socRange(32, 255); }

SOC socGreekAccented() { return socRange(0xE1, 0xF0) | socRange(0xF4, 0xF5); }

}  // namespace SCR

// The one-line field editor, its clipboard paste and the Windows Greek to code page 737 table.
namespace SCR {

namespace {

// Windows-1253 bytes 0x80..0xFF in code page 737: the Greek letters, the accented capitals and
// Ϊ, Ϋ as their true letters, the signs code page 737 also has; "?" for what it cannot hold.
std::array<uint8_t, 128> makeIso437() {
    std::array<uint8_t, 128> t{};
    for (int c = 0x80; c <= 0xFF; ++c) {
        std::string s = PLAT::cp1253ToCp737(std::string(1, char(c)));
        t[size_t(c - 0x80)] = s.size() == 1 ? uint8_t(s[0]) : uint8_t('?');
    }
    return t;
}

// The system clipboard's text in code page 737 (empty when it holds no text). Only its first 255
// characters count. On this platform opening the clipboard does not fail, so the paste always
// starts by emptying RESTCLIP.
std::optional<std::string> clipboardText() {
    std::string p;
    int32_t n = 0;
    std::string t;
    if (WINCLIP::GETTEXTWINCLIPBOARDDATA(p, n) && n > 0) {
        p.resize(size_t(n - 1));  // without its terminating zero
        t = PLAT::utf8ToCp737(p);
    }
    if (t.size() > 255) t.resize(255);
    return t;
}

bool isBreak(uint8_t c) { return c == 13 || c == 10 || c == 0; }

// A function key with Shift, Ctrl or Alt as its own scan code.
uint8_t withMods(uint8_t scan, uint8_t mods) {
    using namespace PLAT;
    if (scan >= SC::F1 && scan <= SC::F10) {
        int i = scan - SC::F1;
        if (mods & MOD_ALT) return uint8_t(SC::AF1 + i);
        if (mods & MOD_CTRL) return uint8_t(SC::CF1 + i);
        if (mods & MOD_SHIFT) return uint8_t(SC::SF1 + i);
    }
    return scan;
}

// The exit code of an extended key that ends the input, or -1.
int exitCode(uint8_t scan) {
    using namespace PLAT;
    switch (scan) {
    case SC::UP: return 1;
    case SC::DOWN: return 2;
    case SC::PGUP: return 4;
    case SC::PGDN: return 5;
    case SC::F1: return 7;
    case SC::F2: return 8;
    case SC::F3: return 9;
    case SC::F4: return 10;
    case SC::F5: return 11;
    case SC::F6: return 12;
    case SC::F7: return 13;
    case SC::SF1: return 14;
    case SC::F10: return 16;
    case SC::SF2: return 17;
    case SC::SF3: return 18;
    case SC::SF4: return 19;
    case SC::ALT_C: return 20;
    case SC::SF10: return 21;
    case SC::SF9: return 22;
    case SC::F8: return 23;
    case SC::F9: return 24;
    case SC::SF8: return 25;
    case SC::AF2: return 29;
    case SC::CF2: return 30;
    case SC::AF3: return 31;
    case SC::CF3: return 32;
    case SC::AF1: return 33;
    default: return -1;
    }
}

// BIOS scan codes of Ctrl-Ins and Alt-Ins.
constexpr uint8_t CTRL_INS = 146, ALT_INS = 162;

}  // namespace

uint8_t ISO437(uint8_t C) {
    if (C < 0x80) return C;
    static const std::array<uint8_t, 128> table = makeIso437();
    return table[size_t(C - 0x80)];
}

bool PASTEBELL = false;

std::string PASTEABLE(const std::string& T, const SOC& SC, bool& refused) {
    std::string r;
    r.reserve(T.size());
    for (char ch : T) {
        uint8_t c = uint8_t(ch);
        if (isBreak(c)) {
            r += ch;
            continue;
        }
        if (c == ',' && SC.test('.') && !SC.test(',')) c = '.';
        if (SC.test(c))
            r += char(c);
        else
            refused = true;
    }
    return r;
}

bool GETCLIP(int XX, int Y, int L, int X, int& LL, std::string& cells, const std::optional<std::string>& T,
             const SOC& SC) {
    if (!T) return false;
    RESTCLIP.clear();
    PASTEBELL = false;
    if (T->empty()) return false;
    PLAT::Console& c = PLAT::con();
    // The part that goes into this field is held to its characters; the rest is the next boxes'.
    std::string t = T->substr(0, 255);
    size_t brk = 0;
    while (brk < t.size() && !isBreak(uint8_t(t[brk]))) ++brk;
    bool refused = false;
    const std::string field = PASTEABLE(t.substr(0, brk), SC, refused);
    if (refused) {
        c.bell();
        PASTEBELL = true;
        if (field.empty()) {  // nothing of it is taken here: the field stays as it was
            size_t i = brk;
            while (i < t.size() && isBreak(uint8_t(t[i]))) ++i;
            RESTCLIP = t.substr(i);
            return !RESTCLIP.empty();
        }
    }
    t = field + t.substr(brk);
    const int at = X - XX;
    const int room = L - at;
    size_t i = 0;
    int P = 0;
    while (P < room && i < t.size() && !isBreak(uint8_t(t[i]))) {
        cells[size_t(at + P)] = t[i];
        c.cells[Y - 1][X + P - 1].ch = uint8_t(t[i]);
        ++P;
        ++i;
    }
    LL = at + P;
    // What stood after the pasted part is no longer text: it shows the fill like any free cell.
    for (int k = LL; k < L; ++k) {
        cells[size_t(k)] = '.';
        c.cells[Y - 1][XX + k - 1].ch = '.';
    }
    while (i < t.size() && isBreak(uint8_t(t[i]))) ++i;
    RESTCLIP = t.substr(i);
    return !RESTCLIP.empty();
}

std::string GINPUT(int XX, int Y, int L, const std::string& S, const std::string& SS, const SOC& SC, bool B1,
                   bool B2, int& K) {
    (void)SS;
    (void)B1;
    (void)B2;
    PLAT::Console& c = PLAT::con();
    XX = std::clamp(XX, 1, PLAT::SCREEN_W);
    Y = std::clamp(Y, 1, PLAT::SCREEN_H);
    L = std::clamp(L, 0, PLAT::SCREEN_W - XX + 1);

    const std::string initial = S.substr(0, size_t(L));
    int LL = int(initial.size());
    int X = XX;
    bool insert = false;

    // The field's characters as the editor keeps them, in step with the screen.
    std::string cells(size_t(L), '.');
    std::copy(initial.begin(), initial.end(), cells.begin());
    auto show = [&](int from) {
        for (int k = from; k < L; ++k) c.cells[Y - 1][XX + k - 1].ch = uint8_t(cells[size_t(k)]);
    };
    show(0);
    c.showCursor(true);

    auto removeAt = [&](int pos) {  // pos: index in the text, < LL
        cells.erase(size_t(pos), 1);
        cells.push_back('.');
        --LL;
        show(pos);
    };
    auto paste = [&](const std::optional<std::string>& T) { return GETCLIP(XX, Y, L, X, LL, cells, T, SC); };

    K = -1;
    bool changed = true;
    while (K < 0) {
        c.gotoXY(X, Y);
        if (changed) c.refresh();
        changed = false;
        PLAT::Event ev;
        if (!c.poll(ev)) {
            c.idle(20);
            continue;
        }
        changed = true;
        if (ev.type == PLAT::Event::MOUSE) {
            const PLAT::MouseEvent& m = ev.mouse;
            if (m.action != PLAT::MouseEvent::PRESS) continue;
            const int mx = m.x + 1, my = m.y + 1;
            const bool onField = my == Y && mx >= XX && mx <= XX + L;
            if (m.button == PLAT::MouseEvent::LEFT) {
                if (onField)
                    X = mx < XX + LL ? mx : XX + LL;
                else
                    K = 100;
            } else if (m.button == PLAT::MouseEvent::RIGHT && onField) {
                K = 6;
            }
            continue;
        }
        if (ev.type == PLAT::Event::PASTE) {
            if (paste(ev.paste)) K = 99;
            continue;
        }
        if (ev.type != PLAT::Event::KEY) continue;

        const PLAT::KeyEvent& k = ev.key;
        if (k.extended()) {
            const uint8_t scan = withMods(k.scan, k.mods);
            int code = exitCode(scan);
            if (code >= 0) {
                K = code;
                continue;
            }
            switch (scan) {
            case PLAT::SC::HOME: X = XX; break;
            case PLAT::SC::END: X = XX + LL; break;
            case PLAT::SC::LEFT:
                if (X > XX) --X;
                break;
            case PLAT::SC::RIGHT:
                if (X < XX + LL) ++X;
                break;
            case PLAT::SC::DEL:
                if (X < XX + LL) removeAt(X - XX);
                break;
            case PLAT::SC::INS:
                if (k.mods & (PLAT::MOD_SHIFT | PLAT::MOD_CTRL | PLAT::MOD_ALT)) {
                    if (paste(clipboardText())) K = 99;
                } else {
                    insert = !insert;
                }
                break;
            case CTRL_INS:
            case ALT_INS:
                if (paste(clipboardText())) K = 99;
                break;
            default: break;
            }
            continue;
        }

        uint8_t ch = k.ch;
        // The keypad's decimal key arrives as a comma: in a field that takes "." but not ",", it is ".".
        if (ch == ',' && SC.test('.') && !SC.test(',')) ch = '.';
        switch (ch) {
        case 13: K = 0; continue;
        case 9:
        case 2: K = 6; continue;
        case 27: K = 3; continue;
        case 8:
            if (X > XX) {
                --X;
                removeAt(X - XX);
            }
            continue;
        case 22:
            if (paste(clipboardText())) K = 99;
            continue;
        case 25:
        case 26:
            LL = 0;
            X = XX;
            std::fill(cells.begin(), cells.end(), '.');
            show(0);
            continue;
        case 1: continue;
        default: break;
        }
        if (X >= XX + L) continue;
        if (!SC.test(ch)) {
            c.bell();
            continue;
        }
        const int pos = X - XX;
        if (insert) {
            if (LL >= L) continue;
            cells.insert(cells.begin() + pos, char(ch));
            cells.pop_back();
            ++LL;
            show(pos);
            ++X;
        } else {
            cells[size_t(pos)] = char(ch);
            show(pos);
            ++X;
            if (X - XX > LL) LL = X - XX;
        }
    }

    // End: the free cells after the text become blanks.
    c.showCursor(false);
    for (int k = LL; k < L; ++k) c.cells[Y - 1][XX + k - 1].ch = ' ';
    c.showCursor(true);
    c.refresh();
    if (K == 3) return initial;
    return cells.substr(0, size_t(LL));
}

}  // namespace SCR
