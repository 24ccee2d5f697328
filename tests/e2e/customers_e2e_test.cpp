// The real program in a terminal: the customers entry of the main menu, a new customer typed in
// lower case, stored with F1, found again by name and shown in the picker.
#include <gtest/gtest.h>
#include <unistd.h>

#include "common/umas.h"
#include "customers/arp0.h"
#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "shell/install.h"

namespace {

TEST(CustomersEndToEnd, ANewCustomerStoredFromTheMainMenu) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    auto companies = INSTALL::demoCompanies();
    INSTALL::makeInstallation(work.path(), "DATABASE", companies, KORVEX_MSK);
    const std::string mf = work.file("DATABASE/ARXEIO0/MF.DAT");
    ASSERT_EQ(TESTS::readFile(mf).size(), 0u);

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor(companies[0][0])) << t.screen();
    t.text("7");
    ASSERT_TRUE(t.waitFor("13. ΚΑΤΑΛΟΓΟΣ ΠΕΛΑΤΩΝ ΕΞΩΤΕΡΙΚΟΥ")) << t.screen();
    t.text("01");
    ASSERT_TRUE(t.waitFor("ΠΕΛΑΤΕΣ ΕΣΩΤΕΡΙΚΟΥ ╞")) << t.screen();
    t.text("kostas");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("ΝΕΟΣ ΠΕΛΑΤΗΣ")) << t.screen();
    t.text("SECOND LINE");
    t.keys("Enter");
    t.text("0999");
    t.keys("F1");
    for (int i = 0; i < 100 && TESTS::readFile(mf).size() != 302u; ++i) usleep(50000);
    ASSERT_EQ(TESTS::readFile(mf).size(), 302u);

    // Tab at the name prompt: the picker lists it.
    t.keys("Tab");
    ASSERT_TRUE(t.waitFor("ΤΗΛΕΦΩΝΟ")) << t.screen();
    EXPECT_NE(t.screen().find("KOSTAS"), std::string::npos) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("ΜΕΤΑΒΟΛΗ ΠΕΛΑΤΗ")) << t.screen();
    EXPECT_NE(t.screen().find("SECOND LINE"), std::string::npos) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("13. ΚΑΤΑΛΟΓΟΣ")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("7. ΠΕΛΑΤΕΣ")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("End");
    EXPECT_EQ(t.waitExit(), 0);

    UMAS::PATH = work.file("DATABASE/ARXEIO0/");
    ARP0::EA = ARP0::KEY("KOSTAS");
    ASSERT_TRUE(ARP0::CHO(0));
    EXPECT_EQ(ARP0::R0.ON, "SECOND LINE");
    EXPECT_EQ(ARP0::R0.AF, "0999");
    EXPECT_TRUE(ARP0::checkIndex(0).empty());
}

}  // namespace
