#include "app/window_layout.h"

#include "app/window_geometry.h"
#include "settings/settings.h"
#include "ui/resource.h"

namespace {

constexpr POINT kTabControlPlace = {4, 1};
constexpr int kWidthBesideTabControl = 14;

RECT WindowRectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

int StatusRoom(HWND window, int statusGap) {
    HDC dc = GetDC(window);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return StatusLineRoom(metrics.tmHeight, metrics.tmInternalLeading, metrics.tmExternalLeading,
                          statusGap);
}

int HeightUnderButtons(HWND window, int statusGap) {
    const RECT windowRect = WindowRectOf(window);
    const RECT help = WindowRectOf(GetDlgItem(window, IDC_HELP_BUTTON));
    return WindowHeightUnderButtons(windowRect.top, help.bottom, g_settings.ShowToolTips == 1,
                                    StatusRoom(window, statusGap));
}

void MoveWindowTo(HWND window, int x, int y) {
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    HWND tabs = GetDlgItem(window, IDC_TABS);
    MoveWindowTo(tabs, kTabControlPlace.x, kTabControlPlace.y);
    const RECT tabRect = WindowRectOf(tabs);
    const RECT windowRect = WindowRectOf(window);
    const int width = tabRect.right - tabRect.left + kWidthBesideTabControl;
    CentreWithSize(window, width, windowRect.bottom - windowRect.top);
    CentreWithSize(window, width, HeightUnderButtons(window, kStatusGapAtCreation));
    if (place.placed)
        MoveWindowTo(window, place.corner.x, place.corner.y);
}

void FitHeightToButtons(HWND window, int statusGap) {
    const RECT windowRect = WindowRectOf(window);
    SetWindowPos(window, nullptr, 0, 0, windowRect.right - windowRect.left,
                 HeightUnderButtons(window, statusGap), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void KeepOnPrimaryScreen(HWND window) {
    const RECT rect = WindowRectOf(window);
    const Corner corner =
        KeptOnScreen({rect.left, rect.top, rect.right, rect.bottom}, GetSystemMetrics(SM_CXSCREEN),
                     GetSystemMetrics(SM_CYSCREEN));
    if (corner.x != rect.left || corner.y != rect.top)
        MoveWindowTo(window, corner.x, corner.y);
}
