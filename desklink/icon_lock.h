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
