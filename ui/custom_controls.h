// The rules of the settings window's self-drawn links: their colours under
// the pointer, and which keys and dialog codes they answer.
#pragma once

#include <cstdint>
#include <optional>

namespace controls {

// COLORREF values (0x00BBGGRR).
inline constexpr std::uint32_t kLinkBlue = 0xFF0000;
inline constexpr std::uint32_t kLinkRed = 0x0000FF;

// The four links: two under the tab control, two in the About area.
enum class Link { WebPage, Faq, EmailSupport, CheckVersion };
inline constexpr int kLinkCount = 4;

// A set of links as bits, 1 << int(link).
using LinkSet = unsigned;
inline constexpr LinkSet Only(Link link) {
    return 1u << unsigned(link);
}
inline constexpr LinkSet kWindowLinks = Only(Link::WebPage) | Only(Link::Faq);
inline constexpr LinkSet kAboutLinks = Only(Link::EmailSupport) | Only(Link::CheckVersion);
inline constexpr LinkSet kAllLinks = kWindowLinks | kAboutLinks;

// The colour of each link: blue, red while the pointer is over it.
class LinkColors {
  public:
    std::uint32_t Of(Link link) const { return colors_[int(link)]; }
    // The links of `among` turn blue and `hovered` red; the links whose
    // colour changed.
    LinkSet Hover(LinkSet among, std::optional<Link> hovered);

  private:
    std::uint32_t colors_[kLinkCount] = {kLinkBlue, kLinkBlue, kLinkBlue, kLinkBlue};
};

// Space and Enter follow a focused link (virtual-key codes).
bool FollowsLink(unsigned virtualKey);

// WM_GETDLGCODE of a link: it asks for the tab key until it has the focus,
// so that the tab key stops on it (DLGC_WANTTAB), and nothing once focused.
inline constexpr int kWantTab = 2;
int LinkDialogCode(bool focused);

} // namespace controls
