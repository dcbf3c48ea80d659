// The program's side of the desktop link: the desktop windows, the state of
// the desktop, and one exchange with the hook library inside Explorer per
// call. Every exchange takes the icon lock itself; a caller that already holds
// it (to keep a whole walk over the icons consistent) may call these freely.
#pragma once

#include <windows.h>

#include "deskhook/deskhook.h"

#include <optional>

// What the desktop list view reports about one icon.
struct IconInfo {
    POINT position;     // list-view coordinates
    RECT labelRect;     // LVIR_LABEL
    RECT boundsRect;    // LVIR_BOUNDS
    char16_t name[257]; // the caption exactly as the list view holds it (UTF-16),
                        // always terminated here
    int nameLength;     // units of name as reported, 0 to 256
    // The caption's ANSI form: what an ANSI read of the list view gives, a
    // "?" for every character outside the user's code page; at most 255
    // bytes, as an ANSI read into the block's 256 bytes gave. Always
    // terminated here.
    char caption[257];
    int captionLength; // bytes of caption, 0 to 255
};

// ---- Attachment ---------------------------------------------------------------
// Attach, detach and re-attach live here and nowhere else. A process lets go
// only of an attachment it made itself; another process's live attachment is
// borrowed.

// The shared block in this process, or null when it cannot be mapped.
SharedBlock* DeskBlock();

enum class AttachFailure {
    NoAnswer,   // no desktop to hook, or it did not answer in time
    OtherWidth, // the desktop runs with the other pointer width: the other build is needed
};
// SetHook(1), or a live attachment borrowed from another process, then seeds
// the paint colours with the list view's current ones so that the first paint
// changes nothing. True when linked; else `failure` (optional) tells why.
bool AttachDesktop(AttachFailure* failure = nullptr);
// Brings back the cursor if the desktop side hid it, then SetHook(0), which
// lets go only of what this process attached.
bool DetachDesktop();
// The watchdog's re-attach: lets go of the old link, attaches to the desktop
// of now.
bool AttachDesktopAgain();
// The desktop list view exists, but the link does not reach it: detached by
// someone else, or the list view was replaced under the same "Progman".
bool DesktopLinkLost();
// The process that owns the desktop list view can be opened for query. The
// list view handle is looked up again before and after the test.
bool DesktopReachable();
// The window that receives UM_SETTINGCHANGE forwarded from the desktop.
void SetDesktopNotifyWindow(HWND window);

// The link of a one-shot run ("-save", "-restore"): borrows a running
// instance's attachment or attaches itself, and releases only what it took.
// With PaintColors::Seed the paint colours are seeded from the list view
// however the link was got, borrowed or not.
class ScopedDesktopAttachment {
  public:
    enum class PaintColors { Keep, Seed };
    explicit ScopedDesktopAttachment(PaintColors colors = PaintColors::Keep);
    ~ScopedDesktopAttachment();
    ScopedDesktopAttachment(const ScopedDesktopAttachment&) = delete;
    ScopedDesktopAttachment& operator=(const ScopedDesktopAttachment&) = delete;

    bool Linked() const { return linked_; }
    // Lets go now (a detach if this attachment made it).
    void Release();

  private:
    bool linked_ = false;
    bool took_ = false;
};

// ---- Desktop windows ----------------------------------------------------------

// The cached desktop list view handle (null until the first refresh).
HWND DesktopListView();
// Looks the list view up again (GetDeskTopListView) and caches the result.
HWND RefreshDesktopListView();
// The handle of the top-level "Progman" window stored by the last
// RecordProgmanSentinel; compared by the watchdog to notice a new Explorer.
HWND ProgmanSentinel();
void RecordProgmanSentinel();

// Shows or hides a window of the desktop's process (the list view, the
// taskbar, "Progman") without waiting on its thread: a hung desktop must not
// hold the program. The window changes once its thread gets to it.
void ShowDesktopWindow(HWND window, int command);
// Has such a window drawn anew when its thread gets to it.
void RepaintDesktopWindow(HWND window);
// LVM_SETTEXTBKCOLOR on the cached list view, given up on a hung desktop.
void SetListTextBackColor(COLORREF color);

// ---- Desktop state (stateless queries, ask again whenever needed) -----------

// LVS_AUTOARRANGE in the cached list view's style.
bool AutoArrangeOn();
// The desktop is rendered as a web page (SHGetSettings when the shell offers
// it, else the presence of the web view window in the desktop view).
bool ActiveDesktopOn();
// The desktop is not the normal one: the cached list view no longer hangs
// under the top-level window that holds the desktop view now ("Progman", or
// the "WorkerW" Explorer moved the view into), or there is no desktop view.
// Without a cached list view: true while a "Progman" window exists.
bool DesktopMovedOffProgman();

// ---- Messages straight to the list view (no shared block) -------------------

// The list view's icon count; 0 also when no list view answered.
int IconCount();
// The same, with nothing when no list view answered (none cached, gone, or
// hung beyond the time-out).
std::optional<int> AnsweredIconCount();
// Icon spacing of the list view (LVM_GETITEMSPACING, large icons).
SIZE IconSpacing();
void ArrangeSnapToGrid();
COLORREF ListTextColor();
COLORREF ListTextBackColor();

// ---- Exchanges through the shared block -------------------------------------
// Each takes the icon lock and the request mutex that serialises exchanges
// across processes, and returns true only with a fresh answer: the desktop
// list view attached now answered this very request within the time-out.
// False when nothing is attached, the list view was replaced, the desktop
// did not answer in time, or another process held the block too long; the
// out arguments are then left as they were.

// DSK_GetPos.
bool GetIconInfo(int index, IconInfo& out);
// Writes Position and sends DSK_SetPos.
bool SetIconPosition(int index, POINT position);
// DSK_GetPosMany: icons 0 .. count - 1 (count at most icon_batch::kMaxIcons)
// read in one exchange, as one picture of the desktop taken by its own
// thread; labelRect is not part of it and left empty. True only when every
// one of them was answered. `listCount` (optional) receives the number of
// icons the list view held when it answered.
bool GetIconInfos(int count, IconInfo* out, int* listCount = nullptr);
// One icon to move, and where.
struct IconMove {
    int index;
    POINT position;
};
// DSK_SetPosMany: up to icon_batch::kMaxIcons icons moved in one exchange,
// with the list view drawn once afterwards. True only when every move was made.
bool SetIconPositions(const IconMove* moves, int count);
// DSK_HitTest with `point` in list-view coordinates: `item` receives the item
// index or -1, `flags` (optional) the LVHT_ flags.
bool HitTestIcon(POINT point, int& item, UINT* flags = nullptr);
// DSK_SCHCsr: flips the cursor shown by the desktop thread; `shownAfter`
// receives the new CursorShown.
bool ToggleDesktopCursor(bool& shownAfter);
// Writes PaintTextColor and PaintBackColor (CLR_NONE: transparent) and
// invalidates the list view, which applies them at its next paint. False
// without a shared block.
bool SetCaptionColors(COLORREF text, COLORREF back);
