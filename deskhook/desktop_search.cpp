#include "deskhook/desktop_search.h"

namespace desktop_search {

std::optional<Place> FirstPlaceHoldingView(const std::function<bool(Place)>& holdsView) {
    for (Place place : kSearchOrder)
        if (holdsView(place))
            return place;
    return std::nullopt;
}

} // namespace desktop_search
