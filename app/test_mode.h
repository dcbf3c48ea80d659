// The development test mode, switched by typing its word on the settings
// window (and by "-test" at start).
#pragma once

#include <windows.h>

// Capital letters, compared with virtual key codes.
inline constexpr char kTestModeWord[] = "KIWI";

// Turns the test mode on or off, shows the pages as it now needs and says so
// on the status line. The test page itself comes with the test browser.
void SwitchTestMode(HWND settingsWindow);
