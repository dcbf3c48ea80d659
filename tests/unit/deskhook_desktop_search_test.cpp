#include "deskhook/desktop_search.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

using desktop_search::Place;

struct SearchCase {
    const char* name;
    std::set<Place> holding;    // places that hold a view (only one does on a real desktop)
    std::optional<Place> found; // the answer
    std::vector<Place> asked;   // the places asked, in order
};

TEST(DesktopSearch, ProgmanFirstThenATopLevelWorkerThenAChildOfProgman) {
    const SearchCase cases[] = {
        {"classic desktop", {Place::Progman}, Place::Progman, {Place::Progman}},
        {"moved for a wallpaper layer",
         {Place::WorkerW},
         Place::WorkerW,
         {Place::Progman, Place::WorkerW}},
        {"under a child of Progman",
         {Place::UnderProgmanChild},
         Place::UnderProgmanChild,
         {Place::Progman, Place::WorkerW, Place::UnderProgmanChild}},
        {"no desktop",
         {},
         std::nullopt,
         {Place::Progman, Place::WorkerW, Place::UnderProgmanChild}},
        // In the middle of a move two places may hold one for a moment.
        {"Progman wins over a worker",
         {Place::Progman, Place::WorkerW},
         Place::Progman,
         {Place::Progman}},
        {"a worker wins over a child of Progman",
         {Place::WorkerW, Place::UnderProgmanChild},
         Place::WorkerW,
         {Place::Progman, Place::WorkerW}},
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Place> asked;
        const auto found = desktop_search::FirstPlaceHoldingView([&](Place place) {
            asked.push_back(place);
            return c.holding.count(place) > 0;
        });
        EXPECT_EQ(found, c.found);
        EXPECT_EQ(asked, c.asked);
    }
}

} // namespace
