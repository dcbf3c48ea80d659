#include "app/desktop_watch.h"
#include "app/position_cycle.h"
#include "app/typed_word.h"
#include "app/window_geometry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Tick {
    bool progmanReplaced;
    bool reachable;
    DesktopAction action;
    int attemptsLeft;
};

void RunTicks(const std::vector<Tick>& ticks) {
    DesktopWatch watch;
    int n = 0;
    for (const Tick& tick : ticks) {
        SCOPED_TRACE("tick " + std::to_string(++n));
        EXPECT_EQ(watch.Decide(tick.progmanReplaced, tick.reachable), tick.action);
        EXPECT_EQ(watch.AttemptsLeft(), tick.attemptsLeft);
    }
}

} // namespace

TEST(App_DesktopWatch, SameDesktopDoesNothing) {
    RunTicks({{false, true, DesktopAction::None, 10}, {false, false, DesktopAction::None, 10}});
}

TEST(App_DesktopWatch, ReachableNewDesktopIsReattachedAtOnce) {
    RunTicks({{true, true, DesktopAction::Reattach, 10}});
}

TEST(App_DesktopWatch, SlowDesktopCountsDownThenReattachesAndStartsAgainWithTen) {
    RunTicks({
        {true, false, DesktopAction::CountDown, 9},
        {true, false, DesktopAction::CountDown, 8},
        {true, true, DesktopAction::Reattach, 10},
        {true, false, DesktopAction::CountDown, 9},
    });
}

TEST(App_DesktopWatch, AfterTenAttemptsItTriesOnceMore) {
    std::vector<Tick> ticks;
    for (int left = 9; left >= 0; --left)
        ticks.push_back({true, false, DesktopAction::CountDown, left});
    ticks.push_back({true, false, DesktopAction::Reattach, 10});
    RunTicks(ticks);
}

TEST(App_SettingsSnapshot, EveryChangedSlotIsSeenOnce) {
    const Settings loaded = SettingsTemplate();
    const std::vector<void (*)(Settings&)> changes = {
        [](Settings& s) { s.RecordSize = 0; },
        [](Settings& s) { s.TrayShowText ^= 1; },
        [](Settings& s) { s.ShowDesktopFile[kShowDesktopFileSize - 1] = 'x'; },
        [](Settings& s) { s.WindowLeft += 1; },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        SCOPED_TRACE(i);
        SettingsSnapshot snapshot;
        snapshot.Take(loaded);
        Settings live = loaded;
        EXPECT_FALSE(snapshot.ChangedSinceLastLook(live));
        changes[i](live);
        EXPECT_TRUE(snapshot.ChangedSinceLastLook(live));
        EXPECT_FALSE(snapshot.ChangedSinceLastLook(live)) << "stored once";
        EXPECT_TRUE(snapshot.ChangedSinceLastLook(loaded)) << "changed back";
    }
}

TEST(App_PositionCycle, TopRightBottomLeftEdgeThenRestoreAndAgain) {
    struct Step {
        bool restore;
        IconAlignment alignment;
    };
    const std::vector<Step> expected = {
        {false, IconAlignment::Top},  {false, IconAlignment::Right}, {false, IconAlignment::Bottom},
        {false, IconAlignment::Left}, {false, IconAlignment::Edge},  {true, IconAlignment::Edge},
        {false, IconAlignment::Top},  {false, IconAlignment::Right},
    };
    PositionCycle cycle;
    for (std::size_t press = 0; press < expected.size(); ++press) {
        SCOPED_TRACE("press " + std::to_string(press + 1));
        const PositionStep step = cycle.Next();
        EXPECT_EQ(step.restore, expected[press].restore);
        if (!step.restore) {
            EXPECT_EQ(step.alignment, expected[press].alignment);
        }
    }
}

TEST(App_TypedWord, CompletesOnlyOnTheWholeWordInARow) {
    const struct {
        const char* keys;
        std::vector<bool> completes; // after each key
    } cases[] = {
        {"KIWI", {false, false, false, true}},
        {"KIWIKIWI", {false, false, false, true, false, false, false, true}},
        {"KIKIWI", {false, false, false, false, false, false}},
        {"KKIWI", {false, false, false, false, false}},
        {"XKIWI", {false, false, false, false, true}},
        {"kiwi", {false, false, false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        TypedWord word("KIWI");
        const std::string keys = c.keys;
        for (std::size_t i = 0; i < keys.size(); ++i)
            EXPECT_EQ(word.Feed(static_cast<unsigned char>(keys[i])), c.completes[i]) << i;
    }
}

TEST(App_WindowGeometry, RememberedCornerIsNeverNegative) {
    const struct {
        Corner in;
        Corner out;
    } cases[] = {
        {{-50, -30}, {0, 0}}, {{-1, 7}, {0, 7}},        {{12, -2}, {12, 0}},
        {{0, 0}, {0, 0}},     {{300, 200}, {300, 200}},
    };
    for (const auto& c : cases) {
        const Corner out = RememberedCorner(c.in);
        EXPECT_EQ(out.x, c.out.x) << c.in.x;
        EXPECT_EQ(out.y, c.out.y) << c.in.y;
    }
}

TEST(App_WindowGeometry, WindowIsPulledBackOntoTheScreen) {
    const struct {
        Box window;
        Corner out;
    } cases[] = {
        {{100, 50, 500, 450}, {100, 50}},    // inside
        {{900, 50, 1300, 450}, {624, 50}},   // past the right edge
        {{100, 600, 500, 1000}, {100, 368}}, // past the bottom
        {{900, 700, 1300, 1100}, {624, 368}},
        {{0, 0, 1200, 900}, {0, 0}}, // larger than the screen: the corner stays on it
        {{624, 368, 1024, 768}, {624, 368}},
    };
    for (const auto& c : cases) {
        const Corner out = KeptOnScreen(c.window, 1024, 768);
        EXPECT_EQ(out.x, c.out.x) << c.window.left;
        EXPECT_EQ(out.y, c.out.y) << c.window.top;
    }
}

TEST(App_WindowGeometry, HeightEndsUnderTheHelpButtonWithRoomForTheStatusLine) {
    EXPECT_EQ(StatusLineRoom(13, 3, 0, 2), 18);
    EXPECT_EQ(ClientHeightUnderButtons(280, 4, false, 18), 284);
    EXPECT_EQ(ClientHeightUnderButtons(280, 4, true, 18), 302);
    EXPECT_EQ(ClientHeightUnderButtons(40, 4, true, StatusLineRoom(16, 0, 1, 4)), 65);
    EXPECT_EQ(ClientHeightUnderButtons(420, 6, true, StatusLineRoom(20, 4, 0, 3)), 453);
    EXPECT_EQ(ClientWidthAroundTabs(4, 330), 338);
    EXPECT_EQ(ClientWidthAroundTabs(8, 660), 676);
}

TEST(App_WindowGeometry, CentredOnTheScreen) {
    const Corner corner = Centred(400, 300, 1024, 768);
    EXPECT_EQ(corner.x, 312);
    EXPECT_EQ(corner.y, 234);
}
