// Any registry value, as an imported file could hold it, fed to the reader of
// saved icon sets. The reader must stay inside the value, and what it reads
// must be exactly the records at the value's start.
#include "icons/icon_store.h"

#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto set = std::make_unique<icons::SavedSet>();
    icons::ReadStoredSet(data, size, *set);
    if (size == 0 || size > icons::kMaxStoredBytes) {
        if (set->count != 0)
            std::abort();
        return 0;
    }
    if (set->count > data[0])
        std::abort();

    auto writer = std::make_unique<icons::StoredSetWriter>(data[0]);
    for (int i = 0; i < set->count; ++i) {
        const icons::SavedEntry& entry = set->entries[i];
        if (entry.caption.find('\0') != std::string_view::npos)
            std::abort();
        if (!writer->Append(entry.x, entry.y, entry.caption))
            std::abort();
    }
    if (writer->Size() > size || std::memcmp(writer->Data(), data, writer->Size()) != 0)
        std::abort();

    // Every entry's own caption finds an entry, as a desktop holding exactly
    // the saved icons would.
    icons::IconName names[icons::kMaxRestoreIcons];
    for (int i = 0; i < set->count; ++i)
        names[i] = {set->entries[i].caption, {}};
    int entryOf[icons::kMaxRestoreIcons];
    icons::MatchSavedEntries(*set, names, set->count, entryOf);
    for (int i = 0; i < set->count; ++i)
        if (entryOf[i] < 0 || set->entries[entryOf[i]].caption != names[i].caption)
            std::abort();
    icons::ConvertToPixels(*set, 1024, 768);
    return 0;
}
