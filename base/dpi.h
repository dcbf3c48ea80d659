// Pixel figures are given for 96 dots per inch and scaled to the DPI of the
// window they are used on.
#pragma once

inline constexpr int kDefaultDpi = 96;

// `pixels` at 96 DPI, at `dpi`, rounded to the nearest pixel.
int ScaleToDpi(int pixels, int dpi);
