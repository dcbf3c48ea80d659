#include "desklink/menu_state.h"

#include "desklink/desk_link.h"

// Single words that Explorer's thread reads without a lock.
bool PublishMenuState(const Settings& settings) {
    SharedBlock* block = DeskBlock();
    if (!block)
        return false;
    const MenuState state = MenuStateFor(settings);
    InterlockedExchange(&block->MenuEnabled, state.menuEnabled);
    InterlockedExchange(&block->ClickToShow, state.clickToShow);
    InterlockedExchange(&block->VisibilityMode, state.visibilityMode);
    return true;
}
