#include "support/display_properties.h"

#include <algorithm>

namespace display_properties {

std::string Rundll32InSystemFolder(std::string_view windowsFolder) {
    return std::string(windowsFolder) + "\\system32\\rundll32.exe";
}

std::string Rundll32InWindowsFolder(std::string_view windowsFolder) {
    return std::string(windowsFolder) + "\\rundll32.exe";
}

Side SideForOpening(const Rect& settings, const Rect& other, int screenLeft) {
    return settings.left - screenLeft >= other.Width() ? Side::Left : Side::Right;
}

Rect DockedBeside(const Rect& settings, const Rect& other, Side side) {
    const int left = side == Side::Left ? settings.left - other.Width() : settings.right;
    return {left, settings.top, left + other.Width(), settings.top + other.Height()};
}

bool Docked(const Rect& settings, const Rect& other) {
    return other.top == settings.top &&
           (other.left == settings.right || other.right == settings.left);
}

Side SideOf(const Rect& settings, const Rect& other) {
    return other.left <= settings.left ? Side::Left : Side::Right;
}

bool FollowMove(const Rect& settingsBefore, const Rect& otherBefore, const Rect& settingsNow,
                Rect& otherNow) {
    if (!Docked(settingsBefore, otherBefore))
        return false;
    otherNow = DockedBeside(settingsNow, otherBefore, SideOf(settingsBefore, otherBefore));
    return true;
}

int KeptLeftWhileDocked(int left, int width, int screenLeft, int screenRight, int margin) {
    return std::max(screenLeft + margin, std::min(left, screenRight - margin - width));
}

} // namespace display_properties
