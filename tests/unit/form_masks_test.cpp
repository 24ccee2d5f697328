// The declaration form as data: the form checker on the compiled masks, the mask compiler's checks
// of box tables against their drawings, and the mask file refused whole at start.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include "common/umas.h"
#include "declarations/bod.h"
#include "helpers/fixture.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "shell/start.h"

namespace fs = std::filesystem;
using TESTS::readFile;
using TESTS::writeFile;

namespace {

const std::string MSKC = std::string(KORVEX_BINARY_DIR) + "/mskc";
const std::string SOURCES = std::string(KORVEX_SOURCE_DIR) + "/data/masks";

struct Result {
    int rc;
    std::string err;
};

Result compile(const std::string& src, const std::string& out) {
    std::string errFile = out + ".err";
    std::string line = "'" + MSKC + "' compile '" + src + "' '" + out + "' 2>'" + errFile + "'";
    int st = std::system(line.c_str());
    Result r{WIFEXITED(st) ? WEXITSTATUS(st) : -1, readFile(errFile)};
    fs::remove(errFile);
    return r;
}

std::vector<UMAS::CONV> realMasks() { return START::parseMasks(readFile(KORVEX_MSK)); }

// Entry n of the box table in mask t.
uint8_t& entry(std::vector<UMAS::CONV>& m, int t, int n, int k) { return m[size_t(t)].cells()[size_t(n - 1) * 5 + size_t(k - 1)]; }

std::string joined(const std::vector<std::string>& v) {
    std::string s;
    for (const auto& x : v) s += x + "\n";
    return s;
}

}  // namespace

TEST(FormChecker, TheInstalledFormHoldsTogether) {
    auto masks = realMasks();
    EXPECT_EQ(BOD::CHECKFORM(masks), std::vector<std::string>{});
    EXPECT_EQ(BOD::CHECKFORMRECORDS(masks), "");
}

// Box 42 (its code in box 80, on the sheet box 30) is the country of origin, box 43 (its code in
// box 44) the country of destination: so every page that holds them captions them and every help
// line names them, on the main pages and the continuation sheets of all kinds.
TEST(FormChecker, OriginAndDestinationCountriesAreNamedAsTheyAreUsed) {
    auto masks = realMasks();
    const BOD::MSG help = BOD::HELPOF(&masks[BOD::MASK_MES]);
    const struct {
        int table, box;
        const char* help;
    } helps[] = {
        {BOD::MASK_GV, 42, "Χώρα καταγωγής - Tab: κατάλογος χωρών"},
        {BOD::MASK_GV, 80, "Κωδικός χώρας καταγωγής - Tab: κατάλογος χωρών"},
        {BOD::MASK_GV, 43, "Χώρα προορισμού - Tab: κατάλογος χωρών"},
        {BOD::MASK_GV, 44, "Κωδικός χώρας προορισμού - Tab: κατάλογος χωρών"},
        {BOD::MASK_GV_DFK, 42, "Χώρα καταγωγής - Tab: κατάλογος χωρών"},
        {BOD::MASK_GV_DFK, 80, "Κωδικός χώρας καταγωγής - Tab: κατάλογος χωρών"},
        {BOD::MASK_GV_DFK, 43, "Χώρα προορισμού - Tab: κατάλογος χωρών"},
        {BOD::MASK_GV_DFK, 44, "Κωδικός χώρας προορισμού - Tab: κατάλογος χωρών"},
        {BOD::MASK_GB, 30, "Κωδικός χώρας καταγωγής - Tab: κατάλογος χωρών"},
        {BOD::MASK_GB_DFK, 30, "Κωδικός χώρας καταγωγής - Tab: κατάλογος χωρών"},
    };
    for (const auto& h : helps) {
        const BOD::GGV g = BOD::TABLEOF(&masks[size_t(h.table)]);
        EXPECT_EQ(help.line(g.HLP(h.box)), PLAT::gr(h.help)) << "mask " << h.table << ", box " << h.box;
    }
    // The captions on the main page stand right before their boxes.
    const BOD::SCB page = BOD::PAGEOF(&masks[BOD::MASK_DIA], BOD::PAGE_ROWS);
    const BOD::GGV g = BOD::TABLEOF(&masks[BOD::MASK_GV]);
    const struct {
        int box;
        const char* caption;
    } captions[] = {{42, "42 ΚΑΤΑΓ "}, {80, "80 ΚΑΤΑΓ "}, {43, "43 ΠΡΟΟΡ     "}};
    for (const auto& c : captions) {
        const std::string want = PLAT::gr(c.caption);
        std::string got;
        for (int col = g.COL(c.box) - int(want.size()); col < g.COL(c.box); ++col)
            got += char(page.CCH(g.ROW(c.box), col));
        EXPECT_EQ(got, want) << "box " << c.box;
    }
}

// Each damage to a compiled form is found and named.
TEST(FormChecker, FindsEveryBrokenConstraint) {
    struct Case {
        const char* what;
        void (*damage)(std::vector<UMAS::CONV>&);
        const char* expect;  // a regular expression one problem matches
    } cases[] = {
        {"box 16 blank-filled", [](auto& m) { entry(m, 62, 16, 4) = BOD::TY_NUM; }, "main page .*box 16 .*input type 1"},
        {"sheet box 1 three cells", [](auto& m) { entry(m, 72, 1, 3) = 3; }, "continuation sheet .*box 1 .*length 3"},
        {"excise sheet box 3 a plain number", [](auto& m) { entry(m, 119, 3, 4) = BOD::TY_NUM; },
         "excise continuation sheet .*box 3 "},
        {"a rate box of a number type", [](auto& m) { entry(m, 62, 103, 4) = BOD::TY_SIGNED; },
         "box 103 \\(tax rate\\) may carry more than two decimals"},
        {"a sheet base box of a number type", [](auto& m) { entry(m, 72, 52, 4) = BOD::TY_NUM; },
         "box 52 \\(tax base\\) may carry"},
        {"the % cell inside a box", [](auto& m) { entry(m, 62, 103, 3) = 9; }, "\"%\" cell of tax line 1 .* lies in box 103"},
        {"boxes overlapping", [](auto& m) { entry(m, 62, 2, 1) = entry(m, 62, 1, 1); entry(m, 62, 2, 2) = entry(m, 62, 1, 2); },
         "boxes 1 and 2 overlap"},
        {"reading order broken", [](auto& m) { std::swap(entry(m, 62, 40, 2), entry(m, 62, 41, 2)); std::swap(entry(m, 62, 40, 1), entry(m, 62, 41, 1)); },
         "box 41 lies before box 40"},
        {"a value row over column 65", [](auto& m) { entry(m, 62, 148, 3) = 40; }, "column-65 mark of value row 1"},
        {"a box past column 80", [](auto& m) { entry(m, 62, 1, 1) = 75; }, "box 1 .*does not fit"},
        {"a box below the page", [](auto& m) { entry(m, 108, 289, 2) = 106; }, "box 289 .*does not fit the excise main page"},
        {"a front box in the view's rows", [](auto& m) { entry(m, 62, 207, 2) = 120; }, "box 207 lies on row 120"},
        {"a view box above the view", [](auto& m) { entry(m, 62, 208, 2) = 10; }, "box 208 lies on row 10"},
        {"a sheet box of the upper part below row 42", [](auto& m) { entry(m, 52 + 20, 128, 2) = 50; }, "box 128 lies on row 50"},
        {"the date box free text", [](auto& m) { entry(m, 62, 8, 4) = BOD::TY_TEXT; }, "box 8 \\(date\\) has input type 0"},
        {"type 7 on the sheet", [](auto& m) { entry(m, 72, 128, 4) = BOD::TY_CODE; }, "box 128 has input type 7"},
        {"a help number beyond 84", [](auto& m) { entry(m, 62, 5, 5) = 85; }, "box 5 .*help 85"},
        {"an unused sheet entry set", [](auto& m) { entry(m, 72, 200, 1) = 1; }, "entry 200 is not used by the sheet"},
        {"text standing in a box of the empty form", [](auto& m) { m[3].cells()[2 * (1 * 80 + 17)] = 'X'; },
         "box 1 is not blank"},
        {"help line 0 not blank", [](auto& m) { m[73].cells()[0] = 1, m[73].cells()[1] = 'x'; }, "help line 0 is not blank"},
        {"a help line too long", [](auto& m) { m[73].cells()[75 * 9] = 72; }, "help line 9 has 72 characters"},
        {"the view's statistical value outside box 268", [](auto& m) { entry(m, 62, 268, 3) = 20; }, "box 268 does not hold columns 29..38"},
        {"a missing page image", [](auto& m) { m[107].raw.resize(8 + 160); m[107].raw[6] = 1; }, "mask 107 .*needs 80 x 105"},
        {"a short box table", [](auto& m) { m[119].raw.resize(8 + 1000); m[119].raw[6] = 1; m[119].raw[4] = 250; },
         "mask 119 .*holds 1000 bytes"},
    };
    const auto good = realMasks();
    for (const auto& c : cases) {
        auto m = good;
        c.damage(m);
        auto problems = BOD::CHECKFORM(m);
        std::regex re(c.expect);
        bool found = false;
        for (const auto& p : problems) found = found || std::regex_search(p, re);
        EXPECT_TRUE(found) << c.what << ":\n" << joined(problems);
    }
}

// ---- The mask compiler checks a table against its drawing --------------------------------------

class FormSources : public ::testing::Test {
protected:
    void SetUp() override {
        work = std::make_unique<TESTS::TempWorkDir>();
        fs::create_directories(work->file("src"));
    }
    std::string src() { return work->file("src"); }
    std::unique_ptr<TESTS::TempWorkDir> work;
};

TEST_F(FormSources, TablesMustMatchTheirDrawing) {
    const std::string page = "mask 3\nrect 1 1 80 3\ndata\nfield ·\ntext\n|1 ·····  2 ···\n|\n|3 ··\nend\n";
    struct Case {
        const char* table;
        const char* expect;
    } cases[] = {
        {"1 3 1 5 0 0\n2 12 1 3 0 0\n", "field cell at column 3 of row 3 belongs to no box"},
        {"1 3 1 6 0 0\n2 12 1 3 0 0\n3 3 3 2 0 0\n", "box 1: column 8 of row 1 is not a field cell"},
        {"1 3 1 5 0 0\n2 13 1 3 0 0\n", "box 2: column 15 of row 1 is not a field cell"},
        {"1 3 1 5 0 0\n2 12 1 3 0 0\n3 3 4 2 0 0\n", "box 3 lies outside the page image"},
        {"1 3 1 5 0 0\n3 12 1 3 0 0\n", "box 3 where box 2 comes next"},
        {"1 3 1 5 0 0\n2 3 1 3 0 0\n", "box 2 overlaps box 1"},
        {"1 3 1 5 8 0\n", "input type 8 is not 0..7"},
        {"1 3 1 5 0 85\n", "help 85 is not 0..84"},
        {"1 79 1 5 0 0\n", "does not lie within columns 1..80"},
    };
    writeFile(src() + "/003.msk.txt", page);
    for (const auto& c : cases) {
        writeFile(src() + "/062.msk.txt", std::string("mask 62\nrect 1 1 80 10\ndata\nboxes 3\n") + c.table + "end\n");
        Result r = compile(src(), work->file("K.MSK"));
        EXPECT_EQ(r.rc, 1) << c.table;
        EXPECT_NE(r.err.find(c.expect), std::string::npos) << c.table << "\n" << r.err;
    }
    // A matching table compiles its entries as 5 bytes each, the rest zero; the drawing's box
    // cells become blanks.
    writeFile(src() + "/062.msk.txt",
              "mask 62\nrect 1 1 80 10\ndata\nboxes 3\n# box col row len type help\n1 3 1 5 1 7  number\n2 12 1 3 2 0\n3 3 3 2 3 84\nend\n");
    Result r = compile(src(), work->file("K.MSK"));
    // The rest of the form is missing, so the form check refuses the file, but only after the
    // table matched its drawing.
    EXPECT_EQ(r.rc, 1);
    EXPECT_NE(r.err.find("the declaration form does not hold together"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("mask 52 (continuation sheet image) is 1 x 1"), std::string::npos) << r.err;
}

TEST_F(FormSources, HelpLinesAreCheckedAndPacked) {
    std::string greek72;
    for (int i = 0; i < 72; ++i) greek72 += "Ω";
    struct Case {
        std::string body;
        const char* expect;
    } cases[] = {
        {"85 x\n", "help: a line starts with its number 0..84"},
        {"1 a\n1 b\n", "help line 1 given twice"},
        {"2 " + greek72 + "\n", "help line of 72 characters"},
        {"3 €\n", "not in code page 737"},
    };
    for (const auto& c : cases) {
        writeFile(src() + "/073.msk.txt", "mask 73\nrect 1 1 80 40\ndata\nhelp\n" + c.body + "end\n");
        Result r = compile(src(), work->file("K.MSK"));
        EXPECT_EQ(r.rc, 1) << c.body;
        EXPECT_NE(r.err.find(c.expect), std::string::npos) << c.body << "\n" << r.err;
    }
    writeFile(src() + "/073.msk.txt", "mask 73\nrect 1 1 80 39\ndata\nhelp\n0\nend\n");
    Result r = compile(src(), work->file("K.MSK"));
    EXPECT_NE(r.err.find("help lines need 6375 bytes"), std::string::npos) << r.err;
}

// The real sources with one constraint broken do not compile.
TEST_F(FormSources, TheRealSourcesRefuseABrokenForm) {
    for (const auto& e : fs::directory_iterator(SOURCES)) fs::copy_file(e.path(), src() + "/" + e.path().filename().string());
    ASSERT_EQ(compile(src(), work->file("K.MSK")).rc, 0);
    EXPECT_EQ(readFile(work->file("K.MSK")), readFile(KORVEX_MSK));
    // Box 16 of the excise main page made a plain number.
    std::string t = readFile(src() + "/108.msk.txt");
    std::smatch m;
    std::regex line16("\n( +16 +\\d+ +\\d+ +2) +3 ");
    ASSERT_TRUE(std::regex_search(t, m, line16));
    t.replace(size_t(m.position(0)), size_t(m.length(0)), "\n" + m[1].str() + "     1 ");
    writeFile(src() + "/108.msk.txt", t);
    Result r = compile(src(), work->file("K2.MSK"));
    EXPECT_EQ(r.rc, 1);
    EXPECT_NE(r.err.find("excise main page (mask 108): box 16 (number of forms, as sheet box 1) has input type 1"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(work->file("K2.MSK")));
}

// "mskc check" gives an installation the same verdict on a mask file it built another way.
TEST_F(FormSources, CheckCommandJudgesAMaskFile) {
    auto run = [&](const std::string& file) {
        std::string errFile = work->file("check.err");
        int st = std::system(("'" + MSKC + "' check '" + file + "' 2>'" + errFile + "'").c_str());
        return Result{WIFEXITED(st) ? WEXITSTATUS(st) : -1, readFile(errFile)};
    };
    Result ok = run(KORVEX_MSK);
    EXPECT_EQ(ok.rc, 0) << ok.err;
    std::string bytes = readFile(KORVEX_MSK);
    writeFile(work->file("SHORT.MSK"), bytes.substr(0, 1000));
    Result cut = run(work->file("SHORT.MSK"));
    EXPECT_EQ(cut.rc, 1);
    EXPECT_NE(cut.err.find("is cut short"), std::string::npos) << cut.err;
    // Box 16 of the main table made a plain number: loadable, but not the form the program needs.
    auto masks = START::parseMasks(bytes);
    size_t off = 0;
    for (int i = 1; i < 62; ++i) off += masks[size_t(i)].raw.size();
    bytes[off + 8 + 15 * 5 + 3] = char(BOD::TY_NUM);
    writeFile(work->file("BAD.MSK"), bytes);
    Result bad = run(work->file("BAD.MSK"));
    EXPECT_EQ(bad.rc, 1);
    EXPECT_NE(bad.err.find("box 16 (number of forms, as sheet box 1) has input type 1"), std::string::npos) << bad.err;
}

// ---- The mask file at start --------------------------------------------------------------------

TEST(MaskFileCheck, RefusesWhatTheProgramCannotUse) {
    const std::string good = readFile(KORVEX_MSK);
    ASSERT_EQ(START::CHECKMASKS(good), "");
    auto masks = START::parseMasks(good);
    // Offset of mask n in the file.
    auto offset = [&](int n) {
        size_t off = 0;
        for (int i = 1; i < n; ++i) off += masks[size_t(i)].raw.size();
        return off;
    };
    auto setWord = [](std::string s, size_t at, int v) {
        s[at] = char(v & 0xFF), s[at + 1] = char(v >> 8);
        return s;
    };
    std::string shortTable = good;
    {
        // Box 289 of the main table on row 200.
        size_t at = offset(62) + 8 + 288 * 5 + 1;
        shortTable[at] = char(200);
    }
    struct Case {
        std::string bytes;
        const char* expect;
    } cases[] = {
        {"", "holds 0 masks; the program needs 135"},
        {good.substr(0, offset(100)), "holds 99 masks; the program needs 135"},
        {good.substr(0, offset(100) + 5), "mask 100 is cut short"},
        {good.substr(0, offset(135) + 5), "mask 135 is cut short"},
        {good.substr(0, good.size() - 1), "mask 135 is cut short"},
        {good + "x", ""},  // a final odd byte is ignored
        {good + "xy", "2 bytes follow mask 135"},
        {setWord(good, offset(4) + 6, 26), "mask 4 has the corners"},        // a screen mask of 26 rows
        {setWord(good, offset(4) + 4, 81), "mask 4 has the corners"},        // past column 80
        {setWord(good, offset(4) + 0, 0), "mask 4 has the corners"},         // column 0
        {setWord(good, offset(9) + 4, 0), "mask 9 has the corners"},         // inverted
        {shortTable, "mask 62: box 289 (column"},
    };
    for (const auto& c : cases) {
        std::string why = START::CHECKMASKS(c.bytes);
        if (!*c.expect) {
            EXPECT_EQ(why, "");
            continue;
        }
        EXPECT_NE(why.find(c.expect), std::string::npos) << "'" << why << "' for " << c.expect;
        EXPECT_EQ(why.find('\n'), std::string::npos);
    }
}

TEST(MaskFileCheck, StartRefusesATruncatedFileWithOneLine) {
    TESTS::TempWorkDir work;
    TESTS::headless();
    PLAT::setThrowOnExit(true);
    fs::create_directories(work.file("ARXEIO0"));
    const std::string good = readFile(KORVEX_MSK);
    writeFile(work.file("KORVEX.MSK"), good.substr(0, good.size() / 2));
    UMAS::MPR.clear();
    try {
        START::ARXI();
        FAIL() << "a truncated mask file was loaded";
    } catch (const PLAT::ProgramExit& e) {
        EXPECT_EQ(e.code, 2);
        EXPECT_NE(e.message.find("KORVEX.MSK"), std::string::npos) << e.message;
        EXPECT_NE(e.message.find("is cut short"), std::string::npos) << e.message;
        EXPECT_EQ(e.message.find('\n'), std::string::npos) << e.message;
    }
    EXPECT_TRUE(UMAS::MPR.empty());  // nothing of it is used
    // The lock taken for the load is free again.
    EXPECT_EQ(readFile(work.file("ARXEIO0/FMAS.DAT")), std::string(1, '\0'));
    UMAS::releaseAllLocks();
}
