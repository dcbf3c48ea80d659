#include "support/system_names.h"

#include <cstdio>

namespace support {

namespace {

struct Language {
    std::uint16_t id;
    const char* name;
};

// The system's language identifiers with their published names.
constexpr Language kLanguages[] = {
    {0x0000, "Language Neutral"},
    {0x007F, "The language for the invariant locale"},
    {0x0400, "Process or User Default Language"},
    {0x0800, "System Default Language"},
    {0x0436, "Afrikaans"},
    {0x041C, "Albanian"},
    {0x0401, "Arabic (Saudi Arabia)"},
    {0x0801, "Arabic (Iraq)"},
    {0x0C01, "Arabic (Egypt)"},
    {0x1001, "Arabic (Libya)"},
    {0x1401, "Arabic (Algeria)"},
    {0x1801, "Arabic (Morocco)"},
    {0x1C01, "Arabic (Tunisia)"},
    {0x2001, "Arabic (Oman)"},
    {0x2401, "Arabic (Yemen)"},
    {0x2801, "Arabic (Syria)"},
    {0x2C01, "Arabic (Jordan)"},
    {0x3001, "Arabic (Lebanon)"},
    {0x3401, "Arabic (Kuwait)"},
    {0x3801, "Arabic (U.A.E.)"},
    {0x3C01, "Arabic (Bahrain)"},
    {0x4001, "Arabic (Qatar)"},
    {0x042B, "Armenian"},
    {0x042C, "Azeri (Latin)"},
    {0x082C, "Azeri (Cyrillic)"},
    {0x042D, "Basque"},
    {0x0423, "Belarusian"},
    {0x0402, "Bulgarian"},
    {0x0455, "Burmese"},
    {0x0403, "Catalan"},
    {0x0404, "Chinese (Taiwan)"},
    {0x0804, "Chinese (PRC)"},
    {0x0C04, "Chinese (Hong Kong SAR, PRC)"},
    {0x1004, "Chinese (Singapore)"},
    {0x1404, "Chinese (Macao SAR)"},
    {0x041A, "Croatian"},
    {0x0405, "Czech"},
    {0x0406, "Danish"},
    {0x0465, "Divehi"},
    {0x0413, "Dutch (Netherlands)"},
    {0x0813, "Dutch (Belgium)"},
    {0x0409, "English (United States)"},
    {0x0809, "English (United Kingdom)"},
    {0x0C09, "English (Australian)"},
    {0x1009, "English (Canadian)"},
    {0x1409, "English (New Zealand)"},
    {0x1809, "English (Ireland)"},
    {0x1C09, "English (South Africa)"},
    {0x2009, "English (Jamaica)"},
    {0x2409, "English (Caribbean)"},
    {0x2809, "English (Belize)"},
    {0x2C09, "English (Trinidad)"},
    {0x3009, "English (Zimbabwe)"},
    {0x3409, "English (Philippines)"},
    {0x0425, "Estonian"},
    {0x0438, "Faeroese"},
    {0x0429, "Farsi"},
    {0x040B, "Finnish"},
    {0x040C, "French (Standard)"},
    {0x080C, "French (Belgian)"},
    {0x0C0C, "French (Canadian)"},
    {0x100C, "French (Switzerland)"},
    {0x140C, "French (Luxembourg)"},
    {0x180C, "French (Monaco)"},
    {0x0456, "Galician"},
    {0x0437, "Georgian"},
    {0x0407, "German (Standard)"},
    {0x0807, "German (Switzerland)"},
    {0x0C07, "German (Austria)"},
    {0x1007, "German (Luxembourg)"},
    {0x1407, "German (Liechtenstein)"},
    {0x0408, "Greek"},
    {0x0447, "Gujarati"},
    {0x040D, "Hebrew"},
    {0x0439, "Hindi"},
    {0x040E, "Hungarian"},
    {0x040F, "Icelandic"},
    {0x0421, "Indonesian"},
    {0x0410, "Italian (Standard)"},
    {0x0810, "Italian (Switzerland)"},
    {0x0411, "Japanese"},
    {0x044B, "Kannada"},
    {0x0457, "Konkani"},
    {0x0412, "Korean"},
    {0x0812, "Korean (Johab)"},
    {0x0440, "Kyrgyz"},
    {0x0426, "Latvian"},
    {0x0427, "Lithuanian"},
    {0x0827, "Lithuanian (Classic)"},
    {0x042F, "FYRO Macedonian"},
    {0x043E, "Malay (Malaysian)"},
    {0x083E, "Malay (Brunei Darussalam)"},
    {0x044E, "Marathi"},
    {0x0450, "Mongolian"},
    {0x0414, "Norwegian (Bokmal)"},
    {0x0814, "Norwegian (Nynorsk)"},
    {0x0415, "Polish"},
    {0x0416, "Portuguese (Brazil)"},
    {0x0816, "Portuguese (Portugal)"},
    {0x0446, "Punjabi"},
    {0x0418, "Romanian"},
    {0x0419, "Russian"},
    {0x044F, "Sanskrit"},
    {0x0C1A, "Serbian (Cyrillic)"},
    {0x081A, "Serbian (Latin)"},
    {0x041B, "Slovak"},
    {0x0424, "Slovenian"},
    {0x040A, "Spanish (Spain, Traditional Sort)"},
    {0x080A, "Spanish (Mexican)"},
    {0x0C0A, "Spanish (Spain, Modern Sort)"},
    {0x100A, "Spanish (Guatemala)"},
    {0x140A, "Spanish (Costa Rica)"},
    {0x180A, "Spanish (Panama)"},
    {0x1C0A, "Spanish (Dominican Republic)"},
    {0x200A, "Spanish (Venezuela)"},
    {0x240A, "Spanish (Colombia)"},
    {0x280A, "Spanish (Peru)"},
    {0x2C0A, "Spanish (Argentina)"},
    {0x300A, "Spanish (Ecuador)"},
    {0x340A, "Spanish (Chile)"},
    {0x380A, "Spanish (Uruguay)"},
    {0x3C0A, "Spanish (Paraguay)"},
    {0x400A, "Spanish (Bolivia)"},
    {0x440A, "Spanish (El Salvador)"},
    {0x480A, "Spanish (Honduras)"},
    {0x4C0A, "Spanish (Nicaragua)"},
    {0x500A, "Spanish (Puerto Rico)"},
    {0x0430, "Sutu"},
    {0x0441, "Swahili (Kenya)"},
    {0x041D, "Swedish"},
    {0x081D, "Swedish (Finland)"},
    {0x045A, "Syriac"},
    {0x0449, "Tamil"},
    {0x0444, "Tatar (Tatarstan)"},
    {0x044A, "Telugu"},
    {0x041E, "Thai"},
    {0x041F, "Turkish"},
    {0x0422, "Ukrainian"},
    {0x0420, "Urdu (Pakistan)"},
    {0x0820, "Urdu (India)"},
    {0x0443, "Uzbek (Latin)"},
    {0x0843, "Uzbek (Cyrillic)"},
    {0x042A, "Vietnamese"},
};

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

} // namespace

// "Dec  3 2005": month, blank, day padded with a blank, blank, year.
BuildDate ParseBuildDate(std::string_view compilerDate) {
    std::string text(compilerDate);
    for (char& c : text)
        if (c == ' ')
            c = '0';
    BuildDate date{"00", "00", "00"};
    if (text.size() < 11)
        return date;
    date.year = text.substr(9, 2);
    date.day = text.substr(4, 2);
    for (int i = 0; i < 12; ++i)
        if (text.compare(0, 3, kMonths[i]) == 0) {
            char month[4];
            std::snprintf(month, sizeof month, "%d", i + 101);
            date.month = month + 1;
        }
    return date;
}

std::string WindowsName(unsigned major, unsigned minor, unsigned platformId, NameUse use) {
    switch (major) {
    case 4:
        if (minor == 0)
            return platformId == 1 ? "Win95" : platformId == 2 ? "WinNT" : "";
        if (minor == 10)
            return "Win98";
        return minor == 90 ? "WinMe" : "";
    case 5:
        if (minor == 0)
            return "Win2K";
        if (minor == 1)
            return "WinXP";
        return minor == 2 ? "Win2003" : "";
    case 6:
        return minor == 0 ? "Windows Vista" : "";
    default:
        return use == NameUse::Report ? "Unknown" : "";
    }
}

std::vector<std::string> LanguageNames(std::uint16_t languageId) {
    std::vector<std::string> names;
    for (const Language& language : kLanguages)
        if (language.id == languageId)
            names.emplace_back(language.name);
    return names;
}

std::string ProcessorArchitectureName(std::uint16_t architecture) {
    switch (architecture) {
    case 0:
        return "Intel";
    case 6:
        return "IA64";
    case 9:
        return "AMD64";
    case 10:
        return "IA32on Win64";
    case 0xFFFF:
        return "UNKNOWN";
    default:
        return "Unknown";
    }
}

} // namespace support
