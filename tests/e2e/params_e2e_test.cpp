// The real program in a terminal: the parameters menu, the general switches edited and stored.
#include <gtest/gtest.h>
#include <unistd.h>

#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "shell/install.h"

namespace {

TEST(ParamsEndToEnd, SwitchTwentyTypedAndStoredFromTheMainMenu) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    auto companies = INSTALL::demoCompanies();
    INSTALL::makeInstallation(work.path(), "DATABASE", companies, KORVEX_MSK);
    const std::string parede = work.file("DATABASE/ARXEIO0/PAREDE.dat");
    const std::string before = TESTS::readFile(parede);
    ASSERT_EQ(before.size(), 840u);

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor(companies[0][0])) << t.screen();
    t.text("9");
    ASSERT_TRUE(t.waitFor("ΠΑΡΑΜΕΤΡΟΙ ΕΦΑΡΜΟΓΗΣ")) << t.screen();
    t.text("4");
    ASSERT_TRUE(t.waitFor("20. ΗΛΕΚΤΡΟΝΙΚΕΣ ΜΟΡΦΕΣ")) << t.screen();
    t.text("20");  // switch 20, and its field opens with the legend of the field
    ASSERT_TRUE(t.waitFor("ESC→Επιλογή")) << t.screen();
    t.text("2");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("F1→Καταχώρηση")) << t.screen();
    t.keys("F1");
    // Stored at once: wait for the file to change.
    std::string after;
    for (int i = 0; i < 100 && (after = TESTS::readFile(parede)) == before; ++i) usleep(50000);
    std::string want = before;
    want[19 * 42 + 41] = 2;
    EXPECT_EQ(after, want);

    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("4.  ΓΕΝΙΚΕΣ ΠΑΡΑΜΕΤΡΟΙ")) << t.screen();
    t.keys("Escape");
    for (int i = 0; i < 100 && t.screen().find("ΠΑΡΑΜΕΤΡΟΙ ΕΦΑΡΜΟΓΗΣ") != std::string::npos; ++i) usleep(50000);
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("End");
    EXPECT_EQ(t.waitExit(), 0);
    EXPECT_EQ(TESTS::readFile(parede), want);
}

}  // namespace
