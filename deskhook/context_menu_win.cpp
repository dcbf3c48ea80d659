// The desktop context-menu extension: SetHook2 in the program, and inside
// Explorer the message hook that subclasses the desktop view window
// ("SHELLDLL_DefView") and the subclass that adds the submenu to its context
// menu and shows the icons on a click (its lifetime: subclass_session.h).
//
// The hook and the subclass procedure run on the desktop view's own thread;
// the state below marked "view thread" is touched nowhere else.
#include <utility>

#include "base/handles.h"
#include "deskhook/context_menu.h"
#include "deskhook/hook_internal.h"
#include "deskhook/shared_names.h"
#include "deskhook/subclass_session.h"

namespace {

// ---- In the program ------------------------------------------------------------

constexpr int kHookAttempts = 20;
constexpr DWORD kRetryAfterFailedHookMs = 1000;
// The desktop thread may be busy; each wait doubles, 6.3 s in all.
constexpr DWORD kAnswerWaitsMs[] = {100, 200, 400, 800, 1600, 3200};
constexpr DWORD kCancelPollMs = 50;
// A hung desktop must not hang the program's detach.
constexpr UINT kDetachTimeoutMs = 5000;

// Every detach counts here, and an attach that was still trying when one
// came gives up: an attach running late on its worker thread never
// subclasses a desktop that was let go of after it started.
SRWLOCK g_hookLock = SRWLOCK_INIT;
volatile LONG g_detachCount;

class HookLock {
  public:
    HookLock() { AcquireSRWLockExclusive(&g_hookLock); }
    ~HookLock() { ReleaseSRWLockExclusive(&g_hookLock); }
    HookLock(const HookLock&) = delete;
    HookLock& operator=(const HookLock&) = delete;
};

bool Cancelled(LONG detachCountAtStart) {
    return InterlockedCompareExchange(&g_detachCount, 0, 0) != detachCountAtStart;
}

// False when a detach came meanwhile.
bool SleepUnlessCancelled(DWORD ms, LONG detachCountAtStart) {
    for (DWORD slept = 0; slept < ms; slept += kCancelPollMs) {
        if (Cancelled(detachCountAtStart))
            return false;
        Sleep(kCancelPollMs);
    }
    return !Cancelled(detachCountAtStart);
}

// Under the lock, so that a detach either sees this hook or cancels it. The
// view is looked up at each attempt: it may appear, or move, meanwhile.
bool InstallViewHook(SharedBlock& block, LONG detachCountAtStart) {
    HookLock lock;
    if (Cancelled(detachCountAtStart))
        return false;
    block.DefView = GetDeskTopView();
    const DWORD thread = GetWindowThreadProcessId(block.DefView, nullptr);
    block.ViewHook = thread ? SetWindowsHookExA(WH_GETMESSAGE, deskhook::ViewMessageHook,
                                                deskhook::Module(), thread)
                            : nullptr;
    if (block.ViewHook)
        PostMessageA(block.DefView, block.MsgStart2, 0, 0);
    return block.ViewHook != nullptr;
}

void WaitForViewAnswer(const SharedBlock& block, LONG detachCountAtStart) {
    for (DWORD waitMs : kAnswerWaitsMs) {
        if (block.ViewHooked || !SleepUnlessCancelled(waitMs, detachCountAtStart))
            return;
    }
}

// Success means the hook was installed: the desktop may subclass its view a
// little later, or never when it stays too busy.
BOOL AttachView(SharedBlock& block, HWND mainWindow) {
    LONG detachCountAtStart;
    {
        HookLock lock;
        if (block.ViewHook)
            return TRUE;
        detachCountAtStart = g_detachCount;
        block.AppWindow = mainWindow;
        block.MsgStart2 = RegisterWindowMessageA(names::MsgStart2);
        block.MsgEnd2 = RegisterWindowMessageA(names::MsgEnd2);
    }
    for (int attempt = 0; attempt < kHookAttempts; ++attempt) {
        if (InstallViewHook(block, detachCountAtStart)) {
            WaitForViewAnswer(block, detachCountAtStart);
            return TRUE;
        }
        if (!SleepUnlessCancelled(kRetryAfterFailedHookMs, detachCountAtStart))
            return FALSE;
    }
    return FALSE;
}

BOOL DetachView(SharedBlock& block) {
    HHOOK hook;
    {
        HookLock lock;
        InterlockedIncrement(&g_detachCount);
        hook = block.ViewHook;
        // Cleared first: a start message still on its way finds no attachment.
        block.ViewHook = nullptr;
    }
    if (!hook)
        return TRUE;
    DWORD_PTR ignored;
    SendMessageTimeoutA(block.DefView, block.MsgEnd2, 0, 0, SMTO_ABORTIFHUNG, kDetachTimeoutMs,
                        &ignored);
    // The system removes a hook when the thread that set it ends, as the
    // attach's worker thread has usually done by now.
    return UnhookWindowsHookEx(hook) || GetLastError() == ERROR_INVALID_HOOK_HANDLE;
}

// ---- Inside Explorer -------------------------------------------------------------

constexpr UINT kFirstRegisteredMessage = 0xC000;
// Commands go to the program synchronously, as its own buttons do, but a
// hung or busy program must not keep the desktop's menu from closing.
constexpr UINT kCommandTimeoutMs = 2000;

// While a context menu is open: the hook that watches its input, and whether
// the last input chose an item (rather than moved, or cancelled the menu).
HHOOK g_menuInputHook; // view thread
bool g_itemChosen;     // view thread

UINT StartMessage() {
    static const UINT message = RegisterWindowMessageA(names::MsgStart2);
    return message;
}

// A zero id read from a block being reset must not match WM_NULL.
bool Is(UINT message, UINT registered) {
    return registered >= kFirstRegisteredMessage && message == registered;
}

bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

// The inputs with which a menu carries out its highlighted item.
bool ChoosesItem(const MSG& message) {
    switch (message.message) {
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        return true;
    case WM_KEYDOWN:
        return message.wParam == VK_RETURN;
    case WM_CHAR:
        return message.wParam == '\r' || message.wParam == ' ';
    }
    return false;
}

LRESULT CALLBACK MenuInputHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_MENU) {
        const MSG& message = *reinterpret_cast<const MSG*>(lParam);
        if (IsInput(message.message))
            g_itemChosen = ChoosesItem(message);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void WatchMenuInput() {
    g_itemChosen = false;
    if (!g_menuInputHook)
        g_menuInputHook = SetWindowsHookExA(WH_MSGFILTER, MenuInputHook, deskhook::Module(),
                                            GetCurrentThreadId());
}

// True when the menu closed because an item was chosen.
bool EndMenuInputWatch() {
    if (g_menuInputHook)
        UnhookWindowsHookEx(g_menuInputHook);
    g_menuInputHook = nullptr;
    return std::exchange(g_itemChosen, false);
}

UINT ItemFlags(const context_menu::Item& item) {
    if (item.IsSeparator())
        return MF_SEPARATOR;
    return MF_STRING | (item.grayed ? MF_GRAYED : 0u) | (item.checked ? MF_CHECKED : 0u);
}

HMENU BuildSubmenu(const SharedBlock& block) {
    HMENU submenu = CreatePopupMenu();
    if (!submenu)
        return nullptr;
    const context_menu::MenuInputs inputs{block.DanceRunning != 0,
                                          static_cast<int>(block.VisibilityMode)};
    for (const context_menu::Item& item : context_menu::SubmenuItems(inputs))
        AppendMenuA(submenu, ItemFlags(item), static_cast<UINT_PTR>(item.id), item.text);
    return submenu;
}

bool HoldsSubmenu(HMENU menu, HMENU submenu) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        if (submenu && GetSubMenu(menu, i) == submenu)
            return true;
    return false;
}

// The context menu about to open: "...", "Manage Desktop Icons", separator,
// its last item. The submenu belongs to the context menu from then on.
void AddSubmenu(HMENU menu, SharedBlock& block) {
    if (!IsMenu(menu) || HoldsSubmenu(menu, block.ExtMenu))
        return;
    HMENU submenu = BuildSubmenu(block);
    if (!submenu)
        return;
    const UINT position = static_cast<UINT>(context_menu::SubmenuPosition(GetMenuItemCount(menu)));
    if (!InsertMenuA(menu, position, MF_BYPOSITION | MF_POPUP | MF_STRING,
                     reinterpret_cast<UINT_PTR>(submenu), context_menu::kSubmenuText)) {
        DestroyMenu(submenu);
        return;
    }
    InsertMenuA(menu, position + 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    block.ExtMenu = submenu;
}

// The list view under this view, and the taskbar: what a hiding program hid.
void ShowIconsAndTaskbar(HWND view) {
    if (HWND listView = FindWindowExA(view, nullptr, names::ListViewClass, nullptr))
        ShowWindow(listView, SW_SHOW);
    if (HWND taskbar = FindWindowA(names::TaskbarClass, nullptr))
        ShowWindowAsync(taskbar, SW_SHOW);
}

// Explorer may bring a window forward right after the user's choice; the
// program may not by itself, so Explorer lets it. Whatever changes the
// program's window would wait for the program's thread, so the program is
// only asked, by a posted command, and brings its window forward itself.
void BringForward(HWND window) {
    DWORD pid = 0;
    if (!IsWindow(window) || !GetWindowThreadProcessId(window, &pid))
        return;
    AllowSetForegroundWindow(pid);
    PostMessageA(window, WM_COMMAND, context_menu::kShowWindow, 0);
}

void SendCommand(HWND window, int id) {
    if (!IsWindow(window))
        return;
    DWORD_PTR ignored;
    SendMessageTimeoutA(window, WM_COMMAND, static_cast<WPARAM>(id), 0, SMTO_ABORTIFHUNG,
                        kCommandTimeoutMs, &ignored);
}

// The menu's own WM_COMMAND stays with the view, so the item last
// highlighted is the one acted on, if the menu closed by choosing it. True
// when the item was ours.
bool ActOnLastItem(SharedBlock& block) {
    const int item = block.LastMenuItem;
    block.LastMenuItem = 0;
    if (!EndMenuInputWatch())
        return false;
    switch (context_menu::ActionFor(item)) {
    case context_menu::Action::SendCommand:
        SendCommand(block.AppWindow, item);
        return true;
    case context_menu::Action::ShowIcons:
        ShowWindow(GetDeskTopListView(), SW_SHOW);
        return true;
    case context_menu::Action::BringWindowForward:
        BringForward(block.AppWindow);
        return true;
    case context_menu::Action::None:
        break;
    }
    return false;
}

bool IsItemChanged(LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    return header && header->code == static_cast<UINT>(LVN_ITEMCHANGED);
}

// Runs before the view's own procedure; true when that must not see the message.
bool HandleViewMessage(HWND view, SharedBlock& block, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITMENU:
        // A menu closed without a highlight must not repeat the last command.
        block.LastMenuItem = 0;
        WatchMenuInput();
        if (block.MenuEnabled)
            AddSubmenu(reinterpret_cast<HMENU>(wParam), block);
        return false;
    case WM_MENUSELECT:
        if (lParam)
            block.LastMenuItem = LOWORD(wParam);
        return false;
    case WM_EXITMENULOOP:
        return ActOnLastItem(block);
    case WM_LBUTTONUP:
        if (block.ClickToShow)
            ShowIconsAndTaskbar(view);
        return false;
    case WM_NOTIFY:
        if (IsItemChanged(lParam))
            ShowIconsAndTaskbar(view);
        return false;
    }
    return false;
}

// The desktop view's subclass: it extends the context menu and shows the
// icons on a click.
struct ViewPolicy {
    static constexpr UINT_PTR kSubclassId = 2;
    static HWND Window(const SharedBlock& block) { return block.DefView; }
    static bool Hook(const SharedBlock& block) { return block.ViewHook != nullptr; }
    static void Prepare(HWND, SharedBlock& block, WNDPROC original) {
        block.ViewOldProc = original;
    }
    static void MarkAttached(SharedBlock& block, bool on) { block.ViewHooked = on ? 1 : 0; }
    static bool Handle(HWND view, SharedBlock& block, UINT message, WPARAM wParam, LPARAM lParam) {
        return HandleViewMessage(view, block, message, wParam, lParam);
    }
    static bool IsEnd(const SharedBlock& block, UINT message) { return Is(message, block.MsgEnd2); }
    static void OwnerGone(HWND, SharedBlock&) {}
    static void Unsubclassed(HWND) { EndMenuInputWatch(); }
};

} // namespace

namespace deskhook {

LRESULT CALLBACK ViewMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const MSG* message = reinterpret_cast<const MSG*>(lParam);
        if (message->message == StartMessage())
            subclass_session::Session<ViewPolicy>::Start(message->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace deskhook

BOOL WINAPI SetHook2(BOOL attach, HWND mainWindow) {
    SharedBlock* block = deskhook::ProgramBlock();
    if (!block)
        return FALSE;
    return attach ? AttachView(*block, mainWindow) : DetachView(*block);
}
