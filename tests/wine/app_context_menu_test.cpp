// The desktop's context menu with Tessara.exe attached: every item of its
// submenu acts in the program, the options switch it off and on, and it
// follows the desktop through a restart and the program's sudden end.
#include "icons/icon_store.h"
#include "tests/wine/app_program.h"
#include "tests/wine/context_menu_wine.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace context_menu_test;

namespace {

// The attach runs on a worker after the settings window exists.
constexpr DWORD kMenuAttachMs = 30000;

class AppContextMenu : public app_test::ProgramTest {
  protected:
    void Start(harness::ShellOptions options = harness::ShellOptions::WithIcons(4)) {
        ASSERT_TRUE(shell_.Start(options));
        Settings record = SettingsTemplate();
        record.PerResolutionPositions = 0;
        record.HideByCursor = 0;
        record.HideAlways = 0;
        record.ContextMenu = 1;
        record.AutoRestorePositions = 0;
        StartProgram(record);
        ASSERT_TRUE(harness::WaitUntil([&] { return shell_.IsViewSubclassed(); }, kMenuAttachMs));
    }

    bool HasSubmenu() {
        const auto items = OpenMenu(shell_);
        CloseMenu(shell_);
        const auto top = Level(items, 0);
        return !top.empty() && top.back().text == "Properties" && Find(top, kSubmenuText);
    }

    std::optional<harness::RegValue> SavedIcons() {
        return harness::RegRead(HKEY_CURRENT_USER, kProgramKey, icons::kRelativeValueName);
    }

    POINT IconPosition(int index) { return shell_.Layout().at(index).position; }

    void MoveIcon(int index, int x, int y) {
        SendMessageA(shell_.ListView(), LVM_SETITEMPOSITION, index, MAKELPARAM(x, y));
    }
};

TEST_F(AppContextMenu, ModeItemsSwitchTheHidingModeAndTheMenuShowsIt) {
    Start();
    ASSERT_TRUE(ChooseSubmenuItem(shell_, IDC_HIDE_ALWAYS));
    EXPECT_TRUE(app_test::WaitForStored([](const Settings& s) { return s.HideAlways == 1; }));
    EXPECT_TRUE(IsDlgButtonChecked(tessara_.Window(), IDC_HIDE_ALWAYS));
    EXPECT_TRUE(harness::WaitUntil([&] { return !IsWindowVisible(shell_.ListView()); }));

    auto items = OpenMenu(shell_);
    CloseMenu(shell_);
    EXPECT_NE(Find(items, "Hide Icons Always")->state & MF_CHECKED, 0u);
    EXPECT_EQ(Find(items, "Show Icons Always")->state & MF_CHECKED, 0u);

    ASSERT_TRUE(ChooseSubmenuItem(shell_, IDC_HIDE_BY_CURSOR));
    EXPECT_TRUE(app_test::WaitForStored([](const Settings& s) { return s.HideByCursor == 1; }));
    ASSERT_TRUE(ChooseSubmenuItem(shell_, IDC_NEVER_HIDE));
    EXPECT_TRUE(app_test::WaitForStored(
        [](const Settings& s) { return s.HideByCursor == 0 && s.HideAlways == 0; }));
    EXPECT_TRUE(IsDlgButtonChecked(tessara_.Window(), IDC_NEVER_HIDE));
    EXPECT_TRUE(harness::WaitUntil([&] { return IsWindowVisible(shell_.ListView()) != FALSE; }));
}

TEST_F(AppContextMenu, SaveAndRestoreItemsKeepAndBringBackTheLayout) {
    Start();
    ASSERT_TRUE(harness::RegDeleteValue(HKEY_CURRENT_USER, kProgramKey, icons::kRelativeValueName));
    MoveIcon(1, 400, 300);
    ASSERT_TRUE(ChooseSubmenuItem(shell_, IDM_SAVE_POSITIONS));
    EXPECT_TRUE(harness::WaitUntil([&] { return SavedIcons().has_value(); }));
    MoveIcon(1, 150, 420);
    ASSERT_TRUE(ChooseSubmenuItem(shell_, IDM_RESTORE_POSITIONS));
    // Relative positions come back within a pixel or two.
    EXPECT_TRUE(harness::WaitUntil([&] {
        const POINT at = IconPosition(1);
        return std::abs(at.x - 400) <= 2 && std::abs(at.y - 300) <= 2;
    })) << IconPosition(1).x
        << "," << IconPosition(1).y;
}

TEST_F(AppContextMenu, ShowWindowItemBringsTheHiddenSettingsWindowForward) {
    Start();
    tessara_.Command(IDC_HIDE_WINDOW);
    ASSERT_TRUE(harness::WaitUntil([&] { return !IsWindowVisible(tessara_.Window()); }));
    ASSERT_TRUE(ChooseSubmenuItem(shell_, IDM_SHOW_WINDOW));
    EXPECT_TRUE(harness::WaitUntil([&] {
        HWND window = tessara_.Window();
        return IsWindowVisible(window) && IsWindowEnabled(window) &&
               GetForegroundWindow() == window;
    }));
}

// The desktop only asks the program, by a posted command: a program that
// does not answer makes no desktop wait, and comes forward once it runs again.
TEST_F(AppContextMenu, ShowWindowItemMakesTheDesktopWaitForNoBusyProgram) {
    Start();
    tessara_.Command(IDC_HIDE_WINDOW);
    ASSERT_TRUE(harness::WaitUntil([&] { return !IsWindowVisible(tessara_.Window()); }));
    const DWORD pid = tessara_.Pid();
    ASSERT_GT(harness::SuspendProcess(pid, true), 0);
    const bool chosen = ChooseSubmenuItem(shell_, IDM_SHOW_WINDOW);
    DWORD_PTR ignored;
    const bool desktopAnswers =
        SendMessageTimeoutA(shell_.Progman(), WM_NULL, 0, 0, SMTO_NORMAL, 500, &ignored) != 0;
    harness::SuspendProcess(pid, false);
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(desktopAnswers);
    EXPECT_TRUE(harness::WaitUntil([&] {
        HWND window = tessara_.Window();
        return IsWindowVisible(window) && IsWindowEnabled(window) &&
               GetForegroundWindow() == window;
    }));
}

// Enter on the highlighted item chooses it, as a click does.
TEST_F(AppContextMenu, AnItemChosenByKeyboardRuns) {
    Start();
    ASSERT_TRUE(ChooseSubmenuItemByKeyboard(shell_, IDC_HIDE_ALWAYS));
    EXPECT_TRUE(app_test::WaitForStored([](const Settings& s) { return s.HideAlways == 1; }));
    EXPECT_TRUE(harness::WaitUntil([&] { return !IsWindowVisible(shell_.ListView()); }));
}

TEST_F(AppContextMenu, OptionSwitchesTheSubmenuOffAndOn) {
    Start();
    ASSERT_TRUE(HasSubmenu());
    tessara_.Command(IDC_CONTEXT_MENU);
    EXPECT_TRUE(app_test::WaitForStored([](const Settings& s) { return s.ContextMenu == 0; }));
    EXPECT_FALSE(IsDlgButtonChecked(tessara_.Window(), IDC_CONTEXT_MENU));
    const auto items = OpenMenu(shell_);
    CloseMenu(shell_);
    EXPECT_EQ(Level(items, 0).size(), 5u);
    EXPECT_FALSE(Find(items, kSubmenuText));
    tessara_.Command(IDC_CONTEXT_MENU);
    EXPECT_TRUE(IsDlgButtonChecked(tessara_.Window(), IDC_CONTEXT_MENU));
    EXPECT_TRUE(HasSubmenu());
}

// Wherever Explorer keeps the desktop view, under a top-level "WorkerW" or
// under a child of "Progman", the submenu is there and its items act.
TEST_F(AppContextMenu, SubmenuInEveryPlaceOfTheDesktopView) {
    for (int layout : {1, 2}) {
        SCOPED_TRACE(layout);
        harness::ShellOptions options = harness::ShellOptions::WithIcons(4);
        options.layout = layout;
        Start(options);
        EXPECT_TRUE(HasSubmenu());
        ASSERT_TRUE(ChooseSubmenuItem(shell_, IDC_HIDE_ALWAYS));
        EXPECT_TRUE(app_test::WaitForStored([](const Settings& s) { return s.HideAlways == 1; }));
        EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
        EXPECT_FALSE(shell_.IsViewSubclassed()) << "detached at the end";
    }
}

TEST_F(AppContextMenu, RestartedDesktopGetsTheSubmenuBack) {
    Start();
    ASSERT_TRUE(shell_.Restart());
    EXPECT_TRUE(harness::WaitUntil([&] { return shell_.IsViewSubclassed(); }, kMenuAttachMs));
    EXPECT_TRUE(HasSubmenu());
}

TEST_F(AppContextMenu, KilledProgramLeavesTheDesktopsOwnMenuWorking) {
    Start();
    tessara_.Process().Terminate();
    EXPECT_TRUE(harness::WaitUntil([&] { return !shell_.IsViewSubclassed(); }));
    const auto items = OpenMenu(shell_);
    const auto top = Level(items, 0);
    ASSERT_EQ(top.size(), 5u);
    EXPECT_EQ(top.back().text, "Properties");
    // "Auto Arrange", the shell's own first item, still does its work.
    harness::Click(Centre(top.front().rect));
    EXPECT_TRUE(harness::WaitUntil(
        [&] { return (GetWindowLongA(shell_.ListView(), GWL_STYLE) & LVS_AUTOARRANGE) != 0; }));
}

} // namespace
