#include "hiding/movement_watch_win.h"

#include "base/handles.h"

namespace {

// The watch polls the time of the last input and the cursor position rather
// than hooking the mouse: every mouse input of the session waits for the
// low-level mouse hooks, so a hook in this program would hold up the whole
// desktop's mouse whenever the program does not run (suspended, stopped in a
// debugger, hung), and Windows removes a hook that keeps it waiting for good.
// While it is not armed the thread sleeps without a time-out.
constexpr DWORD kPollMs = 50;

struct MovementWatch {
    UniqueHandle thread;
    UniqueHandle armed; // auto-reset: a new arming wakes the thread
    UniqueHandle stop;
};

MovementWatch g_watch;
// Set before the thread starts and cleared after it has ended.
HWND g_window = nullptr;
LONG volatile g_armed = 0;
// What the mouse looked like when the watch was armed.
LONG volatile g_lastInput = 0;
LONG volatile g_cursorX = 0;
LONG volatile g_cursorY = 0;

DWORD LastInputTime() {
    LASTINPUTINFO info{sizeof info, 0};
    return GetLastInputInfo(&info) ? info.dwTime : 0;
}

POINT CursorNow() {
    POINT cursor{};
    GetCursorPos(&cursor);
    return cursor;
}

// Any use of the mouse wakes the tick, a move, a click or a turn of the
// wheel alike; so does a key.
bool MouseUsedSinceArmed() {
    const POINT cursor = CursorNow();
    return LONG(LastInputTime()) != g_lastInput || cursor.x != g_cursorX ||
           cursor.y != g_cursorY;
}

// Armed: polls until the mouse is used, the arming is taken back or the
// watch stops. False when it stops.
bool WatchWhileArmed() {
    while (WaitForSingleObject(g_watch.stop.get(), kPollMs) == WAIT_TIMEOUT) {
        if (!g_armed)
            return true;
        if (MouseUsedSinceArmed()) {
            if (InterlockedExchange(&g_armed, 0))
                PostMessageA(g_window, UM_CURSORMOVED, 0, 0);
            return true;
        }
    }
    return false;
}

DWORD WINAPI RunMovementWatch(void*) {
    const HANDLE events[] = {g_watch.stop.get(), g_watch.armed.get()};
    while (WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 + 1)
        if (!WatchWhileArmed())
            break;
    return 0;
}

} // namespace

void StartMovementWatch(HWND window) {
    if (g_watch.thread)
        return;
    g_watch.armed.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    g_watch.stop.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!g_watch.armed || !g_watch.stop) {
        g_watch = MovementWatch{};
        return;
    }
    g_window = window;
    g_watch.thread.reset(CreateThread(nullptr, 0, RunMovementWatch, nullptr, 0, nullptr));
    if (!g_watch.thread)
        g_watch = MovementWatch{};
}

void StopMovementWatch() {
    if (!g_watch.thread)
        return;
    InterlockedExchange(&g_armed, 0);
    SetEvent(g_watch.stop.get());
    WaitForSingleObject(g_watch.thread.get(), INFINITE);
    g_watch = MovementWatch{};
    g_window = nullptr;
}

bool ArmMovementWatch() {
    if (!g_watch.thread)
        return false;
    const POINT cursor = CursorNow();
    g_lastInput = LONG(LastInputTime());
    g_cursorX = cursor.x;
    g_cursorY = cursor.y;
    InterlockedExchange(&g_armed, 1);
    SetEvent(g_watch.armed.get());
    return true;
}
