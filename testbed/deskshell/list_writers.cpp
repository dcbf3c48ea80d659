#include "testbed/deskshell/list_writers.h"

#include <commctrl.h>

#include <cstdio>

namespace deskshell {
namespace {

constexpr size_t kMaxCaption = 255;

RECT ItemRect(HWND listView, int index, int part) {
    RECT rect{};
    rect.left = part;
    SendMessageA(listView, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

int WriteMenuItems(FILE* file, HMENU menu, int depth) {
    int lines = 0;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        const UINT id = GetMenuItemID(menu, i);
        RECT rect{};
        GetMenuItemRect(nullptr, menu, i, &rect); // stays empty until the menu is shown
        std::fprintf(file, "%d %d %u %u %ld %ld %ld %ld %s\n", depth, i, id == UINT(-1) ? 0u : id,
                     GetMenuState(menu, i, MF_BYPOSITION), rect.left, rect.top, rect.right,
                     rect.bottom, text);
        ++lines;
        if (HMENU submenu = GetSubMenu(menu, i))
            lines += WriteMenuItems(file, submenu, depth + 1);
    }
    return lines;
}

} // namespace

std::string ItemCaption(HWND listView, int index) {
    char text[kMaxCaption + 1] = "";
    LVITEMA item{};
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(listView, LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

int WriteListLayout(HWND listView, const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file)
        return -1;
    const int count = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        POINT at{};
        SendMessageA(listView, LVM_GETITEMPOSITION, i, reinterpret_cast<LPARAM>(&at));
        RECT b = ItemRect(listView, i, LVIR_BOUNDS);
        RECT l = ItemRect(listView, i, LVIR_LABEL);
        std::fprintf(file, "%d %ld %ld %ld %ld %ld %ld %ld %ld %ld %ld %s\n", i, at.x, at.y, b.left,
                     b.top, b.right, b.bottom, l.left, l.top, l.right, l.bottom,
                     ItemCaption(listView, i).c_str());
    }
    const bool written = std::fclose(file) == 0;
    return written ? count : -1;
}

int WriteMenuTree(HMENU menu, const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file)
        return -1;
    const int lines = WriteMenuItems(file, menu, 0);
    return std::fclose(file) == 0 ? lines : -1;
}

} // namespace deskshell
