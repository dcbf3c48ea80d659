#include "app/page_context.h"

#include "base/app_state.h"
#include "base/instance_data.h"
#include "base/windows_version_win.h"
#include "desklink/desk_link.h"
#include "settings/settings.h"
#include "testmode/test_browser_win.h"
#include "ui/settings_pages_win.h"

namespace {

bool DanceRunning() {
    const SharedBlock* block = DeskBlock();
    return block && block->DanceRunning;
}

} // namespace

PageContext CurrentPageContext() {
    PageContext context;
    context.dropShadowsOn = DropShadowsOn();
    context.showHideHotKeyActive = Instances().ShowHideHotKeyActive != 0;
    context.danceRunning = DanceRunning();
    context.temporarilyMoved = Instances().IconsTemporarilyMoved != 0;
    context.testMode = TestModeOn();
    context.activeDesktop = ActiveDesktopOn();
    context.autoArrange = AutoArrangeOn();
    context.windowsXPOrLater = IsWindowsXPOrLater();
    context.windows2000OrLater = IsWindows2000OrLater();
    context.slideShowRunning = SlideShowRunning();
    return context;
}

void RefreshSettingsPage(HWND window) {
    ShowTabPage(window, CurrentPageContext());
}
