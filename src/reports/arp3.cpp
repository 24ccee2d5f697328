// Balances, per-period totals of one customer, the catalogue: not part of this installation yet.
#include "reports/arp3.h"

#include "screen/scr.h"

namespace ARP3 {

// Each report removes, when it returns, the mask the customers menu showed for it.
void YPOP() { SCR::RECALL(); }
void KPPR() { SCR::RECALL(); }
void PRPE(uint8_t) { SCR::RECALL(); }

}  // namespace ARP3
