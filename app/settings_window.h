// The settings window: a modeless dialog from the template "MAINDIALOG"
// whose procedure is the hub of the program. Every control, tray and desktop
// menu item and hot key reaches it as a command (see commands.h).
#pragma once

#include <windows.h>

inline constexpr char kSettingsDialogTemplate[] = "MAINDIALOG";

// Hot key ids registered on the settings window.
inline constexpr int kHotKeyShowHide = 0xBFFF;
inline constexpr int kHotKeyShowIcons = 0xBFFE;
inline constexpr int kHotKeyCycleLayout = 0xBFFD;
inline constexpr int kHotKeyPosition = 0xBFFC;

INT_PTR CALLBACK SettingsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creates it hidden, owned by the hidden window; null on failure.
HWND CreateSettingsWindow(HINSTANCE instance, HWND owner);
