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
};

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

// What UpdatePageEnabling does to the current page.
struct PageEnabling {
    std::vector<ControlUpdate> updates;
    // Active Desktop cannot draw transparent captions: the window sends itself
    // the "Solid Color" command, whose handler stores and applies it.
    bool sendSolidColorCommand = false;
};

// What ShowTabPage does: every update in order, then the enabling.
struct PageView {
    std::vector<ControlUpdate> updates;
    std::vector<CaptionUpdate> captions;
    const char* statusText;
    bool startAboutTimers; // the About area's animation timers
    PageEnabling enabling;
};

// What LoadControlsFromSettings does before it shows the current page.
struct LoadedControls {
    std::vector<ControlUpdate> updates;
    int hotCornerAction; // selection of the action combo box
};

// A record that fails its integrity marks is reloaded before a page is shown.
bool NeedsReloadBeforeShowing(const Settings& live);

// Shown state of every control of the visibility table, for the current tab.
std::vector<ControlUpdate> PageVisibility(const Settings& live, const PageContext& context,
                                          SettingsTab current);

// May change live settings: ShowOnDesktopClick is forced on in "Always hide"
// mode without the context menu entries.
PageEnabling UpdatePageEnabling(Settings& live, const PageContext& context, SettingsTab current);

// May change live settings: ExitHides is cleared while ExitPrompt is set, and
// those of UpdatePageEnabling.
PageView ShowTabPage(Settings& live, const PageContext& context, SettingsTab current);

// May change live settings: both hiding modes set means "Never hide", and
// without the Show/Hide hot key the tray icon is the only way back. The window
// side then configures the sliders (sliders.h) and shows the current page.
LoadedControls LoadControlsFromSettings(Settings& live, const PageContext& context);
