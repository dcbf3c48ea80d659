#include "base/dpi.h"

#include <gtest/gtest.h>

namespace {

struct DpiCase {
    int pixels;
    int dpi;
    int scaled;
};

TEST(Dpi, PixelFiguresScaleWithTheDpiAndRoundToTheNearestPixel) {
    const DpiCase cases[] = {
        {4, 96, 4},    {4, 144, 6},   {4, 192, 8}, {1, 144, 2},   {7, 120, 9},
        {11, 144, 17}, {23, 192, 46}, {0, 192, 0}, {-3, 144, -5}, {3, 72, 2},
    };
    for (const DpiCase& c : cases)
        EXPECT_EQ(ScaleToDpi(c.pixels, c.dpi), c.scaled) << c.pixels << " at " << c.dpi;
}

} // namespace
