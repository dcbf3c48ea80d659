// The hook library against the stand-in desktop shell: the test program plays
// the part of Tessara, deskshell.exe the part of Explorer.
#include "deskhook/deskhook.h"
#include "deskhook/shared_names.h"
#include "desklink/desk_link.h"
#include "tests/harness/harness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace harness;

namespace {

// Set in the environment of a copy of this program that only attaches and
// then waits to be killed.
const char kOwnerHelperVariable[] = "TESSARA_DESKHOOK_OWNER_HELPER";

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

POINT Centre(const RECT& rect) {
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

class DeskhookLink : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(shell_.Start());
        ASSERT_EQ(RefreshDesktopListView(), shell_.ListView());
        ASSERT_TRUE(SetHook(TRUE));
        block_ = LocateSharedData();
        ASSERT_NE(block_, nullptr);
    }
    void TearDown() override {
        SetHook(FALSE);
        shell_.Stop();
    }

    Shell shell_;
    SharedBlock* block_ = nullptr;
};

TEST_F(DeskhookLink, AttachSubclassesTheListViewAndRegistersTheMessages) {
    EXPECT_TRUE(shell_.IsListViewSubclassed());
    EXPECT_NE(block_->ListHooked, nullptr);
    EXPECT_EQ(block_->ListView, shell_.ListView());
    EXPECT_EQ(block_->CursorShown, 1);
    const std::pair<UINT, const char*> messages[] = {
        {block_->MsgStart, names::MsgStart},     {block_->MsgEnd, names::MsgEnd},
        {block_->MsgGetPos, names::MsgGetPos},   {block_->MsgSetPos, names::MsgSetPos},
        {block_->MsgHitTest, names::MsgHitTest}, {block_->MsgToggleCursor, names::MsgToggleCursor},
    };
    for (const auto& [id, name] : messages)
        EXPECT_EQ(id, RegisterWindowMessageA(name)) << name;
    EXPECT_NE(block_->ListOldProc, nullptr);
}

TEST_F(DeskhookLink, GetPosReportsWhatTheShellReportsForEveryIcon) {
    std::vector<ShellIcon> layout = shell_.Layout();
    ASSERT_GT(layout.size(), 1u);
    ASSERT_EQ(IconCount(), static_cast<int>(layout.size()));
    for (const ShellIcon& icon : layout) {
        SCOPED_TRACE(icon.caption);
        IconInfo info{};
        ASSERT_TRUE(GetIconInfo(icon.index, info));
        EXPECT_EQ(info.position.x, icon.position.x);
        EXPECT_EQ(info.position.y, icon.position.y);
        EXPECT_TRUE(SameRect(info.boundsRect, icon.bounds));
        EXPECT_TRUE(SameRect(info.labelRect, icon.label));
        EXPECT_EQ(std::string(info.caption), icon.caption);
        EXPECT_EQ(info.captionLength, static_cast<int>(icon.caption.size()));
    }
}

TEST_F(DeskhookLink, LongestCaptionComesBackWholeAndTerminated) {
    for (size_t length : {254u, 255u}) {
        std::string caption(length, 'a');
        caption.back() = 'z';
        int index = shell_.Add(caption);
        ASSERT_GE(index, 0);
        std::fill(std::begin(block_->Caption), std::end(block_->Caption), '#');
        IconInfo info{};
        ASSERT_TRUE(GetIconInfo(index, info));
        EXPECT_EQ(block_->CaptionLength, static_cast<LONG>(length));
        EXPECT_EQ(std::string(block_->Caption), caption);
        EXPECT_EQ(std::string(info.caption), caption);
    }
}

TEST_F(DeskhookLink, SetPosMovesTheIcon) {
    const POINT targets[] = {{300, 200}, {17, 411}, {640, 5}};
    for (const POINT& target : targets) {
        ASSERT_TRUE(SetIconPosition(1, target));
        ShellIcon moved = shell_.Layout().at(1);
        EXPECT_EQ(moved.position.x, target.x);
        EXPECT_EQ(moved.position.y, target.y);
    }
}

TEST_F(DeskhookLink, HitTestFindsTheIconUnderThePoint) {
    std::vector<ShellIcon> layout = shell_.Layout();
    ASSERT_GE(layout.size(), 3u);
    for (int index : {0, 2}) {
        UINT flags = 0;
        // The middle of the bounds can fall between the icon and its label.
        EXPECT_EQ(HitTestIcon(Centre(layout[index].label), &flags), index);
        EXPECT_NE(flags & LVHT_ONITEM, 0u);
    }
    UINT flags = 0;
    EXPECT_EQ(HitTestIcon(POINT{1000, 700}, &flags), -1);
    EXPECT_NE(flags & LVHT_NOWHERE, 0u);
}

TEST_F(DeskhookLink, CursorToggledTwiceIsShownAgain) {
    const int countBefore = shell_.CursorCount();
    EXPECT_FALSE(ToggleDesktopCursor());
    EXPECT_EQ(block_->CursorShown, 0);
    EXPECT_EQ(shell_.CursorCount(), countBefore - 1);
    EXPECT_TRUE(ToggleDesktopCursor());
    EXPECT_EQ(block_->CursorShown, 1);
    EXPECT_EQ(shell_.CursorCount(), countBefore);
}

int ListViewSettingChanges(const std::vector<ShellEvent>& events) {
    int count = 0;
    for (const ShellEvent& event : events)
        count += event.window == "listview" && event.message == WM_SETTINGCHANGE;
    return count;
}

// Records each UM_SETTINGCHANGE with the number of WM_SETTINGCHANGE the
// shell's list view had seen by then.
struct SettingChangeProbe {
    static inline std::vector<WPARAM> received;
    static inline std::vector<int> listViewSawBefore;
    static inline int listViewSaw = 0;
    static inline const Shell* shell = nullptr;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != UM_SETTINGCHANGE)
            return DefWindowProcA(window, message, wParam, lParam);
        received.push_back(wParam);
        listViewSaw += ListViewSettingChanges(shell->TakeEvents());
        listViewSawBefore.push_back(listViewSaw);
        return 0;
    }
};

TEST_F(DeskhookLink, WinIniChangeReachesTheProgramBeforeTheListView) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = SettingChangeProbe::Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "DeskhookSettingProbe";
    RegisterClassA(&windowClass);
    HWND probe = CreateWindowA(windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               windowClass.hInstance, nullptr);
    ASSERT_NE(probe, nullptr);
    SettingChangeProbe::shell = &shell_;
    SetDesktopNotifyWindow(probe);
    shell_.TakeEvents();

    for (WPARAM code : {WPARAM{SPI_SETDESKWALLPAPER}, WPARAM{0}, WPARAM{SPI_SETDESKPATTERN}}) {
        DWORD_PTR ignored;
        SendMessageTimeoutA(shell_.ListView(), WM_WININICHANGE, code, 0, SMTO_NORMAL, 5000,
                            &ignored);
    }
    SetDesktopNotifyWindow(nullptr);
    DestroyWindow(probe);

    EXPECT_EQ(SettingChangeProbe::received,
              (std::vector<WPARAM>{SPI_SETDESKWALLPAPER, 0, SPI_SETDESKPATTERN}));
    // The k-th forward arrives while the list view has seen only k - 1.
    EXPECT_EQ(SettingChangeProbe::listViewSawBefore, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(SettingChangeProbe::listViewSaw + ListViewSettingChanges(shell_.TakeEvents()), 3);
}

TEST_F(DeskhookLink, PaintAppliesTheColoursOfTheBlock) {
    const std::pair<COLORREF, COLORREF> colours[] = {{RGB(1, 2, 3), RGB(200, 100, 50)},
                                                     {RGB(255, 255, 255), CLR_NONE}};
    for (const auto& [text, back] : colours) {
        SetCaptionColors(text, back);
        EXPECT_TRUE(WaitUntil([&] {
            return ListTextColor() == text && ListTextBackColor() == back;
        })) << std::hex
            << ListTextColor() << " " << ListTextBackColor();
    }
}

TEST_F(DeskhookLink, MouseMoveOverTheIconsIsRecorded) {
    block_->MouseMoved = 0;
    SendMessageA(shell_.ListView(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(block_->MouseMoved, 1);
}

TEST_F(DeskhookLink, AttachWhenAttachedLeavesTheBlockAlone) {
    block_->LabelRect = RECT{1, 2, 3, 4};
    block_->CursorShown = 7;
    EXPECT_TRUE(SetHook(TRUE));
    EXPECT_TRUE(SameRect(block_->LabelRect, RECT{1, 2, 3, 4}));
    EXPECT_EQ(block_->CursorShown, 7);
    block_->CursorShown = 1;
}

TEST_F(DeskhookLink, DetachTwiceRemovesTheSubclassOnce) {
    EXPECT_TRUE(SetHook(FALSE));
    EXPECT_EQ(block_->ListHooked, nullptr);
    EXPECT_EQ(block_->ListHook, nullptr);
    EXPECT_FALSE(shell_.IsListViewSubclassed());
    EXPECT_TRUE(SetHook(FALSE));
    EXPECT_FALSE(shell_.IsListViewSubclassed());
    // The list view is its old self again and still answers.
    EXPECT_EQ(static_cast<size_t>(IconCount()), shell_.Layout().size());
    IconInfo info{};
    EXPECT_FALSE(GetIconInfo(0, info));
}

TEST_F(DeskhookLink, ReattachAfterDetachWorks) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(SetHook(FALSE));
        ASSERT_TRUE(SetHook(TRUE));
        EXPECT_TRUE(shell_.IsListViewSubclassed());
        IconInfo info{};
        EXPECT_TRUE(GetIconInfo(0, info));
        EXPECT_EQ(std::string(info.caption), shell_.Layout().at(0).caption);
    }
}

TEST_F(DeskhookLink, AttachesAgainAfterTheShellRestarts) {
    ASSERT_TRUE(shell_.Restart());
    ASSERT_EQ(RefreshDesktopListView(), shell_.ListView());
    EXPECT_TRUE(SetHook(FALSE));
    ASSERT_TRUE(SetHook(TRUE));
    EXPECT_EQ(block_->ListView, shell_.ListView());
    EXPECT_TRUE(shell_.IsListViewSubclassed());
    IconInfo info{};
    ASSERT_TRUE(GetIconInfo(1, info));
    EXPECT_EQ(std::string(info.caption), shell_.Layout().at(1).caption);
}

// ---- Hiding ------------------------------------------------------------------

class DeskhookHiding : public DeskhookLink {
  protected:
    void SetUp() override {
        DeskhookLink::SetUp();
        taskbar_ = Taskbar();
        ASSERT_NE(taskbar_, nullptr);
        GetCursorPos(&cursorBefore_);
    }
    void TearDown() override {
        block_->DanceRunning = 0;
        ShowWindow(taskbar_, SW_SHOW);
        SetCursorPos(cursorBefore_.x, cursorBefore_.y);
        DeskhookLink::TearDown();
    }
    void PutCursorOnTaskbar(bool on) {
        RECT bar;
        GetWindowRect(taskbar_, &bar);
        POINT point = on ? Centre(bar) : POINT{bar.left + 200, bar.top > 300 ? 100 : 600};
        // Under Wine a late pointer event from X can move the cursor back after
        // SetCursorPos: set it until it has stayed put for a while.
        int steady = 0;
        ASSERT_TRUE(WaitUntil(
            [&] {
                POINT now;
                GetCursorPos(&now);
                if (now.x == point.x && now.y == point.y)
                    return ++steady >= 5;
                steady = 0;
                SetCursorPos(point.x, point.y);
                return false;
            },
            5000));
    }
    // ShowWindowAsync acts when the windows' threads get to it.
    bool Settles(bool listVisible, bool taskbarVisible) {
        return WaitUntil(
            [&] {
                return (IsWindowVisible(shell_.ListView()) != FALSE) == listVisible &&
                       (IsWindowVisible(taskbar_) != FALSE) == taskbarVisible;
            },
            3000);
    }

    HWND taskbar_ = nullptr;
    POINT cursorBefore_{};
};

TEST_F(DeskhookHiding, TaskbarFollowsTheArgumentUnlessTheCursorIsOnIt) {
    const struct {
        bool cursorOnTaskbar;
        BOOL hideTaskbar;
        bool taskbarVisibleBefore;
        bool taskbarVisibleAfter;
    } cases[] = {
        {true, TRUE, true, true},    {true, FALSE, false, false}, {false, TRUE, true, false},
        {false, FALSE, false, true}, {false, FALSE, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "on taskbar " << c.cursorOnTaskbar << ", hide "
                                        << c.hideTaskbar << ", shown " << c.taskbarVisibleBefore);
        ShowWindow(shell_.ListView(), SW_SHOW);
        ShowWindow(taskbar_, c.taskbarVisibleBefore ? SW_SHOW : SW_HIDE);
        ASSERT_TRUE(Settles(true, c.taskbarVisibleBefore));
        PutCursorOnTaskbar(c.cursorOnTaskbar);
        HideDesktopIcons(c.hideTaskbar);
        EXPECT_TRUE(Settles(false, c.taskbarVisibleAfter))
            << "list view visible " << IsWindowVisible(shell_.ListView()) << ", taskbar visible "
            << IsWindowVisible(taskbar_);
    }
}

TEST_F(DeskhookHiding, NothingChangesWhileTheDanceRuns) {
    PutCursorOnTaskbar(false);
    block_->DanceRunning = 1;
    HideDesktopIcons(TRUE);
    PumpMessages(300);
    EXPECT_TRUE(IsWindowVisible(shell_.ListView()));
    EXPECT_TRUE(IsWindowVisible(taskbar_));
    block_->DanceRunning = 0;
    HideDesktopIcons(TRUE);
    EXPECT_TRUE(Settles(false, false));
}

// ---- The attaching program killed ------------------------------------------

// Runs only in the helper copy: attaches, hides the cursor and the icons the
// way the program would, reports, and waits to be killed.
TEST(DeskhookOwnerHelper, AttachAndWait) {
    if (!GetEnvironmentVariableA(kOwnerHelperVariable, nullptr, 0))
        GTEST_SKIP() << "only run as the helper of DeskhookOwnerKilled";
    RefreshDesktopListView();
    ASSERT_TRUE(SetHook(TRUE));
    ToggleDesktopCursor();
    HideDesktopIcons(FALSE);
    Sleep(INFINITE);
}

Process StartOwnerHelper() {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    SetEnvironmentVariableA(kOwnerHelperVariable, "1");
    Process helper = Process::Start(self, "--gtest_filter=DeskhookOwnerHelper.AttachAndWait");
    SetEnvironmentVariableA(kOwnerHelperVariable, nullptr);
    return helper;
}

TEST(DeskhookOwnerKilled, ShellTakesItsListViewBackAndANewOwnerCanAttach) {
    Shell shell;
    ASSERT_TRUE(shell.Start());
    SharedBlock* block = LocateSharedData();
    ASSERT_NE(block, nullptr);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Process helper = StartOwnerHelper();
        ASSERT_TRUE(helper.Running());
        ASSERT_TRUE(WaitUntil([&] {
            return block->OwnerProcessId == helper.Pid() && block->ListHooked &&
                   block->CursorShown == 0 && !IsWindowVisible(shell.ListView());
        }));
        ASSERT_TRUE(shell.IsListViewSubclassed());

        helper.Terminate();
        EXPECT_TRUE(WaitUntil([&] { return !shell.IsListViewSubclassed(); }));
        EXPECT_EQ(block->ListHooked, nullptr);
        EXPECT_EQ(block->CursorShown, 1);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(shell.ListView()) != FALSE; }));
        // Still a working shell: it answers and paints.
        EXPECT_EQ(static_cast<size_t>(SendMessageA(shell.ListView(), LVM_GETITEMCOUNT, 0, 0)),
                  shell.Layout().size());
        InvalidateRect(shell.ListView(), nullptr, TRUE);
        EXPECT_TRUE(WaitUntil([&] { return !GetUpdateRect(shell.ListView(), nullptr, FALSE); }));
    }
    RefreshDesktopListView();
    ASSERT_TRUE(SetHook(TRUE));
    EXPECT_EQ(block->OwnerProcessId, GetCurrentProcessId());
    IconInfo info{};
    EXPECT_TRUE(GetIconInfo(0, info));
    EXPECT_EQ(std::string(info.caption), shell.Layout().at(0).caption);
    EXPECT_TRUE(SetHook(FALSE));
    EXPECT_FALSE(shell.IsListViewSubclassed());
}

} // namespace
