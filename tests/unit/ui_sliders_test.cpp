#include "ui/resource.h"
#include "ui/sliders.h"

#include <gtest/gtest.h>

namespace {

struct LabelCase {
    std::string (*format)(int);
    int value;
    const char* text;
};

TEST(UiSliders_Labels, FormatValues) {
    const LabelCase cases[] = {
        {SecondsText, 0, "0 Second"},      {SecondsText, 1, "1 Second"},
        {SecondsText, 2, "2 Seconds"},     {SecondsText, 5, "5 Seconds"},
        {SecondsText, 60, "60 Seconds"},   {TenthsText, 1, "0.0 Sec"},
        {TenthsText, 4, "0.3 Sec"},        {TenthsText, 11, "1.0 Sec"},
        {TenthsText, 100, "9.9 Sec"},      {TenthsText, 101, "10.0 Sec"},
        {MinutesSecondsText, 1, " 0:01"},  {MinutesSecondsText, 5, " 0:05"},
        {MinutesSecondsText, 59, " 0:59"}, {MinutesSecondsText, 60, " 1:00"},
        {MinutesSecondsText, 65, " 1:05"}, {MinutesSecondsText, 300, " 5:00"},
    };
    for (const LabelCase& c : cases)
        EXPECT_EQ(c.format(c.value), c.text) << c.value;
}

const Slider& SliderWithId(int id) {
    for (const Slider& slider : SettingsSliders()) {
        if (slider.id == id)
            return slider;
    }
    return TestIntervalSlider();
}

struct ClampCase {
    int sliderId;
    int value;
    const char* text;
};

TEST(UiSliders_SliderValueText, ShowsTheValueTheSliderCanTake) {
    const ClampCase cases[] = {
        {IDC_SHOW_DELAY, 0, "0.0 Sec"},
        {IDC_SHOW_DELAY, -25, "0.0 Sec"},
        {IDC_SHOW_DELAY, 500, "10.0 Sec"},
        {IDC_SHOW_DELAY, 4, "0.3 Sec"},
        {IDC_HIDE_OFF_DESKTOP_DELAY, 61, "60 Seconds"},
        {IDC_HIDE_ON_DESKTOP_DELAY, -1, "0 Second"},
        {IDC_CLICK_SHOW_TIME, 0, "1 Second"},
        {IDC_TEST_INTERVAL, 0, " 0:01"},
        {IDC_TEST_INTERVAL, 1000, " 5:00"},
    };
    for (const ClampCase& c : cases)
        EXPECT_EQ(SliderValueText(SliderWithId(c.sliderId), c.value), c.text) << c.sliderId;
}

TEST(UiSliders_SettingsSliders, FactoryValuesLieInTheirRanges) {
    for (const Slider& slider : SettingsSliders()) {
        int value = SettingsTemplate().*slider.field;
        EXPECT_GE(value, slider.min) << slider.id;
        EXPECT_LE(value, slider.max) << slider.id;
    }
}

TEST(UiSliders_SettingsSliders, EndLabelsReadAsTheValueLabelAtTheEnds) {
    // The end labels show the number that the value label shows at that end.
    for (const Slider& slider : SettingsSliders()) {
        EXPECT_EQ(std::stoi(slider.valueText(slider.min)), std::stoi(slider.minEnd.text))
            << slider.id;
        EXPECT_EQ(std::stoi(slider.valueText(slider.max)), std::stoi(slider.maxEnd.text))
            << slider.id;
    }
}

} // namespace
