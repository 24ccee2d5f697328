// The report frame (date entry, lookup, sort, paging) and the reports of one customer: the invoices
// list and the ledger card, over a company whose invoices and credit notes are stored as the
// invoice editor stores them.
#include <random>

#include "reports/arp1.h"
#include "reports_fixture.h"

using namespace REPTEST;

// ---- Date entry -----------------------------------------------------------------------------------

TEST(ReportDates, ShortFormsWithTodayFixed) {
    PLAT::setFixedNow(PLAT::DateTime{2026, 12, 10, 10, 0, 0, 0});
    ARP2::TODAY();
    ARP0::H = 10;
    ARP0::M = 12;
    struct Case {
        const char* typed;
        bool to;
        bool ok;
        const char* text;
        ARP2::MODE form;
    } cases[] = {
        {"", false, true, "101226", ARP2::MODE::HME},
        {"5", false, true, "051226", ARP2::MODE::HME},
        {"15", false, true, "151226", ARP2::MODE::HME},
        {"0309", false, true, "010309", ARP2::MODE::MHN},
        {"309", false, true, "010309", ARP2::MODE::MHN},
        {"2005", false, true, "010105", ARP2::MODE::ETH},
        {"1299", false, true, "011299", ARP2::MODE::MHN},
        {"0209", true, true, "280209", ARP2::MODE::MHN},
        {"0204", true, true, "290204", ARP2::MODE::MHN},
        {"2004", true, true, "311204", ARP2::MODE::ETH},
        {"0410", true, true, "300410", ARP2::MODE::MHN},
        {"0121", false, true, "010121", ARP2::MODE::MHN},   // 2021 lies within 1990-2049
        {"2049", true, true, "311249", ARP2::MODE::ETH},
        {"0150", false, false, "0150", ARP2::MODE::HME},    // neither a month of 1990-2049 nor a year
        {"3000", false, false, "3000", ARP2::MODE::HME},
        {"000000", false, false, "000000", ARP2::MODE::HME},
        {"320110", false, false, "320110", ARP2::MODE::HME},
        {"300289", false, false, "300289", ARP2::MODE::HME},  // 1989 is before 1990
        {"300290", false, true, "280290", ARP2::MODE::HME},
        {"310496", true, true, "300496", ARP2::MODE::HME},
        {"10195", false, true, "010195", ARP2::MODE::HME},
        {"150150", false, false, "150150", ARP2::MODE::HME},  // 2050
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        std::string t = c.typed;
        ARP2::MODE f = ARP2::MODE::HME;
        EXPECT_EQ(ARP2::COMPLETE(t, c.to, f), c.ok);
        EXPECT_EQ(t, c.text);
        if (c.ok) EXPECT_EQ(f, c.form);
    }
    EXPECT_EQ(ARP2::SHOWDATE("010305", ARP2::MODE::MHN), gr("ΜΑΡΤΙΟ 2005"));
    EXPECT_EQ(ARP2::SHOWDATE("010195", ARP2::MODE::ETH), "1995");
    EXPECT_EQ(ARP2::SHOWDATE("101226", ARP2::MODE::HME), gr("101226 Πε"));
    PLAT::setFixedNow(std::nullopt);
}

TEST(ReportDates, DayBeforeTheFromDate) {
    struct Case {
        const char *from, *before;
    } cases[] = {{"010308", "290208"}, {"010309", "280209"}, {"010110", "311209"}, {"010100", "311299"},
                 {"150609", "140609"}, {"010510", "300410"}, {"010210", "310110"}, {"011210", "301110"}};
    for (const auto& c : cases) EXPECT_EQ(ARP2::DAYBEFORE(c.from), c.before) << c.from;
}

TEST(ReportSort, KeysAndTheExchangeOrderOfEqualKeys) {
    EXPECT_EQ(ARP2::DOCNUMBER("57    "), 0) << "a trailing blank gives 0";
    EXPECT_EQ(ARP2::DOCNUMBER("    57"), 57);
    EXPECT_EQ(ARP2::DOCNUMBER("5a    "), 0);
    EXPECT_EQ(ARP2::HVAL("010105", 7), (1 + 31 * 1 + 372 * 105) * 100000LL + 7);
    EXPECT_EQ(ARP2::HVAL("311299", 0), (31 + 31 * 12 + 372 * 99) * 100000LL);
    // rows 5, 3a, 3b, 1: the exchanges leave 1, 3b, 3a, 5
    std::vector<std::string> rows = {"5", "3a", "3b", "1"};
    std::vector<int64_t> keys = {5, 3, 3, 1};
    ARP2::SORT(rows, keys, 4);
    EXPECT_EQ(rows, (std::vector<std::string>{"1", "3b", "3a", "5"}));
    EXPECT_EQ(keys, (std::vector<int64_t>{1, 3, 3, 5}));
}

TEST(ReportNames, NextNameInCollation) {
    const std::string a = UMAS::padTo("ABC", 30);
    std::string want = a;
    want[29] = ARP0::AB[1];
    EXPECT_EQ(ARP2::NEXTNAME(a), want);
    std::string amp = a;
    amp[29] = '&';
    std::string w2 = amp;
    w2[28] = ARP0::AB[1];
    EXPECT_EQ(ARP2::NEXTNAME(amp), w2);
    std::string odd = a;
    odd[29] = '!';
    std::string w3 = a;
    w3[29] = ' ';
    EXPECT_EQ(ARP2::NEXTNAME(odd), w3) << "a character outside the alphabet becomes a blank";
}

// ---- The company ------------------------------------------------------------------------------------

namespace {

class OneCustomer : public Reports {
protected:
    uint16_t alpha = 0, beta = 0, gamma = 0;
    void SetUp() override {
        Reports::SetUp();
        alpha = TESTS::addCustomer("ΑΛΦΑ ΕΜΠΟΡΙΚΗ");
        beta = TESTS::addCustomer("ΒΗΤΑ ΜΕΤΑΦΟΡΙΚΗ");
        gamma = TESTS::addCustomer("ΓΑΜΜΑ ΑΕ");
        // ΑΛΦΑ: two invoices of 5 March 2025 (numbered 12 and 7), one of 1999 in drachmas, one
        // before the range, one cancelled, one of another customer in the chain
        store(0, 12, "050325", "ΑΛΦΑ", 100, 50);     // value 174, fee 100, VAT 24
        store(0, 7, "050325", "ΑΛΦΑ", 10);           // 12.40
        store(0, 3, "200125", "ΑΛΦΑ", 0, 0, 100);    // fee line 18: 124
        store(0, 1, "150299", "ΑΛΦΑ", 34075);        // drachmas: 34075 + 24 % = 42253
        store(0, 2, "010225", "ΑΛΦΑ", 1000);         // cancelled below
        store(0, 4, "010325", "ΑΛΦΑ", 200);          // another customer's name and tax number
        store(0, 5, "010325", "ΒΗΤΑ", 50);
        patch("TM.DAT", 4, [](TIM0::RTIM& r) { r.AKPAIP = 1; });
        patch("TM.DAT", 5, [](TIM0::RTIM& r) {
            r.EA = UMAS::padTo("ZZZ", 30);
            r.AF = "123456789 ";
        });
    }
    ARP2::TIMPLIST search(uint16_t pr, const char* from, const char* to) {
        APODI::EA = ARP0::KEY(gr(pr == alpha ? "ΑΛΦΑ ΕΜΠΟΡΙΚΗ" : "ΒΗΤΑ ΜΕΤΑΦΟΡΙΚΗ"));
        APODI::AF = "099999999 ";
        return ARP2::TIMPSEARCH(pr, APODI::EA, APODI::AF, UMAS::HMVAL(from), UMAS::HMVAL(to));
    }
};

}  // namespace

TEST_F(OneCustomer, InvoicesOfTheRangeSortedWithTotals) {
    ARP2::TIMPLIST L = search(alpha, "010225", "311225");
    ASSERT_EQ(L.LM(), 2) << "the cancelled invoice, the other customer's and those out of range are left out";
    // both of 5 March have N = 0 (numbers held with trailing blanks): the chain gives 12, 7 and the
    // exchanges keep them so
    EXPECT_EQ(L.rows[0].TM, "12    ");
    EXPECT_EQ(L.rows[1].TM, "7     ");
    EXPECT_DOUBLE_EQ(L.rows[0].XR, 174);
    EXPECT_DOUBLE_EQ(L.rows[0].PI, 100);
    EXPECT_DOUBLE_EQ(L.rows[0].FP, 24);
    EXPECT_DOUBLE_EQ(L.SX, 174 + 12.4);
    EXPECT_DOUBLE_EQ(L.SP, 110);
    EXPECT_NEAR(L.SF, 26.4, 1e-9);

    L = search(alpha, "010199", "311225");
    ASSERT_EQ(L.LM(), 4);
    EXPECT_EQ(L.rows[0].HM, "150299");
    EXPECT_NEAR(L.rows[0].XR, 42253 / 340.75, 1e-9) << "a drachma invoice shown in euros";
    EXPECT_EQ(L.rows[1].HM, "200125");
    EXPECT_DOUBLE_EQ(L.rows[1].PI, 100) << "line 18 is always the fee";

    UMAS::TIMEUR = 1;
    L = search(alpha, "010199", "311225");
    EXPECT_DOUBLE_EQ(L.rows[0].XR, 42253);
    EXPECT_DOUBLE_EQ(L.rows[2].XR, 174 * 340.75);
    EXPECT_EQ(ARP2::AMT(12345 / 100.0 * 340.75, 10, 9), "    42066");
}

TEST_F(OneCustomer, LedgerCardWithBalanceRowAndCreditNotes) {
    store(2, 1, "060325", "ΑΛΦΑ", 50);          // credit note of 62
    store(2, 2, "100125", "ΑΛΦΑ", 10);          // before the range: 12.40
    receipt(1, "050325", "ΑΛΦΑ", "100", false, "ΕΝΑΝΤΙ");  // a collection of the range
    receipt(2, "070325", "ΑΛΦΑ", "30", true);             // a payment: a credit of -30
    receipt(3, "100225", "ΑΛΦΑ", "50");                   // before the range
    receipt(4, "070325", "ΒΗΤΑ", "999");                  // another customer
    APODI::EA = ARP0::KEY(gr("ΑΛΦΑ ΕΜΠΟΡΙΚΗ"));
    APODI::AF = "099999999 ";
    ARP2::KARPCARD C = ARP2::KARPSEARCH(alpha, APODI::EA, APODI::AF, "010325", "311225");
    ASSERT_EQ(C.LM, 4);
    EXPECT_EQ(C.LL, 2);
    ASSERT_EQ(C.rows.size(), 6u);
    EXPECT_EQ(C.rows[0].HM, "280225");
    EXPECT_EQ(C.rows[0].AI, gr("ΥΠΟΛΟΙΠΟ ΕΩΣ 28/02/25"));
    const double before = 42253 / 340.75 + 124 - 12.4;
    EXPECT_NEAR(C.rows[0].XR, before, 1e-9);
    EXPECT_DOUBLE_EQ(C.rows[0].PI, 50);
    // 5 March: invoice 7 before invoice 12 (numbers from the description), then the receipt, the
    // credit note of the 6th, the payment of the 7th
    EXPECT_EQ(C.rows[1].AI, gr(" ΤΙΜΟΛΟΓΙΟ 7     "));
    EXPECT_EQ(C.rows[2].AI, gr(" ΤΙΜΟΛΟΓΙΟ 12    "));
    EXPECT_EQ(C.rows[3].AI, UMAS::padTo(gr("ΑΠ. 1 ΕΝΑΝΤΙ"), 22));
    EXPECT_DOUBLE_EQ(C.rows[3].PI, 100);
    EXPECT_EQ(C.rows[4].AI, gr(" ΠΙΣΤΩΤΙΚΟ 1     "));
    EXPECT_DOUBLE_EQ(C.rows[4].XR, -62);
    EXPECT_EQ(C.rows[5].AI.substr(0, 9), gr("ΑΠ.ΠΛ. 2 "));
    EXPECT_DOUBLE_EQ(C.rows[5].PI, -30);
    const double last = before - 50 + 12.4 + 174 - 100 - 62 + 30;
    EXPECT_NEAR(C.rows[5].YP, last, 1e-9);
    EXPECT_NEAR(C.SX - C.SP, C.rows[5].YP, 1e-9) << "the balance of the totals is the last running balance";

    // only documents before the from-date: one row, the balance
    C = ARP2::KARPSEARCH(alpha, APODI::EA, APODI::AF, "010126", "101226");
    ASSERT_EQ(C.rows.size(), 1u);
    EXPECT_NEAR(C.rows[0].YP, last, 1e-9);
}

// A chain whose last node links back into the chain (a loop): the reports count every document of
// it once, as from the sound chain.
TEST_F(OneCustomer, ChainsThatLoopCountEachDocumentOnce) {
    store(2, 1, "060325", "ΑΛΦΑ", 50);
    store(0, 20, "050325", "ΒΗΤΑ", 5);  // a third invoice of 5 March
    receipt(1, "050325", "ΑΛΦΑ", "100");
    receipt(2, "070325", "ΑΛΦΑ", "30", true);
    receipt(3, "100225", "ΑΛΦΑ", "50");
    APODI::EA = ARP0::KEY(gr("ΑΛΦΑ ΕΜΠΟΡΙΚΗ"));
    APODI::AF = "099999999 ";
    auto card = [&] {
        const ARP2::KARPCARD C = ARP2::KARPSEARCH(alpha, APODI::EA, APODI::AF, "010325", "311225");
        return std::vector<double>{double(C.LM), double(C.LL), C.SX, C.SP, C.rows[0].XR};
    };
    auto day = [&] {
        const ARP1::KIPRLIST L = ARP1::KIPRCOLLECT(4, UMAS::HMVAL("050325"), UMAS::HMVAL("050325"));
        return std::vector<double>{double(L.CC()), L.S1, L.S2, L.S3};
    };
    // The last node of the chain of head `head` in `chains` made to link back to its first node
    // after the head (the head itself when the chain has no other).
    auto loop = [&](const char* chains, int32_t heads, int32_t head) {
        std::string b = TESTS::readFile(file(chains));
        auto* p = reinterpret_cast<uint8_t*>(b.data());
        std::vector<int32_t> nodes{head};
        for (APODI::RTIM1 n = APODI::RTIM1::decode(p + head * 4); n.NR >= heads && nodes.size() < 100;
             n = APODI::RTIM1::decode(p + n.NR * 4))
            nodes.push_back(n.NR);
        ASSERT_GE(nodes.size(), 3u) << chains << ": a chain of two documents at least";
        APODI::RTIM1 last = APODI::RTIM1::decode(p + nodes.back() * 4);
        last.NR = uint16_t(nodes[1]);
        last.encode(p + nodes.back() * 4);
        TESTS::writeFile(file(chains), b);
    };
    struct Case {
        const char* chains;
        int32_t heads, head;
        std::function<std::vector<double>()> result;
    } cases[] = {
        {"TPE.DAT", APODI::PEHEADS, alpha, card},
        {"APE.DAT", APODI::PEHEADS, alpha, card},
        {"TH.DAT", APODI::DAYHEADS, UMAS::HMVAL("050325"), day},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chains);
        const std::string sound = TESTS::readFile(file(c.chains));
        const std::vector<double> want = c.result();
        loop(c.chains, c.heads, c.head);
        EXPECT_EQ(c.result(), want);
        TESTS::writeFile(file(c.chains), sound);
    }
}

// Receipts whose reason holds a number with an exponent where the card reads a row's number: they
// sort as rows without a number (last of their day), never before the balance row.
TEST_F(OneCustomer, LedgerRowNumbersWithAnExponentSortLastOfTheirDay) {
    receipt(5, "050325", "ΑΛΦΑ", "10", false, "ΤΙΜΟ  9E99");
    receipt(6, "050325", "ΑΛΦΑ", "10", false, "ΤΙΜΟ -9E99");
    APODI::EA = ARP0::KEY(gr("ΑΛΦΑ ΕΜΠΟΡΙΚΗ"));
    APODI::AF = "099999999 ";
    const ARP2::KARPCARD C = ARP2::KARPSEARCH(alpha, APODI::EA, APODI::AF, "010325", "311225");
    ASSERT_EQ(C.rows.size(), 5u);
    EXPECT_EQ(C.rows[0].AI, gr("ΥΠΟΛΟΙΠΟ ΕΩΣ 28/02/25"));
    EXPECT_EQ(C.rows[1].AI, gr(" ΤΙΜΟΛΟΓΙΟ 7     "));
    EXPECT_EQ(C.rows[2].AI, gr(" ΤΙΜΟΛΟΓΙΟ 12    "));
    for (size_t i : {3u, 4u}) EXPECT_EQ(C.rows[i].AI.substr(0, 4), gr("ΑΠ. ")) << i;
}

TEST_F(OneCustomer, LookupByNameExactNextOrLast) {
    struct Case {
        const char* typed;
        uint16_t* want;
    } cases[] = {{"ΒΗΤΑ ΜΕΤΑΦΟΡΙΚΗ", &beta}, {"ΑΛ", &alpha}, {"ΒΑ", &beta}, {"", &alpha}, {"ΩΩ", &gamma},
                 {"9", &gamma}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        APODI::EA = UMAS::padTo(gr(c.typed), 30);
        ARP2::CHEP();
        EXPECT_EQ(APODI::PR, *c.want);
    }
    EXPECT_EQ(APODI::PO, gr("ΠΕΙΡΑΙΑΣ"));
}

TEST_F(OneCustomer, InvoicesListOnScreenPagingAndPrintouts) {
    // 13 invoices of ΓΑΜΜΑ in January 2024
    for (int i = 1; i <= 13; ++i) store(0, 100 + i, ARP2::TWO(i) + "0124", "ΓΑΜΜΑ", i);
    SCR::CALLM(9, true);  // as the customers menu does
    session([] { ARP2::TIMP(); },
            {{typed(gr("ΓΑ")) + std::vector<PLAT::Event>{ENTER},
              [&] {
                  EXPECT_EQ(at(15, 2, 30), UMAS::padTo(gr("ΓΑΜΜΑ ΑΕ"), 30));
                  EXPECT_EQ(at(56, 4, 10), "099999999 ");
              }},
             {{ENTER}, nullptr},
             {date("0124") + std::vector<PLAT::Event>{ENTER} + date("0124") + std::vector<PLAT::Event>{ENTER},
              [&] {
                  EXPECT_EQ(at(27, 6, 9), gr("010124 Δε"));
                  EXPECT_EQ(at(49, 6, 9), gr("310124 Τε"));
                  EXPECT_EQ(at(5, 10, 9), gr("010124 Δε"));
                  EXPECT_EQ(at(16, 10, 6), "101   ");
                  EXPECT_EQ(at(38, 10, 10), "      1.24");
                  EXPECT_EQ(at(25, 23, 3), " 13");
                  EXPECT_EQ(at(5, 21, 6), "120124");
              }},
             {{PGDN},
              [&] {
                  EXPECT_EQ(at(5, 10, 6), "130124");
                  EXPECT_EQ(at(5, 11, 9), std::string(9, ' '));
              }},
             {{PGDN}, [&] { EXPECT_EQ(at(5, 10, 6), "130124"); }},
             {{PGUP, DOWN}, [&] { EXPECT_EQ(at(5, 10, 6), "020124"); }},
             {{ESC}, [&] { EXPECT_EQ(at(15, 2, 8), gr("ΓΑΜΜΑ ΑΕ")); }},
             // a range without invoices: the notice until Esc, then the prompt
             {std::vector<PLAT::Event>{ENTER} + date("0125") + std::vector<PLAT::Event>{ENTER} + date("0125") + std::vector<PLAT::Event>{ENTER},
              [&] { EXPECT_EQ(SCR::STACKPOINTER(), 3); }},
             {{ESC}, nullptr},
             {{ESC}, nullptr}});
    EXPECT_EQ(APODI::PR, gamma) << "the customer chosen stays current";
}

TEST_F(OneCustomer, PrintoutsOf45And46Rows) {
    for (int i = 1; i <= 46; ++i) store(0, 200 + i, ARP2::TWO((i - 1) % 28 + 1) + ARP2::TWO((i - 1) / 28 + 1) + "24", "ΓΑΜΜΑ", i);
    store(2, 1, "150324", "ΓΑΜΜΑ", 5);
    APODI::EA = ARP0::KEY(gr("ΓΑΜΜΑ ΑΕ"));
    APODI::AF = "099999999 ";
    APODI::DI = UMAS::padTo(gr("ΟΔΟΣ 1"), 30);
    APODI::PO = UMAS::padTo(gr("ΠΕΙΡΑΙΑΣ"), 20);
    APODI::TH[1] = UMAS::padTo("2100000000", 13);
    for (const char* to : {"170224", "180224"}) {
        const ARP2::TIMPLIST L = ARP2::TIMPSEARCH(gamma, APODI::EA, APODI::AF, UMAS::HMVAL("010124"), UMAS::HMVAL(to));
        ASSERT_EQ(L.LM(), to[1] == '7' ? 45 : 46);
        SCR::CALLM(63, true);  // the question's mask, removed by the printout
        ARP2::TIMPPRINT(L);
        expectGolden(std::string("invoices_") + std::to_string(L.LM()) + ".prn", printed());
    }
    // the ledger card of February 2024 with the balance row: 18 invoices + balance + credit note
    UMAS::TIMEUR = 1;
    const ARP2::KARPCARD C = ARP2::KARPSEARCH(gamma, APODI::EA, APODI::AF, "010224", "310324");
    ASSERT_EQ(C.LM + C.LL, 20);
    SCR::CALLM(63, true);
    ARP2::KARPPRINT(C, "010224", "310324");
    expectGolden("ledger_drachmas.prn", printed());
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

TEST(ReportSort, TheFastExchangeEqualsThePairwiseWalk) {
    std::mt19937 rnd{7};
    for (int round = 0; round < 200; ++round) {
        const int n = int(rnd() % 60);
        std::vector<int64_t> keys(static_cast<size_t>(n)), want;
        for (auto& k : keys) k = int64_t(rnd() % (round % 3 == 0 ? 4 : 1000));
        want = keys;
        std::vector<int32_t> at(static_cast<size_t>(n)), wantAt;
        for (int i = 0; i < n; ++i) at[size_t(i)] = i;
        wantAt = at;
        for (int i = 0; i < n - 1; ++i)
            for (int j = i + 1; j < n; ++j)
                if (want[size_t(i)] > want[size_t(j)]) {
                    std::swap(want[size_t(i)], want[size_t(j)]);
                    std::swap(wantAt[size_t(i)], wantAt[size_t(j)]);
                }
        ARP2::EXCHANGE(keys, at, n);
        EXPECT_EQ(keys, want);
        ASSERT_EQ(at, wantAt) << "round " << round;
    }
}

TEST_F(OneCustomer, ReportReadOfAnInvoiceAgreesWithTheRecord) {
    std::string b = TESTS::readFile(file("TM.DAT"));
    PLAT::File f(UMAS::PATH + "TM.DAT", PLAT::File::READ);
    for (uint16_t n = 0; n < 7; ++n) {
        const TIM0::RTIM whole = TIM0::RTIM::decode(reinterpret_cast<const uint8_t*>(b.data()) + n * TIM0::RTIM::SIZE);
        TIM0::RTIM part;
        ASSERT_TRUE(ARP2::READDOC(f, n, part));
        EXPECT_EQ(part.TM, whole.TM);
        EXPECT_EQ(part.HM, whole.HM);
        EXPECT_EQ(part.KD, whole.KD);
        EXPECT_EQ(part.PR, whole.PR);
        EXPECT_EQ(part.EA, whole.EA);
        EXPECT_EQ(part.AF, whole.AF);
        EXPECT_EQ(part.XR, whole.XR);
        for (size_t k = 13; k <= 16; ++k) EXPECT_EQ(part.AI[k], whole.AI[k]);
        EXPECT_EQ(part.FX, whole.FX);
        EXPECT_EQ(part.FF[1], whole.FF[1]);
        EXPECT_EQ(part.AKNUM, whole.AKNUM);
        EXPECT_EQ(part.AKPAIP, whole.AKPAIP);
    }
    TIM0::RTIM none;
    EXPECT_FALSE(ARP2::READDOC(f, 7, none));
}
