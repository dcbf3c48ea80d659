// Hot corner and Boss Mouse on the real screen, and the actions they take:
// show the desktop, start the screen saver, lock the workstation.
#pragma once

#include <windows.h>

#include "hiding/tick_time.h"

// The hot-corner and Boss Mouse step of the tracking tick.
void CheckCornerAndEdges(HWND settingsWindow, ScreenPoint cursor, DWORD now);
// The cursor rests in the hot corner and the action's wait is running.
bool CornerWaiting();
// The screen's size has changed (WM_DISPLAYCHANGE).
void ForgetScreenSize();
void PerformCornerAction(HWND settingsWindow, int32_t index);

// Finds the shell's "Show Desktop" command file, or writes our own into the
// temporary directory, and keeps its path in ShowDesktopFile (UTF-8; empty when
// there is none and the built-in hide is to be used).
void CreateShowDesktopFile(HWND settingsWindow);
// The built-in hide: minimises one window of the enumeration, unless it is
// the settings window passed as the enumeration's value, and closes the
// listed ones after "-kill". Always continues the enumeration.
BOOL CALLBACK MinimizeWindowProc(HWND window, LPARAM settingsWindow);

// The system can lock the workstation, so the action list offers it.
bool CanLockWorkstation();
