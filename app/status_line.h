// The status line at the bottom of the settings window (static 1096).
#pragma once

#include <windows.h>

// Puts `text`, UTF-8, into the status line of this process's settings
// window; does nothing before the window exists.
void SetStatusLine(const char* text);

// Puts the system's message text for `error` (GetLastError's value) into the
// status line; a failing system call whose cause the user should see
// reports this way.
void ShowErrorInStatusLine(DWORD error);
