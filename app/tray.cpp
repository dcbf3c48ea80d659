#include "app/tray.h"

#include "ui/resource.h"

namespace {

// Mouse messages of the icon's callback (WM_LBUTTONDOWN, WM_LBUTTONDBLCLK,
// WM_RBUTTONUP).
constexpr unsigned kLeftButtonDown = 0x201;
constexpr unsigned kLeftButtonDoubleClick = 0x203;
constexpr unsigned kRightButtonUp = 0x205;

TrayMenuItem Item(int id, const char* text, bool checked = false, bool greyed = false) {
    return {TrayItemKind::Command, id, text, checked, greyed};
}

TrayMenuItem Separator() {
    return {TrayItemKind::Separator, 0, "", false, false};
}

void AddPositionGroup(std::vector<TrayMenuItem>& items, const Settings& s,
                      const TrayMenuContext& c) {
    if (s.TrayShowPositions != 1 && !c.danceRunning)
        return;
    items.push_back(Item(IDM_SAVE_POSITIONS, "Save Icon Positions", false, c.temporarilyMoved));
    items.push_back(
        Item(IDM_RESTORE_POSITIONS, "Restore Icon Positions", false, !c.savedSetExists));
    items.push_back(Separator());
    const bool danceOffered = c.danceRunning || (s.TrayShowDance == 1 && s.TrayShowPositions == 1);
    if (!c.activeDesktop && danceOffered) {
        items.push_back(Item(IDM_ICON_DANCE, "Do the Icon Dance", c.danceRunning));
        items.push_back(Separator());
    }
}

void AddCaptionGroup(std::vector<TrayMenuItem>& items, const Settings& s,
                     const TrayMenuContext& c) {
    if (s.TrayShowText != 1)
        return;
    items.push_back(Item(IDM_TRANSPARENT_BACKGROUND, "Transparent Background",
                         s.TransparentText == 1, c.dropShadowsOn));
    if (!c.activeDesktop)
        items.push_back(
            Item(IDM_RESAMPLE_BACKGROUND, "Resample Background", false, c.dropShadowsOn));
    items.push_back(Separator());
}

void AddHidingGroup(std::vector<TrayMenuItem>& items, const Settings& s) {
    if (s.TrayShowHiding != 1)
        return;
    const bool never = s.HideByCursor == 0 && s.HideAlways == 0;
    items.push_back(Item(IDM_SHOW_ICONS_ALWAYS, "Show Icons Always", never));
    items.push_back(Item(IDM_SHOW_ICONS_AS_NEEDED, "Show Icons as Needed", s.HideByCursor == 1));
    items.push_back(Item(IDM_HIDE_ICONS_ALWAYS, "Hide Icons Always", s.HideAlways == 1));
    items.push_back(Separator());
}

std::string WithKeyText(const char* before, const std::string& keyText, const char* after) {
    return before + keyText + after;
}

} // namespace

bool TrayMenuItem::operator==(const TrayMenuItem& other) const {
    return kind == other.kind && id == other.id && std::string(text) == other.text &&
           checked == other.checked && greyed == other.greyed;
}

TrayMenuLayout TrayMenuItems(const Settings& settings, const TrayMenuContext& context) {
    TrayMenuLayout layout;
    if (settings.TrayShowHelp == 1)
        layout.afterWebPage.push_back(Item(IDC_HELP_BUTTON, "Help..."));
    AddPositionGroup(layout.beforeExit, settings, context);
    AddCaptionGroup(layout.beforeExit, settings, context);
    AddHidingGroup(layout.beforeExit, settings);
    if (context.testMode)
        layout.beforeExit.push_back({TrayItemKind::TestMenu, IDR_TEST_MENU, kTrayTestMenuText});
    return layout;
}

TraySwitch SwitchTrayIcon(int32_t showTrayIcon, bool showHideHotKeyActive, int removalCount) {
    if (showTrayIcon == 1 && showHideHotKeyActive)
        return {0, false, removalCount == 0, removalCount + 1};
    return {1, true, false, removalCount};
}

TrayClick TrayClickAction(unsigned mouseMessage, bool programHasFocus) {
    switch (mouseMessage) {
    case kLeftButtonDown:
        return programHasFocus ? TrayClick::Hide : TrayClick::ShowInFront;
    case kLeftButtonDoubleClick:
        return TrayClick::Hide;
    case kRightButtonUp:
        return TrayClick::Menu;
    }
    return TrayClick::Nothing;
}

std::string TrayRemovalText(const std::string& keyText) {
    return WithKeyText("The Tessara icon in the system tray will be removed.\nUse the Show/Hide "
                       "hot key (",
                       keyText,
                       ")\nto hide and restore the window.\n\nThis message will not be shown "
                       "again until\nTessara is restarted.");
}

std::string HideWhenStartedWithoutTrayText(const std::string& keyText) {
    return WithKeyText("You have chosen to hide Tessara when it starts.\n\nSince \"Show tray "
                       "icon\" is not checked (on the \"Tray\" tab), you will\nneed to use the "
                       "Show/Hide hot key (",
                       keyText, ") to \nshow the Tessara window the next time Tessara starts.");
}
