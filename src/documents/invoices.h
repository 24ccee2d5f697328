// INVOICES: the invoice documents of the documents menu: export invoices 1 and 2, the movement
// certificate EUR.1 and the zone application. One screen of 64 fields (twelve left lines, twelve
// right lines, eight goods lines of five columns) kept in a values record of 1807 bytes, filled from
// the declaration as stored and the customer, numbered from a counter file, totalled, with thirteen
// analysis lines, printed through the layout engine with rules of their own.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "config/params.h"
#include "documents/laydoc.h"

namespace INVOICES {

// The document of kind KIND: 1 and 2 export invoice 1 and 2, 3 EUR.1, 6 the zone application.
void INVOICE(int KIND);

// ---- The values record RINV ------------------------------------------------------------------------
constexpr size_t RINV_SIZE = 1807;
constexpr int FIELDS = 64, ANALYSIS = 13;
struct Place {
    int x, y, len;
};
// Screen place and capacity of field i (1..64).
Place PLACE(int i);
struct Record {
    std::string raw = std::string(RINV_SIZE, '\0');
    std::string field(int i) const;  // 1..64
    void setField(int i, const std::string& s);
    std::string analysis(int k) const;  // 1..13
    void setAnalysis(int k, const std::string& s);
};
// A shorter image fills the record's start (the rest zero), a longer one the record only.
Record DECODE(const std::string& bytes);

// ---- Per document ------------------------------------------------------------------------------------
struct Kind {
    int no;
    const char *layout, *map, *ext, *counter;  // counter "" for none
    int formId;
};
const Kind* KIND(int no);  // nullptr for another number
// The values file: UMAS::PATH + the whole value of box 1 + the document's extension.
std::string VALUESFILE(const Kind& k);
// The declaration key: box 1's value rounded, in decimal ("0" for an empty box).
std::string DECLKEY();

// ---- Numbering -----------------------------------------------------------------------------------------
// The next number of the counter file (created with "1" when missing); under the lock "FARI".
std::string READNO(const std::string& counter);
// After a store of document number N: the counter becomes N + 1 when that is above it (never back);
// read and written under the lock "FARI", the file replaced whole.
void STORENO(const std::string& counter, long N);

// ---- Totals and print values ----------------------------------------------------------------------------
struct Totals {
    std::string v96, v97;
};
// The goods values (invoices: column 2 x column 4 into column 5) and the totals.
Totals SYNOLA(Record& r, bool invoice);
// The 150 print values, 1-based.
std::vector<std::string> COLLECT(const Record& r, const std::array<PARAMS::RECPARTIM3, 34>& map, bool invoice);

// ---- Fill from the stored declaration ------------------------------------------------------------------
// The box map of file NAME (33 rows, 1-based; a missing file gives empty rows).
std::array<PARAMS::RECPARTIM3, 34> READMAP(const std::string& NAME);
// Tab: the stored declaration's boxes named by the map (under "FDIA", through the store's checked
// reader), the analysis lines, BOD::EA, then the customer fields 501..511. Returns "" or the reason
// why the stored declaration could not be read (then no box is filled).
std::string FILL(Record& r, const std::array<PARAMS::RECPARTIM3, 34>& map);

// ---- Print ---------------------------------------------------------------------------------------------
// One print of the record by layout L, read from the file NAME: question on mask MASK at (X, Y); ATR
// the A.TR offsets. A layout that places nothing is told instead (LAYDOC::BLANKFORM).
void PRIN(const Kind& k, const std::string& NAME, const LAYDOC::Layout& L, const std::vector<std::string>& values,
          const Record& r, int MASK, int X, int Y, bool ATR);

// ---- Text preview (F7 of the invoices) ----------------------------------------------------------------
// Asks a file name of the working folder (a name that is no plain file name, or names no readable
// regular file, counts as missing) and shows its first 22 lines converted from Windows-1253 (mask 104).
void SIMANSI();
// One line from Windows-1253 to code page 737 (true letters for the accented capitals, "?" for what
// code page 737 cannot hold).
std::string GREEK(const std::string& s);

}  // namespace INVOICES
