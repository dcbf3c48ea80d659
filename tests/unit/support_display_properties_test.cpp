#include "support/display_properties.h"

#include <gtest/gtest.h>

namespace {

using display_properties::Rect;
using display_properties::Side;

TEST(DisplayProperties_Rundll32, SystemFolderFirstThenTheWindowsFolder) {
    EXPECT_EQ(display_properties::Rundll32InSystemFolder("C:\\Windows"),
              "C:\\Windows\\system32\\rundll32.exe");
    EXPECT_EQ(display_properties::Rundll32InWindowsFolder("C:\\WINNT"), "C:\\WINNT\\rundll32.exe");
    EXPECT_STREQ(display_properties::kParameters, "shell32.dll,Control_RunDLL desk.cpl,,0");
}

TEST(DisplayProperties_Opening, LeftWhenThereIsRoomElseRightTopsAlignedSizeKept) {
    const Rect other{10, 500, 410, 950}; // 400 x 450
    const struct {
        Rect settings;
        Side side;
        Rect docked;
    } cases[] = {
        {{400, 100, 900, 600}, Side::Left, {0, 100, 400, 550}},
        {{401, 20, 900, 600}, Side::Left, {1, 20, 401, 470}},
        {{399, 100, 900, 600}, Side::Right, {900, 100, 1300, 550}},
        {{0, 0, 500, 600}, Side::Right, {500, 0, 900, 450}},
        {{-50, 30, 450, 600}, Side::Right, {450, 30, 850, 480}},
    };
    for (const auto& c : cases) {
        const Side side = display_properties::SideForOpening(c.settings, other, 0);
        EXPECT_EQ(side, c.side) << c.settings.left;
        EXPECT_EQ(display_properties::DockedBeside(c.settings, other, side), c.docked)
            << c.settings.left;
    }
}

TEST(DisplayProperties_Docked, SameTopAndTouchingOnEitherSide) {
    const Rect settings{400, 100, 900, 600};
    const struct {
        Rect other;
        bool docked;
        Side side;
    } cases[] = {
        {{0, 100, 400, 550}, true, Side::Left},      {{900, 100, 1300, 550}, true, Side::Right},
        {{0, 101, 400, 550}, false, Side::Left},     {{1, 100, 401, 550}, false, Side::Left},
        {{901, 100, 1301, 550}, false, Side::Right}, {{500, 100, 800, 550}, false, Side::Right},
        {{400, 100, 800, 550}, false, Side::Left},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(display_properties::Docked(settings, c.other), c.docked) << c.other.left;
        EXPECT_EQ(display_properties::SideOf(settings, c.other), c.side) << c.other.left;
    }
}

TEST(DisplayProperties_FollowMove, ADockedWindowFollowsOnItsSideAMovedAwayOneStays) {
    const Rect before{400, 100, 900, 600};
    const Rect now{430, 80, 930, 580};
    const struct {
        Rect other;
        bool follows;
        Rect after;
    } cases[] = {
        {{0, 100, 400, 550}, true, {30, 80, 430, 530}},
        {{900, 100, 1300, 550}, true, {930, 80, 1330, 530}},
        {{950, 100, 1350, 550}, false, {}},
        {{0, 140, 400, 590}, false, {}},
    };
    for (const auto& c : cases) {
        Rect after{};
        EXPECT_EQ(display_properties::FollowMove(before, c.other, now, after), c.follows)
            << c.other.left;
        if (c.follows) {
            EXPECT_EQ(after, c.after) << c.other.left;
        }
    }
}

TEST(DisplayProperties_KeptLeftWhileDocked, SomePixelsFromEitherEdgeOfTheScreen) {
    const struct {
        int left, width, kept;
    } cases[] = {
        {300, 400, 300}, {18, 400, 18},   {17, 400, 18},   {-200, 400, 18},
        {606, 400, 606}, {607, 400, 606}, {900, 400, 606}, {100, 1000, 18},
    };
    for (const auto& c : cases)
        EXPECT_EQ(display_properties::KeptLeftWhileDocked(c.left, c.width, 0, 1024, 18), c.kept)
            << c.left << " " << c.width;
    EXPECT_EQ(display_properties::KeptLeftWhileDocked(-2000, 400, -1280, 0, 18), -1262);
}

} // namespace
