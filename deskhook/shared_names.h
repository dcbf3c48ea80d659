// Names that cross a process boundary, declared once for the program and the
// hook library. Each note says who uses it with whom.
#pragma once

namespace names {

// Window classes of the program; a second instance and "-stop" look for the
// settings window by its class.
inline constexpr char SettingsWindowClass[] = "Tessara";
inline constexpr char HiddenWindowClass[] = "TessaraHidden";
inline constexpr char SampleWindowClass[] = "TessaraSample";
inline constexpr char SampleTextWindowClass[] = "TessaraSampText";

// Held by the first instance for its whole life; a second instance finds it.
inline constexpr char InstanceMutex[] = "TessaraMutex";

// Explorer's desktop windows, outermost first, and the taskbar.
inline constexpr char ProgmanClass[] = "Progman";
inline constexpr char DefViewClass[] = "SHELLDLL_DefView";
// The top-level window Explorer may move "SHELLDLL_DefView" into.
inline constexpr char WorkerClass[] = "WorkerW";
inline constexpr char ListViewClass[] = "SysListView32";
inline constexpr char WebViewClass[] = "Internet Explorer_Server";
inline constexpr char TaskbarClass[] = "Shell_TrayWnd";

// Registered messages, program -> desktop list view (handled inside Explorer).
inline constexpr char MsgStart[] = "DSKStart";
inline constexpr char MsgEnd[] = "DSKEnd";
inline constexpr char MsgGetPos[] = "DSK_GetPos";
inline constexpr char MsgSetPos[] = "DSK_SetPos";
inline constexpr char MsgHitTest[] = "DSK_HitTest";
inline constexpr char MsgToggleCursor[] = "DSK_SCHCsr";
// Batched icon exchanges through the block's BatchIcons: many icons read, or
// moved with the list view's drawing held until the last has moved.
inline constexpr char MsgGetPosMany[] = "DSK_GetPosMany";
inline constexpr char MsgSetPosMany[] = "DSK_SetPosMany";
// Inside Explorer: the hook library's watcher thread -> the subclassed list
// view, wParam = id of the attaching process that has ended without detaching.
inline constexpr char MsgOwnerGone[] = "DSK_OwnerGone";
// Registered messages, program -> desktop view window (context menu hook).
inline constexpr char MsgStart2[] = "DSK2Start";
inline constexpr char MsgEnd2[] = "DSK2End";

// The named file mapping holding the hook library's shared block, in the
// session's namespace. One per pointer width: a 32-bit program hooks a 32-bit
// desktop, a 64-bit program a 64-bit one, and their blocks differ in layout.
// The suffix is the layout version: a new layout takes a new name, so a newer
// library never opens an older block still mapped inside Explorer.
inline constexpr const char* SharedBlockMapping =
    sizeof(void*) == 8 ? "Local\\TessaraDeskLink64.5" : "Local\\TessaraDeskLink32.5";
// Held around every exchange through that block by whichever process makes
// it (the running program, a "-save" run, a worker thread), so that requests
// and answers of two callers never interleave.
inline constexpr const char* SharedBlockRequestMutex =
    sizeof(void*) == 8 ? "Local\\TessaraDeskLinkRequest64.5" : "Local\\TessaraDeskLinkRequest32.5";

// Broadcast by the shell when the taskbar is (re)created (registered names are
// case-insensitive); the program re-adds its tray icon.
inline constexpr char TaskBarCreated[] = "TaskBarCreated";

} // namespace names

// Private messages of the settings window.
// Desktop list view (inside Explorer) -> settings window: a WM_WININICHANGE
// that reached the desktop, same wParam and lParam (lParam is not ours to read).
inline constexpr unsigned UM_SETTINGCHANGE = 0x0400 + 156; // WM_USER + 156 = 1180
// Tray icon -> settings window: the icon's callback message.
inline constexpr unsigned UM_TRAYNOTIFY = 1059;
