// Choosing a colour by hand: the custom colours that the colour dialog
// offers, the screen sampler's averaging area and information box, and what
// the settings window changes after a pick.
#pragma once

#include "colours/pixel_image.h"

#include <array>

namespace colors {

inline constexpr std::size_t kCustomColorCount = 16;
using CustomColors = std::array<ColorRef, kCustomColorCount>;

// The sixteen standard colours, with `current` in the first place when it is
// not one of them, so that the dialog always offers the colour in use.
CustomColors CustomColorsFor(ColorRef current);

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// Left and top included, right and bottom excluded.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    friend bool operator==(const PixelRect& a, const PixelRect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
};

// The area averaged around the cursor: this many pixels either side, cut
// where the screen ends (at most 30 x 30 pixels).
inline constexpr int kAverageReach = 15;
PixelRect AverageArea(int x, int y, ScreenSize screen);

// The truncated average of every pixel of `area`, each read through
// `pixel(x, y)`; black for an empty area.
template <typename PixelAt> ColorRef AverageOver(const PixelRect& area, PixelAt pixel) {
    ColorSum sum;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            sum.Add(pixel(x, y));
    return sum.Average();
}

// The sampler's information box near the cursor and the two swatches that
// hang below it: the pixel under the cursor and the area's average.
struct SamplerInfo {
    PixelRect box;
    PixelRect pixelSwatch;
    PixelRect averageSwatch;
};

inline constexpr int kSwatchWidth = 80;
inline constexpr int kSwatchHeight = 40;

// Placed right of and below the cursor at (x, y) and kept on the screen,
// for a hint text of textWidth x textHeight pixels.
SamplerInfo PlaceSamplerInfo(int x, int y, int textWidth, int textHeight, ScreenSize screen);

// What the settings window's colour boxes change after a choice (picked, or
// cancelled with Esc or the dialog's Cancel).

// "Automatic Text Color" after a choice of the caption text colour: a colour
// picked by hand turns it off; a cancelled choice keeps it as it was.
bool AutoTextColorAfterChoice(bool picked, bool autoTextColorBefore);

// Transparent caption background after a choice of the background colour:
// a picked colour is shown solid; a cancelled choice keeps the mode.
bool TransparentAfterChoice(bool picked, bool transparentBefore);

} // namespace colors
