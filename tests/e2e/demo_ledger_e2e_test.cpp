// The demo installation as `make run` lays it out, through the real program: two invoices of the
// second company whose VAT falls between two cents, then the customer's ledger card, the balances
// and the movements of the period, whose rows are the invoices' totals and whose totals add up to
// them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "e2e/demo_e2e.h"
#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "shell/install.h"

namespace {

// The line of the screen that holds NEEDLE (empty when none does).
std::string lineWith(const std::string& screen, const std::string& needle) {
    const size_t at = screen.find(needle);
    if (at == std::string::npos) return "";
    const size_t from = screen.rfind('\n', at);
    const size_t to = screen.find('\n', at);
    return screen.substr(from == std::string::npos ? 0 : from + 1,
                         (to == std::string::npos ? screen.size() : to) - (from == std::string::npos ? 0 : from + 1));
}

// In the invoice editor's number field: a new invoice with the proposed number and today's date
// for KOSTA, AMOUNT1 on line 1 (which carries VAT) and AMOUNT4 on line 4 (which does not), stored
// with F1. False when the invoice's total TOTAL did not show.
bool kostaInvoice(TESTS::Tmux& t, const std::string& amount1, const std::string& amount4, const std::string& total) {
    t.keys("Enter");  // the proposed number
    t.keys("Enter");  // today
    t.keys("Enter");  // no declaration
    if (!DEMOE2E::customer(t, "KOS", "KOSTA OLIVE OIL S.A.")) return false;
    for (const std::string& amount : {amount1, std::string(), std::string(), amount4}) {
        t.keys("Enter");  // the line's reference text
        if (!amount.empty()) t.text(amount);
        t.keys("Enter");
    }
    if (!t.waitFor(total)) return false;
    t.keys("F1");
    return t.waitFor(total);
}

TEST(DemoLedgerEndToEnd, TheLedgerCardBalancesAndMovementsAddUpTheInvoicesAsTheyRoundTheirVat) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    ASSERT_TRUE(DEMOE2E::layOutDemo(work));
    const std::string company = INSTALL::demoCompanies()[1][0];
    TESTS::Tmux t(work.path(), DEMOE2E::fixedClockCommand());
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("Down");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor(company)) << t.screen();
    t.text("6");
    ASSERT_TRUE(t.waitFor("ΑΠΟΔΕΙΞΕΙΣ ΠΛΗΡΩΜΗΣ")) << t.screen();
    // VAT 24 % of 201.10 is 48.264, on the invoice 48.26; of 203.10, 48.744: 48.74
    const std::pair<const char*, const char*> invoices[] = {{"201.10", "20.01"}, {"203.10", "20.03"}};
    const char* totals[] = {"269.37", "271.87"};
    for (int i = 0; i < 2; ++i) {
        t.text("1");
        ASSERT_TRUE(t.waitFor("ΓΕΝΙΚΟ ΣΥΝΟΛΟ")) << t.screen();
        ASSERT_TRUE(kostaInvoice(t, invoices[i].first, invoices[i].second, totals[i])) << t.screen();
        t.keys("Escape");
        ASSERT_TRUE(t.waitFor("ΑΠΟΔΕΙΞΕΙΣ ΠΛΗΡΩΜΗΣ")) << t.screen();
    }
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("1-9→Επιλογή")) << t.screen();

    // The ledger card from January 2012: the two invoices and the running balance under them.
    t.text("7");
    ASSERT_TRUE(t.waitFor("3. ΚΑΡΤΕΛΑ ΠΕΛΑΤΗ")) << t.screen();
    t.keys("Down");
    t.keys("Down");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("╡ ΚΑΡΤΕΛΑ ΠΕΛΑΤΗ ╞")) << t.screen();
    ASSERT_TRUE(DEMOE2E::customer(t, "KOS", "KOSTA OLIVE OIL S.A.")) << t.screen();
    t.keys("C-y");
    t.text("0112");
    t.keys("Enter");
    t.keys("Enter");  // to today
    ASSERT_TRUE(t.waitFor("ΤΙΜΟΛΟΓΙΟ 2")) << t.screen();
    std::string s = t.screen();
    EXPECT_NE(lineWith(s, "ΤΙΜΟΛΟΓΙΟ 1").find("269.37       0.00     269.37"), std::string::npos) << s;
    EXPECT_NE(lineWith(s, "ΤΙΜΟΛΟΓΙΟ 2").find("271.87       0.00     541.24"), std::string::npos) << s;
    EXPECT_NE(lineWith(s, "ΣΥΝΟΛΑ:").find("541.24       0.00     541.24"), std::string::npos) << s;
    t.keys("Escape");  // the list, then the customer prompt
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("4. ΥΠΟΛΟΙΠΑ ΠΕΛΑΤΩΝ")) << t.screen();

    // The balances: the customer's total as the invoices posted it.
    t.keys("Down");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("╡ ΥΠΟΛΟΙΠΑ ΠΕΛΑΤΩΝ ╞")) << t.screen();
    ASSERT_TRUE(t.waitFor("KOSTA OLIVE OIL S.A.")) << t.screen();
    s = t.screen();
    EXPECT_NE(lineWith(s, "KOSTA OLIVE OIL S.A.").find("541.24       0.00     541.24"), std::string::npos) << s;
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("6. ΚΙΝΗΣΕΙΣ ΠΕΡΙΟΔΟΥ")) << t.screen();

    // The movements of the period: each invoice's value and VAT as on it, and their sums.
    t.keys("Down");
    t.keys("Down");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("ΚΙΝΗΣΕΙΣ ΠΕΡΙΟΔΟΥ ╞")) << t.screen();
    t.keys("C-y");
    t.text("0112");
    t.keys("Enter");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("ΤΙΜΟΛΟΓΙΑ:")) << t.screen();
    ASSERT_TRUE(t.waitFor("404.20")) << t.screen();
    s = t.screen();
    EXPECT_NE(s.find("269.37    201.10   48.26"), std::string::npos) << s;
    EXPECT_NE(s.find("271.87    203.10   48.74"), std::string::npos) << s;
    EXPECT_NE(lineWith(s, "ΣΥΝΟΛΑ:").find("541.24    404.20   97.00"), std::string::npos) << s;
    t.keys("Escape");  // the list, then the period
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("6. ΚΙΝΗΣΕΙΣ ΠΕΡΙΟΔΟΥ")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("7. ΠΕΛΑΤΕΣ")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("End");
    EXPECT_EQ(t.waitExit(), 0);
}

}  // namespace
