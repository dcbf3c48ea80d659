// The options and About pages' support commands: settings export and import
// (1201, 1202), the update check (1090) and e-mail support (1109).
#pragma once

#include <windows.h>

void ExportSettings(HWND settingsWindow);
// Imports a checked file, then runs the program on the imported settings:
// timers, hot keys and the settings whose effects live outside the record.
void ImportSettings(HWND settingsWindow);
void CheckForNewVersion(HWND settingsWindow);
void EmailSupportWithReport(HWND settingsWindow);
