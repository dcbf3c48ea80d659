// Tests of a Windows version number (major.minor), as the system reports it.
#pragma once

bool IsXPOrLaterVersion(unsigned major, unsigned minor);
bool Is2000OrLaterVersion(unsigned major, unsigned minor);
// Windows 95, NT 4.0 and older.
bool IsOldVersion(unsigned major, unsigned minor);
