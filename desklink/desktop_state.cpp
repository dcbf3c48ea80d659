// Explorer's desktop windows and the state of the desktop, asked afresh at
// every call; only the list view handle and the "Progman" sentinel are kept.
#include "desklink/desk_link.h"

#include "base/system_functions.h"
#include "deskhook/shared_names.h"

namespace {

HWND g_listView;
HWND g_progmanSentinel;

HWND TopLevelProgman() {
    return FindWindowA(names::ProgmanClass, nullptr);
}

HWND OutermostAncestor(HWND window) {
    while (HWND parent = GetParent(window))
        window = parent;
    return window;
}

bool WebViewUnderProgman() {
    HWND progman = TopLevelProgman();
    HWND defView =
        progman ? FindWindowExA(progman, nullptr, names::DefViewClass, nullptr) : nullptr;
    return defView && FindWindowExA(defView, nullptr, names::WebViewClass, nullptr);
}

} // namespace

HWND DesktopListView() {
    return g_listView;
}

HWND RefreshDesktopListView() {
    g_listView = GetDeskTopListView();
    return g_listView;
}

HWND ProgmanSentinel() {
    return g_progmanSentinel;
}

void RecordProgmanSentinel() {
    g_progmanSentinel = TopLevelProgman();
}

bool AutoArrangeOn() {
    return (GetWindowLongA(g_listView, GWL_STYLE) & LVS_AUTOARRANGE) != 0;
}

bool ActiveDesktopOn() {
    if (!g_system.SHGetSettings)
        return WebViewUnderProgman();
    SHELLFLAGSTATE state{};
    g_system.SHGetSettings(&state, SSF_DESKTOPHTML);
    return state.fDesktopHTML;
}

bool DesktopMovedOffProgman() {
    HWND progman = TopLevelProgman();
    if (!g_listView)
        return progman != nullptr;
    return OutermostAncestor(g_listView) != progman;
}

int IconCount() {
    return static_cast<int>(SendMessageA(g_listView, LVM_GETITEMCOUNT, 0, 0));
}

SIZE IconSpacing() {
    DWORD spacing = static_cast<DWORD>(SendMessageA(g_listView, LVM_GETITEMSPACING, FALSE, 0));
    return SIZE{LOWORD(spacing), HIWORD(spacing)};
}

void ArrangeSnapToGrid() {
    SendMessageA(g_listView, LVM_ARRANGE, LVA_SNAPTOGRID, 0);
}

COLORREF ListTextColor() {
    return static_cast<COLORREF>(SendMessageA(g_listView, LVM_GETTEXTCOLOR, 0, 0));
}

COLORREF ListTextBackColor() {
    return static_cast<COLORREF>(SendMessageA(g_listView, LVM_GETTEXTBKCOLOR, 0, 0));
}
