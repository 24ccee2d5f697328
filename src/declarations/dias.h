// DIAS: The declarations menu of one kind ("IMP", "EXP", "MTF", "MET", "DFK") and its lists, and
// the list reader they share: one stored declaration read into a row of a list.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace DIAS {

void DIAZ(const std::string& kind);

// A row of the lists by date and of the search (211 bytes in the list; strings cut to these lengths).
struct REC {
    std::string EA;     // [20] customer name (party box of the kind)
    std::string APOST;  // [20] sender (box 12)
    std::string PARAL;  // [20] receiver (box 22)
    std::string HM;     // [6]  date
    std::string KD;     // [10] number
    std::string EM;     // [30] goods description
    std::string TEL;    // [20] customs office
    std::string KL;     // [26] goods code
    std::string KTEL;   // [4]  customs office code
    std::string TEM;    // [7]  packages
    std::string XM;     // [8]  gross mass
    std::string AXIA;   // [12] value and currency
    std::string ARTIM;  // [10] invoice number
    std::string KATH;   // [4]  procedure
};
// A row of the list by customer (69 bytes in the list).
struct REC1 {
    std::string HM;  // [6]
    std::string KD;  // [10]
    std::string EM;  // [50]
};

// The list reader's inputs and outputs: the open "DISM.DAT", its size, the position of the
// declaration to read, and the flag a damaged declaration clears.
extern PLAT::File FT;
extern int64_t MFSIZE;
extern int32_t XND;
extern bool ALLGOOD;

// Reads the declaration at XND into row CC (1-based: P[CC - 1]; CC already counts the new row).
// A declaration of another kind (EXT not in box 142, unless TEXTOUT), outside the day range Z1..Z2
// (list by customer) or of another customer (first 7 characters of the party name against EAP)
// gives no row: CC is lowered again. A damaged one also clears ALLGOOD. With TEXTOUT every box's
// text is also written, one line each, to "C:\DIAM\" + the digits of the number + ".DIA".
void RUFD(std::vector<REC>& P, int32_t Z1, int32_t Z2, const std::string& EAP, const std::string& EXT,
          bool TEXTOUT, int& CC);
void RUFD(std::vector<REC1>& P, int32_t Z1, int32_t Z2, const std::string& EAP, const std::string& EXT,
          bool TEXTOUT, int& CC);
// The same reader on the packed data of a declaration already read (A = 1: rows REC, 2: REC1);
// false when the data is damaged.
bool RUFS(const std::string& data, int A, REC* r, REC1* r1, int32_t Z1, int32_t Z2, const std::string& EAP,
          const std::string& EXT, bool TEXTOUT, bool& keep);

// Tells the clerk that damaged declarations were met (mask 86, until Esc) and forgets every
// free area of "DISM.DAT".
void ERRORFILE();

// ---- The lists: by customer, by date, the search and the templates -------------------------------
// (dias_lists.cpp, dias_search.cpp, dias_templates.cpp)

// The screens of the per-kind menu's items 2 to 5 for the kind EXT; each returns on Esc.
void DIAP(const std::string& EXT);        // declarations of one customer in a date range
void DIAH(const std::string& EXT);        // declarations in a date range, by day
void ANAZHTHSH(const std::string& EXT);   // search by sender, receiver and customs office
void YPDI(const std::string& EXT);        // the templates table

// Where the lists open a declaration: the declaration editor EK0::DISF(number, kind, template
// slot), number without trailing blanks ("" for a new declaration). Tests replace it.
extern void (*OPENDISF)(const std::string& number, const std::string& EXT, int slot);

constexpr int ROWS_P = 192;  // rows of the list by customer
constexpr int ROWS_H = 252;  // rows of the list by date and of the search

// The list by customer: every row reset, then the declarations of kind EXT in the customer chain
// of PR dated Z0..Z1 whose party name starts like EA (7 characters), at most 192, sorted by date
// (the exchange sort: equal dates keep the order it gives). Under "FDIA". A customer number
// outside the chain heads gives an empty list. ALLGOOD false when damaged declarations were met.
void READP(std::vector<REC1>& P, int& CC, int PR, int32_t Z0, int32_t Z1, const std::string& EA,
           const std::string& EXT);
// The date sort of the list by customer (rows 1..CC).
void SORTP(std::vector<REC1>& P, int CC);
// The list by date and the search: rows reset (search: zero-filled), then the declarations of
// the days Z0..Z1 in day order and chain order, at most 252, under "FDIA"; with TEXTOUT every
// declaration of any kind, each also dumped to "C:\DIAM" + number + ".DIA"; keep, when given,
// decides whether a row read stays.
void READH(std::vector<REC>& P, int& CC, int32_t Z0, int32_t Z1, const std::string& EXT, bool TEXTOUT,
           const std::function<bool(const REC&)>& keep = nullptr, bool search = false);
// The name sort of the list by date (rows 1..CC, byte order of the names).
void NAMESORT(std::vector<REC>& P, int CC);
// The printouts on form 72 (PE_LIST): the list by customer (customer name EA) and by date, for
// the range DIAS::H1..H2.
void EKKP_P(const std::vector<REC1>& P, int CC, const std::string& EXT, const std::string& EA);
void EKKP_H(const std::vector<REC>& P, int CC, const std::string& EXT);
// The kind's name in the printouts' titles.
std::string KINDNAME(const std::string& EXT);

// The search filter: sender EA (its first 7 characters, without trailing blanks, inside APOST),
// receiver EAX (whole, without trailing blanks, inside PARAL), office KTEL (equal by value to the
// row's office code); an empty or blank field does not filter.
bool FILTEROK(const REC& r, const std::string& EA, const std::string& EAX, const std::string& KTEL);

// "YPDI.DAT": 256 template slots of 218 bytes.
struct OYR {
    static constexpr size_t SIZE = 218;
    std::string Y0;   // [10] number of the template's declaration; empty: a free slot
    std::string Y1;   // [19] box 4
    std::string Y1A;  // [10] box 2, a blank, box 5
    std::string Y1B;  // [7]  box 84
    std::string Y2;   // [30] the customer (box 22; box 12 for "EXP", "MTF")
    std::string Y3;   // [20] box 79
    std::string Y4;   // [90] boxes 72, 73 and the first 10 characters of 74
    std::string Y5;   // [24] box 7, a blank, box 6 (box 22 for "EXP", "MTF")
    static OYR decode(const uint8_t* p);
    void encode(uint8_t* p) const;
    bool operator==(const OYR&) const = default;
};
constexpr int SLOTS = 256;
constexpr int64_t YPDI_SIZE = int64_t(SLOTS) * int64_t(OYR::SIZE);  // 55808
constexpr int64_t YPDI_OLD_SIZE = YPDI_SIZE / 2;                   // 27904: slots 1..128
using SLOTTABLE = std::vector<OYR>;  // [0..255] = slots 1..256
// Reads "YPDI.DAT" under "FYPO" (extending a 128-slot file to 256 slots first). False, with the
// reason in CP737, when the file has another size (nothing is then written).
bool RUFY(SLOTTABLE& Y, std::string* why = nullptr);
// Writes the whole table under "FYPO"; false (nothing written) when the file has another size.
bool KTTY(const SLOTTABLE& Y, std::string* why = nullptr);
// The sort of the table by number (free slots last).
void SORTYPOD(SLOTTABLE& Y);
// Sorts the table as "YPDI.DAT" holds it now and writes it back, all under "FYPO", so that a slot
// another workstation stored since Y was read is kept; Y becomes the table written. False, with
// the reason in CP737, when the file has another size (nothing written, Y unchanged).
bool SORTKTTY(SLOTTABLE& Y, std::string* why = nullptr);
// A slot's number read as a number (0 for a free slot).
double numberOf(const std::string& Y0);
// True when a slot other than slot (1-based) carries a number equal by value to SYP.
bool SLOTUSED(const SLOTTABLE& Y, int slot, const std::string& SYP);
// The empty "YPDI.DAT" of a new company folder (dir a Linux path; only where missing).
void installTemplates(const std::string& dir);

}  // namespace DIAS

// The per-kind menu's state and the date routines the lists share.
#include <array>

namespace DIAS {

extern uint16_t E, M, H, D;  // today's year (four digits), month, day, weekday (0 = Sunday)
extern std::string B4;       // the current year as four digits (set by the lists before HMER)
extern std::string H1, H2;   // the from-date and the to-date of the current list, DDMMYY
// The key legend of the lists, [1..10].
extern std::array<std::string, 11> GM1;

// Edits the from-date at (X1, Y1) and the to-date at (X2, Y2), six digits each, with shorthand
// completion and calendar checks (years 1990 to 2049). KK: the exit code of the last field (0 or 2
// both dates accepted, 1 Up in the from-date, 3 Esc). DAYOUT shows the weekdays beside the dates.
void HMER(std::string& H1, std::string& H2, int X1, int Y1, int X2, int Y2, int& KK, bool DAYOUT);
// Completes one typed date as the entry does; false when the result is no valid date.
bool HMERCOMPLETE(std::string& T);
// Lowers day HA to the last day of month MA of year EA.
void ELM(uint16_t& EA, uint16_t& MA, uint16_t& HA);

}  // namespace DIAS
