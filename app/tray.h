// The notification-area icon and its menu: which items the menu holds for a
// given record and state, what "Show tray icon" does, what a click does.
#pragma once

#include "settings/settings_record.h"

#include <string>
#include <vector>

// State besides the settings that the menu depends on.
struct TrayMenuContext {
    bool danceRunning = false;
    bool activeDesktop = false;
    bool dropShadowsOn = false;
    bool testMode = false;
    bool savedSetExists = false;   // a saved icon set for the current mode
    bool temporarilyMoved = false; // an alignment or the dance moved the icons
};

enum class TrayItemKind { Command, Separator, TestMenu };

struct TrayMenuItem {
    TrayItemKind kind = TrayItemKind::Command;
    int id = 0;
    const char* text = "";
    bool checked = false;
    bool greyed = false;

    bool operator==(const TrayMenuItem& other) const;
};

// The menu resource holds "Web Page", a separator and the exit item; these
// are inserted into it.
struct TrayMenuLayout {
    std::vector<TrayMenuItem> afterWebPage;
    std::vector<TrayMenuItem> beforeExit;
};

inline constexpr char kTrayExitText[] = "&Exit";
inline constexpr char kTrayTestMenuText[] = "[ Test ]";

TrayMenuLayout TrayMenuItems(const Settings& settings, const TrayMenuContext& context);

// "Show tray icon" (command 1060): the icon can be switched off only while
// the Show/Hide hot key is registered. The removal counter is -1 while the
// deferred start switches the icon, so that start-up shows no message.
struct TraySwitch {
    int32_t showTrayIcon;
    bool add;                // add the icon, else delete it
    bool showRemovalMessage; // the first removal since start
    int removalCount;
};

TraySwitch SwitchTrayIcon(int32_t showTrayIcon, bool showHideHotKeyActive, int removalCount);

// What a mouse message of the icon does to the settings window.
enum class TrayClick { Nothing, ShowInFront, Hide, Menu };

TrayClick TrayClickAction(unsigned mouseMessage, bool programHasFocus);

// The messages that name the Show/Hide hot key by `keyText`.
std::string TrayRemovalText(const std::string& keyText);
std::string HideWhenStartedWithoutTrayText(const std::string& keyText);
