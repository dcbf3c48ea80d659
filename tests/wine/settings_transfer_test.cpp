// Settings export and import of the real Tessara.exe: its file dialogs are
// answered from here, and what the registry editor did is read back from the
// registry (the registry editor's exit code says nothing under Wine).
#include "settings/settings_file.h"
#include "tests/wine/app_program.h"

#include <commctrl.h>
#include <shlobj.h>
#include <dlgs.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace {

using namespace settings_file;

// Every value of the program's key, by name.
using KeyValues = std::map<std::string, harness::RegValue>;

KeyValues ReadProgramKey() {
    KeyValues values;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameLength = sizeof name;
        BYTE data[40000];
        DWORD size = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &size) !=
            ERROR_SUCCESS)
            break;
        values[name] = harness::RegValue{type, std::vector<uint8_t>(data, data + size)};
    }
    RegCloseKey(key);
    return values;
}

// Names the first difference, for the failure message.
std::string Difference(const KeyValues& a, const KeyValues& b) {
    if (a.size() != b.size())
        return std::to_string(a.size()) + " values, not " + std::to_string(b.size());
    for (const auto& [name, value] : a) {
        const auto other = b.find(name);
        if (other == b.end())
            return name + " is missing";
        if (other->second.type != value.type || other->second.data.size() != value.data.size())
            return name + " differs in type or size";
        for (std::size_t i = 0; i < value.data.size(); ++i)
            if (other->second.data[i] != value.data[i])
                return name + " differs at byte " + std::to_string(i);
    }
    return "";
}

::testing::AssertionResult SameValues(const KeyValues& a, const KeyValues& b) {
    const std::string difference = Difference(a, b);
    if (difference.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << difference;
}

std::vector<uint8_t> Pattern(std::size_t size, int seed) {
    std::vector<uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = uint8_t(i * 7 + seed);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Utf16(const std::string& text) {
    std::string bytes = "\xFF\xFE";
    for (char c : text) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

const std::string kHead = "Windows Registry Editor Version 5.00\r\n\r\n"
                          "[HKEY_CURRENT_USER\\Software\\Marrowen]\r\n";

class TransferTest : public app_test::ProgramTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(shell_.Start(harness::ShellOptions::WithIcons(3)));
        ASSERT_TRUE(harness::RegDeleteKeyTree(HKEY_CURRENT_USER, kProgramKey));
        for (const auto& [name, seed] : kLayouts)
            ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kProgramKey, name,
                                                Pattern(300 + seed, seed)));
        Settings settings = SettingsTemplate();
        settings.ShowTrayIcon = 0;
        settings.ShowToolTips = 0;
        settings.AutoRestorePositions = 0;
        settings.TextColor = 0x00123456;
        // Nothing that the program changes by itself while it runs.
        settings.AutoTextColor = 0;
        settings.AutoResample = 0;
        StartProgram(settings);
        // The running program fills in the path of its command file, which
        // the watchdog then stores: the key holds still from then on.
        ASSERT_TRUE(
            app_test::WaitForStored([](const Settings& s) { return s.ShowDesktopFile[0] != 0; }));
    }

    // Runs a command that opens a modal dialog: posted, so that this thread
    // stays free to answer it.
    void Post(int id) const { PostMessageA(tessara_.Window(), WM_COMMAND, id, 0); }

    // Types `text` into the name field of the file dialog called `caption`
    // and presses its OK; the dialog (null when it never came).
    HWND TypeIntoFileDialog(const char* caption, const std::wstring& text) const {
        const HWND dialog = harness::WaitForDialog(caption, tessara_.Pid());
        HWND name = GetDlgItem(dialog, cmb13);
        if (!name)
            name = GetDlgItem(dialog, edt1);
        if (!dialog || !name)
            return nullptr;
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        harness::PressButton(dialog, IDOK);
        return dialog;
    }

    // Chooses the file `path`: the dialog closes.
    void ChooseFile(const char* caption, const std::wstring& path) const {
        const HWND dialog = TypeIntoFileDialog(caption, path);
        ASSERT_TRUE(dialog);
        ASSERT_TRUE(harness::WaitForWindowGone(dialog));
    }
    void ChooseFile(const char* caption, const std::string& path) const {
        ChooseFile(caption, harness::Widened(path));
    }

    bool StatusBecomes(const std::string& text) const {
        return harness::WaitUntil([&] { return tessara_.StatusLine() == text; }, 20000);
    }

    bool ExactStatusBecomes(const std::wstring& text) const {
        return harness::WaitUntil([&] { return tessara_.ExactStatusLine() == text; }, 20000);
    }

    // Imports `path`, which must be refused with `verdict`; the key stays as it was.
    void ExpectRefused(const std::string& path, Verdict verdict, int line = 0) {
        const KeyValues before = ReadProgramKey();
        // An earlier refusal left the same text there.
        SetDlgItemTextA(tessara_.Window(), IDC_STATUS_LINE, "");
        Post(IDC_IMPORT_SETTINGS);
        ChooseFile("Import Tessara Settings", path);
        const HWND box = harness::WaitForDialog("Tessara", tessara_.Pid());
        ASSERT_TRUE(box);
        EXPECT_EQ(harness::MessageBoxText(box), RefusalText({verdict, line}));
        harness::PressButton(box, IDOK);
        EXPECT_TRUE(harness::WaitForWindowGone(box));
        EXPECT_TRUE(StatusBecomes("Settings not imported"));
        EXPECT_TRUE(
            harness::WaitUntil([&] { return IsWindowEnabled(tessara_.Window()) != FALSE; }));
        EXPECT_TRUE(SameValues(ReadProgramKey(), before));
    }

    const std::map<std::string, int> kLayouts = {
        {"SavedIcons_1024_768", 1}, {"SavedIcons_800_600", 2}, {"SavedIcons_Relative", 3}};
};

TEST_F(TransferTest, ExportThenImportBringsBackSettingsAndLayoutsByteForByte) {
    const KeyValues exported = ReadProgramKey();
    ASSERT_EQ(exported.size(), 4u);
    const std::string file = harness::BuildPath("testdata\\transfer.reg");
    DeleteFileA(file.c_str());
    Post(IDC_EXPORT_SETTINGS);
    ChooseFile("Export Tessara Settings", file);
    ASSERT_TRUE(StatusBecomes("Saved to transfer.reg"));
    const std::string bytes = ReadFileBytes(file);
    EXPECT_EQ(CheckImportFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                              Header::Version5)
                  .verdict,
              Verdict::Accepted);

    // The user changes a setting (the watchdog stores it) and loses layouts.
    tessara_.Command(IDC_SHOW_TOOL_TIPS);
    ASSERT_TRUE(app_test::WaitForStored([](const Settings& s) { return s.ShowToolTips == 1; }));
    ASSERT_TRUE(harness::RegDeleteValue(HKEY_CURRENT_USER, kProgramKey, "SavedIcons_800_600"));
    ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kProgramKey, "SavedIcons_Relative",
                                        Pattern(10, 9)));

    Post(IDC_IMPORT_SETTINGS);
    ChooseFile("Import Tessara Settings", file);
    ASSERT_TRUE(StatusBecomes("Imported from transfer.reg"));
    EXPECT_TRUE(harness::WaitUntil([&] { return bool(SameValues(ReadProgramKey(), exported)); }));
    // The running program took the imported record, and the watchdog leaves it as imported.
    EXPECT_EQ(IsDlgButtonChecked(tessara_.Window(), IDC_SHOW_TOOL_TIPS), BST_UNCHECKED);
    harness::PumpMessages(app_test::kWatchdogStoresMs);
    EXPECT_TRUE(SameValues(ReadProgramKey(), exported));
    EXPECT_TRUE(IsWindowEnabled(tessara_.Window()));
}

// The registry editor works on a private copy in the temporary folder, and
// both lie in folders named outside the ANSI code page, as under a profile
// folder of such a name.
class TransferOutsideTheCodePageTest : public TransferTest {
  protected:
    harness::TemporaryFolderOutsideTheCodePage temporary_;
};

TEST_F(TransferOutsideTheCodePageTest, ExportAndImportByExactNames) {
    const KeyValues exported = ReadProgramKey();
    const std::wstring file = temporary_.Path() + L"设置.reg";
    DeleteFileW(file.c_str());
    Post(IDC_EXPORT_SETTINGS);
    ChooseFile("Export Tessara Settings", file);
    ASSERT_TRUE(ExactStatusBecomes(L"Saved to 设置.reg"));
    std::ifstream in(std::filesystem::path(file), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(CheckImportFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                              Header::Version5)
                  .verdict,
              Verdict::Accepted);

    ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kProgramKey, "SavedIcons_Relative",
                                        Pattern(10, 9)));
    Post(IDC_IMPORT_SETTINGS);
    ChooseFile("Import Tessara Settings", file);
    ASSERT_TRUE(ExactStatusBecomes(L"Imported from 设置.reg"));
    EXPECT_TRUE(harness::WaitUntil([&] { return bool(SameValues(ReadProgramKey(), exported)); }));
}

TEST_F(TransferTest, RefusesFilesThatAreNotExportsOfTheProgramAndNamesThatAreNotRegFiles) {
    const std::string outside = harness::BuildPath("testdata\\outside.reg");
    WriteFileBytes(outside, Utf16(kHead + "\"a\"=dword:00000001\r\n\r\n"
                                          "[HKEY_CURRENT_USER\\Software\\TessaraElsewhere]\r\n"
                                          "\"b\"=dword:00000002\r\n"));
    ExpectRefused(outside, Verdict::OutsideKey, 6);
    EXPECT_FALSE(harness::RegRead(HKEY_CURRENT_USER, "Software\\TessaraElsewhere", "b"));

    const std::string header = harness::BuildPath("testdata\\header.reg");
    WriteFileBytes(header, Utf16("Windows Registry Editor Version 4.00\r\n\r\n"
                                 "[HKEY_CURRENT_USER\\Software\\Marrowen]\r\n"));
    ExpectRefused(header, Verdict::BadHeader, 1);

    const std::string empty = harness::BuildPath("testdata\\empty.reg");
    WriteFileBytes(empty, "");
    ExpectRefused(empty, Verdict::Empty);

    const std::string huge = harness::BuildPath("testdata\\huge.reg");
    WriteFileBytes(huge, kHead + "\"Big\"=hex:" + std::string(kMaxImportBytes, '0') + "\r\n");
    ExpectRefused(huge, Verdict::TooLarge);

    const std::string older = harness::BuildPath("testdata\\regedit4.reg");
    WriteFileBytes(older, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Marrowen]\r\n"
                          "\"a\"=dword:00000001\r\n");
    ExpectRefused(older, Verdict::OtherFormat, 1);

    // An export under a name that does not end in ".reg" writes nothing.
    const KeyValues before = ReadProgramKey();
    const std::string file = harness::BuildPath("testdata\\settings.txt");
    DeleteFileA(file.c_str());
    Post(IDC_EXPORT_SETTINGS);
    ChooseFile("Export Tessara Settings", file);
    const HWND box = harness::WaitForDialog("Tessara", tessara_.Pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(harness::MessageBoxText(box),
              "The fileextension must be \".reg\".\nSettings were not saved.");
    harness::PressButton(box, IDOK);
    EXPECT_TRUE(StatusBecomes("Settings not saved"));
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(SameValues(ReadProgramKey(), before));
}

TEST_F(TransferTest, TheImportDialogListsOnlyExportsOfTheProgram) {
    // The dialog opens in the program's folder of the user's application data.
    char appData[MAX_PATH] = "";
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, TRUE));
    const std::string folder = std::string(appData) + "\\Tessara";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::vector<std::pair<std::string, std::string>> files = {
        {"mine.reg", Utf16(kHead + "\"a\"=dword:00000001\r\n")},
        {"other.reg", Utf16("Windows Registry Editor Version 5.00\r\n\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Other]\r\n")},
        {"old.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Marrowen]\r\n"},
    };
    for (const auto& [name, bytes] : files)
        WriteFileBytes(folder + "\\" + name, bytes);
    Post(IDC_IMPORT_SETTINGS);
    const HWND dialog = harness::WaitForDialog("Import Tessara Settings", tessara_.Pid());
    ASSERT_TRUE(dialog);
    const HWND list = FindWindowExA(GetDlgItem(dialog, lst2), nullptr, "SysListView32", nullptr);
    ASSERT_TRUE(list);
    EXPECT_TRUE(harness::WaitUntil([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 1; }))
        << SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    harness::PressButton(dialog, IDCANCEL);
    EXPECT_TRUE(StatusBecomes("Settings not imported"));
    for (const auto& [name, bytes] : files)
        DeleteFileA((folder + "\\" + name).c_str());
}

} // namespace
