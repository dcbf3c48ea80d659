// Hot corner and Boss Mouse: a cursor resting in the chosen corner of the
// primary screen, or touching one of its edges, triggers one action. Runs
// inside the tracking tick; decides only, the window side acts.
#pragma once

#include <cstdint>
#include <string>

#include "hiding/tick_time.h"
#include "settings/settings_record.h"

inline constexpr uint32_t kCornerWaitMs = 1000;

enum class CornerAction { ShowDesktop, StartScreenSaver, LockWorkstation };

// Index of the action list: 0 show the desktop, 1 screen saver, anything
// else locks the workstation.
CornerAction CornerActionOf(int32_t index);

// Entries of the action list, in order; "Lock Workstation" only where the
// system can lock.
int ActionListLength(bool canLock);
const char* ActionListText(int index);
// A stored index beyond the list falls back to the first entry.
int32_t FittedActionIndex(int32_t stored, bool canLock);

struct ScreenSize {
    int32_t width;
    int32_t height;
};

// The single pixel of corner `hotCorner` (low byte 0..3: upper left, upper
// right, lower left, lower right); false for any other value.
bool InHotCorner(ScreenPoint p, int32_t hotCorner, ScreenSize screen);
bool OnScreenEdge(ScreenPoint p, ScreenSize screen);

struct CornerInput {
    TickCount now = 0;
    ScreenPoint cursor{0, 0};
    ScreenSize screen{0, 0};
    bool normalDesktop = false; // the list view hangs under "Progman"
};

class HotCornerWatch {
  public:
    // True when the corner action is to be performed now: once per arrival,
    // at once or after a second's rest there.
    bool Check(const Settings& settings, const CornerInput& in);
    // The cursor rests in the corner and the second's wait is running.
    bool Waiting() const { return deadline_.Armed(); }

  private:
    ScreenPoint lastPos_{-2, -2};
    Deadline deadline_;
};

struct EdgeInput {
    ScreenPoint cursor{0, 0};
    ScreenSize screen{0, 0};
    bool screenSaverRunning = false; // or unknown where the system cannot tell
    bool normalDesktop = false;
};

// Boss Mouse is on as the user sees it: checked, and not greyed, which its
// box is while the hot corner is off.
bool BossMouseOn(const Settings& settings);

class BossMouseWatch {
  public:
    // True when the action is to be performed now: once per contact with the
    // edges while on; the cursor must leave every edge before it acts again.
    bool Check(const EdgeInput& in, bool on);

  private:
    bool rearmed_ = true;
};

// Windows that the built-in "Show Desktop" minimises: visible, enabled
// top-level windows with caption, system menu and minimise box, not yet
// minimised, other than the program's own settings window.
struct EnumeratedWindow {
    bool isSettingsWindow = false;
    bool hasParent = false;
    uint32_t style = 0;
    bool enabled = false;
};

bool ShouldMinimize(const EnumeratedWindow& window);
// The window classes that "-kill" closes (exact, case-sensitive).
bool IsListedForKill(const std::string& className);

// Both checks of one tick. A corner pixel is also on two edges: when the
// corner acts, Boss Mouse counts the contact as used rather than repeating
// the action on the same tick, which for the desktop toggle would undo it.
class HideAllWindowsWatch {
  public:
    bool Check(const Settings& settings, const CornerInput& corner, const EdgeInput& edges);
    bool Waiting() const { return corner_.Waiting(); }

  private:
    HotCornerWatch corner_;
    BossMouseWatch edges_;
};
