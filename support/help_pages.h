// Which page the help commands and the web links open: a page of the local
// help folder next to the program when it is there, else a page of the web
// site. The shell opens whatever is chosen; the program has no viewer.
#pragma once

#include <string>
#include <string_view>

namespace help_pages {

// The local page of each tab of the settings window, by tab index (Colors 0
// to Options 5); the About tab, the test tab and any other index give the
// contents page.
const char* PageOfTab(int tabIndex);

inline constexpr char kContentsPage[] = "index.html";
inline constexpr char kFaqPage[] = "faq.htm";

// The help folder of the program at `programPath` (a Windows path): its
// folder, up to the last backslash, followed by "help\". Empty when the path
// has no backslash.
std::string LocalHelpFolder(std::string_view programPath);

enum class WebPage { Home, HelpIndex, Faq, Donation };

// "http://" + host + the page's path; the home page is the site root.
std::string WebAddress(std::string_view host, WebPage page);

// What a command opens: a local page to try first (null for none) and the
// web page to open when it is missing.
struct PageRequest {
    const char* localPage;
    WebPage webPage;
};

// The commands that open pages: the Help button and tray entry (the page of
// `tabIndex`), the FAQ link, the Web Page link and menu entry, the donation
// button. False for any other command.
bool RequestOfCommand(int command, int tabIndex, PageRequest& request);

// The local file when it exists, else the web address.
std::string ChosenTarget(const PageRequest& request, std::string_view helpFolder,
                         bool localPageExists, std::string_view host);

} // namespace help_pages
