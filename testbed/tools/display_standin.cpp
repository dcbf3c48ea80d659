// Stands in for rundll32.exe in the test prefix when the product opens the
// system's Display Properties: it appends its command line to
// %TEMP%\display_standin.log and shows a window titled "Display Properties"
// (400 x 450 at 300, 200) until it is closed.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void RecordCommandLine() {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    FILE* file = std::fopen((std::string(temp) + "display_standin.log").c_str(), "ab");
    if (!file)
        return;
    std::fprintf(file, "%s\n", GetCommandLineA());
    std::fclose(file);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RecordCommandLine();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "TessaraDisplayStandIn";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA(windowClass.lpszClassName, "Display Properties",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 300, 200, 400,
                                450, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
