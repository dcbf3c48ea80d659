#include "hiding/cursor_tracker_win.h"

#include "base/timers.h"
#include "deskhook/shared_names.h"
#include "desklink/desk_link.h"
#include "hiding/corner_actions_win.h"
#include "hiding/movement_watch_win.h"
#include "settings/settings.h"

namespace {

CursorTracker g_tracker;
bool g_resting = false;

HWND Taskbar() {
    return FindWindowA(names::TaskbarClass, nullptr);
}

ScreenPoint ToScreenPoint(POINT p) {
    return ScreenPoint{p.x, p.y};
}

// A missing taskbar counts as the cursor not being over it.
bool CursorOverTaskbar(POINT cursor) {
    HWND taskbar = Taskbar();
    RECT rect{};
    return taskbar && GetWindowRect(taskbar, &rect) && PtInRect(&rect, cursor);
}

// "Progman", the list view, its parent the desktop view, or any other child
// of that desktop view.
bool CursorOnDesktop(POINT cursor) {
    HWND under = WindowFromPoint(cursor);
    if (!under)
        return false;
    HWND listView = DesktopListView();
    HWND defView = listView ? GetParent(listView) : nullptr;
    if (under == listView || (defView && (under == defView || GetParent(under) == defView)))
        return true;
    return under == FindWindowA(names::ProgmanClass, nullptr);
}

// The pointer as the desktop side shows it; shown while nothing is attached.
bool PointerShown() {
    const SharedBlock* block = DeskBlock();
    return !block || !block->ListHooked || block->CursorShown;
}

bool MouseMovedOverIcons() {
    const SharedBlock* block = DeskBlock();
    return block && block->MouseMoved;
}

void ClearMouseMoved() {
    if (SharedBlock* block = DeskBlock())
        InterlockedExchange(&block->MouseMoved, 0);
}

// A toggle that got no answer leaves CursorShown as it was, so the next tick
// or timer asks again.
void TogglePointer() {
    bool shownAfter = true;
    ToggleDesktopCursor(shownAfter);
}

void ApplyPointerActions(HWND window, const TickActions& actions) {
    if (actions.stopPointerTimer)
        KillTimer(window, timers::CursorIdle);
    if (actions.showPointer)
        TogglePointer();
    if (actions.startPointerTimer)
        SetTimer(window, timers::CursorIdle, kPointerIdleMs, nullptr);
}

void PeekTaskbar(HWND window) {
    ShowTaskbar();
    SetTimer(window, timers::TaskbarRehide, kTaskbarRecheckMs, nullptr);
}

void ApplyIconActions(const TickActions& actions) {
    if (actions.showIcons) {
        ShowDesktopWindow(DesktopListView(), SW_SHOWNA);
        ShowTaskbar();
    }
    if (actions.showTaskbar)
        ShowTaskbar();
    if (actions.hideIcons)
        HideDesktopIcons(g_settings.HideTaskbar);
    if (actions.clearMouseMoved)
        ClearMouseMoved();
}

bool TrackingWanted() {
    return g_settings.HideByCursor || g_settings.HotCornerEnabled || g_settings.HideAlways;
}

void SetTrackingPeriod(HWND settingsWindow, bool resting) {
    g_resting = resting;
    SetTimer(settingsWindow, timers::CursorTracking, resting ? kRestingPeriodMs : kTrackingPeriodMs,
             nullptr);
}

// A still cursor with nothing pending slows the tick down until the movement
// watch sees the mouse move; the slow tick still notices a cursor that a
// program moved without input.
void RestWhileStill(HWND settingsWindow, bool canRest) {
    // The watch tells one movement per arming.
    const bool rest = canRest && ArmMovementWatch();
    if (rest != g_resting)
        SetTrackingPeriod(settingsWindow, rest);
}

} // namespace

void UpdateTrackingTimer(HWND settingsWindow) {
    if (!TrackingWanted()) {
        StopCursorTracking(settingsWindow);
        return;
    }
    StartMovementWatch(settingsWindow);
    SetTrackingPeriod(settingsWindow, false);
}

void StopCursorTracking(HWND settingsWindow) {
    KillTimer(settingsWindow, timers::CursorTracking);
    StopMovementWatch();
    g_resting = false;
}

// The watch tells of a movement as soon as it sees one: the next tick, a
// period later, reads where the cursor went.
void WakeTracking(HWND settingsWindow) {
    if (g_resting && TrackingWanted())
        SetTrackingPeriod(settingsWindow, false);
}

void ApplyHidingMode() {
    if (g_settings.HideAlways) {
        HideDesktopIcons(g_settings.HideTaskbar);
        return;
    }
    ShowDesktopWindow(DesktopListView(), SW_SHOW);
    ShowTaskbar();
}

void ShowTaskbar() {
    ShowDesktopWindow(Taskbar(), SW_SHOW);
}

void HideTaskbarWindow() {
    ShowDesktopWindow(Taskbar(), SW_HIDE);
}

TickActions TrackCursor(HWND settingsWindow, const TrackingView& view, DWORD now) {
    POINT cursor{};
    GetCursorPos(&cursor);
    TickInput in;
    in.now = now;
    in.cursor = ToScreenPoint(cursor);
    // Window look-ups cost a round trip each: only what the mode reads.
    in.onDesktop = g_settings.HideByCursor && CursorOnDesktop(cursor);
    in.overTaskbar = CursorOverTaskbar(cursor);
    in.pointerShown = PointerShown();
    in.alwaysRadioChecked = view.alwaysRadioChecked;
    in.iconsVisible = g_settings.HideAlways && IsWindowVisible(DesktopListView());
    in.mouseMovedOverIcons = MouseMovedOverIcons();
    in.hidingTabSelected = view.hidingTabSelected;
    in.clickSliderPosition = view.clickSliderPosition;
    const TickActions actions = g_tracker.Tick(g_settings, in);

    ApplyPointerActions(settingsWindow, actions);
    if (actions.peekTaskbar)
        PeekTaskbar(settingsWindow);
    CheckCornerAndEdges(settingsWindow, in.cursor, now);
    ApplyIconActions(actions);
    RestWhileStill(settingsWindow, actions.canRest && !CornerWaiting());
    return actions;
}

void RecheckTaskbar(HWND settingsWindow) {
    KillTimer(settingsWindow, timers::TaskbarRehide);
    POINT cursor{};
    GetCursorPos(&cursor);
    TaskbarState state;
    state.hideTaskbar = g_settings.HideTaskbar != 0;
    state.taskbarVisible = IsWindowVisible(Taskbar()) != FALSE;
    state.iconsVisible = IsWindowVisible(DesktopListView()) != FALSE;
    state.cursorOverTaskbar = CursorOverTaskbar(cursor);
    switch (RecheckTaskbarDecision(state)) {
    case TaskbarRecheck::Again:
        SetTimer(settingsWindow, timers::TaskbarRehide, kTaskbarRecheckMs, nullptr);
        break;
    case TaskbarRecheck::Hide:
        HideTaskbarWindow();
        break;
    case TaskbarRecheck::Stop:
        break;
    }
}

void CursorIdleExpired(HWND settingsWindow) {
    KillTimer(settingsWindow, timers::CursorIdle);
    if (g_tracker.PointerIdleExpired(g_settings, PointerShown())) {
        RefreshDesktopListView();
        TogglePointer();
    }
}
