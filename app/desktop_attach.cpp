#include "app/desktop_attach.h"

#include "base/timers.h"
#include "deskhook/shared_names.h"
#include "desklink/desk_link.h"

void ReattachDesktop(HWND settingsWindow) {
    KillTimer(settingsWindow, timers::Watchdog);
    SetDesktopNotifyWindow(settingsWindow);
    SendMessageA(settingsWindow, UM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
    SetTimer(settingsWindow, timers::Watchdog, timers::WatchdogMs, nullptr);
    RecordProgmanSentinel();
}
