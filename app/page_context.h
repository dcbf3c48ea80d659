// What the settings pages need to know about the rest of the program.
#pragma once

#include <windows.h>

#include "ui/settings_pages.h"

PageContext CurrentPageContext();

// ShowTabPage with the current state: after every change that alters what
// the current page shows or enables.
void RefreshSettingsPage(HWND window);
