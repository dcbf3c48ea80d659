#include "app/settings_window.h"

#include "app/color_notes.h"
#include "app/commands.h"
#include "app/hiding_controls.h"
#include "app/icon_restore.h"
#include "app/page_clicks.h"
#include "app/page_context.h"
#include "app/static_colors.h"
#include "app/test_mode.h"
#include "app/tray_win.h"
#include "app/typed_word.h"
#include "app/watchdog.h"
#include "app/window_geometry.h"
#include "app/window_layout.h"
#include "app/window_lifecycle.h"
#include "base/app_state.h"
#include "base/instance_data.h"
#include "base/timers.h"
#include "colours/caption_colors_win.h"
#include "colours/color_notes_win.h"
#include "colours/wallpaper_analysis_win.h"
#include "deskhook/shared_names.h"
#include "desklink/desk_link.h"
#include "desklink/icon_lock.h"
#include "hiding/corner_actions_win.h"
#include "hiding/cursor_tracker_win.h"
#include "hiding/movement_watch_win.h"
#include "icons/icon_positions.h"
#include "settings/settings.h"
#include "support/display_properties_win.h"
#include "testmode/test_browser_win.h"
#include "ui/custom_controls_win.h"
#include "ui/resource.h"
#include "ui/settings_pages_win.h"
#include "ui/sliders.h"

#include <commctrl.h>

#include <windowsx.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace {

// Dialog procedures report a message's result through DWLP_MSGRESULT.
INT_PTR Result(HWND window, LRESULT result) {
    SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
}

// The keyboard starts on the tab control; the tab key then goes through the
// page in reading order and the buttons under it (the tab control is the
// last window of the z-order, so that it never paints over the pages).
INT_PTR OnInitDialog(HWND window, LPARAM lParam) {
    InitialiseSettingsWindow(window, *reinterpret_cast<const RememberedPlace*>(lParam));
    PreparePageMouse(window);
    SetFocus(GetDlgItem(window, IDC_TABS));
    return FALSE;
}

// The message comes again, from the message loop, once the icon work that a
// send of ours let it into has ended.
bool DeferredUntilIconWorkEnds(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IconWorkRunning())
        return false;
    PostMessageA(window, message, wParam, lParam);
    return true;
}

// The program ends in one place: the shutdown closes the hidden window, whose
// destruction takes this window (it owns it) along and ends the message loop.
void OnDestroy(HWND window) {
    if (SharedSettingsWindow() == window)
        SetSharedSettingsWindow(nullptr);
}

void PollDropShadowSetting(HWND window) {
    const colors::DropShadowPollStep step =
        PollDropShadows(window, CurrentTab() == SettingsTab::Colors);
    if (step.stopDance)
        SendMessageA(window, WM_COMMAND, IDM_ICON_DANCE, 0);
    if (step.stopTimer)
        KillTimer(window, timers::DropShadowPoll);
    RefreshSettingsPage(window);
}

// A change refused while the cache was held gets its run now, unless it was
// only the echo of the worker's own changes.
void ReleaseWallpaperCacheFor(HWND window) {
    if (ReleaseWallpaperCache(window) && WallpaperWorkOutdated())
        StartWallpaperWorker(window);
}

void OnTimer(HWND window, UINT_PTR timer) {
    if (timer == timers::Watchdog)
        WatchdogTick(window);
    else if (timer == timers::DeferredStart)
        RunDeferredStart(window);
    else if (timer == kCacheReleaseTimer)
        ReleaseWallpaperCacheFor(window);
    else if (timer == timers::DropShadowPoll)
        PollDropShadowSetting(window);
    else if (!RunHidingTimer(window, timer) && !RunTestTimer(window, timer))
        KillTimer(window, timer);
}

INT_PTR OnSysCommand(HWND window, WPARAM command) {
    switch (command & 0xFFF0) {
    case SC_MINIMIZE:
        return RunCommand(window, IDC_HIDE_WINDOW, 0);
    case SC_CLOSE:
        return RunCommand(window, IDM_CLOSE_ACTION, 0);
    }
    return FALSE;
}

void OnMove(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const Corner corner = RememberedCorner({rect.left, rect.top});
    g_settings.WindowLeft = corner.x;
    g_settings.WindowTop = corner.y;
    ShowDesktopUnderSample(window);
    KeepDisplayPropertiesDocked(window);
}

// A new resolution gets its own icon places back, or keeps the current ones
// for next time. Save and restore take the icon lock only around their walks
// over the icons, so their questions are asked with the lock free.
void OnDisplayChange(HWND window) {
    ForgetScreenSize();
    if (g_settings.AutoRestorePositions == 1) {
        if (SavedIconSetExists())
            RestoreIconsForWindow(window);
        else
            SaveIconPositions(window, AutoArrangeQuestion::Ask);
    }
    SendMessageA(window, UM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
}

void OnHotKey(HWND window, int hotKey) {
    switch (hotKey) {
    case kHotKeyShowHide:
        SendMessageA(window, UM_TRAYNOTIFY, 0, WM_LBUTTONDOWN);
        break;
    case kHotKeyShowIcons:
        if (g_settings.HideAlways == 1) {
            ShowDesktopWindow(DesktopListView(), SW_SHOW);
            ShowTaskbar();
        }
        break;
    case kHotKeyCycleLayout:
        RunCommand(window, IDC_NEXT_BACKGROUND_FORMAT, 0);
        break;
    case kHotKeyPosition:
        RunCommand(window, IDM_CYCLE_POSITIONS, 0);
        break;
    }
}

// The desktop passes on its setting changes: a new wallpaper or desktop
// setting gets the wallpaper worker, a drop-shadow change the poll.
void OnDesktopSettingChange(HWND window, WPARAM what) {
    RefreshDesktopListView();
    InterlockedIncrement(&g_app.desktopChangeCount);
    if (what == 0 || what == SPI_SETDESKWALLPAPER || what == SPI_SETDESKPATTERN) {
        StartWallpaperWorker(window);
    } else if (what == SPI_SETCURSORSHADOW) {
        SetTimer(window, timers::DropShadowPoll, timers::DropShadowPollMs, nullptr);
        if (CurrentTab() == SettingsTab::About)
            RedrawWindow(window, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}

// A delay slider moved: its position is the setting, and its label says so.
void OnHScroll(HWND window, HWND control) {
    const int id = GetDlgCtrlID(control);
    for (const Slider& slider : SettingsSliders()) {
        if (slider.id != id)
            continue;
        const int value = static_cast<int>(SendMessageA(control, TBM_GETPOS, 0, 0));
        g_settings.*slider.field = value;
        HWND label = GetDlgItem(window, slider.valueLabelId);
        SetWindowTextA(label, SliderValueText(slider, value).c_str());
        InvalidateRect(label, nullptr, TRUE);
    }
    if (id == IDC_TEST_INTERVAL)
        TakeSlideInterval(control);
}

void OnNotify(HWND window, const NMHDR& header) {
    if (header.idFrom == IDC_TABS && header.code == TCN_SELCHANGE)
        RefreshSettingsPage(window);
}

void OnMouseMove(HWND window, LPARAM lParam) {
    const POINT cursor{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    UpdateColorBoxHint(window, cursor);
    UpdateLinkHover(window, cursor);
    UpdateDisplayLinkHover(window, cursor);
}

// Moved to a screen of another DPI: the system suggests the new place, and
// the pixel figures of the layout follow.
void OnDpiChanged(HWND window, WPARAM wParam, const RECT& suggested) {
    FollowDpiChange(window, HIWORD(wParam), suggested);
    PlaceAboutArea(SettingsWindowDpi());
}

// Typing the word on the window switches the development test mode.
void OnKeyDown(HWND window, WPARAM key) {
    static TypedWord testModeWord(kTestModeWord);
    if (testModeWord.Feed(static_cast<unsigned>(key & 0xFF)))
        ToggleTestMode(window);
    RunTestKey(window, key);
}

// Start-up registers only the tab classes; without a Common Controls 6
// manifest the pages' sliders, tool tips, progress bars and hot key fields
// need their classes registered as well before the template is read.
void RegisterPageControlClasses() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                                       ICC_PROGRESS_CLASS | ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&controls);
}

} // namespace

INT_PTR CALLBACK SettingsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == g_app.taskbarCreatedMessage && message != 0) {
        ReAddTrayIcon(window);
        return TRUE;
    }
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(window, lParam);
    case WM_CLOSE:
        if (!DeferredUntilIconWorkEnds(window, message, wParam, lParam))
            ShutDownSettingsWindow(window, ShutdownCause::Close);
        return TRUE;
    case WM_ENDSESSION:
        ShutDownSettingsWindow(window, ShutdownCause::EndSession);
        return Result(window, 0);
    case WM_DESTROY:
        OnDestroy(window);
        return TRUE;
    case WM_TIMER:
        OnTimer(window, wParam);
        return TRUE;
    case WM_COMMAND:
        return RunTestNotification(window, wParam) || RunCommand(window, LOWORD(wParam), lParam);
    case WM_SYSCOMMAND:
        return OnSysCommand(window, wParam);
    case WM_MOVE:
        OnMove(window);
        return FALSE;
    case WM_MOVING:
        NoteDisplayPropertiesBeforeMove(window);
        return FALSE;
    case WM_WINDOWPOSCHANGING:
        KeepDockedSettingsWindowFromTheEdges(window, *reinterpret_cast<WINDOWPOS*>(lParam));
        return FALSE;
    case WM_DISPLAYCHANGE:
        if (!DeferredUntilIconWorkEnds(window, message, wParam, lParam))
            OnDisplayChange(window);
        return FALSE;
    case WM_HSCROLL:
        OnHScroll(window, reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_NOTIFY:
        OnNotify(window, *reinterpret_cast<const NMHDR*>(lParam));
        return FALSE;
    case WM_HOTKEY:
        OnHotKey(window, static_cast<int>(wParam));
        return TRUE;
    case UM_TRAYNOTIFY:
        OnTrayNotify(window, UINT(lParam));
        return Result(window, 0);
    case UM_SETTINGCHANGE:
        OnDesktopSettingChange(window, wParam);
        return TRUE;
    case UM_COLORNOTE:
        ApplyColorNote(window, wParam, lParam);
        return TRUE;
    case UM_CURSORMOVED:
        WakeTracking(window);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(StaticControlBrush(window, reinterpret_cast<HDC>(wParam),
                                                            reinterpret_cast<HWND>(lParam)));
    case WM_MOUSEMOVE:
        OnMouseMove(window, lParam);
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        OnPageButtonDown(window, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)},
                         message == WM_RBUTTONDOWN);
        return Result(window, 0);
    case WM_MOUSEWHEEL:
        return RunTestMouseWheel(wParam);
    case WM_CTLCOLORLISTBOX:
        return reinterpret_cast<INT_PTR>(
            TestListColors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_DPICHANGED:
        OnDpiChanged(window, wParam, *reinterpret_cast<const RECT*>(lParam));
        return Result(window, 0);
    case WM_KEYDOWN:
        OnKeyDown(window, wParam);
        return Result(window, 0);
    }
    return FALSE;
}

HWND CreateSettingsWindow(HINSTANCE instance, HWND owner) {
    RegisterPageControlClasses();
    const RememberedPlace place = RememberedWindowPlace();
    return CreateDialogParamA(instance, kSettingsDialogTemplate, owner, SettingsWindowProc,
                              reinterpret_cast<LPARAM>(&place));
}
