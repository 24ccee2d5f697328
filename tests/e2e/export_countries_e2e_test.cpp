// The demo installation through the real program in a terminal: a clerk fills the countries of an
// export as the declaration's page captions them (box 42 the country of origin, box 43 the country
// of destination, each from the countries list), and the certificate of origin, the CMR note, the
// T5 control copy and the TIR carnet print each country in its place.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "e2e/demo_e2e.h"
#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "platform/codepage.h"

namespace {

// Where a text (UTF-8) stands on an Epson printout: the printed line (the line ends before it,
// counted from 0) and the column of the tab that places it (-1 when no tab stands right before it).
// line -1: the text is not on the printout.
struct Place {
    int line = -1, col = -1;
    bool operator==(const Place&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Place& p) { return o << "line " << p.line << ", column " << p.col; }

Place placeOf(const std::string& out, const std::string& utf8) {
    const size_t at = out.find(PLAT::utf8ToCp737(utf8));
    if (at == std::string::npos) return {};
    Place p;
    p.line = 0;
    for (size_t i = out.find("\r\n"); i != std::string::npos && i < at; i = out.find("\r\n", i + 2)) ++p.line;
    // the tab: ESC "D" 0 ESC "D" column 0 HT
    if (at >= 8 && out.compare(at - 8, 5, std::string("\x1b\x44\x00\x1b\x44", 5)) == 0 && out[at - 2] == '\0' &&
        out[at - 1] == '\t')
        p.col = uint8_t(out[at - 3]);
    return p;
}

// Answers the print question of the screen with N (and the copies question, where the printout
// asks it, with one copy) and gives what the printout added to the printer file.
std::string printed(TESTS::Tmux& t, const std::string& port, bool asksCopies) {
    const size_t before = TESTS::readFile(port).size();
    EXPECT_TRUE(t.waitFor("(Ν/Ο) ?")) << t.screen();
    t.text("N");
    if (asksCopies) {
        EXPECT_TRUE(t.waitFor("ΑΝΤΙΤΥΠΑ")) << t.screen();
        t.keys("Enter");
    }
    // Begun once the file grows; written and closed once the question has left the screen.
    DEMOE2E::fileOnce(port, [&](const std::string& s) { return s.size() > before; });
    for (int i = 0; i < 100 && t.screen().find("(Ν/Ο) ?") != std::string::npos; ++i) usleep(50000);
    return TESTS::readFile(port).substr(before);
}

TEST(ExportCountriesEndToEnd, FilledAsCaptionedAndPrintedInTheirPlaces) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    ASSERT_TRUE(DEMOE2E::layOutDemo(work));
    // An export of Greek wine to Germany, its countries still empty; box 39 (the country of
    // dispatch) stays empty too, so that each country on a printout can only come from its box.
    ASSERT_TRUE(DEMOE2E::storeDeclaration("EXP", "800", "101226",
                                          {{12, "GREEK WINES SA"},
                                           {22, "WEINHANDEL GMBH"},
                                           {23, "HAUPTSTRASSE 5"},
                                           {24, "MUENCHEN"},
                                           {69, "120"},
                                           {72, "RED WINE IN BOTTLES"},
                                           {82, "1500"},
                                           {142, "    EXP"}}));
    // The demo prints every form on LPT1, kept in this file.
    const std::string port = work.file("drives/ports/LPT1");

    TESTS::Tmux t(work.path(), DEMOE2E::fixedClockCommand());
    ASSERT_TRUE(DEMOE2E::newDeclaration(t, "2", "ΕΞΑΓΩΓΗΣ", "800")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   2")) << t.screen();
    // PgDn goes to the next rows (box 43), Up back to box 42: the page then shows from the row
    // of boxes 39 and 42 on, box 80 on screen row 20.
    t.keys("NPage");
    ASSERT_TRUE(t.waitFor("αα  43")) << t.screen();
    t.keys("Up");
    ASSERT_TRUE(t.waitFor("αα  42")) << t.screen();
    EXPECT_NE(t.line(1).find("│39 ΑΠΟΣΤΟΛΗΣ "), std::string::npos) << t.screen();
    EXPECT_NE(t.line(1).find(" 42 ΚΑΤΑΓ "), std::string::npos) << t.screen();
    EXPECT_NE(t.line(2).find("│43 ΠΡΟΟΡ "), std::string::npos) << t.screen();
    EXPECT_NE(t.line(20).find(" 80 ΚΑΤΑΓ "), std::string::npos) << t.screen();
    EXPECT_NE(t.line(24).find("Χώρα καταγωγής - Tab: κατάλογος χωρών"), std::string::npos) << t.screen();

    // Box 42: Tab, the countries list, Enter on its first country: ΕΛΛΑΔΑ, and its code in box 80.
    t.keys("Tab");
    ASSERT_TRUE(t.waitFor("ΟΝΟΜΑΣΙΑ ΧΩΡΑΣ")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitForLine(1, "42 ΚΑΤΑΓ ΕΛΛΑΔΑ")) << t.screen();
    EXPECT_NE(t.line(20).find("80 ΚΑΤΑΓ GR  "), std::string::npos) << t.screen();

    // Box 43: the list again, one down: ΓΕΡΜΑΝΙΑ, and its code in box 44.
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα  43")) << t.screen();
    EXPECT_NE(t.line(24).find("Χώρα προορισμού - Tab: κατάλογος χωρών"), std::string::npos) << t.screen();
    t.keys("Tab");
    ASSERT_TRUE(t.waitFor("ΟΝΟΜΑΣΙΑ ΧΩΡΑΣ")) << t.screen();
    t.keys("Down");
    t.keys("Enter");
    ASSERT_TRUE(t.waitForLine(2, "43 ΠΡΟΟΡ     ΓΕΡΜΑΝΙΑ             DE  ")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα  44")) << t.screen();
    EXPECT_NE(t.line(24).find("Κωδικός χώρας προορισμού - Tab: κατάλογος χωρών"), std::string::npos) << t.screen();
    EXPECT_NE(t.line(1).find("42 ΚΑΤΑΓ ΕΛΛΑΔΑ"), std::string::npos) << "box 42 kept" << t.screen();

    t.keys("F3");
    ASSERT_TRUE(t.waitFor("ΚΑΡΝΕ TIR")) << t.screen();

    // The certificate of origin: the country of origin at column 40 on the line of the consignee's
    // last line, the destination nowhere.
    t.text("05");
    ASSERT_TRUE(t.waitFor("ΠΕΡΙΓΡΑΦΗ ΕΜΠΟΡΕΥΜΑΤΩΝ")) << t.screen();
    t.keys("Escape");
    std::string out = printed(t, port, false);
    EXPECT_EQ(placeOf(out, "ΕΛΛΑΔΑ"), (Place{12, 40}));
    EXPECT_EQ(placeOf(out, "ΓΕΡΜΑΝΙΑ"), Place{});

    // A document of the menu's ROW (its screen showing TITLE) with the destination on screen row
    // SCREENROW (under the caption UNDER), printed with Shift-F1: the destination at AT, the
    // country of origin nowhere.
    auto destinationAt = [&](const char* row, const char* title, int screenRow, const char* under, Place at) {
        ASSERT_TRUE(t.waitFor("ΚΑΡΝΕ TIR")) << t.screen();
        t.text(row);
        ASSERT_TRUE(t.waitFor(title)) << t.screen();
        EXPECT_NE(t.line(screenRow).find("ΓΕΡΜΑΝΙΑ"), std::string::npos) << "under " << under << "\n" << t.screen();
        t.keys("S-F1");
        const std::string bytes = printed(t, port, false);
        EXPECT_EQ(placeOf(bytes, "ΓΕΡΜΑΝΙΑ"), at) << title;
        EXPECT_EQ(placeOf(bytes, "ΕΛΛΑΔΑ"), Place{}) << title;
        t.keys("Escape");
    };
    // The CMR note B: the destination as the second line of the place of delivery.
    ASSERT_NO_FATAL_FAILURE(destinationAt("08", "ΕΝΤΥΠΟ Β", 9, "3. ΤΟΠΟΣ ΠΑΡΑΔΟΣΗΣ", Place{12, 10}));
    // The T5: the destination in the place of box 43 on the declaration form (its 18th line,
    // column 55); box 42 is not printed on a T5.
    ASSERT_NO_FATAL_FAILURE(destinationAt("17", "ΑΝΤΙΤΥΠΟ ΕΛΕΓΧΟΥ T5", 6, "ΧΩΡΑ ΠΡΟΟΡΙΣΜΟΥ", Place{17, 55}));

    // The TIR carnet: the destination beside the country of departure GREECE, at column 61 where
    // the demo's layout prints the carnet's field 8.
    ASSERT_TRUE(t.waitFor("ΚΑΡΝΕ TIR")) << t.screen();
    t.text("18");
    ASSERT_TRUE(t.waitFor("ΑΡΙΘΜΟΣ / ΚΑΤΟΧΟΣ")) << t.screen();
    EXPECT_NE(t.line(6).find("GREECE"), std::string::npos) << t.screen();
    EXPECT_NE(t.line(6).find("ΓΕΡΜΑΝΙΑ"), std::string::npos) << "under ΧΩΡΑ ΑΝΑΧΩΡΗΣΗΣ / ΠΡΟΟΡΙΣΜΟΥ\n" << t.screen();
    t.keys("S-F1");
    out = printed(t, port, true);
    const Place departure = placeOf(out, "GREECE");
    EXPECT_EQ(placeOf(out, "ΓΕΡΜΑΝΙΑ"), (Place{departure.line, 61})) << "GREECE at " << departure;
    EXPECT_NE(departure.line, -1);
    EXPECT_EQ(placeOf(out, "ΕΛΛΑΔΑ"), Place{});
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΚΑΡΝΕ TIR")) << t.screen();
}

}  // namespace
