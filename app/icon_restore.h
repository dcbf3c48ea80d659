// Restoring the icon positions from the settings window.
#pragma once

#include <windows.h>

// Restores the icon positions with the settings window as owner, then shows
// on its controls what the restore did: automatic restore switched off, a
// resample of the caption background, saving enabled again.
void RestoreIconsForWindow(HWND settingsWindow);
