#include "hiding/movement_watch_win.h"

#include "base/handles.h"

namespace {

// Every mouse movement on the system waits for the low-level hooks, so the
// hook runs on a thread that does nothing else, never behind the settings
// window's work.
struct MovementWatch {
    UniqueHandle thread;
    DWORD threadId = 0;
    bool hooked = false;
};

MovementWatch g_watch;
// Set before the thread starts and cleared after it has ended.
HWND g_window = nullptr;
LONG volatile g_armed = 0;

// Any use of the mouse wakes the tick, a move or a turn of the wheel alike.
LRESULT CALLBACK OnMouseInput(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && InterlockedExchange(&g_armed, 0))
        PostMessageA(g_window, UM_CURSORMOVED, 0, 0);
    return CallNextHookEx(nullptr, code, message, data);
}

struct ThreadStart {
    UniqueHandle ready;
    bool hooked = false;
};

DWORD WINAPI RunMovementWatch(void* parameter) {
    auto* start = static_cast<ThreadStart*>(parameter);
    UniqueHook hook(
        SetWindowsHookExA(WH_MOUSE_LL, OnMouseInput, GetModuleHandleA(nullptr), 0));
    MSG message;
    // The queue must exist before the starter may post WM_QUIT to it.
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    start->hooked = bool(hook);
    SetEvent(start->ready.get());
    if (!hook)
        return 0;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}

} // namespace

void StartMovementWatch(HWND window) {
    if (g_watch.thread)
        return;
    ThreadStart start;
    start.ready.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!start.ready)
        return;
    g_window = window;
    g_watch.thread.reset(
        CreateThread(nullptr, 0, RunMovementWatch, &start, 0, &g_watch.threadId));
    if (!g_watch.thread)
        return;
    // The thread only installs its hook before it answers.
    WaitForSingleObject(start.ready.get(), INFINITE);
    g_watch.hooked = start.hooked;
}

void StopMovementWatch() {
    if (!g_watch.thread)
        return;
    InterlockedExchange(&g_armed, 0);
    PostThreadMessageA(g_watch.threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(g_watch.thread.get(), INFINITE);
    g_watch = MovementWatch{};
    g_window = nullptr;
}

bool ArmMovementWatch() {
    if (!g_watch.hooked)
        return false;
    InterlockedExchange(&g_armed, 1);
    return true;
}
