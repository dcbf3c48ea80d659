// Stretched wallpaper kept to its proportions: the scaled size, and the
// headers of the 24-bit bitmap file that Windows is given to show centred.
#pragma once

#include <array>
#include <cstdint>

namespace colors {

struct PictureSize {
    int width = 0;
    int height = 0;
    bool operator==(const PictureSize& o) const { return width == o.width && height == o.height; }
};

// The picture scaled to the screen keeping its proportions: fitted inside the
// screen, or with `stretchInnerDimension` covering it (the overflow is cut
// off by the centring). One decimal of sub-pixel precision, then truncation;
// never less than one pixel. An empty picture or screen gives 0 x 0.
PictureSize ComputeStretchedSize(PictureSize picture, PictureSize screen,
                                 bool stretchInnerDimension);

inline constexpr std::size_t kBitmapHeadersSize = 54;

// The 14-byte file header and 40-byte info header of a bottom-up 24-bit
// BI_RGB bitmap file of the given size, little-endian.
std::array<std::uint8_t, kBitmapHeadersSize> BitmapFileHeaders(int width, int height);

} // namespace colors
