// The real program in a terminal: the signing settings of the first company edited through the
// invoice-book parameters and stored in its "formi_01.txt".
#include <gtest/gtest.h>
#include <unistd.h>

#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "shell/install.h"

namespace {

TEST(SigningEndToEnd, SettingsDialogFromTheParametersMenu) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    auto companies = INSTALL::demoCompanies();
    INSTALL::makeInstallation(work.path(), "DATABASE", companies, KORVEX_MSK);
    INSTALL::makeSigningSettings(work.path(), work.file("DATABASE/ARXEIO0"), "C:\\EAFDSS", "drives/c/EAFDSS", 1,
                                 "KVX00000001");
    const std::string settings = work.file("DATABASE/ARXEIO0/formi_01.txt");
    ASSERT_EQ(TESTS::readFile(settings), "C:\\EAFDSS\r\n1\r\n0\r\nKVX00000001\r\n");

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor(companies[0][0])) << t.screen();
    t.text("9");
    ASSERT_TRUE(t.waitFor("ΠΑΡΑΜΕΤΡΟΙ ΕΦΑΡΜΟΓΗΣ")) << t.screen();
    t.text("1");
    ASSERT_TRUE(t.waitFor("7.  ΠΑΡΑΜΕΤΡΟΙ ΕΑΦΔΣΣ")) << t.screen();
    t.text("7");
    ASSERT_TRUE(t.waitFor("Server: C:\\EAFDSS")) << t.screen();
    EXPECT_NE(t.screen().find("Σειριακός Αριθμός Συσκευής: KVX00000001"), std::string::npos) << t.screen();
    t.keys("Enter");
    t.text("12");
    t.keys("Enter");
    t.text("Ν");  // Greek capital Nu: the device is declared faulty
    t.keys("Enter");
    t.keys("Escape");
    std::string after;
    for (int i = 0; i < 100 && (after = TESTS::readFile(settings)).find("12") == std::string::npos; ++i)
        usleep(50000);
    EXPECT_EQ(after, "C:\\EAFDSS\r\n12\r\n1\r\nKVX00000001\r\n");
    ASSERT_TRUE(t.waitFor("7.  ΠΑΡΑΜΕΤΡΟΙ ΕΑΦΔΣΣ")) << t.screen();
    t.text("7");  // read again: the fault is shown as Latin N
    ASSERT_TRUE(t.waitFor("Βλάβη ΕΑΦΔΣΣ: N")) << t.screen();
    EXPECT_NE(t.screen().find("Τερματικού: 12"), std::string::npos) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("7.  ΠΑΡΑΜΕΤΡΟΙ ΕΑΦΔΣΣ")) << t.screen();
    t.keys("Escape");
    for (int i = 0; i < 100 && t.screen().find("ΕΞΟΔΟΛΟΓΙΟΥ-ΕΑΦΔΣΣ") != std::string::npos; ++i) usleep(50000);
    t.keys("Escape");
    for (int i = 0; i < 100 && t.screen().find("ΠΑΡΑΜΕΤΡΟΙ ΕΦΑΡΜΟΓΗΣ") != std::string::npos; ++i) usleep(50000);
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("End");
    EXPECT_EQ(t.waitExit(), 0);
}

}  // namespace
