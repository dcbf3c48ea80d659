#include "app/icon_moves.h"

#include "app/commands.h"
#include "app/page_context.h"
#include "icons/icon_alignment_win.h"
#include "icons/icon_dance_win.h"
#include "ui/resource.h"
#include "ui/settings_pages_win.h"

void AlignIconsForWindow(HWND settingsWindow, IconAlignment layout) {
    const AlignmentOutcome outcome = AlignIcons(settingsWindow, layout);
    if (outcome.moved && outcome.resampleWanted)
        RunCommand(settingsWindow, IDC_RESAMPLE_NOW, 0);
    // A dance stopped by the alignment shows "?" again.
    RefreshSettingsPage(settingsWindow);
    if (outcome.moved) {
        EnableWindow(ControlHandle(IDC_SAVE_POSITIONS), FALSE);
        EnableWindow(ControlHandle(IDC_TRAY_SHOW_POSITIONS), FALSE);
    }
}

void ToggleDanceForWindow(HWND settingsWindow) {
    const bool start = !IconDanceRunning();
    SetWindowTextA(ControlHandle(IDC_DANCE), start ? "X" : "?");
    if (start) {
        if (StartIconDance(settingsWindow, RefreshSettingsPage))
            RefreshSettingsPage(settingsWindow);
        return;
    }
    StopIconDance();
    RunCommand(settingsWindow, IDC_RESTORE_POSITIONS, 0);
}
