// The report of a euro rate of 0 after the sequence.
#include "upgrades/rebuilds.h"

#include "common/umas.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace REBUILDS {

void reportZeroEuro() {
    if (UMAS::EURO != 0) return;
    // A box over rows 21 to 24 with the two lines; the screen under it comes back after the key.
    UMAS::CONV box = UMAS::CONV::make(17, 21, 64, 24);
    for (int y = 0; y < box.H(); ++y)
        for (int x = 0; x < box.W(); ++x) {
            box.ch(x, y) = ' ';
            box.at(x, y) = 0x4F;
        }
    SCR::CALLM(&box, true);
    SCR::PRINT(19, 22, PLAT::gr("Η ισοτιμία του ευρώ (νόμισμα 24) είναι 0."));
    SCR::PRINT(19, 23, PLAT::gr("Μετατροπές ποσών με αυτήν δεν γίνονται."));
    PLAT::con().readKey();
    SCR::RECALL();
}

}  // namespace REBUILDS
