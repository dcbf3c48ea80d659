#include "icons/icon_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace icons {
namespace {

std::vector<std::uint8_t> Bytes(const StoredSetWriter& writer) {
    return {writer.Data(), writer.Data() + writer.Size()};
}

std::vector<std::uint8_t> Record(std::uint32_t x, std::uint32_t y, const std::string& caption) {
    std::vector<std::uint8_t> r;
    for (std::uint32_t v : {x, y})
        for (int shift = 0; shift < 32; shift += 8)
            r.push_back(static_cast<std::uint8_t>(v >> shift));
    r.insert(r.end(), caption.begin(), caption.end());
    r.push_back(0);
    return r;
}

TEST(IconStore_Writer, LaysOutCountThenLittleEndianRecords) {
    StoredSetWriter writer(2);
    ASSERT_TRUE(writer.Append(0x01020304, -2, "My Computer"));
    ASSERT_TRUE(writer.Append(7, 8, ""));
    std::vector<std::uint8_t> expected{2};
    for (const auto& r : {Record(0x01020304, 0xFFFFFFFE, "My Computer"), Record(7, 8, "")})
        expected.insert(expected.end(), r.begin(), r.end());
    EXPECT_EQ(Bytes(writer), expected);
}

TEST(IconStore_Writer, KeepsAll256CaptionBytesAndATerminator) {
    const std::string caption(256, 'c');
    StoredSetWriter writer(1);
    ASSERT_TRUE(writer.Append(1, 2, caption));
    ASSERT_EQ(writer.Size(), 1 + 9 + 256u);
    EXPECT_EQ(std::memcmp(writer.Data() + 9, caption.data(), 256), 0);
    EXPECT_EQ(writer.Data()[writer.Size() - 1], 0);
}

TEST(IconStore_Writer, RefusesTheRecordThatWouldPass32000Bytes) {
    StoredSetWriter writer(250);
    const std::string caption(100, 'x'); // records of 109 bytes
    int appended = 0;
    while (writer.Append(appended, appended, caption))
        ++appended;
    EXPECT_EQ(appended, static_cast<int>((kMaxStoredBytes - 1) / 109));
    EXPECT_LE(writer.Size(), kMaxStoredBytes);
    EXPECT_EQ(writer.Size(), 1 + appended * 109u);
    // What is left still takes a record that fills it exactly.
    const std::size_t room = kMaxStoredBytes - writer.Size();
    ASSERT_GE(room, kRecordOverhead);
    EXPECT_FALSE(writer.Append(0, 0, std::string(room - kRecordOverhead + 1, 'y')));
    EXPECT_TRUE(writer.Append(0, 0, std::string(room - kRecordOverhead, 'y')));
    EXPECT_EQ(writer.Size(), kMaxStoredBytes);
}

TEST(IconStore_ValueName, FormatsWidthAndHeightInDecimal) {
    EXPECT_EQ(ResolutionValueName(1024, 768), "SavedIcons_1024_768");
    EXPECT_EQ(ResolutionValueName(2560, 1024), "SavedIcons_2560_1024");
    EXPECT_STREQ(kRelativeValueName, "SavedIcons_Relative");
}

TEST(IconStore_Relative, ConvertsWithCeilingAndTruncationTowardZero) {
    struct Case {
        std::int32_t v, size, units;
    };
    const Case cases[] = {
        {0, 1024, 0},
        {1023, 1024, 32736},     // W - 1: 1023 * 32 exactly
        {1279, 1280, 32743},     // W - 1: 32742.4 rounded up
        {1024, 1024, 32768},     // the right edge
        {-10, 1024, -319},       // -326657 / 1024 = -319.0009...
        {-10, 1280, -255},       // -326401 / 1280 = -255.0008...
        {1, 3, 10923},           // 32770 / 3
        {100000, 1024, 3200000}, // beyond 16 bits: needs a wide product
        {2147483647, 1, 2147483647},
        {-2147483647 - 1, 1, -2147483647 - 1},
        {5, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToRelativeUnits(c.v, c.size), c.units) << c.v << " on " << c.size;
}

TEST(IconStore_Relative, ConvertsBackTruncatingTowardZero) {
    struct Case {
        std::int32_t units, size, v;
    };
    const Case cases[] = {
        {16384, 1024, 512}, {16384, 1366, 683}, {16384, 1365, 682}, {0, 1920, 0},
        {32768, 768, 768},  {-319, 1024, -9},   {-1, 1024, 0},      {2147483647, 65536, 2147483647},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FromRelativeUnits(c.units, c.size), c.v) << c.units << " on " << c.size;
}

TEST(IconStore_Relative, EveryOnScreenPixelComesBackUnchanged) {
    for (std::int32_t size : {1, 7, 640, 768, 1024, 1366, 2160, 3840, 32768})
        for (std::int32_t v = 0; v < size; ++v)
            ASSERT_EQ(FromRelativeUnits(ToRelativeUnits(v, size), size), v) << v << " on " << size;
}

TEST(IconStore_Caption, StopsAt256BytesOrAnEmbeddedZero) {
    char caption[256];
    std::memset(caption, 'a', sizeof caption);
    EXPECT_EQ(CaptionBytes(caption, 256).size(), 256u);
    EXPECT_EQ(CaptionBytes(caption, 300).size(), 256u);
    EXPECT_EQ(CaptionBytes(caption, 0).size(), 0u);
    EXPECT_EQ(CaptionBytes(caption, -1).size(), 0u);
    caption[5] = 0;
    EXPECT_EQ(CaptionBytes(caption, 256), "aaaaa");
}

std::vector<std::uint8_t> ThreeIconValue() {
    StoredSetWriter writer(3);
    writer.Append(10, 20, "Recycle Bin");
    writer.Append(-5, 300, "");
    writer.Append(900, 700, std::string(256, 'z'));
    return Bytes(writer);
}

TEST(IconStore_Reader, ReadsBackWhatTheWriterStored) {
    const auto value = ThreeIconValue();
    SavedSet set;
    ReadStoredSet(value.data(), value.size(), set);
    ASSERT_EQ(set.count, 3);
    EXPECT_EQ(set.entries[0].x, 10);
    EXPECT_EQ(set.entries[0].y, 20);
    EXPECT_EQ(set.entries[0].caption, "Recycle Bin");
    EXPECT_EQ(set.entries[1].x, -5);
    EXPECT_EQ(set.entries[1].caption, "");
    EXPECT_EQ(set.entries[2].y, 700);
    EXPECT_EQ(set.entries[2].caption, std::string(256, 'z'));
    for (int i = 0; i < set.count; ++i)
        EXPECT_FALSE(set.entries[i].used);
}

TEST(IconStore_Reader, TruncatedValueKeepsOnlyItsCompleteRecords) {
    const auto value = ThreeIconValue();
    const std::size_t recordEnds[] = {1 + 9 + 11, 1 + 9 + 11 + 9, value.size()};
    for (std::size_t size = 0; size <= value.size(); ++size) {
        // A copy of exactly that size, so that the sanitizer sees any overread.
        std::vector<std::uint8_t> cut(value.begin(), value.begin() + size);
        int complete = 0;
        for (std::size_t end : recordEnds)
            complete += end <= size;
        SavedSet set;
        ReadStoredSet(cut.data(), cut.size(), set);
        EXPECT_EQ(set.count, complete) << "value cut to " << size << " bytes";
    }
}

TEST(IconStore_Reader, CountByteLimitsTheRecordsRead) {
    auto value = ThreeIconValue();
    SavedSet set;
    for (int announced : {0, 1, 2, 3, 255}) {
        value[0] = static_cast<std::uint8_t>(announced);
        ReadStoredSet(value.data(), value.size(), set);
        EXPECT_EQ(set.count, announced < 3 ? announced : 3) << announced;
    }
}

TEST(IconStore_Reader, ValueLongerThan32000BytesGivesNoEntries) {
    std::vector<std::uint8_t> value(kMaxStoredBytes + 1, 'q');
    value[0] = 1;
    value[10] = 0;
    SavedSet set;
    ReadStoredSet(value.data(), value.size(), set);
    EXPECT_EQ(set.count, 0);
    ReadStoredSet(value.data(), kMaxStoredBytes, set);
    EXPECT_EQ(set.count, 1);
}

TEST(IconStore_Reader, ConvertsRelativeEntriesToPixels) {
    StoredSetWriter writer(1);
    writer.Append(16384, 32768, "a");
    SavedSet set;
    ReadStoredSet(writer.Data(), writer.Size(), set);
    ConvertToPixels(set, 1366, 768);
    EXPECT_EQ(set.entries[0].x, 683);
    EXPECT_EQ(set.entries[0].y, 768);
}

TEST(IconStore_Match, DuplicatesTakeSavedEntriesInStoredOrderOnce) {
    StoredSetWriter writer(5);
    writer.Append(1, 0, "Doc");
    writer.Append(2, 0, "Other");
    writer.Append(3, 0, "Doc");
    writer.Append(4, 0, "");
    writer.Append(5, 0, "doc");
    SavedSet set;
    ReadStoredSet(writer.Data(), writer.Size(), set);
    struct Step {
        const char* caption;
        int expectedX; // 0: no entry
    };
    const Step steps[] = {{"Doc", 1}, {"Doc", 3}, {"Doc", 0}, {"Unknown", 0}, {"", 4},
                          {"", 0},    {"doc", 5}, {"Do", 0},  {"Other", 2}};
    for (const Step& step : steps) {
        const IconName icon{step.caption, {}};
        int entry = -1;
        MatchSavedEntries(set, &icon, 1, &entry);
        EXPECT_EQ(entry >= 0 ? set.entries[entry].x : 0, step.expectedX)
            << '"' << step.caption << '"';
    }
}

} // namespace
} // namespace icons
