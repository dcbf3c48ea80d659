#include "app/static_colors.h"

#include <optional>

#include "app/page_clicks.h"
#include "base/handles.h"
#include "settings/settings.h"
#include "ui/custom_controls_win.h"
#include "ui/links.h"
#include "ui/resource.h"
#include "ui/settings_pages_win.h"

namespace {

constexpr COLORREF kActiveDesktopNoteColor = 0xFFE0E0;

UniqueBrush g_buttonFaceBrush;
// One brush for the color boxes and notes; the previous one is deleted
// whenever a new one is made.
UniqueBrush g_boxBrush;

HBRUSH NewBoxBrush(COLORREF color) {
    g_boxBrush.reset(CreateSolidBrush(color));
    return g_boxBrush.get();
}

HBRUSH LinkBrush(HDC dc, COLORREF color) {
    SetTextColor(dc, color);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return g_buttonFaceBrush.get();
}

bool CursorOver(HWND window, int id, POINT cursor) {
    RECT rect{};
    HWND control = GetDlgItem(window, id);
    if (!control || !GetWindowRect(control, &rect))
        return false;
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return PtInRect(&rect, cursor) != FALSE;
}

} // namespace

void CreateStaticBrushes() {
    g_buttonFaceBrush.reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
}

void DeleteStaticBrushes() {
    g_buttonFaceBrush.reset();
    g_boxBrush.reset();
}

HBRUSH StaticControlBrush(HWND window, HDC dc, HWND control) {
    if (GetParent(control) != window)
        return nullptr;
    const int id = GetDlgCtrlID(control);
    if (controls::Link link{}; WindowLinkOf(id, link))
        return LinkBrush(dc, LinkColorOf(link));
    switch (id) {
    case IDC_TEXT_COLOR_BOX:
        return NewBoxBrush(COLORREF(g_settings.TextColor));
    case IDC_BACK_COLOR_BOX:
        return NewBoxBrush(COLORREF(g_settings.TextBackColor));
    case IDC_DESKTOP_COLOR_BOX:
        return NewBoxBrush(COLORREF(g_settings.DesktopColor));
    case IDC_COLOR_BOX_HINT:
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        SetBkColor(dc, GetSysColor(COLOR_INFOBK));
        return NewBoxBrush(GetSysColor(COLOR_INFOBK));
    case IDC_DESKTOP_COLOR_GROUP:
        return LinkBrush(dc, DesktopGroupCaptionColor());
    case IDC_ACTIVE_DESKTOP_NOTE:
        SetBkColor(dc, kActiveDesktopNoteColor);
        return NewBoxBrush(kActiveDesktopNoteColor);
    }
    return nullptr;
}

void UpdateColorBoxHint(HWND window, POINT cursor) {
    const bool overBox = CursorOver(window, IDC_TEXT_COLOR_BOX, cursor) ||
                         CursorOver(window, IDC_BACK_COLOR_BOX, cursor);
    const bool shown = CurrentTab() == SettingsTab::Colors && overBox && !DropShadowsOn();
    HWND hint = GetDlgItem(window, IDC_COLOR_BOX_HINT);
    if (hint && (IsWindowVisible(hint) != FALSE) != shown)
        ShowWindow(hint, shown ? SW_SHOW : SW_HIDE);
}

void UpdateLinkHover(HWND window, POINT cursor) {
    std::optional<controls::Link> hovered;
    for (const LinkControl& control : kLinkControls) {
        controls::Link link{};
        if (WindowLinkOf(control.id, link) && CursorOver(window, control.id, cursor))
            hovered = link;
    }
    RepaintWindowLinks(window, SharedLinkColors().Hover(controls::kWindowLinks, hovered));
    UpdateWindow(window);
}
