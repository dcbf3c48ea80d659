// Data that every running instance of the program sees: a second instance
// reads the first one's settings window from here, and "-test" given to a
// second instance reaches the first. It lives in a named file mapping of the
// session, created with the default security of the user, so no other user's
// process can open it. Window handles are kept as 32-bit values, which stay
// valid across 32- and 64-bit processes.
#pragma once

#include <windows.h>

struct InstanceData {
    volatile LONG SettingsWindow;        // the first instance's settings window, 0 before it exists
    volatile LONG TestMode;              // development test mode on
    volatile LONG DesktopAttached;       // an instance has attached the hook library
    volatile LONG DropShadowsOn;         // the system draws drop shadows under icon captions
    volatile LONG ShowHideHotKeyActive;  // the Show/Hide hot key is registered
    volatile LONG IconsTemporarilyMoved; // an alignment or the dance moved the icons
};

// Creates or opens the mapping; the view stays mapped until the process ends.
// False when neither works; the data is then private to this process.
bool OpenInstanceData();
// The data (never null: a private block stands in until OpenInstanceData).
InstanceData& Instances();

HWND SharedSettingsWindow();
// The shared settings window when it belongs to this process, else null.
HWND OwnSettingsWindow();
void SetSharedSettingsWindow(HWND window);
bool TestModeOn();
void SetTestMode(bool on);
