#include "app/hidden_window.h"

#include "deskhook/shared_names.h"

LRESULT CALLBACK HiddenWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateHiddenWindow(HINSTANCE instance) {
    return CreateWindowA(names::HiddenWindowClass, kHiddenWindowTitle, WS_OVERLAPPEDWINDOW,
                         CW_USEDEFAULT, 0, 100, 200, nullptr, nullptr, instance, nullptr);
}
