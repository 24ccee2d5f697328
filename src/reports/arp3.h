// ARP3: balances of all customers (YPOP), one charge item over a period (KONDYL), one customer's
// totals per period (KPPR), the customer catalogue with its export (PRPE).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "customers/arp0.h"

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

// ---- Customer balances --------------------------------------------------------------------------
struct PERB {
    std::string EA;  // 30 characters
    int32_t XR = 0, PI = 0;
};
struct BALANCES {
    std::vector<PERB> rows;
    int64_t S1 = 0, S2 = 0;
    int C() const { return int(rows.size()); }
};
constexpr int YPOP_ROWS = 16000;
// Every domestic customer in index order with its debit and credit totals, under "FPEL".
BALANCES YPOPCOLLECT();
// An amount of the balances (drachmas) as shown: W wide, in euros with 2 decimals (switch 0) or in
// drachmas without (switch 1); empty for another switch value.
std::string YPOPAMOUNT(double drachmas, int W);
void YPOPPRINT(const BALANCES& B);
void YPOP();

// ---- One customer's totals per period ---------------------------------------------------------------
constexpr int KPPR_ROWS = 500;
void KPPR();

// ---- Customer catalogue ------------------------------------------------------------------------------
struct PERC {
    std::string EA, DI, TH, EP;  // 20, 20, 13, 17 characters
};
constexpr int PRPE_ROWS = 18000;
// A text from code page 737 to ISO 8859-7, one byte for one byte.
std::string ISO8859(const std::string& S);
// The export line of one customer (without its line end).
std::string CSVLINE(const ARP0::RR0& R);
// The rows of the catalogue of set MN (10 domestic, other foreign) and its export file, written
// whole; the file's name.
std::vector<PERC> PRPECOLLECT(uint8_t MN, std::string& exportName);
void PRPEPRINT(const std::vector<PERC>& rows, uint8_t MN);
void PRPE(uint8_t MN);  // 10 domestic, 11 foreign

}  // namespace ARP3
