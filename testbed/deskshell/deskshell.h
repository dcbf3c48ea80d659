// The stand-in desktop shell: shared state of its three windows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace deskshell {

struct Windows {
    HWND progman = nullptr;
    HWND defView = nullptr;
    HWND listView = nullptr;
    // The list view's window procedure right after creation, read through
    // both character sets, to tell whether someone has subclassed it since.
    LONG_PTR originalProcA = 0;
    LONG_PTR originalProcW = 0;
};

extern Windows g_windows;

// desktop.cpp: the desktop colour and wallpaper, drawn as Explorer does.
void DrawDesktop(HDC dc);
// Forgets the cached desktop picture so that the next paint re-reads the
// wallpaper settings and the desktop colour.
void InvalidateDesktop();
// Reads the wallpaper again at the next repaint (a new wallpaper was set).
void ForgetWallpaper();
// InvalidateDesktop, then repaints all of the shell's windows.
void RefreshDesktop();
// Moves SHELLDLL_DefView (layout: a ViewLayout) where the layout puts it,
// creating the "WorkerW" windows it needs. False for an unknown layout.
bool MoveView(int layout);
// Sizes the view and the windows that hold it to their parents.
void FitViewHolders();

// main.cpp: a new list view under SHELLDLL_DefView, sized to it, no icons yet.
HWND CreateListView(bool autoArrange);
// The list view's window procedure as created, to tell later whether someone
// has subclassed it.
void RecordOriginalListViewProc();

// listview.cpp
bool RecreateListView();
void AddIcons(const std::vector<std::string>& captions);
int AddIcon(const std::string& caption);
int AddIcon(const std::wstring& caption);
bool RemoveIcon(int index);
void SetAutoArrange(bool on);
bool IsAutoArrange();
int WriteLayout(const std::string& path);
bool SlowCaption(int index, DWORD delayMs);
// The parent's answer to the list view's LVN_GETDISPINFO; false for another notification.
bool AnswerCaptionCallback(NMHDR& notification);

// events.cpp: what the shell's windows received, for the tests to read.
void StartRecording();
void StopRecording();
void RecordEvent(const char* window, UINT message, WPARAM wParam, const std::string& text = "");
int WriteEvents(const std::string& path);

// commands.cpp: the WM_COPYDATA control channel of deskshell_protocol.h.
LRESULT OnCopyData(const COPYDATASTRUCT& data);

// menu.cpp: the desktop's context menu, owned by SHELLDLL_DefView.
void ShowContextMenu(POINT screen);
void OnMenuCommand(UINT id);
// The context menu while it is open, as WriteMenu describes it.
int WriteOpenMenu(const std::string& path);

} // namespace deskshell
