// Creation and shutdown of the settings window, each a fixed order of steps.
#pragma once

#include <windows.h>

#include "app/window_layout.h"

// WM_INITDIALOG. `place` is the remembered window position as it was before
// the window existed (its moves during creation overwrite the settings).
void InitialiseSettingsWindow(HWND window, const RememberedPlace& place);

// Timer 0, half a second after creation: the hot keys, then the tray icon.
void RunDeferredStart(HWND window);

enum class ShutdownCause { Close, EndSession };

// WM_CLOSE and WM_ENDSESSION: everything that must happen before the program
// ends, ending with the close of the hidden window, which destroys this window
// with it and ends the message loop.
void ShutDownSettingsWindow(HWND window, ShutdownCause cause);

// A saved icon set exists for the mode PerResolutionPositions selects: the
// set of the current resolution or the relative set.
bool SavedIconSetExists();
