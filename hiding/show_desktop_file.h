// The shell command file that toggles between the desktop and the windows:
// where it is looked for, where it is written, and its exact bytes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

inline constexpr char kSystemShowDesktopFile[] = "\\system\\Show Desktop.scf";
inline constexpr char kTemporaryShowDesktopFile[] = "tessara.scf";
inline constexpr char kShowDesktopFileError[] = "Could not create temporary 'Show Desktop' file.";

// The file as written: single line feeds, no terminating zero.
std::string_view ShowDesktopFileBytes();

// `directory` followed by `name`, or nothing when the path with its
// terminating zero would not fit `capacity` characters.
std::optional<std::string> PathInDirectory(std::string_view directory, std::string_view name,
                                           std::size_t capacity);
