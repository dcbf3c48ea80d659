#include "deskhook/subclass_session.h"

#include "deskhook/shared_names.h"

namespace subclass_session {

namespace {

constexpr DWORD kOwnerPollMs = 500;

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

// Polled too, since a new program may take the attachment over.
void FollowOwner(HWND window, HANDLE released, const SharedBlock& block) {
    OwnerHandle owner;
    for (;;) {
        const DWORD pid = block.OwnerProcessId;
        if (owner.Follow(pid)) {
            HANDLE handles[] = {released, owner.Get()};
            const DWORD count = owner.Get() ? 2 : 1;
            if (WaitForMultipleObjects(count, handles, FALSE, kOwnerPollMs) == WAIT_OBJECT_0)
                return;
            continue;
        }
        // The program ended without detaching: the subclass goes, on the
        // window's own thread.
        SendMessageA(window, OwnerGoneMessage(), pid, 0);
        if (WaitForSingleObject(released, kOwnerPollMs) == WAIT_OBJECT_0 || !IsWindow(window))
            return;
    }
}

} // namespace

UINT OwnerGoneMessage() {
    static const UINT message = RegisterWindowMessageA(names::MsgOwnerGone);
    return message;
}

bool IsOwnerGone(const SharedBlock& block, UINT message, WPARAM wParam) {
    // A new program may have taken over since the watcher saw the old one end.
    return message == OwnerGoneMessage() && wParam == block.OwnerProcessId;
}

void WatchUntilReleased(HWND window, HANDLE released) {
    if (const SharedBlock* block = deskhook::DesktopBlock())
        FollowOwner(window, released, *block);
    else
        WaitForSingleObject(released, INFINITE);
}

namespace {

constexpr UINT kRoundTripTimeoutMs = 5000;

BOOL CALLBACK TakeFirstWindow(HWND window, LPARAM found) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND AnyWindowOf(DWORD threadId) {
    HWND found = nullptr;
    EnumThreadWindows(threadId, TakeFirstWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// A message sent to a window of the thread is delivered only while the
// thread retrieves messages, which no code of ours does once the session is
// released: its answer proves the thread has left our code. Without a window
// to send to, only the thread's end proves it. A hung thread keeps us waiting
// here, and the library loaded.
bool ThreadHasLeftUs(DWORD threadId) {
    const UniqueHandle thread(OpenThread(SYNCHRONIZE, FALSE, threadId));
    if (!thread)
        return false;
    for (;;) {
        if (WaitForSingleObject(thread.get(), 0) == WAIT_OBJECT_0)
            return true;
        DWORD_PTR ignored;
        if (HWND window = AnyWindowOf(threadId)) {
            if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kRoundTripTimeoutMs,
                                    &ignored))
                return true;
        } else if (WaitForSingleObject(thread.get(), kRoundTripTimeoutMs) == WAIT_OBJECT_0) {
            return true;
        }
    }
}

} // namespace

DWORD FreeLibraryOnceLeft(DWORD threadId) {
    if (!ThreadHasLeftUs(threadId))
        return 0;
    FreeLibraryAndExitThread(deskhook::Module(), 0);
}

} // namespace subclass_session
