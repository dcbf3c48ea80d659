// Per-process state of the program, set at start-up and read everywhere.
#pragma once

#include <windows.h>

#include <string>

// The program's name: caption of the messages shown before the caption
// resource is loaded.
inline constexpr char kProgramName[] = "Tessara";
inline constexpr int kCaptionLength = 100;

struct AppState {
    HINSTANCE instance = nullptr;
    std::string commandLine; // without the program name
    bool stop = false;       // a switch did the whole job; end before the single-instance test
    bool quiet = false;      // "-quiet" or "-q"
    bool kill = false;       // "-kill"
    bool webshots = false;   // "-webshots"
    OSVERSIONINFOA systemVersion{};
    char caption[kCaptionLength + 1] = "";
    std::string versionText; // "major.minor.patch" of the file version, empty without one
    UINT taskbarCreatedMessage = 0;
    // Counts the desktop's setting changes, so that whoever draws over the
    // desktop notices one; worker threads count too.
    volatile LONG desktopChangeCount = 0;
};

extern AppState g_app;

// Full path of the program's own executable, in UTF-8: a folder named
// outside the ANSI code page is kept exact.
std::string ProgramPath();

// The user's temporary folder with its closing backslash, or "" when the
// system names none.
std::wstring TemporaryFolder();

// A message box that shows nothing and counts as OK or Yes (1) when the
// quiet switch was given.
int QuietMessageBox(HWND owner, const char* text, const char* caption, UINT type);
