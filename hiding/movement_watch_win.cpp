#include "hiding/movement_watch_win.h"

#include "base/handles.h"

namespace {

// The watch learns of input through raw input sent to a message-only window
// of the thread that started it. Raw input is posted, never waited for, so a
// program that does not run (suspended, stopped in a debugger, hung) holds up
// nobody's input; a low-level mouse hook would hold up the whole desktop's
// mouse, since every mouse input of the session waits for those hooks. Being
// posted, it needs no thread of its own either.
//
// The mouse and the keyboard are registered only while the watch is armed:
// input costs the program nothing while the tick runs at full speed. Raw input
// is registered per process and device class, so nothing else in the program
// may register the mouse or the keyboard.
constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kMouseUsage = 0x02;
constexpr USHORT kKeyboardUsage = 0x06;
constexpr char kSinkClass[] = "TessaraInputSink";

UniqueWindow g_sink;     // receives the raw input
HWND g_window = nullptr; // is told of the movement
bool g_armed = false;
bool g_listening = false;

DWORD LastInputTime() {
    LASTINPUTINFO info{sizeof info, 0};
    return GetLastInputInfo(&info) ? info.dwTime : 0;
}

bool RegisterMouseAndKeyboard(DWORD flags, HWND target) {
    const RAWINPUTDEVICE devices[] = {{kGenericDesktopPage, kMouseUsage, flags, target},
                                      {kGenericDesktopPage, kKeyboardUsage, flags, target}};
    return RegisterRawInputDevices(devices, ARRAYSIZE(devices), sizeof devices[0]) != FALSE;
}

// While on, mouse and keyboard input go to the sink as WM_INPUT, also while
// another program is in the foreground.
bool StartListening() {
    g_listening = RegisterMouseAndKeyboard(RIDEV_INPUTSINK, g_sink.get());
    return g_listening;
}

void StopListening() {
    if (g_listening)
        RegisterMouseAndKeyboard(RIDEV_REMOVE, nullptr);
    g_listening = false;
}

// Any use of the mouse wakes the tick, a move, a click or a turn of the
// wheel alike; so does a key. One message per arming.
void TellMovement() {
    g_armed = false;
    StopListening();
    PostMessageA(g_window, UM_CURSORMOVED, 0, 0);
}

// Input still queued from an earlier arming is not told again. DefWindowProc
// frees what a WM_INPUT holds.
LRESULT CALLBACK SinkProc(HWND sink, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INPUT && g_armed)
        TellMovement();
    return DefWindowProcA(sink, message, wParam, lParam);
}

HWND CreateSink() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = SinkProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kSinkClass;
    RegisterClassA(&windowClass); // fails harmlessly once registered
    return CreateWindowExA(0, kSinkClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                           nullptr);
}

} // namespace

void StartMovementWatch(HWND window) {
    if (g_sink)
        return;
    g_sink.reset(CreateSink());
    if (g_sink)
        g_window = window;
}

void StopMovementWatch() {
    g_armed = false;
    StopListening();
    g_sink.reset();
    g_window = nullptr;
}

// Input between the caller's last look and the listening is told by the time
// of the last input. A watch that cannot listen tells at once, so that the
// tick never rests without someone to wake it.
bool ArmMovementWatch() {
    if (!g_sink)
        return false;
    if (g_armed)
        return true;
    const DWORD lastInput = LastInputTime();
    g_armed = true;
    if (!StartListening() || LastInputTime() != lastInput)
        TellMovement();
    return true;
}
