// Restoring the desktop icon layout: refusals, reading the saved set of the
// current mode, the placement passes over the real list view, and the finish
// that shows the icons again.
#include "icons/icon_positions.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

#include "base/app_state.h"
#include "base/instance_data.h"
#include "desklink/desk_link.h"
#include "desklink/icon_lock.h"
#include "icons/icon_dance_win.h"
#include "icons/icon_registry.h"
#include "icons/restore_passes.h"
#include "settings/settings.h"

namespace {

constexpr char kAutoArrangeRefusal[] =
    "Icons can not be restored while\nthe desktop is in \"Auto Arrange\" mode.\n\nUncheck "
    "Arrange Icons->Auto Arrange on the\ndesktop to disable \"Auto Arrange\" mode.";
constexpr char kDisablingAutoRestore[] =
    "\n\nTessara is disabling automatic repositioning\non its \"Positions\" tab.";
constexpr char kTooManyIcons[] =
    "Tessara can only restore icon positions when\nthere are %d icons or less on the "
    "screen.\nYou currently have %d icons displayed";
constexpr char kNoRoom[] =
    "Tessara could not find enough empty spaces for icons\nwhich were created since the last "
    "\"Save\" or are off the screen.\n\nSome icons may overlap or remain off screen.";

static_assert(icons::kMaxRestoreIcons <= icon_batch::kMaxIcons &&
              icons::kMaxSavedIcons <= icon_batch::kMaxIcons);

// The real desktop behind the placement passes: every ReadAll and MoveAll is
// one exchange with the desktop.
class ListViewDesktop : public icons::IconDesktop {
  public:
    void Lock() override { lock_.emplace(); }
    void Unlock() override { lock_.reset(); }
    // Once the desktop has failed to answer, nothing more is asked or moved:
    // a hung desktop costs one time-out, and no icon goes to a place worked
    // out from answers that never came.
    void ReadAll(int count, Icon* icons) override {
        count = std::clamp(count, 0, icons::kMaxRestoreIcons);
        if (linkLost_ || !GetIconInfos(count, infos_.get())) {
            linkLost_ = true;
            std::fill_n(infos_.get(), count, IconInfo{});
        }
        for (int i = 0; i < count; ++i) {
            const IconInfo& info = infos_[i];
            icons[i] = {{info.position.x, info.position.y},
                        {info.boundsRect.left, info.boundsRect.top, info.boundsRect.right,
                         info.boundsRect.bottom},
                        icons::CaptionBytes(info.caption, info.captionLength),
                        {info.name, static_cast<std::size_t>(info.nameLength)}};
        }
    }
    void MoveAll(const Move* moves, int count) override {
        count = std::clamp(count, 0, icons::kMaxRestoreIcons);
        IconMove listMoves[icons::kMaxRestoreIcons];
        for (int i = 0; i < count; ++i)
            listMoves[i] = {moves[i].index, POINT{moves[i].position.x, moves[i].position.y}};
        linkLost_ = linkLost_ || !SetIconPositions(listMoves, count);
    }
    void SnapToGrid() override { ArrangeSnapToGrid(); }

  private:
    std::optional<IconLock> lock_;
    std::unique_ptr<IconInfo[]> infos_ = std::make_unique<IconInfo[]>(icons::kMaxRestoreIcons);
    bool linkLost_ = false;
};

// The saved set stays in the buffer it was read into: the entries' captions
// point there.
struct SavedIcons {
    std::uint8_t value[icons::kMaxStoredBytes];
    std::uint8_t names[icons::kMaxNameBytes];
    icons::SavedSet set;
};

void RefuseAutoArrange(HWND owner) {
    std::string text = kAutoArrangeRefusal;
    if (g_settings.AutoRestorePositions)
        text += kDisablingAutoRestore;
    QuietMessageBox(owner, text.c_str(), kProgramName, MB_OK | MB_ICONINFORMATION);
    g_settings.AutoRestorePositions = 0;
}

void RefuseTooManyIcons(HWND owner, int count) {
    char text[sizeof kTooManyIcons + 32];
    std::snprintf(text, sizeof text, kTooManyIcons, icons::kMaxRestoreIcons, count);
    QuietMessageBox(owner, text, kProgramName, MB_OK | MB_ICONINFORMATION);
}

bool ReadSavedIcons(IconScreen screen, SavedIcons& saved) {
    const std::string valueName = CurrentIconValueName(screen);
    std::size_t size = 0;
    if (!ReadIconValue(valueName, saved.value, size))
        return false;
    icons::ReadStoredSet(saved.value, size, saved.set);
    std::size_t namesSize = 0;
    if (ReadIconValue(icons::NamesValueName(valueName), saved.names, namesSize))
        icons::ReadStoredNames(saved.names, namesSize, saved.value, size, saved.set);
    if (RelativeModeSelected())
        icons::ConvertToPixels(saved.set, screen.width, screen.height);
    return true;
}

void PlaceIcons(HWND owner, HWND listView, int count, IconScreen screen, SavedIcons& saved) {
    const SIZE spacing = IconSpacing();
    const icons::ScreenGeometry geometry{screen.width, screen.height, spacing.cx, spacing.cy};
    ShowDesktopWindow(listView, SW_HIDE);
    ListViewDesktop desktop;
    auto table = std::make_unique<icons::PlacementTable>();
    const bool allPlaced = icons::RunRestorePasses(desktop, saved.set, geometry, count, *table);
    icons::ApplyPlacements(desktop, *table);
    if (!allPlaced)
        QuietMessageBox(owner, kNoRoom, kProgramName, MB_OK | MB_ICONERROR);
}

RestoreOutcome FinishRestore(HWND listView) {
    ShowDesktopWindow(listView, g_settings.HideAlways ? SW_HIDE : SW_SHOW);
    Instances().IconsTemporarilyMoved = 0;
    RestoreOutcome outcome;
    outcome.resampleWanted = g_settings.AutoResample && !g_settings.TransparentText;
    outcome.finished = true;
    return outcome;
}

} // namespace

RestoreOutcome RestoreIconPositions(HWND owner) {
    IconWork work;
    HWND listView = RefreshDesktopListView();
    StopIconDance();
    const int count = IconCount();
    if (AutoArrangeOn()) {
        RefuseAutoArrange(owner);
        RestoreOutcome outcome;
        outcome.autoRestoreCleared = true;
        return outcome;
    }
    if (count > icons::kMaxRestoreIcons) {
        RefuseTooManyIcons(owner, count);
        return {};
    }
    const IconScreen screen = CurrentIconScreen();
    auto saved = std::make_unique<SavedIcons>();
    if (ReadSavedIcons(screen, *saved))
        PlaceIcons(owner, listView, count, screen, *saved);
    return FinishRestore(listView);
}
