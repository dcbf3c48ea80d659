#include "icons/icon_store.h"

#include <cstdio>
#include <cstring>
#include <limits>

namespace icons {
namespace {

std::int32_t Saturate(std::int64_t v) {
    constexpr std::int64_t lowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t highest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v < lowest ? lowest : v > highest ? highest : v);
}

std::int32_t GetInt32(const std::uint8_t* p) {
    std::uint32_t v = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
                      std::uint32_t{p[3]} << 24;
    return static_cast<std::int32_t>(v);
}

int TakeByCaption(SavedSet& set, std::string_view caption) {
    for (int e = 0; e < set.count; ++e) {
        if (!set.entries[e].used && set.entries[e].caption == caption) {
            set.entries[e].used = true;
            return e;
        }
    }
    return -1;
}

// The k-th free entry named `name`, or -1; `free` receives how many there are.
int FreeEntryByName(const SavedSet& set, std::u16string_view name, int k, int& free) {
    int found = -1;
    free = 0;
    for (int e = 0; e < set.count; ++e) {
        if (set.entries[e].used || set.entries[e].name != name)
            continue;
        if (free++ == k)
            found = e;
    }
    return found;
}

// Icon i's rank among the icons of its name, and how many icons bear it.
int RankByName(const IconName* icons, int count, int i, int& bearing) {
    int rank = 0;
    bearing = 0;
    for (int j = 0; j < count; ++j) {
        if (icons[j].name != icons[i].name)
            continue;
        rank += j < i;
        ++bearing;
    }
    return rank;
}

void MatchByName(SavedSet& set, const IconName* icons, int count, int* entryOf) {
    for (int i = 0; i < count; ++i) {
        int bearing = 0, free = 0;
        const int rank = RankByName(icons, count, i, bearing);
        const int entry = FreeEntryByName(set, icons[i].name, rank, free);
        entryOf[i] = bearing == free ? entry : -1;
    }
    for (int i = 0; i < count; ++i)
        if (entryOf[i] >= 0)
            set.entries[entryOf[i]].used = true;
}

} // namespace

std::string ResolutionValueName(int width, int height) {
    char name[48];
    std::snprintf(name, sizeof name, "SavedIcons_%d_%d", width, height);
    return name;
}

std::int32_t ToRelativeUnits(std::int32_t v, std::int32_t size) {
    if (size < 1)
        return 0;
    return Saturate((std::int64_t{v} * kRelativeUnits + size - 1) / size);
}

std::int32_t FromRelativeUnits(std::int32_t units, std::int32_t size) {
    return Saturate(std::int64_t{units} * size / kRelativeUnits);
}

std::string_view CaptionBytes(const char* caption, long length) {
    if (length <= 0)
        return {};
    std::size_t limit = static_cast<std::size_t>(length) < kMaxCaptionBytes
                            ? static_cast<std::size_t>(length)
                            : kMaxCaptionBytes;
    const void* zero = std::memchr(caption, 0, limit);
    std::size_t size =
        zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - caption) : limit;
    return {caption, size};
}

StoredSetWriter::StoredSetWriter(std::uint8_t count) {
    bytes_[size_++] = count;
}

bool StoredSetWriter::Append(std::int32_t x, std::int32_t y, std::string_view caption) {
    if (kRecordOverhead + caption.size() > kMaxStoredBytes - size_)
        return false;
    PutInt32(x);
    PutInt32(y);
    std::memcpy(bytes_ + size_, caption.data(), caption.size());
    size_ += caption.size();
    bytes_[size_++] = 0;
    return true;
}

void StoredSetWriter::PutInt32(std::int32_t v) {
    auto bits = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8)
        bytes_[size_++] = static_cast<std::uint8_t>(bits >> shift);
}

void ReadStoredSet(const std::uint8_t* data, std::size_t size, SavedSet& set) {
    set.count = 0;
    set.named = false;
    set.nameText.clear();
    if (size == 0 || size > kMaxStoredBytes)
        return;
    const int announced = data[0];
    std::size_t offset = 1;
    while (set.count < announced && size - offset >= 8) {
        const std::uint8_t* text = data + offset + 8;
        const void* zero = std::memchr(text, 0, size - offset - 8);
        if (!zero)
            return;
        SavedEntry& entry = set.entries[set.count++];
        entry.x = GetInt32(data + offset);
        entry.y = GetInt32(data + offset + 4);
        std::size_t length =
            static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - text);
        entry.caption = {reinterpret_cast<const char*>(text), length};
        entry.name = {};
        entry.used = false;
        offset += kRecordOverhead + length;
    }
}

void ConvertToPixels(SavedSet& set, std::int32_t width, std::int32_t height) {
    for (int i = 0; i < set.count; ++i) {
        set.entries[i].x = FromRelativeUnits(set.entries[i].x, width);
        set.entries[i].y = FromRelativeUnits(set.entries[i].y, height);
    }
}

void MatchSavedEntries(SavedSet& set, const IconName* icons, int count, int* entryOf) {
    if (set.named) {
        MatchByName(set, icons, count, entryOf);
        return;
    }
    for (int i = 0; i < count; ++i)
        entryOf[i] = TakeByCaption(set, icons[i].caption);
}

} // namespace icons
