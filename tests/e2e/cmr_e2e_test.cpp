// The real program in a terminal: a stored export, F3, row 8: the CMR note B is filled from the
// declaration; Tab on the serial field shows 1; F4 stores it; Shift-F1 and N print it into the port
// file and move the counter to 2; F6 opens the TIR carnet.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/store_form.h"
#include "e2e/demo_e2e.h"
#include "platform/fatal.h"
#include "print/prns.h"
#include "shell/install.h"

namespace {

bool waitFile(const std::string& path, const std::string& content) {
    for (int i = 0; i < 100; ++i) {
        const std::string s = TESTS::readFile(path);
        if (content.empty() ? !s.empty() : s == content) return true;
        usleep(50000);
    }
    return false;
}

TEST(CmrEndToEnd, NoteBFilledNumberedStoredPrintedAndTheCarnet) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    INSTALL::makeInstallation(work.path(), "DATABASE", INSTALL::demoCompanies(), KORVEX_MSK);
    ASSERT_TRUE(DEMOE2E::storeDeclaration(
        "EXP", "700", "150324",
        {{12, "SENDER SA"}, {22, "BUYER GMBH"}, {72, "FRESH ORANGES"}, {142, "    EXP"}}));
    TESTS::writeFile(work.file("PORTS.TXT"), "LPT2 lpt2.out\n");
    mkdir(work.file("ETC").c_str(), 0777);
    UMAS::USER_ID = "1";
    PRNS::writeParEkt(UMAS::PE_CMRB, PRNS::PAR_EKT{66, 0, 0, 2, 1});

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(DEMOE2E::newDeclaration(t, "2", "ΕΞΑΓΩΓΗΣ", "700")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("SENDER SA")) << t.screen();
    t.keys("F3");
    ASSERT_TRUE(t.waitFor("ΚΑΡΝΕ TIR")) << t.screen();
    t.text("08");
    ASSERT_TRUE(t.waitFor("ΕΝΤΥΠΟ Β")) << t.screen();
    EXPECT_NE(t.screen().find("FRESH ORANGES"), std::string::npos) << "filled from the declaration";
    for (int i = 0; i < 13; ++i) t.keys("Down");
    t.keys("Tab");
    EXPECT_TRUE(t.waitForLine(6, " 1")) << t.screen();
    t.keys("F4");
    const std::string note = work.file("DATABASE/ARXEIO0/700.cmb");
    for (int i = 0; i < 100 && TESTS::readFile(note).size() != 1545; ++i) usleep(50000);
    EXPECT_EQ(TESTS::readFile(note).size(), 1545u);
    t.keys("S-F1");
    ASSERT_TRUE(t.waitFor("(Ν/Ο) ?")) << t.screen();
    t.text("N");
    ASSERT_TRUE(waitFile(work.file("lpt2.out"), ""));
    EXPECT_TRUE(waitFile(work.file("DATABASE/ARXEIO0/AA_CMR.TXT"), "2\r\n"));
    EXPECT_NE(TESTS::readFile(work.file("lpt2.out")).find("FRESH ORANGES"), std::string::npos);
    t.keys("F6");
    ASSERT_TRUE(t.waitFor("ΚΑΡΝΕ TIR")) << t.screen();
    ASSERT_TRUE(t.waitFor("ΑΡΙΘΜΟΣ / ΚΑΤΟΧΟΣ")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΕΝΤΥΠΟ Β")) << t.screen();
}

}  // namespace
