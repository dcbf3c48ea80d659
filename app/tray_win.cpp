#include "app/tray_win.h"

#include "app/commands.h"
#include "app/page_context.h"
#include "app/window_lifecycle.h"
#include "base/app_state.h"
#include "base/instance_data.h"
#include "base/system_functions.h"
#include "deskhook/shared_names.h"
#include "desklink/desk_link.h"
#include "settings/settings.h"
#include "ui/hot_keys_win.h"
#include "ui/resource.h"

#include <shellapi.h>

#include <utility>

// The record as Windows 2000 and later know it: 488 bytes in a 32-bit
// program; handles are wider in a 64-bit one.
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V2_SIZE == 488);
static_assert(sizeof(void*) != 8 || NOTIFYICONDATAA_V2_SIZE == 504);

namespace {

int32_t g_trayStateAtStart = 1;
// How often the icon was switched off since start; -1 during the deferred start.
int g_removalCount = 0;
NOTIFYICONDATAA g_record{};
UniqueIcon g_icon;

const char* Caption() {
    return g_app.caption[0] ? g_app.caption : kProgramName;
}

NOTIFYICONDATAA IconIdentity(HWND window) {
    NOTIFYICONDATAA identity{};
    identity.cbSize = NOTIFYICONDATAA_V2_SIZE;
    identity.hWnd = window;
    identity.uID = 0;
    return identity;
}

int SmallIconSize(HWND window) {
    if (g_system.GetDpiForWindow && g_system.GetSystemMetricsForDpi)
        return g_system.GetSystemMetricsForDpi(SM_CXSMICON, g_system.GetDpiForWindow(window));
    return GetSystemMetrics(SM_CXSMICON);
}

void FillRecord(HWND window) {
    g_icon = LoadTrayIcon(g_app.instance, SmallIconSize(window));
    g_record = IconIdentity(window);
    g_record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    g_record.uCallbackMessage = UM_TRAYNOTIFY;
    g_record.hIcon = g_icon.get();
    lstrcpynA(g_record.szTip, Caption(), sizeof g_record.szTip);
}

void DeleteIcon(HWND window) {
    NOTIFYICONDATAA identity = IconIdentity(window);
    Shell_NotifyIconA(NIM_DELETE, &identity);
}

TrayMenuContext CurrentTrayMenuContext() {
    const PageContext page = CurrentPageContext();
    TrayMenuContext context;
    context.danceRunning = page.danceRunning;
    context.activeDesktop = page.activeDesktop;
    context.dropShadowsOn = page.dropShadowsOn;
    context.testMode = page.testMode;
    context.savedSetExists = SavedIconSetExists();
    context.temporarilyMoved = page.temporarilyMoved;
    return context;
}

bool InsertItem(HINSTANCE resources, HMENU popup, UINT where, BOOL byPosition,
                const TrayMenuItem& item) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    if (item.kind == TrayItemKind::Separator) {
        info.fMask = MIIM_FTYPE;
        info.fType = MFT_SEPARATOR;
        return InsertMenuItemA(popup, where, byPosition, &info) != FALSE;
    }
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_STATE;
    info.fType = MFT_STRING;
    info.wID = UINT(item.id);
    info.dwTypeData = const_cast<char*>(item.text);
    info.fState = (item.checked ? MFS_CHECKED : 0u) | (item.greyed ? MFS_GRAYED : 0u);
    UniqueMenu testMenu;
    if (item.kind == TrayItemKind::TestMenu) {
        testMenu.reset(LoadMenuA(resources, MAKEINTRESOURCEA(IDR_TEST_MENU)));
        if (!testMenu)
            return false;
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = testMenu.get();
    }
    if (!InsertMenuItemA(popup, where, byPosition, &info))
        return false;
    testMenu.release(); // the tray menu owns it now
    return true;
}

} // namespace

void ShowSettingsWindowInFront(HWND window) {
    constexpr UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW;
    EnableWindow(window, TRUE);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, flags);
    SetForegroundWindow(window);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
}

UniqueIcon LoadTrayIcon(HINSTANCE resources, int size) {
    HICON icon = nullptr;
    if (g_system.LoadIconWithScaleDown &&
        SUCCEEDED(g_system.LoadIconWithScaleDown(resources, MAKEINTRESOURCEW(IDI_TESSARA), size,
                                                 size, &icon)))
        return UniqueIcon(icon);
    return UniqueIcon(static_cast<HICON>(
        LoadImageA(resources, MAKEINTRESOURCEA(IDI_TESSARA), IMAGE_ICON, size, size, 0)));
}

UniqueMenu BuildTrayMenu(HINSTANCE resources, const TrayMenuLayout& layout) {
    UniqueMenu menu(LoadMenuA(resources, MAKEINTRESOURCEA(IDR_TRAY_MENU)));
    HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup)
        return UniqueMenu();
    ModifyMenuA(popup, IDM_EXIT, MF_BYCOMMAND | MF_STRING, IDM_EXIT, kTrayExitText);
    UINT position = 1;
    for (const TrayMenuItem& item : layout.afterWebPage)
        InsertItem(resources, popup, position++, TRUE, item);
    for (const TrayMenuItem& item : layout.beforeExit)
        InsertItem(resources, popup, IDM_EXIT, FALSE, item);
    return menu;
}

void ShowTrayMenu(HWND owner, int x, int y) {
    const UniqueMenu menu =
        BuildTrayMenu(g_app.instance, TrayMenuItems(g_settings, CurrentTrayMenuContext()));
    if (!menu)
        return;
    SetForegroundWindow(owner);
    TrackPopupMenu(GetSubMenu(menu.get(), 0), TPM_NONOTIFY | TPM_RIGHTBUTTON, x, y, 0, owner,
                   nullptr);
    // Without a message after it, the menu would not close when the user
    // clicks elsewhere.
    PostMessageA(owner, WM_NULL, 0, 0);
}

void RememberTrayStateAtStart() {
    g_trayStateAtStart = g_settings.ShowTrayIcon;
}

void BringTrayIconToStartState(HWND settingsWindow) {
    g_settings.ShowTrayIcon = g_trayStateAtStart == 1 ? 0 : 1;
    QuietTrayRemoval quiet;
    RunCommand(settingsWindow, IDC_SHOW_TRAY_ICON, 0);
}

QuietTrayRemoval::QuietTrayRemoval() : counted_(std::exchange(g_removalCount, -1)) {}

QuietTrayRemoval::~QuietTrayRemoval() {
    g_removalCount = counted_;
}

void SwitchTrayIconCommand(HWND settingsWindow) {
    const TraySwitch next = SwitchTrayIcon(g_settings.ShowTrayIcon,
                                           Instances().ShowHideHotKeyActive != 0, g_removalCount);
    g_settings.ShowTrayIcon = next.showTrayIcon;
    g_removalCount = next.removalCount;
    CheckDlgButton(settingsWindow, IDC_SHOW_TRAY_ICON,
                   next.showTrayIcon == 1 ? BST_CHECKED : BST_UNCHECKED);
    if (next.add) {
        FillRecord(settingsWindow);
        Shell_NotifyIconA(NIM_ADD, &g_record);
    } else {
        if (next.showRemovalMessage)
            QuietMessageBox(settingsWindow,
                            TrayRemovalText(GetHotKeyText(g_settings.HotKeyShowHide)).c_str(),
                            Caption(), MB_OK | MB_ICONINFORMATION);
        DeleteIcon(settingsWindow);
    }
    RefreshSettingsPage(settingsWindow);
}

void OnTrayNotify(HWND settingsWindow, UINT mouseMessage) {
    switch (TrayClickAction(mouseMessage, GetFocus() != nullptr)) {
    case TrayClick::ShowInFront:
        ShowSettingsWindowInFront(settingsWindow);
        break;
    case TrayClick::Hide:
        RunCommand(settingsWindow, IDC_HIDE_WINDOW, 0);
        break;
    case TrayClick::Menu: {
        POINT cursor{};
        GetCursorPos(&cursor);
        ShowTrayMenu(settingsWindow, cursor.x, cursor.y);
        break;
    }
    case TrayClick::Nothing:
        break;
    }
}

void ReAddTrayIcon(HWND settingsWindow) {
    DeleteIcon(settingsWindow);
    if (g_settings.ShowTrayIcon == 1)
        Shell_NotifyIconA(NIM_ADD, &g_record);
}

void DeleteTrayIcon(HWND settingsWindow) {
    DeleteIcon(settingsWindow);
}
