#include "deskhook/icon_batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace {

struct ReadCase {
    const char* name;
    long long first, count; // as written into the shared block
    int itemCount;          // what the list view holds
    int expectedFirst, expectedCount;
};

TEST(IconBatch, ReadRangeStaysInsideTheListAndTheBatch) {
    const ReadCase cases[] = {
        {"all of a list", 0, 250, 250, 0, 250},
        {"the list shrank after it was counted", 0, 250, 249, 0, 249},
        {"the list grew after it was counted", 0, 250, 251, 0, 250},
        {"a part in the middle", 10, 5, 250, 10, 5},
        {"a part reaching past the end", 245, 10, 250, 245, 5},
        {"nothing asked", 0, 0, 250, 0, 0},
        {"a negative count", 0, -1, 250, 0, 0},
        {"a negative first item starts at 0", -5, 3, 250, 0, 3},
        {"a count beyond the batch", 0, 100000, 1000, 0, icon_batch::kMaxIcons},
        {"a huge count", 0, LLONG_MAX, 1000, 0, icon_batch::kMaxIcons},
        {"a first item past the end", 300, 10, 250, 0, 0},
        {"a huge first item", LLONG_MAX, 10, 250, 0, 0},
        {"an empty list", 0, 10, 0, 0, 0},
        {"a list view that answers a negative count", 0, 10, -1, 0, 0},
    };
    for (const ReadCase& c : cases) {
        const icon_batch::Range range = icon_batch::ReadRange(c.first, c.count, c.itemCount);
        EXPECT_EQ(range.count, c.expectedCount) << c.name;
        if (c.expectedCount > 0) {
            EXPECT_EQ(range.first, c.expectedFirst) << c.name;
        }
        EXPECT_LE(range.count, icon_batch::kMaxIcons) << c.name;
        EXPECT_GE(range.first, 0) << c.name;
        EXPECT_LE(static_cast<long long>(range.first) + range.count, std::max(0, c.itemCount))
            << c.name;
    }
}

TEST(IconBatch, MoveCountIsClampedToTheBatch) {
    EXPECT_EQ(icon_batch::MoveCount(0), 0);
    EXPECT_EQ(icon_batch::MoveCount(1), 1);
    EXPECT_EQ(icon_batch::MoveCount(icon_batch::kMaxIcons), icon_batch::kMaxIcons);
    EXPECT_EQ(icon_batch::MoveCount(icon_batch::kMaxIcons + 1), icon_batch::kMaxIcons);
    EXPECT_EQ(icon_batch::MoveCount(LLONG_MAX), icon_batch::kMaxIcons);
    EXPECT_EQ(icon_batch::MoveCount(-7), 0);
    EXPECT_EQ(icon_batch::MoveCount(LLONG_MIN), 0);
}

TEST(IconBatch, AReadIsWholeOnlyWhenEveryIconWasAnswered) {
    EXPECT_TRUE(icon_batch::ReadWhole(250, 250));
    EXPECT_TRUE(icon_batch::ReadWhole(0, 0));
    EXPECT_FALSE(icon_batch::ReadWhole(250, 249)); // the list shrank
    EXPECT_FALSE(icon_batch::ReadWhole(250, 0));
    EXPECT_FALSE(icon_batch::ReadWhole(250, 251)); // more than asked: not our answer
    EXPECT_FALSE(icon_batch::ReadWhole(256, 256)); // beyond the batch
    EXPECT_FALSE(icon_batch::ReadWhole(-1, -1));
}

} // namespace
