#include "icons/icon_alignment.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace icons {
namespace {

const ScreenGeometry kSmall{1024, 768, 75, 75};
const ScreenGeometry kFourK{3840, 2160, 75, 75};

constexpr IconAlignment kLayouts[] = {IconAlignment::Edge, IconAlignment::Left,
                                      IconAlignment::Bottom, IconAlignment::Right,
                                      IconAlignment::Top};

std::pair<int, int> CellOf(const AlignmentGrid& grid, Point p) {
    return {(p.x - grid.left) / grid.colWidth, (p.y - grid.top) / grid.rowHeight};
}

TEST(IconAlignment_Grid, FromScreenAndSpacing) {
    struct Case {
        IconAlignment layout;
        ScreenGeometry screen;
        std::int32_t offset;
        AlignmentGrid expected;
    };
    const Case cases[] = {
        {IconAlignment::Top, kSmall, 14, {13, 10, 78, 75, 14, 2}},
        {IconAlignment::Edge, kSmall, 14, {13, 10, 78, 76, 14, 0}},
        {IconAlignment::Left, kSmall, -5, {13, 10, 78, 75, 0, 2}}, // never left of the screen
        {IconAlignment::Right, kFourK, 0, {51, 28, 75, 75, 0, 2}},
        {IconAlignment::Edge, kFourK, 0, {51, 28, 75, 77, 0, 0}},
        {IconAlignment::Bottom, {640, 480, 100, 120}, 3, {6, 4, 106, 120, 3, 2}},
    };
    for (const Case& c : cases) {
        const AlignmentGrid grid = MakeAlignmentGrid(c.layout, c.screen, c.offset);
        EXPECT_EQ(grid.cols, c.expected.cols);
        EXPECT_EQ(grid.rows, c.expected.rows);
        EXPECT_EQ(grid.colWidth, c.expected.colWidth);
        EXPECT_EQ(grid.rowHeight, c.expected.rowHeight);
        EXPECT_EQ(grid.left, c.expected.left);
        EXPECT_EQ(grid.top, c.expected.top);
    }
    EXPECT_EQ(MakeAlignmentGrid(IconAlignment::Top, kSmall, 0).Capacity(), 130);
    EXPECT_EQ(MakeAlignmentGrid(IconAlignment::Top, kFourK, 0).Capacity(), 1428);
}

TEST(IconAlignment_Grid, SpacingLargerThanTheScreenHasNoCells) {
    const ScreenGeometry cases[] = {
        {1024, 768, 1100, 75}, {1024, 768, 75, 800}, {1024, 768, 0, 75},
        {0, 0, 75, 75},        {1024, 768, -75, 75},
    };
    for (const ScreenGeometry& screen : cases)
        for (IconAlignment layout : kLayouts) {
            const AlignmentGrid grid = MakeAlignmentGrid(layout, screen, 10);
            EXPECT_EQ(grid.Capacity(), 0);
            EXPECT_TRUE(AlignmentPlaces(layout, grid, 1).empty());
            EXPECT_EQ(CheckAlignment(false, 1, grid.Capacity()), AlignmentRefusal::NoRoom);
        }
}

TEST(IconAlignment_Places, TopFillsRowsLeftToRight) {
    const AlignmentGrid grid = MakeAlignmentGrid(IconAlignment::Top, kSmall, 14);
    const std::vector<Point> places = AlignmentPlaces(IconAlignment::Top, grid, 14);
    ASSERT_EQ(places.size(), 14u);
    EXPECT_EQ(places[0].x, 14);
    EXPECT_EQ(places[0].y, 2);
    EXPECT_EQ(places[12].x, 14 + 936);
    EXPECT_EQ(places[12].y, 2);
    EXPECT_EQ(places[13].x, 14);
    EXPECT_EQ(places[13].y, 77);
}

TEST(IconAlignment_Places, BottomFillsTheLowestRowsNeededUpperRowsFull) {
    const AlignmentGrid grid = MakeAlignmentGrid(IconAlignment::Bottom, kSmall, 0);
    const std::vector<Point> places = AlignmentPlaces(IconAlignment::Bottom, grid, 15);
    ASSERT_EQ(places.size(), 15u);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(CellOf(grid, places[i]), std::make_pair(i, 8)) << i;
    EXPECT_EQ(CellOf(grid, places[13]), std::make_pair(0, 9));
    EXPECT_EQ(CellOf(grid, places[14]), std::make_pair(1, 9));
    EXPECT_EQ(places[14].y, 2 + 9 * 75);

    const std::vector<Point> one = AlignmentPlaces(IconAlignment::Bottom, grid, 1);
    EXPECT_EQ(CellOf(grid, one[0]), std::make_pair(0, 9));
}

TEST(IconAlignment_Places, LeftAndRightFillColumnsTopToBottom) {
    const AlignmentGrid grid = MakeAlignmentGrid(IconAlignment::Left, kSmall, 0);
    const std::vector<Point> left = AlignmentPlaces(IconAlignment::Left, grid, 12);
    const std::vector<Point> right = AlignmentPlaces(IconAlignment::Right, grid, 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(CellOf(grid, left[i]), std::make_pair(i / 10, i % 10)) << i;
        EXPECT_EQ(CellOf(grid, right[i]), std::make_pair(12 - i / 10, i % 10)) << i;
    }
    EXPECT_EQ(right[0].x, 12 * 78);
}

TEST(IconAlignment_Places, EdgeRunsClockwiseFromTheTopLeftAndSpiralsInward) {
    const AlignmentGrid grid = MakeAlignmentGrid(IconAlignment::Edge, kSmall, 0);
    const std::vector<Point> places = AlignmentPlaces(IconAlignment::Edge, grid, 130);
    ASSERT_EQ(places.size(), 130u);
    EXPECT_EQ(CellOf(grid, places[0]), std::make_pair(0, 0));
    EXPECT_EQ(CellOf(grid, places[12]), std::make_pair(12, 0)); // top edge ends
    EXPECT_EQ(CellOf(grid, places[13]), std::make_pair(12, 1)); // right edge starts
    EXPECT_EQ(CellOf(grid, places[21]), std::make_pair(12, 9)); // bottom right
    EXPECT_EQ(CellOf(grid, places[22]), std::make_pair(11, 9)); // bottom edge, leftwards
    EXPECT_EQ(CellOf(grid, places[33]), std::make_pair(0, 9));  // bottom left
    EXPECT_EQ(CellOf(grid, places[41]), std::make_pair(0, 1));  // left edge ends
    EXPECT_EQ(CellOf(grid, places[42]), std::make_pair(1, 1));  // second ring
    EXPECT_EQ(places[21].y, 684);
    EXPECT_EQ(places[0].y, 0);
}

// Every layout puts 1, capacity - 1 and capacity icons into distinct cells of
// the grid, on any grid shape, including a single row or column.
TEST(IconAlignment_Places, EveryLayoutUsesDistinctCellsUpToCapacity) {
    const ScreenGeometry screens[] = {kSmall,
                                      kFourK,
                                      {1024, 100, 75, 75},
                                      {100, 768, 75, 75},
                                      {150, 150, 75, 75},
                                      {75, 75, 75, 75},
                                      {1024, 768, 40, 300}};
    for (const ScreenGeometry& screen : screens)
        for (IconAlignment layout : kLayouts) {
            const AlignmentGrid grid = MakeAlignmentGrid(layout, screen, 7);
            const int capacity = grid.Capacity();
            ASSERT_GT(capacity, 0);
            for (int count : {1, capacity - 1, capacity, capacity + 1}) {
                const std::vector<Point> places = AlignmentPlaces(layout, grid, count);
                EXPECT_EQ(static_cast<int>(places.size()), std::min(count, capacity));
                std::set<std::pair<int, int>> cells;
                for (const Point& p : places) {
                    EXPECT_GE(p.x, grid.left);
                    EXPECT_LT(p.x, screen.width);
                    EXPECT_GE(p.y, 0);
                    EXPECT_LT(p.y, screen.height);
                    cells.insert(CellOf(grid, p));
                }
                EXPECT_EQ(cells.size(), places.size())
                    << "layout " << int(layout) << " on " << screen.width << "x" << screen.height
                    << " with " << count;
            }
        }
}

TEST(IconAlignment_Check, RefusalsInTheirOrder) {
    struct Case {
        bool autoArrange;
        int count;
        int capacity;
        AlignmentRefusal expected;
    };
    const Case cases[] = {
        {true, 12, 130, AlignmentRefusal::AutoArrange},
        {true, 300, 130, AlignmentRefusal::AutoArrange},
        {false, 256, 1428, AlignmentRefusal::TooManyIcons},
        {false, 255, 1428, AlignmentRefusal::None},
        {false, 131, 130, AlignmentRefusal::NoRoom},
        {false, 130, 130, AlignmentRefusal::None},
        {false, 131, -1, AlignmentRefusal::None}, // capacity not known yet
        {false, 0, 0, AlignmentRefusal::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckAlignment(c.autoArrange, c.count, c.capacity), c.expected)
            << c.count << " of " << c.capacity;
}

} // namespace
} // namespace icons
