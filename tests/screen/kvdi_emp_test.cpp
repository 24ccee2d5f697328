// The goods catalogue on the headless console: the index, the details under "FEMP", the rates in
// the shared tax table, the picker and the paste of the clipboard remainder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "codes/gencod.h"
#include "platform/files.h"
#include "screen/kvdi_fixture.h"

namespace {

using namespace KVTEST;

class Goods : public CodeTables {
protected:
    // The index: codes of entries 1.. with details numbers ri (default: n-1); details for each.
    void seedGoods(const std::vector<std::pair<std::string, uint16_t>>& index, const std::vector<KVDI::REK>& details) {
        std::string emp(KVDI::F_EMP.size, '\0');
        for (size_t n = 1; n <= KVDI::PEMP_N; ++n) {
            KVDI::REC r{"", uint16_t(n - 1)};
            if (n <= index.size()) r = {index[n - 1].first, index[n - 1].second};
            r.encode(reinterpret_cast<uint8_t*>(emp.data()) + (n - 1) * KVDI::REC::SIZE);
        }
        TESTS::writeFile(dat("EMP"), emp);
        std::string pemp = read("PEMP");
        for (size_t i = 0; i < details.size(); ++i)
            details[i].encode(reinterpret_cast<uint8_t*>(pemp.data()) + i * KVDI::REK::SIZE);
        TESTS::writeFile(dat("PEMP"), pemp);
    }
    KVDI::REK detail(size_t ri) const {
        return KVDI::REK::decode(reinterpret_cast<const uint8_t*>(read("PEMP").data()) + ri * KVDI::REK::SIZE);
    }
    static KVDI::REK goods(const char* desc, uint8_t kind, const char* rate1) {
        KVDI::REK r = KVDI::REK::blank();
        r.RI[1] = gr(desc);
        r.EE = kind;
        r.PC[1] = rate1;
        r.TR[1] = "L1";
        r.KF[1][1] = 1;
        r.KF[1][2] = 2;
        return r;
    }
};

TEST_F(Goods, TheBarReadsTheDetailsAndTheirRatesGoIntoTheTaxTable) {
    seed("TAX", {"A00|ΔΑΣΜΟΣ|10|1", "E10|ΕΦΚ|0.7|3"});
    seedGoods({{"87032319 90 0000 0000 2401", 0}, {"02011000 00 0000 0000 1301", 1}},
              {goods("ΑΥΤΟΚΙΝΗΤΑ", 1, "22"), goods("ΚΡΕΑΤΑ", 3, "18")});
    std::string kind1, desc1, kind2, desc2;
    bool first = true;
    con->onIdle = [&] {
        if (first) {
            first = false;
            kind1 = con->text(28, 17, 15);
            desc1 = con->text(8, 18, 10);
            EXPECT_EQ(KVDI::getTax(1).PS, "22");
            key(SC::DOWN);
        } else if (kind2.empty()) {
            kind2 = con->text(28, 17, 15);
            desc2 = con->text(8, 18, 10);
            ch(ESC);
        }
    };
    uint8_t KK = 0;
    KVDI::EMP(KVDI::V0A, false, KK);
    con->onIdle = nullptr;
    EXPECT_EQ(kind1, gr("  ΑΥΤΟΚΙΝΗΤΟ   "));
    EXPECT_EQ(desc1, gr("ΑΥΤΟΚΙΝΗΤΑ"));
    EXPECT_EQ(kind2, gr("ΠΕΤΡΕΛΑΙΟΕΙΔΗ  ")) << "a stored kind 3 is shown";
    EXPECT_EQ(desc2, pad(gr("ΚΡΕΑΤΑ"), 10));
    // The rates of the last entry read stay in the tax table; codes, names and kinds are the table's.
    EXPECT_EQ(KVDI::getTax(1), (KVDI::RECTAX{"A00", gr("ΔΑΣΜΟΣ"), "18", 1}));
    EXPECT_EQ(KVDI::getTax(2).PS, std::string(7, ' '));
    EXPECT_EQ(KVDI::getTax(2).KV, "E10");
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

TEST_F(Goods, F1SortsTheIndexKeepingEachDetailsNumber) {
    seedGoods({{"30000000 00 0000 0000 0000", 0}, {"", 1}, {"10000000 00 0000 0000 0000", 2}, {"20000000 00 0000 0000 0000", 3}}, {});
    const FileId id = fileId(dat("EMP"));
    key(SC::F1);  // a sort alone is not written
    uint8_t KK = 0;
    run([&] { KVDI::EMP(KVDI::V0A, false, KK); });
    EXPECT_TRUE(sameFile(fileId(dat("EMP")), id));

    // An edit (Enter, then Esc on the code) and F1: sorted, empty codes last, RI kept.
    ch(ENTER);
    ch(ESC);
    key(SC::F1);
    run([&] { KVDI::EMP(KVDI::V0A, false, KK); });
    const std::string f = read("EMP");
    ASSERT_EQ(f.size(), 43500u);
    auto rec = [&](size_t n) { return KVDI::REC::decode(reinterpret_cast<const uint8_t*>(f.data()) + (n - 1) * 29); };
    EXPECT_EQ(rec(1), (KVDI::REC{"10000000 00 0000 0000 0000", 2}));
    EXPECT_EQ(rec(2), (KVDI::REC{"20000000 00 0000 0000 0000", 3}));
    EXPECT_EQ(rec(3), (KVDI::REC{"30000000 00 0000 0000 0000", 0}));
    EXPECT_TRUE(rec(4).KV.empty());
    EXPECT_EQ(KVDI::EMP_KVAL(""), 1e22);
    EXPECT_EQ(KVDI::EMP_KVAL("1234 5678 9012345"), 1234567890.0) << "the first 12 characters";
}

TEST_F(Goods, DetailsAreRewrittenAtTheirOffsetOnlyWhenTheyChanged) {
    seed("TAX", {"A00|ΔΑΣΜΟΣ|10|1"});
    seedGoods({{"11111111", 5}, {"22222222", 6}}, {});
    // Entry 1 (details 5): kind Right, Esc: stored. Entry 2 (details 6): kind Esc without change.
    const std::string before = read("PEMP");
    ch(ENTER);
    ch(ENTER);         // the code as it is
    key(SC::RIGHT);    // kind 1
    ch(ESC);           // stores and returns to the codes
    key(SC::DOWN);
    ch(ENTER);
    ch(ENTER);
    ch(ESC);
    uint8_t KK = 0;
    run([&] { KVDI::EMP(KVDI::V0A, false, KK); });
    const std::string after = read("PEMP");
    ASSERT_EQ(after.size(), before.size());
    KVDI::REK want = KVDI::REK::blank();
    want.EE = 1;
    EXPECT_EQ(detail(5), want);
    // Only record 5 differs.
    for (size_t r = 0; r < KVDI::PEMP_N; ++r)
        if (r != 5) {
            ASSERT_EQ(after.substr(r * 1075, 1075), before.substr(r * 1075, 1075)) << r;
        }
    EXPECT_EQ(after.substr(5 * 1075 + 246, 1), std::string(1, '\1'));
}

TEST_F(Goods, KindKeysCycleThroughNoneCarAndMachine) {
    seedGoods({{"11111111", 0}}, {});
    ch(ENTER);
    ch(ENTER);
    for (int i = 0; i < 4; ++i) key(SC::LEFT);  // 0 -> 2 -> 1 -> 0 -> 2
    ch(ESC);
    uint8_t KK = 0;
    run([&] { KVDI::EMP(KVDI::V0A, false, KK); });
    EXPECT_EQ(detail(0).EE, 2);
    ch(ENTER);
    ch(ENTER);
    key(SC::RIGHT);  // 2 -> 0, never 3
    ch(ESC);
    run([&] { KVDI::EMP(KVDI::V0A, false, KK); });
    EXPECT_EQ(detail(0).EE, 0);
}

TEST_F(Goods, PickerHandsBackTheTaxLineAndTabComposesTheCode) {
    seed("TAX", {"A00|ΔΑΣΜΟΣ|10|1", "B00|ΦΠΑ|24|8"});
    KVDI::REK g = goods("ΑΥΤΟΚΙΝΗΤΑ", 1, "22");
    g.KF[2][1] = 2;
    seedGoods({{"11111111 00 0000 0000 0000", 0}, {"87032319 90 0000 0000 2401", 1}}, {KVDI::REK::blank(), g});
    // Opening on the caller's code; Enter, then the second tax line.
    KVDI::RECEMP m;
    m.KV = "87032319";
    m.TC = {0, 9, 9, 9, 9, 9, 9, 9, 9};
    uint8_t KK = 9;
    ch(ENTER);
    key(SC::DOWN);
    ch(ENTER);
    KVDI::EMP(m, true, KK);
    EXPECT_EQ(KK, 0);
    EXPECT_EQ(m.KV, "87032319 90 0000 0000 2401");
    EXPECT_EQ(m.EE, 1);
    EXPECT_EQ(m.RI[1], gr("ΑΥΤΟΚΙΝΗΤΑ"));
    EXPECT_EQ(m.TC, (std::array<uint8_t, 9>{0, 2, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(KVDI::getTax(1).PS, "22");
    EXPECT_EQ(SCR::STACKPOINTER(), 0);

    // A line with no taxes gives all zero; a code of blanks or zeros opens entry 1.
    m.KV = "00000000";
    ch(ENTER);
    key(SC::DOWN);
    key(SC::DOWN);
    ch(ENTER);
    KVDI::EMP(m, true, KK);
    EXPECT_EQ(m.KV, "11111111 00 0000 0000 0000");
    EXPECT_EQ(m.TC, (std::array<uint8_t, 9>{}));

    // Tab: the VAT list of chapter 1; the code is composed, EE and TC stay as the caller had them.
    PLAT::makeDirs("TARIC");
    TESTS::writeFile(work->file("TARIC/FPA01.TXT"), gr("0101210000 ΑΛΟΓΑ ΚΑΘΑΡΟΑΙΜΑ 1301\r\nΓΙΑ ΑΝΑΠΑΡΑΓΩΓΗ\r\n"));
    m.EE = 7;
    m.TC[1] = 5;
    ch(TAB);
    ch(ENTER);
    KVDI::EMP(m, true, KK);
    EXPECT_EQ(KK, 0);
    EXPECT_EQ(m.KV, "01012100 00 0000 0000 1301");
    EXPECT_EQ(m.KV.size(), 26u);
    EXPECT_EQ(m.RI[1], gr("ΑΛΟΓΑ ΚΑΘΑΡΟΑΙΜΑ"));
    EXPECT_EQ(m.RI[2], gr("ΓΙΑ ΑΝΑΠΑΡΑΓΩΓΗ"));
    EXPECT_EQ(m.EE, 7);
    EXPECT_EQ(m.TC[1], 5);
}

TEST_F(Goods, TaxesOfALineShowTheirRatesAndTheTaxPickerSetsASlot) {
    seed("TAX", {"A00|ΔΑΣΜΟΣ|10|1", "E10|ΕΦΚ|1|3", "B00|ΦΠΑ|24|8"});
    KVDI::REK g = KVDI::REK::blank();
    g.PC[1] = "18";
    g.PC[2] = "0.5";
    g.KF[1][1] = 1;
    g.KF[1][2] = 2;
    seedGoods({{"11111111", 0}}, {g});
    // Enter (code), Enter (kind), six descriptions, Enter on line 1 (its code), Enter: the taxes;
    // Down to slot 3, Enter: the tax picker opens on the first free entry (4); Up, Enter, Enter
    // picks tax 3.
    ch(ENTER);
    ch(ENTER);
    ch(ENTER);
    for (int i = 0; i < 6; ++i) ch(ENTER);
    ch(ENTER);
    ch(ENTER);
    std::string slot1, slot2;
    bool done = false;
    con->onIdle = [&] {
        if (done) return;
        done = true;
        slot1 = con->text(67, 8, 12);
        slot2 = con->text(67, 9, 12);
        key(SC::DOWN);
        key(SC::DOWN);
        ch(ENTER);
        key(SC::UP);
        ch(ENTER);
        ch(ENTER);
        key(SC::PGDN);  // the comments
        ch(ESC);        // stores, back to the codes
        ch(ESC);
    };
    uint8_t KK = 0;
    KVDI::EMP(KVDI::V0A, false, KK);
    con->onIdle = nullptr;
    EXPECT_EQ(slot1, "A00   18.00%");
    EXPECT_EQ(slot2, "E10   0.500 ");
    const KVDI::REK d = detail(0);
    EXPECT_EQ(d.KF[1][3], 3);
    EXPECT_EQ(d.PC[1], "18");
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
    // "TAX.DAT" was never written: it holds the company's own rates.
    EXPECT_EQ(KVDI::RECTAX::decode(reinterpret_cast<const uint8_t*>(read("TAX").data())).PS, "10");
}

TEST_F(Goods, PasteOfTheClipboardRemainder) {
    std::array<std::string, 7> lines;
    SCR::RESTCLIP = "ABCDE\r\nFG\nHIJKLMNOP";
    KVDI::EMP_PUTCLIP(lines, 2, 5);
    EXPECT_EQ(lines[2], "ABCDE");
    EXPECT_EQ(lines[3], "FG");
    EXPECT_EQ(lines[4], "HIJKL");
    EXPECT_EQ(lines[5], "MNOP") << "the character after a piece cut at full width starts the next line";
    EXPECT_TRUE(SCR::RESTCLIP.empty());
    SCR::RESTCLIP = "1234567890";
    KVDI::EMP_PUTCLIP(lines, 6, 4);
    EXPECT_EQ(lines[6], "1234");
    EXPECT_EQ(SCR::RESTCLIP, "567890") << "what does not fit stays";
    SCR::RESTCLIP.clear();
}

TEST_F(Goods, EntriesOfAMissingShortOrDamagedIndexNeverShareDetails) {
    // Entry `edited` is one the index file does not hold whole, or one naming the details of an
    // entry before it; its kind is changed and stored, then the index with F1. Its details go to a
    // record no other entry uses, and the stored index names every details record once.
    struct Case {
        const char* what;
        std::function<void()> damage;
        size_t edited;
        size_t record;
        bool told;  // the size of the index is told
    };
    const Case cases[] = {
        {"missing", [&] { std::filesystem::remove(dat("EMP")); }, 2, 1, true},
        {"cut in the third record",
         [&] {
             seedGoods({{"11111111", 1}, {"22222222", 0}}, {});
             TESTS::writeFile(dat("EMP"), read("EMP").substr(0, 2 * KVDI::REC::SIZE + 5));
         },
         3, 2, true},
        {"a details number named twice", [&] { seedGoods({{"11111111", 0}, {"22222222", 0}}, {}); }, 2, 1, false},
    };
    const std::string fresh = read("PEMP");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TESTS::writeFile(dat("PEMP"), fresh);
        c.damage();
        const std::string before = read("PEMP");
        if (c.told) ch(' ');  // the message
        for (size_t n = 1; n < c.edited; ++n) key(SC::DOWN);
        ch(ENTER);
        ch(ENTER);       // the code as it is
        key(SC::RIGHT);  // kind 1
        ch(ESC);         // stores the details
        key(SC::F1);
        uint8_t KK = 0;
        run([&] { KVDI::EMP(KVDI::V0A, false, KK); });
        const std::string after = read("PEMP");
        ASSERT_EQ(after.size(), before.size());
        for (size_t r = 0; r < KVDI::PEMP_N; ++r)
            if (r != c.record) ASSERT_EQ(after.substr(r * 1075, 1075), before.substr(r * 1075, 1075)) << r;
        EXPECT_EQ(detail(c.record).EE, 1);
        const std::string f = read("EMP");
        ASSERT_EQ(f.size(), KVDI::F_EMP.size);
        std::vector<int> seen(KVDI::PEMP_N, 0);
        for (size_t n = 1; n <= KVDI::PEMP_N; ++n) {
            const uint16_t ri = KVDI::REC::decode(reinterpret_cast<const uint8_t*>(f.data()) + (n - 1) * 29).RI;
            ASSERT_LT(ri, KVDI::PEMP_N);
            ++seen[ri];
        }
        EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), int(KVDI::PEMP_N));
    }
}

}  // namespace
