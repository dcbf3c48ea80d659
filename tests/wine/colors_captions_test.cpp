// Caption colours on the stand-in desktop through the real Tessara.exe: the
// automatic black or white text, the background resampled around the icons,
// transparent against solid, and the drop-shadow poll that disables the
// colours tab. Colours are read from the shared block and seen on screen.
#include "deskhook/deskhook.h"
#include "tests/wine/colors_wine.h"

namespace {

using namespace colors_test;

class CaptionColorsTest : public app_test::ProgramTest {
  protected:
    void SetUp() override {
        SetDesktopColor(RGB(0, 128, 128));
        ASSERT_TRUE(shell_.Start());
        block_ = LocateSharedData();
        ASSERT_NE(block_, nullptr);
    }

    static Settings CaptionSettings() {
        Settings s = SettingsTemplate(); // desktop colour unchanged
        s.AutoTextColor = 1;
        return s;
    }

    // Captions on a solid background sampled from the wallpaper.
    static Settings ResamplingSettings() {
        Settings s = CaptionSettings();
        s.TransparentText = 0;
        s.AutoResample = 1;
        return s;
    }

    bool WaitForPaintColors(COLORREF text, COLORREF back) const {
        return harness::WaitUntil(
            [&] { return block_->PaintTextColor == text && block_->PaintBackColor == back; },
            15000);
    }

    std::string PaintColors() const {
        return Hex(block_->PaintTextColor) + " on " +
               (block_->PaintBackColor == CLR_NONE ? "none" : Hex(block_->PaintBackColor));
    }

    // Pixels of `color` inside the caption of the first icon on screen.
    int CaptionPixels(COLORREF color) const {
        const RECT label = shell_.Layout().at(0).label;
        const harness::Image screen = harness::CaptureScreen();
        int count = 0;
        for (int y = label.top; y < label.bottom; ++y)
            for (int x = label.left; x < label.right; ++x)
                count += Near(screen.Pixel(x, y), color, 40) ? 1 : 0;
        return count;
    }

    SharedBlock* block_ = nullptr;
};

TEST_F(CaptionColorsTest, BlackTextOnALightWallpaperWhiteOnADarkOne) {
    ASSERT_TRUE(SetWallpaper(Format::Jpeg, 64, 64, Solid(RGB(200, 200, 170)), Layout::Tiled));
    StartProgram(CaptionSettings());
    EXPECT_TRUE(WaitForPaintColors(RGB(0, 0, 0), CLR_NONE)) << PaintColors();
    EXPECT_TRUE(harness::WaitUntil([&] { return CaptionPixels(RGB(0, 0, 0)) > 10; }));
    EXPECT_EQ(CaptionPixels(RGB(255, 255, 255)), 0);
    harness::Screenshot("colors_captions_light");

    ASSERT_TRUE(SetWallpaper(Format::Jpeg, 64, 64, Solid(RGB(20, 30, 60)), Layout::Tiled));
    EXPECT_TRUE(WaitForPaintColors(RGB(255, 255, 255), CLR_NONE)) << PaintColors();
    EXPECT_TRUE(harness::WaitUntil([&] { return CaptionPixels(RGB(255, 255, 255)) > 10; }));
    harness::Screenshot("colors_captions_dark");
}

TEST_F(CaptionColorsTest, ResamplePicksTheColorAroundTheIcons) {
    ASSERT_TRUE(SetWallpaper(Format::Png, 32, 32, Solid(RGB(90, 140, 200)), Layout::Tiled));
    const Settings s = ResamplingSettings();
    StartProgram(s);
    // 90 + 140 + 200 is above 390: black text.
    EXPECT_TRUE(WaitForPaintColors(RGB(0, 0, 0), RGB(90, 140, 200))) << PaintColors();
    EXPECT_TRUE(app_test::WaitForStored(
        [](const Settings& stored) { return stored.TextBackColor == int32_t(RGB(90, 140, 200)); }));

    // A small picture in the middle of the screen: around the icons is the desktop colour.
    ASSERT_TRUE(SetWallpaper(Format::Png, 100, 100, Solid(RGB(250, 250, 250))));
    EXPECT_TRUE(WaitForPaintColors(RGB(255, 255, 255), RGB(0, 128, 128))) << PaintColors();
}

constexpr char kNoIconsToSample[] = "No icons found.\n\nUnable to sample screen colors.";

TEST_F(CaptionColorsTest, ADesktopWithoutIconsIsReportedWhenSampling) {
    ASSERT_TRUE(shell_.Start(harness::ShellOptions::WithIcons(0)));
    ASSERT_TRUE(SetWallpaper(Format::Png, 32, 32, Solid(RGB(90, 140, 200)), Layout::Tiled));
    const Settings s = ResamplingSettings();
    // The box may come before the settings window is shown.
    LaunchProgram(s);
    HWND box = harness::WaitForDialog("Tessara", tessara_.Pid(), app_test::kAttachMs);
    ASSERT_TRUE(box);
    EXPECT_EQ(harness::MessageBoxText(box), kNoIconsToSample);
    EXPECT_TRUE(tessara_.WaitForShownWindow()) << "while the box waits";
    // The run has ended, its lock on the desktop's drawing too: the captions
    // already stand on the desktop colour.
    EXPECT_TRUE(WaitForPaintColors(RGB(255, 255, 255), RGB(0, 128, 128))) << PaintColors();
    harness::PressButton(box, IDOK);
}

// The watchdog's tick after the shell has gone forgets the list view, as it
// does while Explorer restarts; a resample then has no desktop to ask.
TEST_F(CaptionColorsTest, ResampleWithTheDesktopGoneSaysNothing) {
    ASSERT_TRUE(SetWallpaper(Format::Png, 32, 32, Solid(RGB(90, 140, 200)), Layout::Tiled));
    const Settings s = ResamplingSettings();
    StartProgram(s);
    ASSERT_TRUE(WaitForPaintColors(RGB(0, 0, 0), RGB(90, 140, 200))) << PaintColors();
    shell_.Stop();
    PostMessageA(tessara_.Window(), WM_TIMER, timers::Watchdog, 0);
    ASSERT_TRUE(harness::WaitUntil(
        [&] { return tessara_.StatusLine().find("attempts left") != std::string::npos; }));
    tessara_.Command(IDC_RESAMPLE_NOW);
    // Without icons to sample around, the background is the desktop colour.
    EXPECT_TRUE(app_test::WaitForStored(
        [](const Settings& stored) { return stored.TextBackColor == int32_t(RGB(0, 128, 128)); }));
    EXPECT_FALSE(harness::FindTopLevel("#32770", nullptr, tessara_.Pid()));
}

TEST_F(CaptionColorsTest, TransparentAgainstSolidBackground) {
    ASSERT_TRUE(SetWallpaper(Format::Png, 32, 32, Solid(RGB(30, 30, 30)), Layout::Tiled));
    Settings s = CaptionSettings();
    s.AutoTextColor = 0;
    s.TextColor = int32_t(RGB(255, 255, 0));
    s.TextBackColor = int32_t(RGB(128, 0, 0));
    StartProgram(s); // transparent by default
    EXPECT_TRUE(WaitForPaintColors(RGB(255, 255, 0), CLR_NONE)) << PaintColors();
    tessara_.Command(IDC_SOLID_COLOR);
    EXPECT_TRUE(WaitForPaintColors(RGB(255, 255, 0), RGB(128, 0, 0))) << PaintColors();
    EXPECT_TRUE(harness::WaitUntil([&] { return CaptionPixels(RGB(128, 0, 0)) > 50; }));
    harness::Screenshot("colors_captions_solid");
    tessara_.Command(IDM_TRANSPARENT_BACKGROUND);
    EXPECT_TRUE(WaitForPaintColors(RGB(255, 255, 0), CLR_NONE)) << PaintColors();
}

TEST_F(CaptionColorsTest, DropShadowsDisableTheColorsTab) {
    ASSERT_TRUE(SetWallpaper(Format::Png, 32, 32, Solid(RGB(30, 30, 30)), Layout::Tiled));
    StartProgram(CaptionSettings());
    HWND window = tessara_.Window();
    auto visible = [&](int id) { return IsWindowVisible(GetDlgItem(window, id)) != FALSE; };
    ASSERT_TRUE(visible(IDC_TEXT_COLOR_BOX));
    // Explorer's drop shadows go on, and the desktop passes the change on.
    ASSERT_TRUE(
        harness::RegWriteDword(HKEY_CURRENT_USER, kExplorerAdvancedKey, kListviewShadowValue, 1));
    DWORD_PTR result = 0;
    SendMessageTimeoutA(shell_.Progman(), WM_SETTINGCHANGE, SPI_SETCURSORSHADOW, 0, SMTO_NORMAL,
                        5000, &result);
    EXPECT_TRUE(harness::WaitUntil([&] { return visible(IDC_DISABLE_DROP_SHADOWS); }));
    EXPECT_FALSE(visible(IDC_TEXT_COLOR_BOX));
    harness::Screenshot("colors_drop_shadows_on");
    // The page's own button turns them off again.
    tessara_.Command(IDC_DISABLE_DROP_SHADOWS);
    EXPECT_TRUE(harness::WaitUntil([&] { return visible(IDC_TEXT_COLOR_BOX); }));
    EXPECT_EQ(
        harness::RegRead(HKEY_CURRENT_USER, kExplorerAdvancedKey, kListviewShadowValue)->data.at(0),
        0);
    ASSERT_TRUE(
        harness::RegDeleteValue(HKEY_CURRENT_USER, kExplorerAdvancedKey, kListviewShadowValue));
}

} // namespace
