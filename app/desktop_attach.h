// Attaching the program to Explorer's desktop and staying attached: the
// first attach of the hidden window, the watchdog of the settings window,
// and the detach at shutdown.
#pragma once

#include <windows.h>

// The process that owns the desktop list view can be opened for query. The
// list view handle is looked up again before and after the test.
bool DesktopReachable();

// SetHook(1); while attached, other instances ("-save", "-restore") use our
// link instead of hooking themselves.
bool HookDesktop();
// SetHook(0) and no longer attached.
void UnhookDesktop();

// The list view draws with the paint colours of the shared block; an attach
// starts them from what the list view shows now.
void SeedPaintColours();

// Links the desktop to the settings window after every attach: the desktop
// forwards its setting changes there, the caption colours are refreshed and
// the watchdog starts (again) with the current "Progman" as its sentinel.
void ReattachDesktop(HWND settingsWindow);

// The watchdog compares the live settings with this copy of them as loaded
// or last stored, so that every change from then on is stored, also one made
// before its first tick.
void TakeSettingsSnapshot();

// One tick of the watchdog timer.
void WatchdogTick(HWND settingsWindow);
