// APODI: the receipt book screen (collection and payment receipts).
#include <functional>

#include "config/params.h"
#include "customers/pelat.h"
#include "invoicing/apod0.h"
#include "invoicing/apodi.h"
#include "invoicing/priapod.h"
#include "invoicing/tim.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace APODI {

namespace {

using UMAS::padTo;
using UMAS::trim;

constexpr int X = 32;  // the column of every field
enum Key { ENTER = 0, UP = 1, DOWN = 2, ESC = 3, TAB = 6, F1 = 7, F5 = 11, SHIFT_F1 = 14, ALT_C = 20 };

// The lookup's alphabet without the digits: the successor of a name's last letter.
const std::string& PAB() {
    static const std::string s = PLAT::gr(" ΑAΒBVΓGΔDΕEΖZΗΘΙIΚKCQΛLΜMΝNΞXΟOΠPΡRΣSΤTΥYΦFΧHΨΩJUW/-.&");
    return s;
}
char successor(char c) {
    const size_t p = PAB().find(c);
    if (p == std::string::npos || p + 1 >= PAB().size()) return ' ';
    return PAB()[p + 1];
}

const SCR::SOC& nameChars() {
    static const SCR::SOC s = [] {
        SCR::SOC r;
        for (int c = 0; c < 256; ++c)
            if (SAB(uint8_t(c))) r.set(size_t(c));
        return r;
    }();
    return s;
}

bool blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

struct Screen {
    APOD0::APODS a;
    int field = 1;
    bool leave = false;

    explicit Screen(bool bbb) : a(bbb) {}

    // The question whether to store the changed receipt (the excise question owns mask 53).
    static constexpr int STOREQ = 112;

    // A question mask and the yes/no answer at (x, 23).
    static bool ask(int mask, int x) {
        const int before = SCR::STACKPOINTER();
        SCR::CALLM(mask, true);
        const bool shown = SCR::STACKPOINTER() != before;
        const bool yes = PRNS::YES(x, 23);
        if (shown) SCR::RECALL();
        return yes;
    }

    void weekday() {
        const std::string h = padTo(a.HM, 6);
        const int d = UMAS::S2LO(h.substr(0, 2)), m = UMAS::S2LO(h.substr(2, 2));
        std::string w = "  ";
        if (h.find(' ') == std::string::npos && m >= 1 && m <= 12 && d >= 1 && d <= 31) {
            int y = UMAS::S2LO(h.substr(4, 2));
            y += y < 90 ? 2000 : 1900;
            w = UMAS::WE[size_t(PLAT::weekday(y, m, d))];
        }
        SCR::PRINT(39, 8, padTo(w, 2));
    }
    void customer() {
        SCR::PRINT(X, 10, padTo(EA, 30));
        SCR::PRINT(X, 11, padTo(DI, 40));
        SCR::PRINT(X, 12, padTo(PO, 20));
        SCR::PRINT(X, 13, padTo(AF, 10));
    }
    void BOX() {
        SCR::PRINT(X, 7, padTo(a.KV, 5));
        SCR::PRINT(X, 8, padTo(a.HM, 6));
        weekday();
        SCR::PRINT(X, 9, padTo(a.KD, 10));
        customer();
        SCR::PRINT(X, 14, padTo(a.PS, 9));
        SCR::PRINT(X, 15, padTo(a.AI, 30));
    }

    // The name on the form must be the current customer's: a name typed and not looked up is looked
    // up before the receipt is stored.
    void lookupTypedName() {
        EA = FOLDNAME(EA);
        if (EA == BON || (PR == a.AP.PR && EA == padTo(a.AP.EA, 30))) return;
        CHEP();
        if (PR != APOD0::NONE) BON = EA;
        customer();
    }
    void store() {
        lookupTypedName();
        a.KTT();
        BOX();
    }
    void print() { PRIAPOD::PRINTAPOD(&a.AP, a.BBB); }
    void del(int stay) {
        a.DIAG();
        BOX();
        field = PR == APOD0::NONE ? 1 : stay;
    }
    // The form is changed and has a customer: leaving or taking another number would lose it.
    bool unsaved() {
        a.SPAC();
        return PR != APOD0::NONE && !blank(EA) && a.ALLA();
    }
    // Leaving: a changed form with a customer is offered for storing; when the store is refused the
    // screen is not left.
    void quit() {
        if (unsaved() && ask(STOREQ, 30)) {
            store();
            if (unsaved()) return;
        }
        leave = true;
    }

    // The key table of fields 1, 2, 3, 5 and 6 once the field is taken.
    void keys(int K) {
        switch (K) {
            case ENTER:
            case DOWN: field = field == 6 ? 6 : field + 1; break;
            case UP:
                if (field > 1) --field;
                break;
            case F1:
                if (field > 1) {
                    store();
                    field = 1;
                }
                break;
            case F5: del(field); break;
            case SHIFT_F1:
                print();
                field = 4;
                break;
            case ESC: quit(); break;
            default: break;
        }
    }

    std::string input(int y, int len, const std::string& text, const SCR::SOC& soc, int& K, bool hint = false) {
        const int before = SCR::STACKPOINTER();
        if (hint) SCR::CALLM(20, true);
        std::string t = SCR::GINPUT(X, y, len, padTo(text, size_t(len)), "", soc, false, true, K);
        if (hint && SCR::STACKPOINTER() != before) SCR::RECALL();
        return t;
    }
    // Alt-C: the calculator's result becomes the field's text.
    static std::string calc() {
        std::string r;
        PARAMS::CALC(r);
        return r;
    }

    void number() {
        std::string t = a.KV;
        for (;;) {
            int K = 0;
            t = trim(input(7, 5, t, SCR::socDigits(), K, true));
            if (K == ESC) return quit();
            if (K == TAB) {
                t = std::to_string(a.GETARA());
                continue;
            }
            if (K == ALT_C) {
                t = calc();
                continue;
            }
            // Numbers above 64999 cannot be typed.
            if (t.size() == 5 && (t[0] >= '7' || (t[0] == '6' && t[1] >= '5'))) {
                PLAT::con().bell();
                continue;
            }
            a.KV = t;
            if (t.empty()) continue;
            if (K != ENTER && K != DOWN) return keys(K);
            if (a.KV != a.BKV) {
                if (UMAS::ELDI(a.BKV, a.KV, "NUAP", 5)) {
                    a.KV = a.BKV;
                    t = a.KV;
                    continue;
                }
                if (!a.BKV.empty() && unsaved() && ask(STOREQ, 30)) {
                    store();
                    if (unsaved()) {
                        // The store was refused: the form stays with its own number, claimed again.
                        if (UMAS::ELDI(a.KV, a.BKV, "NUAP", 5)) UMAS::MHNU(a.KV, "NUAP", 5);
                        a.KV = a.BKV;
                        t = a.KV;
                        continue;
                    }
                }
                const std::string typed = a.KV;
                a.CHO();
                if (BOO) {
                    bool zb = false;
                    a.RUF(zb);
                    if (zb) {
                        // The form is cleared: it holds no receipt and claims no number.
                        UMAS::MHNU(typed, "NUAP", 5);
                        a.KV.clear();
                        a.BKV.clear();
                        BOX();
                        t = typed;
                        continue;
                    }
                    BON.clear();
                } else {
                    a.CLLS();
                }
                BOX();
            }
            a.BKV = a.KV;
            return keys(K);
        }
    }

    void date() {
        std::string t = a.HM;
        for (;;) {
            int K = 0;
            t = trim(input(8, 6, t, SCR::socDigits(), K));
            if (K == ESC) return quit();
            if (K == ALT_C) {
                t = calc();
                continue;
            }
            const PLAT::DateTime now = PLAT::now();
            if (t.empty()) {
                PLAT::con().bell();
                continue;
            }
            if (t.size() == 1) t = "0" + t;
            if (t.size() == 2) t += std::to_string(now.month);
            if (t.size() == 3) t = t.substr(0, 2) + "0" + t.substr(2);
            if (t.size() == 4) t += UMAS::LZ(std::to_string(now.year % 100), 2);
            if (t.size() == 5) {
                PLAT::con().bell();
                continue;
            }
            SCR::PRINT(X, 8, t);
            const int d = UMAS::S2LO(t.substr(0, 2)), m = UMAS::S2LO(t.substr(2, 2));
            int y = (now.year / 100) * 100 + UMAS::S2LO(t.substr(4, 2));
            if (y > 2088) y -= 100;
            if (y < 1921) y += 100;
            if (m < 1 || m > 12 || d < 1 || d > 31 || y < 1990 || y > 2049) {
                PLAT::con().bell();
                continue;
            }
            a.HM = t;
            weekday();
            return keys(K);
        }
    }

    // Fields 3, 5 and 6: taken as typed.
    void plain(std::string& value, int y, int len, const SCR::SOC& soc) {
        std::string t = value;
        for (;;) {
            int K = 0;
            t = input(y, len, t, soc, K);
            if (K == ESC) return quit();
            if (K == ALT_C) {
                t = calc();
                continue;
            }
            value = len == 30 ? UMAS::CUTLEADSPACES(t) : trim(t);
            return keys(K);
        }
    }

    void name() {
        for (;;) {
            int K = 0;
            const std::string typed = input(10, 30, EA, nameChars(), K, true);
            if (K == ESC) return quit();
            EA = FOLDNAME(typed);
            if (K == ENTER || K == DOWN || K == TAB || K == F1) {
                if (EA[0] == '&' || EA[0] == '-' || EA[0] == '.' || EA[0] == '/') {
                    PLAT::con().bell();
                    continue;
                }
            }
            switch (K) {
                case DOWN:
                    if (EA == BON) {
                        EAR = EA;
                        if (EAR[29] == '&')
                            EAR[28] = successor(EAR[28]);
                        else
                            EAR[29] = successor(EAR[29]);
                        EA = EAR;
                        CHEP();
                        BON = EA;
                        customer();
                        continue;
                    }
                    [[fallthrough]];
                case ENTER:
                    if (EA == BON && K == ENTER) {
                        field = 5;
                        return;
                    }
                    CHEP();
                    BON = EA;
                    customer();
                    continue;
                case TAB: {
                    uint16_t pr = APOD0::NONE;
                    ARP0::RR0 r;
                    PELAT::ALPHAPEL(EA, 0, pr, &r);
                    if (pr == APOD0::NONE) continue;
                    PR = pr;
                    EA = padTo(r.EA, 30);
                    DI = padTo(r.DI, 40);
                    PO = padTo(r.PO, 20);
                    AF = padTo(r.AF, 10);
                    TH1 = r.TH[0];
                    ON = r.ON;
                    EG = r.EP;
                    EF = r.EF;
                    BON = EA;
                    customer();
                    field = 5;
                    return;
                }
                case UP: field = 3; return;
                case F1:
                    store();
                    field = 1;
                    return;
                case F5: return del(4);
                case SHIFT_F1: print(); continue;
                default: continue;
            }
        }
    }

    void run() {
        while (!leave) {
            switch (field) {
                case 1: number(); break;
                case 2: date(); break;
                case 3: plain(a.KD, 9, 10, SCR::soc("/0123456789")); break;
                case 4: name(); break;
                case 5: plain(a.PS, 14, 9, SCR::soc(".0123456789")); break;
                default: plain(a.AI, 15, 30, SCR::socAll()); break;
            }
        }
    }
};

}  // namespace

void APOD(bool BBB) {
    SCR::CALLM(23, true);
    SCR::PRINT(40, 5, PLAT::gr(BBB ? "ΕΙΣΠΡΑΞΕΩΣ" : "ΠΛΗΡΩΜΗΣ ╞══"));
    SCR::CALLM(2, true);
    UMAS::FUN GM2;
    GM2[1] = "ESC.Menu";
    GM2[2] = PLAT::gr("F1.Καταχ.");
    GM2[3] = PLAT::gr("F5.Διαγραφή");
    GM2[4] = PLAT::gr("Shift-F1.Εκτύπωση");
    UMAS::FKEY({1, 2, 3, 4}, GM2);
    Screen s(BBB);
    s.a.KV.clear();
    s.a.BKV.clear();
    s.a.CLLS();
    s.BOX();
    BON.clear();
    s.run();
    UMAS::MHNU(s.a.BKV, "NUAP", 5);
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace APODI

namespace TIM {

void APOD(int kind) { APODI::APOD(kind == 1); }

}  // namespace TIM
