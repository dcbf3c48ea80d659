// The caption colours' rules: black or white text for a background, and the
// average wallpaper colour in a frame around the icon captions as the screen
// shows it.
#pragma once

#include "colours/pixel_image.h"
#include "colours/wallpaper_analysis.h"

#include <cstdint>

namespace colors {

// Black on a background whose channels add up to more than 390, else white.
ColorRef ContrastTextColor(ColorRef background);

struct ScreenRect {
    int left, top, right, bottom; // inclusive, screen coordinates
};

// Distance of the sampled frame from a caption rectangle.
inline constexpr int kFrameMargin = 8;
// Samples beyond this many are ignored, so that the sums cannot overflow.
inline constexpr std::uint32_t kMaxSamples = 0xFFFF00;

// What the screen shows behind the icons: the wallpaper in its layout over
// the desktop colour.
struct DesktopPicture {
    PixelView picture;
    WallpaperLayout layout = WallpaperLayout::Centered;
    int screenWidth = 0;
    int screenHeight = 0;
    ColorRef desktopColor = 0;
};

// Sums what the screen shows in a frame of kFrameMargin pixels around each
// caption: the wallpaper pixel under the point, or the desktop colour where
// a centred picture does not reach. Points off the screen are not sampled.
class FrameSampler {
  public:
    explicit FrameSampler(const DesktopPicture& desktop);
    void AddCaption(const ScreenRect& caption);
    // The average of the samples, black when there were none.
    ColorRef Average() const { return sum_.Average(); }
    std::uint64_t Count() const { return sum_.count; }

  private:
    void AddRun(int y, int xFirst, int xLast);
    void AddCount(ColorRef c, std::uint64_t n);
    // Stored row of the picture for screen row y, or -1 outside the picture.
    int PictureRow(int y) const;
    // Picture column for screen column x, or -1 outside the picture.
    int PictureColumn(int x) const;

    DesktopPicture desktop_;
    int originX_ = 0; // screen position of a centred picture's top-left pixel
    int originY_ = 0;
    ColorSum sum_;
};

} // namespace colors

namespace colors {

// The drop-shadow poll (timer 1179) runs at most kDropShadowPolls + 1 ticks.
inline constexpr int kDropShadowPolls = 40;

struct DropShadowPollStep {
    bool stopTimer = false;
    bool refreshControls = false; // the state changed while the colours tab is shown
    bool stopDance = false;       // the icon dance runs under the Active Desktop
};

// One tick: counts `remaining` down (back to kDropShadowPolls when it runs
// out) and says whether to stop and what to refresh.
DropShadowPollStep DropShadowPollTick(int& remaining, bool stateChanged, bool colorsTabShown);

} // namespace colors
