// deskctl.exe: small desktop chores for scripts in the test bed.
//
//   deskctl wallpaper PATH STYLE TILE   set the wallpaper ("WallpaperStyle" STYLE,
//                                       "TileWallpaper" TILE) and tell every window
//   deskctl screenshot PATH.png         write the virtual desktop as a PNG
//   deskctl wait CLASS [SECONDS]        wait for a top-level window of CLASS
//   deskctl scramble                    move the desktop icons to other places
//   deskctl tab INDEX                   show page INDEX of Tessara's settings window
//   deskctl tray-menu PATH.png          right-click the tray icon, photograph its menu, close it
//   deskctl click ID                    click button ID of Tessara's settings window
//   deskctl syscolor                    exit code: GetSysColor(COLOR_BACKGROUND) as a
//                                       new process reads it
//   deskctl move-view LAYOUT            move the stand-in shell's view (progman, workerw,
//                                       progman-child) while it runs
//   deskctl mouse X Y move|left|right   move the pointer to (X, Y), or click a button there
//   deskctl mouse-on ID left|right      click a button of the mouse on control ID of
//                                       Tessara's settings window
#include "testbed/deskshell/deskshell_protocol.h"
#include "tests/harness/harness.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

int SetWallpaper(const char* path, const char* style, const char* tile) {
    const char* key = "Control Panel\\Desktop";
    if (!harness::RegWriteString(HKEY_CURRENT_USER, key, "WallpaperStyle", style) ||
        !harness::RegWriteString(HKEY_CURRENT_USER, key, "TileWallpaper", tile))
        return 1;
    std::string wallpaper = path;
    return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, wallpaper.data(),
                                 SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)
               ? 0
               : 1;
}

LRESULT ShellCommandResult(ShellCommand command, const void* data = nullptr, DWORD size = 0) {
    HWND progman = FindWindowA("Progman", "Program Manager");
    COPYDATASTRUCT copy{static_cast<unsigned long>(command), size, const_cast<void*>(data)};
    DWORD_PTR result = 0;
    if (!progman || !SendMessageTimeoutA(progman, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy),
                                         SMTO_NORMAL, 10000, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

// The stand-in shell names its view, wherever it hangs.
HWND DesktopListView() {
    HWND defView = reinterpret_cast<HWND>(ShellCommandResult(ShellCommand::DefView));
    return defView ? FindWindowExA(defView, nullptr, "SysListView32", nullptr) : nullptr;
}

int MoveView(const char* name) {
    for (int layout = 0; layout < static_cast<int>(std::size(kViewLayoutNames)); ++layout)
        if (std::strcmp(name, kViewLayoutNames[layout]) == 0)
            return ShellCommandResult(ShellCommand::MoveView, &layout, sizeof layout) == 1 ? 0 : 1;
    return 2;
}

// Deals the icons out in reverse order along a diagonal band, so that the
// layout is plainly not the one saved. LVM_SETITEMPOSITION carries the point in
// lParam, so it works across processes.
int ScrambleIcons() {
    HWND listView = DesktopListView();
    if (!listView)
        return 1;
    const int count = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const int slot = count - 1 - i;
        SendMessageA(listView, LVM_SETITEMPOSITION, i,
                     MAKELPARAM(300 + slot * 50 % 600, 40 + slot * 45 % 560));
    }
    return 0;
}

// Moving the tab control's focus selects the tab and notifies its window, as a
// click does; a WM_NOTIFY cannot be sent across processes.
int ShowSettingsPage(int index) {
    HWND window = FindWindowA("Tessara", "Tessara");
    HWND tabs = window ? FindWindowExA(window, nullptr, WC_TABCONTROLA, nullptr) : nullptr;
    if (!tabs)
        return 1;
    SendMessageA(tabs, TCM_SETCURFOCUS, index, 0);
    return 0;
}

// The taskbar draws the tray icons from its right end; the mouse messages
// posted there reach the icon's program as a click would.
int PhotographTrayMenu(const char* path) {
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    if (!taskbar)
        return 1;
    RECT client{};
    GetClientRect(taskbar, &client);
    const LPARAM at = MAKELPARAM(client.right - 10, client.bottom / 2);
    PostMessageA(taskbar, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageA(taskbar, WM_RBUTTONUP, 0, at);
    HWND menu = harness::WaitForWindow("#32768", nullptr, 0, 5000);
    if (!menu)
        return 1;
    harness::PumpMessages(500);
    const bool written = harness::ScreenshotTo(path);
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    return written ? 0 : 1;
}

// BM_CLICK works as the mouse does: a check box or radio button changes its
// state before it tells the window.
int ClickSettingsButton(int id) {
    HWND window = FindWindowA("Tessara", "Tessara");
    HWND button = window ? GetDlgItem(window, id) : nullptr;
    if (!button)
        return 1;
    SendMessageA(button, BM_CLICK, 0, 0);
    return 0;
}

// The pointer goes to (x, y) and the button event carries that place, as a
// mouse's would.
int Mouse(int x, int y, const char* action) {
    DWORD flags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    DWORD release = 0;
    if (std::strcmp(action, "left") == 0) {
        flags |= MOUSEEVENTF_LEFTDOWN;
        release = MOUSEEVENTF_LEFTUP;
    } else if (std::strcmp(action, "right") == 0) {
        flags |= MOUSEEVENTF_RIGHTDOWN;
        release = MOUSEEVENTF_RIGHTUP;
    } else if (std::strcmp(action, "move") != 0) {
        return 2;
    }
    SetCursorPos(x, y);
    INPUT inputs[2]{};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx =
            (x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy =
            (y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    inputs[0].mi.dwFlags = flags;
    inputs[1].mi.dwFlags = release | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(release ? 2 : 1, inputs, sizeof inputs[0]);
    harness::PumpMessages(100);
    SetCursorPos(x, y);
    return 0;
}

int MouseOnControl(int id, const char* action) {
    HWND window = FindWindowA("Tessara", "Tessara");
    HWND control = window ? GetDlgItem(window, id) : nullptr;
    RECT rect{};
    if (!control || !GetWindowRect(control, &rect))
        return 1;
    return Mouse((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, action);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "wallpaper") == 0)
        return SetWallpaper(argv[2], argv[3], argv[4]);
    if (argc == 3 && std::strcmp(argv[1], "screenshot") == 0)
        return harness::ScreenshotTo(argv[2]) ? 0 : 1;
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "wait") == 0) {
        DWORD seconds = argc == 4 ? std::strtoul(argv[3], nullptr, 10) : 20;
        if (harness::WaitForWindow(argv[2], nullptr, 0, seconds * 1000))
            return 0;
        std::fprintf(stderr, "deskctl: no top-level window of class %s appeared within %lu s\n",
                     argv[2], static_cast<unsigned long>(seconds));
        return 1;
    }
    if (argc == 2 && std::strcmp(argv[1], "scramble") == 0)
        return ScrambleIcons();
    if (argc == 3 && std::strcmp(argv[1], "tray-menu") == 0)
        return PhotographTrayMenu(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "tab") == 0)
        return ShowSettingsPage(std::atoi(argv[2]));
    if (argc == 2 && std::strcmp(argv[1], "syscolor") == 0)
        return static_cast<int>(GetSysColor(COLOR_BACKGROUND));
    if (argc == 3 && std::strcmp(argv[1], "click") == 0)
        return ClickSettingsButton(std::atoi(argv[2]));
    if (argc == 3 && std::strcmp(argv[1], "move-view") == 0)
        return MoveView(argv[2]);
    if (argc == 5 && std::strcmp(argv[1], "mouse") == 0)
        return Mouse(std::atoi(argv[2]), std::atoi(argv[3]), argv[4]);
    if (argc == 4 && std::strcmp(argv[1], "mouse-on") == 0)
        return MouseOnControl(std::atoi(argv[2]), argv[3]);
    std::fprintf(stderr,
                 "usage: deskctl wallpaper PATH STYLE TILE | screenshot PATH.png | "
                 "wait CLASS [SECONDS] | scramble | tab INDEX | tray-menu PATH.png | click ID | "
                 "syscolor | move-view progman|workerw|progman-child | mouse X Y move|left|right | "
                 "mouse-on ID left|right\n");
    return 2;
}
