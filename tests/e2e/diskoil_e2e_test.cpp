// The real program in a terminal: a new excise declaration of the demo installation sent by
// Alt-F2 with the spirits answer, the stand-in client's copy equal to its golden file (the clock
// fixed by faketime), and "ANAF.DAT" moved to the reference.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "shell/install.h"

namespace {

TEST(ExciseEndToEnd, ASpiritsDeclarationSentToTheStandInClient) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    if (system("command -v faketime >/dev/null 2>&1") != 0) GTEST_SKIP() << "faketime is not installed";
    TESTS::TempWorkDir work;
    auto companies = INSTALL::demoCompanies();
    INSTALL::makeInstallation(work.path(), "DATABASE", companies, KORVEX_MSK);
    INSTALL::seedSubmission(work.path(), work.file("DATABASE/ARXEIO0"),
                            std::string(KORVEX_SOURCE_DIR) + "/data/demo/tables/eformats");
    INSTALL::makeExportCounter(work.file("DATABASE"));
    TESTS::writeFile(work.file("DATABASE/ARXEIO0/ANAF.DAT"), "41\r\n");

    TESTS::Tmux t(work.path(), std::string("ASAN_OPTIONS=verify_asan_link_order=0 KORVEX_JAVA=") + KORVEX_JICIS +
                                   " faketime '2026-12-10 09:05:00' " + KORVEX_BIN + " 1");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor(companies[0][0])) << t.screen();
    t.text("5");
    ASSERT_TRUE(t.waitFor("Ε.Φ.Κ.")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
    t.text("900");
    const std::vector<std::pair<std::string, std::string>> fill = {
        {"αα   2", "IM"}, {"αα  11", "123456789"}, {"αα   3", "41"}, {"αα  16", "1"}, {"αα  18", "1"}, {"αα  20", "42"}, {"αα  22", "KAVA"},
        {"αα  72", "OINOS"}, {"αα  79", "22042110 00"}, {"αα  84", "4000"}};
    for (int i = 0; i < 120; ++i) {
        const std::string sc = t.screen();
        if (sc.find("αα  85") != std::string::npos) break;
        for (const auto& [at, text] : fill)
            if (sc.find(at) != std::string::npos) t.text(text);
        t.keys("Enter");
        usleep(15000);
    }
    ASSERT_TRUE(t.waitFor("αα  85")) << t.screen();
    t.keys("M-F2");
    ASSERT_TRUE(t.waitFor("ΟΙΝΟΠΝΕΥΜΑΤΩΔΗ")) << t.screen();
    t.keys("Enter");
    // The item's wine lines come first: left as they are.
    ASSERT_TRUE(t.waitFor("ΚΡΑΣΙΑ ΕΙΔΟΥΣ")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΝΑ ΓΙΝΕΙ ΑΠΟΣΤΟΛΗ ΔΕΦΚ")) << t.screen();
    t.text("Ν");
    ASSERT_TRUE(t.waitFor("ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ:   0")) << t.screen() << TESTS::readFile(work.file("ERROR.TXT"));
    const std::string copy = work.file("drives/c/jicis/JICIS-INPUT.TXT");
    for (int i = 0; i < 100 && !TESTS::exists(copy); ++i) usleep(50000);
    ASSERT_TRUE(TESTS::exists(copy));
    const std::string golden = std::string(KORVEX_SOURCE_DIR) + "/tests/golden/diskoil/send_e2e.txt";
    if (std::getenv("KORVEX_UPDATE_GOLDEN")) TESTS::writeFile(golden, TESTS::readFile(copy));
    EXPECT_EQ(TESTS::readFile(copy), TESTS::readFile(golden));
    EXPECT_EQ(TESTS::readFile(copy), TESTS::readFile(work.file("inp.txt")));
    t.keys("Space");
    usleep(300000);
    EXPECT_NE(TESTS::readFile(work.file("DATABASE/ARXEIO0/ANAF.DAT")).find("42"), std::string::npos);
}

}  // namespace
