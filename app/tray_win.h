// The settings window's icon in the notification area and its menu.
#pragma once

#include <windows.h>

#include "app/tray.h"
#include "base/handles.h"

// Creation: ShowTrayIcon as stored, before anything forces it on.
void RememberTrayStateAtStart();
// The deferred start: the icon as it was at start, or on when no Show/Hide
// hot key could be registered; no removal message meanwhile.
void BringTrayIconToStartState(HWND settingsWindow);

// While one lives, switching the icon off shows no removal message, and the
// message's one showing is not used up.
class QuietTrayRemoval {
  public:
    QuietTrayRemoval();
    ~QuietTrayRemoval();
    QuietTrayRemoval(const QuietTrayRemoval&) = delete;
    QuietTrayRemoval& operator=(const QuietTrayRemoval&) = delete;

  private:
    int counted_;
};

// Command 1060 "Show tray icon".
void SwitchTrayIconCommand(HWND settingsWindow);
// UM_TRAYNOTIFY; `mouseMessage` is its lParam.
void OnTrayNotify(HWND settingsWindow, UINT mouseMessage);
// Shows, enables and brings the settings window to the front.
void ShowSettingsWindowInFront(HWND window);
// "TaskBarCreated": the new taskbar gets the icon again.
void ReAddTrayIcon(HWND settingsWindow);
// Shutdown.
void DeleteTrayIcon(HWND settingsWindow);

// Builds, shows and destroys the menu.
void ShowTrayMenu(HWND owner, int x, int y);

// Menu 109 of `resources` with `layout` inserted; its first popup is the
// tray menu. Null when the menu cannot be loaded.
UniqueMenu BuildTrayMenu(HINSTANCE resources, const TrayMenuLayout& layout);
// The icon of `resources` at the small-icon size `size`, scaled down from
// its nearest larger image.
UniqueIcon LoadTrayIcon(HINSTANCE resources, int size);
