// The settings window's three colour boxes: the caption text colour, the
// caption background colour and the desktop colour, each chosen with the
// colour dialog (left click) or picked from the screen (right click).
#pragma once

#include <windows.h>

enum class ColorPicker { Dialog, Sampler };

// Each runs the picker on its setting and applies the result: a picked text
// colour turns "Automatic Text Color" off, a picked background shows solid
// and is not resampled, a picked desktop colour selects the manual choice
// and is set on the desktop. A cancelled choice keeps every mode.
void ChooseTextColor(HWND window, ColorPicker picker);
void ChooseBackgroundColor(HWND window, ColorPicker picker);
void ChooseDesktopColor(HWND window, ColorPicker picker);
