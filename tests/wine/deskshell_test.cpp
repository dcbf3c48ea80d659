#include "tests/harness/harness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

using namespace harness;

namespace {

const char kDesktopKey[] = "Control Panel\\Desktop";

bool HasEvent(const std::vector<ShellEvent>& events, const char* window, UINT message) {
    return std::any_of(events.begin(), events.end(), [&](const ShellEvent& e) {
        return e.window == window && e.message == message;
    });
}

bool HasEvent(const std::vector<ShellEvent>& events, const char* window, UINT message,
              WPARAM wParam) {
    return std::any_of(events.begin(), events.end(), [&](const ShellEvent& e) {
        return e.window == window && e.message == message && e.wParam == wParam;
    });
}

// A point of the desktop far from the icons, which start at the top left.
POINT EmptyDesktopPoint() {
    return {GetSystemMetrics(SM_CXSCREEN) * 3 / 4, GetSystemMetrics(SM_CYSCREEN) / 2};
}

class DeskShell : public ::testing::Test {
  protected:
    void Start(const ShellOptions& options = {}) { ASSERT_TRUE(shell.Start(options)); }

    Shell shell;
};

TEST_F(DeskShell, WindowChainIsExplorersDesktop) {
    Start();
    EXPECT_EQ(ClassName(shell.Progman()), "Progman");
    EXPECT_EQ(WindowText(shell.Progman()), "Program Manager");
    EXPECT_EQ(GetParent(shell.DefView()), shell.Progman());
    EXPECT_EQ(ClassName(shell.DefView()), "SHELLDLL_DefView");
    EXPECT_EQ(GetParent(shell.ListView()), shell.DefView());
    EXPECT_EQ(ClassName(shell.ListView()), "SysListView32");
    LONG style = GetWindowLongA(shell.ListView(), GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_ICON);
    EXPECT_FALSE(style & LVS_AUTOARRANGE);
    EXPECT_EQ(FindTopLevel("Progman", nullptr), shell.Progman());
    EXPECT_EQ(WindowPid(shell.Progman()), shell.Pid());
}

TEST_F(DeskShell, CoversTheScreenAboveAVisibleTaskbar) {
    Start();
    HWND taskbar = Taskbar();
    ASSERT_NE(taskbar, nullptr);
    RECT bar, desk;
    GetWindowRect(taskbar, &bar);
    GetWindowRect(shell.Progman(), &desk);
    EXPECT_EQ(bar.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_GT(bar.right - bar.left, GetSystemMetrics(SM_CXSCREEN) / 2);
    EXPECT_EQ(desk.left, 0);
    EXPECT_EQ(desk.top, 0);
    EXPECT_EQ(desk.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(desk.bottom, bar.top);
    POINT onBar{(bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2};
    EXPECT_EQ(WindowPid(WindowFromPoint(onBar)), WindowPid(taskbar));
    RECT listView;
    GetClientRect(shell.ListView(), &listView);
    EXPECT_EQ(listView.right, desk.right - desk.left);
    EXPECT_EQ(listView.bottom, desk.bottom - desk.top);
}

TEST_F(DeskShell, DefaultIconsAreADozenDistinctCaptionsInAReadableLayout) {
    Start();
    std::vector<ShellIcon> icons = shell.Layout();
    ASSERT_EQ(icons.size(), 12u);
    EXPECT_EQ(shell.IconCount(), 12);
    EXPECT_EQ(icons[0].caption, "Recycle Bin");
    std::set<std::string> captions;
    std::set<std::pair<LONG, LONG>> positions;
    for (size_t i = 0; i < icons.size(); ++i) {
        const ShellIcon& icon = icons[i];
        EXPECT_EQ(icon.index, static_cast<int>(i));
        captions.insert(icon.caption);
        positions.insert({icon.position.x, icon.position.y});
        EXPECT_LT(icon.bounds.left, icon.bounds.right);
        EXPECT_LT(icon.bounds.top, icon.bounds.bottom);
        EXPECT_GE(icon.label.left, icon.bounds.left) << icon.caption;
        EXPECT_LE(icon.label.right, icon.bounds.right) << icon.caption;
        EXPECT_GT(icon.label.top, icon.bounds.top) << "the label sits below the image";
        EXPECT_LE(icon.label.bottom, icon.bounds.bottom) << icon.caption;
    }
    EXPECT_EQ(captions.size(), icons.size());
    EXPECT_EQ(positions.size(), icons.size());
}

TEST_F(DeskShell, IconsFromAFileKeepLongCaptionsUpTo255Characters) {
    const std::string long255(255, 'L');
    const std::string tooLong(300, 'T');
    std::string path = TempFile("captions");
    {
        std::ofstream out(path);
        out << "First icon\r\n\n" << long255 << "\n" << tooLong << "\nLast one with spaces  \n";
    }
    ShellOptions options;
    options.iconsFile = path;
    Start(options);
    std::vector<ShellIcon> icons = shell.Layout();
    ASSERT_EQ(icons.size(), 4u);
    EXPECT_EQ(icons[0].caption, "First icon");
    EXPECT_EQ(icons[1].caption, long255);
    EXPECT_EQ(icons[2].caption, tooLong.substr(0, 255));
    EXPECT_EQ(icons[3].caption, "Last one with spaces  ");
    DeleteFileA(path.c_str());
}

TEST_F(DeskShell, AddAndRemoveIcons) {
    Start(ShellOptions::WithIcons(3));
    EXPECT_EQ(shell.Add("Added"), 3);
    EXPECT_EQ(shell.Add(std::string(255, 'x')), 4);
    std::vector<ShellIcon> icons = shell.Layout();
    ASSERT_EQ(icons.size(), 5u);
    EXPECT_EQ(icons[3].caption, "Added");
    EXPECT_EQ(icons[4].caption, std::string(255, 'x'));

    EXPECT_TRUE(shell.Remove(0));
    EXPECT_FALSE(shell.Remove(4));
    EXPECT_FALSE(shell.Remove(-1));
    icons = shell.Layout();
    ASSERT_EQ(icons.size(), 4u);
    EXPECT_EQ(icons[0].caption, "Icon 2");
    EXPECT_EQ(icons[2].caption, "Added");
}

TEST_F(DeskShell, AutoArrangeIsAnOptionAndCanBeToggled) {
    auto autoArranged = [&] {
        return (GetWindowLongA(shell.ListView(), GWL_STYLE) & LVS_AUTOARRANGE) != 0;
    };
    ShellOptions options;
    options.autoArrange = true;
    Start(options);
    EXPECT_TRUE(autoArranged());
    for (bool on : {false, true, false}) {
        EXPECT_TRUE(shell.SetAutoArrange(on));
        EXPECT_EQ(autoArranged(), on);
    }
}

TEST_F(DeskShell, SettingChangeIsPassedDownToTheListView) {
    Start(ShellOptions::WithIcons(0));
    shell.TakeEvents();
    char wallpaper[MAX_PATH] = "";
    SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, wallpaper, 0);
    // Wine broadcasts the change only together with SPIF_UPDATEINIFILE.
    ASSERT_TRUE(SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, wallpaper,
                                      SPIF_UPDATEINIFILE | SPIF_SENDCHANGE));
    std::vector<ShellEvent> events;
    WaitUntil([&] {
        auto more = shell.TakeEvents();
        events.insert(events.end(), more.begin(), more.end());
        return HasEvent(events, "listview", WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER);
    });
    for (const char* window : {"progman", "defview", "listview"})
        EXPECT_TRUE(HasEvent(events, window, WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER)) << window;

    SendMessageA(shell.Progman(), WM_SYSCOLORCHANGE, 0, 0);
    events = shell.TakeEvents();
    EXPECT_TRUE(HasEvent(events, "listview", WM_SYSCOLORCHANGE));
}

class DeskShellMenu : public DeskShell {
  protected:
    HWND OpenMenu() {
        Click(EmptyDesktopPoint(), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
        return WaitForWindow("#32768", nullptr, shell.Pid());
    }
};

TEST_F(DeskShellMenu, RightClickOpensAMenuOwnedByTheView) {
    Start(ShellOptions::WithIcons(2));
    shell.TakeEvents();
    HWND menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    std::vector<ShellEvent> events = shell.TakeEvents();
    auto shown = std::find_if(events.begin(), events.end(),
                              [](const ShellEvent& e) { return e.window == "menu"; });
    ASSERT_NE(shown, events.end());
    EXPECT_NE(shown->text.find("Auto Arrange"), std::string::npos) << shown->text;
    EXPECT_NE(shown->text.find("Refresh"), std::string::npos) << shown->text;
    EXPECT_EQ(shown->text.substr(shown->text.rfind('|') + 1), "Properties") << shown->text;

    SendMessageA(shell.DefView(), WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(WaitForWindowGone(menu) || !IsWindowVisible(menu));
    EXPECT_TRUE(WaitUntil([&] {
        std::vector<ShellEvent> after = shell.TakeEvents();
        events.insert(events.end(), after.begin(), after.end());
        return HasEvent(events, "defview", WM_EXITMENULOOP);
    }));
    for (UINT message : {WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT, WM_EXITMENULOOP})
        EXPECT_TRUE(HasEvent(events, "defview", message)) << message;
    EXPECT_FALSE(HasEvent(events, "progman", WM_INITMENU));
}

TEST_F(DeskShell, LeftClickReachesTheViewWhileTheListViewIsHidden) {
    Start(ShellOptions::WithIcons(0));
    ShowWindow(shell.ListView(), SW_HIDE);
    shell.TakeEvents();
    Click(EmptyDesktopPoint());
    std::vector<ShellEvent> events;
    EXPECT_TRUE(WaitUntil([&] {
        auto more = shell.TakeEvents();
        events.insert(events.end(), more.begin(), more.end());
        return HasEvent(events, "defview", WM_LBUTTONUP);
    }));
    ShowWindow(shell.ListView(), SW_SHOW);
}

TEST_F(DeskShell, ListViewNotificationsGoToTheView) {
    Start(ShellOptions::WithIcons(3));
    shell.TakeEvents();
    std::vector<ShellIcon> icons = shell.Layout();
    ASSERT_EQ(icons.size(), 3u);
    POINT onIcon{(icons[1].bounds.left + icons[1].bounds.right) / 2,
                 (icons[1].bounds.top + icons[1].bounds.bottom) / 2};
    ClientToScreen(shell.ListView(), &onIcon);
    Click(onIcon);
    const WPARAM itemChanged = static_cast<UINT>(LVN_ITEMCHANGED);
    std::vector<ShellEvent> events;
    EXPECT_TRUE(WaitUntil([&] {
        auto more = shell.TakeEvents();
        events.insert(events.end(), more.begin(), more.end());
        return HasEvent(events, "defview", WM_NOTIFY, itemChanged);
    }));
}

TEST_F(DeskShell, RestartGivesANewProgman) {
    Start(ShellOptions::WithIcons(4));
    HWND before = shell.Progman();
    DWORD pidBefore = shell.Pid();
    ASSERT_TRUE(shell.Restart());
    EXPECT_NE(shell.Progman(), before);
    EXPECT_NE(shell.Pid(), pidBefore);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_EQ(shell.Layout().size(), 4u);
    EXPECT_EQ(FindTopLevel("Progman", nullptr), shell.Progman());
}

TEST_F(DeskShell, ListViewKeepsItsOwnWindowProcedure) {
    Start();
    EXPECT_FALSE(shell.IsListViewSubclassed());
    shell.SetAutoArrange(true);
    shell.Add("x");
    EXPECT_FALSE(shell.IsListViewSubclassed());
}

// A 200 x 100 bitmap: left half one colour, right half another.
const COLORREF kLeft = RGB(250, 140, 20);
const COLORREF kRight = RGB(30, 160, 90);
const COLORREF kDesktopColor = RGB(90, 20, 110);

std::string WriteTwoColorBmp() {
    const int width = 200, height = 100;
    std::string path = BuildPath("testdata\\two_colours.bmp");
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::vector<uint8_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF c = x < width / 2 ? kLeft : kRight;
            pixels.insert(pixels.end(), {GetBValue(c), GetGValue(c), GetRValue(c)});
        }
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(reinterpret_cast<const char*>(pixels.data()),
              static_cast<std::streamsize>(pixels.size()));
    return path;
}

struct Probe {
    int x, y;
    COLORREF color;
};

struct WallpaperCase {
    const char* name;
    const char* style;
    const char* tile;
    std::vector<Probe> probes;
};

class DeskShellWallpaper : public DeskShell {
  protected:
    void SetUp() override {
        savedColor = GetSysColor(COLOR_BACKGROUND);
        char path[MAX_PATH] = "";
        SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
        savedWallpaper = path;
        savedStyle = RegRead(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle");
        savedTile = RegRead(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper");
    }
    void TearDown() override {
        INT element = COLOR_BACKGROUND;
        SetSysColors(1, &element, &savedColor);
        Restore("WallpaperStyle", savedStyle);
        Restore("TileWallpaper", savedTile);
        SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, savedWallpaper.data(),
                              SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    }
    static void Restore(const char* name, const std::optional<RegValue>& value) {
        if (value)
            RegWrite(HKEY_CURRENT_USER, kDesktopKey, name, value->type, value->data.data(),
                     static_cast<DWORD>(value->data.size()));
        else
            RegDeleteValue(HKEY_CURRENT_USER, kDesktopKey, name);
    }

    COLORREF savedColor = 0;
    std::string savedWallpaper;
    std::optional<RegValue> savedStyle, savedTile;
};

TEST_F(DeskShellWallpaper, DrawsDesktopColorAndWallpaperAsTheSettingsSay) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    const WallpaperCase cases[] = {
        {"centred",
         "0",
         "0",
         {{cx / 2 - 50, cy / 2, kLeft},
          {cx / 2 + 50, cy / 2, kRight},
          {10, 10, kDesktopColor},
          {cx / 2 - 110, cy / 2, kDesktopColor}}},
        {"tiled",
         "0",
         "1",
         {{50, 50, kLeft}, {150, 50, kRight}, {250, 150, kLeft}, {350, 250, kRight}}},
        {"stretched",
         "2",
         "0",
         {{10, 10, kLeft},
          {cx / 4, cy / 2, kLeft},
          {cx * 3 / 4, cy / 2, kRight},
          {cx - 10, 10, kRight}}},
    };
    INT element = COLOR_BACKGROUND;
    COLORREF color = kDesktopColor;
    ASSERT_TRUE(SetSysColors(1, &element, &color));
    std::string bitmap = WriteTwoColorBmp();
    Start(ShellOptions::WithIcons(0));
    for (const WallpaperCase& c : cases) {
        RegWriteString(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle", c.style);
        RegWriteString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper", c.tile);
        ASSERT_TRUE(SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, bitmap.data(),
                                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE));
        Image screen;
        WaitUntil([&] {
            screen = CaptureScreen();
            return std::all_of(c.probes.begin(), c.probes.end(),
                               [&](const Probe& p) { return screen.Pixel(p.x, p.y) == p.color; });
        });
        Screenshot(std::string("deskshell_wallpaper_") + c.name);
        for (const Probe& p : c.probes)
            EXPECT_EQ(screen.Pixel(p.x, p.y), p.color) << c.name << " at " << p.x << "," << p.y;
    }
}

TEST_F(DeskShellWallpaper, CaptionsHaveNoBackgroundOfTheirOwn) {
    INT element = COLOR_BACKGROUND;
    COLORREF color = kDesktopColor;
    ASSERT_TRUE(SetSysColors(1, &element, &color));
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(""),
                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    Start(ShellOptions::WithIcons(1));
    std::vector<ShellIcon> icons = shell.Layout();
    ASSERT_EQ(icons.size(), 1u);
    // Left of the caption text, inside its label rectangle.
    POINT inLabel{icons[0].label.left + 1, icons[0].label.top + 1};
    ClientToScreen(shell.ListView(), &inLabel);
    Image screen;
    EXPECT_TRUE(WaitUntil([&] {
        screen = CaptureScreen();
        return screen.Pixel(inLabel.x, inLabel.y) == kDesktopColor;
    })) << std::hex
        << screen.Pixel(inLabel.x, inLabel.y);
}

} // namespace
