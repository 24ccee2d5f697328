// The six print layouts of the pre-printed declaration form: their sizes, line feeds and boxes.
#include <gtest/gtest.h>

#include <set>
#include <span>

#include "documents/gm0.h"

namespace {

struct Shape {
    const char* name;
    std::span<const GM0::EKTYPV> rows;
    size_t count;
    int feeds, firstBox, lastBox;
};

TEST(PrintLayouts, SizesFeedsAndBoxes) {
    const Shape shapes[] = {
        {"GM0.PV", GM0::PV, 194, 62, 2, 207},           {"GMDEFK.PVDEFK", GMDEFK::PVDEFK, 141, 60, 3, 207},
        {"GM0.PVB", GM0::PVB, 82, 55, 208, 289},         {"GMDEFK.PVBDEFK", GMDEFK::PVBDEFK, 60, 52, 222, 289},
        {"GM0.PBB", GM0::PBB, 47, 20, 1, 50},             {"GMDEFK.PBBDEFK", GMDEFK::PBBDEFK, 44, 22, 1, 50},
    };
    for (const Shape& s : shapes) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(s.rows.size(), s.count);
        int feeds = 0, lo = 999, hi = 0;
        std::set<int> boxes;
        for (const GM0::EKTYPV& r : s.rows) {
            feeds += r.lf;
            EXPECT_TRUE(boxes.insert(r.box).second) << "box " << r.box << " twice";
            lo = std::min(lo, int(r.box));
            hi = std::max(hi, int(r.box));
            EXPECT_GE(r.col, 1);
            EXPECT_LE(r.col, 80);
            EXPECT_LE(r.pitch, 3);
        }
        EXPECT_EQ(feeds, s.feeds);
        EXPECT_EQ(lo, s.firstBox);
        EXPECT_EQ(hi, s.lastBox);
    }
}

TEST(PrintLayouts, FirstAndLastRows) {
    auto eq = [](const GM0::EKTYPV& r, int c, int b, int p, int f) {
        return r.col == c && r.box == b && r.pitch == p && r.lf == f;
    };
    EXPECT_TRUE(eq(GM0::PV.front(), 65, 7, 0, 1));
    EXPECT_TRUE(eq(GM0::PV.back(), 46, 207, 0, 1));
    EXPECT_TRUE(eq(GM0::PV[95], 59, 100, 0, 2));  // box 100 ends its line with two feeds
    EXPECT_TRUE(eq(GMDEFK::PVDEFK.front(), 65, 7, 0, 1));
    EXPECT_TRUE(eq(GMDEFK::PVDEFK.back(), 47, 207, 0, 1));
    EXPECT_TRUE(eq(GM0::PVB.back(), 59, 280, 0, 1));
    EXPECT_TRUE(eq(GMDEFK::PVBDEFK[23], 48, 245, 2, 15));
    EXPECT_TRUE(eq(GM0::PBB.front(), 69, 9, 1, 1));
    EXPECT_TRUE(eq(GMDEFK::PBBDEFK.back(), 3, 45, 0, 2));
}

}  // namespace
