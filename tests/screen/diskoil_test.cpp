// The excise export of spirits and wines: its field codes (a table of cases worked by hand, with
// their error lines byte for byte), its tax segments and wine lines, the declarant's standing, and
// whole runs on the headless console (names, reference, folder, count line, the stand-in client,
// golden files of a declaration of three items over two sheets).
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/store_form.h"
#include "documents/ekextra.h"
#include "helpers/fixture.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "shell/install.h"
#include "submission/disket.h"
#include "submission/disket_counter.h"
#include "submission/diskoil.h"

using PLAT::gr;
namespace fs = std::filesystem;

namespace {

struct Box {
    int n;
    const char* text;  // UTF-8
};

struct Case {
    int KV;
    std::vector<Box> boxes;
    const char* value;   // what the row wrote (UTF-8), without its "~"
    const char* errors;  // the error lines, each ended by "\n" (UTF-8)
    const char* EXT = "DFK";
    uint8_t IDIOS = 0;
    const char* TIMES = "";
    uint8_t EDE = 1;
};

class Oil : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
        PLAT::setFixedNow(PLAT::DateTime{2026, 12, 10, 9, 5, 0, 0});
        UMAS::HLEK4 = false;
        UMAS::AFM_EKTEL = "099999999";
        UMAS::LOGOTYPO[9] = gr("ΑΦΟΙ ΠΑΠΑΔΟΠΟΥΛΟΙ");
        clear();
    }
    void TearDown() override {
        con->onIdle = nullptr;
        PLAT::setFixedNow(std::nullopt);
        TESTS::Installation::TearDown();
    }
    void clear() {
        ASSERT_TRUE(BOD::SETFORM("DFK"));
        for (int b = 1; b <= BOD::BOXES; ++b) BOD::BOS(BOD::DIA, BOD::GV, b, "");
        BOD::AY = BOD::MOT{};
        box(1, "123");
        BOD::TM = UMAS::LEJU("123", 10);
    }
    void box(int n, const std::string& utf8) { BOD::BOS(BOD::DIA, BOD::GV, n, gr(utf8.c_str())); }
    std::string co(const std::string& f) const { return company(0) + "/" + f; }
    // One row of the code walked over the boxes of the case (item 1).
    DISKOIL::RUN one(const Case& c, std::function<void(DISKOIL::RUN&)> pre = {}, const char* MIKOS = "..255") {
        clear();
        for (const Box& b : c.boxes) box(b.n, b.text);
        DISKOIL::RUN R;
        R.EXT = c.EXT;
        R.EDE = c.EDE;
        R.IDIOS = c.IDIOS;
        R.TAB[0].KV = uint16_t(c.KV);
        R.TAB[0].PEDIO = "P";
        R.TAB[0].MIKOS = MIKOS;
        R.TAB[0].TIMES = c.TIMES;
        if (pre) pre(R);
        DISKOIL::WALK(R);
        return R;
    }
    static std::string utf(const std::string& iso) { return PLAT::cp737ToUtf8(PLAT::iso88597ToCp737(iso)); }
    static std::string val(const DISKOIL::RUN& R) { return utf(R.OUT.size() && R.OUT[0] == '~' ? R.OUT.substr(1) : R.OUT); }
    static std::string errors(const DISKOIL::RUN& R) {
        std::string s;
        for (const auto& l : R.ERR) s += PLAT::cp737ToUtf8(l) + "\n";
        return s;
    }
    void check(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            auto R = one(c);
            EXPECT_EQ(val(R), c.value) << c.KV << " " << c.EXT;
            EXPECT_EQ(errors(R), c.errors) << c.KV << " " << c.EXT;
        }
    }
    // The item's tax line k (boxes 101.. of the main page).
    void tax(int k, const char* type, const char* base, const char* rate, const char* amount) {
        const int J = 101 + 5 * (k - 1);
        box(J, type);
        box(J + 1, base);
        box(J + 2, rate);
        box(J + 3, amount);
    }
    static void item1(DISKOIL::RUN& R) {
        R.AREIDOS = 1;
        R.STEIDOS = "1";
    }
    void wines(int item, const std::vector<std::pair<int, EKEXTRA::TKRAS>>& lines) {
        EKEXTRA::KRASTABLE kb;
        for (const auto& [k, rec] : lines) kb.L[size_t(k - 1)] = rec;
        EKEXTRA::WRITEKRAS(EKEXTRA::ITEMNAME("123", ".K", std::to_string(item)), kb);
    }
};

const char* const RANGE2 = "Kωδικός φόρου εκτός ορίων\n  100-127, 200-240, 300-323, 400-432, 500-515, 600-712, 800-824\n";

}  // namespace

TEST_F(Oil, HeaderCodes) {
    check({
        {8, {{8, "150307"}}, "20070315", ""},
        {998, {{8, "150307"}}, "20070315", ""},
        {996, {{8, "150307"}}, "2007", ""},
        {698, {{8, "150307"}}, "2007", ""},
        {997, {}, "0905", ""},
        {995, {}, "ΑΦΟΙ ΠΑΠΑΔΟΠΟΥΛΟΙ", ""},
        {999, {}, "LIT", "", "DFK", 0, "LIT"},
        {699, {{7, "1001"}}, "GR001001", ""},
        {56, {{56, "1.23450"}, {54, "USD"}}, "", ""},
        {56, {{56, "1.23450"}, {54, "EUR"}}, "1.00", ""},
        {56, {{56, "1.2300"}, {54, "USD"}}, "1.23", ""},
        {64, {{64, "GR002001"}}, "GR002001", ""},
        {64, {{64, "GR00200"}}, "GR00200", "Γραμμή 1 Στο Τελωνείο Εξόδου (29) απαιτείται διεθνής Κωδικός GR00200x\n"},
        {64, {{64, "GR0020011"}}, "GR002001", "Γραμμή 1 Στο Τελωνείο Εξόδου (29) απαιτείται διεθνής Κωδικός GR00200x\n"},
        {64, {}, "", ""},
        {993, {{3, "41"}}, "41", ""},
        {993, {{3, "9"}}, "9", ""},
        {993, {}, "", "Γραμμή 1 Λάθος καθεστώς ΔΕΦΚ\n"},
        {993, {{3, "31"}}, "31", "Γραμμή 1 Λάθος καθεστώς ΔΕΦΚ\n"},
        {994, {{2, "COM A"}}, "COM", ""},
        {994, {{2, "EU"}}, "EU", ""},
        {994, {{2, "IMA"}}, "IMA", "Γραμμή 1 Το Καθεστώς πρέπει να είναι [ IM,COM,EX,EU ] στα ΑΓΓΛΙΚΑ\n"},
        {994, {}, "", "Γραμμή 1 Το Καθεστώς πρέπει να είναι [ IM,COM,EX,EU ] στα ΑΓΓΛΙΚΑ\n"},
        {920, {{34, "099999999"}, {8, "150326"}, {20, "77"}}, "099999999/26/77", ""},
        {955, {{25, "GRLP123"}}, "", ""},
        {955, {{25, "GRPIR"}}, "GRPIR", ""},
        {901, {}, "1", ""},
        {901, {{21, "DE1"}}, "0", ""},
        {903, {}, "-", ""},
        {903, {{21, "DE1"}}, "", ""},
        {906, {}, "0", ""},
        {906, {{28, "X"}}, "", ""},
        {907, {}, "6", ""},
        {907, {{28, "X"}}, "3", ""},
        {907, {{144, "GRAB0012"}}, "1", ""},
        {908, {{144, "GRAB0012"}}, "GRAB", ""},
        {909, {{144, "GRAB0012"}}, "12", ""},
        {908, {}, "", ""},
        {701, {}, "0", "", "PTE"},
        {701, {}, "", ""},
        {702, {{21, "DE1"}}, "DE1", "", "PTE"},
        {702, {{21, "DE1"}}, "", ""},
        {703, {{22, "KUNDE"}}, "KUNDE", "", "PTE"},
        {910, {}, "13", "", "PTE"},
        {910, {}, "10", ""},
        {796, {}, "1", "", "DFK", 1},
        {797, {}, "00500", "", "DFK", 1},
        {797, {}, "00500", "", "PTE", 1},
        {797, {}, "00300", "", "EXP", 1},
        {797, {}, "", "", "EXP", 2},
        {798, {}, "GR", "", "DFK", 2},
        {798, {}, "", "", "DFK", 1},
        {799, {{34, "555"}}, "555", "", "DFK", 2},
        {799, {{34, "555"}}, "", "", "DFK", 1},
        {11, {}, "", "Οταν δεν υπάρχει Φορ.Αποθήκη ή Ειδική Αδεια, χρειάζεται ο ΑΦΜ Αποστολέα\n"},
        {11, {{28, "X"}}, "", ""},
        {40, {{40, "G"}}, "G", "Γραμμή 1 Ο κωδικός χώρας Καταγωγής πρέπει να είναι στα ΑΓΓΛΙΚΑ\n"},
        {40, {{40, "gr"}}, "gr", "Γραμμή 1 Ο κωδικός χώρας Καταγωγής πρέπει να είναι στα ΑΓΓΛΙΚΑ\n"},
        {40, {}, "", ""},
        {44, {{44, "1T"}}, "1T", "Γραμμή 1 Ο κωδικός χώρας Προορισμού πρέπει να είναι στα ΑΓΓΛΙΚΑ\n"},
        {53, {{53, "g"}}, "g", "Γραμμή 1 Ο κωδικός χώρας Μέσου Μεταφοράς πρέπει να είναι στα ΑΓΓΛΙΚΑ\n"},
        {54, {{54, "EUR"}}, "EUR", ""},
        {54, {{54, "eu"}}, "eu", "Γραμμή 1 Ο κωδικός χώρας Νομίσματος πρέπει να είναι στα ΑΓΓΛΙΚΑ\n"},
        {35, {{35, "ΑΒΓ"}}, "ΑΒΓ", ""},
        {921, {{35, "ΑΒΓ"}}, "ΑΒΓ", ""},
        {940, {{40, "GR"}}, "", ""},
        {500, {}, "", ""},
    });
}

TEST_F(Oil, ItemCodes) {
    const char* const B37 = "Γραμμή 1 Κωδικός Καθεστώτος 37α να είναι Τετραψήφιο ( 2+2 ) π.χ 4000\n";
    check({
        {66, {}, "", "Γραμμή 1 Το πεδίο Σημεία & Αριθμοί - Κόλλα να συμπληρώνεται στο 1ο είδος\n"},
        {66, {{66, "ABC"}}, "ABC", ""},
        {84, {{84, "4000"}}, "40", ""},
        {884, {{84, "4071"}}, "71", ""},
        {84, {{84, "4"}}, "4", B37},
        {884, {{84, "4"}}, "", B37},
        {85, {{85, "A12"}}, "A", ""},
        {885, {{85, "A12"}}, "12", ""},
        {89, {{89, "07:150"}}, "150", ""},
        {89, {{89, "150"}}, "150", "Γραμμή 1 Οι συμπλ/κές μον. (41) γράφονται ως εξής   Κωδικός:Ποσότητα\n"},
        {89, {{89, ":150"}}, ":150", "Γραμμή 1 Οι συμπλ/κές μον. (41) γράφονται ως εξής   Κωδικός:Ποσότητα\n"},
        {89, {}, "", ""},
        {890, {{89, "07:150"}}, "7", ""},
        {890, {{89, "7:150"}}, "7", "Γραμμή 1 Κωδικός συμπλ/κών μονάδων (41) αριθμητικό πεδίο [ 01 έως 72 ]\n"},
        {890, {{89, "73:150"}}, "73", "Γραμμή 1 Κωδικός συμπλ/κών μονάδων (41) αριθμητικό πεδίο [ 01 έως 72 ]\n"},
        {890, {{89, "150"}}, "150", ""},
        {233, {{88, "AB/12"}}, "AB/12", ""},
        {766, {{88, "AB/12"}}, "AB", ""},
        {767, {{88, "AB/12"}}, "12", ""},
        {766, {{88, "AB12"}}, "", ""},
        {767, {{88, "AB12"}}, "AB12", ""},
        {82, {{82, "120.5"}}, "120.5", ""},
        {966, {{75, "A"}, {76, "B"}, {77, "C"}}, "A B C", ""},
        {972, {{73, "ΟΙΝΟΣ"}, {74, " ΕΡΥΘΡΟΣ"}, {77, "ΕΚΤΟ"}}, "ΟΙΝΟΣΕΡΥΘΡΟΣ", ""},
        {972, {{77, "ΕΚΤΟ"}}, "ΕΚΤΟ", ""},
        {972, {{72, "Α"}, {76, "Ε"}, {77, "ΣΤ"}}, "ΑΕ", ""},
        {987, {{93, "N935:ABC"}}, "N935", ""},
        {986, {{93, "N935:ABC"}}, "ABC", ""},
        {987, {{93, "0123:X"}}, "123", ""},
        {986, {{93, "0123:"}}, "", "Γραμμή 1 Λάθος στην 2η γραμμή επισυναπτόμενα (44). Δώσε αριθμό\n"},
        {984, {{94, "0123:"}}, "", "Γραμμή 1 Λάθος στην 3η γραμμή επισυναπτόμενα (44). Δώσε αριθμό\n"},
        {982, {{95, "0123:"}}, "", "Γραμμή 1 Λάθος στην 4η γραμμή επισυναπτόμενα (44). Δώσε αριθμό\n"},
        {986, {{93, "ABC"}}, "", ""},
        {988, {{92, "N380"}}, "N380", ""},
        {988, {{94, "N935:1"}}, "", ""},
        {988, {}, "",
         "Γραμμή 1 Στο πρώτο είδος Δ/σης η πρώτη γραμμή επισυναπτόμενων (44)\n"
         "          πρέπει να είναι συμπληρωμένη όταν καμία από τις επόμενες τρείς\n"
         "          δεν έχει συμπληρωθεί με τον τρόπο    Κωδικός:Αριθμός\n"},
        {992, {{79, "22042110 00 1234 5678 9012"}}, "2204211000", ""},
        {991, {{79, "22042110 00 1234 5678 9012"}}, "1234", ""},
        {990, {{79, "22042110 00 1234 5678 9012"}}, "5678", ""},
        {989, {{79, "22042110 00 1234 5678 9012"}}, "9012", ""},
    });
    // The three lines of code 988 count as one error.
    EXPECT_EQ(one({988, {}, "", ""}).CERR, 1);
}

TEST_F(Oil, TheCountRowTheItemRowAndCode605CountWithinEachItem) {
    clear();
    box(18, "02");
    // Item 2 on sheet 2 (two items to a sheet).
    const BOD::SCB saved = BOD::BIS;
    BOD::BIS = BOD::SHEETPAGE("DFK");
    for (int b = 1; b <= BOD::SHEET_BOXES; ++b) BOD::BOS(BOD::BIS, BOD::GB, b, "");
    BOD::BOS(BOD::BIS, BOD::GB, 3, "02");
    BOD::BM = UMAS::padTo("1230202", 14);
    BOD::BOB = false;
    UMAS::LOCK("FBIS");
    EXPECT_TRUE(EKDO::KATB().stored);
    UMAS::UNLOC("FBIS");
    BOD::BIS = saved;
    DISKOIL::RUN R;
    R.EXT = "DFK";
    R.EDE = 1;
    for (auto [row, kv] : {std::pair{3, 18}, {111, 78}, {112, 605}, {113, 605}, {114, 905}}) {
        R.TAB[size_t(row - 1)].KV = uint16_t(kv);
        R.TAB[size_t(row - 1)].MIKOS = "..9";
    }
    DISKOIL::WALK(R);
    EXPECT_EQ(R.OUT, "~2~1~1~2~1~2~1~2~2");
    EXPECT_EQ(errors(R), "");
    // Item 3 has no sheet: its error line, then the walk goes on from row 197.
    box(18, "3");
    DISKOIL::RUN S;
    S.EXT = "DFK";
    S.EDE = 1;
    S.TAB = R.TAB;
    S.TAB[196].KV = 999;
    S.TAB[196].TIMES = "Z";
    DISKOIL::WALK(S);
    EXPECT_EQ(S.OUT, "~3~1~1~2~1~Z~2~1~2~2~Z~Z");
    EXPECT_EQ(errors(S), "Δεν έχετε καταχωρήσει το 3ο προϊόν σε φύλλο BIS.\n");
}

TEST_F(Oil, Code888AddsUpItsLinesAndLeavesThemOutOfTheTaxSegments) {
    clear();
    tax(1, "110", "", "", "12.5");
    tax(2, "110", "", "", "-3");
    tax(3, "250", "100", "10", "4.00");
    DISKOIL::RUN R;
    R.EXT = "DFK";
    R.EDE = 1;
    R.STEIDOS = "1";
    R.TAB[0].KV = 888;
    R.TAB[0].TIMES = "110";
    R.TAB[0].TYPOS = gr("ν");
    R.TAB[0].MIKOS = "..9";
    R.TAB[1].KV = 980;
    R.TAB[1].MIKOS = "..9";
    DISKOIL::WALK(R);
    EXPECT_EQ(R.OUT, "~15.50\r\n0114:1~2~1~1~250~4.00~A~0~100~10.0");
    EXPECT_EQ(errors(R), "");
    // No line of the type: empty.
    R = one({888, {}, "", "", "DFK", 0, "120"});
    EXPECT_EQ(R.OUT, "~");
}

TEST_F(Oil, TaxSegments) {
    struct T {
        const char* type;
        const char* base;
        const char* rate;
        const char* amount;
        const char* out;
        const char* errors;
        uint8_t EDE = 1;
        const char* b89 = "";
    } cases[] = {
        {"250", "100", "10", "10", "\r\n0114:1~2~1~1~250~10.0~A~0~100~10.0", ""},
        {"130", "", "", "1", "\r\n0114:1~2~1~1~130~1.0~A~0~~", RANGE2},
        {"900", "", "", "1", "\r\n0114:1~2~1~1~900~1.0~A~0~~", RANGE2},
        {"A10", "", "", "", "\r\n0114:1~2~1~1~A10~~A~0~~", ""},
        {"D5", "", "", "", "\r\n0114:1~2~1~1~D5~~A~0~~", ""},
        {"MWH", "", "", "99", "\r\n0115:1~2~1~1~MWH~V~1500.0", "", 1, "05:1500"},
        {"KGM", "", "", "7.5", "\r\n0115:1~2~1~1~KGM~V~7.5", ""},
        {"811", "", "", "", "\r\n0115:1~2~1~1~811~V~", ""},
        {"600", "", "", "1", "\r\n0114:1~2~1~1~600~1.0~A~0~~", "", 1},
        {"600", "", "", "1", "", "", 5},
        {"610", "x", "23", "46.00", "\r\n0114:1~2~1~1~610~46.00~A~0~2.00~23.0", ""},
        {"610", "12.3456", "23.456", "1", "\r\n0114:1~2~1~1~610~1.0~A~0~12.34~23.45", ""},
        {"610", "", "", "-5", "\r\n0114:1~2~1~1~610~5.0~A~0~~", ""},
        {"610", "x", "0", "46", "\r\n0114:1~2~1~1~610~46.0~A~0~~0.0",
         "Βάση \"x\" με μηδενικό συντελεστή στην 1η γραμμή φόρου του 1ου είδους\n"},
        {" 250", "", "", "1", "", ""},
    };
    for (const T& c : cases) {
        auto R = one({980, {}, "", "", "DFK", 0, "", c.EDE}, [&](DISKOIL::RUN& r) {
            item1(r);
            tax(1, c.type, c.base, c.rate, c.amount);
            box(89, c.b89);
        });
        EXPECT_EQ(R.OUT, c.out) << c.type << " " << c.base;
        EXPECT_EQ(errors(R), c.errors) << c.type << " " << c.base;
    }
    // Kind V and kind A lines are numbered apart; the last field built is the row's value.
    auto R = one({980, {}, "", ""}, [&](DISKOIL::RUN& r) {
        item1(r);
        tax(1, "250", "", "5", "1");
        tax(2, "KGM", "", "", "2");
        tax(4, "300", "", "7", "3");
    });
    EXPECT_EQ(R.OUT, "\r\n0114:1~2~1~1~250~1.0~A~0~~5.0\r\n0115:1~2~1~1~KGM~V~2.0\r\n0114:1~2~1~2~300~3.0~A~0~~7.0");
    // The last field built is what the length rule sees: "7.0" passes "3", fails "2".
    const auto last = [&](const char* MIKOS) {
        return one({980, {}, "", ""}, [&](DISKOIL::RUN& r) {
            item1(r);
            tax(1, "KGM", "", "", "2");
            tax(4, "300", "", "7", "3");
        }, MIKOS).CERR;
    };
    EXPECT_EQ(last("3"), 0);
    EXPECT_EQ(last("2"), 1);
}

TEST_F(Oil, WineLines) {
    // A nine-digit code with the quantity 0: two error lines, still written.
    auto R = one({1111, {}, "", ""}, [&](DISKOIL::RUN& r) {
        item1(r);
        wines(1, {{1, {"220421100", "0"}}});
    });
    EXPECT_EQ(R.OUT, "\r\n0111:1~2~1~1~220421100~0");
    EXPECT_EQ(errors(R), "Λάθος 10ψηφιος Κωδικός στον 1ο στίχο του 1ου είδους\n"
                         "Μηδενική Ποσότητα στον 1ο στίχο του 1ου είδους\n");
    EXPECT_EQ(R.CERR, 2);
    // Records 1 and 40 are lines 1 and 2; a quantity of eleven characters is cut to ten.
    R = one({1111, {}, "", ""}, [&](DISKOIL::RUN& r) {
        item1(r);
        wines(1, {{1, {"2204211000", "    12.5000"}}, {40, {"2208301100", "12345678.91"}}, {20, {"", "5"}}});
    });
    EXPECT_EQ(R.OUT, "\r\n0111:1~2~1~1~2204211000~12.5000\r\n0111:1~2~1~2~2208301100~12345678.9");
    EXPECT_EQ(errors(R), "");
    // No file: no line, no error.
    PLAT::removeFile(EKEXTRA::ITEMNAME("123", ".K", "1"));
    R = one({1111, {}, "", ""}, item1);
    EXPECT_EQ(R.OUT, "");
    EXPECT_EQ(R.CERR, 0);
}

TEST_F(Oil, RowsOfCodes980And1111WithLengthRuleZero) {
    const std::string len0 = "Γραμμή 1 Λάθος εγγραφή στη θέση ";
    // A wine line written: the length error; none without.
    auto R = one({1111, {}, "", ""}, [&](DISKOIL::RUN& r) {
        item1(r);
        wines(1, {{1, {"2204211000", "1"}}});
    }, "0");
    EXPECT_EQ(errors(R), len0 + " 111 P\n");
    PLAT::removeFile(EKEXTRA::ITEMNAME("123", ".K", "1"));
    R = one({1111, {}, "", ""}, item1, "0");
    EXPECT_EQ(errors(R), "");
    R = one({980, {}, "", ""}, [&](DISKOIL::RUN& r) {
        item1(r);
        tax(1, "KGM", "", "", "2");
    }, "0");
    EXPECT_EQ(errors(R), len0 + "980 P\n");
    R = one({980, {}, "", ""}, item1, "0");
    EXPECT_EQ(errors(R), "");
    // A row of code 980 is never mandatory.
    R = one({980, {}, "", ""}, [&](DISKOIL::RUN& r) { r.TAB[0].STATUS = "R"; }, "..9");
    EXPECT_EQ(errors(R), "");
    // Past row 155 nothing is checked.
    R = one({64, {}, "", ""}, [&](DISKOIL::RUN& r) {
        r.TAB[160] = r.TAB[0];
        r.TAB[160].STATUS = "R";
        r.TAB[0] = {};
    });
    EXPECT_EQ(errors(R), "");
}

TEST_F(Oil, TheDeclarantStanding) {
    struct C {
        const char* b34;
        uint8_t idios;
        bool warned;
    } cases[] = {{"123456789", 1, false}, {"GR777", 1, false}, {"099999999", 2, false}, {"555555555", 2, true}};
    for (const auto& c : cases) {
        clear();
        box(21, "123456789");
        box(11, "GR777");
        box(34, c.b34);
        int waits = 0;
        std::string screen;
        con->onIdle = [&] {
            ++waits;
            if (waits == 1) {
                screen = con->dump();
                con->keys("x");
                con->key(PLAT::SC::F2);
            } else {
                con->keys("\x1b");
            }
        };
        DISKOIL::RUN R;
        DISKOIL::GET_IDIOS(R);
        con->onIdle = nullptr;
        EXPECT_EQ(R.IDIOS, c.idios) << c.b34;
        EXPECT_EQ(waits, c.warned ? 2 : 0) << c.b34;
        if (c.warned) EXPECT_NE(screen.find("ΠΡΟΣΟΧΗ: ΑΛΛΟΣ Α.Φ.Μ. ΔΙΑΣΑΦΙΣΤΗ"), std::string::npos);
    }
}

// ---- Whole runs ----------------------------------------------------------------------------------

namespace {

std::vector<std::string> demoTable() {
    std::vector<std::string> lines;
    std::ifstream in(std::string(KORVEX_SOURCE_DIR) + "/data/demo/tables/eformats/PARDEFK.txt");
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

void expectGolden(const std::string& name, const std::string& bytes) { TESTS::expectGolden("diskoil/" + name, bytes); }

class OilRun : public Oil {
protected:
    void SetUp() override {
        Oil::SetUp();
        INSTALL::makeExportCounter(work->file("DATABASE"));
        TESTS::writeFile(co("NPARDEFK.dat"), INSTALL::fieldTableImage(demoTable()));
        TESTS::writeFile(co("ASCI_OUT.TXT"), "OUT1\\\r\nOUT2\\\r\nOILOUT\\\r\n");
        fs::create_directories(work->file("OILOUT"));
        fs::create_directories(work->file("drives/c/jicis"));
        fs::create_directories(work->file("drives/c/trial_jicis"));
        fs::create_directories(work->file("rec"));
    }
    void TearDown() override {
        unsetenv("KORVEX_JAVA");
        Oil::TearDown();
    }
    void client() {
        setenv("KORVEX_JAVA", (std::string(KORVEX_JICIS) + " --record " + work->file("rec")).c_str(), 1);
    }
    bool recorded() {
        for (int i = 0; i < 200; ++i) {
            if (TESTS::exists(work->file("rec/JICIS-ARGS.TXT"))) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    void run(const std::string& EXT, uint8_t EDE, std::vector<std::string> waits, bool test = false) {
        screens.clear();
        size_t i = 0;
        con->onIdle = [this, &i, waits] {
            if (i >= waits.size()) return;
            screens.push_back(con->dump());
            con->keys(gr(waits[i++].c_str()));
        };
        DISKOIL::MAKE_DISK_OIL(EXT, EDE, test);
        con->onIdle = nullptr;
        EXPECT_EQ(i, waits.size()) << "waits left";
    }
    bool shown(size_t wait, const std::string& utf8) const {
        return wait < screens.size() && screens[wait].find(utf8) != std::string::npos;
    }
    std::string errorList() const { return PLAT::cp737ToUtf8(TESTS::readFile(work->file("ERROR.TXT"))); }
    // An excise declaration of three items: item 1 on the main page, items 2 and 3 on sheet 2,
    // wine lines for items 1 and 3.
    void threeItems() {
        clear();
        box(2, "IM");
        box(3, "4000");
        box(7, "1001");
        box(8, "150326");
        box(11, "");
        box(12, "ΟΙΝΟΠΟΙΕΙΟ Α.Ε.");
        box(21, "123456789");
        box(22, "ΚΑΒΑ ΑΘΗΝΩΝ");
        box(18, "3");
        box(20, "1234567890");
        box(34, "123456789");
        box(28, "A123");
        box(54, "EUR");
        box(56, "1.0000");
        box(66, "ΧΩΡΙΣ ΣΗΜΑ");
        box(72, "ΟΙΝΟΣ ΕΡΥΘΡΟΣ");
        box(79, "22042110 00 0000 0000");
        box(84, "4000");
        box(86, "900");
        box(89, "07:750");
        tax(1, "110", "", "", "12.5");
        tax(2, "110", "", "", "3");
        tax(3, "250", "x", "23", "46.00");
        tax(4, "KGM", "", "", "900");
        tax(5, "600", "", "", "1");
        wines(1, {{1, {"2204211000", "500"}}, {2, {"2204219300", "250"}}});
        wines(3, {{1, {"2208301100", "40.5"}}});
        const BOD::SCB saved = BOD::BIS;
        BOD::BIS = BOD::SHEETPAGE("DFK");
        for (int n = 2; n <= 3; ++n) {
            for (int b = 1; b <= BOD::SHEET_BOXES; ++b) BOD::BOS(BOD::BIS, BOD::GB, b, "");
            auto sb = [](int b, const std::string& t) { BOD::BOS(BOD::BIS, BOD::GB, b, gr(t.c_str())); };
            sb(1, "02");
            sb(3, "0" + std::to_string(n));
            sb(23, n == 2 ? "ΟΙΝΟΣ ΛΕΥΚΟΣ" : "ΟΥΙΣΚΙ");
            sb(29, n == 2 ? "22042138 00 0000 0000" : "22083011 00 0000 0000");
            sb(34, "4000");
            sb(36, std::to_string(100 * n));
            sb(39, "07:" + std::to_string(10 * n));
            sb(51, "KGM");
            sb(54, std::to_string(n) + ".5");
            sb(56, "300");
            sb(57, "x");
            sb(58, "10");
            sb(59, "9.99");
            BOD::BM = UMAS::padTo("1230" + std::string("2") + "0" + std::to_string(n), 14);
            BOD::BOB = false;
            BOD::AYB = BOD::MOT{};
            UMAS::LOCK("FBIS");
            EXPECT_TRUE(EKDO::KATB().stored);
            UMAS::UNLOC("FBIS");
        }
        BOD::BIS = saved;
    }
    std::vector<std::string> screens;
};

}  // namespace

TEST_F(OilRun, Mode1WritesDPlusSevenCharactersIntoLine3AndCounts) {
    threeItems();
    const auto before = DISKET::readCount();
    run("DFK", 1, {"Ν", " "});
    EXPECT_TRUE(shown(0, "ΝΑ ΓΙΝΕΙ ΔΙΣΚΕΤΑ ΔΕΦΚ"));
    EXPECT_TRUE(shown(1, "     ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ:   0    "));
    EXPECT_EQ(errorList(), "");
    expectGolden("oil3.txt", TESTS::readFile(work->file("OILOUT/D1234567.TXT")));
    EXPECT_EQ(TESTS::readFile(co("ANAF.DAT")), "1234567890\r\n");
    ASSERT_TRUE(before.has_value());
    EXPECT_EQ(DISKET::readCount(), uint16_t(*before + 1));
    // Nothing else is written beside it (no log file).
    EXPECT_EQ(std::distance(fs::directory_iterator(work->file("OILOUT")), fs::directory_iterator()), 1);
}

TEST_F(OilRun, Mode5WritesInpTxtAndHandsItToTheClient) {
    threeItems();
    client();
    run("DFK", 5, {"Ν", " "});
    EXPECT_TRUE(shown(0, "ΝΑ ΓΙΝΕΙ ΑΠΟΣΤΟΛΗ ΔΕΦΚ"));
    EXPECT_EQ(errorList(), "");
    const std::string file = work->path() + "/inp.txt";
    expectGolden("oil3-send.txt", TESTS::readFile(file));
    ASSERT_TRUE(recorded());
    EXPECT_EQ(TESTS::readFile(work->file("rec/JICIS-ARGS.TXT")),
              "-jar\nJIcis.jar\n-dsmode\n-f\n" + file + "\n-a\n123456789\n");
    EXPECT_EQ(TESTS::readFile(work->file("rec/JICIS-CWD.TXT")), fs::canonical(work->file("drives/c/jicis")).string() + "\n");
    EXPECT_FALSE(TESTS::exists(work->file("inp.log")));
    EXPECT_FALSE(TESTS::exists(work->file("inp0.log")));
    // The test environment.
    fs::remove(work->file("rec/JICIS-ARGS.TXT"));
    run("DFK", 5, {"Ν", " "}, true);
    EXPECT_TRUE(shown(0, "ΔΟΚΙΜΑΣΤΙΚΟ    ΔΕΦΚ"));
    ASSERT_TRUE(recorded());
    EXPECT_EQ(TESTS::readFile(work->file("rec/JICIS-CWD.TXT")),
              fs::canonical(work->file("drives/c/trial_jicis")).string() + "\n");
}

TEST_F(OilRun, FiveErrorsGiveTheirCountLineAndNoFile) {
    threeItems();
    client();
    box(2, "IMA");   // 994
    box(3, "3000");  // 993
    box(64, "GR1");  // not in the table: no error
    box(66, "");     // 66 is not in the table either
    // A code of eight digits with a quantity of 0 (two), a code of nine digits (one).
    wines(1, {{1, {"22042110", "0"}}, {2, {"220421100", "5"}}});
    run("DFK", 5, {"Ν", " ", " "});
    EXPECT_TRUE(shown(1, "     ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ:   5    "));
    EXPECT_FALSE(TESTS::exists(work->file("inp.txt")));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(TESTS::exists(work->file("rec/JICIS-PID.TXT")));
    EXPECT_FALSE(TESTS::exists(co("ANAF.DAT")));
    EXPECT_EQ(errorList(),
              "Γραμμή 6 Το Καθεστώς πρέπει να είναι [ IM,COM,EX,EU ] στα ΑΓΓΛΙΚΑ\r\n"
              "Γραμμή 7 Λάθος καθεστώς ΔΕΦΚ\r\n"
              "Λάθος 10ψηφιος Κωδικός στον 1ο στίχο του 1ου είδους\r\n"
              "Μηδενική Ποσότητα στον 1ο στίχο του 1ου είδους\r\n"
              "Λάθος 10ψηφιος Κωδικός στον 2ο στίχο του 1ου είδους\r\n");
}

TEST_F(OilRun, TheReference) {
    threeItems();
    // Blanks: message 3 alone, no count line.
    box(20, "   ");
    run("DFK", 1, {"Ν", " "});
    EXPECT_EQ(errorList(), "Πρέπει να συμπληρωθεί ο αριθμός αναφοράς (θέση 7) \r\n");
    EXPECT_FALSE(shown(1, "ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ"));
    // A character that cannot be in a file name: message 4.
    box(20, "12/34");
    run("DFK", 1, {"Ν", " "});
    EXPECT_EQ(errorList(), "Ο αριθμός αναφοράς (θέση 7) περιέχει λάθος χαρακτήρες\r\n");
    EXPECT_TRUE(fs::is_empty(work->file("OILOUT")));
    // Right-aligned in its box: trimmed first, then cut.
    box(20, "      77");
    run("DFK", 1, {"Ν", " "});
    EXPECT_TRUE(TESTS::exists(work->file("OILOUT/D77.TXT")));
    // No answer: nothing.
    fs::remove(work->file("OILOUT/D77.TXT"));
    run("DFK", 1, {"Ο"});
    EXPECT_FALSE(TESTS::exists(work->file("OILOUT/D77.TXT")));
}

TEST_F(OilRun, TheFolderOfLine3ItsListingAndAMissingTable) {
    threeItems();
    box(20, "77");
    TESTS::writeFile(work->file("OILOUT/OLD.TXT"), "x");
    // The listing of the excise run, then yes: erased.
    run("DFK", 1, {"Ν", "Ν", " "});
    EXPECT_TRUE(shown(1, "ΠΕΡΙΕΧΟΜΕΝΑ ΔΙΣΚΕΤΑΣ"));
    EXPECT_TRUE(shown(1, "Να σβηστούν όλα τα αρχεία της δισκέτας (Ν/Ο);"));
    EXPECT_FALSE(TESTS::exists(work->file("OILOUT/OLD.TXT")));
    EXPECT_TRUE(TESTS::exists(work->file("OILOUT/D77.TXT")));
    // A folder that cannot be written: the excise text, Esc gives up.
    TESTS::writeFile(co("ASCI_OUT.TXT"), "OUT1\\\r\nOUT2\\\r\nNOWHERE\\SUB\\\r\n");
    run("DFK", 1, {"Ν", "\x1b"});
    EXPECT_TRUE(shown(1, "ΠΑΡΑΚΑΛΩ ΒΑΛΤΕ ΔΙΣΚΕΤΑ ΣΤΟ DRIVE"));
    // A missing table: one line naming it.
    fs::remove(co("NPARDEFK.dat"));
    run("DFK", 1, {"Ν", " "});
    EXPECT_EQ(errorList(), "Δεν βρέθηκε ο πίνακας πεδίων NPARDEFK.dat (ή δεν έχει καμία γραμμή).\r\n");
}
