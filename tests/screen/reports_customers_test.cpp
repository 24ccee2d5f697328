// The reports over all customers: the turnover list and yearly summary, one customer's totals per
// period, the balances and the catalogue with its CSV export.
#include "reports/arp1.h"
#include "reports/arp3.h"
#include "reports_fixture.h"

using namespace REPTEST;

namespace {

class AllCustomers : public Reports {
protected:
    // A customer with the given totals and summary flag stored directly in its record.
    uint16_t customer(const char* name, int32_t XR = 0, int32_t PI = 0, const char* SX = "") {
        const uint16_t n = TESTS::addCustomer(name);
        ARP0::RR0 r;
        EXPECT_TRUE(ARP0::readRecord(0, n, r));
        r.XR = XR;
        r.PI = PI;
        r.SX = gr(SX);
        ARP0::writeRecord(0, n, r);
        return n;
    }
};

}  // namespace

TEST_F(AllCustomers, BalancesWithBothSwitchesAndTheScreenReduction) {
    customer("ΑΛΦΑ", 120000000, 110000000);
    customer("ΒΗΤΑ", 340750, 0);
    customer("ΓΑΜΜΑ", 100, 200);
    const ARP3::BALANCES B = ARP3::YPOPCOLLECT();
    ASSERT_EQ(B.C(), 3);
    EXPECT_EQ(B.S1, 120000000LL + 340750 + 100);
    EXPECT_EQ(ARP3::YPOPAMOUNT(340750, 9), "  1000.00");
    UMAS::TIMEUR = 1;
    SCR::CALLM(24, true);
    session([] { ARP3::YPOP(); },
            {{{}, [&] {
                  EXPECT_EQ(at(45, 3, 9), " 70000000") << "shown reduced";
                  EXPECT_EQ(at(56, 3, 9), " 60000000");
                  EXPECT_EQ(at(67, 3, 9), " 10000000");
                  EXPECT_EQ(at(67, 5, 9), "     -100");
                  EXPECT_EQ(at(5, 6, 32), std::string(32, ' '));
              }},
             {{SF1, PLAT::keyChar('N')}, nullptr},
             {{ESC}, nullptr}});
    expectGolden("balances_drachmas.prn", printed());
}

TEST_F(AllCustomers, BalancesWithoutCustomers) {
    SCR::CALLM(24, true);
    session([] { ARP3::YPOP(); }, {{{}, nullptr}});
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

TEST_F(AllCustomers, CatalogueExportsByteForByte) {
    ARP0::RR0 c;
    c.EA = ARP0::KEY(gr("ΠΑΠΑΣ"));
    c.AF = "  12345";
    c.ON = gr("ΔΕΥΤΕΡΗ ΓΡΑΜΜΗ");
    c.DI = gr("ΟΔΟΣ 1;Β");
    c.PO = gr("ΆΡΤΑ ϊ");
    c.TK = "12345";
    c.TH[0] = "2100000000";
    c.EP = gr("ΕΜΠΟΡΟΣ");
    c.EF = gr("ΦΑΕ");
    ASSERT_EQ(ARP0::STORE(0, c), ARP0::Stored::WRITTEN);
    TESTS::addCustomer("ΑΛΦΑ");
    std::string name;
    const std::vector<ARP3::PERC> rows = ARP3::PRPECOLLECT(10, name);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(name, "Custs.csv");
    const std::string csv = TESTS::readFile("Custs.csv");
    expectGolden("custs.csv", csv);
    const size_t e = csv.find("\r\n");
    EXPECT_EQ(e, 247u);
    const std::string second = csv.substr(e + 2, 247);
    EXPECT_EQ(second.substr(0, 31), std::string("\xD0\xC1\xD0\xC1\xD3") + std::string(25, ' ') + ";");
    EXPECT_EQ(second.substr(31 + 41 + 41 + 7 + 41 + 31, 11), "12345     ;") << "tax number without its leading blanks";
    EXPECT_EQ(second.substr(31 + 41 + 41 + 7, 6), "\xB6\xD1\xD4\xC1 \xFA") << "accented capital and iota with diaeresis";
    // the address holds a ";": one field more when split
    EXPECT_EQ(std::count(second.begin(), second.end(), ';'), 9);

    // an empty foreign index: an empty export file beside the domestic one
    SCR::CALLM(12, true);
    session([] { ARP3::PRPE(11); }, {{{}, nullptr}});
    EXPECT_TRUE(TESTS::exists("Cust_Ex.csv"));
    EXPECT_EQ(TESTS::readFile("Cust_Ex.csv"), "");
    EXPECT_TRUE(TESTS::exists("Custs.csv"));
    SCR::CALLM(63, true);
    ARP3::PRPEPRINT(rows, 10);
    expectGolden("catalogue.prn", printed());
}

TEST_F(AllCustomers, TurnoverSummaryThresholdFlagsAndOrder) {
    customer("ΑΛΦΑ", 0, 0, "O");
    customer("ΒΗΤΑ");
    customer("ΓΑΜΜΑ");
    customer("ΔΕΛΤΑ");
    store(0, 1, "010299", "ΑΛΦΑ", 0, 0, 102226);   // one drachma above the limit
    store(0, 2, "020299", "ΒΗΤΑ", 0, 0, 102225);   // exactly the limit
    store(0, 3, "030299", "ΒΗΤΑ", 0, 0, 200000);
    store(0, 4, "040299", "ΓΑΜΜΑ", 0, 0, 150000);
    store(0, 5, "050205", "ΓΑΜΜΑ", 0, 0, 300.01);  // euros above the limit at 340.75
    store(0, 6, "060205", "ΔΕΛΤΑ", 0, 0, 300);     // euros: exactly the limit
    const std::string E1 = std::string(30, ' '), E2 = UMAS::padTo(gr("Ω"), 30);
    ARP1::TURNOVER T = ARP1::PRPLCOLLECT(E1, E2, UMAS::HMVAL("010199"), UMAS::HMVAL("311205"), true);
    ASSERT_EQ(T.CC(), 3) << "ΔΕΛΤΑ's only invoice is at the limit";
    EXPECT_EQ(T.K1[1].AT, 1) << "ΒΗΤΑ's invoice at the limit does not count";
    EXPECT_EQ(T.K1[2].AT, 2);
    EXPECT_EQ(T.count, 4);
    // turnover order: ΓΑΜΜΑ (150000/340.75 + 300.01), ΒΗΤΑ, ΑΛΦΑ
    EXPECT_EQ(T.K2[0].EP.substr(0, 5), gr("ΓΑΜΜΑ"));
    EXPECT_EQ(T.K2[2].EP.substr(0, 4), gr("ΑΛΦΑ"));

    T = ARP1::PRPLCOLLECT(E1, E2, UMAS::HMVAL("010199"), UMAS::HMVAL("311205"), false);
    EXPECT_EQ(T.CC(), 4);
    EXPECT_EQ(T.count, 6);
    T = ARP1::PRPLCOLLECT(UMAS::padTo(gr("Β"), 30), UMAS::padTo(gr("ΓΑΜΜΑ"), 30), 0, UMAS::HMVAL("311205"), false);
    ASSERT_EQ(T.CC(), 2) << "a name range";
    EXPECT_EQ(T.CC(), 2);
    EXPECT_EQ(ARP1::PRPLCOLLECT(E1, E1, 0, UMAS::HMVAL("311205"), false).CC(), 0) << "an empty to-name";

    // the printout of the summary: the flagged customer left off and the others numbered from 1
    ARP2::PERIOD P;
    P.H1 = "010199";
    P.H2 = "311205";
    P.HS1 = "1999";
    P.HS2 = "2005";
    T = ARP1::PRPLCOLLECT(E1, E2, UMAS::HMVAL("010199"), UMAS::HMVAL("311205"), true);
    SCR::CALLM(63, true);
    ARP1::PRPLPRINT(T.K1, true, true, P);
    const std::string summary = printed();
    expectGolden("summary.prn", summary);
    EXPECT_EQ(summary.find(gr("ΑΛΦΑ")), std::string::npos);
    EXPECT_NE(summary.find(gr("ΕΤΟΣ: 1999")), std::string::npos);
}

TEST_F(AllCustomers, TurnoverSortOfEqualAndDescendingFees) {
    std::vector<ARP1::BFT> K(5);
    const double pi[5] = {10, 30, 20, 30, 5};
    for (int i = 0; i < 5; ++i) {
        K[size_t(i)].PI = pi[i];
        K[size_t(i)].EP = std::to_string(i);
    }
    ARP1::TURNSORT(K, 1, 5);
    std::string order;
    for (const auto& b : K) order += b.EP;
    EXPECT_EQ(order, "13204");
}

TEST_F(AllCustomers, OneCustomersTotalsCountOnlyItsInvoices) {
    const uint16_t a = customer("ΑΛΦΑ ΑΕ");
    customer("ΒΗΤΑ");
    store(0, 1, "100105", "ΑΛΦΑ", 100);
    store(0, 2, "100205", "ΒΗΤΑ", 50);
    store(0, 3, "150205", "ΑΛΦΑ", 10);
    // an invoice of ΑΛΦΑ's record number under another name and tax number
    patch("TM.DAT", 2, [](TIM0::RTIM& r) {
        r.EA = UMAS::padTo("OTHER", 30);
        r.AF = "777777777 ";
    });
    // the customer's name changed after its fifth character: still counted
    patch("TM.DAT", 0, [](TIM0::RTIM& r) { r.EA = UMAS::padTo(gr("ΑΛΦΑ ΒΕ"), 30); r.AF = "1"; });
    APODI::PR = ARP0::NONE;
    SCR::CALLM(47, true);
    session([] { ARP3::KPPR(); },
            {{typed(gr("ΑΛ")) + std::vector<PLAT::Event>{ENTER},
              [&] { EXPECT_EQ(at(61, 2, 10), "099999999 "); }},
             {std::vector<PLAT::Event>{ENTER} + date("0105") + std::vector<PLAT::Event>{ENTER} + date("0305") +
                  std::vector<PLAT::Event>{ENTER},
              [&] {
                  EXPECT_EQ(at(10, 8, 15), gr("ΙΑΝΟΥΑΡΙΟΣ 2005"));
                  EXPECT_EQ(at(38, 8, 9), "   100.00");
                  EXPECT_EQ(at(38, 9, 9), "     0.00") << "the other name's invoice is left out";
                  EXPECT_EQ(at(38, 10, 9), "     0.00");
              }},
             {{ESC, UP}, [&] { EXPECT_EQ(at(21, 2, 7), gr("ΑΛΦΑ ΑΕ")); }},
             {{ESC}, nullptr}});
    EXPECT_EQ(APODI::PR, ARP0::NONE) << "the report's customer is its own";
    (void)a;
}

TEST_F(AllCustomers, TurnoverListHoldsAHundredCustomers) {
    for (int i = 0; i < 101; ++i) {
        const std::string name = "C" + std::string(1, char('A' + i / 26 % 26)) + std::string(1, char('A' + i % 26));
        TESTS::addCustomer(name);
        store(0, i + 1, "150325", name, 1 + i);
    }
    const ARP1::TURNOVER T = ARP1::PRPLCOLLECT(std::string(30, ' '), UMAS::padTo(gr("Ω"), 30), 0, UMAS::HMVAL("311225"), false);
    ASSERT_EQ(T.CC(), 100);
    const std::vector<ARP0::Listed> all = ARP0::listAll(0);
    ASSERT_EQ(all.size(), 101u);
    EXPECT_EQ(T.K1.back().EP, UMAS::padTo(all[99].R.EA, 30)) << "the first hundred in index order";
    for (const auto& b : T.K1) EXPECT_NE(b.EP, UMAS::padTo(all[100].R.EA, 30)) << "the 101st is not read";
    EXPECT_GE(T.K2.front().PI, T.K2.back().PI);
}

// A damaged customer record is left out of the balances and the catalogue with its export, and the
// clerk is told before the list.
TEST_F(AllCustomers, DamagedCustomersAreLeftOutAndTold) {
    customer("ΑΛΦΑ", 100, 0);
    const uint16_t beta = customer("ΒΗΤΑ", 20000, 0);
    customer("ΓΑΜΜΑ", 3, 0);
    const std::string path = company(0) + "/MF.DAT";
    std::string mf = TESTS::readFile(path);
    mf[size_t(beta) * ARP0::RR0::SIZE + 83] = 3;  // an address of three characters
    mf[size_t(beta) * ARP0::RR0::SIZE + 85] = '\x18';
    TESTS::writeFile(path, mf);
    std::vector<std::string> notices;
    con->onIdle = [&] {
        notices.push_back(con->dump());
        con->ch(27);
    };
    const ARP3::BALANCES B = ARP3::YPOPCOLLECT();
    std::string name;
    const std::vector<ARP3::PERC> rows = ARP3::PRPECOLLECT(10, name);
    con->onIdle = nullptr;
    ASSERT_EQ(B.C(), 2);
    EXPECT_EQ(B.S1, 103);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(UMAS::CUTLEADSPACES(rows[1].EA), gr("ΓΑΜΜΑ"));
    const std::string csv = TESTS::readFile("Custs.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2);
    EXPECT_EQ(csv.find('\x18'), std::string::npos);
    ASSERT_EQ(notices.size(), 2u);
    for (const std::string& n : notices)
        EXPECT_NE(n.find("ΤΟ ΑΡΧΕΙΟ MF.DAT ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ - ΑΛΛΟΙΩΜΕΝΟΙ ΠΕΛΑΤΕΣ ΠΑΡΑΛΕΙΦΘΗΚΑΝ"), std::string::npos) << n;
}
