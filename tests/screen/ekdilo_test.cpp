// The cargo manifest: its record and file worked byte by byte, the keys of its editor on the
// headless console, the pick lists, the print against golden files with a test-owned layout, and
// the segment-file and XML runs started from the editor.
#include <cstdlib>
#include <filesystem>

#include "config/params.h"
#include "declarations/ekdo.h"
#include "screen/documents_fixture.h"
#include "shell/install.h"
#include "submission/diskvas.h"
#include "submission/ekdilo.h"

using namespace DOCTEST;
namespace fs = std::filesystem;

namespace {

struct Row {
    int row, sa1, sa2, col, line, st2, st1;
};

class Manifest : public Docs {
protected:
    void SetUp() override {
        Docs::SetUp();
        toPort(UMAS::PE_DILO);
    }
    std::string dil(const std::string& name = "500") const { return company(0) + "/" + name + ".dil"; }
    std::string file(const std::string& name = "500") const { return TESTS::readFile(dil(name)); }
    EKDILO::DILOBUF stored500() const {
        EKDILO::DILOBUF b;
        EXPECT_TRUE(EKDILO::READFILE(dil(), b));
        return b;
    }
    void open(const std::vector<std::function<void()>>& snaps) {
        run([&] { EKDILO::DILO(BOD::DIA, BOD::GV, BOD::PL); }, snaps);
    }
    void keys(uint8_t scan, int n = 1, uint8_t mods = 0) {
        for (int i = 0; i < n; ++i) con->key(scan, mods);
    }
    void writeLayout(const std::vector<Row>& rows) {
        LAYDOC::Layout L{};
        for (const Row& r : rows) L[size_t(r.row)] = {"ROW", uint8_t(r.sa1), uint8_t(r.sa2), uint8_t(r.col),
                                                      uint8_t(r.line), uint8_t(r.st2), uint8_t(r.st1)};
        std::string img(PARAMS::PARDOC_SIZE, '\0');
        for (size_t i = 1; i <= PARAMS::PARDOC_N; ++i)
            L[i].encode(reinterpret_cast<uint8_t*>(img.data()) + (i - 1) * PARAMS::RECPARTIM4::SIZE);
        PARAMS::KATPAR("ParDILL", reinterpret_cast<const uint8_t*>(img.data()), img.size());
    }
};

// ---- The record and its file ------------------------------------------------------------------------

TEST_F(Manifest, StoredBytesWorkedByHand) {
    struct Case {
        const char* box18;
        const char* field1;
        size_t bytes;
    } cases[] = {{"07", "7", 5366}, {"", "", 2054}, {"0", "", 2054}, {"12", "12", 5366}, {"6", "6", 3710}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box18);
        stored("IMP", "500", {{18, c.box18}});
        fs::remove(dil());
        open({[&] { keys(SC::F4); }});
        EXPECT_EQ(file().size(), c.bytes);
        EXPECT_EQ(stored500().get(1), c.field1);
    }
    // Field 1 typed beyond the record, below 0, or not a number: never past the record.
    const std::pair<const char*, size_t> typed[] = {{"75", 18614}, {"60", 18614}, {"-3", 2054}, {"ABC", 2054}, {"6.4", 3710}};
    EKDILO::DILOBUF b;
    for (const auto& [f1, bytes] : typed) {
        b.set(1, f1);
        EXPECT_EQ(EKDILO::STOREDBYTES(b), bytes) << f1;
        EKDILO::STORE(dil("x"), b);
        EXPECT_EQ(file("x").size(), bytes) << f1;
    }
}

TEST_F(Manifest, FillFromTheMainPage) {
    stored("IMP", "500", {{6, " ΠΕΙΡΑΙΑ "}, {7, "  12"}, {8, "010207"}, {18, "07"}, {39, "ΠΟΣΟΣΤΟ"}, {40, "DE"},
                          {46, "ΠΛΟΙΟ ΜΕ ΠΟΛΥ ΜΑΚΡΥ ΟΝΟΜΑ ΠΟΥ ΔΕΝ ΧΩΡΑΕΙ"}, {47, "GR"}, {60, "1"}, {61, "ΠΕΙΡΑΙΑΣ"},
                          {65, "ΑΠΟΘΗΚΗ Α"}});
    EKDILO::DILOBUF b;
    b.set(100, "OLD CELL");
    EKDILO::READFROMEDE(b);
    EXPECT_EQ(b.get(100), "") << "the cells are cleared";
    EXPECT_EQ(b.get(1), "7");
    EXPECT_EQ(b.get(2), gr("ΠΕΙΡΑΙΑ"));
    EXPECT_EQ(UMAS::trim(b.get(3)), "12");
    EXPECT_EQ(b.get(14), "DE");
    EXPECT_EQ(b.get(16), UMAS::cut(gr("ΠΛΟΙΟ ΜΕ ΠΟΛΥ ΜΑΚΡΥ ΟΝΟΜΑ ΠΟΥ ΔΕΝ ΧΩΡΑΕΙ"), 20));
    EXPECT_EQ(b.get(18).size(), 27u);
    EXPECT_EQ(b.get(17), "1");
    EXPECT_EQ(b.get(20), "GR");
    EXPECT_EQ(b.get(26), gr("ΑΠΟΘΗΚΗ Α"));
    for (size_t off : {237u, 1738u, 1817u}) EXPECT_EQ(b.raw.substr(off, 9), "\x08" "01/02/07") << off;
    for (int k : {5, 6, 7, 15, 19, 21, 22}) EXPECT_EQ(b.get(k), "") << k;
    EXPECT_EQ(EKDILO::FILENAME(), UMAS::PATH + "500.dil");
    BOD::BOS(BOD::DIA, BOD::GV, 1, "");
    EXPECT_EQ(EKDILO::FILENAME(), UMAS::PATH + "temp.dil");
    BOD::BOS(BOD::DIA, BOD::GV, 1, "5/6");
    EXPECT_EQ(EKDILO::FILENAME(), "") << "a number that names no file";
}

TEST_F(Manifest, FileNamesAreNeverCut) {
    stored("IMP", "123456789", {});
    UMAS::PATH = std::string(60, 'd') + "/";
    EXPECT_EQ(EKDILO::FILENAME(), std::string(60, 'd') + "/123456789.dil");
}

TEST_F(Manifest, FilesOfAnySizeReadOverTheStart) {
    EKDILO::DILOBUF fill;
    fill.set(1, "FILLED");
    fill.set(746, "LAST");
    // longer than the record: its first 18614 bytes
    std::string big(20000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = char(i * 7 % 251);
    TESTS::writeFile(dil("big"), big);
    EKDILO::DILOBUF b = fill;
    ASSERT_TRUE(EKDILO::READFILE(dil("big"), b));
    EXPECT_EQ(b.raw, big.substr(0, EKDILO::RECBYTES));
    // shorter: the start replaced, the rest as filled
    TESTS::writeFile(dil("short"), std::string("\x02" "AB", 3));
    b = fill;
    ASSERT_TRUE(EKDILO::READFILE(dil("short"), b));
    EXPECT_EQ(b.get(1), "AB" + std::string("LLED").substr(0, 0));
    EXPECT_EQ(b.get(746), "LAST");
    EXPECT_FALSE(EKDILO::READFILE(dil("missing"), b));
    // a length byte above the capacity reads as the capacity
    b.raw[EKDILO::FRONTBYTES] = char(200);
    EXPECT_EQ(b.cell(1, 1).size(), 22u);
    // The runs' buffer holds what the record holds.
    b = fill;
    b.set(EKDILO::FRONT + 12 * 58 + 12, "T2F");
    const DISKET::PBUF p = EKDILO::TOPBUF(b);
    EXPECT_EQ(p.line(1), "FILLED");
    EXPECT_EQ(p.cell(720), "LAST");
    EXPECT_EQ(p.cell(12 * 58 + 12), "T2F");
    EXPECT_EQ(p.LINES.size(), 27u);
    EXPECT_EQ(p.CELLS.size(), 721u);
}

// ---- The screens -----------------------------------------------------------------------------------

TEST_F(Manifest, GridsLieOnTheFieldCellsOfTheirMasks) {
    auto check = [](int mask, const LAYDOC::Field& f, int n) {
        UMAS::CONV* m = UMAS::mask(mask);
        ASSERT_NE(m, nullptr);
        for (int x = f.x; x < f.x + f.len; ++x) {
            EXPECT_EQ(m->at(x - m->X1(), f.y - m->Y1()), 0x1F) << "mask " << mask << " field " << n << " column " << x;
            EXPECT_EQ(m->ch(x - m->X1(), f.y - m->Y1()), ' ') << "mask " << mask << " field " << n;
        }
    };
    for (int k = 1; k <= EKDILO::FRONT; ++k) check(114, EKDILO::FRONTFIELD(k), k);
    for (int k = EKDILO::FIRSTCELL; k <= EKDILO::LASTCELL; ++k) check(115, EKDILO::CELLFIELD(k), k);
    EXPECT_EQ(EKDILO::CELLFIELD(32).x, 33);
    EXPECT_EQ(EKDILO::CELLFIELD(56).x, 78);
    EXPECT_EQ(EKDILO::CELLFIELD(98).y, 23);
}

TEST_F(Manifest, KeysOfTheEditor) {
    struct Case {
        const char* name;
        const char* box18;
        std::function<void()> keys;
        int index;  // where the typed "X" lands
        const char* page;
        const char* line;
    } cases[] = {
        {"Down on field 26 stays", "1", [this] { keys(SC::DOWN, 30); }, 26, nullptr, nullptr},
        {"Enter past field 26 stays", "1", [this] { enter(27); }, 26, nullptr, nullptr},
        {"Up on field 1 stays", "1", [this] { keys(SC::UP); keys(SC::DOWN); }, 2, nullptr, nullptr},
        {"PgUp on the front does nothing", "1", [this] { keys(SC::DOWN); keys(SC::PGUP); }, 2, nullptr, nullptr},
        {"F6 does nothing", "1", [this] { keys(SC::DOWN, 2); keys(SC::F6); }, 3, nullptr, nullptr},
        {"PgDn opens page 1 on field 27", "1", [this] { keys(SC::PGDN); }, 27, " 1", "  1"},
        {"Down on field 98 stays", "6", [this] { keys(SC::PGDN); keys(SC::DOWN, 80); }, 98, " 1", "  6"},
        {"line 4 of page 2", "12", [this] { keys(SC::PGDN, 2); keys(SC::DOWN, 36); }, 72 + 63, " 2", " 10"},
        {"PgDn on page 10 stays", "60", [this] { keys(SC::PGDN, 12); }, 9 * 72 + 27, "10", " 55"},
        {"PgUp from page 3 to page 2", "18", [this] { keys(SC::PGDN, 3); keys(SC::PGUP); }, 72 + 27, " 2", "  7"},
        {"PgUp from page 1 to the front", "6", [this] { keys(SC::PGDN); keys(SC::PGUP); keys(SC::DOWN); }, 2, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        stored("IMP", "500", {{18, c.box18}});
        fs::remove(dil());
        std::string page, line;
        open({[&] {
                  c.keys();
                  type("X");
              },
              [&] {
                  page = con->text(27, 24, 2);
                  line = con->text(49, 24, 3);
                  keys(SC::F4);
              }});
        const EKDILO::DILOBUF b = stored500();
        EXPECT_EQ(b.get(c.index), "X");
        if (c.page) {
            EXPECT_EQ(page, c.page);
            EXPECT_EQ(line, c.line);
        }
        int xs = 0;
        for (int i = 2; i <= EKDILO::FIELDS; ++i) xs += b.get(i) == "X";
        EXPECT_EQ(xs + (b.get(1) == "X"), 1) << "one field typed";
    }
}

TEST_F(Manifest, TabRefillsThenEscLeavesTheFileAsItWas) {
    stored("IMP", "500", {{18, "2"}, {6, "ΒΟΛΟΣ"}});
    open({[&] {
        keys(SC::PGDN);
        type("DOC1");
        keys(SC::DOWN, 12);
        type("DOC2");
        keys(SC::F4);
    }});
    const std::string before = file();
    ASSERT_EQ(before.size(), 3710u);
    EXPECT_EQ(stored500().cell(2, 1), "DOC2");
    // Cells typed, Tab on field 1 clears them with the refill, Esc stores nothing.
    std::string shown;
    open({[&] {
              keys(SC::PGDN);
              type("NEW");
              keys(SC::PGUP);
              con->ch(TAB);
          },
          [&] {
              shown = con->text(36, 2, 5);
              keys(SC::PGDN);
          },
          [&] {
              EXPECT_EQ(con->text(36, 1, 4), "    ") << "the cells are cleared";
              con->ch(ESC);
          }});
    EXPECT_EQ(shown, gr("ΒΟΛΟΣ"));
    EXPECT_EQ(file(), before);
    // The same with F4: the cells are gone.
    open({[&] {
        keys(SC::PGDN);
        type("NEW");
        keys(SC::PGUP);
        con->ch(TAB);
        keys(SC::F4);
    }});
    EXPECT_EQ(stored500().cell(1, 1), "");
    EXPECT_EQ(stored500().cell(2, 1), "");
}

TEST_F(Manifest, LinesCutFromTwelveToFiveAreGoneOnReopening) {
    stored("IMP", "500", {{18, "12"}});
    open({[&] {
        keys(SC::PGDN, 2);
        type("L7");
        keys(SC::PGUP, 2);
        keys(SC::F4);
    }});
    EXPECT_EQ(file().size(), 5366u);
    EXPECT_EQ(stored500().cell(7, 1), "L7");
    open({[&] {
        con->key(SC::END);
        con->keys(std::string(4, '\b'));
        type("5");
        keys(SC::F4);
    }});
    EXPECT_EQ(file().size(), 3710u);
    std::string cell;
    open({[&] { keys(SC::PGDN, 2); keys(SC::DOWN, 12); },
          [&] { cell = con->text(14, 1, 4); }});
    EXPECT_EQ(cell, "    ");
}

TEST_F(Manifest, PickLists) {
    stored("IMP", "500", {{18, "1"}});
    std::string hint;
    uint8_t hintAttr = 0;
    open({[&] {
              keys(SC::DOWN, 4);  // field 5
          },
          [&] {
              hint = con->text(62, 24, 11);
              hintAttr = con->cells[22][63].at;
              con->ch(TAB);
          },
          [&] {
              EXPECT_NE(screenRow(5).find(gr("ΥΠΟΧΡΕΟΣ")), std::string::npos) << screenRow(5);
              EXPECT_EQ(con->text(41, 8, 14), gr("3.ΕΚΤΕΛΩΝΙΣΤΗΣ"));
              keys(SC::DOWN, 2);
              enter();
          },
          [&] {
              EXPECT_EQ(con->text(21, 4, 14), gr("3.ΕΚΤΕΛΩΝΙΣΤΗΣ"));
              EXPECT_EQ(screenRow(6).find(gr("1.ΠΡΑΚΤΟΡΑΣ")), std::string::npos) << "the window is gone";
              // line 1: cell 12 from the list, first choice; the documents and the package kinds
              keys(SC::PGDN);
              keys(SC::DOWN, 11);
              con->ch(TAB);
          },
          [&] {
              EXPECT_NE(screenRow(4).find(gr("ΦΟΡ/ΚΕΣ & ΣΥΝ.ΕΝΤΥΠΑ")), std::string::npos) << screenRow(4);
              enter();
              keys(SC::UP, 6);  // cell 6
              con->ch(TAB);
          },
          [&] {
              keys(SC::DOWN);
              enter();
          },
          [&] {
              keys(SC::UP, 5);  // cell 1
              con->ch(TAB);
          },
          [&] {
              keys(SC::DOWN);
              type(" ");
              keys(SC::UP);
              type(" ");
              enter();
          },
          [&] { keys(SC::F4); }});
    EXPECT_EQ(hint, gr("╡TAB.ΛΙΣΤΑ╞"));
    EXPECT_EQ(hintAttr, 0x4F);
    EKDILO::DILOBUF b = stored500();
    EXPECT_EQ(b.get(5), gr("3.ΕΚΤΕΛΩΝΙΣΤΗΣ"));
    EXPECT_EQ(b.cell(1, 12), "T");
    EXPECT_EQ(b.cell(1, 6), "PX");
    EXPECT_EQ(UMAS::trim(b.cell(1, 1)), "N730") << "the first one marked";
    EXPECT_EQ(UMAS::trim(b.cell(1, 2)), gr("ΦΟΡΤΩΤΙΚΗ CMR"));
    EXPECT_EQ(b.cell(1, 3), "");

    // The tenth customs status empties the cell; Esc in a list changes nothing.
    open({[&] {
              keys(SC::PGDN);
              keys(SC::DOWN, 11);
              con->ch(TAB);
          },
          [&] {
              keys(SC::DOWN, 9);
              enter();
              keys(SC::UP, 6);
              con->ch(TAB);
          },
          [&] { con->ch(ESC); },
          [&] { keys(SC::F4); }});
    b = stored500();
    EXPECT_EQ(b.cell(1, 12), "");
    EXPECT_EQ(b.cell(1, 6), "PX");
}

// ---- The print -------------------------------------------------------------------------------------

TEST_F(Manifest, PrintGolden) {
    writeLayout({{1, 0, 0, 70, 3, 0, 0}, {2, 0, 0, 10, 2, 0, 0}, {4, 0, 0, 30, 2, 0, 0}, {26, 2, 0, 5, 5, 1, 0},
                 {5, 0, 0, 0, 4, 0, 0}, {27, 0, 0, 1, 1, 0, 0}, {28, 0, 0, 10, 9, 0, 0}, {33, 0, 0, 40, 0, 0, 0},
                 {37, 0, 0, 30, 1, 0, 0}, {38, 0, 0, 50, 1, 0, 0}});
    stored("IMP", "500", {{18, "2"}, {6, "ΒΟΛΟΣ"}, {8, "010207"}, {65, "ΑΠΟΘΗΚΗ"}});
    open({[&] {
              keys(SC::PGDN);
              type("D1");
              enter();
              type("ΟΝΟΜΑ 1");
              keys(SC::DOWN, 4);
              type("PX");  // cell 6, in no layout row
              keys(SC::DOWN, 5);
              type("100.5");
              enter();
              type("TRANSIT T2F LONG 22");
              enter();
              type("D2");
              con->key(SC::SF1, PLAT::MOD_SHIFT);
          },
          [&] {
              con->ch('N');
              enter();
          }});
    golden("dilo.prn", port());
    EXPECT_NE(port().find("TRANSIT T2F LON"), std::string::npos);
    EXPECT_EQ(port().find("TRANSIT T2F LONG"), std::string::npos) << "cell 12 cut to 15";
    EXPECT_FALSE(TESTS::exists(dil())) << "nothing stored";

    // field 1 at 0: the front, 13 line ends and the form feed
    clearPort();
    stored("IMP", "500", {{18, "0"}, {6, "ΒΟΛΟΣ"}});
    open({[&] { con->key(SC::SF1, PLAT::MOD_SHIFT); },
          [&] {
              con->ch('N');
              enter();
          }});
    golden("dilo_empty.prn", port());
    // no at the question prints nothing
    clearPort();
    open({[&] { con->key(SC::SF1, PLAT::MOD_SHIFT); }, [&] { con->ch('O'); enter(); }});
    EXPECT_EQ(port(), "");
}

// A layout as installed (every row zero) places nothing: told with its entry in the form parameters
// menu, no question, nothing sent; the lines that follow the front would have been blank too.
TEST_F(Manifest, AnEmptyLayoutIsToldAndNothingSent) {
    writeLayout({});
    stored("IMP", "500", {{18, "2"}});
    open({[&] { con->key(SC::SF1, PLAT::MOD_SHIFT); },
          [&] {
              EXPECT_NE(screenRow(23).find(gr("Δεν τυπώθηκε: κενή φόρμα PARDILL. ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ, επιλογή 9")),
                        std::string::npos)
                  << screenRow(23);
              enter();
          }});
    EXPECT_EQ(port(), "");
}

TEST_F(Manifest, ThePrintStopsAtLineSixty) {
    LAYDOC::Layout L{};
    L[27].COL = 1;
    L[27].ROW = 1;
    EKDILO::DILOBUF b;
    for (int n = 1; n <= EKDILO::MAXLINES; ++n) b.set(EKDILO::FRONT + 12 * (n - 1) + 1, "C" + std::to_string(n));
    for (const auto& [count, lines] : {std::pair{"75", 60}, std::pair{"60", 60}, std::pair{"3", 3}, std::pair{"-2", 0}}) {
        b.set(1, count);
        PRNS::Printout o;
        o.F.assignFile("body.out");
        o.P = PRNS::PRNNONE;
        o.T = PRNS::TABNONE;
        EKDILO::PRINTBODY(o, L, LAYDOC::SORTVARS(L, EKDILO::FRONT), b);
        o.F.close();
        const std::string out = TESTS::readFile("body.out");
        size_t ends = 0;
        for (size_t at = out.find("\r\n"); at != std::string::npos; at = out.find("\r\n", at + 1)) ++ends;
        EXPECT_EQ(ends, size_t(13 + lines)) << count;
        EXPECT_EQ(out.find("C" + std::to_string(lines + 1) + "\r"), std::string::npos) << count;
    }
}

// ---- The segment-file run from the editor --------------------------------------------------------

TEST_F(Manifest, ASegmentRunReadsTheRecordInMemory) {
    TESTS::writeFile(company(0) + "/NPARDILO.dat",
                     INSTALL::fieldTableImage({"1|1001|ΔΗΛΩΤΙΚΟ|R|6||", "2|342|ΑΝΑΦΟΡΑ|R|..30||", "3|304|ΗΜΕΡΟΜΗΝΙΑ||..8||",
                                               "70|1002|ΓΡΑΜΜΗ|R|6||", "71|343|Α/Α|R|..3|N|", "72|345|ΑΡΙΘΜΟΣ||..20||",
                                               "73|352|ΒΑΡΟΣ||..12||", "74|353|ΚΑΤΑΣΤΑΣΗ||..7||"}));
    TESTS::writeFile(company(0) + "/ASCI_OUT.TXT", "OUT1\\\r\nOUT2\\\r\nOUT3\\\r\nOUT4\\\r\n");
    fs::create_directories(work->file("OUT4"));
    TESTS::writeFile(company(0) + "/DILANAF.DAT", "6");
    stored("IMP", "500", {{18, "1"}, {8, "101226"}});
    const std::string before = "unchanged";
    TESTS::writeFile(dil(), before);
    open({[&] {
              keys(SC::PGDN);
              enter();
              type("BL 77");
              keys(SC::DOWN, 9);
              type("12.5");
              enter();
              type("T2");
              con->key(SC::SF2, PLAT::MOD_SHIFT);
          },
          [&] { type("Ν"); },
          [&] { enter(); },
          [&] { type(" "); }});
    const std::string out = TESTS::readFile(work->file("OUT4/L7.TXT"));
    EXPECT_EQ(out, "0001:1~099999999/26/7~10/12/26\r\n0002:1~1~BL 77~12.5~T2\r\n") << PLAT::cp737ToUtf8(TESTS::readFile(work->file("ERROR.TXT")));
    EXPECT_EQ(TESTS::readFile(company(0) + "/DILANAF.DAT"), "7");
    EXPECT_EQ(file(), before) << "the run stores nothing";

    // A line count beyond the record or below 0 is a fault of the run: no file, no counter moved.
    fs::remove(dil());
    fs::remove(work->file("OUT4/L7.TXT"));
    for (const char* count : {"61", "-3"}) {
        SCOPED_TRACE(count);
        fs::remove(work->file("OUT4/L8.TXT"));
        open({[&] {
                  con->key(SC::END);
                  con->keys(std::string(4, '\b'));
                  type(count);
                  con->key(SC::SF2, PLAT::MOD_SHIFT);
              },
              [&] { type("Ν"); },
              [&] { enter(); },
              [&] { type(" "); },
              [&] { type(" "); }});
        EXPECT_FALSE(TESTS::exists(work->file("OUT4/L8.TXT")));
        EXPECT_NE(TESTS::readFile(work->file("ERROR.TXT")), "");
        EXPECT_EQ(TESTS::readFile(company(0) + "/DILANAF.DAT"), "7");
    }
}

TEST_F(Manifest, AnXmlRunSendsTheRecordInMemory) {
    // Small templates of the manifest run: the reference, the item's mass and status, the totals.
    const auto lines = [](std::initializer_list<const char*> l) {
        std::string s;
        for (const char* x : l) s += std::string(x) + "\r\n";
        return s;
    };
    TESTS::writeFile(work->file("DX315A.TXT"),
                     lines({"DILO01DX315A", "<DX315A>", "<RefNumHEA1900>1900",
                            "%<TotGroMasHEA307>$$$$$$</TotGroMasHEA307>"}));
    TESTS::writeFile(work->file("DX_GOO.TXT"), lines({"<GOOITEGDS>", "<GroMasGDS46>352", "<CusStaGDS1>2470", "</GOOITEGDS>"}));
    TESTS::writeFile(work->file("DX315_2.TXT"), lines({"</DX315A>"}));
    fs::create_directories(work->file("drives/c/jicis"));
    fs::create_directories(work->file("rec"));
    setenv("KORVEX_JAVA", (std::string(KORVEX_JICIS) + " --record " + work->file("rec")).c_str(), 1);
    TESTS::writeFile(company(0) + "/DILANAF.DAT", "6");
    stored("IMP", "500", {{18, "1"}, {8, "101226"}});
    fs::remove(dil());
    open({[&] {
              keys(SC::PGDN);
              keys(SC::DOWN, 10);
              type("12.5");
              enter();
              type("T2");
              con->key(SC::AF2, PLAT::MOD_ALT);
          },
          [&] { type("Ν"); },
          [&] { enter(); },
          [&] { type(" "); }});
    unsetenv("KORVEX_JAVA");
    const std::string inp = TESTS::readFile(work->file("INPDIL.TXT"));
    EXPECT_EQ(inp, lines({"DX315A", "<DX315A>", "<RefNumHEA1900>26/7", "<TotGroMasHEA307>$$$$$$</TotGroMasHEA307>",
                          "<GOOITEGDS>", "<GroMasGDS46>12.5", "<CusStaGDS1>T2", "</GOOITEGDS>", "</DX315A>"}))
        << PLAT::cp737ToUtf8(TESTS::readFile(work->file("ERROR.TXT")));
    EXPECT_NE(TESTS::readFile(work->file("INP.TXT")).find("<TotGroMasHEA307>12.5</TotGroMasHEA307>"), std::string::npos)
        << TESTS::readFile(work->file("INP.TXT"));
    EXPECT_EQ(TESTS::readFile(company(0) + "/DILANAF.DAT"), "7");
    EXPECT_FALSE(TESTS::exists(dil())) << "the run stores nothing";
}

}  // namespace

// On a form that prints to the spool file, the manifest is handed to the print script like every
// printout, and the spool lock is free again for the other workstations.
TEST_F(Manifest, APrintToTheSpoolFileIsHandedOff) {
    toSpool(UMAS::PE_DILO);
    writeLayout({{2, 0, 0, 10, 2, 0, 0}});
    stored("IMP", "500", {{18, "1"}, {6, "ΒΟΛΟΣ"}});
    bool held = true;
    open({[&] { con->key(SC::SF1, PLAT::MOD_SHIFT); },
          [&] {
              con->ch('N');
              enter();
          },
          [&] {
              held = PRNS::spoolHeld();
              con->ch(ESC);
          }});
    EXPECT_FALSE(held) << "the spool lock stayed with the manifest";
    EXPECT_NE(handed().find(gr("ΒΟΛΟΣ")), std::string::npos) << handed();
    EXPECT_FALSE(TESTS::exists(work->file("KVX.TXT")));
}
