// Window fading on the real desktop: the close-box watch and the fade steps,
// both timers of the settings window.
#pragma once

#include <windows.h>

// Starts the close-box watch (fading switched on, or on at start).
void StartWindowFading(HWND settingsWindow);
// Stops the watch and the steps and brings a faded window back.
void StopWindowFading(HWND settingsWindow);

// The close-box watch timer.
void WatchCloseBox(HWND settingsWindow);
// The fade step timer.
void FadeStep(HWND settingsWindow);
