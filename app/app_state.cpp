#include "app/app_state.h"

#include "app/windows_version.h"

AppState g_app;

std::string ProgramPath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

bool IsWindowsXPOrLater() {
    return IsXPOrLaterVersion(g_app.systemVersion.dwMajorVersion,
                              g_app.systemVersion.dwMinorVersion);
}

bool IsWindows2000OrLater() {
    return Is2000OrLaterVersion(g_app.systemVersion.dwMajorVersion,
                                g_app.systemVersion.dwMinorVersion);
}

bool IsOldWindows() {
    return IsOldVersion(g_app.systemVersion.dwMajorVersion, g_app.systemVersion.dwMinorVersion);
}

int QuietMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    if (g_app.quiet)
        return IDOK;
    return MessageBoxA(owner, text, caption, type);
}
