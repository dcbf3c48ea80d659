// The wallpaper worker's pixel work on a 3840 x 2160 picture with 30 icons
// (border search, the edge-band and whole-image averages, sampling around the
// captions) against one plain pass that sums the same pixels.
#include "colours/caption_colors.h"
#include "colours/wallpaper_analysis.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace colors;

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;
constexpr int kIcons = 30;

// A photo-like gradient, optionally inside a solid frame `frame` pixels wide.
std::vector<std::uint8_t> MakePicture(int frame) {
    std::vector<std::uint8_t> bytes(RowStride(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* p = bytes.data() + RowStride(kWidth) * y;
        for (int x = 0; x < kWidth; ++x, p += 3) {
            const bool inFrame =
                x < frame || y < frame || x >= kWidth - frame || y >= kHeight - frame;
            p[0] = inFrame ? 0 : static_cast<std::uint8_t>(x * 255 / kWidth);
            p[1] = inFrame ? 0 : static_cast<std::uint8_t>(y * 255 / kHeight);
            p[2] = inFrame ? 0 : static_cast<std::uint8_t>((x + y) & 0xFF);
        }
    }
    return bytes;
}

// Captions as a desktop list view lays them out: a column of icons 75 pixels apart.
std::vector<ScreenRect> Captions() {
    std::vector<ScreenRect> captions;
    for (int i = 0; i < kIcons; ++i) {
        const int x = 13 + (i / 14) * 75;
        const int y = 38 + (i % 14) * 75;
        captions.push_back({x, y, x + 48, y + 14});
    }
    return captions;
}

void WorkerPixelWork(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = MakePicture(static_cast<int>(state.range(0)));
    const PixelView picture{bytes.data(), kWidth, kHeight};
    const std::vector<ScreenRect> captions = Captions();
    WallpaperColorOptions edges{true, false, false, false, kWidth, kHeight};
    WallpaperColorOptions whole = edges;
    whole.sampleWholeImage = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeWallpaperColor(picture, edges));
        benchmark::DoNotOptimize(ComputeWallpaperColor(picture, whole));
        FrameSampler sampler({picture, WallpaperLayout::Centered, kWidth, kHeight, 0x808000});
        for (const ScreenRect& caption : captions)
            sampler.AddCaption(caption);
        benchmark::DoNotOptimize(sampler.Average());
    }
}

void PlainSummingPass(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = MakePicture(0);
    for (auto _ : state) {
        std::uint64_t blue = 0, green = 0, red = 0;
        for (int y = 0; y < kHeight; ++y) {
            const std::uint8_t* p = bytes.data() + RowStride(kWidth) * y;
            for (int x = 0; x < kWidth; ++x, p += 3) {
                blue += p[0];
                green += p[1];
                red += p[2];
            }
        }
        benchmark::DoNotOptimize(blue + green + red);
    }
}

} // namespace

BENCHMARK(PlainSummingPass)->Unit(benchmark::kMillisecond);
// Argument: width of a solid frame around the picture (0: none).
BENCHMARK(WorkerPixelWork)->Arg(0)->Arg(40)->Unit(benchmark::kMillisecond);
