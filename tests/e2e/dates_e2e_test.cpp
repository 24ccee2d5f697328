// The real program on a company whose day tables end in 2019: they are widened to 2049 before its
// main menu, the marker is left read-only, and a second choice of the company changes nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "shell/install.h"
#include "upgrades/old_layouts.h"

namespace {

TEST(DateUpgradesEndToEnd, DayTablesOf2019WidenedBeforeTheMainMenu) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    auto companies = INSTALL::demoCompanies();
    INSTALL::makeInstallation(work.path(), "DATABASE", companies, KORVEX_MSK);
    const std::string co = work.file("DATABASE/ARXEIO0/");
    std::filesystem::remove(co + "OK2049.DAT");
    OLD::DayTable th(11160, 4), dish(11160, 6);
    th.node(11159, 7, 11160);
    th.node(11160, 8, 0);
    dish.node(10000, 123, 0);
    TESTS::writeFile(co + "TH.DAT", th.bytes());
    TESTS::writeFile(co + "DISH.DAT", dish.bytes());

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(t.waitFor("1. " + companies[0][0])) << t.screen();
    t.keys("Enter");
    auto firstRow = [&] { std::string s = t.screen(); return s.substr(0, s.find('\n')); };
    for (int i = 0; i < 100 && firstRow().rfind(companies[0][0], 0) != 0; ++i) usleep(50000);
    EXPECT_EQ(firstRow().rfind(companies[0][0], 0), 0u) << t.screen();
    EXPECT_TRUE(TESTS::readFile(co + "TH.DAT") == th.widened(11160, 11160).bytes());
    EXPECT_TRUE(TESTS::readFile(co + "DISH.DAT") == dish.widened(11160, 11160).bytes());
    EXPECT_TRUE(TESTS::readFile(co + "TH.049") == th.bytes());
    EXPECT_EQ(TESTS::readFile(co + "OK2049.DAT"), std::string(4, '\0'));
    struct stat st;
    ASSERT_EQ(stat((co + "OK2049.DAT").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0222, 0u);

    // The same company again: the tables stay as they are.
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("1. " + companies[0][0])) << t.screen();
    t.keys("Enter");
    for (int i = 0; i < 100 && firstRow().rfind(companies[0][0], 0) != 0; ++i) usleep(50000);
    EXPECT_TRUE(TESTS::readFile(co + "TH.DAT") == th.widened(11160, 11160).bytes());
    EXPECT_FALSE(TESTS::exists(co + "TH2049.DAT"));
}

}  // namespace
