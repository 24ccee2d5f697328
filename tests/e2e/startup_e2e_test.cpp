// The real program in a terminal: company list, main menu, back, and the end of the run.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <fstream>

#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "shell/install.h"

namespace {

TEST(EndToEnd, ChooseTheSecondCompanyAndLeave) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    auto companies = INSTALL::demoCompanies();
    INSTALL::makeInstallation(work.path(), "DATABASE", companies, KORVEX_MSK);
    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    ASSERT_TRUE(t.waitFor("1. " + companies[0][0])) << t.screen();
    EXPECT_NE(t.screen().find("2. " + companies[1][0]), std::string::npos);
    t.keys("Down");
    t.keys("Enter");
    // The main menu shows the chosen company's name from column 1 of row 1.
    auto firstRow = [&] { std::string s = t.screen(); return s.substr(0, s.find('\n')); };
    for (int i = 0; i < 100 && firstRow().rfind(companies[1][0], 0) != 0; ++i) usleep(50000);
    EXPECT_EQ(firstRow().rfind(companies[1][0], 0), 0u) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("End");
    EXPECT_EQ(t.waitExit(), 0);
    EXPECT_EQ(TESTS::readFile(work.file("DATABASE/ARXEIO0/FMAS.DAT")), std::string(1, '\0'));
    EXPECT_EQ(TESTS::readFile(work.file("DATABASE/ARXEIO1/FPAR.DAT")), std::string(1, '\0'));
}

TEST(EndToEnd, MissingCompanyListEndsWithAMessageAndNonZero) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    INSTALL::makeInstallation(work.path(), "DATABASE", INSTALL::demoCompanies(), KORVEX_MSK);
    std::remove(work.file("DATABASE/KORVEX.INI").c_str());
    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    EXPECT_EQ(t.waitExit(), 1);
    EXPECT_TRUE(t.waitFor("file not found KORVEX.INI")) << t.screen();
}

TEST(EndToEnd, BadWorkstationIdIsRefused) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    INSTALL::makeInstallation(work.path(), "DATABASE", INSTALL::demoCompanies(), KORVEX_MSK);
    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " AB/C");
    EXPECT_EQ(t.waitExit(), 1);
    EXPECT_TRUE(t.waitFor("workstation id")) << t.screen();
}

}  // namespace

// Killed from outside (SIGTERM) or left by its terminal (SIGHUP), the program gives the terminal
// back as it found it: normal screen, mouse and paste modes off, cursor on.
TEST(EndToEnd, SignalsRestoreTheTerminal) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    for (int sig : {SIGTERM, SIGHUP}) {
        TESTS::TempWorkDir work;
        INSTALL::makeInstallation(work.path(), "DATABASE", INSTALL::demoCompanies(), KORVEX_MSK);
        TESTS::Tmux t(work.path(), std::string("sh -c 'echo $$ > .pid; exec ") + KORVEX_BIN + " 1'");
        ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
        const std::string modes = "#{alternate_on} #{mouse_button_flag} #{mouse_sgr_flag} #{cursor_flag}";
        EXPECT_EQ(t.format(modes), "1 1 1 0") << "signal " << sig;
        int pid = 0;
        std::ifstream(work.file(".pid")) >> pid;
        ASSERT_GT(pid, 0);
        ASSERT_EQ(kill(pid, sig), 0);
        EXPECT_EQ(t.waitExit(), 128 + sig);
        EXPECT_EQ(t.format(modes), "0 0 0 1") << "signal " << sig;
    }
}
