// Tessara.exe waits for the desktop, attaches to it and opens its settings
// window; the window's place is remembered.
#include "base/instance_data.h"
#include "desklink/desk_link.h"
#include "tests/wine/app_program.h"
#include "tests/wine/colors_wine.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

using app_test::Tessara;

namespace {

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

class AppAttach : public app_test::ProgramTest {
  protected:
    void SetUp() override { app_test::ForgetSettings(); }
};

} // namespace

TEST_F(AppAttach, StartedBeforeTheDesktopItWaitsSilentlyAndOpensOnceTheDesktopComes) {
    harness::CloseAllShells();
    LaunchProgram();
    EXPECT_TRUE(harness::HoldsFor(
        [&] {
            return !harness::FindTopLevel("#32770", nullptr, tessara_.Pid()) &&
                   !harness::FindTopLevel(names::SettingsWindowClass, nullptr, tessara_.Pid());
        },
        3000))
        << "no message, no window";

    ASSERT_TRUE(shell_.Start());
    ASSERT_TRUE(tessara_.WaitForWindow(app_test::kAttachMs));
    EXPECT_TRUE(harness::WaitUntil([&] { return IsWindowVisible(tessara_.Window()) != FALSE; }));
    EXPECT_TRUE(shell_.IsListViewSubclassed());
    EXPECT_EQ(harness::WindowText(tessara_.Window()), "Tessara");
    harness::PumpMessages(500);
    const std::string shot = harness::Screenshot("app_settings_window");
    EXPECT_FALSE(shot.empty());

    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    EXPECT_TRUE(app_test::StoredSettings()) << "saved at shutdown";
    EXPECT_FALSE(shell_.IsListViewSubclassed()) << "detached at shutdown";
}

TEST_F(AppAttach, HideWhenStartedKeepsTheWindowHidden) {
    for (int hide : {1, 0}) {
        SCOPED_TRACE(hide);
        Settings record = SettingsTemplate();
        record.HideWhenStarted = hide;
        ASSERT_TRUE(shell_.Start());
        LaunchProgram(record);
        ASSERT_TRUE(tessara_.WaitForWindow());
        // Shown at once when it is to be shown; given the same time, it stays hidden.
        const bool shown =
            harness::WaitUntil([&] { return IsWindowVisible(tessara_.Window()) != FALSE; }, 3000);
        EXPECT_EQ(shown, hide == 0);
        EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    }
}

TEST_F(AppAttach, WindowSitsUnderTheButtonsWithTheStatusLineBelow) {
    ASSERT_TRUE(shell_.Start());
    LaunchProgram();
    HWND window = tessara_.WaitForShownWindow();
    ASSERT_TRUE(window);
    const RECT frame = WindowRect(window);
    const RECT tabs = WindowRect(GetDlgItem(window, IDC_TABS));
    const RECT help = WindowRect(GetDlgItem(window, IDC_HELP_BUTTON));
    const RECT status = WindowRect(GetDlgItem(window, IDC_STATUS_LINE));
    EXPECT_EQ(frame.right - frame.left, tabs.right - tabs.left + 14);
    EXPECT_GT(frame.bottom, help.bottom + 4) << "room for the status line";
    EXPECT_LE(status.top, frame.bottom);
    POINT tabCorner{tabs.left, tabs.top};
    ScreenToClient(window, &tabCorner);
    EXPECT_EQ(tabCorner.x, 4);
    EXPECT_EQ(tabCorner.y, 1);

    const int before = frame.bottom - frame.top;
    tessara_.Command(IDC_SHOW_TOOL_TIPS);
    const RECT without = WindowRect(window);
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_EQ(client.bottom, help.bottom + 4) << "tool tips off: the status line goes";
    EXPECT_EQ(without.top, frame.top) << "resized without moving";
    tessara_.Command(IDC_SHOW_TOOL_TIPS);
    EXPECT_GE(WindowRect(window).bottom - WindowRect(window).top, before);
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
}

// The stored place is never negative, and the next start puts the window
// there but keeps it on the screen.
TEST_F(AppAttach, WindowPlaceIsRememberedAndKeptOnTheScreen) {
    ASSERT_TRUE(shell_.Start());
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const struct {
        POINT moveTo;
        POINT stored;
    } cases[] = {
        {{-50, -30}, {0, 0}},
        {{-20, 100}, {0, 100}},
        {{120, 70}, {120, 70}},
        {{screenWidth - 40, screenHeight - 30}, {screenWidth - 40, screenHeight - 30}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.moveTo.x) + "," + std::to_string(c.moveTo.y));
        ASSERT_TRUE(tessara_.Start());
        ASSERT_TRUE(tessara_.WaitForShownWindow());
        SetWindowPos(tessara_.Window(), nullptr, c.moveTo.x, c.moveTo.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_TRUE(app_test::WaitForStoredNow(tessara_.Window(), [&](const Settings& s) {
            return s.WindowLeft == c.stored.x && s.WindowTop == c.stored.y;
        }));
        EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));

        ASSERT_TRUE(tessara_.Start());
        ASSERT_TRUE(tessara_.WaitForShownWindow());
        const RECT rect = WindowRect(tessara_.Window());
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        EXPECT_EQ(rect.left, std::max(0L, std::min<LONG>(c.stored.x, screenWidth - width)));
        EXPECT_EQ(rect.top, std::max(0L, std::min<LONG>(c.stored.y, screenHeight - height)));
        EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    }
}

// A desktop whose thread does not answer the attach in time: the message,
// then a later try attaches once the desktop answers again.
TEST_F(AppAttach, DesktopThatDoesNotAnswerGetsTheHookMessageThenALaterAttach) {
    ASSERT_TRUE(shell_.Start());
    shell_.Freeze(9000);
    LaunchProgram();
    HWND box = harness::WaitForDialog("Tessara", tessara_.Pid(), app_test::kAttachMs);
    ASSERT_TRUE(box) << "no message";
    EXPECT_EQ(harness::MessageBoxText(box),
              "Unable to set hook to desktop.\n\nTessara can not sample the screen.\n\n"
              "This may be because \"Show Desktop\"\nwas active when Tessara started.\n"
              "If so, make sure at least one window\nis showing and restart Tessara.");
    EXPECT_FALSE(harness::FindTopLevel(names::SettingsWindowClass, nullptr, tessara_.Pid()));
    ASSERT_TRUE(harness::PressButton(box, IDOK));
    ASSERT_TRUE(tessara_.WaitForShownWindow());
    EXPECT_TRUE(harness::WaitUntil([&] { return shell_.IsListViewSubclassed(); }));
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
}

// ---- The link shared with other processes ------------------------------------

namespace {

const char kHelperVariable[] = "TESSARA_APP_LINK_HELPER";
// Set by the test when the helper is to let go of its attachment.
const char kDetachEvent[] = "Local\\TessaraTestDetachNow";

harness::Process StartAttachedHelper() {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    SetEnvironmentVariableA(kHelperVariable, "1");
    harness::Process helper =
        harness::Process::Start(self, "--gtest_filter=AppLinkHelper.AttachUntilTold");
    SetEnvironmentVariableA(kHelperVariable, nullptr);
    return helper;
}

// Deals the icons out along a band that `shift` moves, so that two shifts
// give two layouts that are neither each other nor the shell's own.
void Scramble(const harness::Shell& shell, int shift = 0) {
    const int count = shell.IconCount();
    for (int i = 0; i < count; ++i)
        SendMessageA(shell.ListView(), LVM_SETITEMPOSITION, i,
                     MAKELPARAM(500 + shift - 30 * (i % 10), 60 + shift / 2 + 40 * (i % 12)));
}

bool SamePlaces(const std::vector<harness::ShellIcon>& a,
                const std::vector<harness::ShellIcon>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].position.x != b[i].position.x || a[i].position.y != b[i].position.y)
            return false;
    }
    return true;
}

std::string SavedIconsValue() {
    return "SavedIcons_" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "_" +
           std::to_string(GetSystemMetrics(SM_CYSCREEN));
}

// Saves through the running program and checks that every icon was stored.
void ExpectTheProgramSavesEveryIcon(Tessara& tessara, const harness::Shell& shell) {
    ASSERT_TRUE(harness::RegDeleteValue(HKEY_CURRENT_USER, kProgramKey, SavedIconsValue()));
    tessara.Command(IDM_SAVE_POSITIONS);
    auto value = harness::RegRead(HKEY_CURRENT_USER, kProgramKey, SavedIconsValue());
    ASSERT_TRUE(value) << "nothing saved";
    ASSERT_FALSE(value->data.empty());
    EXPECT_EQ(value->data[0], shell.IconCount());
}

// Saves per resolution, restores only when told.
Settings LinkSettings() {
    Settings record = SettingsTemplate();
    record.PerResolutionPositions = 1;
    record.AutoRestorePositions = 0;
    return record;
}

class AppLink : public app_test::ProgramTest {
  protected:
    void SetUp() override {
        app_test::StoreSettings(LinkSettings());
        ASSERT_TRUE(shell_.Start());
        blockOfTest_ = LocateSharedData();
        ASSERT_NE(blockOfTest_, nullptr);
    }
    // Also waits until the program owns the link.
    void StartProgram(const Settings& record = LinkSettings()) {
        app_test::ProgramTest::StartProgram(record);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(harness::WaitUntil([&] { return OwnedBy(tessara_.Pid()); }));
    }
    // The shell's list view of now is subclassed for process `pid`.
    bool OwnedBy(DWORD pid) const {
        return shell_.IsListViewSubclassed() && blockOfTest_->ListHooked &&
               blockOfTest_->OwnerProcessId == pid && blockOfTest_->ListView == shell_.ListView();
    }

    SharedBlock* blockOfTest_ = nullptr;
};

} // namespace

// Runs only as a helper: attaches, and detaches when told.
TEST(AppLinkHelper, AttachUntilTold) {
    if (!GetEnvironmentVariableA(kHelperVariable, nullptr, 0))
        GTEST_SKIP() << "only run as a helper";
    HANDLE detach = OpenEventA(SYNCHRONIZE, FALSE, kDetachEvent);
    ASSERT_NE(detach, nullptr);
    ASSERT_TRUE(AttachDesktop());
    WaitForSingleObject(detach, INFINITE);
    EXPECT_TRUE(DetachDesktop());
}

TEST_F(AppLink, SwitchRunWhileTheInstanceIsAttachedLeavesItsLink) {
    StartProgram();
    for (const char* which : {"-save", "-restore"}) {
        SCOPED_TRACE(which);
        harness::Process run = harness::Process::Start(app_test::kProgram, which);
        EXPECT_EQ(run.WaitExit(app_test::kAttachMs), std::optional<DWORD>(0));
        EXPECT_TRUE(OwnedBy(tessara_.Pid()));
    }
    ExpectTheProgramSavesEveryIcon(tessara_, shell_);
}

// A "-restore" run starts the paint colours from what the list view shows,
// also through the running instance's link; a "-save" run leaves them.
TEST_F(AppLink, RestoreRunSeedsThePaintColorsAlsoThroughTheInstancesLink) {
    Settings record = LinkSettings();
    record.AutoTextColor = 0;
    record.TextColor = int32_t(RGB(255, 255, 0));
    StartProgram(record);
    // The instance's own colour work at start, which writes the same field,
    // is over once the list view shows its colour.
    const COLORREF shown = RGB(255, 255, 0);
    ASSERT_TRUE(harness::WaitUntil(
        [&] {
            return blockOfTest_->PaintTextColor == shown &&
                   COLORREF(SendMessageA(shell_.ListView(), LVM_GETTEXTCOLOR, 0, 0)) == shown;
        },
        15000));
    const COLORREF other = shown ^ 0x00FFFFFF;
    for (const char* which : {"-save", "-restore"}) {
        SCOPED_TRACE(which);
        blockOfTest_->PaintTextColor = other;
        harness::Process run = harness::Process::Start(app_test::kProgram, which);
        EXPECT_EQ(run.WaitExit(app_test::kAttachMs), std::optional<DWORD>(0));
        EXPECT_TRUE(OwnedBy(tessara_.Pid())) << "the run did not borrow the instance's link";
        EXPECT_EQ(blockOfTest_->PaintTextColor, std::string(which) == "-save" ? other : shown);
    }
}

// The running instance records the width of its build with its "attached"
// flag: a run of the other width has a block of its own, never attached, and
// must link itself rather than trust the flag.
TEST_F(AppLink, SwitchRunDoesNotTrustTheFlagOfAnInstanceOfTheOtherWidth) {
    ASSERT_TRUE(OpenInstanceData());
    ASSERT_EQ(blockOfTest_->ListHooked, nullptr);
    Instances().DesktopAttached = sizeof(void*) == 8 ? 4 : 8;
    ASSERT_TRUE(harness::RegDeleteValue(HKEY_CURRENT_USER, kProgramKey, SavedIconsValue()));
    harness::Process run = harness::Process::Start(app_test::kProgram, "-save");
    EXPECT_EQ(run.WaitExit(app_test::kAttachMs), std::optional<DWORD>(0));
    Instances().DesktopAttached = 0;
    auto value = harness::RegRead(HKEY_CURRENT_USER, kProgramKey, SavedIconsValue());
    ASSERT_TRUE(value) << "the run trusted the flag and saved nothing";
    ASSERT_FALSE(value->data.empty());
    EXPECT_EQ(value->data[0], shell_.IconCount());
    EXPECT_FALSE(shell_.IsListViewSubclassed()) << "the run left its attachment behind";
}

// The program borrowed another process's attachment; that process lets go,
// and the program links itself within a few watchdog ticks.
TEST_F(AppLink, ABorrowedLinkLetGoByItsOwnerIsReattached) {
    HANDLE detach = CreateEventA(nullptr, TRUE, FALSE, kDetachEvent);
    ASSERT_NE(detach, nullptr);
    harness::Process helper = StartAttachedHelper();
    ASSERT_TRUE(harness::WaitUntil([&] { return OwnedBy(helper.Pid()); }, app_test::kAttachMs));
    LaunchProgram(LinkSettings());
    ASSERT_TRUE(tessara_.WaitForShownWindow());
    EXPECT_TRUE(OwnedBy(helper.Pid())) << "the program took the helper's attachment";

    SetEvent(detach);
    EXPECT_EQ(helper.WaitExit(), std::optional<DWORD>(0));
    CloseHandle(detach);
    EXPECT_TRUE(harness::WaitUntil([&] { return OwnedBy(tessara_.Pid()); }, app_test::kAttachMs))
        << "the program did not notice that its link was gone";
    ExpectTheProgramSavesEveryIcon(tessara_, shell_);
}

TEST_F(AppLink, ListViewRecreatedUnderTheSameProgmanIsReattached) {
    StartProgram();
    const HWND progman = shell_.Progman();
    ASSERT_TRUE(shell_.RecreateListView());
    ASSERT_EQ(shell_.Progman(), progman);
    EXPECT_TRUE(harness::WaitUntil([&] { return OwnedBy(tessara_.Pid()); }, app_test::kAttachMs))
        << "the program did not follow the new list view";
    ExpectTheProgramSavesEveryIcon(tessara_, shell_);
}

// "-stop" sends WM_CLOSE. Sent while a restore waits for the desktop's
// answer, it must not be let in there: the shutdown would detach in the
// middle of the restore, which then moves nothing more. The saved layout is
// one of our own, so that the shell's first layout cannot pass for it.
TEST_F(AppLink, CloseSentMidRestoreWaitsForTheRestore) {
    StartProgram();
    Scramble(shell_);
    const std::vector<harness::ShellIcon> saved = shell_.Layout();
    tessara_.Command(IDM_SAVE_POSITIONS);
    ASSERT_TRUE(harness::RegRead(HKEY_CURRENT_USER, kProgramKey, SavedIconsValue()));
    Scramble(shell_, 120);
    ASSERT_FALSE(SamePlaces(shell_.Layout(), saved));

    shell_.Freeze(1500);
    PostMessageA(tessara_.Window(), WM_COMMAND, IDM_RESTORE_POSITIONS, 0);
    harness::PumpMessages(400); // the restore now waits for the desktop's first answer
    DWORD_PTR ignored;
    SendMessageTimeoutA(tessara_.Window(), WM_CLOSE, 0, 0, SMTO_NORMAL, app_test::kAttachMs,
                        &ignored);
    EXPECT_TRUE(tessara_.Process().WaitExit(app_test::kAttachMs));
    EXPECT_TRUE(SamePlaces(shell_.Layout(), saved)) << "the restore was cut short";
    EXPECT_FALSE(shell_.IsListViewSubclassed());
}

// ---- Questions asked with the icon lock free --------------------------------

namespace {

class AppLinkQuestions : public app_test::ProgramTest {};

} // namespace

// A new resolution on an Auto Arrange desktop: the restore refuses with a
// message box. While it waits for the user, a new wallpaper's worker samples
// the captions' background under the icon lock; a box shown with that lock
// held would keep the captions on the old colour until it is closed.
TEST_F(AppLinkQuestions, AWallpaperChangeIsSampledWhileTheDisplayChangeAsks) {
    using namespace colors_test;
    ASSERT_TRUE(shell_.Start());
    ASSERT_TRUE(SetWallpaper(Format::Png, 32, 32, Solid(RGB(90, 140, 200)), Layout::Tiled));
    Settings s = SettingsTemplate();
    s.PerResolutionPositions = 1;
    s.AutoRestorePositions = 1;
    s.AutoTextColor = 1;
    s.TransparentText = 0;
    s.AutoResample = 1;
    StartProgram(s);
    SharedBlock* block = LocateSharedData();
    ASSERT_TRUE(
        harness::WaitUntil([&] { return block->PaintBackColor == RGB(90, 140, 200); }, 15000));

    ASSERT_TRUE(shell_.SetAutoArrange(true));
    PostMessageA(tessara_.Window(), WM_DISPLAYCHANGE, 32, 0);
    HWND box = harness::WaitForDialog("Tessara", tessara_.Pid());
    ASSERT_TRUE(box) << "no Auto Arrange refusal";
    ASSERT_TRUE(SetWallpaper(Format::Png, 32, 32, Solid(RGB(200, 60, 40)), Layout::Tiled));
    EXPECT_TRUE(
        harness::WaitUntil([&] { return block->PaintBackColor == RGB(200, 60, 40); }, 15000))
        << "the worker waited for the question";
    EXPECT_TRUE(IsWindow(box)) << "the box was gone before the check";
    ASSERT_TRUE(harness::PressButton(box, IDOK));
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
}

// ---- Wherever Explorer hangs its view ---------------------------------------

namespace {

const char* const kLayoutNames[] = {"progman", "workerw", "progman-child"};

// Saves a layout of its own, scrambles it, and restores it.
void ExpectSaveAndRestoreWork(Tessara& tessara, const harness::Shell& shell) {
    Scramble(shell);
    const std::vector<harness::ShellIcon> saved = shell.Layout();
    ExpectTheProgramSavesEveryIcon(tessara, shell);
    Scramble(shell, 120);
    ASSERT_FALSE(SamePlaces(shell.Layout(), saved));
    tessara.Command(IDM_RESTORE_POSITIONS);
    EXPECT_TRUE(SamePlaces(shell.Layout(), saved)) << "not restored";
}

} // namespace

TEST_F(AppLink, AttachSaveAndRestoreInEachLayout) {
    for (int layout = 0; layout < 3; ++layout) {
        SCOPED_TRACE(kLayoutNames[layout]);
        harness::ShellOptions options;
        options.layout = layout;
        ASSERT_TRUE(shell_.Start(options));
        StartProgram();
        ExpectSaveAndRestoreWork(tessara_, shell_);
        EXPECT_FALSE(harness::FindTopLevel("#32770", nullptr, tessara_.Pid())) << "a message";
        EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
        EXPECT_FALSE(shell_.IsListViewSubclassed()) << "detached at the end";
    }
}

// As Windows does when a wallpaper slideshow starts: the view moves under a
// top-level "WorkerW" (deskctl move-view) while the program runs, and back.
TEST_F(AppLink, ViewMovedWhileTheProgramRunsKeepsItLinked) {
    StartProgram();
    for (const char* layout : {"workerw", "progman-child", "progman"}) {
        SCOPED_TRACE(layout);
        harness::Process move =
            harness::Process::Start("deskctl.exe", std::string("move-view ") + layout);
        ASSERT_EQ(move.WaitExit(), std::optional<DWORD>(0));
        harness::PumpMessages(2500); // a watchdog tick
        EXPECT_TRUE(OwnedBy(tessara_.Pid()));
        ExpectSaveAndRestoreWork(tessara_, shell_);
        EXPECT_FALSE(harness::FindTopLevel("#32770", nullptr, tessara_.Pid())) << "a message";
    }
}

// A desktop of the other width is never hooked: one plain message, and the
// program ends.
TEST_F(AppAttach, DesktopOfTheOtherWidthIsNamedOnceAndNeverHooked) {
    harness::ShellOptions options;
    options.program = harness::BinDir() + "\\..\\..\\" + (sizeof(void*) == 8 ? "i686" : "x86_64") +
                      "\\bin\\deskshell.exe";
    if (GetFileAttributesA(options.program.c_str()) == INVALID_FILE_ATTRIBUTES ||
        !shell_.Start(options))
        GTEST_SKIP() << "the other build's stand-in is not available here: " << options.program;
    LaunchProgram();
    HWND box = harness::WaitForDialog("Tessara", tessara_.Pid(), app_test::kAttachMs);
    ASSERT_TRUE(box);
    EXPECT_NE(harness::MessageBoxText(box).find(sizeof(void*) == 8 ? "use the 32-bit build"
                                                                   : "use the 64-bit build"),
              std::string::npos)
        << harness::MessageBoxText(box);
    EXPECT_FALSE(shell_.IsListViewSubclassed());
    ASSERT_TRUE(harness::PressButton(box, IDOK));
    EXPECT_EQ(tessara_.Process().WaitExit(), std::optional<DWORD>(0));
    EXPECT_FALSE(harness::FindTopLevel("#32770", nullptr, tessara_.Pid()));
}
