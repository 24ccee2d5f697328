// The real program in a terminal: an import declaration of two forms and three items, its two
// continuation-sheet items typed and stored through F6, and both items back after reopening.
#include <gtest/gtest.h>
#include <unistd.h>

#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "shell/install.h"

namespace {

// Presses Enter until the help line names box n.
bool enterTo(TESTS::Tmux& t, int n) {
    std::string want = "αα " + std::string(n < 10 ? "  " : n < 100 ? " " : "") + std::to_string(n);
    for (int i = 0; i < 40; ++i) {
        if (t.waitFor(want, 120)) return true;
        t.keys("Enter");
    }
    return t.waitFor(want);
}

// Names sheet 2, item j in the sheet editor and types a description into box 4.
void typeItem(TESTS::Tmux& t, const std::string& item, const std::string& text) {
    ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
    t.text("02");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   2")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   3")) << t.screen();
    t.text(item);
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   4")) << t.screen();
    if (text.empty()) return;
    t.text(text);
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   5")) << t.screen();
}

TEST(SheetsEndToEnd, TwoItemsStoredAndBackAfterReopening) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    auto companies = INSTALL::demoCompanies();
    INSTALL::makeInstallation(work.path(), "DATABASE", companies, KORVEX_MSK);
    const std::string bism = work.file("DATABASE/ARXEIO0/BISM.DAT");

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor(companies[0][0])) << t.screen();
    t.text("1");
    ASSERT_TRUE(t.waitFor("ΕΙΣΑΓΩΓΗΣ")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
    t.text("600");
    t.keys("Enter");
    ASSERT_TRUE(enterTo(t, 16)) << t.screen();
    t.text("02");
    t.keys("Enter");
    ASSERT_TRUE(enterTo(t, 18)) << t.screen();
    t.text("3");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα  19")) << t.screen();
    t.keys("F4");
    usleep(300000);

    // F6: the sheet editor; items 2 and 3 of sheet 2, each stored with F4.
    t.keys("F6");
    typeItem(t, "02", "ALPHA");
    t.keys("F4");
    for (int i = 0; i < 100 && TESTS::readFile(bism).empty(); ++i) usleep(50000);
    ASSERT_FALSE(TESTS::readFile(bism).empty()) << "stored";
    for (int i = 0; i < 4; ++i) t.keys("Up");
    const size_t first = TESTS::readFile(bism).size();
    typeItem(t, "03", "BETA");
    t.keys("F4");
    for (int i = 0; i < 100 && TESTS::readFile(bism).size() == first; ++i) usleep(50000);
    ASSERT_GT(TESTS::readFile(bism).size(), first) << "the second item stored";
    t.keys("Escape");  // stored: no question; back in the declaration
    ASSERT_TRUE(t.waitFor("αα  19")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΚΑΤΑΧΩΡΗΣΗ ΝΕΑΣ")) << t.screen();

    // Reopen the declaration and its sheets: both items come back.
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
    t.text("600");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   2")) << t.screen();
    t.keys("F6");
    typeItem(t, "02", "");
    EXPECT_TRUE(t.waitFor("ALPHA")) << t.screen();
    for (int i = 0; i < 3; ++i) t.keys("Up");
    typeItem(t, "03", "");
    EXPECT_TRUE(t.waitFor("BETA")) << t.screen();
    EXPECT_EQ(t.screen().find("ALPHA"), std::string::npos) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("αα   2")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΚΑΤΑΧΩΡΗΣΗ ΝΕΑΣ")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor(companies[0][0])) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("End");
    EXPECT_EQ(t.waitExit(), 0);
}

}  // namespace
