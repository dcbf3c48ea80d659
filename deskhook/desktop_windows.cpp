#include "deskhook/deskhook.h"
#include "deskhook/shared_names.h"

// A null parent would make FindWindowEx search the top-level windows.
HWND WINAPI GetDeskTopListView() {
    HWND view = GetDeskTopView();
    return view ? FindWindowExA(view, nullptr, names::ListViewClass, nullptr) : nullptr;
}

namespace {

bool CursorOver(HWND window) {
    POINT cursor;
    RECT rect;
    return GetCursorPos(&cursor) && GetWindowRect(window, &rect) && PtInRect(&rect, cursor);
}

} // namespace

// The dance moves the icons on screen, so they stay visible while it runs.
void WINAPI HideDesktopIcons(BOOL hideTaskbar) {
    SharedBlock* block = LocateSharedData();
    if (block && block->DanceRunning)
        return;
    ShowWindowAsync(GetDeskTopListView(), SW_HIDE);
    HWND taskbar = FindWindowA(names::TaskbarClass, nullptr);
    if (!taskbar || CursorOver(taskbar))
        return;
    ShowWindowAsync(taskbar, hideTaskbar ? SW_HIDE : SW_SHOW);
}
