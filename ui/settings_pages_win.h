// The settings window's pages on the real window: folding the page frames
// under the tab control, and applying the page decisions of settings_pages.h
// to the controls.
#pragma once

#include <windows.h>

#include "ui/resource.h"
#include "ui/settings_pages.h"

inline constexpr int kControlCount = IDC_LAST_CONTROL - IDC_FIRST_CONTROL + 1;

// Every control of the settings window, indexed by id - IDC_FIRST_CONTROL;
// null for an id the template lacks.
extern HWND ControlHandles[kControlCount];

void FillControlHandles(HWND window);
// Null outside the table and for ids the template lacks.
HWND ControlHandle(int id);

// The tab of the tab control's current selection.
SettingsTab CurrentTab();

// Inserts the tabs and moves every page onto the page area, hidden.
void LayoutSettingsPages(HWND window);
// The About area over the folded About frame, inside the tab control, for a
// window at `dpi`.
void PlaceAboutArea(int dpi);

// The window rectangle of `id` relative to the top-left corner of
// `referenceId`.
RECT GetRectRelativeTo(int referenceId, int id);

// Stops the About area's animation timers, which run on the About area.
void StopAboutTimers();

// The operations below read the live record and may change it as the page
// rules say (settings_pages.h decides, these apply).
void LoadControlsFromSettings(HWND window, const PageContext& context);
void ShowTabPage(HWND window, const PageContext& context);
void UpdatePageEnabling(HWND window, const PageContext& context);
// "&Reset Tab" / "&Reset All".
void ResetTabDefaults(HWND window, const PageContext& context);
