// The continuation-sheet editor on the headless console: the sheet and item numbers, the heading of a
// new item, storing, deleting and leaving, the paste, the calculator and F10, the item summary, and
// the printouts compared byte for byte with their golden files.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/ekdo.h"
#include "declarations/store.h"
#include "declarations/store_form.h"
#include "helpers/fixture.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "print/prns.h"
#include "screen/scr.h"
#include "shell/install.h"

using namespace BOD;
using PLAT::gr;
namespace SC = PLAT::SC;

namespace {

constexpr uint8_t ENTER = 13, ESC = 27;
constexpr size_t EKDO_TABLE = 7560;  // the box-40 table of a side file

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

class Sheets : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
        PLAT::setFixedNow(PLAT::DateTime{2026, 12, 10, 10, 0, 0, 0});
        for (auto& p : UMAS::PAREDE) p.TIMI = 0;
        UMAS::LOGOTYPO[7] = gr("ΘΕΣΣΑΛΟΝΙΚΗ");
        declaration("IMP", "123", 4);
    }
    void TearDown() override {
        PLAT::setFixedNow(std::nullopt);
        TESTS::Installation::TearDown();
    }
    // A declaration in the form: number, forms (main box 16), and an empty item page.
    void declaration(const std::string& kind, const std::string& number, int forms) {
        ASSERT_TRUE(SETFORM(kind));
        for (int b = 1; b <= BOXES; ++b) BOS(DIA, GV, b, "");
        for (int b = 1; b <= SHEET_BOXES; ++b) BOS(BIS, GB, b, "");
        BOS(DIA, GV, 1, number);
        BOS(DIA, GV, 16, std::string(forms < 10 ? "0" : "") + std::to_string(forms));
        TM = UMAS::LEJU(number, 10);
        BM.clear();
        BOB = false;
        AYB = MOT{};
    }
    // Runs the sheet editor with the scripted keys; at each wait with the script used up the next
    // snap looks and may script more; at the end the editor is left with Esc (and "Ν" when asked).
    // Returns how many times the leaving Esc had to be followed by the answer.
    void sheet(const std::string& kind, std::vector<std::function<void()>> snaps = {}) {
        size_t next = 0;
        int leaving = 0;
        con->onIdle = [&] {
            if (con->pending() > 0) return;
            if (next < snaps.size()) {
                snaps[next++]();
                if (con->pending() > 0) return;
            }
            if (++leaving > 6) return;  // the editor does not leave: the script ends
            con->ch(leaving == 1 ? ESC : 'N');
        };
        try {
            EKDO::CBIS(kind);
        } catch (const PLAT::ScriptEnd&) {
            ADD_FAILURE() << "the editor did not return";
        }
        con->onIdle = nullptr;
        PLAT::Event ev;
        while (con->poll(ev)) {
        }
        leaves = leaving;
        EXPECT_EQ(next, snaps.size()) << "every snap ran";
        EXPECT_EQ(SCR::STACKPOINTER(), 0) << "the screen is restored";
    }
    int leaves = 0;
    void type(const std::string& s) { con->keys(s); }
    void enter() { con->ch(ENTER); }
    void key(uint8_t scan, uint8_t mods = 0) { con->key(scan, mods); }
    // Names an item: sheet s, item j (box 1, Enter, box 2, Enter, box 3, Enter).
    void item(int s, int j) {
        type(two(s));
        enter();
        enter();
        type(two(j));
        enter();
    }
    static std::string two(int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); }
    std::string box(int b) const { return trim(SOB(BIS, GB, b)); }
    std::string cursorBox() const { return trim(con->text(77, 24, 3)); }
    std::string path(const std::string& name) const { return company(0) + "/" + name; }
    bool sheetStored(const std::string& key) const {
        return STORE::find(UMAS::PATH, STORE::SHEET, UMAS::LEJU(key, 14)).found;
    }
    // Stores an item page directly: boxes given, the rest empty.
    void storeItem(int s, int j, const std::vector<std::pair<int, std::string>>& boxes, const MOT& m = MOT{}) {
        for (int b = 1; b <= SHEET_BOXES; ++b) BOS(BIS, GB, b, "");
        BOS(BIS, GB, 1, two(s));
        BOS(BIS, GB, 3, two(j));
        for (const auto& [b, t] : boxes) BOS(BIS, GB, b, gr(t.c_str()));
        AYB = m;
        BM = UMAS::LEJU(trim(SOB(DIA, GV, 1)) + two(s) + two(j), 14);
        BOB = false;
        ASSERT_TRUE(EKDO::KATB().stored);
    }
};

// ---- Sheet and item numbers ----------------------------------------------------------------------

TEST_F(Sheets, SheetAndItemNumbersByKind) {
    struct Case {
        const char* kind;
        int sheet, itemNo;
        bool sheetOk, itemOk;
    };
    const Case cases[] = {
        {"IMP", 1, 0, false, false}, {"IMP", 5, 0, false, false},  // box 1: 1 or above main box 16
        {"IMP", 4, 8, true, true},   {"IMP", 3, 5, true, true},    {"IMP", 3, 6, true, true},
        {"IMP", 3, 7, true, true},   {"IMP", 3, 4, true, false},   {"IMP", 3, 8, true, false},
        {"IMP", 2, 2, true, true},   {"IMP", 2, 5, true, false},   {"DFK", 3, 4, true, true},
        {"DFK", 3, 5, true, true},   {"DFK", 3, 3, true, false},   {"DFK", 3, 6, true, false},
        {"DFK", 2, 2, true, true},   {"DFK", 6, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " sheet " + std::to_string(c.sheet) + " item " + std::to_string(c.itemNo));
        declaration(c.kind, "123", 4);
        type(two(c.sheet));
        enter();
        std::vector<std::function<void()>> snaps = {[&] {
            EXPECT_EQ(cursorBox(), c.sheetOk ? "2" : "1");
            if (!c.sheetOk) return;
            enter();
            type(two(c.itemNo));
            enter();
        }};
        if (c.sheetOk)
            snaps.push_back([&] {
                EXPECT_EQ(cursorBox(), c.itemOk ? "4" : "3");
                EXPECT_EQ(BBM, c.itemOk ? UMAS::LEJU("123" + two(c.sheet) + two(c.itemNo), 14) : "")
                    << "only a number of the sheet's range is looked up";
            });
        sheet(c.kind, snaps);
    }
}

TEST_F(Sheets, NoDeclarationNumberSendsTheCursorToBox1) {
    declaration("IMP", "", 4);
    BOS(DIA, GV, 16, "04");
    item(2, 2);
    sheet("IMP", {[&] { EXPECT_EQ(cursorBox(), "1"); }});
}

// ---- New item ------------------------------------------------------------------------------------

TEST_F(Sheets, NewItemHeadingForExportAndImport) {
    for (const char* kind : {"EXP", "IMP"}) {
        SCOPED_TRACE(kind);
        const bool exp = std::string(kind) == "EXP";
        declaration(kind, "123", 3);
        const std::pair<int, const char*> main[] = {
            {2, "EX1"},     {4, "PRESET"},  {5, "10"},        {6, "ΘΕΣΣΑΛΟΝΙΚΗ"}, {7, "1101"}, {8, "091226"},
            {9, "091226"},  {11, "EL11"},    {12, "SENDER"},   {13, "LINE 13"},   {14, "LINE 14"}, {21, "EL21"},
            {22, "RECEIVER"}, {23, "LINE 23"}, {24, "LINE 24"}, {80, "DE"},        {84, "4000"}, {85, "FR"},
            {88, "B40 TEXT"}, {187, "ΠΕΙΡΑΙΑ  "}, {188, "GR001234"}};
        for (const auto& [b, t] : main) BOS(DIA, GV, b, gr(t));
        item(2, 3);
        sheet(kind, {[&] {
            EXPECT_EQ(cursorBox(), "4");
            EXPECT_EQ(box(2), "03");
            EXPECT_EQ(box(4), "EX1");
            EXPECT_EQ(box(6), "PRESET");
            EXPECT_EQ(box(7), "10");
            EXPECT_EQ(box(8), gr("ΘΕΣΣΑΛΟΝΙΚΗ"));
            EXPECT_EQ(box(9), "1101");
            EXPECT_EQ(box(10), "123");
            EXPECT_EQ(box(11), "091226");
            EXPECT_EQ(box(12), "091226");
            EXPECT_EQ(box(13), exp ? "EL11" : "EL21");
            EXPECT_EQ(box(14), exp ? "SENDER" : "RECEIVER");
            EXPECT_EQ(box(15), exp ? "LINE 13" : "LINE 23");
            EXPECT_EQ(box(16), exp ? "LINE 14" : "LINE 24");
            EXPECT_EQ(box(30), "DE");
            EXPECT_EQ(box(34), "4000");
            EXPECT_EQ(box(35), "FR");
            EXPECT_EQ(box(38), "B40 TEXT");
            EXPECT_EQ(box(128), exp ? gr("ΠΕΙΡΑΙΑ GR001234") : "");
            EXPECT_EQ(box(19), gr("ΚΟΛΛΑ:"));
            EXPECT_EQ(box(21), gr("ΧΙΛ/ΜΑ:"));
            // The centred texts: blank for an export.
            EXPECT_EQ(SOB(BIS, GB, 43), exp ? std::string(size_t(GB.LEN(43)), ' ')
                                            : UMAS::CENTE(gr("ΟΠΩΣ ΣΤΟ 1ο ΦΥΛΛΟ"), GB.LEN(43)));
            EXPECT_EQ(SOB(BIS, GB, 144), exp ? std::string(size_t(GB.LEN(144)), ' ')
                                             : UMAS::CENTE(gr("ΧΡΕΩΣΗ ΘΕΣΗ 47"), GB.LEN(144)));
            EXPECT_EQ(SOB(BIS, GB, 145), UMAS::CENTE(gr("ΘΕΣΣΑΛΟΝΙΚΗ "), GB.LEN(145)));
            EXPECT_EQ(SOB(BIS, GB, 146), UMAS::CENTE(gr("Ο ΕΛΕΓΚΤΗΣ"), GB.LEN(146)));
            EXPECT_EQ(SOB(BIS, GB, 43).find_first_not_of(' ') == std::string::npos, exp);
        }});
    }
}

TEST_F(Sheets, DateBoxFollowsTheYears1990To2049) {
    struct Case {
        const char* date;
        bool ok;
    };
    const Case cases[] = {{"310525", true},  {"320525", false}, {"011325", false}, {"010145", true},
                          {"010150", false}, {"010195", true},  {"310225", false}, {"290224", true},
                          {"290225", false}, {"310426", false}, {"000000", false}, {"0101", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date);
        declaration("IMP", "123", 2);
        item(2, 2);
        // Box 4 onwards to box 11.
        for (int b = 4; b < 11; ++b) enter();
        type(c.date);
        enter();
        const int bells = con->bells;
        sheet("IMP", {[&] {
            EXPECT_EQ(cursorBox(), c.ok ? "12" : "11");
            if (c.ok) {
                EXPECT_EQ(box(12), c.date);
                EXPECT_EQ(trim(SOB(BIS, GB, 145)), gr("ΘΕΣΣΑΛΟΝΙΚΗ ") + std::string(c.date).substr(0, 2) + "/" +
                                                       std::string(c.date).substr(2, 2) + "/" +
                                                       std::string(c.date).substr(4, 2));
            } else {
                // Refused with the bell: the box stays as it was (empty) and keeps the cursor.
                EXPECT_EQ(con->bells, bells + 1);
                EXPECT_EQ(box(11), "");
                EXPECT_EQ(box(12), "");
                con->ch(ESC);
            }
        }});
        if (c.ok)
            EXPECT_EQ(leaves, 2) << "Esc in the date box leaves it and asks about the change";
        else
            EXPECT_EQ(leaves, 0) << "a refused date changed nothing: Esc leaves without a question";
    }
}

// ---- Store, delete, leave ------------------------------------------------------------------------

TEST_F(Sheets, F4StoresOnceEscAsksNothingF5Deletes) {
    item(2, 2);
    sheet("IMP", {[&] {
                      EXPECT_EQ(cursorBox(), "4");
                      for (int b = 4; b < 23; ++b) enter();
                      type("WOODEN CHAIRS");
                      enter();
                      key(SC::F4);
                  },
                  [&] {
                      ASSERT_TRUE(sheetStored("1230202"));
                      const std::string bism = TESTS::readFile(path("BISM.DAT"));
                      const std::string data = EKDO::KATB_DATA();
                      ASSERT_EQ(bism.size(), data.size() + 4);
                      const int declared = int(data.size()) + 8;
                      EXPECT_EQ(uint8_t(bism[0]), declared >> 8);
                      EXPECT_EQ(uint8_t(bism[1]), declared & 0xFF);
                      EXPECT_EQ(bism.substr(2, 2), bism.substr(0, 2));
                      EXPECT_EQ(bism.substr(4), data);
                      EXPECT_NE(data.find("WOODEN CHAIRS"), std::string::npos);
                      // The index entry carries the key text.
                      const std::string bisi = TESTS::readFile(path("BISI.DAT"));
                      EXPECT_NE(bisi.find(std::string(1, char(14)) + "1230202       "), std::string::npos);
                      key(SC::F4);  // nothing changed: nothing written
                  },
                  [&] {
                      EXPECT_EQ(TESTS::readFile(path("BISM.DAT")).size(), EKDO::KATB_DATA().size() + 4);
                      con->ch(ESC);
                  }});
    EXPECT_EQ(leaves, 0) << "Esc after F4 asks nothing";

    // Open again: the item comes back; F5 with yes removes it.
    declaration("IMP", "123", 4);
    item(2, 2);
    sheet("IMP", {[&] {
                      EXPECT_EQ(box(23), "WOODEN CHAIRS");
                      EXPECT_TRUE(BOB);
                      key(SC::F5);
                      con->ch('N');
                  },
                  [&] {
                      EXPECT_FALSE(sheetStored("1230202"));
                      EXPECT_FALSE(BOB);
                      EXPECT_EQ(box(23), "");
                      EXPECT_EQ(cursorBox(), "1");
                  }});
    EXPECT_EQ(leaves, 1) << "the fresh item after a deletion has nothing to lose";
}

// A damaged item opened by its key comes up new: F5 deletes it, F4 stores the new one in its
// place; either way no second entry of the key is left in the index.
TEST_F(Sheets, ADamagedItemIsDeletedOrReplaced) {
    for (int j : {2, 3}) {
        SCOPED_TRACE(j);
        storeItem(2, j, {{23, "OLD GOODS"}});
        {
            PLAT::File m(path("BISM.DAT"), PLAT::File::READWRITE);
            const uint8_t bad[4] = {0xFF, 0xFF, 0xFF, 0xFF};
            m.writeAt(XNB, bad, 4);
        }
        declaration("IMP", "123", 4);
        item(2, j);
        std::string shown;
        sheet("IMP", {[&] {
                          shown = con->dump();
                          con->ch(' ');
                      },
                      [&] {
                          EXPECT_EQ(box(23), "") << "a new item";
                          if (j == 2) {
                              key(SC::F5);
                              con->ch('N');
                          } else {
                              for (int b = 4; b < 23; ++b) enter();
                              type("NEW GOODS");
                              enter();
                              key(SC::F4);
                          }
                      }});
        EXPECT_NE(shown.find("ΚΑΤΕΣΤΡΑΜΜΕΝΟ"), std::string::npos) << shown;
        const std::string key = "12302" + two(j);
        EXPECT_EQ(sheetStored(key), j == 3);
        EXPECT_TRUE(STORE::check(UMAS::PATH).errors.empty()) << STORE::check(UMAS::PATH).errors.front();
        if (j == 3) {
            BM = UMAS::LEJU(key, 14);
            ASSERT_TRUE(EKDO::CHOB().found);
            ASSERT_TRUE(EKDO::RUFB(LL, false));
            EXPECT_EQ(box(23), "NEW GOODS");
        }
    }
}

// An item behind a bad link of the index list: the new item that comes up is told as no proof.
TEST_F(Sheets, AnItemBehindABrokenIndexListIsTold) {
    storeItem(2, 2, {{23, "FIRST"}});
    storeItem(2, 3, {{23, "SECOND"}});
    // the first entry of partition 1 (1230202) links past the end of the file
    TESTS::linkFirstEntryPastTheEnd(path("BISI.DAT"), STORE::SHEET.recSize);
    declaration("IMP", "123", 4);
    item(2, 3);
    std::string shown;
    sheet("IMP", {[&] {
        shown = con->dump();
        con->ch(' ');
    }});
    EXPECT_NE(shown.find("ΤΟ ΑΡΧΕΙΟ BISI.DAT ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ"), std::string::npos) << shown;
}

TEST_F(Sheets, EscAfterAChangeAsksAndNoKeepsTheEditorOpen) {
    item(2, 2);
    type("X");
    enter();
    sheet("IMP", {[&] {
                      con->ch(ESC);
                      con->ch('O');  // no: stay
                  },
                  [&] { EXPECT_EQ(cursorBox(), "5"); }});
    EXPECT_EQ(leaves, 2) << "the leaving Esc asked again";
}

// ---- Paste, calculator, F10 ----------------------------------------------------------------------

TEST_F(Sheets, PasteOfEightLinesIntoTheDescription) {
    item(2, 2);
    sheet("IMP", {[&] {
        for (int b = 4; b < 23; ++b) enter();
        con->push(PLAT::pasteText("L1\r\nL2\r\nL3\r\nL4\r\nL5\r\nL6\r\nL7\r\nL8"));
    },
                  [&] {
                      for (int i = 0; i < 6; ++i) EXPECT_EQ(box(23 + i), "L" + std::to_string(i + 1));
                      EXPECT_EQ(SCR::RESTCLIP, "L7\r\nL8") << "the last two lines stay in the rest";
                      EXPECT_EQ(box(29), "");
                  }});
}

TEST_F(Sheets, CalculatorResultIsAppendedToTheBox) {
    item(2, 2);
    sheet("IMP", {[&] {
                      for (int b = 4; b < 23; ++b) enter();
                      type("ABC");
                      key(SC::ALT_C, PLAT::MOD_ALT);
                      type("12.5");
                      key(SC::DOWN);
                      con->ch(ESC);
                  },
                  [&] {
                      EXPECT_EQ(box(23), "ABC 12.5");
                      key(SC::DOWN);
                      key(SC::ALT_C, PLAT::MOD_ALT);
                      type("7");
                      key(SC::DOWN);
                      con->ch(ESC);
                  },
                  [&] { EXPECT_EQ(SOB(BIS, GB, 24).substr(0, 3), " 7 ") << "an empty box: one leading blank"; }});
}

TEST_F(Sheets, F10FillsDocumentLinesAndTheAdditionalValue) {
    item(2, 2);
    sheet("IMP", {[&] {
                      for (int r = 0; r < 4; ++r) {
                          BOS(BIS, GB, 96 + 4 * r, "C" + std::to_string(r));
                          BOS(BIS, GB, 97 + 4 * r, "EXPR" + std::to_string(r));
                          BOS(BIS, GB, 98 + 4 * r, "EUR");
                          BOS(BIS, GB, 99 + 4 * r, "  " + std::to_string(r) + "00.00");
                      }
                      for (int b = 4; b < 43; ++b) enter();
                      key(SC::F10);
                  },
                  [&] {
                      for (int r = 0; r < 4; ++r)
                          EXPECT_EQ(SOB(BIS, GB, 42 + r).substr(0, 39),
                                    UMAS::LEJU(SOB(BIS, GB, 96 + 4 * r) + " " + SOB(BIS, GB, 97 + 4 * r) + " " +
                                                   SOB(BIS, GB, 98 + 4 * r) + " " + SOB(BIS, GB, 99 + 4 * r) + " ",
                                               39));
                      for (int b = 43; b < 50; ++b) enter();
                      key(SC::F10);
                      type("150.50");
                      enter();
                  },
                  [&] { EXPECT_EQ(AYB.BA, "150.50"); }});
}

TEST_F(Sheets, F10OnBox38CopiesTheBox40ListAtMostItsTable) {
    BOS(DIA, GV, 88, "B40 MAIN");
    for (size_t size : {size_t(100), size_t(8000)}) {
        SCOPED_TRACE(size);
        std::string l1(size, '\0');
        for (size_t i = 0; i < size; ++i) l1[i] = char('A' + i % 26);
        TESTS::writeFile(path("123.L1"), l1);
        item(2, 3);
        sheet("IMP", {[&] {
                          for (int b = 4; b < 38; ++b) enter();
                          BOS(BIS, GB, 38, "OLD");
                          key(SC::F10);
                          if (size > EKDO_TABLE) con->ch(ENTER);  // the notice of the longer file
                      },
                      [&] {
                          EXPECT_EQ(cursorBox(), "38") << "the notice took the key";
                          EXPECT_EQ(box(38), "B40 MAIN");
                          std::string want = l1.substr(0, std::min(size, EKDO_TABLE));
                          want.resize(EKDO_TABLE, '\0');
                          EXPECT_EQ(TESTS::readFile(path("123.L3")), want);
                      }});
    }
}

TEST_F(Sheets, F10OnBox38WithAFolderForTheBox40ListKeepsTheItemsList) {
    BOS(DIA, GV, 88, "B40 MAIN");
    std::filesystem::create_directory(path("123.L1"));
    const std::string own(EKDO_TABLE, 'Q');
    TESTS::writeFile(path("123.L3"), own);
    item(2, 3);
    sheet("IMP", {[&] {
                      for (int b = 4; b < 38; ++b) enter();
                      key(SC::F10);
                  },
                  [&] {
                      EXPECT_EQ(cursorBox(), "38");
                      EXPECT_EQ(box(38), "B40 MAIN");
                      EXPECT_EQ(TESTS::readFile(path("123.L3")), own) << "nothing to copy: the list stays";
                  }});
}

TEST_F(Sheets, PickerHintStandsOnBoxesWithAList) {
    item(2, 2);
    sheet("IMP", {[&] {
                      EXPECT_EQ(con->text(62, 24, 11), gr("╡TAB.ΛΙΣΤΑ╞")) << "box 4: the presets";
                      for (int b = 4; b < 11; ++b) enter();
                  },
                  [&] {
                      EXPECT_EQ(cursorBox(), "11");
                      EXPECT_NE(con->text(62, 24, 11), gr("╡TAB.ΛΙΣΤΑ╞")) << "the date has no list";
                  }});
}

TEST_F(Sheets, UnitsPickWritesTheCodeInTwoDigits) {
    TESTS::writeFile(path("MON.DAT"), INSTALL::codeTableImage("MON", {"3|ΛΙΤΡΑ", "12|ΖΕΥΓΗ"}));
    for (int downs : {0, 1}) {
        SCOPED_TRACE(downs);
        item(2, 2);
        sheet("IMP", {[&] {
                          for (int b = 4; b < 39; ++b) enter();
                      },
                      [&] {
                          ASSERT_EQ(cursorBox(), "39");
                          con->ch(9);
                      },
                      [&] {
                          for (int i = 0; i < downs; ++i) key(SC::DOWN);
                          enter();
                      },
                      [&] { EXPECT_EQ(box(39), downs == 0 ? "03:" : "12:") << "the code as the list shows it"; }});
    }
}

TEST_F(Sheets, BlankTaxTypeClearsItsLineAndTheTotals) {
    item(2, 2);
    sheet("IMP", {[&] {
                      const std::pair<int, const char*> line[] = {{51, "ΦΠΑ"}, {52, "1000.00"}, {53, "  24.00"},
                                                                  {54, "    240.00"}, {56, "ΔΑΣ"}, {59, "     30.00"}};
                      for (const auto& [b, t] : line) BOS(BIS, GB, b, gr(t));
                      AYB.EIF[1] = 4;  // amounts as typed
                      AYB.EIF[2] = 4;
                      for (int b = 4; b < 51; ++b) enter();
                  },
                  [&] {
                      EXPECT_EQ(cursorBox(), "51");
                      EXPECT_EQ(box(91), "270.00") << "the payable total follows the lines on entering";
                      type("   ");
                      enter();
                  },
                  [&] {
                      for (int b = 51; b <= 55; ++b) EXPECT_EQ(box(b), "") << b;
                      EXPECT_EQ(AYB.EIF[1], 0);
                      EXPECT_EQ(AYB.EIF[2], 4);
                      EXPECT_EQ(box(91), "30.00");
                  }});
}

// ---- Item summary --------------------------------------------------------------------------------

TEST_F(Sheets, ItemSummaryAndASecondF8) {
    const std::pair<int, const char*> page[] = {{19, "ΚΟΛΛΑ:"}, {20, "12"}, {21, "ΧΙΛ/ΜΑ:"}, {22, "7"},
                                                {32, "1500"},    {36, "1400"}, {23, "DESC 1"}, {28, "DESC 6"},
                                                {29, "9403601000"}, {50, "  12345.60"}, {96, "EUR"}, {97, "1000"}};
    for (const auto& [b, t] : page) BOS(BIS, GB, b, gr(t));
    EKDO::XBOB("IMP");
    const std::string A = gr("ΚΟΛΛΑ: 12");
    EXPECT_EQ(SOB(BIS, GB, 129).substr(0, 40), A + UMAS::RIJU(gr("ΧΜ: 1500"), 40 - int(A.size())));
    EXPECT_EQ(SOB(BIS, GB, 130).substr(0, 40), UMAS::RIJU(gr("ΧΚ: 1400"), 40)) << "switch 13 is 0";
    EXPECT_EQ(box(131), "DESC 1");
    EXPECT_EQ(box(136), "DESC 6") << "nothing of the form beyond the description box";
    EXPECT_EQ(box(137), gr("ΚΩΔ.TARIC: 9403601000"));
    EXPECT_EQ(SOB(BIS, GB, 138).substr(0, 20), SOB(BIS, GB, 96) + " " + SOB(BIS, GB, 97).substr(0, 16));
    EXPECT_EQ(box(139), "") << "an empty value row gives blanks";
    EXPECT_EQ(SOB(BIS, GB, 142).substr(0, 37), UMAS::RIJU(gr("ΑΞΙΑΣ CIF:  EUR   12345.60"), 37));

    // A second F8 keeps the value lines filled by the first; switch 13 adds the net-mass label.
    BOS(BIS, GB, 97, "2000");
    BOS(BIS, GB, 100, "USD");
    UMAS::PAREDE[13].TIMI = 1;
    EKDO::XBOB("EXP");
    EXPECT_NE(SOB(BIS, GB, 138).find("1000"), std::string::npos);
    EXPECT_EQ(SOB(BIS, GB, 139).substr(0, 3), "USD") << "a blank line is filled";
    const std::string B = gr("ΧΙΛ/ΜΑ: 7");
    EXPECT_EQ(SOB(BIS, GB, 130).substr(0, 40), B + UMAS::RIJU(gr("ΧΚ: 1400"), 40 - int(B.size())));
    EXPECT_EQ(trim(SOB(BIS, GB, 142)), gr("ΑΞΙΑΣ FOB:  EUR   12345.60"));
    EKDO::XBOB("MTF");
    EXPECT_EQ(box(142), "");
}

TEST_F(Sheets, FieldModeF8AndCannedBlockBoxes) {
    item(2, 2);
    sheet("IMP", {[&] {
                      BOS(BIS, GB, 20, "5");
                      BOS(BIS, GB, 32, "100");
                      key(SC::F7);
                  },
                  [&] {
                      EXPECT_EQ(cursorBox(), "129");
                      key(SC::F8);
                  },
                  [&] {
                      EXPECT_NE(SOB(BIS, GB, 129).find(gr("ΧΜ: 100")), std::string::npos);
                      key(SC::UP);  // stays on 129
                  },
                  [&] {
                      EXPECT_EQ(cursorBox(), "129");
                      con->ch(ESC);  // back to the main view, no question
                  },
                  [&] { EXPECT_EQ(cursorBox(), "4"); }});
    EXPECT_EQ(leaves, 2) << "the summary is a change of the item";
}

// ---- Printing ------------------------------------------------------------------------------------

class SheetPrint : public Sheets {
protected:
    void SetUp() override {
        Sheets::SetUp();
        UMAS::USER_ID = "1";
        plain();
    }
    void plain() { PRNS::writeParEkt(UMAS::PE_DIAS, PRNS::PAR_EKT{66, 0, 0, 8, 0}); }
    void epson() {
        PRNS::writeParEkt(UMAS::PE_DIAS, PRNS::PAR_EKT{66, 0, 0, 7, 1});
        TESTS::writeFile(work->file("prntxt.sh"), "cat [Kk][Vv][Xx].[Tt][Xx][Tt] > printed.out\n");
    }
    // The items of a declaration with main box 16 = 3 and box 18 = 7.
    void items(const std::vector<int>& which) {
        declaration("IMP", "123", 3);
        BOS(DIA, GV, 207, gr("ΘΕΣΣΑΛΟΝΙΚΗ 10/12/26"));
        // The boxes a loaded item takes from the main page: office, code and the dates.
        BOS(DIA, GV, 6, gr("ΘΕΣΣΑΛΟΝΙΚΗ"));
        BOS(DIA, GV, 7, "1101");
        BOS(DIA, GV, 8, "091226");
        BOS(DIA, GV, 9, "091226");
        BOS(DIA, GV, 101, gr("ΦΠΑ"));
        BOS(DIA, GV, 104, "    100.00");
        BOS(DIA, GV, 141, "    100.00");
        for (int j : which) {
            const int s = j <= 4 ? 2 : 3;
            MOT m;
            m.EIF[1] = 2;
            m.EIF[2] = 13;
            storeItem(s, j,
                      {{2, "03"}, {4, "IM"}, {8, "ΘΕΣΣΑΛΟΝΙΚΗ"}, {9, "1101"}, {11, "091226"}, {12, "091226"},
                       {13, "EL21"}, {14, "RECEIVER"}, {19, "ΚΟΛΛΑ:"}, {20, std::to_string(j)},
                       {23, "ITEM " + std::to_string(j)}, {29, "9403601000"}, {30, "DE"}, {32, "1500"},
                       {34, "4000"}, {42, "N935:INV 1"}, {50, "   1000.00"}, {51, "ΦΠΑ"}, {52, "   1000.00"},
                       {53, "  24.00"}, {54, "    240.00"}, {56, "ΔΑΣ"}, {57, "   1000.00"}, {58, "   5.00"},
                       {59, std::string("     ") + std::to_string(j) + "0.00"}, {91, "    300.00"},
                       {129, "LOWER 129"}, {137, "LOWER 137"}, {146, "LOWER 146"}, {156, "BLOCK2 156"},
                       {163, "BLOCK2 163"}, {164, "NOT PRINTED"}},
                      m);
        }
        for (int b = 1; b <= SHEET_BOXES; ++b) BOS(BIS, GB, b, "");
    }
    // Names sheet s on the page, prints with the key (Shift-F1 and the like) and answers yes.
    std::string print(int s, int j, uint8_t scan, const std::string& kind = "IMP", bool lower = false) {
        item(s, j);
        sheet(kind, {[&] {
            if (lower) key(SC::F7);
            key(scan);
            con->ch('N');
            if (lower) con->ch(ESC);
        }});
        return TESTS::readFile(work->file(TESTS::exists(work->file("printed.out")) ? "printed.out" : "KART.TXT"));
    }
    void golden(const std::string& name, const std::string& got) {
        const std::string file = std::string(KORVEX_SOURCE_DIR) + "/tests/golden/sheets/" + name;
        if (getenv("KORVEX_UPDATE_GOLDEN")) TESTS::writeFile(file, got);
        EXPECT_EQ(got, TESTS::readFile(file)) << "golden file " << file;
    }
};

TEST_F(SheetPrint, MiddleSheet) {
    items({2, 3, 4, 5, 6, 7});
    const std::string out = print(2, 2, SC::SF1);
    golden("middle.prn", out);
    EXPECT_NE(out.find("1101"), std::string::npos);
    EXPECT_NE(out.find("09/12/26"), std::string::npos) << "the dates with their slashes";
    EXPECT_NE(out.find("ITEM 2"), std::string::npos);
    EXPECT_NE(out.find("ITEM 4"), std::string::npos);
    EXPECT_EQ(out.find("ITEM 5"), std::string::npos);
    EXPECT_NE(out.find("  24.00%"), std::string::npos) << "a percentage kind";
    EXPECT_EQ(out.find("   5.00%"), std::string::npos) << "kind 13 is not a percentage";
}

TEST_F(SheetPrint, LastSheetWithTotalsPerCode) {
    items({2, 3, 4, 5, 6, 7});
    const std::string out = print(3, 5, SC::SF1);
    golden("last.prn", out);
    // Per-code totals over the main page and items 2..7: ΦΠΑ 100 + 6 x 240, ΔΑΣ 20+30+...+70.
    EXPECT_NE(out.find(gr("ΦΠΑ") + "   1540.00"), std::string::npos);
    EXPECT_NE(out.find(gr("ΔΑΣ") + "    270.00"), std::string::npos);
    EXPECT_NE(out.find("   1900.00"), std::string::npos) << "the grand total";
    // The item on screen is reloaded from the store afterwards.
    EXPECT_EQ(box(23), "ITEM 5");
}

TEST_F(SheetPrint, MissingItemLeavesItsSpace) {
    items({5, 7});
    const std::string out = print(3, 5, SC::SF1);
    golden("missing.prn", out);
    EXPECT_NE(out.find("ITEM 7"), std::string::npos);
}

TEST_F(SheetPrint, DoubleStrikeWithSwitch6) {
    epson();
    UMAS::PAREDE[6].TIMI = 2;
    items({2, 3, 4});
    const std::string out = print(2, 3, SC::SF1);
    golden("switch6.prn", out);
    EXPECT_NE(out.find("\x1B" "G"), std::string::npos);
    EXPECT_NE(out.find("\x1B" "H"), std::string::npos);
    EXPECT_LT(out.find("\x1B" "G"), out.find("ITEM 2"));
    EXPECT_LT(out.rfind("\x1B" "H"), out.rfind('\x0C'));
}

TEST_F(SheetPrint, T5VariantOfAnExport) {
    items({2, 3, 4});
    const std::string out = print(2, 2, SC::SF9, "EXP");
    golden("t5.prn", out);
    EXPECT_NE(out.find("  09/12/26"), std::string::npos) << "two blanks before the dates";
    EXPECT_EQ(out.find(gr("ΘΕΣΣΑΛΟΝΙΚΗ") + " "), out.find(gr("ΘΕΣΣΑΛΟΝΙΚΗ 10/12/26"))) << "box 8 is blanked";
    EXPECT_EQ(out.find("IM"), std::string::npos) << "box 4 is blanked";
    EXPECT_NE(out.find(gr("ΘΕΣΣΑΛΟΝΙΚΗ 10/12/26")), std::string::npos) << "main box 207";
    EXPECT_EQ(out.find("1000.00"), std::string::npos) << "no tax block, box 50 blank";
}

TEST_F(SheetPrint, T1AndT2LVariants) {
    items({2, 3, 4});
    std::string out = print(2, 2, SC::SF10, "EXP");
    EXPECT_EQ(out.find("09/12/26"), std::string::npos) << "T1 leaves the dates out";
    EXPECT_EQ(out.find(gr("ΘΕΣΣΑΛΟΝΙΚΗ")), std::string::npos) << "nor the office name";
    EXPECT_NE(out.find("1000.00"), std::string::npos) << "with its tax block";
    TESTS::writeFile(work->file("KART.TXT"), "");
    out = print(2, 2, SC::SF4, "EXP");
    EXPECT_NE(out.find("IM      T2L"), std::string::npos);
    EXPECT_EQ(out.find("09/12/26"), std::string::npos);
    EXPECT_NE(out.find("1101"), std::string::npos);
}

TEST_F(SheetPrint, ExciseLastSheet) {
    declaration("DFK", "123", 2);
    BOS(DIA, GV, 104, "    100.00");
    BOS(DIA, GV, 101, gr("ΕΦΚ"));
    BOS(DIA, GV, 141, "    100.00");
    MOT m;
    m.EIF[1] = 4;
    storeItem(2, 2, {{23, "SPIRITS"}, {51, "ΕΦΚ"}, {54, "     50.00"}, {91, "     50.00"}}, m);
    for (int b = 1; b <= SHEET_BOXES; ++b) BOS(BIS, GB, b, "");
    const std::string out = print(2, 2, SC::SF1, "DFK");
    golden("excise.prn", out);
    EXPECT_NE(out.find("SPIRITS"), std::string::npos);
    EXPECT_NE(out.find(gr("ΕΦΚ") + "    150.00"), std::string::npos) << "the per-code total";
}

TEST_F(SheetPrint, LowerParts) {
    items({2, 4});
    const std::string out = print(2, 2, SC::SF1, "IMP", true);
    golden("lower.prn", out);
    EXPECT_NE(out.find("BLOCK2 156"), std::string::npos);
    EXPECT_NE(out.find("BLOCK2 163"), std::string::npos);
    EXPECT_EQ(out.find("NOT PRINTED"), std::string::npos);
}

}  // namespace
