// The layout-driven documents of the demo installation as a new user finds them: from the documents
// menu of a stored import, the vehicle certificate, the D.A.O. and the cargo manifest; of a stored
// export, EUR.1 and both pages of the zone application; each printed on LPT1 by the demo's layouts
// (the printouts kept as golden files). The demo's layouts follow the documents' screens and are
// kept once a clerk has stored them; a layout emptied again by the clerk is told, not printed.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "config/params.h"
#include "documents/ekd2.h"
#include "documents/laydoc.h"
#include "e2e/demo_e2e.h"
#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "platform/codepage.h"
#include "submission/ekdilo.h"

namespace {

using TESTS::expectGolden;

// A line of the documents menu, which the program is showing.
const char* const MENU = "ΔΗΛΩΤΙΚΟ ΦΟΡΤΙΟΥ";

class DemoDocuments : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
        ASSERT_TRUE(DEMOE2E::layOutDemo(work));
        port = work.file("drives/ports/LPT1");
    }
    // The declaration NUMBER of the main menu's entry DIGIT (whose list shows HEADING) opened in
    // the editor, waiting for SHOWN, and its documents menu.
    void toDocuments(const std::string& digit, const std::string& heading, const std::string& number,
                     const std::string& shown) {
        t = std::make_unique<TESTS::Tmux>(work.path(), DEMOE2E::fixedClockCommand());
        ASSERT_TRUE(DEMOE2E::newDeclaration(*t, digit, heading, number)) << t->screen();
        t->keys("Enter");
        ASSERT_TRUE(t->waitFor(shown)) << t->screen();
        t->keys("F3");
        ASSERT_TRUE(t->waitFor(MENU)) << t->screen();
    }
    // Shift-F1 and yes; COPIES answers the copies prompt with one. The bytes that reached LPT1.
    std::string print(bool copies) {
        const size_t before = TESTS::readFile(port).size();
        t->keys("S-F1");
        EXPECT_TRUE(t->waitFor("ΕΚΤΥΠΩΣΗ (Ν/Ο) ?")) << t->screen();
        t->text("Ν");
        if (copies) {
            EXPECT_TRUE(t->waitFor("ΑΝΤΙΤΥΠΑ")) << t->screen();
            t->keys("Enter");
        }
        return DEMOE2E::printedAfter(port, before);
    }
    // Each text of WANT is in OUT.
    static void expectIn(const std::string& out, const std::vector<std::string>& want) {
        for (const std::string& w : want) EXPECT_NE(out.find(w), std::string::npos) << PLAT::cp737ToUtf8(w);
    }
    void enter(int n) {
        for (int i = 0; i < n; ++i) t->keys("Enter");
    }

    TESTS::TempWorkDir work;
    std::string port;
    std::unique_ptr<TESTS::Tmux> t;
};

TEST_F(DemoDocuments, VehicleCertificateDaoAndCargoManifestOfAnImport) {
    ASSERT_TRUE(DEMOE2E::storeDeclaration(
        "IMP", "1000000021", "101226",
        {{6, PLAT::gr("ΠΕΙΡΑΙΑ")}, {7, "1001"}, {18, "2"}, {21, "EL094000000"}, {22, PLAT::gr("ΑΥΤΟΚΙΝΗΣΙΣ Α.Ε.")},
         {23, PLAT::gr("ΛΕΩΦ. ΣΥΓΓΡΟΥ 100")}, {39, "DE"}, {40, "DE"}, {43, "DE"}, {46, "HLCU 4521"}, {47, "DE"},
         {60, "1"}, {61, "HAMBURG"}, {65, PLAT::gr("ΠΕΙΡΑΙΑΣ")}, {142, "    IMP"}}));
    toDocuments("1", "ΕΙΣΑΓΩΓΗΣ", "1000000021", "ΑΥΤΟΚΙΝΗΣΙΣ");

    // The vehicle certificate: filled from the declaration; the vehicle typed into fields 32 to 35.
    t->text("01");
    ASSERT_TRUE(t->waitFor("1000000021")) << t->screen();
    for (int i = 1; i < 32; ++i) t->keys("Down");
    for (const char* s : {"ΕΠΙΒΑΤΙΚΟ", "TOYOTA", "COROLLA", "JTDBR32E600012345"}) {
        t->text(s);
        t->keys("Enter");
    }
    ASSERT_TRUE(t->waitFor("JTDBR32E600012345")) << t->screen();
    std::string out = print(true);
    expectGolden("documents/demo_pik.prn", out);
    expectIn(out, {"1000000021", PLAT::gr("ΠΕΙΡΑΙΑ"), "TOYOTA", "JTDBR32E600012345"});
    t->keys("F4");
    t->keys("Escape");
    ASSERT_TRUE(t->waitFor(MENU)) << t->screen();
    // Stored under the whole number: field 1 holds all ten digits after the cursor went through it.
    EXPECT_TRUE(TESTS::exists(work.file("1000000021.pik")));
    EXPECT_FALSE(TESTS::exists(work.file("10000000.pik")));

    // The D.A.O.: as filled from the declaration.
    t->text("13");
    ASSERT_TRUE(t->waitFor("ΕΛΛΑΔΑ")) << t->screen();
    out = print(true);
    expectGolden("documents/demo_dao.prn", out);
    expectIn(out, {"1001", PLAT::gr("ΑΥΤΟΚΙΝΗΣΙΣ Α.Ε."), "DE - DE", "10/12/26"});
    t->keys("Escape");
    ASSERT_TRUE(t->waitFor(MENU)) << t->screen();

    // The cargo manifest: the front filled from the declaration (two lines), the first line's
    // twelve cells typed on the items page.
    t->text("12");
    ASSERT_TRUE(t->waitFor("HLCU 4521")) << t->screen();
    t->keys("PageDown");
    for (const char* s : {"N740", "B/L 4455", "26GR000000000000A1", "HLCU123", "KLEIN 1-10", "PK", "10", "120",
                          "ΑΝΤΑΛΛΑΚΤΙΚΑ", "ΑΥΤΟΚΙΝΗΤΩΝ", "1250", "T1"}) {
        t->text(s);
        t->keys("Enter");
    }
    ASSERT_TRUE(t->waitFor("1250")) << t->screen();
    out = print(false);
    expectGolden("documents/demo_dilo.prn", out);
    expectIn(out, {"HLCU 4521", "10/12/26", "26GR000000000000A1", PLAT::gr("ΑΝΤΑΛΛΑΚΤΙΚΑ"), "1250", "T1"});
    t->keys("Escape");
    ASSERT_TRUE(t->waitFor(MENU)) << t->screen();
}

TEST_F(DemoDocuments, Eur1AndBothPagesOfTheZoneApplicationOfAnExport) {
    const std::string exporter = PLAT::gr("ΕΛΑΙΟΥΡΓΙΑ ΚΡΗΤΗΣ Α.Ε.");
    ASSERT_TRUE(DEMOE2E::storeDeclaration(
        "EXP", "1000000022", "101226",
        {{6, PLAT::gr("ΠΕΙΡΑΙΑ")}, {11, "EL094000000"}, {12, exporter}, {13, PLAT::gr("ΛΕΩΦ. ΚΝΩΣΟΥ 45")},
         {14, PLAT::gr("714 09 ΗΡΑΚΛΕΙΟ")}, {21, "DE811000000"}, {22, "FEINKOST MUELLER GMBH"},
         {23, "HAUPTSTRASSE 12"}, {24, "80331 MUENCHEN"}, {42, PLAT::gr("ΕΛΛΑΔΑ")}, {43, PLAT::gr("ΓΕΡΜΑΝΙΑ")},
         {46, PLAT::gr("ΙΚΒ 4521")}, {68, PLAT::gr("ΚΟΛΛΑ:")}, {69, "12"}, {72, PLAT::gr("ΕΛΑΙΟΛΑΔΟ ΠΑΡΘΕΝΟ")}, {79, "15092000"},
         {82, "1500"}, {86, "1400"}, {142, "    EXP"}, {207, PLAT::gr("ΠΕΙΡΑΙΑΣ 10/12/26")}}));
    toDocuments("2", "ΕΞΑΓΩΓΗΣ", "1000000022", "ΕΛΑΙΟΥΡΓΙΑ");

    // EUR.1: the box map's captions; Tab fills from the stored declaration, Tab on field 13 takes
    // the number; the first goods line gets quantity, unit, marks and mass; printed.
    t->text("06");
    ASSERT_TRUE(t->waitFor("EUR. 1")) << t->screen();
    ASSERT_TRUE(t->waitFor("1.ΕΞΑΓΩΓΕΑΣ")) << t->screen();
    t->keys("Tab");
    ASSERT_TRUE(t->waitFor("FEINKOST MUELLER GMBH")) << t->screen();
    enter(12);
    t->keys("Tab");
    enter(13);
    for (const char* s : {"1200", "LT", "1-40", "1500"}) {
        t->text(s);
        t->keys("Enter");
    }
    ASSERT_TRUE(t->waitFor("1-40")) << t->screen();
    std::string out = print(false);
    expectGolden("documents/demo_eur1.prn", out);
    expectIn(out, {"1000000022", exporter, "FEINKOST MUELLER GMBH", PLAT::gr("ΓΕΡΜΑΝΙΑ"),
                   PLAT::gr("ΕΛΑΙΟΛΑΔΟ ΠΑΡΘΕΝΟ"), PLAT::gr("ΚΟΛΛΑ:      12"), "1200", "1-40"});
    t->keys("Escape");
    ASSERT_TRUE(t->waitFor(MENU)) << t->screen();

    // The zone application: filled with Tab, the gates and the seals typed; its first page by
    // "PARZON", then its second by "PARZOB".
    t->text("04");
    ASSERT_TRUE(t->waitFor("ΑΙΤΗΣΗ ΔΙΕΛΕΥΣΗΣ ΖΩΝΗΣ")) << t->screen();
    t->keys("Tab");
    ASSERT_TRUE(t->waitFor("FEINKOST MUELLER GMBH")) << t->screen();
    enter(19);
    for (const char* s : {"ΠΥΛΗ 3", "ΠΥΛΗ 1", "4521/1-2"}) {
        t->text(s);
        t->keys("Enter");
    }
    ASSERT_TRUE(t->waitFor("4521/1-2")) << t->screen();
    out = print(false);
    expectGolden("documents/demo_zone1.prn", out);
    expectIn(out, {"1000000022", exporter, PLAT::gr("ΕΛΑΙΟΛΑΔΟ ΠΑΡΘΕΝΟ"), PLAT::gr("ΓΕΡΜΑΝΙΑ")});
    ASSERT_TRUE(t->waitFor("2ης")) << t->screen();
    const size_t before = TESTS::readFile(port).size();
    t->text("Ν");
    out = DEMOE2E::printedAfter(port, before);
    expectGolden("documents/demo_zone2.prn", out);
    expectIn(out, {"1000000022", PLAT::gr("ΠΥΛΗ 3"), PLAT::gr("ΠΥΛΗ 1"), "4521/1-2"});
    t->keys("Escape");
    ASSERT_TRUE(t->waitFor(MENU)) << t->screen();
}

// The demo's layouts of the vehicle certificate, the D.A.O. and the manifest's front place every
// field where the document's screen shows it; every layout and box map is laid out whole; laying the
// demo out again keeps what a clerk has stored and lays out again what was emptied.
TEST(DemoDocumentForms, LaidOutAsTheScreensShowThemAndKeptWhenChanged) {
    TESTS::TempWorkDir work;
    ASSERT_TRUE(DEMOE2E::layOutDemo(work));
    const std::string dir = work.file("DATABASE/ARXEIO0/");
    auto layout = [&](const char* name) { return LAYDOC::DECODELAYOUT(TESTS::readFile(dir + name + ".dat")); };
    struct Grid {
        const char* file;
        std::vector<LAYDOC::Field> grid;  // [1..N]
    };
    std::vector<LAYDOC::Field> front(1);
    for (int k = 1; k <= EKDILO::FRONT; ++k) front.push_back(EKDILO::FRONTFIELD(k));
    for (const Grid& g : {Grid{"PARPITA", EKD2::PIKGRID()}, Grid{"PARDDD", EKD2::DAOGRID()}, Grid{"PARDILL", front}}) {
        const LAYDOC::Layout L = layout(g.file);
        for (size_t i = 1; i < g.grid.size(); ++i) {
            EXPECT_EQ(L[i].COL, g.grid[i].x) << g.file << " row " << i;
            EXPECT_EQ(L[i].ROW, g.grid[i].y) << g.file << " row " << i;
        }
    }
    const LAYDOC::Layout dill = layout("PARDILL");
    for (size_t r = 27; r <= 38; ++r) EXPECT_TRUE(LAYDOC::PLACES(dill, int(r), int(r))) << "cell " << r - 26;
    for (const char* name : {"PAREUR1", "PARZON", "PARZOB"}) EXPECT_TRUE(LAYDOC::PLACES(layout(name), 1, 120)) << name;
    for (const char* name : {"PARD2EUR", "PARD2ZON"}) {
        const std::string map = TESTS::readFile(dir + name + ".dat");
        EXPECT_EQ(map.size(), PARAMS::PARD2_SIZE) << name;
        EXPECT_NE(map.find_first_not_of('\0'), std::string::npos) << name;
    }

    std::string mine = TESTS::readFile(dir + "PARPITA.dat");
    mine[5] = 'X';
    TESTS::writeFile(dir + "PARPITA.dat", mine);
    const std::string zone = TESTS::readFile(dir + "PARD2ZON.dat");
    TESTS::writeFile(dir + "PARD2ZON.dat", std::string(PARAMS::PARD2_SIZE, '\0'));
    ASSERT_TRUE(DEMOE2E::layOutDemo(work));
    EXPECT_EQ(TESTS::readFile(dir + "PARPITA.dat"), mine) << "the clerk's layout is kept";
    EXPECT_EQ(TESTS::readFile(dir + "PARD2ZON.dat"), zone) << "an emptied box map is laid out again";
}

// The clerk empties the demo's layout of the D.A.O. again (every row zero, as installed): the print
// tells which layout is empty and where it is set, and nothing reaches LPT1.
TEST_F(DemoDocuments, AnEmptiedLayoutIsToldAndNothingPrinted) {
    TESTS::writeFile(work.file("DATABASE/ARXEIO0/PARDDD.dat"), std::string(PARAMS::PARDOC_SIZE, '\0'));
    ASSERT_TRUE(DEMOE2E::storeDeclaration("IMP", "1000000023", "101226",
                                          {{22, PLAT::gr("ΑΥΤΟΚΙΝΗΣΙΣ Α.Ε.")}, {142, "    IMP"}}));
    toDocuments("1", "ΕΙΣΑΓΩΓΗΣ", "1000000023", "ΑΥΤΟΚΙΝΗΣΙΣ");
    t->text("13");
    ASSERT_TRUE(t->waitFor("ΕΛΛΑΔΑ")) << t->screen();
    t->keys("S-F1");
    ASSERT_TRUE(t->waitFor("Δεν τυπώθηκε: κενή φόρμα PARDDD. ΠΑΡΑΜΕΤΡΟΙ ΕΝΤΥΠΩΝ, επιλογή 8")) << t->screen();
    EXPECT_EQ(t->screen().find("(Ν/Ο)"), std::string::npos) << "nothing asked";
    t->keys("Enter");
    ASSERT_TRUE(t->waitGone("Δεν τυπώθηκε")) << t->screen();
    t->keys("Escape");
    ASSERT_TRUE(t->waitFor(MENU)) << t->screen();
    EXPECT_FALSE(TESTS::exists(port) && !TESTS::readFile(port).empty()) << "nothing sent";
}

}  // namespace
