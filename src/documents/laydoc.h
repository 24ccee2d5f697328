// LAYDOC: the layout-driven document engine. A document is a grid of numbered text fields over its
// mask, filled from the current declaration, kept whole in a values file and printed onto the
// pre-printed paper by an editable layout of RECPARTIM4 rows (row i places field i). The vehicle
// certificate and the D.A.O. run on it; the TIR carnet, the invoice documents and the cargo manifest
// use its layout, print order, values-file and print routines.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/umas.h"
#include "config/params.h"
#include "print/prns.h"

namespace LAYDOC {

// ---- Layouts and the print order -------------------------------------------------------------------
// A layout: 120 rows, 1-based (row 0 unused).
using Layout = std::array<PARAMS::RECPARTIM4, PARAMS::PARDOC_N + 1>;
// The layout file NAME (+ ".dat" in the company folder) through PARAMS::RUFPAR; a missing file gives
// 120 empty rows (nothing placed).
Layout READLAYOUT(const std::string& NAME);
// The layout of a file image (4440 bytes; a shorter image fills the first rows).
Layout DECODELAYOUT(const std::string& bytes);
// The print order of rows 1..N: row i put at position i, then exchanged with every earlier position
// j in turn whose row has a greater key ROW x 256 + COL. Rows with COL or ROW 0 are sorted too.
std::vector<int> SORTVARS(const Layout& L, int N);
// Places the rows of the order on the open printout: the current line starts at the ROW of the
// first row in order; each row with COL and ROW both non-zero gets ROW - line line ends, a tab to
// COL, modes SA1, SA2, its value as it is, modes ST2, ST1.
void PRINTROWS(PRNS::Printout& o, const Layout& L, const std::vector<int>& order,
               const std::function<std::string(int)>& value);

// True when a row of first..last has COL and ROW both non-zero: the layout places something there.
bool PLACES(const Layout& L, int first, int last);
// A print through the layout NAME whose rows first..last place nothing would send a blank page: when
// so, the clerk is told which layout is empty and where it is set, and true is returned (nothing
// is to be sent).
bool BLANKFORM(const Layout& L, int first, int last, const std::string& NAME);
// That message (CP737).
std::string BLANKFORMTEXT(const std::string& NAME);

// ---- Values records -----------------------------------------------------------------------------------
// N texts of one capacity, 1-based. On disk field i lies at (i - 1) x (capacity + 1): a length byte
// and the capacity in characters; unused bytes zero.
struct Values {
    int capacity = 0;
    std::vector<std::string> f;  // [1..N]
    Values() = default;
    Values(int n, int cap) : capacity(cap), f(size_t(n) + 1) {}
    int count() const { return int(f.size()) - 1; }
    size_t bytes() const { return size_t(count()) * size_t(capacity + 1); }
};
std::string ENCODE(const Values& v);
// A shorter image fills the start of the record (the rest empty), a longer one the record only; a
// length byte above the capacity is taken as the capacity.
void DECODE(const std::string& bytes, Values& v);
// True for a name that may name a values file in a folder: not empty, no "/", "\", ":", "*", "?",
// no control character and no "..".
bool SAFENAME(const std::string& name);
// Reads the values file; false (v unchanged) when it is missing.
bool READVALUES(const std::string& path, Values& v);
// Writes the whole record as the file (temporary file, then renamed over the old one).
void WRITEVALUES(const std::string& path, const Values& v);

// ---- The document screen ------------------------------------------------------------------------------
struct Field {
    int x, y, len;
};

// The key legend of the documents, [1..10].
extern const UMAS::FUN GMLOCAL;

struct Document {
    int mask = 0;
    std::vector<Field> grid;  // [1..N]; grid[0] unused
    int capacity = 40;
    std::string layout;       // layout file name
    int formId = 0;
    bool emphasised = false;  // modes 8 and 9 around the rows
    bool refillOnTab = false; // Tab fills from the declaration again without reading the values file
    bool trimPrint = false;   // values printed without their trailing blanks
    bool noTab = false;       // Tab does nothing
    // A print of the document's own in place of the layout's (no layout is read then).
    std::function<void(const Values&)> print;
    std::vector<int> legend;  // entries of GMLOCAL shown
    // Fills the record from the declaration (fields it does not set keep their text).
    std::function<void(Values&)> fill;
    // The values file of the record as it stands now; "" when there is none to use.
    std::function<std::string(const Values&)> file;
    // The message when F4 cannot store (file() gave ""); CP737.
    std::string refused;
    // Further keys (exit codes of the field editor); true when the key was taken.
    std::function<bool(int K, Values&)> key;
};

// Opens the document: fill, then its values file when it exists, and edits until Esc.
void RUN(const Document& d);
// The print of the document's record: question (mask 63), copies, the rows in print order; a layout
// that places none of the document's fields is told instead (BLANKFORM).
void PRIN(const Document& d, const Layout& L, const std::vector<int>& order, const Values& v);

}  // namespace LAYDOC
