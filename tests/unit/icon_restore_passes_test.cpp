#include "icons/restore_passes.h"

#include "icons/icon_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace icons {
namespace {

// A list view in memory: icons of a fixed size, a grid that snaps every icon
// to its nearest cell, and a check that the lock is held around every access.
class FakeDesktop : public IconDesktop {
  public:
    struct FakeIcon {
        Point position;
        std::string caption;
        std::int32_t width = 75, height = 75;
        std::u16string name = {}; // exact name, when it differs from the caption
    };

    std::vector<FakeIcon> icons;
    std::int32_t cell = 75;
    int snaps = 0;
    int unlockedAccesses = 0;
    int exchanges = 0; // calls that would each be one message to the desktop

    void Lock() override { ++lockDepth_; }
    void Unlock() override { --lockDepth_; }
    void ReadAll(int count, Icon* out) override {
        Access();
        for (int i = 0; i < count; ++i) {
            const FakeIcon& icon = icons.at(i);
            const Point p = icon.position;
            out[i] = {p, Rect{p.x, p.y, p.x + icon.width, p.y + icon.height}, icon.caption,
                      icon.name};
        }
    }
    void MoveAll(const Move* moves, int count) override {
        Access();
        for (int i = 0; i < count; ++i)
            icons.at(moves[i].index).position = moves[i].position;
    }
    void SnapToGrid() override {
        Access();
        ++snaps;
        for (FakeIcon& icon : icons)
            icon.position = {Nearest(icon.position.x), Nearest(icon.position.y)};
    }

  private:
    void Access() {
        unlockedAccesses += lockDepth_ <= 0;
        ++exchanges;
    }
    std::int32_t Nearest(std::int32_t v) const {
        return (v >= 0 ? v + cell / 2 : v - cell / 2) / cell * cell;
    }
    int lockDepth_ = 0;
};

const ScreenGeometry kScreen{1024, 768, 75, 75};

struct SavedValue {
    StoredSetWriter writer{0};
    SavedSet set;
};

void Save(SavedValue& value, std::initializer_list<std::pair<Point, const char*>> records) {
    value.writer = StoredSetWriter(static_cast<std::uint8_t>(records.size()));
    for (const auto& [p, caption] : records)
        value.writer.Append(p.x, p.y, caption);
    ReadStoredSet(value.writer.Data(), value.writer.Size(), value.set);
}

bool Restore(FakeDesktop& desktop, SavedSet& saved, const ScreenGeometry& screen = kScreen) {
    PlacementTable table;
    const bool done =
        RunRestorePasses(desktop, saved, screen, static_cast<int>(desktop.icons.size()), table);
    ApplyPlacements(desktop, table);
    EXPECT_EQ(desktop.unlockedAccesses, 0);
    return done;
}

void ExpectAt(const FakeDesktop& desktop, int index, Point expected) {
    EXPECT_EQ(desktop.icons[index].position.x, expected.x) << "icon " << index;
    EXPECT_EQ(desktop.icons[index].position.y, expected.y) << "icon " << index;
}

TEST(IconRestorePasses, MatchedIconsGoToTheirSavedPlaces) {
    SavedValue value;
    Save(value, {{{300, 150}, "Doc"}, {{-20, 900}, "Far"}, {{600, 75}, "Doc"}, {{0, 0}, "Gone"}});
    FakeDesktop desktop;
    desktop.icons = {{{0, 0}, "Doc"}, {{75, 0}, "Far"}, {{150, 0}, "Doc"}};
    EXPECT_TRUE(Restore(desktop, value.set));
    ExpectAt(desktop, 0, {300, 150}); // first "Doc" entry
    ExpectAt(desktop, 1, {-20, 900}); // saved off screen: applied as saved
    ExpectAt(desktop, 2, {600, 75});  // second "Doc" entry
    EXPECT_EQ(desktop.snaps, 1);      // the grid origin step of pass 1 only
}

TEST(IconRestorePasses, NewIconsStayWhenFreeAndMoveToTheFirstFreeCellOtherwise) {
    SavedValue value;
    Save(value, {{{0, 0}, "A"}, {{75, 0}, "B"}});
    FakeDesktop desktop;
    desktop.icons = {
        {{500, 500}, "A"}, {{600, 300}, "B"}, {{700, 150}, "New free"}, {{10, 10}, "New on A"}};
    EXPECT_TRUE(Restore(desktop, value.set));
    ExpectAt(desktop, 0, {0, 0});
    ExpectAt(desktop, 1, {75, 0});
    ExpectAt(desktop, 2, {700, 150});
    ExpectAt(desktop, 3, {150, 0});
}

TEST(IconRestorePasses, OffScreenIconsAreClampedBeforeEverythingElse) {
    SavedValue value;
    Save(value, {});
    FakeDesktop desktop;
    desktop.icons = {{{300, 300}, "A"}, {{1024 + 100, 40}, "Right"}, {{-30, 2000}, "Low"}};
    EXPECT_TRUE(Restore(desktop, value.set));
    ExpectAt(desktop, 1, {1024 - 75, 40});
    ExpectAt(desktop, 2, {0, 768 - 75});
}

TEST(IconRestorePasses, AnIconWithoutCaptionNeverTakesAnEntryAnotherIconUsed) {
    SavedValue value;
    Save(value, {{{300, 300}, "A"}, {{450, 300}, ""}});
    FakeDesktop desktop;
    desktop.icons = {{{0, 0}, "A"}, {{600, 600}, ""}, {{600, 600}, ""}};
    EXPECT_TRUE(Restore(desktop, value.set));
    ExpectAt(desktop, 0, {300, 300});
    ExpectAt(desktop, 1, {450, 300}); // the saved entry without caption, not A's
    // No entry is left for the second; icon 1 has left, so its place is free.
    ExpectAt(desktop, 2, {600, 600});
}

TEST(IconRestorePasses, ACrowdedScreenIsPackedPixelByPixelInPassThree) {
    // 240 x 300 with 75-pixel cells has 12 grid cells; 40-pixel icons packed
    // by pixels fit 4 to a row (0, 42, 84, 126) in rows 40 pixels apart.
    const ScreenGeometry screen{240, 300, 75, 75};
    SavedValue value;
    Save(value, {});
    FakeDesktop desktop;
    for (int i = 0; i < 16; ++i)
        desktop.icons.push_back({{0, 0}, "I" + std::to_string(i), 40, 40});
    EXPECT_TRUE(Restore(desktop, value.set, screen));
    EXPECT_EQ(desktop.snaps, 4); // the grid origin of each pass and the snap after pass 1
    for (int i = 0; i < 16; ++i)
        ExpectAt(desktop, i, {42 * (i % 4), 40 * (i / 4)});
}

TEST(IconRestorePasses, IconsWithoutRoomStayWhereTheLastPassReadThem) {
    // One cell of 75 pixels and no pixel room either: icon 0 takes the
    // origin, icon 1 stays where the third pass found it.
    const ScreenGeometry screen{100, 100, 75, 75};
    SavedValue value;
    Save(value, {});
    FakeDesktop desktop;
    desktop.icons = {{{10, 10}, "A"}, {{20, 20}, "B"}};
    EXPECT_FALSE(Restore(desktop, value.set, screen));
    ExpectAt(desktop, 0, {0, 0});
    ExpectAt(desktop, 1, {0, 0}); // snapped by the grid-origin step of pass 3
}

// Three names outside the code page that all read "??.txt" in ANSI: two were
// saved, the third is new and lies on a saved place.
TEST(IconRestorePasses, NamesAlikeInAnsiKeepTheirOwnPlaces) {
    const std::u16string document = u"\u6587\u6863.txt", photo = u"\u7167\u7247.txt",
                         fresh = u"\u65B0\u5EFA.txt";
    SavedValue value;
    Save(value, {{{300, 150}, "??.txt"}, {{600, 300}, "??.txt"}});
    StoredNamesWriter names(2);
    names.Append(document);
    names.Append(photo);
    names.Seal(value.writer.Data(), value.writer.Size());
    ASSERT_TRUE(ReadStoredNames(names.Data(), names.Size(), value.writer.Data(),
                                value.writer.Size(), value.set));
    FakeDesktop desktop;
    desktop.icons = {{{300, 150}, "??.txt", 75, 75, fresh},
                     {{0, 0}, "??.txt", 75, 75, document},
                     {{75, 0}, "??.txt", 75, 75, photo}};
    EXPECT_TRUE(Restore(desktop, value.set));
    ExpectAt(desktop, 0, {0, 0}); // off the document's place, to the first free cell
    ExpectAt(desktop, 1, {300, 150});
    ExpectAt(desktop, 2, {600, 300});
}

TEST(IconRestorePasses, NoIconsMeansNothingToDo) {
    SavedValue value;
    Save(value, {{{1, 1}, "A"}});
    FakeDesktop desktop;
    EXPECT_TRUE(Restore(desktop, value.set));
    EXPECT_EQ(desktop.snaps, 0);
}

// Reading and moving go many icons at a time: the exchanges with the desktop
// do not grow with the number of icons.
TEST(IconRestorePasses, ExchangesDoNotGrowWithTheIcons) {
    auto exchangesFor = [](int count) {
        SavedValue value;
        value.writer = StoredSetWriter(static_cast<std::uint8_t>(count));
        FakeDesktop desktop;
        for (int i = 0; i < count; ++i) {
            const std::string caption = "Icon " + std::to_string(i);
            value.writer.Append(10 + (i % 12) * 80, 10 + (i / 12) * 80, caption);
            desktop.icons.push_back({{(i % 13) * 75, (i / 13) * 75}, caption});
        }
        desktop.icons.push_back({{2000, 3000}, "New and off screen"});
        ReadStoredSet(value.writer.Data(), value.writer.Size(), value.set);
        EXPECT_TRUE(Restore(desktop, value.set));
        ExpectAt(desktop, count - 1, {10 + ((count - 1) % 12) * 80, 10 + ((count - 1) / 12) * 80});
        return desktop.exchanges;
    };
    const int few = exchangesFor(3);
    EXPECT_EQ(exchangesFor(100), few);
    // Read, bring on screen and read again, move the matched and read them
    // back, the grid origin (move, snap, read), and the final move.
    EXPECT_LE(few, 10);
}

} // namespace
} // namespace icons
