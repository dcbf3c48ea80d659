// The wallpaper worker keeps the desktop list view from drawing while it
// changes the wallpaper and the caption colours (LockWindowUpdate), so that
// the desktop repaints once. A message box of that run must not wait with the
// desktop locked: the desktop would stay unpainted until it is answered.
#pragma once

#include <windows.h>

class DesktopDrawingLock {
  public:
    DesktopDrawingLock();
    ~DesktopDrawingLock();
    DesktopDrawingLock(const DesktopDrawingLock&) = delete;
    DesktopDrawingLock& operator=(const DesktopDrawingLock&) = delete;
};

// Around a message box of the run: the desktop draws while the box waits and
// is locked again afterwards, when the worker holds the lock.
class DesktopDrawnWhileAsking {
  public:
    DesktopDrawnWhileAsking();
    ~DesktopDrawnWhileAsking();
    DesktopDrawnWhileAsking(const DesktopDrawnWhileAsking&) = delete;
    DesktopDrawnWhileAsking& operator=(const DesktopDrawnWhileAsking&) = delete;

  private:
    bool wasLocked_;
};
