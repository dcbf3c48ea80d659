// The "-webshots" test aid on the real windows. The changer's window is
// found by its title, "Webshots Desktop" unless the string value
// "WebshotsTitle" under HKEY_CURRENT_USER\Software\Marrowen names another.
#pragma once

#include <windows.h>

#include <string>

inline constexpr char kWebshotsTitleValue[] = "WebshotsTitle";
inline constexpr char kDefaultWebshotsTitle[] = "Webshots Desktop";
inline constexpr char kWebshotsProgram[] = "C:\\Program Files\\Webshots\\Swebexec.exe";

std::string WebshotsTitle();

// At the settings window's creation: the window at the screen's top right,
// top-most and enabled; the changer started minimised when its window is
// missing, and its window restored beside the settings window.
void ArrangeWebshots(HWND settingsWindow);

// At shutdown: the changer's window is asked to close.
void CloseWebshots();
