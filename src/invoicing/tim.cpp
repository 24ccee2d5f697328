// The invoices menu (masks 13 and 2): invoices, credit notes, collection and payment receipts.
#include "common/umas.h"
#include "invoicing/tim.h"
#include "invoicing/tim0.h"
#include "platform/files.h"
#include "screen/scr.h"

namespace TIM {

void EJOD() {
    SCR::CALLM(13, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({1, 6, 7}, TIM0::GM2());
    int LI = 0, CO = 0, SE = 0, KK = 0;
    for (;;) {
        KK = 0;
        // The print settings of F1 are those of the item's form: invoices, or the two receipts.
        const int form = LI <= 1 ? UMAS::PE_TIMO : LI == 2 ? UMAS::PE_APOE : UMAS::PE_APOP;
        UMAS::EPIL(4, 15, 27, 0, 7, 2, 26, 3, 0, 0, LI, CO, SE, KK, form);
        if (KK == 3) break;
        if (KK != 0) continue;
        switch (LI) {
        case 0: TIMO(0); break;
        case 1:
            if (PLAT::fileExists(UMAS::PATH + "SI.DAT")) TIMO(2);
            break;
        case 2: APOD(1); break;
        case 3: APOD(0); break;
        default: break;
        }
        UMAS::FKEY({1, 6, 7}, TIM0::GM2());
    }
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace TIM
