#include <optional>

#include "ui/resource.h"
#include "ui/settings_pages.h"

namespace {

enum class ShownWhen {
    Always,
    Never,
    NoDropShadows,
    NoDropShadowsOnXP,
    NoDropShadowsActiveDesktop,
    DropShadows,
    HidingByCursor,
    HidingAlways,
    NeverHiding,
    ActiveDesktop,
    NoShowHideHotKey,
    Windows2000,
    NoTrayIcon,
    TestMode,
    SlideShowRunning,
};

struct VisibilityRule {
    std::optional<SettingsTab> page; // none: whatever the page
    ShownWhen when;
    std::vector<int> ids;
};

const std::vector<VisibilityRule>& VisibilityRules() {
    using T = SettingsTab;
    using W = ShownWhen;
    static const std::vector<VisibilityRule> rules = {
        {T::Colors,
         W::NoDropShadows,
         {IDC_TEXT_COLOR_BOX, IDC_TRANSPARENT, IDC_SOLID_COLOR, IDC_BACK_COLOR_BOX,
          IDC_AUTO_RESAMPLE, IDC_RESAMPLE_NOW, IDC_TEXT_COLOR_LABEL, IDC_ICON_BACKGROUND_LABEL,
          IDC_SAMPLE_TEXT, IDC_SAMPLE, IDC_SAMPLE_ICON, IDC_ICON_TEXT_GROUP, IDC_AUTO_TEXT_COLOR}},
        {T::Colors, W::NoDropShadowsOnXP, {IDC_ENABLE_DROP_SHADOWS}},
        {T::Colors, W::NoDropShadowsActiveDesktop, {IDC_ACTIVE_DESKTOP_NOTE}},
        {T::Colors,
         W::DropShadows,
         {IDC_DROP_SHADOW_NOTE, IDC_DROP_SHADOW_OR, IDC_DISABLE_DROP_SHADOWS}},
        {T::Hiding,
         W::Always,
         {IDC_HIDE_BY_CURSOR, IDC_HIDE_ALWAYS, IDC_NEVER_HIDE, IDC_ICON_HIDING_GROUP,
          IDC_HIDE_CURSOR, IDC_HIDE_TASKBAR, IDC_HIDE_ALL_WINDOWS_GROUP, IDC_HOT_CORNER,
          IDC_CORNER_UPPER_LEFT, IDC_CORNER_UPPER_RIGHT, IDC_CORNER_LOWER_LEFT,
          IDC_CORNER_LOWER_RIGHT, IDC_HOT_CORNER_WAIT, IDC_BOSS_MOUSE, IDC_HOT_CORNER_ACTION,
          IDC_DELAY_TIMES_GROUP}},
        {T::Hiding,
         W::HidingByCursor,
         {IDC_HIDE_WHEN_OFF_DESKTOP, IDC_HIDE_WHEN_ON_DESKTOP, IDC_DELAY_SHOW_ON_DESKTOP,
          IDC_HIDE_OFF_DESKTOP_DELAY, IDC_HIDE_ON_DESKTOP_DELAY, IDC_SHOW_DELAY,
          IDC_HIDE_OFF_DESKTOP_DELAY_MIN, IDC_HIDE_OFF_DESKTOP_DELAY_MAX,
          IDC_HIDE_ON_DESKTOP_DELAY_MIN, IDC_HIDE_ON_DESKTOP_DELAY_MAX, IDC_SHOW_DELAY_MAX,
          IDC_SHOW_DELAY_MIN, IDC_HIDE_OFF_DESKTOP_DELAY_VALUE, IDC_HIDE_ON_DESKTOP_DELAY_VALUE,
          IDC_SHOW_DELAY_VALUE}},
        {T::Hiding,
         W::HidingAlways,
         {IDC_SHOW_ON_DESKTOP_CLICK, IDC_CLICK_SHOW_TIME, IDC_CLICK_SHOW_TIME_MIN,
          IDC_CLICK_SHOW_TIME_MAX, IDC_CLICK_SHOW_TIME_VALUE, IDC_CLICK_SHOW_NOTE}},
        {T::Hiding, W::NeverHiding, {IDC_NEVER_HIDE_NOTE}},
        {T::Positions,
         W::Always,
         {IDC_POSITIONING_METHOD_GROUP, IDC_PER_RESOLUTION, IDC_RELATIVE, IDC_SAVE_POSITIONS,
          IDC_RESTORE_GROUP, IDC_RESTORE_POSITIONS, IDC_AUTO_RESTORE, IDC_SPECIAL_PLACEMENTS_GROUP,
          IDC_ALIGN_EDGE, IDC_ALIGN_TOP, IDC_ALIGN_BOTTOM, IDC_ALIGN_LEFT, IDC_ALIGN_RIGHT}},
        {T::Desktop,
         W::Always,
         {IDC_DESKTOP_COLOR_GROUP, IDC_DESK_COLOR_UNCHANGED, IDC_DESK_COLOR_MANUAL,
          IDC_DESKTOP_COLOR_BOX, IDC_DESK_COLOR_FROM_WALLPAPER, IDC_USE_COMPLEMENT_COLOR,
          IDC_IGNORE_SOLID_BORDER, IDC_SAMPLE_WHOLE_IMAGE, IDC_DESKTOP_COLOR_TEXT,
          IDC_KEEP_ASPECT_RATIO, IDC_STRETCH_INNER_DIMENSION}},
        {T::Desktop, W::ActiveDesktop, {IDC_ACTIVE_DESKTOP_WARNING}},
        {T::Tray,
         W::Always,
         {IDC_TRAY_GROUP, IDC_SHOW_TRAY_ICON, IDC_TRAY_SHOW_HELP, IDC_TRAY_SHOW_POSITIONS,
          IDC_TRAY_SHOW_DANCE, IDC_DANCE, IDC_DANCE_PAREN, IDC_TRAY_SHOW_TEXT,
          IDC_TRAY_SHOW_HIDING}},
        {T::Tray, W::NoShowHideHotKey, {IDC_NO_HOTKEY_NOTE}},
        {T::Options,
         W::Always,
         {IDC_OPTIONS_GROUP, IDC_START_WITH_WINDOWS, IDC_HIDE_WHEN_STARTED, IDC_SHOW_TOOL_TIPS,
          IDC_CONTEXT_MENU, IDC_SELECT_HOTKEYS, IDC_CLOSE_ACTION_GROUP, IDC_CLOSE_PROMPT,
          IDC_CLOSE_EXIT, IDC_CLOSE_HIDE, IDC_EXPORT_SETTINGS, IDC_IMPORT_SETTINGS}},
        {T::Options, W::Windows2000, {IDC_WINDOW_FADING}},
        {T::Options, W::NoTrayIcon, {IDC_NO_TRAY_ICON_NOTE}},
        {T::About, W::Always, {IDC_ABOUT_AREA}},
        {T::Test,
         W::Always,
         {IDC_TEST_FILES, IDC_TEST_LABEL, IDC_TEST_START, IDC_TEST_RELOAD, IDC_TEST_PREVIEW,
          IDC_TEST_FILE_INFO, IDC_TEST_BROADCAST, IDC_TEST_INTERVAL, IDC_TEST_INTERVAL_VALUE,
          IDC_TEST_FOLDER}},
        // The slide show's countdown; stopping the show hides it.
        {T::Test, W::SlideShowRunning, {IDC_TEST_PROGRESS}},
        {std::nullopt,
         W::TestMode,
         {IDC_TEST_PREVIOUS, IDC_TEST_NEXT, IDC_TEST_RANDOM, IDC_TEST_EXIT, IDC_TEST_RESET,
          IDC_TEST_CENTER, IDC_TEST_TILE, IDC_TEST_STRETCH, IDC_TEST_NONE}},
        {std::nullopt,
         W::Never,
         {IDC_COLOR_BOX_HINT, IDC_CLICK_COUNTDOWN_TEXT, IDC_CLICK_COUNTDOWN_BAR, IDC_ABOUT_TITLE,
          IDC_ABOUT_ICON, IDC_ABOUT_NAME, IDC_ABOUT_UNUSED, IDC_FRAME_ABOUT, IDC_ABOUT_LICENCE,
          IDC_ABOUT_TEXT, IDC_ABOUT_LEGAL, IDC_ABOUT_VERSION, IDC_CHECK_VERSION, IDC_EMAIL_SUPPORT,
          IDC_DONATE_BUTTON}},
    };
    return rules;
}

bool Holds(ShownWhen when, const Settings& s, const PageContext& c) {
    switch (when) {
    case ShownWhen::Always:
        return true;
    case ShownWhen::Never:
        return false;
    case ShownWhen::NoDropShadows:
        return !c.dropShadowsOn;
    case ShownWhen::NoDropShadowsOnXP:
        return !c.dropShadowsOn && c.windowsXPOrLater;
    case ShownWhen::NoDropShadowsActiveDesktop:
        return !c.dropShadowsOn && c.activeDesktop;
    case ShownWhen::DropShadows:
        return c.dropShadowsOn;
    case ShownWhen::HidingByCursor:
        return s.HideByCursor == 1;
    case ShownWhen::HidingAlways:
        return s.HideAlways == 1;
    case ShownWhen::NeverHiding:
        return s.HideByCursor == 0 && s.HideAlways == 0;
    case ShownWhen::ActiveDesktop:
        return c.activeDesktop;
    case ShownWhen::NoShowHideHotKey:
        return !c.showHideHotKeyActive;
    case ShownWhen::Windows2000:
        return c.windows2000OrLater;
    case ShownWhen::NoTrayIcon:
        return s.ShowTrayIcon == 0;
    case ShownWhen::TestMode:
        return c.testMode;
    case ShownWhen::SlideShowRunning:
        return c.slideShowRunning;
    }
    return false;
}

} // namespace

std::vector<ControlUpdate> PageVisibility(const Settings& live, const PageContext& context,
                                          SettingsTab current) {
    std::vector<ControlUpdate> updates;
    for (const VisibilityRule& rule : VisibilityRules()) {
        bool onThisPage = !rule.page || *rule.page == current;
        bool shown = onThisPage && Holds(rule.when, live, context);
        for (int id : rule.ids)
            updates.push_back({id, ControlAspect::Shown, shown});
    }
    return updates;
}
