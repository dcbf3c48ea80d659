#include "app/desktop_attach.h"

#include "base/timers.h"
#include "deskhook/shared_names.h"
#include "desklink/context_menu_link.h"
#include "desklink/desk_link.h"
#include "desklink/menu_state.h"
#include "settings/settings.h"

void ReattachDesktop(HWND settingsWindow) {
    KillTimer(settingsWindow, timers::Watchdog);
    SetDesktopNotifyWindow(settingsWindow);
    PublishMenuState(g_settings);
    DetachContextMenu();
    AttachContextMenuInBackground(settingsWindow);
    SendMessageA(settingsWindow, UM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
    SetTimer(settingsWindow, timers::Watchdog, timers::WatchdogMs, nullptr);
    RecordProgmanSentinel();
}
