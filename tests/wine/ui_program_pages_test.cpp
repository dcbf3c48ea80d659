// The pages of the real Tessara.exe's settings window as a user meets them:
// each tab shows its own folded page, no control sits on a group's frame (at
// 96, 144 and 192 DPI), every check box and radio button changes its setting,
// the keyboard's mnemonics and tab order, and how each page looks.
#include "base/instance_data.h"
#include "tests/harness/png.h"
#include "tests/wine/app_program.h"
#include "ui/settings_pages.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <uxtheme.h>

#include <cctype>
#include <cmath>
#include <cwchar>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// ---- What the window shows ----------------------------------------------------

RECT WindowRectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Disjoint(const RECT& a, const RECT& b) {
    RECT common{};
    return !IntersectRect(&common, &a, &b);
}

LONG StyleOf(HWND window) {
    return GetWindowLongA(window, GWL_STYLE);
}

bool IsButtonOfType(HWND window, LONG type) {
    return harness::ClassName(window) == "Button" && (StyleOf(window) & BS_TYPEMASK) == type;
}

bool IsCheckBoxOrRadio(HWND window) {
    return IsButtonOfType(window, BS_AUTOCHECKBOX) || IsButtonOfType(window, BS_CHECKBOX) ||
           IsButtonOfType(window, BS_AUTORADIOBUTTON) || IsButtonOfType(window, BS_RADIOBUTTON);
}

BOOL CALLBACK CollectChild(HWND child, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(child);
    return TRUE;
}

std::vector<HWND> Children(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

std::vector<HWND> VisibleChildren(HWND window) {
    std::vector<HWND> visible;
    for (HWND child : Children(window)) {
        if (IsWindowVisible(child))
            visible.push_back(child);
    }
    return visible;
}

// The frame's lines run along its edges, the top one through the middle of
// its caption (half a line of the dialog font, 4 dialog units). The page area
// is 133 dialog units high.
RECT InsideTheLines(HWND window, HWND group) {
    const RECT page = WindowRectOf(GetDlgItem(window, IDC_FRAME_COLORS));
    const int halfLine = int(std::ceil(4.0 * (page.bottom - page.top) / 133.0));
    RECT inner = WindowRectOf(group);
    inner.left += 1;
    inner.right -= 1;
    inner.bottom -= 1;
    inner.top += halfLine;
    return inner;
}

// "control on frame" for every visible control that crosses a visible
// group's lines: it must lie inside them or apart from the group.
std::vector<std::string> ControlsOnFrames(HWND window) {
    std::vector<std::string> found;
    const std::vector<HWND> visible = VisibleChildren(window);
    for (HWND group : visible) {
        if (!IsButtonOfType(group, BS_GROUPBOX))
            continue;
        const RECT outer = WindowRectOf(group);
        const RECT inner = InsideTheLines(window, group);
        for (HWND control : visible) {
            const int id = GetDlgCtrlID(control);
            if (control == group || id == IDC_TABS)
                continue;
            const RECT rect = WindowRectOf(control);
            const bool enclosesTheGroup = Inside(outer, rect);
            if (!enclosesTheGroup && !Inside(rect, inner) && !Disjoint(rect, outer))
                found.push_back(std::to_string(id) + " on " + std::to_string(GetDlgCtrlID(group)));
        }
    }
    return found;
}

// The letter after a single '&', or 0.
char MnemonicOf(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] != '&')
            return char(std::tolower(static_cast<unsigned char>(text[i + 1])));
        ++i;
    }
    return 0;
}

// The texts that share a mnemonic, by letter.
using Clashes = std::map<char, std::set<std::string>>;

Clashes MnemonicClashes(HWND window) {
    std::map<char, std::set<std::string>> byLetter;
    for (HWND child : VisibleChildren(window)) {
        const std::string text = harness::WindowText(child);
        if (char letter = MnemonicOf(text))
            byLetter[letter].insert(text);
    }
    Clashes clashes;
    for (const auto& [letter, owners] : byLetter) {
        if (owners.size() > 1)
            clashes[letter] = owners;
    }
    return clashes;
}

// ---- The program -------------------------------------------------------------------

class ProgramPagesTest : public app_test::ProgramTest {
  protected:
    void SetUp() override { ASSERT_TRUE(shell_.Start()); }

    void Start(const Settings& record = SettingsTemplate()) { StartProgram(record); }

    HWND Window() const { return tessara_.Window(); }
    HWND Control(int id) const { return GetDlgItem(Window(), id); }
    bool Visible(int id) const { return IsWindowVisible(Control(id)) != FALSE; }

    // The window's client area on the screen, as a user sees it.
    harness::Image ClientImage() const {
        RECT client{};
        GetClientRect(Window(), &client);
        MapWindowPoints(Window(), nullptr, reinterpret_cast<POINT*>(&client), 2);
        return ScreenPart(client);
    }

    // The whole window, frame and caption included: the help pages show it.
    void SaveWindowImage(const std::string& name) const {
        RECT window{};
        GetWindowRect(Window(), &window);
        const harness::Image image = ScreenPart(window);
        harness::png::WriteFile(harness::BuildPath("screenshots\\" + name + ".png"),
                                {image.width, image.height, image.rgb});
    }

    static harness::Image ScreenPart(const RECT& part) {
        const harness::Image screen = harness::CaptureScreen();
        harness::Image image;
        image.width = part.right - part.left;
        image.height = part.bottom - part.top;
        for (int y = part.top; y < part.bottom; ++y) {
            const auto row = screen.rgb.begin() + (std::size_t(y) * screen.width + part.left) * 3;
            image.rgb.insert(image.rgb.end(), row, row + std::size_t(image.width) * 3);
        }
        return image;
    }
};

} // namespace

TEST_F(ProgramPagesTest, EachTabShowsItsOwnFoldedPageAndStatusText) {
    Start();
    EXPECT_EQ(TabCtrl_GetItemCount(Control(IDC_TABS)), kPermanentTabCount);
    EXPECT_EQ(harness::ControlText(Window(), IDC_WEB_PAGE_LINK), "Web Page");
    EXPECT_EQ(harness::ControlText(Window(), IDC_FAQ_LINK), "FAQ");
    const RECT area = WindowRectOf(Control(IDC_FRAME_COLORS));
    const struct {
        SettingsTab tab;
        int shown;
        int hidden;
    } pages[] = {
        {SettingsTab::Colors, IDC_SOLID_COLOR, IDC_SHOW_TRAY_ICON},
        {SettingsTab::Hiding, IDC_HIDE_BY_CURSOR, IDC_SOLID_COLOR},
        {SettingsTab::Positions, IDC_SAVE_POSITIONS, IDC_HIDE_BY_CURSOR},
        {SettingsTab::Desktop, IDC_KEEP_ASPECT_RATIO, IDC_SAVE_POSITIONS},
        {SettingsTab::Tray, IDC_SHOW_TRAY_ICON, IDC_KEEP_ASPECT_RATIO},
        {SettingsTab::Options, IDC_SELECT_HOTKEYS, IDC_SHOW_TRAY_ICON},
        {SettingsTab::About, IDC_ABOUT_AREA, IDC_SELECT_HOTKEYS},
    };
    for (const auto& page : pages) {
        SCOPED_TRACE(int(page.tab));
        tessara_.SelectTab(page.tab);
        EXPECT_TRUE(Visible(page.shown));
        EXPECT_FALSE(Visible(page.hidden));
        EXPECT_TRUE(Inside(WindowRectOf(Control(page.shown)), area)) << "folded onto the page";
        EXPECT_EQ(tessara_.StatusLine(), TabInfoOf(page.tab).statusText);
        EXPECT_EQ(harness::ControlText(Window(), IDC_TAB_DEFAULTS),
                  page.tab == SettingsTab::About ? "&Reset All" : "&Reset Tab");
    }
}

TEST_F(ProgramPagesTest, NoControlSitsOnAGroupsFrameAtAnyDpi) {
    for (DWORD dpi : {96, 144, 192}) {
        SCOPED_TRACE(dpi);
        app_test::LogPixelsGuard logPixels(dpi);
        Start();
        for (int tab = 0; tab < kPermanentTabCount; ++tab) {
            tessara_.SelectTab(SettingsTab(tab));
            EXPECT_EQ(ControlsOnFrames(Window()), std::vector<std::string>{}) << "page " << tab;
        }
        // Nothing under the tab control is cut off by the window's edges.
        RECT client{};
        GetClientRect(Window(), &client);
        MapWindowPoints(Window(), nullptr, reinterpret_cast<POINT*>(&client), 2);
        for (int id : {IDC_TABS, IDC_HELP_BUTTON, IDC_HIDE_WINDOW, IDC_STATUS_LINE})
            EXPECT_TRUE(Inside(WindowRectOf(Control(id)), client)) << id;
        harness::Screenshot("ui_program_dpi_" + std::to_string(dpi));
        EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    }
}

// Each check box and radio button of the built pages, clicked in this order
// from the factory settings, and the value its field then holds.
TEST_F(ProgramPagesTest, EveryCheckBoxAndRadioButtonChangesItsSetting) {
    struct Row {
        SettingsTab tab;
        int id;
        int32_t Settings::*field;
        int32_t after;
    };
    const Row rows[] = {
        {SettingsTab::Colors, IDC_SOLID_COLOR, &Settings::TransparentText, 0},
        {SettingsTab::Colors, IDC_AUTO_RESAMPLE, &Settings::AutoResample, 1},
        {SettingsTab::Colors, IDC_AUTO_TEXT_COLOR, &Settings::AutoTextColor, 0},
        {SettingsTab::Colors, IDC_TRANSPARENT, &Settings::TransparentText, 1},
        {SettingsTab::Hiding, IDC_HIDE_WHEN_OFF_DESKTOP, &Settings::HideWhenOffDesktop, 0},
        {SettingsTab::Hiding, IDC_HIDE_WHEN_ON_DESKTOP, &Settings::HideWhenOnDesktop, 0},
        {SettingsTab::Hiding, IDC_DELAY_SHOW_ON_DESKTOP, &Settings::DelayShowOnDesktop, 0},
        {SettingsTab::Hiding, IDC_HIDE_CURSOR, &Settings::HideCursor, 1},
        {SettingsTab::Hiding, IDC_HIDE_TASKBAR, &Settings::HideTaskbar, 0},
        {SettingsTab::Hiding, IDC_HOT_CORNER, &Settings::HotCornerEnabled, 1},
        {SettingsTab::Hiding, IDC_CORNER_UPPER_LEFT, &Settings::HotCorner, 0},
        {SettingsTab::Hiding, IDC_CORNER_LOWER_LEFT, &Settings::HotCorner, 2},
        {SettingsTab::Hiding, IDC_CORNER_LOWER_RIGHT, &Settings::HotCorner, 3},
        {SettingsTab::Hiding, IDC_CORNER_UPPER_RIGHT, &Settings::HotCorner, 1},
        {SettingsTab::Hiding, IDC_HOT_CORNER_WAIT, &Settings::HotCornerWait, 0},
        {SettingsTab::Hiding, IDC_BOSS_MOUSE, &Settings::BossMouse, 1},
        {SettingsTab::Hiding, IDC_HOT_CORNER, &Settings::HotCornerEnabled, 0},
        {SettingsTab::Hiding, IDC_HIDE_ALWAYS, &Settings::HideAlways, 1},
        {SettingsTab::Hiding, IDC_SHOW_ON_DESKTOP_CLICK, &Settings::ShowOnDesktopClick, 0},
        {SettingsTab::Hiding, IDC_NEVER_HIDE, &Settings::HideAlways, 0},
        {SettingsTab::Hiding, IDC_HIDE_BY_CURSOR, &Settings::HideByCursor, 1},
        {SettingsTab::Positions, IDC_AUTO_RESTORE, &Settings::AutoRestorePositions, 1},
        {SettingsTab::Positions, IDC_PER_RESOLUTION, &Settings::PerResolutionPositions, 1},
        {SettingsTab::Positions, IDC_RELATIVE, &Settings::PerResolutionPositions, 0},
        {SettingsTab::Desktop, IDC_DESK_COLOR_FROM_WALLPAPER, &Settings::DeskColorFromWallpaper, 1},
        {SettingsTab::Desktop, IDC_USE_COMPLEMENT_COLOR, &Settings::UseComplementColor, 1},
        {SettingsTab::Desktop, IDC_IGNORE_SOLID_BORDER, &Settings::IgnoreSolidBorder, 0},
        {SettingsTab::Desktop, IDC_SAMPLE_WHOLE_IMAGE, &Settings::SampleWholeImage, 1},
        {SettingsTab::Desktop, IDC_KEEP_ASPECT_RATIO, &Settings::KeepAspectRatio, 1},
        {SettingsTab::Desktop, IDC_STRETCH_INNER_DIMENSION, &Settings::StretchInnerDimension, 1},
        {SettingsTab::Desktop, IDC_DESK_COLOR_MANUAL, &Settings::DeskColorManual, 1},
        {SettingsTab::Desktop, IDC_DESK_COLOR_UNCHANGED, &Settings::DeskColorUnchanged, 1},
        {SettingsTab::Tray, IDC_TRAY_SHOW_DANCE, &Settings::TrayShowDance, 1},
        {SettingsTab::Tray, IDC_TRAY_SHOW_HELP, &Settings::TrayShowHelp, 0},
        {SettingsTab::Tray, IDC_TRAY_SHOW_TEXT, &Settings::TrayShowText, 0},
        {SettingsTab::Tray, IDC_TRAY_SHOW_HIDING, &Settings::TrayShowHiding, 0},
        {SettingsTab::Tray, IDC_TRAY_SHOW_POSITIONS, &Settings::TrayShowPositions, 0},
        {SettingsTab::Options, IDC_START_WITH_WINDOWS, &Settings::StartWithWindows, 1},
        {SettingsTab::Options, IDC_HIDE_WHEN_STARTED, &Settings::HideWhenStarted, 1},
        {SettingsTab::Options, IDC_SHOW_TOOL_TIPS, &Settings::ShowToolTips, 0},
        {SettingsTab::Options, IDC_WINDOW_FADING, &Settings::WindowFading, 1},
        {SettingsTab::Options, IDC_CLOSE_EXIT, &Settings::ExitPrompt, 0},
        {SettingsTab::Options, IDC_CLOSE_HIDE, &Settings::ExitHides, 1},
        {SettingsTab::Options, IDC_CLOSE_PROMPT, &Settings::ExitPrompt, 1},
        {SettingsTab::Options, IDC_CONTEXT_MENU, &Settings::ContextMenu, 0},
    };
    // The switch of the tray icon, clicked last, has its own block below.
    const std::set<int> clickedApart = {IDC_SHOW_TRAY_ICON};

    // The desktop's colour and the wallpaper's layout are the system's; the
    // Desktop page's clicks change them, so they are put back afterwards.
    const COLORREF desktopColor = GetSysColor(COLOR_BACKGROUND);
    const auto wallpaperStyle =
        harness::RegRead(HKEY_CURRENT_USER, "Control Panel\\Desktop", "WallpaperStyle");
    const auto tileWallpaper =
        harness::RegRead(HKEY_CURRENT_USER, "Control Panel\\Desktop", "TileWallpaper");
    // Away from the hot corners, which are switched on for a moment.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    Start();
    std::set<int> covered;
    for (const Row& row : rows)
        covered.insert(row.id);
    for (HWND child : Children(Window())) {
        const int id = GetDlgCtrlID(child);
        if (IsCheckBoxOrRadio(child)) {
            EXPECT_TRUE(covered.count(id) || clickedApart.count(id)) << id << " has no row";
        }
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        tessara_.SelectTab(row.tab);
        ASSERT_TRUE(IsWindowEnabled(Control(row.id)));
        SendMessageA(Control(row.id), BM_CLICK, 0, 0);
        EXPECT_TRUE(app_test::WaitForStoredNow(
            Window(), [&](const Settings& s) { return s.*row.field == row.after; }));
    }
    // With the Show/Hide hot key registered, switching the icon off explains
    // how to get the window back.
    tessara_.SelectTab(SettingsTab::Tray);
    ASSERT_TRUE(harness::WaitUntil([&] { return IsWindowEnabled(Control(IDC_SHOW_TRAY_ICON)); }));
    PostMessageA(Control(IDC_SHOW_TRAY_ICON), BM_CLICK, 0, 0);
    HWND message = harness::WaitForDialog("Tessara", tessara_.Pid());
    ASSERT_NE(message, nullptr);
    harness::PressButton(message, IDOK);
    EXPECT_TRUE(app_test::WaitForStoredNow(Window(),
                                           [](const Settings& s) { return s.ShowTrayIcon == 0; }));
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    harness::RegDeleteValue(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue);
    const INT element = COLOR_BACKGROUND;
    SetSysColors(1, &element, &desktopColor);
    for (const auto& [name, value] :
         {std::pair{"WallpaperStyle", wallpaperStyle}, std::pair{"TileWallpaper", tileWallpaper}}) {
        if (value)
            harness::RegWrite(HKEY_CURRENT_USER, "Control Panel\\Desktop", name, value->type,
                              value->data.data(), DWORD(value->data.size()));
        else
            harness::RegDeleteValue(HKEY_CURRENT_USER, "Control Panel\\Desktop", name);
    }
}

TEST_F(ProgramPagesTest, HotCornerActionsListWhatTheSystemCanDo) {
    Settings record = SettingsTemplate();
    record.HotCornerAction = 7;
    Start(record);
    HWND list = Control(IDC_HOT_CORNER_ACTION);
    std::vector<std::string> entries;
    for (LRESULT i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
        // The list keeps its texts in Unicode; Wine hands an ANSI copy to
        // another process only up to its first character.
        wchar_t text[64] = L"";
        SendMessageW(list, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
        entries.emplace_back(text, text + wcslen(text));
    }
    EXPECT_EQ(entries, (std::vector<std::string>{"Hide (Show Desktop)", "Start Screen Saver",
                                                 "Lock Workstation"}));
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(app_test::WaitForStoredNow(
        Window(), [](const Settings& s) { return s.HotCornerAction == 0; }));
}

TEST_F(ProgramPagesTest, MnemonicsAreUniqueOnEveryPage) {
    Start();
    // Both texts of each of these pairs are given as they are.
    const std::map<SettingsTab, Clashes> given = {
        {SettingsTab::Colors, {{'r', {"&Resample Now", "&Reset Tab"}}}},
        {SettingsTab::Options, {{'h', {"Select &Hot Keys", "&Hide", "&Help"}}}},
    };
    for (int tab = 0; tab < kPermanentTabCount; ++tab) {
        SCOPED_TRACE(tab);
        tessara_.SelectTab(SettingsTab(tab));
        const auto known = given.find(SettingsTab(tab));
        EXPECT_EQ(MnemonicClashes(Window()), known == given.end() ? Clashes{} : known->second);
    }
    tessara_.SelectTab(SettingsTab::Hiding);
    for (int id : {IDC_HIDE_BY_CURSOR, IDC_HIDE_ALWAYS, IDC_NEVER_HIDE, IDC_HIDE_CURSOR,
                   IDC_HIDE_TASKBAR, IDC_HOT_CORNER, IDC_HOT_CORNER_WAIT, IDC_BOSS_MOUSE,
                   IDC_HIDE_WHEN_OFF_DESKTOP, IDC_HIDE_WHEN_ON_DESKTOP, IDC_DELAY_SHOW_ON_DESKTOP})
        EXPECT_NE(MnemonicOf(harness::ControlText(Window(), id)), 0) << id;
}

// The keyboard starts on the tab control; the tab key goes from there to the
// page and back round to the tab control.
TEST_F(ProgramPagesTest, TabOrderStartsAtTheTabControl) {
    Start();
    SetForegroundWindow(Window());
    HWND tabs = Control(IDC_TABS);
    EXPECT_TRUE(harness::WaitUntil([&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(Window(), nullptr), &info) &&
               info.hwndFocus == tabs;
    }));
    tessara_.SelectTab(SettingsTab::Options);
    HWND next = GetNextDlgTabItem(Window(), tabs, FALSE);
    EXPECT_EQ(GetDlgCtrlID(next), IDC_START_WITH_WINDOWS);
    EXPECT_EQ(GetNextDlgTabItem(Window(), next, TRUE), tabs);
}

TEST_F(ProgramPagesTest, PagesTakeTheTabControlsThemedBackground) {
    Start();
    EXPECT_TRUE(IsThemeDialogTextureEnabled(Window()));
}

// Every page looks different from every other, and the status line under
// the tab control carries the page's text.
TEST_F(ProgramPagesTest, ScreenshotOfEveryPage) {
    Start();
    const char* names[] = {"colors", "hiding", "positions", "desktop", "tray", "options", "about"};
    std::vector<harness::Image> images;
    for (int tab = 0; tab < kPermanentTabCount; ++tab) {
        tessara_.SelectTab(SettingsTab(tab));
        RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        harness::PumpMessages(300);
        harness::Screenshot(std::string("ui_program_") + names[tab]);
        // scripts/help_screenshots.sh copies these into the help pages' images.
        SaveWindowImage(std::string("help_") + names[tab]);
        images.push_back(ClientImage());
    }
    for (std::size_t a = 0; a < images.size(); ++a) {
        for (std::size_t b = a + 1; b < images.size(); ++b)
            EXPECT_NE(images[a].rgb, images[b].rgb) << names[a] << " looks like " << names[b];
    }
}
