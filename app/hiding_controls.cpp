#include "app/hiding_controls.h"

#include <commctrl.h>

#include "app/page_context.h"
#include "base/timers.h"
#include "desklink/desk_link.h"
#include "desklink/menu_state.h"
#include "hiding/corner_actions.h"
#include "hiding/corner_actions_win.h"
#include "hiding/cursor_tracker_win.h"
#include "hiding/window_fade_win.h"
#include "settings/settings.h"
#include "ui/resource.h"
#include "ui/settings_pages.h"
#include "ui/settings_pages_win.h"

namespace {

constexpr int kHidingModes[] = {IDC_HIDE_BY_CURSOR, IDC_HIDE_ALWAYS, IDC_NEVER_HIDE};

// Greyed while an always-hide count-down runs.
constexpr int kClickShowControls[] = {IDC_CLICK_SHOW_TIME,     IDC_SHOW_ON_DESKTOP_CLICK,
                                      IDC_CLICK_SHOW_NOTE,     IDC_CLICK_SHOW_TIME_MIN,
                                      IDC_CLICK_SHOW_TIME_MAX, IDC_CLICK_SHOW_TIME_VALUE};

bool Checked(HWND window, int id) {
    return IsDlgButtonChecked(window, id) == BST_CHECKED;
}

TrackingView ReadTrackingView(HWND window) {
    TrackingView view;
    view.alwaysRadioChecked = Checked(window, IDC_HIDE_ALWAYS);
    view.hidingTabSelected = CurrentTab() == SettingsTab::Hiding;
    view.clickSliderPosition =
        static_cast<int>(SendDlgItemMessageA(window, IDC_CLICK_SHOW_TIME, TBM_GETPOS, 0, 0));
    return view;
}

void SetCountdownText(HWND window, const std::string& text) {
    HWND label = GetDlgItem(window, IDC_CLICK_COUNTDOWN_TEXT);
    SetWindowTextA(label, text.c_str());
    InvalidateRect(label, nullptr, TRUE);
}

void ShowCountdownControls(HWND window, bool shown) {
    const int show = shown ? SW_SHOW : SW_HIDE;
    ShowWindow(GetDlgItem(window, IDC_CLICK_COUNTDOWN_TEXT), show);
    ShowWindow(GetDlgItem(window, IDC_CLICK_COUNTDOWN_BAR), show);
}

void EnableClickShowControls(HWND window, bool enabled) {
    for (int id : kClickShowControls)
        EnableWindow(GetDlgItem(window, id), enabled);
}

void ShowCountdown(HWND window, const CountdownView& countdown) {
    HWND bar = GetDlgItem(window, IDC_CLICK_COUNTDOWN_BAR);
    SendMessageA(bar, PBM_SETRANGE32, 0, countdown.range);
    SendMessageA(bar, PBM_SETPOS, countdown.left, 0);
    SetCountdownText(window, CountdownText(countdown.left));
    ShowCountdownControls(window, true);
    UpdateWindow(GetDlgItem(window, IDC_CLICK_COUNTDOWN_TEXT));
}

void ApplyCountdown(HWND window, const TickActions& actions) {
    if (actions.showCountdown)
        ShowCountdown(window, actions.countdown);
    if (actions.countdownFinished) {
        SetCountdownText(window, "");
        ShowCountdownControls(window, false);
        EnableClickShowControls(window, true);
    } else if (actions.disableClickControls) {
        EnableClickShowControls(window, false);
    }
}

void Tick(HWND window) {
    ApplyCountdown(window, TrackCursor(window, ReadTrackingView(window), GetTickCount()));
}

} // namespace

void StartHiding(HWND window) {
    if (g_settings.WindowFading)
        StartWindowFading(window);
    UpdateTrackingTimer(window);
    ApplyHidingMode();
}

void FillCornerActionList(HWND window) {
    HWND combo = GetDlgItem(window, IDC_HOT_CORNER_ACTION);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    const bool canLock = CanLockWorkstation();
    for (int i = 0; i < ActionListLength(canLock); ++i)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ActionListText(i)));
    g_settings.HotCornerAction = FittedActionIndex(g_settings.HotCornerAction, canLock);
    SendMessageA(combo, CB_SETCURSEL, WPARAM(g_settings.HotCornerAction), 0);
}

void StopHiding(HWND window) {
    StopCursorTracking(window);
    StopWindowFading(window);
    ShowTaskbar();
}

bool RunHidingTimer(HWND window, UINT_PTR timer) {
    switch (timer) {
    case timers::CursorTracking:
        Tick(window);
        return true;
    case timers::CursorIdle:
        CursorIdleExpired(window);
        return true;
    case timers::TaskbarRehide:
        RecheckTaskbar(window);
        return true;
    case timers::FadePoll:
        WatchCloseBox(window);
        return true;
    case timers::Fade:
        FadeStep(window);
        return true;
    }
    return false;
}

void SetHidingMode(HWND window, int modeId) {
    g_settings.HideByCursor = modeId == IDC_HIDE_BY_CURSOR ? 1 : 0;
    g_settings.HideAlways = modeId == IDC_HIDE_ALWAYS ? 1 : 0;
    for (int id : kHidingModes)
        CheckDlgButton(window, id, id == modeId ? BST_CHECKED : BST_UNCHECKED);
    PublishMenuState(g_settings);
    UpdateTrackingTimer(window);
    ApplyHidingMode();
    if (modeId == IDC_NEVER_HIDE)
        ShowTaskbar();
    RefreshSettingsPage(window);
}
