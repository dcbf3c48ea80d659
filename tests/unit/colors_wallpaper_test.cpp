#include "colours/wallpaper_analysis.h"
#include "tests/unit/colors_picture.h"

#include <gtest/gtest.h>

namespace colors {
namespace {

using test::Picture;

constexpr ColorRef kBlack = Rgb(0, 0, 0);
constexpr ColorRef kWhite = Rgb(255, 255, 255);
constexpr ColorRef kRed = Rgb(255, 0, 0);
constexpr ColorRef kGreen = Rgb(0, 255, 0);
constexpr ColorRef kBlue = Rgb(0, 0, 255);
constexpr ColorRef kTeal = Rgb(0, 128, 128);

bool operator==(const ContentRect& a, const ContentRect& b) {
    return a.lowestRow == b.lowestRow && a.highestRow == b.highestRow &&
           a.leftColumn == b.leftColumn && a.rightColumn == b.rightColumn;
}

TEST(ColorsLayout, TilingWinsOverStretching) {
    EXPECT_EQ(LayoutFromRegistry(49, 50), WallpaperLayout::Tiled);
    EXPECT_EQ(LayoutFromRegistry(48, 50), WallpaperLayout::Stretched);
    EXPECT_EQ(LayoutFromRegistry(0, 50), WallpaperLayout::Stretched);
    EXPECT_EQ(LayoutFromRegistry(48, 48), WallpaperLayout::Centered);
    EXPECT_EQ(LayoutFromRegistry(0, 0), WallpaperLayout::Centered);
    EXPECT_EQ(LayoutFromRegistry(1, 2), WallpaperLayout::Centered); // numbers, not digits
}

TEST(ColorsSolidBorder, FindsTheContentRectangle) {
    struct Case {
        const char* name;
        Picture picture;
        ContentRect expected;
        bool border;
    };
    const Case cases[] = {
        {"1 x 1", Picture(1, 1, kRed), {0, 0, 0, 0}, false},
        {"1 x 5 solid", Picture(1, 5, kRed), {0, 4, 0, 0}, false},
        {"5 x 1 solid", Picture(5, 1, kRed), {0, 0, 0, 4}, false},
        // Columns are searched in the rows strictly between the lowest and
        // the highest: content one or two rows high has none, so the whole picture.
        {"1 x 5, one pixel differs", Picture(1, 5, kBlack).Set(0, 2, kWhite), {0, 4, 0, 0}, false},
        {"3 x 3 framed single pixel", Picture(3, 3, kBlack).Set(1, 1, kWhite), {0, 2, 0, 2}, false},
        {"5 x 4 framed, two rows high",
         Picture(5, 4, kBlack).Fill(1, 1, 4, 3, kWhite),
         {0, 3, 0, 4},
         false},
        {"5 x 5 framed (odd width)",
         Picture(5, 5, kBlack).Fill(1, 1, 4, 4, kWhite),
         {1, 3, 1, 3},
         true},
        {"bottom and left border only",
         Picture(7, 5, kBlack).Fill(2, 1, 7, 5, kWhite),
         {1, 4, 2, 6},
         false},
        {"top and bottom bars",
         Picture(6, 8, kBlack).Fill(0, 2, 6, 6, kWhite),
         {2, 5, 0, 5},
         false},
        // The widest content is in the lowest content row alone, which the
        // column search leaves out.
        {"content widest at its lowest row",
         Picture(9, 7, kBlack).Fill(1, 1, 8, 2, kWhite).Fill(3, 2, 6, 5, kWhite),
         {1, 4, 3, 5},
         true},
        {"within tolerance counts as border colour",
         Picture(5, 5, Rgb(100, 100, 100))
             .Set(1, 2, Rgb(164, 36, 100))
             .Fill(2, 1, 3, 4, Rgb(100, 100, 165)),
         {1, 3, 2, 2},
         true},
        {"all within tolerance is solid",
         Picture(4, 3, Rgb(10, 10, 10)).Set(3, 2, Rgb(74, 74, 74)),
         {0, 2, 0, 3},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ContentRect found = FindSolidBorder(c.picture.View());
        EXPECT_TRUE(found == c.expected) << found.lowestRow << ' ' << found.highestRow << ' '
                                         << found.leftColumn << ' ' << found.rightColumn;
        EXPECT_EQ(HasSolidBorder(found, c.picture.View()), c.border);
    }
}

// A 30 x 40 picture (narrower than a 4:3 screen): 5-pixel bands red at the
// left, green at the right, blue along top and bottom between them, white inside.
Picture BandedPortrait() {
    Picture p(30, 40, kWhite);
    p.Fill(5, 0, 25, 5, kBlue).Fill(5, 35, 25, 40, kBlue);
    p.Fill(0, 0, 5, 40, kRed).Fill(25, 0, 30, 40, kGreen);
    return p;
}

TEST(ColorsWallpaperColor, FollowsTheOptions) {
    const Picture framed = Picture(20, 12, kBlack).Fill(2, 2, 18, 10, kTeal);
    const Picture letterbox = Picture(20, 12, kBlack).Fill(0, 3, 20, 9, kWhite);
    const Picture banded = BandedPortrait();
    // 2 x 1, odd row bytes: (10,20,30) and (20,40,61) average with truncation.
    const Picture pair = Picture(2, 1, Rgb(10, 20, 30)).Set(1, 0, Rgb(20, 40, 61));
    const Picture column = Picture(1, 4, kBlack).Set(0, 1, Rgb(200, 100, 0));
    struct Case {
        const char* name;
        const Picture& picture;
        WallpaperColorOptions options;
        ColorRef expected;
    };
    const WallpaperColorOptions edges{false, false, false, false, 1024, 768};
    const WallpaperColorOptions whole{false, true, false, false, 1024, 768};
    const WallpaperColorOptions ignoreWhole{true, true, false, false, 1024, 768};
    const WallpaperColorOptions ignoreEdges{true, false, false, false, 1024, 768};
    const WallpaperColorOptions complement{false, true, true, false, 1024, 768};
    const WallpaperColorOptions aspect{false, false, false, true, 1024, 768};
    const WallpaperColorOptions aspectTall{false, false, false, true, 300, 1000};
    const Case cases[] = {
        {"frame kept gives the frame", framed, whole, kBlack},
        {"frame kept, complement", framed, complement, kWhite},
        {"frame ignored, whole", framed, ignoreWhole, kTeal},
        {"frame ignored, edges inside it", framed, ignoreEdges, kTeal},
        {"letterbox is no frame: whole image", letterbox, whole, Rgb(127, 127, 127)},
        {"letterbox bars excluded when ignoring", letterbox, ignoreEdges, kWhite},
        {"odd width, truncating average", pair, whole, Rgb(15, 30, 45)},
        {"1 x N whole", column, whole, Rgb(50, 25, 0)},
        {"all four bands", banded, edges, Rgb(85, 85, 85)},
        {"narrow picture keeps left and right", banded, aspect, Rgb(127, 127, 0)},
        {"picture wider than screen keeps top and bottom", banded, aspectTall, Rgb(42, 42, 170)},
        {"whole banded picture", banded, whole, Rgb(170, 170, 170)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto color = ComputeWallpaperColor(c.picture.View(), c.options);
        ASSERT_TRUE(color.has_value());
        EXPECT_EQ(FormatColorHex(*color), FormatColorHex(c.expected));
    }
}

TEST(ColorsWallpaperColor, SolidPictureGivesItsColorOrItsComplement) {
    const Picture solid(7, 3, kTeal);
    for (bool ignore : {false, true})
        for (bool wholeImage : {false, true}) {
            WallpaperColorOptions options{ignore, wholeImage, false, false, 1024, 768};
            EXPECT_EQ(*ComputeWallpaperColor(solid.View(), options), kTeal);
            options.useComplementColor = true;
            EXPECT_EQ(*ComputeWallpaperColor(solid.View(), options), Rgb(255, 127, 127));
        }
    EXPECT_EQ(*ComputeWallpaperColor(Picture(1, 1, kRed).View(), {}), kRed);
}

TEST(ColorsWallpaperColor, EmptyPictureGivesNothing) {
    EXPECT_FALSE(ComputeWallpaperColor(PixelView{}, {}).has_value());
    const std::uint8_t byte = 0;
    EXPECT_FALSE(ComputeWallpaperColor(PixelView{&byte, 0, 5}, {}).has_value());
}

TEST(ColorsWallpaperColor, StatusTextAndCacheSize) {
    EXPECT_EQ(FormatColorHex(kTeal), "#008080");
    EXPECT_EQ(FormatColorHex(Rgb(255, 127, 1)), "#FF7F01");
    EXPECT_EQ(CacheBytes(1, 1), 4u);
    EXPECT_EQ(CacheBytes(5, 3), 48u);
    EXPECT_EQ(CacheBytes(3840, 2160), 3840u * 3 * 2160);
    EXPECT_EQ(CacheBytes(0, 10), 0u);
}

TEST(ColorsWallpaperCache, ReusesPixelsOnlyOfTheSameFileState) {
    const WallpaperFileState cached{L"C:\\a.jpg", 100, 5000};
    EXPECT_TRUE(CachedPixelsAreCurrent(true, cached, cached));
    EXPECT_FALSE(CachedPixelsAreCurrent(false, cached, cached));
    EXPECT_FALSE(CachedPixelsAreCurrent(true, cached, {L"C:\\b.jpg", 100, 5000}));
    EXPECT_FALSE(CachedPixelsAreCurrent(true, cached, {L"C:\\a.jpg", 101, 5000}));
    EXPECT_FALSE(CachedPixelsAreCurrent(true, cached, {L"C:\\a.jpg", 100, 4999}));
}

} // namespace
} // namespace colors
