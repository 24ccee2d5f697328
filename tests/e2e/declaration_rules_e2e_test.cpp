// The real program in a terminal: a new import declaration whose currency is picked with Tab and
// whose customer is typed by the beginning of the name into box 22, stored with F4 and opened again.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "shell/install.h"
#include "shell/install_customers.h"

namespace {

// The box number the editor shows at the end of row 24 ("αα nnn"), 0 when none.
int currentBox(const std::string& screen) {
    const std::string tag = "αα ";
    const size_t p = screen.rfind(tag);
    if (p == std::string::npos) return 0;
    return std::atoi(screen.substr(p + tag.size(), 3).c_str());
}

// Enter from box to box until `target` is the current box; on a new form the counts (boxes 16
// and 18) get 1.
bool enterTo(TESTS::Tmux& t, int target, bool counts) {
    for (int i = 0; i < 120; ++i) {
        const int now = currentBox(t.screen());
        if (now == target) return true;
        if (counts && (now == 16 || now == 18)) t.text("1");
        t.keys("Enter");
        for (int w = 0; w < 100 && currentBox(t.screen()) == now; ++w)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

TEST(DeclarationRulesEndToEnd, CurrencyByTabAndCustomerByPrefix) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    auto companies = INSTALL::demoCompanies();
    INSTALL::makeInstallation(work.path(), "DATABASE", companies, KORVEX_MSK);
    const std::string dir = work.file("DATABASE/ARXEIO0");
    // Currencies whose rates hold on any day the test runs.
    TESTS::writeFile(dir + "/NOM.DAT", INSTALL::codeTableImage("NOM", {"DATES|010120|311249", "USD|ΔΟΛΑΡΙΟ ΗΠΑ|USD|1||0.9217",
                                                                       "GBP|ΛΙΡΑ ΑΓΓΛΙΑΣ|GBP|1||1.1690",
                                                                       "@24", "EUR|ΕΥΡΩ|EUR|1||340.75"}));
    INSTALL::seedCodeTables(dir, std::string(KORVEX_SOURCE_DIR) + "/data/demo/tables");
    INSTALL::seedDemoCustomers(dir);
    const std::string dism = dir + "/DISM.DAT";

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor(companies[0][0])) << t.screen();
    t.text("1");
    ASSERT_TRUE(t.waitFor("ΕΙΣΑΓΩΓΗΣ")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
    t.text("700");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   2")) << t.screen();

    // Box 22: the beginning of a name in small letters, Enter completes it, Enter confirms it.
    ASSERT_TRUE(enterTo(t, 22, true)) << t.screen();
    t.text("γεω");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("ΓΕΩΡΓΑΚΗΣ Α.Ε. ΤΕΧΝΙΚΗ")) << t.screen();
    EXPECT_NE(t.screen().find("094555666"), std::string::npos) << t.screen();
    // A second name line, then address and town on lines of their own (together too long).
    EXPECT_NE(t.screen().find("23 ΜΗΧΑΝΗΜΑΤΑ ΚΑΙ ΑΝΤΑΛΛΑΚΤΙΚΑ"), std::string::npos) << t.screen();
    EXPECT_NE(t.screen().find("25 ΘΕΣΣΑΛΟΝΙΚΗ"), std::string::npos) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα  23")) << t.screen();

    // Box 54: the hint, Tab opens the currencies on the declaration's date, Down Enter picks GBP.
    ASSERT_TRUE(enterTo(t, 54, true)) << t.screen();
    ASSERT_TRUE(t.waitFor("╡TAB.ΛΙΣΤΑ╞")) << t.screen();
    t.keys("Tab");
    ASSERT_TRUE(t.waitFor("ΛΙΡΑ ΑΓΓΛΙΑΣ")) << t.screen();
    t.keys("Down");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("1.1690")) << t.screen();
    EXPECT_NE(t.screen().find("GBP"), std::string::npos) << t.screen();

    t.keys("F4");
    for (int i = 0; i < 100 && TESTS::readFile(dism).empty(); ++i) usleep(50000);
    ASSERT_FALSE(TESTS::readFile(dism).empty()) << "stored";
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΚΑΤΑΧΩΡΗΣΗ ΝΕΑΣ")) << t.screen();

    // Opened again: the customer's boxes, then the currency's.
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
    t.text("700");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   2")) << t.screen();
    std::string s = t.screen();
    EXPECT_NE(s.find("ΓΕΩΡΓΑΚΗΣ Α.Ε. ΤΕΧΝΙΚΗ"), std::string::npos) << s;
    EXPECT_NE(s.find("094555666"), std::string::npos) << s;
    EXPECT_NE(s.find("24 ΒΙ.ΠΕ. ΣΙΝΔΟΥ Ο.Τ. 31"), std::string::npos) << s;
    EXPECT_NE(s.find("25 ΘΕΣΣΑΛΟΝΙΚΗ"), std::string::npos) << s;
    ASSERT_TRUE(enterTo(t, 54, false)) << t.screen();
    s = t.screen();
    EXPECT_NE(s.find("GBP"), std::string::npos) << s;
    EXPECT_NE(s.find("1.1690"), std::string::npos) << s;
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΚΑΤΑΧΩΡΗΣΗ ΝΕΑΣ")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor(companies[0][0])) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("End");
    EXPECT_EQ(t.waitExit(), 0);
}

}  // namespace
