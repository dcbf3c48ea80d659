#include "deskhook/context_menu.h"

namespace context_menu {

namespace {

Item Plain(const char* text, int id) {
    return Item{text, id, false, false};
}

Item Separator() {
    return Item{nullptr, 0, false, false};
}

Item Mode(const char* text, int id, const MenuInputs& inputs) {
    return Item{text, id, false, inputs.visibilityMode == id};
}

} // namespace

std::vector<Item> SubmenuItems(const MenuInputs& inputs) {
    return {
        Plain("Show Icons Now", kShowIconsNow),
        Separator(),
        Plain("Restore Icon Positions", kRestorePositions),
        // The dance moves the icons: what it shows is no layout to keep.
        Item{"Save Icon Positions", kSavePositions, inputs.danceRunning, false},
        Separator(),
        Mode("Show Icons Always", kShowIconsAlways, inputs),
        Mode("Show Icons as Needed", kShowIconsAsNeeded, inputs),
        Mode("Hide Icons Always", kHideIconsAlways, inputs),
        Separator(),
        Plain("Show Tessara's Window", kShowWindow),
    };
}

int SubmenuPosition(int itemCount) {
    return itemCount > 0 ? itemCount - 1 : 0;
}

Action ActionFor(int lastItem) {
    switch (lastItem) {
    case kShowIconsAsNeeded:
    case kHideIconsAlways:
    case kShowIconsAlways:
    case kSavePositions:
    case kRestorePositions:
        return Action::SendCommand;
    case kShowIconsNow:
        return Action::ShowIcons;
    case kShowWindow:
        return Action::BringWindowForward;
    default:
        return Action::None;
    }
}

} // namespace context_menu
