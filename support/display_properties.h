// The system's Display Properties, opened from the settings window and kept
// docked beside it: where it starts from and where it goes.
#pragma once

#include <string>
#include <string_view>

namespace display_properties {

inline constexpr char kWindowTitle[] = "Display Properties";
inline constexpr char kParameters[] = "shell32.dll,Control_RunDLL desk.cpl,,0";
// The window is looked for this many times, this far apart (about 2 s).
inline constexpr int kFindAttempts = 20;
inline constexpr unsigned kFindIntervalMs = 100;

// rundll32.exe in the system folder of the Windows folder `windowsFolder`,
// and in the Windows folder itself (tried when the first cannot be started).
std::string Rundll32InSystemFolder(std::string_view windowsFolder);
std::string Rundll32InWindowsFolder(std::string_view windowsFolder);

// A window's rectangle on the screen, right and bottom excluded.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Rect& a, const Rect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
};

enum class Side { Left, Right };

// Where a newly opened window goes: left of the settings window when there
// is room for it between the screen's left edge and the settings window,
// else right of it.
Side SideForOpening(const Rect& settings, const Rect& other, int screenLeft);

// `other` moved beside `settings` on `side`, tops aligned, size unchanged.
Rect DockedBeside(const Rect& settings, const Rect& other, Side side);

// The two are docked: same top, and one's edge on the other's.
bool Docked(const Rect& settings, const Rect& other);

// The side of the settings window that `other` is on: left when its left
// edge is at or left of the settings window's.
Side SideOf(const Rect& settings, const Rect& other);

// What a move of the settings window does to the other window, from the two
// rectangles taken just before the move and the settings window's new
// rectangle: nothing (false) unless they were docked.
bool FollowMove(const Rect& settingsBefore, const Rect& otherBefore, const Rect& settingsNow,
                Rect& otherNow);

// While the two are docked, a move of the settings window keeps its left
// edge at least `margin` from the screen's left edge and its right edge at
// least `margin` from the screen's right edge (the left edge wins when both
// cannot hold). The new left edge.
int KeptLeftWhileDocked(int left, int width, int screenLeft, int screenRight, int margin);

} // namespace display_properties
