// The export invoices of the demo installation as a new user finds them: a stored export opened in
// the declaration editor, export invoice 1 and 2 from its documents menu filled with Tab, numbered,
// given two goods lines and printed by the demo's layouts (the printouts kept as golden files); and
// laying the demo out again keeps the box maps and layouts a clerk has changed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "config/params.h"
#include "e2e/demo_e2e.h"
#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "platform/codepage.h"

namespace {

using TESTS::expectGolden;

// mkdemo run on the folder WORK, as `make run` runs it.
int mkdemo(const TESTS::TempWorkDir& work) {
    return std::system((std::string(KORVEX_BINARY_DIR) + "/mkdemo " + KORVEX_SOURCE_DIR + "/data/demo " + KORVEX_MSK +
                        " " + work.path() + " >/dev/null")
                           .c_str());
}

TEST(DemoEndToEnd, ExportInvoicesOneAndTwoPrintNumberPartiesGoodsTotalsAndAnalysis) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    ASSERT_EQ(mkdemo(work), 0);
    const std::string exporter = PLAT::gr("ΕΛΑΙΟΥΡΓΙΑ ΚΡΗΤΗΣ Α.Ε.");
    ASSERT_TRUE(DEMOE2E::storeDeclaration(
        "EXP", "1000000008", "101226",
        {{6, PLAT::gr("ΠΕΙΡΑΙΑ")}, {11, "EL094000000"}, {12, exporter}, {13, PLAT::gr("ΛΕΩΦ. ΚΝΩΣΟΥ 45")},
         {14, PLAT::gr("714 09 ΗΡΑΚΛΕΙΟ")}, {21, "DE811000000"}, {22, "FEINKOST MUELLER GMBH"},
         {23, "HAUPTSTRASSE 12"}, {24, "80331 MUENCHEN"}, {42, PLAT::gr("ΕΛΛΑΔΑ")}, {43, PLAT::gr("ΓΕΡΜΑΝΙΑ")},
         {46, PLAT::gr("ΙΚΒ 4521")}, {49, "FOB"}, {50, PLAT::gr("ΠΕΙΡΑΙΑΣ")}, {54, "EUR"}, {68, PLAT::gr("ΚΟΛΛΑ:")},
         {69, "12"}, {72, PLAT::gr("ΕΛΑΙΟΛΑΔΟ ΠΑΡΘΕΝΟ")}, {79, "15092000"}, {82, "1500"}, {86, "1400"},
         {142, "    EXP"}, {207, PLAT::gr("ΠΕΙΡΑΙΑΣ 10/12/26")}}));

    const std::string port = work.file("drives/ports/LPT1");
    TESTS::Tmux t(work.path(), DEMOE2E::fixedClockCommand());
    ASSERT_TRUE(DEMOE2E::newDeclaration(t, "2", "ΕΞΑΓΩΓΗΣ", "1000000008")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("ΕΛΑΙΟΥΡΓΙΑ")) << t.screen();

    // Each invoice from the documents menu (opened the first time with F3): its box map's captions;
    // from field 1 Tab fills from the stored declaration, Tab on field 13 takes the next number, the
    // first goods line keeps the description it was filled with and gets quantity, unit and price,
    // the second is typed whole; F4 stores it and moves the counter on; Shift-F1, Esc (the analysis
    // lines), Ν prints it on LPT1.
    struct Invoice {
        const char *row, *title, *caption, *counter, *golden;
    };
    t.keys("F3");
    for (const Invoice& inv : {Invoice{"14", "INVOICE 1", "ΕΞΑΓΩΓΕΑΣ", "ARINV1.DAT", "demo_export_invoice1.prn"},
                               Invoice{"15", "INVOICE 2", "EXPORTER", "ARINV2.DAT", "demo_export_invoice2.prn"}}) {
        SCOPED_TRACE(inv.title);
        ASSERT_TRUE(t.waitFor("ΤΙΜΟΛΟΓΙΟ ΕΞΑΓΩΓΗΣ 2")) << t.screen();
        t.text(inv.row);
        ASSERT_TRUE(t.waitFor(inv.title)) << t.screen();
        ASSERT_TRUE(t.waitFor(inv.caption)) << "the box map's captions\n" << t.screen();
        t.keys("Tab");
        ASSERT_TRUE(t.waitFor("FEINKOST MUELLER GMBH")) << t.screen();
        for (int i = 1; i < 13; ++i) t.keys("Enter");
        t.keys("Tab");
        for (int i = 13; i < 25; ++i) t.keys("Enter");
        for (const char* s : {"", "1200", "LT", "4.50", "", "ΕΛΙΕΣ ΚΑΛΑΜΩΝ", "800", "KG", "3.00"}) {
            if (*s) t.text(s);
            t.keys("Enter");
        }
        ASSERT_TRUE(t.waitFor("7800.00")) << t.screen();
        t.keys("F4");
        EXPECT_EQ(DEMOE2E::fileOnce(work.file(std::string("DATABASE/ARXEIO0/") + inv.counter),
                                    [](const std::string& s) { return s == "2\r\n"; }),
                  "2\r\n");

        const size_t before = TESTS::readFile(port).size();
        t.keys("S-F1");
        ASSERT_TRUE(t.waitFor("ΑΝΑΛΥΣΗ ΕΙΔΩΝ")) << t.screen();
        t.keys("Escape");
        ASSERT_TRUE(t.waitFor("ΕΚΤΥΠΩΣΗ (Ν/Ο) ?")) << t.screen();
        t.text("Ν");
        const std::string out = DEMOE2E::printedAfter(port, before);
        expectGolden(std::string("documents/") + inv.golden, out);
        // What the layout placed, besides the bytes kept by the golden file.
        for (const std::string& want :
             {std::string("1000000008"), PLAT::gr("ΠΕΙΡΑΙΑΣ 10/12/26"), exporter, std::string("FEINKOST MUELLER GMBH"),
              PLAT::gr("ΓΕΡΜΑΝΙΑ"), PLAT::gr("ΕΛΑΙΟΛΑΔΟ ΠΑΡΘΕΝΟ"), PLAT::gr("ΕΛΙΕΣ ΚΑΛΑΜΩΝ"), std::string("1200"),
              std::string("5400.00"), std::string("2400.00"), std::string("2000"), std::string("7800.00"),
              PLAT::gr("ΚΟΛΛΑ:      12")})
            EXPECT_NE(out.find(want), std::string::npos) << PLAT::cp737ToUtf8(want);
        t.keys("Escape");
    }
}

TEST(DemoEndToEnd, LayingOutAgainKeepsTheExportInvoiceFormsAClerkChanged) {
    TESTS::TempWorkDir work;
    ASSERT_EQ(mkdemo(work), 0);
    const std::string dir = work.file("DATABASE/ARXEIO0/");
    const std::string zeros(PARAMS::PARDOC_SIZE, '\0');
    const std::string map1 = TESTS::readFile(dir + "PARD2in1.dat"), layout = TESTS::readFile(dir + "PARinv1.dat");
    ASSERT_EQ(map1.size(), PARAMS::PARD2_SIZE);
    ASSERT_EQ(layout.size(), PARAMS::PARDOC_SIZE);
    EXPECT_NE(layout, zeros);
    EXPECT_EQ(TESTS::readFile(dir + "PARinv2.dat"), layout) << "one layout for both invoices";
    EXPECT_NE(TESTS::readFile(dir + "PARD2in2.dat"), map1) << "invoice 2 has captions of its own";

    // A clerk's layout of invoice 1, a box map of invoice 2 stored under another spelling of its
    // name, and a layout of invoice 2 emptied again.
    std::string mine = layout;
    mine[5] = 'X';
    TESTS::writeFile(dir + "PARinv1.dat", mine);
    const std::string map2 = std::string(PARAMS::PARD2_SIZE - 1, '\0') + "Y";
    ASSERT_EQ(std::remove((dir + "PARD2in2.dat").c_str()), 0);
    TESTS::writeFile(dir + "ParD2In2.dat", map2);
    TESTS::writeFile(dir + "PARinv2.dat", zeros);

    ASSERT_EQ(mkdemo(work), 0);
    EXPECT_EQ(TESTS::readFile(dir + "PARinv1.dat"), mine);
    EXPECT_EQ(TESTS::readFile(dir + "ParD2In2.dat"), map2);
    EXPECT_FALSE(TESTS::exists(dir + "PARD2in2.dat")) << "no second box map beside the clerk's";
    EXPECT_EQ(TESTS::readFile(dir + "PARinv2.dat"), layout) << "an empty layout is laid out again";
    EXPECT_EQ(TESTS::readFile(dir + "PARD2in1.dat"), map1);
}

}  // namespace
