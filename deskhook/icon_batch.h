// The rules of the batched icon exchanges, kept apart from the window code so
// that their bounds can be tested on any platform. One batch reads or moves up
// to kMaxIcons icons in a single message to the desktop.
#pragma once

namespace icon_batch {

// The most icons any walk over the desktop takes: a restore handles 255.
inline constexpr int kMaxIcons = 255;

// Items first .. first + count - 1 of a list view.
struct Range {
    int first = 0;
    int count = 0;
};

// The items a read answers. `first` and `count` come from the shared block,
// which another process writes, so both are taken as untrusted: the range
// never starts below 0, never holds more than kMaxIcons items and never
// reaches past the `itemCount` items the list view holds.
Range ReadRange(long long first, long long count, int itemCount);

// How many entries of a move request are acted on: `count` from the shared
// block, clamped to 0 .. kMaxIcons.
int MoveCount(long long count);

// A read of icons 0 .. asked - 1 is whole when every one was answered.
bool ReadWhole(int asked, long long answered);

} // namespace icon_batch
