// The receipt book's store: the bytes of the record, index slot, count, last-number file and chain
// files; the posting to the customers' paid totals; delete, reload and a change of customer.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "common/umas.h"
#include "customers/arp0.h"
#include "helpers/fixture.h"
#include "helpers/invoices.h"
#include "invoicing/apod0.h"
#include "invoicing/apodi.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/codepage.h"

using PLAT::gr;

namespace {

class ReceiptStore : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
        PLAT::setFixedNow(PLAT::DateTime{2026, 12, 10, 10, 0, 0, 0});
        UMAS::EURO = 340.75;
    }
    void TearDown() override {
        PLAT::setFixedNow(std::nullopt);
        UMAS::EURO = 0;
        Installation::TearDown();
    }
    std::string file(const std::string& n) const { return company(0) + "/" + n; }
    std::string bytes(const std::string& n) const { return TESTS::readFile(file(n)); }
    uint16_t word(const std::string& n, size_t i) const {
        std::string b = bytes(n);
        return PLAT::getW(reinterpret_cast<const uint8_t*>(b.data()) + 2 * i);
    }
    APODI::RTIM1 node(const std::string& n, size_t i) const {
        std::string b = bytes(n);
        return APODI::RTIM1::decode(reinterpret_cast<const uint8_t*>(b.data()) + 4 * i);
    }
    static int32_t PI(uint16_t pr) {
        ARP0::RR0 r;
        EXPECT_TRUE(ARP0::readRecord(0, pr, r));
        return r.PI;
    }
    static int32_t XR(uint16_t pr) { return TESTS::customerXR(pr); }

    // Takes number n as the number field does: a stored receipt is read, else the form is cleared.
    bool open(APOD0::APODS& a, int n) {
        a.KV = std::to_string(n);
        a.CHO();
        bool zb = false;
        if (APODI::BOO)
            a.RUF(zb);
        else
            a.CLLS();
        a.BKV = zb ? std::string() : a.KV;
        return APODI::BOO;
    }
    // A new receipt filled and stored.
    bool storeNew(APOD0::APODS& a, int n, const std::string& hm, const std::string& customer, const std::string& ps,
                  const std::string& reason = "") {
        EXPECT_FALSE(open(a, n));
        a.HM = hm;
        TESTS::setCustomer(customer);
        a.PS = ps;
        a.AI = gr(reason.c_str());
        return a.KTT();
    }
    static const size_t H = APODI::DAYHEADS;
    static int32_t day(const char* hm) { return UMAS::HMVAL(hm); }
    // Pascal string of capacity cap, blank-padded as the receipt book stores its strings.
    static std::string pstr(const std::string& s, size_t cap) {
        std::string v = UMAS::padTo(s, cap);
        return std::string(1, char(cap)) + v;
    }
    static std::string le32(int32_t v) {
        std::string b(4, '\0');
        PLAT::putL(reinterpret_cast<uint8_t*>(b.data()), v);
        return b;
    }
    static std::string le16(uint16_t v) {
        std::string b(2, '\0');
        PLAT::putW(reinterpret_cast<uint8_t*>(b.data()), v);
        return b;
    }
};

TEST_F(ReceiptStore, PaymentReceiptOfAEuroYearBytesAndPosting) {
    ASSERT_EQ(TESTS::addCustomer("Παπαδοπουλος Α.Ε."), 0);
    APOD0::APODS a(false);
    EXPECT_EQ(a.GETARA(), 1);
    ASSERT_TRUE(storeNew(a, 7, "050309", "παπ", "100.50", "ΕΞΟΦΛΗΣΗ"));

    const std::string want = le32(7) + pstr("050309", 6) + pstr("", 10) + le16(0) +
                             pstr(ARP0::KEY(gr("ΠΑΠΑΔΟΠΟΥΛΟΣ Α.Ε.")), 30) + pstr(gr("ΟΔΟΣ 1"), 30) +
                             pstr(gr("ΠΕΙΡΑΙΑΣ"), 20) + pstr("099999999", 10) + le32(-10050) +
                             pstr(gr("ΕΞΟΦΛΗΣΗ"), 30);
    ASSERT_EQ(want.size(), 153u);
    EXPECT_EQ(bytes("AM.DAT"), want);
    EXPECT_EQ(bytes("AI.DAT").size(), 130000u);
    EXPECT_EQ(word("AI.DAT", 7), 0);
    EXPECT_EQ(word("AI.DAT", 6), 65000);
    EXPECT_EQ(word("AI.DAT", 64999), 65000);
    EXPECT_EQ(bytes("HDA.DAT"), le16(1));
    EXPECT_EQ(bytes("ARAP2.DAT"), "7\r\n");
    EXPECT_FALSE(TESTS::exists(file("ARAP1.DAT")));
    EXPECT_EQ(node("AH.DAT", size_t(day("050309"))), (APODI::RTIM1{0, 0}));
    EXPECT_EQ(bytes("AH.DAT").size(), H * 4);
    EXPECT_EQ(node("APE.DAT", 0), (APODI::RTIM1{0, 0}));
    // -100.50 x 340.75 = -34245.375 drachmas to the paid total; the charged total is untouched.
    EXPECT_EQ(PI(0), -34245);
    EXPECT_EQ(XR(0), 0);
    EXPECT_EQ(a.GETARA(), 8);

    // Reopened: the amount shows as 100.50 and the form is unchanged.
    APOD0::APODS b(false);
    ASSERT_TRUE(open(b, 7));
    EXPECT_EQ(b.PS, "100.50");
    EXPECT_EQ(APODI::BPI, 100.5);
    EXPECT_FALSE(b.ALLA());
    EXPECT_FALSE(b.KTT());
    EXPECT_EQ(PI(0), -34245);

    // The report's view of the customer and of the day.
    auto mine = APOD0::OFCUSTOMER(0);
    ASSERT_EQ(mine.size(), 1u);
    EXPECT_EQ(mine[0].XN, 0);
    EXPECT_EQ(mine[0].R.PS, -10050);
    EXPECT_EQ(APOD0::OFDAY(day("050309")).size(), 1u);
    EXPECT_TRUE(APOD0::OFDAY(day("060309")).empty());
}

TEST_F(ReceiptStore, CollectionOfADrachmaYearPostsTheWholeAmount) {
    TESTS::addCustomer("ΑΛΦΑ");
    APOD0::APODS a(true);
    ASSERT_TRUE(storeNew(a, 12, "150399", "ΑΛΦΑ", "1500"));
    EXPECT_EQ(bytes("AM.DAT").substr(118, 4), le32(1500));
    EXPECT_EQ(bytes("AM.DAT").substr(122, 31), pstr("", 30));
    EXPECT_EQ(bytes("ARAP1.DAT"), "12\r\n");
    EXPECT_EQ(PI(0), 1500);
    EXPECT_EQ(node("AH.DAT", size_t(day("150399"))), (APODI::RTIM1{0, 0}));

    // Amounts are rounded as stored: 1500.5 drachmas is 1500 (half to even), 2.345 euros 2.35.
    APOD0::APODS c(true);
    ASSERT_TRUE(storeNew(c, 13, "150399", "ΑΛΦΑ", "1500.5"));
    EXPECT_EQ(bytes("AM.DAT").substr(153 + 118, 4), le32(1500));
    EXPECT_EQ(PI(0), 3000);
    ASSERT_TRUE(storeNew(c, 14, "010110", "ΑΛΦΑ", "2.345"));
    EXPECT_EQ(bytes("AM.DAT").substr(306 + 118, 4), le32(235));
    // 2.35 x 340.75 = 800.7625 drachmas.
    EXPECT_EQ(PI(0), 3801);
    EXPECT_EQ(bytes("ARAP1.DAT"), "14\r\n");
    // A lower number leaves the last-number file alone.
    ASSERT_TRUE(storeNew(c, 3, "010110", "ΑΛΦΑ", "1"));
    EXPECT_EQ(bytes("ARAP1.DAT"), "14\r\n");
    EXPECT_EQ(bytes("HDA.DAT"), le16(4));
}

TEST_F(ReceiptStore, StoreReloadAndDeleteReturnTheTotalExactly) {
    TESTS::addCustomer("ΑΛΦΑ");
    APOD0::APODS a(true);
    ASSERT_TRUE(storeNew(a, 5, "050309", "ΑΛΦΑ", "0.01"));
    ASSERT_TRUE(storeNew(a, 6, "050309", "ΑΛΦΑ", "123.45"));
    const int32_t posted = PI(0);
    EXPECT_EQ(posted, 3 + 42066);  // 3.4075 and 42065.5875 drachmas

    // Reloaded, changed in the reason only: the amount is reversed and posted again, no drift.
    APOD0::APODS b(true);
    ASSERT_TRUE(open(b, 6));
    b.AI = "X";
    EXPECT_TRUE(b.ALLA());
    ASSERT_TRUE(b.KTT());
    EXPECT_EQ(PI(0), posted);
    EXPECT_EQ(bytes("AM.DAT").size(), 2u * 153);  // stored in place
    EXPECT_EQ(bytes("HDA.DAT"), le16(2));

    // Deleted: slot, nodes and total undone; record, count and last number stay.
    ASSERT_TRUE(open(b, 6));
    ASSERT_TRUE(b.DEL());
    EXPECT_FALSE(APODI::BOO);
    EXPECT_TRUE(b.KV.empty());
    EXPECT_EQ(word("AI.DAT", 6), 65000);
    EXPECT_EQ(PI(0), 3);
    EXPECT_EQ(node("AH.DAT", size_t(day("050309"))), (APODI::RTIM1{0, uint16_t(H)}));
    EXPECT_EQ(node("AH.DAT", H), (APODI::RTIM1{65000, 0}));
    EXPECT_EQ(node("APE.DAT", 0), (APODI::RTIM1{0, 10000}));
    EXPECT_EQ(node("APE.DAT", 10000), (APODI::RTIM1{65000, 0}));
    EXPECT_EQ(bytes("AM.DAT").size(), 2u * 153);
    EXPECT_EQ(bytes("HDA.DAT"), le16(2));
    EXPECT_EQ(bytes("ARAP1.DAT"), "6\r\n");
    // A second delete on the cleared form does nothing.
    EXPECT_FALSE(b.DEL());
    EXPECT_EQ(PI(0), 3);

    // The number is free again; a new receipt takes the emptied node and a new record.
    ASSERT_TRUE(storeNew(b, 6, "050309", "ΑΛΦΑ", "1"));
    EXPECT_EQ(APODI::XN, 2);
    EXPECT_EQ(node("AH.DAT", H), (APODI::RTIM1{2, 0}));
    EXPECT_EQ(node("APE.DAT", 10000), (APODI::RTIM1{2, 0}));
    EXPECT_EQ(bytes("HDA.DAT"), le16(3));
}

TEST_F(ReceiptStore, ChangingTheCustomerMovesNodeAndAmount) {
    TESTS::addCustomer("ΑΛΦΑ");
    TESTS::addCustomer("ΒΗΤΑ");
    APOD0::APODS a(true);
    ASSERT_TRUE(storeNew(a, 1, "010199", "ΑΛΦΑ", "1000"));
    EXPECT_EQ(PI(0), 1000);
    TESTS::setCustomer("ΒΗΤΑ");
    ASSERT_EQ(APODI::PR, 1);
    a.HM = "020199";
    ASSERT_TRUE(a.KTT());
    EXPECT_EQ(PI(0), 0);
    EXPECT_EQ(PI(1), 1000);
    EXPECT_EQ(node("APE.DAT", 0), (APODI::RTIM1{65000, 0}));
    EXPECT_EQ(node("APE.DAT", 1), (APODI::RTIM1{0, 0}));
    EXPECT_EQ(node("AH.DAT", size_t(day("010199"))), (APODI::RTIM1{65000, 0}));
    EXPECT_EQ(node("AH.DAT", size_t(day("020199"))), (APODI::RTIM1{0, 0}));
    EXPECT_TRUE(APOD0::OFCUSTOMER(0).empty());
    EXPECT_EQ(APOD0::OFCUSTOMER(1).size(), 1u);
    EXPECT_EQ(bytes("AM.DAT").substr(22, 2), le16(1));
    EXPECT_EQ(bytes("AM.DAT").substr(24, 31), pstr(ARP0::KEY(gr("ΒΗΤΑ")), 30));
}

TEST_F(ReceiptStore, NothingIsStoredWithoutCustomerChangeOrRate) {
    TESTS::addCustomer("ΑΛΦΑ");
    APOD0::APODS a(true);
    // No customer.
    EXPECT_FALSE(open(a, 1));
    a.PS = "5";
    EXPECT_FALSE(a.KTT());
    // A euro year without a rate: refused with a notice, nothing written.
    TESTS::setCustomer("ΑΛΦΑ");
    a.HM = "010110";
    UMAS::EURO = 0;
    con->onIdle = [this] { con->ch(27); };
    EXPECT_FALSE(a.KTT());
    EXPECT_EQ(bytes("AM.DAT").size(), 0u);
    EXPECT_EQ(bytes("HDA.DAT"), le16(0));
    EXPECT_FALSE(TESTS::exists(file("ARAP1.DAT")));
    // An amount that does not fit the record in cents.
    UMAS::EURO = 340.75;
    a.PS = "999999999";
    EXPECT_FALSE(a.KTT());
    EXPECT_EQ(bytes("AM.DAT").size(), 0u);
    con->onIdle = nullptr;
    EXPECT_EQ(PI(0), 0);
}

TEST_F(ReceiptStore, AShortIndexIsLengthenedWithEmptySlots) {
    TESTS::addCustomer("ΑΛΦΑ");
    TESTS::writeFile(file("AI.DAT"), std::string(2000, '\xFF'));  // 1000 slots, all 65535 (none)
    APOD0::APODS a(true);
    ASSERT_TRUE(storeNew(a, 1500, "010199", "ΑΛΦΑ", "10"));
    EXPECT_EQ(bytes("AI.DAT").size(), 3002u);
    EXPECT_EQ(word("AI.DAT", 1000), 65000);
    EXPECT_EQ(word("AI.DAT", 1499), 65000);
    EXPECT_EQ(word("AI.DAT", 1500), 0);
    EXPECT_EQ(APOD0::SLOT(1500), 0);
    EXPECT_EQ(APOD0::SLOT(999), 65000);
    EXPECT_EQ(APOD0::SLOT(64999), 65000);
}

// A receipt file that is missing or damaged refuses the whole store, as the invoice store does,
// naming the file: the company folder stays byte for byte as it was and the form keeps the receipt;
// the deletions that write a missing file are refused the same way. With the files sound again the
// same receipt is stored.
TEST_F(ReceiptStore, AMissingOrDamagedFileIsRefusedBeforeAnythingIsWritten) {
    namespace fs = std::filesystem;
    TESTS::addCustomer("ΑΛΦΑ");
    APOD0::APODS a(true);
    ASSERT_TRUE(storeNew(a, 1, "010126", "ΑΛΦΑ", "10"));
    const char* const files[] = {"AM.DAT", "AI.DAT", "HDA.DAT", "AH.DAT", "APE.DAT", "MF.DAT"};
    std::map<std::string, std::string> sound;
    for (const char* f : files) sound[f] = bytes(f);
    auto at = [](std::string b, size_t off, const std::string& with) { return b.replace(off, with.size(), with); };
    const size_t dayNode = size_t(day("020126")) * 4;
    // Each file removed (no bytes), then damaged ones.
    std::vector<std::pair<std::string, std::optional<std::string>>> cases;
    for (const char* f : files) cases.push_back({f, std::nullopt});
    cases.push_back({"AM.DAT", sound["AM.DAT"] + "x"});
    cases.push_back({"AI.DAT", sound["AI.DAT"] + "x"});
    cases.push_back({"HDA.DAT", ""});
    cases.push_back({"AH.DAT", at(sound["AH.DAT"], dayNode, std::string("\x00\x00\x05\x00", 4))});  // next node in the heads
    cases.push_back({"AH.DAT", at(sound["AH.DAT"], dayNode, std::string("\x09\x00\x00\x00", 4))});  // a record beyond AM.DAT
    cases.push_back({"APE.DAT", at(sound["APE.DAT"], 0, std::string("\x00\x00\xFF\xFF", 4))});      // next node beyond the file
    std::string row22, row23;
    auto noteAndEsc = [&] {
        auto done = std::make_shared<bool>(false);
        con->onIdle = [&, done] {
            if (*done) return;
            *done = true;
            row22 = con->text(3, 22, 36);
            row23 = con->text(3, 23, 36);
            con->ch(27);
        };
    };
    for (const auto& [f, damaged] : cases) {
        SCOPED_TRACE(f + (damaged ? " damaged" : " missing"));
        const std::string said = gr(" ΑΡΧΕΙΟ ") + f + gr(damaged ? " ΚΑΤΕΣΤΡΑΜΜΕΝΟ." : " ΔΕΝ ΥΠΑΡΧΕΙ.");
        APOD0::APODS n(true);
        ASSERT_FALSE(open(n, 2));
        n.HM = "020126";
        TESTS::setCustomer("ΑΛΦΑ");
        n.PS = "10";
        if (damaged)
            TESTS::writeFile(file(f), *damaged);
        else
            fs::remove(file(f));
        const auto before = TESTS::folderFiles(company(0));
        noteAndEsc();
        EXPECT_FALSE(n.KTT());
        EXPECT_EQ(row22, UMAS::padTo(said, 36));
        EXPECT_EQ(row23, UMAS::padTo(gr("ΔΕΝ ΓΙΝΕΤΑΙ ΚΑΤΑΧΩΡΗΣΗ. Πατήστε ESC."), 36));
        EXPECT_EQ(TESTS::folderFiles(company(0)), before);
        EXPECT_FALSE(APODI::BOO);
        EXPECT_TRUE(n.ALLA());
        if (!damaged && f != "AM.DAT" && f != "HDA.DAT") {
            TESTS::writeFile(file(f), sound[f]);
            APOD0::APODS d(true);
            ASSERT_TRUE(open(d, 1));
            fs::remove(file(f));
            const auto kept = TESTS::folderFiles(company(0));
            noteAndEsc();
            EXPECT_FALSE(d.DEL());
            EXPECT_EQ(row22, UMAS::padTo(said, 36));
            EXPECT_EQ(row23, UMAS::padTo(gr("ΔΕΝ ΓΙΝΕΤΑΙ ΔΙΑΓΡΑΦΗ. Πατήστε ESC."), 36));
            EXPECT_EQ(TESTS::folderFiles(company(0)), kept);
        }
        TESTS::writeFile(file(f), sound[f]);
    }
    con->onIdle = nullptr;
    APOD0::APODS n(true);
    EXPECT_TRUE(storeNew(n, 2, "020126", "ΑΛΦΑ", "10"));
    EXPECT_EQ(word("AI.DAT", 2), 1);
    EXPECT_EQ(node("AH.DAT", size_t(day("020126"))).HR, 1);
}

TEST_F(ReceiptStore, TheNumberOfTheOtherKindIsRefused) {
    TESTS::addCustomer("ΑΛΦΑ");
    APOD0::APODS a(true);
    ASSERT_TRUE(storeNew(a, 4, "010199", "ΑΛΦΑ", "10"));
    // Tab on the payment screen proposes 1 (no payment yet); number 4 is a collection.
    APOD0::APODS p(false);
    EXPECT_EQ(p.GETARA(), 1);
    p.KV = "4";
    p.CHO();
    ASSERT_TRUE(APODI::BOO);
    const int bells = con->bells;
    bool zb = false;
    p.RUF(zb);
    EXPECT_TRUE(zb);
    EXPECT_EQ(con->bells, bells + 1);
    EXPECT_FALSE(APODI::BOO);
    EXPECT_EQ(APODI::PR, 65000);
    EXPECT_EQ(p.AP.PS, 0);
}

}  // namespace
