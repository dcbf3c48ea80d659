// Tessara.exe waits for the desktop, attaches to it and opens its settings
// window; the window's place is remembered.
#include "base/instance_data.h"
#include "tests/wine/app_program.h"

#include <gtest/gtest.h>

using app_test::Tessara;

namespace {

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

class AppAttach : public ::testing::Test {
  protected:
    void SetUp() override { app_test::ForgetSettings(); }

    harness::Shell shell_;
};

} // namespace

TEST_F(AppAttach, StartedBeforeTheDesktopItWaitsSilentlyAndOpensOnceTheDesktopComes) {
    harness::CloseAllShells();
    Tessara tessara;
    ASSERT_TRUE(tessara.Start());
    harness::PumpMessages(3000);
    EXPECT_FALSE(harness::FindTopLevel("#32770", nullptr, tessara.Pid())) << "no message";
    EXPECT_FALSE(harness::FindTopLevel(names::SettingsWindowClass, nullptr, tessara.Pid()));

    ASSERT_TRUE(shell_.Start());
    ASSERT_TRUE(tessara.WaitForWindow(app_test::kAttachMs));
    EXPECT_TRUE(harness::WaitUntil([&] { return IsWindowVisible(tessara.Window()) != FALSE; }));
    EXPECT_TRUE(shell_.IsListViewSubclassed());
    EXPECT_EQ(harness::WindowText(tessara.Window()), "Tessara");
    harness::PumpMessages(500);
    const std::string shot = harness::Screenshot("app_settings_window");
    EXPECT_FALSE(shot.empty());

    EXPECT_EQ(tessara.Exit(), std::optional<DWORD>(0));
    EXPECT_TRUE(app_test::StoredSettings()) << "saved at shutdown";
    EXPECT_FALSE(shell_.IsListViewSubclassed()) << "detached at shutdown";
}

TEST_F(AppAttach, HideWhenStartedKeepsTheWindowHidden) {
    for (int hide : {1, 0}) {
        SCOPED_TRACE(hide);
        Settings record = SettingsTemplate();
        record.HideWhenStarted = hide;
        app_test::StoreSettings(record);
        ASSERT_TRUE(shell_.Start());
        Tessara tessara;
        ASSERT_TRUE(tessara.Start());
        ASSERT_TRUE(tessara.WaitForWindow());
        // Shown at once when it is to be shown; given the same time, it stays hidden.
        const bool shown =
            harness::WaitUntil([&] { return IsWindowVisible(tessara.Window()) != FALSE; }, 3000);
        EXPECT_EQ(shown, hide == 0);
        EXPECT_EQ(tessara.Exit(), std::optional<DWORD>(0));
    }
}

TEST_F(AppAttach, WindowSitsUnderTheButtonsWithTheStatusLineBelow) {
    ASSERT_TRUE(shell_.Start());
    Tessara tessara;
    ASSERT_TRUE(tessara.Start());
    HWND window = tessara.WaitForShownWindow();
    ASSERT_TRUE(window);
    const RECT frame = WindowRect(window);
    const RECT tabs = WindowRect(GetDlgItem(window, IDC_TABS));
    const RECT help = WindowRect(GetDlgItem(window, IDC_HELP_BUTTON));
    const RECT status = WindowRect(GetDlgItem(window, IDC_STATUS_LINE));
    EXPECT_EQ(frame.right - frame.left, tabs.right - tabs.left + 14);
    EXPECT_GT(frame.bottom, help.bottom + 4) << "room for the status line";
    EXPECT_LE(status.top, frame.bottom);
    POINT tabCorner{tabs.left, tabs.top};
    ScreenToClient(window, &tabCorner);
    EXPECT_EQ(tabCorner.x, 4);
    EXPECT_EQ(tabCorner.y, 1);

    const int before = frame.bottom - frame.top;
    tessara.Command(IDC_SHOW_TOOL_TIPS);
    const RECT without = WindowRect(window);
    EXPECT_EQ(without.bottom, help.bottom + 4) << "tool tips off: the status line goes";
    EXPECT_EQ(without.top, frame.top) << "resized without moving";
    tessara.Command(IDC_SHOW_TOOL_TIPS);
    EXPECT_GE(WindowRect(window).bottom - WindowRect(window).top, before);
    EXPECT_EQ(tessara.Exit(), std::optional<DWORD>(0));
}

// The stored place is never negative, and the next start puts the window
// there but keeps it on the screen.
TEST_F(AppAttach, WindowPlaceIsRememberedAndKeptOnTheScreen) {
    ASSERT_TRUE(shell_.Start());
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const struct {
        POINT moveTo;
        POINT stored;
    } cases[] = {
        {{-50, -30}, {0, 0}},
        {{-20, 100}, {0, 100}},
        {{120, 70}, {120, 70}},
        {{screenWidth - 40, screenHeight - 30}, {screenWidth - 40, screenHeight - 30}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.moveTo.x) + "," + std::to_string(c.moveTo.y));
        Tessara first;
        ASSERT_TRUE(first.Start());
        ASSERT_TRUE(first.WaitForShownWindow());
        SetWindowPos(first.Window(), nullptr, c.moveTo.x, c.moveTo.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_TRUE(app_test::WaitForStored([&](const Settings& s) {
            return s.WindowLeft == c.stored.x && s.WindowTop == c.stored.y;
        }));
        EXPECT_EQ(first.Exit(), std::optional<DWORD>(0));

        Tessara next;
        ASSERT_TRUE(next.Start());
        ASSERT_TRUE(next.WaitForShownWindow());
        const RECT rect = WindowRect(next.Window());
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        EXPECT_EQ(rect.left, std::max(0L, std::min<LONG>(c.stored.x, screenWidth - width)));
        EXPECT_EQ(rect.top, std::max(0L, std::min<LONG>(c.stored.y, screenHeight - height)));
        EXPECT_EQ(next.Exit(), std::optional<DWORD>(0));
    }
}

// A desktop whose thread does not answer the attach in time: the message,
// then a later try attaches once the desktop answers again.
TEST_F(AppAttach, DesktopThatDoesNotAnswerGetsTheHookMessageThenALaterAttach) {
    ASSERT_TRUE(shell_.Start());
    shell_.Freeze(9000);
    Tessara tessara;
    ASSERT_TRUE(tessara.Start());
    HWND box = harness::WaitForDialog("Tessara", tessara.Pid(), app_test::kAttachMs);
    ASSERT_TRUE(box) << "no message";
    EXPECT_EQ(harness::MessageBoxText(box),
              "Unable to set hook to desktop.\n\nTessara can not sample the screen.\n\n"
              "This may be because \"Show Desktop\"\nwas active when Tessara started.\n"
              "If so, make sure at least one window\nis showing and restart Tessara.");
    EXPECT_FALSE(harness::FindTopLevel(names::SettingsWindowClass, nullptr, tessara.Pid()));
    ASSERT_TRUE(harness::PressButton(box, IDOK));
    ASSERT_TRUE(tessara.WaitForShownWindow());
    EXPECT_TRUE(harness::WaitUntil([&] { return shell_.IsListViewSubclassed(); }));
    EXPECT_EQ(tessara.Exit(), std::optional<DWORD>(0));
}
