// Form BEYG, the T5 control copy, form N105 and the TIR carnet with its registration application:
// records at their offsets, fills, screens and prints against golden files.
#include <filesystem>

#include "screen/ekd3_fixture.h"

using namespace EKD3TEST;

namespace {

class Forms : public Ekd3 {
protected:
    void SetUp() override {
        Ekd3::SetUp();
        exportDeclaration();
    }
    EKD3::Record stored(const std::string& name, size_t size) {
        EKD3::Record r(size);
        r.b = data(name);
        EXPECT_EQ(r.b.size(), size) << name;
        r.b.resize(size);
        return r;
    }
};

// ---- BEYG ---------------------------------------------------------------------------------------------

TEST(BeygRecord, FieldsAtTheirOffsets) {
    using R = EKD3::BEYGR;
    const std::pair<EKD3::TF, size_t> cases[] = {
        {R::TELA, 48},     {R::TELAC, 69},    {R::KVD, 90},       {R::HMK, 94},       {R::KE, 101},
        {R::KLT[4], 276},  {R::TELB, 325},    {R::ARKAT, 346},    {R::HAKF, 357},     {R::HMF(1), 364},
        {R::ARI(1), 401},  {R::KGM(1), 410},  {R::KGK(1), 421},   {R::RHME(1), 432},  {R::HMF(6), 739},
        {R::BAS(1), 814},  {R::KEM(1), 852},  {R::MKGK(6), 1265}, {R::POL, 1276},     {R::HME, 1292}};
    for (const auto& [f, off] : cases) EXPECT_EQ(f.off, off);
    EXPECT_EQ(R::HME.off + 7, R::SIZE);
    const auto t = EKD3::BEYGTABLE();
    EXPECT_EQ(t.size(), 84u);
    for (const auto& e : t) {
        EXPECT_LE(e.f.off + size_t(e.f.cap) + 1, R::SIZE);
        EXPECT_EQ(e.len, e.f.cap) << "each field edited at its own width";
    }
}

TEST(BeygNumbers, ShownAndPrinted) {
    struct Case {
        float v;
        int width;
        const char* text;
    };
    for (const Case& c : {Case{1, 8, "       1"}, Case{12.5f, 10, "     12.50"}, Case{0, 10, "         0"},
                          Case{1500, 10, "      1500"}, Case{0.25f, 8, "    0.25"}})
        EXPECT_EQ(EKD3::BEYGNUM(c.v, c.width), c.text);
}

TEST_F(Forms, BeygFilledTotalledStoredAndPrintedGolden) {
    menu({[&] { type("16"); },
          [&] {
              EXPECT_NE(screenRow(16).find("      1500       1400"), std::string::npos) << "the totals of a new form";
              keys(SC::DOWN, 20);  // ARI of row 1
              type("1");
              keys(SC::DOWN, 8);  // ARI of row 2
              type("12.5");
              enter();
              type("100");
              enter();
          },
          [&] {
              EXPECT_NE(screenRow(16).find("   13.50       1600       1400"), std::string::npos);
              EXPECT_NE(screenRow(11).find("   12.50        100"), std::string::npos);
              con->key(SC::F4);
              con->key(SC::SF1);
          }});
    const EKD3::Record r = stored("2002.byg", EKD3::BEYGR::SIZE);
    EXPECT_EQ(r.get(EKD3::BEYGR::ARI(2)), "12.5");
    EXPECT_EQ(r.get(EKD3::BEYGR::POL), gr("ΠΕΙΡΑΙΑΣ"));
    EXPECT_EQ(r.get(EKD3::BEYGR::TELAC), "1101");
    const std::string out = port();
    golden("beyg.prn", out);
    EXPECT_NE(out.find("     12.50"), std::string::npos);
    EXPECT_NE(out.find("     13.50"), std::string::npos) << "the total counts the row of 1";
    EXPECT_EQ(out.find("         1"), std::string::npos) << "a number of 1 is not printed";
    EXPECT_NE(out.find("15/03/24"), std::string::npos);
}

TEST_F(Forms, BeygEmptyDatesAndTabRefill) {
    EKD3::Record r(EKD3::BEYGR::SIZE);
    EKD3::PRINTBEYG(r);
    const std::string out = port();
    size_t slashes = 0;
    for (size_t at = out.find("//"); at != std::string::npos; at = out.find("//", at + 2)) ++slashes;
    EXPECT_EQ(slashes, 2u) << "HMK and HAKF print as two slashes, the other dates not at all";
    // Tab overwrites the declaration's fields and leaves the other rows alone
    r.set(EKD3::BEYGR::KGM(1), "9");
    r.set(EKD3::BEYGR::KGM(3), "33");
    r.set(EKD3::BEYGR::DXA, "FREE");
    EKD3::BEYGFILL(r);
    EXPECT_EQ(UMAS::trim(r.get(EKD3::BEYGR::KGM(1))), "1500");
    EXPECT_EQ(r.get(EKD3::BEYGR::KGM(3)), "33");
    EXPECT_EQ(r.get(EKD3::BEYGR::DXA), "FREE");
    EXPECT_EQ(r.get(EKD3::BEYGR::HMK), "150324");
}

TEST_F(Forms, ShortSideFilesOpenWithTheirFieldsAndTabRecalculates) {
    EKD3::Record b(EKD3::BEYGR::SIZE);
    b.set(EKD3::BEYGR::DXA, "OLD DXA");
    b.set(EKD3::BEYGR::KGM(1), "7");
    setData("2002.byg", b.b.substr(0, 430));
    menu({[&] { type("16"); },
          [&] {
              EXPECT_NE(screenRow(1).find("OLD DXA"), std::string::npos);
              EXPECT_NE(screenRow(16).find("         7          0"), std::string::npos);
              con->ch(TAB);
          },
          [&] { EXPECT_NE(screenRow(16).find("      1500       1400"), std::string::npos) << "totals after Tab"; }});
    EKD3::Record t(EKD3::T5R::SIZE);
    t.set(EKD3::T5R::APO[1], "OLD T5 SENDER");
    setData("2002.T5", t.b.substr(0, 50));
    menu({[&] { type("17"); },
          [&] {
              EXPECT_NE(screenRow(3).find("OLD T5 SENDER"), std::string::npos);
              con->key(SC::F4);
          }});
    const EKD3::Record back = stored("2002.T5", EKD3::T5R::SIZE);
    EXPECT_EQ(back.get(EKD3::T5R::APO[1]), "OLD T5 SENDER");
    EXPECT_EQ(back.get(EKD3::T5R::XRIS[5]), "") << "a stored copy is not filled";
}

// ---- T5 -----------------------------------------------------------------------------------------------

TEST(T5Record, FieldsAtTheirOffsets) {
    using R = EKD3::T5R;
    const std::pair<EKD3::TF, size_t> cases[] = {{R::PAR[1], 144}, {R::XVAP, 324}, {R::XVPR, 355}, {R::KATH, 386},
                                                 {R::XRIS[5], 425}, {R::ALLO[1], 427}, {R::PIST[2], 560},
                                                 {R::ALED[3], 773}, {R::SHM, 844}, {R::PROTH, 865}, {R::EGGR, 880}};
    for (const auto& [f, off] : cases) EXPECT_EQ(f.off, off);
    EXPECT_EQ(R::EGGR.off + 31, R::SIZE);
    EXPECT_EQ(EKD3::T5TABLE().size(), 27u);
}

TEST_F(Forms, T5FillFromTheDeclaration) {
    exportDeclaration("1234");
    UMAS::KALOS1 = "FIRST ENDORSEMENT LINE LONGER";
    UMAS::KALOS2 = "SECOND";
    EKD3::Record r(EKD3::T5R::SIZE);
    EKD3::T5FILL(r);
    EXPECT_EQ(r.get(EKD3::T5R::EGGR), gr("ΕΔΕ: 1234 / 15-03-24"));
    EXPECT_EQ(r.get(EKD3::T5R::XRIS[5]), "X");
    EXPECT_EQ(r.get(EKD3::T5R::XRIS[1]), "");
    EXPECT_EQ(r.get(EKD3::T5R::SHM), "FIRST ENDORSEMENT LI");
    EXPECT_EQ(r.get(EKD3::T5R::PROTH), "SECOND");
    EXPECT_EQ(UMAS::trim(r.get(EKD3::T5R::PIST[1])), "N380:INV 77");
    EXPECT_EQ(UMAS::trim(r.get(EKD3::T5R::ALED[2])), "TRUCK NIK 1234");
    EXPECT_EQ(UMAS::trim(r.get(EKD3::T5R::XVPR)), "ISTANBUL");
}

TEST_F(Forms, T5BothPapersGoldenAndNoPrintsNothing) {
    put(9, "010424");
    put(30, "TWO");
    auto open = [&](uint8_t printKey, char answer) {
        clearPort();
        menu({[&] { type("17"); },
              [&] {
                  type("EDITED SENDER");
                  enter();
                  type("SENDER 2");
                  con->key(printKey);
              },
              [&] {
                  if (printKey == SC::SF10)
                      EXPECT_NE(screenRow(23).find(gr("ΕΚΔΟΣΗ ΝΕΟΥ ΕΝΤΥΠΟΥ")), std::string::npos);
                  con->ch(uint8_t(answer));
              }});
        return port();
    };
    EXPECT_EQ(open(SC::SF1, 'O'), "") << "no prints nothing";
    const std::string old = open(SC::SF1, 'N');
    const std::string neu = open(SC::SF10, 'N');
    golden("t5_old.prn", old);
    golden("t5_new.prn", neu);
    auto count = [](const std::string& s, const std::string& what) {
        size_t n = 0;
        for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
        return n;
    };
    for (const std::string& out : {old, neu}) {
        EXPECT_EQ(count(out, "EDITED SENDER"), 1u) << "the copy's sender in place of box 12";
        EXPECT_EQ(count(out, gr("ΑΛΦΑ ΑΕ")), 0u) << "the declaration's sender never prints";
        EXPECT_NE(out.find("SENDER 2"), std::string::npos) << "before box 9";
        EXPECT_EQ(count(out, "ENDORSED"), 1u) << "box 207 in the lower part only";
        EXPECT_EQ(count(out, "N380:INV 77"), 1u) << "box 92 only through the certificates line";
    }
    EXPECT_NE(old.find("01/04/24"), std::string::npos);
    EXPECT_EQ(count(neu, "TRUCK NIK 1234"), count(old, "TRUCK NIK 1234") + 1) << "box 46 in the new paper only";
}

// ---- N105 ---------------------------------------------------------------------------------------------

class N105 : public Forms {
protected:
    void SetUp() override {
        Forms::SetUp();
        for (int n = 1; n <= 23; ++n) EKD3::SETN105FIELD(n, "");
    }
    uint16_t number(const char* name) {
        ARP0::EA = ARP0::KEY(gr(name));
        EXPECT_TRUE(ARP0::CHO(0)) << name;
        return ARP0::XN;
    }
};

TEST_F(N105, DatesInWordsAndTheFullPrintGolden) {
    struct Case {
        const char* f7;
        const char* words;
    };
    const Case cases[] = {{"150397", "15 ΜΑΡΤΙΟΥ 1997"}, {"010105", "01 ΙΑΝΟΥΑΡΙΟΥ 2005"}, {"311269", "31 ΔΕΚΕΜΒΡΙΟΥ 2069"},
                          {"010770", "01 ΙΟΥΛΙΟΥ 1970"},  {"159999", "15  1999"},            {"15x.99", "15  1999"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.f7);
        clearPort();
        EKD3::SETN105FIELD(7, c.f7);
        EKD3::PRINTN105();
        EXPECT_NE(port().find(gr(c.words)), std::string::npos);
    }
    EXPECT_EQ(EKD3::N105MONTH("03"), gr("ΜΑΡΤΙΟΥ"));
    EXPECT_EQ(EKD3::N105MONTH("3x"), gr("ΜΑΡΤΙΟΥ"));
    EXPECT_EQ(EKD3::N105MONTH("x3"), "");
    EXPECT_EQ(EKD3::N105MONTH("13"), "");
    for (int n = 1; n <= 23; ++n) EKD3::SETN105FIELD(n, "F" + std::to_string(n));
    EKD3::SETN105FIELD(7, "150397");
    EKD3::SETN105FIELD(22, gr("ΠΕΙΡΑΙΑΣ"));
    EKD3::SETN105FIELD(23, "010205");
    clearPort();
    EKD3::PRINTN105();
    const std::string out = port();
    golden("n105.prn", out);
    EXPECT_NE(out.find(UMAS::padTo(gr("ΠΕΙΡΑΙΑΣ"), 20) + " 01/02/"), std::string::npos);
    EXPECT_NE(out.find("F21" + std::string(67, ' ')), std::string::npos) << "fields print at their full length";
}

TEST_F(N105, RecordsOfTheHighestCustomersAndAMissingFile) {
    // no file: an empty form, nothing created
    EKD3::SETN105FIELD(1, "LEFT OVER");
    EKD3::N105READ(3);
    EXPECT_EQ(EKD3::N105FIELD(1), std::string(30, ' '));
    EXPECT_FALSE(hasData("N105.DAT"));
    // F4 for record 1000 creates the file with blank records before it
    EKD3::SETN105FIELD(1, "CUSTOMER 1000");
    EKD3::SETN105FIELD(23, "311299");
    EKD3::N105WRITE(1000);
    std::string file = data("N105.DAT");
    ASSERT_EQ(file.size(), 1001u * EKD3::N105_SIZE);
    EXPECT_EQ(file.substr(0, 1000 * EKD3::N105_SIZE), std::string(1000 * EKD3::N105_SIZE, ' '));
    EXPECT_EQ(file.substr(1000 * EKD3::N105_SIZE, 13), "CUSTOMER 1000");
    EXPECT_EQ(file.substr(file.size() - 6), "311299");
    // a record past the end reads as an empty form; record 1000 reads back
    EKD3::N105READ(1001);
    EXPECT_EQ(EKD3::N105FIELD(1), std::string(30, ' '));
    EKD3::N105READ(1000);
    EXPECT_EQ(UMAS::trim(EKD3::N105FIELD(1)), "CUSTOMER 1000");
    // a record inside the file is overwritten in place
    EKD3::SETN105FIELD(1, "CUSTOMER 7");
    EKD3::N105WRITE(7);
    file = data("N105.DAT");
    EXPECT_EQ(file.size(), 1001u * EKD3::N105_SIZE);
    EXPECT_EQ(file.substr(7 * EKD3::N105_SIZE, 10), "CUSTOMER 7");
    EXPECT_EQ(file.substr(1000 * EKD3::N105_SIZE, 13), "CUSTOMER 1000");
}

TEST_F(N105, OnlyTheExactNameHasARecord) {
    const int alfa = number("ΑΛΦΑ ΑΕ");
    EXPECT_EQ(EKD3::N105CUSTOMER(gr("ΑΛΦΑ ΑΕ")), alfa);
    EXPECT_EQ(BOD::PR, alfa);
    for (const char* name : {"ΑΛΦΑ", "ΑΛΦΑ ΑΕΕ", "ΓΑΜΜΑ", ""}) {
        SCOPED_TRACE(name);
        BOD::PR = 7;
        BOD::EA = "KEPT";
        BOD::AF = "KEPT AF";
        EXPECT_EQ(EKD3::N105CUSTOMER(gr(name)), -1);
        EXPECT_EQ(BOD::PR, 7);
        EXPECT_EQ(BOD::EA, "KEPT");
        EXPECT_EQ(BOD::AF, "KEPT AF") << "no other customer's data is left";
    }
}

TEST_F(N105, CustomersUpTo1000HaveARecord) {
    std::vector<Customer> many;
    std::vector<std::string> names;
    for (int i = 0; i < 1000; ++i) names.push_back("CUSTOMER " + std::to_string(10000 + i));
    for (const std::string& n : names) many.push_back({n.c_str(), "", "", "", "", "", "", ""});
    addCustomers(0, many);
    // the customers take their record numbers in the order they were stored, after the fixture's two
    ASSERT_EQ(number(names[998].c_str()), 1000);
    ASSERT_EQ(number(names[999].c_str()), 1001);
    EXPECT_EQ(EKD3::N105CUSTOMER(names[998]), 1000);
    EXPECT_EQ(EKD3::N105CUSTOMER(names[999]), -1) << "above 1000: no record, F4 stores nothing";
}

TEST_F(N105, ScreenStoresTheCustomersRecordAndAMissStoresNothing) {
    const int alfa = number("ΑΛΦΑ ΑΕ");
    menu({[&] { type("09"); },
          [&] {
              EXPECT_EQ(screenRow(2).substr(22, 30), std::string(30, ' ')) << "an empty form (no file yet)";
              type("ALFA FORM");
              con->key(SC::DOWN);
              con->ch(TAB);  // Tab on field 2 does nothing
              type("NO 5");
              con->key(SC::F4);
              con->ch(ESC);
          },
          [&] { con->ch('O'); }});
    std::string file = data("N105.DAT");
    ASSERT_EQ(file.size(), size_t(alfa + 1) * EKD3::N105_SIZE);
    EXPECT_EQ(file.substr(size_t(alfa) * EKD3::N105_SIZE, 30), UMAS::padTo("ALFA FORM", 30));
    EXPECT_EQ(file.substr(size_t(alfa) * EKD3::N105_SIZE + 30, 4), "NO 5");
    // a party that is no customer: the last values show, F4 stores nothing
    put(12, "ΓΑΜΜΑ ΕΠΕ");
    menu({[&] { type("09"); },
          [&] {
              EXPECT_NE(screenRow(2).find("ALFA FORM"), std::string::npos);
              type("CHANGED");
              con->key(SC::F4);
              con->ch(ESC);
          },
          [&] { con->ch('N'); }});
    EXPECT_EQ(data("N105.DAT"), file);
    EXPECT_NE(port().find("CHANGED"), std::string::npos) << "printed all the same";
}

// ---- TIR carnet and the application -----------------------------------------------------------------

class Tir : public Forms {
protected:
    void SetUp() override {
        Forms::SetUp();
        // every field on its own line: field i at row i, column 2 + 20 x (i mod 3)
        std::string img(PARAMS::PARDOC_SIZE, '\0');
        for (int i = 1; i <= 43; ++i) {
            PARAMS::RECPARTIM4 x;
            x.PER = "F" + std::to_string(i);
            x.COL = uint8_t(2 + 20 * (i % 3));
            x.ROW = uint8_t(i + (i % 2));
            x.encode(reinterpret_cast<uint8_t*>(img.data()) + size_t(i - 1) * PARAMS::RECPARTIM4::SIZE);
        }
        PARAMS::KATPAR("ParTIR", reinterpret_cast<const uint8_t*>(img.data()), img.size());
        writeMap({{1, 22}, {2, 0}, {3, 300}, {4, 8}, {9, 72}, {33, 46}});
    }
    void writeMap(const std::vector<std::pair<int, int>>& rows) {
        std::string img(PARAMS::PARD2_SIZE, '\0');
        for (const auto& [i, kv] : rows)
            PARAMS::RECPARTIM3{uint16_t(kv), "C" + std::to_string(i)}.encode(
                reinterpret_cast<uint8_t*>(img.data()) + size_t(i - 1) * PARAMS::RECPARTIM3::SIZE);
        PARAMS::KATPAR("PARD2TIR", reinterpret_cast<const uint8_t*>(img.data()), img.size());
    }
    LAYDOC::Values filled(int sw, const EKD3::Record* cmr = nullptr) {
        UMAS::PAREDE[18].TIMI = uint8_t(sw);
        LAYDOC::Values v(43, 55);
        for (int i = 1; i <= 43; ++i) v.f[size_t(i)] = "OLD" + std::to_string(i);
        EKD4::TIRFILL(v, cmr);
        return v;
    }
    EKD3::Record note() {
        EKD3::Record r(EKD3::CMRBR::SIZE);
        EKD3::CMRBFILL(r, true);
        return r;
    }
};

TEST_F(Tir, TheThreeFills) {
    // the box map: row 2 with KV 0 and row 3 naming box 300 leave their fields; field 43 from box 207
    LAYDOC::Values v = filled(1);
    EXPECT_EQ(UMAS::trim(v.f[1]), "RECEIVER LTD");
    EXPECT_EQ(v.f[3], "OLD3");
    EXPECT_EQ(v.f[5], "OLD5") << "a box outside 1 to 289";
    EXPECT_EQ(v.f[7], "150324");
    EXPECT_EQ(UMAS::trim(v.f[13]), "ORANGES") << "row 9";
    EXPECT_EQ(UMAS::trim(v.f[42]), "TRUCK NIK 1234") << "row 33";
    EXPECT_EQ(UMAS::trim(v.f[43]), "ENDORSED");
    EXPECT_EQ(v.f[2], "OLD2");
    // the CMR note: MET[2] empty leaves field 9 empty
    EKD3::Record r = note();
    v = filled(2, &r);
    EXPECT_EQ(v.f[9], "");
    EXPECT_EQ(v.f[7], "GREECE");
    EXPECT_EQ(v.f[33], "15/03/24");
    EXPECT_EQ(v.f[36], gr("ΘΕΣΣΑΛΟΝΙΚΗ ΛΙΜΑΝΙ 15/03/24"));
    EXPECT_EQ(v.f[13], "ORANGES");
    EXPECT_EQ(v.f[14], "1234.6");
    EXPECT_EQ(v.f[8], "ISTANBUL");
    EXPECT_EQ(v.f[2], "OLD2");
    r.set(EKD3::CMRBR::MET[2], " SECOND ");
    EXPECT_EQ(filled(2, &r).f[9], "TRUCK NIK 1234 / SECOND");
    EXPECT_EQ(filled(2).f[1], "OLD1") << "from the menu the CMR fill fills nothing";
    // the fixed fill
    for (int sw : {0, 3, 9}) {
        v = filled(sw);
        EXPECT_EQ(v.f[13], "CT 120   1 ");
        EXPECT_EQ(v.f[33], "15/03/24");
        EXPECT_EQ(v.f[9], "TRUCK NIK 1234");
        EXPECT_EQ(v.f[14], "1500");
        EXPECT_EQ(v.f[29], "120");
        EXPECT_EQ(v.f[12], gr("ΑΛΦΑ ΑΕ"));
        EXPECT_EQ(v.f[1], gr("ΘΕΣΣΑΛΟΝΙΚΗ ΛΙΜΑΝΙ"));
        EXPECT_EQ(v.f[2], "OLD2");
    }
}

TEST_F(Tir, CarnetGoldenByEachFillAndTheStoredValues) {
    auto print = [&](int sw, bool fromNote) {
        UMAS::PAREDE[18].TIMI = uint8_t(sw);
        clearPort();
        const std::function<void()> printKeys = [&] {
            con->key(SC::SF1);
            con->ch('N');
            enter();
        };
        if (fromNote)
            menu({[&] { type("08"); }, [&] { con->key(SC::F6); }, printKeys});
        else
            menu({[&] { type("18"); }, printKeys});
        return port();
    };
    golden("tir_map.prn", print(1, false));
    golden("tir_cmr.prn", print(2, true));
    const std::string fixed = print(0, false);
    golden("tir_fixed.prn", fixed);
    EXPECT_NE(fixed.find("CT 120   1\x1B"), std::string::npos) << "printed without trailing blanks";
    // F4 stores the carnet; a stored carnet opens as stored and Tab fills it again
    menu({[&] { type("18"); },
          [&] {
              type("CARNET 1");
              con->key(SC::F4);
          }});
    EXPECT_EQ(data("2002.tir").size(), 2408u);
    menu({[&] { type("18"); },
          [&] {
              EXPECT_NE(screenRow(3).find("CARNET 1"), std::string::npos);
              con->ch(TAB);
          },
          [&] { EXPECT_EQ(screenRow(3).find("CARNET 1"), std::string::npos) << "Tab fills from the declaration"; }});
}

// The carnet filled by a box map that is missing: the line telling it leaves no piece on the screen.
TEST_F(Tir, AMissingBoxMapLeavesNoTraceOnTheScreen) {
    UMAS::PAREDE[18].TIMI = 1;
    std::remove((company(0) + "/PARD2TIR.dat").c_str());
    auto clean = [&] {
        for (int y = 1; y <= 25; ++y) EXPECT_EQ(screenRow(y).find("file not found"), std::string::npos) << y;
    };
    menu({[&] {
              type("18");
          },
          [&] {
              clean();
              con->ch(TAB);
          },
          [&] { clean(); }});
}

TEST_F(Tir, ApplicationFromTheCarnetHandedOffGoldenAndBack) {
    toSpool(UMAS::PE_TIR);
    menu({[&] { type("18"); },
          [&] {
              con->key(SC::DOWN);
              type("CARNET EDIT");
              con->key(SC::F6);
          },
          [&] {
              EXPECT_NE(screenRow(1).find(gr("ΑΙΤΗΣΗ ΚΑΤΑΧΩΡΗΣΗΣ")), std::string::npos) << "mask 122";
              con->key(SC::SF1);
              con->ch('N');
          },
          [&] {
              EXPECT_FALSE(PRNS::spoolHeld()) << "the spool file was handed off";
              type("APPLICATION");
              con->key(SC::F4);
              con->ch(ESC);
          },
          [&] {
              EXPECT_NE(screenRow(3).find("CARNET EDIT"), std::string::npos) << "back on the carnet, edits kept";
              con->key(SC::SF1);
              con->ch('O');
          }});
    const std::string out = handed();
    golden("ait_empty.prn", out);
    EXPECT_EQ(data("2002.ait").size(), 1624u);
    EXPECT_EQ(data("2002.ait").substr(0, 12), "\x0B" "APPLICATION");
    EXPECT_FALSE(hasData("2002.tir")) << "the carnet is not stored with the application";
}

}  // namespace
