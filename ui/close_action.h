// What the settings window's close box does, and the rules of the
// "ConfirmExit" dialog that asks.
#pragma once

#include "settings/settings_record.h"

enum class CloseAction { Hide, Prompt, Exit };

CloseAction ChooseCloseAction(const Settings& live);

// What follows the dialog, from the id of the button pressed (-1 when the
// dialog ended without one).
enum class CloseOutcome { ExitProgram, HideWindow, Stay };

CloseOutcome OutcomeOfConfirmExit(int pressedId);

struct ConfirmExitButtons {
    bool exitEnabled;
    bool hideEnabled;
    bool hideInsteadEnabled; // the "Hide instead of exit" check box
};

ConfirmExitButtons ConfirmExitButtonStates(const Settings& live);

// "Do not show this window again" toggled, with the state of "Hide instead of
// exit" at that moment.
void ToggleDontAsk(Settings& live, bool hideInsteadChecked);

// "Hide instead of exit" toggled to `checked`.
void SetHideInstead(Settings& live, bool checked);
