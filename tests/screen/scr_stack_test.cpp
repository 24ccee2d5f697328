// The screen stack and the screen primitives: CALLM, RECALL, PRINT, CURSOR.
#include <gtest/gtest.h>

#include <cstring>

#include "common/umas.h"
#include "helpers/fixture.h"
#include "platform/console.h"
#include "screen/scr.h"

namespace {

// A mask whose every cell is character ch with attribute at.
UMAS::CONV solid(int x1, int y1, int x2, int y2, uint8_t ch, uint8_t at) {
    UMAS::CONV m = UMAS::CONV::make(x1, y1, x2, y2);
    for (int y = 0; y < m.H(); ++y)
        for (int x = 0; x < m.W(); ++x) m.ch(x, y) = ch, m.at(x, y) = at;
    return m;
}

class ScrStack : public ::testing::Test {
protected:
    void SetUp() override {
        con = &TESTS::headless();
        // A screen where every cell differs from its neighbours.
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 80; ++x) con->cells[y][x] = PLAT::Cell{uint8_t(33 + (x + 3 * y) % 90), uint8_t(x + y)};
        snapshot(before);
        con->refreshes = 0;
    }
    void TearDown() override { SCR::STACK.clear(); }
    void snapshot(PLAT::CellBuffer& b) { std::memcpy(&b, &con->cells, sizeof b); }
    bool same(const PLAT::CellBuffer& b) { return std::memcmp(&b, &con->cells, sizeof b) == 0; }

    PLAT::HeadlessConsole* con = nullptr;
    PLAT::CellBuffer before;
};

}  // namespace

TEST_F(ScrStack, OverlappingMasksAreUndoneInReverseOrder) {
    UMAS::CONV a = solid(10, 5, 40, 15, 'A', 0x1F), b = solid(30, 1, 80, 10, 'B', 0x4F);
    SCR::CALLM(&a, true);
    EXPECT_EQ(con->refreshes, 1);
    EXPECT_EQ(con->text(10, 5, 3), "AAA");
    PLAT::CellBuffer afterA;
    snapshot(afterA);
    SCR::CALLM(&b, true);
    EXPECT_EQ(SCR::STACKPOINTER(), 2);
    EXPECT_EQ(con->text(30, 5, 3), "BBB");
    EXPECT_EQ(con->attr(80, 10), 0x4F);

    SCR::RECALL();
    EXPECT_TRUE(same(afterA));
    SCR::RECALL();
    EXPECT_TRUE(same(before));
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
    EXPECT_EQ(con->refreshes, 4);  // one per call
}

TEST_F(ScrStack, ShowingWithoutSavingAndRecallOnEmptyStack) {
    UMAS::CONV a = solid(1, 1, 80, 25, ' ', 0x07);
    SCR::RECALL();  // nothing to restore
    EXPECT_TRUE(same(before));
    SCR::CALLM(&a, false);
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
    EXPECT_EQ(con->text(1), std::string(80, ' '));
    SCR::RECALL();
    EXPECT_EQ(con->text(1), std::string(80, ' '));
}

// A mask that does not fit the screen (a data mask, or a missing one) is not shown or saved.
TEST_F(ScrStack, MasksOutsideTheScreenAreRefused) {
    UMAS::CONV tall = solid(1, 1, 80, 26, 'T', 0x70), wide = solid(2, 1, 81, 1, 'W', 0x70);
    UMAS::CONV cut = solid(1, 1, 10, 1, 'C', 0x70);
    cut.raw.resize(cut.raw.size() - 2);  // its last cell is missing
    for (const UMAS::CONV* m : {&tall, &wide, &cut}) SCR::CALLM(m, true);
    SCR::CALLM(nullptr, true);
    UMAS::MPR.assign(3, UMAS::CONV{});
    SCR::CALLM(7, true);  // no mask 7
    SCR::CALLM(2, true);  // an empty slot
    EXPECT_TRUE(same(before));
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

// Beyond 200 entries a mask is shown but not saved; its RECALL then restores nothing, so every
// RECALL still undoes its own CALLM and the screen comes back whole.
TEST_F(ScrStack, TwoHundredAndFirstSaveIsRefused) {
    std::vector<UMAS::CONV> ms;
    for (int i = 0; i < 201; ++i) ms.push_back(solid(5, 5, 20, 8, uint8_t('0' + i % 40), uint8_t(i)));
    for (auto& m : ms) SCR::CALLM(&m, true);
    EXPECT_EQ(SCR::STACKPOINTER(), SCR::STACK_MAX);
    EXPECT_EQ(con->attr(5, 5), 200);  // the 201st is on the screen
    SCR::RECALL();  // undoes the unsaved one: nothing to restore
    EXPECT_EQ(con->attr(5, 5), 200);
    EXPECT_EQ(SCR::STACKPOINTER(), SCR::STACK_MAX);
    SCR::RECALL();  // the 200th entry: what was under mask 200 (index 199)
    EXPECT_EQ(con->attr(5, 5), 198);
    for (int i = 0; i < 199; ++i) SCR::RECALL();
    EXPECT_TRUE(same(before));
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

TEST_F(ScrStack, PrintKeepsAttributesAndStopsAtColumn80) {
    UMAS::CONV bar = solid(51, 3, 80, 3, ' ', 0x4F);
    SCR::CALLM(&bar, false);
    con->refreshes = 0;
    SCR::PRINT(52, 3, "1. IMPORT");
    EXPECT_EQ(con->refreshes, 1);
    for (int x = 51; x <= 80; ++x) EXPECT_EQ(con->attr(x, 3), 0x4F);
    SCR::PRINT(77, 3, "ABCDEFG");
    EXPECT_EQ(con->text(77, 3, 4), "ABCD");
    PLAT::CellBuffer now;
    snapshot(now);
    SCR::PRINT(1, 26, "X");  // no row 26
    SCR::PRINT(1, 0, "X");
    SCR::PRINT(-1, 1, "XYZ");  // the part left of column 1 is dropped
    EXPECT_EQ(con->text(1, 1, 1), "Z");
    EXPECT_EQ(con->attr(1, 1), before[0][0].at);
    EXPECT_TRUE(std::memcmp(&now[1], &con->cells[1], sizeof(PLAT::Cell) * 80 * 24) == 0);
}

TEST_F(ScrStack, CursorShowsHidesAndRefreshes) {
    SCR::CURSOR(false);
    EXPECT_FALSE(con->cursorVisible());
    SCR::CURSOR(true);
    EXPECT_TRUE(con->cursorVisible());
    EXPECT_EQ(con->refreshes, 2);
}

TEST(ScrSoc, CharacterSets) {
    SCR::SOC d = SCR::socDigits();
    EXPECT_EQ(d.count(), 10u);
    EXPECT_TRUE(d.test('0') && d.test('9') && !d.test('a'));
    SCR::SOC a = SCR::socAll();
    EXPECT_EQ(a.count(), 224u);
    EXPECT_TRUE(a.test(32) && a.test(255) && !a.test(31));
    SCR::SOC s = SCR::soc("A\x97");
    EXPECT_EQ(s.count(), 2u);
    EXPECT_TRUE(s.test('A') && s.test(0x97));
    EXPECT_EQ(SCR::socRange(0x80, 0x97).count(), 24u);
}
