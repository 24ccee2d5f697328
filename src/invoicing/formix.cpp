// FORMIX: the signing settings and their dialog, the error texts and the message box. The exchange
// with the signing server is in formix_exchange.cpp.
#include "invoicing/formix.h"

#include <algorithm>

#include "common/umas.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "platform/pause.h"
#include "screen/scr.h"

namespace FORMIX {

std::string FORMIXPATH;
int16_t FORMIXSAA = 0;
uint8_t FORMIXBAD = 0;
std::string FORMIXSN;

namespace {

using UMAS::cut;

// The number at the start of a settings line (leading blanks allowed, anything after it passed
// over); an empty line is 0. A line that does not begin with a number, or a number outside
// [lo, hi], is a bad value: it reads as 0 and FORMIXFAULT names the file and the first such line.
long settingsNumber(const std::string& line, int lineNo, long lo, long hi) {
    auto bad = [&](const char* what) {
        if (FORMIXFAULT.empty())
            FORMIXFAULT = PLAT::gr("ΑΡΧΕΙΟ ") + SETTINGSFILE() + PLAT::gr(": Η ΓΡΑΜΜΗ ") + std::to_string(lineNo) +
                          PLAT::gr(what);
        return 0L;
    };
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i == line.size()) return 0;
    bool neg = false;
    if (line[i] == '+' || line[i] == '-') neg = line[i++] == '-';
    size_t d = i;
    long v = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9' && v <= hi + 1L) v = v * 10 + (line[i++] - '0');
    if (i == d) return bad(" ΔΕΝ ΕΙΝΑΙ ΑΡΙΘΜΟΣ");
    if (neg) v = -v;
    if (v < lo || v > hi) return bad(" ΕΙΝΑΙ ΕΚΤΟΣ ΟΡΙΩΝ");
    return v;
}

}  // namespace

std::string SETTINGSFILE() { return UMAS::PATH + "formi_" + UMAS::LZ("1", 2) + ".txt"; }

std::string FORMIXFAULT;

void READFORMIXPATH() {
    FORMIXPATH.clear();
    FORMIXFAULT.clear();
    auto lines = PLAT::readLines(SETTINGSFILE());
    if (!lines) return;
    auto line = [&](size_t n) { return n <= lines->size() ? (*lines)[n - 1] : std::string(); };
    FORMIXPATH = cut(line(1), 50);
    FORMIXSAA = int16_t(settingsNumber(line(2), 2, -32768, 32767));
    FORMIXBAD = uint8_t(settingsNumber(line(3), 3, 0, 255));
    FORMIXSN = cut(line(4), 15);
}

void WRITEFORMIXPATH() {
    PLAT::writeWholeAtomic(SETTINGSFILE(), FORMIXPATH + "\r\n" + std::to_string(FORMIXSAA) + "\r\n" +
                                               std::to_string(FORMIXBAD) + "\r\n" + FORMIXSN + "\r\n");
}

void EDITFORMIXPATH() {
    READFORMIXPATH();
    const uint8_t GR_N = 0x8C, GR_O = 0x8E;  // Greek capitals Nu and Omicron
    struct Field {
        int x, y, w;
        size_t cap;
        SCR::SOC soc;
        std::string text;
    };
    Field F[4] = {
        {30, 11, 30, 60, SCR::socRange(0x20, 0x7A), cut(FORMIXPATH, 60)},
        {34, 12, 2, 4, SCR::soc(" 0123456789"), std::to_string(FORMIXSAA)},
        {56, 12, 1, 1, SCR::soc(std::string("NO") + char(GR_N) + char(GR_O)), FORMIXBAD == 1 ? "N" : "O"},
        {48, 13, 15, 15, SCR::socRange(0x20, 0xAF), cut(FORMIXSN, 15)},
    };

    const int before = SCR::STACKPOINTER();
    SCR::CALLM(86, true);
    const bool shown = SCR::STACKPOINTER() != before;
    for (int y = 10; y <= 14; ++y) UMAS::ATR(12, y, 58, 0x1E);
    for (int y = 11; y <= 13; ++y) SCR::PRINT(15, y, std::string(52, ' '));
    SCR::PRINT(30, 10, PLAT::gr("╡ ΠΑΡΑΜΕΤΡΟΙ ΕΑΦΔΣΣ ╞"));
    // Every value stands in its field's cells, whatever its length (the box's frame and the
    // fault field stay where they are).
    SCR::PRINT(15, 11, PLAT::gr("       Server: ") + UMAS::LEJU(F[0].text, 30));
    SCR::PRINT(15, 12, PLAT::gr("   Α/Α Τερματικού: ") + UMAS::LEJU(F[1].text, 2));
    SCR::PRINT(36, 12, PLAT::gr("      Βλάβη ΕΑΦΔΣΣ: ") + F[2].text);
    SCR::PRINT(15, 13, PLAT::gr("     Σειριακός Αριθμός Συσκευής: ") + UMAS::LEJU(F[3].text, 15));

    int i = 0;
    for (;;) {
        Field& f = F[i];
        int K = 0;
        std::string got = SCR::GINPUT(f.x, f.y, f.w, f.text, "", f.soc, false, true, K);
        // A value longer than its field is kept whole while the field is left as it was shown.
        if (got != f.text.substr(0, std::min(f.text.size(), size_t(f.w)))) f.text = cut(got, f.cap);
        if (K == 3) break;
        if (K == 0 || K == 2)
            i = std::min(i + 1, 3);
        else if (K == 1)
            i = std::max(i - 1, 0);
    }
    if (shown) SCR::RECALL();

    FORMIXPATH = cut(F[0].text, 50);
    FORMIXSAA = 0;
    {
        std::string t = UMAS::CUTLEADSPACES(UMAS::REMLCH(F[1].text, ' '));
        const size_t sign = !t.empty() && t[0] == '-' ? 1 : 0;
        bool num = t.size() > sign && t.size() <= 5 &&
                   std::all_of(t.begin() + long(sign), t.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (num) FORMIXSAA = int16_t(std::stoi(t));
    }
    const uint8_t letter = F[2].text.empty() ? 0 : uint8_t(F[2].text[0]);
    FORMIXBAD = (letter == 'N' || letter == GR_N) ? 1 : 0;
    FORMIXSN = cut(F[3].text, 15);
    WRITEFORMIXPATH();
    FORMIXFAULT.clear();  // the values written are sound: signing is on again
}

// ---- Error texts ------------------------------------------------------------------------------

std::string GETERRORSTRING(int32_t FCODE, int32_t SCODE, int32_t DCODE) {
    const char* t = nullptr;
    switch (FCODE) {
    case -18: t = "Δεν βρέθηκε το αρχείο του παραστατικού προς υπογραφή!"; break;
    case -17: t = "Δεν έχετε δώσει την διεύθυνση του server!"; break;
    case -16: t = "Αδυναμία αποστολής της αίτησης!"; break;
    case -13: t = "Ο server δεν πήρε την αίτηση! Πιθανώς είναι εκτός λειτουργίας ή η σύνδεση έχει διακοπεί"; break;
    case -11: t = "CORRUPTED FILE!"; break;
    case -111: t = "GETSIGN EXPECTED!"; break;
    case -12: t = "GUID conflict!"; break;
    case -15: t = "Ο server έλαβε την αίτηση αλλά δεν απάντησε εμπρόθεσμα!"; break;
    case -19: t = "Η υπογραφή δεν έφτασε ακόμη! Αν φτάσει, θα παραληφθεί με την επόμενη αίτηση σήμανσης"; break;
    default: break;
    }
    if (t) return PLAT::gr(t);
    switch (SCODE) {
    case 1: t = "Server: Αδυναμία ανάγνωσης αρχείου Αίτησης!"; break;
    case 2:
    case 5: t = "Server: Ακατάλληλη δομή αρχείου αίτησης!"; break;
    case -100: t = "Server: Ενημερώστε τα στοιχεία της επιχείρησης!"; break;
    case 3: t = "Server: Αδυναμία επικοινωνίας με συσκευή!"; break;
    case 4: t = "Server: Άγνωστη εντολή!"; break;
    case 6: t = "Server: Το ascii αρχείο του παραστατικού δεν βρέθηκε!"; break;
    case 7: t = "Server: Αδυναμία ανάγνωσης του ascii αρχείου του παραστατικού!"; break;
    case 8: t = "Server: Αποτυχία δημιουργίας αντιγράφου του παρ/κού για λήψη υπογραφής!"; break;
    case 10: t = "Server: Αποτυχία δημιουργίας αντιγράφου του παρ/κού μετά τη λήψη υπογραφής!"; break;
    case 11: t = "Server: Η υπογραφή ΔΕΝ βρέθηκε!"; break;
    case 13:
    case 14: t = "Server: Ακατάλληλη ημ/νία παρ/κού!"; break;
    case 15: t = "Server: Αποτυχία λήψης στοιχείων συσκευής!"; break;
    case 9: {
        static const char* const BITS[20] = {
            " /Fatal Error",    " /Battery error", " /Printer off-line",     " /Paper out",
            " /Fiscal off-line", " /User Error",    " /24 hours passed",      " /Day Full",
            " /Fiscal Full",    " /Busy",          " /CMOS Reset",           " /Closure in progress",
            " /Technician",     " /Bad time",      " /Bad header",           " /Sign in progress",
            " /ΠΑΗΨΣ έτοιμη",   " /ΔΗΦΑΣΣ έτοιμο", " /Αποστ.ΠΑΗΨΣ",          " /Recover in progress"};
        std::string s = PLAT::gr("Server: Αποτυχία υπογραφής! Device: ");
        for (int b = 0; b < 20; ++b)
            if (uint32_t(DCODE) & (1u << b)) s += PLAT::gr(BITS[b]);
        return cut(s, 255);
    }
    default: return std::string();
    }
    return PLAT::gr(t);
}

void DISPLAYMESSDUR(int32_t DUR, const std::string& MESS) {
    const int before = SCR::STACKPOINTER();
    SCR::CALLM(86, true);
    const bool shown = SCR::STACKPOINTER() != before;
    for (int y = 11; y <= 13; ++y) SCR::PRINT(15, y, std::string(52, ' '));
    if (MESS.size() < 52) {
        SCR::PRINT(15, 12, UMAS::CENTE(MESS, 52));
    } else {
        const std::string half = MESS.substr(0, MESS.size() / 2);
        size_t b = half.rfind(' ');
        std::string first = b == std::string::npos ? std::string() : MESS.substr(0, b);
        std::string rest = b == std::string::npos ? MESS : MESS.substr(b + 1);
        if (!first.empty()) SCR::PRINT(15, 12, UMAS::CENTE(cut(first, 52), 52));
        SCR::PRINT(15, 13, UMAS::CENTE(cut(rest, 52), 52));
    }
    int64_t ms = std::clamp<int64_t>(int64_t(DUR) * 1000, 0, 65535);
    PLAT::pause(int(ms));
    if (shown) SCR::RECALL();
}

}  // namespace FORMIX
