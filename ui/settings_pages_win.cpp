#include "ui/settings_pages_win.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "base/dpi.h"
#include "base/timers.h"
#include "deskhook/shared_names.h"
#include "desklink/desk_link.h"
#include "desklink/menu_state.h"
#include "hiding/corner_actions_win.h"
#include "settings/settings.h"
#include "ui/links.h"
#include "ui/sliders.h"
#include "ui/tab_defaults.h"

HWND ControlHandles[kControlCount];

namespace {

// Every frame but the Colors frame, in the order they are folded.
constexpr int kFoldedFrames[] = {
    IDC_FRAME_POSITIONS,    IDC_FRAME_OPTIONS,     IDC_FRAME_ABOUT,      IDC_FRAME_HIDING,
    IDC_FRAME_TRAY,         IDC_FRAME_DESKTOP,     IDC_FRAME_CLICK_SHOW, IDC_FRAME_TEST,
    IDC_FRAME_DROP_SHADOWS, IDC_FRAME_DELAY_TIMES,
};

constexpr int kInitialSlideInterval = 5;

// The About area sits this far into the folded About frame, as far from its
// right edge, and leaves room under it (pixels at 96 DPI), so that it stays
// inside the page's frame.
constexpr POINT kAboutAreaOffset = {7, 11};
constexpr int kAboutAreaHeightCut = 23;

constexpr UINT kAboutSlowMs = 2000;
constexpr UINT kAboutFastMs = 10;

RECT WindowRectOf(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    return rect;
}

bool CornerInside(const RECT& control, const RECT& frame) {
    return control.left >= frame.left && control.left < frame.right && control.top >= frame.top &&
           control.top < frame.bottom;
}

void SetText(int id, const char* text) {
    if (HWND control = ControlHandle(id))
        SetWindowTextA(control, text);
}

void Apply(const ControlUpdate& update) {
    HWND control = ControlHandle(update.id);
    if (!control)
        return;
    switch (update.aspect) {
    case ControlAspect::Shown:
        ShowWindow(control, update.on ? SW_SHOW : SW_HIDE);
        break;
    case ControlAspect::Enabled:
        EnableWindow(control, update.on);
        break;
    case ControlAspect::Checked:
        SendMessageA(control, BM_SETCHECK, update.on ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    }
}

void ApplyAll(const std::vector<ControlUpdate>& updates) {
    for (const ControlUpdate& update : updates)
        Apply(update);
}

void ApplyEnabling(HWND window, const PageEnabling& enabling) {
    ApplyAll(enabling.updates);
    if (enabling.sendSolidColorCommand)
        SendMessageA(window, WM_COMMAND, IDC_SOLID_COLOR, 0);
}

void SelectHotCornerAction(int action) {
    SendMessageA(ControlHandle(IDC_HOT_CORNER_ACTION), CB_SETCURSEL, WPARAM(action), 0);
}

// Narrow padding lets the seven labels share the tab control's width.
constexpr int kTabPadding = 4;

void InsertTabs() {
    HWND tabs = ControlHandle(IDC_TABS);
    SendMessageA(tabs, TCM_SETPADDING, 0, MAKELPARAM(kTabPadding, kTabPadding));
    for (int index = 0; index < kPermanentTabCount; ++index) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(TabInfoOf(SettingsTab(index)).label);
        SendMessageA(tabs, TCM_INSERTITEMA, WPARAM(index), reinterpret_cast<LPARAM>(&item));
    }
}

// The pages stand on the tab control's body, which must not paint over them.
void PutTabControlUnderThePages() {
    HWND tabs = ControlHandle(IDC_TABS);
    SetWindowLongA(tabs, GWL_STYLE, GetWindowLongA(tabs, GWL_STYLE) | WS_CLIPSIBLINGS);
    SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void FoldFrame(HWND window, const RECT& frame) {
    const RECT pageArea = WindowRectOf(ControlHandle(IDC_FRAME_COLORS));
    const int dx = pageArea.left - frame.left;
    const int dy = pageArea.top - frame.top;
    for (HWND control : ControlHandles) {
        RECT rect{};
        if (!control || !GetWindowRect(control, &rect) || !CornerInside(rect, frame))
            continue;
        POINT corner = {rect.left + dx, rect.top + dy};
        ScreenToClient(window, &corner);
        SetWindowPos(control, nullptr, corner.x, corner.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(control, nullptr, TRUE);
        ShowWindow(control, SW_HIDE);
    }
}

void ConfigureSlider(const Slider& slider, int value) {
    HWND control = ControlHandle(slider.id);
    SendMessageA(control, TBM_SETRANGE, TRUE, MAKELPARAM(slider.min, slider.max));
    SendMessageA(control, TBM_SETPAGESIZE, 0, 1);
    SendMessageA(control, TBM_SETPOS, TRUE, value);
    if (slider.minEnd.text)
        SetText(slider.minEnd.labelId, slider.minEnd.text);
    if (slider.maxEnd.text)
        SetText(slider.maxEnd.labelId, slider.maxEnd.text);
    SetText(slider.valueLabelId, SliderValueText(slider, value).c_str());
}

void ConfigureSettingsSliders() {
    for (const Slider& slider : SettingsSliders())
        ConfigureSlider(slider, g_settings.*slider.field);
}

void StartAboutTimers() {
    HWND about = ControlHandle(IDC_ABOUT_AREA);
    SetTimer(about, timers::AboutSlow, kAboutSlowMs, nullptr);
    SetTimer(about, timers::AboutFast, kAboutFastMs, nullptr);
}

bool Checked(int id) {
    HWND control = ControlHandle(id);
    return control && SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

CheckedBoxes ReadCheckedBoxes() {
    CheckedBoxes checks;
    checks.hideWhenOffDesktop = Checked(IDC_HIDE_WHEN_OFF_DESKTOP);
    checks.hideWhenOnDesktop = Checked(IDC_HIDE_WHEN_ON_DESKTOP);
    checks.delayShowOnDesktop = Checked(IDC_DELAY_SHOW_ON_DESKTOP);
    checks.showOnDesktopClick = Checked(IDC_SHOW_ON_DESKTOP_CLICK);
    checks.bossMouse = Checked(IDC_BOSS_MOUSE);
    checks.neverHide = Checked(IDC_NEVER_HIDE);
    return checks;
}

void ApplyPageView(HWND window, const PageView& view) {
    ApplyAll(view.updates);
    for (const CaptionUpdate& caption : view.captions)
        SetText(caption.id, caption.text.c_str());
    SelectHotCornerAction(g_settings.HotCornerAction);
    if (view.aboutTimersRun)
        StartAboutTimers();
    else
        StopAboutTimers();
    SetText(IDC_STATUS_LINE, view.statusText);
    ApplyEnabling(window, view.enabling);
}

void SendCommand(HWND window, int id, LPARAM lParam = 0) {
    SendMessageA(window, WM_COMMAND, id, lParam);
}

void RegisterHotKeysAgain(HWND window) {
    SendCommand(window, IDM_REGISTER_HOTKEYS, 0);
    SendCommand(window, IDM_REGISTER_HOTKEYS, 1);
}

void ActAfterReset(HWND window, const TabReset& reset) {
    if (reset.sendShowTrayIconCommand)
        SendCommand(window, IDC_SHOW_TRAY_ICON);
    if (reset.sendShowToolTipsCommand)
        SendCommand(window, IDC_SHOW_TOOL_TIPS);
    if (reset.sendWindowFadingCommand)
        SendCommand(window, IDC_WINDOW_FADING);
    if (reset.sendHidingModeCommand)
        SendCommand(window, HidingModeCommand(g_settings));
    if (reset.registerHotKeys)
        RegisterHotKeysAgain(window);
    if (reset.repaintDesktopColorBox)
        InvalidateRect(ControlHandle(IDC_DESKTOP_COLOR_BOX), nullptr, TRUE);
    PublishMenuState(g_settings);
}

void AnnounceWallpaperChange(HWND window) {
    SendMessageA(window, UM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
}

} // namespace

void FillControlHandles(HWND window) {
    for (int index = 0; index < kControlCount; ++index)
        ControlHandles[index] = GetDlgItem(window, IDC_FIRST_CONTROL + index);
}

HWND ControlHandle(int id) {
    if (id < IDC_FIRST_CONTROL || id > IDC_LAST_CONTROL)
        return nullptr;
    return ControlHandles[id - IDC_FIRST_CONTROL];
}

SettingsTab CurrentTab() {
    return SettingsTab(SendMessageA(ControlHandle(IDC_TABS), TCM_GETCURSEL, 0, 0));
}

void LayoutSettingsPages(HWND window) {
    // With visual styles the pages stand on the tab control's themed body.
    EnableThemeDialogTexture(window, ETDT_ENABLETAB);
    for (const LinkControl& link : kLinkControls)
        SetText(link.id, link.caption);
    InsertTabs();
    PutTabControlUnderThePages();
    RECT frames[std::size(kFoldedFrames)];
    for (std::size_t i = 0; i < std::size(kFoldedFrames); ++i)
        frames[i] = WindowRectOf(ControlHandle(kFoldedFrames[i]));
    for (const RECT& frame : frames)
        FoldFrame(window, frame);
    ConfigureSlider(TestIntervalSlider(), kInitialSlideInterval);
}

void PlaceAboutArea(int dpi) {
    const RECT frame = GetRectRelativeTo(IDC_TABS, IDC_FRAME_ABOUT);
    const int inset = ScaleToDpi(kAboutAreaOffset.x, dpi);
    SetWindowPos(ControlHandle(IDC_ABOUT_AREA), nullptr, frame.left + inset,
                 frame.top + ScaleToDpi(kAboutAreaOffset.y, dpi),
                 frame.right - frame.left - 2 * inset,
                 frame.bottom - frame.top - ScaleToDpi(kAboutAreaHeightCut, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT GetRectRelativeTo(int referenceId, int id) {
    const RECT reference = WindowRectOf(ControlHandle(referenceId));
    RECT rect = WindowRectOf(ControlHandle(id));
    OffsetRect(&rect, -reference.left, -reference.top);
    return rect;
}

void StopAboutTimers() {
    HWND about = ControlHandle(IDC_ABOUT_AREA);
    KillTimer(about, timers::AboutSlow);
    KillTimer(about, timers::AboutFast);
}

void LoadControlsFromSettings(HWND window, const PageContext& context) {
    const LoadedControls loaded = DecideLoadedControls(g_settings, context);
    ApplyAll(loaded.updates);
    SelectHotCornerAction(loaded.hotCornerAction);
    ConfigureSettingsSliders();
    ShowTabPage(window, context);
    AnnounceWallpaperChange(window);
}

void ShowTabPage(HWND window, const PageContext& context) {
    if (NeedsReloadBeforeShowing(g_settings))
        LoadSettings(g_settings, SettingsSource::Stored, InvalidSettings::Silent);
    CreateShowDesktopFile(window);
    ApplyPageView(window, DecidePageView(g_settings, context, ReadCheckedBoxes(), CurrentTab()));
    // The page may have forced ShowOnDesktopClick on.
    PublishMenuState(g_settings);
}

void UpdatePageEnabling(HWND window, const PageContext& context) {
    ApplyEnabling(window,
                  DecidePageEnabling(g_settings, context, ReadCheckedBoxes(), CurrentTab()));
    PublishMenuState(g_settings);
}

void ResetTabDefaults(HWND window, const PageContext& context) {
    const TabReset reset = ResetTabFields(g_settings, SettingsTemplate(), CurrentTab());
    ActAfterReset(window, reset);
    LoadControlsFromSettings(window, context);
    ShowTabPage(window, context);
    AnnounceWallpaperChange(window);
}
