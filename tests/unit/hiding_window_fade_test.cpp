#include "hiding/window_fade.h"
#include "hiding/show_desktop_file.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr WindowId kA = 0x1000;
constexpr WindowId kB = 0x2000;

CloseBoxInput Over(WindowId hit, ScreenPoint p, uint32_t exStyle = 0x100) {
    CloseBoxInput in;
    in.canFade = true;
    in.cursor = p;
    in.hit = hit;
    in.hitExStyle = exStyle;
    return in;
}

// Watch ticks until one starts a fade; its index or -1.
int TicksUntilFade(WindowFader& fader, const std::vector<CloseBoxInput>& ticks) {
    for (size_t i = 0; i < ticks.size(); ++i) {
        if (fader.Watch(ticks[i]).startFade)
            return int(i);
    }
    return -1;
}

TEST(HidingFade, CloseBoxRect) {
    const ScreenRect r = CloseBoxRect({100, 50, 500, 400}, {4, 4, 18, 18});
    EXPECT_EQ(r.left, 478);
    EXPECT_EQ(r.right, 496);
    EXPECT_EQ(r.top, 54);
    EXPECT_EQ(r.bottom, 72);
    EXPECT_TRUE(r.Contains({478, 54}));
    EXPECT_FALSE(r.Contains({496, 60}));
}

TEST(HidingFade, FiveStillTicksStartTheFade) {
    WindowFader fader;
    const std::vector<CloseBoxInput> still(8, Over(kA, {10, 10}));
    EXPECT_EQ(TicksUntilFade(fader, still), 5); // the first tick arrives, five stay
}

TEST(HidingFade, MovingInsideTheBoxDelaysButDoesNotCancel) {
    WindowFader fader;
    std::vector<CloseBoxInput> ticks = {Over(kA, {10, 10}), Over(kA, {10, 10}), Over(kA, {11, 10}),
                                        Over(kA, {11, 10}), Over(kA, {12, 10}), Over(kA, {12, 10}),
                                        Over(kA, {12, 10}), Over(kA, {12, 10})};
    EXPECT_EQ(TicksUntilFade(fader, ticks), 7);
}

TEST(HidingFade, TheDesktopNeverFades) {
    WindowFader fader;
    CloseBoxInput desk = Over(kA, {10, 10});
    desk.hitIsDesktop = true;
    EXPECT_EQ(TicksUntilFade(fader, std::vector<CloseBoxInput>(20, desk)), -1);
}

TEST(HidingFade, NothingWithoutLayeredWindows) {
    WindowFader fader;
    CloseBoxInput in = Over(kA, {10, 10});
    in.canFade = false;
    EXPECT_EQ(TicksUntilFade(fader, std::vector<CloseBoxInput>(20, in)), -1);
}

TEST(HidingFade, StepsFrom255DownTo35) {
    WindowFader fader;
    CloseBoxActions start;
    for (int i = 0; i < 6; ++i)
        start = fader.Watch(Over(kA, {10, 10}, 0x100));
    ASSERT_TRUE(start.startFade);
    EXPECT_EQ(start.layeredExStyle, 0x80100u);
    std::vector<int> alphas;
    FadeStepResult step;
    for (int i = 0; i < 20 && !step.stop; ++i) {
        step = fader.Step(true, true);
        if (step.alpha)
            alphas.push_back(*step.alpha);
    }
    EXPECT_TRUE(step.stop);
    EXPECT_EQ(alphas, (std::vector<int>{235, 215, 195, 175, 155, 135, 115, 95, 75, 55, 35}));
    // A window that lost its layered style is left alone.
    WindowFader other;
    for (int i = 0; i < 6; ++i)
        other.Watch(Over(kB, {1, 1}));
    EXPECT_FALSE(other.Step(true, false).alpha.has_value());
}

TEST(HidingFade, LeavingRestoresAndAnotherBoxStartsItsOwnCount) {
    WindowFader fader;
    for (int i = 0; i < 6; ++i)
        fader.Watch(Over(kA, {10, 10}, 0x100));
    // Straight onto B's close box: A comes back at once.
    const CloseBoxActions jump = fader.Watch(Over(kB, {300, 10}));
    ASSERT_TRUE(jump.restore.has_value());
    EXPECT_EQ(jump.restore->window, kA);
    EXPECT_EQ(jump.restore->exStyle, 0x100u);
    EXPECT_FALSE(jump.restore->repaintAll);
    EXPECT_TRUE(fader.Step(true, true).stop); // A's steps end
    EXPECT_EQ(TicksUntilFade(fader, std::vector<CloseBoxInput>(6, Over(kB, {300, 10}))), 4);
    // Off every close box: B comes back, the whole screen is repainted.
    const CloseBoxActions away = fader.Watch(Over(0, {300, 300}));
    ASSERT_TRUE(away.restore.has_value());
    EXPECT_EQ(away.restore->window, kB);
    EXPECT_TRUE(away.restore->repaintAll);
    EXPECT_FALSE(fader.Watch(Over(0, {300, 300})).restore.has_value());
}

TEST(HidingFade, ReleaseBringsAFadedWindowBackOnce) {
    WindowFader fader;
    EXPECT_FALSE(fader.Release().has_value());
    for (int i = 0; i < 6; ++i)
        fader.Watch(Over(kA, {10, 10}, 0x8));
    const auto released = fader.Release();
    ASSERT_TRUE(released.has_value());
    EXPECT_EQ(released->window, kA);
    EXPECT_EQ(released->exStyle, 0x8u);
    EXPECT_FALSE(fader.Release().has_value());
    EXPECT_FALSE(fader.Watch(Over(0, {0, 0})).restore.has_value());
}

TEST(HidingShowDesktopFile, Bytes) {
    const std::string_view bytes = ShowDesktopFileBytes();
    EXPECT_EQ(bytes.size(), 75u);
    EXPECT_EQ(std::string(bytes),
              "[Shell]\nCommand=2\nIconFile=explorer.exe,3\n\n[Taskbar]\nCommand=ToggleDesktop\n");
    EXPECT_EQ(bytes.find('\r'), std::string_view::npos);
    EXPECT_EQ(bytes.find('\0'), std::string_view::npos);
}

TEST(HidingShowDesktopFile, PathMustFit) {
    EXPECT_EQ(PathInDirectory("C:\\windows", kSystemShowDesktopFile, 292),
              std::optional<std::string>("C:\\windows\\system\\Show Desktop.scf"));
    EXPECT_EQ(PathInDirectory("C:\\temp\\", kTemporaryShowDesktopFile, 292),
              std::optional<std::string>("C:\\temp\\tessara.scf"));
    const std::string dir(280, 'd');
    EXPECT_EQ(PathInDirectory(dir, kTemporaryShowDesktopFile, 292)->size(), 291u);
    EXPECT_FALSE(PathInDirectory(dir + "d", kTemporaryShowDesktopFile, 292).has_value());
    EXPECT_FALSE(PathInDirectory("", kTemporaryShowDesktopFile, 292).has_value());
}

} // namespace
