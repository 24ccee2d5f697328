// The cargo manifest's record, its file, the fill from the declaration, the buffer of the runs
// and the body of its printout.
#include "submission/ekdilo.h"

#include <algorithm>
#include <cmath>

#include "common/umas.h"
#include "platform/codepage.h"
#include "platform/files.h"

namespace EKDILO {

namespace {

size_t offsetOf(int i) { return i <= FRONT ? size_t(79 * (i - 1)) : FRONTBYTES + size_t(23 * (i - FIRSTCELL)); }
size_t capacityOf(int i) { return i <= FRONT ? 78 : 22; }
bool valid(int i) { return i >= 1 && i <= FIELDS; }

std::string box(int n) { return BOD::SOB(BOD::DIA, BOD::GV, n); }
std::string trimmed(int n) { return UMAS::trim(box(n)); }

// A DDMMYY date as DD/MM/YY: "/" after the second and the fourth character; empty stays empty.
std::string slashed(std::string d) {
    if (d.empty()) return d;
    d.insert(std::min<size_t>(2, d.size()), "/");
    d.insert(std::min<size_t>(5, d.size()), "/");
    return d;
}

}  // namespace

std::string DILOBUF::get(int i) const {
    if (!valid(i)) return std::string();
    const size_t off = offsetOf(i);
    const size_t n = std::min<size_t>(uint8_t(raw[off]), capacityOf(i));
    return raw.substr(off + 1, n);
}

void DILOBUF::set(int i, const std::string& s) {
    if (!valid(i)) return;
    const size_t off = offsetOf(i), cap = capacityOf(i);
    const std::string t = UMAS::cut(s, cap);
    raw[off] = char(t.size());
    raw.replace(off + 1, cap, t + std::string(cap - t.size(), '\0'));
}

int LINECOUNT(const DILOBUF& b) {
    const double v = UMAS::EVAL(b.get(1));
    return int(std::nearbyint(std::clamp(v, -1e6, 1e6)));
}

int STOREDPAGES(const DILOBUF& b) {
    const int L = LINECOUNT(b);
    return L <= 0 ? 0 : std::min((L + 5) / 6, PAGES);
}

size_t STOREDBYTES(const DILOBUF& b) { return FRONTBYTES + PAGEBYTES * size_t(STOREDPAGES(b)); }

std::string FILENAME() {
    std::string name = trimmed(1);
    if (name.empty()) name = "temp";
    return LAYDOC::SAFENAME(name) ? UMAS::PATH + name + ".dil" : std::string();
}

void READFROMEDE(DILOBUF& b) {
    b.clear();
    const std::string date = slashed(trimmed(8));
    b.set(1, UMAS::REMLCH(trimmed(18), '0'));
    b.set(2, trimmed(6));
    b.set(3, UMAS::REMLCH(box(7), ' '));
    b.set(4, date);
    b.set(13, trimmed(39));
    b.set(14, trimmed(40));
    b.set(16, UMAS::cut(trimmed(46), 20));
    b.set(17, trimmed(60));
    b.set(18, UMAS::cut(trimmed(46), 27));
    b.set(20, trimmed(47));
    b.set(23, date);
    b.set(24, date);
    b.set(25, trimmed(61));
    b.set(26, trimmed(65));
}

bool READFILE(const std::string& path, DILOBUF& b) {
    const auto bytes = PLAT::readWhole(path);
    if (!bytes) return false;
    b.raw.replace(0, std::min(bytes->size(), RECBYTES), *bytes, 0, RECBYTES);
    return true;
}

void STORE(const std::string& path, const DILOBUF& b) { PLAT::writeWholeAtomic(path, b.raw.substr(0, STOREDBYTES(b))); }

DISKET::PBUF TOPBUF(const DILOBUF& b) {
    DISKET::PBUF p;
    p.LINES.assign(FRONT + 1, "");
    p.CELLS.assign(size_t(MAXLINES * 12 + 1), "");
    for (int k = 1; k <= FRONT; ++k) p.LINES[size_t(k)] = b.get(k);
    for (int c = 1; c <= MAXLINES * 12; ++c) p.CELLS[size_t(c)] = b.get(FRONT + c);
    return p;
}

LAYDOC::Field FRONTFIELD(int k) {
    static const LAYDOC::Field F[FRONT + 1] = {
        {0, 0, 0},    {18, 2, 5},   {36, 2, 16},  {53, 2, 4},   {72, 2, 8},   {21, 4, 20},  {23, 5, 17},
        {2, 6, 39},   {2, 7, 39},   {2, 8, 39},   {2, 10, 39},  {2, 11, 39},  {2, 12, 39},  {15, 14, 23},
        {39, 14, 2},  {16, 16, 25}, {57, 4, 20},  {78, 4, 2},   {53, 6, 27},  {55, 8, 21},  {77, 8, 3},
        {51, 10, 11}, {70, 10, 10}, {51, 12, 8},  {72, 12, 8},  {53, 14, 27}, {53, 16, 27}};
    return k >= 1 && k <= FRONT ? F[k] : F[0];
}

LAYDOC::Field CELLFIELD(int field) {
    if (field < FIRSTCELL || field > LASTCELL) return {0, 0, 0};
    const int b = (field - FIRSTCELL) / 12, j = (field - FIRSTCELL) % 12 + 1;
    static const int COLS[3] = {14, 36, 58};
    const int X = COLS[b % 3], Y = b < 3 ? 1 : 13;
    const int wide = X == 58 ? 1 : 0;
    if (j <= 4) return {X, Y + j - 1, 21 + wide};
    if (j == 5) return {X, Y + 4, 14 + wide};
    if (j == 6) return {X + 19 + wide, Y + 4, 2};
    return {X, Y + j - 2, 21 + wide};
}

int INDEXOF(int page, int field) { return page <= 0 ? field : (page - 1) * PAGECELLS + field; }

int LINEOF(int page, int field) { return (page - 1) * 6 + (field - FIRSTCELL) / 12 + 1; }

const std::vector<std::string> YPOXREOI = {PLAT::gr("1.ΠΡΑΚΤΟΡΑΣ"),    PLAT::gr("2.ΜΕΤΑΦΟΡΕΑΣ"),
                                           PLAT::gr("3.ΕΚΤΕΛΩΝΙΣΤΗΣ"), PLAT::gr("4.ΟΔΗΓΟΣ"),
                                           PLAT::gr("5.ΠΛΟΙΑΡΧΟΣ"),    PLAT::gr("6.ΑΛΛΟΣ")};
const std::vector<std::string> FORTOSEIS = {"T", "N", "T1", "C", "TRANSIT", "T2", "T2F", "TD", "T2M", ""};

void PRINTBODY(PRNS::Printout& o, const LAYDOC::Layout& L, const std::vector<int>& order, const DILOBUF& b) {
    LAYDOC::PRINTROWS(o, L, order, [&](int r) { return b.get(r); });
    o.lf(13);
    const int lines = std::min(LINECOUNT(b), MAXLINES);
    for (int n = 1; n <= lines; ++n) {
        for (int r = FRONT + 1; r <= FRONT + 12; ++r) {
            const PARAMS::RECPARTIM4& row = L[size_t(r)];
            if (row.COL == 0 || row.ROW == 0) continue;
            const int j = r - FRONT;
            o.tab(row.COL);
            o.mode(row.SA1);
            o.mode(row.SA2);
            o.text(j == 12 ? UMAS::cut(b.cell(n, j), 15) : b.cell(n, j));
            o.mode(row.ST2);
            o.mode(row.ST1);
        }
        o.lf(1);
    }
    o.mode(11);
}

}  // namespace EKDILO
