// E-mail support (command 1109): the question, the prepared mail, and the
// diagnostic report written to the temporary folder, put into the clipboard
// and opened for the user.
#pragma once

#include <windows.h>

#include "support/diagnostic_report.h"

struct SupportRequest {
    HWND settingsWindow;
    // The wallpaper as the program sees it (the caller owns the picture).
    support::WallpaperFacts wallpaper;
    // Puts the system's text for a failing call's error into the status line.
    void (*showError)(DWORD error);
};

// The whole flow; nothing happens when the user cancels the question.
void EmailSupport(const SupportRequest& request);

// Writes the report, copies it into the clipboard (a clipboard that cannot
// be opened only shows its error) and opens it; false when it could not be
// written.
bool WriteDiagnosticReport(const SupportRequest& request);

// The report file: the user's temporary folder and "tessara.sysinfo.txt".
std::wstring DiagnosticReportPath();
