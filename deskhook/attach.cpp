// Attaching to and detaching from the desktop list view, in the program.
#include <algorithm>

#include "base/handles.h"
#include "base/user_security_win.h"
#include "deskhook/hook_internal.h"
#include "deskhook/shared_names.h"

namespace {

constexpr int kHookAttempts = 20;
constexpr DWORD kRetryAfterFailedHookMs = 1000;
// The desktop thread may be busy: it has 6.3 s to answer. An answer usually
// comes within milliseconds, so the first looks come quickly and the pauses
// between them double up to a tenth of a second.
constexpr ULONGLONG kAnswerWaitMs = 6300;
constexpr DWORD kFirstAnswerPollMs = 1;
constexpr DWORD kLongestAnswerPollMs = 100;
// Detaching must not hang the program on a hung desktop: the copy inside
// Explorer removes its subclass by itself once this process is gone.
constexpr UINT kDetachTimeoutMs = 5000;
// An exchange of another process holds the request mutex for one answer.
constexpr DWORD kRequestMutexWaitMs = 3000;

bool Attached(const SharedBlock& block) {
    return block.ListHooked != nullptr;
}

bool AttachedHere(const SharedBlock& block) {
    return block.OwnerProcessId == GetCurrentProcessId();
}

// Another process's attachment to the desktop list view of now, whose
// program still runs: it is borrowed, never taken over.
bool LiveAttachment(const SharedBlock& block) {
    return Attached(block) && deskhook::ProcessAlive(block.OwnerProcessId) &&
           block.ListView == GetDeskTopListView() && IsWindow(block.ListView);
}

// A hook library of one width cannot be loaded into a process of the other.
// Windows would then call the hook on the thread that set it, which sleeps in
// the attach below, and the desktop would stall.
bool SameWidthAsDesktop(HWND listView) {
    DWORD pid = 0;
    GetWindowThreadProcessId(listView, &pid);
    UniqueHandle process(pid ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)
                             : nullptr);
    if (!process)
        return true; // nothing to hook, or nothing we could tell: the attempts decide
    BOOL desktopEmulated = FALSE, selfEmulated = FALSE;
    const bool known = IsWow64Process(process.get(), &desktopEmulated) &&
                       IsWow64Process(GetCurrentProcess(), &selfEmulated);
    return !known || desktopEmulated == selfEmulated;
}

void RegisterMessages(SharedBlock& block) {
    block.MsgStart = RegisterWindowMessageA(names::MsgStart);
    block.MsgEnd = RegisterWindowMessageA(names::MsgEnd);
    block.MsgGetPos = RegisterWindowMessageA(names::MsgGetPos);
    block.MsgSetPos = RegisterWindowMessageA(names::MsgSetPos);
    block.MsgHitTest = RegisterWindowMessageA(names::MsgHitTest);
    block.MsgToggleCursor = RegisterWindowMessageA(names::MsgToggleCursor);
}

// A hook this process left behind by an attach that got no answer.
void RemoveOwnStaleHook(SharedBlock& block) {
    if (block.ListHook && AttachedHere(block))
        UnhookWindowsHookEx(block.ListHook);
    block.ListHook = nullptr;
}

void ResetForAttach(SharedBlock& block) {
    RemoveOwnStaleHook(block);
    block.ListHooked = nullptr;
    block.MsgGetPos = 0;
    block.MsgSetPos = 0;
    block.CursorShown = 1;
    block.LabelRect = RECT{};
    block.OwnerProcessId = GetCurrentProcessId();
}

bool WaitForDesktopAnswer(const SharedBlock& block) {
    const ULONGLONG deadline = GetTickCount64() + kAnswerWaitMs;
    for (DWORD pause = kFirstAnswerPollMs; !Attached(block) && GetTickCount64() < deadline;
         pause = std::min(pause * 2, kLongestAnswerPollMs))
        Sleep(pause);
    return Attached(block);
}

BOOL Attach(SharedBlock& block) {
    // Another instance's live attachment is reused; one whose program has
    // ended, or whose list view is gone, is taken over.
    if (LiveAttachment(block))
        return TRUE;
    HWND listView = GetDeskTopListView();
    if (!SameWidthAsDesktop(listView)) {
        SetLastError(ERROR_EXE_MACHINE_TYPE_MISMATCH);
        return FALSE;
    }
    {
        // No exchange of another process may read the block half reset.
        static const UniqueHandle mutex = OpenUserMutex(names::SharedBlockRequestMutex);
        const MutexTurn turn(mutex.get(), kRequestMutexWaitMs);
        if (!turn.Held())
            return FALSE;
        ResetForAttach(block);
        RegisterMessages(block);
        block.ListView = listView;
    }
    for (int attempt = 0; attempt < kHookAttempts; ++attempt) {
        DWORD thread = GetWindowThreadProcessId(block.ListView, nullptr);
        block.ListHook = thread ? SetWindowsHookExA(WH_GETMESSAGE, deskhook::ListMessageHook,
                                                    deskhook::Module(), thread)
                                : nullptr;
        if (block.ListHook) {
            PostMessageA(block.ListView, block.MsgStart, 0, 0);
            return WaitForDesktopAnswer(block);
        }
        Sleep(kRetryAfterFailedHookMs);
    }
    return FALSE;
}

// Only what this process attached: a borrowed attachment stays for its owner.
BOOL Detach(SharedBlock& block) {
    if (!AttachedHere(block))
        return TRUE;
    if (!Attached(block)) {
        RemoveOwnStaleHook(block);
        return TRUE;
    }
    DWORD_PTR ignored;
    SendMessageTimeoutA(block.ListView, block.MsgEnd, 0, 0, SMTO_ABORTIFHUNG, kDetachTimeoutMs,
                        &ignored);
    block.ListHooked = nullptr;
    HHOOK hook = block.ListHook;
    block.ListHook = nullptr;
    return UnhookWindowsHookEx(hook);
}

} // namespace

BOOL WINAPI SetHook(BOOL attach) {
    SharedBlock* block = deskhook::ProgramBlock();
    if (!block)
        return FALSE;
    return attach ? Attach(*block) : Detach(*block);
}
