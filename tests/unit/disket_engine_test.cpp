// The row engine of the segment file: grammar, checks, item blocks over stored sheets, consumed
// rows, the character conversion.
#include "platform/codepage.h"
#include "submission/disket.h"
#include "submission/diskvas.h"
#include "unit/disket_fixture.h"

using namespace DISKETTEST;

TEST_F(Disket, HeadsFieldsAndLiteralsFormOneLinePerSegment) {
    box(5, "12");
    box(8, "150326");
    auto R = walk({{1, 1001, "H", "R", "6"}, {2, 5, "B5", "", "..12"}, {3, 8, "DATE", "", "8"},
                   {4, 1002, "H2", "", "6"}, {5, 999, "LIT", "", "..5", "", "X"}});
    EXPECT_EQ(R.OUT, "0001:1~12~20260315\r\n0002:1~X");
    EXPECT_EQ(R.CERR, 0) << errors(R);
}

TEST_F(Disket, ValueChecksWriteTheirLinesAndStillWriteTheValue) {
    struct Case {
        Row row;
        const char* written;
        const char* error;  // "" for none
    } cases[] = {
        {{1, 999, "ΠΟΣΟ", "", "..12", "ν", "12"}, "~12.0", ""},
        {{1, 999, "ΠΟΣΟ", "", "..12", "ν", "12.5"}, "~12.5", ""},
        {{1, 999, "ΠΟΣΟ", "", "..12", "ν", "1.2.3"}, "~1.2.3", "Γραμμή 1 Λάθος δεκαδικά ψηφία στη θέση 999 ΠΟΣΟ"},
        {{1, 999, "ΑΡΙΘΜΟΣ", "", "..12", "N", "12A"}, "~12A", "Γραμμή 1 Γράμματα σε Αριθμητικό πεδίο ΑΡΙΘΜΟΣ"},
        {{1, 999, "ΑΡΙΘΜΟΣ", "", "..12", "Ν", "1.5"}, "~1.5", ""},
        {{1, 999, "ΚΩΔ", "", "..5", "", "ABCDEF"}, "~ABCDEF", "Γραμμή 1 Λάθος εγγραφή στη θέση 999 ΚΩΔ"},
        {{1, 999, "ΚΩΔ", "", "..5", "", "ABCDE"}, "~ABCDE", ""},
        {{1, 999, "ΚΩΔ", "", "8", "", "1234567"}, "~1234567", "Γραμμή 1 Λάθος εγγραφή στη θέση 999 ΚΩΔ"},
        {{1, 999, "ΚΩΔ", "", "8", "", "12345678"}, "~12345678", ""},
        {{1, 999, "ΚΩΔ", "", "", "", ""}, "~", ""},
        {{1, 999, "ΚΩΔ", "", "8", "R", ""}, "~", "Γραμμή 1 Λάθος εγγραφή στη θέση 999 ΚΩΔ"},
        {{1, 999, "ΚΩΔ", "R", "..5", "", ""}, "~", "Γραμμή 1 Κενή υποχρεωτική θέση 999 ΚΩΔ"},
        {{160, 999, "ΚΩΔ", "R", "1", "", ""}, "~", ""},
        {{1, 1000, "ΤΙΠΟΤΑ", "", "", "", "X"}, "", ""},
        {{1, 0, "", "", "", "", ""}, "", ""},
        {{1, 0, "ΚΕΝΟ", "C", "", "", ""}, "~", ""},
    };
    for (const auto& c : cases) {
        auto R = walk({c.row});
        EXPECT_EQ(R.OUT, gr(c.written)) << c.row.PEDIO << " " << c.row.TIMES;
        EXPECT_EQ(errors(R), *c.error ? std::string(c.error) + "\n" : "") << c.row.PEDIO << " " << c.row.TIMES;
    }
}

TEST_F(Disket, ASmallRIsMandatoryUnlessTheTypeRowFoundBox5To12) {
    box(5, "12");
    auto R = walk({{1, 399, "ΤΥΠΟΣ", "", "2"}, {2, 999, "ΠΕΔΙΟ", "r", "..5"}});
    EXPECT_EQ(R.OUT, "~12~");
    EXPECT_EQ(R.CERR, 0) << errors(R);
    R = walk({{1, 999, "ΠΕΔΙΟ", "r", "..5"}, {2, 399, "ΤΥΠΟΣ", "", "2"}});
    EXPECT_EQ(errors(R), "Γραμμή 1 Κενή υποχρεωτική θέση 999 ΠΕΔΙΟ\n");
    box(5, "13");
    R = walk({{1, 399, "ΤΥΠΟΣ", "", "2"}, {2, 999, "ΠΕΔΙΟ", "r", "..5"}});
    EXPECT_EQ(errors(R), "Γραμμή 2 Κενή υποχρεωτική θέση 999 ΠΕΔΙΟ\n");
}

TEST_F(Disket, CodeTextsOfTheErrorLines) {
    EXPECT_EQ(DISKET::CODETEXT(1031), "  31");
    EXPECT_EQ(DISKET::CODETEXT(1999), " 999");
    EXPECT_EQ(DISKET::CODETEXT(2000), "2000");
    EXPECT_EQ(DISKET::CODETEXT(3125), "3125");
    EXPECT_EQ(DISKET::CODETEXT(12), "12");
    // A head that breaks its length rule is quoted by its segment number.
    auto R = walk({{1, 1031, "ΕΙΔΟΣ", "R", "5"}});
    EXPECT_EQ(errors(R), "Γραμμή 1 Λάθος εγγραφή στη θέση   31 ΕΙΔΟΣ\n");
}

namespace {

// A table with a goods block of rows 101..196 (the item row, the sheet's package code through a
// literal) and a trailer at row 200.
std::vector<Row> itemTable() {
    return {{1, 1001, "H", "R", "6"},        {2, 18, "ΕΙΔΗ", "R", "..3", "N"}, {101, 1031, "ΕΙΔΟΣ", "R", "6"},
            {102, 78, "Α/Α", "R", "..3", "N"}, {103, 999, "ΣΤΑΘΕΡΟ", "", "..5", "", "I"}, {200, 1099, "ΤΕΛΟΣ", "", "6"}};
}

}  // namespace

TEST_F(Disket, TheGoodsBlockIsWalkedOncePerItemLoadingEachSheet) {
    box(18, "5");
    ASSERT_TRUE(STORETEST::store().stored);
    BOD::MOT m;
    m.ON = "PK";
    m.ER = "MARKS";
    m.TY = "7";
    for (int n = 2; n <= 5; ++n)
        storeItem("123", n, {{19, "CT"}, {20, std::to_string(10 * n)}, {42, "N935:  INV-" + std::to_string(n) + " "}},
                  n == 3 ? m : BOD::MOT{});
    auto R = walk(itemTable());
    EXPECT_EQ(R.CERR, 0) << errors(R);
    expectGolden("items5.txt", R.OUT);
    EXPECT_EQ(R.AREIDOS, 5);
    EXPECT_EQ(R.SYSBUF[2][1].CODE, "CT");
    EXPECT_EQ(R.SYSBUF[2][1].NAME, "-");
    EXPECT_EQ(R.SYSBUF[2][1].POSOT, "20      ");  // sheet box 20 as it stands, cut to 8
    EXPECT_EQ(R.SYSBUF[3][1].CODE, "PK");
    EXPECT_EQ(R.SYSBUF[3][1].NAME, "MARKS");
    EXPECT_EQ(R.SYSBUF[3][1].POSOT, "7");
    EXPECT_EQ(R.EGGR_BIS[5][1].EGGCODE, "N935");
    EXPECT_EQ(R.EGGR_BIS[5][1].EGGNAME, "INV-5");
}

TEST_F(Disket, ItemsSitThreeToASheetAndTwoInTheVehicleModes) {
    box(18, "5");
    ASSERT_TRUE(STORETEST::store().stored);
    // Three to a sheet: items 2, 3, 4 on sheet 2 and item 5 on sheet 3.
    for (int n = 2; n <= 5; ++n) storeItem("123", n, {{19, "S" + std::to_string((n - 2) / 3 + 2)}});
    auto R = walk(itemTable());
    EXPECT_EQ(R.CERR, 0) << errors(R);
    EXPECT_EQ(R.SYSBUF[4][1].CODE, "S2");
    EXPECT_EQ(R.SYSBUF[5][1].CODE, "S3");
    // The vehicle modes: items 2 and 3 on sheet 2, 4 and 5 on sheet 3, block 111..217.
    for (int n = 2; n <= 5; ++n) storeItem("123", n, {{19, "V"}}, BOD::MOT{}, true);
    std::vector<Row> rows = {{1, 18, "ΕΙΔΗ", "R", "..3"}, {111, 78, "Α/Α", "R", "..3"}};
    R = walk(rows, "IMP", DISKET::ED_AUTO);
    EXPECT_EQ(R.CERR, 0) << errors(R);
    EXPECT_EQ(R.OUT, "~5~1~2~3~4~5");
}

TEST_F(Disket, AMissingSheetIsOneLineAndPassesOverTheRestOfTheItems) {
    box(18, "5");
    ASSERT_TRUE(STORETEST::store().stored);
    storeItem("123", 2, {{19, "CT"}});
    storeItem("123", 3, {{19, "CT"}});
    auto R = walk(itemTable());
    EXPECT_EQ(errors(R), "Δεν έχετε καταχωρήσει το 4ο προϊόν σε φύλλο BIS.\n");
    EXPECT_EQ(R.OUT, "0001:1~5\r\n0031:1~1~I\r\n0031:1~2~I\r\n0031:1~3~I\r\n0031:1\r\n0099:1");
}

TEST_F(Disket, ABlockWithoutItemRowIsWalkedOnceWithAnErrorLine) {
    box(18, "3");
    auto R = walk({{1, 18, "ΕΙΔΗ", "", "..3"}, {101, 999, "X", "", "..1", "", "X"}, {197, 999, "Y", "", "..1", "", "Y"}});
    EXPECT_EQ(R.OUT, "~3~X~Y");
    EXPECT_EQ(errors(R),
              "Οι γραμμές 101-196 του πίνακα δεν έχουν γραμμή είδους: τα επόμενα είδη δεν γράφτηκαν.\n");
}

TEST_F(Disket, TransitRunsRepeatRows149To172) {
    box(18, "2");
    ASSERT_TRUE(STORETEST::store().stored);
    storeItem("123", 2, {});
    auto R = walk({{1, 18, "ΕΙΔΗ", "", "..3"}, {149, 1031, "H", "", "6"}, {150, 78, "A", "", "..3"}, {173, 999, "E", "", "..1", "", "E"}},
                  "MTF", DISKET::ED_TIRSEND);
    EXPECT_EQ(R.OUT, "~2\r\n0031:1~1\r\n0031:1~2~E");
    EXPECT_EQ(R.CERR, 0) << errors(R);
}

TEST_F(Disket, AttachedDocumentCodesOfASheetAreChecked) {
    box(18, "2");
    ASSERT_TRUE(STORETEST::store().stored);
    storeItem("123", 2, {{42, "N935:A1"}, {43, "X:1"}, {44, "N380:  "}, {45, "NO COLON"}});
    auto R = walk({{1, 18, "ΕΙΔΗ", "", "..3"}, {101, 78, "A", "", "..3"}});
    EXPECT_EQ(errors(R), "Λάθος κωδικός X σε BIS  επισυναπτόμενου εντύπου.(Θέση 44)\n"
                         "Κενός αριθμός συννημένου N380 σε BIS \n");
    EXPECT_EQ(R.EGGR_BIS[2][1].EGGNAME, "A1");
    EXPECT_EQ(R.EGGR_BIS[2][2].EGGCODE, "X");
    EXPECT_EQ(R.EGGR_BIS[2][3].EGGCODE, "N380");
    EXPECT_EQ(R.EGGR_BIS[2][4].EGGCODE, "");
    // Transit declarations take any code.
    R = walk({{1, 18, "ΕΙΔΗ", "", "..3"}, {149, 78, "A", "", "..3"}}, "MTF", 0);
    EXPECT_EQ(errors(R), "Κενός αριθμός συννημένου N380 σε BIS \n");
}

TEST_F(Disket, ConsumedRowsEndAtTheirWriter) {
    // 3180 is consumed for an import; in an export it is a head that is dropped after its line end.
    std::vector<Row> rows = {{1, 1001, "H", "", "6"}, {2, 3180, "ΕΓΓΥΗΣΕΙΣ", "R", "1"}, {3, 999, "X", "", "..1", "", "X"}};
    EXPECT_EQ(walk(rows, "IMP").OUT, "0001:1~X");
    auto R = walk(rows, "EXP");
    EXPECT_EQ(R.OUT, "0001:1\r\n~X");
    EXPECT_EQ(R.CERR, 0) << errors(R);
    // The TIR guarantee segment of modes 4 and 8, written as it stands.
    DISKET::RUN T;
    T.EXT = "MTF";
    T.EDE = DISKET::ED_TIR;
    T.TAB = table({{1, 1001, "H", "", "6"}, {2, 1032, "G", "", ""}});
    T.ST_TIR[1] = "  XA123 ";
    DISKET::WALK(T);
    EXPECT_EQ(T.OUT, "0001:1\r\n0032:1~2~1~1~~XA123~~1");
    // 1025 for a T2L is an ordinary head.
    box(2, "T2L");
    R = walk({{1, 1025, "C", "", "6"}});
    EXPECT_EQ(R.OUT, "\r\n0025:1");
}

TEST_F(Disket, TheConversionToIso88597CoversEveryByte) {
    std::string all;
    for (int c = 0; c < 256; ++c) all += char(c);
    const std::string iso = DISKET::ISO8859(all);
    ASSERT_EQ(iso.size(), 256u);
    auto at = [&](int c) { return int(uint8_t(iso[size_t(c)])); };
    for (int c = 0; c < 0x80; ++c) EXPECT_EQ(at(c), c);
    struct Range {
        int from, to, dest;
    } ranges[] = {{0x80, 0x90, 0xC1}, {0x91, 0x97, 0xD3}, {0x98, 0xA8, 0xE1}, {0xA9, 0xA9, 0xF3}, {0xAA, 0xAA, 0xF2},
                  {0xAB, 0xAF, 0xF4}, {0xE0, 0xE0, 0xF9}, {0xE1, 0xE3, 0xDC}, {0xE4, 0xE4, 0xFA}, {0xE5, 0xE5, 0xDF},
                  {0xE6, 0xE7, 0xFC}, {0xE8, 0xE8, 0xFB}, {0xE9, 0xE9, 0xFE}};
    for (const auto& r : ranges)
        for (int c = r.from; c <= r.to; ++c) EXPECT_EQ(at(c), r.dest + c - r.from) << c;
    // Outside the letters: the capitals with tonos to their letters, box drawing to "?".
    EXPECT_EQ(at(0xEA), 0xB6);  // Ά
    EXPECT_EQ(at(0xF0), 0xBF);  // Ώ
    EXPECT_EQ(at(0xF4), 0xDA);  // Ϊ
    EXPECT_EQ(at(0xF5), 0xDB);  // Ϋ
    EXPECT_EQ(at(0xC4), '?');
}

TEST_F(Disket, MoreThan99ItemsAreRefusedAtTheCountRow) {
    box(18, "150");
    auto R = walk({{1, 18, "ΕΙΔΗ", "", "..3"}});
    EXPECT_EQ(R.SYNEIDH, 99);
    EXPECT_EQ(errors(R), "Γραμμή 1: τα είδη είναι περισσότερα από 99.\n"
                         "Οι γραμμές 101-196 του πίνακα δεν έχουν γραμμή είδους: τα επόμενα είδη δεν γράφτηκαν.\n");
}

TEST_F(Disket, AnItemRowPastRow198WithoutItsSheetGoesOnWithTheNextRow) {
    box(18, "5");
    auto R = walk({{1, 18, "ΕΙΔΗ", "", "..3"}, {102, 78, "A", "", "..3"}, {213, 78, "B", "", "..3"},
                   {214, 999, "E", "", "..1", "", "E"}});
    EXPECT_EQ(R.OUT, "~5~1~E");
    EXPECT_EQ(R.CERR, 2) << errors(R);
}
