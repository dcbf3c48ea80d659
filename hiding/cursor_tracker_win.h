// The cursor tracker on the real desktop: the timers of the settings window
// that hide and show the desktop icons, the taskbar and the pointer.
#pragma once

#include <windows.h>

#include "hiding/cursor_tracker.h"

// What the settings window shows that the tick reads.
struct TrackingView {
    bool alwaysRadioChecked = false;
    bool hidingTabSelected = false;
    int clickSliderPosition = 0;
};

// Runs the 100 ms tracking timer on the settings window while a hiding mode
// or the hot corner is on, and stops it otherwise. While the cursor rests with
// nothing pending, the timer slows down and UM_CURSORMOVED tells of the first
// movement.
void UpdateTrackingTimer(HWND settingsWindow);
// Shutdown, or every hiding option off: no timer and no movement watch.
void StopCursorTracking(HWND settingsWindow);
// UM_CURSORMOVED: the mouse moves again, so the tick comes back to speed.
void WakeTracking(HWND settingsWindow);
// Brings icons and taskbar to the resting state of the hiding mode.
void ApplyHidingMode();

void ShowTaskbar();
void HideTaskbarWindow();

// One tracking tick at tick count `now`; what the settings window is to show
// of the always-hide count-down.
TickActions TrackCursor(HWND settingsWindow, const TrackingView& view, DWORD now);
// The taskbar re-check timer.
void RecheckTaskbar(HWND settingsWindow);
// The idle pointer timer.
void CursorIdleExpired(HWND settingsWindow);
