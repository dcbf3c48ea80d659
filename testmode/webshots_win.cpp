#include "testmode/webshots_win.h"

#include "base/handles.h"
#include "settings/settings.h"
#include "testmode/webshots.h"

#include <shellapi.h>

namespace {

constexpr std::size_t kMaxTitle = 255;

HWND FindChanger() {
    return FindWindowA(nullptr, WebshotsTitle().c_str());
}

void Place(HWND window, HWND after, const webshots::Placement& place) {
    SetWindowPos(window, after, place.x, place.y, place.width, place.height, SWP_NOACTIVATE);
}

// Started minimised; its window appears a moment later, if at all.
HWND StartChanger(HWND settingsWindow) {
    const auto started = reinterpret_cast<INT_PTR>(ShellExecuteA(
        settingsWindow, "open", kWebshotsProgram, nullptr, nullptr, SW_SHOWMINIMIZED));
    if (started <= 32)
        return nullptr;
    HWND changer = nullptr;
    for (int attempt = 0; attempt < webshots::kSearchAttempts && !changer; ++attempt) {
        Sleep(webshots::kSearchIntervalMs);
        changer = FindChanger();
    }
    Sleep(webshots::kSearchIntervalMs);
    return changer;
}

} // namespace

std::string WebshotsTitle() {
    char title[kMaxTitle + 1] = "";
    DWORD size = sizeof title;
    if (RegGetValueA(HKEY_CURRENT_USER, kProgramKey, kWebshotsTitleValue, RRF_RT_REG_SZ, nullptr,
                     title, &size) != ERROR_SUCCESS ||
        !title[0])
        return kDefaultWebshotsTitle;
    return title;
}

void ArrangeWebshots(HWND settingsWindow) {
    RECT rect{};
    GetWindowRect(settingsWindow, &rect);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    Place(
        settingsWindow, HWND_TOPMOST,
        webshots::SettingsWindowPlace(screenWidth, rect.right - rect.left, rect.bottom - rect.top));
    EnableWindow(settingsWindow, TRUE);
    HWND changer = FindChanger();
    if (!changer)
        changer = StartChanger(settingsWindow);
    if (!changer)
        return;
    ShowWindow(changer, SW_RESTORE);
    Place(changer, HWND_NOTOPMOST,
          webshots::ChangerPlace(screenWidth, GetSystemMetrics(SM_CYSCREEN)));
}

void CloseWebshots() {
    if (HWND changer = FindChanger())
        SendMessageTimeoutA(changer, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
}
