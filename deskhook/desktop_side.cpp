// The part of the library that runs inside Explorer's desktop process: the
// message hook that subclasses the list view, and the subclass's answers to
// the program's requests (its lifetime: subclass_session.h). The hook and the
// subclass procedure run on the list view's own thread.
#include "base/handles.h"
#include "deskhook/caption_copy.h"
#include "deskhook/icon_batch.h"
#include "deskhook/hook_internal.h"
#include "deskhook/request_stamp.h"
#include "deskhook/shared_names.h"
#include "deskhook/subclass_session.h"

namespace {

// A hung or stopped program must not freeze the desktop: whatever the program
// does, the desktop answers its own sender within half a second.
constexpr UINT kNotifyTimeoutMs = 300;
constexpr UINT kFirstRegisteredMessage = 0xC000;

struct ListPolicy;
using ListSession = subclass_session::Session<ListPolicy>;

// A question to the list view while a request is answered, put straight to
// its own procedure as it was before our subclass. Sent, it would pass every
// message hook of the desktop thread and the subclass chain again for each
// icon; under Wine that costs far more than the answer itself.
LRESULT AskList(HWND listView, UINT message, WPARAM wParam, LPARAM lParam) {
    if (const WNDPROC original = ListSession::OriginalProc(listView))
        return CallWindowProcA(original, listView, message, wParam, lParam);
    return SendMessageA(listView, message, wParam, lParam);
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
    LRESULT length = AskList(listView, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&request));
    return caption::Store(reinterpret_cast<char16_t*>(field),
                          reinterpret_cast<const char16_t*>(request.pszText), length);
}

RECT ItemRect(HWND listView, WPARAM index, LONG part) {
    RECT rect{};
    rect.left = part;
    AskList(listView, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

// The fields a request brings, copied out of the block before they are acted
// on, so that no other request's writing can change them meanwhile.
struct Request {
    POINT position{}; // DSK_SetPos
    POINT hitPoint{}; // DSK_HitTest
    LONG first = 0;   // batched read: the first icon asked for
    LONG count = 0;   // batched read: icons asked for; batched move: moves
    IconMoveRecord moves[icon_batch::kMaxIcons];
};

// An item that is not there has no position: that is no answer, rather than
// the position of the item asked for before.
bool AnswerGetPos(HWND listView, SharedBlock& block, WPARAM index) {
    POINT position{};
    if (!AskList(listView, LVM_GETITEMPOSITION, index, reinterpret_cast<LPARAM>(&position)))
        return false;
    block.Position = position;
    block.LabelRect = ItemRect(listView, index, LVIR_LABEL);
    block.BoundsRect = ItemRect(listView, index, LVIR_BOUNDS);
    const LVITEMW request = CaptionRequest(block.Caption);
    block.ItemRequest = request;
    block.CaptionLength = ReadCaption(listView, index, block.Caption, request);
    return true;
}

// Every icon asked for that the list view holds, read in one go on its own
// thread, so the answer is one consistent picture of the desktop.
void AnswerGetPosMany(HWND listView, SharedBlock& block, const Request& request) {
    const int itemCount = static_cast<int>(AskList(listView, LVM_GETITEMCOUNT, 0, 0));
    const icon_batch::Range range = icon_batch::ReadRange(request.first, request.count, itemCount);
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
void AnswerSetPosMany(HWND listView, SharedBlock& block, const Request& request) {
    const LONG itemCount = static_cast<LONG>(AskList(listView, LVM_GETITEMCOUNT, 0, 0));
    const bool visible = IsWindowVisible(listView) != FALSE;
    if (visible)
        SendMessageA(listView, WM_SETREDRAW, FALSE, 0);
    int moved = 0;
    for (int k = 0; k < request.count; ++k) {
        const LONG index = request.moves[k].Index;
        POINT position = request.moves[k].Position;
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

void CopyRequest(const SharedBlock& block, UINT message, Request& request) {
    if (Is(message, block.MsgSetPos)) {
        request.position = block.PositionRequest;
    } else if (Is(message, block.MsgHitTest)) {
        request.hitPoint = block.HitPointRequest;
    } else if (message == GetPosManyMessage()) {
        request.first = block.BatchFirst;
        request.count = block.BatchCount;
    } else if (message == SetPosManyMessage()) {
        request.count = icon_batch::MoveCount(block.BatchCount);
        for (int k = 0; k < request.count; ++k)
            request.moves[k] = block.MoveRequests[k];
    }
}

void AnswerHitTest(HWND listView, SharedBlock& block, POINT point) {
    LVHITTESTINFO hit{};
    hit.pt = point;
    hit.iItem = -1;
    AskList(listView, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    block.HitTest = hit;
}

// True when the request was answered.
bool AnswerRequest(HWND listView, SharedBlock& block, UINT message, WPARAM wParam,
                   Request& request) {
    if (Is(message, block.MsgGetPos))
        return AnswerGetPos(listView, block, wParam);
    if (Is(message, block.MsgSetPos))
        AskList(listView, LVM_SETITEMPOSITION32, wParam,
                reinterpret_cast<LPARAM>(&request.position));
    else if (Is(message, block.MsgHitTest))
        AnswerHitTest(listView, block, request.hitPoint);
    else if (Is(message, block.MsgToggleCursor))
        ToggleCursor(block);
    else if (message == GetPosManyMessage())
        AnswerGetPosMany(listView, block, request);
    else if (message == SetPosManyMessage())
        AnswerSetPosMany(listView, block, request);
    else
        return false;
    return true;
}

// A request is answered only with the fields written for its stamp: a
// message that arrives after its sender gave up must not answer, nor act on,
// the request of whoever holds the block now.
void AnswerCurrentRequest(HWND listView, SharedBlock& block, UINT message, WPARAM wParam,
                          LPARAM lParam) {
    const LONG stamp = static_cast<LONG>(lParam);
    Request request;
    if (request_stamp::Take(block.RequestStamp, stamp,
                            [&] { CopyRequest(block, message, request); }) &&
        AnswerRequest(listView, block, message, wParam, request))
        block.AnswerStamp = stamp;
}

bool IsRequest(const SharedBlock& block, UINT message) {
    return Is(message, block.MsgGetPos) || Is(message, block.MsgSetPos) ||
           Is(message, block.MsgHitTest) || Is(message, block.MsgToggleCursor) ||
           message == GetPosManyMessage() || message == SetPosManyMessage();
}

// Runs before the list view's own procedure sees the message.
void HandleRequest(HWND listView, SharedBlock& block, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsRequest(block, message)) {
        AnswerCurrentRequest(listView, block, message, wParam, lParam);
    } else if (message == WM_WININICHANGE) {
        ForwardSettingChange(block, wParam, lParam);
    } else if (message == WM_PAINT) {
        ApplyPaintColors(listView, block);
    } else if (message == WM_MOUSEMOVE) {
        block.MouseMoved = 1;
    }
}

// The desktop list view's subclass: it answers the program's requests.
struct ListPolicy {
    static constexpr UINT_PTR kSubclassId = 1;
    static HWND Window(const SharedBlock& block) { return block.ListView; }
    static bool Hook(const SharedBlock& block) { return block.ListHook != nullptr; }
    static void Prepare(HWND listView, SharedBlock& block, WNDPROC original) {
        block.ListOldProc = original;
        // The program seeds these too, but a paint may come first.
        block.PaintTextColor =
            static_cast<COLORREF>(SendMessageA(listView, LVM_GETTEXTCOLOR, 0, 0));
        block.PaintBackColor =
            static_cast<COLORREF>(SendMessageA(listView, LVM_GETTEXTBKCOLOR, 0, 0));
    }
    static void MarkAttached(SharedBlock& block, bool on) {
        block.ListHooked = on ? &block : nullptr;
    }
    static bool Handle(HWND listView, SharedBlock& block, UINT message, WPARAM wParam,
                       LPARAM lParam) {
        HandleRequest(listView, block, message, wParam, lParam);
        return false;
    }
    static bool IsEnd(const SharedBlock& block, UINT message) { return Is(message, block.MsgEnd); }
    static void OwnerGone(HWND listView, SharedBlock& block) { UndoOwnerChanges(listView, block); }
    static void Unsubclassed(HWND) {}
};

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
            ListSession::Start(message->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace deskhook
