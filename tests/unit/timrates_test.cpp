// The invoice's rate table computation (slots, ordering, normalised rates), the printed amount text
// and the completion of the invoice date.
#include <gtest/gtest.h>

#include "invoicing/tim.h"
#include "invoicing/tim0.h"
#include "platform/clock.h"

namespace {

struct RateRow {
    int r;
    const char* rate;
    double amount;
};

struct RateCase {
    const char* what;
    std::vector<RateRow> rows;
    std::array<const char*, 3> slots;
    std::array<double, 3> sums;
};

TEST(InvoiceRateTable, SlotsOrderingAndNormalisedRates) {
    const RateCase cases[] = {
        {"one taxed row", {{1, "23", 150}}, {" 23", "", ""}, {150, 0, 0}},
        {"rows 1 and 6 at 23, row 2 at 13: 13 first, 23 sums both",
         {{1, "23", 100}, {2, "13", 40}, {6, "23", 10}},
         {" 13", " 23", ""},
         {40, 110, 0}},
        {"a one-digit rate gets two leading blanks", {{1, "9", 10}}, {"  9", "", ""}, {10, 0, 0}},
        {"a row at rate 0 sums into no slot", {{1, "23", 10}, {2, "0", 99}}, {" 23", "  0", ""}, {10, 0, 0}},
        {"a slot holding a rate of value 0 is taken by the next non-zero rate",
         {{1, "0", 5}, {2, "9", 20}},
         {"  9", "", ""},
         {20, 0, 0}},
        {"three rates in ascending order", {{1, "19", 1}, {2, "13", 2}, {3, "9", 3}}, {"  9", " 13", " 19"}, {3, 2, 1}},
        {"a fourth distinct rate finds no slot",
         {{1, "5", 1}, {2, "9", 2}, {3, "13", 3}, {4, "23", 4}},
         {"  5", "  9", " 13"},
         {1, 2, 3}},
        {"row 5 is not part of the table", {{1, "23", 10}, {5, "9", 50}}, {" 23", "", ""}, {10, 0, 0}},
        {"a rate typed twice is taken once", {{2, "24", 10}, {3, "24", 5}}, {" 24", "", ""}, {15, 0, 0}},
    };
    for (const auto& c : cases) {
        TIM0::FX.fill(0);
        for (auto& f : TIM0::FF) f.clear();
        TIM0::EUROYEAR = 26;
        for (const auto& row : c.rows) {
            TIM0::FF[size_t(row.r)] = row.rate;
            TIM0::FX[size_t(row.r)] = row.amount;
        }
        TIM0::BXO(false);
        for (int i = 1; i <= 3; ++i) {
            EXPECT_EQ(TIM0::FO1[size_t(i)], c.slots[size_t(i - 1)]) << c.what << " slot " << i;
            EXPECT_DOUBLE_EQ(TIM0::A1[size_t(i)], c.sums[size_t(i - 1)]) << c.what << " slot " << i;
        }
    }
    // The normalised text is the document's own rate text.
    TIM0::FF[1] = "9";
    TIM0::BXO(false);
    EXPECT_EQ(TIM0::FF[1], "  9");
}

TEST(InvoiceRateTable, RateValue) {
    EXPECT_EQ(TIM0::RATEVALUE("  9"), 9);
    EXPECT_EQ(TIM0::RATEVALUE(" 23"), 23);
    EXPECT_EQ(TIM0::RATEVALUE(""), 0);
    EXPECT_EQ(TIM0::RATEVALUE("   "), 0);
    EXPECT_EQ(TIM0::RATEVALUE("1a"), 0);
    EXPECT_EQ(TIM0::RATEVALUE("-5"), 0);
}

TEST(InvoiceAmountText, GroupingBlanksAndCancellationSign) {
    struct Case {
        double x;
        int kind;
        const char* text;
    } cases[] = {
        {1234.5, 0, "    1,234.50"},
        {12.5, 0, "       12.50"},
        {1234567.5, 0, "1,234,567.50"},
        {0.004, 0, "          "},
        {0.005, 0, "        0.01"},
        {-3, 0, "          "},
        {0, 1, "          "},
        {999.999, 0, "    1,000.00"},
        {12.5, 1, "      -12.50"},
        {1234.5, 1, "   -1,234.50"},
        {1000000, 1, "1,000,000.00"},
        {12345678.9, 0, "12,345,678.90"},
    };
    for (const auto& c : cases) EXPECT_EQ(TIM0::PTL(c.x, c.kind), c.text) << c.x << " kind " << c.kind;
}

TEST(InvoiceDateEntry, CompletionAndRange) {
    PLAT::setFixedNow(PLAT::DateTime{2004, 3, 3, 10, 0, 0, 0});
    struct Case {
        const char* typed;
        const char* date;  // nullptr: refused
    } cases[] = {
        {"5", "050304"},      {"1203", "120304"},   {"123", "120304"},    {"12", "120304"},
        {"300204", "300204"}, {"150120", "150120"}, {"150122", "150122"}, {"311249", "311249"},
        {"010150", nullptr},  {"010189", nullptr},  {"010190", "010190"}, {"12345", nullptr},
        {"", nullptr},        {"320104", nullptr},  {"001204", nullptr},  {"151304", nullptr},
        {"150004", nullptr},  {"0", nullptr},
    };
    for (const auto& c : cases) {
        std::string s = c.typed;
        const bool ok = TIM::COMPLETEDATE(s);
        EXPECT_EQ(ok, c.date != nullptr) << c.typed;
        if (c.date) {
            EXPECT_EQ(s, c.date) << c.typed;
        }
    }
    // In a month of two digits the day alone takes the month's two digits.
    PLAT::setFixedNow(PLAT::DateTime{2026, 12, 10, 10, 0, 0, 0});
    std::string s = "5";
    EXPECT_TRUE(TIM::COMPLETEDATE(s));
    EXPECT_EQ(s, "051226");
    PLAT::setFixedNow(std::nullopt);
    EXPECT_EQ(TIM::WEEKDAYOF("101226"), TIM::WEEKDAYOF("171226"));
    EXPECT_EQ(TIM::WEEKDAYOF("xx"), "  ");
}

}  // namespace
