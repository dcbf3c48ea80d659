#include "support/help_pages.h"

#include "ui/resource.h"

namespace help_pages {

namespace {

const char* const kTabPages[] = {"colors.htm",  "hiding.htm", "positions.htm",
                                 "desktop.htm", "tray.htm",   "options.htm"};
constexpr int kTabPageCount = sizeof kTabPages / sizeof kTabPages[0];

const char* WebPath(WebPage page) {
    switch (page) {
    case WebPage::HelpIndex:
        return "/help/index.html";
    case WebPage::Faq:
        return "/help/faq.htm";
    case WebPage::Donation:
        return "/donate.htm";
    case WebPage::Home:
        break;
    }
    return "/";
}

} // namespace

const char* PageOfTab(int tabIndex) {
    return tabIndex >= 0 && tabIndex < kTabPageCount ? kTabPages[tabIndex] : kContentsPage;
}

std::string LocalHelpFolder(std::string_view programPath) {
    const std::size_t slash = programPath.rfind('\\');
    if (slash == std::string_view::npos)
        return {};
    return std::string(programPath.substr(0, slash + 1)) + "help\\";
}

std::string WebAddress(std::string_view host, WebPage page) {
    return "http://" + std::string(host) + WebPath(page);
}

bool RequestOfCommand(int command, int tabIndex, PageRequest& request) {
    switch (command) {
    case IDC_HELP_BUTTON:
        // Whatever the tab, the web help starts at its index.
        request = {PageOfTab(tabIndex), WebPage::HelpIndex};
        return true;
    case IDC_FAQ_LINK:
        request = {kFaqPage, WebPage::Faq};
        return true;
    case IDC_WEB_PAGE_LINK:
    case IDM_WEB_PAGE:
        request = {nullptr, WebPage::Home};
        return true;
    case IDM_DONATE:
        request = {nullptr, WebPage::Donation};
        return true;
    default:
        return false;
    }
}

std::string ChosenTarget(const PageRequest& request, std::string_view helpFolder,
                         bool localPageExists, std::string_view host) {
    if (request.localPage != nullptr && localPageExists && !helpFolder.empty())
        return std::string(helpFolder) + request.localPage;
    return WebAddress(host, request.webPage);
}

} // namespace help_pages
