// ARP1: customer reports over a period of the invoice day chains: the movements and the expenses of
// a period with the accounting journal export (KIPR), all customers' totals per period (PLPR), the
// turnover list or yearly summary (PRPL).
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "invoicing/tim0.h"
#include "reports/arp2.h"

namespace ARP1 {

// ---- Invoices and expenses of a period --------------------------------------------------------------
struct BFK {
    std::string EA;  // 26 characters
    std::string HM;  // DDMMYY, the day clamped to its month
    std::string TM;  // 6 characters
    double PI = 0, AM = 0, FP = 0;
};
struct KIPRLIST {
    std::vector<BFK> rows;  // CC rows, sorted
    double S1 = 0, S2 = 0, S3 = 0;
    int CC() const { return int(rows.size()); }
};
constexpr int KIPR_ROWS = 5500;
// The valid invoices of the day numbers Z0..Z1 (KB 4 movements, 5 expenses), sorted.
KIPRLIST KIPRCOLLECT(int KB, int32_t Z0, int32_t Z1);
void KIPRPRINT(const KIPRLIST& L, int KB, const std::string& HS1, const std::string& HS2);
// The accounting journal lines of the rows (code page 737, CR LF); false, with the row's number in
// BAD, when an amount does not fit its field.
bool JOURNAL(const KIPRLIST& L, std::string& out, int& BAD);
// Writes "C:\LOGIS.TXT" from the rows (after the question); false when nothing was written.
bool KEFALAIO(const KIPRLIST& L);
void KIPR(uint8_t KB);  // KB 4 movements, 5 expenses of a period

// ---- Totals per period --------------------------------------------------------------------------------
struct BFP {
    std::string HM;  // the period's label as a date
    double PI = 0, FP = 0;
};
struct PERIODLIST {
    std::vector<BFP> rows;
    double SX = 0, SP = 0;
    ARP2::MODE MO = ARP2::MODE::HME;
    int CC() const { return int(rows.size()); }
};
constexpr int PLPR_ROWS = 5000;
// The walk of the day chains from H1 to H2 by the granularity MO: a row per counted invoice (HME),
// per month (MHN) or per year (ETH); at most CAP rows. COUNTS decides which invoices count (all
// not cancelled when empty).
PERIODLIST PERIODWALK(ARP2::MODE MO, const std::string& H1, const std::string& H2, int CAP,
                      const std::function<bool(const TIM0::RTIM&)>& COUNTS = nullptr);
// The fee and VAT of an invoice in the display unit.
void FEEVATSHOWN(const TIM0::RTIM& r, double& fee, double& vat);
// A row's label on screen and in print.
std::string LABELSHOWN(const std::string& HM, ARP2::MODE MO);
std::string LABELPRINTED(const std::string& HM, ARP2::MODE MO);
void PLPRPRINT(const PERIODLIST& L);
void PLPR();

// ---- Turnover list and yearly summary ------------------------------------------------------------------
struct BFT {
    std::string EP;  // the customer's name, 30 characters
    uint16_t AT = 0;
    double PI = 0, FP = 0;
    char MYF = 'Y';  // the summary flag
    std::string ON, AF, DI, PO, EG;  // the details of the summary (30, 10, 30, 20, 20)
};
struct TURNOVER {
    std::vector<BFT> K1, K2;  // index order, turnover order
    int count = 0;            // invoices counted
    double SP = 0, SX = 0;
    int CC() const { return int(K1.size()); }
};
constexpr int PRPL_ROWS = 100;
constexpr double MINIM_SYG = 102225;
// The customers from E1 to E2 (keys of 30) with their invoices of the day numbers Z0..Z1, under
// "FTIM" and "FPEL"; in summary mode only invoices whose fee in drachmas exceeds MINIM_SYG count.
TURNOVER PRPLCOLLECT(const std::string& E1, const std::string& E2, int32_t Z0, int32_t Z1, bool summary);
// The quicksort of the turnover order (descending fee), rows L..R counted from 1.
void TURNSORT(std::vector<BFT>& K, int L, int R);
// True when S1 sorts after S2 in the customer collation.
bool ELE(const std::string& S1, const std::string& S2);
void PRPLPRINT(const std::vector<BFT>& KI, bool indexOrder, bool summary, const ARP2::PERIOD& P);
void PRPL();

}  // namespace ARP1
