// Conversions between UTF-16, the system's own text, and the 8-bit forms the
// program's portable code works in: UTF-8 for paths that must stay exact, the
// ANSI code page where a reader expects it.
#pragma once

#include <string>
#include <string_view>

std::string Utf8Text(std::wstring_view text);
std::wstring Utf16Text(std::string_view utf8);
// Each character the code page lacks becomes "?".
std::string AnsiText(std::wstring_view text);
