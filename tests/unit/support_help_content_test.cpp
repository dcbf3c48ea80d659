// The local help pages as shipped: no broken local link, and each tab's page
// names every button, check box, radio button and group of that tab, with the
// captions taken from the settings window's dialog script.
#ifdef TESSARA_SOURCE_DIR

#include "support/help_pages.h"
#include "ui/settings_pages.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <utility>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kHelpDir = std::string(TESSARA_SOURCE_DIR) + "/help/";

bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
    return true;
}

std::string CollapseSpaces(const std::string& text) {
    std::string out;
    for (char c : text) {
        const bool space = c == ' ' || c == '\n' || c == '\r' || c == '\t';
        if (space && (out.empty() || out.back() == ' '))
            continue;
        out += space ? ' ' : c;
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// What a reader sees of a page: its text without tags, entities decoded.
std::string VisibleText(const std::string& html) {
    std::string text = std::regex_replace(html, std::regex("<[^>]*>"), " ");
    ReplaceAll(text, "&quot;", "\"");
    ReplaceAll(text, "&lt;", "<");
    ReplaceAll(text, "&gt;", ">");
    ReplaceAll(text, "&nbsp;", " ");
    ReplaceAll(text, "&amp;", "&");
    return CollapseSpaces(text);
}

// A caption as the window shows it: no mnemonic ampersands, doubled quotes
// single, spaces collapsed.
std::string ShownCaption(std::string caption) {
    ReplaceAll(caption, "\"\"", "\"");
    std::string out;
    for (char c : caption)
        if (c != '&')
            out += c;
    return CollapseSpaces(out);
}

// The captions of the page controls, by the section of the dialog script
// ("// ---- Colors: ..." starts the Colors section).
std::map<std::string, std::vector<std::string>> CaptionsBySection(const std::string& script) {
    static const std::regex section(R"(^// ---- (\w+))");
    static const std::regex control(
        R"re(^\s*(AUTORADIOBUTTON|AUTOCHECKBOX|PUSHBUTTON|GROUPBOX)\s+"((?:[^"]|"")*)")re");
    std::map<std::string, std::vector<std::string>> captions;
    std::string current;
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_search(line, match, section)) {
            current = match[1];
        } else if (std::regex_search(line, match, control)) {
            const std::string caption = ShownCaption(match[2]);
            // The frames that hold a page have placeholder captions nobody sees.
            if (!caption.empty() && caption.rfind("IDC_", 0) != 0)
                captions[current].push_back(caption);
        }
    }
    return captions;
}

std::vector<std::string> HelpPages() {
    return {"index.html",  "colors.htm", "hiding.htm",  "positions.htm",
            "desktop.htm", "tray.htm",   "options.htm", "faq.htm"};
}

TEST(HelpContent, EveryPageOfTheProgramIsShipped) {
    std::string text;
    for (int tab = 0; tab < kPermanentTabCount + 1; ++tab)
        EXPECT_TRUE(ReadFile(kHelpDir + help_pages::PageOfTab(tab), text)) << tab;
    EXPECT_TRUE(ReadFile(kHelpDir + help_pages::kFaqPage, text));
    EXPECT_TRUE(ReadFile(kHelpDir + help_pages::kContentsPage, text));
}

TEST(HelpContent, NoBrokenLocalLinks) {
    static const std::regex link(R"re((?:href|src)\s*=\s*"([^"]*)")re");
    for (const std::string& page : HelpPages()) {
        std::string html;
        ASSERT_TRUE(ReadFile(kHelpDir + page, html)) << page;
        int links = 0;
        for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it) {
            std::string target = (*it)[1];
            if (target.rfind("http:", 0) == 0 || target.rfind("https:", 0) == 0 ||
                target.rfind("mailto:", 0) == 0 || target.rfind('#', 0) == 0)
                continue;
            target = target.substr(0, target.find('#'));
            std::string linked;
            EXPECT_FALSE(target.empty()) << page;
            EXPECT_TRUE(ReadFile(kHelpDir + target, linked)) << page << " links to " << target;
            ++links;
        }
        // Every page reaches the stylesheet and the others.
        EXPECT_GE(links, 8) << page;
    }
}

// The width and height recorded in a PNG file's header; nothing when the
// bytes are not a PNG.
std::optional<std::pair<int, int>> PngSize(const std::string& bytes) {
    static const std::string signature("\x89PNG\r\n\x1a\n", 8);
    if (bytes.size() < 24 || bytes.compare(0, 8, signature) != 0 ||
        bytes.compare(12, 4, "IHDR") != 0)
        return std::nullopt;
    const auto number = [&](std::size_t at) {
        int value = 0;
        for (std::size_t i = at; i < at + 4; ++i)
            value = value << 8 | static_cast<unsigned char>(bytes[i]);
        return value;
    };
    return std::pair{number(16), number(20)};
}

// Each tab's page shows a picture of its tab, as the Wine test of the pages
// took it (scripts/help_screenshots.sh): a PNG of the declared size, with a
// text for readers who cannot see it. Every picture of every page exists.
TEST(HelpContent, EachTabsPageShowsAPictureOfItsTab) {
    static const std::regex image(
        R"re(<img src="([^"]*)" width="(\d+)" height="(\d+)" alt="([^"]+)">)re");
    for (int tab = 0; tab < int(SettingsTab::About); ++tab) {
        const std::string page = help_pages::PageOfTab(tab);
        std::string html;
        ASSERT_TRUE(ReadFile(kHelpDir + page, html)) << page;
        const std::string own = "images/" + page.substr(0, page.find('.')) + ".png";
        bool shown = false;
        for (std::sregex_iterator it(html.begin(), html.end(), image), end; it != end; ++it) {
            const std::string source = (*it)[1];
            shown = shown || source == own;
            std::string bytes;
            ASSERT_TRUE(ReadFile(kHelpDir + source, bytes)) << page << " shows " << source;
            const auto size = PngSize(bytes);
            ASSERT_TRUE(size) << source << " is not a PNG";
            EXPECT_EQ(size->first, std::stoi((*it)[2])) << source;
            EXPECT_EQ(size->second, std::stoi((*it)[3])) << source;
        }
        EXPECT_TRUE(shown) << page << " does not show " << own;
        std::size_t tags = 0;
        for (std::size_t at = html.find("<img"); at != std::string::npos;
             at = html.find("<img", at + 1))
            ++tags;
        EXPECT_EQ(tags,
                  std::size_t(std::distance(std::sregex_iterator(html.begin(), html.end(), image),
                                            std::sregex_iterator())))
            << page << ": an image without size or alternative text";
    }
}

TEST(HelpContent, PagesDeclareTheirLanguageTitleAndHeading) {
    for (const std::string& page : HelpPages()) {
        std::string html;
        ASSERT_TRUE(ReadFile(kHelpDir + page, html)) << page;
        EXPECT_NE(html.find("<html lang=\"en\">"), std::string::npos) << page;
        EXPECT_NE(html.find("<title>"), std::string::npos) << page;
        EXPECT_NE(html.find("<h1>"), std::string::npos) << page;
        EXPECT_NE(html.find("href=\"style.css\""), std::string::npos) << page;
    }
}

TEST(HelpContent, EachTabsPageNamesEveryControlOfTheTab) {
    std::string script;
    ASSERT_TRUE(ReadFile(std::string(TESSARA_SOURCE_DIR) + "/ui/page_controls.rc", script));
    const auto captions = CaptionsBySection(script);
    for (int tab = 0; tab < kPermanentTabCount; ++tab) {
        const std::string label = TabInfoOf(SettingsTab(tab)).label;
        const auto section = captions.find(label);
        ASSERT_NE(section, captions.end()) << label;
        EXPECT_FALSE(section->second.empty()) << label;
        std::string html;
        const std::string page = help_pages::PageOfTab(tab);
        ASSERT_TRUE(ReadFile(kHelpDir + page, html)) << page;
        const std::string text = VisibleText(html);
        for (const std::string& caption : section->second)
            EXPECT_NE(text.find(caption), std::string::npos)
                << page << " does not name \"" << caption << "\" of the " << label << " tab";
    }
}

TEST(HelpContent, CaptionsReadAsTheWindowShowsThem) {
    EXPECT_EQ(ShownCaption("\"\"Hel&p...\"\""), "\"Help...\"");
    EXPECT_EQ(ShownCaption("Do the &Icon Dance  (try it:"), "Do the Icon Dance (try it:");
    EXPECT_EQ(ShownCaption("Exit Action "), "Exit Action");
    EXPECT_EQ(VisibleText("<dt>A &amp; <b>B</b>\n&quot;C&quot;</dt>"), "A & B \"C\"");
}

} // namespace

#endif
