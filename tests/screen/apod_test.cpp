// The receipt book screen: number and date entry, a receipt filled and stored with the keys, the
// customer lookup on F1, F5 after typing another number, and the printouts against golden files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "common/umas.h"
#include "customers/arp0.h"
#include "helpers/fixture.h"
#include "helpers/invoices.h"
#include "invoicing/apod0.h"
#include "invoicing/apodi.h"
#include "invoicing/priapod.h"
#include "invoicing/tim.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/codepage.h"

using PLAT::gr;
namespace SC = PLAT::SC;

namespace {

class ReceiptScreen : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
        PLAT::setFixedNow(PLAT::DateTime{2009, 3, 3, 10, 0, 0, 0});
        UMAS::EURO = 340.75;
        UMAS::USER_ID = "1";
        for (int i = 1; i <= 5; ++i) UMAS::LOGOTYPO[size_t(i)] = "HEADER LINE " + std::to_string(i);
    }
    void TearDown() override {
        PLAT::setFixedNow(std::nullopt);
        UMAS::EURO = 0;
        Installation::TearDown();
    }
    std::string file(const std::string& n) const { return company(0) + "/" + n; }
    std::string bytes(const std::string& n) const { return TESTS::readFile(file(n)); }
    static int32_t PI(uint16_t pr) {
        ARP0::RR0 r;
        EXPECT_TRUE(ARP0::readRecord(0, pr, r));
        return r.PI;
    }
    // Runs the screen on the scripted keys; when the script runs out, `atEnd` looks at the screen
    // and Esc ends it.
    void run(bool collection, const std::function<void()>& script, const std::function<void()>& atEnd = {}) {
        script();
        bool seen = false;
        con->onIdle = [&] {
            if (!seen && atEnd) atEnd();
            seen = true;
            con->ch(27);
        };
        APODI::APOD(collection);
        con->onIdle = nullptr;
    }
    void clearAndType(const std::string& s) {
        con->ch(0x19);
        con->keys(s);
    }
};

TEST_F(ReceiptScreen, NumberEntry) {
    struct Case {
        const char* typed;
        bool taken;
    } cases[] = {{"1", true}, {"64999", true}, {"65000", false}, {"70000", false}, {"69999", false}, {"8", true}};
    for (const auto& c : cases) {
        int row = 0;
        const int bells = con->bells;
        run(true, [&] { con->keys(std::string(c.typed) + "\r"); }, [&] { row = con->whereY(); });
        EXPECT_EQ(row, c.taken ? 8 : 7) << c.typed;
        EXPECT_EQ(con->bells - bells, c.taken ? 0 : 1) << c.typed;
    }
    // The claims are freed when the screen is left.
    EXPECT_EQ(bytes("NUAP.DAT"), std::string(24, '\0'));
}

TEST_F(ReceiptScreen, DateEntryWithTodayThirdOfMarch2009) {
    struct Case {
        const char *typed, *shown;
        bool taken;
    } cases[] = {
        {"5", "050309", true},      {"15", "150309", true},     {"153", "150309", true},
        {"1512", "151209", true},   {"150322", "150322", true}, {"311249", "311249", true},
        {"150350", "150350", false}, {"010389", "010389", false}, {"151309", "151309", false},
        {"320309", "320309", false}, {"12345", "", false},       {"", "", false},
    };
    for (const auto& c : cases) {
        int row = 0;
        std::string shown;
        const int bells = con->bells;
        run(true, [&] {
            con->keys("1\r");
            clearAndType(std::string(c.typed) + "\r");
        }, [&] {
            row = con->whereY();
            shown = con->text(32, 8, 6);
        });
        EXPECT_EQ(row, c.taken ? 9 : 8) << c.typed;
        EXPECT_EQ(con->bells - bells, c.taken ? 0 : 1) << c.typed;
        if (*c.shown) EXPECT_EQ(shown, c.shown) << c.typed;
    }
}

TEST_F(ReceiptScreen, CollectionStoredWithTheKeysAndPrinted) {
    TESTS::addCustomer("ΑΛΦΑ ΕΜΠΟΡΙΚΗ");
    TESTS::addCustomer("ΒΗΤΑ");
    run(true, [&] {
        con->ch(9);  // Tab: the proposed number 1
        con->keys("\r\r");
        con->keys("123/09\r");
        con->keys(gr("αλφ") + "\r");  // looked up, shown, edited again
        con->keys("\r");               // confirmed: on to the amount
        con->keys("1234.5\r");
        con->keys(gr("ΕΞΟΦΛΗΣΗ"));
        con->key(SC::F1);
        con->key(SC::F1, PLAT::MOD_SHIFT);
    });
    const std::string am = bytes("AM.DAT");
    ASSERT_EQ(am.size(), 153u);
    APOD0::TRECAP r = APOD0::TRECAP::decode(reinterpret_cast<const uint8_t*>(am.data()));
    EXPECT_EQ(r.KV, 1);
    EXPECT_EQ(r.HM, "030309");
    EXPECT_EQ(r.KD, "123/09    ");
    EXPECT_EQ(r.PR, 0);
    EXPECT_EQ(r.EA, ARP0::KEY(gr("ΑΛΦΑ ΕΜΠΟΡΙΚΗ")));
    EXPECT_EQ(r.PS, 123450);
    EXPECT_EQ(r.AI, UMAS::padTo(gr("ΕΞΟΦΛΗΣΗ"), 30));
    EXPECT_EQ(bytes("ARAP1.DAT"), "1\r\n");
    EXPECT_EQ(PI(0), 420656);  // 1234.50 x 340.75 = 420655.875
    EXPECT_FALSE(TESTS::readFile("drives/ports/LPT1").empty());
}

TEST_F(ReceiptScreen, F1AfterTypingAnotherNameLooksItUpFirst) {
    TESTS::addCustomer("ΑΛΦΑ");
    TESTS::addCustomer("ΒΗΤΑ");
    run(false, [&] {
        con->keys("3\r\r\r");
        con->keys(gr("ΑΛΦΑ") + "\r\r");
        con->keys("10\r");
        con->key(SC::UP);
        con->key(SC::UP);  // back on the name
        con->ch(0x19);
        con->keys(gr("ΒΗΤ"));
        con->key(SC::F1);
    });
    APOD0::TRECAP r;
    ASSERT_TRUE(APOD0::READ(0, r));
    EXPECT_EQ(r.PR, 1);
    EXPECT_EQ(r.EA, ARP0::KEY(gr("ΒΗΤΑ")));
    EXPECT_EQ(r.PS, -1000);
    EXPECT_EQ(PI(0), 0);
    EXPECT_EQ(PI(1), -3408);  // -10.00 x 340.75 = -3407.5, half to even
    EXPECT_EQ(bytes("ARAP2.DAT"), "3\r\n");
}

TEST_F(ReceiptScreen, F5AfterTypingAnotherNumberDeletesTheShownReceipt) {
    TESTS::addCustomer("ΑΛΦΑ");
    APOD0::APODS a(true);
    a.KV = a.BKV = "4";
    a.CLLS();
    TESTS::setCustomer("ΑΛΦΑ");
    a.PS = "7";
    ASSERT_TRUE(a.KTT());
    a.KV = a.BKV = "5";
    a.CLLS();
    TESTS::setCustomer("ΑΛΦΑ");
    a.PS = "9";
    ASSERT_TRUE(a.KTT());
    EXPECT_EQ(PI(0), 2385 + 3067);  // 7 and 9 euros: 2385.25 and 3066.75 drachmas
    run(true, [&] {
        con->keys("4\r");
        con->ch(0x19);
        con->keys("5");
        con->key(SC::F5);
        con->keys("N");
    });
    EXPECT_EQ(APOD0::SLOT(4), 65000);
    EXPECT_EQ(APOD0::SLOT(5), 1);
    EXPECT_EQ(PI(0), 3067);
    EXPECT_EQ(bytes("NUAP.DAT"), std::string(24, '\0'));
}

TEST_F(ReceiptScreen, EscWithUnsavedChangesAsksWhetherToStore) {
    TESTS::addCustomer("ΑΛΦΑ");
    for (const char* answer : {"O", "N"}) {
        run(true, [&] {
            con->keys("2\r\r\r");
            con->keys(gr("ΑΛΦΑ") + "\r\r");
            con->keys("5\r");
            con->ch(27);
            con->keys(answer);
        });
        EXPECT_EQ(bytes("AM.DAT").size(), *answer == 'N' ? 153u : 0u) << answer;
    }
    EXPECT_EQ(PI(0), 1704);  // 5 euros of 2009
    EXPECT_EQ(bytes("NUAP.DAT"), std::string(24, '\0'));
}

// With a chain file missing the store is refused whole and the receipt stays on the form: after F1,
// after another number with the store answered yes (the number goes back), and after Esc with the
// store answered yes (the screen stays). Only "No" lets it go. The company folder is never written.
TEST_F(ReceiptScreen, ARefusedStoreKeepsTheReceiptOnTheForm) {
    TESTS::addCustomer("ΑΛΦΑ");
    std::filesystem::remove(file("AH.DAT"));
    auto folder = [&] { return TESTS::folderFiles(company(0), true); };
    const auto before = folder();
    con->keys("2\r\r\r");
    con->keys(gr("ΑΛΦΑ") + "\r\r");
    con->keys("5\r");
    con->key(SC::F1);
    std::vector<std::string> notices;
    auto notice = [&] {
        notices.push_back(con->text(3, 22, 36));
        con->ch(27);
    };
    auto receiptShown = [&](const char* when) {
        EXPECT_EQ(PLAT::cp737ToUtf8(con->text(32, 7, 1)), "2") << when;
        EXPECT_EQ(PLAT::cp737ToUtf8(con->text(32, 10, 4)), "ΑΛΦΑ") << when;
        EXPECT_EQ(PLAT::cp737ToUtf8(con->text(32, 14, 1)), "5") << when;
    };
    std::vector<std::function<void()>> stages{
        notice,  // F1
        [&] {
            receiptShown("after F1");
            clearAndType("3");
            con->ch(13);
            con->ch('N');  // store the receipt on the form first
        },
        notice,
        [&] {
            receiptShown("after another number");
            con->ch(27);
            con->ch('N');
        },
        notice,
        [&] {
            receiptShown("after Esc");
            con->ch(27);
            con->ch('O');
        },
    };
    size_t next = 0;
    con->onIdle = [&] {
        if (next < stages.size()) stages[next++]();
    };
    APODI::APOD(true);
    con->onIdle = nullptr;
    EXPECT_EQ(next, stages.size());
    const std::string refusal = UMAS::padTo(gr(" ΑΡΧΕΙΟ AH.DAT ΔΕΝ ΥΠΑΡΧΕΙ."), 36);
    EXPECT_EQ(notices, (std::vector<std::string>{refusal, refusal, refusal}));
    EXPECT_EQ(folder(), before);
    EXPECT_EQ(bytes("NUAP.DAT"), std::string(24, '\0'));
}

TEST_F(ReceiptScreen, DownOnAConfirmedNameStepsToTheNextCustomer) {
    TESTS::addCustomer("ΑΛΦΑ");
    TESTS::addCustomer("ΒΗΤΑ");
    TESTS::addCustomer("ΓΑΜΑ");
    std::string shown;
    run(true, [&] {
        con->keys("2\r\r\r");
        con->keys(gr("ΑΛΦΑ") + "\r");
        con->key(SC::DOWN);
        con->key(SC::DOWN);
        con->key(SC::DOWN);  // the last one stays
        con->keys("\r1");
        con->key(SC::F1);
    });
    APOD0::TRECAP r;
    ASSERT_TRUE(APOD0::READ(0, r));
    EXPECT_EQ(r.PR, 2);
    EXPECT_EQ(r.EA, ARP0::KEY(gr("ΓΑΜΑ")));
}

TEST_F(ReceiptScreen, ANumberOfTheOtherKindClearsTheForm) {
    TESTS::addCustomer("ΑΛΦΑ");
    APOD0::APODS a(false);
    a.KV = a.BKV = "9";
    a.CLLS();
    TESTS::setCustomer("ΑΛΦΑ");
    a.PS = "3";
    ASSERT_TRUE(a.KTT());
    int row = 0;
    std::string name;
    const int bells = con->bells;
    run(true, [&] { con->keys("9\r"); }, [&] {
        row = con->whereY();
        name = con->text(32, 10, 4);
    });
    EXPECT_EQ(row, 7);
    EXPECT_EQ(name, "    ");
    EXPECT_EQ(con->bells, bells + 1);
    EXPECT_EQ(bytes("NUAP.DAT"), std::string(24, '\0'));
}

// ---- Printouts ----------------------------------------------------------------------------------

using TESTS::expectGolden;

TEST_F(ReceiptScreen, PrintoutsMatchTheirGoldenFiles) {
    auto printed = [] {
        std::string b = TESTS::readFile("drives/ports/LPT1");
        std::filesystem::remove("drives/ports/LPT1");
        return b;
    };
    APOD0::TRECAP r;
    r.KV = 12;
    r.HM = "150399";
    r.KD = "123/99    ";
    r.PR = 0;
    r.EA = UMAS::padTo(gr("ΑΛΦΑ ΕΜΠΟΡΙΚΗ"), 30);
    r.DI = UMAS::padTo(gr("ΟΔΟΣ 1"), 30);
    r.PO = UMAS::padTo(gr("ΠΕΙΡΑΙΑΣ"), 20);
    r.AF = "099999999 ";
    r.PS = 1500;
    r.AI = UMAS::padTo(gr("ΠΡΟΚΑΤΑΒΟΛΗ"), 30);
    PRIAPOD::PRINTAPOD(&r, true);
    const std::string drachma = printed();
    expectGolden("receipt_collection_1999.prn", drachma);
    EXPECT_NE(drachma.find(gr("ΔΡΑΧ. ") + "1500"), std::string::npos);
    EXPECT_NE(drachma.find("No      12"), std::string::npos);
    EXPECT_EQ(drachma.find(gr("ΕΥΡΩ")), std::string::npos);

    // A payment of 100.50 euros in 2009, and one whose words run over three lines.
    r.HM = "050309";
    r.PS = -10050;
    PRIAPOD::PRINTAPOD(&r, false);
    const std::string euro = printed();
    expectGolden("receipt_payment_2009.prn", euro);
    EXPECT_NE(euro.find("EURO 100.50"), std::string::npos);
    EXPECT_NE(euro.find("05/03/09"), std::string::npos);
    r.PS = -2147483647;  // 21474836.47 euros: words over three lines
    PRIAPOD::PRINTAPOD(&r, false);
    expectGolden("receipt_payment_long_words.prn", printed());

    // Printed to the plain-text file, where a tab moves nothing: the company's name and "No" stay
    // apart.
    PRNS::PAR_EKT plain;
    plain.PORT = 8;
    PRNS::writeParEkt(UMAS::PE_APOE, plain);
    UMAS::LOGOTYPO[1] = gr("ΑΦΟΙ ΠΑΠΑΔΟΠΟΥΛΟΙ Ο.Ε. ΕΚΤΕΛΩΝΙΣΤΕΣ");
    r.PS = 1500;
    PRIAPOD::PRINTAPOD(&r, true);
    EXPECT_NE(TESTS::readFile("KART.TXT").find(gr("ΕΚΤΕΛΩΝΙΣΤΕΣ No      12")), std::string::npos);
}

}  // namespace

// The title reads with a blank on both sides of the kind, for either kind of receipt.
TEST_F(ReceiptScreen, TitleOfEachKind) {
    for (const auto& [collection, title] : {std::pair{true, "╡ ΑΠΟΔΕΙΞΗ ΕΙΣΠΡΑΞΕΩΣ ╞═"}, std::pair{false, "╡ ΑΠΟΔΕΙΞΗ ΠΛΗΡΩΜΗΣ ╞══"}}) {
        std::string shown;
        run(collection, [] {}, [&] { shown = con->text(29, 5, int(gr(title).size())); });
        EXPECT_EQ(shown, gr(title)) << collection;
    }
}
