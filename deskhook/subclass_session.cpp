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

DWORD FreeLibraryOnceLeft(HWND window) {
    if (!IsWindow(window))
        return 0;
    SendMessageA(window, WM_NULL, 0, 0);
    FreeLibraryAndExitThread(deskhook::Module(), 0);
}

} // namespace subclass_session
