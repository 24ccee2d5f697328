// The real program on companies in older layouts: the first is converted before its main menu; the
// second has a backup name taken and ends the run with one line and a non-zero exit code.
#include <gtest/gtest.h>
#include <unistd.h>

#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "shell/install.h"
#include "upgrades/old_layouts.h"

namespace {

TEST(UpgradesEndToEnd, OldCompanyConvertedThenATakenBackupEndsTheRun) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    auto companies = INSTALL::demoCompanies();
    INSTALL::makeInstallation(work.path(), "DATABASE", companies, KORVEX_MSK);
    std::string mf;
    for (int i = 0; i < 5; ++i) mf += OLD::ORECPEL(OLD::sample(i));
    OLD::OldIndex idx;
    idx.chain(4, {0, 1, 2});
    for (const char* c : {"ARXEIO0", "ARXEIO1"}) {
        TESTS::writeFile(work.file("DATABASE/" + std::string(c) + "/MF.DAT"), mf);
        TESTS::writeFile(work.file("DATABASE/" + std::string(c) + "/HF.DAT"), std::string("\x05\x00", 2));
        TESTS::writeFile(work.file("DATABASE/" + std::string(c) + "/IF.DAT"), idx.bytes());
    }
    TESTS::writeFile(work.file("DATABASE/ARXEIO1/MF.BBB"), "kept");

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(t.waitFor("1. " + companies[0][0])) << t.screen();
    t.keys("Enter");
    auto firstRow = [&] { std::string s = t.screen(); return s.substr(0, s.find('\n')); };
    for (int i = 0; i < 100 && firstRow().rfind(companies[0][0], 0) != 0; ++i) usleep(50000);
    EXPECT_EQ(firstRow().rfind(companies[0][0], 0), 0u) << t.screen();
    EXPECT_EQ(TESTS::readFile(work.file("DATABASE/ARXEIO0/MF.DAT")).size(), 5u * 302);
    EXPECT_EQ(TESTS::readFile(work.file("DATABASE/ARXEIO0/IF.DAT")).size(), 2400480u);

    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("2. " + companies[1][0])) << t.screen();
    t.keys("Down");
    t.keys("Enter");
    EXPECT_EQ(t.waitExit(), 2);
    EXPECT_TRUE(t.waitFor("REB_PELAT MF")) << t.screen();
    EXPECT_NE(t.screen().find("MF.BBB"), std::string::npos) << t.screen();
    EXPECT_EQ(TESTS::readFile(work.file("DATABASE/ARXEIO1/MF.DAT")), mf);
    EXPECT_EQ(TESTS::readFile(work.file("DATABASE/ARXEIO1/MF.BBB")), "kept");
    // Locks released on the way out.
    EXPECT_EQ(TESTS::readFile(work.file("DATABASE/ARXEIO1/FKVD.DAT")), std::string(1, '\0'));
    EXPECT_EQ(TESTS::readFile(work.file("DATABASE/ARXEIO1/FREB.DAT")), std::string(1, '\0'));
}

}  // namespace
