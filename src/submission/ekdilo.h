// EKDILO: the cargo manifest of the current declaration. A front page of 26 fields (mask 114) and
// up to 60 lines of twelve cells, six lines to a page (mask 115), kept in the company folder as
// "<number>.dil", printed through the layout "ParDILL" and handed to the segment-file and XML runs.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "declarations/bod.h"
#include "documents/laydoc.h"
#include "print/prns.h"
#include "submission/disket.h"

namespace EKDILO {

constexpr int FRONT = 26;           // front fields 1..26
constexpr int FIELDS = 746;         // front fields, then cells 27..746
constexpr int MAXLINES = 60;        // lines of twelve cells
constexpr int PAGES = 10;           // item pages of six lines
constexpr int PAGECELLS = 72;       // cells of a page
constexpr int FIRSTCELL = 27;       // screen fields of an item page: 27..98
constexpr int LASTCELL = 98;
constexpr size_t FRONTBYTES = 2054;  // 26 x (1 + 78)
constexpr size_t PAGEBYTES = 1656;   // 72 x (1 + 22)
constexpr size_t RECBYTES = 18614;   // the whole record

// The manifest record DILOBUF as its bytes: field i (1..26) a length byte and 78 characters at
// 79 x (i - 1); cell i (27..746) a length byte and 22 characters at 2054 + 23 x (i - 27).
struct DILOBUF {
    std::string raw = std::string(RECBYTES, '\0');
    // The text of field or cell i (a length byte above the capacity reads as the capacity).
    std::string get(int i) const;
    // Sets field or cell i, cut to its capacity; the bytes after the text are zero.
    void set(int i, const std::string& s);
    // Cell j (1..12) of line n (1..60).
    std::string cell(int n, int j) const { return get(FRONT + 12 * (n - 1) + j); }
    void clear() { raw.assign(RECBYTES, '\0'); }
};

// The line count of field 1: its value rounded, 0 when it is empty or not a number.
int LINECOUNT(const DILOBUF& b);
// The pages a store writes, (L + 5) div 6 held to 0..10, and the bytes it writes.
int STOREDPAGES(const DILOBUF& b);
size_t STOREDBYTES(const DILOBUF& b);

// The manifest file of the open declaration: the company folder, box 1 of the main page trimmed
// ("temp" when empty), ".dil". "" when box 1 cannot name a file in the folder.
std::string FILENAME();
// The fill from the main page: the whole record cleared, then the front fields from the boxes.
void READFROMEDE(DILOBUF& b);
// Reads the file over the start of the record (at most the record's bytes; a shorter file leaves
// the rest as it is). False when the file is missing.
bool READFILE(const std::string& path, DILOBUF& b);
// Writes the front and the cells of the stored pages (temporary file renamed over the old one).
void STORE(const std::string& path, const DILOBUF& b);
// The buffer of the runs: LINES[1..26] the front fields, CELLS[1..720] the cells.
DISKET::PBUF TOPBUF(const DILOBUF& b);

// The field grids: front field 1..26, and item field 27..98 of a page.
LAYDOC::Field FRONTFIELD(int k);
LAYDOC::Field CELLFIELD(int field);
// The record index of screen field `field` on page `page` (0 the front, 1..10 the item pages).
int INDEXOF(int page, int field);
// The line number of item field `field` on page `page`.
int LINEOF(int page, int field);

// The choices of the two pick lists: the obligor's capacity (1..6) and the customs status (1..10).
extern const std::vector<std::string> YPOXREOI;
extern const std::vector<std::string> FORTOSEIS;

// The printout after its set-up and mode 1: the front rows in print order, 13 line ends, one
// print line for each manifest line (at most 60), cell 12 cut to 15 characters; then the form feed.
void PRINTBODY(PRNS::Printout& o, const LAYDOC::Layout& L, const std::vector<int>& order, const DILOBUF& b);

// The cargo manifest (print-form id 116) from the documents menu: the item page the menu was
// opened from, its box table and the party block, none of them read. Returns on Esc, BOD::K = 3.
void DILO(BOD::SCB PI, BOD::GGV GI, BOD::PRL& PA);

}  // namespace EKDILO
