#include "colours/stretched_wallpaper.h"

#include <gtest/gtest.h>

namespace colors {
namespace {

TEST(ColorsStretchedSize, KeepsTheProportions) {
    struct Case {
        PictureSize picture, screen;
        bool inner;
        PictureSize expected;
    };
    const Case cases[] = {
        {{800, 600}, {1280, 1024}, false, {1280, 960}},
        {{800, 600}, {1280, 1024}, true, {1365, 1024}},
        {{640, 480}, {1024, 768}, false, {1024, 768}}, // same proportions: fitted to the height
        {{640, 480}, {1024, 768}, true, {1024, 768}},
        {{3000, 500}, {1024, 768}, false, {1024, 170}},
        {{3000, 500}, {1024, 768}, true, {4608, 768}},
        {{300, 900}, {1024, 768}, false, {256, 768}},
        {{300, 900}, {1024, 768}, true, {1024, 3072}},
        {{1, 1000}, {1024, 768}, false, {1, 768}}, // never narrower than a pixel
        {{1, 1}, {1024, 768}, false, {768, 768}},
        {{3840, 2160}, {1024, 768}, false, {1024, 576}},
    };
    for (const Case& c : cases) {
        const PictureSize got = ComputeStretchedSize(c.picture, c.screen, c.inner);
        EXPECT_TRUE(got == c.expected) << c.picture.width << 'x' << c.picture.height << " inner "
                                       << c.inner << ": " << got.width << 'x' << got.height;
    }
}

TEST(ColorsStretchedSize, EmptyPictureOrScreenGivesNothing) {
    EXPECT_TRUE((ComputeStretchedSize({0, 10}, {1024, 768}, false) == PictureSize{0, 0}));
    EXPECT_TRUE((ComputeStretchedSize({10, 0}, {1024, 768}, true) == PictureSize{0, 0}));
    EXPECT_TRUE((ComputeStretchedSize({10, 10}, {0, 768}, false) == PictureSize{0, 0}));
}

TEST(ColorsBitmapFile, HeadersOfABottomUp24BitBitmap) {
    const auto h = BitmapFileHeaders(3, 2); // rows of 9 bytes padded to 12
    const std::uint8_t expected[54] = {
        'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, // file header
        40,  0,   0,  0, 3, 0, 0, 0, 2, 0, 0,  0, 1, 0, 24, 0, 0, 0, 0, 0,
        24,  0,   0,  0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0};
    for (std::size_t i = 0; i < h.size(); ++i)
        EXPECT_EQ(h[i], expected[i]) << "byte " << i;
    const auto big = BitmapFileHeaders(1365, 1024);
    const std::uint32_t image = 4096u * 1024; // 1365 x 3 = 4095, padded to 4096
    EXPECT_EQ(big[34] | big[35] << 8 | big[36] << 16 | big[37] << 24, image);
    EXPECT_EQ(big[2] | big[3] << 8 | big[4] << 16 | big[5] << 24, image + 54);
}

} // namespace
} // namespace colors
