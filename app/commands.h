// The command table of the settings window: one handler per command id,
// whatever sent it (a control, the tray menu, the desktop context menu, a
// hot key or the program itself). Handlers change the live settings only;
// the watchdog stores them.
#pragma once

#include <windows.h>

// Runs the handler of `id`; false when the table has none.
bool RunCommand(HWND window, int id, LPARAM lParam);
