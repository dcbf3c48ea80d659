#include "icons/icon_names.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace icons {
namespace {

// Names outside a Western code page, each of which reads "??.txt" in ANSI.
const std::u16string kDocument = u"\u6587\u6863.txt";
const std::u16string kPhoto = u"\u7167\u7247.txt";
const std::u16string kFresh = u"\u65B0\u5EFA.txt";

struct Saved {
    std::string caption;
    std::u16string name;
};

// A set value and its names as a save writes them, read back as a restore
// reads them; without names when `withNames` is false, as earlier versions
// saved.
struct SavedValues {
    std::unique_ptr<StoredSetWriter> set;
    std::unique_ptr<StoredNamesWriter> names;
    std::unique_ptr<SavedSet> read = std::make_unique<SavedSet>();

    SavedValues(const std::vector<Saved>& records, bool withNames) {
        const auto count = static_cast<std::uint8_t>(records.size());
        set = std::make_unique<StoredSetWriter>(count);
        names = std::make_unique<StoredNamesWriter>(count);
        for (std::size_t i = 0; i < records.size(); ++i) {
            EXPECT_TRUE(set->Append(static_cast<std::int32_t>(i), 0, records[i].caption));
            EXPECT_TRUE(names->Append(records[i].name));
        }
        names->Seal(set->Data(), set->Size());
        ReadStoredSet(set->Data(), set->Size(), *read);
        if (withNames)
            EXPECT_TRUE(
                ReadStoredNames(names->Data(), names->Size(), set->Data(), set->Size(), *read));
    }
};

struct MatchCase {
    const char* name;
    std::vector<Saved> saved;
    bool withNames;
    std::vector<Saved> current;
    std::vector<int> expected; // entry taken by each current icon, -1 for none
};

TEST(IconNames_Match, Table) {
    const MatchCase cases[] = {
        {"names alike in ANSI keep their own entries; the new one takes none",
         {{"??.txt", kDocument}, {"??.txt", kPhoto}},
         true,
         {{"??.txt", kFresh}, {"??.txt", kDocument}, {"??.txt", kPhoto}},
         {-1, 0, 1}},
        {"the same desktop against a set without names matches as before, by ANSI bytes",
         {{"??.txt", kDocument}, {"??.txt", kPhoto}},
         false,
         {{"??.txt", kFresh}, {"??.txt", kDocument}, {"??.txt", kPhoto}},
         {0, 1, -1}},
        {"names that fit the code page",
         {{"Recycle Bin", u"Recycle Bin"}, {"Caf\xE9", u"Caf\u00E9"}},
         true,
         {{"Caf\xE9", u"Caf\u00E9"}, {"Recycle Bin", u"Recycle Bin"}},
         {1, 0}},
        {"names compare unit for unit, case included",
         {{"Report", u"Report"}},
         true,
         {{"report", u"report"}, {"Report", u"Report"}},
         {-1, 0}},
        {"exact duplicates pair up in list-view and stored order",
         {{"Report", u"Report"}, {"Other", u"Other"}, {"Report", u"Report"}},
         true,
         {{"Report", u"Report"}, {"Report", u"Report"}, {"Other", u"Other"}},
         {0, 2, 1}},
        {"one more duplicate than saved: none of them takes a place",
         {{"Report", u"Report"}, {"Other", u"Other"}},
         true,
         {{"Report", u"Report"}, {"Other", u"Other"}, {"Report", u"Report"}},
         {-1, 1, -1}},
        {"one duplicate left of two saved: it takes neither place",
         {{"Report", u"Report"}, {"Report", u"Report"}},
         true,
         {{"Report", u"Report"}},
         {-1}},
        {"without names, duplicates take the first free entries of their caption",
         {{"Report", u""}, {"Report", u""}},
         false,
         {{"Report", u""}, {"Report", u""}, {"Report", u""}},
         {0, 1, -1}},
        {"a saved name no icon has is left",
         {{"Gone", u"Gone"}, {"Here", u"Here"}},
         true,
         {{"Here", u"Here"}},
         {1}},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        SavedValues values(c.saved, c.withNames);
        std::vector<IconName> current;
        for (const Saved& icon : c.current)
            current.push_back({icon.caption, icon.name});
        std::vector<int> entryOf(current.size(), -2);
        MatchSavedEntries(*values.read, current.data(), static_cast<int>(current.size()),
                          entryOf.data());
        EXPECT_EQ(entryOf, c.expected);
    }
}

TEST(IconNames_Match, EntriesTakenStayTakenForLaterPasses) {
    SavedValues values({{"A", u"A"}, {"B", u"B"}}, true);
    const IconName current[] = {{"A", u"A"}, {"B", u"B"}};
    int entryOf[2];
    MatchSavedEntries(*values.read, current, 2, entryOf);
    MatchSavedEntries(*values.read, current, 2, entryOf);
    EXPECT_EQ(entryOf[0], -1);
    EXPECT_EQ(entryOf[1], -1);
}

TEST(IconNames_Format, ValueNameSitsBesideTheSet) {
    EXPECT_EQ(NamesValueName("SavedIcons_1024_768"), "SavedIconNames_1024_768");
    EXPECT_EQ(NamesValueName("SavedIcons_Relative"), "SavedIconNames_Relative");
    EXPECT_EQ(NamesValueName("Settings"), "");
}

TEST(IconNames_Format, LayoutIsVersionCountSetSizeDigestThenNames) {
    StoredSetWriter set(1);
    set.Append(0, 0, "??");
    StoredNamesWriter names(1);
    ASSERT_TRUE(names.Append(u"\u6587A"));
    names.Seal(set.Data(), set.Size());
    const std::uint32_t digest = SetDigest(set.Data(), set.Size());
    const std::vector<std::uint8_t> expected = {1,
                                                0,
                                                1,
                                                0,
                                                12,
                                                0,
                                                0,
                                                0, // version 1, one name, a set of 12 bytes
                                                std::uint8_t(digest),
                                                std::uint8_t(digest >> 8),
                                                std::uint8_t(digest >> 16),
                                                std::uint8_t(digest >> 24),
                                                2,
                                                0,
                                                0x87,
                                                0x65,
                                                'A',
                                                0};
    EXPECT_EQ(std::vector<std::uint8_t>(names.Data(), names.Data() + names.Size()), expected);
    EXPECT_EQ(SetDigest(nullptr, 0), 2166136261u); // FNV-1a's offset basis
}

TEST(IconNames_Format, NamesAreCutAsCaptionsAre) {
    StoredNamesWriter names(2);
    ASSERT_TRUE(names.Append(std::u16string(300, u'x')));
    ASSERT_TRUE(names.Append(std::u16string(u"ab\0cd", 5)));
    EXPECT_EQ(names.Size(), kNamesHeaderBytes + 2 + 2 * kMaxNameUnits + 2 + 4);
}

TEST(IconNames_Format, TheBoundIsKeptAndAppendsNothingBeyondIt) {
    StoredNamesWriter names(250);
    const std::u16string name(255, u'n'); // 512 bytes a name
    int appended = 0;
    while (names.Append(name))
        ++appended;
    EXPECT_EQ(appended, static_cast<int>((kMaxNameBytes - kNamesHeaderBytes) / 512));
    const std::size_t full = names.Size();
    EXPECT_LE(full, kMaxNameBytes);
    EXPECT_FALSE(names.Append(name));
    EXPECT_EQ(names.Size(), full);
}

// A names value that does not belong whole to the set it is read with.
TEST(IconNames_Read, RefusesWhatIsNotExactlyTheNamesOfThisSet) {
    SavedValues values({{"??.txt", kDocument}, {"A", u"A"}}, false);
    const std::vector<std::uint8_t> good(values.names->Data(),
                                         values.names->Data() + values.names->Size());
    struct Case {
        const char* name;
        std::vector<std::uint8_t> value;
    };
    auto changed = [&](std::size_t at, std::uint8_t byte) {
        std::vector<std::uint8_t> v = good;
        v.at(at) = byte;
        return v;
    };
    std::vector<std::uint8_t> trailing = good;
    trailing.push_back(0);
    std::vector<std::uint8_t> tooLong = good;
    tooLong[12] = 0x01; // a first name of 257 units
    tooLong[13] = 0x01;
    std::vector<std::uint8_t> zeroUnit = changed(14, 0);
    zeroUnit[15] = 0;
    const Case cases[] = {
        {"empty", {}},
        {"header only", std::vector<std::uint8_t>(good.begin(), good.begin() + 12)},
        {"another version", changed(0, 2)},
        {"another count", changed(2, 3)},
        {"another set size", changed(4, 13)},
        {"another digest", changed(8, good[8] ^ 1)},
        {"cut inside a name", std::vector<std::uint8_t>(good.begin(), good.end() - 1)},
        {"a byte after the last name", trailing},
        {"a name longer than the limit", tooLong},
        {"a zero unit inside a name", zeroUnit},
        {"larger than the bound", std::vector<std::uint8_t>(kMaxNameBytes + 1, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(ReadStoredNames(c.value.data(), c.value.size(), values.set->Data(),
                                     values.set->Size(), *values.read));
        EXPECT_FALSE(values.read->named);
        EXPECT_TRUE(values.read->entries[0].name.empty());
    }
    ASSERT_TRUE(ReadStoredNames(good.data(), good.size(), values.set->Data(), values.set->Size(),
                                *values.read));
    EXPECT_TRUE(values.read->entries[0].name == kDocument);
    EXPECT_TRUE(values.read->entries[1].name == u"A");
}

// An earlier version saving the set again leaves our names beside it.
TEST(IconNames_Read, NamesOfAnEarlierSetAreNotTakenForANewOne) {
    SavedValues before({{"??.txt", kDocument}}, true);
    StoredSetWriter resaved(1);
    resaved.Append(75, 0, "??.txt");
    SavedSet set;
    ReadStoredSet(resaved.Data(), resaved.Size(), set);
    EXPECT_FALSE(ReadStoredNames(before.names->Data(), before.names->Size(), resaved.Data(),
                                 resaved.Size(), set));
    EXPECT_FALSE(set.named);
}

TEST(IconNames_Read, ReadingTheSetAgainForgetsItsNames) {
    SavedValues values({{"??.txt", kDocument}}, true);
    ASSERT_TRUE(values.read->named);
    ReadStoredSet(values.set->Data(), values.set->Size(), *values.read);
    EXPECT_FALSE(values.read->named);
    EXPECT_TRUE(values.read->entries[0].name.empty());
}

} // namespace
} // namespace icons
