#include "icons/restore_passes.h"

namespace icons {
namespace {

void CollectAndMatch(IconDesktop& desktop, SavedSet& saved, const ScreenGeometry& screen,
                     PlacementTable& table) {
    ClearPlaced(table);
    for (int i = 0; i < table.count; ++i) {
        IconDesktop::Icon icon = desktop.Read(i);
        if (IsOffScreen(icon.position, screen)) {
            desktop.Move(i, ClampOnScreen(icon.position, screen));
            icon = desktop.Read(i);
        }
        table.newPosition[i] = icon.position;
        table.rect[i] = icon.bounds;
        const SavedEntry* entry = TakeSavedEntry(saved, icon.caption);
        if (!entry)
            continue;
        const Point savedPosition{entry->x, entry->y};
        table.placed[i] = true;
        table.newPosition[i] = savedPosition;
        desktop.Move(i, savedPosition);
        table.rect[i] = desktop.Read(i).bounds;
    }
}

// Really moves the icons: everything snaps to the grid, and icon 0 shows
// where the grid starts.
Point FindGridOrigin(IconDesktop& desktop) {
    desktop.Move(0, Point{0, 0});
    desktop.SnapToGrid();
    return desktop.Read(0).position;
}

} // namespace

bool RunRestorePasses(IconDesktop& desktop, SavedSet& saved, const ScreenGeometry& screen,
                      int iconCount, PlacementTable& table) {
    table.count = iconCount < kMaxRestoreIcons ? iconCount : kMaxRestoreIcons;
    if (table.count <= 0)
        return true;
    for (int pass = 1; pass <= 3; ++pass) {
        desktop.Lock();
        CollectAndMatch(desktop, saved, screen, table);
        const Point origin = FindGridOrigin(desktop);
        desktop.Unlock();
        if (pass < 3)
            AcceptFreeStanding(table);
        const SearchStep step = pass < 3 ? SearchStep::Grid : SearchStep::Pixel;
        if (SearchPlaces(table, screen, origin, step))
            return true;
        if (pass == 1) {
            desktop.Lock();
            desktop.SnapToGrid();
            desktop.Unlock();
        }
    }
    return false;
}

void ApplyPlacements(IconDesktop& desktop, const PlacementTable& table) {
    desktop.Lock();
    for (int i = 0; i < table.count; ++i)
        desktop.Move(i, table.newPosition[i]);
    desktop.Unlock();
}

} // namespace icons
