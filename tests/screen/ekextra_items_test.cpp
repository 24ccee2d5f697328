// The per-item lists: tax bases, wines and packages.
#include "screen/ekextra_fixture.h"

namespace {

using namespace SIDETEST;
using EKEXTRA::KRASTABLE;
using EKEXTRA::VASTABLE;

class Items : public Side {};

}  // namespace

TEST_F(Items, TaxBases) {
    EXPECT_EQ(EKEXTRA::VASCODEOF("12345678.90.1234"), "1234567890 1234");
    run(enter() + typed("123") + enter() + typed("ABC") + enter() + typed("12.5") + enter() + ext(SC::DOWN) + enter() +
            typed("77") + enter(2) + typed("3") + esc() + typed("NOT READ"),
        [] { EKEXTRA::GIVEVASIS(BOD::DIA, BOD::GV, 72); });
    ASSERT_EQ(file("555.V1").size(), 540u);
    VASTABLE t = VASTABLE::decode(file("555.V1"));
    EXPECT_EQ(t.L[0], (EKEXTRA::TVAS{"123", "ABC", "       12.5"}));
    // Esc on the amount closes the editor at once (and the amount typed is dropped by the field).
    EXPECT_EQ(t.L[1].VASCODE, "77");
    // A sheet item has its own file.
    BOD::BOS(BOD::BIS, BOD::GB, 3, "04");
    run(enter() + typed("9") + enter(3) + esc(), [] { EKEXTRA::GIVEVASIS(BOD::BIS, BOD::GB, 23); });
    EXPECT_EQ(VASTABLE::decode(file("555.V4")).L[0].VASCODE, "9");
    // Every code emptied: the file goes.
    run(enter() + Keys{PLAT::keyChar(25)} + enter() + esc() + ext(SC::DOWN) + enter() + Keys{PLAT::keyChar(25)} +
            enter() + esc() + esc(),
        [] { EKEXTRA::GIVEVASIS(BOD::DIA, BOD::GV, 72); });
    EXPECT_FALSE(exists("555.V1"));
}

TEST_F(Items, WinesTotalAgainstTheSupplementaryUnits) {
    struct Case {
        std::vector<std::pair<const char*, const char*>> lines;
        const char* box89;
        bool warned;
    } cases[] = {
        {{{"2204", "12.504"}}, "XXX:12.5", false},
        {{{"2204", "12.51"}}, "XXX:12.5", true},
        {{{"2204", "6.25"}, {"2205", "6.25"}}, "12.50", false},
        {{{"2204", "12.5"}, {"", "5"}}, "XXX:12.5", false},  // a quantity without code is not counted
        {{{"2204", "0"}}, "XXX:12.5", false},                 // a total of 0
    };
    for (const Case& c : cases) {
        KRASTABLE t;
        for (size_t i = 0; i < c.lines.size(); ++i) t.L[i] = {c.lines[i].first, UMAS::RIJU(c.lines[i].second, 11)};
        writeFile("555.K1", t.encode());
        put(89, c.box89);
        // Esc closes; the warning then waits for an Esc of its own.
        bool warned = false;
        const int bells = con->bells;
        run(esc(), [] { EKEXTRA::KRASIA(BOD::DIA, BOD::GV, 72); },
            [&] { warned = con->text(20, 12, 35) == gr("διαφέρει από το ποσό της θέσης (41)"); });
        EXPECT_EQ(warned, c.warned) << c.lines[0].second << " " << c.box89;
        EXPECT_EQ(con->bells > bells, c.warned) << c.lines[0].second << " " << c.box89;
    }
    // Line 21 is the first line of page 2.
    removeFileIfAny("555.K1");
    put(89, "");
    run(ext(SC::PGDN) + enter() + typed("2208") + enter() + typed("1") + enter() + esc(),
        [] { EKEXTRA::KRASIA(BOD::DIA, BOD::GV, 72); });
    EXPECT_EQ(KRASTABLE::decode(file("555.K1")).L[20].KRASCODE, "2208");
    // All codes emptied: no file.
    run(ext(SC::PGDN) + enter() + Keys{PLAT::keyChar(25)} + ext(SC::UP) + esc(), [] { EKEXTRA::KRASIA(BOD::DIA, BOD::GV, 72); });
    EXPECT_FALSE(exists("555.K1"));
}

TEST_F(Items, Packages) {
    put(68, "CT ");
    put(69, "    12");
    put(70, "MARKS A");
    run(enter(7) + typed("ABCDEFGHIJKLMNO") + enter() + esc(),
        [] { EKEXTRA::SYSKEYASIES(BOD::DIA, BOD::GV, 72, BOD::AY); });
    EXPECT_EQ(BOD::AY.ON, "CT");
    EXPECT_EQ(UMAS::trim(BOD::AY.TY), "12");
    EXPECT_EQ(UMAS::CUTLEADSPACES(BOD::AY.ER), "MARKS A");
    EXPECT_EQ(BOD::AY.BA, "ABCDEFGHIJ");  // row 3's description keeps 10
    // Row 1 typed over is taken from the boxes again at the next opening; the boxes do not change.
    run(typed("PX") + esc(), [] { EKEXTRA::SYSKEYASIES(BOD::DIA, BOD::GV, 72, BOD::AY); });
    EXPECT_EQ(UMAS::CUTLEADSPACES(box(68)), "CT");
    run(esc(), [] { EKEXTRA::SYSKEYASIES(BOD::DIA, BOD::GV, 72, BOD::AY); });
    EXPECT_EQ(BOD::AY.ON, "CT");
    // Esc in the kinds picker closes the editor.
    run(Keys{PLAT::keyChar(TAB)} + esc() + typed("ZZ"), [] { EKEXTRA::SYSKEYASIES(BOD::DIA, BOD::GV, 72, BOD::AY); });
    EXPECT_EQ(con->pending(), 2u);
}
