#include "hiding/corner_actions_win.h"

#include <shellapi.h>

#include <cstring>
#include <string>

#include "base/app_state.h"
#include "base/handles.h"
#include "base/system_functions.h"
#include "base/unicode_text_win.h"
#include "base/windows_version_win.h"
#include "desklink/desk_link.h"
#include "hiding/corner_actions.h"
#include "hiding/cursor_tracker_win.h"
#include "hiding/show_desktop_file.h"
#include "settings/settings.h"

namespace {

HideAllWindowsWatch g_watch;
// The primary screen's size, asked again after every display change: the
// query is not free, and the tick runs ten times a second.
ScreenSize g_screen{0, 0};

constexpr int kClassNameLength = 200;

ScreenSize PrimaryScreen() {
    if (g_screen.width <= 0 || g_screen.height <= 0)
        g_screen = ScreenSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return g_screen;
}

// Where the system cannot tell, the screen saver counts as not running.
bool ScreenSaverRunning() {
    if (IsOldWindows())
        return false;
    BOOL running = FALSE;
    return !SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0) || running;
}

// Paths are UTF-8 here, as ShowDesktopFile keeps them.
bool FileExists(const std::string& path) {
    return GetFileAttributesW(Utf16Text(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
    UniqueHandle file(CreateFileW(Utf16Text(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    const bool whole =
        WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    file.reset();
    // A cut file would be found and used as it is next time.
    if (!whole)
        DeleteFileW(Utf16Text(path).c_str());
    return whole;
}

std::optional<std::string> SystemShowDesktopFile() {
    wchar_t directory[MAX_PATH] = L"";
    const UINT length = GetWindowsDirectoryW(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::nullopt;
    auto path = PathInDirectory(Utf8Text(directory), kSystemShowDesktopFile, kShowDesktopFileSize);
    return path && FileExists(*path) ? path : std::nullopt;
}

std::optional<std::string> TemporaryShowDesktopFile() {
    return PathInDirectory(Utf8Text(TemporaryFolder()), kTemporaryShowDesktopFile,
                           kShowDesktopFileSize);
}

void StoreShowDesktopFile(const std::string& path) {
    std::memcpy(g_settings.ShowDesktopFile, path.c_str(), path.size() + 1);
}

void ShowDesktop(HWND settingsWindow) {
    CreateShowDesktopFile(settingsWindow);
    if (!g_settings.ShowDesktopFile[0]) {
        EnumWindows(MinimizeWindowProc, reinterpret_cast<LPARAM>(settingsWindow));
        return;
    }
    ShowDesktopWindow(DesktopListView(), SW_SHOW);
    ShowTaskbar();
    ShellExecuteW(nullptr, L"open", Utf16Text(g_settings.ShowDesktopFile).c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

std::string ClassNameOf(HWND window) {
    char name[kClassNameLength + 1] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

void CloseListedWindow(HWND window) {
    if (g_system.EndTask)
        g_system.EndTask(window, FALSE, TRUE);
    else
        SendMessageA(window, WM_CLOSE, 0, 0);
}

} // namespace

void CheckCornerAndEdges(HWND settingsWindow, ScreenPoint cursor, DWORD now) {
    const ScreenSize screen = PrimaryScreen();
    const bool onEdge = OnScreenEdge(cursor, screen);
    // The windows are asked only where their answer matters (every corner is
    // on an edge), so that a cursor resting elsewhere costs no look-up.
    const bool normalDesktop = onEdge && !DesktopMovedOffProgman();
    const CornerInput corner{now, cursor, screen, normalDesktop};
    EdgeInput edges;
    edges.cursor = cursor;
    edges.screen = screen;
    edges.normalDesktop = normalDesktop;
    if (onEdge && BossMouseOn(g_settings))
        edges.screenSaverRunning = ScreenSaverRunning();
    if (g_watch.Check(g_settings, corner, edges))
        PerformCornerAction(settingsWindow, g_settings.HotCornerAction);
}

bool CornerWaiting() {
    return g_watch.Waiting();
}

void ForgetScreenSize() {
    g_screen = ScreenSize{0, 0};
}

void PerformCornerAction(HWND settingsWindow, int32_t index) {
    switch (CornerActionOf(index)) {
    case CornerAction::ShowDesktop:
        ShowDesktop(settingsWindow);
        break;
    case CornerAction::StartScreenSaver:
        SendMessageA(GetDesktopWindow(), WM_SYSCOMMAND, SC_SCREENSAVE, 0);
        break;
    case CornerAction::LockWorkstation:
        if (g_system.LockWorkStation)
            g_system.LockWorkStation();
        break;
    }
}

void CreateShowDesktopFile(HWND settingsWindow) {
    g_settings.ShowDesktopFile[0] = '\0';
    if (IsOldWindows())
        return;
    if (auto path = SystemShowDesktopFile()) {
        StoreShowDesktopFile(*path);
        return;
    }
    const auto path = TemporaryShowDesktopFile();
    if (path && (FileExists(*path) || WriteWholeFile(*path, ShowDesktopFileBytes()))) {
        StoreShowDesktopFile(*path);
        return;
    }
    QuietMessageBox(settingsWindow, kShowDesktopFileError, g_app.caption, MB_OK);
}

BOOL CALLBACK MinimizeWindowProc(HWND window, LPARAM settingsWindow) {
    EnumeratedWindow seen;
    seen.isSettingsWindow = window == reinterpret_cast<HWND>(settingsWindow);
    seen.hasParent = GetParent(window) != nullptr;
    seen.style = static_cast<uint32_t>(GetWindowLongA(window, GWL_STYLE));
    seen.enabled = IsWindowEnabled(window) != FALSE;
    if (ShouldMinimize(seen)) {
        ShowWindow(window, SW_HIDE);
        ShowWindow(window, SW_SHOWMINIMIZED);
    }
    if (g_app.kill && IsListedForKill(ClassNameOf(window)))
        CloseListedWindow(window);
    return TRUE;
}

bool CanLockWorkstation() {
    return g_system.LockWorkStation != nullptr;
}
