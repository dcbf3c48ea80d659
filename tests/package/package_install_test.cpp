// The installer and its uninstaller, run silently for the current user as an
// administrator's deployment would: what they put where, the installed
// program against the stand-in shell, and what the uninstaller leaves.
//
// By default this runs the shipped installer, a 32-bit program. With
// TESSARA_INSTALLER=amd64 in the environment it runs the same installer
// script compiled as a 64-bit program, so that its logic is tested on
// systems that cannot run 32-bit programs.
#include "tests/harness/harness.h"
#include "tests/package/package_files.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using package_test::Exists;

constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessara";
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kAutostartValue[] = "Tessara";
constexpr char kSettingsKey[] = "Software\\Marrowen";
constexpr char kSettingsValue[] = "Settings";
constexpr char kRelativeLayout[] = "SavedIcons_Relative";
constexpr char kResolutionLayout[] = "SavedIcons_1024_768";
constexpr char kSettingsWindowClass[] = "Tessara";
constexpr DWORD kRunMs = 60000;
// SetHook gives up after about 20 seconds without a desktop.
constexpr DWORD kAttachMs = 30000;

bool Uses64BitInstaller() {
    const char* which = std::getenv("TESSARA_INSTALLER");
    return which && std::string(which) == "amd64";
}

std::string Installer() {
    return Uses64BitInstaller() ? package_test::WorkFile("setup-amd64.exe")
                                : package_test::DistFile("setup.exe");
}

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// The current user's own programs folder.
std::string InstallFolder() {
    return ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Tessara";
}

std::string InstalledFile(const std::string& name) {
    return InstallFolder() + "\\" + name;
}

std::string Shortcut() {
    return ShellFolder(CSIDL_PROGRAMS) + "\\Tessara.lnk";
}

std::string ShortcutTarget(const std::string& link) {
    std::string target;
    IShellLinkA* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shellLink))))
        return target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        const std::wstring wide(link.begin(), link.end());
        char path[MAX_PATH] = "";
        if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
            SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0)))
            target = path;
        file->Release();
    }
    shellLink->Release();
    return target;
}

std::optional<std::string> RegString(const char* key, const char* name) {
    const auto value = harness::RegRead(HKEY_CURRENT_USER, key, name);
    return value ? value->AsString() : std::nullopt;
}

bool HasValue(const char* key, const char* name) {
    return harness::RegRead(HKEY_CURRENT_USER, key, name).has_value();
}

class Installation : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!Uses64BitInstaller() && !package_test::Can32BitProgramsRun())
            GTEST_SKIP() << "the shipped installer is a 32-bit program, and this system cannot "
                            "run 32-bit programs (Wine without its 32-bit loader); "
                            "TESSARA_INSTALLER=amd64 tests its 64-bit build instead";
        ASSERT_TRUE(Exists(Installer())) << Installer() << ": run scripts/package.sh first";
        ASSERT_HRESULT_SUCCEEDED(CoInitialize(nullptr));
        if (HasValue(kUninstallKey, "UninstallString"))
            Uninstall("/REMOVESETTINGS"); // left over from an interrupted run
        ASSERT_FALSE(Exists(InstallFolder()));
        ASSERT_TRUE(harness::RegDeleteValue(HKEY_CURRENT_USER, kRunKey, kAutostartValue));
        ASSERT_TRUE(harness::RegDeleteKeyTree(HKEY_CURRENT_USER, kSettingsKey));
    }

    void TearDown() override {
        if (HWND window = harness::FindTopLevel(kSettingsWindowClass, "Tessara"))
            SendMessageA(window, WM_CLOSE, 0, 0);
        if (HasValue(kUninstallKey, "UninstallString"))
            Uninstall("/REMOVESETTINGS");
        CoUninitialize();
    }

    void Install(const std::string& switches) {
        harness::Process installer = harness::Process::Start(Installer(), "/S " + switches);
        ASSERT_TRUE(installer.Pid()) << Installer();
        ASSERT_EQ(installer.WaitExit(kRunMs), std::optional<DWORD>(0));
    }

    // Runs the registered uninstaller silently. It hands its work to a copy of
    // itself in the temporary folder and ends, so the test waits for the result.
    void Uninstall(const std::string& switches) {
        std::string command = RegString(kUninstallKey, "UninstallString").value_or("");
        ASSERT_GE(command.size(), 2u);
        ASSERT_EQ(command.front(), '"');
        ASSERT_EQ(command.back(), '"');
        harness::Process uninstaller =
            harness::Process::Start(command.substr(1, command.size() - 2), "/S " + switches);
        ASSERT_TRUE(uninstaller.Pid());
        ASSERT_EQ(uninstaller.WaitExit(kRunMs), std::optional<DWORD>(0));
        EXPECT_TRUE(harness::WaitUntil(
            [] { return !Exists(InstallFolder()) && !HasValue(kUninstallKey, "DisplayName"); },
            kRunMs));
    }
};

TEST_F(Installation, InstallsForTheUserRunsAndUninstallsKeepingTheSettings) {
    harness::Shell shell;
    ASSERT_TRUE(shell.Start(harness::ShellOptions::WithIcons(5)));
    Install("/AUTOSTART /START");

    // The build of the system's width, its library, the readme and the uninstaller.
    for (const char* file : {"Tessara.exe", "deskhook.dll", "README.txt", "Uninstall.exe"})
        EXPECT_TRUE(Exists(InstalledFile(file))) << file;
    for (const char* binary : {"Tessara.exe", "deskhook.dll"})
        EXPECT_EQ(package_test::ImageMachine(InstalledFile(binary)), IMAGE_FILE_MACHINE_AMD64)
            << binary;
    const auto uninstallerVersion = package_test::ReadFileVersion(InstalledFile("Uninstall.exe"));
    ASSERT_TRUE(uninstallerVersion);
    EXPECT_EQ(uninstallerVersion->productVersion, TESSARA_VERSION_TEXT);

    EXPECT_EQ(ShortcutTarget(Shortcut()), InstalledFile("Tessara.exe"));
    EXPECT_EQ(RegString(kUninstallKey, "DisplayName"), "Tessara");
    EXPECT_EQ(RegString(kUninstallKey, "DisplayVersion"), TESSARA_VERSION_TEXT);
    EXPECT_EQ(RegString(kUninstallKey, "Publisher"), "Marrowen Software");
    EXPECT_EQ(RegString(kUninstallKey, "DisplayIcon"), InstalledFile("Tessara.exe") + ",0");
    EXPECT_EQ(RegString(kUninstallKey, "UninstallString"),
              "\"" + InstalledFile("Uninstall.exe") + "\"");
    // The program's own autostart entry, as it writes it itself.
    EXPECT_EQ(RegString(kRunKey, kAutostartValue), "\"" + InstalledFile("Tessara.exe") + "\"");

    // "/START" started it: it attaches to the shell, and saves a layout.
    HWND window = harness::WaitForWindow(kSettingsWindowClass, "Tessara", 0, kAttachMs);
    ASSERT_TRUE(window);
    ASSERT_TRUE(harness::WaitUntil([&] { return shell.IsListViewSubclassed(); }, kAttachMs));
    harness::Process save = harness::Process::Start(InstalledFile("Tessara.exe"), "-save");
    EXPECT_EQ(save.WaitExit(kRunMs), std::optional<DWORD>(0));
    EXPECT_TRUE(HasValue(kSettingsKey, kRelativeLayout));

    // Wine keeps a hook library loaded in the hooked process until that ends
    // (Windows lets it go once the hook is removed): end the shell, so that
    // the uninstaller can delete the library.
    shell.Stop();
    Uninstall("");
    EXPECT_TRUE(harness::WaitForWindowGone(window)) << "the uninstaller ends Tessara first";
    EXPECT_FALSE(Exists(Shortcut()));
    EXPECT_FALSE(HasValue(kRunKey, kAutostartValue));
    EXPECT_TRUE(HasValue(kSettingsKey, kSettingsValue));
    EXPECT_TRUE(HasValue(kSettingsKey, kRelativeLayout));
}

TEST_F(Installation, UninstallRemovesTheSettingsAndLayoutsWhenAsked) {
    Install("");
    EXPECT_TRUE(Exists(InstalledFile("Tessara.exe")));
    EXPECT_FALSE(HasValue(kRunKey, kAutostartValue)) << "autostart is an option";
    EXPECT_FALSE(harness::FindTopLevel(kSettingsWindowClass, "Tessara")) << "so is starting";
    const std::vector<uint8_t> bytes(528, 0);
    for (const char* name : {kSettingsValue, kRelativeLayout, kResolutionLayout})
        ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kSettingsKey, name, bytes));

    Uninstall("/REMOVESETTINGS");
    for (const char* name : {kSettingsValue, kRelativeLayout, kResolutionLayout})
        EXPECT_FALSE(HasValue(kSettingsKey, name)) << name;
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS)
        << "the emptied key goes too";
    if (key)
        RegCloseKey(key);
}

} // namespace
