// The declaration editor on the headless console: the number of box 1 (proposal, claim, opening,
// renumbering), the new form of each kind, the count checks, the help line, storing, deleting and
// leaving.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/ek0.h"
#include "declarations/ek0_editor.h"
#include "declarations/store.h"
#include "declarations/store_form.h"
#include "helpers/fixture.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/oslock.h"
#include "screen/scr.h"

using namespace BOD;
using PLAT::gr;
namespace SC = PLAT::SC;

namespace {

constexpr uint8_t ENTER = 13, ESC = 27, TAB = 9;

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

class Editor : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
        PLAT::setFixedNow(PLAT::DateTime{2026, 12, 10, 10, 0, 0, 0});  // a Thursday
        for (auto& p : UMAS::PAREDE) p.TIMI = 0;
        for (int i = 1; i <= 4; ++i) UMAS::LOGOTYPO[size_t(i)] = "HEADER " + std::to_string(i);
        UMAS::LOGOTYPO[7] = gr("ΘΕΣΣΑΛΟΝΙΚΗ");
        UMAS::AFM_EKTEL = "099999999";
        ASSERT_TRUE(SETFORM("IMP"));  // the form views point into this test's masks
    }
    void TearDown() override {
        PLAT::setFixedNow(std::nullopt);
        TESTS::Installation::TearDown();
    }
    std::string path(const std::string& name) const { return company(0) + "/" + name; }
    bool leftByRunner = false;  // the last run was left by the runner's Esc (a snap's did not end it)
    // Runs the editor with the scripted keys. At each wait with the script used up the next snap
    // looks at the screen and may script more keys; when the snaps are used up, or a snap scripts
    // nothing, the editor is left with Esc (and "N" when it asks). Keys left over are dropped.
    void edit(const std::string& kind, std::vector<std::function<void()>> snaps = {}, const std::string& kd = "",
              int ypod = 0) {
        size_t next = 0;
        bool leaving = false;
        con->onIdle = [&] {
            if (leaving || con->pending() > 0) return;
            if (next < snaps.size()) {
                snaps[next++]();
                if (con->pending() > 0) return;
            }
            leaving = true;
            con->ch(ESC);
            con->ch('N');
        };
        try {
            EK0::DISF(kd, kind, ypod);
        } catch (const PLAT::ScriptEnd&) {
            ADD_FAILURE() << "the editor did not return";
        }
        con->onIdle = nullptr;
        leftByRunner = leaving;
        PLAT::Event ev;
        while (con->poll(ev)) {
        }
        EXPECT_EQ(next, snaps.size()) << "every snap ran";
        EXPECT_EQ(SCR::STACKPOINTER(), 0) << "the screen is restored";
    }
    bool claimed(const std::string& number) const {
        for (const std::string& s : slots())
            if (s == UMAS::LEJU(number, 10)) return true;
        return false;
    }
    void type(const std::string& s) { con->keys(s); }
    void enter() { con->ch(ENTER); }
    void key(uint8_t scan) { con->key(scan); }
    // Clicks a box on the first window (page rows 1..23).
    void click(int b) { con->click(GV.COL(b), GV.ROW(b)); }
    std::string box(int b) const { return trim(SOB(DIA, GV, b)); }
    std::string boxOnScreen(int b) const { return trim(con->text(GV.COL(b), GV.ROW(b) + 23 - LL, GV.LEN(b))); }
    bool stored(const std::string& number) const {
        return STORE::find(UMAS::PATH, STORE::DECL, UMAS::LEJU(number, 10)).found;
    }
    bool sheetStored(const std::string& key) const {
        return STORE::find(UMAS::PATH, STORE::SHEET, UMAS::LEJU(key, 14)).found;
    }
    std::array<std::string, 4> slots() const {
        std::string img = TESTS::readFile(path("NUDI.DAT"));
        std::array<std::string, 4> s;
        for (int k = 0; k < 4; ++k) s[size_t(k)] = img.substr(size_t(k) * 11 + 1, uint8_t(img[size_t(k) * 11]));
        return s;
    }
    void claimElsewhere(int slot, const std::string& number) {
        std::string img = TESTS::readFile(path("NUDI.DAT"));
        std::string v = UMAS::LEJU(number, 10);
        img[size_t(slot) * 11] = char(v.size());
        img.replace(size_t(slot) * 11 + 1, 10, v);
        TESTS::writeFile(path("NUDI.DAT"), img);
        // A live workstation holds its claim: a lock on the slot's bytes through a file of its own.
        elsewhere = std::make_unique<PLAT::File>(path("NUDI.DAT"), PLAT::File::READWRITE);
        ASSERT_TRUE(PLAT::tryLockRange(elsewhere->handle(), int64_t(slot) * 11, 11));
    }
    std::unique_ptr<PLAT::File> elsewhere;
};

TEST_F(Editor, NewImportDefaultsStoreAndOpenAgain) {
    type("123");
    enter();
    edit("IMP", {[&] {
        EXPECT_EQ(box(1), "123");
        EXPECT_EQ(box(8), "101226");
        EXPECT_EQ(box(9), "101226");
        EXPECT_EQ(box(15), "01");
        EXPECT_EQ(box(78), "01");
        EXPECT_EQ(box(34), "099999999");
        EXPECT_EQ(box(35), "HEADER 1");
        EXPECT_EQ(box(38), "HEADER 4");
        EXPECT_EQ(box(207), gr("ΘΕΣΣΑΛΟΝΙΚΗ 10/12/26"));
        EXPECT_EQ(SOB(DIA, GV, 142).substr(4, 3), "IMP");
        EXPECT_EQ(box(62), gr("ΤΙΜΟΛ.ΑΡ.:"));
        EXPECT_EQ(box(68), gr("ΚΟΛΛΑ:"));
        EXPECT_EQ(box(221), gr("Ο ΔΙΑΧ/ΣΤΗΣ"));
        EXPECT_EQ(box(271), gr("Ο ΕΛΕΓΚΤΗΣ"));
        // The cursor went on to box 2: its number and help line on row 24.
        EXPECT_EQ(con->text(74, 24, 6), gr("αα   2"));
        // (Box 2 has a list: its hint covers the row from column 62.)
        EXPECT_EQ(trim(con->text(3, 24, 59)), trim(MES.line(GV.HLP(2)).substr(0, 59)));
        // Claimed in "NUDI".
        EXPECT_TRUE(claimed("123"));
    }});
    EXPECT_FALSE(claimed("123")) << "leaving frees the claim";
    EXPECT_FALSE(stored("123")) << "a new form is not stored by leaving";

    // Type a few boxes and store with F4; Esc then leaves at once.
    type("123");
    enter();
    click(22);
    type("ACME TRADING");
    enter();
    click(2);
    type("IM");
    enter();
    key(SC::F4);
    edit("IMP", {[&] {
        EXPECT_TRUE(stored("123"));
        con->ch(ESC);
    }});
    EXPECT_EQ(PLAT::readLines(path("DAR.DAT"))->at(0), "1         ") << "123 lies outside the proposal's window";

    // Opened again from its number.
    for (int b = 2; b <= 207; ++b) BOS(DIA, GV, b, "");
    type("123");
    enter();
    edit("IMP", {[&] {
        EXPECT_EQ(box(22), "ACME TRADING");
        EXPECT_EQ(box(2), "IM");
        EXPECT_EQ(boxOnScreen(22), "ACME TRADING");
        con->ch(ESC);
    }});
}

// The new form of each kind: the texts that differ by kind.
TEST_F(Editor, NewFormByKind) {
    struct K {
        const char* kind;
        bool invoiceLabel;
        const char* b221;
        const char* b268;
        const char* b271;
    };
    const K kinds[] = {{"IMP", true, "Ο ΔΙΑΧ/ΣΤΗΣ", "Σ Υ Ν Ο Λ Ο", "Ο ΕΛΕΓΚΤΗΣ"},
                       {"EXP", true, "", "", "Ο ΕΛΕΓΚΤΗΣ"},
                       {"MTF", true, "", "", ""},
                       {"MET", true, "", "", ""},
                       {"DFK", false, "", "Σ Υ Ν Ο Λ Ο", "Ο ΕΛΕΓΚΤΗΣ"}};
    UMAS::PAREDE[1].TIMI = 1;
    for (const K& k : kinds) {
        SCOPED_TRACE(k.kind);
        ASSERT_TRUE(SETFORM(k.kind));
        for (int b = 2; b <= BOXES; ++b) BOS(DIA, GV, b, "X");
        type("77");
        enter();
        edit(k.kind, {[&] {
            EXPECT_EQ(box(62), k.invoiceLabel ? gr("ΤΙΜΟΛ.ΑΡ.:") : "");
            EXPECT_EQ(box(68), "PC");
            EXPECT_EQ(box(70), gr("ΧΙΛ/ΜΑ:"));
            EXPECT_EQ(SOB(DIA, GV, 142).substr(4, 3), k.kind);
            EXPECT_EQ(box(221), gr(k.b221));
            EXPECT_EQ(box(268), gr(k.b268));
            EXPECT_EQ(box(271), gr(k.b271));
            EXPECT_EQ(box(100), "");
            EXPECT_EQ(box(2), "") << "the old boxes are emptied";
            EXPECT_EQ(BOD::FRONTLINES, std::string(k.kind) == "DFK" ? 84 : 113);
            con->ch(ESC);
        }});
    }
}

TEST_F(Editor, CountChecksOnForms16And18) {
    // The table of counts, each typed in a fresh editor run.
    struct C {
        const char* kind;
        const char* b16;
        const char* b18;  // nullptr: only box 16 is typed
        bool back;        // the cursor comes back to the box
    };
    const C cases[] = {{"IMP", "0", nullptr, true},   {"IMP", "34", nullptr, true}, {"IMP", "33", nullptr, false},
                       {"DFK", "34", nullptr, false}, {"DFK", "51", nullptr, true}, {"IMP", "3", "5", false},
                       {"IMP", "3", "7", false},      {"IMP", "3", "4", true},      {"IMP", "3", "8", true},
                       {"DFK", "3", "4", false},      {"DFK", "3", "6", true},      {"IMP", "1", "1", false},
                       {"IMP", "1", "2", true}};
    for (const C& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " 16=" + c.b16 + " 18=" + (c.b18 ? c.b18 : "-"));
        // A run per case: confirm the number, type the counts, look where the cursor is.
        ASSERT_TRUE(SETFORM(c.kind));
        int b = c.b18 ? 18 : 16;
        type("5");
        enter();
        if (c.b18) {
            click(16);
            type(c.b16);
            enter();
        }
        click(b);
        con->keys(std::string(2, char(25)));  // Ctrl-Y empties the field
        type(c.b18 ? c.b18 : c.b16);
        enter();
        edit(c.kind, {[&] {
            int expect = c.back ? b : b + 1;
            while (GV.TYP(expect) == TY_SHOW) ++expect;
            EXPECT_EQ(con->text(74, 24, 6), gr("αα ") + UMAS::RIJU(std::to_string(expect), 3));
        }});
    }
}

TEST_F(Editor, EscAsksOnlyAfterAChangeAndF4WritesOnce) {
    type("40");
    enter();
    click(2);
    type("AB");
    enter();
    con->ch(ESC);  // asks: answer no, the editor stays
    con->ch('O');
    key(SC::F4);
    std::string first;
    edit("IMP", {[&] {
        EXPECT_TRUE(stored("40"));
        first = TESTS::readFile(path("DISM.DAT"));
        key(SC::F4);  // nothing changed: nothing written
    },
                  [&] {
                      EXPECT_EQ(TESTS::readFile(path("DISM.DAT")), first);
                      con->ch(ESC);
                  }});
    // After the question was answered no, the text typed is still there and stored.
    EXPECT_EQ(box(2), "AB");
}

TEST_F(Editor, EscWithAChangeShowsTheQuestion) {
    type("41");
    enter();
    click(2);
    type("Z");
    enter();
    con->ch(ESC);
    edit("IMP", {[&] {
        EXPECT_NE(con->text(12).find(gr("ΕΞΟΔΟΣ ΧΩΡΙΣ ΚΑΤΑΧΩΡΗΣΗ")), std::string::npos);
        con->ch('N');
    }});
    EXPECT_FALSE(stored("41"));
}

// A date box takes only a real day of 1990 to 2049 (or nothing): anything else rings the bell and
// leaves the box as it was, with the cursor in it.
TEST_F(Editor, ImpossibleDatesAreRefusedAndTheBoxKept) {
    type("50");
    enter();
    // Each step checks what the previous one typed, then types the next (a step that types
    // nothing would end the run).
    std::vector<std::function<void()>> snaps;
    int bells = 0;
    auto step = [&](std::function<void()> look, std::function<void()> act) {
        snaps.push_back([&, look, act] {
            look();
            act();
        });
    };
    auto typeDate = [&](int b, const std::string& d) {
        return [&, b, d] {
            bells = con->bells;
            click(b);
            con->ch(25);  // Ctrl-Y empties the field
            type(d);
            enter();
        };
    };
    std::function<void()> look = [] {};
    for (int b : {8, 10}) {
        const std::string kept = b == 8 ? "101226" : "";
        for (const char* d : {"310299", "000000", "290225", "310426", "010150", "0101", "3202"}) {
            step(look, typeDate(b, d));
            look = [&, b, d, kept] {
                EXPECT_EQ(con->bells, bells + 1) << d;
                EXPECT_EQ(box(b), kept) << d;
                EXPECT_EQ(box(9), "101226") << d;
                EXPECT_EQ(con->text(74, 24, 6), gr("αα ") + UMAS::RIJU(std::to_string(b), 3)) << d;
            };
        }
    }
    // A real date, a leap day and an emptied box are taken.
    step(look, typeDate(8, "290224"));
    step(
        [&] {
            EXPECT_EQ(con->bells, bells);
            EXPECT_EQ(box(8), "290224");
            EXPECT_EQ(box(9), "290224");
        },
        typeDate(10, "311249"));
    step([&] { EXPECT_EQ(box(10), "311249"); }, typeDate(10, ""));
    step([&] { EXPECT_EQ(box(10), ""); }, [] {});
    edit("IMP", snaps);
}

TEST_F(Editor, BusyNumberAndOwnClaim) {
    claimElsewhere(2, "123");
    type("123");
    enter();
    edit("IMP", {[&] {
        // The busy screen until Esc.
        EXPECT_NE(con->dump().find("ΠΡΟΣΟΧΗ"), std::string::npos);
        con->ch(ESC);
    },
                  [&] {
                      EXPECT_EQ(box(1), "") << "box 1 returns to the previous (no) number";
                      EXPECT_EQ(con->text(74, 24, 6), gr("αα   1"));
                      con->ch(ESC);
                  }});
    EXPECT_EQ(slots()[2], "123       ") << "the other workstation keeps its claim";

    // This workstation confirms 200, then types 123 without confirming it and leaves: only its own
    // claim is freed.
    type("200");
    enter();
    click(1);
    con->keys(std::string(1, char(25)));
    type("123");
    key(SC::UP);
    edit("IMP", {[&] {
        EXPECT_TRUE(claimed("200"));
        EXPECT_EQ(TM, "123       ");
    }});
    EXPECT_FALSE(claimed("200"));
    EXPECT_EQ(slots()[2], "123       ");
}

TEST_F(Editor, TabProposesTheNumberAndF4AdvancesIt) {
    TESTS::writeFile(path("DAR.DAT"), "1240      \r\n");
    con->ch(TAB);
    edit("IMP", {[&] {
        EXPECT_EQ(box(1), "1240");
        EXPECT_EQ(con->text(74, 24, 6), gr("αα   1")) << "Tab leaves the cursor on box 1";
        enter();
        type("X");
        enter();
        key(SC::F4);
    },
                  [&] {
                      EXPECT_TRUE(stored("1240"));
                      EXPECT_EQ(PLAT::readLines(path("DAR.DAT"))->at(0), "1241      ");
                      con->ch(ESC);
                  }});
}

// A missing last-number file is said on row 24; the proposal starts from 1 and F4 creates the file.
TEST_F(Editor, AMissingLastNumberFileProposesOne) {
    std::remove(path("DAR.DAT").c_str());
    std::string row24;
    con->ch(TAB);
    edit("IMP", {[&] {
        row24 = con->text(3, 24, 40);
        con->ch(' ');  // the key the notice waits for
    },
                  [&] {
                      EXPECT_EQ(box(1), "1");
                      enter();
                      type("X");
                      enter();
                      key(SC::F4);
                  },
                  [&] {
                      EXPECT_TRUE(stored("1"));
                      EXPECT_EQ(PLAT::readLines(path("DAR.DAT"))->at(0), "2         ");
                      con->ch(ESC);
                  }});
    EXPECT_NE(row24.find("DAR.DAT"), std::string::npos) << row24;
}

TEST_F(Editor, LastNumberFileWindow) {
    struct C {
        const char* stored;
        const char* after;
    };
    const C cases[] = {{"1240", "1241"}, {"1245", "1246"}, {"1250", "1251"}, {"1251", "1240"}, {"1239", "1240"}};
    for (const C& c : cases) {
        SCOPED_TRACE(c.stored);
        TESTS::writeFile(path("DAR.DAT"), "1240      \r\n");
        EK0::SAVENODIAS(UMAS::LEJU(c.stored, 10));
        EXPECT_EQ(trim(PLAT::readLines(path("DAR.DAT"))->at(0)), c.after);
    }
    // A line without a blank proposes 0: only 0..10 advance it.
    TESTS::writeFile(path("DAR.DAT"), "1240\r\n");
    EK0::SAVENODIAS("5");
    EXPECT_EQ(trim(PLAT::readLines(path("DAR.DAT"))->at(0)), "6");
}

TEST_F(Editor, LeadingZerosAreDropped) {
    type("00123");
    enter();
    edit("IMP", {[&] {
        EXPECT_EQ(TM, "123       ");
        EXPECT_EQ(box(1), "123");
        con->ch(ESC);
    }});
}

// A stored declaration with continuation records and side files, renumbered in the editor.
class Renumber : public Editor {
protected:
    void makeStored(const std::string& number) {
        ASSERT_TRUE(SETFORM("IMP"));
        type(number);
        enter();
        click(16);
        type("2");
        enter();
        click(18);
        type("3");
        enter();
        click(2);
        type("IM");
        enter();
        key(SC::F4);
        edit("IMP", {[&] { con->ch(ESC); }});
        ASSERT_TRUE(stored(number));
        // Items 2 and 4 of sheet 2.
        UMAS::LOCK("FBIS");
        for (int item : {2, 4}) {
            for (int b = 1; b <= SHEET_BOXES; ++b) BOS(BIS, GB, b, "");
            BOS(BIS, GB, 1, "02");
            BOS(BIS, GB, 3, "0" + std::to_string(item));
            BOS(BIS, GB, 23, "GOODS " + std::to_string(item));
            BM = UMAS::LEJU(number + "020" + std::to_string(item), 14);
            BOB = false;
            EKDO::KATB();
        }
        UMAS::UNLOC("FBIS");
        for (const char* ext : {".T44", ".O1", ".L2", ".V1", ".02"}) TESTS::writeFile(path(number + ext), ext);
    }
    // Opens FROM, types TO into the number and gives ANSWER to the renumber question, then
    // REPLACE (when given) to the question whether TO's stored declaration is replaced.
    void renumber(const std::string& from, const std::string& to, char answer, char replace = 0) {
        type(from);
        enter();
        click(1);
        con->keys(std::string(1, char(25)));
        type(to);
        enter();
        con->ch(uint8_t(answer));
        if (replace) con->ch(uint8_t(replace));
        edit("IMP", {[&] { con->ch(ESC); }});
    }
    // Opens NUMBER, deletes it with F5 (yes to the question) and leaves the editor.
    void deleteByF5(const std::string& number) {
        type(number);
        enter();
        key(SC::F5);
        con->ch('N');
        edit("IMP", {[&] { con->ch(ESC); }});
    }
};

TEST_F(Renumber, ToAFreeNumberMovesItemsAndSideFiles) {
    makeStored("100");
    renumber("100", "200", 'N');
    EXPECT_FALSE(stored("100"));
    EXPECT_TRUE(stored("200"));
    EXPECT_FALSE(sheetStored("1000202"));
    EXPECT_FALSE(sheetStored("1000204"));
    EXPECT_TRUE(sheetStored("2000202"));
    EXPECT_TRUE(sheetStored("2000204"));
    for (const char* ext : {".T44", ".O1", ".L2", ".02"}) {
        EXPECT_TRUE(TESTS::exists(path(std::string("200") + ext))) << ext;
        EXPECT_FALSE(TESTS::exists(path(std::string("100") + ext))) << ext;
    }
    EXPECT_TRUE(TESTS::exists(path("100.V1"))) << "the tax bases keep the old number";
    EXPECT_FALSE(TESTS::exists(path("200.V1")));
    // The items carry the new number in sheet box 10, the declaration loads under it.
    BM = UMAS::LEJU("2000202", 14);
    EKDO::CHOB();
    ASSERT_TRUE(BOB);
    ASSERT_TRUE(EKDO::RUFB(LL, false));
    EXPECT_EQ(trim(SOB(BIS, GB, 10)), "200");
    EXPECT_EQ(trim(SOB(BIS, GB, 23)), "GOODS 2");
    EXPECT_EQ(trim(SOB(BIS, GB, 137)), gr("ΚΩΔ.TARIC:"));
    TM = "200       ";
    EK0::CHO();
    ASSERT_TRUE(BOO);
    ASSERT_TRUE(EK0::DISF_RUF(false));
}

// 151 and 232 have the same change checksum in box 1: the renumbered declaration is still written.
TEST_F(Renumber, SameChecksumIsStillWritten) {
    makeStored("151");
    renumber("151", "232", 'N');
    EXPECT_FALSE(stored("151"));
    EXPECT_TRUE(stored("232"));
    for (int b = 2; b <= 207; ++b) BOS(DIA, GV, b, "");
    type("232");
    enter();
    edit("IMP", {[&] {
        EXPECT_EQ(box(2), "IM");
        con->ch(ESC);
    }});
}

TEST_F(Renumber, AnsweringNoOpensTheTypedNumber) {
    makeStored("100");
    renumber("100", "300", 'O');
    EXPECT_TRUE(stored("100"));
    EXPECT_FALSE(stored("300")) << "a new form, not stored";
    EXPECT_TRUE(sheetStored("1000202"));
    EXPECT_EQ(box(2), "");
}

TEST_F(Renumber, ReplacingAnotherDeclaration) {
    makeStored("100");
    makeStored("300");
    renumber("100", "300", 'N', 'N');  // renumbered, replacing 300
    EXPECT_FALSE(stored("100"));
    EXPECT_TRUE(stored("300"));
    EXPECT_TRUE(sheetStored("3000202"));
    EXPECT_FALSE(sheetStored("1000202"));
}

// A template copied over the number of another stored declaration: the copy keeps the template's
// date and customer; the replaced declaration's are gone with it from the day and customer chains.
TEST_F(Renumber, ATemplateCopiedOverAnotherNumberKeepsItsOwnDateAndCustomer) {
    makeStored("100");  // the template: today, no customer
    // 300: another date and customer 7
    for (int b = 1; b <= BOXES; ++b) BOS(DIA, GV, b, "");
    BOS(DIA, GV, 1, "300");
    BOS(DIA, GV, 8, "010125");
    TM = UMAS::LEJU("300", 10);
    HM = "010125";
    PR = 7;
    BOO = false;
    CSM = -1;
    ASSERT_TRUE(EK0::KATD().stored);
    PR = NO_CUSTOMER;

    enter();  // the template's number
    click(1);
    con->keys(std::string(1, char(25)));
    type("300");
    enter();
    con->ch('N');  // a copy under 300
    con->ch('N');  // replacing the stored 300
    edit("IMP", {[&] {
             EXPECT_EQ(box(8), "101226") << "the template's date on screen";
             con->ch(ESC);
         }},
         "100", 1);
    ASSERT_TRUE(stored("100")) << "the template stays";
    TM = UMAS::LEJU("300", 10);
    EK0::CHO();
    ASSERT_TRUE(BOO);
    ASSERT_TRUE(EK0::DISF_RUF(true));
    EXPECT_EQ(box(8), "101226");
    EXPECT_EQ(box(2), "IM");
    EXPECT_EQ(PR, NO_CUSTOMER);
    STORE::CheckOptions strict;
    strict.strict = true;
    const STORE::Report rep = STORE::check(UMAS::PATH, strict);
    EXPECT_TRUE(rep.errors.empty()) << rep.errors.front();
}

// Renumbered with the day-chain file damaged: stored under the new number with the notice shown,
// and the stored form leaves without the question.
TEST_F(Renumber, ANoticeOfTheStoreIsShownAndTheFormCountsAsStored) {
    makeStored("100");
    std::filesystem::resize_file(path("DISH.DAT"), 6);
    std::string notice;
    type("100");
    enter();
    click(1);
    con->keys(std::string(1, char(25)));
    type("200");
    enter();
    con->ch('N');
    edit("IMP", {[&] {
                     notice = con->text(23);
                     con->ch(' ');
                 },
                 [&] {
                     EXPECT_TRUE(stored("200"));
                     EXPECT_EQ(box(1), "200");
                     con->ch(ESC);
                 }});
    EXPECT_NE(notice.find(gr("Η ΔΙΑΣΑΦΗΣΗ ΔΕΝ ΘΑ ΦΑΙΝΕΤΑΙ ΑΝΑ ΗΜΕΡΟΜΗΝΙΑ")), std::string::npos) << notice;
    EXPECT_FALSE(leftByRunner) << "Esc after the store asked whether to leave without storing";
    EXPECT_FALSE(stored("100"));
}

// After F5 deleted the declaration the cleared form has nothing to lose: Esc leaves at once.
TEST_F(Renumber, EscAfterADeletionAsksNothing) {
    makeStored("100");
    deleteByF5("100");
    EXPECT_FALSE(stored("100"));
    EXPECT_FALSE(leftByRunner) << "Esc asked about changes";
}

TEST_F(Renumber, DeleteTakesItemsAndSideFiles) {
    makeStored("100");
    type("100");
    enter();
    key(SC::F5);
    con->ch('N');
    edit("IMP", {[&] {
        EXPECT_EQ(box(1), "100");
        EXPECT_EQ(box(2), "") << "cleared to a new form";
        con->ch(ESC);
        con->ch('N');
    }});
    EXPECT_FALSE(stored("100"));
    EXPECT_FALSE(sheetStored("1000202"));
    EXPECT_FALSE(sheetStored("1000204"));
    for (const char* ext : {".T44", ".O1", ".L2", ".V1", ".02"})
        EXPECT_FALSE(TESTS::exists(path(std::string("100") + ext))) << ext;
}

// Items stored on a sheet past box 16 (the forms lowered after they were stored) belong to their
// number all the same: deleting takes them, renumbering moves them, replacing takes the replaced
// declaration's.
TEST_F(Renumber, ItemsPastTheFormsGoWithTheirNumber) {
    auto itemOnSheet3 = [&](const std::string& number) {
        UMAS::LOCK("FBIS");
        for (int b = 1; b <= SHEET_BOXES; ++b) BOS(BIS, GB, b, "");
        BOS(BIS, GB, 1, "03");
        BOS(BIS, GB, 3, "05");
        BM = UMAS::LEJU(number + "0305", 14);
        BOB = false;
        const bool ok = EKDO::KATB().stored;
        UMAS::UNLOC("FBIS");
        return ok;
    };
    makeStored("100");
    ASSERT_TRUE(itemOnSheet3("100"));
    deleteByF5("100");
    EXPECT_FALSE(stored("100"));
    EXPECT_FALSE(sheetStored("1000305")) << "deleted with its declaration";

    makeStored("100");
    ASSERT_TRUE(itemOnSheet3("100"));
    renumber("100", "200", 'N');
    EXPECT_FALSE(sheetStored("1000305"));
    EXPECT_TRUE(sheetStored("2000305")) << "moved with its declaration";
    EXPECT_TRUE(sheetStored("2000202"));

    makeStored("300");
    ASSERT_TRUE(itemOnSheet3("300"));
    renumber("200", "300", 'N', 'N');  // renumbered, replacing 300
    EXPECT_FALSE(stored("200"));
    EXPECT_TRUE(stored("300"));
    EXPECT_TRUE(sheetStored("3000305")) << "200's item moved in";
    EXPECT_TRUE(sheetStored("3000202"));
    EXPECT_FALSE(sheetStored("2000305"));
    // the replaced declaration's own item on sheet 3 is gone: only one item under the key
    EXPECT_EQ(STORE::itemsOf(UMAS::PATH, "300").items.size(), 3u);
    BM = UMAS::LEJU("3000305", 14);
    EKDO::CHOB();
    ASSERT_TRUE(BOB);
    ASSERT_TRUE(EKDO::RUFB(LL, false));
    EXPECT_EQ(trim(SOB(BIS, GB, 10)), "300") << "the item moved in, not the replaced one's";
    const STORE::Report rep = STORE::check(UMAS::PATH);
    EXPECT_TRUE(rep.errors.empty()) << rep.errors.front();
}

// A damaged item goes with its declaration's deletion; renumbering does not copy it.
TEST_F(Renumber, ADamagedItemIsDeletedWithItsNumberAndNotMoved) {
    auto damage = [&](const std::string& key) {
        const STORE::Found f = STORE::find(UMAS::PATH, STORE::SHEET, UMAS::LEJU(key, 14));
        ASSERT_TRUE(f.found);
        PLAT::File m(path("BISM.DAT"), PLAT::File::READWRITE);
        const uint8_t bad[4] = {0xFF, 0xFF, 0xFF, 0xFF};
        m.writeAt(f.pos, bad, 4);
    };
    makeStored("100");
    damage("1000202");
    renumber("100", "200", 'N');
    EXPECT_FALSE(sheetStored("1000202"));
    EXPECT_FALSE(sheetStored("2000202")) << "not copied";
    EXPECT_TRUE(sheetStored("2000204"));
    damage("2000204");
    deleteByF5("200");
    EXPECT_FALSE(stored("200"));
    EXPECT_FALSE(sheetStored("2000204"));
}

// The value rows, the statistical value, the value for VAT and the euro total follow a change.
TEST_F(Editor, TheTotalsFollowAValueRow) {
    type("60");
    enter();
    key(SC::PGDN);
    key(SC::PGDN);
    edit("IMP", {[&] {
        ASSERT_EQ(LL, 69);
        // The expression first: entering it with an empty expression would blank the code.
        con->click(GV.COL(146), GV.ROW(146) + 23 - LL);
        type("1000/1.25");
        enter();
        con->click(GV.COL(145), GV.ROW(145) + 23 - LL);
        type("USD");
        enter();
        enter();
    },
                  [&] {
                      EXPECT_EQ(box(145), "USD");
                      EXPECT_EQ(box(146), "1000/1.25");
                      EXPECT_EQ(box(148), "800.00");
                      EXPECT_EQ(box(100), "800.00");
                      EXPECT_EQ(box(177), "800.00");
                      EXPECT_EQ(box(179), "800.00");
                      EXPECT_EQ(boxOnScreen(100), "800.00") << "shown";
                  }});
}

TEST_F(Editor, F5OnANewFormDoesNothing) {
    type("9");
    enter();
    click(2);
    type("Q");
    enter();
    key(SC::F5);
    edit("IMP", {[&] {
        EXPECT_EQ(box(2), "Q");
        con->ch(ESC);
        con->ch('N');
    }});
}

}  // namespace

// A stored declaration whose record file is damaged is not opened; the screen says in Greek what is
// damaged and in which file (the detail is the store checker's).
TEST_F(Editor, ADamagedDeclarationIsToldInGreekWithItsFile) {
    type("123");
    enter();
    click(22);
    type("ACME TRADING");
    enter();
    key(SC::F4);
    edit("IMP", {[&] {
        EXPECT_TRUE(stored("123"));
        con->ch(ESC);
    }});
    // The record file cut short: the declaration's areas now lie outside it.
    std::filesystem::resize_file(path("DISM.DAT"), 8);
    type("123");
    enter();
    std::string shown;
    edit("IMP", {[&] {
        shown = con->dump();
        con->ch(ESC);
    }});
    EXPECT_NE(shown.find("Η ΔΙΑΣΑΦΗΣΗ ΕΙΝΑΙ ΚΑΤΕΣΤΡΑΜΜΕΝΗ ΣΤΟ ΑΡΧΕΙΟ DISM.DAT"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("outside"), std::string::npos) << shown;
}

// A damaged declaration opened by its number: the clerk can delete it with F5, or type it again
// and store it with F4 in its place; either way no entry of it stays in the index or the chains.
TEST_F(Editor, ADamagedDeclarationIsDeletedOrReplaced) {
    for (const char* how : {"F5", "F4"}) {
        SCOPED_TRACE(how);
        const std::string number = how == std::string("F5") ? "123" : "124";
        for (int b = 1; b <= BOXES; ++b) BOS(DIA, GV, b, "");
        BOS(DIA, GV, 1, number);
        BOS(DIA, GV, 8, "010325");
        TM = UMAS::LEJU(number, 10);
        HM = "010325";
        PR = 5;
        BOO = false;
        CSM = -1;
        const STORE::Result r = EK0::KATD();
        ASSERT_TRUE(r.stored);
        PR = NO_CUSTOMER;
        {
            PLAT::File m(path("DISM.DAT"), PLAT::File::READWRITE);
            const uint8_t bad[4] = {0xFF, 0xFF, 0xFF, 0xFF};
            m.writeAt(r.pos, bad, 4);
        }
        type(number);
        enter();
        std::string shown;
        std::vector<std::function<void()>> snaps = {[&] {
            shown = con->dump();
            EXPECT_EQ(TESTS::readFile(path("FDIA.DAT")), std::string(1, '\0')) << "told with the store free";
            con->ch(' ');
        }};
        if (how == std::string("F5")) {
            snaps.push_back([&] {
                key(SC::F5);
                con->ch('N');
            });
        } else {
            snaps.push_back([&] {
                click(2);
                type("IM");
                enter();
                key(SC::F4);
            });
        }
        edit("IMP", snaps);
        EXPECT_NE(shown.find("Η ΔΙΑΣΑΦΗΣΗ ΕΙΝΑΙ ΚΑΤΕΣΤΡΑΜΜΕΝΗ"), std::string::npos) << shown;
        EXPECT_EQ(stored(number), how == std::string("F4"));
        STORE::CheckOptions strict;
        strict.strict = true;
        const STORE::Report rep = STORE::check(UMAS::PATH, strict);
        EXPECT_TRUE(rep.errors.empty()) << rep.errors.front();
        if (how == std::string("F4")) {
            TM = UMAS::LEJU(number, 10);
            EK0::CHO();
            ASSERT_TRUE(BOO);
            ASSERT_TRUE(EK0::DISF_RUF(true));
            EXPECT_EQ(box(2), "IM");
        }
    }
}

// A number behind a bad link of the index list: the new form that comes up is told as no proof.
TEST_F(Editor, ANumberBehindABrokenIndexListIsTold) {
    for (const char* n : {"100", "150"}) {
        for (int b = 1; b <= BOXES; ++b) BOS(DIA, GV, b, "");
        BOS(DIA, GV, 1, n);
        TM = UMAS::LEJU(n, 10);
        HM.clear();
        PR = NO_CUSTOMER;
        BOO = false;
        CSM = -1;
        ASSERT_TRUE(EK0::KATD().stored);
    }
    // the first entry of partition 1 (100) links past the end of the file
    TESTS::linkFirstEntryPastTheEnd(path("DISI.DAT"), STORE::DECL.recSize);
    type("150");
    enter();
    std::string shown;
    edit("IMP", {[&] {
        shown = con->dump();
        EXPECT_EQ(TESTS::readFile(path("FDIA.DAT")), std::string(1, '\0')) << "told with the store free";
        con->ch(' ');
    }});
    EXPECT_NE(shown.find("ΤΟ ΑΡΧΕΙΟ DISI.DAT ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ"), std::string::npos) << shown;
    // a number before the bad link opens as it is, without a word
    type("100");
    enter();
    edit("IMP", {[&] {
        EXPECT_EQ(con->dump().find("ΑΛΛΟΙΩΘΕΙ"), std::string::npos);
        con->ch(ESC);
    }});
}

// The help line of box 12 says what Tab does in the kind: the customer list where box 12 is a
// customer box, the canned texts elsewhere.
TEST_F(Editor, TheHelpLineOfBox12SaysWhatTabDoes) {
    const std::pair<const char*, const char*> cases[] = {{"IMP", "Tab: έτοιμα κείμενα"},
                                                         {"EXP", "Tab: κατάλογος πελατών"}};
    for (const auto& [kind, said] : cases) {
        type("123");
        enter();
        click(12);
        std::string row;
        edit(kind, {[&] {
            row = con->text(3, 24, 59);
            con->ch(ESC);
        }});
        EXPECT_NE(row.find(gr(said)), std::string::npos) << kind << ": " << row;
    }
}

// A declaration stored while its day-chain file is damaged is stored and the clerk is told it will
// not be listed by date; the form then counts as unchanged: Esc leaves without the question.
TEST_F(Editor, StoredDespiteADamagedDayChainLeavesWithoutTheQuestion) {
    ASSERT_TRUE(TESTS::exists(path("DISH.DAT")));
    std::filesystem::resize_file(path("DISH.DAT"), 6);  // the head area cut short
    type("126");
    enter();
    click(2);
    type("AB");
    enter();
    key(SC::F4);
    std::string notice;
    edit("IMP", {[&] {
                     notice = con->text(23);
                     con->ch(' ');
                 },
                 [&] {
                     EXPECT_TRUE(stored("126"));
                     con->ch(ESC);
                 }});
    EXPECT_NE(notice.find(gr("Η ΔΙΑΣΑΦΗΣΗ ΔΕΝ ΘΑ ΦΑΙΝΕΤΑΙ ΑΝΑ ΗΜΕΡΟΜΗΝΙΑ")), std::string::npos) << notice;
    EXPECT_FALSE(leftByRunner) << "Esc after the store asked whether to leave without storing";
}

// A box with a list shows "╡TAB.ΛΙΣΤΑ╞" from column 62 of row 24: its help line ends before it, in
// every kind (box 79, the goods code, on the screen).
TEST_F(Editor, HelpLinesOfBoxesWithAListEndBeforeTheHint) {
    for (const char* kind : {"IMP", "EXP", "MTF", "MET", "DFK"}) {
        ASSERT_TRUE(SETFORM(kind));
        EK0::Disf d;
        d.EXT = kind;
        for (int v = 1; v <= 207; ++v)
            if (GV.TYP(v) != TY_SHOW && d.hasHint(v))
                EXPECT_LE(d.help(v).size(), 59u) << kind << " box " << v << ": " << PLAT::cp737ToUtf8(d.help(v));
    }
    ASSERT_TRUE(SETFORM("IMP"));
    type("127");
    enter();
    key(SC::PGDN);  // box 79 lies on the second window
    con->click(GV.COL(79), GV.ROW(79) - 23);
    std::string row;
    edit("IMP", {[&] {
        row = con->text(24);
        con->ch(ESC);
    }});
    EXPECT_NE(row.find(MES.line(GV.HLP(79))), std::string::npos) << PLAT::cp737ToUtf8(row);
    EXPECT_NE(row.find(gr("╡TAB.ΛΙΣΤΑ╞")), std::string::npos) << PLAT::cp737ToUtf8(row);
}

// Leaving the alternate view redraws the editor's page: a kind that the view filled into box 142
// shows at once, not after the next page key.
TEST_F(Editor, TheKindTheViewFillsShowsOnReturn) {
    auto kindOnScreen = [&] { return con->text(GV.COL(142) + 4, GV.ROW(142) + 23 - LL, 3); };
    type("124");
    enter();
    edit("IMP", {[&] {
                     std::string b = SOB(DIA, GV, 142);
                     b.replace(4, 3, "   ");
                     BOS(DIA, GV, 142, b);
                     key(SC::PGDN);
                     key(SC::PGDN);
                 },
                 [&] {
                     ASSERT_GE(GV.ROW(142), LL - 22);
                     ASSERT_LE(GV.ROW(142), LL);
                     EXPECT_EQ(kindOnScreen(), "   ");
                     key(SC::F7);
                     con->ch(ESC);
                 },
                 [&] {
                     EXPECT_EQ(SOB(DIA, GV, 142).substr(4, 3), "IMP");
                     EXPECT_EQ(kindOnScreen(), "IMP");
                 }});
}
