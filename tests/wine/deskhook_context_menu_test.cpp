// The context-menu extension of the hook library against the stand-in
// desktop shell: this test program plays the program's part with a window of
// its own that records the commands it receives.
#include "deskhook/deskhook.h"
#include "tests/harness/harness.h"
#include "tests/wine/context_menu_wine.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace harness;
using namespace context_menu_test;

namespace {

// The program's window: records WM_COMMAND ids and who received them.
struct CommandProbe {
    static inline std::vector<WPARAM> received;
    static inline HWND lastReceiver = nullptr;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND) {
            received.push_back(LOWORD(wParam));
            lastReceiver = window;
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    static HWND Create() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ContextMenuProbe";
        RegisterClassA(&windowClass);
        return CreateWindowExA(0, "ContextMenuProbe", "probe", WS_OVERLAPPEDWINDOW, 100, 100, 300,
                               200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
};

class DeskhookContextMenu : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(shell_.Start(ShellOptions::WithIcons(4)));
        ASSERT_TRUE(SetHook(TRUE));
        block_ = LocateSharedData();
        ASSERT_NE(block_, nullptr);
        probe_ = CommandProbe::Create();
        ASSERT_NE(probe_, nullptr);
        block_->MenuEnabled = 1;
        block_->ClickToShow = 1;
        block_->VisibilityMode = IDC_NEVER_HIDE;
        block_->DanceRunning = 0;
        ASSERT_TRUE(SetHook2(TRUE, probe_));
        ASSERT_TRUE(WaitUntil([&] { return block_->ViewHooked && shell_.IsViewSubclassed(); }));
        CommandProbe::received.clear();
    }
    void TearDown() override {
        CloseMenu(shell_);
        EXPECT_TRUE(SetHook2(FALSE, nullptr));
        EXPECT_FALSE(shell_.IsViewSubclassed());
        SetHook(FALSE);
        DestroyWindow(probe_);
        shell_.Stop();
    }

    Shell shell_;
    SharedBlock* block_ = nullptr;
    HWND probe_ = nullptr;
};

// Fraction of the rectangle's pixels in `color`.
double ShareOf(const Image& screen, const RECT& rect, COLORREF color) {
    int inColor = 0, all = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x, ++all)
            inColor += screen.Pixel(x, y) == color;
    return all ? static_cast<double>(inColor) / all : 0;
}

TEST_F(DeskhookContextMenu, SubmenuSitsBeforeTheLastItemWithTheMarksOfThePublishedState) {
    block_->DanceRunning = 1;
    block_->VisibilityMode = IDC_HIDE_ALWAYS;
    auto items = OpenMenu(shell_);
    const auto top = Level(items, 0);
    ASSERT_EQ(top.size(), 7u);
    EXPECT_EQ(top[4].text, kSubmenuText);
    EXPECT_NE(top[4].state & MF_POPUP, 0u);
    EXPECT_TRUE(IsSeparator(top[5]));
    EXPECT_EQ(top[6].text, "Properties");

    struct Expected {
        const char* text;
        UINT id;
        UINT marks;
    };
    const Expected expected[] = {
        {"Show Icons Now", IDM_SHOW_ICONS_NOW, 0},
        {"", 0, MF_SEPARATOR},
        {"Restore Icon Positions", IDM_RESTORE_POSITIONS, 0},
        {"Save Icon Positions", IDM_SAVE_POSITIONS, MF_GRAYED},
        {"", 0, MF_SEPARATOR},
        {"Show Icons Always", IDC_NEVER_HIDE, 0},
        {"Show Icons as Needed", IDC_HIDE_BY_CURSOR, 0},
        {"Hide Icons Always", IDC_HIDE_ALWAYS, MF_CHECKED},
        {"", 0, MF_SEPARATOR},
        {"Show Tessara's Window", IDM_SHOW_WINDOW, 0},
    };
    const auto sub = Level(items, 1);
    ASSERT_EQ(sub.size(), std::size(expected));
    for (size_t i = 0; i < sub.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sub[i].text, expected[i].text);
        EXPECT_EQ(sub[i].id, expected[i].id);
        // Wine reports separators greyed as well.
        const UINT marks =
            IsSeparator(sub[i]) ? MF_SEPARATOR : sub[i].state & (MF_GRAYED | MF_CHECKED);
        EXPECT_EQ(marks, expected[i].marks);
    }

    // Opened, with the submenu showing, for the screenshot.
    ASSERT_TRUE(PointAtSubmenuItem(shell_, items, IDM_RESTORE_POSITIONS));
    std::set<HWND> menus;
    WaitUntil([&] {
        menus.clear();
        for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w;
             w = FindWindowExA(nullptr, w, "#32768", nullptr))
            if (IsWindowVisible(w) && WindowPid(w) == shell_.Pid())
                menus.insert(w);
        return menus.size() == 2;
    });
    ASSERT_EQ(menus.size(), 2u);
    PumpMessages(300);
    EXPECT_FALSE(Screenshot("deskhook_context_menu").empty());
    const Image screen = CaptureScreen();
    for (HWND menu : menus) {
        RECT rect;
        GetWindowRect(menu, &rect);
        InflateRect(&rect, -3, -3);
        // Menus drawn in the menu colour, with their texts on it.
        const double background = ShareOf(screen, rect, GetSysColor(COLOR_MENU));
        EXPECT_GT(background, 0.4);
        EXPECT_LT(background, 0.98);
    }
    CloseMenu(shell_);
    EXPECT_TRUE(CommandProbe::received.empty());

    // The next menu follows what was published since.
    block_->DanceRunning = 0;
    block_->VisibilityMode = IDC_HIDE_BY_CURSOR;
    items = OpenMenu(shell_);
    EXPECT_EQ(Find(items, "Save Icon Positions")->state & MF_GRAYED, 0u);
    EXPECT_EQ(Find(items, "Hide Icons Always")->state & MF_CHECKED, 0u);
    EXPECT_NE(Find(items, "Show Icons as Needed")->state & MF_CHECKED, 0u);
}

TEST_F(DeskhookContextMenu, ChosenItemsReachTheProgramAsCommands) {
    for (UINT id : {IDC_HIDE_ALWAYS, IDC_HIDE_BY_CURSOR, IDC_NEVER_HIDE, IDM_SAVE_POSITIONS,
                    IDM_RESTORE_POSITIONS}) {
        SCOPED_TRACE(id);
        CommandProbe::received.clear();
        ASSERT_TRUE(ChooseSubmenuItem(shell_, id));
        EXPECT_TRUE(WaitUntil([&] { return !CommandProbe::received.empty(); }));
        PumpMessages(100);
        EXPECT_EQ(CommandProbe::received, std::vector<WPARAM>{id});
    }
}

TEST_F(DeskhookContextMenu, ShowIconsNowShowsThemWithoutAskingTheProgram) {
    ShowWindow(shell_.ListView(), SW_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(shell_.ListView()); }));
    ASSERT_TRUE(ChooseSubmenuItem(shell_, IDM_SHOW_ICONS_NOW));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(shell_.ListView()) != FALSE; }));
    PumpMessages(300);
    EXPECT_TRUE(CommandProbe::received.empty());
}

// Whatever the desktop did to the program's window would wait for the
// program: it only posts the command, and the program comes forward itself.
TEST_F(DeskhookContextMenu, ShowWindowAsksTheProgramToComeForward) {
    EnableWindow(probe_, FALSE);
    ShowWindow(probe_, SW_HIDE);
    ASSERT_TRUE(ChooseSubmenuItem(shell_, IDM_SHOW_WINDOW));
    EXPECT_TRUE(WaitUntil([&] { return !CommandProbe::received.empty(); }));
    EXPECT_EQ(CommandProbe::received, std::vector<WPARAM>{IDM_SHOW_WINDOW});
    EXPECT_FALSE(IsWindowVisible(probe_));
    EXPECT_FALSE(IsWindowEnabled(probe_));
}

TEST_F(DeskhookContextMenu, DesktopClickShowsTheIconsOnlyWhenAskedToAndItemChangesAlways) {
    const auto hidden = [&] {
        ShowWindow(shell_.ListView(), SW_HIDE);
        return WaitUntil([&] { return !IsWindowVisible(shell_.ListView()); });
    };
    const auto clickReachedTheView = [&] {
        std::vector<ShellEvent> events;
        return WaitUntil([&] {
            auto more = shell_.TakeEvents();
            events.insert(events.end(), more.begin(), more.end());
            return std::any_of(events.begin(), events.end(), [](const ShellEvent& e) {
                return e.window == "defview" && e.message == WM_LBUTTONUP;
            });
        });
    };
    block_->ClickToShow = 0;
    ASSERT_TRUE(hidden());
    shell_.TakeEvents();
    Click(EmptyDesktopPoint(), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(clickReachedTheView());
    PumpMessages(200);
    EXPECT_FALSE(IsWindowVisible(shell_.ListView()));

    // An item change shows them whatever the setting.
    ASSERT_TRUE(shell_.SelectIcon(1));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(shell_.ListView()) != FALSE; }));

    block_->ClickToShow = 1;
    ASSERT_TRUE(hidden());
    shell_.TakeEvents();
    Click(EmptyDesktopPoint(), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(clickReachedTheView());
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(shell_.ListView()) != FALSE; }));
}

TEST_F(DeskhookContextMenu, MenuSwitchedOffIsLeftUntouched) {
    block_->MenuEnabled = 0;
    const auto items = OpenMenu(shell_);
    std::vector<std::string> texts;
    for (const ShellMenuItem& item : items)
        texts.push_back(item.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Auto Arrange", "", "Refresh", "", "Properties"}));
}

TEST_F(DeskhookContextMenu, AttachWhileAttachedKeepsTheProgramsWindow) {
    HWND other = CommandProbe::Create();
    EXPECT_TRUE(SetHook2(TRUE, other));
    EXPECT_EQ(block_->AppWindow, probe_);
    ASSERT_TRUE(ChooseSubmenuItem(shell_, IDC_HIDE_ALWAYS));
    EXPECT_TRUE(WaitUntil([&] { return !CommandProbe::received.empty(); }));
    EXPECT_EQ(CommandProbe::lastReceiver, probe_);
    DestroyWindow(other);
}

} // namespace
