// The real program in a terminal: a new import in the demo installation turned into an entry
// summary declaration file with Shift-F9, converted by the stand-in converter; the count line, the
// converter's target and the reference counter.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "e2e/demo_e2e.h"

namespace {

TEST(XmlEndToEnd, AnImportMadeIntoAnEntrySummaryFileWithShiftF9) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    DEMOE2E::install(work, "41");
    // Small templates of the declaration's own values, so that a quickly made import passes.
    TESTS::writeFile(work.file("CC315A.TXT"), "CC315A\r\n<CC315A>\r\n<RefNumHEA4>4\r\n</RefNumHEA4>\r\n");
    TESTS::writeFile(work.file("GOOITE.TXT"), "<GOOITEGDS>\r\n<IteNumGDS7>500\r\n</GOOITEGDS>\r\n");
    TESTS::writeFile(work.file("CC315_2.TXT"), "</CC315A>\r\n");

    TESTS::Tmux t(work.path(), std::string("KORVEX_JAVA=") + KORVEX_JICIS + " " + KORVEX_BIN + " 1");
    ASSERT_TRUE(DEMOE2E::newDeclaration(t, "1", "ΕΙΣΑΓΩΓΗΣ", "500")) << t.screen();
    ASSERT_TRUE(DEMOE2E::fillTo(t, "αα  18", {{"αα  16", "1"}, {"αα   2", "IM A"}})) << t.screen();
    t.text("1");
    ASSERT_TRUE(DEMOE2E::fillTo(t, "αα  20", {})) << t.screen();
    t.keys("Tab");
    ASSERT_TRUE(t.waitFor("42")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα  21")) << t.screen();
    t.keys("S-F9");
    ASSERT_TRUE(t.waitFor("ΝΑ ΓΙΝΕΙ ΑΡΧΕΙΟ ΣΥΝ.ΔΗΛ.")) << t.screen();
    t.text("Ν");
    ASSERT_TRUE(t.waitFor("ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ:   0", 30000)) << t.screen() << TESTS::readFile(work.file("ERROR.TXT"));
    const std::string inp = TESTS::readFile(work.file("INP.TXT"));
    EXPECT_NE(inp.find("<RefNumHEA4>"), std::string::npos) << inp;
    EXPECT_NE(inp.find("-42\r\n"), std::string::npos) << inp;
    EXPECT_EQ(TESTS::readFile(work.file("drives/c/XML/42.xml")), inp);
    // the reference is counted once the count is acknowledged
    t.keys("Space");
    const std::string anaf = DEMOE2E::fileOnce(work.file("DATABASE/ARXEIO0/ANAF.DAT"),
                                               [](const std::string& s) { return s.find("42") != std::string::npos; });
    EXPECT_NE(anaf.find("42"), std::string::npos) << anaf;
    ASSERT_TRUE(t.waitFor("αα  21")) << t.screen();
}

}  // namespace
