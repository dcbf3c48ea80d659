// shellview.exe: the shell's own desktop view, hosted as Explorer hosts it,
// for the Wine test bed.
//
//   shellview [-autoarrange] [-layout progman|workerw]
//
// The Desktop folder's view (IShellFolder::CreateViewObject, then
// IShellView::CreateViewWindow with FWF_DESKTOP) in a top-level "Progman"
// ("Program Manager"): "Progman" > "SHELLDLL_DefView" > "SysListView32", the
// list view filled, sorted and answered by shell32 itself. Unlike the
// stand-in desktop (deskshell.exe) its icons are the Desktop folder's items.
// It answers the part of deskshell_protocol.h that applies to a view it does
// not own: WriteLayout, SetAutoArrange, IsSubclassed, Refresh, MoveView
// (progman and workerw), DefView, WriteMenu, IsViewSubclassed, and its own
// AnnounceChange.
#include "testbed/deskshell/deskshell_protocol.h"
#include "testbed/deskshell/list_writers.h"
#include "testbed/shellview/shell_browser.h"

#include <commctrl.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

using Microsoft::WRL::ComPtr;

namespace shellview {
namespace {

struct Options {
    bool autoArrange = false;
    ViewLayout layout = ViewLayout::Progman;
};

struct Host {
    HWND progman = nullptr;
    HWND topWorker = nullptr;   // holds the view in the workerw layout
    HWND emptyWorker = nullptr; // the other, empty "WorkerW", first in the window order
    ComPtr<IShellView> view;
    HWND defView = nullptr;
    HWND listView = nullptr;
    LONG_PTR originalProcA = 0;
    LONG_PTR originalProcW = 0;
};

Host g_host;

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-autoarrange") == 0)
            options.autoArrange = true;
        else if (std::strcmp(argv[i], "-layout") == 0 && i + 1 < argc &&
                 std::strcmp(argv[++i], "workerw") == 0)
            options.layout = ViewLayout::WorkerW;
    }
    return options;
}

std::string TextOf(const COPYDATASTRUCT& data) {
    const char* bytes = static_cast<const char*>(data.lpData);
    std::string text(bytes ? bytes : "", bytes ? data.cbData : 0);
    return text.substr(0, text.find('\0'));
}

std::optional<int32_t> IntOf(const COPYDATASTRUCT& data) {
    if (data.cbData != sizeof(int32_t) || !data.lpData)
        return std::nullopt;
    int32_t value;
    std::memcpy(&value, data.lpData, sizeof value);
    return value;
}

RECT WorkArea() {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

void FillParent(HWND window) {
    RECT client;
    if (window && GetClientRect(GetParent(window), &client))
        MoveWindow(window, 0, 0, client.right, client.bottom, TRUE);
}

// ---- Auto Arrange and the subclass probes ----

// As the user's "Auto Arrange" switch: the view's list view keeps its items
// where they are when it goes off and arranges them when it comes on.
void SetAutoArrange(bool on) {
    const LONG style = GetWindowLongA(g_host.listView, GWL_STYLE);
    SetWindowLongA(g_host.listView, GWL_STYLE,
                   on ? style | LVS_AUTOARRANGE : style & ~LVS_AUTOARRANGE);
    if (on)
        SendMessageA(g_host.listView, LVM_ARRANGE, LVA_DEFAULT, 0);
}

void RecordOriginalListViewProc() {
    g_host.originalProcA = GetWindowLongPtrA(g_host.listView, GWLP_WNDPROC);
    g_host.originalProcW = GetWindowLongPtrW(g_host.listView, GWLP_WNDPROC);
}

bool IsListViewSubclassed() {
    return GetWindowLongPtrA(g_host.listView, GWLP_WNDPROC) != g_host.originalProcA ||
           GetWindowLongPtrW(g_host.listView, GWLP_WNDPROC) != g_host.originalProcW;
}

bool IsViewSubclassed() {
    HWND view = g_host.defView;
    const auto procA = static_cast<ULONG_PTR>(GetWindowLongPtrA(view, GWLP_WNDPROC));
    const auto procW = static_cast<ULONG_PTR>(GetWindowLongPtrW(view, GWLP_WNDPROC));
    return procA != GetClassLongPtrA(view, GCLP_WNDPROC) ||
           procW != GetClassLongPtrW(view, GCLP_WNDPROC);
}

// ---- The view's context menu ----

// The view tracks its menu itself; its popup windows are ours ("#32768" of
// this thread), and a popup whose menu hangs under no other shown one is the
// context menu itself.
struct ShownMenus {
    HMENU menus[8] = {};
    int count = 0;
};

BOOL CALLBACK CollectShownMenu(HWND window, LPARAM lParam) {
    auto& shown = *reinterpret_cast<ShownMenus*>(lParam);
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "#32768") != 0 || !IsWindowVisible(window) ||
        shown.count == static_cast<int>(std::size(shown.menus)))
        return TRUE;
    if (auto menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0)))
        shown.menus[shown.count++] = menu;
    return TRUE;
}

bool IsSubmenuOf(HMENU menu, HMENU parent) {
    for (int i = 0, count = GetMenuItemCount(parent); i < count; ++i)
        if (GetSubMenu(parent, i) == menu)
            return true;
    return false;
}

HMENU OpenContextMenu() {
    ShownMenus shown;
    EnumThreadWindows(GetCurrentThreadId(), CollectShownMenu, reinterpret_cast<LPARAM>(&shown));
    for (int i = 0; i < shown.count; ++i) {
        bool isSubmenu = false;
        for (int j = 0; j < shown.count && !isSubmenu; ++j)
            isSubmenu = j != i && IsSubmenuOf(shown.menus[i], shown.menus[j]);
        if (!isSubmenu)
            return shown.menus[i];
    }
    return nullptr;
}

int WriteOpenMenu(const std::string& path) {
    HMENU menu = OpenContextMenu();
    return menu ? deskshell::WriteMenuTree(menu, path) : -1;
}

// ---- Where the view hangs ----

LRESULT CALLBACK WorkerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE && GetParent(g_host.defView) == hwnd) {
        FillParent(g_host.defView);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND CreateTopWorker(DWORD style) {
    const RECT area = WorkArea();
    return CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "WorkerW", "", style, area.left,
                           area.top, area.right - area.left, area.bottom - area.top, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The empty one is made last, so that it comes first among the top-level
// windows, as Explorer leaves them: a search must look into each "WorkerW".
HWND TopWorker() {
    if (!g_host.topWorker) {
        g_host.topWorker = CreateTopWorker(WS_POPUP | WS_CLIPCHILDREN);
        g_host.emptyWorker = CreateTopWorker(WS_POPUP);
    }
    return g_host.topWorker;
}

bool MoveView(int layout) {
    HWND holder = nullptr;
    if (layout == static_cast<int>(ViewLayout::Progman))
        holder = g_host.progman;
    else if (layout == static_cast<int>(ViewLayout::WorkerW))
        holder = TopWorker();
    if (!holder)
        return false;
    if (GetParent(g_host.defView) != holder)
        SetParent(g_host.defView, holder);
    if (g_host.topWorker)
        SetWindowPos(g_host.topWorker, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE |
                         (holder == g_host.topWorker ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    SetWindowPos(g_host.progman, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    FillParent(g_host.defView);
    return GetParent(g_host.defView) == holder;
}

// ---- The control channel ----

// Wine's shell32 keeps the windows registered for change notifications per
// process, so a change announced by another process never reaches the view:
// the announcement is made here, in the view's process, as Explorer's own
// file-system watch makes it.
bool AnnounceChange(const COPYDATASTRUCT& data) {
    const auto* bytes = static_cast<const char*>(data.lpData);
    if (!bytes || data.cbData < sizeof(int32_t) + 1 || bytes[data.cbData - 1] != '\0')
        return false;
    int32_t event;
    std::memcpy(&event, bytes, sizeof event);
    const char* path = bytes + sizeof event;
    const char* end = bytes + data.cbData;
    const char* newPath = path + std::strlen(path) + 1;
    SHChangeNotify(event, SHCNF_PATHA | SHCNF_FLUSH, path, newPath < end ? newPath : nullptr);
    return true;
}

LRESULT OnCopyData(const COPYDATASTRUCT& data) {
    switch (static_cast<ShellCommand>(data.dwData)) {
    case ShellCommand::WriteLayout:
        return deskshell::WriteListLayout(g_host.listView, TextOf(data));
    case ShellCommand::SetAutoArrange: {
        const auto on = IntOf(data);
        if (!on)
            return 0;
        SetAutoArrange(*on != 0);
        return 1;
    }
    case ShellCommand::IsSubclassed:
        return IsListViewSubclassed();
    case ShellCommand::Refresh:
        return SUCCEEDED(g_host.view->Refresh());
    case ShellCommand::MoveView: {
        const auto layout = IntOf(data);
        return layout && MoveView(*layout);
    }
    case ShellCommand::DefView:
        return reinterpret_cast<LRESULT>(g_host.defView);
    case ShellCommand::WriteMenu:
        return WriteOpenMenu(TextOf(data));
    case ShellCommand::IsViewSubclassed:
        return IsViewSubclassed();
    case ShellCommand::AnnounceChange:
        return AnnounceChange(data);
    default:
        return -1; // the stand-in's own icons and recordings: not this desktop's
    }
}

void CloseView() {
    if (!g_host.view)
        return;
    g_host.view->UIActivate(SVUIA_DEACTIVATE);
    g_host.view->DestroyViewWindow();
    g_host.view.Reset();
    g_host.defView = g_host.listView = nullptr;
}

LRESULT CALLBACK ProgmanProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (g_host.defView && GetParent(g_host.defView) == hwnd)
            FillParent(g_host.defView);
        return 0;
    case WM_WINDOWPOSCHANGING:
        // The desktop stays below every other window.
        reinterpret_cast<WINDOWPOS*>(lParam)->hwndInsertAfter = HWND_BOTTOM;
        return 0;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        // Broadcasts reach top-level windows only; Explorer hands them on.
        if (g_host.defView)
            SendMessageA(g_host.defView, message, wParam, lParam);
        return 0;
    case WM_COPYDATA:
        return OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case kFreezeMessage:
        Sleep(static_cast<DWORD>(wParam));
        return 0;
    case WM_CLOSE:
        CloseView();
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool RegisterWindowClass(const char* name, WNDPROC proc) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1);
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0;
}

bool CreateDesktopView(ShellBrowser& browser, bool autoArrange) {
    ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(&desktop)) ||
        FAILED(desktop->CreateViewObject(g_host.progman, IID_PPV_ARGS(&g_host.view))))
        return false;
    browser.SetView(g_host.view.Get());
    FOLDERSETTINGS settings{FVM_ICON, FWF_DESKTOP | FWF_NOCLIENTEDGE | FWF_NOSCROLL};
    RECT client;
    GetClientRect(g_host.progman, &client);
    if (FAILED(g_host.view->CreateViewWindow(nullptr, &settings, &browser, &client,
                                             &g_host.defView)) ||
        !g_host.defView)
        return false;
    g_host.view->UIActivate(SVUIA_ACTIVATE_NOFOCUS);
    g_host.listView = FindWindowExA(g_host.defView, nullptr, WC_LISTVIEWA, nullptr);
    if (!g_host.listView)
        return false;
    RecordOriginalListViewProc();
    SetAutoArrange(autoArrange);
    return true;
}

bool CreateHost(const Options& options, ShellBrowser& browser) {
    if (!RegisterWindowClass("Progman", ProgmanProc) || !RegisterWindowClass("WorkerW", WorkerProc))
        return false;
    const RECT area = WorkArea();
    // A tool window: the desktop has no button on the taskbar.
    g_host.progman =
        CreateWindowExA(WS_EX_TOOLWINDOW, "Progman", "Program Manager", WS_POPUP | WS_CLIPCHILDREN,
                        area.left, area.top, area.right - area.left, area.bottom - area.top,
                        nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    browser.SetFrame(g_host.progman);
    return g_host.progman && CreateDesktopView(browser, options.autoArrange) &&
           MoveView(static_cast<int>(options.layout));
}

} // namespace
} // namespace shellview

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace shellview;
    if (FAILED(OleInitialize(nullptr)))
        return 1;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    const Options options = ParseOptions(__argc, __argv);
    ShellBrowser browser;
    int code = 1;
    if (CreateHost(options, browser)) {
        ShowWindow(g_host.progman, SW_SHOWNOACTIVATE);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        code = static_cast<int>(msg.wParam);
    }
    CloseView();
    OleUninitialize();
    return code;
}
