// The editor-picker pattern shared by the code-table screens (private to the code-table module).
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "codes/gencod.h"
#include "codes/kvdi.h"
#include "screen/scr.h"

namespace KVDI::detail {

using UMAS::padTo;
using UMAS::cut;
using UMAS::trim;
bool blankOrEmpty(const std::string& s);
std::string two(int v);  // two digits with a leading zero
// The value of a digits-only text; an empty text gives 0.
uint32_t digitsValue(const std::string& s);

// The weekday abbreviation of a six-digit date read as the date entry reads it (blanks when it is
// no date); a day past the month's end is clamped in S.
std::string weekdayOf(std::string& S);

// A rate text cut before its first character that is not part of a number; a tax's rate as the
// goods catalogue shows it (8 characters, by its base kind).
std::string cutRate(const std::string& s);
std::string rateText8(const RECTAX& t);

// The arrows of legend entry 7 (and entry 9).
void arrows();
// The legend entries SET of GM1 on row 25; a set wider than the row shows "F1" and "F5" with short
// captions so that every key reads whole.
void legend(const std::vector<int>& set);
// The screen's mask and the legend row, both saved, and the legend.
void openScreen(int mask, const std::vector<int>& set);
void closeScreen();
// The legend row of a row edit: "ESC.Επιλογή".
void openRowEdit();
void closeRowEdit();

// One field of a row edit: offered text, what to keep of the typed text, and its display.
struct Field {
    int x, w;
    SCR::SOC sc;
    std::function<std::string()> get;
    std::function<void(const std::string&)> set;
    std::function<void(int y)> show;  // the field's display after its edit (may be empty)
};
// Edits the fields on row y one after another: Enter or Down go on (past the last field the edit
// ends), Up goes back (out of the first ends), Esc ends with the field as it was, other keys
// repeat the field. Returns the last exit code.
int editFields(int y, const std::vector<Field>& f);

// A table file image: records decoded from and encoded to the fixed-size file.
template <class R>
std::vector<R> decodeRecords(const std::vector<uint8_t>& img, size_t off, size_t n) {
    std::vector<R> v(n + 1);
    for (size_t i = 1; i <= n; ++i) v[i] = R::decode(img.data() + off + (i - 1) * R::SIZE);
    return v;
}
template <class R>
void encodeRecords(const std::vector<R>& v, std::vector<uint8_t>& img, size_t off) {
    for (size_t i = 1; i < v.size(); ++i) v[i].encode(img.data() + off + (i - 1) * R::SIZE);
}

// One open code-table screen: its layout, its state and the table's own parts.
struct Screen {
    // Layout: the menu driver's bar and grid, pages, and the official list (empty: none).
    int XA = 0, LE = 0, YA = 7, rows = 12, pages = 1;
    bool BL = false;
    std::string list, title;
    bool f1InPicker = false;  // the tax table stores with F1 in picker mode too

    // State: this screen's own change flag and bar position.
    bool BO = false;
    int L = 0, CL = 0, SL = 0, K = 0;
    bool quit = false;  // set by a table that ends the screen with nothing handed back
    int rec() const { return SL * rows + L + 1; }
    int y() const { return YA + L; }
    void openOn(int n) {  // record n (1-based) highlighted
        SL = (n - 1) / rows;
        L = (n - 1) % rows;
    }

    // The table's parts.
    std::function<void()> BOX;                  // draws the current page
    std::function<bool(int)> pick;              // picker Enter; true: handed back
    std::function<bool(int)> edit;              // row edit; true: handed back (tax picker)
    std::function<bool(int)> editable;          // false: Enter and F5 leave the row alone (maintenance)
    std::function<bool(int)> blank;             // F5 (maintenance); false: nothing blanked
    std::function<void()> store;                // F1
    std::function<bool(const GENCOD::BUF&)> listPick;       // picker: list entry into MEE
    std::function<void(int, const GENCOD::BUF&)> listFill;  // maintenance: list entry into the row
    std::function<void()> beforeKey;            // before each call of the menu driver
    std::function<bool(int)> other;             // other exit codes; true: redraw

    // The loop; returns 0 when something was handed back, 3 after Esc.
    uint8_t run();
};

}  // namespace KVDI::detail
