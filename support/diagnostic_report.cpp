#include "support/diagnostic_report.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace support {

namespace {

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? std::size_t(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
}

unsigned long long Megabytes(std::uint64_t bytes) {
    return static_cast<unsigned long long>(bytes >> 20);
}

const char* YesNo(bool on) {
    return on ? "Yes" : "No";
}

std::string Dashes(int count) {
    return std::string(std::size_t(count), '-');
}

// Everything but unreserved characters as %XX, so that a version or a
// Windows name cannot end the subject early.
std::string PercentEncoded(std::string_view text) {
    std::string out;
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        const bool plain = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') ||
                           (u >= '0' && u <= '9') || u == '-' || u == '.' || u == '_' || u == '~';
        out += plain ? std::string(1, c) : Format("%%%02X", u);
    }
    return out;
}

std::string Notice() {
    return std::string("\r\nThank you for using Tessara.\r\n\r\n"
                       "Please read the Frequently Asked Questions (FAQ) before reporting a "
                       "problem.\r\n\r\n"
                       "If you are reporting a problem, please try the latest version from the web "
                       "site first.\r\n\r\n"
                       "Then tell us in your mail:\r\n"
                       "  - what happens, and what you expected to happen;\r\n"
                       "  - the steps that make it happen again;\r\n"
                       "  - what you have tried to work around it;\r\n"
                       "  - any settings of your system that may matter (display, desktop, "
                       "themes).\r\n\r\n"
                       "Please send reports to \r\n\t\t\t") +
           kSupportAddress + "\r\n\r\n";
}

std::string SystemSection(const ReportFacts& f) {
    std::string text =
        Format("\r\n\r\nTessara Version ......... %s %s-%s-%s\r\n", f.version.c_str(),
               f.buildDate.year.c_str(), f.buildDate.month.c_str(), f.buildDate.day.c_str());
    text += Format("Operating System ........ %s\r\n",
                   WindowsName(f.major, f.minor, f.platformId, NameUse::Report).c_str());
    text += Format("Operating System ........ Major:%u, Minor:%u, Platform id: %u\r\n", f.major,
                   f.minor, f.platformId);
    text += Format("System Lang ID .......... %04X ", unsigned(f.languageId));
    for (const std::string& name : LanguageNames(f.languageId))
        text += name;
    text += "\r\n";
    text +=
        "Processor Architecture .. " + ProcessorArchitectureName(f.processorArchitecture) + "\r\n";
    const std::string revision = Format("%04X", unsigned(f.processorRevision));
    text += Format("Processor revision ...... Model %c%c, Stepping %c%c\r\n", revision[0],
                   revision[1], revision[2], revision[3]);
    text += Format("Number of processors .... %u\r\n", f.processors);
    text += Format("Physical Memory ......... %lluMB\r\nVirtual Memory .......... %lluMB\r\n"
                   "Available Virtual ....... %lluMB\r\n",
                   Megabytes(f.physicalBytes), Megabytes(f.virtualBytes),
                   Megabytes(f.availableVirtualBytes));
    return text;
}

std::string DesktopSection(const ReportFacts& f) {
    std::string text = Format("Number of icons ......... %d\r\n", f.iconCount);
    text += Format("Icon size .. ............ X:%d Y:%d\r\n", f.iconSize.x, f.iconSize.y);
    text += Format("Icon spacing ............ X:%d Y:%d\r\n", f.iconSpacing.x, f.iconSpacing.y);
    text += Format("AutoArrange ............. %s\r\n", YesNo(f.autoArrange));
    if (f.desktops) {
        text += "Desktops ................ ";
        for (const std::string& name : *f.desktops)
            text += name + ", ";
        text += "\r\n";
    }
    text += Format("Number of monitors ...... %d\r\n", f.monitors);
    if (f.displays) {
        int index = 0;
        for (const DisplayDevice& d : *f.displays) {
            text += Format("Display Device %d%s....... %s, %s\r\n", index++,
                           d.primary ? "* " : " .", d.name.c_str(), d.description.c_str());
            if (d.monitor)
                text += Format("  Display Monitor .......   %s\r\n", d.monitor->c_str());
            if (d.mode) {
                text += Format("  Device Name ...........   %s\r\n", d.mode->deviceName.c_str());
                text += Format("  Width,Height,Depth.....   %d, %d, %d\r\n", d.mode->width,
                               d.mode->height, d.mode->depth);
            }
        }
    }
    return text;
}

constexpr std::uint32_t kStretched = '2';
constexpr std::uint32_t kCentered = '0';

std::string WallpaperSection(const ReportFacts& f) {
    const WallpaperFacts& w = f.wallpaper;
    std::string text = Format("Wallpaper file .......... %s\r\n", w.file.c_str());
    if (!w.file.empty() && w.picture)
        text += Format("Wallpaper dimensions .... %dx%d, Depth:%d\r\n", w.picture->width,
                       w.picture->height, w.picture->depth);
    text += Format("Wallpaper Tile Setting .. %s\r\n", w.tiled ? "True" : "False");
    const char* style = w.style == kStretched  ? "Stretched"
                        : w.style == kCentered ? "Centered"
                                               : "Tiled";
    text += Format("Wallpaper Style ......... %s\r\n", style);
    text += Format("Screen Size ............. %dx%d\r\n", f.screen.x, f.screen.y);
    text += Format("Virtual Screen Size ..... %dx%d\r\n", f.virtualScreen.x, f.virtualScreen.y);
    text += Format("Active Desktop .......... %s\r\n", YesNo(f.activeDesktop));
    text += Format("Show Desktop ............ %s\r\n", YesNo(f.showDesktop));
    text += Format("Drop Shadows ............ %s\r\n", YesNo(f.dropShadows));
    return text;
}

std::string SettingsSection(const ReportFacts& f) {
    return "\r\nTessara Settings " + Dashes(82) +
           "\r\n"
           "Windows Registry Editor Version 5.00\r\n\r\n"
           "[HKEY_CURRENT_USER\\Software\\Marrowen]\r\n"
           "\"Settings\"=hex:" +
           SettingsHexDump(f.settings);
}

std::string ProcessSection(const std::vector<ProcessEntry>& processes) {
    std::string text =
        Format("\r\n\r\nRunning processes (%d including duplicates) ", int(processes.size())) +
        Dashes(100) + "\r\n";
    for (const std::string& line : ProcessLines(processes))
        text += line;
    return text;
}

} // namespace

std::string SupportQuestionText() {
    return std::string(
               "Thank you for using Tessara.\r\n\r\nWhen you press OK, you will see a file open "
               "with system information.\r\nPlease read the beginning of that file for important "
               "information and\r\ninclude that file, or the contents of that file with your "
               "error report.\n\nFor your convenience, the same data will also be placed in the "
               "clipboard so that.\r\nyou can paste the information directly into your "
               "email.\r\n\r\nYour mail program should also start when you press OK.  If it "
               "doesn't, you can send email directly to\r\n\t\t\t") +
           kSupportAddress + "\r\n\r\nThank you for taking the time to read this entire message.";
}

std::string SettingsHexDump(const SettingsBytes& bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text += Format("%02x", unsigned(bytes[i]));
        if (i + 1 == bytes.size())
            break;
        text += ",";
        const std::size_t written = i + 1;
        if (written >= 21 && (written - 21) % 25 == 0)
            text += "\\\r\n ";
    }
    return text;
}

std::vector<std::string> ProcessLines(const std::vector<ProcessEntry>& processes) {
    std::vector<std::string> lines;
    lines.reserve(processes.size());
    for (const ProcessEntry& p : processes)
        lines.push_back(p.path ? Format("\t%-20s %s\r\n", p.name.c_str(), p.path->c_str())
                               : Format("\t%-20s\r\n", p.name.c_str()));
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

std::string BuildReport(const ReportFacts& f) {
    std::string text = Format("Tessara Diagnostic Information\r\nThis file is stored as %s\r\n",
                              f.filePath.c_str());
    text += Dashes(100) + Notice() + Dashes(100);
    text += SystemSection(f) + DesktopSection(f) + WallpaperSection(f) + SettingsSection(f);
    if (f.processes)
        text += ProcessSection(*f.processes);
    return text;
}

bool MailProgramTakesBody(std::string_view mailCommand) {
    return mailCommand.find("agent.exe") != std::string_view::npos;
}

std::string MailtoUrl(const MailFacts& f, bool withBody) {
    const BuildDate& d = f.buildDate;
    std::string url = std::string("mailto:") + kSupportAddress + "?subject=Tessara%20Support";
    url += "%20%28V%20" + PercentEncoded(f.version) + "%2C%20" + d.year + "-" + d.month + "-" +
           d.day + "%2C%20";
    url += PercentEncoded(f.windowsName);
    url += Format("%%2C%lluMB", Megabytes(f.physicalBytes));
    url += Format("%%2C%dx%d", f.screen.x, f.screen.y);
    url += f.activeDesktop ? "%2C%20ActDesktop" : "%2C%20NoActDesktop";
    url += "%29";
    if (!withBody)
        return url;
    url += "&body=";
    url += "%0dTessara%20Version%20....%20" + PercentEncoded(f.version) + "%0a";
    url += "Compile%20Date:%20......%20" + d.year + "-" + d.month + "-" + d.day + "%0D";
    url += "Operating%20System%20...%20" + PercentEncoded(f.windowsName) + "%0d";
    url += Format("Physical%%20Memory:%%20...%%20%lluMB%%0dTotal%%20Virtual:%%20.....%%20%lluMB%%0d"
                  "Available%%20Virtual%%20..%%20%lluMB%%0d",
                  Megabytes(f.physicalBytes), Megabytes(f.virtualBytes),
                  Megabytes(f.availableVirtualBytes));
    url += std::string("Active%20Desktop%20.....%20") + YesNo(f.activeDesktop) + "%0D";
    url += "%0d";
    return url;
}

} // namespace support
