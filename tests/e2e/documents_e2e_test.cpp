// The real program in a terminal: a stored import printed on the pre-printed form with Shift-F1, then
// a certificate of origin from the documents menu (F3); the print counter goes up once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/store_form.h"
#include "e2e/demo_e2e.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "config/params.h"
#include "print/prns.h"
#include "shell/install.h"

namespace {

using DEMOE2E::waitNonEmpty;

TEST(DocumentsEndToEnd, DeclarationPrintAndCertificateOfOrigin) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    INSTALL::makeInstallation(work.path(), "DATABASE", INSTALL::demoCompanies(), KORVEX_MSK);

    // An import of 15 March 2024 stored through the store.
    ASSERT_TRUE(DEMOE2E::storeDeclaration("IMP", "500", "150324", {{9, "150324"}, {22, "RECEIVER"}, {142, "    IMP"}}));

    // The declaration form prints to LPT1, the certificate of origin to LPT2, both into files.
    TESTS::writeFile(work.file("PORTS.TXT"), "LPT1 lpt1.out\nLPT2 lpt2.out\n");
    mkdir(work.file("ETC").c_str(), 0777);
    UMAS::USER_ID = "1";
    PRNS::writeParEkt(UMAS::PE_DIAS, PRNS::PAR_EKT{66, 0, 0, 1, 1});
    PRNS::writeParEkt(UMAS::PE_PIKA, PRNS::PAR_EKT{66, 0, 0, 2, 1});
    const std::string hdd = work.file("DATABASE/ARXEIO0/HDD.DAT");
    TESTS::writeFile(hdd, std::string("\x29\x00", 2));

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(DEMOE2E::newDeclaration(t, "1", "ΕΙΣΑΓΩΓΗΣ", "500")) << t.screen();
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

TEST(DocumentsEndToEnd, ExportInvoiceFilledNumberedStoredAndPrinted) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    INSTALL::makeInstallation(work.path(), "DATABASE", INSTALL::demoCompanies(), KORVEX_MSK);
    ASSERT_TRUE(DEMOE2E::storeDeclaration("EXP", "600", "150324",
                                          {{12, "SENDER SA"}, {22, "BUYER GMBH"}, {142, "    EXP"}}));
    // the map puts boxes 12 and 22 into the first two lines; the layout prints them and goods line 1
    std::string map(PARAMS::PARD2_SIZE, '\0');
    PARAMS::RECPARTIM3{12, "EXPORTER"}.encode(reinterpret_cast<uint8_t*>(map.data()));
    PARAMS::RECPARTIM3{22, "BUYER"}.encode(reinterpret_cast<uint8_t*>(map.data()) + PARAMS::RECPARTIM3::SIZE);
    PARAMS::KATPAR("ParD2In1", reinterpret_cast<const uint8_t*>(map.data()), map.size());
    std::string lay(PARAMS::PARDOC_SIZE, '\0');
    auto row = [&](int r, int col, int line) {
        PARAMS::RECPARTIM4 x;
        x.COL = uint8_t(col);
        x.ROW = uint8_t(line);
        x.encode(reinterpret_cast<uint8_t*>(lay.data()) + size_t(r - 1) * PARAMS::RECPARTIM4::SIZE);
    };
    row(31, 5, 2);
    row(32, 5, 3);
    row(43, 60, 1);
    row(55, 5, 10);
    PARAMS::KATPAR("ParInv1", reinterpret_cast<const uint8_t*>(lay.data()), lay.size());
    TESTS::writeFile(work.file("PORTS.TXT"), "LPT3 lpt3.out\n");
    mkdir(work.file("ETC").c_str(), 0777);
    UMAS::USER_ID = "1";
    PRNS::writeParEkt(UMAS::PE_INV1, PRNS::PAR_EKT{66, 0, 0, 3, 1});

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(DEMOE2E::newDeclaration(t, "2", "ΕΞΑΓΩΓΗΣ", "600")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("SENDER SA")) << t.screen();
    t.keys("F3");
    ASSERT_TRUE(t.waitFor("ΤΙΜΟΛΟΓΙΟ ΕΞΑΓΩΓΗΣ 1")) << t.screen();
    t.text("14");
    ASSERT_TRUE(t.waitFor("INVOICE 1")) << t.screen();
    t.keys("Tab");
    ASSERT_TRUE(t.waitFor("BUYER GMBH")) << t.screen();
    for (int i = 1; i < 13; ++i) t.keys("Enter");
    t.keys("Tab");
    usleep(300000);
    for (int i = 13; i < 25; ++i) t.keys("Enter");
    t.text("GREEN OLIVES");
    t.keys("Enter");
    t.keys("F4");
    const std::string counter = work.file("DATABASE/ARXEIO0/ARINV1.DAT");
    for (int i = 0; i < 100 && TESTS::readFile(counter) != "2\r\n"; ++i) usleep(50000);
    EXPECT_EQ(TESTS::readFile(counter), "2\r\n");
    t.keys("S-F1");
    ASSERT_TRUE(t.waitFor("ΑΝΑΛΥΣΗ ΕΙΔΩΝ")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΕΚΤΥΠΩΣΗ (Ν/Ο) ?")) << t.screen();
    t.text("N");
    ASSERT_TRUE(waitNonEmpty(work.file("lpt3.out")));
    const std::string out = TESTS::readFile(work.file("lpt3.out"));
    EXPECT_NE(out.find("GREEN OLIVES"), std::string::npos);
    EXPECT_NE(out.find("SENDER SA"), std::string::npos);
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΤΙΜΟΛΟΓΙΟ ΕΞΑΓΩΓΗΣ 1")) << t.screen();
}

}  // namespace
