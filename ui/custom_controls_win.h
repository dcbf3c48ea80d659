// The settings window's self-drawn controls: the caption preview on the
// Colors page ("TessaraSample", "TessaraSampText" and the program icon on
// them) and the two links under the tab control. The About area has its own
// file (about_area_win.h).
#pragma once

#include <windows.h>

#include "ui/custom_controls.h"

// Window procedures of the classes "TessaraSample" and "TessaraSampText".
LRESULT CALLBACK SampleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SampleTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The moved window's preview shows the desktop now under it (Colors page).
void ShowDesktopUnderSample(HWND settingsWindow);

// Takes over the sample icon, the two links and the About area of the
// settings window; the links and the About area become tab stops.
void SubclassCustomControls(HWND settingsWindow);

// The hand, or the arrow on Windows 95 and NT 4.0.
HCURSOR LinkCursor();

// The colours of the four links, shared by the links, the About area and
// the settings window's own pointer tracking.
controls::LinkColors& SharedLinkColors();
COLORREF LinkColorOf(controls::Link link);
// The link drawn by control `id` of the settings window, if it is one of the
// two under the tab control.
bool WindowLinkOf(int id, controls::Link& link);

// The links of the settings window that `changed` names are drawn again.
void RepaintWindowLinks(HWND settingsWindow, controls::LinkSet changed);

// The program icon at the size of a desktop icon for `window`'s DPI, loaded
// once per size.
int ProgramIconSize(HWND window);
HICON ProgramIcon(HWND window);

// The dialog's font, as the settings window was given it for its DPI.
HFONT DialogFont(HWND settingsWindow);
