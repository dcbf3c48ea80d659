// Names of the system and of the program's build as the diagnostic report and
// the support mail print them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace support {

// The build date, YY, MM and DD, from the compiler's "Mmm dd yyyy" text.
struct BuildDate {
    std::string year;  // last two digits
    std::string month; // "01".."12", "00" for an unknown month
    std::string day;   // two characters, a leading blank as "0"

    std::string Text() const { return year + "-" + month + "-" + day; }
};

BuildDate ParseBuildDate(std::string_view compilerDate);

// Who asks for the Windows name: the report says "Unknown" for a major
// version it does not know, the mail subject leaves it empty.
enum class NameUse { Report, MailSubject };

// "Win95", "WinNT", "Win98", "WinMe", "Win2K", "WinXP", "Win2003",
// "Windows Vista"; empty for another minor version of a known major one.
std::string WindowsName(unsigned major, unsigned minor, unsigned platformId, NameUse use);

// The names of every row of the language table with this identifier.
std::vector<std::string> LanguageNames(std::uint16_t languageId);

// "Intel", "IA64", "AMD64", "IA32on Win64", "UNKNOWN" or "Unknown".
std::string ProcessorArchitectureName(std::uint16_t architecture);

} // namespace support
