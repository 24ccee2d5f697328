// The copies prompt and the yes/no prompt of the printouts on the headless console.
#include <gtest/gtest.h>

#include "common/umas.h"
#include "helpers/fixture.h"
#include "platform/codepage.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace SC = PLAT::SC;

namespace {

class PrnsScreen : public ::testing::Test {
protected:
    void SetUp() override {
        con = &TESTS::headless();
        TESTS::loadMasks();
        for (auto& row : con->cells)
            for (auto& c : row) c = PLAT::Cell{'#', 0x07};
    }
    PLAT::HeadlessConsole* con = nullptr;
};

TEST_F(PrnsScreen, CopiesPromptAnswersTheTypedNumber) {
    struct Case {
        const char* name;
        std::vector<PLAT::Event> keys;
        int want;
    } cases[] = {
        {"Enter keeps 1", {PLAT::keyChar(13)}, 1},
        {"digits 1 and 2", {PLAT::keyChar('1'), PLAT::keyChar('2'), PLAT::keyChar(13)}, 12},
        {"field emptied", {PLAT::keyExt(SC::DEL), PLAT::keyChar(13)}, 0},
        {"Down also ends", {PLAT::keyChar('3'), PLAT::keyExt(SC::DOWN)}, 3},
        {"Esc gives the initial text", {PLAT::keyChar('7'), PLAT::keyChar(27)}, 1},
        {"Up, PgDn and F1 repeat the field with its text", {PLAT::keyChar('4'), PLAT::keyExt(SC::UP), PLAT::keyExt(SC::PGDN),
                                              PLAT::keyExt(SC::F1), PLAT::keyExt(SC::END), PLAT::keyChar('5'),
                                              PLAT::keyChar(13)}, 45},
        {"letters are refused", {PLAT::keyChar('2'), PLAT::keyChar('x'), PLAT::keyChar(13)}, 2},
        {"above one byte", {PLAT::keyChar('9'), PLAT::keyChar('9'), PLAT::keyChar('9'), PLAT::keyChar(13)}, 255},
    };
    for (const auto& c : cases) {
        PLAT::CellBuffer saved;
        std::copy(&con->cells[0][0], &con->cells[0][0] + PLAT::SCREEN_W * PLAT::SCREEN_H, &saved[0][0]);
        std::string shown;
        con->onIdle = [&] {
            if (shown.empty()) shown = con->text(32, 23, 3);
        };
        for (const auto& e : c.keys) con->push(e);
        EXPECT_EQ(PRNS::COP(), c.want) << c.name;
        con->onIdle = nullptr;
        EXPECT_EQ(con->pending(), 0u) << c.name;
        // the screen is given back as it was
        EXPECT_TRUE(std::equal(&saved[0][0], &saved[0][0] + PLAT::SCREEN_W * PLAT::SCREEN_H, &con->cells[0][0]))
            << c.name;
        EXPECT_EQ(SCR::STACKPOINTER(), 0) << c.name;
    }
}

TEST_F(PrnsScreen, CopiesPromptShowsMask80WithTheFieldAt32x23) {
    std::string field, label;
    con->onIdle = [&] {
        field = con->text(32, 23, 3);
        label = PLAT::cp737ToUtf8(con->text(16, 23, 16));
        con->ch(13);
    };
    EXPECT_EQ(PRNS::COP(), 1);
    con->onIdle = nullptr;
    EXPECT_EQ(field, "1..");
    EXPECT_NE(label.find("Αντίτυπα"), std::string::npos) << label;
}

TEST_F(PrnsScreen, YesWaitsForNuOrOmicron) {
    struct Case {
        const char* name;
        std::vector<PLAT::Event> keys;
        bool want;
    } cases[] = {
        {"N", {PLAT::keyChar('N')}, true},
        {"n", {PLAT::keyChar('n')}, true},
        {"capital Nu", {PLAT::keyChar(140)}, true},
        {"small nu", {PLAT::keyChar(164)}, true},
        {"O", {PLAT::keyChar('O')}, false},
        {"o", {PLAT::keyChar('o')}, false},
        {"capital Omicron", {PLAT::keyChar(142)}, false},
        {"small omicron", {PLAT::keyChar(166)}, false},
        {"Y, Enter, Esc, F1, Down and a click are ignored",
         {PLAT::keyChar('Y'), PLAT::keyChar(13), PLAT::keyChar(27), PLAT::keyExt(SC::F1), PLAT::keyExt(SC::DOWN),
          PLAT::mouse(PLAT::MouseEvent::PRESS, PLAT::MouseEvent::LEFT, 0, 0), PLAT::keyChar(166)},
         false},
    };
    for (const auto& c : cases) {
        for (const auto& e : c.keys) con->push(e);
        EXPECT_EQ(PRNS::YES(36, 23), c.want) << c.name;
        EXPECT_EQ(con->pending(), 0u) << c.name;
        EXPECT_FALSE(con->cursorVisible()) << c.name;
    }
}

TEST_F(PrnsScreen, YesShowsTheCursorWhileWaiting) {
    bool cursorSeen = false;
    con->onIdle = [&] {
        cursorSeen = con->cursorVisible() && con->whereX() == 36 && con->whereY() == 23;
        con->ch('N');
    };
    con->ch('Y');
    EXPECT_TRUE(PRNS::YES(36, 23));
    con->onIdle = nullptr;
    EXPECT_TRUE(cursorSeen);
    EXPECT_FALSE(con->cursorVisible());
}

TEST_F(PrnsScreen, ConfirmationBarOfRow23) {
    // mask 58 covers row 23: the question at column 7, the answer at column 36
    SCR::CALLM(58, true);
    SCR::PRINT(7, 23, PLAT::utf8ToCp737("ΕΚΤΥΠΩΣΗ (Ν/Ο) ;"));
    EXPECT_EQ(PLAT::cp737ToUtf8(con->text(7, 23, 16)), "ΕΚΤΥΠΩΣΗ (Ν/Ο) ;");
    EXPECT_EQ(con->text(36, 23, 1), " ");
    EXPECT_EQ(con->text(1, 22, 1), "#");  // rows 22 and 24 untouched
    EXPECT_EQ(con->text(1, 24, 1), "#");
    con->ch('o');
    EXPECT_FALSE(PRNS::YES(36, 23));
    SCR::RECALL();
    EXPECT_EQ(con->text(7, 23, 3), "###");
}

}  // namespace
