#include "app/test_mode.h"

#include "app/page_context.h"
#include "app/status_line.h"
#include "app/window_layout.h"
#include "base/app_state.h"
#include "base/dpi.h"
#include "base/instance_data.h"
#include "settings/settings.h"
#include "testmode/test_browser_win.h"
#include "testmode/webshots_win.h"
#include "ui/resource.h"
#include "ui/settings_pages.h"
#include "ui/settings_pages_win.h"

#include <commctrl.h>

namespace {

using test_browser::LayoutButton;

// The browser's buttons stand right of the page area.
constexpr int kTestWidening = 47;

HWND Tabs(HWND window) {
    return GetDlgItem(window, IDC_TABS);
}

bool TestPageShown(HWND window) {
    return SendMessageA(Tabs(window), TCM_GETITEMCOUNT, 0, 0) > kPermanentTabCount;
}

void SelectTab(HWND window, SettingsTab tab) {
    SendMessageA(Tabs(window), TCM_SETCURSEL, WPARAM(tab), 0);
}

void Widen(HWND control, int pixels) {
    RECT rect{};
    GetWindowRect(control, &rect);
    SetWindowPos(control, nullptr, 0, 0, rect.right - rect.left + pixels, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WidenWindowAndTabs(HWND window, int pixels) {
    const int scaled = ScaleToDpi(pixels, SettingsWindowDpi());
    Widen(window, scaled);
    Widen(Tabs(window), scaled);
}

void InsertTestTab(HWND window) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(TabInfoOf(SettingsTab::Test).label);
    SendMessageA(Tabs(window), TCM_INSERTITEMA, WPARAM(SettingsTab::Test),
                 reinterpret_cast<LPARAM>(&item));
}

void TurnOn(HWND window) {
    SetTestMode(true);
    FillTestFolders();
    WidenWindowAndTabs(window, kTestWidening);
    // A window at the screen's right edge would hide the new buttons.
    KeepOnPrimaryScreen(window);
    InsertTestTab(window);
    SelectTab(window, SettingsTab::Test);
}

// A slide show left running would go on changing the wallpaper unseen.
void TurnOff(HWND window) {
    if (SlideShowRunning())
        StopSlideShow(window);
    KillTimer(window, kPreviewClickTimer);
    SelectTab(window, SettingsTab::About);
    SetTestMode(false);
    WidenWindowAndTabs(window, -kTestWidening);
    SendMessageA(Tabs(window), TCM_DELETEITEM, WPARAM(SettingsTab::Test), 0);
}

void ShowTestPicture(HWND window, int direction) {
    SetStatusLine("");
    if (const DWORD error = SetTestWallpaper(window, direction))
        ShowErrorInStatusLine(error);
}

// "&Start", or with `fromList` the list's double click, which stops a
// running show and shows the selected picture.
void StartOrStopSlideShow(HWND window, bool fromList) {
    if (!SlideShowRunning() && !fromList) {
        StartSlideShow(window);
        ShowTestPicture(window, test_browser::Selected);
        return;
    }
    StopSlideShow(window);
    if (fromList)
        ShowTestPicture(window, test_browser::Selected);
}

void ReloadList() {
    LoadBitmapList();
    RepaintTestPreview();
}

void OnFolderChosen(HWND window) {
    HWND folders = GetDlgItem(window, IDC_TEST_FOLDER);
    const LRESULT selected = SendMessageA(folders, CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR)
        SendMessageA(folders, CB_SETCURSEL, WPARAM(selected), 0);
    ReloadList();
}

} // namespace

void PrepareTestMode(HWND window) {
    if (g_app.webshots)
        ArrangeWebshots(window);
    SubclassTestControls();
    // "-test" set the flag: the switch turns the mode on properly.
    if (TestModeOn()) {
        SetTestMode(false);
        ToggleTestMode(window);
    }
}

// Whether the page is there, rather than the flag, decides: a second instance
// started with "-test" sets the shared flag without giving this window the
// page.
void ToggleTestMode(HWND window) {
    if (TestPageShown(window))
        TurnOff(window);
    else
        TurnOn(window);
    RefreshSettingsPage(window);
    WriteAutostart(g_settings.StartWithWindows == 1);
    SetStatusLine(TestModeOn() ? "Test mode is Enabled" : "Test mode is Disabled");
}

void PressTestButton(HWND window, int id) {
    switch (id) {
    case IDC_TEST_RELOAD:
        ReloadList();
        break;
    case IDC_TEST_START:
        StartOrStopSlideShow(window, false);
        break;
    case IDC_TEST_PREVIOUS:
        ShowTestPicture(window, test_browser::Previous);
        break;
    case IDC_TEST_NEXT:
        ShowTestPicture(window, test_browser::Next);
        break;
    case IDC_TEST_RANDOM:
        SelectRandomTestPicture();
        ShowTestPicture(window, test_browser::Selected);
        break;
    case IDC_TEST_BROADCAST:
        BroadcastSettingChange();
        break;
    case IDC_TEST_NONE:
        SetWallpaperLayout(LayoutButton::None);
        break;
    case IDC_TEST_CENTER:
        SetWallpaperLayout(LayoutButton::Center);
        break;
    case IDC_TEST_TILE:
        SetWallpaperLayout(LayoutButton::Tile);
        break;
    case IDC_TEST_STRETCH:
        SetWallpaperLayout(LayoutButton::Stretch);
        break;
    case IDC_TEST_RESET:
        ToggleTestMode(window);
        ToggleTestMode(window);
        break;
    case IDC_TEST_EXIT:
    case IDM_LEAVE_TEST_MODE:
        ToggleTestMode(window);
        break;
    }
}

bool RunTestNotification(HWND window, WPARAM wParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == IDC_TEST_FILES) {
        if (code == LBN_SELCHANGE)
            RepaintTestPreview();
        else if (code == LBN_DBLCLK)
            StartOrStopSlideShow(window, true);
        return true;
    }
    if (id == IDC_TEST_FOLDER) {
        if (code == CBN_SELCHANGE)
            OnFolderChosen(window);
        else if (code == CBN_EDITUPDATE)
            LoadBitmapList();
        return true;
    }
    return false;
}

bool RunTestTimer(HWND window, UINT_PTR timer) {
    if (timer == kPreviewClickTimer) {
        KillTimer(window, kPreviewClickTimer);
        ShowTestPicture(window, test_browser::Selected);
        return true;
    }
    if (timer == kSlideShowTimer) {
        if (SlideShowTick())
            ShowTestPicture(window, test_browser::Next);
        return true;
    }
    return false;
}

void RunTestKey(HWND window, WPARAM key) {
    if (!TestModeOn() || CurrentTab() < SettingsTab::About)
        return;
    switch (key & 0xFF) {
    case VK_OEM_COMMA:
        ShowTestPicture(window, test_browser::Previous);
        break;
    case VK_OEM_PERIOD:
        ShowTestPicture(window, test_browser::Next);
        break;
    case VK_OEM_2:
        SelectLastTestPicture();
        ShowTestPicture(window, test_browser::Selected);
        break;
    }
}

bool RunTestMouseWheel(WPARAM wParam) {
    if (CurrentTab() != SettingsTab::Test || !CursorOverTestPreview())
        return false;
    SelectSteppedTestPicture(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? test_browser::Previous
                                                                : test_browser::Next);
    return true;
}
