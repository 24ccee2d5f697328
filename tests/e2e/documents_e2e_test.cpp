// The real program in a terminal: a stored import printed on the pre-printed form with Shift-F1, then
// a certificate of origin from the documents menu (F3); the print counter goes up once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/store_form.h"
#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "print/prns.h"
#include "shell/install.h"

namespace {

bool waitNonEmpty(const std::string& path) {
    for (int i = 0; i < 100; ++i) {
        if (!TESTS::readFile(path).empty()) return true;
        usleep(50000);
    }
    return false;
}

TEST(DocumentsEndToEnd, DeclarationPrintAndCertificateOfOrigin) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    auto companies = INSTALL::demoCompanies();
    INSTALL::makeInstallation(work.path(), "DATABASE", companies, KORVEX_MSK);

    // An import of 15 March 2024 stored through the store.
    PLAT::setThrowOnExit(true);
    TESTS::headless();
    TESTS::loadMasks();
    UMAS::PATH = "DATABASE\\ARXEIO0\\";
    ASSERT_TRUE(BOD::SETFORM("IMP"));
    for (int b = 1; b <= BOD::BOXES; ++b) BOD::BOS(BOD::DIA, BOD::GV, b, "");
    BOD::BOS(BOD::DIA, BOD::GV, 1, "500");
    BOD::BOS(BOD::DIA, BOD::GV, 8, "150324");
    BOD::BOS(BOD::DIA, BOD::GV, 9, "150324");
    BOD::BOS(BOD::DIA, BOD::GV, 22, "RECEIVER");
    BOD::BOS(BOD::DIA, BOD::GV, 142, "    IMP");
    BOD::TM = UMAS::LEJU("500", 10);
    BOD::HM = "150324";
    BOD::AY = BOD::MOT{};
    BOD::PR = BOD::NO_CUSTOMER;
    BOD::BOO = false;
    BOD::CSM = -1;
    ASSERT_TRUE(EK0::KATD().stored);

    // The declaration form prints to LPT1, the certificate of origin to LPT2, both into files.
    TESTS::writeFile(work.file("PORTS.TXT"), "LPT1 lpt1.out\nLPT2 lpt2.out\n");
    mkdir(work.file("ETC").c_str(), 0777);
    UMAS::USER_ID = "1";
    PRNS::writeParEkt(UMAS::PE_DIAS, PRNS::PAR_EKT{66, 0, 0, 1, 1});
    PRNS::writeParEkt(UMAS::PE_PIKA, PRNS::PAR_EKT{66, 0, 0, 2, 1});
    const std::string hdd = work.file("DATABASE/ARXEIO0/HDD.DAT");
    TESTS::writeFile(hdd, std::string("\x29\x00", 2));

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor(companies[0][0])) << t.screen();
    t.text("1");
    ASSERT_TRUE(t.waitFor("ΕΙΣΑΓΩΓΗΣ")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
    t.text("500");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("RECEIVER")) << t.screen();

    t.keys("S-F1");
    ASSERT_TRUE(t.waitFor("(Ν/Ο) ?")) << t.screen();
    t.text("N");
    ASSERT_TRUE(waitNonEmpty(work.file("lpt1.out")));
    for (int i = 0; i < 100 && TESTS::readFile(hdd) != std::string("\x2A\x00", 2); ++i) usleep(50000);
    EXPECT_NE(TESTS::readFile(work.file("lpt1.out")).find("15/03/24"), std::string::npos);
    EXPECT_EQ(TESTS::readFile(hdd), std::string("\x2A\x00", 2)) << "one higher";

    t.keys("F3");
    ASSERT_TRUE(t.waitFor("ΠΙΣΤΟΠΟΙΗΤΙΚΟ ΚΑΤΑΓΩΓΗΣ")) << t.screen();
    t.text("05");
    ASSERT_TRUE(t.waitFor("ΠΕΡΙΓΡΑΦΗ ΕΜΠΟΡΕΥΜΑΤΩΝ")) << t.screen();
    t.text("TEN BOXES OF ORANGES");
    t.keys("Enter");
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΕΚΤΥΠΩΣΗ (Ν/Ο) ?")) << t.screen();
    t.text("N");
    ASSERT_TRUE(waitNonEmpty(work.file("lpt2.out")));
    EXPECT_NE(TESTS::readFile(work.file("lpt2.out")).find("TEN BOXES OF ORANGES"), std::string::npos);
    EXPECT_EQ(TESTS::readFile(hdd), std::string("\x2A\x00", 2)) << "certificates do not count";
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("RECEIVER")) << t.screen();
}

}  // namespace
