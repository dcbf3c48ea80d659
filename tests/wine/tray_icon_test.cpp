// The notification-area icon of the real Tessara.exe in Wine's taskbar: its
// presence, its clicks, its menu, "Show tray icon" and the taskbar's restart.
#include "app/tray.h"
#include "app/tray_win.h"
#include "base/system_functions.h"
#include "tests/wine/app_program.h"
#include "ui/hot_keys_win.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <string>
#include <vector>

using app_test::ProgramTest;

namespace {

constexpr char kRelativeSet[] = "SavedIcons_Relative";
// The deferred start comes half a second after the window; under load later.
constexpr DWORD kDeferredStartMs = 10000;

NOTIFYICONDATAA IconOf(HWND window) {
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    icon.hWnd = window;
    icon.uID = 0;
    return icon;
}

// The taskbar answers a change of nothing for an icon it holds, and refuses
// one for an icon it does not know.
bool TrayIconPresent(HWND window) {
    NOTIFYICONDATAA icon = IconOf(window);
    return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

// Wine draws the icons into the taskbar from its right end; the program's is
// the only one. Posting the mouse messages there is what a click does.
void ClickTrayIcon(UINT down, UINT up, WPARAM buttons) {
    HWND taskbar = harness::Taskbar();
    ASSERT_NE(taskbar, nullptr);
    RECT client{};
    GetClientRect(taskbar, &client);
    const LPARAM at = MAKELPARAM(client.right - 10, client.bottom / 2);
    PostMessageA(taskbar, WM_MOUSEMOVE, 0, at);
    PostMessageA(taskbar, down, buttons, at);
    PostMessageA(taskbar, up, 0, at);
}

void LeftClick() {
    ClickTrayIcon(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON);
}

HWND WaitForMenuOf(DWORD pid) {
    return harness::WaitForWindow("#32768", nullptr, pid, 5000);
}

bool Checked(HWND window, int id) {
    return SendMessageA(GetDlgItem(window, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

class TrayIcon : public ProgramTest {
  protected:
    void SetUp() override { ASSERT_TRUE(shell_.Start()); }

    HWND Window() const { return tessara_.Window(); }

    bool WaitForIcon(bool present, DWORD timeoutMs = kDeferredStartMs) const {
        return harness::WaitUntil([&] { return TrayIconPresent(Window()) == present; }, timeoutMs);
    }

    // Waits for the deferred start: the hot keys registered and the icon in place.
    void WaitForDeferredStart() {
        ASSERT_TRUE(harness::WaitUntil([] { return Instances().ShowHideHotKeyActive != 0; },
                                       kDeferredStartMs));
        ASSERT_TRUE(WaitForIcon(true));
    }
};

TEST_F(TrayIcon, PresentAfterStartAndALeftClickTogglesTheWindow) {
    StartProgram(SettingsTemplate());
    WaitForDeferredStart();
    tessara_.Command(IDC_HIDE_WINDOW);
    ASSERT_FALSE(IsWindowVisible(Window()));

    LeftClick();
    EXPECT_TRUE(harness::WaitUntil([&] {
        return IsWindowVisible(Window()) && IsWindowEnabled(Window()) &&
               GetForegroundWindow() == Window();
    }));
    // Top-most only for the moment of coming forward.
    EXPECT_TRUE(harness::WaitUntil(
        [&] { return (GetWindowLongA(Window(), GWL_EXSTYLE) & WS_EX_TOPMOST) == 0; }, 3000));

    LeftClick();
    EXPECT_TRUE(harness::WaitUntil(
        [&] { return !IsWindowVisible(Window()) && !IsWindowEnabled(Window()); }));
}

TEST_F(TrayIcon, RightClickOpensTheMenuWhoseItemsAct) {
    StartProgram(SettingsTemplate());
    WaitForDeferredStart();
    ASSERT_TRUE(harness::RegDeleteValue(HKEY_CURRENT_USER, kProgramKey, kRelativeSet));

    ClickTrayIcon(WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON);
    HWND menu = WaitForMenuOf(tessara_.Pid());
    ASSERT_NE(menu, nullptr);
    harness::PumpMessages(300);
    harness::Screenshot("tray_menu");

    // "Web Page", "Help...", then "Save Icon Positions".
    for (int i = 0; i < 3; ++i)
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(harness::WaitForWindowGone(menu));
    EXPECT_TRUE(harness::WaitUntil(
        [] { return harness::RegRead(HKEY_CURRENT_USER, kProgramKey, kRelativeSet).has_value(); }));
}

TEST_F(TrayIcon, CannotBeSwitchedOffWithoutAShowHideHotKey) {
    Settings record = SettingsTemplate();
    record.HotKeyShowHideOn = 0;
    StartProgram(record);
    ASSERT_TRUE(WaitForIcon(true));
    EXPECT_TRUE(harness::HoldsFor([] { return Instances().ShowHideHotKeyActive == 0; }, 500));

    tessara_.Command(IDC_SHOW_TRAY_ICON);
    EXPECT_TRUE(TrayIconPresent(Window()));
    EXPECT_TRUE(Checked(Window(), IDC_SHOW_TRAY_ICON));
    EXPECT_EQ(harness::WaitForDialog("Tessara", tessara_.Pid(), 1000), nullptr);
}

TEST_F(TrayIcon, SwitchedOffWithAShowHideHotKeyAndTheMessageComesOnce) {
    StartProgram(SettingsTemplate());
    WaitForDeferredStart();

    PostMessageA(Window(), WM_COMMAND, IDC_SHOW_TRAY_ICON, 0);
    HWND message = harness::WaitForDialog("Tessara", tessara_.Pid());
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(harness::MessageBoxText(message), TrayRemovalText(GetHotKeyText(0x341)));
    harness::PressButton(message, IDOK);
    EXPECT_TRUE(WaitForIcon(false));
    EXPECT_FALSE(Checked(Window(), IDC_SHOW_TRAY_ICON));

    tessara_.Command(IDC_SHOW_TRAY_ICON);
    EXPECT_TRUE(WaitForIcon(true));
    PostMessageA(Window(), WM_COMMAND, IDC_SHOW_TRAY_ICON, 0);
    EXPECT_TRUE(WaitForIcon(false));
    EXPECT_EQ(harness::WaitForDialog("Tessara", tessara_.Pid(), 1000), nullptr);
    EXPECT_TRUE(app_test::WaitForStored([](const Settings& s) { return s.ShowTrayIcon == 0; }));
}

TEST_F(TrayIcon, StartsWithoutIconOrMessageWhenSwitchedOff) {
    Settings record = SettingsTemplate();
    record.ShowTrayIcon = 0;
    StartProgram(record);
    ASSERT_TRUE(
        harness::WaitUntil([] { return Instances().ShowHideHotKeyActive != 0; }, kDeferredStartMs));
    EXPECT_TRUE(harness::HoldsFor([&] { return !TrayIconPresent(Window()); }, 1000));
    EXPECT_EQ(harness::WaitForDialog("Tessara", tessara_.Pid(), 500), nullptr);
}

// Another program holds Ctrl + Shift + A: the message names it and the tray
// icon comes on, so that the window stays reachable.
TEST_F(TrayIcon, TakenShowHideHotKeyBringsTheIconOn) {
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_SHIFT, 'A'));
    Settings record = SettingsTemplate();
    record.ShowTrayIcon = 0;
    StartProgram(record);
    HWND message = harness::WaitForDialog("Tessara", tessara_.Pid(), kDeferredStartMs);
    ASSERT_NE(message, nullptr);
    const std::string key = GetHotKeyText(0x341);
    EXPECT_EQ(key, "Ctrl + Shift + A");
    EXPECT_EQ(harness::MessageBoxText(message),
              "Unable to register " + key + " as a hot key.\n\nAnother program may be using " +
                  key +
                  ".\n\nYou do not have an active  \"Show/Hide\" hot key\nso the Tray Icon "
                  "has been enabled.");
    harness::PressButton(message, IDOK);
    EXPECT_TRUE(WaitForIcon(true));
    EXPECT_TRUE(Checked(Window(), IDC_SHOW_TRAY_ICON));
    EXPECT_EQ(Instances().ShowHideHotKeyActive, 0);
    UnregisterHotKey(nullptr, 1);
}

// Wine never broadcasts "TaskbarCreated": the test takes the icon away as a
// new taskbar would have lost it, and sends the message itself.
TEST_F(TrayIcon, ComesBackWhenTheTaskbarIsCreatedAgain) {
    StartProgram(SettingsTemplate());
    WaitForDeferredStart();
    NOTIFYICONDATAA icon = IconOf(Window());
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
    ASSERT_FALSE(TrayIconPresent(Window()));

    HWND hidden = harness::FindTopLevel(names::HiddenWindowClass, nullptr, tessara_.Pid());
    ASSERT_NE(hidden, nullptr);
    SendMessageA(hidden, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitForIcon(true, 3000));
}

TEST_F(TrayIcon, StaysAwayAfterTheTaskbarIsCreatedWhenSwitchedOff) {
    Settings record = SettingsTemplate();
    record.ShowTrayIcon = 0;
    StartProgram(record);
    ASSERT_TRUE(
        harness::WaitUntil([] { return Instances().ShowHideHotKeyActive != 0; }, kDeferredStartMs));
    harness::PumpMessages(500);
    HWND hidden = harness::FindTopLevel(names::HiddenWindowClass, nullptr, tessara_.Pid());
    SendMessageA(hidden, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(harness::HoldsFor([&] { return !TrayIconPresent(Window()); }, 500));
}

// ---- The menu as built from the program's own resources ----------------------

struct ReadItem {
    std::string text;
    UINT id = 0;
    bool separator = false, checked = false, greyed = false, popup = false;
};

std::vector<ReadItem> ReadMenu(HMENU menu) {
    std::vector<ReadItem> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, UINT(i), TRUE, &info);
        items.push_back({text, info.wID, (info.fType & MFT_SEPARATOR) != 0,
                         (info.fState & MFS_CHECKED) != 0, (info.fState & MFS_GRAYED) != 0,
                         info.hSubMenu != nullptr});
    }
    return items;
}

class TrayMenuResources : public ::testing::Test {
  protected:
    void SetUp() override {
        program_.reset(LoadLibraryExA((harness::BinDir() + "\\Tessara.exe").c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(program_);
    }

    // The menu's items for `layout`, as the popup holds them.
    std::vector<ReadItem> Built(const TrayMenuLayout& layout) {
        menu_ = BuildTrayMenu(program_.get(), layout);
        EXPECT_TRUE(menu_);
        return menu_ ? ReadMenu(GetSubMenu(menu_.get(), 0)) : std::vector<ReadItem>{};
    }

    UniqueModule program_;
    UniqueMenu menu_;
};

// Every item of the table lands in the menu, with its text, id and marks,
// between "Web Page" and "&Exit" where it belongs.
TEST_F(TrayMenuResources, HoldsTheTableBetweenWebPageAndExit) {
    Settings everything = SettingsTemplate();
    everything.TrayShowDance = 1;
    TrayMenuContext shadowsAndTest;
    shadowsAndTest.dropShadowsOn = true;
    shadowsAndTest.testMode = true;
    TrayMenuContext moved;
    moved.savedSetExists = true;
    moved.temporarilyMoved = true;
    Settings nothing = SettingsTemplate();
    nothing.TrayShowHelp = nothing.TrayShowPositions = nothing.TrayShowText = 0;
    nothing.TrayShowHiding = 0;
    const struct {
        Settings record;
        TrayMenuContext context;
    } cases[] = {{everything, shadowsAndTest}, {SettingsTemplate(), moved}, {nothing, {}}};
    for (const auto& c : cases) {
        const TrayMenuLayout layout = TrayMenuItems(c.record, c.context);
        std::vector<TrayMenuItem> expected = layout.afterWebPage;
        expected.insert(expected.begin(), {TrayItemKind::Command, IDM_WEB_PAGE, "Web Page"});
        expected.push_back({TrayItemKind::Separator, 0, ""});
        expected.insert(expected.end(), layout.beforeExit.begin(), layout.beforeExit.end());
        expected.push_back({TrayItemKind::Command, IDM_EXIT, "&Exit"});

        const std::vector<ReadItem> items = Built(layout);
        ASSERT_EQ(items.size(), expected.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(items[i].separator, expected[i].kind == TrayItemKind::Separator);
            if (items[i].separator)
                continue;
            EXPECT_EQ(items[i].text, expected[i].text);
            EXPECT_EQ(int(items[i].id), expected[i].id);
            EXPECT_EQ(items[i].checked, expected[i].checked);
            EXPECT_EQ(items[i].greyed, expected[i].greyed);
            EXPECT_EQ(items[i].popup, expected[i].kind == TrayItemKind::TestMenu);
        }
    }
}

TEST_F(TrayMenuResources, TestMenuOffersToLeaveTestMode) {
    TrayMenuContext test;
    test.testMode = true;
    Built(TrayMenuItems(SettingsTemplate(), test));
    HMENU popup = GetSubMenu(menu_.get(), 0);
    HMENU testMenu = GetSubMenu(popup, GetMenuItemCount(popup) - 2);
    ASSERT_NE(testMenu, nullptr);
    const std::vector<ReadItem> items = ReadMenu(testMenu);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, "Disable Test Mode");
    EXPECT_EQ(items[0].id, UINT(IDM_LEAVE_TEST_MODE));
}

// The tray gets the small-icon size itself, scaled down from a larger image
// where the icon has none of that size.
TEST_F(TrayMenuResources, IconComesAtTheRequestedSmallSize) {
    BindShellFunctions();
    for (int size : {16, 20, 24, 32}) {
        const UniqueIcon icon = LoadTrayIcon(program_.get(), size);
        ASSERT_TRUE(icon) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon.get(), &info));
        BITMAP color{};
        GetObjectA(info.hbmColor, sizeof color, &color);
        EXPECT_EQ(color.bmWidth, size);
        EXPECT_EQ(color.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

} // namespace
