#include "ui/hot_keys.h"

#include <gtest/gtest.h>

namespace {

TEST(HotKey_Code, SplitsIntoKeyAndModifiers) {
    struct Case {
        int32_t code;
        unsigned key, modifiers;
        const char* prefix;
    } cases[] = {
        {0x341, 'A', hot_key_mods::Control | hot_key_mods::Shift, "Ctrl + Shift + "},
        {0x274, 0x74, hot_key_mods::Control, "Ctrl + "},
        {0x458, 'X', hot_key_mods::Alt, "Alt + "},
        {0x65A, 'Z', hot_key_mods::Control | hot_key_mods::Alt, "Ctrl + Alt + "},
        {0x741, 'A', 7, "Ctrl + Alt + Shift + "},
        {0x82D, 0x2D, 0, ""}, // extended Insert: the bit is no modifier
        {0x70, 0x70, 0, ""},
        {0, 0, 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HotKeyVirtualKey(c.code), c.key) << std::hex << c.code;
        EXPECT_EQ(HotKeyModifiers(c.code), c.modifiers) << std::hex << c.code;
        EXPECT_EQ(HotKeyPrefix(c.code), c.prefix) << std::hex << c.code;
    }
}

TEST(HotKey_Code, NameQueryIgnoresLeftAndRightAndFlagsExtendedKeys) {
    EXPECT_EQ(HotKeyNameQuery(0x3F, 0x274), 0x023F0000L); // F5
    EXPECT_EQ(HotKeyNameQuery(0x52, 0x82D), 0x03520000L); // Insert, not keypad 0
    EXPECT_EQ(HotKeyNameQuery(0x152, 0x2D), 0x02520000L); // only the scan code's low byte
}

TEST(HotKey_Table, IdsSwitchesAndFieldsInRegistrationOrder) {
    const auto& keys = ProgramHotKeys();
    const int ids[] = {0xBFFF, 0xBFFE, 0xBFFD, 0xBFFC};
    const int boxes[] = {1149, 1150, 1157, 1162};
    const int32_t defaultsOn[] = {1, 1, 0, 0};
    const int32_t defaultCodes[] = {0x341, 0x274, 0x458, 0x65A};
    for (std::size_t i = 0; i < kHotKeyCount; ++i) {
        EXPECT_EQ(keys[i].registrationId, ids[i]);
        EXPECT_EQ(keys[i].checkBoxId, boxes[i]);
        EXPECT_EQ(SettingsTemplate().*keys[i].on, defaultsOn[i]);
        EXPECT_EQ(SettingsTemplate().*keys[i].code, defaultCodes[i]);
    }
}

TEST(HotKey_Table, WantedWhenOnAndGivenAKey) {
    Settings s = SettingsTemplate();
    const auto& keys = ProgramHotKeys();
    EXPECT_TRUE(HotKeyWanted(s, keys[0]));
    EXPECT_TRUE(HotKeyWanted(s, keys[1]));
    EXPECT_FALSE(HotKeyWanted(s, keys[2]));
    EXPECT_FALSE(HotKeyWanted(s, keys[3]));
    s.HotKeyShowIcons = 0;
    s.HotKeyLayoutOn = 1;
    EXPECT_FALSE(HotKeyWanted(s, keys[1]));
    EXPECT_TRUE(HotKeyWanted(s, keys[2]));
}

TEST(HotKey_Table, FailureTextsNameTheKeyTwice) {
    const auto& keys = ProgramHotKeys();
    EXPECT_EQ(HotKeyFailureText(keys[0], "Ctrl + Shift + A"),
              "Unable to register Ctrl + Shift + A as a hot key.\n\nAnother program may be using "
              "Ctrl + Shift + A.\n\nYou do not have an active  \"Show/Hide\" hot key\nso the Tray "
              "Icon has been enabled.");
    EXPECT_EQ(HotKeyFailureText(keys[1], "Ctrl + F5"),
              "Unable to register Ctrl + F5 as a hot key.\nAnother program may be using Ctrl + "
              "F5.\n\nYou do not have an active  \"Show Icons\" hot key.");
    EXPECT_EQ(HotKeyFailureText(keys[2], "Alt + X"),
              "Unable to register Alt + X as a hot key.\nAnother program may be using Alt + "
              "X.\n\nYou do not have an active  \"Cycle Layout\" hot key.");
    // A key text that itself reads "%s" is not expanded again.
    EXPECT_EQ(HotKeyFailureText(keys[3], "%s"),
              "Unable to register %s as a hot key.\nAnother program may be using %s.\n\nYou do "
              "not have an active  \"Position\" hot key.");
}

TEST(HotKey_Dialog, ShowHideCanBeSwitchedOffOnlyWithTheTrayIcon) {
    EXPECT_TRUE(HotKeyCheckBoxEnabled(0, 1));
    EXPECT_FALSE(HotKeyCheckBoxEnabled(0, 0));
    for (std::size_t i = 1; i < kHotKeyCount; ++i)
        EXPECT_TRUE(HotKeyCheckBoxEnabled(i, 0));
}

TEST(HotKey_Dialog, KeyFieldsFollowTheirSwitches) {
    struct Case {
        std::size_t index;
        bool on;
        int32_t tray;
        bool enabled;
    } cases[] = {
        {0, true, 1, true},   {0, false, 1, false}, {0, false, 0, true},
        {0, true, 0, true},   {1, true, 1, true},   {1, false, 1, false},
        {1, false, 0, false}, {3, false, 0, false}, {2, true, 0, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HotKeyFieldEnabled(c.index, c.on, c.tray), c.enabled)
            << c.index << c.on << c.tray;
}

TEST(HotKey_Dialog, OkNeedsATrayIconOrAUsableShowHideKey) {
    EXPECT_TRUE(HotKeyDialogAccepts(1, false, 0));
    EXPECT_TRUE(HotKeyDialogAccepts(0, true, 0x341));
    EXPECT_FALSE(HotKeyDialogAccepts(0, true, 0));
    EXPECT_FALSE(HotKeyDialogAccepts(0, false, 0x341));
}

TEST(HotKey_Dialog, PlacedBesideTheSettingsWindow) {
    struct Case {
        HotKeyRect window;
        bool moved;
        HotKeyPoint at;
    } cases[] = {
        {{100, 50, 500, 600}, true, {500, 50}}, // room on the right
        {{600, 70, 900, 600}, true, {300, 70}}, // room on the left only
        {{200, 10, 800, 600}, false, {0, 0}},   // room on neither side
        {{0, 0, 708, 600}, true, {708, 0}},     // right edge just left of 1024 - 300 - 15
        {{716, 0, 1010, 600}, true, {416, 0}},
        {{315, 0, 710, 600}, false, {0, 0}}, // left edge not beyond 300 + 15
    };
    for (const Case& c : cases) {
        const auto place = HotKeyDialogPlace(c.window, 300, 1024);
        ASSERT_EQ(place.has_value(), c.moved) << c.window.left << "," << c.window.right;
        if (place) {
            EXPECT_EQ(place->x, c.at.x);
            EXPECT_EQ(place->y, c.at.y);
        }
    }
}

TEST(HotKey_Dialog, KeyFieldStandsRightOfItsCheckBox) {
    const HotKeyRect field = HotKeyFieldRect({150, 250, 260, 263}, {100, 180, 420, 420}, 18, 6, 13);
    EXPECT_EQ(field.left, 160);
    EXPECT_EQ(field.top, 250 - 180 - 18 - 4);
    EXPECT_EQ(field.right, 160 + 18 * 6);
    EXPECT_EQ(field.bottom, 48 + 15);
}

} // namespace
