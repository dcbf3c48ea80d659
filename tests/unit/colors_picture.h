// Test pictures for the colour rules: 24-bit bottom-up rows with their
// padding filled with a byte no test colour uses, so that a read of the
// padding shows in the results.
#pragma once

#include "colours/pixel_image.h"

#include <vector>

namespace colors::test {

class Picture {
  public:
    Picture(int width, int height, ColorRef fill) : width_(width), height_(height) {
        bytes_.assign(RowStride(width) * static_cast<std::size_t>(height), 0xA5);
        Fill(0, 0, width, height, fill);
    }
    // Paints columns [x0, x1) of stored rows [row0, row1) (row 0 is the lowest).
    Picture& Fill(int x0, int row0, int x1, int row1, ColorRef c) {
        for (int y = row0; y < row1; ++y)
            for (int x = x0; x < x1; ++x)
                Set(x, y, c);
        return *this;
    }
    Picture& Set(int x, int row, ColorRef c) {
        std::uint8_t* p = &bytes_[static_cast<std::size_t>(row) * RowStride(width_) + x * 3];
        p[0] = static_cast<std::uint8_t>(BlueOf(c));
        p[1] = static_cast<std::uint8_t>(GreenOf(c));
        p[2] = static_cast<std::uint8_t>(RedOf(c));
        return *this;
    }
    PixelView View() const { return {bytes_.data(), width_, height_}; }

  private:
    int width_, height_;
    std::vector<std::uint8_t> bytes_;
};

} // namespace colors::test
