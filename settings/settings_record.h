// The Settings record: the program's whole configuration as 132 signed 32-bit
// slots (528 bytes), stored little-endian as one registry value.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr int32_t kSettingsRecordSize = 528;
inline constexpr int32_t kSettingsLoadMark = 1234;
inline constexpr std::size_t kShowDesktopFileSize = 292;

// Booleans are 0 or 1, colours are COLORREF values (0x00BBGGRR), hot keys are
// in the hot key control's form (virtual key | 0x100 Shift | 0x200 Ctrl |
// 0x400 Alt | 0x800 extended). Value-initialised ({}) it is all zeros, the
// state of the live record before its first load.
struct Settings {
    int32_t RecordSize;         // always 528 in a stored record
    int32_t TextBackColor;      // caption background when TransparentText is 0
    int32_t TextColor;          // caption text
    int32_t DesktopColor;       // applied while DeskColorManual is 1
    int32_t TransparentText;    // 1 transparent caption background, 0 solid
    int32_t HideByCursor;       // hide icons by cursor position
    int32_t HideAlways;         // always hide; both 0 means "never hide"
    int32_t AutoResample;       // resample caption background on wallpaper change
    int32_t HideWhenOnDesktop;  // hide after the cursor rested on the desktop
    int32_t HideWhenOffDesktop; // hide after the cursor left the desktop
    int32_t DelayShowOnDesktop; // delay showing when the cursor comes onto the desktop
    int32_t ShowOnDesktopClick; // a desktop click shows the icons
    int32_t ExitPrompt;         // close action "Prompt"
    int32_t StartWithWindows;   // mirrored into the autostart entry
    int32_t HideWhenStarted;    // keep the settings window hidden at start
    int32_t HotCornerEnabled;
    int32_t HotCornerWait; // cursor must stay one second in the corner
    int32_t ShowTrayIcon;
    int32_t StretchInnerDimension;
    int32_t TrayShowHiding;
    int32_t TrayShowHelp;
    int32_t TrayShowPositions;
    int32_t TrayShowText;
    int32_t BossMouse;
    int32_t AutoRestorePositions;   // at start and on resolution changes
    int32_t PerResolutionPositions; // 1 one set per resolution, 0 one relative set
    int32_t ShowToolTips;
    int32_t ExitHides; // close action "Hide"; "Exit" when this and ExitPrompt are 0
    int32_t TrayShowDance;
    int32_t HotCornerAction; // index in the hot-corner action combo box
    int32_t WindowFading;
    int32_t ContextMenu; // entries in the desktop context menu
    int32_t DeskColorFromWallpaper;
    int32_t UseComplementColor;
    int32_t IgnoreSolidBorder;
    int32_t SampleWholeImage;
    int32_t DeskColorManual;
    int32_t HideCursor;
    int32_t HideTaskbar;
    int32_t Reserved39; // loaded and stored unchanged
    int32_t KeepAspectRatio;
    int32_t AutoTextColor;
    int32_t HotKeyShowHideOn;
    int32_t HotKeyShowIconsOn;
    int32_t HotKeyLayoutOn;
    int32_t HotKeyPositionOn;
    int32_t DeskColorUnchanged;
    int32_t HotKeyShowHide;
    int32_t HotKeyShowIcons;
    int32_t HotKeyLayout;
    int32_t HotKeyPosition;
    int32_t HotCorner;                          // low byte: 0 upper left .. 3 lower right
    int32_t LoadMark;                           // 1234 after every load
    int32_t HideOnDesktopDelay;                 // seconds, 0..60
    int32_t HideOffDesktopDelay;                // seconds, 0..60
    int32_t ShowDelay;                          // 1..101, v stands for (v-1) tenths of a second
    int32_t ClickShowTime;                      // seconds, 1..60
    char ShowDesktopFile[kShowDesktopFileSize]; // UTF-8; run-time only, emptied by every load
    int32_t WindowTop;                          // -1 never placed
    int32_t WindowLeft;                         // -1 never placed
};

static_assert(sizeof(Settings) == kSettingsRecordSize);
static_assert(offsetof(Settings, TextBackColor) == 4);
static_assert(offsetof(Settings, Reserved39) == 156);
static_assert(offsetof(Settings, HotKeyShowHide) == 188);
static_assert(offsetof(Settings, LoadMark) == 208);
static_assert(offsetof(Settings, ClickShowTime) == 224);
static_assert(offsetof(Settings, ShowDesktopFile) == 228);
static_assert(offsetof(Settings, WindowTop) == 520);
static_assert(offsetof(Settings, WindowLeft) == 524);

using SettingsBytes = std::array<uint8_t, kSettingsRecordSize>;

// The factory values.
const Settings& SettingsTemplate();

SettingsBytes SerializeSettings(const Settings& record);
Settings DeserializeSettings(const SettingsBytes& bytes);

bool SameSettings(const Settings& a, const Settings& b);

// What a load does with the record it fills.
enum class LoadSource {
    Template, // the factory values
    Stored,   // the stored value
    Keep,     // the record stays as it was
};

struct LoadDecision {
    LoadSource source;
    bool warn; // tell the user that the stored value is unusable
};

// Chooses the outcome of a load from what the registry holds: `stored` is
// null when the key or the value is missing, else the value's bytes (of any
// length). A record is never kept when it was never filled (its RecordSize
// is not 528), so a fresh process always ends up with a usable record.
LoadDecision DecideSettingsLoad(const std::vector<uint8_t>* stored, bool silentDefaults,
                                const Settings& current);

// Applies the marks of every load: fresh run-time fields and the load mark.
void MarkLoaded(Settings& record);

// The live record before any load has three zero delays; such a record is
// never stored.
bool WorthSaving(const Settings& live);
