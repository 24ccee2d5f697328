// The tax table: the company's 48 taxes and charges, held in UMAS::PTAX; its picker hands back
// the index of the chosen tax and lets the clerk adjust its rate on the spot.
#include <cstdio>

#include "codes/kvdi.h"
#include "codes/kvdi_screen.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace KVDI {

namespace {

bool percentKind(int k) {
    return k == 1 || k == 2 || (k >= 5 && k <= 10) || k == 12 || k == 17 || k == 18 || k == 20 || k == 21 ||
           (k >= 25 && k <= 28);
}
bool thousandthsKind(int k) {
    return k == 3 || k == 4 || k == 11 || (k >= 13 && k <= 16) || (k >= 22 && k <= 24) || k == 29 || k == 30;
}

std::string fixed(double v, int w, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%*.*f", w, decimals, v);
    return buf;
}

}  // namespace

namespace detail {

// The rate text cut before its first character that is not part of a number ("12.5a" -> "12.5").
// A text without any number stays as it is when it is blank and becomes empty otherwise.
std::string cutRate(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    const size_t start = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    }
    if (i == start) return blankOrEmpty(s) ? s : "";
    return s.substr(start, i - start);
}

// A tax's rate as the goods catalogue shows it: 8 characters by the base kind.
std::string rateText8(const RECTAX& t) {
    const double v = UMAS::EVAL(cutRate(t.PS));
    if (v == 0) return std::string(8, ' ');
    if (percentKind(t.EI)) return cut(fixed(v, 7, 2) + "%", 8);
    if (thousandthsKind(t.EI)) return cut(fixed(v, 7, 3) + " ", 8);
    return cut(t.PS, 8);
}

}  // namespace detail

void TAX(uint16_t& MEE, const std::string& TAXCODE, bool BL, uint8_t& KK, bool NOSTORE) {
    using namespace detail;
    openScreen(41, BL ? std::vector<int>{1, 2, 6, 7} : std::vector<int>{1, 2, 4, 7, 8});
    Screen s;
    s.BL = BL;
    s.XA = 18;
    s.LE = 44;
    s.pages = 4;
    s.list = "FOROI";
    s.title = PLAT::gr("ΦΟΡΟΙ & ΕΠΙΒΑΡΥΝΣΕΙΣ");
    s.f1InPicker = !NOSTORE;
    if (KK == 1) RUF(F_TAX.name, UMAS::PTAX.data(), UMAS::PTAX.size(), s.BO);

    std::vector<RECTAX> t(TAX_N + 1);
    for (int n = 1; n <= int(TAX_N); ++n) t[size_t(n)] = getTax(n);
    auto sync = [&] {
        for (int n = 1; n <= int(TAX_N); ++n) putTax(n, t[size_t(n)]);
    };
    for (int n = 1; n <= int(TAX_N); ++n)
        if (t[size_t(n)].KV == TAXCODE) {
            s.openOn(n);
            break;
        }

    auto noCode = [](const RECTAX& r) { return blankOrEmpty(r.KV); };
    auto showRate = [&](const RECTAX& r, int y) {
        const double v = UMAS::EVAL(r.PS);
        SCR::PRINT(42, y, v == 0 ? std::string(7, ' ') : fixed(v, 7, 2));
    };

    s.BOX = [&] {
        SCR::PRINT(59, 19, UMAS::RIJU(std::to_string(s.SL + 1), 2));
        for (int r = 0; r < 12; ++r) {
            RECTAX& x = t[size_t(s.SL * 12 + r + 1)];
            const int y = 7 + r;
            SCR::PRINT(20, y, padTo(x.KV, 3));
            if (noCode(x)) {
                x.FO = std::string(14, ' ');
                x.PS = std::string(7, ' ');
            }
            SCR::PRINT(26, y, padTo(x.FO, 14));
            x.PS = cutRate(x.PS);
            SCR::PRINT(50, y, " ");
            const double v = UMAS::EVAL(x.PS);
            std::string rate(7, ' ');
            if (v != 0 && percentKind(x.EI)) {
                rate = fixed(v, 7, 2);
                SCR::PRINT(50, y, "%");
            } else if (v != 0 && thousandthsKind(x.EI)) {
                rate = fixed(v, 7, 3);
            }
            SCR::PRINT(42, y, cut(rate, 7));
            SCR::PRINT(52, y, noCode(x) ? std::string(10, ' ') : padTo(EIDFOR(x.EI), 10));
        }
        sync();
    };

    // The rate of entry n on row y. Returns the exit code of the field editor; in picker mode
    // Enter hands the index back (true in handed).
    auto editRate = [&](int n, int y, bool& handed) {
        RECTAX& x = t[size_t(n)];
        for (;;) {
            x.PS = cutRate(x.PS);
            if (UMAS::EVAL(x.PS) == 0) x.PS = std::string(7, ' ');
            if (BL && x.EI >= 1 && x.EI <= 30) SCR::PRINT(50, y, percentKind(x.EI) ? "%" : " ");
            int K = 0;
            x.PS = SCR::GINPUT(42, y, 7, x.PS, "", SCR::soc("0123456789."), false, true, K);
            if (noCode(x)) x.PS = std::string(7, ' ');
            x.PS = cutRate(x.PS);
            showRate(x, y);
            sync();
            if (BL) {
                if (K == 0) {
                    MEE = uint16_t(n);
                    handed = true;
                    return K;
                }
                if (K == 1 || K == 2 || K == 3) return K;
            } else if (K <= 3) {
                return K;
            }
        }
    };

    s.pick = [&](int n) {
        bool handed = false;
        editRate(n, s.y(), handed);
        return handed;
    };
    s.edit = [&](int n) {
        RECTAX& x = t[size_t(n)];
        const int y = s.y();
        openRowEdit();
        bool handed = false;
        int step = 1;
        while (step != 0) {
            int K = 0;
            if (step == 1) {
                std::string c = SCR::GINPUT(20, y, 3, x.KV, "", SCR::soc("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"), false,
                                            true, K);
                x.KV = c;
                if (K == 0 || K == 2) step = 2;
                else if (K == 1 || K == 3) step = 0;
            } else if (step == 2) {
                if (x.FO.empty()) x.FO = std::string(14, ' ');
                x.FO = SCR::GINPUT(26, y, 14, x.FO, "", SCR::socAll(), false, true, K);
                if (noCode(x)) x.FO = std::string(14, ' ');
                SCR::PRINT(26, y, padTo(x.FO, 14));
                if (K == 0 || K == 2) step = 3;
                else if (K == 1) step = 1;
                else if (K == 3) step = 0;
            } else if (step == 3) {
                K = editRate(n, y, handed);
                if (handed) step = 0;
                else if (BL) step = 0;  // picker rules: Up, Down and Esc return to the rows
                else if (K == 0 || K == 2) step = 4;
                else if (K == 1) step = 2;
                else step = 0;
            } else {
                // The base kind: one key at a time, Left and Right step through 1..30.
                PLAT::Console& c = PLAT::con();
                c.gotoXY(52, y);
                SCR::CURSOR(true);
                PLAT::KeyEvent k = c.readKey();
                using namespace PLAT;
                if (k.extended() && (k.scan == SC::LEFT || k.scan == SC::RIGHT)) {
                    if (noCode(x)) {
                        SCR::PRINT(52, y, std::string(10, ' '));
                    } else {
                        if (x.EI > 30) x.EI = 0;
                        if (k.scan == SC::LEFT) x.EI = x.EI <= 1 ? 30 : uint8_t(x.EI - 1);
                        else x.EI = x.EI >= 30 || x.EI == 0 ? 1 : uint8_t(x.EI + 1);
                        SCR::PRINT(52, y, padTo(EIDFOR(x.EI), 10));
                        sync();
                    }
                } else if (k.extended() && (k.scan == SC::UP || k.scan == SC::PGUP)) {
                    step = 2;
                } else if ((k.extended() && (k.scan == SC::DOWN || k.scan == SC::PGDN)) || k.ch == 13 || k.ch == 27) {
                    step = 0;
                }
                SCR::CURSOR(false);
            }
        }
        sync();
        closeRowEdit();
        return handed;
    };
    s.blank = [&](int n) {
        t[size_t(n)] = RECTAX{};
        sync();
        return true;
    };
    s.store = [&] {
        sync();
        KAT(F_TAX.name, UMAS::PTAX.data(), UMAS::PTAX.size(), s.BO);
    };
    s.listPick = [&](const GENCOD::BUF&) { return false; };
    s.listFill = [&](int n, const GENCOD::BUF& b) {
        t[size_t(n)].KV = cut(b.SCODE, 3);
        t[size_t(n)].FO = cut(b.SNAME, 14);
        sync();
    };
    const uint8_t k = s.run();
    sync();
    if (BL) KK = k;
    closeScreen();
}

}  // namespace KVDI
