// Colours of the settings window's static controls: the colour boxes show
// the colours of the settings, the hint and the notes stand out, and the two
// links turn red under the cursor.
#pragma once

#include <windows.h>

void CreateStaticBrushes();
void DeleteStaticBrushes();

// The answer to WM_CTLCOLORSTATIC: the brush, or null to leave the control to
// the default colours.
HBRUSH StaticControlBrush(HWND window, HDC dc, HWND control);

// Blue links, the one under `cursor` (client coordinates) red; a link whose
// colour changed is repainted.
void UpdateLinkHover(HWND window, POINT cursor);
