#include "ui/resource.h"
#include "ui/settings_pages.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

const SettingsTab kAllTabs[] = {SettingsTab::Colors,  SettingsTab::Hiding, SettingsTab::Positions,
                                SettingsTab::Desktop, SettingsTab::Tray,   SettingsTab::Options,
                                SettingsTab::About,   SettingsTab::Test};

// The state a control ends in when the updates are applied in order.
std::optional<bool> Final(const std::vector<ControlUpdate>& updates, int id, ControlAspect aspect) {
    std::optional<bool> state;
    for (const ControlUpdate& u : updates) {
        if (u.id == id && u.aspect == aspect)
            state = u.on;
    }
    return state;
}

std::vector<ControlUpdate> AllUpdates(const PageView& view) {
    std::vector<ControlUpdate> all = view.updates;
    all.insert(all.end(), view.enabling.updates.begin(), view.enabling.updates.end());
    return all;
}

std::optional<bool> Shown(const PageView& v, int id) {
    return Final(AllUpdates(v), id, ControlAspect::Shown);
}
std::optional<bool> Enabled(const PageView& v, int id) {
    return Final(AllUpdates(v), id, ControlAspect::Enabled);
}
std::optional<bool> Checked(const PageView& v, int id) {
    return Final(AllUpdates(v), id, ControlAspect::Checked);
}

std::string Caption(const PageView& v, int id) {
    std::string text;
    for (const CaptionUpdate& c : v.captions) {
        if (c.id == id)
            text = c.text;
    }
    return text;
}

// The page as it shows with the check boxes as loaded from the record.
PageView View(Settings& s, const PageContext& c, SettingsTab tab) {
    return DecidePageView(s, c, ChecksFromSettings(s), tab);
}

PageContext XpContext() {
    PageContext c;
    c.showHideHotKeyActive = true;
    c.windowsXPOrLater = true;
    c.windows2000OrLater = true;
    return c;
}

TEST(UiPages_PageView, EachPageShowsOnlyItsOwnControls) {
    struct Owner {
        SettingsTab page;
        int id;
    } owners[] = {
        {SettingsTab::Colors, IDC_TRANSPARENT},       {SettingsTab::Hiding, IDC_HIDE_BY_CURSOR},
        {SettingsTab::Positions, IDC_SAVE_POSITIONS}, {SettingsTab::Desktop, IDC_KEEP_ASPECT_RATIO},
        {SettingsTab::Tray, IDC_SHOW_TRAY_ICON},      {SettingsTab::Options, IDC_CLOSE_PROMPT},
        {SettingsTab::About, IDC_ABOUT_AREA},         {SettingsTab::Test, IDC_TEST_FILES},
    };
    for (SettingsTab tab : kAllTabs) {
        Settings s = SettingsTemplate();
        PageView view = View(s, XpContext(), tab);
        for (const Owner& o : owners)
            EXPECT_EQ(Shown(view, o.id), o.page == tab) << int(tab) << " " << o.id;
    }
}

TEST(UiPages_PageView, EveryControlHasOneVisibilityPerPage) {
    for (SettingsTab tab : kAllTabs) {
        Settings s = SettingsTemplate();
        std::vector<ControlUpdate> shown = PageVisibility(s, XpContext(), tab);
        for (std::size_t i = 0; i < shown.size(); ++i) {
            for (std::size_t j = i + 1; j < shown.size(); ++j)
                EXPECT_NE(shown[i].id, shown[j].id) << int(tab);
        }
    }
}

TEST(UiPages_PageView, TestBrowserButtonsFollowTestModeOnEveryPage) {
    for (SettingsTab tab : kAllTabs) {
        for (bool testMode : {false, true}) {
            Settings s = SettingsTemplate();
            PageContext c = XpContext();
            c.testMode = testMode;
            PageView view = View(s, c, tab);
            EXPECT_EQ(Shown(view, IDC_TEST_NEXT), testMode) << int(tab);
            EXPECT_EQ(Shown(view, IDC_TEST_NONE), testMode) << int(tab);
        }
    }
}

TEST(UiPages_PageView, SlideShowCountdownOnlyWhileTheShowRuns) {
    for (bool running : {false, true}) {
        Settings s = SettingsTemplate();
        PageContext c = XpContext();
        c.testMode = true;
        c.slideShowRunning = running;
        EXPECT_EQ(Shown(View(s, c, SettingsTab::Test), IDC_TEST_PROGRESS), running);
        EXPECT_EQ(Shown(View(s, c, SettingsTab::About), IDC_TEST_PROGRESS), false);
        EXPECT_EQ(Shown(View(s, c, SettingsTab::Test), IDC_TEST_START), true);
    }
}

TEST(UiPages_PageView, AboutStaticsAndCountdownAreNeverShown) {
    for (SettingsTab tab : kAllTabs) {
        Settings s = SettingsTemplate();
        PageView view = View(s, XpContext(), tab);
        for (int id : {IDC_COLOR_BOX_HINT, IDC_CLICK_COUNTDOWN_BAR, IDC_ABOUT_VERSION,
                       IDC_FRAME_ABOUT, IDC_DONATE_BUTTON})
            EXPECT_EQ(Shown(view, id), false) << int(tab) << " " << id;
    }
}

TEST(UiPages_PageView, HidingPanelsFollowTheHidingMode) {
    struct Case {
        int byCursor, always;
        bool delays, clickPanel, neverNote;
    } cases[] = {
        {1, 0, true, false, false},
        {0, 1, false, true, false},
        {0, 0, false, false, true},
    };
    for (const Case& c : cases) {
        Settings s = SettingsTemplate();
        s.HideByCursor = c.byCursor;
        s.HideAlways = c.always;
        PageView view = View(s, XpContext(), SettingsTab::Hiding);
        EXPECT_EQ(Shown(view, IDC_HIDE_OFF_DESKTOP_DELAY), c.delays);
        EXPECT_EQ(Shown(view, IDC_SHOW_DELAY_VALUE), c.delays);
        EXPECT_EQ(Shown(view, IDC_CLICK_SHOW_TIME), c.clickPanel);
        EXPECT_EQ(Shown(view, IDC_CLICK_SHOW_NOTE), c.clickPanel);
        EXPECT_EQ(Shown(view, IDC_NEVER_HIDE_NOTE), c.neverNote);
        EXPECT_EQ(Enabled(view, IDC_HIDE_TASKBAR), !c.neverNote);
    }
}

TEST(UiPages_LoadControls, BothHidingModesLoadAsNeverHide) {
    Settings s = SettingsTemplate();
    s.HideByCursor = 1;
    s.HideAlways = 1;
    LoadedControls loaded = DecideLoadedControls(s, XpContext());
    EXPECT_EQ(s.HideByCursor, 0);
    EXPECT_EQ(s.HideAlways, 0);
    EXPECT_EQ(Final(loaded.updates, IDC_NEVER_HIDE, ControlAspect::Checked), true);
    EXPECT_EQ(Final(loaded.updates, IDC_HIDE_BY_CURSOR, ControlAspect::Checked), false);
    EXPECT_EQ(Final(loaded.updates, IDC_HIDE_ALWAYS, ControlAspect::Checked), false);
    PageView view = View(s, XpContext(), SettingsTab::Hiding);
    EXPECT_EQ(Shown(view, IDC_NEVER_HIDE_NOTE), true);
    EXPECT_EQ(Shown(view, IDC_HIDE_WHEN_OFF_DESKTOP), false);
    EXPECT_EQ(Shown(view, IDC_SHOW_ON_DESKTOP_CLICK), false);
}

TEST(UiPages_LoadControls, WithoutShowHideHotKeyTheTrayIconIsForced) {
    for (bool hotKey : {false, true}) {
        Settings s = SettingsTemplate();
        s.ShowTrayIcon = 0;
        PageContext c = XpContext();
        c.showHideHotKeyActive = hotKey;
        LoadedControls loaded = DecideLoadedControls(s, c);
        EXPECT_EQ(s.ShowTrayIcon, hotKey ? 0 : 1);
        EXPECT_EQ(Final(loaded.updates, IDC_SHOW_TRAY_ICON, ControlAspect::Checked), !hotKey);
        EXPECT_EQ(Final(loaded.updates, IDC_SHOW_TRAY_ICON, ControlAspect::Enabled), hotKey);
        PageView tray = View(s, c, SettingsTab::Tray);
        EXPECT_EQ(Shown(tray, IDC_NO_HOTKEY_NOTE), !hotKey);
        EXPECT_EQ(Enabled(tray, IDC_SHOW_TRAY_ICON), hotKey);
        PageView options = View(s, c, SettingsTab::Options);
        EXPECT_EQ(Shown(options, IDC_NO_TRAY_ICON_NOTE), hotKey);
    }
}

TEST(UiPages_LoadControls, HotCornerLowByteChecksOneRadio) {
    const int radios[] = {IDC_CORNER_UPPER_LEFT, IDC_CORNER_UPPER_RIGHT, IDC_CORNER_LOWER_LEFT,
                          IDC_CORNER_LOWER_RIGHT};
    for (int corner = 0; corner < 5; ++corner) {
        Settings s = SettingsTemplate();
        s.HotCorner = 0x7700 | corner;
        LoadedControls loaded = DecideLoadedControls(s, XpContext());
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Final(loaded.updates, radios[i], ControlAspect::Checked), i == corner)
                << corner;
    }
}

TEST(UiPages_PageView, DropShadowsDecideTheColorsPage) {
    struct Case {
        bool shadows, xp;
        bool colorControls, enableButton, disableButton;
    } cases[] = {
        {true, true, false, false, true},
        {false, true, true, true, false},
        {false, false, true, false, false},
    };
    for (const Case& c : cases) {
        Settings s = SettingsTemplate();
        PageContext ctx = XpContext();
        ctx.dropShadowsOn = c.shadows;
        ctx.windowsXPOrLater = c.xp;
        PageView view = View(s, ctx, SettingsTab::Colors);
        EXPECT_EQ(Shown(view, IDC_TRANSPARENT), c.colorControls);
        EXPECT_EQ(Shown(view, IDC_SAMPLE), c.colorControls);
        EXPECT_EQ(Shown(view, IDC_ENABLE_DROP_SHADOWS), c.enableButton);
        EXPECT_EQ(Shown(view, IDC_DISABLE_DROP_SHADOWS), c.disableButton);
        EXPECT_EQ(Shown(view, IDC_DROP_SHADOW_NOTE), c.disableButton);
    }
}

TEST(UiPages_PageEnabling, ActiveDesktopSwitchesToSolidCaptions) {
    Settings s = SettingsTemplate();
    PageContext c = XpContext();
    c.activeDesktop = true;
    PageView view = View(s, c, SettingsTab::Colors);
    EXPECT_TRUE(view.enabling.sendSolidColorCommand);
    EXPECT_EQ(Checked(view, IDC_TRANSPARENT), false);
    EXPECT_EQ(Checked(view, IDC_SOLID_COLOR), true);
    EXPECT_EQ(Enabled(view, IDC_TRANSPARENT), false);
    EXPECT_EQ(Enabled(view, IDC_AUTO_RESAMPLE), false);
    EXPECT_EQ(Shown(view, IDC_ACTIVE_DESKTOP_NOTE), true);

    s.TransparentText = 0;
    PageView desktop = View(s, c, SettingsTab::Desktop);
    EXPECT_FALSE(desktop.enabling.sendSolidColorCommand);
    EXPECT_EQ(Shown(desktop, IDC_ACTIVE_DESKTOP_WARNING), true);
    EXPECT_EQ(Enabled(desktop, IDC_KEEP_ASPECT_RATIO), false);
}

TEST(UiPages_PageEnabling, AutoResampleNeedsSolidCaptionsWithoutActiveDesktop) {
    struct Case {
        int transparent;
        bool activeDesktop, enabled;
    } cases[] = {{0, false, true}, {1, false, false}, {0, true, false}};
    for (const Case& c : cases) {
        Settings s = SettingsTemplate();
        s.TransparentText = c.transparent;
        PageContext ctx = XpContext();
        ctx.activeDesktop = c.activeDesktop;
        PageView view = View(s, ctx, SettingsTab::Colors);
        EXPECT_EQ(Enabled(view, IDC_AUTO_RESAMPLE), c.enabled);
        EXPECT_EQ(
            Final(DecideLoadedControls(s, ctx).updates, IDC_AUTO_RESAMPLE, ControlAspect::Enabled),
            c.enabled);
    }
}

TEST(UiPages_PageEnabling, AlwaysHideWithoutContextMenuForcesClickToShow) {
    Settings s = SettingsTemplate();
    s.HideByCursor = 0;
    s.HideAlways = 1;
    s.ShowOnDesktopClick = 0;
    s.ContextMenu = 0;
    PageView view = View(s, XpContext(), SettingsTab::Hiding);
    EXPECT_EQ(s.ShowOnDesktopClick, 1);
    EXPECT_EQ(Checked(view, IDC_SHOW_ON_DESKTOP_CLICK), true);
    EXPECT_EQ(Enabled(view, IDC_SHOW_ON_DESKTOP_CLICK), false);
    EXPECT_EQ(Enabled(view, IDC_CLICK_SHOW_TIME), true);
}

TEST(UiPages_PageView, ContextMenuOptionNeedsAWayBackToHiddenIcons) {
    Settings s = SettingsTemplate();
    s.HideByCursor = 0;
    s.HideAlways = 1;
    s.ShowOnDesktopClick = 0;
    PageView view = View(s, XpContext(), SettingsTab::Options);
    EXPECT_EQ(Enabled(view, IDC_CONTEXT_MENU), false);
    s.ShowOnDesktopClick = 1;
    EXPECT_EQ(Enabled(View(s, XpContext(), SettingsTab::Options), IDC_CONTEXT_MENU), true);
}

TEST(UiPages_PageEnabling, DelaySlidersFollowTheirCheckBoxesNotTheFields) {
    Settings s = SettingsTemplate();
    s.HideByCursor = 1;
    s.HideAlways = 0;
    s.HideWhenOffDesktop = 1;
    s.HideWhenOnDesktop = 0;
    s.DelayShowOnDesktop = 1;
    CheckedBoxes checks = ChecksFromSettings(s);
    checks.hideWhenOffDesktop = false;
    checks.hideWhenOnDesktop = true;
    checks.delayShowOnDesktop = false;
    PageView view = DecidePageView(s, XpContext(), checks, SettingsTab::Hiding);
    EXPECT_EQ(Enabled(view, IDC_HIDE_OFF_DESKTOP_DELAY), false);
    EXPECT_EQ(Enabled(view, IDC_HIDE_OFF_DESKTOP_DELAY_VALUE), false);
    EXPECT_EQ(Enabled(view, IDC_HIDE_ON_DESKTOP_DELAY), true);
    EXPECT_EQ(Enabled(view, IDC_SHOW_DELAY), false);
    EXPECT_EQ(Enabled(view, IDC_HIDE_WHEN_OFF_DESKTOP), true);
}

TEST(UiPages_PageEnabling, BossMouseTakesTheCornerRadiosAway) {
    struct Case {
        int hotCorner, bossMouse;
        bool radios, bossBox;
    } cases[] = {{0, 0, false, false}, {1, 0, true, true}, {1, 1, false, true}};
    for (const Case& c : cases) {
        Settings s = SettingsTemplate();
        s.HotCornerEnabled = c.hotCorner;
        s.BossMouse = c.bossMouse;
        PageView view = View(s, XpContext(), SettingsTab::Hiding);
        EXPECT_EQ(Enabled(view, IDC_CORNER_LOWER_RIGHT), c.radios);
        EXPECT_EQ(Enabled(view, IDC_HOT_CORNER_WAIT), c.radios);
        EXPECT_EQ(Enabled(view, IDC_BOSS_MOUSE), c.bossBox);
        EXPECT_EQ(Enabled(view, IDC_HOT_CORNER_ACTION), c.bossBox);
    }
}

TEST(UiPages_PageEnabling, BossMouseFollowsItsCheckBox) {
    for (bool checked : {true, false}) {
        Settings s = SettingsTemplate();
        s.HotCornerEnabled = 1;
        s.BossMouse = checked ? 0 : 1;
        CheckedBoxes checks = ChecksFromSettings(s);
        checks.bossMouse = checked;
        PageEnabling enabling = DecidePageEnabling(s, XpContext(), checks, SettingsTab::Hiding);
        EXPECT_EQ(s.BossMouse, checked ? 1 : 0);
        EXPECT_EQ(Final(enabling.updates, IDC_CORNER_UPPER_LEFT, ControlAspect::Enabled), !checked);
    }
}

TEST(UiPages_PageEnabling, ClickToShowPanelFollowsItsCheckBox) {
    Settings s = SettingsTemplate();
    s.HideByCursor = 0;
    s.HideAlways = 1;
    s.ContextMenu = 1;
    s.ShowOnDesktopClick = 0;
    CheckedBoxes checks = ChecksFromSettings(s);
    checks.showOnDesktopClick = true;
    PageEnabling enabling = DecidePageEnabling(s, XpContext(), checks, SettingsTab::Hiding);
    EXPECT_EQ(Final(enabling.updates, IDC_CLICK_SHOW_TIME, ControlAspect::Enabled), true);
}

TEST(UiPages_PageView, NeverHideCheckBoxDecidesCursorAndTaskbarHiding) {
    for (bool neverHide : {true, false}) {
        Settings s = SettingsTemplate();
        CheckedBoxes checks = ChecksFromSettings(s);
        checks.neverHide = neverHide;
        PageView view = DecidePageView(s, XpContext(), checks, SettingsTab::Hiding);
        EXPECT_EQ(Enabled(view, IDC_HIDE_CURSOR), !neverHide);
        EXPECT_EQ(Enabled(view, IDC_HIDE_TASKBAR), !neverHide);
    }
}

TEST(UiPages_PageView, AboutTimersRunOnlyOnTheAboutPage) {
    for (SettingsTab tab : kAllTabs) {
        Settings s = SettingsTemplate();
        EXPECT_EQ(View(s, XpContext(), tab).aboutTimersRun, tab == SettingsTab::About);
    }
}

TEST(UiPages_PageEnabling, PositionButtonsWaitForTheIcons) {
    struct Case {
        bool autoArrange, dance, moved;
        bool restore, save;
    } cases[] = {
        {false, false, false, true, true},
        {true, false, false, false, true},
        {false, true, false, true, false},
        {false, false, true, true, false},
    };
    for (SettingsTab tab : {SettingsTab::Positions, SettingsTab::Tray}) {
        for (const Case& c : cases) {
            Settings s = SettingsTemplate();
            PageContext ctx = XpContext();
            ctx.autoArrange = c.autoArrange;
            ctx.danceRunning = c.dance;
            ctx.temporarilyMoved = c.moved;
            PageView view = View(s, ctx, tab);
            EXPECT_EQ(Enabled(view, IDC_RESTORE_POSITIONS), c.restore);
            EXPECT_EQ(Enabled(view, IDC_ALIGN_LEFT), c.restore);
            EXPECT_EQ(Enabled(view, IDC_SAVE_POSITIONS), c.save);
        }
    }
}

TEST(UiPages_PageEnabling, DanceNeedsTrayIconPositionsAndNoActiveDesktop) {
    struct Case {
        int trayIcon, positions;
        bool activeDesktop, dance;
    } cases[] = {
        {1, 1, false, true}, {0, 1, false, false}, {1, 0, false, false}, {1, 1, true, false}};
    for (const Case& c : cases) {
        Settings s = SettingsTemplate();
        s.ShowTrayIcon = c.trayIcon;
        s.TrayShowPositions = c.positions;
        s.TransparentText = 0;
        PageContext ctx = XpContext();
        ctx.activeDesktop = c.activeDesktop;
        PageView view = View(s, ctx, SettingsTab::Tray);
        EXPECT_EQ(Enabled(view, IDC_DANCE), c.dance);
        EXPECT_EQ(Enabled(view, IDC_TRAY_SHOW_DANCE), c.dance);
        EXPECT_EQ(Enabled(view, IDC_TRAY_SHOW_HELP), c.trayIcon == 1);
    }
}

TEST(UiPages_PageView, CaptionsAndStatusText) {
    Settings s = SettingsTemplate();
    PageContext c = XpContext();
    PageView about = View(s, c, SettingsTab::About);
    EXPECT_EQ(Caption(about, IDC_TAB_DEFAULTS), "&Reset All");
    EXPECT_TRUE(about.aboutTimersRun);
    EXPECT_STREQ(about.statusText, " Version information and automated update check");

    s.PerResolutionPositions = 1;
    c.danceRunning = true;
    PageView positions = View(s, c, SettingsTab::Positions);
    EXPECT_EQ(Caption(positions, IDC_TAB_DEFAULTS), "&Reset Tab");
    EXPECT_FALSE(positions.aboutTimersRun);
    EXPECT_EQ(Caption(positions, IDC_SAVE_POSITIONS), "Save Icon Positions (For this resolution)");
    EXPECT_EQ(Caption(positions, IDC_DANCE), "X");
    EXPECT_EQ(Caption(positions, IDC_SHOW_DELAY_VALUE), "0.3 Sec");
    EXPECT_EQ(Caption(positions, IDC_HIDE_OFF_DESKTOP_DELAY_VALUE), "5 Seconds");

    s.PerResolutionPositions = 0;
    c.danceRunning = false;
    PageView tray = View(s, c, SettingsTab::Tray);
    EXPECT_EQ(Caption(tray, IDC_SAVE_POSITIONS), "Save Icon Positions (Relative)");
    EXPECT_EQ(Caption(tray, IDC_DANCE), "?");
    EXPECT_STREQ(tray.statusText, " Setup the Tessara menu in the system tray");
}

TEST(UiPages_PageView, PromptClearsHideAndChecksOneCloseRadio) {
    struct Case {
        int prompt, hides;
        int checked;
    } cases[] = {{1, 1, IDC_CLOSE_PROMPT}, {0, 1, IDC_CLOSE_HIDE}, {0, 0, IDC_CLOSE_EXIT}};
    for (const Case& c : cases) {
        Settings s = SettingsTemplate();
        s.ExitPrompt = c.prompt;
        s.ExitHides = c.hides;
        PageView view = View(s, XpContext(), SettingsTab::Options);
        for (int id : {IDC_CLOSE_PROMPT, IDC_CLOSE_HIDE, IDC_CLOSE_EXIT})
            EXPECT_EQ(Checked(view, id), id == c.checked) << id;
        EXPECT_EQ(s.ExitHides, c.prompt == 1 ? 0 : c.hides);
    }
}

TEST(UiPages_PageView, SwitchingTabsLeavesTheFactorySettingsAlone) {
    for (SettingsTab tab : kAllTabs) {
        Settings s = SettingsTemplate();
        DecideLoadedControls(s, XpContext());
        View(s, XpContext(), tab);
        EXPECT_TRUE(SameSettings(s, SettingsTemplate())) << int(tab);
    }
}

TEST(UiPages_NeedsReload, WhenAMarkIsMissing) {
    Settings s = SettingsTemplate();
    EXPECT_FALSE(NeedsReloadBeforeShowing(s));
    s.LoadMark = 0;
    EXPECT_TRUE(NeedsReloadBeforeShowing(s));
    EXPECT_TRUE(NeedsReloadBeforeShowing(Settings{}));
}

} // namespace
