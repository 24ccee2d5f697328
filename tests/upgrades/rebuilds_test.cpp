// The conversions of older layouts at the company choice: each old file of a small fixture, built
// field by field, compared byte for byte with its current layout after one company choice.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "common/umas.h"
#include "customers/arp0.h"
#include "helpers/fixture.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "shell/korvex.h"
#include "upgrades/old_layouts.h"
#include "upgrades/rebuilds.h"

namespace {

using namespace OLD;
using PLAT::gr;

class Upgrades : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
        UMAS::PATH = "DATABASE\\ARXEIO0\\";
        UMAS::EURO = 0;
        UMAS::SEURO.clear();
    }
    std::string dir() const { return company(0); }
    std::string read(const std::string& name) const { return TESTS::readFile(dir() + "/" + name); }
    void write(const std::string& name, const std::string& bytes) const { TESTS::writeFile(dir() + "/" + name, bytes); }
    bool has(const std::string& name) const { return TESTS::exists(dir() + "/" + name); }
    // A company choice whose notices are answered with Esc: the screens that waited for a key.
    std::vector<std::string> chooseAnswering() {
        std::vector<std::string> screens;
        con->onIdle = [&] {
            screens.push_back(con->dump());
            con->ch(27);
        };
        KORVEX::afterChoice();
        con->onIdle = nullptr;
        return screens;
    }
    // The created count of a customer file set ("HF.DAT" or "XHF.DAT").
    void created(const std::string& hf, uint16_t n) const { write(hf, std::string{char(n & 0xFF), char(n >> 8)}); }
    // The run must end with the message of a failed step.
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
};

// ---- Code tables --------------------------------------------------------------------------------

TEST_F(Upgrades, CountriesOfEveryOldSizeGetTextCodes) {
    for (int count : {84, 144, 240}) {
        std::string old, want;
        for (int i = 1; i <= count; ++i) {
            // Entry 1 has the code 0, entry 2 a five-digit code (cut to its first four digits).
            uint16_t kv = i == 1 ? 0 : i == 2 ? 12345 : uint16_t(i * 3);
            std::string name = gr("ΧΩΡΑ ") + std::to_string(i);
            old += ORECPOL({kv, name});
            want += RECPOL(i == 1 ? "0" : i == 2 ? "1234" : std::to_string(i * 3), name);
        }
        write("XVR.DAT", old);
        KORVEX::afterChoice();
        EXPECT_EQ(read("XVR.DAT"), pad(want, 6240)) << count << " entries";
        EXPECT_EQ(read("XVR.BBB"), old) << "the old table is kept beside the new one";
        std::remove((dir() + "/XVR.BBB").c_str());
    }
}

TEST_F(Upgrades, CurrenciesTwoLayoutsOldReachTheCurrentOneAndSetTheEuro) {
    std::string old = nomHead("010109", "311209"), want = nomHead("010109", "311209");
    for (int i = 1; i <= 24; ++i) {
        Nom n{"", gr("ΝΟΜΙΣΜΑ ") + std::to_string(i), "C" + std::to_string(i % 10), uint16_t(i), "1.2345", "9.87654"};
        uint16_t kv = i == 3 ? 0 : i == 4 ? 65535 : uint16_t(i);
        if (i == 24) n.is = "340.750";
        old += OORECNOM(kv, n);
        n.kv = i == 3 ? "0" : i == 4 ? "6553" : std::to_string(i);
        want += RECNOM(n);
    }
    ASSERT_EQ(old.size(), 1094u);
    write("NOM.DAT", old);
    KORVEX::afterChoice();
    EXPECT_EQ(read("NOM.DAT"), want);
    EXPECT_DOUBLE_EQ(UMAS::EURO, 340.75);
    EXPECT_EQ(UMAS::SEURO, "340.750");
}

TEST_F(Upgrades, CurrenciesOfTheSecondLayoutWidenTheRates) {
    std::string old = nomHead("010102", "311202"), want = nomHead("010102", "311202");
    for (int i = 1; i <= 24; ++i) {
        Nom n{"E" + std::to_string(i), gr("ΕΥΡΩ"), "EUR", 1, i == 5 ? "" : "1234567", i == 24 ? "1.5" : "7654321"};
        old += ORECNOM(n);
        want += RECNOM(n);
    }
    ASSERT_EQ(old.size(), 1166u);
    write("NOM.DAT", old);
    REBUILDS::REB_NOM_2();
    EXPECT_EQ(read("NOM.DAT"), want);
    EXPECT_DOUBLE_EQ(UMAS::EURO, 1.5);
    EXPECT_EQ(UMAS::SEURO, "  1.500");
}

TEST_F(Upgrades, EuroRateForms) {
    struct Case {
        const char* text;
        double euro;
        const char* seuro;
    } cases[] = {
        {"340.750", 340.75, "340.750"}, {"", 0, "  0.000"},        {"1,5", 0, "  0.000"},
        {" \t2.5", 2.5, "  2.500"},     {"-1.5", -1.5, " -1.500"}, {"+3", 3, "  3.000"},
        {"1E2", 100, "100.000"},        {"1.", 0, "  0.000"},      {"2.5 ", 0, "  0.000"},
        {"12345.6", 12345.6, "12345.6"}, {"0.0005", 0.0005, "  0.001"}, {"1e", 0, "  0.000"},
        {"1E999", 0, "  0.000"},
    };
    for (const Case& c : cases) {
        std::string nom = read("NOM.DAT");
        nom.replace(14 + 23 * 50 + 41, 9, S(8, c.text));
        write("NOM.DAT", nom);
        REBUILDS::REB_NOM_2();
        EXPECT_DOUBLE_EQ(UMAS::EURO, c.euro) << c.text;
        EXPECT_EQ(UMAS::SEURO, c.seuro) << c.text;
        EXPECT_EQ(read("NOM.DAT"), nom) << "the current table is only read";
    }
}

TEST_F(Upgrades, CurrenciesOfAnotherSizeKeepTheEuroOfTheCompanyBefore) {
    KORVEX::afterChoice();
    EXPECT_DOUBLE_EQ(UMAS::EURO, 340.75);
    write("NOM.DAT", std::string(1000, 'x'));
    con->ch(27);  // the notice of the table's size
    KORVEX::afterChoice();
    EXPECT_EQ(con->pending(), 0u);
    EXPECT_DOUBLE_EQ(UMAS::EURO, 340.75);
    EXPECT_EQ(UMAS::SEURO, "340.750");
    EXPECT_EQ(read("NOM.DAT"), std::string(1000, 'x'));
}

TEST_F(Upgrades, DocumentsOfBothOldLayouts) {
    std::string old1, old2, want1, want2;
    for (int i = 1; i <= 48; ++i) {
        std::string ee = gr("ΠΑΡΑΣΤΑΤΙΚΟ ") + std::to_string(i);
        std::string kv = i % 5 ? "N" + std::to_string(i) : "";
        old1 += ORECPRE1(ee);
        want1 += RECPRE("", ee);
        old2 += ORECPRE2(kv, ee);
        want2 += RECPRE(kv, ee);
    }
    write("PRE.DAT", old1);
    KORVEX::afterChoice();
    EXPECT_EQ(read("PRE.DAT"), want1);
    write("PRE.DAT", old2);
    KORVEX::afterChoice();
    EXPECT_EQ(read("PRE.DAT"), want2);
}

TEST_F(Upgrades, TaxesOfBothOldLayouts) {
    std::string old1, want1;
    for (int i = 1; i <= 24; ++i) {
        Tax t{gr("ΦΟΡΟΣ ") + std::to_string(i), "18.5", uint8_t(i)};
        old1 += RECTAX("A" + std::to_string(i), t);
    }
    want1 = pad(old1, 1344);
    write("TAX.DAT", old1);
    KORVEX::afterChoice();
    EXPECT_EQ(read("TAX.DAT"), want1);

    std::string old2, want2;
    for (int i = 1; i <= 48; ++i) {
        Tax t{gr("ΔΑΣΜΟΣ ") + std::to_string(i), std::to_string(i) + ".25", uint8_t(30 - i % 30)};
        uint16_t kv = i == 1 ? 0 : i == 2 ? 7 : i == 3 ? 1234 : uint16_t(100 + i);
        old2 += ORECTAX(kv, t);
        want2 += RECTAX(i == 1 ? "" : i == 2 ? "7" : i == 3 ? "123" : std::to_string(100 + i), t);
    }
    write("TAX.DAT", old2);
    KORVEX::afterChoice();
    EXPECT_EQ(read("TAX.DAT"), want2);
    // The table in memory, read from the old file before the sequence, is the converted one.
    EXPECT_EQ(std::string(UMAS::PTAX.begin(), UMAS::PTAX.end()), want2);
}

TEST_F(Upgrades, CustomsOfficesFullAndHalfTables) {
    for (int count : {360, 180}) {
        std::string old, want;
        for (int i = 1; i <= count; ++i) {
            std::string te = gr("ΤΕΛΩΝΕΙΟ ") + std::to_string(i);
            old += ORECTEL(uint16_t(i == 1 ? 0 : 1000 + i), te);
            want += RECTEL(uint16_t(i == 1 ? 0 : 1000 + i), te, "");
        }
        write("TEL.DAT", old);
        KORVEX::afterChoice();
        EXPECT_EQ(read("TEL.DAT"), pad(want, 15840)) << count;
        EXPECT_EQ(read("TEL.BBB"), old) << "the old table is kept beside the new one";
        std::remove((dir() + "/TEL.BBB").c_str());
    }
}

// A customs-office table of no layout (a current one cut to half, one longer than either layout,
// an emptied one) is never converted: it is left as it is and told by name at the company choice.
TEST_F(Upgrades, CustomsOfficesOfNoLayoutAreLeftAndTold) {
    const std::string current = read("TEL.DAT");
    ASSERT_EQ(current.size(), 15840u);
    for (const std::string& odd : {current.substr(0, 7920), std::string(9000, 'x'), std::string()}) {
        write("TEL.DAT", odd);
        std::string screen;
        con->onIdle = [&] {
            if (screen.empty()) screen = con->dump();
            con->ch(27);
        };
        KORVEX::afterChoice();
        con->onIdle = nullptr;
        EXPECT_EQ(read("TEL.DAT"), odd) << odd.size();
        EXPECT_FALSE(has("TEL.BBB"));
        EXPECT_NE(screen.find("TEL.DAT " + PLAT::cp737ToUtf8(gr("έχει ")) + std::to_string(odd.size())), std::string::npos)
            << screen;
    }
}

TEST_F(Upgrades, AMissingTableStopsTheRunAtItsStep) {
    std::remove((dir() + "/PRE.DAT").c_str());
    std::string msg = failing([] { KORVEX::afterChoice(); });
    EXPECT_NE(msg.find("REB_PRE"), std::string::npos) << msg;
    EXPECT_NE(msg.find("PRE.DAT"), std::string::npos) << msg;
    EXPECT_EQ(KORVEX::sequenceLog.back(), "REB_PRE");
}

TEST_F(Upgrades, AReadOnlyTableStopsTheRunAtItsProbe) {
    if (geteuid() == 0) GTEST_SKIP() << "the superuser opens read-only files for writing";
    chmod((dir() + "/TEL.DAT").c_str(), 0444);
    std::string msg = failing([] { KORVEX::afterChoice(); });
    EXPECT_NE(msg.find("REB_TEL"), std::string::npos) << msg;
    EXPECT_EQ(KORVEX::sequenceLog.back(), "REB_TEL");
}

TEST_F(Upgrades, ATableOfNoKnownSizeIsLeftAsItIsAndTold) {
    write("XVR.DAT", std::string(1933, 'k'));
    write("PRE.DAT", std::string(100, 'p'));
    write("NOM.DAT", read("NOM.DAT").substr(0, 607));
    std::vector<std::string> screens;
    con->onIdle = [&] {
        screens.push_back(con->dump());
        con->ch(27);
    };
    KORVEX::afterChoice();
    con->onIdle = nullptr;
    EXPECT_EQ(read("XVR.DAT"), std::string(1933, 'k'));
    EXPECT_EQ(read("PRE.DAT"), std::string(100, 'p'));
    EXPECT_EQ(read("NOM.DAT").size(), 607u);
    for (const char* f : {"XVR.BBB", "PRE.BBB", "PRE.CCC", "NOM.BBB", "NOM.CCC"}) EXPECT_FALSE(has(f)) << f;
    // One box names each table once, with its size and the table's.
    ASSERT_FALSE(screens.empty());
    const std::string& box = screens.front();
    const std::string has_ = PLAT::cp737ToUtf8(gr(".DAT έχει ")), instead = PLAT::cp737ToUtf8(gr(" bytes αντί "));
    for (const std::string& l : {"NOM" + has_ + "607" + instead + "1214", "XVR" + has_ + "1933" + instead + "6240",
                                 "PRE" + has_ + "100" + instead + "1728"})
        EXPECT_NE(box.find(l), std::string::npos) << l << "\n" << box;
}

// ---- Customers ----------------------------------------------------------------------------------

TEST_F(Upgrades, CustomerRecordsAreWidenedAtTheirNumbers) {
    std::string old, want;
    for (int i = 0; i < 10; ++i) {
        old += ORECPEL(sample(i));
        want += RR0(sample(i));
    }
    ASSERT_EQ(old.size(), 2520u);
    write("MF.DAT", old);
    created("HF.DAT", 10);
    write("XMF.DAT", std::string(1000, 'z'));
    auto told = chooseAnswering();
    EXPECT_EQ(read("MF.DAT"), want);
    EXPECT_EQ(read("MF.BBB"), old);
    EXPECT_FALSE(has("NewMF.DAT"));
    EXPECT_EQ(read("XMF.DAT"), std::string(1000, 'z'));  // a multiple of neither size
    EXPECT_FALSE(has("XMF.BBB"));
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("XMF.DAT: 1000 bytes"), std::string::npos) << told[0];
    EXPECT_EQ(told[0].find(" MF.DAT"), std::string::npos) << told[0];
    chooseAnswering();  // current now: nothing more
    EXPECT_EQ(read("MF.DAT"), want);
}

TEST_F(Upgrades, ACustomerFileBothSizesFitIsConvertedOnlyWhenItReadsAsOld) {
    // 38052 bytes: 151 old records or 126 current ones.
    std::string current;
    for (int i = 0; i < 126; ++i) current += RR0(sample(i));
    ASSERT_EQ(current.size(), 38052u);
    write("MF.DAT", current);
    created("HF.DAT", 126);
    std::string zeros(38052, '\0');  // empty records read in both layouts: current
    write("XMF.DAT", zeros);
    created("XHF.DAT", 126);
    KORVEX::afterChoice();
    EXPECT_EQ(read("MF.DAT"), current);
    EXPECT_EQ(read("XMF.DAT"), zeros);
    EXPECT_FALSE(has("MF.BBB"));
    EXPECT_FALSE(has("XMF.BBB"));

    std::string old, want;
    for (int i = 0; i < 151; ++i) {
        old += ORECPEL(sample(i));
        want += RR0(sample(i));
    }
    write("XMF.DAT", old);
    created("XHF.DAT", 151);
    KORVEX::afterChoice();
    EXPECT_EQ(read("XMF.DAT"), want);
    EXPECT_EQ(read("XMF.BBB"), old);
}

// A current customer file cut short at a multiple of the old record size (2772 bytes: 11 old
// records, 9.18 current ones) is damage, not an old file: it is left as it is and told.
TEST_F(Upgrades, ACurrentCustomerFileCutShortAtAnOldSizeIsLeftAndTold) {
    std::string current;
    for (int i = 0; i < 10; ++i) current += RR0(sample(i));
    const std::string cut = current.substr(0, 2772);
    write("MF.DAT", cut);
    created("HF.DAT", 10);
    auto told = chooseAnswering();
    EXPECT_EQ(read("MF.DAT"), cut);
    EXPECT_FALSE(has("MF.BBB"));
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("MF.DAT: 2772 bytes"), std::string::npos) << told[0];
}

TEST_F(Upgrades, TheOldestIndexIsRebuiltFollowingItsChainsAndExtended) {
    // Bucket 3: customers 5 and then 300, the entries far from the bucket and in reverse order.
    OldIndex idx;
    idx.head(3, 4000);
    idx.entry(4000, 5, 2000);
    idx.entry(2000, 300, 0);
    idx.chain(0, {1, 2, 3, 4, 258});
    idx.chain(49, {65535});
    idx.entry(1000, 77, 0);  // an entry no chain reaches
    write("IF.DAT", idx.bytes());
    write("PN.DAT", std::string(16000, '\x11'));
    write("XPN.DAT", std::string(400, '\x22'));
    KORVEX::afterChoice();

    std::map<int, std::vector<int32_t>> chains{{0, {1, 2, 3, 4, 258}}, {3, {5, 300}}, {49, {65535}}};
    std::string want = newIndex(60, chains);
    std::string got = read("IF.DAT");
    ASSERT_EQ(got.size(), 2400480u);
    EXPECT_TRUE(got == want);
    EXPECT_EQ(got.substr(15003 * 8, 24), W(5000) + W(2) + L(15004) + L(5) + L(15005) + L(300) + L(0));
    EXPECT_EQ(read("IF.BBB"), idx.bytes());
    EXPECT_TRUE(read("IF.CCC") == newIndex(50, chains));
    EXPECT_EQ(read("PN.DAT"), std::string(16000, '\0'));
    EXPECT_EQ(read("XPN.DAT"), std::string(16000, '\0'));
    EXPECT_FALSE(has("NewIF.DAT"));
    EXPECT_FALSE(has("XIF.BBB"));
    EXPECT_FALSE(has("XIF.CCC"));
}

TEST_F(Upgrades, OldCustomersAreFoundByNameThroughTheRebuiltIndex) {
    // An old company: records of the shorter layout and their oldest index, chains in name order.
    const char* names[] = {"ΑΛΦΑ Α.Ε.", "ΑΒΓ ΕΠΕ", "ΑΑΑ", "ALPHA LTD", "ΚΑΠΠΑ", "KAPPA", "ΚΑΡΑΣ", "ZETA", "0-ONE", "ΩΜΕΓΑ"};
    std::string mf;
    std::map<int, std::vector<uint16_t>> buckets;
    std::vector<std::string> keys;
    for (const char* n : names) {
        Customer c = sample(int(keys.size()));
        c.ea = ARP0::KEY(gr(n));
        keys.push_back(c.ea);
        mf += ORECPEL(c);
    }
    std::vector<uint16_t> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = uint16_t(i);
    std::sort(order.begin(), order.end(), [&](uint16_t a, uint16_t b) { return ARP0::compareNames(keys[a], keys[b]) < 0; });
    for (uint16_t i : order) buckets[ARP0::bucketOf(keys[i])].push_back(i);
    OldIndex idx;
    for (auto& [b, chain] : buckets)
        if (b < 50) idx.chain(b, chain);  // the oldest index had no buckets for the digits
    write("MF.DAT", mf);
    created("HF.DAT", uint16_t(keys.size()));
    write("IF.DAT", idx.bytes());
    KORVEX::afterChoice();
    EXPECT_EQ(ARP0::checkIndex(0), std::vector<std::string>{});
    for (size_t i = 0; i < keys.size(); ++i) {
        ARP0::EA = keys[i];
        bool digit = ARP0::bucketOf(keys[i]) >= 50;
        EXPECT_EQ(ARP0::CHO(0), !digit) << i;
        if (!digit) {
            EXPECT_EQ(ARP0::XN, i);
        }
    }
}

TEST_F(Upgrades, TheForeignIndexAloneEmptiesBothFreedSlotFiles) {
    OldIndex idx;
    idx.chain(10, {9});
    write("XIF.DAT", idx.bytes());
    write("PN.DAT", std::string(16000, '\x11'));
    std::string ifBefore = read("IF.DAT");
    REBUILDS::REIDEX_PELAT("XIF");
    EXPECT_EQ(read("PN.DAT"), std::string(10000, '\0'));
    EXPECT_EQ(read("XPN.DAT"), std::string(10000, '\0'));
    EXPECT_TRUE(read("XIF.DAT") == newIndex(50, {{10, {9}}}));
    EXPECT_TRUE(read("IF.DAT") == ifBefore);
}

TEST_F(Upgrades, ABrokenOldChainStopsTheRunBeforeAnyRename) {
    struct Case {
        const char* what;
        std::function<void(OldIndex&)> make;
    } cases[] = {
        {"past the end", [](OldIndex& i) { i.head(7, 5050); }},
        {"circle", [](OldIndex& i) { i.head(7, 800); i.entry(800, 1, 801); i.entry(801, 2, 800); }},
    };
    for (const Case& c : cases) {
        OldIndex idx;
        c.make(idx);
        write("IF.DAT", idx.bytes());
        std::string pn = read("PN.DAT");
        std::string msg = failing([] { KORVEX::afterChoice(); });
        EXPECT_NE(msg.find("REIDEX_PELAT IF"), std::string::npos) << msg;
        EXPECT_NE(msg.find("bucket 7"), std::string::npos) << msg;
        EXPECT_EQ(read("IF.DAT"), idx.bytes()) << c.what;
        EXPECT_EQ(read("PN.DAT"), pn) << c.what;
        EXPECT_FALSE(has("IF.BBB")) << c.what;
    }
}

TEST_F(Upgrades, AnExistingBackupStopsTheRunAndKeepsTheOldFile) {
    std::string old = ORECPEL(sample(1)) + ORECPEL(sample(2));
    write("MF.DAT", old);
    write("MF.BBB", "an earlier backup");
    std::string msg = failing([] { KORVEX::afterChoice(); });
    EXPECT_NE(msg.find("REB_PELAT MF"), std::string::npos) << msg;
    EXPECT_NE(msg.find("MF.BBB"), std::string::npos) << msg;
    // The program has ended: the line says to start it again, not to choose the company again.
    EXPECT_NE(msg.find("move it away and start the program again"), std::string::npos) << msg;
    EXPECT_EQ(msg.find("choose the company"), std::string::npos) << msg;
    EXPECT_EQ(read("MF.DAT"), old);
    EXPECT_EQ(read("MF.BBB"), "an earlier backup");
    // The same for the index steps and their own backup names.
    OldIndex idx;
    idx.chain(1, {1});
    std::remove((dir() + "/MF.BBB").c_str());
    write("IF.DAT", idx.bytes());
    write("IF.BBB", "x");
    msg = failing([] { KORVEX::afterChoice(); });
    EXPECT_NE(msg.find("REIDEX_PELAT IF"), std::string::npos) << msg;
    EXPECT_EQ(read("IF.DAT"), idx.bytes());
    std::remove((dir() + "/IF.BBB").c_str());
    write("IF.CCC", "y");
    msg = failing([] { KORVEX::afterChoice(); });
    EXPECT_NE(msg.find("REIDEX_PEL2 IF"), std::string::npos) << msg;
    EXPECT_EQ(read("IF.DAT").size(), 2000400u);  // the first step done, the second refused
    EXPECT_NE(msg.find("move it away and start the program again"), std::string::npos) << msg;
}

TEST_F(Upgrades, AnExistingCurrencyBackupStopsTheRunAndKeepsTheOldTable) {
    std::string old = nomHead("010102", "311202");
    for (int i = 1; i <= 24; ++i) old += ORECNOM(Nom{"E" + std::to_string(i), gr("ΕΥΡΩ"), "EUR", 1, "1234567", "7654321"});
    write("NOM.DAT", old);
    write("NOM.CCC", "an earlier backup");
    const std::string msg = failing([] { KORVEX::afterChoice(); });
    EXPECT_NE(msg.find("REB_NOM_2"), std::string::npos) << msg;
    EXPECT_NE(msg.find("NOM.CCC"), std::string::npos) << msg;
    EXPECT_NE(msg.find("move it away and start the program again"), std::string::npos) << msg;
    EXPECT_EQ(msg.find("choose the company"), std::string::npos) << msg;
    EXPECT_EQ(read("NOM.DAT"), old);
    EXPECT_EQ(read("NOM.CCC"), "an earlier backup");
}

// ---- The whole folder -----------------------------------------------------------------------------

TEST_F(Upgrades, ACurrentFolderIsLeftByteForByteAndNothingIsCreated) {
    // Some content in every file, so that a rewrite would show.
    std::string mf;
    for (int i = 0; i < 3; ++i) mf += RR0(sample(i));
    write("MF.DAT", mf);
    created("HF.DAT", 3);
    std::string xvr = read("XVR.DAT");
    xvr.replace(0, 26, RECPOL("GR", gr("ΕΛΛΑΔΑ")));
    write("XVR.DAT", xvr);
    auto before = snapshot(dir());
    KORVEX::afterChoice();
    KORVEX::afterChoice();
    auto after = snapshot(dir());
    EXPECT_EQ(before.size(), after.size());
    for (const auto& [name, bytes] : after) EXPECT_TRUE(before.count(name)) << "created: " << name;
    for (const auto& [name, bytes] : before) EXPECT_TRUE(after[name] == bytes) << name;
    EXPECT_DOUBLE_EQ(UMAS::EURO, 340.75);
}

TEST_F(Upgrades, AZeroEuroRateIsReportedAfterTheSequence) {
    std::string nom = read("NOM.DAT");
    nom.replace(14 + 23 * 50 + 41, 9, S(8, ""));
    write("NOM.DAT", nom);
    bool shown = false;
    con->onIdle = [&] {
        if (shown) return;
        shown = true;
        EXPECT_NE(con->dump().find("Η ισοτιμία του ευρώ (νόμισμα 24) είναι 0."), std::string::npos) << con->dump();
        con->ch(13);
    };
    KORVEX::afterChoice();
    EXPECT_TRUE(shown);
    EXPECT_EQ(con->dump().find("ισοτιμία"), std::string::npos);  // the screen under the box is back
}

}  // namespace
