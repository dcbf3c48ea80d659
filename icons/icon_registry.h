// Where the saved icon sets live: the screen size that names and converts a
// set, and the value of the current mode under the program's key.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "icons/icon_names.h"
#include "icons/icon_store.h"

struct IconScreen {
    int width;
    int height;
};

// SM_CXSCREEN x SM_CYSCREEN, or the virtual screen with two or more monitors.
IconScreen CurrentIconScreen();

// Whether PerResolutionPositions selects the relative set.
bool RelativeModeSelected();

// The value of the mode in use: "SavedIcons_Relative" or "SavedIcons_W_H".
std::string CurrentIconValueName(IconScreen screen);

// Reads the whole value into buffer. False when the key or the value is
// missing, or when the value is longer than the buffer: kMaxStoredBytes for a
// set, kMaxNameBytes for its names, more than any save writes.
bool ReadIconValue(const std::string& name, std::uint8_t (&buffer)[icons::kMaxStoredBytes],
                   std::size_t& size);
bool ReadIconValue(const std::string& name, std::uint8_t (&buffer)[icons::kMaxNameBytes],
                   std::size_t& size);

enum class IconValueWrite { Stored, NoKey, Refused };

// Stores the value. The registry writes a value whole or not at all, so a
// write it refuses leaves the set saved before under that name readable:
// Refused, and nothing is deleted. NoKey when the key cannot be created.
IconValueWrite WriteIconValue(const std::string& name, const std::uint8_t* data, std::size_t size);
