// The field codes of the segment file on the real declaration form: tables of cases per group of
// codes, worked by hand, with their error lines byte for byte; the declarant warning; the item
// pieces, the DAO and manifest fields, the 3122 segment and the description log.
#include <gtest/gtest.h>

#include <functional>

#include "common/umas.h"
#include "declarations/bod.h"
#include "helpers/fixture.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "submission/disket.h"
#include "submission/disket_ops.h"
#include "submission/disket_run.h"
#include "submission/disket_writers.h"
#include "submission/diskvas.h"

using PLAT::gr;

namespace {

struct Box {
    int n;
    const char* text;  // UTF-8
};

struct Case {
    int KV;
    std::vector<Box> boxes;
    const char* value;   // the row's value (UTF-8)
    const char* errors;  // the error lines, each ended by "\n" (UTF-8)
    const char* EXT = "IMP";
    uint8_t EDE = 0;
};

class Values : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
        PLAT::setFixedNow(PLAT::DateTime{2026, 12, 10, 9, 5, 0, 0});
        UMAS::HLEK4 = false;
        UMAS::AFM_EKTEL = "099999999";
        UMAS::LOGOTYPO[7] = gr("ΠΕΙΡΑΙΑΣ");
        UMAS::LOGOTYPO[9] = gr("ΑΦΟΙ ΠΑΠΑΔΟΠΟΥΛΟΙ");
        for (auto& p : UMAS::PAREDE) p.TIMI = 0;
        kind("IMP");
    }
    void TearDown() override {
        con->onIdle = nullptr;
        PLAT::setFixedNow(std::nullopt);
        TESTS::Installation::TearDown();
    }
    void kind(const std::string& EXT) {
        ASSERT_TRUE(BOD::SETFORM(EXT == "DFK" ? "DFK" : "IMP"));
        for (int b = 1; b <= BOD::BOXES; ++b) BOD::BOS(BOD::DIA, BOD::GV, b, "");
        BOD::AY = BOD::MOT{};
    }
    void box(int n, const std::string& utf8) { BOD::BOS(BOD::DIA, BOD::GV, n, gr(utf8.c_str())); }
    // One row of the code (no length rule to speak of) walked over the boxes of the case.
    DISKET::RUN one(const Case& c, int row = 1, const DISKET::PBUF* buf = nullptr, std::function<void(DISKET::RUN&)> pre = {}) {
        kind(c.EXT);
        for (const Box& b : c.boxes) box(b.n, b.text);
        DISKET::RUN R;
        R.EXT = c.EXT;
        R.EDE = c.EDE;
        R.BUF = buf;
        R.IST2L = DISKET::ISDECLT2L();
        R.TAB[size_t(row - 1)].KV = uint16_t(c.KV);
        R.TAB[size_t(row - 1)].PEDIO = "P";
        R.TAB[size_t(row - 1)].MIKOS = "..255";
        if (pre) pre(R);
        DISKET::WALK(R);
        return R;
    }
    // The value the row wrote (UTF-8).
    static std::string val(const DISKET::RUN& R) {
        const std::string out = R.OUT.size() && R.OUT[0] == '~' ? R.OUT.substr(1) : R.OUT;
        return PLAT::cp737ToUtf8(PLAT::iso88597ToCp737(out));
    }
    static std::string errors(const DISKET::RUN& R) {
        std::string s;
        for (const auto& l : R.ERR) s += PLAT::cp737ToUtf8(l) + "\n";
        return s;
    }
    void check(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            auto R = one(c);
            EXPECT_EQ(val(R), c.value) << c.KV << " " << c.EXT << int(c.EDE);
            EXPECT_EQ(errors(R), c.errors) << c.KV << " " << c.EXT << int(c.EDE);
        }
    }
};

}  // namespace

TEST_F(Values, DatesTimeAndCompany) {
    check({
        {8, {}, "20", ""},
        {996, {}, "20", ""},
        {998, {}, "20", ""},
        {8, {{8, "150307"}}, "20070315", ""},
        {996, {{8, "150307"}}, "2007", ""},
        {998, {{8, "150307"}}, "20070315", ""},
        {709, {{9, "010207"}}, "20070201", "", "EXP"},
        {709, {{9, "010207"}, {5, "12"}}, "", "", "EXP"},
        {709, {{9, "010207"}}, "", "", "IMP"},
        {997, {}, "0905", ""},
        {995, {}, "ΑΦΟΙ ΠΑΠΑΔΟΠΟΥΛΟΙ", ""},
    });
}

TEST_F(Values, HeaderFieldsAndTheirChecks) {
    check({
        {15, {}, "-", ""},
        {25, {{25, "X"}}, "-", ""},
        {17, {{17, "C"}}, "C", "Η Ένδειξη Ειδ. Περίπτωσης (θέση 4) πρέπει να είναι Α,Β,Ε (ΕΔΕ) ή ABCDE (T1)\n"},
        {17, {{17, "A"}}, "A", ""},
        {17, {{17, "AB"}}, "AB", ""},
        {33, {{33, "03"}}, "03", "Αποδεκτές Τιμές ΚΑΠ (θέση 13): 00,01,02\n"},
        {33, {{33, "02"}}, "02", ""},
        {48, {{48, "2"}}, "2", "Ενδειξη Conteiner (θέση 19) πρέπει να είναι 0 ή 1\n"},
        {12, {}, "", "Οταν δεν υπάρχει EORI Αποστολέα πρέπει να γράφονται τα υπόλοιπα στοιχεία\n"},
        {12, {}, "", "", "EXP"},
        {19, {}, "", "Σύνολο δεμάτων (θέση 6) να συμπληρώνεται στις εισαγωγές\n"},
        {19, {}, "", "", "IMP", DISKET::ED_TIR},
        {22, {}, "", "Οταν δεν υπάρχει EORI Παραλήπτη πρέπει να γράφονται τα υπόλοιπα στοιχεία\n", "EXP"},
        {22, {{2, "T2L"}}, "", "", "EXP"},
        {18, {{18, "05"}}, "5", "Οι γραμμές 101-196 του πίνακα δεν έχουν γραμμή είδους: τα επόμενα είδη δεν γράφτηκαν.\n"},
        {399, {{5, "12"}}, "12", ""},
        {399, {{5, "11"}}, "10", ""},
        {741, {}, "00400", "", "EXP"},
        {742, {}, "00500", ""},
        {699, {{7, "0123"}}, "GR000123", ""},
        {299, {{3, "A"}}, "A", ""},
        {299, {{3, "A"}}, "TIR", "", "MTF", DISKET::ED_TIRSEND},
        {204, {{204, "1"}}, "B", "", "MTF", DISKET::ED_TIR},
        {244, {{2, "A 1"}}, "1", ""},
        {245, {{2, "Α 1"}, {62, "XYZ"}}, "XYZ", ""},
        {245, {{2, "IM A"}}, "IM A", ""},
        {740, {{11, "GR123"}}, "GR", ""},
        {740, {{11, "GR123"}, {5, "12"}}, "", ""},
        {740, {{84, "7100"}, {80, "DE"}, {40, "IT"}}, "DE", "", "EXP"},
        {744, {{44, "FR"}}, "FR", ""},
        {940, {{5, "13"}, {59, "40"}}, "2", ""},
        {922, {{5, "13"}, {59, "10"}}, "ΠΛΟΙΟ", ""},
        {923, {{5, "13"}}, "-", ""},
        {554, {}, "", ""},
        {554, {}, "ΠΕΙΡΑΙΑΣ", "", "MTF"},
        {534, {{2, "T2L"}}, "-", "", "EXP"},
        {538, {{2, "T2L"}}, "ΠΕΙΡΑΙΑΣ", "", "EXP"},
        {946, {{46, "SHIP"}}, "EL", ""},
        {946, {{46, "SHIP"}, {2, "IM X"}}, "", ""},
        {52, {{52, "TRUCK"}, {2, "IM X"}}, "", ""},
        {52, {{52, "TRUCK"}, {2, "EX X"}}, "TRUCK", "", "EXP"},
    });
}

TEST_F(Values, EoriNumbersAndTheirPlacement) {
    check({
        {271, {{11, "GR123456789"}}, "123456789", ""},
        {281, {{11, "GR123456789"}}, "", ""},
        {271, {{11, "DE12345"}}, "DE12345", ""},
        {271, {{11, "gr123"}}, "gr123", "Λάθος αριθμός EORI Αποστολέα\n"},
        {271, {{11, "GR123456789"}, {5, "12"}}, "", ""},
        {281, {{11, "GR123456789"}, {5, "12"}}, "123456789", ""},
        {271, {{11, "GR1"}, {84, "3153"}}, "", ""},
        {281, {{11, "GR1"}, {84, "5300"}}, "1", ""},
        {271, {{11, "GR1"}, {84, "3153"}}, "1", "", "EXP"},
        {281, {{11, "GR1"}, {84, "3153"}}, "1", "", "EXP"},
        {271, {}, "", "Πρέπει να συμπληρωθεί ο EORI του Αποστολέα\n", "EXP"},
        {272, {{21, "DE999"}}, "999", ""},
        {282, {{21, "DE999"}}, "", ""},
        {282, {{21, "DE999"}, {5, "12"}}, "999", ""},
        {272, {{21, "1"}}, "1", "Πρέπει να συμπληρωθεί ο EORI του Παραλήπτη\n"},
        {272, {{21, "de9"}}, "de9", "Λάθος αριθμός EORI Παραλήπτη\n", "EXP"},
    });
    // The consignor's number without its prefix is kept for the declarant check.
    auto R = one({271, {{11, "GR123456789"}}, "", ""});
    EXPECT_EQ(R.AFM11, "123456789");
}

TEST_F(Values, CountriesTransportModesAndOffices) {
    check({
        {47, {{47, "gr"}}, "gr", "Γραμμή 1 Ο κωδικός χώρας Μέσου Μεταφοράς πρέπει να είναι στα ΑΓΓΛΙΚΑ\n"},
        {47, {{47, "G"}}, "G", "Γραμμή 1 Ο κωδικός χώρας Μέσου Μεταφοράς πρέπει να είναι στα ΑΓΓΛΙΚΑ\n"},
        {47, {}, "", ""},
        {40, {{84, "4000"}}, "", "Γραμμή 1 Οι κωδ.χωρών Αποσ/λής-Κατ/γής-Προορισμού να είναι συμπληρωμενοι\n"},
        {40, {{84, "7100"}}, "", ""},
        {44, {{44, "1T"}}, "1T", "Γραμμή 1 Οι κωδ.χωρών Αποσ/λής-Κατ/γής-Προορισμού να είναι στα ΑΓΓΛΙΚΑ\n"},
        {80, {{84, "4000"}}, "", "", "EXP"},
        {54, {{54, "eu"}}, "eu", "Ο κωδικός χώρας Νομίσματος πρέπει να είναι στα ΑΓΓΛΙΚΑ\n"},
        {53, {{59, "3"}}, "", "Στις εξαγωγές απαιτείται Κωδ. Χώρας Μέσου Μεταφοράς\n", "EXP"},
        {53, {{59, "2"}}, "", "", "EXP"},
        {59, {{59, "3"}}, "3", ""},
        {59, {{59, "6"}}, "6", "Λάθος κωδικός τρόπου μεταφοράς (θεση 25,26)\n"},
        {59, {{59, "0"}}, "0", "Λάθος κωδικός τρόπου μεταφοράς (θεση 25,26)\n"},
        {59, {{59, "30"}}, "30", "", "MTF"},
        {59, {{59, "31"}}, "31", "Λάθος κωδικός τρόπου μεταφοράς (θεση 25,26)\n", "MTF"},
        {60, {{60, "99"}}, "30", "", "MTF", DISKET::ED_TIRSEND},
        {59, {{59, "6"}, {2, "T2L"}}, "6", ""},
        {64, {{64, "GR001234"}}, "GR001234", ""},
        {64, {{64, "GR00123"}}, "GR00123", "Γραμμή 1 Στο Τελ. Εξόδου-Προορισμού απαιτείται διεθνής Κωδικός GR00200x\n"},
        {64, {{64, "1R001234"}}, "1R001234", "Γραμμή 1 Στο Τελ. Εξόδου-Προορισμού απαιτείται διεθνής Κωδικός GR00200x\n"},
        {64, {}, "", "Στις εξαγωγές πρέπει να συμπληρωθεί το τελωνείο εξόδου (Θέση 29)\n", "EXP"},
        {205, {{205, " GR123456789 "}}, "GR123456", ""},
    });
    // Modes 4 and 8 take the office from the TIR data; numbers of any size are compared whole.
    auto R = one({64, {}, "", "", "MTF", DISKET::ED_TIR}, 1, nullptr, [](DISKET::RUN& r) { r.ST_TIR[3] = "DE001234"; });
    EXPECT_EQ(val(R), "DE001234");
    EXPECT_EQ(DISKET::ROUNDED(1e20), 1e15);
    EXPECT_EQ(DISKET::FIXED(1e20, 2), "100000000000000000000.00");
}

TEST_F(Values, DeclarationTypeProcedureWarehouseAndMarks) {
    check({
        {994, {{2, "IM A"}}, "IM", ""},
        {993, {{2, "IM A"}}, "A", ""},
        // Box 2 is read as it stands, up to its first blank: a type alone is the type; the
        // missing sub-type is told by code 993.
        {994, {{2, "IM"}}, "IM", ""},
        {993, {{2, "IM"}}, "I", "Γραμμή 1 Λάθος καθεστώς Δ/σης 1β (A..F,Χ,Υ,Ζ)\n"},
        {994, {{2, "IMA"}}, "IMA", "Γραμμή 1 Το Καθεστώς πρέπει να είναι [ IM,CO,EX,EU ] στα ΑΓΓΛΙΚΑ\n"},
        {994, {{2, "IMABCDE"}}, "", "Γραμμή 1 Το Καθεστώς πρέπει να είναι [ IM,CO,EX,EU ] στα ΑΓΓΛΙΚΑ\n"},
        {994, {{2, " IM A"}}, "", "Γραμμή 1 Το Καθεστώς πρέπει να είναι [ IM,CO,EX,EU ] στα ΑΓΓΛΙΚΑ\n"},
        {993, {{2, "IMA"}}, "I", "Γραμμή 1 Λάθος καθεστώς Δ/σης 1β (A..F,Χ,Υ,Ζ)\n"},
        {993, {{84, "4000"}}, "4", "", "IMP", DISKET::ED_AUTO},
        {993, {{84, "8000"}}, "8", "Γραμμή 1 Λάθος καθεστώς Δ/σης\n", "IMP", DISKET::ED_AUTO},
        {85, {{85, "G"}}, "G", "Γραμμή 1 Λάθος Κατηγορία Μέτρου 37β (Σωστοί κωδικοί 0,3,Α..F)\n"},
        {85, {{85, "A01"}}, "A", ""},
        {911, {{144, "A123456"}}, "A", ""},
        {912, {{144, "A123456"}}, "GR", ""},
        {911, {{144, "A1234"}}, "", ""},
        {912, {{144, "G123456"}}, "", ""},
        {989, {{79, "12345678 90 1234 5678 ABCD"}}, "ABCD", ""},
        {989, {{79, "12345678 90 1234 5678 ABCD"}}, "0000", "", "EXP"},
        {66, {}, "", "Στο πρώτο είδος πρέπει να συμπληρωθούν τα Σημεία & Αριθμοί\n"},
        {66, {{66, "M1"}, {69, "3"}}, "M1  3", ""},
        {966, {{87, "CH1"}, {75, "B"}}, "ΠΛΑΙΣΙΟ: CH1  B", ""},
        {495, {{144, "A123456"}}, "12", ""},
        {910, {{144, "A123456"}}, "345", ""},
        {908, {{144, "12340056"}}, "1234", ""},
        {909, {{144, "12340056"}}, "56", ""},
        {600, {{144, "12340056"}}, "", ""},
        {600, {{144, "12340000"}}, "0", ""},
        {600, {{144, "1234A000"}}, "0", ""},
        {601, {{144, "1234567890123456"}}, "2", ""},
        {909, {{144, "1234567890123456"}}, "1234567890123456", ""},
    });
    // Marks written by a row above 120 are cut to 42.
    Case c{66, {{66, "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"}, {70, "CCCCCCCCCCCCCCC"}}, "", ""};
    EXPECT_EQ(val(one(c, 121)), std::string(30, 'A') + "   " + std::string(9, 'C'));
    EXPECT_EQ(val(one(c, 120)).size(), 48u);
}

TEST_F(Values, GoodsItemFields) {
    check({
        {992, {{79, "12345678"}}, "12345678", ""},
        {992, {{79, "12345678"}}, "1234567800", "", "EXP"},
        {991, {{79, "12345678"}}, "", ""},
        {990, {{79, "12345678"}}, "", ""},
        {992, {{79, "12345678 90 1234 5678"}}, "1234567890", ""},
        {991, {{79, "12345678 90 1234 5678"}}, "1234", ""},
        {990, {{79, "12345678 90 1234 5678"}}, "5678", ""},
        {68, {{68, "CTN"}}, "CTN", "Λάθος κωδικός συσκευασίας στο 0ο είδος.\n"},
        {84, {{84, "4200"}}, "42", "Οταν το καθεστώς είναι 42 απαιτείται Αριθ. VIES στον Οικ.Υπέυθυνο [9]\n"},
        {84, {{84, "4"}}, "4", "Κωδ. Καθεστώτος 37α να είναι Τετραψήφιο ( 2+2 ) π.χ 4000\n"},
        {884, {{84, "4078"}}, "78", ""},
        {86, {{86, "12"}, {82, "10"}}, "12", "Το Καθαρό βάρος δεν μπορεί να υπερβαίνει το μικτό βάρος !!\n"},
        {86, {{86, "12"}}, "12", ""},
        {83, {{84, "4000"}}, "", "Η ΠΡΟΤΙΜΗΣΗ να συμπληρώνεται στις εισαγωγές\n"},
        {83, {{2, "CO A"}}, "", ""},
        {90, {{84, "4000"}}, "", "Η τιμή προϊόντος (θέση 42) να συμπληρώνεται στις εισαγωγές\n"},
        {90, {{84, "7100"}}, "", ""},
        {100, {{100, "1234.5"}}, "1234.50", ""},
        {100, {{100, "0.004"}}, "", ""},
        {56, {{56, "1.2500"}}, "1.25", ""},
        {56, {{56, "2.000"}}, "2.", ""},
        {56, {{56, "340.75"}}, "340.75", ""},
        {56, {{56, "340.75"}, {54, "EUR"}}, "1.00", ""},
        {972, {{74, "A"}, {76, "B"}, {77, "C"}}, "A  B", ""},
        {972, {{77, "C"}}, "C", ""},
        {920, {{34, "099999999"}, {8, "010107"}, {20, "45"}}, "099999999/07/45", ""},
        {920, {{34, "099999999"}, {8, "010107"}, {20, "45"}}, "099999999/07/45T", "", "MTF", DISKET::ED_TIR},
        {920, {{34, "099999999"}, {8, "010107"}, {20, "45"}}, "ΔΑΟ/099999999/07/45", "", "IMP", DISKET::ED_DAO},
        {986, {{93, "N935:1234567890123456"}}, "1234567890", ""},
        {987, {{93, "0935:1"}}, "935", ""},
        {986, {{93, ":123"}}, "", ""},
        {986, {{93, "N935:"}}, "", "Γραμμή 1 Λάθος στην 2η γραμμή επισυναπτόμενα (44). Δώσε αριθμό\n"},
        {984, {{94, "N935:"}}, "", "Γραμμή 1 Λάθος στην 3η γραμμή επισυναπτόμενα (44). Δώσε αριθμό\n"},
    });
    // The additional statistical value; a procedure 71 makes the value optional for the run.
    BOD::AY.DAJ = "10";
    auto R = one({100, {{100, "1234.5"}}, "", ""}, 1, nullptr, [](DISKET::RUN&) { BOD::AY.DAJ = "10"; });
    EXPECT_EQ(val(R), "1244.50");
    R = one({100, {{84, "7100"}}, "", ""}, 1, nullptr, [](DISKET::RUN& r) { r.TAB[0].STATUS = "R"; });
    EXPECT_EQ(errors(R), "");
    EXPECT_EQ(R.TAB[0].STATUS, "C");
    R = one({100, {{84, "4000"}}, "", ""}, 1, nullptr, [](DISKET::RUN& r) { r.TAB[0].STATUS = "R"; });
    EXPECT_EQ(errors(R), "Γραμμή 1 Κενή υποχρεωτική θέση 100 P\n");
    // The description from box 74 with switch 14; the ten or twenty characters of a document number.
    UMAS::PAREDE[14].TIMI = 1;
    EXPECT_EQ(val(one({972, {{72, "X"}, {74, "A"}, {75, "B"}}, "", ""})), "A B");
    UMAS::PAREDE[14].TIMI = 0;
    UMAS::HLEK4 = true;
    EXPECT_EQ(val(one({986, {{93, "N935:1234567890123456"}}, "", ""})), "1234567890123456");
}

TEST_F(Values, TransitCodesAreEmptyOutsideTransit) {
    for (int KV : {181, 182, 183, 184, 289, 291, 505, 511, 521, 565}) {
        auto R = one({KV, {{181, "gr1"}, {182, "NAME"}, {93, ""}, {11, "x"}, {65, "1"}}, "", ""});
        EXPECT_EQ(val(R), "") << KV;
        EXPECT_EQ(errors(R), "") << KV;
    }
    check({
        {181, {{181, "gr1"}}, "gr1", "Λάθος αριθμός EORI Υπόχρεου\n", "MTF"},
        {181, {}, "", "Πρέπει να συμπληρωθούν οι Aριθμοί EORI & Υπόχρεου TIR.\n", "MTF", DISKET::ED_TIR},
        {182, {}, "-", "", "MTF", DISKET::ED_TIR},
        {291, {{181, "DE123"}}, "DE", "", "MTF"},
        {505, {}, "", "Η 2η γραμμή των συνημμένων εγγράφων πρέπει να συμπληρωθεί ΚΩΔ:ΕΝΤΥΠΟ\n", "MTF"},
        {505, {{93, "N380:1"}}, "1", "", "MTF"},
        {511, {{11, "x1"}}, "x1", "Λάθος αριθμός EORI Αποστολέα\n", "MTF"},
    });
}

TEST_F(Values, DaoFields) {
    DISKET::PBUF dao;
    dao.LINES.assign(36, "");
    auto run = [&](int KV, int type) {
        Case c{KV, {}, "", ""};
        c.EDE = DISKET::ED_DAO;
        return one(c, 1, &dao, [type](DISKET::RUN& r) { r.DAOTYPE = type; });
    };
    struct Cap {
        const char* line5;
        const char* v332;
        const char* v336;
        const char* err336;
    } caps[] = {{"1", "1", "", ""},  {"2", "2", "", ""},  {"3", "", "3", ""},
                {"4", "", "1", ""},  {"5", "", "2", ""},  {"6", "", "4", ""},
                {"7", "", "", "Γραμμή 2 Η ιδιότητα του υπόχρεου πρέπει να είναι από 1 έως 6\n"},
                {"", "", "", "Γραμμή 1 Η ιδιότητα του υπόχρεου πρέπει να συμπληρωθεί\nΓραμμή 2 Η ιδιότητα του υπόχρεου πρέπει να είναι από 1 έως 6\n"}};
    for (const auto& c : caps) {
        dao.LINES[5] = c.line5;
        kind("IMP");
        DISKET::RUN R;
        R.EXT = "IMP";
        R.EDE = DISKET::ED_DAO;
        R.BUF = &dao;
        R.TAB[0].KV = 332;
        R.TAB[0].MIKOS = "..5";
        R.TAB[1].KV = 336;
        R.TAB[1].MIKOS = "..5";
        DISKET::WALK(R);
        EXPECT_EQ(R.OUT, std::string("~") + c.v332 + "~" + c.v336) << c.line5;
        EXPECT_EQ(errors(R), c.err336) << c.line5;
    }
    dao.LINES[23] = "01/02/07";
    dao.LINES[26] = " GR001234 ";
    EXPECT_EQ(val(run(402, 2)), "2007");
    EXPECT_EQ(val(run(402, 1)), "");
    EXPECT_EQ(val(run(403, 1)), "GR001234");
    dao.LINES[23] = "1/2/07";
    EXPECT_EQ(errors(run(402, 2)), "Η Ημερομηνία υποβολής γράφεται ως εξής: ΗΗ/ΜΜ/ΕΕ π.χ 19/07/05\n");
    dao.LINES[26] = "";
    EXPECT_EQ(errors(run(403, 1)), "Για εξερχόμενο ΔΑΟ πρέπει να Συμπληρωθεί ο Κωδικός Τελωνείου Β\n");
    dao.LINES[14] = "WVW ZZZ";
    EXPECT_EQ(errors(run(599, 1)), "Γραμμή 1 Αριθμός πλαισίου μόνο Λατινικοί χαρακτήρες & Αριθμοί\n");
    dao.LINES[14] = "WVWZZZ1";
    EXPECT_EQ(errors(run(599, 1)), "");
    dao.LINES[14] = "WVWZZZ-";
    EXPECT_EQ(errors(run(599, 1)), "Γραμμή 1 Αριθμός πλαισίου μόνο Λατινικοί χαρακτήρες & Αριθμοί\n");
    dao.LINES[14] = "";
    EXPECT_EQ(errors(run(599, 1)), "Γραμμή 1 Ο Αριθμός πλαισίου είναι υποχρεωτικός. \n");
    dao.LINES[15] = "ΙΚΑ1234";
    EXPECT_EQ(errors(run(467, 1)), " Αριθμός Κυκλοφορίας: μόνο Λατινικοί χαρακτήρες & Αριθμοί\n");
    EXPECT_EQ(val(run(494, 1)), "-");
    dao.LINES[11] = " PAPAS GIORGOS ";
    EXPECT_EQ(val(run(494, 1)), "PAPAS GIORGOS");
    dao.LINES[23] = "01/02/07";
    UMAS::AFM_EKTEL = "099999999";
    DISKVAS::ANAFDAO = 42;
    EXPECT_EQ(val(run(442, 1)), "099999999/07/42");
    // Without a buffer the DAO codes are empty and check nothing.
    auto R = one({332, {}, "", ""});
    EXPECT_EQ(val(R), "");
    EXPECT_EQ(errors(R), "");
}

TEST_F(Values, ManifestFields) {
    DISKET::PBUF dil;
    dil.LINES.assign(27, "");
    dil.CELLS.assign(721, "");
    auto lineRun = [&](std::vector<int> codes) {
        kind("IMP");
        DISKET::RUN R;
        R.EXT = "IMP";
        R.EDE = DISKET::ED_DILO;
        R.BUF = &dil;
        R.SYNEIDH = 1;
        R.TAB[0].KV = 343;
        R.TAB[0].MIKOS = "..3";
        for (size_t i = 0; i < codes.size(); ++i) {
            R.TAB[i + 1].KV = uint16_t(codes[i]);
            R.TAB[i + 1].MIKOS = "..30";
        }
        DISKET::WALK(R);
        return R;
    };
    dil.CELLS[1] = "7";
    dil.CELLS[12] = "T2F";
    auto R = lineRun({358, 353});
    EXPECT_EQ(R.OUT, "~1~T1~T2F");
    EXPECT_EQ(errors(R), "");
    dil.CELLS[1] = "X";
    dil.CELLS[12] = "T5";
    R = lineRun({358, 353});
    EXPECT_EQ(R.OUT, "~1~~T5");
    EXPECT_EQ(errors(R), "Γραμμή 2 Το είδος Φορτωτικής πρέπει να είναι από 0 έως 9\n"
                         "Στίχος 1 Η κατάσταση πρέπει να είναι:T,N,T1,C,TRANSIT,T2,T2F,TD,T2M\n");
    // Container lines must count one package.
    dil.CELLS[6] = "58";
    dil.CELLS[7] = "2";
    R = lineRun({350});
    EXPECT_EQ(errors(R), "Γραμμή 2 Οταν η συσκευασία είναι Container [58] η ποσότητα είναι 1\n");
    // A cell read before the first line row is empty.
    kind("IMP");
    DISKET::RUN early;
    early.EDE = DISKET::ED_DILO;
    early.BUF = &dil;
    early.TAB[0].KV = 348;
    early.TAB[0].MIKOS = "..9";
    dil.CELLS[4] = "X";
    DISKET::WALK(early);
    EXPECT_EQ(early.OUT, "~");
}

TEST_F(Values, The3122SegmentAndTheDescriptionLog) {
    box(144, "12345678");
    box(77, "ΑΠΟΘΗΚΗ: ΑΒ1");
    box(71, "");
    DISKET::RUN R;
    R.EXT = "IMP";
    R.AREIDOS = 1;
    DISKET::WRITERS::SEG3122(R);
    EXPECT_EQ(R.OUT, "\r\n3122:1~2~1~1~" + DISKET::ISO8859(gr("ΑΒ1")) + "~");
    EXPECT_EQ(errors(R), "Οταν υπάρχει Φ.Α. πρέπει να συμπληρωθεί η ποσότητα πίστωσης\n");
    box(144, "A1234567");
    R = DISKET::RUN{};
    DISKET::WRITERS::SEG3122(R);
    EXPECT_EQ(R.OUT, "");
    // The log: box 4, then the groups that are not blank.
    box(4, " ΣΗΜΕΙΩΣΗ ");
    box(145, "A00");
    box(146, "1000*0.05");
    box(148, "50.00");
    box(152, "123.45");
    R = DISKET::RUN{};
    R.AREIDOS = 1;
    DISKET::WRITERS::DESCLOG(R);
    // Each box as it stands (the amounts left in their boxes), cut or padded: 3, 17, 3, and 12
    // right-justified.
    EXPECT_EQ(R.LOGT, DISKET::ISO8859(gr("0:ΣΗΜΕΙΩΣΗ")) + "\r\n" + "1:A00 1000*0.05" + std::string(8, ' ') + " " +
                          std::string(3, ' ') + " " + "  50.00     \r\n" + "1:" + std::string(26, ' ') +
                          "  123.45    \r\n");
}

TEST_F(Values, TheDeclarantWarningStaysUntilEsc) {
    struct C {
        const char* b34;
        uint8_t idios;
        bool warned;
    } cases[] = {{"123456789", 1, false}, {"099999999", 2, false}, {"555555555", 2, true}};
    for (const auto& c : cases) {
        kind("IMP");
        box(21, "GR123456789");
        box(34, c.b34);
        int waits = 0;
        std::string screen, sheetLock;
        con->onIdle = [&] {
            ++waits;
            if (waits == 1) {
                screen = con->dump();
                // the sheets' lock is free while the warning waits: other workstations go on
                sheetLock = TESTS::readFile(company(0) + "/FBIS.DAT");
                con->keys("x");
                con->key(PLAT::SC::F2);
                con->key(PLAT::SC::UP);
            } else {
                con->keys("\x1b");
            }
        };
        DISKET::RUN R;
        R.EXT = "IMP";
        R.EDE = DISKET::ED_SEND;
        R.TAB[0].KV = 272;
        R.TAB[0].MIKOS = "..20";
        R.TAB[1].KV = 798;
        R.TAB[1].MIKOS = "..2";
        R.TAB[2].KV = 796;
        R.TAB[2].MIKOS = "..2";
        DISKET::WALK(R);
        con->onIdle = nullptr;
        EXPECT_EQ(R.IDIOS, c.idios) << c.b34;
        EXPECT_EQ(waits, c.warned ? 2 : 0) << c.b34;
        if (c.warned) EXPECT_NE(screen.find("ΠΡΟΣΟΧΗ: ΑΛΛΟΣ Α.Φ.Μ. ΔΙΑΣΑΦΙΣΤΗ"), std::string::npos);
        if (c.warned) EXPECT_EQ(sheetLock, std::string(1, '\0')) << "FBIS held during the warning";
        EXPECT_EQ(R.OUT, std::string("~123456789~") + (c.idios == 2 ? "GR" : "") + "~" + std::to_string(c.idios));
    }
}
