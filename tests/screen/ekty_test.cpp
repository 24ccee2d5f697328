// The declaration print on the pre-printed form: golden printouts of every kind from declarations
// stored and loaded through the store, the per-box rewrites as tables of cases, the question, the
// endorsement lines and the print counter.
#include "screen/documents_fixture.h"

#include "documents/gm0.h"

using namespace DOCTEST;

namespace {

std::string squeeze(const std::string& s) {
    std::string out;
    for (char ch : s)
        if (ch != ' ') out += ch;
    return out;
}
std::string squeeze(const char* utf8) { return squeeze(gr(utf8)); }

// The bytes the Epson driver sends for mode m.
std::string modeBytes(int m) {
    PRNS::PFILE F;
    F.assignFile("mode.bin");
    PRNS::PRNEPS(F, uint8_t(m));
    F.close();
    return TESTS::readFile("mode.bin");
}

class DeclPrint : public Docs {
protected:
    void SetUp() override {
        Docs::SetUp();
        toPort(UMAS::PE_DIAS);
    }
    // Every box of the kind's layout labelled with its number ("B12", or the digits alone in a box
    // that keeps numbers), the dates of boxes 8, 9, 10 and 190 on 15 March 2024.
    std::vector<std::pair<int, std::string>> labelled(const std::string& kind) {
        form(kind);
        std::vector<std::pair<int, std::string>> boxes;
        auto add = [&](int b) {
            const int t = BOD::GV.TYP(b);
            const bool number = t == BOD::TY_NUM || t == BOD::TY_ZNUM || t == BOD::TY_SIGNED;
            boxes.push_back({b, (number ? "" : "B") + std::to_string(b)});
        };
        if (kind == "DFK")
            for (const auto& r : GMDEFK::PVDEFK) add(r.box);
        else
            for (const auto& r : GM0::PV) add(r.box);
        for (int b : {8, 9, 10, 190}) boxes.push_back({b, "150324"});
        boxes.push_back({97, "B97"});
        boxes.push_back({100, "100.00"});
        return boxes;
    }
    // Shift-F1 of the editor with the keys typed before the answer; the answer last.
    void print(const std::string& kind, const std::string& before, char answer) {
        run([&] { EK0::EKTY(kind, false); }, {[&] {
                type(before);
                con->ch(uint8_t(answer));
            }});
    }
    void print(const std::string& kind, char answer = 'N') {
        run([&] { EK0::EKTY(kind, false); }, {[&] {
                EXPECT_NE(screenRow(23).find(gr("(Ν/Ο) ?")), std::string::npos) << screenRow(23);
                con->ch(uint8_t(answer));
            }});
    }
};

TEST_F(DeclPrint, ImportGolden) {
    UMAS::PAREDE[5].TIMI = 0;
    UMAS::PAREDE[6].TIMI = 2;
    BOD::MOT goods;
    goods.EIF[1] = 1;  // a rate in percent
    goods.EIF[2] = 3;  // a rate of another kind
    goods.DAJ = "5.00";
    stored("IMP", "1001", labelled("IMP"), goods);
    print("IMP");
    const std::string out = port();
    golden("decl_imp.prn", out);
    EXPECT_NE(out.find("15/03/24"), std::string::npos);
    EXPECT_NE(out.find(modeBytes(8)), std::string::npos) << "emphasised with switch 6";
    EXPECT_NE(out.find(modeBytes(9)), std::string::npos);
    EXPECT_NE(out.find("+       5.00"), std::string::npos) << "the additional value underlined";
    EXPECT_NE(out.find("    105.00"), std::string::npos) << "box 100 with the additional value";
    EXPECT_EQ(count(), 42);
}

TEST_F(DeclPrint, ExportWithEndorsementGolden) {
    for (int s : {3, 4, 19}) UMAS::PAREDE[size_t(s)].TIMI = 1;
    BOD::ON = gr("ΔΕΥΤΕΡΗ ΓΡΑΜΜΗ ΟΝΟΜΑΤΟΣ");
    BOD::EP = gr("ΕΜΠΟΡΟΣ");
    stored("EXP", "2002", labelled("EXP"));
    BOD::ON = gr("ΔΕΥΤΕΡΗ ΓΡΑΜΜΗ ΟΝΟΜΑΤΟΣ");  // the customer fields as the editor holds them
    BOD::EP = gr("ΕΜΠΟΡΟΣ");
    run([&] { EK0::EKTY("EXP", false); },
        {[&] {
             EXPECT_NE(screenRow(21).find(gr("ΠΡΟΣΟΧΗ")), std::string::npos) << "mask 42";
             type("ΠΡΩΤΗ ΓΡΑΜΜΗ");
             enter();
             type("ΔΕΥΤΕΡΗ");
             con->key(SC::UP);  // back to the first line
         },
         [&] {
             type("X");
             enter(2);
         },
         [&] { con->ch('N'); }});
    EXPECT_EQ(UMAS::KALOS1, gr("XΡΩΤΗ ΓΡΑΜΜΗ")) << "typing overwrites from the start";
    EXPECT_EQ(UMAS::KALOS2, gr("ΔΕΥΤΕΡΗ"));
    const std::string out = port();
    golden("decl_exp.prn", out);
    EXPECT_NE(out.find(gr("ΚΑΛΩΣ ")), std::string::npos);
    EXPECT_NE(out.find(gr("XΡΩΤΗ ΓΡΑΜΜΗ")), std::string::npos);
    EXPECT_NE(out.find(gr("ΔΕΥΤΕΡΗ ΓΡΑΜΜΗ ΟΝΟΜΑΤΟΣ")), std::string::npos) << "switch 19: the customer lines";
    EXPECT_NE(out.find(gr("ΕΜΠΟΡΟΣ")), std::string::npos);
}

TEST_F(DeclPrint, TransitGolden) {
    UMAS::PAREDE[3].TIMI = 1;
    auto boxes = labelled("MTF");
    boxes.push_back({5, "T1"});
    stored("MTF", "3003", boxes);
    run([&] { EK0::EKTY("MTF", false); }, {[&] {
            EXPECT_NE(screenRow(23).find(gr(" ΓΙΝΕΙ ΕΚΤΥΠΩΣΗ  Τ1  ")), std::string::npos) << screenRow(23);
            con->ch('N');
        }});
    const std::string out = port();
    golden("decl_mtf.prn", out);
    EXPECT_NE(out.find(gr("Α2 ΘΕΩΡΕΙΤΑΙ ΙΚΑΝΟΠΟΙΗΤΙΚΟ")), std::string::npos);
    EXPECT_EQ(out.find("15/03/24"), out.rfind("15/03/24")) << "box 8 carries box 5's text, only box 9 the date";
    EXPECT_NE(out.find("T1"), std::string::npos);
}

TEST_F(DeclPrint, ExciseGolden) {
    BOD::MOT goods;
    goods.DAJ = "5.00";
    auto boxes = labelled("DFK");
    boxes.push_back({182, "ΧΡΕΩΣΗ"});
    stored("DFK", "4004", boxes, goods);
    run([&] { EK0::EKTY("DFK", false); }, {[&] {
            EXPECT_NE(screenRow(23).find(gr("Δ.Ε.Φ.Κ. ")), std::string::npos) << screenRow(23);
            con->ch('N');
        }});
    const std::string out = port();
    golden("decl_dfk.prn", out);
    EXPECT_EQ(out.find("+       5.00"), std::string::npos) << "no additional value lines on the excise form";
    EXPECT_EQ(count(), 42);
}

TEST_F(DeclPrint, TheQuestionSaysWhatIsAsked) {
    UMAS::PAREDE[4].TIMI = 0;  // no endorsement lines first
    const std::pair<const char*, const char*> cases[] = {{"IMP", "■ ΕΚΤΥΠΩΣΗ (Ν/Ο) ?"},
                                                         {"EXP", "■ ΕΚΤΥΠΩΣΗ (Ν/Ο) ?"},
                                                         {"MET", "■ ΕΚΤΥΠΩΣΗ (Ν/Ο) ?"},
                                                         {"DFK", "■ ΕΚΤΥΠΩΣΗ Δ.Ε.Φ.Κ. (Ν/Ο) ?"},
                                                         {"MTF", "■ ΓΙΝΕΙ ΕΚΤΥΠΩΣΗ Τ1 (Ν/Ο) ?"}};
    for (const auto& [kind, question] : cases) {
        SCOPED_TRACE(kind);
        form(kind);
        std::string words;  // the words of row 23, one blank apart
        run([&] { EK0::EKTY(kind, false); }, {[&] {
                for (char ch : UMAS::trim(screenRow(23)))
                    if (ch != ' ' || words.back() != ' ') words += ch;
                con->ch('O');
            }});
        EXPECT_EQ(words, gr(question));
    }
    EXPECT_TRUE(port().empty());
}

TEST_F(DeclPrint, NoPrintsNothingAndLeavesTheCounter) {
    stored("IMP", "1001", labelled("IMP"));
    print("IMP", 'O');
    EXPECT_TRUE(port().empty());
    EXPECT_EQ(count(), 41);
}

TEST_F(DeclPrint, AMissingCounterLeavesThePrintoutAndIsTold) {
    stored("IMP", "1001", labelled("IMP"));
    std::remove(counterFile().c_str());
    run([&] { EK0::EKTY("IMP", false); }, {[&] { con->ch('N'); },
                                          [&] {
                                              EXPECT_NE(screenRow(23).find(gr("HDD.DAT")), std::string::npos)
                                                  << screenRow(23);
                                              con->ch(ENTER);
                                          }});
    EXPECT_FALSE(port().empty());
    EXPECT_FALSE(TESTS::exists(counterFile()));
}

TEST_F(DeclPrint, AdditionalValueFromOneCent) {
    for (const auto& [daj, extra] : std::vector<std::pair<std::string, bool>>{{"0.005", false}, {"0.01", true}, {"", false}}) {
        SCOPED_TRACE(daj);
        clearPort();
        BOD::MOT goods;
        goods.DAJ = daj;
        stored("IMP", "1001", labelled("IMP"), goods);
        print("IMP");
        const std::string out = port();
        EXPECT_EQ(out.find("+ ") != std::string::npos, extra);
        EXPECT_EQ(out.find(esc("A\x08")) != std::string::npos, extra) << "8/72 inch before the extra lines";
    }
}

// ---- The per-box rewrites ---------------------------------------------------------------------------

TEST_F(DeclPrint, CountryTextByKindSwitchAndSwitch20) {
    struct Case {
        const char* kind;
        int sw5;
        bool hlek4;
        const char *b11, *b21, *b34, *b35;
    };
    // box 11 "EL1", box 21 "EL2", box 34 "099", box 35 "ΝΑΜΕ" (its marker [2]: box 34 is not in 11/21)
    const Case cases[] = {
        {"EXP", 0, false, "EL1 GR", "EL2", "099 GR", "ΝΑΜΕ[2]"},
        {"IMP", 0, false, "EL1", "EL2 GR", "099 GR", "ΝΑΜΕ[2]"},
        {"MET", 0, false, "EL1", "EL2 GR", "099 GR", "ΝΑΜΕ[2]"},
        {"MTF", 0, false, "EL1", "EL2", "099 GR", "ΝΑΜΕ[2]"},
        {"IMP", 2, false, "EL1", "GR EL2", "GR 099", "[2]ΝΑΜΕ"},
        {"EXP", 2, false, "GR EL1", "EL2", "GR 099", "[2]ΝΑΜΕ"},
        {"IMP", 3, false, "EL1", "EL2", "GR 099", "[2]ΝΑΜΕ"},
        {"IMP", 4, false, "EL1", "EL2", "GR 099", "ΝΑΜΕ"},
        {"IMP", 1, false, "EL1", "EL2", "099", "ΝΑΜΕ"},
        {"IMP", 0, true, "EL1", "EL2", "099 GR", "ΝΑΜΕ[2]"},
        {"EXP", 2, true, "EL1", "EL2", "GR 099", "[2]ΝΑΜΕ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " switch 5 = " + std::to_string(c.sw5) + (c.hlek4 ? " HLEK4" : ""));
        form(c.kind);
        UMAS::PAREDE[5].TIMI = uint8_t(c.sw5);
        UMAS::HLEK4 = c.hlek4;
        put(11, "EL1");
        put(21, "EL2");
        put(34, "099");
        put(35, "ΝΑΜΕ");
        // the country text stands beside the box's whole text (its blanks kept)
        EXPECT_EQ(squeeze(EK0::EKTYTEXT(c.kind, 11)), squeeze(c.b11));
        EXPECT_EQ(squeeze(EK0::EKTYTEXT(c.kind, 21)), squeeze(c.b21));
        EXPECT_EQ(squeeze(EK0::EKTYTEXT(c.kind, 34)), squeeze(c.b34));
        EXPECT_EQ(EK0::EKTYTEXT(c.kind, 34).size(), size_t(BOD::GV.LEN(34)) + (c.sw5 == 1 ? 0 : 3));
        const std::string b35 = EK0::EKTYTEXT(c.kind, 35);
        EXPECT_EQ(b35.size(), c.sw5 == 1 ? size_t(BOD::GV.LEN(35)) : size_t(c.sw5 == 4 ? 27 : 30));
        EXPECT_EQ(squeeze(b35), squeeze(c.b35));
    }
    UMAS::HLEK4 = false;
}

TEST_F(DeclPrint, Box35MarkerAndCentring) {
    form("IMP");
    UMAS::PAREDE[5].TIMI = 0;
    put(34, "099999999");
    put(21, "EL099999999");
    put(35, "  ABC");
    const std::string full34 = box(34);
    const std::string t = EK0::EKTYTEXT("IMP", 35);
    // the marker is [1] only when box 34, with its blanks, stands in box 21
    const bool inside = box(21).find(full34) != std::string::npos;
    EXPECT_EQ(t, UMAS::CENTE("ABC", 27) + (inside ? "[1]" : "[2]"));
    put(21, full34);
    EXPECT_EQ(EK0::EKTYTEXT("IMP", 35), UMAS::CENTE("ABC", 27) + "[1]");
}

TEST_F(DeclPrint, DatesTakeTheirSlashes) {
    struct Case {
        const char* kind;
        int box;
        const char *text, *printed;
    };
    const Case cases[] = {
        {"IMP", 8, "150324", "15/03/24"}, {"IMP", 9, "150324", "15/03/24"}, {"IMP", 8, "", ""},
        {"IMP", 8, " 50324", " 50324"},   {"IMP", 10, "150324", "150324"},  {"EXP", 10, "150324", "15/03/24"},
        {"EXP", 190, "150324", "15/03/24"}, {"IMP", 190, "150324", "150324"}, {"EXP", 190, "  0324", "  0324"},
        {"MTF", 8, "150324", "T1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " box " + std::to_string(c.box) + " '" + c.text + "'");
        form(c.kind);
        put(5, "T1");
        put(c.box, c.text);
        EXPECT_EQ(trimRight(EK0::EKTYTEXT(c.kind, c.box)), c.printed);
    }
    form("MTF");
    put(5, "T1");
    EXPECT_EQ(EK0::EKTYTEXT("MTF", 5), "") << "box 5 prints nothing on a transit";
}

TEST_F(DeclPrint, RateSignsByTaxKind) {
    form("IMP");
    for (int i = 1; i <= 8; ++i) BOD::AY.EIF[size_t(i)] = uint8_t(i);
    for (int i = 1; i <= 8; ++i) {
        const int b = 103 + 5 * (i - 1);
        put(b, "24.00");
        const std::string t = EK0::EKTYTEXT("IMP", b);
        const bool percent = i == 1 || i == 2 || (i >= 5 && i <= 8);
        EXPECT_EQ(t.back(), percent ? '%' : ' ') << "kind " << i;
        EXPECT_EQ(t.size(), size_t(BOD::GV.LEN(b)) + 1);
    }
    put(96, "B96");
    put(97, "B97");
    EXPECT_EQ(trimRight(EK0::EKTYTEXT("IMP", 96)), "    " + BOD::SOB(BOD::DIA, BOD::GV, 96) + "     B97");
    EXPECT_EQ(trimRight(EK0::EKTYTEXT("EXP", 96)), "B96");
}

}  // namespace
