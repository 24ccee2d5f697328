// The amount in words and the pop-up calculator.
#include "config/params.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "common/umas.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace PARAMS {

namespace {

// The word tables, in code page 737. Entries 1, 3 and 4 of MON hold two forms: the one used with
// the thousands up to and including the first blank, the one used for units, millions and
// billions after it.
struct WordTables {
    std::string MON[13];
    std::string DEC[10];
    std::string EKA[10];
    std::string MIL[5];
    std::string MHDEN, CHILIA, DES, MYRI, O, EKATO, EKATON, ES, A, EURO, AMP, LEPTA;

    WordTables() {
        const char* mon[13] = {"ΜΗΔΕΝ ", "ENA  ΕΝΑ ", "ΔΥΟ ", "ΤΡΕΙΣ ΤΡΙΑ ", "ΤΕΣΣΕΡΙΣ ΤΕΣΣΕΡΑ ",
                               "ΠΕΝΤΕ ", "ΕΞΙ ", "ΕΠΤΑ ", "ΟΚΤΩ ", "ΕΝΝΕΑ ", "ΔΕΚΑ ", "ΕΝΤΕΚΑ ", "ΔΩΔΕΚΑ "};
        const char* dec[10] = {"", "ΔΕΚΑ ", "ΕΙΚΟΣΙ ", "ΤΡΙΑΝΤΑ ", "ΣΑΡΑΝΤΑ ", "ΠΕΝΗΝΤΑ ",
                               "ΕΞΗΝΤΑ ", "ΕΒΔΟΜΗΝΤΑ ", "ΟΓΔΟΝΤΑ ", "ΕΝΕΝΗΝΤΑ "};
        const char* eka[10] = {"", "ΕΚΑΤΟ", "ΔΙΑΚΟΣΙ", "ΤΡΙΑΚΟΣΙ", "ΤΕΤΡΑΚΟΣΙ", "ΠΕΝΤΑΚΟΣΙ",
                               "ΕΞΑΚΟΣΙ", "ΕΠΤΑΚΟΣΙ", "ΟΚΤΑΚΟΣΙ", "ΕΝΙΑΚΟΣΙ"};
        // The billions take the whole word, so that they read like the millions (one billion
        // ends in "Ο", more end in "Α").
        const char* mil[5] = {"", "", "ΧΙΛΙΑΔΕΣ ", "ΕΚΑΤΟΜΜΥΡΙΑ ", "ΔΙΣΕΚΑΤΟΜΜΥΡΙΑ "};
        for (int i = 0; i < 13; ++i) MON[i] = PLAT::gr(mon[i]);
        for (int i = 0; i < 10; ++i) DEC[i] = PLAT::gr(dec[i]);
        for (int i = 0; i < 10; ++i) EKA[i] = PLAT::gr(eka[i]);
        for (int i = 0; i < 5; ++i) MIL[i] = PLAT::gr(mil[i]);
        MHDEN = MON[0];
        CHILIA = PLAT::gr("ΧΙΛΙΑ");
        DES = PLAT::gr("ΔΕΣ");
        MYRI = PLAT::gr("ΜΥΡΙ");
        O = PLAT::gr("Ο");
        EKATO = PLAT::gr("ΕΚΑΤΟ") + " ";
        EKATON = PLAT::gr("ΕΚΑΤΟ") + "N ";
        ES = PLAT::gr("ΕΣ ");
        A = PLAT::gr("Α ");
        EURO = PLAT::gr("ΕΥΡΩ ");
        AMP = "& ";
        LEPTA = PLAT::gr("ΛΕΠΤΑ");
    }
};

const WordTables& words() {
    static const WordTables t;
    return t;
}

std::string firstForm(const std::string& w) { return w.substr(0, w.find(' ') + 1); }
std::string secondForm(const std::string& w) { return w.substr(w.find(' ') + 1); }

// Four groups of three digits: up to 999 999 999 999.
constexpr int64_t WHOLE_LIMIT = 1000000000000LL;

}  // namespace

void OLOG(const std::string& PO, int /*NOMMODE*/, int LEPMODE, std::string& OL) {
    const WordTables& T = words();
    OL.clear();
    const double F = UMAS::EVAL(PO);
    // The amount in whole cents, so that one cent is read as such (half a cent up, with the same
    // small allowance as the tax rounding, so that 2.005 held as 2.00499... still rounds up).
    const double rounded = std::floor(F * 100.0 + 0.5 + 0.0000001);
    if (!(rounded >= 1.0)) {
        OL = T.MHDEN;
        return;
    }
    if (rounded >= double(WHOLE_LIMIT) * 100.0) return;  // no words for it: nothing rather than a wrong amount
    const int64_t cents = int64_t(rounded);
    const int64_t whole = cents / 100;
    const int C = int(cents % 100);

    int64_t rest = whole;
    for (int g = 1; g <= 4; ++g, rest /= 1000) {
        const int W = int(rest % 1000);
        if (W == 0) continue;
        OL = T.MIL[g] + OL;
        const int B = W % 100, D = B % 10;
        if (B >= 1) {
            if (D == 0) {
                OL = T.DEC[B / 10] + OL;
            } else if (B == 11 || B == 12) {
                OL = T.MON[B] + OL;
            } else {
                const bool twoForms = D == 1 || D == 3 || D == 4;
                if (g == 1) {
                    OL = (twoForms ? secondForm(T.MON[D]) : T.MON[D]) + OL;
                } else if (g == 2) {
                    if (twoForms) {
                        if (W == 1) {
                            // One thousand: the group word loses its "ΔΕΣ".
                            const size_t p = OL.find(T.DES);
                            OL = T.CHILIA + (p == std::string::npos ? OL : OL.substr(p + T.DES.size()));
                        } else {
                            OL = firstForm(T.MON[D]) + OL;
                        }
                    } else {
                        OL = T.MON[D] + OL;
                    }
                } else {
                    if (W == 1) {
                        // One million (billion): the group word ends in "Ο".
                        const size_t p = OL.find(T.MYRI);
                        if (p != std::string::npos && p + T.MYRI.size() < OL.size()) OL[p + T.MYRI.size()] = T.O[0];
                    }
                    OL = (twoForms ? secondForm(T.MON[D]) : T.MON[D]) + OL;
                }
                if (B > 12) OL = T.DEC[(B - D) / 10] + OL;
            }
        }
        if (W > 99) {
            const int H = W / 100;
            if (H == 1)
                OL = (W == 100 ? T.EKATO : T.EKATON) + OL;
            else
                OL = T.EKA[H] + (g == 2 ? T.ES : T.A) + OL;
        }
    }
    if (LEPMODE == 0 && whole >= 1) OL += T.EURO;
    if (C == 0) return;
    std::string cw;
    OLOG(std::to_string(C), 0, 1, cw);
    if (OL.empty())
        OL = cw + T.LEPTA;
    else
        OL = OL + T.AMP + cw + T.LEPTA;
}

// ---- The calculator ----------------------------------------------------------------------------

namespace {

constexpr int CALC_MASK = 71;
constexpr int ROW = 9;
constexpr int COL_OP = 29, COL_MEM = 31, COL_SIGN = 35, COL_NUM = 36, NUM_W = 10;

struct Calc {
    // A number as the calculator holds it: its text (at most 10 characters) and its sign.
    struct Num {
        std::string s = "0";
        int sn = 1;
    };
    Num cur, acc, ent, mem;
    char op = 0;  // the pending operation, 0 for none

    // The value of S, or of its part before the first character that breaks the number.
    static double EVAL(const std::string& S) { return UMAS::EVAL(S); }
    static double value(const Num& n) { return n.sn * EVAL(n.s); }

    static void DISP(const std::string& S, int SN) {
        const std::string t = S.substr(0, NUM_W);
        SCR::PRINT(COL_SIGN, ROW, std::string(1, SN < 0 ? '-' : ' '));
        SCR::PRINT(COL_NUM, ROW, std::string(NUM_W - t.size(), ' ') + t);
    }
    static void DISP(const Num& n) { DISP(n.s, n.sn); }
    void showOp() const { SCR::PRINT(COL_OP, ROW, std::string(1, op ? op : ' ')); }
    void newEntry() { ent = Num{}; }

    // Applies P to the accumulator and the current number; false on an overflow.
    bool PRAJ(char P) {
        const double a = value(acc), c = value(cur);
        double r = 0;
        bool overflow = false;
        switch (P) {
            case '+': r = a + c; break;
            case '-': r = a - c; break;
            case '*': r = a * c; break;
            case '/':
                if (c == 0)
                    overflow = true;
                else
                    r = a / c;
                break;
            case '%': r = c / 100.0; break;
            default: r = 0;
        }
        int sn = r < 0 ? -1 : 1;
        double m = std::fabs(r);
        if (!overflow && !(m <= 9999999999.0)) overflow = true;
        if (overflow) {
            acc = Num{"Overflow", 1};
            cur = Num{};
            return false;
        }
        if (m < 0.000000001) m = 0;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.8f", m);
        std::string s = std::string(buf).substr(0, 10);
        if (s.find('.') != std::string::npos) {
            while (!s.empty() && s.back() == '0') s.pop_back();
            if (!s.empty() && s.back() == '.') s.pop_back();
        }
        if (s.empty() || EVAL(s) == 0) {
            s = s.empty() ? "0" : s;
            sn = 1;  // no "-0"
        }
        acc = Num{s, sn};
        cur = acc;
        return true;
    }

    void digit(char k) {
        if (ent.s.size() >= size_t(NUM_W)) return;
        if (!(k == '.' && ent.s.find('.') != std::string::npos)) {
            ent.s += k;
            if (ent.s.size() == 2 && ent.s[0] == '0' && k != '.') ent.s.erase(0, 1);
        }
        cur = ent;
        DISP(ent);
    }

    void operation(char k) {
        if (op == 0) {
            acc = cur;
        } else {
            if (op == '%') op = k;
            PRAJ(op);
            DISP(acc);
        }
        op = k;
        showOp();
        newEntry();
    }

    void percent() {
        const Num remembered = acc;
        if (PRAJ(op)) PRAJ('%');
        op = '%';
        showOp();
        DISP(acc);
        cur = remembered;
        newEntry();
    }

    void equals() {
        if (op == 0) return;
        if (op != '%') PRAJ(op);
        op = 0;
        newEntry();
        showOp();
        DISP(acc);
    }

    void memoryAdd() {
        const Num kept = acc;
        acc = mem;
        if (PRAJ('+')) {
            mem = acc;
        } else {
            DISP(acc);  // "Overflow": the memory keeps its value
        }
        acc = kept;
        SCR::PRINT(COL_MEM, ROW, "M");
        newEntry();
    }

    void changeSign() {
        if (value(cur) == 0) return;
        cur.sn = -cur.sn;
        // While a number is being typed its entry carries the sign on.
        if (EVAL(ent.s) != 0) ent.sn = cur.sn;
        DISP(cur);
    }
};

}  // namespace

void CALC(std::string& R) {
    Calc k;
    SCR::CALLM(CALC_MASK, true);
    SCR::CURSOR(false);
    Calc::DISP(k.cur);
    for (;;) {
        const PLAT::KeyEvent key = PLAT::con().readKey();
        if (!key.extended()) {
            const char c = char(key.ch);
            if (key.ch == 27) break;
            if ((c >= '0' && c <= '9') || c == '.')
                k.digit(c);
            else if (c == '+' || c == '-' || c == '*' || c == '/')
                k.operation(c);
            else if (c == '%')
                k.percent();
            else if (c == '=' || key.ch == 13)
                k.equals();
            continue;
        }
        switch (key.scan) {
            case PLAT::SC::PGDN:
                k.cur = k.ent = k.acc = Calc::Num{};
                k.op = 0;
                k.showOp();
                Calc::DISP(k.cur);
                break;
            case PLAT::SC::END:
                k.cur = k.ent = Calc::Num{};
                Calc::DISP(k.cur);
                break;
            case PLAT::SC::RIGHT:
                k.cur = k.mem;
                Calc::DISP(k.cur);
                k.newEntry();
                break;
            case PLAT::SC::DOWN: k.memoryAdd(); break;
            case PLAT::SC::UP:
                k.mem = Calc::Num{};
                SCR::PRINT(COL_MEM, ROW, " ");
                break;
            case PLAT::SC::PGUP: k.changeSign(); break;
            default: break;
        }
    }
    SCR::RECALL();
    R = Calc::value(k.mem) != 0 ? (k.mem.sn < 0 ? "-" : "") + k.mem.s : "";
    SCR::CURSOR(true);
    PLAT::con().refresh();
}

}  // namespace PARAMS
