// The pop-up calculator on the headless console.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/params.h"
#include "helpers/fixture.h"
#include "screen/scr.h"

using PLAT::keyChar;
using PLAT::keyExt;
namespace SC = PLAT::SC;

namespace {

// What row 9 shows: the pending operation (column 29), the memory mark (31), the sign and the
// number (35-45).
struct Display {
    std::string op, mem, number;
};

class Calculator : public ::testing::Test {
protected:
    void SetUp() override {
        con = &TESTS::headless();
        TESTS::loadMasks();
    }

    Display display() const { return {con->text(29, 9, 1), con->text(31, 9, 1), con->text(35, 9, 11)}; }

    static std::vector<PLAT::Event> typed(const std::string& keys) {
        std::vector<PLAT::Event> v;
        for (unsigned char c : keys) v.push_back(keyChar(c));
        return v;
    }

    // Runs the calculator over the steps: after each step's keys have been taken, the display is
    // recorded; after the last step Esc is pressed. Returns the calculator's result.
    std::string run(const std::vector<std::vector<PLAT::Event>>& steps, std::vector<Display>& seen) {
        size_t next = 0;
        for (const auto& e : steps[next]) con->push(e);
        ++next;
        bool escaped = false;
        con->onIdle = [&] {
            if (escaped) return;
            seen.push_back(display());
            if (next < steps.size()) {
                for (const auto& e : steps[next]) con->push(e);
                ++next;
            } else {
                con->ch(27);
                escaped = true;
            }
        };
        std::string r = "untouched";
        PARAMS::CALC(r);
        con->onIdle = nullptr;
        return r;
    }

    static std::string num(const std::string& shown, bool negative = false) {
        return std::string(1, negative ? '-' : ' ') + std::string(10 - shown.size(), ' ') + shown;
    }

    PLAT::HeadlessConsole* con = nullptr;
};

TEST_F(Calculator, MaskCarriesTheDisplayRow) {
    const UMAS::CONV* m = UMAS::mask(71);
    ASSERT_NE(m, nullptr);
    EXPECT_LE(m->X1(), 28);
    EXPECT_GE(m->X2(), 46);
    EXPECT_LE(m->Y1(), 9);
    EXPECT_GE(m->Y2(), 9);
    EXPECT_LE(m->Y2(), 25);
    // The display field is blank in the mask itself.
    UMAS::CONV copy = *m;
    for (int x = 29; x <= 45; ++x) EXPECT_EQ(copy.ch(x - m->X1(), 9 - m->Y1()), ' ') << "column " << x;
}

TEST_F(Calculator, DivisionByZeroShowsOverflowAndTheNextDigitsStartANewNumber) {
    std::vector<Display> seen;
    run({typed("7/0="), typed("5"), typed("+1=")}, seen);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].number, num("Overflow"));
    EXPECT_EQ(seen[0].op, " ");
    EXPECT_EQ(seen[1].number, num("5"));
    EXPECT_EQ(seen[2].number, num("6"));
}

TEST_F(Calculator, MemoryIsTheResult) {
    std::vector<Display> seen;
    EXPECT_EQ(run({typed("12"), {keyExt(SC::DOWN)}}, seen), "12");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].mem, "M");

    seen.clear();
    EXPECT_EQ(run({typed("345")}, seen), "");  // the memory was not used

    seen.clear();
    EXPECT_EQ(run({typed("5"), {keyExt(SC::PGUP), keyExt(SC::DOWN)}}, seen), "-5");

    // Two additions, recall, then clearing the memory.
    seen.clear();
    EXPECT_EQ(run({typed("5"), {keyExt(SC::DOWN)}, typed("3"), {keyExt(SC::DOWN), keyExt(SC::RIGHT)},
                   {keyExt(SC::UP)}},
                  seen),
              "");
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[3].number, num("8"));
    EXPECT_EQ(seen[3].mem, "M");
    EXPECT_EQ(seen[4].mem, " ");

    // Memory add leaves the accumulator alone: 10 + (4 into memory) 4 = 14.
    seen.clear();
    EXPECT_EQ(run({typed("10+4"), {keyExt(SC::DOWN)}, typed("4=")}, seen), "4");
    EXPECT_EQ(seen.back().number, num("14"));
}

TEST_F(Calculator, OperationChains) {
    const auto PGUP = keyExt(SC::PGUP), END = keyExt(SC::END), PGDN = keyExt(SC::PGDN);
    struct Case {
        const char* what;
        std::vector<std::vector<PLAT::Event>> steps;
        std::vector<Display> want;  // op, M, number after each step
    } cases[] = {
        {"addition", {typed("12+3=")}, {{" ", " ", num("15")}}},
        {"a second operation applies the first", {typed("2*3+"), typed("4=")},
         {{"+", " ", num("6")}, {" ", " ", num("10")}}},
        {"negative result", {typed("10-25=")}, {{" ", " ", num("15", true)}}},
        {"division cut to ten characters", {typed("1/3=")}, {{" ", " ", num("0.33333333")}}},
        {"Enter is =", {typed("9-1\r")}, {{" ", " ", num("8")}}},
        {"percentage of a product, then added", {typed("200*10%"), typed("+")},
         {{"%", " ", num("20")}, {"+", " ", num("220")}}},
        {"at most ten characters", {typed("123456789012")}, {{" ", " ", num("1234567890")}}},
        {"leading zero and a second point", {typed("00.5.5")}, {{" ", " ", num("0.55")}}},
        {"sign change while typing", {typed("5"), {PGUP}, typed("6"), typed("+4=")},
         {{" ", " ", num("5")}, {" ", " ", num("5", true)}, {" ", " ", num("56", true)}, {" ", " ", num("52", true)}}},
        {"sign of zero does not change", {{PGUP}}, {{" ", " ", num("0")}}},
        {"End clears the entry", {typed("12+34"), {END}, typed("5=")},
         {{"+", " ", num("34")}, {"+", " ", num("0")}, {" ", " ", num("17")}}},
        {"PgDn clears everything", {typed("12+34"), {PGDN}, typed("5=")},
         {{"+", " ", num("34")}, {" ", " ", num("0")}, {" ", " ", num("5")}}},
        {"product overflow", {typed("9999999999*10=")}, {{" ", " ", num("Overflow")}}},
        {"trailing zeros removed", {typed("2.5*4=")}, {{" ", " ", num("10")}}},
    };
    for (const auto& c : cases) {
        SetUp();
        std::vector<Display> seen;
        run(c.steps, seen);
        ASSERT_EQ(seen.size(), c.want.size()) << c.what;
        for (size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].op, c.want[i].op) << c.what << ", step " << i;
            EXPECT_EQ(seen[i].mem, c.want[i].mem) << c.what << ", step " << i;
            EXPECT_EQ(seen[i].number, c.want[i].number) << c.what << ", step " << i;
        }
    }
}

TEST_F(Calculator, EscRestoresTheScreenAndTheCursor) {
    con->cells[8][40] = PLAT::Cell{'x', 0x07};
    const auto before = con->dump();
    std::vector<Display> seen;
    bool maskShown = false, cursorHidden = false;
    con->keys("42");
    con->onIdle = [&] {
        if (!seen.empty()) return;
        seen.push_back(display());
        maskShown = con->text(25, 6, 1) != " " && con->text(41, 9, 1) != "x";
        cursorHidden = !con->cursorVisible();
        con->ch(27);
    };
    std::string r;
    PARAMS::CALC(r);
    EXPECT_TRUE(maskShown);
    EXPECT_TRUE(cursorHidden);
    EXPECT_EQ(con->dump(), before);
    EXPECT_TRUE(con->cursorVisible());
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
    EXPECT_EQ(r, "");
}

}  // namespace
