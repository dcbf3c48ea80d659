#include "settings/autostart_command.h"
#include "settings/settings_record.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct Slot {
    const char* name;
    int32_t Settings::*field;
    std::size_t offset;
    int32_t factoryValue;
};

#define SLOT(name, offset, value)                                                                  \
    { #name, &Settings::name, offset, value }

// Every 32-bit field with its stored offset and factory value.
const Slot kSlots[] = {
    SLOT(RecordSize, 0, 528),
    SLOT(TextBackColor, 4, 0x808000),
    SLOT(TextColor, 8, 0xFFFFFF),
    SLOT(DesktopColor, 12, 0x80A0A0),
    SLOT(TransparentText, 16, 1),
    SLOT(HideByCursor, 20, 1),
    SLOT(HideAlways, 24, 0),
    SLOT(AutoResample, 28, 0),
    SLOT(HideWhenOnDesktop, 32, 1),
    SLOT(HideWhenOffDesktop, 36, 1),
    SLOT(DelayShowOnDesktop, 40, 1),
    SLOT(ShowOnDesktopClick, 44, 1),
    SLOT(ExitPrompt, 48, 1),
    SLOT(StartWithWindows, 52, 0),
    SLOT(HideWhenStarted, 56, 0),
    SLOT(HotCornerEnabled, 60, 0),
    SLOT(HotCornerWait, 64, 1),
    SLOT(ShowTrayIcon, 68, 1),
    SLOT(StretchInnerDimension, 72, 0),
    SLOT(TrayShowHiding, 76, 1),
    SLOT(TrayShowHelp, 80, 1),
    SLOT(TrayShowPositions, 84, 1),
    SLOT(TrayShowText, 88, 1),
    SLOT(BossMouse, 92, 0),
    SLOT(AutoRestorePositions, 96, 0),
    SLOT(PerResolutionPositions, 100, 0),
    SLOT(ShowToolTips, 104, 1),
    SLOT(ExitHides, 108, 0),
    SLOT(TrayShowDance, 112, 0),
    SLOT(HotCornerAction, 116, 0),
    SLOT(WindowFading, 120, 0),
    SLOT(ContextMenu, 124, 1),
    SLOT(DeskColorFromWallpaper, 128, 0),
    SLOT(UseComplementColor, 132, 0),
    SLOT(IgnoreSolidBorder, 136, 1),
    SLOT(SampleWholeImage, 140, 0),
    SLOT(DeskColorManual, 144, 0),
    SLOT(HideCursor, 148, 0),
    SLOT(HideTaskbar, 152, 1),
    SLOT(Reserved39, 156, 0),
    SLOT(KeepAspectRatio, 160, 0),
    SLOT(AutoTextColor, 164, 1),
    SLOT(HotKeyShowHideOn, 168, 1),
    SLOT(HotKeyShowIconsOn, 172, 1),
    SLOT(HotKeyLayoutOn, 176, 0),
    SLOT(HotKeyPositionOn, 180, 0),
    SLOT(DeskColorUnchanged, 184, 1),
    SLOT(HotKeyShowHide, 188, 833),
    SLOT(HotKeyShowIcons, 192, 628),
    SLOT(HotKeyLayout, 196, 1112),
    SLOT(HotKeyPosition, 200, 1626),
    SLOT(HotCorner, 204, 1),
    SLOT(LoadMark, 208, 1234),
    SLOT(HideOnDesktopDelay, 212, 10),
    SLOT(HideOffDesktopDelay, 216, 5),
    SLOT(ShowDelay, 220, 4),
    SLOT(ClickShowTime, 224, 10),
    SLOT(WindowTop, 520, -1),
    SLOT(WindowLeft, 524, -1),
};

#undef SLOT

int32_t StoredSlot(const SettingsBytes& bytes, std::size_t offset) {
    return int32_t(uint32_t(bytes[offset]) | uint32_t(bytes[offset + 1]) << 8 |
                   uint32_t(bytes[offset + 2]) << 16 | uint32_t(bytes[offset + 3]) << 24);
}

std::vector<uint8_t> StoredValue(const Settings& record, std::size_t size) {
    const SettingsBytes bytes = SerializeSettings(record);
    std::vector<uint8_t> value(bytes.begin(), bytes.end());
    value.resize(size);
    return value;
}

Settings Differing() {
    Settings record = SettingsTemplate();
    record.TextColor = 0x123456;
    record.HideAlways = 1;
    return record;
}

} // namespace

TEST(SettingsRecord_Layout, EveryFieldSitsAtItsStoredOffset) {
    for (const Slot& slot : kSlots) {
        Settings record{};
        record.*slot.field = int32_t(0x80000000u | unsigned(slot.offset));
        const SettingsBytes bytes = SerializeSettings(record);
        EXPECT_EQ(StoredSlot(bytes, slot.offset), record.*slot.field) << slot.name;
    }
}

TEST(SettingsRecord_Layout, ShowDesktopFileFillsTheSlotsBetween) {
    Settings record{};
    std::memset(record.ShowDesktopFile, 'x', kShowDesktopFileSize);
    const SettingsBytes bytes = SerializeSettings(record);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool inText = i >= 228 && i < 520;
        EXPECT_EQ(bytes[i], inText ? 'x' : 0) << "byte " << i;
    }
}

TEST(SettingsRecord_Template, HoldsTheFactoryValueOfEveryField) {
    const Settings& t = SettingsTemplate();
    for (const Slot& slot : kSlots)
        EXPECT_EQ(t.*slot.field, slot.factoryValue) << slot.name;
    EXPECT_EQ(t.ShowDesktopFile[0], '\0');
}

TEST(SettingsRecord_Template, ExactlyOneDesktopColorModeIsOn) {
    const Settings& t = SettingsTemplate();
    EXPECT_EQ(t.DeskColorUnchanged + t.DeskColorManual + t.DeskColorFromWallpaper, 1);
}

TEST(SettingsRecord_Bytes, RoundTripKeepsEveryByte) {
    Settings record = Differing();
    std::strcpy(record.ShowDesktopFile, "C:\\temp\\tessara.scf");
    record.WindowLeft = -77;
    const Settings back = DeserializeSettings(SerializeSettings(record));
    EXPECT_TRUE(SameSettings(back, record));
    EXPECT_FALSE(SameSettings(back, SettingsTemplate()));
}

TEST(SettingsRecord_Bytes, NegativeValuesAreStoredLittleEndian) {
    Settings record{};
    record.WindowTop = -2;
    const SettingsBytes bytes = SerializeSettings(record);
    EXPECT_EQ(bytes[520], 0xFE);
    EXPECT_EQ(bytes[521], 0xFF);
    EXPECT_EQ(bytes[523], 0xFF);
}

TEST(SettingsRecord_Load, ChoosesTheSourceByWhatIsStored) {
    const Settings loaded = SettingsTemplate();
    const Settings fresh{};
    Settings wrongFirstSlot = Differing();
    wrongFirstSlot.RecordSize = 527;
    const std::vector<uint8_t> good = StoredValue(Differing(), 528);
    const std::vector<uint8_t> shortValue = StoredValue(Differing(), 527);
    const std::vector<uint8_t> longValue = StoredValue(Differing(), 529);
    const std::vector<uint8_t> badSlot = StoredValue(wrongFirstSlot, 528);
    const std::vector<uint8_t> empty;

    struct Case {
        const char* what;
        const std::vector<uint8_t>* stored;
        bool silent;
        const Settings* current;
        LoadSource source;
        bool warn;
    } cases[] = {
        {"nothing stored, start-up", nullptr, true, &fresh, LoadSource::Template, false},
        {"nothing stored, import", nullptr, false, &loaded, LoadSource::Template, false},
        {"good value", &good, true, &fresh, LoadSource::Stored, false},
        {"good value, import", &good, false, &loaded, LoadSource::Stored, false},
        {"527 bytes, start-up", &shortValue, true, &fresh, LoadSource::Template, false},
        {"529 bytes, start-up", &longValue, true, &fresh, LoadSource::Template, false},
        {"empty value, start-up", &empty, true, &fresh, LoadSource::Template, false},
        {"527 bytes, import", &shortValue, false, &loaded, LoadSource::Keep, true},
        {"529 bytes, import", &longValue, false, &loaded, LoadSource::Keep, true},
        {"529 bytes, never loaded", &longValue, false, &fresh, LoadSource::Template, true},
        {"wrong first slot", &badSlot, true, &loaded, LoadSource::Keep, false},
        {"wrong first slot, import", &badSlot, false, &loaded, LoadSource::Keep, false},
        {"wrong first slot, never loaded", &badSlot, true, &fresh, LoadSource::Template, false},
    };
    for (const Case& c : cases) {
        const LoadDecision decision = DecideSettingsLoad(c.stored, c.silent, *c.current);
        EXPECT_EQ(decision.source, c.source) << c.what;
        EXPECT_EQ(decision.warn, c.warn) << c.what;
    }
}

TEST(SettingsRecord_Load, MarksSetTheLoadMarkAndEmptyTheShowDesktopFile) {
    Settings record{};
    std::strcpy(record.ShowDesktopFile, "left over");
    MarkLoaded(record);
    EXPECT_EQ(record.LoadMark, 1234);
    EXPECT_EQ(record.ShowDesktopFile[0], '\0');
}

TEST(SettingsRecord_Save, OnlyARecordWithSomeDelayIsWorthSaving) {
    struct Case {
        int32_t onDelay, offDelay, showDelay;
        bool worth;
    } cases[] = {
        {0, 0, 0, false}, {1, 0, 0, true}, {0, 1, 0, true}, {0, 0, 1, true}, {10, 5, 4, true},
    };
    for (const Case& c : cases) {
        Settings record{};
        record.HideOnDesktopDelay = c.onDelay;
        record.HideOffDesktopDelay = c.offDelay;
        record.ShowDelay = c.showDelay;
        EXPECT_EQ(WorthSaving(record), c.worth) << c.onDelay << c.offDelay << c.showDelay;
    }
}

TEST(SettingsAutostart_CommandLine, QuotesThePathAndAddsTheSwitchesInOrder) {
    const std::string path = "C:\\Program Files\\Tessara\\Tessara.exe";
    struct Case {
        bool quiet, test;
        const char* tail;
    } cases[] = {
        {false, false, ""},
        {true, false, " -q"},
        {false, true, " -test"},
        {true, true, " -q -test"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AutostartCommandLine(path, c.quiet, c.test), "\"" + path + "\"" + c.tail);
}
