#include "app/commands.h"

#include "app/hiding_controls.h"
#include "app/icon_moves.h"
#include "app/icon_restore.h"
#include "app/page_context.h"
#include "app/position_cycle.h"
#include "app/support_commands.h"
#include "app/test_mode.h"
#include "app/tray_win.h"
#include "app/watchdog.h"
#include "app/window_layout.h"
#include "base/app_state.h"
#include "colours/caption_colors_win.h"
#include "colours/wallpaper_analysis.h"
#include "colours/wallpaper_analysis_win.h"
#include "deskhook/deskhook.h"
#include "deskhook/shared_names.h"
#include "desklink/desk_link.h"
#include "desklink/menu_state.h"
#include "hiding/cursor_tracker_win.h"
#include "hiding/window_fade_win.h"
#include "icons/icon_positions.h"
#include "settings/settings.h"
#include "support/help_pages_win.h"
#include "ui/confirm_exit.h"
#include "ui/hot_keys_win.h"
#include "ui/resource.h"
#include "ui/settings_pages_win.h"
#include "ui/tool_tips.h"

#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

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

// Asked by the desktop's menu, which lets this program take the foreground.
void BringSettingsWindowForward(const Command& command) {
    ShowSettingsWindowInFront(command.window);
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
    FitHeightToButtons(command.window, StatusGap::WhenToggled);
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
    ShowDesktopWindow(DesktopListView(), SW_SHOW);
    RestoreIconsForWindow(command.window);
    RefreshSettingsPage(command.window);
}

void SavePositions(const Command& command) {
    SaveIconPositions(command.window, AutoArrangeQuestion::Ask);
    RefreshSettingsPage(command.window);
}

// ---- Caption colours and desktop colour ---------------------------------------------

constexpr char kDesktopKey[] = "Control Panel\\Desktop";

bool Checked(HWND window, int id) {
    return IsDlgButtonChecked(window, id) == BST_CHECKED;
}

void SetCheck(HWND window, int id, bool on) {
    CheckDlgButton(window, id, on ? BST_CHECKED : BST_UNCHECKED);
}

// As if the wallpaper had changed: the wallpaper worker applies the colours.
void RequestColorRefresh(HWND window) {
    SendMessageA(window, UM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
}

void ShowCaptionBackground(HWND window, bool transparent) {
    g_settings.TransparentText = transparent ? 1 : 0;
    SetCheck(window, IDC_TRANSPARENT, transparent);
    SetCheck(window, IDC_SOLID_COLOR, !transparent);
    RefreshSettingsPage(window);
}

void ChooseTransparent(const Command& command) {
    ShowCaptionBackground(command.window, true);
    SetListTextBackColor(CLR_NONE);
    RequestColorRefresh(command.window);
}

void ChooseSolidColor(const Command& command) {
    ShowCaptionBackground(command.window, false);
    RequestColorRefresh(command.window);
}

void ToggleTransparentBackground(const Command& command) {
    RunCommand(command.window, g_settings.TransparentText == 1 ? IDC_SOLID_COLOR : IDC_TRANSPARENT,
               0);
}

template <int32_t Settings::*field, int id> void StoreCheckBox(const Command& command) {
    g_settings.*field = Checked(command.window, id) ? 1 : 0;
}

void ResampleNow(const Command& command) {
    EnableWindow(GetDlgItem(command.window, IDC_RESAMPLE_NOW), WallpaperWorkerStartCounted());
    RequestResample();
    ShowCaptionBackground(command.window, false);
    RequestColorRefresh(command.window);
}

void SetAutoTextColor(const Command& command) {
    StoreCheckBox<&Settings::AutoTextColor, IDC_AUTO_TEXT_COLOR>(command);
    RequestColorRefresh(command.window);
}

// The three ways of choosing the desktop colour; exactly one is set.
void SetDeskColorChoice(int32_t unchanged, int32_t fromWallpaper, int32_t manual) {
    g_settings.DeskColorUnchanged = unchanged;
    g_settings.DeskColorFromWallpaper = fromWallpaper;
    g_settings.DeskColorManual = manual;
}

void ChooseDeskColorUnchanged(const Command& command) {
    if (g_settings.DeskColorUnchanged == 1)
        return;
    SetDeskColorChoice(1, 0, 0);
    RefreshSettingsPage(command.window);
}

void ChooseDeskColorFromWallpaper(const Command& command) {
    if (g_settings.DeskColorFromWallpaper == 1)
        return;
    SetDeskColorChoice(0, 1, 0);
    RefreshSettingsPage(command.window);
    RequestColorRefresh(command.window);
}

void ChooseDeskColorManual(const Command& command) {
    SetDeskColorChoice(0, 0, 1);
    RefreshSettingsPage(command.window);
    SetDesktopColor(command.window, COLORREF(g_settings.DesktopColor));
}

void ToggleComplementColor(const Command& command) {
    ToggleSetting<&Settings::UseComplementColor>(command);
    SetDesktopColor(command.window, GetSysColor(COLOR_BACKGROUND) ^ 0xFFFFFF);
    if (g_settings.AutoResample == 1 && g_settings.TransparentText == 0)
        RunCommand(command.window, IDC_RESAMPLE_NOW, 0);
}

template <int32_t Settings::*field> void ToggleWallpaperColorOption(const Command& command) {
    ToggleSetting<field>(command);
    RequestColorRefresh(command.window);
}

// Windows reads the wallpaper again, in the layout now in the registry.
void SetWallpaperAgain() {
    std::wstring path = GetWallpaperPath();
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(),
                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
}

void SetKeepAspectRatio(const Command& command) {
    StoreCheckBox<&Settings::KeepAspectRatio, IDC_KEEP_ASPECT_RATIO>(command);
    RefreshSettingsPage(command.window);
    const DWORD style = RegReadDWord(kDesktopKey, "WallpaperStyle");
    if (style == colors::kStyleStretched) {
        if (g_settings.KeepAspectRatio == 1)
            RequestColorRefresh(command.window);
    } else if (style != colors::kTileOn) {
        WriteRegistryString(kDesktopKey, "WallpaperStyle", "2");
        SetWallpaperAgain();
    }
}

void SetStretchInnerDimension(const Command& command) {
    StoreCheckBox<&Settings::StretchInnerDimension, IDC_STRETCH_INNER_DIMENSION>(command);
    RunCommand(command.window, IDC_KEEP_ASPECT_RATIO, 0);
}

// Centred, tiled, stretched, centred, ... The style is read once and then
// only advanced.
void NextBackgroundFormat(const Command& command) {
    static DWORD style = RegReadDWord(kDesktopKey, "WallpaperStyle");
    style = style + 1 > colors::kStyleStretched ? '0' : style + 1;
    const char digit[2] = {char(style), '\0'};
    WriteRegistryString(kDesktopKey, "WallpaperStyle", digit);
    WriteRegistryString(kDesktopKey, "TileWallpaper", style == colors::kTileOn ? "1" : "0");
    SetWallpaperAgain();
    RequestColorRefresh(command.window);
}

// Drop shadows under the captions on or off for the desktop; the poll of
// the setting change notices the result.
template <DWORD on> void SetDropShadows(const Command& command) {
    SetListviewShadow(on);
    SystemParametersInfoA(SPI_SETCURSORSHADOW, 0, reinterpret_cast<void*>(on),
                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, 0, SMTO_NORMAL, 1000, nullptr);
    RefreshSettingsPage(command.window);
}

// ---- Icon hiding, hot corner and window fading ---------------------------------

template <int mode> void SelectHidingMode(const Command& command) {
    SetHidingMode(command.window, mode);
}

// A toggled check box's mark follows its setting, whatever sent the command.
template <int32_t Settings::*field, int id> bool ToggleChecked(const Command& command) {
    g_settings.*field = g_settings.*field ? 0 : 1;
    CheckDlgButton(command.window, id, g_settings.*field ? BST_CHECKED : BST_UNCHECKED);
    return g_settings.*field != 0;
}

template <int32_t Settings::*field> void ToggleHidingDelay(const Command& command) {
    ToggleSetting<field>(command);
    ApplyHidingMode();
    RefreshSettingsPage(command.window);
}

void ToggleShowOnDesktopClick(const Command& command) {
    ToggleSetting<&Settings::ShowOnDesktopClick>(command);
    PublishMenuState(g_settings);
    RefreshSettingsPage(command.window);
}

// Without the submenu the desktop click is the only way back to hidden icons:
// the page may force it on, and publishes it then.
void ToggleContextMenu(const Command& command) {
    ToggleChecked<&Settings::ContextMenu, IDC_CONTEXT_MENU>(command);
    PublishMenuState(g_settings);
    RefreshSettingsPage(command.window);
}

void ToggleHideCursor(const Command& command) {
    ToggleChecked<&Settings::HideCursor, IDC_HIDE_CURSOR>(command);
}

void ToggleHideTaskbar(const Command& command) {
    if (!ToggleChecked<&Settings::HideTaskbar, IDC_HIDE_TASKBAR>(command))
        ShowTaskbar();
    else if (g_settings.HideAlways)
        HideTaskbarWindow();
}

void ToggleHotCorner(const Command& command) {
    ToggleChecked<&Settings::HotCornerEnabled, IDC_HOT_CORNER>(command);
    UpdateTrackingTimer(command.window);
    RefreshSettingsPage(command.window);
}

void ToggleHotCornerWait(const Command& command) {
    ToggleChecked<&Settings::HotCornerWait, IDC_HOT_CORNER_WAIT>(command);
}

template <int32_t corner> void SelectHotCorner(const Command&) {
    g_settings.HotCorner = (g_settings.HotCorner & ~0xFF) | corner;
}

void TakeBossMouseFromItsBox(const Command& command) {
    g_settings.BossMouse = IsDlgButtonChecked(command.window, IDC_BOSS_MOUSE) == BST_CHECKED;
    RefreshSettingsPage(command.window);
}

// Any notification of the list leaves its selection as the action.
void TakeCornerActionFromItsList(const Command& command) {
    const LRESULT selection =
        SendDlgItemMessageA(command.window, IDC_HOT_CORNER_ACTION, CB_GETCURSEL, 0, 0);
    if (selection != CB_ERR)
        g_settings.HotCornerAction = static_cast<int32_t>(selection);
}

void ToggleWindowFading(const Command& command) {
    ToggleSetting<&Settings::WindowFading>(command);
    if (g_settings.WindowFading)
        StartWindowFading(command.window);
    else
        StopWindowFading(command.window);
}

template <IconAlignment layout> void LineIconsUp(const Command& command) {
    AlignIconsForWindow(command.window, layout);
}

void ToggleDance(const Command& command) {
    ToggleDanceForWindow(command.window);
}

// The button is pressed where the desktop can be seen.
void PressDanceButton(const Command& command) {
    ShowDesktopWindow(DesktopListView(), SW_SHOW);
    ToggleDanceForWindow(command.window);
}

// The alignment buttons' commands, by alignment mode.
int AlignmentCommand(IconAlignment alignment) {
    switch (alignment) {
    case IconAlignment::Edge:
        return IDC_ALIGN_EDGE;
    case IconAlignment::Left:
        return IDC_ALIGN_LEFT;
    case IconAlignment::Bottom:
        return IDC_ALIGN_BOTTOM;
    case IconAlignment::Right:
        return IDC_ALIGN_RIGHT;
    case IconAlignment::Top:
        return IDC_ALIGN_TOP;
    }
    return IDC_ALIGN_EDGE;
}

// The Position hot key: the next alignment of the cycle, or the restore that
// ends it.
void CyclePositions(const Command& command) {
    static PositionCycle cycle;
    const PositionStep step = cycle.Next();
    if (step.restore)
        RestorePositions(command);
    else
        SendMessageA(command.window, WM_COMMAND, AlignmentCommand(step.alignment), 0);
}

// The help of the current tab, the FAQ, the home and the donation page.
template <int id> void OpenPage(const Command& command) {
    OpenPageOfCommand(command.window, id, static_cast<int>(CurrentTab()));
}

// The test page's buttons and the tray's "Disable Test Mode".
template <int id> void PressTestPageButton(const Command& command) {
    PressTestButton(command.window, id);
}

void ReportUnknownCommand([[maybe_unused]] int id) {
#ifndef NDEBUG
    char text[64];
    std::snprintf(text, sizeof text, "Tessara: no command has the id %d\n", id);
    OutputDebugStringA(text);
#endif
}

const CommandRow kCommands[] = {
    {IDCANCEL, HideSettingsWindow},
    {IDC_HIDE_WINDOW, HideSettingsWindow},
    {IDM_SHOW_WINDOW, BringSettingsWindowForward},
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
    {IDC_TRANSPARENT, ChooseTransparent},
    {IDC_SOLID_COLOR, ChooseSolidColor},
    {IDM_TRANSPARENT_BACKGROUND, ToggleTransparentBackground},
    {IDC_AUTO_RESAMPLE, StoreCheckBox<&Settings::AutoResample, IDC_AUTO_RESAMPLE>},
    {IDC_RESAMPLE_NOW, ResampleNow},
    {IDM_RESAMPLE_BACKGROUND, ResampleNow},
    {IDC_AUTO_TEXT_COLOR, SetAutoTextColor},
    {IDC_DESK_COLOR_UNCHANGED, ChooseDeskColorUnchanged},
    {IDC_DESK_COLOR_FROM_WALLPAPER, ChooseDeskColorFromWallpaper},
    {IDC_DESK_COLOR_MANUAL, ChooseDeskColorManual},
    {IDC_USE_COMPLEMENT_COLOR, ToggleComplementColor},
    {IDC_IGNORE_SOLID_BORDER, ToggleWallpaperColorOption<&Settings::IgnoreSolidBorder>},
    {IDC_SAMPLE_WHOLE_IMAGE, ToggleWallpaperColorOption<&Settings::SampleWholeImage>},
    {IDC_KEEP_ASPECT_RATIO, SetKeepAspectRatio},
    {IDC_STRETCH_INNER_DIMENSION, SetStretchInnerDimension},
    {IDC_NEXT_BACKGROUND_FORMAT, NextBackgroundFormat},
    {IDC_DISABLE_DROP_SHADOWS, SetDropShadows<0>},
    {IDC_ENABLE_DROP_SHADOWS, SetDropShadows<1>},
    {IDC_HIDE_BY_CURSOR, SelectHidingMode<IDC_HIDE_BY_CURSOR>},
    {IDM_SHOW_ICONS_AS_NEEDED, SelectHidingMode<IDC_HIDE_BY_CURSOR>},
    {IDC_HIDE_ALWAYS, SelectHidingMode<IDC_HIDE_ALWAYS>},
    {IDM_HIDE_ICONS_ALWAYS, SelectHidingMode<IDC_HIDE_ALWAYS>},
    {IDC_NEVER_HIDE, SelectHidingMode<IDC_NEVER_HIDE>},
    {IDM_SHOW_ICONS_ALWAYS, SelectHidingMode<IDC_NEVER_HIDE>},
    {IDC_HIDE_WHEN_OFF_DESKTOP, ToggleHidingDelay<&Settings::HideWhenOffDesktop>},
    {IDC_HIDE_WHEN_ON_DESKTOP, ToggleHidingDelay<&Settings::HideWhenOnDesktop>},
    {IDC_DELAY_SHOW_ON_DESKTOP, ToggleHidingDelay<&Settings::DelayShowOnDesktop>},
    {IDC_SHOW_ON_DESKTOP_CLICK, ToggleShowOnDesktopClick},
    {IDC_HIDE_CURSOR, ToggleHideCursor},
    {IDC_HIDE_TASKBAR, ToggleHideTaskbar},
    {IDC_HOT_CORNER, ToggleHotCorner},
    {IDC_HOT_CORNER_WAIT, ToggleHotCornerWait},
    {IDC_CORNER_UPPER_LEFT, SelectHotCorner<0>},
    {IDC_CORNER_UPPER_RIGHT, SelectHotCorner<1>},
    {IDC_CORNER_LOWER_LEFT, SelectHotCorner<2>},
    {IDC_CORNER_LOWER_RIGHT, SelectHotCorner<3>},
    {IDC_BOSS_MOUSE, TakeBossMouseFromItsBox},
    {IDC_HOT_CORNER_ACTION, TakeCornerActionFromItsList},
    {IDC_WINDOW_FADING, ToggleWindowFading},
    {IDM_CYCLE_POSITIONS, CyclePositions},
    {IDC_ALIGN_EDGE, LineIconsUp<IconAlignment::Edge>},
    {IDC_ALIGN_LEFT, LineIconsUp<IconAlignment::Left>},
    {IDC_ALIGN_BOTTOM, LineIconsUp<IconAlignment::Bottom>},
    {IDC_ALIGN_RIGHT, LineIconsUp<IconAlignment::Right>},
    {IDC_ALIGN_TOP, LineIconsUp<IconAlignment::Top>},
    {IDM_ICON_DANCE, ToggleDance},
    {IDC_DANCE, PressDanceButton},
    {IDC_EXPORT_SETTINGS, [](const Command& c) { ExportSettings(c.window); }},
    {IDC_IMPORT_SETTINGS, [](const Command& c) { ImportSettings(c.window); }},
    {IDC_CHECK_VERSION, [](const Command& c) { CheckForNewVersion(c.window); }},
    {IDC_EMAIL_SUPPORT, [](const Command& c) { EmailSupportWithReport(c.window); }},
    {IDC_CONTEXT_MENU, ToggleContextMenu},
    {IDC_HELP_BUTTON, OpenPage<IDC_HELP_BUTTON>},
    {IDC_FAQ_LINK, OpenPage<IDC_FAQ_LINK>},
    {IDC_WEB_PAGE_LINK, OpenPage<IDC_WEB_PAGE_LINK>},
    {IDM_WEB_PAGE, OpenPage<IDM_WEB_PAGE>},
    {IDM_DONATE, OpenPage<IDM_DONATE>},
    {IDC_TEST_RELOAD, PressTestPageButton<IDC_TEST_RELOAD>},
    {IDC_TEST_START, PressTestPageButton<IDC_TEST_START>},
    {IDC_TEST_BROADCAST, PressTestPageButton<IDC_TEST_BROADCAST>},
    {IDC_TEST_PREVIOUS, PressTestPageButton<IDC_TEST_PREVIOUS>},
    {IDC_TEST_NEXT, PressTestPageButton<IDC_TEST_NEXT>},
    {IDC_TEST_RANDOM, PressTestPageButton<IDC_TEST_RANDOM>},
    {IDC_TEST_EXIT, PressTestPageButton<IDC_TEST_EXIT>},
    {IDC_TEST_RESET, PressTestPageButton<IDC_TEST_RESET>},
    {IDC_TEST_CENTER, PressTestPageButton<IDC_TEST_CENTER>},
    {IDC_TEST_TILE, PressTestPageButton<IDC_TEST_TILE>},
    {IDC_TEST_STRETCH, PressTestPageButton<IDC_TEST_STRETCH>},
    {IDC_TEST_NONE, PressTestPageButton<IDC_TEST_NONE>},
    {IDM_LEAVE_TEST_MODE, PressTestPageButton<IDM_LEAVE_TEST_MODE>},
};

} // namespace

bool RunCommand(HWND window, int id, LPARAM lParam) {
    for (const CommandRow& row : kCommands) {
        if (row.id == id) {
            row.run(Command{window, lParam});
            return true;
        }
    }
    ReportUnknownCommand(id);
    return false;
}
