// The wallpaper test browser on the settings window's test page: the folder
// box, the picture list, the preview, the wallpaper it sets and the slide
// show. The settings window's procedure and command table (app/) call these
// and report what they return.
#pragma once

#include <windows.h>

#include <string>

#include "testmode/test_browser.h"

// Timers of the settings window.
inline constexpr UINT_PTR kPreviewClickTimer = 9; // a single click on the preview
inline constexpr UINT_PTR kSlideShowTimer = 28;   // the slide show's countdown

// The folder box: emptied, then filled with the folders that hold bitmaps
// (the temporary folder "C:\TEMP" and the profile with their subfolders, the
// Windows folder and the wallpaper's folder). The last listed folder is put
// into it and listed, and the wallpaper's folder selected with the wallpaper
// in the list when the box has it.
void FillTestFolders();

// Adds `folder` to the folder box when it holds bitmaps and, with `recurse`,
// its subfolders likewise.
void AddBitmapDirectories(const std::wstring& folder, bool recurse);

// Lists the pictures of the folder box's folder.
void LoadBitmapList();

// The folder box's folder, and the path of the selected picture ("" when
// none is selected).
std::wstring TestFolder();
std::wstring SelectedTestPicturePath();

// Sets a picture of the list as the wallpaper: the one before the selection,
// the selected one or the one after it. ERROR_SUCCESS, or the error with
// which the picture failed to load (the texts of the preview and the file
// information are then cleared and the progress bar hidden). An empty list
// sets nothing.
DWORD SetTestWallpaper(HWND settingsWindow, int direction);

// "?": a random other folder of the folder box and a random picture in it,
// selected for SetTestWallpaper.
void SelectRandomTestPicture();
// The last folder of the folder box and the last picture in it.
void SelectLastTestPicture();
// The mouse wheel over the preview: the previous or next picture selected,
// wrapping at both ends, and shown in the preview.
void SelectSteppedTestPicture(int direction);

// The layout buttons: "TileWallpaper" and "WallpaperStyle", then the
// wallpaper set again (no wallpaper for "None"), stored and announced.
void SetWallpaperLayout(test_browser::LayoutButton button);

// "&Broadcst": the setting change sent to every top-level window.
void BroadcastSettingChange();

// The slide show: "&Start" shows the first picture itself.
bool SlideShowRunning();
void StartSlideShow(HWND settingsWindow);
void StopSlideShow(HWND settingsWindow);
// Timer 28: true when the next picture is due.
bool SlideShowTick();
// Slider 1204 moved: the interval, its label and the progress bar's range.
void TakeSlideInterval(HWND slider);

void RepaintTestPreview();
bool CursorOverTestPreview();

// The test list box's colours (WM_CTLCOLORLISTBOX): its brush, or null for
// any other list box.
HBRUSH TestListColors(HDC dc, HWND listBox);

// The preview, the list box and the folder box get their own procedures.
void SubclassTestControls();
