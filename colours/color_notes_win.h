// What the colour work, which runs on the wallpaper worker thread, asks the
// settings window to show. It sends UM_COLORNOTE and the settings window
// applies the note on its own thread.
#pragma once

#include <windows.h>

inline constexpr UINT UM_COLORNOTE = WM_APP + 0x131;

enum class ColorNote : WPARAM {
    LastError = 1,      // lParam: a system error code; its text goes to the status line
    DesktopColor,       // lParam: the desktop colour now in effect
    CaptionColors,      // the caption colours changed: repaint their boxes and the sample
    ResampleBusy,       // lParam 1: grey "Resample Now", 0: enable it again
    DesktopState,       // the desktop's state may have changed (Active Desktop, drop shadows)
    KeepAspectRatioOff, // the stretched-wallpaper option had to be turned off
    ResampleStarts,     // the worker resamples the caption background now, as "Resample Now"
                        // does (the worker start that asks for is refused)
};

// Sends a note to `window` (the settings window); nothing without one.
inline void SendColorNote(HWND window, ColorNote note, LPARAM value = 0) {
    if (window)
        SendMessageA(window, UM_COLORNOTE, static_cast<WPARAM>(note), value);
}
