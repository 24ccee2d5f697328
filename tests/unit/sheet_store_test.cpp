// The continuation-sheet store byte for byte, and the list reader DIAS.RUFD on stored declarations.
#include "common/umas.h"
#include "declarations/dias.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "unit/store_fixture.h"

using namespace STORETEST;

namespace {

STORE::Entry sheetEntry(const std::string& bisi, int rec) {
    return STORE::decodeEntry(STORE::SHEET, reinterpret_cast<const uint8_t*>(bisi.data()) + rec * 21);
}
STORE::Head sheetHead(const std::string& bisi, int rec) {
    return STORE::decodeHead(STORE::SHEET, reinterpret_cast<const uint8_t*>(bisi.data()) + rec * 21);
}

void newItem(const std::string& key) {
    for (int i = 1; i <= BOD::SHEET_BOXES; ++i) BOD::BOS(BOD::BIS, BOD::GB, i, "");
    BOD::AYB = BOD::MOT{};
    BOD::BM = STORE::padKey(key, 14);
    BOD::BOB = false;
}

}  // namespace

TEST_F(DeclStore, AnEmptySheetIsOneAreaOf191Occupying187Bytes) {
    newItem("1230203");
    EXPECT_EQ(EKDO::KATB_DATA().size(), 183u);
    EXPECT_EQ(EKDO::FSZB(), 191);
    auto before = snapshot();
    ASSERT_TRUE(EKDO::KATB().stored);
    std::string bism = file("BISM.DAT");
    EXPECT_EQ(bism, bytes({0, 191, 0, 191}) + std::string(183, '\0'));
    EXPECT_EQ(BOD::XNB, 0);
    std::string bisi = file("BISI.DAT");
    STORE::Head h = sheetHead(bisi, 0);
    EXPECT_EQ(h.SY, 7000);
    EXPECT_EQ(h.US, 1);
    EXPECT_EQ(h.FA, 1);
    STORE::Entry e = sheetEntry(bisi, 1);
    EXPECT_EQ(e.RE, 0);
    EXPECT_EQ(e.AL, 0);
    EXPECT_EQ(e.KL, "1230203       ");
    for (const char* f : {"BISD.DAT", "BISN.DAT", "DISM.DAT", "DISI.DAT"}) EXPECT_EQ(file(f), before[f]) << f;
}

TEST_F(DeclStore, StoringASheetTwiceLeavesTwoAreasOnlyTheSecondIndexed) {
    newItem("50202");
    BOD::BOS(BOD::BIS, BOD::GB, 1, "02");
    BOD::BOS(BOD::BIS, BOD::GB, 3, "2");
    BOD::BOS(BOD::BIS, BOD::GB, 23, "GOODS");
    ASSERT_TRUE(EKDO::KATB().stored);
    int32_t first = BOD::XNB;
    ASSERT_TRUE(EKDO::KATB().stored);  // no change check: the sheet editor decides
    EXPECT_GT(BOD::XNB, first);
    EXPECT_EQ(int64_t(file("BISM.DAT").size()), 2 * int64_t(BOD::XNB));
    // The first version's slot was freed by the unlink and taken again at once.
    std::string bisi = file("BISI.DAT");
    EXPECT_EQ(sheetHead(bisi, 4 * 7001).US, 1);
    EXPECT_EQ(sheetHead(bisi, 4 * 7001).FA, 4 * 7001 + 1);
    EXPECT_EQ(sheetEntry(bisi, 4 * 7001 + 1).RE, BOD::XNB);
    EXPECT_EQ(sheetEntry(bisi, 4 * 7001 + 1).AL, 0);
    std::string bisn = file("BISN.DAT");
    EXPECT_EQ(PLAT::getW(reinterpret_cast<const uint8_t*>(bisn.data()) + 4 * 1000), 0);
    int32_t second = BOD::XNB;
    BOD::BM = STORE::padKey("50202", 14);
    EXPECT_TRUE(EKDO::CHOB().found);
    EXPECT_EQ(BOD::XNB, second);
}

TEST_F(DeclStore, SheetKeysAreToldApartByTheirLastPositions) {
    for (const char* k : {"12345678900203", "12345678900204", "12345678900103"}) {
        newItem(k);
        BOD::BOS(BOD::BIS, BOD::GB, 23, k);
        ASSERT_TRUE(EKDO::KATB().stored);
    }
    for (const char* k : {"12345678900203", "12345678900204", "12345678900103"}) {
        BOD::BM = k;
        ASSERT_TRUE(EKDO::CHOB().found) << k;
        ASSERT_TRUE(EKDO::RUFB(23, false));
        EXPECT_EQ(BOD::SOB(BOD::BIS, BOD::GB, 23), std::string(k).substr(0, 12));
    }
    for (const char* k : {"12345678900205", "0123", " 123", ""}) {
        BOD::BM = k;
        EXPECT_FALSE(EKDO::CHOB().found) << k;
    }
}

// The items of a number are the keys of the number and four digits: not those of a longer number
// that begins with it, nor a deleted one.
TEST_F(DeclStore, TheItemsOfANumberAreItsKeysAndFourDigits) {
    for (const char* k : {"1000202", "10000202", "1000305", "100020", "1000203"}) {
        newItem(k);
        ASSERT_TRUE(EKDO::KATB().stored) << k;
    }
    BOD::BM = STORE::padKey("1000203", 14);
    ASSERT_TRUE(EKDO::CHOB().found);
    ASSERT_TRUE(EKDO::DELB().stored);
    std::vector<std::string> keys;
    for (const auto& [key, pos] : STORE::itemsOf(UMAS::PATH, "100").items) keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"1000202       ", "1000305       "}));
    EXPECT_EQ(STORE::itemsOf(UMAS::PATH, "1000").items.size(), 1u);
    for (const char* n : {"", "0100", "12345678901"}) EXPECT_TRUE(STORE::itemsOf(UMAS::PATH, n).items.empty()) << n;
}

TEST_F(DeclStore, LoadingASheetTakesTheMainPageBoxesAndTheFirstCharacterOfKT) {
    newDeclaration("88");
    setBox(16, "05");
    setBox(6, "OFFICE");
    setBox(7, "1234");
    setDate("101226");
    setBox(9, "101226");
    newItem("880203");
    BOD::BOS(BOD::BIS, BOD::GB, 1, "2");
    BOD::BOS(BOD::BIS, BOD::GB, 3, "3");
    BOD::BOS(BOD::BIS, BOD::GB, 2, "99");
    BOD::BOS(BOD::BIS, BOD::GB, 11, "010101");
    BOD::BOS(BOD::BIS, BOD::GB, 40, "  12");
    BOD::AYB.ON = "PACKAGES";
    BOD::AYB.KT = "ABC";
    BOD::AYB.BA = "100.50";
    BOD::AYB.EIF = {0, 2, 0, 0, 0, 0, 0, 0, 28};
    BOD::AYB.DAJ = "NOT KEPT";
    ASSERT_TRUE(EKDO::KATB().stored);
    newItem("880203");
    EKDO::CHOB();
    ASSERT_TRUE(BOD::BOB);
    ASSERT_TRUE(EKDO::RUFB(23, true));
    EXPECT_EQ(BOD::SOB(BOD::BIS, BOD::GB, 1), "02");
    EXPECT_EQ(BOD::SOB(BOD::BIS, BOD::GB, 3), "03");
    EXPECT_EQ(BOD::SOB(BOD::BIS, BOD::GB, 2), "05          ");  // main box 16, not the stored 99
    EXPECT_EQ(BOD::SOB(BOD::BIS, BOD::GB, 8), BOD::SOB(BOD::DIA, BOD::GV, 6));
    EXPECT_EQ(BOD::SOB(BOD::BIS, BOD::GB, 9), BOD::SOB(BOD::DIA, BOD::GV, 7));
    EXPECT_EQ(BOD::SOB(BOD::BIS, BOD::GB, 11), "101226");
    EXPECT_EQ(BOD::SOB(BOD::BIS, BOD::GB, 12), "101226      ");
    EXPECT_EQ(BOD::SOB(BOD::BIS, BOD::GB, 40), "  12        ");
    EXPECT_EQ(BOD::AYB.ON, "PACKAGES");
    EXPECT_EQ(BOD::AYB.KT, "A");
    EXPECT_EQ(BOD::AYB.BA, "100.50");
    EXPECT_EQ(BOD::AYB.DAJ, "");
    EXPECT_EQ(BOD::BIS.CCH(BOD::GB.ROW(53), BOD::GB.COL(53) + 7), '%');
    EXPECT_EQ(BOD::BIS.CCH(BOD::GB.ROW(88), BOD::GB.COL(88) + 7), '%');
    EXPECT_EQ(BOD::BIS.CCH(BOD::GB.ROW(58), BOD::GB.COL(58) + 7), ' ');
    EXPECT_EQ(BOD::OOB, BOD::BM);
}

TEST_F(DeclStore, SheetLendingAndDeletion) {
    STORE::Head h;
    h.SY = 7000;
    h.US = 6998;
    std::string b(21, '\0');
    STORE::encodeHead(STORE::SHEET, h, reinterpret_cast<uint8_t*>(b.data()));
    {
        PLAT::File f("CO/BISI.DAT", PLAT::File::READWRITE);
        f.writeAt(7001 * 21, b.data(), b.size());
    }
    newItem("20203");
    ASSERT_TRUE(EKDO::KATB().stored);
    std::string bisi = file("BISI.DAT");
    EXPECT_EQ(sheetHead(bisi, 0).SY, 3499);
    EXPECT_EQ(sheetHead(bisi, 3500).SY, 3500);
    EXPECT_EQ(sheetEntry(bisi, 7001 + 7000).RE, 3500);
    newItem("20204");
    ASSERT_TRUE(EKDO::KATB().stored);
    EXPECT_EQ(sheetEntry(file("BISI.DAT"), 3501).KL, STORE::padKey("20204", 14));
    // Deleting only unlinks; the area stays.
    auto bism = file("BISM.DAT");
    BOD::BM = STORE::padKey("20203", 14);
    EKDO::CHOB();
    ASSERT_TRUE(EKDO::RUFB(23, false));
    ASSERT_TRUE(EKDO::DELB().stored);
    EXPECT_EQ(file("BISM.DAT"), bism);
    BOD::BM = STORE::padKey("20203", 14);
    EXPECT_FALSE(EKDO::CHOB().found);
    BOD::BM = STORE::padKey("20204", 14);
    EXPECT_TRUE(EKDO::CHOB().found);
}

TEST_F(DeclStore, ADamagedSheetIsReported) {
    newItem("30101");
    ASSERT_TRUE(EKDO::KATB().stored);
    {
        PLAT::File f("CO/BISM.DAT", PLAT::File::READWRITE);
        f.truncate(100);
    }
    BOD::BM = STORE::padKey("30101", 14);
    EKDO::CHOB();
    std::string why;
    EXPECT_FALSE(EKDO::RUFB(23, false, &why));
    EXPECT_FALSE(why.empty());
}

// ---- The list reader ---------------------------------------------------------------------------

namespace {

struct Listed {
    std::vector<DIAS::REC> rows = std::vector<DIAS::REC>(252);
    std::vector<DIAS::REC1> rows1 = std::vector<DIAS::REC1>(192);
    int CC = 0;
};

// Reads each position into the lists as the lists do.
void listAll(Listed& l, const std::vector<int32_t>& xs, int A, int32_t Z1, int32_t Z2, const std::string& EAP,
             const std::string& EXT, bool TEXTOUT = false) {
    DIAS::FT.open(UMAS::PATH + "DISM.DAT", PLAT::File::READ);
    DIAS::MFSIZE = DIAS::FT.size();
    for (int32_t x : xs) {
        DIAS::XND = x;
        ++l.CC;
        if (A == 1)
            DIAS::RUFD(l.rows, Z1, Z2, EAP, EXT, TEXTOUT, l.CC);
        else
            DIAS::RUFD(l.rows1, Z1, Z2, EAP, EXT, TEXTOUT, l.CC);
    }
    DIAS::FT.close();
}

int32_t putDecl(const std::string& n, const std::string& date, const std::string& kind, const std::string& party12,
                const std::string& party22) {
    newDeclaration(n);
    setDate(date);
    setBox(6, PLAT::gr("ΠΕΙΡΑΙΑ"));
    setBox(7, "3001");
    setBox(12, party12);
    setBox(22, party22);
    setBox(19, "12");
    setBox(54, "EUR");
    setBox(55, "1500");
    setBox(62, "ΤΙΜ.:A123");
    setBox(71, "800");
    setBox(73, PLAT::gr("ΕΙΔΗ"));
    setBox(79, "84713000");
    setBox(84, "4000");
    setBox(142, "    " + kind);
    store();
    return BOD::XN;
}

}  // namespace

TEST_F(DeclStore, TheListReaderFillsRowsOfBothListsAndDropsOthers) {
    UMAS::PAREDE[9].TIMI = 0;
    int32_t a = putDecl("101", "050124", "IMP", PLAT::gr("  ΑΠΟΣΤΟΛΕΑΣ"), PLAT::gr("ΠΑΠΑΔΟΠΟΥΛΟΣ ΑΕ"));
    int32_t b = putDecl("102", "060124", "EXP", PLAT::gr("ΠΑΠΑΔΟΠΟΥΛΟΣ ΑΕ"), PLAT::gr("ΠΑΡΑΛΗΠΤΗΣ"));
    int32_t c = putDecl("103", "070124", "IMP", "X", PLAT::gr("ΓΕΩΡΓΙΟΥ"));
    Listed l;
    DIAS::ALLGOOD = true;
    listAll(l, {a, b, c}, 1, 0, 0, "", "IMP");
    ASSERT_EQ(l.CC, 2);
    EXPECT_TRUE(DIAS::ALLGOOD);
    const DIAS::REC& r = l.rows[0];
    EXPECT_EQ(r.KD, "101");
    EXPECT_EQ(r.HM, "050124");
    EXPECT_EQ(r.TEL, PLAT::gr("ΠΕΙΡΑΙΑ"));
    EXPECT_EQ(r.KTEL, "3001");
    EXPECT_EQ(r.APOST, PLAT::gr("ΑΠΟΣΤΟΛΕΑΣ"));  // without its leading blanks
    EXPECT_EQ(r.PARAL, PLAT::gr("ΠΑΠΑΔΟΠΟΥΛΟΣ"));  // the box holds 12 characters
    EXPECT_EQ(r.EA, PLAT::gr("ΠΑΠΑΔΟΠΟΥΛΟΣ"));     // box 22 for imports
    EXPECT_EQ(r.TEM, "12");
    EXPECT_EQ(r.AXIA, "EUR 1500");
    EXPECT_EQ(r.ARTIM, "A123");
    EXPECT_EQ(r.XM, "800");
    EXPECT_EQ(r.EM, PLAT::gr("ΕΙΔΗ"));  // box 72 blank: box 73
    EXPECT_EQ(r.KL, "84713000");
    EXPECT_EQ(r.KATH, "4000");
    EXPECT_EQ(l.rows[1].KD, "103");

    // The list by customer: kind, day range and the first 7 characters of the customer's name.
    Listed k;
    listAll(k, {a, b, c}, 2, *STORE::dayKey("010124"), *STORE::dayKey("060124"), PLAT::gr("ΠΑΠΑΔΟΠ ΙΓΝΩΣΤΟΣ"),
            "IMP");
    ASSERT_EQ(k.CC, 1);
    EXPECT_EQ(k.rows1[0].KD, "101");
    EXPECT_EQ(k.rows1[0].HM, "050124");
    EXPECT_EQ(k.rows1[0].EM, PLAT::gr("ΕΙΔΗ"));
    Listed e;
    listAll(e, {a, b, c}, 2, 0, 30000, PLAT::gr("ΠΑΠΑΔΟΠΟΥΛΟΣ"), "EXP");
    ASSERT_EQ(e.CC, 1);
    EXPECT_EQ(e.rows1[0].KD, "102");  // box 12 for exports
}

TEST_F(DeclStore, TheListReaderReportsDamageAndTheDumpIsNamedByDigits) {
    int32_t a = putDecl("104", "050124", "IMP", "A", "B");
    Listed l;
    DIAS::ALLGOOD = true;
    int64_t size = int64_t(file("DISM.DAT").size());
    listAll(l, {-1, int32_t(size - 4), a}, 1, 0, 0, "", "IMP");
    EXPECT_EQ(l.CC, 1);
    EXPECT_FALSE(DIAS::ALLGOOD);

    // A chain whose next area lies past the file.
    {
        PLAT::File f("CO/DISM.DAT", PLAT::File::READWRITE);
        uint8_t h[4] = {0, 50, 0x10, 0};
        f.writeAt(a, h, 4);
    }
    Listed d;
    DIAS::ALLGOOD = true;
    listAll(d, {a}, 1, 0, 0, "", "IMP");
    EXPECT_EQ(d.CC, 0);
    EXPECT_FALSE(DIAS::ALLGOOD);
}

TEST_F(DeclStore, TheDumpWritesEveryBoxToAFileNamedByTheDigitsOfTheNumber) {
    int32_t a = putDecl("105", "050124", "EXP", "A", "B");
    // The number box holds other characters too: only its digits name the file.
    std::string data = EK0::KATD_DATA();
    Listed l;
    listAll(l, {a}, 1, 0, 0, "", "IMP", true);  // another kind: kept with the dump on
    EXPECT_EQ(l.CC, 1);
    std::string dump = TESTS::readFile("drives/c/DIAM/105.DIA");
    EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n'), 286);
    EXPECT_EQ(dump.substr(0, 5), "105\r\n");
    bool keep = false;
    DIAS::REC r;
    std::string odd;
    STORE::putField(odd, "../9", false);
    ASSERT_TRUE(DIAS::RUFS(odd + data.substr(2), 1, &r, nullptr, 0, 0, "", "EXP", true, keep));
    EXPECT_TRUE(TESTS::exists("drives/c/DIAM/9.DIA"));
}

TEST_F(DeclStore, TheDamagedDeclarationsWarningForgetsTheFreeAreas) {
    TESTS::loadMasks();
    newDeclaration("61");
    store();
    EK0::CHO();
    ASSERT_TRUE(EK0::DISF_RUF(false));
    ASSERT_TRUE(BOD::DELD().stored);
    ASSERT_NE(file("DISD.DAT").substr(0, 4), std::string(4, '\0'));
    auto& con = static_cast<PLAT::HeadlessConsole&>(PLAT::con());
    con.ch('x');
    con.ch(27);
    DIAS::ERRORFILE();
    EXPECT_EQ(con.pending(), 0u);
    EXPECT_EQ(file("DISD.DAT"), std::string(4000, '\0'));
}
