// A Tessara.exe with chosen hiding settings against the stand-in shell, the
// cursor moved for real, and what a user would see read back.
#pragma once

#include "desklink/desk_link.h"
#include "tests/wine/app_program.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace hiding_test {

// Delays stay short; a wait is generous, since the machine may be busy.
constexpr DWORD kSoonMs = 4000;

// Every hiding option off, tool tips off; tests switch on what they test.
inline Settings QuietSettings() {
    Settings s = SettingsTemplate();
    s.HideByCursor = 0;
    s.HideAlways = 0;
    s.HideWhenOnDesktop = 0;
    s.HideWhenOffDesktop = 0;
    s.DelayShowOnDesktop = 0;
    s.HideOnDesktopDelay = 0;
    s.HideOffDesktopDelay = 0;
    s.ShowDelay = 1;
    s.HideCursor = 0;
    s.HideTaskbar = 0;
    s.HotCornerEnabled = 0;
    s.HotCornerWait = 0;
    s.BossMouse = 0;
    s.WindowFading = 0;
    s.AutoRestorePositions = 0;
    s.ShowToolTips = 0;
    // Wine's taskbar shows itself when a first tray icon is added, which
    // would undo a hide that start-up made just before.
    s.ShowTrayIcon = 0;
    return s;
}

inline HWND TaskbarWindow() {
    return FindWindowA("Shell_TrayWnd", nullptr);
}

inline bool TaskbarVisible() {
    HWND taskbar = TaskbarWindow();
    return taskbar && IsWindowVisible(taskbar);
}

// A captioned top-level window of the test process: a place off the desktop.
class TestWindow {
  public:
    explicit TestWindow(RECT place, const char* className = "TessaraTestWindow") {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = className;
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, className, "Test window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  place.left, place.top, place.right - place.left,
                                  place.bottom - place.top, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        harness::PumpMessages(100);
    }
    ~TestWindow() {
        if (IsWindow(window_))
            DestroyWindow(window_);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Get() const { return window_; }
    POINT Inside() const {
        RECT r{};
        GetWindowRect(window_, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

  private:
    HWND window_ = nullptr;
};

class HidingTest : public app_test::ProgramTest {
  protected:
    void SetUp() override { ASSERT_TRUE(shell_.Start()); }

    void TearDown() override {
        app_test::ProgramTest::TearDown();
        ShowWindow(TaskbarWindow(), SW_SHOW);
    }

    // Starts Tessara.exe with `settings` and the cursor off the desktop, and
    // hides its settings window so that the desktop lies open.
    void Launch(const Settings& settings) {
        // Above the stand-in's "Progman", which was created after it.
        SetWindowPos(offDesktop_.Get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        harness::MoveMouse(offDesktop_.Inside());
        StartProgram(settings);
        tessara_.Command(IDC_HIDE_WINDOW);
        ASSERT_TRUE(harness::WaitUntil([&] { return !IsWindowVisible(tessara_.Window()); }));
        harness::MoveMouse(offDesktop_.Inside());
    }

    bool IconsVisible() const { return IsWindowVisible(shell_.ListView()) != FALSE; }

    // An empty place on the desktop, away from the icons and the taskbar.
    static POINT OnDesktop(int dx = 0) { return POINT{700 + dx, 450}; }

    POINT OnTaskbar() const {
        RECT r{};
        GetWindowRect(TaskbarWindow(), &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    TestWindow offDesktop_{RECT{60, 420, 360, 620}};
};

// The recorder's log: one line per start.
inline std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline int LineCount(const std::string& text) {
    int lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

} // namespace hiding_test
