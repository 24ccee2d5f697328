// The box rules of the declaration editor's main page: the pickers and what a picked row writes,
// the hint, the derived boxes, the currency conversion and the reference number.
#include "screen/ek0_rules_fixture.h"

#include "declarations/taxlines.h"

using namespace RULETEST;

namespace {

struct PickCase {
    const char* kind;
    int box;
    int downs;                                        // rows moved down in the picker before Enter
    std::vector<std::pair<int, const char*>> expect;  // box -> text without trailing blanks (UTF-8)
};

TEST_F(Rules, PickersWriteTheBoxAndItsNeighbours) {
    const std::vector<PickCase> cases = {
        {"IMP", 54, 1, {{54, "DEM"}, {56, "1.95583"}}},
        {"IMP", 56, 0, {{54, "USD"}, {56, "0.9217"}}},
        {"IMP", 40, 1, {{40, "DE"}, {39, "ΓΕΡΜΑΝΙΑ"}}},
        {"IMP", 39, 2, {{40, "IT"}, {39, "ΙΤΑΛΙΑ"}}},
        {"IMP", 44, 1, {{44, "DE"}, {43, "ΓΕΡΜΑΝΙΑ"}}},
        {"IMP", 80, 1, {{80, "DE"}, {42, "ΓΕΡΜΑΝΙΑ"}}},
        {"IMP", 47, 2, {{47, "IT"}}},
        {"IMP", 53, 0, {{53, "GR"}}},
        {"IMP", 192, 1, {{192, "ΓΕΡΜΑΝΙΑ"}}},
        {"IMP", 206, 2, {{206, "ΙΤΑΛΙΑ"}}},
        {"IMP", 6, 0, {{6, "Α' ΤΕΛ. ΠΕΙΡΑΙΑ"}, {7, "1001"}, {187, ""}, {188, ""}}},
        {"IMP", 7, 1, {{6, "ΤΕΛ. ΚΑΤΕΡΙΝΗΣ"}, {7, "0123"}}},
        {"EXP", 7, 1, {{7, "0123"}, {187, "ΤΕΛ. ΚΑΤΕΡΙΝΗΣ"}, {188, "GR000123"}}},
        {"MTF", 6, 2, {{7, "0 15"}, {187, "ΤΕΛ. ΣΤΑΥΡΟΥ"}, {188, "GR000 15"}}},
        {"EXP", 187, 0, {{187, "Α' ΤΕΛ. ΠΕΙΡΑΙΑ"}, {188, "GR001001"}}},
        {"IMP", 188, 0, {{187, "Α' ΤΕΛ. ΠΕΙΡΑΙΑ"}, {188, "1001"}}},
        {"IMP", 64, 1, {{64, "GR000123 ΤΕΛ. ΚΑΤΕΡΙΝΗΣ"}}},
        {"IMP", 64, 3, {{64, "ΓΡΑΦΕΙΟ ΧΩΡΙΣ ΚΩΔ. ΒΟΛΟΣ"}}},
        {"MTF", 191, 0, {{191, "GR001001"}, {192, "ΠΕΙΡΑΙΑΣ"}}},
        {"MTF", 205, 3, {{205, "ΓΡΑΦΕΙΟ ΧΩ"}, {206, "ΒΟΛΟΣ"}}},
        {"IMP", 61, 1, {{61, "ΘΕΣΣΑΛΟΝΙΚΗ - ΛΙΜΑΝΙ"}}},
        {"IMP", 65, 0, {{65, "ΠΕΙΡΑΙΑΣ - ΛΙΜΑΝΙ"}}},
        {"IMP", 46, 0, {{46, "ΦΟΡΤΗΓΟ ΙΚΧ ΙΑΑ 1234"}, {60, " 3"}}},
        {"MTF", 60, 1, {{46, "ΦΟΡΤΗΓΟ ΜΕ ΡΥΜΟΥΛΚΟ"}, {60, "3"}}},
        {"IMP", 52, 1, {{52, "ΦΟΡΤΗΓΟ ΜΕ ΡΥΜΟΥΛΚΟ"}, {59, "30"}}},
        {"IMP", 2, 0, {{2, "IM A 40"}, {3, "40"}, {4, "ΕΙΣΑΓΩΓΗ ΤΡΙΤΩΝ"}, {5, "40"}, {84, "4000"}}},
        {"EXP", 84, 1, {{2, "EX A"}, {3, ""}, {4, "ΕΞΑΓΩΓΗ"}, {5, ""}, {84, ""}}},
        {"DFK", 5, 0, {{2, ""}, {3, "40"}, {4, ""}, {5, "40"}, {84, "4000"}}},
        {"IMP", 49, 1, {{49, "CIF"}, {50, "ΚΟΣΤΟΣ, ΑΣΦΑΛΙΣΗ"}}},
        {"IMP", 89, 1, {{89, "12:"}}},
        {"IMP", 89, 0, {{89, "01:"}}},  // as the list shows it: the submission runs want two digits
        {"IMP", 68, 1, {{68, "ΠΑΛΕΤΕΣ"}}},
        {"IMP", 70, 0, {{70, "ΧΑΡΤΟΚΙΒΩΤΙΑ"}}},
    };
    for (const PickCase& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " box " + std::to_string(c.box));
        form(c.kind);
        // What Esc must leave: the form as it was.
        std::vector<std::string> before;
        for (int b = 1; b <= BOD::BOXES; ++b) before.push_back(box(b));
        tab(c.box, {PLAT::keyChar(ESC)});
        for (int b = 1; b <= BOD::BOXES; ++b) ASSERT_EQ(box(b), before[size_t(b - 1)]) << "Esc wrote box " << b;
        EXPECT_EQ(SCR::STACKPOINTER(), 0);

        tab(c.box, downs(c.downs));
        EXPECT_EQ(ed.K, 0);
        for (const auto& [b, t] : c.expect) EXPECT_EQ(text(b), gr(t)) << "box " << b;
        EXPECT_EQ(SCR::STACKPOINTER(), 0);
    }
}

// Switch 1 picks the package code instead of its name; box 142 takes the currency code.
TEST_F(Rules, PackagesBySwitchAndTheCurrencyIn142) {
    form("IMP");
    UMAS::PAREDE[1].TIMI = 1;
    tab(68, downs(1));
    EXPECT_EQ(text(68), "PX");
    tab(54, downs(0));
    EXPECT_EQ(box(142).substr(0, 11), "    IMP USD");
}

// The office decides the town of the header, which box 207 then shows (through the date rule).
TEST_F(Rules, OfficeSetsTheTown) {
    form("IMP");
    tab(6, downs(1));
    EXPECT_EQ(UMAS::LOGOTYPO[7], gr("ΚΑΤΕΡΙΝΗ"));
    ed.VV = 8;
    ed.KEY(8, 1);
    EXPECT_EQ(text(207), gr("ΚΑΤΕΡΙΝΗ 16/03/26"));
    put(7, "");  // the picker opens on the office of box 7
    tab(6, downs(2));
    EXPECT_EQ(UMAS::LOGOTYPO[7], gr("ΣΤΑΥΡΟΣ"));
    put(7, "");
    tab(6, downs(0));
    EXPECT_EQ(UMAS::LOGOTYPO[7], UMAS::DEFAULT_POLI);
}

TEST_F(Rules, DocumentsFillTheDocumentLines) {
    form("IMP");
    UMAS::PAREDE[13].TIMI = 1;
    // Space marks rows in order: the invoice, the CMR, the value declaration.
    const auto space = PLAT::keyChar(' ');
    tab(92, {space, PLAT::keyExt(SC::DOWN), space, PLAT::keyExt(SC::DOWN), space, PLAT::keyChar(ENTER)});
    EXPECT_EQ(text(92), gr("N380:ΕΜΠΟΡΙΚΟ ΤΙΜΟΛΟΓΙΟ"));
    EXPECT_EQ(text(93), gr("N730:ΦΟΡΤΩΤΙΚΗ CMR"));
    EXPECT_EQ(text(94), gr("    ΔΗΛΩΣΗ ΑΞΙΑΣ"));
    EXPECT_EQ(text(95), "");
}

TEST_F(Rules, HintShowsOnBoxesWithARule) {
    form("IMP");
    const std::string hint = gr("╡TAB.ΛΙΣΤΑ╞");
    struct H {
        const char* kind;
        int box;
        bool shown;
    };
    for (const H& h : std::vector<H>{{"IMP", 54, true},   {"IMP", 6, true},   {"IMP", 12, true},  {"EXP", 12, false},
                                     {"MTF", 13, false},  {"IMP", 22, false}, {"IMP", 8, false},  {"IMP", 1, false},
                                     {"IMP", 104, false}, {"IMP", 71, true},  {"IMP", 17, false}, {"IMP", 101, true},
                                     {"IMP", 203, true},  {"IMP", 204, false}, {"IMP", 85, true}, {"IMP", 20, true}}) {
        SCOPED_TRACE(std::string(h.kind) + " box " + std::to_string(h.box));
        form(h.kind);
        SCR::PRINT(1, 24, std::string(80, ' '));
        ed.VV = h.box;
        ed.KEY(h.box, 1);
        EXPECT_EQ(screenRow(24).substr(61, 11) == hint, h.shown) << screenRow(24);
        ed.K = 0;
        ed.KEY(h.box, 2);
        EXPECT_EQ(SCR::STACKPOINTER(), 0);
        EXPECT_NE(screenRow(24).substr(61, 11), hint);
    }
}

// Worked by hand: 1000 / 1.95583 = 511.2919.. -> 511.292 -> "511.29"; 2500 / 0.9217 = 2712.3793..
// -> 2712.379 -> "2712.38"; 0.05 / 0.9217 = 0.054 (not above 0.1: box 100 untouched).
TEST_F(Rules, CurrencyConversionIntoTheValue) {
    struct C {
        const char* kind;
        const char* amount;
        int row;
        const char* value;
    };
    for (const C& c : std::vector<C>{{"IMP", "1000", 1, "    511.29"},
                                     {"EXP", "2500", 0, "   2712.38"},
                                     {"IMP", "0.05", 0, ""},
                                     {"MTF", "1000", 1, ""},
                                     {"IMP", "1000", 2, ""}}) {
        SCOPED_TRACE(std::string(c.kind) + " " + c.amount);
        form(c.kind);
        put(55, c.amount);
        tab(54, downs(c.row));
        EXPECT_EQ(box(100).substr(0, 10), UMAS::LEJU(c.value, 10));
    }
    // Entering or leaving box 56 after the rate was typed converts too.
    form("IMP");
    put(55, "1000");
    put(56, "2");
    ed.KEY(56, 2);
    EXPECT_EQ(text(100), "    500.00");
    // A rate of 0 writes seven blanks into box 56.
    form("IMP");
    tab(54, downs(2));
    EXPECT_EQ(box(56).substr(0, 7), "       ");
    EXPECT_EQ(text(54), "XXX");
}

TEST_F(Rules, TransportAndCountryCopies) {
    for (const char* kind : {"IMP", "MTF", "EXP"}) {
        SCOPED_TRACE(kind);
        form(kind);
        put(46, "ΦΟΡΤΗΓΟ");
        put(60, "3");
        put(47, "DE");
        ed.KEY(52, 1);
        ed.KEY(53, 1);
        const bool copies52 = std::string(kind) != "EXP";
        EXPECT_EQ(text(52), copies52 ? gr("ΦΟΡΤΗΓΟ") : "");
        EXPECT_EQ(text(59), copies52 ? "3" : "");
        EXPECT_EQ(text(53), std::string(kind) != "EXP" ? "DE" : "");
        // A filled box is never overwritten.
        put(52, "ΑΛΛΟ");
        put(53, "IT");
        ed.KEY(52, 2);
        ed.KEY(53, 2);
        EXPECT_EQ(text(52), copies52 ? gr("ΑΛΛΟ") : gr("ΑΛΛΟ"));
        EXPECT_EQ(text(53), "IT");
    }
}

TEST_F(Rules, TransitPartyCopiesFollowSwitch8) {
    for (int sw8 : {0, 1}) {
        for (const char* kind : {"MTF", "IMP"}) {
            SCOPED_TRACE(std::string(kind) + " switch 8 = " + std::to_string(sw8));
            form(kind);
            UMAS::PAREDE[8].TIMI = sw8;
            put(11, "GR012345678");
            put(12, "ΑΠΟΣΤΟΛΕΑΣ ΑΕ");
            put(13, "ΟΔΟΣ 1");
            put(14, "ΠΕΙΡΑΙΑΣ");
            put(22, "ΠΑΡΑΛΗΠΤΗΣ");
            ed.VV = 21;
            ed.KEY(21, 1);
            const bool copies = sw8 == 1 && std::string(kind) == "MTF";
            EXPECT_EQ(text(21), copies ? "GR012345678" : "");
            EXPECT_EQ(text(22), gr("ΠΑΡΑΛΗΠΤΗΣ"));
            EXPECT_EQ(text(23), copies ? gr("ΟΔΟΣ 1") : "");
            EXPECT_EQ(text(24), copies ? gr("ΠΕΙΡΑΙΑΣ") : "");
        }
    }
}

TEST_F(Rules, ReferenceNumberFromAnaf) {
    form("IMP");
    const std::string anaf = company(0) + "/ANAF.DAT";
    put(20, "77");
    // Missing: told on row 24, box 20 as it was.
    std::string row;
    run({}, [&] { ed.KEY(20, 3); }, [&] { row = screenRow(24); });
    EXPECT_NE(row.find(gr("ANAF.DAT")), std::string::npos) << row;
    EXPECT_EQ(text(20), "77");
    TESTS::writeFile(anaf, "ABC\r\n");
    run({}, [&] { ed.KEY(20, 3); });
    EXPECT_EQ(text(20), "77");
    TESTS::writeFile(anaf, "9e99\r\n");
    run({}, [&] { ed.KEY(20, 3); });
    EXPECT_EQ(text(20), "77");
    TESTS::writeFile(anaf, "  41.6\r\n");
    ed.KEY(20, 3);
    EXPECT_EQ(text(20), "43");
    TESTS::writeFile(anaf, "1234\r\n999\r\n");
    ed.KEY(20, 3);
    EXPECT_EQ(text(20), "1235");
}

TEST_F(Rules, AgencyTaxNumberAndPackagesTotal) {
    form("IMP");
    put(34, "");
    ed.KEY(34, 3);
    EXPECT_EQ(text(34), "099999999");
    put(69, "12");
    ed.KEY(19, 3);
    EXPECT_EQ(text(19), "12");
}

TEST_F(Rules, TextBlocksCopyCellsWithTheirColours) {
    // A text block of the table: cells with their own colours.
    std::vector<uint8_t> img(KVDI::F_SFR.size);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 40; ++c) {
            img[size_t(r * 80 + c * 2)] = uint8_t('A' + r);
            img[size_t(r * 80 + c * 2 + 1)] = uint8_t(0x1E + r);
        }
    TESTS::writeFile(company(0) + "/SFR.DAT", std::string(img.begin(), img.end()));
    struct T {
        const char* kind;
        int box, first, rows;
    };
    for (const T& t : std::vector<T>{{"IMP", 13, 12, 3}, {"IMP", 35, 35, 4}, {"MTF", 184, 182, 5}, {"IMP", 203, 203, 1}}) {
        SCOPED_TRACE(t.box);
        form(t.kind);
        tab(t.box, downs(0));
        for (int r = 0; r < t.rows; ++r) {
            const int b = t.first + r;
            EXPECT_EQ(box(b).substr(0, 40), std::string(40, char('A' + r))) << "box " << b;
            EXPECT_EQ(BOD::DIA.CAT(BOD::GV.ROW(b), BOD::GV.COL(b)), uint8_t(0x1E + r));
        }
    }
    // Export and transit keep their party in boxes 12..14: no block there.
    form("EXP");
    tab(13, {});
    EXPECT_EQ(text(13), "");
}

}  // namespace

namespace {

// Worked by hand: one value row of 1000.00 EUR; line 1 a 10% duty on the statistical value
// (base kind 2): 100.00; line 2 a 24% VAT on the value for VAT (base kind 1) 1000 + 100 = 1100:
// 264.00; duties row 100.00, payable 364.00, value for VAT 1100.00, euro total 1000.00.
TEST_F(Rules, TaxKindBoxesComputeTheTaxLines) {
    const std::string taxFile = TESTS::exists(company(0) + "/TAX.dat") ? "/TAX.dat" : "/TAX.DAT";
    TESTS::writeFile(company(0) + taxFile, INSTALL::codeTableImage("TAX", {"A00|ΔΑΣΜΟΣ|10|2", "B00|Φ.Π.Α. 24%|24|1"}));
    form("IMP");
    put(145, "EUR");
    put(146, "1000/1");
    ed.KEY(146, 2);
    EXPECT_EQ(text(148), "   1000.00");
    EXPECT_EQ(text(100), "   1000.00");

    // The tax picker takes a row with Enter and its rate with a second Enter.
    tab(101, downs(0) + downs(0));
    EXPECT_EQ(text(101), "A00");
    EXPECT_EQ(BOD::AY.EIF[1], 2);
    tab(106, downs(1) + downs(0));
    EXPECT_EQ(text(106), "B00");
    EXPECT_EQ(BOD::AY.EIF[2], 1);
    struct B {
        int box;
        const char* text;
    };
    for (const B& b : std::vector<B>{{102, "   1000.00"}, {104, "    100.00"}, {107, "   1100.00"}, {109, "    264.00"},
                                     {176, "    100.00"}, {141, "    364.00"}, {177, "   1100.00"}, {179, "   1000.00"}})
        EXPECT_EQ(text(b.box), b.text) << "box " << b.box;
    EXPECT_EQ(BOD::DIA.CCH(BOD::GV.ROW(103), BOD::GV.COL(103) + 7), '%');

    // The duty's kind box emptied to blanks: its line, its kind and its "%" go; the totals follow
    // (the VAT line reads the value for VAT of the computation before, so a second one settles it).
    put(101, "   ");
    ed.KEY(101, 2);
    for (int b = 101; b <= 105; ++b) EXPECT_EQ(text(b), "") << "box " << b;
    EXPECT_EQ(BOD::AY.EIF[1], 0);
    EXPECT_EQ(BOD::DIA.CCH(BOD::GV.ROW(103), BOD::GV.COL(103) + 7), ' ');
    EXPECT_EQ(text(176), "");
    ed.KEY(109, 1);
    EXPECT_EQ(text(109), "    240.00");
    EXPECT_EQ(text(141), "    240.00");
    EXPECT_EQ(text(177), "   1000.00");
    // Esc in the tax picker writes nothing.
    const std::string before = box(106);
    tab(106, {PLAT::keyChar(ESC)});
    EXPECT_EQ(box(106), before);
}

}  // namespace

namespace {

// A goods entry picked in box 79 (Enter on the entry, Enter on its first tax line): the category of
// its kind into box 142, its descriptions by kind, its code, and for "IMP" its taxes on the lines.
// Worked by hand: value 1000.00; a 10% duty on the statistical value (kind 2): 100.00; a 24% VAT
// on the value plus the duty (kind 8): 1100 x 24% = 264.00; duties row 364.00, payable 364.00.
TEST_F(Rules, GoodsPickWritesDescriptionsCodeAndTaxes) {
    const std::string taxFile = TESTS::exists(company(0) + "/TAX.dat") ? "/TAX.dat" : "/TAX.DAT";
    TESTS::writeFile(company(0) + taxFile, INSTALL::codeTableImage("TAX", {"A00|ΔΑΣΜΟΣ|0|2", "B00|Φ.Π.Α.|0|8"}));
    const std::string code = "87032319 90 0000 0000 2401";
    struct G {
        const char* kind;
        uint8_t EE;
        int lines;            // description boxes written from 72
        const char* prefix;   // characters 1..3 of box 142
        bool taxes;
    };
    for (const G& g : std::vector<G>{{"IMP", 0, 6, "   ", true},
                                     {"EXP", 3, 6, "ΠΕΤ", false},
                                     {"IMP", 1, 2, "ΑΥΤ", true},
                                     {"MTF", 2, 3, "ΜΗΧ", true}}) {
        SCOPED_TRACE(std::string(g.kind) + " kind " + std::to_string(g.EE));
        std::string emp(KVDI::F_EMP.size, '\0');
        for (size_t n = 1; n <= KVDI::PEMP_N; ++n)
            KVDI::REC{n == 1 ? code : "", uint16_t(n - 1)}.encode(reinterpret_cast<uint8_t*>(emp.data()) + (n - 1) * KVDI::REC::SIZE);
        TESTS::writeFile(company(0) + "/EMP.DAT", emp);
        KVDI::REK d = KVDI::REK::blank();
        for (int i = 1; i <= 6; ++i) d.RI[size_t(i)] = gr("ΠΕΡΙΓΡΑΦΗ ") + std::to_string(i);
        d.EE = g.EE;
        d.TR[1] = "L1";
        d.KF[1][1] = 1;
        d.KF[1][2] = 2;
        d.PC[1] = "10";
        d.PC[2] = "24";
        std::string pemp(KVDI::PEMP_N * KVDI::REK::SIZE, '\0');
        for (size_t i = 0; i < KVDI::PEMP_N; ++i) KVDI::REK::blank().encode(reinterpret_cast<uint8_t*>(pemp.data()) + i * KVDI::REK::SIZE);
        d.encode(reinterpret_cast<uint8_t*>(pemp.data()));
        TESTS::writeFile(company(0) + "/PEMP.DAT", pemp);
        UMAS::PTAX.fill(0);

        form(g.kind);
        put(145, "EUR");
        put(146, "1000/1");
        ed.KEY(146, 2);
        // Goods of kind 1 or 2 open the vehicles editor: Esc, and Esc for its extra data.
        std::vector<PLAT::Event> keys = {PLAT::keyChar(ENTER), PLAT::keyChar(ENTER)};
        if (g.EE == 1 || g.EE == 2) keys.insert(keys.end(), {PLAT::keyChar(ESC), PLAT::keyChar(ESC)});
        tab(79, keys);
        EXPECT_EQ(text(79), code);
        EXPECT_EQ(box(142).substr(0, 7), gr(g.prefix) + " " + g.kind);
        for (int b = 72; b <= 77; ++b)
            EXPECT_EQ(text(b), b - 71 <= g.lines ? gr("ΠΕΡΙΓΡΑΦΗ ") + std::to_string(b - 71) : "") << "box " << b;
        if (g.taxes) {
            EXPECT_EQ(text(101), "A00");
            EXPECT_EQ(text(104), "    100.00");
            EXPECT_EQ(text(106), "B00");
            EXPECT_EQ(text(107), "   1100.00");
            EXPECT_EQ(text(109), "    264.00");
            EXPECT_EQ(text(176), "    364.00");
            EXPECT_EQ(text(141), "    364.00");
        } else {
            EXPECT_EQ(text(101), "");
            EXPECT_EQ(text(141), "");
        }
    }
}

}  // namespace

namespace {

// Box 85 from the official list "METRA": the chosen entry's code; Esc and a missing list write nothing.
TEST_F(Rules, OfficialListMetra) {
    form("IMP");
    put(85, "OLD");
    run({}, [&] { ed.KEY(85, 3); });  // no list installed: told, nothing written
    EXPECT_EQ(text(85), "OLD");
    INSTALL::writeCp1253Text(work->file("METRA.TXT"),
                             {"0001", "100", "ΔΑΣΜΟΣ ΤΡΙΤΩΝ ΧΩΡΩΝ", "", "01/01/2010", "0002", "103", "ΔΑΣΜΟΣ ΑΝΑΣΤΟΛΗ", "",
                              "01/01/2010"});
    tab(85, {PLAT::keyChar(ESC)});
    EXPECT_EQ(text(85), "OLD");
    tab(85, downs(1));
    EXPECT_EQ(text(85), "103");
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

}  // namespace
