// The customers menu, the customer editor and the customer picker on the headless console.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "common/umas.h"
#include "customers/arp0.h"
#include "customers/arpel.h"
#include "customers/pelat.h"
#include "helpers/fixture.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"

using PLAT::keyChar;
using PLAT::keyExt;
namespace SC = PLAT::SC;
using ARP0::RR0;

namespace {

const PLAT::Event ENTER = keyChar(13), ESC = keyChar(27), TAB = keyChar(9), UP = keyExt(SC::UP),
                  DOWN = keyExt(SC::DOWN), F1 = keyExt(SC::F1), F5 = keyExt(SC::F5), PGDN = keyExt(SC::PGDN);

std::string gr(const char* s) { return PLAT::gr(s); }
std::vector<PLAT::Event> typed(const std::string& cp737) {
    std::vector<PLAT::Event> v;
    for (unsigned char c : cp737) v.push_back(keyChar(c));
    return v;
}
std::vector<PLAT::Event> operator+(std::vector<PLAT::Event> a, const std::vector<PLAT::Event>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Step {
    std::vector<PLAT::Event> keys;
    std::function<void()> check;
};

int waits = 0;
void noWait(int) { ++waits; }

class CustomerScreens : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
        ARP0::WAIT = noWait;
        waits = 0;
    }
    void TearDown() override {
        con->onIdle = nullptr;
        TESTS::Installation::TearDown();
    }

    // Runs fn with the steps: a step's keys are given, and when the screen waits for more its check
    // runs and the next step's keys follow. The last step's keys must end fn.
    void session(const std::function<void()>& fn, std::vector<Step> steps) {
        auto at = std::make_shared<size_t>(0);
        auto all = std::make_shared<std::vector<Step>>(std::move(steps));
        for (const auto& e : (*all)[0].keys) con->push(e);
        con->onIdle = [this, at, all] {
            if (*at >= all->size()) return;
            if ((*all)[*at].check) (*all)[*at].check();
            if (++*at < all->size())
                for (const auto& e : (*all)[*at].keys) con->push(e);
        };
        fn();
        EXPECT_EQ(*at, all->size() - 1) << "the routine ended before the last step";
        EXPECT_EQ(SCR::STACKPOINTER(), 0) << "every mask shown was removed";
    }
    void editor(int MN, std::vector<Step> steps) {
        session([&] {
            SCR::CALLM(7, true);  // as the customers menu does
            ARPEL::STPE(MN);
        }, std::move(steps));
    }

    void add(const std::string& name, const std::string& addr = "", int MN = 0) {
        RR0 r;
        r.EA = ARP0::KEY(name);
        r.DI = addr;
        ASSERT_EQ(ARP0::STORE(MN, r), ARP0::Stored::WRITTEN);
    }
    RR0 rec(uint16_t n, int MN = 0) {
        RR0 r;
        EXPECT_TRUE(ARP0::readRecord(MN, n, r));
        return r;
    }
    // Text of a field on the screen, without the trailing blanks (and the fill dots of an open prompt).
    std::string row(int y, int x = 27, int n = 30) const {
        std::string s = con->text(x, y, n);
        while (!s.empty() && (s.back() == ' ' || s.back() == '.')) s.pop_back();
        return s;
    }
};

TEST_F(CustomerScreens, MenuOpensTheEditorsAndReturnsFromEveryReport) {
    add("ALPHA");
    // Items 3 to 13 (two digits each) start the reports, each left with Esc (the empty foreign
    // catalogue returns by itself); 1 opens the editor.
    std::vector<PLAT::Event> reports;
    for (int i = 3; i <= 13; ++i) {
        reports = reports + typed((i < 10 ? "0" : "") + std::to_string(i));
        if (i < 13) reports.push_back(ESC);
    }
    session([] { ARPEL::PELA(); },
            {{{}, [&] {
                  EXPECT_EQ(row(7, 27, 20), gr("ΠΕΛΑΤΕΣ ΕΣΩΤΕΡΙΚΟΥ"));
                  EXPECT_EQ(row(19, 27, 30), gr("ΚΑΤΑΛΟΓΟΣ ΠΕΛΑΤΩΝ ΕΞΩΤΕΡΙΚΟΥ"));
                  EXPECT_EQ(con->attr(22, 7), 0x70) << "the bar";
                  EXPECT_EQ(con->attr(22, 8), 0x4F);
                  EXPECT_NE(con->text(25).find(gr("Επιλογή")), std::string::npos);
              }},
             {reports, [&] { EXPECT_EQ(SCR::STACKPOINTER(), 2) << "menu and legend masks only"; }},
             {typed("01"), [&] {
                  EXPECT_EQ(con->text(26, 1, 12), gr("ΕΣΩΤΕΡΙΚΟΥ ╞"));
                  EXPECT_EQ(con->text(13, 3, 8), gr("ΕΠΩΝΥΜΙΑ"));
              }},
             {{ESC}, [&] { EXPECT_EQ(row(8, 27, 20), gr("ΠΕΛΑΤΕΣ ΕΞΩΤΕΡΙΚΟΥ")); }},
             {typed("02"), [&] {
                  EXPECT_EQ(con->text(26, 1, 12), gr("ΕΞΩΤΕΡΙΚΟΥ ╞"));
                  EXPECT_EQ(con->text(13, 21, 8), "EORI    ");
                  EXPECT_EQ(con->attr(12, 21), 14);
              }},
             {{ESC}, nullptr},
             {{ESC}, nullptr}});
    EXPECT_NE(ARP0::E, 0);
}

TEST_F(CustomerScreens, EnterFindsAStoredNameTypedInLowerCase) {
    add(gr("ΠΑΠΑΔΟΠΟΥΛΟΣ"), "ODOS 1");
    editor(0, {{typed(gr("παπαδοπουλος")) + std::vector{ENTER}, [&] {
                    EXPECT_EQ(row(3), gr("ΠΑΠΑΔΟΠΟΥΛΟΣ"));
                    EXPECT_EQ(row(9), "ODOS 1");
                    EXPECT_TRUE(ARP0::BOO);
                    EXPECT_NE(con->text(23).find(gr("ΜΕΤΑΒΟΛΗ")), std::string::npos) << "mask 39";
                }},
               {{ESC}, nullptr}});
}

TEST_F(CustomerScreens, ANewNameIsStoredWithItsFieldsAndChangesKeepPostings) {
    editor(0, {{typed("nikas") + std::vector{ENTER}, [&] {
                    EXPECT_NE(con->text(23).find(gr("ΝΕΟΣ ΠΕΛΑΤΗΣ")), std::string::npos) << "mask 38";
                }},
               {typed("SECOND LINE") + std::vector{ENTER} + typed("0999") + std::vector{ENTER} + typed("ODOS 2") +
                    std::vector{DOWN, DOWN} + typed("12a345") + std::vector{ENTER} + typed("210-55") +
                    std::vector{ENTER} + typed("2-x3") + std::vector{F1},
                [&] {
                    EXPECT_EQ(ARP0::recordCount(0), 1);
                    RR0 r = rec(0);
                    EXPECT_EQ(r.EA, "NIKAS" + std::string(25, ' '));
                    EXPECT_EQ(r.ON, "SECOND LINE");
                    EXPECT_EQ(r.AF, "0999");
                    EXPECT_EQ(r.DI, "ODOS 2");
                    EXPECT_EQ(r.TK, "12345") << "the postcode takes digits only";
                    EXPECT_EQ(r.TH[0], "210-55");
                    EXPECT_EQ(r.TH[1], "2-3");
                    EXPECT_EQ(r.XR, 0);
                    r.XR = 4400;  // a posting meanwhile
                    ARP0::writeRecord(0, 0, r);
                }},
               // Back at the name prompt: Enter opens the stored customer, a change of the town is stored.
               {std::vector{ENTER, DOWN, DOWN, DOWN} + typed("VOLOS") + std::vector{F1}, [&] {
                    RR0 r = rec(0);
                    EXPECT_EQ(r.PO, "VOLOS");
                    EXPECT_EQ(r.XR, 4400);
                    EXPECT_EQ(ARP0::recordCount(0), 1);
                }},
               {{ESC}, nullptr}});
    EXPECT_TRUE(ARP0::checkIndex(0).empty());
}

TEST_F(CustomerScreens, F1OnANewNameWithEmptyFieldsStoresIt) {
    add("ZETA");
    // The buffer holds ZETA's empty details; the new name must still be stored.
    editor(0, {{typed("ZETA") + std::vector{ENTER, UP} + typed("\x19") + typed("OMEGA") + std::vector{F1}, [&] {
                    EXPECT_EQ(ARP0::recordCount(0), 2);
                    EXPECT_EQ(rec(1).EA.substr(0, 5), "OMEGA");
                }},
               {std::vector{keyChar(25)} + typed("ZETA") + std::vector{F1}, [&] {
                    EXPECT_EQ(ARP0::recordCount(0), 2) << "a stored name typed again is not stored twice";
                }},
               {{ESC}, nullptr}});
}

TEST_F(CustomerScreens, NamesWithoutABucketBeepAndAreNotStored) {
    editor(0, {{typed("&CO") + std::vector{ENTER}, [&] { EXPECT_EQ(con->bells, 1); }},
               {typed("-X") + std::vector{F1}, [&] {
                    EXPECT_EQ(con->bells, 2);
                    EXPECT_EQ(ARP0::recordCount(0), 0);
                }},
               {{ESC}, nullptr}});
}

TEST_F(CustomerScreens, DownBrowsesInNameOrderAcrossBuckets) {
    for (const char* n : {"BETA", "ALPHA2", "ALPHA1", "9LIVES"}) add(n);
    add(gr("ΚΑΠΑ"));
    editor(0, {{{DOWN}, [&] { EXPECT_EQ(row(3), "ALPHA1"); }},
               {{DOWN}, [&] { EXPECT_EQ(row(3), "ALPHA2"); }},
               {{DOWN}, [&] { EXPECT_EQ(row(3), "BETA"); }},
               {{DOWN}, [&] { EXPECT_EQ(row(3), gr("ΚΑΠΑ")); }},
               {{DOWN}, [&] { EXPECT_EQ(row(3), "9LIVES"); }},
               {{DOWN}, [&] { EXPECT_EQ(row(3), "9LIVES") << "the last customer stays"; }},
               // Enter opens the shown customer's fields without reading it again.
               {{ENTER}, [&] { EXPECT_EQ(ARP0::HH, 3); }},
               {std::vector{UP, keyChar(25)} + typed(gr("Η")) + std::vector{DOWN},
                [&] { EXPECT_EQ(row(3), gr("ΚΑΠΑ")) << "the first customer of the next non-empty bucket"; }},
               {std::vector{keyChar(25)} + typed("ALPHA3") + std::vector{DOWN},
                [&] { EXPECT_EQ(row(3), "ALPHA1") << "the first customer of the name's bucket"; }},
               {{ESC}, nullptr}});
}

// Down over a damaged chain: an entry whose record lies beyond the record file is passed over, a
// link back (a loop) ends the chain, a name stored twice is shown twice, names equal in 29
// positions are shown in chain order, and every customer shown carries its own details.
TEST_F(CustomerScreens, DownWalksPastDamagedEntriesWithEachCustomersOwnDetails) {
    for (const char* n : {"ALPHA1", "ALPHA2", "ALPHA3", "BETA"}) add(n, std::string("ADDR ") + n);
    const int32_t h = 5001;  // the bucket of the Latin A
    auto entry = [&](int32_t pos, ARP0::RR3 e) {
        uint8_t b[8];
        e.encode(b);
        PLAT::File(company(0) + "/IF.DAT", PLAT::File::READWRITE).writeAt(int64_t(pos) * 8, b, 8);
    };
    struct Case {
        const char* what;
        std::function<void()> damage;
        std::vector<uint16_t> shown;  // record numbers
    } cases[] = {
        {"ALPHA2 linked back to ALPHA1", [&] { entry(h + 2, {1, h + 1}); }, {0, 1, 3, 3}},
        {"ALPHA2's entry names a record past the file", [&] { entry(h + 2, {777, h + 3}); }, {0, 2, 3}},
        {"ALPHA1 linked to itself", [&] { entry(h + 1, {0, h + 1}); }, {0, 3, 3}},
        {"ALPHA3 renamed ALPHA2: one name stored twice", [&] {
             RR0 r = rec(2);
             r.EA = ARP0::KEY("ALPHA2");
             ARP0::writeRecord(0, 2, r);
         }, {0, 1, 2, 3, 3}},
        {"a chain of older files: names equal in 29 positions in the order they were stored", [&] {
             const std::string p = "ALPHA2" + std::string(23, 'X');
             for (auto [n, last] : {std::pair{1, 'Z'}, std::pair{2, 'A'}}) {
                 RR0 r = rec(uint16_t(n));
                 r.EA = p + last;
                 ARP0::writeRecord(0, uint16_t(n), r);
             }
         }, {0, 1, 2, 3}},
    };
    const std::string idx = TESTS::readFile(company(0) + "/IF.DAT"), mf = TESTS::readFile(company(0) + "/MF.DAT");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TESTS::writeFile(company(0) + "/IF.DAT", idx);
        TESTS::writeFile(company(0) + "/MF.DAT", mf);
        c.damage();
        std::vector<Step> steps;
        for (uint16_t n : c.shown)
            steps.push_back({{DOWN}, [this, n] {
                                 const RR0 r = rec(n);
                                 EXPECT_EQ(row(3), UMAS::CUTLEADSPACES(r.EA));
                                 EXPECT_EQ(row(9), r.DI);
                             }});
        steps.push_back({{ESC}, nullptr});
        editor(0, steps);
    }
}

TEST_F(CustomerScreens, DownOnAnEmptySetShowsTheNotice) {
    editor(1, {{{DOWN}, [&] {
                    EXPECT_EQ(waits, 1);
                    EXPECT_EQ(row(3), "");
                }},
               {{ESC}, nullptr}});
}

// A domestic customer with a live invoice in its chain: mask 45, and after the yes every node of
// the chain is emptied, the deletion counted and the name unlinked.
TEST_F(CustomerScreens, DeleteOfACustomerWithInvoices) {
    add("ALPHA");
    add("BETA");
    // "TPE.DAT": 10000 heads; BETA's chain is head 1 -> node 10000 -> node 10001.
    std::string tpe;
    auto node = [&](uint16_t HR, uint16_t NR) {
        uint8_t b[4];
        PLAT::putW(b, HR);
        PLAT::putW(b + 2, NR);
        tpe.append(reinterpret_cast<char*>(b), 4);
    };
    for (int i = 0; i < 10000; ++i) node(ARP0::NONE, i == 1 ? 10000 : 0);
    node(ARP0::NONE, 10001);
    node(17, 0);
    TESTS::writeFile(company(0) + "/TPE.DAT", tpe);
    EXPECT_TRUE(ARPEL::hasInvoices(1));
    EXPECT_FALSE(ARPEL::hasInvoices(0));
    EXPECT_FALSE(ARPEL::hasInvoices(10000)) << "outside the head area";
    editor(0, {{typed("beta") + std::vector{ENTER, F5}, [&] {
                    EXPECT_NE(con->text(23).find(gr("ΕΧΕΙ ΤΙΜΟΛΟΓΙΑ")), std::string::npos);
                }},
               {{keyChar('o')}, [&] {
                    EXPECT_EQ(ARP0::deletedCount(0), 0) << "No changes nothing";
                    EXPECT_EQ(row(3), "BETA");
                }},
               {{F5}, nullptr},
               {typed(gr("Ν")), [&] {
                    EXPECT_EQ(row(3), "");
                    EXPECT_EQ(row(9), "");
                    EXPECT_EQ(ARP0::deletedNumbers(0), (std::vector<uint16_t>{1}));
                    const std::string t = TESTS::readFile(company(0) + "/TPE.DAT");
                    auto at = [&](size_t k) { return PLAT::getW(reinterpret_cast<const uint8_t*>(t.data()) + 4 * k); };
                    EXPECT_EQ(at(10001), ARP0::NONE);
                    EXPECT_EQ(PLAT::getW(reinterpret_cast<const uint8_t*>(t.data()) + 4 * 10000 + 2), 10001) << "NR kept";
                    ARP0::EA = ARP0::KEY("BETA");
                    EXPECT_FALSE(ARP0::CHO(0));
                }},
               {{DOWN}, [&] { EXPECT_EQ(row(3), "ALPHA") << "browsing passes over the deleted customer"; }},
               {{DOWN}, [&] { EXPECT_EQ(row(3), "ALPHA"); }},
               {std::vector{keyChar(25)} + typed("alpha") + std::vector{ENTER, F5}, [&] {
                    EXPECT_NE(con->text(23).find(gr("ΔΙΑΓΡΑΦΗ ΤΟΥ ΠΕΛΑΤΗ")), std::string::npos) << "mask 44";
                }},
               {typed("n"), [&] { EXPECT_TRUE(ARP0::EMPTY(0)); }},
               {{ESC}, nullptr}});
    EXPECT_TRUE(ARP0::checkIndex(0).empty());
    EXPECT_EQ(ARP0::createdCount(0), 2);
}

// A customer reached through the picker whose entry is not in its own name chain (a damaged index:
// ALPHA's entry hangs off the chain of B): the delete finds nothing to unlink, says so and keeps
// the customer, instead of clearing the screen as if it had been deleted.
TEST_F(CustomerScreens, ADeleteThatFindsNoEntryIsToldAndKeepsTheCustomer) {
    add("ALPHA", "A STREET");
    add("BETA", "B STREET");
    {
        PLAT::File f(company(0) + "/IF.DAT", PLAT::File::READWRITE);
        uint8_t b[8];
        ARP0::RR2{5000, 1, 0}.encode(b);  // the chain of the Latin A emptied
        f.writeAt(5001 * 8, b, 8);
        ARP0::RR3{1, 5002}.encode(b);  // BETA followed by ALPHA's entry
        f.writeAt((3 * 5001 + 1) * 8, b, 8);
    }
    editor(0, {{{TAB, DOWN, ENTER}, [&] { EXPECT_EQ(row(3), "ALPHA"); }},
               {{F5}, nullptr},
               {typed(gr("Ν")), [&] { EXPECT_NE(con->text(23).find(gr("ΔΕΝ ΔΙΑΓΡΑΦΗΚΕ")), std::string::npos); }},
               {{ESC}, [&] {
                    EXPECT_EQ(row(3), "ALPHA");
                    EXPECT_EQ(row(9), "A STREET");
                    EXPECT_EQ(ARP0::deletedCount(0), 0);
                }},
               {{ESC}, nullptr}});
}

TEST_F(CustomerScreens, F5OnANewNameDoesNothingAndEscStoresNothing) {
    add("ALPHA");
    editor(0, {{typed("OMEGA") + std::vector{ENTER} + typed("LINE") + std::vector{F5},
                [&] { EXPECT_EQ(con->text(23).find(gr("ΔΙΑΓΡΑΦΗ")), std::string::npos); }},
               {{ESC}, nullptr}});
    EXPECT_EQ(ARP0::recordCount(0), 1);
    EXPECT_EQ(ARP0::deletedCount(0), 0);
}

TEST_F(CustomerScreens, TabOpensThePickerAndEscKeepsTheCurrentCustomer) {
    add("ALPHA", "A STREET");
    add("BETA", "B STREET");
    editor(0, {{typed("alpha") + std::vector{ENTER, UP}, [&] { EXPECT_EQ(ARP0::HH, 0); }},
               {typed("B") + std::vector{TAB}, [&] {
                    EXPECT_EQ(row(3, 4, 20), "ALPHA");
                    EXPECT_EQ(row(4, 4, 20), "BETA");
                    EXPECT_EQ(con->attr(4, 4), 0x70) << "the bar opens at the first name not below B";
                }},
               {{ESC}, [&] {
                    EXPECT_EQ(ARP0::HH, 0);
                    EXPECT_TRUE(ARP0::BOO);
                    EXPECT_EQ(row(3), "ALPHA");
                }},
               {{TAB, DOWN, ENTER}, [&] {
                    EXPECT_EQ(ARP0::HH, 1);
                    EXPECT_EQ(row(9), "B STREET");
                    EXPECT_NE(con->text(23).find(gr("ΜΕΤΑΒΟΛΗ")), std::string::npos) << "in the fields";
                }},
               {{ESC}, nullptr}});
}

TEST(CustomerPicker, OpeningRow) {
    std::vector<PELAT::PER> L;
    for (const char* n : {"ΑΛΦΑ", "ΚΑΛΟΣ", "ΚΛΑΔΟΣ", "ΚΩΣΤΑΣ", "ΚΩΣΤΑΣ Β", "KAPPA", "ΛΑΜΔΑ"}) L.push_back({0, gr(n), "", "", ""});
    struct Case { const char* typed; size_t row; } cases[] = {
        {"", 0}, {"ΚΩ", 3}, {"ΚΩΣΤΑΣ ", 3}, {"ΚΩΣΤΑΣ Β", 4}, {"ΚΩΣΤΑΣ Γ", 5}, {"ΚΞ", 3}, {"Ω", 6}, {"ΑΜ", 1}, {"ΑΑ", 0}};
    for (auto& c : cases) EXPECT_EQ(PELAT::openingRow(L, gr(c.typed)), c.row) << c.typed;
    EXPECT_EQ(PELAT::openingRow({}, "X"), 0u);
}

TEST_F(CustomerScreens, PickerReturnsTheChosenRecordOrNone) {
    for (int i = 0; i < 25; ++i) add("C" + std::to_string(100 + i), "ADDR " + std::to_string(i));
    uint16_t PR = 0;
    RR0 buf;
    buf.EA = "untouched";
    // No customer in the foreign set: the notice, 65000, the buffer untouched.
    session([&] { PELAT::ALPHAPEL("", 1, PR, &buf); }, {{{}, nullptr}});
    EXPECT_EQ(PR, ARP0::NONE);
    EXPECT_EQ(buf.EA, "untouched");
    EXPECT_EQ(waits, 1);
    // Enter on a blank line of the last page: 65000 and a zeroed buffer.
    session([&] { PELAT::ALPHAPEL("C124", 0, PR, &buf); },
            {{{}, [&] {
                  EXPECT_EQ(row(7, 4, 20), "C124");
                  EXPECT_EQ(con->attr(4, 7), 0x70);
                  EXPECT_EQ(row(8, 4, 20), "");
              }},
             {{DOWN, ENTER}, nullptr}});
    EXPECT_EQ(PR, ARP0::NONE);
    EXPECT_EQ(buf, RR0{});
    // PgDn from the first page, Enter: the record.
    session([&] { PELAT::ALPHAPEL("", 0, PR, &buf); }, {{{PGDN, DOWN, ENTER}, nullptr}});
    EXPECT_EQ(PR, 21);
    EXPECT_EQ(buf.DI, "ADDR 21");
}

TEST_F(CustomerScreens, PickerOfTheForeignSetShowsItsTitle) {
    add("ADRIATICA", "", 1);
    uint16_t PR = 0;
    RR0 buf;
    session([&] { PELAT::ALPHAPEL("", 1, PR, &buf); },
            {{{}, [&] { EXPECT_EQ(con->text(3, 1, 22), gr("ΠΕΛΑΤΟΛΟΓΙΟ ΕΞΩΤΕΡΙΚΟΥ")); }}, {{ENTER}, nullptr}});
    EXPECT_EQ(PR, 0);
    EXPECT_EQ(UMAS::CUTLEADSPACES(buf.EA), "ADRIATICA");
    session([&] { PELAT::ALPHAPEL("", 0, PR, &buf); }, {{{}, nullptr}});  // empty domestic set
    add("DOMESTIC");
    session([&] { PELAT::ALPHAPEL("", 0, PR, &buf); },
            {{{}, [&] { EXPECT_EQ(con->text(6, 1, 11), gr("ΠΕΛΑΤΟΛΟΓΙΟ")); }}, {{ESC}, nullptr}});
    EXPECT_EQ(PR, ARP0::NONE);
}

// More than 8000 customers (index and records laid out directly): every one can be picked.
TEST_F(CustomerScreens, PickerHasNoRowLimit) {
    const int N = 8100;
    std::string mf(size_t(N) * RR0::SIZE, '\0');
    std::string idx = TESTS::readFile(company(0) + "/IF.DAT");
    auto* ib = reinterpret_cast<uint8_t*>(idx.data());
    for (int i = 0; i < N; ++i) {
        RR0 r;
        char name[16];
        std::snprintf(name, sizeof name, "%c%05d", i < 4000 ? 'A' : 'B', i);
        r.EA = ARP0::KEY(name);
        r.encode(reinterpret_cast<uint8_t*>(mf.data()) + size_t(i) * RR0::SIZE);
        const int32_t h = (i < 4000 ? 1 : 3) * 5001, slot = h + 1 + (i < 4000 ? i : i - 4000);
        const bool last = i == 3999 || i == N - 1;
        ARP0::RR3{i, last ? 0 : slot + 1}.encode(ib + int64_t(slot) * 8);
        ARP0::RR2{5000, uint16_t(i < 4000 ? 4000 : N - 4000), h + 1}.encode(ib + int64_t(h) * 8);
    }
    TESTS::writeFile(company(0) + "/IF.DAT", idx);
    TESTS::writeFile(company(0) + "/MF.DAT", mf);
    EXPECT_EQ(PELAT::rows(0).size(), size_t(N));
    uint16_t PR = 0;
    RR0 buf;
    session([&] { PELAT::ALPHAPEL("B08099", 0, PR, &buf); }, {{{ENTER}, nullptr}});
    EXPECT_EQ(PR, 8099);
    EXPECT_TRUE(ARP0::checkIndex(0).empty());
}

}  // namespace
