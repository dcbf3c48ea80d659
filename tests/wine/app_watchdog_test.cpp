// The watchdog of Tessara.exe: every change of the settings reaches the
// registry, whatever sent it, and the program follows its desktop through a
// restart of the shell or gives up when the desktop is gone for good.
#include "tests/wine/app_program.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

// SetHook gives up after about 20 seconds, after the 10 ticks (20 seconds)
// that the watchdog waits for a replaced desktop.
constexpr DWORD kGivesUpMs = 70000;

std::string AttemptsLeftText(int attempts) {
    return "Attempting to reaquire desktop: " + std::to_string(attempts) + " attempts left";
}

class AppWatchdog : public app_test::ProgramTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(shell_.Start());
        StartProgram();
    }
};

struct CommandEffect {
    const char* name;
    int command;
    std::function<bool(const Settings&)> stored;
};

} // namespace

TEST_F(AppWatchdog, ASettingChangedByACommandReachesTheRegistry) {
    const Settings defaults = SettingsTemplate();
    const CommandEffect cases[] = {
        {"tray text items", IDC_TRAY_SHOW_TEXT,
         [&](const Settings& s) { return s.TrayShowText == !defaults.TrayShowText; }},
        {"tray help item", IDC_TRAY_SHOW_HELP,
         [&](const Settings& s) { return s.TrayShowHelp == !defaults.TrayShowHelp; }},
        {"tray dance item", IDC_TRAY_SHOW_DANCE,
         [&](const Settings& s) { return s.TrayShowDance == !defaults.TrayShowDance; }},
        {"automatic restore", IDC_AUTO_RESTORE,
         [&](const Settings& s) {
             return s.AutoRestorePositions == !defaults.AutoRestorePositions;
         }},
        {"one set per resolution", IDC_PER_RESOLUTION,
         [](const Settings& s) { return s.PerResolutionPositions == 1; }},
        {"relative set", IDC_RELATIVE,
         [](const Settings& s) { return s.PerResolutionPositions == 0; }},
    };
    for (const CommandEffect& c : cases) {
        SCOPED_TRACE(c.name);
        tessara_.Command(c.command);
        EXPECT_TRUE(app_test::WaitForStored(c.stored));
    }
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
}

// The close action is stored by the command itself, not by the watchdog.
TEST_F(AppWatchdog, CloseActionRadiosStoreAtOnce) {
    const struct {
        int command;
        int prompt;
        int hides;
    } cases[] = {
        {IDC_CLOSE_HIDE, 0, 1},
        {IDC_CLOSE_EXIT, 0, 0},
        {IDC_CLOSE_PROMPT, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        tessara_.Command(c.command);
        const std::optional<Settings> stored = app_test::StoredSettings();
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->ExitPrompt, c.prompt);
        EXPECT_EQ(stored->ExitHides, c.hides);
    }
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
}

TEST_F(AppWatchdog, ShellRestartedAtOnceIsReattached) {
    ASSERT_TRUE(shell_.Restart());
    EXPECT_TRUE(
        harness::WaitUntil([&] { return shell_.IsListViewSubclassed(); }, app_test::kAttachMs));
    EXPECT_TRUE(IsWindow(tessara_.Window()));
    EXPECT_EQ(tessara_.StatusLine().find("Attempting"), std::string::npos);

    tessara_.Command(IDC_TRAY_SHOW_HIDING);
    EXPECT_TRUE(app_test::WaitForStored([](const Settings& s) {
        return s.TrayShowHiding == !SettingsTemplate().TrayShowHiding;
    })) << "the watchdog runs on after the re-attach";
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    EXPECT_FALSE(shell_.IsListViewSubclassed());
}

// Explorer restarted with its view under a top-level "WorkerW" (a wallpaper
// slideshow asked for its layer at once): a new "Progman", and the desktop is
// found where the view is.
TEST_F(AppWatchdog, ShellRestartedWithItsViewUnderAWorkerIsReattached) {
    harness::ShellOptions options;
    options.layout = 1; // workerw
    ASSERT_TRUE(shell_.Start(options));
    EXPECT_TRUE(
        harness::WaitUntil([&] { return shell_.IsListViewSubclassed(); }, app_test::kAttachMs));
    EXPECT_EQ(tessara_.StatusLine().find("Attempting"), std::string::npos);
    EXPECT_FALSE(harness::FindTopLevel("#32770", nullptr, tessara_.Pid())) << "a message";
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    EXPECT_FALSE(shell_.IsListViewSubclassed());
}

TEST_F(AppWatchdog, SlowShellCountsDownInTheStatusLineUntilItComes) {
    shell_.Stop();
    for (int attempts : {9, 8}) {
        EXPECT_TRUE(harness::WaitUntil(
            [&] { return tessara_.StatusLine() == AttemptsLeftText(attempts); }, 5000))
            << tessara_.StatusLine();
    }
    ASSERT_TRUE(shell_.Start());
    EXPECT_TRUE(
        harness::WaitUntil([&] { return shell_.IsListViewSubclassed(); }, app_test::kAttachMs));
    EXPECT_FALSE(harness::FindTopLevel("#32770", nullptr, tessara_.Pid()));
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
}

TEST_F(AppWatchdog, ShellGoneForGoodEndsTheProgramWithItsSettingsSaved) {
    app_test::ForgetSettings();
    tessara_.Command(IDC_TRAY_SHOW_POSITIONS);
    shell_.Stop();
    HWND box = harness::WaitForDialog("Tessara", tessara_.Pid(), kGivesUpMs);
    ASSERT_TRUE(box);
    EXPECT_EQ(harness::MessageBoxText(box),
              "Tessara can no longer find the desktop.\nThe desktop "
              "probably crashed.\n\nPlease restart Tessara manually.");
    EXPECT_EQ(tessara_.StatusLine(), AttemptsLeftText(0));
    EXPECT_TRUE(harness::PressButton(box, IDOK));
    EXPECT_EQ(tessara_.Process().WaitExit(app_test::kAttachMs), std::optional<DWORD>(0));
    const std::optional<Settings> stored = app_test::StoredSettings();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->TrayShowPositions, !SettingsTemplate().TrayShowPositions);
}
