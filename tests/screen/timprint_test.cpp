// Invoice copies on the pre-printed form compared byte for byte with golden files (the no-printer
// driver, the EpsonFX driver, a cancellation, a missing layout file), the field texts, and the side
// screens of the editor: detail lines, customs amount, manual mark and the crossed-out display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "common/umas.h"
#include "config/params.h"
#include "helpers/fixture.h"
#include "helpers/invoices.h"
#include "invoicing/apodi.h"
#include "invoicing/formix.h"
#include "invoicing/tim.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "screen/scr.h"

namespace fs = std::filesystem;
using PLAT::gr;
namespace SC = PLAT::SC;

namespace {

using TESTS::expectGolden;

class InvoicePrint : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
        PLAT::setFixedNow(PLAT::DateTime{2026, 12, 10, 10, 0, 0, 0});
        UMAS::EURO = 340.75;
        PARAMS::PARTIM1 = {};
        PARAMS::PARTIM1[1] = gr("_ΑΜΟΙΒΗ ΕΚΤΕΛΩΝΙΣΜΟΥ");
        PARAMS::PARTIM1[2] = gr("ΕΞΟΔΑ ΛΙΜΕΝΟΣ");
        PARAMS::PARTIM1[18] = gr("ΛΟΙΠΑ=24");
        TIM0::FP = "24";
        TIM0::SEIRA.clear();
        TESTS::writeFile("prn_tim.sh", "cat tim.txt >> spooled.prn\n");
        writeLayout();
        t.CLLS();
        TIM0::TM = "17    ";
        TIM0::HM = "101226";
        TIM0::EUROYEAR = 26;
        APODI::EA = UMAS::padTo(gr("ΠΑΠΑΔΟΠΟΥΛΟΣ Α.Ε."), 30);
        APODI::ON = UMAS::padTo("SECOND LINE", 40);
        APODI::DI = UMAS::padTo(gr("ΟΔΟΣ 1"), 40);
        APODI::PO = UMAS::padTo(gr("ΠΕΙΡΑΙΑΣ"), 20);
        APODI::AF = "099999999 ";
        APODI::EF = gr("ΦΑΕ");
        APODI::EG = gr("ΕΜΠΟΡΟΣ");
        TIM0::XR[1] = 1234.5;
        TIM0::XR[2] = 50;
        TIM0::XR[18] = 0.004;
        TIM0::FF[1] = "24";
        TIM0::FX[1] = 1234.5;
        TIM0::FX[2] = 100;
        TIM0::FF[2] = "13";
        TIM0::DX[1] = 30;
        TIM0::DS[1] = gr("ΔΙΑΣΑΦΗΣΗ 123");
        sr.MIKSEL = 70;
        sr.KATAK = 3;
        sr.ORIZ = 2;
    }
    void TearDown() override {
        PLAT::setFixedNow(std::nullopt);
        UMAS::EURO = 0;
        FORMIX::FORMIXSN.clear();
        Installation::TearDown();
    }
    // A layout that places a field of each kind: captions with "@", two fields on one line in
    // reverse column order, modes before and after.
    void writeLayout() {
        std::string b(PARAMS::PARTIM4_SIZE, '\0');
        auto put = [&](int n, const char* per, int col, int row, int sa1 = 0, int st2 = 0) {
            PARAMS::RECPARTIM4 r{gr(per), uint8_t(sa1), 0, uint8_t(col), uint8_t(row), uint8_t(st2), 0};
            r.encode(reinterpret_cast<uint8_t*>(b.data()) + (n - 1) * PARAMS::RECPARTIM4::SIZE);
        };
        put(1, "@Αρ.", 60, 2, 4, 5);
        put(2, "", 60, 3);
        put(3, "", 10, 5);
        put(4, "", 10, 6);
        put(10, "", 5, 8);
        put(32, "", 5, 10);
        put(60, "", 60, 10);
        put(33, "", 5, 11);
        put(61, "", 60, 11);
        put(77, "", 60, 12);
        put(80, "@ΣΥΝΟΛΟ", 40, 14);
        put(79, "", 20, 14);
        put(81, "", 5, 15);
        put(82, "", 5, 16);
        put(108, "", 5, 18);
        put(111, "", 20, 18);
        put(114, "", 30, 18);
        put(109, "", 5, 19);
        put(112, "", 20, 19);
        put(115, "", 30, 19);
        put(117, "@ΤΕΛΟΣ", 5, 21);
        put(120, "", 30, 21);
        put(135, "", 50, 21);
        TESTS::writeFile(company(0) + "/PARTIM4.dat", b);
    }
    std::string printed(int kind, uint8_t emul, const FORMIX::EAFDSSREC& drv) {
        PRNS::PRNM P;
        PRNS::TABM T;
        if (emul == 0) {
            P = PRNS::PRNNONE;
            T = PRNS::TABNONE;
        } else {
            PRNS::SET_PETIMOL(emul, P, T);
        }
        t.EKTY(kind, sr, "USB", P, T, drv);
        std::string s = TESTS::readFile("spooled.prn");
        fs::remove("spooled.prn");
        EXPECT_FALSE(TESTS::exists("tim.txt"));
        return s;
    }
    TIM::TIMOS t;
    PARAMS::RECSEIRES sr;
};

TEST_F(InvoicePrint, CopiesMatchTheirGoldenFiles) {
    FORMIX::EAFDSSREC signedCopy;
    signedCopy.SIG = std::string(40, 'A');
    signedCopy.SIGPRN = "SIGNATURE LINE OF THE COPY";
    expectGolden("tim_copy_plain.prn", printed(0, 0, FORMIX::EAFDSSREC{}));
    expectGolden("tim_copy_epson.prn", printed(0, 1, signedCopy));
    t.AKNUM = 3;
    expectGolden("tim_cancel_epson.prn", printed(1, 1, signedCopy));
    // A copy printed without the device declared faulty.
    FORMIX::FORMIXSN = "KVX00000001";
    FORMIX::EAFDSSREC faulty;
    faulty.AATOTAL = -1;
    const std::string f = printed(0, 1, faulty);
    EXPECT_NE(f.find(gr("ΧΩΡΙΣ ΣΗΜΑΝΣΗ ΛΟΓΩ ΒΛΑΒΗΣ ΤΗΣ ΕΑΦΔΣΣ ΜΕ ΑΡ.ΜΗΤΡΩΟΥ: KVX00000001")), std::string::npos);
    // No layout file: the set-up, the signature line and the form feed.
    fs::remove(company(0) + "/PARTIM4.dat");
    expectGolden("tim_copy_nolayout.prn", printed(0, 1, signedCopy));
}

TEST_F(InvoicePrint, FieldTexts) {
    auto B = t.COLLECT(0, gr("@ΤΕΛΟΣ"));
    EXPECT_EQ(B[1], "17    ");
    EXPECT_EQ(B[2], "10/12/26");
    EXPECT_EQ(B[32], gr("ΑΜΟΙΒΗ ΕΚΤΕΛΩΝΙΣΜΟΥ"));
    EXPECT_EQ(B[33], gr("ΕΞΟΔΑ ΛΙΜΕΝΟΣ"));
    EXPECT_EQ(B[34], "");  // line 3 below 0.01
    EXPECT_EQ(B[60], "    1,234.50");
    EXPECT_EQ(B[77], std::string(10, ' '));  // line 18 always, blank below 0.005
    EXPECT_EQ(B[79], "      296.28");
    EXPECT_EQ(B[80], "    1,580.78");
    // The by-rate slots in ascending rate order: 13 %, then 24 %.
    EXPECT_EQ(B[108], "      100.00");
    EXPECT_EQ(B[111], " 13");
    EXPECT_EQ(B[112], " 24");
    EXPECT_EQ(B[117], gr("@ΤΕΛΟΣ"));
    EXPECT_EQ(B[121], "       30.00");
    EXPECT_EQ(B[136], gr("ΠΑΠΑΔΟΠΟΥΛΟΣ Α.Ε.") + " SECOND LINE");
    // A cancellation marks every amount.
    auto C = t.COLLECT(1, "");
    EXPECT_EQ(C[60], "   -1,234.50");
    // Field 120 in a drachma year: the total in euros; blank when the rate is 0.
    TIM0::HM = "101201";
    TIM0::EUROYEAR = 1;
    TIM0::XR = {};
    TIM0::XR[2] = 3407.5;
    const auto D = t.COLLECT(0, "");
    EXPECT_EQ(D[120], "      10.00");
    // The words of a drachma total carry no currency word, as on a receipt of the same year; a
    // euro total's words do.
    EXPECT_EQ(D[81] + D[82] + D[83], gr("ΤΡΕΙΣ ΧΙΛΙΑΔΕΣ ΤΕΤΡΑΚΟΣΙΑ ΟΚΤΩ "));
    EXPECT_EQ(B[81] + B[82] + B[83], gr("ΧΙΛΙΑ ΠΕΝΤΑΚΟΣΙΑ ΟΓΔΟΝΤΑ ΕΥΡΩ & ΕΒΔΟΜΗΝΤΑ ΟΚΤΩ ΛΕΠΤΑ"));
    UMAS::EURO = 0;
    EXPECT_EQ(t.COLLECT(0, "")[120], "");
}

TEST_F(InvoicePrint, DetailLinesKeys) {
    for (int i = 1; i <= 22; ++i) TIM0::DSP[size_t(i)] = "CAPTION " + std::to_string(i);
    // Line 1 typed, Down to line 11 of page 0, Down to page 1, PgUp back to line 11 of page 0,
    // PgDn to line 1 of page 1, then down to line 11 of page 1: Down stays, Enter leaves.
    con->ch(25);
    con->keys("FIRST");
    for (int i = 0; i < 11; ++i) con->key(SC::DOWN);
    con->key(SC::PGUP);
    con->keys("ELEVEN");
    con->key(SC::PGDN);
    con->keys("TWELVE");
    for (int i = 0; i < 10; ++i) con->key(SC::DOWN);
    con->key(SC::DOWN);
    con->keys("LAST");
    con->ch(13);
    t.DETAILS();
    EXPECT_EQ(con->pending(), 0u);
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
    EXPECT_EQ(TIM0::DS[1], "FIRST");
    EXPECT_EQ(TIM0::DS[11], "ELEVEN");
    EXPECT_EQ(TIM0::DS[12], "TWELVE");
    EXPECT_EQ(TIM0::DS[22], "LAST");
}

TEST_F(InvoicePrint, CustomsAmountAndManualMark) {
    // Euro year: two decimals shown, the amount taken as typed.
    std::string shown;
    con->onIdle = [&] {
        if (!shown.empty()) return;
        shown = con->text(62, 22, 9);
        con->ch(25);
        con->keys("12.345");
        con->ch(13);
    };
    TIM0::FX[5] = 7.5;
    t.CUSTOMS();
    con->onIdle = nullptr;
    EXPECT_EQ(shown, "7.50.....");
    EXPECT_DOUBLE_EQ(TIM0::FX[5], 12.345);
    // Drachma year: rounded at once.
    TIM0::HM = "101201";
    con->ch(25);
    con->keys("99.6");
    con->ch(13);
    t.CUSTOMS();
    EXPECT_DOUBLE_EQ(TIM0::FX[5], 100);
    EXPECT_EQ(SCR::STACKPOINTER(), 0);

    // Shift-F4 then Enter changes nothing and clears the line; a mark of 0 is refused.
    con->ch(13);
    t.MANUALMARK();
    EXPECT_EQ(t.PAIPS[1], 0);
    EXPECT_EQ(con->attr(2, 23), 0x0E);
    con->key(SC::SF9);
    con->keys("0");
    con->ch(13);
    t.MANUALMARK();
    EXPECT_EQ(t.PAIPS[1], 0);
}

TEST_F(InvoicePrint, ManualMarkStoresTheDocument) {
    TESTS::addCustomer("ΠΑΠΑΔΟΠΟΥΛΟΣ");
    ASSERT_FALSE(TESTS::openDoc(t, 1));
    TESTS::setCustomer("ΠΑΠ");
    TIM0::XR[1] = 10;
    con->key(SC::SF9);
    con->keys("42");
    con->ch(13);
    t.MANUALMARK();
    EXPECT_EQ(t.PAIPS[1], 42);
    ASSERT_TRUE(APODI::BOO);
    const std::string rec = TESTS::readFile(company(0) + "/TM.DAT");
    ASSERT_EQ(rec.size(), TIM0::RTIM::SIZE);
    EXPECT_EQ(TIM0::RTIM::decode(reinterpret_cast<const uint8_t*>(rec.data())).PAIPS[1], 42);
    EXPECT_EQ(PLAT::cp737ToUtf8(con->text(24, 23, 5)), "   42");
    // The line as Shift-F4 leaves it is the line the form draws for a signed document.
    const std::string typed = PLAT::cp737ToUtf8(con->text(2, 23, 28));
    EXPECT_EQ(typed, " Α/Α ΣΗΜΑΝΣΗΣ ΕΑΦΔΣΣ:    42 ");
    TIM::DRAWFORM(t);
    EXPECT_EQ(PLAT::cp737ToUtf8(con->text(2, 23, 28)), typed);
}

TEST_F(InvoicePrint, ACancelledDocumentIsShownCrossedOut) {
    t.AKNUM = 7;
    std::string notice;
    uint8_t stripe = 0, offStripe = 0;
    con->onIdle = [&] {
        if (!notice.empty()) return;
        notice = PLAT::cp737ToUtf8(con->text(36, 12, 31) + "|" + con->text(36, 13, 26));
        stripe = con->attr(9, 5);
        offStripe = con->attr(8, 5);
        con->ch('O');  // no reprint of the cancellation
    };
    APODI::BOO = true;
    APODI::PR = 0;
    t.PAIPS[1] = 5;
    t.R0 = t.IMAGE();
    t.SHOWCANCELLED();
    con->onIdle = nullptr;
    EXPECT_EQ(notice, "  ΤΟ ΤΙΜΟΛΟΓΙΟ ΕΧΕΙ ΑΚΥΡΩΘΕΙ!  |     Α/Α ΑΚΥΡΩΤΙΚΟΥ:     7");
    EXPECT_EQ(stripe, 0x44);
    EXPECT_NE(offStripe, 0x44);
    EXPECT_EQ(con->attr(9, 5), 0x03);
    EXPECT_EQ(con->attr(37, 19), 0x03);
    EXPECT_EQ(con->attr(41, 21), 0x03);
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

}  // namespace
