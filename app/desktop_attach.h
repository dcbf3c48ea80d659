// Linking the settings window to the desktop after every attach.
#pragma once

#include <windows.h>

// The desktop forwards its setting changes to the settings window, its
// context menu gets the program's submenu again (attached in the background),
// the caption colours are refreshed and the watchdog starts (again) with the
// current "Progman" as its sentinel.
void ReattachDesktop(HWND settingsWindow);
