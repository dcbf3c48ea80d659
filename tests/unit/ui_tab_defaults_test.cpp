#include "ui/tab_defaults.h"

#include "ui/resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

using Field = int32_t Settings::*;

// A record in which every slot differs from the factory value.
Settings UnlikeTheDefaults() {
    SettingsBytes bytes = SerializeSettings(SettingsTemplate());
    for (uint8_t& b : bytes)
        b ^= 0x5A;
    return DeserializeSettings(bytes);
}

// Byte offsets of the 32-bit slots in which two records differ.
std::set<std::size_t> DifferingSlots(const Settings& a, const Settings& b) {
    SettingsBytes x = SerializeSettings(a), y = SerializeSettings(b);
    std::set<std::size_t> slots;
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (x[i] != y[i])
            slots.insert(i / 4 * 4);
    }
    return slots;
}

std::size_t OffsetOf(Field field) {
    Settings s{};
    return std::size_t(reinterpret_cast<const char*>(&(s.*field)) -
                       reinterpret_cast<const char*>(&s));
}

struct TabCase {
    SettingsTab tab;
    std::vector<Field> resetFields;
};

TEST(UiTabDefaults_Reset, TouchesOnlyTheFieldsOfTheTab) {
    const TabCase cases[] = {
        {SettingsTab::Colors,
         {&Settings::TextBackColor, &Settings::TextColor, &Settings::TransparentText,
          &Settings::AutoResample, &Settings::AutoTextColor}},
        {SettingsTab::Positions,
         {&Settings::PerResolutionPositions, &Settings::AutoRestorePositions}},
        {SettingsTab::Tray,
         {&Settings::TrayShowPositions, &Settings::TrayShowHiding, &Settings::TrayShowText,
          &Settings::TrayShowHelp, &Settings::TrayShowDance}},
        {SettingsTab::Test, {}},
    };
    for (const TabCase& c : cases) {
        Settings live = UnlikeTheDefaults();
        Settings before = live;
        ResetTabFields(live, SettingsTemplate(), c.tab);
        std::set<std::size_t> expected;
        for (Field f : c.resetFields) {
            expected.insert(OffsetOf(f));
            EXPECT_EQ(live.*f, SettingsTemplate().*f) << int(c.tab);
        }
        EXPECT_EQ(DifferingSlots(before, live), expected) << int(c.tab);
    }
}

TEST(UiTabDefaults_Reset, HidingTabKeepsTheUpperBytesOfHotCorner) {
    Settings live = UnlikeTheDefaults();
    int32_t upper = live.HotCorner & ~0xFF;
    ResetTabFields(live, SettingsTemplate(), SettingsTab::Hiding);
    EXPECT_EQ(live.HotCorner, upper | (SettingsTemplate().HotCorner & 0xFF));
    EXPECT_EQ(live.ShowDelay, SettingsTemplate().ShowDelay);
    EXPECT_NE(live.TextColor, SettingsTemplate().TextColor);
}

TEST(UiTabDefaults_Reset, TrayIconAndToolTipsChangeOnlyThroughTheirCommands) {
    struct Case {
        SettingsTab tab;
        bool trayIconCommand, toolTipsCommand, hotKeys;
    } cases[] = {
        {SettingsTab::Tray, true, false, false},
        {SettingsTab::Options, false, true, true},
        {SettingsTab::About, true, true, true},
        {SettingsTab::Colors, false, false, false},
    };
    for (const Case& c : cases) {
        Settings live = SettingsTemplate();
        live.ShowTrayIcon = 0;
        live.ShowToolTips = 0;
        TabReset reset = ResetTabFields(live, SettingsTemplate(), c.tab);
        EXPECT_EQ(live.ShowTrayIcon, 0) << int(c.tab);
        EXPECT_EQ(live.ShowToolTips, 0) << int(c.tab);
        EXPECT_EQ(reset.sendShowTrayIconCommand, c.trayIconCommand) << int(c.tab);
        EXPECT_EQ(reset.sendShowToolTipsCommand, c.toolTipsCommand) << int(c.tab);
        EXPECT_EQ(reset.registerHotKeys, c.hotKeys) << int(c.tab);
    }
}

// Window fading starts or stops its timer through its command; a hiding mode
// starts or stops the cursor tracking through its radio button's.
TEST(UiTabDefaults_Reset, FadingAndHidingModeTakeEffectThroughTheirCommands) {
    struct Case {
        SettingsTab tab;
        int32_t fading, hideByCursor, hideAlways;
        bool fadingCommand, hidingCommand;
    } cases[] = {
        {SettingsTab::Options, 1, 1, 0, true, false}, {SettingsTab::Options, 0, 0, 0, false, false},
        {SettingsTab::Hiding, 1, 0, 0, false, true},  {SettingsTab::Hiding, 0, 0, 1, false, true},
        {SettingsTab::Hiding, 0, 1, 0, false, false}, {SettingsTab::About, 1, 0, 1, true, true},
        {SettingsTab::Colors, 1, 0, 0, false, false},
    };
    for (const Case& c : cases) {
        Settings live = SettingsTemplate();
        live.WindowFading = c.fading;
        live.HideByCursor = c.hideByCursor;
        live.HideAlways = c.hideAlways;
        const TabReset reset = ResetTabFields(live, SettingsTemplate(), c.tab);
        EXPECT_EQ(live.WindowFading, c.fading) << int(c.tab) << " kept for its command";
        EXPECT_EQ(reset.sendWindowFadingCommand, c.fadingCommand) << int(c.tab);
        EXPECT_EQ(reset.sendHidingModeCommand, c.hidingCommand) << int(c.tab);
    }
    EXPECT_EQ(HidingModeCommand(SettingsTemplate()), IDC_HIDE_BY_CURSOR);
}

TEST(UiTabDefaults_Reset, UnchangedTrayIconSendsNoCommand) {
    Settings live = SettingsTemplate();
    TabReset reset = ResetTabFields(live, SettingsTemplate(), SettingsTab::About);
    EXPECT_FALSE(reset.sendShowTrayIconCommand);
    EXPECT_FALSE(reset.sendShowToolTipsCommand);
}

TEST(UiTabDefaults_Reset, ResetAllRestoresTheWholeRecord) {
    Settings live = UnlikeTheDefaults();
    live.ShowTrayIcon = SettingsTemplate().ShowTrayIcon;
    live.ShowToolTips = SettingsTemplate().ShowToolTips;
    live.WindowFading = SettingsTemplate().WindowFading;
    std::strcpy(live.ShowDesktopFile, "C:\\temp\\tessara.scf");
    ResetTabFields(live, SettingsTemplate(), SettingsTab::About);
    EXPECT_TRUE(SameSettings(live, SettingsTemplate()));
    EXPECT_EQ(live.WindowLeft, -1);
    EXPECT_EQ(live.HotKeyPosition, SettingsTemplate().HotKeyPosition);
    EXPECT_STREQ(live.ShowDesktopFile, "");
}

TEST(UiTabDefaults_Reset, DesktopTabRepaintsTheColorBox) {
    Settings live = UnlikeTheDefaults();
    EXPECT_TRUE(
        ResetTabFields(live, SettingsTemplate(), SettingsTab::Desktop).repaintDesktopColorBox);
    EXPECT_EQ(live.DesktopColor, SettingsTemplate().DesktopColor);
    EXPECT_FALSE(
        ResetTabFields(live, SettingsTemplate(), SettingsTab::Hiding).repaintDesktopColorBox);
}

} // namespace
