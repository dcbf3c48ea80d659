#include <initializer_list>

#include "ui/resource.h"
#include "ui/settings_pages.h"

namespace {

void SetAll(std::vector<ControlUpdate>& updates, ControlAspect aspect,
            std::initializer_list<int> ids, bool on) {
    for (int id : ids)
        updates.push_back({id, aspect, on});
}

void Enable(std::vector<ControlUpdate>& updates, std::initializer_list<int> ids, bool on) {
    SetAll(updates, ControlAspect::Enabled, ids, on);
}

void EnableColorsPage(std::vector<ControlUpdate>& u, const Settings& s, const PageContext& c) {
    Enable(u, {IDC_AUTO_TEXT_COLOR, IDC_TRANSPARENT, IDC_RESAMPLE_NOW}, !c.activeDesktop);
    Enable(u, {IDC_AUTO_RESAMPLE}, s.TransparentText == 0 && !c.activeDesktop);
    SetAll(u, ControlAspect::Shown, {IDC_ACTIVE_DESKTOP_NOTE}, c.activeDesktop && !c.dropShadowsOn);
}

void EnableDelaySliders(std::vector<ControlUpdate>& u, const CheckedBoxes& checks) {
    Enable(u, {IDC_HIDE_WHEN_OFF_DESKTOP, IDC_HIDE_WHEN_ON_DESKTOP}, true);
    Enable(u,
           {IDC_HIDE_OFF_DESKTOP_DELAY, IDC_HIDE_OFF_DESKTOP_DELAY_MIN,
            IDC_HIDE_OFF_DESKTOP_DELAY_MAX, IDC_HIDE_OFF_DESKTOP_DELAY_VALUE},
           checks.hideWhenOffDesktop);
    Enable(u,
           {IDC_HIDE_ON_DESKTOP_DELAY, IDC_HIDE_ON_DESKTOP_DELAY_MIN, IDC_HIDE_ON_DESKTOP_DELAY_MAX,
            IDC_HIDE_ON_DESKTOP_DELAY_VALUE},
           checks.hideWhenOnDesktop);
    Enable(u, {IDC_SHOW_DELAY, IDC_SHOW_DELAY_MIN, IDC_SHOW_DELAY_MAX, IDC_SHOW_DELAY_VALUE},
           checks.delayShowOnDesktop);
}

// Without the context menu entries, a desktop click is the only way to bring
// hidden icons back, so it is forced on before the panel is enabled from it.
void EnableClickToShow(std::vector<ControlUpdate>& u, Settings& s, const CheckedBoxes& checks) {
    bool clickShows = checks.showOnDesktopClick;
    if (s.ContextMenu == 0) {
        s.ShowOnDesktopClick = 1;
        u.push_back({IDC_SHOW_ON_DESKTOP_CLICK, ControlAspect::Checked, true});
        clickShows = true;
    }
    Enable(u,
           {IDC_CLICK_SHOW_TIME, IDC_CLICK_SHOW_TIME_MIN, IDC_CLICK_SHOW_TIME_MAX,
            IDC_CLICK_SHOW_TIME_VALUE, IDC_CLICK_SHOW_NOTE},
           clickShows);
    Enable(u, {IDC_SHOW_ON_DESKTOP_CLICK}, s.ContextMenu == 1);
}

void EnableHidingPage(std::vector<ControlUpdate>& u, Settings& s, const CheckedBoxes& checks) {
    if (s.HideByCursor == 1)
        EnableDelaySliders(u, checks);
    else if (s.HideAlways == 1)
        EnableClickToShow(u, s, checks);
    s.BossMouse = checks.bossMouse ? 1 : 0;
    bool cornerOn = s.HotCornerEnabled == 1;
    Enable(u,
           {IDC_CORNER_UPPER_LEFT, IDC_CORNER_UPPER_RIGHT, IDC_CORNER_LOWER_LEFT,
            IDC_CORNER_LOWER_RIGHT, IDC_HOT_CORNER_WAIT},
           cornerOn && s.BossMouse == 0);
    Enable(u, {IDC_BOSS_MOUSE, IDC_HOT_CORNER_ACTION}, cornerOn);
}

void EnableDesktopPage(std::vector<ControlUpdate>& u, const Settings& s, const PageContext& c) {
    Enable(u, {IDC_USE_COMPLEMENT_COLOR, IDC_IGNORE_SOLID_BORDER, IDC_SAMPLE_WHOLE_IMAGE},
           s.DeskColorFromWallpaper == 1);
    Enable(u, {IDC_KEEP_ASPECT_RATIO}, !c.activeDesktop);
    Enable(u, {IDC_STRETCH_INNER_DIMENSION}, s.KeepAspectRatio == 1 && !c.activeDesktop);
    SetAll(u, ControlAspect::Shown, {IDC_ACTIVE_DESKTOP_WARNING}, c.activeDesktop);
    SetAll(u, ControlAspect::Checked, {IDC_DESK_COLOR_UNCHANGED}, s.DeskColorUnchanged != 0);
    SetAll(u, ControlAspect::Checked, {IDC_DESK_COLOR_FROM_WALLPAPER},
           s.DeskColorFromWallpaper != 0);
    SetAll(u, ControlAspect::Checked, {IDC_DESK_COLOR_MANUAL}, s.DeskColorManual != 0);
}

// Shared by the Positions and Tray pages.
void EnablePositionButtons(std::vector<ControlUpdate>& u, const PageContext& c) {
    Enable(u,
           {IDC_RESTORE_POSITIONS, IDC_AUTO_RESTORE, IDC_ALIGN_EDGE, IDC_ALIGN_TOP,
            IDC_ALIGN_BOTTOM, IDC_ALIGN_LEFT, IDC_ALIGN_RIGHT},
           !c.autoArrange);
    Enable(u, {IDC_PER_RESOLUTION, IDC_RELATIVE, IDC_SAVE_POSITIONS},
           !c.danceRunning && !c.temporarilyMoved);
}

void EnableTrayPage(std::vector<ControlUpdate>& u, const Settings& s, const PageContext& c) {
    bool trayIcon = s.ShowTrayIcon == 1;
    Enable(u, {IDC_TRAY_SHOW_HELP, IDC_TRAY_SHOW_HIDING, IDC_TRAY_SHOW_TEXT}, trayIcon);
    Enable(u, {IDC_TRAY_SHOW_POSITIONS}, trayIcon && !c.temporarilyMoved);
    Enable(u, {IDC_TRAY_SHOW_DANCE, IDC_DANCE, IDC_DANCE_PAREN},
           trayIcon && !c.activeDesktop && s.TrayShowPositions == 1);
    EnablePositionButtons(u, c);
}

} // namespace

CheckedBoxes ChecksFromSettings(const Settings& live) {
    CheckedBoxes checks;
    checks.hideWhenOffDesktop = live.HideWhenOffDesktop != 0;
    checks.hideWhenOnDesktop = live.HideWhenOnDesktop != 0;
    checks.delayShowOnDesktop = live.DelayShowOnDesktop != 0;
    checks.showOnDesktopClick = live.ShowOnDesktopClick != 0;
    checks.bossMouse = live.BossMouse != 0;
    checks.neverHide = live.HideByCursor == 0 && live.HideAlways == 0;
    return checks;
}

PageEnabling DecidePageEnabling(Settings& live, const PageContext& context,
                                const CheckedBoxes& checks, SettingsTab current) {
    PageEnabling result;
    std::vector<ControlUpdate>& u = result.updates;
    if (context.activeDesktop && live.TransparentText == 1) {
        u.push_back({IDC_TRANSPARENT, ControlAspect::Checked, false});
        u.push_back({IDC_SOLID_COLOR, ControlAspect::Checked, true});
        result.sendSolidColorCommand = true;
    }
    switch (current) {
    case SettingsTab::Colors:
        EnableColorsPage(u, live, context);
        break;
    case SettingsTab::Hiding:
        EnableHidingPage(u, live, checks);
        break;
    case SettingsTab::Positions:
        EnablePositionButtons(u, context);
        break;
    case SettingsTab::Desktop:
        EnableDesktopPage(u, live, context);
        break;
    case SettingsTab::Tray:
        EnableTrayPage(u, live, context);
        break;
    case SettingsTab::Options:
    case SettingsTab::About:
    case SettingsTab::Test:
        break;
    }
    return result;
}
