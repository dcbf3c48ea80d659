// The settings window's links, in the order of their tool ids.
#pragma once

#include <cstddef>

#include "ui/resource.h"

struct LinkControl {
    int id;
    const char* caption;
};

inline constexpr LinkControl kLinkControls[] = {
    {IDC_WEB_PAGE_LINK, "Web Page"},
    {IDC_FAQ_LINK, "FAQ"},
};
inline constexpr std::size_t kLinkCount = sizeof kLinkControls / sizeof kLinkControls[0];
