// The version tests over the system version that start-up reads.
#pragma once

bool IsWindowsXPOrLater();
bool IsWindows2000OrLater();
// Windows 95, NT 4.0 and older.
bool IsOldWindows();
