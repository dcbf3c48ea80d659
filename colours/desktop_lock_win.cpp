#include "colours/desktop_lock_win.h"

#include "desklink/desk_link.h"

#include <atomic>

namespace {

// Only the wallpaper worker takes the lock, one run at a time.
std::atomic<bool> g_locked{false};

void Lock() {
    LockWindowUpdate(DesktopListView());
}

void Unlock() {
    LockWindowUpdate(nullptr);
}

} // namespace

DesktopDrawingLock::DesktopDrawingLock() {
    Lock();
    g_locked = true;
}

DesktopDrawingLock::~DesktopDrawingLock() {
    g_locked = false;
    Unlock();
}

DesktopDrawnWhileAsking::DesktopDrawnWhileAsking() : wasLocked_(g_locked) {
    if (wasLocked_)
        Unlock();
}

DesktopDrawnWhileAsking::~DesktopDrawnWhileAsking() {
    if (wasLocked_)
        Lock();
}
