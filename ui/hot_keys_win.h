// The hot keys on the system: their names, their registration for the
// settings window and the "HOTKEYS" dialog that edits them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

inline constexpr char kHotKeyDialogTemplate[] = "HOTKEYS";

// "Ctrl + Alt + Shift + " as set, then the system's name of the key.
std::string GetHotKeyText(int32_t code);

// Unregisters all four, then registers those switched on with a key, telling
// the user about each that another program holds. Without a registered
// Show/Hide hot key the tray icon is switched on. Returns 1.
int RegisterHotKeys(HWND settingsWindow);
void UnregisterHotKeys(HWND settingsWindow);

// Runs "HOTKEYS" modally; true when "OK" stored its values in the settings.
bool RunHotKeyDialog(HWND settingsWindow);
INT_PTR CALLBACK HotKeyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
