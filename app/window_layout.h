// Size and place of the settings window.
#pragma once

#include <windows.h>

// The status line's gap under the dialog font when the window is created and
// when "Display tool tips" is toggled later.
inline constexpr int kStatusGapAtCreation = 2;
inline constexpr int kStatusGapWhenToggled = 4;

// The window's top-left corner as remembered in the settings; null when it
// was never placed.
struct RememberedPlace {
    bool placed;
    POINT corner;
};
RememberedPlace RememberedWindowPlace();

// Tab control at (4, 1), the window as wide as the tab control plus 14 and as
// high as the buttons and the status line need, centred, then at its
// remembered place.
void LayOutSettingsWindow(HWND window, const RememberedPlace& place);

// Resizes the window, without moving it, to end under the "&Help" button and
// the status line while ShowToolTips is on.
void FitHeightToButtons(HWND window, int statusGap);

// Moves the window left and up as far as needed to stay on the primary screen.
void KeepOnPrimaryScreen(HWND window);
