// The real program in a terminal: a new excise declaration of the demo installation whose item has
// a vehicle file, written by Shift-F2 with the vehicle answer: the vehicle list, the permit data,
// yes, the totals window, and the file equal to its golden file (the clock fixed). A
// vehicle kind picked from the demo's official list passes the run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "documents/ekextra.h"
#include "e2e/demo_e2e.h"
#include "platform/codepage.h"

namespace {

// From the program's start: the excise declaration 900 of one item of cars, typed to box 85, then
// Shift-F2 with the vehicle answer. The consignee (box 22) is typed when CONSIGNEE is given, else
// Enter takes the first customer of the installation. False when the item's vehicle list did not
// come.
bool exciseOfCars(TESTS::Tmux& t, const std::string& consignee) {
    if (!DEMOE2E::newDeclaration(t, "5", "Ε.Φ.Κ.", "900")) return false;
    std::vector<std::pair<std::string, std::string>> fill = {
        {"αα   2", "IM"}, {"αα  11", "123456789"}, {"αα   3", "41"},         {"αα  16", "1"},
        {"αα  18", "1"},  {"αα  20", "42"},        {"αα  72", "AUTOKINHTA"}, {"αα  79", "87032190 00"},
        {"αα  84", "4000"}};
    if (!consignee.empty()) fill.emplace_back("αα  22", consignee);
    if (!DEMOE2E::fillTo(t, "αα  85", fill)) return false;
    t.keys("S-F2");
    if (!t.waitFor("ΑΥΤΟΚΙΝΗΤΑ")) return false;
    t.keys("Down");
    t.keys("Enter");
    return t.waitFor("ΟΧΗΜΑΤΑ ΕΙΔΟΥΣ");
}

// From the vehicle list: Esc, the permit data, Esc and yes to the run. False when the question of
// the run did not come.
bool permitAndRun(TESTS::Tmux& t) {
    t.keys("Escape");
    if (!t.waitFor("ΣΥΜΠΛΗΡΩΜΑΤΙΚΑ ΣΤΟΙΧΕΙΑ ΟΧΗΜΑΤΩΝ")) return false;
    DEMOE2E::typeFields(t, {"150799", "010105", "1", "AD-4711"});
    t.keys("Escape");
    if (!t.waitFor("ΝΑ ΓΙΝΕΙ ΔΙΣΚΕΤΑ ΔΕΦΚ")) return false;
    t.text("Ν");
    return true;
}

TEST(VehiclesEndToEnd, AnExciseDeclarationOfVehiclesWithItsTotalsWindow) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    if (!TESTS::haveFixedClock()) GTEST_SKIP() << "libfaketime is not installed";
    TESTS::TempWorkDir work;
    DEMOE2E::install(work, "41");
    // The item's two vehicles, written through the vehicle file's codec before the declaration
    // is typed.
    EKEXTRA::PINAYT cars;
    for (int q = 0; q < 2; ++q) {
        BOD::MOT& m = cars.V[size_t(q)];
        m.ON = PLAT::gr("10 ΕΠΙΒΑΤΙΚΟ");
        m.ER = "TOYOTA";
        m.TY = "YARIS";
        m.AP = "JTDKW923" + std::to_string(500001 + q);
        m.AK = "1NR" + std::to_string(77 + q);
        m.KY = "1329";
        m.ET = "2012";
        m.KA = PLAT::gr("ΒΕΝΖΙΝΗ");
        m.KT = "1";
    }
    TESTS::writeFile(work.file("DATABASE/ARXEIO0/900.O1"), cars.encode());

    TESTS::Tmux t(work.path(), DEMOE2E::fixedClockCommand());
    ASSERT_TRUE(exciseOfCars(t, "AUTO AE")) << t.screen();
    // The item's vehicle list, left as it is, then the permit data.
    ASSERT_TRUE(t.waitFor("JTDKW923500001")) << t.screen();
    ASSERT_TRUE(permitAndRun(t)) << t.screen();
    ASSERT_TRUE(t.waitFor("ΣΥΝΟΛΙΚΑ 2 ΟΧΗΜΑΤΑ")) << t.screen() << TESTS::readFile(work.file("ERROR.TXT"));
    EXPECT_NE(t.screen().find("ΕΓΙΝΕ ΔΙΣΚΕΤΑ ΠΟΥ ΠΕΡΙΛΑΜΒΑΝΕΙ"), std::string::npos) << t.screen();
    const std::string out = work.file("drives/c/ICIS/DEFKAUTO/D42.TXT");
    ASSERT_TRUE(TESTS::exists(out));
    const std::string golden = std::string(KORVEX_SOURCE_DIR) + "/tests/golden/disket/excise_e2e.txt";
    if (std::getenv("KORVEX_UPDATE_GOLDEN")) TESTS::writeFile(golden, TESTS::readFile(out));
    EXPECT_EQ(TESTS::readFile(out), TESTS::readFile(golden));
    t.keys("Space");
    for (int i = 0; i < 100 && t.screen().find("ΣΥΝΟΛΙΚΑ") != std::string::npos; ++i) usleep(50000);
    EXPECT_EQ(t.screen().find("ΣΥΝΟΛΙΚΑ"), std::string::npos) << t.screen();
}

// The demo as `make run` lays it out: the kind picked with Tab from its official list, the make,
// type and chassis typed, and the run writes the vehicle with no error.
TEST(VehiclesEndToEnd, AKindPickedFromTheDemosListPassesTheRun) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    if (!TESTS::haveFixedClock()) GTEST_SKIP() << "libfaketime is not installed";
    TESTS::TempWorkDir work;
    ASSERT_TRUE(DEMOE2E::layOutDemo(work));
    TESTS::writeFile(work.file("DATABASE/ARXEIO0/ANAF.DAT"), "41\r\n");
    TESTS::Tmux t(work.path(), DEMOE2E::fixedClockCommand());
    ASSERT_TRUE(exciseOfCars(t, "")) << t.screen();
    t.keys("Tab");
    ASSERT_TRUE(t.waitFor("ΛΕΩΦΟΡΕΙΟ")) << t.screen();
    t.keys("Down");
    t.keys("Down");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("30 ΛΕΩΦΟΡΕΙΟ")) << t.screen();
    DEMOE2E::typeFields(t, {"", "FIAT", "DUCATO", "ZFA25000001234567"});
    ASSERT_TRUE(t.waitFor("ZFA25000001234567")) << t.screen();
    ASSERT_TRUE(permitAndRun(t)) << t.screen();
    ASSERT_TRUE(t.waitFor("ΣΥΝΟΛΙΚΑ 1 ΟΧΗΜΑΤΑ")) << t.screen() << TESTS::readFile(work.file("ERROR.TXT"));
    const std::string out = TESTS::readFile(work.file("drives/c/ICIS/DEFKAUTO/D42.TXT"));
    EXPECT_NE(out.find("~ZFA25000001234567~~~~FIAT~DUCATO~~30~0~"), std::string::npos) << out;
}

}  // namespace
