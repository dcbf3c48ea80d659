// The program's side of the desktop context-menu extension: attaching it
// takes up to half a minute, so it runs on a worker thread of its own.
#pragma once

#include <windows.h>

// Lets go of the extension (SetHook2 with 0). An attach still under way on
// its worker gives up and ends first.
void DetachContextMenu();
// Starts the worker that attaches the extension with `mainWindow` as the
// target of its commands, and returns at once.
bool AttachContextMenuInBackground(HWND mainWindow);
