#include "ui/sliders.h"

#include <algorithm>
#include <cstdio>

#include "ui/resource.h"

std::string SecondsText(int seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%d Second%s", seconds, seconds > 1 ? "s" : "");
    return text;
}

std::string TenthsText(int value) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%1d Sec", (value - 1) / 10, (value - 1) % 10);
    return text;
}

// The seconds are printed with 100 added and the hundreds digit cut out,
// which leaves them as two digits with a leading zero.
std::string MinutesSecondsText(int seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%2d:%2d", seconds / 60, seconds % 60 + 100);
    std::string result = text;
    result.erase(3, 1);
    return result;
}

const std::vector<Slider>& SettingsSliders() {
    static const std::vector<Slider> sliders = {
        {IDC_HIDE_OFF_DESKTOP_DELAY,
         &Settings::HideOffDesktopDelay,
         0,
         60,
         {IDC_HIDE_OFF_DESKTOP_DELAY_MIN, "0"},
         {IDC_HIDE_OFF_DESKTOP_DELAY_MAX, "60"},
         IDC_HIDE_OFF_DESKTOP_DELAY_VALUE,
         SecondsText},
        {IDC_HIDE_ON_DESKTOP_DELAY,
         &Settings::HideOnDesktopDelay,
         0,
         60,
         {IDC_HIDE_ON_DESKTOP_DELAY_MIN, "0"},
         {IDC_HIDE_ON_DESKTOP_DELAY_MAX, "60"},
         IDC_HIDE_ON_DESKTOP_DELAY_VALUE,
         SecondsText},
        {IDC_CLICK_SHOW_TIME,
         &Settings::ClickShowTime,
         1,
         60,
         {IDC_CLICK_SHOW_TIME_MIN, "1"},
         {IDC_CLICK_SHOW_TIME_MAX, "60"},
         IDC_CLICK_SHOW_TIME_VALUE,
         SecondsText},
        {IDC_SHOW_DELAY,
         &Settings::ShowDelay,
         1,
         101,
         {IDC_SHOW_DELAY_MIN, "0"},
         {IDC_SHOW_DELAY_MAX, "10"},
         IDC_SHOW_DELAY_VALUE,
         TenthsText},
    };
    return sliders;
}

const Slider& TestIntervalSlider() {
    static const Slider slider = {
        IDC_TEST_INTERVAL,       nullptr,           1, 300, {0, nullptr}, {0, nullptr},
        IDC_TEST_INTERVAL_VALUE, MinutesSecondsText};
    return slider;
}

std::string SliderValueText(const Slider& slider, int value) {
    return slider.valueText(std::clamp(value, slider.min, slider.max));
}
