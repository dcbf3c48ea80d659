#include "desklink/icon_lock.h"

#include <windows.h>

namespace {

// Initialised on first use (thread-safe), before any worker thread can need
// it, and never deleted: worker threads may still take it during shutdown.
CRITICAL_SECTION& Lock() {
    static CRITICAL_SECTION* lock = [] {
        auto* section = new CRITICAL_SECTION;
        InitializeCriticalSection(section);
        return section;
    }();
    return *lock;
}

} // namespace

thread_local int t_iconWorkDepth = 0;

IconWork::IconWork() {
    ++t_iconWorkDepth;
}

IconWork::~IconWork() {
    --t_iconWorkDepth;
}

bool IconWorkRunning() {
    return t_iconWorkDepth > 0;
}

IconLock::IconLock() {
    EnterCriticalSection(&Lock());
}

IconLock::~IconLock() {
    LeaveCriticalSection(&Lock());
}
