// Cost of one DSK_GetPos round trip to the stand-in shell: it bounds how fast
// saving and restoring icon positions can be. Prints the median and quartiles.
#include "desklink/desk_link.h"
#include "tests/harness/harness.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRounds = 4000;

double Microseconds(LONGLONG ticks, LONGLONG frequency) {
    return ticks * 1e6 / frequency;
}

} // namespace

int main() {
    harness::Shell shell;
    if (!shell.Start() || !RefreshDesktopListView() || !SetHook(TRUE)) {
        std::fprintf(stderr, "no desktop to attach to\n");
        return 1;
    }
    int icons = IconCount();
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> samples;
    samples.reserve(kRounds);
    IconInfo info{};
    for (int round = 0; round < kRounds; ++round) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        GetIconInfo(round % icons, info);
        QueryPerformanceCounter(&end);
        samples.push_back(Microseconds(end.QuadPart - start.QuadPart, frequency.QuadPart));
    }
    SetHook(FALSE);
    std::sort(samples.begin(), samples.end());
    std::printf("DSK_GetPos round trip, %d rounds over %d icons (%d-bit): median %.1f us, "
                "quartiles %.1f / %.1f us\n",
                kRounds, icons, static_cast<int>(sizeof(void*) * 8), samples[kRounds / 2],
                samples[kRounds / 4], samples[kRounds * 3 / 4]);
    return 0;
}
