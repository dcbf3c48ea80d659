// The live Settings record and its registry persistence, plus the few values
// the program keeps in the system's part of the current user's registry.
#pragma once

#include <windows.h>

#include "settings/settings_record.h"

// HKEY_CURRENT_USER subkey of the program's own values.
inline constexpr char kProgramKey[] = "Software\\Marrowen";
inline constexpr char kSettingsValue[] = "Settings";
inline constexpr char kAutostartKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kAutostartValue[] = "Tessara";
inline constexpr char kExplorerAdvancedKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
inline constexpr char kListviewShadowValue[] = "ListviewShadow";

// The one live record of the process, all zeros until the first load.
extern Settings g_settings;
// TextColor as of the last load.
extern COLORREF UserTextColor;

// Where a load takes the record from.
enum class SettingsSource { Stored, Defaults };
// Whether a load reports an unusable stored value, which falls back to the
// factory values (silently at start-up).
enum class InvalidSettings { Silent, Reported };

void LoadSettings(Settings& record, SettingsSource source, InvalidSettings invalid);
// Stores `copy`. A process whose live record was never loaded stores nothing.
// A key that cannot be opened or a write the registry refuses is reported in
// a box (shown even in quiet mode); a refused write keeps the stored record.
void SaveSettings(Settings copy);

// StartWithWindows = 1 when the autostart entry exists.
void ReadAutostart();
// Writes or removes the autostart entry; a refused write keeps the entry that
// was there and is reported as a refused settings save is.
void WriteAutostart(bool on);

// Writes Explorer's "ListviewShadow" (Windows XP and later only).
void SetListviewShadow(DWORD value);
// Recomputes DropShadowsOn from the system version and "ListviewShadow".
void RefreshDropShadowsOn();
bool DropShadowsOn();

// Writes a REG_SZ value under HKEY_CURRENT_USER; failures are ignored.
void WriteRegistryString(const char* subKey, const char* name, const char* text);
// The same with the value's name and text in UTF-16, for a text that the ANSI
// code page may not hold (a file path).
void WriteRegistryString(const char* subKey, const wchar_t* name, const wchar_t* text);
