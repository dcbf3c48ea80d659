#include "base/windows_version_win.h"

#include "base/app_state.h"
#include "base/windows_version.h"

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
