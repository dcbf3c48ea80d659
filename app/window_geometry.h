// Placement rules of the settings window, in screen pixels.
#pragma once

struct Box {
    int left;
    int top;
    int right;
    int bottom;
};

struct Corner {
    int x;
    int y;
};

// What WM_MOVE stores as the remembered position: never below 0.
Corner RememberedCorner(Corner windowCorner);

// Where the window goes so that it does not reach past the right or bottom
// edge of a screen of the given size; no coordinate below 0.
Corner KeptOnScreen(const Box& window, int screenWidth, int screenHeight);

// Room for the status line under the buttons: the dialog font's height, its
// internal and external leading and a gap.
int StatusLineRoom(int fontHeight, int internalLeading, int externalLeading, int gap);

// The client area's height so that it ends `gap` pixels under the "&Help"
// button (its bottom in client coordinates), plus the status line's room while
// the status line is shown.
int ClientHeightUnderButtons(int helpButtonBottom, int gap, bool statusLineShown,
                             int statusLineRoom);

// The client area's width with the tab control at `tabLeft` and as much room
// on its right.
int ClientWidthAroundTabs(int tabLeft, int tabWidth);

// The window's left edge and top when a window of this size is centred.
Corner Centred(int width, int height, int screenWidth, int screenHeight);
