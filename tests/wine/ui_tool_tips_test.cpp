// The settings window's tool tips show over a control while the cursor rests
// on it, and only while "Display tool tips" is on.
#include "tests/wine/app_program.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

class ToolTips : public app_test::ProgramTest {
  protected:
    void SetUp() override { ASSERT_TRUE(shell_.Start()); }

    // Rests the cursor on the control and waits for the program's tip.
    bool TipShowsOver(int id, DWORD waitMs) {
        RECT rect{};
        GetWindowRect(GetDlgItem(tessara_.Window(), id), &rect);
        SetCursorPos(0, 0);
        harness::PumpMessages(300);
        SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        return harness::WaitUntil(
            [&] {
                HWND tip = harness::FindTopLevel(TOOLTIPS_CLASSA, nullptr, tessara_.Pid());
                return tip && IsWindowVisible(tip);
            },
            waitMs);
    }
};

} // namespace

TEST_F(ToolTips, ShowOnlyWhileDisplayToolTipsIsOn) {
    for (int on : {1, 0}) {
        SCOPED_TRACE(on);
        Settings record = SettingsTemplate();
        record.ShowToolTips = on;
        StartProgram(record);
        EXPECT_EQ(TipShowsOver(IDC_HIDE_WINDOW, 4000), on == 1);
        EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    }
}
