// The real program in a terminal with the stand-in signing server running: a new invoice of a
// signing series printed with Shift-F1 to a file port, each copy carrying its signature line, then
// cancelled with Shift-F10.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "common/umas.h"
#include "config/params.h"
#include "e2e/demo_e2e.h"
#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "invoicing/tim0.h"
#include "platform/codepage.h"
#include "shell/install.h"
#include "shell/install_customers.h"

namespace fs = std::filesystem;

namespace {

int count(const std::string& s, const std::string& what) {
    int n = 0;
    for (size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
    return n;
}

TEST(InvoicesEndToEnd, SignedCopiesPrintedThenCancelled) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    auto companies = INSTALL::demoCompanies();
    INSTALL::makeInstallation(work.path(), "DATABASE", companies, KORVEX_MSK);
    const std::string dir = work.file("DATABASE/ARXEIO0");
    TESTS::writeFile(dir + "/NOM.DAT", INSTALL::codeTableImage("NOM", {"DATES|010120|311249", "@24", "EUR|ΕΥΡΩ|EUR|1||340.75"}));
    INSTALL::seedDemoCustomers(dir);
    INSTALL::makeSigningSettings(work.path(), dir, "C:\\EAFDSS", "drives/c/EAFDSS", 1, "KVX00000001");
    // The unnamed series signs and prints two copies on LPT1, which appends to printed.prn.
    PARAMS::SEIRESTABLE s{};
    s[0].AA = 1;
    s[0].PORTA = 1;
    s[0].EMUL = 1;
    s[0].MIKSEL = 66;
    s[0].POLAP = 2;
    s[0].FORMIX = 1;
    std::string b(PARAMS::SEIRES_SIZE, '\0');
    PARAMS::encodeSEIRES(s, reinterpret_cast<uint8_t*>(b.data()));
    fs::remove(dir + "/SEIRES.DAT");
    TESTS::writeFile(dir + "/SEIRES.DAT", b);
    std::string layout(PARAMS::PARTIM4_SIZE, '\0');
    PARAMS::RECPARTIM4{PLAT::gr("@Αρ."), 0, 0, 5, 1, 0, 0}.encode(reinterpret_cast<uint8_t*>(layout.data()));
    PARAMS::RECPARTIM4{"", 0, 0, 10, 2, 0, 0}.encode(reinterpret_cast<uint8_t*>(layout.data()) + 2 * 37);
    fs::remove(dir + "/PARTIM4.dat");
    TESTS::writeFile(dir + "/PARTIM4.dat", layout);
    TESTS::writeFile(work.file("PORTS.TXT"), "LPT1 |cat >> printed.prn\r\n");
    const std::string printed = work.file("printed.prn");

    const DEMOE2E::SigningServer server({"--state", work.file("SRVSTATE"), work.file("drives/c/EAFDSS")});

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(DEMOE2E::openInvoiceEditor(t, companies[0][0])) << t.screen();
    ASSERT_TRUE(DEMOE2E::newInvoiceForAlexiou(t)) << t.screen();
    t.text("100");
    t.keys("Enter");
    t.keys("S-F1");
    ASSERT_TRUE(t.waitFor("ΣΤΟΙΧΕΙΑ ΤΙΜΟΛΟΓΙΟΥ")) << t.screen();
    t.keys("Escape");  // the detail lines; then the store and the print question
    ASSERT_TRUE(t.waitFor("(Ν/Ο)")) << t.screen();
    t.text("N");
    std::string out;
    for (int i = 0; i < 200 && count(out = TESTS::readFile(printed), "KVX00000001") < 2; ++i) usleep(50000);
    EXPECT_EQ(count(out, "KVX00000001"), 2) << out;
    EXPECT_EQ(count(out, PLAT::gr("ΑΛΕΞΙΟΥ ΚΩΝΣΤΑΝΤΙΝΟΣ")), 2);
    ASSERT_TRUE(t.waitFor("2....", 10000)) << t.screen();  // started over: the next number

    // Opened again and cancelled from its first charge line.
    t.keys("C-y");
    t.text("1");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("ΣΗΜΑΝΣΗΣ ΕΑΦΔΣΣ")) << t.screen();
    t.keys("Enter");  // date
    t.keys("Enter");  // declaration
    t.keys("Enter");  // the customer, confirmed by the load
    t.keys("S-F10");
    ASSERT_TRUE(t.waitFor("ΑΚΥΡΩΤΙΚΟ ΤΠΥ")) << t.screen();
    t.text("N");
    for (int i = 0; i < 200 && count(out = TESTS::readFile(printed), PLAT::gr("ΑΚΥΡΩΤΙΚΟ του ΤΠΥ")) < 2; ++i)
        usleep(50000);
    EXPECT_EQ(count(out, PLAT::gr("ΑΚΥΡΩΤΙΚΟ του ΤΠΥ")), 2) << out;
    for (int i = 0; i < 100 && !TESTS::exists(dir + "/AKAR.DAT"); ++i) usleep(50000);
    EXPECT_EQ(TESTS::readFile(dir + "/AKAR.DAT"), std::string("\x01\0\0\0", 4));
    ASSERT_TRUE(t.waitFor("2....", 10000)) << t.screen();
    EXPECT_EQ(DEMOE2E::endFromInvoiceEditor(t), 0) << t.screen();

    const std::string rec = TESTS::readFile(dir + "/TM.DAT");
    ASSERT_EQ(rec.size(), TIM0::RTIM::SIZE);
    const TIM0::RTIM r = TIM0::RTIM::decode(reinterpret_cast<const uint8_t*>(rec.data()));
    EXPECT_GT(r.PAIPS[1], 0);
    EXPECT_GT(r.PAIPS[2], r.PAIPS[1]);
    EXPECT_EQ(r.AKNUM, 1);
    EXPECT_GT(r.AKPAIP, r.PAIPS[2]);
}

}  // namespace
