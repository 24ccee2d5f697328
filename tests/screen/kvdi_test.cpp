// The code tables on the headless console: the places table as the plainest editor-picker, the
// tax table, the validity-date entry and the code-tables menu.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "codes/kvdi.h"
#include "common/umas.h"
#include "helpers/fixture.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"
#include "shell/install.h"
#include "screen/kvdi_fixture.h"

namespace {

using namespace KVTEST;

// ---- The places table ----------------------------------------------------------------------------

TEST_F(CodeTables, PlacesEditOfRowOneAndF1GiveTheFileBytes) {
    ch(ENTER);
    type("ΠΕΙΡΑΙΑΣ");
    ch(ENTER);
    key(SC::F1);
    std::string row7, page;
    KVDI::RECAPO mee{"X"};
    uint8_t KK = 9;
    run([&] { KVDI::APO(mee, false, KK); }, [&] {
        row7 = con->text(25, 7, 30);
        page = con->text(52, 19, 2);
    });
    EXPECT_EQ(KK, 9) << "maintenance mode leaves KK alone";
    EXPECT_EQ(mee.AP, "X");
    EXPECT_EQ(row7, pad(gr("ΠΕΙΡΑΙΑΣ"), 30));
    EXPECT_EQ(page, " 1");
    const std::string f = read("APO");
    ASSERT_EQ(f.size(), 1116u);
    EXPECT_EQ(f.substr(0, 31), pstr(pad(gr("ΠΕΙΡΑΙΑΣ"), 30), 30));
    // The rest of the page shown is stored blank-padded; the pages not shown stay empty.
    for (int r = 2; r <= 12; ++r) EXPECT_EQ(f.substr(size_t(r - 1) * 31, 31), pstr(std::string(30, ' '), 30)) << r;
    EXPECT_EQ(f.substr(12 * 31), std::string(24 * 31, '\0'));
}

TEST_F(CodeTables, PlacesEscAfterEditsAndF1WithoutChangeLeaveTheFileUntouched) {
    seed("APO", {"ΠΑΤΡΑ"});
    const std::string before = read("APO");
    const FileId id = fileId(dat("APO"));
    KVDI::RECAPO mee;
    uint8_t KK = 0;
    // Edits, F5 and paging, then Esc: nothing is written.
    ch(ENTER);
    type("ΒΟΛΟΣ");
    ch(ENTER);
    key(SC::DOWN);
    key(SC::F5);
    key(SC::PGDN);
    run([&] { KVDI::APO(mee, false, KK); });
    // F1 with nothing changed (paging pads the rows in memory, which is no change of its own).
    key(SC::PGDN);
    key(SC::PGDN);
    key(SC::F1);
    run([&] { KVDI::APO(mee, false, KK); });
    EXPECT_EQ(read("APO"), before);
    EXPECT_TRUE(sameFile(fileId(dat("APO")), id)) << "not even rewritten";
}

TEST_F(CodeTables, PlacesF5BlanksTheRowAndTheSecondF1StoresAgain) {
    seed("APO", {"ΠΑΤΡΑ", "ΒΟΛΟΣ"});
    key(SC::F5);
    key(SC::F1);
    key(SC::DOWN);
    key(SC::F5);
    key(SC::F1);
    KVDI::RECAPO mee;
    uint8_t KK = 0;
    run([&] { KVDI::APO(mee, false, KK); });
    const std::string f = read("APO");
    // The blanked rows are drawn again at once, so they are stored blank-padded.
    EXPECT_EQ(f.substr(0, 31), pstr(std::string(30, ' '), 30));
    EXPECT_EQ(f.substr(31, 31), pstr(std::string(30, ' '), 30));
}

TEST_F(CodeTables, PlacesPickerContract) {
    struct Case {
        const char* what;
        std::function<void()> keys;
        uint8_t KK;
        std::string AP;  // MEE afterwards (UTF-8, before padding)
        bool padded;
    } cases[] = {
        {"Enter on a row", [&] { key(SC::DOWN); ch(ENTER); }, 0, "ΒΟΛΟΣ", true},
        {"Enter on an empty row", [&] { key(SC::PGDN); ch(ENTER); }, 0, "", true},
        {"Esc", [&] { key(SC::DOWN); ch(ESC); }, 3, "ΠΡΙΝ", false},
        {"F1 and F5 do nothing", [&] { key(SC::F5); key(SC::F1); ch(ENTER); }, 0, "ΠΑΤΡΑ", true},
        {"a digit pair chooses a row", [&] { ch('0'); ch('2'); }, 0, "ΒΟΛΟΣ", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        seed("APO", {"ΠΑΤΡΑ", "ΒΟΛΟΣ"});
        const FileId id = fileId(dat("APO"));
        c.keys();
        KVDI::RECAPO mee{gr("ΠΡΙΝ")};
        uint8_t KK = 9;
        run([&] { KVDI::APO(mee, true, KK); }, {}, "");
        EXPECT_EQ(KK, c.KK);
        EXPECT_EQ(mee.AP, c.padded ? pad(gr(c.AP.c_str()), 30) : gr(c.AP.c_str()));
        EXPECT_TRUE(sameFile(fileId(dat("APO")), id)) << "a picker never writes";
    }
}

// ---- The tax table -------------------------------------------------------------------------------

std::string taxLine(const std::string& kv, const std::string& fo, const std::string& ps, int ei) {
    return kv + "|" + fo + "|" + ps + "|" + std::to_string(ei);
}

TEST_F(CodeTables, TaxRatesShowByTheirBaseKind) {
    seed("TAX", {taxLine("A00", "ΔΑΣΜΟΣ", "12.5", 1), taxLine("E10", "ΕΦΚ", "0.5", 3), taxLine("S19", "ΣΥΜΨ", "7", 19),
                 taxLine("K00", "ΧΩΡΙΣ", "7", 0), taxLine("K31", "ΕΚΤΟΣ", "7", 31), taxLine("B00", "ΦΠΑ", "12.5x", 8),
                 taxLine("", "ΧΩΡΙΣ ΚΩΔΙΚΟ", "5", 1), taxLine("Z00", "ΜΗΔΕΝ", "0", 1)});
    std::vector<std::string> rate(9), pct(9), kind(9), name(9);
    uint16_t mee = 0;
    uint8_t KK = 1;
    run([&] { KVDI::TAX(mee, "A00", false, KK); }, [&] {
        for (int r = 1; r <= 8; ++r) {
            rate[size_t(r)] = con->text(42, 6 + r, 7);
            pct[size_t(r)] = con->text(50, 6 + r, 1);
            kind[size_t(r)] = con->text(52, 6 + r, 10);
            name[size_t(r)] = con->text(26, 6 + r, 14);
        }
    });
    EXPECT_EQ(rate[1], "  12.50");
    EXPECT_EQ(pct[1], "%");
    EXPECT_EQ(kind[1], gr("Γενικό Συν"));
    EXPECT_EQ(rate[2], "  0.500");
    EXPECT_EQ(pct[2], " ");
    EXPECT_EQ(kind[2], gr("Μη Υπ. ΦΠΑ"));
    EXPECT_EQ(rate[3], "       ") << "kind 19 shows no rate";
    EXPECT_EQ(kind[3], gr("ΣΥΜΨΗΦ/ΜΟΣ"));
    EXPECT_EQ(rate[4], "       ");
    EXPECT_EQ(kind[4], std::string(10, ' '));
    EXPECT_EQ(rate[5], "       ");
    EXPECT_EQ(kind[5], std::string(10, ' ')) << "a kind outside 1..30 has no name";
    EXPECT_EQ(rate[6], "  12.50") << "the rate is cut at its first bad character";
    EXPECT_EQ(KVDI::getTax(6).PS, "12.5");
    EXPECT_EQ(name[7], std::string(14, ' ')) << "no code: no name";
    EXPECT_EQ(rate[7], "       ");
    EXPECT_EQ(kind[7], std::string(10, ' '));
    EXPECT_EQ(rate[8], "       ");
    // Drawing alone is no change: nothing is written.
    EXPECT_EQ(read("TAX").substr(5 * 28, 28).substr(19, 8), pstr("12.5x", 7));
}

TEST_F(CodeTables, TaxPickerOpensOnThePresetCodeAndHandsBackTheIndex) {
    std::vector<std::string> lines;
    for (int n = 1; n <= 48; ++n) lines.push_back(taxLine(n == 40 ? "X40" : n == 45 ? "" : "C" + std::to_string(n % 10) + "0", "ΦΟΡΟΣ", "1", 1));
    seed("TAX", lines);
    struct Case {
        const char* what;
        std::string code;
        std::function<void()> keys;
        uint8_t KK;
        uint16_t MEE;
    } cases[] = {
        {"entry 40 opens page 4 row 4", "X40", [&] { ch(ENTER); ch(ENTER); }, 0, 40},
        {"a code not in the table opens entry 1", "QQQ", [&] { ch(ENTER); ch(ENTER); }, 0, 1},
        {"an empty code opens the first free entry", "", [&] { ch(ENTER); ch(ENTER); }, 0, 45},
        {"Esc on the rate, then Esc", "X40", [&] { ch(ENTER); ch(ESC); ch(ESC); }, 3, 777},
        {"Up on the rate returns to the rows", "X40", [&] { ch(ENTER); key(SC::UP); key(SC::DOWN); ch(ENTER); ch(ENTER); }, 0, 41},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.keys();
        uint16_t mee = 777;
        uint8_t KK = 1;
        KVDI::TAX(mee, c.code, true, KK);
        EXPECT_EQ(KK, c.KK);
        EXPECT_EQ(mee, c.MEE);
        EXPECT_EQ(SCR::STACKPOINTER(), 0);
    }
}

TEST_F(CodeTables, TaxPickerAdjustsTheRateAndF1StoresItAtItsOffset) {
    seed("TAX", {taxLine("A00", "ΔΑΣΜΟΣ", "10", 1), taxLine("B00", "ΦΠΑ", "24", 8)});
    // Entry 2: the rate becomes 18, Up back to the rows, F1, then the pick.
    key(SC::DOWN);
    ch(ENTER);
    ch(CTRL_Y);
    type("18");
    key(SC::UP);
    key(SC::F1);
    ch(ENTER);
    ch(ENTER);
    uint16_t mee = 0;
    uint8_t KK = 1;
    KVDI::TAX(mee, "A00", true, KK);
    EXPECT_EQ(KK, 0);
    EXPECT_EQ(mee, 2);
    EXPECT_EQ(KVDI::getTax(2).PS, "18");
    const std::string f = read("TAX");
    ASSERT_EQ(f.size(), 1344u);
    EXPECT_EQ(f.substr(28 + 19, 8), pstr("18", 7));
    EXPECT_EQ(uint8_t(f[28 + 27]), 8);

    // The same from the goods catalogue: UMAS::PTAX changes, "TAX.DAT" does not.
    const FileId id = fileId(dat("TAX"));
    ch(ENTER);
    ch(CTRL_Y);
    type("5");
    key(SC::UP);
    key(SC::F1);
    ch(ENTER);
    ch(ENTER);
    KK = 0;
    KVDI::TAX(mee, "A00", true, KK, true);
    EXPECT_EQ(mee, 1);
    EXPECT_EQ(KVDI::getTax(1).PS, "5");
    EXPECT_TRUE(sameFile(fileId(dat("TAX")), id));
    EXPECT_EQ(read("TAX"), f);
}

TEST_F(CodeTables, TaxWholeRowEditBaseKindStepsAndF5) {
    seed("TAX", {taxLine("A00", "ΔΑΣΜΟΣ", "10", 1), taxLine("B00", "ΦΠΑ", "24", 30)});
    // Row 3 (new): code, name, rate, then Left on kind 0 gives 30, Left again 29.
    key(SC::DOWN);
    key(SC::DOWN);
    ch(ENTER);
    type("N1");
    ch(ENTER);
    type("ΝΕΟΣ");
    ch(ENTER);
    type("12.5");
    ch(ENTER);
    key(SC::LEFT);
    key(SC::LEFT);
    ch(ENTER);
    // Row 1: Left on kind 1 gives 30; row 2: Right on kind 30 gives 1.
    key(SC::UP);
    key(SC::UP);
    ch(ENTER);
    ch(ENTER);
    ch(ENTER);
    ch(ENTER);
    key(SC::LEFT);
    ch(ENTER);
    key(SC::DOWN);
    ch(ENTER);
    ch(ENTER);
    ch(ENTER);
    ch(ENTER);
    key(SC::RIGHT);
    key(SC::DOWN);
    key(SC::F1);
    std::string rate3, pct3;
    uint16_t mee = 0;
    uint8_t KK = 1;
    run([&] { KVDI::TAX(mee, "A00", false, KK); }, [&] {
        rate3 = con->text(42, 9, 7);
        pct3 = con->text(50, 9, 1);
    });
    EXPECT_EQ(KVDI::getTax(3), (KVDI::RECTAX{"N1", pad(gr("ΝΕΟΣ"), 14), "12.5", 29}));
    EXPECT_EQ(rate3, " 12.500");
    EXPECT_EQ(pct3, " ") << "kind 29 shows three decimals";
    EXPECT_EQ(KVDI::getTax(1).EI, 30);
    EXPECT_EQ(KVDI::getTax(2).EI, 1);
    const std::string f = read("TAX");
    EXPECT_EQ(f.substr(2 * 28, 28).substr(0, 4), pstr("N1", 3));
    EXPECT_EQ(uint8_t(f[2 * 28 + 27]), 29);

    // F5 empties the row, and its name and rate show blank at once.
    key(SC::F5);
    std::string name1, rate1;
    KK = 1;
    run([&] { KVDI::TAX(mee, "A00", false, KK); }, [&] {
        name1 = con->text(26, 7, 14);
        rate1 = con->text(42, 7, 7);
    });
    EXPECT_EQ(name1, std::string(14, ' '));
    EXPECT_EQ(rate1, "       ");
    EXPECT_TRUE(KVDI::getTax(1).KV.empty() || KVDI::getTax(1).KV == "   ");
    EXPECT_EQ(KVDI::getTax(1).EI, 0);
}

TEST_F(CodeTables, EidforNamesAreTenCharacters) {
    for (int k = 1; k <= 30; ++k) EXPECT_EQ(KVDI::EIDFOR(uint8_t(k)).size(), 10u) << k;
    EXPECT_EQ(KVDI::EIDFOR(0), "");
    EXPECT_EQ(KVDI::EIDFOR(31), "");
    EXPECT_EQ(KVDI::EIDFOR(23), gr("Επί ") + "PLATO ");
}

// ---- Dates ---------------------------------------------------------------------------------------

TEST_F(CodeTables, DateCompletionWithTodayFixed) {
    PLAT::setFixedNow(PLAT::DateTime{2009, 3, 15, 10, 0, 0, 0});
    KVDI::TODAY();
    struct Case {
        std::string in;
        bool to;
        const char* out;  // nullptr: refused
    } cases[] = {
        {"", false, "150309"},      {"7", false, "070309"},     {"21", false, "210309"},   {"103", false, "010103"},
        {"0608", false, "010608"},  {"2008", false, "010108"},  {"2008", true, "311208"},  {"0208", true, "290208"},
        {"0209", true, "280209"},   {"31049", false, "031049"}, {"310409", false, "300409"}, {"290209", false, "280209"},
        {"290208", false, "290208"}, {"3102", false, nullptr},   {"000109", false, nullptr}, {"011309", false, nullptr},
        {"320109", false, nullptr}, {"010190", false, "010190"}, {"311289", false, nullptr}, {"010121", false, "010121"},
        {"2021", false, "010121"},  {"1249", true, "311249"},   {"2049", false, "010149"}, {"2050", false, nullptr},
        {"010150", false, nullptr}, {"1999", true, "311299"},
    };
    for (const Case& c : cases) {
        std::string s = c.in;
        const bool ok = KVDI::completeDate(s, c.to);
        if (!c.out) {
            EXPECT_FALSE(ok) << c.in;
        } else {
            EXPECT_TRUE(ok) << c.in;
            EXPECT_EQ(s, c.out) << c.in;
        }
    }
}

TEST_F(CodeTables, ElmAndZer) {
    struct Case {
        uint16_t y, m, d, want;
    } cases[] = {{2008, 2, 31, 29}, {2009, 2, 29, 28}, {2000, 2, 30, 29}, {2100, 2, 29, 29},
                 {2009, 4, 31, 30}, {2009, 11, 31, 30}, {2009, 1, 31, 31}, {2009, 6, 15, 15}};
    for (const Case& c : cases) {
        uint16_t y = c.y, m = c.m, d = c.d;
        KVDI::ELM(y, m, d);
        EXPECT_EQ(d, c.want) << c.y << "-" << c.m << "-" << c.d;
    }
    std::string s = " 5 1";
    KVDI::ZER(s);
    EXPECT_EQ(s, "0501");
    EXPECT_LT(KVDI::dateKey("311299"), KVDI::dateKey("010100"));
    EXPECT_LT(KVDI::dateKey("010149"), KVDI::dateKey("010190") + 1000000);
}

TEST_F(CodeTables, DateEntryOnScreen) {
    PLAT::setFixedNow(PLAT::DateTime{2009, 3, 15, 10, 0, 0, 0});
    KVDI::TODAY();
    KVDI::H1 = "";
    KVDI::H2 = "";
    // From: empty is today. To: 7 (07/03/09, before "from") is refused; then 2009 is 31/12/09.
    ch(ENTER);
    type("7");
    ch(ENTER);
    ch(CTRL_Y);
    type("2009");
    ch(ENTER);
    uint8_t KK = 9;
    KVDI::HMER(22, 19, 36, 19, KK);
    EXPECT_EQ(KK, 0);
    EXPECT_EQ(KVDI::H1, "150309");
    EXPECT_EQ(KVDI::H2, "311209");
    EXPECT_EQ(con->bells, 1);
    EXPECT_EQ(con->text(22, 19, 9), "150309 " + gr("Κυ"));
    EXPECT_EQ(con->text(36, 19, 9), "311209 " + gr("Πε"));

    // Up on "to" goes back to "from"; a bad "from" is refused; Esc leaves with 3.
    ch(CTRL_Y);
    ch(ENTER);  // from: today
    key(SC::UP);
    ch(CTRL_Y);
    type("3102");
    ch(ENTER);
    ch(ESC);
    KVDI::HMER(22, 19, 36, 19, KK);
    EXPECT_EQ(KK, 3);
    EXPECT_EQ(con->bells, 2);

    // Up on "from" leaves at once with 1 and the text as typed.
    ch(CTRL_Y);
    type("99");
    key(SC::UP);
    KVDI::HMER(22, 19, 36, 19, KK);
    EXPECT_EQ(KK, 1);
    EXPECT_EQ(KVDI::H1, "99");
}

// ---- The code-tables menu ------------------------------------------------------------------------

TEST_F(CodeTables, MenuOpensEachEntryAndReturnsOnlyOnEsc) {
    // Entry 5 (places) and back, then entry 14 (taxes, reloaded from the file) and back.
    seed("TAX", {taxLine("A00", "ΔΑΣΜΟΣ", "10", 1)});
    UMAS::PTAX.fill(0);
    ch('0');
    ch('5');
    ch(ESC);
    ch('1');
    ch('4');
    std::string taxRow;
    bool inTax = false;
    con->onIdle = [&] {
        if (inTax) return;
        inTax = true;
        taxRow = con->text(20, 7, 3);
        ch(ESC);
        ch(ESC);
    };
    try {
        KVDI::KVD();
    } catch (const PLAT::ScriptEnd&) {
        ADD_FAILURE() << "the menu did not return";
    }
    con->onIdle = nullptr;
    EXPECT_EQ(taxRow, "A00");
    EXPECT_EQ(KVDI::getTax(1).KV, "A00");
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
    EXPECT_EQ(con->pending(), 0u);
}

TEST_F(CodeTables, ATableOfAnotherSizeIsReadUpToItsSizeAndTheClerkIsTold) {
    // Longer: the first 1116 bytes; shorter: the rest zero. Each is told once (a key goes on).
    std::string img = INSTALL::codeTableImage("APO", {"ΠΑΤΡΑ"});
    TESTS::writeFile(dat("APO"), img + std::string(50, 'x'));
    ch(' ');  // the message
    ch(ENTER);
    KVDI::RECAPO mee;
    uint8_t KK = 0;
    KVDI::APO(mee, true, KK);
    EXPECT_EQ(mee.AP, pad(gr("ΠΑΤΡΑ"), 30));
    EXPECT_EQ(con->bells, 1);

    TESTS::writeFile(dat("APO"), img.substr(0, 40));
    ch(' ');
    key(SC::DOWN);
    ch(ENTER);
    KVDI::APO(mee, true, KK);
    EXPECT_EQ(mee.AP, std::string(30, ' '));
    EXPECT_EQ(con->bells, 2);
    EXPECT_EQ(SCR::STACKPOINTER(), 0);

    // A store writes the table's own size.
    TESTS::writeFile(dat("APO"), img + std::string(50, 'x'));
    ch(' ');
    key(SC::F5);
    key(SC::F1);
    ch(ESC);
    KVDI::APO(mee, false, KK);
    EXPECT_EQ(read("APO").size(), 1116u);
}

}  // namespace

namespace {

using namespace KVTEST;

TEST_F(CodeTables, AMissingTableIsToldOpensEmptyAndF1CreatesIt) {
    std::filesystem::remove(dat("APO"));
    ch(' ');  // the message
    ch(ENTER);
    type("ΒΟΛΟΣ");
    ch(ENTER);
    key(SC::F1);
    KVDI::RECAPO mee;
    uint8_t KK = 0;
    run([&] { KVDI::APO(mee, false, KK); });
    EXPECT_EQ(con->bells, 1);
    const std::string f = read("APO");
    ASSERT_EQ(f.size(), 1116u);
    EXPECT_EQ(f.substr(0, 31), pstr(pad(gr("ΒΟΛΟΣ"), 30), 30));
}

TEST_F(CodeTables, GoodsDetailsBeyondTheirFileAreToldAndNeverWritten) {
    std::string emp(KVDI::F_EMP.size, '\0');
    KVDI::REC{"11111111", 60000}.encode(reinterpret_cast<uint8_t*>(emp.data()));
    TESTS::writeFile(dat("EMP"), emp);
    const std::string before = read("PEMP");
    ch(' ');  // the message
    ch(ENTER);
    ch(ENTER);
    key(SC::RIGHT);
    ch(ESC);
    uint8_t KK = 0;
    run([&] { KVDI::EMP(KVDI::V0A, false, KK); });
    EXPECT_EQ(con->bells, 1);
    EXPECT_EQ(read("PEMP"), before);
}

}  // namespace
