#include "hiding/corner_actions.h"

namespace {

// Window styles as the system defines them.
constexpr uint32_t kStyleMinimized = 0x20000000;
constexpr uint32_t kStyleMinimizable = 0x10CA0000; // visible, caption, system menu, minimise box

const char* const kActionTexts[] = {"Hide (Show Desktop)", "Start Screen Saver",
                                    "Lock Workstation"};

const char* const kKilledClasses[] = {"ACDViewer", "ACDBrowser", "ForteAgent:Main"};

} // namespace

CornerAction CornerActionOf(int32_t index) {
    switch (index) {
    case 0:
        return CornerAction::ShowDesktop;
    case 1:
        return CornerAction::StartScreenSaver;
    default:
        return CornerAction::LockWorkstation;
    }
}

int ActionListLength(bool canLock) {
    return canLock ? 3 : 2;
}

const char* ActionListText(int index) {
    return index >= 0 && index < 3 ? kActionTexts[index] : "";
}

int32_t FittedActionIndex(int32_t stored, bool canLock) {
    return stored < 0 || stored > ActionListLength(canLock) - 1 ? 0 : stored;
}

bool InHotCorner(ScreenPoint p, int32_t hotCorner, ScreenSize screen) {
    const int32_t right = screen.width - 1;
    const int32_t bottom = screen.height - 1;
    switch (hotCorner & 0xFF) {
    case 0:
        return p == ScreenPoint{0, 0};
    case 1:
        return p == ScreenPoint{right, 0};
    case 2:
        return p == ScreenPoint{0, bottom};
    case 3:
        return p == ScreenPoint{right, bottom};
    default:
        return false;
    }
}

bool OnScreenEdge(ScreenPoint p, ScreenSize screen) {
    return p.x == 0 || p.y == 0 || p.x == screen.width - 1 || p.y == screen.height - 1;
}

bool HotCornerWatch::Check(const Settings& settings, const CornerInput& in) {
    if (!settings.HotCornerEnabled)
        return false;
    const bool arrived = in.cursor != lastPos_;
    lastPos_ = in.cursor;
    if (!in.normalDesktop || !InHotCorner(in.cursor, settings.HotCorner, in.screen)) {
        deadline_.Clear();
        return false;
    }
    if (!settings.HotCornerWait)
        return arrived;
    if (!deadline_.Armed()) {
        if (arrived)
            deadline_.Set(in.now + kCornerWaitMs);
        return false;
    }
    if (!deadline_.Due(in.now))
        return false;
    deadline_.Clear();
    return true;
}

bool BossMouseOn(const Settings& settings) {
    return settings.BossMouse == 1 && settings.HotCornerEnabled == 1;
}

bool BossMouseWatch::Check(const EdgeInput& in, bool on) {
    if (!OnScreenEdge(in.cursor, in.screen)) {
        rearmed_ = true;
        return false;
    }
    if (!on || in.screenSaverRunning || !in.normalDesktop)
        return false;
    const bool act = rearmed_;
    rearmed_ = false;
    return act;
}

bool ShouldMinimize(const EnumeratedWindow& window) {
    return !window.isSettingsWindow && !window.hasParent && window.style != 0 && window.enabled &&
           (window.style & kStyleMinimizable) == kStyleMinimizable &&
           (window.style & kStyleMinimized) == 0;
}

bool IsListedForKill(const std::string& className) {
    for (const char* listed : kKilledClasses) {
        if (className == listed)
            return true;
    }
    return false;
}

bool HideAllWindowsWatch::Check(const Settings& settings, const CornerInput& corner,
                                const EdgeInput& edges) {
    const bool cornerActs = corner_.Check(settings, corner);
    const bool edgeActs = edges_.Check(edges, BossMouseOn(settings));
    return cornerActs || edgeActs;
}
