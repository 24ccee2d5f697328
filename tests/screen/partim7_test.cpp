// The electronic-format field tables: the N/Q choice, storing, the row moves of F5/F6/F7, the row
// editor, the output folders of "ASCI_OUT.TXT" and the XML listing.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "common/umas.h"
#include "config/params.h"
#include "helpers/fixture.h"
#include "platform/codepage.h"
#include "platform/console.h"

namespace SC = PLAT::SC;
using PARAMS::PARTIM7TABLE;
using PARAMS::RECPARTIM7;

namespace {

class FieldTables : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
        setSwitch20(0);
    }

    static void setSwitch20(int v) {
        UMAS::PAREDE[20].TIMI = uint8_t(v);
        UMAS::derivePAREDE();
    }

    std::string file(const std::string& name) const { return company(0) + "/" + name; }

    void seed(const std::string& name, const PARTIM7TABLE& t) const {
        std::string b(PARAMS::PARTIM7_SIZE, '\0');
        PARAMS::encodePARTIM7(t, reinterpret_cast<uint8_t*>(b.data()));
        TESTS::writeFile(file(name), b);
    }

    PARTIM7TABLE load(const std::string& name) const {
        std::string b = TESTS::readFile(file(name));
        EXPECT_EQ(b.size(), PARAMS::PARTIM7_SIZE) << name;
        b.resize(PARAMS::PARTIM7_SIZE, '\0');
        return PARAMS::decodePARTIM7(reinterpret_cast<const uint8_t*>(b.data()));
    }

    // Rows 1..n coded k, named "Nk", length rule "Mk"; the rest empty but with a length rule.
    static PARTIM7TABLE numbered(int n) {
        PARTIM7TABLE t;
        for (int k = 1; k <= PARAMS::PARTIM7_ROWS; ++k) {
            RECPARTIM7& r = t[size_t(k - 1)];
            r.MIKOS = "M" + std::to_string(k);
            if (k <= n) {
                r.KV = uint16_t(k);
                r.PEDIO = "N" + std::to_string(k);
                r.STATUS = "R";
                r.TYPOS = "A";
                r.TIMES = "T" + std::to_string(k);
            }
        }
        return t;
    }

    // Opens format pos (menu digit pos + 1), runs the table keys, stores with F1 when asked, and
    // leaves the table and the format menu.
    void runFormat(int pos, const std::vector<PLAT::Event>& tableKeys, bool store = true) {
        con->ch(uint8_t('1' + pos));
        for (const auto& e : tableKeys) con->push(e);
        if (store) con->key(SC::F1);
        con->ch(27);
        con->ch(27);
        PARAMS::CALLPARTIM7();
        EXPECT_EQ(con->pending(), 0u);
    }

    // Runs the editor until the script is over, for a look at the screen.
    void runUntilIdle() {
        con->maxIdle = 2;
        EXPECT_THROW(PARAMS::CALLPARTIM7(), PLAT::ScriptEnd);
    }
};

PLAT::Event key(uint8_t scan) { return PLAT::keyExt(scan); }
PLAT::Event ch(uint8_t c) { return PLAT::keyChar(c); }
std::vector<PLAT::Event> typed(const std::string& s) {
    std::vector<PLAT::Event> v;
    for (unsigned char c : s) v.push_back(PLAT::keyChar(c));
    return v;
}
std::vector<PLAT::Event> operator+(std::vector<PLAT::Event> a, const std::vector<PLAT::Event>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(FieldTables, SwitchTwentyChoosesTheNOrTheQSet) {
    struct Case { int sw; const char* stored; const char* untouched; } cases[] = {
        {0, "NPARDEFK.dat", "QPARDEFK.dat"},
        {1, "NPARDEFK.dat", "QPARDEFK.dat"},
        {2, "QPARDEFK.dat", "NPARDEFK.dat"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sw);
        std::remove(file("NPARDEFK.dat").c_str());
        std::remove(file("QPARDEFK.dat").c_str());
        setSwitch20(c.sw);
        runFormat(2, {});
        EXPECT_EQ(TESTS::readFile(file(c.stored)), std::string(10120, '\0'));
        EXPECT_FALSE(TESTS::exists(file(c.untouched)));
    }
}

TEST_F(FieldTables, TheOpenedTableComesFromTheSetOfTheSwitch) {
    PARTIM7TABLE n, q;
    n[0].KV = 5;
    n[0].PEDIO = "FROM N";
    q[0].KV = 1234;
    q[0].PEDIO = "FROM Q";
    seed("NPARDISK.dat", n);
    seed("QPARDISK.dat", q);
    for (int sw : {0, 2}) {
        SCOPED_TRACE(sw);
        setSwitch20(sw);
        con->ch('1');
        runUntilIdle();
        EXPECT_EQ(con->text(16, 7, 5), sw == 2 ? "01234" : "00005");
        EXPECT_EQ(con->text(24, 7, 22), PLAT::gr(sw == 2 ? "FROM Q" : "FROM N") + std::string(16, ' '));
        EXPECT_EQ(con->text(16, 8, 5), "     ");  // an empty code shows blanks
        EXPECT_EQ(con->text(46, 5, 13), PLAT::gr("   Ε.Δ.Ε.    "));
        EXPECT_EQ(con->text(63, 18, 2), " 1");
        con = &TESTS::headless();
        TESTS::loadMasks();
    }
}

TEST_F(FieldTables, F1StoresTheTableWholeAndEscLeavesTheFileAlone) {
    seed("NPARDISK.dat", numbered(3));
    // F5 on row 2 without F1: nothing reaches the file.
    runFormat(0, {key(SC::DOWN), key(SC::F5)}, false);
    EXPECT_EQ(load("NPARDISK.dat")[1].KV, 2);
    // The same with F1: 10120 bytes, row 2 emptied.
    runFormat(0, {key(SC::DOWN), key(SC::F5)});
    PARTIM7TABLE t = load("NPARDISK.dat");
    EXPECT_EQ(t[0].KV, 1);
    EXPECT_EQ(t[1].KV, 0);
    EXPECT_EQ(t[2].KV, 3);
}

TEST_F(FieldTables, F5F6F7MoveAndClearRows) {
    const std::vector<PLAT::Event> toRow5 = {key(SC::DOWN), key(SC::DOWN), key(SC::DOWN), key(SC::DOWN)};
    const std::vector<PLAT::Event> toRow13 = {key(SC::PGDN), key(SC::DOWN)};  // page 2, second row
    const PARTIM7TABLE full219 = numbered(219);  // row 220 free
    const PARTIM7TABLE full220 = numbered(220);  // row 220 coded

    auto cleared = [](RECPARTIM7 r) {
        r.KV = 0;
        r.PEDIO = r.STATUS = r.TYPOS = r.TIMES = "";
        return r;
    };
    auto same = [](const RECPARTIM7& a, const RECPARTIM7& b) {
        return a.KV == b.KV && a.PEDIO == b.PEDIO && a.STATUS == b.STATUS && a.MIKOS == b.MIKOS &&
               a.TYPOS == b.TYPOS && a.TIMES == b.TIMES;
    };

    struct Case {
        const char* what;
        PARTIM7TABLE before;
        std::vector<PLAT::Event> keys;
        std::function<PARTIM7TABLE(const PARTIM7TABLE&)> want;
    } cases[] = {
        {"F5 on row 5 empties it and keeps its length rule", full219, toRow5 + std::vector{key(SC::F5)},
         [&](PARTIM7TABLE t) { t[4] = cleared(t[4]); return t; }},
        {"F6 on row 5 moves rows 6..220 up and clears row 220", full220, toRow5 + std::vector{key(SC::F6)},
         [&](const PARTIM7TABLE& b) {
             PARTIM7TABLE t = b;
             for (int k = 4; k < 219; ++k) t[size_t(k)] = b[size_t(k + 1)];
             t[219] = cleared(b[219]);
             return t;
         }},
        {"F7 on row 5 with row 220 free moves rows 5..219 down", full219, toRow5 + std::vector{key(SC::F7)},
         [&](const PARTIM7TABLE& b) {
             PARTIM7TABLE t = b;
             for (int k = 5; k < 220; ++k) t[size_t(k)] = b[size_t(k - 1)];
             t[4] = cleared(b[4]);
             return t;
         }},
        {"F7 with row 220 coded changes nothing", full220, toRow5 + std::vector{key(SC::F7)},
         [&](const PARTIM7TABLE& b) { return b; }},
        {"F6 on the second page removes row 13", full220, toRow13 + std::vector{key(SC::F6)},
         [&](const PARTIM7TABLE& b) {
             PARTIM7TABLE t = b;
             for (int k = 12; k < 219; ++k) t[size_t(k)] = b[size_t(k + 1)];
             t[219] = cleared(b[219]);
             return t;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        seed("NPARDISK.dat", c.before);
        runFormat(0, c.keys);
        const PARTIM7TABLE got = load("NPARDISK.dat");
        const PARTIM7TABLE want = c.want(c.before);
        for (int k = 0; k < 220; ++k)
            EXPECT_TRUE(same(got[size_t(k)], want[size_t(k)])) << "row " << k + 1 << ": KV " << got[size_t(k)].KV
                                                               << " MIKOS " << got[size_t(k)].MIKOS;
    }
}

TEST_F(FieldTables, EnterEditsTheSixFieldsOfARow) {
    PARTIM7TABLE t;
    t[1].KV = 7;
    t[1].TIMES = "0123456789";  // longer than the six cells of its field
    seed("NPARDISK.dat", t);
    const uint8_t CTRL_Y = 25;
    runFormat(0, std::vector{ch(13)} + typed("5") + std::vector{ch(13), ch(CTRL_Y)} + typed("A&B") +
                     std::vector{ch(13)} + typed("X") /* refused: not a status */ + typed("R") +
                     std::vector{ch(13), ch(CTRL_Y)} + typed("..35") + std::vector{ch(13)} + typed("A") +
                     std::vector{ch(13), ch(CTRL_Y)} + typed("X1") + std::vector{ch(13)} +
                     // row 2: a code beyond a WORD is asked again; Down through the rest keeps TIMES whole
                     std::vector{key(SC::DOWN), ch(13), ch(CTRL_Y)} + typed("70000") +
                     std::vector{ch(13), ch(CTRL_Y)} + typed("8") +
                     std::vector{ch(13), key(SC::DOWN), key(SC::DOWN), key(SC::DOWN), key(SC::DOWN), key(SC::DOWN)});
    const PARTIM7TABLE got = load("NPARDISK.dat");
    EXPECT_EQ(got[0].KV, 5);
    EXPECT_EQ(got[0].PEDIO, "A&B");
    EXPECT_EQ(got[0].STATUS, "R");
    EXPECT_EQ(got[0].MIKOS, "..35");
    EXPECT_EQ(got[0].TYPOS, "A");
    EXPECT_EQ(got[0].TIMES, "X1");
    EXPECT_EQ(got[1].KV, 8);
    EXPECT_EQ(got[1].TIMES, "0123456789");
    EXPECT_EQ(con->bells, 2);
}

TEST_F(FieldTables, TheFirstVisitCreatesTheSevenOutputFolders) {
    ASSERT_FALSE(TESTS::exists(file("ASCI_OUT.TXT")));
    con->ch('4');
    runUntilIdle();
    EXPECT_EQ(con->text(45, 19, 20), "A:\\" + std::string(17, ' '));
    std::string seven;
    for (int i = 0; i < 7; ++i) seven += "A:\\\r\n";
    EXPECT_EQ(TESTS::readFile(file("ASCI_OUT.TXT")), seven);
}

TEST_F(FieldTables, F2ChecksAndStoresTheFormatsFolder) {
    TESTS::writeFile(file("ASCI_OUT.TXT"), "L1\\\r\nL2\\\r\nL3\\\r\nL4\\\r\nL5\\\r\nL6\\\r\nL7\\\r\n");
    const uint8_t CTRL_Y = 25;
    struct Case {
        const char* what;
        std::vector<PLAT::Event> keys;
        const char* line3;
        int bells;
    } cases[] = {
        {"a folder gets its backslash", std::vector{key(SC::F2), ch(CTRL_Y)} + typed("C:\\OUT") + std::vector{ch(13)},
         "C:\\OUT\\", 0},
        {"two characters are refused and the old folder comes back",
         std::vector{key(SC::F2), ch(CTRL_Y)} + typed("C:") + std::vector{ch(13), ch(13)}, "C:\\OUT\\", 1},
        {"blanks around are removed", std::vector{key(SC::F2), ch(CTRL_Y)} + typed("  D:\\X\\  ") + std::vector{ch(13)},
         "D:\\X\\", 0},
        {"blanks alone are no folder", std::vector{key(SC::F2), ch(CTRL_Y)} + typed("    ") + std::vector{ch(13), ch(27)},
         "D:\\X\\", 1},
        {"Esc keeps the folder", std::vector{key(SC::F2)} + typed("ZZZZ") + std::vector{ch(27)}, "D:\\X\\", 0},
        // Twenty characters leave no room for the closing backslash: refused, the line stays.
        {"a full line without its backslash is refused",
         std::vector{key(SC::F2), ch(CTRL_Y)} + typed("C:\\ABCDEFGHIJKLMNOPQ") + std::vector{ch(13), ch(27)}, "D:\\X\\",
         1},
        {"nineteen characters get their backslash",
         std::vector{key(SC::F2), ch(CTRL_Y)} + typed("C:\\ABCDEFGHIJKLMNOP") + std::vector{ch(13)},
         "C:\\ABCDEFGHIJKLMNOP\\", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int bells = con->bells;
        runFormat(2, c.keys, false);
        EXPECT_EQ(con->bells - bells, c.bells);
        EXPECT_EQ(TESTS::readFile(file("ASCI_OUT.TXT")),
                  std::string("L1\\\r\nL2\\\r\n") + c.line3 + "\r\nL4\\\r\nL5\\\r\nL6\\\r\nL7\\\r\n");
    }
}

TEST_F(FieldTables, F10WritesTheListing) {
    PARTIM7TABLE t;
    t[0].KV = 5;
    t[0].PEDIO = "A&B   ";
    t[0].STATUS = "R";
    t[0].MIKOS = "..35";
    t[0].TYPOS = "A";
    t[0].TIMES = "X1";
    t[2].KV = 999;
    t[2].PEDIO = PLAT::gr("ΚΩΔ <Ά>");
    seed("NPARDAO.dat", t);
    TESTS::writeFile(file("NPARDAO.xml"), "old listing");
    runFormat(4, {key(SC::F10)}, false);
    const std::string x = TESTS::readFile(file("NPARDAO.xml"));
    const std::string head =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\r\n"
        "  <Record>\r\n    <ID>001</ID>\r\n    <Code>5</Code>\r\n    <Name>A&amp;B</Name>\r\n"
        "    <Status>R</Status>\r\n    <Size>..35</Size>\r\n    <Type>A</Type>\r\n    <Value>X1</Value>\r\n"
        "    <Comment></Comment>\r\n  </Record>\r\n"
        "  <Record>\r\n    <ID>002</ID>\r\n    <Code></Code>\r\n    <Name></Name>\r\n    <Status></Status>\r\n"
        "    <Size></Size>\r\n    <Type></Type>\r\n    <Value></Value>\r\n    <Comment></Comment>\r\n  </Record>\r\n"
        "  <Record>\r\n    <ID>003</ID>\r\n    <Code>999</Code>\r\n    <Name>ΚΩΔ &lt;Ά&gt;</Name>\r\n";
    ASSERT_GE(x.size(), head.size());
    EXPECT_EQ(x.substr(0, head.size()), head);
    // 2200 record lines after the preamble, every one ending in CR LF, the last row 220.
    size_t lines = 0;
    for (size_t i = 0; i < x.size(); ++i)
        if (x[i] == '\n') {
            ++lines;
            EXPECT_EQ(x[i - 1], '\r');
        }
    EXPECT_EQ(lines, 2201u);
    EXPECT_NE(x.find("    <ID>220</ID>\r\n"), std::string::npos);
    EXPECT_EQ(x.substr(x.size() - 13), "  </Record>\r\n");
}

}  // namespace
