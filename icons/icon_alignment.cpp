#include "icons/icon_alignment.h"

namespace icons {
namespace {

// Walks the grid ring by ring, clockwise from the top-left corner. A side is
// walked only while its row or column has not been taken by an earlier side,
// so that a ring one row or one column thick puts no two icons in one cell.
void AppendEdgeCells(const AlignmentGrid& grid, int count, std::vector<Point>& places) {
    std::int32_t c0 = 0, r0 = 0, c1 = grid.cols - 1, r1 = grid.rows - 1;
    auto add = [&](std::int32_t c, std::int32_t r) {
        if (static_cast<int>(places.size()) < count)
            places.push_back(grid.Cell(c, r));
    };
    while (c0 <= c1 && r0 <= r1 && static_cast<int>(places.size()) < count) {
        for (std::int32_t c = c0; c <= c1; ++c)
            add(c, r0);
        ++r0;
        for (std::int32_t r = r0; r <= r1; ++r)
            add(c1, r);
        --c1;
        if (r0 <= r1) {
            for (std::int32_t c = c1; c >= c0; --c)
                add(c, r1);
            --r1;
        }
        if (c0 <= c1) {
            for (std::int32_t r = r1; r >= r0; --r)
                add(c0, r);
            ++c0;
        }
    }
}

// Rows firstRow and below, each filled left to right.
void AppendRows(const AlignmentGrid& grid, std::int32_t firstRow, int count,
                std::vector<Point>& places) {
    for (std::int32_t r = firstRow; r < grid.rows; ++r)
        for (std::int32_t c = 0; c < grid.cols && static_cast<int>(places.size()) < count; ++c)
            places.push_back(grid.Cell(c, r));
}

// Columns in the order given by `step` from `firstCol`, each filled top to bottom.
void AppendColumns(const AlignmentGrid& grid, std::int32_t firstCol, std::int32_t step, int count,
                   std::vector<Point>& places) {
    for (std::int32_t c = firstCol; c >= 0 && c < grid.cols; c += step)
        for (std::int32_t r = 0; r < grid.rows && static_cast<int>(places.size()) < count; ++r)
            places.push_back(grid.Cell(c, r));
}

} // namespace

AlignmentGrid MakeAlignmentGrid(IconAlignment layout, const ScreenGeometry& screen,
                                std::int32_t leftOffset) {
    AlignmentGrid grid;
    if (screen.spacingX <= 0 || screen.spacingY <= 0 || screen.width <= 0 || screen.height <= 0)
        return grid;
    grid.cols = screen.width / screen.spacingX;
    grid.rows = screen.height / screen.spacingY;
    if (grid.cols == 0 || grid.rows == 0)
        return AlignmentGrid{};
    grid.colWidth = screen.width / grid.cols;
    const bool edge = layout == IconAlignment::Edge;
    // Around the edge the rows span the whole height.
    grid.rowHeight = edge ? screen.height / grid.rows : screen.spacingY;
    grid.left = leftOffset > 0 ? leftOffset : 0;
    grid.top = edge ? 0 : 2;
    return grid;
}

std::vector<Point> AlignmentPlaces(IconAlignment layout, const AlignmentGrid& grid, int count) {
    std::vector<Point> places;
    if (count > grid.Capacity())
        count = grid.Capacity();
    if (count <= 0)
        return places;
    places.reserve(static_cast<std::size_t>(count));
    switch (layout) {
    case IconAlignment::Top:
        AppendRows(grid, 0, count, places);
        break;
    case IconAlignment::Bottom: {
        const std::int32_t rowsNeeded = (count + grid.cols - 1) / grid.cols;
        AppendRows(grid, grid.rows - rowsNeeded, count, places);
        break;
    }
    case IconAlignment::Left:
        AppendColumns(grid, 0, 1, count, places);
        break;
    case IconAlignment::Right:
        AppendColumns(grid, grid.cols - 1, -1, count, places);
        break;
    case IconAlignment::Edge:
        AppendEdgeCells(grid, count, places);
        break;
    }
    return places;
}

AlignmentRefusal CheckAlignment(bool autoArrange, int count, int capacity) {
    if (autoArrange)
        return AlignmentRefusal::AutoArrange;
    if (count > kMaxAlignedIcons)
        return AlignmentRefusal::TooManyIcons;
    if (capacity >= 0 && count > capacity)
        return AlignmentRefusal::NoRoom;
    return AlignmentRefusal::None;
}

} // namespace icons
