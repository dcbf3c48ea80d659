// The icon lock: one process-wide re-entrant lock held around every request
// and answer through the shared block, and around every icon move. The block
// has a single request slot of each kind, so two exchanges must never overlap.
#pragma once

class IconLock {
  public:
    IconLock();
    ~IconLock();
    IconLock(const IconLock&) = delete;
    IconLock& operator=(const IconLock&) = delete;
};

// Marks a walk over the icons (a save, a restore) on the calling thread.
// Waiting on the desktop can let messages sent to this thread in; handlers
// that would end or redo the walk (WM_CLOSE, WM_DISPLAYCHANGE) ask
// IconWorkRunning and come back once it is over.
class IconWork {
  public:
    IconWork();
    ~IconWork();
    IconWork(const IconWork&) = delete;
    IconWork& operator=(const IconWork&) = delete;
};

bool IconWorkRunning();
