#include "tests/package/package_files.h"

#include "tests/harness/harness.h"

#include <fstream>
#include <vector>

namespace package_test {

namespace {

std::string StringValue(const std::vector<char>& block, const char* name) {
    char* text = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) ||
        length == 0)
        return "";
    return std::string(text, length - 1);
}

} // namespace

std::optional<FileVersion> ReadFileVersion(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        return std::nullopt;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof *fixed)
        return std::nullopt;
    FileVersion version;
    version.major = HIWORD(fixed->dwFileVersionMS);
    version.minor = LOWORD(fixed->dwFileVersionMS);
    version.patch = HIWORD(fixed->dwFileVersionLS);
    version.build = LOWORD(fixed->dwFileVersionLS);
    version.productVersion = StringValue(block, "ProductVersion");
    version.originalFilename = StringValue(block, "OriginalFilename");
    return version;
}

WORD ImageMachine(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    DWORD headerOffset = 0;
    file.seekg(0x3C);
    file.read(reinterpret_cast<char*>(&headerOffset), sizeof headerOffset);
    char signature[4] = {};
    WORD machine = 0;
    file.seekg(headerOffset);
    file.read(signature, sizeof signature);
    file.read(reinterpret_cast<char*>(&machine), sizeof machine);
    if (!file || std::string(signature, 4) != std::string("PE\0\0", 4))
        return 0;
    return machine;
}

bool Can32BitProgramsRun() {
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    harness::Process cmd =
        harness::Process::Start(std::string(windows) + "\\SysWOW64\\cmd.exe", "/c exit 7");
    return cmd.Pid() != 0 && cmd.WaitExit() == std::optional<DWORD>(7);
}

} // namespace package_test
