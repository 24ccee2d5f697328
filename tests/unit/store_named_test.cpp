// What the entries of a store name and the record file it names: a record file cut shorter than a
// position or an area that any entry names (of any partition) refuses a store before a byte is
// written; a record reached under a number it does not hold is damaged, never shown as that number
// and never freed; the store checker tells both.
#include <algorithm>

#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "unit/store_fixture.h"

using namespace STORETEST;

namespace {

void cutTo(const std::string& path, int64_t n) {
    PLAT::File f(path, PLAT::File::READWRITE);
    f.truncate(n);
}

// Sets RE of the index entry found for key to pos (an index damaged to name another record).
void pointEntry(const STORE::Layout& L, const std::string& key, int32_t pos) {
    const STORE::Found f = STORE::find("CO/", L, key);
    ASSERT_TRUE(f.found);
    uint8_t b[4];
    PLAT::putL(b, pos);
    PLAT::File i(std::string("CO/") + L.I, PLAT::File::READWRITE);
    i.writeAt(int64_t(f.slot) * L.recSize, b, 4);
}

bool hasError(const STORE::Report& r, const std::string& part) {
    return std::any_of(r.errors.begin(), r.errors.end(), [&](const std::string& e) { return e.find(part) != std::string::npos; });
}

std::string errors(const STORE::Report& r) {
    std::string s;
    for (const auto& e : r.errors) s += e + "\n";
    return s;
}

void newItem(const std::string& number, const std::string& sheet, const std::string& item, const std::string& text) {
    for (int i = 1; i <= BOD::SHEET_BOXES; ++i) BOD::BOS(BOD::BIS, BOD::GB, i, "");
    BOD::AYB = BOD::MOT{};
    BOD::BOS(BOD::BIS, BOD::GB, 1, sheet);
    BOD::BOS(BOD::BIS, BOD::GB, 3, item);
    BOD::BOS(BOD::BIS, BOD::GB, 4, text);
    BOD::BOS(BOD::BIS, BOD::GB, 10, number);
    BOD::BM = STORE::padKey(number + sheet + item, 14);
    BOD::BOB = false;
}

}  // namespace

// Declarations 2001 and 1500 stored, "DISM.DAT" cut: to nothing, to the start of the last area, into
// it, and to one byte short of it. A new declaration of another partition (3001) is refused naming
// "DISM.DAT", every store file as it was; the checker names the short file. The whole file takes it.
TEST_F(DeclStore, ARecordFileShorterThanAnyEntryNamesRefusesTheStore) {
    newDeclaration("2001");
    setDate("010126");
    setBox(2, "FIRST");
    const int32_t first = store().pos;
    newDeclaration("1500");
    setDate("020126");
    BOD::PR = 4;
    setBox(2, "SECOND");
    const int32_t second = store().pos;
    ASSERT_GT(second, first);
    const auto sound = snapshot();
    const int64_t size = int64_t(sound.at("DISM.DAT").size());
    for (int64_t cut : {int64_t(0), int64_t(second), int64_t(second) + 2, int64_t(second) + 40, size - 1}) {
        SCOPED_TRACE("cut to " + std::to_string(cut));
        for (auto& [f, b] : sound) TESTS::writeFile("CO/" + f, b);
        cutTo("CO/DISM.DAT", cut);
        const auto before = snapshot();
        newDeclaration("3001");
        setDate("010126");
        const STORE::Result r = EK0::KATD();
        EXPECT_FALSE(r.stored);
        EXPECT_NE(PLAT::cp737ToUtf8(r.refusal).find("DISM.DAT ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ"), std::string::npos)
            << PLAT::cp737ToUtf8(r.refusal);
        EXPECT_EQ(snapshot(), before);
        const STORE::Report rep = STORE::check("CO/");
        EXPECT_TRUE(hasError(rep, "DISM.DAT: " + std::to_string(cut) + " bytes, shorter than what is named"))
            << errors(rep);
    }
    // A replacement of the declaration the cut reached is refused the same way.
    for (auto& [f, b] : sound) TESTS::writeFile("CO/" + f, b);
    cutTo("CO/DISM.DAT", first + 10);
    const auto before = snapshot();
    newDeclaration("2001");
    ASSERT_TRUE(EK0::CHO().found);
    EXPECT_FALSE(EK0::DISF_RUF(true));
    BOD::BUNREAD = true;
    setBox(2, "AGAIN");
    EXPECT_FALSE(EK0::KATD().stored);
    EXPECT_EQ(snapshot(), before);

    for (auto& [f, b] : sound) TESTS::writeFile("CO/" + f, b);
    newDeclaration("3001");
    setDate("010126");
    EXPECT_EQ(store().pos, size);
    EXPECT_TRUE(STORE::check("CO/").errors.empty()) << errors(STORE::check("CO/"));
}

// An index damaged so that 2001's entry names 3001's record (two entries, one position): 2001 is
// damaged when loaded and never shown as 3001's form; deleting it removes its entry but frees no
// byte of 3001, so the next store leaves 3001 whole. The checker tells the shared position and the
// box 1 that holds another number.
TEST_F(DeclStore, ARecordHoldingAnotherNumberIsDamagedAndNeverFreed) {
    newDeclaration("2001");
    setBox(2, "TWO THOUSAND");
    store();
    newDeclaration("3001");
    setDate("010126");
    setBox(2, "THREE THOUSAND");
    const int32_t pos = store().pos;
    const std::string data3001 = EK0::KATD_DATA();
    pointEntry(STORE::DECL, "2001", pos);
    const STORE::Report rep = STORE::check("CO/");
    EXPECT_TRUE(hasError(rep, "also indexed under")) << errors(rep);

    newDeclaration("2001");
    setBox(2, "ON THE FORM");
    ASSERT_TRUE(EK0::CHO().found);
    std::string why;
    EXPECT_FALSE(EK0::DISF_RUF(true, &why));
    EXPECT_EQ(why, "box 1 holds another number");
    EXPECT_EQ(UMAS::trim(BOD::SOB(BOD::DIA, BOD::GV, 2)), "ON THE FORM") << "the form is left as it was";

    // Deleted as read (the caller did not know): its entry goes, no area is freed.
    const std::string disd = file("DISD.DAT");
    STORE::Old old;
    old.pos = pos;
    old.key = STORE::padKey("2001", 10);
    ASSERT_TRUE(STORE::deleteDecl("CO/", old).stored);
    EXPECT_EQ(file("DISD.DAT"), disd);
    EXPECT_FALSE(STORE::find("CO/", STORE::DECL, "2001").found);
    newDeclaration("4001");
    setBox(2, "XXXXXXXXXXXX");
    store();
    newDeclaration("3001");
    ASSERT_TRUE(EK0::CHO().found);
    ASSERT_TRUE(EK0::DISF_RUF(true));
    EXPECT_EQ(EK0::KATD_DATA(), data3001);
    EXPECT_TRUE(STORE::check("CO/", STORE::CheckOptions{true, ""}).errors.empty());

    // Another entry naming a byte inside the areas freed keeps them too.
    newDeclaration("5001");
    const int32_t p5 = store().pos;
    newDeclaration("6001");
    store();
    pointEntry(STORE::DECL, "6001", p5 + 8);
    const std::string disd2 = file("DISD.DAT");
    old.pos = p5;
    old.key = STORE::padKey("5001", 10);
    ASSERT_TRUE(STORE::deleteDecl("CO/", old).stored);
    EXPECT_EQ(file("DISD.DAT"), disd2);

    // Deleted unread, as the editor deletes one it could not load: the day-chain node naming the
    // position is the other declaration's and stays.
    newDeclaration("7001");
    store();
    newDeclaration("8001");
    setDate("020126");
    const int32_t p8 = store().pos;
    pointEntry(STORE::DECL, "7001", p8);
    const std::string dish = file("DISH.DAT"), disd3 = file("DISD.DAT");
    old.pos = p8;
    old.key = STORE::padKey("7001", 10);
    old.unread = true;
    ASSERT_TRUE(STORE::deleteDecl("CO/", old).stored);
    EXPECT_EQ(file("DISH.DAT"), dish);
    EXPECT_EQ(file("DISD.DAT"), disd3);
    EXPECT_FALSE(STORE::find("CO/", STORE::DECL, "7001").found);
    EXPECT_TRUE(STORE::find("CO/", STORE::DECL, "8001").found);
}

// The sheets: item 20010202 stored, "BISM.DAT" cut to nothing or into the item; item 10010102 of
// another declaration is refused naming "BISM.DAT", nothing written; the checker names the short
// file. An index entry damaged to name another declaration's item: the item is damaged when loaded,
// and the checker tells the shared position and the box 10 of another declaration.
TEST_F(DeclStore, ASheetFileShorterThanAnyEntryNamesRefusesTheStore) {
    newItem("2001", "02", "02", "TWO ONE");
    ASSERT_TRUE(EKDO::KATB().stored);
    newItem("1500", "01", "02", "FIFTEEN");
    const int32_t last = EKDO::KATB().pos;
    const auto sound = snapshot();
    for (int64_t cut : {int64_t(0), int64_t(last), int64_t(last) + 20}) {
        SCOPED_TRACE("cut to " + std::to_string(cut));
        for (auto& [f, b] : sound) TESTS::writeFile("CO/" + f, b);
        cutTo("CO/BISM.DAT", cut);
        const auto before = snapshot();
        newItem("1001", "01", "02", "NEW");
        const STORE::Result r = EKDO::KATB();
        EXPECT_FALSE(r.stored);
        EXPECT_NE(PLAT::cp737ToUtf8(r.refusal).find("BISM.DAT ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ"), std::string::npos)
            << PLAT::cp737ToUtf8(r.refusal);
        EXPECT_EQ(snapshot(), before);
        const STORE::Report rep = STORE::check("CO/");
        EXPECT_TRUE(hasError(rep, "BISM.DAT: " + std::to_string(cut) + " bytes, shorter than what is named"))
            << errors(rep);
    }
    for (auto& [f, b] : sound) TESTS::writeFile("CO/" + f, b);
    newItem("1001", "01", "02", "NEW");
    const int32_t p1001 = EKDO::KATB().pos;
    EXPECT_EQ(p1001, int32_t(sound.at("BISM.DAT").size()));
    EXPECT_TRUE(STORE::check("CO/").errors.empty()) << errors(STORE::check("CO/"));

    pointEntry(STORE::SHEET, "20010202", p1001);
    const STORE::Report rep = STORE::check("CO/");
    EXPECT_TRUE(hasError(rep, "indexed twice")) << errors(rep);
    EXPECT_TRUE(hasError(rep, "sheet item 20010202: box 10 holds declaration")) << errors(rep);
    newItem("2001", "02", "02", "ON THE PAGE");
    ASSERT_TRUE(EKDO::CHOB().found);
    std::string why;
    EXPECT_FALSE(EKDO::RUFB(23, false, &why));
    EXPECT_EQ(why, "box 10 holds another declaration");
    EXPECT_EQ(UMAS::trim(BOD::SOB(BOD::BIS, BOD::GB, 4)), "ON THE PAGE");
    // An item with box 10 left empty (stored so by older files) is read as before.
    newItem("", "03", "04", "NO NUMBER");
    BOD::BM = STORE::padKey("70010304", 14);
    ASSERT_TRUE(EKDO::KATB().stored);
    ASSERT_TRUE(EKDO::CHOB().found);
    EXPECT_TRUE(EKDO::RUFB(23, false));
}

// The number tests a record is matched with its key by.
TEST(StoreNumbers, BoxesAndKeysHoldTheirNumbers) {
    EXPECT_EQ(STORE::numberText("  0500 "), "500");
    EXPECT_EQ(STORE::numberText("500       "), "500");
    EXPECT_EQ(STORE::numberText("   "), "");
    struct Case {
        const char* box10;
        const char* key;
        bool ok;
    };
    for (const Case& c : {Case{"2001", "20010202", true}, Case{"      2001", "20010202", true},
                          Case{"1001", "20010202", false}, Case{"200", "20010202", false},
                          Case{"2001", "2001", false}, Case{"", "20010202", true}, Case{"ΑΒΓ", "20010202", true}})
        EXPECT_EQ(STORE::itemOf(c.box10, c.key, 4), c.ok) << c.box10 << " / " << c.key;
}
