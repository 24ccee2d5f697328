// The weekday abbreviations of the date entries and the month names of the reports.
#include "common/umas.h"
#include "platform/codepage.h"

namespace UMAS {

const std::array<std::string, 7> WE = {PLAT::gr("Κυ"), PLAT::gr("Δε"), PLAT::gr("Τρ"), PLAT::gr("Τε"),
                                       PLAT::gr("Πε"), PLAT::gr("Πα"), PLAT::gr("Σα")};

const std::array<std::string, 13> MH = {
    "",
    PLAT::gr("ΙΑΝΟΥΑΡΙΟ"), PLAT::gr("ΦΕΒΡΟΥΑΡΙΟ"), PLAT::gr("ΜΑΡΤΙΟ"),   PLAT::gr("ΑΠΡΙΛΙΟ"),
    PLAT::gr("ΜΑΙΟ"),      PLAT::gr("ΙΟΥΝΙΟ"),     PLAT::gr("ΙΟΥΛΙΟ"),   PLAT::gr("ΑΥΓΟΥΣΤΟ"),
    PLAT::gr("ΣΕΠΤΕΜΒΡΙΟ"), PLAT::gr("ΟΚΤΩΒΡΙΟ"), PLAT::gr("ΝΟΕΜΒΡΙΟ"), PLAT::gr("ΔΕΚΕΜΒΡΙΟ")};

}  // namespace UMAS
