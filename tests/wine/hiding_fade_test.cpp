// Window fading of the real Tessara.exe: a test window whose close box the
// cursor rests on fades to a ghost and comes back when the cursor leaves.
#include "tests/wine/hiding_program.h"

namespace {

using namespace hiding_test;

std::optional<BYTE> Alpha(HWND window) {
    if (!(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED))
        return std::nullopt;
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA))
        return std::nullopt;
    return alpha;
}

POINT CloseBoxCentre(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    const int right = r.right - GetSystemMetrics(SM_CXFRAME);
    const int top = r.top + GetSystemMetrics(SM_CYFRAME);
    return POINT{right - GetSystemMetrics(SM_CXSIZE) / 2, top + GetSystemMetrics(SM_CYSIZE) / 2};
}

class FadeTest : public HidingTest {};

TEST_F(FadeTest, WindowFadesOverItsCloseBoxAndComesBack) {
    Settings s = QuietSettings();
    s.WindowFading = 1;
    Launch(s);
    TestWindow window(RECT{380, 120, 780, 420});
    harness::MoveMouse(CloseBoxCentre(window.Get()));
    const DWORD arrived = GetTickCount();
    ASSERT_TRUE(harness::WaitUntil([&] { return Alpha(window.Get()) == BYTE(35); }, 6000));
    EXPECT_GE(GetTickCount() - arrived, 1200u); // five still watches, then eleven steps
    harness::PumpMessages(300);
    harness::Screenshot("hiding_faded_window");
    harness::MoveMouse(window.Inside());
    EXPECT_TRUE(harness::WaitUntil([&] { return !Alpha(window.Get()).has_value(); }, kSoonMs));
}

TEST_F(FadeTest, SwitchingFadingOffBringsAFadedWindowBack) {
    Settings s = QuietSettings();
    s.WindowFading = 1;
    Launch(s);
    TestWindow window(RECT{380, 120, 780, 420});
    harness::MoveMouse(CloseBoxCentre(window.Get()));
    ASSERT_TRUE(harness::WaitUntil([&] { return Alpha(window.Get()) == BYTE(35); }, 6000));
    tessara_.Command(IDC_WINDOW_FADING);
    EXPECT_TRUE(harness::WaitUntil([&] { return !Alpha(window.Get()).has_value(); }, kSoonMs));
    // And nothing fades any more.
    harness::MoveMouse(window.Inside());
    harness::MoveMouse(CloseBoxCentre(window.Get()));
    EXPECT_TRUE(harness::HoldsFor([&] { return !Alpha(window.Get()).has_value(); }, 2000));
}

} // namespace
