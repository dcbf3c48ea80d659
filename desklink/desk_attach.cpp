// The one place where the program attaches to the desktop and lets go of it:
// the first attach, the watchdog's re-attach, the detach at shutdown and the
// scoped attachment of a "-save" or "-restore" run.
#include "desklink/desk_link.h"

#include "desklink/icon_lock.h"

namespace {

bool AttachedHere(const SharedBlock& block) {
    return block.ListHooked && block.OwnerProcessId == GetCurrentProcessId();
}

// The list view draws with the paint colours of the block; an attach starts
// them from what the list view shows now, so the first paint changes nothing.
void SeedPaintColours(SharedBlock& block) {
    if (!RefreshDesktopListView())
        return;
    block.PaintTextColor = ListTextColor();
    block.PaintBackColor = ListTextBackColor();
}

} // namespace

SharedBlock* DeskBlock() {
    return LocateSharedData();
}

bool AttachDesktop(AttachFailure* failure) {
    RefreshDesktopListView();
    const bool hooked = SetHook(TRUE) != FALSE;
    const DWORD error = GetLastError();
    SharedBlock* block = DeskBlock();
    if (!hooked || !block) {
        if (failure)
            *failure = error == ERROR_EXE_MACHINE_TYPE_MISMATCH ? AttachFailure::OtherWidth
                                                                 : AttachFailure::NoAnswer;
        return false;
    }
    IconLock lock;
    SeedPaintColours(*block);
    return true;
}

bool DetachDesktop() {
    IconLock lock;
    SharedBlock* block = DeskBlock();
    bool shown = true;
    if (block && block->ListHooked && !block->CursorShown)
        ToggleDesktopCursor(shown);
    return SetHook(FALSE) != FALSE;
}

bool AttachDesktopAgain() {
    DetachDesktop();
    return AttachDesktop();
}

bool DesktopLinkLost() {
    HWND listView = GetDeskTopListView();
    const SharedBlock* block = DeskBlock();
    return listView && (!block || !block->ListHooked || block->ListView != listView);
}

bool DesktopReachable() {
    DWORD processId = 0;
    GetWindowThreadProcessId(RefreshDesktopListView(), &processId);
    HANDLE process = processId ? OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId) : nullptr;
    if (process)
        CloseHandle(process);
    RefreshDesktopListView();
    return process != nullptr;
}

ScopedDesktopAttachment::ScopedDesktopAttachment() {
    const SharedBlock* block = DeskBlock();
    const bool attachedBefore = block && AttachedHere(*block);
    linked_ = AttachDesktop();
    took_ = linked_ && !attachedBefore && AttachedHere(*DeskBlock());
}

ScopedDesktopAttachment::~ScopedDesktopAttachment() {
    Release();
}

void ScopedDesktopAttachment::Release() {
    if (took_)
        DetachDesktop();
    took_ = false;
    linked_ = false;
}
