#include "app/tray.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The menu as a line of its items' texts with marks: "*" checked, "~" greyed,
// "-" a separator.
std::string Describe(const std::vector<TrayMenuItem>& items) {
    std::string line;
    for (const TrayMenuItem& item : items) {
        if (!line.empty())
            line += " | ";
        if (item.kind == TrayItemKind::Separator) {
            line += "-";
            continue;
        }
        line += item.text;
        line += item.checked ? "*" : "";
        line += item.greyed ? "~" : "";
    }
    return line;
}

std::string Describe(const TrayMenuLayout& layout) {
    return Describe(layout.afterWebPage) + " || " + Describe(layout.beforeExit);
}

Settings Record(int help, int positions, int dance, int text, int hiding) {
    Settings s = SettingsTemplate();
    s.TrayShowHelp = help;
    s.TrayShowPositions = positions;
    s.TrayShowDance = dance;
    s.TrayShowText = text;
    s.TrayShowHiding = hiding;
    return s;
}

TrayMenuContext WithSavedSet() {
    TrayMenuContext c;
    c.savedSetExists = true;
    return c;
}

TEST(TrayMenu_Items, DefaultsShowHelpPositionsCaptionsAndHidingButNoDance) {
    const TrayMenuLayout layout = TrayMenuItems(SettingsTemplate(), WithSavedSet());
    EXPECT_EQ(Describe(layout),
              "Help... || Save Icon Positions | Restore Icon Positions | - | Transparent "
              "Background* | Resample Background | - | Show Icons Always | Show Icons as Needed* | "
              "Hide Icons Always | -");
}

TEST(TrayMenu_Items, GroupsFollowTheirSwitches) {
    struct Case {
        Settings record;
        TrayMenuContext context;
        const char* menu;
    } cases[] = {
        {Record(0, 0, 0, 0, 0), WithSavedSet(), " || "},
        {Record(1, 1, 1, 1, 1), WithSavedSet(),
         "Help... || Save Icon Positions | Restore Icon Positions | - | Do the Icon Dance | - | "
         "Transparent Background* | Resample Background | - | Show Icons Always | Show Icons as "
         "Needed* | Hide Icons Always | -"},
        // The dance item belongs to the position group.
        {Record(0, 0, 1, 0, 0), WithSavedSet(), " || "},
        {Record(0, 0, 0, 1, 0), WithSavedSet(),
         " || Transparent Background* | Resample Background | -"},
        {Record(0, 0, 0, 0, 1), WithSavedSet(),
         " || Show Icons Always | Show Icons as Needed* | Hide Icons Always | -"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Describe(TrayMenuItems(c.record, c.context)), c.menu) << c.menu;
}

TEST(TrayMenu_Items, RunningDanceShowsThePositionGroupWithTheDanceChecked) {
    TrayMenuContext running = WithSavedSet();
    running.danceRunning = true;
    EXPECT_EQ(Describe(TrayMenuItems(Record(0, 0, 0, 0, 0), running)),
              " || Save Icon Positions | Restore Icon Positions | - | Do the Icon Dance* | -");
}

TEST(TrayMenu_Items, ActiveDesktopDropsTheDanceAndResampling) {
    TrayMenuContext active = WithSavedSet();
    active.activeDesktop = true;
    EXPECT_EQ(Describe(TrayMenuItems(Record(0, 1, 1, 1, 0), active)),
              " || Save Icon Positions | Restore Icon Positions | - | Transparent Background* | -");
    active.danceRunning = true;
    EXPECT_EQ(Describe(TrayMenuItems(Record(0, 0, 0, 0, 0), active)),
              " || Save Icon Positions | Restore Icon Positions | -");
}

TEST(TrayMenu_Items, SavingAndRestoringAreGreyedWhenTheyCannotWork) {
    struct Case {
        bool saved, moved;
        const char* menu;
    } cases[] = {
        {true, false, "Save Icon Positions | Restore Icon Positions | -"},
        {false, false, "Save Icon Positions | Restore Icon Positions~ | -"},
        {true, true, "Save Icon Positions~ | Restore Icon Positions | -"},
        {false, true, "Save Icon Positions~ | Restore Icon Positions~ | -"},
    };
    for (const Case& c : cases) {
        TrayMenuContext context;
        context.savedSetExists = c.saved;
        context.temporarilyMoved = c.moved;
        EXPECT_EQ(Describe(TrayMenuItems(Record(0, 1, 0, 0, 0), context).beforeExit), c.menu);
    }
}

TEST(TrayMenu_Items, CaptionItemsFollowTransparencyAndDropShadows) {
    struct Case {
        int transparent;
        bool shadows;
        const char* menu;
    } cases[] = {
        {0, false, "Transparent Background | Resample Background | -"},
        {1, false, "Transparent Background* | Resample Background | -"},
        {1, true, "Transparent Background*~ | Resample Background~ | -"},
        {0, true, "Transparent Background~ | Resample Background~ | -"},
    };
    for (const Case& c : cases) {
        Settings s = Record(0, 0, 0, 1, 0);
        s.TransparentText = c.transparent;
        TrayMenuContext context;
        context.dropShadowsOn = c.shadows;
        EXPECT_EQ(Describe(TrayMenuItems(s, context).beforeExit), c.menu);
    }
}

TEST(TrayMenu_Items, OneHidingModeIsChecked) {
    struct Case {
        int byCursor, always;
        const char* menu;
    } cases[] = {
        {0, 0, "Show Icons Always* | Show Icons as Needed | Hide Icons Always | -"},
        {1, 0, "Show Icons Always | Show Icons as Needed* | Hide Icons Always | -"},
        {0, 1, "Show Icons Always | Show Icons as Needed | Hide Icons Always* | -"},
    };
    for (const Case& c : cases) {
        Settings s = Record(0, 0, 0, 0, 1);
        s.HideByCursor = c.byCursor;
        s.HideAlways = c.always;
        EXPECT_EQ(Describe(TrayMenuItems(s, {}).beforeExit), c.menu);
    }
}

TEST(TrayMenu_Items, TestModeAddsTheTestMenuLast) {
    TrayMenuContext test = WithSavedSet();
    test.testMode = true;
    const TrayMenuLayout layout = TrayMenuItems(Record(0, 0, 0, 0, 1), test);
    ASSERT_EQ(layout.beforeExit.size(), 5u);
    EXPECT_EQ(layout.beforeExit.back().kind, TrayItemKind::TestMenu);
    EXPECT_EQ(layout.beforeExit.back().id, IDR_TEST_MENU);
    EXPECT_EQ(std::string(layout.beforeExit.back().text), "[ Test ]");
}

TEST(TrayMenu_Items, ItemsCarryTheirCommandIds) {
    Settings s = Record(1, 1, 1, 1, 1);
    std::vector<int> ids;
    const TrayMenuLayout layout = TrayMenuItems(s, WithSavedSet());
    for (const auto* list : {&layout.afterWebPage, &layout.beforeExit})
        for (const TrayMenuItem& item : *list)
            ids.push_back(item.id);
    EXPECT_EQ(ids, (std::vector<int>{1011, 32776, 32777, 0, 1110, 0, 32774, 32775, 0, 1093, 32772,
                                     32773, 0}));
}

TEST(TrayIcon_Switch, OffOnlyWithARegisteredShowHideHotKey) {
    struct Case {
        int32_t shown;
        bool hotKey;
        int count;
        TraySwitch result;
    } cases[] = {
        {1, true, 0, {0, false, true, 1}},   {1, true, 1, {0, false, false, 2}},
        {1, true, -1, {0, false, false, 0}}, // the deferred start
        {1, false, 0, {1, true, false, 0}},  // refused: stays on and is added again
        {0, true, 3, {1, true, false, 3}},   {0, false, 0, {1, true, false, 0}},
    };
    for (const Case& c : cases) {
        const TraySwitch s = SwitchTrayIcon(c.shown, c.hotKey, c.count);
        EXPECT_EQ(s.showTrayIcon, c.result.showTrayIcon) << c.shown << c.hotKey << c.count;
        EXPECT_EQ(s.add, c.result.add) << c.shown << c.hotKey << c.count;
        EXPECT_EQ(s.showRemovalMessage, c.result.showRemovalMessage)
            << c.shown << c.hotKey << c.count;
        EXPECT_EQ(s.removalCount, c.result.removalCount) << c.shown << c.hotKey << c.count;
    }
}

TEST(TrayIcon_Click, LeftClickTogglesRightClickOpensTheMenu) {
    EXPECT_EQ(TrayClickAction(0x201, false), TrayClick::ShowInFront);
    EXPECT_EQ(TrayClickAction(0x201, true), TrayClick::Hide);
    EXPECT_EQ(TrayClickAction(0x203, false), TrayClick::Hide);
    EXPECT_EQ(TrayClickAction(0x205, true), TrayClick::Menu);
    for (unsigned other : {0x200u, 0x202u, 0x204u, 0x206u, 0u})
        EXPECT_EQ(TrayClickAction(other, false), TrayClick::Nothing) << other;
}

TEST(TrayIcon_Texts, NameTheShowHideHotKey) {
    EXPECT_EQ(TrayRemovalText("Ctrl + Shift + A"),
              "The Tessara icon in the system tray will be removed.\nUse the Show/Hide hot key "
              "(Ctrl + Shift + A)\nto hide and restore the window.\n\nThis message will not be "
              "shown again until\nTessara is restarted.");
    EXPECT_EQ(
        HideWhenStartedWithoutTrayText("Alt + X"),
        "You have chosen to hide Tessara when it starts.\n\nSince \"Show tray icon\" is not "
        "checked (on the \"Tray\" tab), you will\nneed to use the Show/Hide hot key (Alt + X) "
        "to \nshow the Tessara window the next time Tessara starts.");
}

} // namespace
