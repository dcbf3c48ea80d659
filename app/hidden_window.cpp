#include "app/hidden_window.h"

#include "base/app_state.h"
#include "app/desktop_attach.h"
#include "base/instance_data.h"
#include "app/settings_window.h"
#include "base/timers.h"
#include "deskhook/shared_names.h"
#include "settings/settings.h"

namespace {

constexpr char kHookFailedText[] =
    "Unable to set hook to desktop.\n\nTessara can not sample the screen.\n\nThis may be because "
    "\"Show Desktop\"\nwas active when Tessara started.\nIf so, make sure at least one window\nis "
    "showing and restart Tessara.";

void OnCreate(HWND window) {
    SetTimer(window, timers::DesktopPoll, timers::DesktopPollFirstMs, nullptr);
}

// The settings window is what the user sees of the program; without it the
// program ends, and lets go of the desktop first.
void OpenSettingsWindow(HWND window) {
    HWND settingsWindow = CreateSettingsWindow(g_app.instance, window);
    if (!settingsWindow) {
        UnhookDesktop();
        SendMessageA(window, WM_CLOSE, 0, 0);
        return;
    }
    ShowWindow(settingsWindow, g_settings.HideWhenStarted == 1 ? SW_HIDE : SW_SHOW);
}

// Returns true once attached; until then the poll goes on.
bool TryAttach(HWND window) {
    if (!DesktopReachable())
        return false;
    if (!HookDesktop()) {
        MessageBoxA(nullptr, kHookFailedText, g_app.caption, MB_OK | MB_ICONERROR);
        return false;
    }
    LoadSettings(g_settings, false, true);
    TakeSettingsSnapshot();
    SeedPaintColours();
    OpenSettingsWindow(window);
    return true;
}

void OnTimer(HWND window) {
    KillTimer(window, timers::DesktopPoll);
    if (!TryAttach(window))
        SetTimer(window, timers::DesktopPoll, timers::DesktopPollRetryMs, nullptr);
}

void OnTaskbarCreated(HWND) {
    if (HWND settingsWindow = OwnSettingsWindow())
        SendMessageA(settingsWindow, g_app.taskbarCreatedMessage, 0, 0);
}

} // namespace

LRESULT CALLBACK HiddenWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == g_app.taskbarCreatedMessage && message != 0)
        OnTaskbarCreated(window);
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_TIMER:
        OnTimer(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateHiddenWindow(HINSTANCE instance) {
    return CreateWindowA(names::HiddenWindowClass, kHiddenWindowTitle, WS_OVERLAPPEDWINDOW,
                         CW_USEDEFAULT, 0, 100, 200, nullptr, nullptr, instance, nullptr);
}
