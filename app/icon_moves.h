// Lining the icons up and the icon dance from the settings window: the
// commands' work, and what the window shows of it afterwards.
#pragma once

#include <windows.h>

#include "icons/icon_alignment.h"

// Lines the icons up; when they moved, saving is locked until a restore and
// the caption background is sampled again if the settings ask for it.
void AlignIconsForWindow(HWND settingsWindow, IconAlignment layout);

// Starts the dance, or stops it and puts the saved positions back; the dance
// button says "X" while it runs and "?" otherwise.
void ToggleDanceForWindow(HWND settingsWindow);
