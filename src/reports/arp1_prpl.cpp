// The turnover list and yearly summary: not part of this installation yet.
#include "reports/arp1.h"

#include "screen/scr.h"

namespace ARP1 {

// Removes, when it returns, the mask the customers menu showed for it.
void PRPL() { SCR::RECALL(); }

}  // namespace ARP1
