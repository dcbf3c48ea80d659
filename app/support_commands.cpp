#include "app/support_commands.h"

#include "app/page_context.h"
#include "app/status_line.h"
#include "app/tray_win.h"
#include "app/watchdog.h"
#include "base/timers.h"
#include "base/unicode_text_win.h"
#include "colours/wallpaper_analysis_win.h"
#include "hiding/cursor_tracker_win.h"
#include "settings/settings.h"
#include "settings/settings_file_win.h"
#include "support/diagnostic_report_win.h"
#include "support/update_check_win.h"
#include "ui/hot_keys_win.h"
#include "ui/resource.h"
#include "ui/settings_pages_win.h"
#include "ui/tab_defaults.h"

namespace {

// The settings window stays disabled while a dialog or the registry editor
// runs, and comes back in front afterwards, whatever happened.
class DisabledWhileTransferring {
  public:
    explicit DisabledWhileTransferring(HWND window) : window_(window) {
        EnableWindow(window_, FALSE);
    }
    ~DisabledWhileTransferring() {
        EnableWindow(window_, TRUE);
        SetWindowPos(window_, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
        SetActiveWindow(window_);
    }
    DisabledWhileTransferring(const DisabledWhileTransferring&) = delete;
    DisabledWhileTransferring& operator=(const DisabledWhileTransferring&) = delete;

  private:
    HWND window_;
};

HWND DialogOwner(HWND settingsWindow) {
    return GetWindow(settingsWindow, GW_OWNER);
}

// Each of these commands toggles its setting; sent twice, the value ends as
// imported while its effect outside the record is made again. "Hide when
// started" has no such effect (its check mark follows the controls' refresh),
// only a warning about the hot key that its first toggle could bring up.
constexpr int kReappliedToggles[] = {IDC_START_WITH_WINDOWS, IDC_SHOW_TOOL_TIPS, IDC_CONTEXT_MENU,
                                     IDC_SHOW_TRAY_ICON, IDC_WINDOW_FADING};

void ReapplyOutsideEffects(HWND window) {
    QuietTrayRemoval quiet;
    for (int id : kReappliedToggles) {
        SendMessageA(window, WM_COMMAND, id, 0);
        SendMessageA(window, WM_COMMAND, id, 0);
    }
    SendMessageA(window, WM_COMMAND, HidingModeCommand(g_settings), 0);
}

} // namespace

void ExportSettings(HWND settingsWindow) {
    DisabledWhileTransferring disabled(settingsWindow);
    SetStatusLine(ExportSettingsFile(DialogOwner(settingsWindow), settingsWindow).c_str());
}

void ImportSettings(HWND settingsWindow) {
    DisabledWhileTransferring disabled(settingsWindow);
    std::string status;
    const std::optional<CheckedImport> file =
        ChooseImportFile(DialogOwner(settingsWindow), settingsWindow, status);
    if (!file) {
        SetStatusLine(status.c_str());
        return;
    }
    KillTimer(settingsWindow, timers::CursorTracking);
    KillTimer(settingsWindow, timers::Watchdog);
    UnregisterHotKeys(settingsWindow);
    file->Import(settingsWindow);
    LoadSettings(g_settings, SettingsSource::Stored, InvalidSettings::Reported);
    LoadControlsFromSettings(settingsWindow, CurrentPageContext());
    // The record as imported and shown is the stored one: the watchdog
    // stores only what changes from here on.
    TakeSettingsSnapshot();
    UpdateTrackingTimer(settingsWindow);
    SetTimer(settingsWindow, timers::Watchdog, timers::WatchdogMs, nullptr);
    ReapplyOutsideEffects(settingsWindow);
    RegisterHotKeys(settingsWindow);
    // Last, since refreshing the page puts the page's own text there.
    SetStatusLine(status.c_str());
}

void CheckForNewVersion(HWND settingsWindow) {
    StartUpdateCheck(settingsWindow);
}

void EmailSupportWithReport(HWND settingsWindow) {
    SupportRequest request{settingsWindow, {}, ShowErrorInStatusLine};
    // The report is a text in the ANSI code page, as the rest of what it lists.
    request.wallpaper.file = AnsiText(GetWallpaperPath());
    // The kept picture is 24 bits a pixel, whatever the file holds.
    if (const std::optional<colors::PictureSize> size = LastWallpaperSize())
        request.wallpaper.picture = support::DisplayMode{"", size->width, size->height, 24};
    EmailSupport(request);
}
