#include "colours/stretched_wallpaper_win.h"

#include "base/app_state.h"
#include "base/instance_data.h"
#include "base/handles.h"
#include "colours/color_notes_win.h"
#include "colours/desktop_lock_win.h"
#include "colours/stretched_wallpaper.h"
#include "colours/wallpaper_analysis_win.h"
#include "settings/settings.h"

#include <atomic>

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kReadOnlyQuestion[] =
    "The wallpaper file was read-only.The screen image was not resized.\nTo maintain the aspect "
    "ratio of wallpaper images\n\nTessara needs to temporarily rename wallpaper files.\nDo you "
    "want to turn off the aspect ratio setting on the\nDesktop tab?";
constexpr char kNoBackupMessage[] =
    "Tessara could not create the temporary wallpaper file that\nit uses to resize \"stretched\" "
    "wallpaper.\n\nThe option to normalize stretched wallpaper has been turned off.";

std::atomic<bool> g_normalizeBusy{false};
std::atomic<int> g_normalizeRequests{0};

const char* Caption() {
    return g_app.caption[0] ? g_app.caption : kProgramName;
}

void NoteLastError(HWND window) {
    SendColorNote(window, ColorNote::LastError, static_cast<LPARAM>(GetLastError()));
}

void TurnOffKeepAspectRatio(HWND window) {
    g_settings.KeepAspectRatio = 0;
    SendColorNote(window, ColorNote::KeepAspectRatioOff);
}

BITMAPINFO BottomUpInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// Writes the two parts into a file beside `path`, then puts it in place of
// `path` in one step, so that `path` is never a half-written file.
bool WriteFileBeside(const std::wstring& path, const void* head, DWORD headSize, const void* body,
                     DWORD bodySize) {
    const std::wstring beside = path + L"~";
    bool written = false;
    {
        UniqueHandle file(CreateFileW(beside.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD done = 0;
        written = file && WriteFile(file.get(), head, headSize, &done, nullptr) &&
                  done == headSize && WriteFile(file.get(), body, bodySize, &done, nullptr) &&
                  done == bodySize && FlushFileBuffers(file.get());
    }
    if (written && MoveFileExW(beside.c_str(), path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    const DWORD error = GetLastError();
    DeleteFileW(beside.c_str());
    SetLastError(error);
    return false;
}

// A copy of `from` put in place of `to` in one step.
bool ReplaceWithCopy(const std::wstring& from, const std::wstring& to) {
    const std::wstring beside = to + L"~";
    if (CopyFileW(from.c_str(), beside.c_str(), FALSE) &&
        MoveFileExW(beside.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(beside.c_str());
    return false;
}

// The cached picture scaled to `size` (HALFTONE) and written to `path`.
bool WriteScaledBitmap(HWND window, const colors::PixelView& picture, colors::PictureSize size,
                       const std::wstring& path) {
    const BITMAPINFO scaledInfo = BottomUpInfo(size.width, size.height);
    void* bits = nullptr;
    UniqueBitmap scaled(CreateDIBSection(nullptr, &scaledInfo, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!scaled || !dc) {
        NoteLastError(window);
        return false;
    }
    {
        SelectedObject selected(dc.get(), scaled.get());
        SetStretchBltMode(dc.get(), HALFTONE);
        SetBrushOrgEx(dc.get(), 0, 0, nullptr);
        const BITMAPINFO sourceInfo = BottomUpInfo(picture.width, picture.height);
        if (!StretchDIBits(dc.get(), 0, 0, size.width, size.height, 0, 0, picture.width,
                           picture.height, picture.pixels, &sourceInfo, DIB_RGB_COLORS, SRCCOPY)) {
            NoteLastError(window);
            return false;
        }
        GdiFlush();
    }
    const auto headers = colors::BitmapFileHeaders(size.width, size.height);
    const auto imageSize =
        static_cast<DWORD>(colors::RowStride(size.width) * static_cast<std::size_t>(size.height));
    if (!WriteFileBeside(path, headers.data(), DWORD(headers.size()), bits, imageSize)) {
        NoteLastError(window);
        return false;
    }
    return true;
}

// Has Windows load `scaledPath` as the centred wallpaper under the name of
// the user's file, whose own content is back in place afterwards.
void ShowCentredUnderWallpaperName(HWND window, const std::wstring& scaledPath) {
    const std::wstring wallpaper = GetWallpaperPath();
    const std::wstring backup = wallpaper + L"X";
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(wallpaper.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    FindClose(search);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
        DesktopDrawnWhileAsking drawn;
        if (MessageBoxA(window, kReadOnlyQuestion, Caption(), MB_ICONWARNING | MB_YESNO) == IDYES)
            TurnOffKeepAspectRatio(window);
        return;
    }
    if (!CopyFileW(wallpaper.c_str(), backup.c_str(), FALSE)) {
        DeleteFileW(backup.c_str());
        {
            DesktopDrawnWhileAsking drawn;
            MessageBoxA(window, kNoBackupMessage, Caption(), MB_OK);
        }
        TurnOffKeepAspectRatio(window);
        return;
    }
    if (ReplaceWithCopy(scaledPath, wallpaper)) {
        WriteRegistryString(kDesktopKey, "WallpaperStyle", "0");
        WriteRegistryString(kDesktopKey, "TileWallpaper", "0");
        // Sent on, so that the desktop repaints from the file while it holds the scaled picture.
        SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(wallpaper.c_str()),
                              SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    } else {
        NoteLastError(window);
    }
    if (!MoveFileExW(backup.c_str(), wallpaper.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        NoteLastError(window);
}

void NormalizePass(HWND window) {
    const colors::PixelView picture = CachedWallpaper();
    if (picture.Empty())
        return;
    const colors::PictureSize size =
        colors::ComputeStretchedSize({picture.width, picture.height},
                                     {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
                                     g_settings.StretchInnerDimension != 0);
    const std::wstring scaledPath = TempBitmapPath();
    if (size.width == 0 || !WriteScaledBitmap(window, picture, size, scaledPath))
        return;
    ShowCentredUnderWallpaperName(window, scaledPath);
    if (!TestModeOn())
        DeleteFileW(scaledPath.c_str());
}

} // namespace

std::wstring TempBitmapPath() {
    return TemporaryFolder() + L"tessara.bmp";
}

void NormalizeStretchedWallpaper(HWND settingsWindow) {
    if (g_normalizeBusy.exchange(true)) {
        ++g_normalizeRequests;
        return;
    }
    do {
        g_normalizeRequests = 0;
        NormalizePass(settingsWindow);
    } while (g_normalizeRequests > 0);
    g_normalizeBusy = false;
}
