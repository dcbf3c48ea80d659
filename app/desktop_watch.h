// The watchdog's decisions, apart from the windows they act on: when the
// live settings must be stored, and what to do once Explorer's "Progman"
// window has been replaced.
#pragma once

#include "settings/settings_record.h"

// A copy of the live record as last loaded or stored.
class SettingsSnapshot {
  public:
    void Take(const Settings& live) { copy_ = live; }
    // Whether `live` differs from the copy in any slot; the copy follows it.
    bool ChangedSinceLastLook(const Settings& live);

  private:
    Settings copy_{};
};

enum class DesktopAction {
    None,      // still the desktop we are attached to
    CountDown, // a new desktop that cannot be reached yet: one attempt used
    Reattach,  // reachable, or out of attempts: set the hook anew
};

inline constexpr int kReattachAttempts = 10;

// Counts the ticks spent waiting for a replaced desktop to become reachable.
class DesktopWatch {
  public:
    DesktopAction Decide(bool progmanReplaced, bool reachable);
    int AttemptsLeft() const { return attemptsLeft_; }

  private:
    int attemptsLeft_ = kReattachAttempts;
};
