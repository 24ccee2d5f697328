// The official code lists: reading the list files and the VAT-code chapters, and their pickers.
#include <gtest/gtest.h>

#include "codes/gencod.h"
#include "codes/kvdi.h"
#include "helpers/fixture.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "screen/scr.h"
#include "shell/install.h"

namespace SC = PLAT::SC;
using PLAT::gr;

namespace {

constexpr uint8_t ENTER = 13, ESC = 27;

// A list file in Windows-1253 with CR LF line ends, from UTF-8 lines.
void writeList(const std::string& name, const std::vector<std::string>& utf8Lines) {
    std::string out;
    for (const auto& l : utf8Lines) out += PLAT::cp737ToCp1253(gr(l.c_str())) + "\r\n";
    TESTS::writeFile(name, out);
}
std::vector<std::string> five(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::vector<std::string> v;
    int n = 0;
    for (const auto& [c, name] : entries) v.insert(v.end(), {std::to_string(++n), c, name, "", "01/01/2010"});
    return v;
}

class OfficialLists : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
    }
};

TEST_F(OfficialLists, NamedListsAreReadFiveOrTwoLinesAnEntry) {
    // Five-line entries, a code longer than 4 characters, and a last entry cut after its code.
    auto w = [](const char* utf8) { return PLAT::cp737ToCp1253(gr(utf8)); };
    std::vector<std::string> lines = {"1", "GR", w("ΕΛΛΑΔΑ"), "", "", "2", "DEXYZ", w("ΓΕΡΜΑΝΙΑ"), "", "", "3", "IT"};
    auto v = GENCOD::readList(lines, false);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[0].SCODE, "GR");
    EXPECT_EQ(v[1].SCODE, "DEXY");
    EXPECT_EQ(v[2], (GENCOD::BUF{"IT", ""}));
    // The names are converted from Windows-1253.
    EXPECT_EQ(v[1].SNAME, gr("ΓΕΡΜΑΝΙΑ"));
    // Two-line entries (the customs offices), ending with a code alone.
    auto t = GENCOD::readList({"1001", "A", "2001", "B", "3001"}, true);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[1], (GENCOD::BUF{"2001", "B"}));
    EXPECT_EQ(t[2], (GENCOD::BUF{"3001", ""}));
    // Names are cut to 50; no more than 900 entries.
    std::vector<std::string> many;
    for (int i = 0; i < 905; ++i) many.insert(many.end(), {"", std::to_string(i), std::string(60, 'N'), "", ""});
    auto m = GENCOD::readList(many, false);
    ASSERT_EQ(m.size(), 900u);
    EXPECT_EQ(m[899].SCODE, "899");
    EXPECT_EQ(m[0].SNAME.size(), 50u);
}

TEST_F(OfficialLists, Iso437MapsEveryGreekLetterAccentedCapitalsIncluded) {
    // Windows-1253: Ά 0xA2, Έ 0xB8, Ή 0xB9, Ί 0xBA, Ό 0xBC, Ύ 0xBE, Ώ 0xBF, Ϊ 0xDA, Ϋ 0xDB, ά 0xDC, ϊ 0xFA, ς 0xF2.
    const std::string w = "\xA2\xB8\xB9\xBA\xBC\xBE\xBF\xDA\xDB\xC1\xD9\xDC\xFA\xF2\xE1\xF9" "AZ09";
    EXPECT_EQ(GENCOD::ISO437(w), gr("ΆΈΉΊΌΎΏΪΫΑΩάϊςαω") + "AZ09");
}

TEST_F(OfficialLists, VatChapterLinesMakeRows) {
    const std::string longText = "ΠΕΡΙΓΡΑΦΗ ΠΟΛΥ ΜΕΓΑΛΗ ΠΟΥ ΣΥΝΕΧΙΖΕΤΑΙ ΣΕ ΠΕΡΙΣΣΟΤΕΡΕΣ ΑΠΟ ΔΥΟ ΓΡΑΜΜΕΣ ΤΗΣ ΛΙΣΤΑΣ ΜΕ ΚΕΙΜΕΝΟ ΠΟΥ ΠΕΡΙΣΣΕΥΕΙ ΑΚΟΜΑ";
    std::vector<std::string> lines = {
        "  ΚΕΦΑΛΑΙΟ 2  ",                          // text before any code
        "",                                        // skipped
        "0201100000 ΣΦΑΓΙΑ   ΒΟΟΕΙΔΩΝ 1301",        // tariff code, description, VAT code
        "0201200000 ΤΕΜΑΧΙΑ ΜΕ ΚΟΚΑΛΑ",            // no VAT code at its end
        "1301",                                    // VAT code alone
        "0202100000 " + longText,                  // longer than 80: two rows and the rest pending
        "ΣΥΝΕΧΕΙΑ",                                // joined to the pending text
    };
    std::vector<std::string> cp;
    for (auto& l : lines) cp.push_back(gr(l.c_str()));
    auto r = GENCOD::readChapter(cp);
    ASSERT_GE(r.size(), 7u);
    EXPECT_EQ(r[0], (GENCOD::RECORD_FPA{"", "", gr("ΚΕΦΑΛΑΙΟ 2")}));
    EXPECT_EQ(r[1], (GENCOD::RECORD_FPA{"0201100000", "1301", gr("ΣΦΑΓΙΑ ΒΟΟΕΙΔΩΝ")}));
    EXPECT_EQ(r[2], (GENCOD::RECORD_FPA{"0201200000", "", gr("ΤΕΜΑΧΙΑ ΜΕ ΚΟΚΑΛΑ")}));
    EXPECT_EQ(r[3], (GENCOD::RECORD_FPA{"", "1301", ""}));
    EXPECT_EQ(r[4].CODE10, "0202100000");
    EXPECT_EQ(r[4].PERIG, gr("ΠΕΡΙΓΡΑΦΗ ΠΟΛΥ ΜΕΓΑΛΗ ΠΟΥ ΣΥΝΕΧΙΖΕΤΑΙ ΣΕ"));
    EXPECT_EQ(r[5], (GENCOD::RECORD_FPA{"", "", gr("ΠΕΡΙΣΣΟΤΕΡΕΣ ΑΠΟ ΔΥΟ ΓΡΑΜΜΕΣ ΤΗΣ ΛΙΣΤΑΣ")}));
    // The pending rest and the next text line make the following row(s).
    EXPECT_EQ(r[6].PERIG, gr("ΜΕ ΚΕΙΜΕΝΟ ΠΟΥ ΠΕΡΙΣΣΕΥΕΙ ΑΚΟΜΑ ΣΥΝΕΧΕΙΑ"));
    for (const auto& row : r) EXPECT_LE(row.PERIG.size(), 40u);
    // No more than 3000 rows.
    std::vector<std::string> many(3100, "1301");
    EXPECT_EQ(GENCOD::readChapter(many).size(), 3000u);
}

TEST_F(OfficialLists, PickerShowsCodeAndNameColumnsAndSorts) {
    writeList("XORES.TXT", five({{"GR", "ΕΛΛΑΔΑ"}, {"DE", "ΓΕΡΜΑΝΙΑ"}, {"AL", "ΑΛΒΑΝΙΑ"}}));
    std::string row4, row5, title, page;
    bool done = false;
    con->onIdle = [&] {
        if (done) return;
        done = true;
        row4 = con->text(45, 4, 34);
        row5 = con->text(45, 5, 34);
        title = con->text(55, 2, 18);
        page = con->text(76, 24, 2);
        con->key(SC::DOWN);
        con->ch(ENTER);
    };
    GENCOD::GENCODE("XORES", gr("ΧΩΡΕΣ"));
    con->onIdle = nullptr;
    EXPECT_EQ(row4, "  1    GR   " + gr("ΕΛΛΑΔΑ") + std::string(16, ' '));
    EXPECT_EQ(row5, "  2    DE   " + gr("ΓΕΡΜΑΝΙΑ") + std::string(14, ' '));
    EXPECT_EQ(title, gr("       ΧΩΡΕΣ      "));
    EXPECT_EQ(page, "01");
    EXPECT_EQ(GENCOD::GENREC_CODE, (GENCOD::BUF{"DE", gr("ΓΕΡΜΑΝΙΑ")}));
    EXPECT_EQ(SCR::STACKPOINTER(), 0);

    // F3 sorts by code, F4 by name; Enter takes the entry now on the first row.
    con->key(SC::F3);
    con->ch(ENTER);
    GENCOD::GENCODE("XORES", gr("ΧΩΡΕΣ"));
    EXPECT_EQ(GENCOD::GENREC_CODE.SCODE, "AL");
    con->key(SC::F4);
    con->key(SC::DOWN);
    con->ch(ENTER);
    GENCOD::GENCODE("XORES", gr("ΧΩΡΕΣ"));
    EXPECT_EQ(GENCOD::GENREC_CODE.SCODE, "DE");  // ΑΛΒΑΝΙΑ, ΓΕΡΜΑΝΙΑ, ΕΛΛΑΔΑ
    // Enter past the last entry and Esc choose nothing.
    for (int i = 0; i < 3; ++i) con->key(SC::DOWN);
    con->ch(ENTER);
    GENCOD::GENCODE("XORES", gr("ΧΩΡΕΣ"));
    EXPECT_EQ(GENCOD::GENREC_CODE, GENCOD::BUF{});
    con->ch(ESC);
    GENCOD::GENCODE("XORES", gr("ΧΩΡΕΣ"));
    EXPECT_EQ(GENCOD::GENREC_CODE, GENCOD::BUF{});
}

TEST_F(OfficialLists, CustomsOfficesListTakesTwoLinesAnEntry) {
    writeList("TELONIA.TXT", {"1001", "ΤΕΛΩΝΕΙΟ ΠΕΙΡΑΙΑ", "2001", "ΤΕΛΩΝΕΙΟ ΘΕΣΣΑΛΟΝΙΚΗΣ"});
    con->key(SC::DOWN);
    con->ch(ENTER);
    GENCOD::GENCODE("TELONIA", gr("ΤΕΛΩΝΕΙΑ"));
    EXPECT_EQ(GENCOD::GENREC_CODE, (GENCOD::BUF{"2001", gr("ΤΕΛΩΝΕΙΟ ΘΕΣΣΑΛΟΝΙΚΗΣ")}));
}

TEST_F(OfficialLists, AMissingListIsReportedAndChoosesNothing) {
    GENCOD::GENREC_CODE = {"X", "Y"};
    con->ch(' ');
    GENCOD::GENCODE("NOSUCH", "T");
    EXPECT_EQ(GENCOD::GENREC_CODE, GENCOD::BUF{});
    EXPECT_EQ(con->bells, 1);
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
    EXPECT_EQ(con->pending(), 0u);
}

TEST_F(OfficialLists, VatPickerHandsBackTheCodedRowWithItsDescriptionLines) {
    PLAT::makeDirs("TARIC");
    TESTS::writeFile(work->file("TARIC/FPA02.TXT"),
                     gr("ΚΕΦΑΛΑΙΟ 2\r\n0201100000 ΣΦΑΓΙΑ 1301\r\nΝΩΠΑ\r\nΚΑΤΕΨΥΓΜΕΝΑ\r\n0202100000 ΑΛΛΑ 2401\r\n").c_str());
    struct Case {
        const char* what;
        std::vector<PLAT::Event> keys;
        GENCOD::REC_FPA want;
    } cases[] = {
        {"a coded row", {PLAT::keyExt(SC::DOWN), PLAT::keyChar(ENTER)}, {"0201100000", "1301", {"", gr("ΣΦΑΓΙΑ"), gr("ΝΩΠΑ"), gr("ΚΑΤΕΨΥΓΜΕΝΑ"), "", "", ""}}},
        {"a text row takes the coded row above it",
         {PLAT::keyExt(SC::DOWN), PLAT::keyExt(SC::DOWN), PLAT::keyExt(SC::DOWN), PLAT::keyChar(ENTER)},
         {"0201100000", "1301", {"", gr("ΣΦΑΓΙΑ"), gr("ΝΩΠΑ"), gr("ΚΑΤΕΨΥΓΜΕΝΑ"), "", "", ""}}},
        {"a row above every coded row", {PLAT::keyChar(ENTER)}, {}},
        {"Esc", {PLAT::keyChar(ESC)}, {}},
        {"Right to a missing chapter, Left back", {PLAT::keyExt(SC::RIGHT), PLAT::keyExt(SC::LEFT), PLAT::keyExt(SC::DOWN), PLAT::keyExt(SC::DOWN), PLAT::keyExt(SC::DOWN), PLAT::keyExt(SC::DOWN), PLAT::keyChar(ENTER)},
         {"0202100000", "2401", {"", gr("ΑΛΛΑ"), "", "", "", "", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& e : c.keys) con->push(e);
        GENCOD::GENREC_FPA.CODE10 = "junk";
        GENCOD::FPACODE(2);
        EXPECT_EQ(GENCOD::GENREC_FPA, c.want);
        EXPECT_EQ(SCR::STACKPOINTER(), 0);
    }

    // A missing chapter: an empty list and nothing chosen; the chapter numbers around it on row 2.
    std::string row2, row4;
    bool done = false;
    con->onIdle = [&] {
        if (done) return;
        done = true;
        row2 = con->text(58, 2, 16);
        row4 = con->text(23, 4, 56);
        con->ch(ENTER);
    };
    GENCOD::FPACODE(99);
    EXPECT_EQ(GENCOD::GENREC_FPA, GENCOD::REC_FPA{});
    EXPECT_EQ(row2, "97 98  99       ");
    EXPECT_EQ(row4, std::string(56, ' '));
    done = false;
    con->onIdle = [&] {
        if (done) return;
        done = true;
        row2 = con->text(58, 2, 16);
        con->ch(ESC);
    };
    con->key(SC::LEFT);  // chapter 1: Left loads chapter 1 again
    GENCOD::FPACODE(1);
    con->onIdle = nullptr;
    EXPECT_EQ(row2, "       01  02 03");
}

}  // namespace
