// Print set-up, printer drivers, tab procedures, ports and the print hand-off.
#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <chrono>
#include <cstdlib>
#include <map>
#include <sstream>
#include <thread>

#include "common/umas.h"
#include "helpers/fixture.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "platform/oslock.h"
#include "print/prns.h"

using TESTS::readFile;
using TESTS::writeFile;

namespace {

// "1B 40 0C" -> the bytes.
std::string H(const std::string& hex) {
    std::string out;
    std::istringstream in(hex);
    std::string tok;
    while (in >> tok) out += char(std::stoi(tok, nullptr, 16));
    return out;
}
// ESC followed by text.
std::string E(const std::string& text) { return "\x1B" + text; }
// The spool file in a test script, whatever the case of its name.
const std::string KVX = "[Kk][Vv][Xx].[Tt][Xx][Tt]";

class Prns : public ::testing::Test {
protected:
    void SetUp() override {
        PLAT::setThrowOnExit(true);
        work = std::make_unique<TESTS::TempWorkDir>();
        con = &TESTS::headless();
        mkdir("ETC", 0777);
        savedUser = UMAS::USER_ID;
        UMAS::USER_ID = "2";
        PRNS::HTAB_OFSET = 0;
        unsetenv("KORVEX_VIEWER");
    }
    void TearDown() override {
        // nothing may keep the spool lock beyond a test
        EXPECT_FALSE(PRNS::spoolHeld());
        UMAS::USER_ID = savedUser;
        work.reset();
    }

    // The bytes that one call of a driver writes.
    static std::string bytesOf(PRNS::PRNM p, uint8_t mode) {
        PRNS::PFILE F;
        F.assignFile("out.bin");
        p(F, mode);
        F.close();
        return readFile("out.bin");
    }
    static std::string tabBytes(PRNS::TABM t, uint8_t x) {
        PRNS::PFILE F;
        F.assignFile("out.bin");
        t(F, x);
        F.close();
        return readFile("out.bin");
    }
    static void setParEkt(int form, uint8_t pgle, uint8_t htab, uint8_t vtab, uint8_t port, uint8_t emul) {
        writeFile("ETC/pare2." + std::to_string(form),
                  std::string{char(pgle), char(htab), char(vtab), char(port), char(emul)});
    }

    std::unique_ptr<TESTS::TempWorkDir> work;
    PLAT::HeadlessConsole* con = nullptr;
    std::string savedUser;
};

// ---- The drivers, byte for byte ------------------------------------------------------------------

struct Driver {
    const char* name;
    PRNS::PRNM fn;
    std::map<int, std::string> modes;  // every mode not listed writes nothing
};

std::vector<Driver> driverTable() {
    Driver eps{"PRNEPS", PRNS::PRNEPS, {}}, ps{"PRNPS1150", PRNS::PRNPS1150, {}}, pin{"PRN24PIN", PRNS::PRN24PIN, {}},
        oki{"PRNOKI393", PRNS::PRNOKI393, {}}, p2{"PRNESCP2", PRNS::PRNESCP2, {}};
    // mode: PRNEPS | PRNPS1150 | PRN24PIN | PRNOKI393 | PRNESCP2 ("-" nothing)
    const std::vector<std::vector<std::string>> escp = {
        {"1", "12 1B 50", "12 1B 50", "12 1B 50", "12 1B 50", "12 1B 50"},
        {"2", "12 1B 4D", "1B 4D", "12 1B 4D", "12 1B 4D", "12 1B 4D"},
        {"3", "1B 50 0F", "1B 0F", "1B 50 0F", "0F 1B 0F", "1B 50 0F"},
        {"4", "1B 78 31", "1B 78 01", "1B 78 31", "1B 45", "1B 47"},
        {"5", "1B 78 30", "1B 78 00", "1B 78 30", "1B 46", "1B 48"},
        {"6", "1B 57 31", "1B 57 01", "1B 57 31", "1B 57 31", "1B 57 31"},
        {"7", "1B 57 30", "1B 57 00", "1B 57 30", "1B 57 30", "1B 57 30"},
        {"8", "1B 47", "1B 47", "1B 47", "1B 47", "-"},
        {"9", "1B 48", "1B 48", "1B 48", "1B 48", "-"},
        {"10", "-", "-", "-", "-", "1B 19 31"},
        {"11", "0C", "0C", "0C", "0C", "1B 19 52"},
        {"12", "1B 2D 31", "1B 2D 01", "1B 2D 31", "1B 2D 31", "1B 2D 31"},
        {"13", "1B 2D 30", "1B 2D 00", "1B 2D 30", "1B 2D 30", "1B 2D 30"},
        {"14", "-", "-", "-", "-", "1B 4D 0F"},
        {"15", "-", "-", "-", "-", "1B 2D 30"},
        {"21", "1B 41 18", "1B 33 48", "1B 2B 78", "1B 2B 78", "1B 33 3C"},
        {"22", "1B 41 06", "1B 33 12", "1B 2B 1E", "1B 2B 1E", "1B 33 0F"},
        {"23", "1B 41 12", "1B 33 36", "1B 2B 5A", "1B 2B 5A", "1B 33 2D"},
        {"24", "1B 41 0F", "1B 33 2D", "1B 2B 4B", "1B 2B 4B", "1B 2B 4B"},  // ESC/P2: ESC "+" n
        {"25", "1B 41 03", "1B 33 09", "1B 2B 0F", "1B 2B 0F", "1B 2B 0F"},  // ESC/P2: ESC "+" n
        {"26", "1B 41 0C", "1B 33 24", "1B 2B 3C", "1B 2B 3C", "1B 32"},
        {"27", "1B 41 0E", "1B 33 2A", "1B 2B 46", "1B 2B 46", "1B 33 24"},
        {"28", "1B 41 09", "1B 33 1B", "1B 2B 2D", "1B 2B 2D", "-"},
        {"29", "1B 41 08", "1B 33 18", "1B 2B 28", "1B 2B 28", "1B 33 14"},
        {"30", "1B 41 0A", "1B 41 0A", "1B 2B 32", "1B 2B 32", "-"},
        {"99", "1B 40", "1B 40", "1B 40", "-", "1B 40"},
        {"100", "1B 72 00", "1B 72 00", "1B 72 00", "1B 72 00", "0C"},
        {"200", "", "", "", "", "1B 40 1B 70 30 1B 32"},  // the others reopen the output (own test)
    };
    Driver* es[5] = {&eps, &ps, &pin, &oki, &p2};
    for (const auto& row : escp)
        for (size_t d = 0; d < 5; ++d)
            if (row[d + 1] != "-" && !row[d + 1].empty()) es[d]->modes[std::stoi(row[0])] = H(row[d + 1]);
    for (int m = 31; m <= 98; ++m) {
        eps.modes[m] = ps.modes[m] = H("1B 43") + char(m);
        if (m >= 50 && m <= 80) pin.modes[m] = oki.modes[m] = H("1B 43") + char(m);
    }
    for (int m : {33, 48, 66, 68, 74}) p2.modes[m] = H("1B 43") + char(m);
    for (int m = 101; m <= 106; ++m)
        for (Driver* d : {&eps, &ps, &pin, &oki}) d->modes[m] = H("1B 72") + char(m - 100);

    Driver gra{"PRNGRA", PRNS::PRNGRA, {}}, pro{"PRNPRO", PRNS::PRNPRO, {}}, star{"PRNSTAR", PRNS::PRNSTAR, {}};
    // mode: PRNGRA | PRNPRO | PRNSTAR
    const std::vector<std::vector<std::string>> ibm = {
        {"1", "12", "12", "12"},
        {"2", "1B 3A", "12 1B 3A", "1B 49 01"},
        {"3", "0F", "12 1B 0F", "0F"},
        {"4", "1B 49 33", "1B 49 32", "1B 78 01"},
        {"5", "1B 49 31", "1B 49 30", "1B 78 00"},
        {"6", "1B 57 31", "1B 57 31", "1B 57 31"},
        {"7", "1B 57 30", "1B 57 30", "1B 57 30"},
        {"11", "0C", "0C", "0C"},
        {"12", "1B 2D 31", "1B 2D 31", "1B 2D 31"},
        {"13", "1B 2D 30", "1B 2D 30", "1B 2D 30"},
        {"14", "-", "12 1B 0F", "-"},
        {"21", "1B 41 18 1B 32", "1B 41 18 1B 32", "1B 41 18 1B 32"},
        {"22", "1B 41 06 1B 32", "1B 41 06 1B 32", "1B 41 06 1B 32"},
        {"23", "1B 41 12 1B 32", "1B 41 12 1B 32", "1B 41 12 1B 32"},
        {"24", "1B 41 0F 1B 32", "1B 41 0F 1B 32", "1B 41 0F 1B 32"},
        {"25", "1B 41 03 1B 32", "1B 41 03 1B 32", "1B 41 03 1B 32"},
        {"26", "1B 41 0C 1B 32", "1B 41 0C 1B 32", "1B 41 0C 1B 32"},
        {"27", "1B 41 0E 1B 32", "1B 41 0E 1B 32", "1B 41 0E 1B 32"},
        {"28", "1B 41 09 1B 32", "1B 41 09 1B 32", "1B 41 09 1B 32"},
        {"29", "1B 41 08 1B 32", "1B 41 08 1B 32", "1B 41 08 1B 32"},
        {"30", "1B 41 0A 1B 32", "1B 41 0A 1B 32", "-"},
        {"99", "18", "18", "18"},
        {"100", "-", "0C", "-"},
        {"200", "-", "18", "-"},
        {"224", "-", "1B 43 18", "-"},
    };
    Driver* is[3] = {&gra, &pro, &star};
    for (const auto& row : ibm)
        for (int d = 0; d < 3; ++d)
            if (row[size_t(d) + 1] != "-") is[d]->modes[std::stoi(row[0])] = H(row[size_t(d) + 1]);
    for (int m : {66, 68, 74}) gra.modes[m] = pro.modes[m] = star.modes[m] = H("1B 43") + char(m);
    for (int m : {33, 36, 48, 51}) pro.modes[m] = H("1B 43") + char(m);

    Driver hp{"PRNHPPCL", PRNS::PRNHPPCL, {}}, hp6{"PRNHPPCL_6", PRNS::PRNHPPCL_6, {}};
    hp.modes = {
        {1, E("(s10h12v1Q")}, {2, E("(s12h12v1Q")}, {3, E("(s17h12v1Q") + E("(s12V")}, {4, E("(s2Q")},
        {5, E("(s1Q")}, {6, E("(s5h12v1Q")}, {7, E("(s10h12v1Q")}, {10, E("&l1H")}, {11, E("&l0H")},
        {12, E("&d1D")}, {13, H("1B 26 64 40")}, {14, E("(s20h12v1Q")}, {15, H("1B 26 64 40")},
        {21, E("&l3D")}, {22, E("&l12D")}, {23, E("&l4D")}, {24, E("&l5D")}, {25, E("&l24D")},
        {26, E("&l6D")}, {27, E("&l5D")}, {29, E("&l9D")}, {30, E("&l7D")}, {66, E("&l66P")},
        {68, E("&l68P")}, {74, E("&l74P")}, {100, E("&l0H")},
        {200, E("E") + E("&l0O") + E("(s0p10h12v0s0B")},  // portrait: ESC "&l0O"
    };
    hp6.modes = {
        {1, E("(s10H")}, {2, E("(s12H")}, {3, E("(s17H")}, {4, E("(s3B")}, {5, E("(s0B")}, {6, E("(s5H")},
        {7, E("(s10H")}, {10, E("&l1H")}, {11, E("&l0H")}, {12, E("&d0D")}, {13, H("1B 26 64 40")},
        {14, E("(s20H")}, {15, H("1B 26 64 40")}, {21, E("&l3D")}, {22, E("&l12D")}, {23, E("&l4D")},
        {25, E("&l24D")}, {26, E("&l6D")}, {28, E("&l8D")}, {66, E("&l26A")},
        {99, E("E") + E("(s0P") + E("(s12V") + E("(s0S")}, {100, E("&l0H")},
    };
    return {eps, gra, pro, hp, pin, star, ps, oki, p2, hp6};
}

TEST_F(Prns, EveryDriverWritesExactlyItsTableForEveryMode) {
    for (const Driver& d : driverTable()) {
        bool reopens = d.fn == PRNS::PRNEPS || d.fn == PRNS::PRNPS1150 || d.fn == PRNS::PRN24PIN ||
                       d.fn == PRNS::PRNOKI393;
        for (int m = 0; m <= 255; ++m) {
            if (m == 200 && reopens) continue;
            auto it = d.modes.find(m);
            std::string want = it == d.modes.end() ? "" : it->second;
            EXPECT_EQ(bytesOf(d.fn, uint8_t(m)), want) << d.name << " mode " << m;
        }
    }
}

TEST_F(Prns, SpotValuesOfTheDriverTables) {
    // a second, independent look at the values the table above is built from
    EXPECT_EQ(bytesOf(PRNS::PRNEPS, 66), H("1B 43 42"));
    EXPECT_EQ(bytesOf(PRNS::PRNEPS, 31), H("1B 43 1F"));
    EXPECT_EQ(bytesOf(PRNS::PRN24PIN, 49), "");
    EXPECT_EQ(bytesOf(PRNS::PRN24PIN, 50), H("1B 43 32"));
    EXPECT_EQ(bytesOf(PRNS::PRNPRO, 224), H("1B 43 18"));
    EXPECT_EQ(bytesOf(PRNS::PRNESCP2, 24), H("1B 2B 4B"));
    EXPECT_EQ(bytesOf(PRNS::PRNESCP2, 25), H("1B 2B 0F"));
    EXPECT_EQ(bytesOf(PRNS::PRNHPPCL, 99), "");
    EXPECT_EQ(bytesOf(PRNS::PRNHPPCL, 200), "\x1B" "E\x1B&l0O\x1B(s0p10h12v0s0B");
}

TEST_F(Prns, Mode200OfEpsonMovesTheRestOfAPrintoutToLpt1) {
    for (PRNS::PRNM p : {PRNS::PRNEPS, PRNS::PRNPS1150}) {
        std::filesystem::remove("drives/ports/LPT1");  // the port file keeps every printout
        PRNS::PFILE F;
        F.assignFile("KVX.TXT");
        F.write("first");
        p(F, 200);
        F.write("rest");
        F.close();
        EXPECT_EQ(readFile("KVX.TXT"), "first");
        EXPECT_EQ(readFile("drives/ports/LPT1"), "rest");
        con->ch(' ');
        UMAS::PRINTUSB();  // no prntxt.sh: reported, kvx.txt kept, lock released
    }
}

TEST_F(Prns, Mode200Of24PinMovesTheRestToTheFileTest) {
    for (PRNS::PRNM p : {PRNS::PRN24PIN, PRNS::PRNOKI393}) {
        writeFile("test", "old contents");
        std::filesystem::remove("drives/ports/LPT2");
        PRNS::PFILE F;
        F.assignPort("LPT2");
        F.write("a");
        p(F, 200);
        F.write("b");
        F.close();
        EXPECT_EQ(readFile("drives/ports/LPT2"), "a");
        EXPECT_EQ(readFile("test"), "b");
    }
}

// ---- Tab procedures ------------------------------------------------------------------------------

TEST_F(Prns, TabProceduresWithAndWithoutOffset) {
    struct Case {
        const char* name;
        PRNS::TABM tab;
        int offset;
        uint8_t x;
        std::string want;
    } cases[] = {
        {"TABEPS", PRNS::TABEPS, 0, 10, H("1B 44 00 1B 44 0A 00 09")},
        {"TABEPS", PRNS::TABEPS, 5, 10, H("1B 44 00 1B 44 0F 00 09")},
        {"TABEPS", PRNS::TABEPS, 10, 250, H("1B 44 00 1B 44 FF 00 09")},  // one byte: held at 255
        {"TABHPPCL", PRNS::TABHPPCL, 0, 10, H("1B 26 61 31 30 43")},
        {"TABHPPCL", PRNS::TABHPPCL, 5, 10, "\x1B&a15C"},
        {"TABHPPCL", PRNS::TABHPPCL, 0, 0, "\x1B&a0C"},
        {"TABNONE", PRNS::TABNONE, 5, 0, ""},
        {"TABNONE", PRNS::TABNONE, 5, 7, "<<(  7"},  // the offset is not added
        {"TABNONE", PRNS::TABNONE, 0, 123, "<<(123"},
        {"TAB_NONE", PRNS::TAB_NONE, 5, 40, ""},
    };
    for (const auto& c : cases) {
        PRNS::HTAB_OFSET = int16_t(c.offset);
        EXPECT_EQ(tabBytes(c.tab, c.x), c.want) << c.name << " offset " << c.offset << " x " << int(c.x);
    }
}

// ---- PAR_EKT and the set-up ----------------------------------------------------------------------

TEST_F(Prns, ParEktIsReadOrCreated) {
    PRNS::PAR_EKT p = PRNS::readParEkt(72);
    EXPECT_EQ(readFile("ETC/pare2.72"), std::string("\x42\0\0\0\0", 5));
    EXPECT_EQ(p, PRNS::PAR_EKT{});
    setParEkt(72, 60, 1, 2, 7, 9);
    p = PRNS::readParEkt(72);
    EXPECT_EQ(p.encode(), std::string({60, 1, 2, 7, 9}));
    PRNS::writeParEkt(1, PRNS::PAR_EKT::decode(std::string({70, 3, 4, 8, 2})));
    EXPECT_EQ(readFile("ETC/pare2.1"), std::string({70, 3, 4, 8, 2}));
    // a file shorter than one record stops the program
    writeFile("ETC/pare2.5", "abc");
    EXPECT_THROW(PRNS::readParEkt(5), PLAT::ProgramExit);
}

TEST_F(Prns, MissingEtcFolderStopsTheProgram) {
    rmdir("ETC");
    EXPECT_THROW(PRNS::readParEkt(1), PLAT::ProgramExit);
}

TEST_F(Prns, FirstPrintoutOfAFormGoesToLpt1WithEpson) {
    PRNS::PRNM P = nullptr;
    PRNS::TABM T = nullptr;
    PRNS::PFILE F;
    PRNS::SET_PE(UMAS::PE_DIAS, P, T, F);
    F.close();
    EXPECT_EQ(P, &PRNS::PRNEPS);
    EXPECT_EQ(T, &PRNS::TABEPS);
    // the set-up creates five zero bytes (the settings dialog would have written 66 first)
    EXPECT_EQ(readFile("ETC/pare2.1"), std::string(5, '\0'));
    EXPECT_EQ(readFile("drives/ports/LPT1"), H("1B 40  1B 43 42  1B 41 03  1B 41 0C"));
    // each form has its own file, named by its id in decimal
    PRNS::SET_PE(UMAS::PE_TIR, P, T, F);
    F.close();
    EXPECT_EQ(readFile("ETC/pare2.118"), std::string(5, '\0'));
    // a file the dialog created first is read, not replaced
    PRNS::readParEkt(UMAS::PE_LIST);
    PRNS::SET_PE(UMAS::PE_LIST, P, T, F);
    F.close();
    EXPECT_EQ(readFile("ETC/pare2.72"), std::string("\x42\0\0\0\0", 5));
}

TEST_F(Prns, Mode200ToThePortAlreadyInUseKeepsWhatWasWritten) {
    // the printout already goes to "LPT1": nothing is emptied, the rest follows
    PRNS::PFILE F;
    F.assignPort("lpt1");
    F.write("first");
    PRNS::PRNEPS(F, 200);
    F.write("rest");
    F.close();
    EXPECT_EQ(readFile("drives/ports/LPT1"), "firstrest");
}

TEST_F(Prns, SetUpSequenceForPageLengthsWithVerticalOffset3) {
    writeFile("PORTS.TXT", "# test ports\r\nLPT1 lpt1.out\r\nlpt2   sub/lpt2.out\n");
    const std::string feeds = "\r\n\r\n\r\n";
    struct Case {
        uint8_t pgle, emul;
        std::string want;
    } cases[] = {
        {29, 1, H("1B 40") + H("1B 43 42") + H("1B 41 03") + feeds + H("1B 41 0C")},
        {30, 1, H("1B 40") + H("1B 41 0A") + H("1B 41 03") + feeds + H("1B 41 0C")},
        {66, 1, H("1B 40") + H("1B 43 42") + H("1B 41 03") + feeds + H("1B 41 0C")},
        {99, 1, H("1B 40") + H("1B 40") + H("1B 41 03") + feeds + H("1B 41 0C")},
        {29, 4, E("&l66P") + E("&l24D") + feeds + E("&l6D")},
        {30, 4, E("&l7D") + E("&l24D") + feeds + E("&l6D")},
        {66, 4, E("&l66P") + E("&l24D") + feeds + E("&l6D")},
        {99, 4, E("&l24D") + feeds + E("&l6D")},
        {66, 9, H("1B 40") + H("1B 43 42") + H("1B 2B 0F") + feeds + H("1B 32")},
        {99, 9, H("1B 40 1B 40") + H("1B 2B 0F") + feeds + H("1B 32")},
        {29, 2, H("18") + H("1B 43 42") + H("1B 41 03 1B 32") + feeds + H("1B 41 0C 1B 32")},
        {30, 8, H("1B 2B 32") + H("1B 2B 0F") + feeds + H("1B 2B 3C")},
    };
    for (const auto& c : cases) {
        setParEkt(1, c.pgle, 7, 3, 1, c.emul);
        std::filesystem::remove("lpt1.out");
        PRNS::PRNM P;
        PRNS::TABM T;
        PRNS::PFILE F;
        PRNS::SET_PE(1, P, T, F);
        F.close();
        EXPECT_EQ(readFile("lpt1.out"), c.want) << "PGLE " << int(c.pgle) << " EMUL " << int(c.emul);
        EXPECT_EQ(PRNS::HTAB_OFSET, 7);
    }
    // PORTS.TXT names the ports without regard to case; folders of a mapped file are created
    setParEkt(1, 66, 0, 0, 2, 0);
    PRNS::PRNM P;
    PRNS::TABM T;
    PRNS::PFILE F;
    PRNS::SET_PE(1, P, T, F);
    F.close();
    EXPECT_EQ(readFile("sub/lpt2.out"), H("1B 40 1B 43 42 1B 41 03 1B 41 0C"));
}

TEST_F(Prns, EmulationTablesOfSetUpAndOfInvoiceSeries) {
    using PRNS::PRNM;
    using PRNS::TABM;
    const PRNM byParEkt[11] = {PRNS::PRNEPS,   PRNS::PRNEPS,  PRNS::PRNGRA,    PRNS::PRNPRO,
                               PRNS::PRNHPPCL, PRNS::PRN24PIN, PRNS::PRNSTAR,  PRNS::PRNPS1150,
                               PRNS::PRNOKI393, PRNS::PRNESCP2, PRNS::PRNEPS};
    const PRNM bySeries[10] = {PRNS::PRNEPS,   PRNS::PRNEPS,    PRNS::PRNGRA,   PRNS::PRNPRO,   PRNS::PRNHPPCL,
                               PRNS::PRN24PIN, PRNS::PRNOKI393, PRNS::PRNESCP2, PRNS::PRNHPPCL_6, PRNS::PRNEPS};
    for (int e = 0; e <= 10; ++e) {
        setParEkt(1, 66, 0, 0, 3, uint8_t(e));
        PRNM P;
        TABM T;
        PRNS::PFILE F;
        PRNS::SET_PE(1, P, T, F);
        F.close();
        EXPECT_EQ(P, byParEkt[e]) << "EMUL " << e;
        EXPECT_EQ(T, e == 4 ? &PRNS::TABHPPCL : &PRNS::TABEPS) << "EMUL " << e;
    }
    for (int e = 0; e <= 9; ++e) {
        PRNM P;
        TABM T;
        PRNS::SET_PETIMOL(uint8_t(e), P, T);
        EXPECT_EQ(P, bySeries[e]) << "series emulation " << e;
        EXPECT_EQ(T, e == 4 || e == 8 ? &PRNS::TABHPPCL : &PRNS::TABEPS) << "series emulation " << e;
    }
    PRNM P;
    TABM T;
    PRNS::SET_PETIMOL(255, P, T);
    EXPECT_EQ(P, &PRNS::PRNEPS);
}

TEST_F(Prns, PortValuesOpenTheirOutputs) {
    struct Case {
        uint8_t port;
        const char* file;
    } cases[] = {
        {0, "drives/ports/LPT1"}, {1, "drives/ports/LPT1"}, {2, "drives/ports/LPT2"}, {3, "drives/ports/LPT3"},
        {4, "drives/ports/com1"}, {5, "drives/ports/com2"}, {6, "drives/c/KVXPOOL/KVX.TXT"}, {7, "KVX.TXT"},
        {9, "drives/ports/PRN"},  {255, "drives/ports/PRN"},
    };
    for (const auto& c : cases) {
        PRNS::PFILE F;
        PRNS::SELECTPRI(F, c.port);
        F.write("x\r\n");
        F.close();
        EXPECT_EQ(readFile(c.file), "x\r\n") << "PORT " << int(c.port);
        std::remove(c.file);
    }
    PRNS::spoolHandedOff("KVX.TXT");
}

TEST_F(Prns, Port8WritesOnlyTextAndLineEndsWhateverTheEmulation) {
    setParEkt(72, 66, 5, 3, 8, 4);
    PRNS::PRNM P;
    PRNS::TABM T;
    PRNS::PFILE F;
    PRNS::SET_PE(72, P, T, F);
    EXPECT_EQ(P, &PRNS::PRNNONE);
    EXPECT_EQ(T, &PRNS::TAB_NONE);
    P(F, 1);
    P(F, 12);
    T(F, 10);
    F.write("\x80\x81\x82 ABC");
    P(F, 13);
    PRNS::LFE(F, 1);
    P(F, 11);
    P(F, 200);
    F.close();
    // the vertical offset's line feeds, then the text
    EXPECT_EQ(readFile("KART.TXT"), "\r\n\r\n\r\n\x80\x81\x82 ABC\r\n");
}

TEST_F(Prns, ACommandPortGetsTheBytesWhenClosed) {
    writeFile("PORTS.TXT", "LPT1 |cat > piped.out\nLPT2 |cat > /dev/null; exit 3\n");
    PRNS::PFILE F;
    F.assignPort("lpt1");
    F.write(std::string("\x1B@\x80\r\n\x0C", 6));
    EXPECT_FALSE(TESTS::exists("piped.out"));
    EXPECT_TRUE(F.close());
    EXPECT_EQ(readFile("piped.out"), std::string("\x1B@\x80\r\n\x0C", 6));

    // a failing command: reported on the screen, and the printout is kept
    F.assignPort("LPT2");
    F.write("keep me");
    std::string shown;
    con->onIdle = [&] {
        shown = PLAT::cp737ToUtf8(con->text(7, 23, 71));
        con->ch(13);
    };
    EXPECT_FALSE(F.close());
    con->onIdle = nullptr;
    EXPECT_EQ(readFile("drives/ports/LPT2"), "keep me");
    EXPECT_EQ(con->pending(), 0u);
    EXPECT_EQ(shown.substr(0, shown.find_last_not_of(' ') + 1),
              "Αποτυχία εκτύπωσης LPT2 (έξοδος 3): φυλάχτηκε στο drives/ports/LPT2");
    // a command that is not found: its message fits the row too
    writeFile("PORTS.TXT", "com1 |exit 127\n");
    F.assignPort("com1");
    F.write("x");
    con->onIdle = [&] {
        shown = PLAT::cp737ToUtf8(con->text(7, 23, 74));
        con->ch(13);
    };
    EXPECT_FALSE(F.close());
    con->onIdle = nullptr;
    EXPECT_EQ(shown.substr(0, shown.find_last_not_of(' ') + 1),
              "Αποτυχία εκτύπωσης com1 (έξοδος 127): φυλάχτηκε στο drives/ports/com1");
}

// A file that stands for a port keeps every printout: each copy, each print of the day, and a
// printout a failed command left, follow one another in it. A device is written as it is.
TEST_F(Prns, PortFilesKeepEveryPrintout) {
    writeFile("PORTS.TXT", "LPT2 lpt2.out\nLPT3 /dev/null\ncom1 |exit 3\n");
    writeFile("lpt2.out", "earlier ");
    for (const char* port : {"LPT1", "LPT2", "LPT3", "com1"}) {
        for (const char* copy : {"copy 1 ", "copy 2 ", "copy 3"}) {
            PRNS::PFILE F;
            F.assignPort(port);
            F.write(copy);
            con->onIdle = [&] { con->ch(13); };  // the failed command's message
            F.close();
            con->onIdle = nullptr;
        }
    }
    EXPECT_EQ(readFile("drives/ports/LPT1"), "copy 1 copy 2 copy 3");
    EXPECT_EQ(readFile("lpt2.out"), "earlier copy 1 copy 2 copy 3");
    EXPECT_EQ(readFile("drives/ports/com1"), "copy 1 copy 2 copy 3");
    // the files of the program are written whole each time
    for (const char* text : {"first", "second"}) {
        PRNS::PFILE F;
        F.assignFile("KART.TXT");
        F.write(text);
        F.close();
    }
    EXPECT_EQ(readFile("KART.TXT"), "second");
}

TEST_F(Prns, LogoAndLineFeeds) {
    for (int i = 1; i <= 9; ++i) UMAS::LOGOTYPO[size_t(i)] = "L" + std::to_string(i);
    PRNS::PFILE F;
    F.assignFile("out.bin");
    PRNS::LOGO(F);
    PRNS::LFE(F, 0);
    PRNS::LFE(F, 2);
    F.close();
    EXPECT_EQ(readFile("out.bin"), "L1\r\nL2\r\nL3\r\nL4\r\nL5\r\n\r\n\r\n");
    EXPECT_EQ(PRNS::PRINTEROK(F), 0);
}

// ---- Hand-off ------------------------------------------------------------------------------------

TEST_F(Prns, HandOffRunsTheScriptOnceAndRemovesTheSpoolFile) {
    writeFile("prntxt.sh", "cat " + KVX + " >> printed.out\necho run >> runs.out\necho to the log\n");
    PRNS::PFILE F;
    PRNS::SELECTPRI(F, 7);
    F.write("PAGE\r\n");
    F.close();
    EXPECT_TRUE(PRNS::spoolHeld());  // until the hand-off
    UMAS::PRINTUSB();
    EXPECT_FALSE(PRNS::spoolHeld());
    EXPECT_EQ(readFile("printed.out"), "PAGE\r\n");
    EXPECT_EQ(readFile("runs.out"), "run\n");
    EXPECT_FALSE(TESTS::exists("KVX.TXT"));
    EXPECT_NE(readFile("PRNLOG.TXT").find("to the log"), std::string::npos);
    // no spool file: nothing runs
    UMAS::PRINTUSB();
    EXPECT_EQ(readFile("runs.out"), "run\n");
}

TEST_F(Prns, InvoiceHandOffUsesTimTxtAndPrnTimSh) {
    writeFile("PRN_TIM.SH", "cp tim.txt done.out\n");
    writeFile("prntxt.sh", "echo wrong >> wrong.out\n");
    PRNS::PFILE F;
    F.assignFile("tim.txt");
    F.write("INVOICE");
    F.close();
    UMAS::PRINTUSB();  // "kvx.txt" does not exist: nothing
    EXPECT_FALSE(TESTS::exists("wrong.out"));
    UMAS::PRINTUSB_TIM();
    EXPECT_EQ(readFile("done.out"), "INVOICE");
    EXPECT_FALSE(TESTS::exists("tim.txt"));
}

TEST_F(Prns, AFailedHandOffKeepsTheSpoolFileAndSaysSo) {
    struct Case {
        const char* script;  // nullptr: no script
        const char* shows;
    } cases[] = {{"exit 4\n", "(4)"}, {nullptr, "prntxt.sh"}};
    for (const auto& c : cases) {
        std::remove("prntxt.sh");
        if (c.script) writeFile("prntxt.sh", c.script);
        writeFile("kvx.txt", "PRINTOUT");
        bool seen = false;
        con->onIdle = [&] {
            if (con->text(23).find(c.shows) != std::string::npos && con->text(23).find("kvx.txt") != std::string::npos)
                seen = true;
            con->ch(' ');
        };
        UMAS::PRINTUSB();
        con->onIdle = nullptr;
        EXPECT_TRUE(seen) << (c.script ? c.script : "missing script");
        EXPECT_EQ(readFile("kvx.txt"), "PRINTOUT");
        EXPECT_FALSE(PRNS::spoolHeld());
    }
}

TEST_F(Prns, NotepadCopyIsIso8859_7CutTo255AndShownWithTheViewer) {
    writeFile("viewer.sh", "cp \"$1\" viewed.out\n");
    setenv("KORVEX_VIEWER", "sh viewer.sh", 1);
    std::string l300(300, 'x');
    l300[254] = '\x80';
    writeFile("KVX.TXT", std::string("\x80\x81\x82\r\n\xE1\xEA\xE4\xE9\xAA\xE0\r\n") + l300 + "\r\nplain\r\n\x0C");
    UMAS::PRINT_NOTEPAD();
    std::string want = std::string("\xC1\xC2\xC3\r\n\xDC\xB6\xFA\xFE\xF2\xF9\r\n") + std::string(254, 'x') + "\xC1\r\n" +
                       "plain\r\n\x0C\r\n";
    EXPECT_EQ(readFile("Output.txt"), want);
    EXPECT_EQ(readFile("viewed.out"), want);
    EXPECT_FALSE(TESTS::exists("KVX.TXT"));
    unsetenv("KORVEX_VIEWER");
}

TEST_F(Prns, NotepadConversionOfSingleLetters) {
    struct Case {
        uint8_t in, out;
    } cases[] = {
        {0x80, 0xC1}, {0x90, 0xD1}, {0x91, 0xD3}, {0x97, 0xD9}, {0x98, 0xE1}, {0xA8, 0xF1}, {0xA9, 0xF3},
        {0xAA, 0xF2}, {0xAB, 0xF4}, {0xAF, 0xF8}, {0xE0, 0xF9}, {0xE1, 0xDC}, {0xE2, 0xDD}, {0xE3, 0xDE},
        {0xE4, 0xFA}, {0xE5, 0xDF}, {0xE6, 0xFC}, {0xE7, 0xFD}, {0xE8, 0xFB}, {0xE9, 0xFE},
        // accented capitals convert to their true letters
        {0xEA, 0xB6}, {0xEB, 0xB8}, {0xEC, 0xB9}, {0xED, 0xBA}, {0xEE, 0xBC}, {0xEF, 0xBE}, {0xF0, 0xBF},
        // capitals with dialytika; a box-drawing character has no place in ISO 8859-7
        {0xF4, 0xDA}, {0xF5, 0xDB}, {0xC4, '?'},
        {'A', 'A'}, {0x1B, 0x1B},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UMAS::PRINT_NOTEPAD_ISO8859(std::string(1, char(c.in))), std::string(1, char(c.out)))
            << std::hex << int(c.in);
}

// Ctrl-C in the viewer (a pager in the terminal) is the viewer's: the program goes on.
TEST_F(Prns, InterruptInTheViewerDoesNotEndTheProgram) {
    writeFile("viewer.sh", "kill -INT \"$KVX_TEST_PID\"\nsleep 0.1\ncp \"$1\" viewed.out\n");
    setenv("KVX_TEST_PID", std::to_string(getpid()).c_str(), 1);
    setenv("KORVEX_VIEWER", "sh viewer.sh", 1);
    struct sigaction before {};
    sigaction(SIGINT, nullptr, &before);
    writeFile("kvx.txt", "LIST\r\n");
    UMAS::PRINT_NOTEPAD();
    EXPECT_EQ(readFile("viewed.out"), "LIST\r\n");
    struct sigaction after {};
    sigaction(SIGINT, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);  // the program's own handling is back
    unsetenv("KORVEX_VIEWER");
    unsetenv("KVX_TEST_PID");
}

TEST_F(Prns, NotepadWithoutSpoolFileDoesNothing) {
    writeFile("viewer.sh", "echo x > viewed.out\n");
    setenv("KORVEX_VIEWER", "sh viewer.sh", 1);
    UMAS::PRINT_NOTEPAD();
    EXPECT_FALSE(TESTS::exists("viewed.out"));
    EXPECT_FALSE(TESTS::exists("Output.txt"));
    unsetenv("KORVEX_VIEWER");
}

TEST_F(Prns, PrintoutToLpt1ThenHandOffRemovesAStaleSpoolFile) {
    writeFile("prntxt.sh", "echo run >> runs.out\n");
    writeFile("kvx.txt", "stale");
    PRNS::PRNM P;
    PRNS::TABM T;
    PRNS::PFILE F;
    PRNS::SET_PE(1, P, T, F);
    F.write("BODY");
    P(F, 11);
    F.close();
    UMAS::PRINTUSB();
    EXPECT_EQ(readFile("runs.out"), "run\n");
    EXPECT_FALSE(TESTS::exists("kvx.txt"));
    std::string lpt = readFile("drives/ports/LPT1");
    EXPECT_EQ(lpt.substr(lpt.size() - 5), "BODY\x0C");
}

// Two workstations in one working folder: while one holds the spool, the other's printout to
// "KVX.TXT" waits, so the first one's spool file is neither emptied nor mixed.
TEST_F(Prns, ASecondWorkstationWaitsForTheSpoolLock) {
    writeFile("prntxt.sh", "cat " + KVX + " >> printed.out\n");
    setParEkt(1, 66, 0, 0, 7, 0);
    PLAT::File other;
    other.open(PRNS::SPOOL_LOCK_FILE, PLAT::File::CREATE);
    ASSERT_TRUE(PLAT::tryLockFd(other.handle()));
    writeFile("KVX.TXT", "OTHER\r\n");

    std::thread ws([] {
        PRNS::PRNM P;
        PRNS::TABM T;
        PRNS::PFILE F;
        PRNS::SET_PE(1, P, T, F);
        F.write("MINE\r\n");
        F.close();
        UMAS::PRINTUSB();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(readFile("KVX.TXT"), "OTHER\r\n");  // untouched while the other holds the lock
    EXPECT_FALSE(TESTS::exists("printed.out"));
    // the other workstation hands its spool off and releases
    writeFile("printed.out", readFile("KVX.TXT"));
    std::remove("KVX.TXT");
    PLAT::unlockFd(other.handle());
    ws.join();
    EXPECT_EQ(readFile("printed.out"), "OTHER\r\n" + H("1B 40 1B 43 42 1B 41 03 1B 41 0C") + "MINE\r\n");
}

}  // namespace
