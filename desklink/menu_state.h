// What the desktop's context menu and a click on the empty desktop need to
// know of the settings, as the program publishes it in the shared block.
// Portable: menu_state_win.cpp writes it into the block.
#pragma once

#include <cstdint>

#include "settings/settings_record.h"

struct MenuState {
    int32_t menuEnabled;    // the submenu is added (ContextMenu)
    int32_t clickToShow;    // a click on the empty desktop shows the icons (ShowOnDesktopClick)
    int32_t visibilityMode; // command id of the icon visibility mode
};

MenuState MenuStateFor(const Settings& settings);

// Writes MenuStateFor(settings) into the shared block; false without one.
// After every change of ContextMenu, ShowOnDesktopClick, HideAlways or
// HideByCursor.
bool PublishMenuState(const Settings& settings);
