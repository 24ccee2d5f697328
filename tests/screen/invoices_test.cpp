// The invoice documents: record, totals, numbering, the fill from the stored declaration and the
// prints with their rules (golden files), on the headless console.
#include "screen/documents_fixture.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "config/params.h"
#include "documents/invoices.h"
#include "platform/fatal.h"

using namespace DOCTEST;

namespace {

struct Row {
    int row;
    const char* per;
    int col, line;
};

class Invoices : public Docs {
protected:
    void SetUp() override {
        Docs::SetUp();
        for (int f : {UMAS::PE_INV1, UMAS::PE_INV2, UMAS::PE_EUR1, UMAS::PE_ZON}) toSpool(f);
        UMAS::TOTALKOLA = 0;
        UMAS::TOTALXM = 0;
        PARAMS::PERIGRAFES = {};
    }
    void writeLayout(const std::string& name, const std::vector<Row>& rows) {
        std::string img(PARAMS::PARDOC_SIZE, '\0');
        for (const Row& r : rows) {
            PARAMS::RECPARTIM4 x;
            x.PER = gr(r.per);
            x.COL = uint8_t(r.col);
            x.ROW = uint8_t(r.line);
            x.encode(reinterpret_cast<uint8_t*>(img.data()) + size_t(r.row - 1) * PARAMS::RECPARTIM4::SIZE);
        }
        PARAMS::KATPAR(name, reinterpret_cast<const uint8_t*>(img.data()), img.size());
    }
    void writeMap(const std::string& name, const std::vector<std::pair<int, int>>& rows) {
        std::string img(PARAMS::PARD2_SIZE, '\0');
        for (const auto& [i, kv] : rows)
            PARAMS::RECPARTIM3{uint16_t(kv), "CAP" + std::to_string(i)}.encode(
                reinterpret_cast<uint8_t*>(img.data()) + size_t(i - 1) * PARAMS::RECPARTIM3::SIZE);
        PARAMS::KATPAR(name, reinterpret_cast<const uint8_t*>(img.data()), img.size());
    }
    std::string file(const std::string& n) const { return TESTS::readFile(company(0) + "/" + n); }
};

TEST_F(Invoices, RecordPlacesAndImages) {
    INVOICES::Record r;
    r.setField(1, std::string(30, 'A'));
    r.setField(13, "17");
    r.setField(25, "GOODS");
    r.setField(64, "9999999999999X");
    r.setAnalysis(13, "LAST");
    EXPECT_EQ(r.field(1), std::string(26, 'A')) << "cut to 26";
    EXPECT_EQ(uint8_t(r.raw[324]), 2);
    EXPECT_EQ(r.raw.substr(529, 5), "GOODS");
    EXPECT_EQ(r.field(64), "9999999999999");
    EXPECT_EQ(r.raw.substr(1756, 5), "\x04LAST");
    EXPECT_EQ(INVOICES::DECODE(r.raw.substr(0, 600)).field(25), "GOODS") << "a short file fills the start";
    EXPECT_EQ(INVOICES::DECODE(r.raw.substr(0, 600)).analysis(13), "");
    EXPECT_EQ(INVOICES::DECODE(r.raw + "MORE").raw, r.raw) << "a longer one the record only";
    const INVOICES::Place p = INVOICES::PLACE(30);
    EXPECT_EQ(p.x, 3);
    EXPECT_EQ(p.y, 16);
}

TEST_F(Invoices, Totals) {
    INVOICES::Record r;
    r.setField(26, "3");
    r.setField(28, "2.5");
    r.setField(31, "1.5");
    r.setField(33, "0.001");
    r.setField(36, "2");
    r.setField(38, "-4");
    INVOICES::Totals t = INVOICES::SYNOLA(r, true);
    EXPECT_EQ(r.field(29), "       7.50");
    EXPECT_EQ(r.field(34), std::string(13, ' ')) << "below 0.006";
    EXPECT_EQ(r.field(39), std::string(13, ' ')) << "negative";
    EXPECT_EQ(t.v97, "     6.50");
    EXPECT_EQ(t.v96, "       7.50");
    INVOICES::Record q;
    q.setField(26, "1");
    q.setField(31, "2");
    q.setField(29, "5");
    t = INVOICES::SYNOLA(q, false);
    EXPECT_EQ(t.v97, "        3");
    EXPECT_EQ(t.v96, std::string(10, ' '));
    EXPECT_EQ(q.field(29), "5") << "EUR.1 keeps column 5";
}

TEST_F(Invoices, CounterOnlyGoesForward) {
    EXPECT_EQ(INVOICES::READNO("ARINV1.DAT"), "1");
    EXPECT_EQ(file("ARINV1.DAT"), "1\r\n");
    struct Case {
        long stored;
        const char* counter;
    };
    for (const Case& c : {Case{1, "2"}, Case{7, "8"}, Case{3, "8"}, Case{0, "8"}, Case{8, "9"}}) {
        INVOICES::STORENO("ARINV1.DAT", c.stored);
        EXPECT_EQ(INVOICES::READNO("ARINV1.DAT"), c.counter) << c.stored;
    }
    INVOICES::STORENO("AREUR1.DAT", 4);
    EXPECT_EQ(file("AREUR1.DAT"), "5\r\n") << "missing: created";
}

TEST_F(Invoices, FillFromTheStoredDeclaration) {
    writeMap("ParD2In1", {{1, 12}, {2, 68}, {3, 68}, {4, 82}, {5, 210}, {6, 510}, {7, 501}, {14, 1}});
    UMAS::TOTALKOLA = 25;
    UMAS::TOTALXM = 1234.56;
    PARAMS::PERIGRAFES[1] = "FIRST ITEM";
    PARAMS::PERIGRAFES[11] = "ELEVENTH";
    stored("EXP", "12", {{12, "EXPORTER WITH A VERY LONG NAME OF 30"}, {22, "IMPORTER"}, {68, "CT"}, {82, "100"}});
    BOD::BOS(BOD::DIA, BOD::GV, 1, "0012");
    BOD::EF = gr("Α' ΠΕΙΡΑΙΑ");
    INVOICES::Record r;
    r.setAnalysis(13, "KEPT");
    const auto map = INVOICES::READMAP("ParD2In1");
    EXPECT_EQ(INVOICES::FILL(r, map), "");
    EXPECT_EQ(r.field(1), "EXPORTER WITH A VERY LONG "); // cut to 26
    EXPECT_EQ(r.field(2), "CT      25") << "the package total once";
    EXPECT_EQ(r.field(3), "CT      25      25") << "a second row appends the total again";
    EXPECT_EQ(r.field(4), "    1234.6");
    EXPECT_EQ(r.field(5), "") << "boxes above 209 are not read";
    EXPECT_EQ(r.field(6), gr("Α' ΠΕΙΡΑΙΑ"));
    EXPECT_EQ(trimRight(r.field(7)), "EXPORTER WITH A VERY LONG") << "BOD::EA from box 12 of an export";
    EXPECT_EQ(r.field(14), "12");
    EXPECT_EQ(r.analysis(1), "CT      25      25") << "box 68 as the rows left it";
    EXPECT_EQ(r.analysis(2), "FIRST ITEM");
    EXPECT_EQ(r.analysis(12), "ELEVENTH");
    EXPECT_EQ(r.analysis(13), "KEPT");
    // a map naming box 68 in no row: analysis line 1 is box 68 alone
    writeMap("ParD2In2", {{1, 12}});
    INVOICES::Record plain;
    EXPECT_EQ(INVOICES::FILL(plain, INVOICES::READMAP("ParD2In2")), "");
    EXPECT_EQ(plain.analysis(1), "CT");

    // not stored: only the customer codes
    form("IMP");
    BOD::BOS(BOD::DIA, BOD::GV, 1, "4711");
    BOD::EF = gr("ΧΑΝΙΩΝ");
    INVOICES::Record n;
    EXPECT_EQ(INVOICES::FILL(n, map), "");
    EXPECT_EQ(n.field(1), "");
    EXPECT_EQ(n.field(6), gr("ΧΑΝΙΩΝ"));
}

TEST_F(Invoices, ADamagedStoredRecordFillsNoBox) {
    writeMap("ParD2In1", {{1, 12}, {6, 510}});
    stored("EXP", "12", {{12, "EXPORTER"}});
    // the first area's header claims more than the file holds
    std::string dism = file("DISM.DAT");
    dism[int(BOD::XN)] = char(0x7F);
    TESTS::writeFile(company(0) + "/DISM.DAT", dism);
    BOD::EF = "TAXOFFICE";
    INVOICES::Record r;
    EXPECT_NE(INVOICES::FILL(r, INVOICES::READMAP("ParD2In1")), "");
    EXPECT_EQ(r.field(1), "");
    EXPECT_EQ(r.field(6), "TAXOFFICE");
}

TEST_F(Invoices, InvoiceOneNumberedStoredAndPrinted) {
    writeMap("ParD2In1", {{1, 12}, {2, 22}, {26, 0}});
    writeLayout("ParInv1", {{31, "NAME", 5, 3}, {43, "NUMBER", 60, 1}, {55, "ΔΕΜΑΤΑ", 3, 10}, {56, "QTY", 40, 10},
                            {60, "ΔΕΜΑΤΑ *", 3, 11}, {96, "TOTAL", 60, 20}, {97, "QTOTAL", 40, 20}});
    stored("EXP", "12", {{12, "ALPHA EXPORTS"}, {22, "BUYER"}});
    run([&] { INVOICES::INVOICE(1); },
        {[&] {
             EXPECT_EQ(con->text(39, 1, 9), "INVOICE 1");
             con->ch(TAB);  // field 1: the fill
         },
         [&] {
             EXPECT_EQ(con->text(19, 2, 13), "ALPHA EXPORTS");
             for (int i = 1; i < 13; ++i) enter();
             con->ch(TAB);  // field 13: the number
         },
         [&] {
             EXPECT_EQ(con->text(63, 2, 1), "1");
             for (int i = 13; i < 25; ++i) enter();
             type("ORANGES");
             enter();
             type("3");
             enter(2);
             type("2.5");
             enter();
             con->key(SC::F6);
         },
         [&] {
             EXPECT_NE(screenRow(5).find(gr("ΑΝΑΛΥΣΗ ΕΙΔΩΝ")), std::string::npos);
             type("BOXES OF ORANGES");
             con->ch(ESC);  // Esc keeps the line as it was: nothing typed is taken
         },
         [&] {
             con->key(SC::F4);
             con->key(SC::SF1);  // the analysis lines come first on an invoice
         },
         [&] {
             EXPECT_NE(screenRow(5).find(gr("ΑΝΑΛΥΣΗ ΕΙΔΩΝ")), std::string::npos);
             EXPECT_EQ(screenRow(23).find(gr("(Ν/Ο)")), std::string::npos) << "no question yet";
             type("CRATES");
             enter();
             con->ch(ESC);
         },
         [&] {
             EXPECT_NE(screenRow(23).find(gr("(Ν/Ο)")), std::string::npos);
             con->ch('N');
         }});
    EXPECT_EQ(file("ARINV1.DAT"), "2\r\n");
    ASSERT_EQ(file("12.in1").size(), INVOICES::RINV_SIZE);
    EXPECT_EQ(INVOICES::DECODE(file("12.in1")).field(29), "       7.50");
    const std::string out = handed();
    golden("invoice1.prn", out);
    EXPECT_NE(out.find("ALPHA EXPORTS"), std::string::npos);
    EXPECT_NE(out.find("7.50"), std::string::npos);
    EXPECT_NE(out.find("CRATES\r\n"), std::string::npos) << "the line typed before the question is printed";
}

TEST_F(Invoices, EurOneDescriptionRowsAndAnalysisLines) {
    std::vector<Row> rows = {{31, "SENDER", 5, 2}, {40, "ORIGIN", 20, 50}};
    for (int i = 0; i < 8; ++i) rows.push_back({60 + i, "ΠΕΡΙΓΡΑΦΗ", 2, 30 + i});
    writeLayout("ParEur1", rows);
    writeMap("ParD2Eur", {{1, 12}});
    stored("EXP", "77", {{12, "SENDER LTD"}});
    INVOICES::Record r;
    for (int k = 1; k <= 13; ++k) r.setAnalysis(k, "  LINE " + std::to_string(k) + "  ");
    TESTS::writeFile(company(0) + "/77.eur", r.raw);
    run([&] { INVOICES::INVOICE(3); }, {[&] {
            con->key(SC::SF1);
            con->ch('N');
        }});
    const std::string out = handed();
    golden("eur1.prn", out);
    for (int k = 1; k <= 13; ++k) EXPECT_NE(out.find("LINE " + std::to_string(k) + (k <= 8 ? "\x12" : "\r\n")), std::string::npos) << k;
    // Shift-F2: the A.TR offsets
    TESTS::writeFile(work->file("handed.out"), "");
    run([&] { INVOICES::INVOICE(3); }, {[&] {
            con->key(SC::SF2);
            con->ch('N');
        }});
    golden("eur1_atr.prn", handed());
}

TEST_F(Invoices, ZoneApplicationBothPagesTwice) {
    writeLayout("ParZON", {{31, "A", 5, 1}});
    writeLayout("ParZOB", {{32, "B", 9, 1}});
    stored("EXP", "55", {});
    run([&] { INVOICES::INVOICE(6); },
        {[&] {
             type("PAGE ONE");
             enter();
             type("PAGE TWO");
             con->key(SC::SF1);
             con->ch('N');
         },
         [&] {
             EXPECT_NE(screenRow(23).find(gr("2ης")), std::string::npos);
             con->ch('N');
             con->key(SC::SF1);
             con->ch('N');
             con->ch('N');
         }});
    const std::string out = handed();
    golden("zone.prn", out);
    size_t jobs = 0;
    for (size_t p = out.find("====="); p != std::string::npos; p = out.find("=====", p + 1)) ++jobs;
    EXPECT_EQ(jobs, 4u);
    EXPECT_NE(out.find("PAGE ONE"), std::string::npos);
    EXPECT_NE(out.find("PAGE TWO"), std::string::npos);
}

// A layout that places nothing, missing or as installed (every row zero), sends nothing and asks
// nothing: the clerk is told which layout is empty and where it is set; the analysis lines are not
// shown for a last look before a print that cannot be. Each page of the zone application by its
// own layout.
TEST_F(Invoices, AnEmptyLayoutIsToldAndNothingPrinted) {
    stored("EXP", "56", {});
    writeLayout("ParEur1", {});
    writeLayout("ParZOB", {{32, "B", 9, 1}});
    struct Case {
        int no;
        std::vector<const char*> told;  // the messages in turn; a question follows when the last is ""
    };
    const Case cases[] = {
        {2, {"Δεν τυπώθηκε: κενή φόρμα PARinv2. ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ, επιλογή 4"}},
        {3, {"Δεν τυπώθηκε: κενή φόρμα PAREUR1. ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ, επιλογή 6"}},
        {6, {"Δεν τυπώθηκε: κενή φόρμα PARZON. ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ, επιλογή 13", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.no);
        TESTS::writeFile(work->file("handed.out"), "");
        std::vector<std::function<void()>> steps = {[&] { con->key(SC::SF1); }};
        for (const char* told : c.told)
            steps.push_back([&, told] {
                if (*told) {
                    EXPECT_NE(screenRow(23).find(gr(told)), std::string::npos) << screenRow(23);
                    con->ch(ENTER);
                } else {
                    EXPECT_NE(screenRow(23).find(gr("2ης")), std::string::npos) << "the second page asked";
                    con->ch('O');
                }
            });
        run([&] { INVOICES::INVOICE(c.no); }, steps);
        EXPECT_EQ(handed(), "");
    }
}

// A document without its box map (told at the cursor when read) shows no piece of that
// line: the masks, the legend and the title are drawn again.
TEST_F(Invoices, TheLegendAndTheAtrQuestionReadWhole) {
    stored("EXP", "57", {});
    writeLayout("ParInv1", {{31, "A", 5, 1}});
    run([&] { INVOICES::INVOICE(1); }, {[&] {
            // the last entry of the legend whole, and nothing cut after it
            const std::string last = gr("F7") + char(26) + gr("Σήμανση") + "   ";
            EXPECT_EQ(screenRow(25).substr(80 - last.size()), last);
            con->key(SC::SF2);
        },
                                        [&] {
                                            EXPECT_EQ(con->text(11, 23, 18), gr("ΕΚΔΟΣΗ ATR (Ν/Ο) ?"));
                                            con->ch('O');
                                        }});
}

TEST_F(Invoices, AMissingBoxMapLeavesNoTraceOnTheScreen) {
    auto clean = [&](const char* when) {
        for (int y = 1; y <= 25; ++y) EXPECT_EQ(screenRow(y).find("file not found"), std::string::npos) << when << y;
    };
    stored("EXP", "56", {});
    run([&] { INVOICES::INVOICE(1); }, {[&] {
            clean("opened");
            EXPECT_EQ(con->text(39, 1, 9), "INVOICE 1");
            EXPECT_EQ(screenRow(25).substr(0, 3), "ESC");
        }});
    // the zone application's second page reads "ParZOB" at Shift-F1
    writeLayout("ParZON", {{31, "A", 5, 1}});
    run([&] { INVOICES::INVOICE(6); }, {[&] {
            type("PAGE ONE");
            con->key(SC::SF1);
            con->ch('N');
        },
                                        [&] {
                                            clean("second page");
                                            EXPECT_EQ(screenRow(2).substr(18), "PAGE ONE" + std::string(54, ' '))
                                                << "no map, no captions: nothing but field 1";
                                            con->ch('N');
                                        }});
}

TEST_F(Invoices, Windows1253PreviewAndItsName) {
    struct Case {
        std::string in;
        const char* out;
    };
    const Case cases[] = {{"\xC1\xD1\xD3\xD9", "ΑΡΣΩ"}, {"\xE1\xF1\xF3\xF2\xF9", "αρσςω"},
                          {"\xDC\xDD\xDE\xDF\xFC\xFD\xFE\xFA\xFB", "άέήίόύώϊϋ"}, {"AB 12", "AB 12"},
                          {"\xA2\xB8", "ΆΈ"}};
    for (const Case& c : cases) EXPECT_EQ(INVOICES::GREEK(c.in), gr(c.out)) << c.out;
    TESTS::writeFile(work->file("NOTE.TXT"), "\xC1\xC2 LINE\r\n");
    run([&] { INVOICES::SIMANSI(); }, {[&] {
            type("NOTE.TXT");
            enter();
        },
                                        [&] {
                                            EXPECT_EQ(con->text(2, 2, 7), gr("ΑΒ LINE"));
                                            con->ch('O');
                                        }});
    // a path, a folder, a pipe, a device: each is told as missing and the document goes on
    ASSERT_EQ(mkfifo(work->file("PIPE.TXT").c_str(), 0666), 0);
    for (const char* name : {"../NOTE.TXT", "DATABASE", "database", "PIPE.TXT", "NOTHERE.TXT"}) {
        run([&] { INVOICES::SIMANSI(); }, {[&] {
                type(name);
                enter();
            },
                                            [&] {
                                                EXPECT_EQ(con->text(3, 23, 33), gr(" ΑΝΥΠΑΡΚΤΟ ΑΡΧΕΙΟ !! Πατήστε ESC ")) << name;
                                                con->ch(ESC);
                                            }});
    }
}

// Two workstations storing invoices of interleaved numbers: the counter never goes back.
TEST_F(Invoices, TwoWorkstationsInterleaved) {
    pid_t kids[2];
    for (int w = 0; w < 2; ++w) {
        kids[w] = fork();
        if (kids[w] == 0) {
            PLAT::setThrowOnExit(false);
            for (int n = w; n < 200; n += 2) {
                INVOICES::STORENO("ARINV1.DAT", n);
                const long now = std::stol(INVOICES::READNO("ARINV1.DAT"));
                if (now < n + 1) _exit(1);
            }
            _exit(0);
        }
    }
    for (pid_t k : kids) {
        int st = 0;
        waitpid(k, &st, 0);
        EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    }
    EXPECT_EQ(file("ARINV1.DAT"), "200\r\n");
}

}  // namespace
