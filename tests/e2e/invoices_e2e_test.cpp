// The real program in a terminal: a new invoice for a customer with two charge lines, stored with
// F1, opened again by its number with the same lines and total; the customer's debit total moved.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>

#include "common/umas.h"
#include "customers/arp0.h"
#include "e2e/demo_e2e.h"
#include "e2e/invoices_e2e.h"
#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "invoicing/tim0.h"
#include "platform/codepage.h"

namespace {

TEST(InvoicesEndToEnd, ANewInvoiceStoredAndOpenedAgain) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    const std::string dir = INVOICESE2E::install(work);
    const std::string tm = dir + "/TM.DAT";

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(DEMOE2E::openInvoiceEditor(t)) << t.screen();
    ASSERT_TRUE(DEMOE2E::newInvoiceForAlexiou(t)) << t.screen();
    t.text("100");
    t.keys("Enter");
    t.keys("Enter");  // reference of line 2
    t.text("50");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("150.00")) << t.screen();
    t.keys("F1");
    for (int i = 0; i < 100 && TESTS::readFile(tm).size() != TIM0::RTIM::SIZE; ++i) usleep(50000);
    ASSERT_EQ(TESTS::readFile(tm).size(), TIM0::RTIM::SIZE);
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΑΠΟΔΕΙΞΕΙΣ ΠΛΗΡΩΜΗΣ")) << t.screen();

    // Opened again: the proposal is 2; number 1 is typed over it.
    t.text("1");
    ASSERT_TRUE(t.waitFor("ΓΕΝΙΚΟ ΣΥΝΟΛΟ")) << t.screen();
    t.keys("C-y");
    t.text("1");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("ΑΛΕΞΙΟΥ ΚΩΝΣΤΑΝΤΙΝΟΣ")) << t.screen();
    const std::string s = t.screen();
    EXPECT_NE(s.find("100.00"), std::string::npos) << s;
    EXPECT_NE(s.find("50.00"), std::string::npos) << s;
    EXPECT_NE(s.find("150.00"), std::string::npos) << s;
    EXPECT_EQ(DEMOE2E::endFromInvoiceEditor(t), 0) << t.screen();

    UMAS::PATH = dir + "/";
    ARP0::EA = ARP0::KEY(PLAT::gr("ΑΛΕΞΙΟΥ ΚΩΝΣΤΑΝΤΙΝΟΣ"));
    ASSERT_TRUE(ARP0::CHO(0));
    EXPECT_EQ(ARP0::R0.XR, int32_t(std::nearbyint(150 * 340.75)));
}

}  // namespace
