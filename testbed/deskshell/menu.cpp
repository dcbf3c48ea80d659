#include "testbed/deskshell/deskshell.h"
#include "testbed/deskshell/deskshell_protocol.h"

#include <cstdio>

namespace deskshell {
namespace {

HMENU g_openMenu = nullptr;

int WriteItems(FILE* file, HMENU menu, int depth) {
    int lines = 0;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        const UINT id = GetMenuItemID(menu, i);
        RECT rect{};
        GetMenuItemRect(nullptr, menu, i, &rect); // stays empty until the menu is shown
        std::fprintf(file, "%d %d %u %u %ld %ld %ld %ld %s\n", depth, i, id == UINT(-1) ? 0u : id,
                     GetMenuState(menu, i, MF_BYPOSITION), rect.left, rect.top, rect.right,
                     rect.bottom, text);
        ++lines;
        if (HMENU submenu = GetSubMenu(menu, i))
            lines += WriteItems(file, submenu, depth + 1);
    }
    return lines;
}

HMENU BuildMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING | (IsAutoArrange() ? MF_CHECKED : 0), kMenuAutoArrange,
                "Auto Arrange");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kMenuRefresh, "Refresh");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kMenuProperties, "Properties");
    return menu;
}

} // namespace

void ShowContextMenu(POINT screen) {
    HMENU menu = BuildMenu();
    // Without TPM_RETURNCMD the owner gets the whole menu conversation, as
    // Explorer's view does: WM_INITMENU, WM_MENUSELECT, WM_EXITMENULOOP, WM_COMMAND.
    SetForegroundWindow(g_windows.defView);
    g_openMenu = menu;
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, g_windows.defView,
                   nullptr);
    g_openMenu = nullptr;
    DestroyMenu(menu);
}

int WriteOpenMenu(const std::string& path) {
    if (!g_openMenu)
        return -1;
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file)
        return -1;
    const int lines = WriteItems(file, g_openMenu, 0);
    return std::fclose(file) == 0 ? lines : -1;
}

void OnMenuCommand(UINT id) {
    switch (id) {
    case kMenuAutoArrange:
        SetAutoArrange(!IsAutoArrange());
        break;
    case kMenuRefresh:
        RefreshDesktop();
        break;
    default:
        break;
    }
}

} // namespace deskshell
