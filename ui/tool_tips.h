// The settings window's tool tips: one tool per control with a help text, and
// a rectangle tool over each link.
#pragma once

#include <windows.h>

// Creates the tool-tip control of `window`; null on failure.
HWND CreateToolTips(HWND window);
// The tool-tip control made by CreateToolTips.
HWND ToolTips();

// One tool per control of ControlHandles whose help text is not null.
void AddControlTools(HWND window);
// The links do not take the mouse themselves: their tools are rectangles of
// the settings window (ids 0 and 1).
void AddLinkTools(HWND window);

void ActivateToolTips(bool active);
