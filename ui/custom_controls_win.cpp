#include "ui/custom_controls_win.h"

#include <map>

#include "base/app_state.h"
#include "base/dpi_win.h"
#include "base/handles.h"
#include "base/system_functions.h"
#include "base/windows_version_win.h"
#include "settings/settings.h"
#include "ui/about_area_win.h"
#include "ui/links.h"
#include "ui/resource.h"
#include "ui/settings_pages_win.h"

#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

namespace {

constexpr int kMaxLinkText = 100;
constexpr char kSampleText[] = "Sample Text";

controls::LinkColors g_linkColors;
HCURSOR g_linkCursor = nullptr;

// One icon per size; they live as long as the program.
std::map<int, UniqueIcon>& ProgramIcons() {
    static std::map<int, UniqueIcon> icons;
    return icons;
}

int SystemMetricFor(HWND window, int index) {
    if (g_system.GetSystemMetricsForDpi)
        return g_system.GetSystemMetricsForDpi(index, UINT(WindowDpi(window)));
    return GetSystemMetrics(index);
}

bool SettingsWindowLayered(HWND control) {
    return (GetWindowLongA(GetParent(control), GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

// The paint goes to the screen, not into a copy, when the device context's
// origin is the control's place on the screen.
bool PaintsOnScreen(HWND control, HDC dc) {
    POINT origin{};
    POINT corner{};
    GetDCOrgEx(dc, &origin);
    ClientToScreen(control, &corner);
    return origin.x == corner.x && origin.y == corner.y;
}

// The desktop under the control, unless the window fades (a layered window
// would show the desktop twice).
void PaintDesktopBehind(HWND control, HDC dc) {
    if (PaintsOnScreen(control, dc) && !SettingsWindowLayered(control))
        PaintDesktop(dc);
}

void RepaintNow(HWND control) {
    InvalidateRect(control, nullptr, TRUE);
    UpdateWindow(control);
}

void RepaintSettingsWindow(HWND control) {
    HWND window = GetParent(control);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

void SendOwnCommand(HWND control, LPARAM lParam) {
    SendMessageA(GetParent(control), WM_COMMAND, WPARAM(GetDlgCtrlID(control)), lParam);
}

// ---- The caption preview ---------------------------------------------------------

void PaintSample(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintDesktopBehind(window, dc);
    RECT rect{};
    GetClientRect(window, &rect);
    DrawEdge(dc, &rect, EDGE_RAISED, BF_RECT);
    const int edge = SystemMetricFor(window, SM_CXEDGE);
    InflateRect(&rect, -edge, -edge);
    DrawEdge(dc, &rect, EDGE_RAISED, BF_RECT);
    EndPaint(window, &paint);
}

// The frame and the icon lie under the text and would paint over it: they
// go first, then the whole text.
void PaintSampleText(HWND window) {
    HWND settingsWindow = GetParent(window);
    RepaintNow(GetDlgItem(settingsWindow, IDC_SAMPLE));
    RepaintNow(GetDlgItem(settingsWindow, IDC_SAMPLE_ICON));
    InvalidateRect(window, nullptr, FALSE);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT rect{};
    GetClientRect(window, &rect);
    const SelectedObject font(dc, DialogFont(settingsWindow));
    if (g_settings.TransparentText == 1) {
        PaintDesktopBehind(window, dc);
    } else {
        const UniqueBrush back(CreateSolidBrush(COLORREF(g_settings.TextBackColor)));
        FillRect(dc, &rect, back.get());
    }
    // After the desktop: painting its pattern may leave other colours set.
    SetTextColor(dc, COLORREF(g_settings.TextColor));
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, kSampleText, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    EndPaint(window, &paint);
}

void PaintSampleIcon(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    SetBkMode(dc, TRANSPARENT);
    const int size = ProgramIconSize(window);
    DrawIconEx(dc, 0, 0, ProgramIcon(window), size, size, 0, nullptr, DI_NORMAL);
    EndPaint(window, &paint);
}

// The static sized itself to the icon it loaded; the icon is drawn at the
// size for the window's DPI.
void FitSampleIcon(HWND icon) {
    const int size = ProgramIconSize(icon);
    SetWindowPos(icon, nullptr, 0, 0, size, size, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK SampleIconProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        PaintSampleIcon(window);
        return 0;
    case WM_DPICHANGED_AFTERPARENT:
        FitSampleIcon(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// ---- The links ----------------------------------------------------------------------

controls::Link LinkOf(HWND control) {
    controls::Link link = controls::Link::WebPage;
    WindowLinkOf(GetDlgCtrlID(control), link);
    return link;
}

// The ground the settings window gives its static controls.
void EraseLink(HWND control, HDC dc) {
    RECT rect{};
    GetClientRect(control, &rect);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(
        GetParent(control), WM_CTLCOLORSTATIC, WPARAM(dc), reinterpret_cast<LPARAM>(control)));
    FillRect(dc, &rect, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
}

void PaintLink(HWND control) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(control, &paint);
    RECT rect{};
    GetClientRect(control, &rect);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, LinkColorOf(LinkOf(control)));
    const SelectedObject font(dc, DialogFont(GetParent(control)));
    if (GetFocus() == control)
        DrawFocusRect(dc, &rect);
    char text[kMaxLinkText + 1] = "";
    GetWindowTextA(control, text, sizeof text);
    DrawTextA(dc, text, -1, &rect, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    EndPaint(control, &paint);
}

void HoverLink(HWND control) {
    const controls::LinkSet changed = g_linkColors.Hover(controls::kAllLinks, LinkOf(control));
    HWND window = GetParent(control);
    RepaintWindowLinks(window, changed | controls::kWindowLinks);
    if (changed & controls::kAboutLinks)
        InvalidateRect(GetDlgItem(window, IDC_ABOUT_AREA), nullptr, FALSE);
    UpdateWindow(window);
    SetCursor(LinkCursor());
}

LRESULT CALLBACK LinkProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        EraseLink(control, reinterpret_cast<HDC>(wParam));
        return TRUE;
    case WM_PAINT:
        PaintLink(control);
        return 0;
    case WM_SETFOCUS:
        InvalidateRect(control, nullptr, TRUE);
        break;
    case WM_KILLFOCUS:
        InvalidateRect(control, nullptr, TRUE);
        RepaintSettingsWindow(control);
        break;
    case WM_GETDLGCODE:
        return controls::LinkDialogCode(GetFocus() == control);
    case WM_KEYUP:
        if (controls::FollowsLink(unsigned(wParam))) {
            SendOwnCommand(control, 0);
            RepaintSettingsWindow(control);
        }
        return 0;
    case WM_KEYDOWN:
    case WM_CHAR:
        return 0;
    case WM_SETCURSOR:
        SetCursor(LinkCursor());
        return TRUE;
    case WM_MOUSEMOVE:
        HoverLink(control);
        return 0;
    case WM_LBUTTONDOWN:
        SetCursor(LinkCursor());
        return 0;
    case WM_LBUTTONUP:
        SetCursor(LinkCursor());
        SendOwnCommand(control, lParam);
        RepaintSettingsWindow(control);
        return 0;
    }
    return DefWindowProcA(control, message, wParam, lParam);
}

void Subclass(HWND control, WNDPROC procedure) {
    if (control)
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

void MakeTabStop(HWND control) {
    if (control)
        SetWindowLongA(control, GWL_STYLE, GetWindowLongA(control, GWL_STYLE) | WS_TABSTOP);
}

} // namespace

LRESULT CALLBACK SampleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PaintSample(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK SampleTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PaintSampleText(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void ShowDesktopUnderSample(HWND settingsWindow) {
    if (CurrentTab() != SettingsTab::Colors)
        return;
    for (int id : {IDC_SAMPLE_TEXT, IDC_SAMPLE})
        InvalidateRect(GetDlgItem(settingsWindow, id), nullptr, TRUE);
    UpdateWindow(settingsWindow);
}

void SubclassCustomControls(HWND settingsWindow) {
    g_linkCursor = LoadCursorA(nullptr, IsOldWindows() ? IDC_ARROW : IDC_HAND);
    HWND icon = GetDlgItem(settingsWindow, IDC_SAMPLE_ICON);
    Subclass(icon, SampleIconProc);
    FitSampleIcon(icon);
    for (const LinkControl& link : kLinkControls) {
        HWND control = GetDlgItem(settingsWindow, link.id);
        Subclass(control, LinkProc);
        MakeTabStop(control);
    }
    HWND about = GetDlgItem(settingsWindow, IDC_ABOUT_AREA);
    Subclass(about, AboutAreaProc);
    MakeTabStop(about);
    RememberAboutCredits(settingsWindow);
}

HCURSOR LinkCursor() {
    return g_linkCursor ? g_linkCursor : LoadCursorA(nullptr, IDC_ARROW);
}

controls::LinkColors& SharedLinkColors() {
    return g_linkColors;
}

COLORREF LinkColorOf(controls::Link link) {
    return COLORREF(g_linkColors.Of(link));
}

bool WindowLinkOf(int id, controls::Link& link) {
    if (id == IDC_WEB_PAGE_LINK)
        link = controls::Link::WebPage;
    else if (id == IDC_FAQ_LINK)
        link = controls::Link::Faq;
    else
        return false;
    return true;
}

void RepaintWindowLinks(HWND settingsWindow, controls::LinkSet changed) {
    for (const LinkControl& link : kLinkControls) {
        controls::Link which{};
        if (WindowLinkOf(link.id, which) && (changed & controls::Only(which)))
            InvalidateRect(GetDlgItem(settingsWindow, link.id), nullptr, TRUE);
    }
}

int ProgramIconSize(HWND window) {
    return SystemMetricFor(window, SM_CXICON);
}

HICON ProgramIcon(HWND window) {
    const int size = ProgramIconSize(window);
    UniqueIcon& icon = ProgramIcons()[size];
    if (!icon)
        icon.reset(static_cast<HICON>(
            LoadImageA(g_app.instance, MAKEINTRESOURCEA(IDI_TESSARA), IMAGE_ICON, size, size, 0)));
    return icon.get();
}

HFONT DialogFont(HWND settingsWindow) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(settingsWindow, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}
