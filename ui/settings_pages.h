// The settings window's pages as decisions over the Settings record: which
// tabs exist, which controls each page shows, enables and checks, and the
// settings that showing a page forces. The window side applies the decisions
// to the controls in the order given.
#pragma once

#include <string>
#include <vector>

#include "settings/settings_record.h"

enum class SettingsTab { Colors, Hiding, Positions, Desktop, Tray, Options, About, Test };

// Colors to About; the Test tab exists only in test mode.
inline constexpr int kPermanentTabCount = 7;

struct TabInfo {
    const char* label;
    const char* statusText; // for the status line, leading blank included
};

const TabInfo& TabInfoOf(SettingsTab tab);

// The state of the rest of the program that the page rules read.
struct PageContext {
    bool dropShadowsOn = false;
    bool showHideHotKeyActive = false;
    bool danceRunning = false;
    bool temporarilyMoved = false; // an alignment or the dance moved the icons
    bool testMode = false;
    bool activeDesktop = false;
    bool autoArrange = false; // the desktop list view arranges its icons itself
    bool windowsXPOrLater = false;
    bool windows2000OrLater = false;
    bool slideShowRunning = false; // the test page's slide show
};

// The check boxes whose state on the window, rather than their field, the
// enabling rules read: a click that no command stores yet still counts.
struct CheckedBoxes {
    bool hideWhenOffDesktop = false;
    bool hideWhenOnDesktop = false;
    bool delayShowOnDesktop = false;
    bool showOnDesktopClick = false;
    bool bossMouse = false;
    bool neverHide = false;
};

// The states the check boxes take when the controls are loaded from `live`.
CheckedBoxes ChecksFromSettings(const Settings& live);

enum class ControlAspect { Shown, Enabled, Checked };

struct ControlUpdate {
    int id;
    ControlAspect aspect;
    bool on;

    bool operator==(const ControlUpdate& other) const {
        return id == other.id && aspect == other.aspect && on == other.on;
    }
};

struct CaptionUpdate {
    int id;
    std::string text;
};

// What enabling the current page does to it.
struct PageEnabling {
    std::vector<ControlUpdate> updates;
    // Active Desktop cannot draw transparent captions: the window sends itself
    // the "Solid Color" command, whose handler stores and applies it.
    bool sendSolidColorCommand = false;
};

// What showing a page does: every update in order, then the enabling.
struct PageView {
    std::vector<ControlUpdate> updates;
    std::vector<CaptionUpdate> captions;
    const char* statusText;
    // The About area's animation timers run while the About page is shown.
    bool aboutTimersRun;
    PageEnabling enabling;
};

// What loading the controls from the settings does before it shows the
// current page.
struct LoadedControls {
    std::vector<ControlUpdate> updates;
    int hotCornerAction; // selection of the action combo box
};

// A record that fails its integrity marks is reloaded before a page is shown.
bool NeedsReloadBeforeShowing(const Settings& live);

// Shown state of every control of the visibility table, for the current tab.
std::vector<ControlUpdate> PageVisibility(const Settings& live, const PageContext& context,
                                          SettingsTab current);

// The decisions below may change live settings, as the window's functions
// that apply them (settings_pages_win.h) would.

// ShowOnDesktopClick is forced on in "Always hide" mode without the context
// menu entries, and BossMouse follows its check box.
PageEnabling DecidePageEnabling(Settings& live, const PageContext& context,
                                const CheckedBoxes& checks, SettingsTab current);

// ExitHides is cleared while ExitPrompt is set, and those of the enabling.
// The shown page's check boxes of HideCursor and ShowOnDesktopClick are set
// from their fields before the enabling reads them.
PageView DecidePageView(Settings& live, const PageContext& context, CheckedBoxes checks,
                        SettingsTab current);

// Both hiding modes set means "Never hide", and without the Show/Hide hot key
// the tray icon is the only way back. The window side then configures the
// sliders (sliders.h) and shows the current page.
LoadedControls DecideLoadedControls(Settings& live, const PageContext& context);
