// The demo installation through the real program with the signing stand-in running and a table of
// the invoices emptied to 0 bytes: the table is told as a missing one, on the message bar of row 23
// until a key, before anything is stored, signed or printed; after the print the key legend of rows
// 23 to 25 stands as it stood.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "e2e/demo_e2e.h"
#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "invoicing/tim0.h"

namespace fs = std::filesystem;

namespace {

class EmptyInvoiceTable : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
        ASSERT_TRUE(DEMOE2E::layOutDemo(work));
        dir = work.file("DATABASE/ARXEIO0");
    }
    // The table NAME of the first company emptied, the signing stand-in started with its log of
    // requests, and the program started.
    void start(const std::string& name) {
        TESTS::writeFile(dir + "/" + name + ".dat", "");
        ASSERT_EQ(fs::file_size(dir + "/" + name + ".dat"), 0u);
        server = std::make_unique<DEMOE2E::SigningServer>(std::vector<std::string>{
            "--settings", "DATABASE/ARXEIO0/formi_01.txt", "--state", work.file("SRVSTATE"), "--now",
            "10/12/26 09:05", "--log", log()});
        t = std::make_unique<TESTS::Tmux>(work.path(), DEMOE2E::fixedClockCommand());
    }
    std::string log() const { return work.file("signing.log"); }
    static std::string notFound(const std::string& name) {
        return "file not found DATABASE\\ARXEIO0\\" + name + ".dat call VALTERO";
    }
    // The files that a store, a signature or a print changes.
    std::string written() const {
        std::string s;
        for (const std::string& f : {dir + "/TM.DAT", log(), work.file("drives/ports/LPT1")})
            s += f + ": " + (TESTS::exists(f) ? TESTS::readFile(f) : "-") + "\n";
        std::error_code ec;
        for (fs::directory_iterator it(work.file("SRVSTATE/signed"), ec), end; !ec && it != end; it.increment(ec))
            s += it->path().string() + "\n";
        return s;
    }
    // The line for NAME on row 23, still there a moment later, with nothing stored, signed or printed
    // since it came.
    void toldAndWaiting(const std::string& name) {
        ASSERT_TRUE(t->waitForLine(23, notFound(name))) << t->screen();
        const std::string before = written();
        usleep(700000);
        EXPECT_NE(t->line(23).find(notFound(name)), std::string::npos) << t->screen();
        EXPECT_EQ(written(), before);
    }
    std::string rows23to25() const { return t->line(23) + "\n" + t->line(24) + "\n" + t->line(25); }

    TESTS::TempWorkDir work;
    std::string dir;
    std::unique_ptr<DEMOE2E::SigningServer> server;
    std::unique_ptr<TESTS::Tmux> t;
};

TEST_F(EmptyInvoiceTable, EmptiedItemHeadingsAreToldWhenTheEditorOpensUntilAKey) {
    start("PARTIM1");
    ASSERT_TRUE(DEMOE2E::toInvoicesMenu(*t)) << t->screen();
    t->text("1");
    toldAndWaiting("PARTIM1");
    EXPECT_EQ(TESTS::readFile(dir + "/TM.DAT"), "");
    EXPECT_EQ(TESTS::readFile(log()), "");
    t->text("7");  // the key only takes the message away
    ASSERT_TRUE(t->waitGone(notFound("PARTIM1"))) << t->screen();
    ASSERT_TRUE(t->waitFor("ΦΠΑ %")) << t->screen();
    EXPECT_NE(t->screen().find("Αρ.    1.... "), std::string::npos) << t->screen();
    EXPECT_EQ(DEMOE2E::endFromInvoiceEditor(*t), 0) << t->screen();
}

TEST_F(EmptyInvoiceTable, AnEmptiedLayoutIsToldBeforeTheStoreAndThePrintAndTheLegendStaysAfterIt) {
    start("PARTIM4");
    ASSERT_TRUE(DEMOE2E::toInvoicesMenu(*t)) << t->screen();
    t->text("1");
    toldAndWaiting("PARTIM4");
    t->text(" ");
    ASSERT_TRUE(t->waitFor("ΦΠΑ %")) << t->screen();
    const std::string legend = rows23to25();

    ASSERT_TRUE(DEMOE2E::newInvoiceForAlexiou(*t)) << t->screen();
    t->text("100");
    t->keys("Enter");
    ASSERT_TRUE(t->waitFor("124.00")) << t->screen();
    t->keys("S-F1");
    ASSERT_TRUE(t->waitFor("ΣΤΟΙΧΕΙΑ ΤΙΜΟΛΟΓΙΟΥ")) << t->screen();
    t->keys("Escape");  // the detail lines; then the message before the store and the print question
    toldAndWaiting("PARTIM4");
    EXPECT_EQ(TESTS::readFile(dir + "/TM.DAT"), "");
    EXPECT_EQ(TESTS::readFile(log()), "");
    EXPECT_FALSE(TESTS::exists(work.file("drives/ports/LPT1")));
    t->text(" ");
    ASSERT_TRUE(t->waitFor("(Ν/Ο)")) << t->screen();
    t->text("N");
    ASSERT_TRUE(t->waitFor("2....", 20000)) << t->screen();  // the copies signed and printed
    EXPECT_EQ(TESTS::readFile(dir + "/TM.DAT").size(), TIM0::RTIM::SIZE);
    EXPECT_FALSE(fs::is_empty(work.file("SRVSTATE/signed")));
    EXPECT_EQ(rows23to25(), legend) << t->screen();

    // Opened again and cancelled: told again before the cancellation is signed or printed.
    t->keys("C-y");
    t->text("1");
    t->keys("Enter");
    ASSERT_TRUE(t->waitFor("ΣΗΜΑΝΣΗΣ ΕΑΦΔΣΣ")) << t->screen();
    t->keys("Enter");  // date
    t->keys("Enter");  // declaration
    t->keys("Enter");  // the customer, confirmed by the load
    t->keys("S-F10");
    toldAndWaiting("PARTIM4");
    t->text(" ");
    ASSERT_TRUE(t->waitFor("ΑΚΥΡΩΤΙΚΟ ΤΠΥ")) << t->screen();
    t->text("N");
    ASSERT_EQ(DEMOE2E::fileOnce(dir + "/AKAR.DAT", [](const std::string& b) { return !b.empty(); }).size(), 4u);
    ASSERT_TRUE(t->waitFor("2....", 20000)) << t->screen();
    EXPECT_EQ(rows23to25(), legend) << t->screen();
    EXPECT_EQ(DEMOE2E::endFromInvoiceEditor(*t), 0) << t->screen();
}

}  // namespace
