// The portable zips as a user gets them: every shipped program carries the
// version, and the unpacked zip of this build's width starts against the
// stand-in shell and saves a layout with the library beside it.
#include "tests/harness/harness.h"
#include "tests/package/package_files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using package_test::DistFile;
using package_test::Exists;
using package_test::ReadFileVersion;
using package_test::WorkFile;

constexpr char kSettingsKey[] = "Software\\Marrowen";
constexpr char kRelativeLayout[] = "SavedIcons_Relative";
constexpr DWORD kSaveMs = 60000;

// The zips as the test's fixture unpacked them: <builddir>\package\win32 and win64.
std::string Unpacked(const std::string& arch, const std::string& file) {
    return harness::BuildPath("package\\" + arch + "\\" + file);
}

void ExpectVersion(const std::string& path, const std::string& originalFilename) {
    SCOPED_TRACE(path);
    const auto version = ReadFileVersion(path);
    ASSERT_TRUE(version);
    EXPECT_EQ(version->major, TESSARA_VERSION_MAJOR);
    EXPECT_EQ(version->minor, TESSARA_VERSION_MINOR);
    EXPECT_EQ(version->patch, TESSARA_VERSION_PATCH);
    EXPECT_EQ(version->productVersion, TESSARA_VERSION_TEXT);
    if (!originalFilename.empty()) {
        EXPECT_EQ(version->originalFilename, originalFilename);
    }
}

TEST(PackageZips, EveryShippedProgramCarriesTheVersion) {
    for (const char* arch : {"win32", "win64"}) {
        ExpectVersion(Unpacked(arch, "Tessara.exe"), "Tessara.exe");
        ExpectVersion(Unpacked(arch, "deskhook.dll"), "deskhook.dll");
    }
    ExpectVersion(DistFile("setup.exe"), "");
    ExpectVersion(WorkFile("setup-amd64.exe"), "");
}

TEST(PackageZips, UnpackedZipStartsAgainstTheShellAndSavesALayout) {
    const std::string arch = sizeof(void*) == 8 ? "win64" : "win32";
    const std::string program = Unpacked(arch, "Tessara.exe");
    ASSERT_TRUE(Exists(program));
    // Without a stored record a save keeps one relative layout.
    ASSERT_TRUE(harness::RegDeleteValue(HKEY_CURRENT_USER, kSettingsKey, "Settings"));
    ASSERT_TRUE(harness::RegDeleteValue(HKEY_CURRENT_USER, kSettingsKey, kRelativeLayout));
    harness::Shell shell;
    ASSERT_TRUE(shell.Start(harness::ShellOptions::WithIcons(5)));

    harness::Process save = harness::Process::Start(program, "-save");
    ASSERT_TRUE(save.Pid());
    EXPECT_EQ(save.WaitExit(kSaveMs), std::optional<DWORD>(0));
    const auto layout = harness::RegRead(HKEY_CURRENT_USER, kSettingsKey, kRelativeLayout);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->type, static_cast<DWORD>(REG_BINARY));
    EXPECT_FALSE(layout->data.empty());
}

} // namespace
