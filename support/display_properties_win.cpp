#include "support/display_properties_win.h"

#include <shellapi.h>

#include <optional>
#include <string>

namespace dp = display_properties;

namespace {

struct PlacesBeforeMove {
    dp::Rect settings;
    dp::Rect other;
};

std::optional<PlacesBeforeMove> g_beforeMove;

HWND FindDisplayProperties() {
    return FindWindowA(nullptr, dp::kWindowTitle);
}

dp::Rect RectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void MoveTo(HWND window, const dp::Rect& rect) {
    SetWindowPos(window, nullptr, rect.left, rect.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool StartRundll32(HWND owner, const std::string& program) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(owner, "open", program.c_str(), dp::kParameters, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

std::string WindowsFolder() {
    char folder[MAX_PATH] = "";
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string();
}

// The settings window waits meanwhile, as the user asked for the window.
HWND WaitForDisplayProperties() {
    for (int attempt = 0; attempt < dp::kFindAttempts; ++attempt) {
        if (HWND window = FindDisplayProperties())
            return window;
        Sleep(dp::kFindIntervalMs);
    }
    return FindDisplayProperties();
}

// The left edge of the screen that the settings window is on.
int ScreenLeftOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor))
        return 0;
    return monitor.rcMonitor.left;
}

} // namespace

void DockBesideSettingsWindow(HWND other, HWND settingsWindow, dp::Side side) {
    MoveTo(other, dp::DockedBeside(RectOf(settingsWindow), RectOf(other), side));
}

void OpenDisplayProperties(HWND settingsWindow) {
    const std::string windows = WindowsFolder();
    if (!StartRundll32(settingsWindow, dp::Rundll32InSystemFolder(windows)) &&
        !StartRundll32(settingsWindow, dp::Rundll32InWindowsFolder(windows)))
        return;
    HWND other = WaitForDisplayProperties();
    if (!other)
        return;
    const dp::Side side =
        dp::SideForOpening(RectOf(settingsWindow), RectOf(other), ScreenLeftOf(settingsWindow));
    DockBesideSettingsWindow(other, settingsWindow, side);
}

void KeepDockedSettingsWindowFromTheEdges(HWND settingsWindow, WINDOWPOS& position) {
    if (position.flags & SWP_NOMOVE)
        return;
    HWND other = FindDisplayProperties();
    const dp::Rect settings = RectOf(settingsWindow);
    if (!other || !dp::Docked(settings, RectOf(other)))
        return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(settingsWindow, MONITOR_DEFAULTTOPRIMARY), &monitor))
        return;
    const int width = (position.flags & SWP_NOSIZE) ? settings.Width() : position.cx;
    position.x = dp::KeptLeftWhileDocked(position.x, width, monitor.rcMonitor.left,
                                         monitor.rcMonitor.right, GetSystemMetrics(SM_CXMENUSIZE));
}

void NoteDisplayPropertiesBeforeMove(HWND settingsWindow) {
    HWND other = FindDisplayProperties();
    if (other)
        g_beforeMove = PlacesBeforeMove{RectOf(settingsWindow), RectOf(other)};
    else
        g_beforeMove.reset();
}

void KeepDisplayPropertiesDocked(HWND settingsWindow) {
    const std::optional<PlacesBeforeMove> before = g_beforeMove;
    g_beforeMove.reset();
    HWND other = FindDisplayProperties();
    dp::Rect now{};
    if (before && other &&
        dp::FollowMove(before->settings, before->other, RectOf(settingsWindow), now))
        MoveTo(other, now);
}
