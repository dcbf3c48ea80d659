// The first use of the mouse after the tracking tick has slowed down for a
// resting cursor, told to the settings window as UM_CURSORMOVED.
#pragma once

#include <windows.h>

inline constexpr UINT UM_CURSORMOVED = WM_APP + 0x132;

// Starts watching the mouse for `window`; nothing when already watching. The
// watch runs on the calling thread's messages, so the window's thread calls
// all three functions.
void StartMovementWatch(HWND window);
// Stops the watch and its listening.
void StopMovementWatch();
// The next mouse input posts UM_CURSORMOVED, once. False when no watch runs,
// so that no movement would be told.
bool ArmMovementWatch();
