// The four hot keys of the real Tessara.exe: registered for its window, acting
// when pressed, reported when taken, and edited in the "HOTKEYS" dialog.
#include "tests/wine/app_program.h"
#include "ui/hot_keys.h"
#include "ui/hot_keys_win.h"

#include <gtest/gtest.h>

#include <commctrl.h>

using app_test::ProgramTest;

namespace {

constexpr DWORD kDeferredStartMs = 10000;
constexpr char kDialogTitle[] = "Tessara Hot Key Definition";

// True while some window holds the combination of `code`: registering it
// here fails.
bool Taken(int32_t code) {
    if (RegisterHotKey(nullptr, 0x7000, HotKeyModifiers(code), HotKeyVirtualKey(code))) {
        UnregisterHotKey(nullptr, 0x7000);
        return false;
    }
    return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
}

// The key field stands right after its check box in the dialog's tab order.
HWND FieldOf(HWND dialog, int checkBox) {
    return GetWindow(GetDlgItem(dialog, checkBox), GW_HWNDNEXT);
}

int32_t FieldCode(HWND dialog, int checkBox) {
    return int32_t(LOWORD(SendMessageA(FieldOf(dialog, checkBox), HKM_GETHOTKEY, 0, 0)));
}

class HotKeys : public ProgramTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(shell_.Start());
        Instances().ShowHideHotKeyActive = 0;
    }

    void StartAndWait(const Settings& record) {
        StartProgram(record);
        ASSERT_TRUE(harness::WaitUntil([] { return Instances().ShowHideHotKeyActive != 0; },
                                       kDeferredStartMs));
    }

    HWND OpenDialog() {
        PostMessageA(tessara_.Window(), WM_COMMAND, IDC_SELECT_HOTKEYS, 0);
        return harness::WaitForDialog(kDialogTitle, tessara_.Pid());
    }

    bool WindowShownInFront() const {
        HWND window = tessara_.Window();
        return IsWindowVisible(window) && IsWindowEnabled(window) &&
               GetForegroundWindow() == window;
    }
};

TEST_F(HotKeys, DefaultsRegisterShowHideAndShowIconsOnly) {
    StartAndWait(SettingsTemplate());
    EXPECT_TRUE(Taken(0x341));
    EXPECT_TRUE(Taken(0x274));
    EXPECT_FALSE(Taken(0x458));
    EXPECT_FALSE(Taken(0x65A));
}

TEST_F(HotKeys, AllFourRegisteredWhenSwitchedOnAndFreedAtExit) {
    Settings record = SettingsTemplate();
    record.HotKeyLayoutOn = 1;
    record.HotKeyPositionOn = 1;
    StartAndWait(record);
    for (int32_t code : {0x341, 0x274, 0x458, 0x65A})
        EXPECT_TRUE(Taken(code)) << std::hex << code;
    EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    for (int32_t code : {0x341, 0x274, 0x458, 0x65A})
        EXPECT_FALSE(Taken(code)) << std::hex << code;
}

TEST_F(HotKeys, ShowHideTogglesTheWindowAsTheTrayIconDoes) {
    StartAndWait(SettingsTemplate());
    tessara_.Command(IDC_HIDE_WINDOW);
    harness::PressKeys({VK_CONTROL, VK_SHIFT, 'A'});
    EXPECT_TRUE(harness::WaitUntil([&] { return WindowShownInFront(); }));
    harness::PressKeys({VK_CONTROL, VK_SHIFT, 'A'});
    EXPECT_TRUE(harness::WaitUntil([&] { return !IsWindowVisible(tessara_.Window()); }));
}

TEST_F(HotKeys, ShowIconsBringsTheIconsBackInAlwaysHideMode) {
    Settings record = SettingsTemplate();
    record.HideAlways = 1;
    record.HideByCursor = 0;
    StartAndWait(record);
    ShowWindow(shell_.ListView(), SW_HIDE);
    harness::PressKeys({VK_CONTROL, VK_F5});
    EXPECT_TRUE(harness::WaitUntil([&] { return IsWindowVisible(shell_.ListView()) != FALSE; }));
}

TEST_F(HotKeys, TakenCombinationIsNamedAndTheOthersStillRegister) {
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL, VK_F5));
    StartProgram(SettingsTemplate());
    HWND message = harness::WaitForDialog("Tessara", tessara_.Pid(), kDeferredStartMs);
    ASSERT_NE(message, nullptr);
    const std::string key = GetHotKeyText(0x274);
    EXPECT_EQ(key.rfind("Ctrl + ", 0), 0u);
    EXPECT_GT(key.size(), 7u);
    EXPECT_EQ(harness::MessageBoxText(message),
              "Unable to register " + key + " as a hot key.\nAnother program may be using " + key +
                  ".\n\nYou do not have an active  \"Show Icons\" hot key.");
    harness::PressButton(message, IDOK);
    EXPECT_EQ(Instances().ShowHideHotKeyActive, 1);
    EXPECT_TRUE(Taken(0x341));
    UnregisterHotKey(nullptr, 1);
}

TEST_F(HotKeys, DialogStoresWhatOkTakesAndRegistersIt) {
    StartAndWait(SettingsTemplate());
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    const int boxes[] = {IDC_HOTKEY_SHOW_HIDE_ON, IDC_HOTKEY_SHOW_ICONS_ON, IDC_HOTKEY_LAYOUT_ON,
                         IDC_HOTKEY_POSITION_ON};
    const int32_t codes[] = {0x341, 0x274, 0x458, 0x65A};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(harness::ClassName(FieldOf(dialog, boxes[i])), "msctls_hotkey32");
        EXPECT_EQ(FieldCode(dialog, boxes[i]), codes[i]) << i;
        EXPECT_EQ(IsWindowEnabled(FieldOf(dialog, boxes[i])) != FALSE, i < 2) << i;
    }
    harness::PumpMessages(300);
    harness::Screenshot("hot_keys_dialog");

    SendMessageA(GetDlgItem(dialog, IDC_HOTKEY_LAYOUT_ON), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(FieldOf(dialog, IDC_HOTKEY_LAYOUT_ON)));
    SendMessageA(FieldOf(dialog, IDC_HOTKEY_LAYOUT_ON), HKM_SETHOTKEY, 0x64C, 0); // Ctrl + Alt + L
    harness::PressButton(dialog, IDOK);
    ASSERT_TRUE(harness::WaitForWindowGone(dialog));
    EXPECT_TRUE(app_test::WaitForStored(
        [](const Settings& s) { return s.HotKeyLayoutOn == 1 && s.HotKeyLayout == 0x64C; }));
    EXPECT_TRUE(Taken(0x64C));
    EXPECT_TRUE(Taken(0x341));

    dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(FieldCode(dialog, IDC_HOTKEY_LAYOUT_ON), 0x64C);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_HOTKEY_LAYOUT_ON), UINT(BST_CHECKED));
    // Changes that "Cancel" drops; the keys registered before come back.
    SendMessageA(GetDlgItem(dialog, IDC_HOTKEY_SHOW_ICONS_ON), BM_CLICK, 0, 0);
    SendMessageA(FieldOf(dialog, IDC_HOTKEY_LAYOUT_ON), HKM_SETHOTKEY, 0x64D, 0);
    harness::PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(harness::WaitForWindowGone(dialog));
    EXPECT_TRUE(harness::WaitUntil([] { return Taken(0x274) && Taken(0x64C); }));
    EXPECT_FALSE(Taken(0x64D));
}

TEST_F(HotKeys, DefaultsButtonPutsTheDefaultKeysBack) {
    Settings record = SettingsTemplate();
    record.HotKeyShowIcons = 0x275;
    record.HotKeyPositionOn = 1;
    StartAndWait(record);
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    harness::PressButton(dialog, IDC_HOTKEY_DEFAULTS);
    EXPECT_TRUE(harness::WaitUntil([&] {
        return FieldCode(dialog, IDC_HOTKEY_SHOW_ICONS_ON) == 0x274 &&
               IsDlgButtonChecked(dialog, IDC_HOTKEY_POSITION_ON) == BST_UNCHECKED;
    }));
    EXPECT_FALSE(IsWindowEnabled(FieldOf(dialog, IDC_HOTKEY_POSITION_ON)));
    harness::PressButton(dialog, IDOK);
    EXPECT_TRUE(app_test::WaitForStored(
        [](const Settings& s) { return s.HotKeyShowIcons == 0x274 && s.HotKeyPositionOn == 0; }));
}

// Without a tray icon the Show/Hide key is the only way back to the window.
TEST_F(HotKeys, DialogRefusesOkWithoutTrayIconOrShowHideKey) {
    Settings record = SettingsTemplate();
    record.ShowTrayIcon = 0;
    StartAndWait(record);
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_HOTKEY_SHOW_HIDE_ON)));
    EXPECT_TRUE(IsWindowEnabled(FieldOf(dialog, IDC_HOTKEY_SHOW_HIDE_ON)));

    SendMessageA(FieldOf(dialog, IDC_HOTKEY_SHOW_HIDE_ON), HKM_SETHOTKEY, 0, 0);
    harness::PressButton(dialog, IDOK);
    HWND message = harness::WaitForDialog("Tessara", tessara_.Pid());
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(GetWindow(message, GW_OWNER), dialog);
    EXPECT_EQ(harness::MessageBoxText(message),
              "You have disabled the icon in the system tray.\nYou must specify a Show/Hide hot "
              "key.");
    harness::PressButton(message, IDOK);
    ASSERT_TRUE(harness::WaitForWindowGone(message));
    EXPECT_TRUE(IsWindow(dialog));
    harness::PressButton(dialog, IDCANCEL);
    EXPECT_TRUE(harness::WaitForWindowGone(dialog));
}

// A key alone or with Shift alone is no hot key: the field makes it Alt + key.
TEST_F(HotKeys, ShiftAloneBecomesAlt) {
    StartAndWait(SettingsTemplate());
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    // Under load the first keys may reach the dialog before it is in front;
    // a field takes each new combination in place of the last, so pressing
    // again until it shows is safe. Which key Wine's X keyboard reports for
    // the injected 'Q' varies between runs (0xAD at times), so only the
    // modifiers are compared: Shift alone must have become Alt.
    EXPECT_TRUE(harness::WaitUntil(
        [&] {
            SetForegroundWindow(dialog);
            harness::PressKeys({VK_SHIFT, 'Q'});
            harness::PumpMessages(200);
            const int32_t code = FieldCode(dialog, IDC_HOTKEY_SHOW_HIDE_ON);
            return (code >> 8) == HOTKEYF_ALT && (code & 0xFF) != 0;
        },
        5000))
        << std::hex << FieldCode(dialog, IDC_HOTKEY_SHOW_HIDE_ON);
    harness::PressButton(dialog, IDCANCEL);
}

} // namespace
