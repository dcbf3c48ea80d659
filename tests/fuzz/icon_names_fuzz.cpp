// Any pair of registry values, as an imported file could hold them, fed to the
// reader of a set's exact names. The input is a set value of up to 127 bytes
// (its length in the low bits of the first byte) and the names value after
// it; with the first byte's top bit the names' header is made to fit the set,
// so that the names themselves are explored. The reader must stay inside both
// values, take the names whole or leave the set alone, and what it takes must
// write back to exactly the value it read.
#include "icons/icon_names.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

void FitHeader(std::vector<std::uint8_t>& names, const std::uint8_t* set, std::size_t setSize) {
    if (names.size() < icons::kNamesHeaderBytes || setSize == 0)
        return;
    icons::StoredNamesWriter header(set[0]);
    header.Seal(set, setSize);
    std::memcpy(names.data(), header.Data(), icons::kNamesHeaderBytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const bool fit = data[0] & 0x80;
    const std::size_t setSize = std::min<std::size_t>(data[0] & 0x7F, size - 1);
    const std::uint8_t* set = data + 1;
    std::vector<std::uint8_t> names(set + setSize, data + size);
    if (fit)
        FitHeader(names, set, setSize);

    auto saved = std::make_unique<icons::SavedSet>();
    icons::ReadStoredSet(set, setSize, *saved);
    if (!icons::ReadStoredNames(names.data(), names.size(), set, setSize, *saved)) {
        if (saved->named || !saved->nameText.empty())
            std::abort();
        for (int i = 0; i < saved->count; ++i)
            if (!saved->entries[i].name.empty())
                std::abort();
        return 0;
    }
    if (!saved->named || saved->count != set[0])
        std::abort();
    auto writer = std::make_unique<icons::StoredNamesWriter>(set[0]);
    for (int i = 0; i < saved->count; ++i) {
        if (saved->entries[i].name.size() > icons::kMaxNameUnits ||
            !writer->Append(saved->entries[i].name))
            std::abort();
    }
    writer->Seal(set, setSize);
    if (writer->Size() != names.size() ||
        std::memcmp(writer->Data(), names.data(), names.size()) != 0)
        std::abort();
    return 0;
}
