// "&Reset Tab" and "&Reset All": the settings that each tab puts back to
// their defaults.
#pragma once

#include "settings/settings_record.h"
#include "ui/settings_pages.h"

// What the window does after the fields are reset, so that each reset
// setting takes effect as its own control would apply it. A changed tray
// icon, tool tip or window fading setting is not written directly: the field
// keeps its old value and the window sends itself the command that switches
// it, with its effects. A changed hiding mode is written and its command sent.
struct TabReset {
    bool sendShowTrayIconCommand = false;
    bool sendShowToolTipsCommand = false;
    bool sendWindowFadingCommand = false;
    bool sendHidingModeCommand = false;
    bool registerHotKeys = false;
    bool repaintDesktopColorBox = false;
};

// The radio button of the record's hiding mode, whose command applies it.
int HidingModeCommand(const Settings& s);

// Copies the current tab's fields from `defaults` into `live`; on the About
// tab, the whole record.
TabReset ResetTabFields(Settings& live, const Settings& defaults, SettingsTab current);
