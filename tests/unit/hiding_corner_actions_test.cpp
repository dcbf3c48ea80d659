#include "hiding/corner_actions.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr ScreenSize kScreen{1024, 768};

TEST(HidingCorners_InHotCorner, OnlyTheChosenPixel) {
    struct Case {
        int32_t corner;
        ScreenPoint p;
        bool in;
    };
    const Case cases[] = {
        {0, {0, 0}, true},      {0, {1, 0}, false},       {0, {0, 1}, false},
        {1, {1023, 0}, true},   {1, {1022, 0}, false},    {1, {1023, 1}, false},
        {1, {0, 0}, false},     {2, {0, 767}, true},      {2, {0, 766}, false},
        {3, {1023, 767}, true}, {3, {1024, 768}, false},  {0x301, {1023, 0}, true},
        {4, {0, 0}, false},     {-1, {1023, 767}, false}, {0xFF, {0, 0}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InHotCorner(c.p, c.corner, kScreen), c.in)
            << c.corner << " " << c.p.x << "," << c.p.y;
}

TEST(HidingCorners_OnScreenEdge, FourEdges) {
    EXPECT_TRUE(OnScreenEdge({0, 300}, kScreen));
    EXPECT_TRUE(OnScreenEdge({500, 0}, kScreen));
    EXPECT_TRUE(OnScreenEdge({1023, 300}, kScreen));
    EXPECT_TRUE(OnScreenEdge({500, 767}, kScreen));
    EXPECT_FALSE(OnScreenEdge({1, 1}, kScreen));
    EXPECT_FALSE(OnScreenEdge({1022, 766}, kScreen));
}

Settings CornerSettings(bool wait) {
    Settings s = SettingsTemplate();
    s.HotCornerEnabled = 1;
    s.HotCorner = 1; // upper right
    s.HotCornerWait = wait ? 1 : 0;
    return s;
}

// Follows a path of cursor positions 100 ms apart; the indices that fired.
std::vector<int> FiredAlong(const Settings& settings, const std::vector<ScreenPoint>& path,
                            TickCount start, bool normalDesktop = true) {
    HotCornerWatch watch;
    std::vector<int> fired;
    for (size_t i = 0; i < path.size(); ++i) {
        CornerInput in{start + TickCount(i) * 100u, path[i], kScreen, normalDesktop};
        if (watch.Check(settings, in))
            fired.push_back(int(i));
    }
    return fired;
}

std::vector<ScreenPoint> Stay(ScreenPoint p, int ticks) {
    return std::vector<ScreenPoint>(size_t(ticks), p);
}

std::vector<ScreenPoint> Then(std::vector<ScreenPoint> a, const std::vector<ScreenPoint>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

constexpr ScreenPoint kCorner{1023, 0};
constexpr ScreenPoint kNear{1000, 5};

TEST(HidingCorners_HotCorner, WithoutWaitOncePerArrival) {
    const auto path =
        Then(Then(Then(Stay(kNear, 2), Stay(kCorner, 20)), Stay(kNear, 1)), Stay(kCorner, 3));
    EXPECT_EQ(FiredAlong(CornerSettings(false), path, 1000), (std::vector<int>{2, 23}));
}

TEST(HidingCorners_HotCorner, WaitOneSecondAtAnyTickCount) {
    for (TickCount start : {1000u, 0x7FFFFFA0u, 0xFFFFFFA0u, 0xFFFFFC18u}) {
        // Stays: fires once, 1 s after arriving.
        EXPECT_EQ(FiredAlong(CornerSettings(true), Then(Stay(kNear, 1), Stay(kCorner, 40)), start),
                  (std::vector<int>{11}))
            << start;
        // Leaves after 0.9 s: nothing; comes back and stays: fires then.
        const auto path =
            Then(Then(Then(Stay(kNear, 1), Stay(kCorner, 10)), Stay(kNear, 1)), Stay(kCorner, 12));
        EXPECT_EQ(FiredAlong(CornerSettings(true), path, start), (std::vector<int>{22})) << start;
    }
}

// A resting cursor may slow the tick down only while no wait runs.
TEST(HidingCorners_HotCorner, WaitingOnlyUntilTheActionFires) {
    const Settings settings = CornerSettings(true);
    HotCornerWatch watch;
    std::vector<int> waiting;
    const auto path = Then(Stay(kNear, 1), Stay(kCorner, 14));
    for (size_t i = 0; i < path.size(); ++i) {
        watch.Check(settings, CornerInput{TickCount(i) * 100u, path[i], kScreen, true});
        if (watch.Waiting())
            waiting.push_back(int(i));
    }
    EXPECT_EQ(waiting, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST(HidingCorners_HotCorner, NothingWhenOffOrOnAnotherDesktop) {
    Settings off = CornerSettings(false);
    off.HotCornerEnabled = 0;
    const auto path = Then(Stay(kNear, 1), Stay(kCorner, 3));
    EXPECT_TRUE(FiredAlong(off, path, 0).empty());
    EXPECT_TRUE(FiredAlong(CornerSettings(false), path, 0, false).empty());
    Settings lowerLeft = CornerSettings(false);
    lowerLeft.HotCorner = 2;
    EXPECT_TRUE(FiredAlong(lowerLeft, path, 0).empty());
}

EdgeInput Edge(ScreenPoint p) {
    EdgeInput in;
    in.cursor = p;
    in.screen = kScreen;
    in.normalDesktop = true;
    return in;
}

TEST(HidingCorners_BossMouse, OncePerEdgeContact) {
    BossMouseWatch watch;
    const ScreenPoint path[] = {{500, 300}, {0, 300},   {0, 310},  {500, 767},
                                {500, 300}, {1023, 20}, {1023, 21}};
    std::vector<bool> acted;
    for (ScreenPoint p : path)
        acted.push_back(watch.Check(Edge(p), true));
    EXPECT_EQ(acted, (std::vector<bool>{false, true, false, false, false, true, false}));
}

TEST(HidingCorners_BossMouse, HeldBackWhenOffTheScreenSaverAndTheDesktop) {
    for (int blocker = 0; blocker < 3; ++blocker) {
        BossMouseWatch watch;
        EdgeInput in = Edge({0, 300});
        in.screenSaverRunning = blocker == 1;
        in.normalDesktop = blocker != 2;
        EXPECT_FALSE(watch.Check(in, blocker != 0)) << blocker;
        // Held back, the contact is not used up.
        EXPECT_TRUE(watch.Check(Edge({0, 300}), true)) << blocker;
    }
}

// Its box is greyed while the hot corner is off: greyed is off.
TEST(HidingCorners_BossMouse, OnOnlyWhenCheckedAndNotGreyed) {
    for (int checked = 0; checked < 2; ++checked)
        for (int corner = 0; corner < 2; ++corner) {
            Settings s = CornerSettings(false);
            s.BossMouse = checked;
            s.HotCornerEnabled = corner;
            HideAllWindowsWatch watch;
            const ScreenPoint edge{0, 300};
            EXPECT_EQ(watch.Check(s, CornerInput{0, edge, kScreen, true}, Edge(edge)),
                      checked == 1 && corner == 1)
                << checked << corner;
        }
}

TEST(HidingCorners_Both, ACornerThatActsIsOneAction) {
    Settings s = CornerSettings(false);
    s.BossMouse = 1;
    HideAllWindowsWatch watch;
    auto check = [&](ScreenPoint p, TickCount now) {
        EdgeInput edge = Edge(p);
        return watch.Check(s, CornerInput{now, p, kScreen, true}, edge);
    };
    EXPECT_FALSE(check(kNear, 0));
    EXPECT_TRUE(check(kCorner, 100));
    EXPECT_FALSE(check(kCorner, 200));
    EXPECT_FALSE(check({1023, 50}, 300)); // still on the edge
    EXPECT_FALSE(check(kNear, 400));
    EXPECT_TRUE(check({0, 400}, 500)); // a new edge contact
}

TEST(HidingCorners_Actions, IndexAndList) {
    EXPECT_EQ(CornerActionOf(0), CornerAction::ShowDesktop);
    EXPECT_EQ(CornerActionOf(1), CornerAction::StartScreenSaver);
    EXPECT_EQ(CornerActionOf(2), CornerAction::LockWorkstation);
    EXPECT_EQ(CornerActionOf(7), CornerAction::LockWorkstation);
    EXPECT_EQ(CornerActionOf(-1), CornerAction::LockWorkstation);
    EXPECT_EQ(ActionListLength(true), 3);
    EXPECT_EQ(ActionListLength(false), 2);
    EXPECT_STREQ(ActionListText(0), "Hide (Show Desktop)");
    EXPECT_STREQ(ActionListText(1), "Start Screen Saver");
    EXPECT_STREQ(ActionListText(2), "Lock Workstation");
    EXPECT_EQ(FittedActionIndex(2, true), 2);
    EXPECT_EQ(FittedActionIndex(2, false), 0);
    EXPECT_EQ(FittedActionIndex(1, false), 1);
    EXPECT_EQ(FittedActionIndex(9, true), 0);
    EXPECT_EQ(FittedActionIndex(-1, true), 0);
}

TEST(HidingCorners_Minimize, OnlyPlainVisibleTopLevelWindows) {
    constexpr uint32_t kPlain = 0x10CA0000;
    struct Case {
        EnumeratedWindow window;
        bool minimize;
    };
    const Case cases[] = {
        {{false, false, kPlain, true}, true},
        {{false, false, kPlain | 0x00010000, true}, true},    // with a maximise box
        {{true, false, kPlain, true}, false},                 // the settings window
        {{false, true, kPlain, true}, false},                 // owned by a parent
        {{false, false, kPlain, false}, false},               // disabled
        {{false, false, kPlain | 0x20000000, true}, false},   // already minimised
        {{false, false, kPlain & ~0x10000000u, true}, false}, // hidden
        {{false, false, kPlain & ~0x00020000u, true}, false}, // no minimise box
        {{false, false, 0, true}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShouldMinimize(c.window), c.minimize) << std::hex << c.window.style;
}

TEST(HidingCorners_Kill, ExactClassNames) {
    EXPECT_TRUE(IsListedForKill("ACDViewer"));
    EXPECT_TRUE(IsListedForKill("ACDBrowser"));
    EXPECT_TRUE(IsListedForKill("ForteAgent:Main"));
    EXPECT_FALSE(IsListedForKill("acdviewer"));
    EXPECT_FALSE(IsListedForKill("ACDViewer2"));
    EXPECT_FALSE(IsListedForKill(""));
}

} // namespace
