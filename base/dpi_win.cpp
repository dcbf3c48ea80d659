#include "base/dpi_win.h"

#include "base/handles.h"
#include "base/system_functions.h"

int WindowDpi(HWND window) {
    if (g_system.GetDpiForWindow) {
        if (const UINT dpi = g_system.GetDpiForWindow(window))
            return static_cast<int>(dpi);
    }
    const WindowDc screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}
