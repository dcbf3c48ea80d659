#include "colours/caption_colors.h"

#include <algorithm>

namespace colors {

ColorRef ContrastTextColor(ColorRef background) {
    const unsigned sum = RedOf(background) + GreenOf(background) + BlueOf(background);
    return sum > 390 ? Rgb(0, 0, 0) : Rgb(255, 255, 255);
}

FrameSampler::FrameSampler(const DesktopPicture& desktop) : desktop_(desktop) {
    // Centred the way Windows centres: a picture larger than the screen
    // starts left of and above it.
    originX_ = (desktop.screenWidth - desktop.picture.width) / 2;
    originY_ = (desktop.screenHeight - desktop.picture.height) / 2;
}

int FrameSampler::PictureRow(int y) const {
    const PixelView& p = desktop_.picture;
    if (p.Empty())
        return -1;
    int fromTop = -1;
    switch (desktop_.layout) {
    case WallpaperLayout::Tiled:
        fromTop = y % p.height;
        break;
    case WallpaperLayout::Stretched:
        fromTop = static_cast<int>(static_cast<std::int64_t>(y) * p.height / desktop_.screenHeight);
        break;
    case WallpaperLayout::Centered:
        fromTop = y - originY_;
        break;
    }
    return fromTop >= 0 && fromTop < p.height ? p.height - 1 - fromTop : -1;
}

int FrameSampler::PictureColumn(int x) const {
    const PixelView& p = desktop_.picture;
    if (p.Empty())
        return -1;
    int column = -1;
    switch (desktop_.layout) {
    case WallpaperLayout::Tiled:
        column = x % p.width;
        break;
    case WallpaperLayout::Stretched:
        column = static_cast<int>(static_cast<std::int64_t>(x) * p.width / desktop_.screenWidth);
        break;
    case WallpaperLayout::Centered:
        column = x - originX_;
        break;
    }
    return column >= 0 && column < p.width ? column : -1;
}

void FrameSampler::AddCount(ColorRef c, std::uint64_t n) {
    n = std::min<std::uint64_t>(n, kMaxSamples - sum_.count);
    sum_.red += RedOf(c) * n;
    sum_.green += GreenOf(c) * n;
    sum_.blue += BlueOf(c) * n;
    sum_.count += n;
}

void FrameSampler::AddRun(int y, int xFirst, int xLast) {
    xFirst = std::max(xFirst, 0);
    xLast = std::min(xLast, desktop_.screenWidth - 1);
    if (xFirst > xLast)
        return;
    const int row = PictureRow(y);
    if (row < 0) {
        AddCount(desktop_.desktopColor, static_cast<std::uint64_t>(xLast - xFirst + 1));
        return;
    }
    for (int x = xFirst; x <= xLast && sum_.count < kMaxSamples; ++x) {
        const int column = PictureColumn(x);
        AddCount(column < 0 ? desktop_.desktopColor : desktop_.picture.At(column, row), 1);
    }
}

void FrameSampler::AddCaption(const ScreenRect& caption) {
    const int top = std::max(caption.top - kFrameMargin, 0);
    const int bottom = std::min(caption.bottom + kFrameMargin, desktop_.screenHeight - 1);
    for (int y = top; y <= bottom && sum_.count < kMaxSamples; ++y) {
        if (y >= caption.top && y <= caption.bottom) {
            AddRun(y, caption.left - kFrameMargin, caption.left - 1);
            AddRun(y, caption.right + 1, caption.right + kFrameMargin);
        } else {
            AddRun(y, caption.left - kFrameMargin, caption.right + kFrameMargin);
        }
    }
}

} // namespace colors

namespace colors {

DropShadowPollStep DropShadowPollTick(int& remaining, bool stateChanged, bool colorsTabShown) {
    DropShadowPollStep step;
    if (remaining-- == 0) {
        step.stopTimer = true;
        remaining = kDropShadowPolls;
    }
    if (stateChanged && colorsTabShown) {
        step.stopTimer = true;
        step.refreshControls = true;
        remaining = kDropShadowPolls;
    }
    return step;
}

} // namespace colors
