#include "colours/wallpaper_analysis.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace colors {

void ColorSum::AddStored(const std::uint8_t* p, int pixels) {
    // Per-row partial sums stay in 32 bits for rows of up to 16 million pixels.
    std::uint32_t b = 0, g = 0, r = 0;
    for (int i = 0; i < pixels; ++i, p += 3) {
        b += p[0];
        g += p[1];
        r += p[2];
    }
    blue += b;
    green += g;
    red += r;
    count += static_cast<std::uint64_t>(pixels);
}

WallpaperLayout LayoutFromRegistry(std::uint32_t tileWallpaper, std::uint32_t wallpaperStyle) {
    if (tileWallpaper == kTileOn)
        return WallpaperLayout::Tiled;
    return wallpaperStyle == kStyleStretched ? WallpaperLayout::Stretched
                                             : WallpaperLayout::Centered;
}

namespace {

struct Reference {
    int blue, green, red;

    explicit Reference(const std::uint8_t* p) : blue(p[0]), green(p[1]), red(p[2]) {}
    bool DiffersFrom(const std::uint8_t* p) const {
        return std::abs(p[0] - blue) > kBorderTolerance ||
               std::abs(p[1] - green) > kBorderTolerance || std::abs(p[2] - red) > kBorderTolerance;
    }
};

bool RowDiffers(const PixelView& picture, const Reference& ref, int row) {
    const std::uint8_t* p = picture.Row(row);
    for (int x = 0; x < picture.width; ++x, p += 3)
        if (ref.DiffersFrom(p))
            return true;
    return false;
}

// Only the rows strictly between the lowest and the highest differing row
// count, so a picture whose content is one or two rows high has no columns.
bool ColumnDiffers(const PixelView& picture, const Reference& ref, int column, int lowest,
                   int highest) {
    for (int y = lowest + 1; y < highest; ++y)
        if (ref.DiffersFrom(picture.Row(y) + static_cast<std::size_t>(column) * 3))
            return true;
    return false;
}

} // namespace

ContentRect FindSolidBorder(const PixelView& picture) {
    const Reference ref(picture.pixels);
    ContentRect whole{0, picture.height - 1, 0, picture.width - 1};
    ContentRect found = whole;
    found.lowestRow = 0;
    while (found.lowestRow < picture.height && !RowDiffers(picture, ref, found.lowestRow))
        ++found.lowestRow;
    if (found.lowestRow == picture.height)
        return whole; // every pixel is the reference colour
    // A differing row exists, so the search for the highest stops inside the picture.
    found.highestRow = picture.height - 1;
    while (!RowDiffers(picture, ref, found.highestRow))
        --found.highestRow;
    found.leftColumn = 0;
    while (found.leftColumn < picture.width &&
           !ColumnDiffers(picture, ref, found.leftColumn, found.lowestRow, found.highestRow))
        ++found.leftColumn;
    if (found.leftColumn == picture.width)
        return whole;
    // A differing column exists, so the search for the rightmost stops at it.
    found.rightColumn = picture.width - 1;
    while (!ColumnDiffers(picture, ref, found.rightColumn, found.lowestRow, found.highestRow))
        --found.rightColumn;
    return found;
}

bool HasSolidBorder(const ContentRect& content, const PixelView& picture) {
    return content.lowestRow > 0 && content.highestRow < picture.height - 1 &&
           content.leftColumn > 0 && content.rightColumn < picture.width - 1;
}

namespace {

struct Sides {
    bool leftRight = true;
    bool topBottom = true;
};

// With the aspect ratio kept, a picture narrower than the screen meets the
// desktop colour at its left and right, a wider one at its top and bottom.
Sides SidesToSample(const PixelView& picture, const WallpaperColorOptions& options) {
    if (!options.keepAspectRatio || options.screenWidth <= 0 || options.screenHeight <= 0)
        return {};
    const float pictureRatio =
        static_cast<float>(picture.width) / static_cast<float>(picture.height);
    const float screenRatio =
        static_cast<float>(options.screenWidth) / static_cast<float>(options.screenHeight);
    return {pictureRatio <= screenRatio, pictureRatio >= screenRatio};
}

void SumRect(const PixelView& picture, const ContentRect& rect, ColorSum& sum) {
    const int width = rect.rightColumn - rect.leftColumn + 1;
    for (int y = rect.lowestRow; y <= rect.highestRow; ++y)
        sum.AddStored(picture.Row(y) + static_cast<std::size_t>(rect.leftColumn) * 3, width);
}

// The pixels of `rect` within kEdgeBand of the sampled sides, each counted once.
void SumEdgeBands(const PixelView& picture, const ContentRect& rect, Sides sides, ColorSum& sum) {
    const int width = rect.rightColumn - rect.leftColumn + 1;
    for (int y = rect.lowestRow; y <= rect.highestRow; ++y) {
        const std::uint8_t* row = picture.Row(y);
        const bool inRowBand =
            sides.topBottom && (y < rect.lowestRow + kEdgeBand || y > rect.highestRow - kEdgeBand);
        if (inRowBand) {
            sum.AddStored(row + static_cast<std::size_t>(rect.leftColumn) * 3, width);
            continue;
        }
        if (!sides.leftRight)
            continue;
        // Columns below left + 5 and above right - 5; the two runs may overlap
        // on a narrow picture, so the second starts after the first ends.
        const int leftEnd = std::min(rect.leftColumn + kEdgeBand, rect.rightColumn + 1);
        const int rightStart = std::max(rect.rightColumn - kEdgeBand + 1, leftEnd);
        sum.AddStored(row + static_cast<std::size_t>(rect.leftColumn) * 3,
                      leftEnd - rect.leftColumn);
        sum.AddStored(row + static_cast<std::size_t>(rightStart) * 3,
                      rect.rightColumn + 1 - rightStart);
    }
}

} // namespace

std::optional<ColorRef> ComputeWallpaperColor(const PixelView& picture,
                                              const WallpaperColorOptions& options) {
    if (picture.Empty())
        return std::nullopt;
    const Sides sides = SidesToSample(picture, options);
    const ColorRef reference = picture.At(0, 0);
    const ContentRect content = FindSolidBorder(picture);
    ColorRef color = reference;
    if (options.ignoreSolidBorder || !HasSolidBorder(content, picture)) {
        const ContentRect rect = options.ignoreSolidBorder
                                     ? content
                                     : ContentRect{0, picture.height - 1, 0, picture.width - 1};
        ColorSum sum;
        if (options.sampleWholeImage)
            SumRect(picture, rect, sum);
        else
            SumEdgeBands(picture, rect, sides, sum);
        if (sum.count)
            color = sum.Average();
    }
    return options.useComplementColor ? ComplementColor(color) : color;
}

std::string FormatColorHex(ColorRef c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
    return text;
}

std::size_t CacheBytes(int width, int height) {
    if (width <= 0 || height <= 0)
        return 0;
    return static_cast<std::size_t>(height) * RowStride(width);
}

bool CachedPixelsAreCurrent(bool cacheFilled, const WallpaperFileState& cached,
                            const WallpaperFileState& current) {
    return cacheFilled && cached == current;
}

} // namespace colors
