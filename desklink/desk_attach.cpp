// The one place where the program attaches to the desktop and lets go of it:
// the first attach, the watchdog's re-attach, the detach at shutdown and the
// scoped attachment of a "-save" or "-restore" run.
#include "desklink/desk_link.h"

#include "base/handles.h"
#include "base/instance_data.h"
#include "desklink/icon_lock.h"

namespace {

// The running instance records in the cross-instance data that it is
// attached, as the pointer width of its build: the block of that width is
// the one attached, and a run of the other width has a block of its own.
constexpr LONG kOwnWidth = sizeof(void*);

void RecordInstanceAttached(bool attached) {
    Instances().DesktopAttached = attached ? kOwnWidth : 0;
}

bool InstanceOfOurWidthAttached() {
    const SharedBlock* block = DeskBlock();
    return Instances().DesktopAttached == kOwnWidth && block && block->ListHooked;
}

bool AttachedHere(const SharedBlock& block) {
    return block.ListHooked && block.OwnerProcessId == GetCurrentProcessId();
}

// The list view draws with the paint colours of the block; an attach starts
// them from what the list view shows now, so the first paint changes nothing.
void SeedPaintColors(SharedBlock& block) {
    if (!RefreshDesktopListView())
        return;
    block.PaintTextColor = ListTextColor();
    block.PaintBackColor = ListTextBackColor();
}

void SeedPaintColorsUnderLock() {
    IconLock lock;
    if (SharedBlock* block = DeskBlock())
        SeedPaintColors(*block);
}

bool Hook(AttachFailure* failure) {
    RefreshDesktopListView();
    const bool hooked = SetHook(TRUE) != FALSE;
    const DWORD error = GetLastError();
    if (hooked && DeskBlock())
        return true;
    if (failure)
        *failure = error == ERROR_EXE_MACHINE_TYPE_MISMATCH ? AttachFailure::OtherWidth
                                                            : AttachFailure::NoAnswer;
    return false;
}

bool ShowCursorAndUnhook() {
    IconLock lock;
    SharedBlock* block = DeskBlock();
    bool shown = true;
    if (block && block->ListHooked && !block->CursorShown)
        ToggleDesktopCursor(shown);
    return SetHook(FALSE) != FALSE;
}

} // namespace

SharedBlock* DeskBlock() {
    return LocateSharedData();
}

bool AttachDesktop(AttachFailure* failure) {
    const bool attached = Hook(failure);
    if (attached)
        SeedPaintColorsUnderLock();
    RecordInstanceAttached(attached);
    return attached;
}

bool DetachDesktop() {
    RecordInstanceAttached(false);
    return ShowCursorAndUnhook();
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
    const UniqueHandle process(processId ? OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId)
                                         : nullptr);
    RefreshDesktopListView();
    return static_cast<bool>(process);
}

ScopedDesktopAttachment::ScopedDesktopAttachment(PaintColors colors) {
    if (InstanceOfOurWidthAttached()) {
        linked_ = true;
    } else {
        const SharedBlock* block = DeskBlock();
        const bool attachedBefore = block && AttachedHere(*block);
        linked_ = Hook(nullptr);
        took_ = linked_ && !attachedBefore && AttachedHere(*DeskBlock());
    }
    if (linked_ && colors == PaintColors::Seed)
        SeedPaintColorsUnderLock();
}

ScopedDesktopAttachment::~ScopedDesktopAttachment() {
    Release();
}

void ScopedDesktopAttachment::Release() {
    if (took_)
        ShowCursorAndUnhook();
    took_ = false;
    linked_ = false;
}
