// SCR: showing masks, the screen stack, writing texts and the cursor.
// Every routine writes into the console's cell buffer and refreshes the console once.
#include "screen/scr.h"

#include "platform/console.h"

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

}  // namespace SCR
