// The program's four system-wide hot keys: the code a hot key control gives,
// what registration makes of it, and the rules of the "HOTKEYS" dialog.
#pragma once

#include "settings/settings_record.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// Bits of a hot key code above its virtual-key code (bits 0-7); the low 16
// bits are exactly what HKM_GETHOTKEY gives and HKM_SETHOTKEY takes.
namespace hot_key_bits {
inline constexpr int32_t Shift = 0x100;
inline constexpr int32_t Control = 0x200;
inline constexpr int32_t Alt = 0x400;
inline constexpr int32_t Extended = 0x800;
} // namespace hot_key_bits

// RegisterHotKey's modifier flags (MOD_ALT, MOD_CONTROL, MOD_SHIFT).
namespace hot_key_mods {
inline constexpr unsigned Alt = 1;
inline constexpr unsigned Control = 2;
inline constexpr unsigned Shift = 4;
} // namespace hot_key_mods

// The key name query's flags above the scan code: "do not tell left from
// right" (bit 25) and "extended key" (bit 24).
inline constexpr long kKeyNameDontCare = 0x200;
inline constexpr long kKeyNameExtended = 0x100;

// The readable name of a code is this prefix followed by the system's name
// of its key; the name holds at most this many characters.
inline constexpr int kKeyNameLength = 100;

unsigned HotKeyVirtualKey(int32_t code);
// Modifiers for RegisterHotKey; the extended bit plays no part.
unsigned HotKeyModifiers(int32_t code);
// "Ctrl + ", "Alt + ", "Shift + " in that order, for the bits that are set.
std::string HotKeyPrefix(int32_t code);
// The parameter of the key name query for the key's scan code.
long HotKeyNameQuery(unsigned scanCode, int32_t code);

struct HotKey {
    int registrationId;        // id of RegisterHotKey on the settings window
    int checkBoxId;            // its switch in the "HOTKEYS" dialog
    int32_t Settings::*on;     // switched on
    int32_t Settings::*code;   // its code; 0 is no key
    const char* failureFormat; // message when the combination is taken; both %s are the key text
};

inline constexpr std::size_t kHotKeyCount = 4;
inline constexpr std::size_t kShowHideHotKey = 0;

// Show/Hide, Show Icons, Wallpaper Layout, Cycle Positions: the order of
// registration.
const std::array<HotKey, kHotKeyCount>& ProgramHotKeys();

// Registered when switched on and given a key.
bool HotKeyWanted(const Settings& settings, const HotKey& hotKey);

// The failure message of `hotKey` naming `keyText` in both places.
std::string HotKeyFailureText(const HotKey& hotKey, const std::string& keyText);

// ---- The "HOTKEYS" dialog -----------------------------------------------------

// Its check box of the Show/Hide hot key can be switched off only while the
// tray icon is shown: one way back to the window always remains.
bool HotKeyCheckBoxEnabled(std::size_t index, int32_t showTrayIcon);
// A key field is enabled while its switch is on; Show/Hide's also while the
// tray icon is hidden.
bool HotKeyFieldEnabled(std::size_t index, bool switchOn, int32_t showTrayIcon);
// "OK" is refused while neither a tray icon nor a usable Show/Hide key would exist.
bool HotKeyDialogAccepts(int32_t showTrayIcon, bool showHideOn, int32_t showHideCode);

struct HotKeyRect {
    int left, top, right, bottom;
};

struct HotKeyPoint {
    int x, y;
};

// Where the dialog moves, given the settings window and the screen: beside the
// window on its right when there is room, else on its left, else nowhere.
std::optional<HotKeyPoint> HotKeyDialogPlace(const HotKeyRect& settingsWindow, int dialogWidth,
                                             int screenWidth);

// The key field beside a check box, in the dialog's client coordinates as the
// dialog's window rectangle approximates them: from the check box's right
// edge, raised by a caption button's width and 4 pixels.
HotKeyRect HotKeyFieldRect(const HotKeyRect& checkBox, const HotKeyRect& dialog,
                           int captionButtonWidth, int averageCharWidth, int charHeight);
