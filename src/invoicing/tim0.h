// TIM0: the invoice and credit-note record RTIM, the document held in memory by the invoice
// editor, the amount rule (drachma and euro years) and the VAT of the charge lines.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/umas.h"

namespace TIM0 {

// ---- The stored record ----------------------------------------------------------------------------
// RTIM, 1638 bytes, packed, little-endian. Arrays are kept with the index range they have on disk
// (entry 0, and AI below 13, unused). Text fields hold what the record holds (CP737).
struct RTIM {
    static constexpr size_t SIZE = 1638;
    static constexpr size_t O_SEIRA = 0, O_TM = 3, O_HM = 10, O_KD = 17, O_PR = 28, O_EA = 30, O_ON = 61,
                            O_PO = 92, O_DI = 113, O_AF = 144, O_TH1 = 155, O_XR = 169, O_NO = 245, O_AI = 365,
                            O_DX = 461, O_DP = 517, O_FX = 601, O_FF = 633, O_FA = 649, O_DS = 691,
                            O_PAIPS = 1593, O_AKNUM = 1609, O_AKPAIP = 1613, O_FILLER = 1617;

    std::string SEIRA;                 // string[2]
    std::string TM;                    // string[6]
    std::string HM;                    // string[6] DDMMYY
    std::string KD;                    // string[10]
    uint16_t PR = 65000;               // customer record number, 65000 none
    std::string EA, ON, PO, DI, AF;    // string[30], [30], [20], [30], [10]
    std::string TH1;                   // string[13]
    std::array<int32_t, 20> XR{};      // [1..19], stored units
    std::array<std::string, 13> NO;    // [1..12] string[9]
    std::array<std::string, 17> AI;    // [13..16] string[23]
    std::array<int32_t, 15> DX{};      // [1..14]
    std::array<std::string, 3> DP;    // [1..2] string[41]
    std::array<int32_t, 9> FX{};       // [1..8]
    std::array<uint16_t, 9> FF{};      // [1..8] whole percent
    std::array<std::string, 4> FA;     // [1..3] string[13]
    std::array<std::string, 23> DS;    // [1..22] string[40]
    std::array<int32_t, 5> PAIPS{};    // [1..4]
    int32_t AKNUM = 0, AKPAIP = 0;
    std::string FILLER;                // string[20]

    static RTIM decode(const uint8_t* p);
    void encode(uint8_t* p) const;
    bool operator==(const RTIM&) const = default;
};
static_assert(RTIM::O_FILLER + 21 == RTIM::SIZE, "RTIM is 1638 bytes");

// ---- The amount rule ------------------------------------------------------------------------------
// The two-digit year of a DDMMYY date (characters 5 and 6), 0 when they are not a number.
int YEAROF(const std::string& HM);
// A document is in euros when its year is 2 to 89, in drachmas otherwise.
bool EUROYEARS(int Y);
bool EURODOC(const std::string& HM);
// Stored form of an amount: Round(amount) in drachma years, Round(amount x 100) in euro years, ties
// to even. ok becomes false (and 0 is returned) when the result does not fit a LONGINT.
int32_t STORED(double amount, bool euro, bool& ok);
int32_t STORED(double amount, bool euro);
// An amount as loaded from its stored form.
double LOADED(int32_t stored, bool euro);
// Pascal Round: nearest integer, a tie to the even neighbour.
double ROUND(double x);
// The rounding of every VAT amount: Round(Int(X) + (Frac(X) + 0.0000001)). ok becomes false when
// the result does not fit a LONGINT.
int32_t MYROUND(double X, bool& ok);
int32_t MYROUND(double X);
// Does charge line K carry VAT? Lines 1..13 by their item heading, 14..17 by the caption AI[K-1],
// 18 always, 19 (and anything else) never.
bool LINEVAT(int K, const std::array<std::string, 17>& AI);
// The VAT of an amount x at rate R percent on a line that carries VAT.
double VATOF(double R, double x);
// The document total of a stored record as every reader computes it: the sum over lines 1..18 of
// the amount as loaded and its VAT at the stored rate FF[1].
double TOTAL(const RTIM& r);
// Display of an amount: no decimals (drachmas) or two (euros) right-aligned in 10; below 0.01
// (also negative) 10 blanks.
std::string AMOUNTTEXT(double x, bool euro);

// ---- The document in memory -----------------------------------------------------------------------
extern std::string SEIRA;                  // string[2]
extern std::string TM, HM;                 // string[6]
extern std::string KD;                     // string[10]
extern std::array<double, 20> XR;          // [1..19] currency units
extern std::array<double, 15> DX;          // [1..14]
extern std::array<double, 9> FX;           // [1..8]
extern std::array<std::string, 13> NO;     // [1..12] string[9]
extern std::array<std::string, 17> AI;     // [13..16] string[23]
extern std::array<std::string, 3> DP;      // [1..2] string[41]
extern std::array<std::string, 4> FA;      // [1..3] string[13]
extern std::array<std::string, 23> DS;     // [1..22] string[40]
extern std::array<std::string, 9> FF;      // [1..8] string[3], empty for 0
extern double SU;                          // document total
extern double RAPTSU;                      // always 0
extern std::string FP;                     // string[3] default VAT rate text
extern int EUROYEAR;                       // two-digit year of the current date
extern std::string BP;                     // string[10]

// The detail-line map and captions of the invoice screen (from "PARTIM3", set by INIKED).
extern std::array<int16_t, 23> DSI;        // [1..22] box numbers
extern std::array<std::string, 23> DSP;    // [1..22] string[30]
// The by-rate summary of the rate table (BXO), never stored.
extern std::array<std::string, 4> FO1;     // [1..3] string[3]
extern std::array<double, 4> A1;           // [1..3]
// The calculator's last result as text (the invoice screens' Alt-C).
extern std::string CAS;

// The key legend of the document screens: 1 "ESC.Menu", 2 "F1.Καταχ.", 3 "F5.Διαγραφή",
// 4 "Shift-F1.Εκτύπωση", 5 "ESC.Εξοδος", 6 the arrows "1-4.Μετακίνηση", 7 "Enter.Επιλογή",
// 8 "F4.Στοιχεία", 9 "Shift-F10.Ακύρωση".
const UMAS::FUN& GM2();

// The invoice screen's start-up values: the detail-line map and captions, the item headings 1..13
// on rows 5..17 (and 18 on row 22), the captions of lines 14..17 and the default rate FP.
void INIKED();
// The professional-expenses statement editor; K is the screen's key code (0 on return after Esc).
void KED(int& K);
// Asks whether to print and prints the statement (form 82), copy by copy.
void EKKE();
// The rate table editor (PgDn) and its computation and drawing.
void PXP();
void BXO(bool B);
// Row 1 of the rate table is the invoice's taxed amount, the sum of the charge lines that carry
// VAT, at the document's rate FF[1]. FILLROW1 puts the taxed amount into row 1 unless row 1 holds
// an amount of the clerk's own that still stands: one typed after the last change of the charge
// lines (their amounts, which of them carry VAT) or of the rate. The table's opening, the store
// and the print run it, so that a document is never stored or printed with a stale or empty row 1.
double TAXEDAMOUNT();
void FILLROW1();
// Row 1's amount as it now stands is the clerk's own (OWN true) or the program's; an own amount
// stands until a charge line or the rate changes. The table sets it on leaving, a new document
// starts with the program's, a loaded one with what was stored.
void ROW1OWN(bool OWN);
// A rate text's value: leading blanks allowed, 0 when empty or not a number.
double RATEVALUE(const std::string& t);
// The printed amount text: two decimals, thousands commas, 12 characters below ten million, 10
// blanks below 0.005; KIND 1 puts "-" in place of the last blank.
std::string PTL(double LO, int KIND);

// The amount in words of a printed invoice or receipt: in a euro year the amount with its cents,
// followed by the currency word "ΕΥΡΩ"; in a drachma year the whole amount without a currency word.
std::string AMOUNTWORDS(double amount, bool euro);

// The caption of a new document's first rate-table caption.
std::string FA1DEFAULT();

// The statement number of the professional-expenses line (NO[8]) read from "DAPANES.TXT":
// the value of its first line, 0 when the file is missing.
int32_t DAPANES();

}  // namespace TIM0
