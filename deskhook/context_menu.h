// The submenu that the desktop's context menu gets, and what the copy of the
// library inside Explorer does with the item last highlighted when that menu
// closes. Portable: the Win32 half is context_menu_win.cpp.
#pragma once

#include <vector>

namespace context_menu {

// The items' ids are the program's own command ids, so that an item chosen
// on the desktop does what the same button or tray item does.
enum CommandId : int {
    kShowIconsAsNeeded = 1017, // radio "By cursor position"
    kHideIconsAlways = 1018,   // radio "Always hide"
    kShowIconsNow = 1028,      // handled inside Explorer
    kShowWindow = 1059,        // handled inside Explorer
    kShowIconsAlways = 1103,   // radio "Never hide"
    kSavePositions = 32776,
    kRestorePositions = 32777,
};

inline constexpr char kSubmenuText[] = "Manage Desktop Icons";

// What the program has published for the menu to show.
struct MenuInputs {
    bool danceRunning = false;
    int visibilityMode = 0; // the CommandId of the icon visibility mode
};

struct Item {
    const char* text; // null for a separator
    int id;           // 0 for a separator
    bool grayed;
    bool checked;

    bool IsSeparator() const { return text == nullptr; }
};

// The submenu's items, top to bottom.
std::vector<Item> SubmenuItems(const MenuInputs& inputs);

// Where the submenu goes in a context menu of `itemCount` items: just before
// its last item (normally "Properties"), a separator following it.
int SubmenuPosition(int itemCount);

enum class Action {
    None,
    SendCommand,       // WM_COMMAND with the id to the program's window
    ShowIcons,         // the desktop shows its list view itself
    BringWindowForward // the program's window comes to the front
};

// What the item last highlighted (`lastItem`) asks for when the menu closes.
Action ActionFor(int lastItem);

} // namespace context_menu
