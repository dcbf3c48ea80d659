#include "tests/harness/harness.h"
#include "tests/harness/png.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

using namespace harness;

namespace {

const char kTestKey[] = "Software\\TessaraHarnessTest";

TEST(Harness_Paths, BinDirHoldsTheTestProgramAndBuildPathIsBesideIt) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    EXPECT_EQ(std::string(self).rfind(BinDir() + "\\", 0), 0u);
    std::string path = BuildPath("testdata\\sub\\file.txt");
    EXPECT_EQ(GetFileAttributesA(path.substr(0, path.rfind('\\')).c_str()) &
                  FILE_ATTRIBUTE_DIRECTORY,
              DWORD(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(path.find("\\bin\\"), std::string::npos);
}

TEST(Harness_Process, WaitExitGivesTheExitCode) {
    for (int code : {0, 7, 255}) {
        Process process =
            Process::Start("C:\\windows\\system32\\cmd.exe", "/c exit " + std::to_string(code));
        ASSERT_NE(process.Pid(), 0u);
        EXPECT_EQ(process.WaitExit(), std::optional<DWORD>(code));
        EXPECT_FALSE(process.Running());
    }
}

struct MessageBoxCase {
    UINT style;
    int button;
};

TEST(Harness_Dialog, ReadsAndAnswersAMessageBox) {
    const MessageBoxCase cases[] = {
        {MB_OK, IDOK}, {MB_YESNO, IDNO}, {MB_YESNO, IDYES}, {MB_OKCANCEL, IDCANCEL}};
    for (const auto& c : cases) {
        std::string caption = "Harness box " + std::to_string(c.button);
        int answer = 0;
        std::thread shower([&] {
            answer = MessageBoxA(nullptr, "First line\nsecond line", caption.c_str(), c.style);
        });
        HWND box = WaitForDialog(caption, GetCurrentProcessId());
        ASSERT_NE(box, nullptr) << caption;
        EXPECT_EQ(MessageBoxText(box), "First line\nsecond line");
        EXPECT_TRUE(PressButton(box, c.button));
        shower.join();
        EXPECT_EQ(answer, c.button);
        EXPECT_FALSE(IsWindow(box));
    }
}

TEST(Harness_Registry, ValuesRoundTrip) {
    ASSERT_TRUE(RegDeleteKeyTree(HKEY_CURRENT_USER, kTestKey));
    const std::vector<uint8_t> binary = {0, 1, 2, 0xFE, 0xFF};
    ASSERT_TRUE(RegWriteBinary(HKEY_CURRENT_USER, kTestKey, "Binary", binary));
    ASSERT_TRUE(RegWriteDword(HKEY_CURRENT_USER, kTestKey, "Dword", 0x12345678));
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, kTestKey, "String", "text"));
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Sub", "", "x"));

    auto b = RegRead(HKEY_CURRENT_USER, kTestKey, "Binary");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->type, DWORD(REG_BINARY));
    EXPECT_EQ(b->data, binary);
    auto d = RegRead(HKEY_CURRENT_USER, kTestKey, "Dword");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->AsDword(), std::optional<DWORD>(0x12345678));
    EXPECT_EQ(d->AsString(), std::nullopt);
    auto s = RegRead(HKEY_CURRENT_USER, kTestKey, "String");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->AsString(), std::optional<std::string>("text"));
    EXPECT_EQ(s->AsDword(), std::nullopt);

    EXPECT_TRUE(RegDeleteValue(HKEY_CURRENT_USER, kTestKey, "Dword"));
    EXPECT_FALSE(RegRead(HKEY_CURRENT_USER, kTestKey, "Dword"));
    EXPECT_TRUE(RegRead(HKEY_CURRENT_USER, kTestKey, "String"));
    EXPECT_TRUE(RegDeleteKeyTree(HKEY_CURRENT_USER, kTestKey));
    EXPECT_FALSE(RegRead(HKEY_CURRENT_USER, kTestKey, "String"));
    EXPECT_FALSE(RegRead(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Sub", ""));
}

TEST(Harness_Png, EncodeDecodeRoundTripsBeyondOneStoredBlock) {
    png::RgbImage image{300, 100, {}};
    for (int i = 0; i < image.width * image.height * 3; ++i)
        image.rgb.push_back(static_cast<uint8_t>(i * 7));
    auto decoded = png::Decode(png::Encode(image));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->width, 300);
    EXPECT_EQ(decoded->height, 100);
    EXPECT_EQ(decoded->rgb, image.rgb);
}

// A topmost window whose left half is one colour and right half another.
struct TwoColorWindow {
    static constexpr COLORREF kLeft = RGB(200, 30, 40);
    static constexpr COLORREF kRight = RGB(20, 60, 220);

    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_PAINT)
            return DefWindowProcA(hwnd, message, wParam, lParam);
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        RECT client;
        GetClientRect(hwnd, &client);
        RECT left = client, right = client;
        left.right = right.left = client.right / 2;
        for (auto [rect, color] : {std::pair{left, kLeft}, std::pair{right, kRight}}) {
            HBRUSH brush = CreateSolidBrush(color);
            FillRect(dc, &rect, brush);
            DeleteObject(brush);
        }
        EndPaint(hwnd, &paint);
        return 0;
    }

    TwoColorWindow(int x, int y, int width, int height) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "HarnessTwoColor";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "",
                               WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                               wc.hInstance, nullptr);
        UpdateWindow(hwnd);
    }
    ~TwoColorWindow() { DestroyWindow(hwnd); }

    HWND hwnd;
};

TEST(Harness_Screenshot, WritesTheScreenAsPng) {
    TwoColorWindow window(100, 120, 200, 80);
    ASSERT_NE(window.hwnd, nullptr);
    const struct {
        int x, y;
        COLORREF color;
    } probes[] = {{101, 121, TwoColorWindow::kLeft},
                  {199, 199, TwoColorWindow::kLeft},
                  {200, 121, TwoColorWindow::kRight},
                  {299, 199, TwoColorWindow::kRight}};
    // Wine copies a window's drawing to the screen a little later, and not
    // necessarily all at once.
    ASSERT_TRUE(WaitUntil([&] {
        Image screen = CaptureScreen();
        return std::all_of(std::begin(probes), std::end(probes), [&](const auto& probe) {
            return screen.Pixel(probe.x, probe.y) == probe.color;
        });
    }));

    std::string path = Screenshot("harness_two_colours");
    ASSERT_FALSE(path.empty());
    auto image = ReadPng(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(image->height, GetSystemMetrics(SM_CYSCREEN));
    for (const auto& probe : probes)
        EXPECT_EQ(image->Pixel(probe.x, probe.y), probe.color) << probe.x << "," << probe.y;
    EXPECT_NE(image->Pixel(99, 121), TwoColorWindow::kLeft);
    EXPECT_NE(image->Pixel(300, 121), TwoColorWindow::kRight);
}

// A topmost window over the whole screen that records where each left press
// landed, in screen coordinates.
struct PressRecorder {
    static inline std::vector<POINT> presses;

    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_LBUTTONDOWN) {
            POINT at{short(LOWORD(lParam)), short(HIWORD(lParam))};
            ClientToScreen(hwnd, &at);
            presses.push_back(at);
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    PressRecorder() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "HarnessPressRecorder";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0,
                               GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                               nullptr, nullptr, wc.hInstance, nullptr);
        SetForegroundWindow(hwnd);
    }
    ~PressRecorder() { DestroyWindow(hwnd); }

    HWND hwnd;
};

TEST(Harness_Input, AClickLandsOnExactlyTheGivenPixel) {
    PressRecorder recorder;
    ASSERT_NE(recorder.hwnd, nullptr);
    const int right = GetSystemMetrics(SM_CXSCREEN) - 1;
    const int bottom = GetSystemMetrics(SM_CYSCREEN) - 1;
    // Rounding to the nearest unit instead would miss (1, 1) by a pixel.
    const POINT targets[] = {{0, 0}, {1, 1}, {333, 217}, {right / 2, bottom / 2}, {right, bottom}};
    for (const POINT& target : targets) {
        PressRecorder::presses.clear();
        Click(target);
        ASSERT_TRUE(WaitUntil([] { return !PressRecorder::presses.empty(); }))
            << target.x << "," << target.y;
        EXPECT_EQ(PressRecorder::presses.front().x, target.x);
        EXPECT_EQ(PressRecorder::presses.front().y, target.y);
    }
}

} // namespace
