#include "support/diagnostic_report.h"
#include "support/system_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace support {
namespace {

TEST(SupportNames_BuildDate, TurnsTheCompilerDateIntoYearMonthDay) {
    struct Row {
        const char* date;
        const char* text;
    };
    const Row rows[] = {
        {"Dec  3 2005", "05-12-03"}, {"Jan 31 2026", "26-01-31"}, {"Sep 10 1999", "99-09-10"},
        {"Xyz 10 2001", "01-00-10"}, {"short", "00-00-00"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ParseBuildDate(row.date).Text(), row.text) << row.date;
}

TEST(SupportNames_Windows, NamesTheVersionsItKnows) {
    struct Row {
        unsigned major, minor, platform;
        const char* report;
        const char* subject;
    };
    const Row rows[] = {
        {4, 0, 1, "Win95", "Win95"},
        {4, 0, 2, "WinNT", "WinNT"},
        {4, 10, 1, "Win98", "Win98"},
        {4, 90, 1, "WinMe", "WinMe"},
        {5, 0, 2, "Win2K", "Win2K"},
        {5, 1, 2, "WinXP", "WinXP"},
        {5, 2, 2, "Win2003", "Win2003"},
        {6, 0, 2, "Windows Vista", "Windows Vista"},
        {6, 1, 2, "", ""},
        {5, 3, 2, "", ""},
        {10, 0, 2, "Unknown", ""},
        {3, 51, 2, "Unknown", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.major) + "." + std::to_string(row.minor));
        EXPECT_EQ(WindowsName(row.major, row.minor, row.platform, NameUse::Report), row.report);
        EXPECT_EQ(WindowsName(row.major, row.minor, row.platform, NameUse::MailSubject),
                  row.subject);
    }
}

TEST(SupportNames_Languages, FindsEveryRowOfAnIdentifier) {
    EXPECT_EQ(LanguageNames(0x0409), std::vector<std::string>{"English (United States)"});
    EXPECT_EQ(LanguageNames(0x0407), std::vector<std::string>{"German (Standard)"});
    EXPECT_EQ(LanguageNames(0x042A), std::vector<std::string>{"Vietnamese"});
    EXPECT_EQ(LanguageNames(0x0000), std::vector<std::string>{"Language Neutral"});
    EXPECT_TRUE(LanguageNames(0x7777).empty());
}

TEST(SupportNames_Processor, NamesTheArchitecture) {
    EXPECT_EQ(ProcessorArchitectureName(0), "Intel");
    EXPECT_EQ(ProcessorArchitectureName(6), "IA64");
    EXPECT_EQ(ProcessorArchitectureName(9), "AMD64");
    EXPECT_EQ(ProcessorArchitectureName(10), "IA32on Win64");
    EXPECT_EQ(ProcessorArchitectureName(0xFFFF), "UNKNOWN");
    EXPECT_EQ(ProcessorArchitectureName(12), "Unknown");
}

SettingsBytes CountingBytes() {
    SettingsBytes bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = std::uint8_t(i);
    return bytes;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

TEST(SupportReport_SettingsDump, Has21BytesThen25ALineAndNoLastComma) {
    const std::vector<std::string> lines = Lines(SettingsHexDump(CountingBytes()));
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[0].substr(0, 9), "00,01,02,");
    EXPECT_EQ(lines[0].size(), 21u * 3 + 1);
    EXPECT_EQ(lines[0].back(), '\\');
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        EXPECT_EQ(lines[i].size(), 1 + 25u * 3 + 1) << i;
        EXPECT_EQ(lines[i][0], ' ');
    }
    EXPECT_EQ(lines[1].substr(0, 4), " 15,");
    const std::string& last = lines.back();
    EXPECT_EQ(last, " 09,0a,0b,0c,0d,0e,0f");
}

TEST(SupportReport_Processes, SortsAndDropsRepeatedLinesButCountsAll) {
    const std::vector<ProcessEntry> processes = {
        {"svchost.exe", std::nullopt},
        {"explorer.exe", std::string("C:\\Windows\\explorer.exe")},
        {"svchost.exe", std::nullopt},
        {"a.exe", std::nullopt},
    };
    EXPECT_EQ(ProcessLines(processes),
              (std::vector<std::string>{"\ta.exe               \r\n",
                                        "\texplorer.exe         C:\\Windows\\explorer.exe\r\n",
                                        "\tsvchost.exe         \r\n"}));
    ReportFacts facts;
    facts.processes = processes;
    const std::string report = BuildReport(facts);
    EXPECT_NE(report.find("\r\n\r\nRunning processes (4 including duplicates) " +
                          std::string(100, '-') + "\r\n\ta.exe"),
              std::string::npos);
    facts.processes.reset();
    EXPECT_EQ(BuildReport(facts).find("Running processes"), std::string::npos);
}

ReportFacts SampleFacts() {
    ReportFacts f;
    f.filePath = "C:\\Temp\\tessara.sysinfo.txt";
    f.version = "1.0.0";
    f.buildDate = ParseBuildDate("Dec  3 2005");
    f.major = 5;
    f.minor = 1;
    f.platformId = 2;
    f.languageId = 0x0409;
    f.processorArchitecture = 0;
    f.processorRevision = 0x0F02;
    f.processors = 2;
    f.physicalBytes = 512ull << 20;
    f.virtualBytes = 2048ull << 20;
    f.availableVirtualBytes = (2000ull << 20) + 12345;
    f.iconCount = 12;
    f.iconSize = {32, 32};
    f.iconSpacing = {43, 43};
    f.autoArrange = true;
    f.desktops = std::vector<std::string>{"Default", "Winlogon"};
    f.monitors = 1;
    DisplayDevice d;
    d.primary = true;
    d.name = "\\\\.\\DISPLAY1";
    d.description = "Video";
    d.monitor = "Monitor";
    d.mode = DisplayMode{"\\\\.\\DISPLAY1", 1024, 768, 32};
    DisplayDevice other;
    other.name = "\\\\.\\DISPLAY2";
    other.description = "Second";
    f.displays = std::vector<DisplayDevice>{d, other};
    f.wallpaper.file = "C:\\wall.bmp";
    f.wallpaper.picture = DisplayMode{"", 800, 600, 24};
    f.wallpaper.tiled = false;
    f.wallpaper.style = '2';
    f.screen = {1024, 768};
    f.virtualScreen = {1024, 768};
    f.activeDesktop = false;
    f.showDesktop = false;
    f.dropShadows = true;
    f.settings = CountingBytes();
    return f;
}

TEST(SupportReport_Text, HoldsEverySectionInOrder) {
    const std::string report = BuildReport(SampleFacts());
    const std::string expected[] = {
        "Tessara Diagnostic Information\r\nThis file is stored as "
        "C:\\Temp\\tessara.sysinfo.txt\r\n" +
            std::string(100, '-') + "\r\nThank you for using Tessara.\r\n\r\n",
        "Please send reports to \r\n\t\t\tsupport@marrowen.com\r\n\r\n" + std::string(100, '-') +
            "\r\n\r\nTessara Version ......... 1.0.0 05-12-03\r\n",
        "Operating System ........ WinXP\r\n",
        "Operating System ........ Major:5, Minor:1, Platform id: 2\r\n",
        "System Lang ID .......... 0409 English (United States)\r\n",
        "Processor Architecture .. Intel\r\n",
        "Processor revision ...... Model 0F, Stepping 02\r\n",
        "Number of processors .... 2\r\n",
        "Physical Memory ......... 512MB\r\nVirtual Memory .......... 2048MB\r\n"
        "Available Virtual ....... 2000MB\r\n",
        "Number of icons ......... 12\r\n",
        "Icon size .. ............ X:32 Y:32\r\n",
        "Icon spacing ............ X:43 Y:43\r\n",
        "AutoArrange ............. Yes\r\n",
        "Desktops ................ Default, Winlogon, \r\n",
        "Number of monitors ...... 1\r\n",
        "Display Device 0* ....... \\\\.\\DISPLAY1, Video\r\n",
        "  Display Monitor .......   Monitor\r\n",
        "  Device Name ...........   \\\\.\\DISPLAY1\r\n",
        "  Width,Height,Depth.....   1024, 768, 32\r\n",
        "Display Device 1 ........ \\\\.\\DISPLAY2, Second\r\n",
        "Wallpaper file .......... C:\\wall.bmp\r\n",
        "Wallpaper dimensions .... 800x600, Depth:24\r\n",
        "Wallpaper Tile Setting .. False\r\n",
        "Wallpaper Style ......... Stretched\r\n",
        "Screen Size ............. 1024x768\r\n",
        "Virtual Screen Size ..... 1024x768\r\n",
        "Active Desktop .......... No\r\n",
        "Show Desktop ............ No\r\n",
        "Drop Shadows ............ Yes\r\n",
        "\r\nTessara Settings " + std::string(82, '-') +
            "\r\nWindows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Marrowen]\r\n\"Settings\"=hex:00,01,",
    };
    std::size_t at = 0;
    for (const std::string& part : expected) {
        const std::size_t found = report.find(part, at);
        ASSERT_NE(found, std::string::npos) << part;
        at = found + part.size();
    }
    EXPECT_EQ(report.substr(report.size() - 6), ",0e,0f");
}

TEST(SupportReport_Text, DropsTheSectionsOfMissingFunctionsAndNames) {
    ReportFacts f = SampleFacts();
    f.displays.reset();
    f.desktops.reset();
    f.wallpaper.file.clear();
    f.wallpaper.style = '0';
    f.wallpaper.tiled = true;
    f.major = 10;
    const std::string report = BuildReport(f);
    EXPECT_EQ(report.find("Display Device"), std::string::npos);
    EXPECT_EQ(report.find("Desktops"), std::string::npos);
    EXPECT_EQ(report.find("Wallpaper dimensions"), std::string::npos);
    EXPECT_NE(report.find("Wallpaper Style ......... Centered\r\n"), std::string::npos);
    EXPECT_NE(report.find("Wallpaper Tile Setting .. True\r\n"), std::string::npos);
    EXPECT_NE(report.find("Operating System ........ Unknown\r\n"), std::string::npos);
    f.wallpaper.style = '1';
    EXPECT_NE(BuildReport(f).find("Wallpaper Style ......... Tiled\r\n"), std::string::npos);
}

MailFacts SampleMail() {
    MailFacts m;
    m.version = "1.0";
    m.buildDate = ParseBuildDate("Dec  3 2005");
    m.windowsName = "WinXP";
    m.physicalBytes = 512ull << 20;
    m.virtualBytes = 2047ull << 20;
    m.availableVirtualBytes = 1000ull << 20;
    m.screen = {1024, 768};
    m.activeDesktop = true;
    return m;
}

TEST(SupportMail_Url, CarriesTheSubjectAndABodyOnlyForAgent) {
    const std::string subject = "mailto:support@marrowen.com?subject=Tessara%20Support%20%28V%201.0"
                                "%2C%2005-12-03%2C%20WinXP%2C512MB%2C1024x768%2C%20ActDesktop%29";
    EXPECT_EQ(MailtoUrl(SampleMail(), false), subject);
    EXPECT_EQ(MailtoUrl(SampleMail(), true),
              subject + "&body=%0dTessara%20Version%20....%201.0%0a"
                        "Compile%20Date:%20......%2005-12-03%0D"
                        "Operating%20System%20...%20WinXP%0d"
                        "Physical%20Memory:%20...%20512MB%0dTotal%20Virtual:%20.....%202047MB%0d"
                        "Available%20Virtual%20..%201000MB%0d"
                        "Active%20Desktop%20.....%20Yes%0D%0d");
    MailFacts vista = SampleMail();
    vista.windowsName = "Windows Vista";
    vista.activeDesktop = false;
    EXPECT_NE(
        MailtoUrl(vista, false).find("%20Windows%20Vista%2C512MB%2C1024x768%2C%20NoActDesktop%29"),
        std::string::npos);
    EXPECT_TRUE(MailProgramTakesBody("\"C:\\Program Files\\Forte\\agent.exe\" /mailto %1"));
    EXPECT_FALSE(MailProgramTakesBody("\"C:\\mail\\outlook.exe\" -c IPM.Note /m \"%1\""));
}

TEST(SupportMail_Question, NamesTheSupportAddress) {
    const std::string text = SupportQuestionText();
    EXPECT_EQ(text.find("Thank you for using Tessara.\r\n\r\nWhen you press OK"), 0u);
    EXPECT_NE(text.find("directly to\r\n\t\t\tsupport@marrowen.com\r\n\r\nThank you for taking the "
                        "time to read this entire message."),
              std::string::npos);
}

} // namespace
} // namespace support
