#include "colours/wallpaper_analysis_win.h"

#include "base/app_state.h"
#include "base/handles.h"
#include "colours/color_notes_win.h"
#include "colours/desktop_lock_win.h"
#include "colours/com_win.h"
#include "colours/wallpaper_analysis.h"
#include "settings/settings.h"

#include <wincodec.h>

#include <climits>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

namespace {

// ---- The cache ----------------------------------------------------------------

// Virtual memory for the pixels, given back when replaced or destroyed.
class PixelBuffer {
  public:
    ~PixelBuffer() { Free(); }
    std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool Reserve(std::size_t bytes) {
        if (bytes <= size_)
            return true;
        Free();
        data_ = static_cast<std::uint8_t*>(
            VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        size_ = data_ ? bytes : 0;
        return data_ != nullptr;
    }
    void Free() {
        if (data_)
            VirtualFree(data_, 0, MEM_RELEASE);
        data_ = nullptr;
        size_ = 0;
    }

  private:
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

// Holds, starts and release are counted under `lock`; the pixels themselves
// are written only by a holder (the one wallpaper worker) and freed only when
// no hold is left.
struct Cache {
    SRWLOCK lock = SRWLOCK_INIT;
    LONG holds = 0;
    LONG workerStarts = 0;
    PixelBuffer buffer;
    int width = 0;
    int height = 0;
    bool filled = false;
    colors::WallpaperFileState source; // the file the pixels came from, kept after release
    std::optional<colors::PictureSize> lastSize; // of the last picture read, kept after release
    bool startRefused = false; // a worker start came while an earlier one was counted
};

Cache g_cache;

class CacheLock {
  public:
    CacheLock() { AcquireSRWLockExclusive(&g_cache.lock); }
    ~CacheLock() { ReleaseSRWLockExclusive(&g_cache.lock); }
    CacheLock(const CacheLock&) = delete;
    CacheLock& operator=(const CacheLock&) = delete;
};

void TakeHold() {
    CacheLock lock;
    ++g_cache.holds;
}

void GiveHoldBack() {
    CacheLock lock;
    if (g_cache.holds > 0)
        --g_cache.holds;
}

// ---- Loading ----------------------------------------------------------------------

// The code FormatMessage knows for a COM result: the Win32 error inside a
// FACILITY_WIN32 result, else the result itself.
DWORD ErrorCodeOf(HRESULT result) {
    return HRESULT_FACILITY(result) == FACILITY_WIN32 ? HRESULT_CODE(result)
                                                      : static_cast<DWORD>(result);
}

bool ReadFileState(const std::wstring& path, colors::WallpaperFileState& state) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    state.path = path;
    state.lastWrite = std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32 |
                      data.ftLastWriteTime.dwLowDateTime;
    state.size = std::uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    return true;
}

// Makes the cache hold `width` x `height` pixels: 24-bit BGR, stored bottom-up
// with padded rows. Returns the row stride, or 0 when the size is out of reach.
UINT SizeCache(UINT width, UINT height, HRESULT& hr) {
    const UINT64 bytes = UINT64(colors::RowStride(static_cast<int>(width))) * height;
    if (width == 0 || height == 0 || width > INT_MAX / 3 || height > INT_MAX ||
        bytes > SIZE_MAX / 2) {
        hr = HRESULT_FROM_WIN32(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    if (!g_cache.buffer.Reserve(static_cast<std::size_t>(bytes))) {
        hr = HRESULT_FROM_WIN32(GetLastError());
        return 0;
    }
    g_cache.width = static_cast<int>(width);
    g_cache.height = static_cast<int>(height);
    return static_cast<UINT>(colors::RowStride(static_cast<int>(width)));
}

// A bitmap file is read by GDI: it needs neither COM nor the imaging
// component, whose libraries would stay loaded for the rest of the run.
// Nothing, with nothing read, when GDI cannot load the file.
std::optional<HRESULT> DecodeBitmapIntoCache(const std::wstring& path) {
    UniqueBitmap bitmap(static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                        LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    BITMAP header{};
    if (!bitmap || !GetObjectA(bitmap.get(), sizeof header, &header))
        return std::nullopt;
    const UINT width = static_cast<UINT>(header.bmWidth);
    const UINT height = static_cast<UINT>(std::abs(header.bmHeight));
    HRESULT hr = S_OK;
    if (!SizeCache(width, height, hr))
        return hr;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = static_cast<LONG>(width);
    format.bmiHeader.biHeight = static_cast<LONG>(height);
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biCompression = BI_RGB;
    WindowDc screen(nullptr);
    if (!screen || GetDIBits(screen.get(), bitmap.get(), 0, height, g_cache.buffer.data(), &format,
                             DIB_RGB_COLORS) != static_cast<int>(height))
        return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    return S_OK;
}

// Other pictures (JPEG, PNG and the rest) go through the imaging component.
HRESULT DecodeImageIntoCache(const std::wstring& path) {
    ComApartment apartment;
    if (!apartment.usable())
        return apartment.result();
    ComRef<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, factory.receiveVoid());
    ComRef<IWICBitmapDecoder> decoder;
    if (SUCCEEDED(hr))
        hr = factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.receive());
    ComRef<IWICBitmapFrameDecode> frame;
    if (SUCCEEDED(hr))
        hr = decoder->GetFrame(0, frame.receive());
    ComRef<IWICFormatConverter> converter;
    if (SUCCEEDED(hr))
        hr = factory->CreateFormatConverter(converter.receive());
    if (SUCCEEDED(hr))
        hr =
            converter->Initialize(frame.get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone,
                                  nullptr, 0.0, WICBitmapPaletteTypeCustom);
    UINT width = 0, height = 0;
    if (SUCCEEDED(hr))
        hr = converter->GetSize(&width, &height);
    if (FAILED(hr))
        return hr;
    const UINT stride = SizeCache(width, height, hr);
    for (UINT y = 0; y < height && stride && SUCCEEDED(hr); ++y) {
        const WICRect row{0, static_cast<INT>(y), static_cast<INT>(width), 1};
        hr = converter->CopyPixels(&row, stride, stride,
                                   g_cache.buffer.data() + std::size_t(height - 1 - y) * stride);
    }
    return hr;
}

// Decodes the first frame of `path` into the cache.
HRESULT DecodeIntoCache(const std::wstring& path) {
    if (const std::optional<HRESULT> read = DecodeBitmapIntoCache(path))
        return *read;
    return DecodeImageIntoCache(path);
}

// Makes the cache hold the current wallpaper. Its pixels serve again only
// for the same file unchanged on disk; a new picture is always read, into the
// old buffer when that is large enough. Returns the system error, or 0.
DWORD LoadCurrentWallpaper() {
    const std::wstring path = GetWallpaperPath();
    colors::WallpaperFileState current;
    if (path.empty()) {
        g_cache.filled = false;
        return 0;
    }
    if (!ReadFileState(path, current)) {
        g_cache.filled = false;
        return GetLastError();
    }
    if (colors::CachedPixelsAreCurrent(g_cache.filled, g_cache.source, current))
        return 0;
    g_cache.filled = false;
    const HRESULT hr = DecodeIntoCache(path);
    if (FAILED(hr))
        return ErrorCodeOf(hr);
    g_cache.filled = true;
    g_cache.source = current;
    CacheLock lock;
    g_cache.lastSize = colors::PictureSize{g_cache.width, g_cache.height};
    return 0;
}

} // namespace

std::wstring GetWallpaperPath() {
    wchar_t path[MAX_PATH] = L"";
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
    if (!path[0]) {
        DWORD size = sizeof path;
        if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", RRF_RT_REG_SZ,
                         nullptr, path, &size) != ERROR_SUCCESS)
            path[0] = L'\0';
    }
    return path;
}

WallpaperPixels::WallpaperPixels(HWND settingsWindow) {
    TakeHold();
    const DWORD error = LoadCurrentWallpaper();
    if (error)
        SendColorNote(settingsWindow, ColorNote::LastError, static_cast<LPARAM>(error));
    loaded_ = g_cache.filled;
}

WallpaperPixels::~WallpaperPixels() {
    GiveHoldBack();
}

colors::PixelView WallpaperPixels::view() const {
    return CachedWallpaper();
}

std::optional<colors::PictureSize> LastWallpaperSize() {
    CacheLock lock;
    return g_cache.lastSize;
}

colors::PixelView CachedWallpaper() {
    if (!g_cache.filled)
        return {};
    return {g_cache.buffer.data(), g_cache.width, g_cache.height};
}

bool BeginWallpaperWorkerRun() {
    CacheLock lock;
    if (g_cache.workerStarts++ != 0) {
        g_cache.startRefused = true;
        return false;
    }
    ++g_cache.holds;
    return true;
}

void EndWallpaperWorkerRun() {
    GiveHoldBack();
}

bool WallpaperWorkerStartCounted() {
    CacheLock lock;
    return g_cache.workerStarts != 0;
}

bool ReleaseWallpaperCache(HWND settingsWindow) {
    bool refused = false;
    {
        CacheLock lock;
        if (g_cache.holds != 0)
            return false;
        g_cache.buffer.Free();
        g_cache.filled = false;
        g_cache.width = g_cache.height = 0;
        g_cache.workerStarts = 0;
        refused = std::exchange(g_cache.startRefused, false);
    }
    KillTimer(settingsWindow, kCacheReleaseTimer);
    return refused;
}

colors::WallpaperFileState CurrentWallpaperFile() {
    colors::WallpaperFileState state;
    ReadFileState(GetWallpaperPath(), state);
    return state;
}

void SetDesktopColorFromWallpaper(HWND settingsWindow) {
    if (g_settings.DeskColorFromWallpaper == 0)
        return;
    colors::WallpaperColorOptions options;
    options.ignoreSolidBorder = g_settings.IgnoreSolidBorder != 0;
    options.sampleWholeImage = g_settings.SampleWholeImage != 0;
    options.useComplementColor = g_settings.UseComplementColor != 0;
    options.keepAspectRatio = g_settings.KeepAspectRatio != 0;
    options.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    options.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (const auto color = colors::ComputeWallpaperColor(CachedWallpaper(), options))
        SetDesktopColor(settingsWindow, *color);
}

void SetDesktopColor(HWND settingsWindow, COLORREF color) {
    const INT element = COLOR_BACKGROUND;
    if (!SetSysColors(1, &element, &color)) {
        DesktopDrawnWhileAsking drawn;
        QuietMessageBox(settingsWindow, "SetSysColors Failed!",
                        g_app.caption[0] ? g_app.caption : kProgramName, MB_OK);
    }
    SendColorNote(settingsWindow, ColorNote::DesktopColor,
                  static_cast<LPARAM>(GetSysColor(COLOR_BACKGROUND)));
}
