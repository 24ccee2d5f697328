// BOD: the form structures, the box accessors, the records MOT and PRL and the state of the
// current declaration.
#include "declarations/bod.h"
#include "platform/codepage.h"

#include <cassert>
#include <cmath>
#include <cstdio>

#include "platform/codec.h"
#include "platform/console.h"

namespace BOD {

// ---- State -----------------------------------------------------------------------------------
SCB DIA, BIS;
GGV GV, GB;
MSG MES;
int LL = 23;
int FRONTLINES = FRONT_MAIN;
int TOTALLINES = TOTAL_MAIN;

std::string TM, BTM, OTM, OO, HM, BHM;
int PR = NO_CUSTOMER, BPR = NO_CUSTOMER;
double CSM = 0;
bool BOO = false;
bool BUNREAD = false;
int32_t XN = 0;
std::string EA, AF, ON, DI, PO, TK;
std::array<std::string, 3> TH;
std::string EP, EF, SX;
MOT AY;
PRL PL;
std::string BM, BBM, OOB;
bool BOB = false;
int32_t XNB = 0;
double BSM = 0;
MOT AYB;
uint8_t CH = 0;
uint8_t K = 0;
int JJ = 0;
std::string CAS;
uint8_t MN = 0;
bool BLE = false;

// The key legend of the declaration editor and the vehicle-kind prefixes, in code page 737.
// The key legend of the declaration editor and the vehicle-kind prefixes, in code page 737.
const UMAS::FUN GM1 = {"",
                       PLAT::gr("ESC.Menu"),
                       PLAT::gr("F4.Καταχ."),
                       PLAT::gr("F5.Διαγρ."),
                       PLAT::gr("Shift-F1.Εκτύπωση"),
                       PLAT::gr("F6.BIS"),
                       PLAT::gr("F8.Αντιγραφή Στοιχείων"),
                       PLAT::gr(" , .Μετακίνηση"),
                       PLAT::gr("F7.Αλλ.Οψης"),
                       PLAT::gr("F3.Εντυπα"),
                       PLAT::gr("ESC.Διασάφηση")};
const std::array<std::string, 4> EEM = {"   ", PLAT::gr("ΑΥΤ"), PLAT::gr("ΜΗΧ"), PLAT::gr("ΠΕΤ")};

// ---- Input types -----------------------------------------------------------------------------
std::bitset<256> TYPECHARS(int type) {
    std::bitset<256> s;
    auto range = [&](int a, int b) {
        for (int c = a; c <= b; ++c) s.set(size_t(c));
    };
    switch (type) {
        case TY_TEXT: range(32, 255); break;
        case TY_NUM:
        case TY_ZNUM: range('0', '9'); break;
        case TY_DATE: range('0', '9'); s.set('.'); s.set('/'); break;
        case TY_SIGNED: range('0', '9'); s.set('.'); s.set('-'); break;
        case TY_CODE: range('0', '9'); range('A', 'Z'); break;
        default: break;  // 4, 5: nothing can be typed
    }
    return s;
}

bool ISNUMTYPE(int type) { return type == TY_NUM || type == TY_ZNUM || type == TY_SIGNED; }

bool dateAccepted(const std::string& text) {
    const std::string t = UMAS::CUTLEADSPACES(text);
    return t.find_first_not_of(' ') == std::string::npos || UMAS::DATEOK(t);
}

// ---- Views -----------------------------------------------------------------------------------
std::string MSG::line(int n) const {
    if (!p || n < 0 || n >= HELP_LINES) return "";
    const uint8_t* q = p + size_t(n) * (HELP_CAP + 1);
    return PLAT::getS(q, HELP_CAP);
}

SCB PAGEOF(UMAS::CONV* m, int rows) {
    if (!m || m->raw.size() < 8 + size_t(rows) * PAGE_COLS * 2 || m->W() != PAGE_COLS) return {};
    return SCB{m->cells(), rows};
}

GGV TABLEOF(UMAS::CONV* m) {
    if (!m || m->raw.size() < 8 + GGV_BYTES) return {};
    return GGV{m->cells(), BOXES};
}

MSG HELPOF(const UMAS::CONV* m) {
    if (!m || m->raw.size() < 8 + MSG_BYTES) return {};
    return MSG{m->cells()};
}

namespace {

bool isDfk(const std::string& kind) { return kind == "DFK"; }

}  // namespace

SCB SHEETPAGE(const std::string& kind) {
    return PAGEOF(UMAS::mask(isDfk(kind) ? MASK_BIS_DFK : MASK_BIS), SHEET_ROWS);
}

bool SETFORM(const std::string& kind) {
    const bool dfk = isDfk(kind);
    FRONTLINES = dfk ? FRONT_DFK : FRONT_MAIN;
    TOTALLINES = dfk ? TOTAL_DFK : TOTAL_MAIN;
    DIA = PAGEOF(UMAS::mask(dfk ? MASK_DIA_DFK : MASK_DIA), TOTALLINES);
    GV = TABLEOF(UMAS::mask(dfk ? MASK_GV_DFK : MASK_GV));
    BIS = SHEETPAGE(kind);
    GB = TABLEOF(UMAS::mask(dfk ? MASK_GB_DFK : MASK_GB));
    MES = HELPOF(UMAS::mask(MASK_MES));
    return DIA.valid() && GV.valid() && BIS.valid() && GB.valid() && MES.valid();
}

// ---- Accessors -------------------------------------------------------------------------------
namespace {

// A box inside its image: the callers never pass another (checked in debug builds).
void checkBox(SCB P, GGV G, int N) {
    (void)P;
    (void)G;
    (void)N;
    assert(P.valid() && G.valid() && N >= 1 && N <= G.count);
    assert(G.COL(N) >= 1 && G.LEN(N) >= 1 && G.COL(N) + G.LEN(N) - 1 <= PAGE_COLS);
    assert(G.ROW(N) >= 1 && G.ROW(N) <= P.rows);
}

}  // namespace

std::string SOB(SCB P, GGV G, int N) {
    checkBox(P, G, N);
    const int r = G.ROW(N), c = G.COL(N), l = G.LEN(N);
    std::string s(size_t(l), ' ');
    for (int i = 0; i < l; ++i) s[size_t(i)] = char(P.CCH(r, c + i));
    return s;
}

void BOS(SCB P, GGV G, int N, const std::string& S) {
    checkBox(P, G, N);
    const int r = G.ROW(N), c = G.COL(N), l = G.LEN(N);
    for (int i = 0; i < l; ++i) P.CCH(r, c + i) = i < int(S.size()) ? uint8_t(S[size_t(i)]) : uint8_t(' ');
}

void PNU(GGV G, int N, std::string& S, bool BL, char C) {
    const double X = UMAS::EVAL(S);
    const int L = G.LEN(N);
    const double a = std::fabs(X);
    const double frac = a - std::floor(a);
    char buf[400];
    if (BL) {
        if (a < 0.0001) {
            S.clear();
            return;
        }
        std::snprintf(buf, sizeof buf, "%*.*f", L, frac > 0.0001 ? 2 : 0, X);
        std::string r = buf;
        size_t i = r.find_first_not_of(' ');
        S = i == std::string::npos ? "" : r.substr(i);
    } else {
        std::snprintf(buf, sizeof buf, "%*.*f", L, frac > 0.001 ? 2 : 0, X);
        std::string r = buf;
        if (C == '0')
            for (char& ch : r)
                if (ch == ' ') ch = '0';
        if (a < 0.0001) r.clear();
        S = r;
    }
}

bool IFSP(SCB P, GGV G, int N) {
    const std::string s = SOB(P, G, N);
    return s.find_first_not_of(' ') == std::string::npos;
}

BTS bts(std::initializer_list<int> members) {
    BTS s;
    for (int m : members)
        if (m >= 0 && m < 256) s.set(size_t(m));
    return s;
}

bool ELE(SCB P, GGV G, int N, const BTS& SE) {
    const std::string s = SOB(P, G, N);
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    long v = 0;
    bool any = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c < '0' || c > '9') return SE.test(0);  // not a number: the value is 0
        v = std::min(v * 10 + (c - '0'), 100000L);
        any = true;
    }
    if (!any) v = 0;
    return v <= 255 && SE.test(size_t(v));
}

double CSU(SCB P, GGV G, int N) {
    double X = 0;
    for (int i = 1; i <= N; ++i) {
        const std::string s = SOB(P, G, i);
        double Y = 0;
        for (size_t j = 0; j < s.size(); ++j) Y += double(j + 1) * double(uint8_t(s[j]));
        X += double(i) * Y;
    }
    return X;
}

bool ALLA(SCB P, GGV G, int N, double CSM_) { return CSU(P, G, N) != CSM_; }

void PUSC(SCB P, int& LL_) {
    assert(P.valid());
    if (LL_ > P.rows) LL_ = P.rows;
    if (LL_ < VIEW_ROWS) LL_ = VIEW_ROWS;
    PLAT::CellBuffer& scr = UMAS::CRP ? *UMAS::CRP : PLAT::con().cells;
    for (int y = 1; y <= VIEW_ROWS; ++y) {
        const int r = LL_ - VIEW_ROWS + y;
        for (int c = 1; c <= PAGE_COLS; ++c) scr[y - 1][c - 1] = PLAT::Cell{P.CCH(r, c), P.CAT(r, c)};
    }
    PLAT::con().refresh();
}

// ---- Records ---------------------------------------------------------------------------------
std::array<std::string*, 10> MOTTEXTS(MOT& m) {
    return {&m.ON, &m.ER, &m.TY, &m.AP, &m.AK, &m.KY, &m.ET, &m.BA, &m.KA, &m.KT};
}

std::array<std::string*, 7> MOTTAIL(MOT& m) { return {&m.DAJ, &m.P1, &m.P2, &m.EPET, &m.NM, &m.ISO, &m.MON}; }

void MOT::encode(uint8_t* p) const {
    MOT& m = const_cast<MOT&>(*this);
    size_t off = 0;
    auto texts = MOTTEXTS(m);
    for (size_t i = 0; i < texts.size(); ++i) {
        PLAT::putS(p + off, MOT_TEXT_CAPS[i], *texts[i]);
        off += size_t(MOT_TEXT_CAPS[i]) + 1;
    }
    for (int i = 1; i <= 8; ++i) p[off++] = EIF[size_t(i)];
    auto tail = MOTTAIL(m);
    for (size_t i = 0; i < tail.size(); ++i) {
        PLAT::putS(p + off, MOT_TAIL_CAPS[i], *tail[i]);
        off += size_t(MOT_TAIL_CAPS[i]) + 1;
    }
    static_assert(MOT::SIZE == 256);
    assert(off == SIZE);
}

MOT MOT::decode(const uint8_t* p) {
    MOT m;
    size_t off = 0;
    auto texts = MOTTEXTS(m);
    for (size_t i = 0; i < texts.size(); ++i) {
        *texts[i] = PLAT::getS(p + off, MOT_TEXT_CAPS[i]);
        off += size_t(MOT_TEXT_CAPS[i]) + 1;
    }
    for (int i = 1; i <= 8; ++i) m.EIF[size_t(i)] = p[off++];
    auto tail = MOTTAIL(m);
    for (size_t i = 0; i < tail.size(); ++i) {
        *tail[i] = PLAT::getS(p + off, MOT_TAIL_CAPS[i]);
        off += size_t(MOT_TAIL_CAPS[i]) + 1;
    }
    return m;
}

namespace {

constexpr std::array<int, 24> PRL_CAPS = {44, 20, 20, 30, 7, 30, 30, 10, 20, 30, 15, 10,
                                          10, 15, 20, 15, 46, 30, 30, 40, 40, 40, 40, 40};

std::array<std::string*, 24> prlFields(PRL& r) {
    return {&r.EP, &r.ON, &r.OP, &r.OD, &r.AR, &r.SY, &r.PO, &r.TA, &r.EG, &r.EF, &r.A0, &r.A1,
            &r.B0, &r.B1, &r.B2, &r.B3, &r.B4, &r.B5, &r.AB, &r.A2, &r.A3, &r.A4, &r.A5, &r.A6};
}

}  // namespace

void PRL::encode(uint8_t* p) const {
    auto f = prlFields(const_cast<PRL&>(*this));
    size_t off = 0;
    for (size_t i = 0; i < f.size(); ++i) {
        PLAT::putS(p + off, PRL_CAPS[i], *f[i]);
        off += size_t(PRL_CAPS[i]) + 1;
    }
    assert(off == SIZE);
}

PRL PRL::decode(const uint8_t* p) {
    PRL r;
    auto f = prlFields(r);
    size_t off = 0;
    for (size_t i = 0; i < f.size(); ++i) {
        *f[i] = PLAT::getS(p + off, PRL_CAPS[i]);
        off += size_t(PRL_CAPS[i]) + 1;
    }
    return r;
}

}  // namespace BOD
