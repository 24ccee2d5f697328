// The vehicles of a declaration: the check before a run whether any item has one, and the vehicle
// segments of an item, with the permit data of an import or excise declaration.
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
            R.error(DISKVAS::ERRMESS(87) + num(Q) + gr("ο στίχο του ") + num(item) + gr("ου είδους"));
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
