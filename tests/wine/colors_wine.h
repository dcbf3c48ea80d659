// Wallpapers for the colour tests, written by the system's own encoders
// (BMP, JPEG, PNG), and the desktop settings around them.
#pragma once

#include "colours/com_win.h"
#include "tests/harness/harness.h"
#include "tests/wine/app_program.h"

#include <wincodec.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <functional>
#include <string>
#include <vector>

namespace colors_test {

enum class Format { Bmp, Jpeg, Png };

using PixelFunction = std::function<COLORREF(int x, int y)>; // y from the top

// Encodes a width x height picture into `path`.
inline bool WritePicture(const std::wstring& path, Format format, int width, int height,
                         const PixelFunction& pixel) {
    ComApartment apartment;
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    ComRef<IPropertyBag2> properties;
    const GUID container = format == Format::Bmp    ? GUID_ContainerFormatBmp
                           : format == Format::Jpeg ? GUID_ContainerFormatJpeg
                                                    : GUID_ContainerFormatPng;
    const UINT stride = UINT(width) * 3;
    std::vector<BYTE> rows(std::size_t(stride) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            BYTE* p = &rows[std::size_t(y) * stride + std::size_t(x) * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    WICPixelFormatGUID pixelFormat = GUID_WICPixelFormat24bppBGR;
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, factory.receiveVoid())) &&
           SUCCEEDED(factory->CreateStream(stream.receive())) &&
           SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(container, nullptr, encoder.receive())) &&
           SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(frame.receive(), properties.receive())) &&
           SUCCEEDED(frame->Initialize(properties.get())) &&
           SUCCEEDED(frame->SetSize(UINT(width), UINT(height))) &&
           SUCCEEDED(frame->SetPixelFormat(&pixelFormat)) &&
           IsEqualGUID(pixelFormat, GUID_WICPixelFormat24bppBGR) &&
           SUCCEEDED(frame->WritePixels(UINT(height), stride, UINT(rows.size()), rows.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

inline bool WritePicture(const std::string& path, Format format, int width, int height,
                         const PixelFunction& pixel) {
    return WritePicture(harness::Widened(path), format, width, height, pixel);
}

inline PixelFunction Solid(COLORREF c) {
    return [c](int, int) { return c; };
}

inline bool Near(COLORREF a, COLORREF b, int tolerance = 6) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

inline std::string Hex(COLORREF c) {
    char text[16];
    wsprintfA(text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

constexpr char kDesktopKey[] = "Control Panel\\Desktop";

// Every test uses this one wallpaper file and changes its content. Wine keeps
// each process's SPI_GETDESKWALLPAPER answer from its first call, so a
// running Tessara.exe would never see a new path.
inline std::string WallpaperPath() {
    return harness::BuildPath("testdata\\colors_wallpaper");
}

enum class Layout { Centered, Tiled, Stretched };

inline std::vector<char> FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Writes the picture beside the wallpaper file, puts it in place and tells
// the desktop, which passes the change on to Tessara. `written` receives the
// file's bytes.
inline bool SetWallpaper(Format format, int width, int height, const PixelFunction& pixel,
                         Layout layout = Layout::Centered, std::vector<char>* written = nullptr) {
    const std::string path = WallpaperPath();
    const std::string beside = path + ".new";
    if (!WritePicture(beside, format, width, height, pixel))
        return false;
    if (written)
        *written = FileBytes(beside);
    if (!MoveFileExA(beside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        return false;
    harness::RegWriteString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper",
                            layout == Layout::Tiled ? "1" : "0");
    harness::RegWriteString(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle",
                            layout == Layout::Stretched ? "2" : "0");
    return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path.c_str()),
                                 SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != FALSE;
}

// The "Wallpaper" value exactly, as a UTF-16 reader finds it.
inline std::wstring RegisteredWallpaper() {
    wchar_t path[MAX_PATH] = L"";
    DWORD size = sizeof path;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", RRF_RT_REG_SZ,
                     nullptr, path, &size) != ERROR_SUCCESS)
        return L"(none)";
    return path;
}

inline void SetDesktopColor(COLORREF c) {
    const INT element = COLOR_BACKGROUND;
    SetSysColors(1, &element, &c);
}

// Factory settings with the desktop colour taken from the wallpaper and the
// caption colours left alone.
inline Settings WallpaperColorSettings() {
    Settings s = SettingsTemplate();
    s.DeskColorUnchanged = 0;
    s.DeskColorManual = 0;
    s.DeskColorFromWallpaper = 1;
    s.AutoTextColor = 0;
    s.AutoResample = 0;
    return s;
}

// GetSysColor(COLOR_BACKGROUND) as a new process reads it. Wine keeps each
// process's system colours from its first read, so this one's would never
// change.
inline COLORREF SystemDesktopColor() {
    harness::Process reader = harness::Process::Start("deskctl.exe", "syscolor");
    return reader.WaitExit().value_or(CLR_INVALID);
}

inline bool WaitForDesktopColor(COLORREF expected, int tolerance = 6) {
    return harness::WaitUntil([&] { return Near(SystemDesktopColor(), expected, tolerance); },
                              15000);
}

// The stand-in shows `expected` at (x, y) of the screen.
inline bool WaitForScreenPixel(int x, int y, COLORREF expected, int tolerance = 6) {
    return harness::WaitUntil(
        [&] { return Near(harness::CaptureScreen().Pixel(x, y), expected, tolerance); }, 15000);
}

} // namespace colors_test
