#include "app/page_clicks.h"

#include "app/color_boxes.h"
#include "base/system_functions.h"
#include "desklink/desk_link.h"
#include "settings/settings.h"
#include "support/display_properties_win.h"
#include "ui/resource.h"
#include "ui/settings_pages_win.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>

namespace {

constexpr COLORREF kCaptionLinkColor = RGB(0, 0, 255);
constexpr COLORREF kCaptionColor = RGB(0, 0, 0);
// The group box draws its caption this far right of its left edge.
constexpr int kCaptionIndent = 7;
constexpr UINT_PTR kPassMouseSubclass = 0x7E55;
constexpr int kPassedControls[] = {IDC_TEXT_COLOR_BOX, IDC_BACK_COLOR_BOX, IDC_DESKTOP_COLOR_BOX,
                                   IDC_ACTIVE_DESKTOP_NOTE};

COLORREF g_captionColor = kCaptionColor;

RECT ClientRectOf(HWND window, int id) {
    RECT rect{};
    HWND control = GetDlgItem(window, id);
    if (control && GetWindowRect(control, &rect))
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool Over(HWND window, int id, POINT cursor) {
    const RECT rect = ClientRectOf(window, id);
    return PtInRect(&rect, cursor) != FALSE;
}

// The caption in the group's own font: its width, and the height of a line.
SIZE CaptionExtent(HWND window) {
    HWND group = GetDlgItem(window, IDC_DESKTOP_COLOR_GROUP);
    char caption[250] = "";
    const int length = GetWindowTextA(group, caption, int(sizeof caption));
    HDC dc = GetDC(group);
    SIZE extent{};
    if (dc) {
        const HGDIOBJ previous =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(group, WM_GETFONT, 0, 0)));
        GetTextExtentPoint32A(dc, caption, length, &extent);
        SelectObject(dc, previous);
        ReleaseDC(group, dc);
    }
    return extent;
}

// The caption's own area, where the pointer shows the link.
RECT CaptionArea(HWND window) {
    const RECT group = ClientRectOf(window, IDC_DESKTOP_COLOR_GROUP);
    const SIZE extent = CaptionExtent(window);
    return {group.left + kCaptionIndent, group.top, group.left + kCaptionIndent + extent.cx,
            group.top + extent.cy};
}

// The group's first text line, where a click opens Display Properties.
RECT CaptionLine(HWND window) {
    RECT line = ClientRectOf(window, IDC_DESKTOP_COLOR_GROUP);
    line.bottom = line.top + CaptionExtent(window).cy;
    return line;
}

void SetCaptionColor(HWND window, COLORREF color) {
    if (color == g_captionColor)
        return;
    g_captionColor = color;
    InvalidateRect(GetDlgItem(window, IDC_DESKTOP_COLOR_GROUP), nullptr, TRUE);
}

void ShowLinkCursor() {
    SetCursor(LoadCursor(nullptr, IDC_HAND));
}

// The note is a link only while the shell says Active Desktop is on.
bool OverActiveDesktopNote(HWND window, POINT cursor) {
    return CurrentTab() == SettingsTab::Colors && g_system.SHGetSettings && ActiveDesktopOn() &&
           IsWindowVisible(GetDlgItem(window, IDC_ACTIVE_DESKTOP_NOTE)) &&
           Over(window, IDC_ACTIVE_DESKTOP_NOTE, cursor);
}

void ClickColorsPage(HWND window, POINT cursor, ColorPicker picker) {
    if (OverActiveDesktopNote(window, cursor))
        OpenDisplayProperties(window);
    if (DropShadowsOn())
        return;
    if (Over(window, IDC_TEXT_COLOR_BOX, cursor))
        ChooseTextColor(window, picker);
    else if (Over(window, IDC_BACK_COLOR_BOX, cursor))
        ChooseBackgroundColor(window, picker);
}

void ClickDesktopPage(HWND window, POINT cursor, ColorPicker picker) {
    if (Over(window, IDC_DESKTOP_COLOR_BOX, cursor)) {
        ChooseDesktopColor(window, picker);
        return;
    }
    const RECT line = CaptionLine(window);
    if (PtInRect(&line, cursor)) {
        OpenDisplayProperties(window);
        SetCaptionColor(window, kCaptionColor);
    }
}

// Passes a press or move of a control on to its parent, after the control
// (and a tool tip watching it) has seen it.
LRESULT CALLBACK PassMouse(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                           DWORD_PTR) {
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(control, PassMouse, id);
    const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MOUSEMOVE) {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        HWND parent = GetParent(control);
        MapWindowPoints(control, parent, &point, 1);
        SendMessageA(parent, message, wParam, MAKELPARAM(point.x, point.y));
    }
    return result;
}

} // namespace

void PreparePageMouse(HWND window) {
    for (int id : kPassedControls) {
        if (HWND control = GetDlgItem(window, id))
            SetWindowSubclass(control, PassMouse, kPassMouseSubclass, 0);
    }
    // A themed group box draws its caption in the theme's colour, whatever
    // WM_CTLCOLORSTATIC says; this caption is a link and takes the link's.
    SetWindowTheme(GetDlgItem(window, IDC_DESKTOP_COLOR_GROUP), L"", L"");
}

void OnPageButtonDown(HWND window, POINT cursor, bool rightButton) {
    const ColorPicker picker = rightButton ? ColorPicker::Sampler : ColorPicker::Dialog;
    if (CurrentTab() == SettingsTab::Colors)
        ClickColorsPage(window, cursor, picker);
    else if (CurrentTab() == SettingsTab::Desktop)
        ClickDesktopPage(window, cursor, picker);
}

void UpdateDisplayLinkHover(HWND window, POINT cursor) {
    if (OverActiveDesktopNote(window, cursor))
        ShowLinkCursor();
    if (CurrentTab() != SettingsTab::Desktop)
        return;
    const RECT area = CaptionArea(window);
    const bool over = PtInRect(&area, cursor) != FALSE;
    if (over)
        ShowLinkCursor();
    SetCaptionColor(window, over ? kCaptionLinkColor : kCaptionColor);
}

COLORREF DesktopGroupCaptionColor() {
    return g_captionColor;
}
