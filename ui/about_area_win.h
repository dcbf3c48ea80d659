// The About area: the static control that draws the whole About page (its
// picture, the program icon and name, the swinging title, version, credits,
// donation button and two links) and answers the pointer and the keyboard.
// What it decides comes from about_area.h.
#pragma once

#include <windows.h>

LRESULT CALLBACK AboutAreaProc(HWND area, UINT message, WPARAM wParam, LPARAM lParam);

// Keeps the credits text of the template, which the donation appeal replaces
// for a while.
void RememberAboutCredits(HWND settingsWindow);
