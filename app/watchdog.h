// The watchdog of the settings window: stores changed settings and keeps the
// program linked to the desktop through shell restarts and lost links.
#pragma once

#include <windows.h>

// The watchdog compares the live settings with this copy of them as loaded
// or last stored, so that every change from then on is stored, also one made
// before its first tick.
void TakeSettingsSnapshot();

// One tick of the watchdog timer.
void WatchdogTick(HWND settingsWindow);
