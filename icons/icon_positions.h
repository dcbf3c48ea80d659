// Saving the desktop icon layout in the registry and putting it back, either
// one set per screen size or one set of screen-relative positions, as the
// Settings field PerResolutionPositions selects.
#pragma once

#include <windows.h>

// Reads every desktop icon and stores the set of the current mode. owner may
// be null; askAutoArrange asks before saving an Auto Arrange desktop.
void SaveIconPositions(HWND owner, bool askAutoArrange);

// Moves the desktop icons back to the saved set of the current mode and finds
// free places for the others. owner may be null.
void RestoreIconPositions(HWND owner);

// Whether "SavedIcons_Relative" exists.
bool RelativeIconSetExists();

// Whether the set for the current screen size exists.
bool ResolutionIconSetExists();
