// The question what an excise export is for.
#include "common/umas.h"
#include "documents/ekbodi.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace EKBODI {

uint8_t TYPOSDEFK() {
    SCR::CALLM(53, true);
    SCR::PRINT(4, 22, PLAT::gr("     1. ΟΙΝΟΠΝΕΥΜΑΤΩΔΗ         "));
    SCR::PRINT(4, 23, PLAT::gr("     2. ΑΥΤΟΚΙΝΗΤΑ             "));
    int LI = 0, CO = 0, SE = 0, KK = 3;
    // Only Enter answers; Esc and every other key leave the question as it is.
    do UMAS::EPIL(4, 15, 5, 0, 22, 1, 27, 1, 0, 0, LI, CO, SE, KK, 0);
    while (KK != 0);
    SCR::RECALL();
    PLAT::con().refresh();
    return uint8_t(LI);
}

}  // namespace EKBODI
