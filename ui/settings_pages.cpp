#include "ui/settings_pages.h"

#include "ui/resource.h"
#include "ui/sliders.h"

namespace {

// A check box or radio button that mirrors one field: checked when the field
// is set (or, with `whenSet` false, when it is 0).
struct CheckRule {
    int id;
    int32_t Settings::*field;
    bool whenSet;
};

const CheckRule kCheckRules[] = {
    {IDC_TRANSPARENT, &Settings::TransparentText, true},
    {IDC_SOLID_COLOR, &Settings::TransparentText, false},
    {IDC_AUTO_RESAMPLE, &Settings::AutoResample, true},
    {IDC_AUTO_TEXT_COLOR, &Settings::AutoTextColor, true},
    {IDC_HIDE_BY_CURSOR, &Settings::HideByCursor, true},
    {IDC_HIDE_ALWAYS, &Settings::HideAlways, true},
    {IDC_HIDE_WHEN_OFF_DESKTOP, &Settings::HideWhenOffDesktop, true},
    {IDC_HIDE_WHEN_ON_DESKTOP, &Settings::HideWhenOnDesktop, true},
    {IDC_DELAY_SHOW_ON_DESKTOP, &Settings::DelayShowOnDesktop, true},
    {IDC_SHOW_ON_DESKTOP_CLICK, &Settings::ShowOnDesktopClick, true},
    {IDC_HIDE_CURSOR, &Settings::HideCursor, true},
    {IDC_HIDE_TASKBAR, &Settings::HideTaskbar, true},
    {IDC_HOT_CORNER, &Settings::HotCornerEnabled, true},
    {IDC_HOT_CORNER_WAIT, &Settings::HotCornerWait, true},
    {IDC_BOSS_MOUSE, &Settings::BossMouse, true},
    {IDC_AUTO_RESTORE, &Settings::AutoRestorePositions, true},
    {IDC_PER_RESOLUTION, &Settings::PerResolutionPositions, true},
    {IDC_RELATIVE, &Settings::PerResolutionPositions, false},
    {IDC_USE_COMPLEMENT_COLOR, &Settings::UseComplementColor, true},
    {IDC_IGNORE_SOLID_BORDER, &Settings::IgnoreSolidBorder, true},
    {IDC_SAMPLE_WHOLE_IMAGE, &Settings::SampleWholeImage, true},
    {IDC_KEEP_ASPECT_RATIO, &Settings::KeepAspectRatio, true},
    {IDC_SHOW_TRAY_ICON, &Settings::ShowTrayIcon, true},
    {IDC_TRAY_SHOW_HIDING, &Settings::TrayShowHiding, true},
    {IDC_TRAY_SHOW_TEXT, &Settings::TrayShowText, true},
    {IDC_TRAY_SHOW_HELP, &Settings::TrayShowHelp, true},
    {IDC_TRAY_SHOW_POSITIONS, &Settings::TrayShowPositions, true},
    {IDC_TRAY_SHOW_DANCE, &Settings::TrayShowDance, true},
    {IDC_START_WITH_WINDOWS, &Settings::StartWithWindows, true},
    {IDC_HIDE_WHEN_STARTED, &Settings::HideWhenStarted, true},
    {IDC_SHOW_TOOL_TIPS, &Settings::ShowToolTips, true},
    {IDC_WINDOW_FADING, &Settings::WindowFading, true},
    {IDC_CONTEXT_MENU, &Settings::ContextMenu, true},
    {IDC_CLOSE_PROMPT, &Settings::ExitPrompt, true},
    {IDC_CLOSE_HIDE, &Settings::ExitHides, true},
};

// In the order of the low byte of HotCorner.
const int kCornerRadios[] = {IDC_CORNER_UPPER_LEFT, IDC_CORNER_UPPER_RIGHT, IDC_CORNER_LOWER_LEFT,
                             IDC_CORNER_LOWER_RIGHT};

const TabInfo kTabs[] = {
    {"Colors", " Set desktop icon text and background colors"},
    {"Hiding", " Automatically hide icons and windows based on cursor position"},
    {"Positions", " Save, restore and maintain desktop icon positions"},
    {"Desktop", " Set desktop color when wallpaper is smaller than the screen"},
    {"Tray", " Setup the Tessara menu in the system tray"},
    {"Options", " Alter miscellaneous options for Tessara"},
    {"About", " Version information and automated update check"},
    {"[ Test ]", " Options for development purposes only"},
};

bool NeverHides(const Settings& s) {
    return s.HideByCursor == 0 && s.HideAlways == 0;
}

void AddCheckStates(std::vector<ControlUpdate>& u, const Settings& s) {
    for (const CheckRule& rule : kCheckRules)
        u.push_back({rule.id, ControlAspect::Checked, (s.*rule.field != 0) == rule.whenSet});
    u.push_back({IDC_NEVER_HIDE, ControlAspect::Checked, NeverHides(s)});
    u.push_back({IDC_CLOSE_EXIT, ControlAspect::Checked, s.ExitPrompt == 0 && s.ExitHides == 0});
    int corner = s.HotCorner & 0xFF;
    for (int i = 0; i < 4; ++i)
        u.push_back({kCornerRadios[i], ControlAspect::Checked, i == corner});
}

// "Prompt" wins over "Hide", so that at most one close action radio is checked.
void AddCloseActionRadios(std::vector<ControlUpdate>& u, Settings& s) {
    if (s.ExitPrompt == 1)
        s.ExitHides = 0;
    u.push_back({IDC_CLOSE_PROMPT, ControlAspect::Checked, s.ExitPrompt == 1});
    u.push_back({IDC_CLOSE_HIDE, ControlAspect::Checked, s.ExitPrompt != 1 && s.ExitHides == 1});
    u.push_back({IDC_CLOSE_EXIT, ControlAspect::Checked, s.ExitPrompt != 1 && s.ExitHides != 1});
}

std::vector<CaptionUpdate> SliderCaptions(const Settings& s) {
    std::vector<CaptionUpdate> captions;
    for (const Slider& slider : SettingsSliders())
        captions.push_back({slider.valueLabelId, SliderValueText(slider, s.*slider.field)});
    return captions;
}

const char* SaveButtonCaption(const Settings& s) {
    return s.PerResolutionPositions == 1 ? "Save Icon Positions (For this resolution)"
                                         : "Save Icon Positions (Relative)";
}

} // namespace

const TabInfo& TabInfoOf(SettingsTab tab) {
    return kTabs[static_cast<int>(tab)];
}

bool NeedsReloadBeforeShowing(const Settings& live) {
    return live.RecordSize != kSettingsRecordSize || live.LoadMark != kSettingsLoadMark;
}

PageView DecidePageView(Settings& live, const PageContext& context, CheckedBoxes checks,
                        SettingsTab current) {
    PageView view;
    view.updates = PageVisibility(live, context, current);
    view.captions = SliderCaptions(live);
    std::vector<ControlUpdate>& u = view.updates;

    bool hidingPage = current == SettingsTab::Hiding;
    u.push_back({IDC_HIDE_CURSOR, ControlAspect::Checked, live.HideCursor != 0});
    u.push_back({IDC_SHOW_ON_DESKTOP_CLICK, ControlAspect::Checked, live.ShowOnDesktopClick != 0});
    checks.showOnDesktopClick = live.ShowOnDesktopClick != 0;
    u.push_back({IDC_HIDE_CURSOR, ControlAspect::Enabled, hidingPage && !checks.neverHide});
    u.push_back({IDC_HIDE_TASKBAR, ControlAspect::Enabled, hidingPage && !checks.neverHide});
    u.push_back(
        {IDC_HIDE_WHEN_OFF_DESKTOP, ControlAspect::Enabled, hidingPage && live.HideByCursor == 1});

    bool iconsInPlace = !context.danceRunning && !context.temporarilyMoved;
    view.captions.push_back({IDC_SAVE_POSITIONS, SaveButtonCaption(live)});
    u.push_back({IDC_SAVE_POSITIONS, ControlAspect::Enabled, iconsInPlace});

    view.captions.push_back({IDC_DANCE, context.danceRunning ? "X" : "?"});
    u.push_back({IDC_SHOW_TRAY_ICON, ControlAspect::Enabled, context.showHideHotKeyActive});
    u.push_back({IDC_CONTEXT_MENU, ControlAspect::Enabled,
                 live.ShowOnDesktopClick == 1 || live.HideAlways == 0});

    AddCloseActionRadios(u, live);
    u.push_back({IDC_KEEP_ASPECT_RATIO, ControlAspect::Checked, live.KeepAspectRatio != 0});
    u.push_back(
        {IDC_STRETCH_INNER_DIMENSION, ControlAspect::Checked, live.StretchInnerDimension != 0});

    bool aboutPage = current == SettingsTab::About;
    view.aboutTimersRun = aboutPage;
    view.captions.push_back({IDC_TAB_DEFAULTS, aboutPage ? "&Reset All" : "&Reset Tab"});
    view.statusText = TabInfoOf(current).statusText;
    view.enabling = DecidePageEnabling(live, context, checks, current);
    return view;
}

LoadedControls DecideLoadedControls(Settings& live, const PageContext& context) {
    if (live.HideByCursor == 1 && live.HideAlways == 1) {
        live.HideByCursor = 0;
        live.HideAlways = 0;
    }
    if (!context.showHideHotKeyActive)
        live.ShowTrayIcon = 1;

    LoadedControls loaded;
    std::vector<ControlUpdate>& u = loaded.updates;
    AddCheckStates(u, live);
    loaded.hotCornerAction = live.HotCornerAction;
    u.push_back({IDC_TEXT_COLOR_BOX, ControlAspect::Enabled, false});
    u.push_back({IDC_BACK_COLOR_BOX, ControlAspect::Enabled, false});
    u.push_back({IDC_AUTO_RESAMPLE, ControlAspect::Enabled,
                 live.TransparentText == 0 && !context.activeDesktop});
    u.push_back({IDC_SHOW_TRAY_ICON, ControlAspect::Enabled, context.showHideHotKeyActive});
    return loaded;
}
