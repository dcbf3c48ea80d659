// Registry files of the program's settings, as the system's registry editor
// exports them: what the import dialog lists, and the check that a chosen
// file changes nothing but the program's own key before the registry editor
// is allowed to import it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace settings_file {

// The key the export holds, as the registry editor names it.
inline constexpr char kExportedKey[] = "HKEY_CURRENT_USER\\Software\\Marrowen";
inline constexpr char kVersion5Header[] = "Windows Registry Editor Version 5.00";
inline constexpr char kRegedit4Header[] = "REGEDIT4";
// Far above an export of the settings and every saved layout, far below
// what would make reading the file slow.
inline constexpr std::size_t kMaxImportBytes = 4 * 1024 * 1024;
// The import dialog's list test reads no more than this of each file.
inline constexpr std::size_t kListTestBytes = 4096;

// The header the system's registry editor writes: version 5 (UTF-16 or
// 8-bit) on Windows 2000 and later, REGEDIT4 before.
enum class Header { Version5, Regedit4 };

// The import dialog's test of a file's first lines (`data` may be only the
// start of the file): the header, an empty line, the program's key.
bool LooksLikeExport(const std::uint8_t* data, std::size_t size, Header header);

enum class Verdict {
    Accepted,
    Unreadable, // cannot be opened or read
    Empty,
    TooLarge,
    BadHeader,       // not a registry file
    OtherFormat,     // a registry file of the other header
    OutsideKey,      // writes or deletes outside the program's key
    Malformed,       // a line an export never has, or a value cut short
    InvalidSettings, // a "Settings" value that the program would not load
};

struct Check {
    Verdict verdict;
    int line; // 1-based line of the fault, 0 when none
};

// The whole file, line by line: only key lines inside the program's key,
// only values written the way the registry editor exports them, every value
// complete, and a "Settings" value the program accepts.
Check CheckImportFile(const std::uint8_t* data, std::size_t size, Header header);

// The message shown when an import is refused.
std::string RefusalText(const Check& check);

} // namespace settings_file
