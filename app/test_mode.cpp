#include "app/test_mode.h"

#include "app/page_context.h"
#include "app/status_line.h"
#include "base/instance_data.h"

void SwitchTestMode(HWND settingsWindow) {
    SetTestMode(!TestModeOn());
    RefreshSettingsPage(settingsWindow);
    SetStatusLine(TestModeOn() ? "Test mode is Enabled" : "Test mode is Disabled");
}
