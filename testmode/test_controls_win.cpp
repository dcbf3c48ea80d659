// The test page's own controls: the preview draws the selected picture and
// takes clicks, the list box shows its focus and takes Enter, the folder box
// shows its whole text as a tool tip.
#include "testmode/test_browser_win.h"

#include "base/handles.h"
#include "colours/stretched_wallpaper.h"
#include "ui/resource.h"
#include "ui/settings_pages_win.h"
#include "ui/tool_tips.h"

#include <commctrl.h>
#include <shellapi.h>

#include <set>

namespace {

constexpr int kMaxComboTipText = 260;
constexpr UINT kClickTimerMargin = 100;

WNDPROC g_listProc = nullptr;
WNDPROC g_comboProc = nullptr;
test_browser::PreviewClicks g_previewClicks;

// The settings window, whose controls these are.
HWND Owner(HWND control) {
    return GetParent(control);
}

// The control's tool in the settings window's tool-tip control: added on
// first use (subclassing the control, so that it relays its own mouse
// messages), its text replaced afterwards.
void SetControlTip(HWND control, const std::wstring& text) {
    static std::set<HWND> withTool;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Owner(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    const bool added = !withTool.insert(control).second;
    SendMessageW(ToolTips(), added ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0,
                 reinterpret_cast<LPARAM>(&tool));
}

// The picture fitted into the control, centred, with halftone scaling.
void DrawFitted(HDC dc, HBITMAP picture, const RECT& client) {
    BITMAP size{};
    if (!GetObjectA(picture, sizeof size, &size))
        return;
    const colors::PictureSize fitted = colors::ComputeStretchedSize(
        {size.bmWidth, size.bmHeight}, {client.right, client.bottom}, false);
    const UniqueMemoryDc source(CreateCompatibleDC(dc));
    const SelectedObject selected(source.get(), picture);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, (client.right - fitted.width) / 2, (client.bottom - fitted.height) / 2,
               fitted.width, fitted.height, source.get(), 0, 0, size.bmWidth, size.bmHeight,
               SRCCOPY);
}

void PaintPreview(HWND preview) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(preview, &paint);
    RECT client{};
    GetClientRect(preview, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const std::wstring path = SelectedTestPicturePath();
    const UniqueBitmap picture(
        path.empty() ? nullptr
                     : static_cast<HBITMAP>(
                           LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    if (picture)
        DrawFitted(dc, picture.get(), client);
    EndPaint(preview, &paint);
}

void Open(HWND owner, const std::wstring& target) {
    ShellExecuteW(owner, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT CALLBACK TestPreviewWndProc(HWND preview, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        PaintPreview(preview);
        break;
    case WM_MOUSEMOVE:
        SetControlTip(preview, test_browser::PreviewTipText(SelectedTestPicturePath()));
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        break;
    case WM_LBUTTONDOWN:
        g_previewClicks.ButtonDown();
        break;
    case WM_LBUTTONUP:
        if (g_previewClicks.ButtonUp())
            SetTimer(Owner(preview), kPreviewClickTimer, GetDoubleClickTime() + kClickTimerMargin,
                     nullptr);
        break;
    case WM_LBUTTONDBLCLK:
        g_previewClicks.DoubleClick();
        KillTimer(Owner(preview), kPreviewClickTimer);
        Open(Owner(preview), SelectedTestPicturePath());
        break;
    case WM_RBUTTONDBLCLK:
        Open(Owner(preview), TestFolder());
        break;
    }
    return DefWindowProcW(preview, message, wParam, lParam);
}

LRESULT CALLBACK TestListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        // Its text colour follows the focus.
        InvalidateRect(list, nullptr, TRUE);
        break;
    case WM_KEYUP:
        // Enter applies the selected entry as a double click does.
        if (wParam == VK_RETURN)
            SendMessageA(Owner(list), WM_COMMAND, MAKEWPARAM(IDC_TEST_FILES, LBN_DBLCLK),
                         reinterpret_cast<LPARAM>(list));
        break;
    }
    return CallWindowProcW(g_listProc, list, message, wParam, lParam);
}

// A long folder name can be read whole in the tool tip.
LRESULT CALLBACK TestComboProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEMOVE) {
        wchar_t text[kMaxComboTipText + 1] = L"";
        GetWindowTextW(combo, text, kMaxComboTipText + 1);
        SetControlTip(combo, text);
        return 0;
    }
    return CallWindowProcW(g_comboProc, combo, message, wParam, lParam);
}

// Wide procedures: an ANSI one would have the system convert every text the
// control is given or asked for to the code page and back, and names outside
// it would come out as "?".
WNDPROC Subclass(HWND control, WNDPROC procedure) {
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

} // namespace

void SubclassTestControls() {
    if (HWND preview = ControlHandle(IDC_TEST_PREVIEW))
        Subclass(preview, TestPreviewWndProc);
    if (HWND list = ControlHandle(IDC_TEST_FILES))
        g_listProc = Subclass(list, TestListProc);
    if (HWND combo = ControlHandle(IDC_TEST_FOLDER))
        g_comboProc = Subclass(combo, TestComboProc);
}
