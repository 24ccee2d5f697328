// The invoice parameter editors (item headings, reasons, declaration-to-invoice map, invoice print
// layout) and the form parameter editors (field maps, document print layouts) on the headless console.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "config/params.h"
#include "helpers/fixture.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace SC = PLAT::SC;
using PLAT::gr;

namespace {

constexpr uint8_t ENTER = 13, ESC = 27, CTRL_Y = 25;

class Partim : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
        PARAMS::PARTIM1 = {};
        PARAMS::DEP = {};
        PARAMS::PARTIM3 = {};
    }
    std::string dat(const std::string& name) const { return company(0) + "/" + name + ".dat"; }
    std::string read(const std::string& name) const { return TESTS::readFile(dat(name)); }
    void write(const std::string& name, const std::string& bytes) const { TESTS::writeFile(dat(name), bytes); }

    // Runs an editor; at the first wait with the script used up, snap() looks at the screen and
    // the editor is left with Esc (twice when a row is being edited).
    void run(const std::function<void()>& editor, const std::function<void()>& snap = {}, int escapes = 1) {
        bool done = false;
        con->onIdle = [&] {
            if (done) return;
            done = true;
            if (snap) snap();
            for (int i = 0; i < escapes; ++i) con->ch(ESC);
        };
        try {
            editor();
        } catch (const PLAT::ScriptEnd&) {
            ADD_FAILURE() << "the editor did not return";
        }
        con->onIdle = nullptr;
        EXPECT_EQ(SCR::STACKPOINTER(), 0) << "the screen is restored";
    }
    void enter() { con->ch(ENTER); }
    void type(const char* utf8) { con->keys(gr(utf8)); }
};

std::string pstr(const std::string& s, size_t cap) {
    std::string r(1, char(s.size()));
    r += s;
    r.resize(cap + 1, '\0');
    return r;
}
std::string blanks40(const std::string& s) { return s + std::string(40 - s.size(), ' '); }

std::vector<PARAMS::RECPARTIM4> decodeLayout(const std::string& bytes) {
    const size_t n = bytes.size() / PARAMS::RECPARTIM4::SIZE;
    std::vector<PARAMS::RECPARTIM4> t(n + 1);
    for (size_t i = 1; i <= n; ++i)
        t[i] = PARAMS::RECPARTIM4::decode(reinterpret_cast<const uint8_t*>(bytes.data()) + (i - 1) * 37);
    return t;
}
std::string encodeLayout(const std::vector<PARAMS::RECPARTIM4>& t) {
    std::string out((t.size() - 1) * 37, '\0');
    for (size_t i = 1; i < t.size(); ++i) t[i].encode(reinterpret_cast<uint8_t*>(out.data()) + (i - 1) * 37);
    return out;
}
PARAMS::RECPARTIM4 rec4(const std::string& per, uint8_t v) { return {per, v, v, v, v, v, v}; }

// ---- Item headings, reasons, declaration-to-invoice map -----------------------------------------

TEST_F(Partim, HeadingsStoreRecord12AndPadShownRows) {
    // Headings stored by their editor are no longer missing.
    PARAMS::PARTIM1MISSING = true;
    // Third row of the second page is record 12.
    con->key(SC::PGDN);
    con->key(SC::DOWN);
    con->key(SC::DOWN);
    enter();
    type("ΑΜΟΙΒΗ");
    enter();
    con->key(SC::F1);
    std::string row9, page, numbers;
    run(PARAMS::CALLPARTIM1, [&] {
        row9 = con->text(20, 9, 40);
        page = con->text(59, 16, 2);
        for (int y = 7; y <= 15; ++y) numbers += con->text(17, y, 2);
    });
    EXPECT_EQ(row9, blanks40(gr("ΑΜΟΙΒΗ")));
    EXPECT_EQ(page, " 2");
    EXPECT_EQ(numbers, "101112131415161718") << "the second page holds headings 10 to 18";
    // back on the first page the numbers are 1 to 9 again
    con->key(SC::PGDN);
    con->key(SC::PGUP);
    numbers.clear();
    run(PARAMS::CALLPARTIM1, [&] {
        for (int y = 7; y <= 15; ++y) numbers += con->text(17, y, 2);
    });
    EXPECT_EQ(numbers, " 1 2 3 4 5 6 7 8 9");
    const std::string f = read("PARTIM1");
    ASSERT_EQ(f.size(), 738u);
    EXPECT_EQ(f.substr(11 * 41, 41), pstr(blanks40(gr("ΑΜΟΙΒΗ")), 40));
    // Both pages were shown: every record is 40 blanks at least.
    for (int r = 1; r <= 18; ++r) EXPECT_EQ(uint8_t(f[size_t(r - 1) * 41]), 40) << r;
    EXPECT_EQ(PARAMS::PARTIM1[12], blanks40(gr("ΑΜΟΙΒΗ")));
    EXPECT_EQ(PARAMS::PARTIM1[11], std::string(40, ' '));
    EXPECT_FALSE(PARAMS::PARTIM1MISSING);
}

TEST_F(Partim, HeadingsRowsOfAPageNotShownStayEmpty) {
    enter();
    type("Α");
    con->key(SC::DOWN);  // Down also ends the row
    con->key(SC::F1);
    run(PARAMS::CALLPARTIM1);
    const std::string f = read("PARTIM1");
    EXPECT_EQ(f.substr(0, 41), pstr(blanks40(gr("Α")), 40));
    EXPECT_EQ(uint8_t(f[8 * 41]), 40);  // record 9, on page 1
    EXPECT_EQ(f.substr(9 * 41), std::string(9 * 41, '\0'));  // page 2 never shown
}

TEST_F(Partim, ReasonsF1KeepsDepBeyondTheFileAndEscStoresNothing) {
    PARAMS::DEP[12] = "K12";
    PARAMS::DEP[14] = "K14";
    con->key(SC::DOWN);
    con->key(SC::DOWN);
    enter();
    type("ΕΞΟΔΑ");
    enter();
    con->key(SC::F1);
    run(PARAMS::CALLPARTIM2);
    std::string f = read("PARTIM2");
    ASSERT_EQ(f.size(), 451u);
    EXPECT_EQ(f.substr(2 * 41, 41), pstr(blanks40(gr("ΕΞΟΔΑ")), 40));
    EXPECT_EQ(PARAMS::DEP[3], blanks40(gr("ΕΞΟΔΑ")));
    EXPECT_EQ(PARAMS::DEP[12], "K12");
    EXPECT_EQ(PARAMS::DEP[14], "K14");

    // Esc after an edit: file and table as they were.
    const auto dep = PARAMS::DEP;
    enter();
    type("ΑΛΛΟ");
    enter();
    run(PARAMS::CALLPARTIM2);
    EXPECT_EQ(read("PARTIM2"), f);
    EXPECT_EQ(PARAMS::DEP, dep);
}

TEST_F(Partim, BoxMapNumberAndCaption) {
    // Record 12: first row of page 2. Box number 7, caption of five letters.
    con->key(SC::PGDN);
    enter();
    type("7");
    enter();
    type("ΧΩΡΑΣ");
    enter();
    con->key(SC::F1);
    std::string kv;
    run(PARAMS::CALLPARTIM3, [&] { kv = con->text(27, 7, 3); });
    EXPECT_EQ(kv, "007");
    std::string f = read("PARTIM3");
    ASSERT_EQ(f.size(), 506u);
    EXPECT_EQ(f.substr(11 * 23, 2), std::string("\x07\x00", 2));
    EXPECT_EQ(f.substr(11 * 23 + 2, 21), pstr(gr("ΧΩΡΑΣ") + std::string(15, ' '), 20));
    EXPECT_EQ(PARAMS::PARTIM3[12].KV, 7);
    EXPECT_EQ(f.substr(0, 11 * 23), std::string(11 * 23, '\0'));

    // Clearing the box number stores 0 and shows blanks; Esc in the caption keeps it.
    con->key(SC::PGDN);
    enter();
    con->ch(CTRL_Y);
    enter();
    con->ch(ESC);
    con->key(SC::F1);
    run(PARAMS::CALLPARTIM3, [&] { kv = con->text(27, 7, 3); });
    EXPECT_EQ(kv, "   ");
    f = read("PARTIM3");
    EXPECT_EQ(f.substr(11 * 23, 2), std::string("\0\0", 2));
    EXPECT_EQ(f.substr(11 * 23 + 2, 21), pstr(gr("ΧΩΡΑΣ") + std::string(15, ' '), 20));
    EXPECT_EQ(PARAMS::PARTIM3[12].KV, 0);
}

TEST_F(Partim, CompanyChoiceLoadsTheTablesAndClearsMissingOnes) {
    std::string f1(738, '\0'), f3(506, '\0');
    f1.replace(17 * 41, 8, pstr("= 12", 7));  // record 18, shorter than its capacity
    PARAMS::RECPARTIM3{205, "ABC"}.encode(reinterpret_cast<uint8_t*>(f3.data()) + 21 * 23);
    write("PARTIM1", f1);
    write("PARTIM3", f3);
    std::remove(dat("PARTIM2").c_str());
    PARAMS::DEP[1] = "PREVIOUS COMPANY";
    PARAMS::DEP[13] = "K13";
    PARAMS::loadInvoiceTables();
    EXPECT_EQ(PARAMS::PARTIM1[18], "= 12");
    EXPECT_EQ(PARAMS::PARTIM3[22], (PARAMS::RECPARTIM3{205, "ABC"}));
    EXPECT_EQ(PARAMS::DEP[1], "");
    EXPECT_EQ(PARAMS::DEP[13], "K13");
    EXPECT_FALSE(PARAMS::PARTIM1MISSING);
    // Missing headings are noted for the invoice editor, which tells the clerk; a file of 0 bytes
    // holds no headings either and counts as missing.
    std::remove(dat("PARTIM1").c_str());
    PARAMS::loadInvoiceTables();
    EXPECT_TRUE(PARAMS::PARTIM1MISSING);
    EXPECT_EQ(PARAMS::PARTIM1[18], "");
    write("PARTIM1", f1);
    PARAMS::loadInvoiceTables();
    EXPECT_FALSE(PARAMS::PARTIM1MISSING);
    write("PARTIM1", "");
    PARAMS::loadInvoiceTables();
    EXPECT_TRUE(PARAMS::PARTIM1MISSING);
    EXPECT_EQ(PARAMS::PARTIM1[18], "");
    PARAMS::PARTIM1MISSING = false;
}

// ---- Field maps --------------------------------------------------------------------------------

TEST_F(Partim, FieldMapPage3Row1IsRecord23) {
    PARAMS::PARTIM3[1].CI = "MEM";
    PARAMS::DEP[1] = "MEM";
    con->key(SC::PGDN);
    con->key(SC::PGDN);
    enter();
    type("46");
    enter();
    type("ABCDE");
    enter();
    con->key(SC::F1);
    std::string title;
    run([] { PARAMS::CALLPARTIM5(2); }, [&] { title = con->text(41, 5, 5); });
    EXPECT_EQ(title, "EUR.1");
    const std::string f = read("PARD2EUR");
    ASSERT_EQ(f.size(), 759u);
    EXPECT_EQ(f.substr(22 * 23, 23), std::string("\x2e\x00", 2) + pstr("ABCDE" + std::string(15, ' '), 20));
    EXPECT_EQ(f.substr(0, 22 * 23), std::string(22 * 23, '\0'));
    EXPECT_EQ(PARAMS::PARTIM3[1].CI, "MEM");
    EXPECT_EQ(PARAMS::DEP[1], "MEM");
}

// ---- Every map and layout editor: its title, its file, its page number ------------------------------

TEST_F(Partim, EachMapAndLayoutEditorShowsItsTitleAndStoresItsFile) {
    TESTS::writeFile(work->file("partim4.INI"), "A\r\n");
    struct Case {
        std::function<void()> editor;
        int tx, tlen;       // title at (tx, 5); tlen 0: no title
        const char* title;  // UTF-8
        const char* file;
        size_t size;
        int px, py;  // page number
    };
    const Case cases[] = {
        {PARAMS::CALLPARTIM1, 0, 0, "", "PARTIM1", 738, 59, 16},
        {PARAMS::CALLPARTIM2, 0, 0, "", "PARTIM2", 451, 59, 18},
        {PARAMS::CALLPARTIM3, 0, 0, "", "PARTIM3", 506, 52, 18},
        {PARAMS::CALLPARTIM4, 0, 0, "", "PARTIM4", 5328, 20, 20},
        {[] { PARAMS::CALLPARTIM5(0); }, 41, 7, "INVOICE", "PARD2in1", 759, 52, 18},
        {[] { PARAMS::CALLPARTIM5(1); }, 41, 7, "INVOICE", "PARD2in2", 759, 52, 18},
        {[] { PARAMS::CALLPARTIM5(2); }, 41, 5, "EUR.1", "PARD2EUR", 759, 52, 18},
        {[] { PARAMS::CALLPARTIM5(3); }, 41, 5, "ΖΩΝΗΣ", "PARD2ZON", 759, 52, 18},
        {[] { PARAMS::CALLPARTIM5(4); }, 41, 6, "T.I.R.", "PARD2TIR", 759, 52, 18},
        {[] { PARAMS::CALLPARTIM6(2); }, 45, 11, " INVOICE 1 ", "PARinv1", 4440, 20, 20},
        {[] { PARAMS::CALLPARTIM6(3); }, 45, 11, " INVOICE 2 ", "PARinv2", 4440, 20, 20},
        {[] { PARAMS::CALLPARTIM6(4); }, 45, 11, " E.U.R. 1  ", "PAREUR1", 4440, 20, 20},
        {[] { PARAMS::CALLPARTIM6(5); }, 45, 11, "ΠΙΣΤ.ΑΥΤΟΚ.", "PARPITA", 4440, 20, 20},
        {[] { PARAMS::CALLPARTIM6(6); }, 45, 11, "   ΖΩΝΗΣ   ", "PARZON", 4440, 20, 20},
        {[] { PARAMS::CALLPARTIM6(7); }, 45, 11, "ΖΩΝΗΣ Β'ΟΨΗ", "PARZOB", 4440, 20, 20},
        {[] { PARAMS::CALLPARTIM6(8); }, 45, 11, "   Δ.Α.Ο.  ", "PARDDD", 4440, 20, 20},
        {[] { PARAMS::CALLPARTIM6(9); }, 45, 11, " ΔΗΛΩΤΙΚΟΥ ", "PARDILL", 4440, 20, 20},
        {[] { PARAMS::CALLPARTIM6(10); }, 45, 11, "  T.I.R.   ", "PARTIR", 4440, 20, 20},
    };
    for (const Case& c : cases) {
        std::remove(dat(c.file).c_str());  // F1 creates it
        con->key(SC::PGDN);  // the last page of a one-page list stays page 1
        con->key(SC::F1);
        std::string title, page;
        run(c.editor, [&] {
            if (c.tlen) title = con->text(c.tx, 5, c.tlen);
            page = con->text(c.px, c.py, 2);
        });
        EXPECT_EQ(title, gr(c.title)) << c.file;
        EXPECT_EQ(page, c.size == 451 ? " 1" : " 2") << c.file;
        EXPECT_EQ(read(c.file).size(), c.size) << c.file;
    }
}

// ---- Esc never stores, in every editor -----------------------------------------------------------

TEST_F(Partim, EscAfterAnEditLeavesEveryFileByteForByte) {
    TESTS::writeFile(work->file("partim4.INI"), "A\r\nB\r\n");
    struct Case {
        const char* what;
        const char* file;
        size_t size;
        std::function<void()> editor;
        std::function<void()> edit;
    };
    auto textEdit = [this] {
        enter();
        type("ΖΖ");
        enter();
    };
    auto mapEdit = [this] {
        enter();
        type("5");
        enter();
        type("Ζ");
        enter();
    };
    auto layoutEdit = [this] {
        enter();
        type("5");
        enter();
        type("9");
        enter();
        con->ch(ESC);
    };
    const Case cases[] = {
        {"headings", "PARTIM1", 738, PARAMS::CALLPARTIM1, textEdit},
        {"reasons", "PARTIM2", 451, PARAMS::CALLPARTIM2, textEdit},
        {"invoice map", "PARTIM3", 506, PARAMS::CALLPARTIM3, mapEdit},
        {"invoice layout", "PARTIM4", 5328, PARAMS::CALLPARTIM4, layoutEdit},
        {"field map", "PARD2ZON", 759, [] { PARAMS::CALLPARTIM5(3); }, mapEdit},
        {"document layout", "PARZOB", 4440, [] { PARAMS::CALLPARTIM6(7); }, layoutEdit},
    };
    for (const Case& c : cases) {
        std::string before(c.size, '\0');
        for (size_t i = 0; i < c.size; ++i) before[i] = char((i * 7) % 41);  // lengths within every capacity
        write(c.file, before);
        c.edit();
        run(c.editor);
        EXPECT_EQ(read(c.file), before) << c.what;
    }
}

// ---- Invoice print layout --------------------------------------------------------------------------

class InvoiceLayout : public Partim {
protected:
    void SetUp() override {
        Partim::SetUp();
        stored.assign(145, {});
        for (int i = 1; i <= 144; ++i) stored[size_t(i)] = rec4("OLD " + std::to_string(i), uint8_t(i));
        write("PARTIM4", encodeLayout(stored));
        std::vector<uint8_t> dep(451, 0);
        PARAMS::TDEP reasons;
        reasons[1] = gr("Δασμοί και φόροι τελωνείου για τον πελάτη");  // 41 characters, cut to 30
        reasons[11] = "R11";
        PARAMS::encodeDEP(reasons, dep.data());
        write("PARTIM2", std::string(dep.begin(), dep.end()));
        for (int i = 1; i <= 22; ++i) PARAMS::PARTIM3[size_t(i)].CI = "CI" + std::to_string(i);
        for (int i = 1; i <= 18; ++i) PARAMS::PARTIM1[size_t(i)] = "H" + std::to_string(i) + std::string(36, '.');
    }
    std::vector<PARAMS::RECPARTIM4> stored;
};

TEST_F(InvoiceLayout, CaptionsRebuiltFromIniReasonsFixedTextsAndTables) {
    TESTS::writeFile(work->file("partim4.INI"), gr("Αριθμός\r\nΗμερομηνία\r\nΠελάτης με πολύ μακρύ όνομα εδώ μέσα\r\nΔ4\r\nΔ5\r\n"));
    // And an edit: COL of record 1 typed as 7.
    enter();
    enter();
    enter();
    con->ch(CTRL_Y);
    type("7");
    enter();
    con->ch(ESC);
    con->key(SC::F1);
    std::string shown;
    run(PARAMS::CALLPARTIM4, [&] { shown = con->text(49, 8, 3); });
    EXPECT_EQ(shown, "007");
    const std::string f = read("PARTIM4");
    ASSERT_EQ(f.size(), 5328u);
    // Record 1 at offset 0: caption string[30], then SA1..ST1 at 31..36 (COL at 33).
    EXPECT_EQ(f.substr(0, 8), std::string(1, char(gr("Αριθμός").size())) + gr("Αριθμός"));
    EXPECT_EQ(f.substr(31, 6), std::string("\x01\x01\x07\x01\x01\x01", 6));
    auto t = decodeLayout(f);
    EXPECT_EQ(t[1].PER, gr("Αριθμός"));
    EXPECT_EQ(t[1].COL, 7);
    EXPECT_EQ(t[1].SA1, 1);
    EXPECT_EQ(t[3].PER, gr("Πελάτης με πολύ μακρύ όνομα εδ"));  // first 30 characters
    EXPECT_EQ(t[5].PER, gr("Δ5"));
    for (int i : {6, 9, 49, 120, 143, 144}) EXPECT_EQ(t[size_t(i)].PER, "OLD " + std::to_string(i)) << i;
    EXPECT_EQ(t[10].PER, "CI1");
    EXPECT_EQ(t[12].PER, "CI3");
    EXPECT_EQ(t[31].PER, "CI22");
    EXPECT_EQ(t[32].PER, "H1" + std::string(28, '.'));
    EXPECT_EQ(t[48].PER, "H17" + std::string(27, '.'));
    EXPECT_EQ(t[121].PER, gr("Δασμοί και φόροι τελωνείου για"));
    EXPECT_EQ(t[122].PER, "");
    EXPECT_EQ(t[131].PER, "R11");
    EXPECT_EQ(t[132].PER, gr("Ποσό αιτιολογίας ΚΕΔ 1"));
    EXPECT_EQ(t[134].PER, gr("Καταβληθέντα ποσά σε πρόσωπα μ"));
    EXPECT_EQ(t[141].PER, "");
    EXPECT_EQ(t[142].PER, gr("ΟΝΟΜΑ ΠΕΛΑΤΗ"));
    // Positions are kept; only the typed one changed.
    for (int i = 2; i <= 144; ++i) EXPECT_EQ(t[size_t(i)].ROW, i) << i;
}

TEST_F(InvoiceLayout, LongIniFillsAt120AndRecord12FollowsTheMap) {
    std::string ini;
    for (int i = 1; i <= 130; ++i) ini += "L" + std::to_string(i) + "\r\n";
    TESTS::writeFile(work->file("partim4.INI"), ini);
    std::remove(dat("PARTIM2").c_str());  // reasons missing: their captions are empty
    con->key(SC::F1);
    run(PARAMS::CALLPARTIM4);
    auto t = decodeLayout(read("PARTIM4"));
    EXPECT_EQ(t[9].PER, "L9");
    EXPECT_EQ(t[12].PER, "CI3");
    EXPECT_EQ(t[49].PER, "L49");
    EXPECT_EQ(t[120].PER, "L120");
    EXPECT_EQ(t[121].PER, "");
    EXPECT_EQ(t[143].PER, "OLD 143");
}

TEST_F(InvoiceLayout, EmptyIniEmptiesRecord1) {
    TESTS::writeFile(work->file("partim4.INI"), "");
    con->key(SC::F1);
    run(PARAMS::CALLPARTIM4);
    auto t = decodeLayout(read("PARTIM4"));
    EXPECT_EQ(t[1].PER, "");
    EXPECT_EQ(t[2].PER, "OLD 2");
}

TEST_F(InvoiceLayout, MissingIniReportsAndReturnsWithNothingStored) {
    const std::string before = read("PARTIM4");
    std::string msg;
    run(PARAMS::CALLPARTIM4, [&] { msg = con->text(7, 22, 26); });
    EXPECT_EQ(msg, "file not found partim4.INI");
    EXPECT_EQ(read("PARTIM4"), before);
}

// ---- Document print layouts ------------------------------------------------------------------------

class DocLayout : public Partim {
protected:
    // Layout "PARDDD" (editor 8) without its seed text: records "R k" placed at (k, k), record 120
    // unplaced unless told otherwise.
    std::vector<PARAMS::RECPARTIM4> base(bool lastPlaced = false) {
        std::vector<PARAMS::RECPARTIM4> t(121);
        for (int k = 1; k <= 120; ++k) t[size_t(k)] = rec4("R" + std::to_string(k), uint8_t(k));
        t[120] = lastPlaced ? PARAMS::RECPARTIM4{"R120", 0, 0, 0, 60, 0, 0} : PARAMS::RECPARTIM4{"R120", 0, 0, 0, 0, 0, 0};
        return t;
    }
};

TEST_F(DocLayout, RowEditKeepsEachValueAndRefusesBytesAbove255) {
    auto t = base();
    t[1] = {"R1", 0, 0, 0, 60, 0, 0};
    write("PARDDD", encodeLayout(t));
    enter();
    type("1");
    enter();
    type("2");
    enter();
    type("7");
    enter();
    con->ch(CTRL_Y);
    type("300");  // does not fit a byte: bell, asked again from 060
    enter();
    con->ch(CTRL_Y);
    enter();  // cleared: 0
    type("3");
    enter();
    type("4");
    enter();  // from ST1 back to the list
    con->key(SC::F1);
    // Record 2: SA1 and SA2 changed, then Esc in ROW: shown, not stored.
    con->key(SC::DOWN);
    enter();
    con->ch(CTRL_Y);
    type("9");
    enter();
    con->ch(CTRL_Y);
    type("8");
    enter();
    enter();
    type("5");
    con->ch(ESC);
    std::vector<std::string> row8, row9;
    std::string title;
    auto fields = [&](int y) {
        return std::vector<std::string>{con->text(40, y, 2), con->text(45, y, 2), con->text(49, y, 3),
                                        con->text(54, y, 3), con->text(60, y, 2), con->text(65, y, 2)};
    };
    run([] { PARAMS::CALLPARTIM6(8); },
        [&] {
            row8 = fields(8);
            row9 = fields(9);
            title = con->text(45, 5, 11);
        });
    EXPECT_EQ(con->bells, 1);
    EXPECT_EQ(title, gr("   Δ.Α.Ο.  "));
    EXPECT_EQ(row8, (std::vector<std::string>{"01", "02", "007", "   ", "03", "04"}));
    EXPECT_EQ(row9, (std::vector<std::string>{"09", "08", "002", "002", "02", "02"}));
    auto f = decodeLayout(read("PARDDD"));
    ASSERT_EQ(read("PARDDD").size(), 4440u);
    EXPECT_EQ(f[1], (PARAMS::RECPARTIM4{"R1", 1, 2, 7, 0, 3, 4}));
    EXPECT_EQ(f[2], rec4("R2", 2));
    const std::string raw = read("PARDDD");
    EXPECT_EQ(raw.substr(31, 6), std::string("\x01\x02\x07\x00\x03\x04", 6));
}

TEST_F(DocLayout, F5F6F7MoveAndClearRecords) {
    struct Case {
        const char* what;
        bool lastPlaced;
        std::vector<PLAT::Event> keys;
        std::function<void(std::vector<PARAMS::RECPARTIM4>&)> expect;  // applied to the base
    };
    auto zero = [](PARAMS::RECPARTIM4& r) { r = {r.PER, 0, 0, 0, 0, 0, 0}; };
    std::vector<PLAT::Event> toLast;
    for (int i = 0; i < 9; ++i) toLast.push_back(PLAT::keyExt(SC::PGDN));
    for (int i = 0; i < 11; ++i) toLast.push_back(PLAT::keyExt(SC::DOWN));
    auto with = [](std::vector<PLAT::Event> v, uint8_t scan) {
        v.push_back(PLAT::keyExt(scan));
        return v;
    };
    const Case cases[] = {
        {"F5 clears the numbers, the caption stays", false, {PLAT::keyExt(SC::DOWN), PLAT::keyExt(SC::F5)},
         [&](auto& t) { zero(t[2]); }},
        {"F7 opens a position at the bar", false,
         {PLAT::keyExt(SC::DOWN), PLAT::keyExt(SC::DOWN), PLAT::keyExt(SC::F7)},
         [&](auto& t) {
             for (int k = 120; k >= 4; --k) t[size_t(k)] = t[size_t(k - 1)];
             zero(t[3]);
         }},
        {"F7 with record 120 placed changes nothing", true,
         {PLAT::keyExt(SC::DOWN), PLAT::keyExt(SC::DOWN), PLAT::keyExt(SC::F7)}, [](auto&) {}},
        {"F6 removes the position at the bar", false, {PLAT::keyExt(SC::F6)},
         [&](auto& t) {
             for (int k = 1; k <= 119; ++k) t[size_t(k)] = t[size_t(k + 1)];
             zero(t[120]);
         }},
        {"F6 on record 120 only clears its numbers", true, with(toLast, SC::F6), [&](auto& t) { zero(t[120]); }},
    };
    for (const Case& c : cases) {
        auto t = base(c.lastPlaced);
        write("PARDDD", encodeLayout(t));
        for (const auto& e : c.keys) con->push(e);
        con->key(SC::F1);
        run([] { PARAMS::CALLPARTIM6(8); });
        c.expect(t);
        auto f = decodeLayout(read("PARDDD"));
        for (int k = 1; k <= 120; ++k) EXPECT_EQ(f[size_t(k)], t[size_t(k)]) << c.what << ", record " << k;
    }
}

TEST_F(DocLayout, CaptionsSeededFromTheFieldMap) {
    std::vector<PARAMS::RECPARTIM4> stored(121);
    for (int k = 1; k <= 120; ++k) stored[size_t(k)] = rec4("OLD" + std::to_string(k), 0);
    std::string map(759, '\0');
    for (int n = 1; n <= 33; ++n)
        PARAMS::RECPARTIM3{uint16_t(n), "C" + std::to_string(n)}.encode(reinterpret_cast<uint8_t*>(map.data()) + (n - 1) * 23);

    // Layout 6 without "PARD2ZON", layout 7 with it.
    write("PARZON", encodeLayout(stored));
    con->key(SC::F1);
    run([] { PARAMS::CALLPARTIM6(6); });
    auto z = decodeLayout(read("PARZON"));
    EXPECT_EQ(z[1].PER, gr("Περιγραφή 1"));
    EXPECT_EQ(z[30].PER, gr("Περιγραφή 30"));
    EXPECT_EQ(z[31].PER, gr("Πεδίο 1"));
    EXPECT_EQ(z[94].PER, gr("Πεδίο 64"));
    EXPECT_EQ(z[95].PER, gr("Σύνολο1"));
    EXPECT_EQ(z[97].PER, gr("Σύνολο3"));
    EXPECT_EQ(z[98].PER, "OLD98");

    write("PARD2ZON", map);
    write("PARZOB", encodeLayout(stored));
    con->key(SC::F1);
    run([] { PARAMS::CALLPARTIM6(7); });
    auto b = decodeLayout(read("PARZOB"));
    EXPECT_EQ(b[1].PER, "C1");
    EXPECT_EQ(b[31].PER, " *C1");
    EXPECT_EQ(b[54].PER, " *C24");
    EXPECT_EQ(b[55].PER, " *C25");
    EXPECT_EQ(b[60].PER, " *C25");
    EXPECT_EQ(b[64].PER, " *C29");
    EXPECT_EQ(b[96].PER, gr("Σύνολο2"));
    EXPECT_EQ(b[120].PER, "OLD120");
}

TEST_F(DocLayout, CaptionsSeededFromASeedText) {
    std::vector<PARAMS::RECPARTIM4> stored(121);
    for (int k = 1; k <= 120; ++k) stored[size_t(k)] = rec4("OLD" + std::to_string(k), 0);
    std::string seed;
    for (int i = 1; i <= 200; ++i) seed += "S" + std::to_string(i) + std::string(40, '-') + "\r\n";
    TESTS::writeFile(work->file("PARD2TIR.ini"), seed);
    write("PARTIR", encodeLayout(stored));
    write("PARPITA", encodeLayout(stored));
    con->key(SC::F1);
    run([] { PARAMS::CALLPARTIM6(10); });
    auto t = decodeLayout(read("PARTIR"));
    EXPECT_EQ(t[1].PER, ("S1" + std::string(40, '-')).substr(0, 30));
    EXPECT_EQ(t[119].PER, ("S119" + std::string(40, '-')).substr(0, 30));
    EXPECT_EQ(t[120].PER, "OLD120");

    // No "PARD2PIT.ini": the stored captions stay.
    con->key(SC::F1);
    run([] { PARAMS::CALLPARTIM6(5); });
    EXPECT_EQ(read("PARPITA"), encodeLayout(stored));
}

TEST_F(DocLayout, MissingLayoutStartsEmptyAndF1CreatesIt) {
    std::remove(dat("PARinv1").c_str());  // installed empty; here it has been lost
    ASSERT_FALSE(TESTS::exists(dat("PARinv1")));
    con->key(SC::F1);
    run([] { PARAMS::CALLPARTIM6(2); });
    auto t = decodeLayout(read("PARinv1"));
    ASSERT_EQ(t.size(), 121u);
    EXPECT_EQ(t[1], (PARAMS::RECPARTIM4{gr("Περιγραφή 1"), 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(t[120], PARAMS::RECPARTIM4{});
}

}  // namespace
