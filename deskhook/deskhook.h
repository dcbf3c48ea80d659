// The hook library: its exports and the block of memory that the program and
// the library's copy inside Explorer's desktop process share.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>

#include "deskhook/icon_batch.h"

#ifdef DESKHOOK_BUILDING
#define DESKHOOK_API extern "C" __declspec(dllexport)
#else
#define DESKHOOK_API extern "C" __declspec(dllimport)
#endif

// The block lives in a named file mapping of the session (see shared_names.h)
// that the program creates with the default per-user security; the copy inside
// Explorer opens it by name. Handles and pointers are pointer-sized. The
// mapping's name carries the layout version, and `BlockSize` tells the size its
// creator built, so a library of another layout never reads this one.
//
// One icon of a batched exchange (DSK_GetPosMany, DSK_SetPosMany).
struct IconRecord {
    LONG Index;           // the item answered
    POINT Position;       // its position in list-view coordinates
    RECT BoundsRect;      // LVIR_BOUNDS rectangle
    LONG CaptionLength;   // valid UTF-16 units in Caption, at most 256
    wchar_t Caption[256]; // its caption; not terminated when all 256 units are text
};

// One move of a batched move request (DSK_SetPosMany).
struct IconMoveRecord {
    LONG Index;     // the item to move
    POINT Position; // where to, in list-view coordinates
};

// One request slot of each kind: a caller writes the request, stamps it,
// sends the registered message to the desktop list view with the stamp in
// lParam, and reads the answer here once `AnswerStamp` echoes the stamp. Every
// exchange, from any process, runs under the request mutex of shared_names.h.
// A request and its answer never share a field: an answer written late, after
// its caller gave up, then cannot change the request the next caller wrote.
// Flags written by one side and read by the other are aligned 32-bit words.
struct SharedBlock {
    RECT LabelRect;               // LVIR_LABEL rectangle of the icon last asked for
    RECT BoundsRect;              // LVIR_BOUNDS rectangle of the icon last asked for
    wchar_t Caption[256];         // its caption; not terminated when all 256 units are text
    void* volatile ListHooked;    // non-null once the list view is subclassed (the
                                  // block's address inside Explorer)
    UINT MsgGetPos;               // "DSK_GetPos"
    UINT MsgSetPos;               // "DSK_SetPos"
    UINT MsgHitTest;              // "DSK_HitTest"
    UINT MsgToggleCursor;         // "DSK_SCHCsr"
    volatile LONG CursorShown;    // 0 while the library has hidden the cursor
    COLORREF PaintTextColor;      // caption text colour applied at every paint
    COLORREF PaintBackColor;      // caption background colour, CLR_NONE = transparent
    LVITEMW ItemRequest;          // caption query record, used inside Explorer only
    POINT Position;               // DSK_GetPos answer
    LONG CaptionLength;           // valid units in Caption, at most 256
    LVHITTESTINFO HitTest;        // DSK_HitTest answer: flags and item
    volatile LONG DanceRunning;   // 1 while the icon dance runs
    volatile LONG MenuEnabled;    // desktop context-menu extension on
    volatile LONG ClickToShow;    // a click on the empty desktop shows the icons
    volatile LONG MouseMoved;     // set inside Explorer at every mouse move over the icons
    volatile LONG VisibilityMode; // command id of the icon visibility mode
    WNDPROC ListOldProc;          // list view procedure in place before subclassing
    WNDPROC ViewOldProc;          // desktop view procedure before subclassing
    HWND ListView;                // the desktop list view
    HWND DefView;                 // the desktop view window "SHELLDLL_DefView"
    HWND AppWindow;               // the program's settings window
    HHOOK ListHook;               // message hook on the list view's thread
    HHOOK ViewHook;               // message hook on the desktop view's thread
    UINT MsgStart;                // "DSKStart"
    UINT MsgStart2;               // "DSK2Start"
    UINT MsgEnd;                  // "DSKEnd"
    UINT MsgEnd2;                 // "DSK2End"
    LONG LastMenuItem;            // id of the context-menu item last highlighted
    volatile LONG ViewHooked;     // 1 while the desktop view is subclassed
    HMENU ExtMenu;                // the submenu added to the desktop context menu
    // The process that attached; when it is gone without detaching, the copy
    // inside Explorer removes its subclass on its own.
    volatile DWORD OwnerProcessId;
    // The request in the block, and the last request the desktop side answered.
    volatile LONG RequestStamp;
    volatile LONG AnswerStamp;
    // sizeof(SharedBlock) of the library that created the mapping.
    volatile DWORD BlockSize;
    // Batched exchanges: one message reads icons BatchFirst .. BatchFirst +
    // BatchCount - 1 into BatchIcons, or makes the first BatchCount moves of
    // MoveRequests. Whoever reads a count here clamps it (deskhook/icon_batch.h).
    volatile LONG BatchFirst;                     // read request: first item
    volatile LONG BatchCount;                     // request: icons to read or to move
    volatile LONG BatchAnswered;                  // answer: icons read or moved
    volatile LONG BatchItemCount;                 // answer of a read: the items the list view held
    IconRecord BatchIcons[icon_batch::kMaxIcons]; // answer of a read
    POINT PositionRequest;                        // DSK_SetPos: where to
    POINT HitPointRequest;                        // DSK_HitTest: the point
    IconMoveRecord MoveRequests[icon_batch::kMaxIcons];
};

// The layout is shared with the copy inside Explorer: it must not change
// without a new version in the mapping's name.
#ifdef _WIN64
static_assert(offsetof(SharedBlock, ListHooked) == 0x220);
static_assert(offsetof(SharedBlock, ItemRequest) == 0x248);
static_assert(offsetof(SharedBlock, Position) == 0x2A0);
static_assert(offsetof(SharedBlock, HitTest) == 0x2AC);
static_assert(offsetof(SharedBlock, ListOldProc) == 0x2D8);
static_assert(offsetof(SharedBlock, ListHook) == 0x300);
static_assert(offsetof(SharedBlock, ExtMenu) == 0x328);
static_assert(offsetof(SharedBlock, OwnerProcessId) == 0x330);
static_assert(offsetof(SharedBlock, BlockSize) == 0x33C);
static_assert(offsetof(SharedBlock, BatchFirst) == 0x340);
static_assert(offsetof(SharedBlock, BatchIcons) == 0x350);
static_assert(offsetof(SharedBlock, PositionRequest) == 0x22130);
static_assert(offsetof(SharedBlock, MoveRequests) == 0x22140);
static_assert(sizeof(SharedBlock) == 0x22D38);
#else
static_assert(offsetof(SharedBlock, ListHooked) == 0x220);
static_assert(offsetof(SharedBlock, ItemRequest) == 0x240);
static_assert(offsetof(SharedBlock, Position) == 0x27C);
static_assert(offsetof(SharedBlock, HitTest) == 0x288);
static_assert(offsetof(SharedBlock, ListOldProc) == 0x2B4);
static_assert(offsetof(SharedBlock, ListHook) == 0x2C8);
static_assert(offsetof(SharedBlock, ExtMenu) == 0x2E8);
static_assert(offsetof(SharedBlock, OwnerProcessId) == 0x2EC);
static_assert(offsetof(SharedBlock, BlockSize) == 0x2F8);
static_assert(offsetof(SharedBlock, BatchFirst) == 0x2FC);
static_assert(offsetof(SharedBlock, BatchIcons) == 0x30C);
static_assert(offsetof(SharedBlock, PositionRequest) == 0x220EC);
static_assert(offsetof(SharedBlock, MoveRequests) == 0x220FC);
static_assert(sizeof(SharedBlock) == 0x22CF0);
#endif

// attach non-zero: hook and subclass the desktop list view; 0: undo. Non-zero on success.
DESKHOOK_API BOOL WINAPI SetHook(BOOL attach);
// The same for the desktop view window, whose context menu gets our submenu.
DESKHOOK_API BOOL WINAPI SetHook2(BOOL attach, HWND mainWindow);
// The shared block's address in the calling process.
DESKHOOK_API SharedBlock* WINAPI LocateSharedData();
// The desktop view "SHELLDLL_DefView" wherever Explorer has put it: under
// "Progman", else under the top-level "WorkerW" that holds it, else under a
// child of "Progman" (deskhook/desktop_search.h). Null without a desktop.
DESKHOOK_API HWND WINAPI GetDeskTopView();
// The "SysListView32" child of GetDeskTopView, or null.
DESKHOOK_API HWND WINAPI GetDeskTopListView();
// Hides the desktop icons and shows or hides the taskbar (not while the dance runs).
DESKHOOK_API void WINAPI HideDesktopIcons(BOOL hideTaskbar);
// A small value under HKEY_CURRENT_USER\subKey read as a 32-bit number; 0 when missing.
DESKHOOK_API DWORD WINAPI RegReadDWord(const char* subKey, const char* valueName);
// Plays the system's start sound.
DESKHOOK_API BOOL WINAPI Sound();
