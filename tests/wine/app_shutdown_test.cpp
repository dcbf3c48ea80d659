// The ways Tessara.exe ends, each through the one shutdown: Windows ending the
// session, "-stop" from a second instance, the tray's "Exit"; and the ways its
// window is only hidden. What a second instance passes on is start-up's
// (startup_instance_test).
#include "base/instance_data.h"
#include "tests/wine/app_program.h"

#include <gtest/gtest.h>

namespace {

class AppShutdown : public app_test::ProgramTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(shell_.Start());
        StartProgram();
    }

    // Shut down with a setting changed after the last watchdog tick: it is
    // saved, the desktop is let go and the program ends.
    void ExpectCleanEnd(const std::function<void()>& end) {
        harness::PumpMessages(2500);
        tessara_.Command(IDC_TRAY_SHOW_HELP);
        end();
        EXPECT_EQ(tessara_.Process().WaitExit(app_test::kAttachMs), std::optional<DWORD>(0));
        const std::optional<Settings> stored = app_test::StoredSettings();
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->TrayShowHelp, !SettingsTemplate().TrayShowHelp);
        EXPECT_FALSE(shell_.IsListViewSubclassed());
    }
};

} // namespace

TEST_F(AppShutdown, EndSessionRunsTheShutdownWhateverItsWParam) {
    for (WPARAM ending : {TRUE, FALSE}) {
        SCOPED_TRACE(ending);
        if (!tessara_.Process().Running()) {
            app_test::ForgetSettings();
            ASSERT_TRUE(tessara_.Start());
            ASSERT_TRUE(tessara_.WaitForShownWindow());
        }
        ExpectCleanEnd([&] { SendMessageA(tessara_.Window(), WM_ENDSESSION, ending, 0); });
    }
}

TEST_F(AppShutdown, StopFromASecondInstanceEndsTheFirst) {
    ExpectCleanEnd([] {
        harness::Process stop = harness::Process::Start(app_test::kProgram, "-stop");
        EXPECT_EQ(stop.WaitExit(), std::optional<DWORD>(0));
    });
    EXPECT_FALSE(SharedSettingsWindow()) << "no stale handle for the next instance";
}

TEST_F(AppShutdown, TrayExitEndsTheProgram) {
    ExpectCleanEnd([&] { PostMessageA(tessara_.Window(), WM_COMMAND, IDM_EXIT, 0); });
}

TEST_F(AppShutdown, HideButtonAndEscapeOnlyHideTheWindow) {
    for (int hide : {int(IDC_HIDE_WINDOW), IDCANCEL}) {
        SCOPED_TRACE(hide);
        ShowWindow(tessara_.Window(), SW_SHOW);
        EnableWindow(tessara_.Window(), TRUE);
        tessara_.Command(hide);
        EXPECT_FALSE(IsWindowVisible(tessara_.Window()));
        EXPECT_TRUE(tessara_.Process().Running());
    }
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
}

TEST_F(AppShutdown, MinimiseHidesTheWindow) {
    SendMessageA(tessara_.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsWindowVisible(tessara_.Window()));
    EXPECT_TRUE(tessara_.Process().Running());
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
}
