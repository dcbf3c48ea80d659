#include "tests/harness/harness.h"
#include "tests/harness/png.h"

namespace harness {

COLORREF Image::Pixel(int x, int y) const {
    const uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
    return RGB(p[0], p[1], p[2]);
}

Image CaptureScreen() {
    Image image;
    image.width = GetSystemMetrics(SM_CXSCREEN);
    image.height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, image.width, image.height, screen, 0, 0, SRCCOPY);
        GdiFlush();
        const uint8_t* bgrx = static_cast<const uint8_t*>(bits);
        size_t pixels = size_t(image.width) * image.height;
        image.rgb.resize(pixels * 3);
        for (size_t i = 0; i < pixels; ++i) {
            image.rgb[i * 3] = bgrx[i * 4 + 2];
            image.rgb[i * 3 + 1] = bgrx[i * 4 + 1];
            image.rgb[i * 3 + 2] = bgrx[i * 4];
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}

bool ScreenshotTo(const std::string& path) {
    Image image = CaptureScreen();
    if (image.rgb.empty())
        return false;
    return png::WriteFile(path, png::RgbImage{image.width, image.height, std::move(image.rgb)});
}

std::string Screenshot(const std::string& name) {
    std::string path = BuildPath("screenshots\\" + name + ".png");
    return ScreenshotTo(path) ? path : std::string();
}

std::optional<Image> ReadPng(const std::string& path) {
    auto decoded = png::ReadFile(path);
    if (!decoded)
        return std::nullopt;
    return Image{decoded->width, decoded->height, std::move(decoded->rgb)};
}

} // namespace harness
