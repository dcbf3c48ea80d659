// Choosing a colour by hand: the system colour dialog, and the screen
// sampler that covers the screen with a picture of the desktop and takes the
// colour of a pixel (left click) or of the area around the cursor (right
// click). Both run modally on the calling thread.
#pragma once

#include <windows.h>

inline constexpr char kSamplerClass[] = "ICSampler";
inline constexpr char kSamplerTitle[] = "Sampler";
inline constexpr char kSamplerHint[] = "  Left click=Single Pixel,Right click= Area Average  ";

// The colour dialog, fully open, starting at `color` and offering the
// custom colours of CustomColorsFor. True when a colour was chosen, which is
// then in `color`; false when cancelled (`color` unchanged).
bool ChooseColorBox(HWND owner, COLORREF& color);

// The screen sampler. True when a colour was picked, which is then in
// `color`; false when it was closed without one (Esc), `color` unchanged.
bool SampleScreenColor(HWND owner, COLORREF& color);

// The average colour that `dc` shows in the area around the cursor.
COLORREF AreaAverageColor(HDC dc);

LRESULT CALLBACK SamplerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
