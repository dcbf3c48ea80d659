#include "hiding/cursor_tracker.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr ScreenPoint kDesk{500, 300};
constexpr ScreenPoint kDesk2{510, 300};
constexpr ScreenPoint kWindow{200, 200};
constexpr ScreenPoint kTaskbar{300, 760};

Settings ByCursor(int onDelay, int offDelay) {
    Settings s = SettingsTemplate();
    s.HideByCursor = 1;
    s.HideAlways = 0;
    s.HideWhenOnDesktop = 1;
    s.HideWhenOffDesktop = 1;
    s.DelayShowOnDesktop = 0;
    s.HideOnDesktopDelay = onDelay;
    s.HideOffDesktopDelay = offDelay;
    s.HideCursor = 0;
    return s;
}

// Drives the tracker tick by tick, 100 ms apart, from a chosen start time.
struct TrackerRun {
    CursorTracker tracker;
    Settings settings;
    TickCount now;

    TickActions Tick(ScreenPoint p, bool onDesktop, bool overTaskbar = false) {
        TickInput in;
        in.now = now;
        in.cursor = p;
        in.onDesktop = onDesktop;
        in.overTaskbar = overTaskbar;
        now += kTrackingPeriodMs;
        return tracker.Tick(settings, in);
    }
    // Ticks at p until one hides the icons; the tick's index, or -1.
    int TicksUntilHide(ScreenPoint p, bool onDesktop, int limit) {
        for (int i = 0; i < limit; ++i) {
            if (Tick(p, onDesktop).hideIcons)
                return i;
        }
        return -1;
    }
};

// Start times around the tick count's wraps: deadlines must not care.
const TickCount kStarts[] = {1000u, 0x7FFFFF00u, 0xFFFFFF00u, 0u};

TEST(HidingTracker_ByCursor, IdleHideAfterTheOnDesktopDelayAtAnyTickCount) {
    struct Case {
        int delaySeconds;
        int hideTick; // ticks after the arrival tick
    };
    const Case cases[] = {{0, 1}, {1, 10}, {3, 30}};
    for (TickCount start : kStarts) {
        for (const Case& c : cases) {
            TrackerRun run{{}, ByCursor(c.delaySeconds, 5), start};
            EXPECT_TRUE(run.Tick(kDesk, true).showIcons);
            EXPECT_EQ(run.TicksUntilHide(kDesk, true, 100) + 1, c.hideTick)
                << start << " delay " << c.delaySeconds;
            // Once: the next still ticks hide nothing more.
            EXPECT_EQ(run.TicksUntilHide(kDesk, true, 50), -1);
            // A movement shows the icons and the taskbar again.
            EXPECT_TRUE(run.Tick(kDesk2, true).showIcons);
        }
    }
}

TEST(HidingTracker_ByCursor, NoIdleHideWithoutHideWhenOnDesktop) {
    TrackerRun run{{}, ByCursor(0, 5), 1000};
    run.settings.HideWhenOnDesktop = 0;
    run.Tick(kDesk, true);
    EXPECT_EQ(run.TicksUntilHide(kDesk, true, 50), -1);
}

TEST(HidingTracker_ByCursor, OffDesktopHideOnlyAfterTheCursorWasOnTheDesktop) {
    for (TickCount start : kStarts) {
        TrackerRun run{{}, ByCursor(60, 0), start};
        // Start-up off the desktop: nothing is hidden however long it stays.
        EXPECT_EQ(run.TicksUntilHide(kWindow, false, 30), -1) << start;
        run.Tick(kDesk, true);
        // Leaving with delay 0 hides at the first tick off the desktop, once.
        EXPECT_EQ(run.TicksUntilHide(kWindow, false, 5), 0) << start;
        EXPECT_EQ(run.TicksUntilHide(kWindow, false, 30), -1) << start;
    }
}

TEST(HidingTracker_ByCursor, OffDesktopDelayCountsFromLeaving) {
    TrackerRun run{{}, ByCursor(60, 2), 5000};
    for (int i = 0; i < 30; ++i)
        run.Tick(i % 2 ? kDesk : kDesk2, true);
    EXPECT_EQ(run.TicksUntilHide(kWindow, false, 40), 19);
}

TEST(HidingTracker_ByCursor, OffDesktopDelayCountsFromLeavingAfterARest) {
    TrackerRun run{{}, ByCursor(60, 2), 5000};
    run.Tick(kDesk, true);
    run.Tick(kDesk, true);
    run.now += 30000; // the tick rested on the desktop for half a minute
    EXPECT_EQ(run.TicksUntilHide(kWindow, false, 40), 19);
}

TEST(HidingTracker_ByCursor, RestingOnTheTaskbarPostponesTheOffDesktopHide) {
    TrackerRun run{{}, ByCursor(60, 1), 5000};
    run.Tick(kDesk, true);
    for (int i = 0; i < 30; ++i) {
        const TickActions a = run.Tick(kTaskbar, false, true);
        EXPECT_FALSE(a.hideIcons) << i;
        EXPECT_TRUE(a.showTaskbar);
        EXPECT_TRUE(a.peekTaskbar);
    }
    EXPECT_EQ(run.TicksUntilHide(kWindow, false, 20), 9);
}

TEST(HidingTracker_ByCursor, ShowDelayInTenths) {
    struct Case {
        int showDelay;     // slider value
        int firstShowTick; // tick index after the arrival tick (0 = at arrival)
    };
    const Case cases[] = {{1, 0}, {2, 1}, {4, 3}, {11, 10}, {101, 100}};
    for (TickCount start : kStarts) {
        for (const Case& c : cases) {
            TrackerRun run{{}, ByCursor(60, 60), start};
            run.settings.DelayShowOnDesktop = 1;
            run.settings.ShowDelay = c.showDelay;
            run.Tick(kWindow, false);
            int shownAt = -1;
            for (int i = 0; i < 120 && shownAt < 0; ++i) {
                // The cursor keeps still after the arrival; the icons appear
                // once the delay has passed all the same.
                if (run.Tick(kDesk, true).showIcons)
                    shownAt = i;
            }
            EXPECT_EQ(shownAt, c.firstShowTick) << start << " delay " << c.showDelay;
        }
    }
}

TEST(HidingTracker_ByCursor, LeavingCancelsTheShowDelay) {
    TrackerRun run{{}, ByCursor(60, 60), 1000};
    run.settings.DelayShowOnDesktop = 1;
    run.settings.ShowDelay = 11; // 1 s
    run.Tick(kWindow, false);
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(run.Tick(kDesk, true).showIcons);
    run.Tick(kWindow, false);
    // Coming back starts the whole delay again.
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE(run.Tick(i % 2 ? kDesk : kDesk2, true).showIcons) << i;
    EXPECT_TRUE(run.Tick(kDesk, true).showIcons);
}

TEST(HidingTracker_ByCursor, NeverHideDoesNothing) {
    TrackerRun run{{}, ByCursor(0, 0), 1000};
    run.settings.HideByCursor = 0;
    run.Tick(kDesk, true);
    EXPECT_EQ(run.TicksUntilHide(kWindow, false, 20), -1);
    EXPECT_EQ(run.TicksUntilHide(kDesk, true, 20), -1);
}

TEST(HidingTracker_Pointer, HiddenAfterAnIdleHideAndShownOnTheNextMove) {
    TrackerRun run{{}, ByCursor(1, 60), 1000};
    run.settings.HideCursor = 1;
    run.Tick(kDesk, true);
    std::vector<int> timerStarts;
    for (int i = 0; i < 30; ++i) {
        if (run.Tick(kDesk, true).startPointerTimer)
            timerStarts.push_back(i);
    }
    EXPECT_EQ(timerStarts, std::vector<int>{9}); // with the idle hide, once
    EXPECT_TRUE(run.tracker.PointerIdleExpired(run.settings, true));
    EXPECT_FALSE(run.tracker.PointerTimerArmed());
    TickInput moved;
    moved.cursor = kDesk2;
    moved.onDesktop = true;
    moved.pointerShown = false;
    const TickActions a = run.tracker.Tick(run.settings, moved);
    EXPECT_TRUE(a.showPointer);
    EXPECT_TRUE(a.stopPointerTimer);
}

TEST(HidingTracker_Pointer, AlwaysModeArmsAtTheFirstStillTickOnly) {
    Settings s = SettingsTemplate();
    s.HideAlways = 1;
    s.HideByCursor = 0;
    s.HideCursor = 1;
    CursorTracker tracker;
    TickInput in;
    in.cursor = kDesk;
    in.alwaysRadioChecked = true;
    std::vector<bool> starts;
    for (int i = 0; i < 4; ++i)
        starts.push_back(tracker.Tick(s, in).startPointerTimer);
    EXPECT_EQ(starts, (std::vector<bool>{false, true, false, false}));
}

TEST(HidingTracker_Pointer, ShownAtEveryTickWhilePointerHidingIsOff) {
    Settings s = ByCursor(1, 1);
    CursorTracker tracker;
    TickInput in;
    in.cursor = kDesk;
    in.pointerShown = false;
    EXPECT_TRUE(tracker.Tick(s, in).showPointer);
    EXPECT_TRUE(tracker.Tick(s, in).showPointer);
    in.pointerShown = true;
    EXPECT_FALSE(tracker.Tick(s, in).showPointer);
    EXPECT_FALSE(tracker.PointerIdleExpired(s, true)); // HideCursor off
}

struct AlwaysRun {
    CursorTracker tracker;
    Settings settings = [] {
        Settings s = SettingsTemplate();
        s.HideByCursor = 0;
        s.HideAlways = 1;
        s.ClickShowTime = 2;
        return s;
    }();
    TickActions Tick(bool iconsVisible, bool moved = false, bool hidingTab = true) {
        TickInput in;
        in.iconsVisible = iconsVisible;
        in.mouseMovedOverIcons = moved;
        in.hidingTabSelected = hidingTab;
        in.clickSliderPosition = 2;
        return tracker.Tick(settings, in);
    }
};

TEST(HidingTracker_Always, CountsDownFromClickShowTimeAndHides) {
    AlwaysRun run;
    EXPECT_FALSE(run.Tick(false).showCountdown);
    std::vector<int32_t> shown;
    TickActions a;
    for (int i = 0; i < 25 && !a.hideIcons; ++i) {
        a = run.Tick(true);
        shown.push_back(a.countdown.left);
        EXPECT_EQ(a.countdown.range, 20);
        EXPECT_EQ(a.disableClickControls, !a.hideIcons);
    }
    EXPECT_EQ(shown.size(), 20u);
    EXPECT_EQ(shown.front(), 20);
    EXPECT_EQ(shown.back(), 1);
    EXPECT_TRUE(a.countdownFinished);
    EXPECT_EQ(run.tracker.ClickCountdown(), 20);
}

TEST(HidingTracker_Always, AMoveOverTheIconsRestartsTheCount) {
    AlwaysRun run;
    for (int i = 0; i < 15; ++i)
        run.Tick(true);
    const TickActions a = run.Tick(true, true);
    EXPECT_TRUE(a.clearMouseMoved);
    EXPECT_EQ(a.countdown.left, 20);
    int hideAt = -1;
    for (int i = 0; i < 25 && hideAt < 0; ++i) {
        if (run.Tick(true).hideIcons)
            hideAt = i;
    }
    EXPECT_EQ(hideAt, 18);
}

TEST(HidingTracker_Always, HiddenIconsKeepTheCountFullAndOtherTabsShowNothing) {
    AlwaysRun run;
    for (int i = 0; i < 5; ++i)
        run.Tick(true, false, false);
    run.Tick(false);
    EXPECT_EQ(run.tracker.ClickCountdown(), 20);
    const TickActions a = run.Tick(true, false, false);
    EXPECT_FALSE(a.showCountdown);
    EXPECT_TRUE(a.disableClickControls);
}

TEST(HidingTracker_Always, AZeroCountEndsAtOnce) {
    AlwaysRun run;
    run.settings.ClickShowTime = 0;
    run.Tick(false);
    EXPECT_TRUE(run.Tick(true).hideIcons);
    EXPECT_TRUE(run.Tick(true).hideIcons);
}

TEST(HidingTracker_Countdown, Text) {
    EXPECT_EQ(CountdownText(100), "10.0 seconds left");
    EXPECT_EQ(CountdownText(1), "0.1 seconds left");
    EXPECT_EQ(CountdownText(37), "3.7 seconds left");
}

TEST(HidingTracker_Taskbar, Recheck) {
    struct Case {
        TaskbarState state;
        TaskbarRecheck expected;
    };
    const Case cases[] = {
        {{true, true, false, false}, TaskbarRecheck::Hide},
        {{true, true, false, true}, TaskbarRecheck::Again},
        {{false, true, false, false}, TaskbarRecheck::Stop},
        {{true, false, false, false}, TaskbarRecheck::Stop},
        {{true, true, true, false}, TaskbarRecheck::Stop},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RecheckTaskbarDecision(c.state), c.expected);
}

} // namespace

// The tick may slow down only from the tick after which a still cursor can no
// longer make anything happen, and must stay allowed to while it stays still.
int FirstRestingTick(TrackerRun& run, ScreenPoint p, bool onDesktop, bool overTaskbar = false) {
    int first = -1;
    for (int i = 0; i < 40; ++i) {
        const bool canRest = run.Tick(p, onDesktop, overTaskbar).canRest;
        if (canRest && first < 0)
            first = i;
        EXPECT_TRUE(canRest || first < 0) << "woke at still tick " << i;
    }
    return first;
}

TEST(HidingTracker_Rest, OnlyWhenNoDeadlineIsRunning) {
    { // On the desktop: from the idle hide on.
        TrackerRun run{{}, ByCursor(1, 5), 1000};
        run.settings.HideCursor = 1;
        EXPECT_FALSE(run.Tick(kDesk, true).canRest);
        EXPECT_EQ(FirstRestingTick(run, kDesk, true), 9);
        // A movement wakes it.
        EXPECT_FALSE(run.Tick(kDesk2, true).canRest);
    }
    { // Off the desktop: from the off-desktop hide on.
        TrackerRun run{{}, ByCursor(60, 2), 1000};
        run.Tick(kDesk, true);
        EXPECT_EQ(FirstRestingTick(run, kWindow, false), 19);
    }
    { // Off the desktop without its hide: at once.
        TrackerRun run{{}, ByCursor(60, 2), 1000};
        run.settings.HideWhenOffDesktop = 0;
        run.Tick(kDesk, true);
        EXPECT_EQ(FirstRestingTick(run, kWindow, false), 1);
    }
    { // The show delay runs, then the idle delay of 0 s.
        TrackerRun run{{}, ByCursor(0, 5), 1000};
        run.settings.DelayShowOnDesktop = 1;
        run.settings.ShowDelay = 11;
        run.Tick(kWindow, false);
        EXPECT_EQ(FirstRestingTick(run, kDesk, true), 11);
    }
    { // Resting on the taskbar keeps postponing the off-desktop hide.
        TrackerRun run{{}, ByCursor(60, 1), 1000};
        run.Tick(kDesk, true);
        EXPECT_EQ(FirstRestingTick(run, kTaskbar, false, true), -1);
    }
    { // No hiding mode: only the corner could act, and it is watched apart.
        TrackerRun run{{}, ByCursor(0, 0), 1000};
        run.settings.HideByCursor = 0;
        EXPECT_EQ(FirstRestingTick(run, kWindow, false), 1);
    }
}

TEST(HidingTracker_Rest, NeverWhileTheCountDownOrThePointerWaits) {
    AlwaysRun always;
    EXPECT_FALSE(always.Tick(true).canRest);
    int resting = 0;
    for (int i = 0; i < 30; ++i)
        resting += always.Tick(true).canRest;
    EXPECT_EQ(resting, 0) << "icons shown in Always mode count down";
    EXPECT_TRUE(always.Tick(false).canRest);

    // A pointer the desktop still hides is shown again at every tick.
    Settings s = ByCursor(1, 1);
    CursorTracker tracker;
    TickInput in;
    in.cursor = kWindow;
    in.pointerShown = false;
    tracker.Tick(s, in);
    EXPECT_FALSE(tracker.Tick(s, in).canRest);
    in.pointerShown = true;
    EXPECT_TRUE(tracker.Tick(s, in).canRest);

    // Always mode with pointer hiding: not before its timer is started.
    s.HideByCursor = 0;
    s.HideAlways = 1;
    s.HideCursor = 1;
    CursorTracker pointer;
    in.alwaysRadioChecked = true;
    in.cursor = kDesk;
    EXPECT_FALSE(pointer.Tick(s, in).canRest);
    const TickActions armed = pointer.Tick(s, in);
    EXPECT_TRUE(armed.startPointerTimer);
    EXPECT_TRUE(armed.canRest);
}
