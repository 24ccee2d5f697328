// The series editor: showing and storing the twelve slots, editing a slot with its choice lists,
// the index file names of Greek series codes, and the files F7 creates.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "common/umas.h"
#include "config/params.h"
#include "helpers/fixture.h"
#include "platform/codepage.h"
#include "platform/console.h"

namespace SC = PLAT::SC;
using PARAMS::RECSEIRES;
using PARAMS::SEIRESTABLE;

namespace {

class Series : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
    }

    std::string file(const std::string& name) const { return company(0) + "/" + name; }

    void seed(const std::string& name, const SEIRESTABLE& t) const {
        std::string b(PARAMS::SEIRES_SIZE, '\0');
        PARAMS::encodeSEIRES(t, reinterpret_cast<uint8_t*>(b.data()));
        TESTS::writeFile(file(name), b);
    }

    SEIRESTABLE load(const std::string& name) const {
        std::string b = TESTS::readFile(file(name));
        EXPECT_EQ(b.size(), PARAMS::SEIRES_SIZE) << name;
        b.resize(PARAMS::SEIRES_SIZE, '\0');
        return PARAMS::decodeSEIRES(reinterpret_cast<const uint8_t*>(b.data()));
    }

    std::set<std::string> names() const {
        std::set<std::string> s;
        for (const auto& e : std::filesystem::directory_iterator(company(0))) s.insert(e.path().filename().string());
        return s;
    }

    void typed(const std::string& cp737) { con->keys(cp737); }
    void enter() { con->ch(13); }
    void esc() { con->ch(27); }
    void tab() { con->ch(9); }
    // F7 and the answer to "ΓΙΝΟΥΝ ΑΡΧΕΙΑ ΣΕΙΡΩΝ".
    void f7(uint8_t answer) {
        con->key(SC::F7);
        con->ch(answer);
    }

    void run(int MN) {
        PARAMS::SEIRES(MN);
        EXPECT_EQ(con->pending(), 0u);
    }
};

std::string words(size_t n, uint16_t v) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += {char(v & 0xFF), char(v >> 8)};
    return s;
}

std::string nodes(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += std::string("\xE8\xFD\0\0", 4);
    return s;
}

TEST(SeriesSuffix, GreekCapitalsBecomeLatinLetters) {
    struct Case { const char* code; const char* suffix; } cases[] = {
        {"Α", "A"}, {"ΣΤ", "RS"}, {"Ω", "X"}, {"ΑΩ", "AX"}, {" Β ", "B"}, {"", ""}, {"  ", ""},
        {"A", ""},  // a Latin letter is no series code: no file name from it
    };
    for (const auto& c : cases) EXPECT_EQ(PARAMS::SEIRES_SUFFIX(PLAT::gr(c.code)), c.suffix) << c.code;
}

TEST_F(Series, TheSlotsAreShownWithTheirNamesAndNormalisedOnStore) {
    SEIRESTABLE t{};
    t[0].AA = 17;  // slot 1: port 0 and emulation 9 are shown and stored as 1 and 7
    t[0].EMUL = 9;
    t[0].MIKSEL = 66;
    t[0].POLAP = 1;
    t[1].SEIRA = PLAT::gr("Α");
    t[1].AA = 5;
    t[1].PORTA = 6;
    t[1].EMUL = 8;
    t[1].FORMIX = 1;
    t[2].AA = 99;  // no code: shown as blanks
    seed("SEIRES.DAT", t);
    const std::string before = TESTS::readFile(file("SEIRES.DAT"));

    con->maxIdle = 2;
    EXPECT_THROW(PARAMS::SEIRES(0), PLAT::ScriptEnd);
    EXPECT_EQ(con->text(13, 8, 5), "   17");
    EXPECT_EQ(con->text(20, 8, 4), "LPT1");
    EXPECT_EQ(con->text(26, 8, 2), "66");
    EXPECT_EQ(con->text(54, 8, 8), "EpsonLQ ");
    EXPECT_EQ(con->text(65, 8, 2), " 1");
    EXPECT_EQ(con->text(73, 8, 3), "OXI");
    EXPECT_EQ(con->text(8, 9, 4), PLAT::gr("Α") + "   ");
    EXPECT_EQ(con->text(13, 9, 5), "    5");
    EXPECT_EQ(con->text(20, 9, 4), "USB ");
    EXPECT_EQ(con->text(54, 9, 8), "HPPCL-6 ");
    EXPECT_EQ(con->text(73, 9, 3), "NAI");
    EXPECT_EQ(con->text(8, 10, 70), std::string(70, ' '));

    // Esc without F1 leaves the file as it was; F1 stores the normalised values.
    con = &TESTS::headless();
    TESTS::loadMasks();
    esc();
    run(0);
    EXPECT_EQ(TESTS::readFile(file("SEIRES.DAT")), before);
    con->key(SC::F1);
    esc();
    run(0);
    const SEIRESTABLE got = load("SEIRES.DAT");
    EXPECT_EQ(got[0].PORTA, 1);
    EXPECT_EQ(got[0].EMUL, 7);
    EXPECT_EQ(got[0].AA, 17);
    EXPECT_EQ(got[2].AA, 99);
}

TEST_F(Series, ASlotIsEditedFieldByFieldWithItsLists) {
    SEIRESTABLE t{};
    t[0].AA = 17;
    seed("SEIRES.DAT", t);
    const uint8_t CTRL_Y = 25;
    // Slot 1 has no code field: Enter goes to the number, Up from it back to the table.
    enter();
    con->ch(CTRL_Y);
    typed("50");
    con->key(SC::UP);
    // Slot 2: a Latin letter is refused in the code; then every field in turn.
    con->key(SC::DOWN);
    enter();
    typed("A");
    typed(PLAT::gr("ΣΤ"));
    enter();
    typed("123");
    enter();
    tab();
    typed("3");  // LPT3
    typed("66");
    enter();
    typed("2");
    enter();
    typed("5");
    enter();
    tab();
    typed("8");  // HPPCL-6
    typed("2");
    enter();
    tab();
    typed("2");  // signed
    con->key(SC::F1);
    f7('N');
    esc();
    run(0);

    const SEIRESTABLE got = load("SEIRES.DAT");
    EXPECT_EQ(got[0].AA, 50);
    EXPECT_EQ(got[1].SEIRA, PLAT::gr("ΣΤ"));
    EXPECT_EQ(got[1].AA, 123);
    EXPECT_EQ(got[1].PORTA, 3);
    EXPECT_EQ(got[1].MIKSEL, 66);
    EXPECT_EQ(got[1].KATAK, 2);
    EXPECT_EQ(got[1].ORIZ, 5);
    EXPECT_EQ(got[1].EMUL, 8);
    EXPECT_EQ(got[1].POLAP, 2);
    EXPECT_EQ(got[1].FORMIX, 1);
    EXPECT_EQ(con->bells, 1);
    // The code ΣΤ names the invoice index TI_RS.DAT.
    EXPECT_EQ(TESTS::readFile(file("TI_RS.DAT")), words(100000, 65000));
    EXPECT_FALSE(TESTS::exists(file("SI.DAT")));
}

// The legend names Tab on the fields chosen from a list (port, emulation, signing) and only there.
TEST_F(Series, TheLegendNamesTabOnTheFieldsChosenFromAList) {
    std::vector<std::string> legend;
    enter();  // slot 1: its number
    con->onIdle = [&] {
        legend.push_back(PLAT::cp737ToUtf8(con->text(1, 25, 30)));
        if (legend.size() <= 8) enter();  // number, port, MIKSEL, KATAK, ORIZ, emulation, copies, signing
        else esc();
    };
    run(0);
    con->onIdle = nullptr;
    ASSERT_GE(legend.size(), 9u);
    const bool list[8] = {false, true, false, false, false, true, false, true};
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(legend[i].find("TAB"), list[i] ? 0u : std::string::npos) << i << ": " << legend[i];
}

TEST_F(Series, NumbersWiderThanTheirFieldsSurviveAnEditThatLeavesThem) {
    SEIRESTABLE t{};
    t[1].SEIRA = PLAT::gr("Α");
    t[1].AA = 123456;  // past the five cells of the field
    t[1].MIKSEL = 120;  // past the two cells of the field
    seed("SEIRES.DAT", t);
    con->key(SC::DOWN);
    enter();  // slot 2: the code
    enter();  // the number, left as it was
    enter();  // the port
    enter();  // the page length, left as it was
    enter();  // the vertical offset
    esc();
    con->key(SC::F1);
    esc();
    run(0);
    const SEIRESTABLE got = load("SEIRES.DAT");
    EXPECT_EQ(got[1].AA, 123456);
    EXPECT_EQ(got[1].MIKSEL, 120);
}

TEST_F(Series, F7CreatesTheCreditNoteFilesOnceAtTheirSizes) {
    SEIRESTABLE t{};
    t[1].SEIRA = PLAT::gr("Α");
    t[2].SEIRA = PLAT::gr("ΒΓ");
    t[3].SEIRA = "  ";  // blanks: no series
    seed("PSEIRES.DAT", t);
    const std::set<std::string> before = names();

    f7(uint8_t(PLAT::gr("ο")[0]));  // "no": nothing is created
    esc();
    run(1);
    EXPECT_EQ(names(), before);

    f7(uint8_t(PLAT::gr("ν")[0]));
    esc();
    run(1);
    std::set<std::string> want = before;
    want.insert({"SI_A.DAT", "SI_BC.DAT", "SI.DAT", "SM.DAT", "SD.DAT", "SH.DAT", "SPE.DAT"});
    EXPECT_EQ(names(), want);
    EXPECT_EQ(TESTS::readFile(file("SI_A.DAT")), words(100000, 65000));
    EXPECT_EQ(TESTS::readFile(file("SI_BC.DAT")), words(100000, 65000));
    EXPECT_EQ(TESTS::readFile(file("SI.DAT")), words(100000, 65000));
    EXPECT_TRUE(TESTS::exists(file("SM.DAT")));
    EXPECT_EQ(TESTS::readFile(file("SM.DAT")), "");
    EXPECT_EQ(TESTS::readFile(file("SD.DAT")), std::string(2000, '\0'));
    EXPECT_EQ(TESTS::readFile(file("SH.DAT")), nodes(22320));
    EXPECT_EQ(TESTS::readFile(file("SPE.DAT")), nodes(10000));

    // A second F7 touches nothing: files in use keep their contents.
    TESTS::writeFile(file("SI_A.DAT"), "in use");
    TESTS::writeFile(file("SM.DAT"), "notes");
    TESTS::writeFile(file("SH.DAT"), "heads");
    f7('n');
    esc();
    run(1);
    EXPECT_EQ(names(), want);
    EXPECT_EQ(TESTS::readFile(file("SI_A.DAT")), "in use");
    EXPECT_EQ(TESTS::readFile(file("SM.DAT")), "notes");
    EXPECT_EQ(TESTS::readFile(file("SH.DAT")), "heads");
}

TEST_F(Series, InvoiceSeriesGetOnlyTheirIndexes) {
    SEIRESTABLE t{};
    t[0].SEIRA = "";
    t[11].SEIRA = PLAT::gr("Ω");
    seed("SEIRES.DAT", t);
    const std::set<std::string> before = names();
    f7('N');
    esc();
    run(0);
    std::set<std::string> want = before;
    want.insert("TI_X.DAT");
    EXPECT_EQ(names(), want);
    EXPECT_EQ(TESTS::readFile(file("TI_X.DAT")).size(), 200000u);
}

}  // namespace
