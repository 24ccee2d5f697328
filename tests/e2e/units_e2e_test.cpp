// The real program in a terminal: a supplementary-units code below 10 picked with Tab into box 89
// of an import, then the segment run (Shift-F2) and the excise run of spirits (Shift-F3) over it.
// Both take the code as the list shows it and write it without an error line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "e2e/demo_e2e.h"
#include "platform/codepage.h"

namespace {

// The lines of a UTF-8 source file of the demo.
std::vector<std::string> demoLines(const std::string& rel) {
    std::vector<std::string> out;
    const std::string s = TESTS::readFile(std::string(KORVEX_SOURCE_DIR) + "/data/demo/tables/" + rel);
    for (size_t at = 0; at < s.size();) {
        size_t e = s.find('\n', at);
        if (e == std::string::npos) e = s.size();
        out.push_back(s.substr(at, e - at));
        at = e + 1;
    }
    return out;
}

TEST(UnitsEndToEnd, ACodeBelowTenPickedIntoBox89PassesTheSegmentAndTheExciseRun) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    DEMOE2E::install(work, "41");
    // The demo's supplementary units, and its declaration table with the rows of the units code and
    // quantity in the goods block (the excise table of the demo has them already).
    TESTS::writeFile(work.file("DATABASE/ARXEIO0/MON.DAT"), INSTALL::codeTableImage("MON", demoLines("MON.txt")));
    std::vector<std::string> pardisk = demoLines("eformats/PARDISK.txt");
    pardisk.push_back("110|890|ΚΩΔ.ΣΥΜΠΛ.ΜΟΝΑΔΩΝ||..2|N|");
    pardisk.push_back("111|89|ΣΥΜΠΛ.ΜΟΝΑΔΕΣ||..15|ν|");
    TESTS::writeFile(work.file("DATABASE/ARXEIO0/NPARDISK.dat"), INSTALL::fieldTableImage(pardisk));

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(DEMOE2E::newDeclaration(t, "1", "ΕΙΣΑΓΩΓΗΣ", "500")) << t.screen();
    ASSERT_TRUE(DEMOE2E::fillTo(t, "αα  89",
                                {{"αα   2", "IM A"}, {"αα   3", "41"}, {"αα  11", "GR123456789"}, {"αα  12", "ACME"},
                                 {"αα  13", "ACME"}, {"αα  14", "ACME"}, {"αα  16", "1"}, {"αα  18", "1"},
                                 {"αα  20", "42"}, {"αα  22", "BUYER LTD"}, {"αα  23", "1 HIGH STREET"},
                                 {"αα  24", "LONDON"}, {"αα  72", "OINOS"}, {"αα  79", "22042110 00"},
                                 {"αα  84", "4000"}}))
        << t.screen();
    // The third unit of the list, "03     ΛΙΤΡΑ", then the quantity typed after the colon.
    t.keys("Tab");
    ASSERT_TRUE(t.waitFor("ΛΙΤΡΑ")) << t.screen();
    t.keys("Down");
    t.keys("Down");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("ΜΟΝΑΔΕΣ 03:")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα  90")) << t.screen();
    t.keys("Up");
    ASSERT_TRUE(t.waitFor("αα  89")) << t.screen();
    for (const char* k : {"Home", "Right", "Right", "Right"}) t.keys(k);
    t.text("120");
    ASSERT_TRUE(t.waitFor("ΜΟΝΑΔΕΣ 03:120")) << t.screen();
    // The consignee's EORI number last: the consignee's name look-up of box 22 empties box 21.
    for (int i = 0; i < 100 && t.screen().find("αα  21") == std::string::npos; ++i) {
        t.keys("Up");
        usleep(15000);
    }
    ASSERT_TRUE(t.waitFor("αα  21")) << t.screen();
    t.text("GR123456789");

    const std::string unitsError = PLAT::gr("συμπλ/κών");
    t.keys("S-F2");
    ASSERT_TRUE(t.waitFor("ΝΑ ΓΙΝΕΙ ΑΡΧΕΙΟ ASCII")) << t.screen();
    t.text("Ν");
    ASSERT_TRUE(t.waitFor("ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ:   0")) << t.screen() << TESTS::readFile(work.file("ERROR.TXT"));
    EXPECT_EQ(TESTS::readFile(work.file("ERROR.TXT")).find(unitsError), std::string::npos);
    const std::string segments = TESTS::readFile(work.file("drives/c/ICIS/EDE/D42.TXT"));
    EXPECT_NE(segments.find("0031:1~1~2204211000~~OINOS~~~~~3~120.0\r\n"), std::string::npos) << segments;
    t.keys("Space");
    ASSERT_TRUE(t.waitGone("ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ")) << t.screen();

    t.keys("S-F3");
    ASSERT_TRUE(t.waitFor("ΟΙΝΟΠΝΕΥΜΑΤΩΔΗ")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("ΚΡΑΣΙΑ ΕΙΔΟΥΣ")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΝΑ ΓΙΝΕΙ ΔΙΣΚΕΤΑ ΔΕΦΚ")) << t.screen();
    t.text("Ν");
    ASSERT_TRUE(t.waitFor("ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ:   0")) << t.screen() << TESTS::readFile(work.file("ERROR.TXT"));
    EXPECT_EQ(TESTS::readFile(work.file("ERROR.TXT")).find(unitsError), std::string::npos);
    const std::string excise = TESTS::readFile(work.file("drives/c/ICIS/DEFKOIL/D42.TXT"));
    EXPECT_NE(excise.find("0010:1~1~2204211000~~OINOS~40~00~3~120.0~~\r\n"), std::string::npos) << excise;
}

}  // namespace
