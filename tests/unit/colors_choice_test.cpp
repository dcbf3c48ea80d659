#include "colours/color_choice.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using colors::ColorRef;
using colors::PixelRect;
using colors::ScreenSize;

constexpr ScreenSize kScreen{1024, 768};

TEST(ColorsChoice_CustomColorsFor, TheCurrentColourReplacesTheFirstOnlyWhenItIsMissing) {
    const colors::CustomColors standard = colors::CustomColorsFor(0x000000);
    EXPECT_EQ(standard[0], 0x000000u);
    EXPECT_EQ(standard[1], 0x800000u);
    EXPECT_EQ(standard[7], 0xC0C0C0u);
    EXPECT_EQ(standard[15], 0xFFFFFFu);
    const struct {
        ColorRef current;
        ColorRef first;
    } cases[] = {
        {0x000000, 0x000000}, {0xFFFFFF, 0x000000}, {0x808080, 0x000000}, {0x00FFFF, 0x000000},
        {0x123456, 0x123456}, {0x000001, 0x000001}, {0xFEFFFF, 0xFEFFFF},
    };
    for (const auto& c : cases) {
        const colors::CustomColors offered = colors::CustomColorsFor(c.current);
        EXPECT_EQ(offered[0], c.first) << std::hex << c.current;
        for (std::size_t i = 1; i < offered.size(); ++i)
            EXPECT_EQ(offered[i], standard[i]) << i;
    }
}

TEST(ColorsChoice_AverageArea, ThirtyByThirtyAroundTheCursorCutAtTheScreensEdges) {
    const struct {
        int x, y;
        PixelRect area;
    } cases[] = {
        {500, 400, {485, 385, 515, 415}},
        {0, 0, {0, 0, 15, 15}},
        {15, 15, {0, 0, 30, 30}},
        {14, 3, {0, 0, 29, 18}},
        {1023, 767, {1008, 752, 1024, 768}},
        {1010, 760, {995, 745, 1024, 768}},
        {-5, -5, {0, 0, 10, 10}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(colors::AverageArea(c.x, c.y, kScreen), c.area) << c.x << "," << c.y;
}

TEST(ColorsChoice_AverageOver, EveryPixelOnceAndTruncatingDivision) {
    // A 15 x 15 corner: 225 pixels, red rising with x, blue with y.
    std::vector<int> reads(1024 * 768, 0);
    const PixelRect corner = colors::AverageArea(0, 0, kScreen);
    const ColorRef average = colors::AverageOver(corner, [&](int x, int y) {
        ++reads[std::size_t(y) * 1024 + std::size_t(x)];
        return colors::Rgb(unsigned(x * 10), 7, unsigned(y));
    });
    // Red: mean of 0, 10, ..., 140 is 70; green 7; blue: mean of 0..14 is 7.
    EXPECT_EQ(average, colors::Rgb(70, 7, 7));
    int total = 0;
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x) {
            const int n = reads[std::size_t(y) * 1024 + std::size_t(x)];
            EXPECT_EQ(n, x < 15 && y < 15 ? 1 : 0) << x << "," << y;
            total += n;
        }
    EXPECT_EQ(total, 225);

    // Two colours, 1 and 2 in red, half each over 2 pixels: 3 / 2 = 1.
    const ColorRef truncated = colors::AverageOver(
        PixelRect{0, 0, 2, 1}, [](int x, int) { return colors::Rgb(unsigned(x + 1), 255, 0); });
    EXPECT_EQ(truncated, colors::Rgb(1, 255, 0));
    EXPECT_EQ(colors::AverageOver(PixelRect{5, 5, 5, 9}, [](int, int) { return 0xFFFFFFu; }), 0u);
}

TEST(ColorsChoice_PlaceSamplerInfo, BesideTheCursorAndKeptOnTheScreen) {
    // A hint text of 300 x 13 pixels.
    const struct {
        int x, y;
        PixelRect box;
    } cases[] = {
        {100, 100, {115, 115, 425, 138}},
        {0, 0, {15, 15, 325, 38}},
        // Right edge: the box keeps its text inside the screen.
        {900, 100, {720, 115, 1024, 138}},
        {1023, 100, {720, 115, 1024, 138}},
        // Bottom edge: room is kept for the swatches under it.
        {100, 700, {115, 695, 425, 718}},
        {100, 767, {115, 695, 425, 718}},
        {1023, 767, {720, 695, 1024, 718}},
    };
    for (const auto& c : cases) {
        const colors::SamplerInfo info = colors::PlaceSamplerInfo(c.x, c.y, 300, 13, kScreen);
        EXPECT_EQ(info.box, c.box) << c.x << "," << c.y;
        EXPECT_EQ(info.pixelSwatch, (PixelRect{c.box.left + 10, c.box.bottom + 4, c.box.left + 90,
                                               c.box.bottom + 44}));
        EXPECT_EQ(info.averageSwatch, (PixelRect{c.box.left + 100, c.box.bottom + 4,
                                                 c.box.left + 180, c.box.bottom + 44}));
        EXPECT_LE(info.pixelSwatch.bottom, kScreen.height);
    }
}

TEST(ColorsChoice_AfterChoice, APickedColourTurnsAutomaticTextOffAndShowsASolidBackground) {
    const struct {
        bool picked, before, autoText, transparent;
    } cases[] = {
        {true, true, false, false},
        {true, false, false, false},
        {false, true, true, true},
        {false, false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(colors::AutoTextColorAfterChoice(c.picked, c.before), c.autoText);
        EXPECT_EQ(colors::TransparentAfterChoice(c.picked, c.before), c.transparent);
    }
}

} // namespace
