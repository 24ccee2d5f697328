// The invoice record and the amount rule: stored units by the document's year, VAT per line, totals.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>

#include "config/params.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "invoicing/tim0.h"
#include "platform/codepage.h"

namespace {

using PLAT::gr;

struct AmountCase {
    const char* what;
    const char* HM;        // document date
    int K;                 // charge line
    const char* caption;   // item heading (lines 1..13, 18) or AI caption (14..17), UTF-8
    const char* rate;      // FF[1]
    double amount;         // in currency units
    int32_t stored;        // expected stored form
    double vat;            // expected VAT of the line
    const char* shown;     // the amount as displayed (10 characters)
};

const AmountCase CASES[] = {
    {"drachma tie goes to even", "150101", 1, "_ΑΜΟΙΒΗ", "", 1234.5, 1234, 0, "      1234"},
    {"drachma tie goes to even (up)", "150101", 1, "ΑΜΟΙΒΗ", "", 1235.5, 1236, 0, "      1236"},
    {"euro stored in cents", "150102", 1, "ΑΜΟΙΒΗ", "", 1234.50, 123450, 0, "   1234.50"},
    {"last drachma day", "311201", 2, "ΕΞΟΔΑ", "", 99.0, 99, 0, "        99"},
    {"first euro day", "010102", 2, "ΕΞΟΔΑ", "", 99.0, 9900, 0, "     99.00"},
    {"year 89 is euro", "010189", 2, "ΕΞΟΔΑ", "", 1.0, 100, 0, "      1.00"},
    {"year 90 is drachma", "010190", 2, "ΕΞΟΔΑ", "", 1.0, 1, 0, "         1"},
    {"year 00 is drachma", "010100", 2, "ΕΞΟΔΑ", "", 1.0, 1, 0, "         1"},
    {"a year that is no number is drachma", "0101AB", 2, "ΕΞΟΔΑ", "", 1.0, 1, 0, "         1"},
    {"23% on a heading with _", "150104", 1, "_ΑΜΟΙΒΗ", "23", 10.00, 1000, 2.30, "     10.00"},
    {"23% on a heading without _", "150104", 1, "ΑΜΟΙΒΗ", "23", 10.00, 1000, 0, "     10.00"},
    {"line 18 always carries VAT", "150104", 18, "ΛΟΙΠΑ=23", "23", 10.00, 1000, 2.30, "     10.00"},
    {"23% of 0.50 rounds half up", "150104", 3, "_ΦΥΛΑΞΗ", "23", 0.50, 50, 0.12, "      0.50"},
    {"13% of 0.50 rounds half up", "150104", 3, "_ΦΥΛΑΞΗ", "13", 0.50, 50, 0.07, "      0.50"},
    {"13% of 0.10 is 1.3 cents", "150104", 3, "_ΦΥΛΑΞΗ", "13", 0.10, 10, 0.01, "      0.10"},
    {"drachma VAT keeps cents", "150199", 3, "_ΦΥΛΑΞΗ", "13", 1005, 1005, 130.65, "      1005"},
    {"empty rate: no VAT", "150104", 1, "_ΑΜΟΙΒΗ", "", 10.00, 1000, 0, "     10.00"},
    {"caption of line 15 with _", "150104", 15, "_ΜΕΤΑΦΟΡΑ", "24", 100.00, 10000, 24.00, "    100.00"},
    {"caption of line 15 without _", "150104", 15, "ΜΕΤΑΦΟΡΑ", "24", 100.00, 10000, 0, "    100.00"},
    {"line 19 never carries VAT", "150104", 19, "", "24", 100.00, 10000, 0, "    100.00"},
    {"0.004 euro: stored 0, shown blank", "150104", 2, "ΕΞΟΔΑ", "", 0.004, 0, 0, "          "},
    {"0.005 euro: tie to even 0", "150104", 2, "ΕΞΟΔΑ", "", 0.005, 0, 0, "          "},
};

void PrintTo(const AmountCase& c, std::ostream* os) { *os << c.what; }

class Amounts : public ::testing::TestWithParam<AmountCase> {};

TEST_P(Amounts, StoredFormVatAndDisplay) {
    const AmountCase& c = GetParam();
    PARAMS::PARTIM1 = {};
    TIM0::AI = {};
    if (c.K >= 14 && c.K <= 17)
        TIM0::AI[size_t(c.K - 1)] = gr(c.caption);
    else if (c.K <= 18)
        PARAMS::PARTIM1[size_t(c.K)] = gr(c.caption);
    TIM0::XR.fill(0);
    TIM0::XR[size_t(c.K)] = c.amount;
    TIM0::FF = {};
    TIM0::FF[1] = c.rate;
    TIM0::HM = c.HM;
    const bool euro = TIM0::EURODOC(c.HM);

    EXPECT_EQ(TIM0::STORED(c.amount, euro), c.stored) << c.what;
    EXPECT_NEAR(TIM::TIMOS::EXEIFPA(c.K), c.vat, 1e-9) << c.what;
    EXPECT_EQ(TIM0::AMOUNTTEXT(c.amount, euro), c.shown) << c.what;

    // The total: every line 1..18 with its VAT; line 19 counts for nothing.
    TIM::TIMOS t;
    t.BOX();
    EXPECT_NEAR(TIM0::SU, c.K == 19 ? 0 : c.amount + c.vat, 1e-9) << c.what;
    // The stored form loads back to the stored amount, and the stored record's total is the same.
    EXPECT_NEAR(TIM0::LOADED(c.stored, euro), euro ? c.stored / 100.0 : c.stored, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Table, Amounts, ::testing::ValuesIn(CASES),
                         [](const ::testing::TestParamInfo<AmountCase>& i) { return "case" + std::to_string(i.index); });

TEST(Amounts, LoadByTheDocumentsYear) {
    EXPECT_DOUBLE_EQ(TIM0::LOADED(1999, TIM0::EURODOC("010102")), 19.99);
    EXPECT_DOUBLE_EQ(TIM0::LOADED(1999, TIM0::EURODOC("010199")), 1999);
}

TEST(Amounts, OutOfLongintRangeIsRefused) {
    bool ok = true;
    TIM0::STORED(21474836.47, true, ok);
    EXPECT_TRUE(ok);
    TIM0::STORED(21474836.48, true, ok);
    EXPECT_FALSE(ok);
    ok = true;
    TIM0::MYROUND(24.0 * 99999999.0, ok);
    EXPECT_FALSE(ok);
}

TEST(Amounts, CaptionChangeMovesVatInAndOut) {
    PARAMS::PARTIM1 = {};
    TIM0::AI = {};
    TIM0::XR.fill(0);
    TIM0::FF = {};
    TIM0::FF[1] = "24";
    TIM0::HM = "010105";
    TIM0::XR[15] = 50;
    TIM0::AI[14] = gr("_ΑΠΟΘΗΚΕΥΤΙΚΑ");
    TIM::TIMOS t;
    t.BOX();
    EXPECT_NEAR(TIM0::SU, 62.0, 1e-9);
    TIM0::AI[14] = gr("ΑΠΟΘΗΚΕΥΤΙΚΑ");
    t.BOX();
    EXPECT_NEAR(TIM0::SU, 50.0, 1e-9);
}

// The record's fields at their offsets.
TEST(Rtim, FieldsAtTheirOffsets) {
    TIM0::RTIM r;
    r.SEIRA = gr("ΑΒ");
    r.TM = "   15 ";
    r.HM = "010105";
    r.KD = "          ";
    r.PR = 7;
    r.EA = std::string(30, 'X');
    r.XR[1] = 1000;
    r.XR[19] = -5;
    r.NO[8] = "3        ";
    r.AI[16] = "_A";
    r.DX[14] = 77;
    r.DP[2] = "dp";
    r.FX[5] = 12345;
    r.FF[1] = 24;
    r.FF[8] = 13;
    r.FA[1] = gr("Πρακτορειακά");
    r.DS[22] = "last";
    r.PAIPS[1] = -1;
    r.PAIPS[4] = 99;
    r.AKNUM = 3;
    r.AKPAIP = 4;
    uint8_t b[TIM0::RTIM::SIZE];
    std::memset(b, 0xEE, sizeof b);
    r.encode(b);
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b[1], 0x80);
    EXPECT_EQ(b[2], 0x81);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b + 3), 7), std::string("\x06   15 ", 7));
    EXPECT_EQ(b[28], 7);
    EXPECT_EQ(b[29], 0);
    EXPECT_EQ(b[30], 30);
    EXPECT_EQ(PLAT::getL(b + 169), 1000);
    EXPECT_EQ(PLAT::getL(b + 169 + 72), -5);
    EXPECT_EQ(b[245 + 70], 9);
    EXPECT_EQ(b[245 + 71], '3');
    EXPECT_EQ(b[365 + 72], 2);  // AI[16]
    EXPECT_EQ(b[365 + 73], '_');
    EXPECT_EQ(PLAT::getL(b + 461 + 52), 77);
    EXPECT_EQ(b[517 + 42], 2);
    EXPECT_EQ(PLAT::getL(b + 601 + 16), 12345);
    EXPECT_EQ(PLAT::getW(b + 633), 24);
    EXPECT_EQ(PLAT::getW(b + 633 + 14), 13);
    EXPECT_EQ(b[649], 12);
    EXPECT_EQ(b[691 + 21 * 41], 4);
    EXPECT_EQ(PLAT::getL(b + 1593), -1);
    EXPECT_EQ(PLAT::getL(b + 1605), 99);
    EXPECT_EQ(PLAT::getL(b + 1609), 3);
    EXPECT_EQ(PLAT::getL(b + 1613), 4);
    EXPECT_EQ(b[1617], 0);
    // Unused bytes of strings are zero (the 0xEE fill is gone everywhere).
    for (size_t i = 0; i < sizeof b; ++i) EXPECT_NE(b[i], 0xEE) << "byte " << i;
    EXPECT_EQ(TIM0::RTIM::decode(b), r);
}

// XR[19] goes through load and store unchanged, drachma and euro.
TEST(Rtim, Line19RoundTrips) {
    for (const char* hm : {"010199", "010105"}) {
        TIM::TIMOS t;
        t.CLLS();
        TIM0::HM = hm;
        APODI::PR = 1;
        APODI::EA = "X";
        t.REC0();
        TIM0::RTIM r = t.R0;
        r.XR[19] = 123457;
        t.FROMREC(r);
        t.R0 = r;
        EXPECT_EQ(t.IMAGE().XR[19], 123457) << hm;
        EXPECT_FALSE(t.ALLA()) << hm;
    }
}

}  // namespace
