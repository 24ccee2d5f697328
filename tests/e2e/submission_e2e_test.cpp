// The real program in a terminal: a new import in the demo installation, the next reference
// proposed by Tab in box 20, and the send of Alt-F2 that writes the input file and starts the
// stand-in customs client.
#include <gtest/gtest.h>
#include <unistd.h>

#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "shell/install.h"

namespace {

TEST(SubmissionEndToEnd, AnImportSentToTheStandInClient) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    auto companies = INSTALL::demoCompanies();
    INSTALL::makeInstallation(work.path(), "DATABASE", companies, KORVEX_MSK);
    INSTALL::seedSubmission(work.path(), work.file("DATABASE/ARXEIO0"),
                            std::string(KORVEX_SOURCE_DIR) + "/data/demo/tables/eformats");
    INSTALL::makeExportCounter(work.file("DATABASE"));
    TESTS::writeFile(work.file("DATABASE/ARXEIO0/ANAF.DAT"), "41\r\n");

    TESTS::Tmux t(work.path(), std::string("KORVEX_JAVA=") + KORVEX_JICIS + " " + KORVEX_BIN + " 1");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor(companies[0][0])) << t.screen();
    t.text("1");
    ASSERT_TRUE(t.waitFor("ΕΙΣΑΓΩΓΗΣ")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
    t.text("500");
    // Box by box to the number of items, then to the reference.
    for (int i = 0; i < 40 && t.screen().find("αα  18") == std::string::npos; ++i) {
        const std::string sc = t.screen();
        if (sc.find("αα  16") != std::string::npos) t.text("1");  // the number of forms
        // The consignor's name and address (required in an import).
        for (const char* b : {"αα  12", "αα  13", "αα  14"})
            if (sc.find(b) != std::string::npos) t.text("ACME");
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
    t.keys("M-F2");
    ASSERT_TRUE(t.waitFor("ΑΠΟΣΤΟΛΗ Icinet")) << t.screen();
    t.text("Ν");
    ASSERT_TRUE(t.waitFor("ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ:   0")) << t.screen() << TESTS::readFile(work.file("ERROR.TXT"));
    const std::string copy = work.file("drives/c/jicis/JICIS-INPUT.TXT");
    for (int i = 0; i < 100 && !TESTS::exists(copy); ++i) usleep(50000);
    ASSERT_TRUE(TESTS::exists(copy));
    EXPECT_EQ(TESTS::readFile(copy), TESTS::readFile(work.file("inp2.txt")));
    EXPECT_NE(TESTS::readFile(copy).find("0001:1~1~42~"), std::string::npos) << TESTS::readFile(copy);
    t.keys("Space");
    ASSERT_TRUE(t.waitFor("αα  20")) << t.screen();
    EXPECT_NE(TESTS::readFile(work.file("DATABASE/ARXEIO0/ANAF.DAT")).find("42"), std::string::npos);
}

}  // namespace
