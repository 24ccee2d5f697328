// The customer files: record layout, collation, and the name index compared byte by byte: the
// first customer of a letter, buckets by rank, chain order over mixed Greek and Latin names,
// names equal in 29 positions, delete and re-browse, bucket splitting and its refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <random>

#include "customers/arp0.h"
#include "helpers/fixture.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "shell/install_customers.h"

namespace {

using ARP0::RR0;
using ARP0::RR2;
using ARP0::RR3;
using ARP0::Stored;

std::string gr(const char* s) { return PLAT::gr(s); }

class Customers : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
        ARP0::BOO = false;
    }
    std::string file(const std::string& n) const { return company(0) + "/" + n; }
    std::string bytes(const std::string& n) const { return TESTS::readFile(file(n)); }

    RR2 header(int32_t pos, const char* f = "IF.DAT") const {
        uint8_t b[8];
        PLAT::File(file(f), PLAT::File::READ).readAt(int64_t(pos) * 8, b, 8);
        return RR2::decode(b);
    }
    RR3 entry(int32_t pos, const char* f = "IF.DAT") const {
        uint8_t b[8];
        PLAT::File(file(f), PLAT::File::READ).readAt(int64_t(pos) * 8, b, 8);
        return RR3::decode(b);
    }
    void putIndex(int32_t pos, const uint8_t* rec8, const char* f = "IF.DAT") const {
        PLAT::File x(file(f), PLAT::File::READWRITE);
        x.writeAt(int64_t(pos) * 8, rec8, 8);
    }
    void putHeader(int32_t pos, RR2 h) const {
        uint8_t b[8];
        h.encode(b);
        putIndex(pos, b);
    }
    void putEntry(int32_t pos, RR3 e) const {
        uint8_t b[8];
        e.encode(b);
        putIndex(pos, b);
    }
    Stored store(const std::string& nameCp737, int MN = 0, const std::string& town = "") {
        RR0 r;
        r.EA = ARP0::KEY(nameCp737);
        r.PO = town;
        return ARP0::STORE(MN, r);
    }
    // The names of bucket b's chain in order (record names, trailing blanks removed).
    std::vector<std::string> chain(int32_t b, int MN = 0) const {
        std::vector<std::string> v;
        std::string idx = bytes(MN ? "XIF.DAT" : "IF.DAT"), mf = bytes(MN ? "XMF.DAT" : "MF.DAT");
        auto* ib = reinterpret_cast<const uint8_t*>(idx.data());
        int32_t p = RR2::decode(ib + int64_t(b) * 5001 * 8).FA;
        for (int n = 0; p != 0 && n < 100000; ++n) {
            RR3 e = RR3::decode(ib + int64_t(p) * 8);
            v.push_back(UMAS::CUTLEADSPACES(RR0::decode(reinterpret_cast<const uint8_t*>(mf.data()) + e.RE * 302).EA));
            p = e.AL;
        }
        return v;
    }
    bool find(const std::string& cp737, int MN = 0) {
        ARP0::EA = ARP0::KEY(cp737);
        return ARP0::CHO(MN);
    }
};

TEST(CustomerRecord, FieldsLieAtTheirOffsets) {
    RR0 r;
    r.EA = "NAME";
    r.AF = "0123456789";
    r.ON = "ON";
    r.DI = "DI";
    r.PO = "PO";
    r.TK = "12345";
    r.TH = {"210-1", "210-2"};
    r.EP = "EP";
    r.SX = "SX";
    r.DK = 7;
    r.XR = -2;
    r.PI = 0x01020304;
    r.EF = "EF";
    uint8_t b[RR0::SIZE];
    std::memset(b, 0xEE, sizeof b);
    r.encode(b);
    struct F { size_t off; const char* s; } fields[] = {{0, "NAME"}, {31, "0123456789"}, {42, "ON"}, {83, "DI"},
                                                         {124, "PO"}, {165, "12345"}, {172, "210-1"}, {186, "210-2"},
                                                         {200, "EP"}, {231, "SX"}, {271, "EF"}};
    for (auto& f : fields) {
        EXPECT_EQ(b[f.off], std::strlen(f.s)) << f.off;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(b + f.off + 1), std::strlen(f.s)), f.s) << f.off;
    }
    EXPECT_EQ(b[5], 0) << "unused bytes after a string are zero";
    EXPECT_EQ(b[30], 0);
    EXPECT_EQ(b[301], 0);
    EXPECT_EQ(b[262], 7);
    EXPECT_EQ(PLAT::getL(b + 263), -2);
    EXPECT_EQ(PLAT::getL(b + 267), 0x01020304);
    EXPECT_EQ(RR0::decode(b), r);
}

// A record is damaged when a text's length byte exceeds its capacity or a text holds a control
// character: the checked codec tells it, the plain one cuts the text as before.
TEST(CustomerRecord, DamagedImagesAreTold) {
    RR0 sound;
    sound.EA = ARP0::KEY("NAME");
    sound.DI = "ODOS 1";
    sound.TH = {"210-1", "210-2"};
    uint8_t good[RR0::SIZE];
    sound.encode(good);
    EXPECT_FALSE(RR0::damaged(good));
    // Stale bytes after a text's length are not looked at, whatever they are.
    good[83 + 1 + 6] = '\n';
    good[301] = 0x18;
    EXPECT_FALSE(RR0::damaged(good));
    RR0 r;
    ASSERT_TRUE(RR0::decodeSound(good, r));
    EXPECT_EQ(r, sound);

    struct Text {
        int at, cap;
    } texts[] = {{0, 30}, {31, 10}, {42, 40}, {83, 40}, {124, 40}, {165, 6}, {172, 13}, {186, 13}, {200, 30}, {231, 30}, {271, 30}};
    for (const Text& t : texts) {
        SCOPED_TRACE(t.at);
        uint8_t b[RR0::SIZE];
        std::memcpy(b, good, sizeof b);
        b[t.at] = uint8_t(t.cap + 1);  // one beyond the capacity
        EXPECT_TRUE(RR0::damaged(b));
        RR0 kept = sound;
        EXPECT_FALSE(RR0::decodeSound(b, kept));
        EXPECT_EQ(kept, sound) << "left untouched";
        b[t.at] = uint8_t(t.cap);  // at the capacity, printable characters: sound
        std::memset(b + t.at + 1, 'A', size_t(t.cap));
        EXPECT_FALSE(RR0::damaged(b));
        for (uint8_t c : {uint8_t(0), uint8_t('\n'), uint8_t(0x18), uint8_t(31)}) {
            b[t.at + t.cap] = c;  // the last character within the length
            EXPECT_TRUE(RR0::damaged(b)) << int(c);
            EXPECT_FALSE(RR0::decodeSound(b, kept));
        }
    }
    // The checked string codec: the flag is set by a length beyond the capacity and never cleared.
    const uint8_t over[] = {5, 'A', 'B', 'C', 'D', 'E'}, fits[] = {2, 'A', 'B', 'C', 'D', 'E'};
    bool damaged = false;
    EXPECT_EQ(PLAT::getS(over, 3, damaged), "ABC");
    EXPECT_TRUE(damaged);
    EXPECT_EQ(PLAT::getS(fits, 3, damaged), "AB");
    EXPECT_TRUE(damaged);
    damaged = false;
    EXPECT_EQ(PLAT::getS(fits, 3, damaged), "AB");
    EXPECT_FALSE(damaged);
}

TEST(CustomerCollation, RanksBucketsAndFolding) {
    struct Case { const char* ch; int rank; int bucket; } cases[] = {
        {" ", 0, 0}, {"Α", 1, 0}, {"A", 2, 1}, {"Β", 3, 2}, {"B", 4, 3}, {"V", 5, 4}, {"Κ", 18, 17}, {"Q", 21, 20},
        {"Ω", 47, 46}, {"W", 50, 49}, {"0", 51, 50}, {"9", 60, 59}, {"/", 61, -1}, {"&", 64, -1},
        {"a", 65, -1}, {"ά", 65, -1}};
    for (auto& c : cases) {
        std::string s = gr(c.ch);
        EXPECT_EQ(ARP0::INS(s[0]), c.rank) << c.ch;
        EXPECT_EQ(ARP0::bucketOf(s + "X"), c.bucket) << c.ch;
    }
    EXPECT_EQ(ARP0::AB.size(), 65u);
    EXPECT_EQ(ARP0::FOLD(gr("abz αβσ ςτψ ω ΑΒ 09&")), gr("ABZ ΑΒΣ ΣΤΨ Ω ΑΒ 09&"));
    EXPECT_EQ(ARP0::KEY(gr("κω")), gr("ΚΩ") + std::string(28, ' '));
    EXPECT_LT(ARP0::compareNames(gr("ΚΑ"), "KA"), 0);  // Greek before Latin of the same letter
    EXPECT_LT(ARP0::compareNames("KW", gr("Λ")), 0);
}

TEST_F(Customers, InstalledFilesAreEmptyAndExact) {
    for (const char* x : {"", "X"}) {
        const std::string p = x;
        EXPECT_EQ(bytes(p + "MF.DAT"), "");
        EXPECT_EQ(bytes(p + "HF.DAT"), std::string(2, '\0'));
        EXPECT_EQ(bytes(p + "PD.DAT"), std::string(2, '\0'));
        EXPECT_EQ(bytes(p + "PN.DAT"), std::string(16000, '\0'));
        EXPECT_TRUE(bytes(p + "IF.DAT") == INSTALL::emptyCustomerIndex());
    }
    const std::string idx = INSTALL::emptyCustomerIndex();
    ASSERT_EQ(idx.size(), 2400480u);
    EXPECT_EQ(idx.substr(59 * 5001 * 8, 8), std::string("\x88\x13\0\0\0\0\0\0", 8));
    EXPECT_EQ(idx.substr(59 * 5001 * 8 + 8), std::string(5000 * 8, '\0'));
    EXPECT_TRUE(ARP0::EMPTY(0));
    EXPECT_TRUE(ARP0::EMPTY(1));
}

TEST_F(Customers, FirstCustomerOfALetterHeadsItsBucket) {
    ASSERT_EQ(store(gr("ΑΛΦΑ"), 0, "TOWN"), Stored::WRITTEN);
    ASSERT_EQ(store("ALPHA"), Stored::WRITTEN);
    ASSERT_EQ(store("0 ZERO"), Stored::WRITTEN);
    // Greek alpha: bucket 0; Latin A: bucket 1; the digit 0: bucket 50.
    EXPECT_EQ(header(0), (RR2{5000, 1, 1}));
    EXPECT_EQ(entry(1), (RR3{0, 0}));
    EXPECT_EQ(header(5001), (RR2{5000, 1, 5002}));
    EXPECT_EQ(entry(5002), (RR3{1, 0}));
    EXPECT_EQ(header(50 * 5001), (RR2{5000, 1, 50 * 5001 + 1}));
    EXPECT_EQ(entry(50 * 5001 + 1), (RR3{2, 0}));
    EXPECT_EQ(bytes("HF.DAT"), std::string("\x03\0", 2));
    const std::string mf = bytes("MF.DAT");
    ASSERT_EQ(mf.size(), 3 * 302u);
    RR0 r0 = RR0::decode(reinterpret_cast<const uint8_t*>(mf.data()));
    EXPECT_EQ(r0.EA, gr("ΑΛΦΑ") + std::string(26, ' '));
    EXPECT_EQ(r0.PO, "TOWN");
    EXPECT_EQ(mf[0], 30);
    EXPECT_TRUE(find(gr("αλφα")));
    EXPECT_EQ(ARP0::XN, 0);
    EXPECT_TRUE(find("alpha"));
    EXPECT_EQ(ARP0::XN, 1);
    EXPECT_FALSE(find("ALPH"));
    EXPECT_TRUE(ARP0::checkIndex(0).empty());
    EXPECT_EQ(bytes("XMF.DAT"), "") << "the foreign set is untouched";
}

TEST_F(Customers, ChainOrderInterleavesGreekAndLatin) {
    // Second characters in collation order within the bucket of Κ.
    const std::vector<const char*> seconds = {"Α", "A", "Β", "B", "V", "Γ", "G", "Δ", "D", "Ε", "E", "Ζ", "Z",
                                              "Η", "Θ", "Ι", "I", "Κ", "K", "C", "Q", "Λ", "L", "Μ", "M", "Ν",
                                              "N", "Ξ", "X", "Ο", "O", "Π", "P", "Ρ", "R", "Σ", "S", "Τ", "T",
                                              "Υ", "Y", "Φ", "F", "Χ", "H", "Ψ", "Ω", "J", "U", "W", "0", "5",
                                              "9", "/", "-", ".", "&"};
    std::vector<std::string> want;
    for (auto s : seconds) want.push_back(gr("Κ") + gr(s) + "X");
    want.insert(want.begin(), gr("Κ"));  // a blank second character sorts first
    std::vector<std::string> order = want;
    std::mt19937 rng(11);
    std::shuffle(order.begin(), order.end(), rng);
    for (auto& n : order) ASSERT_EQ(store(n), Stored::WRITTEN) << n;
    EXPECT_EQ(chain(17), want);
    for (auto& n : want) EXPECT_TRUE(find(n)) << n;
    EXPECT_TRUE(ARP0::checkIndex(0).empty());
    EXPECT_EQ(header(17 * 5001).US, want.size());
}

TEST_F(Customers, NamesEqualInTwentyNinePositionsAreBothStoredAndFound) {
    const std::string base(29, 'M');
    ASSERT_EQ(store(base + "B"), Stored::WRITTEN);
    ASSERT_EQ(store(base + "A"), Stored::WRITTEN);
    ASSERT_EQ(store(base + "B"), Stored::UNCHANGED) << "the same name again is the stored customer";
    EXPECT_EQ(chain(24), (std::vector<std::string>{base + "A", base + "B"}));
    EXPECT_TRUE(find(base + "A"));
    EXPECT_EQ(ARP0::XN, 1);
    EXPECT_TRUE(find(base + "B"));
    EXPECT_EQ(ARP0::XN, 0);
    EXPECT_EQ(bytes("HF.DAT"), std::string("\x02\0", 2));
    EXPECT_EQ(bytes("MF.DAT").size(), 2 * 302u);

    // A chain written by 29 positions may hold B before A: both are still found.
    const int32_t h = 24 * 5001;
    putHeader(h, RR2{5000, 2, h + 1});
    putEntry(h + 1, RR3{0, h + 2});
    putEntry(h + 2, RR3{1, 0});
    EXPECT_TRUE(find(base + "A"));
    EXPECT_EQ(ARP0::XN, 1);
    EXPECT_TRUE(find(base + "B"));
}

TEST_F(Customers, StoringAStoredNameKeepsTheFileTotals) {
    ASSERT_EQ(store("NIKOS"), Stored::WRITTEN);
    RR0 r;
    ASSERT_TRUE(ARP0::readRecord(0, 0, r));
    r.XR = 1500;
    r.PI = 700;
    ARP0::writeRecord(0, 0, r);  // a posting by invoicing
    RR0 c;
    c.EA = ARP0::KEY("nikos");
    c.DI = "NEW ADDRESS";
    c.XR = 1;
    c.PI = 2;
    ASSERT_EQ(ARP0::STORE(0, c), Stored::WRITTEN);
    ASSERT_TRUE(ARP0::readRecord(0, 0, r));
    EXPECT_EQ(r.DI, "NEW ADDRESS");
    EXPECT_EQ(r.XR, 1500);
    EXPECT_EQ(r.PI, 700);
    EXPECT_EQ(ARP0::recordCount(0), 1);
}

TEST_F(Customers, DeleteUnlinksCountsAndFreesThePosition) {
    for (const char* n : {"PA", "PB", "PC"}) ASSERT_EQ(store(n), Stored::WRITTEN);
    const int32_t h = 32 * 5001;  // Latin P
    ASSERT_EQ(chain(32), (std::vector<std::string>{"PA", "PB", "PC"}));
    EXPECT_TRUE(ARP0::DELETE(0, 1, ARP0::KEY("PB")));
    EXPECT_EQ(chain(32), (std::vector<std::string>{"PA", "PC"}));
    EXPECT_EQ(entry(h + 1), (RR3{0, h + 3}));
    EXPECT_EQ(entry(h + 2), (RR3{1, h + 3})) << "the unlinked slot is not cleared";
    EXPECT_EQ(header(h).US, 3) << "US is not lowered";
    EXPECT_EQ(bytes("PD.DAT"), std::string("\x01\0\x01\0", 4));
    EXPECT_EQ(bytes("HF.DAT"), std::string("\x03\0", 2));
    const std::string pn = bytes("PN.DAT");
    EXPECT_EQ(PLAT::getL(reinterpret_cast<const uint8_t*>(pn.data()) + 32 * 50 * 4), 1);
    EXPECT_EQ(PLAT::getL(reinterpret_cast<const uint8_t*>(pn.data()) + (32 * 50 + 1) * 4), h + 2);
    EXPECT_FALSE(find("PB"));
    EXPECT_FALSE(ARP0::DELETE(0, 1, ARP0::KEY("PB"))) << "a second delete finds nothing and counts nothing";
    EXPECT_EQ(bytes("PD.DAT"), std::string("\x01\0\x01\0", 4));
    // Deleting the first entry rewrites the header's FA; a new customer takes the next slot.
    EXPECT_TRUE(ARP0::DELETE(0, 0, ARP0::KEY("PA")));
    EXPECT_EQ(header(h), (RR2{5000, 3, h + 3}));
    ASSERT_EQ(store("PB"), Stored::WRITTEN);
    EXPECT_EQ(ARP0::XN, 3);
    EXPECT_EQ(entry(h + 4), (RR3{3, h + 3}));
    EXPECT_EQ(chain(32), (std::vector<std::string>{"PB", "PC"}));
    EXPECT_TRUE(ARP0::DELETE(0, 2, ARP0::KEY("PC")));
    EXPECT_TRUE(ARP0::DELETE(0, 3, ARP0::KEY("PB")));
    EXPECT_TRUE(ARP0::EMPTY(0)) << "four created, four deleted";
    EXPECT_EQ(ARP0::recordCount(0), 4);
    EXPECT_EQ(ARP0::deletedNumbers(0), (std::vector<uint16_t>{1, 0, 2, 3}));
    EXPECT_TRUE(ARP0::checkIndex(0).empty());
}

TEST_F(Customers, HopFindsTheLastNameAtOrBelowALetter) {
    for (const char* n : {"AB", "AA", "BZ"}) ASSERT_EQ(store(n), Stored::WRITTEN);
    struct Case { const char* name; int32_t rec; } cases[] = {{"B", 2}, {"Z", 2}, {"A", 0}, {"9", 2}, {" ", 0}};
    for (auto& c : cases) {
        ARP0::EA = ARP0::KEY(c.name);
        ARP0::F0.open(file("IF.DAT"), PLAT::File::READ);
        ARP0::F1.open(file("MF.DAT"), PLAT::File::READ);
        ARP0::HOP();
        ARP0::F0.close();
        ARP0::F1.close();
        EXPECT_EQ(ARP0::DA.RE, c.rec) << c.name;
        EXPECT_EQ(ARP0::DA.AL, 0) << c.name;
    }
    ARP0::EA = ARP0::KEY(gr("Α"));  // below every stored name: nothing
    ARP0::F0.open(file("IF.DAT"), PLAT::File::READ);
    ARP0::F1.open(file("MF.DAT"), PLAT::File::READ);
    ARP0::HOP();
    ARP0::F0.close();
    ARP0::F1.close();
    EXPECT_EQ(ARP0::DA, (RR3{0, 0}));
}

// A bucket one slot from full: the next store fills it and splits the first bucket never split
// with room for half and its link.
TEST_F(Customers, AFullBucketIsContinuedInHalfADonor) {
    const int32_t b = 38, h = b * 5001;  // Latin T
    ASSERT_EQ(store("TA"), Stored::WRITTEN);  // slot h + 1
    putHeader(h, RR2{5000, 4998, h + 1});     // 4997 more slots taken by customers deleted since
    putHeader(0, RR2{5000, 2498, 0});         // bucket 0 cannot lend: its link would fall on an entry
    putHeader(5001, RR2{5000, 2497, 0});      // bucket 1 can
    ASSERT_EQ(store("TC"), Stored::WRITTEN);
    EXPECT_EQ(entry(h + 4999), (RR3{1, 0}));
    EXPECT_EQ(header(h), (RR2{5000, 4999, h + 1}));
    EXPECT_EQ(header(0), (RR2{5000, 2498, 0})) << "no other bucket is touched";
    EXPECT_EQ(header(5001), (RR2{2499, 2497, 0}));
    EXPECT_EQ(header(5001 + 2500), (RR2{2500, 0, 0}));
    EXPECT_EQ(entry(h + 5000), (RR3{5001 + 2500, 0})) << "the link record";
    // The next T goes to the new half, in name order.
    ASSERT_EQ(store("TB"), Stored::WRITTEN);
    EXPECT_EQ(header(5001 + 2500), (RR2{2500, 1, 0}));
    EXPECT_EQ(entry(5001 + 2501), (RR3{2, h + 4999}));
    EXPECT_EQ(entry(h + 1), (RR3{0, 5001 + 2501}));
    EXPECT_EQ(chain(b), (std::vector<std::string>{"TA", "TB", "TC"}));
    EXPECT_TRUE(find("TB"));
    // The lending bucket keeps working in its own half.
    ASSERT_EQ(store("AX"), Stored::WRITTEN);
    EXPECT_EQ(header(5001), (RR2{2499, 2498, 5001 + 2498}));
    EXPECT_TRUE(ARP0::checkIndex(0).empty());
}

TEST_F(Customers, AFullChainWithoutADonorRefusesAndWritesNothing) {
    const int32_t h = 38 * 5001;
    for (int32_t b = 0; b < 59; ++b) putHeader(b * 5001, RR2{5000, 2498, 0});
    ASSERT_EQ(store("TA"), Stored::WRITTEN);
    putHeader(h, RR2{5000, 4998, h + 1});
    ASSERT_EQ(store("TB"), Stored::WRITTEN);  // fills the bucket; no donor
    EXPECT_EQ(entry(h + 5000), (RR3{0, 0})) << "no link written";
    const std::string idx = bytes("IF.DAT"), mf = bytes("MF.DAT"), hf = bytes("HF.DAT");
    EXPECT_EQ(store("TC"), Stored::INDEX_FULL);
    EXPECT_TRUE(bytes("IF.DAT") == idx);
    EXPECT_TRUE(bytes("MF.DAT") == mf);
    EXPECT_EQ(bytes("HF.DAT"), hf);
    EXPECT_FALSE(ARP0::storedMessage(Stored::INDEX_FULL).empty());
    // Other letters are not affected; the stored T names are still found and changed.
    EXPECT_EQ(store("UA"), Stored::WRITTEN);
    EXPECT_EQ(store("TB", 0, "X"), Stored::WRITTEN);
    // A link that does not lead to a continuation header is not followed.
    putEntry(h + 5000, RR3{0, 0});
    putEntry(h + 5000, RR3{3 * 5001, 0});
    EXPECT_EQ(store("TD"), Stored::INDEX_FULL);
    EXPECT_TRUE(ARP0::checkIndex(0).empty());
}

TEST_F(Customers, TheSixtyFiveThousandthCustomerIsRefused) {
    std::filesystem::resize_file(file("MF.DAT"), 64999u * 302u);
    TESTS::writeFile(file("HF.DAT"), std::string("\xE7\xFD", 2));  // 64999 created
    const std::string idx = bytes("IF.DAT");
    EXPECT_EQ(store("ZETA"), Stored::FILE_FULL);
    EXPECT_EQ(std::filesystem::file_size(file("MF.DAT")), 64999u * 302u);
    EXPECT_TRUE(bytes("IF.DAT") == idx);
    EXPECT_EQ(bytes("HF.DAT"), std::string("\xE7\xFD", 2));
}

// The files of a set that disagree are named, and no customer is stored into them.
TEST_F(Customers, DamagedFilesAreNamedAndNeverWritten) {
    for (const char* n : {"ALPHA", "BETA", "GAMMA", "DELTA", "EPSILON", "ZETA", "ETA", "THETA"})
        ASSERT_EQ(store(n), Stored::WRITTEN);
    EXPECT_TRUE(ARP0::CHECKFILES(0).empty());
    const std::string files[] = {"MF.DAT", "HF.DAT", "PD.DAT", "IF.DAT", "PN.DAT"};
    std::map<std::string, std::string> sound;
    for (const auto& f : files) sound[f] = bytes(f);
    struct Damage {
        const char* file;
        std::function<std::string(std::string)> damage;
        const char* named;
    };
    const Damage damages[] = {
        {"MF.DAT", [](std::string b) { return b.substr(0, b.size() / 2); }, "MF.DAT"},
        {"MF.DAT", [](std::string b) { return b + std::string(1000, 'x'); }, "MF.DAT"},
        {"HF.DAT", [](std::string) { return std::string("\x14\x00", 2); }, "MF.DAT"},  // 20 counted, 8 stored
        {"IF.DAT", [](std::string b) { return b.substr(0, b.size() / 2); }, "IF.DAT"},
        {"IF.DAT", [](std::string b) { return b.replace(size_t(5001) * 8 * 3, 8, "\xFF\xFF\xFF\xFF\x10\x00\x00\x00"); },
         "IF.DAT"},
        {"PD.DAT", [](std::string) { return std::string("\x09\x00", 2); }, "PD.DAT"},
        {"PN.DAT", [](std::string) { return std::string(); }, "PN.DAT"},
    };
    for (const Damage& d : damages) {
        for (const auto& [f, b] : sound) TESTS::writeFile(file(f), b);
        TESTS::writeFile(file(d.file), d.damage(sound[d.file]));
        SCOPED_TRACE(std::string(d.file) + " damaged");
        const auto found = ARP0::CHECKFILES(0);
        ASSERT_FALSE(found.empty());
        for (const auto& x : found) {
            EXPECT_EQ(x.file, d.named);
            EXPECT_EQ(x.line.rfind(d.named, 0), 0u) << x.line;
        }
        std::map<std::string, std::string> before;
        for (const auto& f : files) before[f] = bytes(f);
        EXPECT_EQ(store("NEW NAME"), Stored::DAMAGED);
        EXPECT_EQ(store("ALPHA", 0, "TOWN"), Stored::DAMAGED);
        EXPECT_NE(ARP0::storedMessage(Stored::DAMAGED).find(d.named), std::string::npos);
        for (const auto& f : files) EXPECT_TRUE(bytes(f) == before[f]) << f;
    }
    // One record more than counted (a store stopped before its count) is told but stores go on.
    for (const auto& [f, b] : sound) TESTS::writeFile(file(f), b);
    TESTS::writeFile(file("HF.DAT"), std::string("\x07\x00", 2));
    const auto told = ARP0::CHECKFILES(0);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_FALSE(told[0].blocksStore);
    EXPECT_EQ(store("IOTA"), Stored::WRITTEN);
    // A missing foreign set is not told: only files that are there are checked.
    for (const char* f : {"XMF.DAT", "XHF.DAT", "XPD.DAT", "XIF.DAT", "XPN.DAT"}) std::remove(file(f).c_str());
    EXPECT_TRUE(ARP0::CHECKFILES(1).empty());
}

// Damaged records: told by the start-up check (not by the store's check, and no store is refused
// for them), left out of every list, refused by the readers that copy a customer.
TEST_F(Customers, DamagedRecordsAreToldAndLeftOut) {
    for (const char* n : {"ALPHA", "BETA", "GAMMA", "DELTA"}) ASSERT_EQ(store(n, 0, "TOWN"), Stored::WRITTEN);
    EXPECT_TRUE(ARP0::CHECKRECORDS(0).empty());
    std::string mf = bytes("MF.DAT");
    mf[1 * RR0::SIZE + 83] = char(200);                 // BETA: its address longer than 40
    mf[3 * RR0::SIZE + 124 + 2] = '\n';                // DELTA: a line feed in its town
    TESTS::writeFile(file("MF.DAT"), mf);
    const auto told = ARP0::CHECKRECORDS(0);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].file, "MF.DAT");
    EXPECT_EQ(told[0].line, gr("MF.DAT: 2 αλλοιωμένοι πελάτες, πρώτος ο 1"));
    EXPECT_FALSE(told[0].blocksStore);
    EXPECT_TRUE(ARP0::CHECKFILES(0).empty()) << "the store's own check does not scan the records";
    EXPECT_EQ(store("EPSILON"), Stored::WRITTEN);

    int damaged = -1;
    std::vector<std::string> names;
    for (const auto& l : ARP0::listAll(0, &damaged)) names.push_back(UMAS::CUTLEADSPACES(l.R.EA));
    EXPECT_EQ(names, (std::vector<std::string>{"ALPHA", "GAMMA", "EPSILON"}));  // Latin G sorts with Γ, before E
    EXPECT_EQ(damaged, 2);
    RR0 r;
    bool bad = false;
    EXPECT_FALSE(ARP0::readSound(0, 1, r, bad));
    EXPECT_TRUE(bad);
    EXPECT_TRUE(ARP0::readSound(0, 2, r, bad));
    EXPECT_FALSE(bad);
    EXPECT_EQ(UMAS::CUTLEADSPACES(r.EA), "GAMMA");
    EXPECT_FALSE(ARP0::readSound(0, 99, r, bad)) << "beyond the file";
    EXPECT_FALSE(bad);
    EXPECT_EQ(ARP0::damagedMessage(1, gr("Ο ΠΕΛΑΤΗΣ ΔΕΝ ΒΡΕΘΗΚΕ")),
              gr("ΤΟ ΑΡΧΕΙΟ XMF.DAT ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ - Ο ΠΕΛΑΤΗΣ ΔΕΝ ΒΡΕΘΗΚΕ"));

    // Random bytes of the file's own size: every record told, none listed.
    std::mt19937 rng(7);
    for (char& c : mf) c = char(rng());
    TESTS::writeFile(file("MF.DAT"), mf);
    const auto all = ARP0::CHECKRECORDS(0);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].line.rfind(gr("MF.DAT: 4 αλλοιωμένοι πελάτες, πρώτος ο 0"), 0), 0u) << all[0].line;
    EXPECT_TRUE(ARP0::listAll(0, &damaged).empty());
    EXPECT_EQ(damaged, 4);
    // A missing record file is not told here.
    std::remove(file("XMF.DAT").c_str());
    EXPECT_TRUE(ARP0::CHECKRECORDS(1).empty());
}

TEST_F(Customers, NamesWithoutABucketAreRefused) {
    EXPECT_EQ(store("&CO"), Stored::NO_BUCKET);
    EXPECT_EQ(store("/X"), Stored::NO_BUCKET);
    EXPECT_EQ(bytes("MF.DAT"), "");
}

TEST_F(Customers, DamagedChainsEndTheWalk) {
    ASSERT_EQ(store("MA"), Stored::WRITTEN);
    ASSERT_EQ(store("MB"), Stored::WRITTEN);
    const int32_t h = 24 * 5001;
    putEntry(h + 2, RR3{1, h + 1});  // MB links back to MA: a cycle
    EXPECT_FALSE(find("MC"));
    EXPECT_TRUE(find("MB"));
    putEntry(h + 2, RR3{1, 99999999});  // a link beyond the file
    EXPECT_FALSE(find("MC"));
    putEntry(h + 1, RR3{777, h + 2});  // a record number beyond the record file
    EXPECT_TRUE(find("MB"));
    EXPECT_FALSE(ARP0::checkIndex(0).empty());
    EXPECT_EQ(ARP0::listAll(0).size(), 1u);
}

// A chain that loops lists each of its customers once, and the buckets after it are still walked.
TEST_F(Customers, ListAllEndsALoopAndGoesOnWithTheNextBuckets) {
    for (const char* n : {"MA", "MB", "MC", "9"}) ASSERT_EQ(store(n), Stored::WRITTEN);
    const int32_t h = 24 * 5001;
    struct Case {
        const char* what;
        RR3 at1, at2;
        std::vector<uint16_t> listed;
    } cases[] = {
        {"an entry linked to itself", RR3{0, h + 1}, RR3{1, h + 3}, {0, 3}},
        {"the second linked back to the first", RR3{0, h + 2}, RR3{1, h + 1}, {0, 1, 3}},
        {"a link into the chain of the digit 9", RR3{0, 59 * 5001 + 1}, RR3{1, h + 3}, {0, 3}},
    };
    const std::string sound = bytes("IF.DAT");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TESTS::writeFile(file("IF.DAT"), sound);
        putEntry(h + 1, c.at1);
        putEntry(h + 2, c.at2);
        std::vector<uint16_t> got;
        for (const ARP0::Listed& l : ARP0::listAll(0)) got.push_back(l.KV);
        EXPECT_EQ(got, c.listed);
    }
}

TEST_F(Customers, ListAllWalksBucketsInOrder) {
    for (const char* n : {"9", "B", "A2", "A1"}) ASSERT_EQ(store(n), Stored::WRITTEN);
    ASSERT_EQ(store(gr("ΩΜΕΓΑ")), Stored::WRITTEN);
    std::vector<std::string> names;
    for (auto& l : ARP0::listAll(0)) names.push_back(UMAS::CUTLEADSPACES(l.R.EA));
    EXPECT_EQ(names, (std::vector<std::string>{"A1", "A2", "B", gr("ΩΜΕΓΑ"), "9"}));
    EXPECT_TRUE(ARP0::listAll(1).empty());
}

TEST_F(Customers, DemoCustomersAreStoredThroughTheStore) {
    INSTALL::seedDemoCustomers(company(0));
    EXPECT_EQ(ARP0::recordCount(0), int32_t(INSTALL::demoCustomers(0).size()));
    EXPECT_EQ(ARP0::recordCount(1), int32_t(INSTALL::demoCustomers(1).size()));
    EXPECT_TRUE(ARP0::checkIndex(0).empty());
    EXPECT_TRUE(ARP0::checkIndex(1).empty());
    for (int MN = 0; MN <= 1; ++MN)
        for (auto& c : INSTALL::demoCustomers(MN)) EXPECT_TRUE(find(c.EA, MN)) << c.EA;
    INSTALL::seedDemoCustomers(company(0));  // again: nothing added
    EXPECT_EQ(ARP0::recordCount(0), int32_t(INSTALL::demoCustomers(0).size()));
}

}  // namespace

namespace {

// An index built from the records alone equals, byte for byte, the one the stores wrote.
TEST_F(Customers, AnIndexBuiltFromTheRecordsEqualsTheStoredOne) {
    const char* names[] = {"ΚΩΣΤΑΣ", "KOSTAS", "ΑΛΦΑ", "ALPHA", "0NE", "ΚΑΛΟΣ", "ZETA", "ΚΩΣΤΑΣ Β", "&BAD"};
    for (const char* n : names) store(gr(n));
    const std::string stored = bytes("IF.DAT");
    TESTS::writeFile(file("IF.DAT"), INSTALL::emptyCustomerIndex());
    PLAT::File idx(file("IF.DAT"), PLAT::File::READWRITE), rec(file("MF.DAT"), PLAT::File::READ);
    for (uint16_t n = 0; n < ARP0::recordCount(0); ++n) EXPECT_EQ(ARP0::insertEntry(idx, rec, n), Stored::WRITTEN) << n;
    EXPECT_EQ(ARP0::insertEntry(idx, rec, 99), Stored::NO_BUCKET);
    idx.close();
    EXPECT_TRUE(bytes("IF.DAT") == stored);
}

}  // namespace

namespace {

// A continuation bucket fills after 2499 slots and is continued in half of the next donor.
TEST_F(Customers, AFullContinuationIsContinuedAgain) {
    const int32_t h = 38 * 5001, c = 5001 + 2500;  // Latin T, continued in half of bucket 1
    ASSERT_EQ(store("TA"), Stored::WRITTEN);
    putHeader(h, RR2{5000, 4999, h + 1});
    putEntry(h + 5000, RR3{c, 0});
    putHeader(5001, RR2{2499, 0, 0});
    putHeader(c, RR2{2500, 2498, 0});
    ASSERT_EQ(store("TC"), Stored::WRITTEN);
    EXPECT_EQ(entry(c + 2499), (RR3{1, 0}));
    EXPECT_EQ(header(0), (RR2{2499, 0, 0})) << "bucket 0 lends its upper half";
    EXPECT_EQ(header(2500), (RR2{2500, 0, 0}));
    EXPECT_EQ(entry(c + 2500), (RR3{2500, 0})) << "the continuation's link";
    ASSERT_EQ(store("TB"), Stored::WRITTEN);
    EXPECT_EQ(entry(2501), (RR3{2, c + 2499}));
    EXPECT_EQ(chain(38), (std::vector<std::string>{"TA", "TB", "TC"}));
    EXPECT_TRUE(find("TC"));
    EXPECT_TRUE(ARP0::checkIndex(0).empty());
}

}  // namespace
