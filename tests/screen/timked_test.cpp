// The professional-expenses statement (its sum into charge line 8, the total carried back, the free
// reasons, its printout against a golden file) and the rate table editor (row 1 from the taxed
// lines, Tab taking the VAT out).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "common/umas.h"
#include "config/params.h"
#include "helpers/fixture.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "screen/scr.h"

using PLAT::gr;
namespace SC = PLAT::SC;

namespace {

class InvoiceSideScreens : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
        PLAT::setFixedNow(PLAT::DateTime{2026, 12, 10, 10, 0, 0, 0});
        PARAMS::PARTIM1 = {};
        PARAMS::PARTIM1[1] = gr("_ΑΜΟΙΒΗ");
        PARAMS::PARTIM1[8] = gr("ΚΕΔ");
        PARAMS::PARTIM1[18] = gr("ΛΟΙΠΑ=24");
        TIM0::FP = "24";
        t.CLLS();
        TIM0::HM = "101226";
        TIM0::EUROYEAR = 26;
    }
    void TearDown() override {
        PLAT::setFixedNow(std::nullopt);
        Installation::TearDown();
    }
    void enter(int n = 1) {
        for (int i = 0; i < n; ++i) con->ch(13);
    }
    void typed(const char* utf8) { con->keys(gr(utf8)); }
    int ked() {
        int K = 4;
        TIM0::KED(K);
        EXPECT_EQ(con->pending(), 0u);
        EXPECT_EQ(SCR::STACKPOINTER(), 0);
        return K;
    }
    TIM::TIMOS t;
};

TEST_F(InvoiceSideScreens, StatementOpenedAndLeftWithoutChange) {
    TIM0::DX[1] = 10;
    TIM0::DX[14] = 5;
    TIM0::XR[8] = 15;
    TIM0::XR[1] = 100;
    t.BOX();
    const double su = TIM0::SU;
    con->ch(27);
    EXPECT_EQ(ked(), 0);
    EXPECT_DOUBLE_EQ(TIM0::XR[8], 15);
    EXPECT_DOUBLE_EQ(TIM0::SU, su);
}

TEST_F(InvoiceSideScreens, StatementSumBecomesLine8AndTheTotalFollows) {
    // The line differed from its statement: opening and leaving makes it the sum.
    TIM0::DX[2] = 20;
    TIM0::XR[8] = 100;
    t.BOX();
    ASSERT_DOUBLE_EQ(TIM0::SU, 100);
    typed("10");
    enter();
    con->ch(27);
    ked();
    EXPECT_DOUBLE_EQ(TIM0::DX[1], 10);
    EXPECT_DOUBLE_EQ(TIM0::XR[8], 30);
    EXPECT_DOUBLE_EQ(TIM0::SU, 30);
    EXPECT_EQ(PLAT::cp737ToUtf8(con->text(69, 24, 10)), "     30.00");

    // A taxed line 8: its VAT is part of the total after the statement.
    PARAMS::PARTIM1[8] = gr("_ΚΕΔ");
    TIM0::FF[1] = "24";
    con->ch(27);
    ked();
    EXPECT_DOUBLE_EQ(TIM0::SU, 30 + 7.2);
}

TEST_F(InvoiceSideScreens, StatementKeysAndFreeReasons) {
    // Up on line 1 stays there; then down every line, a reason typed for line 12, Enter on 14 leaves.
    con->key(SC::UP);
    typed("1");
    enter(11);  // lines 2..11, then the reason of line 12
    typed("ΔΙΚΗ ΜΟΥ ΑΙΤΙΑ");
    enter();
    typed("3");
    enter(4);  // amount 12 -> reason 13 -> amount 13 -> line 14 -> leave
    const int K = ked();
    EXPECT_EQ(K, 0);
    EXPECT_DOUBLE_EQ(TIM0::DX[1], 1);
    EXPECT_DOUBLE_EQ(TIM0::DX[12], 3);
    EXPECT_EQ(UMAS::CUTLEADSPACES(TIM0::DP[1]), gr("ΔΙΚΗ ΜΟΥ ΑΙΤΙΑ"));
    EXPECT_DOUBLE_EQ(TIM0::XR[8], 4);
}

using TESTS::expectGolden;

TEST_F(InvoiceSideScreens, StatementPrintout) {
    UMAS::USER_ID = "1";
    for (int i = 1; i <= 7; ++i) UMAS::LOGOTYPO[size_t(i)] = "HEADER LINE " + std::to_string(i);
    for (int i = 1; i <= 11; ++i) PARAMS::DEP[size_t(i)] = "REASON " + std::to_string(i);
    PARAMS::DEP[12] = gr("ΔΙΚΗ ΜΟΥ ΑΙΤΙΑ");
    PARAMS::DEP[13] = "";
    TIM0::NO[8] = "17       ";
    APODI::EA = UMAS::padTo(gr("ΠΑΠΑΔΟΠΟΥΛΟΣ Α.Ε."), 30);
    APODI::ON = UMAS::padTo("SECOND LINE", 40);
    APODI::DI = UMAS::padTo(gr("ΟΔΟΣ 1"), 40);
    APODI::PO = UMAS::padTo(gr("ΠΕΙΡΑΙΑΣ"), 20);
    APODI::AF = "099999999 ";
    APODI::EF = gr("ΦΑΕ");
    TIM0::DX[1] = 1234.5;
    TIM0::DX[12] = 12;
    TIM0::DX[14] = 0.5;

    // "No": nothing is printed.
    con->ch('O');
    TIM0::EKKE();
    EXPECT_FALSE(TESTS::exists("drives/ports/LPT1"));

    con->ch('N');
    con->ch(13);  // one copy
    TIM0::EKKE();
    EXPECT_EQ(con->pending(), 0u);
    expectGolden("tim_ked.prn", TESTS::readFile("drives/ports/LPT1"));

    // Three copies, each handed to the port's command when it is closed, each ending in a form feed.
    TESTS::writeFile("PORTS.TXT", "LPT1 |cat >> copies.prn\r\n");
    con->ch('N');
    con->ch(25);
    con->keys("3");
    con->ch(13);
    TIM0::EKKE();
    const std::string copies = TESTS::readFile("copies.prn");
    const std::string one = TESTS::readFile(std::string(KORVEX_SOURCE_DIR) + "/tests/golden/tim_ked.prn");
    EXPECT_EQ(copies, one + one + one);
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

TEST_F(InvoiceSideScreens, RateTableRow1FromTheTaxedLinesAndTabTakesTheVatOut) {
    TIM0::XR[1] = 100;
    TIM0::XR[2] = 999;  // not taxed
    TIM0::XR[18] = 50;
    TIM0::FF[1] = "13";  // replaced by the screen's rate
    enter(2);            // amount and rate of row 1
    typed("124");
    enter();
    typed("24");
    con->ch(9);  // Tab: 124 at 24 % is 100 without VAT; then row 3
    std::string row1, slot1;
    auto done = std::make_shared<bool>(false);
    con->onIdle = [&, done] {
        if (*done) return;
        *done = true;
        row1 = PLAT::cp737ToUtf8(con->text(16, 7, 26));
        slot1 = PLAT::cp737ToUtf8(con->text(5, 16, 3) + con->text(16, 16, 10) + con->text(32, 16, 10));
        con->ch(27);
    };
    TIM0::PXP();
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
    EXPECT_DOUBLE_EQ(TIM0::FX[1], 150);
    EXPECT_EQ(TIM0::FF[1], " 24");
    EXPECT_DOUBLE_EQ(TIM0::FX[2], 100);
    EXPECT_EQ(row1, "    150.00  24       36.00");
    // One slot: rate 24 with both rows.
    EXPECT_EQ(slot1, " 24    250.00     60.00");

    // In a drachma year the amount is rounded to a whole number.
    TIM0::HM = "101201";
    TIM0::FX[2] = 1000;
    TIM0::FF[2] = "18";
    enter(3);
    con->ch(9);
    con->ch(27);
    con->onIdle = nullptr;
    TIM0::PXP();
    EXPECT_DOUBLE_EQ(TIM0::FX[2], 847);
}

}  // namespace
