// The declaration form: the box accessors on a small page of their own, the form records of the
// real mask file, and the records MOT and PRL.
#include <gtest/gtest.h>

#include <cstring>

#include "common/umas.h"
#include "declarations/bod.h"
#include "helpers/fixture.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/console.h"

namespace {

// A page image of 134 rows and a box table in memory, blank with attribute 0x17.
struct Form {
    std::vector<uint8_t> page = std::vector<uint8_t>(BOD::SCB_BYTES);
    std::vector<uint8_t> table = std::vector<uint8_t>(BOD::GGV_BYTES);
    BOD::SCB P{page.data(), BOD::PAGE_ROWS};
    BOD::GGV G{table.data(), BOD::BOXES};
    Form() {
        for (size_t i = 0; i < page.size(); i += 2) page[i] = ' ', page[i + 1] = 0x17;
        // Box 1: column 10, row 2, length 5; every other box one cell of its own further down.
        set(1, 10, 2, 5, BOD::TY_TEXT);
        for (int n = 2; n <= BOD::BOXES; ++n) set(n, 1 + (n % 40) * 2, 3 + n / 40, 1, BOD::TY_TEXT);
    }
    void set(int n, int col, int row, int len, int type) {
        G.at(n, 1) = uint8_t(col), G.at(n, 2) = uint8_t(row), G.at(n, 3) = uint8_t(len), G.at(n, 4) = uint8_t(type);
    }
};

}  // namespace

TEST(BodAccessors, SobAndBosKeepTheBoxWidthAndTheAttributes) {
    Form f;
    f.P.CAT(2, 12) = 0x4F;
    BOD::BOS(f.P, f.G, 1, "12");
    EXPECT_EQ(BOD::SOB(f.P, f.G, 1), "12   ");
    BOD::BOS(f.P, f.G, 1, "ABCDEFG");
    EXPECT_EQ(BOD::SOB(f.P, f.G, 1), "ABCDE");
    EXPECT_EQ(f.P.CCH(2, 9), ' ');   // the cells around the box are untouched
    EXPECT_EQ(f.P.CCH(2, 15), ' ');
    EXPECT_EQ(f.P.CAT(2, 12), 0x4F);  // attributes stay
    EXPECT_EQ(f.P.CAT(2, 10), 0x17);
    BOD::BOS(f.P, f.G, 1, "");
    EXPECT_EQ(BOD::SOB(f.P, f.G, 1), "     ");
}

TEST(BodAccessors, PnuRoundsFillsAndEmpties) {
    struct Case {
        const char* in;
        int len;
        bool trim;
        char fill;
        const char* out;
    } cases[] = {
        // Zero and what is too small to show: empty, whatever the mode.
        {"0", 6, true, ' ', ""},
        {"0", 6, false, ' ', ""},
        {"0", 6, false, '0', ""},
        {"0.00001", 6, true, ' ', ""},
        {"0.00001", 6, false, '0', ""},
        {"", 6, true, ' ', ""},
        {"", 6, false, '0', ""},
        {"-0.00009", 6, false, ' ', ""},
        {"abc", 6, false, ' ', ""},
        // Fill and alignment.
        {"5", 4, false, '0', "0005"},
        {"5", 4, false, ' ', "   5"},
        {"  42  ", 4, true, ' ', "42"},
        {"0042", 4, true, ' ', "42"},
        {"42", 10, false, '0', "0000000042"},
        // Two decimals when there is a fraction.
        {"-3.5", 8, true, ' ', "-3.50"},
        {"-3.5", 8, false, ' ', "   -3.50"},
        {"12.5", 6, true, ' ', "12.50"},
        {"12.5", 6, false, '0', "012.50"},
        // The trimmed and the aligned form see a small fraction differently.
        {"7.0004", 6, true, ' ', "7.00"},
        {"7.0004", 6, false, ' ', "     7"},
        {"7.002", 6, true, ' ', "7.00"},
        {"7.002", 6, false, ' ', "  7.00"},
        {"7.00005", 6, true, ' ', "7"},
        {"7.00005", 6, false, ' ', "     7"},
        {"2.999", 6, true, ' ', "3.00"},
        {"1E3", 6, true, ' ', "1000"},
        // Wider than the box: written in full (the box write cuts it).
        {"123456", 4, false, '0', "123456"},
        {"123456", 4, true, ' ', "123456"},
    };
    for (const auto& c : cases) {
        Form f;
        f.set(7, 1, 10, c.len, BOD::TY_NUM);
        std::string s = c.in;
        BOD::PNU(f.G, 7, s, c.trim, c.fill);
        EXPECT_EQ(s, c.out) << "'" << c.in << "' length " << c.len << (c.trim ? " trimmed" : " aligned") << " fill '"
                            << c.fill << "'";
    }
}

TEST(BodAccessors, IfspSeesAnyCharacter) {
    Form f;
    EXPECT_TRUE(BOD::IFSP(f.P, f.G, 1));
    f.P.CCH(2, 14) = '.';
    EXPECT_FALSE(BOD::IFSP(f.P, f.G, 1));
    f.P.CCH(2, 14) = ' ';
    f.P.CCH(2, 15) = 'X';  // just outside the box
    EXPECT_TRUE(BOD::IFSP(f.P, f.G, 1));
}

TEST(BodAccessors, EleReadsAnUnsignedNumberOrZero) {
    struct Case {
        const char* text;  // box of length 3
        int value;         // the value ELE tests (-1: no member of any set)
    } cases[] = {
        {" 3 ", 0},   // a trailing blank makes it 0
        {"  3", 3},   // leading blanks are skipped
        {"3  ", 0},
        {"300", -1},  // above 255: never a member
        {"255", 255},
        {"256", -1},
        {"012", 12},
        {"   ", 0},
        {"-1 ", 0},
        {"1.5", 0},
        {"A12", 0},
    };
    for (const auto& c : cases) {
        Form f;
        f.set(5, 20, 4, 3, BOD::TY_TEXT);
        BOD::BOS(f.P, f.G, 5, c.text);
        BOD::BTS all;
        all.set();
        if (c.value < 0) {
            EXPECT_FALSE(BOD::ELE(f.P, f.G, 5, all)) << c.text;
            continue;
        }
        EXPECT_TRUE(BOD::ELE(f.P, f.G, 5, BOD::bts({c.value}))) << c.text;
        BOD::BTS others = all;
        others.reset(size_t(c.value));
        EXPECT_FALSE(BOD::ELE(f.P, f.G, 5, others)) << c.text;
    }
    Form f;
    BOD::BOS(f.P, f.G, 1, "    3");
    EXPECT_TRUE(BOD::ELE(f.P, f.G, 1, BOD::bts({1, 3, 5})));
    EXPECT_FALSE(BOD::ELE(f.P, f.G, 1, BOD::bts({2, 4})));
}

TEST(BodAccessors, CsuSeesEveryCharacterChangeAndNoAttribute) {
    Form f;
    BOD::BOS(f.P, f.G, 1, "AB123");
    BOD::BOS(f.P, f.G, 2, "7");
    const double base = BOD::CSU(f.P, f.G, BOD::BOXES);
    // By definition: box 1 is 1 x (1*'A' + 2*'B' + 3*'1' + 4*'2' + 5*'3'); the blank boxes count too.
    double expect = 1.0 * ('A' + 2 * 'B' + 3 * '1' + 4 * '2' + 5 * '3') + 2.0 * '7';
    for (int n = 3; n <= BOD::BOXES; ++n) expect += double(n) * ' ';
    EXPECT_DOUBLE_EQ(base, expect);
    EXPECT_FALSE(BOD::ALLA(f.P, f.G, BOD::BOXES, base));

    struct Change {
        const char* what;
        void (*apply)(Form&);
    } changes[] = {
        {"two characters of a box swapped", [](Form& g) { BOD::BOS(g.P, g.G, 1, "BA123"); }},
        {"two digits swapped", [](Form& g) { BOD::BOS(g.P, g.G, 1, "AB132"); }},
        {"a character moved within the box", [](Form& g) { BOD::BOS(g.P, g.G, 1, " AB12"); }},
        {"one character changed", [](Form& g) { BOD::BOS(g.P, g.G, 1, "AB124"); }},
        {"a text moved to another box", [](Form& g) { BOD::BOS(g.P, g.G, 2, " "), BOD::BOS(g.P, g.G, 3, "7"); }},
        {"the last box changed", [](Form& g) { BOD::BOS(g.P, g.G, BOD::BOXES, "x"); }},
    };
    for (const auto& c : changes) {
        Form g;
        BOD::BOS(g.P, g.G, 1, "AB123");
        BOD::BOS(g.P, g.G, 2, "7");
        c.apply(g);
        EXPECT_NE(BOD::CSU(g.P, g.G, BOD::BOXES), base) << c.what;
        EXPECT_TRUE(BOD::ALLA(g.P, g.G, BOD::BOXES, base)) << c.what;
    }
    // Attributes and cells outside the boxes do not count; boxes beyond N do not either.
    f.P.CAT(2, 10) = 0x70;
    f.P.CCH(1, 1) = 'Z';
    EXPECT_DOUBLE_EQ(BOD::CSU(f.P, f.G, BOD::BOXES), base);
    const double first165 = BOD::CSU(f.P, f.G, 165);
    BOD::BOS(f.P, f.G, 200, "Q");
    EXPECT_DOUBLE_EQ(BOD::CSU(f.P, f.G, 165), first165);
    EXPECT_TRUE(BOD::ALLA(f.P, f.G, BOD::BOXES, base));
}

TEST(BodAccessors, PuscShowsTwentyThreeRowsEndingAtLL) {
    PLAT::HeadlessConsole& con = TESTS::headless();
    Form f;
    for (int r = 1; r <= BOD::PAGE_ROWS; ++r) {
        f.P.CCH(r, 1) = uint8_t('0' + r % 10);
        f.P.CCH(r, 80) = uint8_t(r);
        f.P.CAT(r, 80) = uint8_t(r + 1);
    }
    struct Case {
        int ll, firstRow, llAfter;
    } cases[] = {{23, 1, 23}, {134, 112, 134}, {60, 38, 60}, {5, 1, 23}, {200, 112, 134}};
    for (const auto& c : cases) {
        con.cells[23][0] = PLAT::Cell{'K', 0x07};  // row 24 stays as it was
        int ll = c.ll;
        BOD::PUSC(f.P, ll);
        EXPECT_EQ(ll, c.llAfter);
        for (int y = 1; y <= 23; ++y) {
            const int r = c.firstRow + y - 1;
            ASSERT_EQ(con.cells[y - 1][79], (PLAT::Cell{uint8_t(r), uint8_t(r + 1)})) << "LL " << c.ll << " row " << y;
            ASSERT_EQ(con.cells[y - 1][0].ch, uint8_t('0' + r % 10));
        }
        EXPECT_EQ(con.cells[23][0].ch, 'K');
    }
}

TEST(BodAccessors, InputTypesAcceptTheirCharacters) {
    EXPECT_EQ(BOD::TYPECHARS(BOD::TY_TEXT).count(), 224u);
    EXPECT_EQ(BOD::TYPECHARS(BOD::TY_NUM), BOD::TYPECHARS(BOD::TY_ZNUM));
    EXPECT_EQ(BOD::TYPECHARS(BOD::TY_NUM).count(), 10u);
    EXPECT_TRUE(BOD::TYPECHARS(BOD::TY_DATE).test('/'));
    EXPECT_TRUE(BOD::TYPECHARS(BOD::TY_DATE).test('.'));
    EXPECT_FALSE(BOD::TYPECHARS(BOD::TY_DATE).test('-'));
    EXPECT_TRUE(BOD::TYPECHARS(BOD::TY_SIGNED).test('-'));
    EXPECT_FALSE(BOD::TYPECHARS(BOD::TY_SIGNED).test('/'));
    EXPECT_EQ(BOD::TYPECHARS(BOD::TY_CODE).count(), 36u);
    EXPECT_TRUE(BOD::TYPECHARS(BOD::TY_STOP).none());
    EXPECT_TRUE(BOD::TYPECHARS(BOD::TY_SHOW).none());
}

// ---- The records -------------------------------------------------------------------------------

TEST(BodRecords, MotFieldsLieAtTheirOffsets) {
    BOD::MOT m;
    m.ON = "ON";
    m.KT = std::string(12, 'k');  // cut to its 10
    m.EIF[1] = 13, m.EIF[8] = 30;
    m.DAJ = "1234.50";
    m.MON = "EUR";
    uint8_t b[BOD::MOT::SIZE];
    std::memset(b, 0xEE, sizeof b);
    m.encode(b);
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b + 1), 2), "ON");
    EXPECT_EQ(b[3], 0);  // unused bytes zero
    EXPECT_EQ(b[194], 10);
    EXPECT_EQ(b[205], 13);
    EXPECT_EQ(b[212], 30);
    EXPECT_EQ(b[213], 7);
    EXPECT_EQ(b[252], 3);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b + 253), 3), "EUR");
    BOD::MOT back = BOD::MOT::decode(b);
    m.KT.resize(10);
    EXPECT_EQ(back, m);
}

TEST(BodRecords, PrlFieldsLieAtTheirOffsets) {
    BOD::PRL r;
    r.EP = "EP";
    r.AR = "1234567";
    r.B4 = std::string(46, 'b');
    r.A6 = "τελευταίο";
    uint8_t b[BOD::PRL::SIZE];
    r.encode(b);
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b[118], 7);
    EXPECT_EQ(b[342], 46);
    EXPECT_EQ(b[615], r.A6.size());
    EXPECT_EQ(BOD::PRL::decode(b), r);
    r.clear();
    EXPECT_EQ(r, BOD::PRL{});
}

// ---- The form records of the real mask file ----------------------------------------------------

TEST(BodForm, SetFormPointsAtTheMasksOfTheKind) {
    TESTS::headless();
    TESTS::loadMasks();
    ASSERT_TRUE(BOD::SETFORM("IMP"));
    EXPECT_EQ(BOD::FRONTLINES, 113);
    EXPECT_EQ(BOD::TOTALLINES, 134);
    EXPECT_EQ(BOD::DIA.p, UMAS::mask(3)->cells());
    EXPECT_EQ(BOD::GV.p, UMAS::mask(62)->cells());
    EXPECT_EQ(BOD::BIS.p, UMAS::mask(52)->cells());
    EXPECT_EQ(BOD::GB.p, UMAS::mask(72)->cells());
    EXPECT_EQ(BOD::MES.p, UMAS::mask(73)->cells());
    EXPECT_EQ(BOD::MES.line(0), "");
    EXPECT_EQ(BOD::MES.line(1).substr(0, 9), PLAT::utf8ToCp737("Αριθμός δ"));
    // Box 16 and the sheet's boxes 1 and 3: two zero-filled digits.
    for (auto [G, n] : {std::pair{BOD::GV, 16}, {BOD::GB, 1}, {BOD::GB, 3}}) {
        EXPECT_EQ(G.LEN(n), 2);
        EXPECT_EQ(G.TYP(n), BOD::TY_ZNUM);
    }
    // Typing into the form changes the loaded mask itself.
    BOD::BOS(BOD::DIA, BOD::GV, 1, "1234");
    EXPECT_EQ(UMAS::mask(3)->cells()[2 * ((BOD::GV.ROW(1) - 1) * 80 + BOD::GV.COL(1) - 1)], '1');
    BOD::BOS(BOD::DIA, BOD::GV, 1, "");

    ASSERT_TRUE(BOD::SETFORM("DFK"));
    EXPECT_EQ(BOD::FRONTLINES, 84);
    EXPECT_EQ(BOD::TOTALLINES, 105);
    EXPECT_EQ(BOD::DIA.p, UMAS::mask(107)->cells());
    EXPECT_EQ(BOD::GV.p, UMAS::mask(108)->cells());
    EXPECT_EQ(BOD::BIS.p, UMAS::mask(118)->cells());
    EXPECT_EQ(BOD::GB.p, UMAS::mask(119)->cells());
    EXPECT_EQ(BOD::SHEETPAGE("EXP").p, UMAS::mask(52)->cells());
    // The excise help texts of the boxes the excise form gives another meaning.
    EXPECT_EQ(BOD::MES.line(BOD::GV.HLP(87)), PLAT::utf8ToCp737("Αρ.Πλαισίου / Ειδ. Κωδικός Εμπορεύματος"));
    EXPECT_EQ(BOD::MES.line(BOD::GV.HLP(99)), PLAT::utf8ToCp737("60 Συμψηφισμός Φ.Π.Α."));
    EXPECT_EQ(BOD::MES.line(BOD::GB.HLP(49)), PLAT::utf8ToCp737("60 Συμψηφισμός Φ.Π.Α."));
    BOD::SETFORM("IMP");
}

TEST(BodForm, AnEmptyFormShowsItsBoxesBlank) {
    TESTS::headless();
    TESTS::loadMasks();
    for (const char* kind : {"IMP", "DFK"}) {
        ASSERT_TRUE(BOD::SETFORM(kind));
        for (int n = 1; n <= BOD::BOXES; ++n) ASSERT_TRUE(BOD::IFSP(BOD::DIA, BOD::GV, n)) << kind << " box " << n;
        for (int n = 1; n <= BOD::SHEET_BOXES; ++n) ASSERT_TRUE(BOD::IFSP(BOD::BIS, BOD::GB, n)) << kind << " sheet box " << n;
    }
    BOD::SETFORM("IMP");
}

TEST(BodForm, TheMainPageShowsAsDrawn) {
    PLAT::HeadlessConsole& con = TESTS::headless();
    TESTS::loadMasks();
    ASSERT_TRUE(BOD::SETFORM("EXP"));
    BOD::BOS(BOD::DIA, BOD::GV, 1, "4711");
    int ll = 23;
    BOD::PUSC(BOD::DIA, ll);
    auto row = [&](int y) {
        std::string s;
        for (int x = 0; x < 80; ++x) s += char(con.cells[y - 1][x].ch);
        return s;
    };
    EXPECT_NE(row(1).find(PLAT::utf8ToCp737("ΕΝΙΑΙΟ ΔΙΟΙΚΗΤΙΚΟ ΕΓΓΡΑΦΟ")), std::string::npos) << row(1);
    const int r = BOD::GV.ROW(1), c = BOD::GV.COL(1);
    EXPECT_EQ(row(r).substr(size_t(c - 1), 10), "4711      ");
    // Box cells stand out from the labels.
    EXPECT_NE(con.cells[r - 1][c - 1].at, con.cells[r - 1][c - 3].at);
    // The alternate view at its first page: the front's last rows and the view's first boxes.
    ll = BOD::FRONTLINES;
    BOD::PUSC(BOD::DIA, ll);
    EXPECT_GE(BOD::GV.ROW(208), ll - 22);
    EXPECT_LE(BOD::GV.ROW(208), ll);
    BOD::BOS(BOD::DIA, BOD::GV, 1, "");
}
