#include "app/status_line.h"

#include "base/instance_data.h"
#include "base/unicode_text_win.h"
#include "ui/resource.h"

namespace {

void SetStatusText(const wchar_t* text) {
    if (HWND window = OwnSettingsWindow())
        SetDlgItemTextW(window, IDC_STATUS_LINE, text);
}

} // namespace

void SetStatusLine(const char* text) {
    SetStatusText(Utf16Text(text).c_str());
}

void ShowErrorInStatusLine(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    SetStatusText(length ? text : L"");
    LocalFree(text);
}
