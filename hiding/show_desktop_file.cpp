#include "hiding/show_desktop_file.h"

std::string_view ShowDesktopFileBytes() {
    return "[Shell]\nCommand=2\nIconFile=explorer.exe,3\n\n[Taskbar]\nCommand=ToggleDesktop\n";
}

std::optional<std::string> PathInDirectory(std::string_view directory, std::string_view name,
                                           std::size_t capacity) {
    if (directory.empty() || directory.size() + name.size() + 1 > capacity)
        return std::nullopt;
    std::string path(directory);
    path += name;
    return path;
}
