#include "app/status_line.h"

#include "base/instance_data.h"
#include "ui/resource.h"

void SetStatusLine(const char* text) {
    if (HWND window = OwnSettingsWindow())
        SetDlgItemTextA(window, IDC_STATUS_LINE, text);
}

void ShowErrorInStatusLine(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text),
        0, nullptr);
    SetStatusLine(length ? text : "");
    LocalFree(text);
}
