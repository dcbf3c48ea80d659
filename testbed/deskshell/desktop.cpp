#include "testbed/deskshell/deskshell.h"

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

Placement WallpaperPlacement() {
    if (DesktopSetting("TileWallpaper") == "1")
        return Placement::Tile;
    return DesktopSetting("WallpaperStyle") == "2" ? Placement::Stretch : Placement::Centre;
}

void DrawWallpaper(HDC dc, int width, int height) {
    std::string path = WallpaperPath();
    if (path.empty())
        return;
    auto wallpaper = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                     LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!wallpaper)
        return;
    BITMAP info;
    GetObject(wallpaper, sizeof info, &info);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, wallpaper);
    switch (WallpaperPlacement()) {
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
    DeleteObject(wallpaper);
}

HBITMAP RenderDesktop(HDC reference) {
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    HBITMAP picture = CreateCompatibleBitmap(reference, width, height);
    HDC dc = CreateCompatibleDC(reference);
    HGDIOBJ old = SelectObject(dc, picture);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BACKGROUND));
    DrawWallpaper(dc, width, height);
    SelectObject(dc, old);
    DeleteDC(dc);
    return picture;
}

} // namespace

void InvalidateDesktop() {
    if (g_picture)
        DeleteObject(g_picture);
    g_picture = nullptr;
}

void RefreshDesktop() {
    InvalidateDesktop();
    RedrawWindow(g_windows.progman, nullptr, nullptr,
                 RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
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
