#include "icons/icon_names.h"

#include <algorithm>

namespace icons {
namespace {

constexpr char kSetPrefix[] = "SavedIcons_";
constexpr char kNamesPrefix[] = "SavedIconNames_";

std::uint32_t GetInt(const std::uint8_t* p, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | p[i];
    return v;
}

std::u16string_view UpToZero(std::u16string_view name) {
    return name.substr(0, std::min(name.find(u'\0'), kMaxNameUnits));
}

// Reads the names of a value whose header has been checked into `text`, one
// after the other, and their ends into `ends`; false when the value is not
// exactly `count` whole names.
bool ReadNames(const std::uint8_t* data, std::size_t size, int count, std::u16string& text,
               std::size_t* ends) {
    std::size_t offset = kNamesHeaderBytes;
    for (int i = 0; i < count; ++i) {
        if (size - offset < 2)
            return false;
        const std::size_t units = GetInt(data + offset, 2);
        offset += 2;
        if (units > kMaxNameUnits || (size - offset) / 2 < units)
            return false;
        for (std::size_t u = 0; u < units; ++u, offset += 2) {
            const auto unit = static_cast<char16_t>(GetInt(data + offset, 2));
            if (unit == u'\0')
                return false;
            text.push_back(unit);
        }
        ends[i] = text.size();
    }
    return offset == size;
}

} // namespace

std::string NamesValueName(const std::string& setValueName) {
    const std::string_view prefix = kSetPrefix;
    if (setValueName.compare(0, prefix.size(), prefix) != 0)
        return {};
    return kNamesPrefix + setValueName.substr(prefix.size());
}

std::uint32_t SetDigest(const std::uint8_t* data, std::size_t size) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    return hash;
}

StoredNamesWriter::StoredNamesWriter(std::uint8_t count) {
    PutInt(kNamesVersion, 2, 0);
    PutInt(count, 2, 2);
    Seal(nullptr, 0);
}

bool StoredNamesWriter::Append(std::u16string_view name) {
    name = UpToZero(name);
    if (2 + 2 * name.size() > kMaxNameBytes - size_)
        return false;
    PutInt(static_cast<std::uint32_t>(name.size()), 2, size_);
    size_ += 2;
    for (char16_t unit : name) {
        PutInt(unit, 2, size_);
        size_ += 2;
    }
    return true;
}

void StoredNamesWriter::Seal(const std::uint8_t* setData, std::size_t setSize) {
    PutInt(static_cast<std::uint32_t>(setSize), 4, 4);
    PutInt(SetDigest(setData, setSize), 4, 8);
}

void StoredNamesWriter::PutInt(std::uint32_t v, int bytes, std::size_t at) {
    for (int i = 0; i < bytes; ++i)
        bytes_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

bool ReadStoredNames(const std::uint8_t* data, std::size_t size, const std::uint8_t* setData,
                     std::size_t setSize, SavedSet& set) {
    if (size < kNamesHeaderBytes || size > kMaxNameBytes || setSize == 0)
        return false;
    const int count = static_cast<int>(GetInt(data + 2, 2));
    if (GetInt(data, 2) != kNamesVersion || count != setData[0] || count != set.count ||
        GetInt(data + 4, 4) != setSize || GetInt(data + 8, 4) != SetDigest(setData, setSize))
        return false;
    std::u16string text;
    text.reserve((size - kNamesHeaderBytes) / 2);
    std::size_t ends[kMaxRestoreIcons];
    if (!ReadNames(data, size, count, text, ends))
        return false;
    set.nameText = std::move(text);
    std::size_t start = 0;
    for (int i = 0; i < count; ++i) {
        set.entries[i].name = std::u16string_view(set.nameText).substr(start, ends[i] - start);
        start = ends[i];
    }
    set.named = true;
    return true;
}

} // namespace icons
