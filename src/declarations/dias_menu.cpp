// The declarations menu of one kind and the date-range entry of the lists.
#include <algorithm>

#include "common/umas.h"
#include "declarations/dias.h"
#include "declarations/ek0.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace DIAS {

uint16_t E = 0, M = 0, H = 0, D = 0;
std::string B4;
std::string H1, H2;
std::array<std::string, 11> GM1;

// The lists of the menu come with their own screens; until then they return at once.
void DIAP(const std::string&);
void DIAH(const std::string&);
void ANAZHTHSH(const std::string&);
void YPDI(const std::string&);

namespace {

void today() {
    PLAT::DateTime t = PLAT::now();
    E = uint16_t(t.year);
    M = uint16_t(t.month);
    H = uint16_t(t.day);
    D = uint16_t(PLAT::weekday(t.year, t.month, t.day));
}

void legend() {
    GM1 = {};
    GM1[1] = "ESC.Menu";
    GM1[4] = PLAT::gr("Shift-F1.Εκτύπωση");
    GM1[5] = PLAT::gr(" , ,1-4.Μετακίνηση");
    GM1[6] = PLAT::gr("Enter.Επιλογή");
    GM1[7] = PLAT::gr(" , .Μετακίνηση");
    GM1[8] = PLAT::gr("Enter.Υπόδειγμα");
    GM1[9] = PLAT::gr(" , , , .Μετακίνηση");
    GM1[10] = PLAT::gr("F4.Ταξινόμηση");
    GM1[5][0] = char(24);
    GM1[5][2] = char(25);
    GM1[7][0] = char(24);
    GM1[7][2] = char(25);
    GM1[9][0] = char(26);
    GM1[9][2] = char(27);
    GM1[9][4] = char(24);
    GM1[9][6] = char(25);
}

std::string two(int n) { return std::string(1, char('0' + n / 10 % 10)) + char('0' + n % 10); }

struct Date {
    int d = 0, m = 0, y = 0;
};

// Reads a complete six-digit text as day, month and year of the current century.
Date readDate(const std::string& T) {
    Date r;
    r.d = std::stoi(T.substr(0, 2));
    r.m = std::stoi(T.substr(2, 2));
    r.y = std::stoi(B4.substr(0, 2) + T.substr(4, 2));
    if (r.y > 2088) r.y -= 100;
    if (r.y < 1921) r.y += 100;
    return r;
}

bool yearOk(int y) { return y >= 1990 && y <= 2049; }

}  // namespace

void ELM(uint16_t& EA, uint16_t& MA, uint16_t& HA) {
    if (MA == 2) {
        uint16_t last = EA % 4 == 0 ? 29 : 28;
        if (HA > 28) HA = std::min<uint16_t>(HA, last);
    } else if (MA == 4 || MA == 6 || MA == 9 || MA == 11) {
        if (HA > 30) HA = 30;
    }
}

bool HMERCOMPLETE(std::string& T) {
    std::string t;
    for (char c : T)
        if (c != ' ') t += c;
    if (t.find_first_not_of("0123456789") != std::string::npos || t.size() > 6) return false;
    if (B4.size() != 4) B4 = std::to_string(E);
    if (t.empty()) t = two(H);
    if (t.size() == 1) t = "0" + t;
    if (t.size() == 2) t += two(M) + B4.substr(2, 2);
    if (t.size() == 3) t = "0" + t;
    if (t.size() == 4) {
        int m = std::stoi(t.substr(0, 2));
        int y = std::stoi(B4.substr(0, 2) + t.substr(2, 2));
        if (y > 2088) y -= 100;
        if (y < 1921) y += 100;
        if (m >= 1 && m <= 12 && yearOk(y))
            t = "01" + t;
        else if (yearOk(std::stoi(t)))
            t = "0101" + t.substr(2, 2);
    }
    if (t.size() == 5) t = "0" + t;
    T = t;
    if (t.size() != 6) return false;
    Date r = readDate(t);
    if (r.m < 1 || r.m > 12 || r.d < 1 || r.d > 31 || !yearOk(r.y)) return false;
    if (r.d > 28) {
        uint16_t y = uint16_t(r.y), m = uint16_t(r.m), d = uint16_t(r.d);
        ELM(y, m, d);
        T = two(d) + t.substr(2);
    }
    return true;
}

void HMER(std::string& h1, std::string& h2, int X1, int Y1, int X2, int Y2, int& KK, bool DAYOUT) {
    PLAT::Console& c = PLAT::con();
    const SCR::SOC digits = SCR::socDigits();
    auto show = [&](const std::string& T, int X, int Y) {
        SCR::PRINT(X, Y, T);
        if (DAYOUT) {
            Date r = readDate(T);
            SCR::PRINT(X + 7, Y, UMAS::WE[size_t(PLAT::weekday(r.y, r.m, r.d))]);
        }
    };
    // Edits one date until it is complete and valid, or the clerk leaves it with Up or Esc.
    auto field = [&](std::string& T, int X, int Y) {
        for (;;) {
            T = SCR::GINPUT(X, Y, 6, T, "", digits, false, true, KK);
            if (KK == 1 || KK == 3) return;
            if (KK != 0 && KK != 2) continue;
            if (!HMERCOMPLETE(T)) {
                c.bell();
                continue;
            }
            show(T, X, Y);
            return;
        }
    };
    for (;;) {
        field(h1, X1, Y1);
        if (KK == 1 || KK == 3) return;
        for (;;) {
            field(h2, X2, Y2);
            if (KK == 1 || KK == 3) break;
            Date a = readDate(h1), b = readDate(h2);
            if (std::tie(b.y, b.m, b.d) < std::tie(a.y, a.m, a.d)) {
                c.bell();
                continue;
            }
            return;
        }
        if (KK == 3) return;
    }
}

void DIAZ(const std::string& EXT) {
    today();
    SCR::CALLM(16, true);
    if (EXT == "IMP") SCR::PRINT(40, 5, PLAT::gr("ΕΙΣΑΓΩΓΗΣ ╞══"));
    if (EXT == "EXP") SCR::PRINT(40, 5, PLAT::gr("ΕΞΑΓΩΓΗΣ ╞═══"));
    if (EXT == "MET") SCR::PRINT(40, 5, PLAT::gr("ΑΠΟΤΑΜΙΕΥΣΗΣ ╞"));
    if (EXT == "MTF") SCR::PRINT(24, 5, PLAT::gr("╡ ΔΗΛΩΣΕΙΣ ΔΙΑΜΕΤΑΚΟΜΙΣΗΣ (Τ1) ╞"));
    if (EXT == "DFK") {
        SCR::PRINT(28, 5, PLAT::gr("    ΔΗΛΩΣΕΙΣ Ε.Φ.Κ.    "));
        SCR::PRINT(44, 8, PLAT::gr("Δ.Ε.Φ.Κ.   "));
        SCR::PRINT(28, 10, PLAT::gr("Δ.Ε.Φ.Κ. ΑΝΑ ΠΕΛΑΤΗ       "));
        SCR::PRINT(28, 12, PLAT::gr("Δ.Ε.Φ.Κ. ΑΝΑ ΗΜΕΡΟΜΗΝΙΑ   "));
        SCR::PRINT(40, 14, PLAT::gr("Δ.Ε.Φ.Κ.   "));
    }
    SCR::CALLM(2, true);
    legend();
    UMAS::FKEY({1, 5, 6}, GM1);
    int LI = 0, CO = 0, SE = 0, KK = 0;
    for (;;) {
        KK = 0;
        UMAS::EPIL(4, 15, 23, 0, 8, 2, 33, 4, 0, 0, LI, CO, SE, KK, UMAS::PE_DIAS);
        if (KK == 3) break;
        if (KK != 0) continue;
        switch (LI) {
        case 0: EK0::DISF("", EXT, 0); break;
        case 1: DIAP(EXT); break;
        case 2: DIAH(EXT); break;
        case 3: ANAZHTHSH(EXT); break;
        case 4: YPDI(EXT); break;
        default: break;
        }
        UMAS::FKEY({1, 5, 6}, GM1);
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace DIAS
