// Where the tests find the release packages of scripts/package.sh, and what
// they read from the files in them.
#pragma once

#include "base/version.h"

#include <windows.h>

#include <optional>
#include <string>

namespace package_test {

// "Tessara-1.0.0-" and the rest of a package's name.
inline std::string PackageName(const std::string& suffix) {
    return std::string("Tessara-") + TESSARA_VERSION_TEXT + "-" + suffix;
}

// A folder of the tree as Wine sees it: the Unix root is drive Z:.
inline std::string WinePath(std::string unixPath) {
    for (char& c : unixPath)
        if (c == '/')
            c = '\\';
    return "Z:" + unixPath;
}

// dist\ of the tree, where the packages are.
inline std::string DistFile(const std::string& suffix) {
    return WinePath(TESSARA_DIST_DIR) + "\\" + PackageName(suffix);
}

// build\package\ of the tree, where the 64-bit build of the installer is.
inline std::string WorkFile(const std::string& suffix) {
    return WinePath(TESSARA_PACKAGE_WORK_DIR) + "\\" + PackageName(suffix);
}

inline bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

struct FileVersion {
    WORD major = 0, minor = 0, patch = 0, build = 0;
    std::string productVersion;   // the "ProductVersion" string
    std::string originalFilename; // the "OriginalFilename" string, "" when absent
};

// The version resource of a program or library file, nothing without one.
std::optional<FileVersion> ReadFileVersion(const std::string& path);

// The machine field of a program's or library's PE header (0 when unreadable).
WORD ImageMachine(const std::string& path);

// Whether this system runs 32-bit programs: a 64-bit Wine without its 32-bit
// loader (a kernel without IA-32 emulation) cannot.
bool Can32BitProgramsRun();

} // namespace package_test
