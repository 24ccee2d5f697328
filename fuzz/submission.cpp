// Fuzz target: the row engine of the segment file over any field table, any box texts, a DAO or
// manifest buffer, and the readers of the counter files and "Kath_Egg.txt". Input: the mode (byte
// 0), the kind (byte 1), the table (10120 bytes, shorter is zero-filled), then sections separated by
// 0xFF: the main page's box texts (filled box after box), the buffer lines, the counter file, the
// guarantee-kinds file, the TIR data file ".TIT".
#include <algorithm>
#include <vector>

#include "declarations/ek0.h"
#include "declarations/store.h"
#include "documents/ekextra.h"
#include "storeform.h"
#include "submission/disket_run.h"
#include "submission/diskvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    static bool installed = [] {
        STORE::installFiles(FUZZSTORE::folder() + "/");
        return true;
    }();
    (void)installed;
    static const char* const KINDS[] = {"IMP", "EXP", "MTF", "MET", "DFK"};
    DISKET::RUN R;
    R.EDE = uint8_t(data[0] % 9);
    R.EXT = KINDS[data[1] % 5];
    std::vector<uint8_t> table(PARAMS::PARTIM7_SIZE, 0);
    const size_t n = std::min(size - 2, table.size());
    std::copy(data + 2, data + 2 + n, table.begin());
    R.TAB = PARAMS::decodePARTIM7(table.data());

    const std::vector<std::string> sections = FUZZSTORE::sections(data, size, 2 + n, 5);
    FUZZSTORE::fillBoxes(sections[0]);
    DISKET::PBUF buf;
    buf.LINES.assign(36, "");
    buf.CELLS.assign(721, "");
    for (size_t i = 0, l = 1; i < sections[1].size() && l < 721; ++l, i += 22) {
        if (l < 36) buf.LINES[l] = sections[1].substr(i, 78);
        buf.CELLS[l] = sections[1].substr(i, 22);
    }
    if (R.EDE == DISKET::ED_DAO || R.EDE == DISKET::ED_DILO) R.BUF = &buf;
    if (R.EDE == DISKET::ED_DILO) R.SYNEIDH = std::clamp(int(UMAS::EVAL(buf.line(1))), 0, 1000);
    FUZZSTORE::put("T.TIT", reinterpret_cast<const uint8_t*>(sections[4].data()), sections[4].size());
    EKEXTRA::ST_TIR tit;
    if (EKEXTRA::READTIT(UMAS::PATH + "T.TIT", tit))
        for (int i = 0; i < 4; ++i) R.ST_TIR[size_t(i + 1)] = tit.T[size_t(i)];
    R.IST2L = DISKET::ISDECLT2L();
    DISKET::WALK(R);
    if (R.CERR != int(R.ERR.size())) __builtin_trap();

    FUZZSTORE::put("DILANAF.DAT", reinterpret_cast<const uint8_t*>(sections[2].data()), sections[2].size());
    DISKVAS::GETANAFDIL();
    if (DISKVAS::ANAFDIL < 1) __builtin_trap();
    FUZZSTORE::put("Kath_Egg.txt", reinterpret_cast<const uint8_t*>(sections[3].data()), sections[3].size());
    (void)EK0::KATHEGG(sections[0].substr(0, 2));
    (void)DISKET::ISO8859(sections[0]);
    return 0;
}
