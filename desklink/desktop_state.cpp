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

// A hung desktop must not hold the program: a message straight to the list
// view gives up after this long, and lets no other sent message in meanwhile.
constexpr UINT kQueryTimeoutMs = 2000;

LRESULT AskListView(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(g_listView, message, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                             kQueryTimeoutMs, &result))
        return 0;
    return static_cast<LRESULT>(result);
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
    return static_cast<int>(AskListView(LVM_GETITEMCOUNT));
}

SIZE IconSpacing() {
    DWORD spacing = static_cast<DWORD>(AskListView(LVM_GETITEMSPACING, FALSE));
    return SIZE{LOWORD(spacing), HIWORD(spacing)};
}

void ArrangeSnapToGrid() {
    AskListView(LVM_ARRANGE, LVA_SNAPTOGRID);
}

COLORREF ListTextColor() {
    return static_cast<COLORREF>(AskListView(LVM_GETTEXTCOLOR));
}

COLORREF ListTextBackColor() {
    return static_cast<COLORREF>(AskListView(LVM_GETTEXTBKCOLOR));
}
