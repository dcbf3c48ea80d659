// The stored layout of a saved icon set: a count byte, then per icon its x and
// y (little-endian 32-bit signed) and its caption bytes with a zero byte after.
// Coordinates are pixels, or in the relative set 1/32768 units of the screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace icons {

constexpr int kMaxSavedIcons = 250;
constexpr int kMaxRestoreIcons = 255;
constexpr std::size_t kMaxStoredBytes = 32000;
constexpr std::size_t kMaxCaptionBytes = 256;
constexpr std::size_t kRecordOverhead = 9; // x, y and the terminating zero
constexpr std::int32_t kRelativeUnits = 32768;

constexpr const char kRelativeValueName[] = "SavedIcons_Relative";

// "SavedIcons_W_H", the per-resolution value for a screen of width x height.
std::string ResolutionValueName(int width, int height);

// Pixel coordinate v on a screen side of size pixels to relative units:
// (v * 32768 + size - 1) / size, truncated toward zero. Computed wide so that
// no input overflows; results beyond 32 bits saturate. A size below 1 gives 0.
std::int32_t ToRelativeUnits(std::int32_t v, std::int32_t size);
// Relative units back to pixels: units * size / 32768, truncated toward zero.
std::int32_t FromRelativeUnits(std::int32_t units, std::int32_t size);

// The bytes of a caption as the desktop link reports it: at most
// kMaxCaptionBytes of length, and never past an embedded zero, which would
// otherwise end the stored record early and shift every record after it.
std::string_view CaptionBytes(const char* caption, long length);

// Builds one stored set in a fixed block of kMaxStoredBytes.
class StoredSetWriter {
  public:
    explicit StoredSetWriter(std::uint8_t count);
    // Appends one record; false, and nothing appended, when it does not fit.
    bool Append(std::int32_t x, std::int32_t y, std::string_view caption);
    const std::uint8_t* Data() const { return bytes_; }
    std::size_t Size() const { return size_; }

  private:
    void PutInt32(std::int32_t v);

    std::uint8_t bytes_[kMaxStoredBytes];
    std::size_t size_ = 0;
};

struct SavedEntry {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::string_view caption; // ANSI form; points into the value that was read
    std::u16string_view name; // exact name, when the set has its names (icon_names.h)
    bool used = false;        // taken by an icon in this restore
};

// The records of a stored value, read strictly in sequence from offset 1.
// A value longer than kMaxStoredBytes was not written by a save and yields no
// entries. Otherwise the entries are the complete records that lie inside the
// value, at most as many as the count byte announces: a record cut inside its
// coordinates or missing its terminating zero ends the set, and the bytes
// after the last announced record are ignored.
struct SavedSet {
    int count = 0;
    SavedEntry entries[kMaxRestoreIcons];
    // The entries' exact names were read with the set (icon_names.h); they
    // point into nameText.
    bool named = false;
    std::u16string nameText;
};
void ReadStoredSet(const std::uint8_t* data, std::size_t size, SavedSet& set);

// Turns relative units back into pixels for a width x height screen.
void ConvertToPixels(SavedSet& set, std::int32_t width, std::int32_t height);

// A current icon as the matching sees it.
struct IconName {
    std::string_view caption; // ANSI form, as an ANSI read of the list view gives it
    std::u16string_view name; // exact name
};

// The saved entry each of the current icons 0 .. count - 1 takes, in
// entryOf[i] (an index into set.entries), or -1; the entries taken are marked
// and stay taken. Entries taken before are not given again.
//
// A set with its names is matched by exact names, compared unit for unit.
// When several icons share one name (the user's and the public desktop folder
// can both hold a "Report"), the k-th icon of that name in list-view order
// takes the k-th free entry of that name in stored order, which is the order
// the save wrote them in. That holds only while there are as many icons of the
// name as free entries: otherwise which icon had which place cannot be told,
// and no icon of that name takes any entry, so none lands on another's place.
//
// A set without names, as every earlier version saved it, is matched as those
// versions matched it: in index order each icon takes the first free entry
// whose caption equals its ANSI form byte for byte.
void MatchSavedEntries(SavedSet& set, const IconName* icons, int count, int* entryOf);

} // namespace icons
