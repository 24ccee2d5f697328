// The real program in a terminal: a new excise declaration of the demo installation sent by
// Alt-F2 with the spirits answer, the stand-in client's copy equal to its golden file (the clock
// fixed), and "ANAF.DAT" moved to the reference.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "e2e/demo_e2e.h"

namespace {

TEST(ExciseEndToEnd, ASpiritsDeclarationSentToTheStandInClient) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    if (!TESTS::haveFixedClock()) GTEST_SKIP() << "libfaketime is not installed";
    TESTS::TempWorkDir work;
    DEMOE2E::install(work, "41");
    TESTS::Tmux t(work.path(), DEMOE2E::fixedClockCommand(std::string("KORVEX_JAVA=") + KORVEX_JICIS));
    ASSERT_TRUE(DEMOE2E::newDeclaration(t, "5", "Ε.Φ.Κ.", "900")) << t.screen();
    ASSERT_TRUE(DEMOE2E::fillTo(t, "αα  85",
                                {{"αα   2", "IM"}, {"αα  11", "123456789"}, {"αα   3", "41"}, {"αα  16", "1"},
                                 {"αα  18", "1"}, {"αα  20", "42"}, {"αα  22", "KAVA"}, {"αα  72", "OINOS"},
                                 {"αα  79", "22042110 00"}, {"αα  84", "4000"}}))
        << t.screen();
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
