// The diagnostic report and the support mail: their texts from facts that
// the Windows side gathers.
#pragma once

#include "settings/settings_record.h"
#include "support/system_names.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace support {

inline constexpr char kSupportAddress[] = "support@marrowen.com";
inline constexpr char kReportFileName[] = "tessara.sysinfo.txt";
inline constexpr char kQuestionCaption[] = "Tessara Problem Reporting Information";

// The question asked before anything is written or started.
std::string SupportQuestionText();

struct Size2 {
    int x = 0;
    int y = 0;
};

struct DisplayMode {
    std::string deviceName;
    int width = 0;
    int height = 0;
    int depth = 0;
};

struct DisplayDevice {
    bool primary = false;
    std::string name;
    std::string description;
    std::optional<std::string> monitor; // its first monitor's description
    std::optional<DisplayMode> mode;    // its current settings
};

struct ProcessEntry {
    std::string name;
    std::optional<std::string> path; // of its first module, when readable
};

struct WallpaperFacts {
    std::string file;
    std::optional<DisplayMode> picture; // width, height and depth of the picture
    bool tiled = false;
    std::uint32_t style = 0; // "WallpaperStyle" as RegReadDWord reads it
};

// Everything the report prints, as the system reports it.
struct ReportFacts {
    std::string filePath;
    std::string version;
    BuildDate buildDate;
    unsigned major = 0;
    unsigned minor = 0;
    unsigned platformId = 0;
    std::uint16_t languageId = 0;
    std::uint16_t processorArchitecture = 0;
    std::uint16_t processorRevision = 0;
    unsigned processors = 0;
    std::uint64_t physicalBytes = 0;
    std::uint64_t virtualBytes = 0;
    std::uint64_t availableVirtualBytes = 0;
    int iconCount = 0;
    Size2 iconSize;
    Size2 iconSpacing; // beyond the icon itself
    bool autoArrange = false;
    std::optional<std::vector<std::string>> desktops; // without a window station: none
    int monitors = 0;
    std::optional<std::vector<DisplayDevice>> displays; // without EnumDisplayDevicesA: none
    WallpaperFacts wallpaper;
    Size2 screen;
    Size2 virtualScreen;
    bool activeDesktop = false;
    bool showDesktop = false;
    bool dropShadows = false;
    SettingsBytes settings{};
    std::optional<std::vector<ProcessEntry>> processes; // without the tool-help functions: none
};

// The whole report file, CR LF line ends.
std::string BuildReport(const ReportFacts& facts);

// The Settings record as a registry file's "Settings"=hex: value: two
// lower-case digits a byte, a continuation after byte 21 and every 25 more.
std::string SettingsHexDump(const SettingsBytes& bytes);

// The sorted process lines without repeats, and the count of processes.
std::vector<std::string> ProcessLines(const std::vector<ProcessEntry>& processes);

struct MailFacts {
    std::string version;
    BuildDate buildDate;
    std::string windowsName; // for the mail subject
    std::uint64_t physicalBytes = 0;
    std::uint64_t virtualBytes = 0;
    std::uint64_t availableVirtualBytes = 0;
    Size2 screen;
    bool activeDesktop = false;
};

// Whether the registered mail program takes a body in the mailto link.
bool MailProgramTakesBody(std::string_view mailCommand);

// The mailto link with its subject, and the body when `withBody`.
std::string MailtoUrl(const MailFacts& facts, bool withBody);

} // namespace support
