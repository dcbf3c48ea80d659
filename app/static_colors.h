// Colors of the settings window's static controls: the color boxes show
// the colors of the settings, the hint and the notes stand out, and the two
// links turn red under the cursor.
#pragma once

#include <windows.h>

void CreateStaticBrushes();
void DeleteStaticBrushes();

// The answer to WM_CTLCOLORSTATIC: the brush, or null to leave the control to
// the default colors.
HBRUSH StaticControlBrush(HWND window, HDC dc, HWND control);

// The hint over the color boxes shows while the cursor is over one of them on
// the Colors page, unless the system draws drop shadows (the boxes are hidden
// then).
void UpdateColorBoxHint(HWND window, POINT cursor);

// Blue links, the one under `cursor` (client coordinates) red; a link whose
// color changed is repainted.
void UpdateLinkHover(HWND window, POINT cursor);
