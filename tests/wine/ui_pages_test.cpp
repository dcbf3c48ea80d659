// The settings window's pages on a real window built from Tessara.exe's
// "MAINDIALOG" template: the folding, which controls each tab shows and
// enables, the slider labels, the resets and the tool tips. The test plays the
// settings window's procedure with the page operations alone, so the pages are
// checked without a desktop to attach to.
#include "app/window_layout.h"
#include "settings/settings.h"
#include "tests/harness/harness.h"
#include "ui/help_texts.h"
#include "ui/resource.h"
#include "ui/settings_pages_win.h"
#include "ui/tool_tips.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

PageContext g_context;

INT_PTR CALLBACK PagesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        CreateToolTips(window);
        FillControlHandles(window);
        AddControlTools(window);
        LayOutSettingsWindow(window, RememberedPlace{false, {}});
        LayoutSettingsPages(window);
        PlaceAboutArea();
        LoadControlsFromSettings(window, g_context);
        AddLinkTools(window);
        ActivateToolTips(g_settings.ShowToolTips == 1);
        return TRUE;
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE)
            ShowTabPage(window, g_context);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_TAB_DEFAULTS)
            ResetTabDefaults(window, g_context);
        return TRUE;
    }
    return FALSE;
}

void RegisterStandInClasses(HINSTANCE instance) {
    // The settings window's class as the dialog manager needs it, and the
    // sample classes whose drawing is not under test here.
    WNDCLASSA dialog{};
    dialog.lpfnWndProc = DefDlgProcA;
    dialog.cbWndExtra = DLGWINDOWEXTRA;
    dialog.hInstance = instance;
    dialog.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    dialog.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    dialog.lpszClassName = "Tessara";
    RegisterClassA(&dialog);
    for (const char* name : {"TessaraSample", "TessaraSampText"}) {
        WNDCLASSA sample{};
        sample.lpfnWndProc = DefWindowProcA;
        sample.hInstance = instance;
        sample.lpszClassName = name;
        RegisterClassA(&sample);
    }
}

class PagesTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
        InitCommonControlsEx(&controls);
        RegisterStandInClasses(GetModuleHandleA(nullptr));
        program_ = LoadLibraryExA((harness::BinDir() + "\\Tessara.exe").c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE);
    }

    void SetUp() override {
        ASSERT_NE(program_, nullptr);
        g_settings = SettingsTemplate();
        g_context = PageContext{};
        g_context.showHideHotKeyActive = true;
        g_context.windowsXPOrLater = true;
        g_context.windows2000OrLater = true;
    }

    void TearDown() override {
        if (window_)
            DestroyWindow(window_);
    }

    void Open() {
        HRSRC found = FindResourceA(program_, "MAINDIALOG", MAKEINTRESOURCEA(5));
        ASSERT_NE(found, nullptr);
        auto dialog = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(program_, found)));
        window_ =
            CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialog, nullptr, PagesProc, 0);
        ASSERT_NE(window_, nullptr);
        ShowWindow(window_, SW_SHOW);
        harness::PumpMessages(100);
    }

    void SelectTab(SettingsTab tab) {
        HWND tabs = GetDlgItem(window_, IDC_TABS);
        SendMessageA(tabs, TCM_SETCURSEL, WPARAM(tab), 0);
        NMHDR change{tabs, UINT_PTR(IDC_TABS), UINT(TCN_SELCHANGE)};
        SendMessageA(window_, WM_NOTIFY, IDC_TABS, reinterpret_cast<LPARAM>(&change));
        harness::PumpMessages(50);
    }

    bool Visible(int id) const { return IsWindowVisible(GetDlgItem(window_, id)) != FALSE; }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(window_, id)) != FALSE; }
    bool Checked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }
    std::string Text(int id) const { return harness::ControlText(window_, id); }

    static HMODULE program_;
    HWND window_ = nullptr;
};

HMODULE PagesTest::program_ = nullptr;

TEST_F(PagesTest, EveryPageFoldsOntoThePageArea) {
    Open();
    RECT area{};
    GetWindowRect(GetDlgItem(window_, IDC_FRAME_COLORS), &area);
    for (int id : {IDC_FRAME_POSITIONS, IDC_FRAME_OPTIONS, IDC_FRAME_HIDING, IDC_FRAME_TRAY,
                   IDC_FRAME_DESKTOP, IDC_FRAME_DROP_SHADOWS, IDC_FRAME_DELAY_TIMES}) {
        RECT frame{};
        GetWindowRect(GetDlgItem(window_, id), &frame);
        EXPECT_EQ(frame.left, area.left) << id;
        EXPECT_EQ(frame.top, area.top) << id;
        EXPECT_FALSE(Visible(id)) << id;
    }
    EXPECT_EQ(TabCtrl_GetItemCount(GetDlgItem(window_, IDC_TABS)), kPermanentTabCount);
    EXPECT_EQ(Text(IDC_WEB_PAGE_LINK), "Web Page");
    EXPECT_EQ(Text(IDC_FAQ_LINK), "FAQ");
}

TEST_F(PagesTest, EachTabShowsItsOwnPageAndStatusText) {
    Open();
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
        SelectTab(page.tab);
        EXPECT_TRUE(Visible(page.shown)) << int(page.tab);
        EXPECT_FALSE(Visible(page.hidden)) << int(page.tab);
        EXPECT_EQ(Text(IDC_STATUS_LINE), TabInfoOf(page.tab).statusText);
        EXPECT_TRUE(Visible(IDC_FRAME_COLORS));
        EXPECT_EQ(Text(IDC_TAB_DEFAULTS),
                  page.tab == SettingsTab::About ? "&Reset All" : "&Reset Tab");
    }
}

TEST_F(PagesTest, BothHidingModesLoadAsNeverHide) {
    g_settings.HideByCursor = 1;
    g_settings.HideAlways = 1;
    Open();
    SelectTab(SettingsTab::Hiding);
    EXPECT_TRUE(Checked(IDC_NEVER_HIDE));
    EXPECT_TRUE(Visible(IDC_NEVER_HIDE_NOTE));
    EXPECT_FALSE(Visible(IDC_HIDE_OFF_DESKTOP_DELAY));
    EXPECT_FALSE(Visible(IDC_SHOW_ON_DESKTOP_CLICK));
    EXPECT_FALSE(Enabled(IDC_HIDE_CURSOR));
    EXPECT_EQ(g_settings.HideByCursor, 0);
}

TEST_F(PagesTest, AlwaysHideWithoutContextMenuForcesClickToShow) {
    g_settings.HideByCursor = 0;
    g_settings.HideAlways = 1;
    g_settings.ContextMenu = 0;
    g_settings.ShowOnDesktopClick = 0;
    Open();
    SelectTab(SettingsTab::Hiding);
    EXPECT_TRUE(Visible(IDC_CLICK_SHOW_TIME));
    EXPECT_FALSE(Visible(IDC_HIDE_OFF_DESKTOP_DELAY));
    EXPECT_TRUE(Checked(IDC_SHOW_ON_DESKTOP_CLICK));
    EXPECT_FALSE(Enabled(IDC_SHOW_ON_DESKTOP_CLICK));
    EXPECT_EQ(g_settings.ShowOnDesktopClick, 1);
}

TEST_F(PagesTest, NoShowHideHotKeyKeepsTheTrayIcon) {
    g_context.showHideHotKeyActive = false;
    g_settings.ShowTrayIcon = 0;
    Open();
    SelectTab(SettingsTab::Tray);
    EXPECT_TRUE(Checked(IDC_SHOW_TRAY_ICON));
    EXPECT_FALSE(Enabled(IDC_SHOW_TRAY_ICON));
    EXPECT_TRUE(Visible(IDC_NO_HOTKEY_NOTE));
}

TEST_F(PagesTest, TrayIconOffShowsTheNoteOnOptions) {
    g_settings.ShowTrayIcon = 0;
    Open();
    SelectTab(SettingsTab::Options);
    EXPECT_TRUE(Visible(IDC_NO_TRAY_ICON_NOTE));
    SelectTab(SettingsTab::Tray);
    EXPECT_FALSE(Visible(IDC_NO_HOTKEY_NOTE));
    EXPECT_FALSE(Enabled(IDC_TRAY_SHOW_HELP));
}

TEST_F(PagesTest, DropShadowsReplaceTheColorsPage) {
    g_context.dropShadowsOn = true;
    Open();
    EXPECT_TRUE(Visible(IDC_DISABLE_DROP_SHADOWS));
    EXPECT_TRUE(Visible(IDC_DROP_SHADOW_NOTE));
    EXPECT_FALSE(Visible(IDC_SOLID_COLOR));
    EXPECT_FALSE(Visible(IDC_ENABLE_DROP_SHADOWS));
    harness::Screenshot("ui_pages_colors_drop_shadows");
}

TEST_F(PagesTest, SliderLabelsReadSecondsAndTenths) {
    const struct {
        int seconds;
        const char* text;
    } delays[] = {{0, "0 Second"}, {1, "1 Second"}, {5, "5 Seconds"}};
    const struct {
        int value;
        const char* text;
    } showDelays[] = {{1, "0.0 Sec"}, {4, "0.3 Sec"}, {101, "10.0 Sec"}};
    for (int i = 0; i < 3; ++i) {
        g_settings = SettingsTemplate();
        g_settings.HideOffDesktopDelay = delays[i].seconds;
        g_settings.ShowDelay = showDelays[i].value;
        Open();
        EXPECT_EQ(Text(IDC_HIDE_OFF_DESKTOP_DELAY_VALUE), delays[i].text);
        EXPECT_EQ(Text(IDC_SHOW_DELAY_VALUE), showDelays[i].text);
        EXPECT_EQ(SendDlgItemMessageA(window_, IDC_SHOW_DELAY, TBM_GETPOS, 0, 0),
                  showDelays[i].value);
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

TEST_F(PagesTest, ResetTabPutsBackOnlyItsPage) {
    g_settings.TransparentText = 1 - SettingsTemplate().TransparentText;
    g_settings.AutoRestorePositions = 1 - SettingsTemplate().AutoRestorePositions;
    Open();
    SelectTab(SettingsTab::Colors);
    SendMessageA(window_, WM_COMMAND, IDC_TAB_DEFAULTS, 0);
    EXPECT_EQ(g_settings.TransparentText, SettingsTemplate().TransparentText);
    EXPECT_NE(g_settings.AutoRestorePositions, SettingsTemplate().AutoRestorePositions);
    SelectTab(SettingsTab::About);
    SendMessageA(window_, WM_COMMAND, IDC_TAB_DEFAULTS, 0);
    EXPECT_EQ(g_settings.AutoRestorePositions, SettingsTemplate().AutoRestorePositions);
}

TEST_F(PagesTest, ToolTipsCarryTheHelpTexts) {
    Open();
    const auto tipOf = [&](int id) {
        char text[1024] = "";
        TOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = window_;
        tool.uFlags = TTF_IDISHWND;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window_, id));
        tool.lpszText = text;
        const bool found =
            SendMessageA(ToolTips(), TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
        SendMessageA(ToolTips(), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        return found ? std::string(text) : std::string("<none>");
    };
    // This test program has no Common Controls 6 manifest, and the older tool
    // tips hand out at most 80 characters of a text.
    const auto help = [](int id) { return std::string(HelpText(id)).substr(0, 80); };
    EXPECT_EQ(tipOf(IDC_TRANSPARENT), help(IDC_TRANSPARENT));
    EXPECT_EQ(tipOf(IDC_BOSS_MOUSE), help(IDC_BOSS_MOUSE));
    EXPECT_EQ(tipOf(IDC_TABS), "");
    EXPECT_EQ(tipOf(IDC_HIDE_ALWAYS), help(IDC_HIDE_ALWAYS));
    EXPECT_EQ(tipOf(IDC_SAMPLE_WHOLE_IMAGE), help(IDC_SAMPLE_WHOLE_IMAGE));
    EXPECT_EQ(tipOf(IDC_HIDE_WHEN_STARTED), help(IDC_HIDE_WHEN_STARTED));
    EXPECT_EQ(tipOf(IDC_TEXT_COLOR_LABEL), "<none>");
    EXPECT_EQ(tipOf(IDC_HIDE_TASKBAR), help(IDC_HIDE_TASKBAR));
}

TEST_F(PagesTest, ScreenshotOfEveryPage) {
    g_settings.HideByCursor = 1;
    g_settings.HideAlways = 0;
    Open();
    const char* names[] = {"colors", "hiding", "positions", "desktop", "tray", "options", "about"};
    for (int tab = 0; tab < kPermanentTabCount; ++tab) {
        SelectTab(SettingsTab(tab));
        harness::PumpMessages(200);
        EXPECT_FALSE(harness::Screenshot(std::string("ui_pages_") + names[tab]).empty());
    }
    g_settings.HideByCursor = 0;
    g_settings.HideAlways = 1;
    SelectTab(SettingsTab::Hiding);
    harness::PumpMessages(200);
    harness::Screenshot("ui_pages_hiding_always");
    g_settings.HideAlways = 0;
    SelectTab(SettingsTab::Hiding);
    harness::PumpMessages(200);
    harness::Screenshot("ui_pages_hiding_never");
}

} // namespace
