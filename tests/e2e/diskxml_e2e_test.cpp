// The real program in a terminal: a new import in the demo installation turned into an entry
// summary declaration file with Shift-F9, converted by the stand-in converter; the count line, the
// converter's target and the reference counter.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "shell/install.h"

namespace {

TEST(XmlEndToEnd, AnImportMadeIntoAnEntrySummaryFileWithShiftF9) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    auto companies = INSTALL::demoCompanies();
    INSTALL::makeInstallation(work.path(), "DATABASE", companies, KORVEX_MSK);
    TESTS::writeFile(work.file("DATABASE/ARXEIO0/ANAF.DAT"), "41\r\n");
    // Small templates of the declaration's own values, so that a quickly made import passes.
    TESTS::writeFile(work.file("CC315A.TXT"), "CC315A\r\n<CC315A>\r\n<RefNumHEA4>4\r\n</RefNumHEA4>\r\n");
    TESTS::writeFile(work.file("GOOITE.TXT"), "<GOOITEGDS>\r\n<IteNumGDS7>500\r\n</GOOITEGDS>\r\n");
    TESTS::writeFile(work.file("CC315_2.TXT"), "</CC315A>\r\n");

    TESTS::Tmux t(work.path(), std::string("KORVEX_JAVA=") + KORVEX_JICIS + " " + KORVEX_BIN + " 1");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor(companies[0][0])) << t.screen();
    t.text("1");
    ASSERT_TRUE(t.waitFor("ΕΙΣΑΓΩΓΗΣ")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
    t.text("500");
    for (int i = 0; i < 40 && t.screen().find("αα  18") == std::string::npos; ++i) {
        const std::string sc = t.screen();
        if (sc.find("αα  16") != std::string::npos) t.text("1");
        if (sc.find("αα   2") != std::string::npos) t.text("IM A");
        t.keys("Enter");
        usleep(50000);
    }
    ASSERT_TRUE(t.waitFor("αα  18")) << t.screen();
    t.text("1");
    for (int i = 0; i < 5 && t.screen().find("αα  20") == std::string::npos; ++i) {
        t.keys("Enter");
        usleep(30000);
    }
    ASSERT_TRUE(t.waitFor("αα  20")) << t.screen();
    t.keys("Tab");
    ASSERT_TRUE(t.waitFor("42")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα  21")) << t.screen();
    t.keys("S-F9");
    ASSERT_TRUE(t.waitFor("ΝΑ ΓΙΝΕΙ ΑΡΧΕΙΟ ΣΥΝ.ΔΗΛ.")) << t.screen();
    t.text("Ν");
    ASSERT_TRUE(t.waitFor("ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ:   0")) << t.screen() << TESTS::readFile(work.file("ERROR.TXT"));
    const std::string inp = TESTS::readFile(work.file("INP.TXT"));
    EXPECT_NE(inp.find("<RefNumHEA4>"), std::string::npos) << inp;
    EXPECT_NE(inp.find("-42\r\n"), std::string::npos) << inp;
    EXPECT_EQ(TESTS::readFile(work.file("drives/c/XML/42.xml")), inp);
    t.keys("Space");
    ASSERT_TRUE(t.waitFor("αα  21")) << t.screen();
    EXPECT_NE(TESTS::readFile(work.file("DATABASE/ARXEIO0/ANAF.DAT")).find("42"), std::string::npos);
}

}  // namespace
