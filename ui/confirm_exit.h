// The close box's action: hide the settings window, end the program, or ask
// with the "CONFIRMEXIT" dialog.
#pragma once

#include <windows.h>

// Refreshes the settings window's page after the dialog changed the close
// action.
using RefreshPage = void (*)(HWND settingsWindow);

// Runs the close action for the settings window.
void RunCloseAction(HWND settingsWindow, RefreshPage refreshPage);

// True while the "CONFIRMEXIT" dialog is open.
bool ConfirmExitOpen();
