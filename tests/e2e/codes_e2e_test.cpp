// The real program in a terminal: the code-tables menu, a place typed and stored, a country
// filled from the official list.
#include <gtest/gtest.h>
#include <unistd.h>

#include "codes/kvdi.h"
#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "platform/codepage.h"
#include "shell/install.h"

namespace {

TEST(CodesEndToEnd, APlaceIsStoredAndACountryComesFromTheOfficialList) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    auto companies = INSTALL::demoCompanies();
    INSTALL::makeInstallation(work.path(), "DATABASE", companies, KORVEX_MSK);
    INSTALL::writeCp1253Text(work.file("XORES.TXT"), {"1", "GR", "ΕΛΛΑΔΑ", "", "", "2", "DE", "ΓΕΡΜΑΝΙΑ", "", ""});
    const std::string apo = work.file("DATABASE/ARXEIO0/APO.DAT"), xvr = work.file("DATABASE/ARXEIO0/XVR.DAT");

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor(companies[0][0])) << t.screen();
    t.text("8");
    ASSERT_TRUE(t.waitFor("ΠΙΝΑΚΕΣ ΚΩΔΙΚΩΝ")) << t.screen();
    t.text("05");
    ASSERT_TRUE(t.waitFor("ΟΝΟΜΑΣΙΑ ΤΟΠΟΥ")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("ESC→Επιλογή")) << t.screen();
    t.text("ΒΟΛΟΣ");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("F1→Καταχώρηση")) << t.screen();
    t.keys("F1");
    std::string f;
    for (int i = 0; i < 100 && (f = TESTS::readFile(apo)).substr(0, 2) == std::string(2, '\0'); ++i) usleep(50000);
    ASSERT_EQ(f.size(), 1116u);
    EXPECT_EQ(KVDI::RECAPO::decode(reinterpret_cast<const uint8_t*>(f.data())).AP,
              PLAT::gr("ΒΟΛΟΣ") + std::string(25, ' '));
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("15. ΠΡΟΣΘΕΤΑ ΣΤΟΙΧΕΙΑ")) << t.screen();

    // Countries: Tab, the second entry of the list, F1.
    t.text("02");
    ASSERT_TRUE(t.waitFor("ΟΝΟΜΑΣΙΑ ΧΩΡΑΣ")) << t.screen();
    t.keys("Tab");
    ASSERT_TRUE(t.waitFor("ΓΕΡΜΑΝΙΑ")) << t.screen();
    t.keys("Down");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("DE      ΓΕΡΜΑΝΙΑ")) << t.screen();
    t.keys("F1");
    for (int i = 0; i < 100 && (f = TESTS::readFile(xvr)).substr(0, 1) == std::string(1, '\0'); ++i) usleep(50000);
    EXPECT_EQ(KVDI::RECPOL::decode(reinterpret_cast<const uint8_t*>(f.data())),
              (KVDI::RECPOL{"DE", PLAT::gr("ΓΕΡΜΑΝΙΑ") + std::string(12, ' ')}));
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("15. ΠΡΟΣΘΕΤΑ ΣΤΟΙΧΕΙΑ")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΚΥΡΙΟ ΜΕΝΟΥ")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("End");
    EXPECT_EQ(t.waitExit(), 0);
}

}  // namespace
