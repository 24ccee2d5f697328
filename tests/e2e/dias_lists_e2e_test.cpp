// The real program in a terminal: a declaration stored from the menu shows in the list by date of
// today and opens from it; a template slot opens it in the editor and takes its summary on store.
#include <gtest/gtest.h>
#include <unistd.h>

#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "shell/install.h"

namespace {

TEST(DeclarationListsEndToEnd, ByDateAndTemplateSlot) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    auto companies = INSTALL::demoCompanies();
    INSTALL::makeInstallation(work.path(), "DATABASE", companies, KORVEX_MSK);
    const std::string dism = work.file("DATABASE/ARXEIO0/DISM.DAT");
    const std::string ypdi = work.file("DATABASE/ARXEIO0/YPDI.DAT");
    ASSERT_EQ(TESTS::readFile(ypdi), std::string(55808, '\0'));

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor(companies[0][0])) << t.screen();
    t.text("1");
    ASSERT_TRUE(t.waitFor("ΕΙΣΑΓΩΓΗΣ")) << t.screen();
    // a new import 500, dated today by the new form
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
    t.text("500");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   2")) << t.screen();
    t.text("EX");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   3")) << t.screen();
    t.keys("F4");
    for (int i = 0; i < 100 && TESTS::readFile(dism).empty(); ++i) usleep(50000);
    ASSERT_FALSE(TESTS::readFile(dism).empty()) << "stored";
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΚΑΤΑΧΩΡΗΣΗ ΝΕΑΣ")) << t.screen();

    // item 3: today's range lists it; Enter opens it in the editor
    t.text("3");
    ASSERT_TRUE(t.waitFor("ΑΝΑ ΗΜΕΡΟΜΗΝΙΑ ╞")) << t.screen();
    t.keys("Enter");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("  1 ")) << t.screen();
    ASSERT_TRUE(t.waitFor("500")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
    ASSERT_TRUE(t.waitFor("ΔΙΑΣΑΦΗΣΗ 500")) << t.screen();
    t.keys("Escape");
    if (t.waitFor("ΧΩΡΙΣ ΚΑΤΑΧΩΡΗΣΗ", 1000)) t.text("N");
    ASSERT_TRUE(t.waitFor("ΑΝΑ ΗΜΕΡΟΜΗΝΙΑ ╞")) << t.screen();
    t.keys("Escape");
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΚΑΤΑΧΩΡΗΣΗ ΝΕΑΣ")) << t.screen();

    // item 5: slot 1 takes 500; the editor stores a change and writes the slot's summary
    t.text("5");
    ASSERT_TRUE(t.waitFor("ΥΠΟΔΕΙΓΜΑΤΑ ΔΙΑΣΑΦΗΣΕΩΝ")) << t.screen();
    t.keys("Enter");
    t.text("500");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   2")) << t.screen();
    t.keys("C-y");
    t.text("IM");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   3")) << t.screen();
    t.keys("F4");
    for (int i = 0; i < 100 && TESTS::readFile(ypdi)[0] == 0; ++i) usleep(50000);
    const std::string y = TESTS::readFile(ypdi);
    ASSERT_EQ(y.size(), 55808u);
    EXPECT_EQ(y.substr(0, 4), std::string("\x03" "500"));
    EXPECT_EQ(y.substr(31, 3), std::string("\x0A" "IM"));
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΥΠΟΔΕΙΓΜΑΤΑ ΔΙΑΣΑΦΗΣΕΩΝ")) << t.screen();
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
