// Saving the desktop icon layout: every icon's position and caption, read
// through the desktop link under the icon lock, stored as one registry value
// with the icons' exact names in a second one beside it.
#include "icons/icon_positions.h"

#include <cstdio>
#include <memory>

#include "base/app_state.h"
#include "desklink/desk_link.h"
#include "desklink/icon_lock.h"
#include "icons/icon_placement.h"
#include "icons/icon_names.h"
#include "icons/icon_registry.h"
#include "icons/icon_store.h"

namespace {

constexpr char kAutoArrangeQuestion[] =
    "The desktop is in \"Auto Arrange\" mode.\n\nDo you want to save the icon positions?";
constexpr char kNoIcons[] = "No icons found";
constexpr char kTooManyIcons[] =
    "Too many icons to save.\nTessara can only save %d icons.\n\nIcon positions were not saved.";
constexpr char kTooMuchData[] = "Too many icons to save.\nTessara can only save 32000 bytes of "
                                "data about icons.\n\nIcon positions were not saved.";
constexpr char kTooManyNames[] = "Too many icons to save.\nTessara can only save 64000 bytes of "
                                 "icon names.\n\nIcon positions were not saved.";
constexpr char kDesktopDidNotAnswer[] =
    "The desktop did not answer for every icon.\n\nIcon positions were not saved.";
constexpr char kNotWritten[] = "The registry did not take the icon positions.\n\nIcon positions "
                               "were not saved; the positions saved before are kept.";
constexpr char kOffScreenQuestion[] = "Some icons are at least partially off screen.\n\nDo you "
                                      "want to continue saving the icon positions?";

static_assert(icons::kMaxNameBytes == 64000, "the names message states the bound");

enum class ReadOutcome { Complete, TooMuchData, TooManyNames, LinkLost };

// The set and its exact names, built side by side.
struct SetWriters {
    explicit SetWriters(int count)
        : set(static_cast<std::uint8_t>(count)), names(static_cast<std::uint8_t>(count)) {}
    icons::StoredSetWriter set;
    icons::StoredNamesWriter names;
};

// Fills the writers with every icon, in list-view order, read in one
// exchange. offScreen tells whether any icon's pixel position lies outside the
// screen. A read that misses an icon, or finds the list view holding another
// number of icons than were counted, would pass for a complete set: LinkLost.
ReadOutcome ReadIcons(int count, IconScreen screen, SetWriters& writers, bool& offScreen) {
    const bool relative = RelativeModeSelected();
    const icons::ScreenGeometry bounds{screen.width, screen.height, 0, 0};
    auto infos = std::make_unique<IconInfo[]>(count);
    int listCount = 0;
    if (!GetIconInfos(count, infos.get(), &listCount) || listCount != count)
        return ReadOutcome::LinkLost;
    for (int i = 0; i < count; ++i) {
        const IconInfo& info = infos[i];
        icons::Point p{info.position.x, info.position.y};
        offScreen = offScreen || icons::IsOffScreen(p, bounds);
        if (relative)
            p = {icons::ToRelativeUnits(p.x, screen.width),
                 icons::ToRelativeUnits(p.y, screen.height)};
        if (!writers.set.Append(p.x, p.y, icons::CaptionBytes(info.caption, info.captionLength)))
            return ReadOutcome::TooMuchData;
        if (!writers.names.Append({info.name, static_cast<std::size_t>(info.nameLength)}))
            return ReadOutcome::TooManyNames;
    }
    return ReadOutcome::Complete;
}

void ShowError(HWND owner, const char* text) {
    MessageBoxA(owner, text, kProgramName, MB_OK | MB_ICONERROR);
}

// The names go first: a set refused after them keeps the set saved before,
// which the new names no longer fit, so that set is matched by its ANSI
// captions alone. False when the registry refused either value.
bool StoreSet(SetWriters& writers, const std::string& valueName) {
    writers.names.Seal(writers.set.Data(), writers.set.Size());
    const IconValueWrite names = WriteIconValue(icons::NamesValueName(valueName),
                                                writers.names.Data(), writers.names.Size());
    if (names == IconValueWrite::Refused)
        return false;
    return names == IconValueWrite::NoKey ||
           WriteIconValue(valueName, writers.set.Data(), writers.set.Size()) !=
               IconValueWrite::Refused;
}

} // namespace

void SaveIconPositions(HWND owner, AutoArrangeQuestion question) {
    IconWork work;
    RefreshDesktopListView();
    const IconScreen screen = CurrentIconScreen();
    const std::string valueName = CurrentIconValueName(screen);
    if (question == AutoArrangeQuestion::Ask && AutoArrangeOn() &&
        MessageBoxA(owner, kAutoArrangeQuestion, kProgramName, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;

    const int count = IconCount();
    if (count <= 0) {
        QuietMessageBox(owner, kNoIcons, kProgramName, MB_OK | MB_ICONERROR);
        return;
    }
    if (count > icons::kMaxSavedIcons) {
        char text[sizeof kTooManyIcons + 16];
        std::snprintf(text, sizeof text, kTooManyIcons, icons::kMaxSavedIcons);
        ShowError(owner, text);
        return;
    }

    auto writers = std::make_unique<SetWriters>(count);
    bool offScreen = false;
    switch (ReadIcons(count, screen, *writers, offScreen)) {
    case ReadOutcome::Complete:
        break;
    case ReadOutcome::TooMuchData:
        ShowError(owner, kTooMuchData);
        return;
    case ReadOutcome::TooManyNames:
        ShowError(owner, kTooManyNames);
        return;
    case ReadOutcome::LinkLost: // a set missing icons would pass for a complete one
        QuietMessageBox(owner, kDesktopDidNotAnswer, kProgramName, MB_OK | MB_ICONERROR);
        return;
    }

    if (offScreen && QuietMessageBox(owner, kOffScreenQuestion, kProgramName,
                                     MB_YESNO | MB_ICONQUESTION) == IDNO)
        return;
    if (!StoreSet(*writers, valueName))
        QuietMessageBox(owner, kNotWritten, kProgramName, MB_OK | MB_ICONERROR);
}
