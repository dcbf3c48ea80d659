#include "ui/hot_keys.h"

#include "ui/resource.h"

namespace {

const std::array<HotKey, kHotKeyCount> kHotKeys = {{
    {0xBFFF, IDC_HOTKEY_SHOW_HIDE_ON, &Settings::HotKeyShowHideOn, &Settings::HotKeyShowHide,
     "Unable to register %s as a hot key.\n\nAnother program may be using %s.\n\nYou do not have "
     "an active  \"Show/Hide\" hot key\nso the Tray Icon has been enabled."},
    {0xBFFE, IDC_HOTKEY_SHOW_ICONS_ON, &Settings::HotKeyShowIconsOn, &Settings::HotKeyShowIcons,
     "Unable to register %s as a hot key.\nAnother program may be using %s.\n\nYou do not have an "
     "active  \"Show Icons\" hot key."},
    {0xBFFD, IDC_HOTKEY_LAYOUT_ON, &Settings::HotKeyLayoutOn, &Settings::HotKeyLayout,
     "Unable to register %s as a hot key.\nAnother program may be using %s.\n\nYou do not have an "
     "active  \"Cycle Layout\" hot key."},
    {0xBFFC, IDC_HOTKEY_POSITION_ON, &Settings::HotKeyPositionOn, &Settings::HotKeyPosition,
     "Unable to register %s as a hot key.\nAnother program may be using %s.\n\nYou do not have an "
     "active  \"Position\" hot key."},
}};

constexpr int kDialogMargin = 15;
constexpr int kFieldWidthInChars = 18;

} // namespace

unsigned HotKeyVirtualKey(int32_t code) {
    return unsigned(code) & 0xFFu;
}

unsigned HotKeyModifiers(int32_t code) {
    unsigned modifiers = 0;
    if (code & hot_key_bits::Alt)
        modifiers |= hot_key_mods::Alt;
    if (code & hot_key_bits::Control)
        modifiers |= hot_key_mods::Control;
    if (code & hot_key_bits::Shift)
        modifiers |= hot_key_mods::Shift;
    return modifiers;
}

std::string HotKeyPrefix(int32_t code) {
    std::string prefix;
    if (code & hot_key_bits::Control)
        prefix += "Ctrl + ";
    if (code & hot_key_bits::Alt)
        prefix += "Alt + ";
    if (code & hot_key_bits::Shift)
        prefix += "Shift + ";
    return prefix;
}

long HotKeyNameQuery(unsigned scanCode, int32_t code) {
    long flags = long(scanCode & 0xFFu) | kKeyNameDontCare;
    if (code & hot_key_bits::Extended)
        flags |= kKeyNameExtended;
    return flags << 16;
}

const std::array<HotKey, kHotKeyCount>& ProgramHotKeys() {
    return kHotKeys;
}

bool HotKeyWanted(const Settings& settings, const HotKey& hotKey) {
    return settings.*hotKey.on == 1 && settings.*hotKey.code != 0;
}

std::string HotKeyFailureText(const HotKey& hotKey, const std::string& keyText) {
    std::string text = hotKey.failureFormat;
    for (std::size_t at = text.find("%s"); at != std::string::npos;
         at = text.find("%s", at + keyText.size()))
        text.replace(at, 2, keyText);
    return text;
}

bool HotKeyCheckBoxEnabled(std::size_t index, int32_t showTrayIcon) {
    return index != kShowHideHotKey || showTrayIcon == 1;
}

bool HotKeyFieldEnabled(std::size_t index, bool switchOn, int32_t showTrayIcon) {
    return switchOn || (index == kShowHideHotKey && showTrayIcon == 0);
}

bool HotKeyDialogAccepts(int32_t showTrayIcon, bool showHideOn, int32_t showHideCode) {
    return showTrayIcon == 1 || (showHideOn && showHideCode != 0);
}

std::optional<HotKeyPoint> HotKeyDialogPlace(const HotKeyRect& settingsWindow, int dialogWidth,
                                             int screenWidth) {
    if (settingsWindow.right < screenWidth - dialogWidth - kDialogMargin)
        return HotKeyPoint{settingsWindow.right, settingsWindow.top};
    if (settingsWindow.left > dialogWidth + kDialogMargin)
        return HotKeyPoint{settingsWindow.left - dialogWidth, settingsWindow.top};
    return std::nullopt;
}

HotKeyRect HotKeyFieldRect(const HotKeyRect& checkBox, const HotKeyRect& dialog,
                           int captionButtonWidth, int averageCharWidth, int charHeight) {
    const int left = checkBox.right - dialog.left;
    const int top = checkBox.top - dialog.top - captionButtonWidth - 4;
    return {left, top, left + kFieldWidthInChars * averageCharWidth, top + charHeight + 2};
}
