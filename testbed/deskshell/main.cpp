// deskshell.exe: a stand-in for Explorer's desktop in the Wine test bed.
//
//   deskshell [-icons N | -icons-file PATH] [-autoarrange] [-layout NAME]
//
// "Progman" ("Program Manager") > "SHELLDLL_DefView" > "SysListView32" in
// icon view, over the desktop colour and wallpaper; -layout hangs the view
// elsewhere (ViewLayout in deskshell_protocol.h). Tests drive it through
// deskshell_protocol.h.
#include "testbed/deskshell/deskshell.h"
#include "testbed/deskshell/deskshell_protocol.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace deskshell {

Windows g_windows;

namespace {

const char* const kDefaultCaptions[] = {
    "Recycle Bin",   "This PC",     "Documents",      "Network",
    "Control Panel", "Downloads",   "Holiday Photos", "Budget 2024.xlsx",
    "Notes.txt",     "Web Browser", "Media Player",   "Setup Files",
};

struct Options {
    std::vector<std::string> captions;
    bool autoArrange = false;
    int layout = static_cast<int>(ViewLayout::Progman);
};

// -1 for a name that is no layout.
int LayoutNamed(const char* name) {
    for (int i = 0; i < static_cast<int>(std::size(kViewLayoutNames)); ++i)
        if (std::strcmp(name, kViewLayoutNames[i]) == 0)
            return i;
    return -1;
}

std::vector<std::string> NumberedCaptions(int count) {
    std::vector<std::string> captions;
    for (int i = 1; i <= count; ++i)
        captions.push_back("Icon " + std::to_string(i));
    return captions;
}

std::vector<std::string> CaptionsFromFile(const char* path) {
    std::vector<std::string> captions;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            captions.push_back(line);
    }
    return captions;
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    options.captions.assign(std::begin(kDefaultCaptions), std::end(kDefaultCaptions));
    for (int i = 1; i < argc; ++i) {
        bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "-icons") == 0 && hasValue)
            options.captions = NumberedCaptions(std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "-icons-file") == 0 && hasValue)
            options.captions = CaptionsFromFile(argv[++i]);
        else if (std::strcmp(argv[i], "-autoarrange") == 0)
            options.autoArrange = true;
        else if (std::strcmp(argv[i], "-layout") == 0 && hasValue)
            options.layout = LayoutNamed(argv[++i]);
    }
    return options;
}

HIMAGELIST CreateIcons() {
    const LPCSTR kIcons[] = {IDI_APPLICATION, IDI_WINLOGO, IDI_INFORMATION,
                             IDI_QUESTION,    IDI_WARNING, IDI_SHIELD};
    HIMAGELIST images = ImageList_Create(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                                         ILC_COLOR32 | ILC_MASK, 8, 0);
    for (LPCSTR icon : kIcons)
        ImageList_AddIcon(images, LoadIconA(nullptr, icon));
    return images;
}

// Settings broadcasts reach only top-level windows; Explorer hands them on to
// its view and the list view, and so do we.
void PassDown(UINT message, WPARAM wParam, LPARAM lParam) {
    SendMessageA(g_windows.defView, message, wParam, lParam);
    SendMessageA(g_windows.listView, message, wParam, lParam);
}

// The work area, and never over a visible taskbar at the bottom: Wine's
// taskbar is not topmost and does not always shrink the work area.
RECT DesktopArea() {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    RECT bar;
    if (taskbar && IsWindowVisible(taskbar) && GetWindowRect(taskbar, &bar) && bar.top > area.top &&
        bar.top < area.bottom)
        area.bottom = bar.top;
    return area;
}

void FitToScreen(HWND hwnd) {
    RECT area = DesktopArea();
    SetWindowPos(hwnd, HWND_BOTTOM, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_NOACTIVATE);
}

// Wine shows its taskbar some time after the virtual desktop comes up and
// announces no work-area change when it does; look again now and then.
constexpr UINT_PTR kRefitTimer = 1;
constexpr UINT kRefitIntervalMs = 500;

void RefitIfMoved(HWND hwnd) {
    RECT area = DesktopArea(), now;
    GetWindowRect(hwnd, &now);
    if (!EqualRect(&area, &now))
        FitToScreen(hwnd);
}

void FitToParent(HWND child) {
    RECT client;
    GetClientRect(GetParent(child), &client);
    MoveWindow(child, 0, 0, client.right, client.bottom, TRUE);
}

LRESULT CALLBACK ProgmanProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        DrawDesktop(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        PassDown(message, wParam, lParam);
        if (wParam == SPI_SETWORKAREA)
            FitToScreen(hwnd);
        // A change that names no setting (wParam 0) may be any of them,
        // the wallpaper included.
        if (message == WM_SETTINGCHANGE && (wParam == SPI_SETDESKWALLPAPER || wParam == 0))
            ForgetWallpaper();
        RefreshDesktop();
        return 0;
    case WM_DISPLAYCHANGE:
        FitToScreen(hwnd);
        RefreshDesktop();
        return 0;
    case WM_SIZE:
        if (g_windows.defView)
            FitViewHolders();
        return 0;
    case WM_WINDOWPOSCHANGING:
        // The desktop stays below every other window.
        reinterpret_cast<WINDOWPOS*>(lParam)->hwndInsertAfter = HWND_BOTTOM;
        return 0;
    case WM_TIMER:
        if (wParam == kRefitTimer)
            RefitIfMoved(hwnd);
        return 0;
    case WM_COPYDATA:
        return OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case kFreezeMessage:
        Sleep(static_cast<DWORD>(wParam));
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool OnEmptyDesktop(POINT screen) {
    LVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(g_windows.listView, &hit.pt);
    return SendMessageA(g_windows.listView, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0;
}

LRESULT CALLBACK DefViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        // Also the list view's background: with CLR_NONE it asks its parent.
        DrawDesktop(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_CONTEXTMENU: {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (OnEmptyDesktop(at))
            ShowContextMenu(at);
        return 0;
    }
    case WM_COMMAND:
        OnMenuCommand(LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        if (AnswerCaptionCallback(*reinterpret_cast<NMHDR*>(lParam)))
            return 0;
        break;
    case WM_SIZE:
        if (g_windows.listView)
            FitToParent(g_windows.listView);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

ATOM RegisterWindowClass(const char* name, WNDPROC proc) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    return RegisterClassA(&wc);
}

} // namespace

HWND CreateListView(bool autoArrange) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | LVS_ICON | LVS_SHAREIMAGELISTS |
                  (autoArrange ? LVS_AUTOARRANGE : 0);
    HWND listView = CreateWindowExA(0, WC_LISTVIEWA, "FolderView", style, 0, 0, 0, 0,
                                    g_windows.defView, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(listView, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(CreateIcons()));
    // Captions over the desktop picture, as Explorer draws them.
    SendMessageA(listView, LVM_SETBKCOLOR, 0, CLR_NONE);
    SendMessageA(listView, LVM_SETTEXTBKCOLOR, 0, CLR_NONE);
    SendMessageA(listView, LVM_SETTEXTCOLOR, 0, RGB(255, 255, 255));
    if (listView)
        FitToParent(listView);
    return listView;
}

void RecordOriginalListViewProc() {
    g_windows.originalProcA = GetWindowLongPtrA(g_windows.listView, GWLP_WNDPROC);
    g_windows.originalProcW = GetWindowLongPtrW(g_windows.listView, GWLP_WNDPROC);
}

namespace {

bool CreateShell(const Options& options) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    if (!RegisterWindowClass("Progman", ProgmanProc) ||
        !RegisterWindowClass("SHELLDLL_DefView", DefViewProc))
        return false;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // A tool window: the desktop has no button on the taskbar.
    g_windows.progman =
        CreateWindowExA(WS_EX_TOOLWINDOW, "Progman", "Program Manager", WS_POPUP | WS_CLIPCHILDREN,
                        0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    g_windows.defView =
        CreateWindowExA(0, "SHELLDLL_DefView", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0,
                        0, g_windows.progman, nullptr, instance, nullptr);
    g_windows.listView = CreateListView(options.autoArrange);
    if (!g_windows.progman || !g_windows.defView || !g_windows.listView)
        return false;
    RecordOriginalListViewProc();
    FitToScreen(g_windows.progman);
    if (!MoveView(options.layout))
        return false;
    SetTimer(g_windows.progman, kRefitTimer, kRefitIntervalMs, nullptr);
    AddIcons(options.captions);
    return true;
}

} // namespace
} // namespace deskshell

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace deskshell;
    if (!CreateShell(ParseOptions(__argc, __argv)))
        return 1;
    StartRecording();
    ShowWindow(g_windows.progman, SW_SHOWNOACTIVATE);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    StopRecording();
    return static_cast<int>(msg.wParam);
}
