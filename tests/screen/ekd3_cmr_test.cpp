// The CMR consignment notes: records at their offsets, the fill, the two prints against golden
// files, the serial counter and the line-offset files.
#include <algorithm>
#include <filesystem>

#include "screen/ekd3_fixture.h"

using namespace EKD3TEST;

namespace {

class Cmr : public Ekd3 {
protected:
    void SetUp() override {
        Ekd3::SetUp();
        exportDeclaration();
    }
};

TEST(CmrRecords, FieldsAtTheirOffsets) {
    struct Case {
        EKD3::TF f;
        size_t off;
        int cap;
    };
    using A = EKD3::CMRR;
    using B = EKD3::CMRBR;
    const Case cases[] = {
        {A::APO[1], 0, 30},     {A::PAR[1], 124, 30},   {A::PAR[5], 248, 30},  {A::EEM[1], 279, 30},
        {A::ELE, 403, 8},       {A::OFI, 412, 8},       {A::MET[4], 514, 30},  {A::PRD[1], 545, 30},
        {A::PRL[1], 607, 30},   {A::HML, 669, 8},       {A::MIB[1], 678, 12},  {A::VOL[1], 730, 12},
        {A::AYT, 782, 12},      {A::RYM, 795, 12},      {A::POL, 808, 15},     {A::HME, 824, 8},
        {A::BUFPER[1], 833, 50}, {A::BUFPER[13], 1445, 50},
        {B::PAR[1], 124, 30},   {B::EGG[1], 248, 30},   {B::MET[1], 310, 30},  {B::MET[4], 403, 30},
        {B::PRD[1], 434, 30},   {B::PRL[1], 496, 30},   {B::HML, 558, 8},      {B::EEM[1], 567, 30},
        {B::MIB[1], 691, 12},   {B::VOL[1], 743, 12},   {B::ODE[1], 795, 30},  {B::POL, 857, 15},
        {B::HME, 873, 8},       {B::BUFPER[1], 882, 50}, {B::BUFPER[13], 1494, 50},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.f.off, c.off);
        EXPECT_EQ(c.f.cap, c.cap);
    }
    EXPECT_EQ(A::BUFPER[13].off + 51, A::SIZE);
    EXPECT_EQ(B::BUFPER[13].off + 51, B::SIZE);
    // every screen field lies in the record, the serial fields where the keys expect them
    for (const auto& t : {EKD3::CMRATABLE(), EKD3::CMRBTABLE()})
        for (const auto& e : t) EXPECT_LE(e.f.off + size_t(e.f.cap) + 1, t.size() == 36 ? A::SIZE : B::SIZE);
    EXPECT_EQ(EKD3::CMRATABLE().size(), 36u);
    EXPECT_EQ(EKD3::CMRBTABLE().size(), 35u);
    EXPECT_EQ(EKD3::CMRATABLE()[18].f.off, A::MET[4].off);
    EXPECT_EQ(EKD3::CMRATABLE()[18].len, 28);
    EXPECT_EQ(EKD3::CMRBTABLE()[13].f.off, B::MET[4].off);
    // layout B's fields follow one another in table order
    size_t off = 0;
    for (const auto& e : EKD3::CMRBTABLE()) {
        EXPECT_EQ(e.f.off, off);
        off += size_t(e.len) + 1;
    }
}

TEST(CmrRecords, TextsKeepTheirCapacityAndZeroTheRest) {
    EKD3::Record r(40);
    r.set({0, 8}, "ABCDEFGHIJ");
    EXPECT_EQ(r.get({0, 8}), "ABCDEFGH");
    r.set({0, 8}, "XY");
    EXPECT_EQ(r.b.substr(0, 9), std::string("\x02XY\0\0\0\0\0\0", 9));
    r.b[10] = char(200);  // a length above the capacity counts as the capacity
    EXPECT_EQ(r.get({10, 5}).size(), 5u);
    r.b[38] = char(5);
    EXPECT_EQ(r.get({38, 5}).size(), 1u) << "a field past the end is cut at the end";
}

TEST_F(Cmr, SideFilesShortLongAndNumbered) {
    // an older, shorter ".cmb" opens with its fields and empty trailing fields
    EKD3::Record old(EKD3::CMRBR::SIZE);
    old.set(EKD3::CMRBR::APO[1], "OLD SENDER");
    old.set(EKD3::CMRBR::HML, "01/02/03");
    setData("2002.cmb", old.b.substr(0, 600));
    EKD3::Record r(EKD3::CMRBR::SIZE);
    ASSERT_TRUE(EKD3::READSIDE(EKD3::SIDEFILE(".cmb"), r));
    EXPECT_EQ(r.get(EKD3::CMRBR::APO[1]), "OLD SENDER");
    EXPECT_EQ(r.get(EKD3::CMRBR::HML), "01/02/03");
    EXPECT_EQ(r.get(EKD3::CMRBR::EEM[1]), "");
    EXPECT_EQ(r.get(EKD3::CMRBR::BUFPER[13]), "");
    // a longer file fills the record only
    setData("2002.cma", old.b + old.b);
    EKD3::Record a(EKD3::CMRR::SIZE);
    ASSERT_TRUE(EKD3::READSIDE(EKD3::SIDEFILE(".cma"), a));
    EXPECT_EQ(a.b, (old.b + old.b).substr(0, EKD3::CMRR::SIZE));
    // a short ".cma" opens on the screen instead of stopping the program
    setData("2002.cma", old.b.substr(0, 100));
    menu({[&] { type("07"); }, [&] { EXPECT_NE(screenRow(3).find("OLD SENDER"), std::string::npos); }});
    // names: the whole number, an empty box 1 as 0, ten digits kept whole
    struct Case {
        const char* box1;
        const char* name;
    };
    for (const Case& c : {Case{"2002", "2002"}, Case{"", "0"}, Case{"  0042", "42"}, Case{"9876543210", "9876543210"}}) {
        BOD::BOS(BOD::DIA, BOD::GV, 1, c.box1);
        EXPECT_EQ(EKD3::SIDEFILE(".cma"), UMAS::PATH + c.name + ".cma") << c.box1;
    }
}

TEST_F(Cmr, FillOfBothLayoutsFromTheMainPageAndFromASheet) {
    EKD3::Record a(EKD3::CMRR::SIZE), b(EKD3::CMRBR::SIZE);
    a.set(EKD3::CMRR::VOL[1], "KEPT");
    a.set(EKD3::CMRR::MET[4], "77");
    b.set(EKD3::CMRBR::BUFPER[5], "CLEARED");
    EKD3::CMRAFILL(a, true);
    EKD3::CMRBFILL(b, true);
    using A = EKD3::CMRR;
    using B = EKD3::CMRBR;
    EXPECT_EQ(trimRight(a.get(A::APO[1])), gr("ΑΛΦΑ ΑΕ"));
    EXPECT_EQ(trimRight(a.get(A::PAR[4])), "TURKEY");
    EXPECT_EQ(trimRight(a.get(A::EEM[1])), "ORANGES");
    EXPECT_EQ(trimRight(a.get(A::MET[1])), "TRUCK NIK 1234");
    EXPECT_EQ(a.get(A::MET[4]), "77") << "the serial number is never filled";
    EXPECT_EQ(trimRight(a.get(A::PRD[2])), "ISTANBUL");
    EXPECT_EQ(a.get(A::PRL[1]), gr("ΘΕΣΣΑΛΟΝΙΚΗ ΛΙΜΑΝΙ"));
    EXPECT_EQ(a.get(A::POL), gr("ΘΕΣΣΑΛΟΝΙΚΗ ΛΙΜ")) << "cut to 15";
    EXPECT_EQ(trimRight(a.get(A::PRL[2])), gr("ΕΛΛΑΔΑ"));
    EXPECT_EQ(a.get(A::HML), "15/03/24");
    EXPECT_EQ(a.get(A::HME), "15/03/24");
    EXPECT_EQ(trimRight(a.get(A::MIB[1])), "1500");
    EXPECT_EQ(a.get(A::VOL[1]), "KEPT");
    EXPECT_EQ(a.get(A::BUFPER[2]), gr("ΠΟΡΤΟΚΑΛΙΑ ΣΕ ΚΙΒΩΤΙΑ"));
    EXPECT_EQ(a.get(A::BUFPER[1]), "");
    EXPECT_EQ(b.get(B::MIB[1]), "1234.6");
    EXPECT_EQ(trimRight(b.get(B::VOL[1])), "12");
    EXPECT_EQ(trimRight(b.get(B::BUFPER[1])), "ORANGES");
    EXPECT_EQ(b.get(B::BUFPER[5]), "") << "layout B clears its analysis first";
    EXPECT_EQ(b.get(B::BUFPER[3]), gr("ΛΕΜΟΝΙΑ ΣΕ ΚΙΒΩΤΙΑ"));
    // from a continuation sheet the goods lines come from its boxes 23 to 26
    for (int i = 0; i < 4; ++i) BOD::BOS(BOD::BIS, BOD::GB, 23 + i, "SHEET LINE " + std::to_string(i + 1));
    EKD3::CMRBFILL(b, false);
    EXPECT_EQ(trimRight(b.get(B::EEM[1])), "SHEET LINE 1");
    EXPECT_EQ(trimRight(b.get(B::EEM[4])), "SHEET LINE 4");
    EXPECT_EQ(trimRight(b.get(B::APO[1])), gr("ΑΛΦΑ ΑΕ")) << "the rest from the main page";
}

TEST(CmrMass, NoteBWeight) {
    struct Case {
        double v;
        const char* text;
    };
    for (const Case& c : {Case{1234.56, "1234.6"}, Case{1234.005, "1234"}, Case{1234.02, "1234.0"}, Case{0, "0"},
                          Case{1500, "1500"}})
        EXPECT_EQ(EKD3::CMRMASS(c.v), c.text) << c.v;
}

TEST_F(Cmr, SerialCounterCases) {
    const std::string counter = "AA_CMR.TXT";
    // missing file: the current number is 1 and the file is made
    EXPECT_EQ(EKD3::GETAA(), "1");
    EXPECT_EQ(data(counter), "1\r\n");
    struct Case {
        const char* before;  // nullptr: no file
        const char* printed;
        const char* after;
    };
    const Case cases[] = {
        {"1\r\n", "1", "2\r\n"},           // Tab, then print
        {"58\r\n", "57", "58\r\n"},        // a reprint of an older note
        {"58\r\n", "58", "59\r\n"},
        {"100\r\n", "100", "101\r\n"},
        {"58\r\n", "", "58\r\n"},          // an empty serial leaves a counter of 1 or more
        {nullptr, "", "1\r\n"},            // and turns a missing counter into 1
        {"5\r\n", "300", "301\r\n"},       // a number typed above the counter moves it past
        {"junk\r\n", "3", "4\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.before ? c.before : "(none)") + " / " + c.printed);
        std::filesystem::remove(company(0) + "/" + counter);
        if (c.before) setData(counter, c.before);
        EKD3::INCAA(c.printed);
        EXPECT_EQ(data(counter), c.after);
    }
}

TEST_F(Cmr, LineOffsetFiles) {
    struct Case {
        const char* content;  // nullptr: missing
        int n;
    };
    for (const Case& c : {Case{nullptr, 0}, Case{"3\r\n", 3}, Case{"x\r\n", 0}, Case{"300\r\n", 255}, Case{"255", 255},
                          Case{"", 0}, Case{" 7 \r\nmore", 7}, Case{"99999999999999999999", 255}}) {
        SCOPED_TRACE(c.content ? c.content : "(none)");
        std::filesystem::remove(work->file("CMR1.TXT"));
        if (c.content) TESTS::writeFile(work->file("CMR1.TXT"), c.content);
        EXPECT_EQ(EKD3::LINEOFFSET("CMR1.TXT"), c.n);
        EXPECT_TRUE(TESTS::exists(work->file("CMR1.TXT")));
        if (!c.content) EXPECT_EQ(TESTS::readFile(work->file("CMR1.TXT")), "0\r\n");
    }
}

TEST_F(Cmr, NoteAFilledStoredAndPrintedAtOnceGolden) {
    menu({[&] { type("07"); },
          [&] {
              EXPECT_NE(screenRow(3).find(gr("ΑΛΦΑ ΑΕ")), std::string::npos) << "filled on first opening";
              EXPECT_NE(screenRow(16).find("ORANGES"), std::string::npos);
              type("SENDER LINE 1");
              con->key(SC::F7);  // the analysis lines
          },
          [&] {
              EXPECT_NE(screenRow(8).find(gr("ΠΟΡΤΟΚΑΛΙΑ")), std::string::npos) << "line 2 at row 8";
              type("ANALYSIS 1");
              enter();
              con->ch(ESC);
              keys(SC::DOWN, 18);  // to the serial field
              con->ch(TAB);
          },
          [&] {
              EXPECT_EQ(screenRow(6).substr(50, 2), "1.") << "the serial number in the field being edited";
              con->key(SC::F4);
              con->key(SC::SF1);
          }});
    const std::string note = data("2002.cma");
    ASSERT_EQ(note.size(), EKD3::CMRR::SIZE);
    EKD3::Record r(EKD3::CMRR::SIZE);
    r.b = note;
    EXPECT_EQ(trimRight(r.get(EKD3::CMRR::APO[1])), "SENDER LINE 1");
    EXPECT_EQ(trimRight(r.get(EKD3::CMRR::BUFPER[1])), "ANALYSIS 1");
    EXPECT_EQ(r.get(EKD3::CMRR::MET[4]), "1");
    const std::string out = port();
    golden("cmr_a.prn", out);
    EXPECT_EQ(out.substr(out.size() - 6), "\x12\x1BP\x1B" "CB") << "ends with 10 cpi and 66 lines, no form feed";
    EXPECT_EQ(out.find("ANALYSIS"), std::string::npos) << "the analysis is not printed";
    EXPECT_EQ(data("AA_CMR.TXT"), "2\r\n");
}

// On both screens every field stands apart from its caption: the cell left of it is no letter
// (the date of the note once read "ΗΜ/ΝΙΑ11/12/26").
TEST_F(Cmr, EveryFieldStandsApartFromItsCaption) {
    for (const auto& [mask, table] : {std::pair{97, EKD3::CMRATABLE()}, std::pair{98, EKD3::CMRBTABLE()}}) {
        SCR::CALLM(mask, true);
        for (const auto& e : table) {
            const std::string row = screenRow(e.row);
            EXPECT_EQ(row[size_t(e.col - 2)], ' ') << "mask " << mask << " field at " << e.col << "," << e.row << ": " << row;
        }
        SCR::RECALL();
    }
}

TEST_F(Cmr, NoteBWithTheOffsetsGoldenAndNoPrintsNothing) {
    TESTS::writeFile(work->file("CMR1.TXT"), "3\r\n");
    setData("AA_CMR.TXT", "41\r\n");
    menu({[&] { type("08"); },
          [&] {
              EXPECT_NE(screenRow(17).find("ORANGES"), std::string::npos);
              keys(SC::DOWN, 13);
              con->ch(TAB);
              keys(SC::DOWN, 18);  // ODE[1]
              type("INSTRUCTION");
              con->key(SC::SF1);
              con->ch('O');  // no
          },
          [&] {
              EXPECT_EQ(port(), "");
              EXPECT_EQ(data("AA_CMR.TXT"), "41\r\n");
              EXPECT_FALSE(TESTS::exists(work->file("CMRLINES.TXT")));
              con->key(SC::SF1);
              con->ch('N');
          }});
    const std::string out = port();
    golden("cmr_b_offset3.prn", out);
    EXPECT_EQ(data("AA_CMR.TXT"), "42\r\n");
    EXPECT_EQ(TESTS::readFile(work->file("CMRLINES.TXT")), "0\r\n");
    EXPECT_FALSE(hasData("2002.cmb")) << "not stored without F4";
    // with 0 in "CMR1.TXT" the instructions and the place move three lines up
    clearPort();
    TESTS::writeFile(work->file("CMR1.TXT"), "0\r\n");
    menu({[&] { type("08"); }, [&] {
              keys(SC::DOWN, 31);
              type("INSTRUCTION");
              con->key(SC::SF1);
              con->ch('N');
          }});
    const std::string zero = port();
    auto lineOf = [](const std::string& s, const std::string& what) {
        int n = 0;
        for (size_t at = s.find("\r\n"); at < s.find(what); at = s.find("\r\n", at + 2)) ++n;
        return n;
    };
    const std::string place = gr("ΘΕΣΣΑΛΟΝΙΚΗ ΛΙΜ") + std::string(14, ' ');
    EXPECT_EQ(lineOf(out, "ORANGES") - lineOf(zero, "ORANGES"), 0) << "the upper part stays";
    EXPECT_EQ(lineOf(out, "INSTRUCTION") - lineOf(zero, "INSTRUCTION"), 3);
    EXPECT_EQ(lineOf(out, place) - lineOf(zero, place), 3);
}

TEST_F(Cmr, F6OnNoteBOpensTheCarnetWithTheNote) {
    UMAS::PAREDE[18].TIMI = 2;
    menu({[&] { type("08"); },
          [&] {
              keys(SC::DOWN, 11);  // MET[2]
              type("SECOND CARRIER");
              con->key(SC::F6);
          },
          [&] {
              EXPECT_NE(screenRow(6).find("GREECE"), std::string::npos) << "the carnet's field 7";
              EXPECT_NE(screenRow(8).find("TRUCK NIK 1234 / SECOND CARRIER"), std::string::npos);
              con->ch(ESC);
          },
          [&] {
              EXPECT_NE(screenRow(17).find("ORANGES"), std::string::npos) << "back on the note";
              con->key(SC::F4);
          }});
    const std::string note = data("2002.cmb");
    ASSERT_EQ(note.size(), EKD3::CMRBR::SIZE);
    EKD3::Record r(EKD3::CMRBR::SIZE);
    r.b = note;
    EXPECT_EQ(r.get(EKD3::CMRBR::MET[2]), "SECOND CARRIER");
}

}  // namespace
