#include "app/color_notes.h"

#include "base/app_state.h"
#include "app/page_context.h"
#include "app/status_line.h"
#include "colours/color_notes_win.h"
#include "colours/wallpaper_analysis.h"
#include "ui/resource.h"

namespace {

void ShowDesktopColor(HWND window, COLORREF color) {
    SetDlgItemTextA(window, IDC_DESKTOP_COLOR_TEXT, colors::FormatColorHex(color).c_str());
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    InterlockedIncrement(&g_app.desktopChangeCount);
}

void RepaintCaptionColorControls(HWND window) {
    for (int id : {IDC_TEXT_COLOR_BOX, IDC_BACK_COLOR_BOX, IDC_SAMPLE_TEXT})
        InvalidateRect(GetDlgItem(window, id), nullptr, TRUE);
}

void ShowKeepAspectRatioOff(HWND window) {
    CheckDlgButton(window, IDC_KEEP_ASPECT_RATIO, BST_UNCHECKED);
    SendMessageA(window, WM_COMMAND, IDC_KEEP_ASPECT_RATIO, 0);
}

} // namespace

void ApplyColorNote(HWND window, WPARAM note, LPARAM value) {
    switch (static_cast<ColorNote>(note)) {
    case ColorNote::LastError:
        ShowErrorInStatusLine(static_cast<DWORD>(value));
        break;
    case ColorNote::DesktopColor:
        ShowDesktopColor(window, static_cast<COLORREF>(value));
        break;
    case ColorNote::CaptionColors:
        RepaintCaptionColorControls(window);
        break;
    case ColorNote::ResampleBusy:
        EnableWindow(GetDlgItem(window, IDC_RESAMPLE_NOW), value == 0);
        break;
    case ColorNote::DesktopState:
        RefreshSettingsPage(window);
        break;
    case ColorNote::KeepAspectRatioOff:
        ShowKeepAspectRatioOff(window);
        break;
    case ColorNote::ResampleStarts:
        SendMessageA(window, WM_COMMAND, IDC_RESAMPLE_NOW, 0);
        break;
    }
}
