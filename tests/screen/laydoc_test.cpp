// The layout-driven document engine: the print order and the bytes placed, values files, and the
// vehicle certificate and the D.A.O. on the headless console with test-owned layouts.
#include "screen/documents_fixture.h"

#include "config/params.h"
#include "declarations/ekdo.h"
#include "documents/ekd2.h"
#include "documents/ekd4.h"
#include "documents/laydoc.h"

using namespace DOCTEST;

namespace {

struct Row {
    int row, sa1, sa2, col, line, st2, st1;
};

LAYDOC::Layout layout(const std::vector<Row>& rows) {
    LAYDOC::Layout L{};
    for (const Row& r : rows) {
        auto& x = L[size_t(r.row)];
        x.PER = "ROW " + std::to_string(r.row);
        x.SA1 = uint8_t(r.sa1);
        x.SA2 = uint8_t(r.sa2);
        x.COL = uint8_t(r.col);
        x.ROW = uint8_t(r.line);
        x.ST2 = uint8_t(r.st2);
        x.ST1 = uint8_t(r.st1);
    }
    return L;
}

std::string image(const LAYDOC::Layout& L) {
    std::string s(PARAMS::PARDOC_SIZE, '\0');
    for (size_t i = 1; i <= PARAMS::PARDOC_N; ++i)
        L[i].encode(reinterpret_cast<uint8_t*>(s.data()) + (i - 1) * PARAMS::RECPARTIM4::SIZE);
    return s;
}

// The rows placed on a printout with no driver and no tab: only the line ends and the texts.
std::string placed(const LAYDOC::Layout& L, int n) {
    PRNS::Printout o;
    o.F.assignFile("rows.out");
    o.P = PRNS::PRNNONE;
    o.T = PRNS::TABNONE;
    LAYDOC::PRINTROWS(o, L, LAYDOC::SORTVARS(L, n), [](int r) { return "v" + std::to_string(r); });
    o.F.close();
    return TESTS::readFile("rows.out");
}

TEST(LayoutEngine, PrintOrderAndPlacedBytes) {
    TESTS::TempWorkDir work;
    struct Case {
        const char* name;
        std::vector<Row> rows;
        int n;
        std::vector<int> order;
        std::string bytes;
    };
    const Case cases[] = {
        {"one line left to right", {{1, 0, 0, 40, 10, 0, 0}, {2, 0, 0, 5, 10, 0, 0}}, 2, {2, 1}, "<<(  5v2<<( 40v1"},
        {"lines apart", {{1, 0, 0, 5, 3, 0, 0}, {2, 0, 0, 7, 1, 0, 0}}, 2, {2, 1}, "<<(  7v2\r\n\r\n<<(  5v1"},
        {"equal keys keep their numbers' order", {{1, 0, 0, 5, 2, 0, 0}, {2, 0, 0, 5, 2, 0, 0}, {3, 0, 0, 5, 2, 0, 0}},
         3, {1, 2, 3}, "<<(  5v1<<(  5v2<<(  5v3"},
        {"an unprinted first row starts at line 0",
         {{1, 0, 0, 5, 2, 0, 0}, {2, 0, 0, 9, 3, 0, 0}, {3, 0, 0, 9, 0, 0, 0}}, 3, {3, 1, 2},
         "\r\n\r\n<<(  5v1\r\n<<(  9v2"},
        {"COL 0 prints nothing and moves no line", {{1, 0, 0, 0, 5, 0, 0}, {2, 0, 0, 3, 6, 0, 0}}, 2, {1, 2},
         "\r\n<<(  3v2"},
        {"rows above the document's count are not used", {{1, 0, 0, 3, 1, 0, 0}, {2, 0, 0, 1, 1, 0, 0}}, 1, {1}, "<<(  3v1"},
        {"no layout rows: nothing placed", {}, 4, {1, 2, 3, 4}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LAYDOC::Layout L = layout(c.rows);
        EXPECT_EQ(LAYDOC::SORTVARS(L, c.n), c.order);
        EXPECT_EQ(placed(L, c.n), c.bytes);
    }
    // Modes around the value go through the driver in the order SA1, SA2, value, ST2, ST1.
    PRNS::Printout o;
    o.F.assignFile("modes.out");
    o.P = PRNS::PRNEPS;
    o.T = PRNS::TAB_NONE;
    LAYDOC::Layout L = layout({{1, 12, 2, 1, 1, 13, 1}});
    LAYDOC::PRINTROWS(o, L, {1}, [](int) { return std::string("X"); });
    o.F.close();
    auto bytes = [](int m) {
        PRNS::PFILE F;
        F.assignFile("mode.bin");
        PRNS::PRNEPS(F, uint8_t(m));
        F.close();
        return TESTS::readFile("mode.bin");
    };
    EXPECT_EQ(TESTS::readFile("modes.out"), bytes(12) + bytes(2) + "X" + bytes(13) + bytes(1));
}

TEST(LayoutEngine, ALayoutThatPlacesNoFieldIsNamedWithItsMenuEntry) {
    struct Case {
        const char* name;
        std::vector<Row> rows;
        int first, last;
        bool places;
    };
    const Case cases[] = {
        {"all zero", {}, 1, 58, false},
        {"captions and modes only", {{3, 8, 0, 0, 0, 9, 0}}, 1, 58, false},
        {"COL without ROW", {{3, 0, 0, 5, 0, 0, 0}}, 1, 58, false},
        {"ROW without COL", {{3, 0, 0, 0, 5, 0, 0}}, 1, 58, false},
        {"a row past the document's fields", {{59, 0, 0, 5, 5, 0, 0}}, 1, 58, false},
        {"one row placed", {{58, 0, 0, 1, 1, 0, 0}}, 1, 58, true},
        {"a cell column of the manifest", {{38, 0, 0, 77, 29, 0, 0}}, 1, 38, true},
    };
    for (const Case& c : cases) EXPECT_EQ(LAYDOC::PLACES(layout(c.rows), c.first, c.last), c.places) << c.name;

    // Each layout by its name as the documents read it, the entry of "ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ" that sets it.
    const std::pair<const char*, const char*> names[] = {
        {"ParInv1", "PARinv1. ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ, επιλογή 2"}, {"ParInv2", "PARinv2. ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ, επιλογή 4"},
        {"ParEur1", "PAREUR1. ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ, επιλογή 6"}, {"ParPita", "PARPITA. ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ, επιλογή 7"},
        {"ParDDD", "PARDDD. ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ, επιλογή 8"},   {"ParDILL", "PARDILL. ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ, επιλογή 9"},
        {"ParTIR", "PARTIR. ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ, επιλογή 11"},  {"ParZON", "PARZON. ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ, επιλογή 13"},
        {"ParZOB", "PARZOB. ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ, επιλογή 14"}, {"OTHER", "OTHER"}};
    for (const auto& [name, where] : names) {
        const std::string text = LAYDOC::BLANKFORMTEXT(name);
        EXPECT_EQ(text, PLAT::gr("Δεν τυπώθηκε: κενή φόρμα ") + PLAT::gr(where)) << name;
        EXPECT_LE(text.size(), 71u) << "the message bar's room";
    }
}

TEST(LayoutEngine, ValuesFilesAndNames) {
    TESTS::TempWorkDir work;
    LAYDOC::Values v(3, 4);
    v.f[1] = "AB";
    v.f[2] = "";
    v.f[3] = "TOOLONG";
    const std::string img = LAYDOC::ENCODE(v);
    EXPECT_EQ(img, std::string("\x02" "AB\0\0" "\0\0\0\0\0" "\x04TOOL", 15));
    LAYDOC::Values w(3, 4);
    w.f[3] = "OLD";
    LAYDOC::DECODE(img.substr(0, 7), w);  // a short file fills the record's start
    EXPECT_EQ(w.f[1], "AB");
    EXPECT_EQ(w.f[2], "");
    EXPECT_EQ(w.f[3], "");
    LAYDOC::DECODE(img + "EXTRA", w);  // a longer one the record only
    EXPECT_EQ(w.f[3], "TOOL");
    LAYDOC::DECODE(std::string("\x09" "ABCD", 5), w);  // a length beyond the capacity or the file
    EXPECT_EQ(w.f[1], "ABCD");
    LAYDOC::WRITEVALUES("x.pik", v);
    EXPECT_EQ(TESTS::readFile("x.pik"), img);
    for (const char* bad : {"", "a/b", "a\\b", "c:x", "*", "a?", "..", "x..y", "\x01"}) EXPECT_FALSE(LAYDOC::SAFENAME(bad)) << bad;
    for (const char* good : {"123", "temp", "ΑΒΓ 1", "a.b"}) EXPECT_TRUE(LAYDOC::SAFENAME(PLAT::gr(good))) << good;
}

class EngineDocs : public Docs {
protected:
    void SetUp() override {
        Docs::SetUp();
        toPort(UMAS::PE_PIAU);
        toPort(UMAS::PE_DAO);
    }
    void writeLayout(const std::string& name, const std::vector<Row>& rows) {
        const std::string img = image(layout(rows));
        PARAMS::KATPAR(name, reinterpret_cast<const uint8_t*>(img.data()), img.size());
    }
    std::string pik(const std::string& name) const { return work->file(name + ".pik"); }
};

TEST_F(EngineDocs, VehicleCertificateGolden) {
    writeLayout("ParPita", {{1, 0, 0, 5, 2, 0, 0}, {12, 2, 0, 5, 4, 1, 0}, {33, 0, 0, 30, 4, 0, 0},
                            {40, 0, 0, 50, 6, 0, 0}, {41, 0, 0, 60, 6, 0, 0}, {51, 6, 0, 20, 8, 7, 0},
                            {3, 0, 0, 40, 2, 0, 0}, {58, 0, 0, 1, 0, 0, 0}});
    BOD::MOT goods;
    goods.ER = "MAKE";
    goods.TY = "TYPE";
    goods.KT = "1";
    goods.DAJ = "12.50";
    stored("IMP", "777", {{6, "ΠΕΙΡΑΙΑ"}}, goods);
    BOD::BOS(BOD::DIA, BOD::GV, 1, "  777");  // as a right-aligned number box shows it
    BOD::EA = gr("ΑΛΦΑ ΑΕ");
    run([&] { EKD2::EKPA(BOD::DIA, BOD::GV, BOD::PL, BOD::AY); },
        {[&] {
             EXPECT_EQ(con->text(6, 1, 3), "777") << "box 1 trimmed on both sides";
             con->key(SC::SF1);
             con->ch('N');
             enter();
         }});
    const std::string out = port();
    golden("pik.prn", out);
    EXPECT_NE(out.find("MAKE"), std::string::npos);
    EXPECT_NE(out.find("12.50"), std::string::npos);
}

// A print through a layout that places none of the document's fields sends nothing and asks
// nothing: the clerk is told which layout is empty and where it is set.
TEST_F(EngineDocs, AnEmptyLayoutIsToldAndNothingSent) {
    toPort(UMAS::PE_TIR);
    stored("IMP", "444", {});
    struct Case {
        const char* layout;
        std::vector<Row> rows;
        std::function<void()> open;
        const char* told;
    };
    const Case cases[] = {
        {"ParPita", {}, [] { EKD2::EKPA(BOD::DIA, BOD::GV, BOD::PL, BOD::AY); },
         "κενή φόρμα PARPITA. ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ, επιλογή 7"},
        {"ParTIR", {{44, 0, 0, 5, 5, 0, 0}}, [] { EKD4::TIR(nullptr); },
         "κενή φόρμα PARTIR. ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ, επιλογή 11"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout);
        writeLayout(c.layout, c.rows);  // as installed: every row zero, or a row past the document's fields
        clearPort();
        run(c.open, {[&] { con->key(SC::SF1); },
                     [&] {
                         EXPECT_NE(screenRow(23).find(gr(c.told)), std::string::npos) << screenRow(23);
                         con->ch(ENTER);
                     }});
        EXPECT_EQ(port(), "");
    }
}

TEST_F(EngineDocs, VehicleCertificateStoreReloadAndNames) {
    BOD::MOT goods;
    goods.KT = "2";
    stored("IMP", "888", {}, goods);
    // F4 stores under field 1; Tab refills where no file is; reopening takes the number's file
    run([&] { EKD2::EKPA(BOD::DIA, BOD::GV, BOD::PL, BOD::AY); },
        {[&] {
            con->key(SC::F4);
            for (int i = 0; i < 39; ++i) con->key(SC::DOWN);
            type("X");  // field 40
            con->key(SC::UP);
            con->key(SC::F4);
        }});
    LAYDOC::Values v(58, 40);
    ASSERT_TRUE(LAYDOC::READVALUES(pik("888"), v));
    EXPECT_EQ(v.f[40], "X");
    EXPECT_EQ(v.f[41], "X");
    EXPECT_EQ(TESTS::readFile(pik("888")).size(), 2378u);

    // a name that is no file name: F4 refused, nothing written outside
    run([&] { EKD2::EKPA(BOD::DIA, BOD::GV, BOD::PL, BOD::AY); },
        {[&] {
             type("../x");
             con->key(SC::F4);
         },
         [&] {
             EXPECT_NE(screenRow(23).find(gr("δεν καταχωρήθηκε")), std::string::npos) << screenRow(23);
             con->ch(ENTER);
         }});
    EXPECT_FALSE(TESTS::exists(work->file("../x.pik")));

    // Tab on a field 1 that names no file refills from the declaration (field 1 and the marks
    // included), so F4 then stores under the number again with field 40 cleared
    run([&] { EKD2::EKPA(BOD::DIA, BOD::GV, BOD::PL, BOD::AY); },
        {[&] {
            type("NEW");
            con->ch(TAB);
            con->key(SC::F4);
        }});
    EXPECT_FALSE(TESTS::exists(pik("NEW")));
    LAYDOC::Values n(58, 40);
    ASSERT_TRUE(LAYDOC::READVALUES(pik("888"), n));
    EXPECT_EQ(n.f[40], "");
    EXPECT_EQ(n.f[41], "X");
}

TEST_F(EngineDocs, CertificateWithoutNumberIsTemp) {
    stored("IMP", "999", {});
    BOD::BOS(BOD::DIA, BOD::GV, 1, "");
    run([&] { EKD2::EKPA(BOD::DIA, BOD::GV, BOD::PL, BOD::AY); }, {[&] { con->key(SC::F4); }});
    EXPECT_TRUE(TESTS::exists(pik("temp")));
}

TEST_F(EngineDocs, DAOFillGoldenAndMissingLayout) {
    BOD::MOT goods;
    goods.ON = "CAR";
    goods.ER = "MAKE";
    goods.AP = "CHASSIS";
    stored("IMP", "555",
           {{6, " ΠΕΙΡΑΙΑ "}, {7, "1001"}, {8, "010207"}, {21, "EL1"}, {22, "ΒΗΤΑ ΟΕ"}, {23, "ΟΔΟΣ 2"}, {43, "DE"},
            {60, "3"}, {46, "ABC123"}},
           goods);
    LAYDOC::Values v(35, 78);
    EKD2::DAOFILL(v);
    EXPECT_EQ(v.f[2], gr("ΠΕΙΡΑΙΑ"));
    EXPECT_EQ(v.f[10], gr("ΕΛΛΑΔΑ"));
    EXPECT_EQ(v.f[12], "CAR");
    EXPECT_EQ(v.f[16], " - ");
    EXPECT_EQ(v.f[18], "3 - ABC123");
    EXPECT_EQ(v.f[23], "01/02/07");
    EXPECT_EQ(EKD2::DAOFILE(), UMAS::PATH + "555.dao");

    // no "ParDDD": the print is refused with the layout's name and its entry in the form parameters
    // menu, no question is asked and nothing reaches the port
    run([&] { EKDO::EKD("IMP", true); }, {[&] {
            type("13");
        },
                                          [&] {
                                              con->key(SC::F4);
                                              con->key(SC::SF1);
                                          },
                                          [&] {
                                              EXPECT_NE(screenRow(23).find(gr("Δεν τυπώθηκε: κενή φόρμα PARDDD. "
                                                                              "ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ, επιλογή 8")),
                                                        std::string::npos)
                                                  << screenRow(23);
                                              con->ch(ENTER);
                                              con->ch(ESC);
                                          }});
    EXPECT_EQ(TESTS::readFile(company(0) + "/555.dao").size(), 2765u);
    EXPECT_EQ(port(), "");

    writeLayout("ParDDD", {{1, 0, 0, 47, 2, 0, 0}, {23, 0, 0, 33, 15, 0, 0}, {35, 0, 0, 2, 23, 0, 0}});
    clearPort();
    run([&] { EKD2::DAO(BOD::DIA, BOD::GV, BOD::PL, BOD::AY); },
        {[&] {
            con->key(SC::SF1);
            con->ch('N');
            enter();
        }});
    const std::string out = port();
    golden("dao.prn", out);
    EXPECT_NE(out.find("01/02/07"), std::string::npos);
}

TEST_F(EngineDocs, DAODatesByCase) {
    const std::pair<const char*, const char*> cases[] = {{"", ""}, {"010207", "01/02/07"}, {"0102", "01/02/"}, {"1", "1//"}};
    for (const auto& [b8, f23] : cases) {
        form("IMP");
        put(8, b8);
        LAYDOC::Values v(35, 78);
        EKD2::DAOFILL(v);
        EXPECT_EQ(v.f[23], f23) << b8;
    }
}

}  // namespace
