// The desktop queries against the stand-in desktop shell.
#include "deskhook/deskhook.h"
#include "deskhook/shared_names.h"
#include "desklink/desk_link.h"
#include "tests/harness/harness.h"

#include <gtest/gtest.h>

using namespace harness;

namespace {

class DesklinkDiscovery : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(shell_.Start());
        ASSERT_EQ(RefreshDesktopListView(), shell_.ListView());
    }
    void TearDown() override { shell_.Stop(); }

    Shell shell_;
};

TEST_F(DesklinkDiscovery, ListViewIsFoundUnderProgmanAndTheDefView) {
    EXPECT_EQ(GetDeskTopListView(), shell_.ListView());
    EXPECT_EQ(DesktopListView(), shell_.ListView());
    EXPECT_FALSE(DesktopMovedOffProgman());
    RecordProgmanSentinel();
    EXPECT_EQ(ProgmanSentinel(), shell_.Progman());
}

TEST_F(DesklinkDiscovery, AutoArrangeFollowsTheStyleAtEveryQuery) {
    for (bool on : {true, false, true}) {
        ASSERT_TRUE(shell_.SetAutoArrange(on));
        EXPECT_EQ(AutoArrangeOn(), on);
    }
}

TEST_F(DesklinkDiscovery, ViewReparentedAwayFromProgmanCountsAsMovedOff) {
    SetParent(shell_.DefView(), GetDesktopWindow());
    ASSERT_TRUE(
        WaitUntil([&] { return GetAncestor(shell_.ListView(), GA_ROOT) != shell_.Progman(); }));
    // The cached list view itself now hangs elsewhere.
    EXPECT_TRUE(DesktopMovedOffProgman());
    EXPECT_EQ(RefreshDesktopListView(), nullptr);
    EXPECT_TRUE(DesktopMovedOffProgman());
}

TEST_F(DesklinkDiscovery, WithoutTheShellFunctionAWebViewWindowMeansActiveDesktop) {
    EXPECT_FALSE(ActiveDesktopOn());
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = names::WebViewClass;
    RegisterClassA(&windowClass);
    HWND webView = CreateWindowA(names::WebViewClass, "", WS_CHILD, 0, 0, 10, 10, shell_.DefView(),
                                 nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(webView, nullptr);
    EXPECT_TRUE(ActiveDesktopOn());
    DestroyWindow(webView);
    EXPECT_FALSE(ActiveDesktopOn());
}

TEST_F(DesklinkDiscovery, DirectQueriesReachTheListView) {
    EXPECT_EQ(static_cast<size_t>(IconCount()), shell_.Layout().size());
    SIZE spacing = IconSpacing();
    EXPECT_GT(spacing.cx, 0);
    EXPECT_GT(spacing.cy, 0);
}

TEST(DesklinkNoShell, QueriesWithoutADesktopAnswerHarmlessly) {
    CloseAllShells();
    EXPECT_EQ(RefreshDesktopListView(), nullptr);
    EXPECT_EQ(IconCount(), 0);
    EXPECT_FALSE(AutoArrangeOn());
    EXPECT_FALSE(DesktopMovedOffProgman());
    IconInfo info{};
    SetHook(FALSE);
    EXPECT_FALSE(GetIconInfo(0, info));
}

} // namespace
