#include "testbed/deskshell/deskshell.h"
#include "testbed/deskshell/deskshell_protocol.h"
#include "testbed/deskshell/list_writers.h"

namespace deskshell {
namespace {

HMENU g_openMenu = nullptr;

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
    return WriteMenuTree(g_openMenu, path);
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
