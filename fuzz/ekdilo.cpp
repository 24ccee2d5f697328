// Fuzz target: the cargo manifest's file of any size and bytes read over a filled record, stored
// again, and a manifest run of the row engine over what was read.
#include <algorithm>
#include <cmath>

#include "declarations/store.h"
#include "shell/install.h"
#include "storeform.h"
#include "submission/disket_run.h"
#include "submission/ekdilo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    (void)FUZZSTORE::folder();
    static const PARAMS::PARTIM7TABLE table = [] {
        STORE::installFiles(FUZZSTORE::folder() + "/");
        const std::string img = INSTALL::fieldTableImage(
            {"1|1001|D|R|6||", "2|301|L|R|..5||", "3|305|C||..20||", "4|331|A||..8|N|", "5|355|K||..9|N|",
             "6|356|M||..15|N|", "70|1002|G|R|6||", "71|343|N|R|..3|N|", "72|344|E||..1||", "73|345|A||..21||",
             "74|346|K||..3||", "75|347|S||..21||", "76|349|Y||..2||", "77|350|P||..8|N|", "78|351|T||..30||",
             "79|352|B||..12|N|", "80|359|F||..21||"});
        return PARAMS::decodePARTIM7(reinterpret_cast<const uint8_t*>(img.data()));
    }();
    FUZZSTORE::put("F.dil", data, size);
    EKDILO::DILOBUF b;
    b.set(2, "FILLED");
    b.set(EKDILO::FIELDS, "LAST");
    const EKDILO::DILOBUF filled = b;
    if (!EKDILO::READFILE(UMAS::PATH + "F.dil", b)) __builtin_trap();
    const size_t n = std::min(size, EKDILO::RECBYTES);
    if (b.raw.size() != EKDILO::RECBYTES || b.raw.compare(0, n, reinterpret_cast<const char*>(data), n) != 0 ||
        b.raw.compare(n, std::string::npos, filled.raw, n, std::string::npos) != 0)
        __builtin_trap();
    const int pages = EKDILO::STOREDPAGES(b);
    if (pages < 0 || pages > EKDILO::PAGES) __builtin_trap();
    EKDILO::STORE(UMAS::PATH + "G.dil", b);
    EKDILO::DILOBUF again;
    EKDILO::READFILE(UMAS::PATH + "G.dil", again);
    if (again.raw.compare(0, EKDILO::STOREDBYTES(b), b.raw, 0, EKDILO::STOREDBYTES(b)) != 0) __builtin_trap();

    const DISKET::PBUF buf = EKDILO::TOPBUF(b);
    DISKET::RUN R;
    R.EDE = DISKET::ED_DILO;
    R.EXT = "IMP";
    R.TAB = table;
    R.BUF = &buf;
    R.SYNEIDH = int(std::nearbyint(std::min(std::max(UMAS::EVAL(buf.line(1)), -1.0), 1e6)));
    DISKET::WALK(R);
    if (R.CERR != int(R.ERR.size())) __builtin_trap();
    return 0;
}
