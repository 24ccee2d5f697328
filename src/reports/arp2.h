// ARP2: the frame every customer report uses (today's date, the date range and the period entry
// with its short forms, the customer lookup by name, the prompt, the amount units, the exchange
// sort, the list keys and the printout helpers), and two reports of one customer: the invoices
// (TIMP) and the ledger card (KARP).
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "customers/arp0.h"
#include "invoicing/tim0.h"
#include "platform/console.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace ARP2 {

// ---- Today ----------------------------------------------------------------------------------------
// Today's year in full ("2026"); its first two characters are the century of two-digit years.
extern std::string B4;
// Reads the system date into ARP0::E, M, H, D and B4.
void TODAY();
// A number as two digits; today as DDMMYY.
std::string TWO(int n);
std::string TODAYTEXT();

// ---- Dates ----------------------------------------------------------------------------------------
// Lowers the day to the length of the month (February 29 days in years divisible by 4).
void ELM(uint16_t& EA, uint16_t& MA, uint16_t& HA);
// The years a date may have.
constexpr int FIRSTYEAR = 1990, LASTYEAR = 2049;
// A two-digit year in full by the century of today (above 2088 a century earlier, below 1921 later).
int FULLYEAR(int YY);
// The form a date was typed in: a day, a month (MMYY) or a year (YYYY).
enum class MODE { HME, MHN, ETH };
// Completes a typed date (from-date, or to-date with TO) into DDMMYY, checks it and clamps its day.
// T becomes the completed text also when it is refused (false). FORM is the form it was typed in.
bool COMPLETE(std::string& T, bool TO, MODE& FORM);
// Day, month and full year of a DDMMYY text (0 for what is not a number).
struct YMD {
    int y = 0, m = 0, d = 0;
};
YMD READDATE(const std::string& HM);
// The weekday's name of a DDMMYY date, its day clamped first; two blanks for a date that is none.
std::string WEEKDAY(const std::string& HM);
// A date as shown by a form: HME "DDMMYY Δε", MHN "ΜΑΡΤΙΟ 2005", ETH "2005".
std::string SHOWDATE(const std::string& HM, MODE form);
// DDMMYY as DD/MM/YY.
std::string SLASHED(const std::string& HM);

// The date range of the one-customer reports: from-date at (X1, Y1), to-date at (X2, Y2), each
// shown with its weekday. KK: 0 or 2 accepted, 1 Up or 3 Esc from the from-date, 3 Esc from the
// to-date.
void HMER(std::string& H1, std::string& H2, int X1, int Y1, int X2, int Y2, int& KK);

// The period entry of the period reports: like HMER, each field blanked (16 cells) before its edit
// and shown by the form of the from-date. Up in the from-date leaves (KK 1) when UPLEAVES, else it
// edits the from-date again.
struct PERIOD {
    std::string H1, H2;    // DDMMYY, empty at the start
    std::string HS1, HS2;  // as shown
    MODE Q1 = MODE::HME;   // the from-date's form
};
void PERIODIN(PERIOD& P, int X1, int Y1, int X2, int Y2, bool UPLEAVES, int& KK);

// ---- Amounts --------------------------------------------------------------------------------------
// A stored amount of a document dated HM in the document's unit: drachmas as stored in the years
// 90 to 01, euro cents divided by 100 in the others.
double DOCUNIT(int32_t stored, const std::string& HM);
// An amount in the document's unit converted to the display unit of UMAS::TIMEUR (0 euros, 1
// drachmas; any other value leaves it as it is, and so does a euro rate of 0).
double DISPLAY(double x, const std::string& HM);
// True when UMAS::TIMEUR is 0 or 1 (the screens show amounts).
bool SHOWAMOUNTS();
// x with DEC decimals right-aligned in W (wider when it needs more); -0 written as 0.
std::string NUM(double x, int W, int DEC);
// The screen form of an amount: W0 wide with 2 decimals (switch 0), W1 wide without (switch 1),
// empty for any other switch value.
std::string AMT(double x, int W0, int W1);
// The amounts of an invoice or credit note in its own unit, as the document itself has them (its
// form, its printout and what it posts to the customer): FEE the sum of the lines that carry VAT,
// VAT the sum of their VAT each rounded to the cent as on the document, VAT18 the VAT of line 18
// alone, and VALUE the document's total (lines 1 to 18 and their VAT).
struct FEEVAT {
    double value = 0, fee = 0, vat = 0, vat18 = 0;
};
FEEVAT AMOUNTS(const TIM0::RTIM& r);

// ---- Document walks ------------------------------------------------------------------------------
// A chain file of 4-byte nodes of the company folder read whole (empty when missing).
std::string CHAINS(const std::string& name);
// Follows the chain of head HEAD in the nodes of a chain file: calls ROW with every document record
// number below 65000 until it returns false. Heads at or beyond HEADS, or beyond the file, are
// empty; a link outside the file or a loop ends the walk.
void WALK(const std::string& NODES, int64_t HEADS, int64_t HEAD, const std::function<bool(uint16_t)>& ROW);
// Invoice or credit note N of a record file open as F, the fields the reports read (number, date,
// declaration, customer, name, tax number, lines, captions 13-16, costs, rate, cancellation); false
// when N lies beyond the file.
bool READDOC(const PLAT::File& F, uint16_t N, TIM0::RTIM& R);
// The document belongs to the customer: the first five characters of the names (blank-padded)
// agree, or the tax numbers are equal.
bool SAMECUSTOMER(const std::string& docEA, const std::string& docAF, const std::string& EA,
                  const std::string& AF);

// ---- Customers ------------------------------------------------------------------------------------
// The lookup by name in the domestic index under "FPEL": the customer of exactly that name, else
// the first whose name sorts after it, else the last customer of the nearest non-empty bucket at
// or before the name's bucket. The forward search visits the buckets from the name's up to
// LASTBUCKET. Returns the record number with its record in R; 65000 when the file holds no customer
// (mask 37 is shown for two seconds).
uint16_t FIND(const std::string& NAME, int LASTBUCKET, ARP0::RR0& R);
// The next name in collation order after a confirmed name (30 characters).
std::string NEXTNAME(const std::string& NAME);
// Looks APODI::EA up (FIND over every bucket) and makes the customer found current; APODI::PR
// 65000 when none.
void CHEP();
// Copies ARP0::R0 into the current customer (EA, AF, ON, DI, PO cut to 20, TH, EP into EG).
void RUF();

// The customer prompt: edits NAME at column X of row 2 (mask 20 around the edit) with the
// characters CHARS until the clerk confirms a customer (true: the dates follow) or leaves with Esc
// (false). BON is the confirmed name. LOOKUP(name) makes the customer found current, shows it and
// returns false when there is none; PICK() opens the picker on NAME and returns false on Esc.
bool PROMPT(int X, std::string& NAME, std::string& BON, const SCR::SOC& CHARS,
            const std::function<bool(const std::string&)>& LOOKUP, const std::function<bool()>& PICK);

// The prompt of the reports on the current customer of the document screens (APODI): the name at
// column X, the lookup over every bucket, the picker; BX0 shows the header lines.
bool CURRENTPROMPT(int X, std::string& BON, const std::function<void()>& BX0);
// Empties the current customer as such a report opens.
void CLEARCUSTOMER();
// The header lines of the current customer: each field padded (and cut) to its width, written back
// and shown at the given columns of rows 3 (ON, EG), 4 (DI, AF) and 5 (PO, both telephones).
struct HEADER {
    int ON_X, EG_X, DI_X, AF_X, PO_X, TH1_X, TH2_X;
    void show() const;
};

// ---- Sort and list ---------------------------------------------------------------------------------
// The key of a row: (DD + 31 x MM + 372 x Y) x 100000 + N, Y the two-digit year (+100 below 90).
int64_t HVAL(const std::string& HM, int64_t N);
// The value of a six-character document number read as a whole decimal number (leading blanks
// allowed), 0 when it holds any other character.
int64_t DOCNUMBER(const std::string& T);
// The exchange sort of the first N keys: for i < j the keys at i and j (and the entries of AT) are
// exchanged when the key at i is greater (the keys are computed once, the rows moved once after).
void EXCHANGE(std::vector<int64_t>& KEYS, std::vector<int32_t>& AT, int N);
// The exchange sort of rows 1..LM by KEYS (in place): rows of equal keys end where the exchanges
// leave them.
template <class ROW>
void SORT(std::vector<ROW>& rows, std::vector<int64_t>& keys, int LM) {
    std::vector<int32_t> at(static_cast<size_t>(LM));
    for (int i = 0; i < LM; ++i) at[size_t(i)] = i;
    EXCHANGE(keys, at, LM);
    std::vector<ROW> sorted;
    sorted.reserve(rows.size());
    for (int i = 0; i < LM; ++i) sorted.push_back(std::move(rows[size_t(at[size_t(i)])]));
    for (size_t i = size_t(LM); i < rows.size(); ++i) sorted.push_back(std::move(rows[i]));
    rows.swap(sorted);
}

// What a key of a list did.
enum class LK { MOVED, PRINT, ESC, OTHER };
// Reads one key of a list of LM rows shown PAGE at a time and moves the first row shown II: Up,
// Down, PgUp, PgDn; Shift-F1 is PRINT, Esc ESC; any other key OTHER (in K).
LK LISTKEY(int& II, int LM, int PAGE, PLAT::KeyEvent& K);
// Blanks row Y of the period lists drawn in six columns (name, date, weekday, number, two amounts).
void BLANKROW(int Y);
// The legend of the lists: "Shift-F1.Εκτύπωση", "Esc.Επιστροφή", the arrows and the page keys.
void LEGEND();
// The notice of the one-customer reports when no document lies in the date range (the declarant
// warning of the submission runs owns mask 49).
constexpr int NOTHINGFOUND = 109;
// Shows a mask (screen saved) until Esc.
void UNTILESC(int mask);

// ---- Printouts ------------------------------------------------------------------------------------
// Mask 63 and the question at column 30 of row 23; on No the screen is restored (false).
bool ASKPRINT();
// Opens the list form 72, sends modes 66 and 4 and the company header.
struct PRINTOUT {
    PRNS::PRNM P = nullptr;
    PRNS::TABM T = nullptr;
    PRNS::PFILE F;
    PRINTOUT();
    void mode(uint8_t m) { P(F, m); }
    void tab(uint8_t x) { T(F, x); }
    void text(const std::string& s) { F.write(s); }
    void line(const std::string& s = "") { F.writeln(s); }
    // Closes the print file, hands a spooled file to the printer and restores the screen of mask 63.
    void finish(bool notepad = false);
};
// Pages of 45 rows for N rows (at least one).
int PAGES(int N);

// ---- One customer's invoices ------------------------------------------------------------------------
struct KINT {
    std::string HM, TM, KD;
    double XR = 0, PI = 0, FP = 0;
};
struct TIMPLIST {
    std::vector<KINT> rows;  // LM rows, sorted
    double SX = 0, SP = 0, SF = 0;
    int LM() const { return int(rows.size()); }
};
constexpr int TIMP_ROWS = 5000;
// The search of the invoices list: the customer's chain from head PR, the invoices of the customer
// in Z0..Z1 that are not cancelled, sorted.
TIMPLIST TIMPSEARCH(uint16_t PR, const std::string& EA, const std::string& AF, int32_t Z0, int32_t Z1);
// The printout of the invoices list.
void TIMPPRINT(const TIMPLIST& L);
void TIMP();

// ---- Customer ledger card -------------------------------------------------------------------------
struct KINK {
    std::string HM, KD, AI;
    double XR = 0, PI = 0, YP = 0;
};
struct KARPCARD {
    std::vector<KINK> rows;  // LM + LL rows, sorted, with their running balances
    int LM = 1, LL = 0;
    double SX = 0, SP = 0;
};
constexpr int KARP_ROWS = 10000;
// The day before a DDMMYY from-date as the balance row's date.
std::string DAYBEFORE(const std::string& H1);
// The search of the ledger card: balance row, invoices, credit notes and receipts of the customer.
KARPCARD KARPSEARCH(uint16_t PR, const std::string& EA, const std::string& AF, const std::string& H1,
                    const std::string& H2);
void KARPPRINT(const KARPCARD& C, const std::string& H1, const std::string& H2);
void KARP();

}  // namespace ARP2
