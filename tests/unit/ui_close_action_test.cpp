#include "ui/close_action.h"

#include <gtest/gtest.h>

namespace {

Settings WithCloseFields(int exitPrompt, int exitHides) {
    Settings s = SettingsTemplate();
    s.ExitPrompt = exitPrompt;
    s.ExitHides = exitHides;
    return s;
}

TEST(UiCloseAction_Choose, HideBeforePromptBeforeExit) {
    struct Case {
        int exitPrompt, exitHides;
        CloseAction action;
    } cases[] = {
        {0, 0, CloseAction::Exit},
        {1, 0, CloseAction::Prompt},
        {0, 1, CloseAction::Hide},
        {1, 1, CloseAction::Hide},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseCloseAction(WithCloseFields(c.exitPrompt, c.exitHides)), c.action)
            << c.exitPrompt << c.exitHides;
}

TEST(UiCloseAction_Outcome, OnlyExitAndHideAct) {
    EXPECT_EQ(OutcomeOfConfirmExit(6), CloseOutcome::ExitProgram);
    EXPECT_EQ(OutcomeOfConfirmExit(1091), CloseOutcome::HideWindow);
    for (int id : {7, -1, 2, 1, 1092, 1098})
        EXPECT_EQ(OutcomeOfConfirmExit(id), CloseOutcome::Stay) << id;
}

TEST(UiCloseAction_Dialog, AtOpeningEverythingButHideInsteadIsEnabled) {
    ConfirmExitButtons b = ConfirmExitButtonStates(WithCloseFields(1, 0));
    EXPECT_TRUE(b.exitEnabled);
    EXPECT_TRUE(b.hideEnabled);
    EXPECT_FALSE(b.hideInsteadEnabled);
}

TEST(UiCloseAction_Dialog, DontAskThenHideInsteadLeavesOnlyHide) {
    Settings s = WithCloseFields(1, 0);
    ToggleDontAsk(s, false);
    EXPECT_TRUE(ConfirmExitButtonStates(s).hideInsteadEnabled);
    SetHideInstead(s, true);
    ConfirmExitButtons b = ConfirmExitButtonStates(s);
    EXPECT_FALSE(b.exitEnabled);
    EXPECT_TRUE(b.hideEnabled);
    EXPECT_EQ(ChooseCloseAction(s), CloseAction::Hide);
}

TEST(UiCloseAction_Dialog, DontAskAloneLeavesOnlyExit) {
    Settings s = WithCloseFields(1, 0);
    ToggleDontAsk(s, false);
    ConfirmExitButtons b = ConfirmExitButtonStates(s);
    EXPECT_TRUE(b.exitEnabled);
    EXPECT_FALSE(b.hideEnabled);
    EXPECT_EQ(ChooseCloseAction(s), CloseAction::Exit);
}

TEST(UiCloseAction_Dialog, AskingAgainIsNotOverruledByHideInstead) {
    Settings s = WithCloseFields(1, 0);
    ToggleDontAsk(s, false);
    SetHideInstead(s, true);
    ToggleDontAsk(s, true);
    EXPECT_EQ(s.ExitPrompt, 1);
    EXPECT_EQ(ChooseCloseAction(s), CloseAction::Prompt);
    EXPECT_FALSE(ConfirmExitButtonStates(s).hideInsteadEnabled);
}

} // namespace
