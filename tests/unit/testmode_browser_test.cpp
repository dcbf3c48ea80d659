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
    const std::pair<const char*, const char*> names[] = {
        {"sunset.bmp", "sunset"},
        {"a.b.BMP", "a.b"},
        {"noext", "noext"},
        {".bmp", ""},
    };
    for (const auto& [file, name] : names)
        EXPECT_EQ(ListName(file), name) << file;
    EXPECT_EQ(WithoutTrailingBackslashes("C:\\pics\\\\"), "C:\\pics");
    EXPECT_EQ(WithoutTrailingBackslashes("C:\\pics"), "C:\\pics");
    EXPECT_EQ(WithoutTrailingBackslashes("\\\\"), "");
    EXPECT_EQ(PicturePath("C:\\pics", "sunset"), "C:\\pics\\sunset.bmp");
    EXPECT_EQ(SplitPicturePath("C:\\pics\\sun.set.bmp").folder, "C:\\pics");
    EXPECT_EQ(SplitPicturePath("C:\\pics\\sun.set.bmp").entry, "sun.set");
    EXPECT_EQ(SplitPicturePath("sun.bmp").folder, "");
    EXPECT_EQ(SplitPicturePath("sun.bmp").entry, "sun");
    EXPECT_EQ(SplitPicturePath("").entry, "");
    EXPECT_EQ(BitmapPattern("C:\\pics"), "C:\\pics\\*.bmp");
    EXPECT_TRUE(SameFolder("C:\\Pics", "c:\\PICS"));
    EXPECT_FALSE(SameFolder("C:\\Pics", "C:\\Pics2"));
    EXPECT_EQ(FileCountText(0), "0 files");
    EXPECT_EQ(FileCountText(12), "12 files");
    EXPECT_EQ(PictureInfoText("sunset", 800, 600), "sunset (800x600)");
    EXPECT_EQ(PreviewTipText("C:\\p\\a.bmp"),
              "C:\\p\\a.bmp\n\nLeft Click\tSet as wallpaper\nLeft DblClick\tOpen in default "
              "viewer\nRight DblClick\tOpen containing folder");
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
    std::map<std::string, std::vector<FolderEntry>> entries;
    std::set<std::string> withBitmaps;
    mutable std::vector<std::string> searched;

    bool HasBitmaps(const std::string& folder) const override {
        searched.push_back(folder);
        return withBitmaps.count(folder) != 0;
    }
    std::vector<FolderEntry> Entries(const std::string& folder) const override {
        const auto found = entries.find(folder);
        return found == entries.end() ? std::vector<FolderEntry>{} : found->second;
    }
};

class FakeList : public FolderList {
  public:
    std::vector<std::string> folders;
    bool Holds(const std::string& folder) const override {
        for (const std::string& held : folders)
            if (SameFolder(held, folder))
                return true;
        return false;
    }
    void Add(const std::string& folder) override { folders.push_back(folder); }
};

FakeTree SampleTree() {
    FakeTree tree;
    tree.entries["C:\\p"] = {
        {"a", true}, {".hidden", true}, {"x.bmp", false}, {"loop", true, true}, {"b", true}};
    tree.entries["C:\\p\\a"] = {{"deep", true}};
    tree.entries["C:\\p\\.hidden"] = {};
    tree.entries["C:\\p\\loop"] = {{"loop", true, true}};
    tree.withBitmaps = {"C:\\p", "C:\\p\\a\\deep", "C:\\p\\.hidden", "C:\\p\\loop", "C:\\p\\b"};
    return tree;
}

TEST(TestBrowser_Folders, RecursionAddsFoldersWithBitmapsAndSkipsHiddenAndLinks) {
    FakeTree tree = SampleTree();
    FakeList list;
    AddBitmapDirectories("C:\\p", true, tree, list);
    EXPECT_EQ(list.folders, (std::vector<std::string>{"C:\\p", "C:\\p\\a\\deep", "C:\\p\\b"}));
    EXPECT_EQ(tree.searched,
              (std::vector<std::string>{"C:\\p", "C:\\p\\a", "C:\\p\\a\\deep", "C:\\p\\b"}));
}

TEST(TestBrowser_Folders, WithoutRecursionOnlyTheFolder) {
    FakeTree tree = SampleTree();
    FakeList list;
    AddBitmapDirectories("C:\\p", false, tree, list);
    EXPECT_EQ(list.folders, (std::vector<std::string>{"C:\\p"}));
    AddBitmapDirectories("C:\\p\\a", false, tree, list); // no bitmaps of its own
    EXPECT_EQ(list.folders, (std::vector<std::string>{"C:\\p"}));
}

TEST(TestBrowser_Folders, AFolderTheListHoldsIsNotSearchedAgain) {
    FakeTree tree = SampleTree();
    FakeList list;
    list.folders = {"c:\\P"};
    AddBitmapDirectories("C:\\p", true, tree, list);
    EXPECT_EQ(list.folders, (std::vector<std::string>{"c:\\P"}));
    EXPECT_TRUE(tree.searched.empty());
}

TEST(TestBrowser_Folders, OverlongPathsAreNotSearched) {
    FakeTree tree;
    const std::string longName(kMaxFolderPath, 'x');
    tree.entries["C:"] = {{longName, true}};
    tree.withBitmaps = {"C:\\" + longName};
    FakeList list;
    AddBitmapDirectories("C:", true, tree, list);
    EXPECT_TRUE(list.folders.empty());
    EXPECT_EQ(tree.searched, (std::vector<std::string>{"C:"}));
}

TEST(TestBrowser_Folders, RecentFoldersKeepTheLastTwo) {
    RecentFolders recent;
    recent.Listed("A");
    EXPECT_EQ(recent.last, "A");
    EXPECT_EQ(recent.previous, "");
    recent.Listed("B");
    EXPECT_EQ(recent.last, "B");
    EXPECT_EQ(recent.previous, "A");
    recent.Listed("A"); // equal to the previous one: nothing changes
    EXPECT_EQ(recent.last, "B");
    EXPECT_EQ(recent.previous, "A");
    recent.Listed("C");
    EXPECT_EQ(recent.last, "C");
    EXPECT_EQ(recent.previous, "B");
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
