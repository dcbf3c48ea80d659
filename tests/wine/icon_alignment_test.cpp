// Lining the icons up and the icon dance in the real Tessara.exe against the
// stand-in shell: the places read back from the shell's list view, the locked
// save, the Position hot key's cycle, the dance's run flag and button, and a
// program killed in the middle of a dance.
#include "deskhook/deskhook.h"
#include "desklink/desk_link.h"
#include "icons/icon_alignment.h"
#include "tests/wine/app_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

using app_test::ProgramTest;
using harness::ShellIcon;

namespace {

constexpr DWORD kDeferredStartMs = 10000;
constexpr DWORD kDanceMovesMs = 10000;
// The owner watcher inside the desktop polls twice a second.
constexpr DWORD kOwnerGoneMs = 5000;

constexpr char kNoRoom[] = "At the current screen resolution (1024x768),\nTessara can only line "
                           "up 130 icons but\n131 icons exist.\n\nThe icons were not repositioned.";
constexpr char kAutoArrangeAlign[] = "Icons can not be moved while\nthe desktop is in \"Auto "
                                     "Arrange\" mode.\n\nUncheck Arrange Icons->Auto Arrange.";
constexpr char kAutoArrangeDance[] =
    "Icons can not dance while\nthe desktop is in \"Auto Arrange\" mode.\n\n\nUncheck Arrange "
    "Icons->Auto Arrange.";

struct LayoutButton {
    IconAlignment layout;
    int command;
};
constexpr LayoutButton kButtons[] = {
    {IconAlignment::Top, IDC_ALIGN_TOP},       {IconAlignment::Right, IDC_ALIGN_RIGHT},
    {IconAlignment::Bottom, IDC_ALIGN_BOTTOM}, {IconAlignment::Left, IDC_ALIGN_LEFT},
    {IconAlignment::Edge, IDC_ALIGN_EDGE},
};

// Where Tessara must put the shell's icons: the grid of the 1024 x 768 test
// screen with the list view's spacing, left of it the widest caption overhang.
std::vector<icons::Point> Expected(IconAlignment layout, const std::vector<ShellIcon>& icons,
                                   HWND listView) {
    std::int32_t overhang = 0;
    for (const ShellIcon& icon : icons)
        overhang = std::max<std::int32_t>(overhang, icon.position.x - icon.bounds.left);
    const DWORD spacing = DWORD(SendMessageA(listView, LVM_GETITEMSPACING, FALSE, 0));
    const icons::ScreenGeometry screen{1024, 768, LOWORD(spacing), HIWORD(spacing)};
    const icons::AlignmentGrid grid = icons::MakeAlignmentGrid(layout, screen, overhang);
    return icons::AlignmentPlaces(layout, grid, int(icons.size()));
}

bool At(const std::vector<ShellIcon>& icons, const std::vector<icons::Point>& places) {
    if (icons.size() != places.size())
        return false;
    for (size_t i = 0; i < icons.size(); ++i)
        if (icons[i].position.x != places[i].x || icons[i].position.y != places[i].y)
            return false;
    return true;
}

bool SamePlaces(const std::vector<ShellIcon>& a, const std::vector<ShellIcon>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].position.x != b[i].position.x || a[i].position.y != b[i].position.y)
            return false;
    return true;
}

// Each icon somewhere else than the grid the shell starts with, so that every
// layout moves them.
void Scatter(const harness::Shell& shell) {
    const int count = shell.IconCount();
    for (int i = 0; i < count; ++i)
        SendMessageA(shell.ListView(), LVM_SETITEMPOSITION, i,
                     MAKELPARAM(110 + (i * 137) % 700, 90 + (i * 53) % 500));
}

// Moves the cursor a pixel every 20 ms, to and fro along a short line, for
// the life of the object: the dance sees a cursor that never rests.
class MovingCursor {
  public:
    static constexpr POINT kCentre{530, 400};

    MovingCursor()
        : thread_([this] {
              for (int step = 0; !stop_; ++step) {
                  const int offset = step % 60 < 30 ? step % 30 : 30 - step % 30;
                  SetCursorPos(kCentre.x - 15 + offset, kCentre.y);
                  Sleep(20);
              }
          }) {}
    ~MovingCursor() {
        stop_ = true;
        thread_.join();
    }

  private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

LONG DanceFlag() {
    const SharedBlock* block = DeskBlock();
    return block ? block->DanceRunning : -1;
}

class IconMoves : public ProgramTest {
  protected:
    static Settings Record() {
        Settings record = SettingsTemplate();
        record.HideByCursor = 0;
        record.HideAlways = 0;
        record.PerResolutionPositions = 1;
        record.AutoRestorePositions = 0;
        record.AutoResample = 0;
        record.TrayShowDance = 1;
        return record;
    }

    void TearDown() override {
        ProgramTest::TearDown();
        shell_.Stop();
    }

    // Starts the shell with its icons scattered, Tessara with no saved set:
    // the first start saves the scattered places.
    void Start(harness::ShellOptions options = {}, Settings record = Record()) {
        ASSERT_TRUE(harness::RegDeleteKeyTree(HKEY_CURRENT_USER, kProgramKey));
        ASSERT_TRUE(shell_.Start(options));
        Scatter(shell_);
        saved_ = shell_.Layout();
        StartProgram(record);
        ASSERT_TRUE(harness::WaitUntil([] {
            return harness::RegRead(HKEY_CURRENT_USER, kProgramKey, "SavedIcons_1024_768")
                .has_value();
        }));
    }

    bool SaveEnabled() const {
        return IsWindowEnabled(GetDlgItem(tessara_.Window(), IDC_SAVE_POSITIONS)) != FALSE;
    }

    std::string DanceButton() const { return harness::ControlText(tessara_.Window(), IDC_DANCE); }

    bool Home() const { return SamePlaces(shell_.Layout(), saved_); }

    // Polls the shell a few times a second only, leaving the desktop's time
    // to the dance.
    template <typename Predicate> static bool Sampled(Predicate holds, DWORD timeoutMs) {
        return harness::WaitUntil(
            [&] {
                harness::PumpMessages(150);
                return holds();
            },
            timeoutMs);
    }

    int StandingOnHomePlaces() const {
        int count = 0;
        for (const ShellIcon& icon : shell_.Layout())
            count += std::any_of(saved_.begin(), saved_.end(), [&](const ShellIcon& home) {
                return home.position.x == icon.position.x && home.position.y == icon.position.y;
            });
        return count;
    }

    // Answers the message box the command posted brings up.
    void ExpectRefusal(int command, const std::string& text) {
        PostMessageA(tessara_.Window(), WM_COMMAND, command, 0);
        HWND box = harness::WaitForDialog("Tessara", tessara_.Pid());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(harness::MessageBoxText(box), text);
        EXPECT_TRUE(harness::PressButton(box, IDOK));
        EXPECT_TRUE(harness::WaitForWindowGone(box));
    }

    void StartDance(int command) {
        tessara_.Command(command);
        EXPECT_EQ(DanceFlag(), 1);
        EXPECT_EQ(DanceButton(), "X");
        EXPECT_FALSE(SaveEnabled());
        EXPECT_TRUE(harness::WaitUntil([&] { return !Home(); }, kDanceMovesMs))
            << "no icon moved while the dance ran";
    }

    void StopDance(int command) {
        tessara_.Command(command);
        EXPECT_EQ(DanceFlag(), 0);
        EXPECT_EQ(DanceButton(), "?");
        EXPECT_TRUE(Home());
        // Every dance thread has ended: nothing moves any more.
        EXPECT_TRUE(harness::HoldsFor([&] { return Home(); }, 400));
        EXPECT_TRUE(SaveEnabled());
        EXPECT_EQ(Instances().IconsTemporarilyMoved, 0);
    }

    std::vector<ShellIcon> saved_;
};

TEST_F(IconMoves, EachLayoutLinesADozenIconsUpAndARestoreUnlocksSaving) {
    Start();
    ASSERT_EQ(saved_.size(), 12u);
    for (const LayoutButton& button : kButtons) {
        const auto expected = Expected(button.layout, shell_.Layout(), shell_.ListView());
        tessara_.Command(button.command);
        EXPECT_TRUE(At(shell_.Layout(), expected)) << "layout " << int(button.layout);
        EXPECT_TRUE(IsWindowVisible(shell_.ListView()));
        EXPECT_FALSE(SaveEnabled());
        EXPECT_EQ(Instances().IconsTemporarilyMoved, 1);
    }

    // Enough icons for a whole ring around the edge and a second one begun.
    for (int i = 13; i <= 50; ++i)
        shell_.Add("Icon " + std::to_string(i));
    const auto ring = Expected(IconAlignment::Edge, shell_.Layout(), shell_.ListView());
    tessara_.Command(IDC_ALIGN_EDGE);
    EXPECT_TRUE(At(shell_.Layout(), ring));
    tessara_.Command(IDC_HIDE_WINDOW);
    harness::PumpMessages(200);
    harness::Screenshot("icons_edge_layout");
    for (int i = 49; i >= 12; --i)
        ASSERT_TRUE(shell_.Remove(i));

    tessara_.Command(IDC_RESTORE_POSITIONS);
    EXPECT_TRUE(Home());
    EXPECT_TRUE(SaveEnabled());
    EXPECT_EQ(Instances().IconsTemporarilyMoved, 0);
}

TEST_F(IconMoves, AsManyIconsAsTheScreenHoldsLineUpAndOneMoreIsRefused) {
    Start(harness::ShellOptions::WithIcons(131));
    ExpectRefusal(IDC_ALIGN_EDGE, kNoRoom);
    EXPECT_TRUE(Home());
    EXPECT_TRUE(SaveEnabled());
    EXPECT_EQ(Instances().IconsTemporarilyMoved, 0);

    ASSERT_TRUE(shell_.Remove(130));
    saved_.pop_back();
    const auto expected = Expected(IconAlignment::Edge, shell_.Layout(), shell_.ListView());
    tessara_.Command(IDC_ALIGN_EDGE);
    EXPECT_TRUE(At(shell_.Layout(), expected));
    // Exit puts the saved places back.
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    EXPECT_TRUE(Home());
}

TEST_F(IconMoves, AutoArrangeRefusesAlignmentAndDanceEvenWhenQuiet) {
    harness::ShellOptions options;
    options.autoArrange = true;
    ASSERT_TRUE(harness::RegDeleteKeyTree(HKEY_CURRENT_USER, kProgramKey));
    ASSERT_TRUE(shell_.Start(options));
    saved_ = shell_.Layout();
    StartProgram(Record());
    ExpectRefusal(IDC_ALIGN_TOP, kAutoArrangeAlign);
    ExpectRefusal(IDM_ICON_DANCE, kAutoArrangeDance);
    EXPECT_TRUE(Home());
    EXPECT_EQ(DanceFlag(), 0);
    EXPECT_EQ(DanceButton(), "?");
    EXPECT_EQ(Instances().IconsTemporarilyMoved, 0);
}

TEST_F(IconMoves, PositionHotKeyCyclesFiveLayoutsThenRestores) {
    Settings record = Record();
    record.HotKeyPositionOn = 1;
    Start({}, record);
    // Registered by the deferred start: this process cannot take it then.
    ASSERT_TRUE(harness::WaitUntil(
        [] {
            if (RegisterHotKey(nullptr, 0x7000, MOD_CONTROL | MOD_ALT, 'Z')) {
                UnregisterHotKey(nullptr, 0x7000);
                return false;
            }
            return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
        },
        kDeferredStartMs));
    const auto pressCtrlAltZ = [] { harness::PressKeys({VK_CONTROL, VK_MENU, 'Z'}); };
    for (const LayoutButton& button : kButtons) {
        const auto expected = Expected(button.layout, shell_.Layout(), shell_.ListView());
        pressCtrlAltZ();
        EXPECT_TRUE(harness::WaitUntil([&] { return At(shell_.Layout(), expected); }))
            << "press for layout " << int(button.layout);
    }
    pressCtrlAltZ();
    EXPECT_TRUE(harness::WaitUntil([&] { return Home() && SaveEnabled(); }))
        << "the sixth press restores";
    const auto top = Expected(IconAlignment::Top, saved_, shell_.ListView());
    pressCtrlAltZ();
    EXPECT_TRUE(harness::WaitUntil([&] { return At(shell_.Layout(), top); }))
        << "the seventh press starts again";
}

// Three dances in a row run the three styles in turn.
TEST_F(IconMoves, ThreeDancesInTurnEachEndWithEveryIconHome) {
    Start();
    tessara_.Command(IDC_HIDE_WINDOW);
    StartDance(IDM_ICON_DANCE);
    harness::Screenshot("icon_dance");
    StopDance(IDC_DANCE);

    // An alignment stops the dance first.
    StartDance(IDC_DANCE);
    const auto expected = Expected(IconAlignment::Top, saved_, shell_.ListView());
    tessara_.Command(IDC_ALIGN_TOP);
    EXPECT_EQ(DanceFlag(), 0);
    EXPECT_EQ(DanceButton(), "?");
    EXPECT_TRUE(harness::HoldsFor([&] { return At(shell_.Layout(), expected); }, 400));
    tessara_.Command(IDC_RESTORE_POSITIONS);
    EXPECT_TRUE(Home());

    // So does the exit, which puts the icons home.
    StartDance(IDM_ICON_DANCE);
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    EXPECT_EQ(DanceFlag(), 0);
    EXPECT_TRUE(Home());
}

// Six icons, so that each dance thread gets its moves through the desktop
// at close to its own pace on a busy test machine.
TEST_F(IconMoves, BouncingIconsGlideHomeWhileTheCursorKeepsMoving) {
    Start(harness::ShellOptions::WithIcons(6));
    tessara_.Command(IDC_HIDE_WINDOW);
    SetCursorPos(MovingCursor::kCentre.x, MovingCursor::kCentre.y);
    StartDance(IDM_ICON_DANCE);
    // Swapping icons stand on their places between swaps; bouncing ones
    // hardly ever do. The next dance after a swapping one bounces.
    int standing = 0;
    for (int sample = 0; sample < 8; ++sample) {
        harness::PumpMessages(250);
        standing += StandingOnHomePlaces();
    }
    if (standing > 8) {
        StopDance(IDM_ICON_DANCE);
        StartDance(IDM_ICON_DANCE);
    }
    // After three seconds of movement the icons glide home and stay there
    // while it moves. (The chase in between lasts a second and a half of
    // wall time, too short to observe on a loaded test machine; its steps are
    // covered by the unit tests.)
    MovingCursor cursor;
    EXPECT_TRUE(Sampled([&] { return Home(); }, 10000));
}

TEST_F(IconMoves, KilledDuringADanceLeavesTheDesktopUsable) {
    Start();
    StartDance(IDM_ICON_DANCE);
    tessara_.Process().Terminate();
    // The desktop side clears the flag once it sees its owner gone, so that
    // hiding works again, and shows the icons.
    EXPECT_TRUE(harness::WaitUntil([] { return DanceFlag() == 0; }, kOwnerGoneMs));
    EXPECT_TRUE(IsWindowVisible(shell_.ListView()));
    const auto left = shell_.Layout();
    EXPECT_TRUE(harness::HoldsFor([&] { return SamePlaces(shell_.Layout(), left); }, 300))
        << "icons still move";
    HideDesktopIcons(FALSE);
    EXPECT_TRUE(harness::WaitUntil([&] { return !IsWindowVisible(shell_.ListView()); }));
    ShowWindow(shell_.ListView(), SW_SHOW);

    // A flag still set when the next Tessara starts is cleared by it, and the
    // saved places come back with a restore.
    InterlockedExchange(&DeskBlock()->DanceRunning, 1);
    StartProgram(Record());
    EXPECT_EQ(DanceFlag(), 0);
    EXPECT_EQ(DanceButton(), "?");
    tessara_.Command(IDC_RESTORE_POSITIONS);
    EXPECT_TRUE(Home());
}

// The list view's classic position message carries 16 bits a coordinate;
// the desktop side places icons at any coordinate, as on a monitor left of or
// above the primary one, or far right of it.
TEST(IconPlacesFar, NegativeAndWideCoordinatesLandWhereAsked) {
    harness::Shell shell;
    ASSERT_TRUE(shell.Start());
    ScopedDesktopAttachment attachment;
    ASSERT_TRUE(attachment.Linked());
    const POINT places[] = {{-1500, 70000}, {70000, -40000}, {-32769, 32768}, {40, 50}};
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(SetIconPosition(i, places[i]));
    const auto layout = shell.Layout();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(layout[i].position.x, places[i].x) << i;
        EXPECT_EQ(layout[i].position.y, places[i].y) << i;
    }
    IconInfo info;
    ASSERT_TRUE(GetIconInfo(1, info));
    EXPECT_EQ(info.position.x, 70000);
    EXPECT_EQ(info.position.y, -40000);
}

} // namespace
