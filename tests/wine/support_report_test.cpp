// E-mail support of the real Tessara.exe: the question, the mail program and
// the text viewer (both recorders registered in the test prefix), the report
// file read back section by section, and the clipboard.
#include "base/unicode_text_win.h"
#include "support/diagnostic_report.h"
#include "tests/wine/app_program.h"
#include "tests/wine/colors_wine.h"

#include <fstream>
#include <regex>

namespace {

using namespace support;

constexpr char kMailtoCommandKey[] = "mailto\\shell\\open\\command";
constexpr char kTextType[] = "TessaraTest.txt";

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string TemporaryFolder() {
    char folder[MAX_PATH] = "";
    GetTempPathA(sizeof folder, folder);
    return folder;
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* chars = static_cast<const char*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// The text between `from` and the next `to` ("" when `from` is missing).
std::string Between(const std::string& text, const std::string& from, const std::string& to) {
    const std::size_t start = text.find(from);
    if (start == std::string::npos)
        return "";
    const std::size_t end = text.find(to, start + from.size());
    return text.substr(start + from.size(),
                       end == std::string::npos ? std::string::npos : end - start - from.size());
}

class SupportReportTest : public app_test::ProgramTest {
  protected:
    void SetUp() override {
        mailLog_ = harness::TempFile("mail_started");
        viewerLog_ = harness::TempFile("report_opened");
        // Process ids come round again: a log of an earlier run may have this name.
        DeleteFileA(mailLog_.c_str());
        DeleteFileA(viewerLog_.c_str());
        const std::string recorder = "\"" + harness::BinDir() + "\\recorder.exe\" ";
        oldMailCommand_ = harness::RegRead(HKEY_CLASSES_ROOT, kMailtoCommandKey, "");
        oldTextType_ = harness::RegRead(HKEY_CLASSES_ROOT, ".txt", "");
        ASSERT_TRUE(harness::RegWriteString(HKEY_CLASSES_ROOT, "mailto", "URL Protocol", ""));
        ASSERT_TRUE(harness::RegWriteString(HKEY_CLASSES_ROOT, kMailtoCommandKey, "",
                                            recorder + "\"" + mailLog_ + "\" \"%1\""));
        ASSERT_TRUE(harness::RegWriteString(HKEY_CLASSES_ROOT, ".txt", "", kTextType));
        ASSERT_TRUE(harness::RegWriteString(HKEY_CLASSES_ROOT,
                                            std::string(kTextType) + "\\shell\\open\\command", "",
                                            recorder + "\"" + viewerLog_ + "\" \"%1\""));
        colors_test::SetDesktopColor(RGB(0, 0, 0));
        ASSERT_TRUE(colors_test::SetWallpaper(colors_test::Format::Bmp, 96, 40,
                                              colors_test::Solid(RGB(30, 60, 90))));
        ASSERT_TRUE(shell_.Start(harness::ShellOptions::WithIcons(5)));
        // The desktop colour from the wallpaper makes the start read the picture.
        Settings settings = colors_test::WallpaperColorSettings();
        settings.ShowTrayIcon = 0;
        settings.ShowToolTips = 0;
        settings.AutoRestorePositions = 0;
        StartProgram(settings);
        ASSERT_TRUE(
            app_test::WaitForStored([](const Settings& s) { return s.ShowDesktopFile[0] != 0; }));
        report_ = TemporaryFolder() + kReportFileName;
    }

    void TearDown() override {
        app_test::ProgramTest::TearDown();
        Restore(kMailtoCommandKey, oldMailCommand_);
        Restore(".txt", oldTextType_);
        harness::RegDeleteKeyTree(HKEY_CLASSES_ROOT, kTextType);
        RemoveDirectoryA(report_.c_str());
    }

    static void Restore(const char* key, const std::optional<harness::RegValue>& old) {
        if (old)
            harness::RegWrite(HKEY_CLASSES_ROOT, key, "", old->type, old->data.data(),
                              DWORD(old->data.size()));
        else
            harness::RegDeleteValue(HKEY_CLASSES_ROOT, key, "");
    }

    // Clicks the link and answers the question with OK.
    void AskForSupport() const {
        PostMessageA(tessara_.Window(), WM_COMMAND, IDC_EMAIL_SUPPORT, 0);
        const HWND question = harness::WaitForDialog(kQuestionCaption, tessara_.Pid());
        ASSERT_TRUE(question);
        EXPECT_EQ(harness::MessageBoxText(question), SupportQuestionText());
        harness::PressButton(question, IDOK);
    }

    std::string mailLog_;
    std::string viewerLog_;
    std::string report_;
    std::optional<harness::RegValue> oldMailCommand_;
    std::optional<harness::RegValue> oldTextType_;
};

TEST_F(SupportReportTest, StartsTheMailWritesTheReportCopiesAndOpensIt) {
    // A stale report of an earlier run is replaced.
    { std::ofstream(report_, std::ios::binary) << "old report"; }
    // The wallpaper's pixels are released half a second after their last use;
    // its size is still reported.
    ASSERT_TRUE(colors_test::WaitForDesktopColor(RGB(30, 60, 90), 0));
    harness::PumpMessages(1500);
    AskForSupport();
    ASSERT_TRUE(harness::WaitUntil([&] { return !ReadFileText(viewerLog_).empty(); }, 20000));
    EXPECT_NE(ReadFileText(viewerLog_).find(report_), std::string::npos);

    const std::string mail = ReadFileText(mailLog_);
    std::smatch date;
    ASSERT_TRUE(std::regex_search(mail, date, std::regex("%2C%20(\\d\\d)-(\\d\\d)-(\\d\\d)%2C")));
    MailFacts facts;
    facts.version = TESSARA_VERSION_TEXT;
    facts.buildDate = BuildDate{date[1], date[2], date[3]};
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    GlobalMemoryStatusEx(&memory);
    facts.physicalBytes = memory.ullTotalPhys;
    facts.screen = {1024, 768};
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    facts.windowsName = WindowsName(version.dwMajorVersion, version.dwMinorVersion,
                                    version.dwPlatformId, NameUse::MailSubject);
    EXPECT_NE(mail.find("\"" + MailtoUrl(facts, false) + "\""), std::string::npos) << mail;

    const std::string text = ReadFileText(report_);
    EXPECT_EQ(text.find("Tessara Diagnostic Information\r\nThis file is stored as " + report_ +
                        "\r\n" + std::string(100, '-') + "\r\nThank you for using Tessara."),
              0u);
    EXPECT_EQ(Between(text, "Tessara Version ......... ", "\r\n"),
              std::string(TESSARA_VERSION_TEXT) + " " + facts.buildDate.Text());
    EXPECT_EQ(Between(text, "Operating System ........ Major:", "\r\n"),
              std::to_string(version.dwMajorVersion) +
                  ", Minor:" + std::to_string(version.dwMinorVersion) +
                  ", Platform id: " + std::to_string(version.dwPlatformId));
    char language[8];
    std::snprintf(language, sizeof language, "%04X", unsigned(GetSystemDefaultLangID()));
    EXPECT_EQ(Between(text, "System Lang ID .......... ", " "), language);
    EXPECT_EQ(Between(text, "Number of icons ......... ", "\r\n"), "5");
    EXPECT_EQ(Between(text, "AutoArrange ............. ", "\r\n"), "No");
    EXPECT_EQ(Between(text, "Screen Size ............. ", "\r\n"), "1024x768");
    EXPECT_EQ(Between(text, "Wallpaper dimensions .... ", "\r\n"), "96x40, Depth:24");
    EXPECT_EQ(Between(text, "Number of monitors ...... ", "\r\n"), "1");
    EXPECT_NE(Between(text, "Desktops ................ ", "\r\n").find("Default, "),
              std::string::npos);

    const std::optional<Settings> stored = app_test::StoredSettings();
    ASSERT_TRUE(stored);
    EXPECT_EQ(Between(text, "\"Settings\"=hex:", "\r\n\r\nRunning processes"),
              SettingsHexDump(SerializeSettings(*stored)));

    const std::string processes =
        text.substr(std::min(text.find("Running processes ("), text.size()));
    EXPECT_NE(processes.find("\tTessara.exe"), std::string::npos) << processes;
    EXPECT_NE(processes.find("\tdeskshell.exe"), std::string::npos);

    EXPECT_EQ(ClipboardText(), text);
}

TEST_F(SupportReportTest, CancelStartsNothingAndNothingIsWrittenThroughWhatStandsAtTheName) {
    // Cancelling the question starts nothing and writes nothing.
    PostMessageA(tessara_.Window(), WM_COMMAND, IDC_EMAIL_SUPPORT, 0);
    const HWND question = harness::WaitForDialog(kQuestionCaption, tessara_.Pid());
    ASSERT_TRUE(question);
    DeleteFileA(report_.c_str());
    harness::PressButton(question, IDCANCEL);
    EXPECT_TRUE(harness::WaitForWindowGone(question));
    EXPECT_TRUE(harness::HoldsFor(
        [&] {
            return ReadFileText(mailLog_).empty() &&
                   GetFileAttributesA(report_.c_str()) == INVALID_FILE_ATTRIBUTES;
        },
        1000));

    // Something at the name that cannot be deleted like a file: a folder.
    ASSERT_TRUE(CreateDirectoryA(report_.c_str(), nullptr));
    AskForSupport();
    const HWND box = harness::WaitForDialog("Tessara", tessara_.Pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(harness::MessageBoxText(box),
              "Could not create temporary system information text file.");
    harness::PressButton(box, IDOK);
    EXPECT_TRUE(harness::WaitForWindowGone(box));
    EXPECT_NE(GetFileAttributesA(report_.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_FALSE(tessara_.StatusLine().empty());
    EXPECT_EQ(ReadFileText(viewerLog_), "");
}

// The temporary folder named outside the ANSI code page, as under a profile
// folder of such a name: the report and the hot corner's command file are
// written there by their exact names.
class SupportReportOutsideTheCodePageTest : public SupportReportTest {
  protected:
    harness::TemporaryFolderOutsideTheCodePage temporary_;
};

TEST_F(SupportReportOutsideTheCodePageTest, TheReportAndTheCommandFileLiveInTheTemporaryFolder) {
    const std::string commandFile = Utf8Text(temporary_.Path() + L"tessara.scf");
    EXPECT_TRUE(app_test::WaitForStored(
        [&](const Settings& s) { return std::string(s.ShowDesktopFile) == commandFile; }));
    EXPECT_NE(GetFileAttributesW(Utf16Text(commandFile).c_str()), INVALID_FILE_ATTRIBUTES);

    const std::wstring report = temporary_.Path() + Utf16Text(kReportFileName);
    DeleteFileW(report.c_str());
    AskForSupport();
    ASSERT_TRUE(harness::WaitUntil([&] { return !ReadFileText(viewerLog_).empty(); }, 20000));
    EXPECT_NE(ReadFileText(viewerLog_).find(Utf8Text(report)), std::string::npos)
        << ReadFileText(viewerLog_);
    EXPECT_NE(GetFileAttributesW(report.c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
