// The declaration store byte for byte: field forms, areas and the free stack, the index partitions
// with their key order, freed slots and block lending, the day and customer chains, deletion,
// loading, and the refusals that leave every file untouched.
#include <filesystem>
#include <random>

#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "unit/store_fixture.h"

using namespace STORETEST;

namespace {

std::string field(const std::string& text, bool number) {
    std::string d;
    STORE::putField(d, text, number);
    return d;
}

STORE::Head headAt(const std::string& disi, int rec) {
    return STORE::decodeHead(STORE::DECL, reinterpret_cast<const uint8_t*>(disi.data()) + rec * 17);
}
STORE::Entry entryAt(const std::string& disi, int rec) {
    return STORE::decodeEntry(STORE::DECL, reinterpret_cast<const uint8_t*>(disi.data()) + rec * 17);
}
STORE::RR1 nodeAt(const std::string& f, int rec) {
    return STORE::RR1::decode(reinterpret_cast<const uint8_t*>(f.data()) + rec * 6);
}
STORE::RD0 freeAt(const std::string& f, int rec) {
    return STORE::RD0::decode(reinterpret_cast<const uint8_t*>(f.data()) + rec * 6);
}
uint16_t wordAt(const std::string& f, int w) { return PLAT::getW(reinterpret_cast<const uint8_t*>(f.data()) + w * 2); }

// The keys of partition d in list order.
std::vector<std::string> listOf(const std::string& disi, int d) {
    std::vector<std::string> keys;
    int r = headAt(disi, (d - 1) * 7201).FA;
    while (r != 0) {
        STORE::Entry e = entryAt(disi, r);
        keys.push_back(UMAS::CUTLEADSPACES(e.KL));
        r = e.AL;
    }
    return keys;
}

void patch(const std::string& path, int64_t off, const std::string& b) {
    PLAT::File f(path, PLAT::File::READWRITE);
    f.writeAt(off, b.data(), b.size());
}

}  // namespace

TEST(StoreFields, NumberAndTextForms) {
    struct Case {
        const char* text;
        bool number;
        std::string bytes;
    } cases[] = {
        {"", true, bytes({0})},
        {"    ", true, bytes({0})},
        {"42", true, bytes({101, 42})},
        {"42   ", true, bytes({101, 42})},
        {"0042", true, bytes({4, '0', '0', '4', '2'})},  // a leading zero keeps the text
        {"300", true, bytes({102, 44, 1})},
        {"255", true, bytes({101, 255})},
        {"256", true, bytes({102, 0, 1})},
        {"65535", true, bytes({102, 255, 255})},
        {"65536", true, bytes({103, 0, 0, 1})},
        {"16777215", true, bytes({103, 255, 255, 255})},
        {"16777216", true, bytes({104, 0, 0, 0, 1})},
        {"999999999", true, bytes({104, 0xFF, 0xC9, 0x9A, 0x3B})},
        {"1234567890", true, bytes({10, '1', '2', '3', '4', '5', '6', '7', '8', '9', '0'})},
        {"42", false, bytes({2, '4', '2'})},  // a box of type 2 or 5
        {" 42", true, bytes({3, ' ', '4', '2'})},  // leading blanks are kept
        {"1.5", true, bytes({3, '1', '.', '5'})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(field(c.text, c.number), c.bytes) << c.text;
        STORE::FieldReader r(c.bytes);
        std::string back = r.next();
        std::string expect = UMAS::CUTLEADSPACES(c.text);
        EXPECT_EQ(back, expect) << c.text;
        EXPECT_FALSE(r.bad());
    }
}

TEST(StoreFields, DamagedFieldsAreReported) {
    for (std::string d : {bytes({5, 'a'}), bytes({105}), bytes({103, 1}), std::string()}) {
        STORE::FieldReader r(d);
        r.next();
        EXPECT_TRUE(r.bad());
        EXPECT_EQ(r.next(), "");
    }
}

TEST(StoreKeys, DayNumbersCountOnlyWholeDates) {
    EXPECT_EQ(STORE::dayKey("010599"), 3472);
    EXPECT_EQ(STORE::dayKey("010190"), 0);
    EXPECT_EQ(STORE::dayKey("311249"), 22319);
    EXPECT_EQ(STORE::dayKey("101226"), 9 + 11 * 31 + 36 * 372);
    for (const char* bad : {"000599", "010550", "321299", "011399", "0105/9", "01/599", "01059", "", "1 0599"})
        EXPECT_FALSE(STORE::dayKey(bad).has_value()) << bad;
}

TEST_F(DeclStore, FirstDeclarationInAnEmptyStoreByteForByte) {
    newDeclaration("1234");
    setDate("010599");
    auto before = snapshot();
    store();
    std::string data = bytes({102, 210, 4}) + std::string(6, '\0') + bytes({6}) + "010599" +
                       std::string(281, '\0') + bytes({102, 232, 253}) + std::string(25, '\0');
    ASSERT_EQ(data.size(), 325u);
    EXPECT_EQ(file("DISM.DAT"), bytes({1, 73, 1, 73}) + data);
    EXPECT_EQ(BOD::XN, 0);
    EXPECT_TRUE(BOD::BOO);

    std::string disi = file("DISI.DAT");
    STORE::Head h = headAt(disi, 0);
    EXPECT_EQ(h.SY, 7200);
    EXPECT_EQ(h.US, 1);
    EXPECT_EQ(h.FA, 1);
    std::string entry(17, '\0');
    PLAT::putL(reinterpret_cast<uint8_t*>(entry.data()), 0);
    entry[6] = 10;
    std::memcpy(entry.data() + 7, "1234      ", 10);
    EXPECT_EQ(disi.substr(17, 17), entry);
    // Nothing else of the index changed.
    std::string expect = before["DISI.DAT"];
    expect.replace(0, 6, bytes({0x20, 0x1C, 1, 0, 1, 0}));
    expect.replace(17, 17, entry);
    EXPECT_EQ(disi, expect);

    std::string dish = file("DISH.DAT");
    EXPECT_EQ(dish.size(), 22320u * 6);
    EXPECT_EQ(nodeAt(dish, 3472).HR, 0);
    EXPECT_EQ(nodeAt(dish, 3472).NR, 0);
    std::string dishExpect = before["DISH.DAT"];
    dishExpect.replace(3472 * 6, 6, bytes({0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(dish, dishExpect);
    for (const char* same : {"DISD.DAT", "DISN.DAT", "DIPE.DAT"}) EXPECT_EQ(file(same), before[same]) << same;
}

TEST_F(DeclStore, AnEmptyFormIs317BytesAndLoadsBack) {
    newDeclaration("5");
    BOD::BOS(BOD::DIA, BOD::GV, 1, "");
    BOD::TM = STORE::padKey("5", 10);
    EXPECT_EQ(EK0::KATD_DATA().size(), 317u);
    BOD::BOS(BOD::DIA, BOD::GV, 1, "5");  // box 1 holds the number: 101, 5 instead of 0
    store();
    EXPECT_EQ(file("DISM.DAT").size(), 4u + 318);
}

TEST_F(DeclStore, BoxesAndGoodsRecordComeBackAsStored) {
    newDeclaration("777");
    setDate("150322");
    setBox(2, "  LEAD");       // leading blanks kept
    setBox(3, "TRAIL   ");     // trailing blanks dropped, back from the box width
    setBox(16, "7");           // type 3 length 2: 07
    setBox(20, "0042");        // type 3 length 4: stored as 101, 42
    setBox(21, "300");         // type 1
    setBox(30, "123");         // type 5: text
    setBox(31, "-3.50");       // type 6: text
    setBox(40, "0042");        // type 0: text
    setBox(147, "           2");  // value row: a number above 1 filling the box marks column 65
    setBox(151, "2");             // a trailing blank makes the value 0: no mark
    BOD::PR = 17;
    BOD::AY.ON = "ONOMA";
    BOD::AY.KT = "1";
    BOD::AY.EIF = {0, 1, 3, 0, 0, 0, 0, 0, 30};
    BOD::AY.DAJ = "1000";
    BOD::AY.MON = "EUR";
    std::string data = EK0::KATD_DATA();
    // Box 20 (type 3) is two bytes 101, 42; box 40 (type 0) is text; box 30 (type 5) is text.
    STORE::FieldReader r(data);
    std::vector<std::string> raw;
    size_t at20 = 0;
    for (int i = 1; i <= 289; ++i) {
        if (i == 20) at20 = r.pos();
        raw.push_back(r.next());
    }
    EXPECT_EQ(data.substr(at20, 2), bytes({101, 42}));
    EXPECT_EQ(raw[39], "0042");
    store();
    auto page = form.dia;
    BOD::MOT ay = BOD::AY;

    newDeclaration("777");
    BOD::AY = BOD::MOT{};
    ASSERT_TRUE(EK0::CHO().found);
    ASSERT_TRUE(EK0::DISF_RUF(true));
    EXPECT_EQ(BOD::SOB(BOD::DIA, BOD::GV, 2), "  LEAD      ");
    EXPECT_EQ(BOD::SOB(BOD::DIA, BOD::GV, 3), "TRAIL       ");
    EXPECT_EQ(BOD::SOB(BOD::DIA, BOD::GV, 16), "07");
    EXPECT_EQ(BOD::SOB(BOD::DIA, BOD::GV, 20), "0042");
    EXPECT_EQ(BOD::SOB(BOD::DIA, BOD::GV, 21), "      300");
    EXPECT_EQ(BOD::SOB(BOD::DIA, BOD::GV, 30), "123         ");
    EXPECT_EQ(BOD::SOB(BOD::DIA, BOD::GV, 31), "-3.50       ");
    EXPECT_EQ(BOD::DIA.CCH(BOD::GV.ROW(147), 65), '/');
    EXPECT_EQ(BOD::DIA.CCH(BOD::GV.ROW(151), 65), ' ');
    EXPECT_EQ(BOD::DIA.CCH(BOD::GV.ROW(103), BOD::GV.COL(103) + 7), '%');  // EIF[1] = 1
    EXPECT_EQ(BOD::DIA.CCH(BOD::GV.ROW(108), BOD::GV.COL(108) + 7), ' ');  // EIF[2] = 3
    EXPECT_EQ(BOD::AY, ay);
    EXPECT_EQ(BOD::PR, 17);
    EXPECT_EQ(BOD::BPR, 17);
    EXPECT_EQ(BOD::HM, "150322");
    EXPECT_EQ(BOD::BHM, "150322");
    EXPECT_EQ(BOD::OO, BOD::TM);
    for (int i = 1; i <= 289; ++i)
        if (i != 1 && i != 16 && i != 21) EXPECT_EQ(BOD::SOB(BOD::DIA, BOD::GV, i), BOD::SOB(BOD::SCB{page.data(), 134}, BOD::GV, i)) << i;
}

TEST_F(DeclStore, LoadWithoutShowingWritesOnlyTheDateBoxes) {
    newDeclaration("42");
    setDate("020222");
    setBox(2, "STORED");
    BOD::PR = 5;
    store();
    newDeclaration("42");
    setBox(2, "TYPED");
    setBox(8, "999999");
    BOD::AY.ON = "KEEP";
    ASSERT_TRUE(EK0::CHO().found);
    ASSERT_TRUE(EK0::DISF_RUF(false));
    EXPECT_EQ(UMAS::CUTLEADSPACES(BOD::SOB(BOD::DIA, BOD::GV, 2)), "TYPED");
    EXPECT_EQ(BOD::SOB(BOD::DIA, BOD::GV, 8), "020222");
    EXPECT_EQ(BOD::SOB(BOD::DIA, BOD::GV, 9), "      ");
    EXPECT_EQ(BOD::AY.ON, "KEEP");
    EXPECT_EQ(BOD::PR, 5);
    EXPECT_EQ(BOD::BHM, "020222");
}

TEST_F(DeclStore, StoringAnUnchangedFormTwiceWritesNothing) {
    newDeclaration("31");
    setDate("050124");
    setBox(12, "SENDER");
    BOD::PR = 3;
    store();
    auto once = snapshot();
    STORE::Result again = EK0::KATD();  // the second F4: no change since BOD::CSM
    EXPECT_FALSE(again.stored);
    EXPECT_TRUE(again.refusal.empty());
    EXPECT_EQ(snapshot(), once);
    // Loaded again and stored without a change: nothing either.
    newDeclaration("31");
    EK0::CHO();
    ASSERT_TRUE(EK0::DISF_RUF(true));
    BOD::CSM = BOD::CSU(BOD::DIA, BOD::GV, 289);
    EK0::KATD();
    EXPECT_EQ(snapshot(), once);
}

TEST_F(DeclStore, FreeAreasAreReusedSplitOrChained) {
    // Three declarations; the middle one is deleted and its area goes onto the stack.
    auto put = [](const std::string& n, int len) {
        newDeclaration(n);
        setBox(2, std::string(size_t(len), 'X'));
        store();
        return BOD::XN;
    };
    put("11", 12);
    int32_t mid = put("12", 12);
    put("13", 12);
    const int32_t areaSize = 4 + 2 + 13 + 287 + 3 + 25;  // header + data
    newDeclaration("12");
    EK0::CHO();
    ASSERT_TRUE(EK0::DISF_RUF(false));
    ASSERT_TRUE(BOD::DELD().stored);
    std::string disd = file("DISD.DAT");
    EXPECT_EQ(freeAt(disd, 0).RP, 1);
    EXPECT_EQ(freeAt(disd, 1).RP, mid);
    EXPECT_EQ(freeAt(disd, 1).SZ, areaSize);

    // 9 bytes smaller: split; the rest stays on the stack.
    int32_t p = put("14", 3);
    EXPECT_EQ(p, mid);
    disd = file("DISD.DAT");
    EXPECT_EQ(freeAt(disd, 0).RP, 1);
    EXPECT_EQ(freeAt(disd, 1).RP, mid + areaSize - 9);
    EXPECT_EQ(freeAt(disd, 1).SZ, 9);
    std::string dism = file("DISM.DAT");
    EXPECT_EQ(PLAT::getWBE(reinterpret_cast<const uint8_t*>(dism.data()) + mid), areaSize - 9);

    // Up to 8 bytes smaller than the area on top: the whole area is taken and popped.
    newDeclaration("14");
    EK0::CHO();
    ASSERT_TRUE(EK0::DISF_RUF(false));
    ASSERT_TRUE(BOD::DELD().stored);
    ASSERT_EQ(freeAt(file("DISD.DAT"), 0).RP, 2);
    p = put("15", 0);  // data 318, need 322, area 325
    EXPECT_EQ(p, mid);
    EXPECT_EQ(freeAt(file("DISD.DAT"), 0).RP, 1);
    dism = file("DISM.DAT");
    EXPECT_EQ(PLAT::getWBE(reinterpret_cast<const uint8_t*>(dism.data()) + mid), areaSize - 9);  // SIZ: the area
    EXPECT_EQ(PLAT::getWBE(reinterpret_cast<const uint8_t*>(dism.data()) + mid + 2), 322);        // REM: data + 4

    // Larger than the free area on top: the area is the first of a chain. Its last area was freed
    // with its REM only (322).
    newDeclaration("15");
    EK0::CHO();
    ASSERT_TRUE(EK0::DISF_RUF(false));
    ASSERT_TRUE(BOD::DELD().stored);
    disd = file("DISD.DAT");
    ASSERT_EQ(freeAt(disd, 0).RP, 2);
    EXPECT_EQ(freeAt(disd, 2).SZ, 322);
    int64_t endBefore = int64_t(file("DISM.DAT").size());
    newDeclaration("16");
    setBox(2, std::string(12, 'Y'));
    setBox(3, std::string(12, 'Z'));
    store();
    EXPECT_EQ(BOD::XN, mid);
    dism = file("DISM.DAT");
    const uint8_t* a = reinterpret_cast<const uint8_t*>(dism.data()) + mid;
    int32_t topSize = 322;
    EXPECT_EQ(PLAT::getWBE(a), topSize);
    int dataLen = 2 + 13 + 13 + 286 + 3 + 25;
    EXPECT_EQ(PLAT::getWBE(a + 2), dataLen + 8);
    int32_t next = PLAT::getLBE(a + topSize - 4);
    // The 9-byte rest is on top now: too small, taken whole (1 data byte) and the chain goes on.
    EXPECT_EQ(next, mid + areaSize - 9);
    const uint8_t* b = reinterpret_cast<const uint8_t*>(dism.data()) + next;
    EXPECT_EQ(PLAT::getWBE(b), 9);
    int rest = dataLen - (topSize - 8);
    EXPECT_EQ(PLAT::getWBE(b + 2), rest + 8);
    int32_t third = PLAT::getLBE(b + 5);
    EXPECT_EQ(third, endBefore);
    const uint8_t* c = reinterpret_cast<const uint8_t*>(dism.data()) + third;
    EXPECT_EQ(PLAT::getWBE(c), rest - 1 + 4);
    EXPECT_EQ(PLAT::getWBE(c + 2), rest - 1 + 4);
    EXPECT_EQ(freeAt(file("DISD.DAT"), 0).RP, 0);
    // It loads back whole.
    std::string y = BOD::SOB(BOD::DIA, BOD::GV, 3);
    newDeclaration("16");
    EK0::CHO();
    ASSERT_TRUE(EK0::DISF_RUF(true));
    EXPECT_EQ(BOD::SOB(BOD::DIA, BOD::GV, 3), y);
}

TEST_F(DeclStore, PartitionListsFollowKeyOrder) {
    for (const char* n : {"11", "100", "10", "1", "12", "123", "1230", "2"}) {
        newDeclaration(n);
        store();
    }
    std::string disi = file("DISI.DAT");
    // 1, 10 and 100 compare equal; a new one goes before an equal one. 1230 after 123 (equal
    // up to the padding), 12 before both.
    EXPECT_EQ(listOf(disi, 1), (std::vector<std::string>{"1", "10", "100", "11", "12", "1230", "123"}));
    EXPECT_EQ(listOf(disi, 2), (std::vector<std::string>{"2"}));
    for (const char* n : {"11", "100", "10", "1", "12", "123", "1230", "2"}) {
        BOD::TM = STORE::padKey(n, 10);
        EXPECT_TRUE(EK0::CHO().found) << n;
    }
    // 1230 is found with 123 just before it; 124 is not found; an empty number is never looked up.
    BOD::TM = STORE::padKey("124", 10);
    EXPECT_FALSE(EK0::CHO().found);
    BOD::TM = "";
    EXPECT_FALSE(EK0::CHO().found);
}

TEST_F(DeclStore, OnlyThePaddedPrefixDoesNotFindALongerNumber) {
    newDeclaration("1230");
    store();
    BOD::TM = STORE::padKey("123", 10);
    EXPECT_FALSE(EK0::CHO().found);
}

TEST_F(DeclStore, FreedSlotsAreReusedAndTheFiftiethIsNotKept) {
    for (int i = 0; i < 51; ++i) {
        newDeclaration("3" + std::to_string(100 + i));
        store();
    }
    std::string disi = file("DISI.DAT");
    EXPECT_EQ(headAt(disi, 2 * 7201).US, 51);
    for (int i = 0; i < 50; ++i) {
        newDeclaration("3" + std::to_string(100 + i));
        ASSERT_TRUE(EK0::CHO().found);
        ASSERT_TRUE(EK0::DISF_RUF(false));
        ASSERT_TRUE(BOD::DELD().stored);
    }
    std::string disn = file("DISN.DAT");
    EXPECT_EQ(wordAt(disn, 1000), 49);
    EXPECT_EQ(wordAt(disn, 1001), 2 * 7201 + 1);   // the first deleted number's slot
    EXPECT_EQ(wordAt(disn, 1049), 2 * 7201 + 49);
    EXPECT_EQ(wordAt(disn, 1050), 0);              // the 50th was not kept
    newDeclaration("3999");
    store();
    disi = file("DISI.DAT");
    EXPECT_EQ(headAt(disi, 2 * 7201).US, 51);  // no new slot: the top freed one
    EXPECT_EQ(wordAt(file("DISN.DAT"), 1000), 48);
    EXPECT_EQ(UMAS::CUTLEADSPACES(entryAt(disi, 2 * 7201 + 49).KL), "3999");
    EXPECT_EQ(listOf(disi, 3), (std::vector<std::string>{"3150", "3999"}));
}

TEST_F(DeclStore, AFullBlockBorrowsHalfOfTheFirstPartitionThatCanLend) {
    // Partition 2 has used 7198 slots; partition 1 has used 3599 (too many to lend): the lender is 3.
    auto setHead = [](int rec, int SY, int US) {
        STORE::Head h;
        h.SY = uint16_t(SY);
        h.US = uint16_t(US);
        std::string b(17, '\0');
        STORE::encodeHead(STORE::DECL, h, reinterpret_cast<uint8_t*>(b.data()));
        patch("CO/DISI.DAT", int64_t(rec) * 17, b);
    };
    setHead(0, 7200, 3599);
    setHead(7201, 7200, 7198);
    newDeclaration("25");
    store();
    std::string disi = file("DISI.DAT");
    EXPECT_EQ(entryAt(disi, 7201 + 7199).KL, STORE::padKey("25", 10));
    EXPECT_EQ(headAt(disi, 0).SY, 7200);             // partition 1 did not lend
    EXPECT_EQ(headAt(disi, 2 * 7201).SY, 3599);      // partition 3 lent
    STORE::Head lent = headAt(disi, 2 * 7201 + 3600);
    EXPECT_EQ(lent.SY, 3600);
    EXPECT_EQ(lent.US, 0);
    EXPECT_EQ(entryAt(disi, 7201 + 7200).RE, 2 * 7201 + 3600);  // the link record of the full block
    // The next number of partition 2 takes the first slot of the borrowed block.
    newDeclaration("26");
    store();
    disi = file("DISI.DAT");
    EXPECT_EQ(entryAt(disi, 2 * 7201 + 3601).KL, STORE::padKey("26", 10));
    EXPECT_EQ(headAt(disi, 2 * 7201 + 3600).US, 1);
    EXPECT_EQ(listOf(disi, 2), (std::vector<std::string>{"25", "26"}));
    // Partition 3 still stores in its own half.
    newDeclaration("3");
    store();
    EXPECT_EQ(headAt(file("DISI.DAT"), 2 * 7201).US, 1);
}

TEST_F(DeclStore, NoPartitionCanLendTheStoreIsRefusedAndNothingWritten) {
    for (int d = 0; d < 9; ++d) {
        STORE::Head h;
        h.SY = 7200;
        h.US = d == 3 ? 7198 : 3599;
        std::string b(17, '\0');
        STORE::encodeHead(STORE::DECL, h, reinterpret_cast<uint8_t*>(b.data()));
        patch("CO/DISI.DAT", int64_t(d) * 7201 * 17, b);
    }
    newDeclaration("41");
    setDate("010124");
    store();  // the last slot: the block is full, none can lend, nothing more is written
    EXPECT_EQ(entryAt(file("DISI.DAT"), 3 * 7201 + 7200).RE, 0);
    auto before = snapshot();
    newDeclaration("42");
    setDate("010124");
    BOD::PR = 3;
    STORE::Result r = EK0::KATD();
    EXPECT_FALSE(r.stored);
    EXPECT_NE(PLAT::cp737ToUtf8(r.refusal).find("ΔΕΝ ΥΠΑΡΧΕΙ ΧΩΡΟΣ"), std::string::npos);
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(BOD::BOO);
    // Replacing a stored number of the full partition still works: it reuses its own slot.
    newDeclaration("41");
    EK0::CHO();
    ASSERT_TRUE(EK0::DISF_RUF(true));
    setBox(2, "CHANGED");
    EXPECT_TRUE(EK0::KATD().stored);
}

TEST_F(DeclStore, DayAndCustomerChainsLinkFillHolesAndUnlink) {
    auto put = [](const std::string& n, const std::string& date, int cust) {
        newDeclaration(n);
        setDate(date);
        BOD::PR = cust;
        store();
        return BOD::XN;
    };
    int32_t a = put("51", "020124", 9);
    int32_t b = put("52", "020124", 9);
    std::string dish = file("DISH.DAT"), dipe = file("DIPE.DAT");
    int day = *STORE::dayKey("020124");
    EXPECT_EQ(nodeAt(dish, day).HR, a);
    EXPECT_EQ(nodeAt(dish, day).NR, 22320);
    EXPECT_EQ(nodeAt(dish, 22320).HR, b);
    EXPECT_EQ(nodeAt(dish, 22320).NR, 0);
    EXPECT_EQ(dish.size(), 22321u * 6);
    EXPECT_EQ(nodeAt(dipe, 9).HR, a);
    EXPECT_EQ(nodeAt(dipe, 9).NR, 10000);
    EXPECT_EQ(nodeAt(dipe, 10000).HR, b);

    // Deleting the first leaves a hole at the head; the next store fills it.
    newDeclaration("51");
    EK0::CHO();
    ASSERT_TRUE(EK0::DISF_RUF(false));
    ASSERT_TRUE(BOD::DELD().stored);
    dish = file("DISH.DAT");
    EXPECT_EQ(nodeAt(dish, day).HR, STORE::NONE);
    EXPECT_EQ(nodeAt(dish, day).NR, 22320);
    EXPECT_EQ(nodeAt(file("DIPE.DAT"), 9).HR, STORE::NONE);
    int32_t c = put("53", "020124", 9);
    EXPECT_EQ(nodeAt(file("DISH.DAT"), day).HR, c);
    EXPECT_EQ(nodeAt(file("DIPE.DAT"), 9).HR, c);
    EXPECT_EQ(file("DISH.DAT").size(), 22321u * 6);

    // A replacement under another date and customer moves the entries.
    newDeclaration("52");
    EK0::CHO();
    ASSERT_TRUE(EK0::DISF_RUF(true));
    BOD::CSM = BOD::CSU(BOD::DIA, BOD::GV, 289);
    setDate("030124");
    BOD::PR = 4;
    ASSERT_TRUE(EK0::KATD().stored);
    dish = file("DISH.DAT");
    EXPECT_EQ(nodeAt(dish, 22320).HR, STORE::NONE);
    EXPECT_EQ(nodeAt(dish, day + 1).HR, BOD::XN);
    EXPECT_EQ(nodeAt(file("DIPE.DAT"), 4).HR, BOD::XN);
    EXPECT_EQ(nodeAt(file("DIPE.DAT"), 10000).HR, STORE::NONE);
}

TEST_F(DeclStore, DatesThatDoNotCountAreInNoDayChain) {
    for (const char* d : {"000124", "010150", "0105/9", "01012"}) {
        auto before = file("DISH.DAT");
        newDeclaration("6" + std::to_string(std::string(d).size()) + std::to_string(d[1]));
        setDate(d);
        STORE::Result r = store();
        EXPECT_EQ(file("DISH.DAT"), before) << d;
        // The clerk is told that it will not be listed by date.
        ASSERT_EQ(r.notices.size(), 1u) << d;
        EXPECT_NE(PLAT::cp737ToUtf8(r.notices[0]).find("ΑΝΑ ΗΜΕΡΟΜΗΝΙΑ"), std::string::npos) << d;
        BOD::TM = STORE::padKey(BOD::TM, 10);
        EXPECT_TRUE(EK0::CHO().found);
        // Its deletion leaves the day chains alone as well.
        ASSERT_TRUE(EK0::DISF_RUF(false));
        ASSERT_TRUE(BOD::DELD().stored);
        EXPECT_EQ(file("DISH.DAT"), before) << d;
    }
}

TEST_F(DeclStore, ACustomerBeyondTheHeadAreaIsNotLinkedButStored) {
    newDeclaration("71");
    setDate("010124");
    BOD::PR = 10000;
    auto dipe = file("DIPE.DAT");
    STORE::Result r = store();
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_NE(PLAT::cp737ToUtf8(r.notices[0]).find("ΑΝΑ ΠΕΛΑΤΗ"), std::string::npos);
    EXPECT_EQ(file("DIPE.DAT"), dipe);
    EXPECT_TRUE(EK0::CHO().found);
    EXPECT_EQ(nodeAt(file("DISH.DAT"), *STORE::dayKey("010124")).HR, BOD::XN);
}

TEST_F(DeclStore, AChainNodeBeyond65535IsRefusedTheDeclarationStillStored) {
    // A day table already holding 65536 records: a new node would be number 65536.
    {
        PLAT::File f("CO/DISH.DAT", PLAT::File::READWRITE);
        std::string tail((65536 - 22320) * 6, '\0');
        for (size_t i = 0; i < tail.size(); i += 6) STORE::RR1{5, 0}.encode(reinterpret_cast<uint8_t*>(tail.data()) + i);
        f.writeAt(22320 * 6, tail.data(), tail.size());
    }
    newDeclaration("81");
    setDate("010124");
    store();
    newDeclaration("82");
    setDate("010124");
    auto dish = file("DISH.DAT");
    STORE::Result r = store();
    EXPECT_EQ(r.notices.size(), 1u);
    EXPECT_EQ(file("DISH.DAT"), dish);
    EXPECT_TRUE(EK0::CHO().found);
}

TEST_F(DeclStore, AnAreaReachingTheLimitIsRefused) {
    {
        PLAT::File f("CO/DISM.DAT", PLAT::File::READWRITE);
        f.truncate(STORE::POS_LIMIT - 100);
    }
    std::map<std::string, std::string> before;
    for (const char* f : {"DISD.DAT", "DISI.DAT", "DISN.DAT", "DISH.DAT", "DIPE.DAT"}) before[f] = file(f);
    newDeclaration("91");
    setDate("010124");
    STORE::Result r = EK0::KATD();
    EXPECT_FALSE(r.stored);
    EXPECT_FALSE(r.refusal.empty());
    for (auto& [f, b] : before) EXPECT_EQ(file(f), b) << f;
    EXPECT_EQ(PLAT::fileSize("CO/DISM.DAT"), STORE::POS_LIMIT - 100);
}

TEST_F(DeclStore, DamagedDeclarationsAreReportedNotFollowed) {
    newDeclaration("19");
    setBox(2, "X");
    store();
    int32_t xn = BOD::XN;
    // A header announcing a continuation that points past the end of the file.
    patch("CO/DISM.DAT", xn, bytes({0, 20, 0x7F, 0xFF}));
    std::string why;
    BOD::TM = STORE::padKey("19", 10);
    ASSERT_TRUE(EK0::CHO().found);
    EXPECT_FALSE(EK0::DISF_RUF(true, &why));
    EXPECT_FALSE(why.empty());
    // Deleting it removes its entries and forgets every free area.
    patch("CO/DISD.DAT", 0, bytes({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 50, 0}));
    BOD::OO = BOD::TM;
    ASSERT_TRUE(BOD::DELD().stored);
    EXPECT_EQ(file("DISD.DAT"), std::string(2000, '\0'));
    EXPECT_FALSE(EK0::CHO().found);
}

TEST_F(DeclStore, ADamagedIndexListRefusesTheStore) {
    newDeclaration("55");
    store();
    // The entry's link points outside the file.
    patch("CO/DISI.DAT", (4 * 7201 + 1) * 17 + 4, bytes({0xFF, 0xFF}));
    auto before = snapshot();
    newDeclaration("56");
    STORE::Result r = EK0::KATD();
    EXPECT_FALSE(r.stored);
    EXPECT_NE(PLAT::cp737ToUtf8(r.refusal).find("DISI.DAT"), std::string::npos);
    EXPECT_EQ(snapshot(), before);
    BOD::TM = STORE::padKey("57", 10);
    EXPECT_TRUE(EK0::CHO().damaged);
}

TEST_F(DeclStore, DeletionUnlinksAndFreesExactly) {
    newDeclaration("21");
    setDate("010124");
    BOD::PR = 2;
    store();
    newDeclaration("22");
    setDate("010124");
    store();
    auto dism = file("DISM.DAT");
    newDeclaration("21");
    EK0::CHO();
    ASSERT_TRUE(EK0::DISF_RUF(false));
    ASSERT_TRUE(BOD::DELD().stored);
    EXPECT_EQ(file("DISM.DAT"), dism);  // the data stay; only the stack knows the area is free
    std::string disd = file("DISD.DAT");
    EXPECT_EQ(freeAt(disd, 0).RP, 1);
    EXPECT_EQ(freeAt(disd, 1).RP, 0);
    EXPECT_EQ(freeAt(disd, 1).SZ, 4 + 3 + 287 + 1 + 6 + 2 + 25 - 1);
    std::string disi = file("DISI.DAT");
    EXPECT_EQ(headAt(disi, 7201).FA, 7203);  // the head skips the deleted first entry
    EXPECT_EQ(wordAt(file("DISN.DAT"), 500), 1);
    EXPECT_EQ(wordAt(file("DISN.DAT"), 501), 7202);
    EXPECT_EQ(nodeAt(file("DIPE.DAT"), 2).HR, STORE::NONE);
    BOD::TM = STORE::padKey("21", 10);
    EXPECT_FALSE(EK0::CHO().found);
}

// The installed form: the worked example declaration packs to the same 325 bytes through the real
// box tables of both main pages, and a filled form of every kind comes back box for box.
TEST_F(DeclStore, TheInstalledFormsStoreAndLoadBack) {
    TESTS::loadMasks();
    for (const char* kind : {"IMP", "DFK"}) {
        ASSERT_TRUE(BOD::SETFORM(kind)) << kind;
        newDeclaration("1234");
        setDate("010599");
        std::string data = EK0::KATD_DATA();
        EXPECT_EQ(data, bytes({102, 210, 4}) + std::string(6, '\0') + bytes({6}) + "010599" + std::string(281, '\0') +
                            bytes({102, 232, 253}) + std::string(25, '\0'))
            << kind;
        // Every box filled with digits and letters to its width, as typed.
        for (int i = 2; i <= BOD::BOXES; ++i) {
            if (i == 8) continue;
            std::string s;
            for (int k = 0; k < BOD::GV.LEN(i); ++k) s += char(i % 2 ? '1' + (i + k) % 9 : 'A' + (i + k) % 26);
            std::string typed = s;
            if (BOD::ISNUMTYPE(BOD::GV.TYP(i))) BOD::PNU(BOD::GV, i, typed, false, BOD::GV.TYP(i) == BOD::TY_ZNUM ? '0' : ' ');
            setBox(i, typed);
        }
        std::string number = "1234";
        BOD::PNU(BOD::GV, 1, number, false, BOD::GV.TYP(1) == BOD::TY_ZNUM ? '0' : ' ');
        setBox(1, number);  // box 1 as the editor leaves it
        std::vector<std::string> before;
        for (int i = 1; i <= BOD::BOXES; ++i) before.push_back(BOD::SOB(BOD::DIA, BOD::GV, i));
        store();
        for (int i = 2; i <= BOD::BOXES; ++i) setBox(i, "");
        ASSERT_TRUE(EK0::CHO().found);
        ASSERT_TRUE(EK0::DISF_RUF(true));
        for (int i = 1; i <= BOD::BOXES; ++i) EXPECT_EQ(BOD::SOB(BOD::DIA, BOD::GV, i), before[size_t(i - 1)]) << kind << " box " << i;
        // A sheet item the same way; boxes 2, 8, 9, 11 and 12 come from the main page.
        std::vector<std::string> sheet;
        for (int i = 1; i <= BOD::SHEET_BOXES; ++i) {
            std::string v;
            for (int k = 0; k < BOD::GB.LEN(i); ++k) v += char('1' + (i + k) % 9);
            if (BOD::ISNUMTYPE(BOD::GB.TYP(i))) BOD::PNU(BOD::GB, i, v, false, BOD::GB.TYP(i) == BOD::TY_ZNUM ? '0' : ' ');
            if (i == 10) v = number;  // the number of the item's declaration, as a new item gets it
            BOD::BOS(BOD::BIS, BOD::GB, i, v);
            sheet.push_back(BOD::SOB(BOD::BIS, BOD::GB, i));
        }
        BOD::BM = STORE::padKey("12340203", 14);
        BOD::BOB = false;
        ASSERT_TRUE(EKDO::KATB().stored);
        for (int i = 1; i <= BOD::SHEET_BOXES; ++i) BOD::BOS(BOD::BIS, BOD::GB, i, "");
        ASSERT_TRUE(EKDO::CHOB().found);
        ASSERT_TRUE(EKDO::RUFB(23, true));
        for (int i = 1; i <= BOD::SHEET_BOXES; ++i)
            if (i != 2 && i != 8 && i != 9 && i != 11 && i != 12)
                EXPECT_EQ(BOD::SOB(BOD::BIS, BOD::GB, i), sheet[size_t(i - 1)]) << kind << " sheet box " << i;
        EXPECT_EQ(BOD::SOB(BOD::BIS, BOD::GB, 11).substr(0, 6), "010599");
        BOD::DELD();
    }
}

// Box 26, the carrier's EORI, holds a whole number (17 characters). A box is stored as its text
// without the blanks that fill it, so a record written while the box held 10 characters reads
// back the same and is written again byte for byte; a longer number is kept whole.
TEST_F(DeclStore, TheCarrierEoriBoxHoldsAWholeNumberAndOlderRecordsReadTheSame) {
    TESTS::loadMasks();
    // The packed data of declaration 1234 of 01/05/99 with box 26 and nothing else filled.
    auto record = [](const std::string& box26) {
        return bytes({102, 210, 4}) + std::string(6, '\0') + bytes({6}) + "010599" + std::string(17, '\0') +
               bytes({int(box26.size())}) + box26 + std::string(263, '\0') + bytes({102, 232, 253}) +
               std::string(25, '\0');
    };
    for (const char* kind : {"IMP", "DFK"}) {
        ASSERT_TRUE(BOD::SETFORM(kind)) << kind;
        EXPECT_EQ(BOD::GV.LEN(26), 17) << kind;
        // Written by the store as an older program wrote it, then loaded and stored again.
        newDeclaration("1234");
        setDate("010599");
        STORE::Request r;
        r.key = BOD::TM;
        r.data = record("GR09999999");
        r.date = "010599";
        r.cust = uint16_t(BOD::NO_CUSTOMER);
        ASSERT_TRUE(STORE::storeDecl(UMAS::PATH, r).stored) << kind;
        auto stored = [] { return STORE::readChain(STORE::fileSource("CO/DISM.DAT"), BOD::XN, false).data; };
        ASSERT_TRUE(EK0::CHO().found);
        EXPECT_EQ(stored(), r.data) << kind;
        ASSERT_TRUE(EK0::DISF_RUF(true));
        EXPECT_EQ(BOD::SOB(BOD::DIA, BOD::GV, 26), "GR09999999       ") << kind;
        EXPECT_EQ(EK0::KATD_DATA(), r.data) << kind;
        BOD::CSM = -1;  // store it again all the same
        store();
        EXPECT_EQ(stored(), r.data) << kind;
        // Numbers of 11 and of 17 characters come back whole.
        for (const std::string eori : {"GR099999999", "DE123456789012345"}) {
            setBox(26, eori);
            EXPECT_EQ(EK0::KATD_DATA(), record(eori)) << kind << " " << eori;
            store();
            setBox(26, "");
            ASSERT_TRUE(EK0::CHO().found);
            EXPECT_EQ(stored(), record(eori)) << kind << " " << eori;
            ASSERT_TRUE(EK0::DISF_RUF(true));
            EXPECT_EQ(UMAS::trim(BOD::SOB(BOD::DIA, BOD::GV, 26)), eori) << kind;
        }
        BOD::DELD();
    }
}

TEST_F(DeclStore, ADayTableOfTheOlderLayoutIsNeverWritten) {
    // 11160 heads: the years from 2020 have no heads yet (the upgrade widens the file first).
    {
        PLAT::File f("CO/DISH.DAT", PLAT::File::READWRITE);
        f.truncate(11160 * 6 + 5 * 6);
    }
    auto dish = file("DISH.DAT");
    newDeclaration("45");
    setDate("010124");
    STORE::Result r = store();
    EXPECT_EQ(r.notices.size(), 1u);
    EXPECT_EQ(file("DISH.DAT"), dish);
    EXPECT_TRUE(EK0::CHO().found);
}

// A store into a damaged store is refused before a byte is written, the message naming the file.
TEST_F(DeclStore, AStoreIntoADamagedStoreIsRefusedNamingTheFile) {
    struct Damage {
        const char* file;
        bool cut;  // cut to half, else overwritten with random bytes
    };
    const Damage damages[] = {{"DISI.DAT", true}, {"DISI.DAT", false}, {"DISN.DAT", true}, {"DISD.DAT", false},
                              {"DISH.DAT", false}, {"DIPE.DAT", false}};
    // A sound store first: declarations of several partitions, one deleted (its area free).
    for (const char* n : {"12", "13", "51", "14"}) {
        newDeclaration(n);
        setDate("010124");
        BOD::PR = 2;
        setBox(2, std::string("GOODS ") + n);
        store();
    }
    newDeclaration("14");
    ASSERT_TRUE(EK0::CHO().found);
    ASSERT_TRUE(EK0::DISF_RUF(true));
    ASSERT_TRUE(BOD::DELD().stored);
    const auto sound = snapshot();
    std::mt19937 rnd(42);
    for (const Damage& d : damages) {
        SCOPED_TRACE(std::string(d.file) + (d.cut ? " cut to half" : " overwritten"));
        for (auto& [f, b] : sound) TESTS::writeFile("CO/" + f, b);
        std::string img = sound.at(d.file);
        if (d.cut) {
            img.resize(img.size() / 2);
        } else {
            for (char& c : img) c = char(rnd());
        }
        TESTS::writeFile(std::string("CO/") + d.file, img);
        const auto before = snapshot();
        newDeclaration("15");
        setDate("010124");
        BOD::PR = 2;
        STORE::Result r = EK0::KATD();
        EXPECT_FALSE(r.stored);
        EXPECT_NE(r.refusal.find(d.file), std::string::npos) << PLAT::cp737ToUtf8(r.refusal);
        EXPECT_EQ(snapshot(), before);
    }
    // The same damages of the sheet index refuse a sheet store.
    for (bool cut : {true, false}) {
        for (auto& [f, b] : sound) TESTS::writeFile("CO/" + f, b);
        std::string img = sound.at("BISI.DAT");
        if (cut)
            img.resize(img.size() / 2);
        else
            for (char& c : img) c = char(rnd());
        TESTS::writeFile("CO/BISI.DAT", img);
        const auto before = snapshot();
        for (int i = 1; i <= BOD::SHEET_BOXES; ++i) BOD::BOS(BOD::BIS, BOD::GB, i, "");
        BOD::BM = STORE::padKey("1230203", 14);
        BOD::BOB = false;
        STORE::Result r = EKDO::KATB();
        EXPECT_FALSE(r.stored);
        EXPECT_NE(r.refusal.find("BISI.DAT"), std::string::npos);
        EXPECT_EQ(snapshot(), before);
    }
    // The sound store still takes the declaration.
    for (auto& [f, b] : sound) TESTS::writeFile("CO/" + f, b);
    newDeclaration("15");
    setDate("010124");
    store();
    EXPECT_TRUE(STORE::check("CO/").errors.empty());
}

// A declaration whose fields cannot be read, deleted as unread: its index entry and every chain
// node naming it go, and its areas are not offered to the next store (they may run into another
// declaration's bytes).
TEST_F(DeclStore, AnUnreadDeclarationIsDeletedWithoutFreeingItsAreas) {
    newDeclaration("70");
    setDate("010325");
    BOD::PR = 3;
    const int32_t pos = store().pos;
    newDeclaration("71");
    setDate("010325");
    store();
    {
        PLAT::File m("CO/DISM.DAT", PLAT::File::READWRITE);
        const uint8_t bad = 200;  // no field begins so
        m.writeAt(pos + 4, &bad, 1);
    }
    const std::string disd = file("DISD.DAT");
    STORE::Old old;
    old.pos = pos;
    old.key = STORE::padKey("70", 10);
    old.unread = true;
    ASSERT_TRUE(STORE::deleteDecl("CO/", old).stored);
    EXPECT_FALSE(STORE::find("CO/", STORE::DECL, "70").found);
    EXPECT_TRUE(STORE::find("CO/", STORE::DECL, "71").found);
    EXPECT_EQ(file("DISD.DAT"), disd) << "no area freed";
    const STORE::Report rep = STORE::check("CO/", STORE::CheckOptions{true, ""});
    EXPECT_TRUE(rep.errors.empty()) << rep.errors.front();
    EXPECT_EQ(rep.declarations, 1u);
}
