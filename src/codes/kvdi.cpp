// The code-table files, the editor-picker loop every table shares, the validity-date entry and
// the code-tables menu.
#include "codes/kvdi.h"

#include <algorithm>

#include "codes/kvdi_screen.h"
#include "common/umas.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace KVDI {

RECKAY V00;
RECNOM V01;
RECPOL V02;
RECTEL V04;
RECAPO V05;
RECTRM V06;
RECPER V07;
RECTRP V08;
RECPREB V09;
RECEMP V0A;
RECSFR V0B;
uint16_t V0C = 0;
RECMON V0D;
RECSYS V0E;
RECPROSTHETA V0F;

std::string H1, H2;
uint16_t E = 0, M = 0, H = 0, D = 0;
std::string B4;

UMAS::FUN GM1 = [] {
    UMAS::FUN f;
    f[1] = PLAT::gr("ESC.Εξοδος");
    f[2] = PLAT::gr("F1.Καταχώρηση");
    f[3] = PLAT::gr("TAB.Αρχείο ΓΓΠΣ");
    f[4] = PLAT::gr("F5.Διαγραφή");
    f[5] = PLAT::gr("PgUp.Περιγραφή");
    f[6] = PLAT::gr("Enter.Επικύρωση");
    f[7] = PLAT::gr(" , .Μετακίνηση");
    f[8] = PLAT::gr("Enter.Μεταβολή");
    f[9] = PLAT::gr(" , , , .Μετακίνηση");
    f[10] = PLAT::gr("ESC.Επιλογή");
    return f;
}();

// ---- Records -------------------------------------------------------------------------------------

RECTAX getTax(int n) { return RECTAX::decode(UMAS::PTAX.data() + size_t(n - 1) * RECTAX::SIZE); }
void putTax(int n, const RECTAX& r) { r.encode(UMAS::PTAX.data() + size_t(n - 1) * RECTAX::SIZE); }

static_assert(6 * 41 + 1 + 20 * 7 + 160 + 48 * 8 + 6 * 24 == REK::SIZE);

REK REK::decode(const uint8_t* p) {
    REK r;
    for (int i = 1; i <= 6; ++i) r.RI[size_t(i)] = PLAT::getS(p + (i - 1) * 41, 40);
    r.EE = p[246];
    for (int i = 1; i <= 20; ++i) r.TR[size_t(i)] = PLAT::getS(p + 247 + (i - 1) * 7, 6);
    for (int i = 1; i <= 20; ++i)
        for (int j = 1; j <= 8; ++j) r.KF[size_t(i)][size_t(j)] = p[387 + (i - 1) * 8 + (j - 1)];
    for (int i = 1; i <= 48; ++i) r.PC[size_t(i)] = PLAT::getS(p + 547 + (i - 1) * 8, 7);
    for (int i = 1; i <= 6; ++i) r.SX[size_t(i)] = PLAT::getS(p + 931 + (i - 1) * 24, 23);
    return r;
}

void REK::encode(uint8_t* p) const {
    for (int i = 1; i <= 6; ++i) PLAT::putS(p + (i - 1) * 41, 40, RI[size_t(i)]);
    p[246] = EE;
    for (int i = 1; i <= 20; ++i) PLAT::putS(p + 247 + (i - 1) * 7, 6, TR[size_t(i)]);
    for (int i = 1; i <= 20; ++i)
        for (int j = 1; j <= 8; ++j) p[387 + (i - 1) * 8 + (j - 1)] = KF[size_t(i)][size_t(j)];
    for (int i = 1; i <= 48; ++i) PLAT::putS(p + 547 + (i - 1) * 8, 7, PC[size_t(i)]);
    for (int i = 1; i <= 6; ++i) PLAT::putS(p + 931 + (i - 1) * 24, 23, SX[size_t(i)]);
}

REK REK::blank() {
    REK r;
    for (int i = 1; i <= 6; ++i) r.RI[size_t(i)] = std::string(40, ' ');
    for (int i = 1; i <= 20; ++i) r.TR[size_t(i)] = std::string(6, ' ');
    for (int i = 1; i <= 48; ++i) r.PC[size_t(i)] = std::string(7, ' ');
    for (int i = 1; i <= 6; ++i) r.SX[size_t(i)] = std::string(23, ' ');
    return r;
}

// ---- Whole-table load and store ------------------------------------------------------------------

size_t RUF(const std::string& SF, uint8_t* P, size_t size, bool& BO) {
    const std::string fn = UMAS::PATH + SF + ".DAT";
    std::fill(P, P + size, uint8_t(0));
    UMAS::LOCK("FKVD");
    PLAT::File f;
    int64_t have = -1;
    size_t n = 0;
    if (f.open(fn, PLAT::File::READ, false)) {
        have = f.size();
        n = size_t(std::min<int64_t>(have, int64_t(size)));
        if (n > 0) f.readAt(0, P, n);
        f.close();
    }
    UMAS::UNLOC("FKVD");
    BO = false;
    if (have < 0)
        // "<SF>.DAT is missing: the table opens empty. Press a key"
        PRNS::REPORT(SF + PLAT::gr(".DAT δεν υπάρχει: ο πίνακας ανοίγει κενός. Πατήστε ένα πλήκτρο"));
    else if (size_t(have) != size)
        // "<SF>.DAT has n bytes instead of m. Press a key"
        PRNS::REPORT(SF + PLAT::gr(".DAT έχει ") + std::to_string(have) + PLAT::gr(" bytes αντί ") +
                     std::to_string(size) + PLAT::gr(". Πατήστε ένα πλήκτρο"));
    return n;
}

std::vector<std::string> CHECKSIZES() {
    std::vector<std::string> r;
    for (const TableFile& t : {F_NOM, F_POL, F_EMP, F_TEL, F_APO, F_TRM, F_PER, F_TRP, F_PRE, F_MON, F_SYS, F_SFR,
                               F_KAY, F_TAX, F_PROSTH}) {
        const std::string fn = UMAS::PATH + t.name + ".DAT";
        if (!PLAT::fileExists(fn)) continue;
        const int64_t have = PLAT::fileSize(fn);
        if (have != int64_t(t.size))
            // "<SF>.DAT has n bytes instead of m"
            r.push_back(std::string(t.name) + PLAT::gr(".DAT έχει ") + std::to_string(have) + PLAT::gr(" bytes αντί ") +
                        std::to_string(t.size));
    }
    return r;
}

void KAT(const std::string& SF, const uint8_t* P, size_t size, bool& BO) {
    if (!BO) return;
    UMAS::LOCK("FKVD");
    PLAT::writeWholeAtomic(UMAS::PATH + SF + ".DAT", std::string(reinterpret_cast<const char*>(P), size));
    UMAS::UNLOC("FKVD");
    BO = false;
}

// ---- Dates ---------------------------------------------------------------------------------------

namespace {

int val(const std::string& s, size_t pos, size_t len) {
    if (pos + len > s.size()) return -1;
    int v = 0;
    for (size_t i = pos; i < pos + len; ++i) {
        if (s[i] < '0' || s[i] > '9') return -1;
        v = v * 10 + (s[i] - '0');
    }
    return v;
}

// A year written with today's century digits, moved into the century window.
int windowYear(int y) {
    if (y > 2088) y -= 100;
    if (y < 1921) y += 100;
    return y;
}
bool inRange(int y) { return y >= 1990 && y <= 2049; }

}  // namespace

void TODAY() {
    PLAT::DateTime d = PLAT::now();
    E = uint16_t(d.year);
    M = uint16_t(d.month);
    H = uint16_t(d.day);
    D = uint16_t(PLAT::weekday(d.year, d.month, d.day));
    B4 = std::to_string(d.year);
}

void ELM(uint16_t& EA, uint16_t& MA, uint16_t& HA) {
    if (MA == 2 && HA > 28) HA = EA % 4 == 0 ? 29 : 28;
    if ((MA == 4 || MA == 6 || MA == 9 || MA == 11) && HA > 30) HA = 30;
}

void ZER(std::string& S) { UMAS::ZER(S); }

int32_t dateKey(const std::string& S) {
    int d = std::max(val(S, 0, 2), 0), m = std::max(val(S, 2, 2), 0), y = std::max(val(S, 4, 2), 0);
    y += y < 90 ? 2000 : 1900;
    return y * 10000 + m * 100 + d;
}

bool completeDate(std::string& S, bool to) {
    const std::string cc = B4.size() >= 4 ? B4.substr(0, 2) : "20", yy = B4.size() >= 4 ? B4.substr(2, 2) : "00";
    if (S.empty()) S = detail::two(H);
    if (S.size() == 1) S = "0" + S;
    if (S.size() == 2) S += detail::two(M) + yy;
    if (S.size() == 3) S = "0" + S;
    if (S.size() == 4) {
        const int mm = val(S, 0, 2), y = val(cc + S.substr(2, 2), 0, 4);
        if (mm >= 1 && mm <= 12 && y >= 0 && inRange(windowYear(y)))
            S = (to ? "31" : "01") + S;
        else if (int y4 = val(S, 0, 4); inRange(y4))
            S = (to ? "3112" : "0101") + S.substr(2, 2);
    }
    if (S.size() == 5) S = "0" + S;
    if (S.size() != 6) return false;
    const int dd = val(S, 0, 2), mm = val(S, 2, 2), y2 = val(S, 4, 2);
    if (dd < 1 || dd > 31 || mm < 1 || mm > 12 || y2 < 0) return false;
    const int year = windowYear(val(cc, 0, 2) * 100 + y2);
    if (!inRange(year)) return false;
    if (dd > 28) {
        uint16_t EA = uint16_t(year), MA = uint16_t(mm), HA = uint16_t(dd);
        ELM(EA, MA, HA);
        S.replace(0, 2, detail::two(HA));
    }
    return true;
}

namespace detail {
std::string weekdayOf(std::string& S) {
    const std::string cc = B4.size() >= 4 ? B4.substr(0, 2) : "20";
    const int dd = val(S, 0, 2), mm = val(S, 2, 2), y2 = val(S, 4, 2);
    if (dd < 1 || dd > 31 || mm < 1 || mm > 12 || y2 < 0) return "  ";
    uint16_t EA = uint16_t(windowYear(val(cc, 0, 2) * 100 + y2)), MA = uint16_t(mm), HA = uint16_t(dd);
    if (HA > 28) {
        ELM(EA, MA, HA);
        S.replace(0, 2, two(HA));
    }
    return UMAS::WE[size_t(PLAT::weekday(EA, MA, HA))];
}
}  // namespace detail

void HMER(int X1, int Y1, int X2, int Y2, uint8_t& KK) {
    const SCR::SOC digits = SCR::socDigits();
    for (;;) {
        int K = 0;
        H1 = SCR::GINPUT(X1, Y1, 6, H1, "", digits, false, true, K);
        if (K == 3 || K == 1) {
            KK = uint8_t(K);
            return;
        }
        if (K != 0 && K != 2) continue;
        std::string s = H1;
        if (!completeDate(s, false)) {
            PLAT::con().bell();
            continue;
        }
        H1 = s;
        SCR::PRINT(X1, Y1, H1);
        SCR::PRINT(X1 + 7, Y1, detail::weekdayOf(s));
        for (;;) {
            H2 = SCR::GINPUT(X2, Y2, 6, H2, "", digits, false, true, K);
            if (K == 1) break;
            if (K == 3) {
                KK = 3;
                return;
            }
            if (K != 0 && K != 2) continue;
            std::string t = H2;
            if (!completeDate(t, true) || dateKey(t) < dateKey(H1)) {
                PLAT::con().bell();
                continue;
            }
            H2 = t;
            SCR::PRINT(X2, Y2, H2);
            SCR::PRINT(X2 + 7, Y2, detail::weekdayOf(t));
            KK = uint8_t(K);
            return;
        }
    }
}

// ---- Base kinds of the taxes ---------------------------------------------------------------------

std::string EIDFOR(uint8_t EI) {
    static const char* const NAMES[31] = {
        "",           "Γενικό Συν", "Στατιστ.Αξ", "Μη Υπ. ΦΠΑ", "Υπ. σε ΦΠΑ", "Γεν.Συν.Ατ", "Στ.Αξία Ατ",
        "Γ.Υπ.ΦΠΑAτ", "Γεν.Υπ.ΦΠΑ", "ΣΑμηΦΠΑ Ατ", "Σ.Α.μη ΦΠΑ", "Υπ.ΦΠΑ Ατ.", "Γεν.μη ΦΠΑ", "Επί Χ.Κ.  ",
        "Επί ΧΚ Ατ.", "Επί Σ.Μ.  ", "Επί ΣΜ Ατ.", "Επί Προηγ.", "Επ.Προη.AT", "ΣΥΜΨΗΦ/ΜΟΣ", "ΔΕΤΕ Καυσ.",
        "ΔΕΤΕ Ατελ.", "Επί ΛΙΑΝIK", "Επί PLATO ", "PLATO Ατ. ", "Επί ΦΟΡΩΝ ", "Επί Φορ.ΑΤ", "ΦΟΡΟΛΟΓΗΤΕ",
        "ΦΟΡΟΛΟΓ.ΑΤ", "Επί Μ.Φορ.", "Επί Μ.Φ.ΑΤ"};
    if (EI < 1 || EI > 30) return "";
    return PLAT::gr(NAMES[EI]);
}

// ---- Helpers of the screens ----------------------------------------------------------------------

namespace detail {

bool blankOrEmpty(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }
std::string two(int v) { return UMAS::LZ(std::to_string(v), 2); }
uint32_t digitsValue(const std::string& s) {
    uint64_t v = 0;
    for (char c : s)
        if (c >= '0' && c <= '9') v = std::min<uint64_t>(v * 10 + uint64_t(c - '0'), 0xFFFFFFFFu);
    return uint32_t(v);
}

void arrows() {
    if (GM1[7].size() >= 3) {
        GM1[7][0] = char(24);
        GM1[7][2] = char(25);
    }
}

void legend(const std::vector<int>& set) {
    // Each entry takes its text and a blank; the last blank may fall past the row.
    size_t width = 0;
    for (int i : set) width += GM1[size_t(i)].size() + 1;
    if (width <= size_t(PLAT::SCREEN_W) + 1) {
        UMAS::FKEY(set, GM1);
        return;
    }
    // The whole set of a table with an official list is wider than the row: the store and delete
    // keys keep their names with their captions shortened, as in the declaration editor's legend.
    UMAS::FUN shorter = GM1;
    shorter[2] = PLAT::gr("F1.Καταχ.");
    shorter[4] = PLAT::gr("F5.Διαγρ.");
    UMAS::FKEY(set, shorter);
}

void openScreen(int mask, const std::vector<int>& set) {
    arrows();
    SCR::CALLM(mask, true);
    SCR::CALLM(2, true);
    legend(set);
}
void closeScreen() {
    SCR::RECALL();
    SCR::RECALL();
}
void openRowEdit() {
    SCR::CALLM(2, true);
    UMAS::FKEY({10}, GM1);
}
void closeRowEdit() { SCR::RECALL(); }

int editFields(int y, const std::vector<Field>& f) {
    int i = 0, K = 0;
    for (;;) {
        const Field& fd = f[size_t(i)];
        std::string s = SCR::GINPUT(fd.x, y, fd.w, fd.get(), "", fd.sc, false, true, K);
        if (K != 3) fd.set(s);
        if (fd.show) fd.show(y);
        if (K == 3) return K;
        if (K == 0 || K == 2) {
            if (i + 1 == int(f.size())) return K;
            ++i;
        } else if (K == 1) {
            if (i == 0) return K;
            --i;
        }
    }
}

uint8_t Screen::run() {
    BOX();
    for (;;) {
        if (beforeKey) beforeKey();
        K = 0;
        UMAS::EPIL(0, 14, XA, 0, YA, 1, LE, rows - 1, 0, pages - 1, L, CL, SL, K, 0);
        switch (K) {
        case 0:
            if (!BL && editable && !editable(rec())) break;
            BO = true;
            if (BL ? pick(rec()) : edit(rec())) return 0;
            if (quit) return 3;
            BOX();
            break;
        case 1:
        case 2:
        case 4:
        case 5: BOX(); break;
        case 3: return 3;
        case 7:
            if ((!BL || f1InPicker) && store) store();
            break;
        case 11:
            if (!BL && blank && blank(rec())) {
                BO = true;
                BOX();
            }
            break;
        case 30:
            if (list.empty()) break;
            GENCOD::GENCODE(list, title);
            if (!GENCOD::GENREC_CODE.SCODE.empty()) {
                if (BL) {
                    if (listPick(GENCOD::GENREC_CODE)) return 0;
                } else {
                    listFill(rec(), GENCOD::GENREC_CODE);
                    BO = true;
                }
            } else if (!editable || editable(rec())) {
                BO = true;
                if (edit(rec())) return 0;
                if (quit) return 3;
            }
            BOX();
            break;
        default:
            if (other && other(K)) BOX();
            break;
        }
    }
}

}  // namespace detail

// ---- The code-tables menu ------------------------------------------------------------------------

void KVD() {
    detail::arrows();
    if (GM1[9].size() >= 7) {
        GM1[9][0] = char(26);
        GM1[9][2] = char(27);
        GM1[9][4] = char(24);
        GM1[9][6] = char(25);
    }
    SCR::CALLM(25, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({1, 6, 7}, GM1);
    int LI = 0, CO = 0, SE = 0, KK = 0;
    for (;;) {
        KK = 0;
        UMAS::EPIL(4, 15, 23, 0, 6, 1, 33, 14, 0, 0, LI, CO, SE, KK, 0);
        if (KK == 3) break;
        if (KK != 0) continue;
        uint8_t k = 0;
        switch (LI) {
        case 0: NOM(V01, false, "", k); break;
        case 1: POL(V02, false, k); break;
        case 2: EMP(V0A, false, k); break;
        case 3: TEL(V04, false, k); break;
        case 4: APO(V05, false, k); break;
        case 5: TRM(V06, false, k); break;
        case 6: PER(V07, false, k); break;
        case 7: TRP(V08, false, k); break;
        case 8: PRE(V09, false, k); break;
        case 9: MON(V0D, false, k); break;
        case 10: SYS(V0E, false, k); break;
        case 11: SFR(V0B, false, k); break;
        case 12: KAY(V00, false, "", k); break;
        case 13:
            k = 1;
            TAX(V0C, "", false, k);
            break;
        case 14: PROSTHETA(V0F, false, k); break;
        }
        UMAS::FKEY({1, 6, 7}, GM1);
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace KVDI
