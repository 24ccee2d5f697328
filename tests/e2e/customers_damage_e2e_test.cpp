// The real program on the demo installation as laid out, its domestic customer file overwritten
// with random bytes of its own size: the company choice tells it, box 22 of a new import fills
// nothing from it and F4 stores only what was typed, and the invoice editor takes no customer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <random>
#include <string>

#include "declarations/bod.h"
#include "declarations/store_form.h"
#include "e2e/demo_e2e.h"
#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "platform/codepage.h"

namespace {

bool hasControl(const std::string& s) {
    for (unsigned char c : s)
        if (c < 32) return true;
    return false;
}

TEST(CustomersEndToEnd, ARandomCustomerFileIsToldAndNeverCopied) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    ASSERT_TRUE(DEMOE2E::layOutDemo(work));
    const std::string mfPath = work.file("DATABASE/ARXEIO0/MF.DAT");
    std::string mf = TESTS::readFile(mfPath);
    ASSERT_GE(mf.size(), 302u);
    ASSERT_EQ(mf.size() % 302, 0u);
    std::mt19937 rng(2026);
    for (char& c : mf) c = char(rng());
    TESTS::writeFile(mfPath, mf);
    const std::string dism = work.file("DATABASE/ARXEIO0/DISM.DAT");
    const size_t stored = TESTS::readFile(dism).size();

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("Enter");
    // The company choice tells the damaged records among its files' problems.
    ASSERT_TRUE(t.waitFor("ΑΡΧΕΙΑ ΜΕ ΠΡΟΒΛΗΜΑ")) << t.screen();
    EXPECT_NE(t.screen().find("MF.DAT: " + std::to_string(mf.size() / 302) + " αλλοιωμένοι πελάτες, πρώτος ο 0"),
              std::string::npos)
        << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitGone("ΑΡΧΕΙΑ ΜΕ ΠΡΟΒΛΗΜΑ")) << t.screen();

    // A new import: box 22 looked up by the first letters of a demo customer.
    t.text("1");
    ASSERT_TRUE(t.waitFor("ΕΙΣΑΓΩΓΗΣ")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
    t.text("500");
    ASSERT_TRUE(DEMOE2E::fillTo(t, "αα  22", {{"αα   2", "IM"}, {"αα  16", "1"}, {"αα  18", "1"}})) << t.screen();
    t.text("αλε");
    t.keys("Enter");
    const std::string told = "ΤΟ ΑΡΧΕΙΟ MF.DAT ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ - Ο ΠΕΛΑΤΗΣ ΔΕΝ ΒΡΕΘΗΚΕ";
    ASSERT_TRUE(t.waitFor(told)) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitGone(told)) << t.screen();
    t.keys("F4");
    for (int i = 0; i < 100 && TESTS::readFile(dism).size() == stored; ++i) usleep(50000);
    ASSERT_NE(TESTS::readFile(dism).size(), stored) << "stored";
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΚΑΤΑΧΩΡΗΣΗ ΝΕΑΣ")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("1-9→Επιλογή")) << t.screen();

    // The invoice editor's customer lookup takes nothing from the file and says why.
    t.text("6");
    ASSERT_TRUE(t.waitFor("ΠΙΣΤΩΤΙΚΑ ΤΙΜΟΛΟΓΙΑ")) << t.screen();
    t.text("1");
    ASSERT_TRUE(t.waitFor("ΓΕΝΙΚΟ ΣΥΝΟΛΟ")) << t.screen();
    t.keys("Enter");  // the proposed number
    t.keys("Enter");  // today
    t.keys("Enter");  // no declaration
    t.text("αλε");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("ΑΡΧΕΙΟ MF.DAT ΚΑΤΕΣΤΡΑΜΜΕΝΟ.")) << t.screen();
    EXPECT_NE(t.screen().find("Ο ΠΕΛΑΤΗΣ ΔΕΝ ΒΡΕΘΗΚΕ."), std::string::npos) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitGone("ΚΑΤΕΣΤΡΑΜΜΕΝΟ")) << t.screen();
    // Rows 2 to 4 of the editor hold the customer's name, address, town and tax number: only the
    // typed name is there.
    for (int y = 2; y <= 4; ++y) EXPECT_EQ(t.line(y).find("ΑΛΕΞ"), std::string::npos) << t.screen();

    // The stored declaration: box 22 as typed, the boxes around it and the customer fields empty.
    PLAT::setThrowOnExit(true);
    TESTS::headless();
    TESTS::loadMasks();
    UMAS::PATH = "DATABASE\\ARXEIO0\\";
    ASSERT_TRUE(BOD::SETFORM("IMP"));
    BOD::TM = UMAS::LEJU("500", 10);
    BOD::LL = 23;
    EK0::CHO();
    ASSERT_TRUE(BOD::BOO);
    ASSERT_TRUE(EK0::DISF_RUF(true));
    EXPECT_EQ(UMAS::CUTLEADSPACES(BOD::SOB(BOD::DIA, BOD::GV, 22)), PLAT::gr("ΑΛΕ"));
    for (int b : {21, 24, 25}) EXPECT_EQ(UMAS::CUTLEADSPACES(BOD::SOB(BOD::DIA, BOD::GV, b)), "") << b;
    // Box 23 holds only the separator of an empty address and town, as after any lookup that finds
    // no customer.
    EXPECT_EQ(UMAS::CUTLEADSPACES(BOD::SOB(BOD::DIA, BOD::GV, 23)), " -");
    for (const std::string* f : {&BOD::AF, &BOD::ON, &BOD::DI, &BOD::PO, &BOD::TK, &BOD::EP, &BOD::EF, &BOD::SX})
        EXPECT_FALSE(hasControl(*f)) << *f;
    EXPECT_FALSE(hasControl(BOD::EA));
    EXPECT_EQ(BOD::PR, BOD::NO_CUSTOMER);
}

}  // namespace
