#include "ui/help_texts.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "ui/resource.h"
#include "ui/web_site.h"

namespace {

struct HelpEntry {
    int id;
    const char* text;
};

// Ascending by id.
const HelpEntry kHelpTexts[] = {
    {1001, "Specify foreground color"},
    {1002, "Check this to make icon backgrounds transparent"},
    {1003,
     "Check this to make icon backgrounds solid.\nThis enables the \"Auto Resample\" option."},
    {1004, "Specify background color"},
    {1005, "Automatically select a new icon text background color by resampling the desktop "
           "whenever the wallpaper changes."},
    {1006, "Press this button to automatically select a new text background color based on the "
           "current wallpaper.  This sets the icon text background to \"Solid color\" if it is "
           "currently transparent."},
    {1009, "Press the \"Hide\" button to hide the Tessara window.\n\nYou can restore the window by "
           "clicking on the tray icon or using the Show/Hide (depending on your selections in the "
           "\"Tray\" and \"Options\" tabs)."},
    {1011, "Press the \"Help\" button to see the Tessara help.\n\nIf a local copy of the help is "
           "unavailable, Tessara will attempt to view it from the web."},
    {1012, ""},
    {1016, "Set the amount of time the cursor must be off of the desktop before icons are hidden."},
    {1017, "Hide desktop icons based on mouse pointer location"},
    {1018, "Always hide icons.  To see them temporarily click\nthe desktop or press your specified "
           "hot key."},
    {1019, "Hide icons after cursor leaves the desktop"},
    {1020, "Hide icons after the cursor is on the desktop the desktop and stops moving"},
    {1021,
     "Set the amount of time the cursor must be idle over the desktop before icons are hidden."},
    {1022, "Delay restoring icons when the cursor moves over the desktop.\n\nUse this to avoid "
           "icon blinking when you are just moving over the desktop to get to another window."},
    {1023, "Set the amount of time the cursor must be on the desktop before icons are displayed."},
    {1036, "Number of seconds icons will remain visible\nafter you click the desktop."},
    {1041, "Start Tessara when you log in to Windows."},
    {1042, "Hide Tessara when it starts."},
    {1043, "Prompt for close or hide when you close the Tessara window."},
    {1044, "Perform special actions whenever the cursor moves to the selected corner."},
    {1045, "Cursor must be in the selected corner for 1 second before windows are hidden."},
    {1060, "Show an Tessara Icon in the tray.\n\nIf unchecked use the \"Show/Hide\" hot key\nto "
           "hide and unhide the Tessara window."},
    {1061, "Show \"Save Icon Positions\" and \"Restore Icon Positions\"\nin the tray popup menu "
           "(viewed via right-click)."},
    {1062, "Show icon text transparency options in the tray popup menu (viewed via right-click)."},
    {1063, "Show icon hiding options in the tray popup menu (viewed via right-click)."},
    {1064, "Show \"Help\" in the tray popup menu (viewed via right-click)."},
    {1065, ""},
    {1068, "Automatically restore icon positions as needed."},
    {1070, "Restore icon positions to their last saved positions."},
    {1075,
     "Save and restore icons using separate saved positions for each resolutions.\n\nUse this if "
     "you frequently change resolutions and want different icon positions for each resolution."},
    {1076, "Save and restore icons using a single set of relative positions for all "
           "resolutions.\n\nUse this if you frequently change resolutions and want your icons to "
           "be in the same place on the screen for all resolutions."},
    {1077, "Save icon positions now.\n\nThis only saves the positions for the current selection "
           "(relative or absolute)."},
    {1082, "This area shows how your selection will look on your current background.\n\nMove the "
           "Tessara window around to see how it will look in different areas of the desktop."},
    {1097, "Display the status bar at the bottom of\nthe window and tool tips."},
    {1099, "Terminate Tessara when you close the Tessara window."},
    {1100, "Hide Tessara when you close the Tessara window.\n\nTo exit the program, you must "
           "change this setting back to Prompt or Exit."},
    {1102,
     "Show \"Do the icon dance\" in the tray popup menu\nThe icon dance is... oh just try it."},
    {1103, "Don't hide desktop icons"},
    {1105, "Instantly minimize windows when the cursor touches any window edge.\n\nUse this when "
           "you are looking at, well, things you aren't supposed to be looking at."},
    {1108, "Press to set all settings to the defaults for this tab.\n\nOn the \"about\" tab, this "
           "button resets the settings to defaults for all tabs."},
    {1111, "We're havin' a party...\nCome. Join us!\n\nPress this to try the icon dance.\nYou must "
           "be able to see the desktop."},
    {1112, "Cause any window to become transparent when\nyou hover the cursor over the window's "
           "close [X]\nbox in the upper right corner."},
    {1116, "Automatically selects black or white as the text color based on the color of the text "
           "background"},
    {1117, "View the answers to Tessara\nFrequently Asked Questions (FAQ)"},
    {1118, "Automatically set the desktop background color based on the colors in the picture you "
           "are displaying on the desktop.\n\nThis is used to provide a suitable color for the "
           "unused portion of the screen when the picture is smaller than the desktop.\n\nThis is "
           "especially useful if you use an automatic wallpaper changer."},
    {1119, "Use the complimentary color.\n\nThis sometimes provides a nice contrasting\nborder for "
           "the picture."},
    {1122, "When determining the desktop color, ignore solid borders in the picture.\n\nUse this "
           "if you are displaying pictures that have solid borders and you do not want to have the "
           "desktop the same color as the border."},
    {1123, "Sample whole image.  If unchecked, only the several outermost pixels are sampled.  "
           "Leave this unchecked for the best blend of the background and picture borders."},
    {1126, "Manually select a background color for the desktop by using the color box to the "
           "right.\n\nLeft click to select a color from a color box.\nRight click to select a "
           "color from the current background."},
    {1129, "Hide the mouse pointer and Windows toolbar 5 seconds after desktop icons are "
           "removed.\n\nThis only occurs when the cursor is over the desktop.\n\nThe cursor is "
           "restored with any cursor movement."},
    {1135, "Wrap icons around the edge of the screen.\nThis change is not permanent."},
    {1136, "Align icons along the top of the screen.\nThis change is not permanent."},
    {1137, "Align icons along the bottom of the screen.\nThis change is not permanent."},
    {1139, "Align icons along the left side of the screen.\nThis change is not permanent."},
    {1140, "Align icons along the right side of the screen.\nThis change is not permanent."},
    {1141, "Hide the Windows taskbar when automatically hiding icons.\nThe taskbar will not be "
           "hidden if the cursor is over it"},
    {1153, "Set up your \"Show/Hide\" hot key\nand your \"Show Icons\" hot key."},
    {1159, "Maintain the height/width ratios of pictures on the desktop\nwhen they are stretched "
           "to fill the screen.\n\nCheck this to reduce distortion of photographic backgrounds."},
    {1161, "Add Tessara entries to the desktop\ncontext menu (right click menu)"},
    {1166, "If you like Tessara\nplease send a small donation."},
    {1172, "Click desktop to show icons"},
    {1183, "When selected, Tessara will not automatically change the desktop background color."},
    {1201, "Create a registry file to save\n\n   - All Icon Position settings\n   - All Tessara "
           "Settings\n "},
    {1202,
     "Import a registry file to restore Tessara's settings.\n\n     Be careful!!\n\nImporting a "
     "registry file not created by\nTessara could harm your system!!"},
    {1210, "Expand \"stretched\" wallpaper so the aspect ratio is correct, but the image covers "
           "the whole screen"},
};

const char* WebPageLinkText() {
    static const std::string text = std::string("Visit the Tessara web page at ") + kWebSiteAddress;
    return text.c_str();
}

} // namespace

const char* HelpText(int controlId) {
    if (controlId == IDC_WEB_PAGE_LINK)
        return WebPageLinkText();
    auto entry = std::lower_bound(std::begin(kHelpTexts), std::end(kHelpTexts), controlId,
                                  [](const HelpEntry& e, int id) { return e.id < id; });
    if (entry == std::end(kHelpTexts) || entry->id != controlId)
        return nullptr;
    return entry->text;
}
