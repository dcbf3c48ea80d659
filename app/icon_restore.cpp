#include "app/icon_restore.h"

#include "icons/icon_positions.h"
#include "ui/resource.h"

void RestoreIconsForWindow(HWND settingsWindow) {
    const RestoreOutcome outcome = RestoreIconPositions(settingsWindow);
    if (outcome.autoRestoreCleared)
        CheckDlgButton(settingsWindow, IDC_AUTO_RESTORE, BST_UNCHECKED);
    if (outcome.resampleWanted)
        SendMessageA(settingsWindow, WM_COMMAND, IDC_RESAMPLE_NOW, 0);
    if (outcome.finished)
        EnableWindow(GetDlgItem(settingsWindow, IDC_SAVE_POSITIONS), TRUE);
}
