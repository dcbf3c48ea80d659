#include "app/commands.h"

#include "base/app_state.h"
#include "app/watchdog.h"
#include "app/page_context.h"
#include "app/tray_win.h"
#include "app/window_layout.h"
#include "desklink/desk_link.h"
#include "icons/icon_positions.h"
#include "settings/settings.h"
#include "ui/confirm_exit.h"
#include "ui/hot_keys_win.h"
#include "ui/resource.h"
#include "ui/settings_pages_win.h"
#include "ui/tool_tips.h"

#include <cstdint>

namespace {

struct Command {
    HWND window;
    LPARAM lParam;
};

using CommandHandler = void (*)(const Command&);

struct CommandRow {
    int id;
    CommandHandler run;
};

// ---- Window and program ------------------------------------------------------

void HideSettingsWindow(const Command& command) {
    EnableWindow(command.window, FALSE);
    ShowWindow(command.window, SW_HIDE);
}

void ExitProgram(const Command& command) {
    SendMessageA(command.window, WM_CLOSE, 0, 0);
}

void RunCloseBox(const Command& command) {
    RunCloseAction(command.window, RefreshSettingsPage);
}

// The close action is stored at once rather than by the watchdog, whose copy
// must then follow, or a later change back to its old value would never be
// stored. The dialog that asks offers its own choice meanwhile.
template <int32_t prompt, int32_t hides> void SetCloseAction(const Command&) {
    if (prompt && ConfirmExitOpen())
        return;
    g_settings.ExitPrompt = prompt;
    g_settings.ExitHides = hides;
    SaveSettings(g_settings);
    TakeSettingsSnapshot();
}

void ToggleStartWithWindows(const Command&) {
    g_settings.StartWithWindows = g_settings.StartWithWindows ? 0 : 1;
    WriteAutostart(g_settings.StartWithWindows == 1);
}

void ToggleToolTips(const Command& command) {
    g_settings.ShowToolTips = g_settings.ShowToolTips ? 0 : 1;
    FitHeightToButtons(command.window, kStatusGapWhenToggled);
    ActivateToolTips(g_settings.ShowToolTips == 1);
}

void ResetTab(const Command& command) {
    ResetTabDefaults(command.window, CurrentPageContext());
    UserTextColor = COLORREF(SettingsTemplate().TextColor);
}

// ---- Settings fields ------------------------------------------------------------

template <int32_t Settings::*field> void ToggleSetting(const Command&) {
    g_settings.*field = g_settings.*field ? 0 : 1;
}

template <int32_t Settings::*field> void ToggleShownSetting(const Command& command) {
    ToggleSetting<field>(command);
    RefreshSettingsPage(command.window);
}

template <int32_t Settings::*field, int32_t value> void SetShownSetting(const Command& command) {
    g_settings.*field = value;
    RefreshSettingsPage(command.window);
}

// ---- Tray icon and hot keys -------------------------------------------------------

void SwitchTrayIcon(const Command& command) {
    SwitchTrayIconCommand(command.window);
}

// Whoever hides the window at start without a tray icon needs the hot key.
void ToggleHideWhenStarted(const Command& command) {
    g_settings.HideWhenStarted = g_settings.HideWhenStarted ? 0 : 1;
    CheckDlgButton(command.window, IDC_HIDE_WHEN_STARTED,
                   g_settings.HideWhenStarted ? BST_CHECKED : BST_UNCHECKED);
    if (g_settings.ShowTrayIcon == 0 && g_settings.HideWhenStarted == 1)
        QuietMessageBox(
            command.window,
            HideWhenStartedWithoutTrayText(GetHotKeyText(g_settings.HotKeyShowHide)).c_str(),
            g_app.caption, MB_OK | MB_ICONINFORMATION);
}

// The dialog runs with no hot key registered; its "Cancel" brings the old
// ones back.
void SelectHotKeys(const Command& command) {
    UnregisterHotKeys(command.window);
    RunHotKeyDialog(command.window);
    RegisterHotKeys(command.window);
}

void RegisterOrUnregisterHotKeys(const Command& command) {
    if (command.lParam)
        RegisterHotKeys(command.window);
    else
        UnregisterHotKeys(command.window);
}

// ---- Icon positions ---------------------------------------------------------------

void RestorePositions(const Command& command) {
    ShowWindow(DesktopListView(), SW_SHOW);
    RestoreIconPositions(command.window);
    RefreshSettingsPage(command.window);
}

void SavePositions(const Command& command) {
    SaveIconPositions(command.window, true);
    RefreshSettingsPage(command.window);
}

const CommandRow kCommands[] = {
    {IDCANCEL, HideSettingsWindow},
    {IDC_HIDE_WINDOW, HideSettingsWindow},
    {IDM_EXIT, ExitProgram},
    {IDM_CLOSE_ACTION, RunCloseBox},
    {IDC_CLOSE_PROMPT, SetCloseAction<1, 0>},
    {IDC_CLOSE_EXIT, SetCloseAction<0, 0>},
    {IDC_CLOSE_HIDE, SetCloseAction<0, 1>},
    {IDC_START_WITH_WINDOWS, ToggleStartWithWindows},
    {IDC_SHOW_TOOL_TIPS, ToggleToolTips},
    {IDC_TAB_DEFAULTS, ResetTab},
    {IDC_SHOW_TRAY_ICON, SwitchTrayIcon},
    {IDC_HIDE_WHEN_STARTED, ToggleHideWhenStarted},
    {IDC_SELECT_HOTKEYS, SelectHotKeys},
    {IDM_REGISTER_HOTKEYS, RegisterOrUnregisterHotKeys},
    {IDC_TRAY_SHOW_POSITIONS, ToggleShownSetting<&Settings::TrayShowPositions>},
    {IDC_TRAY_SHOW_TEXT, ToggleSetting<&Settings::TrayShowText>},
    {IDC_TRAY_SHOW_HIDING, ToggleSetting<&Settings::TrayShowHiding>},
    {IDC_TRAY_SHOW_HELP, ToggleSetting<&Settings::TrayShowHelp>},
    {IDC_TRAY_SHOW_DANCE, ToggleSetting<&Settings::TrayShowDance>},
    {IDC_RESTORE_POSITIONS, RestorePositions},
    {IDM_RESTORE_POSITIONS, RestorePositions},
    {IDC_SAVE_POSITIONS, SavePositions},
    {IDM_SAVE_POSITIONS, SavePositions},
    {IDC_PER_RESOLUTION, SetShownSetting<&Settings::PerResolutionPositions, 1>},
    {IDC_RELATIVE, SetShownSetting<&Settings::PerResolutionPositions, 0>},
    {IDC_AUTO_RESTORE, ToggleSetting<&Settings::AutoRestorePositions>},
};

} // namespace

bool RunCommand(HWND window, int id, LPARAM lParam) {
    for (const CommandRow& row : kCommands) {
        if (row.id == id) {
            row.run(Command{window, lParam});
            return true;
        }
    }
    return false;
}
