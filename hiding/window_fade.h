// Window fading: a window whose close box the cursor rests on for about a
// second fades to a faint ghost in eleven steps, and comes back as soon as
// the cursor leaves the close box. Decisions only; the window side owns the
// windows and the timers.
#pragma once

#include <cstdint>
#include <optional>

#include "hiding/tick_time.h"

inline constexpr uint32_t kCloseBoxWatchMs = 200;
inline constexpr uint32_t kFadeStepMs = 60;
inline constexpr uint32_t kLayeredExStyle = 0x80000; // WS_EX_LAYERED
inline constexpr uint8_t kOpaque = 255;

// System metrics of a window frame and its caption buttons.
struct FrameMetrics {
    int32_t frameWidth;   // SM_CXFRAME
    int32_t frameHeight;  // SM_CYFRAME
    int32_t buttonWidth;  // SM_CXSIZE
    int32_t buttonHeight; // SM_CYSIZE
};

// The close box of a window with window rectangle `window`.
ScreenRect CloseBoxRect(const ScreenRect& window, const FrameMetrics& metrics);

// A window of the system, as an opaque number; 0 is none.
using WindowId = uintptr_t;

struct CloseBoxInput {
    bool canFade = false; // the system can make windows layered
    ScreenPoint cursor{0, 0};
    WindowId hit = 0; // the window whose close box is under the cursor
    bool hitIsDesktop = false;
    uint32_t hitExStyle = 0;
};

// A faded window to bring back: opaque, its own extended style again, and the
// screen repainted (`repaintAll` when the cursor is on no close box).
struct FadeRestore {
    WindowId window = 0;
    uint32_t exStyle = 0;
    bool repaintAll = false;
};

struct CloseBoxActions {
    std::optional<FadeRestore> restore;
    // Make `hit` layered with `layeredExStyle`, opaque, and start the steps.
    bool startFade = false;
    uint32_t layeredExStyle = 0;
};

struct FadeStepResult {
    std::optional<uint8_t> alpha; // set this opacity
    bool stop = false;            // the fade is over: stop the step timer
};

class WindowFader {
  public:
    CloseBoxActions Watch(const CloseBoxInput& in);
    FadeStepResult Step(bool canFade, bool windowStillLayered);
    // Brings a faded window back now (fading switched off, program ending).
    std::optional<FadeRestore> Release();

    WindowId FadeWindow() const { return fadeWindow_; }
    uint8_t Alpha() const { return alpha_; }

  private:
    static constexpr int kStillTicks = 5;
    static constexpr uint8_t kAlphaStep = 20;

    WindowId fadeWindow_ = 0;
    uint32_t savedExStyle_ = 0;
    bool fading_ = false;
    bool applied_ = false;
    uint8_t alpha_ = 0;
    int hoverTicks_ = kStillTicks;
    ScreenPoint lastPos_{0, 0};
};
