// Stretched wallpaper kept to its proportions by the real Tessara.exe: the
// size and pixels of "tessara.bmp", the wallpaper values written back, the
// user's file unchanged, and the picture as the stand-in desktop shows it.
#include "tests/wine/colors_wine.h"

namespace {

using namespace colors_test;

constexpr COLORREF kRed = RGB(220, 30, 30);
constexpr COLORREF kBlue = RGB(30, 30, 220);
constexpr COLORREF kDesk = RGB(0, 128, 128);

// 400 x 200: red left half, blue right half.
COLORREF Halves(int x, int) {
    return x < 200 ? kRed : kBlue;
}

std::string TempBitmap() {
    char directory[MAX_PATH + 1] = "";
    GetTempPathA(sizeof directory, directory);
    return std::string(directory) + "tessara.bmp";
}

std::uint32_t Little32(const std::vector<char>& bytes, std::size_t at) {
    return std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8 |
           std::uint8_t(bytes[at + 2]) << 16 | std::uint32_t(std::uint8_t(bytes[at + 3])) << 24;
}

// Pixel (x, y from the top) of a bottom-up 24-bit bitmap file.
COLORREF BitmapPixel(const std::vector<char>& bytes, int x, int y) {
    const int width = int(Little32(bytes, 18));
    const int height = int(Little32(bytes, 22));
    const std::size_t stride = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
    const std::size_t at = 54 + std::size_t(height - 1 - y) * stride + std::size_t(x) * 3;
    return RGB(std::uint8_t(bytes[at + 2]), std::uint8_t(bytes[at + 1]), std::uint8_t(bytes[at]));
}

class StretchedWallpaperTest : public app_test::ProgramTest {
  protected:
    void SetUp() override {
        SetDesktopColor(kDesk);
        DeleteFileA(TempBitmap().c_str());
        ASSERT_TRUE(shell_.Start());
    }
    void TearDown() override {
        SetTestMode(false);
        app_test::ProgramTest::TearDown();
    }

    // Starts with the option on, then, in test mode (which keeps
    // "tessara.bmp"), stretches the picture once more.
    void StretchKeepingProportions(bool innerDimension) {
        ASSERT_TRUE(SetWallpaper(Format::Jpeg, 400, 200, Halves, Layout::Stretched));
        Settings s = SettingsTemplate();
        s.KeepAspectRatio = 1;
        s.StretchInnerDimension = innerDimension ? 1 : 0;
        StartProgram(s);
        ASSERT_TRUE(WaitForCentredAgain());
        SetTestMode(true);
        ASSERT_TRUE(SetWallpaper(Format::Jpeg, 400, 200, Halves, Layout::Stretched, &userFile_));
        ASSERT_TRUE(harness::WaitUntil([] { return Exists(TempBitmap()); }, 15000));
        ASSERT_TRUE(WaitForCentredAgain());
    }

    static bool Exists(const std::string& path) {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // The normalisation is over once the layout says centred and the user's
    // file is back from its copy.
    static bool WaitForCentredAgain() {
        return harness::WaitUntil(
            [] {
                return harness::RegRead(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle")
                               ->AsString() == "0" &&
                       !Exists(WallpaperPath() + "X");
            },
            15000);
    }

    std::vector<char> userFile_;
};

TEST_F(StretchedWallpaperTest, FittedInsideTheScreen) {
    StretchKeepingProportions(false);
    const std::vector<char> bitmap = FileBytes(TempBitmap());
    ASSERT_GE(bitmap.size(), 54u);
    EXPECT_EQ(Little32(bitmap, 18), 1024u);
    EXPECT_EQ(Little32(bitmap, 22), 512u);
    EXPECT_EQ(bitmap.size(), 54u + 1024u * 3 * 512);
    EXPECT_TRUE(Near(BitmapPixel(bitmap, 100, 256), kRed, 12))
        << Hex(BitmapPixel(bitmap, 100, 256));
    EXPECT_TRUE(Near(BitmapPixel(bitmap, 900, 256), kBlue, 12))
        << Hex(BitmapPixel(bitmap, 900, 256));
    EXPECT_TRUE(Near(BitmapPixel(bitmap, 500, 5), kRed, 12));
    EXPECT_TRUE(Near(BitmapPixel(bitmap, 530, 505), kBlue, 12));
    EXPECT_EQ(harness::RegRead(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper")->AsString(), "0");
    EXPECT_EQ(FileBytes(WallpaperPath()), userFile_) << "the user's own picture";
    // Shown centred: the desktop colour above and below, the halves in between.
    EXPECT_TRUE(WaitForScreenPixel(512, 100, kDesk));
    EXPECT_TRUE(WaitForScreenPixel(100, 384, kRed, 12));
    EXPECT_TRUE(WaitForScreenPixel(900, 384, kBlue, 12));
    EXPECT_TRUE(WaitForScreenPixel(512, 700, kDesk));
    harness::Screenshot("colors_stretched_jpeg");
}

TEST_F(StretchedWallpaperTest, InnerDimensionFillsTheScreen) {
    StretchKeepingProportions(true);
    const std::vector<char> bitmap = FileBytes(TempBitmap());
    ASSERT_GE(bitmap.size(), 54u);
    EXPECT_EQ(Little32(bitmap, 18), 1536u);
    EXPECT_EQ(Little32(bitmap, 22), 768u);
    EXPECT_EQ(FileBytes(WallpaperPath()), userFile_);
    // 1536 wide centred on 1024: screen x 0 is picture x 256 (red), 1023 is 1279 (blue).
    EXPECT_TRUE(WaitForScreenPixel(20, 100, kRed, 12));
    EXPECT_TRUE(WaitForScreenPixel(1000, 700, kBlue, 12));
    harness::Screenshot("colors_stretched_inner");
}

} // namespace
