// The desktop colour taken from the wallpaper by the real Tessara.exe against
// the stand-in shell: read back with GetSysColor and seen on the screen
// around a centred picture, for BMP, JPEG and PNG wallpapers.
#include "tests/wine/colors_wine.h"

#include <fstream>

namespace {

using namespace colors_test;

constexpr COLORREF kStartColor = RGB(0, 128, 128);
// On screen outside a centred 480 x 320 picture (1024 x 768, icons along the top).
constexpr POINT kOutsidePicture{100, 600};

class DesktopColorTest : public app_test::ProgramTest {
  protected:
    void SetUp() override {
        SetDesktopColor(kStartColor);
        ASSERT_TRUE(shell_.Start());
    }
};

// A warm horizontal gradient: its edge bands average RGB(170, 110, 70).
COLORREF WarmGradient(int x, int, int width) {
    const int t = x * 40 / (width - 1);
    return RGB(150 + t, 100 + t / 2, 60 + t / 2);
}

TEST_F(DesktopColorTest, CentredJpegColorsTheDesktopAroundIt) {
    ASSERT_TRUE(
        SetWallpaper(Format::Jpeg, 480, 320, [](int x, int y) { return WarmGradient(x, y, 480); }));
    StartProgram(WallpaperColorSettings());
    const COLORREF expected = RGB(170, 110, 70);
    EXPECT_TRUE(WaitForDesktopColor(expected)) << Hex(SystemDesktopColor());
    EXPECT_TRUE(WaitForScreenPixel(kOutsidePicture.x, kOutsidePicture.y, expected));
    // Left of the settings window, which covers the middle of the picture.
    EXPECT_TRUE(WaitForScreenPixel(290, 400, WarmGradient(290 - 272, 0, 480), 10)) << "the picture";
    harness::Screenshot("colors_centred_jpeg");
    EXPECT_EQ(harness::ControlText(tessara_.Window(), IDC_DESKTOP_COLOR_TEXT),
              Hex(SystemDesktopColor()));
}

TEST_F(DesktopColorTest, EachFormatAndEachNewPicture) {
    ASSERT_TRUE(SetWallpaper(Format::Bmp, 300, 200, Solid(RGB(20, 60, 200))));
    StartProgram(WallpaperColorSettings());
    EXPECT_TRUE(WaitForDesktopColor(RGB(20, 60, 200), 0)) << Hex(SystemDesktopColor());
    // A bitmap is read without the imaging component, which would stay loaded.
    constexpr char kImaging[] = "windowscodecs.dll";
    EXPECT_FALSE(harness::HasLoaded(tessara_.Process().Pid(), kImaging));
    // A smaller picture, right after: its own colour, not the last one's.
    ASSERT_TRUE(SetWallpaper(Format::Png, 64, 48, Solid(RGB(200, 180, 30))));
    EXPECT_TRUE(WaitForDesktopColor(RGB(200, 180, 30), 0)) << Hex(SystemDesktopColor());
    EXPECT_TRUE(harness::HasLoaded(tessara_.Process().Pid(), kImaging));
    ASSERT_TRUE(SetWallpaper(Format::Bmp, 40, 30, Solid(RGB(90, 20, 120))));
    ASSERT_TRUE(SetWallpaper(Format::Png, 30, 20, Solid(RGB(10, 150, 90))));
    EXPECT_TRUE(WaitForDesktopColor(RGB(10, 150, 90), 0)) << Hex(SystemDesktopColor());
    EXPECT_TRUE(WaitForScreenPixel(kOutsidePicture.x, kOutsidePicture.y, RGB(10, 150, 90)));
}

TEST_F(DesktopColorTest, ComplementaryColor) {
    ASSERT_TRUE(SetWallpaper(Format::Png, 200, 100, Solid(RGB(0, 128, 128))));
    Settings s = WallpaperColorSettings();
    s.UseComplementColor = 1;
    SetDesktopColor(RGB(1, 2, 3));
    StartProgram(s);
    EXPECT_TRUE(WaitForDesktopColor(RGB(255, 127, 127), 0)) << Hex(SystemDesktopColor());
    EXPECT_TRUE(WaitForScreenPixel(kOutsidePicture.x, kOutsidePicture.y, RGB(255, 127, 127)));
}

// 300 x 200, its top 20 rows green, the rest grey: no solid border.
COLORREF GreenTop(int, int y) {
    return y < 20 ? RGB(40, 180, 40) : RGB(128, 128, 128);
}

TEST_F(DesktopColorTest, WholeImageAgainstItsEdges) {
    ASSERT_TRUE(SetWallpaper(Format::Png, 300, 200, GreenTop));
    Settings s = WallpaperColorSettings();
    s.IgnoreSolidBorder = 0;
    StartProgram(s);
    EXPECT_TRUE(WaitForDesktopColor(RGB(98, 145, 98), 0)) << Hex(SystemDesktopColor());
    tessara_.Command(IDC_SAMPLE_WHOLE_IMAGE);
    EXPECT_TRUE(WaitForDesktopColor(RGB(119, 133, 119), 0)) << Hex(SystemDesktopColor());
}

TEST_F(DesktopColorTest, SolidBorderIgnoredOrTaken) {
    ASSERT_TRUE(SetWallpaper(Format::Png, 300, 200, [](int x, int y) {
        const bool frame = x < 15 || y < 15 || x >= 285 || y >= 185;
        return frame ? RGB(0, 0, 0) : RGB(220, 180, 40);
    }));
    StartProgram(WallpaperColorSettings()); // "Ignore picture's solid border" is on
    EXPECT_TRUE(WaitForDesktopColor(RGB(220, 180, 40), 0)) << Hex(SystemDesktopColor());
    tessara_.Command(IDC_IGNORE_SOLID_BORDER);
    EXPECT_TRUE(WaitForDesktopColor(RGB(0, 0, 0), 0)) << Hex(SystemDesktopColor());
}

// Outside code page 1252, the test prefix's ANSI code page, where the name
// would read "?? ?.bmp".
TEST_F(DesktopColorTest, WallpaperNamedOutsideTheCodePage) {
    const std::wstring path = harness::Widened(harness::BuildPath("testdata")) + L"\\壁纸 🌍.bmp";
    ASSERT_TRUE(WritePicture(path, Format::Bmp, 200, 100, Solid(RGB(30, 160, 90))));
    harness::RegWriteString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper", "0");
    harness::RegWriteString(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle", "0");
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(path.c_str()),
                                      SPIF_UPDATEINIFILE | SPIF_SENDCHANGE));
    StartProgram(WallpaperColorSettings());
    EXPECT_TRUE(WaitForDesktopColor(RGB(30, 160, 90), 0)) << Hex(SystemDesktopColor());
    // The next layout has Windows read the same picture again, by its name.
    tessara_.Command(IDC_NEXT_BACKGROUND_FORMAT);
    EXPECT_EQ(harness::RegRead(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper")
                  .value_or(harness::RegValue{})
                  .AsString(),
              "1");
    EXPECT_EQ(RegisteredWallpaper(), path);
}

TEST_F(DesktopColorTest, UndecodableFileReportsAndChangesNothing) {
    ASSERT_TRUE(SetWallpaper(Format::Png, 100, 100, Solid(RGB(250, 10, 10))));
    StartProgram(WallpaperColorSettings());
    ASSERT_TRUE(WaitForDesktopColor(RGB(250, 10, 10), 0));
    {
        std::ofstream broken(WallpaperPath(), std::ios::binary | std::ios::trunc);
        broken << "not a picture at all";
    }
    SetDesktopColor(RGB(5, 6, 7));
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(WallpaperPath().c_str()),
                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    EXPECT_TRUE(harness::WaitUntil([&] { return !tessara_.StatusLine().empty(); }))
        << "the system's text for the decoder's error";
    EXPECT_TRUE(harness::HoldsFor([] { return SystemDesktopColor() == RGB(5, 6, 7); }, 1500))
        << Hex(SystemDesktopColor());
}

} // namespace
