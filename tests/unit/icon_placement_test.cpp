#include "icons/icon_placement.h"

#include <gtest/gtest.h>

#include <random>

namespace icons {
namespace {

const ScreenGeometry kScreen{1024, 768, 75, 75};

Rect At(std::int32_t x, std::int32_t y, std::int32_t w = 75, std::int32_t h = 75) {
    return {x, y, x + w, y + h};
}

// Icons given as rectangles; the position is the rectangle's corner.
PlacementTable Table(std::initializer_list<Rect> rects) {
    PlacementTable table;
    for (const Rect& r : rects) {
        table.rect[table.count] = r;
        table.newPosition[table.count] = {r.left, r.top};
        ++table.count;
    }
    return table;
}

TEST(IconPlacement_Intersect, NeedsASharedPixel) {
    struct Case {
        Rect a, b;
        bool expected;
    };
    const Case cases[] = {
        {At(0, 0), At(74, 74), true},
        {At(0, 0), At(75, 0), false},
        {At(0, 0), At(0, 75), false},
        {At(0, 0), At(-74, -74), true},
        {At(10, 10), At(0, 0, 200, 200), true},
        {At(0, 0, 0, 75), At(0, 0), false}, // empty rectangles meet nothing
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Intersect(c.a, c.b), c.expected);
        EXPECT_EQ(Intersect(c.b, c.a), c.expected);
    }
}

TEST(IconPlacement_Screen, OffScreenAndClamping) {
    struct Case {
        Point p;
        bool off;
        Point clamped;
    };
    const Case cases[] = {
        {{0, 0}, false, {0, 0}},       {{1023, 767}, false, {949, 693}},
        {{1024, 10}, true, {949, 10}}, {{1124, 10}, true, {949, 10}}, // x = W + 100 goes to W - cx
        {{-10, 800}, true, {0, 693}},  {{5, -1}, true, {5, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsOffScreen(c.p, kScreen), c.off) << c.p.x << "," << c.p.y;
        const Point clamped = ClampOnScreen(c.p, kScreen);
        EXPECT_EQ(clamped.x, c.clamped.x);
        EXPECT_EQ(clamped.y, c.clamped.y);
    }
    // A screen narrower than one cell clamps to 0 rather than below.
    EXPECT_EQ(ClampOnScreen({50, 50}, ScreenGeometry{40, 40, 75, 75}).x, 0);
}

TEST(IconPlacement_FreeStanding, KeepsIconsThatOverlapNothingPlaced) {
    PlacementTable table = Table({At(0, 0), At(300, 300), At(40, 40), At(330, 330), At(600, 0)});
    table.placed[0] = true;
    AcceptFreeStanding(table);
    EXPECT_TRUE(table.placed[1]);  // free
    EXPECT_FALSE(table.placed[2]); // on top of the placed icon 0
    EXPECT_FALSE(table.placed[3]); // on top of icon 1, accepted just before
    EXPECT_TRUE(table.placed[4]);
}

TEST(IconPlacement_Grid, IconOnARestoredOneGoesToTheFirstFreeCell) {
    // Cells (0,0) and (75,0) are taken, the icon on top of (0,0) must move.
    PlacementTable table = Table({At(0, 0), At(75, 0), At(10, 10)});
    table.placed[0] = table.placed[1] = true;
    ASSERT_TRUE(SearchPlaces(table, kScreen, {0, 0}, SearchStep::Grid));
    EXPECT_EQ(table.newPosition[2].x, 150);
    EXPECT_EQ(table.newPosition[2].y, 0);
    EXPECT_EQ(table.rect[2].right, 225);
    EXPECT_EQ(table.rect[2].bottom, 75);
}

TEST(IconPlacement_Grid, StartsAtTheGridOriginAndFillsRowsFromTheTop) {
    // A full first row from the origin (2, 3) sends the icon to the next row.
    PlacementTable table;
    const ScreenGeometry screen{302, 400, 75, 75}; // columns at 2, 77, 152, 227
    for (int column = 0; column < 4; ++column) {
        table.rect[table.count] = At(2 + 75 * column, 3);
        table.placed[table.count++] = true;
    }
    table.rect[table.count++] = At(2, 3);
    ASSERT_TRUE(SearchPlaces(table, screen, {2, 3}, SearchStep::Grid));
    EXPECT_EQ(table.newPosition[4].x, 2);
    EXPECT_EQ(table.newPosition[4].y, 78);
}

TEST(IconPlacement_Grid, StopsAtTheFirstIconWithoutAPlace) {
    // One cell only: icon 1 takes it, icon 2 finds none and icon 3 is never tried.
    const ScreenGeometry screen{75, 75, 75, 75};
    PlacementTable table = Table({At(500, 500), At(0, 0), At(0, 0), At(0, 0)});
    table.placed[0] = true;
    EXPECT_FALSE(SearchPlaces(table, screen, {0, 0}, SearchStep::Grid));
    EXPECT_TRUE(table.placed[1]);
    EXPECT_FALSE(table.placed[2]);
    EXPECT_FALSE(table.placed[3]);
    EXPECT_EQ(table.newPosition[3].x, 0);
}

TEST(IconPlacement_Pixel, PacksRowsJumpingPastEachCollision) {
    // Rows from the origin; after a collision the next try starts two pixels
    // right of the candidate, so a row of 240 pixels holds three 75-wide icons
    // at 0, 77 and 154 before the fourth drops to the first free pixel row.
    // The 60-wide icon after it tries 0 and 62 and lands at 124.
    const ScreenGeometry screen{240, 300, 75, 75};
    PlacementTable table = Table({At(0, 0), At(0, 0), At(0, 0), At(0, 0), At(0, 0, 60, 50)});
    ASSERT_TRUE(SearchPlaces(table, screen, {0, 0}, SearchStep::Pixel));
    const Point expected[] = {{0, 0}, {77, 0}, {154, 0}, {0, 75}, {124, 75}};
    for (int i = 0; i < table.count; ++i) {
        EXPECT_EQ(table.newPosition[i].x, expected[i].x) << i;
        EXPECT_EQ(table.newPosition[i].y, expected[i].y) << i;
    }
    EXPECT_EQ(table.rect[4].right - table.rect[4].left, 60); // keeps its own size
    EXPECT_EQ(table.rect[4].bottom - table.rect[4].top, 50);
}

TEST(IconPlacement_Pixel, GapsAreFoundOnlyWhereTheJumpsLand) {
    // Placed icons cover x 0..100 and 150..330 of the top 40 rows. A 28-wide
    // icon tries 0, 30, 60, 90 and fits at 120; a 29-wide one tries 124,
    // collides, and goes below the placed icons.
    const ScreenGeometry screen{400, 300, 75, 75};
    struct Case {
        std::int32_t width;
        Point expected;
    };
    for (const Case& c : {Case{28, {120, 0}}, Case{29, {0, 40}}}) {
        PlacementTable table =
            Table({At(0, 0, 100, 40), At(150, 1, 180, 39), At(0, 0, c.width, 20)});
        table.placed[0] = table.placed[1] = true;
        ASSERT_TRUE(SearchPlaces(table, screen, {0, 0}, SearchStep::Pixel));
        EXPECT_EQ(table.newPosition[2].x, c.expected.x) << c.width;
        EXPECT_EQ(table.newPosition[2].y, c.expected.y) << c.width;
    }
}

// Random desktops: some placed icons of assorted sizes, some to be placed;
// the row-skipping search must give exactly the full scan's placements.
PlacementTable RandomTable(std::mt19937& random, const ScreenGeometry& screen) {
    std::uniform_int_distribution<int> count(1, 60);
    std::uniform_int_distribution<int> x(-40, screen.width), y(-40, screen.height);
    std::uniform_int_distribution<int> size(0, 120), percent(0, 99);
    PlacementTable table;
    table.count = count(random);
    for (int i = 0; i < table.count; ++i) {
        const int left = x(random), top = y(random);
        table.rect[i] = {left, top, left + size(random), top + size(random)};
        table.newPosition[i] = {left, top};
        table.placed[i] = percent(random) < 40;
    }
    return table;
}

void ExpectSamePlacements(const PlacementTable& a, const PlacementTable& b, int trial) {
    for (int i = 0; i < a.count; ++i) {
        ASSERT_EQ(a.placed[i], b.placed[i]) << "trial " << trial << " icon " << i;
        ASSERT_EQ(a.newPosition[i].x, b.newPosition[i].x) << "trial " << trial << " icon " << i;
        ASSERT_EQ(a.newPosition[i].y, b.newPosition[i].y) << "trial " << trial << " icon " << i;
        ASSERT_EQ(a.rect[i].left, b.rect[i].left) << "trial " << trial;
        ASSERT_EQ(a.rect[i].top, b.rect[i].top) << "trial " << trial;
        ASSERT_EQ(a.rect[i].right, b.rect[i].right) << "trial " << trial;
        ASSERT_EQ(a.rect[i].bottom, b.rect[i].bottom) << "trial " << trial;
    }
}

TEST(IconPlacement_Search, RowSkippingMatchesTheFullScan) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> side(60, 700), spacing(20, 90), origin(-5, 40);
    for (int trial = 0; trial < 600; ++trial) {
        const ScreenGeometry screen{side(random), side(random), spacing(random), spacing(random)};
        const Point gridOrigin{origin(random), origin(random)};
        const PlacementTable start = RandomTable(random, screen);
        for (SearchStep step : {SearchStep::Grid, SearchStep::Pixel}) {
            PlacementTable fast = start, full = start;
            const bool fastDone = SearchPlaces(fast, screen, gridOrigin, step);
            const bool fullDone = SearchPlacesByFullScan(full, screen, gridOrigin, step);
            ASSERT_EQ(fastDone, fullDone) << "trial " << trial;
            ExpectSamePlacements(fast, full, trial);
        }
    }
}

} // namespace
} // namespace icons
