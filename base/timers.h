// Timers of the program's two windows, with the owner of each.
#pragma once

#include <windows.h>

namespace timers {

// Hidden window: polls until the desktop can be attached.
inline constexpr UINT_PTR DesktopPoll = 100;
inline constexpr UINT DesktopPollFirstMs = 100;
inline constexpr UINT DesktopPollRetryMs = 1000;

// Settings window.
inline constexpr UINT_PTR DeferredStart = 0; // hot keys and tray icon, once after creation
inline constexpr UINT DeferredStartMs = 500;
inline constexpr UINT_PTR Watchdog = 1051; // stores changed settings, follows Explorer restarts
inline constexpr UINT WatchdogMs = 2000;
inline constexpr UINT_PTR CursorTracking = 1052; // icon hiding by cursor position
inline constexpr UINT_PTR Fade = 1113;           // fading a window out
inline constexpr UINT_PTR FadePoll = 1114;       // looking for a close box under the cursor
inline constexpr UINT_PTR TaskbarRehide = 1115;
inline constexpr UINT_PTR CursorIdle = 1128;     // hiding the pointer
inline constexpr UINT_PTR DropShadowPoll = 1179; // Colours: the drop-shadow setting after a change
inline constexpr UINT DropShadowPollMs = 250;

// About area of the settings window (its own timers).
inline constexpr UINT_PTR AboutSlow = 1147;
inline constexpr UINT_PTR AboutFast = 1148;

} // namespace timers
