// The real program in a terminal: a new import of the demo installation, the documents menu (F3),
// row 12, two manifest lines typed, F4, and the segment file of Shift-F2 with its counter.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "e2e/demo_e2e.h"

namespace {

TEST(ManifestEndToEnd, TwoLinesStoredAndWrittenAsTheSegmentFile) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    if (!TESTS::haveFixedClock()) GTEST_SKIP() << "libfaketime is not installed";
    TESTS::TempWorkDir work;
    DEMOE2E::install(work);
    TESTS::Tmux t(work.path(), DEMOE2E::fixedClockCommand());
    ASSERT_TRUE(DEMOE2E::newDeclaration(t, "1", "ΕΙΣΑΓΩΓΗΣ", "500")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   2")) << t.screen();
    t.keys("F3");
    ASSERT_TRUE(t.waitFor("12. ΔΗΛΩΤΙΚΟ ΦΟΡΤΙΟΥ")) << t.screen();
    for (int i = 0; i < 11; ++i) t.keys("Down");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("ΓΡΑΜΜΕΣ (1)")) << t.screen();
    t.text("2");
    t.keys("PPage");  // PgUp on the front: nothing
    t.keys("NPage");
    ASSERT_TRUE(t.waitFor("ΣΕΛΙΔΑ")) << t.screen();
    // Line 1 in the first block, line 2 in the second; cell 1 the document kind, cell 7 the
    // packages, cell 11 the mass.
    for (const char* l : {"1", "2"}) {
        t.text(l);
        t.keys("Enter");
        t.text(std::string("BL ") + l);
        for (int i = 0; i < 5; ++i) t.keys("Enter");
        t.text("5");
        for (int i = 0; i < 2; ++i) t.keys("Enter");
        t.text("FURNITURE");
        for (int i = 0; i < 2; ++i) t.keys("Enter");
        t.text("100.5");
        t.keys("Enter");
        t.text("T2F");
        t.keys("Enter");
        usleep(100000);
    }
    ASSERT_TRUE(t.waitFor("  3")) << t.screen();  // the line number of the cell after line 2
    t.keys("F4");
    // the file is written whole under its name (a temporary file renamed): once there, it is complete
    const std::string dil = DEMOE2E::fileOnce(work.file("DATABASE/ARXEIO0/500.dil"),
                                              [](const std::string& s) { return !s.empty(); });
    EXPECT_EQ(dil.size(), 3710u);
    t.keys("S-F2");
    ASSERT_TRUE(t.waitFor("ΔΙΣΚΕΤΑ ΔΗΛ/ΚΟΥ", 20000)) << t.screen();
    t.text("Ν");
    ASSERT_TRUE(t.waitFor("ΑΡΙΘΜΟΣ ΑΝΑΦΟΡΑΣ:", 20000)) << t.screen();
    t.keys("Enter");  // the proposed manifest number
    ASSERT_TRUE(t.waitFor("ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ:   0", 30000)) << t.screen() << TESTS::readFile(work.file("ERROR.TXT"));
    t.keys("Space");
    // the manifest number is counted once the count is acknowledged
    EXPECT_EQ(DEMOE2E::fileOnce(work.file("DATABASE/ARXEIO0/DILANAF.DAT"), [](const std::string& s) { return s == "1"; }),
              "1");
    ASSERT_TRUE(t.waitFor("ΓΡΑΜΜΗ")) << t.screen();
    const std::string out = TESTS::readFile(work.file("drives/c/ICIS/DILO/L1.TXT"));
    const std::string golden = std::string(KORVEX_SOURCE_DIR) + "/tests/golden/disket/manifest_e2e.txt";
    if (std::getenv("KORVEX_UPDATE_GOLDEN")) TESTS::writeFile(golden, out);
    EXPECT_EQ(out, TESTS::readFile(golden));
    t.keys("Escape");
}

}  // namespace
