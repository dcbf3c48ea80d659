#include "hiding/window_fade.h"

ScreenRect CloseBoxRect(const ScreenRect& window, const FrameMetrics& metrics) {
    const int32_t right = window.right - metrics.frameWidth;
    const int32_t top = window.top + metrics.frameHeight;
    return ScreenRect{right - metrics.buttonWidth, top, right, top + metrics.buttonHeight};
}

CloseBoxActions WindowFader::Watch(const CloseBoxInput& in) {
    CloseBoxActions out;
    if (!in.canFade) {
        hoverTicks_ = kStillTicks;
        lastPos_ = in.cursor;
        return out;
    }
    if (in.hit != fadeWindow_) {
        if (applied_ && fadeWindow_) {
            fading_ = false;
            applied_ = false;
            out.restore = FadeRestore{fadeWindow_, savedExStyle_, in.hit == 0};
        }
        // A new close box starts its own count, also when the cursor jumped
        // straight from another one.
        hoverTicks_ = kStillTicks;
    }
    fadeWindow_ = in.hit;
    if (in.hit && in.cursor == lastPos_) {
        --hoverTicks_;
        if (hoverTicks_ == 0 && !fading_ && !in.hitIsDesktop) {
            alpha_ = kOpaque;
            savedExStyle_ = in.hitExStyle;
            out.startFade = true;
            out.layeredExStyle = in.hitExStyle | kLayeredExStyle;
            applied_ = true;
            fading_ = true;
        }
    }
    lastPos_ = in.cursor;
    return out;
}

FadeStepResult WindowFader::Step(bool canFade, bool windowStillLayered) {
    FadeStepResult out;
    if (fading_) {
        alpha_ = static_cast<uint8_t>(alpha_ - kAlphaStep);
        if (alpha_ > kAlphaStep && canFade) {
            if (windowStillLayered)
                out.alpha = alpha_;
            return out;
        }
        alpha_ = 0;
    }
    out.stop = true;
    return out;
}

std::optional<FadeRestore> WindowFader::Release() {
    if (!applied_ || !fadeWindow_)
        return std::nullopt;
    applied_ = false;
    fading_ = false;
    return FadeRestore{fadeWindow_, savedExStyle_, false};
}
