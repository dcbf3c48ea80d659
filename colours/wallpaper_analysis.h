// The desktop colour taken from the wallpaper: the search for a solid border
// around the picture, the averages over its edges or over all of it, the
// complementary colour, and the rules of the wallpaper pixel cache.
#pragma once

#include "colours/pixel_image.h"

#include <cstdint>
#include <optional>
#include <string>

namespace colors {

// How Windows places the wallpaper, from the "TileWallpaper" and
// "WallpaperStyle" values read as numbers (a one-character string reads as
// its character code: "1" is 49, "2" is 50). Tiling wins over stretching.
enum class WallpaperLayout { Centered, Tiled, Stretched };
WallpaperLayout LayoutFromRegistry(std::uint32_t tileWallpaper, std::uint32_t wallpaperStyle);
inline constexpr std::uint32_t kStyleStretched = 50; // "2"
inline constexpr std::uint32_t kTileOn = 49;         // "1"

// The picture's content inside a solid border, in stored rows (0 = lowest)
// and columns, all inclusive.
struct ContentRect {
    int lowestRow = 0;
    int highestRow = 0;
    int leftColumn = 0;
    int rightColumn = 0;
};

// Two colours differ when any channel differs by more than this.
inline constexpr int kBorderTolerance = 64;

// The smallest rectangle holding every pixel that differs from the lower-left
// pixel; the whole picture when none differs. `picture` must not be empty.
ContentRect FindSolidBorder(const PixelView& picture);

// A border surrounds the content on all four sides.
bool HasSolidBorder(const ContentRect& content, const PixelView& picture);

constexpr ColorRef ComplementColor(ColorRef c) {
    return c ^ 0xFFFFFF;
}

struct WallpaperColorOptions {
    bool ignoreSolidBorder = true; // sample inside a border instead of taking its colour
    bool sampleWholeImage = false; // average every pixel, not only 5-pixel bands at the edges
    bool useComplementColor = false;
    bool keepAspectRatio = false; // only the sides that meet the plain desktop are sampled
    int screenWidth = 0;
    int screenHeight = 0;
};

// Width of the bands along the picture's edges that are averaged.
inline constexpr int kEdgeBand = 5;

// The desktop colour for `picture`; nothing for an empty picture.
std::optional<ColorRef> ComputeWallpaperColor(const PixelView& picture,
                                              const WallpaperColorOptions& options);

// "#RRGGBB" as the desktop colour's status text shows it.
std::string FormatColorHex(ColorRef c);

// Bytes the pixel cache allocates for a picture: never less than the
// picture's rows at their stride.
std::size_t CacheBytes(int width, int height);

// What identifies the picture the cache holds: the file and its state on disk.
struct WallpaperFileState {
    std::wstring path;
    std::uint64_t lastWrite = 0;
    std::uint64_t size = 0;

    bool operator==(const WallpaperFileState& other) const {
        return path == other.path && lastWrite == other.lastWrite && size == other.size;
    }
};

// The cached pixels may serve a load only when they came from the same file
// in the same state; a larger buffer alone says nothing about its content.
bool CachedPixelsAreCurrent(bool cacheFilled, const WallpaperFileState& cached,
                            const WallpaperFileState& current);

} // namespace colors
