// "&Reset Tab" and "&Reset All": the settings that each tab puts back to
// their defaults.
#pragma once

#include "settings/settings_record.h"
#include "ui/settings_pages.h"

// What the window does after the fields are reset. A changed tray icon or
// tool tip setting is not written directly: the field keeps its old value and
// the window sends itself the command that switches it, with its effects.
struct TabReset {
    bool sendShowTrayIconCommand = false;
    bool sendShowToolTipsCommand = false;
    bool registerHotKeys = false;
    bool repaintDesktopColorBox = false;
};

// Copies the current tab's fields from `defaults` into `live`; on the About
// tab, the whole record.
TabReset ResetTabFields(Settings& live, const Settings& defaults, SettingsTab current);
