// The real program in a terminal: row 2 of the documents menu opens the party block before the
// vehicle clearance certificate, and what the clerk types there and in the vehicle (without its
// kind) is printed; the alternate view
// shows box 208 from box 88, asks its print question in words and gives the editor's screen back.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/umas.h"
#include "e2e/demo_e2e.h"
#include "platform/codepage.h"
#include "print/prns.h"
#include "shell/install.h"

namespace {

using DEMOE2E::waitNonEmpty;

TEST(CertificatesEndToEnd, PartyBlockBeforeTheVehicleClearanceCertificate) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    INSTALL::makeInstallation(work.path(), "DATABASE", INSTALL::demoCompanies(), KORVEX_MSK);
    ASSERT_TRUE(DEMOE2E::storeDeclaration(
        "IMP", "700", "150324", {{22, "RECEIVER"}, {72, "CAR"}, {100, "  15000.00"}, {142, "    IMP"}}));
    TESTS::writeFile(work.file("PORTS.TXT"), "LPT2 lpt2.out\n");
    mkdir(work.file("ETC").c_str(), 0777);
    UMAS::USER_ID = "1";
    PRNS::writeParEkt(UMAS::PE_PIMH, PRNS::PAR_EKT{66, 0, 0, 2, 1});

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(DEMOE2E::newDeclaration(t, "1", "ΕΙΣΑΓΩΓΗΣ", "700")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("RECEIVER")) << t.screen();
    t.keys("F3");
    ASSERT_TRUE(t.waitFor("02. ΠΙΣΤΟΠΟΙΗΤΙΚΟ ΕΚΤΕΛΩΝΙΣΜΟΥ")) << t.screen();
    t.text("02");
    // The party block first, with its proposals.
    ASSERT_TRUE(t.waitFor("ΣΤΟΙΧΕΙΑ ΠΙΣΤΟΠΟΙΗΤΙΚΟΥ")) << t.screen();
    const std::string block = t.screen();
    EXPECT_NE(block.find("15000.00 ΕΥΡΩ"), std::string::npos) << block;
    EXPECT_NE(block.find("15-03-24"), std::string::npos) << block;
    EXPECT_NE(block.find("ΑΝΟΙΚΤΟ-ΚΛΕΙΣΤΟ"), std::string::npos) << block;
    EXPECT_EQ(block.find("ΟΧΗΜΑΤΑ ΕΙΔΟΥΣ"), std::string::npos) << "the vehicles come after the block";
    t.keys("Enter");
    t.keys("Enter");
    t.text("IOANNIS");  // the father's name
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("IOANNIS")) << t.screen();
    t.keys("Escape");
    // Then the certificate: its vehicles, the question and the copies. The vehicle's kind is left
    // empty: no vehicle counts, and what was typed is printed all the same.
    ASSERT_TRUE(t.waitFor("ΟΧΗΜΑΤΑ ΕΙΔΟΥΣ")) << t.screen();
    DEMOE2E::typeFields(t, {"", "FIAT", "DUCATO", "ZFA25000001234567"});
    ASSERT_TRUE(t.waitFor("ZFA25000001234567")) << t.screen();
    for (int i = 0; i < 4 && t.screen().find("ΕΚΤΥΠΩΣΗ (Ν/Ο) ?") == std::string::npos; ++i) {
        t.keys("Escape");
        usleep(300000);
    }
    ASSERT_TRUE(t.waitFor("ΕΚΤΥΠΩΣΗ (Ν/Ο) ?")) << t.screen();
    t.text("N");
    usleep(200000);
    t.keys("Enter");  // one copy
    ASSERT_TRUE(waitNonEmpty(work.file("lpt2.out"))) << t.screen();
    const std::string out = TESTS::readFile(work.file("lpt2.out"));
    EXPECT_NE(out.find(PLAT::gr(" του IOANNIS")), std::string::npos);
    EXPECT_NE(out.find("FIAT" + std::string(26, ' ')), std::string::npos) << out;
    EXPECT_NE(out.find("DUCATO" + std::string(24, ' ')), std::string::npos) << out;
    EXPECT_NE(out.find("ZFA25000001234567"), std::string::npos) << out;
    EXPECT_FALSE(TESTS::exists(work.file("DATABASE/ARXEIO0/700.O1"))) << "no vehicle counts: no vehicle file";
    ASSERT_TRUE(t.waitFor("02. ΠΙΣΤΟΠΟΙΗΤΙΚΟ ΕΚΤΕΛΩΝΙΣΜΟΥ")) << t.screen();
}

TEST(CertificatesEndToEnd, AlternateViewBox208QuestionsAndTheEditorsScreenBack) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    INSTALL::makeInstallation(work.path(), "DATABASE", INSTALL::demoCompanies(), KORVEX_MSK);
    ASSERT_TRUE(DEMOE2E::storeDeclaration("IMP", "701", "150324",
                                          {{22, "RECEIVER"}, {88, "N830:A/B/C"}, {142, "    IMP"}}));
    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(DEMOE2E::newDeclaration(t, "1", "ΕΙΣΑΓΩΓΗΣ", "701")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("RECEIVER")) << t.screen();
    // The declaration's own print asks in words; no prints nothing.
    t.keys("S-F1");
    ASSERT_TRUE(t.waitFor("■" + std::string(15, ' ') + "ΕΚΤΥΠΩΣΗ (Ν/Ο) ?")) << t.screen();
    t.text("O");
    t.keys("F7");
    ASSERT_TRUE(t.waitFor("αα 208")) << t.screen();
    std::string view = t.screen();
    EXPECT_EQ(view.find("RECEIVER"), std::string::npos) << view;
    bool box208 = false;  // a line with the reduced reference and without box 88's whole text
    for (size_t b = 0, e; b < view.size(); b = e + 1) {
        e = view.find('\n', b);
        if (e == std::string::npos) e = view.size();
        const std::string line = view.substr(b, e - b);
        box208 = box208 || (line.find(" A/B ") != std::string::npos && line.find("N830") == std::string::npos);
    }
    EXPECT_TRUE(box208) << view;
    t.keys("S-F1");
    ASSERT_TRUE(t.waitFor("■" + std::string(15, ' ') + "ΕΚΤΥΠΩΣΗ (Ν/Ο) ?")) << t.screen();
    t.text("O");
    t.keys("M-F1");
    ASSERT_TRUE(t.waitFor("■" + std::string(12, ' ') + "ΕΚΤΥΠΩΣΗ A4 (Ν/Ο) ?")) << t.screen();
    t.text("O");
    usleep(200000);
    // F7 leaves: the editor's page is back without a page key.
    t.keys("F7");
    ASSERT_TRUE(t.waitFor("RECEIVER")) << t.screen();
    EXPECT_EQ(t.screen().find("αα 208"), std::string::npos) << t.screen();
    EXPECT_FALSE(TESTS::exists(work.file("DIA2.XML"))) << "no at the A4 question writes nothing";
}

}  // namespace
