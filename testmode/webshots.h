// The "-webshots" test aid: the outside wallpaper changer started and laid
// out beside the settings window. Where each window goes is portable.
#pragma once

namespace webshots {

struct Placement {
    int x;
    int y;
    int width;
    int height;
    bool operator==(const Placement& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

// The settings window at the screen's top right corner, its size kept.
Placement SettingsWindowPlace(int screenWidth, int width, int height);

// The changer's window at the left edge, a third of the screen down, half the
// screen wide and two thirds high.
Placement ChangerPlace(int screenWidth, int screenHeight);

// The changer's window is looked for every 100 ms, at most 30 times, after
// its program was started.
inline constexpr unsigned kSearchIntervalMs = 100;
inline constexpr int kSearchAttempts = 30;

} // namespace webshots
