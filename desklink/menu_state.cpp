#include "desklink/menu_state.h"

#include "deskhook/context_menu.h"

namespace {

int32_t VisibilityModeFor(const Settings& settings) {
    if (settings.HideAlways)
        return context_menu::kHideIconsAlways;
    if (settings.HideByCursor)
        return context_menu::kShowIconsAsNeeded;
    return context_menu::kShowIconsAlways;
}

} // namespace

MenuState MenuStateFor(const Settings& settings) {
    return MenuState{settings.ContextMenu, settings.ShowOnDesktopClick,
                     VisibilityModeFor(settings)};
}
