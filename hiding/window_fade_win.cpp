#include "hiding/window_fade_win.h"

#include <string>

#include "base/system_functions.h"
#include "base/timers.h"
#include "deskhook/shared_names.h"
#include "desklink/desk_link.h"
#include "hiding/window_fade.h"

namespace {

WindowFader g_fader;

constexpr char kDialogClass[] = "#32770";
constexpr int kClassNameLength = 200;

HWND ToWindow(WindowId id) {
    return reinterpret_cast<HWND>(id);
}

bool CanFade() {
    return g_system.SetLayeredWindowAttributes != nullptr;
}

void SetAlpha(HWND window, BYTE alpha) {
    g_system.SetLayeredWindowAttributes(window, 0, alpha, LWA_ALPHA);
}

uint32_t ExStyle(HWND window) {
    return static_cast<uint32_t>(GetWindowLongA(window, GWL_EXSTYLE));
}

bool IsDialog(HWND window) {
    char name[kClassNameLength + 1] = "";
    GetClassNameA(window, name, sizeof name);
    return std::string(name) == kDialogClass;
}

// A dialog box is faded itself, anything else as its top-level window.
HWND FadeCandidate(HWND under) {
    if (!under || IsDialog(under))
        return under;
    while (HWND parent = GetParent(under))
        under = parent;
    return under;
}

bool OverCloseBox(HWND window, POINT cursor) {
    RECT rect{};
    if (!window || !GetWindowRect(window, &rect))
        return false;
    const FrameMetrics metrics{GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME),
                               GetSystemMetrics(SM_CXSIZE), GetSystemMetrics(SM_CYSIZE)};
    return CloseBoxRect({rect.left, rect.top, rect.right, rect.bottom}, metrics)
        .Contains({cursor.x, cursor.y});
}

bool IsDesktop(HWND window) {
    HWND listView = DesktopListView();
    return window == FindWindowA(names::ProgmanClass, nullptr) ||
           (listView && (window == listView || window == GetParent(listView)));
}

void Restore(const FadeRestore& restore) {
    HWND window = ToWindow(restore.window);
    if (CanFade())
        SetAlpha(window, kOpaque);
    SetWindowLongA(window, GWL_EXSTYLE, static_cast<LONG>(restore.exStyle));
    InvalidateRect(restore.repaintAll ? nullptr : window, nullptr, TRUE);
}

void BeginFade(HWND settingsWindow, HWND window, uint32_t layeredExStyle) {
    SetAlpha(window, kOpaque);
    SetWindowLongA(window, GWL_EXSTYLE, static_cast<LONG>(layeredExStyle));
    SetTimer(settingsWindow, timers::Fade, kFadeStepMs, nullptr);
}

} // namespace

void StartWindowFading(HWND settingsWindow) {
    SetTimer(settingsWindow, timers::FadePoll, kCloseBoxWatchMs, nullptr);
}

void StopWindowFading(HWND settingsWindow) {
    KillTimer(settingsWindow, timers::FadePoll);
    KillTimer(settingsWindow, timers::Fade);
    if (auto restore = g_fader.Release())
        Restore(*restore);
}

void WatchCloseBox(HWND settingsWindow) {
    POINT cursor{};
    GetCursorPos(&cursor);
    CloseBoxInput in;
    in.canFade = CanFade();
    in.cursor = {cursor.x, cursor.y};
    if (in.canFade) {
        HWND candidate = FadeCandidate(WindowFromPoint(cursor));
        if (OverCloseBox(candidate, cursor)) {
            in.hit = reinterpret_cast<WindowId>(candidate);
            in.hitIsDesktop = IsDesktop(candidate);
            in.hitExStyle = ExStyle(candidate);
        }
    }
    const CloseBoxActions actions = g_fader.Watch(in);
    if (actions.restore)
        Restore(*actions.restore);
    if (actions.startFade)
        BeginFade(settingsWindow, ToWindow(in.hit), actions.layeredExStyle);
}

void FadeStep(HWND settingsWindow) {
    HWND window = ToWindow(g_fader.FadeWindow());
    const bool stillLayered = (ExStyle(window) & kLayeredExStyle) != 0;
    const FadeStepResult step = g_fader.Step(CanFade(), stillLayered);
    if (step.alpha)
        SetAlpha(window, *step.alpha);
    if (step.stop)
        KillTimer(settingsWindow, timers::Fade);
}
