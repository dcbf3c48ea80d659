// Lining the desktop icons up in a grid along the screen edges: the grid that
// the screen and the icon spacing give, and the cells the icons take in each
// layout, in list-view order.
#pragma once

#include <cstdint>
#include <vector>

#include "icons/icon_placement.h"

// The five layouts, by the number the buttons and the Position hot key use.
enum class IconAlignment { Edge = 0, Left = 1, Bottom = 2, Right = 3, Top = 4 };

namespace icons {

// More icons than this are never lined up.
inline constexpr int kMaxAlignedIcons = 255;

struct AlignmentGrid {
    std::int32_t cols = 0;
    std::int32_t rows = 0;
    std::int32_t colWidth = 0;
    std::int32_t rowHeight = 0;
    std::int32_t left = 0; // x of column 0
    std::int32_t top = 0;  // y of row 0

    int Capacity() const { return cols * rows; }
    Point Cell(std::int32_t col, std::int32_t row) const {
        return {left + col * colWidth, top + row * rowHeight};
    }
};

// The grid of the primary screen for `layout`. leftOffset is the widest
// overhang of a caption left of its icon's anchor. A spacing wider or taller
// than the screen (or none at all) gives a grid of no cells.
AlignmentGrid MakeAlignmentGrid(IconAlignment layout, const ScreenGeometry& screen,
                                std::int32_t leftOffset);

// The overhang of one icon's caption left of its anchor; the grid's left
// offset is the largest of these and at least 0.
inline std::int32_t CaptionOverhang(Point position, const Rect& bounds) {
    return position.x - bounds.left;
}

// The places of icons 0 to count - 1, at most the grid's capacity of them.
std::vector<Point> AlignmentPlaces(IconAlignment layout, const AlignmentGrid& grid, int count);

enum class AlignmentRefusal {
    None,
    AutoArrange,  // the desktop arranges its icons itself
    TooManyIcons, // more than kMaxAlignedIcons
    NoRoom,       // more icons than the grid has cells
};

// Why an alignment of `count` icons may not run, checked in this order:
// Auto Arrange, the icon limit, the grid's capacity (known only once the
// icons' captions have been measured, so pass -1 before that).
AlignmentRefusal CheckAlignment(bool autoArrange, int count, int capacity);

} // namespace icons
