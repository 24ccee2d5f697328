// The real program in a terminal: from the main menu to a new import declaration, a few boxes
// typed and stored, and the declaration opened again from its number.
#include <gtest/gtest.h>
#include <unistd.h>

#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "shell/install.h"

namespace {

TEST(DeclarationEndToEnd, NewImportStoredAndOpenedAgain) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    auto companies = INSTALL::demoCompanies();
    INSTALL::makeInstallation(work.path(), "DATABASE", companies, KORVEX_MSK);
    const std::string dism = work.file("DATABASE/ARXEIO0/DISM.DAT");
    ASSERT_EQ(TESTS::readFile(dism).size(), 0u);

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor(companies[0][0])) << t.screen();
    t.text("1");
    ASSERT_TRUE(t.waitFor("ΕΙΣΑΓΩΓΗΣ")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
    t.text("500");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   2")) << t.screen();
    t.text("IM");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   3")) << t.screen();
    t.text("A4");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   4")) << t.screen();
    t.keys("F4");
    for (int i = 0; i < 100 && TESTS::readFile(dism).empty(); ++i) usleep(50000);
    EXPECT_FALSE(TESTS::readFile(dism).empty()) << "stored";
    t.keys("Escape");  // stored: no question
    ASSERT_TRUE(t.waitFor("ΚΑΤΑΧΩΡΗΣΗ ΝΕΑΣ")) << t.screen();

    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
    t.text("500");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   2")) << t.screen();
    const std::string s = t.screen();
    EXPECT_NE(s.find("IM      A4"), std::string::npos) << s;
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
