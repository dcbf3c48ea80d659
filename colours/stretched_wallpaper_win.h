// Stretched wallpaper shown in its own proportions: the cached picture is
// scaled into "tessara.bmp" in the temporary directory, and Windows is given
// it as a centred wallpaper under the user's own file name for the moment in
// which it reads the file.
#pragma once

#include <windows.h>

#include <string>

// The temporary directory followed by "tessara.bmp".
std::wstring TempBitmapPath();

// Needs a hold on the wallpaper cache with the picture loaded. A call that
// arrives while another runs makes the running one repeat its work.
void NormalizeStretchedWallpaper(HWND settingsWindow);
