// Tessara.exe against the shell's own desktop view (testbed/shellview), not
// the stand-in: a list view whose captions come by callback, whose items are
// the Desktop folder's files and the shell's own items, sorted by the view,
// with the view's own context menu. One test for each behaviour that matters
// on a real desktop.
#include "icons/icon_store.h"
#include "tests/wine/app_program.h"
#include "tests/wine/colors_wine.h"
#include "tests/wine/context_menu_wine.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using harness::ShellIcon;

constexpr char kResolutionValue[] = "SavedIcons_1024_768";
constexpr DWORD kRunTimeoutMs = 60000;

const std::vector<std::string> kFiles = {"Budget 2024", "Holiday Photos", "Notes", "Setup Files",
                                         "Zebra"};

DWORD RunTessara(const std::string& args) {
    const auto started = std::chrono::steady_clock::now();
    harness::Process tessara = harness::Process::Start(app_test::kProgram, args);
    EXPECT_TRUE(tessara.Pid()) << "Tessara.exe did not start";
    const auto code = tessara.WaitExit(kRunTimeoutMs);
    EXPECT_TRUE(code.has_value()) << "Tessara.exe " << args << " did not end";
    const auto took = std::chrono::steady_clock::now() - started;
    std::printf("[ timing ] Tessara.exe %s: %lld ms\n", args.c_str(),
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
    return code.value_or(~0u);
}

std::optional<std::vector<uint8_t>> StoredIcons() {
    auto value = harness::RegRead(HKEY_CURRENT_USER, kProgramKey, kResolutionValue);
    if (!value)
        return std::nullopt;
    return value->data;
}

// Saving per resolution, nothing automatic, no hiding.
Settings SavingSettings() {
    Settings record = SettingsTemplate();
    record.PerResolutionPositions = 1;
    record.AutoRestorePositions = 0;
    record.HideAlways = 0;
    record.HideByCursor = 0;
    return record;
}

// The value a save stores for these icons: the count, then x, y, caption.
std::vector<uint8_t> Encode(const std::vector<ShellIcon>& icons) {
    icons::StoredSetWriter writer(static_cast<uint8_t>(icons.size()));
    for (const ShellIcon& icon : icons)
        EXPECT_TRUE(writer.Append(icon.position.x, icon.position.y, icon.caption));
    return {writer.Data(), writer.Data() + writer.Size()};
}

void MoveIcon(const harness::ShellView& view, int index, POINT at) {
    SendMessageA(view.ListView(), LVM_SETITEMPOSITION, index, MAKELPARAM(at.x, at.y));
}

// Far apart and away from the view's own column at the left.
void SpreadIcons(const harness::ShellView& view) {
    const int count = view.IconCount();
    for (int i = 0; i < count; ++i)
        MoveIcon(view, i, {200 + (i * 150) % 750, 40 + (i * 150) / 750 * 110});
}

using Place = std::pair<std::string, std::pair<LONG, LONG>>;

std::vector<Place> PlacesByCaption(const std::vector<ShellIcon>& icons) {
    std::vector<Place> places;
    for (const ShellIcon& icon : icons)
        places.push_back({icon.caption, {icon.position.x, icon.position.y}});
    std::sort(places.begin(), places.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    return places;
}

void ExpectSamePlaces(const std::vector<ShellIcon>& actual,
                      const std::vector<ShellIcon>& expected) {
    const auto got = PlacesByCaption(actual);
    const auto want = PlacesByCaption(expected);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].first, want[i].first);
        EXPECT_EQ(got[i].second, want[i].second) << got[i].first;
    }
}

// Icons take a place each: no two bounds rectangles overlap.
void ExpectNoOverlap(const std::vector<ShellIcon>& icons) {
    for (size_t i = 0; i < icons.size(); ++i)
        for (size_t j = i + 1; j < icons.size(); ++j) {
            RECT both;
            EXPECT_FALSE(IntersectRect(&both, &icons[i].bounds, &icons[j].bounds))
                << icons[i].caption << " and " << icons[j].caption;
        }
}

class ShellViewTest : public app_test::DesktopProgramTest<harness::ShellView> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(harness::RegDeleteValue(HKEY_CURRENT_USER, kProgramKey, kResolutionValue));
        app_test::StoreSettings(SavingSettings());
    }
    void TearDown() override {
        DesktopProgramTest::TearDown();
        shell_.Stop();
    }

    void StartView(const harness::ShellViewOptions& options = {}) {
        ASSERT_TRUE(shell_.Start(kFiles, options));
        for (const std::string& name : kFiles)
            ASSERT_TRUE(shell_.Icon(name)) << name << " is not on the desktop";
    }
};

} // namespace

TEST_F(ShellViewTest, SaveAndRestoreSwitchesAreByteAndPositionExact) {
    ASSERT_NO_FATAL_FAILURE(StartView());
    SpreadIcons(shell_);
    const auto saved = shell_.Layout();
    ASSERT_EQ(RunTessara("-save"), 0u);
    const auto stored = StoredIcons();
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, Encode(saved)) << "the captions come by callback";
    ASSERT_EQ(RunTessara("-save"), 0u);
    EXPECT_EQ(StoredIcons(), stored) << "a second save stores the same bytes";

    // Every icon on another's place.
    for (size_t i = 0; i < saved.size(); ++i)
        MoveIcon(shell_, static_cast<int>(i), saved[saved.size() - 1 - i].position);
    ASSERT_EQ(RunTessara("-restore"), 0u);
    ExpectSamePlaces(shell_.Layout(), saved);
    EXPECT_TRUE(IsWindowVisible(shell_.ListView()));
}

TEST_F(ShellViewTest, RunningInstanceSavesAndRestoresThroughItsAttachment) {
    ASSERT_NO_FATAL_FAILURE(StartView());
    StartProgram(SavingSettings());
    SpreadIcons(shell_);
    const auto saved = shell_.Layout();
    tessara_.Command(IDM_SAVE_POSITIONS);
    ASSERT_TRUE(harness::WaitUntil([] { return StoredIcons().has_value(); }));
    MoveIcon(shell_, 0, {900, 600});
    MoveIcon(shell_, 1, {600, 500});
    tessara_.Command(IDM_RESTORE_POSITIONS);
    EXPECT_TRUE(harness::WaitUntil(
        [&] { return PlacesByCaption(shell_.Layout()) == PlacesByCaption(saved); }));
    ExpectSamePlaces(shell_.Layout(), saved);
    EXPECT_TRUE(shell_.IsListViewSubclassed());
}

// Files come and go between the save and the restore; the view sorts the
// new ones in among the others, so the icons' indexes all change.
TEST_F(ShellViewTest, FilesAddedAndRemovedSinceTheSaveGetFreePlaces) {
    ASSERT_NO_FATAL_FAILURE(StartView());
    SpreadIcons(shell_);
    ASSERT_EQ(RunTessara("-q -save"), 0u);
    const auto saved = shell_.Layout();

    ASSERT_TRUE(shell_.RemoveFile("Notes"));
    ASSERT_TRUE(shell_.AddFile("Aardvark"));
    ASSERT_TRUE(shell_.AddFile("Minutes"));
    ASSERT_TRUE(shell_.RenameFile("Zebra", "Yak"));
    for (int i = 0; i < shell_.IconCount(); ++i)
        MoveIcon(shell_, i, {300 + (i % 4) * 90, 400 + (i / 4) * 90});
    ASSERT_EQ(RunTessara("-q -restore"), 0u);

    const auto restored = shell_.Layout();
    ExpectNoOverlap(restored);
    std::set<std::string> savedCaptions;
    for (const ShellIcon& icon : saved) {
        savedCaptions.insert(icon.caption);
        if (auto now = shell_.Icon(icon.caption)) {
            EXPECT_EQ(now->position.x, icon.position.x) << icon.caption;
            EXPECT_EQ(now->position.y, icon.position.y) << icon.caption;
        }
    }
    for (const char* fresh : {"Aardvark", "Minutes", "Yak"}) {
        const auto icon = shell_.Icon(fresh);
        ASSERT_TRUE(icon) << fresh;
        for (const ShellIcon& old : saved) {
            if (old.caption == "Notes" || old.caption == "Zebra")
                continue; // their files are gone: their places are free
            RECT both;
            EXPECT_FALSE(IntersectRect(&both, &icon->bounds, &old.bounds))
                << fresh << " took the place of " << old.caption;
        }
    }
}

TEST_F(ShellViewTest, HidingAndShowingTheIcons) {
    ASSERT_NO_FATAL_FAILURE(StartView());
    StartProgram(SavingSettings());
    tessara_.Command(IDC_HIDE_ALWAYS);
    EXPECT_TRUE(harness::WaitUntil([&] { return !IsWindowVisible(shell_.ListView()); }));
    tessara_.Command(IDC_NEVER_HIDE);
    EXPECT_TRUE(harness::WaitUntil([&] { return IsWindowVisible(shell_.ListView()) != FALSE; }));
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    EXPECT_TRUE(IsWindowVisible(shell_.ListView()));
}

TEST_F(ShellViewTest, CaptionColoursStayThroughRepaintsAndARefresh) {
    ASSERT_NO_FATAL_FAILURE(StartView());
    Settings record = SavingSettings();
    record.AutoTextColor = 0;
    record.TransparentText = 0;
    record.TextColor = int32_t(RGB(255, 255, 0));
    record.TextBackColor = int32_t(RGB(128, 0, 0));
    StartProgram(record);
    const auto backPixels = [&] {
        const RECT label = shell_.Icon(kFiles[0])->label;
        const harness::Image screen = harness::CaptureScreen();
        int count = 0;
        for (int y = label.top; y < label.bottom; ++y)
            for (int x = label.left; x < label.right; ++x)
                count += colors_test::Near(screen.Pixel(x, y), RGB(128, 0, 0), 40) ? 1 : 0;
        return count;
    };
    EXPECT_TRUE(harness::WaitUntil([&] { return backPixels() > 50; })) << backPixels();
    RedrawWindow(shell_.ListView(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(harness::HoldsFor([&] { return backPixels() > 50; }, 300)) << "after a repaint";
    shell_.Refresh();
    harness::PumpMessages(300);
    EXPECT_TRUE(harness::WaitUntil([&] { return backPixels() > 50; })) << "after a refresh";
    harness::Screenshot("shellview_captions");
}

TEST_F(ShellViewTest, SubmenuSitsInTheViewsOwnMenuAndActs) {
    using namespace context_menu_test;
    ASSERT_NO_FATAL_FAILURE(StartView());
    Settings record = SavingSettings();
    record.ContextMenu = 1;
    StartProgram(record);
    ASSERT_TRUE(harness::WaitUntil([&] { return shell_.IsViewSubclassed(); }, app_test::kAttachMs));
    const auto items = OpenMenu(shell_);
    CloseMenu(shell_);
    const auto top = Level(items, 0);
    ASSERT_TRUE(Find(top, kSubmenuText)) << top.size() << " items";
    EXPECT_GT(top.size(), 2u) << "the view's own items stay";
    ASSERT_TRUE(ChooseSubmenuItem(shell_, IDC_HIDE_ALWAYS));
    EXPECT_TRUE(app_test::WaitForStored([](const Settings& s) { return s.HideAlways == 1; }));
    EXPECT_TRUE(harness::WaitUntil([&] { return !IsWindowVisible(shell_.ListView()); }));
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    EXPECT_FALSE(shell_.IsViewSubclassed()) << "detached at the end";
}

TEST_F(ShellViewTest, WatchdogReattachesToARestartedViewAndToOneUnderAWorker) {
    ASSERT_NO_FATAL_FAILURE(StartView());
    StartProgram(SavingSettings());
    ASSERT_TRUE(shell_.Restart());
    EXPECT_TRUE(
        harness::WaitUntil([&] { return shell_.IsListViewSubclassed(); }, app_test::kAttachMs));
    EXPECT_EQ(tessara_.StatusLine().find("Attempting"), std::string::npos);

    harness::ShellViewOptions underWorker;
    underWorker.layout = 1; // workerw
    ASSERT_TRUE(shell_.Start(kFiles, underWorker));
    EXPECT_TRUE(
        harness::WaitUntil([&] { return shell_.IsListViewSubclassed(); }, app_test::kAttachMs));
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    EXPECT_FALSE(shell_.IsListViewSubclassed());
}
