// The weekday abbreviations of the date entries.
#include "common/umas.h"
#include "platform/codepage.h"

namespace UMAS {

const std::array<std::string, 7> WE = {PLAT::gr("Κυ"), PLAT::gr("Δε"), PLAT::gr("Τρ"), PLAT::gr("Τε"),
                                       PLAT::gr("Πε"), PLAT::gr("Πα"), PLAT::gr("Σα")};

}  // namespace UMAS
