// The exact names of a saved icon set. The set's own records keep each
// caption in its ANSI form, which is all that earlier versions read, and
// where every character outside the user's code page has become "?". The
// names beside them are kept in a value of their own, which earlier versions
// never look at: "SavedIconNames_W_H" beside "SavedIcons_W_H", and
// "SavedIconNames_Relative" beside "SavedIcons_Relative".
//
// Layout (integers little-endian):
//   version      16 bits, kNamesVersion
//   count        16 bits, the number of names: the set's count byte
//   set size     32 bits, size of the set value the names belong to
//   set digest   32 bits, FNV-1a of that value's bytes
//   per icon, in the set's record order:
//     length     16 bits, UTF-16 units, at most kMaxNameUnits
//     units      length x 16 bits
// The whole value never exceeds kMaxNameBytes. Size and digest tie the names
// to the set they were saved with: a set saved again by an earlier version,
// which leaves the names alone, no longer fits them, and its records are then
// matched by their ANSI captions as that version matched them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "icons/icon_store.h"

namespace icons {

constexpr std::uint16_t kNamesVersion = 1;
constexpr std::size_t kMaxNameUnits = 256;
constexpr std::size_t kMaxNameBytes = 64000;
constexpr std::size_t kNamesHeaderBytes = 12;

// "SavedIconNames_..." for the set value "SavedIcons_...".
std::string NamesValueName(const std::string& setValueName);

// FNV-1a, 32 bits, of a set value.
std::uint32_t SetDigest(const std::uint8_t* data, std::size_t size);

// Builds the names of one set in a fixed block of kMaxNameBytes.
class StoredNamesWriter {
  public:
    explicit StoredNamesWriter(std::uint8_t count);
    // Appends one name, cut to kMaxNameUnits and before an embedded zero as
    // the set's captions are; false, and nothing appended, when it does not
    // fit.
    bool Append(std::u16string_view name);
    // Ties the names to the set value they are stored beside.
    void Seal(const std::uint8_t* setData, std::size_t setSize);
    const std::uint8_t* Data() const { return bytes_; }
    std::size_t Size() const { return size_; }

  private:
    void PutInt(std::uint32_t v, int bytes, std::size_t at);

    std::uint8_t bytes_[kMaxNameBytes];
    std::size_t size_ = kNamesHeaderBytes;
};

// Gives every entry of `set`, read from the set value setData/setSize, its
// exact name from a names value, and true. The names are taken only whole:
// when the value is of another version, longer than kMaxNameBytes, cut short,
// followed by more bytes, holds a name longer than kMaxNameUnits or with a
// zero unit inside, has another
// count than the set value announces, or belongs to another set value, `set`
// is left as it was and the result is false.
bool ReadStoredNames(const std::uint8_t* data, std::size_t size, const std::uint8_t* setData,
                     std::size_t setSize, SavedSet& set);

} // namespace icons
