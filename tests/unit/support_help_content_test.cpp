// The local help pages as shipped: no broken local link, and each tab's page
// names every button, check box, radio button and group of that tab, with the
// captions taken from the settings window's dialog script.
#ifdef TESSARA_SOURCE_DIR

#include "support/help_pages.h"
#include "ui/settings_pages.h"

#include <gtest/gtest.h>

#include <fstream>
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
