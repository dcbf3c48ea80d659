// Display Properties beside the settings window: opened from the settings
// window's pages and kept docked while the settings window moves.
#pragma once

#include <windows.h>

#include "support/display_properties.h"

// Starts Display Properties (rundll32 from the system folder, else from the
// Windows folder), waits up to about 2 seconds for its window and docks it,
// left of the settings window when there is room. Nothing is reported when
// it cannot be started or does not appear.
void OpenDisplayProperties(HWND settingsWindow);

// Moves `other` beside the settings window on `side`, tops aligned.
void DockBesideSettingsWindow(HWND other, HWND settingsWindow, display_properties::Side side);

// The settings window's WM_WINDOWPOSCHANGING: while Display Properties is
// docked, the settings window keeps SM_CXMENUSIZE pixels from either edge of
// its screen.
void KeepDockedSettingsWindowFromTheEdges(HWND settingsWindow, WINDOWPOS& position);

// The settings window's WM_MOVING: notes both windows' places before the move.
void NoteDisplayPropertiesBeforeMove(HWND settingsWindow);
// The settings window's WM_MOVE: a Display Properties window that was docked
// before the move follows on its side. Moves without a WM_MOVING before them
// (the program's own) leave it alone.
void KeepDisplayPropertiesDocked(HWND settingsWindow);
