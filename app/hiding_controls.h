// The settings window's side of icon hiding, hot corners and window fading:
// its timers, its creation and shutdown steps, and the hiding tab's controls.
#pragma once

#include <windows.h>

// Creation: the fading watch when it is on, the tracking timer and the
// hiding mode's resting state.
void StartHiding(HWND window);
// Creation: the hot-corner action list, with "Lock Workstation" only where the
// system can lock; a stored action beyond the list becomes the first.
void FillCornerActionList(HWND window);
// Shutdown: a faded window comes back, and the taskbar is shown.
void StopHiding(HWND window);

// Runs the settings window's hiding timers; false for any other timer.
bool RunHidingTimer(HWND window, UINT_PTR timer);

// A hiding mode radio (1017, 1018 or 1103), from any source.
void SetHidingMode(HWND window, int modeId);
