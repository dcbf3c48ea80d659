// Choosing colours by hand in the real Tessara.exe: the screen sampler (a
// pixel, an area's average, Esc, a right press begun before it opened), the
// system colour dialog, and Display Properties opened from the Desktop page
// and kept docked beside the settings window. In the test prefix a stand-in
// takes rundll32.exe's place and shows a window titled "Display Properties".
#include "colours/color_choice.h"
#include "colours/color_choice_win.h"
#include "support/display_properties.h"
#include "tests/wine/app_program.h"
#include "tests/wine/colors_wine.h"
#include "tests/wine/hiding_program.h"
#include "ui/settings_pages.h"

#include <colordlg.h>
#include <commctrl.h>

#include <string>

namespace {

using colors_test::Near;

// ---- Input as a user's --------------------------------------------------------

void Press(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
    harness::PumpMessages(30);
}

void Click(POINT p, bool right = false) {
    hiding_test::MoveCursor(p);
    Press(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    Press(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}

void Key(WORD key) {
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof inputs[0]);
    harness::PumpMessages(30);
}

RECT RectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

POINT CentreOf(HWND window) {
    const RECT rect = RectOf(window);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// ---- The fixture ------------------------------------------------------------------

// A picture with a different colour in every pixel near the places the tests
// pick from.
COLORREF Pattern(int x, int y) {
    return RGB((x * 7) & 0xFF, (y * 5) & 0xFF, ((x + y) * 3) & 0xFF);
}

class ColorPickingTest : public app_test::ProgramTest {
  protected:
    void SetUp() override { ASSERT_TRUE(shell_.Start()); }

    void Start(const Settings& record) {
        StartProgram(record);
        SetForegroundWindow(Window());
    }

    HWND Window() const { return tessara_.Window(); }
    HWND Control(int id) const { return GetDlgItem(Window(), id); }

    void SelectTab(SettingsTab tab) {
        SendMessageA(Control(IDC_TABS), TCM_SETCURFOCUS, WPARAM(tab), 0);
        harness::PumpMessages(200);
    }

    // Right click on a colour box: the sampler covers the screen.
    HWND OpenSampler(int box) {
        Click(CentreOf(Control(box)), true);
        return harness::WaitForWindow(kSamplerClass, kSamplerTitle, tessara_.Pid());
    }
};

Settings PickingSettings() {
    Settings s = SettingsTemplate();
    s.AutoTextColor = 1;
    s.TextColor = int32_t(RGB(1, 2, 3));
    s.TransparentText = 1;
    s.AutoResample = 0;
    return s;
}

} // namespace

TEST_F(ColorPickingTest, SamplerPicksThePixelUnderTheCursorThenTheAreaAverage) {
    ASSERT_TRUE(colors_test::SetWallpaper(colors_test::Format::Bmp, 1024, 768, Pattern,
                                          colors_test::Layout::Stretched));
    Start(PickingSettings());
    HWND sampler = OpenSampler(IDC_TEXT_COLOR_BOX);
    ASSERT_NE(sampler, nullptr);
    const RECT covered = RectOf(sampler);
    EXPECT_EQ(covered.right - covered.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(covered.bottom - covered.top, GetSystemMetrics(SM_CYSCREEN));
    // The release of the press that opened it picked nothing.
    harness::PumpMessages(300);
    EXPECT_TRUE(IsWindow(sampler));

    // The information box beside the cursor, its swatches showing the pixel
    // under the cursor and the area's average, as the screen shows them.
    const POINT at{300, 200};
    hiding_test::MoveCursor(at);
    harness::PumpMessages(300);
    const harness::Image screen = harness::CaptureScreen();
    harness::Screenshot("colors_sampler_info");
    const colors::ScreenSize size{screen.width, screen.height};
    const COLORREF pixel = screen.Pixel(at.x, at.y);
    const COLORREF average = colors::AverageOver(colors::AverageArea(at.x, at.y, size),
                                                 [&](int x, int y) { return screen.Pixel(x, y); });
    // The box's hint is about 300 pixels wide in the variable-width font.
    const int hintWidth = 280, hintHeight = 13;
    const colors::SamplerInfo info = colors::PlaceSamplerInfo(at.x, at.y, hintWidth, hintHeight, size);
    EXPECT_EQ(screen.Pixel(info.box.left + 2, info.box.top + 2), RGB(255, 255, 255));
    const auto centre = [](const colors::PixelRect& r) {
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    };
    const POINT first = centre(info.pixelSwatch), second = centre(info.averageSwatch);
    EXPECT_EQ(screen.Pixel(first.x, first.y), pixel);
    EXPECT_EQ(screen.Pixel(second.x, second.y), average);
    EXPECT_EQ(screen.Pixel(info.pixelSwatch.left, first.y), RGB(255, 255, 255)) << "frame";

    Click(at);
    ASSERT_TRUE(harness::WaitForWindowGone(sampler));
    EXPECT_TRUE(app_test::WaitForStored([&](const Settings& s) {
        return COLORREF(s.TextColor) == pixel && s.AutoTextColor == 0;
    })) << colors_test::Hex(pixel);

    // A right click inside the sampler takes the average around it.
    sampler = OpenSampler(IDC_TEXT_COLOR_BOX);
    ASSERT_NE(sampler, nullptr);
    Click(at, true);
    ASSERT_TRUE(harness::WaitForWindowGone(sampler));
    EXPECT_TRUE(app_test::WaitForStored(
        [&](const Settings& s) { return COLORREF(s.TextColor) == average; }))
        << colors_test::Hex(average);
}

TEST_F(ColorPickingTest, EscClosesTheSamplerAndKeepsTheColourAndItsModes) {
    Start(PickingSettings());
    HWND sampler = OpenSampler(IDC_BACK_COLOR_BOX);
    ASSERT_NE(sampler, nullptr);
    harness::PumpMessages(200);
    Key('A');
    harness::PumpMessages(300);
    EXPECT_TRUE(IsWindow(sampler)) << "another key does nothing";
    Key(VK_ESCAPE);
    ASSERT_TRUE(harness::WaitForWindowGone(sampler));
    // Nothing changed: still transparent, still automatic.
    harness::PumpMessages(500);
    EXPECT_TRUE(app_test::WaitForStored([](const Settings& s) {
        return s.TransparentText == 1 && s.AutoTextColor == 1 &&
               s.TextBackColor == SettingsTemplate().TextBackColor;
    }));
}

TEST_F(ColorPickingTest, TheColourDialogSetsTheBackgroundSolid) {
    Start(PickingSettings());
    Click(CentreOf(Control(IDC_BACK_COLOR_BOX)));
    HWND dialog = harness::WaitForDialog("Color", tessara_.Pid());
    ASSERT_NE(dialog, nullptr);
    harness::Screenshot("colors_color_dialog");
    const struct {
        int id;
        const char* value;
    } fields[] = {{COLOR_RED, "12"}, {COLOR_GREEN, "200"}, {COLOR_BLUE, "77"}};
    for (const auto& field : fields)
        SetDlgItemTextA(dialog, field.id, field.value);
    harness::PumpMessages(200);
    ASSERT_TRUE(harness::PressButton(dialog, IDOK));
    ASSERT_TRUE(harness::WaitForWindowGone(dialog));
    EXPECT_TRUE(app_test::WaitForStored([](const Settings& s) {
        return COLORREF(s.TextBackColor) == RGB(12, 200, 77) && s.TransparentText == 0;
    }));
    EXPECT_EQ(IsDlgButtonChecked(Window(), IDC_SOLID_COLOR), BST_CHECKED);
}
