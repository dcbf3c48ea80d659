// The development test mode: the "[ Test ]" page with the wallpaper test
// browser (testmode/), switched by typing its word on the settings window, by
// "-test" at start and by the page's own buttons.
#pragma once

#include <windows.h>

// Capital letters, compared with virtual key codes.
inline constexpr char kTestModeWord[] = "KIWI";

// At window creation: with "-webshots" the outside wallpaper changer is laid
// out beside the window; the test page's controls get their procedures, and a
// start with "-test" opens the test page.
void PrepareTestMode(HWND settingsWindow);

// Turns the test mode on (the test page inserted and shown, the window and
// the tab control widened for the browser's buttons) or off, stores the
// autostart entry (which carries "-test" while the mode is on) and says so on
// the status line.
void ToggleTestMode(HWND settingsWindow);

// The test page's buttons and the tray's "Disable Test Mode", by command id.
void PressTestButton(HWND settingsWindow, int id);

// Notifications of the picture list and the folder box; false for any other
// control.
bool RunTestNotification(HWND settingsWindow, WPARAM wParam);

// Timers 9 (a single click on the preview) and 28 (the slide show); false for
// any other timer.
bool RunTestTimer(HWND settingsWindow, UINT_PTR timer);

// Keys that reach the settings window itself: "," and "." step through the
// pictures, "/" shows the last picture of the last folder.
void RunTestKey(HWND settingsWindow, WPARAM key);

// The mouse wheel over the preview steps through the list; false elsewhere.
bool RunTestMouseWheel(WPARAM wParam);
