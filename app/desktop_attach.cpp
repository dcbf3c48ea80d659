#include "app/desktop_attach.h"

#include "base/app_state.h"
#include "app/desktop_watch.h"
#include "base/instance_data.h"
#include "app/page_context.h"
#include "app/status_line.h"
#include "base/timers.h"
#include "deskhook/shared_names.h"
#include "desklink/desk_link.h"
#include "settings/settings.h"
#include "ui/settings_pages_win.h"

#include <commctrl.h>

#include <cstdio>

namespace {

constexpr char kDesktopLostText[] = "Tessara can no longer find the desktop.\nThe desktop probably "
                                    "crashed.\n\nPlease restart Tessara manually.";

SettingsSnapshot g_storedSettings;
DesktopWatch g_desktopWatch;

bool ProgmanReplaced() {
    return FindWindowA(names::ProgmanClass, nullptr) != ProgmanSentinel();
}

void StoreChangedSettings(HWND settingsWindow) {
    if (!g_storedSettings.ChangedSinceLastLook(g_settings))
        return;
    SaveSettings(g_settings);
    UpdatePageEnabling(settingsWindow, CurrentPageContext());
}

void ShowAttemptsLeft(int attemptsLeft) {
    char text[80];
    std::snprintf(text, sizeof text, "Attempting to reaquire desktop: %d attempts left",
                  attemptsLeft);
    SetStatusLine(text);
}

void GiveUpDesktop(HWND settingsWindow) {
    KillTimer(settingsWindow, timers::Watchdog);
    MessageBoxA(settingsWindow, kDesktopLostText, g_app.caption, MB_OK);
    SendMessageA(settingsWindow, WM_CLOSE, 0, 0);
}

void AttachNewDesktop(HWND settingsWindow) {
    KillTimer(settingsWindow, timers::Watchdog);
    RefreshDesktopListView();
    UnhookDesktop();
    if (HookDesktop()) {
        ReattachDesktop(settingsWindow);
        RefreshSettingsPage(settingsWindow);
    } else {
        GiveUpDesktop(settingsWindow);
    }
}

} // namespace

bool DesktopReachable() {
    DWORD processId = 0;
    GetWindowThreadProcessId(RefreshDesktopListView(), &processId);
    HANDLE process = processId ? OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId) : nullptr;
    if (process)
        CloseHandle(process);
    RefreshDesktopListView();
    return process != nullptr;
}

bool HookDesktop() {
    if (!SetHook(TRUE))
        return false;
    Instances().DesktopAttached = 1;
    return true;
}

void UnhookDesktop() {
    SetHook(FALSE);
    Instances().DesktopAttached = 0;
}

void SeedPaintColours() {
    HWND listView = RefreshDesktopListView();
    SharedBlock* block = DeskBlock();
    if (!listView || !block)
        return;
    block->PaintTextColor = ListTextColor();
    block->PaintBackColor = ListTextBackColor();
}

void ReattachDesktop(HWND settingsWindow) {
    KillTimer(settingsWindow, timers::Watchdog);
    SetDesktopNotifyWindow(settingsWindow);
    SendMessageA(settingsWindow, UM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
    SetTimer(settingsWindow, timers::Watchdog, timers::WatchdogMs, nullptr);
    RecordProgmanSentinel();
}

void TakeSettingsSnapshot() {
    g_storedSettings.Take(g_settings);
}

void WatchdogTick(HWND settingsWindow) {
    StoreChangedSettings(settingsWindow);
    const bool replaced = ProgmanReplaced();
    switch (g_desktopWatch.Decide(replaced, replaced && DesktopReachable())) {
    case DesktopAction::None:
        break;
    case DesktopAction::CountDown:
        ShowAttemptsLeft(g_desktopWatch.AttemptsLeft());
        break;
    case DesktopAction::Reattach:
        AttachNewDesktop(settingsWindow);
        break;
    }
}
