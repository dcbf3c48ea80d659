// The place search at its worst: 255 icons that nothing places before the
// pixel-by-pixel pass, all piled at the grid origin, so that each one scans
// past every icon placed before it.
#include "icons/icon_placement.h"

#include <benchmark/benchmark.h>

namespace {

using icons::PlacementTable;
using icons::ScreenGeometry;

PlacementTable PiledIcons() {
    PlacementTable table;
    table.count = icons::kMaxRestoreIcons;
    for (int i = 0; i < table.count; ++i)
        table.rect[i] = {0, 0, 75, 75};
    return table;
}

template <typename Search> void RunPassThree(benchmark::State& state, Search search) {
    const ScreenGeometry screen{static_cast<std::int32_t>(state.range(0)),
                                static_cast<std::int32_t>(state.range(1)), 75, 75};
    const PlacementTable start = PiledIcons();
    for (auto _ : state) {
        PlacementTable table = start;
        benchmark::DoNotOptimize(
            search(table, screen, icons::Point{0, 0}, icons::SearchStep::Pixel));
        benchmark::ClobberMemory();
    }
}

void PassThreeSearch(benchmark::State& state) {
    RunPassThree(state, icons::SearchPlaces);
}

void PassThreeFullScan(benchmark::State& state) {
    RunPassThree(state, icons::SearchPlacesByFullScan);
}

} // namespace

BENCHMARK(PassThreeSearch)->Args({1024, 768})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(PassThreeFullScan)->Args({1024, 768})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
