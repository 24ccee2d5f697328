// The real program in a terminal with a file of the invoice or receipt store removed: the store is
// refused naming the file, nothing in the company folder is written, the program keeps running and
// the document stays on screen; with the file back it is stored, posted and linked. And a missing
// table of invoice item headings, told when the invoice editor opens, until a key.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "common/umas.h"
#include "customers/arp0.h"
#include "e2e/demo_e2e.h"
#include "e2e/invoices_e2e.h"
#include "invoicing/apodi.h"
#include "invoicing/tim0.h"
#include "platform/codepage.h"

namespace {

namespace fs = std::filesystem;

TEST(StoreFilesEndToEnd, AStoreWithAFileMissingIsRefusedWholeAndTheDocumentStays) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    const std::string dir = INVOICESE2E::install(work);
    const std::string th = TESTS::readFile(dir + "/TH.DAT");
    fs::remove(dir + "/TH.DAT");
    fs::remove(dir + "/APE.DAT");
    const auto before = TESTS::folderFiles(dir, true);

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(DEMOE2E::openInvoiceEditor(t)) << t.screen();
    ASSERT_TRUE(DEMOE2E::newInvoiceForAlexiou(t)) << t.screen();
    t.text("100");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("100.00")) << t.screen();

    // F1, then Shift-F1 (which stores before it prints): refused both times, nothing printed.
    t.keys("F1");
    ASSERT_TRUE(t.waitFor("ΑΡΧΕΙΟ TH.DAT ΔΕΝ ΥΠΑΡΧΕΙ.")) << t.screen();
    EXPECT_NE(t.screen().find("ΔΕΝ ΓΙΝΕΤΑΙ ΚΑΤΑΧΩΡΗΣΗ. Πατήστε ESC."), std::string::npos) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitGone("ΑΡΧΕΙΟ TH.DAT")) << t.screen();
    for (int i = 0; i < 5; ++i) t.keys("Enter");  // number, date, declaration, name looked up, confirmed
    t.keys("S-F1");
    ASSERT_TRUE(t.waitFor("ΣΤΟΙΧΕΙΑ")) << t.screen();  // the detail lines
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΑΡΧΕΙΟ TH.DAT ΔΕΝ ΥΠΑΡΧΕΙ.")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΤΟ ΠΑΡΑΣΤΑΤΙΚΟ ΔΕΝ ΚΑΤΑΧΩΡΗΘΗΚΕ.")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitGone("ΤΟ ΠΑΡΑΣΤΑΤΙΚΟ ΔΕΝ ΚΑΤΑΧΩΡΗΘΗΚΕ.")) << t.screen();
    const std::string onScreen = t.screen();
    EXPECT_NE(onScreen.find("100.00"), std::string::npos) << onScreen;
    EXPECT_EQ(TESTS::folderFiles(dir, true), before);
    EXPECT_FALSE(TESTS::exists(work.file("drives/ports/LPT1")));

    // The file back: the same document is stored, linked into both chains and posted.
    TESTS::writeFile(dir + "/TH.DAT", th);
    t.keys("F1");
    ASSERT_EQ(DEMOE2E::fileOnce(dir + "/TM.DAT", [](const std::string& b) { return !b.empty(); }).size(),
              TIM0::RTIM::SIZE);
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΑΠΟΔΕΙΞΕΙΣ ΠΛΗΡΩΜΗΣ")) << t.screen();

    // A collection receipt with the customer chain missing: refused the same way.
    const auto beforeReceipt = TESTS::folderFiles(dir, true);
    t.text("3");
    ASSERT_TRUE(t.waitFor("ΕΙΣΠΡΑΞΕΩΣ")) << t.screen();
    t.text("1");
    t.keys("Enter");
    t.keys("Enter");  // today
    t.keys("Enter");  // no declaration
    ASSERT_TRUE(DEMOE2E::customer(t, "αλε", "ΑΛΕΞΙΟΥ ΚΩΝΣΤΑΝΤΙΝΟΣ")) << t.screen();
    t.text("30");
    t.keys("Enter");
    t.keys("F1");
    ASSERT_TRUE(t.waitFor("ΑΡΧΕΙΟ APE.DAT ΔΕΝ ΥΠΑΡΧΕΙ.")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitGone("ΑΡΧΕΙΟ APE.DAT")) << t.screen();
    // Leaving with the store answered yes keeps the screen; "No" leaves it.
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("Η ΑΠΟΔΕΙΞΗ ΑΛΛΑΞΕ.")) << t.screen();
    t.text("N");
    ASSERT_TRUE(t.waitFor("ΑΡΧΕΙΟ APE.DAT ΔΕΝ ΥΠΑΡΧΕΙ.")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitGone("ΑΡΧΕΙΟ APE.DAT")) << t.screen();
    EXPECT_NE(t.screen().find("ΑΛΕΞΙΟΥ ΚΩΝΣΤΑΝΤΙΝΟΣ"), std::string::npos) << t.screen();
    EXPECT_NE(t.screen().find("30"), std::string::npos) << t.screen();
    EXPECT_EQ(TESTS::folderFiles(dir, true), beforeReceipt);
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("Η ΑΠΟΔΕΙΞΗ ΑΛΛΑΞΕ.")) << t.screen();
    t.text("O");
    ASSERT_TRUE(t.waitFor("ΑΠΟΔΕΙΞΕΙΣ ΠΛΗΡΩΜΗΣ")) << t.screen();
    EXPECT_EQ(DEMOE2E::endFromInvoicesMenu(t), 0) << t.screen();
    EXPECT_EQ(TESTS::readFile(dir + "/AM.DAT").size(), 0u);

    // The balance and the ledger agree: the customer carries the invoice once, and its chain has it.
    UMAS::PATH = dir + "/";
    ARP0::EA = ARP0::KEY(PLAT::gr("ΑΛΕΞΙΟΥ ΚΩΝΣΤΑΝΤΙΝΟΣ"));
    ASSERT_TRUE(ARP0::CHO(0));
    EXPECT_EQ(ARP0::R0.XR, int32_t(std::nearbyint(100 * 340.75)));
    EXPECT_EQ(ARP0::R0.PI, 0);
    EXPECT_EQ(APODI::WALK("TPE", int32_t(ARP0::XN)), std::vector<uint16_t>{0});
}

TEST(StoreFilesEndToEnd, MissingInvoiceHeadingsAreToldWhenTheEditorOpensUntilAKey) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    const std::string dir = INVOICESE2E::install(work);
    fs::remove(dir + "/PARTIM1.dat");

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(DEMOE2E::toInvoicesMenu(t)) << t.screen();
    t.text("1");
    const std::string line = "file not found DATABASE\\ARXEIO0\\PARTIM1.dat call VALTERO";
    ASSERT_TRUE(t.waitFor(line)) << t.screen();
    // On row 23, over the invoice form, and waiting: the next key only takes the message away.
    std::string s = t.screen();
    const size_t row23 = [&] {
        size_t p = 0;
        for (int i = 0; i < 22; ++i) p = s.find('\n', p) + 1;
        return p;
    }();
    EXPECT_NE(s.substr(row23, s.find('\n', row23) - row23).find(line), std::string::npos) << s;
    EXPECT_EQ(s.find("ΦΠΑ %"), std::string::npos) << s;
    t.text("7");
    ASSERT_TRUE(t.waitFor("ΦΠΑ %")) << t.screen();  // the form's row 23 again
    s = t.screen();
    EXPECT_EQ(s.find(line), std::string::npos) << s;
    EXPECT_NE(s.find("Αρ.    1.... "), std::string::npos) << s;  // the number field keeps its proposal 1
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΑΠΟΔΕΙΞΕΙΣ ΠΛΗΡΩΜΗΣ")) << t.screen();
    EXPECT_EQ(DEMOE2E::endFromInvoicesMenu(t), 0) << t.screen();
}

}  // namespace
