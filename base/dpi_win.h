// The DPI a window is shown at.
#pragma once

#include <windows.h>

// The window's DPI where the system tells it per window (Windows 10 and
// later), else the screen's.
int WindowDpi(HWND window);
