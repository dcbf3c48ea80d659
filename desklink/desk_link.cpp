// Exchanges with the hook library's copy inside Explorer. A request is
// written into the shared block, the registered message is sent to the list
// view, and the answer is read from the block when the send returns.
#include "desklink/desk_link.h"

#include <algorithm>
#include <cstring>

#include "desklink/icon_lock.h"

namespace {

bool Attached(const SharedBlock* block) {
    return block && block->ListHooked;
}

// Sends a request to the subclassed list view; false when nothing is attached.
bool Exchange(SharedBlock* block, UINT message, WPARAM wParam) {
    if (!Attached(block))
        return false;
    SendMessageA(block->ListView, message, wParam, reinterpret_cast<LPARAM>(block));
    return true;
}

} // namespace

SharedBlock* DeskBlock() {
    return LocateSharedData();
}

bool AttachDesktop() {
    if (!SetHook(TRUE))
        return false;
    IconLock lock;
    SharedBlock* block = DeskBlock();
    HWND listView = RefreshDesktopListView();
    block->PaintTextColor = ListTextColor();
    block->PaintBackColor = ListTextBackColor();
    return listView != nullptr;
}

bool DetachDesktop() {
    IconLock lock;
    SharedBlock* block = DeskBlock();
    if (Attached(block) && !block->CursorShown)
        ToggleDesktopCursor();
    return SetHook(FALSE) != FALSE;
}

void SetDesktopNotifyWindow(HWND window) {
    if (SharedBlock* block = DeskBlock())
        block->AppWindow = window;
}

bool GetIconInfo(int index, IconInfo& out) {
    IconLock lock;
    SharedBlock* block = DeskBlock();
    if (!Exchange(block, block ? block->MsgGetPos : 0, index))
        return false;
    out.position = block->Position;
    out.labelRect = block->LabelRect;
    out.boundsRect = block->BoundsRect;
    out.captionLength = std::clamp<int>(block->CaptionLength, 0, sizeof(block->Caption));
    std::memcpy(out.caption, block->Caption, out.captionLength);
    out.caption[out.captionLength] = '\0';
    return true;
}

bool SetIconPosition(int index, POINT position) {
    IconLock lock;
    SharedBlock* block = DeskBlock();
    if (!Attached(block))
        return false;
    block->Position = position;
    return Exchange(block, block->MsgSetPos, index);
}

int HitTestIcon(POINT point, UINT* flags) {
    IconLock lock;
    SharedBlock* block = DeskBlock();
    if (!Attached(block))
        return -1;
    block->HitTest = LVHITTESTINFO{};
    block->HitTest.pt = point;
    block->HitTest.iItem = -1;
    Exchange(block, block->MsgHitTest, 0);
    if (flags)
        *flags = block->HitTest.flags;
    return block->HitTest.iItem;
}

bool ToggleDesktopCursor() {
    IconLock lock;
    SharedBlock* block = DeskBlock();
    Exchange(block, block ? block->MsgToggleCursor : 0, 0);
    return !block || block->CursorShown;
}

void SetCaptionColors(COLORREF text, COLORREF back) {
    if (SharedBlock* block = DeskBlock()) {
        block->PaintTextColor = text;
        block->PaintBackColor = back;
    }
    InvalidateRect(DesktopListView(), nullptr, TRUE);
}
