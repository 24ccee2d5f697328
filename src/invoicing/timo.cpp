// The invoice editor (mask 8): series, number, date, declaration, customer and the 18 charge
// lines, with the keys that store, delete and open the statement, the rate table and the
// calculator.
#include <cstdio>

#include "common/umas.h"
#include "config/params.h"
#include "customers/arp0.h"
#include "customers/pelat.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace TIM {

namespace {

constexpr uint16_t NONE = 65000;
using UMAS::cut;
using UMAS::padTo;
using UMAS::trim;

bool blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

bool euroNow() { return TIM0::EUROYEARS(TIM0::EUROYEAR); }

// The collation alphabet of the name field's Down key (no digits).
const std::string& NEXTAB() {
    static const std::string ab = PLAT::gr(" ΑAΒBVΓGΔDΕEΖZΗΘΙIΚKCQΛLΜMΝNΞXΟOΠPΡRΣSΤTΥYΦFΧHΨΩJUW/-.&");
    return ab;
}

char successor(char c) {
    const size_t p = NEXTAB().find(c);
    if (p == std::string::npos || p + 1 >= NEXTAB().size()) return ' ';
    return NEXTAB()[p + 1];
}

void beep() { PLAT::con().bell(); }

// The yes/no question of mask 42 (answer at column 30, row 23).
bool askStore() {
    const int before = SCR::STACKPOINTER();
    SCR::CALLM(42, true);
    const bool shown = SCR::STACKPOINTER() != before;
    const bool yes = PRNS::YES(30, 23);
    if (shown) SCR::RECALL();
    return yes;
}

// A notice on mask 56 at column 20, row 6 (nothing written: the mask's own text), until Esc.
void notice56(const std::string& cp737) {
    const int before = SCR::STACKPOINTER();
    SCR::CALLM(56, true);
    const bool shown = SCR::STACKPOINTER() != before;
    if (!cp737.empty()) SCR::PRINT(20, 6, cp737);
    PLAT::Console& c = PLAT::con();
    c.refresh();
    while (c.readKey().ch != 27) continue;
    if (shown) SCR::RECALL();
}

}  // namespace

// ---- Dates -----------------------------------------------------------------------------------------

bool COMPLETEDATE(std::string& S) {
    std::string s = trim(S);
    if (s.empty() || s.find_first_not_of("0123456789") != std::string::npos) return false;
    const PLAT::DateTime now = PLAT::now();
    char b[8];
    if (s.size() == 1) s = "0" + s;
    if (s.size() == 2) s += std::to_string(now.month);
    if (s.size() == 3) s = s.substr(0, 2) + "0" + s.substr(2);
    if (s.size() == 4) {
        std::snprintf(b, sizeof b, "%02d", now.year % 100);
        s += b;
    }
    if (s.size() != 6) return false;
    const int d = std::stoi(s.substr(0, 2)), m = std::stoi(s.substr(2, 2)), y = std::stoi(s.substr(4, 2));
    if (d < 1 || d > 31 || m < 1 || m > 12) return false;
    // Two-digit years are 1990 to 2049.
    if (y >= 50 && y <= 89) return false;
    S = s;
    return true;
}

std::string WEEKDAYOF(const std::string& HM) {
    if (HM.size() < 6 || HM.find_first_not_of("0123456789") != std::string::npos) return "  ";
    const int d = std::stoi(HM.substr(0, 2)), m = std::stoi(HM.substr(2, 2)), y = std::stoi(HM.substr(4, 2));
    if (d < 1 || d > 31 || m < 1 || m > 12) return "  ";
    return UMAS::WE[size_t(PLAT::weekday(y < 90 ? 2000 + y : 1900 + y, m, d))];
}

// ---- Drawing -----------------------------------------------------------------------------------------

double VATTOTAL() {
    double v = 0;
    for (int K = 1; K <= 18; ++K) v += TIMOS::EXEIFPA(K);
    return v;
}

void DRAWHEAD() {
    TIM0::EUROYEAR = TIM0::YEAROF(TIM0::HM);
    SCR::PRINT(10, 2, padTo(TIM0::SEIRA, 2));
    SCR::PRINT(20, 2, padTo(TIM0::TM, 5));
    SCR::PRINT(16, 3, padTo(TIM0::HM, 6));
    SCR::PRINT(23, 3, WEEKDAYOF(TIM0::HM));
    SCR::PRINT(16, 4, padTo(TIM0::KD, 10));
    SCR::PRINT(39, 2, padTo(APODI::EA, 30));
    SCR::PRINT(39, 3, padTo(APODI::DI, 40));
    SCR::PRINT(39, 4, padTo(APODI::PO, 20));
    SCR::PRINT(69, 4, padTo(APODI::AF, 10));
    SCR::PRINT(57, 24, PLAT::gr(euroNow() ? " ΕΥΡΩ  " : "Δραχμές"));
}

void DRAWLINE(int U) {
    const int y = U + 4;
    if (U <= 11) SCR::PRINT(55, y, padTo(TIM0::NO[size_t(U)], 9));
    if (U >= 14 && U <= 17) SCR::PRINT(3, y, padTo(TIM0::AI[size_t(U - 1)], 23));
    SCR::PRINT(69, y, TIM0::AMOUNTTEXT(TIM0::XR[size_t(U)], euroNow()));
}

void DRAWTOTALS() {
    SCR::PRINT(52, 23, padTo(TIM0::FP, 3));
    SCR::PRINT(69, 23, TIM0::AMOUNTTEXT(VATTOTAL(), euroNow()));
    SCR::PRINT(69, 24, TIM0::AMOUNTTEXT(TIM0::SU + (euroNow() ? TIM0::RAPTSU : 0), euroNow()));
}

void DRAWFORM(TIMOS& t) {
    t.BOX();
    DRAWHEAD();
    for (int U = 1; U <= 18; ++U) DRAWLINE(U);
    DRAWTOTALS();
    DRAWMARK(t.PAIPS[1]);
}

void DRAWMARK(int32_t mark) {
    if (mark != 0) {
        // The label from column 3, the mark in the five cells from column 24, where Shift-F4 edits it.
        UMAS::ATR(2, 23, 28, 0x2F);
        SCR::PRINT(2, 23, padTo(" " + PLAT::gr("Α/Α ΣΗΜΑΝΣΗΣ ΕΑΦΔΣΣ: ") + UMAS::LO2S(mark, 5), 28));
    } else {
        SCR::PRINT(2, 23, std::string(28, ' '));
        UMAS::ATR(2, 23, 28, 0x0E);
    }
}

void SETLINE(int U, double amount) {
    TIM0::SU -= TIM0::XR[size_t(U)] + TIMOS::EXEIFPA(U);
    TIM0::XR[size_t(U)] = amount;
    TIM0::SU += TIM0::XR[size_t(U)] + TIMOS::EXEIFPA(U);
    DRAWLINE(U);
    DRAWTOTALS();
}

// ---- The editor ----------------------------------------------------------------------------------------

namespace {

enum class F { RESTART, SERIES, PROPOSE, NUMBER, DATE, DECL, NAME, SIDE, AMOUNT, LEAVE };

struct Editor {
    TIMOS t;
    bool withSeries = false;  // the kind has named series files
    F f = F::RESTART;
    int U = 1;

    explicit Editor(uint8_t typ) : t(typ) {}

    bool signedDoc() const { return t.PAIPS[1] != 0; }
    bool hasCustomer() const { return APODI::PR != NONE && !blank(APODI::EA); }
    // The document would be lost on leaving: unsigned, changed, with a customer.
    bool unsaved() const { return !signedDoc() && t.ALLA() && hasCustomer(); }

    void title() {
        if (t.TYPOSPARAST != 2) return;
        SCR::PRINT(27, 1, PLAT::gr("    ΠΙΣΤΩΤΙΚΟ ΤΙΜΟΛΟΓΙΟ    "));
        UMAS::ATR(26, 2, 54, 0x2F);
        UMAS::ATR(2, 3, 78, 0x2F);
        UMAS::ATR(2, 4, 78, 0x2F);
    }

    void restart() {
        t.BTM.clear();
        TIM0::TM.clear();
        t.SETSEIRA("");
        t.CLLS();
        DRAWFORM(t);
        APODI::BON.clear();
        title();
        f = withSeries ? F::SERIES : F::PROPOSE;
    }

    void series() {
        int k = 0;
        static const SCR::SOC codeChars = [] {
            SCR::SOC s = SCR::socRange(128, 151);
            s.set(' ');
            return s;
        }();
        const std::string s = SCR::GINPUT(10, 2, 2, TIM0::SEIRA, "", codeChars, false, true, k);
        if (k == 3) {
            f = F::LEAVE;
            return;
        }
        if (k != 0 && k != 2) return;
        t.SETSEIRA(s);
        SCR::PRINT(10, 2, padTo(TIM0::SEIRA, 2));
        if (!TIM0::SEIRA.empty() && !PLAT::fileExists(UMAS::PATH + t.INDEXFILE())) {
            notice56(PLAT::gr(" ΑΓΝΩΣΤΗ ΣΕΙΡΑ ΤΙΜΟΛΟΓΙΩΝ  "));
            return;
        }
        f = F::PROPOSE;
    }

    void propose() {
        UMAS::LOCK("FPAR");
        auto img = PLAT::readWhole(UMAS::PATH + t.SERIESFILE());
        UMAS::UNLOC("FPAR");
        if (img && img->size() >= PARAMS::SEIRES_SIZE) {
            const PARAMS::SEIRESTABLE s = PARAMS::decodeSEIRES(reinterpret_cast<const uint8_t*>(img->data()));
            int slot = -1;
            if (TIM0::SEIRA.empty())
                slot = 0;
            else
                for (int i = 1; i < PARAMS::SEIRES_SLOTS; ++i)
                    if (s[size_t(i)].SEIRA == TIM0::SEIRA) slot = i;
            if (slot >= 0) {
                const int32_t aa = s[size_t(slot)].AA;
                TIM0::TM = padTo(aa >= 0 && aa <= 99999 ? std::to_string(aa) : "", 6);
            }
        }
        f = F::NUMBER;
    }

    void number() {
        int k = 0;
        const std::string s = SCR::GINPUT(20, 2, 5, trim(TIM0::TM), "", SCR::socDigits(), false, true, k);
        TIM0::TM = padTo(s, 6);
        SCR::PRINT(20, 2, padTo(TIM0::TM, 5));
        if (k == 3) {
            f = F::LEAVE;
            return;
        }
        if (k == 1) {
            f = withSeries ? F::SERIES : F::PROPOSE;
            return;
        }
        if ((k != 0 && k != 2) || blank(TIM0::TM)) return;
        if (TIM0::TM != t.BTM) {
            if (UMAS::ELDI(t.BTM, TIM0::TM, "NUTI", 6)) {
                TIM0::TM = t.BTM;
                SCR::PRINT(20, 2, padTo(TIM0::TM, 5));
                return;
            }
            if (!t.BTM.empty() && unsaved() && askStore()) {
                // The document on screen is stored under its own number; when its store is refused
                // it stays on screen under that number, which is claimed again.
                const std::string typed = TIM0::TM;
                TIM0::TM = t.BTM;
                if (!t.KTT(true, false)) {
                    if (UMAS::ELDI(typed, t.BTM, "NUTI", 6)) UMAS::MHNU(typed, "NUTI", 6);
                    SCR::PRINT(20, 2, padTo(TIM0::TM, 5));
                    return;
                }
                TIM0::TM = typed;
            }
            UMAS::LOCK("FTIM");
            t.CHO();
            if (APODI::BOO) {
                t.RUF();
                if (t.AKNUM > 0) {
                    UMAS::UNLOC("FTIM");
                    DRAWFORM(t);
                    title();
                    t.SHOWCANCELLED();
                    UMAS::MHNU(TIM0::TM, "NUTI", 6);
                    restart();
                    return;
                }
            } else {
                t.CLLS();
            }
            UMAS::UNLOC("FTIM");
            DRAWFORM(t);
            title();
            t.BTM = TIM0::TM;
        }
        f = F::DATE;
    }

    void date() {
        int k = 0;
        std::string s = SCR::GINPUT(16, 3, 6, TIM0::HM, "", SCR::socDigits(), false, true, k);
        if (k == 3) {
            f = F::LEAVE;
            return;
        }
        if (k == 1) {
            f = F::NUMBER;
            return;
        }
        if (k != 0 && k != 2) return;
        if (!COMPLETEDATE(s)) {
            beep();
            SCR::PRINT(16, 3, padTo(TIM0::HM, 6));
            return;
        }
        TIM0::HM = s;
        // The currency follows the date: the whole form is shown again in it.
        DRAWFORM(t);
        title();
        f = F::DECL;
    }

    // F5 in the declaration and name fields and on the charge lines.
    void remove(F back) {
        const bool deleted = t.DIAG();
        if (deleted) {
            DRAWFORM(t);
            title();
        }
        f = APODI::PR == NONE ? F::NUMBER : back;
    }

    void decl() {
        int k = 0;
        TIM0::KD = padTo(SCR::GINPUT(16, 4, 10, trim(TIM0::KD), "", SCR::socDigits(), false, true, k), 10);
        SCR::PRINT(16, 4, TIM0::KD);
        if (k == 3) {
            f = F::LEAVE;
            return;
        }
        if (k == 1) {
            f = F::DATE;
            return;
        }
        if (k == 11) {
            remove(F::DECL);
            return;
        }
        if (k != 0 && k != 2) return;
        if (t.FILLS()) {
            APODI::BON.clear();
            if (!blank(TIM0::KD)) {
                UMAS::LOCK("FDIA");
                t.CHOD();
                const bool filled = t.DECLFOUND && t.RUFD();
                UMAS::UNLOC("FDIA");
                if (!filled)
                    notice56("");
                else
                    DRAWHEAD();
            }
        }
        f = F::NAME;
    }

    void showCustomer() {
        SCR::PRINT(39, 2, padTo(APODI::EA, 30));
        SCR::PRINT(39, 3, padTo(APODI::DI, 40));
        SCR::PRINT(39, 4, padTo(APODI::PO, 20));
        SCR::PRINT(69, 4, padTo(APODI::AF, 10));
    }

    void lookup() {
        APODI::CHEP();
        if (APODI::PR == NONE) return;
        t.SPAC();
        showCustomer();
        APODI::BON = APODI::EA;
    }

    void name() {
        int k = 0;
        SCR::CALLM(20, true);
        const std::string s =
            SCR::GINPUT(39, 2, 30, UMAS::CUTLEADSPACES(APODI::EA), "", nameChars(), false, true, k);
        SCR::RECALL();
        APODI::EA = APODI::FOLDNAME(s);
        SCR::PRINT(39, 2, APODI::EA);
        if (k == 0 || k == 2 || k == 6) {
            const char c0 = APODI::EA[0];
            if (c0 == '&' || c0 == '-' || c0 == '.' || c0 == '/') {
                beep();
                return;
            }
        }
        const bool confirmed = APODI::EA == APODI::BON && !blank(APODI::EA);
        switch (k) {
        case 0:
            if (confirmed) {
                U = 1;
                f = F::SIDE;
            } else {
                lookup();
            }
            return;
        case 2:
            if (confirmed) {
                std::string& n = APODI::EA;
                if (n[29] == '&')
                    n[28] = successor(n[28]);
                else
                    n[29] = successor(n[29]);
            }
            lookup();
            return;
        case 6: {
            uint16_t pr = NONE;
            ARP0::RR0 r;
            PELAT::ALPHAPEL(APODI::EA, 0, pr, &r);
            if (pr == NONE) return;
            APODI::TAKE(pr, r);
            t.SPAC();
            showCustomer();
            APODI::BON = APODI::EA;
            U = 1;
            f = F::SIDE;
            return;
        }
        case 1: f = F::DECL; return;
        case 3: f = F::LEAVE; return;
        case 11: remove(F::NAME); return;
        default: return;
        }
    }

    static SCR::SOC nameChars() {
        SCR::SOC s;
        for (int c = 0; c < 256; ++c)
            if (APODI::SAB(uint8_t(c))) s.set(size_t(c));
        return s;
    }

    // The keys common to the three charge-line fields; true when the key was one of them.
    bool common(int k) {
        switch (k) {
        case 3: f = F::LEAVE; return true;
        case 4: {
            int K = k;
            TIM0::KED(K);
            DRAWFORM(t);
            title();
            return true;
        }
        case 5:
            U = 18;
            rateTable();
            f = F::AMOUNT;
            return true;
        case 7:
            t.KTT(true, false);
            DRAWFORM(t);
            title();
            f = F::NUMBER;
            return true;
        case 10:
            t.DETAILS();
            return true;
        case 11: remove(f); return true;
        case 13:
            t.CUSTOMS();
            return true;
        case 14:
            t.DETAILS();
            PARAMS::INVOICETABLESNOTICE(false, true);
            t.KTT(true, false);
            DRAWFORM(t);
            title();
            if (t.PRINTPARAST(0)) {
                UMAS::MHNU(t.BTM, "NUTI", 6);
                restart();
            }
            return true;
        case 19:
            // The mark line stays as the manual mark leaves it: cleared after any key but Shift-F9.
            t.MANUALMARK();
            return true;
        case 20: PARAMS::CALC(TIM0::CAS); return true;
        case 21:
            if (!signedDoc()) return true;
            PARAMS::INVOICETABLESNOTICE(false, true);
            if (t.CANCEL()) {
                UMAS::MHNU(t.BTM, "NUTI", 6);
                restart();
            }
            return true;
        default: return false;
        }
    }

    void rateTable() {
        TIM0::PXP();
        // The table may have changed the document's rate: the total is computed again.
        DRAWFORM(t);
        title();
    }

    void side() {
        int k = 0;
        const int y = U + 4;
        if (U <= 11) {
            TIM0::NO[size_t(U)] = padTo(SCR::GINPUT(55, y, 9, TIM0::NO[size_t(U)], "", SCR::socAll(), false, true, k), 9);
            SCR::PRINT(55, y, TIM0::NO[size_t(U)]);
            if (k == 0 || k == 2) {
                f = F::AMOUNT;
            } else if (k == 1) {
                if (U == 1) {
                    f = F::NAME;
                } else {
                    --U;
                    f = F::AMOUNT;
                }
            } else if (k == 6) {
                if (U == 8) TIM0::NO[8] = padTo(std::to_string(TIM0::DAPANES() + 1), 9);
            } else {
                common(k);
            }
        } else if (U >= 14 && U <= 17) {
            std::string& cap = TIM0::AI[size_t(U - 1)];
            TIM0::SU -= TIMOS::EXEIFPA(U);
            cap = padTo(SCR::GINPUT(3, y, 23, cap, "", SCR::socAll(), false, true, k), 23);
            TIM0::SU += TIMOS::EXEIFPA(U);
            DRAWLINE(U);
            DRAWTOTALS();
            if (k == 0 || k == 2) {
                f = F::AMOUNT;
            } else if (k == 1) {
                if (U == 15) {
                    U = 14;
                } else {
                    --U;
                    f = F::AMOUNT;
                }
            } else if (k != 6) {
                common(k);
            }
        } else {
            f = F::AMOUNT;
        }
    }

    void amount() {
        int k = 0;
        const int y = U + 4;
        const std::string init = trim(TIM0::AMOUNTTEXT(TIM0::XR[size_t(U)], euroNow()));
        TIM0::BP = SCR::GINPUT(69, y, 10, init, "", SCR::soc("0123456789."), false, true, k);
        SETLINE(U, UMAS::EVAL(TIM0::BP));
        if (k == 0 || k == 2) {
            if (U == 18) {
                rateTable();
            } else {
                ++U;
                f = (U <= 11 || (U >= 14 && U <= 17)) ? F::SIDE : F::AMOUNT;
            }
        } else if (k == 1) {
            if (U <= 11 || (U >= 15 && U <= 17)) {
                f = F::SIDE;
            } else {
                --U;
                f = F::AMOUNT;
            }
        } else if (k != 6) {
            common(k);
        }
    }

    // False when the clerk asked for the store of the changed document and it was refused: the
    // editor is not left.
    bool leave() {
        if (unsaved() && askStore() && !t.KTT(true, false)) return false;
        if (!t.BTM.empty()) UMAS::MHNU(t.BTM, "NUTI", 6);
        t.BTM.clear();
        return true;
    }

    void run() {
        SCR::CALLM(2, true);
        UMAS::FKEY({1, 2, 3, 4, 8, 9}, TIM0::GM2());
        SCR::CALLM(8, true);
        TIM0::INIKED();
        // A missing table of headings or print layout is told before anything is stored or printed.
        PARAMS::INVOICETABLESNOTICE(true, true);
        for (auto& d : TIM0::DS) d.clear();
        withSeries = !PLAT::findFiles(UMAS::PATH + (t.TYPOSPARAST == 2 ? "SI_*.DAT" : "TI_*.DAT")).empty();
        for (;;) {
            switch (f) {
            case F::RESTART: restart(); break;
            case F::SERIES: series(); break;
            case F::PROPOSE: propose(); break;
            case F::NUMBER: number(); break;
            case F::DATE: date(); break;
            case F::DECL: decl(); break;
            case F::NAME: name(); break;
            case F::SIDE: side(); break;
            case F::AMOUNT: amount(); break;
            case F::LEAVE:
                if (!leave()) {
                    f = F::NUMBER;
                    break;
                }
                SCR::RECALL();
                SCR::RECALL();
                return;
            }
        }
    }
};

}  // namespace

void TIMO(uint8_t TYPOSPARAST) {
    Editor e(TYPOSPARAST);
    e.run();
}

}  // namespace TIM
