// The declarations menu of a kind and the date-range entry of the lists.
#include <gtest/gtest.h>

#include <functional>

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/dias.h"
#include "helpers/fixture.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"

using PLAT::gr;
namespace SC = PLAT::SC;

namespace {

constexpr uint8_t ENTER = 13, ESC = 27;

class DeclMenu : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
        PLAT::setFixedNow(PLAT::DateTime{2026, 12, 10, 10, 0, 0, 0});
        DIAS::E = 2026;
        DIAS::M = 12;
        DIAS::H = 10;
        DIAS::B4 = "2026";
    }
    void TearDown() override {
        PLAT::setFixedNow(std::nullopt);
        TESTS::Installation::TearDown();
    }
    // Runs a screen; snap looks at it when the script is used up, then it is left with the keys.
    void run(const std::function<void()>& screen, const std::function<void()>& snap, const std::string& leave) {
        bool done = false;
        con->onIdle = [&] {
            if (done || con->pending() > 0) return;
            done = true;
            if (snap) snap();
            for (char c : leave) con->ch(uint8_t(c));
        };
        try {
            screen();
        } catch (const PLAT::ScriptEnd&) {
            ADD_FAILURE() << "the screen did not return";
        }
        con->onIdle = nullptr;
    }
};

TEST_F(DeclMenu, ShorthandsClampsAndRefusals) {
    struct C {
        const char* typed;
        const char* result;  // nullptr: refused
    };
    const C cases[] = {
        {"", "101226"},       {"5", "051226"},      {"15", "151226"},     {"0312", "010312"},
        {"2015", "010115"},   {"0125", "010125"},   {"123", "010123"},    {"150690", "150690"},
        {"300213", "280213"}, {"290212", "290212"}, {"310426", "300426"}, {"31226", "031226"},
        {"0160", nullptr},    {"010150", nullptr},  {"010189", nullptr},  {"011326", nullptr},
        {"000126", nullptr},  {"1989", nullptr},    {"2049", "010149"},   {"1990", "010190"},
    };
    for (const C& c : cases) {
        SCOPED_TRACE(c.typed);
        std::string t = c.typed;
        bool ok = DIAS::HMERCOMPLETE(t);
        EXPECT_EQ(ok, c.result != nullptr);
        if (c.result) EXPECT_EQ(t, c.result);
    }
}

TEST_F(DeclMenu, MonthLength) {
    struct C {
        uint16_t y, m, d, out;
    };
    for (C c : {C{2013, 2, 30, 28}, C{2012, 2, 30, 29}, C{2012, 2, 29, 29}, C{2026, 4, 31, 30}, C{2026, 1, 31, 31},
                C{2026, 11, 31, 30}, C{2026, 2, 15, 15}}) {
        DIAS::ELM(c.y, c.m, c.d);
        EXPECT_EQ(c.d, c.out) << c.y << "-" << c.m;
    }
}

TEST_F(DeclMenu, DateRangeEntry) {
    std::string h1, h2;
    int KK = -1;
    // Empty from-date: today; "5" in the to-date comes before it: bell, then 31 accepted.
    con->ch(ENTER);
    con->keys("5");
    con->ch(ENTER);
    run([&] { DIAS::HMER(h1, h2, 10, 5, 30, 5, KK, true); },
        [&] {
            EXPECT_EQ(con->bells, 1);
            EXPECT_EQ(con->text(10, 5, 6), "101226");
            EXPECT_EQ(con->text(17, 5, 2), gr("Πε"));
            con->keys(std::string(1, char(25)));
            con->keys("31");
        },
        "\r");
    EXPECT_EQ(KK, 0);
    EXPECT_EQ(h1, "101226");
    EXPECT_EQ(h2, "311226");

    // An equal date is accepted; Up in the to-date goes back to the from-date, Up there returns 1.
    h1 = "011226";
    h2 = "";
    con->ch(ENTER);
    con->key(SC::UP);
    con->key(SC::UP);
    run([&] { DIAS::HMER(h1, h2, 10, 5, 30, 5, KK, false); }, {}, "");
    EXPECT_EQ(KK, 1);
    con->ch(ENTER);
    con->keys("011226");
    con->ch(ENTER);
    run([&] { DIAS::HMER(h1, h2, 10, 5, 30, 5, KK, false); }, {}, "");
    EXPECT_EQ(KK, 0);
    EXPECT_EQ(h2, "011226");
}

TEST_F(DeclMenu, MenuOfEachKindOpensTheEditor) {
    run([&] { DIAS::DIAZ("DFK"); },
        [&] {
            EXPECT_NE(con->text(5).find(gr("ΔΗΛΩΣΕΙΣ Ε.Φ.Κ.")), std::string::npos);
            EXPECT_NE(con->text(10).find(gr("Δ.Ε.Φ.Κ. ΑΝΑ ΠΕΛΑΤΗ")), std::string::npos);
        },
        "\x1b");
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
    run([&] { DIAS::DIAZ("IMP"); },
        [&] { EXPECT_NE(con->text(5).find(gr("ΕΙΣΑΓΩΓΗΣ")), std::string::npos); }, "\x1b");

    // Enter on the first entry: a new declaration of the kind (box 1 and its row-24 number).
    con->ch(ENTER);
    run([&] { DIAS::DIAZ("EXP"); },
        [&] {
            EXPECT_EQ(con->text(74, 24, 6), gr("αα   1"));
            EXPECT_EQ(BOD::FRONTLINES, 113);
        },
        "\x1b\x1b");
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

}  // namespace
