#include "base/app_state.h"

#include "base/unicode_text_win.h"

namespace {

// The longest path Windows knows, in UTF-16 units.
constexpr std::size_t kLongestPath = 32768;

} // namespace

AppState g_app;

std::string ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return Utf8Text(path);
        }
        if (path.size() >= kLongestPath)
            return {};
        path.resize(path.size() * 2);
    }
}

std::wstring TemporaryFolder() {
    wchar_t folder[MAX_PATH + 1] = L"";
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    return length > 0 && length <= MAX_PATH ? folder : L"";
}

int QuietMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    if (g_app.quiet)
        return IDOK;
    return MessageBoxA(owner, text, caption, type);
}
