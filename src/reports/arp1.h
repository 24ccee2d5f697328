// ARP1: customer reports over a period: movements and expenses (KIPR), all customers' totals per
// period (PLPR), the turnover list or yearly summary (PRPL). Not part of this installation yet:
// each returns at once, removing the title mask the customers menu showed before the call.
#pragma once
#include <cstdint>

namespace ARP1 {

void KIPR(uint8_t KB);  // KB 4 movements, 5 expenses of a period
void PLPR();
void PRPL();

}  // namespace ARP1
