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

void RightClick(POINT p) {
    harness::Click(p, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
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

class ColorPickingTest : public app_test::ProgramTest {
  protected:
    void SetUp() override { ASSERT_TRUE(shell_.Start()); }

    void Start(const Settings& record) {
        StartProgram(record);
        SetForegroundWindow(Window());
        ASSERT_TRUE(harness::WaitUntil([&] { return GetForegroundWindow() == Window(); }));
    }

    HWND Window() const { return tessara_.Window(); }
    HWND Control(int id) const { return GetDlgItem(Window(), id); }

    // Right click on a colour box, once it is shown: the sampler covers the
    // screen. Under Wine the first input after a start can be lost while the
    // pointer's owner changes, so the click is repeated once when nothing
    // opened (a loaded machine may take seconds to show it).
    HWND OpenSampler(int box) {
        if (!harness::WaitUntil([&] { return IsWindowVisible(Control(box)) != FALSE; }))
            return nullptr;
        for (int attempt = 0; attempt < 2; ++attempt) {
            RightClick(CentreOf(Control(box)));
            if (HWND sampler =
                    harness::WaitForWindow(kSamplerClass, kSamplerTitle, tessara_.Pid(), 8000))
                return sampler;
        }
        return nullptr;
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

// The sampler shows what PaintDesktop paints: the wallpaper and the desktop
// colour on Windows, plain white under Wine. So the expected colours are
// read from the screen while the sampler covers it.
TEST_F(ColorPickingTest, SamplerPicksThePixelUnderTheCursorThenTheAreaAverage) {
    Start(PickingSettings());
    HWND sampler = OpenSampler(IDC_TEXT_COLOR_BOX);
    ASSERT_NE(sampler, nullptr);
    const RECT covered = RectOf(sampler);
    EXPECT_EQ(covered.right - covered.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(covered.bottom - covered.top, GetSystemMetrics(SM_CYSCREEN));
    // The release of the press that opened it picked nothing.
    EXPECT_TRUE(harness::HoldsFor([&] { return IsWindow(sampler) != FALSE; }, 300));

    // The information box beside the cursor, its swatches showing the pixel
    // under the cursor and the area's average, as the screen shows them.
    const POINT at{300, 200};
    harness::MoveMouse(at);
    const colors::ScreenSize size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    // The box's hint is about 300 pixels wide in the variable-width font.
    const int hintWidth = 280, hintHeight = 13;
    const colors::SamplerInfo info =
        colors::PlaceSamplerInfo(at.x, at.y, hintWidth, hintHeight, size);
    const auto centre = [](const colors::PixelRect& r) {
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    };
    const POINT first = centre(info.pixelSwatch), second = centre(info.averageSwatch);
    harness::Image screen;
    COLORREF pixel = 0, average = 0;
    // Until the box is drawn; then the last capture is checked.
    harness::WaitUntil([&] {
        screen = harness::CaptureScreen();
        pixel = screen.Pixel(at.x, at.y);
        average = colors::AverageOver(colors::AverageArea(at.x, at.y, size),
                                      [&](int x, int y) { return screen.Pixel(x, y); });
        return screen.Pixel(first.x, first.y) == pixel &&
               screen.Pixel(second.x, second.y) == average;
    });
    harness::Screenshot("colors_sampler_info");
    EXPECT_EQ(screen.Pixel(info.box.left + 2, info.box.top + 2), RGB(255, 255, 255));
    EXPECT_EQ(screen.Pixel(first.x, first.y), pixel);
    EXPECT_EQ(screen.Pixel(second.x, second.y), average);
    EXPECT_EQ(screen.Pixel(info.pixelSwatch.left, first.y), RGB(255, 255, 255)) << "frame";

    harness::Click(at);
    ASSERT_TRUE(harness::WaitForWindowGone(sampler));
    EXPECT_TRUE(app_test::WaitForStored([&](const Settings& s) {
        return COLORREF(s.TextColor) == pixel && s.AutoTextColor == 0;
    })) << colors_test::Hex(pixel);

    // A right click inside the sampler takes the average around it.
    sampler = OpenSampler(IDC_TEXT_COLOR_BOX);
    ASSERT_NE(sampler, nullptr);
    RightClick(at);
    ASSERT_TRUE(harness::WaitForWindowGone(sampler));
    EXPECT_TRUE(app_test::WaitForStored([&](const Settings& s) {
        return COLORREF(s.TextColor) == average;
    })) << colors_test::Hex(average);
}

TEST_F(ColorPickingTest, EscClosesTheSamplerAndKeepsTheColourAndItsModes) {
    Start(PickingSettings());
    HWND sampler = OpenSampler(IDC_BACK_COLOR_BOX);
    ASSERT_NE(sampler, nullptr);
    ASSERT_TRUE(harness::WaitUntil([&] { return GetForegroundWindow() == sampler; }));
    harness::PressKey('A');
    EXPECT_TRUE(harness::HoldsFor([&] { return IsWindow(sampler) != FALSE; }, 300))
        << "another key does nothing";
    harness::PressKey(VK_ESCAPE);
    ASSERT_TRUE(harness::WaitForWindowGone(sampler));
    // Nothing changed: still transparent, still automatic.
    EXPECT_TRUE(harness::HoldsFor(
        [] {
            const std::optional<Settings> s = app_test::StoredSettings();
            return s && s->TransparentText == 1 && s->AutoTextColor == 1 &&
                   s->TextBackColor == SettingsTemplate().TextBackColor;
        },
        500));
}

TEST_F(ColorPickingTest, TheColourDialogSetsTheBackgroundSolid) {
    Start(PickingSettings());
    harness::Click(CentreOf(Control(IDC_BACK_COLOR_BOX)));
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

// ---- Display Properties -------------------------------------------------------

namespace {

constexpr char kDllOverrides[] = "Software\\Wine\\DllOverrides";

std::string SystemRundll32() {
    char folder[MAX_PATH] = "";
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\rundll32.exe";
}

std::string SavedRundll32() {
    return SystemRundll32() + ".tessara-test";
}

std::string StandInLog() {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "display_standin.log";
}

HWND DisplayProperties() {
    return harness::FindTopLevel(nullptr, display_properties::kWindowTitle);
}

void CloseDisplayProperties() {
    while (HWND window = DisplayProperties()) {
        SendMessageA(window, WM_CLOSE, 0, 0);
        harness::WaitForWindowGone(window, 3000);
    }
}

bool DockedLeft(HWND settings, HWND other) {
    const RECT s = RectOf(settings), o = RectOf(other);
    return o.right == s.left && o.top == s.top;
}

bool DockedRight(HWND settings, HWND other) {
    const RECT s = RectOf(settings), o = RectOf(other);
    return o.left == s.right && o.top == s.top;
}

// The stand-in takes rundll32.exe's place in the test prefix for the test's
// length; the real one is put back afterwards, also after a failed run.
class DisplayPropertiesTest : public ColorPickingTest {
  protected:
    void SetUp() override {
        PutRundll32Back();
        ASSERT_TRUE(MoveFileA(SystemRundll32().c_str(), SavedRundll32().c_str()));
        ASSERT_TRUE(CopyFileA((harness::BinDir() + "\\display_standin.exe").c_str(),
                              SystemRundll32().c_str(), FALSE));
        // Wine runs its own rundll32 whatever the file holds, unless told
        // to prefer the file.
        ASSERT_TRUE(
            harness::RegWriteString(HKEY_CURRENT_USER, kDllOverrides, "rundll32.exe", "native"));
        DeleteFileA(StandInLog().c_str());
        CloseDisplayProperties();
        ColorPickingTest::SetUp();
    }
    void TearDown() override {
        ColorPickingTest::TearDown();
        CloseDisplayProperties();
        PutRundll32Back();
        harness::RegDeleteValue(HKEY_CURRENT_USER, kDllOverrides, "rundll32.exe");
    }

    static void PutRundll32Back() {
        if (GetFileAttributesA(SavedRundll32().c_str()) != INVALID_FILE_ATTRIBUTES)
            MoveFileExA(SavedRundll32().c_str(), SystemRundll32().c_str(),
                        MOVEFILE_REPLACE_EXISTING);
    }

    // A point on the caption of the group "Desktop Background Color and
    // Wallpaper ", in its first word.
    POINT GroupCaption() const {
        const RECT group = RectOf(Control(IDC_DESKTOP_COLOR_GROUP));
        return {group.left + 20, group.top + 4};
    }

    void PlaceSettingsWindow(int left, int top) {
        SetWindowPos(Window(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }

    // What the system's move loop does at each step of a drag by the caption:
    // WM_MOVING with the proposed place, then the move itself.
    void DragSettingsWindowBy(int dx, int dy) {
        RECT proposed = RectOf(Window());
        OffsetRect(&proposed, dx, dy);
        SendMessageA(Window(), WM_MOVING, WMSZ_TOP, reinterpret_cast<LPARAM>(&proposed));
        SetWindowPos(Window(), nullptr, proposed.left, proposed.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // A click on the group's caption opens the window. (Its blue under the
    // pointer cannot be seen here: Wine's themed group box draws its caption
    // in the theme's colour.)
    HWND OpenFromTheDesktopPage() {
        tessara_.SelectTab(SettingsTab::Desktop);
        if (!harness::WaitUntil([&] { return IsWindowVisible(Control(IDC_DESKTOP_COLOR_GROUP)); }))
            return nullptr;
        const POINT caption = GroupCaption();
        harness::Click(caption);
        return harness::WaitForWindow(nullptr, display_properties::kWindowTitle, 0, 5000);
    }
};

} // namespace

TEST_F(DisplayPropertiesTest, OpensDockedLeftAndFollowsTheSettingsWindowUntilMovedAway) {
    Start(SettingsTemplate());
    PlaceSettingsWindow(450, 40);
    HWND other = OpenFromTheDesktopPage();
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(harness::WaitUntil([&] { return DockedLeft(Window(), other); }, 3000));
    harness::Screenshot("display_properties_docked_left");
    const std::string log = hiding_test::ReadFileText(StandInLog());
    EXPECT_NE(log.find("system32\\rundll32.exe"), std::string::npos) << log;
    EXPECT_NE(log.find(display_properties::kParameters), std::string::npos) << log;

    DragSettingsWindowBy(40, 30);
    EXPECT_TRUE(harness::WaitUntil([&] { return DockedLeft(Window(), other); }, 3000));
    EXPECT_EQ(RectOf(Window()).left, 490);

    // Moved away by the user, it stays where it was put.
    SetWindowPos(other, nullptr, 10, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    DragSettingsWindowBy(-30, 10);
    EXPECT_TRUE(harness::HoldsFor(
        [&] { return RectOf(other).left == 10 && RectOf(other).top == 500; }, 300));
}

TEST_F(DisplayPropertiesTest, OpensOnTheRightNearTheScreensLeftEdgeAndStaysThere) {
    Start(SettingsTemplate());
    PlaceSettingsWindow(60, 30);
    HWND other = OpenFromTheDesktopPage();
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(harness::WaitUntil([&] { return DockedRight(Window(), other); }, 3000));
    DragSettingsWindowBy(-20, 20);
    EXPECT_TRUE(harness::WaitUntil([&] { return DockedRight(Window(), other); }, 3000));
    // Dragged against the screen's edge, it keeps a little way off it.
    DragSettingsWindowBy(-200, 0);
    EXPECT_EQ(RectOf(Window()).left, GetSystemMetrics(SM_CXMENUSIZE));
    EXPECT_TRUE(harness::WaitUntil([&] { return DockedRight(Window(), other); }, 3000));
    harness::Screenshot("display_properties_docked_right");
}
