// Where the icons of a restore end up: the tables of one run and the search
// for free places. The caller moves the real icons between the steps and
// fills the tables from what the desktop reports.
#pragma once

#include <cstdint>

#include "icons/icon_store.h"

namespace icons {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// Edges as the list view reports them; right and bottom are exclusive.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// True when the two rectangles share at least one pixel.
bool Intersect(const Rect& a, const Rect& b);

// The screen (W x H) and the list view's icon spacing (cx x cy).
struct ScreenGeometry {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t spacingX = 0;
    std::int32_t spacingY = 0;
};

bool IsOffScreen(Point p, const ScreenGeometry& screen);
// x to at most W - cx and then at least 0; y likewise with H - cy.
Point ClampOnScreen(Point p, const ScreenGeometry& screen);

struct PlacementTable {
    int count = 0;
    bool placed[kMaxRestoreIcons] = {};
    Point newPosition[kMaxRestoreIcons];
    Rect rect[kMaxRestoreIcons];
};

void ClearPlaced(PlacementTable& table);

// Marks placed, where they stand, the unplaced icons whose rectangle overlaps
// no placed icon, in index order, so that each accepted icon counts for the
// icons after it.
void AcceptFreeStanding(PlacementTable& table);

enum class SearchStep {
    Grid,  // cells of the icon spacing
    Pixel, // the icon's own size, packed pixel by pixel
};

// Gives every unplaced icon, in index order, the first free candidate place
// counting rows from the top and places in a row from the left, starting at the
// grid origin. Stops at the first icon that finds none and returns false;
// true when every icon is placed.
bool SearchPlaces(PlacementTable& table, const ScreenGeometry& screen, Point gridOrigin,
                  SearchStep step);

// The same placements found by trying every candidate against every placed
// icon; kept as the reference that the faster search is checked against.
bool SearchPlacesByFullScan(PlacementTable& table, const ScreenGeometry& screen, Point gridOrigin,
                            SearchStep step);

} // namespace icons
