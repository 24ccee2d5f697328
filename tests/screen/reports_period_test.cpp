// The period reports over the invoice day chains: the movements and the expenses of a period with
// the accounting journal, the totals per period and one charge line over a period.
#include "reports/arp1.h"
#include "reports/arp3.h"
#include "reports_fixture.h"

using namespace REPTEST;

namespace {

class Period : public Reports {
protected:
    void SetUp() override {
        Reports::SetUp();
        TESTS::addCustomer("ΑΛΦΑ ΕΜΠΟΡΙΚΗ ΚΑΙ ΒΙΟΜΗΧΑΝΙΚΗ ΑΕ");
        TESTS::addCustomer("ΒΗΤΑ");
        store(0, 12, "050325", "ΑΛΦΑ", 100, 0, 0);    // 124: fee 100, VAT 24
        store(0, 57, "050325", "ΒΗΤΑ", 0, 50, 20);    // 50 + 20 + 4.80
        store(0, 3, "010325", "ΒΗΤΑ", 10);            // cancelled below
        store(0, 1, "150299", "ΑΛΦΑ", 34075);         // drachmas
        store(0, 9, "200425", "ΒΗΤΑ", 0, 0, 0);       // nothing charged
        patch("TM.DAT", 2, [](TIM0::RTIM& r) { r.AKNUM = 7; });
        patch("TM.DAT", 1, [](TIM0::RTIM& r) { r.FX[5] = 8000; });  // customs costs 80.00
    }
};

}  // namespace

TEST_F(Period, MovementsAndExpensesOfAPeriod) {
    ARP1::KIPRLIST L = ARP1::KIPRCOLLECT(4, UMAS::HMVAL("010199"), UMAS::HMVAL("311225"));
    ASSERT_EQ(L.CC(), 4) << "the cancelled invoice is left out";
    EXPECT_EQ(L.rows[0].HM, "150299");
    EXPECT_NEAR(L.rows[0].PI, 42253 / 340.75, 1e-9) << "a drachma invoice in euros";
    // 5 March: both numbers held with trailing blanks, the day's chain order stays
    EXPECT_EQ(L.rows[1].TM, "12    ");
    EXPECT_EQ(L.rows[1].EA, UMAS::padTo(gr("ΑΛΦΑ ΕΜΠΟΡΙΚΗ ΚΑΙ ΒΙΟΜΗΧΑΝ"), 26));
    EXPECT_DOUBLE_EQ(L.rows[1].PI, 124);
    EXPECT_DOUBLE_EQ(L.rows[1].AM, 100);
    EXPECT_DOUBLE_EQ(L.rows[1].FP, 24);
    EXPECT_EQ(L.rows[2].TM, "57    ");
    EXPECT_NEAR(L.rows[2].PI, 74.8, 1e-9);
    EXPECT_DOUBLE_EQ(L.rows[2].AM, 20);
    EXPECT_NEAR(L.S2, 100 + 20 + 34075 / 340.75, 1e-9);

    L = ARP1::KIPRCOLLECT(5, UMAS::HMVAL("010325"), UMAS::HMVAL("311225"));
    ASSERT_EQ(L.CC(), 3);
    EXPECT_DOUBLE_EQ(L.rows[0].PI, 124) << "the VAT of line 1 is counted";
    EXPECT_DOUBLE_EQ(L.rows[1].PI, 70) << "the fee's VAT is not counted in the expenses";
    EXPECT_DOUBLE_EQ(L.rows[1].AM, 80);
    EXPECT_DOUBLE_EQ(L.rows[1].FP, -10);
}

TEST_F(Period, JournalFileByteForByteAndReplacedByTheNext) {
    const ARP1::KIPRLIST L = ARP1::KIPRCOLLECT(4, UMAS::HMVAL("010325"), UMAS::HMVAL("311225"));
    ASSERT_EQ(L.CC(), 3);
    con->ch('N');
    ASSERT_TRUE(ARP1::KEFALAIO(L));
    const std::string first = TESTS::readFile("drives/c/LOGIS.TXT");
    expectGolden("journal.txt", first);
    // line lengths: 149, 149, 149, 137 and an empty line per row
    size_t at = 0;
    std::vector<size_t> lengths;
    while (at < first.size()) {
        const size_t e = first.find("\r\n", at);
        ASSERT_NE(e, std::string::npos);
        lengths.push_back(e - at);
        at = e + 2;
    }
    EXPECT_EQ(lengths, (std::vector<size_t>{149, 149, 149, 137, 0, 149, 149, 149, 137, 0, 149, 149, 149, 137, 0}));
    EXPECT_EQ(first.substr(12, 9), "       12") << "the number right-aligned without its blanks";
    EXPECT_EQ(first.substr(125, 24), std::string(20, ' ') + "0.00");

    const ARP1::KIPRLIST one = ARP1::KIPRCOLLECT(4, UMAS::HMVAL("200425"), UMAS::HMVAL("200425"));
    con->ch('N');
    ASSERT_TRUE(ARP1::KEFALAIO(one));
    const std::string second = TESTS::readFile("drives/c/LOGIS.TXT");
    EXPECT_EQ(second.size(), 149u * 3 + 137 + 5 * 2) << "the second export replaces the first";
    EXPECT_EQ(second.find("-0.00"), std::string::npos);
    con->ch('O');
    EXPECT_FALSE(ARP1::KEFALAIO(L));
    EXPECT_EQ(TESTS::readFile("drives/c/LOGIS.TXT"), second);
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

TEST_F(Period, PrintoutOf46RowsEndsEachPageWithAFormFeed) {
    for (int i = 1; i <= 43; ++i) store(0, 100 + i, ARP2::TWO(i % 28 + 1) + "0624", "ΒΗΤΑ", i);
    const ARP1::KIPRLIST L = ARP1::KIPRCOLLECT(4, UMAS::HMVAL("010624"), UMAS::HMVAL("311225"));
    ASSERT_EQ(L.CC(), 46);
    SCR::CALLM(63, true);
    ARP1::KIPRPRINT(L, 4, gr("ΙΟΥΝΙΟ 2024"), gr("ΔΕΚΕΜΒΡΙΟ 2025"));
    expectGolden("movements_46.prn", printed());
}

TEST_F(Period, TotalsPerMonthYearAndInvoice) {
    using ARP2::MODE;
    ARP1::PERIODLIST L = ARP1::PERIODWALK(MODE::MHN, "010225", "310425", 5000);
    ASSERT_EQ(L.CC(), 3);
    EXPECT_EQ(L.rows[0].HM, "010225");
    EXPECT_DOUBLE_EQ(L.rows[0].PI, 0) << "a month without invoices shows zeros";
    EXPECT_DOUBLE_EQ(L.rows[1].PI, 120);
    EXPECT_NEAR(L.rows[1].FP, 28.8, 1e-9);
    EXPECT_EQ(ARP1::LABELSHOWN(L.rows[1].HM, MODE::MHN), gr("ΜΑΡΤΙΟΣ 2025"));
    EXPECT_EQ(ARP1::LABELPRINTED(L.rows[2].HM, MODE::MHN), gr("ΑΠΡΙΛΙΟΣ 2025"));

    L = ARP1::PERIODWALK(MODE::MHN, "011124", "280225", 5000);
    ASSERT_EQ(L.CC(), 4);
    EXPECT_EQ(L.rows[3].HM, "010225");
    EXPECT_EQ(L.rows[2].HM, "010125");

    L = ARP1::PERIODWALK(MODE::ETH, "010198", "150625", 5000);
    ASSERT_EQ(L.CC(), 28);
    EXPECT_EQ(L.rows[0].HM, "010198");
    EXPECT_EQ(L.rows[1].HM, "010199");
    EXPECT_NEAR(L.rows[1].PI, 34075 / 340.75, 1e-9);
    EXPECT_EQ(L.rows[27].HM, "010125");
    EXPECT_EQ(ARP1::LABELPRINTED("010199", MODE::ETH), "1999");

    L = ARP1::PERIODWALK(MODE::HME, "010325", "311225", 5000);
    ASSERT_EQ(L.CC(), 3) << "one row per counted invoice, two of the same day";
    EXPECT_EQ(L.rows[0].HM, "050325");
    EXPECT_EQ(L.rows[1].HM, "050325");
    L = ARP1::PERIODWALK(MODE::HME, "010325", "311225", 2);
    EXPECT_EQ(L.CC(), 2);
    EXPECT_DOUBLE_EQ(L.SX, 120);

    UMAS::TIMEUR = 1;
    L = ARP1::PERIODWALK(MODE::ETH, "010199", "311225", 5000);
    EXPECT_DOUBLE_EQ(L.rows[0].PI, 34075);
    EXPECT_DOUBLE_EQ(L.rows.back().PI, 120 * 340.75);
    SCR::CALLM(63, true);
    ARP1::PLPRPRINT(L);
    expectGolden("periods_years.prn", printed());
}

TEST_F(Period, OneChargeLineOverAPeriod) {
    ARP3::ITEMLIST L = ARP3::KONDYLCOLLECT(18, UMAS::HMVAL("010325"), UMAS::HMVAL("311225"));
    ASSERT_EQ(L.CC(), 3) << "an invoice whose line is 0 is listed too";
    EXPECT_EQ(L.rows[0].TM, "12    ");
    EXPECT_DOUBLE_EQ(L.rows[0].PI, 0);
    EXPECT_DOUBLE_EQ(L.rows[1].PI, 20) << "the fee without VAT";
    EXPECT_DOUBLE_EQ(L.S1, 20);
    L = ARP3::KONDYLCOLLECT(1, UMAS::HMVAL("010199"), UMAS::HMVAL("311225"));
    ASSERT_EQ(L.CC(), 4);
    EXPECT_NEAR(L.rows[0].PI, 100, 1e-9);
    SCR::CALLM(63, true);
    ARP3::KONDYLPRINT(L, "010199 Πε", "311225 Τε");
    expectGolden("item_1.prn", printed());
}

TEST_F(Period, MovementsOnScreenWithTheJournalKey) {
    SCR::CALLM(46, true);  // as the customers menu does
    session([] { ARP1::KIPR(5); },
            {{date("0325") + std::vector<PLAT::Event>{ENTER} + date("1225") + std::vector<PLAT::Event>{ENTER},
              [&] {
                  EXPECT_EQ(at(5, 1, 8), gr("ΔΑΠΑΝΕΣ "));
                  EXPECT_EQ(at(35, 3, 11), gr("ΜΑΡΤΙΟ 2025"));
                  EXPECT_EQ(at(35, 4, 14), gr("ΔΕΚΕΜΒΡΙΟ 2025"));
                  EXPECT_EQ(at(31, 8, 9), gr("050325 Τε"));
                  EXPECT_EQ(at(24, 21, 3), "  3");
              }},
             {{SF2, PLAT::keyChar('N')}, [&] { EXPECT_TRUE(TESTS::exists("drives/c/LOGIS.TXT")); }},
             {{ESC}, nullptr},
             {date("0126") + std::vector<PLAT::Event>{ENTER} + date("0126") + std::vector<PLAT::Event>{ENTER}, [&] { EXPECT_EQ(SCR::STACKPOINTER(), 3); }},
             {{ESC}, nullptr},
             {{ESC}, nullptr}});
}

TEST_F(Period, ChargeLinePickerAndList) {
    SCR::CALLM(46, true);
    session([] { ARP3::KONDYL(); },
            {{std::vector<PLAT::Event>{PGDN},
              [&] {
                  EXPECT_EQ(at(59, 16, 2), " 2");
                  EXPECT_EQ(at(17, 7, 2), "10") << "the second page holds lines 10 to 18";
                  EXPECT_EQ(at(17, 15, 2), "18");
              }},
             {std::vector<PLAT::Event>{DOWN, DOWN, DOWN, DOWN, DOWN, DOWN, DOWN, DOWN, ENTER},
              [&] { EXPECT_EQ(at(4, 3, 20), UMAS::padTo(gr("ΑΜΟΙΒΗ"), 20)); }},
             {date("0325") + std::vector<PLAT::Event>{ENTER} + date("1225") + std::vector<PLAT::Event>{ENTER},
              [&] {
                  EXPECT_EQ(at(24, 21, 3), "  3");
                  EXPECT_EQ(at(52, 9, 9), "    20.00");
              }},
             {{ESC}, nullptr},
             {{UP}, [&] { EXPECT_EQ(SCR::STACKPOINTER(), 3) << "the picker again"; }},
             {{ESC}, nullptr}});
}

// The movements list of a period typed as a year: the to-date typed in full is shown as its year
// alone, over the whole field; the amount columns are headed by what they hold (value, fee, VAT).
TEST_F(Period, MovementsOfAYearShowTheToDateAsItsYear) {
    SCR::CALLM(46, true);  // as the customers menu does
    session([] { ARP1::KIPR(4); },
            {{date("2025") + std::vector<PLAT::Event>{ENTER} + date("151225") + std::vector<PLAT::Event>{ENTER},
              [&] {
                  EXPECT_EQ(at(35, 3, 16), UMAS::padTo("2025", 16));
                  EXPECT_EQ(at(35, 4, 16), UMAS::padTo("2025", 16));
                  EXPECT_EQ(at(24, 21, 3), "  3");
              }},
             {{SF1, PLAT::keyChar('N')}, nullptr},
             {{ESC}, nullptr},
             {{ESC}, nullptr}});
    const std::string p = printed();
    EXPECT_NE(p.find(gr("ΑΠΟ 2025 ΕΩΣ 2025")), std::string::npos);
}

// Each amount column of the list screens is headed, within the cells its values take, by what it
// holds.
TEST_F(Period, AmountColumnsAreHeadedByWhatTheyHold) {
    struct H {
        int mask, x, y, w;
        const char* head;
    };
    const H cases[] = {
        {46, 52, 6, 9, "ΑΞΙΑ"},       {46, 62, 6, 9, "ΑΜΟΙΒΗ"},     {46, 72, 6, 7, "Φ.Π.Α."},  // movements
        {10, 46, 6, 9, "ΑΜΟΙΒΗ"},     {10, 57, 6, 9, "Φ.Π.Α."},     {10, 68, 6, 9, "ΣΥΝΟΛΟ"},  // turnover
        {9, 16, 9, 10, "ΤΙΜΟΛΟΓΙΟ"},  {9, 27, 9, 10, "ΔΙΑΣΑΦΗΣΗ"},                            // one customer's invoices
    };
    for (const H& h : cases) {
        SCR::CALLM(h.mask, true);
        EXPECT_NE(at(h.x, h.y, h.w).find(gr(h.head)), std::string::npos)
            << "mask " << h.mask << " column " << h.x << ": " << PLAT::cp737ToUtf8(row(h.y));
        SCR::RECALL();
    }
}

// Each date label of the list screens ends before the date's field with a blank, so the date never
// reads glued to its label.
TEST_F(Period, DateLabelsLeaveABlankBeforeTheDate) {
    struct D {
        int mask, x, y;
    };
    const D cases[] = {
        {9, 49, 6},  {22, 49, 6}, {10, 49, 4},  // to-dates: one customer's invoices, ledger card, turnover
        {46, 35, 3}, {46, 35, 4},               // period movements, expenses, one charge item
        {18, 18, 2}, {18, 18, 3},               // declarations by date
    };
    for (const D& d : cases) {
        SCR::CALLM(d.mask, true);
        const std::string label = UMAS::trim(at(1, d.y, d.x - 1));
        EXPECT_EQ(at(d.x - 1, d.y, 1), " ") << "mask " << d.mask << ": " << PLAT::cp737ToUtf8(row(d.y));
        EXPECT_EQ(label.empty() ? ' ' : label.back(), ':') << "mask " << d.mask << ": " << PLAT::cp737ToUtf8(row(d.y));
        SCR::RECALL();
    }
}
