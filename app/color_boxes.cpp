#include "app/color_boxes.h"

#include "colours/caption_colors_win.h"
#include "colours/color_choice.h"
#include "colours/color_choice_win.h"
#include "settings/settings.h"
#include "ui/resource.h"

#include <cstdint>

namespace {

// True when a colour was picked; it is then in `field`.
bool Pick(HWND window, ColorPicker picker, int32_t& field) {
    COLORREF color = COLORREF(field);
    const bool picked = picker == ColorPicker::Dialog ? ChooseColorBox(window, color)
                                                      : SampleScreenColor(window, color);
    if (picked)
        field = int32_t(color);
    return picked;
}

void Repaint(HWND window, int id) {
    InvalidateRect(GetDlgItem(window, id), nullptr, TRUE);
}

} // namespace

void ChooseTextColor(HWND window, ColorPicker picker) {
    const bool autoBefore = g_settings.AutoTextColor == 1;
    const bool picked = Pick(window, picker, g_settings.TextColor);
    UserTextColor = COLORREF(g_settings.TextColor);
    const bool autoAfter = colors::AutoTextColorAfterChoice(picked, autoBefore);
    CheckDlgButton(window, IDC_AUTO_TEXT_COLOR, autoAfter ? BST_CHECKED : BST_UNCHECKED);
    SendMessageA(window, WM_COMMAND, IDC_AUTO_TEXT_COLOR, 0);
    Repaint(window, IDC_TEXT_COLOR_BOX);
}

// The worker run that the mode command asks for must not resample over the
// colour just picked.
void ChooseBackgroundColor(HWND window, ColorPicker picker) {
    const bool transparentBefore = g_settings.TransparentText == 1;
    const bool picked = Pick(window, picker, g_settings.TextBackColor);
    SuppressNextResample();
    const bool transparent = colors::TransparentAfterChoice(picked, transparentBefore);
    SendMessageA(window, WM_COMMAND, transparent ? IDC_TRANSPARENT : IDC_SOLID_COLOR, 0);
    Repaint(window, IDC_BACK_COLOR_BOX);
    Repaint(window, IDC_SAMPLE_TEXT);
}

// The manual choice sets the desktop colour from DesktopColor.
void ChooseDesktopColor(HWND window, ColorPicker picker) {
    if (Pick(window, picker, g_settings.DesktopColor))
        SendMessageA(window, WM_COMMAND, IDC_DESK_COLOR_MANUAL, 0);
    Repaint(window, IDC_DESKTOP_COLOR_BOX);
}
