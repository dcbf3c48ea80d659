// Messages of the settings window of Tessara.exe besides its commands: a
// change of the screen resolution, the status line and the links.
#include "app/status_line.h"
#include "base/instance_data.h"
#include "tests/wine/app_program.h"
#include "ui/settings_pages.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>

namespace {

constexpr char kRelativeSet[] = "SavedIcons_Relative";

std::string ResolutionSet() {
    char name[64];
    std::snprintf(name, sizeof name, "SavedIcons_%d_%d", GetSystemMetrics(SM_CXSCREEN),
                  GetSystemMetrics(SM_CYSCREEN));
    return name;
}

bool SetStored(const std::string& name) {
    return harness::RegRead(HKEY_CURRENT_USER, kProgramKey, name).has_value();
}

void ForgetSet(const std::string& name) {
    ASSERT_TRUE(harness::RegDeleteValue(HKEY_CURRENT_USER, kProgramKey, name));
}

RECT ScreenRectOf(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    return rect;
}

POINT CentreOf(HWND control) {
    const RECT rect = ScreenRectOf(control);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Puts the cursor there and tells the window, as a real move would.
void MoveCursorTo(HWND window, POINT screenPoint) {
    SetCursorPos(screenPoint.x, screenPoint.y);
    ScreenToClient(window, &screenPoint);
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(screenPoint.x, screenPoint.y));
    harness::PumpMessages(100);
}

// Pixels of the link's text drawn mostly in red, or mostly in blue.
struct LinkInk {
    int red = 0;
    int blue = 0;
};

LinkInk InkOf(HWND link) {
    const harness::Image screen = harness::CaptureScreen();
    const RECT rect = ScreenRectOf(link);
    LinkInk ink;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            const COLORREF pixel = screen.Pixel(x, y);
            const int r = GetRValue(pixel), g = GetGValue(pixel), b = GetBValue(pixel);
            ink.red += r > 160 && g < 100 && b < 100;
            ink.blue += b > 160 && r < 100 && g < 100;
        }
    }
    return ink;
}

// The links' ink while the cursor rests at `screenPoint`: red for the link
// under it, blue for the others. Under Wine a repaint reaches the screen a
// little after the message that caused it, and the mouse move that Wine
// queues when a window appears under the cursor may arrive after ours, so the
// move is repeated while the screen is polled.
::testing::AssertionResult InkWithCursorAt(HWND window, POINT screenPoint, int hoveredLink) {
    const int links[] = {IDC_WEB_PAGE_LINK, IDC_FAQ_LINK};
    std::string seen;
    const bool shown = harness::WaitUntil(
        [&] {
            MoveCursorTo(window, screenPoint);
            seen.clear();
            bool expected = true;
            for (int link : links) {
                const LinkInk ink = InkOf(GetDlgItem(window, link));
                const bool red = link == hoveredLink;
                expected = expected && (ink.red > 0) == red && (ink.blue > 0) == !red;
                seen += " link " + std::to_string(link) + ": " + std::to_string(ink.red) +
                        " red, " + std::to_string(ink.blue) + " blue;";
            }
            return expected;
        },
        3000);
    if (shown)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "hovered " << hoveredLink << ":" << seen;
}

class AppMessages : public app_test::ProgramTest {
  protected:
    void SetUp() override { ASSERT_TRUE(shell_.Start()); }
};

} // namespace

TEST_F(AppMessages, FirstStartSavesTheIconsOfTheCurrentMode) {
    const struct {
        int perResolution;
        std::string set;
    } cases[] = {{0, kRelativeSet}, {1, ResolutionSet()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.set);
        ForgetSet(c.set);
        Settings record = SettingsTemplate();
        record.PerResolutionPositions = c.perResolution;
        StartProgram(record);
        EXPECT_TRUE(SetStored(c.set));
        EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    }
}

// Without a set for the new resolution the current places are kept for it;
// without automatic restore a resolution change touches no set.
TEST_F(AppMessages, ResolutionChangeSavesTheIconsWhenTheNewResolutionHasNoSet) {
    for (int autoRestore : {1, 0}) {
        SCOPED_TRACE(autoRestore);
        Settings record = SettingsTemplate();
        record.AutoRestorePositions = autoRestore;
        record.PerResolutionPositions = 1;
        StartProgram(record);
        ForgetSet(ResolutionSet());
        SendMessageA(tessara_.Window(), WM_DISPLAYCHANGE, 24,
                     MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
        EXPECT_EQ(SetStored(ResolutionSet()), autoRestore == 1);
        EXPECT_TRUE(IsWindow(tessara_.Window()));
        EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    }
}

TEST_F(AppMessages, LinkUnderTheCursorTurnsRed) {
    // Without tool tips: the link's tip would pop up over the link under the
    // resting cursor and hide its ink from the screenshot.
    Settings record = SettingsTemplate();
    record.ShowToolTips = 0;
    StartProgram(record);
    HWND window = tessara_.Window();
    harness::PumpMessages(1000); // the window paints after it is shown
    EXPECT_FALSE(harness::Screenshot("app_settings_window_with_pages").empty());
    for (int hovered : {IDC_WEB_PAGE_LINK, IDC_FAQ_LINK})
        EXPECT_TRUE(InkWithCursorAt(window, CentreOf(GetDlgItem(window, hovered)), hovered));
    EXPECT_TRUE(InkWithCursorAt(window, CentreOf(GetDlgItem(window, IDC_TABS)), 0));
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
}

TEST_F(AppMessages, ShowIconsHotKeyBringsHiddenIconsBackInAlwaysHideMode) {
    for (int hideAlways : {1, 0}) {
        SCOPED_TRACE(hideAlways);
        Settings record = SettingsTemplate();
        record.HideAlways = hideAlways;
        record.HideByCursor = 0;
        StartProgram(record);
        ShowWindow(shell_.ListView(), SW_HIDE);
        SendMessageA(tessara_.Window(), WM_HOTKEY, 0xBFFE, 0);
        // Shown by the desktop's thread when it gets to it.
        const auto shown = [&] { return IsWindowVisible(shell_.ListView()) != FALSE; };
        if (hideAlways == 1)
            EXPECT_TRUE(harness::WaitUntil(shown));
        else
            EXPECT_FALSE(harness::WaitUntil(shown, 500));
        ShowWindow(shell_.ListView(), SW_SHOW);
        EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    }
}

// The delays go through a start and an exit unchanged, whatever the sliders
// did while the window was built.
TEST_F(AppMessages, DelaysSurviveAStartAndAnExit) {
    Settings record = SettingsTemplate();
    record.HideOnDesktopDelay = 17;
    record.HideOffDesktopDelay = 3;
    record.ShowDelay = 42;
    record.ClickShowTime = 25;
    StartProgram(record);
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    const std::optional<Settings> stored = app_test::StoredSettings();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->HideOnDesktopDelay, 17);
    EXPECT_EQ(stored->HideOffDesktopDelay, 3);
    EXPECT_EQ(stored->ShowDelay, 42);
    EXPECT_EQ(stored->ClickShowTime, 25);
}

TEST_F(AppMessages, MovedDelaySliderSetsItsSettingAndLabel) {
    StartProgram(SettingsTemplate());
    const struct {
        int slider;
        int label;
        int value;
        const char* text;
        int32_t Settings::*field;
    } cases[] = {
        {IDC_HIDE_OFF_DESKTOP_DELAY, IDC_HIDE_OFF_DESKTOP_DELAY_VALUE, 7, "7 Seconds",
         &Settings::HideOffDesktopDelay},
        {IDC_HIDE_ON_DESKTOP_DELAY, IDC_HIDE_ON_DESKTOP_DELAY_VALUE, 1, "1 Second",
         &Settings::HideOnDesktopDelay},
        {IDC_SHOW_DELAY, IDC_SHOW_DELAY_VALUE, 26, "2.5 Sec", &Settings::ShowDelay},
        {IDC_CLICK_SHOW_TIME, IDC_CLICK_SHOW_TIME_VALUE, 60, "60 Seconds",
         &Settings::ClickShowTime},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        HWND slider = GetDlgItem(tessara_.Window(), c.slider);
        ASSERT_TRUE(slider);
        SendMessageA(slider, TBM_SETPOS, TRUE, c.value);
        SendMessageA(tessara_.Window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, c.value),
                     reinterpret_cast<LPARAM>(slider));
        EXPECT_EQ(harness::ControlText(tessara_.Window(), c.label), c.text);
        EXPECT_TRUE(
            app_test::WaitForStored([&](const Settings& s) { return s.*c.field == c.value; }));
    }
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
}

// In this process: a window that stands in for the settings window.
TEST(AppStatusLine, FailingCallShowsTheSystemsTextForItsError) {
    ASSERT_TRUE(OpenInstanceData());
    HWND window = CreateWindowA("STATIC", "settings", WS_OVERLAPPED, 0, 0, 300, 100, nullptr,
                                nullptr, nullptr, nullptr);
    HWND status =
        CreateWindowA("STATIC", "", WS_CHILD, 0, 80, 300, 16, window,
                      reinterpret_cast<HMENU>(INT_PTR(IDC_STATUS_LINE)), nullptr, nullptr);
    ASSERT_TRUE(status);
    SetSharedSettingsWindow(window);

    SetStatusLine("ready");
    EXPECT_EQ(harness::WindowText(status), "ready");
    std::string texts[2];
    const DWORD errors[] = {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED};
    for (int i = 0; i < 2; ++i) {
        ShowErrorInStatusLine(errors[i]);
        texts[i] = harness::WindowText(status);
        EXPECT_FALSE(texts[i].empty()) << errors[i];
        EXPECT_NE(texts[i], "ready");
    }
    EXPECT_NE(texts[0], texts[1]);

    SetSharedSettingsWindow(nullptr);
    SetStatusLine("nowhere");
    EXPECT_EQ(harness::WindowText(status), texts[1]) << "no settings window: nothing written";
    DestroyWindow(window);
}

TEST_F(AppMessages, HintShowsOverTheColorBoxesOnly) {
    StartProgram(SettingsTemplate());
    HWND window = tessara_.Window();
    HWND hint = GetDlgItem(window, IDC_COLOR_BOX_HINT);
    EXPECT_EQ(harness::WindowText(hint),
              "Click to select a color.\n\n Left click for a color box.\n\n"
              "Right click to select directly from the current desktop.");
    // The mouse move that Wine queues for a cursor move may arrive after the
    // one sent here: the move is repeated until the hint follows.
    const auto hintWithCursorOver = [&](int id) {
        harness::WaitUntil(
            [&] {
                MoveCursorTo(window, CentreOf(GetDlgItem(window, id)));
                return (IsWindowVisible(hint) != FALSE) == (id != IDC_HELP_BUTTON);
            },
            3000);
        return IsWindowVisible(hint) != FALSE;
    };
    for (int box : {IDC_TEXT_COLOR_BOX, IDC_BACK_COLOR_BOX}) {
        SCOPED_TRACE(box);
        EXPECT_TRUE(hintWithCursorOver(box));
        EXPECT_FALSE(hintWithCursorOver(IDC_HELP_BUTTON));
    }
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
}

// The word is typed on the window itself; a wrong letter starts it again.
TEST_F(AppMessages, TypedWordSwitchesTestMode) {
    ASSERT_TRUE(OpenInstanceData());
    SetTestMode(false);
    StartProgram(SettingsTemplate());
    const auto type = [&](const char* keys) {
        for (const char* key = keys; *key; ++key)
            SendMessageA(tessara_.Window(), WM_KEYDOWN, WPARAM(*key), 0);
    };
    type("KIWKIW");
    EXPECT_FALSE(TestModeOn());
    type("KIWI");
    EXPECT_TRUE(TestModeOn());
    EXPECT_EQ(SendDlgItemMessageA(tessara_.Window(), IDC_TABS, TCM_GETITEMCOUNT, 0, 0),
              kPermanentTabCount + 1);
    // The page refresh that the wallpaper worker's end brings may already have
    // put the page's own text back.
    const std::string status = tessara_.StatusLine();
    EXPECT_TRUE(status == "Test mode is Enabled" ||
                status == TabInfoOf(SettingsTab::Test).statusText)
        << status;
    type("KIWI");
    EXPECT_FALSE(TestModeOn());
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
}

// Until the alignments exist, the cycle's sixth step, the restore, is what
// the Position hot key visibly does.
TEST_F(AppMessages, PositionHotKeyRestoresTheIconsAtTheEndOfItsCycle) {
    Settings record = SettingsTemplate();
    record.PerResolutionPositions = 0;
    StartProgram(record);
    ASSERT_TRUE(harness::WaitUntil([] { return SetStored(kRelativeSet); }));
    const std::vector<harness::ShellIcon> saved = shell_.Layout();
    ASSERT_FALSE(saved.empty());
    for (int press = 0; press < 5; ++press)
        SendMessageA(tessara_.Window(), WM_HOTKEY, 0xBFFC, 0);
    SendMessageA(shell_.ListView(), LVM_SETITEMPOSITION, 0,
                 MAKELPARAM(saved[0].position.x + 300, saved[0].position.y + 200));
    ASSERT_NE(shell_.Layout()[0].position.x, saved[0].position.x);
    SendMessageA(tessara_.Window(), WM_HOTKEY, 0xBFFC, 0);
    EXPECT_TRUE(harness::WaitUntil([&] {
        const std::vector<harness::ShellIcon> now = shell_.Layout();
        return !now.empty() && now[0].position.x == saved[0].position.x &&
               now[0].position.y == saved[0].position.y;
    }));
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
}
