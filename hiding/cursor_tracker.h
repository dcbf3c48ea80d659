// The 100 ms cursor tracker: from where the cursor is and what the desktop
// shows, it decides when the desktop icons, the taskbar and the pointer are
// hidden or shown again in the three hiding modes. Each tick returns its
// decisions; the window side carries them out in the order of TickActions.
#pragma once

#include <cstdint>
#include <string>

#include "hiding/tick_time.h"
#include "settings/settings_record.h"

// Pointer idle time before it is hidden, and the taskbar's re-check period.
inline constexpr uint32_t kPointerIdleMs = 5000;
inline constexpr uint32_t kTaskbarRecheckMs = 2000;
inline constexpr uint32_t kTrackingPeriodMs = 100;
// The tick's period while nothing can change until the cursor moves.
inline constexpr uint32_t kRestingPeriodMs = 1000;

// What the window side reads for one tick.
struct TickInput {
    TickCount now = 0;
    ScreenPoint cursor{0, 0};
    bool onDesktop = false;          // the window under the cursor belongs to the desktop
    bool overTaskbar = false;        // inside the taskbar's rectangle (false without one)
    bool pointerShown = true;        // the desktop side shows the pointer
    bool alwaysRadioChecked = false; // "Always hide" is checked on the hiding tab
    bool iconsVisible = false;       // the desktop list view is visible
    bool mouseMovedOverIcons = false;
    bool hidingTabSelected = false;
    int32_t clickSliderPosition = 0; // used at the first tick only
};

// The always-hide count-down as the hiding tab shows it.
struct CountdownView {
    int32_t range = 0; // tenths of a second
    int32_t left = 0;  // tenths of a second
};

// "%d.%d seconds left"
std::string CountdownText(int32_t tenthsLeft);

// One tick's decisions, in the order the window side applies them.
struct TickActions {
    // Pointer.
    bool stopPointerTimer = false;
    bool showPointer = false;
    bool startPointerTimer = false; // one shot, kPointerIdleMs
    // The cursor rests on the taskbar: show it and re-check it later.
    bool peekTaskbar = false;
    // Icons and taskbar.
    bool showIcons = false;   // list view without activation, then the taskbar
    bool showTaskbar = false; // the taskbar alone
    bool hideIcons = false;   // the icons, and the taskbar as HideTaskbar says
    bool clearMouseMoved = false;
    // The always-hide count-down on the hiding tab.
    bool showCountdown = false;
    CountdownView countdown;
    bool countdownFinished = false;    // text cleared and hidden, click controls enabled
    bool disableClickControls = false; // while the count-down runs
    // The cursor has not moved since the last tick and no deadline or
    // count-down is running: the next ticks decide nothing until it moves.
    bool canRest = false;
};

class CursorTracker {
  public:
    TickActions Tick(const Settings& settings, const TickInput& in);

    // Timer of the idle pointer: true when the pointer is to be hidden now.
    bool PointerIdleExpired(const Settings& settings, bool pointerShown);

    bool PointerTimerArmed() const { return pointerTimerArmed_; }
    int32_t ClickCountdown() const { return clickCountdown_; }

  private:
    void PointerStep(const Settings& settings, const TickInput& in, TickActions& out);
    void CursorOffDesktop(const Settings& settings, const TickInput& in, TickActions& out);
    void CursorOnDesktop(const Settings& settings, const TickInput& in, TickActions& out);
    void AlwaysStep(const Settings& settings, const TickInput& in, TickActions& out);
    void ArmPointerTimer(TickActions& out);
    bool NothingPending(const Settings& settings, const TickInput& in) const;

    // The first tick always sees a movement.
    ScreenPoint cursor_{2, 2};
    ScreenPoint prevPos_{1, 1};
    ScreenPoint stillPos_{1, 1};
    bool onDesktop_ = true;
    Deadline showDeadline_;
    Deadline idleDeadline_;
    Deadline offDeadline_; // unset until the cursor has been on the desktop once
    bool pointerTimerArmed_ = false;
    int32_t clickCountdown_ = 0;
    bool countdownReady_ = false;
};

// The taskbar re-check, 2 s after a peek.
enum class TaskbarRecheck { Stop, Again, Hide };

struct TaskbarState {
    bool hideTaskbar = false; // the setting
    bool taskbarVisible = false;
    bool iconsVisible = false;
    bool cursorOverTaskbar = false;
};

TaskbarRecheck RecheckTaskbarDecision(const TaskbarState& state);
