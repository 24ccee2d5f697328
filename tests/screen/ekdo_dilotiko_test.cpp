// The box-40 reference grid: the side file ".L" + item, the proposal of row 1, the box-40 text, the
// rows and pages, the MRN check and the copies of row 1.
#include "declarations/ekdo.h"
#include "screen/ekextra_fixture.h"

namespace {

using namespace SIDETEST;
using EKEXTRA::TDILOS;

class Grid : public Side {
protected:
    std::string open(const Keys& keys, const std::function<void()>& snap = {}, int areidos = 1) {
        std::string text = "unchanged";
        run(keys, [&] { EKDO::DILOTIKO(areidos, text); }, snap);
        return text;
    }
    TDILOS grid(const std::string& name = "555.L1") const { return TDILOS::decode(file(name)); }
};

}  // namespace

TEST_F(Grid, FirstOpeningWritesTheFileWithRowOneProposed) {
    put(8, "160326");
    put(7, "1001");
    EXPECT_EQ(open(esc()), "--///");
    ASSERT_EQ(file("555.L1").size(), 7560u);
    const TDILOS g = grid();
    EXPECT_EQ(g.at(1, 3), "2026");
    EXPECT_EQ(g.at(1, 4), "1001");
    // Reopened: the file wins over the boxes, and the text is built from what row 1 holds.
    put(7, "2002");
    EXPECT_EQ(open(typed("X") + enter() + typed("IM") + enter(3) + typed("ABC") + enter() + typed("12") + enter() + esc()),
              "X-IM-ABC/12//");
    EXPECT_EQ(grid().at(1, 4), "1001");
}

TEST_F(Grid, RowsAreNumberedOneToFortyFiveOverThreePages) {
    std::vector<std::string> seen;
    open(ext(SC::PGDN, 3), [&] {
        seen = {screen(9, 8, 2), screen(9, 22, 2), screen(68, 23, 2)};
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"31", "45", " 3"}));
    open({}, [&] { seen = {screen(9, 8, 2), screen(9, 22, 2), screen(68, 23, 2)}; });
    EXPECT_EQ(seen, (std::vector<std::string>{" 1", "15", " 1"}));
    // Down from row 15 goes to row 16 on page 2; what is typed there lands in row 16.
    open(ext(SC::DOWN, 15) + typed("Z") + enter() + esc());
    EXPECT_EQ(grid().at(16, 1), "Z");
}

TEST_F(Grid, MrnCheck) {
    struct Case {
        const char* kind;
        const char* type;
        const char* typed;
        const char* stored;
        bool warned;
    } cases[] = {
        {"Y", "IM", "26GRIM00000000001", "26GRIM000000000019", false},   // check character appended
        {"Z", "EX", "26GRIM00000000006", "26GRIM000000000060", false},   // remainder 10 gives "0"
        {"Y", "IM", "26GRIM000000000019", "26GRIM000000000019", false},  // a valid 18
        {"Y", "IM", "26GRIM000000000018", "26GRIM000000000018", true},   // a wrong 18th
        {"Y", "EX", "26grim00000000001", "26grim00000000001", true},     // a small letter
        {"Y", "IM", "26GRIM0000000001", "26GRIM0000000001", true},       // 16 characters
        {"X", "IM", "26GRIM00000000001", "26GRIM00000000001", false},    // category X: no check
        {"Y", "T2", "26GRIM00000000001", "26GRIM00000000001", false},    // not a declaration
    };
    for (const Case& c : cases) {
        removeFileIfAny("555.L1");
        bool warned = false;
        open(typed(c.kind) + enter() + typed(c.type) + enter(3) + typed(c.typed) + enter(), [&] {
            warned = screen(4, 23, 31) == gr(" Υποψία λάθους στο MRN ... Esc ");
        });
        EXPECT_EQ(grid().at(1, 5), c.stored) << c.typed;
        EXPECT_EQ(warned, c.warned) << c.typed;
    }
}

TEST_F(Grid, CopiesOfRowOne) {
    struct Case {
        const char* count;
        int filled;  // rows that hold row 1 afterwards
    } cases[] = {{"0", 1}, {"", 1}, {"2", 2}, {"60", 45}};
    for (const Case& c : cases) {
        removeFileIfAny("555.L1");
        Keys count = std::string(c.count).empty() ? enter() : typed(c.count) + enter();
        open(typed("Y") + enter() + typed("IM") + enter() + ext(SC::F8) + count + esc());
        const TDILOS g = grid();
        int filled = 0;
        for (int r = 1; r <= 45; ++r) filled += g.at(r, 2) == "IM";
        EXPECT_EQ(filled, c.filled) << c.count;
    }
    // Row 1 without its category: F8 asks nothing and copies nothing.
    removeFileIfAny("555.L1");
    open(enter() + typed("IM") + enter() + ext(SC::F8) + typed("5") + enter() + esc());
    EXPECT_EQ(grid().at(2, 2), "");
    // F5 empties the row under the cursor.
    open(ext(SC::F5) + esc());
    EXPECT_EQ(grid().at(1, 2), "");
}

TEST_F(Grid, ASheetItemHasItsOwnFile) {
    BOD::BOS(BOD::BIS, BOD::GB, 3, "02");
    EXPECT_EQ(open(typed("X") + enter() + esc(), {}, 2), "X--///");
    EXPECT_TRUE(exists("555.L2"));
    EXPECT_FALSE(exists("555.L1"));
    EXPECT_EQ(grid("555.L2").at(1, 1), "X");
}
