// System functions that not every Windows version has, bound by name at
// start. Each is null when its module or the function is missing; test before
// every call. The addresses are per process: modules need not load at the same
// address in every process, so they are not shared with other instances.
#pragma once

#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>

struct SystemFunctions {
    void(WINAPI* SHGetSettings)(LPSHELLFLAGSTATE state, DWORD mask) = nullptr;
    BOOL(WINAPI* EndTask)(HWND window, BOOL shutDown, BOOL force) = nullptr;
    BOOL(WINAPI* SetLayeredWindowAttributes)
    (HWND window, COLORREF key, BYTE alpha, DWORD flags) = nullptr;
    BOOL(WINAPI* LockWorkStation)() = nullptr;
    BOOL(WINAPI* SHGetSpecialFolderPathW)
    (HWND owner, LPWSTR path, int folder, BOOL create) = nullptr;
    BOOL(WINAPI* EnumDisplayDevicesA)
    (LPCSTR device, DWORD index, PDISPLAY_DEVICEA info, DWORD flags) = nullptr;
    BOOL(WINAPI* Module32First)(HANDLE snapshot, LPMODULEENTRY32 entry) = nullptr;
    BOOL(WINAPI* Process32First)(HANDLE snapshot, LPPROCESSENTRY32 entry) = nullptr;
    BOOL(WINAPI* Process32Next)(HANDLE snapshot, LPPROCESSENTRY32 entry) = nullptr;
    HANDLE(WINAPI* CreateToolhelp32Snapshot)(DWORD flags, DWORD processId) = nullptr;
    // Per-monitor DPI (Windows 10) and icons scaled down from a larger image
    // (Vista): the tray icon's size and picture.
    UINT(WINAPI* GetDpiForWindow)(HWND window) = nullptr;
    int(WINAPI* GetSystemMetricsForDpi)(int index, UINT dpi) = nullptr;
    HRESULT(WINAPI* LoadIconWithScaleDown)
    (HINSTANCE instance, PCWSTR name, int cx, int cy, HICON* icon) = nullptr;
};

extern SystemFunctions g_system;

// Looks up the functions of the modules every program has loaded.
void BindSystemFunctions();
// Loads shell32 and the common controls, which the program loads when it
// first needs them, and looks up their functions. A run that only saves or
// restores the icons needs neither and starts without them.
void BindShellFunctions();
