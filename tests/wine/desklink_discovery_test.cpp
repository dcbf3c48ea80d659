// The desktop queries against the stand-in desktop shell.
#include "deskhook/deskhook.h"
#include "deskhook/shared_names.h"
#include "desklink/desk_link.h"
#include "testbed/deskshell/deskshell_protocol.h"
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

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

ShellOptions InLayout(ViewLayout layout) {
    ShellOptions options;
    options.layout = static_cast<int>(layout);
    return options;
}

struct LayoutCase {
    ViewLayout layout;
    const char* parentClass; // of SHELLDLL_DefView
    bool topLevelParent;
};

const LayoutCase kLayouts[] = {
    {ViewLayout::Progman, "Progman", true},
    {ViewLayout::WorkerW, "WorkerW", true},
    {ViewLayout::UnderProgmanChild, "WorkerW", false},
};

// Wherever the view hangs, it is found, and it is the normal desktop.
TEST(DesklinkLayouts, TheViewIsFoundInEachLayout) {
    Shell shell;
    for (const LayoutCase& c : kLayouts) {
        SCOPED_TRACE(kViewLayoutNames[static_cast<int>(c.layout)]);
        ASSERT_TRUE(shell.Start(InLayout(c.layout)));
        HWND parent = GetParent(shell.DefView());
        ASSERT_EQ(ClassOf(parent), c.parentClass);
        ASSERT_EQ(GetAncestor(parent, GA_ROOT) == parent, c.topLevelParent);
        EXPECT_EQ(GetDeskTopView(), shell.DefView());
        EXPECT_EQ(GetDeskTopListView(), shell.ListView());
        EXPECT_EQ(RefreshDesktopListView(), shell.ListView());
        EXPECT_FALSE(DesktopMovedOffProgman());
        RecordProgmanSentinel();
        EXPECT_EQ(ProgmanSentinel(), shell.Progman());
    }
}

// The shell keeps an empty "WorkerW" in front of the one holding the view.
TEST(DesklinkLayouts, AnEmptyWorkerBeforeTheOneHoldingTheViewIsPassedOver) {
    Shell shell;
    ASSERT_TRUE(shell.Start(InLayout(ViewLayout::WorkerW)));
    HWND first = FindWindowExA(nullptr, nullptr, "WorkerW", nullptr);
    ASSERT_NE(first, GetParent(shell.DefView())) << "the shell's layout no longer tests this";
    EXPECT_EQ(FindWindowExA(first, nullptr, names::DefViewClass, nullptr), nullptr);
    EXPECT_EQ(GetDeskTopView(), shell.DefView());
}

// Explorer re-parents the view it has: the same list view, found in its new
// place, and the cached handle is still the normal desktop.
TEST(DesklinkLayouts, AViewMovedAtRunTimeIsFollowed) {
    Shell shell;
    ASSERT_TRUE(shell.Start());
    const HWND listView = shell.ListView();
    ASSERT_EQ(RefreshDesktopListView(), listView);
    for (ViewLayout layout : {ViewLayout::WorkerW, ViewLayout::UnderProgmanChild,
                              ViewLayout::WorkerW, ViewLayout::Progman}) {
        SCOPED_TRACE(kViewLayoutNames[static_cast<int>(layout)]);
        ASSERT_TRUE(shell.MoveView(static_cast<int>(layout)));
        ASSERT_EQ(shell.ListView(), listView);
        EXPECT_FALSE(DesktopMovedOffProgman()) << "before the cache is refreshed";
        EXPECT_EQ(GetDeskTopListView(), listView);
    }
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
