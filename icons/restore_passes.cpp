#include "icons/restore_passes.h"

namespace icons {
namespace {

// Icons off the screen are moved onto it first and read again.
void BringOnScreen(IconDesktop& desktop, const ScreenGeometry& screen, int count,
                   IconDesktop::Icon* icons, IconDesktop::Move* moves) {
    int offScreen = 0;
    for (int i = 0; i < count; ++i)
        if (IsOffScreen(icons[i].position, screen))
            moves[offScreen++] = {i, ClampOnScreen(icons[i].position, screen)};
    if (offScreen == 0)
        return;
    desktop.MoveAll(moves, offScreen);
    desktop.ReadAll(count, icons);
}

// Every icon is read and matched to a saved entry (MatchSavedEntries), and the
// matched ones move to their saved places at once and are read back there for
// their rectangles.
void CollectAndMatch(IconDesktop& desktop, SavedSet& saved, const ScreenGeometry& screen,
                     PlacementTable& table) {
    ClearPlaced(table);
    IconDesktop::Icon icons[kMaxRestoreIcons];
    IconDesktop::Move moves[kMaxRestoreIcons];
    desktop.ReadAll(table.count, icons);
    BringOnScreen(desktop, screen, table.count, icons, moves);
    IconName names[kMaxRestoreIcons];
    for (int i = 0; i < table.count; ++i)
        names[i] = {icons[i].caption, icons[i].name};
    int entryOf[kMaxRestoreIcons];
    MatchSavedEntries(saved, names, table.count, entryOf);
    int matched = 0;
    for (int i = 0; i < table.count; ++i) {
        table.newPosition[i] = icons[i].position;
        table.rect[i] = icons[i].bounds;
        if (entryOf[i] < 0)
            continue;
        const SavedEntry& entry = saved.entries[entryOf[i]];
        table.placed[i] = true;
        table.newPosition[i] = Point{entry.x, entry.y};
        moves[matched++] = {i, table.newPosition[i]};
    }
    if (matched == 0)
        return;
    desktop.MoveAll(moves, matched);
    desktop.ReadAll(table.count, icons);
    for (int k = 0; k < matched; ++k)
        table.rect[moves[k].index] = icons[moves[k].index].bounds;
}

// Really moves the icons: everything snaps to the grid, and icon 0 shows
// where the grid starts.
Point FindGridOrigin(IconDesktop& desktop) {
    const IconDesktop::Move toCorner{0, Point{0, 0}};
    desktop.MoveAll(&toCorner, 1);
    desktop.SnapToGrid();
    IconDesktop::Icon first;
    desktop.ReadAll(1, &first);
    return first.position;
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
    if (table.count <= 0)
        return;
    IconDesktop::Move moves[kMaxRestoreIcons];
    for (int i = 0; i < table.count; ++i)
        moves[i] = {i, table.newPosition[i]};
    desktop.Lock();
    desktop.MoveAll(moves, table.count);
    desktop.Unlock();
}

} // namespace icons
