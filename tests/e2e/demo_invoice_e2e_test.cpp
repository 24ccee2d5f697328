// The demo installation as a new user finds it, through the real program with the signing stand-in
// running: an invoice for a demo customer filled from a stored declaration, printed in three signed
// copies on the demo's form (the last copy kept as a golden file), a collection receipt, the
// customer's ledger card on screen in euros, and the customer's stored totals.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <utility>

#include "common/umas.h"
#include "customers/arp0.h"
#include "e2e/demo_e2e.h"
#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "invoicing/tim0.h"
#include "platform/codepage.h"

namespace {

// One copy of a printer port file: from the printer's last initialisation (ESC "@") on, so that
// a port that keeps every copy and one that keeps the last give the same copy.
std::string lastCopy(const std::string& port) {
    const size_t at = port.rfind("\x1b@");
    return at == std::string::npos ? port : port.substr(at);
}

using TESTS::expectGolden;

TEST(DemoEndToEnd, AnInvoiceFromADeclarationSignedPrintedAndPaid) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    ASSERT_TRUE(DEMOE2E::layOutDemo(work));
    const std::string dir = work.file("DATABASE/ARXEIO0");
    ASSERT_TRUE(DEMOE2E::storeDeclaration(
        "IMP", "1000000007", "101226",
        {{22, PLAT::gr("ΑΛΕΞΙΟΥ ΚΩΝΣΤΑΝΤΙΝΟΣ")}, {69, "12"}, {72, PLAT::gr("ΗΛΕΚΤΡΙΚΕΣ ΣΥΣΚΕΥΕΣ")}, {82, "1500"},
         {86, "1400"}, {100, "8000"}, {142, "IMP"}}));

    const DEMOE2E::SigningServer server({"--settings", "DATABASE/ARXEIO0/formi_01.txt", "--now", "10/12/26 09:05"});

    const std::string port = work.file("drives/ports/LPT1");
    TESTS::Tmux t(work.path(), DEMOE2E::fixedClockCommand());
    ASSERT_TRUE(DEMOE2E::openInvoiceEditor(t)) << t.screen();
    // The demo's headings and VAT rate are on the form.
    ASSERT_TRUE(t.waitFor("ΑΜΟΙΒΗ ΕΚΤΕΛΩΝΙΣΜΟΥ")) << t.screen();
    EXPECT_NE(t.screen().find("_ΔΙΑΦΟΡΑ Α"), std::string::npos) << t.screen();
    t.keys("Enter");  // the proposed number 1
    t.keys("Enter");  // today
    t.text("1000000007");
    t.keys("Enter");  // filled from the declaration: its customer
    ASSERT_TRUE(t.waitFor("ΑΛΕΞΙΟΥ ΚΩΝΣΤΑΝΤΙΝΟΣ")) << t.screen();
    t.keys("Enter");  // looked up
    t.keys("Enter");  // confirmed
    for (const char* amount : {"100", "50", "", "25"}) {
        t.keys("Enter");  // the line's reference text
        if (*amount) t.text(amount);
        t.keys("Enter");
    }
    ASSERT_TRUE(t.waitFor("211.00")) << t.screen();  // 150 taxed at 24 % and 25 untaxed
    t.keys("NPage");  // the rate table takes the taxed amount for the VAT analysis
    ASSERT_TRUE(t.waitFor("150.00")) << t.screen();
    t.keys("Escape");
    t.keys("S-F1");
    ASSERT_TRUE(t.waitFor("ΣΤΟΙΧΕΙΑ ΤΙΜΟΛΟΓΙΟΥ")) << t.screen();
    EXPECT_NE(t.screen().find("1000000007"), std::string::npos) << t.screen();
    t.keys("Escape");  // the detail lines; then the store and the print question
    ASSERT_TRUE(t.waitFor("(Ν/Ο)")) << t.screen();
    t.text("N");
    ASSERT_TRUE(t.waitFor("2....", 20000)) << t.screen();  // three copies signed and printed
    const std::string copies = TESTS::readFile(port);
    EXPECT_NE(copies.find("KVX00000001"), std::string::npos);
    expectGolden("demo_invoice_signed.prn", lastCopy(copies));
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΑΠΟΔΕΙΞΕΙΣ ΠΛΗΡΩΜΗΣ")) << t.screen();

    // A collection receipt of 100 euros from the same customer.
    t.keys("Down");
    t.keys("Down");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("ΕΙΣΠΡΑΞΕΩΣ")) << t.screen();
    t.keys("Tab");  // the proposed number 1
    t.keys("Enter");
    t.keys("Enter");  // today
    t.keys("Enter");  // no declaration
    t.text("αλε");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("ΑΛΕΞΙΟΥ ΚΩΝΣΤΑΝΤΙΝΟΣ")) << t.screen();
    t.keys("Enter");
    t.text("100");
    t.keys("Enter");
    t.text("ENANTI");
    t.keys("F1");
    for (int i = 0; i < 100 && TESTS::readFile(dir + "/AM.DAT").size() != 153; ++i) usleep(50000);
    ASSERT_EQ(TESTS::readFile(dir + "/AM.DAT").size(), 153u);
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΑΠΟΔΕΙΞΕΙΣ ΠΛΗΡΩΜΗΣ")) << t.screen();
    t.keys("Escape");
    // the main menu shows behind the invoicing menu: its own legend tells that it has the keys
    ASSERT_TRUE(t.waitFor("1-9→Επιλογή")) << t.screen();

    // The customer's ledger card of today: the invoice's debit and the receipt's credit, in euros.
    t.text("7");
    ASSERT_TRUE(t.waitFor("3. ΚΑΡΤΕΛΑ ΠΕΛΑΤΗ")) << t.screen();
    t.keys("Down");
    t.keys("Down");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("╡ ΚΑΡΤΕΛΑ ΠΕΛΑΤΗ ╞")) << t.screen();
    t.text("αλε");
    t.keys("Enter");  // looked up
    ASSERT_TRUE(t.waitFor("ΑΛΕΞΙΟΥ ΚΩΝΣΤΑΝΤΙΝΟΣ")) << t.screen();
    t.keys("Enter");  // confirmed
    t.keys("Enter");  // from today
    t.keys("Enter");  // to today
    ASSERT_TRUE(t.waitFor("ΤΙΜΟΛΟΓΙΟ 1")) << t.screen();
    ASSERT_TRUE(t.waitFor("ΑΠ. 1 ENANTI")) << t.screen();
    const std::string card = t.screen();
    const std::pair<const char*, const char*> rows[] = {{"ΤΙΜΟΛΟΓΙΟ 1", "211.00"}, {"ΑΠ. 1 ENANTI", "100.00"}};
    for (const auto& [row, amount] : rows) {
        const size_t at = card.find(row);
        ASSERT_NE(at, std::string::npos) << card;
        const std::string line = card.substr(at, card.find('\n', at) - at);
        EXPECT_NE(line.find(amount), std::string::npos) << line;  // euros with cents, not drachmas
    }
    EXPECT_NE(card.find("111.00"), std::string::npos) << "the balance after the receipt\n" << card;
    EXPECT_EQ(card.find("71898"), std::string::npos) << "no amount in drachmas\n" << card;
    t.keys("Escape");  // the list, then the customer prompt
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("3. ΚΑΡΤΕΛΑ ΠΕΛΑΤΗ")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("7. ΠΕΛΑΤΕΣ")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("End");
    EXPECT_EQ(t.waitExit(), 0);

    // The customer's totals (kept in drachmas) hold the invoice and the receipt.
    UMAS::PATH = dir + "/";
    ARP0::EA = ARP0::KEY(PLAT::gr("ΑΛΕΞΙΟΥ ΚΩΝΣΤΑΝΤΙΝΟΣ"));
    ASSERT_TRUE(ARP0::CHO(0));
    EXPECT_EQ(ARP0::R0.XR, int32_t(std::nearbyint(211 * 340.75)));
    EXPECT_EQ(ARP0::R0.PI, int32_t(std::nearbyint(100 * 340.75)));
}

}  // namespace
