#include "ui/tab_defaults.h"

#include "ui/resource.h"

#include <cstdint>
#include <initializer_list>

namespace {

using Field = int32_t Settings::*;

void CopyFields(Settings& live, const Settings& defaults, std::initializer_list<Field> fields) {
    for (Field field : fields)
        live.*field = defaults.*field;
}

// Only the low byte of HotCorner holds the corner.
void CopyHotCorner(Settings& live, const Settings& defaults) {
    live.HotCorner = (live.HotCorner & ~0xFF) | (defaults.HotCorner & 0xFF);
}

void ResetColors(Settings& live, const Settings& d) {
    CopyFields(live, d,
               {&Settings::TextBackColor, &Settings::TextColor, &Settings::TransparentText,
                &Settings::AutoResample, &Settings::AutoTextColor});
}

void ResetHiding(Settings& live, const Settings& d) {
    CopyFields(live, d,
               {&Settings::HideByCursor, &Settings::HideAlways, &Settings::HideWhenOnDesktop,
                &Settings::HideWhenOffDesktop, &Settings::DelayShowOnDesktop,
                &Settings::ShowOnDesktopClick, &Settings::HideOnDesktopDelay,
                &Settings::HideOffDesktopDelay, &Settings::ShowDelay, &Settings::ClickShowTime,
                &Settings::HotCornerEnabled, &Settings::HotCornerWait, &Settings::BossMouse,
                &Settings::HotCornerAction, &Settings::HideCursor, &Settings::HideTaskbar});
    CopyHotCorner(live, d);
}

void ResetPositions(Settings& live, const Settings& d) {
    CopyFields(live, d, {&Settings::PerResolutionPositions, &Settings::AutoRestorePositions});
}

void ResetDesktop(Settings& live, const Settings& d) {
    CopyFields(live, d,
               {&Settings::UseComplementColor, &Settings::DeskColorFromWallpaper,
                &Settings::IgnoreSolidBorder, &Settings::SampleWholeImage,
                &Settings::DeskColorManual, &Settings::DeskColorUnchanged,
                &Settings::DesktopColor});
}

void ResetTray(Settings& live, const Settings& d) {
    CopyFields(live, d,
               {&Settings::ShowTrayIcon, &Settings::TrayShowPositions, &Settings::TrayShowHiding,
                &Settings::TrayShowText, &Settings::TrayShowHelp, &Settings::TrayShowDance});
}

void ResetOptions(Settings& live, const Settings& d) {
    CopyFields(live, d,
               {&Settings::StartWithWindows, &Settings::HideWhenStarted, &Settings::ShowToolTips,
                &Settings::HotKeyShowHideOn, &Settings::HotKeyShowIconsOn,
                &Settings::HotKeyShowHide, &Settings::HotKeyShowIcons, &Settings::ExitPrompt,
                &Settings::ExitHides, &Settings::TrayShowDance, &Settings::WindowFading,
                &Settings::ContextMenu});
}

void ResetFields(Settings& live, const Settings& d, SettingsTab current) {
    switch (current) {
    case SettingsTab::Colors:
        ResetColors(live, d);
        break;
    case SettingsTab::Hiding:
        ResetHiding(live, d);
        break;
    case SettingsTab::Positions:
        ResetPositions(live, d);
        break;
    case SettingsTab::Desktop:
        ResetDesktop(live, d);
        break;
    case SettingsTab::Tray:
        ResetTray(live, d);
        break;
    case SettingsTab::Options:
        ResetOptions(live, d);
        break;
    case SettingsTab::About:
        live = d;
        break;
    case SettingsTab::Test:
        break;
    }
}

// Puts the old value back when the reset changed it; true when it did.
bool KeepForItsCommand(int32_t& field, int32_t before) {
    bool changed = field != before;
    field = before;
    return changed;
}

} // namespace

int HidingModeCommand(const Settings& s) {
    if (s.HideAlways)
        return IDC_HIDE_ALWAYS;
    return s.HideByCursor ? IDC_HIDE_BY_CURSOR : IDC_NEVER_HIDE;
}

TabReset ResetTabFields(Settings& live, const Settings& defaults, SettingsTab current) {
    const Settings before = live;
    ResetFields(live, defaults, current);

    TabReset reset;
    reset.sendShowTrayIconCommand = KeepForItsCommand(live.ShowTrayIcon, before.ShowTrayIcon);
    reset.sendShowToolTipsCommand = KeepForItsCommand(live.ShowToolTips, before.ShowToolTips);
    reset.sendWindowFadingCommand = KeepForItsCommand(live.WindowFading, before.WindowFading);
    reset.sendHidingModeCommand = HidingModeCommand(live) != HidingModeCommand(before);
    reset.registerHotKeys = current == SettingsTab::Options || current == SettingsTab::About;
    reset.repaintDesktopColorBox = current == SettingsTab::Desktop;
    return reset;
}
