#include "app/desktop_watch.h"

bool SettingsSnapshot::ChangedSinceLastLook(const Settings& live) {
    if (SameSettings(live, copy_))
        return false;
    copy_ = live;
    return true;
}

DesktopAction DesktopWatch::Decide(bool progmanReplaced, bool reachable) {
    if (!progmanReplaced)
        return DesktopAction::None;
    if (!reachable && attemptsLeft_ > 0) {
        --attemptsLeft_;
        return DesktopAction::CountDown;
    }
    attemptsLeft_ = kReattachAttempts;
    return DesktopAction::Reattach;
}
