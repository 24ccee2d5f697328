// The reports add each document's VAT as the document itself rounds it, line by line to the cent, so
// that a report's rows are the documents' own totals and its totals the sums of its rows: the one
// customer's invoices, the ledger card, the movements and the expenses of a period, the totals per
// period and the turnover list, against what the invoices posted to the customer.
#include "reports/arp1.h"
#include "reports/arp3.h"
#include "reports_fixture.h"

using namespace REPTEST;

namespace {

// Two invoices whose VAT at 24 % falls between two cents: 201.10 on the taxed line 1 and 20.01 on
// the untaxed line 2 (VAT 48.264, on the invoice 48.26, total 269.37), 203.10 and 20.03 (VAT
// 48.744, on the invoice 48.74, total 271.87).
class DocumentVat : public Reports {
protected:
    uint16_t kosta = 0;
    void SetUp() override {
        Reports::SetUp();
        kosta = TESTS::addCustomer("KOSTA OLIVE OIL S.A.");
        TESTS::addCustomer("ΒΗΤΑ");
        store(0, 1, "011226", "KOSTA", 201.10, 20.01);
        store(0, 2, "021226", "KOSTA", 203.10, 20.03);
        APODI::EA = ARP0::KEY("KOSTA OLIVE OIL S.A.");
        APODI::AF = "099999999 ";
    }
    ARP2::KARPCARD card(const char* from) {
        return ARP2::KARPSEARCH(kosta, APODI::EA, APODI::AF, from, "101226");
    }
};

}  // namespace

TEST_F(DocumentVat, OneCustomersInvoicesAndLedgerCardAddUpToTheInvoicesAndTheBalances) {
    const ARP2::TIMPLIST L = ARP2::TIMPSEARCH(kosta, APODI::EA, APODI::AF, UMAS::HMVAL("011226"), UMAS::HMVAL("101226"));
    ASSERT_EQ(L.LM(), 2);
    EXPECT_NEAR(L.rows[0].XR, 269.37, 1e-9);
    EXPECT_NEAR(L.rows[0].PI, 201.10, 1e-9);
    EXPECT_NEAR(L.rows[0].FP, 48.26, 1e-9);
    EXPECT_NEAR(L.rows[1].XR, 271.87, 1e-9);
    EXPECT_NEAR(L.rows[1].FP, 48.74, 1e-9);
    EXPECT_NEAR(L.SX, 541.24, 1e-9);
    EXPECT_NEAR(L.SF, 97.00, 1e-9);

    ARP2::KARPCARD C = card("011226");
    ASSERT_EQ(C.rows.size(), 3u);
    EXPECT_NEAR(C.rows[1].XR, 269.37, 1e-9);
    EXPECT_NEAR(C.rows[2].XR, 271.87, 1e-9);
    EXPECT_EQ(ARP2::AMT(C.rows[2].YP, 10, 10), "    541.24") << "the running balance is the sum of the rows";
    EXPECT_EQ(ARP2::AMT(C.SX, 10, 10), "    541.24");
    // the customer's debit total as the balances report shows it: what the two invoices posted
    EXPECT_EQ(ARP3::YPOPAMOUNT(TESTS::customerXR(kosta), 10), "    541.24");

    // the first invoice before the from-date: in the balance row as it is on the invoice
    C = card("021226");
    ASSERT_EQ(C.rows.size(), 2u);
    EXPECT_NEAR(C.rows[0].XR, 269.37, 1e-9);
    EXPECT_EQ(ARP2::AMT(C.rows[1].YP, 10, 10), "    541.24");
}

TEST_F(DocumentVat, CreditNotesAndTheFeeLineAreRoundedAsTheirDocuments) {
    // 1.03 on line 1 (VAT 0.2472: 0.25) and 2.02 on the fee line 18 (VAT 0.4848: 0.48): 3.78
    store(0, 3, "031226", "KOSTA", 1.03, 0, 2.02);
    // a credit note of 201.10 on line 1: 249.36 (VAT 48.264 on the document 48.26)
    store(2, 1, "041226", "KOSTA", 201.10);
    const ARP2::KARPCARD C = card("011226");
    ASSERT_EQ(C.rows.size(), 5u);
    EXPECT_NEAR(C.rows[3].XR, 3.78, 1e-9);
    EXPECT_NEAR(C.rows[4].XR, -249.36, 1e-9);
    EXPECT_NEAR(C.rows[4].YP, 541.24 + 3.78 - 249.36, 1e-9);
    EXPECT_NEAR(C.SX, C.rows[4].YP, 1e-9);

    ARP1::KIPRLIST L = ARP1::KIPRCOLLECT(4, UMAS::HMVAL("031226"), UMAS::HMVAL("031226"));
    ASSERT_EQ(L.CC(), 1);
    EXPECT_NEAR(L.rows[0].PI, 3.78, 1e-9);
    EXPECT_NEAR(L.rows[0].AM, 3.05, 1e-9);
    EXPECT_NEAR(L.rows[0].FP, 0.73, 1e-9);
    // the expenses count the VAT of line 1 as on the invoice, not the fee's
    L = ARP1::KIPRCOLLECT(5, UMAS::HMVAL("031226"), UMAS::HMVAL("031226"));
    ASSERT_EQ(L.CC(), 1);
    EXPECT_NEAR(L.rows[0].PI, 1.03 + 0.25 + 2.02, 1e-9);
}

TEST_F(DocumentVat, PeriodReportsTotalTheInvoices) {
    store(0, 7, "051226", "ΒΗΤΑ", 0, 0, 0.10);  // the fee line alone: VAT 0.024, on the invoice 0.02
    const int32_t z0 = UMAS::HMVAL("011226"), z1 = UMAS::HMVAL("311226");

    const ARP1::KIPRLIST M = ARP1::KIPRCOLLECT(4, z0, z1);
    ASSERT_EQ(M.CC(), 3);
    EXPECT_NEAR(M.rows[0].PI, 269.37, 1e-9);
    EXPECT_NEAR(M.rows[0].FP, 48.26, 1e-9);
    EXPECT_NEAR(M.rows[2].PI, 0.12, 1e-9);
    EXPECT_NEAR(M.S1, 541.36, 1e-9) << "the sum of the invoices' totals";
    EXPECT_NEAR(M.S2, 404.30, 1e-9);
    EXPECT_NEAR(M.S3, 97.02, 1e-9);

    using ARP2::MODE;
    for (MODE mo : {MODE::HME, MODE::MHN, MODE::ETH}) {
        // a year's row starts on the 1st of January
        const ARP1::PERIODLIST P = ARP1::PERIODWALK(mo, mo == MODE::ETH ? "010126" : "011226", "311226", ARP1::PLPR_ROWS);
        ASSERT_FALSE(P.rows.empty());
        EXPECT_NEAR(P.rows[0].FP, mo == MODE::HME ? 48.26 : 97.02, 1e-9) << int(mo);
        EXPECT_NEAR(P.SX, 404.30, 1e-9) << int(mo);
        EXPECT_NEAR(P.SP, 97.02, 1e-9) << int(mo);
    }

    const ARP1::TURNOVER T = ARP1::PRPLCOLLECT(std::string(30, ' '), UMAS::padTo(gr("Ω"), 30), z0, z1, false);
    ASSERT_EQ(T.CC(), 2);
    for (const ARP1::BFT& b : T.K1)
        EXPECT_NEAR(b.FP, b.EP.rfind("KOSTA", 0) == 0 ? 97.00 : 0.02, 1e-9) << b.EP;
    EXPECT_NEAR(T.SX, 97.02, 1e-9);
}
