// The header checks and party fields of the segment file: the declarant check, the EORI numbers and
// their placement, countries, transport mode, customs office, declaration type and procedure,
// warehouse, national tax code, marks and frame text.
#include "common/umas.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"
#include "submission/diskvas.h"
#include "submission/disket_ops.h"

namespace DISKET {

using PLAT::gr;
using UMAS::trim;

namespace {

bool upper(char c) { return c >= 'A' && c <= 'Z'; }
bool isMode48(const RUN& R) { return R.EDE == ED_TIRSEND || R.EDE == ED_TIR; }
bool isMode05(const RUN& R) { return R.EDE == ED_FILE || R.EDE == ED_SEND; }

// The EORI placement: C holds when box 5 is "12" or the procedure (first 4 characters of box 84)
// is "3153" or "5300".
bool box5is12(const RUN& R) { return trim(R.box(5)) == "12"; }
bool procedure3153or5300(const RUN& R) {
    const std::string K = copy(R.box(84), 1, 4);
    return K == "3153" || K == "5300";
}

}  // namespace

bool LATIN2(const std::string& s) { return s.size() >= 2 && upper(s[0]) && upper(s[1]); }

void GET_IDIOS(RUN& R) {
    const std::string D = trim(R.box(34));
    if (D == (R.EXT == "EXP" ? R.AFM11 : R.AFM21)) {
        R.IDIOS = 1;
        return;
    }
    if (D == UMAS::AFM_EKTEL) {
        R.IDIOS = 2;
        return;
    }
    DECLARANTWARNING();
    R.IDIOS = 2;
}

void DECLARANTWARNING() {
    PLAT::Console& c = PLAT::con();
    SCR::CALLM(49, true);
    SCR::PRINT(36, 12, DISKVAS::ERRMESS(69));
    c.refresh();
    for (;;) {
        const PLAT::KeyEvent k = c.readKey();
        if (!k.extended() && k.ch == 27) break;
    }
    SCR::RECALL();
    c.refresh();
}

void EORI_APOS(RUN& R) {
    const uint16_t KV = R.KV();
    std::string& V = R.BS;
    if (R.EXT == "EXP" && V.size() < 2) {
        R.error(DISKVAS::ERRMESS(26) + gr("Αποστολέα"));
        return;
    }
    if (V.empty()) return;
    R.AFM11 = UMAS::cut(V.substr(std::min<size_t>(2, V.size())), 15);
    if (!LATIN2(V)) R.error(DISKVAS::ERRMESS(66) + gr("Αποστολέα"));
    else if (V.compare(0, 2, "GR") == 0) V = R.AFM11;
    const bool f12 = box5is12(R), k = procedure3153or5300(R);
    if (KV == 271 && (f12 || (k && R.EXT != "EXP"))) V.clear();
    if (KV == 281 && !(f12 || k)) V.clear();
}

void EORI_PARAL(RUN& R) {
    const uint16_t KV = R.KV();
    std::string& V = R.BS;
    if ((R.EXT == "IMP" || R.EXT == "MET") && V.size() < 2) {
        R.error(DISKVAS::ERRMESS(26) + gr("Παραλήπτη"));
        return;
    }
    if (V.empty()) return;
    R.AFM21 = UMAS::cut(V.substr(std::min<size_t>(2, V.size())), 15);
    if (!LATIN2(V)) R.error(DISKVAS::ERRMESS(66) + gr("Παραλήπτη"));
    else V = R.AFM21;
    const bool C = box5is12(R) || procedure3153or5300(R);
    if (KV == 272 && C) V.clear();
    if (KV == 282 && !C) V.clear();
}

void CHECKXORAMET(RUN& R) {
    if (!R.BS.empty() && !LATIN2(R.BS)) R.errorRow(DISKVAS::ERRMESS(59));
}

void CHECKXORANOM(RUN& R) {
    if (!R.BS.empty() && !LATIN2(R.BS)) R.error(DISKVAS::ERRMESS(60));
}

void CHECKXORAEX(RUN& R) {
    if (!R.BS.empty() && !LATIN2(R.BS)) R.errorRow(DISKVAS::ERRMESS(62));
    if (R.BS.empty() && copy(R.box(84), 1, 2) != "71") R.errorRow(DISKVAS::ERRMESS(61));
}

void CHECKTROPOMET(RUN& R) {
    if (R.BS.empty()) return;
    const double N = ROUNDED(UMAS::EVAL(R.BS));
    static const int TRANSIT[] = {10, 12, 16, 17, 18, 20, 23, 30, 40, 50, 70, 80, 90};
    static const int OTHER[] = {1, 2, 3, 4, 5, 7, 8, 9};
    bool ok = false;
    if (R.EXT == "MTF") {
        for (int m : TRANSIT) ok = ok || N == m;
    } else {
        for (int m : OTHER) ok = ok || N == m;
    }
    if (!ok) R.error(DISKVAS::ERRMESS(45));
}

void WRITETELONIOEX(RUN& R) {
    std::string V = isMode48(R) ? R.ST_TIR[3] : R.box(R.KV());
    V = UMAS::cut(trim(V), 8);
    if (!V.empty() && !(V.size() == 8 && LATIN2(V))) R.errorRow(DISKVAS::ERRMESS(58));
    R.BS = V;
}

// Box 2 as it stands (with the blanks that fill it) up to its first blank: "IM A" and a box of
// only "IM" both give "IM"; a box that begins with a blank, or is full without one, gives nothing.
void KATHESTOS(RUN& R) {
    const std::string b2 = R.box(2);
    const size_t blank = b2.find(' ');
    R.BS = blank == std::string::npos ? std::string() : b2.substr(0, blank);
    if (R.BS != "IM" && R.BS != "CO" && R.BS != "EX" && R.BS != "EU") R.errorRow(DISKVAS::ERRMESS(63));
}

void WRITEIMCOM(RUN& R) {
    if (R.EDE == ED_AUTO || R.EDE == ED_AUTOSEND) {
        R.BS = copy(R.box(84), 1, 1);
    } else {
        const std::string b2 = UMAS::CUTLEADSPACES(R.box(2));
        const size_t blank = b2.find(' ');
        if (blank == std::string::npos) {
            R.BS = copy(b2, 1, 1);
        } else {
            const size_t next = b2.find_first_not_of(' ', blank);
            R.BS = next == std::string::npos ? b2 : b2.substr(next, 1);
        }
    }
    const char c = R.BS.empty() ? 0 : R.BS[0];
    if (isMode05(R)) {
        if (!((c >= 'A' && c <= 'F') || c == 'X' || c == 'Y' || c == 'Z')) R.errorRow(DISKVAS::ERRMESS(64));
    } else if (!((c >= '0' && c <= '7') || c == '9')) {
        R.errorRow(gr(" Λάθος καθεστώς Δ/σης"));
    }
}

void WRITEKATHESTOS_37B(RUN& R) {
    R.BS = copy(R.itemBox(85, 35), 1, 1);
    if (!isMode05(R) || R.BS.empty() || R.BS == " ") return;
    const char c = R.BS[0];
    if (!(c == '0' || c == '3' || c == '5' || c == '6' || (c >= 'A' && c <= 'F'))) R.errorRow(DISKVAS::ERRMESS(42));
}

namespace {

bool warehouse(const RUN& R) {
    const std::string W = trim(R.box(144));
    if (W.size() <= 5) return false;
    const char c = W[0];
    return (c >= 'A' && c <= 'F') || c == 'Y' || c == 'Z';
}

}  // namespace

void TYPOS_APOTHIKIS(RUN& R) { R.BS = warehouse(R) ? trim(R.box(144)).substr(0, 1) : std::string(); }
void XORA_APOTHIKIS(RUN& R) { R.BS = warehouse(R) ? "GR" : ""; }

void ETHNIKI_FOROLOGIA(RUN& R) { R.BS = R.EXT == "EXP" ? "0000" : copy(R.itemBox(79, 29), 23, 4); }

void SIMIA(RUN& R) {
    static const int MAIN[] = {66, 68, 69, 70, 71}, SHEET[] = {17, 19, 20, 21, 22};
    std::string V;
    bool any = false;
    for (int i = 0; i < 5; ++i) {
        const std::string line = trim(R.AREIDOS <= 1 ? R.box(MAIN[i]) : R.sheetBox(SHEET[i]));
        any = any || !line.empty();
        V += (i ? " " : "") + line;
    }
    if (R.AREIDOS <= 1 && !any) R.error(DISKVAS::ERRMESS(52));
    if (R.I > 120 && V.size() > 42) V = V.substr(0, 42);
    R.BS = V;
}

void SIMIA2(RUN& R) {
    static const int MAIN[] = {87, 74, 75, 76}, SHEET[] = {28, 25, 26, 27};
    std::string V;
    for (int i = 0; i < 4; ++i) V += (i ? " " : "") + trim(R.AREIDOS <= 1 ? R.box(MAIN[i]) : R.sheetBox(SHEET[i]));
    R.BS = R.AREIDOS <= 1 ? gr("ΠΛΑΙΣΙΟ: ") + V : V;
}

}  // namespace DISKET
