// The invisible window whose creation starts the attach to the desktop.
#pragma once

#include <windows.h>

inline constexpr char kHiddenWindowTitle[] = "Tessara Hidden Window";

LRESULT CALLBACK HiddenWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creates it (never shown); null on failure.
HWND CreateHiddenWindow(HINSTANCE instance);
