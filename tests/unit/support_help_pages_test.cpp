#include "support/help_pages.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using help_pages::PageRequest;
using help_pages::WebPage;

TEST(HelpPages_PageOfTab, OnePagePerTabAndTheContentsForTheRest) {
    const struct {
        int tab;
        const char* page;
    } cases[] = {
        {0, "colors.htm"},  {1, "hiding.htm"},  {2, "positions.htm"}, {3, "desktop.htm"},
        {4, "tray.htm"},    {5, "options.htm"}, {6, "index.html"},    {7, "index.html"},
        {-1, "index.html"}, {8, "index.html"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(help_pages::PageOfTab(c.tab), c.page) << c.tab;
}

TEST(HelpPages_LocalHelpFolder, FolderOfTheProgramUpToTheLastBackslash) {
    const struct {
        const char* program;
        const char* folder;
    } cases[] = {
        {"C:\\Program Files\\Tessara\\Tessara.exe", "C:\\Program Files\\Tessara\\help\\"},
        {"C:\\Tessara.exe", "C:\\help\\"},
        {"\\\\server\\share\\t.exe", "\\\\server\\share\\help\\"},
        {"C:\\odd.name\\dir\\", "C:\\odd.name\\dir\\help\\"},
        {"Tessara.exe", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(help_pages::LocalHelpFolder(c.program), c.folder) << c.program;
}

TEST(HelpPages_WebAddress, PlainHttpOnTheHost) {
    EXPECT_EQ(help_pages::WebAddress("www.example.com", WebPage::Home), "http://www.example.com/");
    EXPECT_EQ(help_pages::WebAddress("www.example.com", WebPage::HelpIndex),
              "http://www.example.com/help/index.html");
    EXPECT_EQ(help_pages::WebAddress("127.0.0.1:8080", WebPage::Faq),
              "http://127.0.0.1:8080/help/faq.htm");
    EXPECT_EQ(help_pages::WebAddress("h", WebPage::Donation), "http://h/donate.htm");
}

struct TargetCase {
    int command;
    int tab;
    bool localExists;
    const char* target;
};

TEST(HelpPages_Target, EachCommandOpensItsPageLocalFirst) {
    const char* const folder = "C:\\T\\help\\";
    const TargetCase cases[] = {
        {IDC_HELP_BUTTON, 0, true, "C:\\T\\help\\colors.htm"},
        {IDC_HELP_BUTTON, 3, true, "C:\\T\\help\\desktop.htm"},
        {IDC_HELP_BUTTON, 5, true, "C:\\T\\help\\options.htm"},
        {IDC_HELP_BUTTON, 6, true, "C:\\T\\help\\index.html"},
        {IDC_HELP_BUTTON, 7, true, "C:\\T\\help\\index.html"},
        // Without the local page the web help starts at its index, whatever the tab.
        {IDC_HELP_BUTTON, 1, false, "http://h/help/index.html"},
        {IDC_HELP_BUTTON, 6, false, "http://h/help/index.html"},
        {IDC_FAQ_LINK, 2, true, "C:\\T\\help\\faq.htm"},
        {IDC_FAQ_LINK, 2, false, "http://h/help/faq.htm"},
        // The home and donation pages are on the web only.
        {IDC_WEB_PAGE_LINK, 0, true, "http://h/"},
        {IDM_WEB_PAGE, 4, true, "http://h/"},
        {IDM_DONATE, 6, true, "http://h/donate.htm"},
    };
    for (const TargetCase& c : cases) {
        PageRequest request{};
        ASSERT_TRUE(help_pages::RequestOfCommand(c.command, c.tab, request)) << c.command;
        EXPECT_EQ(help_pages::ChosenTarget(request, folder, c.localExists, "h"), c.target)
            << c.command << " tab " << c.tab << " local " << c.localExists;
    }
}

TEST(HelpPages_Target, NoLocalFolderMeansTheWebEvenIfReportedPresent) {
    PageRequest request{};
    ASSERT_TRUE(help_pages::RequestOfCommand(IDC_HELP_BUTTON, 0, request));
    EXPECT_EQ(help_pages::ChosenTarget(request, "", true, "h"), "http://h/help/index.html");
}

TEST(HelpPages_RequestOfCommand, OtherCommandsOpenNothing) {
    for (int command : {0, IDC_HIDE_WINDOW, IDC_TAB_DEFAULTS, IDC_DONATE_BUTTON, IDM_EXIT}) {
        PageRequest request{};
        EXPECT_FALSE(help_pages::RequestOfCommand(command, 0, request)) << command;
    }
}

} // namespace
