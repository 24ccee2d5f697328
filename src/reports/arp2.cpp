// One customer's ledger card and invoices: not part of this installation yet.
#include "reports/arp2.h"

#include "screen/scr.h"

namespace ARP2 {

// Each report removes, when it returns, the mask the customers menu showed for it.
void KARP() { SCR::RECALL(); }
void TIMP() { SCR::RECALL(); }

}  // namespace ARP2
