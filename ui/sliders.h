// The settings window's sliders: their ranges, the fields they show and the
// texts of their labels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings_record.h"

struct SliderEnd {
    int labelId;
    const char* text;
};

struct Slider {
    int id;
    int32_t Settings::*field; // null: not kept in the Settings record
    int min;
    int max;
    SliderEnd minEnd;
    SliderEnd maxEnd;
    int valueLabelId;
    std::string (*valueText)(int value);
};

// "0 Second", "1 Second", "5 Seconds".
std::string SecondsText(int seconds);
// v stands for (v-1) tenths of a second: 1 reads "0.0 Sec", 101 "10.0 Sec".
std::string TenthsText(int value);
// Minutes and two-digit seconds: 65 reads " 1:05".
std::string MinutesSecondsText(int seconds);

// The four sliders whose positions are Settings fields.
const std::vector<Slider>& SettingsSliders();

// The test page's slide show interval, 1..300 seconds.
const Slider& TestIntervalSlider();

// The value label of a slider at `value`, which is first clamped into the
// slider's range, as the slider itself shows it.
std::string SliderValueText(const Slider& slider, int value);
