#include "hiding/movement_watch_win.h"

#include "base/handles.h"

namespace {

// The watch learns of input through raw input sent to a message-only window
// of its own thread. Raw input is posted, never waited for, so a program that
// does not run (suspended, stopped in a debugger, hung) holds up nobody's
// input; a low-level mouse hook would hold up the whole desktop's mouse, since
// every mouse input of the session waits for those hooks.
//
// The mouse and the keyboard are registered only while the watch is armed:
// input costs the program nothing while the tick runs at full speed. Raw input
// is registered per process and device class, so nothing else in the program
// may register the mouse or the keyboard.
constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kMouseUsage = 0x02;
constexpr USHORT kKeyboardUsage = 0x06;

struct MovementWatch {
    UniqueHandle thread;
    UniqueHandle armed; // auto-reset: a new arming wakes the thread
    UniqueHandle stop;
};

MovementWatch g_watch;
// Set before the thread starts and cleared after it has ended.
HWND g_window = nullptr;
LONG volatile g_armed = 0;
// The time of the last input when the watch was armed.
LONG volatile g_lastInput = 0;

DWORD LastInputTime() {
    LASTINPUTINFO info{sizeof info, 0};
    return GetLastInputInfo(&info) ? info.dwTime : 0;
}

bool RegisterMouseAndKeyboard(DWORD flags, HWND target) {
    const RAWINPUTDEVICE devices[] = {{kGenericDesktopPage, kMouseUsage, flags, target},
                                      {kGenericDesktopPage, kKeyboardUsage, flags, target}};
    return RegisterRawInputDevices(devices, ARRAYSIZE(devices), sizeof devices[0]) != FALSE;
}

// While on, mouse and keyboard input go to `sink` as WM_INPUT, also while
// another program is in the foreground. Off again at the latest when the
// object ends.
class InputListening {
  public:
    explicit InputListening(HWND sink) : sink_(sink) {}
    ~InputListening() { Stop(); }
    InputListening(const InputListening&) = delete;
    InputListening& operator=(const InputListening&) = delete;

    bool Start() {
        on_ = sink_ && RegisterMouseAndKeyboard(RIDEV_INPUTSINK, sink_);
        return on_;
    }
    void Stop() {
        if (on_)
            RegisterMouseAndKeyboard(RIDEV_REMOVE, nullptr);
        on_ = false;
    }
    bool On() const { return on_; }

  private:
    HWND sink_;
    bool on_ = false;
};

// Any use of the mouse wakes the tick, a move, a click or a turn of the
// wheel alike; so does a key. One message per arming.
void TellMovement() {
    if (InterlockedExchange(&g_armed, 0))
        PostMessageA(g_window, UM_CURSORMOVED, 0, 0);
}

// Dispatches what the thread received; true when raw input was among it.
// DefWindowProc frees what a WM_INPUT holds.
bool DispatchReceived() {
    bool input = false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        input = input || msg.message == WM_INPUT;
        DispatchMessageA(&msg);
    }
    return input;
}

// Input received before the arming is dropped before listening starts; input
// between the arming and the listening is told by the time of the last input.
// A watch that cannot listen tells at once, so that the tick never rests
// without someone to wake it.
DWORD WINAPI RunMovementWatch(void*) {
    UniqueWindow sink(CreateWindowExA(0, "Message", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      nullptr, nullptr));
    InputListening listening(sink.get());
    const HANDLE events[] = {g_watch.stop.get(), g_watch.armed.get()};
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjectsEx(ARRAYSIZE(events), events, INFINITE,
                                                        QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken != WAIT_OBJECT_0 + 1 && woken != WAIT_OBJECT_0 + ARRAYSIZE(events))
            break;
        if (DispatchReceived() && listening.On())
            TellMovement();
        if (g_armed && !listening.On() &&
            (!listening.Start() || LONG(LastInputTime()) != g_lastInput))
            TellMovement();
        if (!g_armed)
            listening.Stop();
    }
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
    if (g_armed)
        return true;
    g_lastInput = LONG(LastInputTime());
    InterlockedExchange(&g_armed, 1);
    SetEvent(g_watch.armed.get());
    return true;
}
