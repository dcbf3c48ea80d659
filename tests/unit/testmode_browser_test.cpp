#include "testmode/test_browser.h"
#include "testmode/webshots.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace test_browser;

struct StepCase {
    int selected;
    int count;
    int direction;
    int index;
};

TEST(TestBrowser_Stepping, WrapsAtBothEnds) {
    const StepCase cases[] = {
        {0, 3, Next, 1},      {1, 3, Next, 2},       {2, 3, Next, 0},      // ">" on the last wraps
        {0, 3, Previous, 2},  {2, 3, Previous, 1},   {1, 3, Selected, 1},  // "<" on the first
        {-1, 3, Selected, 0}, {-1, 3, Next, 0},      {-1, 3, Previous, 2}, // nothing selected
        {0, 1, Next, 0},      {0, 1, Previous, 0},   {0, 1, Selected, 0},  // a single picture
        {5, 3, Selected, 0},  {-1, 0, Selected, -1}, {0, 0, Next, -1},     // stale, empty
    };
    for (const StepCase& c : cases)
        EXPECT_EQ(SteppedIndex(c.selected, c.count, c.direction), c.index)
            << c.selected << " of " << c.count << " by " << c.direction;
}

struct LayoutCase {
    int height;
    bool keepAspectRatio;
    WallpaperLayout layout;
};

TEST(TestBrowser_Layout, LowPicturesTileAndTallOnesFollowTheAspectSetting) {
    const LayoutCase cases[] = {
        {1, false, {"1", "1"}},    {256, false, {"1", "1"}}, {256, true, {"1", "1"}},
        {257, false, {"0", "0"}},  {257, true, {"2", "0"}},  {600, true, {"2", "0"}},
        {2000, false, {"0", "0"}},
    };
    for (const LayoutCase& c : cases) {
        const WallpaperLayout layout = LayoutForPicture(c.height, c.keepAspectRatio);
        EXPECT_EQ(layout, c.layout)
            << c.height << " " << c.keepAspectRatio << ": " << layout.style << "/" << layout.tile;
    }
}

TEST(TestBrowser_Layout, Buttons) {
    EXPECT_EQ(LayoutOfButton(LayoutButton::None), (WallpaperLayout{"0", "0"}));
    EXPECT_EQ(LayoutOfButton(LayoutButton::Center), (WallpaperLayout{"1", "0"}));
    EXPECT_EQ(LayoutOfButton(LayoutButton::Tile), (WallpaperLayout{"1", "1"}));
    EXPECT_EQ(LayoutOfButton(LayoutButton::Stretch), (WallpaperLayout{"2", "0"}));
}

TEST(TestBrowser_Names, ListNamesPathsAndTexts) {
    const std::pair<const wchar_t*, const wchar_t*> names[] = {
        {L"sunset.bmp", L"sunset"},
        {L"a.b.BMP", L"a.b"},
        {L"noext", L"noext"},
        {L".bmp", L""},
    };
    for (const auto& [file, name] : names)
        EXPECT_EQ(ListName(file), name);
    EXPECT_EQ(WithoutTrailingBackslashes(L"C:\\pics\\\\"), L"C:\\pics");
    EXPECT_EQ(WithoutTrailingBackslashes(L"C:\\pics"), L"C:\\pics");
    EXPECT_EQ(WithoutTrailingBackslashes(L"\\\\"), L"");
    EXPECT_EQ(PicturePath(L"C:\\pics", L"sunset"), L"C:\\pics\\sunset.bmp");
    EXPECT_EQ(SplitPicturePath(L"C:\\pics\\sun.set.bmp").folder, L"C:\\pics");
    EXPECT_EQ(SplitPicturePath(L"C:\\pics\\sun.set.bmp").entry, L"sun.set");
    EXPECT_EQ(SplitPicturePath(L"sun.bmp").folder, L"");
    EXPECT_EQ(SplitPicturePath(L"sun.bmp").entry, L"sun");
    EXPECT_EQ(SplitPicturePath(L"").entry, L"");
    EXPECT_EQ(BitmapPattern(L"C:\\pics"), L"C:\\pics\\*.bmp");
    EXPECT_TRUE(SameFolder(L"C:\\Pics", L"c:\\PICS"));
    EXPECT_FALSE(SameFolder(L"C:\\Pics", L"C:\\Pics2"));
    EXPECT_EQ(FileCountText(0), L"0 files");
    EXPECT_EQ(FileCountText(12), L"12 files");
    EXPECT_EQ(PictureInfoText(L"sunset", 800, 600), L"sunset (800x600)");
    EXPECT_EQ(PreviewTipText(L"C:\\p\\a.bmp"),
              L"C:\\p\\a.bmp\n\nLeft Click\tSet as wallpaper\nLeft DblClick\tOpen in default "
              L"viewer\nRight DblClick\tOpen containing folder");
}

// Names outside any ANSI code page: CJK, letters with marks, a character
// beyond the Basic Multilingual Plane (a surrogate pair in UTF-16).
constexpr wchar_t kWideFolder[] = L"C:\\Ünïcødé 🌍";
constexpr wchar_t kWideEntry[] = L"照片.2026";

TEST(TestBrowser_Names, NamesOutsideTheCodePageStayExact) {
    const std::wstring path = std::wstring(kWideFolder) + L"\\" + kWideEntry + L".bmp";
    EXPECT_EQ(ListName(std::wstring(kWideEntry) + L".bmp"), kWideEntry);
    EXPECT_EQ(PicturePath(kWideFolder, kWideEntry), path);
    EXPECT_EQ(SplitPicturePath(path).folder, kWideFolder);
    EXPECT_EQ(SplitPicturePath(path).entry, kWideEntry);
    EXPECT_EQ(WithoutTrailingBackslashes(std::wstring(kWideFolder) + L"\\"), kWideFolder);
    EXPECT_EQ(BitmapPattern(kWideFolder), std::wstring(kWideFolder) + L"\\*.bmp");
    EXPECT_EQ(PictureInfoText(kWideEntry, 64, 32), std::wstring(kWideEntry) + L" (64x32)");
    EXPECT_EQ(PreviewTipText(path).substr(0, path.size() + 2), path + L"\n\n");
    EXPECT_FALSE(SameFolder(L"C:\\照片", L"C:\\照片2"));
    EXPECT_FALSE(SameFolder(L"C:\\照片", L"C:\\照相"));
}

TEST(TestBrowser_Names, ButtonsFollowTheCount) {
    EXPECT_FALSE(ButtonsForCount(0).start);
    EXPECT_FALSE(ButtonsForCount(0).stepping);
    EXPECT_TRUE(ButtonsForCount(1).start);
    EXPECT_FALSE(ButtonsForCount(1).stepping);
    EXPECT_TRUE(ButtonsForCount(2).start);
    EXPECT_TRUE(ButtonsForCount(2).stepping);
}

// A folder tree in memory: each folder's entries and whether it has bitmaps.
class FakeTree : public FolderSource {
  public:
    std::map<std::wstring, std::vector<FolderEntry>> entries;
    std::set<std::wstring> withBitmaps;
    mutable std::vector<std::wstring> searched;

    bool HasBitmaps(const std::wstring& folder) const override {
        searched.push_back(folder);
        return withBitmaps.count(folder) != 0;
    }
    std::vector<FolderEntry> Entries(const std::wstring& folder) const override {
        const auto found = entries.find(folder);
        return found == entries.end() ? std::vector<FolderEntry>{} : found->second;
    }
};

class FakeList : public FolderList {
  public:
    std::vector<std::wstring> folders;
    bool Holds(const std::wstring& folder) const override {
        for (const std::wstring& held : folders)
            if (SameFolder(held, folder))
                return true;
        return false;
    }
    void Add(const std::wstring& folder) override { folders.push_back(folder); }
};

FakeTree SampleTree() {
    FakeTree tree;
    tree.entries[L"C:\\p"] = {
        {L"a", true}, {L".hidden", true}, {L"x.bmp", false}, {L"loop", true, true}, {L"b", true}};
    tree.entries[L"C:\\p\\a"] = {{L"deep", true}};
    tree.entries[L"C:\\p\\.hidden"] = {};
    tree.entries[L"C:\\p\\loop"] = {{L"loop", true, true}};
    tree.withBitmaps = {L"C:\\p", L"C:\\p\\a\\deep", L"C:\\p\\.hidden", L"C:\\p\\loop",
                        L"C:\\p\\b"};
    return tree;
}

TEST(TestBrowser_Folders, RecursionAddsFoldersWithBitmapsAndSkipsHiddenAndLinks) {
    FakeTree tree = SampleTree();
    FakeList list;
    AddBitmapDirectories(L"C:\\p", true, tree, list);
    EXPECT_EQ(list.folders, (std::vector<std::wstring>{L"C:\\p", L"C:\\p\\a\\deep", L"C:\\p\\b"}));
    EXPECT_EQ(tree.searched,
              (std::vector<std::wstring>{L"C:\\p", L"C:\\p\\a", L"C:\\p\\a\\deep", L"C:\\p\\b"}));
}

TEST(TestBrowser_Folders, WithoutRecursionOnlyTheFolder) {
    FakeTree tree = SampleTree();
    FakeList list;
    AddBitmapDirectories(L"C:\\p", false, tree, list);
    EXPECT_EQ(list.folders, (std::vector<std::wstring>{L"C:\\p"}));
    AddBitmapDirectories(L"C:\\p\\a", false, tree, list); // no bitmaps of its own
    EXPECT_EQ(list.folders, (std::vector<std::wstring>{L"C:\\p"}));
}

TEST(TestBrowser_Folders, AFolderTheListHoldsIsNotSearchedAgain) {
    FakeTree tree = SampleTree();
    FakeList list;
    list.folders = {L"c:\\P"};
    AddBitmapDirectories(L"C:\\p", true, tree, list);
    EXPECT_EQ(list.folders, (std::vector<std::wstring>{L"c:\\P"}));
    EXPECT_TRUE(tree.searched.empty());
}

TEST(TestBrowser_Folders, OverlongPathsAreNotSearched) {
    FakeTree tree;
    const std::wstring longName(kMaxFolderPath, L'x');
    tree.entries[L"C:"] = {{longName, true}};
    tree.withBitmaps = {L"C:\\" + longName};
    FakeList list;
    AddBitmapDirectories(L"C:", true, tree, list);
    EXPECT_TRUE(list.folders.empty());
    EXPECT_EQ(tree.searched, (std::vector<std::wstring>{L"C:"}));
}

TEST(TestBrowser_Folders, NamesOutsideTheCodePageAreSearchedAndAddedExactly) {
    FakeTree tree;
    const std::wstring folder = std::wstring(kWideFolder) + L"\\照片";
    tree.entries[kWideFolder] = {{L"照片", true}, {L"🌍.bmp", false}};
    tree.withBitmaps = {kWideFolder, folder};
    FakeList list;
    AddBitmapDirectories(kWideFolder, true, tree, list);
    EXPECT_EQ(list.folders, (std::vector<std::wstring>{kWideFolder, folder}));
}

TEST(TestBrowser_Folders, RecentFoldersKeepTheLastTwo) {
    RecentFolders recent;
    recent.Listed(L"A");
    EXPECT_EQ(recent.last, L"A");
    EXPECT_EQ(recent.previous, L"");
    recent.Listed(L"B");
    EXPECT_EQ(recent.last, L"B");
    EXPECT_EQ(recent.previous, L"A");
    recent.Listed(L"A"); // equal to the previous one: nothing changes
    EXPECT_EQ(recent.last, L"B");
    EXPECT_EQ(recent.previous, L"A");
    recent.Listed(L"C");
    EXPECT_EQ(recent.last, L"C");
    EXPECT_EQ(recent.previous, L"B");
    recent.Listed(kWideFolder);
    EXPECT_EQ(recent.last, kWideFolder);
    EXPECT_EQ(recent.previous, L"C");
}

// Draws the given numbers in turn.
std::function<int()> Draws(std::vector<int> numbers) {
    auto next = std::make_shared<std::size_t>(0);
    return [numbers, next] { return numbers[(*next)++ % numbers.size()]; };
}

TEST(TestBrowser_Random, DrawsAgainWhileItHitsTheCurrentOne) {
    EXPECT_EQ(RandomIndex(3, 1, Draws({4, 7, 8})), 2); // 4%3 = 1 and 7%3 = 1 are the current
    EXPECT_EQ(RandomIndex(3, -1, Draws({4})), 1);
    EXPECT_EQ(RandomIndex(1, 0, Draws({5})), 0); // the only one, taken at once
    EXPECT_EQ(RandomIndex(0, -1, Draws({5})), -1);
    int draws = 0;
    const std::vector<int> numbers = {2, 4, 3};
    const auto counted = [&] { return numbers[std::size_t(draws++)]; };
    EXPECT_EQ(RandomIndex(2, 0, counted), 1);
    EXPECT_EQ(draws, 3) << "2 % 2 and 4 % 2 are the current folder";
}

TEST(TestBrowser_SlideShow, CountsDownOneSlidePerInterval) {
    SlideShow show;
    EXPECT_EQ(show.interval(), kInitialSlideInterval);
    show.SetInterval(1);
    show.Start();
    EXPECT_TRUE(show.running());
    EXPECT_EQ(show.range(), 5);
    EXPECT_EQ(show.position(), 5);
    std::vector<bool> due;
    for (int tick = 0; tick < 10; ++tick)
        due.push_back(show.Tick());
    EXPECT_EQ(due, (std::vector<bool>{false, false, false, false, true, false, false, false, false,
                                      true}));
    EXPECT_EQ(show.position(), 5);
    show.Stop();
    EXPECT_FALSE(show.running());
}

TEST(TestBrowser_SlideShow, IntervalIsClampedAndCutsARunningCountdown) {
    SlideShow show;
    show.SetInterval(0);
    EXPECT_EQ(show.interval(), 1);
    show.SetInterval(301);
    EXPECT_EQ(show.interval(), 300);
    show.SetInterval(10);
    show.Start();
    EXPECT_EQ(show.position(), 50);
    show.SetInterval(2);
    EXPECT_EQ(show.position(), 10);
    EXPECT_EQ(show.range(), 10);
}

TEST(TestBrowser_Preview, ASingleClickWaitsAndADoubleClickOpens) {
    PreviewClicks clicks;
    // Single click: down, up -> the timer starts.
    clicks.ButtonDown();
    EXPECT_TRUE(clicks.ButtonUp());
    // Double click: down, up (timer), double click (timer stopped), up -> no new timer.
    clicks.ButtonDown();
    EXPECT_TRUE(clicks.ButtonUp());
    clicks.DoubleClick();
    EXPECT_FALSE(clicks.ButtonUp());
    // The next click is a single one again.
    clicks.ButtonDown();
    EXPECT_TRUE(clicks.ButtonUp());
}

TEST(Webshots_Placement, SettingsTopRightAndTheChangerBelowAtTheLeft) {
    EXPECT_EQ(webshots::SettingsWindowPlace(1024, 380, 420),
              (webshots::Placement{644, 0, 380, 420}));
    EXPECT_EQ(webshots::ChangerPlace(1024, 768), (webshots::Placement{0, 256, 512, 512}));
    EXPECT_EQ(webshots::ChangerPlace(1366, 769), (webshots::Placement{0, 256, 683, 512}));
}

} // namespace
