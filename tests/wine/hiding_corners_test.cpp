// Hot corner, Boss Mouse and the "Show Desktop" action of the real
// Tessara.exe. The shell's handler of ".scf" files in the test prefix is a
// recorder, so every opening of the command file leaves a line in its log.
#include "hiding/show_desktop_file.h"
#include "tests/wine/hiding_program.h"

namespace {

using namespace hiding_test;

constexpr char kScfType[] = "TessaraTest.scf";
constexpr POINT kUpperRight{1023, 0};
constexpr POINT kNearCorner{990, 30};

class CornerTest : public HidingTest {
  protected:
    void SetUp() override {
        HidingTest::SetUp();
        log_ = harness::TempFile("scf_opened");
        const std::string command =
            "\"" + harness::BinDir() + "\\recorder.exe\" \"" + log_ + "\" \"%1\"";
        ASSERT_TRUE(harness::RegWriteString(HKEY_CLASSES_ROOT, ".scf", "", kScfType));
        ASSERT_TRUE(harness::RegWriteString(
            HKEY_CLASSES_ROOT, std::string(kScfType) + "\\shell\\open\\command", "", command));
    }
    void TearDown() override {
        HidingTest::TearDown();
        harness::RegDeleteKeyTree(HKEY_CLASSES_ROOT, ".scf");
        harness::RegDeleteKeyTree(HKEY_CLASSES_ROOT, kScfType);
    }

    static Settings Corner(bool wait) {
        Settings s = QuietSettings();
        s.HotCornerEnabled = 1;
        s.HotCorner = 1; // upper right
        s.HotCornerWait = wait ? 1 : 0;
        s.HotCornerAction = 0;
        return s;
    }

    int Openings() const { return LineCount(ReadFileText(log_)); }
    // Waits for `count` openings, then makes sure no more follow.
    bool OpenedExactly(int count, DWORD settleMs = 1200) const {
        return harness::WaitUntil([&] { return Openings() >= count; }, kSoonMs) &&
               harness::HoldsFor([&] { return Openings() == count; }, settleMs);
    }

    std::string log_;
};

std::string TemporaryDirectory() {
    char directory[MAX_PATH] = "";
    GetTempPathA(sizeof directory, directory);
    return directory;
}

TEST_F(CornerTest, WithoutWaitOpensTheCommandFileOncePerArrival) {
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    ASSERT_EQ(GetFileAttributesA((std::string(windows) + kSystemShowDesktopFile).c_str()),
              INVALID_FILE_ATTRIBUTES);
    Launch(Corner(false));
    harness::MoveMouse(kNearCorner);
    harness::MoveMouse(kUpperRight);
    EXPECT_TRUE(OpenedExactly(1));
    const std::string file = TemporaryDirectory() + kTemporaryShowDesktopFile;
    EXPECT_EQ(ReadFileText(file), std::string(ShowDesktopFileBytes()));
    EXPECT_NE(ReadFileText(log_).find(kTemporaryShowDesktopFile), std::string::npos);
    harness::MoveMouse(kNearCorner);
    harness::PumpMessages(300);
    harness::MoveMouse(kUpperRight);
    EXPECT_TRUE(OpenedExactly(2));
    // One pixel beside the corner is no corner.
    harness::MoveMouse(POINT{1022, 0});
    EXPECT_TRUE(OpenedExactly(2, 600));
}

TEST_F(CornerTest, WithWaitOnlyAfterASecondInTheCorner) {
    Launch(Corner(true));
    harness::MoveMouse(kUpperRight);
    harness::PumpMessages(500);
    harness::MoveMouse(kNearCorner);
    EXPECT_TRUE(harness::HoldsFor([&] { return Openings() == 0; }, 1500));
    harness::MoveMouse(kUpperRight);
    const DWORD arrived = GetTickCount();
    ASSERT_TRUE(OpenedExactly(1));
    EXPECT_GE(GetTickCount() - arrived, 900u);
}

TEST_F(CornerTest, BossMouseActsOncePerEdgeContact) {
    Settings s = Corner(false);
    s.HotCorner = 3; // lower right, out of the way
    s.BossMouse = 1;
    Launch(s);
    harness::MoveMouse(POINT{0, 300});
    EXPECT_TRUE(OpenedExactly(1));
    harness::MoveMouse(POINT{0, 350});
    EXPECT_TRUE(OpenedExactly(1, 600));
    harness::MoveMouse(OnDesktop());
    harness::PumpMessages(300);
    harness::MoveMouse(POINT{500, 0});
    EXPECT_TRUE(OpenedExactly(2));
}

// Without a command file (no temporary folder to write it to), the built-in
// hide minimises the windows itself. A window of a class that "-kill" would
// close is only minimised without it. (Wine's user32 has no EndTask, which
// "-kill" calls where it exists: the class list is covered by unit tests.)
TEST_F(CornerTest, BuiltInHideMinimisesWindowsWhenThereIsNoCommandFile) {
    TestWindow plain(RECT{400, 200, 700, 400});
    TestWindow listed(RECT{420, 220, 720, 420}, "ACDViewer");
    char savedTmp[MAX_PATH] = "", savedTemp[MAX_PATH] = "";
    GetEnvironmentVariableA("TMP", savedTmp, sizeof savedTmp);
    GetEnvironmentVariableA("TEMP", savedTemp, sizeof savedTemp);
    SetEnvironmentVariableA("TMP", "C:\\no such folder\\");
    SetEnvironmentVariableA("TEMP", "C:\\no such folder\\");
    harness::MoveMouse(offDesktop_.Inside());
    app_test::StoreSettings(Corner(false));
    ASSERT_TRUE(tessara_.Start("-q"));
    SetEnvironmentVariableA("TMP", savedTmp);
    SetEnvironmentVariableA("TEMP", savedTemp);
    ASSERT_TRUE(tessara_.WaitForShownWindow());
    ASSERT_TRUE(harness::WaitUntil([&] { return shell_.IsListViewSubclassed(); }));
    harness::MoveMouse(kUpperRight);
    EXPECT_TRUE(harness::WaitUntil([&] { return IsIconic(plain.Get()) != FALSE; }, kSoonMs));
    EXPECT_TRUE(harness::WaitUntil([&] { return IsIconic(listed.Get()) != FALSE; }, kSoonMs));
    EXPECT_TRUE(IsWindowVisible(tessara_.Window())); // its own window stays
    EXPECT_EQ(Openings(), 0);
}

} // namespace
