// Exchanges with the hook library's copy inside Explorer. A request is
// written into the shared block and stamped (deskhook/request_stamp.h), the
// registered message is sent to the list view with the stamp, and the answer
// is read from the block once the desktop side has echoed the stamp.
#include "desklink/desk_link.h"

#include <algorithm>
#include <cstring>

#include "base/handles.h"
#include "base/user_security_win.h"
#include "deskhook/caption_copy.h"
#include "deskhook/request_stamp.h"
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
// block, this user's alone: without it no exchange takes place. Opened once
// and held open for the life of the process.
HANDLE RequestMutex() {
    static const UniqueHandle mutex = OpenUserMutex(names::SharedBlockRequestMutex);
    return mutex.get();
}

// One exchange's turn; every request is stamped anew, so a turn taken over
// from a process that died holding it starts clean.
class RequestTurn : public MutexTurn {
  public:
    RequestTurn() : MutexTurn(RequestMutex(), kRequestMutexWaitMs) {}
};

// The list view the block is attached to is still the desktop's.
bool StillTheAttachedListView(const SharedBlock& block) {
    return block.ListView && block.ListView == GetDeskTopListView();
}

// One request and its answer: `write` fills the request fields, `read` takes
// the answer. SMTO_BLOCK keeps this thread from handling other sent messages
// meanwhile, so no handler of ours runs in the middle of a request. True only
// with a fresh answer from the desktop list view that is attached now.
// `message` gives the registered message for the block.
template <typename Message, typename Write, typename Read>
bool Exchange(Message message, WPARAM wParam, Write write, Read read) {
    IconLock lock;
    RequestTurn turn;
    SharedBlock* block = DeskBlock();
    if (!turn.Held() || !Attached(block) || !StillTheAttachedListView(*block))
        return false;
    const LONG stamp = request_stamp::Publish(block->RequestStamp, [&] { write(*block); });
    DWORD_PTR ignored;
    if (!SendMessageTimeoutA(block->ListView, message(*block), wParam, stamp,
                             SMTO_BLOCK | SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &ignored))
        return false;
    if (block->AnswerStamp != stamp)
        return false;
    read(*block);
    return true;
}

// A message whose id the attach stored in the block.
auto BlockMessage(UINT SharedBlock::*field) {
    return [field](const SharedBlock& block) { return block.*field; };
}

// A message registered by name on both sides.
auto NamedMessage(const char* name) {
    const UINT message = RegisterWindowMessageA(name);
    return [message](const SharedBlock&) { return message; };
}

// The caption as an ANSI read of the list view gives it: converted with the
// user's code page and best-fit mapping, so a caption that fits the code page
// keeps exactly its ANSI bytes. A longer form is cut, at a character's end,
// to what fits the ANSI read's buffer.
int AnsiForm(const char16_t* name, int length, char (&out)[257]) {
    constexpr int kAnsiBytes = caption::kUnits - 1;
    const auto* wide = reinterpret_cast<const wchar_t*>(name);
    for (int units = length; units > 0; --units) {
        if (units < length && IS_HIGH_SURROGATE(wide[units - 1]))
            continue;
        const int bytes =
            WideCharToMultiByte(CP_ACP, 0, wide, units, out, kAnsiBytes, nullptr, nullptr);
        if (bytes > 0)
            return bytes;
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return 0;
    }
    return 0;
}

void CopyCaption(const wchar_t (&field)[caption::kUnits], LONG reported, IconInfo& out) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    out.nameLength = std::clamp<int>(reported, 0, caption::kUnits);
    std::memcpy(out.name, field, out.nameLength * sizeof(char16_t));
    out.name[out.nameLength] = u'\0';
    out.captionLength = AnsiForm(out.name, out.nameLength, out.caption);
    out.caption[out.captionLength] = '\0';
}

void NoRequestFields(SharedBlock&) {}
void NoAnswerFields(const SharedBlock&) {}

} // namespace

void SetDesktopNotifyWindow(HWND window) {
    if (SharedBlock* block = DeskBlock())
        block->AppWindow = window;
}

bool GetIconInfo(int index, IconInfo& out) {
    return Exchange(BlockMessage(&SharedBlock::MsgGetPos), index, NoRequestFields,
                    [&](const SharedBlock& block) {
                        out.position = block.Position;
                        out.labelRect = block.LabelRect;
                        out.boundsRect = block.BoundsRect;
                        CopyCaption(block.Caption, block.CaptionLength, out);
                    });
}

bool SetIconPosition(int index, POINT position) {
    return Exchange(
        BlockMessage(&SharedBlock::MsgSetPos), index,
        [&](SharedBlock& block) { block.PositionRequest = position; }, NoAnswerFields);
}

bool GetIconInfos(int count, IconInfo* out, int* listCount) {
    if (count < 0 || count > icon_batch::kMaxIcons)
        return false;
    static const auto message = NamedMessage(names::MsgGetPosMany);
    bool whole = false;
    const bool answered = Exchange(
        message, 0,
        [&](SharedBlock& block) {
            block.BatchFirst = 0;
            block.BatchCount = count;
        },
        [&](const SharedBlock& block) {
            whole = icon_batch::ReadWhole(count, block.BatchAnswered);
            if (listCount)
                *listCount = block.BatchItemCount;
            for (int i = 0; whole && i < count; ++i) {
                const IconRecord& record = block.BatchIcons[i];
                out[i].position = record.Position;
                out[i].labelRect = RECT{};
                out[i].boundsRect = record.BoundsRect;
                CopyCaption(record.Caption, record.CaptionLength, out[i]);
            }
        });
    return answered && whole;
}

bool SetIconPositions(const IconMove* moves, int count) {
    if (count < 0 || count > icon_batch::kMaxIcons)
        return false;
    static const auto message = NamedMessage(names::MsgSetPosMany);
    bool whole = false;
    const bool answered = Exchange(
        message, 0,
        [&](SharedBlock& block) {
            for (int i = 0; i < count; ++i)
                block.MoveRequests[i] = IconMoveRecord{moves[i].index, moves[i].position};
            block.BatchCount = count;
        },
        [&](const SharedBlock& block) { whole = block.BatchAnswered == count; });
    return answered && whole;
}

bool HitTestIcon(POINT point, int& item, UINT* flags) {
    return Exchange(
        BlockMessage(&SharedBlock::MsgHitTest), 0,
        [&](SharedBlock& block) { block.HitPointRequest = point; },
        [&](const SharedBlock& block) {
            item = block.HitTest.iItem;
            if (flags)
                *flags = block.HitTest.flags;
        });
}

bool ToggleDesktopCursor(bool& shownAfter) {
    return Exchange(BlockMessage(&SharedBlock::MsgToggleCursor), 0, NoRequestFields,
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
