// The part of the library that runs inside Explorer's desktop process: the
// message hook that subclasses the list view, the subclass procedure that
// answers the program's requests, and the watcher that undoes the subclass
// when the program that attached has gone without detaching.
//
// The hook and the subclass procedure run on the list view's own thread; the
// state below marked "list view thread" is touched nowhere else.
#include <memory>

#include "base/handles.h"
#include "deskhook/caption_copy.h"
#include "deskhook/icon_batch.h"
#include "deskhook/hook_internal.h"
#include "deskhook/shared_names.h"

namespace {

constexpr UINT_PTR kSubclassId = 1;
// A hung or stopped program must not freeze the desktop: whatever the program
// does, the desktop answers its own sender within half a second.
constexpr UINT kNotifyTimeoutMs = 300;
constexpr DWORD kOwnerPollMs = 500;
constexpr UINT kFirstRegisteredMessage = 0xC000;

// One subclassing of the list view, owned by the list view thread. It signals
// `released` once the subclass is gone and no call of ours is left on its
// stack; the watcher thread waits on a duplicate handle of its own, so
// neither thread ever reads what the other frees.
struct Session {
    HWND listView;
    UniqueHandle released;
    // The list view's procedure before our subclass, kept here rather than
    // taken from the block, which other processes can write.
    WNDPROC listProc;
};

// What the watcher thread owns: the list view to watch and its own handle of
// the session's event.
struct WatchTicket {
    HWND listView;
    UniqueHandle released;
};

std::unique_ptr<Session> g_session; // list view thread
int g_callDepth;     // list view thread: nested calls of the subclass procedure
bool g_unsubclassed; // list view thread: removed, release when the depth is 0

// A question to the list view while a request is answered, put straight to
// its own procedure as it was before our subclass. Sent, it would pass every
// message hook of the desktop thread and the subclass chain again for each
// icon; under Wine that costs far more than the answer itself.
LRESULT AskList(HWND listView, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_session && g_session->listView == listView && g_session->listProc)
        return CallWindowProcA(g_session->listProc, listView, message, wParam, lParam);
    return SendMessageA(listView, message, wParam, lParam);
}

UINT OwnerGoneMessage() {
    static const UINT message = RegisterWindowMessageA(names::MsgOwnerGone);
    return message;
}

// A zero id read from a block being reset must not match WM_NULL.
bool Is(UINT message, UINT registered) {
    return registered >= kFirstRegisteredMessage && message == registered;
}

UINT GetPosManyMessage() {
    static const UINT message = RegisterWindowMessageA(names::MsgGetPosMany);
    return message;
}

UINT SetPosManyMessage() {
    static const UINT message = RegisterWindowMessageA(names::MsgSetPosMany);
    return message;
}

LVITEMW CaptionRequest(wchar_t* field) {
    LVITEMW request{};
    request.mask = LVIF_TEXT;
    request.iSubItem = 0;
    request.pszText = field;
    request.cchTextMax = caption::kUnits;
    return request;
}

// The caption of item `index` into `field` (caption::kUnits units), asked as
// UTF-16 with `request` (a private copy); the number of valid units. The
// control may swap in a pointer of its own; that answer is taken from the
// private copy, never from the block, which other processes can write.
LONG ReadCaption(HWND listView, WPARAM index, wchar_t* field, LVITEMW request) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    LRESULT length =
        AskList(listView, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&request));
    return caption::Store(reinterpret_cast<char16_t*>(field),
                          reinterpret_cast<const char16_t*>(request.pszText), length);
}

RECT ItemRect(HWND listView, WPARAM index, LONG part) {
    RECT rect{};
    rect.left = part;
    AskList(listView, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

void AnswerGetPos(HWND listView, SharedBlock& block, WPARAM index) {
    block.LabelRect = RECT{};
    AskList(listView, LVM_GETITEMPOSITION, index, reinterpret_cast<LPARAM>(&block.Position));
    block.LabelRect = ItemRect(listView, index, LVIR_LABEL);
    block.BoundsRect = ItemRect(listView, index, LVIR_BOUNDS);
    const LVITEMW request = CaptionRequest(block.Caption);
    block.ItemRequest = request;
    block.CaptionLength = ReadCaption(listView, index, block.Caption, request);
}

// Every icon asked for that the list view holds, read in one go on its own
// thread, so the answer is one consistent picture of the desktop.
void AnswerGetPosMany(HWND listView, SharedBlock& block) {
    const int itemCount = static_cast<int>(AskList(listView, LVM_GETITEMCOUNT, 0, 0));
    const icon_batch::Range range =
        icon_batch::ReadRange(block.BatchFirst, block.BatchCount, itemCount);
    for (int k = 0; k < range.count; ++k) {
        IconRecord& record = block.BatchIcons[k];
        const WPARAM index = static_cast<WPARAM>(range.first + k);
        record.Index = range.first + k;
        record.Position = POINT{};
        AskList(listView, LVM_GETITEMPOSITION, index, reinterpret_cast<LPARAM>(&record.Position));
        record.BoundsRect = ItemRect(listView, index, LVIR_BOUNDS);
        record.CaptionLength =
            ReadCaption(listView, index, record.Caption, CaptionRequest(record.Caption));
    }
    block.BatchAnswered = range.count;
    block.BatchItemCount = itemCount;
}

// Drawing is held while the icons move and the list view is drawn once
// afterwards, instead of once per move. A hidden list view draws nothing.
void AnswerSetPosMany(HWND listView, SharedBlock& block) {
    const int count = icon_batch::MoveCount(block.BatchCount);
    const LONG itemCount = static_cast<LONG>(AskList(listView, LVM_GETITEMCOUNT, 0, 0));
    const bool visible = IsWindowVisible(listView) != FALSE;
    if (visible)
        SendMessageA(listView, WM_SETREDRAW, FALSE, 0);
    int moved = 0;
    for (int k = 0; k < count; ++k) {
        const LONG index = block.BatchIcons[k].Index;
        POINT position = block.BatchIcons[k].Position;
        if (index >= 0 && index < itemCount)
            moved += AskList(listView, LVM_SETITEMPOSITION32, static_cast<WPARAM>(index),
                                  reinterpret_cast<LPARAM>(&position)) != 0;
    }
    if (visible) {
        SendMessageA(listView, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(listView, nullptr, nullptr,
                     RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
    block.BatchAnswered = moved;
}

void ToggleCursor(SharedBlock& block) {
    block.CursorShown = block.CursorShown ? 0 : 1;
    ShowCursor(block.CursorShown != 0);
}

void ForwardSettingChange(const SharedBlock& block, WPARAM wParam, LPARAM lParam) {
    if (!block.AppWindow)
        return;
    DWORD_PTR ignored;
    SendMessageTimeoutA(block.AppWindow, UM_SETTINGCHANGE, wParam, lParam, SMTO_ABORTIFHUNG,
                        kNotifyTimeoutMs, &ignored);
}

void ApplyPaintColors(HWND listView, const SharedBlock& block) {
    SendMessageA(listView, LVM_SETTEXTBKCOLOR, 0, block.PaintBackColor);
    SendMessageA(listView, LVM_SETTEXTCOLOR, 0, block.PaintTextColor);
}

void ShowIfHidden(HWND window) {
    if (window && !IsWindowVisible(window))
        ShowWindowAsync(window, SW_SHOW);
}

// What a program that went away without detaching left changed: the desktop
// thread's cursor, and icons or taskbar it had hidden.
void UndoOwnerChanges(HWND listView, SharedBlock& block) {
    if (!block.CursorShown)
        ToggleCursor(block);
    block.DanceRunning = 0;
    ShowIfHidden(listView);
    ShowIfHidden(FindWindowA(names::TaskbarClass, nullptr));
}

bool IsOwnerGone(const SharedBlock& block, UINT message, WPARAM wParam) {
    // A new program may have taken over since the watcher saw the old one end.
    return message == OwnerGoneMessage() && wParam == block.OwnerProcessId;
}

// A request is answered only with the stamp the program wrote for it: a
// message that arrives after its sender gave up must not answer, nor act on,
// the request of whoever holds the block now.
bool IsCurrentRequest(const SharedBlock& block, LPARAM stamp) {
    return static_cast<LONG>(stamp) == block.RequestStamp;
}

bool AnswerRequest(HWND listView, SharedBlock& block, UINT message, WPARAM wParam) {
    if (Is(message, block.MsgGetPos))
        AnswerGetPos(listView, block, wParam);
    else if (Is(message, block.MsgSetPos))
        AskList(listView, LVM_SETITEMPOSITION32, wParam, reinterpret_cast<LPARAM>(&block.Position));
    else if (Is(message, block.MsgHitTest))
        AskList(listView, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&block.HitTest));
    else if (Is(message, block.MsgToggleCursor))
        ToggleCursor(block);
    else if (message == GetPosManyMessage())
        AnswerGetPosMany(listView, block);
    else if (message == SetPosManyMessage())
        AnswerSetPosMany(listView, block);
    else
        return false;
    return true;
}

bool IsRequest(const SharedBlock& block, UINT message) {
    return Is(message, block.MsgGetPos) || Is(message, block.MsgSetPos) ||
           Is(message, block.MsgHitTest) || Is(message, block.MsgToggleCursor) ||
           message == GetPosManyMessage() || message == SetPosManyMessage();
}

// Runs before the list view's own procedure sees the message.
void HandleRequest(HWND listView, SharedBlock& block, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsRequest(block, message)) {
        if (IsCurrentRequest(block, lParam) && AnswerRequest(listView, block, message, wParam))
            block.AnswerStamp = static_cast<LONG>(lParam);
    } else if (message == WM_WININICHANGE) {
        ForwardSettingChange(block, wParam, lParam);
    } else if (message == WM_PAINT) {
        ApplyPaintColors(listView, block);
    } else if (message == WM_MOUSEMOVE) {
        block.MouseMoved = 1;
    }
}

bool EndsSubclass(const SharedBlock* block, UINT message, WPARAM wParam) {
    if (message == WM_NCDESTROY)
        return true;
    if (!block)
        return false;
    return Is(message, block->MsgEnd) || IsOwnerGone(*block, message, wParam);
}

LRESULT CALLBACK ListSubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

void Unsubclass(HWND listView, SharedBlock* block) {
    RemoveWindowSubclass(listView, ListSubclassProc, kSubclassId);
    if (block)
        block->ListHooked = nullptr;
    g_unsubclassed = true;
}

void ReleaseSessionIfDone() {
    if (g_callDepth > 0 || !g_unsubclassed || !g_session)
        return;
    g_unsubclassed = false;
    SetEvent(g_session->released.get());
    g_session.reset();
}

LRESULT CALLBACK ListSubclassProc(HWND listView, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR, DWORD_PTR) {
    ++g_callDepth;
    SharedBlock* block = deskhook::DesktopBlock();
    if (block) {
        HandleRequest(listView, *block, message, wParam, lParam);
        if (IsOwnerGone(*block, message, wParam))
            UndoOwnerChanges(listView, *block);
    }
    LRESULT result = DefSubclassProc(listView, message, wParam, lParam);
    if (EndsSubclass(block, message, wParam))
        Unsubclass(listView, block);
    --g_callDepth;
    ReleaseSessionIfDone();
    return result;
}

class OwnerHandle {
  public:
    // Follows the block's owner; false once that process is known to be gone.
    bool Follow(DWORD pid) {
        if (pid != pid_ || !handle_) {
            pid_ = pid;
            handle_.reset(OpenProcess(SYNCHRONIZE, FALSE, pid));
            if (!handle_ && GetLastError() == ERROR_INVALID_PARAMETER)
                return false;
        }
        return !handle_ || WaitForSingleObject(handle_.get(), 0) != WAIT_OBJECT_0;
    }
    HANDLE Get() const { return handle_.get(); }

  private:
    DWORD pid_ = 0;
    UniqueHandle handle_;
};

void WatchUntilReleased(const WatchTicket& session, const SharedBlock& block) {
    OwnerHandle owner;
    for (;;) {
        DWORD pid = block.OwnerProcessId;
        if (owner.Follow(pid)) {
            // Polled too, since a new program may take the attachment over.
            HANDLE handles[] = {session.released.get(), owner.Get()};
            DWORD count = owner.Get() ? 2 : 1;
            if (WaitForMultipleObjects(count, handles, FALSE, kOwnerPollMs) == WAIT_OBJECT_0)
                return;
            continue;
        }
        // The program ended without detaching: the subclass goes, on the list
        // view's own thread.
        SendMessageA(session.listView, OwnerGoneMessage(), pid, 0);
        if (WaitForSingleObject(session.released.get(), kOwnerPollMs) == WAIT_OBJECT_0)
            return;
    }
}

// Holds this copy of the library loaded while its subclass procedure can be
// called, and lets go only when nothing of it is left on the list view thread.
void WaitUntilReleased(const WatchTicket& session) {
    if (SharedBlock* block = deskhook::DesktopBlock())
        WatchUntilReleased(session, *block);
    else
        WaitForSingleObject(session.released.get(), INFINITE);
}

DWORD WINAPI WatchOwner(void* param) {
    HWND listView = nullptr;
    {
        // Gone, with its handle, before the library may be.
        const std::unique_ptr<WatchTicket> ticket(static_cast<WatchTicket*>(param));
        listView = ticket->listView;
        WaitUntilReleased(*ticket);
    }
    // A message dispatched to the list view proves that its thread has left
    // the subclass procedure. A destroyed list view gives no such proof, so
    // the library then stays loaded for the rest of the process.
    if (!IsWindow(listView))
        return 0;
    SendMessageA(listView, WM_NULL, 0, 0);
    FreeLibraryAndExitThread(deskhook::Module(), 0);
}

// The watcher's ticket, with its own duplicate of `released`.
std::unique_ptr<WatchTicket> TicketFor(const Session& session) {
    UniqueHandle released;
    if (!DuplicateHandle(GetCurrentProcess(), session.released.get(), GetCurrentProcess(),
                         released.receive(), 0, FALSE, DUPLICATE_SAME_ACCESS))
        return nullptr;
    return std::make_unique<WatchTicket>(WatchTicket{session.listView, std::move(released)});
}

bool StartWatcher(const Session& session) {
    std::unique_ptr<WatchTicket> ticket = TicketFor(session);
    if (!ticket)
        return false;
    const UniqueHandle watcher(CreateThread(nullptr, 0, WatchOwner, ticket.get(), 0, nullptr));
    if (!watcher)
        return false;
    ticket.release(); // the watcher's now
    return true;
}

bool Subclass(const Session& session) {
    if (!deskhook::PinModule())
        return false;
    if (SetWindowSubclass(session.listView, ListSubclassProc, kSubclassId, 0)) {
        if (StartWatcher(session))
            return true;
        RemoveWindowSubclass(session.listView, ListSubclassProc, kSubclassId);
    }
    FreeLibrary(deskhook::Module());
    return false;
}

bool StartSession(HWND listView, SharedBlock& block) {
    UniqueHandle released(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!released)
        return false;
    const auto listProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(listView, GWLP_WNDPROC));
    block.ListOldProc = listProc;
    // The program seeds these too, but a paint may come first.
    block.PaintTextColor = static_cast<COLORREF>(SendMessageA(listView, LVM_GETTEXTCOLOR, 0, 0));
    block.PaintBackColor = static_cast<COLORREF>(SendMessageA(listView, LVM_GETTEXTBKCOLOR, 0, 0));
    auto session = std::make_unique<Session>(Session{listView, std::move(released), listProc});
    if (!Subclass(*session))
        return false;
    g_session = std::move(session);
    return true;
}

void OnStart(HWND target) {
    SharedBlock* block = deskhook::DesktopBlock();
    if (!block || !target || target != block->ListView)
        return;
    if (GetWindowThreadProcessId(target, nullptr) != GetCurrentThreadId())
        return;
    if (g_session && g_session->listView != target)
        return;
    if (!g_session && !StartSession(target, *block))
        return;
    block->ListHooked = block;
}

UINT StartMessage() {
    static const UINT message = RegisterWindowMessageA(names::MsgStart);
    return message;
}

} // namespace

namespace deskhook {

LRESULT CALLBACK ListMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const MSG* message = reinterpret_cast<const MSG*>(lParam);
        if (message->message == StartMessage())
            OnStart(message->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace deskhook
