#include "deskhook/icon_batch.h"

#include <algorithm>

namespace icon_batch {

Range ReadRange(long long first, long long count, int itemCount) {
    const long long items = std::max(0, itemCount);
    const long long start = std::max(0LL, first);
    if (start >= items)
        return Range{};
    // start < items <= INT_MAX and wanted <= kMaxIcons: the sum cannot overflow.
    const long long wanted = std::clamp(count, 0LL, static_cast<long long>(kMaxIcons));
    const long long end = std::min(items, start + wanted);
    return Range{static_cast<int>(start), static_cast<int>(end - start)};
}

int MoveCount(long long count) {
    return static_cast<int>(std::clamp(count, 0LL, static_cast<long long>(kMaxIcons)));
}

bool ReadWhole(int asked, long long answered) {
    return asked >= 0 && asked <= kMaxIcons && answered == asked;
}

} // namespace icon_batch
