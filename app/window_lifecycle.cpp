#include "app/window_lifecycle.h"

#include "app/commands.h"
#include "app/desktop_attach.h"
#include "app/hiding_controls.h"
#include "app/icon_restore.h"
#include "app/page_context.h"
#include "app/static_colors.h"
#include "app/test_mode.h"
#include "app/tray_win.h"
#include "base/app_state.h"
#include "base/instance_data.h"
#include "base/timers.h"
#include "base/windows_version_win.h"
#include "colours/wallpaper_analysis_win.h"
#include "deskhook/shared_names.h"
#include "desklink/context_menu_link.h"
#include "desklink/desk_link.h"
#include "icons/icon_dance_win.h"
#include "icons/icon_positions.h"
#include "settings/settings.h"
#include "testmode/webshots_win.h"
#include "ui/custom_controls_win.h"
#include "ui/hot_keys_win.h"
#include "ui/resource.h"
#include "ui/settings_pages_win.h"
#include "ui/tool_tips.h"

namespace {

// Drop shadows as they were at start; written back at shutdown.
bool g_dropShadowsAtStart = false;

// The settings window's own; the About area's timers are stopped on it.
constexpr UINT_PTR kTimersStoppedAtShutdown[] = {
    timers::CursorIdle, timers::Watchdog, timers::DropShadowPoll, timers::CursorTracking,
    timers::Fade,       timers::FadePoll, timers::TaskbarRehide,
};

// ---- Creation steps ---------------------------------------------------------

void CreateControlTables(HWND window) {
    CreateToolTips(window);
    FillControlHandles(window);
    AddControlTools(window);
    SubclassCustomControls(window);
}

void LayOutWindowAndPages(HWND window, const RememberedPlace& place) {
    LayOutSettingsWindow(window, place);
    LayoutSettingsPages(window);
    PlaceAboutArea(SettingsWindowDpi());
    AddLinkTools(window);
}

void SyncAutostart() {
    ReadAutostart();
    WriteAutostart(g_settings.StartWithWindows == 1);
}

// A first start has something to restore later.
void SaveFirstIconPositions(HWND window) {
    if (!SavedIconSetExists())
        SaveIconPositions(window, AutoArrangeQuestion::Skip);
}

void StartTimers(HWND window) {
    SetTimer(window, timers::DeferredStart, timers::DeferredStartMs, nullptr);
    SetTimer(window, timers::Watchdog, timers::WatchdogMs, nullptr);
    StartHiding(window);
}

// Two clicks on the tray icon: shown and active, then hidden and disabled.
void HideWhenStarted(HWND window) {
    if (g_settings.HideWhenStarted != 1)
        return;
    SendMessageA(window, UM_TRAYNOTIFY, 0, WM_LBUTTONDOWN);
    SendMessageA(window, UM_TRAYNOTIFY, 0, WM_LBUTTONDOWN);
}

void ApplyManualDesktopColor(HWND window) {
    if (g_settings.DeskColorManual == 1)
        SetDesktopColor(window, COLORREF(g_settings.DesktopColor));
}

// The caption colours are applied through "Automatic Text Color".
void ApplyCaptionColorsAtStart(HWND window) {
    UserTextColor = COLORREF(g_settings.TextColor);
    SendMessageA(window, WM_COMMAND, IDC_AUTO_TEXT_COLOR, 0);
}

// The desktop colour box and its text show the colour in use.
void ShowDesktopColorInUse(HWND window) {
    SetDesktopColor(window, GetSysColor(COLOR_BACKGROUND));
}

void RestoreIconsAtStart(HWND window) {
    if (g_settings.AutoRestorePositions == 1)
        RestoreIconsForWindow(window);
}

// ---- Shutdown steps -----------------------------------------------------------

void StopTimers(HWND window) {
    for (UINT_PTR timer : kTimersStoppedAtShutdown)
        KillTimer(window, timer);
    StopAboutTimers();
}

void PutTemporarilyMovedIconsBack(HWND window) {
    if (Instances().IconsTemporarilyMoved)
        RestoreIconsForWindow(window);
}

void RestoreDropShadows() {
    if (g_dropShadowsAtStart)
        SetListviewShadow(1);
}

void ShowDesktopWindows() {
    if (HWND listView = DesktopListView())
        ShowDesktopWindow(listView, SW_SHOW);
    if (HWND progman = FindWindowA(names::ProgmanClass, nullptr))
        ShowDesktopWindow(progman, SW_SHOW);
}

void CloseHiddenWindow(HWND window) {
    if (HWND hidden = GetWindow(window, GW_OWNER))
        SendMessageA(hidden, WM_CLOSE, 0, 0);
}

} // namespace

bool SavedIconSetExists() {
    return g_settings.PerResolutionPositions == 1 ? ResolutionIconSetExists()
                                                  : RelativeIconSetExists();
}

void InitialiseSettingsWindow(HWND window, const RememberedPlace& place) {
    SetSharedSettingsWindow(window);
    ClearDanceLeftBehind();
    CreateControlTables(window);
    RememberTrayStateAtStart();
    CreateStaticBrushes();
    LayOutWindowAndPages(window, place);
    RefreshDropShadowsOn();
    LoadControlsFromSettings(window, CurrentPageContext());
    SyncAutostart();
    SaveFirstIconPositions(window);
    g_dropShadowsAtStart = DropShadowsOn();
    StartTimers(window);
    ApplyManualDesktopColor(window);
    ActivateToolTips(g_settings.ShowToolTips == 1);
    ApplyCaptionColorsAtStart(window);
    KeepOnPrimaryScreen(window);
    HideWhenStarted(window);
    ShowDesktopColorInUse(window);
    FillCornerActionList(window);
    ReattachDesktop(window);
    RestoreIconsAtStart(window);
    PrepareTestMode(window);
}

void RunDeferredStart(HWND window) {
    KillTimer(window, timers::DeferredStart);
    RunCommand(window, IDM_REGISTER_HOTKEYS, 0);
    RunCommand(window, IDM_REGISTER_HOTKEYS, 1);
    BringTrayIconToStartState(window);
}

void ShutDownSettingsWindow(HWND window, ShutdownCause cause) {
    StopTimers(window);
    StopIconDance();
    PutTemporarilyMovedIconsBack(window);
    DetachContextMenu();
    DetachDesktop();
    UnregisterHotKeys(window);
    RestoreDropShadows();
    SaveSettings(g_settings);
    DeleteTrayIcon(window);
    DeleteStaticBrushes();
    if (g_app.webshots)
        CloseWebshots();
    ShowDesktopWindows();
    StopHiding(window);
    if (IsWindowsXPOrLater() && cause == ShutdownCause::Close)
        ShowWindow(window, SW_HIDE);
    CloseHiddenWindow(window);
}
