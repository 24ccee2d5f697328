// Customer reports over a period: not part of this installation yet.
#include "reports/arp1.h"

#include "screen/scr.h"

namespace ARP1 {

// Each report removes, when it returns, the mask the customers menu showed for it.
void KIPR(uint8_t) { SCR::RECALL(); }
void PLPR() { SCR::RECALL(); }
void PRPL() { SCR::RECALL(); }

}  // namespace ARP1
