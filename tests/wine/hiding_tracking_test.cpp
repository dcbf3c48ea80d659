// The hiding modes of the real Tessara.exe: the cursor is moved for real over
// the stand-in desktop, a test window and the taskbar, and the test reads
// whether the list view, the taskbar and the pointer are shown.
#include "hiding/movement_watch_win.h"
#include "tests/wine/hiding_program.h"
#include "ui/settings_pages.h"

#include <commctrl.h>

namespace {

using namespace hiding_test;

// Long enough for a few 100 ms ticks to see the cursor, also on a busy machine.
constexpr DWORD kTicksSeeItMs = 1000;

Settings ByCursor() {
    Settings s = QuietSettings();
    s.HideByCursor = 1;
    return s;
}

class TrackingTest : public HidingTest {};

TEST_F(TrackingTest, RestingOnTheDesktopHidesAtOnceWithDelayZeroAndAMoveShows) {
    Settings s = ByCursor();
    s.HideWhenOnDesktop = 1;
    Launch(s);
    harness::MoveMouse(OnDesktop());
    EXPECT_TRUE(harness::WaitUntil([&] { return !IconsVisible(); }, kSoonMs));
    harness::MoveMouse(OnDesktop(5));
    EXPECT_TRUE(harness::WaitUntil([&] { return IconsVisible(); }, kSoonMs));
}

// Once the icons are hidden the tick slows down until the mouse moves; a
// cursor that a program moves without any input is still followed.
TEST_F(TrackingTest, ACursorMovedWithoutInputIsFollowedAfterTheIdleHide) {
    Settings s = ByCursor();
    s.HideWhenOnDesktop = 1;
    Launch(s);
    harness::MoveMouse(OnDesktop());
    ASSERT_TRUE(harness::WaitUntil([&] { return !IconsVisible(); }, kSoonMs));
    harness::PumpMessages(300);
    const POINT moved = OnDesktop(5);
    SetCursorPos(moved.x, moved.y);
    EXPECT_TRUE(harness::WaitUntil([&] { return IconsVisible(); }, kSoonMs));
}

// While the cursor rests, the program waits for the mouse to be used. A
// program that does not run then (all its threads suspended) must not hold up
// the mouse of the whole desktop; run again, it still sees the next move.
TEST_F(TrackingTest, ASuspendedProgramDoesNotHoldUpTheMouse) {
    Settings s = ByCursor();
    s.HideWhenOnDesktop = 1;
    Launch(s);
    harness::MoveMouse(OnDesktop());
    ASSERT_TRUE(harness::WaitUntil([&] { return !IconsVisible(); }, kSoonMs));
    harness::PumpMessages(1500); // the tick has slowed down: it waits for the mouse
    ASSERT_GT(harness::SuspendProcess(tessara_.Pid(), true), 0);
    const DWORD start = GetTickCount();
    harness::TurnWheel();
    const DWORD took = GetTickCount() - start;
    harness::SuspendProcess(tessara_.Pid(), false);
    EXPECT_LT(took, 500u);
    harness::MoveMouse(OnDesktop(5));
    EXPECT_TRUE(harness::WaitUntil([&] { return IconsVisible(); }, kSoonMs));
}

// The movement watch in this process, told to a message-only window of the
// test that counts UM_CURSORMOVED. Input is sent for real; the watch hears of
// it as a program in the background would.
class MovementWatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = CountMovements;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TessaraMovementCounter";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, wc.lpszClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, wc.hInstance, nullptr);
        ASSERT_TRUE(window_);
        told_ = 0;
        StartMovementWatch(window_);
    }

    void TearDown() override {
        StopMovementWatch();
        DestroyWindow(window_);
    }

    static LRESULT CALLBACK CountMovements(HWND window, UINT message, WPARAM w, LPARAM l) {
        if (message == UM_CURSORMOVED)
            ++told_;
        return DefWindowProcA(window, message, w, l);
    }

    // A key that nothing uses, pressed and released.
    static void PressAKey() { harness::PressKey(VK_F24); }

    // The devices this process has registered for raw input.
    static UINT RegisteredDevices() {
        UINT count = 0;
        GetRegisteredRawInputDevices(nullptr, &count, sizeof(RAWINPUTDEVICE));
        return count;
    }

    bool ToldWithin(int count, DWORD ms) {
        return harness::WaitUntil([&] { return told_ >= count; }, ms);
    }

    HWND window_ = nullptr;
    static inline int told_ = 0;
};

TEST_F(MovementWatchTest, TheFirstInputAfterArmingIsToldOnce) {
    ASSERT_TRUE(ArmMovementWatch());
    ASSERT_TRUE(harness::WaitUntil([] { return RegisteredDevices() == 2; }, kSoonMs));
    harness::TurnWheel();
    EXPECT_TRUE(ToldWithin(1, kSoonMs));
    harness::TurnWheel();
    EXPECT_TRUE(harness::HoldsFor([] { return told_ == 1; }, 300)) << told_;
}

TEST_F(MovementWatchTest, AKeyIsToldToo) {
    ASSERT_TRUE(ArmMovementWatch());
    ASSERT_TRUE(harness::WaitUntil([] { return RegisteredDevices() == 2; }, kSoonMs));
    PressAKey();
    EXPECT_TRUE(ToldWithin(1, kSoonMs));
}

// A mouse in use costs nothing while the watch is not armed: the program
// receives raw input only between an arming and the input it tells.
TEST_F(MovementWatchTest, ListensOnlyWhileArmed) {
    EXPECT_TRUE(harness::HoldsFor([] { return RegisteredDevices() == 0; }, 100));
    ASSERT_TRUE(ArmMovementWatch());
    EXPECT_TRUE(harness::WaitUntil([] { return RegisteredDevices() == 2; }, kSoonMs));
    harness::TurnWheel();
    ASSERT_TRUE(ToldWithin(1, kSoonMs));
    EXPECT_TRUE(harness::WaitUntil([] { return RegisteredDevices() == 0; }, kSoonMs));
    ASSERT_TRUE(ArmMovementWatch());
    harness::TurnWheel();
    EXPECT_TRUE(ToldWithin(2, kSoonMs));
}

TEST_F(MovementWatchTest, StoppingWhileArmedEndsTheListening) {
    ASSERT_TRUE(ArmMovementWatch());
    ASSERT_TRUE(harness::WaitUntil([] { return RegisteredDevices() == 2; }, kSoonMs));
    StopMovementWatch();
    EXPECT_EQ(RegisteredDevices(), 0u);
    EXPECT_FALSE(ArmMovementWatch());
}

TEST_F(TrackingTest, RestingOnTheDesktopHidesAfterItsDelay) {
    Settings s = ByCursor();
    s.HideWhenOnDesktop = 1;
    s.HideOnDesktopDelay = 1;
    Launch(s);
    harness::MoveMouse(OnDesktop());
    const DWORD arrived = GetTickCount();
    ASSERT_TRUE(harness::WaitUntil([&] { return !IconsVisible(); }, kSoonMs));
    EXPECT_GE(GetTickCount() - arrived, 800u);
}

TEST_F(TrackingTest, OffDesktopHideOnlyAfterTheCursorWasOnTheDesktop) {
    Settings s = ByCursor();
    s.HideWhenOffDesktop = 1;
    Launch(s);
    EXPECT_TRUE(harness::HoldsFor([&] { return IconsVisible(); }, 1000));
    harness::MoveMouse(OnDesktop());
    harness::PumpMessages(kTicksSeeItMs);
    harness::MoveMouse(offDesktop_.Inside());
    EXPECT_TRUE(harness::WaitUntil([&] { return !IconsVisible(); }, kSoonMs));
}

TEST_F(TrackingTest, OffDesktopHideWaitsItsDelay) {
    Settings s = ByCursor();
    s.HideWhenOffDesktop = 1;
    s.HideOffDesktopDelay = 1;
    Launch(s);
    harness::MoveMouse(OnDesktop());
    harness::PumpMessages(kTicksSeeItMs);
    harness::MoveMouse(offDesktop_.Inside());
    EXPECT_TRUE(harness::HoldsFor([&] { return IconsVisible(); }, 700));
    EXPECT_TRUE(harness::WaitUntil([&] { return !IconsVisible(); }, kSoonMs));
}

class ShowDelayTest : public HidingTest {
  protected:
    // Icons hidden by leaving the desktop, with a show delay of `showDelay`.
    void LaunchHidden(int showDelay) {
        Settings s = ByCursor();
        s.HideWhenOffDesktop = 1;
        s.DelayShowOnDesktop = 1;
        s.ShowDelay = showDelay;
        Launch(s);
        harness::MoveMouse(OnDesktop());
        ASSERT_TRUE(harness::WaitUntil([&] { return IconsVisible(); }, kSoonMs));
        harness::PumpMessages(showDelay * 100 + 300);
        harness::MoveMouse(offDesktop_.Inside());
        ASSERT_TRUE(harness::WaitUntil([&] { return !IconsVisible(); }, kSoonMs));
    }
};

TEST_F(ShowDelayTest, ShowDelayOneShowsAtOnce) {
    LaunchHidden(1);
    harness::MoveMouse(OnDesktop());
    EXPECT_TRUE(harness::WaitUntil([&] { return IconsVisible(); }, 600));
}

TEST_F(ShowDelayTest, IconsAppearAfterTheDelayAndNotIfTheCursorLeavesFirst) {
    LaunchHidden(11); // one second
    harness::MoveMouse(OnDesktop());
    EXPECT_TRUE(harness::HoldsFor([&] { return !IconsVisible(); }, 600));
    harness::MoveMouse(offDesktop_.Inside());
    EXPECT_TRUE(harness::HoldsFor([&] { return !IconsVisible(); }, 1500));
    harness::MoveMouse(OnDesktop(5));
    const DWORD arrived = GetTickCount();
    ASSERT_TRUE(harness::WaitUntil([&] { return IconsVisible(); }, kSoonMs));
    EXPECT_GE(GetTickCount() - arrived, 800u);
}

TEST_F(TrackingTest, TaskbarPeeksUnderTheCursorAndHidesTwoSecondsAfterItLeaves) {
    Settings s = ByCursor();
    s.HideWhenOnDesktop = 1;
    s.HideTaskbar = 1;
    Launch(s);
    harness::MoveMouse(OnDesktop());
    ASSERT_TRUE(harness::WaitUntil([&] { return !IconsVisible() && !TaskbarVisible(); }, kSoonMs));
    harness::MoveMouse(OnTaskbar());
    EXPECT_TRUE(harness::WaitUntil([&] { return TaskbarVisible(); }, kSoonMs));
    harness::MoveMouse(offDesktop_.Inside());
    const DWORD left = GetTickCount();
    EXPECT_TRUE(harness::HoldsFor([&] { return TaskbarVisible(); }, 1500));
    ASSERT_TRUE(harness::WaitUntil([&] { return !TaskbarVisible(); }, kSoonMs));
    EXPECT_GE(GetTickCount() - left, 1500u);
    EXPECT_FALSE(IconsVisible());
}

TEST_F(TrackingTest, NoHideWhileTheDanceRuns) {
    Settings s = ByCursor();
    s.HideWhenOnDesktop = 1;
    Launch(s);
    SharedBlock* block = DeskBlock();
    ASSERT_NE(block, nullptr);
    InterlockedExchange(&block->DanceRunning, 1);
    harness::MoveMouse(OnDesktop());
    EXPECT_TRUE(harness::HoldsFor([&] { return IconsVisible(); }, 1000));
    InterlockedExchange(&block->DanceRunning, 0);
    harness::MoveMouse(OnDesktop(5));
    EXPECT_TRUE(harness::WaitUntil([&] { return !IconsVisible(); }, kSoonMs));
}

TEST_F(TrackingTest, ModeRadiosFromOutsideHideAndShow) {
    Settings s = QuietSettings();
    s.HideTaskbar = 1;
    Launch(s);
    harness::MoveMouse(OnDesktop());
    tessara_.Command(IDC_HIDE_ALWAYS);
    EXPECT_TRUE(harness::WaitUntil([&] { return !IconsVisible() && !TaskbarVisible(); }, kSoonMs));
    EXPECT_EQ(SendDlgItemMessageA(tessara_.Window(), IDC_HIDE_ALWAYS, BM_GETCHECK, 0, 0),
              BST_CHECKED);
    EXPECT_EQ(DeskBlock()->VisibilityMode, IDC_HIDE_ALWAYS);
    tessara_.Command(IDM_SHOW_ICONS_ALWAYS); // the tray's "Never hide"
    EXPECT_TRUE(harness::WaitUntil([&] { return IconsVisible() && TaskbarVisible(); }, kSoonMs));
    EXPECT_EQ(SendDlgItemMessageA(tessara_.Window(), IDC_NEVER_HIDE, BM_GETCHECK, 0, 0),
              BST_CHECKED);
    EXPECT_EQ(SendDlgItemMessageA(tessara_.Window(), IDC_HIDE_ALWAYS, BM_GETCHECK, 0, 0),
              BST_UNCHECKED);
    EXPECT_TRUE(app_test::WaitForStored(
        [](const Settings& stored) { return !stored.HideAlways && !stored.HideByCursor; }));
}

// Reset Tab from "Never hide" selects "By cursor position", and the cursor
// is tracked from then on: resting on the desktop hides after its delay.
TEST_F(TrackingTest, ResettingTheHidingTabStartsTheTracking) {
    Launch(QuietSettings());
    harness::MoveMouse(OnDesktop());
    tessara_.SelectTab(SettingsTab::Hiding);
    tessara_.Command(IDC_TAB_DEFAULTS);
    EXPECT_EQ(SendDlgItemMessageA(tessara_.Window(), IDC_HIDE_BY_CURSOR, BM_GETCHECK, 0, 0),
              BST_CHECKED);
    harness::MoveMouse(OnDesktop(5));
    EXPECT_TRUE(harness::WaitUntil([&] { return !IconsVisible(); },
                                   SettingsTemplate().HideOnDesktopDelay * 1000 + kSoonMs));
}

class AlwaysHideTest : public HidingTest {
  protected:
    void LaunchAlways() {
        Settings s = QuietSettings();
        s.HideAlways = 1;
        s.ClickShowTime = 2;
        Launch(s);
        ASSERT_TRUE(harness::WaitUntil([&] { return !IconsVisible(); }, kSoonMs));
    }
    std::string CountdownText() const {
        return harness::ControlText(tessara_.Window(), IDC_CLICK_COUNTDOWN_TEXT);
    }
    // Tenths of a second left, as the text says; -1 without a count.
    int TenthsLeft() const {
        int seconds = 0, tenths = 0;
        return std::sscanf(CountdownText().c_str(), "%d.%d seconds left", &seconds, &tenths) == 2
                   ? seconds * 10 + tenths
                   : -1;
    }
};

TEST_F(AlwaysHideTest, CountDownOnTheHidingTabRestartsOnAMoveAndHides) {
    LaunchAlways();
    // The settings window on the hiding tab, with a strip of desktop left of it.
    HWND window = tessara_.Window();
    EnableWindow(window, TRUE);
    SetWindowPos(window, HWND_TOP, 220, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    tessara_.SelectTab(SettingsTab::Hiding);
    const POINT besideWindow{100, 300};
    harness::MoveMouse(offDesktop_.Inside());
    ShowWindow(shell_.ListView(), SW_SHOW); // as the "Show Icons" hot key does
    ASSERT_TRUE(harness::WaitUntil([&] { return TenthsLeft() > 0 && TenthsLeft() < 17; }));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, IDC_CLICK_COUNTDOWN_BAR)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_CLICK_SHOW_TIME)));
    harness::PumpMessages(300);
    harness::Screenshot("hiding_always_countdown");
    // A mouse move over the icons starts the count again.
    for (int i = 0; i < 3; ++i)
        harness::MoveMouse(POINT{besideWindow.x + i * 3, besideWindow.y});
    EXPECT_TRUE(harness::WaitUntil([&] { return TenthsLeft() >= 17; }, 1500));
    harness::MoveMouse(offDesktop_.Inside());
    EXPECT_TRUE(harness::WaitUntil([&] { return !IconsVisible(); }, kSoonMs));
    EXPECT_TRUE(harness::WaitUntil([&] { return CountdownText().empty(); }));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, IDC_CLICK_COUNTDOWN_TEXT)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_CLICK_SHOW_TIME)));
}

TEST_F(AlwaysHideTest, PointerHiddenFiveSecondsAfterItStopsAndShownWhenItMoves) {
    Settings s = QuietSettings();
    s.HideAlways = 1;
    s.HideCursor = 1;
    const int before = shell_.CursorCount();
    Launch(s);
    harness::MoveMouse(OnDesktop());
    EXPECT_TRUE(harness::HoldsFor([&] { return shell_.CursorCount() == before; }, 3500));
    ASSERT_TRUE(harness::WaitUntil([&] { return shell_.CursorCount() < before; }, 6000));
    harness::MoveMouse(OnDesktop(7));
    EXPECT_TRUE(harness::WaitUntil([&] { return shell_.CursorCount() == before; }, kSoonMs));
}

TEST_F(AlwaysHideTest, KilledProgramLeavesIconsTaskbarAndPointerShown) {
    Settings s = QuietSettings();
    s.HideAlways = 1;
    s.HideTaskbar = 1;
    s.HideCursor = 1;
    const int before = shell_.CursorCount();
    Launch(s);
    harness::MoveMouse(OnDesktop());
    ASSERT_TRUE(harness::WaitUntil(
        [&] { return !IconsVisible() && !TaskbarVisible() && shell_.CursorCount() < before; },
        9000));
    tessara_.Process().Terminate();
    EXPECT_TRUE(harness::WaitUntil(
        [&] { return IconsVisible() && TaskbarVisible() && shell_.CursorCount() == before; },
        kSoonMs));
}

TEST_F(AlwaysHideTest, ExitShowsIconsAndTaskbar) {
    Settings s = QuietSettings();
    s.HideAlways = 1;
    s.HideTaskbar = 1;
    Launch(s);
    harness::MoveMouse(OnDesktop());
    ASSERT_TRUE(harness::WaitUntil([&] { return !IconsVisible() && !TaskbarVisible(); }));
    ASSERT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    EXPECT_TRUE(IconsVisible());
    EXPECT_TRUE(TaskbarVisible());
}

} // namespace
