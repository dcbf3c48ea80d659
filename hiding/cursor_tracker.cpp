#include "hiding/cursor_tracker.h"

#include <cstdio>

namespace {

int32_t TenthsOfClickShowTime(const Settings& settings) {
    return settings.ClickShowTime * 10;
}

} // namespace

std::string CountdownText(int32_t tenthsLeft) {
    char text[40];
    std::snprintf(text, sizeof text, "%d.%d seconds left", static_cast<int>(tenthsLeft / 10),
                  static_cast<int>(tenthsLeft % 10));
    return text;
}

TickActions CursorTracker::Tick(const Settings& settings, const TickInput& in) {
    TickActions out;
    if (!countdownReady_) {
        clickCountdown_ = in.clickSliderPosition * 10;
        countdownReady_ = true;
    }
    const bool moved = in.cursor != cursor_;
    cursor_ = in.cursor;
    PointerStep(settings, in, out);
    out.peekTaskbar = in.overTaskbar;
    if (settings.HideByCursor) {
        if (in.onDesktop)
            CursorOnDesktop(settings, in, out);
        else
            CursorOffDesktop(settings, in, out);
    } else if (settings.HideAlways) {
        AlwaysStep(settings, in, out);
    }
    out.canRest = !moved && NothingPending(settings, in);
    return out;
}

// Whether a still cursor leaves the next ticks without anything to decide.
// The taskbar under the cursor is peeked at every tick, which keeps
// postponing the off-desktop hide.
bool CursorTracker::NothingPending(const Settings& settings, const TickInput& in) const {
    const bool pointerPending =
        settings.HideCursor ? !pointerTimerArmed_ && in.alwaysRadioChecked : !in.pointerShown;
    if (pointerPending || in.overTaskbar)
        return false;
    if (settings.HideByCursor) {
        if (onDesktop_)
            return !showDeadline_.Armed() && !idleDeadline_.Armed();
        return !(settings.HideWhenOffDesktop && offDeadline_.Armed());
    }
    if (settings.HideAlways)
        return !in.iconsVisible;
    return true;
}

void CursorTracker::ArmPointerTimer(TickActions& out) {
    pointerTimerArmed_ = true;
    out.startPointerTimer = true;
}

// A moving pointer is shown; a still one is hidden 5 s after its timer starts.
// With pointer hiding off, a pointer the desktop still hides comes back.
void CursorTracker::PointerStep(const Settings& settings, const TickInput& in, TickActions& out) {
    if (!settings.HideCursor) {
        out.showPointer = !in.pointerShown;
        return;
    }
    if (cursor_ != stillPos_) {
        stillPos_ = cursor_;
        out.stopPointerTimer = true;
        pointerTimerArmed_ = false;
        out.showPointer = !in.pointerShown;
    } else if (!pointerTimerArmed_ && in.alwaysRadioChecked) {
        ArmPointerTimer(out);
    }
}

void CursorTracker::CursorOffDesktop(const Settings& settings, const TickInput& in,
                                     TickActions& out) {
    // Counted from the moment of leaving, at most a tick before this one; the
    // last tick on the desktop may lie further back when the tick rested.
    if (onDesktop_ && offDeadline_.Armed())
        offDeadline_.Set(in.now - kTrackingPeriodMs +
                         uint32_t(settings.HideOffDesktopDelay) * 1000u);
    onDesktop_ = false;
    showDeadline_.Clear();
    if (settings.HideWhenOffDesktop && offDeadline_.Due(in.now)) {
        out.hideIcons = true;
        offDeadline_.Clear(); // once per absence
    }
    if (in.overTaskbar) {
        // Resting on the taskbar keeps postponing the hide.
        out.showTaskbar = true;
        offDeadline_.Set(in.now + uint32_t(settings.HideOffDesktopDelay) * 1000u);
    }
    prevPos_ = cursor_;
}

void CursorTracker::CursorOnDesktop(const Settings& settings, const TickInput& in,
                                    TickActions& out) {
    if (!onDesktop_) {
        if (!settings.DelayShowOnDesktop)
            showDeadline_.Clear();
        else if (!showDeadline_.Armed())
            showDeadline_.Set(in.now + uint32_t(settings.ShowDelay) * 100u - 100u);
    }
    onDesktop_ = true;
    // Counted from the moment of leaving.
    offDeadline_.Set(in.now + uint32_t(settings.HideOffDesktopDelay) * 1000u);

    // Until the show delay has passed, the position from before the arrival
    // stays the one a movement is measured against.
    if (showDeadline_.Pending(in.now))
        return;
    if (cursor_ != prevPos_) {
        out.showIcons = true;
        showDeadline_.Clear();
        idleDeadline_.Set(in.now + uint32_t(settings.HideOnDesktopDelay) * 1000u);
        prevPos_ = cursor_;
        return;
    }
    if (idleDeadline_.Due(in.now)) {
        idleDeadline_.Clear();
        if (settings.HideWhenOnDesktop) {
            out.hideIcons = true;
            if (settings.HideCursor && !pointerTimerArmed_)
                ArmPointerTimer(out);
        }
    }
    if (!showDeadline_.Armed())
        prevPos_ = cursor_;
}

// Icons shown in "Always hide" mode stay for ClickShowTime seconds after the
// last mouse movement over them.
void CursorTracker::AlwaysStep(const Settings& settings, const TickInput& in, TickActions& out) {
    const int32_t full = TenthsOfClickShowTime(settings);
    if (!in.iconsVisible) {
        clickCountdown_ = full;
        return;
    }
    if (in.mouseMovedOverIcons) {
        clickCountdown_ = full;
        out.clearMouseMoved = true;
    }
    if (in.hidingTabSelected) {
        out.showCountdown = true;
        out.countdown = CountdownView{full, clickCountdown_};
    }
    --clickCountdown_;
    // A count that starts at 0 or below (a slider without a position) ends at
    // once instead of running into the negative for ever.
    if (clickCountdown_ <= 0) {
        clickCountdown_ = full;
        out.hideIcons = true;
        out.countdownFinished = true;
    } else {
        out.disableClickControls = true;
    }
}

bool CursorTracker::PointerIdleExpired(const Settings& settings, bool pointerShown) {
    pointerTimerArmed_ = false;
    return settings.HideCursor && pointerShown;
}

TaskbarRecheck RecheckTaskbarDecision(const TaskbarState& state) {
    if (!state.hideTaskbar || !state.taskbarVisible || state.iconsVisible)
        return TaskbarRecheck::Stop;
    return state.cursorOverTaskbar ? TaskbarRecheck::Again : TaskbarRecheck::Hide;
}
