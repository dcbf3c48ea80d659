// What the files of the hook library share among themselves.
#pragma once

#include "deskhook/deskhook.h"

namespace deskhook {

// This copy of the library, recorded when it is attached to a process.
HMODULE Module();

// The shared block in this process. The program's copy creates the mapping on
// first use; the copy inside Explorer only opens what the program created.
SharedBlock* ProgramBlock();
SharedBlock* DesktopBlock();
void ReleaseBlock();

// The message hook on the desktop list view's thread (runs inside Explorer).
LRESULT CALLBACK ListMessageHook(int code, WPARAM wParam, LPARAM lParam);
// The message hook on the desktop view's thread (runs inside Explorer).
LRESULT CALLBACK ViewMessageHook(int code, WPARAM wParam, LPARAM lParam);

// Takes a reference of our own on this library, so that it stays loaded
// while a subclass procedure of ours can be called; the subclass's watcher
// gives it back.
bool PinModule();

// True while process `pid` runs (also when it cannot be asked).
bool ProcessAlive(DWORD pid);

} // namespace deskhook
