// The settings window's side of the colour work: what the wallpaper worker
// asks it to show.
#pragma once

#include <windows.h>

// Applies a UM_COLORNOTE on the settings window's thread.
void ApplyColorNote(HWND window, WPARAM note, LPARAM value);
