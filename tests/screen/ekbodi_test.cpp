// The alternate print view: its derived boxes by kind, box 280 over the sheets, the view's page
// keys, the pre-printed print and "DIA2.XML" with the script's hand-off.
#include "declarations/store_form.h"
#include "documents/ekbodi.h"
#include "print/prns.h"
#include "screen/ekextra_fixture.h"

namespace {

using namespace SIDETEST;

class View : public Side {
protected:
    void SetUp() override {
        Side::SetUp();
        UMAS::PAREDE[13].TIMI = 0;
        UMAS::TOTALKOLA = 12;
        put(16, "1");
        put(65, gr("ΓΕΡΜΑΝΙΑ"));
        put(66, gr("ΚΙΒΩΤΙΑ"));
        put(68, "MARKS");
        put(69, "1-12");
        put(70, "12");
        put(71, "CT");
        put(72, gr("ΑΝΤΑΛΛΑΚΤΙΚΑ & ΕΞΑΡΤΗΜΑΤΑ"));
        put(73, "<A4>");
        put(79, "87089997.00");
        put(82, "1200");
        put(86, "1150");
        put(88, "N830:A/B/C");
        put(100, "  15000.00");
        put(141, "    321.50");
        put(207, gr("ΠΕΙΡΑΙΑΣ"));
    }
    void keepScripts() {
        PRNS::PAR_EKT pe;
        pe.PORT = 7;
        pe.EMUL = 1;
        PRNS::writeParEkt(UMAS::PE_DIAS, pe);
        TESTS::writeFile(work->file("prntxt.sh"),
                         "for f in kvx.txt KVX.TXT; do [ -f $f ] && cp $f view.prn; done\nexit 0\n");
        TESTS::writeFile(work->file("dia_jar2.sh"), "echo \"$@\" > args.txt\ncp DIA2.XML copy.xml\nexit 0\n");
    }
    std::string golden(const std::string& name, const std::string& got) {
        const std::string g = std::string(KORVEX_SOURCE_DIR) + "/tests/golden/" + name;
        if (getenv("KORVEX_UPDATE_GOLDEN")) TESTS::writeFile(g, got);
        return TESTS::readFile(g);
    }
};

TEST_F(View, Box208FromBox88) {
    // After the first ":" (else the first "/"), cut before the second "/" of what remains.
    const std::pair<const char*, const char*> cases[] = {
        {"N830:A/B/C", "A/B"}, {"N830:A/B", "A/B"},   {"N830:A", "A"},    {"X/Y", "Y"},
        {"X/Y/Z/W", "Y/Z"},    {"N:1/2/3:4", "1/2"},  {"PLAIN", "PLAIN"}, {"", ""}};
    for (const auto& [in, out] : cases) {
        put(88, in);
        EKBODI::DERIVE("IMP");
        EXPECT_EQ(UMAS::trim(box(208)), out) << in;
        EXPECT_NE(EKBODI::DIA2XML("IMP").find(std::string("<field208>") + out + "</field208>"), std::string::npos)
            << in;
    }
}

TEST_F(View, ImportBoxes) {
    EKBODI::DERIVE("IMP");
    EXPECT_EQ(UMAS::trim(box(215)), gr("ΓΕΡΜΑΝΙΑ"));
    EXPECT_EQ(box(211).substr(0, 5), "   12");
    EXPECT_EQ(box(212).substr(0, 8), "      12");
    // Names and the mass text right-justified in 39 characters.
    EXPECT_EQ(box(254).substr(0, 39), gr("ΚΙΒΩΤΙΑ") + UMAS::RIJU(gr("ΧΜ: ") + "1200", 32));
    EXPECT_EQ(box(255).substr(0, 39), "MARKS 1-12" + UMAS::RIJU(gr("ΧΚ: ") + "1150", 29));
    EXPECT_EQ(UMAS::trim(box(256)), gr("ΑΝΤΑΛΛΑΚΤΙΚΑ & ΕΞΑΡΤΗΜΑΤΑ"));
    EXPECT_EQ(UMAS::trim(box(257)), "<A4>");
    EXPECT_EQ(UMAS::trim(box(262)), gr("ΚΩΔ.ΤΑΡΙΚ: ") + "87089997.00");
    EXPECT_EQ(UMAS::trim(box(220)), gr("ΠΕΙΡΑΙΑΣ"));
    EXPECT_NE(box(268).find("15000.00"), std::string::npos);
    EXPECT_EQ(UMAS::trim(box(270)), gr("ΠΕΙΡΑΙΑΣ"));
    // One form: the main page's total, here box 141.
    EXPECT_EQ(UMAS::trim(box(280)), "321.50");
    // Switch 13 adds the package figures to the names; a long name keeps one blank.
    UMAS::PAREDE[13].TIMI = 1;
    put(66, std::string(45, 'W'));
    EKBODI::DERIVE("IMP");
    EXPECT_EQ(box(254).substr(0, 36), std::string(30, 'W') + " 12 CT");
    // A hand correction of a derived box is lost on the next entry.
    put(262, "X");
    EKBODI::DERIVE("IMP");
    EXPECT_NE(box(262), UMAS::LEJU("X", BOD::GV.LEN(262)));
}

TEST_F(View, ExportAndTransitKeepCorrections) {
    BOD::SETFORM("EXP");
    form("EXP");
    put(207, gr("ΠΕΙΡΑΙΑΣ"));
    put(79, "1234");
    put(100, "99.00");
    EKBODI::DERIVE("EXP");
    EXPECT_EQ(UMAS::trim(box(268)), gr("ΠΕΙΡΑΙΑΣ"));
    EXPECT_EQ(UMAS::trim(box(269)), gr("Ο ΕΛΕΓΚΤΗΣ"));
    EXPECT_EQ(UMAS::trim(box(263)), gr("ΚΣΟ:") + "1234");
    EXPECT_EQ(UMAS::trim(box(265)), gr("Αξίας EUR: ") + "99.00");
    put(268, "HAND");
    put(269, "MADE");
    EKBODI::DERIVE("EXP");
    EXPECT_EQ(UMAS::trim(box(268)), "HAND");
    EXPECT_EQ(UMAS::trim(box(269)), "MADE");
    form("MTF");
    put(49, "EUR");
    put(55, "100");
    EKBODI::DERIVE("MTF");
    EXPECT_EQ(UMAS::trim(box(263)).substr(0, 6), gr("ΑΞΙΑΣ "));
    put(263, "KEEP");
    EKBODI::DERIVE("MTF");
    EXPECT_EQ(UMAS::trim(box(263)), "KEEP");
}

TEST_F(View, Box280OverTheSheets) {
    // Three forms: sheets 2 and 3 hold items 2..4 and 5..7; only items 2 and 5 are stored.
    put(16, "3");
    put(141, "    100.00");
    for (const char* item : {"0202", "0305"}) {
        for (int n = 1; n <= BOD::SHEET_BOXES; ++n)
            if (BOD::GB.LEN(n) > 0) BOD::BOS(BOD::BIS, BOD::GB, n, "");
        BOD::BOS(BOD::BIS, BOD::GB, 91, "     20.25");
        BOD::BM = UMAS::LEJU(std::string("555") + item, 14);
        BOD::BOB = false;
        ASSERT_TRUE(EKDO::KATB().stored);
    }
    EKBODI::DERIVE("IMP");
    EXPECT_EQ(box(280).substr(0, 10), "    140.50");
}

TEST_F(View, Dia2Xml) {
    put(230, "");
    put(281, "A & B < C");
    EKBODI::DERIVE("IMP");
    const std::string x = EKBODI::DIA2XML("IMP");
    EXPECT_EQ(x.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(x.find("<field230></field230>\r\n"), std::string::npos);
    EXPECT_NE(x.find("<field281>A &amp; B &lt; C</field281>"), std::string::npos);
    EXPECT_NE(x.find("<field215>\xCE\x93\xCE\x95"), std::string::npos);  // "ΓΕ" in UTF-8
    size_t lines = 0;
    for (char c : x) lines += c == '\n';
    EXPECT_EQ(lines, 85u);
    EXPECT_EQ(x, golden("dia2_imp.xml", x));
    form("DFK");
    const std::string d = EKBODI::DIA2XML("DFK");
    lines = 0;
    for (char c : d) lines += c == '\n';
    EXPECT_EQ(lines, 65u);
    EXPECT_EQ(d.find("<field270>"), std::string::npos);
}

TEST_F(View, PrintsFromTheView) {
    keepScripts();
    // Shift-F1, yes; then Alt-F1, yes; then Esc.
    run(ext(0x54) + typed("N") + ext(0x68) + typed("N") + esc(), [&] { EKBODI::BODI(0, "IMP"); });
    const std::string p = TESTS::readFile(work->file("view.prn"));
    ASSERT_FALSE(p.empty());
    EXPECT_EQ(p, golden("view_imp.prn", p));
    EXPECT_EQ(TESTS::readFile(work->file("args.txt")), "temp.txt\n");
    EXPECT_EQ(TESTS::readFile(work->file("copy.xml")), EKBODI::DIA2XML("IMP"));
    EXPECT_EQ(UMAS::trim(box(208)), "A/B");
}

TEST_F(View, PrintQuestionsSayWhatIsAsked) {
    keepScripts();
    struct Case {
        const char* kind;
        uint8_t key;  // Shift-F1 or Alt-F1
        const char* question;
    };
    const Case cases[] = {{"IMP", 0x54, "■ ΕΚΤΥΠΩΣΗ (Ν/Ο) ?"},
                          {"IMP", 0x68, "■ ΕΚΤΥΠΩΣΗ A4 (Ν/Ο) ?"},
                          {"DFK", 0x54, "■ ΕΚΤΥΠΩΣΗ Δ.Ε.Φ.Κ. (Ν/Ο) ?"},
                          {"DFK", 0x68, "■ ΕΚΤΥΠΩΣΗ A4 Δ.Ε.Φ.Κ. (Ν/Ο) ?"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + std::to_string(c.key));
        form(c.kind);
        std::string row;
        // the question, then no
        run(ext(c.key), [&] { EKBODI::BODI(0, c.kind); }, [&] {
            row = screen(1, 23, 80);
            con->ch('O');
        });
        std::string words;  // the row's words, one blank apart
        for (char ch : UMAS::trim(row))
            if (ch != ' ' || words.back() != ' ') words += ch;
        EXPECT_EQ(words, gr(c.question));
        EXPECT_FALSE(TESTS::exists(work->file("view.prn")));
        EXPECT_FALSE(TESTS::exists(work->file("args.txt")));
    }
}

TEST_F(View, LeavingRestoresTheEditorsScreen) {
    for (uint8_t leave : {uint8_t(0x41), uint8_t(0)}) {  // F7, Esc
        SCOPED_TRACE(int(leave));
        for (int y = 1; y <= 23; ++y) SCR::PRINT(1, y, "EDITOR ROW " + std::to_string(y));
        run(leave ? ext(leave) : esc(), [&] { EKBODI::BODI(0, "IMP"); });
        for (int y : {1, 12, 23}) EXPECT_EQ(screen(1, y, 14), UMAS::LEJU("EDITOR ROW " + std::to_string(y), 14)) << y;
    }
}

TEST_F(View, MissingScriptIsTold) {
    bool told = false;
    run(ext(0x68) + typed("N"), [&] { EKBODI::BODI(0, "IMP"); },
        [&] { told = screen(1, 23, 80).find("dia_jar2.sh") != std::string::npos; });
    EXPECT_TRUE(told);
    EXPECT_TRUE(TESTS::exists(work->file("DIA2.XML")));
}

TEST_F(View, PageDownAndBack) {
    // Down twice, PgDn, PgUp: the cursor is back on the box it left.
    int seen = 0;
    run(enter(2) + ext(0x51) + ext(0x49), [&] { EKBODI::BODI(0, "IMP"); },
        [&] { seen = std::stoi(UMAS::trim(screen(77, 24, 3))); });
    EXPECT_EQ(seen, 210);
}

}  // namespace
