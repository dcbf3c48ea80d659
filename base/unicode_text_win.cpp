#include "base/unicode_text_win.h"

#include <windows.h>

namespace {

std::string Narrowed(UINT codePage, std::wstring_view text) {
    const int length = static_cast<int>(text.size());
    const int bytes =
        WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string narrow(bytes > 0 ? std::size_t(bytes) : 0, '\0');
    if (bytes > 0)
        WideCharToMultiByte(codePage, 0, text.data(), length, narrow.data(), bytes, nullptr,
                            nullptr);
    return narrow;
}

} // namespace

std::string Utf8Text(std::wstring_view text) {
    return Narrowed(CP_UTF8, text);
}

std::string AnsiText(std::wstring_view text) {
    return Narrowed(CP_ACP, text);
}

std::wstring Utf16Text(std::string_view utf8) {
    const int length = static_cast<int>(utf8.size());
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    std::wstring wide(units > 0 ? std::size_t(units) : 0, L'\0');
    if (units > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), units);
    return wide;
}
