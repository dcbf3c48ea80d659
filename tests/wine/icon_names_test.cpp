// Icons whose names lie outside the ANSI code page, saved and restored end to
// end: Tessara.exe with "-save" and "-restore" against the stand-in shell. In
// ANSI all of them read "??.txt"; only their exact names tell them apart.
#include "icons/icon_names.h"
#include "icons/icon_store.h"
#include "settings/settings_record.h"
#include "tests/harness/harness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using harness::Process;
using harness::Shell;
using harness::ShellIcon;

constexpr char kKey[] = "Software\\Marrowen";
constexpr char kSetValue[] = "SavedIcons_1024_768";
constexpr char kNamesValue[] = "SavedIconNames_1024_768";
constexpr DWORD kRunTimeoutMs = 60000;

const std::wstring kDocument = L"\u6587\u6863.txt";
const std::wstring kPhoto = L"\u7167\u7247.txt";
const std::wstring kFresh = L"\u65B0\u5EFA.txt";

std::string AnsiForm(const std::wstring& name) {
    char bytes[256] = "";
    const int length = WideCharToMultiByte(CP_ACP, 0, name.data(), static_cast<int>(name.size()),
                                           bytes, sizeof bytes, nullptr, nullptr);
    return std::string(bytes, length > 0 ? length : 0);
}

std::u16string Units(const std::wstring& name) {
    return std::u16string(name.begin(), name.end());
}

std::vector<uint8_t> Stored(const char* name) {
    auto value = harness::RegRead(HKEY_CURRENT_USER, kKey, name);
    return value ? value->data : std::vector<uint8_t>{};
}

void RunTessara(const std::string& args) {
    Process tessara = Process::Start("Tessara.exe", args);
    ASSERT_TRUE(tessara.Pid()) << "Tessara.exe did not start";
    const auto code = tessara.WaitExit(kRunTimeoutMs);
    ASSERT_TRUE(code.has_value()) << "Tessara.exe " << args << " did not end";
    EXPECT_EQ(*code, 0u);
}

void MoveIcon(const Shell& shell, int index, POINT p) {
    SendMessageA(shell.ListView(), LVM_SETITEMPOSITION, index, MAKELPARAM(p.x, p.y));
}

void ExpectAt(const std::vector<ShellIcon>& layout, size_t index, POINT expected) {
    ASSERT_LT(index, layout.size());
    EXPECT_EQ(layout[index].position.x, expected.x) << "icon " << index;
    EXPECT_EQ(layout[index].position.y, expected.y) << "icon " << index;
}

bool Overlap(const RECT& a, const RECT& b) {
    RECT both;
    return IntersectRect(&both, &a, &b) != FALSE;
}

TEST(IconNames, NamesAlikeInAnsiGoBackToTheirOwnPlaces) {
    ASSERT_EQ(AnsiForm(kDocument), AnsiForm(kPhoto));
    ASSERT_EQ(AnsiForm(kDocument), AnsiForm(kFresh)) << "the names must all fall outside ANSI";
    ASSERT_TRUE(harness::RegDeleteKeyTree(HKEY_CURRENT_USER, kKey));
    Settings record = SettingsTemplate();
    record.PerResolutionPositions = 1;
    record.AutoRestorePositions = 0;
    record.HideAlways = 0;
    const SettingsBytes settings = SerializeSettings(record);
    ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kKey, "Settings",
                                        {settings.begin(), settings.end()}));

    Shell shell;
    ASSERT_TRUE(shell.Start(harness::ShellOptions::WithIcons(1)));
    ASSERT_EQ(shell.AddUnicode(kDocument), 1);
    ASSERT_EQ(shell.AddUnicode(kPhoto), 2);
    const POINT iconPlace{40, 30}, documentPlace{340, 230}, photoPlace{640, 430};
    MoveIcon(shell, 0, iconPlace);
    MoveIcon(shell, 1, documentPlace);
    MoveIcon(shell, 2, photoPlace);
    RunTessara("-q -save");

    // The records an earlier version reads, unchanged: ANSI captions.
    icons::StoredSetWriter set(3);
    set.Append(iconPlace.x, iconPlace.y, "Icon 1");
    set.Append(documentPlace.x, documentPlace.y, AnsiForm(kDocument));
    set.Append(photoPlace.x, photoPlace.y, AnsiForm(kPhoto));
    EXPECT_EQ(Stored(kSetValue), std::vector<uint8_t>(set.Data(), set.Data() + set.Size()));
    // Beside them, the exact names.
    icons::StoredNamesWriter names(3);
    names.Append(u"Icon 1");
    names.Append(Units(kDocument));
    names.Append(Units(kPhoto));
    names.Seal(set.Data(), set.Size());
    EXPECT_EQ(Stored(kNamesValue), std::vector<uint8_t>(names.Data(), names.Data() + names.Size()));

    // The document comes back after a new icon alike in ANSI, which lies on
    // the document's place; the saved ones have moved. By ANSI captions the
    // photo would take the document's place and the new icon the photo's.
    ASSERT_TRUE(shell.Remove(1));
    ASSERT_EQ(shell.AddUnicode(kFresh), 2);
    ASSERT_EQ(shell.AddUnicode(kDocument), 3);
    MoveIcon(shell, 0, {800, 100});
    MoveIcon(shell, 1, {40, 500});
    MoveIcon(shell, 2, documentPlace);
    MoveIcon(shell, 3, {500, 600});
    RunTessara("-q -restore");

    const std::vector<ShellIcon> restored = shell.Layout();
    ASSERT_EQ(restored.size(), 4u);
    ExpectAt(restored, 0, iconPlace);
    ExpectAt(restored, 1, photoPlace);
    ExpectAt(restored, 3, documentPlace);
    // The new icon has no saved place: it leaves the document's for a free
    // grid cell. (The cells are searched by the spacing, not by the bounds,
    // so a cell may still touch a saved icon's wider caption.)
    EXPECT_FALSE(Overlap(restored[2].bounds, restored[1].bounds));
    EXPECT_FALSE(Overlap(restored[2].bounds, restored[3].bounds));
    EXPECT_GE(restored[2].position.x, 0);
    EXPECT_GE(restored[2].position.y, 0);
    EXPECT_LT(restored[2].position.x, 1024);
    EXPECT_LT(restored[2].position.y, 768);
    shell.Stop();
}

} // namespace
