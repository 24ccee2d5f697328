// The mask file: the compiler and decompiler (tools/mskc), the loader, the start-up routine, and
// the fixed positions that the screens rely on in the real masks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "common/umas.h"
#include "helpers/fixture.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/fatal.h"
#include "shell/start.h"

namespace fs = std::filesystem;
using TESTS::readFile;
using TESTS::writeFile;

namespace {

const std::string MSKC = std::string(KORVEX_BINARY_DIR) + "/mskc";

struct Result {
    int rc;
    std::string err;
};

Result mskc(const std::string& cmd, const std::string& a, const std::string& b) {
    std::string errFile = b + ".err";
    std::string line = "'" + MSKC + "' " + cmd + " '" + a + "' '" + b + "' 2>'" + errFile + "'";
    int st = std::system(line.c_str());
    Result r{WIFEXITED(st) ? WEXITSTATUS(st) : -1, readFile(errFile)};
    fs::remove(errFile);
    return r;
}

std::string cp(const std::string& utf8) { return PLAT::utf8ToCp737(utf8); }

// Corners and cells of a mask as the file holds them.
std::string maskImage(int x1, int y1, int x2, int y2, const std::string& cells) {
    std::string s;
    for (int v : {x1, y1, x2, y2}) s += char(v & 0xFF), s += char(v >> 8);
    return s + cells;
}

class MaskCompiler : public ::testing::Test {
protected:
    void SetUp() override { work = std::make_unique<TESTS::TempWorkDir>(); }
    std::string dir(const std::string& name) {
        fs::create_directories(work->file(name));
        return work->file(name);
    }
    std::unique_ptr<TESTS::TempWorkDir> work;
};

}  // namespace

// The real sources compile to 135 masks; decompiling and compiling again gives the same bytes.
TEST_F(MaskCompiler, RealMasksRoundTripByteForByte) {
    std::string a = work->file("A.MSK"), b = work->file("B.MSK"), out = work->file("dec");
    ASSERT_EQ(mskc("compile", std::string(KORVEX_SOURCE_DIR) + "/data/masks", a).rc, 0);
    std::string bytes = readFile(a);
    auto masks = START::parseMasks(bytes);
    ASSERT_EQ(masks.size(), size_t(UMAS::MASKS + 1));
    size_t total = 0;
    for (size_t n = 1; n < masks.size(); ++n) total += masks[n].raw.size();
    EXPECT_EQ(total, bytes.size());

    Result d = mskc("decompile", a, out);
    ASSERT_EQ(d.rc, 0) << d.err;
    ASSERT_EQ(mskc("compile", out, b).rc, 0);
    EXPECT_TRUE(readFile(a) == readFile(b));
}

// What the sources cannot say in text and colors (character 0, more attributes than keys, binary
// data in a tall data mask) still survives the round trip through raw sections.
TEST_F(MaskCompiler, HardMasksRoundTripThroughRawSections) {
    std::string src = dir("src");
    // 100 distinct attributes, a character 0 and arrows on an otherwise drawn screen mask.
    std::string raw = "raw 160\n";
    for (int i = 0; i < 100; ++i) {
        char h[8];
        std::snprintf(h, sizeof h, "41 %02X\n", i);
        raw += h;
    }
    writeFile(src + "/010.msk.txt", "mask 10\nrect 1 1 80 3\ndefault 1F\ntext\n|╔═ ΤΙΤΛΟΣ ↑↓→\n|x\n|\nend\n" + raw +
                                        "end\nraw 380\n00 07\nend\n");
    // A data mask of 30 rows holding records.
    std::string bin = "raw 0\n";
    for (int i = 0; i < 2 * 80 * 30; ++i) {
        char h[4];
        std::snprintf(h, sizeof h, "%02X ", (i * 37) & 0xFF);
        bin += h;
        if (i % 32 == 31) bin += "\n";
    }
    writeFile(src + "/062.msk.txt", "mask 62\nrect 1 1 80 30\ndata\n" + bin + "\nend\n");

    std::string a = work->file("A.MSK"), b = work->file("B.MSK");
    Result c = mskc("compile", src, a);
    ASSERT_EQ(c.rc, 0) << c.err;
    auto masks = START::parseMasks(readFile(a));
    ASSERT_EQ(masks.size(), size_t(UMAS::MASKS + 1));
    const UMAS::CONV& m10 = masks[10];
    EXPECT_EQ(m10.cells()[20], 24);  // the arrow up
    EXPECT_EQ(m10.cells()[160], 0x41);
    EXPECT_EQ(m10.cells()[160 + 2 * 99 + 1], 99);
    EXPECT_EQ(m10.cells()[380], 0);  // row 3, column 31: character 0
    EXPECT_EQ(masks[62].H(), 30);

    ASSERT_EQ(mskc("decompile", a, work->file("dec")).rc, 0);
    Result c2 = mskc("compile", work->file("dec"), b);
    ASSERT_EQ(c2.rc, 0) << c2.err;
    EXPECT_TRUE(readFile(a) == readFile(b));
}

// Numbers without a source are one blank cell at (1,1), attribute 07: 10 bytes each.
TEST_F(MaskCompiler, PlaceholdersAreOneCellOfTenBytes) {
    std::string src = dir("src");
    writeFile(src + "/007.msk.txt", "mask 7\nrect 3 4 3 4\ndefault 4F\ntext\n|Α\nend\n");
    std::string a = work->file("A.MSK");
    ASSERT_EQ(mskc("compile", src, a).rc, 0);
    std::string bytes = readFile(a);
    ASSERT_EQ(bytes.size(), size_t(135 * 10));
    EXPECT_EQ(bytes.substr(0, 10), maskImage(1, 1, 1, 1, std::string(" \x07", 2)));
    EXPECT_EQ(bytes.substr(60, 10), maskImage(3, 4, 3, 4, cp("Α") + "\x4F"));
}

// default, then fills, then colors, then text, then raw; the arrows are the characters 24-26.
TEST_F(MaskCompiler, LayersApplyInOrder) {
    std::string src = dir("src");
    writeFile(src + "/005.msk.txt",
              "# layers\nmask 5   # five\nrect 11 3 16 4\ndefault 1F\nkey a 4F\nkey B 70\nfill 11 4 13 4 3E\n"
              "text\n|↑↓→ Ω\n|ab\nend\ncolors\n|a.B\n|\nend\nraw 10\n00 07\nend\n");
    std::string a = work->file("A.MSK");
    Result r = mskc("compile", src, a);
    ASSERT_EQ(r.rc, 0) << r.err;
    const UMAS::CONV m = START::parseMasks(readFile(a))[5];
    ASSERT_EQ(m.raw.size(), size_t(8 + 2 * 12));
    const std::string want = std::string("\x18\x4F\x19\x1F\x1A\x70 \x1F", 8) + cp("Ω") + "\x1F" +
                             std::string("\x00\x07", 2) + "a\x3E" "b\x3E" " \x3E" " \x1F" " \x1F" " \x1F";
    EXPECT_EQ(std::string(m.raw.begin() + 8, m.raw.end()), want);
    EXPECT_EQ(m.X1(), 11);
    EXPECT_EQ(m.Y2(), 4);
}

// Faulty sources are refused with the file and line named; no mask file is written.
TEST_F(MaskCompiler, RefusesFaultySources) {
    struct Case {
        std::string source, expect;
    } cases[] = {
        {"mask 9\nrect 1 1 10 2\ntext\n|ok\n|café\nend\n", "bad.msk.txt:5: character U+00E9 'é' is not in code page 737"},
        {"mask 9\nrect 1 1 80 26\n", "bad.msk.txt:2: rect reaches row 26"},
        {"mask 9\nrect 1 1 81 2\n", "bad.msk.txt:2: rect reaches column 81"},
        {"mask 9\nrect 1 1 80 256\ndata\n", "bad.msk.txt:2: rect reaches row 256"},
        {"mask 136\nrect 1 1 1 1\n", "bad.msk.txt:1: mask number 136"},
        {"mask 9\nrect 1 1 3 1\ntext\n|ΑΒΓΔ\nend\n", "bad.msk.txt:4: text line of 4 cells; the mask is 3 wide"},
        {"mask 9\nrect 1 1 3 2\ntext\n|Α\nend\n", "bad.msk.txt:5: text block of 1 lines; the mask has 2 rows"},
        {"mask 9\nrect 1 1 3 1\ncolors\n|.x\nend\n", "bad.msk.txt:4: colors: no key 'x' declared"},
        {"mask 9\nrect 1 1 3 1\nraw 5\n00 00\nend\n", "bad.msk.txt:3: raw bytes 5..6 beyond the mask's 6 cell bytes"},
        {"mask 9\nrect 1 1 3 1\nfill 1 1 4 1 1F\n", "bad.msk.txt:3: fill rectangle outside"},
        {"mask 9\nrect 1 1 3 1\ntext\n|Α\n", "block not closed"},
        {"rect 1 1 3 1\n", "no 'mask' line"},
        {"mask 9\nrect 1 1 3 1\nshadow\n", "bad.msk.txt:3: unknown line 'shadow'"},
    };
    for (const auto& c : cases) {
        std::string src = work->file("case");
        fs::remove_all(src);
        fs::create_directories(src);
        writeFile(src + "/bad.msk.txt", c.source);
        std::string out = work->file("OUT.MSK");
        Result r = mskc("compile", src, out);
        EXPECT_EQ(r.rc, 1) << c.source;
        EXPECT_NE(r.err.find(c.expect), std::string::npos) << "got: " << r.err;
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST_F(MaskCompiler, RefusesDuplicateNumbers) {
    std::string src = dir("src");
    writeFile(src + "/004.msk.txt", "mask 4\nrect 1 1 1 1\n");
    writeFile(src + "/005.msk.txt", "mask 4\nrect 2 2 2 2\n");
    Result r = mskc("compile", src, work->file("OUT.MSK"));
    EXPECT_EQ(r.rc, 1);
    EXPECT_NE(r.err.find("mask 4 is also defined in"), std::string::npos) << r.err;
}

// ---- Loader -------------------------------------------------------------------------------------

TEST(MaskLoader, KeepsCompleteMasksOnly) {
    const std::string a = maskImage(1, 1, 1, 1, " \x07");
    const std::string b = maskImage(2, 3, 4, 3, "ABCDEF");
    struct Case {
        std::string bytes;
        size_t masks;
    } cases[] = {
        {"", 0},
        {a + b, 2},
        {a + b + "x", 2},                         // a final odd byte
        {a + b.substr(0, 11), 1},                 // a final incomplete mask
        {a + b.substr(0, 7), 1},                  // not even the corners
        {a + maskImage(5, 1, 4, 1, "") + b, 1},   // inverted corners end the usable part
    };
    for (const auto& c : cases) {
        auto m = START::parseMasks(c.bytes);
        ASSERT_EQ(m.size(), c.masks + 1) << c.bytes.size();
        EXPECT_TRUE(m[0].raw.empty());
        if (c.masks >= 2) {
            EXPECT_EQ(m[2].X1(), 2);
            EXPECT_EQ(m[2].W(), 3);
            EXPECT_EQ(std::string(m[2].raw.begin() + 8, m[2].raw.end()), "ABCDEF");
        }
    }
    std::string many;
    for (int i = 0; i < 140; ++i) many += maskImage(1 + i % 80, 1, 1 + i % 80, 1, " \x07");
    auto m = START::parseMasks(many);
    ASSERT_EQ(m.size(), size_t(136));
    EXPECT_EQ(m[135].X1(), 1 + 134 % 80);
}

TEST(MaskLoader, MissingMaskFileIsFatal) {
    TESTS::TempWorkDir work;
    PLAT::setThrowOnExit(true);
    std::vector<UMAS::CONV> mp;
    EXPECT_THROW(START::RMASK(mp, "KORVEX.MSK"), PLAT::ProgramExit);
}

// ---- Start-up -----------------------------------------------------------------------------------

class Arxi : public ::testing::Test {
protected:
    void SetUp() override {
        PLAT::setThrowOnExit(true);
        work = std::make_unique<TESTS::TempWorkDir>();
        con = &TESTS::headless();
        fs::copy_file(KORVEX_MSK, work->file("KORVEX.MSK"));
        fs::create_directories(work->file("ARXEIO0"));
        UMAS::MPR.clear();
    }
    void TearDown() override {
        UMAS::releaseAllLocks();
        work.reset();
    }
    std::unique_ptr<TESTS::TempWorkDir> work;
    PLAT::HeadlessConsole* con = nullptr;
};

TEST_F(Arxi, BlanksScreenLoadsMasksAndCreatesRate) {
    con->cells[3][4] = PLAT::Cell{'X', 0x4F};
    START::ARXI();
    EXPECT_EQ(UMAS::CRP, &con->cells);
    for (int y = 1; y <= 25; ++y)
        for (int x = 1; x <= 80; ++x) ASSERT_EQ(con->cells[y - 1][x - 1], (PLAT::Cell{' ', 15}));
    EXPECT_GE(con->refreshes, 1);
    ASSERT_EQ(UMAS::MPR.size(), size_t(136));
    EXPECT_EQ(UMAS::mask(4)->Y2(), 24);
    EXPECT_DOUBLE_EQ(UMAS::RAEE, 0.156275);
    EXPECT_EQ(readFile(work->file("RAEE.TXT")), " 1.5627500000000000E-0001\r\n");
    // The lock was taken in ARXEIO0 and is free again.
    EXPECT_EQ(readFile(work->file("ARXEIO0/FMAS.DAT")), std::string(1, '\0'));

    // The next start reads the file it wrote.
    UMAS::RAEE = 0;
    START::ARXI();
    EXPECT_DOUBLE_EQ(UMAS::RAEE, 0.156275);
}

TEST_F(Arxi, ReadsFirstNumberOfRateFile) {
    writeFile(work->file("raee.txt"), " 0.25 ρυθμός\r\n0.9\r\n");
    START::ARXI();
    EXPECT_DOUBLE_EQ(UMAS::RAEE, 0.25);
    EXPECT_EQ(readFile(work->file("raee.txt")), " 0.25 ρυθμός\r\n0.9\r\n");
}

TEST_F(Arxi, UsesDatabasePathForTheLock) {
    fs::create_directories(work->file("DB/ARXEIO0"));
    writeFile(work->file("DATABASE.TXT"), "DB\\\r\n");
    START::ARXI();
    EXPECT_TRUE(fs::exists(work->file("DB/ARXEIO0/FMAS.DAT")));
}

TEST_F(Arxi, MissingMaskFileIsFatal) {
    fs::remove(work->file("KORVEX.MSK"));
    EXPECT_THROW(START::ARXI(), PLAT::ProgramExit);
}

// ---- The real masks keep the cells the screens write on ----------------------------------------

TEST(RealMasks, FitTheFixedPositions) {
    auto masks = START::parseMasks(readFile(KORVEX_MSK));
    ASSERT_EQ(masks.size(), size_t(136));
    auto cell = [&](int n, int x, int y, bool attr) -> int {
        UMAS::CONV& m = masks[size_t(n)];
        if (x < m.X1() || x > m.X2() || y < m.Y1() || y > m.Y2()) return -1;
        return attr ? m.at(x - m.X1(), y - m.Y1()) : m.ch(x - m.X1(), y - m.Y1());
    };
    // Mask 2: the legend row.
    EXPECT_EQ(masks[2].raw.size(), size_t(8 + 160));
    EXPECT_EQ(cell(2, 1, 25, false), ' ');
    // Mask 4: nine entries on the bar cells, 0x4F; the company name row.
    const char* entries[] = {"1. ΕΙΣΑΓΩΓΕΣ", "2. ΕΞΑΓΩΓΕΣ", "3. ΔΙΑΜΕΤΑΚΟΜΙΣΗ", "4. ΑΠΟΘΗΚΕΥΣΗ", "5. ΕΙΔΙΚΟΙ ΦΟΡΟΙ",
                             "6. ΤΙΜΟΛΟΓΙΑ", "7. ΠΕΛΑΤΕΣ", "8. ΚΩΔΙΚΟΠΟΙΗΣΕΙΣ", "9. ΠΑΡΑΜΕΤΡΟΙ"};
    EXPECT_LE(masks[4].Y2(), 24);  // row 25 is the legend's
    for (int i = 0; i < 9; ++i) {
        int y = 5 + 2 * i;
        std::string row;
        for (int x = 25; x <= 54; ++x) {
            EXPECT_EQ(cell(4, x, y, true), 0x4F) << x << "," << y;
            row += char(cell(4, x, y, false));
        }
        EXPECT_NE(row.find(cp(entries[i])), std::string::npos) << i;
    }
    EXPECT_GE(cell(4, 40, 1, true), 0);
    // Mask 88: version cells, the list and its bar 0x1F.
    EXPECT_GE(cell(88, 66, 2, true), 0);
    for (int y = 7; y <= 14; ++y)
        for (int x = 17; x <= 62; ++x) EXPECT_EQ(cell(88, x, y, true), 0x1F) << x << "," << y;
    // Mask 86: the cursor cell lies inside the box.
    EXPECT_EQ(cell(86, 48, 13, false), ' ');
    // Mask 90: the five fields are blank cells of the mask.
    struct F { int x, y, w; } fields[] = {{56, 7, 2}, {56, 9, 2}, {56, 11, 2}, {56, 15, 1}, {56, 19, 1}};
    for (auto f : fields)
        for (int x = f.x; x < f.x + f.w; ++x) EXPECT_EQ(cell(90, x, f.y, false), ' ') << x << "," << f.y;
    // Every screen mask fits the screen.
    for (size_t n = 1; n < masks.size(); ++n)
        if (masks[n].Y2() <= 25) {
            EXPECT_GE(masks[n].X1(), 1);
            EXPECT_LE(masks[n].X2(), 80) << n;
        }
}
