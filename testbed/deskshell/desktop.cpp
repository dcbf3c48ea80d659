#include "testbed/deskshell/deskshell.h"
#include "testbed/deskshell/deskshell_protocol.h"

#include <wincodec.h>

#include <cstdio>

namespace deskshell {
namespace {

enum class Placement { Centre, Tile, Stretch };

// The picture of the whole desktop, rebuilt when a setting changes.
HBITMAP g_picture = nullptr;

std::string RegistryString(const char* key, const char* name) {
    char value[MAX_PATH] = "";
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return "";
    return value;
}

std::string DesktopSetting(const char* name) {
    return RegistryString("Control Panel\\Desktop", name);
}

// Wine keeps each process's SPI_GETDESKWALLPAPER answer from its first call,
// so a change made by another process never shows there. Read what
// SPI_SETDESKWALLPAPER stored instead: Wine keeps a change made without
// SPIF_UPDATEINIFILE under its temporary key.
std::string WallpaperPath() {
    std::string path = RegistryString(
        "Software\\Wine\\Temporary System Parameters\\Control Panel\\Desktop", "Wallpaper");
    return path.empty() ? DesktopSetting("Wallpaper") : path;
}

// Likewise each process keeps the system colours it read first; a colour set
// since by another process (SetSysColors) is under the temporary key.
COLORREF DesktopColor() {
    const std::string value = RegistryString(
        "Software\\Wine\\Temporary System Parameters\\Control Panel\\Colors", "Background");
    unsigned red = 0, green = 0, blue = 0;
    if (std::sscanf(value.c_str(), "%u %u %u", &red, &green, &blue) == 3)
        return RGB(red, green, blue);
    return GetSysColor(COLOR_BACKGROUND);
}

Placement WallpaperPlacement() {
    if (DesktopSetting("TileWallpaper") == "1")
        return Placement::Tile;
    return DesktopSetting("WallpaperStyle") == "2" ? Placement::Stretch : Placement::Centre;
}

// JPEG, PNG and the like, which LoadImage does not read, through the
// Windows Imaging Component, as Explorer shows them.
HBITMAP DecodePicture(const std::string& path) {
    static const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)com;
    std::wstring wide(path.begin(), path.end());
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    HBITMAP bitmap = nullptr;
    UINT width = 0, height = 0;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
        SUCCEEDED(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                        nullptr, 0.0, WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&width, &height))) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = LONG(width);
        info.bmiHeader.biHeight = -LONG(height); // top-down, as the decoder gives the rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap && FAILED(converter->CopyPixels(nullptr, width * 4, width * 4 * height,
                                                   static_cast<BYTE*>(bits)))) {
            DeleteObject(bitmap);
            bitmap = nullptr;
        }
    }
    for (IUnknown* object : {static_cast<IUnknown*>(converter), static_cast<IUnknown*>(frame),
                             static_cast<IUnknown*>(decoder), static_cast<IUnknown*>(factory)})
        if (object)
            object->Release();
    return bitmap;
}

// The wallpaper as Windows holds it: read when it is set, not at every repaint.
struct Wallpaper {
    bool loaded = false;
    HBITMAP bitmap = nullptr;
    Placement placement = Placement::Centre;
} g_wallpaper;

const Wallpaper& CurrentWallpaper() {
    if (g_wallpaper.loaded)
        return g_wallpaper;
    g_wallpaper.loaded = true;
    g_wallpaper.placement = WallpaperPlacement();
    std::string path = WallpaperPath();
    if (path.empty())
        return g_wallpaper;
    g_wallpaper.bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                         LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!g_wallpaper.bitmap)
        g_wallpaper.bitmap = DecodePicture(path);
    return g_wallpaper;
}

void DrawWallpaper(HDC dc, int width, int height) {
    const Wallpaper& wallpaper = CurrentWallpaper();
    if (!wallpaper.bitmap)
        return;
    BITMAP info;
    GetObject(wallpaper.bitmap, sizeof info, &info);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, wallpaper.bitmap);
    switch (wallpaper.placement) {
    case Placement::Tile:
        for (int y = 0; y < height; y += info.bmHeight)
            for (int x = 0; x < width; x += info.bmWidth)
                BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
        break;
    case Placement::Stretch:
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, 0, 0, width, height, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        break;
    case Placement::Centre:
        BitBlt(dc, (width - info.bmWidth) / 2, (height - info.bmHeight) / 2, info.bmWidth,
               info.bmHeight, source, 0, 0, SRCCOPY);
        break;
    }
    SelectObject(source, old);
    DeleteDC(source);
}

HBITMAP RenderDesktop(HDC reference) {
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    HBITMAP picture = CreateCompatibleBitmap(reference, width, height);
    HDC dc = CreateCompatibleDC(reference);
    HGDIOBJ old = SelectObject(dc, picture);
    RECT all{0, 0, width, height};
    HBRUSH desktop = CreateSolidBrush(DesktopColor());
    FillRect(dc, &all, desktop);
    DeleteObject(desktop);
    DrawWallpaper(dc, width, height);
    SelectObject(dc, old);
    DeleteDC(dc);
    return picture;
}

} // namespace

void ForgetWallpaper() {
    if (g_wallpaper.bitmap)
        DeleteObject(g_wallpaper.bitmap);
    g_wallpaper = Wallpaper{};
}

void InvalidateDesktop() {
    if (g_picture)
        DeleteObject(g_picture);
    g_picture = nullptr;
}

void RefreshDesktop() {
    InvalidateDesktop();
    for (HWND top : {g_windows.progman, GetAncestor(g_windows.defView, GA_ROOT)})
        RedrawWindow(top, nullptr, nullptr,
                     RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// ---- Where the view hangs ------------------------------------------------------

namespace {

HWND g_topWorker;   // top-level "WorkerW" holding the view in the workerw layout
HWND g_emptyWorker; // top-level "WorkerW" without it, first in the window order
HWND g_childWorker; // "WorkerW" child of "Progman"

void FillParent(HWND window) {
    RECT client;
    if (window && GetClientRect(GetParent(window), &client))
        MoveWindow(window, 0, 0, client.right, client.bottom, TRUE);
}

LRESULT CALLBACK WorkerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        DrawDesktop(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_SIZE:
        if (GetParent(g_windows.defView) == hwnd)
            FillParent(g_windows.defView);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool RegisterWorkerClass() {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = WorkerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = "WorkerW";
        return RegisterClassA(&wc) != 0;
    }();
    return registered;
}

HWND CreateWorker(HWND parent, DWORD style) {
    if (!RegisterWorkerClass())
        return nullptr;
    RECT place{};
    GetWindowRect(g_windows.progman, &place);
    if (parent)
        GetClientRect(parent, &place);
    return CreateWindowExA(parent ? 0 : WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "WorkerW", "", style,
                           place.left, place.top, place.right - place.left,
                           place.bottom - place.top, parent, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

// The empty one is made last, so that it comes first among the top-level
// windows: a search must look into each "WorkerW", not take the first.
HWND TopWorker() {
    if (!g_topWorker) {
        g_topWorker = CreateWorker(nullptr, WS_POPUP | WS_CLIPCHILDREN);
        g_emptyWorker = CreateWorker(nullptr, WS_POPUP);
    }
    return g_topWorker;
}

HWND ChildWorker() {
    if (!g_childWorker)
        g_childWorker = CreateWorker(g_windows.progman, WS_CHILD | WS_CLIPCHILDREN);
    return g_childWorker;
}

HWND HolderFor(int layout) {
    switch (static_cast<ViewLayout>(layout)) {
    case ViewLayout::Progman:
        return g_windows.progman;
    case ViewLayout::WorkerW:
        return TopWorker();
    case ViewLayout::UnderProgmanChild:
        return ChildWorker();
    }
    return nullptr;
}

// Only the window holding the view shows; the top-level one lies just above
// "Progman", below every other window.
void ShowOnly(HWND holder) {
    if (g_childWorker)
        ShowWindow(g_childWorker, holder == g_childWorker ? SW_SHOWNA : SW_HIDE);
    if (!g_topWorker)
        return;
    if (holder != g_topWorker) {
        ShowWindow(g_topWorker, SW_HIDE);
        return;
    }
    SetWindowPos(g_topWorker, HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetWindowPos(g_windows.progman, HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace

bool MoveView(int layout) {
    HWND holder = HolderFor(layout);
    if (!holder)
        return false;
    if (GetParent(g_windows.defView) != holder)
        SetParent(g_windows.defView, holder);
    ShowOnly(holder);
    FitViewHolders();
    RefreshDesktop();
    return GetParent(g_windows.defView) == holder;
}

void FitViewHolders() {
    if (g_topWorker) {
        RECT place{};
        GetWindowRect(g_windows.progman, &place);
        MoveWindow(g_topWorker, place.left, place.top, place.right - place.left,
                   place.bottom - place.top, TRUE);
    }
    FillParent(g_childWorker);
    FillParent(g_windows.defView);
}

void DrawDesktop(HDC dc) {
    if (!g_picture)
        g_picture = RenderDesktop(dc);
    // The list view hands its own DC to its parent's WM_ERASEBKGND: place the
    // picture (in screen coordinates) by the window the DC belongs to.
    POINT origin{0, 0};
    if (HWND window = WindowFromDC(dc))
        ClientToScreen(window, &origin);
    RECT clip;
    GetClipBox(dc, &clip);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, g_picture);
    BitBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, source,
           clip.left + origin.x, clip.top + origin.y, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

} // namespace deskshell
