// The Settings record and the registry helpers against the registry of the
// test prefix, called in this process as the program calls them.
#include "base/app_state.h"
#include "base/instance_data.h"
#include "deskhook/deskhook.h"
#include "settings/settings.h"
#include "tests/harness/harness.h"
#include "ui/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <thread>

namespace {

constexpr char kTestKey[] = "Software\\TessaraTest";

std::vector<uint8_t> StoredBytes(const Settings& record, std::size_t size) {
    const SettingsBytes bytes = SerializeSettings(record);
    std::vector<uint8_t> value(bytes.begin(), bytes.end());
    value.resize(size);
    return value;
}

std::optional<std::vector<uint8_t>> StoredSettings() {
    auto value = harness::RegRead(HKEY_CURRENT_USER, kProgramKey, kSettingsValue);
    if (!value)
        return std::nullopt;
    return value->data;
}

// A loaded record that differs from the factory values.
Settings UserRecord() {
    Settings record = SettingsTemplate();
    record.TextColor = 0x00336699;
    record.HideAlways = 1;
    record.HotCorner = 3;
    record.WindowTop = 40;
    return record;
}

struct LoadRun {
    bool warned = false;
    std::string warning;
};

// Runs `call` on a worker thread so that a box it shows with `caption` can be
// read and answered (OK) here; the box's text, or nothing without a box.
std::optional<std::string> BoxShownBy(const std::function<void()>& call, const char* caption) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        call();
        done = true;
    });
    std::optional<std::string> text;
    HWND box = nullptr;
    harness::WaitUntil([&] {
        box = harness::FindTopLevel("#32770", caption, GetCurrentProcessId());
        return done || box;
    });
    if (box) {
        text = harness::MessageBoxText(box);
        harness::PressButton(box, IDOK);
    }
    harness::WaitUntil([&] { return done.load(); });
    worker.join();
    return text;
}

LoadRun LoadAnsweringWarning(InvalidSettings invalid) {
    const std::optional<std::string> warning = BoxShownBy(
        [invalid] { LoadSettings(g_settings, SettingsSource::Stored, invalid); }, kProgramName);
    return {warning.has_value(), warning.value_or("")};
}

class SettingsRegistry : public ::testing::Test {
  protected:
    void SetUp() override {
        harness::RegDeleteKeyTree(HKEY_CURRENT_USER, kProgramKey);
        harness::RegDeleteKeyTree(HKEY_CURRENT_USER, kTestKey);
        harness::RegDeleteValue(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue);
        g_settings = {};
        g_app = {};
        std::strcpy(g_app.caption, kProgramName);
        g_app.systemVersion.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        GetVersionExA(&g_app.systemVersion);
        SetTestMode(false);
        SetSharedSettingsWindow(nullptr);
    }

    void TearDown() override {
        harness::RegDeleteKeyTree(HKEY_CURRENT_USER, kProgramKey);
        harness::RegDeleteKeyTree(HKEY_CURRENT_USER, kTestKey);
        harness::RegDeleteValue(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue);
        // Drop shadows change which page the settings window shows first.
        harness::RegDeleteValue(HKEY_CURRENT_USER, kExplorerAdvancedKey, kListviewShadowValue);
        SetTestMode(false);
    }

    void Store(const std::vector<uint8_t>& bytes) {
        ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kProgramKey, kSettingsValue, bytes));
    }
};

} // namespace

TEST_F(SettingsRegistry, FirstStartWithoutKeyGivesTheFactoryValues) {
    const LoadRun run = LoadAnsweringWarning(InvalidSettings::Silent);
    EXPECT_FALSE(run.warned);
    EXPECT_TRUE(SameSettings(g_settings, SettingsTemplate()));
    EXPECT_EQ(g_settings.LoadMark, 1234);
    EXPECT_EQ(UserTextColor, COLORREF(SettingsTemplate().TextColor));
    EXPECT_FALSE(harness::RegRead(HKEY_CURRENT_USER, kProgramKey, kSettingsValue));
}

TEST_F(SettingsRegistry, KeyWithoutSettingsValueGivesTheFactoryValues) {
    ASSERT_TRUE(harness::RegWriteDword(HKEY_CURRENT_USER, kProgramKey, "Other", 7));
    LoadAnsweringWarning(InvalidSettings::Silent);
    EXPECT_TRUE(SameSettings(g_settings, SettingsTemplate()));
}

TEST_F(SettingsRegistry, StoredRecordIsLoadedWithFreshRunTimeFields) {
    Settings stored = UserRecord();
    stored.LoadMark = 0;
    std::strcpy(stored.ShowDesktopFile, "C:\\old.scf");
    Store(StoredBytes(stored, 528));
    const LoadRun run = LoadAnsweringWarning(InvalidSettings::Silent);
    EXPECT_FALSE(run.warned);
    EXPECT_EQ(g_settings.TextColor, stored.TextColor);
    EXPECT_EQ(g_settings.HotCorner, 3);
    EXPECT_EQ(g_settings.WindowTop, 40);
    EXPECT_EQ(g_settings.LoadMark, 1234);
    EXPECT_EQ(g_settings.ShowDesktopFile[0], '\0');
    EXPECT_EQ(UserTextColor, COLORREF(stored.TextColor));
}

TEST_F(SettingsRegistry, WrongSizeAtStartUpSilentlyGivesTheFactoryValues) {
    for (std::size_t size : {527u, 529u}) {
        Store(StoredBytes(UserRecord(), size));
        g_settings = {};
        const LoadRun run = LoadAnsweringWarning(InvalidSettings::Silent);
        EXPECT_FALSE(run.warned) << size;
        EXPECT_TRUE(SameSettings(g_settings, SettingsTemplate())) << size;
    }
}

TEST_F(SettingsRegistry, WrongSizeOtherwiseWarnsAndKeepsTheRecord) {
    for (std::size_t size : {527u, 529u}) {
        Store(StoredBytes(SettingsTemplate(), size));
        g_settings = UserRecord();
        const LoadRun run = LoadAnsweringWarning(InvalidSettings::Reported);
        EXPECT_TRUE(run.warned) << size;
        EXPECT_EQ(run.warning, "Registry settings that were imported are invalid.\nThey may have "
                               "been from a previous release of Tessara.\n\nSettings remain "
                               "unchanged.");
        EXPECT_TRUE(SameSettings(g_settings, UserRecord())) << size;
    }
}

TEST_F(SettingsRegistry, WrongFirstSlotIsIgnoredWithoutAWord) {
    Settings stored = SettingsTemplate();
    stored.RecordSize = 512;
    Store(StoredBytes(stored, 528));
    g_settings = UserRecord();
    const LoadRun run = LoadAnsweringWarning(InvalidSettings::Reported);
    EXPECT_FALSE(run.warned);
    EXPECT_TRUE(SameSettings(g_settings, UserRecord()));
}

TEST_F(SettingsRegistry, WrongFirstSlotNeverLeavesAnUnloadedRecord) {
    Settings stored = UserRecord();
    stored.RecordSize = 0;
    Store(StoredBytes(stored, 528));
    LoadAnsweringWarning(InvalidSettings::Silent);
    EXPECT_TRUE(SameSettings(g_settings, SettingsTemplate()));
}

TEST_F(SettingsRegistry, DefaultsRequestTakesTheTemplateWithoutTheRegistry) {
    Store(StoredBytes(UserRecord(), 528));
    g_settings = {};
    LoadSettings(g_settings, SettingsSource::Defaults, InvalidSettings::Reported);
    EXPECT_TRUE(SameSettings(g_settings, SettingsTemplate()));
}

TEST_F(SettingsRegistry, SaveStoresTheCopyWhole) {
    g_settings = SettingsTemplate();
    Settings copy = UserRecord();
    copy.RecordSize = 0;
    SaveSettings(copy);
    copy.RecordSize = 528;
    const auto stored = StoredSettings();
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, StoredBytes(copy, 528));
    g_settings = {};
    LoadSettings(g_settings, SettingsSource::Stored, InvalidSettings::Silent);
    EXPECT_TRUE(SameSettings(g_settings, copy));
}

TEST_F(SettingsRegistry, ARecordThatWasNeverLoadedIsNeverSaved) {
    g_settings = {};
    SaveSettings(SettingsTemplate());
    EXPECT_FALSE(harness::RegRead(HKEY_CURRENT_USER, kProgramKey, kSettingsValue));
}

TEST_F(SettingsRegistry, ARefusedSaveKeepsTheStoredRecordAndSaysSo) {
    Store(StoredBytes(UserRecord(), 528));
    g_settings = SettingsTemplate();
    std::optional<std::string> report;
    {
        harness::RegistryWritesRefused refused;
        ASSERT_TRUE(refused.Active());
        report = BoxShownBy([] { SaveSettings(SettingsTemplate()); }, "Debug thingy");
    }
    EXPECT_EQ(report, "Could not save settings: RegSetValueEx 1450");
    EXPECT_EQ(StoredSettings(), StoredBytes(UserRecord(), 528));
}

TEST_F(SettingsRegistry, ARefusedAutostartWriteKeepsTheEntryAndSaysSo) {
    WriteAutostart(true);
    const auto before = harness::RegRead(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue);
    ASSERT_TRUE(before);
    g_app.quiet = true; // the entry would change: " -q"
    std::optional<std::string> report;
    {
        harness::RegistryWritesRefused refused;
        ASSERT_TRUE(refused.Active());
        report = BoxShownBy([] { WriteAutostart(true); }, "Debug thingy");
    }
    EXPECT_EQ(report, "Could not write the autostart entry: RegSetValueEx 1450");
    const auto after = harness::RegRead(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->AsString(), before->AsString());
}

TEST_F(SettingsRegistry, AutostartCarriesTheQuietAndTestSwitches) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string quoted = std::string("\"") + path + "\"";
    const struct {
        bool quiet, test;
        std::string command;
    } cases[] = {
        {false, false, quoted},
        {true, false, quoted + " -q"},
        {true, true, quoted + " -q -test"},
    };
    for (const auto& c : cases) {
        g_app.quiet = c.quiet;
        SetTestMode(c.test);
        WriteAutostart(true);
        const auto value = harness::RegRead(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue);
        ASSERT_TRUE(value);
        EXPECT_EQ(value->type, DWORD(REG_SZ));
        EXPECT_EQ(value->AsString(), c.command);
    }
    WriteAutostart(false);
    EXPECT_FALSE(harness::RegRead(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue));
}

TEST_F(SettingsRegistry, ReadAutostartOnlySwitchesTheOptionOn) {
    g_settings = SettingsTemplate();
    ReadAutostart();
    EXPECT_EQ(g_settings.StartWithWindows, 0);
    ASSERT_TRUE(
        harness::RegWriteString(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue, "x.exe"));
    ReadAutostart();
    EXPECT_EQ(g_settings.StartWithWindows, 1);
    harness::RegDeleteValue(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue);
    ReadAutostart();
    EXPECT_EQ(g_settings.StartWithWindows, 1);
}

TEST_F(SettingsRegistry, ListviewShadowIsWrittenAndReadBack) {
    for (DWORD value : {1u, 0u}) {
        SetListviewShadow(value);
        EXPECT_FALSE(DropShadowsOn());
        const auto stored =
            harness::RegRead(HKEY_CURRENT_USER, kExplorerAdvancedKey, kListviewShadowValue);
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->AsDword(), value);
        RefreshDropShadowsOn();
        EXPECT_EQ(DropShadowsOn(), value != 0);
    }
}

TEST_F(SettingsRegistry, DropShadowsNeedWindowsXP) {
    ASSERT_TRUE(
        harness::RegWriteDword(HKEY_CURRENT_USER, kExplorerAdvancedKey, kListviewShadowValue, 1));
    g_app.systemVersion.dwMajorVersion = 5;
    g_app.systemVersion.dwMinorVersion = 0;
    RefreshDropShadowsOn();
    EXPECT_FALSE(DropShadowsOn());
    SetListviewShadow(0);
    EXPECT_EQ(
        harness::RegRead(HKEY_CURRENT_USER, kExplorerAdvancedKey, kListviewShadowValue)->AsDword(),
        1u);
}

TEST_F(SettingsRegistry, WriteRegistryStringStoresATerminatedString) {
    WriteRegistryString(kTestKey, "WallpaperStyle", "2");
    const auto value = harness::RegRead(HKEY_CURRENT_USER, kTestKey, "WallpaperStyle");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, DWORD(REG_SZ));
    EXPECT_EQ(value->data, (std::vector<uint8_t>{'2', 0}));
}

TEST_F(SettingsRegistry, RegReadDWordTakesTheValueBytesAsTheyAre) {
    ASSERT_TRUE(harness::RegWriteString(HKEY_CURRENT_USER, kTestKey, "One", "1"));
    ASSERT_TRUE(harness::RegWriteString(HKEY_CURRENT_USER, kTestKey, "Two", "2"));
    ASSERT_TRUE(harness::RegWriteDword(HKEY_CURRENT_USER, kTestKey, "Number", 0x12345678));
    EXPECT_EQ(RegReadDWord(kTestKey, "One"), 49u);
    EXPECT_EQ(RegReadDWord(kTestKey, "Two"), 50u);
    EXPECT_EQ(RegReadDWord(kTestKey, "Number"), 0x12345678u);
}

TEST_F(SettingsRegistry, RegReadDWordOfAMissingValueIsZeroAndCreatesTheKey) {
    EXPECT_EQ(RegReadDWord(kTestKey, "Missing"), 0u);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    if (key)
        RegCloseKey(key);
}

// A value longer than the 4-byte result must not be copied past it; the hook
// library answers with its first four bytes.
TEST_F(SettingsRegistry, RegReadDWordOfALongValueReadsItsFirstFourBytes) {
    const std::vector<uint8_t> tenBytes{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA};
    ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kTestKey, "Long", tenBytes));
    EXPECT_EQ(RegReadDWord(kTestKey, "Long"), 0x44332211u);
    const std::string longText(5000, 'z');
    ASSERT_TRUE(harness::RegWriteString(HKEY_CURRENT_USER, kTestKey, "Text", longText));
    EXPECT_EQ(RegReadDWord(kTestKey, "Text"), 0x7A7A7A7Au);
}
