#include "testmode/webshots.h"

namespace webshots {

Placement SettingsWindowPlace(int screenWidth, int width, int height) {
    return {screenWidth - width, 0, width, height};
}

Placement ChangerPlace(int screenWidth, int screenHeight) {
    return {0, screenHeight / 3, screenWidth / 2, screenHeight * 2 / 3};
}

} // namespace webshots
