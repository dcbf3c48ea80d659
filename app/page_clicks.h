// Clicks and pointer moves on the settings window's pages that the window
// handles itself: the colour boxes (Colors and Desktop pages), and the two
// places that open Display Properties: the Active Desktop note on the
// Colors page and the caption of the desktop colour group on the Desktop
// page, which act as links.
#pragma once

#include <windows.h>

// At the settings window's creation. The colour boxes and the note take the
// pointer themselves (they notify their clicks); their presses and moves are
// passed on to the settings window, in its client coordinates, as if they
// had been over the page. The group caption is drawn in its link colour.
void PreparePageMouse(HWND window);

// WM_LBUTTONDOWN and WM_RBUTTONDOWN of the settings window.
void OnPageButtonDown(HWND window, POINT cursor, bool rightButton);

// WM_MOUSEMOVE of the settings window: the link cursor over the note and the
// group caption, which turns blue under the pointer.
void UpdateDisplayLinkHover(HWND window, POINT cursor);

// The text colour of the group caption now (WM_CTLCOLORSTATIC).
COLORREF DesktopGroupCaptionColor();
