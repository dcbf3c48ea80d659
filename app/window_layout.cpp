#include "app/window_layout.h"

#include "app/window_geometry.h"
#include "base/dpi.h"
#include "base/dpi_win.h"
#include "base/handles.h"
#include "settings/settings.h"
#include "ui/resource.h"

namespace {

constexpr POINT kTabControlPlace = {4, 1};
constexpr int kGapUnderHelpButton = 4;

int g_dpi = kDefaultDpi;
StatusGap g_statusGap = StatusGap::AtCreation;

int Scaled(int pixels) {
    return ScaleToDpi(pixels, g_dpi);
}

int StatusGapPixels(StatusGap gap) {
    return Scaled(gap == StatusGap::AtCreation ? 2 : 4);
}

RECT WindowRectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// What the frame, the caption and the borders add to the client area, as the
// system draws them for this window.
SIZE NonClientSize(HWND window) {
    const RECT outer = WindowRectOf(window);
    RECT client{};
    GetClientRect(window, &client);
    return {(outer.right - outer.left) - client.right, (outer.bottom - outer.top) - client.bottom};
}

int StatusRoom(HWND window, StatusGap gap) {
    const WindowDc dc(window);
    const SelectedObject font(dc.get(),
                              reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    return StatusLineRoom(metrics.tmHeight, metrics.tmInternalLeading, metrics.tmExternalLeading,
                          StatusGapPixels(gap));
}

int HeightUnderButtons(HWND window, StatusGap gap) {
    RECT help = WindowRectOf(GetDlgItem(window, IDC_HELP_BUTTON));
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&help), 2);
    g_statusGap = gap;
    const int client =
        ClientHeightUnderButtons(help.bottom, Scaled(kGapUnderHelpButton),
                                 g_settings.ShowToolTips == 1, StatusRoom(window, gap));
    return client + NonClientSize(window).cy;
}

// The tab control at its place, and the window's width around it.
int PlaceTabControl(HWND window) {
    HWND tabs = GetDlgItem(window, IDC_TABS);
    const int left = Scaled(kTabControlPlace.x);
    SetWindowPos(tabs, nullptr, left, Scaled(kTabControlPlace.y), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT tabRect = WindowRectOf(tabs);
    return ClientWidthAroundTabs(left, tabRect.right - tabRect.left) + NonClientSize(window).cx;
}

void MoveWindowTo(HWND window, int x, int y) {
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Resize(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CentreWithSize(HWND window, int width, int height) {
    const Corner corner =
        Centred(width, height, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    SetWindowPos(window, nullptr, corner.x, corner.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

RememberedPlace RememberedWindowPlace() {
    const bool placed = g_settings.WindowLeft >= 0 && g_settings.WindowTop >= 0;
    return {placed, POINT{g_settings.WindowLeft, g_settings.WindowTop}};
}

void LayOutSettingsWindow(HWND window, const RememberedPlace& place) {
    g_dpi = WindowDpi(window);
    const int width = PlaceTabControl(window);
    const RECT windowRect = WindowRectOf(window);
    CentreWithSize(window, width, windowRect.bottom - windowRect.top);
    CentreWithSize(window, width, HeightUnderButtons(window, StatusGap::AtCreation));
    if (place.placed)
        MoveWindowTo(window, place.corner.x, place.corner.y);
}

void FitHeightToButtons(HWND window, StatusGap gap) {
    const RECT windowRect = WindowRectOf(window);
    Resize(window, windowRect.right - windowRect.left, HeightUnderButtons(window, gap));
}

void FollowDpiChange(HWND window, int dpi, const RECT& suggested) {
    g_dpi = dpi;
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    const int width = PlaceTabControl(window);
    Resize(window, width, WindowRectOf(window).bottom - WindowRectOf(window).top);
    Resize(window, width, HeightUnderButtons(window, g_statusGap));
}

int SettingsWindowDpi() {
    return g_dpi;
}

void KeepOnPrimaryScreen(HWND window) {
    const RECT rect = WindowRectOf(window);
    const Corner corner =
        KeptOnScreen({rect.left, rect.top, rect.right, rect.bottom}, GetSystemMetrics(SM_CXSCREEN),
                     GetSystemMetrics(SM_CYSCREEN));
    if (corner.x != rect.left || corner.y != rect.top)
        MoveWindowTo(window, corner.x, corner.y);
}
