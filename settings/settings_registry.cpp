#include "settings/settings.h"

#include "base/app_state.h"
#include "base/handles.h"
#include "base/instance_data.h"
#include "base/unicode_text_win.h"
#include "base/windows_version_win.h"
#include "deskhook/deskhook.h"
#include "settings/autostart_command.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <optional>
#include <vector>

Settings g_settings{};
COLORREF UserTextColor = 0;

namespace {

constexpr char kInvalidSettingsText[] =
    "Registry settings that were imported are invalid.\nThey may have been from a previous "
    "release of Tessara.\n\nSettings remain unchanged.";
constexpr char kSaveFailureCaption[] = "Debug thingy";

LONG CreateUserKey(const char* subKey, UniqueRegKey& key) {
    return RegCreateKeyExA(HKEY_CURRENT_USER, subKey, 0, const_cast<char*>(""),
                           REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key.receive(),
                           nullptr);
}

// The stored value as far as a load needs it: null when the key or the value
// is missing; a value of the record's size is read, any other size only
// measured. A failed read leaves a zero first slot, which the load ignores.
std::optional<std::vector<uint8_t>> ReadStoredSettings() {
    UniqueRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_READ, key.receive()) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), kSettingsValue, nullptr, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::vector<uint8_t> stored(size, 0);
    if (size == DWORD(kSettingsRecordSize)) {
        DWORD read = size;
        if (RegQueryValueExA(key.get(), kSettingsValue, nullptr, nullptr, stored.data(), &read) !=
                ERROR_SUCCESS ||
            read != size)
            std::fill(stored.begin(), stored.end(), 0);
    }
    return stored;
}

void ApplyLoad(Settings& record, LoadSource source, const std::vector<uint8_t>* stored) {
    switch (source) {
    case LoadSource::Template:
        record = SettingsTemplate();
        break;
    case LoadSource::Stored: {
        SettingsBytes bytes;
        std::copy(stored->begin(), stored->end(), bytes.begin());
        record = DeserializeSettings(bytes);
        break;
    }
    case LoadSource::Keep:
        break;
    }
}

void ReportSaveFailure(const char* format, long code) {
    char text[200];
    std::snprintf(text, sizeof text, format, code);
    MessageBoxA(nullptr, text, kSaveFailureCaption, MB_OK);
}

} // namespace

void LoadSettings(Settings& record, SettingsSource source, InvalidSettings invalid) {
    if (source == SettingsSource::Defaults) {
        record = SettingsTemplate();
        return;
    }
    const std::optional<std::vector<uint8_t>> stored = ReadStoredSettings();
    const std::vector<uint8_t>* value = stored ? &*stored : nullptr;
    const LoadDecision decision =
        DecideSettingsLoad(value, invalid == InvalidSettings::Silent, record);
    if (decision.warn)
        MessageBoxA(OwnSettingsWindow(), kInvalidSettingsText, g_app.caption,
                    MB_OK | MB_ICONWARNING);
    ApplyLoad(record, decision.source, value);
    UserTextColor = COLORREF(record.TextColor);
    MarkLoaded(record);
}

void SaveSettings(Settings copy) {
    copy.RecordSize = kSettingsRecordSize;
    if (!WorthSaving(g_settings))
        return;
    UniqueRegKey key;
    const LONG result = CreateUserKey(kProgramKey, key);
    if (result != ERROR_SUCCESS) {
        ReportSaveFailure("RegCreateKeyEx %d", result);
        return;
    }
    if (!key) {
        ReportSaveFailure("Could not save settings: hKey==%d after RegCreateKeyEx", 0);
        return;
    }
    // A refused write leaves the record stored before whole: the registry
    // writes a value whole or not at all.
    const SettingsBytes bytes = SerializeSettings(copy);
    const LONG written =
        RegSetValueExA(key.get(), kSettingsValue, 0, REG_BINARY, bytes.data(), DWORD(bytes.size()));
    if (written != ERROR_SUCCESS)
        ReportSaveFailure("Could not save settings: RegSetValueEx %ld", written);
}

void ReadAutostart() {
    UniqueRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kAutostartKey, 0, KEY_ALL_ACCESS, key.receive()) !=
        ERROR_SUCCESS)
        return;
    if (RegQueryValueExA(key.get(), kAutostartValue, nullptr, nullptr, nullptr, nullptr) ==
        ERROR_SUCCESS)
        g_settings.StartWithWindows = 1;
}

void WriteAutostart(bool on) {
    const std::string command = AutostartCommandLine(ProgramPath(), g_app.quiet, TestModeOn());
    UniqueRegKey key;
    if (CreateUserKey(kAutostartKey, key) != ERROR_SUCCESS || !key)
        return;
    if (!on) {
        RegDeleteValueA(key.get(), kAutostartValue);
        return;
    }
    const std::wstring text = Utf16Text(command);
    const LONG written = RegSetValueExW(key.get(), Utf16Text(kAutostartValue).c_str(), 0, REG_SZ,
                                        reinterpret_cast<const BYTE*>(text.c_str()),
                                        DWORD((text.size() + 1) * sizeof(wchar_t)));
    if (written != ERROR_SUCCESS)
        ReportSaveFailure("Could not write the autostart entry: RegSetValueEx %ld", written);
}

void SetListviewShadow(DWORD value) {
    if (!IsWindowsXPOrLater())
        return;
    UniqueRegKey key;
    if (CreateUserKey(kExplorerAdvancedKey, key) == ERROR_SUCCESS && key)
        RegSetValueExA(key.get(), kListviewShadowValue, 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&value), sizeof value);
    InterlockedExchange(&Instances().DropShadowsOn, 0);
}

void RefreshDropShadowsOn() {
    const bool on =
        IsWindowsXPOrLater() && RegReadDWord(kExplorerAdvancedKey, kListviewShadowValue) != 0;
    InterlockedExchange(&Instances().DropShadowsOn, on ? 1 : 0);
}

bool DropShadowsOn() {
    return Instances().DropShadowsOn != 0;
}

// The terminating zero is stored with the text, as REG_SZ requires, so that
// every reader gets a terminated string.
void WriteRegistryString(const char* subKey, const char* name, const char* text) {
    UniqueRegKey key;
    if (CreateUserKey(subKey, key) != ERROR_SUCCESS || !key)
        return;
    RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   DWORD(std::strlen(text) + 1));
}

void WriteRegistryString(const char* subKey, const wchar_t* name, const wchar_t* text) {
    UniqueRegKey key;
    if (CreateUserKey(subKey, key) != ERROR_SUCCESS || !key)
        return;
    RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   DWORD((std::wcslen(text) + 1) * sizeof(wchar_t)));
}
