// The field codes of the excise export: the value of each code, the checks that follow some of
// them, the item's tax segments (code 980), its wine and spirits lines (code 1111) and the
// declarant's standing.
#include <cmath>

#include "common/umas.h"
#include "documents/ekextra.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "submission/disket_ops.h"
#include "submission/diskoil.h"
#include "submission/diskvas.h"

namespace DISKOIL {

using DISKET::copy;
using DISKET::FIXED;
using DISKET::ROUNDED;
using PLAT::gr;
using UMAS::trim;

namespace {

bool has(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The position of the first ":" after the first character, npos when there is none.
size_t colonAfterFirst(const std::string& s) { return s.size() > 1 ? s.find(':', 1) : std::string::npos; }

// The tax line k (1..8) of the current item: its first box.
int taxBox(const RUN& R, int k) { return (R.AREIDOS <= 1 ? 101 : 51) + 5 * (k - 1); }
std::string taxField(const RUN& R, int k, int offset) {
    const int J = taxBox(R, k) + offset;
    return R.AREIDOS <= 1 ? R.box(J) : R.sheetBox(J);
}

// Code 888: the amounts of the item's tax lines of the row's type, added up.
std::string sum888(RUN& R) {
    const double want = ROUNDED(UMAS::EVAL(R.row().TIMES));
    double sum = 0;
    bool any = false;
    for (int k = 1; k <= 8; ++k) {
        const std::string type = taxField(R, k, 0);
        if (type.empty() || type[0] == ' ') continue;
        if (ROUNDED(UMAS::EVAL(type)) != want) continue;
        std::string amount = taxField(R, k, 3);
        const size_t minus = amount.find('-');
        if (minus != std::string::npos) amount.erase(minus, 1);
        sum += UMAS::EVAL(amount);
        any = true;
        R.FOROI888[size_t(k)] = false;
    }
    return any ? FIXED(sum, 2) : std::string();
}

// Codes 987/986 (box 93), 985/984 (94), 983/982 (95): the code and the number of box 44's lines.
void line44(RUN& R, int n, int m, bool number, const char* which) {
    const std::string s = R.ibox(n, m);
    const size_t c = colonAfterFirst(s);
    if (c == std::string::npos) return;
    if (!number) {
        R.BS = UMAS::REMLCH(s.substr(0, c), '0');
        return;
    }
    R.BS = trim(s.substr(c + 1, 20));
    if (R.BS.empty())
        R.errorRow(gr(" Λάθος στην ") + gr(which) + gr(" γραμμή επισυναπτόμενα (44). Δώσε αριθμό"));
}

void country(RUN& R, const char* what) {
    if (!R.BS.empty() && !DISKET::LATIN2(R.BS))
        R.errorRow(gr(" Ο κωδικός χώρας ") + gr(what) + gr(" πρέπει να είναι στα ΑΓΓΛΙΚΑ"));
}

}  // namespace

void VALUE(RUN& R) {
    const uint16_t KV = R.KV();
    std::string& BS = R.BS;
    const bool pte = R.EXT == "PTE";
    const bool first = R.AREIDOS <= 1;
    switch (KV) {
    case 0:
    case 940: BS.clear(); return;
    case 18: {
        BS = UMAS::REMLCH(R.box(18), '0');
        const double v = ROUNDED(UMAS::EVAL(BS));
        R.SYNEIDH = v > 0 ? int(std::min(v, double(DISKET::MAXITEMS + 1))) : 0;
        if (R.SYNEIDH > DISKET::MAXITEMS) {
            // A declaration holds at most 99 items (the sheet key has two places for the item).
            R.SYNEIDH = DISKET::MAXITEMS;
            R.errorRow(gr(": τα είδη είναι περισσότερα από 99."));
        }
        return;
    }
    case 56: {
        std::string s = trim(R.box(56));
        const size_t p = s.find('.');
        if (p != std::string::npos)
            while (!s.empty() && s.back() == '0') s.pop_back();
        if (has(trim(R.box(54)), "EU")) BS = "1.00";
        else if (p != std::string::npos && s.size() > p + 4) BS.clear();
        else BS = s;
        return;
    }
    case 64: {
        const std::string s = trim(R.box(64));
        if (!s.empty() && (s.compare(0, 4, "GR00") != 0 || s.size() != 8))
            R.errorRow(gr(" Στο Τελωνείο Εξόδου (29) απαιτείται διεθνής Κωδικός GR00200x"));
        BS = copy(s, 1, 8);
        return;
    }
    case 66:
        BS = first ? R.box(66) + " " + R.box(68) + " " + R.box(69) + " " + R.box(70) + " " + R.box(71)
                   : R.sheetBox(17) + " " + R.sheetBox(19) + " " + R.sheetBox(20) + " " + R.sheetBox(21) + " " +
                         R.sheetBox(22);
        return;
    case 78:
        ++R.AREIDOS;
        R.STEIDOS = std::to_string(R.AREIDOS);
        BS = R.STEIDOS;
        R.FOROI888.fill(true);
        R.C605 = 0;
        return;
    case 80: case 81: case 82: case 83: case 86: case 87: case 88: case 90: case 91: case 96:
    case 100: case 143:
        BS = R.ibox(KV, KV - 50);
        return;
    case 84: BS = copy(R.ibox(84, 34), 1, 2); return;
    case 884:
        R.B37 = copy(R.ibox(84, 34), 3, 2);
        BS = R.B37;
        return;
    case 844: BS = trim(R.B37) == "78" ? "1" : "0"; return;
    case 85: BS = copy(R.ibox(85, 35), 1, 1); return;
    case 885: BS = copy(R.ibox(85, 35), 2, 2); return;
    case 89: {
        const std::string s = trim(R.ibox(89, 39));
        if (s.empty()) return;
        const size_t c = colonAfterFirst(s);
        if (c == std::string::npos) {
            R.errorRow(DISKVAS::ERRMESS(11));
            BS = s;
        } else {
            BS = s.substr(c + 1);
        }
        return;
    }
    case 890: {
        const std::string s = R.ibox(89, 39);
        const size_t c = colonAfterFirst(s);
        if (c == std::string::npos) {
            BS = s;
            return;
        }
        const std::string code = s.substr(0, c);
        const double v = ROUNDED(UMAS::EVAL(code));
        if (!(code.size() >= 2 && isDigit(code[0]) && isDigit(code[1])) || v < 1 || v > 72)
            R.errorRow(gr(" Κωδικός συμπλ/κών μονάδων (41) αριθμητικό πεδίο [ 01 έως 72 ]"));
        BS = UMAS::REMLCH(code, '0');
        return;
    }
    case 233: BS = R.ibox(88, 38); return;
    case 766: {
        const std::string s = R.ibox(88, 38);
        const size_t p = s.find('/');
        BS = p == std::string::npos ? std::string() : s.substr(0, p);
        return;
    }
    case 767: {
        const std::string s = R.ibox(88, 38);
        const size_t p = s.find('/');
        BS = p == std::string::npos ? s : s.substr(p + 1);
        return;
    }
    case 605: BS = std::to_string(++R.C605); return;
    case 888: BS = sum888(R); return;
    case 905: BS = R.STEIDOS; return;
    case 966: BS = first ? trim(R.box(75)) + " " + trim(R.box(76)) + " " + trim(R.box(77)) : ""; return;
    case 972: {
        std::array<std::string, 7> L;
        for (int i = 1; i <= 6; ++i) L[size_t(i)] = trim(R.ibox(71 + i, 22 + i));
        int f = 1;
        while (f <= 5 && L[size_t(f)].empty()) ++f;
        if (f > 5) BS = L[6];
        else
            for (int i = f; i <= 5; ++i) BS += L[size_t(i)];
        return;
    }
    case 980: FOROLOGIA(R); return;
    case 987: line44(R, 93, 43, false, ""); return;
    case 985: line44(R, 94, 44, false, ""); return;
    case 983: line44(R, 95, 45, false, ""); return;
    case 986: line44(R, 93, 43, true, "2η"); return;
    case 984: line44(R, 94, 44, true, "3η"); return;
    case 982: line44(R, 95, 45, true, "4η"); return;
    case 988: {
        if (!first) return;
        BS = trim(R.box(92));
        if (!BS.empty()) return;
        for (int b = 93; b <= 95; ++b)
            if (colonAfterFirst(R.box(b)) != std::string::npos) return;
        R.errorRow(DISKVAS::ERRMESS(49));
        R.ERR.push_back(DISKVAS::ERRMESS(50));
        R.ERR.push_back(DISKVAS::ERRMESS(51));
        return;
    }
    case 992: {
        const std::string G = R.ibox(79, 29);
        BS = copy(G, 1, 8) + copy(G, 10, 2);
        return;
    }
    case 991: BS = copy(R.ibox(79, 29), 13, 4); return;
    case 990: BS = copy(R.ibox(79, 29), 18, 4); return;
    case 989: BS = copy(R.ibox(79, 29), 23, 4); return;
    case 993:
        BS = trim(R.box(3));
        if (BS.empty() || (BS[0] != '4' && BS[0] != '9')) R.errorRow(gr(" Λάθος καθεστώς ΔΕΦΚ"));
        return;
    case 994: {
        const std::string s = R.box(2);
        BS = s.substr(0, s.find(' '));
        if (BS != "IM" && BS != "COM" && BS != "EX" && BS != "EU")
            R.errorRow(gr(" Το Καθεστώς πρέπει να είναι [ IM,COM,EX,EU ] στα ΑΓΓΛΙΚΑ"));
        return;
    }
    case 995: BS = UMAS::LOGOTYPO[9]; return;
    case 698:
    case 996: BS = "20" + copy(R.box(8), 5, 2); return;
    case 997: {
        const PLAT::DateTime t = PLAT::now();
        char b[8];
        std::snprintf(b, sizeof b, "%02d%02d", t.hour % 100, t.minute % 100);
        BS = b;
        return;
    }
    case 998: BS = DISKET::date6(R.box(8)); return;
    case 999: BS = R.row().TIMES; return;
    case 699: BS = "GR00" + R.box(7); return;
    case 701: BS = pte ? "0" : ""; return;
    case 702: BS = pte ? R.box(21) : ""; return;
    case 703: BS = pte ? R.box(22) : ""; return;
    case 910: BS = pte ? "13" : "10"; return;
    case 796: BS = std::to_string(R.IDIOS); return;
    case 797: BS = R.IDIOS == 1 ? (R.EXT == "EXP" ? "00300" : "00500") : ""; return;
    case 798: BS = R.IDIOS == 2 ? "GR" : ""; return;
    case 799: BS = R.IDIOS == 2 ? R.box(34) : ""; return;
    case 901: BS = trim(R.box(21)).empty() ? "1" : "0"; return;
    case 903: BS = trim(R.box(21)).empty() ? "-" : ""; return;
    case 906: BS = trim(R.box(144)).empty() && trim(R.box(28)).empty() ? "0" : ""; return;
    case 907:
        BS = !trim(R.box(144)).empty() ? "1" : trim(R.box(28)).empty() ? "6" : "3";
        return;
    case 908: BS = copy(trim(R.box(144)), 1, 4); return;
    case 909: BS = UMAS::REMLCH(copy(trim(R.box(144)), 5, 4), '0'); return;
    case 920: BS = trim(R.box(34)) + "/" + copy(R.box(8), 5, 2) + "/" + trim(R.box(20)); return;
    case 921: BS = R.box(35); return;
    case 955: BS = has(R.box(25), "GRLP") ? "" : R.box(25); return;
    default:
        if (KV >= 1 && KV <= 289) BS = R.box(KV);
        else BS.clear();
        return;
    }
}

void AFTERVALUE(RUN& R) {
    std::string& BS = R.BS;
    switch (R.KV()) {
    case 8: BS = DISKET::date6(BS); return;
    case 11:
        R.AFM11 = BS;
        if (BS.empty() && trim(R.box(144)).empty() && trim(R.box(28)).empty())
            R.error(gr("Οταν δεν υπάρχει Φορ.Αποθήκη ή Ειδική Αδεια, χρειάζεται ο ΑΦΜ Αποστολέα"));
        return;
    case 12:
    case 13:
        if (!R.AFM11.empty()) BS.clear();
        return;
    case 21: R.AFM21 = BS; return;
    case 22:
    case 23:
        if (!R.AFM21.empty()) BS.clear();
        return;
    case 40:
    case 80: country(R, "Καταγωγής"); return;
    case 44: country(R, "Προορισμού"); return;
    case 47:
    case 53: country(R, "Μέσου Μεταφοράς"); return;
    case 54: country(R, "Νομίσματος"); return;
    case 66:
        if (R.AREIDOS <= 1 && BS.empty())
            R.errorRow(gr(" Το πεδίο Σημεία & Αριθμοί - Κόλλα να συμπληρώνεται στο 1ο είδος"));
        return;
    case 84:
    case 884:
        if (BS.size() != 2) R.errorRow(gr(" Κωδικός Καθεστώτος 37α να είναι Τετραψήφιο ( 2+2 ) π.χ 4000"));
        return;
    default: return;
    }
}

void FOROLOGIA(RUN& R) {
    static const char* const VTYPES[] = {"MWH", "KGM", "TNE", "057", "072", "KLT", "MIL", "LPA"};
    int V = 0, A = 0;
    R.BS.clear();
    for (int k = 1; k <= 8; ++k) {
        const std::string raw = taxField(R, k, 0);
        if (raw.empty() || raw[0] == ' ' || !R.FOROI888[size_t(k)]) continue;
        const std::string type = trim(raw);
        if (R.EDE == 5 && type == "600") continue;
        R.lineEnd();
        bool kindV = type[0] == '0';
        for (const char* p : {"80", "81", "82", "83"})
            if (type.compare(0, 2, p) == 0) kindV = true;
        for (const char* t : VTYPES)
            if (type == t) kindV = true;
        const int n = kindV ? ++V : ++A;
        R.put((kindV ? "0115:1~2~" : "0114:1~2~") + R.STEIDOS + "~" + std::to_string(n));
        if (!kindV && type[0] != 'A' && type[0] != 'B' && type[0] != 'C' && type[0] != 'D') {
            static const int RANGES[][2] = {{100, 127}, {200, 260}, {300, 350}, {400, 432},
                                            {500, 515}, {600, 750}, {800, 824}};
            const double v = ROUNDED(UMAS::EVAL(type));
            bool inside = false;
            for (const auto& r : RANGES)
                if (v >= r[0] && v <= r[1]) inside = true;
            if (!inside) {
                R.error(DISKVAS::ERRMESS(88));
                R.ERR.push_back("  100-127, 200-240, 300-323, 400-432, 500-515, 600-712, 800-824");
            }
        }
        R.put("~" + type);
        std::string amount;
        if (type == "MWH") {
            const std::string s = R.ibox(89, 39);
            const size_t c = s.find(':');
            amount = c == std::string::npos ? s : s.substr(c + 1);
        } else {
            amount = taxField(R, k, 3);
        }
        amount = trim(amount);
        if (!amount.empty() && !has(amount, ".")) amount += ".0";
        if (!amount.empty() && amount[0] == '-') amount.erase(0, 1);
        if (kindV) {
            R.BS = "V~" + amount;
            R.put("~" + R.BS);
            continue;
        }
        R.put("~" + amount + "~A~0");
        std::string base = trim(taxField(R, k, 1));
        if (has(base, "x")) {
            const double rate = UMAS::EVAL(taxField(R, k, 2));
            if (rate == 0 || !std::isfinite(rate)) {
                // A base worked out from the amount needs a rate to divide by.
                base.clear();
                R.error(gr("Βάση \"x\" με μηδενικό συντελεστή στην ") + std::to_string(k) +
                        gr("η γραμμή φόρου του ") + std::to_string(R.AREIDOS) + gr("ου είδους"));
            } else {
                base = FIXED(ROUNDED(UMAS::EVAL(taxField(R, k, 3)) * 100 / rate) / 100, 2);
            }
        }
        R.put("~" + DISKET::TWODECIMALS(base));
        std::string rate = DISKET::TWODECIMALS(trim(taxField(R, k, 2)));
        if (!rate.empty() && !has(rate, ".")) rate += ".0";
        R.BS = rate;
        R.put("~" + rate);
    }
}

void WRITEKRASIA(RUN& R) {
    EKEXTRA::KRASTABLE kb;
    EKEXTRA::READKRAS(EKEXTRA::ITEMNAME(EKEXTRA::DECLNUM(), ".K", std::to_string(R.AREIDOS)), kb);
    R.BS.clear();
    const std::string item = std::to_string(R.AREIDOS);
    int n = 0;
    for (int k = 1; k <= EKEXTRA::KRASTABLE::LINES; ++k) {
        const EKEXTRA::TKRAS& rec = kb.L[size_t(k - 1)];
        const std::string code = trim(rec.KRASCODE);
        if (code.empty()) continue;
        const std::string where = gr("ο στίχο του ") + item + gr("ου είδους");
        if (code.size() != 10) R.error(DISKVAS::ERRMESS(89) + std::to_string(k) + where);
        const std::string q = trim(rec.KRASPOSOT);
        if (!(UMAS::EVAL(q) >= 1e-6)) R.error(gr("Μηδενική Ποσότητα στον ") + std::to_string(k) + where);
        ++n;
        R.lineEnd();
        R.BS = "0111:1~2~" + item + "~" + std::to_string(n) + "~" + copy(code, 1, 10) + "~" + copy(q, 1, 10);
        R.put(R.BS);
    }
}

void GET_IDIOS(RUN& R) {
    const std::string D = trim(R.box(34));
    if (D == trim(R.box(21)) || D == trim(R.box(11))) R.IDIOS = 1;
    else if (D == UMAS::AFM_EKTEL) R.IDIOS = 2;
    else {
        DISKET::DECLARANTWARNING();
        R.IDIOS = 2;
    }
}

}  // namespace DISKOIL
