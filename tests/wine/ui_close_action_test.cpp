// The settings window's close box under each close action of the real
// Tessara.exe, and the "ConfirmExit" dialog that asks: its check boxes, the
// buttons they leave enabled, what each button does and what is stored.
#include "base/instance_data.h"
#include "tests/wine/app_program.h"
#include "ui/settings_pages.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DWORD kNoDialogMs = 1500;

struct CloseAction {
    int32_t exitPrompt;
    int32_t exitHides;
};

constexpr CloseAction kPrompt{1, 0};
constexpr CloseAction kExit{0, 0};
constexpr CloseAction kHide{0, 1};

bool HasCloseAction(const Settings& stored, CloseAction action) {
    return stored.ExitPrompt == action.exitPrompt && stored.ExitHides == action.exitHides;
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

bool Checked(HWND window, int id) {
    return SendDlgItemMessageA(window, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Which of the dialog's controls can be used: "x" for E&xit, "h" for &Hide,
// "c" for &Cancel, "i" for "Hide instead of exit".
std::string EnabledControls(HWND dialog) {
    std::string enabled;
    if (Enabled(dialog, IDC_CONFIRM_EXIT))
        enabled += 'x';
    if (Enabled(dialog, IDC_CONFIRM_HIDE))
        enabled += 'h';
    if (Enabled(dialog, IDC_CONFIRM_CANCEL))
        enabled += 'c';
    if (Enabled(dialog, IDC_CONFIRM_HIDE_INSTEAD))
        enabled += 'i';
    return enabled;
}

// Clicks a control of the dialog as the mouse would: a check box changes its
// state before it tells the dialog.
void Click(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

class CloseActionTest : public app_test::ProgramTest {
  protected:
    void SetUp() override { ASSERT_TRUE(shell_.Start()); }

    void StartWith(CloseAction action) {
        Settings record = SettingsTemplate();
        record.ExitPrompt = action.exitPrompt;
        record.ExitHides = action.exitHides;
        StartProgram(record);
    }

    // The close box. Posted: while the dialog is open the program does not
    // answer a sent message.
    void PressCloseBox() const { PostMessageA(tessara_.Window(), WM_SYSCOMMAND, SC_CLOSE, 0); }

    HWND WaitForConfirmExit(DWORD timeoutMs = harness::kDefaultTimeoutMs) {
        return harness::WaitForDialog("", tessara_.Pid(), timeoutMs);
    }

    HWND OpenConfirmExit() {
        PressCloseBox();
        return WaitForConfirmExit();
    }

    bool Hidden() const {
        return harness::WaitUntil([&] { return !IsWindowVisible(tessara_.Window()); });
    }

    // A second instance brings the hidden window back.
    void ShowAgain() {
        harness::Process second = harness::Process::Start(app_test::kProgram);
        EXPECT_EQ(second.WaitExit(), std::optional<DWORD>(0));
        ASSERT_TRUE(IsWindowVisible(tessara_.Window()));
    }
};

} // namespace

TEST_F(CloseActionTest, HideHidesTheWindowWithoutAsking) {
    StartWith(kHide);
    PressCloseBox();
    EXPECT_TRUE(Hidden());
    EXPECT_FALSE(WaitForConfirmExit(kNoDialogMs));
    EXPECT_TRUE(tessara_.Process().Running());
}

TEST_F(CloseActionTest, ExitEndsTheProgramAndSavesTheSettings) {
    StartWith(kExit);
    // Past the watchdog's first tick, so that only the shutdown can store the
    // change.
    harness::PumpMessages(2500);
    tessara_.Command(IDC_TRAY_SHOW_HELP);
    PressCloseBox();
    EXPECT_EQ(tessara_.Process().WaitExit(app_test::kAttachMs), std::optional<DWORD>(0));
    const std::optional<Settings> stored = app_test::StoredSettings();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->TrayShowHelp, !SettingsTemplate().TrayShowHelp);
    EXPECT_FALSE(shell_.IsListViewSubclassed());
}

TEST_F(CloseActionTest, PromptAsksWithTheConfirmExitDialog) {
    StartWith(kPrompt);
    HWND dialog = OpenConfirmExit();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(harness::WindowText(dialog), "");
    EXPECT_EQ(harness::ControlText(dialog, IDC_CONFIRM_EXIT), "E&xit");
    EXPECT_EQ(harness::ControlText(dialog, IDC_CONFIRM_HIDE), "&Hide");
    EXPECT_EQ(harness::ControlText(dialog, IDC_CONFIRM_CANCEL), "&Cancel");
    EXPECT_EQ(harness::ControlText(dialog, IDC_CONFIRM_DONT_ASK), "Do not show this window again");
    EXPECT_EQ(harness::ControlText(dialog, IDC_CONFIRM_HIDE_INSTEAD), "Hide instead of exit");
    EXPECT_EQ(EnabledControls(dialog), "xhc");
    EXPECT_FALSE(Checked(dialog, IDC_CONFIRM_DONT_ASK));
    EXPECT_FALSE(Checked(dialog, IDC_CONFIRM_HIDE_INSTEAD));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), tessara_.Window());
    EXPECT_FALSE(IsWindowEnabled(tessara_.Window())) << "modal";
    harness::Screenshot("ui_close_action_confirm_exit");
}

TEST_F(CloseActionTest, ConfirmExitIsCentredAndTopMost) {
    StartWith(kPrompt);
    HWND dialog = OpenConfirmExit();
    ASSERT_TRUE(dialog);
    RECT rect{};
    GetWindowRect(dialog, &rect);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2);
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(CloseActionTest, ExitButtonEndsTheProgramAndStoresTheDialogsChoice) {
    StartWith(kPrompt);
    HWND dialog = OpenConfirmExit();
    ASSERT_TRUE(dialog);
    Click(dialog, IDC_CONFIRM_DONT_ASK);
    Click(dialog, IDC_CONFIRM_EXIT);
    EXPECT_EQ(tessara_.Process().WaitExit(app_test::kAttachMs), std::optional<DWORD>(0));
    const std::optional<Settings> stored = app_test::StoredSettings();
    ASSERT_TRUE(stored);
    EXPECT_TRUE(HasCloseAction(*stored, kExit));
}

TEST_F(CloseActionTest, DontAskWithHideInsteadHidesNowAndAtTheNextClose) {
    StartWith(kPrompt);
    HWND dialog = OpenConfirmExit();
    ASSERT_TRUE(dialog);
    Click(dialog, IDC_CONFIRM_DONT_ASK);
    Click(dialog, IDC_CONFIRM_HIDE_INSTEAD);
    EXPECT_EQ(EnabledControls(dialog), "hci");
    Click(dialog, IDC_CONFIRM_HIDE);
    EXPECT_TRUE(harness::WaitForWindowGone(dialog));
    EXPECT_TRUE(Hidden());
    EXPECT_TRUE(tessara_.Process().Running());
    EXPECT_TRUE(app_test::WaitForStoredNow(
        tessara_.Window(), [](const Settings& s) { return HasCloseAction(s, kHide); }));

    ShowAgain();
    PressCloseBox();
    EXPECT_TRUE(Hidden());
    EXPECT_FALSE(WaitForConfirmExit(kNoDialogMs));
}

TEST_F(CloseActionTest, EscapeKeepsTheWindowAndTheChangedSettings) {
    StartWith(kPrompt);
    HWND dialog = OpenConfirmExit();
    ASSERT_TRUE(dialog);
    Click(dialog, IDC_CONFIRM_DONT_ASK);
    PostMessageA(GetDlgItem(dialog, IDC_CONFIRM_EXIT), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(harness::WaitForWindowGone(dialog));
    EXPECT_TRUE(IsWindowVisible(tessara_.Window()));
    EXPECT_TRUE(IsWindowEnabled(tessara_.Window()));
    EXPECT_TRUE(tessara_.Process().Running());
    EXPECT_TRUE(app_test::WaitForStoredNow(
        tessara_.Window(), [](const Settings& s) { return HasCloseAction(s, kExit); }));
}

TEST_F(CloseActionTest, OptionsPageFollowsTheDialogAndItsPromptRadioWaits) {
    StartWith(kPrompt);
    tessara_.SelectTab(SettingsTab::Options);
    ASSERT_TRUE(Checked(tessara_.Window(), IDC_CLOSE_PROMPT));
    HWND dialog = OpenConfirmExit();
    ASSERT_TRUE(dialog);
    Click(dialog, IDC_CONFIRM_DONT_ASK);
    EXPECT_TRUE(Checked(tessara_.Window(), IDC_CLOSE_EXIT));
    EXPECT_FALSE(Checked(tessara_.Window(), IDC_CLOSE_PROMPT));
    Click(dialog, IDC_CONFIRM_HIDE_INSTEAD);
    EXPECT_TRUE(Checked(tessara_.Window(), IDC_CLOSE_HIDE));

    tessara_.Command(IDC_CLOSE_PROMPT);
    EXPECT_TRUE(app_test::WaitForStoredNow(tessara_.Window(), [](const Settings& s) {
        return HasCloseAction(s, kHide);
    })) << "the radio is ignored while the dialog asks";
    Click(dialog, IDC_CONFIRM_CANCEL);
    ASSERT_TRUE(harness::WaitForWindowGone(dialog));
    tessara_.Command(IDC_CLOSE_PROMPT);
    EXPECT_TRUE(
        app_test::WaitForStored([](const Settings& s) { return HasCloseAction(s, kPrompt); }, 0))
        << "stored at once";
}

TEST_F(CloseActionTest, DialogChangeBackAfterAPromptRadioIsStored) {
    StartWith(kPrompt);
    HWND dialog = OpenConfirmExit();
    ASSERT_TRUE(dialog);
    Click(dialog, IDC_CONFIRM_DONT_ASK);
    ASSERT_TRUE(app_test::WaitForStoredNow(
        tessara_.Window(), [](const Settings& s) { return HasCloseAction(s, kExit); }));
    Click(dialog, IDC_CONFIRM_CANCEL);
    ASSERT_TRUE(harness::WaitForWindowGone(dialog));
    tessara_.Command(IDC_CLOSE_PROMPT);
    ASSERT_TRUE(
        app_test::WaitForStored([](const Settings& s) { return HasCloseAction(s, kPrompt); }, 0));

    dialog = OpenConfirmExit();
    ASSERT_TRUE(dialog);
    Click(dialog, IDC_CONFIRM_DONT_ASK);
    EXPECT_TRUE(app_test::WaitForStoredNow(tessara_.Window(), [](const Settings& s) {
        return HasCloseAction(s, kExit);
    })) << "the same choice as the watchdog stored before the radio";
}
