// Fuzz target: the excise row step over any field table, any box texts and any wine-lines file of
// the items. Input: the mode (byte 0: 1 or 5), the kind (byte 1), the declarant's standing (byte 2),
// the table (10120 bytes, shorter is zero-filled), then sections separated by 0xFF: the main
// page's box texts (filled box after box), the ".K" file of item 1, the ".K" file of item 2.
#include <algorithm>
#include <vector>

#include "declarations/store.h"
#include "documents/ekextra.h"
#include "storeform.h"
#include "submission/diskoil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    static bool installed = [] {
        STORE::installFiles(FUZZSTORE::folder() + "/");
        return true;
    }();
    (void)installed;
    static const char* const KINDS[] = {"DFK", "PTE", "EXP"};
    DISKOIL::RUN R;
    R.EDE = data[0] % 2 ? 5 : 1;
    R.EXT = KINDS[data[1] % 3];
    R.IDIOS = uint8_t(1 + data[2] % 2);
    std::vector<uint8_t> table(PARAMS::PARTIM7_SIZE, 0);
    const size_t n = std::min(size - 3, table.size());
    std::copy(data + 3, data + 3 + n, table.begin());
    R.TAB = PARAMS::decodePARTIM7(table.data());

    const std::vector<std::string> sections = FUZZSTORE::sections(data, size, 3 + n, 3);
    FUZZSTORE::fillBoxes(sections[0]);
    BOD::BOS(BOD::DIA, BOD::GV, 1, "7");
    const std::string num = EKEXTRA::DECLNUM();
    for (int item = 1; item <= 2; ++item) {
        const std::string& k = sections[size_t(item)];
        FUZZSTORE::put(num + ".K" + std::to_string(item), reinterpret_cast<const uint8_t*>(k.data()), k.size());
    }
    DISKOIL::WALK(R);
    // Every error line is counted once, except the second and third of a group.
    if (R.CERR > int(R.ERR.size())) __builtin_trap();
    return 0;
}
