// The general-switches editor and the parameters menu with its submenus on the headless console.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

#include "common/umas.h"
#include "config/params.h"
#include "helpers/fixture.h"
#include "platform/clipboard.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "screen/scr.h"

using PLAT::keyChar;
using PLAT::keyExt;
namespace SC = PLAT::SC;

namespace {

const PLAT::Event ENTER = keyChar(13), ESC = keyChar(27), UP = keyExt(SC::UP), DOWN = keyExt(SC::DOWN),
                  F1 = keyExt(SC::F1);

// One step of a screen session: keys to give, then a look at the screen once they are used up.
struct Step {
    std::vector<PLAT::Event> keys;
    std::function<void()> check;
};

class ParamsScreens : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
    }
    void TearDown() override {
        con->onIdle = nullptr;
        TESTS::Installation::TearDown();
    }

    // Runs fn with the steps: the keys of a step are given, and when the screen waits for more its
    // check runs and the next step's keys follow. The last step's keys must end fn.
    void session(const std::function<void()>& fn, std::vector<Step> steps) {
        auto at = std::make_shared<size_t>(0);
        auto all = std::make_shared<std::vector<Step>>(std::move(steps));
        for (const auto& e : (*all)[0].keys) con->push(e);
        con->onIdle = [this, at, all] {
            if (*at >= all->size()) return;
            if ((*all)[*at].check) (*all)[*at].check();
            if (++*at < all->size())
                for (const auto& e : (*all)[*at].keys) con->push(e);
        };
        fn();
        EXPECT_EQ(*at, all->size() - 1) << "the routine ended before the last step";
    }

    std::string paredeFile() const { return company(0) + "/PAREDE.dat"; }
    std::string text(int x, int y, int len) const { return con->text(x, y, len); }
    std::string gr(const char* s) const { return PLAT::gr(s); }
};

// ---- General switches --------------------------------------------------------------------------

class SwitchesEditor : public ParamsScreens {
protected:
    void SetUp() override {
        ParamsScreens::SetUp();
        // A file whose labels carry bytes after their text: only the changed value may differ.
        image.assign(UMAS::PAREDE_SIZE, '\0');
        for (size_t i = 0; i < image.size(); ++i) image[i] = char((i * 7 + 3) & 0xFF);
        for (int s = 1; s <= 20; ++s) image[value(s)] = char(s % 10);
        image[value(20)] = 0;
        TESTS::writeFile(paredeFile(), image);
        UMAS::decodePAREDE(image, UMAS::PAREDE);
        UMAS::derivePAREDE();
    }
    static size_t value(int s) { return size_t(s - 1) * 42 + 41; }
    std::string image;
};

TEST_F(SwitchesEditor, SwitchTwentyStoredWithF1ChangesOneByteAndTheFlagAtOnce) {
    ASSERT_FALSE(UMAS::HLEK4);
    session(PARAMS::CALLPAREDE,
            {{{}, [&] {
                  EXPECT_EQ(text(17, 4, 4), " 1. ");
                  for (int s = 1; s <= 20; ++s) EXPECT_EQ(text(64, s + 3, 1), std::to_string(s == 20 ? 0 : s % 10));
                  EXPECT_EQ(text(1, 25, 3), "ESC");
              }},
             // Keys 2 and 0 choose switch 20; the field takes a 2.
             {{keyChar('2'), keyChar('0')}, [&] {
                  EXPECT_EQ(con->attr(16, 23), 0x70);
                  EXPECT_EQ(text(1, 25, 3), "ESC");  // the one entry "ESC.Επιλογή"
                  EXPECT_EQ(text(64, 23, 1), "0");
              }},
             {{keyChar('2'), ENTER}, [&] { EXPECT_EQ(text(64, 23, 1), "2"); }},
             {{F1}, [&] {
                  EXPECT_TRUE(UMAS::HLEK4);
                  EXPECT_EQ(UMAS::PAREDE[20].TIMI, 2);
                  EXPECT_EQ(UMAS::TIMEUR, 7);
              }},
             {{ESC}, nullptr}});
    std::string want = image;
    want[value(20)] = 2;
    std::string got = TESTS::readFile(paredeFile());
    EXPECT_EQ(got.size(), 840u);
    EXPECT_EQ(got, want);
}

TEST_F(SwitchesEditor, EscWithoutF1LeavesFileAndSwitchesAsTheyWere) {
    std::string before = con->dump();
    session(PARAMS::CALLPAREDE, {{{keyChar('2'), keyChar('0'), keyChar('2'), ENTER, DOWN}, nullptr}, {{ESC}, nullptr}});
    EXPECT_EQ(TESTS::readFile(paredeFile()), image);
    EXPECT_FALSE(UMAS::HLEK4);
    EXPECT_EQ(UMAS::PAREDE[20].TIMI, 0);
    EXPECT_EQ(con->dump(), before);  // both masks removed
}

TEST_F(SwitchesEditor, AnyKeyEndingTheEditKeepsTheDigitButEscKeepsTheOldOne) {
    session(PARAMS::CALLPAREDE,
            {{{keyChar('0'), keyChar('1'), keyChar('5'), UP}, [&] { EXPECT_EQ(text(64, 4, 1), "5"); }},
             {{keyChar('0'), keyChar('2'), keyChar('7'), ESC}, [&] { EXPECT_EQ(text(64, 5, 1), "2"); }},
             // An emptied field gives 0.
             {{keyChar('0'), keyChar('3'), keyChar(25), ENTER}, [&] { EXPECT_EQ(text(64, 6, 1), "0"); }},
             {{F1, ESC}, nullptr}});
    std::string got = TESTS::readFile(paredeFile());
    ASSERT_EQ(got.size(), 840u);
    EXPECT_EQ(got[value(1)], 5);
    EXPECT_EQ(got[value(2)], 2);
    EXPECT_EQ(got[value(3)], 0);
}

TEST_F(SwitchesEditor, MissingFileShowsZerosAndF1CreatesIt) {
    std::remove(paredeFile().c_str());
    session(PARAMS::CALLPAREDE, {{{}, [&] {
                                      for (int s = 1; s <= 20; ++s) EXPECT_EQ(text(64, s + 3, 1), "0");
                                  }},
                                 {{F1, ESC}, nullptr}});
    EXPECT_EQ(TESTS::readFile(paredeFile()), std::string(840, '\0'));
}

TEST_F(SwitchesEditor, APastedNonDigitOrADamagedValueNeverReachesTheFile) {
    // Switch 3 holds 12 in a damaged file; it shows whole and is replaced by a typed digit.
    image[value(3)] = 12;
    TESTS::writeFile(paredeFile(), image);
    PLAT::setClipboardReader([] { return std::optional<std::string>("x"); });
    session(PARAMS::CALLPAREDE,
            {{{}, [&] { EXPECT_EQ(text(64, 6, 3), "12 "); }},
             // A paste puts "x" into the digits-only field: the switch keeps its value.
             {{keyChar('0'), keyChar('5'), keyChar(22), ENTER}, [&] { EXPECT_EQ(text(64, 8, 3), "5  "); }},
             {{keyChar('0'), keyChar('3'), keyChar('4'), ENTER}, [&] { EXPECT_EQ(text(64, 6, 3), "4  "); }},
             {{F1, ESC}, nullptr}});
    PLAT::setClipboardReader({});
    std::string want = image;
    want[value(3)] = 4;
    EXPECT_EQ(TESTS::readFile(paredeFile()), want);
    EXPECT_EQ(UMAS::PAREDE[5].TIMI, 5);
}

// ---- Parameters menu ---------------------------------------------------------------------------

TEST_F(ParamsScreens, ParametersMenuShowsItsEntriesAndOpensTheSwitches) {
    std::string before = con->dump();
    session(PARAMS::PARMEN,
            {{{}, [&] {
                  EXPECT_EQ(text(28, 5, 22), gr("  ΠΑΡΑΜΕΤΡΟΙ ΕΦΑΡΜΟΓΗΣ"));
                  EXPECT_EQ(text(25, 8, 26), gr("1.  ΠΑΡΑΜΕΤΡΟΙ ΕΞΟΔΟΛΟΓΙΟΥ"));
                  EXPECT_EQ(text(25, 10, 22), gr("2.  ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ"));
                  EXPECT_EQ(text(25, 12, 23), gr("3.  ΗΛΕΚΤΡΟΝΙΚΕΣ ΜΟΡΦΕΣ"));
                  EXPECT_EQ(text(25, 14, 22), gr("4.  ΓΕΝΙΚΕΣ ΠΑΡΑΜΕΤΡΟΙ"));
                  EXPECT_EQ(text(22, 16, 30), std::string(30, ' '));  // the mask's fifth entry is gone
                  EXPECT_EQ(con->attr(23, 8), 0x70);
                  EXPECT_EQ(con->attr(56, 8), 0x70);
                  EXPECT_EQ(text(1, 25, 3), "ESC");
              }},
             {{keyChar('4')}, [&] { EXPECT_EQ(text(17, 4, 4), " 1. "); }},
             {{ESC}, [&] {
                  EXPECT_EQ(text(25, 14, 22), gr("4.  ΓΕΝΙΚΕΣ ΠΑΡΑΜΕΤΡΟΙ"));
                  EXPECT_EQ(con->attr(23, 14), 0x70);
              }},
             {{ESC}, nullptr}});
    EXPECT_EQ(con->dump(), before);
}

// An editor whose parameter file is missing, or of 0 bytes (no layout at all), tells it on a row of
// its own and keeps its screen in place: the frame, the values and the legend stand where they
// stand over a file of zeros, also when an earlier line left the cursor on the legend row.
TEST_F(ParamsScreens, AMissingParameterFileIsToldWithoutMovingTheScreen) {
    struct Case {
        const char* file;
        size_t size;
        std::vector<PLAT::Event> open, leave;
    };
    const Case cases[] = {
        {"PAREDE.dat", UMAS::PAREDE_SIZE, {keyChar('4')}, {ESC, ESC}},
        {"SEIRES.dat", PARAMS::SEIRES_SIZE, {keyChar('1'), keyChar('5')}, {ESC, ESC, ESC}},
        {"NPARDISK.dat", PARAMS::PARTIM7_SIZE, {keyChar('3'), keyChar('1')}, {ESC, ESC, ESC}},
    };
    auto shown = [&] {
        std::string s;
        for (int y = 1; y <= 22; ++y) s += con->text(y) + "\n";
        return s + con->text(25);
    };
    for (const bool emptied : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.file) + (emptied ? " of 0 bytes" : " missing"));
            const std::string fn = PLAT::resolve(UMAS::PATH + c.file);
            TESTS::writeFile(fn, std::string(c.size, '\0'));
            std::string zeros, missing, told;
            con->gotoXY(1, 25);
            session(PARAMS::PARMEN, {{c.open, [&] { zeros = shown(); }}, {c.leave, nullptr}});
            if (emptied)
                TESTS::writeFile(fn, "");
            else
                ASSERT_EQ(std::remove(fn.c_str()), 0);
            con->gotoXY(1, 25);
            session(PARAMS::PARMEN, {{c.open, [&] {
                                          missing = shown();
                                          for (int y = 23; y <= 24; ++y) told += con->text(y);
                                      }},
                                     {c.leave, nullptr}});
            EXPECT_EQ(missing, zeros);
            EXPECT_NE(told.find(PARAMS::NOTFOUND(std::string(c.file).substr(0, std::string(c.file).size() - 4))),
                      std::string::npos)
                << told;
            EXPECT_EQ(SCR::STACKPOINTER(), 0);
        }
    }
}

// Every text of the menus lands inside its mask's frame, in the mask's colours.
TEST_F(ParamsScreens, MenuTextsStayInsideTheirFrames) {
    auto frameIntact = [&](int x1, int x2, int y1, int y2) {
        for (int y = y1; y <= y2; ++y) {
            EXPECT_EQ(text(x1, y, 1), gr("║")) << "row " << y;
            EXPECT_EQ(text(x2, y, 1), gr("║")) << "row " << y;
        }
    };
    session(PARAMS::PARMEN,
            {{{}, [&] {
                  // The title sits between the brackets of the top border.
                  EXPECT_EQ(text(20, 5, 39), gr("╔══════╡  ΠΑΡΑΜΕΤΡΟΙ ΕΦΑΡΜΟΓΗΣ ╞══════╗"));
                  for (int x = 20; x <= 58; ++x) EXPECT_EQ(con->attr(x, 5), 0x4F) << "column " << x;
                  frameIntact(20, 58, 6, 17);
                  for (int y = 6; y <= 17; ++y) EXPECT_EQ(con->attr(21, y), 0x4F);
              }},
             {{keyChar('1')}, [&] {
                  EXPECT_EQ(text(19, 6, 41), gr("║           ΕΞΟΔΟΛΟΓΙΟΥ-ΕΑΦΔΣΣ          ║"));
                  frameIntact(19, 59, 5, 18);
                  EXPECT_EQ(con->attr(30, 6), 0x4F);
              }},
             {{ESC, keyChar('4')}, [&] {
                  frameIntact(13, 70, 3, 23);
                  EXPECT_EQ(text(62, 3, 4), gr("ΤΙΜΗ"));  // the values stand under their heading
                  EXPECT_EQ(con->attr(64, 5), 0x0E);
              }},
             {{ESC, ESC}, nullptr}});
}

TEST_F(ParamsScreens, InvoiceBookMenuAndTheFormatNamesOfItsMask) {
    session(PARAMS::PARMEN,
            {{{keyChar('1')}, [&] {
                  EXPECT_EQ(text(30, 6, 19), gr(" ΕΞΟΔΟΛΟΓΙΟΥ-ΕΑΦΔΣΣ"));
                  EXPECT_EQ(text(25, 8, 23), gr("1.  ΚΟΝΔΥΛΙΑ ΤΙΜΟΛΟΓΙΟΥ"));
                  EXPECT_EQ(text(25, 14, 21), gr("7.  ΠΑΡΑΜΕΤΡΟΙ ΕΑΦΔΣΣ"));
                  EXPECT_EQ(text(24, 15, 31), std::string(31, ' '));
                  EXPECT_EQ(con->attr(24, 8), 0x70);
                  EXPECT_EQ(con->attr(55, 8), 0x70);
              }},
             // Entry 7 opens the signing settings; Esc stores them and returns to the menu.
             {{keyChar('7')}, [&] { EXPECT_EQ(text(30, 10, 21), gr("╡ ΠΑΡΑΜΕΤΡΟΙ ΕΑΦΔΣΣ ╞")); }},
             {{ESC}, [&] { EXPECT_EQ(con->attr(24, 14), 0x70); }},
             // The electronic-format menu shows mask 105 with its own seven format names.
             {{ESC, keyChar('3')}, [&] {
                  for (int i = 0; i < 7; ++i) EXPECT_EQ(text(26, 8 + i, 2), std::to_string(i + 1) + ".");
                  EXPECT_EQ(text(30, 6, 19), gr("ΗΛΕΚΤΡΟΝΙΚΕΣ ΜΟΡΦΕΣ"));
              }},
             {{ESC, ESC}, nullptr}});
}

TEST_F(ParamsScreens, F1EditsThePrintSettingsOnlyOnTheSecondInvoiceBookEntry) {
    const std::string settings = work->file("ETC/pare" + UMAS::USER_ID + ".82");
    session(PARAMS::PARMEN,
            {{{keyChar('1'), F1}, [&] { EXPECT_FALSE(TESTS::exists(settings)); }},
             {{DOWN, F1}, [&] { EXPECT_TRUE(TESTS::exists(settings)); }},  // the dialog is open
             {{ESC}, [&] { EXPECT_EQ(con->attr(24, 9), 0x70); }},
             {{ESC, ESC}, nullptr}});
    EXPECT_EQ(TESTS::readFile(settings), std::string("\x42\0\0\0\0", 5));
}

TEST_F(ParamsScreens, FormParametersChooseEntryTenByTwoDigits) {
    std::string menu;
    session(PARAMS::PARMEN,
            {{{keyChar('2')}, [&] {
                  EXPECT_EQ(text(27, 8, 4), " 1. ");
                  EXPECT_EQ(text(27, 21, 4), "14. ");
                  EXPECT_EQ(con->attr(26, 8), 0x70);
                  EXPECT_EQ(con->attr(56, 8), 0x70);
                  menu = con->dump();
              }},
             {{keyChar('1'), keyChar('0')}, [&] { EXPECT_NE(con->dump(), menu); }},  // the TIR field map
             {{ESC}, [&] { EXPECT_EQ(con->attr(26, 17), 0x70); }},
             {{ESC, ESC}, nullptr}});
}

}  // namespace

