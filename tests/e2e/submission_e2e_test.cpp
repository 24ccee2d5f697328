// The real program in a terminal: a new import in the demo installation, the next reference
// proposed by Tab in box 20, and the send of Alt-F2 that writes the input file and starts the
// stand-in customs client.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "e2e/demo_e2e.h"

namespace {

TEST(SubmissionEndToEnd, AnImportSentToTheStandInClient) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    DEMOE2E::install(work, "41");
    TESTS::Tmux t(work.path(), std::string("KORVEX_JAVA=") + KORVEX_JICIS + " " + KORVEX_BIN + " 1");
    ASSERT_TRUE(DEMOE2E::newDeclaration(t, "1", "ΕΙΣΑΓΩΓΗΣ", "500")) << t.screen();
    // Box by box to the number of items, then to the reference.
    for (int i = 0; i < 40 && t.screen().find("αα  18") == std::string::npos; ++i) {
        const std::string sc = t.screen();
        if (sc.find("αα  16") != std::string::npos) t.text("1");  // the number of forms
        // The consignor's name and address (required in an import).
        for (const char* b : {"αα  12", "αα  13", "αα  14"})
            if (sc.find(b) != std::string::npos) t.text("ACME");
        if (sc.find("αα   2") != std::string::npos) t.text("IM A");
        t.keys("Enter");
        usleep(50000);
    }
    ASSERT_TRUE(t.waitFor("αα  18")) << t.screen();
    t.text("1");
    ASSERT_TRUE(DEMOE2E::fillTo(t, "αα  20", {})) << t.screen();
    t.keys("Tab");
    usleep(100000);
    ASSERT_TRUE(t.waitFor("42")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα  21")) << t.screen();
    t.text("GR123456789");  // the consignee's EORI number
    t.keys("M-F2");
    ASSERT_TRUE(t.waitFor("ΑΠΟΣΤΟΛΗ Icinet")) << t.screen();
    t.text("Ν");
    ASSERT_TRUE(t.waitFor("ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ:   0")) << t.screen() << TESTS::readFile(work.file("ERROR.TXT"));
    const std::string copy = work.file("drives/c/jicis/JICIS-INPUT.TXT");
    for (int i = 0; i < 100 && !TESTS::exists(copy); ++i) usleep(50000);
    ASSERT_TRUE(TESTS::exists(copy));
    EXPECT_EQ(TESTS::readFile(copy), TESTS::readFile(work.file("inp2.txt")));
    EXPECT_NE(TESTS::readFile(copy).find("0001:1~1~099999999/"), std::string::npos) << TESTS::readFile(copy);
    EXPECT_NE(TESTS::readFile(copy).find("/42~"), std::string::npos) << TESTS::readFile(copy);
    t.keys("Space");
    ASSERT_TRUE(t.waitFor("αα  21")) << t.screen();
    // the editor shows behind the count, so wait for the counter itself
    const std::string anaf = DEMOE2E::fileOnce(work.file("DATABASE/ARXEIO0/ANAF.DAT"),
                                               [](const std::string& s) { return s.find("42") != std::string::npos; });
    EXPECT_NE(anaf.find("42"), std::string::npos) << anaf;
}

// An export whose declarant is neither the exporter nor the agency: the warning until Esc, then the
// file, equal to its golden file (the clock fixed).
TEST(SubmissionEndToEnd, AnExportWithAnotherDeclarantWarnsThenWritesItsFile) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    if (!TESTS::haveFixedClock()) GTEST_SKIP() << "libfaketime is not installed";
    TESTS::TempWorkDir work;
    DEMOE2E::install(work);
    TESTS::Tmux t(work.path(), DEMOE2E::fixedClockCommand());
    ASSERT_TRUE(DEMOE2E::newDeclaration(t, "2", "ΕΞΑΓΩΓΗΣ", "700")) << t.screen();
    // Box by box to the declarant's tax number, filling what an export needs on the way.
    const std::vector<std::pair<std::string, std::string>> fill = {
        {"αα   2", "EX A"}, {"αα  12", "ACME"}, {"αα  16", "1"}, {"αα  18", "1"}, {"αα  20", "7"},
        {"αα  22", "BUYER LTD"}, {"αα  23", "1 HIGH STREET"}, {"αα  24", "LONDON"}};
    bool eori = false;
    for (int i = 0; i < 60 && t.screen().find("αα  34") == std::string::npos; ++i) {
        const std::string sc = t.screen();
        if (!eori && sc.find("αα  13") != std::string::npos) {
            // The exporter's EORI number, typed after the name (the name's look-up fills box 11).
            eori = true;
            t.keys("Up");
            t.keys("Up");
            ASSERT_TRUE(t.waitFor("αα  11")) << t.screen();
            t.text("GR123456789");
            t.keys("Enter");
            ASSERT_TRUE(t.waitFor("αα  12")) << t.screen();
            t.keys("Enter");
            ASSERT_TRUE(t.waitFor("αα  13")) << t.screen();
        }
        for (const auto& [at, text] : fill)
            if (sc.find(at) != std::string::npos) t.text(text);
        t.keys("Enter");
        usleep(60000);
    }
    ASSERT_TRUE(t.waitFor("αα  34")) << t.screen();
    t.keys("C-u");
    for (int i = 0; i < 12; ++i) t.keys("BSpace");
    t.text("555555555");
    t.keys("S-F2");
    ASSERT_TRUE(t.waitFor("ΕΞΑΓΩΓΗ")) << t.screen();
    t.text("Ν");
    ASSERT_TRUE(t.waitFor("ΠΡΟΣΟΧΗ: ΑΛΛΟΣ Α.Φ.Μ. ΔΙΑΣΑΦΙΣΤΗ")) << t.screen();
    t.text("x");
    t.keys("Enter");
    usleep(200000);
    EXPECT_NE(t.screen().find("ΠΡΟΣΟΧΗ"), std::string::npos) << "only Esc ends the warning";
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ:   0")) << t.screen() << TESTS::readFile(work.file("ERROR.TXT"));
    const std::string out = TESTS::readFile(work.file("drives/c/ICIS/EDE/D7.TXT"));
    const std::string golden = std::string(KORVEX_SOURCE_DIR) + "/tests/golden/disket/export_e2e.txt";
    if (std::getenv("KORVEX_UPDATE_GOLDEN")) TESTS::writeFile(golden, out);
    EXPECT_EQ(out, TESTS::readFile(golden));
}

}  // namespace
