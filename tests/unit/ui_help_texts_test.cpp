#include "ui/help_texts.h"
#include "ui/web_site.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

struct TextCase {
    int id;
    const char* text;
};

TEST(HelpTexts_HelpText, GivesTheTextsWithTheirEscapes) {
    const TextCase cases[] = {
        {1001, "Specify foreground color"},
        {1003, "Check this to make icon backgrounds solid.\nThis enables the \"Auto Resample\" "
               "option."},
        {1020, "Hide icons after the cursor is on the desktop the desktop and stops moving"},
        {1060, "Show an Tessara Icon in the tray.\n\nIf unchecked use the \"Show/Hide\" hot key\n"
               "to hide and unhide the Tessara window."},
        {1108, "Press to set all settings to the defaults for this tab.\n\nOn the \"about\" tab, "
               "this button resets the settings to defaults for all tabs."},
        {1201, "Create a registry file to save\n\n   - All Icon Position settings\n   - All "
               "Tessara Settings\n "},
        {1210, "Expand \"stretched\" wallpaper so the aspect ratio is correct, but the image "
               "covers the whole screen"},
    };
    for (const TextCase& c : cases) {
        ASSERT_NE(HelpText(c.id), nullptr) << c.id;
        EXPECT_STREQ(HelpText(c.id), c.text) << c.id;
    }
}

TEST(HelpTexts_HelpText, TabControlAndLicenceLineHaveEmptyTexts) {
    for (int id : {1012, 1065}) {
        ASSERT_NE(HelpText(id), nullptr) << id;
        EXPECT_STREQ(HelpText(id), "") << id;
    }
}

TEST(HelpTexts_HelpText, WebPageLinkNamesTheSite) {
    EXPECT_EQ(std::string(HelpText(1015)),
              std::string("Visit the Tessara web page at ") + kWebSiteAddress);
}

TEST(HelpTexts_HelpText, NullForControlsWithoutTextAndOutsideTheTable) {
    for (int id :
         {1000, 1007, 1013, 1014, 1217, 1216, 999, 1218, 0, -1, 6, 32771, INT_MIN, INT_MAX}) {
        EXPECT_EQ(HelpText(id), nullptr) << id;
    }
}

TEST(HelpTexts_HelpText, EveryListedControlIsFound) {
    int withText = 0;
    for (int id = 1000; id <= 1217; ++id)
        withText += HelpText(id) != nullptr;
    EXPECT_EQ(withText, 68);
}

} // namespace
