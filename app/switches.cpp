#include "app/switches.h"

#include "app/command_line.h"
#include "base/app_state.h"
#include "base/instance_data.h"
#include "deskhook/deskhook.h"
#include "deskhook/shared_names.h"
#include "desklink/desk_link.h"
#include "icons/icon_positions.h"
#include "settings/settings.h"

#include <cstring>

namespace {

bool IsSettingsWindow(HWND window) {
    char className[64] = "";
    return GetClassNameA(window, className, sizeof className) &&
           std::strcmp(className, names::SettingsWindowClass) == 0;
}

// A stale handle of an instance that died could by now name some other
// program's window, so only a settings window is closed.
bool StopRunningInstance() {
    HWND settingsWindow = SharedSettingsWindow();
    if (settingsWindow && IsSettingsWindow(settingsWindow))
        SendMessageA(settingsWindow, WM_CLOSE, 0, 0);
    return true;
}

// Every move of the restore was a synchronous exchange; a message sent after
// them comes back once the desktop thread has also handled what they set off
// (a hung desktop is given up on), instead of a blind wait.
constexpr UINT kDesktopSettleTimeoutMs = 2000;

void ShowRestoredDesktop() {
    if (HWND listView = RefreshDesktopListView()) {
        DWORD_PTR ignored;
        SendMessageTimeoutA(listView, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kDesktopSettleTimeoutMs,
                            &ignored);
        ShowDesktopWindow(listView, SW_SHOW);
        RepaintDesktopWindow(listView);
    }
}

// Saves or restores the icon positions through a running instance's link or
// a hook of our own, and lets go only of our own. Without either, start-up
// goes on as if the switch were not there.
bool RunIconPositionSwitch(bool restore) {
    ScopedDesktopAttachment link(restore ? ScopedDesktopAttachment::PaintColors::Seed
                                         : ScopedDesktopAttachment::PaintColors::Keep);
    if (!link.Linked())
        return false;
    LoadSettings(g_settings, SettingsSource::Stored, InvalidSettings::Reported);
    if (restore)
        RestoreIconPositions(nullptr);
    else
        SaveIconPositions(nullptr, AutoArrangeQuestion::Skip);
    link.Release();
    if (restore)
        ShowRestoredDesktop();
    return true;
}

bool ReportInvalidSwitch(const std::string& token) {
    MessageBoxA(nullptr, InvalidSwitchMessage(token).c_str(), kProgramName, MB_OK);
    return true;
}

// Returns true when the switch sets the stop flag.
bool ApplySwitch(Switch which, const std::string& token) {
    switch (which) {
    case Switch::Stop:
        return StopRunningInstance();
    case Switch::Test:
        SetTestMode(true);
        return false;
    case Switch::Webshots:
        g_app.webshots = true;
        return false;
    case Switch::Save:
        return RunIconPositionSwitch(false);
    case Switch::Restore:
        return RunIconPositionSwitch(true);
    case Switch::Quiet:
    case Switch::Q:
        g_app.quiet = true;
        return false;
    case Switch::Kill:
        g_app.kill = true;
        return false;
    case Switch::Wait: // consumed with its argument by ApplySwitches
        return false;
    case Switch::Invalid:
        return ReportInvalidSwitch(token);
    }
    return false;
}

} // namespace

void ParseCommandLine(const std::string& commandLine) {
    ApplySwitches(commandLine, [](Switch which, const std::string& token) {
        g_app.stop = ApplySwitch(which, token);
        return g_app.stop;
    });
}
