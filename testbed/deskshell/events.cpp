#include "testbed/deskshell/deskshell.h"

#include <cstdio>

namespace deskshell {
namespace {

constexpr size_t kMaxEvents = 20000;

const UINT kRecorded[] = {WM_SETTINGCHANGE, WM_SYSCOLORCHANGE, WM_CONTEXTMENU, WM_ENTERMENULOOP,
                          WM_INITMENU,      WM_INITMENUPOPUP,  WM_MENUSELECT,  WM_EXITMENULOOP,
                          WM_COMMAND,       WM_LBUTTONUP,      WM_NOTIFY};

struct Event {
    const char* window;
    UINT message;
    WPARAM wParam;
    std::string text;
};

std::vector<Event> g_events;
HHOOK g_sentHook = nullptr;
HHOOK g_postedHook = nullptr;

const char* RoleOf(HWND hwnd) {
    if (hwnd == g_windows.progman)
        return "progman";
    if (hwnd == g_windows.defView)
        return "defview";
    if (hwnd == g_windows.listView)
        return "listview";
    return nullptr;
}

bool IsRecorded(UINT message) {
    for (UINT recorded : kRecorded)
        if (recorded == message)
            return true;
    return false;
}

// "Auto Arrange|Refresh|Properties": the item texts as the user sees them,
// including what a hook added while the menu opened (this runs after the
// owner's WM_INITMENUPOPUP).
std::string ItemTexts(HMENU menu) {
    std::string texts;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        if (GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION) <= 0)
            continue;
        texts += (texts.empty() ? "" : "|") + std::string(text);
    }
    return texts;
}

void Record(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const char* role = RoleOf(hwnd);
    if (!role || !IsRecorded(message))
        return;
    if (message == WM_NOTIFY)
        wParam = static_cast<WPARAM>(reinterpret_cast<const NMHDR*>(lParam)->code);
    RecordEvent(role, message, wParam);
    if (message == WM_INITMENUPOPUP)
        RecordEvent("menu", 0, 0, ItemTexts(reinterpret_cast<HMENU>(wParam)));
}

// Sees sent messages after their window procedure (and any subclass) ran.
LRESULT CALLBACK AfterSent(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto& sent = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        Record(sent.hwnd, sent.message, sent.wParam, sent.lParam);
    }
    return CallNextHookEx(g_sentHook, code, wParam, lParam);
}

LRESULT CALLBACK Posted(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const auto& msg = *reinterpret_cast<const MSG*>(lParam);
        Record(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    }
    return CallNextHookEx(g_postedHook, code, wParam, lParam);
}

} // namespace

void StartRecording() {
    // Thread hooks rather than subclasses: the list view keeps the window
    // procedure it was created with, which the subclass probe relies on.
    DWORD thread = GetCurrentThreadId();
    g_sentHook = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterSent, nullptr, thread);
    g_postedHook = SetWindowsHookExA(WH_GETMESSAGE, Posted, nullptr, thread);
}

void StopRecording() {
    UnhookWindowsHookEx(g_sentHook);
    UnhookWindowsHookEx(g_postedHook);
}

void RecordEvent(const char* window, UINT message, WPARAM wParam, const std::string& text) {
    if (g_events.size() < kMaxEvents)
        g_events.push_back({window, message, wParam, text});
}

int WriteEvents(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file)
        return -1;
    for (const Event& e : g_events)
        std::fprintf(file, "%s %u %llu %s\n", e.window, e.message,
                     static_cast<unsigned long long>(e.wParam), e.text.c_str());
    int count = static_cast<int>(g_events.size());
    g_events.clear();
    return std::fclose(file) == 0 ? count : -1;
}

} // namespace deskshell
