// Size and place of the settings window. Pixel figures are for 96 DPI and
// scaled to the window's DPI; the frame's size is the system's.
#pragma once

#include <windows.h>

// The status line's gap under the dialog font when the window is created and
// when "Display tool tips" is toggled later.
enum class StatusGap { AtCreation, WhenToggled };

// The window's top-left corner as remembered in the settings; null when it
// was never placed.
struct RememberedPlace {
    bool placed;
    POINT corner;
};
RememberedPlace RememberedWindowPlace();

// Tab control at (4, 1), the window as wide as the tab control and as much
// room again on its right, as high as the buttons and the status line need,
// centred, then at its remembered place.
void LayOutSettingsWindow(HWND window, const RememberedPlace& place);

// Resizes the window, without moving it, to end under the "&Help" button and
// the status line while ShowToolTips is on.
void FitHeightToButtons(HWND window, StatusGap gap);

// WM_DPICHANGED: the window takes the place the system suggests and its
// pixel figures the new DPI.
void FollowDpiChange(HWND window, int dpi, const RECT& suggested);

// The DPI the window was last laid out for.
int SettingsWindowDpi();

// Moves the window left and up as far as needed to stay on the primary screen.
void KeepOnPrimaryScreen(HWND window);
