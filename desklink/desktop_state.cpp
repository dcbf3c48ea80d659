// Explorer's desktop windows and the state of the desktop, asked afresh at
// every call; only the list view handle and the "Progman" sentinel are kept.
#include "desklink/desk_link.h"

#include "base/system_functions.h"
#include "deskhook/shared_names.h"

#include <optional>

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

bool WebViewInDesktopView() {
    HWND view = GetDeskTopView();
    return view && FindWindowExA(view, nullptr, names::WebViewClass, nullptr);
}

// A hung desktop must not hold the program: a message straight to the list
// view gives up after this long, and lets no other sent message in meanwhile.
constexpr UINT kQueryTimeoutMs = 2000;

// Nothing when there is no list view, it is gone or it did not answer in time.
std::optional<LRESULT> ListViewAnswer(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(g_listView, message, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                             kQueryTimeoutMs, &result))
        return std::nullopt;
    return static_cast<LRESULT>(result);
}

LRESULT AskListView(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ListViewAnswer(message, wParam, lParam).value_or(0);
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

void ShowDesktopWindow(HWND window, int command) {
    if (window)
        ShowWindowAsync(window, command);
}

void RepaintDesktopWindow(HWND window) {
    if (window)
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void SetListTextBackColor(COLORREF color) {
    AskListView(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(color));
}

bool AutoArrangeOn() {
    return (GetWindowLongA(g_listView, GWL_STYLE) & LVS_AUTOARRANGE) != 0;
}

bool ActiveDesktopOn() {
    if (!g_system.SHGetSettings)
        return WebViewInDesktopView();
    SHELLFLAGSTATE state{};
    g_system.SHGetSettings(&state, SSF_DESKTOPHTML);
    return state.fDesktopHTML;
}

// The desktop's home is the top-level window that holds its view now:
// "Progman", or the "WorkerW" that Explorer keeps it in for a wallpaper layer.
// A view at home is the normal desktop, wherever that home is.
bool DesktopMovedOffProgman() {
    if (!g_listView)
        return TopLevelProgman() != nullptr;
    HWND home = GetDeskTopView();
    return !home || OutermostAncestor(g_listView) != OutermostAncestor(home);
}

std::optional<int> AnsweredIconCount() {
    const std::optional<LRESULT> count = ListViewAnswer(LVM_GETITEMCOUNT);
    if (!count)
        return std::nullopt;
    return static_cast<int>(*count);
}

int IconCount() {
    return AnsweredIconCount().value_or(0);
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
