#include "icons/icon_dance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace icons {
namespace {

TEST(IconDance_Random, IsTheClassicGenerator) {
    DanceRandom random(1);
    // The first numbers of the C library's generator seeded with 1.
    EXPECT_EQ(random.Next(), 41);
    EXPECT_EQ(random.Next(), 18467);
    EXPECT_EQ(random.Next(), 6334);
    DanceRandom a(12345), b(12345);
    for (int i = 0; i < 1000; ++i) {
        const int n = a.Next();
        EXPECT_EQ(n, b.Next());
        EXPECT_GE(n, 0);
        EXPECT_LE(n, 32767);
    }
}

TEST(IconDance_Style, RotatesZeroOneTwoFromAnyStart) {
    for (int draw : {0, 1, 2, 3, 32767, -4}) {
        DanceStyle style = NextDanceStyle(nullptr, draw);
        EXPECT_EQ(static_cast<int>(style), (std::abs(draw % 3) + 1) % 3);
        for (int i = 0; i < 6; ++i) {
            const DanceStyle next = NextDanceStyle(&style, 0);
            EXPECT_EQ(static_cast<int>(next), (static_cast<int>(style) + 1) % 3);
            style = next;
        }
    }
}

TEST(IconDance_Mouse, TicksChooseBounceChaseOrHome) {
    struct Case {
        int ticks;
        DanceMove move;
    };
    const Case cases[] = {{0, DanceMove::Bounce},  {14, DanceMove::Bounce},
                          {15, DanceMove::Chase},  {30, DanceMove::Chase},
                          {31, DanceMove::GoHome}, {400, DanceMove::GoHome}};
    for (const Case& c : cases)
        EXPECT_EQ(MoveForTicks(c.ticks), c.move) << c.ticks;

    EXPECT_EQ(NextMoveTicks(7, {5, 5}, {5, 5}), 0); // one still tick starts over
    EXPECT_EQ(NextMoveTicks(7, {5, 5}, {6, 5}), 8);
    EXPECT_EQ(NextMoveTicks(0, {5, 5}, {5, 4}), 1);
}

TEST(IconDance_Mouse, ChaseTakesASixthOrSnapsWhenNear) {
    struct Case {
        Point icon, cursor, expected;
    };
    const Case cases[] = {
        {{100, 100}, {129, 71}, {129, 71}},   // within 30 both ways: onto the cursor
        {{100, 100}, {130, 100}, {105, 100}}, // 30 away is not near
        {{0, 0}, {600, -600}, {100, -100}},
        {{10, 10}, {-25, 50}, {5, 16}}, // -35 / 6 truncates to -5
        {{-5000, 70000}, {0, 0}, {-4167, 58334}},
    };
    for (const Case& c : cases) {
        const Point p = ChaseStep(c.icon, c.cursor);
        EXPECT_EQ(p.x, c.expected.x);
        EXPECT_EQ(p.y, c.expected.y);
    }
}

TEST(IconDance_Bounce, FieldFromScreenNeverDividesByZero) {
    const BounceField small = MakeBounceField({1024, 768, 75, 75});
    EXPECT_EQ(small.xMax, 949);
    EXPECT_EQ(small.yMax, 693);
    EXPECT_EQ(small.ampX, 31);
    EXPECT_EQ(small.ampY, 23);
    const BounceField fourK = MakeBounceField({3840, 2160, 75, 75});
    EXPECT_EQ(fourK.ampX, 125);
    EXPECT_EQ(fourK.ampY, 69);
    // Spacing as large as the screen or larger: still a swing of one pixel.
    for (const ScreenGeometry& screen :
         {ScreenGeometry{100, 100, 90, 90}, ScreenGeometry{640, 480, 1000, 1000}}) {
        const BounceField field = MakeBounceField(screen);
        EXPECT_EQ(field.ampX, 1);
        EXPECT_EQ(field.ampY, 1);
        DanceRandom random(3);
        Bouncer bouncer(field, {0, 0}, random);
        for (int i = 0; i < 200; ++i)
            bouncer.Step(random);
    }
}

// The steps stay within one swing of the screen: an icon that crossed an edge
// turns back at the next step.
TEST(IconDance_Bounce, StaysNearTheScreenAndMoves) {
    const BounceField field = MakeBounceField({1024, 768, 75, 75});
    for (std::uint32_t seed : {1u, 77u, 4242u}) {
        DanceRandom random(seed);
        Bouncer bouncer(field, {500, 300}, random);
        std::vector<Point> path;
        for (int i = 0; i < 3000; ++i) {
            const Point p = bouncer.Step(random);
            EXPECT_GE(p.x, -2 * field.ampX);
            EXPECT_LE(p.x, field.xMax + 2 * field.ampX);
            EXPECT_GE(p.y, -2 * field.ampY);
            EXPECT_LE(p.y, field.yMax + 2 * field.ampY);
            path.push_back(p);
        }
        int moves = 0;
        for (std::size_t i = 1; i < path.size(); ++i)
            moves += path[i].x != path[i - 1].x || path[i].y != path[i - 1].y;
        EXPECT_GT(moves, 2000);
    }
}

TEST(IconDance_Bounce, SameSeedSameDance) {
    const BounceField field = MakeBounceField({1024, 768, 75, 75});
    DanceRandom ra(99), rb(99), rc(100);
    Bouncer a(field, {300, 300}, ra), b(field, {350, 320}, rb), c(field, {300, 300}, rc);
    bool differs = false;
    for (int i = 0; i < 20; ++i) {
        const Point pa = a.Step(ra), pb = b.Step(rb), pc = c.Step(rc);
        // In step: the same offsets from their starts while no edge is near.
        ASSERT_GT(pb.x, 0);
        ASSERT_LT(pb.x, field.xMax);
        EXPECT_EQ(pa.x - 300, pb.x - 350) << i;
        EXPECT_EQ(pa.y - 300, pb.y - 320) << i;
        differs = differs || pa.x != pc.x || pa.y != pc.y;
    }
    EXPECT_TRUE(differs);
}

TEST(IconDance_Glide, CurvesFromStartToTarget) {
    const Point from{100, 100}, to{400, 100};
    const Point first = GlidePoint(from, to, 1);
    EXPECT_EQ(first.x, 100 + 300 / 15);
    // The sideways bulge is up to a twelfth of the distance, at mid-path.
    const Point middle = GlidePoint(from, to, 7);
    EXPECT_EQ(middle.x, 100 + 300 * 7 / 15);
    EXPECT_EQ(middle.y, 100 + static_cast<int>(std::sin(7.0 / 15 * 3.141592653) * 300 / 12));
    EXPECT_LE(std::abs(middle.y - 100), 300 / 12);
    const Point last = GlidePoint(from, to, kGlideSteps);
    EXPECT_EQ(last.x, 100 + 300 * 14 / 15);
    for (int step = 1; step <= kGlideSteps; ++step) {
        const Point p = GlidePoint(from, to, step);
        EXPECT_GT(p.x, from.x);
        EXPECT_LT(p.x, to.x);
    }
    // Negative and large coordinates glide alike.
    const Point far = GlidePoint({-2000, 70000}, {-2000, 70000}, 5);
    EXPECT_EQ(far.x, -2000);
    EXPECT_EQ(far.y, 70000);
}

TEST(IconDance_Swap, PauseIsThreeToTwentyTwoTicks) {
    DanceRandom random(5);
    int least = 100, most = 0;
    for (int i = 0; i < 2000; ++i) {
        const int ticks = SwapPauseTicks(random);
        least = std::min(least, ticks);
        most = std::max(most, ticks);
    }
    EXPECT_EQ(least, 3);
    EXPECT_EQ(most, 22);
}

} // namespace
} // namespace icons
