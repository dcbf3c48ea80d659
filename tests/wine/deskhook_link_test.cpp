// The hook library against the stand-in desktop shell: the test program plays
// the part of Tessara, deskshell.exe the part of Explorer.
#include "base/handles.h"
#include "deskhook/deskhook.h"
#include "deskhook/shared_names.h"
#include "base/app_state.h"
#include "desklink/desk_link.h"
#include "icons/icon_positions.h"
#include "icons/icon_registry.h"
#include "tests/harness/harness.h"
#include "tests/wine/context_menu_wine.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

using namespace harness;

namespace {

// Set in the environment of a copy of this program that runs one helper test
// (named by the value) for a test in this process.
const char kHelperVariable[] = "TESSARA_DESKHOOK_HELPER";

bool IsHelper(const char* name) {
    char value[128] = "";
    return GetEnvironmentVariableA(kHelperVariable, value, sizeof value) &&
           std::string(value) == name;
}

// Another copy of this program, running helper test `name` with `args`.
Process StartHelper(const char* name, const std::string& args = "") {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    SetEnvironmentVariableA(kHelperVariable, name);
    Process helper =
        Process::Start(self, std::string("--gtest_filter=DeskhookHelper.") + name + " " + args);
    SetEnvironmentVariableA(kHelperVariable, nullptr);
    return helper;
}

// The shell's process ends without closing its windows, as a crashed
// Explorer does, and a new one starts: the block still names the dead list view.
bool CrashAndStartAgain(Shell& shell) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, shell.Pid());
    if (!process)
        return false;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, kDefaultTimeoutMs);
    CloseHandle(process);
    return shell.Restart();
}

// The desktop thread of the stand-in still sleeps.
bool StillFrozen(const Shell& shell) {
    DWORD_PTR ignored;
    return !SendMessageTimeoutA(shell.Progman(), WM_NULL, 0, 0, SMTO_NORMAL, 200, &ignored);
}

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
    // An item that is not there has no answer, not the last item's position.
    IconInfo missing{};
    EXPECT_FALSE(GetIconInfo(static_cast<int>(layout.size()) + 3, missing));
    EXPECT_EQ(missing.position.x, 0);
}

TEST_F(DeskhookLink, LongestCaptionComesBackWholeAndTerminated) {
    for (size_t length : {254u, 255u}) {
        std::string caption(length, 'a');
        caption.back() = 'z';
        int index = shell_.Add(caption);
        ASSERT_GE(index, 0);
        std::fill(std::begin(block_->Caption), std::end(block_->Caption), L'#');
        IconInfo info{};
        ASSERT_TRUE(GetIconInfo(index, info));
        EXPECT_EQ(block_->CaptionLength, static_cast<LONG>(length));
        EXPECT_EQ(std::wstring(block_->Caption), std::wstring(caption.begin(), caption.end()));
        EXPECT_EQ(std::string(info.caption), caption);
        EXPECT_EQ(info.nameLength, static_cast<int>(length));
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

TEST_F(DeskhookLink, ManyIconsAreReadInOneExchangeAsTheShellReportsThem) {
    const std::vector<ShellIcon> layout = shell_.Layout();
    ASSERT_GT(layout.size(), 1u);
    std::vector<IconInfo> infos(layout.size());
    int listCount = -1;
    ASSERT_TRUE(GetIconInfos(static_cast<int>(layout.size()), infos.data(), &listCount));
    EXPECT_EQ(listCount, static_cast<int>(layout.size()));
    for (const ShellIcon& icon : layout) {
        SCOPED_TRACE(icon.caption);
        const IconInfo& info = infos[icon.index];
        EXPECT_EQ(info.position.x, icon.position.x);
        EXPECT_EQ(info.position.y, icon.position.y);
        EXPECT_TRUE(SameRect(info.boundsRect, icon.bounds));
        EXPECT_EQ(std::string(info.caption), icon.caption);
        EXPECT_EQ(info.captionLength, static_cast<int>(icon.caption.size()));
    }
}

// The icons were counted, then the list changed before they were read: a
// read of more icons than the list holds is not whole, and the answer tells
// how many the list held, so a save can refuse a picture that is not the one
// it counted.
TEST_F(DeskhookLink, AManyReadAfterTheListChangedTellsSo) {
    const int counted = IconCount();
    ASSERT_GT(counted, 2);
    std::vector<IconInfo> infos(counted + 1);
    int listCount = -1;
    ASSERT_TRUE(shell_.Remove(counted - 1));
    EXPECT_FALSE(GetIconInfos(counted, infos.data(), &listCount));
    EXPECT_EQ(listCount, counted - 1);
    ASSERT_GE(shell_.Add("Icon added"), 0);
    ASSERT_GE(shell_.Add("Another added"), 0);
    EXPECT_TRUE(GetIconInfos(counted, infos.data(), &listCount));
    EXPECT_EQ(listCount, counted + 1);
}

TEST_F(DeskhookLink, ManyMovesMoveEveryIconAndAnIndexTheListLacksFails) {
    const IconMove moves[] = {{0, {300, 200}}, {2, {17, 411}}, {1, {640, 5}}};
    ASSERT_TRUE(SetIconPositions(moves, 3));
    std::vector<ShellIcon> layout = shell_.Layout();
    for (const IconMove& move : moves) {
        EXPECT_EQ(layout.at(move.index).position.x, move.position.x);
        EXPECT_EQ(layout.at(move.index).position.y, move.position.y);
    }
    const IconMove outside[] = {{3, {100, 300}}, {IconCount(), {10, 10}}, {-1, {10, 10}}};
    EXPECT_FALSE(SetIconPositions(outside, 3));
    EXPECT_EQ(shell_.Layout().at(3).position.x, 100);
    EXPECT_EQ(shell_.Layout().at(3).position.y, 300);
}

// Counts in the block are written by another process: the desktop side takes
// none of them as given.
TEST_F(DeskhookLink, ABatchCountFromTheBlockIsNeverTrusted) {
    const int count = IconCount();
    auto sendStamped = [&](const char* name) {
        const LONG stamp = block_->RequestStamp + 1;
        block_->RequestStamp = stamp;
        DWORD_PTR ignored;
        EXPECT_TRUE(SendMessageTimeoutA(shell_.ListView(), RegisterWindowMessageA(name), 0, stamp,
                                        SMTO_ABORTIFHUNG, 5000, &ignored));
        EXPECT_EQ(block_->AnswerStamp, stamp) << name;
    };
    block_->BatchFirst = -1000;
    block_->BatchCount = 0x7FFFFFFF;
    sendStamped(names::MsgGetPosMany);
    EXPECT_EQ(block_->BatchAnswered, count);
    EXPECT_EQ(block_->BatchIcons[0].Index, 0);

    const ShellIcon before = shell_.Layout().at(0);
    for (IconMoveRecord& move : block_->MoveRequests)
        move = IconMoveRecord{0x7FFFFFFF, POINT{-1, -1}};
    block_->BatchCount = 0x7FFFFFFF;
    sendStamped(names::MsgSetPosMany);
    EXPECT_EQ(block_->BatchAnswered, 0);
    EXPECT_EQ(shell_.Layout().at(0).position.x, before.position.x);
    EXPECT_EQ(shell_.IconCount(), count) << "the shell is still there and whole";
}

TEST_F(DeskhookLink, HitTestFindsTheIconUnderThePoint) {
    std::vector<ShellIcon> layout = shell_.Layout();
    ASSERT_GE(layout.size(), 3u);
    for (int index : {0, 2}) {
        UINT flags = 0;
        int item = -2;
        // The middle of the bounds can fall between the icon and its label.
        ASSERT_TRUE(HitTestIcon(Centre(layout[index].label), item, &flags));
        EXPECT_EQ(item, index);
        EXPECT_NE(flags & LVHT_ONITEM, 0u);
    }
    UINT flags = 0;
    int item = -2;
    ASSERT_TRUE(HitTestIcon(POINT{1000, 700}, item, &flags));
    EXPECT_EQ(item, -1);
    EXPECT_NE(flags & LVHT_NOWHERE, 0u);
}

TEST_F(DeskhookLink, CursorToggledTwiceIsShownAgain) {
    const int countBefore = shell_.CursorCount();
    bool shown = true;
    ASSERT_TRUE(ToggleDesktopCursor(shown));
    EXPECT_FALSE(shown);
    EXPECT_EQ(block_->CursorShown, 0);
    EXPECT_EQ(shell_.CursorCount(), countBefore - 1);
    ASSERT_TRUE(ToggleDesktopCursor(shown));
    EXPECT_TRUE(shown);
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

// A window whose thread stops answering for a while, as one of a program
// whose threads are all suspended.
struct StoppedWindow {
    HWND window = nullptr;
    UniqueHandle created{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    UniqueHandle thread;
    DWORD stoppedMs;

    explicit StoppedWindow(DWORD ms) : stoppedMs(ms) {
        thread.reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
        WaitForSingleObject(created.get(), kDefaultTimeoutMs);
    }
    ~StoppedWindow() { WaitForSingleObject(thread.get(), kDefaultTimeoutMs); }

    static DWORD WINAPI Run(void* parameter) {
        auto* self = static_cast<StoppedWindow*>(parameter);
        self->window =
            CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        SetEvent(self->created.get());
        Sleep(self->stoppedMs);
        DestroyWindow(self->window);
        return 0;
    }
};

// The desktop forwards a setting change to a program that does not answer
// and still answers its own sender within half a second.
TEST_F(DeskhookLink, SettingChangeToAStoppedProgramKeepsTheDesktopAnswering) {
    StoppedWindow stopped(1500);
    ASSERT_NE(stopped.window, nullptr);
    SetDesktopNotifyWindow(stopped.window);
    const DWORD start = GetTickCount();
    DWORD_PTR ignored;
    EXPECT_TRUE(SendMessageTimeoutA(shell_.ListView(), WM_WININICHANGE, SPI_SETDESKWALLPAPER, 0,
                                    SMTO_NORMAL, 5000, &ignored));
    EXPECT_LT(GetTickCount() - start, 500u);
    SetDesktopNotifyWindow(nullptr);
}

TEST_F(DeskhookLink, PaintAppliesTheColorsOfTheBlock) {
    const std::pair<COLORREF, COLORREF> colors[] = {{RGB(1, 2, 3), RGB(200, 100, 50)},
                                                    {RGB(255, 255, 255), CLR_NONE}};
    for (const auto& [text, back] : colors) {
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

// A detach and a new attach while a call of the list view's subclass is
// still on its thread's stack (here the desktop's context menu, opened from
// the list view): the new attach subclasses the list view again rather than
// taking the session that is on its way out.
TEST_F(DeskhookLink, ReattachDuringANestedCallKeepsTheListViewSubclassed) {
    ASSERT_FALSE(context_menu_test::OpenMenu(shell_).empty());
    ASSERT_TRUE(SetHook(FALSE));
    ASSERT_TRUE(SetHook(TRUE));
    context_menu_test::CloseMenu(shell_);
    PumpMessages(300);
    EXPECT_TRUE(shell_.IsListViewSubclassed());
    IconInfo info{};
    EXPECT_TRUE(GetIconInfo(0, info));
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

// Runs only as a helper: attaches, hides the cursor and the icons the way the
// program would, reports, and waits to be killed.
TEST(DeskhookHelper, AttachAndWait) {
    if (!IsHelper("AttachAndWait"))
        GTEST_SKIP() << "only run as a helper";
    RefreshDesktopListView();
    ASSERT_TRUE(SetHook(TRUE));
    bool shown = true;
    ASSERT_TRUE(ToggleDesktopCursor(shown));
    HideDesktopIcons(FALSE);
    Sleep(INFINITE);
}

TEST(DeskhookOwnerKilled, ShellTakesItsListViewBackAndANewOwnerCanAttach) {
    Shell shell;
    ASSERT_TRUE(shell.Start());
    SharedBlock* block = LocateSharedData();
    ASSERT_NE(block, nullptr);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Process helper = StartHelper("AttachAndWait");
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

// ---- One owner per attachment ------------------------------------------------

TEST(DeskhookBorrowed, DetachLeavesAnotherProcesssAttachmentInPlace) {
    Shell shell;
    ASSERT_TRUE(shell.Start());
    SharedBlock* block = LocateSharedData();
    ASSERT_NE(block, nullptr);
    Process owner = StartHelper("AttachAndWait");
    ASSERT_TRUE(
        WaitUntil([&] { return block->OwnerProcessId == owner.Pid() && block->ListHooked; }));
    RefreshDesktopListView();

    ASSERT_TRUE(SetHook(TRUE)); // borrowed
    EXPECT_EQ(block->OwnerProcessId, owner.Pid());
    IconInfo info{};
    EXPECT_TRUE(GetIconInfo(1, info));
    EXPECT_TRUE(SetHook(FALSE));

    EXPECT_TRUE(shell.IsListViewSubclassed());
    EXPECT_NE(block->ListHooked, nullptr);
    EXPECT_EQ(block->OwnerProcessId, owner.Pid());
    EXPECT_NE(block->ListHook, nullptr);
    ASSERT_TRUE(GetIconInfo(1, info)) << "the owner's link no longer answers";
    EXPECT_EQ(std::string(info.caption), shell.Layout().at(1).caption);
    owner.Terminate();
    EXPECT_TRUE(WaitUntil([&] { return !shell.IsListViewSubclassed(); }));
}

int ThreadCount(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    int count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == pid;
    CloseHandle(snapshot);
    return count;
}

// The subclass of one attach is still in place when the block is reset by
// another attach (as a takeover does); the desktop side must find its
// session whole, and after the detach its watcher inside the shell ends,
// giving back its hold on the library. (Wine keeps a hook library loaded in
// the hooked process for good, so the module itself cannot be watched.)
TEST_F(DeskhookLink, ReattachWhileSubclassedThenDetachUnloadsTheLibrary) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        block_->ListHooked = nullptr;
        ASSERT_TRUE(SetHook(TRUE));
        IconInfo info{};
        ASSERT_TRUE(GetIconInfo(2, info));
        EXPECT_EQ(std::string(info.caption), shell_.Layout().at(2).caption);
    }
    const int threadsWhileAttached = ThreadCount(shell_.Pid());
    ASSERT_TRUE(SetHook(FALSE));
    EXPECT_FALSE(shell_.IsListViewSubclassed());
    EXPECT_TRUE(WaitUntil([&] { return ThreadCount(shell_.Pid()) < threadsWhileAttached; }))
        << "the watcher thread inside the shell still runs";
    // And a new attach after that works.
    ASSERT_TRUE(SetHook(TRUE));
    IconInfo info{};
    EXPECT_TRUE(GetIconInfo(0, info));
}

// ---- Fresh answers only --------------------------------------------------------

TEST_F(DeskhookLink, RequestsToADeadListViewGetNoAnswer) {
    IconInfo before{};
    ASSERT_TRUE(GetIconInfo(3, before));
    ASSERT_TRUE(CrashAndStartAgain(shell_));
    ASSERT_NE(block_->ListHooked, nullptr);
    RefreshDesktopListView();
    IconInfo info{};
    info.captionLength = -7;
    EXPECT_FALSE(GetIconInfo(3, info));
    EXPECT_EQ(info.captionLength, -7);
    EXPECT_FALSE(SetIconPosition(3, POINT{100, 100}));
    int item = 0;
    EXPECT_FALSE(HitTestIcon(POINT{10, 10}, item));
    bool shown = true;
    EXPECT_FALSE(ToggleDesktopCursor(shown));
}

TEST_F(DeskhookLink, RequestsToARecreatedListViewGetNoAnswer) {
    ASSERT_TRUE(shell_.RecreateListView());
    RefreshDesktopListView();
    IconInfo info{};
    EXPECT_FALSE(GetIconInfo(0, info));
    EXPECT_FALSE(SetIconPosition(0, POINT{300, 300}));
    EXPECT_NE(shell_.Layout().at(0).position.x, 300);
}

TEST_F(DeskhookLink, RequestsToAnUnsubclassedListViewGetNoAnswer) {
    DWORD_PTR ignored;
    ASSERT_TRUE(
        SendMessageTimeoutA(shell_.ListView(), block_->MsgEnd, 0, 0, SMTO_NORMAL, 5000, &ignored));
    ASSERT_FALSE(shell_.IsListViewSubclassed());
    block_->ListHooked = block_; // the way it stays when someone else removed the subclass
    IconInfo info{};
    EXPECT_FALSE(GetIconInfo(0, info));
    block_->ListHooked = nullptr;
}

// A save in the time between a shell restart and the watchdog's re-attach
// reads the new list view's count but could only ask the old one.
TEST_F(DeskhookLink, SaveAfterTheShellRestartedKeepsTheSavedLayout) {
    g_app.quiet = true;
    const std::string name = CurrentIconValueName(CurrentIconScreen());
    const std::vector<uint8_t> saved = {1, 10, 0, 0, 0, 20, 0, 0, 0, 'A', 0};
    ASSERT_TRUE(RegWriteBinary(HKEY_CURRENT_USER, "Software\\Marrowen", name, saved));
    ASSERT_TRUE(CrashAndStartAgain(shell_));
    SaveIconPositions(nullptr, AutoArrangeQuestion::Skip);
    auto value = RegRead(HKEY_CURRENT_USER, "Software\\Marrowen", name);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, saved);
    RegDeleteValue(HKEY_CURRENT_USER, "Software\\Marrowen", name);
    g_app.quiet = false;
}

TEST_F(DeskhookLink, HungShellCostsOneTimeOutAndItsLateAnswerIsNotTaken) {
    IconInfo info{};
    ASSERT_TRUE(GetIconInfo(4, info));
    const POINT home = shell_.Layout().at(4).position;
    shell_.Freeze(8000);
    PumpMessages(200);
    ASSERT_TRUE(StillFrozen(shell_));
    EXPECT_FALSE(SetIconPosition(4, POINT{home.x + 40, home.y + 40}));
    EXPECT_FALSE(GetIconInfo(4, info));
    EXPECT_TRUE(StillFrozen(shell_)) << "a request waited for the hung shell";
    // The late messages are handled once the shell wakes, but the request in
    // the block is no longer theirs: they neither move nor answer.
    ASSERT_TRUE(WaitUntil([&] { return !StillFrozen(shell_); }, 15000));
    ASSERT_TRUE(GetIconInfo(5, info));
    EXPECT_EQ(std::string(info.caption), shell_.Layout().at(5).caption);
    EXPECT_EQ(shell_.Layout().at(4).position.x, home.x);
}

// A read of every icon that is still running when its caller gives up (one
// caption is slow to come) writes its answer while the next caller's moves
// are in the block: the moves must still go where they were asked to.
TEST_F(DeskhookLink, LateReadAnswerLeavesTheNextMovesAsAsked) {
    const std::vector<ShellIcon> before = shell_.Layout();
    ASSERT_GE(before.size(), 5u);
    ASSERT_TRUE(shell_.SlowCaption(1, 0));
    shell_.Refresh();
    ASSERT_TRUE(shell_.SlowCaption(1, 3000));
    std::vector<IconInfo> read(before.size());
    ASSERT_FALSE(GetIconInfos(int(read.size()), read.data()))
        << "the read did not wait for the caption";

    std::vector<IconMove> moves;
    for (int index = 2; index < 5; ++index)
        moves.push_back(
            {index, POINT{before[index].position.x + 57, before[index].position.y + 33}});
    ASSERT_TRUE(SetIconPositions(moves.data(), int(moves.size())));
    const std::vector<ShellIcon> after = shell_.Layout();
    for (const IconMove& move : moves) {
        EXPECT_EQ(after.at(move.index).position.x, move.position.x) << move.index;
        EXPECT_EQ(after.at(move.index).position.y, move.position.y) << move.index;
    }
}

TEST_F(DeskhookLink, HungShellDuringSaveWritesNothing) {
    g_app.quiet = true;
    const std::string name = CurrentIconValueName(CurrentIconScreen());
    const std::vector<uint8_t> saved = {1, 10, 0, 0, 0, 20, 0, 0, 0, 'A', 0};
    ASSERT_TRUE(RegWriteBinary(HKEY_CURRENT_USER, "Software\\Marrowen", name, saved));
    shell_.Freeze(8000);
    PumpMessages(200);
    SaveIconPositions(nullptr, AutoArrangeQuestion::Skip);
    EXPECT_TRUE(StillFrozen(shell_)) << "the save waited for the hung shell";
    auto value = RegRead(HKEY_CURRENT_USER, "Software\\Marrowen", name);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, saved);
    RegDeleteValue(HKEY_CURRENT_USER, "Software\\Marrowen", name);
    g_app.quiet = false;
    WaitUntil([&] { return !StillFrozen(shell_); }, 15000);
}

TEST_F(DeskhookLink, HungShellDuringDetachDoesNotHoldTheProgramForGood) {
    shell_.Freeze(9000);
    PumpMessages(200);
    EXPECT_TRUE(SetHook(FALSE));
    EXPECT_TRUE(StillFrozen(shell_)) << "the detach waited for the hung shell";
    EXPECT_EQ(block_->ListHooked, nullptr);
    // The end of the subclass reaches the shell when it wakes.
    EXPECT_TRUE(WaitUntil([&] { return !shell_.IsListViewSubclassed(); }, 20000));
}

// ---- Two processes at once ---------------------------------------------------

constexpr int kConcurrentRequests = 1500;
// Set by the helper once it is attached, so that both walks overlap.
const char kExchangeStartEvent[] = "Local\\TessaraTestExchangeStart";

constexpr int kIconsEach = 10;

// Moves icons first.. first + kIconsEach - 1 in turn to places of their own
// (x from `left`) and reads each back: returns how many came back somewhere
// else or under another caption. Only fresh answers count, and nearly all of
// them must be.
int CrossedAnswers(int first, int left, int& fresh) {
    int crossed = 0;
    fresh = 0;
    for (int round = 0; round < kConcurrentRequests; ++round) {
        const int index = first + round % kIconsEach;
        const POINT place{left + 10 * (round % 7), 20 + 30 * index};
        IconInfo info{};
        if (!SetIconPosition(index, place) || !GetIconInfo(index, info))
            continue;
        ++fresh;
        crossed += info.position.x != place.x || info.position.y != place.y ||
                   std::string(info.caption) != "Icon " + std::to_string(index + 1);
    }
    return crossed;
}

// Runs only as a helper: the exit code is the number of crossed answers, or
// 1000 + the number of requests without a fresh answer when there were many.
TEST(DeskhookHelper, ExchangeMany) {
    if (!IsHelper("ExchangeMany"))
        GTEST_SKIP() << "only run as a helper";
    RefreshDesktopListView();
    ASSERT_TRUE(SetHook(TRUE));
    HANDLE start = OpenEventA(EVENT_MODIFY_STATE, FALSE, kExchangeStartEvent);
    ASSERT_NE(start, nullptr);
    SetEvent(start);
    CloseHandle(start);
    int fresh = 0;
    const int crossed = CrossedAnswers(0, 100, fresh);
    SetHook(FALSE);
    ExitProcess(crossed ? crossed : fresh < kConcurrentRequests * 9 / 10 ? 1000 + fresh : 0);
}

TEST(DeskhookConcurrent, TwoProcessesExchangingAtOnceNeverCrossAnswers) {
    Shell shell;
    ASSERT_TRUE(shell.Start(ShellOptions::WithIcons(2 * kIconsEach)));
    ASSERT_EQ(RefreshDesktopListView(), shell.ListView());
    ASSERT_TRUE(SetHook(TRUE));
    HANDLE start = CreateEventA(nullptr, TRUE, FALSE, kExchangeStartEvent);
    ASSERT_NE(start, nullptr);
    Process other = StartHelper("ExchangeMany");
    ASSERT_TRUE(other.Running());
    // Both walk the icons at the same time.
    const DWORD started = WaitForSingleObject(start, 20000);
    CloseHandle(start);
    ASSERT_EQ(started, WAIT_OBJECT_0);
    int fresh = 0;
    EXPECT_EQ(CrossedAnswers(kIconsEach, 600, fresh), 0);
    EXPECT_GE(fresh, kConcurrentRequests * 9 / 10);
    auto exitCode = other.WaitExit(60000);
    ASSERT_TRUE(exitCode);
    EXPECT_EQ(*exitCode, 0u) << "crossed answers, or 1000 + fresh answers, in the other process";
    EXPECT_TRUE(SetHook(FALSE));
}

// ---- A desktop of the other width ----------------------------------------------

// The other build's stand-in shell, beside ours in the build tree.
std::string OtherWidthShell() {
    const char* other = sizeof(void*) == 8 ? "i686" : "x86_64";
    return BinDir() + "\\..\\..\\" + other + "\\bin\\deskshell.exe";
}

TEST(DeskhookOtherWidth, NeverHooksADesktopOfTheOtherWidth) {
    ShellOptions options;
    options.program = OtherWidthShell();
    if (GetFileAttributesA(options.program.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "the other build's stand-in is not built: " << options.program;
    Shell shell;
    if (!shell.Start(options))
        GTEST_SKIP() << "the other build's stand-in cannot run here";
    ASSERT_EQ(RefreshDesktopListView(), shell.ListView());
    EXPECT_FALSE(SetHook(TRUE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_EXE_MACHINE_TYPE_MISMATCH));
    EXPECT_EQ(LocateSharedData()->ListHook, nullptr) << "it set a hook";
    EXPECT_FALSE(shell.IsListViewSubclassed());
}

} // namespace
