// The wallpaper pixel cache and the desktop colour. The cache holds one
// 24-bit bottom-up copy of the current wallpaper, decoded through the
// Windows Imaging Component (BMP, JPEG, PNG and whatever else the system
// decodes), shared by the worker's steps under a hold count and released by
// timer 29 once nobody holds it.
#pragma once

#include <windows.h>

#include "colours/pixel_image.h"
#include "colours/stretched_wallpaper.h"
#include "colours/wallpaper_analysis.h"

#include <optional>
#include <string>

inline constexpr UINT_PTR kCacheReleaseTimer = 29;
inline constexpr UINT kCacheReleaseMs = 500;

// The current wallpaper file, or an empty string.
std::wstring GetWallpaperPath();

// One hold on the cache, with the current wallpaper loaded into it. A file
// that cannot be read or decoded puts the system's text for the error into
// the status line and leaves the cache empty.
class WallpaperPixels {
  public:
    explicit WallpaperPixels(HWND settingsWindow);
    ~WallpaperPixels();
    WallpaperPixels(const WallpaperPixels&) = delete;
    WallpaperPixels& operator=(const WallpaperPixels&) = delete;

    bool loaded() const { return loaded_; }
    colors::PixelView view() const;

  private:
    bool loaded_ = false;
};

// The cached pixels while someone holds the cache; empty otherwise.
colors::PixelView CachedWallpaper();

// The size of the last wallpaper picture read, which outlives its pixels.
std::optional<colors::PictureSize> LastWallpaperSize();

// Counts a start of the wallpaper worker. True for the first start of the
// cache's lifetime, which also takes a hold that EndWallpaperWorkerRun gives
// back; false while an earlier start is still counted.
bool BeginWallpaperWorkerRun();
void EndWallpaperWorkerRun();
bool WallpaperWorkerStartCounted();

// Timer 29, on the settings window's thread: frees the cache and resets the
// worker start counter once no hold is left, and stops the timer. True when
// it did so and a worker start was refused meanwhile.
bool ReleaseWallpaperCache(HWND settingsWindow);

// The wallpaper file and its state on disk now (empty path without one).
colors::WallpaperFileState CurrentWallpaperFile();

// The desktop colour from the cached wallpaper, when DeskColorFromWallpaper
// is set; needs a hold with the pixels loaded.
void SetDesktopColorFromWallpaper(HWND settingsWindow);
// Sets COLOR_BACKGROUND ("SetSysColors Failed!" when the system refuses) and
// reports the colour then in effect to the settings window.
void SetDesktopColor(HWND settingsWindow, COLORREF color);
