// ARP3: balances of all customers (YPOP), one charge item over a period (KONDYL), one customer's
// totals per period (KPPR), the customer catalogue with its export (PRPE).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ARP3 {

// ---- One charge item over a period ---------------------------------------------------------------
struct BFI {
    std::string EA;  // 27 characters
    std::string HM, TM;
    double PI = 0;
};
struct ITEMLIST {
    std::vector<BFI> rows;  // in walk order
    double S1 = 0;
    int CC() const { return int(rows.size()); }
};
constexpr int KONDYL_ROWS = 1200;
// The invoices (not cancelled) of the day numbers Z0..Z1 with the amount of charge line J.
ITEMLIST KONDYLCOLLECT(int J, int32_t Z0, int32_t Z1);
void KONDYLPRINT(const ITEMLIST& L, const std::string& HS1, const std::string& HS2);
void KONDYL();

void YPOP();
void KPPR();
void PRPE(uint8_t MN);  // 10 domestic, 11 foreign

}  // namespace ARP3
