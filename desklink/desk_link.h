// The program's side of the desktop link: the desktop windows, the state of
// the desktop, and one exchange with the hook library inside Explorer per
// call. Every exchange takes the icon lock itself; a caller that already holds
// it (to keep a whole walk over the icons consistent) may call these freely.
#pragma once

#include <windows.h>

#include "deskhook/deskhook.h"

// What the desktop list view reports about one icon.
struct IconInfo {
    POINT position;    // list-view coordinates
    RECT labelRect;    // LVIR_LABEL
    RECT boundsRect;   // LVIR_BOUNDS
    char caption[257]; // always terminated here
    int captionLength; // bytes of caption as reported, 0 to 256
};

// ---- Attachment -------------------------------------------------------------

// The shared block in this process, or null when it cannot be mapped.
SharedBlock* DeskBlock();
// SetHook(1), then seeds the paint colours with the list view's current ones
// so that the first paint changes nothing. True when attached.
bool AttachDesktop();
// Brings back the cursor if the desktop side hid it, then SetHook(0).
bool DetachDesktop();
// The window that receives UM_SETTINGCHANGE forwarded from the desktop.
void SetDesktopNotifyWindow(HWND window);

// ---- Desktop windows ----------------------------------------------------------

// The cached desktop list view handle (null until the first refresh).
HWND DesktopListView();
// Looks the list view up again (GetDeskTopListView) and caches the result.
HWND RefreshDesktopListView();
// The handle of the top-level "Progman" window stored by the last
// RecordProgmanSentinel; compared by the watchdog to notice a new Explorer.
HWND ProgmanSentinel();
void RecordProgmanSentinel();

// ---- Desktop state (stateless queries, ask again whenever needed) -----------

// LVS_AUTOARRANGE in the cached list view's style.
bool AutoArrangeOn();
// The desktop is rendered as a web page (SHGetSettings when the shell offers
// it, else the presence of the web view window under "Progman").
bool ActiveDesktopOn();
// The cached list view no longer hangs under the top-level "Progman" window.
bool DesktopMovedOffProgman();

// ---- Messages straight to the list view (no shared block) -------------------

int IconCount();
// Icon spacing of the list view (LVM_GETITEMSPACING, large icons).
SIZE IconSpacing();
void ArrangeSnapToGrid();
COLORREF ListTextColor();
COLORREF ListTextBackColor();

// ---- Exchanges through the shared block (each under the icon lock) ---------

// DSK_GetPos. False when the desktop is not attached.
bool GetIconInfo(int index, IconInfo& out);
// Writes Position and sends DSK_SetPos.
bool SetIconPosition(int index, POINT position);
// DSK_HitTest with `point` in list-view coordinates: the item index or -1;
// `flags` (optional) receives the LVHT_ flags.
int HitTestIcon(POINT point, UINT* flags = nullptr);
// DSK_SCHCsr: flips the cursor shown by the desktop thread; returns the new
// CursorShown.
bool ToggleDesktopCursor();
// Writes PaintTextColor and PaintBackColor (CLR_NONE: transparent) and
// invalidates the list view, which applies them at its next paint.
void SetCaptionColors(COLORREF text, COLORREF back);
