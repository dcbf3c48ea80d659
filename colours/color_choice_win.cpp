#include "colours/color_choice_win.h"

#include "base/handles.h"
#include "colours/color_choice.h"

#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>

namespace {

// The information box disappears this long after the last movement.
constexpr UINT_PTR kInfoBoxTimer = 22;
constexpr UINT kInfoBoxMs = 2000;
constexpr int kSwatchFrameWidth = 3;

// One run of the sampler: what it has picked and what it shows.
struct SamplerRun {
    COLORREF color = 0;
    bool picked = false;
    bool open = true;
    // A right press seen inside the sampler; a release without one (the
    // press began before the sampler opened) picks nothing.
    bool rightDown = false;
    HDC dc = nullptr;
    // The information box and swatches now drawn, if any.
    bool infoShown = false;
    colors::SamplerInfo info;
};

SamplerRun* RunOf(HWND window) {
    return reinterpret_cast<SamplerRun*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

colors::ScreenSize PrimaryScreen() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

RECT ToRect(const colors::PixelRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// The frame drawn round a swatch reaches this far outside it.
RECT WithFrame(const colors::PixelRect& r) {
    RECT rect = ToRect(r);
    InflateRect(&rect, kSwatchFrameWidth, kSwatchFrameWidth);
    return rect;
}

// The desktop comes back where the box and swatches were.
void EraseInfo(HWND window, SamplerRun& run) {
    if (!run.infoShown)
        return;
    run.infoShown = false;
    const RECT box = ToRect(run.info.box);
    const RECT first = WithFrame(run.info.pixelSwatch);
    const RECT second = WithFrame(run.info.averageSwatch);
    for (const RECT* rect : {&box, &first, &second})
        InvalidateRect(window, rect, TRUE);
    UpdateWindow(window);
}

void FillSwatch(HDC dc, const colors::PixelRect& swatch, COLORREF color) {
    UniqueBrush brush(CreateSolidBrush(color));
    UniquePen pen(CreatePen(PS_SOLID, kSwatchFrameWidth, RGB(255, 255, 255)));
    SelectedObject selectedBrush(dc, brush.get());
    SelectedObject selectedPen(dc, pen.get());
    Rectangle(dc, swatch.left, swatch.top, swatch.right, swatch.bottom);
}

// The hint near the cursor, with the pixel under it and the area's average.
void ShowInfo(HWND window, SamplerRun& run, POINT cursor) {
    EraseInfo(window, run);
    const COLORREF pixel = GetPixel(run.dc, cursor.x, cursor.y);
    const COLORREF average = AreaAverageColor(run.dc);
    SelectedObject font(run.dc, GetStockObject(ANSI_VAR_FONT));
    SIZE text{};
    GetTextExtentPoint32A(run.dc, kSamplerHint, int(sizeof kSamplerHint - 1), &text);
    run.info = colors::PlaceSamplerInfo(cursor.x, cursor.y, text.cx, text.cy, PrimaryScreen());
    RECT box = ToRect(run.info.box);
    FillRect(run.dc, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkColor(run.dc, RGB(255, 255, 255));
    SetTextColor(run.dc, RGB(0, 0, 0));
    DrawTextA(run.dc, kSamplerHint, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    FillSwatch(run.dc, run.info.pixelSwatch, pixel);
    FillSwatch(run.dc, run.info.averageSwatch, average);
    run.infoShown = true;
    SetTimer(window, kInfoBoxTimer, kInfoBoxMs, nullptr);
}

void Pick(HWND window, SamplerRun& run, COLORREF color) {
    run.color = color;
    run.picked = true;
    SendMessageA(window, WM_CLOSE, 0, 0);
}

// The box may lie under the cursor near the screen's right and bottom
// edges: a pick reads the desktop, not the box.
void OnButtonDown(HWND window, SamplerRun& run, UINT message, POINT cursor) {
    EraseInfo(window, run);
    if (message == WM_LBUTTONDOWN)
        Pick(window, run, GetPixel(run.dc, cursor.x, cursor.y));
    else
        run.rightDown = true;
}

void OnCreate(HWND window, SamplerRun& run) {
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&run));
    SetCursor(LoadCursor(nullptr, IDC_CROSS));
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    run.dc = GetDC(window);
}

void OnDestroy(HWND window, SamplerRun& run) {
    KillTimer(window, kInfoBoxTimer);
    ReleaseDC(window, run.dc);
    run.dc = nullptr;
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    run.open = false;
}

// The user picks from the wallpaper and the desktop colour, not from other
// windows.
void OnPaint(HWND window) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    PaintDesktop(dc);
    EndPaint(window, &paint);
}

POINT PointOf(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

} // namespace

bool ChooseColorBox(HWND owner, COLORREF& color) {
    const colors::CustomColors offered = colors::CustomColorsFor(color);
    COLORREF custom[colors::kCustomColorCount];
    std::copy(offered.begin(), offered.end(), custom);
    CHOOSECOLORA choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.rgbResult = color;
    choice.lpCustColors = custom;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    if (!ChooseColorA(&choice))
        return false;
    color = choice.rgbResult;
    return true;
}

COLORREF AreaAverageColor(HDC dc) {
    POINT cursor{};
    GetCursorPos(&cursor);
    const colors::PixelRect area = colors::AverageArea(cursor.x, cursor.y, PrimaryScreen());
    return colors::AverageOver(area, [dc](int x, int y) { return GetPixel(dc, x, y); });
}

LRESULT CALLBACK SamplerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        OnCreate(window, *static_cast<SamplerRun*>(create->lpCreateParams));
        return 0;
    }
    SamplerRun* run = RunOf(window);
    if (!run)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_MOUSEMOVE:
        ShowInfo(window, *run, PointOf(lParam));
        return 0;
    case WM_TIMER:
        if (wParam != kInfoBoxTimer)
            break;
        KillTimer(window, kInfoBoxTimer);
        EraseInfo(window, *run);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        OnButtonDown(window, *run, message, PointOf(lParam));
        return 0;
    case WM_RBUTTONUP:
        if (run->rightDown) {
            run->rightDown = false;
            Pick(window, *run, AreaAverageColor(run->dc));
        }
        return 0;
    case WM_CHAR:
        if (wParam == VK_ESCAPE)
            SendMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_DESTROY:
        OnDestroy(window, *run);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The sampler's own message loop ends when its window is gone. A quit
// meant for the program's loop that arrives meanwhile closes the sampler and
// is passed on.
bool SampleScreenColor(HWND owner, COLORREF& color) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = SamplerWndProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kSamplerClass;
    RegisterClassA(&windowClass);
    SamplerRun run;
    run.color = color;
    const colors::ScreenSize screen = PrimaryScreen();
    HWND window =
        CreateWindowExA(WS_EX_TOPMOST, kSamplerClass, kSamplerTitle, WS_POPUP | WS_VISIBLE, 0, 0,
                        screen.width, screen.height, owner, nullptr, instance, &run);
    if (window) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
        MSG message{};
        while (run.open) {
            const BOOL got = GetMessageA(&message, nullptr, 0, 0);
            if (got == 0 || got == -1) {
                DestroyWindow(window);
                if (got == 0)
                    PostQuitMessage(int(message.wParam));
                break;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    UnregisterClassA(kSamplerClass, instance);
    if (run.picked)
        color = run.color;
    return run.picked;
}
