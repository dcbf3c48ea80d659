// A 24-bit picture in the layout Windows uses for bottom-up DIBs: row 0 is
// the lowest row of the picture, each pixel is blue, green, red, and every
// row is padded to a multiple of four bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace colors {

// A COLORREF: 0x00BBGGRR.
using ColorRef = std::uint32_t;

constexpr ColorRef Rgb(unsigned red, unsigned green, unsigned blue) {
    return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}
constexpr unsigned RedOf(ColorRef c) {
    return c & 0xFF;
}
constexpr unsigned GreenOf(ColorRef c) {
    return c >> 8 & 0xFF;
}
constexpr unsigned BlueOf(ColorRef c) {
    return c >> 16 & 0xFF;
}

// Bytes of one stored row of a picture `width` pixels wide.
constexpr std::size_t RowStride(int width) {
    return (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
}

struct PixelView {
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;

    bool Empty() const { return pixels == nullptr || width <= 0 || height <= 0; }
    std::size_t Stride() const { return RowStride(width); }
    // Row `row` counted from the bottom.
    const std::uint8_t* Row(int row) const {
        return pixels + static_cast<std::size_t>(row) * Stride();
    }
    // The pixel at `column` of stored row `row`.
    ColorRef At(int column, int row) const {
        const std::uint8_t* p = Row(row) + static_cast<std::size_t>(column) * 3;
        return Rgb(p[2], p[1], p[0]);
    }
};

// Per-channel sums of a number of pixels, averaged with truncation.
struct ColorSum {
    std::uint64_t red = 0, green = 0, blue = 0, count = 0;

    void Add(ColorRef c) {
        red += RedOf(c);
        green += GreenOf(c);
        blue += BlueOf(c);
        ++count;
    }
    // Adds `count` pixels stored from `p` on.
    void AddStored(const std::uint8_t* p, int pixels);
    ColorRef Average() const {
        return count ? Rgb(static_cast<unsigned>(red / count), static_cast<unsigned>(green / count),
                           static_cast<unsigned>(blue / count))
                     : 0;
    }
};

} // namespace colors
