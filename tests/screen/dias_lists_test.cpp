// The declaration lists over a store filled through the store's own routines: by customer, by
// date (with the name sort and the dump), the search, the printouts against golden files, and
// the templates table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>

#include "dias_lists_fixture.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "print/prns.h"

using namespace LISTTEST;
using PLAT::keyChar;
using PLAT::keyExt;
namespace SC = PLAT::SC;

namespace {

const PLAT::Event ENTER = keyChar(13), ESC = keyChar(27), DOWN = keyExt(SC::DOWN), UP = keyExt(SC::UP),
                  PGDN = keyExt(SC::PGDN), F4 = keyExt(SC::F4), TAB = keyChar(9),
                  CTRL_Y = keyChar(25);

int32_t Z(const std::string& ddmmyy) { return UMAS::HMVAL(ddmmyy); }
std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}
template <class Row>
std::vector<std::string> numbers(const std::vector<Row>& P, int CC) {
    std::vector<std::string> v;
    for (int i = 0; i < CC; ++i) v.push_back(trim(P[size_t(i)].KD));
    return v;
}
void keys(PLAT::HeadlessConsole* con, const std::vector<PLAT::Event>& ev) {
    for (const auto& e : ev) con->push(e);
}
void typed(PLAT::HeadlessConsole* con, const std::string& s) {
    for (unsigned char c : s) con->push(keyChar(c));
}
// A field emptied, then s typed.
void retyped(PLAT::HeadlessConsole* con, const std::string& s) {
    con->push(keyChar(25));
    typed(con, s);
}

}  // namespace

// ---- Declarations by customer ---------------------------------------------------------------------

TEST_F(Lists, ByCustomerStopsAt192SortedByDate) {
    std::vector<DIAS::REC1> P;
    int CC = -1;
    const std::string name = ARP0::KEY(CUSTOMERS[0]);
    // 200 of the customer's imports lie in 2021: the walk stops at 192
    DIAS::READP(P, CC, pr(0), Z("010121"), Z("311221"), name, "IMP");
    EXPECT_TRUE(DIAS::ALLGOOD);
    ASSERT_EQ(CC, 192);
    ASSERT_EQ(P.size(), size_t(DIAS::ROWS_P));
    for (int i = 1; i < CC; ++i) EXPECT_LE(Z(P[size_t(i - 1)].HM), Z(P[size_t(i)].HM)) << i;
    // the first 192 of the chain (stored 1000..1191), only reordered
    std::set<std::string> got;
    for (const auto& n : numbers(P, CC)) got.insert(n);
    EXPECT_EQ(got.size(), 192u);
    EXPECT_EQ(*got.begin(), "1000");
    EXPECT_EQ(*got.rbegin(), "1191");
    EXPECT_EQ(P[0].EM.substr(0, 12), "ALPHA GOODS ");

    // other kinds, other customers' names and dates out of range give no row
    DIAS::READP(P, CC, pr(0), Z("010121"), Z("311221"), name, "EXP");
    EXPECT_EQ(CC, 0);
    DIAS::READP(P, CC, pr(0), Z("010122"), Z("311222"), name, "IMP");
    EXPECT_EQ(CC, 0);
    DIAS::READP(P, CC, pr(0), Z("010121"), Z("311221"), ARP0::KEY("ALPHI"), "IMP");
    EXPECT_EQ(CC, 0) << "the first seven characters differ";
}

TEST_F(Lists, ByCustomerCountsAtTheLimitsOfTheRange) {
    std::vector<DIAS::REC1> P;
    int CC = 0;
    const std::string name = ARP0::KEY(CUSTOMERS[3]);
    struct Case {
        const char *from, *to;
        int rows;
    } cases[] = {{"010122", "140222", 45}, {"010122", "150222", 46}, {"150222", "150222", 1},
                 {"160222", "311222", 0}, {"010123", "311223", 0}};
    for (const auto& c : cases) {
        DIAS::READP(P, CC, pr(3), Z(c.from), Z(c.to), name, "IMP");
        EXPECT_EQ(CC, c.rows) << c.from << "-" << c.to;
    }
}

TEST_F(Lists, ByCustomerKeepsTheExchangeSortOrderOfEqualDatesAndDropsOtherNames) {
    std::vector<DIAS::REC1> P;
    int CC = 0;
    DIAS::READP(P, CC, pr(1), Z("010124"), Z("311224"), ARP0::KEY(CUSTOMERS[1]), "IMP");
    // stored 2001 (10th), 2002 (5th), 2003 (5th), 2004 (1st): the exchange sort puts 2003 first
    // of the two equal dates; the three imports named "BETTER THINGS" are dropped
    EXPECT_EQ(numbers(P, CC), (std::vector<std::string>{"2004", "2003", "2002", "2001"}));
    DIAS::READP(P, CC, pr(1), Z("010124"), Z("311224"), ARP0::KEY(CUSTOMERS[1]), "EXP");
    EXPECT_EQ(CC, 5) << "exports take the party name from box 12";
}

TEST_F(Lists, ByCustomerWithoutACustomerOrOutsideTheHeadsIsEmpty) {
    std::vector<DIAS::REC1> P;
    int CC = 0;
    for (int prn : {65000, 10000, 64999, -1}) {
        DIAS::READP(P, CC, prn, Z("010190"), Z("311249"), ARP0::KEY("NOBODY"), "IMP");
        EXPECT_EQ(CC, 0) << prn;
        EXPECT_TRUE(DIAS::ALLGOOD) << prn;
    }
}

// ---- Declarations by date -------------------------------------------------------------------------

TEST_F(Lists, ByDateListsTheFirst252InDayOrderAndSortsByName) {
    std::vector<DIAS::REC> P;
    int CC = 0;
    // 260 imports in 2021: the first 252 in day order
    DIAS::READH(P, CC, Z("010121"), Z("311221"), "IMP", false);
    ASSERT_EQ(CC, 252);
    for (int i = 1; i < CC; ++i) EXPECT_LE(Z(P[size_t(i - 1)].HM), Z(P[size_t(i)].HM)) << i;
    EXPECT_EQ(P[0].HM, "010121");
    EXPECT_EQ(P[0].EA, "ALPHA TRADING");
    EXPECT_EQ(trim(P[0].TEL), "OFFICE 0101");
    const std::string lastDay = P[251].HM;

    // F4: byte order of the names (Latin before Greek), and a new reading gives day order again
    DIAS::NAMESORT(P, CC);
    EXPECT_EQ(P[0].EA, "ALPHA TRADING");
    EXPECT_EQ(P[251].EA, PLAT::gr("ΩΜΕΓΑ ΑΕ"));
    for (int i = 1; i < CC; ++i) EXPECT_LE(P[size_t(i - 1)].EA, P[size_t(i)].EA) << i;
    DIAS::READH(P, CC, Z("010121"), Z("311221"), "IMP", false);
    EXPECT_EQ(P[0].HM, "010121");
    EXPECT_EQ(P[251].HM, lastDay);

    // dates after 2020 and before, kinds apart, an empty day
    DIAS::READH(P, CC, Z("010325"), Z("310325"), "IMP", false);
    EXPECT_EQ(CC, 22);
    DIAS::READH(P, CC, Z("010325"), Z("310325"), "EXP", false);
    EXPECT_EQ(CC, 5);
    DIAS::READH(P, CC, Z("010399"), Z("311219"), "IMP", false);
    EXPECT_EQ(numbers(P, CC), (std::vector<std::string>{"6001", "6002"}));
    DIAS::READH(P, CC, Z("020325"), Z("020325"), "DFK", false);
    EXPECT_EQ(CC, 0);
    EXPECT_EQ(P[0].KD, std::string(10, ' '));
}

TEST_F(Lists, DumpWritesEveryKindOfTheRangeOneLinePerBox) {
    std::vector<DIAS::REC> P;
    int CC = 0;
    DIAS::READH(P, CC, Z("010325"), Z("310325"), "IMP", true);
    EXPECT_EQ(CC, 30) << "all five kinds are listed during the dump";
    std::set<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator("drives/c/DIAM")) files.insert(e.path().filename());
    EXPECT_EQ(files.size(), 30u);
    EXPECT_TRUE(files.count("3403.DIA")) << "the excise declaration too";
    auto lines = PLAT::readLines("C:\\DIAM\\3001.DIA");
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), size_t(STORE::LIST_BOXES));
    EXPECT_EQ((*lines)[0], "3001");
    EXPECT_EQ((*lines)[7], "010325");
    EXPECT_EQ((*lines)[71], "GAMMA 0");
    EXPECT_EQ((*lines)[141], "AAA IMP EUR");
    EXPECT_NE(TESTS::readFile("drives/c/DIAM/3001.DIA").find("\r\n"), std::string::npos);
}

TEST_F(Lists, ADamagedDeclarationIsDroppedAndReported) {
    STORE::Found f = STORE::find(dir(), STORE::DECL, "3005");
    ASSERT_TRUE(f.found);
    {
        PLAT::File m(UMAS::PATH + "DISM.DAT", PLAT::File::READWRITE);
        const uint8_t bad[4] = {0xFF, 0xFF, 0xFF, 0xFF};
        m.writeAt(f.pos, bad, 4);
    }
    std::vector<DIAS::REC> P;
    int CC = 0;
    DIAS::READH(P, CC, Z("010325"), Z("310325"), "IMP", false);
    EXPECT_EQ(CC, 21);
    EXPECT_FALSE(DIAS::ALLGOOD);
    for (const auto& n : numbers(P, CC)) EXPECT_NE(n, "3005");
}

// A chain file whose links run in a loop: each declaration of the loop is listed once and the
// damage is told, for the day chains and the customer chains alike.
TEST_F(Lists, AChainLinkedInALoopListsEachDeclarationOnceAndIsReported) {
    // The last node of a chain is linked back to the chain's first node after its head.
    auto loop = [&](const char* file, int64_t head) {
        PLAT::File f(dir() + file, PLAT::File::READWRITE);
        uint8_t b[6];
        f.readAt(head * 6, b, 6);
        const uint16_t first = PLAT::getW(b + 4);
        ASSERT_NE(first, 0);
        int64_t R = head;
        for (;;) {
            f.readAt(R * 6, b, 6);
            if (PLAT::getW(b + 4) == 0) break;
            R = PLAT::getW(b + 4);
        }
        ASSERT_NE(R, head);
        PLAT::putW(b + 4, first);
        f.writeAt(R * 6, b, 6);
    };
    std::vector<DIAS::REC> P;
    int CC = 0;
    loop("DISH.DAT", Z("200325"));
    DIAS::READH(P, CC, Z("200325"), Z("200325"), "IMP", false);
    std::vector<std::string> got = numbers(P, CC);
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<std::string>{"3101", "3102", "3103", "3104"}));
    EXPECT_FALSE(DIAS::ALLGOOD);

    std::vector<DIAS::REC1> P1;
    loop("DIPE.DAT", pr(3));
    DIAS::READP(P1, CC, pr(3), Z("010122"), Z("311222"), ARP0::KEY(CUSTOMERS[3]), "IMP");
    EXPECT_EQ(CC, 46);
    got = numbers(P1, CC);
    EXPECT_EQ(std::set<std::string>(got.begin(), got.end()).size(), 46u);
    EXPECT_FALSE(DIAS::ALLGOOD);
}

// A day chain whose last node links into the head of another day: the other day's declarations
// are not listed twice, and the damage is told.
TEST_F(Lists, AChainLinkedIntoAnotherDaysHeadIsReported) {
    {
        PLAT::File f(dir() + "DISH.DAT", PLAT::File::READWRITE);
        uint8_t b[6];
        int64_t R = Z("200325");
        for (;;) {
            f.readAt(R * 6, b, 6);
            if (PLAT::getW(b + 4) == 0) break;
            R = PLAT::getW(b + 4);
        }
        PLAT::putW(b + 4, uint16_t(Z("210325")));
        f.writeAt(R * 6, b, 6);
    }
    std::vector<DIAS::REC> P;
    int CC = 0;
    DIAS::READH(P, CC, Z("200325"), Z("210325"), "IMP", false);
    std::vector<std::string> got = numbers(P, CC);
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<std::string>{"3101", "3102", "3103", "3104", "3201", "3202"}));
    EXPECT_FALSE(DIAS::ALLGOOD);
}

// A chain file cut short before the heads a list needs: the list is empty and the damage is told.
TEST_F(Lists, AChainFileCutShortIsReported) {
    std::vector<DIAS::REC> P;
    std::vector<DIAS::REC1> P1;
    int CC = 0;
    for (int64_t size : {int64_t(0), int64_t(6) * Z("010325") + 3, int64_t(6) * Z("150325")}) {
        std::filesystem::resize_file(dir() + "DISH.DAT", uintmax_t(size));
        DIAS::READH(P, CC, Z("010325"), Z("310325"), "IMP", false);
        EXPECT_FALSE(DIAS::ALLGOOD) << size;
        // days before the end of the file are read as they are (one declaration a day)
        DIAS::READH(P, CC, Z("010122"), Z("150222"), "IMP", false);
        EXPECT_EQ(DIAS::ALLGOOD, size > 0) << size;
        EXPECT_EQ(CC, size > 0 ? 46 : 0) << size;
    }
    std::filesystem::resize_file(dir() + "DIPE.DAT", uintmax_t(6) * uintmax_t(pr(3)));
    DIAS::READP(P1, CC, pr(3), Z("010122"), Z("311222"), ARP0::KEY(CUSTOMERS[3]), "IMP");
    EXPECT_EQ(CC, 0);
    EXPECT_FALSE(DIAS::ALLGOOD);
}

// ---- Search -----------------------------------------------------------------------------------------

TEST_F(Lists, SearchFilterRules) {
    DIAS::REC r;
    r.APOST = "XXABCDEFGHYY";
    r.PARAL = "GAMMA SA";
    r.KTEL = "0123";
    struct Case {
        std::string EA, EAX, KTEL;
        bool pass;
    } cases[] = {
        {"", "", "", true},
        {std::string(30, ' '), std::string(26, ' '), "    ", true},
        {"ABCDEFGH" + std::string(22, ' '), "", "", true},  // the first seven, anywhere
        {"ABCDEFXH", "", "", false},
        {"       Z", "", "", true},   // seven blanks first: no filter at all
        {"CDE", "", "", true},
        {"", "MM", "", true},         // two letters together anywhere in the receiver
        {"", "MA S", "", true},
        {"", "GAMMA SAX", "", false},
        {"", "", "123", true},        // the picker's code is box 7's 0123
        {"", "", "0123", true},
        {"", "", "12", false},        // a prefix does not match
        {"", "", "1234", false},
        {"ABCDEFG", "GAMMA", "123", true},
        {"ABCDEFG", "GAMMA", "124", false},
    };
    for (const auto& c : cases) EXPECT_EQ(DIAS::FILTEROK(r, c.EA, c.EAX, c.KTEL), c.pass) << c.EA << "|" << c.EAX << "|" << c.KTEL;
    r.PARAL = "ABCDEFGHIJKLMNOPQRST";  // the 20 characters a row keeps
    EXPECT_TRUE(DIAS::FILTEROK(r, "", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", ""));
}

TEST_F(Lists, SearchOverTheStore) {
    std::vector<DIAS::REC> all, P;
    int n = 0, CC = 0;
    DIAS::READH(all, n, Z("010325"), Z("310325"), "IMP", false);
    auto search = [&](const std::string& EA, const std::string& EAX, const std::string& KTEL) {
        DIAS::READH(P, CC, Z("010325"), Z("310325"), "IMP", false,
                    [&](const DIAS::REC& r) { return DIAS::FILTEROK(r, EA, EAX, KTEL); }, true);
        return CC;
    };
    EXPECT_EQ(search("", "", ""), n) << "empty fields give the rows of the list by date";
    EXPECT_EQ(numbers(P, CC), numbers(all, n));
    EXPECT_EQ(search("ABCDEFGH", "", ""), 8);
    EXPECT_EQ(search("", "", "123"), 16);
    EXPECT_EQ(search("", "", "12"), 2);
    EXPECT_EQ(search("", "", "1"), 0);
    EXPECT_EQ(search(PLAT::gr("ΠΑΠΑΔΟΠ"), "", "1234"), 4);
    EXPECT_EQ(P[CC].KD, "") << "rows past the matches are zero-filled";
}

TEST_F(Lists, SearchScreenShowsFifteenRowsAPage) {
    // dates 010325-310325, no sender, receiver or countries, office 123: 16 matches
    retyped(con, "010325");
    keys(con, {ENTER});
    retyped(con, "310325");
    keys(con, {ENTER, ENTER, ENTER, ENTER, ENTER});
    typed(con, "123");
    keys(con, {ENTER});
    int step = 0;
    con->onIdle = [&] {
        if (step == 0) {
            EXPECT_EQ(con->text(17, 2, 13), PLAT::gr("   ΕΙΣΑΓΩΓΗ  "));
            EXPECT_EQ(con->text(17, 8, 4), "3001");
            EXPECT_EQ(con->text(17, 22, 4), "3015");
            EXPECT_EQ(con->text(74, 23, 2), " 1");
            keys(con, {PGDN});
        } else if (step == 1) {
            EXPECT_EQ(con->text(74, 23, 2), " 2");
            EXPECT_EQ(con->text(2, 8, 3), " 16");
            EXPECT_EQ(con->text(17, 8, 10), "3016      ");
            EXPECT_EQ(con->text(2, 9, 30), std::string(30, ' ')) << "a blank line";
            keys(con, {DOWN, ENTER});
        } else if (step == 2) {
            keys(con, {ESC, ESC});
        }
        ++step;
    };
    DIAS::ANAZHTHSH("IMP");
    EXPECT_EQ(opened, (std::vector<std::string>{"/IMP/0"})) << "Enter on a blank line opens a new declaration";
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

// ---- Screens of the lists -----------------------------------------------------------------------

TEST_F(Lists, ByCustomerScreenFindsTheNameAndOpensARow) {
    typed(con, "bet");
    keys(con, {ENTER});
    int step = 0;
    con->onIdle = [&] {
        if (step == 0) {
            EXPECT_EQ(con->text(16, 2, 12), "BETA IMPORTS") << "the first name at or after the typed one";
            EXPECT_EQ(con->text(59, 3, 9), "123456789");
            keys(con, {ENTER});  // unchanged: the date range
            retyped(con, "010124");
            keys(con, {ENTER});
            retyped(con, "311224");
            keys(con, {ENTER});
        } else if (step == 1) {
            EXPECT_EQ(con->text(28, 5, 2), PLAT::gr("Δε")) << "1 January 2024 was a Monday";
            EXPECT_EQ(con->text(17, 7, 4), "2004");
            EXPECT_EQ(con->text(6, 7, 6), "010124");
            EXPECT_EQ(con->text(13, 7, 2), PLAT::gr("Δε"));
            EXPECT_EQ(con->text(17, 10, 4), "2001");
            EXPECT_EQ(con->text(17, 11, 10), std::string(10, ' '));
            EXPECT_EQ(con->text(74, 19, 2), " 1");
            keys(con, {DOWN, ENTER});
        } else if (step == 2) {
            EXPECT_EQ(opened, (std::vector<std::string>{"2003/IMP/0"}));
            keys(con, {ESC});  // back to the name
        } else if (step == 3) {
            keys(con, {DOWN});
        } else if (step == 4) {
            EXPECT_EQ(con->text(16, 2, 8), "GAMMA SA") << "Down steps to the next customer";
            keys(con, {ESC});
        }
        ++step;
    };
    DIAS::DIAP("IMP");
    EXPECT_EQ(step, 5);
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

TEST_F(Lists, ByDateScreenSortsByNameAndOpensTheRow) {
    retyped(con, "010121");
    keys(con, {ENTER});
    retyped(con, "311221");
    keys(con, {ENTER});
    int step = 0;
    con->onIdle = [&] {
        if (step == 0) {
            EXPECT_EQ(con->text(27, 5, 6), "010121");
            EXPECT_EQ(con->text(34, 5, 2), PLAT::gr("Πα")) << "1 January 2021 was a Friday";
            EXPECT_EQ(con->text(73, 19, 2), " 1");
            keys(con, {F4});
        } else if (step == 1) {
            EXPECT_EQ(con->text(6, 5, 13), "ALPHA TRADING");
            keys(con, {keyExt(SC::END)});  // nothing
            keys(con, {ENTER});
        } else if (step == 2) {
            keys(con, {ESC, ESC});
        }
        ++step;
    };
    DIAS::DIAH("IMP");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

TEST_F(Lists, DumpCanBeLeftWhenDriveCIsNotWritable) {
    std::filesystem::create_directories("drives");
    TESTS::writeFile("drives/c", "not a folder");
    retyped(con, "010325");
    keys(con, {ENTER});
    retyped(con, "310325");
    keys(con, {ENTER, keyExt(SC::F10)});
    typed(con, "N");
    int step = 0;
    con->onIdle = [&] {
        if (step == 0) {
            EXPECT_NE(con->text(23).find(PLAT::gr("ΠΑΡΑΚΑΛΩ ΒΑΛΤΕ ΔΙΣΚΕΤΑ")), std::string::npos);
            EXPECT_GE(con->bells, 1);
            keys(con, {ESC});
        } else if (step == 1) {
            keys(con, {ESC, ESC});
        }
        ++step;
    };
    DIAS::DIAH("IMP");
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
    EXPECT_EQ(TESTS::readFile("drives/c"), "not a folder");
}

// ---- Printouts ----------------------------------------------------------------------------------

namespace {

using TESTS::expectGolden;

}  // namespace

TEST_F(Lists, PrintoutsMatchTheirGoldenFiles) {
    UMAS::USER_ID = "1";
    for (int i = 1; i <= 5; ++i) UMAS::LOGOTYPO[size_t(i)] = "HEADER LINE " + std::to_string(i);
    auto printed = [] {
        std::string b = TESTS::readFile("drives/ports/LPT1");
        std::filesystem::remove("drives/ports/LPT1");
        return b;
    };
    const std::string name = ARP0::KEY(CUSTOMERS[3]);
    struct Case {
        const char *to, *golden;
    } cases[] = {{"140222", "45"}, {"150222", "46"}, {"010122", "1"}};
    for (const auto& c : cases) {
        DIAS::H1 = "010122";
        DIAS::H2 = c.to;
        std::vector<DIAS::REC1> P;
        int CC = 0;
        DIAS::READP(P, CC, pr(3), Z(DIAS::H1), Z(DIAS::H2), name, "IMP");
        DIAS::EKKP_P(P, CC, "IMP", name);
        expectGolden(std::string("dias_customer_") + c.golden + ".prn", printed());
        std::vector<DIAS::REC> Q;
        DIAS::READH(Q, CC, Z(DIAS::H1), Z(DIAS::H2), "IMP", false);
        DIAS::EKKP_H(Q, CC, "IMP");
        expectGolden(std::string("dias_date_") + c.golden + ".prn", printed());
    }
    DIAS::H1 = DIAS::H2 = "010123";
    std::vector<DIAS::REC1> P(DIAS::ROWS_P);
    DIAS::EKKP_P(P, 0, "DFK", name);
    expectGolden("dias_customer_0.prn", printed());
    std::vector<DIAS::REC> Q(DIAS::ROWS_H);
    DIAS::EKKP_H(Q, 0, "MTF");
    expectGolden("dias_date_0.prn", printed());
}

// ---- Templates ----------------------------------------------------------------------------------

TEST_F(Lists, TemplatesFileIsExtendedSortedAndRefusedAtOtherSizes) {
    const std::string f = dir() + "YPDI.DAT";
    EXPECT_EQ(TESTS::readFile(f), std::string(55808, '\0')) << "installed with every slot free";
    // the older file of 128 slots: slot 1 holds 77
    std::string old(27904, '\0');
    old[0] = 2, old[1] = '7', old[2] = '7';
    TESTS::writeFile(f, old);
    DIAS::SLOTTABLE Y;
    ASSERT_TRUE(DIAS::RUFY(Y));
    ASSERT_EQ(Y.size(), 256u);
    EXPECT_EQ(Y[0].Y0, "77");
    EXPECT_EQ(TESTS::readFile(f), old + std::string(27904, '\0'));

    // a number already used, compared by value, wherever it stands
    Y[200].Y0 = "123";
    EXPECT_TRUE(DIAS::SLOTUSED(Y, 5, "0123"));
    EXPECT_FALSE(DIAS::SLOTUSED(Y, 201, "0123")) << "its own slot";
    EXPECT_FALSE(DIAS::SLOTUSED(Y, 5, "124"));
    EXPECT_TRUE(DIAS::SLOTUSED(Y, 5, "")) << "an empty number meets the other free slots";

    Y[10].Y0 = "9";
    Y[10].Y2 = "NINE";
    DIAS::SORTYPOD(Y);
    EXPECT_EQ(Y[0].Y0, "9");
    EXPECT_EQ(Y[0].Y2, "NINE");
    EXPECT_EQ(Y[1].Y0, "77");
    EXPECT_EQ(Y[2].Y0, "123");
    for (size_t i = 3; i < Y.size(); ++i) EXPECT_EQ(Y[i].Y0, "") << i;
    ASSERT_TRUE(DIAS::KTTY(Y));
    DIAS::SLOTTABLE back;
    ASSERT_TRUE(DIAS::RUFY(back));
    EXPECT_EQ(back, Y);

    // any other size is reported and left as it is
    TESTS::writeFile(f, std::string(1000, 'x'));
    std::string why;
    EXPECT_FALSE(DIAS::RUFY(Y, &why));
    EXPECT_NE(why.find("1000"), std::string::npos);
    EXPECT_FALSE(DIAS::KTTY(back));
    con->push(ESC);  // the message waits for a key
    EK0::KATY("IMP", 3);
    EXPECT_EQ(con->pending(), 0u) << "the store of the summary was reported";
    EXPECT_EQ(TESTS::readFile(f), std::string(1000, 'x'));

    // a folder without the file is told, neither ended nor given a file
    std::filesystem::remove(f);
    why.clear();
    EXPECT_FALSE(DIAS::RUFY(Y, &why));
    EXPECT_NE(why.find("YPDI.DAT"), std::string::npos);
    EXPECT_FALSE(DIAS::KTTY(back));
    EXPECT_FALSE(std::filesystem::exists(f));
}

TEST_F(Lists, TemplateSummaryIsWrittenAtItsOffsets) {
    for (int i = 1; i <= BOD::BOXES; ++i) setBox(i, "");
    BOD::TM = STORE::padKey("4711", 10);
    setBox(1, "4711");
    setBox(2, "IM");
    setBox(4, "PRESET FOUR");
    setBox(5, "A");
    setBox(6, "PIRAEUS");
    setBox(7, "0123");
    setBox(12, "SENDER CO");
    setBox(22, "RECEIVER CO");
    setBox(72, "DESC ONE");
    setBox(73, "DESC TWO");
    setBox(74, "DESC THREE AND MORE");
    setBox(79, "8471300000");
    setBox(84, "4000");
    auto box = [](int n) { return BOD::SOB(BOD::DIA, BOD::GV, n); };
    auto S = [](const std::string& img, size_t off) { return img.substr(off + 1, uint8_t(img[off])); };
    EK0::KATY("IMP", 0);
    EXPECT_EQ(TESTS::readFile(dir() + "YPDI.DAT"), std::string(55808, '\0')) << "slot 0 changes nothing";

    EK0::KATY("IMP", 2);
    std::string img = TESTS::readFile(dir() + "YPDI.DAT");
    ASSERT_EQ(img.size(), 55808u);
    const size_t o = 218;
    EXPECT_EQ(S(img, o + 0), "4711");
    EXPECT_EQ(S(img, o + 11), box(4).substr(0, 19));
    EXPECT_EQ(S(img, o + 31), (box(2) + " " + box(5)).substr(0, 10));
    EXPECT_EQ(S(img, o + 42), box(84).substr(0, 7));
    EXPECT_EQ(S(img, o + 50), box(22).substr(0, 30));
    EXPECT_EQ(S(img, o + 81), box(79).substr(0, 20));
    EXPECT_EQ(S(img, o + 102), (box(72) + box(73) + box(74).substr(0, 10)).substr(0, 90));
    EXPECT_EQ(S(img, o + 193), (box(7) + " " + box(6)).substr(0, 24));
    EXPECT_EQ(img.substr(0, 218), std::string(218, '\0'));
    EXPECT_EQ(img.substr(436), std::string(55808 - 436, '\0'));

    EK0::KATY("EXP", 3);
    img = TESTS::readFile(dir() + "YPDI.DAT");
    EXPECT_EQ(S(img, 436 + 50), box(12).substr(0, 30)) << "the customer of an export is box 12";
    EXPECT_EQ(S(img, 436 + 193), box(22).substr(0, 24));

    // deleting the declaration opened from slot 2: the slot becomes free
    BOD::TM = "";
    for (int i = 1; i <= BOD::BOXES; ++i) setBox(i, "");
    EK0::KATY("IMP", 2);
    img = TESTS::readFile(dir() + "YPDI.DAT");
    EXPECT_EQ(img[o], '\0');
}

TEST_F(Lists, TemplatesScreenRefusesAUsedNumberAndUndoesTheSort) {
    DIAS::SLOTTABLE Y(DIAS::SLOTS);
    Y[0].Y0 = "500";
    Y[0].Y2 = "FIVE HUNDRED";
    Y[5].Y0 = "123";
    ASSERT_TRUE(DIAS::KTTY(Y));
    const std::string before = TESTS::readFile(dir() + "YPDI.DAT");
    // slot 2: type 0123 (used by slot 6): the bell; then 42: the editor opens with slot 2
    keys(con, {DOWN, ENTER});
    typed(con, "0123");
    keys(con, {ENTER});
    int step = 0;
    con->onIdle = [&] {
        if (step == 0) {
            EXPECT_EQ(con->bells, 1);
            EXPECT_NE(con->text(3, 3, 4), "0123") << "the slot's own number again";
            typed(con, "42");
            keys(con, {ENTER});
        } else if (step == 1) {
            EXPECT_EQ(opened, (std::vector<std::string>{"42/EXP/2"}));
            keys(con, {UP});
        } else if (step == 2) {
            EXPECT_EQ(con->text(50, 7, 12), "FIVE HUNDRED") << "the summary of the selected slot";
            keys(con, {F4});
            typed(con, "O");
        } else if (step == 3) {
            EXPECT_EQ(con->text(3, 2, 3), "500") << "No restores the order";
            EXPECT_EQ(con->text(3, 7, 3), "123");
            EXPECT_EQ(TESTS::readFile(dir() + "YPDI.DAT"), before);
            keys(con, {F4});
            typed(con, "N");
        } else if (step == 4) {
            EXPECT_EQ(con->text(3, 2, 3), "123");
            EXPECT_EQ(con->text(3, 3, 3), "500");
            keys(con, {ESC});
        }
        ++step;
    };
    DIAS::YPDI("EXP");
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
    DIAS::SLOTTABLE after;
    ASSERT_TRUE(DIAS::RUFY(after));
    EXPECT_EQ(after[0].Y0, "123");
    EXPECT_EQ(after[1].Y0, "500");
    EXPECT_EQ(after[1].Y2, "FIVE HUNDRED");
}

// Another workstation stores a template while this one has the table open: the sort stored here
// keeps it.
TEST_F(Lists, TemplatesSortKeepsASlotStoredMeanwhileElsewhere) {
    DIAS::SLOTTABLE Y(DIAS::SLOTS);
    Y[0].Y0 = "500";
    Y[5].Y0 = "123";
    ASSERT_TRUE(DIAS::KTTY(Y));
    int step = 0;
    con->onIdle = [&] {
        if (step == 0) {
            // the other workstation: slot 3 gets declaration 77
            for (int i = 1; i <= BOD::BOXES; ++i) setBox(i, "");
            BOD::TM = STORE::padKey("77", 10);
            setBox(22, "SEVENTY SEVEN");
            EK0::KATY("IMP", 3);
            keys(con, {F4});
            typed(con, "N");
        } else if (step == 1) {
            EXPECT_EQ(con->text(3, 2, 3), "77 ") << "the table shown is the one stored";
            EXPECT_EQ(con->text(3, 3, 3), "123");
            EXPECT_EQ(con->text(3, 4, 3), "500");
            keys(con, {ESC});
        }
        ++step;
    };
    DIAS::YPDI("IMP");
    EXPECT_EQ(step, 2);
    DIAS::SLOTTABLE after;
    ASSERT_TRUE(DIAS::RUFY(after));
    EXPECT_EQ(after[0].Y0, "77");
    EXPECT_EQ(trim(after[0].Y2), "SEVENTY SEVEN");
    EXPECT_EQ(after[1].Y0, "123");
    EXPECT_EQ(after[2].Y0, "500");
    for (size_t i = 3; i < after.size(); ++i) EXPECT_EQ(after[i].Y0, "") << i;
}

// The editor opened template 500 from slot 1; meanwhile another workstation's sort put template 123
// there and 500 in slot 2. Storing or deleting 500 changes slot 2 and leaves 123 as it was.
TEST_F(Lists, TemplateSummaryFollowsItsNumberWhenTheSlotsMoved) {
    DIAS::SLOTTABLE Y(DIAS::SLOTS);
    Y[0].Y0 = "123";
    Y[0].Y2 = "ONE TWO THREE";
    Y[1].Y0 = "500";
    ASSERT_TRUE(DIAS::KTTY(Y));
    for (int i = 1; i <= BOD::BOXES; ++i) setBox(i, "");
    BOD::TM = STORE::padKey("500", 10);
    setBox(22, "FIVE HUNDRED");
    EK0::KATY("IMP", 1, "500");
    DIAS::SLOTTABLE after;
    ASSERT_TRUE(DIAS::RUFY(after));
    EXPECT_EQ(after[0].Y0, "123");
    EXPECT_EQ(after[0].Y2, "ONE TWO THREE");
    EXPECT_EQ(after[1].Y0, "500");
    EXPECT_EQ(trim(after[1].Y2), "FIVE HUNDRED");

    // slot 1 taken by 123 and 500 gone from the table: a store goes to the first free slot
    Y[1] = DIAS::OYR{};
    ASSERT_TRUE(DIAS::KTTY(Y));
    EK0::KATY("IMP", 1, "500");
    ASSERT_TRUE(DIAS::RUFY(after));
    EXPECT_EQ(after[0].Y0, "123");
    EXPECT_EQ(after[1].Y0, "500");

    // deleting 500: its slot is freed, 123 stays
    BOD::TM.clear();
    for (int i = 1; i <= BOD::BOXES; ++i) setBox(i, "");
    EK0::KATY("IMP", 1, "500");
    ASSERT_TRUE(DIAS::RUFY(after));
    EXPECT_EQ(after[0].Y0, "123");
    EXPECT_EQ(after[0].Y2, "ONE TWO THREE");
    EXPECT_EQ(after[1].Y0, "");
    // nothing left of 500: a second deletion changes nothing
    const std::string before = TESTS::readFile(dir() + "YPDI.DAT");
    EK0::KATY("IMP", 1, "500");
    EXPECT_EQ(TESTS::readFile(dir() + "YPDI.DAT"), before);
    EXPECT_EQ(con->pending(), 0u);
}

TEST_F(Lists, SearchLastPageOffersNoRowPastTheRowsKept) {
    // 260 imports in 2021 match: 252 are kept, the 17th page holds rows 241 to 252
    retyped(con, "010121");
    keys(con, {ENTER});
    retyped(con, "311221");
    keys(con, {ENTER, ENTER, ENTER, ENTER, ENTER, ENTER});
    int step = 0;
    con->onIdle = [&] {
        if (step == 0) {
            for (int i = 0; i < 16; ++i) keys(con, {PGDN});
        } else if (step == 1) {
            EXPECT_EQ(con->text(74, 23, 2), "17");
            EXPECT_EQ(con->text(2, 19, 3), "252");
            for (int i = 0; i < 14; ++i) keys(con, {DOWN});
            keys(con, {ENTER});
        } else if (step == 2) {
            keys(con, {ESC, ESC});
        }
        ++step;
    };
    DIAS::ANAZHTHSH("IMP");
    EXPECT_EQ(opened, (std::vector<std::string>{"/IMP/0"})) << "the last row is a blank line";
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}
