// Control channel of the stand-in desktop shell (deskshell.exe), used by the
// test harness. A client sends WM_COPYDATA to the "Progman" window; dwData is a
// ShellCommand, lpData/cbData its argument. SendMessage returns the result.
//
//   Add           argument: caption bytes (no terminator needed, at most 255)
//                 result:   index of the new icon, or -1
//   AddUnicode    argument: caption as UTF-16LE units (no terminator needed, at most
//                 255), for captions outside the ANSI code page
//                 result:   index of the new icon, or -1
//   Remove        argument: int32 index        result: 1 removed, 0 no such icon
//   WriteLayout   argument: file path (ANSI)   result: item count, or -1
//                 The file is written before the call returns, one icon a line:
//                 "index x y boundsL boundsT boundsR boundsB labelL labelT labelR labelB caption"
//                 (caption to the end of the line; coordinates are list-view client coordinates).
//   SetAutoArrange argument: int32 0 or 1      result: 1
//   IsSubclassed  no argument    result: 1 when the list view's window procedure is not the one
//                 it had when the shell created it (someone subclassed it), else 0
//   WriteEvents   argument: file path (ANSI)   result: event count, or -1
//                 Writes and then forgets the messages the shell's windows received since
//                 the last call, one a line: "window message wParam" with window one of
//                 progman, defview, listview and message and wParam in decimal. Recorded:
//                 WM_SETTINGCHANGE, WM_SYSCOLORCHANGE, WM_CONTEXTMENU, WM_ENTERMENULOOP,
//                 WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT, WM_EXITMENULOOP, WM_COMMAND,
//                 WM_LBUTTONUP, WM_NOTIFY (wParam is then the notification code),
//                 and after each WM_INITMENUPOPUP one line "menu 0 0 ITEM|ITEM|..." with
//                 the texts of the menu's items once the owner has handled the message.
//   Refresh       no argument    result: 1 (redraws the desktop, re-reading the wallpaper)
//   CursorCount   no argument    result: the shell thread's cursor display count (ShowCursor)
//   RecreateListView no argument result: 1 when a new list view with the same icons at the same
//                 places and the same style has replaced the old one under the same "Progman"
//                 (as Explorer does when its view is rebuilt), else 0
//   MoveView      argument: int32 ViewLayout   result: 1 when "SHELLDLL_DefView" (with its list
//                 view, same handles) now hangs where the layout puts it, else 0
//   DefView       no argument    result: the "SHELLDLL_DefView" window, wherever it hangs
//   WriteMenu     argument: file path (ANSI)   result: number of lines, or -1 when no context
//                 menu is open. Writes the open context menu of SHELLDLL_DefView, submenus
//                 after their item, one item a line: "depth position id state left top
//                 right bottom text" with depth 0 for the context menu itself, state the
//                 GetMenuState flags, id 0 for separators and submenus, the item's screen
//                 rectangle (all 0 while its menu is not shown) and the text to the end
//                 of the line.
//   IsViewSubclassed no argument result: 1 when SHELLDLL_DefView's window procedure is not
//                 its class's (someone subclassed it), else 0
//   SelectIcon    argument: int32 index        result: 1 when the icon is now selected (the
//                 list view notifies its parent with LVN_ITEMCHANGED), else 0
//   SlowCaption   argument: int32 index, int32 milliseconds   result: 1, or 0 for no such icon
//                 The icon's caption now comes by callback (LVN_GETDISPINFO to its parent, as
//                 in the shell's own view), and the next time anyone asks for it the answer
//                 takes that long, as a view reading the names of a slow folder. Asked again
//                 for the same icon, only the delay is set: the icon is not redrawn.
//   AnnounceChange (shellview.exe only) argument: int32 SHCNE_ event, then the path and, for a
//                 rename, the new path, each with its terminating zero
//                 result: 1 once the view's process has announced the change (SHChangeNotify)
//
// Posted rather than sent, so that the poster does not wait with it:
//   kFreezeMessage to "Progman", wParam milliseconds: the shell's window thread
//                 sleeps that long, as a desktop that has stopped answering.
#pragma once

inline constexpr unsigned kFreezeMessage = 0x8000 + 1; // WM_APP + 1

enum class ShellCommand : unsigned long {
    Add = 1,
    Remove,
    WriteLayout,
    SetAutoArrange,
    IsSubclassed,
    WriteEvents,
    Refresh,
    CursorCount,
    RecreateListView,
    MoveView,
    DefView,
    WriteMenu,
    IsViewSubclassed,
    SelectIcon,
    AddUnicode,
    AnnounceChange,
    SlowCaption,
};

// Where the shell hangs its view "SHELLDLL_DefView" (deskshell -layout NAME):
//   progman        child of "Progman", as every desktop starts
//   workerw        child of a top-level "WorkerW", as Explorer moves it for a
//                  wallpaper layer; a second, empty top-level "WorkerW" comes
//                  first in the window order
//   progman-child  child of a "WorkerW" child of "Progman"
enum class ViewLayout : int { Progman = 0, WorkerW = 1, UnderProgmanChild = 2 };
inline constexpr const char* kViewLayoutNames[] = {"progman", "workerw", "progman-child"};

// Context menu item ids of SHELLDLL_DefView.
enum ShellMenuId : unsigned {
    kMenuAutoArrange = 0x7051,
    kMenuRefresh = 0x7052,
    kMenuProperties = 0x7053,
};
