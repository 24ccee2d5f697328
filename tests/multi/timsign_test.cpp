// Printing invoices of a signing series against the stand-in signing server (tools/signsrv in a
// second process): three copies signed and their marks stored, a second print fetching the same
// signatures, a failure on copy 2 of 3, the faulty-device path and a cancellation.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/umas.h"
#include "config/params.h"
#include "helpers/fixture.h"
#include "helpers/invoices.h"
#include "invoicing/apodi.h"
#include "invoicing/formix.h"
#include "invoicing/tim.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/pause.h"
#include "screen/scr.h"

namespace fs = std::filesystem;
using PLAT::gr;

namespace {

class InvoiceSigning : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
        PLAT::setFixedNow(PLAT::DateTime{2026, 12, 10, 10, 0, 0, 0});
        UMAS::EURO = 340.75;
        PARAMS::PARTIM1 = {};
        PARAMS::PARTIM1[1] = gr("_ΑΜΟΙΒΗ");
        PARAMS::PARTIM1[18] = gr("ΛΟΙΠΑ=24");
        TIM0::FP = "24";
        TIM0::SEIRA.clear();
        FORMIX::FORMIXPATH = "C:\\EAFDSS";
        FORMIX::FORMIXSAA = 1;
        FORMIX::FORMIXBAD = 0;
        FORMIX::FORMIXSN.clear();
        folder = work->file("drives/c/EAFDSS");
        fs::create_directories(folder);
        state = work->file("SRVSTATE");
        PLAT::setPauseHook([](int) {});
        // The spool file of each copy is appended to one file by the installation's script.
        TESTS::writeFile("prn_tim.sh", "cat tim.txt >> spooled.prn\n");
        signing = 1;
    // A layout of two fields: the number and the customer.
        std::string layout(PARAMS::PARTIM4_SIZE, '\0');
        PARAMS::RECPARTIM4 f1{gr("@Αρ."), 0, 0, 5, 1, 0, 0};
        PARAMS::RECPARTIM4 f3{"", 0, 0, 10, 2, 0, 0};
        f1.encode(reinterpret_cast<uint8_t*>(layout.data()));
        f3.encode(reinterpret_cast<uint8_t*>(layout.data()) + 2 * PARAMS::RECPARTIM4::SIZE);
        TESTS::writeFile(company(0) + "/PARTIM4.dat", layout);
        series(3);
        TESTS::addCustomer("ΠΑΠΑΔΟΠΟΥΛΟΣ");
    }
    void TearDown() override {
        stopServer();
        PLAT::setPauseHook(nullptr);
        PLAT::setFixedNow(std::nullopt);
        UMAS::EURO = 0;
        FORMIX::FORMIXPATH.clear();
        FORMIX::FORMIXBAD = 0;
        Installation::TearDown();
    }
    // The unnamed series: printed on "USB" with the EpsonFX driver, signed, `copies` copies.
    void series(int copies, int32_t aa = 1) {
        PARAMS::SEIRESTABLE s{};
        s[0].AA = aa;
        s[0].PORTA = 6;
        s[0].EMUL = 1;
        s[0].MIKSEL = 66;
        s[0].POLAP = uint8_t(copies);
        s[0].FORMIX = uint8_t(signing);
        std::string b(PARAMS::SEIRES_SIZE, '\0');
        PARAMS::encodeSEIRES(s, reinterpret_cast<uint8_t*>(b.data()));
        TESTS::writeFile(company(0) + "/SEIRES.DAT", b);
    }
    int32_t AA() const {
        std::string b = TESTS::readFile(company(0) + "/SEIRES.DAT");
        return PARAMS::decodeSEIRES(reinterpret_cast<const uint8_t*>(b.data()))[0].AA;
    }
    TIM0::RTIM record(size_t r) const {
        std::string b = TESTS::readFile(company(0) + "/TM.DAT");
        return TIM0::RTIM::decode(reinterpret_cast<const uint8_t*>(b.data()) + r * TIM0::RTIM::SIZE);
    }
    int32_t markAt(size_t r, int copy) const {
        std::string b = TESTS::readFile(company(0) + "/TM.DAT");
        return PLAT::getL(reinterpret_cast<const uint8_t*>(b.data()) + r * TIM0::RTIM::SIZE + 1593 + 4 * (copy - 1));
    }

    pid_t startServer(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args = {KORVEX_SIGNSRV, "--state", state, "--now", "10/12/26 10:00"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(folder);
        server = TESTS::startSigningServer(args, state);
        return server;
    }
    void stopServer() {
        if (server <= 0) return;
        int st = 0;
        if (waitpid(server, &st, WNOHANG) == 0) {
            kill(server, SIGTERM);
            waitpid(server, &st, 0);
        }
        server = -1;
    }

    // A new stored invoice (number n, one charge line), opened in t.
    void newInvoice(TIM::TIMOS& t, int n) {
        ASSERT_FALSE(TESTS::openDoc(t, n));
        TESTS::setCustomer("ΠΑΠ");
        TIM0::XR[1] = 100;
        ASSERT_TRUE(t.KTT(true, false));
    }
    bool print(TIM::TIMOS& t, int kind, const std::string& answers = "N") {
        con->keys(answers);
        const bool r = kind == 1 ? t.CANCEL() : t.PRINTPARAST(kind);
        EXPECT_EQ(con->pending(), 0u);
        EXPECT_EQ(SCR::STACKPOINTER(), 0);
        return r;
    }
    std::string spooled() {
        std::string s = TESTS::readFile("spooled.prn");
        fs::remove("spooled.prn");
        return s;
    }
    static int count(const std::string& s, const std::string& what) {
        int n = 0;
        for (size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
        return n;
    }

    std::string folder, state;
    pid_t server = -1;
    int signing = 1;
};

TEST_F(InvoiceSigning, ThreeCopiesSignedThenFetchedAgain) {
    startServer();
    TIM::TIMOS t;
    newInvoice(t, 1);
    EXPECT_EQ(AA(), 1);  // the clerk's store leaves a signing series' number alone
    ASSERT_TRUE(print(t, 0));
    const TIM0::RTIM r = record(0);
    for (int c = 1; c <= 3; ++c) {
        EXPECT_GT(markAt(0, c), 0) << c;
        EXPECT_EQ(markAt(0, c), t.PAIPS[size_t(c)]) << c;
    }
    EXPECT_NE(r.PAIPS[1], r.PAIPS[2]);
    EXPECT_NE(r.PAIPS[2], r.PAIPS[3]);
    EXPECT_EQ(r.PAIPS[4], 0);
    EXPECT_EQ(AA(), 2);
    EXPECT_EQ(FORMIX::FORMIXSN, "KVX00000001");
    const std::string first = spooled();
    EXPECT_EQ(count(first, gr("Αρ.") + " 1"), 3);
    EXPECT_EQ(count(first, "KVX00000001"), 3) << first;

    // Printed again: the same signatures are fetched and nothing is stored.
    const std::string before = TESTS::readFile(company(0) + "/TM.DAT");
    ASSERT_TRUE(print(t, 0));
    EXPECT_EQ(TESTS::readFile(company(0) + "/TM.DAT"), before);
    EXPECT_EQ(spooled(), first);
    EXPECT_EQ(AA(), 2);
}

TEST_F(InvoiceSigning, AFailureOnCopy2And3TheNextPrintCompletes) {
    startServer({"--count", "1"});
    TIM::TIMOS t;
    t.SIGNTIMEOUT = 1;
    newInvoice(t, 1);
    EXPECT_FALSE(print(t, 0));
    EXPECT_GT(markAt(0, 1), 0);
    EXPECT_EQ(markAt(0, 2), 0);
    EXPECT_EQ(markAt(0, 3), 0);
    EXPECT_EQ(count(spooled(), gr("Αρ.") + " 1"), 1);
    EXPECT_EQ(AA(), 2);
    stopServer();

    startServer();
    ASSERT_TRUE(print(t, 0));
    EXPECT_GT(markAt(0, 2), markAt(0, 1));
    EXPECT_GT(markAt(0, 3), markAt(0, 2));
    EXPECT_EQ(count(spooled(), "KVX00000001"), 3);
}

TEST_F(InvoiceSigning, FaultyDevicePrintsWithoutMarks) {
    FORMIX::FORMIXBAD = 1;
    FORMIX::FORMIXSN = "KVX00000001";
    TIM::TIMOS t;
    newInvoice(t, 1);
    // "No" at the faulty-device question: nothing printed, nothing stored.
    EXPECT_FALSE(print(t, 0, "NO"));
    EXPECT_EQ(markAt(0, 1), 0);
    EXPECT_EQ(spooled(), "");
    ASSERT_TRUE(print(t, 0, "NN"));
    for (int c = 1; c <= 3; ++c) EXPECT_EQ(markAt(0, c), -1) << c;
    EXPECT_EQ(AA(), 2);
    EXPECT_EQ(count(spooled(), gr("ΧΩΡΙΣ ΣΗΜΑΝΣΗ ΛΟΓΩ ΒΛΑΒΗΣ ΤΗΣ ΕΑΦΔΣΣ ΜΕ ΑΡ.ΜΗΤΡΩΟΥ: KVX00000001")), 3);
}

TEST_F(InvoiceSigning, AMarkTheStoreRefusesIsNotPrinted) {
    FORMIX::FORMIXBAD = 1;
    FORMIX::FORMIXSN = "KVX00000001";
    TIM::TIMOS t;
    newInvoice(t, 1);
    const std::string th = company(0) + "/TH.DAT";
    const std::string kept = TESTS::readFile(th);
    fs::remove(th);
    // The mark of copy 1 cannot be stored: the copy is not printed and the refusal waits for Esc.
    con->keys("NN");
    con->ch(27);
    EXPECT_FALSE(t.PRINTPARAST(0));
    EXPECT_EQ(con->pending(), 0u);
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
    EXPECT_EQ(spooled(), "");
    EXPECT_EQ(markAt(0, 1), 0);
    // With the file back the same document, as stored, prints and stores its marks.
    TESTS::writeFile(th, kept);
    ASSERT_TRUE(print(t, 0, "NN"));
    for (int c = 1; c <= 3; ++c) EXPECT_EQ(markAt(0, c), -1) << c;
    EXPECT_EQ(count(spooled(), gr("ΧΩΡΙΣ ΣΗΜΑΝΣΗ")), 3);
}

TEST_F(InvoiceSigning, RefusedPrints) {
    TIM::TIMOS t;
    // Not stored: never printed.
    ASSERT_FALSE(TESTS::openDoc(t, 1));
    TESTS::setCustomer("ΠΑΠ");
    TIM0::XR[1] = 10;
    // Every wait for a key is answered with Esc.
    con->onIdle = [this] { con->ch(27); };
    EXPECT_FALSE(t.PRINTPARAST(0));
    // A number other than the series' next one.
    series(3, 5);
    ASSERT_TRUE(t.KTT(true, false));
    con->ch('N');
    EXPECT_FALSE(t.PRINTPARAST(0));
    con->onIdle = nullptr;
    EXPECT_EQ(spooled(), "");
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

TEST_F(InvoiceSigning, CancellationWithoutAkar) {
    startServer();
    series(2);
    TIM::TIMOS t;
    newInvoice(t, 1);
    ASSERT_TRUE(print(t, 0));
    spooled();
    ASSERT_FALSE(TESTS::exists(company(0) + "/AKAR.DAT"));

    // Declined: the number is not used up.
    EXPECT_FALSE(print(t, 1, "O"));
    EXPECT_FALSE(TESTS::exists(company(0) + "/AKAR.DAT"));
    EXPECT_EQ(record(0).AKNUM, 0);

    ASSERT_TRUE(print(t, 1));
    const TIM0::RTIM r = record(0);
    EXPECT_EQ(r.AKNUM, 1);
    EXPECT_GT(r.AKPAIP, r.PAIPS[2]);
    EXPECT_EQ(TESTS::readFile(company(0) + "/AKAR.DAT"), std::string("\x01\0\0\0", 4));
    const std::string printed = spooled();
    EXPECT_EQ(count(printed, gr("Αρ.") + " 1"), 2);
    // Both copies carry the cancellation's one signature.
    EXPECT_EQ(count(printed, gr("  ΑΚΥΡΩΤΙΚΟ του ΤΠΥ με Αριθ: ")), 2);
}

TEST_F(InvoiceSigning, ASeriesWithoutSigningAndAChangedSignedDocument) {
    signing = 0;
    series(0);  // no copies set: one copy
    TIM::TIMOS t;
    newInvoice(t, 1);
    const std::string before = TESTS::readFile(company(0) + "/TM.DAT");
    ASSERT_TRUE(print(t, 0));
    EXPECT_EQ(TESTS::readFile(company(0) + "/TM.DAT"), before);
    EXPECT_EQ(count(spooled(), gr("Αρ.") + " 1"), 1);
    EXPECT_TRUE(fs::is_empty(folder));

    // A signed document changed afterwards: neither stored nor printed again.
    con->key(PLAT::SC::SF9);
    con->keys("42");
    con->ch(13);
    t.MANUALMARK();
    ASSERT_EQ(markAt(0, 1), 42);
    TIM0::XR[1] = 200;
    std::vector<std::string> notices;
    con->onIdle = [&] {
        notices.push_back(PLAT::cp737ToUtf8(con->text(3, 22, 36)));
        con->ch(27);
    };
    EXPECT_FALSE(t.KTT(true, false));
    EXPECT_FALSE(t.PRINTPARAST(0));
    con->onIdle = nullptr;
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_NE(notices[0].find("ΔΕΝ ΓΙΝΕΤΑΙ ΑΛΛΑΓΗ ΣΤΟΙΧΕΙΩΝ"), std::string::npos);
    EXPECT_NE(notices[1].find("ΔΕΝ ΜΠΟΡΕΙ ΝΑ ΓΙΝΕΙ ΕΠΑΝΕΚΤΥΠΩΣΗ"), std::string::npos);
    EXPECT_EQ(record(0).XR[1], 10000);
    EXPECT_EQ(spooled(), "");

    // Its cancellation in a series without signing: printed, then stored with its number.
    TIM0::XR[1] = 100;
    ASSERT_TRUE(print(t, 1));
    EXPECT_EQ(record(0).AKNUM, 1);
    EXPECT_EQ(record(0).AKPAIP, 0);
    EXPECT_EQ(TESTS::readFile(company(0) + "/AKAR.DAT"), std::string("\x01\0\0\0", 4));
    EXPECT_EQ(count(spooled(), gr("  ΑΚΥΡΩΤΙΚΟ του ΤΠΥ με Αριθ: ")), 1);
}

}  // namespace
