// The passes of a restore: match the icons to the saved set, keep the ones
// that stand free, search places for the rest on the grid and then pixel by
// pixel, and finally move every icon to its place.
#pragma once

#include <string_view>

#include "icons/icon_placement.h"
#include "icons/icon_store.h"

namespace icons {

// The desktop's icons as the passes see them. Every call that reads or moves
// icons happens between Lock and Unlock. Icons are read and moved many at a
// time: each call is one exchange with the desktop, however many icons it
// takes.
class IconDesktop {
  public:
    struct Icon {
        Point position;
        Rect bounds;
        std::string_view caption; // ANSI form, valid until the next ReadAll
        std::u16string_view name; // exact name, valid until the next ReadAll
    };
    struct Move {
        int index;
        Point position;
    };

    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    // Icons 0 .. count - 1 (count at most kMaxRestoreIcons) into `icons`.
    virtual void ReadAll(int count, Icon* icons) = 0;
    virtual void MoveAll(const Move* moves, int count) = 0;
    virtual void SnapToGrid() = 0;

  protected:
    ~IconDesktop() = default;
};

// Runs pass 1, 2 and, if needed, 3 over iconCount icons (at most
// kMaxRestoreIcons) and leaves the outcome in table. Icons take saved entries
// as MatchSavedEntries (icon_store.h) gives them; entries taken stay taken for
// the later passes. False when some icon found no place.
bool RunRestorePasses(IconDesktop& desktop, SavedSet& saved, const ScreenGeometry& screen,
                      int iconCount, PlacementTable& table);

// Moves every icon to its new position.
void ApplyPlacements(IconDesktop& desktop, const PlacementTable& table);

} // namespace icons
