#include "colours/caption_colors.h"
#include "tests/unit/colors_picture.h"

#include <gtest/gtest.h>

namespace colors {
namespace {

using test::Picture;

constexpr ColorRef kBlack = Rgb(0, 0, 0);
constexpr ColorRef kWhite = Rgb(255, 255, 255);
constexpr ColorRef kDesk = Rgb(0, 128, 128);
constexpr ColorRef kRed = Rgb(255, 0, 0);

TEST(ColorsContrast, BlackAbove390) {
    struct Case {
        ColorRef back, text;
    };
    const Case cases[] = {
        {Rgb(130, 130, 130), kWhite},
        {Rgb(131, 130, 130), kBlack},
        {kBlack, kWhite},
        {kWhite, kBlack},
        {Rgb(255, 136, 0), kBlack},
        {Rgb(255, 135, 0), kWhite},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ContrastTextColor(c.back), c.text) << std::hex << c.back;
}

DesktopPicture Desktop(const Picture& p, WallpaperLayout layout, int cx, int cy) {
    return {p.View(), layout, cx, cy, kDesk};
}

ColorRef Sample(const DesktopPicture& desktop, std::initializer_list<ScreenRect> captions) {
    FrameSampler sampler(desktop);
    for (const ScreenRect& r : captions)
        sampler.AddCaption(r);
    return sampler.Average();
}

TEST(ColorsFrameSampler, CentredPicture) {
    // 40 x 40 picture on a 100 x 60 screen: screen columns 30..69, rows 10..49.
    const Picture red(40, 40, kRed);
    const DesktopPicture desk = Desktop(red, WallpaperLayout::Centered, 100, 60);
    EXPECT_EQ(Sample(desk, {{5, 5, 15, 10}}), kDesk) << "outside the picture";
    EXPECT_EQ(Sample(desk, {{49, 29, 50, 30}}), kRed) << "frame 41..58 x 21..38";
    // Frame 17..42 x 12..33 less the caption: 256 points red, 256 desktop.
    EXPECT_EQ(Sample(desk, {{25, 20, 34, 25}}), Rgb(127, 64, 64));
}

TEST(ColorsFrameSampler, RowsAreReadBottomUp) {
    // Screen-sized picture: its upper half (stored rows 25..49) is white.
    const Picture halves = Picture(101, 50, kBlack).Fill(0, 25, 101, 50, kWhite);
    for (WallpaperLayout layout :
         {WallpaperLayout::Centered, WallpaperLayout::Tiled, WallpaperLayout::Stretched}) {
        const DesktopPicture desk = Desktop(halves, layout, 101, 50);
        EXPECT_EQ(Sample(desk, {{20, 8, 30, 10}}), kWhite) << static_cast<int>(layout);
        EXPECT_EQ(Sample(desk, {{20, 35, 30, 40}}), kBlack) << static_cast<int>(layout);
        // The top screen row is picture row 0 from the top.
        EXPECT_EQ(Sample(desk, {{0, 0, 100, 0}}), kWhite) << static_cast<int>(layout);
    }
}

TEST(ColorsFrameSampler, PictureLargerThanTheScreenShowsItsMiddle) {
    // 300 x 200 picture on a 100 x 100 screen: the screen shows columns
    // 100..199 and rows 50..149 from the top, all red; the rest is black.
    const Picture big = Picture(300, 200, kBlack).Fill(100, 50, 200, 150, kRed);
    const DesktopPicture desk = Desktop(big, WallpaperLayout::Centered, 100, 100);
    EXPECT_EQ(Sample(desk, {{10, 10, 20, 20}, {80, 80, 99, 99}, {0, 0, 5, 5}}), kRed);
}

TEST(ColorsFrameSampler, FrameOffTheScreenIsNotSampled) {
    const Picture red(4, 4, kRed);
    FrameSampler sampler(Desktop(red, WallpaperLayout::Centered, 1000, 800));
    sampler.AddCaption({0, 0, 9, 9});
    EXPECT_EQ(sampler.Count(), 18u * 18 - 10 * 10);
    EXPECT_EQ(sampler.Average(), kDesk);
    FrameSampler corner(Desktop(red, WallpaperLayout::Centered, 1000, 800));
    corner.AddCaption({995, 795, 1010, 820});
    EXPECT_EQ(corner.Count(), 13u * 13 - 5 * 5);
}

TEST(ColorsFrameSampler, TiledRepeatsThePicture) {
    // 2 x 2 tile, white at the top left: screen pixels with even x and y are white.
    const Picture tile = Picture(2, 2, kBlack).Set(0, 1, kWhite);
    FrameSampler sampler(Desktop(tile, WallpaperLayout::Tiled, 640, 480));
    sampler.AddCaption({9, 9, 9, 9}); // frame 1..17 x 1..17 without (9, 9)
    EXPECT_EQ(sampler.Count(), 17u * 17 - 1);
    const unsigned expected = 255 * 64 / 288;
    EXPECT_EQ(sampler.Average(), Rgb(expected, expected, expected));
}

TEST(ColorsFrameSampler, StretchedScalesScreenToPicture) {
    // 2 x 1 picture, black left and white right, on a 100 x 50 screen.
    const Picture pair = Picture(2, 1, kBlack).Set(1, 0, kWhite);
    const DesktopPicture desk = Desktop(pair, WallpaperLayout::Stretched, 100, 50);
    EXPECT_EQ(Sample(desk, {{60, 20, 70, 30}}), kWhite);
    // Frame 38..61 x 12..29 less the caption: 208 of 416 points white.
    EXPECT_EQ(Sample(desk, {{46, 20, 53, 21}}), Rgb(127, 127, 127));
}

TEST(ColorsFrameSampler, NothingSampledGivesBlack) {
    const Picture red(3, 3, kRed);
    FrameSampler sampler(Desktop(red, WallpaperLayout::Centered, 100, 100));
    sampler.AddCaption({-100, -100, -50, -50});
    EXPECT_EQ(sampler.Count(), 0u);
    EXPECT_EQ(sampler.Average(), kBlack);
}

TEST(ColorsFrameSampler, StopsCountingAtTheCap) {
    FrameSampler sampler(Desktop(Picture(1, 1, kRed), WallpaperLayout::Centered, 5000, 5000));
    for (int i = 0; i < 300; ++i)
        sampler.AddCaption({100, 100, 2099, 2099}); // 64,256 points each
    EXPECT_EQ(sampler.Count(), kMaxSamples);
    EXPECT_EQ(sampler.Average(), kDesk);
}

TEST(ColorsFrameSampler, EmptyPictureSamplesTheDesktopColor) {
    FrameSampler sampler(DesktopPicture{PixelView{}, WallpaperLayout::Tiled, 200, 200, kDesk});
    sampler.AddCaption({50, 50, 60, 60});
    EXPECT_EQ(sampler.Average(), kDesk);
}

} // namespace
} // namespace colors

namespace colors {
namespace {

TEST(ColorsDropShadowPoll, StopsAfter41TicksOrOnAChangeShown) {
    int remaining = kDropShadowPolls;
    int ticks = 0;
    DropShadowPollStep step;
    do {
        step = DropShadowPollTick(remaining, false, true);
        ++ticks;
        EXPECT_FALSE(step.refreshControls);
    } while (!step.stopTimer && ticks < 100);
    EXPECT_EQ(ticks, 41);
    EXPECT_EQ(remaining, kDropShadowPolls);

    remaining = 10;
    step = DropShadowPollTick(remaining, true, false); // changed, another tab shown
    EXPECT_FALSE(step.stopTimer);
    EXPECT_EQ(remaining, 9);
    step = DropShadowPollTick(remaining, true, true);
    EXPECT_TRUE(step.stopTimer);
    EXPECT_TRUE(step.refreshControls);
    EXPECT_EQ(remaining, kDropShadowPolls);
}

} // namespace
} // namespace colors
