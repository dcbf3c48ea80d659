// Start-up of Tessara.exe: switches, the single instance and the hidden
// window. Where a running first instance is needed, this test plays it: it
// holds "TessaraMutex" and owns a window of the settings window class,
// published in the cross-instance data as the program does, because the real
// settings window only exists once the program has attached to a desktop.
#include "app/command_line.h"
#include "app/hidden_window.h"
#include "app/startup.h"
#include "base/app_state.h"
#include "base/instance_data.h"
#include "base/system_functions.h"
#include "deskhook/shared_names.h"
#include "settings/settings.h"
#include "tests/harness/harness.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

constexpr char kProgram[] = "Tessara.exe";

std::string ProgramFile() {
    return harness::BinDir() + "\\" + kProgram;
}

// What the test's stand-in settings window received.
int closeMessages = 0;
WNDPROC dialogProcedure = nullptr;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ++closeMessages;
        return 0;
    }
    return CallWindowProcA(dialogProcedure, window, message, wParam, lParam);
}

// The first instance as the test plays it.
class FirstInstance {
  public:
    FirstInstance() {
        mutex_ = CreateMutexA(nullptr, FALSE, names::InstanceMutex);
        window_ =
            CreateWindowExA(0, names::SettingsWindowClass, kProgramName, WS_OVERLAPPEDWINDOW, 50,
                            60, 300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        dialogProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
        EnableWindow(window_, FALSE);
        SetSharedSettingsWindow(window_);
        closeMessages = 0;
    }
    ~FirstInstance() {
        SetSharedSettingsWindow(nullptr);
        DestroyWindow(window_);
        CloseHandle(mutex_);
    }
    FirstInstance(const FirstInstance&) = delete;
    FirstInstance& operator=(const FirstInstance&) = delete;

    HWND Window() const { return window_; }

  private:
    HANDLE mutex_ = nullptr;
    HWND window_ = nullptr;
};

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

class Startup : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(OpenInstanceData());
        ASSERT_TRUE(RegisterWindowClasses(GetModuleHandleA(nullptr)));
    }

    void SetUp() override {
        SetSharedSettingsWindow(nullptr);
        SetTestMode(false);
    }

    // Runs Tessara.exe to its end; nothing when it is still running after
    // the timeout (it is then terminated).
    static std::optional<DWORD> RunToEnd(const std::string& args) {
        harness::Process process = harness::Process::Start(kProgram, args);
        EXPECT_TRUE(process.Running()) << args;
        return process.WaitExit();
    }
};

} // namespace

// The binding loads shell32 and the common controls itself: the program
// loads them only at first use, so they would not be found otherwise.
TEST_F(Startup, OptionalShellFunctionsAreFound) {
    BindSystemFunctions();
    BindShellFunctions();
    EXPECT_TRUE(g_system.SHGetSettings);
    EXPECT_TRUE(g_system.SHGetSpecialFolderPathW);
    EXPECT_TRUE(g_system.LoadIconWithScaleDown);
    EXPECT_TRUE(g_system.LockWorkStation);
}

// This process has registered the program's window classes already, so the
// program's own registration fails here.
TEST_F(Startup, WindowsThatCannotBeCreatedEndTheStartWithAMessage) {
    int exitCode = -1;
    std::thread start([&] { exitCode = RunTessara(GetModuleHandleA(nullptr), ""); });
    HWND box = harness::WaitForDialog(kProgramName, GetCurrentProcessId());
    EXPECT_TRUE(box);
    if (box) {
        EXPECT_EQ(harness::MessageBoxText(box),
                  "Tessara could not create its windows and ends.\n\nRestarting Windows may help.");
        harness::PressButton(box, IDOK);
    }
    start.join();
    EXPECT_EQ(exitCode, 1);
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, names::InstanceMutex);
    EXPECT_FALSE(mutex) << "the single-instance mutex is let go";
    if (mutex)
        CloseHandle(mutex);
}

TEST_F(Startup, PositionSwitchesWarnUnderTheProgramsCaption) {
    harness::Shell shell;
    ASSERT_TRUE(shell.Start());
    for (const char* args : {"-save", "-restore"}) {
        SCOPED_TRACE(args);
        ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kProgramKey, kSettingsValue,
                                            std::vector<uint8_t>(kSettingsRecordSize - 1, 1)));
        harness::Process tessara = harness::Process::Start(kProgram, args);
        HWND box = harness::WaitForDialog(kProgramName, tessara.Pid(), 30000);
        ASSERT_TRUE(box);
        EXPECT_EQ(harness::MessageBoxText(box).rfind("Registry settings that were imported", 0),
                  0u);
        harness::PressButton(box, IDOK);
        EXPECT_EQ(tessara.WaitExit(30000), std::optional<DWORD>(0));
    }
    harness::RegDeleteValue(HKEY_CURRENT_USER, kProgramKey, kSettingsValue);
}

TEST_F(Startup, FirstInstanceCreatesTheHiddenWindowAndEndsWithIt) {
    harness::Process tessara = harness::Process::Start(kProgram);
    HWND hidden =
        harness::WaitForWindow(names::HiddenWindowClass, kHiddenWindowTitle, tessara.Pid());
    ASSERT_TRUE(hidden);
    EXPECT_FALSE(IsWindowVisible(hidden));
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, names::InstanceMutex);
    EXPECT_TRUE(mutex);
    if (mutex)
        CloseHandle(mutex);

    EXPECT_EQ(RunToEnd(""), std::optional<DWORD>(0)) << "a second instance ends at once";
    EXPECT_TRUE(tessara.Running());

    PostMessageA(hidden, WM_CLOSE, 0, 0);
    EXPECT_EQ(tessara.WaitExit(), std::optional<DWORD>(0));
}

TEST_F(Startup, SecondInstanceBringsTheFirstOnesWindowForward) {
    FirstInstance first;
    const RECT before = WindowRect(first.Window());
    ASSERT_FALSE(IsWindowVisible(first.Window()));

    EXPECT_EQ(RunToEnd(""), std::optional<DWORD>(0));

    EXPECT_TRUE(IsWindowVisible(first.Window()));
    EXPECT_TRUE(IsWindowEnabled(first.Window()));
    EXPECT_TRUE(SameRect(WindowRect(first.Window()), before));
    EXPECT_FALSE(TestModeOn());
    EXPECT_EQ(closeMessages, 0);
}

TEST_F(Startup, TestSwitchToASecondInstanceSwitchesTheFirstIntoTestMode) {
    FirstInstance first;
    EXPECT_EQ(RunToEnd("-test"), std::optional<DWORD>(0));
    EXPECT_TRUE(TestModeOn());
    EXPECT_TRUE(IsWindowVisible(first.Window()));
}

TEST_F(Startup, StopClosesTheRunningInstance) {
    for (const char* args : {"-stop", "-wait 5 -stop", "-q -stop -bogus"}) {
        FirstInstance first;
        EXPECT_EQ(RunToEnd(args), std::optional<DWORD>(0)) << args;
        EXPECT_EQ(closeMessages, 1) << args;
        EXPECT_FALSE(IsWindowVisible(first.Window())) << args << ": not brought forward";
    }
}

TEST_F(Startup, StopWithoutARunningInstanceEndsAtOnce) {
    harness::Process tessara = harness::Process::Start(kProgram, "-stop");
    EXPECT_EQ(tessara.WaitExit(), std::optional<DWORD>(0));
    EXPECT_FALSE(harness::FindTopLevel(names::HiddenWindowClass, nullptr, tessara.Pid()));
}

TEST_F(Startup, StopDoesNotCloseAWindowThatIsNoSettingsWindow) {
    HWND other = CreateWindowA("STATIC", "other", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
    SetSharedSettingsWindow(other);
    EXPECT_EQ(RunToEnd("-stop"), std::optional<DWORD>(0));
    EXPECT_TRUE(IsWindow(other));
    DestroyWindow(other);
}

TEST_F(Startup, InvalidSwitchShowsTheListOfSwitchesAndEnds) {
    const struct {
        std::string args;
        std::string token;
    } cases[] = {
        {"-Stop", "-Stop"},
        {"-q -wait 3 /save -stop", "/save"},
        {"-q " + std::string(2000, 'y'), std::string(2000, 'y')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.substr(0, 40));
        FirstInstance first;
        harness::Process tessara = harness::Process::Start(kProgram, c.args);
        HWND box = harness::WaitForDialog(kProgramName, tessara.Pid());
        ASSERT_TRUE(box);
        const std::string text = harness::MessageBoxText(box);
        EXPECT_EQ(text, InvalidSwitchMessage(c.token));
        EXPECT_LT(text.size(), kInvalidSwitchMessageSize);
        EXPECT_EQ(text.rfind("Tessara was started with an invalid command line switch (" +
                                 c.token.substr(0, 20),
                             0),
                  0u);
        EXPECT_TRUE(harness::PressButton(box, IDOK));
        EXPECT_EQ(tessara.WaitExit(), std::optional<DWORD>(0));
        EXPECT_EQ(closeMessages, 0) << "switches after the invalid one are not applied";
        EXPECT_FALSE(IsWindowVisible(first.Window()));
    }
}

// Without a desktop to hook, "-save" and "-restore" are ignored and the
// program starts as usual, once the hook library has given up its attempts
// to find the desktop (about 20 seconds).
TEST_F(Startup, PositionSwitchesWithoutADesktopStartNormally) {
    constexpr DWORD kHookGivesUpMs = 45000;
    harness::CloseAllShells();
    for (const char* args : {"-save", "-restore"}) {
        harness::Process tessara = harness::Process::Start(kProgram, args);
        HWND hidden = harness::WaitForWindow(names::HiddenWindowClass, nullptr, tessara.Pid(),
                                             kHookGivesUpMs);
        ASSERT_TRUE(hidden) << args;
        PostMessageA(hidden, WM_CLOSE, 0, 0);
        EXPECT_EQ(tessara.WaitExit(), std::optional<DWORD>(0)) << args;
    }
}

TEST_F(Startup, VersionTextComesFromTheProgramsVersionResource) {
    const std::string expected = std::to_string(TESSARA_VERSION_MAJOR) + "." +
                                 std::to_string(TESSARA_VERSION_MINOR) + "." +
                                 std::to_string(TESSARA_VERSION_PATCH);
    EXPECT_EQ(ReadVersionText(ProgramFile()), expected);
    EXPECT_EQ(expected, TESSARA_VERSION_TEXT);
}

TEST_F(Startup, VersionTextIsEmptyWithoutAVersionResource) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    EXPECT_EQ(ReadVersionText(self), "");
    EXPECT_EQ(ReadVersionText(harness::BinDir() + "\\no such file.exe"), "");
}

TEST_F(Startup, CaptionResourceIsTheProgramName) {
    HMODULE program = LoadLibraryExA(ProgramFile().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(program);
    char caption[kCaptionLength + 1] = "";
    EXPECT_GT(LoadStringA(program, IDS_APP_CAPTION, caption, sizeof caption), 0);
    EXPECT_STREQ(caption, kProgramName);
    FreeLibrary(program);
}

TEST_F(Startup, WindowClassesAreRegisteredAsTheWindowsNeedThem) {
    const struct {
        const char* name;
        int extraBytes;
        INT_PTR background;
    } classes[] = {
        {names::SampleWindowClass, 0, 0},
        {names::SampleTextWindowClass, 0, 0},
        {names::SettingsWindowClass, DLGWINDOWEXTRA, COLOR_MENU + 1},
        {names::HiddenWindowClass, 0, COLOR_WINDOW + 1},
    };
    for (const auto& c : classes) {
        WNDCLASSA info{};
        ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), c.name, &info)) << c.name;
        EXPECT_EQ(info.style, UINT(CS_HREDRAW | CS_VREDRAW)) << c.name;
        EXPECT_EQ(info.cbWndExtra, c.extraBytes) << c.name;
        EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, IDC_ARROW)) << c.name;
        EXPECT_EQ(reinterpret_cast<INT_PTR>(info.hbrBackground), c.background) << c.name;
    }
}
