// The item segments of the segment file: the item's tax segments, its supplementary units, its base
// products from the tax-base file, the offices of transit, the check of the delivery terms, and the
// vehicles: the check before a run whether any item has one, and the vehicle segments of an item
// with the permit data of an import or excise declaration.
#include <string>

#include "common/umas.h"
#include "documents/ekextra.h"
#include "platform/codepage.h"
#include "submission/disket_ops.h"
#include "submission/disket_run.h"
#include "submission/disket_writers.h"
#include "submission/diskvas.h"

namespace DISKET {

using PLAT::gr;
using UMAS::trim;

namespace {

std::string num(int n) { return std::to_string(n); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Box `offset` (0 type, 1 base, 2 rate, 3 amount) of tax line k (1..8) of the current item.
std::string taxField(const RUN& R, int k, int offset) {
    return R.itemBox(101 + 5 * (k - 1) + offset, 51 + 5 * (k - 1) + offset);
}

// Tax types written as kind V (amounts only); all others are kind A (base and rate).
bool kindV(const std::string& type) {
    const std::string two = type.substr(0, 2);
    for (const char* p : {"80", "81", "82", "83", "84", "DT"})
        if (two == p) return true;
    return type == "TNE" || type == "KLT" || type == "LPA" || type[0] == '0';
}

// "ο στίχο του " + item + "ου είδους": where a line of the item's lists stands.
std::string lineOfItem(int line, int item) {
    return num(line) + gr("ο στίχο του ") + num(item) + gr("ου είδους");
}

// The vehicle file of item n of the open declaration.
std::string carsFile(int n) { return EKEXTRA::ITEMNAME(EKEXTRA::DECLNUM(), ".O", num(n)); }

// "ο όχημα." + item + "ο είδος": which vehicle an error line speaks of.
std::string vehicleOfItem(int vehicle, int item) {
    return num(vehicle) + gr("ο όχημα.") + num(item) + gr("ο είδος");
}

// A chassis number holds capital Latin letters and digits only.
bool latinAndDigits(const std::string& s) {
    for (char c : s)
        if (!((c >= 'A' && c <= 'Z') || isDigit(c))) return false;
    return true;
}

bool allDigits(const std::string& s) {
    for (char c : s)
        if (!isDigit(c)) return false;
    return true;
}

}  // namespace

std::string TWODECIMALS(const std::string& s) {
    const size_t p = s.find('.');
    return p == std::string::npos || s.size() <= p + 3 ? s : s.substr(0, p + 3);
}

bool DECIMALNUMBER(const std::string& s) {
    bool digit = false, point = false;
    for (char c : s) {
        if (isDigit(c)) digit = true;
        else if (c == '.' && !point) point = true;
        else return false;
    }
    return digit;
}

// ---- Taxes (row 980) -----------------------------------------------------------------------------

void WRITERS::TAXES(RUN& R) {
    const bool m05 = R.EDE == ED_FILE || R.EDE == ED_SEND;
    const bool m17 = R.EDE == ED_AUTO || R.EDE == ED_AUTOSEND;
    const std::string item = num(R.item());
    int A = 0, V = 0;
    for (int k = 1; k <= 8; ++k) {
        const std::string raw = taxField(R, k, 0);
        if (raw.empty() || raw[0] == ' ') continue;
        // The box without the blanks that pad it to its length.
        std::string type = trim(raw);
        R.lineEnd();
        const bool v = kindV(type);
        const int n = v ? ++V : ++A;
        if (m05) R.put((v ? "3124:1~2~" : "3121:1~2~") + item + "~" + num(n));
        else if (m17) R.put((v ? "0115:1~2~" : "0114:1~2~") + item + "~" + num(n));
        if (type == "TNE") type = "TNE#J";
        R.put("~" + type);
        if (!m05 && !m17) continue;
        if (m05 && !v) R.put("~0");
        std::string amount = trim(taxField(R, k, 3));
        if (amount.empty()) amount = "0.0";
        else if (amount.find('.') == std::string::npos) amount += ".0";
        const std::string base = trim(taxField(R, k, 1)), rate = trim(taxField(R, k, 2));
        if (m05) {
            R.put("~" + amount + (v ? "~V" : "~A"));
            if (!v) R.put("~" + (DECIMALNUMBER(base) ? base : std::string()) + "~" + (DECIMALNUMBER(rate) ? rate : std::string()));
        } else if (v) {
            R.put("~V~" + amount);
        } else {
            std::string b = TWODECIMALS(base), r = TWODECIMALS(rate);
            if (b.empty()) b = "0";
            if (r.empty()) r = "0";
            else if (r.find('.') == std::string::npos) r += ".0";
            R.put("~" + amount + "~A~0~" + b + "~" + r);
        }
    }
}

// ---- Supplementary units (rows 89 and 890) --------------------------------------------------------

void WRITESYMMONADES(RUN& R) {
    R.BS = trim(R.itemBox(89, 39));
    if (R.BS.empty()) return;
    const size_t colon = R.BS.find(':');
    if (colon == std::string::npos || colon == 0) {
        R.errorRow(DISKVAS::ERRMESS(11));
        return;
    }
    R.BS = R.BS.substr(colon + 1);
}

void WRITEMONADES(RUN& R) {
    R.BS = R.itemBox(89, 39);
    const size_t colon = R.BS.find(':');
    if (colon == std::string::npos || colon == 0) return;
    const std::string C = R.BS.substr(0, colon);
    const std::string C1 = UMAS::REMLCH(C, '0');
    R.BS = C1;
    const std::string& digits = C1.size() >= 2 ? C1 : C;
    if (digits.size() < 2 || !isDigit(digits[0]) || !isDigit(digits[1])) {
        R.errorRow(DISKVAS::ERRMESS(2));
        return;
    }
    // The range is 1 to 90 (the message still names 58).
    const double v = ROUNDED(UMAS::EVAL(C1));
    if (v < 1 || v > 90) R.errorRow(DISKVAS::ERRMESS(2));
}

// ---- Delivery terms (row 49) ----------------------------------------------------------------------

void FOBCIF(RUN& R) {
    if (!R.BS.empty() && !INLIST(R.BS, 96)) R.error(gr("Λάθος κωδικός ") + R.BS + DISKVAS::ERRMESS(97));
}

// ---- Base products (rows 1119 and 3119) -----------------------------------------------------------

void WRITERS::BASEPRODUCTS(RUN& R) {
    if (trim(R.box(33)) != "02") return;
    const int item = R.item();
    EKEXTRA::VASTABLE t;
    EKEXTRA::READVAS(EKEXTRA::ITEMNAME(trim(R.box(1)), ".V", num(item)), t);
    const uint16_t KV = R.KV();
    const std::string head = UMAS::LZ(num(KV < 2000 ? KV - 1000 : KV), 4);
    int n = 0;
    for (int Q = 1; Q <= EKEXTRA::VASTABLE::LINES; ++Q) {
        const EKEXTRA::TVAS& L = t.L[size_t(Q - 1)];
        if (trim(L.VASCODE).empty()) continue;
        const std::string code = copy(L.VASCODE, 1, 10), subsidy = copy(L.VASCODE, 12, 4);
        if (code.size() < 10) R.error(DISKVAS::ERRMESS(89) + lineOfItem(Q, item));
        if (subsidy.size() < 4) R.error(DISKVAS::ERRMESS(75) + lineOfItem(Q, item));
        const std::string quantity = trim(L.VASPOSOT);
        if (!(UMAS::EVAL(quantity) >= 1e-6)) R.error(DISKVAS::ERRMESS(76) + lineOfItem(Q, item));
        R.lineEnd();
        R.put(head + ":1~2~" + num(item) + "~" + num(++n) + "~" + code + "~" + subsidy + "~" + copy(quantity, 1, 10) +
              "~" + trim(L.VASPER));
        ++R.TOTVASIS;
    }
}

// ---- Offices of transit (row 1021) ----------------------------------------------------------------

void WRITERS::TRANSITOFFICES(RUN& R) {
    int n = 0;
    for (int b : {191, 193, 195, 197, 199}) {
        const std::string office = trim(R.box(b));
        if (office.empty()) continue;
        if (office.size() != 8) {
            R.error(DISKVAS::ERRMESS(8));
            continue;
        }
        R.lineEnd();
        R.put("0021:1~2~" + num(++n) + "~" + office);
    }
}

// ---- Vehicles ---------------------------------------------------------------------------------------

std::string PERMITDATE(const std::string& ddmmyy, bool dashes) {
    if (trim(ddmmyy).empty()) return "";
    const char c5 = ddmmyy.size() >= 5 ? ddmmyy[4] : ' ';
    const std::string century = c5 == '7' || c5 == '8' || c5 == '9' ? "19" : "20";
    const std::string y = copy(ddmmyy, 5, 2), m = copy(ddmmyy, 3, 2), d = copy(ddmmyy, 1, 2);
    return dashes ? century + y + "-" + m + "-" + d : century + y + m + d;
}

bool WRITERS::VEHICLECHECK(RUN&) {
    EKEXTRA::PINAYT t;
    for (int n = 1; n <= MAXITEMS; ++n) {
        if (!EKEXTRA::READCARS(carsFile(n), t)) continue;
        for (const BOD::MOT& m : t.V)
            if (!trim(m.ON).empty()) return true;
    }
    return false;
}

void WRITERS::VEHICLES(RUN& R) {
    const bool dao = R.EDE == ED_DAO;
    if (dao) R.AREIDOS = 1;
    const int item = R.item();
    EKEXTRA::PINAYT t;
    EKEXTRA::READCARS(carsFile(item), t);
    const uint16_t KV = R.KV();
    std::string head = UMAS::LZ(num(KV < 2000 ? KV - 1000 : KV), 4) + ":1~2";
    if (!dao) head += "~" + num(item);

    // The permit data of an import or excise declaration, closing every vehicle's line.
    std::string permit;
    if (R.EXT == "IMP" || R.EXT == "DFK") {
        const auto& E = UMAS::EXTRA_OXIMATA;
        const bool dashes = R.EXT == "DFK";
        permit = PERMITDATE(E[1], dashes) + "~" + PERMITDATE(E[2], dashes) + "~" + E[3] + "~" + E[4] + "~" + E[5] + "~" +
                 E[6] + "~";
    }

    int N = 0;
    for (int Q = 1; Q <= EKEXTRA::PINAYT::CARS; ++Q) {
        const BOD::MOT& m = t.V[size_t(Q - 1)];
        const std::string ON = trim(m.ON);
        if (ON.empty()) continue;
        if (ON[0] < '1' || ON[0] > '9') {
            // A wrong kind ends the item's vehicles; none of them is counted.
            R.error(DISKVAS::ERRMESS(87) + lineOfItem(Q, item));
            return;
        }
        const std::string K = trim(ON.substr(0, 2));
        const std::string chassis = trim(m.AP);
        if (chassis.empty()) R.error(DISKVAS::ERRMESS(56) + vehicleOfItem(Q, item));
        if (!latinAndDigits(chassis)) R.error(DISKVAS::ERRMESS(65) + vehicleOfItem(Q, item));
        auto field = [](const std::string& s, size_t n) { return UMAS::cut(trim(s), n); };
        const std::string make = field(m.ER, 20), type = field(m.TY, 20), engine = field(m.AK, 20),
                          fuel = field(m.KA, 20), year = field(m.ET, 4), capacity = field(m.KY, 5);
        const std::string flag = trim(m.KT) == "1" ? "1" : "0";
        std::string V;
        if (R.EDE == ED_FILE || R.EDE == ED_SEND) {
            V = K + "~" + chassis + "~" + fuel + "~" + engine + "~" + year + "~" + make + "~" + capacity + "~" + flag + "~" + type;
        } else if (dao) {
            std::string registration;
            if (N == 0) {
                // The DAO's registration number with its check, as its own field gives it.
                const std::string saved = R.BS;
                ARKYKLOFORIAS(R);
                registration = R.BS;
                R.BS = saved;
            }
            V = chassis + "~" + make + "~" + registration + "~" + K;
        } else {
            V = chassis + "~" + capacity + "~" + engine + "~" + fuel + "~" + make + "~" + type + "~" + year + "~" + K + "~" + flag;
        }
        if (!dao) {
            if (!allDigits(trim(m.ET))) R.error(DISKVAS::ERRMESS(0) + gr("ΕΤΟΣ. ") + vehicleOfItem(Q, item));
            if (!allDigits(trim(m.KY))) R.error(DISKVAS::ERRMESS(0) + gr("ΚΥΒΙΣΜΟΣ. ") + vehicleOfItem(Q, item));
        }
        R.lineEnd();
        R.put(head + "~" + num(++N) + "~" + V + "~" + permit);
    }
    R.TOTALCARS += N;
}

}  // namespace DISKET
