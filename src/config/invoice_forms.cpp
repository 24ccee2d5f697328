// The invoice parameter editors (item headings, expenses-statement reasons, declaration-to-invoice
// map, invoice print layout) and the form parameter editors (document field maps and document
// print layouts). Every editor works on a copy of its file and writes it whole only on F1.
#include "config/params.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/umas.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace PARAMS {

TPARTIM1 PARTIM1;
TDEP DEP;
TPARTIM3 PARTIM3;
bool PARTIM1MISSING = false;

namespace {

std::string gr(const char* utf8) { return PLAT::utf8ToCp737(utf8); }

using UMAS::cut;

// A number in a field of width w: w digits with leading zeros, w blanks for 0.
std::string num(unsigned v, int w) {
    if (v == 0) return std::string(size_t(w), ' ');
    std::string s = std::to_string(v);
    if (s.size() < size_t(w)) s.insert(0, size_t(w) - s.size(), '0');
    return s;
}
// The text of a number field as it is offered for editing: empty for 0.
std::string numText(unsigned v, int w) { return v == 0 ? "" : num(v, w); }

// The value of a digits-only field; an empty field gives 0.
unsigned fieldValue(const std::string& s) {
    unsigned v = 0;
    for (char c : s)
        if (c >= '0' && c <= '9') v = v * 10 + unsigned(c - '0');
    return v;
}

// The page number, 1-based, two wide.
std::string pageText(int SE) {
    std::string s = std::to_string(SE + 1);
    return s.size() < 2 ? " " + s : s;
}

// The opening common to every editor here: the arrows of legend entry 7, the editor's mask and
// the legend row, both saved, and the legend of entries 1, 2, 7 and 8.
void openScreen(int mask) {
    if (GM1[7].size() >= 3) {
        GM1[7][0] = char(24);
        GM1[7][2] = char(25);
    }
    SCR::CALLM(mask, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({1, 2, 7, 8}, GM1);
    // A "file not found" line of the reads that follow goes below the frame.
    PLAT::con().gotoXY(1, 23);
}
void closeScreen() {
    SCR::RECALL();
    SCR::RECALL();
}

// The legend row while one row is edited: "ESC.Επιλογή" only.
void openRowEdit() {
    SCR::CALLM(2, true);
    UMAS::FKEY({10}, GM1);
}

// The list: bar at column XA, first row YA, LE wide, rows per page, pages; page number at
// (PX, PY). draw(rec, y) writes one row, edit(rec, y) edits it, key(KK, rec) handles the further
// keys (true: redraw the page). The list ends with Esc.
struct List {
    int XA, YA, LE, rows, pages, PX, PY;
};
template <class Draw, class Edit, class Key>
void runList(const List& L, Draw draw, Edit edit, Key key) {
    int LI = 0, CO = 0, SE = 0, KK = 0;
    auto BOX = [&] {
        SCR::PRINT(L.PX, L.PY, pageText(SE));
        for (int i = 0; i < L.rows; ++i) draw(L.rows * SE + i + 1, L.YA + i);
        PLAT::con().refresh();
    };
    BOX();
    for (;;) {
        KK = 0;
        UMAS::EPIL(0, 14, L.XA, 0, L.YA, 1, L.LE, L.rows - 1, 0, L.pages - 1, LI, CO, SE, KK, 0);
        const int rec = L.rows * SE + LI + 1;
        switch (KK) {
            case 0:
                edit(rec, L.YA + LI);
                BOX();
                break;
            case 1:
            case 2:
            case 4:
            case 5:
                BOX();
                break;
            case 3:
                return;
            default:
                if (key(KK, rec)) BOX();
                break;
        }
    }
}

// ---- Lists of texts (item headings, reasons) ---------------------------------------------------

// A text row of 40 characters at column 20: shown rows are kept padded to 40 in the work copy.
// With numbered set, each shown row's record number goes two wide at column 17 (the mask holds the
// first page's numbers only).
template <class T>
void runTextList(int pages, int rows, int PY, T& work, size_t n, const std::function<void()>& store,
                 bool numbered = false) {
    const List L{20, 7, 40, rows, pages, 59, PY};
    runList(
        L,
        [&](int rec, int y) {
            if (numbered) SCR::PRINT(17, y, pageText(rec - 1));
            if (size_t(rec) > n) return;
            work[size_t(rec)] = padTo(work[size_t(rec)], 40);
            SCR::PRINT(20, y, work[size_t(rec)]);
        },
        [&](int rec, int y) {
            if (size_t(rec) > n) return;
            openRowEdit();
            std::string S = work[size_t(rec)].empty() ? std::string(40, ' ') : work[size_t(rec)];
            int K = 0;
            do {
                S = SCR::GINPUT(20, y, 40, S, "", SCR::socRange(32, 255), false, true, K);
            } while (K != 0 && K != 1 && K != 2 && K != 3);
            work[size_t(rec)] = padTo(S, 40);
            SCR::RECALL();
        },
        [&](int KK, int) {
            if (KK == 7) store();
            return false;
        });
}

// ---- Box maps (declaration-to-invoice map, document field maps) --------------------------------

void drawMapRow(const RECPARTIM3& r, int y) {
    SCR::PRINT(27, y, num(r.KV, 3));
    SCR::PRINT(34, y, padTo(r.CI, 20));
}

// Box number at column 27 (3 digits), caption at column 34 (20 characters).
void editMapRow(RECPARTIM3& r, int y) {
    openRowEdit();
    int field = 1, K = 0;
    for (;;) {
        if (field == 1) {
            std::string s = SCR::GINPUT(27, y, 3, numText(r.KV, 3), "", SCR::socDigits(), false, true, K);
            r.KV = uint16_t(fieldValue(s));
            SCR::PRINT(27, y, num(r.KV, 3));
            if (K == 0 || K == 2) field = 2;
            else if (K == 1 || K == 3) break;
        } else {
            std::string s = SCR::GINPUT(34, y, 20, r.CI.empty() ? std::string(20, ' ') : r.CI, "",
                                        SCR::socRange(32, 255), false, true, K);
            if (K != 3) r.CI = padTo(s, 20);
            SCR::PRINT(34, y, padTo(r.CI, 20));
            if (K == 0 || K == 2 || K == 3) break;
            if (K == 1) field = 1;
        }
    }
    SCR::RECALL();
}

void runMapList(int pages, std::vector<RECPARTIM3>& work, const std::function<void()>& store) {
    const List L{25, 7, 30, 11, pages, 52, 18};
    const size_t n = work.size() - 1;
    runList(
        L,
        [&](int rec, int y) {
            if (size_t(rec) <= n) drawMapRow(work[size_t(rec)], y);
        },
        [&](int rec, int y) {
            if (size_t(rec) <= n) editMapRow(work[size_t(rec)], y);
        },
        [&](int KK, int) {
            if (KK == 7) store();
            return false;
        });
}

// Reads n RECPARTIM3 of file SF into records 1..n (a missing file leaves them empty).
std::vector<RECPARTIM3> readMap(const std::string& SF, size_t n) {
    std::vector<uint8_t> buf(n * RECPARTIM3::SIZE, 0);
    RUFPAR(SF, buf.data(), buf.size());
    std::vector<RECPARTIM3> t(n + 1);
    decodeTable<RECPARTIM3>(buf.data(), n, t);
    return t;
}
void writeMap(const std::string& SF, const std::vector<RECPARTIM3>& t) {
    const size_t n = t.size() - 1;
    std::vector<uint8_t> buf(n * RECPARTIM3::SIZE, 0);
    encodeTable<RECPARTIM3>(t, n, buf.data());
    KATPAR(SF, buf.data(), buf.size());
}

// ---- Print layouts -------------------------------------------------------------------------------

struct NumField {
    int x, w;
    uint8_t RECPARTIM4::*f;
};
const NumField LAYOUT_FIELDS[6] = {{40, 2, &RECPARTIM4::SA1}, {45, 2, &RECPARTIM4::SA2}, {49, 3, &RECPARTIM4::COL},
                                   {54, 3, &RECPARTIM4::ROW}, {60, 2, &RECPARTIM4::ST2}, {65, 2, &RECPARTIM4::ST1}};

void drawLayoutRow(const RECPARTIM4& r, int y) {
    SCR::PRINT(7, y, std::string(30, ' '));
    SCR::PRINT(7, y, r.PER);
    for (const NumField& f : LAYOUT_FIELDS) SCR::PRINT(f.x, y, num(r.*f.f, f.w));
}

// The six numbers of a record, in record order. Each value is kept as soon as its field is left;
// a number that does not fit its byte is refused with the bell and asked again.
void editLayoutRow(RECPARTIM4& r, int y) {
    openRowEdit();
    int i = 0, K = 0;
    for (;;) {
        const NumField& f = LAYOUT_FIELDS[i];
        uint8_t& v = r.*f.f;
        std::string s = SCR::GINPUT(f.x, y, f.w, numText(v, f.w), "", SCR::socDigits(), false, true, K);
        if (K == 3) {
            SCR::PRINT(f.x, y, num(v, f.w));
            break;
        }
        unsigned val = fieldValue(s);
        if (val > 255) {
            PLAT::con().bell();
            SCR::PRINT(f.x, y, num(v, f.w));
            continue;
        }
        v = uint8_t(val);
        SCR::PRINT(f.x, y, num(v, f.w));
        if (K == 0 || K == 2) {
            if (i == 5) break;
            ++i;
        } else if (K == 1) {
            if (i == 0) break;
            --i;
        }
    }
    SCR::RECALL();
}

void clearNumbers(RECPARTIM4& r) { r.SA1 = r.SA2 = r.COL = r.ROW = r.ST2 = r.ST1 = 0; }

std::vector<RECPARTIM4> readLayout(const std::string& SF, size_t n) {
    std::vector<uint8_t> buf(n * RECPARTIM4::SIZE, 0);
    RUFPAR(SF, buf.data(), buf.size());
    std::vector<RECPARTIM4> t(n + 1);
    decodeTable<RECPARTIM4>(buf.data(), n, t);
    return t;
}
void writeLayout(const std::string& SF, const std::vector<RECPARTIM4>& t) {
    const size_t n = t.size() - 1;
    std::vector<uint8_t> buf(n * RECPARTIM4::SIZE, 0);
    encodeTable<RECPARTIM4>(t, n, buf.data());
    KATPAR(SF, buf.data(), buf.size());
}

template <class Key>
void runLayoutList(int pages, std::vector<RECPARTIM4>& work, Key key) {
    const List L{6, 8, 62, 12, pages, 20, 20};
    const size_t n = work.size() - 1;
    runList(
        L,
        [&](int rec, int y) {
            if (size_t(rec) <= n) drawLayoutRow(work[size_t(rec)], y);
        },
        [&](int rec, int y) {
            if (size_t(rec) <= n) editLayoutRow(work[size_t(rec)], y);
        },
        key);
}

}  // namespace

// ---- Invoice item headings, reasons, declaration-to-invoice map ----------------------------------

void loadInvoiceTables() {
    std::vector<uint8_t> buf(PARTIM1_SIZE, 0);
    PARTIM1MISSING = !RUFPAR("PARTIM1", buf.data(), buf.size());
    decodePARTIM1(buf.data(), PARTIM1);
    buf.assign(PARTIM2_SIZE, 0);
    RUFPAR("PARTIM2", buf.data(), buf.size());
    decodeDEP(buf.data(), DEP);
    buf.assign(PARTIM3_SIZE, 0);
    RUFPAR("PARTIM3", buf.data(), buf.size());
    decodePARTIM3(buf.data(), PARTIM3);
}

void INVOICETABLESNOTICE(bool headings, bool layout) {
    if (headings && PARTIM1MISSING) PRNS::REPORT(NOTFOUND("PARTIM1"));
    if (layout && !PARFOUND("PARTIM4")) PRNS::REPORT(NOTFOUND("PARTIM4"));
}

void CALLPARTIM1() {
    std::vector<uint8_t> buf(PARTIM1_SIZE, 0);
    TPARTIM1 work;
    openScreen(91);
    RUFPAR("PARTIM1", buf.data(), buf.size());
    decodePARTIM1(buf.data(), work);
    runTextList(2, 9, 16, work, PARTIM1_N, [&] {
        PARTIM1 = work;
        PARTIM1MISSING = false;
        std::vector<uint8_t> out(PARTIM1_SIZE, 0);
        encodePARTIM1(work, out.data());
        KATPAR("PARTIM1", out.data(), out.size());
    }, true);
    closeScreen();
}

void CALLPARTIM2() {
    std::vector<uint8_t> buf(PARTIM2_SIZE, 0);
    TDEP work;
    openScreen(92);
    RUFPAR("PARTIM2", buf.data(), buf.size());
    decodeDEP(buf.data(), work);
    runTextList(1, 11, 18, work, PARTIM2_N, [&] {
        // Only the entries the file holds; DEP[12..14] are kept.
        for (size_t i = 1; i <= PARTIM2_N; ++i) DEP[i] = work[i];
        std::vector<uint8_t> out(PARTIM2_SIZE, 0);
        encodeDEP(work, out.data());
        KATPAR("PARTIM2", out.data(), out.size());
    });
    closeScreen();
}

void CALLPARTIM3() {
    openScreen(93);
    std::vector<RECPARTIM3> work = readMap("PARTIM3", PARTIM3_N);
    runMapList(2, work, [&] {
        for (size_t i = 1; i <= PARTIM3_N; ++i) PARTIM3[i] = work[i];
        writeMap("PARTIM3", work);
    });
    closeScreen();
}

// ---- Invoice print layout ------------------------------------------------------------------------

void CALLPARTIM4() {
    openScreen(96);
    std::vector<RECPARTIM4> work = readLayout("PARTIM4", MAXPVTIM);

    // Captions 1..120 from "partim4.INI" in the working folder.
    UMAS::LOCK("FPAR");
    auto lines = PLAT::readLines("partim4.INI");
    UMAS::UNLOC("FPAR");
    if (!lines) {
        // Nothing is stored; the clerk is back in the menu after a key.
        SCR::PRINT(7, 22, "file not found partim4.INI");
        PLAT::con().readKey();
        closeScreen();
        return;
    }
    if (lines->empty()) work[1].PER = "";
    for (size_t i = 0; i < lines->size() && i < 120; ++i) work[i + 1].PER = cut((*lines)[i], 30);

    // Captions 121..131: the reasons as stored in "PARTIM2".
    {
        std::vector<uint8_t> buf(PARTIM2_SIZE, 0);
        TDEP dep;
        RUFPAR("PARTIM2", buf.data(), buf.size());
        decodeDEP(buf.data(), dep);
        for (size_t i = 1; i <= PARTIM2_N; ++i) work[120 + i].PER = cut(dep[i], 30);
    }
    // Captions 132..142: fixed texts.
    static const char* const FIXED[11] = {"Ποσό αιτιολογίας ΚΕΔ 1",
                                          "Ποσό αιτιολογίας ΚΕΔ 2",
                                          "Καταβληθέντα ποσά σε πρόσωπα μή",
                                          "ΣΥΝΟΛΟ Κ.Ε.Δ.",
                                          "ΠΑΡΑΛΗΠΤΗΣ",
                                          "Α.Φ.Μ. ΠΑΡΑΛΗΠΤΗ",
                                          "ΗΜΕΡΟΜΗΝΙΑ",
                                          "ΑΙΤΙΟΛΟΓΙΑ ΚΕΔ 1",
                                          "ΑΙΤΙΟΛΟΓΙΑ ΚΕΔ 2",
                                          "",
                                          "ΟΝΟΜΑ ΠΕΛΑΤΗ"};
    for (size_t i = 0; i < 11; ++i) work[132 + i].PER = cut(gr(FIXED[i]), 30);
    // Captions 10..31 and 32..48 from the tables in memory.
    for (size_t i = 1; i <= PARTIM3_N; ++i) work[9 + i].PER = cut(PARTIM3[i].CI, 30);
    for (size_t i = 1; i <= 17; ++i) work[31 + i].PER = cut(PARTIM1[i], 30);

    runLayoutList(12, work, [&](int KK, int) {
        if (KK == 7) writeLayout("PARTIM4", work);
        return false;
    });
    closeScreen();
}

// ---- Document field maps ---------------------------------------------------------------------------

namespace {
const char* const MAP_FILE[5] = {"PARD2in1", "PARD2in2", "PARD2EUR", "PARD2ZON", "PARD2TIR"};
const char* const MAP_TITLE[5] = {"INVOICE", "INVOICE", "EUR.1", "ΖΩΝΗΣ", "T.I.R."};
}  // namespace

void CALLPARTIM5(int N) {
    if (N < 0 || N > 4) return;
    openScreen(93);
    SCR::PRINT(41, 5, gr(MAP_TITLE[N]));
    std::vector<RECPARTIM3> work = readMap(MAP_FILE[N], PARD2_N);
    runMapList(3, work, [&] { writeMap(MAP_FILE[N], work); });
    closeScreen();
}

// ---- Document print layouts ------------------------------------------------------------------------

namespace {

struct LayoutDef {
    const char* title;
    const char* file;
    const char* map;   // field map the captions come from, or nullptr
    const char* seed;  // seed text ("<seed>.ini" in the working folder), or nullptr
};
const LayoutDef LAYOUTS[11] = {
    {nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
    {" INVOICE 1 ", "PARinv1", "PARD2in1", nullptr},
    {" INVOICE 2 ", "PARinv2", "PARD2in2", nullptr},
    {" E.U.R. 1  ", "PAREUR1", "PARD2EUR", nullptr},
    {"ΠΙΣΤ.ΑΥΤΟΚ.", "PARPITA", nullptr, "PARD2PIT"},
    {"   ΖΩΝΗΣ   ", "PARZON", "PARD2ZON", nullptr},
    {"ΖΩΝΗΣ Β'ΟΨΗ", "PARZOB", "PARD2ZON", nullptr},
    {"   Δ.Α.Ο.  ", "PARDDD", nullptr, "PARD2DAO"},
    {" ΔΗΛΩΤΙΚΟΥ ", "PARDILL", nullptr, "PARD2DIL"},
    {"  T.I.R.   ", "PARTIR", nullptr, "PARD2TIR"},
};

// Captions of a layout filled from a document field map.
void INITINV(std::vector<RECPARTIM4>& L, const std::string& map) {
    const bool found = UMAS::FILEEXIST(PARFILE(map));
    std::vector<RECPARTIM3> m;
    if (found) m = readMap(map, PARD2_N);
    const std::string desc = gr("Περιγραφή "), field = gr("Πεδίο "), total = gr("Σύνολο");
    for (size_t n = 1; n <= 30; ++n) L[n].PER = cut(found ? m[n].CI : desc + std::to_string(n), 30);
    for (size_t n = 31; n <= 54; ++n) L[n].PER = cut(found ? " *" + m[n - 30].CI : field + std::to_string(n - 30), 30);
    for (size_t n = 55; n <= 94; ++n)
        L[n].PER = cut(found ? " *" + m[n % 5 + 25].CI : field + std::to_string(n - 30), 30);
    for (size_t n = 95; n <= 97; ++n) L[n].PER = cut(total + std::to_string(n - 94), 30);
}

// Captions of a layout filled from a seed text, one caption per line, at most 119.
void INITDOC(std::vector<RECPARTIM4>& L, const std::string& seed) {
    const std::string fn = seed + ".ini";
    if (!UMAS::FILEEXIST(fn)) return;
    UMAS::LOCK("FPAR");
    auto lines = PLAT::readLines(fn);
    UMAS::UNLOC("FPAR");
    if (!lines) return;
    for (size_t i = 0; i < lines->size() && i < 119; ++i) L[i + 1].PER = cut((*lines)[i], 30);
}

}  // namespace

void CALLPARTIM6(int N) {
    if (N < 2 || N > 10) return;
    const LayoutDef& D = LAYOUTS[N];
    openScreen(96);
    SCR::PRINT(45, 5, gr(D.title));
    std::vector<RECPARTIM4> work = readLayout(D.file, PARDOC_N);
    if (D.map)
        INITINV(work, D.map);
    else
        INITDOC(work, D.seed);

    runLayoutList(10, work, [&](int KK, int rec) {
        const size_t r = size_t(rec), last = PARDOC_N;
        switch (KK) {
            case 7:  // F1: store
                writeLayout(D.file, work);
                return false;
            case 11:  // F5: clear the position
                clearNumbers(work[r]);
                return true;
            case 12:  // F6: remove the position
                for (size_t k = r; k < last; ++k) work[k] = work[k + 1];
                clearNumbers(work[last]);
                return true;
            case 13:  // F7: open a position, only while the last record is unplaced
                if (work[last].COL != 0 || work[last].ROW != 0) return false;
                for (size_t k = last - 1; k >= r; --k) work[k + 1] = work[k];
                clearNumbers(work[r]);
                return true;
            default:
                return false;
        }
    });
    closeScreen();
}

// ---- The form parameters menu ----------------------------------------------------------------------

namespace {

// Entry k (1..14) of the menu opens field map editor n (CALLPARTIM5) or layout editor n (CALLPARTIM6).
struct MenuEntry {
    bool layout;
    int n;
};
const MenuEntry PARENTYPON[14] = {{false, 0}, {true, 2}, {false, 1}, {true, 3}, {false, 2}, {true, 4}, {true, 5},
                                  {true, 8},  {true, 9}, {false, 4}, {true, 10}, {false, 3}, {true, 6}, {true, 7}};

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

void CALLPARENTYPON(int entry) {
    if (entry < 1 || entry > 14) return;
    const MenuEntry& e = PARENTYPON[entry - 1];
    if (e.layout)
        CALLPARTIM6(e.n);
    else
        CALLPARTIM5(e.n);
}

FormPlace FORMPLACE(const std::string& SF) {
    for (int k = 1; k <= 14; ++k) {
        const MenuEntry& e = PARENTYPON[k - 1];
        const char* file = e.layout ? LAYOUTS[e.n].file : MAP_FILE[e.n];
        if (sameName(SF, file)) return {file, k};
    }
    return {SF, 0};
}

}  // namespace PARAMS
