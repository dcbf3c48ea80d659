#include "ui/tool_tips.h"

#include <commctrl.h>

#include "ui/help_texts.h"
#include "ui/links.h"
#include "ui/resource.h"
#include "ui/settings_pages_win.h"

namespace {

HWND g_toolTips = nullptr;

TOOLINFOA ToolFor(HWND window, const char* text) {
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window;
    tool.lpszText = const_cast<char*>(text);
    return tool;
}

void AddTool(TOOLINFOA& tool) {
    SendMessageA(g_toolTips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

RECT ClientRectIn(HWND window, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

HWND CreateToolTips(HWND window) {
    g_toolTips = CreateWindowExA(
        0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, nullptr, nullptr);
    if (!g_toolTips)
        return nullptr;
    SetWindowPos(g_toolTips, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(g_toolTips, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 3);
    return g_toolTips;
}

HWND ToolTips() {
    return g_toolTips;
}

void AddControlTools(HWND window) {
    for (int id = IDC_FIRST_CONTROL; id <= IDC_LAST_CONTROL; ++id) {
        const char* text = HelpText(id);
        HWND control = ControlHandle(id);
        if (!text || !control)
            continue;
        TOOLINFOA tool = ToolFor(window, text);
        tool.uFlags |= TTF_IDISHWND;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        AddTool(tool);
    }
}

void AddLinkTools(HWND window) {
    for (UINT_PTR toolId = 0; toolId < kLinkCount; ++toolId) {
        const int link = kLinkControls[toolId].id;
        TOOLINFOA tool = ToolFor(window, HelpText(link));
        tool.uId = toolId;
        tool.rect = ClientRectIn(window, ControlHandle(link));
        AddTool(tool);
    }
}

void ActivateToolTips(bool active) {
    SendMessageA(g_toolTips, TTM_ACTIVATE, active, 0);
}
