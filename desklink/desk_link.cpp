// Exchanges with the hook library's copy inside Explorer. A request is
// written into the shared block and stamped, the registered message is sent
// to the list view with the stamp, and the answer is read from the block once
// the desktop side has echoed the stamp.
#include "desklink/desk_link.h"

#include <algorithm>
#include <cstring>

#include "base/handles.h"
#include "deskhook/shared_names.h"
#include "desklink/icon_lock.h"

namespace {

// A desktop that takes longer than this to answer one request is taken as
// hung; the request then fails instead of holding the program.
constexpr UINT kAnswerTimeoutMs = 2000;
// Another process's exchange holds the request mutex for at most one answer.
constexpr DWORD kRequestMutexWaitMs = kAnswerTimeoutMs + 1000;

bool Attached(const SharedBlock* block) {
    return block && block->ListHooked;
}

// The mutex that every process takes around its exchanges through the
// block. Opened once and held open for the life of the process.
HANDLE RequestMutex() {
    static const UniqueHandle mutex(CreateMutexA(nullptr, FALSE, names::SharedBlockRequestMutex));
    return mutex.get();
}

// Holds the request mutex for one exchange. A process that died holding it
// leaves it abandoned; the next owner takes it as it is, since every request
// is stamped anew.
class RequestTurn {
  public:
    RequestTurn() {
        const DWORD waited = mutex_ ? WaitForSingleObject(mutex_, kRequestMutexWaitMs) : WAIT_FAILED;
        held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    ~RequestTurn() {
        if (held_)
            ReleaseMutex(mutex_);
    }
    RequestTurn(const RequestTurn&) = delete;
    RequestTurn& operator=(const RequestTurn&) = delete;
    bool Held() const { return held_; }

  private:
    HANDLE mutex_ = RequestMutex();
    bool held_ = false;
};

// The list view the block is attached to is still the desktop's.
bool StillTheAttachedListView(const SharedBlock& block) {
    return block.ListView && block.ListView == GetDeskTopListView();
}

// One request and its answer: `write` fills the request fields, `read` takes
// the answer. SMTO_BLOCK keeps this thread from handling other sent messages
// meanwhile, so no handler of ours runs in the middle of a request. True only
// with a fresh answer from the desktop list view that is attached now.
template <typename Write, typename Read>
bool Exchange(UINT SharedBlock::*message, WPARAM wParam, Write write, Read read) {
    IconLock lock;
    RequestTurn turn;
    SharedBlock* block = DeskBlock();
    if (!turn.Held() || !Attached(block) || !StillTheAttachedListView(*block))
        return false;
    write(*block);
    const LONG stamp = block->RequestStamp + 1;
    block->RequestStamp = stamp;
    DWORD_PTR ignored;
    if (!SendMessageTimeoutA(block->ListView, block->*message, wParam, stamp,
                             SMTO_BLOCK | SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &ignored))
        return false;
    if (block->AnswerStamp != stamp)
        return false;
    read(*block);
    return true;
}

void NoRequestFields(SharedBlock&) {}
void NoAnswerFields(const SharedBlock&) {}

} // namespace

void SetDesktopNotifyWindow(HWND window) {
    if (SharedBlock* block = DeskBlock())
        block->AppWindow = window;
}

bool GetIconInfo(int index, IconInfo& out) {
    return Exchange(&SharedBlock::MsgGetPos, index, NoRequestFields, [&](const SharedBlock& block) {
        out.position = block.Position;
        out.labelRect = block.LabelRect;
        out.boundsRect = block.BoundsRect;
        out.captionLength = std::clamp<int>(block.CaptionLength, 0, sizeof(block.Caption));
        std::memcpy(out.caption, block.Caption, out.captionLength);
        out.caption[out.captionLength] = '\0';
    });
}

bool SetIconPosition(int index, POINT position) {
    return Exchange(
        &SharedBlock::MsgSetPos, index, [&](SharedBlock& block) { block.Position = position; },
        NoAnswerFields);
}

bool HitTestIcon(POINT point, int& item, UINT* flags) {
    return Exchange(
        &SharedBlock::MsgHitTest, 0,
        [&](SharedBlock& block) {
            block.HitTest = LVHITTESTINFO{};
            block.HitTest.pt = point;
            block.HitTest.iItem = -1;
        },
        [&](const SharedBlock& block) {
            item = block.HitTest.iItem;
            if (flags)
                *flags = block.HitTest.flags;
        });
}

bool ToggleDesktopCursor(bool& shownAfter) {
    return Exchange(&SharedBlock::MsgToggleCursor, 0, NoRequestFields,
                    [&](const SharedBlock& block) { shownAfter = block.CursorShown != 0; });
}

bool SetCaptionColors(COLORREF text, COLORREF back) {
    SharedBlock* block = DeskBlock();
    if (!block)
        return false;
    block->PaintTextColor = text;
    block->PaintBackColor = back;
    return InvalidateRect(DesktopListView(), nullptr, TRUE) != FALSE;
}
