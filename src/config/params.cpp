// Company selection and the parameter files.
#include "config/params.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "common/umas.h"
#include "common/xml.h"
#include "invoicing/formix.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace PARAMS {

// Helpers shared by the screens of this module.
namespace {

// S without blanks at either end.
std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    size_t b = s.find_last_not_of(' ');
    return s.substr(a, b - a + 1);
}

// S cut or filled with blanks to exactly n characters.
std::string padTo(const std::string& s, size_t n) {
    std::string r = s.substr(0, std::min(s.size(), n));
    r.resize(n, ' ');
    return r;
}


}  // namespace

}  // namespace PARAMS

namespace PARAMS {

int MAXEKT = 0;
int AREKTEL = 0;

// The key legend of the parameter screens; entry 7 gets its arrows before use.
UMAS::FUN GM1 = [] {
    UMAS::FUN f;
    f[1] = PLAT::gr("ESC.Menu");
    f[2] = PLAT::gr("F1.Καταχώρηση");
    f[3] = PLAT::gr("END.Εξοδος");
    f[4] = PLAT::gr("F7.Ανοιγμα Αρχείων");
    f[5] = PLAT::gr("F2.Αλλαγή Θέσης Αρχείου");
    f[6] = PLAT::gr("Enter.Επικύρωση");
    f[7] = PLAT::gr(" , .Μετακίνηση");
    f[7][0] = 24;
    f[7][2] = 25;
    f[8] = PLAT::gr("Enter.Μεταβολή");
    f[9] = "";
    f[10] = PLAT::gr("ESC.Επιλογή");
    return f;
}();

std::string GETDATABASEPATH() {
    if (!UMAS::FILEEXIST("DATABASE.TXT")) return "";
    auto lines = PLAT::readLines("DATABASE.TXT");
    if (!lines || lines->empty()) return "";
    return lines->front().substr(0, 255);
}

namespace {

// The value of a "key=value" line: everything after the first "=", or the whole line.
std::string iniValue(const std::string& line) {
    size_t eq = line.find('=');
    return eq == std::string::npos ? line : line.substr(eq + 1);
}

}  // namespace

std::string CompanyList::value(int c, int j) const {
    return iniValue(line(1 + size_t(c) * 9 + size_t(j - 1))).substr(0, 40);
}

CompanyList parseCompanyList(std::vector<std::string> lines) {
    CompanyList cl;
    cl.lines = std::move(lines);
    std::string first = cl.line(0);
    size_t eq = first.find('=');
    std::string num = eq == std::string::npos ? "" : trim(first.substr(eq + 1, 2));
    bool digits = !num.empty() && std::all_of(num.begin(), num.end(), [](char c) { return c >= '0' && c <= '9'; });
    cl.n = digits ? std::stoi(num) : 0;
    return cl;
}

namespace {

const char* const COMPANY_LIST = "KORVEX.INI";

CompanyList readCompanyList(const std::string& fn) {
    auto lines = PLAT::readLines(fn);
    if (!lines) PLAT::fatal("read", fn);
    CompanyList cl = parseCompanyList(std::move(*lines));
    if (cl.n < 1 || cl.n > 16)
        PLAT::die("KORVEX.INI: the first line must give the number of companies (1 to 16) after \"=\"", 1);
    return cl;
}

}  // namespace

void INITEKT() {
    const std::string fn = GETDATABASEPATH() + COMPANY_LIST;
    PLAT::Console& c = PLAT::con();
    if (!UMAS::FILEEXIST(fn)) {
        c.clear(7);
        c.writeln("file not found KORVEX.INI");
        c.showCursor(true);
        c.refresh();
        PLAT::die("file not found KORVEX.INI", 1);
    }
    CompanyList cl = readCompanyList(fn);
    MAXEKT = cl.n;
    std::vector<std::string> names(size_t(cl.n));
    for (int i = 0; i < cl.n && cl.present(i); ++i) names[size_t(i)] = cl.value(i, 1);

    SCR::CALLM(88, true);
    SCR::CALLM(2, true);
    SCR::PRINT(63, 2, "4.30");
    UMAS::FKEY({3, 6, 7}, GM1);

    const int N = cl.n;
    const int ML = N <= 8 ? N - 1 : 7;
    const int MS = N <= 8 ? 0 : 1;
    int LI = AREKTEL % 8, CO = 0, SE = AREKTEL / 8, KK = 0;
    // The company chosen last may no longer be in a list that was edited meanwhile: start on the first.
    if (SE > MS || LI > ML) SE = 0, LI = 0;

    auto BOX = [&](int p) {
        for (int i = 1; i <= 8; ++i) {
            int idx = p * 8 + i;
            if (idx <= N)
                SCR::PRINT(18, i + 6, UMAS::LO2S(idx, 0) + ". " + UMAS::LEJU(names[size_t(idx - 1)], 40));
            else
                SCR::PRINT(18, i + 6, std::string(45, ' '));
        }
    };

    for (;;) {
        BOX(SE);
        KK = 0;
        UMAS::EPIL(1, 15, 17, 0, 7, 1, 46, ML, 0, MS, LI, CO, SE, KK, 0);
        if (KK == 6) {
            SCR::RECALL();
            SCR::RECALL();
            c.showCursor(true);
            c.clear(7);
            PLAT::quit(0);
        }
        if (KK == 0 && SE * 8 + LI < N) break;
    }
    const int chosen = SE * 8 + LI;

    // Read the chosen company's nine lines again from the file.
    cl = readCompanyList(fn);
    for (int j = 1; j <= 9; ++j) UMAS::LOGOTYPO[size_t(j)] = cl.value(chosen, j);
    UMAS::DEFAULT_POLI = UMAS::LOGOTYPO[7];
    const std::string& v5 = UMAS::LOGOTYPO[5];
    size_t colon = v5.find(':');
    UMAS::AFM_EKTEL = trim(colon == std::string::npos ? v5.substr(0, 10) : v5.substr(colon + 1, 10)).substr(0, 12);

    SCR::RECALL();
    SCR::RECALL();
    AREKTEL = chosen;
    UMAS::PATH = GETDATABASEPATH() + "ARXEIO" + std::to_string(chosen) + "\\";

    loadCompanyTables();
}

void loadCompanyTables() {
    // Cleared first: a missing file never leaves the previous company's values in place.
    UMAS::PTAX.fill(0);
    RUFPAR("TAX", UMAS::PTAX.data(), UMAS::PTAX.size());
    loadInvoiceTables();
}

bool RUFPAR(const std::string& SF, uint8_t* P, size_t size) {
    const std::string fn = UMAS::PATH + SF + ".dat";
    UMAS::LOCK("FPAR");
    bool found = false;
    PLAT::File f;
    if (f.open(fn, PLAT::File::READ, false)) {
        int64_t n = std::min<int64_t>(f.size(), int64_t(size));
        if (n > 0) f.readAt(0, P, size_t(n));
        f.close();
        found = true;
    } else {
        PLAT::con().writeln("file not found " + fn + " call VALTERO");
    }
    UMAS::UNLOC("FPAR");
    return found;
}

void KATPAR(const std::string& SF, const uint8_t* P, size_t size) {
    UMAS::LOCK("FPAR");
    PLAT::writeWholeAtomic(UMAS::PATH + SF + ".dat", std::string(reinterpret_cast<const char*>(P), size));
    UMAS::UNLOC("FPAR");
}

void ZER(std::string& S) { UMAS::ZER(S); }

}  // namespace PARAMS

// The general-switches editor and the parameters menu with its two submenus.
namespace PARAMS {

namespace {

constexpr size_t REC = UMAS::RECPAREDE::SIZE;  // 42 bytes: MAL string[40], TIMI
constexpr size_t TIMI_OFS = 41;

void arrows() {
    GM1[7] = PLAT::gr(" , .Μετακίνηση");
    GM1[7][0] = 24;
    GM1[7][2] = 25;
}

}  // namespace

void CALLPAREDE() {
    arrows();
    SCR::CALLM(103, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({1, 2, 7, 8}, GM1);

    // The working copy is the file image; only the value bytes are changed, the rest is kept as read.
    std::array<uint8_t, UMAS::PAREDE_SIZE> copy{};
    RUFPAR("PAREDE", copy.data(), copy.size());
    auto value = [&](int i) -> uint8_t& { return copy[size_t(i - 1) * REC + TIMI_OFS]; };
    // Three cells, so that a value of a damaged file (above 9) leaves nothing behind once corrected.
    auto BOX = [&] {
        for (int i = 1; i <= 20; ++i) SCR::PRINT(64, i + 3, padTo(std::to_string(value(i)), 3));
    };

    int LI = 0, CO = 0, SE = 0, KK = 0;
    BOX();
    for (;;) {
        KK = 0;
        UMAS::EPIL(0, 14, 16, 0, 4, 1, 52, 19, 0, 0, LI, CO, SE, KK, 0);
        switch (KK) {
        case 0: {
            SCR::CALLM(2, true);
            UMAS::FKEY({10}, GM1);
            int K = 0;
            std::string s =
                SCR::GINPUT(64, LI + 4, 1, std::to_string(value(LI + 1)), "", SCR::socDigits(), false, true, K);
            // Esc keeps the value as it was (also one that does not fit the one-digit field), and so
            // does a pasted character that is not a digit: a switch only ever holds 0 to 9.
            if (K != 3) {
                if (s.empty())
                    value(LI + 1) = 0;
                else if (s[0] >= '0' && s[0] <= '9')
                    value(LI + 1) = uint8_t(s[0] - '0');
            }
            BOX();
            SCR::RECALL();
            break;
        }
        case 1:
        case 2:
        case 4:
        case 5: BOX(); break;
        case 7: {
            std::string bytes(copy.begin(), copy.end());
            UMAS::decodePAREDE(bytes, UMAS::PAREDE);
            UMAS::derivePAREDE();
            KATPAR("PAREDE", copy.data(), copy.size());
            break;
        }
        case 3:
            SCR::RECALL();
            SCR::RECALL();
            return;
        default: break;
        }
    }
}

void PARMEN() {
    arrows();
    SCR::CALLM(16, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({1, 6, 7}, GM1);
    for (int y = 6; y <= 15; ++y) SCR::PRINT(24, y, std::string(31, ' '));
    SCR::PRINT(28, 5, PLAT::gr("  ΠΑΡΑΜΕΤΡΟΙ ΕΦΑΡΜΟΓΗΣ"));
    SCR::PRINT(25, 8, PLAT::gr("1.  ΠΑΡΑΜΕΤΡΟΙ ΕΞΟΔΟΛΟΓΙΟΥ"));
    SCR::PRINT(25, 10, PLAT::gr("2.  ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ"));
    SCR::PRINT(25, 12, PLAT::gr("3.  ΗΛΕΚΤΡΟΝΙΚΕΣ ΜΟΡΦΕΣ"));
    SCR::PRINT(25, 14, PLAT::gr("4.  ΓΕΝΙΚΕΣ ΠΑΡΑΜΕΤΡΟΙ"));
    SCR::PRINT(22, 16, std::string(30, ' '));

    int LI = 0, CO = 0, SE = 0, KK = 0;
    for (;;) {
        KK = 0;
        UMAS::EPIL(4, 15, 23, 0, 8, 2, 34, 3, 0, 0, LI, CO, SE, KK, 0);
        if (KK == 3) break;
        if (KK != 0) continue;
        switch (LI) {
        case 0: PARMEN_PAREXOD(); break;
        case 1: PARMEN_PARENTYPON(); break;
        case 2: CALLPARTIM7(); break;
        case 3: CALLPAREDE(); break;
        default: break;
        }
    }
    SCR::RECALL();
    SCR::RECALL();
}

void PARMEN_PAREXOD() {
    SCR::CALLM(105, true);
    for (int y = 8; y <= 15; ++y) SCR::PRINT(24, y, std::string(31, ' '));
    SCR::PRINT(30, 6, PLAT::gr(" ΕΞΟΔΟΛΟΓΙΟΥ-ΕΑΦΔΣΣ"));
    static const char* const ENTRIES[7] = {
        "1.  ΚΟΝΔΥΛΙΑ ΤΙΜΟΛΟΓΙΟΥ", "2.  ΑΙΤΙΟΛΟΓΙΕΣ Κ.Ε.Δ.", "3.  ΣΤΟΙΧΕΙΑ TIM/ΓΙΟΥ ΑΠΟ ΕΔΕ",
        "4.  ΕΚΤΥΠΩΣΗΣ ΕΞΟΛΟΓΙΟΥ", "5.  ΣΕΙΡΕΣ Τ.Π.Υ.",  "6.  ΣΕΙΡΕΣ ΠΙΣΤΩΤΙΚΩΝ",
        "7.  ΠΑΡΑΜΕΤΡΟΙ ΕΑΦΔΣΣ"};
    for (int i = 0; i < 7; ++i) SCR::PRINT(25, 8 + i, PLAT::gr(ENTRIES[i]));

    int LI = 0, CO = 0, SE = 0, KK = 0;
    for (;;) {
        KK = 0;
        // F1 on entry 2 edits the print settings of the expenses statement.
        UMAS::EPIL(4, 15, 24, 0, 8, 1, 32, 6, 0, 0, LI, CO, SE, KK, LI == 1 ? 82 : 0);
        if (KK == 3) break;
        if (KK != 0) continue;
        switch (LI) {
        case 0: CALLPARTIM1(); break;
        case 1: CALLPARTIM2(); break;
        case 2: CALLPARTIM3(); break;
        case 3: CALLPARTIM4(); break;
        case 4: SEIRES(0); break;
        case 5: SEIRES(1); break;
        case 6: FORMIX::EDITFORMIXPATH(); break;
        default: break;
        }
    }
    SCR::RECALL();
}

void PARMEN_PARENTYPON() {
    SCR::CALLM(89, true);
    int LI = 0, CO = 0, SE = 0, KK = 0;
    for (;;) {
        KK = 0;
        UMAS::EPIL(4, 15, 26, 0, 8, 1, 31, 13, 0, 0, LI, CO, SE, KK, LI == 1 ? 82 : 0);
        if (KK == 3) break;
        if (KK != 0) continue;
        switch (LI + 1) {
        case 1: CALLPARTIM5(0); break;
        case 2: CALLPARTIM6(2); break;
        case 3: CALLPARTIM5(1); break;
        case 4: CALLPARTIM6(3); break;
        case 5: CALLPARTIM5(2); break;
        case 6: CALLPARTIM6(4); break;
        case 7: CALLPARTIM6(5); break;
        case 8: CALLPARTIM6(8); break;
        case 9: CALLPARTIM6(9); break;
        case 10: CALLPARTIM5(4); break;
        case 11: CALLPARTIM6(10); break;
        case 12: CALLPARTIM5(3); break;
        case 13: CALLPARTIM6(6); break;
        case 14: CALLPARTIM6(7); break;
        default: break;
        }
    }
    SCR::RECALL();
}

}  // namespace PARAMS

// The amount in words and the pop-up calculator.
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

// The invoice parameter editors (item headings, expenses-statement reasons, declaration-to-invoice
// map, invoice print layout) and the form parameter editors (document field maps and document
// print layouts). Every editor works on a copy of its file and writes it whole only on F1.
namespace PARAMS {

TPARTIM1 PARTIM1;
TDEP DEP;
TPARTIM3 PARTIM3;

namespace {

std::string gr(const char* utf8) { return PLAT::utf8ToCp737(utf8); }

std::string cut(const std::string& s, size_t n) { return s.substr(0, std::min(n, s.size())); }

// A number in a field of width w: w digits with leading zeros, w blanks for 0.
std::string num(unsigned v, int w) {
    if (v == 0) return std::string(size_t(w), ' ');
    std::string s = std::to_string(v);
    if (s.size() < size_t(w)) s.insert(0, size_t(w) - s.size(), '0');
    return s;
}
// The text of a number field as it is offered for editing: empty for 0.
std::string numText(unsigned v, int w) { return v == 0 ? "" : num(v, w); }

// The value of a digits-only field; an empty field gives 0.
unsigned fieldValue(const std::string& s) {
    unsigned v = 0;
    for (char c : s)
        if (c >= '0' && c <= '9') v = v * 10 + unsigned(c - '0');
    return v;
}

// The page number, 1-based, two wide.
std::string pageText(int SE) {
    std::string s = std::to_string(SE + 1);
    return s.size() < 2 ? " " + s : s;
}

// The opening common to every editor here: the arrows of legend entry 7, the editor's mask and
// the legend row, both saved, and the legend of entries 1, 2, 7 and 8.
void openScreen(int mask) {
    if (GM1[7].size() >= 3) {
        GM1[7][0] = char(24);
        GM1[7][2] = char(25);
    }
    SCR::CALLM(mask, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({1, 2, 7, 8}, GM1);
    // A "file not found" line of the reads that follow goes below the frame.
    PLAT::con().gotoXY(1, 23);
}
void closeScreen() {
    SCR::RECALL();
    SCR::RECALL();
}

// The legend row while one row is edited: "ESC.Επιλογή" only.
void openRowEdit() {
    SCR::CALLM(2, true);
    UMAS::FKEY({10}, GM1);
}

// The list: bar at column XA, first row YA, LE wide, rows per page, pages; page number at
// (PX, PY). draw(rec, y) writes one row, edit(rec, y) edits it, key(KK, rec) handles the further
// keys (true: redraw the page). The list ends with Esc.
struct List {
    int XA, YA, LE, rows, pages, PX, PY;
};
template <class Draw, class Edit, class Key>
void runList(const List& L, Draw draw, Edit edit, Key key) {
    int LI = 0, CO = 0, SE = 0, KK = 0;
    auto BOX = [&] {
        SCR::PRINT(L.PX, L.PY, pageText(SE));
        for (int i = 0; i < L.rows; ++i) draw(L.rows * SE + i + 1, L.YA + i);
        PLAT::con().refresh();
    };
    BOX();
    for (;;) {
        KK = 0;
        UMAS::EPIL(0, 14, L.XA, 0, L.YA, 1, L.LE, L.rows - 1, 0, L.pages - 1, LI, CO, SE, KK, 0);
        const int rec = L.rows * SE + LI + 1;
        switch (KK) {
            case 0:
                edit(rec, L.YA + LI);
                BOX();
                break;
            case 1:
            case 2:
            case 4:
            case 5:
                BOX();
                break;
            case 3:
                return;
            default:
                if (key(KK, rec)) BOX();
                break;
        }
    }
}

// ---- Lists of texts (item headings, reasons) ---------------------------------------------------

// A text row of 40 characters at column 20: shown rows are kept padded to 40 in the work copy.
template <class T>
void runTextList(int pages, int rows, int PY, T& work, size_t n, const std::function<void()>& store) {
    const List L{20, 7, 40, rows, pages, 59, PY};
    runList(
        L,
        [&](int rec, int y) {
            if (size_t(rec) > n) return;
            work[size_t(rec)] = padTo(work[size_t(rec)], 40);
            SCR::PRINT(20, y, work[size_t(rec)]);
        },
        [&](int rec, int y) {
            if (size_t(rec) > n) return;
            openRowEdit();
            std::string S = work[size_t(rec)].empty() ? std::string(40, ' ') : work[size_t(rec)];
            int K = 0;
            do {
                S = SCR::GINPUT(20, y, 40, S, "", SCR::socRange(32, 255), false, true, K);
            } while (K != 0 && K != 1 && K != 2 && K != 3);
            work[size_t(rec)] = padTo(S, 40);
            SCR::RECALL();
        },
        [&](int KK, int) {
            if (KK == 7) store();
            return false;
        });
}

// ---- Box maps (declaration-to-invoice map, document field maps) --------------------------------

void drawMapRow(const RECPARTIM3& r, int y) {
    SCR::PRINT(27, y, num(r.KV, 3));
    SCR::PRINT(34, y, padTo(r.CI, 20));
}

// Box number at column 27 (3 digits), caption at column 34 (20 characters).
void editMapRow(RECPARTIM3& r, int y) {
    openRowEdit();
    int field = 1, K = 0;
    for (;;) {
        if (field == 1) {
            std::string s = SCR::GINPUT(27, y, 3, numText(r.KV, 3), "", SCR::socDigits(), false, true, K);
            r.KV = uint16_t(fieldValue(s));
            SCR::PRINT(27, y, num(r.KV, 3));
            if (K == 0 || K == 2) field = 2;
            else if (K == 1 || K == 3) break;
        } else {
            std::string s = SCR::GINPUT(34, y, 20, r.CI.empty() ? std::string(20, ' ') : r.CI, "",
                                        SCR::socRange(32, 255), false, true, K);
            if (K != 3) r.CI = padTo(s, 20);
            SCR::PRINT(34, y, padTo(r.CI, 20));
            if (K == 0 || K == 2 || K == 3) break;
            if (K == 1) field = 1;
        }
    }
    SCR::RECALL();
}

void runMapList(int pages, std::vector<RECPARTIM3>& work, const std::function<void()>& store) {
    const List L{25, 7, 30, 11, pages, 52, 18};
    const size_t n = work.size() - 1;
    runList(
        L,
        [&](int rec, int y) {
            if (size_t(rec) <= n) drawMapRow(work[size_t(rec)], y);
        },
        [&](int rec, int y) {
            if (size_t(rec) <= n) editMapRow(work[size_t(rec)], y);
        },
        [&](int KK, int) {
            if (KK == 7) store();
            return false;
        });
}

// Reads n RECPARTIM3 of file SF into records 1..n (a missing file leaves them empty).
std::vector<RECPARTIM3> readMap(const std::string& SF, size_t n) {
    std::vector<uint8_t> buf(n * RECPARTIM3::SIZE, 0);
    RUFPAR(SF, buf.data(), buf.size());
    std::vector<RECPARTIM3> t(n + 1);
    decodeTable<RECPARTIM3>(buf.data(), n, t);
    return t;
}
void writeMap(const std::string& SF, const std::vector<RECPARTIM3>& t) {
    const size_t n = t.size() - 1;
    std::vector<uint8_t> buf(n * RECPARTIM3::SIZE, 0);
    encodeTable<RECPARTIM3>(t, n, buf.data());
    KATPAR(SF, buf.data(), buf.size());
}

// ---- Print layouts -------------------------------------------------------------------------------

struct NumField {
    int x, w;
    uint8_t RECPARTIM4::*f;
};
const NumField LAYOUT_FIELDS[6] = {{40, 2, &RECPARTIM4::SA1}, {45, 2, &RECPARTIM4::SA2}, {49, 3, &RECPARTIM4::COL},
                                   {54, 3, &RECPARTIM4::ROW}, {60, 2, &RECPARTIM4::ST2}, {65, 2, &RECPARTIM4::ST1}};

void drawLayoutRow(const RECPARTIM4& r, int y) {
    SCR::PRINT(7, y, std::string(30, ' '));
    SCR::PRINT(7, y, r.PER);
    for (const NumField& f : LAYOUT_FIELDS) SCR::PRINT(f.x, y, num(r.*f.f, f.w));
}

// The six numbers of a record, in record order. Each value is kept as soon as its field is left;
// a number that does not fit its byte is refused with the bell and asked again.
void editLayoutRow(RECPARTIM4& r, int y) {
    openRowEdit();
    int i = 0, K = 0;
    for (;;) {
        const NumField& f = LAYOUT_FIELDS[i];
        uint8_t& v = r.*f.f;
        std::string s = SCR::GINPUT(f.x, y, f.w, numText(v, f.w), "", SCR::socDigits(), false, true, K);
        if (K == 3) {
            SCR::PRINT(f.x, y, num(v, f.w));
            break;
        }
        unsigned val = fieldValue(s);
        if (val > 255) {
            PLAT::con().bell();
            SCR::PRINT(f.x, y, num(v, f.w));
            continue;
        }
        v = uint8_t(val);
        SCR::PRINT(f.x, y, num(v, f.w));
        if (K == 0 || K == 2) {
            if (i == 5) break;
            ++i;
        } else if (K == 1) {
            if (i == 0) break;
            --i;
        }
    }
    SCR::RECALL();
}

void clearNumbers(RECPARTIM4& r) { r.SA1 = r.SA2 = r.COL = r.ROW = r.ST2 = r.ST1 = 0; }

std::vector<RECPARTIM4> readLayout(const std::string& SF, size_t n) {
    std::vector<uint8_t> buf(n * RECPARTIM4::SIZE, 0);
    RUFPAR(SF, buf.data(), buf.size());
    std::vector<RECPARTIM4> t(n + 1);
    decodeTable<RECPARTIM4>(buf.data(), n, t);
    return t;
}
void writeLayout(const std::string& SF, const std::vector<RECPARTIM4>& t) {
    const size_t n = t.size() - 1;
    std::vector<uint8_t> buf(n * RECPARTIM4::SIZE, 0);
    encodeTable<RECPARTIM4>(t, n, buf.data());
    KATPAR(SF, buf.data(), buf.size());
}

template <class Key>
void runLayoutList(int pages, std::vector<RECPARTIM4>& work, Key key) {
    const List L{6, 8, 62, 12, pages, 20, 20};
    const size_t n = work.size() - 1;
    runList(
        L,
        [&](int rec, int y) {
            if (size_t(rec) <= n) drawLayoutRow(work[size_t(rec)], y);
        },
        [&](int rec, int y) {
            if (size_t(rec) <= n) editLayoutRow(work[size_t(rec)], y);
        },
        key);
}

}  // namespace

// ---- Invoice item headings, reasons, declaration-to-invoice map ----------------------------------

void loadInvoiceTables() {
    std::vector<uint8_t> buf(PARTIM1_SIZE, 0);
    RUFPAR("PARTIM1", buf.data(), buf.size());
    decodePARTIM1(buf.data(), PARTIM1);
    buf.assign(PARTIM2_SIZE, 0);
    RUFPAR("PARTIM2", buf.data(), buf.size());
    decodeDEP(buf.data(), DEP);
    buf.assign(PARTIM3_SIZE, 0);
    RUFPAR("PARTIM3", buf.data(), buf.size());
    decodePARTIM3(buf.data(), PARTIM3);
}

void CALLPARTIM1() {
    std::vector<uint8_t> buf(PARTIM1_SIZE, 0);
    TPARTIM1 work;
    openScreen(91);
    RUFPAR("PARTIM1", buf.data(), buf.size());
    decodePARTIM1(buf.data(), work);
    runTextList(2, 9, 16, work, PARTIM1_N, [&] {
        PARTIM1 = work;
        std::vector<uint8_t> out(PARTIM1_SIZE, 0);
        encodePARTIM1(work, out.data());
        KATPAR("PARTIM1", out.data(), out.size());
    });
    closeScreen();
}

void CALLPARTIM2() {
    std::vector<uint8_t> buf(PARTIM2_SIZE, 0);
    TDEP work;
    openScreen(92);
    RUFPAR("PARTIM2", buf.data(), buf.size());
    decodeDEP(buf.data(), work);
    runTextList(1, 11, 18, work, PARTIM2_N, [&] {
        // Only the entries the file holds; DEP[12..14] are kept.
        for (size_t i = 1; i <= PARTIM2_N; ++i) DEP[i] = work[i];
        std::vector<uint8_t> out(PARTIM2_SIZE, 0);
        encodeDEP(work, out.data());
        KATPAR("PARTIM2", out.data(), out.size());
    });
    closeScreen();
}

void CALLPARTIM3() {
    openScreen(93);
    std::vector<RECPARTIM3> work = readMap("PARTIM3", PARTIM3_N);
    runMapList(2, work, [&] {
        for (size_t i = 1; i <= PARTIM3_N; ++i) PARTIM3[i] = work[i];
        writeMap("PARTIM3", work);
    });
    closeScreen();
}

// ---- Invoice print layout ------------------------------------------------------------------------

void CALLPARTIM4() {
    openScreen(96);
    std::vector<RECPARTIM4> work = readLayout("PARTIM4", MAXPVTIM);

    // Captions 1..120 from "partim4.INI" in the working folder.
    UMAS::LOCK("FPAR");
    auto lines = PLAT::readLines("partim4.INI");
    UMAS::UNLOC("FPAR");
    if (!lines) {
        // Nothing is stored; the clerk is back in the menu after a key.
        SCR::PRINT(7, 22, "file not found partim4.INI");
        PLAT::con().readKey();
        closeScreen();
        return;
    }
    if (lines->empty()) work[1].PER = "";
    for (size_t i = 0; i < lines->size() && i < 120; ++i) work[i + 1].PER = cut((*lines)[i], 30);

    // Captions 121..131: the reasons as stored in "PARTIM2".
    {
        std::vector<uint8_t> buf(PARTIM2_SIZE, 0);
        TDEP dep;
        RUFPAR("PARTIM2", buf.data(), buf.size());
        decodeDEP(buf.data(), dep);
        for (size_t i = 1; i <= PARTIM2_N; ++i) work[120 + i].PER = cut(dep[i], 30);
    }
    // Captions 132..142: fixed texts.
    static const char* const FIXED[11] = {"Ποσό αιτιολογίας ΚΕΔ 1",
                                          "Ποσό αιτιολογίας ΚΕΔ 2",
                                          "Καταβληθέντα ποσά σε πρόσωπα μή",
                                          "ΣΥΝΟΛΟ Κ.Ε.Δ.",
                                          "ΠΑΡΑΛΗΠΤΗΣ",
                                          "Α.Φ.Μ. ΠΑΡΑΛΗΠΤΗ",
                                          "ΗΜΕΡΟΜΗΝΙΑ",
                                          "ΑΙΤΙΟΛΟΓΙΑ ΚΕΔ 1",
                                          "ΑΙΤΙΟΛΟΓΙΑ ΚΕΔ 2",
                                          "",
                                          "ΟΝΟΜΑ ΠΕΛΑΤΗ"};
    for (size_t i = 0; i < 11; ++i) work[132 + i].PER = cut(gr(FIXED[i]), 30);
    // Captions 10..31 and 32..48 from the tables in memory.
    for (size_t i = 1; i <= PARTIM3_N; ++i) work[9 + i].PER = cut(PARTIM3[i].CI, 30);
    for (size_t i = 1; i <= 17; ++i) work[31 + i].PER = cut(PARTIM1[i], 30);

    runLayoutList(12, work, [&](int KK, int) {
        if (KK == 7) writeLayout("PARTIM4", work);
        return false;
    });
    closeScreen();
}

// ---- Document field maps ---------------------------------------------------------------------------

namespace {
const char* const MAP_FILE[5] = {"PARD2in1", "PARD2in2", "PARD2EUR", "PARD2ZON", "PARD2TIR"};
const char* const MAP_TITLE[5] = {"INVOICE", "INVOICE", "EUR.1", "ΖΩΝΗΣ", "T.I.R."};
}  // namespace

void CALLPARTIM5(int N) {
    if (N < 0 || N > 4) return;
    openScreen(93);
    SCR::PRINT(41, 5, gr(MAP_TITLE[N]));
    std::vector<RECPARTIM3> work = readMap(MAP_FILE[N], PARD2_N);
    runMapList(3, work, [&] { writeMap(MAP_FILE[N], work); });
    closeScreen();
}

// ---- Document print layouts ------------------------------------------------------------------------

namespace {

struct LayoutDef {
    const char* title;
    const char* file;
    const char* map;   // field map the captions come from, or nullptr
    const char* seed;  // seed text ("<seed>.ini" in the working folder), or nullptr
};
const LayoutDef LAYOUTS[11] = {
    {nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
    {" INVOICE 1 ", "PARinv1", "PARD2in1", nullptr},
    {" INVOICE 2 ", "PARinv2", "PARD2in2", nullptr},
    {" E.U.R. 1  ", "PAREUR1", "PARD2EUR", nullptr},
    {"ΠΙΣΤ.ΑΥΤΟΚ.", "PARPITA", nullptr, "PARD2PIT"},
    {"   ΖΩΝΗΣ   ", "PARZON", "PARD2ZON", nullptr},
    {"ΖΩΝΗΣ Β'ΟΨΗ", "PARZOB", "PARD2ZON", nullptr},
    {"   Δ.Α.Ο.  ", "PARDDD", nullptr, "PARD2DAO"},
    {" ΔΗΛΩΤΙΚΟΥ ", "PARDILL", nullptr, "PARD2DIL"},
    {"  T.I.R.   ", "PARTIR", nullptr, "PARD2TIR"},
};

// Captions of a layout filled from a document field map.
void INITINV(std::vector<RECPARTIM4>& L, const std::string& map) {
    const bool found = UMAS::FILEEXIST(UMAS::PATH + map + ".dat");
    std::vector<RECPARTIM3> m;
    if (found) m = readMap(map, PARD2_N);
    const std::string desc = gr("Περιγραφή "), field = gr("Πεδίο "), total = gr("Σύνολο");
    for (size_t n = 1; n <= 30; ++n) L[n].PER = cut(found ? m[n].CI : desc + std::to_string(n), 30);
    for (size_t n = 31; n <= 54; ++n) L[n].PER = cut(found ? " *" + m[n - 30].CI : field + std::to_string(n - 30), 30);
    for (size_t n = 55; n <= 94; ++n)
        L[n].PER = cut(found ? " *" + m[n % 5 + 25].CI : field + std::to_string(n - 30), 30);
    for (size_t n = 95; n <= 97; ++n) L[n].PER = cut(total + std::to_string(n - 94), 30);
}

// Captions of a layout filled from a seed text, one caption per line, at most 119.
void INITDOC(std::vector<RECPARTIM4>& L, const std::string& seed) {
    const std::string fn = seed + ".ini";
    if (!UMAS::FILEEXIST(fn)) return;
    UMAS::LOCK("FPAR");
    auto lines = PLAT::readLines(fn);
    UMAS::UNLOC("FPAR");
    if (!lines) return;
    for (size_t i = 0; i < lines->size() && i < 119; ++i) L[i + 1].PER = cut((*lines)[i], 30);
}

}  // namespace

void CALLPARTIM6(int N) {
    if (N < 2 || N > 10) return;
    const LayoutDef& D = LAYOUTS[N];
    openScreen(96);
    SCR::PRINT(45, 5, gr(D.title));
    std::vector<RECPARTIM4> work = readLayout(D.file, PARDOC_N);
    if (D.map)
        INITINV(work, D.map);
    else
        INITDOC(work, D.seed);

    runLayoutList(10, work, [&](int KK, int rec) {
        const size_t r = size_t(rec), last = PARDOC_N;
        switch (KK) {
            case 7:  // F1: store
                writeLayout(D.file, work);
                return false;
            case 11:  // F5: clear the position
                clearNumbers(work[r]);
                return true;
            case 12:  // F6: remove the position
                for (size_t k = r; k < last; ++k) work[k] = work[k + 1];
                clearNumbers(work[last]);
                return true;
            case 13:  // F7: open a position, only while the last record is unplaced
                if (work[last].COL != 0 || work[last].ROW != 0) return false;
                for (size_t k = last - 1; k >= r; --k) work[k + 1] = work[k];
                clearNumbers(work[r]);
                return true;
            default:
                return false;
        }
    });
    closeScreen();
}

}  // namespace PARAMS

// The electronic-format field tables: the format menu, the 220-row table editor, the output folders
// of "ASCI_OUT.TXT" and the XML listing of a table.
namespace PARAMS {

const char* const PARTIM7_NAMES[PARTIM7_FORMATS] = {"PARDISK", "PARAUTO", "PARDEFK", "PARDILO",
                                                     "PARDAO",  "PART1",   "PART2L"};

std::string PARTIM7_FILE(int pos) {
    if (pos < 0 || pos >= PARTIM7_FORMATS) return "";
    return std::string(UMAS::HLEK4 ? "Q" : "N") + PARTIM7_NAMES[pos];
}

PARTIM7TABLE decodePARTIM7(const uint8_t* p) {
    PARTIM7TABLE t;
    for (int i = 0; i < PARTIM7_ROWS; ++i) t[size_t(i)] = RECPARTIM7::decode(p + size_t(i) * RECPARTIM7::SIZE);
    return t;
}

void encodePARTIM7(const PARTIM7TABLE& t, uint8_t* p) {
    for (int i = 0; i < PARTIM7_ROWS; ++i) t[size_t(i)].encode(p + size_t(i) * RECPARTIM7::SIZE);
}

namespace {

constexpr int ASCI_LINES = 7;
constexpr int FOLDER_W = 20;

std::string asciOutName() { return UMAS::PATH + "ASCI_OUT.TXT"; }


// The seven lines of "ASCI_OUT.TXT" (missing lines empty, each at most 20 characters).
std::vector<std::string> readAsciOut() {
    std::vector<std::string> lines(ASCI_LINES);
    if (auto l = PLAT::readLines(asciOutName())) {
        for (int i = 0; i < ASCI_LINES && i < int(l->size()); ++i)
            lines[size_t(i)] = (*l)[size_t(i)].substr(0, std::min<size_t>((*l)[size_t(i)].size(), FOLDER_W));
    }
    return lines;
}

void writeAsciOut(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    PLAT::writeWholeAtomic(asciOutName(), out);
}

// Format titles, shown at column 46 of row 5.
std::string formatTitle(int pos) {
    static const char* const T[PARTIM7_FORMATS] = {"   Ε.Δ.Ε.    ", "ΔΕΦΚ ΑΥΤ/ΤΩΝ ", "ΔΕΦΚ ΟΙΝ/ΔΩΝ ",
                                                   " ΔΗΛΩΤΙΚΩΝ   ", "   Δ.Α.Ο.    ", "   T1-TIR    ",
                                                   "    T2L      "};
    return PLAT::gr(T[pos]);
}

// The XML listing of a table: preamble, then ten lines per row, CR LF line ends.
std::string listing(const PARTIM7TABLE& t) {
    std::string x;
    XML::WRITEPREAMP(x);
    auto line = [&](const std::string& s) { x += s + "\r\n"; };
    auto val = [](const std::string& s) { return XML::S2UTF8S(UMAS::CUTLEADSPACES(s)); };
    for (int n = 1; n <= PARTIM7_ROWS; ++n) {
        const RECPARTIM7& r = t[size_t(n - 1)];
        line("  <Record>");
        line("    <ID>" + UMAS::LZ(std::to_string(unsigned(n)), 3) + "</ID>");
        line("    <Code>" + (r.KV == 0 ? std::string() : std::to_string(r.KV)) + "</Code>");
        line("    <Name>" + val(r.PEDIO) + "</Name>");
        line("    <Status>" + val(r.STATUS) + "</Status>");
        line("    <Size>" + val(r.MIKOS) + "</Size>");
        line("    <Type>" + val(r.TYPOS) + "</Type>");
        line("    <Value>" + val(r.TIMES) + "</Value>");
        line("    <Comment></Comment>");
        line("  </Record>");
    }
    return x;
}

// F5: the row emptied; its length rule stays.
void clearRow(RECPARTIM7& r) {
    r.KV = 0;
    r.PEDIO.clear();
    r.STATUS.clear();
    r.TYPOS.clear();
    r.TIMES.clear();
}

// One opened format: the table editor of Part "field tables" on masks 102 and 2.
class TableEditor {
public:
    explicit TableEditor(int pos) : pos_(pos) {}

    void run() {
        SCR::CALLM(102, true);
        SCR::CALLM(2, true);
        UMAS::FKEY({1, 2, 5, 7, 8}, GM1);

        // Output folder: the format's line of "ASCI_OUT.TXT", created with seven "A:\" when missing.
        if (PLAT::fileExists(asciOutName())) {
            folder_ = readAsciOut()[size_t(pos_)];
        } else {
            folder_ = "A:\\";
            writeAsciOut(std::vector<std::string>(ASCI_LINES, "A:\\"));
        }
        SCR::PRINT(45, 19, padTo(folder_, FOLDER_W));
        SCR::PRINT(46, 5, formatTitle(pos_));

        file_ = PARTIM7_FILE(pos_);
        std::vector<uint8_t> buf(PARTIM7_SIZE, 0);
        RUFPAR(file_, buf.data(), buf.size());
        t_ = decodePARTIM7(buf.data());

        int LI = 0, CO = 0, SE = 0, KK = 0;
        BOX(SE);
        for (;;) {
            UMAS::EPIL(0, 14, 15, 0, 7, 1, 51, 10, 0, 19, LI, CO, SE, KK, 0);
            const int r = 11 * SE + LI;  // 0-based row of the table
            switch (KK) {
            case 0:
                editRow(r, 7 + LI);
                BOX(SE);
                break;
            case 1: case 2: case 4: case 5:
                BOX(SE);
                break;
            case 7: {  // F1
                std::vector<uint8_t> out(PARTIM7_SIZE, 0);
                encodePARTIM7(t_, out.data());
                KATPAR(file_, out.data(), out.size());
                break;
            }
            case 8:  // F2
                ASCII_OUT();
                break;
            case 11:  // F5
                clearRow(t_[size_t(r)]);
                BOX(SE);
                break;
            case 12:  // F6: rows after the bar move up, the last one is cleared
                for (int k = r; k < PARTIM7_ROWS - 1; ++k) t_[size_t(k)] = t_[size_t(k + 1)];
                clearRow(t_[PARTIM7_ROWS - 1]);
                BOX(SE);
                break;
            case 13:  // F7: only when the last row is free
                if (t_[PARTIM7_ROWS - 1].KV == 0) {
                    for (int k = PARTIM7_ROWS - 1; k > r; --k) t_[size_t(k)] = t_[size_t(k - 1)];
                    clearRow(t_[size_t(r)]);
                    BOX(SE);
                }
                break;
            case 16:  // F10
                MAKEXML();
                break;
            case 3:
                SCR::RECALL();
                SCR::RECALL();
                return;
            default:
                break;
            }
        }
    }

private:
    int pos_;
    std::string folder_;
    std::string file_;
    PARTIM7TABLE t_;

    // Page SE of the table: page number at (63,18), eleven rows from row 7.
    void BOX(int SE) {
        std::string pg = std::to_string(SE + 1);
        SCR::PRINT(63, 18, std::string(pg.size() < 2 ? 2 - pg.size() : 0, ' ') + pg);
        for (int i = 0; i < 11; ++i) showRow(11 * SE + i, 7 + i);
    }

    void showRow(int r, int y) {
        const RECPARTIM7& x = t_[size_t(r)];
        SCR::PRINT(16, y, x.KV == 0 ? std::string(5, ' ') : UMAS::LZ(std::to_string(x.KV), 5));
        SCR::PRINT(24, y, padTo(x.PEDIO, 22));
        SCR::PRINT(48, y, padTo(x.STATUS, 1));
        SCR::PRINT(50, y, padTo(x.MIKOS, 5));
        SCR::PRINT(56, y, padTo(x.TYPOS, 1));
        SCR::PRINT(59, y, padTo(x.TIMES, 10));
    }

    // Enter on a row: the six fields in turn; each stores into the work copy when left.
    void editRow(int r, int y) {
        SCR::CALLM(2, true);
        UMAS::FKEY({10}, GM1);
        RECPARTIM7& x = t_[size_t(r)];
        const SCR::SOC any = SCR::socRange(32, 255);
        int f = 0, K = 0;
        while (f >= 0 && f < 6) {
            std::string s;
            switch (f) {
            case 0: {
                s = SCR::GINPUT(16, y, 5, x.KV == 0 ? "" : UMAS::LZ(std::to_string(x.KV), 5), "", SCR::socDigits(), false, true, K);
                double v = UMAS::EVAL(trim(s));
                if (v > 65535) {  // a field code is a WORD: the same field again
                    PLAT::con().bell();
                    continue;
                }
                x.KV = uint16_t(v < 0 ? 0 : v + 0.5);
                SCR::PRINT(16, y, x.KV == 0 ? std::string(5, ' ') : UMAS::LZ(std::to_string(x.KV), 5));
                break;
            }
            case 1:
                x.PEDIO = SCR::GINPUT(24, y, 22, x.PEDIO.empty() ? std::string(20, ' ') : x.PEDIO, "", any, false,
                                      true, K);
                break;
            case 2:
                x.STATUS = SCR::GINPUT(48, y, 1, x.STATUS.empty() ? " " : x.STATUS, "", SCR::soc(" CORr"), false,
                                       true, K);
                break;
            case 3:
                x.MIKOS = SCR::GINPUT(50, y, 5, x.MIKOS.empty() ? std::string(5, ' ') : x.MIKOS, "",
                                      SCR::soc(".0123456789"), false, true, K);
                break;
            case 4:
                x.TYPOS = SCR::GINPUT(56, y, 1, x.TYPOS.empty() ? " " : x.TYPOS, "", any, false, true, K);
                break;
            case 5: {
                // The field shows six of the ten characters: a value left as it was keeps its tail.
                const std::string old = x.TIMES;
                const std::string shown = old.empty() ? std::string(6, ' ') : old.substr(0, std::min<size_t>(old.size(), 6));
                s = SCR::GINPUT(59, y, 6, shown, "", any, false, true, K);
                if (s != shown || old.empty()) x.TIMES = s;
                break;
            }
            }
            if (K == 0 || K == 2)
                ++f;
            else if (K == 1)
                --f;
            else if (K == 3)
                break;
        }
        SCR::RECALL();
    }

    // F2: the output folder of this format.
    void ASCII_OUT() {
        SCR::CALLM(2, true);
        UMAS::FKEY({10}, GM1);
        std::vector<std::string> lines = readAsciOut();
        const std::string remembered = lines[size_t(pos_)];
        std::string s = remembered;
        for (;;) {
            int K = 0;
            s = SCR::GINPUT(45, 19, FOLDER_W, s, "", SCR::socRange(32, 255), false, true, K);
            if (K == 3) {
                s = remembered;
                break;
            }
            if (K != 0) continue;
            std::string v = trim(s);
            if (v.size() < 3) {  // "C:" and shorter are no folder
                PLAT::con().bell();
                s = remembered;
                continue;
            }
            if (v.back() != '\\') v += '\\';
            if (v.size() > size_t(FOLDER_W)) {
                // The writers put the file name right after the folder: a folder that has no room
                // left for its closing backslash is refused, and the clerk shortens it.
                PLAT::con().bell();
                continue;
            }
            s = v;
            break;
        }
        lines[size_t(pos_)] = s;
        folder_ = s;
        SCR::PRINT(45, 19, padTo(s, FOLDER_W));
        writeAsciOut(lines);
        SCR::RECALL();
    }

    // F10: the table as XML next to the table file.
    void MAKEXML() { PLAT::writeWholeAtomic(UMAS::PATH + file_ + ".xml", listing(t_)); }
};

}  // namespace

void CALLPARTIM7() {
    SCR::CALLM(105, true);
    int LI = 0, CO = 0, SE = 0, KK = 0;
    for (;;) {
        UMAS::EPIL(4, 15, 25, 0, 8, 1, 31, 6, 0, 0, LI, CO, SE, KK, 0);
        if (KK == 3) break;
        if (KK == 0) TableEditor(LI).run();
    }
    SCR::RECALL();
}

}  // namespace PARAMS

// The numbering series of invoices and credit notes: the series editor on masks 95, 87 and 58, and
// the per-series number indexes and credit-note files it creates on request.
namespace PARAMS {

SEIRESTABLE decodeSEIRES(const uint8_t* p) {
    SEIRESTABLE t;
    for (int i = 0; i < SEIRES_SLOTS; ++i) t[size_t(i)] = RECSEIRES::decode(p + size_t(i) * RECSEIRES::SIZE);
    return t;
}

void encodeSEIRES(const SEIRESTABLE& t, uint8_t* p) {
    for (int i = 0; i < SEIRES_SLOTS; ++i) t[size_t(i)].encode(p + size_t(i) * RECSEIRES::SIZE);
}

std::string SEIRES_FILE(int MN) {
    switch (MN) {
    case 0: return "SEIRES";
    case 1: return "PSEIRES";
    default: return "ISEIRES";
    }
}

namespace {

bool greekCapital(uint8_t c) { return c >= 0x80 && c <= 0x97; }  // Α..Ω in code page 737

std::string words(size_t n, uint16_t v) {
    std::string s(2 * n, '\0');
    for (size_t i = 0; i < n; ++i) {
        s[2 * i] = char(v & 0xFF);
        s[2 * i + 1] = char(v >> 8);
    }
    return s;
}

// n chain nodes {HR WORD 65000, NR WORD 0}.
std::string emptyNodes(size_t n) {
    std::string s(4 * n, '\0');
    for (size_t i = 0; i < n; ++i) {
        s[4 * i] = char(65000 & 0xFF);
        s[4 * i + 1] = char(65000 >> 8);
    }
    return s;
}

constexpr size_t INDEX_SLOTS = 100000;  // one WORD per document number
constexpr size_t SH_HEADS = 22320;      // per-day heads, 1990 to 2049
constexpr size_t SPE_HEADS = 10000;     // per-customer heads
constexpr size_t SD_WORDS = 1000;       // freed record numbers

// A file that another workstation may be creating at the same moment: whichever comes first
// keeps its file, and an existing one is never replaced.
void createIfMissing(const std::string& name, const std::string& bytes) {
    const std::string fn = UMAS::PATH + name;
    if (PLAT::fileExists(fn)) return;
    PLAT::writeWholeNew(fn, bytes);
}

}  // namespace

std::string SEIRES_SUFFIX(const std::string& code) {
    const std::string c = trim(code);
    std::string s;
    for (unsigned char ch : c) {
        if (!greekCapital(ch)) return "";
        s += char(ch - 63);
    }
    return s;
}

void SEIRES_CREATEFILES(int MN, const SEIRESTABLE& t) {
    const std::string prefix = MN == 0 ? "TI_" : "SI_";
    std::string index;  // built once, only when a file is missing
    for (int i = 1; i < SEIRES_SLOTS; ++i) {
        const std::string suf = SEIRES_SUFFIX(t[size_t(i)].SEIRA);
        if (suf.empty()) continue;
        const std::string name = prefix + suf + ".DAT";
        if (PLAT::fileExists(UMAS::PATH + name)) continue;
        if (index.empty()) index = words(INDEX_SLOTS, 65000);
        createIfMissing(name, index);
    }
    if (MN != 1 || PLAT::fileExists(UMAS::PATH + "SI.DAT")) return;
    // The credit-note files; "SI.DAT" last, since its presence means that all five are there.
    createIfMissing("SM.DAT", "");
    createIfMissing("SD.DAT", words(SD_WORDS, 0));
    createIfMissing("SH.DAT", emptyNodes(SH_HEADS));
    createIfMissing("SPE.DAT", emptyNodes(SPE_HEADS));
    createIfMissing("SI.DAT", index.empty() ? words(INDEX_SLOTS, 65000) : index);
}

namespace {

const char* const PORTS[6] = {"LPT1", "LPT2", "LPT3", "COM1", "COM2", "USB "};
const char* const EMULS[8] = {"EpsonFX", "Graphic", "IBMPro ", "HP-PCL ", "Panas24", "OKI-393", "EpsonLQ", "HPPCL-6 "};

std::string rightNum(long v, int w) {
    std::string s = std::to_string(v);
    if (int(s.size()) < w) s.insert(0, size_t(w) - s.size(), ' ');
    return s;
}

class SeriesEditor {
public:
    explicit SeriesEditor(int MN) : MN_(MN), file_(SEIRES_FILE(MN)) {}

    void run() {
        SCR::CALLM(95, true);
        SCR::CALLM(2, true);
        UMAS::FKEY({1, 2, 4, 7, 8}, GM1);

        std::vector<uint8_t> buf(SEIRES_SIZE, 0);
        RUFPAR(file_, buf.data(), buf.size());
        t_ = decodeSEIRES(buf.data());
        opened_ = t_;
        BOX();

        int LI = 0, CO = 0, SE = 0, KK = 0;
        for (;;) {
            UMAS::EPIL(0, 14, 7, 0, 8, 1, 71, SEIRES_SLOTS - 1, 0, 0, LI, CO, SE, KK, 0);
            switch (KK) {
            case 0:
                editSlot(LI + 1);
                break;
            case 7:
                store();
                break;
            case 13:
                SCR::CALLM(58, true);
                SCR::PRINT(7, 23, PLAT::gr("ΓΙΝΟΥΝ ΑΡΧΕΙΑ ΣΕΙΡΩΝ "));
                if (PRNS::YES(36, 23)) SEIRES_CREATEFILES(MN_, t_);
                SCR::RECALL();
                break;
            case 4: case 5:
                BOX();
                break;
            case 3:
                SCR::RECALL();
                SCR::RECALL();
                return;
            default:
                break;
            }
        }
    }

private:
    int MN_;
    std::string file_;
    SEIRESTABLE t_;       // the work copy
    SEIRESTABLE opened_;  // the file as read when the editor opened or last stored

    // F1: the file is read again under "FPAR"; a slot whose next number the clerk left as it was
    // keeps the file's number, which another workstation may have advanced meanwhile.
    void store() {
        const std::string fn = UMAS::PATH + file_ + ".dat";
        UMAS::LOCK("FPAR");
        std::vector<uint8_t> cur(SEIRES_SIZE, 0);
        size_t have = 0;
        {
            PLAT::File f;
            if (f.open(fn, PLAT::File::READ, false)) {
                have = size_t(std::min<int64_t>(f.size(), int64_t(SEIRES_SIZE)));
                if (have > 0) f.readAt(0, cur.data(), have);
            }
        }
        const SEIRESTABLE onDisk = decodeSEIRES(cur.data());
        for (int i = 0; i < SEIRES_SLOTS; ++i) {
            const bool present = have >= size_t(i + 1) * RECSEIRES::SIZE;
            if (present && t_[size_t(i)].AA == opened_[size_t(i)].AA) t_[size_t(i)].AA = onDisk[size_t(i)].AA;
        }
        std::vector<uint8_t> out(SEIRES_SIZE, 0);
        encodeSEIRES(t_, out.data());
        PLAT::writeWholeAtomic(fn, std::string(out.begin(), out.end()));
        UMAS::UNLOC("FPAR");
        opened_ = t_;
        BOX();
    }

    static void normalize(RECSEIRES& r) {
        if (r.PORTA == 0) r.PORTA = 1;
        if (r.EMUL == 0) r.EMUL = 1;
        if (r.EMUL == 9) r.EMUL = 7;
    }

    void BOX() {
        for (int i = 1; i <= SEIRES_SLOTS; ++i) showSlot(i);
    }

    // Slot i on row i + 7; a named slot without a code shows blanks.
    void showSlot(int i) {
        RECSEIRES& r = t_[size_t(i - 1)];
        normalize(r);
        const int y = i + 7;
        const bool blank = i > 1 && trim(r.SEIRA).empty();
        if (i > 1) SCR::PRINT(8, y, padTo(r.SEIRA, 2) + "  ");
        SCR::PRINT(13, y, blank ? std::string(5, ' ') : rightNum(r.AA, 5));
        SCR::PRINT(20, y, blank || r.PORTA > 6 ? std::string(4, ' ') : std::string(PORTS[r.PORTA - 1]));
        SCR::PRINT(26, y, blank ? std::string(2, ' ') : rightNum(r.MIKSEL, 2));
        SCR::PRINT(35, y, blank ? std::string(2, ' ') : rightNum(r.KATAK, 2));
        SCR::PRINT(46, y, blank ? std::string(2, ' ') : rightNum(r.ORIZ, 2));
        SCR::PRINT(54, y, blank || r.EMUL > 8 ? std::string(8, ' ') : padTo(EMULS[r.EMUL - 1], 8));
        SCR::PRINT(65, y, blank ? std::string(2, ' ') : rightNum(r.POLAP, 2));
        SCR::PRINT(73, y, blank ? std::string(3, ' ') : std::string(r.FORMIX == 1 ? "NAI" : "OXI"));
    }

    // A numeric field: empty when 0, the rounded value of what is typed. Returns the exit code.
    int numField(int x, int y, int w, int32_t& v, int32_t max) {
        int K = 0;
        for (;;) {
            std::string shown = v == 0 ? "" : std::to_string(v);
            shown = shown.substr(0, std::min<size_t>(shown.size(), size_t(w)));
            std::string s = SCR::GINPUT(x, y, w, shown, "", SCR::socDigits(), false, true, K);
            // A number wider than its field comes back cut; left as it was, it keeps its value.
            if (s != shown) {
                double d = UMAS::EVAL(trim(s));
                v = d <= 0 ? 0 : int32_t(std::min<double>(d + 0.5, max));
            }
            SCR::PRINT(x, y, rightNum(v, w));
            if (K <= 3) return K;
        }
    }

    int byteField(int x, int y, uint8_t& b) {
        int32_t v = b;
        int K = numField(x, y, 2, v, 255);
        b = uint8_t(v);
        return K;
    }

    enum { F_SEIRA, F_AA, F_PORTA, F_MIKSEL, F_KATAK, F_ORIZ, F_EMUL, F_POLAP, F_FORMIX, F_DONE };

    void editSlot(int i) {
        const int y = i + 7;
        RECSEIRES& r = t_[size_t(i - 1)];
        SCR::CALLM(2, true);
        UMAS::FKEY({10}, GM1);
        std::string capitals = " ";
        for (int c = 0x80; c <= 0x97; ++c) capitals += char(c);
        const SCR::SOC codeSoc = SCR::soc(capitals);

        int f = i == 1 ? F_AA : F_SEIRA;
        auto move = [&](int K, int next, int prev) {  // Enter/Down next, Up prev, Esc to the table
            if (K == 0 || K == 2) f = next;
            else if (K == 1) f = prev;
            else if (K == 3) f = F_DONE;
        };
        while (f != F_DONE) {
            switch (f) {
            case F_SEIRA: {
                int K = 0;
                std::string s = SCR::GINPUT(8, y, 2, r.SEIRA, "", codeSoc, false, true, K);
                r.SEIRA = trim(s);
                showSlot(i);
                if (K == 0) f = F_AA;
                else if (K == 2 || K == 3) f = F_DONE;
                break;
            }
            case F_AA: {
                int K = numField(13, y, 5, r.AA, 99999);
                move(K, F_PORTA, i == 1 ? F_DONE : F_SEIRA);
                break;
            }
            case F_PORTA:
            case F_EMUL:
            case F_FORMIX: {
                SCR::CURSOR(true);
                PLAT::con().gotoXY(f == F_PORTA ? 20 : f == F_EMUL ? 54 : 73, y);
                PLAT::KeyEvent k = PLAT::con().readKey();
                const bool up = k.extended() && k.scan == PLAT::SC::UP;
                const bool down = k.extended() && k.scan == PLAT::SC::DOWN;
                const bool enter = !k.extended() && k.ch == 13;
                const bool esc = !k.extended() && k.ch == 27;
                const bool tab = !k.extended() && k.ch == 9;
                if (f == F_PORTA) {
                    if (tab) {
                        int c = SELECT(0);
                        if (c != 99) r.PORTA = uint8_t(c + 1);
                        showSlot(i);
                        f = F_MIKSEL;
                    } else if (enter || down) f = F_MIKSEL;
                    else if (up) f = F_AA;
                    else if (esc) f = F_DONE;
                } else if (f == F_EMUL) {
                    if (tab) {
                        int c = SELECT(1);
                        if (c != 99) r.EMUL = uint8_t(c + 1);
                        showSlot(i);
                        f = F_POLAP;
                    } else if (enter || down || esc) f = F_POLAP;
                    else if (up) f = F_ORIZ;
                } else {
                    if (tab) {
                        int c = SELECT(2);
                        if (c != 99) r.FORMIX = uint8_t(c);
                        SCR::PRINT(73, y, r.FORMIX == 1 ? std::string("NA") + PLAT::gr("Ι") : PLAT::gr("ΟΧΙ"));
                        f = F_DONE;
                    } else if (enter || down || esc) f = F_DONE;
                    else if (up) f = F_POLAP;
                }
                break;
            }
            case F_MIKSEL: move(byteField(26, y, r.MIKSEL), F_KATAK, F_PORTA); break;
            case F_KATAK: move(byteField(35, y, r.KATAK), F_ORIZ, F_MIKSEL); break;
            case F_ORIZ: move(byteField(46, y, r.ORIZ), F_EMUL, F_KATAK); break;
            case F_POLAP: move(byteField(65, y, r.POLAP), F_FORMIX, F_EMUL); break;
            default: f = F_DONE; break;
            }
        }
        SCR::CURSOR(false);
        SCR::RECALL();
    }

    // A short list on mask 87: 0 ports, 1 emulations, 2 signing. The 0-based line, 99 on Esc.
    static int SELECT(int which) {
        SCR::CALLM(87, true);
        int first = 18, n = 6;
        if (which == 1) {
            for (int y = 16; y <= 24; ++y) SCR::PRINT(2, y, std::string(16, ' '));
            SCR::PRINT(6, 16, "EMULATION");
            for (int k = 0; k < 7; ++k) SCR::PRINT(6, 17 + k, EMULS[k]);
            SCR::PRINT(2, 24, "    HPPCL-6     ");
            first = 17;
            n = 8;
        } else if (which == 2) {
            for (int y = 16; y <= 24; ++y) SCR::PRINT(2, y, std::string(16, ' '));
            SCR::PRINT(6, 16, PLAT::gr(" ΕΑΦΔΣΣ "));
            SCR::PRINT(6, 19, "  OXI  ");
            SCR::PRINT(6, 20, "  NAI  ");
            first = 19;
            n = 2;
        }
        int LI = 0, CO = 0, SE = 0, KK = 0, res = 99;
        for (;;) {
            UMAS::EPIL(4, 15, 3, 0, first, 1, 13, n - 1, 0, 0, LI, CO, SE, KK, 0);
            if (KK == 0) {
                res = LI;
                break;
            }
            if (KK == 3) break;
        }
        SCR::RECALL();
        return res;
    }
};

}  // namespace

void SEIRES(int MN) { SeriesEditor(MN == 1 ? 1 : 0).run(); }

}  // namespace PARAMS
