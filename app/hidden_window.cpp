#include "app/hidden_window.h"

#include "app/settings_window.h"
#include "app/watchdog.h"
#include "base/app_state.h"
#include "base/instance_data.h"
#include "base/timers.h"
#include "deskhook/shared_names.h"
#include "desklink/desk_link.h"
#include "settings/settings.h"

namespace {

constexpr char kHookFailedText[] =
    "Unable to set hook to desktop.\n\nTessara can not sample the screen.\n\nThis may be because "
    "\"Show Desktop\"\nwas active when Tessara started.\nIf so, make sure at least one window\nis "
    "showing and restart Tessara.";
// A hook library cannot be loaded into a desktop of the other width.
constexpr const char* kOtherWidthText =
    sizeof(void*) == 8
        ? "The desktop runs as a 32-bit program, and this is the 64-bit build of Tessara.\n\n"
          "Please use the 32-bit build of Tessara with this desktop."
        : "The desktop runs as a 64-bit program, and this is the 32-bit build of Tessara.\n\n"
          "Please use the 64-bit build of Tessara with this desktop.";

void OnCreate(HWND window) {
    SetTimer(window, timers::DesktopPoll, timers::DesktopPollFirstMs, nullptr);
}

// The settings window is what the user sees of the program; without it the
// program ends, and lets go of the desktop first.
void OpenSettingsWindow(HWND window) {
    HWND settingsWindow = CreateSettingsWindow(g_app.instance, window);
    if (!settingsWindow) {
        DetachDesktop();
        SendMessageA(window, WM_CLOSE, 0, 0);
        return;
    }
    ShowWindow(settingsWindow, g_settings.HideWhenStarted == 1 ? SW_HIDE : SW_SHOW);
}

enum class AttachStep { Attached, TryAgain, GiveUp };

// The other build is the only cure for a desktop of the other width: said
// once, and the program ends without ever hooking.
AttachStep TryAttach(HWND window) {
    if (!DesktopReachable())
        return AttachStep::TryAgain;
    AttachFailure failure = AttachFailure::NoAnswer;
    if (!AttachDesktop(&failure)) {
        if (failure == AttachFailure::OtherWidth) {
            MessageBoxA(nullptr, kOtherWidthText, g_app.caption, MB_OK | MB_ICONERROR);
            return AttachStep::GiveUp;
        }
        MessageBoxA(nullptr, kHookFailedText, g_app.caption, MB_OK | MB_ICONERROR);
        return AttachStep::TryAgain;
    }
    LoadSettings(g_settings, SettingsSource::Stored, InvalidSettings::Silent);
    TakeSettingsSnapshot();
    OpenSettingsWindow(window);
    return AttachStep::Attached;
}

void OnTimer(HWND window) {
    KillTimer(window, timers::DesktopPoll);
    switch (TryAttach(window)) {
    case AttachStep::Attached:
        break;
    case AttachStep::TryAgain:
        SetTimer(window, timers::DesktopPoll, timers::DesktopPollRetryMs, nullptr);
        break;
    case AttachStep::GiveUp:
        SendMessageA(window, WM_CLOSE, 0, 0);
        break;
    }
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
