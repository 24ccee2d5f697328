// ARP2: one customer's ledger card (KARP) and invoices (TIMP). Not part of this installation yet:
// each returns at once, removing the title mask the customers menu showed before the call.
#pragma once

namespace ARP2 {

void KARP();
void TIMP();

}  // namespace ARP2
