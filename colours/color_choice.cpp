#include "colours/color_choice.h"

#include <algorithm>

namespace colors {

namespace {

constexpr CustomColors kStandardColors = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

// Gap between the cursor and the box, and between the box's edges and its text.
constexpr int kCursorGap = 15;
constexpr int kTextMargin = 10;
// Room kept free under the box for the swatches.
constexpr int kSwatchRoom = 50;
constexpr int kSwatchGap = 4;
constexpr int kSwatchIndent = 10;
constexpr int kSwatchStep = 90;

} // namespace

CustomColors CustomColorsFor(ColorRef current) {
    CustomColors colors = kStandardColors;
    if (std::find(colors.begin(), colors.end(), current) == colors.end())
        colors[0] = current;
    return colors;
}

PixelRect AverageArea(int x, int y, ScreenSize screen) {
    return {std::max(0, x - kAverageReach), std::max(0, y - kAverageReach),
            std::min(screen.width, x + kAverageReach), std::min(screen.height, y + kAverageReach)};
}

SamplerInfo PlaceSamplerInfo(int x, int y, int textWidth, int textHeight, ScreenSize screen) {
    SamplerInfo info;
    info.box.left = std::min(screen.width - textWidth - 4, x + kCursorGap);
    info.box.top = std::min(screen.height - textHeight - kSwatchRoom - kTextMargin, y + kCursorGap);
    info.box.right = std::min(screen.width, x + textWidth + kCursorGap + kTextMargin);
    info.box.bottom =
        std::min(screen.height - kSwatchRoom, y + textHeight + kCursorGap + kTextMargin);
    const int swatchTop = info.box.bottom + kSwatchGap;
    const int swatchLeft = info.box.left + kSwatchIndent;
    info.pixelSwatch = {swatchLeft, swatchTop, swatchLeft + kSwatchWidth,
                        swatchTop + kSwatchHeight};
    info.averageSwatch = {swatchLeft + kSwatchStep, swatchTop,
                          swatchLeft + kSwatchStep + kSwatchWidth, swatchTop + kSwatchHeight};
    return info;
}

bool AutoTextColorAfterChoice(bool picked, bool autoTextColorBefore) {
    return !picked && autoTextColorBefore;
}

bool TransparentAfterChoice(bool picked, bool transparentBefore) {
    return !picked && transparentBefore;
}

} // namespace colors
