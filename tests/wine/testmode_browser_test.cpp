// The wallpaper test browser of the real Tessara.exe started with "-test": a
// folder of generated bitmaps browsed, stepped through with wrapping, set as
// wallpaper (the registry values and the stand-in desktop's drawing), a
// random pick, a one-second slide show, the layout buttons, an empty folder,
// the preview's clicks (a recorder opens .bmp files in the test prefix) and
// leaving the test mode again; a folder and a bitmap named outside the ANSI
// code page listed, previewed and set by their exact names. With "-webshots",
// a stand-in for the outside wallpaper changer is laid out beside the
// settings window and closed at the end.
#include "tests/wine/colors_wine.h"
#include "tests/wine/hiding_program.h"
#include "testmode/webshots_win.h"
#include "ui/settings_pages.h"

#include <commctrl.h>

#include <iterator>
#include <optional>
#include <string>

namespace {

using namespace colors_test;

constexpr COLORREF kRed = RGB(220, 30, 30);
constexpr COLORREF kGreen = RGB(30, 200, 30);
constexpr COLORREF kBlue = RGB(30, 30, 220);
constexpr COLORREF kDesk = RGB(0, 128, 128);
constexpr char kPictureType[] = "TessaraTest.bmp";
// Right of the settings window, which stands in the middle of the screen,
// inside the band of the tall picture when it is centred.
constexpr POINT kProbe = {1000, 400};
constexpr DWORD kSlideMs = 6000;

std::string Folder(const char* name) {
    const std::string folder = harness::BuildPath(std::string("testdata\\") + name);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// "folder\entry.bmp", as the browser names the picture of a list entry.
std::string PicturePath(const std::string& folder, const std::string& entry) {
    return folder + "\\" + entry + ".bmp";
}

// Another process's list entry, asked for in UTF-16: Wine hands an ANSI
// copy across processes only up to its first character.
std::wstring WideListEntry(HWND list, int index) {
    wchar_t text[MAX_PATH] = L"";
    if (SendMessageW(list, LB_GETTEXTLEN, WPARAM(index), 0) >= LRESULT(std::size(text)))
        return L"(too long)";
    SendMessageW(list, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text));
    return text;
}

class TestBrowserTest : public app_test::ProgramTest {
  protected:
    void SetUp() override {
        SetDesktopColor(kDesk);
        pictures_ = Folder("test_browser");
        empty_ = Folder("test_browser_empty");
        ASSERT_TRUE(WritePicture(Path("a_low"), Format::Bmp, 64, 64, Solid(kRed)));
        ASSERT_TRUE(WritePicture(Path("b_tall"), Format::Bmp, 1024, 300, Solid(kGreen)));
        ASSERT_TRUE(WritePicture(Path("c_low"), Format::Bmp, 64, 64, Solid(kBlue)));
        // Not a bitmap: it is listed but cannot be loaded.
        std::FILE* broken = std::fopen(Path("d_broken").c_str(), "wb");
        ASSERT_NE(broken, nullptr);
        std::fputs("no picture", broken);
        std::fclose(broken);
        // Process ids repeat from one Wine session to the next, and with
        // them the names of an earlier run's files.
        log_ = harness::TempFile("pictures_opened");
        DeleteFileA(log_.c_str());
        savedBmp_ = harness::RegRead(HKEY_CLASSES_ROOT, ".bmp", "");
        ASSERT_TRUE(harness::RegWriteString(HKEY_CLASSES_ROOT, ".bmp", "", kPictureType));
        ASSERT_TRUE(harness::RegWriteString(
            HKEY_CLASSES_ROOT, std::string(kPictureType) + "\\shell\\open\\command", "",
            "\"" + harness::BinDir() + "\\recorder.exe\" \"" + log_ + "\" \"%1\""));
        ASSERT_TRUE(shell_.Start());
    }
    void TearDown() override {
        app_test::ProgramTest::TearDown();
        SetTestMode(false);
        harness::RegDeleteValue(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue);
        harness::RegDeleteKeyTree(HKEY_CLASSES_ROOT, kPictureType);
        if (savedBmp_)
            harness::RegWrite(HKEY_CLASSES_ROOT, ".bmp", "", savedBmp_->type,
                              savedBmp_->data.data(), DWORD(savedBmp_->data.size()));
        else
            harness::RegDeleteValue(HKEY_CLASSES_ROOT, ".bmp", "");
    }

    std::string Path(const char* entry) const { return PicturePath(pictures_, entry); }

    void StartInTestMode(const Settings& record) {
        SetTestMode(false);
        ASSERT_TRUE(
            harness::RegDeleteValue(HKEY_CURRENT_USER, kExplorerAdvancedKey, kListviewShadowValue));
        app_test::StoreSettings(record);
        ASSERT_TRUE(tessara_.Start("-test"));
        ASSERT_TRUE(tessara_.WaitForShownWindow());
        ASSERT_TRUE(harness::WaitUntil([&] { return shell_.IsListViewSubclassed(); }));
    }

    HWND Window() const { return tessara_.Window(); }
    HWND Control(int id) const { return GetDlgItem(Window(), id); }
    std::string Text(int id) const { return harness::ControlText(Window(), id); }
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    void Press(int id) const { tessara_.Command(id); }

    int TabCount() const { return int(SendMessageA(Control(IDC_TABS), TCM_GETITEMCOUNT, 0, 0)); }
    int Width(HWND window) const {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect.right - rect.left;
    }

    void ListFolder(const std::string& folder) {
        SendMessageA(Control(IDC_TEST_FOLDER), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(folder.c_str()));
        Press(IDC_TEST_RELOAD);
    }

    static std::string Desktop(const char* name) {
        return harness::RegRead(HKEY_CURRENT_USER, kDesktopKey, name)
            .value_or(harness::RegValue{})
            .AsString()
            .value_or("(none)");
    }
    static std::string Wallpaper() { return Desktop("Wallpaper"); }
    static std::string Layout() {
        return Desktop("WallpaperStyle") + "/" + Desktop("TileWallpaper");
    }

    bool WaitForWallpaper(const std::string& path, DWORD timeoutMs = kSlideMs) const {
        return harness::WaitUntil([&] { return Wallpaper() == path; }, timeoutMs);
    }

    std::string Opened() const {
        std::string text;
        harness::WaitUntil(
            [&] {
                text = hiding_test::ReadFileText(log_);
                return !text.empty();
            },
            5000);
        return text;
    }

    // Clicks of the left button on the preview's centre, as the system
    // delivers them.
    void ClickPreview(bool twice) const {
        HWND preview = Control(IDC_TEST_PREVIEW);
        const LPARAM centre = MAKELPARAM(40, 30);
        PostMessageA(preview, WM_LBUTTONDOWN, MK_LBUTTON, centre);
        PostMessageA(preview, WM_LBUTTONUP, 0, centre);
        if (!twice)
            return;
        PostMessageA(preview, WM_LBUTTONDBLCLK, MK_LBUTTON, centre);
        PostMessageA(preview, WM_LBUTTONUP, 0, centre);
    }

    void SelectEntry(int index) const {
        SendMessageA(Control(IDC_TEST_FILES), LB_SETCURSEL, WPARAM(index), 0);
    }

    std::string pictures_;
    std::string empty_;
    std::string log_;
    std::optional<harness::RegValue> savedBmp_;
};

TEST_F(TestBrowserTest, BrowsesSetsStepsShowsAndLeaves) {
    Settings record = SettingsTemplate();
    record.KeepAspectRatio = 0;
    record.AutoResample = 0;
    record.StartWithWindows = 1;
    StartInTestMode(record);

    // "-test" opened the test page.
    EXPECT_TRUE(TestModeOn());
    EXPECT_EQ(TabCount(), kPermanentTabCount + 1);
    EXPECT_EQ(SendMessageA(Control(IDC_TABS), TCM_GETCURSEL, 0, 0), LRESULT(SettingsTab::Test));
    // "Reset" switches it off and on again.
    const int widthInTestMode = Width(Window());
    Press(IDC_TEST_RESET);
    EXPECT_EQ(TabCount(), kPermanentTabCount + 1);
    EXPECT_EQ(Width(Window()), widthInTestMode);
    const std::string autostart =
        harness::RegRead(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue)
            .value_or(harness::RegValue{})
            .AsString()
            .value_or("");
    EXPECT_GE(autostart.size(), 6u);
    EXPECT_EQ(autostart.substr(autostart.size() - 6), " -test") << autostart;

    // The folder's four bitmaps, sorted, the first selected.
    ListFolder(pictures_);
    EXPECT_EQ(Text(IDC_TEST_FILE_INFO), "4 files");
    EXPECT_TRUE(Enabled(IDC_TEST_START));
    EXPECT_TRUE(Enabled(IDC_TEST_PREVIOUS));
    EXPECT_TRUE(Enabled(IDC_TEST_NEXT));

    // A tall picture is centred without the aspect option; the broadcast lets
    // the desktop draw it.
    Press(IDC_TEST_NEXT);
    EXPECT_EQ(Text(IDC_TEST_FILE_INFO), "b_tall (1024x300)");
    EXPECT_EQ(Wallpaper(), Path("b_tall"));
    EXPECT_EQ(Layout(), "0/0");
    Press(IDC_TEST_BROADCAST);
    EXPECT_TRUE(WaitForScreenPixel(kProbe.x, kProbe.y, kGreen));
    // The desktop's repaint may have drawn over the window's frame.
    RedrawWindow(Window(), nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    harness::PumpMessages(300);
    harness::Screenshot("testmode_browser_tab");
    // The preview shows the selected picture fitted into it.
    RECT preview{};
    GetWindowRect(Control(IDC_TEST_PREVIEW), &preview);
    EXPECT_TRUE(WaitForScreenPixel((preview.left + preview.right) / 2,
                                   (preview.top + preview.bottom) / 2, kGreen, 12));

    // A low one is tiled.
    Press(IDC_TEST_NEXT);
    EXPECT_EQ(Text(IDC_TEST_FILE_INFO), "c_low (64x64)");
    EXPECT_EQ(Wallpaper(), Path("c_low"));
    EXPECT_EQ(Layout(), "1/1");
    Press(IDC_TEST_BROADCAST);
    EXPECT_TRUE(WaitForScreenPixel(kProbe.x, kProbe.y, kBlue));

    // A file that is no bitmap: its information cleared, the wallpaper left
    // as it was. (The error's text on the status line is not checked: the
    // wallpaper worker that each change starts refreshes the page, and with
    // it the status line, at a moment of its own.)
    Press(IDC_TEST_NEXT);
    EXPECT_EQ(Text(IDC_TEST_FILE_INFO), "");
    EXPECT_EQ(Wallpaper(), Path("c_low"));

    // ">" on the last wraps to the first, "<" on the first to the last; the
    // "." key steps as ">" does.
    Press(IDC_TEST_NEXT);
    EXPECT_EQ(Text(IDC_TEST_FILE_INFO), "a_low (64x64)");
    Press(IDC_TEST_PREVIOUS);
    EXPECT_EQ(Text(IDC_TEST_FILE_INFO), "");
    Press(IDC_TEST_PREVIOUS);
    EXPECT_EQ(Text(IDC_TEST_FILE_INFO), "c_low (64x64)");
    SendMessageA(Window(), WM_KEYDOWN, VK_OEM_PERIOD, 0);
    EXPECT_EQ(Text(IDC_TEST_FILE_INFO), "");
    SendMessageA(Window(), WM_KEYDOWN, VK_OEM_PERIOD, 0);
    EXPECT_EQ(Text(IDC_TEST_FILE_INFO), "a_low (64x64)");
    EXPECT_EQ(Wallpaper(), Path("a_low"));

    // "?": a random folder and picture, set as the wallpaper (or reported).
    Press(IDC_TEST_RANDOM);
    const std::string info = Text(IDC_TEST_FILE_INFO);
    if (!info.empty()) {
        const std::string entry = info.substr(0, info.find(" ("));
        EXPECT_EQ(Wallpaper(), PicturePath(Text(IDC_TEST_FOLDER), entry));
    } else {
        EXPECT_EQ(Wallpaper(), Path("a_low")) << "the broken file was picked";
    }

    // A slide show of one second a picture, from the first picture on.
    ListFolder(pictures_);
    HWND slider = Control(IDC_TEST_INTERVAL);
    SendMessageA(slider, TBM_SETPOS, TRUE, 1);
    SendMessageA(Window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 1),
                 reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(Text(IDC_TEST_INTERVAL_VALUE), " 0:01");
    Press(IDC_TEST_START);
    EXPECT_EQ(Text(IDC_TEST_START), "&Stop");
    EXPECT_FALSE(Enabled(IDC_TEST_FOLDER));
    EXPECT_FALSE(Enabled(IDC_TEST_RELOAD));
    EXPECT_TRUE(IsWindowVisible(Control(IDC_TEST_PROGRESS)));
    EXPECT_EQ(SendMessageA(Control(IDC_TEST_PROGRESS), PBM_GETRANGE, FALSE, 0), 5);
    EXPECT_EQ(Wallpaper(), Path("a_low"));
    EXPECT_TRUE(WaitForWallpaper(Path("b_tall")));
    EXPECT_TRUE(WaitForWallpaper(Path("c_low")));
    Press(IDC_TEST_START);
    EXPECT_EQ(Text(IDC_TEST_START), "&Start");
    EXPECT_TRUE(Enabled(IDC_TEST_FOLDER));
    EXPECT_TRUE(Enabled(IDC_TEST_RELOAD));
    EXPECT_FALSE(IsWindowVisible(Control(IDC_TEST_PROGRESS)));
    const std::string stoppedAt = Wallpaper();
    harness::PumpMessages(1500);
    EXPECT_EQ(Wallpaper(), stoppedAt);

    // The layout buttons, on the current wallpaper.
    ListFolder(pictures_);
    SelectEntry(2);
    Press(IDC_TEST_START); // shows c_low ...
    Press(IDC_TEST_START); // ... and stops
    ASSERT_EQ(Wallpaper(), Path("c_low"));
    Press(IDC_TEST_TILE);
    EXPECT_EQ(Layout(), "1/1");
    EXPECT_TRUE(WaitForScreenPixel(kProbe.x, kProbe.y, kBlue));
    Press(IDC_TEST_CENTER);
    EXPECT_EQ(Layout(), "1/0");
    EXPECT_TRUE(WaitForScreenPixel(kProbe.x, kProbe.y, kDesk));
    Press(IDC_TEST_STRETCH);
    EXPECT_EQ(Layout(), "2/0");
    EXPECT_TRUE(WaitForScreenPixel(kProbe.x, kProbe.y, kBlue));
    Press(IDC_TEST_NONE);
    EXPECT_EQ(Layout(), "0/0");
    EXPECT_EQ(Wallpaper(), "");

    // An empty folder: nothing to start or step through.
    ListFolder(empty_);
    EXPECT_EQ(Text(IDC_TEST_FILE_INFO), "0 files");
    EXPECT_FALSE(Enabled(IDC_TEST_START));
    EXPECT_FALSE(Enabled(IDC_TEST_PREVIOUS));
    EXPECT_FALSE(Enabled(IDC_TEST_NEXT));

    // A single click on the preview sets its picture once the double-click
    // time has passed; a double click opens the picture instead.
    ListFolder(pictures_);
    SelectEntry(1);
    ClickPreview(false);
    EXPECT_TRUE(WaitForWallpaper(Path("b_tall")));
    EXPECT_EQ(hiding_test::ReadFileText(log_), "");
    SelectEntry(2);
    ClickPreview(true);
    const std::string opened = Opened();
    EXPECT_NE(opened.find(Path("c_low")), std::string::npos) << opened;
    harness::PumpMessages(GetDoubleClickTime() + 300);
    EXPECT_EQ(Wallpaper(), Path("b_tall"));

    // "Exit" leaves the test mode: the page gone, the window as narrow as
    // without it, the autostart entry without the switch.
    const int windowWidth = Width(Window());
    const int tabsWidth = Width(Control(IDC_TABS));
    Press(IDC_TEST_EXIT);
    EXPECT_FALSE(TestModeOn());
    EXPECT_EQ(TabCount(), kPermanentTabCount);
    EXPECT_EQ(SendMessageA(Control(IDC_TABS), TCM_GETCURSEL, 0, 0), LRESULT(SettingsTab::About));
    EXPECT_EQ(windowWidth - Width(Window()), 47);
    EXPECT_EQ(tabsWidth - Width(Control(IDC_TABS)), 47);
    EXPECT_EQ(tessara_.StatusLine(), "Test mode is Disabled");
    const std::string after = harness::RegRead(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue)
                                  .value_or(harness::RegValue{})
                                  .AsString()
                                  .value_or("");
    EXPECT_EQ(after.find("-test"), std::string::npos) << after;
    EXPECT_FALSE(IsWindowVisible(Control(IDC_TEST_NEXT)));
}

// Outside code page 1252, the test prefix's ANSI code page: in ANSI both
// names would come out as "?".
TEST_F(TestBrowserTest, NamesOutsideTheCodePageAreListedAndSetExactly) {
    const std::wstring folder = harness::Widened(harness::BuildPath("testdata")) + L"\\Ünïcødé 🌍";
    const std::wstring picture = folder + L"\\照片.bmp";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(WritePicture(picture, Format::Bmp, 64, 64, Solid(kRed)));
    Settings record = SettingsTemplate();
    record.AutoResample = 0;
    StartInTestMode(record);

    HWND folders = Control(IDC_TEST_FOLDER);
    SendMessageW(folders, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    Press(IDC_TEST_RELOAD);
    EXPECT_EQ(Text(IDC_TEST_FILE_INFO), "1 files");
    EXPECT_EQ(WideListEntry(Control(IDC_TEST_FILES), 0), L"照片");
    EXPECT_NE(SendMessageW(folders, CB_FINDSTRINGEXACT, WPARAM(-1),
                           reinterpret_cast<LPARAM>(folder.c_str())),
              CB_ERR);

    // The preview draws the picture; a click sets it.
    RECT preview{};
    GetWindowRect(Control(IDC_TEST_PREVIEW), &preview);
    RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(WaitForScreenPixel((preview.left + preview.right) / 2,
                                   (preview.top + preview.bottom) / 2, kRed, 12));
    ClickPreview(false);
    EXPECT_TRUE(harness::WaitUntil([&] { return RegisteredWallpaper() == picture; }, kSlideMs));
    EXPECT_EQ(harness::ExactWindowText(Control(IDC_TEST_FILE_INFO)), L"照片 (64x64)");
    EXPECT_EQ(Layout(), "1/1");

    // Stepping (">" wraps to the only picture) and a layout button set the
    // exact path again.
    ASSERT_TRUE(harness::RegWriteString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper", "elsewhere"));
    Press(IDC_TEST_NEXT);
    EXPECT_EQ(RegisteredWallpaper(), picture);
    ASSERT_TRUE(harness::RegWriteString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper", "elsewhere"));
    Press(IDC_TEST_CENTER);
    EXPECT_EQ(Layout(), "1/0");
    EXPECT_EQ(RegisteredWallpaper(), picture);
}

// A window of this process plays the outside changer's: it records the
// WM_CLOSE it is sent and stays.
constexpr char kChangerTitle[] = "Tessara test changer";
bool g_changerAskedToClose = false;

LRESULT CALLBACK ChangerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        g_changerAskedToClose = true;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class WebshotsTest : public app_test::ProgramTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(harness::RegWriteString(HKEY_CURRENT_USER, kProgramKey, kWebshotsTitleValue,
                                            kChangerTitle));
        WNDCLASSA wc{};
        wc.lpfnWndProc = ChangerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TessaraTestChanger";
        RegisterClassA(&wc);
        changer_ = CreateWindowExA(0, wc.lpszClassName, kChangerTitle, WS_OVERLAPPEDWINDOW, 10, 10,
                                   200, 100, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(changer_, nullptr);
        ShowWindow(changer_, SW_SHOWMINIMIZED);
        ASSERT_TRUE(shell_.Start());
    }
    void TearDown() override {
        app_test::ProgramTest::TearDown();
        DestroyWindow(changer_);
        harness::RegDeleteValue(HKEY_CURRENT_USER, kProgramKey, kWebshotsTitleValue);
    }

    HWND changer_ = nullptr;
};

TEST_F(WebshotsTest, ChangerIsLaidOutBesideTheWindowAndClosedAtTheEnd) {
    SetTestMode(false);
    app_test::StoreSettings(SettingsTemplate());
    ASSERT_TRUE(tessara_.Start("-webshots"));
    ASSERT_TRUE(tessara_.WaitForShownWindow());
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT window{};
    ASSERT_TRUE(harness::WaitUntil([&] {
        GetWindowRect(tessara_.Window(), &window);
        return window.right == screenWidth && window.top == 0;
    })) << window.left
        << "," << window.top << " " << window.right;
    EXPECT_NE(GetWindowLongA(tessara_.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    RECT changer{};
    EXPECT_TRUE(harness::WaitUntil([&] {
        GetWindowRect(changer_, &changer);
        return !IsIconic(changer_) && changer.left == 0 && changer.top == screenHeight / 3;
    })) << changer.left
        << "," << changer.top;
    EXPECT_EQ(changer.right - changer.left, screenWidth / 2);
    EXPECT_EQ(changer.bottom - changer.top, screenHeight * 2 / 3);
    EXPECT_EQ(GetWindowLongA(changer_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_FALSE(g_changerAskedToClose);
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    EXPECT_TRUE(g_changerAskedToClose);
}

} // namespace
