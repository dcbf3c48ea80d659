// Where Explorer hangs its desktop view ("SHELLDLL_DefView"), and the order in
// which those places are searched. Kept apart from the window code so that the
// order is tested on any platform.
#pragma once

#include <functional>
#include <optional>

namespace desktop_search {

enum class Place {
    // A child of the top-level "Progman": where every desktop starts.
    Progman,
    // A child of a top-level "WorkerW": Explorer moves the view there once
    // something asks "Progman" for a wallpaper layer (slideshows, animated
    // wallpapers). Several "WorkerW" may exist; the one holding the view counts.
    WorkerW,
    // A grandchild of "Progman", under one of its child windows (a "WorkerW"
    // kept under "Progman" by recent shells).
    UnderProgmanChild,
};

inline constexpr Place kSearchOrder[] = {Place::Progman, Place::WorkerW, Place::UnderProgmanChild};

// The first place in kSearchOrder for which `holdsView` answers true, asking
// no place after it; nothing when no place holds the view.
std::optional<Place> FirstPlaceHoldingView(const std::function<bool(Place)>& holdsView);

} // namespace desktop_search
