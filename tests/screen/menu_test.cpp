// The menu driver, the key legend and the print-settings dialog on the headless console.
#include <gtest/gtest.h>

#include "common/umas.h"
#include "helpers/fixture.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "screen/scr.h"

using PLAT::keyChar;
using PLAT::keyExt;
namespace SC = PLAT::SC;

namespace {

struct Grid {
    int ML = 8, MC = 0, MS = 0;
    int LI = 0, CO = 0, SE = 0;
};

struct Outcome {
    int KK, LI, CO, SE;
};

class MenuDriver : public TESTS::Installation {
protected:
    // Runs one call of the menu driver on a grid at column 10, rows 5.., 20 wide, column step 30.
    Outcome run(Grid g, const std::vector<PLAT::Event>& script) {
        for (const auto& e : script) con->push(e);
        int KK = 0;
        UMAS::EPIL(1, 15, 10, 30, 5, 1, 20, g.ML, g.MC, g.MS, g.LI, g.CO, g.SE, KK, 0);
        return {KK, g.LI, g.CO, g.SE};
    }
};

TEST_F(MenuDriver, KeysGiveTheirExitCodesAndMoves) {
    struct Case {
        const char* what;
        Grid grid;
        std::vector<PLAT::Event> keys;
        Outcome want;
    } cases[] = {
        {"Enter", {}, {keyChar(13)}, {0, 0, 0, 0}},
        {"Esc", {}, {keyChar(27)}, {3, 0, 0, 0}},
        {"Tab", {}, {keyChar(9)}, {30, 0, 0, 0}},
        {"Space", {}, {keyChar(' ')}, {20, 0, 0, 0}},
        {"End", {}, {keyExt(SC::END)}, {6, 0, 0, 0}},
        {"F2..F7", {}, {keyExt(SC::F7)}, {13, 0, 0, 0}},
        {"F1 without a form", {}, {keyExt(SC::F1)}, {7, 0, 0, 0}},
        {"Shift-F1", {}, {keyExt(SC::SF1)}, {14, 0, 0, 0}},
        {"F10", {}, {keyExt(SC::F10)}, {16, 0, 0, 0}},
        {"other keys are ignored", {}, {keyChar('x'), keyExt(SC::F8), keyExt(SC::HOME), keyChar(13)}, {0, 0, 0, 0}},
        {"Down", {}, {keyExt(SC::DOWN)}, {2, 1, 0, 0}},
        {"Up on the first entry of page 0 stays", {}, {keyExt(SC::UP)}, {1, 0, 0, 0}},
        {"Down on the last entry of the only page stays", {8, 0, 0, 8, 0, 0}, {keyExt(SC::DOWN)}, {2, 8, 0, 0}},
        {"nine entries: key 9 chooses the ninth", {}, {keyChar('9')}, {0, 8, 0, 0}},
        {"nine entries: key 0 is ignored", {}, {keyChar('0'), keyChar(27)}, {3, 0, 0, 0}},
        {"three entries: key 4 is ignored", {2}, {keyChar('4'), keyChar(13)}, {0, 0, 0, 0}},
        {"fifteen entries: 1 then 2 choose entry 12", {14}, {keyChar('1'), keyChar('2')}, {0, 11, 0, 0}},
        {"fifteen entries: 1 then 6 choose nothing", {14}, {keyChar('1'), keyChar('6'), keyChar(27)}, {3, 0, 0, 0}},
        {"two columns: Down on the last row goes to column 1", {2, 1, 0, 2, 0, 0}, {keyExt(SC::DOWN)}, {2, 0, 1, 0}},
        {"two columns: Right on column 1 wraps", {2, 1, 0, 1, 1, 0}, {keyExt(SC::RIGHT)}, {2, 1, 0, 0}},
        {"two columns: Left on column 0 wraps", {2, 1, 0, 1, 0, 0}, {keyExt(SC::LEFT)}, {1, 1, 1, 0}},
        {"two columns: Up on row 0 of column 1", {2, 1, 0, 0, 1, 0}, {keyExt(SC::UP)}, {1, 2, 0, 0}},
        {"two pages: Down on the last entry of page 0", {7, 0, 1, 7, 0, 0}, {keyExt(SC::DOWN)}, {5, 0, 0, 1}},
        {"two pages: Up on the first entry of page 1", {7, 0, 1, 0, 0, 1}, {keyExt(SC::UP)}, {4, 7, 0, 0}},
        {"two pages: PgDn on page 1 stays", {7, 0, 1, 3, 0, 1}, {keyExt(SC::PGDN)}, {5, 3, 0, 1}},
        {"two pages: PgUp keeps the row", {7, 0, 1, 3, 0, 1}, {keyExt(SC::PGUP)}, {4, 3, 0, 0}},
        {"a first click moves, a second confirms",
         {},
         {PLAT::mouse(1, 1, 12, 6), PLAT::mouse(2, 1, 12, 6), PLAT::mouse(1, 1, 12, 6)},
         {0, 2, 0, 0}},
        {"a drag moves the bar but does not confirm",
         {},
         {PLAT::mouse(3, 1, 12, 7), PLAT::mouse(3, 1, 12, 8), keyChar(27)},
         {3, 4, 0, 0}},
        {"a click outside the grid is ignored", {}, {PLAT::mouse(1, 1, 0, 0), PLAT::mouse(1, 1, 0, 0), keyChar(13)}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        Outcome o = run(c.grid, c.keys);
        EXPECT_EQ(o.KK, c.want.KK) << c.what;
        EXPECT_EQ(o.LI, c.want.LI) << c.what;
        EXPECT_EQ(o.CO, c.want.CO) << c.what;
        EXPECT_EQ(o.SE, c.want.SE) << c.what;
        EXPECT_EQ(con->pending(), 0u) << c.what;
        while (con->pending()) {
            PLAT::Event e;
            con->poll(e);
        }
    }
}

TEST_F(MenuDriver, BarColoursFollowTheSelection) {
    Grid g;
    run(g, {keyExt(SC::DOWN)});
    EXPECT_EQ(con->attr(10, 5), 0x1F);  // left entry back in the caller's colours
    EXPECT_EQ(con->attr(29, 6), 0x70);  // the new bar, all 20 cells
    EXPECT_EQ(con->attr(30, 6), 0x0F);  // beyond the bar untouched
    run(g, {keyChar(27)});              // Esc takes the highlight off
    EXPECT_EQ(con->attr(10, 5), 0x1F);
    // Repaint only: KK = 32 paints the current bar normal and returns without reading keys.
    int LI = 3, CO = 0, SE = 0, KK = 32;
    UMAS::ATR(10, 8, 20, 0x70);
    UMAS::EPIL(1, 15, 10, 30, 5, 1, 20, 8, 0, 0, LI, CO, SE, KK, 0);
    EXPECT_EQ(con->attr(10, 8), 0x1F);
    EXPECT_EQ(KK, 32);
}

TEST_F(MenuDriver, ArdexTellsSidewaysMoves) {
    Grid g{2, 1, 0};
    run(g, {keyExt(SC::RIGHT)});
    EXPECT_TRUE(UMAS::ARDEX);
    run(g, {keyExt(SC::DOWN)});
    EXPECT_FALSE(UMAS::ARDEX);
}

TEST_F(MenuDriver, AttributePainterKeepsCharacters) {
    SCR::PRINT(1, 3, std::string(30, 'Q'));
    UMAS::ATR(1, 3, 30, 0x4F);
    EXPECT_EQ(con->text(1, 3, 30), std::string(30, 'Q'));
    EXPECT_EQ(con->attr(30, 3), 0x4F);
    EXPECT_EQ(con->attr(31, 3), 0x0F);
}

TEST_F(MenuDriver, LegendWritesKeyArrowAndCaption) {
    UMAS::FUN f;
    f[1] = PLAT::gr("Esc.Επιλογή αρχείου");
    f[2] = "F1.Help";
    f[3] = "Enter.OK";
    UMAS::FKEY({1, 3}, f);
    const PLAT::Cell* row = UMAS::CRP[0][24];
    EXPECT_EQ(row[0].ch, 'E');
    EXPECT_EQ(row[0].at, 11);
    EXPECT_EQ(row[2].at, 11);
    EXPECT_EQ(row[3].ch, 26);
    EXPECT_EQ(row[3].at, 3);
    EXPECT_EQ(con->text(5, 25, 15), PLAT::gr("Επιλογή αρχείου"));
    EXPECT_EQ(row[4].at, 3);
    EXPECT_EQ(row[19].ch, ' ');  // the blank after the caption
    EXPECT_EQ(con->text(21, 25, 8), std::string("Enter") + char(26) + "OK");
}

class PrintSettings : public TESTS::Installation {};

TEST_F(PrintSettings, FirstF1CreatesTheDefaultsAndF1Stores) {
    install(TESTS::companies(1));
    UMAS::USER_ID = "1";
    const std::string file = work->file("ETC/pare1.72");
    ASSERT_FALSE(TESTS::exists(file));
    // F1 in a menu with form id 72 opens the dialog: page length 72, Enter, F1 stores, Esc leaves.
    con->push(keyExt(SC::F1));
    con->keys("\x19" "72");  // Ctrl-Y clears the field first
    con->ch(13);
    con->key(SC::F1);
    con->ch(27);
    int LI = 0, CO = 0, SE = 0, KK = 0;
    UMAS::EPIL(1, 15, 10, 0, 5, 1, 20, 3, 0, 0, LI, CO, SE, KK, 72);
    EXPECT_EQ(KK, 7);
    EXPECT_EQ(TESTS::readFile(file), std::string("\x48\0\0\0\0", 5));
    EXPECT_EQ(con->bells, 1);
}

TEST_F(PrintSettings, EscWithoutF1StoresNothing) {
    install(TESTS::companies(1));
    UMAS::USER_ID = "";
    con->keys("\x19" "5");
    con->ch(27);
    UMAS::EPIL_GETPARAMS(61);
    EXPECT_EQ(TESTS::readFile(work->file("ETC/pare.61")), std::string("\x42\0\0\0\0", 5));
}

}  // namespace
