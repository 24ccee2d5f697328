// The documents menu with its party block, the goods text box, the certificate of origin, the
// A.TR.1, the fee form and the value declaration DV1 on the headless console; printouts compared
// with golden files.
#include "screen/documents_fixture.h"

#include "codes/kvdi.h"
#include "config/params.h"
#include "customers/pelat.h"
#include "declarations/ekdo.h"
#include "documents/ekd2.h"
#include "documents/ekd3.h"
#include "platform/clock.h"

using namespace DOCTEST;

namespace {

const std::vector<Customer> TWO = {
    {"ΑΛΦΑ ΑΕ", "094000001", "ΑΛΦΑ ΚΑΙ ΣΙΑ ΑΝΩΝΥΜΗ ΕΤΑΙΡΕΙΑ", "ΟΔΟΣ ΑΛΦΑ 1", "ΠΕΙΡΑΙΑΣ", "ΕΙΣΑΓΩΓΕΣ", "Α' ΠΕΙΡΑΙΑ", ""},
    {"ΒΗΤΑ ΟΕ", "094000003", "", "ΛΕΩΦΟΡΟΣ ΒΗΤΑ 2", "ΘΕΣΣΑΛΟΝΙΚΗ", "ΜΕΤΑΦΟΡΕΣ", "ΣΤ' ΘΕΣ/ΝΙΚΗΣ", "EL3"},
};

class Documents : public Docs {
protected:
    void SetUp() override {
        Docs::SetUp();
        addCustomers(0, TWO);
        UMAS::LOGOTYPO[8] = gr("ΠΕΙΡΑΙΑΣ");
        BOD::PL.clear();
        // the goods text box lives in mask 79 for the run: each test starts from the mask file's
        for (int k = 1; k <= 11; ++k) EKD2::PUTGOODSLINE(k, std::string(50, ' '));
    }
    // The customer record number of a name.
    uint16_t number(const char* name) {
        ARP0::EA = ARP0::KEY(gr(name));
        EXPECT_TRUE(ARP0::CHO(0)) << name;
        return ARP0::XN;
    }
    // The menu with the keys queued by the snaps.
    void menu(const std::vector<std::function<void()>>& snaps, const std::string& kind = "IMP", bool main = true) {
        run([&] { EKDO::EKD(kind, main); }, snaps);
    }
    std::string goods(int k) { return EKD2::GOODSLINE(k); }
};

// ---- Party block from the customer ----------------------------------------------------------------

TEST_F(Documents, KindInBox142ChoosesTheCustomerBox) {
    struct Case {
        const char* box142;
        const char* customer;
    };
    const Case cases[] = {{"    IMP", "ΒΗΤΑ ΟΕ"}, {"    EXP", "ΑΛΦΑ ΑΕ"}, {"    MTF", "ΑΛΦΑ ΑΕ"},
                          {"    PTE", "ΑΛΦΑ ΑΕ"}, {"ΑΥΤ MET", "ΒΗΤΑ ΟΕ"}, {"       ", "ΒΗΤΑ ΟΕ"},
                          {"    DFK", "ΒΗΤΑ ΟΕ"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box142);
        form("IMP");
        put(12, "ΑΛΦΑ ΑΕ");
        put(22, "ΒΗΤΑ ΟΕ");
        put(142, c.box142);
        BOD::PL.clear();
        BOD::PL.AB = "KEPT";
        EKDO::EKDPARTY();
        EXPECT_EQ(trimRight(BOD::PL.EP), gr(c.customer));
        EXPECT_EQ(BOD::PR, number(c.customer));
        EXPECT_EQ(BOD::PL.AB, "KEPT") << "the other fields of the block stay";
    }
    // the fields of the block from the found customer
    form("IMP");
    put(22, "ΑΛΦΑ ΑΕ");
    EKDO::EKDPARTY();
    EXPECT_EQ(BOD::PL.ON, gr("ΑΛΦΑ ΚΑΙ ΣΙΑ ΑΝΩΝΥΜΗ")) << "cut to 20";
    EXPECT_EQ(BOD::PL.OD, gr("ΟΔΟΣ ΑΛΦΑ 1"));
    EXPECT_EQ(BOD::PL.PO, gr("ΠΕΙΡΑΙΑΣ"));
    EXPECT_EQ(BOD::PL.TA, "094000001");
    EXPECT_EQ(BOD::PL.EG, gr("ΕΙΣΑΓΩΓΕΣ"));
    EXPECT_EQ(BOD::PL.EF, gr("Α' ΠΕΙΡΑΙΑ"));
}

TEST_F(Documents, AnUnknownNameLeavesNoOtherCustomersData) {
    for (const char* name : {"ΑΛΦΑ", "ΓΑΜΜΑ ΕΠΕ", ""}) {
        SCOPED_TRACE(name);
        form("IMP");
        put(22, name);
        BOD::PR = 7;
        BOD::PL.EP = "OLD";
        BOD::PL.EG = "OLD";
        BOD::PL.EF = "OLD";
        BOD::PL.A2 = "STAYS";
        const ARP0::RR0 before = PELAT::DIASRECPEL;
        EKDO::EKDPARTY();
        EXPECT_EQ(BOD::PR, 7) << "the declaration's customer stays";
        EXPECT_EQ(BOD::EA, UMAS::padTo(gr(name), 30)) << "the name stays as typed";
        for (const std::string* f : {&BOD::AF, &BOD::ON, &BOD::DI, &BOD::PO, &BOD::TK, &BOD::EP, &BOD::EF, &BOD::SX})
            EXPECT_TRUE(f->empty());
        for (const std::string* f : {&BOD::PL.EP, &BOD::PL.ON, &BOD::PL.OD, &BOD::PL.PO, &BOD::PL.TA, &BOD::PL.EG, &BOD::PL.EF})
            EXPECT_TRUE(f->empty());
        EXPECT_EQ(BOD::PL.A2, "STAYS");
        EXPECT_EQ(PELAT::DIASRECPEL, before);
    }
}

// ---- The menu ----------------------------------------------------------------------------------------

TEST_F(Documents, MenuShowsTheRowsAndF1EditsTheRowsPrintForm) {
    form("IMP");
    put(22, "ΒΗΤΑ ΟΕ");
    menu({[&] {
              EXPECT_NE(screenRow(4).find(gr("01. ΠΙΣΤΟΠΟΙΗΤΙΚΟ ΑΥΤΟΚΙΝΗΤΟΥ")), std::string::npos);
              EXPECT_NE(screenRow(21).find(gr("18. ΚΑΡΝΕ TIR")), std::string::npos);
              EXPECT_EQ(con->attr(24, 4), 0x70) << "the bar on row 1";
              EXPECT_EQ(con->attr(24, 5), 0x4F);
              EXPECT_NE(screenRow(25).find(gr("Διασάφηση")), std::string::npos);
              EXPECT_EQ(uint8_t(screenRow(25)[0]), 24) << "the arrows of the legend";
              con->key(SC::F1);  // row 1 before any other key: form 11
          },
          [&] {
              EXPECT_TRUE(TESTS::exists(work->file("ETC/pare1.11")));
              con->ch(ESC);  // leaves the settings
              type("12");    // row 12 runs: the cargo manifest
          },
          [&] {
              EXPECT_NE(screenRow(2).find(gr("ΓΡΑΜΜΕΣ (1)")), std::string::npos) << screenRow(2);
              con->ch(ESC);  // back in the menu, the bar on row 12
              con->key(SC::F1);
          },
          [&] {
              EXPECT_TRUE(TESTS::exists(work->file("ETC/pare1.116")));
              EXPECT_FALSE(TESTS::exists(work->file("ETC/pare1.12")));
              con->ch(ESC);
          }});
    EXPECT_EQ(trimRight(BOD::PL.EP), gr("ΒΗΤΑ ΟΕ")) << "the party block was filled on opening";
}

TEST_F(Documents, EachDocumentScreenLeftWithEscReturnsToTheMenuOnItsRow) {
    form("EXP");
    // form N105 asks whether to print on its way out
    const std::pair<int, const char*> rows[] = {{7, "\x1b"}, {8, "\x1b"}, {9, "\x1bN"}, {16, "\x1b"}, {17, "\x1b"}, {18, "\x1b"}};
    for (const auto& [row, leave] : rows) {
        SCOPED_TRACE(row);
        char typed[3];
        std::snprintf(typed, sizeof typed, "%02d", row);
        menu({[&] { type(typed); },
              [&] {
                  EXPECT_EQ(screenRow(4).find(gr("01. ΠΙΣΤΟΠΟΙΗΤΙΚΟ ΑΥΤΟΚΙΝΗΤΟΥ")), std::string::npos)
                      << "the document's own screen";
                  con->keys(leave);
              },
              [&] {
                  EXPECT_NE(screenRow(4).find(gr("01. ΠΙΣΤΟΠΟΙΗΤΙΚΟ ΑΥΤΟΚΙΝΗΤΟΥ")), std::string::npos);
                  EXPECT_EQ(con->attr(24, row + 3), 0x70) << "the bar on the row left";
                  con->ch(ESC);
              }},
             "EXP");
    }
}

// ---- Certificates -------------------------------------------------------------------------------------

class Certificates : public Documents {
protected:
    void SetUp() override {
        Documents::SetUp();
        toPort(UMAS::PE_PIKA);
        toPort(UMAS::PE_ATR1);
        stored("EXP", "2002",
               {{2, "EX"}, {6, "ΘΕΣΣΑΛΟΝΙΚΗ"}, {7, "1101"}, {12, "ΑΛΦΑ ΑΕ"}, {13, "ΟΔΟΣ ΑΛΦΑ 1"}, {14, "ΠΕΙΡΑΙΑΣ"},
                {22, "RECEIVER LTD"}, {23, "STREET 5"}, {24, "ISTANBUL"}, {25, "TURKEY"}, {42, "ΤΟΥΡΚΙΑ"},
                {82, "1500"}});
    }
};

TEST_F(Certificates, OriginGoldenWithTheClockFixed) {
    PLAT::setFixedNow(PLAT::DateTime{2024, 3, 5, 9, 0, 0, 0});
    menu({[&] { type("05"); },
          [&] {
        EXPECT_NE(screenRow(6).find(gr("ΠΕΡΙΓΡΑΦΗ")), std::string::npos) << "mask 79";
        type("ΚΙΒΩΤΙΑ ΜΕ ΦΡΟΥΤΑ");
        enter();
        type("ΣΥΝΟΛΟ 10");
        enter(3);
        type("GOODS LINE 5");
        con->key(SC::UP);
        con->ch(ESC);
        con->ch('N');
        con->ch(ESC);
    }},
         "EXP");
    const std::string out = port();
    golden("origin.prn", out);
    EXPECT_NE(out.find(gr("ΚΙΒΩΤΙΑ ΜΕ ΦΡΟΥΤΑ")), std::string::npos);
    EXPECT_NE(out.find("G.W.: 1500"), std::string::npos);
    EXPECT_NE(out.find(gr("ΠΕΙΡΑΙΑΣ 5/3/2024")), std::string::npos);
    EXPECT_NE(out.find(gr("ΠΕΙΡΑΙΑΣ CHAMBER")), std::string::npos);
    EXPECT_EQ(goods(1), UMAS::padTo(gr("ΚΙΒΩΤΙΑ ΜΕ ΦΡΟΥΤΑ"), 50));
    EXPECT_EQ(goods(5), UMAS::padTo("GOODS LINE 5", 50));
}

TEST_F(Certificates, ATR1GoldenAndTheGoodsTextOfferedAgain) {
    EKD2::PUTGOODSLINE(1, "FROM THE LAST CERTIFICATE");
    EKD2::PUTGOODSLINE(11, "05/03/2024");
    menu({[&] { type("11"); },
          [&] {
              EXPECT_NE(screenRow(7).find("FROM THE LAST CERTIFICATE"), std::string::npos) << "offered again";
              con->key(SC::DOWN);
              con->key(SC::DOWN);
              type("SECOND THIRD");
              con->ch(ESC);
              con->ch('N');
              con->ch(ESC);
          }},
         "EXP");
    const std::string out = port();
    golden("atr1.prn", out);
    EXPECT_NE(out.find("GREECE"), std::string::npos);
    EXPECT_NE(out.find("TURKEY"), std::string::npos);
    EXPECT_NE(out.find(gr("ΘΕ THESSALONIKI ")), std::string::npos);
    size_t first = out.find(gr("ΠΕΙΡΑΙΑΣ 05/03/2024"));
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(out.find(gr("ΠΕΙΡΑΙΑΣ 05/03/2024"), first + 1), std::string::npos) << "line 11 twice";
}

TEST_F(Certificates, NoPrintsNothingAndKeepsTheText) {
    menu({[&] {
        type("05");
        type("TYPED");
        enter();
        con->ch(ESC);
        con->ch('O');
        con->ch(ESC);
    }},
         "EXP");
    EXPECT_TRUE(port().empty());
    EXPECT_EQ(UMAS::trim(goods(1)), "TYPED");
}

TEST(CertificateWords, DigitsAndOfficeCodes) {
    TESTS::TempWorkDir work;
    const std::pair<char, const char*> digits[] = {{'0', "ΜΗΔΕΝ"}, {'7', "ΕΠΤΑ"}, {'9', "ΕΝΝΕΑ"}, {' ', ""}, {'A', ""}};
    for (const auto& [c, w] : digits) EXPECT_EQ(EKD2::DIGI(c), gr(w)) << c;
    const std::pair<const char*, const char*> offices[] = {
        {"ΣΤΑΥΡΟΣ", "SΤ"}, {"ΔΡΑΜΑ", "DΡ"}, {"ΘΕΣΣΑΛΟΝΙΚΗ", "ΘΕ THESSALONIKI "},
        {"Α' ΘΕΣ/ΝΙΚΗΣ", "Α' THESSALONIKI "}, {"ΠΕΙΡΑΙΑΣ", "ΠΕ"}, {"", ""}};
    for (const auto& [b6, code] : offices) EXPECT_EQ(EKD2::ATR1OFFICE(gr(b6)), gr(code)) << b6;
}

// ---- Party block editor ---------------------------------------------------------------------------------

TEST_F(Documents, PartyBlockProposalsAndThePassedOverFields) {
    form("IMP");
    put(8, "150324");
    put(100, "1234.50");
    BOD::PRL pa;
    pa.B1 = "OWN";
    run([&] { EKD2::PARA(pa, true); },
        {[&] {
             EXPECT_NE(screenRow(1).find(gr("ΣΤΟΙΧΕΙΑ ΠΙΣΤΟΠΟΙΗΤΙΚΟΥ")), std::string::npos);
             enter(12);  // to field 13
             con->key(SC::DOWN);
             type("VALUE");  // field 16, past 14 and 15
             con->key(SC::UP);
             type("B2");  // field 13
             enter();
             con->ch(ESC);
         }});
    EXPECT_EQ(pa.B0, "15-03-24");
    EXPECT_EQ(pa.B1, "OWN") << "a field with text keeps it";
    EXPECT_EQ(pa.B5.substr(0, 5), "VALUE");
    EXPECT_EQ(pa.B2, "B2");
    EXPECT_TRUE(pa.B3.empty());

    BOD::PRL fresh;
    run([&] { EKD2::PARA(fresh, true); }, {[&] { con->ch(ESC); }});
    EXPECT_EQ(fresh.B5, BOD::SOB(BOD::DIA, BOD::GV, 100) + gr(" ΕΥΡΩ"));
    EXPECT_EQ(fresh.B1, gr("ΑΝΟΙΚΤΟ-ΚΛΕΙΣΤΟ"));
}

TEST_F(Documents, PartyBlockFreeLinesFromATextBlock) {
    // The first text block of the table: five rows of 40 letters, A to E.
    std::vector<uint8_t> img(KVDI::F_SFR.size);
    for (size_t r = 0; r < 5; ++r)
        for (size_t c = 0; c < 40; ++c) {
            img[r * 80 + c * 2] = uint8_t('A' + r);
            img[r * 80 + c * 2 + 1] = 0x1E;
        }
    TESTS::writeFile(company(0) + "/SFR.DAT", std::string(img.begin(), img.end()));
    form("IMP");
    BOD::PRL pa;
    pa.A6 = "OLD";
    run([&] { EKD2::PARA(pa, true); },
        {[&] {
             enter(15);  // fields 1 to 13, then 16 and 17: field 18, the first free line
         },
         [&] {
             EXPECT_EQ(con->attr(62, 24), 0x4E) << "the picker's marker (mask 20)";
             con->ch(TAB);
             con->ch(ENTER);  // the first block
         },
         [&] {
             EXPECT_EQ(con->text(27, 19, 40), std::string(40, 'A')) << "shown at once";
             EXPECT_EQ(con->text(27, 23, 40), std::string(40, 'E'));
             con->ch(ESC);
         }});
    const std::string* lines[] = {&pa.A2, &pa.A3, &pa.A4, &pa.A5, &pa.A6};
    for (size_t r = 0; r < 5; ++r) EXPECT_EQ(*lines[r], std::string(40, char('A' + r))) << r;
}

// ---- Fee form --------------------------------------------------------------------------------------------

TEST(FeeFormSpacing, LetterSpacingOfTheCombBoxes) {
    struct Case {
        const char* s;
        int len;
        const char* out;
    };
    const Case cases[] = {{"123", 3, "1 2 3"}, {"123", 5, "1 2 3  "}, {"12345", 3, "1 2 345"}, {"", 2, " "}, {"AB", 1, "AB"}};
    for (const Case& c : cases) EXPECT_EQ(EKD3::LETTERSPACE(c.s, c.len), c.out) << c.s << " " << c.len;
}

class FeeForm : public Documents {
protected:
    void SetUp() override {
        Documents::SetUp();
        toSpool(UMAS::PE_PIDE);
    }
    // The fee form from the menu: kind-of-work line 1, the amount, then yes and the copies.
    void feeForm(const std::string& line1, const std::string& amount, const std::string& copies) {
        menu({[&] {
            type("03");
            type(line1);
            enter(10);
            type(amount);
            enter();
            con->ch('N');
            type(copies);
            enter();
            con->ch(ESC);
        }});
    }
};

TEST_F(FeeForm, TwoCopiesOfAnImportEachHandedOff) {
    stored("IMP", "1001",
           {{4, "IM4"}, {6, "ΠΕΙΡΑΙΑ"}, {7, "1001"}, {8, "150324"}, {21, "  :123"}, {22, "ΒΗΤΑ ΟΕ"}, {23, "ΛΕΩΦΟΡΟΣ ΒΗΤΑ 2"},
            {24, "ΘΕΣΣΑΛΟΝΙΚΗ"}, {25, "ΕΛΛΑΔΑ"}, {72, "ΦΡΟΥΤΑ ΚΑΙ ΛΑΧΑΝΙΚΑ ΝΩΠΑ ΣΕ ΚΙΒΩΤΙΑ"}, {79, "0808108000"},
            {100, "2500.00"}});
    feeForm("ΕΚΤΕΛΩΝΙΣΜΟΣ", "123.45", "2");
    const std::string all = handed();
    golden("fee_import.prn", all);
    const size_t sep = all.find("=====");
    ASSERT_NE(sep, std::string::npos);
    EXPECT_EQ(all.substr(0, sep), all.substr(sep + 6, sep)) << "two identical jobs";
    EXPECT_NE(all.find("1 2 3"), std::string::npos) << "the tax number letter-spaced";
    std::string words;
    PARAMS::OLOG(UMAS::padTo("123.45", 10), 0, 0, words);
    EXPECT_NE(all.find(words), std::string::npos) << "the amount in words";
    EXPECT_NE(all.find(gr("ΦΡΟΥΤΑ ΚΑΙ ΛΑΧΑΝΙΚΑ ΝΩΠΑ ΣΕ ") + "\x12"), std::string::npos) << "28 characters";
}

TEST_F(FeeForm, ExportSideZeroAmountAndNoCopies) {
    stored("EXP", "2002", {{11, "EL094000001"}, {12, "ΑΛΦΑ ΑΕ"}, {13, "ΟΔΟΣ ΑΛΦΑ 1"}, {14, "ΠΕΙΡΑΙΑΣ"}, {25, "NOT PRINTED"}});
    feeForm("", "0", "1");
    const std::string out = handed();
    EXPECT_NE(out.find("E L 0 9 4 0 0 0 0 0 1"), std::string::npos);
    EXPECT_NE(out.find(gr("ΑΛΦΑ ΑΕ")), std::string::npos);
    EXPECT_EQ(out.find("NOT PRINTED"), std::string::npos) << "no fourth party line on the export side";
    EXPECT_EQ(out.find(gr("ΜΗΔΕΝ")), std::string::npos) << "no words for 0";
    TESTS::writeFile(work->file("handed.out"), "");
    feeForm("", "0", "0");
    EXPECT_TRUE(handed().empty()) << "0 copies print nothing";
    EXPECT_NE(goods(11).find("0"), std::string::npos) << "the entries stay for the next use";
}

TEST_F(FeeForm, WordsAreCutAfterAHundredCharacters) {
    stored("IMP", "1001", {});
    feeForm("", "777777777", "1");
    const std::string out = handed();
    std::string words;
    PARAMS::OLOG(UMAS::padTo("777777777", 10), 0, 0, words);
    ASSERT_GT(words.size(), 100u);
    EXPECT_NE(out.find(words.substr(0, 50)), std::string::npos);
    EXPECT_NE(out.find(words.substr(50, 50)), std::string::npos);
    EXPECT_EQ(out.find(words.substr(50, 51)), std::string::npos);
}

// ---- DV1 -----------------------------------------------------------------------------------------------

TEST(DV1Conversion, EurosToTheCentHalvesToEven) {
    struct Case {
        const char *amount, *rate;
        double euro;
    };
    const Case cases[] = {{"10000", "1.2345", 8100.45}, {"0.25", "2", 0.12}, {"0.35", "2", 0.18},
                          {"100", "0", 0},             {"100", "", 0},      {"100", "0.00001", 0},
                          {"ABC", "1.5", 0},           {"100", "0.5", 200}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(EKD3::DV1EURO(c.amount, c.rate), c.euro) << c.amount << " / " << c.rate;
}

class DV1 : public Documents {
protected:
    void SetUp() override {
        Documents::SetUp();
        toSpool(UMAS::PE_DV1);
    }
};

TEST_F(DV1, ProposalFromTheFirstCurrencyGroup) {
    form("IMP");
    put(29, "THE FIRST FREE LINE FROM BOX 29 OF THE FORM");
    put(56, "1.23456789");
    put(149, "USD");
    put(150, "12345.6*1.2345");
    EKD3::DV1Entry e = EKD3::DV1PROPOSAL();
    EXPECT_EQ(e.O1, UMAS::cut(BOD::SOB(BOD::DIA, BOD::GV, 29), 25));
    EXPECT_EQ(e.P[0], "12346");
    EXPECT_EQ(e.S[0], "USD");
    EXPECT_EQ(e.I[0], "1.23456");
    EXPECT_EQ(e.S[1], "   ");
    put(150, "12345.6");
    EXPECT_EQ(EKD3::DV1PROPOSAL().P[0], "0") << "without a star";
    put(149, "");
    put(161, "GBP");
    put(162, "10*1");
    EXPECT_EQ(EKD3::DV1PROPOSAL().S[0], "GBP") << "the first group with a code";
    put(161, "");
    EXPECT_EQ(EKD3::DV1PROPOSAL().P[0], "10") << "all blank: the group at box 161";
}

TEST_F(DV1, BothSheetsGolden) {
    stored("IMP", "1001",
           {{8, "150626"}, {9, "150324"}, {22, "ΒΗΤΑ ΟΕ"}, {23, "ΛΕΩΦΟΡΟΣ ΒΗΤΑ 2"}, {24, "ΘΕΣΣΑΛΟΝΙΚΗ"}, {29, "ΠΩΛΗΣΗ"},
            {34, "099999999"}, {37, "ΑΝΤΙΠΡΟΣΩΠΟΣ"}, {49, "CIF"}, {50, "ΠΕΙΡΑΙΑΣ"}, {56, "1.2345"}, {145, "USD"},
            {146, "10000*1.2345"}, {62, "ΤΙΜΟΛ.ΑΡ.:77"}});
    run([&] { EKD3::DV1(); },
        {[&] {
             EXPECT_NE(screenRow(4).find("DV1"), std::string::npos);
             EXPECT_EQ(con->text(39, 8, 5), "10000");
             EXPECT_EQ(con->text(31, 9, 3), "USD");
             enter(3);  // to amount 2
             type("50");
             KVDI::V01.KV = "USD";  // the picker opens on the last choice
             con->ch(TAB);          // the currencies of the declaration's date
         },
         [&] { enter(); },
         [&] {
             EXPECT_EQ(con->text(31, 11, 3), "USD");
             EXPECT_EQ(con->text(45, 11, 7), "0.9217 ");
             enter(2);
             con->ch('N');
             con->ch('N');
         }});
    const std::string out = handed();
    golden("dv1.prn", out);
    EXPECT_NE(out.find("EUR    8100.45"), std::string::npos);
    EXPECT_NE(out.find("EUR 54.25 + EUR 0.00"), std::string::npos) << "50 / 0.9217";
    EXPECT_NE(out.find("EUR 8100.45 + EUR 54.25"), std::string::npos);
    EXPECT_NE(out.find("   8154.70"), std::string::npos);
    EXPECT_NE(out.find("15/03/24"), std::string::npos);
}

// With no currency chosen before, the picker opens on the first currency, not on an empty row; an
// empty row taken with Enter is no choice and the amount keeps its currency and rate.
TEST_F(DV1, TheCurrencyPickerHandsBackNoEmptyRow) {
    stored("IMP", "1001", {{8, "150626"}, {56, "1.2345"}, {145, "GBP"}, {146, "10000*1.2345"}});
    struct Case {
        int downs;
        const char *currency, *rate;
    };
    for (const Case& c : {Case{0, "USD", "0.9217 "}, Case{3, "GBP", "1.2345 "}, Case{5, "GBP", "1.2345 "}}) {
        KVDI::V01 = {};
        TESTS::writeFile(work->file("handed.out"), "");
        run([&] { EKD3::DV1(); }, {[&] {
                enter(2);  // to amount 1
                con->ch(TAB);
            },
                                    [&] {
                                        for (int i = 0; i < c.downs; ++i) con->key(SC::DOWN);
                                        enter();
                                    },
                                    [&] {
                                        EXPECT_EQ(con->text(31, 9, 3), c.currency) << c.downs;
                                        EXPECT_EQ(con->text(45, 9, 7), c.rate) << c.downs;
                                        con->ch(ESC);
                                        con->ch('N');
                                        con->ch('N');
                                    }});
    }
}

TEST_F(DV1, EscStillAsksAndNoToTheFirstSheetStillOffersTheSecond) {
    stored("IMP", "1001", {{9, "150324"}, {56, "2"}, {145, "USD"}, {146, "0.25*2"}});
    run([&] { EKD3::DV1(); }, {[&] {
            con->ch(ESC);
            con->ch('O');
        },
                                [&] {
                                    EXPECT_NE(screenRow(23).find(gr("2ης")), std::string::npos) << screenRow(23);
                                    con->ch('N');
                                }});
    const std::string out = handed();
    EXPECT_EQ(out.find("====="), out.rfind("=====")) << "one sheet";
    EXPECT_EQ(out.find(gr("Δ/ΣΗ")), std::string::npos) << "no first sheet";
    EXPECT_NE(out.find("EUR 0.00 + EUR 0.00"), std::string::npos);
}

}  // namespace
