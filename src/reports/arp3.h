// ARP3: balances of all customers (YPOP), one charge item over a period (KONDYL), one customer's
// totals per period (KPPR), the customer catalogue with its export (PRPE). Not part of this
// installation yet: each returns at once, removing the title mask the customers menu showed.
#pragma once
#include <cstdint>

namespace ARP3 {

void YPOP();
void KONDYL();
void KPPR();
void PRPE(uint8_t MN);  // 10 domestic, 11 foreign

}  // namespace ARP3
