// The stand-in desktop's context menu as a user meets it: opened by a right
// click on the empty desktop, read while open, items chosen with the mouse.
#pragma once

#include "tests/harness/harness.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace context_menu_test {

constexpr char kSubmenuText[] = "Manage Desktop Icons";

// Far from the icons, which start at the top left.
inline POINT EmptyDesktopPoint() {
    return {GetSystemMetrics(SM_CXSCREEN) * 3 / 4, GetSystemMetrics(SM_CYSCREEN) / 2};
}

// Right-clicks the empty desktop; the items of the open menu (empty when
// none opened).
inline std::vector<harness::ShellMenuItem> OpenMenu(const harness::Shell& shell) {
    harness::Click(EmptyDesktopPoint(), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    std::vector<harness::ShellMenuItem> items;
    harness::WaitUntil([&] {
        items = shell.OpenMenu();
        return !items.empty();
    });
    // The shell answers while it still prepares the menu; keys wait for it.
    harness::PumpMessages(300);
    return items;
}

inline void CloseMenu(const harness::Shell& shell) {
    SendMessageA(shell.DefView(), WM_CANCELMODE, 0, 0);
    harness::WaitUntil([&] { return shell.OpenMenu().empty(); });
}

inline std::vector<harness::ShellMenuItem> Level(const std::vector<harness::ShellMenuItem>& items,
                                                 int depth) {
    std::vector<harness::ShellMenuItem> level;
    std::copy_if(items.begin(), items.end(), std::back_inserter(level),
                 [&](const harness::ShellMenuItem& item) { return item.depth == depth; });
    return level;
}

inline bool IsSeparator(const harness::ShellMenuItem& item) {
    return (item.state & MF_SEPARATOR) != 0;
}

inline std::optional<harness::ShellMenuItem> Find(const std::vector<harness::ShellMenuItem>& items,
                                                  const std::string& text) {
    auto found = std::find_if(items.begin(), items.end(), [&](const harness::ShellMenuItem& item) {
        return item.text == text;
    });
    if (found == items.end())
        return std::nullopt;
    return *found;
}

inline POINT Centre(const RECT& rect) {
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The submenu's item `id` once the submenu is shown.
inline std::optional<harness::ShellMenuItem> ShownSubmenuItem(const harness::Shell& shell,
                                                              UINT id) {
    std::optional<harness::ShellMenuItem> shown;
    harness::WaitUntil([&] {
        for (const harness::ShellMenuItem& item : Level(shell.OpenMenu(), 1))
            if (item.id == id && !IsRectEmpty(&item.rect))
                shown = item;
        return shown.has_value();
    });
    return shown;
}

// Clicks the submenu open and points at its item `id`, which is highlighted
// then; the submenu stays open.
inline std::optional<harness::ShellMenuItem>
PointAtSubmenuItem(const harness::Shell& shell, const std::vector<harness::ShellMenuItem>& items,
                   UINT id) {
    auto popup = Find(Level(items, 0), kSubmenuText);
    if (!popup)
        return std::nullopt;
    harness::Click(Centre(popup->rect));
    auto item = ShownSubmenuItem(shell, id);
    if (item)
        harness::MoveMouse(Centre(item->rect));
    return item;
}

// Opens the menu and chooses the submenu's item `id` with the mouse, as a
// user does.
inline bool ChooseSubmenuItem(const harness::Shell& shell, UINT id) {
    auto item = PointAtSubmenuItem(shell, OpenMenu(shell), id);
    if (!item)
        return false;
    harness::PumpMessages(100);
    harness::Click(Centre(item->rect));
    return harness::WaitUntil([&] { return shell.OpenMenu().empty(); });
}

// The same with the keyboard: the item is highlighted, then Enter chooses it.
inline bool ChooseSubmenuItemByKeyboard(const harness::Shell& shell, UINT id) {
    if (!PointAtSubmenuItem(shell, OpenMenu(shell), id))
        return false;
    harness::PumpMessages(100);
    harness::PressKey(VK_RETURN);
    return harness::WaitUntil([&] { return shell.OpenMenu().empty(); });
}

} // namespace context_menu_test
