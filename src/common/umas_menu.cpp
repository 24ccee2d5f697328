// The menu driver, the key legend, the attribute painter and the print-settings dialog.
#include <algorithm>
#include <cmath>

#include "common/umas.h"
#include "platform/console.h"
#include "platform/files.h"
#include "screen/scr.h"

namespace UMAS {

void ATR(int COLUMN, int LINE, int LEN, uint8_t AT) {
    if (LINE >= 1 && LINE <= PLAT::SCREEN_H) {
        for (int x = COLUMN; x < COLUMN + LEN && x <= PLAT::SCREEN_W; ++x)
            if (x >= 1) (*CRP)[LINE - 1][x - 1].at = AT;
    }
    SCR::CURSOR(false);
}

void FKEY(const std::vector<int>& SE, const FUN& P) {
    int J = 1;
    auto put = [&](uint8_t ch, uint8_t at) {
        if (J <= PLAT::SCREEN_W) (*CRP)[PLAT::SCREEN_H - 1][J - 1] = PLAT::Cell{ch, at};
        ++J;
    };
    for (int i = 1; i <= 10; ++i) {
        if (std::find(SE.begin(), SE.end(), i) == SE.end()) continue;
        const std::string& S = P[i];
        size_t dot = S.find('.');
        size_t keyEnd = dot == std::string::npos ? S.size() : dot;
        for (size_t k = 0; k < keyEnd; ++k) put(uint8_t(S[k]), 11);
        if (dot != std::string::npos) {
            put(26, 3);
            for (size_t k = dot + 1; k < S.size(); ++k) put(uint8_t(S[k]), 3);
        }
        put(' ', 3);
    }
}

namespace {

// One call of the menu driver: the grid and the current item.
struct Menu {
    uint8_t normal;
    int XA, XO, YA, YO, LE, ML, MC, MS;
    int &LI, &CO, &SE;

    int barX() const { return XA + CO * XO; }
    int barY() const { return YA + LI * YO; }
    void paint(uint8_t at) const { ATR(barX(), barY(), LE, at); }
    void off() const { paint(normal); }
    void on() const { paint(0x70); }
    void moveTo(int li, int co) {
        off();
        LI = li;
        CO = co;
        on();
    }
    // The item under a 1-based screen position, when it lies inside the grid.
    bool itemAt(int x, int y, int& li, int& co) const {
        int x2 = XA + MC * XO + LE - 1, y2 = YA + ML * YO;
        if (x < XA || x > x2 || y < YA || y > y2) return false;
        li = YO == 0 ? LI : (y - YA) / YO;
        co = XO == 0 ? CO : (x - XA) / XO;
        li = std::clamp(li, 0, ML);
        co = std::clamp(co, 0, MC);
        return true;
    }
};

}  // namespace

void EPIL(uint8_t BG, uint8_t FG, int XA, int XO, int YA, int YO, int LE, int ML, int MC, int MS, int& LI,
          int& CO, int& SE, int& KK, int PAR_EKT_ENTYPOY) {
    Menu m{uint8_t(BG * 16 + FG), XA, XO, YA, YO, LE, ML, MC, MS, LI, CO, SE};
    SCR::CURSOR(false);
    m.off();
    if (KK == 32) return;
    m.on();

    int firstDigit = -1;
    bool pressedOnCurrent = false;
    PLAT::Console& c = PLAT::con();
    for (;;) {
        PLAT::Event ev;
        if (!c.poll(ev)) {
            c.idle(20);
            continue;
        }
        if (ev.type == PLAT::Event::MOUSE) {
            const PLAT::MouseEvent& me = ev.mouse;
            bool press = me.action == PLAT::MouseEvent::PRESS;
            bool drag = me.action == PLAT::MouseEvent::DRAG;
            if (me.button != PLAT::MouseEvent::LEFT || !(press || drag)) continue;
            int li, co;
            if (!m.itemAt(me.x + 1, me.y + 1, li, co)) continue;
            if (li != LI || co != CO) {
                m.moveTo(li, co);
                pressedOnCurrent = false;
            }
            if (pressedOnCurrent && press) {
                KK = 0;
                return;
            }
            pressedOnCurrent = true;
            continue;
        }
        if (ev.type != PLAT::Event::KEY) continue;
        const PLAT::KeyEvent& k = ev.key;
        if (!k.extended()) {
            uint8_t ch = k.ch;
            if (ch >= '0' && ch <= '9') {
                int d = ch - '0';
                if (ML <= 8) {
                    if (d >= 1 && d <= ML + 1) {
                        m.moveTo(d - 1, CO);
                        KK = 0;
                        return;
                    }
                } else if (firstDigit < 0) {
                    firstDigit = d;
                } else {
                    int n = firstDigit * 10 + d;
                    firstDigit = -1;
                    if (n >= 1 && n <= ML + 1) {
                        m.moveTo(n - 1, CO);
                        KK = 0;
                        return;
                    }
                }
                continue;
            }
            switch (ch) {
            case 9: KK = 30; return;
            case 13: KK = 0; return;
            case ' ': KK = 20; return;
            case 27: m.off(); KK = 3; return;
            default: continue;
            }
        }
        switch (k.scan) {
        case PLAT::SC::F1:
            if (k.mods & PLAT::MOD_SHIFT) { KK = 14; return; }
            if (k.mods) continue;
            if (PAR_EKT_ENTYPOY != 0) EPIL_GETPARAMS(PAR_EKT_ENTYPOY);
            KK = 7;
            return;
        case PLAT::SC::SF1: KK = 14; return;
        case PLAT::SC::F2: case PLAT::SC::F3: case PLAT::SC::F4: case PLAT::SC::F5: case PLAT::SC::F6:
        case PLAT::SC::F7:
            if (k.mods) continue;
            KK = 8 + (k.scan - PLAT::SC::F2);
            return;
        case PLAT::SC::END: KK = 6; return;
        case PLAT::SC::F10:
            if (k.mods) continue;
            m.off();
            KK = 16;
            return;
        case PLAT::SC::UP:
            m.off();
            ARDEX = false;
            if (LI > 0) LI--;
            else if (CO > 0) { CO--; LI = ML; }
            else if (SE > 0) { SE--; LI = ML; CO = MC; KK = 4; return; }
            m.on();
            KK = 1;
            return;
        case PLAT::SC::DOWN:
            m.off();
            ARDEX = false;
            if (LI < ML) LI++;
            else if (CO < MC) { CO++; LI = 0; }
            else if (SE < MS) { SE++; LI = 0; CO = 0; KK = 5; return; }
            m.on();
            KK = 2;
            return;
        case PLAT::SC::LEFT:
            m.off();
            CO = CO == 0 ? MC : CO - 1;
            m.on();
            ARDEX = true;
            KK = 1;
            return;
        case PLAT::SC::RIGHT:
            m.off();
            CO = CO == MC ? 0 : CO + 1;
            m.on();
            ARDEX = true;
            KK = 2;
            return;
        case PLAT::SC::PGUP:
            if (SE > 0) SE--;
            KK = 4;
            return;
        case PLAT::SC::PGDN:
            if (SE < MS) SE++;
            KK = 5;
            return;
        default: continue;
        }
    }
}

void EPIL_GETPARAMS(int formId) {
    // PAR_EKT: page length, horizontal offset, vertical offset, port, emulation (5 bytes).
    const std::string fn = "ETC\\pare" + USER_ID + "." + std::to_string(formId);
    uint8_t pe[5] = {66, 0, 0, 0, 0};
    {
        PLAT::File file;
        if (file.open(fn, PLAT::File::READ, false)) {
            if (file.size() >= 5) file.readAt(0, pe, 5);
        } else {
            file.open(fn, PLAT::File::CREATE);
            file.writeAt(0, pe, 5);
        }
    }
    struct Field { int x, y, w; };
    const Field f[5] = {{56, 7, 2}, {56, 9, 2}, {56, 11, 2}, {56, 15, 1}, {56, 19, 1}};
    auto show = [&](int i) { SCR::PRINT(f[i].x, f[i].y, LEJU(std::to_string(pe[i]), f[i].w)); };
    SCR::CALLM(90, true);
    for (int i = 0; i < 5; ++i) show(i);
    int i = 0;
    for (;;) {
        int K = 0;
        std::string s = SCR::GINPUT(f[i].x, f[i].y, f[i].w, std::to_string(pe[i]), "", SCR::socDigits(), false, true, K);
        pe[i] = uint8_t(std::clamp(std::lround(EVAL(s)), 0L, 255L));
        show(i);
        if (K == 3) break;
        if (K == 0) {
            i = (i + 1) % 5;
        } else if (K == 7) {
            PLAT::File file(fn, PLAT::File::READWRITE);
            file.writeAt(0, pe, 5);
            PLAT::con().bell();
        }
    }
    SCR::RECALL();
}

}  // namespace UMAS
