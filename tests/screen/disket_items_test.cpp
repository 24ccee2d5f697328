// The item segments of the segment file, worked by hand: tax lines in the declaration and vehicle
// layouts, supplementary units, base products from the tax-base file, offices of transit, the
// delivery terms, the vehicle check and the vehicle segments with the permit data. Side files are
// written through their owner's codecs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/store_form.h"
#include "documents/ekextra.h"
#include "helpers/fixture.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "screen/disket_items_fixture.h"
#include "shell/install.h"
#include "submission/disket.h"
#include "submission/disket_ops.h"
#include "submission/disket_run.h"
#include "submission/disket_writers.h"

using namespace DISKETITEMS;
namespace W = DISKET::WRITERS;

namespace {

class ItemSegments : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
        UMAS::EXTRA_OXIMATA = {};
        ASSERT_TRUE(BOD::SETFORM("IMP"));
        for (int b = 1; b <= BOD::BOXES; ++b) BOD::BOS(BOD::DIA, BOD::GV, b, "");
        box(1, "123");
    }
    void TearDown() override {
        UMAS::EXTRA_OXIMATA = {};
        TESTS::Installation::TearDown();
    }
    void box(int n, const std::string& utf8) { BOD::BOS(BOD::DIA, BOD::GV, n, gr(utf8.c_str())); }
    // A run standing at row 1 of the code KV on item 1.
    static DISKET::RUN at(uint16_t KV, const std::string& EXT = "IMP", uint8_t EDE = DISKET::ED_FILE) {
        DISKET::RUN R;
        R.EXT = EXT;
        R.EDE = EDE;
        R.TAB[0].KV = KV;
        R.TAB[0].PEDIO = "P";
        R.TAB[0].MIKOS = "..40";
        R.I = 1;
        R.AREIDOS = 1;
        R.SYNEIDH = 1;
        return R;
    }
    static std::string errors(const DISKET::RUN& R) {
        std::string s;
        for (const auto& l : R.ERR) s += PLAT::cp737ToUtf8(l) + "\n";
        return s;
    }
    // Tax line k of the main page: type, base, rate, amount.
    static void tax(int k, const std::string& type, const std::string& base, const std::string& rate,
                    const std::string& amount) {
        taxLine(BOD::DIA, BOD::GV, 101, k, type, base, rate, amount);
    }
};

}  // namespace

// ---- Tax segments ------------------------------------------------------------------------------

TEST_F(ItemSegments, TaxLinesInTheDeclarationAndTheVehicleLayouts) {
    struct Line {
        const char *type, *base, *rate, *amount;
    };
    struct Case {
        std::vector<Line> lines;
        const char* mode0;
        const char* mode1;
    } cases[] = {
        {{{"100", "1234.567", "19", "234.57"},
          {"080", "", "", ""},
          {"TNE", "", "", "12"},
          {"DT5", "", "", "5.5"},
          {"KLT", "", "", "1"},
          {" 10", "", "", "9"},
          {"200", "12,5", "", "3"},
          {"LPA", "", "", "2.25"}},
         "\r\n3121:1~2~1~1~100~0~234.57~A~1234.567~19"
         "\r\n3124:1~2~1~1~080~0.0~V"
         "\r\n3124:1~2~1~2~TNE#J~12.0~V"
         "\r\n3124:1~2~1~3~DT5~5.5~V"
         "\r\n3124:1~2~1~4~KLT~1.0~V"
         "\r\n3121:1~2~1~2~200~0~3.0~A~~"
         "\r\n3124:1~2~1~5~LPA~2.25~V",
         "\r\n0114:1~2~1~1~100~234.57~A~0~1234.56~19.0"
         "\r\n0115:1~2~1~1~080~V~0.0"
         "\r\n0115:1~2~1~2~TNE#J~V~12.0"
         "\r\n0115:1~2~1~3~DT5~V~5.5"
         "\r\n0115:1~2~1~4~KLT~V~1.0"
         "\r\n0114:1~2~1~2~200~3.0~A~0~12,5~0"
         "\r\n0115:1~2~1~5~LPA~V~2.25"},
        {{{"0AB", "", "", "7"},
          {"300", "", "19", ""},
          {"", "1", "1", "1"},
          {"400", "-3", "1.5", "4.10"},
          {"81X", "", "", "1"},
          {"85", "100", "", "2"},
          {"TN", "", "", "3"},
          {"A00", ".5", "7.", "1"}},
         "\r\n3124:1~2~1~1~0AB~7.0~V"
         "\r\n3121:1~2~1~1~300~0~0.0~A~~19"
         "\r\n3121:1~2~1~2~400~0~4.10~A~~1.5"
         "\r\n3124:1~2~1~2~81X~1.0~V"
         "\r\n3121:1~2~1~3~85~0~2.0~A~100~"
         "\r\n3121:1~2~1~4~TN~0~3.0~A~~"
         "\r\n3121:1~2~1~5~A00~0~1.0~A~.5~7.",
         "\r\n0115:1~2~1~1~0AB~V~7.0"
         "\r\n0114:1~2~1~1~300~0.0~A~0~0~19.0"
         "\r\n0114:1~2~1~2~400~4.10~A~0~-3~1.5"
         "\r\n0115:1~2~1~2~81X~V~1.0"
         "\r\n0114:1~2~1~3~85~2.0~A~0~100~0"
         "\r\n0114:1~2~1~4~TN~3.0~A~0~0~0"
         "\r\n0114:1~2~1~5~A00~1.0~A~0~.5~7."},
    };
    for (const Case& c : cases) {
        for (size_t k = 0; k < c.lines.size(); ++k)
            tax(int(k + 1), c.lines[k].type, c.lines[k].base, c.lines[k].rate, c.lines[k].amount);
        for (uint8_t mode : {DISKET::ED_FILE, DISKET::ED_SEND, DISKET::ED_AUTO, DISKET::ED_AUTOSEND}) {
            auto R = at(980, "IMP", mode);
            W::TAXES(R);
            const bool declaration = mode == DISKET::ED_FILE || mode == DISKET::ED_SEND;
            EXPECT_EQ(R.OUT, declaration ? c.mode0 : c.mode1) << int(mode);
            EXPECT_EQ(R.CERR, 0);
        }
    }
}

TEST_F(ItemSegments, TaxLinesOfALaterItemComeFromItsSheetAndOtherModesWriteTheTypeOnly) {
    const BOD::SCB saved = BOD::BIS;
    BOD::BIS = BOD::SHEETPAGE("IMP");
    for (int b = 1; b <= BOD::SHEET_BOXES; ++b) BOD::BOS(BOD::BIS, BOD::GB, b, "");
    BOD::BOS(BOD::BIS, BOD::GB, 56, "TNE");
    BOD::BOS(BOD::BIS, BOD::GB, 59, "4");
    BOD::BOS(BOD::BIS, BOD::GB, 61, "100");
    BOD::BOS(BOD::BIS, BOD::GB, 62, "50");
    BOD::BOS(BOD::BIS, BOD::GB, 63, "10");
    BOD::BOS(BOD::BIS, BOD::GB, 64, "5");
    tax(1, "999", "", "", "1");  // the main page is item 1's only
    auto R = at(980);
    R.AREIDOS = 12;
    W::TAXES(R);
    EXPECT_EQ(R.OUT, "\r\n3124:1~2~12~1~TNE#J~4.0~V\r\n3121:1~2~12~1~100~0~5.0~A~50~10");
    auto T = at(980, "MTF", DISKET::ED_TIRSEND);
    T.AREIDOS = 12;
    W::TAXES(T);
    EXPECT_EQ(T.OUT, "\r\n~TNE#J\r\n~100");
    BOD::BIS = saved;
    // A walk writes nothing of its own for the row, whatever its length rule.
    auto M = at(980);
    M.TAB[0].MIKOS = "5";
    M.AREIDOS = M.SYNEIDH = 0;
    DISKET::WALK(M);
    EXPECT_EQ(M.OUT, "\r\n3121:1~2~1~1~999~0~1.0~A~~");
    EXPECT_EQ(M.CERR, 0) << errors(M);
}

// ---- Supplementary units and delivery terms ----------------------------------------------------

TEST_F(ItemSegments, SupplementaryUnitsForBothRows) {
    const std::string codeError = "Γραμμή 1 Κωδικός συμπλ/κών μονάδων (41) αριθμ. πεδίο [ 01 έως 58 ]\n";
    const std::string formError = "Γραμμή 1 Οι συμπλ/κές μον. (41) γράφονται ως εξής   Κωδικός:Ποσότητα\n";
    struct Case {
        const char* units;
        const char* quantity;  // row 89
        bool quantityError;
        const char* code;      // row 890
        bool codeFails;
    } cases[] = {
        {"05:120", "~120", false, "~5", false}, {"5:120", "~120", false, "~5", true},
        {"91:3", "~3", false, "~91", true},     {"58:3", "~3", false, "~58", false},
        {"90:3", "~3", false, "~90", false},    {"150", "~150", true, "~150", false},
        {"", "~", false, "~", false},           {":5", "~:5", true, "~:5", false},
        {"00:5", "~5", false, "~", true},       {"1:2:3", "~2:3", false, "~1", true},
        {"A1:3", "~3", false, "~A1", true},     {"9999999999:1", "~1", false, "~9999999999", true},
    };
    for (const Case& c : cases) {
        box(89, c.units);
        auto Q = at(89);
        DISKET::WALK(Q);
        EXPECT_EQ(Q.OUT, c.quantity) << c.units;
        EXPECT_EQ(errors(Q), c.quantityError ? formError : "") << c.units;
        auto C = at(890);
        DISKET::WALK(C);
        EXPECT_EQ(C.OUT, c.code) << c.units;
        EXPECT_EQ(errors(C), c.codeFails ? codeError : "") << c.units;
    }
    // Later items read box 39 of their sheet.
    const BOD::SCB saved = BOD::BIS;
    BOD::BIS = BOD::SHEETPAGE("IMP");
    BOD::BOS(BOD::BIS, BOD::GB, 39, "07:15");
    auto R = at(890);
    R.AREIDOS = 2;
    DISKET::WRITEMONADES(R);
    EXPECT_EQ(R.BS, "7");
    DISKET::WRITESYMMONADES(R);
    EXPECT_EQ(R.BS, "15");
    BOD::BIS = saved;
}

TEST_F(ItemSegments, DeliveryTermsAreLookedUpInTheList) {
    for (const auto& [terms, bad] : std::vector<std::pair<std::string, bool>>{
             {"FOB", false}, {"FO", false}, {"B,C", false}, {"", false}, {"ABC", true}, {"fob", true}}) {
        box(49, terms);
        auto R = at(49);
        DISKET::WALK(R);
        EXPECT_EQ(R.OUT, "~" + terms);
        EXPECT_EQ(errors(R), bad ? "Λάθος κωδικός " + terms + " όρων παράδοσης (Θέση 20)\n" : "") << terms;
    }
}

// ---- Base products -----------------------------------------------------------------------------

TEST_F(ItemSegments, BaseProductsOfLines2And5WithTheirChecks) {
    box(33, "02");
    vas(1, {{2, {"1234567890 1234", " ΒΟΥΤΥΡΟ ", "    12.500"}},
            {5, {"123456789", "", "0"}},
            {7, {"   ", "NO CODE", "5"}},
            {8, {"1234567890 12", "ΓΑΛΑ", "12345678901"}}});
    for (uint16_t KV : {1119, 3119}) {
        const std::string head = KV == 1119 ? "0119" : "3119";
        auto R = at(KV);
        W::BASEPRODUCTS(R);
        EXPECT_EQ(R.OUT, iso("\r\n" + head + ":1~2~1~1~1234567890~1234~12.500~ΒΟΥΤΥΡΟ"
                             "\r\n" + head + ":1~2~1~2~123456789~~0~"
                             "\r\n" + head + ":1~2~1~3~1234567890~12~1234567890~ΓΑΛΑ"));
        EXPECT_EQ(errors(R), "Λάθος 10ψηφιος Κωδικός στον 5ο στίχο του 1ου είδους\n"
                             "Λάθος 4ψηφιος Κωδικός Επιδότησης στον 5ο στίχο του 1ου είδους\n"
                             "Μηδενική Ποσότητα Προιόντος Βάσης στον 5ο στίχο του 1ου είδους\n"
                             "Λάθος 4ψηφιος Κωδικός Επιδότησης στον 8ο στίχο του 1ου είδους\n");
        EXPECT_EQ(R.TOTVASIS, 3);
    }
    // Another item reads its own file; none is no segment and no error.
    auto R = at(3119);
    R.AREIDOS = 4;
    W::BASEPRODUCTS(R);
    EXPECT_EQ(R.OUT, "");
    EXPECT_EQ(R.CERR, 0);
    // A short file gives the lines it holds and leaves the rest empty: line 2 keeps its code and
    // the first characters of its description, no quantity.
    EKEXTRA::VASTABLE shortFile;
    shortFile.L[0] = {"1234567890 1234", "A", "1"};
    shortFile.L[1] = {"2234567890 2234", "DESCRIPTION", "7"};
    PLAT::writeWholeAtomic(EKEXTRA::ITEMNAME("123", ".V", "5"), shortFile.encode().substr(0, 54 + 16 + 5));
    R = at(3119);
    R.AREIDOS = 5;
    W::BASEPRODUCTS(R);
    EXPECT_EQ(R.OUT, "\r\n3119:1~2~5~1~1234567890~1234~1~A\r\n3119:1~2~5~2~2234567890~2234~~DESC");
    EXPECT_EQ(errors(R), "Μηδενική Ποσότητα Προιόντος Βάσης στον 2ο στίχο του 5ου είδους\n");
    // Box 33 other than 02: the file is not read.
    box(33, "01");
    R = at(3119);
    W::BASEPRODUCTS(R);
    EXPECT_EQ(R.OUT, "");
}

TEST_F(ItemSegments, Box33Of02WithoutAnyBaseProductIsMessage13AtTheEnd) {
    // Through the whole run: the error list holds message 13 and no file is left.
    TESTS::writeFile(company(0) + "/NPARDISK.dat",
                     INSTALL::fieldTableImage({"1|1001|H|R|6||", "101|1031|ΕΙΔΟΣ|R|6||", "102|78|Α/Α|R|..3|N|",
                                               "103|3119|ΒΑΣΗ||||", "200|1099|ΤΕΛΟΣ||6||"}));
    TESTS::writeFile(company(0) + "/ASCI_OUT.TXT", "OUT\\\r\n");
    std::filesystem::create_directories(work->file("OUT"));
    box(18, "1");
    box(20, "77");
    box(33, "02");
    size_t waits = 0;
    con->onIdle = [&] {
        if (waits++ < 3) con->keys(gr(waits == 1 ? "Ν" : " "));
    };
    DISKET::MAKE_DISK("IMP", DISKET::ED_FILE, nullptr, false);
    con->onIdle = nullptr;
    EXPECT_EQ(PLAT::cp737ToUtf8(TESTS::readFile(work->file("ERROR.TXT"))),
              "Οταν ο κωδικός ΚΑΠ είναι 02 απαιτείται ένα προιόν Βάσης\r\n");
    EXPECT_FALSE(TESTS::exists(work->file("OUT/D77.TXT")));
}

// ---- Offices of transit ------------------------------------------------------------------------

TEST_F(ItemSegments, OfficesOfTransitNumberedApartFromTheRefused) {
    box(191, "GR004500");
    box(195, " GR12 ");
    box(197, "GR004600");
    auto R = at(1021);
    W::TRANSITOFFICES(R);
    EXPECT_EQ(R.OUT, "\r\n0021:1~2~1~GR004500\r\n0021:1~2~2~GR004600");
    EXPECT_EQ(errors(R), "Στα Τελωνεία Διελ/σης (51) απαιτείται διεθνής Κωδικός GR00200x\n");
    // The walk starts the writer only when box 191 holds something.
    box(191, "");
    R = at(1021);
    DISKET::WALK(R);
    EXPECT_EQ(R.OUT, "");
    EXPECT_EQ(R.CERR, 0);
}

// ---- The vehicle check -------------------------------------------------------------------------

TEST_F(ItemSegments, TheVehicleCheckLooksThroughItems1To99) {
    auto R = at(0);
    EXPECT_FALSE(W::VEHICLECHECK(R));
    // Records of blanks are no vehicle; items above 99 are not seen.
    BOD::MOT blank;
    blank.ON = "   ";
    cars(3, {{1, blank}});
    cars(100, {{1, car("1 ΕΠΙΒΑΤΙΚΟ", "ABC")}});
    EXPECT_FALSE(W::VEHICLECHECK(R));
    cars(7, {{200, car("1", "ABC")}});
    EXPECT_TRUE(W::VEHICLECHECK(R));
    // Another declaration's files do not count.
    box(1, "124");
    EXPECT_FALSE(W::VEHICLECHECK(R));
    // A short file is read as far as it goes.
    box(1, "123");
    PLAT::removeFile(EKEXTRA::ITEMNAME("123", ".O", "7"));
    EKEXTRA::PINAYT t;
    t.V[0] = car("2", "X");
    PLAT::writeWholeAtomic(EKEXTRA::ITEMNAME("123", ".O", "9"), t.encode().substr(0, 40));
    EXPECT_TRUE(W::VEHICLECHECK(R));
}

// ---- Vehicle segments --------------------------------------------------------------------------

TEST_F(ItemSegments, VehiclesInRecords1And3InEachLayout) {
    cars(1, {{1, car("10 ΕΠΙΒΑΤΙΚΑ", " WVWZZZ1JZXW000001 ", "1999", "1600", " 1 ")},
             {3, car(" 2", "ABC123", "", "", "2")}});
    struct Case {
        const char* EXT;
        uint8_t EDE;
        uint16_t KV;
        const char* out;
    } cases[] = {
        {"IMP", DISKET::ED_FILE, 1126,
         "\r\n0126:1~2~1~1~10~WVWZZZ1JZXW000001~ΒΕΝΖΙΝΗ~AK1~1999~VW~1600~1~GOLF~~~~~~~"
         "\r\n0126:1~2~1~2~2~ABC123~ΒΕΝΖΙΝΗ~AK1~~VW~~0~GOLF~~~~~~~"},
        {"EXP", DISKET::ED_SEND, 3120,
         "\r\n3120:1~2~1~1~10~WVWZZZ1JZXW000001~ΒΕΝΖΙΝΗ~AK1~1999~VW~1600~1~GOLF~"
         "\r\n3120:1~2~1~2~2~ABC123~ΒΕΝΖΙΝΗ~AK1~~VW~~0~GOLF~"},
        {"DFK", DISKET::ED_AUTO, 1112,
         "\r\n0112:1~2~1~1~WVWZZZ1JZXW000001~1600~AK1~ΒΕΝΖΙΝΗ~VW~GOLF~1999~10~1~~~~~~~"
         "\r\n0112:1~2~1~2~ABC123~~AK1~ΒΕΝΖΙΝΗ~VW~GOLF~~2~0~~~~~~~"},
        {"MET", DISKET::ED_AUTOSEND, 1120,
         "\r\n0120:1~2~1~1~WVWZZZ1JZXW000001~1600~AK1~ΒΕΝΖΙΝΗ~VW~GOLF~1999~10~1~"
         "\r\n0120:1~2~1~2~ABC123~~AK1~ΒΕΝΖΙΝΗ~VW~GOLF~~2~0~"},
    };
    for (const Case& c : cases) {
        auto R = at(c.KV, c.EXT, c.EDE);
        R.TOTALCARS = 5;
        W::VEHICLES(R);
        EXPECT_EQ(R.OUT, iso(c.out)) << c.EXT;
        EXPECT_EQ(R.CERR, 0) << errors(R);
        EXPECT_EQ(R.TOTALCARS, 7);
    }
    // Item 2 reads its own file, none here.
    auto R = at(1126);
    R.AREIDOS = 2;
    W::VEHICLES(R);
    EXPECT_EQ(R.OUT, "");
    EXPECT_EQ(R.TOTALCARS, 0);
}

TEST_F(ItemSegments, AWrongKindEndsTheItemsVehiclesUncounted) {
    for (const char* kind : {"0 ΑΛΛΟ", "Α1", "X1"}) {
        cars(1, {{1, car("1", "A1")}, {2, car(kind, "A2")}, {3, car("1", "A3")}});
        auto R = at(1126, "EXP");
        W::VEHICLES(R);
        EXPECT_EQ(R.OUT, iso("\r\n0126:1~2~1~1~1~A1~ΒΕΝΖΙΝΗ~AK1~2005~VW~1600~1~GOLF~")) << kind;
        EXPECT_EQ(errors(R), "Λάθος είδος οχήματος στον 2ο στίχο του 1ου είδους\n") << kind;
        EXPECT_EQ(R.TOTALCARS, 0);
    }
}

TEST_F(ItemSegments, ChassisYearAndCapacityChecks) {
    struct Case {
        const char *chassis, *year, *capacity;
        const char* fields;  // chassis~year~capacity as written
        const char* errors;
    } cases[] = {
        {"", "2005", "1600", "~2005~1600", " Ο Αριθμός πλαισίου είναι υποχρεωτικός. 1ο όχημα.1ο είδος\n"},
        {"wVW1", "2005", "1600", "wVW1~2005~1600", "Αρ.Πλαισίου (Λατινικοί χαρακτήρες & Αριθμοί) 1ο όχημα.1ο είδος\n"},
        {"WV W1", "2005", "1600", "WV W1~2005~1600", "Αρ.Πλαισίου (Λατινικοί χαρακτήρες & Αριθμοί) 1ο όχημα.1ο είδος\n"},
        {"ΑBC1", "2005", "1600", "ΑBC1~2005~1600", "Αρ.Πλαισίου (Λατινικοί χαρακτήρες & Αριθμοί) 1ο όχημα.1ο είδος\n"},
        {"ABC1Ω", "2005", "1600", "ABC1Ω~2005~1600", "Αρ.Πλαισίου (Λατινικοί χαρακτήρες & Αριθμοί) 1ο όχημα.1ο είδος\n"},
        {"ABC1-", "2005", "1600", "ABC1-~2005~1600", "Αρ.Πλαισίου (Λατινικοί χαρακτήρες & Αριθμοί) 1ο όχημα.1ο είδος\n"},
        {"ABC1", "199A", "1600", "ABC1~199A~1600", " Γράμματα σε Αριθμητικό πεδίο ΕΤΟΣ. 1ο όχημα.1ο είδος\n"},
        {"ABC1", "2005X", "1600", "ABC1~2005~1600", " Γράμματα σε Αριθμητικό πεδίο ΕΤΟΣ. 1ο όχημα.1ο είδος\n"},
        {"ABC1", "", "", "ABC1~~", ""},
        {"ABC1", "2005", "1.6", "ABC1~2005~1.6", " Γράμματα σε Αριθμητικό πεδίο ΚΥΒΙΣΜΟΣ. 1ο όχημα.1ο είδος\n"},
        {"ABC1", "2005", "123456", "ABC1~2005~12345", ""},
        {"", "Χ", "Χ", "~Χ~Χ",
         " Ο Αριθμός πλαισίου είναι υποχρεωτικός. 1ο όχημα.1ο είδος\n"
         " Γράμματα σε Αριθμητικό πεδίο ΕΤΟΣ. 1ο όχημα.1ο είδος\n"
         " Γράμματα σε Αριθμητικό πεδίο ΚΥΒΙΣΜΟΣ. 1ο όχημα.1ο είδος\n"},
    };
    for (const Case& c : cases) {
        cars(1, {{1, car("1", c.chassis, c.year, c.capacity)}});
        // The vehicle layout puts chassis, capacity ... year: read the three back from the segment.
        auto R = at(1126, "EXP", DISKET::ED_AUTO);
        W::VEHICLES(R);
        const std::string line = PLAT::cp737ToUtf8(PLAT::iso88597ToCp737(R.OUT));
        std::vector<std::string> f;
        for (size_t from = 0;;) {
            const size_t t = line.find('~', from);
            f.push_back(line.substr(from, t == std::string::npos ? std::string::npos : t - from));
            if (t == std::string::npos) break;
            from = t + 1;
        }
        ASSERT_GE(f.size(), 11u) << line;
        EXPECT_EQ(f[4] + "~" + f[10] + "~" + f[5], c.fields) << c.chassis << c.year << c.capacity;
        EXPECT_EQ(errors(R), c.errors) << c.chassis << c.year << c.capacity;
        EXPECT_EQ(R.TOTALCARS, 1);
    }
}

TEST_F(ItemSegments, PermitDatesForImportAndExcise) {
    cars(1, {{1, car("1", "A1")}});
    permits({"150799", "010105", "Α12", "ΑΔΕΙΑ 5", "1", "X"});
    const std::string V = "1~A1~ΒΕΝΖΙΝΗ~AK1~2005~VW~1600~1~GOLF~";
    struct Case {
        const char* EXT;
        const char* tail;
    } cases[] = {{"IMP", "19990715~20050101~Α12~ΑΔΕΙΑ 5~1~X~"},
                 {"DFK", "1999-07-15~2005-01-01~Α12~ΑΔΕΙΑ 5~1~X~"},
                 {"EXP", ""},
                 {"MET", ""}};
    for (const Case& c : cases) {
        auto R = at(1126, c.EXT);
        W::VEHICLES(R);
        EXPECT_EQ(R.OUT, iso("\r\n0126:1~2~1~1~" + V + c.tail)) << c.EXT;
    }
    // An empty date stays empty; the century turns at 70.
    permits({"", "010170"});
    auto R = at(1126, "IMP");
    W::VEHICLES(R);
    EXPECT_EQ(R.OUT, iso("\r\n0126:1~2~1~1~" + V + "~19700101~Α12~ΑΔΕΙΑ 5~1~X~"));
    EXPECT_EQ(DISKET::PERMITDATE("311269", false), "20691231");
    EXPECT_EQ(DISKET::PERMITDATE("311269", true), "2069-12-31");
    EXPECT_EQ(DISKET::PERMITDATE("   ", true), "");
    EXPECT_EQ(DISKET::PERMITDATE("1507", false), "200715");
}

TEST_F(ItemSegments, TheDaoWritesTheVehiclesOfItem1WithItsRegistration) {
    cars(1, {{1, car("1", "WVW1")}, {2, car("2", "WVW2")}});
    cars(3, {{1, car("1", "OTHER")}});
    DISKET::PBUF dao;
    dao.LINES.assign(36, "");
    dao.LINES[15] = "ABC1234";
    auto R = at(1112, "IMP", DISKET::ED_DAO);
    R.BUF = &dao;
    R.AREIDOS = 3;
    R.BS = "KEPT";
    W::VEHICLES(R);
    EXPECT_EQ(R.OUT, "\r\n0112:1~2~1~WVW1~VW~ABC1234~1~~~~~~~\r\n0112:1~2~2~WVW2~VW~~2~~~~~~~");
    EXPECT_EQ(R.AREIDOS, 1);
    EXPECT_EQ(R.BS, "KEPT");
    EXPECT_EQ(R.CERR, 0) << errors(R);
    // The registration's own check; year and capacity are not written, so not checked.
    cars(1, {{1, car("1", "WVW1", "19X", "1.6")}});
    dao.LINES[15] = gr("ΑΒΓ 1");
    R = at(1112, "IMP", DISKET::ED_DAO);
    R.BUF = &dao;
    W::VEHICLES(R);
    EXPECT_EQ(R.OUT, iso("\r\n0112:1~2~1~WVW1~VW~ΑΒΓ 1~1~~~~~~~"));
    EXPECT_EQ(errors(R), " Αριθμός Κυκλοφορίας: μόνο Λατινικοί χαρακτήρες & Αριθμοί\n");
}
