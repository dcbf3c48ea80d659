#include "icons/icon_placement.h"

#include <algorithm>
#include <limits>

namespace icons {
namespace {

// Edges widened so that no candidate or jump can overflow.
struct Box {
    std::int64_t left, top, right, bottom;
};

Box Widen(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

bool OverlapsHorizontally(const Box& a, const Box& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right);
}

bool OverlapsVertically(const Box& a, const Box& b) {
    return std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

// The candidate places for one icon: their size, the distance between rows,
// and the last row and column a place may start at.
struct Candidates {
    std::int64_t width, height;
    std::int64_t stepY;
    std::int64_t gridStepX; // 0 in pixel steps: jump past the collision instead
    std::int64_t firstX, firstY;
    std::int64_t lastX, lastY;
};

Candidates CandidatesFor(const PlacementTable& table, int k, const ScreenGeometry& screen,
                         Point origin, SearchStep step) {
    // A zero spacing would never advance; the list view always reports more.
    const std::int64_t cellX = std::max<std::int64_t>(screen.spacingX, 1);
    const std::int64_t cellY = std::max<std::int64_t>(screen.spacingY, 1);
    Candidates c{};
    if (step == SearchStep::Grid) {
        c.width = cellX;
        c.height = cellY;
        c.stepY = cellY;
        c.gridStepX = cellX;
    } else {
        const Box own = Widen(table.rect[k]);
        c.width = own.right - own.left;
        c.height = own.bottom - own.top;
        c.stepY = 1;
        c.gridStepX = 0;
    }
    c.firstX = origin.x;
    c.firstY = origin.y;
    c.lastX = std::int64_t{screen.width} - screen.spacingX;
    c.lastY = std::int64_t{screen.height} - screen.spacingY;
    return c;
}

Box CandidateAt(const Candidates& c, std::int64_t x, std::int64_t y) {
    return {x, y, x + c.width, y + c.height};
}

// Finds in row y the first place that overlaps none of the boxes; false when
// the row has none.
bool FirstFitInRow(const Candidates& c, std::int64_t y, const Box* boxes, int boxCount,
                   std::int64_t& fitX) {
    std::int64_t x = c.firstX;
    while (x <= c.lastX) {
        const Box candidate = CandidateAt(c, x, y);
        bool collides = false;
        for (int i = 0; i < boxCount && !collides; ++i)
            collides = OverlapsHorizontally(candidate, boxes[i]) &&
                       OverlapsVertically(candidate, boxes[i]);
        if (!collides) {
            fitX = x;
            return true;
        }
        x = c.gridStepX ? x + c.gridStepX : candidate.right + 2;
    }
    return false;
}

int CollectPlaced(const PlacementTable& table, Box* boxes) {
    int count = 0;
    for (int i = 0; i < table.count; ++i)
        if (table.placed[i])
            boxes[count++] = Widen(table.rect[i]);
    return count;
}

// Every row tries the same x positions, so a row fails whenever a row above
// it failed against a subset of its boxes. Only where a box ends can a row
// fail differently: the first row after y where one does.
std::int64_t NextRowThatDiffers(std::int64_t y, const Box* boxes, int count) {
    std::int64_t next = std::numeric_limits<std::int64_t>::max();
    for (int i = 0; i < count; ++i)
        if (boxes[i].bottom > y)
            next = std::min(next, boxes[i].bottom);
    return next;
}

void Place(PlacementTable& table, int k, const Candidates& c, std::int64_t x, std::int64_t y) {
    // x and y lie within the screen, so they fit in 32 bits.
    const Box box = CandidateAt(c, x, y);
    table.placed[k] = true;
    table.newPosition[k] = {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
    table.rect[k] = {static_cast<std::int32_t>(box.left), static_cast<std::int32_t>(box.top),
                     static_cast<std::int32_t>(box.right), static_cast<std::int32_t>(box.bottom)};
}

bool PlaceByFullScan(PlacementTable& table, int k, const Candidates& c) {
    Box placed[kMaxRestoreIcons];
    const int count = CollectPlaced(table, placed);
    for (std::int64_t y = c.firstY; y <= c.lastY; y += c.stepY) {
        std::int64_t x;
        if (FirstFitInRow(c, y, placed, count, x)) {
            Place(table, k, c, x, y);
            return true;
        }
    }
    return false;
}

bool PlaceBySkippingRows(PlacementTable& table, int k, const Candidates& c) {
    Box placed[kMaxRestoreIcons];
    Box inRow[kMaxRestoreIcons];
    const int count = CollectPlaced(table, placed);
    std::int64_t y = c.firstY;
    while (y <= c.lastY) {
        const Box row = CandidateAt(c, c.firstX, y);
        int rowCount = 0;
        for (int i = 0; i < count; ++i)
            if (OverlapsVertically(row, placed[i]))
                inRow[rowCount++] = placed[i];
        std::int64_t x;
        if (FirstFitInRow(c, y, inRow, rowCount, x)) {
            Place(table, k, c, x, y);
            return true;
        }
        const std::int64_t next = NextRowThatDiffers(y, placed, count);
        if (next > c.lastY)
            return false;
        y += (next - y + c.stepY - 1) / c.stepY * c.stepY;
    }
    return false;
}

template <typename PlaceOne>
bool SearchUnplaced(PlacementTable& table, const ScreenGeometry& screen, Point origin,
                    SearchStep step, PlaceOne placeOne) {
    for (int k = 0; k < table.count; ++k) {
        if (table.placed[k])
            continue;
        if (!placeOne(table, k, CandidatesFor(table, k, screen, origin, step)))
            return false;
    }
    return true;
}

} // namespace

bool Intersect(const Rect& a, const Rect& b) {
    const Box wa = Widen(a);
    const Box wb = Widen(b);
    return OverlapsHorizontally(wa, wb) && OverlapsVertically(wa, wb);
}

bool IsOffScreen(Point p, const ScreenGeometry& screen) {
    return p.x < 0 || p.x >= screen.width || p.y < 0 || p.y >= screen.height;
}

Point ClampOnScreen(Point p, const ScreenGeometry& screen) {
    auto clamp = [](std::int32_t v, std::int64_t limit) {
        std::int64_t wide = std::min<std::int64_t>(v, limit);
        return static_cast<std::int32_t>(std::max<std::int64_t>(wide, 0));
    };
    return {clamp(p.x, std::int64_t{screen.width} - screen.spacingX),
            clamp(p.y, std::int64_t{screen.height} - screen.spacingY)};
}

void ClearPlaced(PlacementTable& table) {
    std::fill(table.placed, table.placed + kMaxRestoreIcons, false);
}

void AcceptFreeStanding(PlacementTable& table) {
    for (int i = 0; i < table.count; ++i) {
        if (table.placed[i])
            continue;
        bool overlaps = false;
        for (int j = 0; j < table.count && !overlaps; ++j)
            overlaps = table.placed[j] && Intersect(table.rect[i], table.rect[j]);
        table.placed[i] = !overlaps;
    }
}

bool SearchPlaces(PlacementTable& table, const ScreenGeometry& screen, Point gridOrigin,
                  SearchStep step) {
    return SearchUnplaced(table, screen, gridOrigin, step, PlaceBySkippingRows);
}

bool SearchPlacesByFullScan(PlacementTable& table, const ScreenGeometry& screen, Point gridOrigin,
                            SearchStep step) {
    return SearchUnplaced(table, screen, gridOrigin, step, PlaceByFullScan);
}

} // namespace icons
