// BOD: checking the form records of the mask file: what a run needs of them (at start) and the
// whole design of the form (mask compiler, tests).
#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "declarations/bod.h"

namespace BOD {

namespace {

// One page of the form: its image and box table masks and the rows its boxes may use.
struct PageSpec {
    const char* name;
    int image, table;
    int rows;        // rows of the page image in use
    int boxes;       // entries used (289 main, 165 sheet)
    bool sheet;
    int front;       // main page: rows of the front
};

const PageSpec PAGES[] = {
    {"main page", MASK_DIA, MASK_GV, TOTAL_MAIN, BOXES, false, FRONT_MAIN},
    {"continuation sheet", MASK_BIS, MASK_GB, SHEET_ROWS, SHEET_BOXES, true, 0},
    {"excise main page", MASK_DIA_DFK, MASK_GV_DFK, TOTAL_DFK, BOXES, false, FRONT_DFK},
    {"excise continuation sheet", MASK_BIS_DFK, MASK_GB_DFK, SHEET_ROWS, SHEET_BOXES, true, 0},
};

const UMAS::CONV* at(const std::vector<UMAS::CONV>& masks, int n) {
    return n >= 1 && size_t(n) < masks.size() && !masks[size_t(n)].raw.empty() ? &masks[size_t(n)] : nullptr;
}

std::string num(int n) { return std::to_string(n); }

// Size problems of the page's records; "" when the views can be taken.
std::string recordProblem(const std::vector<UMAS::CONV>& masks, const PageSpec& p) {
    const UMAS::CONV* img = at(masks, p.image);
    if (!img) return "mask " + num(p.image) + " (" + p.name + " image) is missing";
    if (img->W() != PAGE_COLS || img->H() < p.rows)
        return "mask " + num(p.image) + " (" + p.name + " image) is " + num(img->W()) + " x " + num(img->H()) +
               " cells; it needs 80 x " + num(p.rows);
    const UMAS::CONV* tab = at(masks, p.table);
    if (!tab) return "mask " + num(p.table) + " (" + p.name + " box table) is missing";
    if (tab->raw.size() < 8 + GGV_BYTES)
        return "mask " + num(p.table) + " (" + p.name + " box table) holds " + num(int(tab->raw.size() - 8)) +
               " bytes; it needs " + num(int(GGV_BYTES));
    return "";
}

// A box's entry lies inside its page.
std::string boxBoundsProblem(GGV G, int rows, int n, const PageSpec& p) {
    const int c = G.COL(n), r = G.ROW(n), l = G.LEN(n);
    if (c < 1 || l < 1 || c + l - 1 > PAGE_COLS || r < 1 || r > rows || G.TYP(n) >= INPUT_TYPES ||
        G.HLP(n) >= HELP_LINES)
        return "mask " + num(p.table) + ": box " + num(n) + " (column " + num(c) + ", row " + num(r) + ", length " +
               num(l) + ", type " + num(G.TYP(n)) + ", help " + num(G.HLP(n)) + ") does not fit the " + p.name;
    return "";
}

}  // namespace

std::string CHECKFORMRECORDS(const std::vector<UMAS::CONV>& masks) {
    for (const PageSpec& p : PAGES) {
        if (auto why = recordProblem(masks, p); !why.empty()) return why;
        UMAS::CONV* img = const_cast<UMAS::CONV*>(at(masks, p.image));
        UMAS::CONV* tab = const_cast<UMAS::CONV*>(at(masks, p.table));
        GGV G = TABLEOF(tab);
        (void)img;
        for (int n = 1; n <= p.boxes; ++n)
            if (auto why = boxBoundsProblem(G, p.rows, n, p); !why.empty()) return why;
    }
    const UMAS::CONV* mes = at(masks, MASK_MES);
    if (!mes || mes->raw.size() < 8 + MSG_BYTES)
        return "mask " + num(MASK_MES) + " (help lines) holds fewer than " + num(int(MSG_BYTES)) + " bytes";
    return "";
}

std::vector<std::string> CHECKFORM(const std::vector<UMAS::CONV>& masksIn) {
    std::vector<std::string> out;
    // Work on a copy: the views are writable.
    std::vector<UMAS::CONV> masks = masksIn;
    auto problem = [&](const std::string& s) { out.push_back(s); };

    const UMAS::CONV* mesRec = at(masks, MASK_MES);
    MSG M = HELPOF(mesRec);
    if (!M.valid()) {
        problem("mask " + num(MASK_MES) + " (help lines) holds fewer than " + num(int(MSG_BYTES)) + " bytes");
    } else {
        if (!M.line(0).empty() && M.line(0).find_first_not_of(' ') != std::string::npos)
            problem("help line 0 is not blank (it clears the help row)");
        for (int n = 0; n < HELP_LINES; ++n) {
            const uint8_t len = mesRec->cells()[size_t(n) * (HELP_CAP + 1)];
            if (len > HELP_TEXT_MAX)
                problem("help line " + num(n) + " has " + num(len) + " characters; at most " + num(HELP_TEXT_MAX) +
                        " fit on the help row");
        }
    }

    for (const PageSpec& p : PAGES) {
        if (auto why = recordProblem(masks, p); !why.empty()) {
            problem(why);
            continue;
        }
        SCB P = PAGEOF(&masks[size_t(p.image)], p.rows);
        GGV G = TABLEOF(&masks[size_t(p.table)]);
        const std::string where = std::string(p.name) + " (mask " + num(p.table) + ")";
        bool bounds = true;
        for (int n = 1; n <= p.boxes; ++n)
            if (auto why = boxBoundsProblem(G, p.rows, n, p); !why.empty()) {
                problem(why);
                bounds = false;
            }
        if (!bounds) continue;
        if (p.sheet)
            for (int n = p.boxes + 1; n <= BOXES; ++n)
                for (int k = 1; k <= 5; ++k)
                    if (G.at(n, k) != 0) {
                        problem(where + ": entry " + num(n) + " is not used by the sheet and must be zero");
                        k = 6;
                    }

        // Owner of each cell; boxes do not overlap; box cells are blank on the empty form.
        std::vector<int> owner(size_t(p.rows) * PAGE_COLS, 0);
        auto own = [&](int r, int c) -> int& { return owner[size_t(r - 1) * PAGE_COLS + size_t(c - 1)]; };
        for (int n = 1; n <= p.boxes; ++n) {
            bool blank = true;
            for (int c = G.COL(n); c < G.COL(n) + G.LEN(n); ++c) {
                int& o = own(G.ROW(n), c);
                if (o) problem(where + ": boxes " + num(o) + " and " + num(n) + " overlap on row " + num(G.ROW(n)));
                else o = n;
                blank = blank && P.CCH(G.ROW(n), c) == ' ';
            }
            if (!blank) problem(where + ": box " + num(n) + " is not blank on the empty form");
        }

        // Reading order: the cursor moves by number, the mouse and the row searches by row.
        const int ordered = p.sheet ? p.boxes : 207;
        for (int n = 1; n < ordered; ++n) {
            const bool after = G.ROW(n + 1) > G.ROW(n) ||
                               (G.ROW(n + 1) == G.ROW(n) && G.COL(n + 1) >= G.COL(n) + G.LEN(n));
            if (!after) problem(where + ": box " + num(n + 1) + " lies before box " + num(n) + " in reading order");
        }
        // The view's boxes each in reading order within their column band (left, right).
        // Rows of the parts of each page.
        auto rowsIn = [&](int from, int to, int r1, int r2, const std::string& what) {
            for (int n = from; n <= to; ++n)
                if (G.ROW(n) < r1 || G.ROW(n) > r2)
                    problem(where + ": box " + num(n) + " lies on row " + num(G.ROW(n)) + "; " + what + " use rows " +
                            num(r1) + ".." + num(r2));
        };
        if (p.sheet) {
            rowsIn(1, 128, 1, SHEET_UPPER_ROWS, "boxes 1..128");
            rowsIn(129, SHEET_BOXES, SHEET_UPPER_ROWS + 1, SHEET_ROWS, "boxes 129..165");
        } else {
            rowsIn(1, 207, 1, p.front, "the front's boxes 1..207");
            rowsIn(208, BOXES, p.front - VIEW_ROWS + 1, p.rows, "the alternate view's boxes");
            // Front boxes that the view would show stay apart from the view's rows.
            int lastFront = 0, firstView = p.rows;
            for (int n = 1; n <= 207; ++n) lastFront = std::max(lastFront, G.ROW(n));
            for (int n = 208; n <= BOXES; ++n) firstView = std::min(firstView, G.ROW(n));
            if (lastFront >= firstView)
                problem(where + ": the front's boxes reach row " + num(lastFront) + ", the view's start on row " +
                        num(firstView));
        }

        // Lengths and types the code relies on.
        auto need = [&](int n, int minLen, int maxLen, std::initializer_list<int> types, const char* role) {
            const int l = G.LEN(n), t = G.TYP(n);
            if (l < minLen || l > maxLen)
                problem(where + ": box " + num(n) + " (" + role + ") has length " + num(l) + "; it needs " +
                        (minLen == maxLen ? num(minLen) : num(minLen) + ".." + num(maxLen)));
            bool ok = types.size() == 0;
            for (int ty : types) ok = ok || ty == t;
            if (!ok) problem(where + ": box " + num(n) + " (" + role + ") has input type " + num(t));
        };
        auto notNumber = [&](int n, const char* role) {
            if (ISNUMTYPE(G.TYP(n)))
                problem(where + ": box " + num(n) + " (" + role + ") may carry more than two decimals; type " +
                        num(G.TYP(n)) + " would re-format it");
        };
        auto cellFree = [&](int r, int c, const std::string& what) {
            if (c < 1 || c > PAGE_COLS) problem(where + ": " + what + " falls outside the page");
            else if (own(r, c)) problem(where + ": " + what + " (column " + num(c) + ", row " + num(r) + ") lies in box " + num(own(r, c)));
        };
        constexpr int TXT = TY_TEXT;
        // The eight tax lines: type, base, rate (its "%" cell free), amount, the first at box first + 5.
        auto taxLines = [&](int first) {
            for (int i = 1; i <= 8; ++i) {
                const int b = first + 5 * i;
                need(b, 3, 80, {}, "tax type");
                need(b + 1, 10, 80, {}, "tax base");
                need(b + 2, 7, 7, {}, "tax rate");
                need(b + 3, 10, 80, {}, "tax amount");
                notNumber(b + 1, "tax base");
                notNumber(b + 2, "tax rate");
                cellFree(G.ROW(b + 2), G.COL(b + 2) + 7, "the \"%\" cell of tax line " + num(i));
            }
        };
        if (!p.sheet) {
            need(1, 1, 10, {TY_NUM, TY_ZNUM}, "number");
            need(2, 7, 80, {}, "declaration type");
            need(3, 2, 80, {}, "type, characters 6-7");
            need(5, 2, 80, {}, "declaration-type code");
            need(6, 20, 80, {}, "office name");
            need(7, 4, 80, {}, "office code");
            need(8, 6, 6, {TY_DATE}, "date");
            need(9, 6, 80, {TY_DATE, TXT}, "copy of the date");
            need(10, 6, 80, {}, "date");
            need(11, 17, 80, {}, "tax number");
            need(12, 40, 80, {}, "party name, text-block row 1");
            need(13, 40, 80, {}, "party line, text-block row 2");
            need(14, 40, 80, {}, "party line, text-block row 3");
            need(15, 2, 80, {}, "entry code");
            need(16, 2, 2, {TY_ZNUM}, "number of forms, as sheet box 1");
            need(18, 2, 80, {}, "number of items");
            need(19, 7, 80, {}, "total packages");
            need(21, 17, 80, {}, "tax number");
            need(22, 30, 80, {}, "party name");
            for (int n = 35; n <= 38; ++n) need(n, 40, 80, {}, "company header row");
            need(40, 4, 80, {}, "country code");
            need(44, 4, 80, {}, "country code");
            need(47, 4, 80, {}, "country code");
            need(53, 4, 80, {}, "country code");
            need(54, 4, 80, {}, "currency");
            need(56, 7, 80, {}, "exchange rate");
            notNumber(56, "exchange rate");
            need(59, 2, 80, {TXT}, "transport mode");
            need(60, 2, 80, {TXT}, "transport mode");
            need(62, 20, 80, {}, "invoice number");
            need(68, 6, 80, {}, "package kind");
            need(70, 14, 80, {}, "package row");
            for (int n = 72; n <= 77; ++n) need(n, 40, 80, {}, "goods description");
            need(78, 2, 80, {}, "item code");
            need(79, 21, 80, {}, "goods code");
            need(80, 4, 80, {}, "country code");
            need(84, 4, 80, {}, "procedure");
            for (int n : {82, 86, 89, 90, 91, 96, 97, 98, 99}) notNumber(n, "quantity");
            need(100, 10, 80, {}, "statistical value");
            taxLines(96);
            need(141, 10, 80, {}, "payable total");
            need(142, 11, 80, {}, "category, kind, currency");
            for (int k = 0; k <= 6; ++k) {
                const int c = 145 + 4 * k;
                need(c, 3, 80, {}, "value code");
                need(c + 1, 18, 80, {}, "value expression");
                need(c + 2, 3, 80, {}, "value third box");
                need(c + 3, 10, 80, {}, "value amount");
                if (G.COL(c) + 39 > PAGE_COLS) problem(where + ": the 40 cells of value row " + num(k + 1) + " pass column 80");
                if (k <= 4) cellFree(G.ROW(c + 2), 65, "the column-65 mark of value row " + num(k + 1));
            }
            need(174, 16, 80, {}, "duties label");
            need(176, 10, 80, {}, "duties amount");
            need(177, 10, 80, {}, "value for VAT");
            need(178, 15, 80, {}, "its label");
            need(179, 10, 80, {}, "euro total");
            need(180, 18, 80, {}, "its label");
            need(181, 17, 80, {}, "tax number");
            for (int n = 182; n <= 186; ++n) need(n, 50, 80, {}, "text-block row (50 cells)");
            need(187, 20, 80, {}, "office name");
            need(188, 8, 80, {}, "office code");
            need(190, 6, 80, {}, "date");
            for (int n = 191; n <= 206; ++n) {
                if (n == 203 || n == 204) continue;
                if (n % 2) need(n, 10, 80, {}, "office of transit");
                else need(n, 20, 80, {}, "country");
            }
            need(203, 40, 80, {}, "text-block row 1");
            need(207, 15, 80, {}, "town and date");
            // The alternate view.
            need(211, 5, 80, {}, "total packages");
            need(212, 8, 80, {}, "total packages");
            need(221, 16, 80, {}, "administrator line");
            need(224, 14, 80, {}, "currency line");
            for (int n = 230; n <= 245; ++n) need(n, 40, 40, {}, "paired text block (40 cells)");
            need(254, 39, 80, {}, "names and gross mass");
            need(255, 39, 80, {}, "names and net mass");
            need(256, 39, 80, {}, "names and net mass");
            for (int n = 257; n <= 262; ++n) need(n, 40, 80, {}, "goods row");
            for (int n = 263; n <= 267; ++n) need(n, 40, 80, {}, "tax line copy (40 cells)");
            need(268, 22, 80, {}, "total line");
            if (G.COL(268) > 29 || G.COL(268) + G.LEN(268) - 1 < 38)
                problem(where + ": box 268 does not hold columns 29..38 (the statistical value copied there)");
            need(269, 25, 80, {}, "debit line");
            need(270, 42, 80, {}, "town line (centred in 42)");
            need(271, 23, 80, {}, "examiner line");
            need(280, 10, 80, {}, "tax total");
        } else {
            need(1, 2, 2, {TY_ZNUM}, "sheet number");
            need(2, 2, 2, {TY_ZNUM}, "number of forms");
            need(3, 2, 2, {TY_ZNUM}, "item number");
            need(7, 2, 80, {}, "declaration-type code");
            need(8, 20, 80, {}, "office name");
            need(9, 4, 80, {}, "office code");
            need(10, 10, 80, {}, "declaration number");
            need(11, 6, 6, {TY_DATE}, "date");
            need(12, 6, 80, {TY_DATE, TXT}, "copy of the date");
            for (int n = 23; n <= 28; ++n) need(n, 40, 80, {}, "goods description");
            need(29, 21, 80, {}, "goods code");
            need(30, 4, 80, {}, "country code");
            need(34, 4, 80, {}, "procedure");
            for (int n : {32, 36, 39, 40, 41, 46, 47, 48, 49}) notNumber(n, "quantity");
            for (int n = 42; n <= 45; ++n) need(n, 40, 80, {}, "document line (value row copy)");
            need(50, 10, 80, {}, "item value");
            taxLines(46);
            need(91, 10, 80, {}, "payable total");
            for (int k = 0; k <= 6; ++k) {
                const int c = 92 + 4 * k;
                need(c, 3, 80, {}, "value code");
                need(c + 1, 19, 80, {}, "value expression");
                need(c + 2, 3, 80, {}, "value third box");
                need(c + 3, 10, 80, {}, "value amount");
                if (G.COL(c) + 39 > PAGE_COLS) problem(where + ": the 40 cells of value row " + num(k + 1) + " pass column 80");
                cellFree(G.ROW(c + 1), 65, "the column-65 mark of value row " + num(k + 1));
            }
            cellFree(G.ROW(121), 65, "the column-65 mark of the duties row");
            need(121, 16, 80, {}, "duties label");
            need(123, 10, 80, {}, "duties amount");
            need(128, 29, 80, {}, "office name and code");
            for (int n = 129; n <= 136; ++n) need(n, 40, 50, {}, "canned block 1");
            need(137, 37, 80, {}, "TARIC line");
            for (int n = 138; n <= 141; ++n) need(n, 40, 80, {}, "value row copy");
            need(142, 37, 80, {}, "FOB/CIF line");
            for (int n = 156; n <= 164; ++n) need(n, 40, 50, {}, "canned block 2");
            need(165, 3, 80, {}, "category prefix");
            for (int n = 1; n <= p.boxes; ++n)
                if (G.TYP(n) == TY_CODE) problem(where + ": box " + num(n) + " has input type 7, which the sheet editor does not offer");
        }
    }
    return out;
}

}  // namespace BOD
