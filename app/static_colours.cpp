#include "app/static_colours.h"

#include "settings/settings.h"
#include "ui/resource.h"

namespace {

constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr COLORREF kLinkHoverColour = RGB(255, 0, 0);
constexpr COLORREF kActiveDesktopNoteColour = 0xFFE0E0;

struct Link {
    int id;
    COLORREF colour;
};

Link g_links[] = {{IDC_WEB_PAGE_LINK, kLinkColour}, {IDC_FAQ_LINK, kLinkColour}};

HBRUSH g_buttonFaceBrush;
// One brush for the colour boxes and notes; the previous one is deleted
// whenever a new one is made.
HBRUSH g_boxBrush;

HBRUSH NewBoxBrush(COLORREF colour) {
    if (g_boxBrush)
        DeleteObject(g_boxBrush);
    g_boxBrush = CreateSolidBrush(colour);
    return g_boxBrush;
}

const Link* LinkOf(int id) {
    for (const Link& link : g_links) {
        if (link.id == id)
            return &link;
    }
    return nullptr;
}

HBRUSH LinkBrush(HDC dc, const Link& link) {
    SetTextColor(dc, link.colour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return g_buttonFaceBrush;
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
    g_buttonFaceBrush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
}

void DeleteStaticBrushes() {
    for (HBRUSH* brush : {&g_buttonFaceBrush, &g_boxBrush}) {
        if (*brush)
            DeleteObject(*brush);
        *brush = nullptr;
    }
}

HBRUSH StaticControlBrush(HWND window, HDC dc, HWND control) {
    if (GetParent(control) != window)
        return nullptr;
    const int id = GetDlgCtrlID(control);
    if (const Link* link = LinkOf(id))
        return LinkBrush(dc, *link);
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
    case IDC_ACTIVE_DESKTOP_NOTE:
        SetBkColor(dc, kActiveDesktopNoteColour);
        return NewBoxBrush(kActiveDesktopNoteColour);
    }
    return nullptr;
}

void UpdateLinkHover(HWND window, POINT cursor) {
    for (Link& link : g_links) {
        const COLORREF colour =
            CursorOver(window, link.id, cursor) ? kLinkHoverColour : kLinkColour;
        if (colour == link.colour)
            continue;
        link.colour = colour;
        InvalidateRect(GetDlgItem(window, link.id), nullptr, TRUE);
    }
    UpdateWindow(window);
}
