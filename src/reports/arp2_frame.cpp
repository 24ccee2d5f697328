// The frame of the customer reports: today, the date entries, amounts, document walks, the
// customer lookup and prompt, the sort key, the list keys and the printout helpers.
#include <cmath>
#include <climits>
#include <cstdio>
#include <tuple>

#include "common/umas.h"
#include "config/params.h"
#include "customers/pelat.h"
#include "declarations/dias.h"
#include "invoicing/apodi.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "print/prns.h"
#include "reports/arp2.h"

namespace ARP2 {

using UMAS::padTo;

std::string B4;

std::string TWO(int n) { return std::string(1, char('0' + n / 10 % 10)) + char('0' + n % 10); }
std::string TODAYTEXT() { return TWO(ARP0::H) + TWO(ARP0::M) + B4.substr(2, 2); }

namespace {

std::string two(int n) { return TWO(n); }

bool yearOk(int y) { return y >= FIRSTYEAR && y <= LASTYEAR; }

// The value of two characters when both are digits, else -1.
int digits2(const std::string& s, size_t at) {
    if (s.size() < at + 2) return -1;
    const char a = s[at], b = s[at + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
    return (a - '0') * 10 + (b - '0');
}

}  // namespace

void TODAY() {
    const PLAT::DateTime t = PLAT::now();
    ARP0::E = uint16_t(t.year);
    ARP0::M = uint16_t(t.month);
    ARP0::H = uint16_t(t.day);
    ARP0::D = uint16_t(PLAT::weekday(t.year, t.month, t.day));
    B4 = std::to_string(t.year);
}

// ---- Dates ---------------------------------------------------------------------------------------------

void ELM(uint16_t& EA, uint16_t& MA, uint16_t& HA) { DIAS::ELM(EA, MA, HA); }

int FULLYEAR(int YY) {
    if (B4.size() != 4) TODAY();
    int y = std::stoi(B4.substr(0, 2)) * 100 + YY;
    if (y > 2088) y -= 100;
    if (y < 1921) y += 100;
    return y;
}

YMD READDATE(const std::string& HM) {
    YMD r;
    r.d = std::max(0, digits2(HM, 0));
    r.m = std::max(0, digits2(HM, 2));
    const int yy = digits2(HM, 4);
    r.y = yy < 0 ? 0 : FULLYEAR(yy);
    return r;
}

bool COMPLETE(std::string& T, bool TO, MODE& FORM) {
    if (B4.size() != 4) TODAY();
    FORM = MODE::HME;
    std::string t;
    for (char c : T)
        if (c != ' ') t += c;
    if (t.find_first_not_of("0123456789") != std::string::npos || t.size() > 6) return false;
    if (t.empty()) t = two(ARP0::H);
    if (t.size() == 1) t = "0" + t;
    if (t.size() == 2) t += two(ARP0::M) + B4.substr(2, 2);
    if (t.size() == 3) t = "0" + t;
    if (t.size() == 4) {
        const int mm = digits2(t, 0);
        if (mm >= 1 && mm <= 12 && yearOk(FULLYEAR(digits2(t, 2)))) {
            t = (TO ? "31" : "01") + t;
            FORM = MODE::MHN;
        } else if (yearOk(std::stoi(t))) {
            t = (TO ? "3112" : "0101") + t.substr(2, 2);
            FORM = MODE::ETH;
        } else {
            T = t;  // neither a month nor a year
            return false;
        }
    }
    if (t.size() == 5) t = "0" + t;
    T = t;
    const YMD r = READDATE(t);
    if (r.m < 1 || r.m > 12 || r.d < 1 || r.d > 31 || !yearOk(r.y)) return false;
    if (r.d > 28) {
        uint16_t y = uint16_t(r.y), m = uint16_t(r.m), d = uint16_t(r.d);
        ELM(y, m, d);
        T = two(d) + t.substr(2);
    }
    return true;
}

std::string WEEKDAY(const std::string& HM) {
    YMD r = READDATE(HM);
    if (r.d < 1 || r.d > 31 || r.m < 1 || r.m > 12 || r.y == 0) return "  ";
    uint16_t y = uint16_t(r.y), m = uint16_t(r.m), d = uint16_t(r.d);
    if (d > 28) ELM(y, m, d);
    if (!PLAT::validDate(y, m, d)) return "  ";
    return UMAS::WE[size_t(PLAT::weekday(y, m, d))];
}

std::string SHOWDATE(const std::string& HM, MODE form) {
    const YMD r = READDATE(HM);
    switch (form) {
    case MODE::MHN: return (r.m >= 1 && r.m <= 12 ? UMAS::MH[size_t(r.m)] : "") + " " + std::to_string(r.y);
    case MODE::ETH: return std::to_string(r.y);
    default: return padTo(HM, 6) + " " + WEEKDAY(HM);
    }
}

std::string SLASHED(const std::string& HM) {
    const std::string h = padTo(HM, 6);
    return h.substr(0, 2) + "/" + h.substr(2, 2) + "/" + h.substr(4, 2);
}

namespace {

bool before(const std::string& a, const std::string& b) {
    const YMD x = READDATE(a), y = READDATE(b);
    return std::tie(x.y, x.m, x.d) < std::tie(y.y, y.m, y.d);
}

// One date field: edited until it is complete and valid or left. KK as GINPUT gave it.
bool dateField(std::string& T, bool TO, MODE& form, int X, int Y, bool blank, int& KK) {
    const SCR::SOC digits = SCR::socDigits();
    for (;;) {
        if (blank) SCR::PRINT(X, Y, std::string(16, ' '));
        T = SCR::GINPUT(X, Y, 6, T, "", digits, false, true, KK);
        if (KK != 0 && KK != 2) return false;
        if (!COMPLETE(T, TO, form)) {
            PLAT::con().bell();
            continue;
        }
        return true;
    }
}

}  // namespace

void HMER(std::string& H1, std::string& H2, int X1, int Y1, int X2, int Y2, int& KK) {
    MODE f1 = MODE::HME, f2 = MODE::HME;
    for (;;) {
        for (;;) {
            if (dateField(H1, false, f1, X1, Y1, false, KK)) break;
            if (KK == 1 || KK == 3) return;
        }
        SCR::PRINT(X1, Y1, H1 + " " + WEEKDAY(H1));
        for (;;) {
            if (!dateField(H2, true, f2, X2, Y2, false, KK)) {
                if (KK == 1 || KK == 3) break;
                continue;
            }
            if (before(H2, H1)) {
                PLAT::con().bell();
                continue;
            }
            SCR::PRINT(X2, Y2, H2 + " " + WEEKDAY(H2));
            return;
        }
        if (KK == 3) return;
    }
}

void PERIODIN(PERIOD& P, int X1, int Y1, int X2, int Y2, bool UPLEAVES, int& KK) {
    MODE f2 = MODE::HME;
    for (;;) {
        for (;;) {
            if (dateField(P.H1, false, P.Q1, X1, Y1, true, KK)) break;
            if (KK == 3 || (KK == 1 && UPLEAVES)) return;
        }
        P.HS1 = SHOWDATE(P.H1, P.Q1);
        // over the whole field: a text shorter than the digits typed leaves none of them behind
        SCR::PRINT(X1, Y1, padTo(P.HS1, 16));
        for (;;) {
            if (!dateField(P.H2, true, f2, X2, Y2, true, KK)) {
                if (KK == 1 || KK == 3) break;
                continue;
            }
            if (before(P.H2, P.H1)) {
                PLAT::con().bell();
                continue;
            }
            P.HS2 = SHOWDATE(P.H2, P.Q1);
            SCR::PRINT(X2, Y2, padTo(P.HS2, 16));
            return;
        }
        if (KK == 3) return;
    }
}

// ---- Amounts ---------------------------------------------------------------------------------------

double DOCUNIT(int32_t stored, const std::string& HM) { return TIM0::LOADED(stored, TIM0::EURODOC(HM)); }

double DISPLAY(double x, const std::string& HM) {
    const bool euro = TIM0::EURODOC(HM);
    if (UMAS::TIMEUR == 0 && !euro && UMAS::EURO != 0) return x / UMAS::EURO;
    if (UMAS::TIMEUR == 1 && euro) return x * UMAS::EURO;
    return x;
}

bool SHOWAMOUNTS() { return UMAS::TIMEUR == 0 || UMAS::TIMEUR == 1; }

std::string NUM(double x, int W, int DEC) {
    const double scale = DEC == 2 ? 100.0 : 1.0;
    double r = std::round(x * scale) / scale;
    if (r == 0) r = 0;  // no "-0.00"
    char buf[64];
    std::snprintf(buf, sizeof buf, "%*.*f", W, DEC, r);
    return buf;
}

std::string AMT(double x, int W0, int W1) {
    if (UMAS::TIMEUR == 0) return NUM(x, W0, 2);
    if (UMAS::TIMEUR == 1) return NUM(x, W1, 0);
    return "";
}

FEEVAT AMOUNTS(const TIM0::RTIM& r) {
    FEEVAT a;
    const double R = r.FF[1];
    for (int K = 1; K <= 18; ++K) {
        if (!TIM0::LINEVAT(K, r.AI)) continue;
        const double x = DOCUNIT(r.XR[size_t(K)], r.HM);
        const double vat = TIM0::VATOF(R, x);
        a.fee += x;
        a.vat += vat;
        if (K == 18) a.vat18 = vat;
    }
    a.value = TIM0::TOTAL(r);
    return a;
}

// ---- Document walks --------------------------------------------------------------------------------

std::string CHAINS(const std::string& name) {
    std::optional<std::string> b = PLAT::readWhole(UMAS::PATH + name);
    return b ? *b : std::string();
}

void WALK(const std::string& NODES, int64_t HEADS, int64_t HEAD, const std::function<bool(uint16_t)>& ROW) {
    if (HEAD >= HEADS) return;
    APODI::WALKNODES(reinterpret_cast<const uint8_t*>(NODES.data()), int64_t(NODES.size()) / int64_t(APODI::RTIM1::SIZE),
                     HEADS, HEAD, [&](uint16_t HR) { return HR >= 65000 || ROW(HR); });
}

bool READDOC(const PLAT::File& F, uint16_t N, TIM0::RTIM& R) {
    using T = TIM0::RTIM;
    const int64_t at = int64_t(N) * int64_t(T::SIZE);
    if (at + int64_t(T::SIZE) > F.size()) return false;
    uint8_t b[T::SIZE];
    F.readAt(at, b, sizeof b);
    // the fields the reports read, at their places in the record
    R = T{};
    R.TM = PLAT::getS(b + T::O_TM, 6);
    R.HM = PLAT::getS(b + T::O_HM, 6);
    R.KD = PLAT::getS(b + T::O_KD, 10);
    R.PR = PLAT::getW(b + T::O_PR);
    R.EA = PLAT::getS(b + T::O_EA, 30);
    R.AF = PLAT::getS(b + T::O_AF, 10);
    for (size_t k = 1; k <= 19; ++k) R.XR[k] = PLAT::getL(b + T::O_XR + 4 * (k - 1));
    for (size_t k = 13; k <= 16; ++k) R.AI[k] = PLAT::getS(b + T::O_AI + 24 * (k - 13), 23);
    for (size_t k = 1; k <= 8; ++k) R.FX[k] = PLAT::getL(b + T::O_FX + 4 * (k - 1));
    R.FF[1] = PLAT::getW(b + T::O_FF);
    R.AKNUM = PLAT::getL(b + T::O_AKNUM);
    R.AKPAIP = PLAT::getL(b + T::O_AKPAIP);
    return true;
}

bool SAMECUSTOMER(const std::string& docEA, const std::string& docAF, const std::string& EA,
                  const std::string& AF) {
    return padTo(docEA, 30).substr(0, 5) == padTo(EA, 30).substr(0, 5) || docAF == AF;
}

// ---- Customers ---------------------------------------------------------------------------------------

uint16_t FIND(const std::string& NAME, int LASTBUCKET, ARP0::RR0& R) {
    UMAS::LOCK("FPEL");
    if (ARP0::EMPTY(0)) {
        UMAS::UNLOC("FPEL");
        SCR::CALLM(37, true);
        ARP0::WAIT(2000);
        SCR::RECALL();
        return ARP0::NONE;
    }
    int damaged = 0;
    const std::vector<ARP0::Listed> all = ARP0::listAll(0, &damaged);
    UMAS::UNLOC("FPEL");
    if (damaged > 0) PRNS::REPORT(ARP0::skippedMessage(0));
    const std::string sought = padTo(NAME, 30);
    const int b = sought[0] == ' ' ? 0 : int(ARP0::INS(sought[0])) - 1;
    const ARP0::Listed* last = nullptr;
    for (const ARP0::Listed& c : all) {
        const int cb = std::max(0, int(ARP0::bucketOf(c.R.EA)));
        if (cb <= b) last = &c;
        if (cb < b || cb > LASTBUCKET) continue;
        const std::string stored = padTo(c.R.EA, 30);
        if (stored == sought || ARP0::compareNames(stored, sought) > 0) {
            R = c.R;
            return c.KV;
        }
    }
    if (!last) {  // no name at or before the sought one's bucket: the first chain there is
        if (all.empty()) return ARP0::NONE;
        last = &all.front();
    }
    R = last->R;
    return last->KV;
}

std::string NEXTNAME(const std::string& NAME) {
    std::string n = padTo(NAME, 30);
    const std::string& AB = ARP0::AB;
    const size_t at = n[29] == '&' ? 28 : 29;
    const size_t p = AB.find(n[at]);
    if (p == std::string::npos)
        n[at] = ' ';
    else if (p + 1 < AB.size())
        n[at] = AB[p + 1];
    return n;
}

void RUF() {
    const ARP0::RR0& r = ARP0::R0;
    APODI::EA = padTo(r.EA, 30);
    APODI::AF = r.AF;
    APODI::ON = r.ON;
    APODI::DI = r.DI;
    APODI::PO = UMAS::cut(r.PO, 20);
    APODI::TH[1] = r.TH[0];
    APODI::TH[2] = r.TH[1];
    APODI::EG = r.EP;
}

void CHEP() {
    APODI::PR = FIND(APODI::EA, ARP0::BUCKETS - 1, ARP0::R0);
    if (APODI::PR != ARP0::NONE) RUF();
}

bool PROMPT(int X, std::string& NAME, std::string& BON, const SCR::SOC& CHARS,
            const std::function<bool(const std::string&)>& LOOKUP, const std::function<bool()>& PICK) {
    for (;;) {
        BON = NAME;
        int K = 0;
        SCR::CALLM(20, true);
        std::string T = SCR::GINPUT(X, 2, 30, NAME, "", CHARS, false, true, K);
        SCR::RECALL();
        if (K == 3) return false;
        T = ARP0::FOLD(T);
        if (!T.empty() && std::string("&-./").find(T[0]) != std::string::npos) {
            PLAT::con().bell();
            continue;
        }
        T = padTo(T, 30);
        NAME = T;
        const bool confirmed = T == BON && T.find_first_not_of(' ') != std::string::npos;
        if (K == 0) {
            if (confirmed) return true;
            LOOKUP(NAME);
        } else if (K == 2) {
            if (confirmed) NAME = NEXTNAME(NAME);
            LOOKUP(NAME);
        } else if (K == 6) {
            if (PICK()) return true;
        }
    }
}

// ---- Sort and list -------------------------------------------------------------------------------

int64_t HVAL(const std::string& HM, int64_t N) {
    const int64_t DD = std::max(0, digits2(HM, 0)), MM = std::max(0, digits2(HM, 2));
    int64_t Y = std::max(0, digits2(HM, 4));
    if (Y < 90) Y += 100;
    return (DD + 31 * MM + 372 * Y) * 100000 + N;
}

void EXCHANGE(std::vector<int64_t>& KEYS, std::vector<int32_t>& AT, int N) {
    int64_t* k = KEYS.data();
    int32_t* at = AT.data();
    for (int i = 0; i < N - 1; ++i) {
        int64_t ki = k[i];
        for (int j = i + 1; j < N; ++j)
            if (ki > k[j]) {
                k[i] = k[j];
                k[j] = ki;
                std::swap(at[i], at[j]);
                ki = k[i];
            }
    }
}

int64_t DOCNUMBER(const std::string& T) {
    size_t i = 0;
    while (i < T.size() && T[i] == ' ') ++i;
    if (i == T.size()) return 0;
    int64_t n = 0;
    for (; i < T.size(); ++i) {
        if (T[i] < '0' || T[i] > '9') return 0;
        n = n * 10 + (T[i] - '0');
    }
    return n;
}

LK LISTKEY(int& II, int LM, int PAGE, PLAT::KeyEvent& K) {
    K = PLAT::con().readKey();
    if (!K.extended()) return K.ch == 27 ? LK::ESC : LK::OTHER;
    switch (K.scan) {
    case PLAT::SC::UP:
        if (II > 0) --II;
        return LK::MOVED;
    case PLAT::SC::DOWN:
        if (II < LM - 1) ++II;
        return LK::MOVED;
    case PLAT::SC::PGUP:
        if (II % PAGE != 0)
            II = II / PAGE * PAGE;
        else if (II > 0)
            II -= PAGE;
        return LK::MOVED;
    case PLAT::SC::PGDN: {
        if (II % PAGE != 0)
            II = II / PAGE * PAGE + PAGE;
        else
            II += PAGE;
        const int last = LM > 0 ? (LM - 1) / PAGE * PAGE : 0;
        if (II > last) II = last;
        return LK::MOVED;
    }
    case PLAT::SC::SF1: return LK::PRINT;
    default: return LK::OTHER;
    }
}

void BLANKROW(int Y) {
    SCR::PRINT(3, Y, std::string(27, ' '));
    SCR::PRINT(31, Y, std::string(9, ' '));
    SCR::PRINT(41, Y, std::string(10, ' '));
    SCR::PRINT(52, Y, std::string(9, ' '));
    SCR::PRINT(62, Y, std::string(9, ' '));
    SCR::PRINT(72, Y, std::string(7, ' '));
}

void LEGEND() {
    ARP0::arrows(8);
    UMAS::FKEY({4, 7, 8, 9}, ARP0::GM1);
}

void UNTILESC(int mask) {
    SCR::CALLM(mask, true);
    for (;;) {
        const PLAT::KeyEvent k = PLAT::con().readKey();
        if (!k.extended() && k.ch == 27) break;
    }
    SCR::RECALL();
}

// ---- Printouts ---------------------------------------------------------------------------------------

bool ASKPRINT() {
    SCR::CALLM(63, true);
    if (PRNS::YES(30, 23)) return true;
    SCR::RECALL();
    return false;
}

PRINTOUT::PRINTOUT() {
    PRNS::SET_PE(UMAS::PE_LIST, P, T, F);
    P(F, 66);
    P(F, 4);
    PRNS::LOGO(F);
}

void PRINTOUT::finish(bool notepad) {
    F.close();
    if (notepad)
        UMAS::PRINT_NOTEPAD();
    else
        UMAS::PRINTUSB();
    SCR::RECALL();
}

int PAGES(int N) { return (N + 44) / 45; }

}  // namespace ARP2
