// The day tables widened to 2019 and to 2049, the declaration and sheet number indexes rebuilt, the
// longer customer-chain file shortened: small fixtures of the older layouts compared byte for byte
// after one company choice, and documents dated 2026 stored and found by date afterwards.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "common/umas.h"
#include "declarations/store.h"
#include "helpers/fixture.h"
#include "helpers/invoices.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "shell/korvex.h"
#include "upgrades/old_layouts.h"
#include "upgrades/rebuilds.h"

namespace {

using namespace OLD;
using PLAT::gr;

class DateUpgrades : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
        UMAS::PATH = "DATABASE\\ARXEIO0\\";
    }
    std::string dir() const { return company(0); }
    std::string read(const std::string& name) const { return TESTS::readFile(dir() + "/" + name); }
    void write(const std::string& name, const std::string& bytes) const { TESTS::writeFile(dir() + "/" + name, bytes); }
    bool has(const std::string& name) const { return TESTS::exists(dir() + "/" + name); }
    void remove(const std::string& name) const { std::filesystem::remove(dir() + "/" + name); }
    bool readOnly(const std::string& name) const {
        struct stat st;
        return stat((dir() + "/" + name).c_str(), &st) == 0 && (st.st_mode & 0222) == 0;
    }
    std::string failing(const std::function<void()>& fn) {
        try {
            fn();
        } catch (const PLAT::ProgramExit& e) {
            EXPECT_EQ(e.code, 2);
            return e.message;
        }
        ADD_FAILURE() << "the run did not stop";
        return "";
    }
    // The documents of a day chain of a table with nodes of `rec` bytes, in chain order.
    std::vector<int32_t> walk(const std::string& name, size_t rec, int32_t head) const {
        std::string b = read(name);
        std::vector<int32_t> docs;
        for (int64_t r = head, steps = 0; steps < 70000; ++steps) {
            if ((r + 1) * int64_t(rec) > int64_t(b.size())) {
                ADD_FAILURE() << name << ": link " << r << " past the end";
                break;
            }
            const uint8_t* p = reinterpret_cast<const uint8_t*>(b.data()) + r * int64_t(rec);
            int32_t hr = rec == 4 ? PLAT::getW(p) : PLAT::getL(p);
            if (hr != (rec == 4 ? 65000 : 40000000)) docs.push_back(hr);
            r = PLAT::getW(p + rec - 2);
            if (r == 0) break;
        }
        return docs;
    }
};

// The tables of a company last written before 2010: chains that cross the inserted slots.
struct Tables2009 {
    DayTable th{7440, 4}, ah{7440, 4}, dish{7440, 6};
    Tables2009() {
        th.node(5, 12, 7440);       // day 5: invoices 12, 13, 14
        th.node(7440, 13, 7441);
        th.node(7441, 14, 0);
        th.node(7439, 20, 7442);    // the last day slot: invoice 20, then 21
        th.node(7442, 21, 0);
        th.node(100, 65000, 7443);  // a deleted invoice's hole, then 30
        th.node(7443, 30, 0);
        dish.node(0, 1000, 0);      // a day slot alone
        dish.node(3000, 40000000, 7440);
        dish.node(7440, 2000, 7441);
        dish.node(7441, 3000, 0);
    }
};

TEST_F(DateUpgrades, DayTablesOf2009GainTheSlotsTo2049OnceAndTheMarkersLast) {
    remove("OK2010.DAT");
    remove("OK2049.DAT");
    Tables2009 t;
    write("TH.DAT", t.th.bytes());
    write("AH.DAT", t.ah.bytes());
    write("DISH.DAT", t.dish.bytes());
    KORVEX::afterChoice();

    for (auto [name, table] : {std::pair{"TH", &t.th}, {"AH", &t.ah}, {"DISH", &t.dish}}) {
        DayTable y2019 = table->widened(7440, 3720), y2049 = y2019.widened(11160, 11160);
        EXPECT_TRUE(read(std::string(name) + ".DAT") == y2049.bytes()) << name;
        EXPECT_TRUE(read(std::string(name) + ".009") == table->bytes()) << name;
        EXPECT_TRUE(read(std::string(name) + ".049") == y2019.bytes()) << name;
        EXPECT_FALSE(has(std::string(name) + "2010.DAT"));
        EXPECT_FALSE(has(std::string(name) + "2049.DAT"));
    }
    EXPECT_EQ(read("TH.DAT").size(), (22320u + 4) * 4);
    // Slot 5 now links to the node moved by 14880 records.
    EXPECT_EQ(read("TH.DAT").substr(5 * 4, 4), W(12) + W(22320));
    EXPECT_EQ(read("TH.DAT").substr(22320 * 4, 4), W(13) + W(22321));
    EXPECT_EQ(read("DISH.DAT").substr(15000 * 6, 6), L(40000000) + W(0));  // a slot of 2030
    EXPECT_EQ(walk("TH.DAT", 4, 5), (std::vector<int32_t>{12, 13, 14}));
    EXPECT_EQ(walk("TH.DAT", 4, 7439), (std::vector<int32_t>{20, 21}));
    EXPECT_EQ(walk("DISH.DAT", 6, 3000), (std::vector<int32_t>{2000, 3000}));
    for (const char* m : {"OK2010.DAT", "OK2049.DAT"}) {
        EXPECT_EQ(read(m), L(0)) << m;
        EXPECT_TRUE(readOnly(m)) << m;
    }
    EXPECT_FALSE(has("SH.DAT"));  // the credit notes' table comes with their files

    auto after = snapshot(dir());
    KORVEX::afterChoice();  // the markers keep both steps from acting again
    auto again = snapshot(dir());
    EXPECT_EQ(after.size(), again.size());
    for (const auto& [name, bytes] : after) EXPECT_TRUE(again[name] == bytes) << name;
}

TEST_F(DateUpgrades, TheWideningTo2049AndDocumentsOf2026StoredAndFoundByDate) {
    remove("OK2049.DAT");
    // Chains on both sides of head 11159 in every day table, the credit notes' one included.
    DayTable th(11160, 4), sh(11160, 4), ah(11160, 4), dish(11160, 6);
    th.node(11000, 1, 11160);
    th.node(11160, 2, 0);
    th.node(11159, 3, 11161);
    th.node(11161, 4, 11162);
    th.node(11162, 5, 0);
    sh.node(11159, 7, 11160);
    sh.node(11160, 8, 0);
    ah.node(10, 9, 0);
    ah.node(11159, 11, 11160);
    ah.node(11160, 12, 0);
    dish.node(9000, 40000000, 11160);
    dish.node(11160, 0, 11161);
    dish.node(11161, 6, 0);
    write("TH.DAT", th.bytes());
    write("SH.DAT", sh.bytes());
    write("AH.DAT", ah.bytes());
    write("DISH.DAT", dish.bytes());
    KORVEX::afterChoice();

    for (auto [name, table] : {std::pair{"TH", &th}, {"SH", &sh}, {"AH", &ah}, {"DISH", &dish}}) {
        EXPECT_TRUE(read(std::string(name) + ".DAT") == table->widened(11160, 11160).bytes()) << name;
        EXPECT_TRUE(read(std::string(name) + ".049") == table->bytes()) << name;
    }
    EXPECT_FALSE(has("TH.009"));
    EXPECT_EQ(walk("TH.DAT", 4, 11000), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(walk("TH.DAT", 4, 11159), (std::vector<int32_t>{3, 4, 5}));
    EXPECT_EQ(walk("SH.DAT", 4, 11159), (std::vector<int32_t>{7, 8}));
    EXPECT_EQ(walk("AH.DAT", 4, 11159), (std::vector<int32_t>{11, 12}));
    EXPECT_EQ(walk("DISH.DAT", 6, 9000), (std::vector<int32_t>{0, 6}));
    EXPECT_TRUE(readOnly("OK2049.DAT"));

    // A declaration of 15 March 2026, through the declaration store.
    const int32_t day = UMAS::HMVAL("150326");
    ASSERT_GT(day, 11159);
    STORE::Request rq;
    rq.key = "1234";
    rq.data = "x";
    rq.date = "150326";
    STORE::Result res = STORE::storeDecl(dir() + "/", rq);
    ASSERT_TRUE(res.stored) << res.refusal;
    EXPECT_TRUE(res.notices.empty());
    EXPECT_EQ(STORE::walkChain(STORE::fileSource(dir() + "/DISH.DAT"), day).positions, std::vector<int32_t>{res.pos});

    // An invoice of the same day, through the invoice store.
    PLAT::setFixedNow(PLAT::DateTime{2026, 3, 15, 10, 0, 0, 0});
    UMAS::EURO = 340.75;
    TESTS::addCustomer("Πελατης Α.Ε.");
    TIM::TIMOS inv(0);
    ASSERT_FALSE(TESTS::openDoc(inv, 1));
    TIM0::HM = "150326";
    TESTS::setCustomer("πελ");
    TIM0::XR[1] = 100;
    ASSERT_TRUE(inv.KTT(true, false));
    PLAT::setFixedNow(std::nullopt);
    EXPECT_EQ(walk("TH.DAT", 4, day), std::vector<int32_t>{0});

    // A receipt of that day, through the chains of the documents.
    EXPECT_EQ(APODI::LINK("AH", 3, day), APODI::LINKED::DONE);
    EXPECT_EQ(walk("AH.DAT", 4, day), std::vector<int32_t>{3});
    EXPECT_EQ(walk("AH.DAT", 4, 11159), (std::vector<int32_t>{11, 12}));
}

TEST_F(DateUpgrades, CurrentTablesWithoutMarkersGetOnlyTheMarkers) {
    remove("OK2010.DAT");
    remove("OK2049.DAT");
    DayTable th(22320, 4);
    th.node(7440, 1, 22320);  // a day of 2010 with two invoices
    th.node(22320, 2, 0);
    th.node(12000, 3, 0);
    write("TH.DAT", th.bytes());
    auto before = snapshot(dir());
    KORVEX::afterChoice();
    auto after = snapshot(dir());
    EXPECT_EQ(after.size(), before.size() + 2);  // the markers
    for (const auto& [name, bytes] : before) EXPECT_TRUE(after[name] == bytes) << name;
    EXPECT_EQ(after["OK2010.DAT"], L(0));
    EXPECT_EQ(after["OK2049.DAT"], L(0));
    // The installed receipt day table, empty, at its current size.
    EXPECT_TRUE(after["AH.DAT"] == DayTable(22320, 4).bytes());
}

TEST_F(DateUpgrades, ADamagedDayTableStopsTheStepBeforeAnyRename) {
    struct Case {
        const char* what;
        bool only2049;
        std::function<void(DayTable&)> make;
        const char* says;
    } cases[] = {
        {"link past the end", false, [](DayTable& t) { t.node(7440, 1, 7441); t.node(5, 2, 7440); t.node(6, 3, 9000); }, "past the end"},
        {"link into the day slots", false, [](DayTable& t) { t.node(7440, 1, 40); t.node(5, 2, 7440); }, "into the day slots"},
        {"shorter than its slots", false, [](DayTable& t) { t = DayTable(7000, 4); }, "shorter"},
        {"link too large after the shift", true,
         [](DayTable& t) { t.node(11000, 1, 11160); t.node(11160, 2, 54376); t.node(54376, 3, 0); }, "does not fit"},
    };
    for (const Case& c : cases) {
        if (!has("OK2010.DAT")) write("OK2010.DAT", L(0));
        remove("OK2049.DAT");
        if (!c.only2049) remove("OK2010.DAT");
        DayTable t(c.only2049 ? 11160 : 7440, 4);
        c.make(t);
        write("TH.DAT", t.bytes());
        std::string msg = failing([] { KORVEX::afterChoice(); });
        EXPECT_NE(msg.find("TH.DAT"), std::string::npos) << c.what << ": " << msg;
        EXPECT_NE(msg.find(c.says), std::string::npos) << c.what << ": " << msg;
        EXPECT_TRUE(read("TH.DAT") == t.bytes()) << c.what;
        EXPECT_FALSE(has("TH.009") || has("TH.049")) << c.what;
        EXPECT_FALSE(has("OK2049.DAT")) << c.what;
    }
}

TEST_F(DateUpgrades, AStopBetweenTwoTablesIsFinishedByTheNextStart) {
    // The first table widened and renamed by a run that stopped before the next one.
    remove("OK2049.DAT");
    DayTable th(11160, 4), ah(11160, 4);
    th.node(11159, 1, 11160);
    th.node(11160, 2, 0);
    ah.node(3, 4, 11160);
    ah.node(11160, 5, 0);
    write("TH.049", th.bytes());
    write("TH.DAT", th.widened(11160, 11160).bytes());
    write("AH.DAT", ah.bytes());
    KORVEX::afterChoice();
    EXPECT_TRUE(read("TH.DAT") == th.widened(11160, 11160).bytes());
    EXPECT_TRUE(read("TH.049") == th.bytes());
    EXPECT_TRUE(read("AH.DAT") == ah.widened(11160, 11160).bytes());
    EXPECT_EQ(read("OK2049.DAT"), L(0));
}

// ---- Number indexes ----------------------------------------------------------------------------

TEST_F(DateUpgrades, DeclarationIndexOfTheOldestLayoutIsRebuiltTwiceAndSheetsOnce) {
    // Bucket 2: declarations 1000 and 2000 far into the bucket and in reverse order of records.
    NumberIndex disi(2001, 17, 10);
    disi.head(2, 2000, 2, 4500);
    disi.entry(4500, 4096, 4100, "3000000001");
    disi.entry(4100, 777, 0, "3500      ");
    disi.head(8, 2000, 1, 16009);
    disi.entry(16009, 12, 0, "9         ");
    disi.entry(3000, 55, 0, "3999");  // no chain reaches it
    ASSERT_EQ(disi.bytes().size(), 306153u);
    NumberIndex bisi(1001, 21, 14);
    bisi.head(0, 1000, 1, 1);
    bisi.entry(1, 300, 0, "1234      0001");
    ASSERT_EQ(bisi.bytes().size(), 189189u);
    write("DISI.DAT", disi.bytes());
    write("BISI.DAT", bisi.bytes());
    write("DISN.DAT", std::string(9000, '\x05'));
    write("BISN.DAT", std::string(9000, '\x06'));
    KORVEX::afterChoice();

    std::map<int, std::vector<std::pair<int32_t, std::string>>> chains{{2, {{4096, "3000000001"}, {777, "3500      "}}},
                                                                        {8, {{12, "9         "}}}};
    EXPECT_TRUE(read("DISI.DAT") == NumberIndex::rebuilt(7201, 17, 10, chains).bytes());
    EXPECT_TRUE(read("DISI.CCC") == NumberIndex::rebuilt(6001, 17, 10, chains).bytes());
    EXPECT_TRUE(read("DISI.BBB") == disi.bytes());
    EXPECT_EQ(read("DISI.DAT").substr(14402 * 17, 6), W(7200) + W(2) + W(14403));
    EXPECT_EQ(read("DISI.CCC").substr(12002 * 17, 6), W(6000) + W(2) + W(12003));
    EXPECT_TRUE(read("BISI.DAT") == NumberIndex::rebuilt(7001, 21, 14, {{0, {{300, "1234      0001"}}}}).bytes());
    EXPECT_TRUE(read("BISI.BBB") == bisi.bytes());
    EXPECT_EQ(read("DISN.DAT"), std::string(9000, '\0'));
    EXPECT_EQ(read("BISN.DAT"), std::string(9000, '\0'));
    EXPECT_FALSE(has("NewDISI.DAT") || has("NewBISI.DAT"));
    // The store finds them by number.
    STORE::Found f = STORE::find(dir() + "/", STORE::DECL, "3500");
    EXPECT_TRUE(f.found);
    EXPECT_EQ(f.pos, 777);
    EXPECT_TRUE(STORE::find(dir() + "/", STORE::SHEET, "1234      0001").found);
}

TEST_F(DateUpgrades, ACurrentDeclarationIndexWithAnOldSheetIndex) {
    std::string disi = read("DISI.DAT"), disn = read("DISN.DAT");
    NumberIndex bisi(1001, 21, 14);
    write("BISI.DAT", bisi.bytes());
    KORVEX::afterChoice();
    EXPECT_TRUE(read("DISI.DAT") == disi);
    EXPECT_TRUE(read("DISN.DAT") == disn);
    EXPECT_FALSE(has("DISI.BBB") || has("DISI.CCC"));
    EXPECT_TRUE(read("BISI.DAT") == NumberIndex::rebuilt(7001, 21, 14, {}).bytes());
}

TEST_F(DateUpgrades, ABrokenIndexChainStopsTheRunBeforeAnyRename) {
    struct Case {
        const char* what;
        std::function<void(NumberIndex&)> make;
        const char* says;
    } cases[] = {
        {"past the end", [](NumberIndex& x) { x.head(4, 2000, 1, 30000); }, "past the end"},
        {"into a head", [](NumberIndex& x) { x.head(4, 2000, 1, 8005); x.entry(8005, 1, 2001, "4"); }, "bucket head"},
        {"circle", [](NumberIndex& x) { x.head(4, 2000, 2, 8005); x.entry(8005, 1, 8006, "4"); x.entry(8006, 2, 8005, "5"); }, "circle"},
    };
    for (const Case& c : cases) {
        NumberIndex disi(2001, 17, 10);
        c.make(disi);
        write("DISI.DAT", disi.bytes());
        std::string disn = read("DISN.DAT");
        std::string msg = failing([] { KORVEX::afterChoice(); });
        EXPECT_NE(msg.find("DISI.DAT"), std::string::npos) << msg;
        EXPECT_NE(msg.find("bucket 4"), std::string::npos) << msg;
        EXPECT_NE(msg.find(c.says), std::string::npos) << c.what << ": " << msg;
        EXPECT_TRUE(read("DISI.DAT") == disi.bytes()) << c.what;
        EXPECT_EQ(read("DISN.DAT"), disn) << c.what;
        EXPECT_FALSE(has("DISI.BBB")) << c.what;
    }
}

// ---- Customer chains ---------------------------------------------------------------------------

TEST_F(DateUpgrades, ALongCustomerChainFileLosesItsRecords10000To70000) {
    DayTable dipe(70005, 6);  // 70005 records: 4 after record 70000
    dipe.node(5, 100, 10000);       // customer 5: its chain continues at the record that becomes 10000
    dipe.node(70001, 200, 10001);
    dipe.node(70002, 300, 0);
    dipe.node(9999, 400, 0);
    dipe.node(20000, 999, 0);       // left out
    write("DIPE.DAT", dipe.bytes());
    KORVEX::afterChoice();
    std::string old = dipe.bytes(), want = old.substr(0, 60000) + old.substr(70001 * 6);
    EXPECT_EQ(read("DIPE.DAT").size(), 10004u * 6);
    EXPECT_TRUE(read("DIPE.DAT") == want);
    EXPECT_TRUE(read("DIPE.OLD") == old);
    EXPECT_EQ(walk("DIPE.DAT", 6, 5), (std::vector<int32_t>{100, 200, 300}));

    // Exactly 70000 records: left alone.
    DayTable exact(70000, 6);
    write("DIPE.DAT", exact.bytes());
    std::filesystem::remove(dir() + "/DIPE.OLD");
    KORVEX::afterChoice();
    EXPECT_TRUE(read("DIPE.DAT") == exact.bytes());
    EXPECT_FALSE(has("DIPE.OLD"));

    // A kept link that would point past the shortened file or into the customer slots: stopped.
    for (uint16_t bad : {uint16_t(10004), uint16_t(77)}) {
        DayTable broken(70005, 6);
        broken.node(3, 1, bad);
        write("DIPE.DAT", broken.bytes());
        std::string msg = failing([] { KORVEX::afterChoice(); });
        EXPECT_NE(msg.find("DIPE.DAT"), std::string::npos) << msg;
        EXPECT_TRUE(read("DIPE.DAT") == broken.bytes());
        EXPECT_FALSE(has("DIPE.OLD"));
    }
}

}  // namespace
