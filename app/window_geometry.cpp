#include "app/window_geometry.h"

#include <algorithm>

Corner RememberedCorner(Corner windowCorner) {
    return {std::max(windowCorner.x, 0), std::max(windowCorner.y, 0)};
}

Corner KeptOnScreen(const Box& window, int screenWidth, int screenHeight) {
    Corner corner{window.left, window.top};
    if (window.right > screenWidth)
        corner.x -= window.right - screenWidth;
    if (window.bottom > screenHeight)
        corner.y -= window.bottom - screenHeight;
    return RememberedCorner(corner);
}

int StatusLineRoom(int fontHeight, int internalLeading, int externalLeading, int gap) {
    return fontHeight + internalLeading + externalLeading + gap;
}

int ClientHeightUnderButtons(int helpButtonBottom, int gap, bool statusLineShown,
                             int statusLineRoom) {
    const int height = helpButtonBottom + gap;
    return statusLineShown ? height + statusLineRoom : height;
}

int ClientWidthAroundTabs(int tabLeft, int tabWidth) {
    return tabLeft + tabWidth + tabLeft;
}

Corner Centred(int width, int height, int screenWidth, int screenHeight) {
    return {(screenWidth - width) / 2, (screenHeight - height) / 2};
}
