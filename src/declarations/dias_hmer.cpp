// The state the per-kind declarations menu shares with its lists, and the date-range entry the
// lists use (from-date and to-date with shorthand completion and calendar checks).
#include "declarations/dias.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace DIAS {

uint16_t E = 0, M = 0, H = 0, D = 0;
std::string B4, B2, H1, H2;
int JJ = 0;

// Entries 5, 7 and 9 carry the arrows (characters 24 up, 25 down, 26 right, 27 left).
UMAS::FUN GM1 = {"",
                 PLAT::gr("ESC.Menu"),
                 "",
                 "",
                 PLAT::gr("Shift-F1.Εκτύπωση"),
                 std::string("\x18,\x19,1-4.") + PLAT::gr("Μετακίνηση"),
                 PLAT::gr("Enter.Επιλογή"),
                 std::string("\x18,\x19.") + PLAT::gr("Μετακίνηση"),
                 PLAT::gr("Enter.Υπόδειγμα"),
                 std::string("\x1A,\x1B,\x18,\x19.") + PLAT::gr("Μετακίνηση"),
                 PLAT::gr("F4.Ταξινόμηση")};

void TODAY() {
    const PLAT::DateTime t = PLAT::now();
    E = uint16_t(t.year);
    M = uint16_t(t.month);
    H = uint16_t(t.day);
    D = uint16_t(PLAT::weekday(t.year, t.month, t.day));
}

void ELM(uint16_t& EA, uint16_t& MA, uint16_t& HA) {
    if (MA == 2) {
        const uint16_t last = EA % 4 == 0 ? 29 : 28;
        if (HA > 28) HA = last;
    } else if ((MA == 4 || MA == 6 || MA == 9 || MA == 11) && HA > 30) {
        HA = 30;
    }
}

namespace {

std::string two(int n) { return std::string(1, char('0' + n / 10 % 10)) + char('0' + n % 10); }
bool digits(const std::string& s) { return s.find_first_not_of("0123456789") == std::string::npos; }
int num(const std::string& s, size_t at, size_t n) { return std::stoi(s.substr(at, n)); }
// A two-digit year as a full year: 90..99 are 19YY, the rest 20YY; the dates of the program lie
// in 1990 to 2049.
int fullYear(int yy) { return (yy >= 90 ? 1900 : 2000) + yy; }
bool inRange(int year) { return year >= 1990 && year <= 2049; }

// Completes the typed digits T (empty, 1 to 5 digits, or 6) to DDMMYY and checks it; the day is
// clamped to its month. False when it is not a date of 1990 to 2049.
bool complete(std::string& T, int& Y, int& Mo, int& Da) {
    if (!digits(T)) return false;
    const std::string yy = B4.size() >= 4 ? B4.substr(2, 2) : two(E % 100);
    if (T.empty()) T = two(H);
    if (T.size() == 1) T = "0" + T;
    if (T.size() == 2) T += two(M) + yy;
    if (T.size() == 3) T = "0" + T;
    if (T.size() == 4) {
        const int m = num(T, 0, 2), y = fullYear(num(T, 2, 2));
        if (m >= 1 && m <= 12 && inRange(y))
            T = "01" + T;
        else if (inRange(num(T, 0, 4)))
            T = "0101" + T.substr(2, 2);
    }
    if (T.size() == 5) T = "0" + T;
    if (T.size() != 6) return false;
    Da = num(T, 0, 2);
    Mo = num(T, 2, 2);
    Y = fullYear(num(T, 4, 2));
    if (Mo < 1 || Mo > 12 || Da < 1 || Da > 31 || !inRange(Y)) return false;
    if (Da > 28) {
        uint16_t ea = uint16_t(Y), ma = uint16_t(Mo), ha = uint16_t(Da);
        ELM(ea, ma, ha);
        Da = ha;
        T.replace(0, 2, two(Da));
    }
    return PLAT::validDate(Y, Mo, Da);
}

}  // namespace

void HMER(std::string& H1_, std::string& H2_, int X1, int Y1, int X2, int Y2, uint8_t& KK, bool DAYOUT) {
    const SCR::SOC dig = SCR::socDigits();
    int y1 = 0, m1 = 0, d1 = 0;
    auto field = [&](std::string& T, int X, int Y, bool to, int& K) {
        for (;;) {
            T = SCR::GINPUT(X, Y, 6, T, "", dig, false, true, K);
            if (K == 3 || K == 1) return;
            if (K != 0 && K != 2) continue;
            std::string t = T;
            int y = 0, m = 0, d = 0;
            if (!complete(t, y, m, d) || (to && (y * 10000 + m * 100 + d) < (y1 * 10000 + m1 * 100 + d1))) {
                PLAT::con().bell();
                continue;
            }
            T = t;
            SCR::PRINT(X, Y, T);
            if (DAYOUT) SCR::PRINT(X + 7, Y, UMAS::WE[size_t(PLAT::weekday(y, m, d))]);
            if (!to) y1 = y, m1 = m, d1 = d;
            return;
        }
    };
    for (;;) {
        int K = 0;
        field(H1_, X1, Y1, false, K);
        if (K == 1 || K == 3) {
            KK = uint8_t(K);
            return;
        }
        field(H2_, X2, Y2, true, K);
        if (K == 1) continue;  // back to the from-date
        KK = uint8_t(K);
        return;
    }
}

}  // namespace DIAS
