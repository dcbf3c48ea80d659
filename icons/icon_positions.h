// Saving the desktop icon layout in the registry and putting it back, either
// one set per screen size or one set of screen-relative positions, as the
// Settings field PerResolutionPositions selects.
#pragma once

#include <windows.h>

// Whether a save asks before it stores the layout of an Auto Arrange desktop.
enum class AutoArrangeQuestion { Ask, Skip };

// Reads every desktop icon and stores the set of the current mode. owner may
// be null.
void SaveIconPositions(HWND owner, AutoArrangeQuestion question);

// What a restore did that the settings window shows.
struct RestoreOutcome {
    // The desktop arranges its icons itself: AutoRestorePositions was cleared.
    bool autoRestoreCleared = false;
    // The icons moved and the caption background should be sampled again.
    bool resampleWanted = false;
    // The restore ran to its end: the icons are in their saved places, and
    // saving is possible again.
    bool finished = false;
};

// Moves the desktop icons back to the saved set of the current mode and finds
// free places for the others. owner (may be null) owns the messages.
RestoreOutcome RestoreIconPositions(HWND owner);

// Whether "SavedIcons_Relative" exists.
bool RelativeIconSetExists();

// Whether the set for the current screen size exists.
bool ResolutionIconSetExists();
