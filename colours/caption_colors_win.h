// Caption colours on the desktop and the wallpaper worker: the work done
// after the wallpaper or the desktop's settings change, on its own thread.
#pragma once

#include <windows.h>

#include "colours/caption_colors.h"

// The next worker run resamples the caption background even with automatic
// resampling off ("Resample Now").
void RequestResample();
// The next worker run leaves the caption background alone (a colour the user
// has just picked by hand).
void SuppressNextResample();

// Chooses the automatic text colour if asked to and writes the colours to
// the desktop when they differ from the ones last written (or the Active
// Desktop state has changed since).
void ApplyCaptionColors(HWND settingsWindow);
// Average of what the screen shows in a frame around every icon caption;
// the desktop colour without a wallpaper or without icons, which the worker
// run then reports. Needs a hold on the wallpaper cache.
COLORREF SampleAroundIcons();
// "Resample Now" proper: loads the wallpaper and samples around the icons.
void ResampleTextBackground(HWND settingsWindow, COLORREF& color);

// On the settings window's thread: starts the cache release timer and the
// wallpaper worker thread, which does nothing while an earlier start of the
// cache's lifetime is still counted.
void StartWallpaperWorker(HWND settingsWindow);

// Something the last worker run depended on has changed since it ended (the
// settings, the wallpaper file or its layout), or a resample is asked for:
// a worker start refused meanwhile must run after all.
bool WallpaperWorkOutdated();

// One tick of the drop-shadow poll (timer 1179): recomputes DropShadowsOn
// and says whether to stop and what to refresh.
colors::DropShadowPollStep PollDropShadows(HWND settingsWindow, bool colorsTabShown);
