// Fuzz target: the item segments over any tax-base (".V") and vehicle (".O") file contents, any
// tax and unit boxes and any permit texts. Input: the mode (byte 0), the kind (byte 1), the item
// (byte 2), then sections separated by 0xFF: the ".V" image, the ".O" image, the main page's box
// texts (filled box after box), the permit texts (20 bytes each). No writer reads past a table,
// counts more lines than the file holds, or leaves the error count apart from the error list.
#include <algorithm>
#include <vector>

#include "documents/ekextra.h"
#include "storeform.h"
#include "submission/disket_ops.h"
#include "submission/disket_run.h"
#include "submission/disket_writers.h"

namespace {

void check(bool ok) {
    if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    (void)FUZZSTORE::folder();
    static const char* const KINDS[] = {"IMP", "EXP", "MTF", "MET", "DFK"};
    const std::vector<std::string> sections = FUZZSTORE::sections(data, size, 3, 4);
    FUZZSTORE::fillBoxes(sections[2]);
    BOD::BOS(BOD::DIA, BOD::GV, 1, "F");
    BOD::BOS(BOD::DIA, BOD::GV, 33, "02");
    for (int i = 1; i <= 6; ++i) UMAS::EXTRA_OXIMATA[size_t(i)] = sections[3].substr(std::min(sections[3].size(), size_t(20 * (i - 1))), 20);
    const int item = 1 + data[2] % 3;
    FUZZSTORE::put("F.V" + std::to_string(item), sections[0]);
    FUZZSTORE::put("F.O" + std::to_string(item), sections[1]);

    DISKET::RUN R;
    R.EDE = uint8_t(data[0] % 9);
    R.EXT = KINDS[data[1] % 5];
    R.AREIDOS = item;
    R.SYNEIDH = item;
    for (uint16_t KV : {980, 89, 890, 49, 3119, 1119, 1021, 1126, 3120, 1112}) {
        R.TAB[0].KV = KV;
        R.I = 1;
        DISKET::WALK(R);
        R.AREIDOS = item;
    }
    check(R.TOTVASIS <= 2 * EKEXTRA::VASTABLE::LINES);
    check(R.TOTALCARS <= 3 * EKEXTRA::PINAYT::CARS);
    (void)DISKET::WRITERS::VEHICLECHECK(R);
    check(R.CERR == int(R.ERR.size()));
    for (int i = 1; i <= 6; ++i) (void)DISKET::PERMITDATE(UMAS::EXTRA_OXIMATA[size_t(i)], i % 2 == 0);
    return 0;
}
