// The fill of an XML input file: template lines, the value codes of the header, item and trailer
// templates with their checks, the documents, goods description and sheet of an item.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/umas.h"
#include "common/xml.h"
#include "declarations/bod.h"
#include "declarations/store_form.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "submission/diskvas.h"
#include "submission/diskxml_run.h"

namespace DISKXML {

using PLAT::gr;

// ---- Sources ------------------------------------------------------------------------------------

std::string RUN::raw(int n) const { return BOD::SOB(BOD::DIA, BOD::GV, n); }
std::string RUN::box(int n) const { return UMAS::trim(raw(n)); }
std::string RUN::sheetBox(int n) const { return UMAS::trim(BOD::SOB(BOD::BIS, BOD::GB, n)); }
std::string RUN::rawField(int k) const { return BUF ? BUF->line(k) : std::string(); }
std::string RUN::field(int k) const { return UMAS::trim(rawField(k)); }
std::string RUN::cell(int j) const {
    if (!BUF || N < 1 || N > MAXMANIFESTLINES) return "";
    return UMAS::trim(BUF->cell(12 * (N - 1) + j));
}

namespace {

const std::string CRLF = "\r\n";

std::string sub(const std::string& s, size_t from, size_t n) { return from < s.size() ? s.substr(from, n) : ""; }
std::string orDash(const std::string& s) { return s.empty() ? "-" : s; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
// "Είδος n" + text.
std::string item(const RUN& R, const std::string& text) { return gr("Είδος ") + std::to_string(R.N) + text; }
// DDMMYY (or DD/MM/YY with step 3) as "20" + YY + MM + DD + tail.
std::string stamp(const std::string& d, size_t step, const std::string& tail) {
    return "20" + sub(d, 2 * step, 2) + sub(d, step, 2) + sub(d, 0, 2) + tail;
}
double rounded(const std::string& s) {
    const double v = UMAS::EVAL(s);
    return std::isfinite(v) ? std::nearbyint(std::clamp(v, -1e9, 1e9)) : 0;
}
std::string fixed(double v, int decimals) {
    char b[64];
    std::snprintf(b, sizeof b, "%.*f", decimals, std::isfinite(v) ? std::clamp(v, -1e15, 1e15) : 0.0);
    return b;
}

// The codes that the header and a trailer share.
bool shared(long C) { return C == 3 || C == 602 || C == 622 || C == 731 || (C >= 1111 && C <= 1114) || C == 1333; }
std::string common(RUN& R, long C) {
    switch (C) {
    case 3: return "GR" + R.box(34);
    case 602:
    case 622: {
        const std::string v = R.mtf() ? UMAS::trim(R.ST_TIR[2]) : R.box(26);
        if (v.size() < 2) R.error(DISKVAS::ERRMESS(91) + gr(" 9. EORI Μεταφορέα"));
        return v;
    }
    case 731: {
        // The box is always four cells long: its text is what must fill them.
        const std::string v = "GR00" + R.raw(7);
        if (R.box(7).size() != 4) R.error(DISKVAS::ERRMESS(91) + gr(" Κωδικός Τελωνείου"));
        return v;
    }
    case 1111:
        if (R.box(35).empty()) R.error(DISKVAS::ERRMESS(91) + gr(" Επωνυμία Υποβάλλοντος (Θέση 14 δ/σης) "));
        return R.box(35);
    case 1112: return orDash(R.box(36));
    case 1113: return orDash(R.box(37));
    case 1114:
        if (R.box(34).empty()) {
            R.error(gr(" ΑΦΜ Υποβάλλοντος (Θέση 14 δ/σης) "));
            return "";
        }
        return "GR" + R.box(34);
    case 1333: return orDash(UMAS::trim(UMAS::LOGOTYPO[4]));
    default: return "";
    }
}

std::string header(RUN& R, long C) {
    if (shared(C) && C != 602) return common(R, C);
    switch (C) {
    case 4: return R.box(34) + "-20" + sub(R.box(8), 4, 2) + "-" + R.box(20) + (R.AFFIXI ? "-A" : "");
    case 9: {
        const PLAT::DateTime t = PLAT::now();
        return UMAS::LZ(std::to_string(t.year % 100), 2) + UMAS::LZ(std::to_string(t.month), 2) +
               UMAS::LZ(std::to_string(t.day), 2);
    }
    case 10: {
        const PLAT::DateTime t = PLAT::now();
        return UMAS::LZ(std::to_string(t.hour), 2) + UMAS::LZ(std::to_string(t.minute), 2);
    }
    case 17: return orDash(R.box(12));
    case 19: return WRITEANAFDIL(R);
    case 76:
    case 476: {
        R.TROPMET = sub(C == 76 ? R.box(59) : R.field(17), 0, 1);
        if (R.TROPMET.empty() || R.TROPMET[0] < '1' || R.TROPMET[0] > '9')
            R.error(C == 76 ? DISKVAS::ERRMESS(110) : gr("Λάθος Κωδικός Τρόπου Μεταφοράς (Σωστές τιμές 1..9)"));
        return R.TROPMET;
    }
    case 85: {
        if (R.TROPMET != "1") {
            if (R.box(46).empty()) R.error(DISKVAS::ERRMESS(117));
            return R.box(46);
        }
        const std::string v = R.box(27);
        if (v.empty()) R.error(DISKVAS::ERRMESS(114));
        else if (!std::all_of(v.begin(), v.end(), isDigit)) R.error(DISKVAS::ERRMESS(115));
        return v;
    }
    case 87: {
        if (R.TROPMET != "3") return "";
        const std::string v = R.box(47);
        if (v.empty() || !std::all_of(v.begin(), v.end(), isUpper)) R.error(DISKVAS::ERRMESS(59));
        return v;
    }
    case 104:
    case 144: {
        const std::string d = R.rawField(C == 104 ? 4 : 23);
        if (d.size() != 8)
            R.error(DISKVAS::ERRMESS(90) + gr(C == 104 ? " Ημερομηνία Καταχώρησης" : " Ημερομηνία Άφιξης"));
        return stamp(d, 3, "0000");
    }
    case 114: {
        const std::string d = R.raw(8);
        if (UMAS::trim(d).size() != 6) R.error(DISKVAS::ERRMESS(90) + gr(" Ημερομηνία Καταχώρησης"));
        return stamp(d, 2, "0000");
    }
    case 122: return orDash(R.box(13));
    case 124: return orDash(R.box(14));
    case 125:
        if (R.box(40).size() != 2) R.error(DISKVAS::ERRMESS(90) + gr(" Χώρα Αποστολής"));
        return R.box(40);
    case 305: return R.box(18);
    case 306:
        if (R.box(19).empty()) R.error(DISKVAS::ERRMESS(111));
        return R.box(19);
    case 307: return fixed(UMAS::TOTALXM, 2);
    case 330:
        if (R.field(25).size() < 4) R.error(gr("Πρέπει να συμπληρωθεί ο τόπος φόρτωσης π.χ. TR xxxx"));
        return R.field(25);
    case 331:
        if (R.field(15).size() < 4) R.error(gr("Πρέπει να συμπληρωθεί ο τόπος προορισμού π.χ. GR PIREAS"));
        return R.field(15);
    case 394: {
        const std::string b = R.box(207);
        const size_t d = b.find_first_of("0123456789");
        if (d == 0) R.error(DISKVAS::ERRMESS(90) + gr(" 54. Τόπος Υποβολής"));
        return d == std::string::npos ? b : b.substr(0, d);
    }
    case 417: return orDash(R.box(22));
    case 422: return orDash(R.box(23));
    case 424: return orDash(R.box(24));
    case 459: return R.box(21);
    case 777:
        if (R.field(14).size() < 2) R.error(gr("Πρέπει να συμπληρωθεί η χώρα προέλευσης"));
        return R.field(14);
    case 901: {
        const std::string v = R.box(17);
        if (!v.empty() && (v.size() != 1 || v[0] < 'A' || v[0] > 'E')) R.error(DISKVAS::ERRMESS(113));
        return v;
    }
    case 1900: return WRITEANAFDIL2(R);
    case 3305:
        if (UMAS::trim(R.rawField(1)).empty()) R.error(gr("Πρέπει να συμπληρωθεί ο Αριθμός Στίχων"));
        return R.rawField(1);
    default: return "";
    }
}

std::string itemValue(RUN& R, long C) {
    const std::string N = std::to_string(R.N);
    switch (C) {
    case 111: {
        const std::string v = R.cell(3);
        if (!v.empty() && v.size() != 18)
            R.error(item(R, gr(" Η ENS πρέπει να έχει 18 ψηφία ..GREN.... ή να είναι κενή")));
        return v;
    }
    case 351: return UMAS::cut(UMAS::trim(R.cell(9) + " " + R.cell(10)), 30);
    case 352: {
        const std::string v = R.cell(11);
        if (v.empty()) R.error(item(R, gr(" Πρέπει να συμπληρωθεί η Μικτή Μάζα")));
        const double m = UMAS::EVAL(v);
        if (std::isfinite(m)) R.XM_DILO += m;
        return v;
    }
    case 421: return orDash(R.cell(5));
    case 423:
    case 823:
        R.CODESYSK = C == 423 ? R.cell(6) : R.itemBox(68, 19);
        if (R.CODESYSK.empty()) R.error(item(R, DISKVAS::ERRMESS(85)));
        return R.CODESYSK;
    case 424:
    case 824: {
        const std::string v = C == 424 ? R.cell(7) : R.itemBox(69, 20);
        const char k = R.CODESYSK.empty() ? 0 : R.CODESYSK[0];
        if (C == 424 && (k == 'V' || k == 'N')) {
            ++R.TOTALSYSK;
            return "";
        }
        if (C == 824 && k == 'V') return "";
        if (v.empty()) R.error(item(R, gr(" Πρέπει να συμπληρωθεί η ποσότητα συσκευασίας")));
        R.TOTALSYSK += int32_t(rounded(v));
        return C == 824 && k == 'N' ? "" : v;
    }
    case 425: return R.cell(8);
    case 500:
    case 801: return N;
    case 502: {
        const std::string v = R.box(28);
        if (v.empty()) R.error(DISKVAS::ERRMESS(118));
        else if (v.size() != 18 || !std::all_of(v.begin(), v.end(), [](char c) { return isDigit(c) || isUpper(c); }))
            R.error(DISKVAS::ERRMESS(119));
        return v;
    }
    case 523: return R.cell(3).empty() ? "90900" : "";
    case 621:
        if (R.cell(1).empty()) R.error(item(R, gr(" Πρέπει να συμπληρωθεί τo συνημμένο έγγραφο.")));
        return R.cell(1);
    case 623: return orDash(R.cell(2));
    case 802: return EMPOREYMATA(R);
    case 803: return R.DILOTIKO ? R.cell(4) : "";
    case 825: return !R.CODESYSK.empty() && R.CODESYSK[0] == 'N' ? R.itemBox(69, 20) : "";
    case 826: {
        const std::string kind = R.itemBox(68, 19);
        return !kind.empty() && kind[0] == 'V' ? "" : kind + " " + R.itemBox(69, 20);
    }
    case 830:
    case 831: {
        const std::string v = R.box(C == 830 ? 61 : 65);
        if (R.TROPMET == "1" && v.empty())
            R.error(gr(C == 830 ? "Πρέπει να συμπληρωθεί ο τόπος φόρτωσης (θέση 27)"
                                : "Πρέπει να συμπληρωθεί ο τόπος εκφόρτωσης (θέση 30)"));
        return v;
    }
    case 1111: return R.cell(3).empty() ? "" : "1";
    case 2470:
        if (R.cell(12).empty()) R.error(item(R, gr(" Πρέπει να συμπληρωθεί ο Τελων. Χαρακτήρας")));
        return R.cell(12);
    default: return "";
    }
}

std::string trailer(RUN& R, long C) {
    if (C == 3 || C == 602 || C == 731) return common(R, C);
    switch (C) {
    case 733: {
        const std::string d = R.box(R.mtf() ? 8 : 10);
        if (d.size() != 6) R.error(DISKVAS::ERRMESS(90) + gr(" Αναμενόμενη Ημερομηνία Αφιξης"));
        return stamp(d, 2, "1200");
    }
    case 741:
    case 743:
    case 745:
    case 747:
    case 749:
    case 751: {
        // The catalogue has no text 123: its line opens as the other office checks do.
        const std::string v = R.box(int(C) - 550);
        if (!v.empty() && v.size() != 8) R.error(DISKVAS::ERRMESS(91) + gr(" Κωδικός Τελωνείου"));
        return v;
    }
    case 902: return R.box(40);
    case 903:
        if (R.box(25).size() > 35) R.error(DISKVAS::ERRMESS(116));
        return R.box(25);
    default: return "";
    }
}

std::string dilotrailer(RUN& R, long C) {
    if (shared(C) && C >= 1111) return common(R, C);
    auto either = [&](int a, int b) { return R.field(a).empty() ? R.field(b) : R.field(a); };
    switch (C) {
    case 222: {
        const bool ship = R.rawField(17) == "1";
        const std::string v = R.field(ship ? 19 : 18);
        if (v.empty()) R.error(DISKVAS::ERRMESS(91) + gr(ship ? " IMO Πλοίου" : " Μεταφορικό Μέσο"));
        return v;
    }
    case 223:
        if (R.field(20).size() < 2) R.error(DISKVAS::ERRMESS(91) + gr(" Εθνικότητα Μεταφορικού Μέσου"));
        return R.field(20);
    case 602: return either(6, 10);
    case 603: return R.field(9);
    case 604:
        if (either(7, 11).empty()) R.error(DISKVAS::ERRMESS(91) + gr(" Επωνυμία Μεταφορέα "));
        return either(7, 11);
    case 605: {
        const std::string f = R.field(6);
        if (f.size() >= 2 && isUpper(f[0])) return f.substr(0, 2);
        if (f.size() == 1) return f;
        return R.field(20);
    }
    case 607: return either(8, 12);
    case 702:
        if (R.field(26).empty()) R.error(DISKVAS::ERRMESS(91) + gr(" ΑΠΟΘΗΚΗ"));
        return R.field(26);
    case 2014:
    case 2015: return R.BUF ? UMAS::trim(R.BUF->cell(C == 2014 ? 1 : 2)) : "";
    case 2077: {
        const std::string v = "GR00" + R.field(3);
        if (v.size() != 8) R.error(DISKVAS::ERRMESS(91) + gr(" Κωδικός Τελωνείου"));
        return v;
    }
    default: return "";
    }
}

}  // namespace

std::string VALUE(RUN& R, PART part, long C) {
    switch (part) {
    case PART::HEADER: return header(R, C);
    case PART::ITEM: return itemValue(R, C);
    case PART::TRAILER: return trailer(R, C);
    case PART::DILOTRAILER: return dilotrailer(R, C);
    }
    return "";
}

// ---- Items: documents, description, sheet -----------------------------------------------------

void EGG3125(RUN& R) {
    R.DOCS.clear();
    if (R.mtf()) {
        if (!UMAS::trim(R.ST_TIR[1]).empty()) R.DOCS.push_back({"N952", R.ST_TIR[1]});
        else R.DOCS.push_back({"N380", "-"});
        return;
    }
    auto valid = [](const std::string& c) {
        return c.size() == 4 && (c[0] == '1' || c[0] == '2' || isUpper(c[0])) && (isDigit(c[1]) || isUpper(c[1])) &&
               isDigit(c[2]) && isDigit(c[3]);
    };
    for (int b = 92; b <= 95; ++b) {
        const std::string s = R.raw(b);
        const size_t colon = s.size() > 1 ? s.find(':', 1) : std::string::npos;
        if (colon == std::string::npos) continue;
        const std::string code = UMAS::trim(UMAS::cut(s, std::min<size_t>(colon, 4)));
        if (!valid(code)) {
            R.error(gr("Λάθος κωδικός ") + code + DISKVAS::ERRMESS(81));
            R.DOCS.push_back({code, ""});
            continue;
        }
        R.DOCS.push_back({code, UMAS::trim(s.substr(colon + 1, 18))});
    }
    if (R.DOCS.empty()) R.error(DISKVAS::ERRMESS(48));
}

std::string EMPOREYMATA(const RUN& R) {
    const bool fromFour = UMAS::PAREDE[14].TIMI == 1;
    const int first = R.N <= 1 ? (fromFour ? 74 : 72) : (fromFour ? 24 : 23);
    const int last = R.N <= 1 ? 77 : 28;
    auto get = [&](int b) { return R.N <= 1 ? R.box(b) : R.sheetBox(b); };
    std::string t;
    bool started = false;
    for (int b = first; b < last; ++b) {
        const std::string s = get(b);
        if (started) t += " " + s;
        else if (!s.empty()) t = s, started = true;
    }
    return started ? t : get(last);
}

bool GETBIS(RUN& R) {
    const int n = R.N;
    auto two = [](int v) { return UMAS::LZ(std::to_string(v), 2); };
    BOD::BM = UMAS::padTo(UMAS::trim(UMAS::cut(UMAS::CUTLEADSPACES(R.raw(1)), 10)) + two((n - 2) / 3 + 2) + two(n), 14);
    bool found = n <= MAXITEMS && EKDO::CHOB().found && BOD::BOB;
    if (found) found = EKDO::RUFB(1, false);
    if (!found) R.error(gr("Δεν έχετε καταχωρήσει το ") + std::to_string(n) + gr("ο προϊόν σε φύλλο BIS."));
    return found;
}

std::string WRITEANAFDIL(const RUN& R) {
    if (R.XEIROGRAFO) {
        const std::string& d = R.HDATE;
        return "FB" + R.rawField(3) + sub(d, 4, 2) + sub(d, 2, 2) + sub(d, 0, 2) + "-DH" + UMAS::LZ(R.HNUM, 7);
    }
    return R.box(34) + "/" + sub(R.rawField(4), 6, 2) + "/" + std::to_string(DISKVAS::ANAFDIL);
}

std::string WRITEANAFDIL2(const RUN& R) {
    return sub(R.rawField(4), 6, 2) + "/" + (R.XEIROGRAFO ? R.HNUM : std::to_string(DISKVAS::ANAFDIL));
}

// ---- Templates ------------------------------------------------------------------------------------

std::array<std::string, 3> TEMPLATENAMES(const RUN& R) {
    if (R.DILOTIKO && R.AITISI) return {"DE015A.TXT", "DE_GOO.TXT", "DE015_2.TXT"};
    if (R.DILOTIKO) return {"DX315A.TXT", "DX_GOO.TXT", "DX315_2.TXT"};
    if (R.AFFIXI) return {"CC347A.TXT", "ARRITE.TXT", ""};
    return {"CC315A.TXT", "GOOITE.TXT", "CC315_2.TXT"};
}

std::vector<std::string> TEMPLATELINES(const std::string& bytes) { return PLAT::splitLines(bytes); }

std::string READTEMPLATES(const RUN& R, TEMPLATES& T) {
    const auto names = TEMPLATENAMES(R);
    std::vector<std::string>* into[3] = {&T.HEAD, &T.ITEM, &T.TAIL};
    for (size_t i = 0; i < 3; ++i) {
        into[i]->clear();
        if (names[i].empty()) continue;
        const auto bytes = PLAT::readWhole(names[i]);
        if (!bytes) return names[i];
        *into[i] = TEMPLATELINES(*bytes);
    }
    return "";
}

long CODEOF(const std::string& rest) {
    const double v = UMAS::EVAL(rest);
    if (!std::isfinite(v)) return -1;
    const double r = std::nearbyint(v);
    return r < 0 || r > 65535 ? -1 : long(r);
}

void PROCESS(RUN& R, const std::vector<std::string>& lines, PART part) {
    const bool items = part == PART::ITEM;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& L = lines[i];
        const size_t gt = L.find('>');
        const size_t pc = L.find('%');
        if (gt == std::string::npos || pc != std::string::npos) {
            std::string t = L;
            if (gt != std::string::npos) t.erase(pc, 1);
            R.OUT += t + CRLF;
            if (items) R.SSOLD = t;
            continue;
        }
        const std::string head = L.substr(0, gt + 1);
        const long C = CODEOF(L.substr(gt + 1));
        if (items && C == 21) {
            // A group of lines for each document; the line after the coded one is the number's prefix.
            EGG3125(R);
            if (R.DOCS.empty()) continue;
            const std::string prefix = i + 1 < lines.size() ? lines[++i] : std::string();
            for (size_t k = 0; k < R.DOCS.size(); ++k) {
                if (k > 0) R.OUT += R.SSOLD + CRLF;
                R.OUT += head + XML::S2UTF8S(R.DOCS[k].CODE) + CRLF;
                R.OUT += prefix + XML::S2UTF8S(R.DOCS[k].NUM) + CRLF;
            }
            continue;
        }
        if (items) R.SSOLD = head;
        R.OUT += head + XML::S2UTF8S(UMAS::trim(VALUE(R, part, C))) + CRLF;
    }
}

int ITEMCOUNT(RUN& R) {
    const std::string text = R.DILOTIKO ? R.rawField(1) : R.box(18);
    const double n = rounded(text);
    const int limit = R.DILOTIKO ? MAXMANIFESTLINES : MAXITEMS;
    if (n > limit) {
        R.error(R.DILOTIKO ? gr("Το δηλωτικό έχει ") + fixed(n, 0) + gr(" γραμμές: γράφονται οι 60 πρώτες.")
                           : gr("Η δήλωση έχει ") + fixed(n, 0) + gr(" είδη (θέση 18): γράφονται τα 99 πρώτα."));
        return limit;
    }
    return n < 0 ? 0 : int(n);
}

void FILL(RUN& R, const TEMPLATES& T) {
    PROCESS(R, T.HEAD, PART::HEADER);
    const int items = ITEMCOUNT(R);
    if (items > 1 && !R.DILOTIKO) {
        // The sheets are read under "FBIS", on the sheet page of the kind.
        struct SheetLock {
            BOD::SCB saved = BOD::BIS;
            explicit SheetLock(const std::string& ext) {
                const BOD::SCB page = BOD::SHEETPAGE(ext);
                if (page.valid()) BOD::BIS = page;
                UMAS::LOCK("FBIS");
            }
            ~SheetLock() {
                UMAS::UNLOC("FBIS");
                BOD::BIS = saved;
            }
        } lock(R.EXT);
        for (R.N = 1; R.N <= items; ++R.N) {
            if (R.N > 1) GETBIS(R);
            PROCESS(R, T.ITEM, PART::ITEM);
        }
    } else {
        for (R.N = 1; R.N <= items; ++R.N) PROCESS(R, T.ITEM, PART::ITEM);
    }
    R.N = 0;
    if (!T.TAIL.empty()) PROCESS(R, T.TAIL, R.DILOTIKO ? PART::DILOTRAILER : PART::TRAILER);
}

std::string RESULTOF(const std::string& tmp) {
    const size_t end = tmp.find(CRLF);
    const std::string first = tmp.substr(0, end);
    if (first.size() <= 6) return tmp;
    return first.substr(first.size() - 6) + (end == std::string::npos ? "" : tmp.substr(end));
}

std::string WITHTOTALS(const std::string& inpdil, int32_t packages, double mass) {
    std::string out;
    for (std::string line : PLAT::splitLines(inpdil)) {
        size_t p = line.find("@@@@@@");
        if (p != std::string::npos) line.replace(p, 6, std::to_string(packages));
        p = line.find("$$$$$$");
        if (p != std::string::npos) line.replace(p, 6, fixed(mass, 1));
        out += line + CRLF;
    }
    return out;
}

}  // namespace DISKXML
