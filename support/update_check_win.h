// The update check on its own thread: the page of the web site fetched over
// plain HTTP, its version compared with the program's, the result in a
// message box owned by the settings window.
#pragma once

#include <windows.h>

#include "support/update_check.h"

// The registry value (REG_SZ, under the program's key) that points the check
// at another web site, "host" or "host:port"; testers use it to reach a
// server of their own. Without it, or when it cannot be read as a host, the
// maker's site is used.
inline constexpr char kWebSiteHostValue[] = "WebSiteHost";

update_check::WebHost ConfiguredWebHost();

// Command 1090: starts the check unless one is running; a second request
// meanwhile ends at once, without a message.
void StartUpdateCheck(HWND settingsWindow);
