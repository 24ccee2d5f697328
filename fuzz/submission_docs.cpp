// Fuzz target: the document and transport writers of the segment file over any side files. Input:
// the mode (byte 0), the kind (byte 1), general switch 13 (byte 2), then sections separated by 0xFF:
// the box-40 grid of item 1, the box-44 list, the container file of item 1, "EGGNUM.TXT", and the
// main page's box texts (filled box after box).
#include <algorithm>
#include <vector>

#include "documents/ekextra.h"
#include "storeform.h"
#include "submission/disket_run.h"
#include "submission/disket_writers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    (void)FUZZSTORE::folder();
    static const char* const KINDS[] = {"IMP", "EXP", "MTF", "MET", "DFK"};
    const std::vector<std::string> sections = FUZZSTORE::sections(data, size, 3, 5);
    FUZZSTORE::fillBoxes(sections[4]);
    // The side files are named by box 1: a fixed number keeps them in the scratch folder.
    BOD::BOS(BOD::DIA, BOD::GV, 1, "F");
    using FUZZSTORE::put;
    put("F.L1", sections[0]);
    put("F.T44", sections[1]);
    put("F.01", sections[2]);
    put("EGGNUM.TXT", sections[3]);
    UMAS::PAREDE[13].TIMI = data[2] % 3;
    DISKET::RUN R;
    R.EDE = uint8_t(data[0] % 9);
    R.EXT = KINDS[data[1] % 5];
    R.AREIDOS = 1;
    R.SYNEIDH = 1 + data[1] / 5 % 3;
    R.IST2L = DISKET::ISDECLT2L();
    for (uint16_t KV : {1030, 3130, 3125, 3127, 1029, 1026, 3128, 1032, 3180, 1025, 3126, 1080}) {
        R.TAB[0].KV = KV;
        R.I = 1;
        using namespace DISKET::WRITERS;
        switch (KV) {
        case 1030:
        case 3130: PREVDOCS(R); break;
        case 3125: ATTACHEDDOCS(R); break;
        case 3127: SPECIALMENTIONS(R); break;
        case 1029: TRANSITDOCS44(R); break;
        case 1026:
        case 3128: TRANSITPACKAGES(R); break;
        case 1032: GUARANTEE(R); break;
        case 3180: GUARANTEENUMS(R); break;
        case 1025:
        case 3126: CONTAINERS(R); break;
        default: CARRIER(R); break;
        }
    }
    if (R.CERR != int(R.ERR.size())) __builtin_trap();
    // A list read in the older layout is rewritten whole in the newer one.
    if (sections[1].size() == EKEXTRA::THESI44::OLD_SIZE && data[2] % 3 != 1) {
        EKEXTRA::THESI44 t;
        bool old = true;
        EKEXTRA::READT44(UMAS::PATH + "F.T44", t, &old);
        if (old) __builtin_trap();
    }
    return 0;
}
