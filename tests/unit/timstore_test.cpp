// Storing, loading and deleting invoices and credit notes: the bytes of the record, index, chain and
// series files, the posting to the customers' totals, and the refusals.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <memory>

#include "common/umas.h"
#include "config/params.h"
#include "helpers/fixture.h"
#include "helpers/invoices.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/codepage.h"

using PLAT::gr;

namespace {

class InvoiceStore : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
        PLAT::setFixedNow(PLAT::DateTime{2026, 12, 10, 10, 0, 0, 0});
        UMAS::EURO = 340.75;
        PARAMS::PARTIM1 = {};
        PARAMS::PARTIM1[1] = gr("_ΑΜΟΙΒΗ");
        PARAMS::PARTIM1[2] = gr("ΕΞΟΔΑ");
        PARAMS::PARTIM1[18] = gr("ΛΟΙΠΑ=24");
        TIM0::FP = "24";
        TIM0::SEIRA.clear();
    }
    void TearDown() override {
        PLAT::setFixedNow(std::nullopt);
        UMAS::EURO = 0;
        Installation::TearDown();
    }
    std::string file(const std::string& n) const { return company(0) + "/" + n; }
    std::string bytes(const std::string& n) const { return TESTS::readFile(file(n)); }
    uint16_t word(const std::string& n, size_t i) const {
        std::string b = bytes(n);
        return PLAT::getW(reinterpret_cast<const uint8_t*>(b.data()) + 2 * i);
    }
    APODI::RTIM1 node(const std::string& n, size_t i) const {
        std::string b = bytes(n);
        return APODI::RTIM1::decode(reinterpret_cast<const uint8_t*>(b.data()) + 4 * i);
    }
    TIM0::RTIM record(const std::string& n, size_t r) const {
        std::string b = bytes(n);
        return TIM0::RTIM::decode(reinterpret_cast<const uint8_t*>(b.data()) + r * TIM0::RTIM::SIZE);
    }
    PARAMS::SEIRESTABLE series(const std::string& n = "SEIRES.DAT") const {
        std::string b = bytes(n);
        return PARAMS::decodeSEIRES(reinterpret_cast<const uint8_t*>(b.data()));
    }
    void writeSeries(const PARAMS::SEIRESTABLE& t, const std::string& n = "SEIRES.DAT") const {
        std::string b(PARAMS::SEIRES_SIZE, '\0');
        PARAMS::encodeSEIRES(t, reinterpret_cast<uint8_t*>(b.data()));
        TESTS::writeFile(file(n), b);
    }
    // A new document with number, date, customer and the amount of line 1; stored.
    bool storeNew(TIM::TIMOS& t, int number, const std::string& hm, const std::string& customer, double line1,
                  const std::string& series = "") {
        EXPECT_FALSE(TESTS::openDoc(t, number, series));
        TIM0::HM = hm;
        TESTS::setCustomer(customer);
        TIM0::XR[1] = line1;
        return t.KTT(true, false);
    }
    static int32_t day(const char* hm) { return UMAS::HMVAL(hm); }
    // The next wait for a key answers Esc, after noting rows 22 and 23 of the screen.
    std::string row22, row23;
    void answerEsc() {
        row22.clear();
        row23.clear();
        auto done = std::make_shared<bool>(false);
        con->onIdle = [this, done] {
            if (*done) return;
            *done = true;
            row22 = con->text(3, 22, 36);
            row23 = con->text(3, 23, 36);
            con->ch(27);
        };
    }
    void expectSound() {
        TIM::CHECKED c = TIM::CHECKFILES();
        for (const auto& p : c.PROBLEMS) ADD_FAILURE() << p;
    }
};

TEST_F(InvoiceStore, FirstInvoiceOfAnEmptyFolder) {
    const uint16_t pr = TESTS::addCustomer("Παπαδοπουλος Α.Ε.");
    ASSERT_EQ(pr, 0);
    TIM::TIMOS t(0);
    ASSERT_FALSE(TESTS::openDoc(t, 1));
    TIM0::HM = "151226";
    TESTS::setCustomer("παπ");
    ASSERT_EQ(APODI::PR, 0);
    TIM0::XR[1] = 100;
    ASSERT_TRUE(t.KTT(true, false));

    TIM0::RTIM want;
    want.SEIRA = "";
    want.TM = "1     ";
    want.HM = "151226";
    want.KD = std::string(10, ' ');
    want.PR = 0;
    want.EA = ARP0::KEY(gr("ΠΑΠΑΔΟΠΟΥΛΟΣ Α.Ε."));
    want.ON = std::string(30, ' ');
    want.PO = UMAS::LEJU(gr("ΠΕΙΡΑΙΑΣ"), 20);
    want.DI = UMAS::LEJU(gr("ΟΔΟΣ 1"), 30);
    want.AF = "099999999 ";
    want.TH1 = "2100000000   ";
    want.XR[1] = 10000;
    for (int i = 1; i <= 11; ++i) want.NO[size_t(i)] = std::string(9, ' ');
    want.NO[8] = "1        ";
    for (int i = 13; i <= 16; ++i) want.AI[size_t(i)] = std::string(23, ' ');
    want.FA[1] = gr("Πρακτορειακά");
    want.FX[1] = 10000;  // row 1 of the rate table: the taxed line 1
    want.FF[1] = 24;
    std::string img(TIM0::RTIM::SIZE, '\0');
    want.encode(reinterpret_cast<uint8_t*>(img.data()));
    EXPECT_EQ(bytes("TM.DAT"), img);
    EXPECT_EQ(bytes("TM.DAT").substr(10, 7), std::string("\x06" "151226", 7));

    EXPECT_EQ(bytes("HDT.DAT"), std::string("\x01\x00", 2));
    EXPECT_EQ(bytes("TI.DAT").size(), 200000u);
    EXPECT_EQ(word("TI.DAT", 0), 65000);
    EXPECT_EQ(word("TI.DAT", 1), 0);
    EXPECT_EQ(word("TI.DAT", 2), 65000);
    EXPECT_EQ(bytes("TH.DAT").size(), 22320u * 4);
    EXPECT_EQ(bytes("TH.DAT").substr(size_t(day("151226")) * 4, 4), std::string(4, '\0'));
    EXPECT_EQ(node("TH.DAT", size_t(day("151226")) - 1), (APODI::RTIM1{65000, 0}));
    EXPECT_EQ(bytes("TPE.DAT").size(), 10000u * 4);
    EXPECT_EQ(bytes("TPE.DAT").substr(0, 8), std::string("\0\0\0\0\xE8\xFD\0\0", 8));
    EXPECT_EQ(bytes("SEIRES.DAT").substr(3, 4), std::string("\x02\0\0\0", 4));
    // 100.00 with 24 % VAT is 124.00 euros: 124 x 340.75 drachmas.
    EXPECT_EQ(TESTS::customerXR(0), 42253);
    expectSound();
}

TEST_F(InvoiceStore, ThreeOnOneDayMiddleDeletedNodeAndRecordReused) {
    TESTS::addCustomer("ΑΛΦΑ");
    const int32_t d = day("020326");
    const size_t H = APODI::DAYHEADS;
    for (int n = 1; n <= 3; ++n) {
        TIM::TIMOS t;
        ASSERT_TRUE(storeNew(t, n, "020326", "ΑΛΦΑ", 10 * n));
    }
    EXPECT_EQ(node("TH.DAT", size_t(d)), (APODI::RTIM1{0, uint16_t(H)}));
    EXPECT_EQ(node("TH.DAT", H), (APODI::RTIM1{1, uint16_t(H + 1)}));
    EXPECT_EQ(node("TH.DAT", H + 1), (APODI::RTIM1{2, 0}));
    EXPECT_EQ(bytes("TH.DAT").size(), (H + 2) * 4);
    EXPECT_EQ(bytes("HDT.DAT"), std::string("\x03\x00", 2));

    {  // number 2 (record 1) deleted
        TIM::TIMOS t;
        ASSERT_TRUE(TESTS::openDoc(t, 2));
        EXPECT_EQ(APODI::XN, 1);
        ASSERT_TRUE(t.DEL());
    }
    EXPECT_EQ(node("TH.DAT", H), (APODI::RTIM1{65000, uint16_t(H + 1)}));
    EXPECT_EQ(word("TD.DAT", 0), 1);
    EXPECT_EQ(word("TD.DAT", 1), 1);
    EXPECT_EQ(word("TI.DAT", 2), 65000);
    EXPECT_EQ(node("TPE.DAT", H % 1), (APODI::RTIM1{0, 10000}));
    EXPECT_EQ(node("TPE.DAT", 10000), (APODI::RTIM1{65000, 10001}));
    // 10.00 and 30.00 with 24 % VAT remain posted, each rounded to the drachma.
    EXPECT_EQ(TESTS::customerXR(0), 4225 + 12676);

    {  // the next new document takes record 1 and the emptied middle node
        TIM::TIMOS t;
        ASSERT_TRUE(storeNew(t, 7, "020326", "ΑΛΦΑ", 5));
        EXPECT_EQ(APODI::XN, 1);
    }
    EXPECT_EQ(word("TD.DAT", 0), 0);
    EXPECT_EQ(word("TI.DAT", 7), 1);
    EXPECT_EQ(node("TH.DAT", H), (APODI::RTIM1{1, uint16_t(H + 1)}));
    EXPECT_EQ(bytes("HDT.DAT"), std::string("\x03\x00", 2));
    EXPECT_EQ(bytes("TM.DAT").size(), 3 * TIM0::RTIM::SIZE);
    {  // a fourth is appended and linked from the last node
        TIM::TIMOS t;
        ASSERT_TRUE(storeNew(t, 8, "020326", "ΑΛΦΑ", 5));
        EXPECT_EQ(APODI::XN, 3);
    }
    EXPECT_EQ(node("TH.DAT", H + 1), (APODI::RTIM1{2, uint16_t(H + 2)}));
    EXPECT_EQ(node("TH.DAT", H + 2), (APODI::RTIM1{3, 0}));
    expectSound();
}

TEST_F(InvoiceStore, DeletingTheOnlyDocumentOfADayFreesTheHead) {
    TESTS::addCustomer("ΑΛΦΑ");
    TIM::TIMOS t;
    ASSERT_TRUE(storeNew(t, 5, "050526", "ΑΛΦΑ", 10));
    ASSERT_TRUE(t.DEL());
    EXPECT_EQ(node("TH.DAT", size_t(day("050526"))), (APODI::RTIM1{65000, 0}));
    ASSERT_TRUE(storeNew(t, 6, "050526", "ΑΛΦΑ", 10));
    EXPECT_EQ(APODI::XN, 0);
    EXPECT_EQ(node("TH.DAT", size_t(day("050526"))), (APODI::RTIM1{0, 0}));
    EXPECT_EQ(bytes("TH.DAT").size(), size_t(APODI::DAYHEADS) * 4);
    expectSound();
}

TEST_F(InvoiceStore, ChangingTheDateMovesTheDocumentToTheOtherDay) {
    TESTS::addCustomer("ΑΛΦΑ");
    TIM::TIMOS t;
    ASSERT_TRUE(storeNew(t, 1, "010326", "ΑΛΦΑ", 10));
    ASSERT_TRUE(storeNew(t, 2, "010326", "ΑΛΦΑ", 10));
    ASSERT_TRUE(TESTS::openDoc(t, 2));
    TIM0::HM = "020326";
    ASSERT_TRUE(t.KTT(true, false));
    const size_t H = APODI::DAYHEADS;
    EXPECT_EQ(node("TH.DAT", size_t(day("010326"))), (APODI::RTIM1{0, uint16_t(H)}));
    EXPECT_EQ(node("TH.DAT", H), (APODI::RTIM1{65000, 0}));
    EXPECT_EQ(node("TH.DAT", size_t(day("020326"))), (APODI::RTIM1{1, 0}));
    // The load of a document without a mark clears the mark line.
    ASSERT_TRUE(TESTS::openDoc(t, 1));
    EXPECT_EQ(con->text(2, 23, 28), std::string(28, ' '));
    EXPECT_EQ(con->attr(2, 23), 0x0E);
    expectSound();
}

TEST_F(InvoiceStore, TwoLetterSeriesUsesItsOwnIndex) {
    TESTS::addCustomer("ΑΛΦΑ");
    PARAMS::SEIRESTABLE s = series();
    s[1].SEIRA = gr("ΓΔ");
    s[1].AA = 1;
    writeSeries(s);
    PARAMS::SEIRES_CREATEFILES(0, s);
    ASSERT_TRUE(TESTS::exists(file("TI_CD.DAT")));
    TIM::TIMOS t;
    ASSERT_TRUE(storeNew(t, 15, "010626", "ΑΛΦΑ", 10, "ΓΔ"));
    EXPECT_EQ(t.INDEXFILE(), "TI_CD.DAT");
    ASSERT_TRUE(storeNew(t, 15, "010626", "ΑΛΦΑ", 20, ""));
    EXPECT_EQ(word("TI_CD.DAT", 15), 0);
    EXPECT_EQ(word("TI.DAT", 15), 1);
    EXPECT_EQ(record("TM.DAT", 0).SEIRA, gr("ΓΔ"));
    EXPECT_EQ(bytes("TM.DAT").substr(0, 3), std::string("\x02\x82\x83", 3));
    EXPECT_EQ(series()[1].AA, 16);
    EXPECT_EQ(series()[0].AA, 16);
    // Each number opens its own series' document.
    ASSERT_TRUE(TESTS::openDoc(t, 15, "ΓΔ"));
    EXPECT_DOUBLE_EQ(TIM0::XR[1], 10);
    ASSERT_TRUE(TESTS::openDoc(t, 15, ""));
    EXPECT_DOUBLE_EQ(TIM0::XR[1], 20);
    expectSound();
}

TEST_F(InvoiceStore, NextNumberOnlyGrows) {
    TESTS::addCustomer("ΑΛΦΑ");
    PARAMS::SEIRESTABLE s = series();
    s[0].AA = 118;
    s[1].SEIRA = gr("Σ");
    s[1].AA = 10;
    s[1].FORMIX = 1;
    writeSeries(s);
    PARAMS::SEIRES_CREATEFILES(0, s);
    TIM::TIMOS t;
    ASSERT_TRUE(storeNew(t, 120, "010626", "ΑΛΦΑ", 10));
    EXPECT_EQ(series()[0].AA, 121);
    ASSERT_TRUE(storeNew(t, 50, "010626", "ΑΛΦΑ", 10));
    EXPECT_EQ(series()[0].AA, 121);
    // A signing series: the clerk's store leaves the number; the store after signing moves it.
    ASSERT_TRUE(storeNew(t, 10, "010626", "ΑΛΦΑ", 10, "Σ"));
    EXPECT_EQ(series()[1].AA, 10);
    t.PAIPS[1] = 4711;
    ASSERT_TRUE(t.KTT(false, false));
    EXPECT_EQ(series()[1].AA, 11);
    EXPECT_EQ(record("TM.DAT", 2).PAIPS[1], 4711);
    // APOALLAGI never touches it.
    ASSERT_FALSE(TESTS::openDoc(t, 30));
    TIM0::HM = "010626";
    TESTS::setCustomer("ΑΛΦΑ");
    TIM0::XR[2] = 1;
    ASSERT_TRUE(t.KTT(true, true));
    EXPECT_EQ(series()[0].AA, 121);
    ASSERT_TRUE(storeNew(t, 200, "010626", "ΑΛΦΑ", 10));
    EXPECT_EQ(series()[0].AA, 201);
}

TEST_F(InvoiceStore, PostingRoundTripReturnsTheTotalsExactly) {
    const uint16_t a = TESTS::addCustomer("ΑΛΦΑ");
    const uint16_t b = TESTS::addCustomer("ΒΗΤΑ");
    // Something posted before: the round trip must come back to it.
    TIM::TIMOS t0;
    ASSERT_TRUE(storeNew(t0, 1, "010126", "ΑΛΦΑ", 33.33));
    ASSERT_TRUE(storeNew(t0, 2, "010126", "ΒΗΤΑ", 0.07));
    const int32_t a0 = TESTS::customerXR(a), b0 = TESTS::customerXR(b);
    PARAMS::SEIRES_CREATEFILES(1, series("PSEIRES.DAT"));

    for (uint8_t kind : {uint8_t(0), uint8_t(2)}) {
        SCOPED_TRACE(kind);
        TIM::TIMOS t(kind);
        // Amounts with more decimals than the stored form: what is posted is what is stored.
        ASSERT_TRUE(storeNew(t, 10, "150326", "ΑΛΦΑ", 10.005));
        TIM0::XR[18] = 0.125;
        TIM0::XR[15] = 7.777;
        TIM0::AI[14] = gr("_ΦΥΛΑΞΗ");
        ASSERT_TRUE(t.KTT(true, false));
        EXPECT_NE(TESTS::customerXR(a), a0);

        TIM::TIMOS u(kind);  // reload, change the amount, store again
        ASSERT_TRUE(TESTS::openDoc(u, 10));
        EXPECT_EQ(APODI::PR, a);
        EXPECT_FALSE(u.ALLA());
        TIM0::XR[1] = 99.99;
        ASSERT_TRUE(u.KTT(true, false));
        ASSERT_TRUE(TESTS::openDoc(u, 10));  // reload, change customer and date to a drachma year
        TESTS::setCustomer("ΒΗΤΑ");
        TIM0::HM = "311201";
        TIM0::XR[1] = 12345;
        ASSERT_TRUE(u.KTT(true, false));
        EXPECT_EQ(TESTS::customerXR(a), a0);
        EXPECT_NE(TESTS::customerXR(b), b0);
        ASSERT_TRUE(TESTS::openDoc(u, 10));  // back to a euro date, then deleted
        TIM0::HM = "020102";
        ASSERT_TRUE(u.KTT(true, false));
        ASSERT_TRUE(TESTS::openDoc(u, 10));
        ASSERT_TRUE(u.DEL());
        EXPECT_EQ(TESTS::customerXR(a), a0);
        EXPECT_EQ(TESTS::customerXR(b), b0);
    }
    expectSound();
    TIM::CHECKED c = TIM::CHECKFILES();
    EXPECT_EQ(c.POSTED[a], a0);
    EXPECT_EQ(c.POSTED[b], b0);
}

TEST_F(InvoiceStore, EuroAndDrachmaPostings) {
    const uint16_t a = TESTS::addCustomer("ΑΛΦΑ");
    PARAMS::PARTIM1[1] = gr("ΑΜΟΙΒΗ");
    TIM::TIMOS t(0);
    ASSERT_TRUE(storeNew(t, 1, "010105", "ΑΛΦΑ", 100.00));
    EXPECT_EQ(TESTS::customerXR(a), 34075);
    PARAMS::SEIRES_CREATEFILES(1, series("PSEIRES.DAT"));
    TIM::TIMOS c(2);
    ASSERT_TRUE(storeNew(c, 1, "010199", "ΑΛΦΑ", 5000));
    EXPECT_EQ(TESTS::customerXR(a), 34075 - 5000);
    EXPECT_EQ(record("SM.DAT", 0).XR[1], 5000);
    EXPECT_EQ(word("SI.DAT", 1), 0);
    EXPECT_EQ(node("SH.DAT", size_t(day("010199"))), (APODI::RTIM1{0, 0}));
    EXPECT_EQ(node("SPE.DAT", a), (APODI::RTIM1{0, 0}));
    expectSound();
}

TEST_F(InvoiceStore, UnchangedDocumentIsNotWrittenAgain) {
    TESTS::addCustomer("ΑΛΦΑ");
    for (const char* hm : {"010199", "010126"}) {
        SCOPED_TRACE(hm);
        TIM::TIMOS t;
        ASSERT_TRUE(storeNew(t, hm[5] == '9' ? 1 : 2, hm, "ΑΛΦΑ", 12.34));
        const std::string before = bytes("TM.DAT") + bytes("MF.DAT") + bytes("TH.DAT");
        ASSERT_TRUE(TESTS::openDoc(t, hm[5] == '9' ? 1 : 2));
        EXPECT_FALSE(t.ALLA());
        EXPECT_FALSE(t.KTT(true, false));
        EXPECT_EQ(bytes("TM.DAT") + bytes("MF.DAT") + bytes("TH.DAT"), before);
    }
}

TEST_F(InvoiceStore, NoCustomerOrNoNameStoresNothing) {
    TIM::TIMOS t;
    ASSERT_FALSE(TESTS::openDoc(t, 1));
    TIM0::XR[1] = 5;
    EXPECT_FALSE(t.KTT(true, false));
    APODI::PR = 0;
    APODI::EA = std::string(30, ' ');
    EXPECT_FALSE(t.KTT(true, false));
    EXPECT_EQ(bytes("TM.DAT").size(), 0u);
}

TEST_F(InvoiceStore, RefusalsWriteNothing) {
    TESTS::addCustomer("ΑΛΦΑ");
    struct Case {
        const char* what;
        double euro;
        double amount;
        const char* line22;
    } cases[] = {
        {"euro rate 0 in a euro year", 0, 10, " ΙΣΟΤΙΜΙΑ ΕΥΡΩ ΜΗΔΕΝ."},
        {"stored form beyond a LONGINT", 340.75, 30000000, " ΠΟΣΟ ΕΚΤΟΣ ΟΡΙΩΝ."},
        {"posting beyond a LONGINT", 340.75, 9000000, " ΠΟΣΟ ΕΚΤΟΣ ΟΡΙΩΝ."},
    };
    const std::string before = bytes("TM.DAT") + bytes("MF.DAT") + bytes("SEIRES.DAT") + bytes("HDT.DAT");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UMAS::EURO = c.euro;
        TIM::TIMOS t;
        ASSERT_FALSE(TESTS::openDoc(t, 3));
        TIM0::HM = "010126";
        TESTS::setCustomer("ΑΛΦΑ");
        TIM0::XR[1] = c.amount;
        answerEsc();
        EXPECT_FALSE(t.KTT(true, false));
        EXPECT_EQ(row22.substr(0, 20), UMAS::LEJU(gr(c.line22), 20));
        EXPECT_EQ(row23.substr(0, gr("ΔΕΝ ΓΙΝΕΤΑΙ ΚΑΤΑΧΩΡΗΣΗ. Πατήστε ESC.").size()), gr("ΔΕΝ ΓΙΝΕΤΑΙ ΚΑΤΑΧΩΡΗΣΗ. Πατήστε ESC."));
        EXPECT_EQ(bytes("TM.DAT") + bytes("MF.DAT") + bytes("SEIRES.DAT") + bytes("HDT.DAT"), before);
    }
    // A stored euro document cannot be deleted while the rate is 0 either.
    UMAS::EURO = 340.75;
    TIM::TIMOS t;
    ASSERT_TRUE(storeNew(t, 4, "010126", "ΑΛΦΑ", 10));
    UMAS::EURO = 0;
    answerEsc();
    EXPECT_FALSE(t.DEL());
    EXPECT_EQ(row23.substr(0, gr("ΔΕΝ ΓΙΝΕΤΑΙ ΔΙΑΓΡΑΦΗ. Πατήστε ESC.").size()), gr("ΔΕΝ ΓΙΝΕΤΑΙ ΔΙΑΓΡΑΦΗ. Πατήστε ESC."));
    EXPECT_EQ(word("TI.DAT", 4), 0);
}

TEST_F(InvoiceStore, RecordFileLimits) {
    TESTS::addCustomer("ΑΛΦΑ");
    TIM::TIMOS t;
    ASSERT_TRUE(storeNew(t, 1, "010126", "ΑΛΦΑ", 10));
    EXPECT_EQ(APODI::XN, 0);
    EXPECT_EQ(word("TD.DAT", 0), 0);
    EXPECT_EQ(bytes("TM.DAT").size(), TIM0::RTIM::SIZE);
    // A record file of 65000 records takes no more (65000 means "none" in every index).
    std::filesystem::resize_file(file("TM.DAT"), 65000ull * TIM0::RTIM::SIZE);
    answerEsc();
    EXPECT_FALSE(storeNew(t, 2, "010126", "ΑΛΦΑ", 10));
    EXPECT_EQ(row22.substr(0, gr(" ΑΡΧΕΙΟ ΠΑΡΑΣΤΑΤΙΚΩΝ ΓΕΜΑΤΟ.").size()), gr(" ΑΡΧΕΙΟ ΠΑΡΑΣΤΑΤΙΚΩΝ ΓΕΜΑΤΟ."));
    EXPECT_EQ(word("TI.DAT", 2), 65000);
    EXPECT_EQ(bytes("HDT.DAT"), std::string("\x01\x00", 2));
}

// A store into a damaged store is refused before a byte is written, naming the file.
TEST_F(InvoiceStore, ADamagedStoreIsRefusedNamingTheFile) {
    TESTS::addCustomer("ΑΛΦΑ");
    TIM::TIMOS t;
    ASSERT_TRUE(storeNew(t, 1, "010126", "ΑΛΦΑ", 10));
    const char* const files[] = {"TM.DAT", "TI.DAT", "TD.DAT", "HDT.DAT", "TH.DAT", "TPE.DAT", "MF.DAT", "SEIRES.DAT"};
    std::map<std::string, std::string> sound;
    for (const char* f : files) sound[f] = bytes(f);
    auto at = [](std::string b, size_t off, const std::string& with) { return b.replace(off, with.size(), with); };
    const size_t dayNode = size_t(day("020126")) * 4;
    struct Case {
        const char* file;
        std::string bytes;
    } cases[] = {
        {"TM.DAT", sound["TM.DAT"] + std::string(100, 'x')},
        {"TI.DAT", sound["TI.DAT"].substr(0, 100000)},
        {"TD.DAT", at(sound["TD.DAT"], 0, std::string("\xFF\x7F", 2))},              // count beyond the file
        {"TD.DAT", at(sound["TD.DAT"], 0, std::string("\x01\x00\x10\x27", 4))},    // a record beyond TM.DAT
        {"HDT.DAT", ""},
        {"TH.DAT", at(sound["TH.DAT"], dayNode, std::string("\x00\x00\x05\x00", 4))},  // next node in the heads
        {"TH.DAT", at(sound["TH.DAT"], dayNode, std::string("\x09\x00\x00\x00", 4))},  // a record beyond TM.DAT
        {"TH.DAT", sound["TH.DAT"] + "xx"},
        {"TPE.DAT", at(sound["TPE.DAT"], 0, std::string("\x00\x00\xFF\xFF", 4))},  // next node beyond the file
        {"SEIRES.DAT", sound["SEIRES.DAT"].substr(0, 100)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " damaged");
        for (const auto& [f, b] : sound) TESTS::writeFile(file(f), b);
        TESTS::writeFile(file(c.file), c.bytes);
        std::map<std::string, std::string> before;
        for (const char* f : files) before[f] = bytes(f);
        TIM::TIMOS n;
        answerEsc();
        EXPECT_FALSE(storeNew(n, 2, "020126", "ΑΛΦΑ", 10));
        EXPECT_EQ(row22.substr(0, gr(" ΑΡΧΕΙΟ ").size() + strlen(c.file)), gr(" ΑΡΧΕΙΟ ") + c.file);
        for (const char* f : files) EXPECT_TRUE(bytes(f) == before[f]) << f;
    }
    for (const auto& [f, b] : sound) TESTS::writeFile(file(f), b);
    TIM::TIMOS n;
    EXPECT_TRUE(storeNew(n, 2, "020126", "ΑΛΦΑ", 10));
    expectSound();
}

// A file of the store that is missing refuses the whole store, and the deletions that write it,
// naming the file: the company folder stays byte for byte as it was and the document stays in
// memory; with the file back the same document is stored.
TEST_F(InvoiceStore, AMissingFileIsRefusedBeforeAnythingIsWritten) {
    namespace fs = std::filesystem;
    TESTS::addCustomer("ΑΛΦΑ");
    PARAMS::SEIRES_CREATEFILES(1, series("PSEIRES.DAT"));
    for (uint8_t kind : {0, 2}) {
        TIM::TIMOS t(kind);
        ASSERT_TRUE(storeNew(t, 1, "010126", "ΑΛΦΑ", 10));
    }
    struct Case {
        uint8_t kind;
        const char* file;
        bool deletion;  // the deletion writes it too
    } cases[] = {
        {0, "TM.DAT", false},     {0, "TI.DAT", true},       {0, "TD.DAT", true},  {0, "HDT.DAT", false},
        {0, "SEIRES.DAT", false}, {0, "TH.DAT", true},       {0, "TPE.DAT", true}, {0, "MF.DAT", true},
        {2, "SM.DAT", false},     {2, "SI.DAT", true},       {2, "SD.DAT", true},  {2, "HDT.DAT", false},
        {2, "SH.DAT", true},      {2, "SPE.DAT", true},      {2, "PSEIRES.DAT", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind == 2 ? "credit note, " : "invoice, ") + c.file + " missing");
        TIM::TIMOS n(c.kind);
        ASSERT_FALSE(TESTS::openDoc(n, 2));
        TIM0::HM = "020126";
        TESTS::setCustomer("ΑΛΦΑ");
        TIM0::XR[1] = 10;
        const std::string kept = bytes(c.file);
        fs::remove(file(c.file));
        const auto before = TESTS::folderFiles(company(0));
        answerEsc();
        EXPECT_FALSE(n.KTT(true, false));
        EXPECT_EQ(row22, UMAS::padTo(gr(" ΑΡΧΕΙΟ ") + c.file + gr(" ΔΕΝ ΥΠΑΡΧΕΙ."), 36));
        EXPECT_EQ(row23, UMAS::padTo(gr("ΔΕΝ ΓΙΝΕΤΑΙ ΚΑΤΑΧΩΡΗΣΗ. Πατήστε ESC."), 36));
        EXPECT_EQ(TESTS::folderFiles(company(0)), before);
        EXPECT_FALSE(APODI::BOO);
        EXPECT_EQ(TIM0::XR[1], 10);
        TESTS::writeFile(file(c.file), kept);
        EXPECT_TRUE(n.KTT(true, false));
        if (c.deletion) {
            TIM::TIMOS d(c.kind);
            ASSERT_TRUE(TESTS::openDoc(d, 2));
            const std::string now = bytes(c.file);
            fs::remove(file(c.file));
            const auto stored = TESTS::folderFiles(company(0));
            answerEsc();
            EXPECT_FALSE(d.DEL());
            EXPECT_EQ(row22, UMAS::padTo(gr(" ΑΡΧΕΙΟ ") + c.file + gr(" ΔΕΝ ΥΠΑΡΧΕΙ."), 36));
            EXPECT_EQ(row23, UMAS::padTo(gr("ΔΕΝ ΓΙΝΕΤΑΙ ΔΙΑΓΡΑΦΗ. Πατήστε ESC."), 36));
            EXPECT_EQ(TESTS::folderFiles(company(0)), stored);
            TESTS::writeFile(file(c.file), now);
        }
        TIM::TIMOS d(c.kind);
        ASSERT_TRUE(TESTS::openDoc(d, 2));
        ASSERT_TRUE(d.DEL());
    }
    expectSound();
}

TEST_F(InvoiceStore, SignedDocumentIsNeitherChangedNorDeleted) {
    TESTS::addCustomer("ΑΛΦΑ");
    TIM::TIMOS t;
    ASSERT_TRUE(storeNew(t, 9, "010126", "ΑΛΦΑ", 10));
    t.PAIPS[1] = -1;
    ASSERT_TRUE(t.KTT(false, false));
    ASSERT_TRUE(TESTS::openDoc(t, 9));
    EXPECT_EQ(t.PAIPS[1], -1);
    // The load shows the mark line, the mark where the manual-mark field edits it (column 24).
    EXPECT_EQ(con->text(2, 23, 28), gr(" Α/Α ΣΗΜΑΝΣΗΣ ΕΑΦΔΣΣ:    -1 "));
    EXPECT_EQ(con->attr(2, 23), 0x2F);
    EXPECT_EQ(con->attr(29, 23), 0x2F);
    const std::string before = bytes("TM.DAT");
    TIM0::XR[1] = 11;
    answerEsc();
    EXPECT_FALSE(t.KTT(true, false));
    EXPECT_EQ(row22.substr(0, gr(" ΔΕΝ ΓΙΝΕΤΑΙ ΑΛΛΑΓΗ ΣΤΟΙΧΕΙΩΝ.  ").size()), gr(" ΔΕΝ ΓΙΝΕΤΑΙ ΑΛΛΑΓΗ ΣΤΟΙΧΕΙΩΝ.  "));
    EXPECT_EQ(row23.substr(0, gr("ΕΧΕΙ ΓΙΝΕΙ ΣΗΜΑΝΣΗ. Πατήστε ESC.").size()), gr("ΕΧΕΙ ΓΙΝΕΙ ΣΗΜΑΝΣΗ. Πατήστε ESC."));
    EXPECT_EQ(bytes("TM.DAT"), before);
    // The customs amount alone may change.
    ASSERT_TRUE(TESTS::openDoc(t, 9));
    TIM0::FX[5] = 1500.5;
    EXPECT_TRUE(t.KTT(true, false));
    EXPECT_EQ(record("TM.DAT", 0).FX[5], 150050);
    // Deletion is refused.
    answerEsc();
    EXPECT_FALSE(t.DIAG());
    EXPECT_EQ(row22.substr(0, gr(" ΔΕΝ ΓΙΝΕΤΑΙ ΔΙΑΓΡΑΦΗ ΤΙΜΟΛΟΓΙΟΥ ").size()), gr(" ΔΕΝ ΓΙΝΕΤΑΙ ΔΙΑΓΡΑΦΗ ΤΙΜΟΛΟΓΙΟΥ "));
    EXPECT_EQ(row23.substr(0, gr("ΕΧΕΙ ΓΙΝΕΙ ΣΗΜΑΝΣΗ. Πατήστε ESC. ").size()), gr("ΕΧΕΙ ΓΙΝΕΙ ΣΗΜΑΝΣΗ. Πατήστε ESC. "));
    EXPECT_EQ(word("TI.DAT", 9), 0);
}

TEST_F(InvoiceStore, DeleteDialogAsksFirst) {
    TESTS::addCustomer("ΑΛΦΑ");
    TIM::TIMOS t;
    ASSERT_TRUE(storeNew(t, 3, "010126", "ΑΛΦΑ", 10));
    t.BTM = "3     ";
    ASSERT_FALSE(UMAS::ELDI("", t.BTM, "NUTI", 6));
    // Mask 43 asks, the answer awaited at column 37 of row 23; "o" is no.
    int cx = 0, cy = 0;
    std::string shown;
    auto once = std::make_shared<bool>(false);
    con->onIdle = [&, once] {
        if (*once) return;
        *once = true;
        shown = con->text(4, 22, 26);
        cx = con->whereX();
        cy = con->whereY();
        con->ch('o');
    };
    EXPECT_FALSE(t.DIAG());
    EXPECT_EQ(shown, gr("ΔΙΑΓΡΑΦΗ ΤΟΥ ΠΑΡΑΣΤΑΤΙΚΟΥ."));
    EXPECT_EQ(cx, 37);
    EXPECT_EQ(cy, 23);
    EXPECT_EQ(con->text(4, 22, 26), std::string(26, ' '));  // the screen under the mask is back
    EXPECT_EQ(word("TI.DAT", 3), 0);
    EXPECT_TRUE(APODI::BOO);
    con->ch(0x8C);  // Greek capital Ν: yes
    EXPECT_TRUE(t.DIAG());
    EXPECT_EQ(word("TI.DAT", 3), 65000);
    EXPECT_FALSE(APODI::BOO);
    EXPECT_EQ(TIM0::TM, "      ");
    EXPECT_EQ(APODI::PR, 65000);
    EXPECT_EQ(bytes("NUTI.DAT"), std::string(28, '\0'));
    // Not in the file: nothing happens.
    EXPECT_FALSE(t.DIAG());
    expectSound();
}

TEST_F(InvoiceStore, KeysOutsideTheHeadsAreNotLinked) {
    TESTS::addCustomer("ΑΛΦΑ");
    TIM::TIMOS t;
    // 1 January 1990 is day 0: in no day chain, and nothing to tell.
    ASSERT_TRUE(storeNew(t, 1, "010190", "ΑΛΦΑ", 10));
    EXPECT_EQ(node("TH.DAT", 0), (APODI::RTIM1{65000, 0}));
    // 2050 lies after the day heads: stored, found by number, the clerk is told.
    answerEsc();
    ASSERT_TRUE(storeNew(t, 2, "010150", "ΑΛΦΑ", 10));
    EXPECT_EQ(row22.substr(0, gr(" ΗΜΕΡΟΜΗΝΙΑ ΕΚΤΟΣ ΛΙΣΤΑΣ ΗΜΕΡΩΝ. ").size()), gr(" ΗΜΕΡΟΜΗΝΙΑ ΕΚΤΟΣ ΛΙΣΤΑΣ ΗΜΕΡΩΝ. "));
    EXPECT_EQ(row23.substr(0, gr("Καταχωρήθηκε. Πατήστε ESC.").size()), gr("Καταχωρήθηκε. Πατήστε ESC."));
    EXPECT_EQ(bytes("TH.DAT").size(), size_t(APODI::DAYHEADS) * 4);
    EXPECT_EQ(word("TI.DAT", 2), 1);
    EXPECT_EQ(node("TPE.DAT", 0), (APODI::RTIM1{0, 10000}));
    ASSERT_TRUE(TESTS::openDoc(t, 2));
    EXPECT_EQ(TIM0::HM, "010150");
    // A chain that would need node 65536 is not extended.
    std::string th = bytes("TH.DAT");
    th.resize(65536 * 4, '\0');
    const int32_t d = day("030326");
    th.replace(size_t(d) * 4, 4, std::string("\x01\x00\x00\x00", 4));
    TESTS::writeFile(file("TH.DAT"), th);
    answerEsc();
    ASSERT_TRUE(storeNew(t, 3, "030326", "ΑΛΦΑ", 10));
    EXPECT_EQ(row22.substr(0, gr(" ΛΙΣΤΑ ΠΑΡΑΣΤΑΤΙΚΩΝ ΓΕΜΑΤΗ.").size()), gr(" ΛΙΣΤΑ ΠΑΡΑΣΤΑΤΙΚΩΝ ΓΕΜΑΤΗ."));
    EXPECT_EQ(bytes("TH.DAT"), th);
}

TEST_F(InvoiceStore, ExpensesStatementNumberAdvances) {
    TESTS::addCustomer("ΑΛΦΑ");
    TIM::TIMOS t;
    ASSERT_FALSE(TESTS::openDoc(t, 12));
    TIM0::HM = "010126";
    TESTS::setCustomer("ΑΛΦΑ");
    TIM0::XR[1] = 1;
    ASSERT_TRUE(t.KTT(true, false));
    EXPECT_EQ(bytes("DAPANES.TXT"), "12       \r\n");
    ASSERT_FALSE(TESTS::openDoc(t, 5));
    TIM0::HM = "010126";
    TESTS::setCustomer("ΑΛΦΑ");
    TIM0::XR[1] = 1;
    ASSERT_TRUE(t.KTT(true, false));
    EXPECT_EQ(bytes("DAPANES.TXT"), "12       \r\n");
}

TEST_F(InvoiceStore, LoadLooksTheCustomerUpAgain) {
    const uint16_t a = TESTS::addCustomer("ΚΑΠΑ");
    TIM::TIMOS t;
    ASSERT_TRUE(storeNew(t, 1, "010126", "ΚΑΠΑ", 10));
    ASSERT_TRUE(TESTS::openDoc(t, 1));
    EXPECT_FALSE(t.ALLA());
    EXPECT_EQ(APODI::BON, APODI::EA);
    // The customer is deleted and another one follows it in name order: the document now belongs
    // to that one and counts as changed.
    const uint16_t b = TESTS::addCustomer("ΛΑΜΔΑ", "ΒΟΛΟΣ");
    ASSERT_TRUE(ARP0::DELETE(0, a, ARP0::KEY(gr("ΚΑΠΑ"))));
    ASSERT_TRUE(TESTS::openDoc(t, 1));
    EXPECT_EQ(APODI::PR, b);
    EXPECT_EQ(APODI::PO, UMAS::LEJU(gr("ΒΟΛΟΣ"), 20));
    EXPECT_TRUE(t.ALLA());
    ASSERT_TRUE(t.KTT(true, false));
    EXPECT_EQ(TESTS::customerXR(a), 0);
    EXPECT_EQ(TESTS::customerXR(b), int32_t(TIM0::ROUND(12.4 * 340.75)));
    expectSound();
}

TEST_F(InvoiceStore, NumberTakenMeanwhileIsNotOverwritten) {
    TESTS::addCustomer("ΑΛΦΑ");
    TIM::TIMOS t, u;
    ASSERT_FALSE(TESTS::openDoc(t, 5));
    TIM0::HM = "010126";
    TESTS::setCustomer("ΑΛΦΑ");
    TIM0::XR[1] = 1;
    // Another workstation stores number 5 first (without the in-use claim).
    {
        TIM::TIMOS other;
        const auto saved = TIM0::XR;
        ASSERT_TRUE(storeNew(other, 5, "010126", "ΑΛΦΑ", 2));
        TIM0::XR = saved;
    }
    APODI::BOO = false;
    answerEsc();
    EXPECT_FALSE(t.KTT(true, false));
    EXPECT_EQ(row22.substr(0, gr(" Ο ΑΡΙΘΜΟΣ ΥΠΑΡΧΕΙ ΗΔΗ.").size()), gr(" Ο ΑΡΙΘΜΟΣ ΥΠΑΡΧΕΙ ΗΔΗ."));
    EXPECT_EQ(bytes("TM.DAT").size(), TIM0::RTIM::SIZE);
    expectSound();
}

}  // namespace
