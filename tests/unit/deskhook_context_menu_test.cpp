// The desktop context menu's rules: the submenu from what the program
// published, where it goes, what the item last highlighted does, and what the
// program publishes from its settings.
#include "deskhook/context_menu.h"
#include "desklink/menu_state.h"
#include "settings/settings_record.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using context_menu::Action;
using context_menu::MenuInputs;

// The submenu as a line: "*" checked, "~" greyed, "-" a separator.
std::string Describe(const MenuInputs& inputs) {
    std::string line;
    for (const context_menu::Item& item : context_menu::SubmenuItems(inputs)) {
        if (!line.empty())
            line += " | ";
        if (item.IsSeparator()) {
            line += "-";
            continue;
        }
        line += item.text;
        line += item.checked ? "*" : "";
        line += item.grayed ? "~" : "";
    }
    return line;
}

TEST(DeskhookContextMenu, SubmenuMarksTheModeAndGreysSavingWhileTheDanceRuns) {
    struct Row {
        bool dance;
        int mode;
        const char* expected;
    };
    const Row rows[] = {
        {false, IDC_NEVER_HIDE,
         "Show Icons Now | - | Restore Icon Positions | Save Icon Positions | - | Show Icons "
         "Always* | Show Icons as Needed | Hide Icons Always | - | Show Tessara's Window"},
        {false, IDC_HIDE_BY_CURSOR,
         "Show Icons Now | - | Restore Icon Positions | Save Icon Positions | - | Show Icons "
         "Always | Show Icons as Needed* | Hide Icons Always | - | Show Tessara's Window"},
        {true, IDC_HIDE_ALWAYS,
         "Show Icons Now | - | Restore Icon Positions | Save Icon Positions~ | - | Show Icons "
         "Always | Show Icons as Needed | Hide Icons Always* | - | Show Tessara's Window"},
        // Nothing published yet: no mode is marked.
        {false, 0,
         "Show Icons Now | - | Restore Icon Positions | Save Icon Positions | - | Show Icons "
         "Always | Show Icons as Needed | Hide Icons Always | - | Show Tessara's Window"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mode);
        EXPECT_EQ(Describe(MenuInputs{row.dance, row.mode}), row.expected);
    }
}

TEST(DeskhookContextMenu, ItemsCarryTheProgramsCommandIds) {
    const int expected[] = {IDM_SHOW_ICONS_NOW,
                            0,
                            IDM_RESTORE_POSITIONS,
                            IDM_SAVE_POSITIONS,
                            0,
                            IDC_NEVER_HIDE,
                            IDC_HIDE_BY_CURSOR,
                            IDC_HIDE_ALWAYS,
                            0,
                            IDM_SHOW_WINDOW};
    const auto items = context_menu::SubmenuItems(MenuInputs{});
    ASSERT_EQ(items.size(), std::size(expected));
    for (size_t i = 0; i < items.size(); ++i)
        EXPECT_EQ(items[i].id, expected[i]) << i;
}

TEST(DeskhookContextMenu, SubmenuGoesBeforeTheLastItem) {
    const std::pair<int, int> rows[] = {{0, 0}, {1, 0}, {2, 1}, {5, 4}, {40, 39}};
    for (const auto& [count, position] : rows)
        EXPECT_EQ(context_menu::SubmenuPosition(count), position) << count;
}

TEST(DeskhookContextMenu, LastHighlightedItemDecidesTheAction) {
    const std::pair<int, Action> rows[] = {
        {IDC_HIDE_BY_CURSOR, Action::SendCommand},
        {IDC_HIDE_ALWAYS, Action::SendCommand},
        {IDC_NEVER_HIDE, Action::SendCommand},
        {IDM_SAVE_POSITIONS, Action::SendCommand},
        {IDM_RESTORE_POSITIONS, Action::SendCommand},
        {IDM_SHOW_ICONS_NOW, Action::ShowIcons},
        {IDM_SHOW_WINDOW, Action::BringWindowForward},
        // The shell's own items, the submenu's own position and nothing at all.
        {0, Action::None},
        {4, Action::None},
        {0x7053, Action::None},
        {IDM_EXIT, Action::None},
        {-1, Action::None},
    };
    for (const auto& [item, action] : rows)
        EXPECT_EQ(context_menu::ActionFor(item), action) << item;
}

TEST(DesklinkMenuState, PublishedFromTheSettings) {
    struct Row {
        int contextMenu, showOnClick, hideAlways, hideByCursor;
        MenuState expected;
    };
    const Row rows[] = {
        {1, 1, 0, 0, {1, 1, IDC_NEVER_HIDE}},
        {0, 1, 0, 1, {0, 1, IDC_HIDE_BY_CURSOR}},
        {1, 0, 1, 0, {1, 0, IDC_HIDE_ALWAYS}},
        // A record with both set hides always.
        {0, 0, 1, 1, {0, 0, IDC_HIDE_ALWAYS}},
    };
    for (const Row& row : rows) {
        Settings s = SettingsTemplate();
        s.ContextMenu = row.contextMenu;
        s.ShowOnDesktopClick = row.showOnClick;
        s.HideAlways = row.hideAlways;
        s.HideByCursor = row.hideByCursor;
        const MenuState state = MenuStateFor(s);
        SCOPED_TRACE(row.expected.visibilityMode);
        EXPECT_EQ(state.menuEnabled, row.expected.menuEnabled);
        EXPECT_EQ(state.clickToShow, row.expected.clickToShow);
        EXPECT_EQ(state.visibilityMode, row.expected.visibilityMode);
    }
}

} // namespace
