#include "settings/settings_file.h"
#include "icons/icon_names.h"
#include "settings/settings_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace settings_file {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Ansi(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// UTF-16 little-endian with a byte-order mark, as the registry editor writes.
Bytes Unicode(const std::string& text) {
    Bytes bytes{0xFF, 0xFE};
    for (unsigned char c : text) {
        bytes.push_back(c);
        bytes.push_back(0);
    }
    return bytes;
}

// A hex value as the registry editor wraps it: 80 columns, two blanks on
// the continuation lines.
std::string HexValue(const std::string& name, const std::vector<std::uint8_t>& data) {
    std::string line = "\"" + name + "\"=hex:";
    std::string text;
    for (std::size_t i = 0; i < data.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02x", data[i]);
        std::string piece = byte;
        if (i + 1 < data.size())
            piece += ",";
        if (line.size() + piece.size() > 77) {
            text += line + "\\\r\n";
            line = "  ";
        }
        line += piece;
    }
    return text + line + "\r\n";
}

std::vector<std::uint8_t> StoredSettings() {
    const SettingsBytes bytes = SerializeSettings(SettingsTemplate());
    return {bytes.begin(), bytes.end()};
}

const std::string kHead = "Windows Registry Editor Version 5.00\r\n\r\n"
                          "[HKEY_CURRENT_USER\\Software\\Marrowen]\r\n";

// A saved set's exact names, as they are exported beside it.
std::vector<std::uint8_t> StoredNames(const std::vector<std::uint8_t>& set) {
    icons::StoredNamesWriter names(set.at(0));
    names.Append(u"\u6587A");
    names.Seal(set.data(), set.size());
    return {names.Data(), names.Data() + names.Size()};
}

std::string Export() {
    const std::vector<std::uint8_t> set = {1, 0, 0, 0, 0, 8, 0, 0, 0, '?', 'A', 0};
    return kHead + HexValue("SavedIconNames_1024_768", StoredNames(set)) +
           HexValue("SavedIcons_1024_768", set) + HexValue("Settings", StoredSettings()) + "\r\n";
}

Check Checked(const Bytes& bytes, Header header = Header::Version5) {
    return CheckImportFile(bytes.data(), bytes.size(), header);
}

TEST(SettingsFile_Check, AcceptsTheRegistryEditorsExportInBothEncodings) {
    EXPECT_EQ(Checked(Unicode(Export())).verdict, Verdict::Accepted);
    EXPECT_EQ(Checked(Ansi(Export())).verdict, Verdict::Accepted);
    std::string old = Export();
    old.replace(0, std::string("Windows Registry Editor Version 5.00").size(), "REGEDIT4");
    EXPECT_EQ(Checked(Ansi(old), Header::Regedit4).verdict, Verdict::Accepted);
}

TEST(SettingsFile_Check, AcceptsSubkeysStringsDwordsCommentsAndLowerCaseKeys) {
    const std::string text = kHead + "\"WebSiteHost\"=\"127.0.0.1:8080\"\r\n"
                                     "\"Quote\"=\"a \\\"b\\\" \\\\\"\r\n"
                                     "@=dword:0000002a\r\n"
                                     "; a comment\r\n\r\n"
                                     "[hkey_current_user\\software\\marrowen\\Layouts]\r\n"
                                     "\"Multi\"=hex(7):41,00,00,00\r\n";
    EXPECT_EQ(Checked(Unicode(text)).verdict, Verdict::Accepted);
}

TEST(SettingsFile_Check, RefusesEverythingOutsideTheProgramsKey) {
    struct Row {
        const char* keyLine;
        Verdict verdict;
    };
    const Row rows[] = {
        {"[HKEY_LOCAL_MACHINE\\Software\\Marrowen]", Verdict::OutsideKey},
        {"[HKEY_CURRENT_USER\\Software\\Marrowen2]", Verdict::OutsideKey},
        {"[HKEY_CURRENT_USER\\Software]", Verdict::OutsideKey},
        {"[HKCU\\Software\\Marrowen]", Verdict::OutsideKey},
        {"  [HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]",
         Verdict::OutsideKey},
        {"[-HKEY_CURRENT_USER\\Software\\Other]", Verdict::OutsideKey},
        {"[HKEY_CURRENT_USER\\Software\\Marrowen\\]", Verdict::OutsideKey},
        {"[HKEY_CURRENT_USER\\Software\\Marrowen\\\\x]", Verdict::OutsideKey},
        {"[-HKEY_CURRENT_USER\\Software\\Marrowen]", Verdict::Malformed},
        {"[HKEY_CURRENT_USER\\Software\\Marrowen]x]", Verdict::Malformed},
        {"[HKEY_CURRENT_USER\\Software\\Marrowen", Verdict::Malformed},
    };
    const std::string before = Export();
    const int expectedLine = int(std::count(before.begin(), before.end(), '\n')) + 1;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.keyLine);
        const std::string text = before + row.keyLine + "\r\n\"x\"=dword:00000001\r\n";
        const Check check = Checked(Unicode(text));
        EXPECT_EQ(check.verdict, row.verdict);
        EXPECT_EQ(check.line, expectedLine);
    }
}

TEST(SettingsFile_Check, FindsAKeyLineHiddenBehindALoneCarriageReturn) {
    const std::string text = kHead + "\"a\"=dword:00000001\r[HKEY_LOCAL_MACHINE\\Software\\X]\r\n";
    EXPECT_EQ(Checked(Unicode(text)).verdict, Verdict::OutsideKey);
}

TEST(SettingsFile_Check, RefusesLinesAnExportNeverHas) {
    const std::string rows[] = {
        "\"a\"=-",                // deletes a value
        "\"a\"=dword:1",          // short dword
        "\"a\"=dword:0000000g",   //
        "\"a\"=hex:1,02",         // one digit
        "\"a\"=hex:01,02,",       // trailing comma without continuation
        "\"a\"=hex(x):01",        //
        "\"a\"=\"unterminated",   //
        "\"a\"=\"text\" tail",    //
        "\"a\" = dword:00000001", //
        "a=dword:00000001",       //
        "regedit /s other.reg",   //
        "\"a\"=hex:01,\\",        // a value cut short at the end
        std::string("\"a\"=\"x\0y\"", 9),
    };
    for (const std::string& row : rows) {
        SCOPED_TRACE(row);
        const Check check = Checked(Unicode(kHead + row + "\r\n"));
        EXPECT_EQ(check.verdict, Verdict::Malformed);
    }
}

TEST(SettingsFile_Check, RefusesValuesBeforeAnyKeyAndFilesWithoutTheProgramsKey) {
    EXPECT_EQ(
        Checked(Unicode("Windows Registry Editor Version 5.00\r\n\r\n\"a\"=dword:00000001\r\n"))
            .verdict,
        Verdict::Malformed);
    EXPECT_EQ(Checked(Unicode("Windows Registry Editor Version 5.00\r\n\r\n"
                              "[HKEY_CURRENT_USER\\Software\\Marrowen\\Sub]\r\n"))
                  .verdict,
              Verdict::Malformed);
}

TEST(SettingsFile_Check, RefusesAHalfWrittenFileAndAnInvalidSettingsRecord) {
    const std::string whole = Export();
    const std::string cut = whole.substr(0, whole.find("Settings") + 200);
    const Check check = Checked(Unicode(cut));
    EXPECT_NE(check.verdict, Verdict::Accepted);

    std::vector<std::uint8_t> shortRecord = StoredSettings();
    shortRecord.resize(500);
    EXPECT_EQ(Checked(Unicode(kHead + HexValue("Settings", shortRecord))).verdict,
              Verdict::InvalidSettings);
    std::vector<std::uint8_t> wrongSize = StoredSettings();
    wrongSize[0] = 0x11;
    EXPECT_EQ(Checked(Unicode(kHead + HexValue("Settings", wrongSize))).verdict,
              Verdict::InvalidSettings);
    EXPECT_EQ(Checked(Unicode(kHead + "\"Settings\"=dword:00000210\r\n")).verdict,
              Verdict::InvalidSettings);
    EXPECT_EQ(Checked(Unicode(kHead + HexValue("Settings", StoredSettings()) +
                              HexValue("Settings", StoredSettings())))
                  .verdict,
              Verdict::Malformed);
}

TEST(SettingsFile_Check, SortsOutEmptyHugeAndForeignFiles) {
    EXPECT_EQ(Checked({}).verdict, Verdict::Empty);
    EXPECT_EQ(Checked(Bytes(kMaxImportBytes + 1, ' ')).verdict, Verdict::TooLarge);
    EXPECT_EQ(Checked(Ansi("[HKEY_CURRENT_USER\\Software\\Marrowen]\r\n")).verdict,
              Verdict::BadHeader);
    EXPECT_EQ(Checked(Ansi("\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n")).verdict,
              Verdict::BadHeader);
    EXPECT_EQ(Checked(Ansi("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Marrowen]\r\n")).verdict,
              Verdict::OtherFormat);
    EXPECT_EQ(Checked(Unicode(Export()), Header::Regedit4).verdict, Verdict::OtherFormat);
    EXPECT_EQ(Checked(Ansi(Export()), Header::Regedit4).verdict, Verdict::OtherFormat);
    Bytes odd = Unicode(Export());
    odd.push_back('x');
    EXPECT_EQ(Checked(odd).verdict, Verdict::Malformed);
}

TEST(SettingsFile_ListTest, ShowsExportsAndHidesOtherRegistryFiles) {
    struct Row {
        Bytes file;
        Header header;
        bool shown;
    };
    const Row rows[] = {
        {Unicode(Export()), Header::Version5, true},
        {Ansi(Export()), Header::Version5, true},
        {Unicode(Export()), Header::Regedit4, false},
        {Ansi("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Marrowen]\r\n"), Header::Regedit4,
         true},
        {Unicode(
             "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n"),
         Header::Version5, false},
        {Unicode("Windows Registry Editor Version 5.00\r\n; x\r\n"
                 "[HKEY_CURRENT_USER\\Software\\Marrowen]\r\n"),
         Header::Version5, false},
        {Unicode("Windows Registry Editor Version 5.00\r\n"), Header::Version5, false},
        {Bytes{}, Header::Version5, false},
    };
    int i = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(i++);
        EXPECT_EQ(LooksLikeExport(row.file.data(), row.file.size(), row.header), row.shown);
    }
}

TEST(SettingsFile_Refusal, NamesTheReasonAndTheLine) {
    EXPECT_EQ(RefusalText({Verdict::OutsideKey, 7}),
              "The file was not imported.\n\nLine 7 of the file changes the registry outside "
              "Tessara's settings.\n\nSettings remain unchanged.");
    EXPECT_EQ(RefusalText({Verdict::Empty, 0}),
              "The file was not imported.\n\nThe file is empty.\n\nSettings remain unchanged.");
    EXPECT_EQ(RefusalText({Verdict::Accepted, 0}), "");
}

} // namespace
} // namespace settings_file
