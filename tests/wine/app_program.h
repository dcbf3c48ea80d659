// Running the real Tessara.exe against the stand-in desktop shell: its stored
// settings, its settings window and its end.
#pragma once

#include "base/instance_data.h"
#include "base/timers.h"
#include "deskhook/shared_names.h"
#include "settings/settings.h"
#include "tests/harness/harness.h"
#include "ui/resource.h"
#include "ui/settings_pages.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace app_test {

constexpr char kProgram[] = "Tessara.exe";
// SetHook gives up after about 20 seconds without a desktop, and an attach
// waits up to about 6 seconds for the desktop's answer.
constexpr DWORD kAttachMs = 30000;
// The watchdog ticks every 2 seconds and only takes its copy of the settings
// at the first tick: a change is stored at most two ticks later.
constexpr DWORD kWatchdogStoresMs = 6000;

inline std::optional<Settings> StoredSettings() {
    auto value = harness::RegRead(HKEY_CURRENT_USER, kProgramKey, kSettingsValue);
    if (!value || value->data.size() != std::size_t(kSettingsRecordSize))
        return std::nullopt;
    SettingsBytes bytes;
    std::copy(value->data.begin(), value->data.end(), bytes.begin());
    return DeserializeSettings(bytes);
}

inline void StoreSettings(const Settings& record) {
    const SettingsBytes bytes = SerializeSettings(record);
    ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kProgramKey, kSettingsValue,
                                        std::vector<uint8_t>(bytes.begin(), bytes.end())));
}

inline void ForgetSettings() {
    ASSERT_TRUE(harness::RegDeleteValue(HKEY_CURRENT_USER, kProgramKey, kSettingsValue));
}

// Waits until the stored record satisfies `holds`.
template <typename Predicate>
bool WaitForStored(Predicate holds, DWORD timeoutMs = kWatchdogStoresMs) {
    return harness::WaitUntil(
        [&] {
            const std::optional<Settings> stored = StoredSettings();
            return stored && holds(*stored);
        },
        timeoutMs);
}

// As WaitForStored, with the watchdog's tick posted to the settings window
// while waiting: for tests of what is stored rather than of when.
template <typename Predicate> bool WaitForStoredNow(HWND settingsWindow, Predicate holds) {
    constexpr DWORD kTickEveryMs = 200;
    DWORD lastTick = GetTickCount() - kTickEveryMs;
    return harness::WaitUntil(
        [&] {
            const std::optional<Settings> stored = StoredSettings();
            if (stored && holds(*stored))
                return true;
            if (GetTickCount() - lastTick >= kTickEveryMs) {
                PostMessageA(settingsWindow, WM_TIMER, timers::Watchdog, 0);
                lastTick = GetTickCount();
            }
            return false;
        },
        kWatchdogStoresMs);
}

// ---- The prefix's DPI ----

struct RegistryPlace {
    HKEY root;
    const char* key;
};

// Wine takes the system DPI from either value when a process starts.
const RegistryPlace kLogPixelsPlaces[] = {{HKEY_CURRENT_USER, "Control Panel\\Desktop"},
                                          {HKEY_CURRENT_CONFIG, "Software\\Fonts"}};

// Sets the prefix's DPI for the processes started while it lives; both values
// are put back when it goes, whatever the test's outcome.
class LogPixelsGuard {
  public:
    explicit LogPixelsGuard(DWORD dpi) {
        for (const RegistryPlace& place : kLogPixelsPlaces) {
            saved_.push_back(harness::RegRead(place.root, place.key, kValue));
            harness::RegWriteDword(place.root, place.key, kValue, dpi);
        }
    }
    ~LogPixelsGuard() {
        for (std::size_t i = 0; i < std::size(kLogPixelsPlaces); ++i) {
            const RegistryPlace& place = kLogPixelsPlaces[i];
            if (saved_[i])
                harness::RegWrite(place.root, place.key, kValue, saved_[i]->type,
                                  saved_[i]->data.data(), DWORD(saved_[i]->data.size()));
            else
                harness::RegDeleteValue(place.root, place.key, kValue);
        }
    }
    LogPixelsGuard(const LogPixelsGuard&) = delete;
    LogPixelsGuard& operator=(const LogPixelsGuard&) = delete;

  private:
    static constexpr char kValue[] = "LogPixels";
    std::vector<std::optional<harness::RegValue>> saved_;
};

// A running Tessara.exe.
class Tessara {
  public:
    bool Start(const std::string& args = "") {
        process_ = program_.empty() ? harness::Process::Start(kProgram, args)
                                    : harness::Process::Start(program_, args);
        return process_.Running();
    }

    // Starts the copy at `path` from now on instead of the build's own.
    void UseProgram(std::wstring path) { program_ = std::move(path); }

    // Waits for its settings window (shown or hidden).
    HWND WaitForWindow(DWORD timeoutMs = kAttachMs) {
        window_ = harness::WaitForWindow(names::SettingsWindowClass, "Tessara", process_.Pid(),
                                         timeoutMs);
        return window_;
    }

    // Waits for its settings window to be shown, which it is once created.
    HWND WaitForShownWindow() {
        if (!WaitForWindow())
            return nullptr;
        return harness::WaitUntil([&] { return IsWindowVisible(window_) != FALSE; }) ? window_
                                                                                     : nullptr;
    }

    // Sends the command as the tray menu or the desktop context menu do.
    void Command(int id) const { SendMessageA(window_, WM_COMMAND, id, 0); }

    // A WM_NOTIFY cannot be sent to another process; moving the tab control's
    // focus selects the tab and notifies the window as a click does, and the
    // window shows the page before the call returns.
    void SelectTab(SettingsTab tab) const {
        SendDlgItemMessageA(window_, IDC_TABS, TCM_SETCURFOCUS, WPARAM(tab), 0);
    }

    std::string StatusLine() const { return harness::ControlText(window_, IDC_STATUS_LINE); }
    std::wstring ExactStatusLine() const {
        return harness::ExactWindowText(GetDlgItem(window_, IDC_STATUS_LINE));
    }

    // Closes it as the tray menu's "Exit" does; its exit code.
    std::optional<DWORD> Exit() {
        SendMessageA(window_, WM_COMMAND, IDM_EXIT, 0);
        return process_.WaitExit(kAttachMs);
    }

    HWND Window() const { return window_; }
    harness::Process& Process() { return process_; }
    DWORD Pid() const { return process_.Pid(); }

  private:
    harness::Process process_;
    HWND window_ = nullptr;
    std::wstring program_;
};

// A desktop (the stand-in shell, or the shell's own view) and a Tessara.exe
// attached to it; whatever still runs at the end of a test is closed.
template <typename Desktop> class DesktopProgramTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(OpenInstanceData()); }

    // An instance still running would take the next test's start for a second
    // instance and end it: the test's own must be seen to end.
    void TearDown() override {
        if (!tessara_.Process().Running())
            return;
        EXPECT_TRUE(tessara_.Exit()) << "Tessara.exe did not end when told to";
        tessara_.Process().Terminate();
    }

    // Starts Tessara.exe outside test mode with `record` stored, or with no
    // stored record at all, and waits until it has attached to the shell.
    void StartProgram(const std::optional<Settings>& record = std::nullopt) {
        LaunchProgram(record);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(tessara_.WaitForShownWindow());
        ASSERT_TRUE(harness::WaitUntil([&] { return shell_.IsListViewSubclassed(); }));
    }

    // StartProgram without the waits.
    void LaunchProgram(const std::optional<Settings>& record = std::nullopt) {
        ASSERT_TRUE(harness::WaitUntil([] {
            return !harness::FindTopLevel(names::SettingsWindowClass, nullptr);
        })) << "an earlier Tessara.exe is still running";
        SetTestMode(false);
        // Drop shadows on the desktop would put their notice in place of the
        // first page's controls.
        ASSERT_TRUE(
            harness::RegDeleteValue(HKEY_CURRENT_USER, kExplorerAdvancedKey, kListviewShadowValue));
        if (record)
            StoreSettings(*record);
        else
            ForgetSettings();
        ASSERT_TRUE(tessara_.Start());
    }

    Desktop shell_;
    Tessara tessara_;
};

using ProgramTest = DesktopProgramTest<harness::Shell>;

} // namespace app_test
