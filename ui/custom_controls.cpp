#include "ui/custom_controls.h"

namespace controls {

namespace {

constexpr unsigned kSpaceKey = 0x20;
constexpr unsigned kEnterKey = 0x0D;

} // namespace

LinkSet LinkColors::Hover(LinkSet among, std::optional<Link> hovered) {
    LinkSet changed = 0;
    for (int index = 0; index < kLinkCount; ++index) {
        const Link link = Link(index);
        if (!(among & Only(link)))
            continue;
        const std::uint32_t color = hovered == link ? kLinkRed : kLinkBlue;
        if (colors_[index] != color)
            changed |= Only(link);
        colors_[index] = color;
    }
    return changed;
}

bool FollowsLink(unsigned virtualKey) {
    return virtualKey == kSpaceKey || virtualKey == kEnterKey;
}

int LinkDialogCode(bool focused) {
    return focused ? 0 : kWantTab;
}

} // namespace controls
