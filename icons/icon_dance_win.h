// The icon dance on the real desktop: the worker threads that move the icons,
// their shared record, and the run flag `DanceRunning` in the shared block,
// which every thread polls and any part of the program clears to stop them.
#pragma once

#include <windows.h>

// Starts the dance in the next style and returns at once; the icons move on
// worker threads. When the desktop arranges its icons itself, clears the flag,
// calls `refresh` with owner and tells the user; false then.
bool StartIconDance(HWND owner, void (*refresh)(HWND));

// Clears `DanceRunning` and waits until every dance thread of this process
// has ended, each after its last move. A dance run by another process gets
// the 200 ms in which its threads notice.
void StopIconDance();

// `DanceRunning` as the shared block has it now.
bool IconDanceRunning();

// For the first instance at its start: no dance can be running, so a flag
// left set by a program that ended during a dance is cleared, or it would
// keep every later hide of the icons from working.
void ClearDanceLeftBehind();
