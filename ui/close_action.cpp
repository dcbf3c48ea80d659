#include "ui/close_action.h"

#include "ui/resource.h"

CloseAction ChooseCloseAction(const Settings& live) {
    if (live.ExitHides == 1)
        return CloseAction::Hide;
    if (live.ExitPrompt == 1)
        return CloseAction::Prompt;
    return CloseAction::Exit;
}

CloseOutcome OutcomeOfConfirmExit(int pressedId) {
    switch (pressedId) {
    case IDC_CONFIRM_EXIT:
        return CloseOutcome::ExitProgram;
    case IDC_CONFIRM_HIDE:
        return CloseOutcome::HideWindow;
    default:
        return CloseOutcome::Stay;
    }
}

ConfirmExitButtons ConfirmExitButtonStates(const Settings& live) {
    bool prompting = live.ExitPrompt == 1;
    return {prompting || live.ExitHides == 0, prompting || live.ExitHides == 1, !prompting};
}

// While the dialog is asked for again, "Hide instead of exit" is disabled and
// must not turn the next close into a silent hide.
void ToggleDontAsk(Settings& live, bool hideInsteadChecked) {
    live.ExitPrompt = live.ExitPrompt == 1 ? 0 : 1;
    live.ExitHides = live.ExitPrompt == 0 && hideInsteadChecked ? 1 : 0;
}

void SetHideInstead(Settings& live, bool checked) {
    live.ExitHides = checked ? 1 : 0;
}
