// An invoice filled from a stored declaration: a fixture store written through the declaration
// store's own routines, the continuation keys looked up for excise and other kinds, the customer by
// kind, the mapped detail lines and the rule that decides when a stored invoice is filled again.
#include <gtest/gtest.h>

#include <map>

#include "common/umas.h"
#include "config/params.h"
#include "declarations/store.h"
#include "helpers/fixture.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/clock.h"
#include "platform/codepage.h"

using PLAT::gr;

namespace {

class InvoiceFill : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
        TIM0::DSI.fill(0);
        for (auto& d : TIM0::DS) d.clear();
    }

    // A declaration as the declaration editor stores it: boxes 1..289, the customer's record
    // number, ten item texts, eight tax-kind bytes, then the item's tail (its first text is added
    // to the value).
    void storeDecl(const std::string& number, std::map<int, std::string> boxes, int customer,
                   const std::string& tailValue = "") {
        boxes[1] = number;
        std::string d;
        for (int i = 1; i <= STORE::MAIN_BOXES; ++i) STORE::putField(d, boxes.count(i) ? boxes[i] : "", true);
        STORE::putField(d, std::to_string(customer), true);
        for (int i = 0; i < 10; ++i) STORE::putField(d, "", true);
        d += std::string(8, '\0');
        STORE::putField(d, tailValue, true);
        STORE::putField(d, "", true);
        STORE::Request r;
        r.key = STORE::padKey(number, 10);
        r.data = d;
        r.date = "101226";
        r.cust = uint16_t(customer);
        ASSERT_TRUE(STORE::storeDecl(UMAS::PATH, r).stored) << number;
    }
    // A continuation item: boxes 1..165, eight texts (the last added to the value), two more, and
    // the eight tax-kind bytes.
    void storeItem(const std::string& number, int sheet, int item, std::map<int, std::string> boxes,
                   const std::string& extraValue = "") {
        char k[32];
        std::snprintf(k, sizeof k, "%s%02d%02d", number.c_str(), sheet, item);
        boxes[1] = number;
        std::string d;
        for (int i = 1; i <= STORE::SHEET_BOXES; ++i) STORE::putField(d, boxes.count(i) ? boxes[i] : "", true);
        for (int i = 1; i <= 10; ++i) STORE::putField(d, i == 8 ? extraValue : "", true);
        d += std::string(8, '\0');
        STORE::Request r;
        r.key = STORE::padKey(k, 14);
        r.data = d;
        ASSERT_TRUE(STORE::storeSheet(UMAS::PATH, r).stored) << k;
    }

    // Looks the number up and fills, as leaving the declaration field does.
    bool fill(const std::string& number) {
        TIM0::KD = UMAS::padTo(number, 10);
        UMAS::LOCK("FDIA");
        t.CHOD();
        const bool filled = t.DECLFOUND && t.RUFD();
        UMAS::UNLOC("FDIA");
        return filled;
    }

    TIM::TIMOS t;
};

TEST_F(InvoiceFill, CustomerByKind) {
    struct Case {
        const char* number;
        const char* kind;
        const char* customer;
    } cases[] = {
        {"1000000001", "EXP", "EXPORTER"},
        {"1000000002", "IMP", "IMPORTER"},
        {"1000000003", "MTF", "EXPORTER"},
        {"1000000004", "DFK", "IMPORTER"},
        {"1000000005", "MET", "IMPORTER"},
    };
    for (const auto& c : cases) storeDecl(c.number, {{12, "EXPORTER"}, {22, "IMPORTER"}, {142, c.kind}}, 7);
    TIM0::DSI[1] = 901;
    for (const auto& c : cases) {
        APODI::PR = 65000;
        ASSERT_TRUE(fill(c.number)) << c.number;
        EXPECT_EQ(APODI::EA, UMAS::padTo(c.customer, 30)) << c.kind;
        EXPECT_EQ(APODI::PR, 7) << c.kind;
    }
    EXPECT_EQ(TIM0::DS[1], gr("ΑΠΟΤΑΜΙΕΥΣΗ"));
}

TEST_F(InvoiceFill, ContinuationItemsBySheetAndKind) {
    // Three sheets and five items; each item carries 10 x its number packages, so the total tells
    // exactly which items were found.
    struct Case {
        const char* number;
        const char* kind;
        std::vector<std::pair<int, int>> items;  // sheet, item
    } cases[] = {
        {"2000000001", "DFK", {{2, 2}, {2, 3}, {3, 4}, {3, 5}}},
        {"2000000002", "IMP", {{2, 2}, {2, 3}, {2, 4}, {3, 5}}},
    };
    for (const auto& c : cases) {
        storeDecl(c.number, {{16, "3"}, {18, "5"}, {69, "1"}, {142, c.kind}, {72, "GOODS 1"}}, 1);
        for (auto [w, n] : c.items)
            storeItem(c.number, w, n, {{20, std::to_string(10 * n)}, {23 + (n % 2), "GOODS " + std::to_string(n)}});
        // Items stored under keys the fill must not read: a sheet beyond the count, an item of the
        // other kind's layout.
        storeItem(c.number, 4, 6, {{20, "1000"}});
    }
    storeItem("2000000001", 2, 4, {{20, "1000"}});
    storeItem("2000000002", 3, 4, {{20, "1000"}});

    TIM0::DSI[3] = 969;
    TIM0::DSI[4] = 972;
    TIM0::DSI[5] = 972;
    for (const auto& c : cases) {
        ASSERT_TRUE(fill(c.number)) << c.kind;
        EXPECT_EQ(UMAS::TOTALKOLA, 1 + 20 + 30 + 40 + 50) << c.kind;
        EXPECT_EQ(TIM0::DS[3], "141") << c.kind;
        EXPECT_EQ(TIM0::DS[4], "GOODS 1") << c.kind;
        EXPECT_EQ(TIM0::DS[5], "GOODS 2") << c.kind;
        EXPECT_EQ(PARAMS::PERIGRAFES[5], "GOODS 5") << c.kind;
        EXPECT_EQ(PARAMS::PERIGRAFES[6], "") << c.kind;
    }
}

// A continuation item that reads as damaged gives the invoice nothing: neither its amounts nor its
// goods description.
TEST_F(InvoiceFill, ADamagedContinuationItemGivesNeitherAmountsNorDescription) {
    storeDecl("2000000003", {{16, "2"}, {18, "3"}, {69, "1"}, {142, "IMP"}, {72, "GOODS 1"}}, 1);
    storeItem("2000000003", 2, 2, {{20, "20"}, {23, "GOODS 2"}});
    {
        // Item 3: its boxes up to the description, then a field whose first byte is no length.
        std::string d;
        for (int i = 1; i <= 30; ++i)
            STORE::putField(d, i == 1 ? "2000000003" : i == 20 ? "30" : i == 23 ? "BROKEN" : "", true);
        d += '\xC8';
        STORE::Request r;
        r.key = STORE::padKey("200000000302" "03", 14);
        r.data = d;
        ASSERT_TRUE(STORE::storeSheet(UMAS::PATH, r).stored);
    }
    TIM0::DSI[3] = 969;
    for (size_t K = 4; K <= 6; ++K) TIM0::DSI[K] = 972;
    ASSERT_TRUE(fill("2000000003"));
    EXPECT_EQ(UMAS::TOTALKOLA, 1 + 20);
    EXPECT_EQ(TIM0::DS[4], "GOODS 1");
    EXPECT_EQ(TIM0::DS[5], "GOODS 2");
    EXPECT_EQ(TIM0::DS[6], "");
    EXPECT_EQ(PARAMS::PERIGRAFES[3], "");
}

TEST_F(InvoiceFill, MappedLinesAndTotals) {
    storeDecl("3000000001",
              {{16, "2"}, {18, "2"}, {69, "3"}, {82, "100.5"}, {86, "90.25"}, {100, "1000"}, {142, "IMP"},
               {22, "ΠΕΛΑΤΗΣ"}, {31, "ΚΕΙΜΕΝΟ ΘΕΣΗΣ 31 ΠΟΥ ΕΙΝΑΙ ΠΟΛΥ ΠΟΛΥ ΜΕΓΑΛΟ ΚΑΙ ΚΟΒΕΤΑΙ"}, {75, "FIRST"}},
              2, "5");
    storeItem("3000000001", 2, 2, {{20, "4"}, {32, "10"}, {36, "9"}, {50, "200"}, {26, "SECOND"}}, "7");
    const int16_t map[10] = {1, 31, 900, 901, 969, 972, 972, 972, 982, 986};
    for (size_t i = 0; i < 10; ++i) TIM0::DSI[i + 1] = map[i];
    TIM0::DSI[11] = 0;
    TIM0::DS[11] = "TYPED";
    ASSERT_TRUE(fill("3000000001"));
    EXPECT_EQ(TIM0::DS[1], "3000000001");
    EXPECT_EQ(TIM0::DS[2], UMAS::cut("ΚΕΙΜΕΝΟ ΘΕΣΗΣ 31 ΠΟΥ ΕΙΝΑΙ ΠΟΛΥ ΠΟΛΥ ΜΕΓΑΛΟ ΚΑΙ ΚΟΒΕΤΑΙ", 40));
    EXPECT_EQ(TIM0::DS[3], "1212.00");  // 1000 + 5 + 200 + 7
    EXPECT_EQ(TIM0::DS[4], gr("ΕΙΣΑΓΩΓΗ"));
    EXPECT_EQ(TIM0::DS[5], "7");
    EXPECT_EQ(TIM0::DS[6], "FIRST");
    EXPECT_EQ(TIM0::DS[7], "SECOND");
    EXPECT_EQ(TIM0::DS[8], "");
    EXPECT_EQ(TIM0::DS[9], "110.500");
    EXPECT_EQ(TIM0::DS[10], "99.250");
    EXPECT_EQ(TIM0::DS[11], "TYPED");
    EXPECT_EQ(APODI::PR, 2);
}

TEST_F(InvoiceFill, NumbersThatAreNotFound) {
    storeDecl("4000000001", {{142, "IMP"}}, 1);
    for (const char* n : {"4000000002", "0400000000", "          ", " 400000000"}) {
        TIM0::KD = UMAS::padTo(n, 10);
        t.CHOD();
        EXPECT_FALSE(t.DECLFOUND) << n;
    }
    // Deleted and stored again under the same number: the live entry is found.
    TIM0::KD = "4000000001";
    t.CHOD();
    ASSERT_TRUE(t.DECLFOUND);
    STORE::Found f = STORE::find(UMAS::PATH, STORE::DECL, "4000000001");
    ASSERT_TRUE(STORE::deleteDecl(UMAS::PATH, STORE::Old{f.pos, "4000000001", "101226", 1}).refusal.empty());
    t.CHOD();
    EXPECT_FALSE(t.DECLFOUND);
    storeDecl("4000000001", {{142, "EXP"}, {12, "AGAIN"}}, 1);
    ASSERT_TRUE(fill("4000000001"));
    EXPECT_EQ(APODI::EA, UMAS::padTo("AGAIN", 30));
}

TEST_F(InvoiceFill, WhenAStoredInvoiceIsFilledAgain) {
    struct Case {
        bool stored;
        const char* date;
        int32_t mark;
        bool fills;
    } cases[] = {
        {false, "101226", 0, true},  {false, "101226", 5, true},  {true, "150903", 0, true},
        {true, "160903", 0, false}, {true, "150903", 7, false}, {true, "150903", -1, false},
        {true, "311299", 0, true},
    };
    for (const auto& c : cases) {
        APODI::BOO = c.stored;
        TIM0::HM = c.date;
        t.PAIPS[1] = c.mark;
        EXPECT_EQ(t.FILLS(), c.fills) << c.stored << " " << c.date << " " << c.mark;
    }
    APODI::BOO = false;
    t.PAIPS[1] = 0;
}

}  // namespace
