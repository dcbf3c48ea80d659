#include "app/watchdog.h"

#include "base/app_state.h"
#include "app/desktop_attach.h"
#include "app/desktop_watch.h"
#include "app/page_context.h"
#include "app/status_line.h"
#include "base/timers.h"
#include "deskhook/shared_names.h"
#include "desklink/desk_link.h"
#include "settings/settings.h"
#include "ui/settings_pages_win.h"

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
    if (AttachDesktopAgain()) {
        ReattachDesktop(settingsWindow);
        RefreshSettingsPage(settingsWindow);
    } else {
        GiveUpDesktop(settingsWindow);
    }
}

} // namespace

void TakeSettingsSnapshot() {
    g_storedSettings.Take(g_settings);
}

// A new "Progman" means a new desktop. A link lost under the same "Progman"
// (the list view rebuilt, or the attachment we borrowed let go by its owner)
// is followed the same way.
void WatchdogTick(HWND settingsWindow) {
    StoreChangedSettings(settingsWindow);
    const bool lost = ProgmanReplaced() || DesktopLinkLost();
    switch (g_desktopWatch.Decide(lost, lost && DesktopReachable())) {
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
