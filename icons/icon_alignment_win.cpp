#include "icons/icon_alignment_win.h"

#include <algorithm>
#include <cstdio>

#include "base/app_state.h"
#include "base/instance_data.h"
#include "desklink/desk_link.h"
#include "desklink/icon_lock.h"
#include "icons/icon_dance_win.h"
#include "settings/settings.h"

namespace {

constexpr char kAutoArrangeRefusal[] = "Icons can not be moved while\nthe desktop is in \"Auto "
                                       "Arrange\" mode.\n\nUncheck Arrange Icons->Auto Arrange.";
constexpr char kTooManyIcons[] =
    "Tessara can only reposition %d icons\nthere are %d icons or less on the screen.";
constexpr char kNoRoom[] = "At the current screen resolution (%dx%d),\nTessara can only line up "
                           "%d icons but\n%d icons exist.\n\nThe icons were not repositioned.";

void Tell(HWND owner, const char* text) {
    QuietMessageBox(owner, text, kProgramName, MB_OK | MB_ICONINFORMATION);
}

void RefuseTooManyIcons(HWND owner, int count) {
    char text[sizeof kTooManyIcons + 32];
    std::snprintf(text, sizeof text, kTooManyIcons, icons::kMaxAlignedIcons, count);
    Tell(owner, text);
}

void RefuseNoRoom(HWND owner, const icons::ScreenGeometry& screen, int capacity, int count) {
    char text[sizeof kNoRoom + 64];
    std::snprintf(text, sizeof text, kNoRoom, screen.width, screen.height, capacity, count);
    Tell(owner, text);
}

// Tells the user why the alignment is refused; false when it is not.
bool Refused(HWND owner, icons::AlignmentRefusal refusal, int count,
             const icons::ScreenGeometry& screen, int capacity) {
    switch (refusal) {
    case icons::AlignmentRefusal::None:
        return false;
    case icons::AlignmentRefusal::AutoArrange:
        // Shown in quiet mode too: what was asked for cannot be done.
        MessageBoxA(owner, kAutoArrangeRefusal, kProgramName, MB_OK | MB_ICONINFORMATION);
        break;
    case icons::AlignmentRefusal::TooManyIcons:
        RefuseTooManyIcons(owner, count);
        break;
    case icons::AlignmentRefusal::NoRoom:
        RefuseNoRoom(owner, screen, capacity, count);
        break;
    }
    return true;
}

// The widest overhang of a caption left of its icon, each icon read under
// the icon lock on its own. Icons the desktop does not answer for count 0.
std::int32_t LeftOffset(int count) {
    std::int32_t offset = 0;
    IconInfo info;
    for (int i = 0; i < count; ++i) {
        if (GetIconInfo(i, info))
            offset = std::max(offset, icons::CaptionOverhang({info.position.x, info.position.y},
                                                             {info.boundsRect.left, 0, 0, 0}));
    }
    return offset;
}

icons::ScreenGeometry PrimaryScreen() {
    const SIZE spacing = IconSpacing();
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), spacing.cx, spacing.cy};
}

// The icon lock is held from the first move to the last, so that no dance or
// other icon work moves an icon in between.
void MoveIcons(HWND listView, const std::vector<icons::Point>& places) {
    ShowDesktopWindow(listView, SW_HIDE);
    IconLock lock;
    for (std::size_t i = 0; i < places.size(); ++i)
        if (!SetIconPosition(static_cast<int>(i), POINT{places[i].x, places[i].y}))
            break; // a desktop that does not answer costs one time-out
}

} // namespace

AlignmentOutcome AlignIcons(HWND owner, IconAlignment layout) {
    IconWork work;
    StopIconDance();
    HWND listView = RefreshDesktopListView();
    const int count = IconCount();
    const icons::ScreenGeometry screen = PrimaryScreen();
    if (Refused(owner, icons::CheckAlignment(AutoArrangeOn(), count, -1), count, screen, 0))
        return {};
    const icons::AlignmentGrid grid = icons::MakeAlignmentGrid(layout, screen, LeftOffset(count));
    if (Refused(owner, icons::CheckAlignment(false, count, grid.Capacity()), count, screen,
                grid.Capacity()))
        return {};
    MoveIcons(listView, icons::AlignmentPlaces(layout, grid, count));

    AlignmentOutcome outcome;
    outcome.moved = true;
    outcome.resampleWanted = g_settings.AutoResample == 1 && g_settings.TransparentText == 0;
    ShowDesktopWindow(listView, SW_SHOW);
    Instances().IconsTemporarilyMoved = 1;
    return outcome;
}
