#include "settings/settings_record.h"

#include <cstring>

namespace {

Settings MakeTemplate() {
    Settings t{};
    t.RecordSize = kSettingsRecordSize;
    t.TextBackColor = 0x808000;
    t.TextColor = 0xFFFFFF;
    t.DesktopColor = 0x80A0A0;
    t.TransparentText = 1;
    t.HideByCursor = 1;
    t.HideWhenOnDesktop = 1;
    t.HideWhenOffDesktop = 1;
    t.DelayShowOnDesktop = 1;
    t.ShowOnDesktopClick = 1;
    t.ExitPrompt = 1;
    t.HotCornerWait = 1;
    t.ShowTrayIcon = 1;
    t.TrayShowHiding = 1;
    t.TrayShowHelp = 1;
    t.TrayShowPositions = 1;
    t.TrayShowText = 1;
    t.ShowToolTips = 1;
    t.ContextMenu = 1;
    t.IgnoreSolidBorder = 1;
    t.HideTaskbar = 1;
    t.AutoTextColor = 1;
    t.HotKeyShowHideOn = 1;
    t.HotKeyShowIconsOn = 1;
    t.DeskColorUnchanged = 1;
    t.HotKeyShowHide = 0x341;
    t.HotKeyShowIcons = 0x274;
    t.HotKeyLayout = 0x458;
    t.HotKeyPosition = 0x65A;
    t.HotCorner = 1;
    t.LoadMark = kSettingsLoadMark;
    t.HideOnDesktopDelay = 10;
    t.HideOffDesktopDelay = 5;
    t.ShowDelay = 4;
    t.ClickShowTime = 10;
    t.WindowTop = -1;
    t.WindowLeft = -1;
    return t;
}

constexpr std::size_t kTextBegin = offsetof(Settings, ShowDesktopFile);
constexpr std::size_t kTextEnd = kTextBegin + kShowDesktopFileSize;

bool IsTextByte(std::size_t offset) {
    return offset >= kTextBegin && offset < kTextEnd;
}

uint32_t ReadLittleEndian(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void WriteLittleEndian(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

int32_t FirstSlot(const std::vector<uint8_t>& bytes) {
    return int32_t(ReadLittleEndian(bytes.data()));
}

} // namespace

const Settings& SettingsTemplate() {
    static const Settings settingsTemplate = MakeTemplate();
    return settingsTemplate;
}

// The slots are copied one by one through memcpy, so the byte order of the
// stored value does not depend on the machine's.
SettingsBytes SerializeSettings(const Settings& record) {
    SettingsBytes bytes{};
    const auto* raw = reinterpret_cast<const uint8_t*>(&record);
    std::memcpy(bytes.data() + kTextBegin, raw + kTextBegin, kShowDesktopFileSize);
    for (std::size_t offset = 0; offset < bytes.size(); offset += 4) {
        if (IsTextByte(offset))
            continue;
        uint32_t slot;
        std::memcpy(&slot, raw + offset, sizeof slot);
        WriteLittleEndian(bytes.data() + offset, slot);
    }
    return bytes;
}

Settings DeserializeSettings(const SettingsBytes& bytes) {
    Settings record{};
    auto* raw = reinterpret_cast<uint8_t*>(&record);
    std::memcpy(raw + kTextBegin, bytes.data() + kTextBegin, kShowDesktopFileSize);
    for (std::size_t offset = 0; offset < bytes.size(); offset += 4) {
        if (IsTextByte(offset))
            continue;
        const uint32_t slot = ReadLittleEndian(bytes.data() + offset);
        std::memcpy(raw + offset, &slot, sizeof slot);
    }
    return record;
}

bool SameSettings(const Settings& a, const Settings& b) {
    return std::memcmp(&a, &b, sizeof(Settings)) == 0;
}

LoadDecision DecideSettingsLoad(const std::vector<uint8_t>* stored, bool silentDefaults,
                                const Settings& current) {
    if (!stored)
        return {LoadSource::Template, false};
    const bool rightSize = stored->size() == std::size_t(kSettingsRecordSize);
    if (rightSize && FirstSlot(*stored) == kSettingsRecordSize)
        return {LoadSource::Stored, false};
    if (!rightSize && silentDefaults)
        return {LoadSource::Template, false};
    const bool warn = !rightSize;
    const bool usable = current.RecordSize == kSettingsRecordSize;
    return {usable ? LoadSource::Keep : LoadSource::Template, warn};
}

void MarkLoaded(Settings& record) {
    record.LoadMark = kSettingsLoadMark;
    record.ShowDesktopFile[0] = '\0';
}

bool WorthSaving(const Settings& live) {
    return live.HideOnDesktopDelay + live.HideOffDesktopDelay + live.ShowDelay != 0;
}
